#pragma once
// The application's hint: the long part of the hint of the control under the
// mouse. A program that handles Application->OnHint shows it itself; without
// a handler the hint goes to the first control that takes it (a status pane
// or a group box caption with AutoHint), on the window under the mouse first,
// then on the main window.

#include <QString>

class TControl;

class THintActionTarget {
public:
    virtual ~THintActionTarget() = default;
    // True when the control showed the hint.
    virtual bool ExecuteHintAction(const QString& Hint) = 0;
};

// The mouse came to Control: the application's hint becomes its hint.
void ControlHintEntered(TControl* Control);
// Sets the application's hint and tells it (Near: where the mouse is, or none).
void SetApplicationHint(const QString& Hint, TControl* Near);
