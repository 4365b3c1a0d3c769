// Reading a column-state text of many columns, in reverse order with every
// other column hidden and a width of its own in each (the worst a stored
// layout holds), at 100,000 columns beside the same at a tenth of that in
// the same run: a ratio near 10 shows the reading grows with the columns,
// not with their square.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using benchpaired::Paired;

QString ReversedHalfHidden(int cols)
{
    QStringList widths, order, flags;
    for (int c = 0; c < cols; ++c) {
        widths << QString::number(20 + c % 40);
        order << QString::number(cols - 1 - c);
        flags << (c % 2 ? QStringLiteral("0") : QStringLiteral("1"));
    }
    return QStringLiteral("%1#%2#%3#%4")
        .arg(cols)
        .arg(widths.join(QLatin1Char(',')), order.join(QLatin1Char(',')), flags.join(QLatin1Char(',')));
}

std::unique_ptr<TExStringGrid> MakeGrid(int cols)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(10);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < cols; ++c)
            g->SetCells(c, r, QString::number(c));
    return g;
}

void BM_GridColumnStatesHundredThousandVsTenth(benchmark::State& state)
{
    constexpr int Cols = 100000;
    const QString big = ReversedHalfHidden(Cols), small = ReversedHalfHidden(Cols / 10);
    std::unique_ptr<TExStringGrid> g, h;
    Paired(
        state, [&] { g->StringToColumnStates(big); }, [&] { h->StringToColumnStates(small); },
        [&] {
            g = MakeGrid(Cols);
            h = MakeGrid(Cols / 10);
        });
    state.counters["shown"] = g->ColCount();
}

BENCHMARK(BM_GridColumnStatesHundredThousandVsTenth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
