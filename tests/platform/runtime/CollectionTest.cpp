#include "platform/runtime/Collection.h"
#include "platform/runtime/Exceptions.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

int gAlive = 0;

struct NamedItem : TCollectionItem {
    explicit NamedItem(TCollection* c)
        : TCollectionItem(c)
    {
        ++gAlive;
    }
    ~NamedItem() override { --gAlive; }
    void Assign(const TPersistent* Source) override { Name = static_cast<const NamedItem*>(Source)->Name; }
    void Rename(const QString& n)
    {
        Name = n;
        Changed(false);
    }
    QString Name;
};

struct Names : TCollection {
    Names()
        : TCollection([](TCollection* c) { return new NamedItem(c); })
    {
    }
    NamedItem* Add(const QString& n)
    {
        auto* item = static_cast<NamedItem*>(TCollection::Add());
        item->Name = n;
        return item;
    }
    QString Joined() const
    {
        QString s;
        for (int i = 0; i < Count(); ++i)
            s += static_cast<NamedItem*>(Items(i))->Name;
        return s;
    }
};

} // namespace

TEST(CollectionTest, OwnsOrdersAndFreesItems)
{
    {
        Names names;
        names.Add("a");
        NamedItem* b = names.Add("b");
        static_cast<NamedItem*>(names.Insert(0))->Name = "c";
        EXPECT_EQ(names.Joined(), "cab");
        EXPECT_EQ(b->Index(), 2);
        EXPECT_EQ(b->Collection(), &names);
        b->SetIndex(0);
        EXPECT_EQ(names.Joined(), "bca");
        names.Delete(1);
        EXPECT_EQ(names.Joined(), "ba");
        EXPECT_EQ(gAlive, 2);
        EXPECT_THROW(names.Delete(2), EListError);
        EXPECT_THROW(names.Items(-1), EListError);
        // Freeing an item takes it out of its collection.
        delete names.Items(0);
        EXPECT_EQ(names.Joined(), "a");
        EXPECT_EQ(names.Owner(), nullptr);

        Names copy;
        copy.Add("x");
        copy.Assign(&names);
        EXPECT_EQ(copy.Joined(), "a");
        EXPECT_NE(copy.Items(0), names.Items(0));
        names.Clear();
        EXPECT_EQ(names.Count(), 0);
    }
    EXPECT_EQ(gAlive, 0);
}

TEST(CollectionTest, UpdatesWaitForTheLastEndUpdate)
{
    Names names;
    std::vector<TCollectionItem*> updates;
    names.OnUpdate = [&](TCollectionItem* item) { updates.push_back(item); };
    NamedItem* a = names.Add("a");
    a->Rename("b");
    EXPECT_EQ(updates, (std::vector<TCollectionItem*> { nullptr, a }));
    updates.clear();
    names.BeginUpdate();
    names.BeginUpdate();
    names.Add("c");
    a->Rename("d");
    names.EndUpdate();
    EXPECT_TRUE(updates.empty());
    names.EndUpdate();
    EXPECT_EQ(updates, (std::vector<TCollectionItem*> { nullptr }));
}
