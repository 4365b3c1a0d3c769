#pragma once
// Timing a subject beside its peer in the same run: both once per
// iteration, one after the other. The subject's time is the benchmark's
// time; the counters give the peer's time and the ratio (subject / peer).

#include <benchmark/benchmark.h>
#include <chrono>

namespace benchpaired {

// The screen every grid benchmark paints: 20 columns under a header row
// beside a numbered header column, at most a million rows.
namespace screen {
constexpr int Cols = 20;
constexpr int Width = 1000;
constexpr int Height = 700;
constexpr int ColWidth = 64;
constexpr int RowHeight = 24;
constexpr int MillionRows = 1000000;
} // namespace screen

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// `between` runs untimed before each pair.
template <class G, class P, class B> void Paired(benchmark::State& state, G subject, P peer, B between)
{
    double g = 0, p = 0;
    for (auto _ : state) {
        between();
        const auto t0 = Clock::now();
        subject();
        const auto t1 = Clock::now();
        peer();
        const auto t2 = Clock::now();
        g += Seconds(t1 - t0);
        p += Seconds(t2 - t1);
        state.SetIterationTime(Seconds(t1 - t0));
    }
    const double n = double(state.iterations());
    state.counters["peer_us"] = p / n * 1e6;
    state.counters["ratio"] = p > 0 ? g / p : 0;
}

template <class G, class P> void Paired(benchmark::State& state, G subject, P peer)
{
    Paired(state, subject, peer, [] {});
}

} // namespace benchpaired
