#include <gtest/gtest.h>

#include "common/TestUtil.h"
#include "controls/grid/esgspin.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"
#include "tests/controls/grid/EsgEditTestSupport.h"

namespace {

using enum TEsgSpinType;

const TLocale kEnglish;
const TLocale kComma { u',', u'.', u'.', u':', QStringLiteral("dd.MM.yyyy") };
// A time separator that is also the decimal separator.
const TLocale kDotTime { u'.', u' ', u'-', u'.', QStringLiteral("yyyy-MM-dd") };

struct TCharCase {
    const char* Name;
    TLocale Locale;
    TEsgSpinType Type;
    const char* Text;
    int SelStart;
    int SelLength;
    char16_t Key;
    bool Accepted;
    int Precision = 0;
    bool EditorEnabled = true;
};

// Each key is typed for real; a refused one leaves the text and beeps.
TEST(EsgSpinEdit, TypedCharactersFollowTheKindAndTheLocale)
{
    const TCharCase cases[] = {
        { "digit", kEnglish, sptNormal, "12", 2, 0, u'5', true },
        { "letter", kEnglish, sptNormal, "12", 2, 0, u'a', false },
        { "minus at 0", kEnglish, sptNormal, "12", 0, 0, u'-', true },
        { "minus inside", kEnglish, sptNormal, "12", 1, 0, u'-', false },
        { "second minus", kEnglish, sptNormal, "-12", 0, 0, u'-', false },
        { "minus over the minus", kEnglish, sptNormal, "-12", 0, 1, u'-', true },
        { "decimal in integer", kEnglish, sptNormal, "12", 2, 0, u'.', false },
        { "ctrl char in integer", kEnglish, sptNormal, "12", 2, 0, u'\x1b', false },
        { "comma decimal", kComma, sptFloat, "12", 2, 0, u',', true },
        { "thousand in float", kComma, sptFloat, "12", 2, 0, u'.', false },
        { "second decimal", kComma, sptFloat, "1,2", 3, 0, u',', false },
        { "decimal over the decimal", kComma, sptFloat, "1,2", 1, 1, u',', true },
        { "third decimal", kEnglish, sptFloat, "1.25", 4, 0, u'3', false, 2 },
        { "second decimal digit", kEnglish, sptFloat, "1.2", 3, 0, u'3', true, 2 },
        { "digit before the decimals", kEnglish, sptFloat, "1.25", 0, 0, u'3', true, 2 },
        { "time separator in float", kEnglish, sptFloat, "1", 1, 0, u':', false },
        { "time separator that is the decimal", kDotTime, sptFloat, "1", 1, 0, u'.', true },
        { "date separator in date", kEnglish, sptDate, "3", 1, 0, u'/', true },
        { "date separator in integer", kEnglish, sptNormal, "3", 1, 0, u'/', false },
        { "date separator in time", kEnglish, sptTime, "3", 1, 0, u'/', false },
        { "second time separator", kEnglish, sptTime, "12:30", 5, 0, u':', true },
        { "third time separator", kEnglish, sptTime, "12:30:15", 8, 0, u':', false },
        { "editor off", kEnglish, sptNormal, "12", 2, 0, u'5', false, 0, false },
        { "backspace", kEnglish, sptNormal, "12", 2, 0, u'\b', true },
        { "backspace editor off", kEnglish, sptNormal, "12", 2, 0, u'\b', false, 0, false },
    };
    for (const TCharCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLocaleScope locale(c.Locale);
        TEditForm f;
        auto* spin = f.Add<TEsgSpinEdit>();
        spin->SetPrecision(c.Precision);
        spin->SetEditorEnabled(c.EditorEnabled);
        spin->SetSpinType(c.Type);
        spin->SetText(QString::fromUtf8(c.Text));
        spin->SetFocus();
        spin->SetSelStart(c.SelStart);
        spin->SetSelLength(c.SelLength);
        TBeepCounter beeps;
        const WORD vk = c.Key == u'\b' ? VK_BACK : c.Key == u'\x1b' ? VK_ESCAPE : 0;
        input::Key(spin, vk, {}, c.Key);
        const QString before = QString::fromUtf8(c.Text);
        QString expected = before;
        if (c.Accepted && c.Key == u'\b')
            expected.remove(c.SelStart - 1, 1);
        else if (c.Accepted)
            expected.replace(c.SelStart, c.SelLength, QChar(c.Key));
        EXPECT_EQ(spin->Text(), expected);
        EXPECT_EQ(beeps.Count, c.Accepted ? 0 : 1);
    }
}

TEST(EsgSpinEdit, KeypadFullStopTypesTheLocaleDecimalWhenAsked)
{
    TLocaleScope locale(kComma);
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetSpinType(sptFloat);
    spin->SetText("1");
    spin->SetFocus();
    spin->SetSelStart(1);
    spin->SetExcelStyleDecimalSeparator(true);
    input::Key(spin, VK_DECIMAL, {}, u'.', true);
    EXPECT_EQ(spin->Text(), "1,");
    // The full stop of the main keyboard stays the thousand separator, refused.
    TBeepCounter beeps;
    input::Key(spin, VK_OEM_PERIOD, {}, u'.');
    EXPECT_EQ(spin->Text(), "1,");
    EXPECT_EQ(beeps.Count, 1);
}

TEST(EsgSpinEdit, LeavingShowsTheClampedValueUnlessTheLimitsAreEqual)
{
    for (const int max : { 100, 0 }) {
        SCOPED_TRACE(max);
        TEditForm f;
        auto* spin = f.Add<TEsgSpinEdit>();
        auto* other = f.Add<TEdit>(10, 60);
        spin->SetMaxValue(max);
        spin->SetFocus();
        spin->SelectAll();
        input::Type(spin, "150");
        EXPECT_EQ(spin->Text(), "150");
        other->SetFocus();
        EXPECT_EQ(spin->Text(), max == 100 ? "100" : "150");
    }
}

TEST(EsgSpinEdit, UnreadableTextsReadAsTheMinimum)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetMinValue(5);
    spin->SetMinFloatValue(2.5);
    spin->SetText("abc");
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_EQ(spin->FloatValue(), 2.5);
    EXPECT_EQ(spin->TimeValue(), 0.0);
    spin->SetText("  ");
    EXPECT_EQ(spin->Value(), 0);
}

