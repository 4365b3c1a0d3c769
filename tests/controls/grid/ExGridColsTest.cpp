// The string grid's columns: hidden columns and the two index spaces, counts,
// fixed columns, inserting, removing and moving columns.

#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "common/TestUtil.h"
#include "controls/base/ExGridUndoRedo.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/StdCtrls.h"
#include "tests/controls/grid/PaintProbe.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <vector>

namespace {

// Exposes the disjunct column flags, which only the selection code sets.
struct TColsGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    void SelectColFlag(int ADisplCol)
    {
        if (int(FColSelection.size()) <= ADisplCol)
            FColSelection.resize(std::size_t(ADisplCol) + 1, nullptr);
        FColSelection[std::size_t(ADisplCol)] = this;
    }
    std::vector<int> SelectedColFlags() const
    {
        std::vector<int> r;
        for (std::size_t i = 0; i < FColSelection.size(); ++i)
            if (FColSelection[i])
                r.push_back(int(i));
        return r;
    }
};

// Row 1 of each real column holds "c<real index>".
void Label(TExStringGrid& g)
{
    for (int c = 0; c < g.TotalColCount(); ++c)
        g.SetCells(c, 1, QStringLiteral("c%1").arg(c));
}

// Row 1's texts in displayed order.
QStringList Shown(const TExStringGrid& g)
{
    QStringList r;
    for (int d = 0; d < g.ColCount(); ++d)
        r << g.Cells(g.RealColIndex(d), 1);
    return r;
}

// Row 1's texts in real order, hidden ones in brackets.
QStringList Real(const TExStringGrid& g)
{
    QStringList r;
    for (int c = 0; c < g.TotalColCount(); ++c)
        r << (g.IsHiddenColumn(c) ? u'[' + g.Cells(c, 1) + u']' : g.Cells(c, 1));
    return r;
}

void MergeWithText(TExStringGrid& g, int ACol, int ARow, int Cols, int Rows, const QString& Text)
{
    g.SetCells(ACol, ARow, Text);
    g.MergeCells(ACol, ARow, Cols, Rows);
}

std::vector<int> Widths(const TExStringGrid& g)
{
    std::vector<int> w;
    for (int d = 0; d < g.ColCount(); ++d)
        w.push_back(g.ColWidths(d));
    return w;
}

TEST(ExGridCols, HidingRealColumnTwoOfFive)
{
    TExStringGrid g(nullptr);
    Label(g);
    for (int d = 0; d < 5; ++d)
        g.SetColWidths(d, 40 + d);
    g.HideColumn(2);

    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.TotalColCount(), 5);
    EXPECT_EQ(g.NumHiddenColumns(), 1);
    EXPECT_TRUE(g.IsHiddenColumn(2));
    EXPECT_FALSE(g.IsHiddenColumn(600));
    const struct {
        int displ, real;
    } maps[] = { { 0, 0 }, { 1, 1 }, { 2, 3 }, { 3, 4 }, { 600, 600 } };
    for (const auto& m : maps)
        EXPECT_EQ(g.RealColIndex(m.displ), m.real) << m.displ;
    // A hidden column maps to where the next shown one is.
    const int displOfReal[] = { 0, 1, 2, 2, 3 };
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g.DisplColIndex(c), displOfReal[c]) << c;
    EXPECT_EQ(g.Cells(2, 1), "c2"); // the cells stay in the store
    EXPECT_EQ(Shown(g), QStringList({ "c0", "c1", "c3", "c4" }));
    EXPECT_EQ(Widths(g), (std::vector<int> { 40, 41, 43, 44 }));

    g.UnHideColumn(2);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
    EXPECT_EQ(g.RealColIndex(2), 2);
    EXPECT_EQ(Widths(g), (std::vector<int> { 40, 41, 42, 43, 44 }));
    EXPECT_EQ(Shown(g), QStringList({ "c0", "c1", "c2", "c3", "c4" }));
}

