// Office colour-scheme detection on a temporary registry, the handle list and
// the shared notifier's monitor thread.
#include "controls/base/ExStyleIF.h"
#include "common/TestUtil.h"
#include "controls/base/ExXPVS.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/PlatformInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace {

using testutil::PumpUntil;

void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

// Points the registry at an empty temporary file for one test.
class TempRegistry {
public:
    TempRegistry() { TRegistry::SetStorageFile(testutil::TempDir() + QStringLiteral("/registry.ini")); }
    ~TempRegistry() { TRegistry::SetStorageFile(QString()); }

    static void Write(const QString& key, const QString& name, int value)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteInteger(name, value);
    }
    static void MakeKey(const QString& key)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
    }
};

const QString kOffice14 = QStringLiteral("\\Software\\Microsoft\\Office\\14.0\\Common");
const QString kOffice12 = QStringLiteral("\\Software\\Microsoft\\Office\\12.0\\Common");

// A plain control that logs the theme-change messages it receives.
class TThemeProbe : public TWinControl {
public:
    using TWinControl::TWinControl;
    QStringList Log;
    std::function<void()> OnTheme;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_OFFICETHEMECHANGE)
            Log << QString::number(Message.WParam, 16) + QLatin1Char(':')
                    + QString::fromUtf16(reinterpret_cast<const char16_t*>(Message.LParam));
        if (Message.Msg == WM_OFFICETHEMECHANGE && OnTheme)
            OnTheme();
        TWinControl::WndProc(Message);
    }
};

TEST(ExStyleIF, OfficeThemeFollowsOffice14Then12ThenTheVisualStyle)
{
    struct Case {
        int office14; // -1: no value, -2: no key
        int office12;
        QString colorName;
        bool themes;
        TOfficeTheme expected;
    };
    const Case cases[] = {
        { -2, -2, QString(), true, TOfficeTheme::ot2003Classic },
        { -2, -2, QStringLiteral("NormalColor"), true, TOfficeTheme::ot2003Blue },
        { -2, -2, QStringLiteral("HomeStead"), true, TOfficeTheme::ot2003Olive },
        { -2, -2, QStringLiteral("Metallic"), true, TOfficeTheme::ot2003Silver },
        { -2, -2, QStringLiteral("Normal"), true, TOfficeTheme::ot2003Blue }, // a part of "NormalColor"
        { -2, -2, QStringLiteral("Royale"), true, TOfficeTheme::ot2003Classic },
        { -2, -2, QStringLiteral("NormalColor"), false, TOfficeTheme::ot2003Classic },
        { 2, 1, QString(), true, TOfficeTheme::ot2010Silver },
        { 1, -2, QString(), true, TOfficeTheme::ot2010Blue },
        { 3, -2, QString(), true, TOfficeTheme::ot2010Black },
        { 0, 3, QString(), true, TOfficeTheme::ot2003Blue },
        { -1, 2, QString(), true, TOfficeTheme::ot2007Silver },
        { -1, 1, QString(), true, TOfficeTheme::ot2007Blue },
        { -2, 3, QString(), true, TOfficeTheme::ot2007Black },
        { -2, 7, QString(), true, TOfficeTheme::ot2003Blue },
        { -1, -1, QStringLiteral("Metallic"), true, TOfficeTheme::ot2003Silver },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(c.office14).arg(c.office12).arg(c.colorName).toStdString());
        TempRegistry registry;
        TPlatformInfo facts;
        facts.ThemeColorName = c.colorName;
        facts.ThemesActive = c.themes;
        TPlatformInfoScope scope(facts);
        if (c.office14 >= -1)
            TempRegistry::MakeKey(kOffice14);
        if (c.office14 >= 0)
            TempRegistry::Write(kOffice14, QStringLiteral("Theme"), c.office14);
        if (c.office12 >= -1)
            TempRegistry::MakeKey(kOffice12);
        if (c.office12 >= 0)
            TempRegistry::Write(kOffice12, QStringLiteral("Theme"), c.office12);
        EXPECT_EQ(GetOfficeTheme(), c.expected);
    }
}