struct TStepCase {
    const char* Name;
    TLocale Locale;
    TEsgSpinType Type;
    const char* Text;
    int Caret;
    WORD Key;
    const char* Expected;
};

// Each step comes from a real key on the edit.
TEST(EsgSpinEdit, KeysStepThePartUnderTheCaret)
{
    const TLocale dayFirst { u'.', u',', u'/', u':', QStringLiteral("dd/MM/yyyy") };
    const TLocale monthFirst { u'.', u',', u'/', u':', QStringLiteral("MM/dd/yyyy") };
    const TStepCase cases[] = {
        { "integer up", kEnglish, sptNormal, "7", 0, VK_UP, "8" },
        { "integer down", kEnglish, sptNormal, "7", 0, VK_DOWN, "6" },
        { "integer at the limit", kEnglish, sptNormal, "100", 0, VK_UP, "100" },
        { "float up", kEnglish, sptFloat, "1.5", 0, VK_UP, "1.6" },
        { "float page up", kEnglish, sptFloat, "1.5", 0, VK_PRIOR, "4" },
        { "float page down", kEnglish, sptFloat, "4", 0, VK_NEXT, "1.5" },
        { "day first, first part", dayFirst, sptDate, "15/03/2024", 0, VK_UP, "16/03/2024" },
        { "day first, second part", dayFirst, sptDate, "15/03/2024", 3, VK_UP, "15/04/2024" },
        { "day first, year", dayFirst, sptDate, "15/03/2024", 7, VK_DOWN, "15/03/2023" },
        { "month first, first part", monthFirst, sptDate, "03/15/2024", 0, VK_UP, "04/15/2024" },
        { "month first, second part", monthFirst, sptDate, "03/15/2024", 3, VK_UP, "03/16/2024" },
        { "end of January plus a month", dayFirst, sptDate, "31/01/2023", 3, VK_UP, "28/02/2023" },
        { "end of January plus a month, leap year", dayFirst, sptDate, "31/01/2024", 3, VK_UP, "29/02/2024" },
        { "29 February plus a year", dayFirst, sptDate, "29/02/2024", 7, VK_UP, "28/02/2025" },
        { "29 February minus a year", dayFirst, sptDate, "29/02/2024", 7, VK_DOWN, "28/02/2023" },
        { "hour down past midnight", kEnglish, sptTime, "00:30", 0, VK_DOWN, "23:30" },
        { "hour up past midnight", kEnglish, sptTime, "23:30", 0, VK_UP, "0:30" },
        { "minutes", kEnglish, sptTime, "10:00", 3, VK_DOWN, "9:59" },
    };
    for (const TStepCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLocaleScope locale(c.Locale);
        TEditForm f;
        auto* spin = f.Add<TEsgSpinEdit>();
        spin->SetIncrementFloatPage(2.5);
        spin->SetShowSeconds(false);
        spin->SetSpinType(c.Type);
        spin->SetText(QString::fromUtf8(c.Text));
        spin->SetFocus();
        spin->SetSelStart(c.Caret);
        input::Key(spin, c.Key);
        EXPECT_EQ(spin->Text(), QString::fromUtf8(c.Expected));
    }
}

