// The grid's combo, spin and check-box cell editors driven by real keys on
// the offscreen platform: which keys end an edit, what reaches the cell (and
// what never does), validation on the keys that leave, look-up completion,
// the drop width, walking out of the cell, and a picture of the editors over
// their cells.

#include "controls/grid/ExGridCellEditors.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Messages.h"
#include "platform/runtime/SysUtils.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FCellCache;
    using TExStringGrid::TExStringGrid;
};

std::string S(const QString& s)
{
    return s.toStdString();
}

// 5 columns and 5 rows of 50 by 20 pixels, one fixed row and column; each
// normal column's editor kind comes from Kinds (edNormal otherwise).
struct TEditorGrid : TGridOnForm<TProbeGrid> {
    std::map<int, TEditorType> Kinds;
    QStringList Items { "Alpha", "Beta", "Gamma", "Delta" };
    std::vector<std::string> Log;

    TEditorGrid()
        : TGridOnForm<TProbeGrid>(5, 5, 400, 200)
    {
        Grid->SetOptions(Grid->Options() | goEditing);
        Grid->OnGetEditorType = [this](TObject*, int c, int, TEditorType& k) {
            if (auto it = Kinds.find(c); it != Kinds.end())
                k = it->second;
            if (k == TEditorType::edComboList || k == TEditorType::edComboEdit) {
                Grid->ClearComboString();
                for (const QString& s : Items)
                    Grid->AddComboString(s);
            }
        };
        Grid->OnComboChange = [this](TObject*, int c, int r, int i, const QString& s) {
            Log.push_back(
                "combo " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i) + " " + S(s));
        };
    }
    TGridCombo* Combo() const { return Grid->Combobox(); }
    QString Cell(int c, int r) const { return Grid->Cells(c, r); }
    void At(int c, int r)
    {
        Grid->SetCol(c);
        Grid->SetRow(r);
    }
    // Opens the current cell's editor with F2, as a user does.
    void Open()
    {
        input::Key(Grid, VK_F2);
        ASSERT_TRUE(Grid->EditMode());
    }
    void Open(int c, int r)
    {
        At(c, r);
        Open();
    }
    std::pair<int, int> Cursor() const { return { Grid->Col(), Grid->Row() }; }
};

} // namespace

// ---------------------------------------------------------------------------
// The combo editor

TEST(GridComboEditor, ListDownStepsThroughItemsAndEnterStoresAndAdvances)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboList;
    f.Grid->Navigation()->AdvanceOnEnter = true;
    f.Grid->Navigation()->SetAdvanceDirection(TAdvanceDirection::adTopBottom);
    f.Grid->SetCells(1, 1, "Alpha");
    f.Open(1, 1);
    TGridCombo* cb = f.Combo();
    ASSERT_TRUE(cb->Visible());
    EXPECT_EQ(cb->Style(), csDropDownList);
    EXPECT_EQ(cb->ItemIndex(), 0);
    input::Key(cb, VK_DOWN);
    input::Key(cb, VK_DOWN);
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_TRUE(f.Grid->EditMode()) << "Down stays in the editor";
    input::Key(cb, VK_RETURN);
    EXPECT_EQ(S(f.Cell(1, 1)), "Gamma");
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 2));
    EXPECT_FALSE(f.Grid->EditMode() && f.Grid->EditingControl() == nullptr);
}

