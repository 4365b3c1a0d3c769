// The mark-up renderer, checked against what the canvas itself measures.
#include "TextTestSupport.h"
#include "common/TestUtil.h"
#include "controls/base/EsgHTMLE.h"
#include "controls/base/PictureContainer.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/PlatformInfo.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// A canvas on a white image; the renderer's inputs with the test's text.
struct Surface {
    explicit Surface(int w = 300, int h = 200, int dpi = 96)
        : Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(0xFFFFFFFF);
        Image.setDotsPerMeterX(qRound(dpi / 0.0254));
        Image.setDotsPerMeterY(qRound(dpi / 0.0254));
        Canvas.BeginDraw(&Image);
        Canvas.Font()->SetName("Tahoma");
        Canvas.Font()->SetSize(8);
        Canvas.Font()->SetColor(clBlack);
        Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        In.Canvas = &Canvas;
        In.Rect = Rect(0, 0, w, h);
    }
    ~Surface() { Canvas.EndDraw(); }
    bool Draw(const QString& text)
    {
        In.Text = text;
        Out = THTMLDrawOutput();
        return DrawHTMLText(In, Out);
    }
    bool Measure(const QString& text)
    {
        In.CheckHeight = true;
        return Draw(text);
    }
    bool HitTest(const QString& text, int x, int y)
    {
        In.CheckHotSpot = true;
        In.XPos = x;
        In.YPos = y;
        return Draw(text);
    }
    int Width(const QString& s, int size = 8, bool bold = false)
    {
        TFont saved;
        saved.Assign(Canvas.Font());
        Canvas.Font()->SetSize(size);
        if (bold)
            Canvas.Font()->SetStyle(TFontStyle::fsBold);
        const int w = Canvas.TextWidth(s);
        Canvas.SetFont(&saved);
        return w;
    }
    int GH() { return Canvas.TextHeight("gh"); }
    bool White(const TRect& r) const
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Image.pixel(x, y) != 0xFFFFFFFF)
                    return false;
        return true;
    }

    QImage Image;
    TCanvas Canvas;
    THTMLDrawInput In;
    THTMLDrawOutput Out;
};

QImage Filled(int w, int h, QRgb color)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

QByteArray Png(const QImage& img)
{
    TPngImage png;
    png.SetImage(img);
    return png.SaveToBytes();
}

// Runs Check(rtl) left to right, then right to left under a right-to-left
// system locale.
template <class F> void InBothDirections(F&& Check)
{
    for (const bool rtl : { false, true }) {
        TPlatformInfo facts = PlatformInfo();
        facts.MiddleEastLocale = rtl;
        TPlatformInfoScope scope(facts);
        Check(rtl);
    }
}

} // namespace

TEST(HTMLRenderTest, TextRunsMeasureAsTheCanvasDoes)
{
    Surface s;
    const int space = s.Width(" ");
    struct Case {
        const char* Text;
        QString Strip;
        int Width;
    };
    const Case cases[] = {
        { "plain", "plain", s.Width("plain") },
        { "a&amp;b", "a&&b", s.Width("a&b") },
        // Decoded once: the text shows "&quot;", not a quote.
        { "&amp;quot;", "&&quot;", s.Width("&quot;") },
        { "&lt;B&gt;x", "<B>x", s.Width("<B>x") },
        { "&copy;&euro;", u"\u00A9\u20AC"_qs, s.Width(u"\u00A9\u20AC"_qs) },
        { "a<B>b</B>c", "abc", s.Width("a") + s.Width("b", 8, true) + s.Width("c") },
        { "a<Z>hidden</Z>b", "ahiddenb", s.Width("a") + s.Width("b") },
        { "<#12>", "#12", s.Width("#12") },
        { "ab\r\ncd", "ab\rcd", s.Width("ab") },
        { "x<BR>yy", "x\ryy", s.Width("yy") },
        { "<FONT SIZE=\"3\">X</FONT>", "X", s.Width("X", 12) },
        { "<FONT SIZE=\"20\">X</FONT>", "X", s.Width("X", 20) },
        { "<FONT SIZE=20>X</FONT>", "X", s.Width("X", 20) },
        { "<FONT SIZE= \"3\">X</FONT>", "X", s.Width("X", 12) },
        { "<FONT SIZE =  \"20\">X</FONT>", "X", s.Width("X", 20) },
        { "<IND x=\"40\">a", "a", 40 + s.Width("a") },
        { "a <Q>b", "a b", s.Width("a") + space + s.Width("b") },
        { "ab<", "ab", s.Width("ab") },
        { "ab<B", "ab", s.Width("ab") },
    };
    // Sizes far past the largest font are clamped instead of overflowing.
    s.Measure("<FONT SIZE=\"1000\">X</FONT>");
    const int largest = s.Out.XSize;
    EXPECT_GT(largest, 100);
    s.Measure("<FONT SIZE=\"99999999999999\">X</FONT>");
    EXPECT_EQ(s.Out.XSize, largest);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_FALSE(s.Measure(QString::fromUtf8(c.Text)));
        EXPECT_EQ(s.Out.StripVal, c.Strip);
        EXPECT_EQ(s.Out.XSize, c.Width);
    }
}

