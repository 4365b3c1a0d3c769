#include "common/TestFiles.h"
#include "common/GifBuilder.h"
#include "common/TestUtil.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Gif.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Resources.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace testgif;

namespace {

// Four quadrants: red, green / blue, white.
QImage Quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2;
            const bool bottom = y >= h / 2;
            QRgb c = !bottom ? (right ? qRgb(0, 200, 0) : qRgb(220, 0, 0))
                             : (right ? qRgb(255, 255, 255) : qRgb(0, 0, 210));
            img.setPixel(x, y, c);
        }
    return img;
}

bool Near(QRgb a, QRgb b, int tol)
{
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol
        && std::abs(qBlue(a) - qBlue(b)) <= tol;
}

QImage WhiteImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(0xFFFFFFFF);
    return img;
}


} // namespace

// ---------------------------------------------------------------------------
// JPEG

TEST(JpegTest, WrittenThroughLibjpegAndReadBackByExtension)
{
    TBitmap bmp;
    bmp.SetImage(Quadrants(64, 48));
    TJPEGImage jpg;
    jpg.Assign(&bmp);
    jpg.SetCompressionQuality(92);
    const QString path = testutil::TempDir() + "/quadrants.JPG";
    jpg.SaveToFile(path);

    TPicture pic;
    pic.LoadFromFile(path);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 64);
    EXPECT_EQ(pic.Height(), 48);
    const QImage back = pic.Graphic()->ToImage();
    EXPECT_TRUE(Near(back.pixel(10, 10), qRgb(220, 0, 0), 24));
    EXPECT_TRUE(Near(back.pixel(50, 10), qRgb(0, 200, 0), 24));
    EXPECT_TRUE(Near(back.pixel(10, 40), qRgb(0, 0, 210), 24));
    EXPECT_TRUE(Near(back.pixel(50, 40), qRgb(255, 255, 255), 24));
    // A loaded file is saved again unchanged.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(pic.Graphic()->SaveToBytes(), f.readAll());
}

TEST(JpegTest, GrayscaleWritesOneComponent)
{
    TJPEGImage jpg;
    jpg.SetImage(Quadrants(32, 32));
    jpg.SetGrayscale(true);
    const QByteArray data = jpg.SaveToBytes();
    int w = 0, h = 0, comps = 0;
    ASSERT_TRUE(jpeg::ReadHeader(data, w, h, comps));
    EXPECT_EQ(w, 32);
    EXPECT_EQ(comps, 1);
    QImage img;
    ASSERT_TRUE(jpeg::Decode(data, img));
    const QRgb p = img.pixel(5, 5);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_EQ(qGreen(p), qBlue(p));
}

TEST(JpegTest, CorruptDataIsAReportedFailure)
{
    QByteArray good;
    ASSERT_TRUE(jpeg::Encode(Quadrants(40, 40), {}, good));
    QByteArray badHuffman = good;
    for (qsizetype i = good.size() / 2; i < good.size() - 2; ++i)
        badHuffman[i] = char(0xFF); // markers where entropy data should be
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        { "empty", QByteArray() },
        { "not a jpeg", QByteArray("GIF89a not a jpeg at all") },
        { "start marker only", QByteArray("\xFF\xD8\xFF", 3) },
        { "truncated", good.left(good.size() / 2) },
        { "damaged body", badHuffman },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage img;
        QString error;
        EXPECT_FALSE(jpeg::Decode(c.data, img, &error));
        EXPECT_TRUE(img.isNull());
        EXPECT_FALSE(error.isEmpty());
    }

    // The graphic keeps its picture when a load fails.
    TJPEGImage jpg;
    jpg.LoadFromBytes(good);
    EXPECT_THROW(jpg.LoadFromBytes(good.left(good.size() / 2)), EInvalidGraphic);
    EXPECT_EQ(jpg.Width(), 40);
    EXPECT_EQ(jpg.SaveToBytes(), good);
}

