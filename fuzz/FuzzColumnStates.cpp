// Feeds arbitrary text to the grid's column-state reader. The first byte sets
// up the grid (1 to 8 columns, some of them hidden); the rest is the text. A
// text the reader refuses raises only the conversion error and leaves the
// grid exactly as it was; one it takes never removes a column, leaves the
// columns it does not name as they were, and gives a grid whose own
// column-state text, read into a second grid set up the same way, gives the
// same grid. Texts run up to 1 MB, so that orders of many columns show how
// the reading grows.

#include "controls/grid/ExGrid.h"
#include "fuzz/FuzzSupport.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QApplication>

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
    const auto g = MakeGrid(data[0]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString before = State(*g);
    const int total = g->TotalColCount();
    try {
        g->StringToColumnStates(text);
    } catch (const EConvertError&) {
        if (State(*g) != before)
            Fuzz_Fail("a refused text changed the grid", before, State(*g));
        return 0;
    }
    if (!text.contains(QLatin1Char('#'))) {
        if (State(*g) != before)
            Fuzz_Fail("a text without # changed the grid", before, State(*g));
        return 0;
    }
    // The grid grows to the count the text gave, and never shrinks.
    const int count = StrToInt(text.section(QLatin1Char('#'), 0, 0));
    if (g->TotalColCount() != std::max(total, count))
        Fuzz_Fail("column count", text, g->ColumnStatesToString());
    // The columns the text does not name keep their place, cells and state.
    const auto old = MakeGrid(data[0]);
    for (int c = count; c < total; ++c)
        if (g->Cells(c, 0) != old->Cells(c, 0) || g->IsHiddenColumn(c) != old->IsHiddenColumn(c))
            Fuzz_Fail("a column the text does not name changed", before, State(*g));
    const auto again = MakeGrid(data[0]);
    again->StringToColumnStates(g->ColumnStatesToString());
    if (State(*again) != State(*g))
        Fuzz_Fail("the grid's own text gave another grid", State(*g), State(*again));
    return 0;
}
