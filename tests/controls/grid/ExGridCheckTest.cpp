#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExGridUndoRedo.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/Graphics.h"
#include "tests/common/GridOnForm.h"

namespace {

// Three columns, one fixed row; column 2 names the rows "r0".."r<n-1>".
std::unique_ptr<TExStringGrid> MakeGrid(int rows)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(rows);
    g->SetFixedRows(1);
    for (int r = 0; r < rows; ++r)
        g->SetCells(2, r, QStringLiteral("r%1").arg(r));
    return g;
}

QString Names(TExStringGrid& g)
{
    QStringList names;
    for (int r = 1; r < g.RowCount(); ++r)
        names << g.Cells(2, r);
    return names.join(u' ');
}

// The Boolean and the three-state reading of one cell, -1 for "no box".
struct TReading {
    int Bool;
    int Tri;
};

TReading Read(TExStringGrid& g, int c, int r)
{
    bool b = false;
    TCheckBoxState t = cbUnchecked;
    return { g.GetCheckBoxState(c, r, b) ? int(b) : -1, g.GetCheckBoxState(c, r, t) ? int(t) : -1 };
}

} // namespace

TEST(ExGridCheck, AddingAndReadingEachKind)
{
    enum Kind { Plain, Data, Tri, Radio };
    struct Case {
        const char* name;
        Kind kind;
        bool state;
        TCheckBoxState tri;
        QString text;
        QString textAfter;
        int boolRead, triRead;
        bool hasCheck, hasData;
    };
    const Case cases[] = {
        { "plain checked", Plain, true, cbUnchecked, "x", "x", 1, cbChecked, true, false },
        { "plain unchecked", Plain, false, cbUnchecked, "", "", 0, cbUnchecked, true, false },
        { "data on empty", Data, true, cbUnchecked, "", "Y", 1, cbChecked, true, true },
        { "data other text", Data, false, cbUnchecked, "maybe", "N", 0, cbUnchecked, true, true },
        { "data keeps N", Data, true, cbUnchecked, "N", "N", 0, cbUnchecked, true, true },
        { "data keeps Y", Data, false, cbUnchecked, "Y", "Y", 1, cbChecked, true, true },
        // The Boolean form does not read a three-state box while no rows are hidden.
        { "three-state grayed", Tri, false, cbGrayed, "Y", "Y", -1, cbGrayed, true, false },
        { "radio", Radio, true, cbUnchecked, "", "", -1, -1, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(4);
        g->SetCells(1, 1, c.text);
        switch (c.kind) {
        case Plain:
        case Data:
            g->AddCheckBox(1, 1, c.state, c.kind == Data);
            break;
        case Tri:
            g->AddCheckBox(1, 1, c.tri);
            break;
        case Radio:
            g->AddRadioButton(1, 1, c.state);
            break;
        }
        EXPECT_EQ(g->Cells(1, 1), c.textAfter);
        const TReading r = Read(*g, 1, 1);
        EXPECT_EQ(r.Bool, c.boolRead);
        EXPECT_EQ(r.Tri, c.triRead);
        EXPECT_EQ(g->IsChecked(1, 1), c.boolRead == 1);
        EXPECT_EQ(g->HasCheckBox(1, 1), c.hasCheck);
        EXPECT_EQ(g->HasDataCheckBox(1, 1), c.hasData);
        EXPECT_EQ(g->HasRadioButton(1, 1), c.kind == Radio);
        EXPECT_TRUE(g->HasCellControl(1, 1));
        const TCellGraphic* gr = g->GetCellGraphic(1, 1);
        ASSERT_NE(gr, nullptr);
        EXPECT_TRUE(gr->CellTransparent());
        EXPECT_EQ(gr->CellHAlign(), haBeforeText);
        EXPECT_FALSE(g->HasCellControl(2, 1));
        EXPECT_FALSE(g->HasCellControl(-1, 1));
    }
}

TEST(ExGridCheck, PlacementFollowsTheGridsVerticalAlignment)
{
    const std::pair<TVAlignment, TCellVAlign> cases[] = { { TVAlignment::vtaTop, vaTop },
        { TVAlignment::vtaCenter, vaCenter }, { TVAlignment::vtaBottom, vaBottom } };
    for (const auto& [grid, cell] : cases) {
        auto g = MakeGrid(3);
        g->SetVAlignment(grid);
        g->AddCheckBox(1, 1, true, false);
        g->AddRadioButton(1, 2, true);
        EXPECT_EQ(g->GetCellGraphic(1, 1)->CellVAlign(), cell);
        EXPECT_EQ(g->GetCellGraphic(1, 2)->CellVAlign(), cell);
    }
}

TEST(ExGridCheck, AddingOutsideTheGridRaisesInvalidCell)
{
    auto g = MakeGrid(4);
    g->HideColumn(1);
    g->HideRow(2);
    // Hidden columns count; cells live on displayed rows, so the last one
    // that takes a box is (2, 2).
    EXPECT_NO_THROW(g->AddCheckBox(2, 2, true, false));
    EXPECT_TRUE(g->HasCheckBox(2, 2));
    const std::pair<int, int> outside[] = { { 3, 1 }, { 1, 3 }, { -1, 1 }, { 1, -1 } };
    for (const auto& [c, r] : outside) {
        SCOPED_TRACE(testing::Message() << c << "," << r);
        for (int op = 0; op < 3; ++op) {
            try {
                if (op == 0)
                    g->AddCheckBox(c, r, true, true);
                else if (op == 1)
                    g->AddCheckBox(c, r, cbGrayed);
                else
                    g->AddRadioButton(c, r, true);
                ADD_FAILURE() << "no exception for op " << op;
            } catch (const EExGridError& e) {
                EXPECT_EQ(e.Message(), QStringLiteral("Invalid cell"));
            }
        }
    }
}

TEST(ExGridCheck, WritingStatesPerKind)
{
    auto g = MakeGrid(5);
    g->AddCheckBox(1, 1, false, false);
    g->AddCheckBox(1, 2, false, true);
    g->AddCheckBox(1, 3, cbUnchecked);
    EXPECT_TRUE(g->SetCheckBoxState(1, 1, true));
    EXPECT_TRUE(g->SetCheckBoxState(1, 2, true));
    EXPECT_EQ(g->Cells(1, 2), "Y");
    // A three-state box takes only the three-state form.
    EXPECT_FALSE(g->SetCheckBoxState(1, 3, true));
    EXPECT_EQ(Read(*g, 1, 3).Tri, cbUnchecked);
    EXPECT_TRUE(g->SetCheckBoxState(1, 3, cbGrayed));
    EXPECT_EQ(Read(*g, 1, 3).Tri, cbGrayed);
    EXPECT_FALSE(g->SetCheckBoxState(1, 1, cbChecked));
    EXPECT_FALSE(g->SetCheckBoxState(1, 4, true));
    bool untouched = true;
    EXPECT_FALSE(g->GetCheckBoxState(1, 4, untouched));
    EXPECT_TRUE(untouched);
    EXPECT_EQ(Read(*g, 1, 1).Bool, 1);

    // The per-cell texts decide for every operation but adding.
    g->OnGetCheckTrue = [](TObject*, int, int, QString& s) { s = QStringLiteral("on"); };
    g->OnGetCheckFalse = [](TObject*, int, int, QString& s) { s = QStringLiteral("off"); };
    EXPECT_EQ(Read(*g, 1, 2).Bool, 0);
    EXPECT_TRUE(g->SetCheckBoxState(1, 2, true));
    EXPECT_EQ(g->Cells(1, 2), "on");
    EXPECT_TRUE(g->ToggleCheckBox(1, 2));
    EXPECT_EQ(g->Cells(1, 2), "off");
}

TEST(ExGridCheck, HiddenRowsAreAddressedByRealRow)
{
    auto g = MakeGrid(5);
    g->AddCheckBoxColumn(1, false, true);
    g->AddCheckBox(0, 4, cbGrayed);
    g->HideRow(2);
    // Real row 2 is hidden; displayed row 2 is real row 3.
    EXPECT_TRUE(g->SetCheckBoxState(1, 2, true));
    EXPECT_EQ(g->AllCells(1, 2), "Y");
    EXPECT_EQ(g->Cells(1, 2), "N");
    EXPECT_EQ(Read(*g, 1, 2).Bool, 1);
    EXPECT_EQ(Read(*g, 1, 3).Bool, 0);
    // While rows are hidden a three-state box reads like a data box.
    g->SetAllCells(0, 4, QStringLiteral("Y"));
    EXPECT_EQ(Read(*g, 0, 4).Bool, 1);
    EXPECT_EQ(Read(*g, 0, 4).Tri, cbGrayed);
}

TEST(ExGridCheck, ColumnsOverNodesAndSummaries)
{
    auto g = MakeGrid(7);
    g->AddNode(1, 4);
    TCellGraphic* sum = g->CreateCellGraphic(0, 5);
    sum->SetCellType(ctSummary);
    g->AddCheckBoxColumn(1, true, false);
    EXPECT_EQ(g->GetCellType(1, 0), ctEmpty);
    EXPECT_EQ(g->GetCellType(1, 1), ctTriStateCheckBox);
    EXPECT_EQ(Read(*g, 1, 1).Tri, cbUnchecked);
    for (int r : { 2, 3, 4, 6 }) {
        EXPECT_EQ(g->GetCellType(1, r), ctCheckBox) << r;
        EXPECT_TRUE(g->IsChecked(1, r)) << r;
    }
    EXPECT_FALSE(g->HasCheckBox(1, 5));

    g->AddTriStateCheckBoxColumn(2, cbGrayed);
    for (int r = 1; r < 7; ++r)
        EXPECT_EQ(Read(*g, 2, r).Tri, cbGrayed) << r;

    g->RemoveCheckBoxColumn(1);
    for (int r = 0; r < 7; ++r)
        EXPECT_FALSE(g->HasCheckBox(1, r)) << r;

    // CheckAllCheck starts the column at row 0.
    g->MouseActions()->CheckAllCheck = true;
    g->AddCheckBoxColumn(1, false, false);
    EXPECT_TRUE(g->HasCheckBox(1, 0));
}

TEST(ExGridCheck, RemovingLeavesOtherKinds)
{
    auto g = MakeGrid(4);
    g->AddCheckBox(1, 1, true, false);
    g->AddBalloon(1, 1, QStringLiteral("t"), QStringLiteral("x"), TBalloonIcon(0));
    g->AddRadioButton(1, 2, true);
    g->RemoveCheckBox(1, 1);
    g->RemoveCheckBox(1, 2);
    EXPECT_FALSE(g->HasCheckBox(1, 1));
    EXPECT_TRUE(g->HasRadioButton(1, 2));
    g->AddCheckBox(1, 3, true, false);
    g->RemoveRadioButton(1, 3);
    g->RemoveRadioButton(1, 2);
    EXPECT_TRUE(g->HasCheckBox(1, 3));
    EXPECT_FALSE(g->HasRadioButton(1, 2));
}

TEST(ExGridCheck, ClicksToggleAndReportTheNewState)
{
    auto g = MakeGrid(4);
    std::vector<int> reported;
    g->OnCheckBoxChange = [&](TObject*, int, int, bool s) { reported.push_back(s); };
    g->AddCheckBox(1, 1, cbUnchecked);
    std::vector<int> states;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(g->ClickCheckBoxCell(1, 1, false));
        states.push_back(Read(*g, 1, 1).Tri);
    }
    EXPECT_EQ(states, (std::vector<int> { cbGrayed, cbChecked, cbUnchecked, cbGrayed }));
    EXPECT_EQ(reported, (std::vector<int> { 0, 0, 0, 0 }));

    reported.clear();
    g->AddCheckBox(1, 2, false, false);
    g->AddCheckBox(1, 3, false, true);
    g->ClickCheckBoxCell(1, 2, false);
    g->ClickCheckBoxCell(1, 3, false);
    g->ClickCheckBoxCell(1, 3, false);
    EXPECT_EQ(reported, (std::vector<int> { 1, 1, 0 }));
    EXPECT_TRUE(g->IsChecked(1, 2));
    EXPECT_EQ(g->Cells(1, 3), "N");
    EXPECT_FALSE(g->ClickCheckBoxCell(2, 1, false));
    EXPECT_FALSE(g->ClickCheckBoxCell(1, 0, false));
}

