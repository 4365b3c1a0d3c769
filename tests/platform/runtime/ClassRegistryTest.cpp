// Component classes by name: factories, repeated and clashing registrations,
// unknown names.
#include <gtest/gtest.h>

#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/Component.h"

namespace {

class TRegA : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TRegA"); }
};

class TRegB : public TComponent {
public:
    using TComponent::TComponent;
    QString ClassName() const override { return QStringLiteral("TRegB"); }
};

TEST(ClassRegistry, NameGivesAFactoryThatMakesTheClassWithItsOwner)
{
    RegisterClass<TRegA>(QStringLiteral("TRegA"));
    TComponent owner(nullptr);
    TComponentFactory f = FindClass(QStringLiteral("tRegA")); // case ignored
    ASSERT_NE(f, nullptr);
    TComponent* c = f(&owner);
    EXPECT_EQ(c->ClassName(), QStringLiteral("TRegA"));
    EXPECT_EQ(c->Owner(), &owner);
    EXPECT_TRUE(RegisteredClassNames().contains(QStringLiteral("TRegA")));
}

TEST(ClassRegistry, SameClassAgainIsIgnoredAnotherUnderItsNameRaises)
{
    RegisterClass<TRegB>(QStringLiteral("TRegB"));
    EXPECT_NO_THROW(RegisterClass<TRegB>(QStringLiteral("TRegB")));
    EXPECT_EQ(RegisteredClassNames().count(QStringLiteral("TRegB")), 1);
    try {
        RegisterClass<TRegA>(QStringLiteral("TREGB"));
        FAIL() << "a second class under a registered name was taken";
    } catch (const EFilerError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("A class named TREGB already exists"));
    }
    EXPECT_EQ(GetClass(QStringLiteral("TRegB")), &ComponentFactory<TRegB>);
}

TEST(ClassRegistry, UnknownAndUnregisteredNames)
{
    EXPECT_EQ(GetClass(QStringLiteral("TNoSuchClass")), nullptr);
    try {
        FindClass(QStringLiteral("TNoSuchClass"));
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Class TNoSuchClass not found"));
    }
    RegisterClass<TRegA>(QStringLiteral("TRegGone"));
    UnRegisterClass(QStringLiteral("TRegGone"));
    EXPECT_EQ(GetClass(QStringLiteral("TRegGone")), nullptr);
    EXPECT_THROW(RegisterClass(QStringLiteral(""), &ComponentFactory<TRegA>), EFilerError);
}

} // namespace
