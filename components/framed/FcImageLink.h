#pragma once
// How a framed control follows an image list it draws from: it repaints when
// the list changes and forgets the list when the list is freed. Each slot (the
// field that holds the list) is its own listener, so one list may fill two
// slots of the same control.

#include <functional>

class TComponent;
class TCustomImageList;

// Moves the slot to Value: the old list stops calling back, the new one calls
// OnChange on every change and tells Client when it is freed.
void LinkImageList(TComponent* Client, TCustomImageList*& Slot, TCustomImageList* Value, std::function<void()> OnChange);
// The control goes away: its list must not call back any more.
void UnlinkImageList(TCustomImageList*& Slot);
// A freed list leaves the slot empty; true when it was the slot's list.
bool ForgetFreedImageList(TCustomImageList*& Slot, const TComponent* Freed);
