// Loads arbitrary bytes as a language's flag picture, through the bitmap
// reader the options dialog uses for LANGUAGE/<name>.bmp. A damaged file
// must end in the picture error or a bitmap of sane size, never read outside
// the data, abort or take an allocation out of proportion to a flag.

#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/Exceptions.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TBitmap bmp;
    try {
        bmp.LoadFromBytes(bytes);
    } catch (const Exception&) {
        if (!bmp.Empty())
            std::abort(); // a refused picture leaves the bitmap as it was
        return 0;
    }
    if (bmp.Empty())
        std::abort();
    // What the dialog then does with it: draw it, here shrunk to a slot.
    TBitmap slot(24, 16);
    bmp.SetTransparent(true);
    bmp.Draw(slot.Canvas(), Rect(0, 0, 24, 16));
    return 0;
}