TEST(HTMLRenderTest, LinesWrapBreakAndEndInAnEllipsis)
{
    Surface s;
    const int gh = s.GH();
    const int word = s.Width("wwww ");
    struct Case {
        const char* Text;
        bool Wrap;
        int RectWidth;
        int Lines;
    };
    const Case cases[] = {
        { "wwww wwww wwww", true, word * 2 + 4, 2 },
        { "wwww wwww wwww", false, word * 2 + 4, 1 },
        { "wwww&nbsp;wwww&nbsp;wwww", true, word * 2 + 4, 1 },
        { "wwwwwwwwwwwwwwwwwwwwwwww", true, word, 1 },
        { "wwww wwww<B>wwww</B>", true, word + 4, 2 }, // glued after the tag
        { "a<BR>b<HR>c</P>d</LI>e<UL>f", false, 300, 6 },
        { "<P ALIGN=\"CENTER\">x</P>", false, 300, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        s.In.WordWrap = c.Wrap;
        s.In.Rect = Rect(0, 0, c.RectWidth + 1, 10); // lower than the text: measuring counts every line
        s.Measure(c.Text);
        EXPECT_EQ(s.Out.YSize, c.Lines * gh);
    }
}

TEST(HTMLRenderTest, LinkHitTestsAndAlignment)
{
    Surface s;
    const int gh = s.GH();
    const QString text = "<A HREF=\"one\">first</A> <A HREF=\"two\" TITLE=\"Two\">second</A>";
    const int left = 1 + s.Width("first") + s.Width(" ");
    EXPECT_TRUE(s.HitTest(text, left + 3, gh / 2));
    EXPECT_EQ(s.Out.Anchor, "two");
    EXPECT_EQ(s.Out.AnchorHint, "Two");
    EXPECT_EQ(s.Out.MouseLink, 2);
    EXPECT_EQ(s.Out.HyperLinks, 2);
    EXPECT_EQ(s.Out.HoverRect, Rect(left, 0, left + s.Width("second"), gh));
    // Below the line's text band: no hit, though the value may be set.
    s.In.Rect = Rect(0, 0, 300, 200);
    EXPECT_FALSE(s.HitTest(text, left + 3, gh + 5));
    EXPECT_FALSE(s.HitTest(text, 300, gh / 2));
    EXPECT_EQ(s.Out.MouseLink, -1);

    // A centred paragraph centres its whole line, text before the tag included.
    const int lw = s.Width("ab") + s.Width("link");
    const int boxLeft = 1 + (299 - lw) / 2;
    EXPECT_TRUE(s.HitTest("ab<P ALIGN=\"CENTER\"><A HREF=\"x\">link</A>", boxLeft + s.Width("ab") + 2, gh / 2));
    EXPECT_EQ(s.Out.HoverRect.Left, boxLeft + s.Width("ab"));

    // List items: bullet room of 12 pixels a level.
    EXPECT_TRUE(s.HitTest("<UL><LI><A HREF=\"a\">one</A><LI>two</UL>", 14, gh + gh / 2));
    EXPECT_EQ(s.Out.HoverRect.Left, 1 + 12);
    EXPECT_TRUE(s.HitTest("<UL><UL><LI><A HREF=\"a\">one</A></UL></UL>", 26, 2 * gh + gh / 2));
    EXPECT_EQ(s.Out.HoverRect.Left, 1 + 24);
    s.Measure("<UL><LI>one<LI>two</UL>");
    EXPECT_EQ(s.Out.YSize, 3 * gh);
    EXPECT_EQ(s.Out.StripVal, "onetwo");
}

TEST(HTMLRenderTest, PicturesTakeTheirScaledSize)
{
    TImageList images(16, 16);
    for (int i = 0; i < 3; ++i)
        images.AddImage(Filled(16, 16, qRgb(200, 0, 0)));
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName("Wide");
    item->Picture()->LoadFromBytes(Png(Filled(100, 40, qRgb(0, 0, 200))));

    struct Case {
        const char* Text;
        int Dpi;
        int W, H;
    };
    const Case cases[] = {
        { "<IMG SRC=\"IDX:2\">", 96, 16, 16 },
        { "<IMG SRC=\"IDX:2\">", 144, 24, 24 },
        { "<IMG SRC=\"IDX:3\">", 96, 0, 0 },
        { "<IMG SRC=\"IDX:-1\">", 96, 0, 0 },
        { "<IMG SRC=\"wide\" WIDTH=\"50\">", 96, 50, 20 },
        { "<IMG SRC=\"wide\" HEIGHT=\"20\">", 96, 50, 20 },
        { "<IMG SRC=\"wide\" WIDTH=\"30\" HEIGHT=\"30\">", 96, 30, 30 },
        { "<IMG SRC=\"wide\">", 144, 150, 60 },
        { "<IMG SRC=\"missing\">", 96, 0, 0 },
        { "<IMG SRC=\"wide\" WIDTH=\"99999999999999\" HEIGHT=\"1\">", 96, 32767, 1 },
        { "<IMG SRC=\"SSYS:0\">", 96, 16, 16 },
        { "<IMG SRC=\"LSYS:txt\">", 96, 32, 32 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " at " + std::to_string(c.Dpi));
        Surface s(300, 200, c.Dpi);
        s.In.Images = &images;
        s.In.PictureContainer = &container;
        s.Measure(c.Text);
        EXPECT_EQ(s.Out.XSize, c.W);
        EXPECT_EQ(s.Out.YSize, std::max(c.H, s.GH()));
    }

    // Painted: the list entry at its own size on a 144 dpi canvas; the
    // half-width picture stretched to 50 x 20.
    Surface s(300, 200, 144);
    s.In.Images = &images;
    s.Draw("<IMG SRC=\"IDX:2\">");
    EXPECT_EQ(s.Image.pixel(16, 15), qRgb(200, 0, 0));
    EXPECT_TRUE(s.White(Rect(18, 0, 40, 24)));
    Surface t;
    t.In.PictureContainer = &container;
    t.Draw("<IMG SRC=\"wide\" WIDTH=\"50\">");
    EXPECT_EQ(t.Image.pixel(50, 19), qRgb(0, 0, 200));
    EXPECT_TRUE(t.White(Rect(52, 0, 100, 40)));
    EXPECT_TRUE(t.White(Rect(0, 21, 100, 40)));
}

TEST(HTMLRenderTest, PictureAddressesKeepTheirCase)
{
    const QString dir = testutil::TempDir() + "/MixedCase";
    ASSERT_TRUE(QDir().mkpath(dir));
    QFile f(dir + "/Pic.png");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Png(Filled(10, 10, qRgb(0, 150, 0))));
    f.close();
    THTMLPictureCache cache;
    Surface s;
    s.In.PictureCache = &cache;
    const QString src = "FILE://" + dir + "/Pic.png";
    s.Measure("<IMG SRC=\"" + src + "\">");
    EXPECT_EQ(s.Out.XSize, 10);
    ASSERT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.GetPicture(0)->ID(), src);
    s.Measure("<IMG SRC=\"" + src + "\">");
    EXPECT_EQ(cache.Count(), 1); // served from the cache
}

