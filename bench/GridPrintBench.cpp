// Printing the string grid: the preview of a 10,000-row grid of 10 columns
// into an image, and its print to a PDF file, each beside a bare painter
// drawing the same cell rectangles and texts into the same kind of device;
// the cost per page of printing 10,000 rows beside 1,000; and the counting
// pass over 100,000 rows beside 10,000. The worst case has rows of mixed
// heights, a hidden column and long distinct texts without tags.
#include "bench/BenchPaired.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/gridio/ExGridPrint.h"
#include "platform/controls/Printers.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr int Cols = 10;

std::unique_ptr<TExStringGrid> MakeGrid(int rows, bool worst)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(Cols + (worst ? 1 : 0));
    g->SetRowCount(rows + 1);
    g->SetFixedRows(1);
    g->SetFixedCols(0);
    for (int c = 0; c < g->ColCount(); ++c)
        g->SetCells(c, 0, QStringLiteral("Col %1").arg(c));
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < g->ColCount(); ++c)
            g->SetCells(c, r,
                worst && c == 3 ? benchpaired::worst::LongText(c, r).left(40) : QStringLiteral("R%1C%2").arg(r).arg(c));
    if (worst) {
        benchpaired::worst::MixedHeights(*g, 1, rows);
        g->PrintSettings()->NoAutoSizeRow = true;
        g->HideColumn(Cols);
    }
    g->PrintSettings()->PageNr = TPrintPosition::ppBottomRight;
    return g;
}

// The peer: each cell's rectangle and text, 50 rows a page.
void BareCells(QPainter& p, TExStringGrid* g, QPrinter* printer, int cellW, int cellH)
{
    int y = 0;
    for (int r = 0; r < g->RowCount(); ++r) {
        if (r > 0 && r % 50 == 0) {
            y = 0;
            if (printer)
                printer->newPage();
        }
        for (int c = 0; c < Cols; ++c) {
            const QRect rc(c * cellW, y, cellW, cellH);
            p.drawRect(rc);
            p.drawText(rc.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, g->Cells(c, r));
        }
        y += cellH;
    }
}

void BM_GridPrintPreviewVsBarePainter(benchmark::State& state)
{
    auto g = MakeGrid(10000, state.range(0) != 0);
    QImage img(794, 1123, QImage::Format_RGB32);
    Paired(
        state,
        [&] {
            TCanvas c;
            c.BeginDraw(&img);
            g->PrintPreview(&c, TRect(0, 0, img.width(), img.height()));
            c.EndDraw();
        },
        [&] {
            QPainter p(&img);
            BareCells(p, g.get(), nullptr, 70, 20);
        });
    Limit(state, 3.0);
}

void BM_GridPrintPdfVsBarePainter(benchmark::State& state)
{
    auto g = MakeGrid(10000, state.range(0) != 0);
    QTemporaryDir dir;
    Paired(
        state,
        [&] {
            SetPrinter(std::make_unique<TPdfFilePrinter>(dir.filePath(QStringLiteral("g.pdf")), 300));
            g->Print();
            SetPrinter(nullptr);
        },
        [&] {
            QPrinter pr(QPrinter::HighResolution);
            pr.setOutputFormat(QPrinter::PdfFormat);
            pr.setOutputFileName(dir.filePath(QStringLiteral("b.pdf")));
            pr.setResolution(300);
            QPainter p(&pr);
            BareCells(p, g.get(), &pr, 200, 60);
        });
    Limit(state, 3.0);
}

double PdfSecondsPerPage(TExStringGrid* g, const QString& file)
{
    SetPrinter(std::make_unique<TPdfFilePrinter>(file, 300));
    const auto t0 = benchpaired::Clock::now();
    g->Print();
    const double s = benchpaired::Seconds(benchpaired::Clock::now() - t0);
    SetPrinter(nullptr);
    return s / std::max(1, g->PrintNrOfPages());
}

void BM_GridPrintPageCostTenThousandVsThousandRows(benchmark::State& state)
{
    auto big = MakeGrid(10000, state.range(0) != 0);
    auto small = MakeGrid(1000, state.range(0) != 0);
    QTemporaryDir dir;
    double b = 0, s = 0;
    for (auto _ : state) {
        const double pb = PdfSecondsPerPage(big.get(), dir.filePath(QStringLiteral("big.pdf")));
        const double ps = PdfSecondsPerPage(small.get(), dir.filePath(QStringLiteral("small.pdf")));
        b += pb;
        s += ps;
        state.SetIterationTime(pb);
    }
    state.counters["ratio"] = s > 0 ? b / s : 0;
    Limit(state, 1.2);
}

int CountPages(TExStringGrid* g)
{
    QImage img(794, 1123, QImage::Format_RGB32);
    TCanvas c;
    c.BeginDraw(&img);
    TMetricCanvas mc(&c);
    TGridPageEngine::Prepare(g, { 0, 0, g->ColCount() - 1, g->RowCount() - 1 }, TRect(0, 0, 794, 1123), 1, 1);
    const int n = TGridPageEngine(g, mc, TPrintPass::CountPreview, false, 0).Run();
    c.EndDraw();
    return n;
}

void BM_GridPrintCountingHundredVsTenThousandRows(benchmark::State& state)
{
    auto big = MakeGrid(100000, state.range(0) != 0);
    auto small = MakeGrid(10000, state.range(0) != 0);
    Paired(
        state, [&] { benchmark::DoNotOptimize(CountPages(big.get())); },
        [&] { benchmark::DoNotOptimize(CountPages(small.get())); });
    Limit(state, 12.0);
}

} // namespace

BENCHMARK(BM_GridPrintPreviewVsBarePainter)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);
BENCHMARK(BM_GridPrintPdfVsBarePainter)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);
BENCHMARK(BM_GridPrintPageCostTenThousandVsThousandRows)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);
BENCHMARK(BM_GridPrintCountingHundredVsTenThousandRows)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