TEST(ExGridCheck, ClicksOnReadOnlyCells)
{
    struct Case {
        bool checkEdit, alwaysActive, toggles;
    };
    for (const Case& c : { Case { true, false, false }, Case { true, true, true }, Case { false, false, true } }) {
        SCOPED_TRACE(testing::Message() << c.checkEdit << c.alwaysActive);
        auto g = MakeGrid(4);
        g->SetOptions(g->Options() | goEditing);
        g->ControlLook()->CheckAlwaysActive = c.alwaysActive;
        g->AddCheckBox(1, 1, false, false);
        g->AddRadioButton(1, 2, false);
        g->SetReadOnly(1, 1, true);
        g->SetReadOnly(1, 2, true);
        EXPECT_EQ(g->ClickCheckBoxCell(1, 1, c.checkEdit), c.toggles);
        EXPECT_EQ(g->IsChecked(1, 1), c.toggles);
        EXPECT_EQ(g->ClickRadioButtonCell(1, 2, c.checkEdit), c.toggles);
        EXPECT_EQ(g->IsRadioButtonChecked(1, 2), c.toggles);
    }
}

TEST(ExGridCheck, ClickRegistersItsChangeForUndo)
{
    TGridOnForm<TExStringGrid> f(3, 4, 200, 100);
    TExStringGrid* g = f.Grid;
    auto* u = new TExGridUndoRedo(f.Form);
    g->SetUndoRedo(u);
    g->SetCells(1, 1, QStringLiteral("N"));
    g->AddCheckBox(1, 1, true, true);
    g->AddCheckBox(2, 1, false, false);
    ASSERT_TRUE(g->ClickCheckBoxCell(1, 1, false));
    EXPECT_EQ(g->Cells(1, 1), "Y");
    ASSERT_TRUE(g->ClickCheckBoxCell(2, 1, false));
    ASSERT_EQ(u->Items().Count(), 2);
    const TUndoRedoItem* data = u->Items().Items(0);
    EXPECT_EQ(data->OrigValue, "N");
    EXPECT_EQ(data->Value, "Y");
    const TUndoRedoItem* plain = u->Items().Items(1);
    EXPECT_EQ(plain->OrigValue, "N");
    EXPECT_EQ(plain->Value, "Y");
    u->Undo();
    u->Undo();
    EXPECT_EQ(g->Cells(1, 1), "N");
    EXPECT_FALSE(g->IsChecked(1, 1));
}

