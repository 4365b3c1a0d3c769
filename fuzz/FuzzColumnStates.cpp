// Feeds arbitrary text to the grid's column-state reader. The first byte sets
// up the grid (1 to 8 columns, some of them hidden); the rest is the text. A
// text the reader refuses raises only the conversion error and leaves the
// grid exactly as it was; one it takes gives a grid whose own column-state
// text, read into a second grid set up the same way, gives the same grid.

#include "controls/grid/ExGrid.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<TExStringGrid> MakeGrid(std::uint8_t setup)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    const int cols = 1 + setup % 8;
    g->SetColCount(cols);
    for (int c = 0; c < cols; ++c)
        g->SetCells(c, 0, QString::number(c));
    g->SetColumnOrder();
    for (int c = cols - 1; c > 0; --c)
        if (setup & (0x8 << (c % 5)))
            g->HideColumn(c);
    return g;
}

// The column-state text and row 0 in real order, hidden columns in brackets.
QString State(TExStringGrid& g)
{
    QString s = g.ColumnStatesToString() + QLatin1Char('|');
    for (int c = 0; c < g.TotalColCount(); ++c)
        s += g.IsHiddenColumn(c) ? QLatin1Char('[') + g.Cells(c, 0) + QLatin1Char(']') : g.Cells(c, 0);
    return s;
}

void Fail(const char* what, const QString& a, const QString& b)
{
    std::fprintf(stderr, "%s:\n  %s\n  %s\n", what, qPrintable(a), qPrintable(b));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto g = MakeGrid(data[0]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString before = State(*g);
    try {
        g->StringToColumnStates(text);
    } catch (const EConvertError&) {
        if (State(*g) != before)
            Fail("a refused text changed the grid", before, State(*g));
        return 0;
    }
    if (!text.contains(QLatin1Char('#'))) {
        if (State(*g) != before)
            Fail("a text without # changed the grid", before, State(*g));
        return 0;
    }
    // The count the text gave is the number of columns, hidden ones included.
    if (g->TotalColCount() != StrToInt(text.section(QLatin1Char('#'), 0, 0)))
        Fail("column count", text, g->ColumnStatesToString());
    const auto again = MakeGrid(data[0]);
    again->StringToColumnStates(g->ColumnStatesToString());
    if (State(*again) != State(*g))
        Fail("the grid's own text gave another grid", State(*g), State(*again));
    return 0;
}
