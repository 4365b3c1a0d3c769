#pragma once
// Timing a subject beside its peer in the same run: both once per
// iteration, one after the other. The subject's time is the benchmark's
// time; the counters give the peer's time and the ratio (subject / peer).

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <deque>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

// The floor of painting one screen: a bare painter drawing each visible
// cell's text, Text (column, screen row), at the cell's top left.
template <class T> void DrawScreenTexts(QImage& Image, const QFont& Font, T Text)
{
    using namespace screen;
    const int shownCols = std::min(Cols + 1, Width / (ColWidth + 1) + 1);
    const int shownRows = Height / (RowHeight + 1) + 1;
    QPainter p(&Image);
    p.fillRect(Image.rect(), Qt::white);
    p.setFont(Font);
    for (int y = 0; y < shownRows; ++y)
        for (int x = 0; x < shownCols; ++x) {
            const QRect cell(x * (ColWidth + 1), y * (RowHeight + 1), ColWidth, RowHeight);
            p.drawText(cell.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, Text(x, y));
        }
}

using Clock = std::chrono::steady_clock;

// For benchmarks whose sides free everything they allocated on every
// iteration: the C library would hand large blocks and the freed top of the
// heap back to the system each time and fault them in again, which on this
// kind of machine costs more than the work itself and drowns the comparison
// (and would make it depend on what ran before). Measured with it: the steady
// state of a program that does the work more than once.
struct KeepFreedHeap {
#ifdef __GLIBC__
    KeepFreedHeap()
    {
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
    }
    ~KeepFreedHeap()
    {
        mallopt(M_TRIM_THRESHOLD, 128 << 10);
        mallopt(M_MMAP_THRESHOLD, 128 << 10);
    }
#endif
};

inline double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Fails the run when `figure` is above `limit`, saying so: "<what> takes
// <figure> times <peer>", so that a failed run still shows its figure.
inline void FailAbove(
    benchmark::State& state, double figure, double limit, const std::string& what, const std::string& peer)
{
    if (figure <= limit)
        return;
    static std::deque<std::string> messages;
    messages.push_back(
        what + " takes " + std::to_string(figure) + " times " + peer + " (limit " + std::to_string(limit) + ")");
    state.SkipWithError(messages.back().c_str());
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