TEST(ExGridCols, MappingsHoldBeyondFiveHundredTwelveColumns)
{
    TExStringGrid g(nullptr);
    g.SetColCount(600);
    g.HideColumn(550);
    EXPECT_EQ(g.ColCount(), 599);
    EXPECT_EQ(g.TotalColCount(), 600);
    EXPECT_TRUE(g.IsHiddenColumn(550));
    EXPECT_EQ(g.RealColIndex(549), 549);
    EXPECT_EQ(g.RealColIndex(550), 551);
    EXPECT_EQ(g.RealColIndex(598), 599);
    EXPECT_EQ(g.DisplColIndex(599), 598);
    EXPECT_EQ(g.RealColIndex(600), 600);
    g.SetCells(599, 3, "last"); // the last real column is still written
    EXPECT_EQ(g.Cells(g.RealColIndex(598), 3), "last");
    g.UnHideColumnsAll();
    EXPECT_EQ(g.ColCount(), 600);
    EXPECT_EQ(g.DisplColIndex(599), 599);
}

TEST(ExGridCols, HidingRefusalsAndRanges)
{
    TExStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetFixedCols(0);
    g.HideColumns(0, 10); // the last shown column stays
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.NumHiddenColumns(), 2);
    EXPECT_EQ(g.RealColIndex(0), 2);
    g.HideColumn(1); // already hidden
    g.UnHideColumn(2); // shown
    EXPECT_EQ(g.NumHiddenColumns(), 2);
    g.UnHideColumns(0, 0);
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RealColIndex(1), 2);
    g.UnHideColumnsAll();
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
}

TEST(ExGridCols, ColCountCountsShownColumns)
{
    // Growing adds shown columns at the end.
    TExStringGrid g(nullptr);
    g.HideColumn(2);
    g.SetColCount(6);
    EXPECT_EQ(g.TotalColCount(), 7);
    EXPECT_TRUE(g.IsHiddenColumn(2));
    EXPECT_EQ(g.RealColIndex(5), 6);
    g.SetCells(6, 1, "new");
    EXPECT_EQ(g.Cells(6, 1), "new");

    // Shrinking drops the last shown columns; a hidden one after them moves
    // down with its cells and its width.
    TExStringGrid h(nullptr);
    Label(h);
    h.SetColWidths(4, 77);
    h.HideColumn(4);
    h.SetColCount(2);
    EXPECT_EQ(h.ColCount(), 2);
    EXPECT_EQ(h.TotalColCount(), 3);
    EXPECT_EQ(Real(h), QStringList({ "c0", "c1", "[c4]" }));
    h.UnHideColumn(2);
    EXPECT_EQ(Shown(h), QStringList({ "c0", "c1", "c4" }));
    EXPECT_EQ(h.ColWidths(2), 77);
}

TEST(ExGridCols, RemovingColumnsRecountsHiddenOnes)
{
    const struct {
        int from, count;
        QStringList real;
        int shown;
    } cases[] = {
        // The run takes the hidden column: none is left hidden, and the
        // columns that move into its place show.
        { 2, 2, { "c0", "c1", "c4" }, 3 },
        // A hidden column after the run moves left, still hidden.
        { 1, 1, { "c0", "c2", "[c3]", "c4" }, 3 },
        // The count is cut to the real columns there.
        { 3, 9, { "c0", "c1", "c2" }, 3 },
        { 5, 1, { "c0", "c1", "c2", "[c3]", "c4" }, 4 },
        { -1, 1, { "c0", "c1", "c2", "[c3]", "c4" }, 4 },
    };
    for (const auto& t : cases) {
        TExStringGrid g(nullptr);
        Label(g);
        g.HideColumn(3);
        g.RemoveCols(t.from, t.count);
        EXPECT_EQ(Real(g), t.real) << t.from << "," << t.count;
        EXPECT_EQ(g.ColCount(), t.shown) << t.from;
        EXPECT_EQ(g.TotalColCount(), t.real.size()) << t.from;
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(g.IsHiddenColumn(c), c < t.real.size() && t.real[c].startsWith(u'[')) << t.from << " col " << c;
        // Columns that come back later come back shown.
        g.SetColCount(5);
        EXPECT_EQ(g.TotalColCount(), 5 + g.NumHiddenColumns()) << t.from;
        EXPECT_EQ(g.RealColIndex(4), 4 + g.NumHiddenColumns()) << t.from;
    }
}