TEST(EsgSpinEdit, TimeStepsStayInsideADay)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetShowSeconds(false);
    spin->SetSpinType(sptTime);
    spin->SetIncrementHours(30);
    spin->SetIncrementMinutes(75);
    spin->SetIncrementSeconds(-4);
    EXPECT_EQ(spin->IncrementHours(), 23);
    EXPECT_EQ(spin->IncrementMinutes(), 59);
    EXPECT_EQ(spin->IncrementSeconds(), 0);
    spin->SetText("1:00");
    spin->SetFocus();
    spin->SetSelStart(0);
    input::Key(spin, VK_UP);
    EXPECT_EQ(spin->Text(), "0:00");
}

TEST(EsgSpinEdit, ReadOnlyStepsOnlyBeep)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetText("5");
    spin->SetReadOnly(true);
    TBeepCounter beeps;
    input::Key(spin, VK_UP);
    input::Click(spin->Button()->DownButton(), TPoint(5, 3));
    EXPECT_EQ(spin->Text(), "5");
    EXPECT_EQ(beeps.Count, 2);
}

TEST(EsgSpinEdit, EnterActsAsTabWhenAsked)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    auto* next = f.Add<TEdit>(10, 60);
    spin->SetReturnIsTab(true);
    spin->SetFocus();
    TBeepCounter beeps;
    input::Key(spin, VK_RETURN, {}, 13);
    ASSERT_TRUE(testutil::PumpUntil([&] { return next->Focused(); }, 2000));
    EXPECT_EQ(beeps.Count, 0);
}

TEST(EsgSpinEdit, PasteAndDeleteNeedTheEditor)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetSpinType(sptFloat);
    spin->SetText("12");
    spin->SetEditorEnabled(false);
    spin->SetFocus();
    spin->SelectAll();
    input::Key(spin, VK_DELETE);
    spin->Perform(WM_PASTE, 0, 0);
    spin->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(spin->Text(), "12");
    // Steps still work: the buttons and arrows set the value.
    input::Key(spin, VK_UP);
    EXPECT_EQ(spin->Text(), "12.1");
}