TEST(GridComboEditor, AListCellWhoseTextIsNoItemKeepsItUnlessTheUserPicks)
{
    struct TCase {
        const char* Name;
        int ComboIdx;
        std::function<void(TEditorGrid&)> Leave;
    };
    const auto key = [](WORD vk) { return [vk](TEditorGrid& f) { input::Key(f.Combo(), vk); }; };
    const auto clickElsewhere = [](TEditorGrid& f) {
        const TRect r = f.Grid->CellRect(3, 3);
        input::Click(f.Grid, TPoint(r.Left + 5, r.Top + 5));
    };
    const std::vector<TCase> cases = {
        { "Enter", -1, key(VK_RETURN) },
        { "Tab", -1, key(VK_TAB) },
        { "Esc", -1, key(VK_ESCAPE) },
        { "a click elsewhere", -1, clickElsewhere },
        { "Enter, preselected item 2", 2, key(VK_RETURN) },
        { "Tab, preselected item 2", 2, key(VK_TAB) },
        { "Esc, preselected item 2", 2, key(VK_ESCAPE) },
        { "a click elsewhere, preselected item 2", 2, clickElsewhere },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditorGrid f;
        f.Kinds[1] = TEditorType::edComboList;
        f.Grid->SetOptions(f.Grid->Options() | goTabs);
        f.Grid->SetComboSelection(t.ComboIdx);
        f.Grid->SetCells(1, 1, "XYZ");
        f.Open(1, 1);
        EXPECT_EQ(f.Combo()->ItemIndex(), t.ComboIdx);
        t.Leave(f);
        EXPECT_FALSE(f.Combo()->Visible());
        EXPECT_EQ(S(f.Cell(1, 1)), "XYZ");
        EXPECT_EQ(f.Log, std::vector<std::string>());
    }
}

TEST(GridComboEditor, EscLeavesTheCellAsItWasAfterAPick)
{
    for (TEditorType kind : { TEditorType::edComboList, TEditorType::edComboEdit }) {
        TEditorGrid f;
        f.Kinds[1] = kind;
        f.Grid->SetCells(1, 1, "Beta");
        f.Open(1, 1);
        if (kind == TEditorType::edComboList)
            input::Key(f.Combo(), VK_DOWN);
        else
            input::Type(f.Combo(), "zz");
        input::Key(f.Combo(), VK_ESCAPE);
        EXPECT_FALSE(f.Grid->EditMode());
        EXPECT_EQ(S(f.Cell(1, 1)), "Beta");
    }
}

TEST(GridComboEditor, EditableDownStoresAndMovesEndMovesTheCaret)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboEdit;
    f.Grid->SetCells(1, 1, "free text");
    f.Open(1, 1);
    TGridCombo* cb = f.Combo();
    EXPECT_EQ(cb->Style(), csDropDown);
    EXPECT_EQ(S(cb->Text()), "free text");
    cb->SetSelStart(0);
    cb->SetSelLength(0);
    input::Key(cb, VK_END);
    EXPECT_TRUE(cb->Visible());
    EXPECT_EQ(cb->SelStart(), 9);
    input::Type(cb, "!");
    input::Key(cb, VK_DOWN);
    EXPECT_EQ(S(f.Cell(1, 1)), "free text!");
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 2));
}

TEST(GridComboEditor, ARefusedEnterStaysOnTheCell)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboEdit;
    f.Grid->Navigation()->AdvanceOnEnter = true;
    f.Grid->OnCellValidate = [](TObject*, int, int, QString& v, bool& ok) { ok = v != "bad"; };
    f.Grid->SetCells(1, 1, "good");
    f.At(2, 2);
    f.Open(1, 1);
    f.Combo()->SetText("bad");
    input::Key(f.Combo(), VK_RETURN);
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 1));
    EXPECT_TRUE(f.Grid->EditMode());
    EXPECT_TRUE(f.Combo()->Visible());
    EXPECT_EQ(S(f.Cell(1, 1)), "good");
    EXPECT_EQ(S(f.Combo()->Text()), "bad") << "the text validation left";
}

TEST(GridComboEditor, LookupCompletesKeepingTheTypedCaseAndBackspaceDisarmsIt)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboEdit;
    f.Grid->SetLookup(true);
    f.Open(1, 1);
    TGridCombo* cb = f.Combo();
    input::Type(cb, "ga");
    EXPECT_EQ(S(cb->Text()), "gamma");
    EXPECT_EQ(cb->SelStart(), 2);
    EXPECT_EQ(cb->SelLength(), 3);
    EXPECT_EQ(cb->ItemIdx, 2);
    EXPECT_TRUE(cb->ItemChange);
    input::Key(cb, VK_BACK);
    EXPECT_EQ(S(cb->Text()), "ga");
    EXPECT_FALSE(cb->WorkMode);
}

