#include "platform/graphics/DrawText.h"
#include "platform/graphics/TextMeasureStats.h"

#include <QFontMetrics>

#include <QImage>

#include <gtest/gtest.h>

namespace {

struct Surface {
    QImage Image;
    TCanvas Canvas;
    explicit Surface(int w = 200, int h = 80)
        : Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(Qt::white);
        Canvas.BeginDraw(&Image);
        Canvas.Font()->SetColor(clBlack);
    }
    ~Surface() { Canvas.EndDraw(); }
    TColor At(int x, int y) const { return QColorToColor(QColor::fromRgb(Image.pixel(x, y))); }
    // Bounding box of pixels of colour c (empty when none).
    TRect BoxOf(TColor c) const
    {
        TRect r(Image.width(), Image.height(), 0, 0);
        for (int y = 0; y < Image.height(); ++y)
            for (int x = 0; x < Image.width(); ++x)
                if (At(x, y) == c) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r.IsEmpty() ? TRect() : r;
    }
    // Bounding box of dark (text) pixels.
    TRect Ink() const
    {
        TRect r(Image.width(), Image.height(), 0, 0);
        for (int y = 0; y < Image.height(); ++y)
            for (int x = 0; x < Image.width(); ++x)
                if (qGray(Image.pixel(x, y)) < 128) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r.IsEmpty() ? TRect() : r;
    }
};

