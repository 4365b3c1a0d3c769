// Grid paths that must grow no faster than the rows they touch: each runs
// the same work at N and at 10N rows in one run, and fails when the larger
// takes more than 12 times the smaller (a square path takes about 100
// times). Beside each, a bare loop doing the same work on plain vectors at
// 10N rows gives the floor ("ratio" is the grid's time over the bare loop's).
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"

#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace {

using benchpaired::Clock;
using benchpaired::Seconds;

// Each function sets up its own untimed state and returns the seconds of
// the timed work at the given row count.
using TTimed = std::function<double(int Rows)>;

// What a growth is held to: 12x for work that grows with the rows, or the
// bare loop's own growth with the same 1.2 margin for work that grows by
// more than its size (a sort: 10 x log(10N) / log(N) alone is over 12, and
// its compares leave the caches at 10N).
enum class TGrowthLimit { Fixed, PeerGrowth };

void Growth(
    benchmark::State& state, int N, const TTimed& subject, const TTimed& peer, TGrowthLimit Kind = TGrowthLimit::Fixed)
{
    double small = 1e30, large = 1e30, bareSmall = 1e30, bare = 1e30;
    for (auto _ : state) {
        small = std::min(small, subject(N));
        const double l = subject(10 * N);
        large = std::min(large, l);
        bareSmall = std::min(bareSmall, peer(N));
        bare = std::min(bare, peer(10 * N));
        state.SetIterationTime(l);
    }
    state.counters["small_ms"] = small * 1e3;
    state.counters["large_ms"] = large * 1e3;
    state.counters["growth"] = large / small;
    state.counters["peer_ms"] = bare * 1e3;
    state.counters["peer_growth"] = bare / bareSmall;
    state.counters["ratio"] = bare > 0 ? large / bare : 0;
    if (Kind == TGrowthLimit::PeerGrowth) {
        const double growth = large / small, peerGrowth = bare / bareSmall;
        state.counters["growth_vs_peer"] = growth / peerGrowth;
        benchpaired::FailAbove(state, growth / peerGrowth, 1.2, "the growth (" + std::to_string(growth) + "x)",
            "the bare loop's growth (" + std::to_string(peerGrowth) + "x)");
        return;
    }
    // A failed run shows no counters: the message carries the figures.
    if (large > 12 * small)
        state.SkipWithError(benchpaired::KeptMessage(
            QStringLiteral("10x the rows took more than 12x the time: %1 ms at N, %2 ms at 10N (bare loop growth %3)")
                .arg(small * 1e3, 0, 'f', 2)
                .arg(large * 1e3, 0, 'f', 2)
                .arg(bare / bareSmall, 0, 'f', 2)
                .toStdString()));
}

template <class F> double Timed(F f)
{
    const auto t0 = Clock::now();
    f();
    return Seconds(Clock::now() - t0);
}

// A grid of one header row and Rows rows of shuffled numbers in column 1.
std::unique_ptr<TExStringGrid> NumberGrid(int Rows, int Cols = 3)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows + 1);
    std::vector<int> v(static_cast<std::size_t>(Rows));
    std::iota(v.begin(), v.end(), 0);
    std::shuffle(v.begin(), v.end(), std::mt19937(3));
    for (int r = 0; r < Rows; ++r)
        g->SetCells(1, r + 1, QString::number(v[std::size_t(r)]));
    return g;
}