TEST(HTMLRenderTest, LinkedPictureShowsItsAltWhileHovered)
{
    TPictureContainer container(nullptr);
    auto add = [&](const char* name, QRgb color) {
        TPictureItem* item = container.Items()->Add();
        item->SetName(name);
        item->Picture()->LoadFromBytes(Png(Filled(10, 10, color)));
    };
    add("Off", qRgb(255, 0, 0));
    add("On", qRgb(0, 0, 255));
    const QString text = "<A HREF=\"go\"><IMG SRC=\"Off\" ALT=\"On\"></A>";
    for (bool over : { false, true }) {
        Surface s;
        s.In.PictureContainer = &container;
        s.In.XPos = over ? 5 : 100;
        s.In.YPos = 5;
        EXPECT_EQ(s.Draw(text), over);
        EXPECT_EQ(s.Image.pixel(5, 5), over ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
        EXPECT_EQ(s.Out.Anchor, over ? "go" : "");
    }
    // Outside a link a picture never hits.
    Surface s;
    s.In.PictureContainer = &container;
    s.In.XPos = s.In.YPos = 5;
    EXPECT_FALSE(s.Draw("<IMG SRC=\"Off\" ALT=\"On\">"));
}

TEST(HTMLRenderTest, ControlsTakeTheirSizesAndReportHits)
{
    Surface probe;
    const int gh = probe.GH();
    struct Case {
        const char* Text;
        int X, Y;
        TRect Rect;
        QString Type, Value;
    };
    const Case cases[] = {
        { "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"80\" VALUE=\"v\">", 40, 5, Rect(1, 0, 81, gh + 10), "EDIT", "v" },
        { "<CONTROL TYPE=\"BUTTON\" ID=\"b\" WIDTH=\"60\" VALUE=\"Go\">", 30, 5, Rect(1, 0, 61, 25), "BUTTON", "Go" },
        { "<CONTROL TYPE=\"COMBO\" ID=\"c\" WIDTH=\"70\">", 30, 5, Rect(1, 0, 71, 25), "COMBO", "" },
        { "<CONTROL TYPE=\"CHECK\" ID=\"k\" WIDTH=\"40\" VALUE=\"true\">", 8, 8, Rect(1, 0, 17, 16), "CHECK", "true" },
        { "<CONTROL TYPE=\"RADIO\" ID=\"r\" WIDTH=\"40\">", 8, 8, Rect(1, 0, 17, 16), "RADIO", "" },
        { "<CONTROL TYPE=\"ODD\" ID=\"o\" WIDTH=\"30\">", 8, 8, Rect(1, 0, 31, gh + 10), "ODD", "" },
        { "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"abc\">", 8, 8, TRect(), "", "" },
        { "<CONTROL TYPE=\"EDIT\" ID=\"e\">", 8, 8, TRect(), "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Surface s;
        const bool hit = s.HitTest(c.Text, c.X, c.Y);
        EXPECT_EQ(hit, !c.Type.isEmpty());
        EXPECT_EQ(s.Out.ControlRect, c.Rect);
        EXPECT_EQ(s.Out.ControlType, c.Type);
        EXPECT_EQ(s.Out.ControlValue, c.Value);
        EXPECT_EQ(s.Out.Anchor, hit ? "ctrl" : "");
    }
    // Line heights: 23 for an edit, HEIGHT - 2 above 25, 16 for a check box.
    struct Height {
        const char* Text;
        int Line;
    };
    for (const Height& h : { Height { "<CONTROL TYPE=\"EDIT\" WIDTH=\"80\">", 23 },
             Height { "<CONTROL TYPE=\"EDIT\" WIDTH=\"80\" HEIGHT=\"40\">", 38 },
             Height { "<CONTROL TYPE=\"EDIT\" WIDTH=\"80\" HEIGHT=\"x\">", 23 },
             Height { "<CONTROL TYPE=\"CHECK\" WIDTH=\"80\">", 16 } }) {
        SCOPED_TRACE(h.Text);
        probe.Measure(h.Text);
        EXPECT_EQ(probe.Out.YSize, h.Line);
    }
    // Located by its identifier wherever the point is.
    Surface s;
    s.Out.ControlID = "second";
    s.In.CheckHotSpot = true;
    s.In.Text = "<CONTROL TYPE=\"EDIT\" ID=\"first\" WIDTH=\"50\"><CONTROL TYPE=\"EDIT\" ID=\"second\" WIDTH=\"40\" "
                "VALUE=\"2\">";
    EXPECT_TRUE(DrawHTMLText(s.In, s.Out));
    EXPECT_EQ(s.Out.ControlRect, Rect(51, 0, 91, gh + 10));
    EXPECT_EQ(s.Out.ControlValue, "2");
}

TEST(HTMLRenderTest, ControlPaintingShowsValueAndState)
{
    auto paint = [](const QString& text) {
        Surface s(120, 40);
        s.Draw(text);
        return s.Image;
    };
    EXPECT_EQ(paint("<CONTROL TYPE=\"PASSWORD\" WIDTH=\"80\" VALUE=\"abc\">"),
        paint("<CONTROL TYPE=\"EDIT\" WIDTH=\"80\" VALUE=\"***\">"));
    EXPECT_NE(paint("<CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"true\">"),
        paint("<CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"false\">"));
    EXPECT_EQ(paint("<CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"TRUE\">"),
        paint("<CONTROL TYPE=\"CHECK\" WIDTH=\"20\" VALUE=\"true\">"));
}

TEST(HTMLRenderTest, NoColourIsNeverPaintedAndNothingStaysTurned)
{
    // BLINK off over a clear brush: the text vanishes.
    Surface s;
    s.In.Blink = false;
    s.Draw("<BLINK>blinking text</BLINK>");
    EXPECT_TRUE(s.White(Rect(0, 0, 300, 30)));
    s.In.Blink = true;
    s.Draw("<BLINK>blinking text</BLINK>");
    EXPECT_FALSE(s.White(Rect(0, 0, 300, 30)));

    Surface r;
    r.Draw("<R a=\"90\">x<R a=\"45\">y</R>z</R>w<R a=\"30\">unclosed");
    EXPECT_EQ(r.Canvas.Font()->Orientation(), 0);
    // After the inner /R the outer turn holds again: z is drawn like x.
    Surface a, b;
    a.Draw("<R a=\"90\">x<R a=\"45\">y</R>z</R>");
    b.Draw("<R a=\"90\">x<Z>y</Z>z</R>");
    EXPECT_EQ(a.Image.copy(0, 0, 300, 200).pixel(0, 0), b.Image.pixel(0, 0));
}

// Turned text (R) is drawn whole: its ink is all the ink the canvas itself
// gives the turned text, inside the line, which grows to hold it.
TEST(HTMLRenderTest, TurnedTextIsDrawnWholeInsideItsLine)
{
    const auto ink = [](const QImage& img) {
        int n = 0;
        TRect box(img.width(), img.height(), -1, -1);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != 0xFFFFFFFF) {
                    ++n;
                    box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                        std::max(box.Bottom, y + 1));
                }
        return std::pair(n, box);
    };
    for (const int angle : { 20, 90, -30, 180 }) {
        SCOPED_TRACE(angle);
        Surface ref(300, 300);
        ref.Canvas.Font()->SetOrientation(angle * 10);
        ref.Canvas.TextOut(150, 150, "Turned");
        const auto [refInk, refBox] = ink(ref.Image);
        ASSERT_GT(refInk, 0);

        Surface s(300, 120);
        s.Draw(QStringLiteral("<R a=\"%1\">Turned</R>").arg(angle));
        const auto [n, box] = ink(s.Image);
        EXPECT_EQ(n, refInk);
        EXPECT_EQ(box.Width(), refBox.Width());
        EXPECT_EQ(box.Height(), refBox.Height());
        EXPECT_GE(box.Left, 1);
        EXPECT_LE(box.Right, 1 + s.Out.XSize + 1);
        EXPECT_LE(box.Bottom, s.Out.YSize + 1);
        EXPECT_GE(s.Out.YSize, refBox.Height());
        EXPECT_EQ(s.Canvas.Font()->Orientation(), 0);
    }
}