TEST(DrawText, CalcRectMeasuresWithCanvasMetrics)
{
    Surface s;
    TCanvas& c = s.Canvas;
    const int h = c.TextHeight(QStringLiteral("gh"));
    const QString text = QStringLiteral("Alpha beta gamma");

    TRect r = Rect(10, 5, 20, 6);
    EXPECT_EQ(DrawText(&c, text, r, DT_CALCRECT | DT_SINGLELINE), h);
    EXPECT_EQ(r, Rect(10, 5, 10 + c.TextWidth(text), 5 + h));

    // Word break: each word on its own line in a rectangle narrower than two.
    const int widest = std::max({ c.TextWidth(QStringLiteral("Alpha")), c.TextWidth(QStringLiteral("beta")),
        c.TextWidth(QStringLiteral("gamma")) });
    r = Rect(0, 0, widest + 2, 0);
    EXPECT_EQ(DrawText(&c, text, r, DT_CALCRECT | DT_WORDBREAK), 3 * h);
    EXPECT_EQ(r, Rect(0, 0, widest, 3 * h));

    // Wider rectangle: the first two words share a line.
    const int two = c.TextWidth(QStringLiteral("Alpha beta"));
    r = Rect(0, 0, two + 1, 0);
    QString shown;
    DrawTextEx(&c, text, r, DT_CALCRECT | DT_WORDBREAK, 0, 0, 0, &shown);
    EXPECT_EQ(shown, QStringLiteral("Alpha beta\ngamma"));
    EXPECT_EQ(r.Height(), 2 * h);

    // Line breaks count without DT_SINGLELINE and are ignored with it.
    r = Rect(0, 0, 10, 0);
    EXPECT_EQ(DrawText(&c, QStringLiteral("a\r\nb\nc"), r, DT_CALCRECT), 3 * h);
    r = Rect(0, 0, 10, 0);
    EXPECT_EQ(DrawText(&c, QStringLiteral("a\r\nb\nc"), r, DT_CALCRECT | DT_SINGLELINE), h);

    // A word longer than the line overflows, unless the edit-control style breaks it.
    const QString longWord = QStringLiteral("Supercalifragilistic");
    r = Rect(0, 0, 40, 0);
    DrawText(&c, longWord, r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(r.Width(), c.TextWidth(longWord));
    r = Rect(0, 0, 40, 0);
    DrawTextEx(&c, longWord, r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL, 0, 0, 0, &shown);
    EXPECT_LE(r.Width(), 40);
    EXPECT_GT(r.Height(), h);
    EXPECT_EQ(QString(shown).remove(QLatin1Char('\n')), longWord);

    // Empty text: no width; a single line still has its height.
    r = Rect(3, 3, 50, 50);
    EXPECT_EQ(DrawText(&c, QString(), r, DT_CALCRECT | DT_SINGLELINE), h);
    EXPECT_EQ(r, Rect(3, 3, 3, 3 + h));
}

TEST(DrawText, CalcRectDrawsNothing)
{
    Surface s;
    const QImage before = s.Image.copy();
    TRect r = Rect(0, 0, 200, 80);
    DrawText(&s.Canvas, QStringLiteral("Nothing to see"), r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(s.Image, before);
}

TEST(DrawText, EndEllipsisFitsTheRectangle)
{
    Surface s;
    TCanvas& c = s.Canvas;
    const QString text = QStringLiteral("A rather long cell text that cannot fit");
    for (int width : { 30, 60, 100, 150 }) {
        SCOPED_TRACE(width);
        TRect r = Rect(10, 10, 10 + width, 30);
        QString shown;
        DrawTextEx(&c, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP, 0, 0, 0, &shown);
        EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
        EXPECT_LE(c.TextWidth(shown), width);
        EXPECT_TRUE(text.startsWith(shown.left(shown.size() - 3)));
        // one more character would not have fitted
        EXPECT_GT(c.TextWidth(text.left(shown.size() - 2) + QStringLiteral("...")), width);
    }
    // Drawn without clipping, the ink still stays inside the rectangle.
    Surface t;
    TRect r = Rect(10, 10, 70, 30);
    t.Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    DrawText(&t.Canvas, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(t.Ink().Right, 70);

    // Text that fits is left alone.
    QString shown;
    r = Rect(0, 0, 200, 20);
    DrawTextEx(&c, QStringLiteral("Short"), r, DT_SINGLELINE | DT_END_ELLIPSIS, 0, 0, 0, &shown);
    EXPECT_EQ(shown, QStringLiteral("Short"));

    // A path keeps its last part.
    const QString path = QStringLiteral("C:\\Projects\\Plant\\Area\\Morvantile.xml");
    const int w = c.TextWidth(QStringLiteral("C:\\Pr...\\Morvantile.xml"));
    r = Rect(0, 0, w, 20);
    DrawTextEx(&c, path, r, DT_SINGLELINE | DT_PATH_ELLIPSIS, 0, 0, 0, &shown);
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...\\Morvantile.xml"))) << shown.toStdString();
    EXPECT_LE(c.TextWidth(shown), w);
}

TEST(DrawText, PrefixCharacters)
{
    Surface s;
    TCanvas& c = s.Canvas;
    struct Case {
        const char* Text;
        unsigned Flags;
        const char* Shown;
    };
    const Case cases[] = {
        { "Save &as", 0, "Save as" },
        { "R&&D", 0, "R&D" },
        { "R&&D", DT_NOPREFIX, "R&&D" },
        { "&File", DT_HIDEPREFIX, "File" },
        { "End&", 0, "End" },
    };
    for (const Case& k : cases) {
        TRect r = Rect(0, 0, 200, 20);
        QString shown;
        DrawTextEx(&c, QLatin1String(k.Text), r, DT_CALCRECT | DT_SINGLELINE | k.Flags, 0, 0, 0, &shown);
        EXPECT_EQ(shown, QLatin1String(k.Shown)) << k.Text;
        EXPECT_EQ(r.Width(), c.TextWidth(QLatin1String(k.Shown))) << k.Text;
    }

    // "&F" underlines F: more ink below the baseline than "F" alone, and only under the F.
    auto draw = [](const QString& text, unsigned flags) {
        auto s = std::make_unique<Surface>(100, 40);
        s->Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        TRect r = Rect(10, 5, 100, 40);
        DrawText(&s->Canvas, text, r, DT_SINGLELINE | flags);
        return s;
    };
    const auto plain = draw(QStringLiteral("Fx"), 0);
    const auto marked = draw(QStringLiteral("&Fx"), 0);
    const auto hidden = draw(QStringLiteral("&Fx"), DT_HIDEPREFIX);
    EXPECT_EQ(hidden->Image, plain->Image);
    EXPECT_NE(marked->Image, plain->Image);
    const int fWidth = c.TextWidth(QStringLiteral("F"));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            if (marked->Image.pixel(x, y) != plain->Image.pixel(x, y)) {
                EXPECT_GE(x, 10);
                EXPECT_LT(x, 10 + fWidth);
                EXPECT_GT(y, 5 + c.TextMetrics().Ascent - 1);
            }
}

TEST(DrawText, AlignsInsideTheRectangle)
{
    const QString text = QStringLiteral("Cell");
    const TRect box = Rect(20, 10, 180, 70);
    struct Case {
        unsigned Flags;
        int Left; // -1: centred
        int Top; // -1: centred, -2: bottom
    };
    const Case cases[] = {
        { DT_LEFT | DT_TOP | DT_SINGLELINE, box.Left, box.Top },
        { DT_RIGHT | DT_SINGLELINE, -3, box.Top },
        { DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1, -1 },
        { DT_LEFT | DT_BOTTOM | DT_SINGLELINE, box.Left, -2 },
        // vertical placement needs a single line
        { DT_CENTER | DT_VCENTER, -1, box.Top },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Flags);
        Surface s;
        s.Canvas.Brush()->SetColor(clYellow); // the text cell shows as yellow
        const TSize ext = s.Canvas.TextExtent(text);
        TRect r = box;
        const int ret = DrawText(&s.Canvas, text, r, k.Flags);
        const int left = k.Left == -1 ? box.Left + (box.Width() - ext.cx) / 2
            : k.Left == -3            ? box.Right - ext.cx
                                      : k.Left;
        const int top = k.Top == -1 ? box.Top + (box.Height() - ext.cy) / 2 : k.Top == -2 ? box.Bottom - ext.cy : k.Top;
        EXPECT_EQ(s.BoxOf(clYellow), Bounds(left, top, ext.cx, ext.cy));
        EXPECT_EQ(r, box);
        if (k.Flags & DT_SINGLELINE && k.Flags & (DT_VCENTER | DT_BOTTOM))
            EXPECT_EQ(ret, top + ext.cy - box.Top);
        else
            EXPECT_EQ(ret, ext.cy);
    }
}

TEST(DrawText, ExpandTabsToStops)
{
    Surface s;
    TCanvas& c = s.Canvas;
    const int stop = 8 * c.TextMetrics().AveCharWidth;
    TRect r = Rect(0, 0, 400, 20);
    DrawText(&c, QStringLiteral("a\tb"), r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.Width(), stop + c.TextWidth(QStringLiteral("b")));
    r = Rect(0, 0, 400, 20);
    DrawTextEx(&c, QStringLiteral("a\tb"), r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, 2);
    EXPECT_EQ(r.Width(), 2 * c.TextMetrics().AveCharWidth + c.TextWidth(QStringLiteral("b")));
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
    const QString text = QStringLiteral("WWWWWWWWWWWWWWWW");
    Surface clipped;
    clipped.Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect r = Rect(10, 10, 40, 30);
    DrawText(&clipped.Canvas, text, r, DT_SINGLELINE);
    EXPECT_LE(clipped.Ink().Right, 40);

    Surface open;
    open.Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    r = Rect(10, 10, 40, 30);
    DrawText(&open.Canvas, text, r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(open.Ink().Right, 40);
}

TEST(DrawText, EditControlHidesPartlyVisibleLastLine)
{
    Surface s;
    s.Canvas.Brush()->SetColor(clYellow);
    const int h = s.Canvas.TextHeight(QStringLiteral("gh"));
    TRect r = Rect(0, 0, 200, h + h / 2);
    DrawText(&s.Canvas, QStringLiteral("one\ntwo"), r, DT_EDITCONTROL);
    EXPECT_EQ(s.BoxOf(clYellow).Bottom, h);
    Surface t;
    t.Canvas.Brush()->SetColor(clYellow);
    r = Rect(0, 0, 200, h + h / 2);
    DrawText(&t.Canvas, QStringLiteral("one\ntwo"), r, 0);
    EXPECT_EQ(t.BoxOf(clYellow).Bottom, h + h / 2);
}

} // namespace

namespace {

TEST(DrawText, WrappedTextCutWithEllipsisOnLastVisibleLine)
{
    Surface s;
    TCanvas& c = s.Canvas;
    const int h = c.TextHeight(QStringLiteral("gh"));
    const QString text = QStringLiteral("one two three four five six seven eight");
    const int width = c.TextWidth(QStringLiteral("three four"));
    TRect r = Rect(0, 0, width, 2 * h + h / 2);
    QString shown;
    DrawTextEx(&c, text, r, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS, 0, 0, 0, &shown);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("...")));
    EXPECT_LE(c.TextWidth(lines[1]), width);
}

} // namespace