TEST(ExGridCheck, AutoCheckGroupFollowsChildrenAndSetsThem)
{
    auto g = MakeGrid(8);
    g->Grouping()->AutoCheckGroup = true;
    g->AddNode(1, 4); // node row 1, children 2..4
    g->AddCheckBoxColumn(1, false, false);
    const std::pair<int, TCheckBoxState> steps[] = { { 2, cbGrayed }, { 3, cbGrayed }, { 4, cbChecked } };
    for (const auto& [row, node] : steps) {
        ASSERT_TRUE(g->ClickCheckBoxCell(1, row, false));
        EXPECT_EQ(Read(*g, 1, 1).Tri, node) << row;
    }
    // The node's box: checked goes to unchecked and takes the children along.
    ASSERT_TRUE(g->ClickCheckBoxCell(1, 1, false));
    EXPECT_EQ(Read(*g, 1, 1).Tri, cbUnchecked);
    for (int r = 2; r <= 4; ++r)
        EXPECT_FALSE(g->IsChecked(1, r)) << r;
    EXPECT_FALSE(g->IsChecked(1, 5));

    // Contracted: the hidden children are set at their real rows, the rows
    // now shown in their places are left alone.
    g->ContractNode(1);
    ASSERT_EQ(g->Cells(2, 2), "r5");
    ASSERT_TRUE(g->ClickCheckBoxCell(1, 1, false));
    EXPECT_EQ(Read(*g, 1, 1).Tri, cbChecked);
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(Read(*g, 1, r).Bool, 1) << r;
    g->ExpandNode(1);
    EXPECT_FALSE(g->IsChecked(1, 5));
    EXPECT_FALSE(g->IsChecked(1, 6));

    // A row under no node leaves every other box alone.
    ASSERT_TRUE(g->ClickCheckBoxCell(1, 6, false));
    EXPECT_EQ(Read(*g, 1, 1).Tri, cbChecked);
    EXPECT_TRUE(g->IsChecked(1, 6));
}

