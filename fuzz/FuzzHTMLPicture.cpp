// Feeds arbitrary bytes to the mark-up picture: its frame markers, every
// frame chosen in turn, frame times, animation steps and drawing. Loading may
// fail with an exception; nothing may read outside the data or abort.

#include "controls/base/PictureContainer.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Exceptions.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    THTMLPicture picture;
    try {
        picture.LoadFromBytes(bytes);
    } catch (const Exception&) {
    }
    static QImage image(64, 64, QImage::Format_RGB32);
    TCanvas canvas;
    canvas.BeginDraw(&image);
    picture.Draw(&canvas, Rect(0, 0, 64, 64));
    const int frames = picture.FrameCount();
    if (frames < -1 || (picture.IsGIF() != (frames >= 0)))
        std::abort();
    // Every frame, but not so many that one input takes seconds.
    for (int f = 1; f <= std::min(frames, 64); ++f) {
        try {
            picture.SetFrame(f);
        } catch (const Exception&) {
        }
        if (picture.Frame() != f)
            std::abort();
        (void)picture.GetFrameTime(f);
        picture.Draw(&canvas, Rect(0, 0, 64, 64));
        picture.SetStretch(!picture.Stretch());
    }
    for (int i = 0; i < 4; ++i) {
        try {
            picture.Step();
        } catch (const Exception&) {
        }
    }
    canvas.EndDraw();
    return 0;
}
