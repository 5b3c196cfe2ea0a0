#pragma once
// Controls that paint themselves answer the window's dialog keys the way
// native buttons do: Alt+letter of their caption, Enter as the window's
// default button and Escape as its cancel button. The window walks its
// controls and offers each key to those that take part.

#include "platform/ui/Controls.h"

class TDialogKeyTarget {
public:
    virtual ~TDialogKeyTarget() = default;
    // An accelerator of the caption: true when the control used the key.
    virtual bool DialogChar(Word Key, TShiftState Shift)
    {
        (void)Key;
        (void)Shift;
        return false;
    }
    // Enter or Escape: true when the control used the key.
    virtual bool DialogKey(Word Key, TShiftState Shift)
    {
        (void)Key;
        (void)Shift;
        return false;
    }
    // The keyboard focus moved within the window (to NewFocus, maybe none).
    virtual void FocusChanged(TWinControl* NewFocus) { (void)NewFocus; }
    // True when the control counts as a push button for the default role.
    virtual bool IsPushButton() const { return false; }
};

// Offers an accelerator to every showing, enabled control under Root, in
// creation order; true when one used it.
bool DispatchDialogChar(TWinControl* Root, Word Key, TShiftState Shift);
// Offers Enter or Escape to the self-painted controls under Root.
bool DispatchDialogKey(TWinControl* Root, Word Key, TShiftState Shift);
// Tells every self-painted control under Root where the focus went.
void BroadcastFocusChanged(TWinControl* Root, TWinControl* NewFocus);
// True when Key with Shift is an accelerator key press: Alt with a letter or digit.
bool IsAcceleratorKey(Word Key, TShiftState Shift);