namespace {

// Word-wrapped lines as the line-by-line greedy takes them: as many whole
// words as fit, a word wider than the line on its own (broken between
// characters in the edit-control style).
QStringList GreedyLines(TCanvas& c, const QString& s, int maxWidth, bool breakWords)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < s.size()) {
        qsizetype best = -1, firstNext = -1;
        for (qsizetype i = start; i < s.size();) {
            qsizetype end = i;
            while (end < s.size() && s[end] != QLatin1Char(' '))
                ++end;
            qsizetype next = end;
            while (next < s.size() && s[next] == QLatin1Char(' '))
                ++next;
            if (firstNext < 0)
                firstNext = next;
            if (c.TextWidth(s.mid(start, end - start)) > maxWidth)
                break;
            best = next;
            i = next;
        }
        if (best < 0 && breakWords) {
            qsizetype n = 1;
            while (start + n < s.size() && s[start + n] != QLatin1Char(' ')
                && c.TextWidth(s.mid(start, n + 1)) <= maxWidth)
                ++n;
            best = start + n;
            while (best < s.size() && s[best] == QLatin1Char(' '))
                ++best;
        } else if (best < 0) {
            best = firstNext;
        }
        qsizetype end = best;
        while (end > start && s[end - 1] == QLatin1Char(' '))
            --end;
        lines << s.mid(start, end - start);
        start = best;
    }
    return lines;
}

