// Feeds arbitrary bytes to the JPEG and GIF decoders that pictures loaded by
// file type go through. Either decoder must return a result or a failure,
// never read outside the data or abort; whatever decodes must have a sane
// size, the GIF's first image within the pixel budget and on one screen.

#include "platform/graphics/Gif.h"
#include "platform/graphics/Jpeg.h"

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QImage img;
    if (jpeg::Decode(bytes, img) && (img.isNull() || img.width() <= 0 || img.height() <= 0))
        std::abort();
    int w = 0, h = 0, comps = 0;
    (void)jpeg::ReadHeader(bytes, w, h, comps);

    gif::Image first;
    if (gif::Decode(bytes, first)) {
        if (first.Indices.size() != qint64(first.Bounds.width()) * first.Bounds.height()
            || first.Indices.size() > gif::MaxScreenPixels)
            std::abort();
        const QImage screen = first.ToImage();
        if (screen.width() != first.ScreenWidth || screen.height() != first.ScreenHeight
            || qint64(screen.width()) * screen.height() > gif::MaxScreenPixels)
            std::abort();
    }
    return 0;
}