TEST(GridComboEditor, ATypedChangeIsReportedTwice)
{
    TEditorGrid f;
    f.Kinds[2] = TEditorType::edComboEdit;
    f.Open(2, 1);
    input::Type(f.Combo(), "x");
    EXPECT_EQ(f.Log, (std::vector<std::string> { "combo 2,1 -1 x", "combo 2,1 -1 x" }));
}

TEST(GridComboEditor, TheWheelStepsTheItemsAndCountsAsAPick)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboList;
    f.Grid->SetCells(1, 1, "XYZ");
    f.Open(1, 1);
    // Over the grid, as the focused editor takes the wheel.
    input::Wheel(f.Grid, TPoint(200, 80), -1);
    EXPECT_EQ(f.Combo()->ItemIndex(), 0);
    input::Wheel(f.Combo(), TPoint(5, 5), -1);
    input::Wheel(f.Combo(), TPoint(5, 5), 1);
    EXPECT_EQ(f.Combo()->ItemIndex(), 0);
    input::Key(f.Combo(), VK_RETURN);
    EXPECT_EQ(S(f.Cell(1, 1)), "Alpha");
    EXPECT_EQ(f.Log.size(), 3u);
}

TEST(GridComboEditor, DropWidthFitsTheWidestItem)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboList;
    f.Items.clear();
    for (int i = 0; i < 20; ++i)
        f.Items << QString("item %1 %2").arg(i).arg(QString(i, u'w'));
    f.Grid->Navigation()->AutoComboDropSize = true;
    f.Open(1, 1);
    TCanvas* c = f.Grid->Canvas();
    c->Font()->Assign(f.Grid->Font());
    int widest = 0;
    for (const QString& s : f.Items)
        widest = std::max(widest, c->TextWidth(s));
    EXPECT_EQ(f.Combo()->DropDownCount(), 8);
    EXPECT_GE(f.Combo()->DroppedWidth(), widest + 25);
}

TEST(GridComboEditor, LeftAtTheStartWalksBackAndReopens)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edComboEdit;
    f.Kinds[2] = TEditorType::edComboEdit;
    f.Grid->Navigation()->CursorWalkEditor = true;
    f.Grid->SetCells(1, 1, "left");
    f.Grid->SetCells(2, 1, "right");
    f.Open(2, 1);
    f.Combo()->SetSelStart(0);
    f.Combo()->SetSelLength(0);
    input::Key(f.Combo(), VK_LEFT);
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 1));
    EXPECT_TRUE(f.Grid->EditMode());
    EXPECT_TRUE(f.Combo()->Visible());
    EXPECT_EQ(S(f.Combo()->Text()), "left");
    EXPECT_EQ(S(f.Cell(2, 1)), "right");
}

// ---------------------------------------------------------------------------
// The spin editor

TEST(GridSpinEditor, StepKeysStayInsideTheLimitsAndEnterStores)
{
    struct TCase {
        const char* Name;
        WORD Key;
        const char* Stored;
        int Clicks;
    };
    // Value 9, maximum 10, step 3: the grid's own steps, never the spin
    // edit's page step on top.
    const std::vector<TCase> cases = {
        { "Page Up past the maximum stays", VK_PRIOR, "9", 1 },
        { "Page Down steps", VK_NEXT, "6", 1 },
        { "Home: the maximum", VK_HOME, "10", 1 },
        { "End: the minimum", VK_END, "2", 1 },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditorGrid f;
        f.Kinds[1] = TEditorType::edSpinEdit;
        TGridSpin* sp = f.Grid->SpinEdit();
        EXPECT_EQ(sp, f.Grid->SpinEdit()) << "one spin editor";
        sp->SetMinValue(2);
        sp->SetMaxValue(10);
        sp->SetIncrement(3);
        int clicks = 0;
        f.Grid->OnSpinClick = [&](TObject*, int, int, int, bool) { ++clicks; };
        f.Grid->SetCells(1, 1, "9");
        f.Open(1, 1);
        ASSERT_TRUE(sp->Visible());
        input::Key(sp, t.Key);
        EXPECT_TRUE(sp->Visible());
        input::Key(sp, VK_RETURN);
        EXPECT_FALSE(sp->Visible());
        EXPECT_EQ(S(f.Cell(1, 1)), t.Stored);
        EXPECT_EQ(clicks, t.Clicks);
    }
}

