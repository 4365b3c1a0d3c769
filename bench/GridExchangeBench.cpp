// The grid's file exchange against bare loops doing the same work in one
// run: CSV saving against Qt's text stream (within 3x) and against a loop
// that builds the same bytes, quoting included, and saves them once (within
// 2x); CSV loading against a reader that decodes the file and splits it into
// texts (within 3x); the native file form likewise; plain-text and XML export
// of 100,000 rows against a bare formatting loop (within 2x); a million rows
// at most 12x the time of 100,000. The worst case hides a column and gives
// every tenth cell a quote and a delimiter, so quoting is exercised.
#include "bench/BenchPaired.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "platform/runtime/FileUtils.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using benchpaired::Limit;
using benchpaired::Paired;

constexpr int Cols = 10;
constexpr int MillionRows = 1000000;
constexpr int TenthRows = 100000;

QString ShortText(int Col, int Row, bool Worst)
{
    if (Worst && (Row + Col) % 10 == 0)
        return QStringLiteral("a\"%1,b").arg(Row);
    return QStringLiteral("v%1").arg(Row * 10 + Col);
}

struct TFixture {
    std::unique_ptr<TExStringGrid> Grid;
    QTemporaryDir Dir;
    TFixture(int Rows, bool Worst)
    {
        Grid = std::make_unique<TExStringGrid>(nullptr);
        Grid->SetColCount(Cols + (Worst ? 1 : 0));
        Grid->SetRowCount(Rows);
        Grid->SetFixedRows(0);
        Grid->SetFixedCols(0);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Grid->ColCount(); ++c)
                Grid->SetCells(c, r, ShortText(c, r, Worst));
        if (Worst)
            Grid->HideColumn(Cols);
    }
    QString Path(const char* Name) const { return Dir.path() + u'/' + QLatin1String(Name); }
    // The texts the writers save, row by row (the shown columns).
    QString Cell(int c, int r) const { return Grid->Cells(Grid->RealColFromDisplay(c), r); }
};

TFixture& Fixture(int Rows, bool Worst)
{
    static std::unique_ptr<TFixture> f[2][2];
    auto& slot = f[Rows == MillionRows][Worst];
    if (!slot) {
        slot = std::make_unique<TFixture>(Rows, Worst);
        benchpaired::AtShutdown([&slot] { slot.reset(); });
    }
    return *slot;
}

// The CSV field as the writer makes it.
QString CsvField(const QString& Text)
{
    QString s = Text;
    if (s.contains(u'"') || s.contains(u',')) {
        s.replace(QLatin1String("\""), QLatin1String("\"\""));
        return u'"' + s + u'"';
    }
    return s;
}

void BM_GridSaveToCSVVsTextStream(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& f = Fixture(MillionRows, state.range(0));
    const QString peerPath = f.Path("peer.csv");
    Paired(
        state, [&] { f.Grid->SaveToCSV(f.Path("grid.csv"), true); },
        [&] {
            QFile file(peerPath);
            file.open(QIODevice::WriteOnly);
            QTextStream out(&file);
            out.setEncoding(QStringConverter::Utf8);
            for (int r = 0; r < f.Grid->RowCount(); ++r) {
                for (int c = 0; c < Cols; ++c) {
                    if (c > 0)
                        out << u',';
                    out << f.Cell(c, r);
                }
                out << "\r\n";
            }
        },
        [] {});
    Limit(state, 3);
}

void BM_GridSaveToCSVVsBareBytes(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& f = Fixture(MillionRows, state.range(0));
    Paired(
        state, [&] { f.Grid->SaveToCSV(f.Path("grid.csv"), true); },
        [&] {
            QString out;
            for (int r = 0; r < f.Grid->RowCount(); ++r) {
                for (int c = 0; c < Cols; ++c) {
                    if (c > 0)
                        out += u',';
                    out += CsvField(f.Cell(c, r));
                }
                out += QLatin1String("\r\n");
            }
            SaveFileAtomic(f.Path("bare.csv"), EncodeText(out, TTextEncoding::UTF8));
        },
        [] {});
    Limit(state, 2);
}

// Splits a decoded CSV text at line ends and delimiters, quotes honoured.
std::vector<QString> BareCsvRead(const QString& Path)
{
    QFile file(Path);
    file.open(QIODevice::ReadOnly);
    const QString text = DecodeText(file.readAll());
    std::vector<QString> cells;
    cells.reserve(size_t(MillionRows) * Cols);
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'"')
            quoted = !quoted;
        else if (!quoted && (ch == u',' || ch == u'\r')) {
            cells.push_back(text.mid(start, i - start));
            if (ch == u'\r')
                ++i;
            start = i + 1;
        }
    }
    return cells;
}

