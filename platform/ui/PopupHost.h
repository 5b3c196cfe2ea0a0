#pragma once
// Shows a control as a borderless popup window at a screen point and waits
// until it closes: by ClosePopup (accepted or not), by a press outside it,
// by Escape or when the application loses the focus (cancelled).

#include <functional>

class TWinControl;

// Returns whether the popup was accepted.
bool RunPopup(TWinControl* Content, int X, int Y);
void ClosePopup(TWinControl* Content, bool Accepted);
// Whether Content is showing as a popup now.
bool PopupShowing(const TWinControl* Content);
// Test hook: called instead of showing the popup; its result is RunPopup's.
extern std::function<bool(TWinControl* Content)> PopupHostHook;
