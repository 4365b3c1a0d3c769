// Component ownership: the order of owned components through insertions and
// removals, and who hears of a component coming or going, also when a
// listener frees or adds components while the others are told.

#include "platform/runtime/Component.h"

#include <QRegularExpression>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {

class TProbe : public TComponent {
public:
    TProbe(TComponent* AOwner, const QString& name, QStringList* log)
        : TComponent(AOwner)
        , FLog(log)
    {
        SetName(name);
    }
    QStringList* Log() const { return FLog; }
    // Runs once, on the first notification this probe hears.
    std::function<void()> OnFirstNotification;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (FLog)
            *FLog << QStringLiteral("%1:%2%3").arg(Name(),
                Operation == opInsert ? QStringLiteral("+") : QStringLiteral("-"),
                AComponent ? AComponent->Name() : QString());
        if (const auto fn = std::exchange(OnFirstNotification, nullptr))
            fn();
    }

private:
    QStringList* FLog;
};

QStringList Names(const TComponent& owner)
{
    QStringList out;
    for (int i = 0; i < owner.ComponentCount(); ++i)
        out << owner.Components(i)->Name();
    return out;
}

TEST(Component, OwnedComponentsKeepTheirOrderThroughRemovals)
{
    TComponent owner(nullptr);
    std::vector<TProbe*> made;
    for (const char* n : { "a", "b", "c", "d", "e" })
        made.push_back(new TProbe(&owner, QString::fromLatin1(n), nullptr));
    EXPECT_EQ(made[3]->ComponentIndex(), 3);

    delete made[1];
    owner.RemoveComponent(made[3]);
    EXPECT_EQ(Names(owner), QStringList({ "a", "c", "e" }));
    EXPECT_EQ(made[4]->ComponentIndex(), 2);
    EXPECT_EQ(made[3]->Owner(), nullptr);
    EXPECT_EQ(made[3]->ComponentIndex(), -1);

    // Taken back, it goes to the end; taken twice, it is still there once.
    owner.InsertComponent(made[3]);
    owner.InsertComponent(made[3]);
    EXPECT_EQ(Names(owner), QStringList({ "a", "c", "e", "d" }));
    EXPECT_EQ(owner.FindComponent(QStringLiteral("D")), made[3]);

    // Freed in the order they were made, the rest stays in order each time.
    delete made[0];
    EXPECT_EQ(Names(owner), QStringList({ "c", "e", "d" }));
    delete made[2];
    delete made[4];
    EXPECT_EQ(Names(owner), QStringList({ "d" }));
}

