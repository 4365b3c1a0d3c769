// The string grid's automatic sizing of columns and rows, fitting the columns
// to the control, sizing the control to its cells, and swapping columns and
// rows. Expected text extents come from a canvas of their own, set to the
// font the cell shows in.

#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/PlatformInfo.h"

#include <memory>

namespace {

using TGrid = TGridOnForm<TExStringGrid>;

// The width of Text in the font given, measured by a canvas of its own.
int TextWidthIn(const TFont* Font, const QString& Text, int ExtraPoints = 0)
{
    TBitmap bmp;
    bmp.SetSize(10, 10);
    TCanvas* cv = bmp.Canvas();
    cv->Font()->Assign(Font);
    if (ExtraPoints != 0)
        cv->Font()->SetSize(cv->Font()->Size() + ExtraPoints);
    return cv->TextWidth(Text);
}

int LineHeightIn(const TFont* Font)
{
    TBitmap bmp;
    bmp.SetSize(10, 10);
    TCanvas* cv = bmp.Canvas();
    cv->Font()->Assign(Font);
    return cv->TextHeight(QStringLiteral("gh"));
}

// Text width + 2 x the default offset + 2 x the line width + 2.
constexpr int Margin = 4 + 2 + 2;

// Column 1 of a 3 x 5 grid (one fixed row, one fixed column) with a short
// header, a long and a short body text and a footer-like last row.
struct TSizingGrid : TGrid {
    TSizingGrid()
        : TGrid(3, 5, 400, 200)
    {
        Grid->SetCells(1, 0, QStringLiteral("Head"));
        Grid->SetCells(1, 1, QStringLiteral("A much longer body text"));
        Grid->SetCells(1, 2, QStringLiteral("short"));
        Grid->SetCells(1, 4, QStringLiteral("The last row's rather wide text, wider still"));
    }
    int Body(const QString& s) const { return TextWidthIn(Grid->Font(), s); }
    int Fixed(const QString& s) const { return TextWidthIn(Grid->FixedFont(), s); }
};

// A text the canvas measures exactly Width pixels wide in Font, built of two
// letters (advances add up: the fonts measure without kerning); empty if none.
QString TextOfWidth(const TFont* Font, int Width)
{
    const QString letters = QStringLiteral("xilmW.");
    for (const QChar a : letters)
        for (const QChar b : letters)
            for (int na = 1; na <= Width; ++na) {
                const QString left(na, a);
                if (TextWidthIn(Font, left) > Width)
                    break;
                for (int nb = 0; nb <= Width; ++nb) {
                    const QString s = left + QString(nb, b);
                    const int w = TextWidthIn(Font, s);
                    if (w == Width)
                        return s;
                    if (w > Width)
                        break;
                }
            }
    return QString();
}

TEST(ExGridSizing, AutoSizeColIsTheWidestTextPlusMargins)
{
    TSizingGrid g;
    g.Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(g.Grid->ColWidths(1), g.Body(g.Grid->Cells(1, 4)) + Margin);

    // The widest text 50 pixels wide: 50 + 4 + 2 + 2.
    const QString fifty = TextOfWidth(g.Grid->Font(), 50);
    ASSERT_FALSE(fifty.isEmpty());
    g.Grid->SetCells(2, 1, fifty);
    g.Grid->SetCells(2, 2, QStringLiteral("i"));
    g.Grid->AutoSizeCol(2, 0);
    EXPECT_EQ(g.Grid->ColWidths(2), 58);

    // The sort column's header leaves room for the sort glyph.
    g.Grid->SetCells(2, 0, fifty + fifty);
    g.Grid->SortSettings()->SetShow(true);
    g.Grid->SortSettings()->Column = 2;
    g.Grid->AutoSizeCol(2, 0);
    EXPECT_EQ(g.Grid->ColWidths(2), g.Fixed(fifty + fifty) + Margin + 10);
    g.Grid->SortSettings()->Column = 1;
    g.Grid->AutoSizeCol(2, 0);
    EXPECT_EQ(g.Grid->ColWidths(2), g.Fixed(fifty + fifty) + Margin);

    // A 50 pixel wide picture in an empty cell: 50 + 4 + 2 + 2.
    TGrid p(2, 2, 300, 100);
    p.Grid->SetFixedRows(0);
    p.Grid->SetFixedCols(0);
    TBitmap bmp;
    bmp.SetSize(50, 12);
    p.Grid->AddBitmap(0, 1, &bmp, false, haLeft, vaTop);
    p.Grid->AutoSizeCol(0, 0);
    EXPECT_EQ(p.Grid->ColWidths(0), 58);
    // Padding is added on top.
    p.Grid->AutoSizeCol(0, 7);
    EXPECT_EQ(p.Grid->ColWidths(0), 65);
}

TEST(ExGridSizing, AutoSizeColFollowsRowsSettingAndLimits)
{
    struct TCase {
        const char* name;
        TAutoSizeRows rows;
        int minW, maxW;
        bool growOnly;
        int startW;
        int expectedRow; // the row whose text decides; -1: a limit or the start width
        int expected;
    };
    TSizingGrid probe;
    const int header = probe.Fixed(QStringLiteral("Head")) + Margin;
    const int longest = probe.Body(probe.Grid->Cells(1, 4)) + Margin;
    const int body = probe.Body(probe.Grid->Cells(1, 1)) + Margin;
    const TCase cases[] = {
        { "fixed rows only", TAutoSizeRows::arFixed, 0, 0, false, 50, 0, header },
        { "normal rows skip the footer", TAutoSizeRows::arNormal, 0, 0, false, 50, 1, body },
        { "max caps", TAutoSizeRows::arAll, 0, 100, false, 50, -1, 100 },
        { "min 0 does not limit", TAutoSizeRows::arFixed, 0, 0, false, 300, 0, header },
        { "min raises", TAutoSizeRows::arFixed, 200, 0, false, 50, -1, 200 },
        { "grow only keeps a wider column", TAutoSizeRows::arAll, 0, 0, true, 900, -1, 900 },
        { "grow only widens a narrower one", TAutoSizeRows::arAll, 0, 0, true, 20, 4, longest },
        { "without grow only a wide column shrinks", TAutoSizeRows::arAll, 0, 0, false, 900, 4, longest },
    };
    for (const TCase& c : cases) {
        TSizingGrid g;
        g.Grid->SetFixedFooters(1);
        g.Grid->ColumnSize()->Rows = c.rows;
        g.Grid->SetMinColWidth(c.minW);
        g.Grid->SetMaxColWidth(c.maxW);
        g.Grid->SetSizeGrowOnly(c.growOnly);
        g.Grid->SetColWidths(1, c.startW);
        g.Grid->AutoSizeCol(1, 0);
        EXPECT_EQ(g.Grid->ColWidths(1), c.expected) << c.name;
    }
}

TEST(ExGridSizing, AutoSizeColMeasuresCellFontsMarkupLinesAndHiddenColumns)
{
    TGrid g(4, 3, 400, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    // A cell with a font of its own is measured in it.
    grid->SetCells(0, 1, QStringLiteral("Bigger"));
    grid->SetFontSizes(0, 1, grid->Font()->Size() + 6);
    grid->AutoSizeCol(0, 0);
    EXPECT_EQ(grid->ColWidths(0), TextWidthIn(grid->Font(), QStringLiteral("Bigger"), 6) + Margin);

    // Several lines: the longest one counts.
    grid->SetMultilinecells(true);
    grid->SetCells(1, 0, QStringLiteral("ab\r\nthe longest line\r\ncd"));
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), TextWidthIn(grid->Font(), QStringLiteral("the longest line")) + Margin);