TEST(HTMLRenderTest, MeasureOnlyPaintsNothingAndCountsEveryLine)
{
    Surface s(100, 20);
    const int gh = s.GH();
    s.In.Rect = Rect(0, 0, 100, gh);
    EXPECT_FALSE(s.Measure("<A HREF=\"x\">one</A><BR>two<BR>three"));
    EXPECT_EQ(s.Out.YSize, 3 * gh);
    EXPECT_EQ(s.Out.HyperLinks, 1);
    EXPECT_TRUE(s.White(Rect(0, 0, 100, 20)));
    // Painting drops the lines below the rectangle.
    s.In.CheckHeight = false;
    s.Draw("one<BR>two<BR>three");
    EXPECT_EQ(s.Out.YSize, gh);
    EXPECT_EQ(s.Out.StripVal, "one\r");
}

// Right to left under a right-to-left system locale: the runs are set from the
// right edge leftwards, each ending where the one before began, so every run
// shows and the line takes the same width as left to right.
TEST(HTMLRenderTest, RightToLeftRunsFollowEachOther)
{
    const auto inkColumns = [](const QImage& img) {
        int lo = img.width(), hi = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != 0xFFFFFFFF) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return std::pair(lo, hi);
    };
    const QString text = "bold <I>it</I> and <B>more</B>";
    Surface ltr(200, 20);
    ltr.Draw(text);
    const auto [ltrLo, ltrHi] = inkColumns(ltr.Image);

    TPlatformInfo facts = PlatformInfo();
    facts.MiddleEastLocale = true;
    TPlatformInfoScope scope(facts);
    Surface rtl(200, 20);
    rtl.In.BiDiMode = 1;
    rtl.Draw(text);
    const auto [rtlLo, rtlHi] = inkColumns(rtl.Image);
    ASSERT_GE(rtlHi, 0);
    EXPECT_GE(rtlHi, 200 - 4); // set against the right edge
    EXPECT_NEAR(rtlHi - rtlLo, ltrHi - ltrLo, 3); // nothing lost, nothing overlapping
    // The first run sits rightmost: its own width from the right edge is ink.
    const int first = rtl.Width("bold ");
    EXPECT_FALSE(rtl.White(Rect(200 - first, 0, 200, 20)));
    EXPECT_EQ(rtl.Out.XSize, ltr.Out.XSize);

    // A link is hit, and hovered, where it is drawn: from the right edge.
    const int gh = rtl.GH();
    const int lw = rtl.Width("link");
    EXPECT_TRUE(rtl.HitTest("<A HREF=\"x\">link</A> tail", 200 - 2, gh / 2));
    EXPECT_EQ(rtl.Out.HoverRect, Rect(200 - lw, 0, 200, gh));
    EXPECT_FALSE(rtl.HitTest("<A HREF=\"x\">link</A> tail", 2, gh / 2));
}

