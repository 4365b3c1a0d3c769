// Loads arbitrary bytes as a fixed-width file. The first byte holds the
// settings (bit 0 trim, bits 1-3 the number of positions, bits 4-5 a row
// limit, 3 meaning none); the positions follow, one byte each.

#include "GridFileFuzz.h"
#include "controls/grid/ExGrid.h"

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
    const std::size_t count = std::min<std::size_t>((options >> 1) & 7, size - 1);
    TIntList positions(0, 0);
    for (std::size_t i = 0; i < count; ++i)
        positions.Add(int(std::int8_t(data[1 + i])));
    const QString path = gridfuzz::WriteScratch(data + 1 + count, size - 1 - count);
    TExStringGrid grid(nullptr);
    const int limit = (options >> 4) & 3;
    grid.LoadFromFixed(path, &positions, options & 1, limit == 3 ? -1 : limit);
    for (int i = 1; i < positions.Count(); ++i)
        if (positions.Integers(i - 1) > positions.Integers(i))
            std::abort();
    return 0;
}
