#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QStringList>

#include "controls/grid/ESGEdit.h"
#include "platform/controls/Menus.h"
#include "tests/controls/grid/EsgEditTestSupport.h"

namespace {

struct TClickLog {
    QList<TObject*> Senders;
    void Attach(TEsgEditBtn* e)
    {
        e->OnClickBtn = [this](TObject* Sender) { Senders << Sender; };
    }
};

TEST(EsgEditBtn, F4AndTheButtonFireTheClickEvenWithTheEditorOff)
{
    TEditForm f;
    auto* edit = f.Add<TEsgEditBtn>();
    edit->SetText("abc");
    edit->SetEditorEnabled(false);
    TClickLog log;
    log.Attach(edit);
    edit->SetFocus();

    input::Key(edit, VK_F4);
    input::Key(edit, VK_F4, ssCtrl);
    input::Key(edit, VK_F4, ssAlt);
    ASSERT_EQ(log.Senders.size(), 1);
    EXPECT_EQ(log.Senders[0], edit);

    // Pressed on the button and released anywhere: the container reports.
    TExSpeedButton* button = edit->Button()->Button();
    input::MouseDown(button, mbLeft, TPoint(4, 4));
    input::MouseUp(button, mbLeft, TPoint(-40, 30));
    ASSERT_EQ(log.Senders.size(), 2);
    EXPECT_EQ(log.Senders[1], edit->Button());
    // A release without a press on the button is nothing.
    input::MouseUp(button, mbLeft, TPoint(4, 4));
    EXPECT_EQ(log.Senders.size(), 2);

    // Typing, pasting and cutting change nothing.
    QApplication::clipboard()->setText("pasted");
    edit->SelectAll();
    input::Type(edit, "xy");
    input::Key(edit, 'V', ssCtrl);
    input::Key(edit, VK_INSERT, ssShift);
    input::Key(edit, 'X', ssCtrl);
    edit->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "abc");

    // With the editor on, the same keys edit.
    edit->SetEditorEnabled(true);
    edit->SelectAll();
    input::Key(edit, 'V', ssCtrl);
    EXPECT_EQ(edit->Text(), "pasted");
    input::Type(edit, "!");
    EXPECT_EQ(edit->Text(), "pasted!");
}

TEST(EsgEditBtn, ButtonPressFocusesTheEdit)
{
    TEditForm f;
    auto* other = f.Add<TEdit>(10, 60);
    auto* edit = f.Add<TEsgEditBtn>();
    other->SetFocus();
    input::Click(edit->Button()->Button(), TPoint(4, 4));
    EXPECT_TRUE(edit->Focused());
}

struct TSplitCase {
    const char* Name;
    QStringList Units;
    const char* Value;
    const char* Text;
    const char* Unit;
};

TEST(EsgUnitEditBtn, TextAndUnitSplitsOnTheFirstUnitThatEndsTheValue)
{
    const TSplitCase cases[] = {
        // m is tried first and ends "12cm"; it occurs nowhere earlier.
        { "list order wins", { "m", "cm" }, "12cm", "12c", "m" },
        { "longer unit first", { "cm", "m" }, "12cm", "12", "cm" },
        { "unit also inside the value", { "m" }, "1m2m", "old", "V" },
        { "no unit", { "m", "cm" }, "12", "old", "V" },
        { "whole value is the unit", { "mA" }, "mA", "", "mA" },
        // A value shorter than a unit does not end with it.
        { "value one shorter than the unit", { "mA", "V" }, "5", "old", "V" },
        { "empty value", { "mA", "V" }, "", "old", "V" },
    };
    for (const TSplitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TEditForm f;
        auto* edit = f.Add<TEsgUnitEditBtn>();
        TStringList units;
        for (const QString& u : c.Units)
            units.Add(u);
        edit->SetUnits(&units);
        edit->SetText("old");
        edit->SetUnitID("V");
        edit->SetTextAndUnit(c.Value);
        EXPECT_EQ(edit->Text(), c.Text);
        EXPECT_EQ(edit->UnitID(), c.Unit);
        EXPECT_EQ(edit->TextAndUnit(), QString(c.Text) + c.Unit);
    }
}

TEST(EsgUnitEditBtn, ButtonOffersTheUnitsAndReportsAChange)
{
    TEditForm f;
    auto* edit = f.Add<TEsgUnitEditBtn>();
    EXPECT_TRUE(edit->RightAlign());
    EXPECT_EQ(edit->UnitSpace(), 20);
    TStringList units;
    units.Add("m");
    units.Add("cm");
    units.Add("mm");
    edit->SetUnits(&units);
    edit->SetUnits(nullptr); // ignored
    edit->SetUnitID("m");

    QStringList log;
    edit->OnClickBtn = [&](TObject* Sender) { log << (Sender == edit ? "click" : "click?"); };
    edit->OnUnitChanged = [&](TObject*, const QString& unit) { log << "unit:" + unit; };
    QString choose;
    QStringList offered;
    TPopupTracker old = TPopupMenu::SetTracker([&](TPopupMenu* menu, int, int) -> TMenuItem* {
        offered.clear();
        for (int i = 0; i < menu->Items()->Count(); ++i)
            offered << menu->Items()->Items(i)->Caption();
        log << "menu";
        return choose.isEmpty() ? nullptr : menu->Items()->Find(choose);
    });

    choose = "cm";
    input::Click(edit->Button()->Button(), TPoint(4, 4));
    EXPECT_EQ(offered, QStringList({ "m", "cm", "mm" }));
    EXPECT_EQ(edit->UnitID(), "cm");
    // Choosing the current unit again changes nothing; dismissing neither.
    input::Click(edit->Button()->Button(), TPoint(4, 4));
    choose.clear();
    input::Key(edit, VK_F4);
    TPopupMenu::SetTracker(old);
    EXPECT_EQ(log, QStringList({ "click", "menu", "unit:cm", "click", "menu", "click", "menu" }));
    EXPECT_EQ(edit->UnitID(), "cm");
}

TEST(EsgEditBtn, LayoutKeepsTheTextClearOfTheButtonAndTheUnit)
{
    TEditForm f;
    auto* edit = f.Add<TEsgEditBtn>(10, 10, 120);
    edit->SetBorderStyle(bsNone);
    edit->SetHeight(20);
    edit->SetButtonWidth(18);
    EXPECT_EQ(edit->Button()->BoundsRect(), Rect(120 - 18 - 1, 0, 119, 19));
    EXPECT_EQ(edit->TextRect(), Rect(3, 3, 120 - (18 + 5), 21));

    auto* unit = f.Add<TEsgUnitEditBtn>(10, 60, 120);
    unit->SetBorderStyle(bsNone);
    unit->SetHeight(20);
    unit->SetButtonWidth(18);
    EXPECT_EQ(unit->TextRect().Right, 120 - (18 + 20 + 5) - 3);
    unit->SetUnitSpace(30);
    EXPECT_EQ(unit->TextRect().Right, 120 - (18 + 30 + 5) - 3);

    edit->SetHeight(3);
    EXPECT_EQ(edit->Height(), edit->MinHeight());
}

} // namespace