TEST(DrawText, WrapsWordsAsTheGreedyLineByLineRule)
{
    Surface s;
    TCanvas& c = s.Canvas;
    const QString texts[] = {
        QStringLiteral("The quick brown fox jumps over the lazy dog"),
        QStringLiteral("  leading blanks, then  two  blanks between words  "),
        QStringLiteral("short Pneumonoultramicroscopicsilicovolcanoconiosis short again"),
        QStringLiteral("a b c d e f g h i j k l m n o p"),
    };
    for (const QString& text : texts)
        for (const int width : { 1, 25, 60, 120, 400 })
            for (const bool edit : { false, true }) {
                SCOPED_TRACE(text.toStdString() + " in " + std::to_string(width) + (edit ? " edit" : ""));
                TRect r = Rect(0, 0, width, 0);
                QString shown;
                DrawTextEx(&c, text, r, DT_CALCRECT | DT_WORDBREAK | (edit ? DT_EDITCONTROL : 0), 0, 0, 0, &shown);
                EXPECT_EQ(shown.split(QLatin1Char('\n')), GreedyLines(c, text, width, edit));
            }
}

// A long word in a narrow word-wrapped cell: every line holds the most
// characters that fit, and the measuring grows with the word's length, not
// with its square.
TEST(DrawText, LongWordBreaksWhereLinesAreFullInLinearWork)
{
    Surface s;
    TCanvas& c = s.Canvas;
    const int width = 40;
    const auto laidOut = [&](int n) {
        const QString word = QString(n, QLatin1Char('x')).replace(7, 1, QLatin1Char('W'));
        const qint64 before = TextMeasureStats().LaidOutChars;
        TRect r = Rect(0, 0, width, 0);
        QString shown;
        DrawTextEx(&c, word, r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL, 0, 0, 0, &shown);
        const QStringList lines = shown.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.join(QString()), word);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            EXPECT_LE(c.TextWidth(lines[i]), width) << i;
            EXPECT_GT(c.TextWidth(lines[i] + lines[i + 1][0]), width) << i;
        }
        return TextMeasureStats().LaidOutChars - before;
    };
    const int n = 6000;
    const qint64 work = laidOut(n);
    // A line's own text is measured a few times over while it is halved
    // down; the rest of the word never.
    EXPECT_LT(work, 40 * qint64(n));
    EXPECT_LT(laidOut(2 * n), 3 * work);
}

// Texts of any length measure as the font does, and the cache's keys stay
// short however many long texts pass through it.
TEST(DrawText, LongTextsMeasureExactlyWithoutFillingTheCache)
{
    TCanvas c;
    const QFontMetrics fm(c.Font()->ToQFont());
    const qint64 cachedBefore = TextMeasureStats().CachedChars;
    for (int i = 0; i < 40; ++i) {
        const QString text = QString::number(i) + QString(5000, QLatin1Char('m'));
        EXPECT_EQ(c.TextWidth(text), fm.horizontalAdvance(text)) << i;
        EXPECT_GE(c.TextBounds(text).Width(), fm.horizontalAdvance(text)) << i;
    }
    EXPECT_LT(TextMeasureStats().CachedChars - cachedBefore, 5000);
}

} // namespace

namespace {

// A wrapped text taller than its rectangle: the lines that show are laid out
// and drawn as the whole text's layout places them (the layout asked for
// through `shown` goes to the end), and a paint lays out little more than
// what shows, however long the text.
TEST(DrawText, WrappedTextInShortRectangleDrawsAsTheWholeLayout)
{
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    const unsigned cases[] = { DT_WORDBREAK, DT_WORDBREAK | DT_EDITCONTROL, DT_WORDBREAK | DT_END_ELLIPSIS,
        DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS };
    for (const unsigned flags : cases) {
        Surface painted, whole;
        const int h = painted.Canvas.TextHeight(QStringLiteral("gh"));
        for (const int height : { h / 2, h, 2 * h + h / 2, 3 * h }) {
            painted.Image.fill(Qt::white);
            whole.Image.fill(Qt::white);
            TRect r = Rect(5, 5, 120, 5 + height);
            const qint64 before = TextMeasureStats().LaidOutChars;
            DrawText(&painted.Canvas, text, r, flags);
            const qint64 work = TextMeasureStats().LaidOutChars - before;
            r = Rect(5, 5, 120, 5 + height);
            QString shown;
            DrawTextEx(&whole.Canvas, text, r, flags, 0, 0, 0, &shown);
            EXPECT_EQ(painted.Image, whole.Image) << flags << " " << height;
            if (!(flags & DT_END_ELLIPSIS)) { // the ellipsis keeps only the lines that show
                EXPECT_GT(shown.count(QLatin1Char('\n')), 50);
            }
            EXPECT_LT(work, text.size() / 4) << flags << " " << height;
        }
    }
}

} // namespace
