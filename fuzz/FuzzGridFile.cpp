// Loads arbitrary bytes as the grid's native text file, with settings from
// the first byte (bit 0 save fixed cells, bit 1 fixed columns, bit 2 fixed
// rows, bit 3 multi-line cells). A load returns or raises the corrupt-file
// error; a grid it loaded saves a file that loads back to the same file.

#include "GridFileFuzz.h"
#include "controls/grid/ExGrid.h"
#include "platform/runtime/Classes.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 MaxRoundTripCells = 100'000;

void Configure(TExStringGrid& g, std::uint8_t options)
{
    g.SetSaveFixedCells(options & 1);
    g.SetSaveFixedCols(options & 2);
    g.SetSaveFixedRows(options & 4);
    g.SetMultilinecells(options & 8);
}

QByteArray Saved(TExStringGrid& g, const QString& path)
{
    g.SaveToFile(path, true);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    gridfuzz::Initialize(argc, argv, "-max_len=65536");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QString path = gridfuzz::WriteScratch(data + 1, size - 1);
    TExStringGrid grid(nullptr);
    Configure(grid, data[0]);
    try {
        grid.LoadFromFile(path);
    } catch (const EExGridError&) {
        return 0;
    }
    if (qint64(grid.TotalColCount()) * grid.RowCount() > MaxRoundTripCells)
        return 0;
    grid.SetSaveFixedCells(true);
    const QByteArray first = Saved(grid, path);
    TExStringGrid copy(nullptr);
    Configure(copy, data[0] | 1);
    copy.LoadFromFile(path);
    if (Saved(copy, path) != first)
        std::abort();
    return 0;
}