    // Mark-up is measured as shown, not as written.
    grid->SetCells(2, 0, QStringLiteral("<B></B>plain"));
    grid->AutoSizeCol(2, 0);
    EXPECT_LT(grid->ColWidths(2), TextWidthIn(grid->Font(), grid->Cells(2, 0)) + Margin);

    // Displayed column 1 is real column 2 while column 1 is hidden.
    grid->SetCells(1, 0, QStringLiteral("x"));
    grid->HideColumn(1);
    grid->SetCells(2, 0, QStringLiteral("Real column two"));
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), TextWidthIn(grid->Font(), QStringLiteral("Real column two")) + Margin);

    // The application may change the width before the limits apply.
    grid->SetMaxColWidth(150);
    grid->OnUpdateColumnSize = [](TObject*, int, int& w) { w = 1000; };
    grid->AutoSizeCol(0, 0);
    EXPECT_EQ(grid->ColWidths(0), 150);
}

TEST(ExGridSizing, AutoSizeColumnsSizesNormalOrAllColumns)
{
    TSizingGrid g;
    g.Grid->SetCells(0, 1, QStringLiteral("row header text"));
    g.Grid->AutoSizeColumns(false, 3);
    EXPECT_EQ(g.Grid->ColWidths(0), 50);
    EXPECT_EQ(g.Grid->ColWidths(1), g.Body(g.Grid->Cells(1, 4)) + Margin + 3);
    g.Grid->AutoSizeColumns(true, 0);
    EXPECT_EQ(g.Grid->ColWidths(0), g.Fixed(QStringLiteral("row header text")) + Margin);
}

