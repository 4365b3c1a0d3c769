// A screen of check-box cells in the string grid at a million rows beside
// Qt's table widget with checkable items, like for like: the same texts, a
// check box beside each, the same font and cell sizes. The grid's time is
// the benchmark's time; the counters give the table's time and the ratio,
// within 2x. Worst 1: long distinct texts without tags, and the screen's
// rows of mixed heights on both sides.
#include "bench/BenchPaired.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"

#include <QHeaderView>
#include <QImage>
#include <QTableWidget>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace benchpaired::screen;
using benchpaired::Limit;
using benchpaired::Paired;

constexpr double PeerLimit = 2;

QString CellText(int row, int col)
{
    return QStringLiteral("R%1C%2").arg(row).arg(col);
}

void BM_GridPaintCheckBoxScreenVsTable(benchmark::State& state)
{
    // Argument 0: the texts alone on both sides, the floor the boxes add to.
    const bool boxes = state.range(0) != 0;
    const bool worst = state.range(1) != 0;
    const int rows = MillionRows;
    const int first = rows / 2, last = first + Height / RowHeight;
    auto grid = std::make_unique<TExStringGrid>(nullptr);
    grid->SetBounds(0, 0, Width, Height);
    grid->SetDefaultColWidth(ColWidth);
    grid->SetDefaultRowHeight(RowHeight);
    grid->SetColCount(Cols + 1);
    grid->SetRowCount(rows + 1);
    grid->ControlLook()->SetControlStyle(TGridControlStyle::csTheme);
    auto table = std::make_unique<QTableWidget>(rows, Cols);
    table->resize(Width, Height);
    table->setFont(grid->Font()->ToQFont());
    table->horizontalHeader()->setDefaultSectionSize(ColWidth);
    table->horizontalHeader()->setFixedHeight(RowHeight);
    table->verticalHeader()->setDefaultSectionSize(RowHeight);
    table->verticalHeader()->setFixedWidth(ColWidth);
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < Cols; ++c) {
            const QString t = worst ? benchpaired::worst::LongText(c, r) : CellText(r, c);
            const bool on = (r + c) % 2 == 0;
            grid->SetCells(c + 1, r + 1, t);
            auto* item = new QTableWidgetItem(t);
            if (boxes) {
                grid->AddCheckBox(c + 1, r + 1, on, false);
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            }
            table->setItem(r, c, item);
        }
    if (worst)
        for (int r = first; r <= last; ++r) {
            const int h = r % 2 ? RowHeight : benchpaired::worst::LowRow;
            grid->SetRowHeights(r + 1, h);
            table->verticalHeader()->resizeSection(r, h);
        }
    grid->SetTopRow(first + 1);
    table->scrollToItem(table->item(first, 0), QAbstractItemView::PositionAtTop);
    QWidget* w = grid->Widget();
    QImage gi(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QImage ti(Width, Height, QImage::Format_ARGB32_Premultiplied);
    Paired(
        state, [&] { w->render(&gi); }, [&] { table->render(&ti); });
    state.counters["visible_rows"] = grid->VisibleRowCount();
    Limit(state, PeerLimit);
}

} // namespace

BENCHMARK(BM_GridPaintCheckBoxScreenVsTable)
    ->ArgNames({ "boxes", "worst" })
    ->ArgsProduct({ { 0, 1 }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
