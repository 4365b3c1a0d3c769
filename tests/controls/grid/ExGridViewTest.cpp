// Column stretching, the width and height handlers, the floating footer's
// calculated values and the view property writers.
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Forms.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

namespace {

// A grid on a form whose client area is exactly AClientWidth wide.
struct TViewGrid : TGridOnForm<TExStringGrid> {
    TViewGrid(int cols, int rows, int AClientWidth)
        : TGridOnForm<TExStringGrid>(cols, rows, AClientWidth, 200)
    {
        Grid->SetFixedRows(0);
        Grid->SetFixedCols(0);
        for (int c = 0; c < cols; ++c)
            Grid->SetColWidths(c, 64);
        Grid->SetBounds(0, 0, AClientWidth + Grid->Width() - Grid->ClientWidth(), 200);
    }
    TExStringGrid* operator->() const { return Grid; }
};

TEST(ExGridView, StretchFillsTheClientWidth)
{
    TViewGrid g(3, 3, 300);
    ASSERT_EQ(g->ClientWidth(), 300);
    g->ColumnSize()->StretchColumn = -1;
    g->ColumnSize()->SetStretch(true);
    EXPECT_EQ(g->ColWidths(2), 300 - 128 - 1);
    EXPECT_EQ(g->ColWidths(0), 64);

    // A named column; the stretch follows every width change of the others.
    g->ColumnSize()->StretchColumn = 1;
    g->SetColWidths(2, 64);
    EXPECT_EQ(g->ColWidths(1), 300 - 128 - 1);
    g->SetColWidths(0, 100);
    EXPECT_EQ(g->ColWidths(1), 300 - 164 - 1);

    // A change of the column count stretches the new last column.
    g->ColumnSize()->StretchColumn = -1;
    g->SetColCount(2);
    EXPECT_EQ(g->ColWidths(1), 300 - 100 - 1);
}

TEST(ExGridView, StretchOffOrOutOfRangeChangesNothing)
{
    TViewGrid g(3, 3, 300);
    // Off: a column index beyond the columns must not make width changes fail.
    g->ColumnSize()->StretchColumn = 7;
    EXPECT_NO_THROW(g->SetColWidths(0, 70));
    EXPECT_EQ(g->ColWidths(2), 64);
    // On with an index beyond the columns: no stretch, no failure.
    EXPECT_NO_THROW(g->ColumnSize()->SetStretch(true));
    EXPECT_NO_THROW(g->SetColWidths(0, 80));
    EXPECT_EQ(g->ColWidths(2), 64);
    EXPECT_NO_THROW(g.Form->SetBounds(20, 20, 500, 300));
    // Off with a valid column: widths stay as set.
    g->ColumnSize()->SetStretch(false);
    g->ColumnSize()->StretchColumn = -1;
    g->SetColWidths(1, 30);
    EXPECT_EQ(g->ColWidths(2), 64);
}

TEST(ExGridView, StretchWhenTheOthersDoNotFit)
{
    TViewGrid g(4, 3, 300);
    g->SetDefaultColWidth(50);
    for (int c = 0; c < 4; ++c)
        g->SetColWidths(c, 120);
    g->SetFixedCols(1);
    // Unscrolled: the column falls back to the default width.
    g->ColumnSize()->SetStretch(true);
    EXPECT_EQ(g->ColWidths(3), 50);
    // Scrolled right: it keeps what it has.
    g->ColumnSize()->SetStretch(false);
    g->SetColWidths(3, 90);
    g->SetLeftCol(2);
    ASSERT_GT(g->LeftCol(), g->FixedCols());
    g->ColumnSize()->SetStretch(true);
    EXPECT_EQ(g->ColWidths(3), 90);
}

TEST(ExGridView, StretchOfASingleColumn)
{
    TViewGrid g(1, 3, 300);
    g->ColumnSize()->SetStretch(true);
    EXPECT_EQ(g->ColWidths(0), 300);
}

// The state the mouse handling leaves when a drag sized display column ACol
// that was AStart wide.
void UserSizedColumn(TExStringGrid* G, int ACol, int AStart, int ANew)
{
    G->UserResize().Col = ACol;
    G->UserResize().StartSize = AStart;
    G->UserResize().ColSized = true;
    G->SetColWidths(ACol, ANew);
}

TEST(ExGridView, AllColumnSizeScalesTheNormalColumns)
{
    for (const bool all : { true, false }) {
        SCOPED_TRACE(all);
        TViewGrid g(5, 3, 600);
        g->SetFixedCols(1);
        g->MouseActions()->AllColumnSize = all;
        std::vector<int> ended;
        g->OnEndColumnSize = [&](TObject*, int c) { ended.push_back(c); };
        UserSizedColumn(g.Grid, 2, 64, 96);
        EXPECT_EQ(g->ColWidths(0), 64);
        for (const int c : { 1, 3, 4 })
            EXPECT_EQ(g->ColWidths(c), all ? 96 : 64) << c;
        EXPECT_EQ(g->ColWidths(2), 96);
        EXPECT_EQ(ended, std::vector<int> { 2 });
        EXPECT_FALSE(g->UserResize().ColSized);
    }
}

TEST(ExGridView, AllColumnSizeRoundsHalvesToEven)
{
    TViewGrid g(3, 3, 600);
    g->MouseActions()->AllColumnSize = true;
    g->SetColWidths(0, 5);
    g->SetColWidths(1, 7);
    // Factor 1.5: 5 * 1.5 = 7.5 -> 8, 7 * 1.5 = 10.5 -> 10.
    UserSizedColumn(g.Grid, 2, 64, 96);
    EXPECT_EQ(g->ColWidths(0), 8);
    EXPECT_EQ(g->ColWidths(1), 10);
}

TEST(ExGridView, UpdateColumnSizeAnswerIsApplied)
{
    TViewGrid g(3, 3, 600);
    int ended = 0;
    std::vector<int> asked;
    g->OnEndColumnSize = [&](TObject*, int) { ++ended; };
    g->OnUpdateColumnSize = [&](TObject*, int c, int& w) {
        asked.push_back(w);
        EXPECT_EQ(c, 1);
        w = 80;
    };
    UserSizedColumn(g.Grid, 1, 64, 120);
    EXPECT_EQ(g->ColWidths(1), 80);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(asked, std::vector<int> { 120 });
    // A width change of the program's own is no user resize.
    g->SetColWidths(1, 50);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(g->ColWidths(1), 50);
}

TEST(ExGridView, AllRowSizeScalesTheNormalRows)
{
    TViewGrid g(2, 4, 300);
    g->SetFixedRows(1);
    g->MouseActions()->AllRowSize = true;
    std::vector<int> ended;
    g->OnEndRowSize = [&](TObject*, int r) { ended.push_back(r); };
    g->UserResize().Row = 2;
    g->UserResize().StartSize = 20;
    g->UserResize().RowSized = true;
    g->SetRowHeights(2, 30);
    EXPECT_EQ(g->RowHeights(0), 20);
    EXPECT_EQ(g->RowHeights(1), 30);
    EXPECT_EQ(g->RowHeights(3), 30);
    EXPECT_EQ(ended, std::vector<int> { 2 });
    EXPECT_FALSE(g->UserResize().RowSized);
}

// ---------------------------------------------------------------------------
// Footer values

// One fixed row, ten normal rows holding 1 to 10 in every column, and the
// footer row.
struct TFooterGrid {
    TExStringGrid* G = new TExStringGrid(nullptr);
    TFooterGrid()
    {
        G->SetColCount(4);
        G->SetRowCount(12);
        G->SetFixedCols(0);
        for (int r = 1; r <= 10; ++r)
            for (int c = 0; c < 4; ++c)
                G->SetCells(c, r, QString::number(r));
        G->FloatingFooter()->SetVisible(true);
    }
    ~TFooterGrid() { delete G; }
    TFooterGrid(const TFooterGrid&) = delete;
    TFooterGrid& operator=(const TFooterGrid&) = delete;
    TExStringGrid* operator->() const { return G; }
    QString Footer(int c) const { return G->Cells(c, G->RowCount() - 1); }
};

TEST(ExGridView, FooterCount)
{
    TFooterGrid g;
    g->FloatingFooter()->SetColumnCalc(2, TColumnCalcType::acCOUNT);
    g->CalcFooter(-1);
    EXPECT_EQ(g.Footer(2), "10");
    // Ten normal rows shown above the footer and three hidden.
    for (int i = 0; i < 3; ++i)
        g->AddEmptyRow();
    g->HideRows(2, 4);
    ASSERT_EQ(g->RowCount(), 12);
    g->FloatingFooter()->CalculateHiddenRows = true;
    g->CalcFooter(-1);
    EXPECT_EQ(g.Footer(2), "13");
    g->FloatingFooter()->CalculateHiddenRows = false;
    g->CalcFooter(-1);
    EXPECT_EQ(g.Footer(2), "10");
}

TEST(ExGridView, FooterAggregatesNeverIncludeTheFooterRow)
{
    struct TCase {
        TColumnCalcType Calc;
        const char* All; // over 1 to 10
        const char* OneHidden; // row holding 10 hidden, hidden rows counted
        const char* Shown; // the same, hidden rows not counted
    };
    const TCase cases[] = {
        { TColumnCalcType::acSUM, "55.00", "55.00", "45.00" },
        { TColumnCalcType::acAVG, "5.50", "5.50", "5.00" },
        { TColumnCalcType::acMIN, "1.00", "1.00", "1.00" },
        { TColumnCalcType::acMAX, "10.00", "10.00", "9.00" },
        { TColumnCalcType::acDISTINCT, "10.00", "10.00", "9.00" },
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(int(k.Calc));
        TFooterGrid g;
        g->FloatingFooter()->SetColumnCalc(1, k.Calc);
        EXPECT_EQ(g.Footer(1), k.All);
        g->HideRow(10);
        g->FloatingFooter()->CalculateHiddenRows = true;
        // Repeated recalculation must not feed the footer's own value back.
        for (int i = 0; i < 3; ++i) {
            g->CalcFooter(1);
            EXPECT_EQ(g.Footer(1), k.OneHidden);
        }
        g->FloatingFooter()->CalculateHiddenRows = false;
        g->CalcFooter(1);
        EXPECT_EQ(g.Footer(1), k.Shown);
    }
}

TEST(ExGridView, FooterStdDevAndUntouchedColumns)
{
    TFooterGrid g;
    g->SetCells(0, g->RowCount() - 1, "keep");
    g->SetCells(3, g->RowCount() - 1, "spread");
    g->FloatingFooter()->SetColumnCalc(3, TColumnCalcType::acSPREAD);
    g->FloatingFooter()->SetColumnCalc(1, TColumnCalcType::acSTDDEV);
    g->CalcFooter(-1);
    EXPECT_EQ(g.Footer(1), QString::asprintf("%.2f", std::sqrt(8.25)));
    EXPECT_EQ(g.Footer(0), "keep");
    EXPECT_EQ(g.Footer(3), "spread");
}

TEST(ExGridView, FooterCustomValue)
{
    TFooterGrid g;
    g->SetCells(2, g->RowCount() - 1, "old");
    g->FloatingFooter()->SetColumnCalc(2, TColumnCalcType::acCUSTOM);
    EXPECT_EQ(g.Footer(2), "");

    std::vector<std::pair<int, int>> footerAsked;
    g->FloatingFooter()->OnCalcFooter = [&](TObject*, int c, int r, QString& v) {
        footerAsked.emplace_back(c, r);
        v = "footer";
    };
    g->CalcFooter(2);
    EXPECT_EQ(g.Footer(2), "footer");
    g->HideRow(1);
    g->CalcFooter(2);
    EXPECT_EQ(footerAsked, (std::vector<std::pair<int, int>> { { 2, 11 }, { 2, 11 } }));

    g->OnFooterCalc = [](TObject*, int, int, QString& v) { v = "grid"; };
    g->CalcFooter(-1);
    EXPECT_EQ(g.Footer(2), "grid");
    EXPECT_EQ(footerAsked.size(), 2u);
}

// Rows added in an update bracket, nested too: the totals are worked out
// once, when the outermost bracket closes, and come out as a fresh
// recalculation does; outside a bracket every change still recalculates.
TEST(ExGridView, FooterWaitsForTheOutermostEndUpdate)
{
    TFooterGrid g;
    g->FloatingFooter()->SetColumnCalc(1, TColumnCalcType::acSUM);
    g->FloatingFooter()->SetColumnCalc(2, TColumnCalcType::acCUSTOM);
    int calls = 0;
    g->FloatingFooter()->OnCalcFooter = [&](TObject*, int, int, QString& v) { v = QString::number(++calls); };
    g->BeginUpdate();
    g->BeginUpdate();
    for (int i = 0; i < 5; ++i) {
        g->AddRow();
        g->SetCells(1, g->RowCount() - 2, "2");
    }
    g->RemoveRows(1, 1);
    g->EndUpdate();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(g.Footer(1), "55.00");
    g->EndUpdate();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(g.Footer(1), "64.00");
    const QString total = g.Footer(1);
    g->CalcFooter(-1);
    EXPECT_EQ(g.Footer(1), total);
    calls = 0;
    g->AddRow();
    EXPECT_EQ(calls, 1);
}

TEST(ExGridView, FooterNotCalculatedUnlessFixedLastRowShows)
{
    TFooterGrid g;
    const int last = g->RowCount() - 1;
    g->FloatingFooter()->SetColumnCalc(0, TColumnCalcType::acCOUNT);
    g->SetCells(0, last, "x");
    g->FloatingFooter()->SetFooterStyle(TFooterStyle::fsColumnPreview);
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(0, last), "x");
    g->FloatingFooter()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    g->FloatingFooter()->EnableCalculation = false;
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(0, last), "x");
    g->FloatingFooter()->EnableCalculation = true;
    g->FloatingFooter()->SetVisible(false);
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(0, last), "x");
    g->FloatingFooter()->SetVisible(true);
    g->RecalcFooter();
    EXPECT_EQ(g->Cells(0, last), "10");
}

