#include "platform/ui/ActnList.h"

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <algorithm>

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    // clients forget the action through the free notification
    for (TComponent* c : std::vector<TComponent*>(FClients))
        if (auto* ctl = dynamic_cast<TControl*>(c); ctl && ctl->Action() == this)
            ctl->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (OnExecute) {
        OnExecute(this);
        return true;
    }
    return false;
}

bool TBasicAction::Update()
{
    if (OnUpdate) {
        OnUpdate(this);
        return true;
    }
    return false;
}

void TBasicAction::RegisterClient(TComponent* Client)
{
    if (std::find(FClients.begin(), FClients.end(), Client) == FClients.end())
        FClients.push_back(Client);
}

void TBasicAction::UnregisterClient(TComponent* Client)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

void TBasicAction::Change()
{
    for (TComponent* c : std::vector<TComponent*>(FClients)) {
        if (auto* ctl = dynamic_cast<TControl*>(c))
            ctl->ActionChange(this, false);
        else if (auto* mi = dynamic_cast<TMenuItem*>(c))
            mi->ActionChange(this);
    }
}

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TCustomAction::~TCustomAction()
{
    if (FActionList)
        FActionList->RemoveAction(this);
}

void TCustomAction::SetEnabled(bool V)
{
    if (FEnabled != V) {
        FEnabled = V;
        Change();
    }
}

void TCustomAction::SetVisible(bool V)
{
    if (FVisible != V) {
        FVisible = V;
        Change();
    }
}

void TCustomAction::SetChecked(bool V)
{
    if (FChecked == V)
        return;
    FChecked = V;
    // one checked action per group
    if (V && GroupIndex > 0 && FActionList)
        for (int i = 0; i < FActionList->ActionCount(); ++i) {
            TCustomAction* a = FActionList->Actions(i);
            if (a != this && a->GroupIndex == GroupIndex)
                a->SetChecked(false);
        }
    Change();
}

void TCustomAction::SetActionList(TActionList* List)
{
    if (FActionList == List)
        return;
    if (FActionList)
        FActionList->RemoveAction(this);
    if (List)
        List->AddAction(this);
}

bool TCustomAction::Execute()
{
    if (!FEnabled)
        return false;
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (FActionList && FActionList->OnExecute) {
        bool handled = false;
        FActionList->OnExecute(this, handled);
        if (handled)
            return true;
    }
    return TBasicAction::Execute();
}

bool TCustomAction::Update()
{
    if (FActionList && FActionList->OnUpdate) {
        bool handled = false;
        FActionList->OnUpdate(this, handled);
        if (handled)
            return true;
    }
    return TBasicAction::Update();
}

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner)
{
    if (auto* f = dynamic_cast<TCustomForm*>(AOwner))
        f->AddActionList(this);
}

TActionList::~TActionList()
{
    if (auto* f = dynamic_cast<TCustomForm*>(Owner()))
        f->RemoveActionList(this);
    for (TCustomAction* a : FActions)
        a->SetActionList(nullptr);
}

void TActionList::AddAction(TCustomAction* A)
{
    FActions.push_back(A);
    A->SetActionListInternal(this);
}

void TActionList::RemoveAction(TCustomAction* A)
{
    FActions.erase(std::remove(FActions.begin(), FActions.end(), A), FActions.end());
    if (A->ActionList() == this)
        A->SetActionListInternal(nullptr);
}

bool TActionList::IsShortCut(TShortCut ShortCut)
{
    if (!State || ShortCut == scNone)
        return false;
    for (TCustomAction* a : std::vector<TCustomAction*>(FActions))
        if (a->ShortCut() == ShortCut) {
            a->Update();
            if (a->Enabled() && a->Visible()) {
                a->Execute();
                return true;
            }
        }
    return false;
}

void TActionList::UpdateActions()
{
    if (!State)
        return;
    for (TCustomAction* a : std::vector<TCustomAction*>(FActions))
        a->Update();
}