// Pictures, controls and links take their places in the line's flow: left to
// right from the line's left (1), right to left mirrored within the line, the
// first item ending at the right edge; each is hit, and a focused link framed,
// where it is drawn.
TEST(HTMLRenderTest, ObjectsTakeTheirPlacesInTheLinesFlow)
{
    TImageList images(16, 16);
    images.AddImage(Filled(16, 16, qRgb(200, 0, 0)));
    Surface probe;
    const int gh = probe.GH();
    struct Item {
        char Kind; // 't' text, 'p' picture, 'c' control, 'l' link
        QString Markup;
        int Width;
        QString Key; // the anchor or control ID a hit reports
    };
    const auto text = [&](const QString& s) { return Item { 't', s, probe.Width(s), {} }; };
    const auto link = [&](const QString& href, const QString& s) {
        return Item { 'l', "<A HREF=\"" + href + "\">" + s + "</A>", probe.Width(s), href };
    };
    const auto control = [](const QString& type, const QString& id, int width, int flowWidth) {
        return Item { 'c', "<CONTROL TYPE=\"" + type + "\" ID=\"" + id + "\" WIDTH=\"" + QString::number(width) + "\">",
            flowWidth, id };
    };
    const Item picture { 'p', "<IMG SRC=\"IDX:0\">", 16, {} };
    const Item linkedPicture { 'p', "<A HREF=\"pic\"><IMG SRC=\"IDX:0\"></A>", 16, "pic" };
    const std::vector<std::vector<Item>> lines = {
        { text("before "), picture, control("CHECK", "k", 30, 16), link("go", "link"), text(" after") },
        { link("first", "first"), text(" then "), control("EDIT", "e", 50, 50), linkedPicture, text(" end") },
        { control("CHECK", "a", 20, 16), control("RADIO", "b", 20, 16), picture, link("x", "x"), text(" or "),
            control("EDIT", "c", 40, 40) },
    };
    const auto redSpan = [](const QImage& img, int x, int y) {
        int l = x, r = x;
        while (l > 0 && img.pixel(l - 1, y) == qRgb(200, 0, 0))
            --l;
        while (r < img.width() && img.pixel(r, y) == qRgb(200, 0, 0))
            ++r;
        return std::pair(l, r);
    };
    for (const bool rtl : { false, true }) {
        TPlatformInfo facts = PlatformInfo();
        facts.MiddleEastLocale = rtl;
        TPlatformInfoScope scope(facts);
        for (const std::vector<Item>& line : lines) {
            QString markup;
            for (const Item& item : line)
                markup += item.Markup;
            SCOPED_TRACE((rtl ? "right to left: " : "left to right: ") + markup.toStdString());
            // Room right of the rectangle for a focus rectangle at its edge.
            Surface s(210, 40);
            s.In.Rect = Rect(0, 0, 200, 40);
            s.In.Images = &images;
            s.In.BiDiMode = rtl ? 1 : 0;
            s.Measure(markup);
            const int textY = s.Out.YSize - gh / 2; // inside the line's text band
            s.In.CheckHeight = false;
            s.Draw(markup);
            const QImage plain = s.Image.copy();
            int x = 1, links = 0;
            std::vector<std::pair<int, int>> drawn; // each item's columns as reported or painted
            for (const Item& item : line) {
                TRect e = Rect(x, 0, x + item.Width, 0);
                x += item.Width;
                if (rtl)
                    e = Rect(201 - e.Right, 0, 201 - e.Left, 0);
                const int mid = (e.Left + e.Right) / 2;
                SCOPED_TRACE(item.Markup.toStdString());
                switch (item.Kind) {
                case 't':
                    EXPECT_FALSE(s.White(Rect(e.Left, 0, e.Right, 40)));
                    drawn.emplace_back(e.Left, e.Right);
                    break;
                case 'p': {
                    const auto [l, r] = redSpan(plain, mid, 8);
                    EXPECT_EQ(l, e.Left);
                    EXPECT_EQ(r, e.Right);
                    drawn.emplace_back(l, r);
                    if (!item.Key.isEmpty()) {
                        EXPECT_TRUE(s.HitTest(markup, mid, 8));
                        EXPECT_EQ(s.Out.Anchor, item.Key);
                    }
                    break;
                }
                case 'c': {
                    s.Out = THTMLDrawOutput();
                    s.Out.ControlID = item.Key; // located by its ID
                    s.In.CheckHotSpot = true;
                    s.In.XPos = s.In.YPos = -1;
                    EXPECT_TRUE(DrawHTMLText(s.In, s.Out));
                    EXPECT_EQ(s.Out.ControlRect.Left, e.Left);
                    EXPECT_EQ(s.Out.ControlRect.Right, e.Right);
                    drawn.emplace_back(s.Out.ControlRect.Left, s.Out.ControlRect.Right);
                    EXPECT_TRUE(s.HitTest(markup, mid, 8));
                    EXPECT_EQ(s.Out.Anchor, "ctrl");
                    EXPECT_EQ(s.Out.ControlID, item.Key);
                    break;
                }
                case 'l': {
                    EXPECT_TRUE(s.HitTest(markup, mid, textY));
                    EXPECT_EQ(s.Out.Anchor, item.Key);
                    EXPECT_EQ(s.Out.HoverRect.Left, e.Left);
                    EXPECT_EQ(s.Out.HoverRect.Right, e.Right);
                    drawn.emplace_back(s.Out.HoverRect.Left, s.Out.HoverRect.Right);
                    // Its outermost pixel columns are its own, the next ones not.
                    for (const int px : { e.Left, e.Right - 1, e.Left - 1, e.Right }) {
                        const bool inside = px >= e.Left && px < e.Right;
                        s.HitTest(markup, px, textY);
                        EXPECT_EQ(s.Out.Anchor == item.Key, inside) << "at " << px;
                    }
                    // Its focus rectangle frames it, one pixel wider on each side.
                    Surface f(210, 40);
                    f.In.Rect = s.In.Rect;
                    f.In.Images = &images;
                    f.In.BiDiMode = s.In.BiDiMode;
                    f.In.FocusLink = links;
                    f.Draw(markup);
                    EXPECT_EQ(f.Out.FocusAnchor, item.Key);
                    int lo = 210, hi = -1;
                    for (int py = 0; py < 40; ++py)
                        for (int px = 0; px < 210; ++px)
                            if (f.Image.pixel(px, py) != plain.pixel(px, py)) {
                                lo = std::min(lo, px);
                                hi = std::max(hi, px);
                            }
                    EXPECT_EQ(lo, e.Left - 1);
                    EXPECT_EQ(hi, e.Right);
                    break;
                }
                }
                s.In.CheckHotSpot = false;
                if (item.Markup.startsWith("<A"))
                    ++links;
            }
            // In reading order each item lies beyond the one before it.
            for (size_t i = 1; i < drawn.size(); ++i)
                if (rtl)
                    EXPECT_LE(drawn[i].second, drawn[i - 1].first) << "item " << i;
                else
                    EXPECT_GE(drawn[i].first, drawn[i - 1].second) << "item " << i;
            EXPECT_EQ(rtl ? drawn.front().second : drawn.front().first, rtl ? 200 : 1);
        }
    }
}

