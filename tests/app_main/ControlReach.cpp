#include "tests/app_main/ControlReach.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

#include <functional>
#include <set>

namespace {

QString Where(TCustomForm* Form, const TComponent* C)
{
    const QString form = Form->Name().isEmpty() ? QLatin1Char('"') + Form->Caption() + QLatin1Char('"') : Form->Name();
    const QString name = C->Name().isEmpty() ? QStringLiteral("(unnamed)") : C->Name();
    return form + QLatin1Char('.') + name;
}

// Shown and usable as far as the window goes: the window itself may be
// hidden while it is looked at.
bool Reachable(const TControl* C, const TCustomForm* Form)
{
    for (const TControl* p = C; p && p != Form; p = p->Parent())
        if (!p->Visible() || !p->Enabled())
            return false;
    return true;
}

bool ActionRuns(const TBasicAction* A)
{
    return A && A->OnExecute != nullptr;
}

// A dialog button that closes its window with a result needs nothing more.
bool ClosesWithResult(const TControl* C)
{
    auto* b = dynamic_cast<const TButton*>(C);
    return b && b->ModalResult() != mrNone;
}

bool IsPushButton(const TControl* C)
{
    if (auto* t = dynamic_cast<const TToolButton*>(C))
        return t->Style() != tbsSeparator && t->Style() != tbsDivider;
    return dynamic_cast<const TButton*>(C) || IsFramedButton(C);
}

void EachControl(TWinControl* Parent, const std::function<void(TControl*)>& Visit)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        Visit(c);
        if (auto* w = dynamic_cast<TWinControl*>(c))
            EachControl(w, Visit);
    }
}

// The window's menus: those it owns, those its controls pop up and the
// drop-down menus of its tool buttons.
std::set<TPopupMenu*> PopupMenus(TCustomForm* Form)
{
    std::set<TPopupMenu*> menus;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<TPopupMenu*>(Form->Components(i)))
            menus.insert(m);
    EachControl(Form, [&](TControl* c) {
        if (c->PopupMenu())
            menus.insert(c->PopupMenu());
        if (auto* t = dynamic_cast<TToolButton*>(c); t && t->DropdownMenu)
            menus.insert(t->DropdownMenu);
        if (TPopupMenu* m = FramedDropDown(c))
            menus.insert(m);
    });
    return menus;
}

void EachItem(TMenuItem* Parent, const std::function<void(TMenuItem*)>& Visit)
{
    for (int i = 0; i < Parent->Count(); ++i) {
        TMenuItem* m = Parent->Items(i);
        if (!m->Visible())
            continue;
        Visit(m);
        EachItem(m, Visit);
    }
}

}  // namespace

QStringList UnhandledControls(TCustomForm* Form)
{
    QStringList out;
    EachControl(Form, [&](TControl* c) {
        if (IsPushButton(c) && Reachable(c, Form) && !c->OnClick && !ActionRuns(c->Action()) && !ClosesWithResult(c))
            out << Where(Form, c) + QStringLiteral(" (button \"") + c->Caption() + QStringLiteral("\" has no handler)");
    });
    for (TPopupMenu* menu : PopupMenus(Form)) {
        // Lists filled as they open are looked at as the operator sees them.
        if (menu->OnPopup)
            menu->OnPopup(menu);
        EachItem(menu->Items(), [&](TMenuItem* m) {
            if (m->IsLine() || !m->Enabled() || m->Count() > 0)
                return;
            if (!m->OnClick && !ActionRuns(m->Action()))
                out << Where(Form, menu) + QStringLiteral(" (menu item \"") + m->Caption() + QStringLiteral("\" has no handler)");
        });
    }
    return out;
}

QStringList UnreachedActions(TCustomForm* Form)
{
    std::set<const TBasicAction*> placed;
    EachControl(Form, [&](TControl* c) {
        if (c->Action())
            placed.insert(c->Action());
    });
    for (TPopupMenu* menu : PopupMenus(Form))
        EachItem(menu->Items(), [&](TMenuItem* m) {
            if (m->Action())
                placed.insert(m->Action());
        });
    QStringList out;
    for (TActionList* list : Form->ActionLists())
        for (int i = 0; i < list->ActionCount(); ++i) {
            TCustomAction* a = list->Actions(i);
            a->Update();
            if (!a->Visible() || !a->Enabled())
                continue;
            if (!ActionRuns(a))
                out << Where(Form, a) + QStringLiteral(" (action \"") + a->Caption() + QStringLiteral("\" has no handler)");
            else if (!placed.count(a) && a->ShortCut() == scNone)
                out << Where(Form, a) + QStringLiteral(" (action \"") + a->Caption() +
                           QStringLiteral("\" is reached by no control, menu or shortcut)");
        }
    return out;
}

QStringList HandlerFindings(TCustomForm* Form, const QStringList& Known)
{
    QStringList all = UnhandledControls(Form) + UnreachedActions(Form);
    QStringList out;
    for (const QString& f : all) {
        bool known = false;
        for (const QString& k : Known)
            known = known || f.contains(k);
        if (!known)
            out << f;
    }
    return out;
}
