// A right-to-left grid: laid out from the right and painted mirrored, with
// its texts unturned and aligned from the right.

#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Bitmaps.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"
#include "tests/controls/grid/PaintProbe.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>

namespace {

using paintprobe::Dark;
using paintprobe::InkSpan;
using Grid = TGridOnForm<TExStringGrid>;

// Fixed cells, gradients, lines, a selection, a merged area and borders,
// without any text.
void DressWithoutText(TExStringGrid* g)
{
    g->SetDefaultColWidth(70);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetLook(TGridLook::glXP);
    g->SetHideFocusRect(true);
    g->SetActiveCellShow(true);
    g->MergeCells(2, 3, 2, 1);
    g->SetSelection({ 1, 1, 2, 2 });
    g->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TExStringGrid::TCellBorders& B) {
        if (ACol == 3 && ARow == 1) {
            APen->SetColor(clRed);
            B = TExStringGrid::TCellBorders(TCellBorder::cbLeft) | TCellBorder::cbTop;
        }
    };
}

// The same dressed grid painted left to right and right to left.
struct TBothWays {
    Grid Ltr, Rtl;
    QImage A, B;
    TBothWays(int cols, int rows, int w, int h, const std::function<void(TExStringGrid*)>& dress)
        : Ltr(cols, rows, w, h)
        , Rtl(cols, rows, w, h)
    {
        dress(Ltr.Grid);
        dress(Rtl.Grid);
        Rtl.Grid->SetBiDiMode(bdRightToLeft);
        A = Ltr.Grid->PaintToImage();
        B = Rtl.Grid->PaintToImage();
    }
};

} // namespace

TEST(ExGridPaintRtl, EverythingButTextIsTheMirrorImage)
{
    const TBothWays p(4, 5, 300, 110, DressWithoutText);
    ASSERT_EQ(p.Ltr.Grid->ClientWidth(), p.A.width()) << "the picture is the client";
    EXPECT_EQ(p.B, p.A.mirrored(true, false));
}

TEST(ExGridPaintRtl, LayoutHitTestsAndMergedAreasRunFromTheRight)
{
    Grid f(4, 5, 300, 110);
    TExStringGrid* g = f.Grid;
    g->SetDefaultColWidth(70);
    g->MergeCells(1, 2, 2, 1);
    const TRect l0 = g->CellRect(0, 0), lm = g->CellRect(1, 2);
    g->SetBiDiMode(bdRightToLeft);
    const int w = g->ClientWidth();
    for (auto [c, r, was] : { std::tuple { 0, 0, l0 }, { 1, 2, lm } }) {
        const TRect now = g->CellRect(c, r);
        EXPECT_EQ(now, TRect(w - was.Right, was.Top, w - was.Left, was.Bottom)) << c << "," << r;
    }
    const TGridCoord hit = g->MouseCoord(w - 5, 5);
    EXPECT_EQ(hit.X, 0);
    EXPECT_EQ(hit.Y, 0);
}

TEST(ExGridPaintRtl, TextsAlignFromTheRightAndKeepTheirGlyphs)
{
    Grid f(3, 3, 300, 100);
    TExStringGrid* g = paintprobe::PlainWhite(f.Grid);
    g->SetDefaultColWidth(100);
    g->SetCells(1, 1, "Wide text");
    const TRect cell = g->CellRect(1, 1);
    const QImage a = g->PaintToImage();
    const auto [lo, hi] = InkSpan(a, cell);
    g->SetBiDiMode(bdRightToLeft);
    const QImage b = g->PaintToImage();
    g->Canvas()->SetFont(g->Font());
    const int w = g->Canvas()->TextWidth("Wide text");
    const int boxLeft = cell.Left + g->GridLineWidth() + g->XYOffset().X;
    // The text box [boxLeft, boxLeft + w) moves to the mirrored cell's right
    // edge; the glyphs keep their order and shape inside it.
    const int shift = g->ClientWidth() - 2 * boxLeft - w;
    const TRect mirroredCell = g->CellRect(1, 1);
    const auto [rlo, rhi] = InkSpan(b, mirroredCell);
    EXPECT_EQ(rlo, lo + shift);
    EXPECT_EQ(rhi, hi + shift);
    EXPECT_EQ(b.copy(rlo, cell.Top, rhi - rlo + 1, cell.Height()), a.copy(lo, cell.Top, hi - lo + 1, cell.Height()));
}

