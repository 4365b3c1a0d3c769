// Cell painting: the layer and event order, text placement measured with the
// canvas, focus rectangle, cell buttons, borders, the formatted display text
// and text measuring.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/DrawText.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"
#include "tests/controls/grid/PaintProbe.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <set>

namespace {

using paintprobe::Dark;
using paintprobe::InkSpan;
using Grid = TGridOnForm<TExStringGrid>;

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return TColor(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

// The grid's normal-cell font on a canvas of the same device, for expected widths.
int MeasuredWidth(TExStringGrid* g, const QString& s)
{
    g->Canvas()->SetFont(g->Font());
    return g->Canvas()->TextWidth(s);
}

// A white grid without fixed cells or focus rectangle: only the cells' own ink shows.
TExStringGrid* PlainWhite(Grid& f)
{
    return paintprobe::PlainWhite(f.Grid);
}

} // namespace

TEST(ExGridPaint, EventsRunInLayerOrderWithTheRealColumn)
{
    Grid f(4, 3, 300, 100);
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->HideColumn(1);
    std::vector<std::pair<QString, int>> calls;
    g->OnCustomCellBkgDraw = [&](TObject*, TCanvas*, int ACol, int ARow, TGridDrawState, const TRect&, bool p) {
        EXPECT_FALSE(p);
        if (ARow == 1)
            calls.push_back({ "bkg", ACol });
    };
    g->OnDrawCell = [&](TObject*, int ACol, int ARow, const TRect&, TGridDrawState) {
        if (ARow == 1)
            calls.push_back({ "draw", ACol });
    };
    g->OnCustomCellDraw = [&](TObject*, TCanvas*, int ACol, int ARow, TGridDrawState, const TRect&, bool) {
        if (ARow == 1)
            calls.push_back({ "custom", ACol });
    };
    g->PaintToImage();
    // Displayed column 1 is real column 2 once column 1 is hidden.
    std::vector<std::pair<QString, int>> c2;
    for (const auto& c : calls)
        if (c.second == 2)
            c2.push_back(c);
    ASSERT_EQ(c2.size(), 3u);
    EXPECT_EQ(c2[0].first, "bkg");
    EXPECT_EQ(c2[1].first, "draw");
    EXPECT_EQ(c2[2].first, "custom");
    for (const auto& c : calls)
        EXPECT_NE(c.second, 1) << "a hidden column is never painted";
}

TEST(ExGridPaint, TextPlacementFollowsAlignmentAndTheCanvasMeasure)
{
    Grid f(3, 3, 300, 100);
    TExStringGrid* g = PlainWhite(f);
    g->SetDefaultColWidth(100);
    g->SetCells(1, 1, "Wide text");
    const TRect cell = g->CellRect(1, 1);
    const int w = MeasuredWidth(g, "Wide text");
    const int off = g->XYOffset().X;
    struct Case {
        TAlignment a;
        int expectLeft;
    } cases[] = {
        { taLeftJustify, cell.Left + g->GridLineWidth() + off },
        { taRightJustify, cell.Right - g->GridLineWidth() - off - w },
        { taCenter, 0 },
    };
    for (const Case& c : cases) {
        g->OnGetAlignment = [&](TObject*, int, int, TAlignment& H, TVAlignment&) { H = c.a; };
        const QImage img = g->PaintToImage();
        const auto [lo, hi] = InkSpan(img, cell);
        ASSERT_GE(lo, 0);
        if (c.a == taCenter) {
            const int mid = (lo + hi) / 2;
            EXPECT_NEAR(mid, (cell.Left + cell.Right) / 2, 3);
        } else {
            EXPECT_NEAR(lo, c.expectLeft, 2) << int(c.a);
        }
        EXPECT_NEAR(hi - lo + 1, w, 3);
    }
}

TEST(ExGridPaint, OneLineTextIsCutAtItsFirstLineBreak)
{
    Grid f(3, 3, 300, 120);
    TExStringGrid* g = f.Grid;
    g->SetDefaultColWidth(100);
    g->SetDefaultRowHeight(40);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetWordWrap(false);
    g->SetHideFocusRect(true);
    g->SetCells(1, 1, "top\r\nbottom");
    const TRect cell = g->CellRect(1, 1);
    g->Canvas()->SetFont(g->Font());
    const int lh = g->Canvas()->TextHeight("gh");
    QImage img = g->PaintToImage();
    const TRect below(cell.Left, cell.Top + g->XYOffset().Y + lh + 2, cell.Right - 2, cell.Bottom - 2);
    EXPECT_EQ(InkSpan(img, below).first, -1);
    // With multi-line cells both lines show.
    g->SetMultilinecells(true);
    img = g->PaintToImage();
    EXPECT_GE(InkSpan(img, below).first, 0);
}

TEST(ExGridPaint, FocusRectangleOnlyOnTheFocusedCellOutsideRowSelect)
{
    Grid f(3, 3, 200, 80);
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetSelectionColor(clWhite);
    g->SetColor(clWhite);
    g->SetRow(1);
    g->SetCol(1);
    g->SetHideFocusRect(true);
    const QImage without = g->PaintToImage();
    g->SetHideFocusRect(false);
    ASSERT_TRUE(g->Focused());
    const QImage with = g->PaintToImage();
    EXPECT_NE(with, without);
    g->SetOptions(g->Options() | goRowSelect);
    g->SetHideFocusRect(true);
    const QImage rowSelNoRect = g->PaintToImage();
    g->SetHideFocusRect(false);
    EXPECT_EQ(g->PaintToImage(), rowSelNoRect);
}

TEST(ExGridPaint, FocusFrameOfAnAreaTallerThanTheScreenDotsItsShownSidesOnly)
{
    // The current cell is the base of an area of 20,000 rows, scrolled to its
    // middle: of its frame only the two sides show, dotted down the screen.
    Grid f(4, 20001, 300, 200);
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetSelectionColor(clWhite);
    g->SetColor(clWhite);
    g->MergeCells(2, 1, 1, 20000);
    g->SetCol(2);
    g->SetRow(1);
    g->SetTopRow(10000);
    ASSERT_TRUE(g->Focused());
    ASSERT_EQ(g->TopRow(), 10000);
    g->SetHideFocusRect(true);
    const QImage without = g->PaintToImage();
    g->SetHideFocusRect(false);
    const QImage with = g->PaintToImage();
    testutil::SaveImagePng(with, QStringLiteral("focus_frame_tall_area"));
    // The frame's columns: two, inside the area, and nothing else changes.
    const TRect area = g->CellRect(2, 10000);
    std::set<int> columns;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                columns.insert(x);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_GE(*columns.begin(), area.Left);
    EXPECT_LT(*columns.rbegin(), area.Right);
    EXPECT_GT(*columns.rbegin() - *columns.begin(), area.Width() / 2);
    // Each is dotted from below the fixed row down to the bottom of the client.
    const int top = g->CellRect(1, 0).Bottom + g->GridLineWidth();
    const int bottom = g->ClientRect().Bottom;
    for (const int x : columns) {
        int first = -1, last = -1;
        for (int y = 0; y < with.height(); ++y)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                first = first < 0 ? y : first;
                last = y;
            }
        EXPECT_LE(first, top + 1) << x;
        EXPECT_GE(last, bottom - 4) << x;
        for (int y = first; y < last; ++y)
            ASSERT_NE(with.pixel(x, y) == without.pixel(x, y), with.pixel(x, y + 1) == without.pixel(x, y + 1))
                << x << "," << y;
    }
}

