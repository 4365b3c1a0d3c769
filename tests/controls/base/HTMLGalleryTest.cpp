// A gallery of mark-up samples: fonts, colours, links hovered and focused,
// highlights, lists, alignments, raised and lowered text, shadows, error
// marks, turned text, backgrounds, pictures and every embedded control,
// themed and classic; kept as a golden picture.
#include "common/TestUtil.h"
#include "controls/base/EsgHTMLE.h"
#include "controls/base/PictureContainer.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/PlatformInfo.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Swatch(int w, int h, QRgb a, QRgb b)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(a);
    QPainter p(&img);
    p.fillRect(w / 4, h / 4, w / 2, h / 2, QColor::fromRgb(b));
    return img;
}

struct Sample {
    const char* Text;
    bool Themed = true;
    int HoverLink = -1;
    int FocusLink = -1;
    int X = -1, Y = -1;
    bool Wrap = false;
};

// Each sample in its own framed cell, Cols cells a row; BiDiMode 1 lays the
// samples out right to left under a right-to-left system locale.
template <size_t N> QImage DrawSamples(const Sample (&samples)[N], int cols, int biDiMode)
{
    TImageList images(16, 16);
    images.AddImage(Swatch(16, 16, qRgb(40, 120, 200), qRgb(255, 255, 255)));
    images.AddImage(Swatch(16, 16, qRgb(200, 60, 40), qRgb(250, 220, 0)));
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName("tile");
    TPngImage png;
    png.SetImage(Swatch(20, 14, qRgb(230, 240, 255), qRgb(190, 210, 240)));
    item->Picture()->LoadFromBytes(png.SaveToBytes());
    const int cellW = 300, cellH = 58;
    const int rows = (int(N) + cols - 1) / cols;
    QImage img(cols * cellW, rows * cellH, QImage::Format_RGB32);
    img.fill(0xFFFFFFFF);
    TCanvas c;
    c.BeginDraw(&img);
    c.Font()->SetName("Tahoma");
    c.Font()->SetSize(8);
    for (int i = 0; i < int(N); ++i) {
        const Sample& s = samples[i];
        TPlatformInfo facts = PlatformInfo();
        facts.ThemesActive = s.Themed;
        facts.MiddleEastLocale = biDiMode != 0;
        TPlatformInfoScope scope(facts);
        const TRect cell = Bounds((i % cols) * cellW, (i / cols) * cellH, cellW, cellH);
        c.Pen()->SetColor(TColor(0xE0E0E0));
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        c.Rectangle(cell);
        THTMLDrawInput in;
        in.Canvas = &c;
        in.Text = QString::fromUtf8(s.Text);
        in.Rect = Rect(cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2);
        in.Images = &images;
        in.PictureContainer = &container;
        in.HoverLink = s.HoverLink;
        in.HoverStyle = s.HoverLink > 0;
        in.HoverColor = s.HoverLink > 0 ? TColor(0xFFE0C0) : clNone;
        in.HoverFontColor = s.HoverLink > 0 ? clNavy : clNone;
        in.FocusLink = s.FocusLink;
        in.XPos = s.X < 0 ? -1 : in.Rect.Left + s.X;
        in.YPos = s.Y < 0 ? -1 : in.Rect.Top + s.Y;
        in.WordWrap = s.Wrap;
        in.ShadowOffset = 1;
        in.BiDiMode = biDiMode;
        THTMLDrawOutput out;
        DrawHTMLText(in, out);
    }
    c.EndDraw();
    return img;
}

} // namespace

