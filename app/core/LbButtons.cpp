#include "app/core/LbButtons.h"

#include <QImage>
#include <algorithm>
#include <cmath>

#include "platform/controls/Messages.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"

// ---------------------------------------------------------------------------
// TLbButtonThread

TLbButtonThread::TLbButtonThread()
    : FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetEnabled(false);
    FTimer->SetInterval(StepInterval);
    FTimer->OnTimer = [this](TObject*) { Execute(); };
}

TLbButtonThread::~TLbButtonThread()
{
    FTimer->SetEnabled(false);
    FTimer->OnTimer = nullptr;
}

void TLbButtonThread::Sync()
{
    FTimer->SetEnabled(!FSuspended && !FTerminated);
}

void TLbButtonThread::Resume()
{
    FSuspended = false;
    Sync();
}

void TLbButtonThread::Suspend()
{
    FSuspended = true;
    Sync();
}

void TLbButtonThread::Terminate()
{
    FTerminated = true;
    Sync();
}

void TLbButtonThread::WaitFor()
{
    // Steps run on the caller's (main) thread, so none is in flight now.
    FTimer->SetEnabled(false);
}

void TLbButtonThread::Execute()
{
    if (FTerminated || FSuspended)
        return;
    DoEvent();
}

void TLbButtonThread::DoEvent()
{
    // A copy: the handler may clear or replace FNotify while it runs.
    if (const TNotifyEvent notify = FNotify)
        notify(this);
}

// ---------------------------------------------------------------------------
// Painting helpers

TColor LbHotTrackBlend(TColor c, TColor h, int s)
{
    c = ColorToRGB(c);
    h = ColorToRGB(h);
    const double t = s / 8.0;
    auto mix = [t](int a, int b) { return static_cast<int>(std::trunc(a * (1.0 - t) + b * t)); };
    return RGB(mix(GetRValue(c), GetRValue(h)), mix(GetGValue(c), GetGValue(h)), mix(GetBValue(c), GetBValue(h)));
}

void LbGradientFill(TCanvas* canvas, const TRect& r, TColor c1, TColor c2)
{
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    const TPenStyle oldPen = canvas->Pen()->Style();
    canvas->Pen()->SetStyle(TPenStyle::psClear);
    const int span = r.Bottom - r.Top;
    const int band = span / 31 + 1;
    // Each band's colour is c1 plus i thirty-firsts of the difference, so the
    // last band comes out exactly c2.
    auto channel = [](int a, int b, int i) { return static_cast<int>(std::trunc(a + (b - a) * i / 31.0)); };
    for (int i = 0; i <= 31; ++i) {
        canvas->Brush()->SetColor(RGB(channel(GetRValue(c1), GetRValue(c2), i),
            channel(GetGValue(c1), GetGValue(c2), i), channel(GetBValue(c1), GetBValue(c2), i)));
        const int top = r.Top + i * span / 31;
        canvas->FillRect(Rect(r.Left, top, r.Right, std::min(top + band, r.Bottom)));
    }
    canvas->Pen()->SetStyle(oldPen);
}

void LbDrawGlyphCell(TCanvas* canvas, const TBitmap* glyph, int cw, int index, int x, int y)
{
    if (!glyph || glyph->Empty() || cw <= 0)
        return;
    const QImage strip = glyph->Image().convertToFormat(QImage::Format_RGB32);
    const int gh = strip.height();
    TBitmap cell;
    cell.SetImage(strip.copy(0, 0, cw, gh));
    // Cells the strip lacks keep the first cell underneath.
    cell.Canvas()->Draw(-index * cw, 0, strip);
    cell.SetTransparentMode(TTransparentMode::tmAuto);
    cell.SetTransparent(true);
    canvas->Draw(x, y, &cell);
}

// ---------------------------------------------------------------------------
// Face layout and painting

namespace {

int SingleLineWidth(TCanvas* canvas, const QString& text)
{
    TRect r = Rect(0, 0, 0, 0);
    DrawText(canvas, text, r, DT_CALCRECT | DT_SINGLELINE);
    return r.Width();
}

// A cut inside a surrogate pair moves before the pair: half a character is
// never drawn.
qsizetype WholeCharacters(const QString& text, qsizetype n)
{
    return n > 0 && n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate() ? n - 1 : n;
}

// The longest prefix of text whose single-line width fits a. A prefix is never
// wider than a longer one, so the cut is found by doubling the length until
// it no longer fits and then halving the interval: the measured lengths stay
// within twice the result, however long the text (a language file may hold
// any length).
QString FittingPrefix(TCanvas* canvas, const QString& text, int a)
{
    auto fits = [&](qsizetype n) { return SingleLineWidth(canvas, text.left(WholeCharacters(text, n))) <= a; };
    if (text.isEmpty() || fits(text.size()))
        return text;
    qsizetype lo = 0; // fits
    qsizetype hi = 1; // the first length known not to fit, once found
    while (hi < text.size() && fits(hi)) {
        lo = hi;
        hi = std::min(hi * 2, text.size());
    }
    while (hi - lo > 1) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid;
    }
    return text.left(WholeCharacters(text, lo));
}

