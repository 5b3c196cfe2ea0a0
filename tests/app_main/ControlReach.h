#pragma once
// What an operator can reach on a window and whether it does anything: the
// visible, enabled push buttons, tool buttons and menu items that have
// neither a click handler nor an action with one, and the visible, enabled
// actions of the window's action lists that no control, menu item or
// shortcut reaches. Each finding is one line naming the window and the item.

#include <QStringList>

class TControl;
class TCustomForm;
class TPopupMenu;

// Findings on one window (its controls, its menus and the menus its controls
// pop up or drop down).
QStringList UnhandledControls(TCustomForm* Form);
QStringList UnreachedActions(TCustomForm* Form);
// Both lists, without the findings whose text contains one of Known.
QStringList HandlerFindings(TCustomForm* Form, const QStringList& Known = {});

// The framed push and tool buttons (kept apart: the framed tool button's
// states share names with the platform tool bar's styles).
bool IsFramedButton(const TControl* C);
TPopupMenu* FramedDropDown(const TControl* C);

// The dialogs' rows of tool buttons: a spacer between neighbouring buttons,
// and the buttons in the window's own font. Adds the spacers met to Spacers.
QStringList DialogRowFindings(TCustomForm* Form, int& Spacers);
// The platform group boxes left on a window whose boxes are framed.
QStringList PlatformGroupBoxes(TCustomForm* Form);
