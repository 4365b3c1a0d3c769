// Reads arbitrary bytes as a CSV stream, with settings from the first byte
// (bit 0 insert, bit 1 JavaCSV, bit 2 no first row, bit 3 OEM texts, bit 4
// a visible floating footer, bit 5 progress events, bits 6-7 a row limit).
// A read returns or raises "File is empty" (no line at all).

#include "GridFileFuzz.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/runtime/Classes.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    gridfuzz::Initialize(argc, argv, "-max_len=65536");
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
    grid.SetJavaCSV(options & 2);
    grid.SetLoadFirstRow(!(options & 4));
    grid.SetOemConvert(options & 8);
    if (options & 16)
        grid.FloatingFooter()->SetVisible(true);
    if (options & 32)
        grid.OnFileProgress = [](TObject*, short p) {
            if (p < 0 || p > 100)
                std::abort();
        };
    try {
        grid.ReadCSVStream(&in, options & 1, options >> 6);
    } catch (const Exception& e) {
        // A stream of a byte-order mark alone holds no line either.
        if (e.Message() != QStringLiteral("File is empty"))
            std::abort();
    }
    return 0;
}