// Bullets, indents and paragraph alignment: right to left the line's start is
// mirrored within the line, so a link's place is the mirror of its place left
// to right.
TEST(HTMLRenderTest, LineStartsMirrorRightToLeft)
{
    Surface probe;
    const int gh = probe.GH();
    const int w = probe.Width("one");
    struct Case {
        const char* Text;
        int Line;
        int Left; // the link's left, left to right
        bool Bullet;
    };
    const Case cases[] = {
        { "<UL><LI><A HREF=\"a\">one</A></UL>", 1, 1 + 12, true },
        { "<UL><UL><LI><A HREF=\"a\">one</A></UL></UL>", 2, 1 + 24, false },
        { "<IND x=\"40\"><A HREF=\"a\">one</A>", 0, 1 + 40, false },
        { "<P INDENT=\"30\"><A HREF=\"a\">one</A>", 0, 1 + 30, false },
        { "<P ALIGN=\"RIGHT\"><A HREF=\"a\">one</A>", 0, 200 - w, false },
        { "<P ALIGN=\"CENTER\"><A HREF=\"a\">one</A>", 0, 1 + (199 - w) / 2, false },
    };
    InBothDirections([&](bool rtl) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(rtl ? "right to left: " : "left to right: ") + c.Text);
            Surface s(200, 60);
            s.In.BiDiMode = rtl ? 1 : 0;
            const int left = rtl ? 201 - (c.Left + w) : c.Left;
            const int top = c.Line * gh;
            EXPECT_TRUE(s.HitTest(c.Text, left + w / 2, top + gh / 2));
            EXPECT_EQ(s.Out.HoverRect, Rect(left, top, left + w, top + gh));
            if (c.Bullet) {
                s.In.CheckHotSpot = false;
                s.Draw(c.Text);
                const TRect slot = rtl ? Rect(188, top, 200, top + gh) : Rect(1, top, 13, top + gh);
                const TRect mirror = rtl ? Rect(1, top, 13, top + gh) : Rect(188, top, 200, top + gh);
                EXPECT_FALSE(s.White(slot));
                EXPECT_TRUE(s.White(mirror));
            }
        }
    });
    // Read right to left only: the line keeps its alignment, its first item
    // at the right end of the aligned line.
    TPlatformInfo facts = PlatformInfo();
    facts.MiddleEastLocale = true;
    TPlatformInfoScope scope(facts);
    const int tail = probe.Width(" two");
    for (const auto& [text, left] : { std::pair("<A HREF=\"a\">one</A> two", 1 + tail),
             std::pair("<P ALIGN=\"RIGHT\"><A HREF=\"a\">one</A> two", 200 - w) }) {
        SCOPED_TRACE(text);
        Surface s(200, 60);
        s.In.BiDiMode = 2;
        EXPECT_TRUE(s.HitTest(text, left + w / 2, gh / 2));
        EXPECT_EQ(s.Out.HoverRect, Rect(left, 0, left + w, gh));
    }
}