TEST(EsgSpinEdit, ButtonsStepAndRepeatWhileHeld)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetText("10");
    TExTimerSpeedButton* up = spin->Button()->UpButton();
    TExTimerSpeedButton* down = spin->Button()->DownButton();
    const TPoint mid(up->Width() / 2, up->Height() / 2);

    input::Click(down, mid);
    EXPECT_EQ(spin->Text(), "9");
    EXPECT_TRUE(spin->Focused()); // a press on the pair focuses the edit

    input::MouseDown(up, mbLeft, mid);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_TRUE(up->RepeatTimer()->Enabled());
    EXPECT_EQ(up->RepeatTimer()->Interval(), 400u);
    EXPECT_EQ(spin->Text(), "9");
    up->RepeatTimer()->Fire();
    EXPECT_EQ(up->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(spin->Text(), "10");
    up->RepeatTimer()->Fire();
    EXPECT_EQ(spin->Text(), "11");
    // The release clicks once more, inside the button, and stops the timer.
    input::MouseUp(up, mbLeft, mid);
    EXPECT_EQ(spin->Text(), "12");
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    up->RepeatTimer()->Fire();
    EXPECT_EQ(spin->Text(), "12");

    // A repeated click that fails stops the repeating; the error is shown.
    QStringList shown;
    Application->OnException = [&](TObject*, const Exception& e) { shown << e.Message(); };
    spin->Button()->OnUpClick = [](TObject*) { throw Exception("step failed"); };
    input::MouseDown(up, mbLeft, mid);
    up->RepeatTimer()->Fire();
    Application->OnException = nullptr;
    EXPECT_EQ(shown, QStringList({ "step failed" }));
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    input::MouseUp(up, mbLeft, TPoint(-20, -20));
}

TEST(EsgSpinEdit, FocusedPairStepsByKeys)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>();
    spin->SetText("10");
    TEsgSpinButton* pair = spin->Button();
    pair->SetTabStop(true);
    pair->SetFocus();
    ASSERT_TRUE(pair->Focused());
    input::Key(pair, VK_DOWN);
    EXPECT_EQ(spin->Text(), "9");
    EXPECT_EQ(pair->FocusedButton(), pair->DownButton());
    EXPECT_TRUE(pair->DownButton()->TimeBtnState().testFlag(tbFocusRect));
    input::Key(pair, VK_SPACE, {}, u' ');
    EXPECT_EQ(spin->Text(), "8");
    input::Key(pair, VK_UP);
    EXPECT_EQ(spin->Text(), "9");
    EXPECT_FALSE(pair->DownButton()->TimeBtnState().testFlag(tbFocusRect));
}

TEST(EsgSpinEdit, PairLaysOutItsButtonsByDirection)
{
    TEditForm f;
    auto* spin = f.Add<TEsgSpinEdit>(10, 10, 100);
    spin->SetBorderStyle(bsNone);
    spin->SetHeight(20);
    TEsgSpinButton* pair = spin->Button();
    // One pixel short of the edit's right and bottom edges.
    EXPECT_EQ(pair->BoundsRect(), Rect(100 - 15 - 1, 0, 99, 19));
    EXPECT_EQ(pair->UpButton()->BoundsRect(), Rect(0, 0, 15, 9));
    EXPECT_EQ(pair->DownButton()->BoundsRect(), Rect(0, 8, 15, 19));
    EXPECT_EQ(spin->TextRect(), Rect(3, 3, 100 - 15 - 3 - 2, 21));

    spin->SetDirection(spHorizontal);
    EXPECT_EQ(pair->Width(), 20);
    EXPECT_EQ(pair->Left(), 100 - 20 - 1);
    EXPECT_EQ(pair->DownButton()->BoundsRect(), Rect(0, 0, 10, 19));
    EXPECT_EQ(pair->UpButton()->BoundsRect(), Rect(11, 0, 21, 19));
    EXPECT_EQ(pair->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(pair->DownButton()->ButtonDirection(), bdLeft);

    // Too low an edit grows to the height that shows its text.
    spin->SetHeight(4);
    EXPECT_EQ(spin->Height(), spin->MinHeight());
    EXPECT_GT(spin->MinHeight(), 4);
}

} // namespace