TEST(ExGridCols, RemovingKeepsWidthsOfTheOtherColumns)
{
    TExStringGrid g(nullptr);
    for (int d = 0; d < 5; ++d)
        g.SetColWidths(d, 40 + d);
    g.HideColumn(3);
    g.RemoveCols(1, 1);
    EXPECT_EQ(Widths(g), (std::vector<int> { 40, 42, 44 }));
    g.UnHideColumnsAll();
    EXPECT_EQ(Widths(g), (std::vector<int> { 40, 42, 43, 44 }));
}

TEST(ExGridCols, InsertingColumnsMovesHiddenOnesAlong)
{
    TExStringGrid g(nullptr);
    Label(g);
    for (int d = 0; d < 5; ++d)
        g.SetColWidths(d, 40 + d);
    g.HideColumn(3);
    g.InsertCols(1, 2);
    EXPECT_EQ(Real(g), QStringList({ "c0", "", "", "c1", "c2", "[c3]", "c4" }));
    EXPECT_EQ(g.ColCount(), 6);
    const int dw = g.DefaultColWidth();
    EXPECT_EQ(Widths(g), (std::vector<int> { 40, dw, dw, 41, 42, 44 }));
    // Appending goes after the hidden columns too.
    g.AddColumn();
    EXPECT_EQ(g.TotalColCount(), 8);
    EXPECT_EQ(g.RealColIndex(g.ColCount() - 1), 7);
    g.UnHideColumnsAll();
    EXPECT_EQ(g.ColWidths(5), 43);
}

TEST(ExGridCols, ColumnOrderFollowsMovesInsertionsAndRemovals)
{
    TExStringGrid g(nullptr);
    auto order = [&g] { return g.ColumnOrder()->StrValue(); };
    g.MoveColumn(1, 3); // records the order first
    EXPECT_EQ(order(), "0,2,3,1,4");
    g.InsertCols(2, 1);
    EXPECT_EQ(order(), "0,3,2,4,1,5");
    g.RemoveCols(0, 1);
    EXPECT_EQ(order(), "2,1,3,0,4");
}

TEST(ExGridCols, MovingColumnsCarriesHiddenColumnsAndControls)
{
    TExStringGrid g(nullptr);
    Label(g);
    for (int d = 0; d < 5; ++d)
        g.SetColWidths(d, 40 + d);
    g.HideColumn(2);
    TButton b(nullptr);
    g.ControlList()->AddControl(0, 1, &b);
    g.ControlList()->AddControl(2, 1, &b);
    g.MoveColumn(0, 3);
    EXPECT_EQ(Shown(g), QStringList({ "c1", "c3", "c4", "c0" }));
    EXPECT_EQ(Real(g), QStringList({ "c1", "[c2]", "c3", "c4", "c0" }));
    EXPECT_EQ(Widths(g), (std::vector<int> { 41, 43, 44, 40 }));
    EXPECT_EQ(g.ControlList()->GetControl(0)->X(), 3);
    EXPECT_EQ(g.ControlList()->GetControl(1)->X(), 1);
    g.UnHideColumnsAll();
    EXPECT_EQ(Shown(g), QStringList({ "c1", "c2", "c3", "c4", "c0" }));
    EXPECT_EQ(g.ColWidths(1), 42);
}