// A focused link wrapped over several lines is framed on every line it spans,
// around its own part there; the part on a line the link continues onto is
// framed from the line's first column, inside the line.
TEST(HTMLRenderTest, WrappedFocusedLinkIsFramedOnEveryLine)
{
    Surface probe;
    const int gh = probe.GH();
    struct Case {
        const char* Text;
        // Per line: the text before the link's part, and the part itself.
        std::vector<std::pair<QString, QString>> Lines;
        bool Centred;
    };
    const Case cases[] = {
        { "ab <A HREF=\"x\">wwww wwww</A> a", { { "ab ", "wwww " }, { "", "wwww" } }, false },
        { "<A HREF=\"x\">wwww wwww wwww</A>", { { "", "wwww " }, { "", "wwww " }, { "", "wwww" } }, false },
        { "<P ALIGN=\"CENTER\">a <A HREF=\"x\">wwww ii</A></P>", { { "a ", "wwww " }, { "", "ii" } }, true },
    };
    InBothDirections([&](bool rtl) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(rtl ? "right to left: " : "left to right: ") + c.Text);
            // Each line as wide as its widest line allows: the next word never fits.
            int widest = 0;
            for (const auto& [before, part] : c.Lines)
                widest = std::max(widest, probe.Width(before + part));
            const int left = 10, right = left + widest + 2;
            // Room on both sides for a frame at the rectangle's edges, or
            // around a trailing blank.
            Surface s(right + 10, 60);
            s.In.Rect = Rect(left, 0, right, 60);
            s.In.WordWrap = true;
            s.In.BiDiMode = rtl ? 1 : 0;
            s.Draw(c.Text);
            ASSERT_EQ(s.Out.YSize, int(c.Lines.size()) * gh);
            const QImage plain = s.Image.copy();
            Surface f(right + 10, 60);
            f.In.Rect = s.In.Rect;
            f.In.WordWrap = true;
            f.In.BiDiMode = s.In.BiDiMode;
            f.In.FocusLink = 0;
            f.Draw(c.Text);
            EXPECT_EQ(f.Out.FocusAnchor, "x");
            for (size_t k = 0; k < c.Lines.size(); ++k) {
                SCOPED_TRACE("line " + std::to_string(k));
                const auto& [before, part] = c.Lines[k];
                // The line's start, left to right, and the part's columns there.
                int start = left + 1;
                if (c.Centred) {
                    const QString shown = (before + part).trimmed();
                    start += (right - left - 1 - probe.Width(shown)) / 2;
                }
                const int l = start + probe.Width(before), r = l + probe.Width(part);
                // One pixel wider on each side, but never left of a continued part's line start.
                int lo = l - (k == 0 ? 1 : 0), hi = r;
                if (rtl) {
                    std::tie(lo, hi) = std::pair(left + right - hi, left + right - lo);
                }
                int seenLo = INT_MAX, seenHi = -1;
                for (int py = int(k) * gh; py < int(k + 1) * gh; ++py)
                    for (int px = 0; px < f.Image.width(); ++px)
                        if (f.Image.pixel(px, py) != plain.pixel(px, py)) {
                            seenLo = std::min(seenLo, px);
                            seenHi = std::max(seenHi, px);
                        }
                EXPECT_EQ(seenLo, lo);
                EXPECT_EQ(seenHi, hi);
            }
        }
    });
}

