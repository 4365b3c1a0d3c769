#include "platform/graphics/DrawText.h"

#include <QFontMetrics>
#include <QPainter>

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

TLine subLine(const TLine& src, qsizetype from, qsizetype count)
{
    TLine l;
    l.Text = src.Text.mid(from, count);
    for (int u : src.Underlined)
        if (u >= from && u < from + l.Text.size())
            l.Underlined.push_back(int(u - from));
    return l;
}

bool isBreakSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Splits one paragraph into lines no wider than maxWidth, breaking after
// spaces. A word wider than the line overflows, unless `breakWords` (edit
// control behaviour) breaks it between characters.
void wrapParagraph(const TLayout& lay, const TLine& para, int maxWidth, bool breakWords, std::vector<TLine>& out)
{
    const QString& s = para.Text;
    qsizetype start = 0;
    if (s.isEmpty()) {
        out.push_back(para);
        return;
    }
    while (start < s.size()) {
        qsizetype best = -1; // end (exclusive, spaces included) of the last fitting word
        qsizetype firstWordNext = -1;
        qsizetype i = start;
        while (i < s.size()) {
            qsizetype end = i;
            while (end < s.size() && !isBreakSpace(s[end]))
                ++end;
            qsizetype next = end;
            while (next < s.size() && isBreakSpace(s[next]))
                ++next;
            if (firstWordNext < 0)
                firstWordNext = next;
            if (lay.width(s.mid(start, end - start)) > maxWidth)
                break;
            best = next;
            i = next;
        }
        if (best < 0) {
            if (breakWords) {
                // at least one character per line
                qsizetype n = 1;
                while (
                    start + n < s.size() && !isBreakSpace(s[start + n]) && lay.width(s.mid(start, n + 1)) <= maxWidth)
                    ++n;
                best = start + n;
                while (best < s.size() && isBreakSpace(s[best]))
                    ++best;
            } else {
                best = firstWordNext; // the word overflows on a line of its own
            }
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
            for (qsizetype n = slash; n >= 0; --n) {
                const QString candidate = s.left(n) + Ellipsis + tail;
                if (lay.width(candidate) <= maxWidth || n == 0) {
                    if (lay.width(candidate) <= maxWidth) {
                        line = subLine(line, 0, n);
                        line.Text += Ellipsis + tail;
                        return;
                    }
                    break;
                }
            }
        }
    }
    qsizetype n = s.size();
    if (flags & DT_WORD_ELLIPSIS && !(flags & DT_END_ELLIPSIS)) {
        // whole words first
        while (n > 0) {
            qsizetype cut = s.lastIndexOf(QLatin1Char(' '), n - 1);
            if (cut <= 0)
                break;
            n = cut;
            if (lay.width(s.left(n) + Ellipsis) <= maxWidth) {
                line = subLine(line, 0, n);
                line.Text += Ellipsis;
                return;
            }
        }
        n = s.size();
    }
    n = longestWithEllipsis(lay, s, n, maxWidth);
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
        const auto addParagraph = [&](const QString& p) {
            const TLine para = stripPrefix(p, flags);
            if (flags & DT_WORDBREAK)
                wrapParagraph(lay, para, std::max(0, maxWidth), flags & DT_EDITCONTROL, lines);
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
        if (clip && !rtl && !lay.TabWidth && !canvas->DrawingOrientation().RightToLeft
            && canvas->Font()->Orientation() == 0
            && !(canvas->Font()->Style() & (TFontStyle::fsUnderline | TFontStyle::fsStrikeOut))) {
            clip = false;
            for (size_t i = 0; i < shownLines && !clip; ++i) {
                const TLine& l = lines[i];
                if (!l.Underlined.empty()) {
                    clip = true;
                    break;
                }
                TRect b = canvas->TextBounds(l.Text);
                OffsetRect(b, lineX(i), y + int(i) * lineHeight);
                clip = !b.IsEmpty()
                    && (b.Left < rect.Left || b.Top < rect.Top || b.Right > rect.Right || b.Bottom > rect.Bottom);
            }
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
