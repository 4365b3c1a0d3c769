// What the grid paints: fixed cells, lines, the selection and an open
// editor, and that a descendant painting everything itself gets only the
// cells that show.
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QSet>

#include "common/TestUtil.h"
#include "tests/platform/controls/GridsTestFixture.h"

namespace {

QRgb Rgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

QRgb At(const QImage& img, TPoint p)
{
    return img.pixel(p.X, p.Y) | 0xFF000000u;
}

TEST(GridPaint, FixedCellsLinesSelectionAndEditor)
{
    GridFixture f(5, 7, 260, 150);
    f.Grid->SetDefaultColWidth(48);
    f.Grid->SetDefaultRowHeight(20);
    f.AddOptions(goEditing);
    const char* heads[] = { "", "Name", "Unit", "Min", "Max" };
    for (int c = 1; c < 5; ++c)
        f.Grid->SetCells(c, 0, QString::fromLatin1(heads[c]));
    for (int r = 1; r < 7; ++r) {
        f.Grid->SetCells(0, r, QString::number(r));
        for (int c = 1; c < 5; ++c)
            f.Grid->SetCells(c, r, QStringLiteral("%1%2").arg(QChar(u'a' + c - 1)).arg(r));
    }
    f.Grid->SetSelection({ 1, 1, 2, 3 }); // anchor at 1,1; the cursor at 2,3
    f.Key(VK_F2);
    ASSERT_TRUE(f.EditorShowing());
    const QImage img = f.Grid->PaintToImage();
    testutil::SaveImagePng(img, QStringLiteral("platform_grid"));

    const TRect fixedCell = f.Grid->CellRect(2, 0);
    const TRect selected = f.Grid->CellRect(1, 2);
    const TRect plain = f.Grid->CellRect(4, 5);
    const TRect editor = f.Grid->CellRect(2, 3);
    EXPECT_EQ(At(img, { fixedCell.Left + 20, fixedCell.Bottom - 3 }), Rgb(clBtnFace));
    EXPECT_EQ(At(img, { selected.Right - 3, selected.Top + 3 }), Rgb(clHighlight));
    EXPECT_EQ(At(img, { plain.Right - 3, plain.Top + 3 }), Rgb(clWindow));
    EXPECT_EQ(At(img, { plain.Right, plain.Top + 5 }), Rgb(clSilver)); // the line after a cell
    EXPECT_EQ(At(img, { fixedCell.Right, fixedCell.Top + 5 }), Rgb(clBlack)); // lines of fixed cells
    // The edited cell shows the editor, not the selection colour.
    EXPECT_NE(At(img, { editor.Right - 3, editor.Bottom - 3 }), Rgb(clHighlight));
    // The caret may blink: a few pixels of slack.
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("platform_grid"), 0, 40));
}

TEST(GridPaint, WithoutDefaultDrawingOnlyShownCellsAreAskedAndNothingElsePaintsThem)
{
    GridFixture f(20, 1000000, 300, 200);
    f.Grid->SetDefaultDrawing(false);
    f.Grid->SetTopRow(500000);
    int calls = 0;
    int rowsMin = 1 << 30, rowsMax = -1;
    f.Grid->OnDrawCell = [&](TObject* s, int, int r, const TRect& rect, TGridDrawState) {
        ++calls;
        if (r >= 1) {
            rowsMin = std::min(rowsMin, r);
            rowsMax = std::max(rowsMax, r);
        }
        auto* g = static_cast<TCustomControl*>(static_cast<TControl*>(static_cast<TComponent*>(s)));
        g->Canvas()->Brush()->SetColor(clRed);
        g->Canvas()->FillRect(rect);
    };
    const QImage img = f.Grid->PaintToImage();
    const int shownRows = f.Grid->VisibleRowCount() + 1; // the last one in part
    EXPECT_EQ(rowsMin, 500000);
    EXPECT_LE(rowsMax, 500000 + shownRows);
    EXPECT_LE(calls, (f.Grid->VisibleColCount() + 2) * (shownRows + 1));
    const TRect fixedCell = f.Grid->CellRect(1, 0);
    EXPECT_EQ(At(img, { fixedCell.Left + 5, fixedCell.Top + 5 }), Rgb(clRed)); // no fixed look drawn over it
}

TEST(GridPaint, ScrollingByALineRepaintsOnlyTheRowThatComesIntoView)
{
    GridFixture f(8, 1000, 300, 200);
    f.Grid->SetColCount(5); // all columns fit: only the rows scroll
    QCoreApplication::processEvents();
    QSet<int> rowsPainted;
    f.Grid->OnDrawCell = [&](TObject*, int, int r, const TRect&, TGridDrawState) { rowsPainted << r; };
    const int visible = f.Grid->VisibleRowCount();
    const auto scrollAndPaint = [&](auto scroll) {
        rowsPainted.clear();
        scroll();
        QCoreApplication::processEvents();
        return rowsPainted;
    };
    // The grid keeps the focus: the current cell is not in the strip.
    auto painted = scrollAndPaint([&] { f.Grid->SetTopRow(f.Grid->TopRow() + 1); });
    EXPECT_FALSE(painted.contains(0)) << "the fixed row stays";
    EXPECT_FALSE(painted.contains(5));
    EXPECT_TRUE(painted.contains(visible + 1)); // the row that came into view
    EXPECT_LE(painted.size(), 3);
    // A jump of more than a screen paints it all.
    painted = scrollAndPaint([&] { f.Grid->SetTopRow(500); });
    EXPECT_TRUE(painted.contains(0));
    EXPECT_GE(painted.size(), visible + 1);
}

TEST(GridPaint, WithRedrawOffBulkChangesRepaintOnceWhenItComesBack)
{
    GridFixture f(6, 100, 300, 200);
    QCoreApplication::processEvents();
    int cellsPainted = 0;
    f.Grid->OnDrawCell = [&](TObject*, int, int, const TRect&, TGridDrawState) { ++cellsPainted; };
    f.Grid->Perform(WM_SETREDRAW, 0);
    for (int r = 1; r < 100; ++r) {
        f.Grid->SetCells(1, r, QString::number(r));
        QCoreApplication::processEvents();
    }
    f.Grid->SetTopRow(3);
    QCoreApplication::processEvents();
    EXPECT_EQ(cellsPainted, 0);
    f.Grid->Perform(WM_SETREDRAW, 1);
    QCoreApplication::processEvents();
    const int screen = (f.Grid->VisibleColCount() + 1) * (f.Grid->VisibleRowCount() + 1);
    EXPECT_GE(cellsPainted, screen);
    EXPECT_LE(cellsPainted, (f.Grid->VisibleColCount() + 2) * (f.Grid->VisibleRowCount() + 2));
}

} // namespace