TEST(GridSpinEditor, StoresClampedEmptyAndPassedThroughValues)
{
    struct TCase {
        const char* Name;
        TEditorType Kind;
        const char* Cell;
        std::function<void(TGridSpin*)> Act;
        std::function<bool(const QString&)> Expect;
    };
    const auto none = [](TGridSpin*) {};
    const std::vector<TCase> cases = {
        { "an empty date cell passed through stays empty", TEditorType::edDateSpinEdit, "", none,
            [](const QString& s) { return s.isEmpty(); } },
        { "a date cell holding no date passed through keeps its text", TEditorType::edDateSpinEdit, "soon", none,
            [](const QString& s) { return s == "soon"; } },
        { "a changed empty date cell stores the date", TEditorType::edDateSpinEdit, "",
            [](TGridSpin* sp) { input::Key(sp, VK_PRIOR); },
            [](const QString& s) {
                TDateTime d = 0;
                return TryStrToDate(s, d) && s != DateToStr(Now());
            } },
        { "an out-of-range typed value is clamped", TEditorType::edSpinEdit, "5",
            [](TGridSpin* sp) {
                sp->SelectAll();
                input::Type(sp, "500");
            },
            [](const QString& s) { return s == "100"; } },
        { "letters are refused", TEditorType::edSpinEdit, "5",
            [](TGridSpin* sp) {
                sp->SelectAll();
                input::Type(sp, "4x");
            },
            [](const QString& s) { return s == "4"; } },
        { "an emptied value with AllowEmptyValue stores nothing but empty", TEditorType::edSpinEdit, "5",
            [](TGridSpin* sp) {
                sp->SetAllowEmptyValue(true);
                sp->SelectAll();
                input::Key(sp, VK_DELETE);
            },
            [](const QString& s) { return s.isEmpty(); } },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditorGrid f;
        f.Kinds[1] = t.Kind;
        f.Grid->SetCells(1, 1, t.Cell);
        f.Open(1, 1);
        TGridSpin* sp = f.Grid->SpinEdit();
        t.Act(sp);
        input::Key(sp, VK_RETURN);
        EXPECT_FALSE(sp->Visible());
        EXPECT_TRUE(t.Expect(f.Cell(1, 1))) << S(f.Cell(1, 1));
    }
}

TEST(GridSpinEditor, UpAndDownValidateAndMoveEscRestores)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edSpinEdit;
    f.Grid->SetCells(1, 1, "7");
    f.Grid->SetCells(1, 2, "3");
    f.Open(1, 1);
    TGridSpin* sp = f.Grid->SpinEdit();
    sp->SelectAll();
    input::Type(sp, "8");
    input::Key(sp, VK_DOWN);
    EXPECT_EQ(S(f.Cell(1, 1)), "8");
    EXPECT_EQ(f.Cursor(), std::make_pair(1, 2));
    f.Open();
    sp->SelectAll();
    input::Type(sp, "9");
    input::Key(sp, VK_ESCAPE);
    EXPECT_FALSE(sp->Visible());
    EXPECT_EQ(S(f.Cell(1, 2)), "3");
}

// ---------------------------------------------------------------------------
// The check-box editor