TEST(ExGridCols, PermutingColumnsKeepsHiddenOnesInPlace)
{
    // The shown columns take each other's places in one pass; the hidden
    // one stays at its real index. Widths, order entries, selection flags
    // and controls go with their columns.
    TColsGrid g(nullptr);
    Label(g);
    for (int d = 0; d < 5; ++d)
        g.SetColWidths(d, 40 + d);
    g.SetColumnOrder();
    g.HideColumn(2);
    TButton b(nullptr);
    g.ControlList()->AddControl(0, 1, &b);
    g.SelectColFlag(3);
    g.PermuteColumns(0, { 3, 0, 1, 2 });
    EXPECT_EQ(Real(g), QStringList({ "c4", "c0", "[c2]", "c1", "c3" }));
    EXPECT_EQ(Widths(g), (std::vector<int> { 44, 40, 41, 43 }));
    EXPECT_EQ(g.ColumnOrder()->StrValue(), "4,0,2,1,3");
    EXPECT_EQ(g.SelectedColFlags(), std::vector<int> { 0 });
    EXPECT_EQ(g.ControlList()->GetControl(0)->X(), 1);
    g.UnHideColumnsAll();
    EXPECT_EQ(Shown(g), QStringList({ "c4", "c0", "c2", "c1", "c3" }));
    EXPECT_EQ(g.ColWidths(2), 42);
}

TEST(ExGridCols, RemoveUnSelectedColsKeepsTheSelection)
{
    TColsGrid g(nullptr);
    g.SetColCount(6);
    Label(g);
    g.SetSelection({ 2, 1, 3, 1 });
    g.RemoveUnSelectedCols();
    EXPECT_EQ(Shown(g), QStringList({ "c0", "c2", "c3" }));

    TColsGrid d(nullptr);
    d.SetColCount(6);
    Label(d);
    d.MouseActions()->SetDisjunctColSelect(true);
    d.SelectColFlag(2);
    d.SelectColFlag(4);
    d.RemoveUnSelectedCols();
    EXPECT_EQ(Shown(d), QStringList({ "c0", "c2", "c4" }));
    EXPECT_TRUE(d.SelectedColFlags().empty());
}

TEST(ExGridCols, RemoveSelectedColsTakesFlagsAlong)
{
    TColsGrid g(nullptr);
    g.SetColCount(6);
    Label(g);
    g.HideColumn(3);
    g.MouseActions()->SetDisjunctColSelect(true);
    g.SelectColFlag(1); // c1
    g.SelectColFlag(3); // c4
    g.RemoveSelectedCols();
    EXPECT_EQ(Real(g), QStringList({ "c0", "c2", "[c3]", "c5" }));
    EXPECT_TRUE(g.SelectedColFlags().empty());

    // A flag right of an inserted or removed column stays on its column.
    TColsGrid f(nullptr);
    Label(f);
    f.SelectColFlag(3);
    f.InsertCols(1, 1);
    EXPECT_EQ(f.SelectedColFlags(), std::vector<int> { 4 });
    f.RemoveCols(0, 2);
    EXPECT_EQ(f.SelectedColFlags(), std::vector<int> { 2 });
    EXPECT_EQ(f.Cells(f.RealColIndex(2), 1), "c3");

    TColsGrid r(nullptr);
    Label(r);
    r.SetSelection({ 3, 1, 1, 1 });
    r.RemoveSelectedCols();
    EXPECT_EQ(Shown(r), QStringList({ "c0", "c4" }));
}

TEST(ExGridCols, MergedAreasThroughColumnInsertionAndRemoval)
{
    TExStringGrid g(nullptr);
    g.SetColCount(10);
    MergeWithText(g, 1, 1, 3, 2, "cut"); // columns 1..3
    MergeWithText(g, 5, 4, 2, 2, "moved"); // columns 5..6
    g.InsertCols(2, 1);
    // The area the new column cut is split, its base text kept.
    EXPECT_FALSE(g.IsMergedCell(1, 1));
    EXPECT_FALSE(g.IsMergedCell(3, 2));
    EXPECT_EQ(g.GetCellEx(1, 1), "cut");
    EXPECT_EQ(g.GetCellEx(3, 1), "");
    // The one right of it moved whole.
    EXPECT_TRUE(g.IsBaseCell(6, 4));
    EXPECT_EQ(g.CellSpan(6, 4), TPoint(1, 1));
    EXPECT_EQ(g.GetCellEx(7, 5), "moved");

    g.MergeCells(1, 7, 2, 1); // columns 1..2, cut by the removal below
    g.RemoveCols(2, 2);
    EXPECT_FALSE(g.IsMergedCell(1, 7));
    EXPECT_TRUE(g.IsBaseCell(4, 4));
    EXPECT_EQ(g.BaseCell(5, 5), TPoint(4, 4));
    EXPECT_EQ(g.GetCellEx(5, 5), "moved");

    // Removing a whole area frees it.
    g.RemoveCols(4, 2);
    EXPECT_FALSE(g.IsMergedCell(4, 4));
    EXPECT_EQ(g.GetCellEx(4, 4), "");
}

