// Sizing (the stretched column, columns kept in proportion to the grid),
// the top-left handling's end of special edits, the picture of a block of
// cells, the version, and the numbered cursors the grid shows.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Resources.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <memory>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::EditControl;
    using TExStringGrid::FEditMode;
    using TExStringGrid::TExStringGrid;
};

using Grid = TGridOnForm<TProbeGrid>;

} // namespace

TEST(ExGridSize, StretchWithTheLastColumnFiresGridResize)
{
    Grid f(3, 5, 200, 120);
    TProbeGrid* g = f.Grid;
    int resized = 0;
    g->OnGridResize = [&](TObject*) { ++resized; };
    g->ColumnSize()->StretchColumn = -1;
    g->ColumnSize()->SetStretch(true);
    resized = 0;
    g->SetWidth(300);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(g->ColWidths(0) + g->ColWidths(1) + g->ColWidths(2), g->ClientWidth() - 1);
    EXPECT_EQ(g->ColWidths(0), 50);
    EXPECT_GT(g->ColWidths(2), 50);
}

TEST(ExGridSize, SynchWithGridKeepsTheColumnsInProportion)
{
    Grid f(4, 5, 200, 120);
    TProbeGrid* g = f.Grid;
    g->SetColWidths(0, 20);
    g->SetColWidths(1, 45);
    g->SetColWidths(2, 61);
    g->InitOrigColSizes();
    g->ColumnSize()->SynchWithGrid = true;
    g->SetWidth(400);
    EXPECT_EQ(g->ColWidths(0), 40);
    EXPECT_EQ(g->ColWidths(1), 90);
    EXPECT_EQ(g->ColWidths(2), 122);
    g->ColumnSize()->SynchNormalCellsOnly = true;
    g->SetWidth(200);
    EXPECT_EQ(g->ColWidths(0), 40) << "fixed column left alone";
    EXPECT_EQ(g->ColWidths(1), 45);
}

TEST(ExGridSize, ScrollingEndsEveryEditButANormalOne)
{
    for (TEditorType kind : { TEditorType::edNormal, TEditorType::edNumeric }) {
        Grid f(4, 30, 200, 120);
        TProbeGrid* g = f.Grid;
        g->SetOptions(g->Options() | goEditing);
        g->SetCol(1);
        g->SetRow(1);
        g->EditControl = kind;
        g->ShowInplaceEdit();
        g->InplaceEditor()->SetText(QStringLiteral("42"));
        g->SetTopRow(6);
        EXPECT_EQ(g->EditorMode(), kind == TEditorType::edNormal);
        if (kind != TEditorType::edNormal) {
            EXPECT_EQ(g->Cells(1, 1), QStringLiteral("42")) << "stored";
        }
    }
}

TEST(ExGridSize, Version)
{
    TExStringGrid g(nullptr);
    EXPECT_EQ(g.GetVersionNr(), 100794627);
    EXPECT_EQ(g.GetVersionString(), QStringLiteral("6.2.1.3 Sep, 2012"));
}

