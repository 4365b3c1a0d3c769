// Colour arithmetic, gradients, the selection box, cell buttons and the
// layered-window calls.
#include "controls/base/ExUtilDraw.h"

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ThemePainter.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

TColor MapComponents(TColor Color, int (*fn)(int, int), int arg)
{
    const TColor c = ColorToRGB(Color);
    return RGB(fn(GetRValue(c), arg), fn(GetGValue(c), arg), fn(GetBValue(c), arg));
}

void SetPenAndBrush(TCanvas* Canvas, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
}

void Line(TCanvas* Canvas, int x1, int y1, int x2, int y2)
{
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
}

const TColorTone& ToneOf(const TColorTones& Tones, int State)
{
    switch (State) {
    case 1:
        return Tones.Hover;
    case 2:
        return Tones.Selected;
    case 3:
        return Tones.Disabled;
    default:
        return Tones.Background;
    }
}

unsigned FrameState(int State, int Kind)
{
    unsigned s = 0;
    if (Kind == 2)
        s |= DFCS_FLAT;
    if (State == 3)
        s |= DFCS_INACTIVE;
    return s;
}

// Opens the theme class for the window, draws one part and closes it again.
void DrawThemedPart(TCanvas* Canvas, HWND Wnd, const char* ClassName, int Part, int StateId, const TRect& R)
{
    HTHEME theme = OpenThemeData(reinterpret_cast<const void*>(Wnd), QString::fromLatin1(ClassName));
    if (!theme)
        return;
    DrawThemeBackground(theme, Canvas, Part, StateId, R, nullptr);
    CloseThemeData(theme);
}

} // namespace

// ---------------------------------------------------------------------------
// Colours

TColor HalveColor(TColor Color)
{
    return MapComponents(
        Color, [](int c, int) { return c / 2; }, 0);
}

TColor AdjustColorPercent(TColor Color, int Percent)
{
    return MapComponents(
        Color, [](int c, int p) { return int(Round(c + c * double(p) / 100.0)) & 0xFF; }, Percent);
}

