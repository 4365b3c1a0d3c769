// Rich-text cells: drawn with their own look inside the cell, measured by
// their content.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <utility>

namespace {

using Grid = TGridOnForm<TExStringGrid>;

const QString kBoldRed = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                        "\\f0\\fs24\\cf1\\b WWW\\par}");

bool Red(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return qRed(c) > 160 && qGreen(c) < 90 && qBlue(c) < 90;
}

int RedPixels(const QImage& img, const TRect& inside, bool wantInside)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool in = x >= inside.Left && x < inside.Right && y >= inside.Top && y < inside.Bottom;
            if (in == wantInside && Red(img, x, y))
                ++n;
        }
    return n;
}

} // namespace

TEST(ExGridPaintRich, BoldRedCellPaintsRedOnlyInsideItsCell)
{
    Grid f(3, 3, 300, 120);
    TExStringGrid* g = f.Grid;
    g->SetColWidths(1, 90);
    g->SetRowHeights(1, 40);
    g->SetRow(2);
    g->SetCells(1, 1, kBoldRed);
    g->SetCells(2, 1, QStringLiteral("WWW"));
    const QImage img = g->PaintToImage();
    if (qEnvironmentVariableIsSet("MORV_PNG"))
        img.save(qEnvironmentVariable("MORV_PNG"));
    const TRect r = g->CellRect(1, 1);
    EXPECT_GT(RedPixels(img, r, true), 20);
    EXPECT_EQ(RedPixels(img, r, false), 0);
}

TEST(ExGridPaintRich, MeasuredSizeFollowsTheContent)
{
    Grid f(3, 3, 300, 120);
    TExStringGrid* g = f.Grid;
    const QString head = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ");
    g->SetCells(1, 1, head + QStringLiteral("WW\\par}"));
    g->SetCells(1, 2, head + QStringLiteral("WW\\par WW\\par}"));
    g->SetCells(2, 1, head + QStringLiteral("WWWWWWWW\\par}"));
    const TSize one = g->GetCellTextSize(1, 1, false, false);
    const TSize two = g->GetCellTextSize(1, 2, false, false);
    EXPECT_GT(one.cy, 4);
    EXPECT_GT(two.cy, one.cy + one.cy / 3);
    // Wrapping words, the content takes the cell's width; else its own.
    EXPECT_EQ(g->GetCellTextSize(2, 1, false, false).cx, one.cx);
    g->SetWordWrap(false);
    EXPECT_GT(g->GetCellTextSize(2, 1, false, false).cx, g->GetCellTextSize(1, 1, false, false).cx);
}

// The focused current cell keeps its own colours unless the focus is drawn
// selected; a disjunctly selected cell away from the cursor takes them; with
// SelectionRTFKeep every selected cell keeps them.
TEST(ExGridPaintRich, SelectedCellTakesTheSelectionTextColour)
{
    struct Case {
        const char* name;
        bool focusSelected, disjunctCell, keep, selectionText;
    };
    const Case cases[] = {
        { "focused current cell", false, false, false, false },
        { "focus drawn selected", true, false, false, true },
        { "focus drawn selected, colours kept", true, false, true, false },
        { "disjunct cell, cursor elsewhere", false, true, false, true },
        { "disjunct cell, colours kept", false, true, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Grid f(3, 3, 300, 120);
        TExStringGrid* g = f.Grid;
        g->SetColWidths(1, 90);
        g->SetRowHeights(1, 40);
        g->SetCells(1, 1, kBoldRed);
        g->SetSelectionTextColor(clLime);
        g->SetRow(1);
        g->SetCol(1);
        g->SetFocus();
        ASSERT_TRUE(g->Focused());
        if (c.focusSelected)
            g->SetOptions(g->Options() | goDrawFocusSelected);
        if (c.disjunctCell) {
            g->MouseActions()->SetDisjunctCellSelect(true);
            g->SetSelectedCells(1, 1, true);
            g->SetRow(2);
        }
        g->SetSelectionRTFKeep(c.keep);
        const QImage img = g->PaintToImage();
        const TRect r = g->CellRect(1, 1);
        int green = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const QRgb px = img.pixel(x, y);
                green += qGreen(px) > 160 && qRed(px) < 90 && qBlue(px) < 90;
            }
        EXPECT_EQ(green > 20, c.selectionText);
        EXPECT_EQ(RedPixels(img, r, true) > 20, !c.selectionText);
    }
}