// Every row looked up by the place it had before sorting, beside a bare
// inverse of the same permutation.
void BM_GrowthUnSortedRowIndex(benchmark::State& state)
{
    Growth(
        state, 10000,
        [](int rows) {
            auto g = NumberGrid(rows);
            g->Sort(1, TSortDirection::sdAscending);
            long sum = 0;
            const double t = Timed([&] {
                for (int r = 0; r <= rows; ++r)
                    sum += g->UnSortedRowIndex(r);
            });
            benchmark::DoNotOptimize(sum);
            return t;
        },
        [](int rows) {
            std::vector<int> xref(std::size_t(rows) + 1);
            std::iota(xref.begin(), xref.end(), 0);
            std::shuffle(xref.begin(), xref.end(), std::mt19937(3));
            long sum = 0;
            const double t = Timed([&] {
                std::vector<int> inv(xref.size());
                for (std::size_t k = 0; k < xref.size(); ++k)
                    inv[std::size_t(xref[k])] = int(k);
                for (int r = 0; r <= rows; ++r)
                    sum += inv[std::size_t(r)];
            });
            benchmark::DoNotOptimize(sum);
            return t;
        });
}
BENCHMARK(BM_GrowthUnSortedRowIndex)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// Rows / 10 swaps of rows far apart, the sort's bubble step, beside swapping
// the same pairs in a vector of texts.
void BM_GrowthSortSwapRows(benchmark::State& state)
{
    auto pairs = [](int rows) {
        std::mt19937 rnd(9);
        std::vector<std::pair<int, int>> p(static_cast<std::size_t>(rows / 10));
        for (auto& [a, b] : p) {
            a = 1 + int(rnd() % std::uint32_t(rows / 2));
            b = rows - int(rnd() % std::uint32_t(rows / 2));
        }
        return p;
    };
    Growth(
        state, 10000,
        [&](int rows) {
            auto g = NumberGrid(rows);
            const auto p = pairs(rows);
            return Timed([&] {
                for (const auto& [a, b] : p)
                    g->SortSwapRows(a, b);
            });
        },
        [&](int rows) {
            std::vector<QString> texts(std::size_t(rows) + 1, QStringLiteral("text"));
            const auto p = pairs(rows);
            return Timed([&] {
                for (const auto& [a, b] : p)
                    std::swap(texts[std::size_t(a)], texts[std::size_t(b)]);
                benchmark::DoNotOptimize(texts.data());
            });
        });
}
BENCHMARK(BM_GrowthSortSwapRows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// Rows added one by one under a summing footer inside an update bracket,
// beside appending the same texts to a vector and summing them once.
void BM_GrowthAddRowsUnderFooter(benchmark::State& state)
{
    Growth(
        state, 10000,
        [](int rows) {
            auto g = std::make_unique<TExStringGrid>(nullptr);
            g->SetColCount(3);
            g->SetRowCount(2);
            g->FloatingFooter()->SetVisible(true);
            g->FloatingFooter()->SetColumnCalc(1, TColumnCalcType::acSUM);
            const double t = Timed([&] {
                g->BeginUpdate();
                for (int r = 0; r < rows; ++r) {
                    g->AddRow();
                    g->SetCells(1, g->RowCount() - 2, QString::number(r % 100));
                }
                g->EndUpdate();
            });
            benchmark::DoNotOptimize(g->Cells(1, g->RowCount() - 1));
            return t;
        },
        [](int rows) {
            std::vector<QString> texts;
            double sum = 0;
            const double t = Timed([&] {
                for (int r = 0; r < rows; ++r)
                    texts.push_back(QString::number(r % 100));
                for (const QString& s : texts)
                    sum += s.toDouble();
            });
            benchmark::DoNotOptimize(sum);
            return t;
        });
}
BENCHMARK(BM_GrowthAddRowsUnderFooter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// The same on the data users have: a tenth of the rows again added one by
// one under the summing footer of a grid whose rows have mixed heights, long
// texts, a hidden column, every fiftieth row filtered out, every third marked
// modified, every seventh disabled and every fifth selected bottom-up, so
// that every list kept per row reaches the new rows. Beside it, the same
// rows put into a vector of rows and into three flag vectors just above
// their last entry, and the column summed once.
void BM_GrowthAddRowsUnderFooterWorst(benchmark::State& state)
{
    using benchpaired::worst::LongText;
    Growth(
        state, 10000,
        [](int rows) {
            auto g = std::make_unique<TExStringGrid>(nullptr);
            g->SetColCount(4);
            // The header row, the rows and the row that becomes the footer.
            g->SetRowCount(rows + 2);
            g->SetDefaultRowHeight(benchpaired::worst::LowRow);
            benchpaired::worst::MixedHeights(*g, 1, rows);
            for (int r = 1; r <= rows; ++r) {
                g->SetCells(1, r, QString::number(r % 100));
                g->SetCells(2, r, LongText(2, r));
                g->SetCells(3, r, LongText(3, r));
                if (r % 3 == 0)
                    g->SetRowModified(r, true);
                if (r % 7 == 0)
                    g->SetRowEnabled(r, false);
            }
            for (int r = rows; r >= 1; --r)
                if (r % 5 == 0)
                    g->SetRowSelect(r, true);
            g->FloatingFooter()->SetVisible(true);
            g->FloatingFooter()->SetColumnCalc(1, TColumnCalcType::acSUM);
            g->HideColumn(3);
            std::vector<int> hidden;
            for (int r = 50; r <= rows; r += 50)
                hidden.push_back(r);
            g->HideRowList(hidden);
            const double t = Timed([&] {
                g->BeginUpdate();
                for (int r = 0; r < rows / 10; ++r) {
                    g->AddRow();
                    g->SetCells(1, g->RowCount() - 2, QString::number(r % 100));
                    g->SetCells(2, g->RowCount() - 2, LongText(2, r));
                }
                g->EndUpdate();
            });
            benchmark::DoNotOptimize(g->Cells(1, g->RowCount() - 1));
            return t;
        },
        [](int rows) {
            std::vector<std::vector<QString>> cells(std::size_t(rows) + 2, std::vector<QString>(4));
            std::vector<int> modified(std::size_t(rows) + 2), enabled(modified.size()), selected(modified.size());
            double sum = 0;
            const double t = Timed([&] {
                for (int r = 0; r < rows / 10; ++r) {
                    const auto at = std::ptrdiff_t(cells.size()) - 1;
                    auto row = cells.insert(cells.begin() + at, std::vector<QString>(4));
                    (*row)[1] = QString::number(r % 100);
                    (*row)[2] = LongText(2, r);
                    for (std::vector<int>* v : { &modified, &enabled, &selected })
                        v->insert(v->begin() + at, 0);
                }
                for (const auto& row : cells)
                    sum += row[1].toDouble();
            });
            benchmark::DoNotOptimize(sum);
            return t;
        });
}
BENCHMARK(BM_GrowthAddRowsUnderFooterWorst)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// The filter drop-down's values of a column of distinct texts (a tenth of
// them repeated in another case), beside sorting and deduplicating the same
// texts with the same case rule: a sort, held to the bare sort's growth.
void BM_GrowthFilterDropDownValues(benchmark::State& state)
{
    auto texts = [](int rows) {
        std::vector<QString> t(static_cast<std::size_t>(rows));
        std::mt19937 rnd(4);
        for (int r = 0; r < rows; ++r) {
            QString s = QStringLiteral("value%1").arg(rnd() % std::uint32_t(rows * 4));
            t[std::size_t(r)] = r % 10 == 0 ? s.toUpper() : s;
        }
        return t;
    };
    Growth(
        state, 20000,
        [&](int rows) {
            auto g = std::make_unique<TExStringGrid>(nullptr);
            g->SetColCount(2);
            g->SetRowCount(rows + 1);
            const auto t = texts(rows);
            for (int r = 0; r < rows; ++r)
                g->SetCells(1, r + 1, t[std::size_t(r)]);
            g->SetFilterDropDownAuto(true);
            return Timed([&] { benchmark::DoNotOptimize(g->GetColumnFilterValues(1)); });
        },
        [&](int rows) {
            auto t = texts(rows);
            return Timed([&] {
                auto less = [](const QString& a, const QString& b) {
                    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
                };
                std::stable_sort(t.begin(), t.end(), less);
                t.erase(std::unique(t.begin(), t.end(),
                            [](const QString& a, const QString& b) {
                                return QString::compare(a, b, Qt::CaseInsensitive) == 0;
                            }),
                    t.end());
                benchmark::DoNotOptimize(t.data());
            });
        },
        TGrowthLimit::PeerGrowth);
}
BENCHMARK(BM_GrowthFilterDropDownValues)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
