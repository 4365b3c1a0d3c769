#include "platform/graphics/DrawText.h"
#include "platform/graphics/TextLineClip.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

const QString Ellipsis = QStringLiteral("...");

struct TLine {
    QString Text;
    std::vector<int> Underlined; // indices into Text
};

struct TLayout {
    TCanvas* Canvas;
    unsigned Flags;
    int TabWidth; // pixels between tab stops; 0 without DT_EXPANDTABS

    // Width of a line, tab stops counted from the line's start.
    int width(const QString& s) const
    {
        if (!TabWidth || !s.contains(QLatin1Char('\t')))
            return Canvas->TextWidth(s);
        int x = 0;
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = s.indexOf(QLatin1Char('\t'), start);
            x += Canvas->TextWidth(s.mid(start, tab < 0 ? -1 : tab - start));
            if (tab < 0)
                return x;
            x = (x / TabWidth + 1) * TabWidth;
            start = tab + 1;
        }
    }

    // The x offset of character `index` within the line.
    int offsetOf(const QString& s, qsizetype index) const { return width(s.left(index)); }
};

// Removes prefix characters: "&&" shows one "&", "&x" shows x underlined.
TLine stripPrefix(const QString& s, unsigned flags)
{
    TLine line;
    if (flags & DT_NOPREFIX) {
        line.Text = s;
        return line;
    }
    line.Text.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size()) {
            ++i;
            if (s[i] != QLatin1Char('&') && !(flags & DT_HIDEPREFIX))
                line.Underlined.push_back(int(line.Text.size()));
        } else if (s[i] == QLatin1Char('&')) {
            continue; // a trailing single "&" shows nothing
        }
        line.Text.append(s[i]);
    }
    return line;
}

// Underlined indices are ascending: a line finds its own by search, so
// cutting a long text into lines stays linear.
TLine subLine(const TLine& src, qsizetype from, qsizetype count)
{
    TLine l;
    l.Text = src.Text.mid(from, count);
    const auto first = std::lower_bound(src.Underlined.begin(), src.Underlined.end(), from);
    const auto last = std::lower_bound(first, src.Underlined.end(), from + l.Text.size());
    for (auto u = first; u != last; ++u)
        l.Underlined.push_back(int(*u - from));
    return l;
}

bool isBreakSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// How many characters of s from `start` fit maxWidth. A longer prefix is
// never narrower, so doubling the prefix brackets the answer and halving
// the bracket finds it: each line measures little more than twice its own
// text, and a long word is never measured whole.
qsizetype fittingChars(const TLayout& lay, const QString& s, qsizetype start, int maxWidth)
{
    const qsizetype avail = s.size() - start;
    // Most cells' texts fit on their first line: one measure of the whole
    // (remembered for the next paint) answers. Only a short paragraph's start
    // is tried so, which keeps every line's measuring to its own text.
    constexpr qsizetype shortParagraph = 256;
    if (start == 0 && avail <= shortParagraph && lay.width(s) <= maxWidth)
        return avail;
    qsizetype fits = 0, fails = 1;
    for (;;) {
        if (fails >= avail) {
            if (lay.width(s.mid(start, avail)) <= maxWidth)
                return avail;
            fails = avail;
            break;
        }
        if (lay.width(s.mid(start, fails)) > maxWidth)
            break;
        fits = fails;
        fails *= 2;
    }
    while (fails - fits > 1) {
        const qsizetype mid = fits + (fails - fits) / 2;
        if (lay.width(s.mid(start, mid)) <= maxWidth)
            fits = mid;
        else
            fails = mid;
    }
    return fits;
}

