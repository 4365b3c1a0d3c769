#include "platform/runtime/Collection.h"

#include "platform/runtime/Exceptions.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection* Collection)
{
    if (Collection)
        Collection->InsertItem(this, Collection->Count());
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection)
        FCollection->RemoveItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    const auto& items = FCollection->FItems;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this)
            return int(i);
    return -1;
}

void TCollectionItem::SetIndex(int Value)
{
    const int current = Index();
    if (current < 0 || current == Value)
        return;
    auto& items = FCollection->FItems;
    Value = std::clamp(Value, 0, int(items.size()) - 1);
    auto own = std::move(items[size_t(current)]);
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, std::move(own));
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (!FCollection)
        return;
    if (FCollection->FUpdateCount > 0) {
        FCollection->FPendingChange = true;
        return;
    }
    FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory ItemClass)
    : FItemClass(std::move(ItemClass))
{
}

TCollection::~TCollection()
{
    FUpdateCount = 1; // no notifications while dying
    Clear();
}

void TCollection::InsertItem(TCollectionItem* Item, int Index)
{
    Item->FCollection = this;
    Item->FID = FNextID++;
    FItems.insert(FItems.begin() + std::clamp(Index, 0, Count()), std::unique_ptr<TCollectionItem>(Item));
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    // The item is being freed by someone else: give up ownership without freeing.
    for (auto it = FItems.begin(); it != FItems.end(); ++it)
        if (it->get() == Item) {
            (void)it->release();
            FItems.erase(it);
            break;
        }
    Item->FCollection = nullptr;
    Changed();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = FItemClass(this);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    auto own = std::move(FItems[size_t(Index)]);
    FItems.erase(FItems.begin() + Index);
    own->FCollection = nullptr;
    own.reset();
    Changed();
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty()) {
        auto own = std::move(FItems.back());
        FItems.pop_back();
        own->FCollection = nullptr;
    }
    FPendingChange = true;
    EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

void TCollection::SetItems(int Index, const TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (const auto& item : FItems)
        if (item->FID == ID)
            return item.get();
    return nullptr;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPendingChange) {
        FPendingChange = false;
        Update(nullptr);
    }
}

void TCollection::Assign(const TPersistent* Source)
{
    const auto* other = dynamic_cast<const TCollection*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    Clear();
    for (const auto& item : other->FItems)
        Add()->Assign(item.get());
    FPendingChange = true;
    EndUpdate();
}

void TCollection::Update(TCollectionItem* Item)
{
    if (OnUpdate)
        OnUpdate(Item);
}

void TCollection::Changed()
{
    if (FUpdateCount > 0)
        FPendingChange = true;
    else
        Update(nullptr);
}