TEST(ExGridPaint, AlwaysVisibleButtonsTakeSixteenPixelsEach)
{
    Grid f(3, 3, 300, 80);
    TExStringGrid* g = PlainWhite(f);
    g->SetDefaultColWidth(120);
    g->SetCells(1, 1, "abc");
    g->OnGetAlignment = [](TObject*, int, int, TAlignment& H, TVAlignment&) { H = taRightJustify; };
    const TRect cell = g->CellRect(1, 1);
    const int plainLeft = InkSpan(g->PaintToImage(), cell).first;
    bool combo = false, spin = false;
    g->OnHasComboBox = [&](TObject*, int, int, bool& v) { v = combo; };
    g->OnHasSpinEdit = [&](TObject*, int, int, bool& v) { v = spin; };
    g->ControlLook()->SetDropDownAlwaysVisible(true);
    g->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    for (auto [c, s, shift] : { std::tuple { true, false, 16 }, { false, true, 16 }, { true, true, 32 } }) {
        combo = c;
        spin = s;
        const QImage img = g->PaintToImage();
        EXPECT_NEAR(InkSpan(img, cell).first, plainLeft - shift, 1) << c << s;
    }
}

TEST(ExGridPaint, CellBordersFromTheQuery)
{
    Grid f(3, 3, 200, 80);
    TExStringGrid* g = PlainWhite(f);
    g->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TExStringGrid::TCellBorders& B) {
        if (ACol == 1 && ARow == 1) {
            APen->SetColor(clRed);
            B = TCellBorder::cbTop;
            B |= TCellBorder::cbBottom;
        }
    };
    int bottomSeen = 0;
    g->OnGetCellBorderProp = [&](TObject*, int, int, TPen*, TPen*, TPen*, TPen* Bottom) {
        Bottom->SetColor(clBlue);
        ++bottomSeen;
    };
    const QImage img = g->PaintToImage();
    const TRect cell = g->CellRect(1, 1);
    const int x = (cell.Left + cell.Right) / 2;
    bool red = false, blue = false, side = false;
    for (int y = cell.Top - 2; y <= cell.Bottom + 1; ++y) {
        red |= PixelAt(img, x, y) == clRed;
        blue |= PixelAt(img, x, y) == clBlue;
    }
    for (int xx = cell.Left - 1; xx < cell.Right + 1; ++xx)
        side |= PixelAt(img, xx, (cell.Top + cell.Bottom) / 2) == clRed;
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
    EXPECT_FALSE(side) << "no left or right border was asked for";
    EXPECT_GT(bottomSeen, 0);
}

