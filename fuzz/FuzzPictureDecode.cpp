// Feeds arbitrary bytes to the JPEG and GIF decoders that pictures loaded by
// file type go through. Either decoder must return a result or a failure,
// never read outside the data or abort; whatever decodes must have a sane
// size and one image per frame.

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

    gif::Animation anim;
    if (gif::Decode(bytes, anim)) {
        if (anim.Frames.isEmpty())
            std::abort();
        for (const gif::Frame& f : anim.Frames)
            if (f.Image.width() != anim.ScreenWidth || f.Image.height() != anim.ScreenHeight)
                std::abort();
    }
    return 0;
}
