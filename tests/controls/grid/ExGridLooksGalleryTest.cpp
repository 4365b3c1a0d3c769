// One small grid painted in every look, stacked into one picture with each
// look's name beside it: fixed header row, texts, a selected range, the
// focused current cell and a sorted header column.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"
#include "tests/controls/grid/PaintProbe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <iterator>

namespace {

// Puts the mouse over a fixed cell, pressed or not, as the mouse handling
// leaves it between two moves.
class THoverGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void SetMouseOnFixedCell(int ACol, int ARow, bool APressed)
    {
        FHoverFixedCell = TPoint(ACol, ARow);
        FMouseDown = APressed;
        FMouseDownMove = APressed;
    }
};

using Grid = TGridOnForm<THoverGrid>;

constexpr int kGridW = 4 * 64 + 4, kGridH = 5 * 20 + 4, kLabelW = 110, kGap = 12;

// The look's grid, and beside it its header row once with the mouse over
// "Tag" and once pressed on "Unit" ("Value" is the sorted column).
QImage PaintLook(TGridLook look)
{
    Grid f(4, 5, kGridW, kGridH);
    THoverGrid* g = f.Grid;
    paintprobe::FillTagTable(g, 64);
    g->SetLook(look);
    g->SortSettings()->SetShow(true);
    g->SortSettings()->Column = 2;
    g->SetSelection({ 1, 2, 2, 3 });
    g->SetFocus();
    g->SetHoverFixedCells(THoverFixedCells::hfAll);
    QImage img(2 * kGridW + kGap, kGridH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.drawImage(0, 0, g->PaintToImage());
    const int headH = g->RowHeights(0) + g->GridLineWidth();
    g->SetMouseOnFixedCell(1, 0, false);
    p.drawImage(kGridW + kGap, 0, g->PaintToImage(), 0, 0, kGridW, headH);
    g->SetMouseOnFixedCell(3, 0, true);
    const TRect unit = g->CellRect(3, 0);
    p.drawImage(kGridW + kGap + unit.Left, 0, g->PaintToImage(), unit.Left, 0, kGridW - unit.Left, headH);
    g->SetMouseOnFixedCell(-1, -1, false);
    return img;
}

} // namespace

TEST(ExGridLooksGallery, EveryLookPaintsTheSameGrid)
{
    const TGridLook looks[] = { TGridLook::glStandard, TGridLook::glSoft, TGridLook::glClassic, TGridLook::glVRK,
        TGridLook::glXP, TGridLook::glListView, TGridLook::glVista, TGridLook::glWin7, TGridLook::glOffice2007,
        TGridLook::glCustom };
    const int n = int(std::size(looks));
    QImage img(kLabelW + 2 * kGridW + kGap + 8, n * (kGridH + 8), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int i = 0; i < n; ++i) {
        const int y = i * (kGridH + 8) + 4;
        const QImage shot = PaintLook(looks[i]);
        ASSERT_FALSE(shot.isNull());
        QString name = "Custom"; // the custom look has no display name of its own
        TExStringGrid::LookDisplayName(looks[i], name);
        p.setPen(Qt::black);
        p.drawText(QRect(4, y, kLabelW - 8, kGridH), Qt::AlignLeft | Qt::AlignVCenter, name);
        p.drawImage(kLabelW, y, shot);
    }
    p.end();
    testutil::SaveImagePng(img, "exgrid_looks_gallery");
    EXPECT_TRUE(testutil::MatchesGolden(img, "exgrid_looks_gallery"));
}