TEST(ExGridPaint, FormattedCellText)
{
    Grid f(3, 3, 200, 80);
    TExStringGrid* g = f.Grid;
    struct Case {
        QString text, format, expect;
        bool isFloat;
    } cases[] = {
        { "3.14159", "%.2f", "3.14", true },
        { "42", "%5d", "   42", true },
        { "abc", "%.2f", "abc", true }, // not a number: never formatted
        { "3.14159", "%s", "3.14159", true }, // the format does not fit: raw text
        { "3.14159", "%.2f", "3.14159", false },
        { "1E3", "%.1f", "1000.0", true },
    };
    for (const Case& c : cases) {
        g->OnGetFloatFormat = [&](TObject*, int, int, bool& IsFloat, QString& Fmt) {
            IsFloat = c.isFloat;
            Fmt = c.format;
        };
        g->SetCells(1, 1, c.text);
        EXPECT_EQ(g->GetFormattedCell(1, 1), c.expect) << c.text.toStdString() << " " << c.format.toStdString();
    }
    g->OnGetFloatFormat = nullptr;
    EXPECT_EQ(g->GetFormattedCell(1, 1), "1E3");
}

TEST(ExGridPaint, MeasureCellText)
{
    Grid f(3, 3, 200, 80);
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetMultilinecells(true);
    TCanvas* cv = g->Canvas();
    cv->SetFont(g->Font());
    const int lh = cv->TextHeight("gh");

    g->SetCells(1, 1, "Hello");
    EXPECT_EQ(g->GetCellTextSize(1, 1, false, false), TSize(cv->TextWidth("Hello"), lh));

    g->SetCells(1, 1, "a\r\nlonger line");
    EXPECT_EQ(g->GetCellTextSize(1, 1, false, false), TSize(cv->TextWidth("longer line"), 2 * lh));

    g->SetCells(1, 1, "<b>bold</b>");
    {
        cv->Font()->SetStyle(TFontStyle::fsBold);
        const int bw = cv->TextWidth("bold");
        cv->SetFont(g->Font());
        const TSize s = g->GetCellTextSize(1, 1, false, false);
        EXPECT_NEAR(s.cx, bw + 2, 1);
        EXPECT_GE(s.cy, lh);
    }

    // Rotated text measures its bounding box.
    const int w = cv->TextWidth("Turned");
    for (int angle : { 90, 45 }) {
        g->AddRotated(1, 2, short(angle), "Turned");
        const double a = angle * M_PI / 180.0;
        const int p = std::abs(int(std::trunc(w * std::cos(a)))), q = std::abs(int(std::trunc(lh * std::sin(a))));
        const int u = std::abs(int(std::trunc(w * std::sin(a)))), v = std::abs(int(std::trunc(lh * std::cos(a))));
        EXPECT_EQ(g->GetCellTextSize(1, 2, false, false), TSize(p + q + 12, u + v + 12)) << angle;
    }
    g->AddRotated(1, 2, 90, "Turned");
    EXPECT_EQ(g->GetCellTextSize(1, 2, false, false), TSize(lh + 12, w + 12));
}