TEST(ExGridCols, MergedAreasThroughColumnMoves)
{
    TExStringGrid g(nullptr);
    g.SetColCount(8);
    MergeWithText(g, 1, 1, 2, 1, "a"); // columns 1..2
    MergeWithText(g, 4, 3, 2, 2, "b"); // columns 4..5
    g.MoveColumn(2, 6); // leaves the first area, passes the second
    EXPECT_FALSE(g.IsMergedCell(1, 1));
    EXPECT_FALSE(g.IsMergedCell(6, 1));
    EXPECT_EQ(g.GetCellEx(1, 1), "a");
    EXPECT_EQ(g.GetCellEx(6, 1), "");
    EXPECT_EQ(g.BaseCell(4, 4), TPoint(3, 3));
    EXPECT_EQ(g.GetCellEx(4, 4), "b");
    g.MoveColumn(7, 4); // lands inside the second area
    EXPECT_FALSE(g.IsMergedCell(3, 3));
    EXPECT_EQ(g.GetCellEx(3, 3), "b");
    EXPECT_EQ(g.GetCellEx(5, 4), "");
}

TEST(ExGridCols, RemovedCellsAndControlsLeaveWithTheirColumns)
{
    TExStringGrid g(nullptr);
    g.GetCellProperties(2, 3)->SetBrushColor(TColor(0x123456));
    g.GetCellProperties(4, 3)->SetBrushColor(TColor(0x654321));
    TButton inside(nullptr), right(nullptr);
    g.ControlList()->AddControl(2, 3, &inside);
    g.ControlList()->AddControl(4, 3, &right);
    g.RemoveCols(2, 1);
    EXPECT_FALSE(g.HasCellProperties(2, 3) && g.GetCellProperties(2, 3)->BrushColor() == TColor(0x123456));
    EXPECT_EQ(g.GetCellProperties(3, 3)->BrushColor(), TColor(0x654321));
    ASSERT_EQ(g.ControlList()->Count(), 1);
    EXPECT_EQ(g.ControlList()->GetControl(0)->Control(), &right);
    EXPECT_EQ(g.ControlList()->GetControl(0)->X(), 3);
    EXPECT_FALSE(inside.Visible());
}

