#include "platform/rtl/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FDestroying = true;
    // those who asked to be told hear of our end first
    const std::vector<TComponent*> notifies = FFreeNotifies;
    for (TComponent* c : notifies) {
        c->RemoveFreeNotification(this);
        c->Notification(this, opRemove);
    }
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        FComponents.pop_back();
        c->FOwner = nullptr;
        delete c;
    }
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const QString& AName) const
{
    for (TComponent* c : FComponents)
        if (c->FName.compare(AName, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    AComponent->FOwner = this;
    if (FComponentState & csLoading)
        AComponent->FComponentState |= csLoading;
    FComponents.push_back(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) {
        FComponents.erase(it);
        AComponent->FOwner = nullptr;
        if (!FDestroying)
            Notification(AComponent, opRemove);
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FreeNotification(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) {
        FFreeNotifies.erase(it);
        AComponent->RemoveFreeNotification(this);
    }
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded()
{
    FComponentState &= ~unsigned(csLoading);
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    // owned components first, in creation order, then the owner itself
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (c->FComponentState & csLoading)
            c->EndLoading();
    if (FComponentState & csLoading)
        Loaded();
    FComponentState &= ~unsigned(csLoading);
}