TEST(ExGridCheck, RadioButtonColumnsFormOneGroup)
{
    auto g = MakeGrid(5);
    g->AddRadioButtonColumn(1);
    EXPECT_FALSE(g->HasRadioButton(1, 0));
    g->AddRadioButton(1, 0, true); // in the fixed row
    g->AddRadioButton(2, 2, true); // another column's group
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), -1);
    ASSERT_TRUE(g->ClickRadioButtonCell(1, 2, false));
    EXPECT_FALSE(g->IsRadioButtonChecked(1, 0));
    EXPECT_TRUE(g->IsRadioButtonChecked(2, 2));
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), 2);
    ASSERT_TRUE(g->ClickRadioButtonCell(1, 2, false));
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), 2);
    ASSERT_TRUE(g->ClickRadioButtonCell(1, 4, false));
    EXPECT_FALSE(g->IsRadioButtonChecked(1, 2));
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), 4);

    g->SetRadioButtonColumnIndex(1, 3);
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), 3);
    EXPECT_FALSE(g->IsRadioButtonChecked(1, 4));
    g->SetRadioButtonColumnIndex(1, 99);
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), -1);
    EXPECT_FALSE(g->SetRadioButtonState(2, 1, true));
    EXPECT_FALSE(g->ClickRadioButtonCell(2, 1, false));
    g->RemoveRadioButtonColumn(1);
    for (int r = 1; r < 5; ++r)
        EXPECT_FALSE(g->HasRadioButton(1, r)) << r;
}

