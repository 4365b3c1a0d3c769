#pragma once
// Owned, ordered items of one class (grid columns, named pictures). The
// collection frees its items; freeing an item takes it out of its
// collection. Changes are reported through Update, held back between
// BeginUpdate and EndUpdate.

#include "platform/runtime/Object.h"

#include <functional>
#include <memory>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Position in the collection; -1 when in none.
    int Index() const;
    void SetIndex(int Value);
    // Unique within the collection, never reused.
    int ID() const { return FID; }

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
public:
    // ItemClass makes a new item of the collection's class inside the collection.
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    explicit TCollection(TItemFactory ItemClass);
    ~TCollection() override;

    TCollectionItem* Add();
    // Adds at Index (clamped to 0..Count).
    TCollectionItem* Insert(int Index);
    // An index out of range raises EListError.
    void Delete(int Index);
    void Clear();
    int Count() const { return int(FItems.size()); }
    TCollectionItem* Items(int Index) const;
    // Copies Value into the item at Index.
    void SetItems(int Index, const TCollectionItem* Value);
    TCollectionItem* FindItemID(int ID) const;

    // The object that streams the collection (its component); none by default.
    virtual TPersistent* Owner() const { return nullptr; }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Replaces the items with copies of another collection's items.
    void Assign(const TPersistent* Source) override;

    // Raised from Update: the changed item, or nullptr when all changed.
    std::function<void(TCollectionItem* Item)> OnUpdate;

protected:
    // Called after a change when no update is pending; Item nullptr means all.
    virtual void Update(TCollectionItem* Item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item, int Index);
    void RemoveItem(TCollectionItem* Item);

    TItemFactory FItemClass;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
    bool FPendingChange = false;
};
