// Sizing (the stretched column, columns kept in proportion to the grid),
// the top-left handling's end of special edits, the picture of a block of
// cells and the version.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

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
        g->OnGetEditorType = [kind](TObject*, int, int, TEditorType& e) { e = kind; };
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

// With the stretched column and no forced bars the size handler decides the
// standard bars itself: the horizontal one never shows once the columns fit,
// the vertical one shows exactly when rows are out of view, and a bar that
// ScrollBars leaves out never shows.
TEST(ExGridSize, StretchDecidesTheStandardBars)
{
    struct Case {
        const char* Name;
        int Rows;
        TScrollStyle Bars;
        bool Vert;
    };
    const Case cases[] = {
        { "rows fit", 4, ssBoth, false },
        { "rows out of view", 30, ssBoth, true },
        { "vertical not allowed", 30, ssHorizontal, false },
        { "no bars", 30, ssNone, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid f(3, c.Rows, 200, 120);
        TProbeGrid* g = f.Grid;
        g->SetScrollBars(c.Bars);
        g->ColumnSize()->StretchColumn = -1;
        g->ColumnSize()->SetStretch(true);
        g->SetWidth(320);
        EXPECT_EQ(g->ScrollBarShowing(SB_VERT), c.Vert);
        EXPECT_FALSE(g->ScrollBarShowing(SB_HORZ));
        EXPECT_EQ(g->ColWidths(0) + g->ColWidths(1) + g->ColWidths(2), g->ClientWidth() - 1);
        // Back to a width the stretch cannot fill: the bars follow again.
        g->SetColWidths(0, 400);
        g->SetWidth(300);
        EXPECT_EQ(g->ScrollBarShowing(SB_HORZ), c.Bars == ssBoth || c.Bars == ssHorizontal);
    }
}