TEST(JpegTest, PictureKeepsItsGraphicWhenAFileFailsToLoad)
{
    const QString dir = testutil::TempDir();
    QFile bad(dir + "/bad.jpeg");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\xFF\xD8\xFF\xE0 broken", 11);
    bad.close();

    TPicture pic;
    TBitmap bmp(5, 6);
    pic.SetGraphic(&bmp);
    EXPECT_THROW(pic.LoadFromFile(bad.fileName()), EInvalidGraphic);
    EXPECT_THROW(pic.LoadFromFile(dir + "/missing.png"), EFOpenError);
    EXPECT_THROW(pic.LoadFromFile(dir + "/picture.xyz"), EInvalidGraphic);
    ASSERT_NE(dynamic_cast<TBitmap*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 5);
}

// ---------------------------------------------------------------------------
// GIF

TEST(GifTest, FirstImageOnItsScreenWithTransparency)
{
    // Only the first image is decoded: frames 2 and 3 are not shown.
    const QByteArray data = BuildGif(4, 4, kThreeFrames);
    TGIFImage gif;
    gif.LoadFromBytes(data);
    EXPECT_EQ(gif.Width(), 4);
    EXPECT_EQ(gif.Height(), 4);
    EXPECT_EQ(gif.ToImage().pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(gif.ToImage().pixel(2, 0), qRgb(255, 0, 0));

    // An image smaller than its screen, at its own rectangle, with a
    // transparent colour: clear around it and where it is transparent.
    gif::Image first;
    ASSERT_TRUE(gif::Decode(BuildGif(4, 4, { kThreeFrames[1] }), first));
    EXPECT_EQ(first.Bounds, QRect(1, 1, 2, 2));
    EXPECT_EQ(first.ScreenWidth, 4);
    const QImage screen = first.ToImage();
    EXPECT_EQ(screen.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(screen.pixel(2, 1)), 0); // transparent index
    EXPECT_EQ(qAlpha(screen.pixel(0, 0)), 0); // outside the image
    QImage target = WhiteImage(4, 4);
    TCanvas c;
    c.BeginDraw(&target);
    TGIFImage small;
    small.LoadFromBytes(BuildGif(4, 4, { kThreeFrames[1] }));
    EXPECT_EQ(small.ImageBounds(), QRect(1, 1, 2, 2));
    c.Draw(0, 0, &small);
    c.EndDraw();
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(2, 1), qRgb(255, 255, 255));

    // Loaded by its file type, and saved back byte for byte.
    const QString path = testutil::TempDir() + "/anim.gif";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    TPicture pic;
    pic.LoadFromFile(path);
    auto* loaded = dynamic_cast<TGIFImage*>(pic.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->SaveToBytes(), data);
}