// Splits one paragraph into lines no wider than maxWidth, breaking after
// spaces. A word wider than the line overflows, unless `breakWords` (edit
// control behaviour) breaks it between characters. Stops once `out` holds
// maxLines lines.
void wrapParagraph(
    const TLayout& lay, const TLine& para, int maxWidth, bool breakWords, size_t maxLines, std::vector<TLine>& out)
{
    const QString& s = para.Text;
    qsizetype start = 0;
    if (s.isEmpty()) {
        out.push_back(para);
        return;
    }
    const auto skipSpaces = [&](qsizetype i) {
        while (i < s.size() && isBreakSpace(s[i]))
            ++i;
        return i;
    };
    while (start < s.size() && out.size() < maxLines) {
        const qsizetype limit = start + fittingChars(lay, s, start, maxWidth);
        // The line takes every word that ends within what fits, and the
        // spaces after the last of them.
        qsizetype best = -1;
        if (limit == s.size()) {
            best = s.size();
        } else {
            qsizetype e = limit;
            if (!isBreakSpace(s[e]))
                while (e > start && !isBreakSpace(s[e - 1]))
                    --e; // back to the start of the word cut at the limit
            while (e > start && isBreakSpace(s[e - 1]))
                --e;
            // Leading spaces end an empty first word, which always fits.
            if (e > start || isBreakSpace(s[start]))
                best = skipSpaces(e);
        }
        if (best < 0 && breakWords) {
            // The first word does not fit: it breaks where the line is full,
            // after at least one character, never inside a pair.
            qsizetype n = std::max<qsizetype>(1, limit - start);
            if (s[start + n - 1].isHighSurrogate() && start + n < s.size())
                n += n == 1 ? 1 : -1;
            best = skipSpaces(start + n);
        } else if (best < 0) {
            qsizetype wordEnd = start;
            while (wordEnd < s.size() && !isBreakSpace(s[wordEnd]))
                ++wordEnd;
            best = skipSpaces(wordEnd); // the word overflows on a line of its own
        }
        qsizetype end = best;
        while (end > start && isBreakSpace(s[end - 1]))
            --end;
        out.push_back(subLine(para, start, end - start));
        start = best;
    }
}

// The longest prefix of s (at most `limit` characters) that fits maxWidth with
// "..." after it; a binary search, as cell texts can be long.
qsizetype longestWithEllipsis(const TLayout& lay, const QString& s, qsizetype limit, int maxWidth)
{
    qsizetype lo = 0, hi = limit;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (lay.width(s.left(mid) + Ellipsis) <= maxWidth)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// Shortens a line to fit maxWidth with "..." at its end (or, for paths, in
// place of the middle of the path).
void fitEllipsis(const TLayout& lay, TLine& line, int maxWidth, unsigned flags)
{
    if (lay.width(line.Text) <= maxWidth)
        return;
    const QString s = line.Text;
    if (flags & DT_PATH_ELLIPSIS) {
        const qsizetype slash = std::max(s.lastIndexOf(QLatin1Char('\\')), s.lastIndexOf(QLatin1Char('/')));
        if (slash > 0) {
            const QString tail = s.mid(slash);
            const auto fits = [&](qsizetype n) { return lay.width(s.left(n) + Ellipsis + tail) <= maxWidth; };
            if (fits(0)) {
                qsizetype lo = 0, hi = slash; // the longest head that fits, by halving
                while (lo < hi) {
                    const qsizetype mid = (lo + hi + 1) / 2;
                    if (fits(mid))
                        lo = mid;
                    else
                        hi = mid - 1;
                }
                line = subLine(line, 0, lo);
                line.Text += Ellipsis + tail;
                return;
            }
        }
    }
    qsizetype n = longestWithEllipsis(lay, s, s.size(), maxWidth);
    if (flags & DT_WORD_ELLIPSIS && !(flags & DT_END_ELLIPSIS)) {
        // Whole words first: the last blank within what fits.
        const qsizetype cut = s.lastIndexOf(QLatin1Char(' '), std::min(n, s.size() - 1));
        if (cut > 0)
            n = cut;
    }
    line = subLine(line, 0, n);
    line.Text += Ellipsis;
}

void drawLine(TCanvas* canvas, const TLayout& lay, int x, int y, const TLine& line, bool rtl);

// A mirrored canvas moves the whole line, which keeps its tab stops and
// underlines in place within it.
void drawLineOriented(TCanvas* canvas, const TLayout& lay, int x, int y, const TLine& line, bool rtl)
{
    const TCanvas::TOrientation o = canvas->DrawingOrientation();
    if (!o.RightToLeft) {
        drawLine(canvas, lay, x, y, line, rtl);
        return;
    }
    canvas->SetDrawingOrientation({});
    drawLine(canvas, lay, o.Width - x - lay.width(line.Text), y, line, rtl);
    canvas->SetDrawingOrientation(o);
}

void drawLine(TCanvas* canvas, const TLayout& lay, int x, int y, const TLine& line, bool rtl)
{
    const QString& s = line.Text;
    if (!(lay.Flags & DT_PREFIXONLY)) {
        if (!lay.TabWidth || !s.contains(QLatin1Char('\t'))) {
            canvas->DrawTextLine(x, y, s, rtl);
        } else {
            int cx = 0;
            qsizetype start = 0;
            for (;;) {
                const qsizetype tab = s.indexOf(QLatin1Char('\t'), start);
                const QString part = s.mid(start, tab < 0 ? -1 : tab - start);
                canvas->DrawTextLine(x + cx, y, part, rtl);
                cx += canvas->TextWidth(part);
                if (tab < 0)
                    break;
                cx = (cx / lay.TabWidth + 1) * lay.TabWidth;
                start = tab + 1;
            }
        }
    }
    if (line.Underlined.empty() || canvas->Font()->Color() == clNone)
        return;
    const QFontMetrics& fm = canvas->FontMetrics();
    const int baseline = y + fm.ascent();
    for (int u : line.Underlined) {
        if (u >= s.size())
            continue;
        const int x0 = x + lay.offsetOf(s, u);
        const int w = canvas->TextWidth(s.mid(u, 1));
        canvas->Painter()->fillRect(
            QRect(x0, baseline + std::max(1, fm.underlinePos()), w, std::max(1, fm.lineWidth())),
            ColorToQColor(canvas->Font()->Color()));
    }
}

} // namespace