unsigned AlignmentFlags(TAlignment a)
{
    switch (a) {
    case taLeftJustify:
        return DT_LEFT;
    case taRightJustify:
        return DT_RIGHT;
    default:
        return DT_CENTER;
    }
}

} // namespace

TLbFaceLayout LbLayoutButtonFace(TCanvas* canvas, const TLbButtonFace& f)
{
    TLbFaceLayout l;
    const int W = f.Width;
    const int H = f.Height;
    const bool pressed = f.Down && f.Enabled;
    l.Offset = pressed && f.Style != bsEncarta ? 1 : 0;
    const int offset = l.Offset;

    if (f.Font)
        canvas->SetFont(f.Font);
    if (f.Style == bsEncarta && pressed)
        canvas->Font()->SetStyle(canvas->Font()->Style() | TFontStyle::fsBold);
    // bsShape draws its caption straight onto the transparent key colour:
    // smoothed edges would leave a key-tinted fringe once the key drops out.
    if (f.Style == bsShape)
        canvas->Font()->SetQuality(TFontQuality::fqNonAntialiased);

    const bool hasGlyph = f.Glyph && !f.Glyph->Empty();
    l.CellWidth = hasGlyph && f.NumGlyphs > 0 ? f.Glyph->Width() / f.NumGlyphs : 0;
    l.GlyphHeight = hasGlyph ? f.Glyph->Height() : 0;
    const int cw = l.CellWidth;
    const int gh = l.GlyphHeight;
    if (!f.Enabled)
        l.GlyphIndex = 1;
    else if (pressed && f.NumGlyphs > 2)
        l.GlyphIndex = 2;
    else if (f.Hot && f.NumGlyphs > 3)
        l.GlyphIndex = 3;

    l.TextFlags = AlignmentFlags(f.Alignment) | DT_WORDBREAK;

    int a;
    if (f.Style == bsShape || f.Layout == blGlyphTop || f.Layout == blGlyphBottom)
        a = std::max(W - 8, 0);
    else
        a = std::max(W - 8 - (cw > 0 ? cw + 4 : 0), 0);

    const QString caption = f.WordWrap ? f.Caption : FittingPrefix(canvas, f.Caption, a);
    l.Caption = caption;

    int th = 0, tw = 0;
    if (!caption.isEmpty()) {
        TRect m = Rect(0, 0, a, 0);
        DrawText(canvas, caption, m, DT_CALCRECT | l.TextFlags);
        th = m.Height();
        tw = m.Width();
    }
    const int g = caption.isEmpty() ? 0 : tw + 4;

    if (f.Style == bsShape) {
        l.GlyphPos = TPoint { (W - cw) / 2, (H - gh) / 2 };
        l.CaptionRect = Rect(offset, (H - th) / 2 + offset, W, H);
        l.TextFlags = DT_CENTER | DT_WORDBREAK;
        return l;
    }
    switch (f.Layout) {
    case blGlyphLeft: {
        const int x = offset + 4 + (cw > 0 ? cw + 4 : 0);
        const int y = (H - th) / 2 + offset;
        l.CaptionRect = Bounds(x, y, a, th);
        int gx = offset + 4;
        if (!f.WordWrap) {
            if (f.Alignment == taRightJustify)
                gx = W - 4 - cw - g + offset;
            else if (f.Alignment == taCenter)
                gx = (W - cw) / 2 + offset - g / 2;
        }
        l.GlyphPos = TPoint { gx, (H - gh) / 2 + offset };
        break;
    }
    case blGlyphRight: {
        const int x = offset + 4;
        const int y = (H - th) / 2 + offset;
        l.CaptionRect = Bounds(x, y, a, th);
        int gx = x + g;
        if (!f.WordWrap) {
            if (f.Alignment == taRightJustify)
                gx = W - 4 + offset - cw;
            else if (f.Alignment == taCenter)
                gx = (W - cw) / 2 + offset + g / 2;
        }
        l.GlyphPos = TPoint { gx, (H - gh) / 2 + offset };
        break;
    }
    case blGlyphTop:
    case blGlyphBottom: {
        const int t = th + (gh > 0 ? gh + 4 : 0);
        int gx = (W - cw) / 2 + offset;
        if (f.Alignment == taLeftJustify)
            gx = offset + 4;
        else if (f.Alignment == taRightJustify)
            gx = W - cw - 4 + offset;
        if (f.Layout == blGlyphTop) {
            l.GlyphPos = TPoint { gx, (H - t) / 2 + offset };
            l.CaptionRect = Bounds(offset + 4, (H - t) / 2 + gh + offset, a, th);
        } else {
            l.GlyphPos = TPoint { gx, (H - t) / 2 + th + offset };
            l.CaptionRect = Bounds(offset + 4, (H - t) / 2 + offset, a, th);
        }
        break;
    }
    }
    return l;
}

