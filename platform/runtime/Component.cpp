#include "platform/runtime/Component.h"

#include <algorithm>
#include <unordered_set>

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
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    ++FComponentsChanges;
}

void TComponent::Remove(TComponent* AComponent)
{
    // A component is owned once at most. Owners mostly free what they made
    // last first, so the search starts at the end.
    const auto it = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
    if (it != FComponents.rend())
        FComponents.erase(std::next(it).base());
    AComponent->FOwner = nullptr;
    ++FComponentsChanges;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
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
    if (FComponents.empty())
        return;
    // Copy: a handler may free or add components while the list is walked.
    // Only those still owned hear of it; which those are is looked up only
    // after the list has changed, so a quiet walk stays linear.
    const std::vector<TComponent*> owned = FComponents;
    const std::uint64_t start = FComponentsChanges;
    std::uint64_t seen = start;
    std::unordered_set<const TComponent*> current;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        TComponent* c = *it;
        if (c == AComponent)
            continue;
        if (FComponentsChanges != start) {
            if (seen != FComponentsChanges) {
                current = std::unordered_set<const TComponent*>(FComponents.begin(), FComponents.end());
                seen = FComponentsChanges;
            }
            if (!current.contains(c))
                continue;
        }
        c->Notification(AComponent, Operation);
    }
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
        for (TComponent* c : FComponents)
            c->SetDesigning(value, true);
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    const std::vector<TComponent*> owned = FComponents;
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
    for (TComponent* c : FComponents)
        c->Destroying();
}