TEST(ExGridCols, RemovingColumnsReportsTheChange)
{
    TExStringGrid g(nullptr);
    TRect got;
    int calls = 0;
    g.OnCellsChanged = [&](TObject*, const TRect& R) { got = R, ++calls; };
    g.InsertCols(1, 1);
    EXPECT_EQ(calls, 0);
    g.RemoveCols(1, 2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(got, Rect(1, 0, 3, 9));
}

TEST(ExGridCols, DeleteColumnTakesADisplayedColumn)
{
    TExStringGrid g(nullptr);
    Label(g);
    g.HideColumn(1);
    g.DeleteColumn(1); // real 2
    EXPECT_EQ(Real(g), QStringList({ "c0", "[c1]", "c3", "c4" }));
}

TEST(ExGridCols, FixedColsWithFixedColAlways)
{
    TExStringGrid g(nullptr);
    g.SetFixedColAlways(true);
    g.SetColCount(3);
    g.SetFixedCols(5);
    EXPECT_EQ(g.FixedCols(), 2);
    g.SetColCount(10);
    EXPECT_EQ(g.FixedCols(), 5);
    EXPECT_EQ(g.MaxColCount(), 10);

    TExStringGrid z(nullptr);
    z.SetFixedCols(0);
    EXPECT_EQ(z.FixedCols(), 0);
    z.SetFixedColAlways(true);
    EXPECT_EQ(z.FixedCols(), 1);
}

TEST(ExGridCols, FixedColWidthSizesTheFixedColumns)
{
    TExStringGrid g(nullptr);
    g.SetColCount(6);
    g.SetFixedCols(2);
    g.SetFixedColWidth(30);
    EXPECT_EQ(g.FixedColWidth(), 30);
    EXPECT_EQ(g.ColWidths(1), 30);
    EXPECT_EQ(g.ColWidths(2), g.DefaultColWidth());
    g.SetColWidths(0, 50);
    g.SetFixedColWidth(g.DefaultColWidth()); // the default changes nothing
    EXPECT_EQ(g.FixedColWidth(), 50);
}

TEST(ExGridCols, LinkedGridsFollowTheColumnWithoutLooping)
{
    TExStringGrid a(nullptr), b(nullptr);
    a.SyncGrid()->SetGrid(&b);
    a.SyncGrid()->SelectionColumn = true;
    b.SyncGrid()->SetGrid(&a);
    b.SyncGrid()->SelectionColumn = true;
    a.SetCol(3);
    EXPECT_EQ(b.Col(), 3);
    b.SetCol(2);
    EXPECT_EQ(a.Col(), 2);
}

TEST(ExGridCols, ScrollInViewCentresAFarCell)
{
    TExStringGrid g(nullptr);
    g.SetColCount(50);
    g.SetRowCount(200);
    g.ScrollInView(30, 150);
    EXPECT_EQ(g.Col(), 30);
    EXPECT_EQ(g.Row(), 150);
    EXPECT_EQ(g.TopRow(), 150 - g.VisibleRowCount() / 2);
    EXPECT_EQ(g.LeftCol(), 30 - g.VisibleColCount() / 2);
    const int top = g.TopRow();
    g.ScrollInView(30, 151); // in view already
    EXPECT_EQ(g.TopRow(), top);
    g.ScrollInView(50, 1); // beyond the grid
    EXPECT_EQ(g.Col(), 30);
}

TEST(ExGridCols, ScrollInViewUnderTheSearchFooterStops)
{
    // A row taller than the room above the footer can never show whole.
    TExStringGrid g(nullptr);
    g.SetRowCount(100);
    g.SetRowHeights(99, 1000);
    g.SearchFooter()->SetVisible(true);
    g.ScrollInView(1, 99);
    EXPECT_LE(g.TopRow(), 99);
    EXPECT_GE(g.TopRow(), 99 - g.VisibleRowCount());
}

} // namespace

namespace {

// With real column 2 hidden, shown column 2 is real column 3: the editor
// reads and writes it, Esc gives it back, and painting shows its text.
// Records the cells its painter is asked for.
struct TPaintLogGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::vector<QString> Painted;
    void PaintGridCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        if (ARow == 1)
            Painted.push_back(QStringLiteral("%1:%2").arg(ACol).arg(Cells(ACol, ARow)));
        TExStringGrid::PaintGridCell(ACanvas, ACol, ARow, ARect, AState);
    }
};