TEST(ExGridView, FooterFollowsCellChanges)
{
    TFooterGrid g;
    g->FloatingFooter()->SetColumnCalc(1, TColumnCalcType::acSUM);
    g->ClearRect(1, 1, 1, 5);
    EXPECT_EQ(g.Footer(1), "40.00");
}

// ---------------------------------------------------------------------------
// View properties

TEST(ExGridView, PropertyWriters)
{
    TExStringGrid g(nullptr);
    g.SetRowCount(5);
    g.AddEmptyRow();
    EXPECT_EQ(g.RowCount(), 6);

    g.UpdateXYOffset(4, 6);
    EXPECT_EQ(g.XYOffset(), TPoint(4, 6));

    TFont f;
    f.SetSize(21);
    g.SetActiveCellFont(&f);
    f.SetSize(9);
    EXPECT_EQ(g.ActiveCellFont()->Size(), 21);

    g.SetSelection(TGridRect { 1, 2, 2, 3 });
    EXPECT_EQ(g.Selection().Top, 2);
    EXPECT_EQ(g.Selection().Right, 2);
    EXPECT_FALSE(g.UsesToolkitStyles());
}

} // namespace

namespace {

TEST(ExGridView, ForgetsRemovedComponents)
{
    TForm form(nullptr);
    auto* grid = new TExStringGrid(&form);
    auto* other = new TExStringGrid(&form);
    grid->SyncGrid()->SetGrid(other);
    other->FreeNotification(grid);
    delete other;
    EXPECT_EQ(grid->SyncGrid()->Grid(), nullptr);
}

} // namespace