// Switching AutoSize on sizes the normal columns with 10 pixels to spare.
TEST(ExGridSizing, AutoSizeOnSizesTheNormalColumns)
{
    TSizingGrid g;
    g.Grid->SetAutoSize(true);
    EXPECT_EQ(g.Grid->ColWidths(0), 50);
    EXPECT_EQ(g.Grid->ColWidths(1), g.Body(g.Grid->Cells(1, 4)) + Margin + 10);
}

TEST(ExGridSizing, AutoSizeRowsGivesLineCountsTheirHeight)
{
    TGrid g(3, 4, 300, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetWordWrap(false);
    grid->SetMultilinecells(true);
    grid->SetCells(1, 1, QStringLiteral("one\rtwo\rthree"));
    grid->SetCells(2, 2, QStringLiteral("one\rtwo"));
    grid->AutoSizeRows(false, 0);
    const int h = LineHeightIn(grid->Font());
    EXPECT_EQ(grid->RowHeights(1), 3 * (h + h / 8));
    EXPECT_EQ(grid->RowHeights(2), 2 * (h + h / 8));
    EXPECT_EQ(grid->RowHeights(3), h + h / 8);
    EXPECT_EQ(grid->RowHeights(0), 20); // the fixed row stays
    grid->AutoSizeRows(true, 4);
    EXPECT_EQ(grid->RowHeights(0), 4 + h + h / 8);
    EXPECT_EQ(grid->RowHeights(1), 4 + 3 * (h + h / 8));

    // Without Multilinecells every row is one line high, limits held.
    grid->SetMultilinecells(false);
    grid->SetMinRowHeight(30);
    grid->AutoSizeRows(false, 0);
    EXPECT_EQ(grid->RowHeights(1), std::max(30, h + h / 8));
}

TEST(ExGridSizing, AutoSizeRowMeasuresTextAndCheckBoxes)
{
    TGrid g(3, 3, 300, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetDefaultRowHeight(20);
    grid->SetMultilinecells(true);
    grid->SetWordWrap(false);
    grid->SetCells(1, 1, QStringLiteral("a\rb\rc\rd"));
    grid->AutoSizeRow(1, 0);
    const int h = LineHeightIn(grid->Font());
    EXPECT_EQ(grid->RowHeights(1), 4 * h + 4 + 2);
    // A check box needs the default row height, whatever its text.
    grid->AddCheckBox(1, 2, true, false);
    grid->SetRowHeights(2, 80);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), 20 + 4 + 2);
    // Grow only leaves a higher row alone.
    grid->SetSizeGrowOnly(true);
    grid->SetRowHeights(2, 80);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), 80);
}