TEST(ExGridCheck, CheckAllNotifiesChangedBoxesOnly)
{
    auto g = MakeGrid(5);
    g->AddCheckBoxColumn(1, false, true);
    g->SetCells(1, 2, QStringLiteral("Y"));
    g->AddCheckBox(1, 3, true, false);
    std::vector<int> rows;
    g->OnCheckBoxChange = [&](TObject*, int, int r, bool) { rows.push_back(r); };
    g->CheckAll(1);
    EXPECT_EQ(rows, (std::vector<int> { 1, 4 }));
    for (int r = 1; r < 5; ++r)
        EXPECT_TRUE(g->IsChecked(1, r)) << r;
    rows.clear();
    g->UnCheckAll(1);
    EXPECT_EQ(rows, (std::vector<int> { 1, 2, 3, 4 }));
    EXPECT_EQ(g->Cells(1, 1), "N");
}

// Column 0's row check boxes show and set the selection of the row they stand
// in, also past hidden rows; the state calls name real rows, CheckAll walks
// the displayed ones.
TEST(ExGridCheck, RowCheckBoxesKeepToTheirRowsPastHiddenRows)
{
    for (const bool persistent : { false, true }) {
        SCOPED_TRACE(persistent);
        auto g = MakeGrid(7);
        g->MouseActions()->SetHotmailRowSelect(true);
        g->MouseActions()->RowSelectPersistent = persistent;
        g->SetRowSelect(4, true); // r4
        g->HideRow(2);
        // r4 is displayed row 3, r5 row 4; real rows keep their numbers.
        EXPECT_TRUE(g->GetCellGraphic(0, 3)->CellBoolean());
        EXPECT_FALSE(g->GetCellGraphic(0, 4)->CellBoolean());
        EXPECT_EQ(Read(*g, 0, 4).Bool, 1);
        EXPECT_EQ(Read(*g, 0, 4).Tri, cbChecked);
        EXPECT_EQ(Read(*g, 0, 3).Bool, 0);
        EXPECT_EQ(Read(*g, 0, 6).Bool, 0);
        EXPECT_TRUE(g->SetCheckBoxState(0, 6, true)); // r6, the last row
        EXPECT_TRUE(g->GetCellGraphic(0, 5)->CellBoolean());
        EXPECT_EQ(Read(*g, 0, 6).Bool, 1);

        std::vector<int> told;
        g->OnCheckBoxChange = [&](TObject*, int, int r, bool) { told.push_back(r); };
        g->CheckAll(0);
        EXPECT_EQ(told, (std::vector<int> { 1, 2, 4 }));
        for (int r = 1; r < g->RowCount(); ++r)
            EXPECT_TRUE(g->GetCellGraphic(0, r)->CellBoolean()) << r;
        g->UnHideRowsAll();
        EXPECT_EQ(Read(*g, 0, 2).Bool, 0) << "the hidden row is not checked";
        EXPECT_EQ(g->SelectedRowCount(), 5);
    }
}

