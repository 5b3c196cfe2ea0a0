#pragma once
// The hint that pops up when the mouse rests on a control. The control whose
// hint counts is the nearest one whose ShowHint is on, from the control under
// the mouse out through its parents (so a control with ShowHint off leaves it
// to its parent); the text is the short part of the first hint found from that
// control outward. With the application's ShowHint off no hint pops up.

#include <QString>

class QHelpEvent;
class QWidget;
class TControl;

// The control whose hint pops up over Control; nullptr when none does.
TControl* HintControl(TControl* Control);
// The text that pops up over Control (empty: none).
QString HoverHintText(TControl* Control);
// Answers a tool tip event on Control's widget: shows the hint or hides any shown.
void ShowHoverHint(TControl* Control, QWidget* Widget, const QHelpEvent* Event);
