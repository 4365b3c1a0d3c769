// Reads arbitrary bytes as the INI file a grid keeps its column positions and
// widths in (LoadColPositions, then LoadColSizes). The first byte sets up
// the grid (1 to 8 columns, some hidden); the rest is the file. Reading
// raises nothing, never writes the file, keeps every column with its cells
// and hidden state, and takes widths only from 0 to 32767; what it gives is
// saved and, read into a second grid set up the same way, gives the same
// grid.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "fuzz/FuzzSupport.h"
#include "platform/runtime/FileUtils.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<TExStringGrid> MakeGrid(std::uint8_t setup, const QString& store)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    const int cols = 1 + setup % 8;
    g->SetColCount(cols);
    for (int c = 0; c < cols; ++c) {
        g->SetCells(c, 0, QString::number(c));
        g->SetColWidths(c, 20 + 3 * c);
    }
    g->SetColumnOrder();
    for (int c = cols - 1; c > 0; --c)
        if (setup & (0x8 << (c % 5)))
            g->HideColumn(c);
    g->ColumnSize()->Key = store;
    g->ColumnSize()->Section = QStringLiteral("Grid");
    g->ColumnSize()->Location = TColumnSizeLocation::clIniFile;
    return g;
}

// Widths of the shown columns and row 0 in real order, hidden ones in
// brackets.
QString State(const TExStringGrid& g)
{
    QString s;
    for (int d = 0; d < g.ColCount(); ++d)
        s += QString::number(g.ColWidths(d)) + QLatin1Char(',');
    s += QLatin1Char('|');
    for (int c = 0; c < g.TotalColCount(); ++c)
        s += g.IsHiddenColumn(c) ? QLatin1Char('[') + g.Cells(c, 0) + QLatin1Char(']') : g.Cells(c, 0);
    return s;
}

// Row 0's texts and hidden flags, whatever their order.
QString Contents(const TExStringGrid& g)
{
    QStringList cells;
    for (int c = 0; c < g.TotalColCount(); ++c)
        cells << (g.IsHiddenColumn(c) ? QLatin1Char('[') + g.Cells(c, 0) + QLatin1Char(']') : g.Cells(c, 0));
    cells.sort();
    return cells.join(QLatin1Char(' '));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return Fuzz_Default_Max_Len(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QString& folder = Fuzz_Temp_Folder("columnsizes");
    const QString input = folder + QStringLiteral("/input.ini");
    const QString saved = folder + QStringLiteral("/saved.ini");
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (!SaveFileAtomic(input, bytes))
        std::abort();
    QFile::remove(saved);
    const auto g = MakeGrid(data[0], input);
    const QString before = Contents(*g);
    g->LoadColPositions();
    g->LoadColSizes();
    if (Fuzz_Read_Bytes(input) != bytes)
        std::abort();
    if (Contents(*g) != before)
        Fuzz_Fail("a column or its hidden state was lost", before, Contents(*g));
    for (int d = 0; d < g->ColCount(); ++d)
        if (g->ColWidths(d) < 0 || g->ColWidths(d) > 32767)
            Fuzz_Fail("a width out of range", State(*g), QString());
    g->ColumnSize()->Key = saved;
    g->SaveColPositions();
    g->SaveColSizes();
    const auto again = MakeGrid(data[0], saved);
    again->LoadColPositions();
    again->LoadColSizes();
    if (State(*again) != State(*g))
        Fuzz_Fail("the grid's own store gave another grid", State(*g), State(*again));
    return 0;
}