TEST(ExGridSize, SelectionPictureWithTheCrossedFixedLineRule)
{
    Grid f(4, 6, 220, 140);
    TProbeGrid* g = f.Grid;
    g->SetColor(clWhite);
    g->SetGridFixedLineColor(TColor(0x0000FF));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 6; ++r)
            g->SetCells(c, r, QStringLiteral("%1%2").arg(QChar(u'A' + c)).arg(r));
    // Only the fixed vertical lines: the rule runs along the top edge.
    g->SetOptions((g->Options() | goFixedVertLine) & ~TGridOptions(goFixedHorzLine));
    std::unique_ptr<TBitmap> pic(g->SelectionPicture(TGridRect { 0, 0, 2, 2 }));
    const TRect a = g->VirtualCellRect(0, 0), b = g->VirtualCellRect(2, 2);
    EXPECT_EQ(pic->Width(), b.Right - a.Left + 1);
    EXPECT_EQ(pic->Height(), b.Bottom - a.Top + 1);
    const QImage img = pic->ToImage();
    EXPECT_EQ(QColor(img.pixel(pic->Width() / 2, 0)), QColor(255, 0, 0)) << "top edge";
    EXPECT_NE(QColor(img.pixel(0, pic->Height() / 2)), QColor(255, 0, 0)) << "no left edge";
    testutil::SaveImagePng(img, "grid_selection_picture");
    EXPECT_TRUE(testutil::MatchesGolden(img, "grid_selection_picture"));

    std::unique_ptr<TNoActiveForm> form(g->SelectionToForm(TGridRect { 1, 1, 2, 3 }));
    EXPECT_EQ(form->Opacity(), 192);
    EXPECT_TRUE(form->TopMost());
    std::unique_ptr<TBitmap> inner(g->SelectionPicture(TGridRect { 1, 1, 2, 3 }));
    EXPECT_EQ(form->Width(), inner->Width());
    EXPECT_EQ(form->Height(), inner->Height());
}

// ---------------------------------------------------------------------------
// Numbered cursors

TEST(NumberedCursors, ShowTheirPicturesAndAnUnknownNumberTheDefault)
{
    Grid f(2, 2, 100, 60);
    TProbeGrid* g = f.Grid;
    for (int n : { 8000, 8001, 8002, 8003, 8004, 8005, 8006, 8007, 8008, 8010, 8011, 8012, 8014 }) {
        SCOPED_TRACE(n);
        QPoint hot;
        const QImage pic = resources::CursorPicture(n, &hot);
        ASSERT_FALSE(pic.isNull());
        EXPECT_EQ(qAlpha(pic.pixel(0, 0)), 0) << "transparent around";
        EXPECT_TRUE(CursorExists(n));
        ShowWindowCursor(g, n);
        EXPECT_EQ(WindowCursor(g), n);
        const QCursor shown = g->Widget()->cursor();
        EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
        EXPECT_EQ(shown.hotSpot(), hot);
        EXPECT_EQ(shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32), pic);
    }
    EXPECT_NE(resources::CursorPicture(8001), resources::CursorPicture(8002)) << "one picture per direction";
    EXPECT_TRUE(resources::CursorPicture(8009).isNull());
    EXPECT_FALSE(CursorExists(8009));
    ShowWindowCursor(g, 8009);
    EXPECT_EQ(g->Widget()->cursor().shape(), Qt::ArrowCursor);
    g->SetCursor(8011);
    EXPECT_EQ(g->Widget()->cursor().shape(), Qt::BitmapCursor) << "through the control's Cursor";
    QImage own(16, 16, QImage::Format_ARGB32);
    own.fill(qRgba(0, 0, 255, 255));
    RegisterCursor(9100, own, TPoint(3, 4));
    ShowWindowCursor(g, 9100);
    EXPECT_EQ(g->Widget()->cursor().hotSpot(), QPoint(3, 4));
    RegisterCursor(9100, QImage(), TPoint());
    EXPECT_FALSE(CursorExists(9100));
    Screen->SetCursor(8012);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BitmapCursor) << "the screen cursor";
    Screen->SetCursor(crDefault);
}

TEST(NumberedCursors, Pictures)
{
    const int ns[] = { 8000, 8001, 8002, 8003, 8004, 8005, 8006, 8007, 8008, 8010, 8011, 8012, 8014 };
    QImage sheet(13 * 34, 34, QImage::Format_ARGB32);
    sheet.fill(qRgb(192, 192, 192));
    for (int i = 0; i < 13; ++i) {
        const QImage pic = resources::CursorPicture(ns[i]);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (qAlpha(pic.pixel(x, y)) != 0)
                    sheet.setPixel(i * 34 + 1 + x, 1 + y, pic.pixel(x, y));
    }
    testutil::SaveImagePng(sheet, "numbered_cursors");
    EXPECT_TRUE(testutil::MatchesGolden(sheet, "numbered_cursors"));
}