void BM_GridLoadFromCSVVsBareReader(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& f = Fixture(MillionRows, state.range(0));
    const QString path = f.Path("load.csv");
    f.Grid->SaveToCSV(path, true);
    TExStringGrid g(nullptr);
    g.SetDelimiter(u',');
    Paired(
        state, [&] { g.LoadFromCSV(path); }, [&] { benchmark::DoNotOptimize(BareCsvRead(path).size()); }, [] {});
    Limit(state, 3);
}

void BM_GridFileFormVsBareLines(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& f = Fixture(MillionRows, state.range(0));
    const QString path = f.Path("grid.txt");
    TExStringGrid g(nullptr);
    Paired(
        state,
        [&] {
            f.Grid->SaveToFile(path);
            g.LoadFromFile(path);
        },
        [&] {
            QString out;
            for (int r = 0; r < f.Grid->RowCount(); ++r)
                for (int c = 0; c < Cols; ++c)
                    out += QString::number(c) + u',' + QString::number(r) + u',' + EncodeControlChars(f.Cell(c, r))
                        + QLatin1String("\r\n");
            SaveFileAtomic(f.Path("bare.txt"), EncodeText(out, TTextEncoding::Ansi));
            QFile file(f.Path("bare.txt"));
            file.open(QIODevice::ReadOnly);
            const QStringList lines = DecodeText(file.readAll()).split(QLatin1String("\r\n"));
            std::vector<QString> texts;
            texts.reserve(size_t(lines.size()));
            for (const QString& l : lines)
                texts.push_back(l.section(u',', 2));
            benchmark::DoNotOptimize(texts.data());
        },
        [] {});
    Limit(state, 3);
}

void BM_GridASCIIExportVsBareLoop(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& f = Fixture(TenthRows, state.range(0));
    Paired(
        state, [&] { f.Grid->SaveToASCII(f.Path("grid.asc")); },
        [&] {
            std::vector<int> widths(Cols, 0);
            for (int c = 0; c < Cols; ++c)
                for (int r = 0; r < f.Grid->RowCount(); ++r)
                    widths[size_t(c)] = std::max(widths[size_t(c)], int(f.Cell(c, r).size()));
            QString out;
            for (int r = 0; r < f.Grid->RowCount(); ++r) {
                for (int c = 0; c < Cols; ++c) {
                    const QString s = f.Cell(c, r);
                    out += s + QString(widths[size_t(c)] - s.size() + 1, u' ');
                }
                out += QLatin1String("\r\n");
            }
            SaveFileAtomic(f.Path("bare.asc"), EncodeText(out, TTextEncoding::Ansi));
        },
        [] {});
    Limit(state, 2);
}

void BM_GridXMLExportVsBareLoop(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& f = Fixture(TenthRows, state.range(0));
    Paired(
        state, [&] { f.Grid->SaveToXML(f.Path("grid.xml"), QStringLiteral("L"), QStringLiteral("R")); },
        [&] {
            QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<L>\r\n");
            for (int r = 0; r < f.Grid->RowCount(); ++r) {
                out += QLatin1String("<R>\r\n");
                for (int c = 0; c < Cols; ++c) {
                    QString s = f.Cell(c, r);
                    s.replace(u'&', QLatin1String("&amp;")).replace(u'"', QLatin1String("&quot;"));
                    out += QStringLiteral("<FIELD%1>").arg(c) + s + QStringLiteral("</FIELD%1>\r\n").arg(c);
                }
                out += QLatin1String("</R>\r\n");
            }
            out += QLatin1String("</L>\r\n");
            SaveFileAtomic(f.Path("bare.xml"), EncodeText(out, TTextEncoding::Ansi));
        },
        [] {});
    Limit(state, 2);
}

void BM_GridCSVRoundTripMillionVsTenth(benchmark::State& state)
{
    benchpaired::KeepFreedHeap keep;
    TFixture& big = Fixture(MillionRows, state.range(0));
    TFixture& small = Fixture(TenthRows, state.range(0));
    TExStringGrid g(nullptr);
    Paired(
        state,
        [&] {
            big.Grid->SaveToCSV(big.Path("m.csv"));
            g.LoadFromCSV(big.Path("m.csv"));
        },
        [&] {
            small.Grid->SaveToCSV(small.Path("t.csv"));
            g.LoadFromCSV(small.Path("t.csv"));
        },
        [] {});
    Limit(state, 12);
}

} // namespace

BENCHMARK(BM_GridSaveToCSVVsTextStream)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GridSaveToCSVVsBareBytes)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GridLoadFromCSVVsBareReader)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_GridFileFormVsBareLines)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GridASCIIExportVsBareLoop)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridXMLExportVsBareLoop)->Apply(benchpaired::BestAndWorst)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridCSVRoundTripMillionVsTenth)
    ->Apply(benchpaired::BestAndWorst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
