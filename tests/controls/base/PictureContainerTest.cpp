#include "common/GifBuilder.h"
#include "common/TestUtil.h"
#include "controls/base/PictureContainer.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Resources.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace testgif;

namespace {

QByteArray ThreeFrames() { return BuildGif(4, 4, kThreeFrames); }

// The picture's pixels drawn at its natural size on a white canvas.
QImage Drawn(THTMLPicture& picture, int dpi = 96)
{
    QImage img(12, 12, QImage::Format_RGB32);
    img.fill(0xFFFFFFFF);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    TCanvas c;
    c.BeginDraw(&img);
    picture.Draw(&c, Rect(0, 0, 12, 12));
    c.EndDraw();
    return img;
}

} // namespace

TEST(HTMLPictureTest, ThreeFrameGifCountsTimesAndShowsTheChosenFrame)
{
    THTMLPicture p;
    p.LoadFromBytes(ThreeFrames());
    EXPECT_TRUE(p.IsGIF());
    EXPECT_FALSE(p.Empty());
    ASSERT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.GetFrameTime(1), 10);
    EXPECT_EQ(p.GetFrameTime(2), 25);
    EXPECT_EQ(p.GetFrameTime(3), 0);
    EXPECT_EQ(p.GetFrameTime(4), -1);
    EXPECT_EQ(p.GetFrameTime(0), -1);
    EXPECT_EQ(p.MaxWidth(), 4);
    EXPECT_EQ(p.MaxHeight(), 4);
    EXPECT_EQ(qRed(Drawn(p).pixel(0, 0)), 255); // frame 1 is red all over

    int changes = 0;
    p.OnFrameChange = [&](TObject*) { ++changes; };
    p.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.Frame(), 2);
    EXPECT_EQ(p.FrameXPos(), 1);
    EXPECT_EQ(p.FrameYPos(), 1);
    EXPECT_EQ(p.FrameXSize(), 2);
    EXPECT_EQ(p.FrameYSize(), 2);
    // Frame 2 is decoded as the first image: green at its top-left, frame 1's red gone.
    const QImage two = Drawn(p);
    EXPECT_EQ(two.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_NE(two.pixel(0, 0), qRgb(255, 0, 0));

    // Out of range frames clamp instead of losing the picture.
    p.SetFrame(99);
    EXPECT_EQ(p.Frame(), 3);
    EXPECT_EQ(p.FrameXPos(), 2);
    EXPECT_FALSE(Drawn(p).isNull());
    EXPECT_EQ(Drawn(p).pixel(2, 0), qRgb(0, 0, 255));
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
    p.SetFrame(-5);
    EXPECT_EQ(p.Frame(), 1);
}

TEST(HTMLPictureTest, DataThatIsNotAnAnimation)
{
    // Without graphic control extensions the GIF has no frames and decodes whole.
    QByteArray plain = BuildGif(4, 4, { kThreeFrames[0] }, false);
    plain.remove(plain.indexOf("\x21\xF9\x04"), 8);
    THTMLPicture p;
    p.LoadFromBytes(plain);
    EXPECT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 0);
    EXPECT_EQ(p.Width(), 4);
    EXPECT_EQ(p.MaxWidth(), 4);
    EXPECT_EQ(Drawn(p).pixel(3, 3), qRgb(255, 0, 0));

    // Four bytes reading "GIF8" are not a GIF.
    THTMLPicture four;
    EXPECT_THROW(four.LoadFromBytes("GIF8"), EInvalidGraphic);
    EXPECT_FALSE(four.IsGIF());
    EXPECT_EQ(four.FrameCount(), -1);
    EXPECT_EQ(four.GetFrameTime(1), -1);
    EXPECT_TRUE(Drawn(four).pixel(0, 0) == qRgb(255, 255, 255));
}

TEST(HTMLPictureTest, TruncatedFrameMarkerReadsMissingBytesAsZero)
{
    // The image descriptor of the only marker is cut after its first byte.
    QByteArray data = ThreeFrames().left(ThreeFrames().indexOf("\x21\xF9\x04") + 10);
    THTMLPicture p;
    EXPECT_THROW(p.LoadFromBytes(data), EInvalidGraphic);
    EXPECT_EQ(p.FrameCount(), 1);
    EXPECT_EQ(p.FrameXPos(), 0);
    EXPECT_EQ(p.FrameXSize(), 0);
    EXPECT_EQ(p.Data(), data); // the data is kept; nothing is drawn
    EXPECT_EQ(p.Width(), 0);
}

TEST(HTMLPictureTest, NaturalSizeFollowsTheCanvasResolution)
{
    THTMLPicture p;
    p.LoadFromBytes(BuildGif(4, 4, { kThreeFrames[0] }));
    const QImage at144 = Drawn(p, 144);
    EXPECT_EQ(at144.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(at144.pixel(6, 6), qRgb(255, 255, 255));
    p.SetStretch(true);
    EXPECT_EQ(Drawn(p).pixel(11, 11), qRgb(255, 0, 0));
}

TEST(HTMLPictureTest, LoadFromURL)
{
    resources::RegisterRawData(QStringLiteral("ANIM"), ThreeFrames());
    const QString dir = testutil::TempDir();
    const QString file = dir + "/pic.gif";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ThreeFrames());
    }
    struct Case {
        QString URL;
        bool Asynch;
        bool Loaded;
        QString ID;
        bool Busy;
    };
    const Case cases[] = {
        { "res://Anim", true, true, "res://Anim", false },
        { "RES://missing", true, false, "RES://missing", false },
        { "FILE://", true, false, "FILE://", false },
        { "file://" + file, true, true, "file://" + file, false },
        { "FILE:///dev/zero", true, false, "FILE:///dev/zero", false },
        { "FILE://" + dir, true, false, "FILE://" + dir, false },
        { "http://127.0.0.1/x.gif", false, false, "http://127.0.0.1/x.gif", false },
        { "http://127.0.0.1/x.gif", true, false, "", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.URL.toStdString());
        THTMLPicture p;
        p.SetAsynch(c.Asynch);
        p.LoadFromURL(c.URL);
        EXPECT_EQ(!p.Empty(), c.Loaded);
        EXPECT_EQ(p.FrameCount() == 3, c.Loaded);
        EXPECT_EQ(p.ID(), c.ID);
        EXPECT_EQ(p.Busy(), c.Busy);
    }
    resources::UnregisterRawData(QStringLiteral("anim"));

    resources::RegisterRawData(QStringLiteral("#7"), ThreeFrames());
    THTMLPicture byId;
    byId.LoadFromResourceID(7);
    EXPECT_EQ(byId.FrameCount(), 3);
    EXPECT_THROW(byId.LoadFromResourceID(8), EInvalidArgument);
    resources::UnregisterRawData(QStringLiteral("#7"));
}