TEST(ExGridSizing, AutoSizeCellsOnlyGrows)
{
    TGrid g(3, 3, 300, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetCells(1, 1, QStringLiteral("a rather long text for column one"));
    grid->SetCells(2, 2, QStringLiteral("x"));
    grid->AutoSizeCells(false, 5, 1);
    EXPECT_EQ(grid->ColWidths(1), TextWidthIn(grid->Font(), grid->Cells(1, 1)) + 5 + 2);
    // Without SizeGrowOnly a column starts from nothing, so it may narrow.
    EXPECT_EQ(grid->ColWidths(2), TextWidthIn(grid->Font(), QStringLiteral("x")) + 5 + 2);
    EXPECT_EQ(grid->ColWidths(0), 50);
    EXPECT_EQ(grid->RowHeights(1), std::max(20, LineHeightIn(grid->Font()) + 1 + 2));
    EXPECT_EQ(grid->UpdateCount(), 0);
}

// A borderless grid without grid lines, Width wide, so that the room is the width.
struct TFitGrid : TGrid {
    explicit TFitGrid(int cols, int width = 300)
        : TGrid(cols, 3, width, 200)
    {
        Grid->SetBorderStyle(bsNone);
        Grid->SetFixedCols(0);
        Grid->SetOptions(Grid->Options() & ~TGridOptions(goVertLine) & ~TGridOptions(goFixedVertLine));
    }
};

TEST(ExGridSizing, AutoFitColumnsFillsTheWidth)
{
    {
        TFitGrid g(2);
        g.Grid->SetColWidths(0, 100);
        g.Grid->SetColWidths(1, 50);
        g.Grid->AutoFitColumns(false);
        EXPECT_EQ(g.Grid->ColWidths(0), 200);
        EXPECT_EQ(g.Grid->ColWidths(1), 100);
    }
    {
        // Columns of no width share the room evenly.
        TFitGrid g(3);
        for (int c = 0; c < 3; ++c)
            g.Grid->SetColWidths(c, 0);
        g.Grid->AutoFitColumns(true);
        EXPECT_EQ(g.Grid->ColWidths(0), 100);
        EXPECT_EQ(g.Grid->ColWidths(1), 100);
        EXPECT_EQ(g.Grid->ColWidths(2), 100);
    }
    {
        // Rounding's rest goes to the widest column.
        TFitGrid g(3, 301);
        for (int c = 0; c < 3; ++c)
            g.Grid->SetColWidths(c, 10);
        g.Grid->SetColWidths(1, 20);
        g.Grid->AutoFitColumns(true);
        EXPECT_EQ(g.Grid->ColWidths(0) + g.Grid->ColWidths(1) + g.Grid->ColWidths(2), 301);
        EXPECT_EQ(g.Grid->ColWidths(0), 75);
        EXPECT_EQ(g.Grid->ColWidths(1), 151);
    }
    {
        // Fixed columns keep their width and take their share of the room.
        TFitGrid g(3);
        g.Grid->SetFixedCols(1);
        g.Grid->SetColWidths(0, 60);
        g.Grid->SetColWidths(1, 30);
        g.Grid->SetColWidths(2, 90);
        g.Grid->AutoFitColumns(false);
        EXPECT_EQ(g.Grid->ColWidths(0), 60);
        EXPECT_EQ(g.Grid->ColWidths(1), 60);
        EXPECT_EQ(g.Grid->ColWidths(2), 180);
    }
    {
        // One column: the width less 5.
        TFitGrid g(1);
        g.Grid->AutoFitColumns(false);
        EXPECT_EQ(g.Grid->ColWidths(0), 295);
    }
}

TEST(ExGridSizing, AutoFitColumnsWithBorderLinesAndBarFitsTheClientArea)
{
    // A single border, grid lines (painted inside the cells) and a shown
    // vertical bar: the cells end at the client edge.
    TGrid g(3, 40, 300, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetFixedCols(0);
    ASSERT_EQ(grid->BorderStyle(), bsSingle);
    grid->AutoFitColumns(true);
    EXPECT_EQ(grid->ColWidths(0) + grid->ColWidths(1) + grid->ColWidths(2), grid->ClientWidth());
    EXPECT_EQ(grid->GridWidth(), grid->ClientWidth());
}

TEST(ExGridSizing, SizeToCellsFitsTheControlToItsCells)
{
    TGrid g(3, 4, 400, 300);
    TExStringGrid* grid = g.Grid;
    grid->SetColWidths(1, 70);
    grid->SetRowHeights(2, 33);
    const TScrollStyle bars = grid->ScrollBars();
    grid->SizeToCells();
    EXPECT_EQ(grid->ClientWidth(), 50 + 70 + 50);
    EXPECT_EQ(grid->ClientHeight(), 3 * 20 + 33);
    EXPECT_EQ(grid->GridWidth(), grid->ClientWidth());
    EXPECT_EQ(grid->ScrollBars(), bars);
}

TEST(ExGridSizing, SwapColumnsMovesCellsWidthsAndTheSortColumn)
{
    TGrid g(4, 3, 400, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetCells(1, 1, QStringLiteral("one"));
    grid->SetCells(3, 1, QStringLiteral("three"));
    grid->SetColors(3, 2, TColor(0x00FF00));
    grid->SetColWidths(1, 31);
    grid->SetColWidths(3, 73);
    grid->SortSettings()->Column = 1;
    grid->SwapColumns(1, 3);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("three"));
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("one"));
    EXPECT_EQ(grid->Colors(1, 2), TColor(0x00FF00));
    EXPECT_FALSE(grid->HasCellProperties(3, 2));
    EXPECT_EQ(grid->ColWidths(1), 73);
    EXPECT_EQ(grid->ColWidths(3), 31);
    EXPECT_EQ(grid->SortSettings()->Column, 3);
    grid->SwapColumns(3, 2);
    EXPECT_EQ(grid->SortSettings()->Column, 2);
    // A column beyond the grid changes nothing.
    grid->SwapColumns(2, 9);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("one"));
}

