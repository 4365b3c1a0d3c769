// Loads arbitrary bytes as an XML file into the grid, with settings from the
// first byte (bit 0 level to row, bit 1 field names, bit 2 save fixed cells,
// bit 3 save fixed rows, bit 4 a fixed row). A load returns or raises the
// parse error, leaving the grid unchanged then.

#include "GridFileFuzz.h"
#include "controls/grid/ExGrid.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Every nesting level may start a row one column further right.
    gridfuzz::Initialize(argc, argv, "-max_len=16384");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t options = data[0];
    const QString path = gridfuzz::WriteScratch(data + 1, size - 1);
    TExStringGrid grid(nullptr);
    grid.SetSaveFixedCells(options & 4);
    grid.SetSaveFixedRows(options & 8);
    grid.SetFixedRows(options & 16 ? 1 : 0);
    grid.SetCells(0, 0, QStringLiteral("keep"));
    try {
        grid.LoadFromXML(path, options & 1, options & 2);
    } catch (const Exception& e) {
        if (!e.Message().startsWith(QStringLiteral("XMLDOM Parsing error "))
            || grid.Cells(0, 0) != QStringLiteral("keep"))
            std::abort();
    }
    return 0;
}
