#include "platform/runtime/Component.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell the linked components first, while this one is still whole enough
    // to be compared by address.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    if (FHoles)
        Compact();
    return FComponents[FFirst + static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    if (FOwner->FHoles)
        FOwner->Compact();
    return static_cast<int>(FSlot - FOwner->FFirst);
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    TComponent* found = nullptr;
    ForEachOwned([&](TComponent* c) {
        if (!found && c->FName.compare(name, Qt::CaseInsensitive) == 0)
            found = c;
    });
    return found;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    // A component placed on a form being designed is designed with it.
    if (IsDesigning())
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    // The handler may have taken it elsewhere already.
    if (AComponent->FOwner == this)
        Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    if (FComponents.empty())
        FFirst = 0;
    AComponent->FSlot = FComponents.size();
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    FComponents[AComponent->FSlot] = nullptr;
    AComponent->FOwner = nullptr;
    ++FHoles;
    while (FFirst < FComponents.size() && !FComponents[FFirst]) {
        ++FFirst;
        --FHoles;
    }
    while (!FComponents.empty() && !FComponents.back()) {
        FComponents.pop_back();
        if (FFirst > FComponents.size())
            FFirst = FComponents.size();
        else
            --FHoles;
    }
    if (FComponents.empty()) {
        FFirst = 0;
        FHoles = 0;
    } else if (FFirst + FHoles > FComponents.size() / 2 + 16) {
        // More holes than components: closing them now costs no more than
        // the removals that made them.
        Compact();
    }
}

void TComponent::Compact() const
{
    size_t out = 0;
    ForEachOwned([&](TComponent* c) {
        c->FSlot = out;
        FComponents[out++] = c;
    });
    FComponents.resize(out);
    FFirst = 0;
    FHoles = 0;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        // Holes never sit at the end.
        TComponent* c = FComponents.back();
        Remove(c);
        delete c;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& theirs = AComponent->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
    FComponentState |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
    auto& theirs = AComponent->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    // Links always run both ways, so a component with none has none to drop.
    if (Operation == opRemove && AComponent && !FFreeNotifies.empty())
        RemoveFreeNotification(AComponent);
}

void TComponent::Loaded()
{
    FComponentState &= ~TComponentState(csLoading);
}

void TComponent::SetComponentStateFlag(TComponentStateFlag flag, bool on)
{
    FComponentState.setFlag(flag, on);
}

void TComponent::SetDesigning(bool value, bool setChildren)
{
    FComponentState.setFlag(csDesigning, value);
    if (setChildren)
        ForEachOwned([&](TComponent* c) { c->SetDesigning(value, true); });
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    ForEachOwned([](TComponent* c) { c->BeginLoading(); });
}

void TComponent::EndLoading()
{
    std::vector<TComponent*> owned;
    owned.reserve(static_cast<size_t>(ComponentCount()));
    ForEachOwned([&](TComponent* c) { owned.push_back(c); });
    for (TComponent* c : owned)
        c->EndLoading();
    if (FComponentState.testFlag(csLoading))
        Loaded();
}

void TComponent::Destroying()
{
    if (FComponentState.testFlag(csDestroying))
        return;
    FComponentState |= csDestroying;
    ForEachOwned([](TComponent* c) { c->Destroying(); });
}