TEST(Component, OwnedOrderAndIndexHoldThroughManyRemovals)
{
    // Each case removes a pattern of 200 owned components; the rest keep
    // their order and indexes, also after more are added.
    struct Case {
        const char* name;
        bool (*removed)(int i);
    };
    const Case cases[] = {
        { "first half, in creation order", [](int i) { return i < 100; } },
        { "last half", [](int i) { return i >= 100; } },
        { "every other", [](int i) { return i % 2 == 1; } },
        { "all but the ends", [](int i) { return i > 0 && i < 199; } },
        { "all", [](int) { return true; } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TComponent owner(nullptr);
        std::vector<TProbe*> made;
        for (int i = 0; i < 200; ++i)
            made.push_back(new TProbe(&owner, QString::number(i), nullptr));
        QStringList expected;
        for (int i = 0; i < 200; ++i) {
            if (k.removed(i))
                delete made[size_t(i)];
            else
                expected << QString::number(i);
        }
        for (const char* n : { "n1", "n2" }) {
            new TProbe(&owner, QString::fromLatin1(n), nullptr);
            expected << QString::fromLatin1(n);
        }
        EXPECT_EQ(Names(owner), expected);
        bool indexesMatch = true;
        for (int i = 0; i < owner.ComponentCount(); ++i)
            indexesMatch = indexesMatch && owner.Components(i)->ComponentIndex() == i;
        EXPECT_TRUE(indexesMatch);
        // Removals after the indexes were asked for land on the right slot.
        if (owner.ComponentCount() > 2) {
            delete owner.Components(1);
            expected.removeAt(1);
            delete owner.Components(0);
            expected.removeAt(0);
        }
        EXPECT_EQ(Names(owner), expected);
        EXPECT_EQ(owner.FindComponent(QStringLiteral("N2")) != nullptr, true);
    }
}

TEST(Component, FreeNotificationReachesOnlyThoseWhoAsked)
{
    // The owner hears of what it owns coming and going; an owned component
    // hears of a sibling only when it asked for its free notification, last
    // asker first, and once.
    QStringList log;
    TProbe owner(nullptr, QStringLiteral("o"), &log);
    // Named before they join, so the log can tell the newcomer.
    auto join = [&](const char* name) {
        auto* p = new TProbe(nullptr, QString::fromLatin1(name), &log);
        owner.InsertComponent(p);
        return p;
    };
    TProbe* a = join("a");
    TProbe* b = join("b");
    TProbe* c = join("c");
    TProbe* d = join("d");
    TProbe outsider(nullptr, QStringLiteral("x"), &log);
    EXPECT_EQ(log, QStringList({ "o:+a", "o:+b", "o:+c", "o:+d" }));

    c->FreeNotification(b);
    c->FreeNotification(&outsider);
    c->FreeNotification(d);
    log.clear();
    delete c;
    EXPECT_EQ(log, QStringList({ "d:-c", "x:-c", "b:-c", "o:-c" }));

    // Taken out of the owner but not freed: no one else hears of it.
    a->FreeNotification(b);
    log.clear();
    owner.RemoveComponent(a);
    EXPECT_EQ(log, QStringList({ "o:-a" }));
    log.clear();
    delete a;
    EXPECT_EQ(log, QStringList({ "b:-a" }));
}

TEST(Component, ListenerThatFreesOrAddsOthersWhileBeingTold)
{
    // "x" is freed with "a" to "d" asking for its free notification; "d",
    // told first, acts. A listener freed before its turn is skipped; one
    // that asks while the others are told is told as well.
    struct Case {
        const char* name;
        std::function<void(TComponent& owner, std::vector<TProbe*>& made, TComponent* x)> act;
        QStringList heard;
    };
    const Case cases[] = {
        { "frees one not yet told", [](TComponent&, std::vector<TProbe*>& m, TComponent*) { delete m[1]; },
            { "d:-x", "c:-x", "a:-x" } },
        { "frees every other",
            [](TComponent&, std::vector<TProbe*>& m, TComponent*) {
                delete m[0];
                delete m[1];
                delete m[2];
            },
            { "d:-x" } },
        { "frees one and adds one that asks",
            [](TComponent& owner, std::vector<TProbe*>& m, TComponent* x) {
                delete m[2];
                x->FreeNotification(new TProbe(&owner, QStringLiteral("n"), m[0]->Log()));
            },
            { "d:-x", "n:-x", "b:-x", "a:-x" } },
        { "stops asking for one",
            [](TComponent&, std::vector<TProbe*>& m, TComponent* x) { x->RemoveFreeNotification(m[0]); },
            { "d:-x", "c:-x", "b:-x" } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QStringList log;
        TComponent owner(nullptr);
        auto* x = new TProbe(&owner, QStringLiteral("x"), nullptr);
        std::vector<TProbe*> made;
        for (const char* n : { "a", "b", "c", "d" }) {
            made.push_back(new TProbe(&owner, QString::fromLatin1(n), &log));
            x->FreeNotification(made.back());
        }
        made[3]->OnFirstNotification = [&] { k.act(owner, made, x); };
        delete x;
        EXPECT_EQ(log, k.heard);
    }
}

TEST(Component, FreeNotificationLinksBothWays)
{
    QStringList log;
    auto* a = new TProbe(nullptr, QStringLiteral("a"), &log);
    auto* b = new TProbe(nullptr, QStringLiteral("b"), &log);
    auto* c = new TProbe(nullptr, QStringLiteral("c"), &log);
    a->FreeNotification(b);
    a->FreeNotification(b); // once only
    c->FreeNotification(a);
    c->RemoveFreeNotification(a);
    delete a;
    EXPECT_EQ(log, QStringList({ "b:-a" }));
    log.clear();
    delete b;
    delete c;
    EXPECT_TRUE(log.isEmpty()) << log.join(',').toStdString();
}

} // namespace
