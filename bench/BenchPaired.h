#pragma once
// Timing a subject beside its peer in the same run: both once per
// iteration, one after the other. The subject's time is the benchmark's
// time; the counters give the peer's time and the ratio (subject / peer).
// A figure above its limit fails the benchmark (Limit).

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace benchpaired {

// Data kept from one benchmark to the next (a grid of a million rows) is
// released here, while the application it was made under still stands:
// released as a static after main, its widgets crashed the exit.
inline std::vector<std::function<void()>>& Cleanups()
{
    static std::vector<std::function<void()>> list;
    return list;
}
inline void AtShutdown(std::function<void()> F)
{
    Cleanups().push_back(std::move(F));
}
inline void RunCleanups()
{
    auto& list = Cleanups();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        (*it)();
    list.clear();
}

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

// The worst realistic data, run beside the best case: rows of mixed heights,
// hidden rows and columns, long texts without tags, distinct in every cell.
namespace worst {
// A mixed grid's default row height; every second row is screen::RowHeight.
constexpr int LowRow = 18;

// A long text without tags, distinct per cell, as a description column holds.
inline QString LongText(int Col, int Row)
{
    return QStringLiteral("Holding register %1 of channel %2: scaled process value, read every cycle")
        .arg(Row, 7, 10, QChar(u'0'))
        .arg(Col);
}

// Rows from First to Last (inclusive) alternate LowRow and screen::RowHeight,
// starting low; G is any grid with SetRowHeights.
template <class G> void MixedHeights(G& Grid, int First, int Last)
{
    for (int r = First; r <= Last; ++r)
        Grid.SetRowHeights(r, r % 2 ? screen::RowHeight : LowRow);
}
} // namespace worst

// Registers the best case (worst 0) and the worst (worst 1) of a paired benchmark.
inline void BestAndWorst(benchmark::internal::Benchmark* b)
{
    b->ArgName("worst")->Arg(0)->Arg(1)->UseManualTime();
}

// The benchmark library keeps the text of a failure by its address until it
// reports (and sums repetitions): each message lives to the end of the run.
inline const char* KeptMessage(std::string Message)
{
    static std::deque<std::string> messages;
    return messages.emplace_back(std::move(Message)).c_str();
}

// Fails the benchmark when the counter is above Limit. A failed run shows no
// counters, so the message carries the figure.
inline bool Limit(benchmark::State& state, double Limit, const char* Counter = "ratio")
{
    const double v = state.counters[Counter];
    state.counters["limit"] = Limit;
    if (v <= Limit)
        return true;
    const QString msg = QStringLiteral("%1 %2 above its limit %3")
                            .arg(QLatin1String(Counter), QString::number(v, 'g', 3), QString::number(Limit, 'g', 3));
    state.SkipWithError(KeptMessage(msg.toStdString()));
    return false;
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
    state.SkipWithError(KeptMessage(
        what + " takes " + std::to_string(figure) + " times " + peer + " (limit " + std::to_string(limit) + ")"));
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