void LbPaintButtonFace(TCanvas* canvas, const TLbButtonFace& f)
{
    const int W = f.Width;
    const int H = f.Height;
    const bool pressed = f.Down && f.Enabled;
    const int offset = pressed && f.Style != bsEncarta ? 1 : 0;

    TColor face = ColorToRGB(f.Color);
    if (f.Enabled && f.HotTrackColor != clNone)
        face = LbHotTrackBlend(f.Color, f.HotTrackColor, f.HotTrackStep);
    if (pressed && f.ColorWhenDown != clNone)
        face = ColorToRGB(f.ColorWhenDown);

    TPen* pen = canvas->Pen();
    TBrush* brush = canvas->Brush();
    pen->SetWidth(1);
    pen->SetMode(TPenMode::pmCopy);
    pen->SetStyle(TPenStyle::psSolid);

    // Background.
    switch (f.Style) {
    case bsShape:
        brush->SetColor(LbTransparentColor);
        canvas->FillRect(Rect(-1, -1, W + 1, H + 1));
        break;
    case bsNormal:
    case bsEncarta:
    case bsOld:
        brush->SetColor(face);
        canvas->FillRect(Rect(-1, -1, W + 1, H + 1));
        break;
    case bsModern:
        LbGradientFill(canvas, Rect(2, 2, W - 2, H / 4 + offset), f.LightColor, face);
        LbGradientFill(canvas, Rect(2, H / 4 + offset, W - 2, H - 1), face, f.LightColor);
        break;
    case bsQuicken:
        break;
    }

    // Frame.
    brush->SetStyle(TBrushStyle::bsClear);
    switch (f.Style) {
    case bsNormal:
    case bsEncarta:
    case bsOld:
        if (!f.Flat || (f.Enabled && (f.Hot || pressed))) {
            if (f.Style == bsOld) {
                pen->SetColor(f.ShadowColor);
                if (pressed)
                    canvas->Polyline({ { 1, H - 3 }, { 1, 1 }, { W - 2, 1 } });
                else
                    canvas->Polyline({ { W - 2, 0 }, { W - 2, H - 2 }, { 0, H - 2 } });
            }
            const TColor dark = f.Style == bsOld ? cl3DDkShadow : f.ShadowColor;
            const int endX = f.Style == bsOld ? -1 : 0;
            pen->SetColor(pressed ? dark : f.LightColor);
            canvas->MoveTo(0, H - 1);
            canvas->LineTo(0, 0);
            canvas->LineTo(W - 1, 0);
            pen->SetColor(pressed ? f.LightColor : dark);
            canvas->LineTo(W - 1, H - 1);
            canvas->LineTo(endX, H - 1);
        }
        break;
    case bsModern:
        pen->SetColor(pressed ? f.ShadowColor : face);
        canvas->Rectangle(1, 1, W - 1, H - 1);
        pen->SetColor(f.ShadowColor);
        canvas->RoundRect(0, 0, W, H, 6, 6);
        break;
    case bsQuicken:
        pen->SetStyle(TPenStyle::psClear);
        brush->SetColor(face);
        canvas->RoundRect(0, 1, W, H, 4, 4);
        brush->SetStyle(TBrushStyle::bsClear);
        pen->SetStyle(TPenStyle::psSolid);
        pen->SetColor(f.ShadowColor);
        canvas->MoveTo(4, 0);
        canvas->LineTo(W - 5, 0);
        canvas->MoveTo(4, H - 1);
        canvas->LineTo(W - 5, H - 1);
        break;
    case bsShape:
        break;
    }

    // Glyph and caption.
    const TLbFaceLayout l = LbLayoutButtonFace(canvas, f);
    if (!f.Enabled)
        canvas->Font()->SetColor(clGray);
    brush->SetStyle(TBrushStyle::bsClear);
    auto drawCaption = [&] {
        if (l.Caption.isEmpty())
            return;
        TRect r = l.CaptionRect;
        DrawText(canvas, l.Caption, r, l.TextFlags);
    };
    auto drawGlyph = [&] { LbDrawGlyphCell(canvas, f.Glyph, l.CellWidth, l.GlyphIndex, l.GlyphPos.X, l.GlyphPos.Y); };
    if (f.Style == bsShape) {
        drawGlyph();
        drawCaption();
    } else {
        drawCaption();
        drawGlyph();
    }

    if (f.HasPopupMenu) {
        TBitmap arrow;
        arrow.LoadFromResourceName(QStringLiteral("LBARROW"));
        arrow.SetTransparent(true);
        canvas->Draw(W - 11, H / 2 - 1, &arrow);
    }
}
