// Grouping rows into one group per hundred rows with summary rows and a
// per-group sum, beside a stable sort of the same group keys in the same run,
// at 10,000 and 100,000 rows; and grouping 100,000 rows beside grouping
// 10,000 in the same run, to see how the time grows. Every grouping starts
// from a freshly filled grid, as the sort starts from fresh keys. Worst 1:
// keys sharing a long prefix, long distinct texts without tags in the other
// columns, and the rows sorted by another column before grouping. Grouping
// within 3x of the sort; 10x the rows within 12x the time.
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

using benchpaired::Limit;
using benchpaired::Paired;

constexpr double SortLimit = 3;
constexpr double GrowthLimit = 12;

std::vector<QString> GroupKeys(int rows, bool worst)
{
    const int groups = rows / 100;
    std::vector<QString> keys(static_cast<std::size_t>(rows));
    std::mt19937 rnd(7);
    const QString prefix = worst ? QStringLiteral("Transmitter group of the plant ") : QStringLiteral("group ");
    for (QString& k : keys)
        k = prefix + QStringLiteral("%1").arg(int(rnd() % unsigned(groups)), 5, 10, QChar(u'0'));
    return keys;
}

// The keys in the grid's order, as the sort reads them.
std::unique_ptr<TExStringGrid> FilledGrid(std::vector<QString>& keys, bool worst)
{
    const int rows = int(keys.size());
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(4);
    g->SetRowCount(rows + 1);
    g->Grouping()->Summary = true;
    for (int r = 0; r < rows; ++r) {
        g->SetCells(1, r + 1, worst ? benchpaired::worst::LongText(1, (r * 7919) % rows) : QString::number(r));
        g->SetCells(2, r + 1, keys[std::size_t(r)]);
        g->SetCells(3, r + 1, QString::number(r % 7));
    }
    if (worst) {
        g->SortSettings()->Column = 1;
        g->QSort();
        for (int r = 0; r < rows; ++r)
            keys[std::size_t(r)] = g->Cells(2, r + 1);
    }
    return g;
}

void GroupWithSum(TExStringGrid& g)
{
    g.Group(2);
    g.GroupSum(2);
}

void BM_GroupWithSummaries(benchmark::State& state)
{
    const bool worst = state.range(1) != 0;
    std::vector<QString> keys = GroupKeys(int(state.range(0)), worst);
    std::unique_ptr<TExStringGrid> g;
    Paired(
        state, [&] { GroupWithSum(*g); },
        [&] {
            std::vector<std::pair<QString, int>> v(keys.size());
            for (std::size_t i = 0; i < keys.size(); ++i)
                v[i] = { keys[i], int(i) };
            std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
            benchmark::DoNotOptimize(v.data());
        },
        [&] {
            g.reset();
            g = FilledGrid(keys, worst);
        });
    state.counters["rows_after"] = g->RowCount();
    Limit(state, SortLimit);
}

void BM_GroupHundredThousandVsTenThousand(benchmark::State& state)
{
    const bool worst = state.range(0) != 0;
    std::vector<QString> bigKeys = GroupKeys(100000, worst), smallKeys = GroupKeys(10000, worst);
    std::unique_ptr<TExStringGrid> big, small;
    Paired(
        state, [&] { GroupWithSum(*big); }, [&] { GroupWithSum(*small); },
        [&] {
            big.reset();
            small.reset();
            big = FilledGrid(bigKeys, worst);
            small = FilledGrid(smallKeys, worst);
        });
    Limit(state, GrowthLimit);
}

} // namespace

BENCHMARK(BM_GroupWithSummaries)
    ->ArgNames({ "rows", "worst" })
    ->ArgsProduct({ { 10000, 100000 }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupHundredThousandVsTenThousand)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
