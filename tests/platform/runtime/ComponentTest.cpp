// Component ownership: the order of owned components through insertions and
// removals, and who hears of a component coming or going, also when a
// listener frees or adds components while the owner tells the others.

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

TEST(Component, OwnerTellsEveryOtherOwnedComponentLastFirst)
{
    QStringList log;
    TComponent owner(nullptr);
    // Named before they join, so the log can tell the newcomer.
    auto join = [&](const char* name) {
        auto* p = new TProbe(nullptr, QString::fromLatin1(name), &log);
        owner.InsertComponent(p);
        return p;
    };
    join("a");
    join("b");
    TProbe* c = join("c");
    EXPECT_EQ(log, QStringList({ "a:+b", "b:+c", "a:+c" }));

    log.clear();
    delete c;
    EXPECT_EQ(log, QStringList({ "b:-c", "a:-c" }));
}

TEST(Component, ListenerThatFreesOrAddsSiblingsDuringTheWalk)
{
    // Each case: what the first listener told ("d", walked first) does, and
    // who then hears of the removal of "x". A component freed before its
    // turn is skipped, one added during the walk is not told.
    struct Case {
        const char* name;
        std::function<void(TComponent& owner, std::vector<TProbe*>& made)> act;
        QStringList heard;
    };
    const Case cases[] = {
        { "frees one not yet told", [](TComponent&, std::vector<TProbe*>& m) { delete m[1]; },
            { "d:-x", "c:-x", "a:-x" } },
        { "frees every other",
            [](TComponent&, std::vector<TProbe*>& m) {
                delete m[0];
                delete m[1];
                delete m[2];
            },
            { "d:-x" } },
        { "frees one and adds one",
            [](TComponent& owner, std::vector<TProbe*>& m) {
                delete m[2];
                new TProbe(&owner, QStringLiteral("n"), m[0]->Log());
            },
            { "d:-x", "b:-x", "a:-x" } },
        { "takes one away and back",
            [](TComponent& owner, std::vector<TProbe*>& m) {
                owner.RemoveComponent(m[1]);
                owner.InsertComponent(m[1]);
            },
            { "d:-x", "c:-x", "b:-x", "a:-x" } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        QStringList log;
        TComponent owner(nullptr);
        std::vector<TProbe*> made;
        for (const char* n : { "a", "b", "c", "d" })
            made.push_back(new TProbe(&owner, QString::fromLatin1(n), &log));
        auto* x = new TProbe(&owner, QStringLiteral("x"), nullptr);
        made[3]->OnFirstNotification = [&] { k.act(owner, made); };
        log.clear();
        delete x;
        EXPECT_EQ(log.filter(QRegularExpression(QStringLiteral(":-x$"))), k.heard);
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
