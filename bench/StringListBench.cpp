// Sorting a string list beside sorting the same keys in a std::vector with
// std::sort, in the same run, within 2x. Both compare the way the list does
// by default (letter case ignored); the copies of the unsorted keys are kept
// out of the timing. Worst 1: keys sharing a long prefix, so that their
// first characters never decide.
#include "bench/BenchPaired.h"
#include "platform/runtime/Classes.h"

#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

std::vector<QString> RandomKeys(int n, bool worst)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> len(4, 16);
    std::uniform_int_distribution<int> ch(0, 51);
    const QString prefix = worst ? QStringLiteral("Transmitter loop of the plant ") : QString();
    std::vector<QString> keys;
    keys.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        QString s = prefix;
        const int l = len(rng);
        for (int j = 0; j < l; ++j) {
            const int c = ch(rng);
            s += QChar(c < 26 ? 'a' + c : 'A' + c - 26);
        }
        keys.push_back(s);
    }
    return keys;
}

void BM_TStringListSortVsStdSort(benchmark::State& state)
{
    const std::vector<QString> keys = RandomKeys(int(state.range(0)), state.range(1) != 0);
    TStringList source;
    for (const QString& k : keys)
        source.Add(k);
    TStringList l;
    std::vector<QString> v;
    Paired(
        state,
        [&] {
            l.Sort();
            benchmark::DoNotOptimize(l.Strings(0));
        },
        [&] {
            std::sort(v.begin(), v.end(),
                [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
            benchmark::DoNotOptimize(v.front());
        },
        [&] {
            l.Assign(&source);
            v = keys;
        });
    state.SetItemsProcessed(state.iterations() * state.range(0));
    Limit(state, 2);
}

} // namespace

BENCHMARK(BM_TStringListSortVsStdSort)
    ->ArgNames({ "n", "worst" })
    ->ArgsProduct({ { 1000, 100000 }, { 0, 1 } })
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
