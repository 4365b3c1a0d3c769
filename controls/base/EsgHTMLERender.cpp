// The mark-up renderer. Every line is laid out twice: a measuring pass that
// takes the line's share of the text and its size, then (unless measuring
// only) a painting pass over that share in the aligned line box, which paints
// or, for hit tests, measures again.
#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtilLocale.h"
#include "controls/base/ExXPVS.h"
#include "controls/base/PictureContainer.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/SystemIcons.h"
#include "platform/graphics/ThemePainter.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <numbers>
#include <vector>

using exutil::UpperKeepLength;

namespace {

TColor gHighlightBack = TColor(0xFF00000D);
TColor gHighlightText = TColor(0xFF00000E);
const bool gWinXP = DetectWinXP();

constexpr int MaxFontSize = 1000;
constexpr int MaxObjectSize = 32767;

// Leading digits (after an optional sign), saturating; 0 without digits.
int LenientInt(QStringView s, bool* valid = nullptr)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        negative = s[i++] == QLatin1Char('-');
    qint64 n = 0;
    const qsizetype first = i;
    for (; i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'); ++i)
        n = std::min<qint64>(n * 10 + (s[i].unicode() - '0'), INT_MAX);
    if (valid)
        *valid = i > first && i == s.size();
    return int(negative ? -n : n);
}

// The text between the first two double quotes after Name in the upper-cased
// tag; taken from Tag itself, so names and paths keep their case.
QString Attr(const QString& Tag, const QString& Upper, QLatin1String Name, bool* present = nullptr)
{
    const qsizetype p = Upper.indexOf(Name);
    if (present)
        *present = p >= 0;
    if (p < 0)
        return QString();
    const qsizetype q1 = Upper.indexOf(QLatin1Char('"'), p + Name.size());
    if (q1 < 0)
        return QString();
    const qsizetype q2 = Upper.indexOf(QLatin1Char('"'), q1 + 1);
    if (q2 < 0)
        return QString();
    return Tag.mid(q1 + 1, q2 - q1 - 1);
}

TColor ColorValue(const QString& Value)
{
    if (Value.contains(QLatin1Char('#')))
        return HTMLColorFromHex(Value.mid(Value.indexOf(QLatin1Char('#'))));
    return HTMLColorFromName(Value.toLower());
}

// The entity pre-pass: one scan, left to right, so a decoded text is never
// decoded again ("&amp;quot;" stays "&quot;" on screen).
QString DecodeLayoutEntities(const QString& s)
{
    if (!s.contains(QLatin1Char('&')))
        return s;
    struct Entity {
        QLatin1String Name;
        const char16_t* Text;
    };
    static const Entity kEntities[] = {
        { QLatin1String("&amp;"), u"&&" },
        { QLatin1String("&quot;"), u"\"" },
        { QLatin1String("&sect;"), u"\u00A7" },
        { QLatin1String("&permil;"), u"\u2030" },
        { QLatin1String("&reg;"), u"\u00AE" },
        { QLatin1String("&copy;"), u"\u00A9" },
        { QLatin1String("&para;"), u"\u00B6" },
        { QLatin1String("&trade;"), u"\u2122" },
        { QLatin1String("&euro;"), u"\u20AC" },
    };
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size();) {
        bool done = false;
        if (s[i] == QLatin1Char('&'))
            for (const Entity& e : kEntities)
                if (QStringView(s).mid(i, e.Name.size()).compare(e.Name, Qt::CaseInsensitive) == 0) {
                    out += QString::fromUtf16(e.Text);
                    i += e.Name.size();
                    done = true;
                    break;
                }
        if (!done)
            out += s[i++];
    }
    return out;
}

QString PrepareText(const QString& Text)
{
    const QString s = DecodeLayoutEntities(Text);
    if (!s.contains(QLatin1String("<#")) && !s.contains(QLatin1Char('\r')) && !s.contains(QLatin1Char('\n')))
        return s; // nothing to rewrite
    // "<#…>" placeholders show as text starting with "#": each loses its
    // "<" and the first ">" after it, in one pass over the text.
    QString out;
    out.reserve(s.size());
    qsizetype closes = 0; // ">" still to drop
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('<') && i + 1 < s.size() && s[i + 1] == QLatin1Char('#')) {
            ++closes;
        } else if (c == QLatin1Char('>') && closes > 0) {
            --closes;
        } else if (c == QLatin1Char('\r')) {
            out += QLatin1String("<BR>");
        } else if (c != QLatin1Char('\n')) {
            out += c;
        }
    }
    return out;
}

// The next occurrence of one character in a text at or after a position,
// for a pass that only moves forwards: a text without it is searched once,
// not once per word.
struct TCharScan {
    QChar Char;
    qsizetype At = -2; // -2: not searched yet; -1: none from From on
    qsizetype From = 0;
    qsizetype Next(const QString& Text, qsizetype Pos)
    {
        if (At == -2 || Pos < From || (At >= 0 && At < Pos)) {
            From = Pos;
            At = Text.indexOf(Char, Pos);
        }
        return At;
    }
};
struct TRunScan {
    TCharScan Tag { QLatin1Char('<') }, Blank { QLatin1Char(' ') };
};

QString RunEntities(QString run)
{
    if (run.contains(QLatin1Char('&'))) {
        run.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
        run.replace(QLatin1String("&lt;"), QLatin1String("<"));
        run.replace(QLatin1String("&gt;"), QLatin1String(">"));
    }
    return run;
}

TColor BrushOrNone(const TCanvas* c)
{
    return c->Brush()->IsClear() ? clNone : c->Brush()->Color();
}

