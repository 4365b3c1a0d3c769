// One small grid painted in every look, stacked into one picture with each
// look's name beside it: fixed header row, texts, a selected range, the
// focused current cell and a sorted header column.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <iterator>

namespace {

using Grid = TGridOnForm<TExStringGrid>;

constexpr int kGridW = 4 * 64 + 4, kGridH = 5 * 20 + 4, kLabelW = 110;

QImage PaintLook(TGridLook look)
{
    Grid f(4, 5, kGridW, kGridH);
    TExStringGrid* g = f.Grid;
    g->SetDefaultColWidth(64);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetLook(look);
    const char* head[] = { "", "Tag", "Value", "Unit" };
    for (int c = 0; c < 4; ++c)
        g->SetCells(c, 0, head[c]);
    const char* body[][3] = { { "PT-101", "4.25", "bar" }, { "TT-102", "81.5", "degC" }, { "FT-103", "12", "m3/h" },
        { "LT-104", "0.73", "m" } };
    for (int r = 1; r < 5; ++r) {
        g->SetCells(0, r, QString::number(r));
        for (int c = 1; c < 4; ++c)
            g->SetCells(c, r, body[r - 1][c - 1]);
    }
    g->SortSettings()->SetShow(true);
    g->SortSettings()->Column = 2;
    g->SetSelection({ 1, 2, 2, 3 });
    g->SetFocus();
    return g->PaintToImage();
}

} // namespace

TEST(ExGridLooksGallery, EveryLookPaintsTheSameGrid)
{
    const TGridLook looks[] = { TGridLook::glStandard, TGridLook::glSoft, TGridLook::glClassic, TGridLook::glVRK,
        TGridLook::glXP, TGridLook::glListView, TGridLook::glVista, TGridLook::glWin7, TGridLook::glOffice2007,
        TGridLook::glCustom };
    const int n = int(std::size(looks));
    QImage img(kLabelW + kGridW + 8, n * (kGridH + 8), QImage::Format_RGB32);
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