namespace {

// Runs that cannot show are not painted, and nothing else changes: a long
// line of tag-dense text in a narrow cell still reports all of its text and
// paints only inside its rectangle; blanks over a background or under a line
// are painted, as they show.
TEST(HTMLRenderTest, RunsThatCannotShowAreSkippedAndTheRestKept)
{
    const QString text = QStringLiteral("<B>Holding register</B> 12 of <I>channel</I> 3: "
                                        "<FONT COLOR=\"clRed\">scaled</FONT> process <B>value</B>, read");
    Surface s(300, 40);
    s.In.Rect = Rect(0, 0, 80, 18);
    s.Draw(text);
    EXPECT_EQ(s.Out.StripVal, StripHTMLTags(text));
    EXPECT_GT(s.Out.XSize, 80);
    EXPECT_FALSE(s.White(Rect(0, 0, 80, 18)));
    EXPECT_TRUE(s.White(Rect(80, 0, 300, 40)));
    EXPECT_TRUE(s.White(Rect(0, 18, 80, 40)));

    Surface back(200, 30);
    back.Draw(QStringLiteral("a<FONT BGCOLOR=\"clYellow\">      </FONT>b"));
    const int x = 2 + back.Width(QStringLiteral("a")) + back.Width(QStringLiteral("   ")) / 2;
    EXPECT_EQ(back.Image.pixel(x, back.GH() / 2), QColor(Qt::yellow).rgb());

    Surface line(200, 30), word(200, 30);
    line.Draw(QStringLiteral("<U>a<B>      </B>b</U>"));
    word.Draw(QStringLiteral("<U>a      b</U>"));
    EXPECT_EQ(line.Image, word.Image);
}

} // namespace
