#include "platform/ui/DialogKeys.h"

#include <functional>

namespace {

// Stops at the first control for which Visit answers true.
bool Walk(TWinControl* Parent, const std::function<bool(TControl*)>& Visit)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (!c->Visible())
            continue;
        if (Visit(c))
            return true;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && Walk(w, Visit))
            return true;
    }
    return false;
}

}  // namespace

// Offers a key to the enabled self-painted controls under Root until one takes it.
static bool Offer(TWinControl* Root, const std::function<bool(TDialogKeyTarget*)>& Take)
{
    if (!Root)
        return false;
    return Walk(Root, [&](TControl* c) {
        auto* t = dynamic_cast<TDialogKeyTarget*>(c);
        return t && c->Enabled() && Take(t);
    });
}

bool DispatchDialogChar(TWinControl* Root, Word Key, TShiftState Shift)
{
    return Offer(Root, [&](TDialogKeyTarget* T) { return T->DialogChar(Key, Shift); });
}

bool DispatchDialogKey(TWinControl* Root, Word Key, TShiftState Shift)
{
    return Offer(Root, [&](TDialogKeyTarget* T) { return T->DialogKey(Key, Shift); });
}

void BroadcastFocusChanged(TWinControl* Root, TWinControl* NewFocus)
{
    if (!Root)
        return;
    std::function<void(TWinControl*)> all = [&](TWinControl* Parent) {
        for (int i = 0; i < Parent->ControlCount(); ++i) {
            TControl* c = Parent->Controls(i);
            if (auto* t = dynamic_cast<TDialogKeyTarget*>(c))
                t->FocusChanged(NewFocus);
            if (auto* w = dynamic_cast<TWinControl*>(c))
                all(w);
        }
    };
    all(Root);
}

bool IsAcceleratorKey(Word Key, TShiftState Shift)
{
    const bool letterOrDigit = (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9');
    return letterOrDigit && (Shift & ssAlt) && !(Shift & ssCtrl);
}