// With a column hidden before it, a cell is measured in its own font, not in
// the font of the cell that shows at its displayed column.
TEST(ExGridPaint, MeasureCellTextReadsTheRealColumnsFont)
{
    Grid f(4, 2, 300, 80);
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetCells(2, 1, "Wide");
    g->SetFontSizes(2, 1, 24);
    g->HideColumn(1);
    TCanvas* cv = g->Canvas();
    cv->SetFont(g->Font());
    cv->Font()->SetSize(24);
    const TSize big(cv->TextWidth("Wide"), cv->TextHeight("gh"));
    EXPECT_EQ(g->MeasureCellText(2, 1, 1, false, false), big);
}

// Hidden columns: a cell's background, the rounded selection box and the
// grid's own colour stay with the column that shows, as its text does.
TEST(ExGridPaint, HiddenColumnsKeepTheBackgroundsWithTheirCells)
{
    Grid f(5, 3, 300, 80);
    TExStringGrid* g = PlainWhite(f);
    g->SetFixedColor(TColor(0x303030));
    g->SetColors(2, 0, clRed);
    g->SetColors(3, 0, clLime);
    g->SetSelectionStyle(TGridSelectionStyle::ssVista);
    g->HideColumn(1);
    // Displayed 1 is real 2, displayed 2 real 3, displayed 3 (the last) real 4.
    g->SetSelection({ 2, 1, 2, 1 });
    ASSERT_TRUE(g->Focused());
    const QImage img = g->PaintToImage();
    const auto inside = [&](int c, int r) {
        const TRect rc = g->CellRect(c, r);
        return PixelAt(img, rc.Left + 4, rc.Top + 4);
    };
    const auto topMid = [&](int c, int r) {
        const TRect rc = g->CellRect(c, r);
        return PixelAt(img, (rc.Left + rc.Right) / 2, rc.Top);
    };
    EXPECT_EQ(inside(0, 0), clWhite);
    EXPECT_EQ(inside(1, 0), clRed);
    EXPECT_EQ(inside(2, 0), clLime);
    EXPECT_EQ(inside(3, 0), clWhite) << "the last shown column is a normal column";
    EXPECT_EQ(inside(3, 1), clWhite);
    // The one selected cell carries the box, rounded at both ends; its left
    // neighbour stays plain.
    const TRect sel = g->CellRect(2, 1);
    EXPECT_EQ(topMid(2, 1), TColor(0xFDDE99));
    EXPECT_EQ(PixelAt(img, sel.Left, sel.Top), clWhite);
    EXPECT_EQ(PixelAt(img, sel.Left + 1, sel.Top), TColor(0xFCEDCB));
    EXPECT_EQ(topMid(1, 1), clWhite);
    EXPECT_EQ(inside(1, 1), clWhite);
}

