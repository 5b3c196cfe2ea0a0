#pragma once
// The test driver's choices in tab controls, page controls and lookup combo
// boxes: found by what the control shows, made as the operator makes them.

#include <QString>
#include <functional>

class TComponent;

struct TDriverChoice {
    bool Handled = false;          // the target is one of these controls
    QString Error;                 // no such tab or row; empty when found
    std::function<void()> Action;  // makes the choice (run from the event loop)
};

// A tab by its caption (accelerator "&" ignored) or, when no caption matches,
// by its index: asks OnChanging and raises OnChange, as a click on the tab.
// A lookup row by the text the box would show for it, or by its first list
// field: the list opens, the row is marked and the list closes accepting it,
// as choosing with the keyboard does.
TDriverChoice DriverChoiceFor(TComponent* Target, const QString& Text);

// The chosen tab's caption or the lookup box's text; Handled false for other
// controls.
QString DriverChoiceText(TComponent* Target, bool& Handled);