TEST(ExStyleIF, OfficeVersionAndPlatformTests)
{
    TempRegistry registry;
    EXPECT_EQ(DetectOfficeVersion(), 0);
    TempRegistry::MakeKey(kOffice12 + QStringLiteral("\\General"));
    EXPECT_EQ(DetectOfficeVersion(), 1);
    TempRegistry::MakeKey(kOffice14 + QStringLiteral("\\General"));
    EXPECT_EQ(DetectOfficeVersion(), 2);

    TRegistry reg;
    EXPECT_EQ(ReadOfficeThemeValue(reg, kOffice14), -1);
    TempRegistry::Write(kOffice14, QStringLiteral("Theme"), 3);
    EXPECT_EQ(ReadOfficeThemeValue(reg, kOffice14), 3);

    TPlatformInfo facts;
    facts.WinVistaOrLater = false;
    {
        TPlatformInfoScope scope(facts);
        EXPECT_EQ(DefaultUIFontName(), "Tahoma");
    }
    EXPECT_EQ(DefaultUIFontName(), "Segoe UI");
}

TEST(ExStyleIF, ThemeLibraryBindsWhatThePainterHasAndLeavesTheRestUnset)
{
    ASSERT_EQ(ThemeEntryPointNames().size(), 45);
    EXPECT_EQ(ThemeEntryPointNames().first(), "OpenThemeData");
    EXPECT_EQ(ThemeEntryPointNames().last(), "EnableTheming");
    for (const char* name : { "IsThemeActive", "OpenThemeData", "DrawThemeBackground", "CloseThemeData" })
        EXPECT_TRUE(ThemeEntryPointBound(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(ThemeEntryPointBound(QStringLiteral("DrawThemeText")));
    EXPECT_FALSE(ThemeEntryPointBound(QStringLiteral("NoSuchEntry")));
    const TThemeLibrary& lib = ThemeLibrary();
    HTHEME theme = lib.OpenThemeData(nullptr, QStringLiteral("combobox"));
    EXPECT_NE(theme, nullptr);
    lib.CloseThemeData(theme);
}

TEST(ExStyleIF, HandleListKeepsOrderAndRemovesTheFirstEqualHandle)
{
    THandleList list;
    list.Add(5);
    list.Add(7);
    list.Insert(0, 7);
    list.DeleteValue(7);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetInteger(0), 5u);
    EXPECT_EQ(list.GetInteger(1), 7u);
    list.DeleteValue(99);
    EXPECT_EQ(list.Count(), 2);
    list.SetInteger(1, 8);
    EXPECT_TRUE(list.HasValue(8));
    EXPECT_THROW(list.GetInteger(2), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
}

TEST(ExStyleIF, WithoutOfficeKeysTheNotifierHasNoThreadAndTellsNobody)
{
    TempRegistry registry;
    TForm form(nullptr);
    auto* probe = new TThemeProbe(&form);
    probe->SetParent(&form);
    TThemeNotifier notifier(&form);
    EXPECT_EQ(notifier.RegMonitorThread(), nullptr);
    EXPECT_EQ(notifier.NotifierWindow(), nullptr);
    notifier.RegisterWindow(probe->Handle());
    TempRegistry::Write(kOffice14, QStringLiteral("Theme"), 2);
    PumpFor(100);
    EXPECT_TRUE(probe->Log.isEmpty());
}

TEST(ExStyleIF, AValueWrittenUnderTheOfficeKeyReachesEachRegisteredWindowOnce)
{
    TempRegistry registry;
    TempRegistry::MakeKey(kOffice14 + QStringLiteral("\\General"));
    TForm form(nullptr);
    auto* a = new TThemeProbe(&form);
    auto* b = new TThemeProbe(&form);
    a->SetParent(&form);
    b->SetParent(&form);
    auto* notifier = new TThemeNotifier(&form);
    ASSERT_NE(notifier->RegMonitorThread(), nullptr);
    int notified = 0;
    notifier->OnOfficeThemeChange = [&](TObject* sender) {
        EXPECT_EQ(sender, notifier);
        ++notified;
    };
    notifier->RegisterWindow(a->Handle());
    notifier->RegisterWindow(b->Handle());
    notifier->RegisterWindow(a->Handle()); // kept once
    notifier->UnRegisterWindow(12345); // not registered: nothing changes
    EXPECT_EQ(notifier->RegMonitorThread()->WinList().Count(), 2);
    EXPECT_EQ(notifier->RegMonitorThread()->Filter(), 4u);

    // A sub-key's value counts; a value under another key does not.
    TempRegistry::Write(kOffice12, QStringLiteral("Theme"), 1);
    TempRegistry::Write(kOffice14 + QStringLiteral("\\General"), QStringLiteral("Theme"), 2);
    PumpUntil([&] { return a->Log.size() >= 1 && b->Log.size() >= 1; });
    PumpFor(100);
    const QString expected = QStringLiteral("80000001:Software\\Microsoft\\Office\\14.0\\Common");
    EXPECT_EQ(a->Log, QStringList { expected });
    EXPECT_EQ(b->Log, QStringList { expected });
    EXPECT_EQ(notified, 1);

    notifier->UnRegisterWindow(b->Handle());
    TempRegistry::Write(kOffice14, QStringLiteral("Theme"), 3);
    PumpUntil([&] { return a->Log.size() >= 2; });
    EXPECT_EQ(a->Log.size(), 2);
    EXPECT_EQ(b->Log.size(), 1);

    notifier->RegMonitorThread()->Stop();
    TempRegistry::Write(kOffice14, QStringLiteral("Theme"), 1);
    PumpFor(150);
    EXPECT_EQ(a->Log.size(), 2);
    PumpUntil([&] { return notifier->RegMonitorThread()->Finished(); });
    EXPECT_TRUE(notifier->RegMonitorThread()->Finished());
    delete notifier;
}

TEST(ExStyleIF, FreeingTheNotifierDuringASendStopsItsThreadWithoutDeadlock)
{
    TempRegistry registry;
    TempRegistry::MakeKey(kOffice14 + QStringLiteral("\\General"));
    TForm form(nullptr);
    auto* probe = new TThemeProbe(&form);
    probe->SetParent(&form);
    auto* notifier = new TThemeNotifier(&form);
    notifier->RegisterWindow(probe->Handle());
    TempRegistry::Write(kOffice14, QStringLiteral("Theme"), 2);
    // The thread now waits for the main thread, which frees the notifier
    // without pumping: the pending send is withdrawn.
    QElapsedTimer t;
    t.start();
    delete notifier;
    EXPECT_LT(t.elapsed(), 2000);
    PumpFor(100);
    EXPECT_TRUE(probe->Log.isEmpty());
}

TEST(ExStyleIF, AWindowThatFreesTheNotifierWhileBeingToldEndsTheSendWithoutDeadlock)
{
    TempRegistry registry;
    TempRegistry::MakeKey(kOffice14 + QStringLiteral("\\General"));
    TForm form(nullptr);
    auto* first = new TThemeProbe(&form);
    auto* second = new TThemeProbe(&form);
    first->SetParent(&form);
    second->SetParent(&form);
    auto* notifier = new TThemeNotifier(&form);
    notifier->RegisterWindow(first->Handle());
    notifier->RegisterWindow(second->Handle());
    first->OnTheme = [&] {
        delete notifier;
        notifier = nullptr;
    };
    TempRegistry::Write(kOffice14, QStringLiteral("Theme"), 2);
    PumpUntil([&] { return notifier == nullptr; });
    PumpFor(100);
    EXPECT_EQ(notifier, nullptr);
    EXPECT_EQ(first->Log.size(), 1);
    EXPECT_TRUE(second->Log.isEmpty()); // stopped: the rest of the send is dropped
}

TEST(ExStyleIF, AKeyThatCannotBeOpenedEndsTheThreadQuietly)
{
    TempRegistry registry;
    TForm form(nullptr);
    auto* probe = new TThemeProbe(&form);
    probe->SetParent(&form);
    TRegMonitorThread thread;
    thread.SetKey(QStringLiteral("Software\\Missing"));
    thread.SetWnd(probe->Handle());
    thread.Start();
    PumpUntil([&] { return thread.Finished(); });
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.ErrorMessage(), "Unable to open registry key Software\\Missing");
    TempRegistry::Write(QStringLiteral("\\Software\\Missing"), QStringLiteral("Theme"), 1);
    PumpFor(50);
    EXPECT_TRUE(probe->Log.isEmpty());
}

TEST(ExStyleIF, SharedNotifierIsMadeOnceAndForgottenWhenFreed)
{
    TempRegistry registry;
    TForm form(nullptr);
    TThemeNotifier* shared = GetSharedThemeNotifier(&form);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(GetSharedThemeNotifier(nullptr), shared);
    delete shared;
    TThemeNotifier* again = GetSharedThemeNotifier(&form);
    EXPECT_NE(again, nullptr);
    delete again;
}

} // namespace