int DrawTextEx(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags, int tabLength, int leftMargin,
    int rightMargin, QString* shown)
{
    if (shown)
        shown->clear();
    if (!canvas)
        return 0;
    const TCanvas::TLineMetrics& lm = canvas->LineMetrics();
    const int lineHeight = lm.Ascent + lm.Descent + ((flags & DT_EXTERNALLEADING) ? std::max(0, lm.Leading) : 0);
    const bool single = flags & DT_SINGLELINE;
    const bool calc = flags & DT_CALCRECT;

    if (text.isEmpty()) {
        if (calc) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top + (single ? lineHeight : 0);
        }
        return single ? lineHeight : 0;
    }

    TLayout lay { canvas, flags, 0 };
    // Tab stops matter only to texts with tabs.
    if ((flags & DT_EXPANDTABS) && text.contains(QLatin1Char('\t')))
        lay.TabWidth
            = std::max(1, (tabLength > 0 ? tabLength : 8) * std::max(1, canvas->FontMetrics().averageCharWidth()));

    const int left = rect.Left + leftMargin;
    const int maxWidth = rect.Right - rightMargin - left;

    // Paragraphs, then lines.
    QString src = text;
    // Most texts hold no tabs or line breaks to replace.
    const bool breaks = src.contains(QLatin1Char('\r')) || src.contains(QLatin1Char('\n'));
    if (!lay.TabWidth)
        src.replace(QLatin1Char('\t'), QLatin1Char(' '));
    std::vector<TLine> lines;
    if (single) {
        if (breaks) {
            src.replace(QLatin1String("\r\n"), QLatin1String(" "));
            src.replace(QLatin1Char('\r'), QLatin1Char(' '));
            src.replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
        lines.push_back(stripPrefix(src, flags));
    } else {
        // Drawn and clipped, the lines below the rectangle show nothing: the
        // layout stops one line past it (which tells the ellipsis the text
        // goes on), so a long text in a short cell is not wrapped whole.
        size_t maxLines = std::numeric_limits<size_t>::max();
        if (!calc && !shown && !(flags & DT_NOCLIP) && lineHeight > 0)
            maxLines = size_t(std::max(1, (rect.Height() + lineHeight - 1) / lineHeight)) + 1;
        const auto addParagraph = [&](const QString& p) {
            if (lines.size() >= maxLines)
                return;
            const TLine para = stripPrefix(p, flags);
            if (flags & DT_WORDBREAK)
                wrapParagraph(lay, para, std::max(0, maxWidth), flags & DT_EDITCONTROL, maxLines, lines);
            else
                lines.push_back(para);
        };
        if (breaks) {
            src.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            src.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            for (const QString& p : src.split(QLatin1Char('\n')))
                addParagraph(p);
        } else {
            addParagraph(src);
        }
    }
    if (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
        for (TLine& l : lines)
            fitEllipsis(lay, l, std::max(0, maxWidth), flags);
    // Wrapped text taller than the rectangle ends with "..." on its last
    // fully visible line.
    if (!calc && !single && (flags & DT_END_ELLIPSIS) && lineHeight > 0
        && int(lines.size()) * lineHeight > rect.Height()) {
        const size_t keep = size_t(std::max(1, rect.Height() / lineHeight));
        if (keep < lines.size()) {
            lines.resize(keep);
            TLine& last = lines.back();
            const QString s = last.Text;
            const qsizetype n = longestWithEllipsis(lay, s, s.size(), maxWidth);
            last = subLine(last, 0, n);
            last.Text += Ellipsis;
        }
    }

    if (shown) {
        QStringList texts;
        for (const TLine& l : lines)
            texts << l.Text;
        *shown = texts.join(QLatin1Char('\n'));
    }

    const int total = int(lines.size()) * lineHeight;
    if (calc) {
        int widest = 0;
        for (const TLine& l : lines)
            widest = std::max(widest, lay.width(l.Text));
        rect.Right = rect.Left + leftMargin + widest + rightMargin;
        rect.Bottom = rect.Top + total;
        return total;
    }

    int y = rect.Top;
    if (single && (flags & DT_VCENTER))
        y = rect.Top + (rect.Height() - lineHeight) / 2;
    else if (single && (flags & DT_BOTTOM))
        y = rect.Bottom - lineHeight;

    QPainter* p = canvas->Painter();
    if (p) {
        canvas->Changing();
        const bool rtl = flags & DT_RTLREADING;
        // An edit control does not show a partly visible last line.
        size_t shownLines = lines.size();
        if (flags & DT_EDITCONTROL)
            for (size_t i = 1; i < lines.size(); ++i)
                if (y + int(i) * lineHeight + lineHeight > rect.Bottom) {
                    shownLines = i;
                    break;
                }
        // Left-aligned lines need no measuring.
        const auto lineX = [&](size_t i) {
            if (flags & DT_CENTER)
                return left + (maxWidth - lay.width(lines[i].Text)) / 2;
            if (flags & DT_RIGHT)
                return left + maxWidth - lay.width(lines[i].Text);
            return left;
        };
        // Clipping costs the painter a clip of its own: lines that lie
        // inside the rectangle need none.
        bool clip = !(flags & DT_NOCLIP);
        if (clip && !rtl && !lay.TabWidth) {
            clip = false;
            for (size_t i = 0; i < shownLines && !clip; ++i)
                clip = !lines[i].Underlined.empty()
                    || !TextLineInside(*canvas, rect, lineX(i), y + int(i) * lineHeight, lines[i].Text);
        }
        if (clip) {
            p->save();
            const TRect r = canvas->Oriented(rect);
            p->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
        }
        for (size_t i = 0; i < shownLines; ++i)
            drawLineOriented(canvas, lay, lineX(i), y + int(i) * lineHeight, lines[i], rtl);
        if (clip)
            p->restore();
        canvas->Changed();
    }
    if (single && (flags & (DT_VCENTER | DT_BOTTOM)))
        return y + lineHeight - rect.Top;
    return total;
}

int DrawText(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags)
{
    return DrawTextEx(canvas, text, rect, flags);
}
