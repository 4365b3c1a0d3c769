#pragma once
// The grid the screen benchmarks drive: Rows rows below one fixed row, on a
// shown form of the common screen size. Texts fill Span rows from each of
// Tops, the places the benchmark shows. The worst case has rows of mixed
// heights, a hidden column, the rows HiddenFrom..HiddenTo hidden and distinct
// long texts in every filled cell. A benchmark adds its own settings, then
// calls Show.

#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Forms.h"

#include <QCoreApplication>
#include <QString>
#include <initializer_list>

namespace benchpaired {

struct TScreenGrid {
    TForm Form { nullptr };
    TExStringGrid* Grid; // freed by its form
    TScreenGrid(int Rows, bool Worst, std::initializer_list<int> Tops, int Span, int HiddenFrom, int HiddenTo)
    {
        using namespace screen;
        Form.SetBounds(0, 0, Width + 20, Height + 20);
        Grid = new TExStringGrid(&Form);
        Grid->SetParent(&Form);
        Grid->SetBounds(0, 0, Width, Height);
        Grid->SetDefaultColWidth(ColWidth);
        Grid->SetDefaultRowHeight(Worst ? worst::LowRow : RowHeight);
        Grid->SetColCount(Cols + 1);
        Grid->SetRowCount(Rows + 1);
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
        for (int top : Tops)
            for (int r = top; r < top + Span && r <= Rows; ++r)
                for (int c = 1; c <= Cols; ++c)
                    Grid->SetCells(c, r, Worst ? worst::LongText(c, r) : QStringLiteral("%1").arg(r * 100 + c));
        if (Worst) {
            worst::MixedHeights(*Grid, 1, Rows);
            Grid->HideColumn(4);
            Grid->HideRows(HiddenFrom, HiddenTo);
        }
    }
    void Show()
    {
        Form.Show();
        QCoreApplication::processEvents();
    }
};

} // namespace benchpaired
