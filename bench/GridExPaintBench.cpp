// Painting one screen of the string grid: a grid of a million rows beside one
// of a hundred in the same run, the same screen in both (20 columns under a
// header row beside a header column, the same texts by screen row), plain, with merged
// areas, mark-up cells and nodes on screen, and with half the rows hidden by
// a filter, and the worst case: rows of mixed heights over the whole grid,
// sorted by another column, half of them hidden by a filter, a hidden
// column and long distinct texts without tags on screen; and the plain
// screen (or that of long texts) beside a bare painter drawing the same
// visible texts. Painting must create no cell properties: "props" counts
// the plain grids that have some after painting (0 expected).
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridSort.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;
using namespace benchpaired::screen;

constexpr double FarLimit = 1.2;
// Within 2x of drawing the texts alone.
constexpr double DrawTextLimit = 2;

constexpr int ScreenRows = Height / RowHeight + 1;
constexpr int SmallRows = 100;

enum class TScene { Plain, Rich, Filtered, Worst };

QString CellText(int row, int col)
{
    return QStringLiteral("R%1C%2").arg(row).arg(col);
}

// The first normal row shown: the middle of the grid, or, with the filter,
// the row that lands in the middle once half the rows are hidden.
int FirstShown(int rows, TScene scene)
{
    return scene == TScene::Filtered || scene == TScene::Worst ? rows / 4 : rows / 2;
}

std::unique_ptr<TExStringGrid> MakeGrid(int rows, TScene scene)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetBounds(0, 0, Width, Height);
    g->SetDefaultColWidth(ColWidth);
    g->SetDefaultRowHeight(RowHeight);
    g->SetColCount(Cols + 1);
    g->SetRowCount(rows + 1);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    for (int c = 1; c <= Cols; ++c)
        g->SetCells(c, 0, QStringLiteral("C%1").arg(c));
    const bool worst = scene == TScene::Worst;
    if (worst) {
        g->SetDefaultRowHeight(benchpaired::worst::LowRow);
        benchpaired::worst::MixedHeights(*g, 1, rows);
        // Sorted by column 2 (descending) before the filter.
        for (int r = 1; r <= rows; ++r)
            g->SetCells(2, r, QString::number(r));
        g->SortSettings()->Column = 2;
        g->SortSettings()->Direction = TSortDirection::sdDescending;
        g->QSort();
        g->HideColumn(4);
    }
    if (scene == TScene::Filtered || worst) {
        // Every second row fails the filter: a level of half the rows.
        for (int r = 1; r <= rows; ++r)
            g->SetCells(1, r, r % 2 ? QStringLiteral("keep") : QStringLiteral("drop"));
        TFilterData* d = g->Filter()->Add();
        d->Column = 1;
        d->Condition = QStringLiteral("k*");
        g->ApplyFilter();
    }
    const int first = FirstShown(rows, scene);
    for (int r = first; r < first + ScreenRows && r < g->RowCount(); ++r)
        for (int c = 2; c <= Cols; ++c)
            g->SetCells(c, r, worst ? benchpaired::worst::LongText(c, r - first) : CellText(r - first, c));
    if (scene == TScene::Rich) {
        for (int k = 0; k < ScreenRows; k += 6) {
            g->MergeCells(3, first + k, 2, 2);
            g->SetCells(6, first + k + 1, QStringLiteral("<b>bold</b> and <i>italic</i>"));
            g->SetCells(8, first + k + 2, QStringLiteral("<font color=\"clRed\">red</font> text"));
        }
        g->AddNode(first + 1, 4);
        g->AddNode(first + 10, 3);
    }
    g->SetTopRow(first);
    g->HandleNeeded();
    return g;
}

// The grid's own painting: its scroll bars are the toolkit's widgets and
// the bare painter draws none.
void RenderCells(TExStringGrid& g, QImage& img)
{
    g.Widget()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
}

void BM_GridExPaintScreenMillionVsHundredRows(benchmark::State& state)
{
    const auto scene = TScene(state.range(0));
    auto big = MakeGrid(MillionRows, scene);
    auto small = MakeGrid(SmallRows, scene);
    QImage bi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QImage si(Width, Height, QImage::Format_ARGB32_Premultiplied);
    const bool propsBefore = big->HasCellProps() || small->HasCellProps();
    // The process's first paint loads the fonts and glyphs every grid then
    // shares, whatever its rows: a third grid of the scene pays for it, so
    // that neither side is charged with it, while each grid's own first
    // paint stays timed (the benchmark library's first trial is a single
    // iteration, and a limit applies to it as to the final run).
    {
        auto first = MakeGrid(SmallRows, scene);
        QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
        RenderCells(*first, img);
    }
    Paired(
        state, [&] { RenderCells(*big, bi); }, [&] { RenderCells(*small, si); });
    if (!propsBefore)
        state.counters["props"] = (big->HasCellProps() ? 1 : 0) + (small->HasCellProps() ? 1 : 0);
    state.counters["top_row"] = big->TopRow();
    Limit(state, FarLimit);
}

// The same visible texts drawn by a bare painter: the floor of painting.
void BM_GridExPaintVsDrawText(benchmark::State& state)
{
    auto g = MakeGrid(MillionRows, state.range(0) ? TScene::Worst : TScene::Plain);
    const int first = g->TopRow();
    const QFont font = g->Font()->ToQFont();
    QImage gi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QImage pi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Paired(
        state, [&] { RenderCells(*g, gi); },
        [&] {
            benchpaired::DrawScreenTexts(
                pi, font, [&](int x, int y) { return g->Cells(g->RealColIndex(x), y == 0 ? 0 : first + y - 1); });
        });
    state.counters["props"] = g->HasCellProps() ? 1 : 0;
    Limit(state, DrawTextLimit);
}

} // namespace

BENCHMARK(BM_GridExPaintScreenMillionVsHundredRows)
    ->ArgName("scene")
    ->Arg(int(TScene::Plain))
    ->Arg(int(TScene::Rich))
    ->Arg(int(TScene::Filtered))
    ->Arg(int(TScene::Worst))
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridExPaintVsDrawText)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMicrosecond);
