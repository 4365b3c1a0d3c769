#pragma once
// Pixel probes and small fixtures for painted grids.

#include "controls/grid/ExGrid.h"
#include "platform/graphics/Colors.h"
#include "platform/runtime/Types.h"

#include <QString>

#include <QImage>

#include <utility>

namespace paintprobe {

inline bool Dark(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return qRed(c) + qGreen(c) + qBlue(c) < 3 * 128;
}

// The leftmost and rightmost columns with a dark pixel inside the box.
inline std::pair<int, int> InkSpan(const QImage& img, const TRect& box)
{
    int lo = -1, hi = -1;
    for (int x = box.Left; x < box.Right; ++x)
        for (int y = box.Top; y < box.Bottom; ++y)
            if (Dark(img, x, y)) {
                if (lo < 0)
                    lo = x;
                hi = x;
                break;
            }
    return { lo, hi };
}

// A grid without fixed cells, white, without a focus rectangle: only what a
// test puts in its cells shows.
template <class TGrid> TGrid* PlainWhite(TGrid* g)
{
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetColor(clWhite);
    g->SetHideFocusRect(true);
    return g;
}

// The gallery pictures' table: a header row "Tag", "Value", "Unit", four
// numbered rows of measuring points, one fixed row and column.
template <class TGrid> void FillTagTable(TGrid* g, int colWidth)
{
    g->SetDefaultColWidth(colWidth);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
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
}

// The picture tests' XP table: 80-pixel columns, a fixed row and column, and
// a red frame round cell (2, 3) from the border query.
inline void XPTableWithRedFrame(TExStringGrid* g)
{
    g->SetDefaultColWidth(80);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetLook(TGridLook::glXP);
    g->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TExStringGrid::TCellBorders& B) {
        if (ACol == 2 && ARow == 3) {
            APen->SetColor(clRed);
            B = TExStringGrid::TCellBorders(TCellBorder::cbLeft) | TCellBorder::cbRight | TCellBorder::cbTop
                | TCellBorder::cbBottom;
        }
    };
}

// A row indicator: a black triangle on white pointing right.
template <class TBmp> void DrawRowIndicator(TBmp& ind)
{
    ind.SetSize(6, 9);
    ind.Canvas()->Brush()->SetColor(clWhite);
    ind.Canvas()->FillRect(TRect(0, 0, 6, 9));
    ind.Canvas()->Brush()->SetColor(clBlack);
    ind.Canvas()->Polygon({ TPoint(1, 1), TPoint(4, 4), TPoint(1, 7) });
}

} // namespace paintprobe