// A node row's text keeps clear of its glyph whatever the node indent: the
// glyph's room grows by the indent at every level.
TEST(ExGridPaint, NodeRowTextMovesWithTheNodeIndent)
{
    const auto textEnd = [](int indent) {
        Grid f(2, 5, 300, 120);
        TExStringGrid* g = PlainWhite(f);
        g->SetDefaultColWidth(140);
        g->CellNode()->SetNodeIndent(indent);
        g->AddNode(0, 5);
        g->AddNode(1, 2);
        g->SetCells(0, 1, "Pump");
        EXPECT_EQ(g->GetNodeLevel(1), 2);
        return InkSpan(g->PaintToImage(), g->CellRect(0, 1)).second;
    };
    EXPECT_EQ(textEnd(20) - textEnd(12), 2 * 8);
}

// Tree lines in the tree's column stop short of the cell's text: from where
// the text begins the cell looks as it does without tree lines, for node
// rows and rows inside a node, with full and short branches.
TEST(ExGridPaint, TreeBranchesStopShortOfTheText)
{
    for (const bool full : { true, false }) {
        SCOPED_TRACE(full ? "full" : "short");
        QImage img[2];
        TRect cells[5];
        int treeEnd[5] = {};
        for (const bool tree : { false, true }) {
            Grid f(3, 5, 3 * 70 + 4, 5 * 20 + 4);
            TExStringGrid* g = f.Grid;
            paintprobe::FillTagTable(g, 70);
            g->AddNode(1, 4);
            g->AddNode(2, 2);
            g->CellNode()->SetShowTree(tree);
            g->CellNode()->SetShowTreeFull(full);
            g->SetHideFocusRect(true);
            img[tree] = g->PaintToImage();
            for (int r = 1; r < 5; ++r) {
                cells[r] = g->CellRect(0, r);
                treeEnd[r] = g->GetNodeIndent(r) + 4;
            }
        }
        for (int r = 1; r < 5; ++r) {
            SCOPED_TRACE(r);
            const TRect& cell = cells[r];
            // The text's first ink, above the fixed cell's dark lower edge.
            const int textLeft = InkSpan(img[false], TRect(treeEnd[r], cell.Top, cell.Right, cell.Bottom - 3)).first;
            ASSERT_GE(textLeft, 0);
            const QRect text(textLeft, cell.Top, cell.Right - textLeft, cell.Height());
            EXPECT_EQ(img[true].copy(text), img[false].copy(text));
        }
    }
}

// Row numbers in the tree's column: a number the indentation would cut moves
// back left as far as the end of the row's branch (the indentation plus 4),
// so a column just wide enough for that shows it whole.
TEST(ExGridPaint, IndentedNumbersThatWouldBeCutMoveBackToTheTree)
{
    const QString number = QStringLiteral("101");
    // The ink of row 1's number right of x, above the fixed cell's lower edge.
    const auto inkWidth = [&](bool nodes) {
        Grid f(2, 4, 2 * 90 + 4, 4 * 20 + 4);
        TExStringGrid* g = f.Grid;
        g->SetFixedCols(1);
        g->SetFixedRows(0);
        g->SetHideFocusRect(true);
        g->Canvas()->SetFont(g->FixedFont());
        const int treeEnd = 2 * g->CellNode()->NodeIndent() + 4;
        g->SetColWidths(0, treeEnd + g->Canvas()->TextWidth(number) + 3);
        for (int r = 0; r < 4; ++r)
            g->SetCells(0, r, number);
        if (nodes) {
            g->AddNode(0, 4);
            g->AddNode(1, 3);
            EXPECT_EQ(g->GetNodeLevel(1), 2);
        }
        const QImage img = g->PaintToImage();
        const TRect cell = g->CellRect(0, 1);
        const auto [lo, hi] = InkSpan(img, TRect(nodes ? treeEnd : cell.Left, cell.Top, cell.Right, cell.Bottom - 3));
        return hi - lo;
    };
    EXPECT_EQ(inkWidth(true), inkWidth(false));
}