void SetBrushOrClear(TCanvas* c, TColor color)
{
    if (color == clNone) {
        c->Brush()->SetStyle(TBrushStyle::bsClear);
    } else {
        c->Brush()->SetColor(color);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

// One line's variables, shared by its two passes.
struct TLineVars {
    int Height = 0; // hy
    int SupRoom = 0, SubRoom = 0;
    int Raise = 0; // text raise from an IMG ALIGN
    int Width = 0; // relative x reached
};

class TRenderer {
public:
    TRenderer(const THTMLDrawInput& In, THTMLDrawOutput& Out)
        : In(In)
        , Out(Out)
        , C(In.Canvas)
    {
    }
    bool Run();

private:
    enum class TPass { Measure, Paint };
    // Lays out one line from Text at Pos; returns the consumed text in LineText.
    void Layout(const QString& Text, TRunScan& Scan, qsizetype& Pos, const TRect& R, TPass Pass, bool Painting,
        TLineVars& V, QString* LineText);
    void Tag(const QString& TagText, const TRect& R, bool Measuring, bool Painting, TLineVars& V, int& PenX,
        bool& LineEnd, bool& Keep, bool& LiSeen);
    void Link(
        bool Open, const QString& Tag, const QString& Upper, const TRect& R, bool Painting, TLineVars& V, int PenX);
    void Image(
        const QString& Tag, const QString& Upper, const TRect& R, bool Painting, TLineVars& V, int& PenX, bool& Keep);
    void Control(const QString& Tag, const TRect& R, bool Painting, TLineVars& V, int& PenX, bool& Keep);
    // By container name or by address (through the cache).
    THTMLPicture* FindPicture(const QString& Src);
    bool FitObject(const TRect& R, TLineVars& V, int& PenX, int W, int H);
    // A run of blanks over no background and under no line paints nothing.
    bool ShowsNothing(const QString& Run, const TRect& Box) const;
    void DrawRun(const QString& Run, TRect Box, bool Shadow);
    // Text in a turned font (R) takes the upright box its turned text cell
    // covers, in the line's width and height alike, so it is drawn whole.
    struct TTurn {
        int Advance = 0; // the straight text's width
        double MinX = 0, MaxY = 0; // of the turned cell's corners, around the point it turns about
        int W = 0, H = 0; // the box the turned cell covers
    };
    bool Turned() const { return C->Font()->Orientation() % 3600 != 0; }
    TTurn TurnOf(const QString& Run) const;
    void DrawTurnedRun(const QString& Run, int Left, int Bottom, bool Shadow);
    int RunWidth(const QString& Run, const TRect& From, bool Measure)
    {
        if (!Measure && NextRun < RunWidths.size())
            return RunWidths[NextRun++];
        if (Turned())
            return TurnOf(Run).W;
        TRect calc = From;
        DrawText(C, Run, calc, Format | DT_CALCRECT);
        return calc.Width();
    }
    int ScaleX(int v) const { return MulDiv(v, DpiX, 96); }
    // The canvas' text height: the same for every text in one font, read
    // from the line measures the canvas keeps with its font.
    int LineTextHeight() const
    {
        const TCanvas::TLineMetrics& lm = C->LineMetrics();
        return lm.Ascent + lm.Descent;
    }
    // Selecting an equal font would still rebuild the canvas' Qt font.
    void UseFont(const TFont& f)
    {
        if (!C->Font()->SameAs(f))
            C->SetFont(&f);
    }
    int ScaleY(int v) const { return MulDiv(v, DpiY, 96); }
    // The line is laid out from its left; right to left every box of it is
    // drawn mirrored within the line, so the line's first item ends at its
    // right edge and each next one ends where the one before began.
    TRect Placed(const TRect& Line, const TRect& Box) const
    {
        if (!Rtl)
            return Box;
        const int m = Line.Left + Line.Right;
        return TRect(m - Box.Right, Box.Top, m - Box.Left, Box.Bottom);
    }
    int PlacedX(const TRect& Line, int X, int W) const { return Rtl ? Line.Left + Line.Right - X - W : X; }
    // How far the hit point's pixel lies into the line along its flow.
    int FlowX(const TRect& Line) const { return Rtl ? Line.Right - 1 - In.XPos : In.XPos - Line.Left; }

    const THTMLDrawInput& In;
    THTMLDrawOutput& Out;
    TCanvas* C;
    unsigned Format = 0;
    int GH = 0; // height of "gh" at the line's start
    int DpiX = 96, DpiY = 96;
    bool Rtl = false;
    bool ThemesActive = false;
    TFont BaseFont, MeasureFont, PaintFont;
    TColor EntryBrush = clNone;

    // Call state.
    bool InLink = false, ErrorMark = false, Sup = false, Sub = false, Shadow = false, Hidden = false;
    bool ParaBack = false, PendingHover = false;
    QString LinkValue, LinkTitle;
    int PicCount = 0, ListLevel = 0, Align = 0, Indent = 0;
    TColor SavedFontBack = clNone, SavedParaBrush = clNone, SavedHoverBrush = clNone, SavedHiFont = clNone,
           SavedHiBrush = clNone, SavedHoverFont = clNone;
    int CtrlHeight = 25;
    TRect FocusRect;
    bool FocusOpen = false;
    int PicUnderPoint = -1;
    std::vector<int> TurnStack; // font orientations before each open R
    // Per link.
    int LinkNumber = 0;
    bool LinkStyled = false;
    int LinkStartW = 0, LinkStartTop = 0;
    // Per pass.
    bool FirstPass = true; // the measuring pass, the only one feeding the plain text
    // Widths of the line's runs as the measuring pass placed them; the second
    // pass meets the same runs in the same fonts, in the same order.
    std::vector<int> RunWidths;
    size_t NextRun = 0;
    bool OverLinkText = false, Hit = false;
};

bool TRenderer::Run()
{
    const TColor penColor = C->Pen()->Color();
    const int penWidth = C->Pen()->Width();
    EntryBrush = BrushOrNone(C);
    BaseFont.Assign(C->Font());
    MeasureFont.Assign(C->Font());
    PaintFont.Assign(C->Font());
    SetBrushOrClear(C, clNone);
    DpiX = C->PixelsPerInchX();
    DpiY = C->PixelsPerInchY();
    ThemesActive = gWinXP && ThemeLibrary().IsThemeActive && ThemeLibrary().IsThemeActive();

    Out.ControlRect = TRect();
    Out.ControlValue.clear();
    Out.ControlType.clear();
    if (!In.CheckHotSpot)
        Out.ControlID.clear();
    Out.XSize = Out.YSize = Out.HyperLinks = 0;
    Out.StripVal.clear();
    Out.FocusAnchor.clear();
    Out.AnchorHint.clear();
    Out.MouseLink = -1;
    C->SetBkMode(TRANSPARENT);

    Format = DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_EXTERNALLEADING;
    // The caller's reading order decides, as it does for the controls' own
    // texts: a right-to-left control is right to left whatever the locale.
    if (In.BiDiMode == 1) {
        if (Format & DT_RIGHT)
            Format &= ~DT_RIGHT;
        else if (!(Format & DT_CENTER))
            Format |= DT_RIGHT;
    }
    if (In.BiDiMode != 0)
        Format |= DT_RTLREADING;
    Rtl = Format & DT_RTLREADING;
    if (!In.WordWrap)
        Format |= DT_END_ELLIPSIS;

    const QString text = PrepareText(In.Text);
    TRunScan scan;
    qsizetype pos = 0;
    TRect line = In.Rect;
    line.Left += 1;
    bool result = false;
    while (pos < text.size()) {
        UseFont(MeasureFont);
        const bool linkAtStart = InLink;
        const QString valueAtStart = LinkValue, titleAtStart = LinkTitle;
        const int linksAtStart = Out.HyperLinks, levelAtStart = ListLevel, picsAtStart = PicCount;
        Sup = Sub = false;
        TLineVars v;
        GH = LineTextHeight();
        v.Height = GH;

        QString lineText;
        const qsizetype before = pos;
        TRect r = line;
        r.Bottom = In.Rect.Bottom;
        Layout(text, scan, pos, r, TPass::Measure, false, v, &lineText);
        MeasureFont.Assign(C->Font());
        InLink = linkAtStart;
        LinkValue = valueAtStart;
        LinkTitle = titleAtStart;
        if (pos == before)
            break; // nothing consumed: no text may hang the layout

        TRect box = line;
        if (Align == 1 && box.Right - v.Width > box.Left)
            box.Left = box.Right - v.Width;
        else if (Align == 2 && box.Right - box.Left - v.Width > 0)
            box.Left += (box.Right - box.Left - v.Width) / 2;
        box.Left += Indent;
        if (Rtl) {
            // The line starts at the box's right: right to left alignment and
            // indent are mirrored; read right to left only, the aligned line
            // keeps its place.
            if (In.BiDiMode == 1) {
                box.Right -= box.Left - line.Left;
                box.Left = line.Left;
            } else if (box.Left + v.Width < box.Right) {
                box.Right = box.Left + v.Width;
            }
        }
        box.Bottom = box.Top + v.Height + v.SupRoom + v.SubRoom;

        if (!In.CheckHeight) {
            Out.HyperLinks = linksAtStart;
            ListLevel = levelAtStart;
            PicCount = picsAtStart;
            UseFont(PaintFont);
            qsizetype linePos = 0;
            TLineVars pv = v;
            TRunScan lineScan;
            Layout(lineText, lineScan, linePos, box, TPass::Paint, !In.CheckHotSpot, pv, nullptr);
            const int textBottom = box.Bottom - pv.Raise;
            if ((OverLinkText && In.YPos > textBottom - GH && In.YPos < textBottom) || Hit)
                result = true;
            PaintFont.Assign(C->Font());
        }
        const int step = v.Height + v.SupRoom + v.SubRoom;
        line.Top += step;
        Out.YSize += step;
        if (!In.CheckHeight && line.Top + GH > In.Rect.Bottom)
            break;
    }
    if (Out.YSize == 0) {
        UseFont(BaseFont);
        Out.YSize = LineTextHeight();
    }
    C->Pen()->SetColor(penColor);
    C->Pen()->SetWidth(penWidth);
    SetBrushOrClear(C, EntryBrush);
    UseFont(BaseFont);
    return In.CheckHeight ? false : result;
}

bool TRenderer::ShowsNothing(const QString& Run, const TRect& Box) const
{
    if (C->Font()->Style() & (TFontStyle::fsUnderline | TFontStyle::fsStrikeOut) || C->BkMode() != TRANSPARENT)
        return false;
    for (const QChar c : Run)
        if (c != QLatin1Char(' '))
            return false;
    // Blanks that do not fit would end in an ellipsis.
    return C->TextWidth(Run) <= Box.Width();
}

void TRenderer::DrawRun(const QString& Run, TRect Box, bool WithShadow)
{
    // A run placed past the end of a full line (no wrapping) has no room:
    // clipped to its box it would show nothing.
    if (Box.Width() <= 0 || ShowsNothing(Run, Box))
        return;
    auto draw = [&](TRect r) { DrawText(C, Run, r, Format); };
    if (WithShadow) {
        const TColor color = C->Font()->Color();
        C->Font()->SetColor(In.ShadowColor);
        TRect s = Box;
        OffsetRect(s, In.ShadowOffset, In.ShadowOffset);
        draw(s);
        C->Font()->SetColor(color);
    }
    draw(Box);
}

TRenderer::TTurn TRenderer::TurnOf(const QString& Run) const
{
    TTurn t;
    t.Advance = C->TextWidth(Run);
    const TCanvas::TLineMetrics& lm = C->LineMetrics();
    const double w = t.Advance, h = lm.Ascent + lm.Descent;
    // The canvas turns the text cell counter-clockwise about its top-left.
    const double a = C->Font()->Orientation() / 10.0 * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double xs[] = { 0, w * c, h * s, w * c + h * s };
    const double ys[] = { 0, -w * s, h * c, -w * s + h * c };
    const auto [minX, maxX] = std::minmax_element(std::begin(xs), std::end(xs));
    const auto [minY, maxY] = std::minmax_element(std::begin(ys), std::end(ys));
    t.MinX = *minX;
    t.MaxY = *maxY;
    t.W = int(std::ceil(*maxX - *minX));
    t.H = int(std::ceil(*maxY - *minY));
    return t;
}

// The turned box's left edge at Left and its bottom at the line's text
// bottom; nothing of it leaves the layout rectangle.
void TRenderer::DrawTurnedRun(const QString& Run, int Left, int Bottom, bool WithShadow)
{
    const TTurn t = TurnOf(Run);
    const int x = Left + int(std::lround(-t.MinX)), y = Bottom - int(std::lround(t.MaxY));
    const unsigned flags = DT_SINGLELINE | DT_TOP | DT_LEFT | DT_NOCLIP | (Format & (DT_EXPANDTABS | DT_RTLREADING));
    const TCanvas::TLineMetrics& lm = C->LineMetrics();
    const int saved = C->SaveDC();
    C->IntersectClipRect(In.Rect);
    auto draw = [&](int dx) {
        TRect r(x + dx, y + dx, x + dx + t.Advance, y + dx + lm.Ascent + lm.Descent);
        DrawText(C, Run, r, flags);
    };
    if (WithShadow) {
        const TColor color = C->Font()->Color();
        C->Font()->SetColor(In.ShadowColor);
        draw(In.ShadowOffset);
        C->Font()->SetColor(color);
    }
    draw(0);
    C->RestoreDC(saved);
}

void TRenderer::Layout(const QString& Text, TRunScan& Scan, qsizetype& Pos, const TRect& R, TPass Pass, bool Painting,
    TLineVars& V, QString* LineText)
{
    const bool measuring = Pass == TPass::Measure || !Painting;
    const bool firstPass = Pass == TPass::Measure;
    FirstPass = firstPass;
    if (firstPass)
        RunWidths.clear();
    NextRun = 0;
    int penX = R.Left;
    V.Width = 0;
    OverLinkText = Hit = false;
    bool lineEnd = false, keep = false, liSeen = false;
    int trailingBlank = 0;
    int runsPlaced = 0;
    // Whether the line holds text or tags so far, and whether it ends in a blank.
    bool placedAny = false, placedBlank = false;
    // A focused link running on from the line before is framed from this
    // line's own start, which alignment may have moved.
    if (Painting && FocusOpen)
        FocusRect.Left = R.Left + 1;
    if (Painting && ParaBack) {
        C->Pen()->SetColor(C->Brush()->Color());
        C->FillRect(Rect(In.Rect.Left, R.Top, In.Rect.Right, R.Top + V.Height));
    }
    while (Pos < Text.size() && !lineEnd && !keep) {
        // a. The next run.
        const qsizetype lt = Scan.Tag.Next(Text, Pos);
        qsizetype end = lt < 0 ? Text.size() : lt;
        if (In.WordWrap) {
            const qsizetype blank = Scan.Blank.Next(Text, Pos);
            if (blank >= 0 && blank < end)
                end = blank + 1;
        }
        if (end > Pos) {
            const QString raw = Text.mid(Pos, end - Pos);
            const QString run = RunEntities(raw);
            const bool turned = Turned();
            const int th = turned ? TurnOf(run).H : LineTextHeight();
            if (Sup)
                V.SupRoom = std::max(V.SupRoom, th / 4);
            if (Sub)
                V.SubRoom = std::max(V.SubRoom, th / 4);
            V.Height = std::max(V.Height, th);
            if (firstPass)
                Out.StripVal += run;
            if (Hidden && firstPass) {
                Pos = end; // counted for the height only; the painting pass never sees it
                continue;
            }
            int rw = 0;
            if (measuring) {
                rw = RunWidth(run, R, firstPass);
                const int before = V.Width;
                V.Width += rw;
                if (InLink) {
                    const int px = FlowX(R);
                    if (px >= before && px < V.Width) {
                        OverLinkText = true;
                        if (In.YPos > R.Top) {
                            Out.Anchor = LinkValue;
                            Out.AnchorHint = LinkTitle;
                            PendingHover = true;
                        }
                    }
                }
            } else {
                TRect box
                    = Rtl ? TRect(R.Left, R.Top, PlacedX(R, penX, 0), R.Bottom) : TRect(penX, R.Top, R.Right, R.Bottom);
                if (Sup)
                    box.Bottom -= V.SupRoom;
                if (Sub)
                    box.Bottom += V.SubRoom;
                box.Bottom -= V.Raise;
                if (turned) {
                    rw = RunWidth(run, box, false);
                    DrawTurnedRun(run, Rtl ? box.Right - rw : box.Left, box.Bottom, Shadow);
                } else {
                    const unsigned keptFormat = Format;
                    if (Rtl)
                        Format = (Format & ~DT_CENTER) | DT_RIGHT; // each run ends where the one before began
                    DrawRun(run, box, Shadow);
                    Format = keptFormat;
                    rw = RunWidth(run, box, false);
                }
                if (Rtl)
                    box.Left = box.Right - rw;
                V.Width += rw;
                if (InLink && FocusOpen)
                    Out.FocusAnchor = LinkValue;
                if (ErrorMark) {
                    C->Pen()->SetColor(TColor(0x0000FF));
                    C->Pen()->SetWidth(1);
                    int x = box.Left & ~1;
                    const int right = box.Left + rw;
                    bool low = x % 4 == 0;
                    C->MoveTo(x, R.Bottom + (low ? 1 : -1));
                    while (x < right) {
                        x += 2;
                        low = !low;
                        C->LineTo(x, R.Bottom + (low ? 1 : -1));
                    }
                }
            }
            penX += rw;
            // 7. Fit and break.
            bool fits = V.Width < R.Width() || R.Width() <= rw;
            if (!fits && placedAny && !placedBlank)
                fits = true;
            if (fits || !In.WordWrap) {
                Pos = end;
                if (firstPass)
                    RunWidths.push_back(rw);
                placedAny = true;
                placedBlank = raw.endsWith(QLatin1Char(' '));
                if (LineText)
                    *LineText += raw;
                if (!In.WordWrap && firstPass && !fits && runsPlaced > 0)
                    Pos = Text.size(); // the rest ends in the ellipsis
                trailingBlank = run.size() == raw.size() && run.endsWith(QLatin1Char(' '))
                    ? C->TextWidth(QStringLiteral(" "))
                    : 0;
                ++runsPlaced;
            } else {
                lineEnd = true;
                V.Width -= rw;
            }
            continue;
        }
        // d. A tag.
        if (Text.size() - Pos <= 2) {
            Pos = Text.size();
            break;
        }
        const qsizetype gt = Text.indexOf(QLatin1Char('>'), Pos);
        const QString tag = gt < 0 ? Text.mid(Pos) : Text.mid(Pos, gt - Pos + 1);
        Tag(tag, R, measuring, Painting, V, penX, lineEnd, keep, liSeen);
        if (keep)
            break;
        if (gt < 0) {
            Pos = Text.size();
            break;
        }
        placedAny = true;
        placedBlank = tag.endsWith(QLatin1Char(' '));
        if (LineText)
            *LineText += tag;
        Pos = gt + 1;
    }
    V.Width -= trailingBlank;
    Out.XSize = std::max(Out.XSize, V.Width);
    if (Painting && FocusOpen) {
        FocusRect.Right = penX;
        FocusRect.Bottom = R.Bottom - V.Raise;
        FocusRect.Top = std::min(FocusRect.Top, FocusRect.Bottom - GH);
        TRect f = Placed(R, FocusRect);
        InflateRect(f, 1, 0);
        C->DrawFocusRect(f);
        FocusRect.Top = FocusRect.Bottom;
    }
}

void TRenderer::Link(
    bool Open, const QString& Tag, const QString& Upper, const TRect& R, bool Painting, TLineVars& V, int PenX)
{
    if (Open) {
        if (Painting && In.FocusLink == Out.HyperLinks) {
            FocusOpen = true;
            FocusRect = Rect(PenX, R.Top, PenX, R.Top);
        }
        LinkNumber = ++Out.HyperLinks;
        LinkStyled = !In.HoverStyle || In.HoverLink == LinkNumber;
        if (LinkStyled && Painting) {
            C->Font()->SetStyle(C->Font()->Style() | TFontStyle::fsUnderline);
            if (In.HoverColor != clNone) {
                SavedHoverBrush = BrushOrNone(C);
                SetBrushOrClear(C, In.HoverColor);
            }
            if (In.HoverFontColor != clNone) {
                SavedHoverFont = C->Font()->Color();
                C->Font()->SetColor(In.HoverFontColor);
            }
        }
        if (!In.Selected && !(LinkStyled && In.HoverStyle && In.HoverFontColor != clNone))
            C->Font()->SetColor(In.URLColor);
        bool hasHref = false;
        const QString href = Attr(Tag, Upper, QLatin1String("HREF"), &hasHref);
        if (hasHref && !href.isEmpty()) {
            LinkValue = href;
            InLink = true;
        }
        bool hasTitle = false;
        const QString title = Attr(Tag, Upper, QLatin1String("TITLE"), &hasTitle);
        if (hasTitle)
            LinkTitle = title;
        LinkStartW = V.Width;
        LinkStartTop = R.Top;
        return;
    }
    if (LinkStyled && Painting) {
        C->Font()->SetStyle(C->Font()->Style() & ~TFontStyles(TFontStyle::fsUnderline));
        if (In.HoverColor != clNone)
            SetBrushOrClear(C, SavedHoverBrush);
        if (In.HoverFontColor != clNone)
            C->Font()->SetColor(SavedHoverFont);
    }
    if (!In.Selected)
        C->Font()->SetColor(BaseFont.Color());
    InLink = false;
    if (PendingHover) {
        TRect hover = Rect(R.Left + LinkStartW, LinkStartTop, R.Left + V.Width, R.Bottom);
        if (LinkStartTop != R.Top) {
            hover.Left = R.Left;
            hover.Top = R.Top;
        }
        Out.HoverRect = Placed(R, hover);
        Out.MouseLink = LinkNumber;
        PendingHover = false;
    }
    // Only the painting pass closes the frame: the measuring pass of the
    // link's last line meets this tag first.
    if (Painting && FocusOpen && Out.HyperLinks == In.FocusLink + 1) {
        FocusOpen = false;
        FocusRect.Right = PenX;
        FocusRect.Bottom = R.Bottom - V.Raise;
        FocusRect.Top = FocusRect.Bottom - GH;
        InflateRect(FocusRect, 1, 0);
        C->DrawFocusRect(Placed(R, FocusRect));
    }
}

void TRenderer::Tag(const QString& TagText, const TRect& R, bool Measuring, bool Painting, TLineVars& V, int& PenX,
    bool& LineEnd, bool& Keep, bool& LiSeen)
{
    const QString upper = UpperKeepLength(TagText);
    auto at = [&](int i) { return i < upper.size() ? upper[i] : QChar(); };
    const QChar c1 = at(1), c2 = at(2), c3 = at(3);
    const bool closing = c1 == QLatin1Char('/') && upper.size() > 3;
    if (closing) {
        switch (c2.unicode()) {
        case 'A':
            Link(false, TagText, upper, R, Painting, V, PenX);
            break;
        case 'B':
            if (c3 == QLatin1Char('>'))
                C->Font()->SetStyle(C->Font()->Style() & ~TFontStyles(TFontStyle::fsBold));
            else
                C->Font()->SetColor(BaseFont.Color());
            break;
        case 'E':
            if (Painting)
                ErrorMark = false;
            break;
        case 'F':
            C->Font()->SetName(BaseFont.Name());
            C->Font()->SetSize(BaseFont.Size());
            if (Painting && !In.Selected) {
                C->Font()->SetColor(BaseFont.Color());
                SetBrushOrClear(C, SavedFontBack);
            }
            break;
        case 'H':
            if (Painting) {
                C->Font()->SetColor(SavedHiFont);
                SetBrushOrClear(C, SavedHiBrush);
            }
            break;
        case 'I':
            C->Font()->SetStyle(C->Font()->Style() & ~TFontStyles(TFontStyle::fsItalic));
            break;
        case 'L':
            LineEnd = true;
            break;
        case 'P':
            LineEnd = true;
            if (Painting) {
                SetBrushOrClear(C, SavedParaBrush);
                ParaBack = false;
            }
            break;
        case 'R':
            if (!TurnStack.empty()) {
                C->Font()->SetOrientation(TurnStack.back());
                TurnStack.pop_back();
            }
            break;
        case 'S':
            if (c3 == QLatin1Char('U'))
                Sub = Sup = false;
            else if (c3 == QLatin1Char('H'))
                Shadow = false;
            else
                C->Font()->SetStyle(C->Font()->Style() & ~TFontStyles(TFontStyle::fsStrikeOut));
            break;
        case 'U':
            if (at(3) == QLatin1Char('>') || ListLevel == 0)
                C->Font()->SetStyle(C->Font()->Style() & ~TFontStyles(TFontStyle::fsUnderline));
            else
                --ListLevel;
            break;
        case 'Z':
            Hidden = false;
            break;
        }
        return;
    }
    switch (c1.unicode()) {
    case 'A':
        Link(true, TagText, upper, R, Painting, V, PenX);
        break;
    case 'B':
        if (c2 == QLatin1Char('>')) {
            C->Font()->SetStyle(C->Font()->Style() | TFontStyle::fsBold);
        } else if (c2 == QLatin1Char('R')) {
            LineEnd = true;
            if (FirstPass)
                Out.StripVal += QLatin1Char('\r');
        } else if (c2 == QLatin1Char('L')) {
            if (!In.Blink)
                C->Font()->SetColor(EntryBrush);
        } else if (c2 == QLatin1Char('O') && Painting) {
            const QString back = Attr(TagText, upper, QLatin1String("BACKGROUND"));
            if (!back.isEmpty())
                if (THTMLPicture* pic = FindPicture(back);
                    pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
                    C->SaveDC();
                    C->IntersectClipRect(In.Rect);
                    pic->SetStretch(false);
                    for (int y = In.Rect.Top; y < In.Rect.Bottom; y += pic->Height())
                        for (int x = In.Rect.Left; x < In.Rect.Right; x += pic->Width())
                            pic->Draw(C, Bounds(x, y, pic->Width(), pic->Height()));
                    C->RestoreDC(-1);
                }
            const QString bg = Attr(TagText, upper, QLatin1String("BGCOLOR"));
            if (bg.contains(QLatin1String("CL"), Qt::CaseInsensitive) || bg.contains(QLatin1Char('#'))) {
                const TColor color = ColorValue(bg);
                SetBrushOrClear(C, color);
                SavedFontBack = color;
                C->Pen()->SetColor(color);
                C->FillRect(In.Rect);
            }
        }
        break;
    case 'C':
        Control(TagText, R, Painting, V, PenX, Keep);
        break;
    case 'E':
        if (Painting)
            ErrorMark = true;
        break;
    case 'F': {
        if (!upper.contains(QLatin1Char('>')))
            break;
        bool has = false;
        const QString face = Attr(upper, upper, QLatin1String("FACE"), &has);
        if (has)
            C->Font()->SetName(face);
        const QString color = Attr(upper, upper, QLatin1String(" COLOR"), &has);
        if (has && !In.Selected)
            C->Font()->SetColor(ColorValue(color));
        const QString bg = Attr(upper, upper, QLatin1String("BGCOLOR"), &has);
        if (has && Painting && !In.Selected) {
            SavedFontBack = BrushOrNone(C);
            SetBrushOrClear(C, ColorValue(bg));
        }
        const qsizetype size = upper.indexOf(QLatin1String("SIZE"));
        if (size >= 0) {
            const qsizetype eq = upper.indexOf(QLatin1Char('='), size);
            if (eq >= 0) {
                // Blanks may stand before the value's quote, as before any
                // other attribute's.
                QStringView rest = QStringView(upper).mid(eq + 1).trimmed();
                if (rest.startsWith(QLatin1Char('"')))
                    rest = rest.mid(1);
                int n = LenientInt(rest);
                static const int kSizes[] = { 8, 10, 12, 14, 16 };
                if (n >= 1 && n <= 5)
                    n = kSizes[n - 1];
                if (n > 0)
                    C->Font()->SetSize(std::min(n, MaxFontSize));
            }
        }
        break;
    }
    case 'H':
        if (c2 == QLatin1Char('I')) {
            if (Painting) {
                SavedHiFont = C->Font()->Color();
                SavedHiBrush = BrushOrNone(C);
                SetBrushOrClear(C, gHighlightBack);
                C->Font()->SetColor(gHighlightText);
            }
        } else if (c2 == QLatin1Char('R')) {
            LineEnd = true;
            if (Painting) {
                const TColor pen = C->Pen()->Color();
                C->Pen()->SetColor(clBlack);
                C->MoveTo(R.Left, R.Bottom + 1);
                C->LineTo(R.Right, R.Bottom + 1);
                C->Pen()->SetColor(pen);
            }
        }
        break;
    case 'I':
        if (c2 == QLatin1Char('>')) {
            C->Font()->SetStyle(C->Font()->Style() | TFontStyle::fsItalic);
        } else if (c2 == QLatin1Char('N')) {
            const qsizetype x = upper.indexOf(QLatin1Char('X'), 3);
            if (x >= 0) {
                const QString value
                    = Attr(upper, upper.left(x) + QLatin1Char('\x01') + upper.mid(x + 1), QLatin1String("\x01"));
                const int n = LenientInt(value);
                if (n > V.Width) {
                    V.Width = std::min(n, MaxObjectSize);
                    // Right to left the pen goes that far from the line's start.
                    PenX = (Rtl ? R.Left : In.Rect.Left) + V.Width;
                }
            }
        } else if (c2 == QLatin1Char('M')) {
            Image(TagText, upper, R, Painting, V, PenX, Keep);
        }
        break;
    case 'L':
        if (LiSeen) {
            LineEnd = Keep = true;
            break;
        }
        LiSeen = true;
        V.Width += 12 * ListLevel;
        PenX += 12 * ListLevel - 12;
        if (Painting) {
            const QString name = C->Font()->Name();
            C->Font()->SetName(QStringLiteral("Symbol"));
            const TColor brush = BrushOrNone(C);
            SetBrushOrClear(C, clNone);
            const QString bullet = ListLevel % 2 ? QStringLiteral("\u00B7") : QStringLiteral("o");
            C->TextOut(PlacedX(R, PenX, Rtl ? C->TextWidth(bullet) : 0), R.Top, bullet);
            SetBrushOrClear(C, brush);
            C->Font()->SetName(name);
        }
        PenX += 12;
        break;
    case 'P': {
        if (!upper.contains(QLatin1Char('>')))
            break;
        bool has = false;
        const QString align = Attr(upper, upper, QLatin1String("ALIGN"), &has);
        if (align.contains(QLatin1String("RIGHT")))
            Align = 1;
        else if (align.contains(QLatin1String("LEFT")))
            Align = 0;
        else if (align.contains(QLatin1String("CENTER")))
            Align = 2;
        const QString indent = Attr(upper, upper, QLatin1String("INDENT"), &has);
        if (has)
            Indent = std::clamp(LenientInt(indent), -MaxObjectSize, MaxObjectSize);
        const QString bg = Attr(upper, upper, QLatin1String("BGCOLOR"), &has);
        if (has && Painting) {
            const TColor color = bg.isEmpty() ? clNone : ColorValue(bg);
            ParaBack = true;
            SavedParaBrush = BrushOrNone(C);
            SetBrushOrClear(C, color);
            if (color != clNone) {
                C->Pen()->SetColor(color);
                C->FillRect(Rect(In.Rect.Left, R.Top, In.Rect.Right, R.Bottom));
            }
        }
        break;
    }
    case 'R': {
        const qsizetype a = upper.indexOf(QLatin1Char('A'), 2);
        if (a < 0)
            break;
        const QString value
            = Attr(upper, upper.left(a) + QLatin1Char('\x01') + upper.mid(a + 1), QLatin1String("\x01"));
        TurnStack.push_back(C->Font()->Orientation());
        C->Font()->SetOrientation(int(std::clamp<qint64>(qint64(LenientInt(value)) * 10, -3600, 3600)));
        break;
    }
    case 'S':
        if (c2 == QLatin1Char('>'))
            C->Font()->SetStyle(C->Font()->Style() | TFontStyle::fsStrikeOut);
        else if (c2 == QLatin1Char('H'))
            Shadow = true;
        else if (upper.startsWith(QLatin1String("<SUB>")))
            Sub = true;
        else if (upper.startsWith(QLatin1String("<SUP>")))
            Sup = true;
        break;
    case 'U':
        if (c2 == QLatin1Char('>')) {
            C->Font()->SetStyle(C->Font()->Style() | TFontStyle::fsUnderline);
        } else {
            ++ListLevel;
            LineEnd = true;
        }
        break;
    case 'Z':
        Hidden = true;
        break;
    }
}

bool TRenderer::FitObject(const TRect& R, TLineVars& V, int& PenX, int W, int H)
{
    if (V.Width + W > R.Width() && R.Width() > W)
        return false;
    V.Width += W;
    PenX += W;
    V.Height = std::max(V.Height, H);
    return true;
}

THTMLPicture* TRenderer::FindPicture(const QString& Src)
{
    if (Src.contains(QLatin1String("://"))) {
        if (!In.PictureCache)
            return nullptr;
        if (THTMLPicture* pic = In.PictureCache->FindPicture(Src))
            return pic;
        THTMLPicture* pic = In.PictureCache->AddPicture();
        pic->SetAsynch(false);
        pic->LoadFromURL(Src);
        return pic;
    }
    if (!Src.contains(QLatin1Char(':')) && In.PictureContainer)
        return In.PictureContainer->FindPicture(Src);
    return nullptr;
}

void TRenderer::Image(
    const QString& Tag, const QString& Upper, const TRect& R, bool Painting, TLineVars& V, int& PenX, bool& Keep)
{
    ++PicCount;
    QString src = Attr(Tag, Upper, QLatin1String("SRC"));
    bool hasAlt = false;
    const QString alt = Attr(Tag, Upper, QLatin1String("ALT"), &hasAlt);
    if (hasAlt && PicCount == PicUnderPoint)
        src = alt;
    const int givenW = std::clamp(LenientInt(Attr(Upper, Upper, QLatin1String("WIDTH"))), 0, MaxObjectSize);
    const int givenH = std::clamp(LenientInt(Attr(Upper, Upper, QLatin1String("HEIGHT"))), 0, MaxObjectSize);
    const QString usrc = UpperKeepLength(src);
    int objW = 0, objH = 0;
    const int top = R.Top;
    if (usrc.startsWith(QLatin1String("IDX:"))) {
        const int idx = LenientInt(QStringView(src).mid(4));
        if (In.Images && idx >= 0 && idx < In.Images->Count()) {
            objW = ScaleX(In.Images->Width());
            objH = ScaleY(In.Images->Height());
            if (Painting) {
                if (In.Print) {
                    TBitmap bmp;
                    In.Images->GetBitmap(idx, &bmp);
                    const int w = int(std::lround(In.Images->Width() * In.ResFactor));
                    C->StretchDraw(
                        Bounds(PlacedX(R, PenX, w), top, w, int(std::lround(In.Images->Height() * In.ResFactor))),
                        bmp.ToImage());
                } else {
                    In.Images->Draw(C, PlacedX(R, PenX, In.Images->Width()), top, idx, true);
                }
            }
        }
    } else if (usrc.startsWith(QLatin1String("SSYS:")) || usrc.startsWith(QLatin1String("LSYS:"))) {
        const bool large = usrc.startsWith(QLatin1Char('L'));
        const QString name = src.mid(5);
        const QImage icon = systemicons::Icon(name, large);
        if (!icon.isNull()) {
            objW = ScaleX(icon.width());
            objH = ScaleY(icon.height());
            if (Painting) {
                if (In.Print) {
                    const int w = int(std::lround(icon.width() * In.ResFactor));
                    C->StretchDraw(
                        Bounds(PlacedX(R, PenX, w), top, w, int(std::lround(icon.height() * In.ResFactor))), icon);
                } else {
                    C->Draw(PlacedX(R, PenX, icon.width()), top, icon);
                }
            }
        }
    } else if (THTMLPicture* pic = FindPicture(src); pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
        int w = givenW, h = givenH;
        if (w > 0 && h <= 0)
            h = std::min(MulDiv(pic->Height(), w, pic->Width()), MaxObjectSize);
        else if (h > 0 && w <= 0)
            w = std::min(MulDiv(pic->Width(), h, pic->Height()), MaxObjectSize);
        const bool given = w > 0 && h > 0;
        objW = ScaleX(given ? w : pic->MaxWidth());
        objH = ScaleY(given ? h : pic->MaxHeight());
        if (Painting) {
            const TRect box = Bounds(PlacedX(R, PenX, objW), top, objW, objH);
            if (given) {
                pic->SetStretch(true);
                pic->Draw(C, box);
            } else {
                if (pic->FrameCount() > 1 && EntryBrush != clNone) {
                    const TColor brush = BrushOrNone(C);
                    SetBrushOrClear(C, EntryBrush);
                    C->Pen()->SetColor(EntryBrush);
                    C->FillRect(box);
                    SetBrushOrClear(C, brush);
                }
                pic->SetStretch(false);
                // The decoded frame covers the animation's whole screen, its
                // own position included.
                pic->Draw(C, box);
            }
        }
    }
    if (InLink && objW > 0) {
        const int px = FlowX(R);
        if (px > V.Width && px < V.Width + objW && In.YPos > top && In.YPos < top + objH) {
            Hit = true;
            Out.Anchor = LinkValue;
            Out.AnchorHint = LinkTitle;
            PicUnderPoint = PicCount;
        }
    }
    if (!FitObject(R, V, PenX, objW, objH)) {
        Keep = true;
        return;
    }
    if (Upper.contains(QLatin1String("\"TOP")))
        V.Raise = V.Height - GH;
    else if (Upper.contains(QLatin1String("\"MIDDLE")))
        V.Raise = (V.Height - GH) / 2;
}

void TRenderer::Control(const QString& Tag, const TRect& R, bool Painting, TLineVars& V, int& PenX, bool& Keep)
{
    QString type, id, maxLen, prop, height, width, value;
    ParseHTMLControlTag(Tag, type, id, maxLen, prop, height, width, value);
    bool valid = false;
    const int h = LenientInt(height, &valid);
    CtrlHeight = valid ? std::clamp(h, 0, MaxObjectSize) : 25;
    const int w = LenientInt(width, &valid);
    if (!valid)
        return; // no usable WIDTH: the control is ignored
    int objW = std::clamp(w, 0, MaxObjectSize);
    int objH = GH + 10;
    const bool small = type == QLatin1String("CHECK") || type == QLatin1String("RADIO");
    V.Height = small ? 16 : 23;
    if (CtrlHeight > 25)
        V.Height = CtrlHeight - 2;
    const int x = PlacedX(R, PenX, small ? 16 : objW);
    const int bottom = R.Bottom;
    const int lh = V.Height;
    const bool over = x - 2 < In.XPos && In.XPos < x + objW - 2 && bottom - objH - 2 < In.YPos && In.YPos < bottom - 2;
    if (Painting) {
        const TColor border = ThemesActive ? TColor(0xB99D7F) : TColor(0x808080);
        auto themed = [&](const char* cls, int part, int state, const TRect& r) {
            const TThemeLibrary& lib = ThemeLibrary();
            HTHEME theme = lib.OpenThemeData ? lib.OpenThemeData(In.WinHandle, QLatin1String(cls)) : nullptr;
            if (theme && lib.DrawThemeBackground)
                lib.DrawThemeBackground(theme, C, part, state, r, nullptr);
            if (theme && lib.CloseThemeData)
                lib.CloseThemeData(theme);
        };
        const TColor brush = BrushOrNone(C);
        const TColor pen = C->Pen()->Color();
        if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK")
            || type == QLatin1String("COMBO")) {
            C->Pen()->SetColor(border);
            SetBrushOrClear(C, clWhite);
            C->Rectangle(x, bottom - lh + 4, x + objW, bottom + 2);
            SetBrushOrClear(C, clNone);
            const bool combo = type == QLatin1String("COMBO");
            const QString shown = type == QLatin1String("PASSWORD") ? QString(value.size(), QLatin1Char('*')) : value;
            TRect tr = combo ? Rect(x + 4, bottom - lh + 4, x + objW - 18, bottom)
                             : Rect(x + 2, bottom - lh + 4, x + objW, bottom);
            DrawText(C, shown, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            if (combo) {
                TRect br = Rect(x + objW - 18, bottom - lh + 5, x + objW - 1, bottom + 1);
                if (ThemesActive)
                    themed("combobox", 1, over ? 2 : 1, br);
                else
                    DrawFrameControl(C, br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
            }
        } else if (small) {
            const bool radio = type == QLatin1String("RADIO");
            const bool checked = value.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
            objW = objH = 16;
            SetBrushOrClear(C, clNone);
            TRect box = radio ? Rect(x + 2, bottom - 14, x + 14, bottom) : Rect(x + 2, bottom - 15, x + 15, bottom);
            if (ThemesActive)
                themed("button", radio ? 2 : 3, checked ? 5 : 1, box);
            else
                DrawFrameControl(C, box, DFC_BUTTON,
                    (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == QLatin1String("BUTTON")) {
            objH = 24;
            TRect box = Rect(x + 2, bottom - CtrlHeight, x + objW - 2, bottom);
            const bool onIt
                = x - 2 < In.XPos && In.XPos < x + objW - 2 && bottom - objH - 2 < In.YPos && In.YPos < bottom - 2;
            if (ThemesActive)
                themed("button", 1, In.ControlDown ? 3 : onIt ? 2 : 1, box);
            else
                DrawFrameControl(C, box, DFC_BUTTON, DFCS_BUTTONPUSH | (onIt && In.ControlDown ? DFCS_PUSHED : 0));
            InflateRect(box, -2, -2);
            SetBrushOrClear(C, clNone);
            DrawText(C, value, box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
        C->Pen()->SetColor(pen);
        SetBrushOrClear(C, brush);
    }
    if (type == QLatin1String("BUTTON") || type == QLatin1String("COMBO"))
        objH = 25;
    else if (small)
        objW = objH = 16;
    const int px = FlowX(R);
    const bool inBox = px > V.Width && px < V.Width + objW && In.YPos > R.Top && In.YPos < R.Top + objH;
    if (inBox || (In.CheckHotSpot && !Out.ControlID.isEmpty() && Out.ControlID == id)) {
        Hit = true;
        Out.Anchor = QStringLiteral("ctrl");
        PicUnderPoint = PicCount;
        Out.ControlRect = Placed(R, Rect(R.Left + V.Width, R.Top, R.Left + V.Width + objW, R.Top + objH));
        Out.ControlValue = value;
        Out.ControlID = id;
        Out.ControlType = type;
    }
    if (!FitObject(R, V, PenX, objW, objH))
        Keep = true;
}

} // namespace

bool DrawHTMLText(const THTMLDrawInput& In, THTMLDrawOutput& Out)
{
    if (!In.Canvas)
        return false;
    return TRenderer(In, Out).Run();
}

void SetHTMLHighlightColors(TColor Background, TColor Text)
{
    gHighlightBack = Background;
    gHighlightText = Text;
}

bool DetectWinXP()
{
    return PlatformInfo().WinXPOrLater;
}