TEST(GifTest, ImagesStayWithinThePixelBudget)
{
    // A tiny image on a large screen keeps only its own pixels.
    const int side = 2048;
    gif::Image first;
    ASSERT_TRUE(gif::Decode(FilledFramesGif(side, side, 400, 1, 1), first));
    EXPECT_EQ(first.Indices.size(), 1);
    EXPECT_EQ(first.ToImage().size(), QSize(side, side));

    // A screen or an image past the budget is refused, however small the file.
    const int big = 8193; // just over 2^26 pixels
    QString error;
    EXPECT_FALSE(gif::Decode(FilledFramesGif(big, big, 1, 1, 1), first, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(gif::Decode(FilledFramesGif(1, 1, 1, big, big), first, &error));
    EXPECT_TRUE(first.Indices.isEmpty());
}

TEST(GifTest, DamagedFilesDecodeTheFirstImageOrFail)
{
    const QByteArray data = BuildGif(4, 4, kThreeFrames);
    gif::Image first;
    QString error;

    // Cut inside the second frame's image data: the first image is all that is read.
    const QByteArray gce("\x21\xF9\x04", 3);
    const qsizetype cut = data.indexOf(gce, data.indexOf(gce) + 1) + 20;
    ASSERT_TRUE(gif::Decode(data.left(cut), first, &error));
    EXPECT_EQ(first.Bounds, QRect(0, 0, 4, 4));

    // Cut inside the first image, or a code beyond the table in it.
    EXPECT_FALSE(gif::Decode(data.left(data.indexOf(gce) + 20), first, &error));
    std::vector<GifFrameSpec> one = { kThreeFrames[0] };
    one[0].Pixels[0] = 7;
    EXPECT_FALSE(gif::Decode(BuildGif(4, 4, one), first, &error));
    EXPECT_FALSE(error.isEmpty());

    EXPECT_FALSE(gif::IsGif(QByteArray("GIF8")));
    EXPECT_FALSE(gif::Decode(QByteArray("GIF89a\x04\x00", 8), first));
    TGIFImage gif;
    EXPECT_THROW(gif.LoadFromBytes(QByteArray("not a gif")), EInvalidGraphic);
}

TEST(BitmapTest, TransparentDrawLeavesTheTransparentColour)
{
    TBitmap bmp(4, 4);
    TCanvas* bc = bmp.Canvas();
    bc->Brush()->SetColor(clRed);
    bc->FillRect(Rect(0, 0, 4, 4));
    bc->Brush()->SetColor(clFuchsia);
    bc->FillRect(Rect(0, 2, 2, 4)); // bottom-left corner: the automatic transparent colour
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia);

    auto drawOnWhite = [&] {
        QImage target = WhiteImage(6, 6);
        TCanvas c;
        c.BeginDraw(&target);
        c.Draw(1, 1, &bmp);
        c.EndDraw();
        return target;
    };
    QImage opaque = drawOnWhite();
    EXPECT_EQ(opaque.pixel(1, 4), qRgb(255, 0, 255));

    bmp.SetTransparent(true);
    QImage t = drawOnWhite();
    EXPECT_EQ(t.pixel(1, 4), qRgb(255, 255, 255));
    EXPECT_EQ(t.pixel(2, 3), qRgb(255, 255, 255));
    EXPECT_EQ(t.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(t.pixel(1, 1), qRgb(255, 0, 0));

    // A fixed colour replaces the automatic one.
    bmp.SetTransparentColor(clRed);
    EXPECT_EQ(bmp.TransparentMode(), TTransparentMode::tmFixed);
    QImage fixed = drawOnWhite();
    EXPECT_EQ(fixed.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(fixed.pixel(1, 4), qRgb(255, 0, 255));
}

TEST(BitmapTest, ResizeKeepsPixelsAndCanvasFollows)
{
    TBitmap bmp(3, 3);
    int changes = 0;
    bmp.OnChange = [&](TObject*) { ++changes; };
    bmp.Canvas()->SetPixels(1, 1, clBlue);
    bmp.SetSize(8, 5);
    EXPECT_EQ(bmp.Image().pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(bmp.Image().pixel(7, 4), qRgb(255, 255, 255));
    bmp.Canvas()->SetPixels(7, 4, clLime);
    EXPECT_EQ(bmp.Image().pixel(7, 4), qRgb(0, 255, 0));
    EXPECT_GT(changes, 0);

    // Copies taken before drawing do not see later drawing.
    const QImage before = bmp.ToImage();
    TBitmap copy;
    copy.Assign(&bmp);
    bmp.Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(before.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(copy.Image().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(copy.Image().pixel(7, 4), qRgb(0, 255, 0));
}

TEST(BitmapTest, FilesAndStreamedDataRoundTrip)
{
    const QString dir = testutil::TempDir();
    const QImage src = Quadrants(10, 6);
    ASSERT_TRUE(src.save(dir + "/q.bmp", "BMP"));
    ASSERT_TRUE(src.save(dir + "/q.png", "PNG"));
    ASSERT_TRUE(src.save(dir + "/q.ico", "ICO"));
    const struct {
        const char* file;
        QString cls;
    } cases[] = { { "q.bmp", "TBitmap" }, { "q.png", "TPngImage" }, { "q.ico", "TIcon" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TPicture pic;
        int changes = 0;
        pic.OnChange = [&](TObject*) { ++changes; };
        pic.LoadFromFile(dir + "/" + c.file);
        ASSERT_NE(pic.Graphic(), nullptr);
        EXPECT_EQ(pic.Graphic()->ClassName(), c.cls);
        EXPECT_EQ(pic.Width(), 10);
        EXPECT_EQ(pic.Height(), 6);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(pic.Graphic()->ToImage().pixel(8, 5), qRgb(255, 255, 255));

        TPicture again;
        again.ReadData(pic.WriteData());
        ASSERT_NE(again.Graphic(), nullptr);
        EXPECT_EQ(again.Graphic()->ClassName(), c.cls);
        EXPECT_EQ(again.Graphic()->ToImage().pixel(1, 1), qRgb(220, 0, 0));
    }

    TBitmap bmp;
    bmp.LoadFromFile(dir + "/q.bmp");
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_THROW(bmp.LoadFromBytes("BM not really"), EInvalidGraphic);
    TPicture pic;
    EXPECT_THROW(pic.ReadData(QByteArray("\x07TNoSuch", 8)), EInvalidGraphic);
    EXPECT_THROW(pic.ReadData(QByteArray("\x07TBit", 5)), EInvalidGraphic);
    EXPECT_THROW(bmp.SaveToFile(dir + "/no/such/folder/x.bmp"), EFCreateError);
}

#ifdef Q_OS_UNIX
// A picture small enough to sit in the write buffer, saved to a full disk: the
// save raises and the previous file stays whole.
TEST(BitmapTest, FailedSaveKeepsThePreviousFile)
{
    const QString path = testutil::TempDir() + "/English.bmp";
    testutil::WriteFile(path, "previous");
    TBitmap bmp(4, 4);
    {
        testutil::FileSizeLimit full(0);
        EXPECT_THROW(bmp.SaveToFile(path), EFCreateError);
    }
    EXPECT_EQ(testutil::ReadFile(path), "previous");
}
#endif

// BMP bytes with a 40-byte info header (or the 12-byte core header) and the
// pixel data as given.
QByteArray BuildBmp(int w, int h, int bits, const QByteArray& pixels, const QByteArray& palette = {},
    int compression = 0, bool core = false)
{
    QByteArray info;
    auto put = [&info](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            info.append(char((v >> (8 * i)) & 0xFF));
    };
    if (core) {
        put(12, 4);
        put(quint32(w), 2);
        put(quint32(h), 2);
        put(1, 2);
        put(quint32(bits), 2);
    } else {
        put(40, 4);
        put(quint32(w), 4);
        put(quint32(h), 4);
        put(1, 2);
        put(quint32(bits), 2);
        put(quint32(compression), 4);
        put(quint32(pixels.size()), 4);
        put(2835, 4);
        put(2835, 4);
        put(quint32(palette.size() / 4), 4); // colours used
        put(0, 4);
    }
    const quint32 offset = quint32(14 + info.size() + palette.size());
    QByteArray b("BM");
    const quint32 fileHeader[] = { offset + quint32(pixels.size()), 0, offset };
    for (quint32 v : fileHeader)
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    return b + info + palette + pixels;
}

TEST(BitmapTest, BmpDataMustHoldThePictureItDeclares)
{
    // 3 x 2 at 24 bits: rows of 9 bytes padded to 12, bottom row first.
    QByteArray rows;
    for (int y = 0; y < 2; ++y)
        rows += QByteArray::fromHex("0000ff00ff00ff0000") + QByteArray(3, '\0');
    const QByteArray palette = QByteArray::fromHex("000000000000ff00");
    const QByteArray rle8 = QByteArray::fromHex("0301 0000 0201 0100 0001"); // runs of colour 1
    const struct {
        const char* name;
        QByteArray data;
        bool loads;
    } cases[] = {
        { "whole", BuildBmp(3, 2, 24, rows), true },
        { "last row's padding missing", BuildBmp(3, 2, 24, rows.left(21)), true },
        { "last row cut", BuildBmp(3, 2, 24, rows.left(20)), false },
        // A few bytes that declare 32 million pixels.
        { "declared far beyond its data", BuildBmp(8000, 4000, 8, QByteArray(64, '\1'), palette), false },
        { "declared width of 2^31 - 1", BuildBmp(0x7FFFFFFF, 2, 32, QByteArray(64, '\1')), false },
        { "run-length coded", BuildBmp(3, 2, 8, rle8, palette, 1), true },
        { "run-length coded, far beyond its data", BuildBmp(8000, 4000, 8, rle8, palette, 1), false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap bmp;
        if (c.loads) {
            ASSERT_NO_THROW(bmp.LoadFromBytes(c.data));
            EXPECT_EQ(bmp.Width(), 3);
            EXPECT_EQ(bmp.Height(), 2);
        } else {
            EXPECT_THROW(bmp.LoadFromBytes(c.data), EInvalidGraphic);
            EXPECT_TRUE(bmp.Empty());
        }
    }
    TBitmap bmp;
    bmp.LoadFromBytes(BuildBmp(3, 2, 24, rows));
    EXPECT_EQ(bmp.Image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(bmp.Image().pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(bmp.Image().pixel(2, 1), qRgb(0, 0, 255));

    // The old core header keeps its bit count in another place.
    const QByteArray corePalette = QByteArray::fromHex("000000ffffff") + QByteArray(14 * 3, '\0');
    bmp.LoadFromBytes(BuildBmp(2, 2, 4, QByteArray::fromHex("1000000010000000"), corePalette, 0, true));
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(bmp.Image().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bmp.Image().pixel(1, 0), qRgb(0, 0, 0));
}

TEST(BitmapTest, PictureBitmapReplacesOtherGraphics)
{
    TPicture pic;
    TPngImage png;
    png.SetImage(Quadrants(4, 4));
    pic.Assign(&png);
    ASSERT_NE(dynamic_cast<TPngImage*>(pic.Graphic()), nullptr);
    TBitmap* b = pic.Bitmap();
    EXPECT_TRUE(b->Empty());
    b->SetSize(3, 2);
    EXPECT_EQ(pic.Width(), 3);

    // A bitmap takes any graphic's pixels.
    TBitmap fromPng;
    fromPng.Assign(&png);
    EXPECT_EQ(fromPng.Image().pixel(3, 3), qRgb(255, 255, 255));
    TIcon icon;
    EXPECT_THROW(icon.Assign(&png), EConvertError);
}

// ---------------------------------------------------------------------------
// Named resources

TEST(ResourceTest, EveryNameLoadsWithItsSize)
{
    const struct {
        const char* name;
        int w, h;
    } sizes[] = {
        { "ESGCHK01", 16, 16 },
        { "ESGCHK08", 16, 16 },
        { "ESGRAD01", 16, 16 },
        { "ESGRAD08", 16, 16 },
        { "ESGLEAFCLOSE", 12, 12 },
        { "ESGLEAFOPEN", 12, 12 },
        { "XPNODEC", 10, 10 },
        { "XPNODEO", 10, 10 },
        { "ESGFILT", 16, 16 },
        { "ESGCLOSE", 12, 12 },
        { "ESGCLOSEH", 12, 12 },
        { "ESGCLOSED", 12, 12 },
        { "ESGARDOWN", 16, 16 },
        { "ESGARUPD", 16, 16 },
        { "ESGHI", 16, 16 },
        { "ESGHID", 16, 16 },
        { "INTLI1", 32, 32 },
        { "INTLI3", 32, 32 },
        { "EsgSpinUp", 9, 6 },
        { "EsgSpinDown", 9, 6 },
        { "metrocheckon", 16, 16 },
        { "metrocheckoff", 16, 16 },
        { "metroradioon", 16, 16 },
        { "metroradiooff", 16, 16 },
        { "LBOK", 36, 18 },
        { "LBCANCEL", 36, 18 },
        { "LBALL", 36, 19 },
        { "LBARROW", 5, 3 },
        { "VRK_SPECTRUM", 128, 128 },
    };
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.name);
        TBitmap bmp;
        bmp.LoadFromResourceName(QString::fromLatin1(s.name));
        EXPECT_EQ(bmp.Width(), s.w);
        EXPECT_EQ(bmp.Height(), s.h);
    }
    // Every stored name loads; glyphs keep the key colour in both corners
    // that the transparency rules read (the 5 x 3 arrow is drawn by the
    // bottom-left rule only and fills its top row).
    for (const QString& name : resources::Names()) {
        SCOPED_TRACE(name.toStdString());
        const QImage img = resources::Bitmap(name);
        ASSERT_FALSE(img.isNull());
        if (name == "VRK_SPECTRUM")
            continue;
        EXPECT_EQ(img.pixel(0, img.height() - 1), qRgb(255, 0, 255));
        if (name != "LBARROW") {
            EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 255));
        }
    }
}

TEST(ResourceTest, NamesIgnoreCaseAndUnknownNamesRaise)
{
    EXPECT_TRUE(resources::Exists("esgchk01"));
    EXPECT_EQ(resources::Bitmap("METROCHECKON"), resources::Bitmap("metrocheckon"));
    // Checked and unchecked glyphs differ; enabled and disabled too.
    EXPECT_NE(resources::Bitmap("ESGCHK05"), resources::Bitmap("ESGCHK06"));
    EXPECT_NE(resources::Bitmap("ESGRAD05"), resources::Bitmap("ESGRAD07"));

    TBitmap bmp(2, 2);
    EXPECT_THROW(bmp.LoadFromResourceName("NOSUCHBITMAP"), EInvalidGraphic);
    EXPECT_EQ(bmp.Width(), 2);
    EXPECT_TRUE(resources::Bitmap("NOSUCHBITMAP").isNull());
}

TEST(ResourceTest, SpectrumRunsThroughHueAndLightness)
{
    const QImage s = resources::Bitmap("VRK_SPECTRUM");
    EXPECT_EQ(s.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(s.pixel(90, 0), qRgb(255, 255, 255));
    EXPECT_EQ(s.pixel(0, 64), qRgb(255, 0, 0));
    EXPECT_EQ(s.pixel(127, 64), qRgb(255, 0, 0));
    EXPECT_EQ(s.pixel(0, 127), qRgb(0, 0, 0));
    const QRgb third = s.pixel(42, 64); // a third of the way: green
    EXPECT_TRUE(Near(third, qRgb(0, 255, 0), 12));
    const QRgb twoThirds = s.pixel(85, 64); // blue
    EXPECT_TRUE(Near(twoThirds, qRgb(0, 0, 255), 12));
}

// The loader tells the format from the bytes, whatever the file was called.
TEST(GraphicLoaderTest, PicksTheFormatFromTheContent)
{
    const QImage quad = Quadrants(8, 6);
    auto encoded = [&](auto graphic) {
        graphic.SetImage(quad);
        return graphic.SaveToBytes();
    };
    struct Case {
        const char* Name;
        QByteArray Data;
        QString ClassName;
    };
    const Case cases[] = {
        { "bmp", encoded(TBitmap()), "TBitmap" },
        { "png", encoded(TPngImage()), "TPngImage" },
        { "jpeg", encoded(TJPEGImage()), "TJPEGImage" },
        { "ico", encoded(TIcon()), "TIcon" },
        { "gif", BuildGif(8, 6, { kThreeFrames[0] }), "TGIFImage" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TGraphic> g = LoadGraphicFromBytes(c.Data);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->ClassName(), c.ClassName);
        EXPECT_EQ(g->Width(), 8);
        EXPECT_EQ(g->Height(), 6);
    }
    EXPECT_THROW(LoadGraphicFromBytes("not a picture"), EInvalidGraphic);
    EXPECT_THROW(LoadGraphicFromBytes(QByteArray("\x89PNG\r\n\x1A\n", 8)), EInvalidGraphic);
    EXPECT_THROW(LoadGraphicFromBytes(QByteArray()), EInvalidGraphic);
}