TColor InterpolateColor(TColor Color1, TColor Color2, int RangeStart, int Position, int RangeEnd)
{
    // An empty range has no steps: it stays at the first colour.
    if (Color2 == clNone || RangeEnd == RangeStart)
        return Color1;
    const TColor a = ColorToRGB(Color1);
    const TColor b = ColorToRGB(Color2);
    const double span = RangeEnd - RangeStart;
    auto mix = [&](int ca, int cb) { return ca + int(Round((cb - ca) / span * Position)); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

QString ColorToHTMLHex(TColor Color)
{
    const auto hex = [](int v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')); };
    return (hex(Color) + hex(Color >> 8) + hex(Color >> 16)).toUpper();
}

// ---------------------------------------------------------------------------
// Gradients

namespace {

// The colour of band `i` of `steps` from `from` to `to`.
TColor GradientStep(TColor from, TColor to, int i, int steps)
{
    auto part = [&](int a, int b) { return a + int(Round(i * double(b - a) / steps)); };
    return RGB(part(GetRValue(from), GetRValue(to)), part(GetGValue(from), GetGValue(to)),
        part(GetBValue(from), GetBValue(to)));
}

struct TGradientRun {
    TColor Color;
    int From, To; // from the gradient's start
};

// The shown runs of one colour of a solid gradient, by colours, length and
// steps: the cells of a row of headers paint the same gradient, worked out
// once. A few are kept; one in use is kept until its drawing ends, as
// drawing may draw another gradient.
struct TGradientRuns {
    TColor From = clNone, To = clNone;
    int Span = -1, Steps = 0;
    int Busy = 0;
    bool Own = false; // made for one drawing, all kept ones being in use
    std::vector<TGradientRun> Runs;
    TColor Last = clNone;

    void Compute()
    {
        Runs.clear();
        const double band = double(Span) / Steps;
        TColor runColor = clNone, c = clNone;
        int runStart = 0, runEnd = 0;
        for (int i = 0; i <= Steps; ++i) {
            c = GradientStep(From, To, i, Steps);
            const int a = int(Trunc(i * band));
            const int b = std::min(Span + 1, a + int(Trunc(band + 1)));
            const int shown = i < Steps ? std::min(b, int(Trunc((i + 1) * band))) : b;
            if (shown <= a)
                continue;
            if (runColor != clNone && c != runColor) {
                Runs.push_back({ runColor, runStart, runEnd });
                runColor = clNone;
            }
            if (runColor == clNone) {
                runColor = c;
                runStart = a;
            }
            runEnd = shown;
        }
        if (runColor != clNone)
            Runs.push_back({ runColor, runStart, runEnd });
        Last = c;
    }

    class TUse {
    public:
        explicit TUse(TGradientRuns* r)
            : FRuns(r)
        {
            ++FRuns->Busy;
        }
        ~TUse()
        {
            --FRuns->Busy;
            if (FRuns->Own)
                delete FRuns;
        }
        TUse(const TUse&) = delete;
        TUse& operator=(const TUse&) = delete;
        const TGradientRuns* operator->() const { return FRuns; }

    private:
        TGradientRuns* FRuns;
    };

    static TGradientRuns* Find(TColor from, TColor to, int span, int steps)
    {
        thread_local std::array<TGradientRuns, 8> kept;
        thread_local unsigned next = 0;
        for (TGradientRuns& r : kept)
            if (r.Steps > 0 && r.Span == span && r.Steps == steps && r.From == from && r.To == to)
                return &r;
        TGradientRuns* r = nullptr;
        for (size_t n = 0; n < kept.size() && !r; ++n) {
            TGradientRuns& candidate = kept[next++ % kept.size()];
            if (!candidate.Busy)
                r = &candidate;
        }
        if (!r) {
            r = new TGradientRuns;
            r->Own = true;
        }
        r->From = from;
        r->To = to;
        r->Span = span;
        r->Steps = steps;
        r->Compute();
        return r;
    }
};

} // namespace

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int Steps)
{
    if (!Canvas || R.Top == R.Bottom)
        return;
    if (R.Bottom < R.Top)
        std::swap(R.Top, R.Bottom);
    const TColor from = ColorToRGB(FromColor);
    const TColor to = ColorToRGB(ToColor);
    if (from == clNone || to == clNone) {
        const TColor solid = from == clNone ? to : from;
        // Both clNone: nothing to paint.
        if (solid == clNone)
            return;
        SetPenAndBrush(Canvas, solid);
        Canvas->FillRect(R);
        return;
    }
    if (from == to) {
        // Every band in one colour: together they cover the rectangle.
        SetPenAndBrush(Canvas, from);
        Canvas->FillRect(R);
        return;
    }
    const int span = Horizontal ? R.Width() - 1 : R.Height() - 1;
    Steps = std::max(std::min(Steps, span), 1);
    const int start = Horizontal ? R.Left : R.Top;
    const auto bandRect
        = [&](int a, int b) { return Horizontal ? Rect(a, R.Top, b, R.Bottom) : Rect(R.Left, a, R.Right, b); };
    if (Canvas->Brush()->Style() != TBrushStyle::bsSolid) {
        const double band = double(span) / Steps;
        const int farEdge = Horizontal ? R.Right : R.Bottom;
        TColor c = clNone;
        for (int i = 0; i <= Steps; ++i) {
            c = GradientStep(from, to, i, Steps);
            const int a = start + int(Trunc(i * band));
            SetPenAndBrush(Canvas, c);
            Canvas->FillRect(bandRect(a, std::min(farEdge, a + int(Trunc(band + 1)))));
        }
        SetPenAndBrush(Canvas, c);
        return;
    }
    // Each band overlaps the next, which paints over it. A solid brush
    // therefore shows only a band's part before the next one starts, and
    // neighbouring bands of one colour are filled at once.
    TGradientRuns::TUse runs(TGradientRuns::Find(from, to, span, Steps));
    for (const TGradientRun& run : runs->Runs) {
        Canvas->Brush()->SetColor(run.Color);
        Canvas->FillRect(bandRect(start + run.From, start + run.To));
    }
    // The canvas ends in the last band's colour, as band by band.
    SetPenAndBrush(Canvas, runs->Last);
}

void DrawMirrorGradient(TCanvas* Canvas, const TRect& R, TColor Color, bool Fill, bool SideLines, TColor BorderColor,
    bool Vertical, TColor MirrorColorTo, TColor MirrorColor, TColor ColorTo)
{
    if (!Canvas)
        return;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone) {
            if (ColorTo == clNone) {
                SetPenAndBrush(Canvas, Color);
                // The solid fill reaches one pixel below the rectangle, as it always has.
                Canvas->FillRect(Rect(R.Left, R.Top, R.Right, R.Bottom + 1));
            } else {
                DrawGradient(Canvas, Color, ColorTo, !Vertical, R, 128);
            }
        } else if (Vertical) {
            const int mid = R.Top + R.Height() / 2;
            DrawGradient(Canvas, Color, ColorTo, false, Rect(R.Left, R.Top, R.Right, mid), 128);
            DrawGradient(Canvas, MirrorColor, MirrorColorTo, false, Rect(R.Left, mid, R.Right, R.Bottom), 128);
        } else {
            const int mid = R.Left + R.Width() / 2;
            DrawGradient(Canvas, Color, ColorTo, true, Rect(R.Left, R.Top, mid, R.Bottom), 128);
            DrawGradient(Canvas, MirrorColor, MirrorColorTo, true, Rect(mid, R.Top, R.Right, R.Bottom), 128);
        }
    }
    if (BorderColor == clNone)
        return;
    Canvas->Pen()->SetColor(BorderColor);
    if (SideLines) {
        Line(Canvas, R.Left, R.Top, R.Left, R.Bottom);
        Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
    } else {
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

void DrawSelectionBox(TCanvas* Canvas, TColor FillColor, TColor FillColorTo, int EndType, const TRect& R,
    TColor OuterCornerColor, TColor CornerColor, TColor OuterLineColor, TColor LowerLineColor, TColor UpperLineColor,
    TColor MirrorColorTo, TColor MirrorColor)
{
    if (!Canvas)
        return;
    const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 2;
    const int M = T + (B - T) / 2;
    const bool leftEnd = EndType == 0 || EndType == 1;
    const bool rightEnd = EndType == 0 || EndType == 2;

    Canvas->Pen()->SetColor(UpperLineColor);
    Line(Canvas, L, T + 1, Rt, T + 1);
    if (leftEnd)
        Line(Canvas, L + 1, T + 1, L + 1, M);
    if (rightEnd)
        Line(Canvas, Rt - 2, T + 1, Rt - 2, M);

    Canvas->Pen()->SetColor(LowerLineColor);
    Line(Canvas, L, B - 1, Rt, B - 1);
    if (leftEnd)
        Line(Canvas, L + 1, M, L + 1, B - 1);
    if (rightEnd)
        Line(Canvas, Rt - 2, M, Rt - 2, B - 1);

    const int li = leftEnd ? 2 : 0;
    const int ri = rightEnd ? 2 : 0;
    Canvas->Pen()->SetColor(OuterLineColor);
    Line(Canvas, L + li, T, Rt - ri, T);
    Line(Canvas, L + li, B, Rt - ri, B);
    if (rightEnd)
        Line(Canvas, Rt - 1, T + 2, Rt - 1, B - 1);
    if (leftEnd)
        Line(Canvas, L, T + 2, L, B - 1);

    if (leftEnd) {
        for (TPoint p : { TPoint(L + 1, T), TPoint(L + 1, T + 1), TPoint(L, T + 1), TPoint(L + 1, B),
                 TPoint(L + 1, B - 1), TPoint(L, B - 1) })
            Canvas->SetPixels(p.X, p.Y, CornerColor);
        Canvas->SetPixels(L, T, OuterCornerColor);
        Canvas->SetPixels(L, B, OuterCornerColor);
    }
    if (rightEnd) {
        for (TPoint p : { TPoint(Rt - 2, T), TPoint(Rt - 2, T + 1), TPoint(Rt - 1, T + 1), TPoint(Rt - 2, B),
                 TPoint(Rt - 2, B - 1), TPoint(Rt - 1, B - 1) })
            Canvas->SetPixels(p.X, p.Y, CornerColor);
        Canvas->SetPixels(Rt - 1, T, OuterCornerColor);
        Canvas->SetPixels(Rt - 1, B, OuterCornerColor);
    }

    const TRect fill(L + li, T + 2, Rt - ri, B - 1);
    if (FillColorTo == clNone) {
        SetPenAndBrush(Canvas, FillColor);
        Canvas->FillRect(fill);
    } else if (MirrorColor == clNone) {
        DrawGradient(Canvas, FillColor, FillColorTo, false, fill, 16);
    } else {
        const int mid = fill.Top + fill.Height() / 2;
        DrawGradient(Canvas, FillColor, FillColorTo, false, Rect(fill.Left, fill.Top, fill.Right, mid), 16);
        DrawGradient(Canvas, MirrorColor, MirrorColorTo, false, Rect(fill.Left, mid, fill.Right, fill.Bottom), 16);
    }
}

// ---------------------------------------------------------------------------
// Cell buttons

void DrawCellButton(TCanvas* Canvas, HWND Wnd, const TRect& R, const TColorTones& Tones, int State, int Kind)
{
    if (!Canvas)
        return;
    switch (Kind) {
    case 0: {
        static constexpr int states[] = { PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED };
        DrawThemedPart(Canvas, Wnd, "button", BP_PUSHBUTTON, states[std::clamp(State, 0, 3)], R);
        break;
    }
    case 1:
    case 2: {
        unsigned s = DFCS_BUTTONPUSH | FrameState(State, Kind);
        if (State == 1)
            s |= DFCS_HOT;
        else if (State == 2)
            s |= DFCS_PUSHED;
        TRect r = R;
        DrawFrameControl(Canvas, r, DFC_BUTTON, s);
        break;
    }
    default: {
        const TColorTone& tone = ToneOf(Tones, State);
        Canvas->Brush()->SetColor(tone.BrushColor);
        Canvas->Pen()->SetColor(tone.BorderColor);
        Canvas->Rectangle(R);
        break;
    }
    }
}

void DrawComboButton(TCanvas* Canvas, HWND Wnd, const TRect& CellRect, const TColorTones& Tones, int State, int Kind)
{
    if (!Canvas)
        return;
    TRect r(CellRect.Right - 17 - 2, CellRect.Top + 1, CellRect.Right - 2, CellRect.Bottom - 1);
    switch (Kind) {
    case 0:
        // Hot and pressed look like normal: only the disabled state shows.
        DrawThemedPart(Canvas, Wnd, "combobox", CP_DROPDOWNBUTTON, State == 3 ? CBXS_DISABLED : CBXS_NORMAL, r);
        break;
    case 1:
    case 2:
        DrawFrameControl(Canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | FrameState(State, Kind));
        break;
    default: {
        r.Left += 3;
        SetPenAndBrush(Canvas, ToneOf(Tones, State).BrushColor);
        Canvas->Rectangle(r);
        Canvas->Pen()->SetColor(Tones.Background.BorderColor);
        Line(Canvas, r.Left + 1, r.Top, r.Left + 1, r.Bottom);
        SetPenAndBrush(Canvas, Tones.Background.TextColor);
        Canvas->Polygon(
            { TPoint(r.Left + 5, r.Top + 8), TPoint(r.Left + 11, r.Top + 8), TPoint(r.Left + 8, r.Top + 11) });
        break;
    }
    }
}

void DrawSpinButtons(TCanvas* Canvas, HWND Wnd, const TRect& CellRect, const TColorTones& Tones, int State, int Kind)
{
    if (!Canvas)
        return;
    const TRect col(CellRect.Right - 15 - 1, CellRect.Top - 1, CellRect.Right - 1, CellRect.Bottom - 1);
    const int mid = col.Top + col.Height() / 2;
    switch (Kind) {
    case 0:
        // The themed halves meet at the middle line.
        DrawThemedPart(Canvas, Wnd, "spin", SPNP_UP, State == 3 ? UPS_DISABLED : UPS_NORMAL,
            Rect(col.Left, col.Top, col.Right, mid));
        DrawThemedPart(Canvas, Wnd, "spin", SPNP_DOWN, State == 3 ? DNS_DISABLED : DNS_NORMAL,
            Rect(col.Left, mid, col.Right, col.Bottom));
        break;
    case 1:
    case 2: {
        TRect up(col.Left, col.Top, col.Right, mid);
        TRect down(col.Left, mid + 1, col.Right, col.Bottom);
        DrawFrameControl(Canvas, up, DFC_SCROLL, DFCS_SCROLLUP | FrameState(State, Kind));
        DrawFrameControl(Canvas, down, DFC_SCROLL, DFCS_SCROLLDOWN | FrameState(State, Kind));
        break;
    }
    default: {
        const TRect up(col.Left, col.Top, col.Right, mid);
        const TRect down(col.Left, mid + 1, col.Right, col.Bottom);
        SetPenAndBrush(Canvas, ToneOf(Tones, State).BrushColor);
        Canvas->Rectangle(up);
        Canvas->Rectangle(down);
        SetPenAndBrush(Canvas, clBlack);
        const int x = up.Left, y = up.Top;
        Canvas->Polygon({ TPoint(x + 5, y + 5), TPoint(x + 9, y + 5), TPoint(x + 7, y + 3) });
        const int dy = down.Top;
        Canvas->Polygon({ TPoint(x + 5, dy + 1), TPoint(x + 9, dy + 1), TPoint(x + 7, dy + 3) });
        break;
    }
    }
}

void DrawDropArrow(TCanvas* Canvas, TPoint P, TColor Color)
{
    if (!Canvas)
        return;
    SetPenAndBrush(Canvas, Color);
    Canvas->Polygon({ TPoint(P.X - 3, P.Y), TPoint(P.X + 3, P.Y), TPoint(P.X, P.Y + 3) });
}

// ---------------------------------------------------------------------------
// Layered windows

bool UpdateLayeredWindowDyn(HWND Wnd, TCanvas* DestCanvas, const TPoint* DestPoint, const TSize* Size,
    TCanvas* SourceCanvas, const TPoint* SourcePoint, TColor Key, const TBlendFunction* Blend, DWORD Flags)
{
    (void)DestCanvas;
    QImage source;
    if (SourceCanvas && SourceCanvas->HandleAllocated()) {
        const TSize s = SourceCanvas->DeviceSize();
        source = SourceCanvas->GrabRect(Rect(0, 0, s.cx, s.cy));
    }
    return UpdateLayeredWindow(
        Wnd, DestPoint, Size, source.isNull() ? nullptr : &source, SourcePoint, Key, Blend, Flags);
}

bool SetLayeredWindowAttributesDyn(HWND Wnd, TColor Key, unsigned char Alpha, DWORD Flags)
{
    return SetLayeredWindowAttributes(Wnd, Key, Alpha, Flags);
}
