// Sorting a string list against sorting the same keys in a std::vector with
// std::sort. Both compare the way the list does by default (letter case
// ignored); the copy of the unsorted keys is kept out of the timing.
#include "platform/runtime/Classes.h"

#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

std::vector<QString> RandomKeys(int n)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> len(4, 16);
    std::uniform_int_distribution<int> ch(0, 51);
    std::vector<QString> keys;
    keys.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        QString s;
        const int l = len(rng);
        for (int j = 0; j < l; ++j) {
            const int c = ch(rng);
            s += QChar(c < 26 ? 'a' + c : 'A' + c - 26);
        }
        keys.push_back(s);
    }
    return keys;
}

void BM_TStringListSort(benchmark::State& state)
{
    const std::vector<QString> keys = RandomKeys(int(state.range(0)));
    TStringList source;
    for (const QString& k : keys)
        source.Add(k);
    for (auto _ : state) {
        state.PauseTiming();
        TStringList l;
        l.Assign(&source);
        state.ResumeTiming();
        l.Sort();
        benchmark::DoNotOptimize(l.Strings(0));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StdSortVector(benchmark::State& state)
{
    const std::vector<QString> keys = RandomKeys(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<QString> v = keys;
        state.ResumeTiming();
        std::sort(v.begin(), v.end(),
            [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
        benchmark::DoNotOptimize(v.front());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_TStringListSort)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StdSortVector)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