TEST(ExGridCols, EditorAndPainterUseTheRealColumnOfAShownOne)
{
    TGridOnForm<TPaintLogGrid> f(5, 4, 300, 120);
    TPaintLogGrid& g = *f.Grid;
    g.SetOptions(g.Options() | goEditing);
    g.SetCells(2, 1, QStringLiteral("hidden"));
    g.SetCells(3, 1, QStringLiteral("shown"));
    g.HideColumn(2);
    g.SetCol(2);
    g.SetRow(1);
    auto key = [&](WORD vk, char16_t ch = 0) {
        TWinControl* target = g.InplaceEditor() && g.InplaceEditor()->EditorVisible()
            ? static_cast<TWinControl*>(g.InplaceEditor())
            : &g;
        input::Key(target, vk, {}, ch);
        QCoreApplication::sendPostedEvents();
    };
    key(VK_F2);
    ASSERT_TRUE(g.EditorMode());
    EXPECT_EQ(g.InplaceEditor()->Text(), "shown");
    input::Type(g.InplaceEditor(), QStringLiteral("X"));
    QCoreApplication::sendPostedEvents();
    key(VK_ESCAPE);
    EXPECT_EQ(g.Cells(3, 1), "shown");
    EXPECT_EQ(g.Cells(2, 1), "hidden");
    key(VK_F2);
    g.InplaceEditor()->SetText(QStringLiteral("edited"));
    key(VK_RETURN, u'\r');
    EXPECT_EQ(g.Cells(3, 1), "edited");
    EXPECT_EQ(g.Cells(2, 1), "hidden");

    // The painted text of shown column 2 is real column 3's.
    std::vector<QString>& painted = f.Grid->Painted;
    painted.clear();
    const QImage img = g.PaintToImage();
    img.save(QStringLiteral(MORV_TEST_OUTPUT_DIR "/exgrid_hidden_column.png"));
    // The text lands in shown column 2's rectangle, and shown column 3 stays blank.
    auto darkIn = [&](const TRect& r) {
        int n = 0;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
            for (int x = r.Left + 2; x < r.Right - 2; ++x)
                n += qGray(img.pixel(x, y)) < 128;
        return n;
    };
    EXPECT_GT(darkIn(g.CellRect(2, 1)), 0);
    EXPECT_EQ(darkIn(g.CellRect(3, 1)), 0);
    EXPECT_NE(std::find(painted.begin(), painted.end(), QStringLiteral("3:edited")), painted.end())
        << QStringList(painted.begin(), painted.end()).join(u' ').toStdString();
    EXPECT_EQ(std::find(painted.begin(), painted.end(), QStringLiteral("2:hidden")), painted.end());
}

} // namespace

namespace {

TEST(ExGridCols, ClearSelectionClearsTheFlaggedColumns)
{
    TColsGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(3);
    for (int c = 0; c < 4; ++c)
        g.SetCells(c, 1, QStringLiteral("t%1").arg(c));
    g.MouseActions()->SetDisjunctColSelect(true);
    g.SelectColFlag(2);
    g.ClearSelection();
    EXPECT_EQ(g.Cells(1, 1), "t1");
    EXPECT_TRUE(g.Cells(2, 1).isEmpty());
    EXPECT_EQ(g.Cells(3, 1), "t3");
}

} // namespace

