// Feeds arbitrary mark-up to DrawHTMLText in every mode (paint, measure only,
// hit test, word wrap, right-to-left), with pictures from a list, a container
// and the address cache. The renderer must return for every text, within the
// run's time limit per input, and leave the canvas as it found it.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/PictureContainer.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"

#include <QApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Texts up to 64 KB and 10 seconds an input unless the run says otherwise.
    static std::vector<char*> args(*argv, *argv + *argc);
    static char maxLen[] = "-max_len=65536";
    static char timeout[] = "-timeout=10";
    auto has = [](const char* flag) {
        for (const char* a : args)
            if (a && std::strncmp(a, flag, std::strlen(flag)) == 0)
                return true;
        return false;
    };
    if (!has("-max_len="))
        args.insert(args.begin() + 1, maxLen);
    if (!has("-timeout="))
        args.insert(args.begin() + 1, timeout);
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static TImageList images(16, 16);
    static TPictureContainer container(nullptr);
    if (images.Count() == 0) {
        QImage red(16, 16, QImage::Format_RGB32);
        red.fill(0xFFFF0000);
        images.AddImage(red);
        images.AddImage(red);
    }
    THTMLPictureCache cache;
    const uint8_t mode = data[0];
    const uint8_t extra = data[1];
    static QImage image(160, 120, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    TCanvas canvas;
    canvas.BeginDraw(&image);
    canvas.Pen()->SetColor(clMaroon);
    canvas.Brush()->SetColor(clAqua);
    const TColor font = canvas.Font()->Color();

    THTMLDrawInput in;
    in.Canvas = &canvas;
    in.Text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    in.Rect = Rect(0, 0, 40 + (extra & 0x7F), 120);
    in.Images = &images;
    in.XPos = extra % 64;
    in.YPos = (extra / 4) % 40;
    in.FocusLink = (mode >> 6) - 1;
    in.HoverLink = 1;
    in.CheckHotSpot = mode & 1;
    in.CheckHeight = mode & 2;
    in.WordWrap = mode & 4;
    in.Selected = mode & 8;
    in.Blink = mode & 16;
    in.HoverStyle = mode & 32;
    in.HoverColor = (mode & 32) ? clYellow : clNone;
    in.Print = extra & 0x80;
    in.ResFactor = 1.5;
    in.BiDiMode = (extra >> 5) & 3;
    in.PictureCache = &cache;
    in.PictureContainer = &container;
    THTMLDrawOutput out;
    if (mode & 1)
        out.ControlID = QStringLiteral("a");
    const bool hit = DrawHTMLText(in, out);
    if ((mode & 2) && hit)
        std::abort(); // measure only never reports a hit
    if (out.YSize <= 0 || out.XSize < 0 || out.HyperLinks < 0)
        std::abort();
    if (canvas.Pen()->Color() != clMaroon || canvas.Brush()->Color() != clAqua || canvas.Font()->Color() != font
        || canvas.Font()->Orientation() != 0)
        std::abort();
    canvas.EndDraw();
    return 0;
}