TEST(GridCheckBoxEditor, KeysToggleOrEndTheEditLeavingTheCellText)
{
    struct TCase {
        const char* Name;
        WORD Key;
        std::pair<int, int> Cursor;
    };
    const std::vector<TCase> cases = {
        { "Enter", VK_RETURN, { 1, 1 } },
        { "Esc", VK_ESCAPE, { 1, 1 } },
        { "Down moves a row", VK_DOWN, { 1, 2 } },
        { "Right", VK_RIGHT, { 1, 1 } },
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEditorGrid f;
        f.Kinds[1] = TEditorType::edCheckBox;
        f.Grid->SetCells(1, 1, "Yes");
        f.Open(1, 1);
        TGridCheckBox* ck = f.Grid->CheckBoxEditor();
        ASSERT_TRUE(ck->Visible());
        EXPECT_EQ(S(ck->Text()), "Yes");
        EXPECT_FALSE(ck->Checked());
        input::Key(ck, VK_SPACE, {}, u' ');
        EXPECT_TRUE(ck->Checked()) << "Space toggles once";
        input::Key(ck, t.Key);
        EXPECT_FALSE(ck->Visible());
        EXPECT_FALSE(f.Grid->EditMode());
        EXPECT_EQ(S(f.Cell(1, 1)), "Yes");
        EXPECT_EQ(f.Cursor(), t.Cursor);
    }
}

TEST(GridCheckBoxEditor, AClickTogglesOnce)
{
    TEditorGrid f;
    f.Kinds[1] = TEditorType::edCheckBox;
    f.Open(1, 1);
    TGridCheckBox* ck = f.Grid->CheckBoxEditor();
    input::Click(ck, TPoint(6, 8));
    EXPECT_TRUE(ck->Checked());
    input::Click(ck, TPoint(6, 8));
    EXPECT_FALSE(ck->Checked());
}

// ---------------------------------------------------------------------------
// A picture of the editors over their cells

TEST(GridCellEditorsPicture, ComboClosedAndDroppedCheckBoxAndSpin)
{
    TEditorGrid f;
    f.Form->Font()->SetName("Verdana");
    f.Form->Font()->SetSize(8);
    f.Grid->Font()->SetName("Verdana");
    f.Grid->Font()->SetSize(8);
    f.Grid->SetDefaultColWidth(70);
    f.Kinds[1] = TEditorType::edComboList;
    f.Kinds[2] = TEditorType::edCheckBox;
    f.Kinds[3] = TEditorType::edSpinEdit;
    for (int r = 1; r < 5; ++r) {
        f.Grid->SetCells(1, r, "Beta");
        f.Grid->SetCells(2, r, "Enabled");
        f.Grid->SetCells(3, r, QString::number(r * 10));
    }
    const TRect area(0, 0, 380, 110);
    const auto shot = [&] {
        return f.Form->PaintToImage().copy(0, 0, area.Right, area.Bottom).convertToFormat(QImage::Format_RGB32);
    };
    std::vector<QImage> parts;
    f.Open(1, 1);
    parts.push_back(shot());
    f.Combo()->SetDroppedDown(true);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QImage dropped = shot();
    {
        QPainter p(&dropped);
        const TRect cell = f.Grid->CellRect(1, 1);
        p.drawImage(cell.Left, cell.Bottom + 1, popup->grab().toImage());
    }
    parts.push_back(dropped);
    f.Combo()->SetDroppedDown(false);
    input::Key(f.Combo(), VK_ESCAPE);
    f.Open(2, 2);
    input::Key(f.Grid->CheckBoxEditor(), VK_SPACE, {}, u' ');
    parts.push_back(shot());
    input::Key(f.Grid->CheckBoxEditor(), VK_ESCAPE);
    f.Open(3, 3);
    parts.push_back(shot());
    QImage all(area.Right, area.Bottom * int(parts.size()), QImage::Format_RGB32);
    {
        QPainter p(&all);
        for (size_t i = 0; i < parts.size(); ++i)
            p.drawImage(0, int(i) * area.Bottom, parts[i]);
    }
    testutil::SaveImagePng(all, "grid_cell_editors");
    EXPECT_TRUE(testutil::MatchesGolden(all, "grid_cell_editors", 2, 40));
}
