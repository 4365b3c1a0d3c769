// Feeds arbitrary bytes to the JPEG and GIF decoders that pictures loaded by
// file type go through. Either decoder must return a result or a failure,
// never read outside the data or abort; whatever decodes must have a sane
// size, frames within the pixel budget, and each frame must compose to one
// screen.

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
        qint64 pixels = 0;
        for (const gif::Frame& f : anim.Frames) {
            if (f.Indices.size() != qint64(f.Bounds.width()) * f.Bounds.height())
                std::abort();
            pixels += f.Indices.size();
        }
        if (pixels > gif::MaxTotalFramePixels)
            std::abort();
        gif::Composer screen;
        for (int i = 0; i < anim.Frames.size(); ++i) {
            const QImage img = screen.Compose(anim, i);
            if (img.width() != anim.ScreenWidth || img.height() != anim.ScreenHeight)
                std::abort();
        }
    }
    return 0;
}
