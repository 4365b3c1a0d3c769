// Painting one screen of a string grid of 20 columns scrolled to the middle,
// at 100 and at 1,000,000 rows: the cost must not grow with the row count.
// Qt's table widget with the same cells runs beside it.
#include "platform/controls/Grids.h"

#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Cols = 20;
constexpr int Width = 1000;
constexpr int Height = 700;

// The rows around the middle that one screen can show.
void ScreenRows(int rows, int& first, int& last)
{
    first = rows / 2;
    last = std::min(rows - 1, first + Height / 10);
}

void BM_GridPaintScreen(benchmark::State& state)
{
    const int rows = int(state.range(0));
    auto grid = std::make_unique<TStringGrid>(nullptr);
    grid->SetBounds(0, 0, Width, Height);
    grid->SetColCount(Cols);
    grid->SetRowCount(rows);
    int first, last;
    ScreenRows(rows, first, last);
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < Cols; ++c)
            grid->SetCells(c, r, QStringLiteral("R%1C%2").arg(r - first).arg(c));
    grid->SetTopRow(first);
    QWidget* w = grid->Widget();
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        w->render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["rows"] = rows;
    state.counters["visibleRows"] = grid->VisibleRowCount();
}

void BM_GridQtTableWidgetPaintScreen(benchmark::State& state)
{
    const int rows = int(state.range(0));
    QTableWidget table(rows, Cols);
    table.resize(Width, Height);
    table.verticalHeader()->setDefaultSectionSize(24);
    table.horizontalHeader()->setDefaultSectionSize(64);
    int first, last;
    ScreenRows(rows, first, last);
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < Cols; ++c)
            table.setItem(r, c, new QTableWidgetItem(QStringLiteral("R%1C%2").arg(r - first).arg(c)));
    table.scrollToItem(table.item(first, 0), QAbstractItemView::PositionAtTop);
    QImage img(Width, Height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        table.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["rows"] = rows;
}

} // namespace

BENCHMARK(BM_GridPaintScreen)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridQtTableWidgetPaintScreen)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);