TEST(ExGridSizing, SwapColumnsTakesHiddenStateAndHiddenRowsAlong)
{
    TGrid g(4, 4, 400, 200);
    TExStringGrid* grid = g.Grid;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            grid->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    grid->SetColWidths(1, 31);
    grid->SetColWidths(3, 73);
    grid->HideColumn(1);
    grid->HideRow(2);
    grid->SwapColumns(1, 3);
    // Real column 3 is now the hidden one, with the width column 1 had.
    EXPECT_TRUE(grid->IsHiddenColumn(3));
    EXPECT_FALSE(grid->IsHiddenColumn(1));
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->ColWidths(1), 73);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("3:1"));
    grid->UnHideRow(2);
    grid->UnHideColumnsAll();
    EXPECT_EQ(grid->ColWidths(3), 31);
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("1:1"));
    EXPECT_EQ(grid->Cells(3, 2), QStringLiteral("1:2"));
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("3:2"));
}

TEST(ExGridSizing, SwapRowsMovesCellsAndHeightsOnly)
{
    TGrid g(3, 5, 400, 200);
    TExStringGrid* grid = g.Grid;
    grid->SetCells(0, 1, QStringLiteral("first"));
    grid->SetCells(2, 3, QStringLiteral("third"));
    grid->SetColors(1, 3, TColor(0x0000FF));
    grid->SetRowHeights(1, 25);
    grid->SetRowHeights(3, 41);
    grid->SwapRows(1, 3);
    EXPECT_EQ(grid->Cells(0, 3), QStringLiteral("first"));
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("third"));
    EXPECT_TRUE(grid->Cells(0, 1).isEmpty());
    EXPECT_EQ(grid->Colors(1, 1), TColor(0x0000FF));
    EXPECT_FALSE(grid->HasCellProperties(1, 3));
    EXPECT_EQ(grid->RowHeights(1), 41);
    EXPECT_EQ(grid->RowHeights(3), 25);
}

TEST(ExGridSizing, SwapRowsSplitsAreasReachingOverTheRows)
{
    TGrid g(3, 5, 400, 200);
    TExStringGrid* grid = g.Grid;
    grid->MergeCells(1, 1, 1, 2);
    grid->SetCells(1, 1, QStringLiteral("merged"));
    grid->SwapRows(2, 4);
    EXPECT_FALSE(grid->IsMergedCell(1, 1));
    EXPECT_FALSE(grid->IsMergedCell(1, 4));
    EXPECT_EQ(grid->GetCellEx(1, 4), QString());
    EXPECT_EQ(grid->GetCellEx(1, 1), QStringLiteral("merged"));
}

} // namespace
