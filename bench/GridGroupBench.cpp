// Grouping rows into one group per hundred rows with summary rows and a
// per-group sum, beside a stable sort of the same group keys in the same run.
// Run at 10,000 and 100,000 rows to compare how the time grows.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"

#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

using benchpaired::Paired;

void BM_GroupWithSummaries(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const int groups = rows / 100;
    std::vector<QString> keys(static_cast<std::size_t>(rows));
    std::mt19937 rnd(7);
    for (QString& k : keys)
        k = QStringLiteral("group %1").arg(int(rnd() % unsigned(groups)), 5, 10, QChar(u'0'));
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(4);
    g->SetRowCount(rows + 1);
    g->Grouping()->Summary = true;
    auto fill = [&] {
        for (int r = 0; r < rows; ++r) {
            g->SetCells(1, r + 1, QString::number(r));
            g->SetCells(2, r + 1, keys[std::size_t(r)]);
            g->SetCells(3, r + 1, QString::number(r % 7));
        }
    };
    fill();
    Paired(
        state,
        [&] {
            g->Group(2);
            g->GroupSum(2);
        },
        [&] {
            std::vector<std::pair<QString, int>> v(keys.size());
            for (std::size_t i = 0; i < keys.size(); ++i)
                v[i] = { keys[i], int(i) };
            std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
            benchmark::DoNotOptimize(v.data());
        },
        [&] {
            if (g->GroupColumn() != -1) {
                g->UnGroup();
                fill();
            }
        });
    state.counters["rows_after"] = g->RowCount();
}

} // namespace

BENCHMARK(BM_GroupWithSummaries)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
