#pragma once
// A drop-down list or calendar is a window of its own over the control that
// drops it down. It belongs to that control's window: a modal dialog lets the
// mouse reach only its own windows, so an ownerless list inside a dialog
// would ignore every click; and it must go when that window hides or closes
// instead of staying on screen over later windows.

#include <functional>

class QWidget;

// Makes Popup a drop-down window of Anchor's window (its transient child)
// and calls OnOwnerHidden when that window hides while Popup shows. Call
// before showing Popup.
void OwnDropDown(QWidget* Popup, QWidget* Anchor, std::function<void()> OnOwnerHidden);