TEST(HTMLGalleryTest, SamplesMatchTheGoldenPicture)
{
    const Sample samples[] = {
        { "Plain, <B>bold</B>, <I>italic</I>, <U>underline</U>, <S>strike</S>" },
        { "<FONT FACE=\"Courier New\" SIZE=\"4\">Courier 14</FONT> <FONT SIZE=\"2\">small</FONT>" },
        { "<FONT COLOR=\"clRed\">red</FONT> <FONT COLOR=\"#008000\">green</FONT> "
          "<FONT BGCOLOR=\"clYellow\">on yellow</FONT>" },
        { "Links: <A HREF=\"a\">first</A> and <A HREF=\"b\">hovered</A>", true, 2 },
        { "Focused <A HREF=\"f\">link</A> here", true, -1, 0 },
        { "Search <HI>highlighted</HI> text, <E>misspeled</E> word" },
        { "<UL><LI>first item<LI>second item<UL><LI>nested</UL></UL>" },
        { "<P ALIGN=\"RIGHT\">right aligned</P><P ALIGN=\"CENTER\">centred</P>" },
        { "H<SUB>2</SUB>O and x<SUP>2</SUP> <SHAD>shadowed</SHAD>" },
        { "<R a=\"20\">turned</R> back level &amp; &copy; &euro; &lt;tag&gt;" },
        { "<BODY BGCOLOR=\"#E0F0E0\">Body colour behind the text</BODY>" },
        { "<BODY BACKGROUND=\"tile\">Tiled body picture</BODY>" },
        { "List pictures <IMG SRC=\"IDX:0\"> <IMG SRC=\"IDX:1\" ALIGN=\"MIDDLE\"> and <IMG SRC=\"tile\">" },
        { "Stretched <IMG SRC=\"tile\" WIDTH=\"40\"> <IMG SRC=\"SSYS:0\"><IMG SRC=\"SSYS:1\">" },
        { "<CONTROL TYPE=\"EDIT\" WIDTH=\"70\" VALUE=\"edit\"> <CONTROL TYPE=\"PASSWORD\" WIDTH=\"50\" VALUE=\"abc\"> "
          "<CONTROL TYPE=\"COMBO\" WIDTH=\"70\" VALUE=\"combo\">" },
        { "<CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"TRUE\">on <CONTROL TYPE=\"CHECK\" WIDTH=\"20\">off "
          "<CONTROL TYPE=\"RADIO\" WIDTH=\"20\" VALUE=\"TRUE\">radio <CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" "
          "VALUE=\"Button\">" },
        { "<CONTROL TYPE=\"EDIT\" WIDTH=\"70\" VALUE=\"edit\"> <CONTROL TYPE=\"MASK\" WIDTH=\"50\" VALUE=\"12-34\"> "
          "<CONTROL TYPE=\"COMBO\" WIDTH=\"70\" VALUE=\"classic\">",
            false },
        { "<CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"TRUE\">on <CONTROL TYPE=\"CHECK\" WIDTH=\"20\">off "
          "<CONTROL TYPE=\"RADIO\" WIDTH=\"20\" VALUE=\"TRUE\">radio <CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" "
          "VALUE=\"Classic\">",
            false },
        { "<CONTROL TYPE=\"BUTTON\" WIDTH=\"80\" VALUE=\"Hot button\"> <CONTROL TYPE=\"COMBO\" WIDTH=\"60\">", true, -1,
            -1, 20, 12 },
        { "<P BGCOLOR=\"#FFE0C0\">Paragraph background</P><Z>hidden</Z>" },
        { "Wrapped text runs on over two lines when the cell is narrow enough", true, -1, -1, -1, -1, true },
    };
    const QImage img = DrawSamples(samples, 2, 0);
    testutil::SaveImagePng(img, QStringLiteral("html_gallery"));
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("html_gallery")));
}

// Right to left every item of a line, text, pictures, controls, bullets and
// the focused link's frame, follows the one before it leftwards from the
// line's start.
TEST(HTMLGalleryTest, RightToLeftSamplesMatchTheGoldenPicture)
{
    const Sample samples[] = {
        { "Text <IMG SRC=\"IDX:0\"> <CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"TRUE\">check "
          "<A HREF=\"f\">focused link</A> end",
            true, -1, 0 },
        { "<CONTROL TYPE=\"EDIT\" WIDTH=\"60\" VALUE=\"edit\"> <CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" "
          "VALUE=\"Button\"> <A HREF=\"p\"><IMG SRC=\"IDX:1\"></A> linked picture" },
        { "<CONTROL TYPE=\"COMBO\" WIDTH=\"70\" VALUE=\"combo\"> <CONTROL TYPE=\"RADIO\" WIDTH=\"20\" "
          "VALUE=\"TRUE\">radio <IMG SRC=\"tile\"> <A HREF=\"a\">first</A> <A HREF=\"b\">second</A>",
            false, -1, 1 },
        { "<UL><LI>bullet item<LI><A HREF=\"x\">linked</A> item</UL>" },
        { "<P ALIGN=\"CENTER\">centred <IMG SRC=\"IDX:1\"> <B>bold</B></P><P ALIGN=\"RIGHT\">right aligned</P>" },
        { "<IND x=\"60\">indented <E>mark</E> and then <A HREF=\"w\">a link running on over two lines</A> "
          "wrapped",
            true, -1, -1, -1, -1, true },
    };
    const QImage img = DrawSamples(samples, 1, 1);
    testutil::SaveImagePng(img, QStringLiteral("html_gallery_rtl"));
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("html_gallery_rtl")));
}