TEST(ExGridCheck, HitTestFindsTheBoxWhereItIsDrawn)
{
    TGridOnForm<TExStringGrid> f(3, 4, 200, 100);
    TExStringGrid* g = f.Grid;
    g->SetColWidths(1, 80);
    g->SetRowHeights(1, 30);
    g->SetRowHeights(2, 30);
    g->SetRowHeights(3, 30);
    g->MouseActions()->PreciseCheckBoxCheck = true;
    const int size = g->ControlLook()->CheckSize();
    g->AddCheckBox(1, 1, true, false); // left, top
    g->SetCells(1, 2, QStringLiteral("abc"));
    g->AddCheckBox(1, 2, true, false);
    g->OnGetAlignment = [](TObject*, int ARow, int, TAlignment& HA, TVAlignment&) {
        if (ARow == 2)
            HA = taRightJustify;
        if (ARow == 3)
            HA = taCenter;
    };
    g->SetVAlignment(TVAlignment::vtaBottom);
    g->AddRadioButton(1, 3, true); // centre, bottom
    g->Canvas()->Font()->Assign(g->Font());
    const int textW = g->Canvas()->TextWidth(QStringLiteral("abc"));

    struct Box {
        int row, left, top;
    };
    const TRect r1 = g->CellRect(1, 1), r2 = g->CellRect(1, 2), r3 = g->CellRect(1, 3);
    const Box boxes[] = {
        { 1, r1.Left + 2, r1.Top + 2 },
        { 2, r2.Right - size - 2 - textW, r2.Top + 2 },
        { 3, r3.Left + (r3.Width() - size) / 2, r3.Bottom - size - 2 },
    };
    for (const Box& b : boxes) {
        SCOPED_TRACE(testing::Message() << "row " << b.row);
        EXPECT_TRUE(g->IsInCheckBox(1, b.row, b.left, b.top));
        EXPECT_TRUE(g->IsInCheckBox(1, b.row, b.left + size - 1, b.top + size - 1));
        EXPECT_FALSE(g->IsInCheckBox(1, b.row, b.left - 1, b.top));
        EXPECT_FALSE(g->IsInCheckBox(1, b.row, b.left, b.top - 1));
        EXPECT_FALSE(g->IsInCheckBox(1, b.row, b.left + size, b.top));
        EXPECT_FALSE(g->IsInCheckBox(1, b.row, b.left, b.top + size));
    }
    // 1 pixel inside the cell's left edge is still left of the box.
    EXPECT_FALSE(g->IsInCheckBox(1, 1, r1.Left + 1, r1.Top + 5));
    EXPECT_FALSE(g->IsInCheckBox(2, 1, r1.Left + 2, r1.Top + 2));
    g->MouseActions()->PreciseCheckBoxCheck = false;
    EXPECT_TRUE(g->IsInCheckBox(1, 1, r1.Right - 1, r1.Bottom - 1));
}

TEST(ExGridCheck, RemoveCheckedRows)
{
    struct Case {
        const char* name;
        bool removeChecked;
        bool hideFirst;
        QString left;
    };
    const Case cases[] = {
        { "checked", true, false, "r1 r3 r5" },
        { "unchecked", false, false, "r2 r4" },
        // With a hidden row each shown row is asked for its own box.
        { "checked, r1 hidden", true, true, "r3 r5" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(6);
        g->AddCheckBoxColumn(1, false, false);
        g->SetCheckBoxState(1, 2, true);
        g->SetCheckBoxState(1, 4, true);
        if (c.hideFirst)
            g->HideRow(1);
        g->RemoveCheckedRows(1, c.removeChecked);
        EXPECT_EQ(Names(*g), c.left);
        EXPECT_EQ(g->Cells(2, 0), "r0");
    }
}