TEST(HTMLPictureTest, AssignCopiesDataAndStreamsRawBytes)
{
    THTMLPicture a;
    a.LoadFromBytes(ThreeFrames());
    a.SetFrame(2);
    THTMLPicture b;
    b.Assign(&a);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(b.Frame(), 1);
    EXPECT_EQ(b.Width(), 4);
    TMemoryStream s;
    b.SaveToStream(&s);
    EXPECT_EQ(s.Bytes(), ThreeFrames());
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_TRUE(b.Data().isEmpty());
}

// The picture stored with a form is the image file's bytes, read back
// without OnChange; an empty picture stores no bytes and reads back empty.
TEST(HTMLPictureTest, StoredDataRoundTrips)
{
    THTMLPicture a;
    a.LoadFromBytes(ThreeFrames());
    TMemoryStream s;
    a.WriteData(&s);
    EXPECT_EQ(s.Bytes(), ThreeFrames());

    THTMLPicture b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.ReadData(&s);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(b.Data(), ThreeFrames());
    EXPECT_EQ(b.FrameCount(), 3);
    EXPECT_EQ(Drawn(b), Drawn(a));

    THTMLPicture none;
    TMemoryStream e;
    none.WriteData(&e);
    EXPECT_EQ(e.Size(), 0);
    EXPECT_NO_THROW(b.ReadData(&e));
    EXPECT_TRUE(b.Empty());
    EXPECT_TRUE(b.Data().isEmpty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(changes, 0);
}

// Stored bytes that do not decode raise the loader's error; the picture keeps
// them, so they are written back unchanged, and draws nothing.
TEST(HTMLPictureTest, DamagedStoredDataRaisesAndKeepsTheBytes)
{
    const struct {
        const char* Name;
        QByteArray Bytes;
    } cases[] = {
        { "not a picture", QByteArray("no image here") },
        { "GIF cut inside its colour table", ThreeFrames().left(20) },
        { "GIF cut inside a frame", ThreeFrames().left(ThreeFrames().size() / 2) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemoryStream in;
        in.WriteBuffer(c.Bytes);
        THTMLPicture p;
        int changes = 0;
        p.OnChange = [&](TObject*) { ++changes; };
        EXPECT_THROW(p.ReadData(&in), EInvalidGraphic);
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(p.Data(), c.Bytes);
        EXPECT_EQ(p.Width(), 0);
        EXPECT_EQ(Drawn(p).pixel(1, 1), qRgb(255, 255, 255));
        TMemoryStream out;
        p.WriteData(&out);
        EXPECT_EQ(out.Bytes(), c.Bytes);
    }
}

TEST(HTMLPictureTest, AnimationStepsAfterEachFrameTime)
{
    THTMLPicture p;
    p.LoadFromBytes(ThreeFrames()); // times 10, 25, 0 hundredths
    std::vector<int> frames;
    for (int tick = 0; tick < 6; ++tick) {
        p.Step();
        frames.push_back(p.Frame());
    }
    // The first tick schedules; a change is due once the ticks counted since
    // (x 10) reach the summed frame times: 10 after the first, 10 + 25 after the second.
    EXPECT_EQ(frames, (std::vector<int> { 1, 1, 2, 2, 2, 3 }));
}

TEST(PictureContainerTest, LookupIgnoresCaseInTheContainerNotInTheCache)
{
    TPictureContainer container(nullptr);
    TPictureItem* first = container.Items()->Add();
    first->SetName("Logo");
    first->Picture()->LoadFromBytes(ThreeFrames());
    container.Items()->Insert(0)->SetName("Other");
    EXPECT_EQ(container.Items()->Owner(), &container);
    EXPECT_EQ(container.FindPicture("LOGO"), first->Picture());
    EXPECT_EQ(container.FindPicture("logo"), first->Picture());
    EXPECT_EQ(container.FindPicture("Log"), nullptr);

    // Writing Items copies the collection; the container keeps its own.
    TPictureContainer copy(nullptr);
    copy.SetItems(container.Items());
    ASSERT_EQ(copy.Items()->Count(), 2);
    EXPECT_NE(copy.FindPicture("logo"), first->Picture());
    EXPECT_EQ(copy.FindPicture("logo")->FrameCount(), 3);

    THTMLPictureCache cache;
    THTMLPicture* pic = cache.AddPicture();
    pic->SetID("FILE://a.gif");
    EXPECT_EQ(cache.FindPicture("FILE://a.gif"), pic);
    EXPECT_EQ(cache.FindPicture("file://a.gif"), nullptr);
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
}