namespace {

// Undo and redo of a change in a hidden column write the cell and move the
// current cell to the shown column nearest to it: the one that follows, or
// the last shown one when none follows.
TEST(ExGridCols, UndoAndRedoInAHiddenColumn)
{
    struct Case {
        const char* Name;
        int Hidden, Expected;
    };
    const Case cases[] = { { "inner column", 2, 2 }, { "last column", 4, 3 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGridOnForm<TExStringGrid> f(5, 4, 300, 120);
        TExStringGrid& g = *f.Grid;
        auto* u = new TExGridUndoRedo(f.Form);
        g.SetUndoRedo(u);
        g.SetCells(c.Hidden, 2, QStringLiteral("new"));
        u->RegisterChange(c.Hidden, 2, QStringLiteral("old"), QStringLiteral("new"));
        g.HideColumn(c.Hidden);
        g.SetCol(1);
        g.SetRow(1);
        for (int round = 0; round < 2; ++round) {
            EXPECT_NO_THROW(u->Undo());
            EXPECT_EQ(g.Cells(c.Hidden, 2), "old");
            EXPECT_EQ(u->Level(), 0);
            EXPECT_EQ(g.Col(), c.Expected);
            EXPECT_EQ(g.Row(), 2);
            EXPECT_NO_THROW(u->Redo());
            EXPECT_EQ(g.Cells(c.Hidden, 2), "new");
            EXPECT_EQ(u->Level(), 1);
        }
    }
}

} // namespace

namespace {

// Records the blocks of shown cells invalidated.
struct TRepaintLogGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::vector<TGridRect> Invalidated;
    void InvalidateGridRect(const TGridRect& r) override
    {
        Invalidated.push_back(r);
        TExStringGrid::InvalidateGridRect(r);
    }
};

// A merged area beside or around a hidden column shows, paints, repaints and
// is stepped over as one cell over its shown columns; the column after it
// keeps its own cell.
TEST(ExGridCols, MergedAreasWithHiddenColumnsShowOverTheirShownColumns)
{
    struct Case {
        const char* Name;
        int Hidden, From, Count; // real columns; the area is in row 1
        int Left, Right; // where it shows
    };
    const Case cases[] = {
        { "hidden column before the area", 1, 2, 2, 1, 2 },
        { "hidden column inside the area", 2, 1, 3, 1, 2 },
        { "hidden last column of the area", 3, 1, 3, 1, 2 },
        { "hidden base column", 1, 1, 2, 1, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGridOnForm<TRepaintLogGrid> f(7, 4, 400, 120);
        TRepaintLogGrid& g = *f.Grid;
        paintprobe::PlainWhite(&g);
        g.SetColWidths(c.From + c.Count - 1, 70);
        for (int col = c.From; col < c.From + c.Count; ++col)
            g.SetColors(col, 1, clRed);
        g.MergeCells(c.From, 1, c.Count, 1);
        g.HideColumn(c.Hidden);
        const int after = c.Right + 1;

        // Row 0 has no merged cells: it gives each shown column's place.
        const TRect left = g.CellRect(c.Left, 0), right = g.CellRect(c.Right, 0);
        const TRect area(left.Left, g.CellRect(0, 1).Top, right.Right, g.CellRect(0, 1).Bottom);
        for (int d = c.Left; d <= c.Right; ++d)
            EXPECT_EQ(g.CellRect(d, 1), area) << d;
        EXPECT_EQ(
            g.CellRect(after, 1), TRect(g.CellRect(after, 0).Left, area.Top, g.CellRect(after, 0).Right, area.Bottom));
        // Sizes are asked for by the store's column.
        EXPECT_EQ(g.CellSize(c.From, 1), TPoint(area.Width(), area.Height()));
        EXPECT_EQ(g.CellSize(g.RealColIndex(after), 1), TPoint(g.CellRect(after, 0).Width(), area.Height()));

        const QImage img = g.PaintToImage();
        const int y = (area.Top + area.Bottom) / 2;
        for (int d = c.Left; d <= c.Right; ++d) {
            const TRect r = g.CellRect(d, 0);
            EXPECT_EQ(img.pixel((r.Left + r.Right) / 2, y), QColor(Qt::red).rgb()) << d;
        }
        const TRect a = g.CellRect(after, 0);
        EXPECT_EQ(img.pixel((a.Left + a.Right) / 2, y), QColor(Qt::white).rgb());

        // A repaint of any shown cell of the area repaints all of it, and
        // only it for the cell after it.
        for (int d = c.Left; d <= c.Right; ++d) {
            g.Invalidated.clear();
            g.RepaintCell(d, 1);
            ASSERT_FALSE(g.Invalidated.empty());
            EXPECT_EQ(g.Invalidated.back(), (TGridRect { c.Left, 1, c.Right, 1 })) << d;
        }
        g.Invalidated.clear();
        g.RepaintCell(after, 1);
        ASSERT_FALSE(g.Invalidated.empty());
        EXPECT_EQ(g.Invalidated.back(), (TGridRect { after, 1, after, 1 }));

        // Right steps over the area, Left comes back to its first shown
        // cell, and a covered cell made current moves there too.
        g.SetCol(c.Left);
        g.SetRow(1);
        input::Key(&g, VK_RIGHT);
        EXPECT_EQ(g.Col(), after);
        input::Key(&g, VK_LEFT);
        EXPECT_EQ(g.Col(), c.Left);
        g.SetCol(c.Right);
        g.MoveToBaseCell();
        EXPECT_EQ(g.Col(), c.Left);
    }
}

} // namespace
