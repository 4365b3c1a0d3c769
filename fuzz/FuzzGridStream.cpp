// Loads arbitrary bytes as the string grid's stream form into a grid with
// settings from the first byte (bit 0 save fixed cells, bit 1 fixed columns,
// bit 2 fixed rows, bit 3 multi-line cells, bit 4 no fixed column, bit 5 no
// fixed row), then saves the grid and loads that into a second grid. A load
// returns or raises one of its two errors, leaves the stream on a unit
// boundary inside it, and what the grid saves reads back to the same form.

#include "controls/grid/ExGrid.h"
#include "platform/controls/Grids.h"
#include "platform/runtime/Classes.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Saving walks every cell of the range: the round trip is kept to grids a
// run gets through quickly.
constexpr qint64 MaxRoundTripCells = 100'000;

void Configure(TExStringGrid& g, std::uint8_t options)
{
    g.SetSaveFixedCells(options & 1);
    g.SetSaveFixedCols(options & 2);
    g.SetSaveFixedRows(options & 4);
    g.SetMultilinecells(options & 8);
    if (options & 16)
        g.SetFixedCols(0);
    if (options & 32)
        g.SetFixedRows(0);
}

// Loads the stream from its position; false when the load raised.
bool Load(TExStringGrid& g, TMemoryStream& s)
{
    const qint64 start = s.Position();
    bool loaded = true;
    try {
        g.LoadFromStream(&s);
    } catch (const EConvertError&) {
        loaded = false;
    } catch (const EInvalidGridOperation&) {
        loaded = false;
    }
    const qint64 pos = s.Position();
    if (pos < start || pos > s.Size() || (pos - start) % 2 != 0)
        std::abort();
    return loaded;
}

QByteArray Saved(TExStringGrid& g)
{
    TMemoryStream s;
    g.SaveToStream(&s);
    return s.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Streams up to 64 KB unless the run says otherwise: a grid's store
    // grows with columns times written rows, and both grow with the input.
    static std::vector<char*> args(*argv, *argv + *argc);
    static char maxLen[] = "-max_len=65536";
    bool has = false;
    for (char* a : args)
        has = has || std::strncmp(a, "-max_len=", 9) == 0;
    if (!has)
        args.insert(args.begin() + 1, maxLen);
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t options = data[0];
    TMemoryStream in;
    in.WriteBuffer(data + 1, qint64(size - 1));
    in.SetPosition(0);
    TExStringGrid grid(nullptr);
    Configure(grid, options);
    Load(grid, in);

    if (qint64(grid.ColCount()) * grid.RowCount() > MaxRoundTripCells)
        return 0;
    // With fixed cells saved the coordinates are the grid's own, so a second
    // grid of the same settings reads the saved form back to the same form.
    grid.SetSaveFixedCells(true);
    const QByteArray first = Saved(grid);
    TExStringGrid copy(nullptr);
    Configure(copy, options | 1);
    TMemoryStream again;
    again.WriteBuffer(first);
    again.SetPosition(0);
    if (!Load(copy, again) || again.Position() != again.Size())
        std::abort();
    if (Saved(copy) != first)
        std::abort();
    return 0;
}