TEST(ExGridPaint, PaintingCreatesNoCellProperties)
{
    Grid f(5, 20, 300, 200);
    TExStringGrid* g = f.Grid;
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    for (int r = 1; r < 20; ++r)
        g->SetCells(2, r, QString::number(r));
    g->PaintToImage();
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_FALSE(g->HasCellProperties(c, r)) << c << "," << r;
}

// A row's disabled text, modified marker and disjunct selection paint on the
// row itself once a row above it is hidden.
TEST(ExGridPaint, RowStatesPaintOnTheirRowPastHiddenRows)
{
    enum TState { Disabled, Modified, Selected };
    struct Case {
        const char* name;
        TState state;
        int col; // where the state shows
    };
    const Case cases[] = {
        { "disabled text", Disabled, 1 },
        { "modified marker", Modified, 0 },
        { "disjunct selection with enabled rows in use", Selected, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid f(3, 7, 300, 200);
        TExStringGrid* g = PlainWhite(f);
        g->SetFixedRows(1); // column 0 holds the modified marker
        g->SetFixedCols(1);
        for (int r = 1; r < 7; ++r)
            g->SetCells(1, r, QStringLiteral("WWW"));
        g->SetRow(6);
        switch (c.state) {
        case Disabled:
            g->SetDisabledFontColor(clRed);
            g->SetRowEnabled(3, false);
            break;
        case Modified:
            g->ShowModified()->Enabled = true;
            g->ShowModified()->SetColor(clRed);
            g->SetRowModified(3, true);
            break;
        case Selected:
            // Selected rows other than the current one are drawn 7 % lighter:
            // a red that stays red then.
            g->SetSelectionColor(TColor(0x0000C8));
            g->MouseActions()->SetDisjunctRowSelect(true);
            g->SetRowSelect(3, true);
            g->SetRowEnabled(5, true);
            break;
        }
        g->HideRow(1); // row 3 is now displayed as row 2
        const QImage img = g->PaintToImage();
        auto red = [&](int row) {
            const TRect r = g->CellRect(c.col, row);
            int n = 0;
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x) {
                    const QRgb px = img.pixel(x, y);
                    n += qRed(px) > 160 && qGreen(px) < 90 && qBlue(px) < 90;
                }
            return n;
        };
        EXPECT_GT(red(2), 5);
        for (int row : { 1, 3, 4 })
            EXPECT_EQ(red(row), 0) << row;
    }
}

TEST(ExGridPaint, GoldenCells)
{
    Grid f(4, 6, 320, 130);
    TExStringGrid* g = f.Grid;
    paintprobe::XPTableWithRedFrame(g);
    g->SetCells(1, 0, "Name");
    g->SetCells(2, 0, "Link");
    g->SetCells(3, 0, "Secret");
    g->SetCells(1, 1, "<b>bold</b> <i>it</i>");
    g->SetCells(2, 1, "http://example.org");
    g->SetCells(3, 1, "hidden");
    g->SetCells(1, 2, "plain text");
    g->OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& P) { P = ACol == 3 && ARow > 0; };
    g->SetRow(2);
    g->SetCol(1);
    EXPECT_TRUE(testutil::MatchesGolden(g->PaintToImage(), QStringLiteral("exgrid_paint_cells")));
}
