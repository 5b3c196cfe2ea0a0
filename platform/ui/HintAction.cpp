#include "platform/ui/HintAction.h"

#include "platform/ui/Forms.h"

#include <functional>

namespace {

bool Offer(TWinControl* Root, const QString& Hint)
{
    std::function<bool(TWinControl*)> walk = [&](TWinControl* Parent) {
        for (int i = 0; i < Parent->ControlCount(); ++i) {
            TControl* c = Parent->Controls(i);
            if (auto* t = dynamic_cast<THintActionTarget*>(c); t && t->ExecuteHintAction(Hint))
                return true;
            if (auto* w = dynamic_cast<TWinControl*>(c); w && walk(w))
                return true;
        }
        return false;
    };
    return Root && walk(Root);
}

}  // namespace

void SetApplicationHint(const QString& Hint, TControl* Near)
{
    if (!Application || Application->Hint == Hint)
        return;
    Application->Hint = Hint;
    if (Application->OnHint) {
        Application->OnHint(Application);
        return;
    }
    TCustomForm* here = Near ? GetParentForm(Near) : nullptr;
    if (Offer(here, Hint))
        return;
    TCustomForm* main = Application->MainForm();
    if (main != here)
        Offer(main, Hint);
}

void ControlHintEntered(TControl* Control)
{
    SetApplicationHint(GetLongHint(Control->Hint()), Control);
}