// A mark-up cell is mirrored as a plain one is: its text sits at the same
// place as the same text in a plain cell, right to left as left to right.
TEST(ExGridPaintRtl, MarkupAlignsAsPlainText)
{
    for (const TBiDiMode mode : { bdLeftToRight, bdRightToLeft }) {
        SCOPED_TRACE(mode);
        Grid f(3, 3, 300, 100);
        TExStringGrid* g = paintprobe::PlainWhite(f.Grid);
        g->SetDefaultColWidth(100);
        g->SetCells(1, 0, "Wide text");
        g->SetCells(1, 1, "<B></B>Wide text");
        g->SetBiDiMode(mode);
        const QImage img = g->PaintToImage();
        const auto plain = InkSpan(img, g->CellRect(1, 0));
        const auto markup = InkSpan(img, g->CellRect(1, 1));
        ASSERT_GE(plain.first, 0);
        EXPECT_NEAR(markup.first, plain.first, 1);
        EXPECT_NEAR(markup.second, plain.second, 1);
    }
}

TEST(ExGridPaintRtl, GoldenRightToLeftGrid)
{
    Grid f(4, 6, 330, 130);
    TExStringGrid* g = f.Grid;
    paintprobe::XPTableWithRedFrame(g);
    g->SetBiDiMode(bdRightToLeft);
    const char* head[] = { "", "Name", "Value", "Unit" };
    for (int c = 0; c < 4; ++c)
        g->SetCells(c, 0, head[c]);
    g->SetCells(0, 1, "1");
    g->SetCells(0, 2, "2");
    g->SetCells(1, 1, "<b>bold</b> <i>it</i>");
    g->SetCells(2, 1, "4.25");
    g->SetCells(3, 1, "bar");
    g->SetCells(1, 2, "plain text");
    g->SetCells(2, 2, "81.5");
    g->SetCells(3, 2, "degC");
    g->OnGetAlignment = [](TObject*, int ARow, int ACol, TAlignment& H, TVAlignment&) {
        if (ACol == 2 && ARow > 0)
            H = taRightJustify;
    };
    g->SortSettings()->SetShow(true);
    g->SortSettings()->Column = 2;
    g->OnHasComboBox = [](TObject*, int ACol, int ARow, bool& v) { v = ACol == 3 && ARow == 2; };
    g->ControlLook()->SetDropDownAlwaysVisible(true);
    TBitmap ind;
    paintprobe::DrawRowIndicator(ind);
    g->SetRowIndicator(&ind);
    g->SetRow(2);
    g->SetCol(1);
    const QImage img = g->PaintToImage();
    testutil::SaveImagePng(img, "exgrid_paint_rtl");
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("exgrid_paint_rtl")));
}

// Check boxes, pictures and progress bars are placed by the mirrored canvas
// alone: each one's ink lies at the mirror image of its left-to-right place,
// not flipped back a second time inside its cell.
TEST(ExGridPaintRtl, GraphicsAreMirroredExactlyOnce)
{
    TBitmap swatch;
    QImage sq(12, 12, QImage::Format_RGB32);
    sq.fill(QColor(0, 0, 0));
    swatch.SetImage(sq);
    const auto dress = [&](TExStringGrid* g) {
        paintprobe::PlainWhite(g);
        g->SetShowSelection(false);
        g->SetBorderColor(clNone);
        g->SetDefaultColWidth(90);
        g->ControlLook()->SetControlStyle(TGridControlStyle::csClassic); // a dark frame to find
        g->AddCheckBox(0, 0, true, false);
        g->AddBitmap(1, 0, &swatch, false, haBeforeText, vaCenter);
        g->SetCells(2, 0, "30");
        g->AddProgress(2, 0, clBlue, clWhite);
    };
    const TBothWays p(3, 1, 280, 30, dress);
    const int w = p.A.width();
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        const auto [lo, hi] = InkSpan(p.A, p.Ltr.Grid->CellRect(c, 0));
        ASSERT_GE(lo, 0);
        ASSERT_LT(hi - lo, 80) << "the graphic does not fill its cell";
        const auto [rlo, rhi] = InkSpan(p.B, p.Rtl.Grid->CellRect(c, 0));
        // Glyphs keep their shape, so a one-sided shade may move the dark
        // span by a pixel; a second flip would put it across the grid.
        EXPECT_NEAR(rlo, w - 1 - hi, 1);
        EXPECT_NEAR(rhi, w - 1 - lo, 1);
    }
}
