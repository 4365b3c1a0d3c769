// Cell graphics: shapes, progress and level bars, the pie, the balance bar,
// the error underline and transparent bitmaps.
#include "controls/base/ExUtilDraw.h"

#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

void SetPenAndBrush(TCanvas* Canvas, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
}

int R(double v)
{
    return int(Round(v));
}

// The star's point k (of ten, clockwise from straight up; odd k inner).
TPoint StarPoint(int cx, int cy, int w2, int h2, int k)
{
    const double a = k * 36.0 * std::numbers::pi / 180.0;
    const double rx = k % 2 ? w2 / 3.0 : w2;
    const double ry = k % 2 ? h2 / 3.0 : h2;
    return { cx + R(std::sin(a) * rx), cy - R(std::cos(a) * ry) };
}

} // namespace

// ---------------------------------------------------------------------------
// Shapes

void DrawCellShape(TCanvas* Canvas, int X, int Y, TColor BorderColor, TColor FillColor, TCellShape Shape, int H, int W)
{
    if (!Canvas)
        return;
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Brush()->SetColor(FillColor);
    if (Shape == TCellShape::csCircle || Shape == TCellShape::csSquare || Shape == TCellShape::csRoundSquare) {
        W = std::min(W, H);
        H = W;
    }
    const int w2 = W / 2, h2 = H / 2;
    const int we = W & ~1, he = H & ~1;
    const int q = we / 4, r = he / 4;
    const int x = X, y = Y;
    switch (Shape) {
    case TCellShape::csRectangle:
    case TCellShape::csSquare:
        Canvas->Rectangle(x + 1, y + 1, x + W - 1, y + H - 1);
        break;
    case TCellShape::csCircle:
    case TCellShape::csEllips:
        Canvas->Ellipse(x, y, x + W, y + H);
        break;
    case TCellShape::csRoundRect:
    case TCellShape::csRoundSquare:
        Canvas->RoundRect(x, y, x + W, y + H, 10, 10);
        break;
    case TCellShape::csTriangleLeft:
        Canvas->Polygon({ TPoint(x + W, y), TPoint(x + W, y + H), TPoint(x, y + h2) });
        break;
    case TCellShape::csTriangleRight:
        Canvas->Polygon({ TPoint(x, y), TPoint(x, y + H), TPoint(x + W, y + h2) });
        break;
    case TCellShape::csTriangleUp:
        Canvas->Polygon({ TPoint(x, y + H), TPoint(x + W, y + H), TPoint(x + w2, y) });
        break;
    case TCellShape::csTriangleDown:
        Canvas->Polygon({ TPoint(x, y), TPoint(x + W, y), TPoint(x + w2, y + H) });
        break;
    case TCellShape::csDiamond:
        Canvas->Polygon(
            { TPoint(x, y + h2), TPoint(x + w2, y), TPoint(x + 2 * w2, y + h2), TPoint(x + w2, y + 2 * h2) });
        break;
    case TCellShape::csLineVert:
        Canvas->Rectangle(x + w2, y, x + w2 + 1, y + H);
        break;
    case TCellShape::csLineHorz:
        Canvas->Rectangle(x, y + h2, x + W, y + h2 + 1);
        break;
    case TCellShape::csArrowUp:
        Canvas->Polygon({ TPoint(x, y + h2), TPoint(x + we / 2, y), TPoint(x + we, y + h2), TPoint(x + 3 * q, y + h2),
            TPoint(x + 3 * q, y + H), TPoint(x + q, y + H), TPoint(x + q, y + h2) });
        break;
    case TCellShape::csArrowDown:
        Canvas->Polygon({ TPoint(x, y + h2), TPoint(x + we / 2, y + H), TPoint(x + we, y + h2),
            TPoint(x + 3 * q, y + h2), TPoint(x + 3 * q, y), TPoint(x + q, y), TPoint(x + q, y + h2) });
        break;
    case TCellShape::csArrowLeft:
        Canvas->Polygon({ TPoint(x + w2, y), TPoint(x, y + he / 2), TPoint(x + w2, y + he), TPoint(x + w2, y + 3 * r),
            TPoint(x + W, y + 3 * r), TPoint(x + W, y + r), TPoint(x + w2, y + r) });
        break;
    case TCellShape::csArrowRight:
        Canvas->Polygon({ TPoint(x + w2, y), TPoint(x + W, y + he / 2), TPoint(x + w2, y + he),
            TPoint(x + w2, y + 3 * r), TPoint(x, y + 3 * r), TPoint(x, y + r), TPoint(x + w2, y + r) });
        break;
    case TCellShape::csStar: {
        std::vector<TPoint> pts;
        for (int k = 0; k < 10; ++k)
            pts.push_back(StarPoint(x + w2, y + h2, w2, h2, k));
        Canvas->Polygon(pts);
        break;
    }
    case TCellShape::csHalfStar: {
        std::vector<TPoint> pts;
        for (int k : { 0, 5, 6, 7, 8, 9 })
            pts.push_back(StarPoint(x + w2, y + h2, w2, h2, k));
        Canvas->Polygon(pts);
        break;
    }
    }
}

// ---------------------------------------------------------------------------
// Progress bar

void DrawProgressBar(TCanvas* Canvas, TRect Rc, TColor Color, bool NegativeTextHeight, TColor BorderColor,
    const QString& Fmt, int Max, int Min, int VMargin, int HMargin, double Value, TColor UnfilledTextColor,
    TColor UnfilledColor, TColor FilledTextColor)
{
    if (!Canvas)
        return;
    const TColor saved = Canvas->Brush()->Color();
    SetPenAndBrush(Canvas, Color);
    Canvas->Font()->SetColor(FilledTextColor);

    QString text = QString::number(R(Value)) + QLatin1Char('%');
    int percent = R(Value);
    if (!Fmt.isEmpty()) {
        try {
            const bool integral = Fmt.contains(QLatin1Char('d')) || Fmt.contains(QLatin1Char('u'));
            text = integral ? Format(Fmt, { R(Value) }) : Format(Fmt, { Value });
        } catch (const Exception&) {
            text = Fmt;
        }
        // An empty range has no percentage to show: the bar stays empty.
        percent = Max == Min ? 0 : R((Value - Min) * 100.0 / (Max - Min));
    }
    percent = std::clamp(percent, 0, 100);
    InflateRect(Rc, -HMargin, -VMargin);

    const int filled = R(Rc.Width() * percent / 100.0);
    const TSize ext = Canvas->TextExtent(text);
    const int tx = Rc.Left + (Rc.Width() - ext.cx) / 2;
    const int ty = NegativeTextHeight ? Rc.Top + (Rc.Height() + ext.cy) / 2 : Rc.Top + (Rc.Height() - ext.cy) / 2;

    Canvas->TextRect(Rect(Rc.Left, Rc.Top, Rc.Left + filled, Rc.Bottom), tx, ty, text);
    SetPenAndBrush(Canvas, UnfilledColor);
    Canvas->Font()->SetColor(UnfilledTextColor);
    Canvas->TextRect(Rect(Rc.Left + filled, Rc.Top, Rc.Right, Rc.Bottom), tx, ty, text);

    InflateRect(Rc, 1, 1);
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(Rc);
    }
    InflateRect(Rc, 1, 1);
    Canvas->Brush()->SetColor(saved);
    Canvas->FrameRect(Rc);
}

// ---------------------------------------------------------------------------
// Level bar

namespace {

struct TLevelColors {
    TColor Color;
    TColor ColorTo;
};

TLevelColors LevelColors(const TLevelProgressSettings& S, int Level)
{
    switch (Level) {
    case 0:
        return { S.Level0Color, S.Level0ColorTo };
    case 1:
        return { S.Level1Color, S.Level1ColorTo };
    case 2:
        return { S.Level2Color, S.Level2ColorTo };
    default:
        return { S.Level3Color, S.Level3ColorTo };
    }
}

// One block or segment, solid or as two gradient halves across the bar.
void FillLevel(TCanvas* Canvas, const TRect& Rc, TLevelColors Colors, const TLevelProgressSettings& S)
{
    if (Rc.IsEmpty())
        return;
    if (!S.ShowGradient) {
        SetPenAndBrush(Canvas, Colors.Color);
        Canvas->FillRect(Rc);
        return;
    }
    if (S.Vertical) {
        const int mid = Rc.Left + Rc.Width() / 2;
        DrawGradient(Canvas, Colors.ColorTo, Colors.Color, true, Rect(Rc.Left, Rc.Top, mid, Rc.Bottom), S.Steps);
        DrawGradient(Canvas, Colors.Color, Colors.ColorTo, true, Rect(mid, Rc.Top, Rc.Right, Rc.Bottom), S.Steps);
    } else {
        const int mid = Rc.Top + Rc.Height() / 2;
        DrawGradient(Canvas, Colors.ColorTo, Colors.Color, false, Rect(Rc.Left, Rc.Top, Rc.Right, mid), S.Steps);
        DrawGradient(Canvas, Colors.Color, Colors.ColorTo, false, Rect(Rc.Left, mid, Rc.Right, Rc.Bottom), S.Steps);
    }
}

// The part of the bar from Start to Start + Len along it (left to right, or
// bottom to top), Inset pixels inside the outline across it.
TRect Along(const TRect& Bar, bool Vertical, int Start, int Len, int Inset)
{
    if (Vertical)
        return Rect(Bar.Left + Inset, Bar.Bottom - Start - Len, Bar.Right - Inset, Bar.Bottom - Start);
    return Rect(Bar.Left + Start, Bar.Top + Inset, Bar.Left + Start + Len, Bar.Bottom - Inset);
}

} // namespace

void DrawLevelProgressBar(TCanvas* Canvas, const TRect& Rc, int Percentage, const TLevelProgressSettings& S)
{
    if (!Canvas)
        return;
    const int p = Percentage;
    const TColor outline = S.ShowBorder ? S.BorderColor : S.UnCompleteColor;
    Canvas->Brush()->SetColor(S.UnCompleteColor);
    Canvas->Pen()->SetColor(outline);
    Canvas->Rectangle(Rc);

    const int length = (S.Vertical ? Rc.Height() : Rc.Width()) - 2;
    if (p > 0 && S.Stacked) {
        const int s1 = R(std::min(p, S.Level1Perc) / 100.0 * length);
        FillLevel(Canvas, Along(Rc, S.Vertical, 1, s1, 1), LevelColors(S, 0), S);
        int s2 = 0;
        if (p >= S.Level1Perc) {
            s2 = R(length * (std::min(p, S.Level2Perc) - S.Level1Perc) / 100.0);
            FillLevel(Canvas, Along(Rc, S.Vertical, 1 + s1, s2, 1), LevelColors(S, 1), S);
        }
        if (p >= S.Level2Perc) {
            // At 100 the last segment takes the remainder, so the bar is exactly full.
            const int s3 = p == 100 ? length - s1 - s2 : R(length * (p - S.Level2Perc) / 100.0);
            const int lift = S.Vertical ? 1 : 0;
            FillLevel(Canvas, Along(Rc, S.Vertical, 1 + s1 + s2 + lift, s3, 1), LevelColors(S, 3), S);
        }
    } else if (p > 0) {
        const int level = p < S.Level1Perc ? 0 : p < S.Level2Perc ? 1 : p > 99 ? 3 : 2;
        const TLevelColors colors = LevelColors(S, level);
        if (S.CompletionSmooth) {
            FillLevel(Canvas, Along(Rc, S.Vertical, 1, R(p / 100.0 * length), 1), colors, S);
        } else {
            const int t = R(p * length / 100.0);
            if (t > 9) {
                for (int i = 0; i < t / 9; ++i)
                    FillLevel(Canvas, Along(Rc, S.Vertical, 2 + 9 * i, 7, 2), colors, S);
                if (t % 9 > 2)
                    FillLevel(Canvas, Along(Rc, S.Vertical, 2 + 9 * (t / 9), t % 9 - 1, 2), colors, S);
            } else if (t > 1) {
                FillLevel(Canvas, Along(Rc, S.Vertical, 2, t - 1, 2), colors, S);
            }
        }
    }

    if (S.ShowPercentage) {
        if (S.Font)
            Canvas->Font()->Assign(S.Font);
        Canvas->Font()->SetColor(S.CompleteFontColor);
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        const QString text = QString::number(p) + QLatin1Char('%');
        const TSize ext = Canvas->TextExtent(text);
        const int cx = Rc.Left + Rc.Width() / 2, cy = Rc.Top + Rc.Height() / 2;
        if (S.Vertical) {
            const int orientation = Canvas->Font()->Orientation();
            Canvas->Font()->SetOrientation(900);
            Canvas->TextOut(cx - ext.cy / 2, cy + ext.cx / 2, text);
            Canvas->Font()->SetOrientation(orientation);
        } else {
            Canvas->TextOut(cx - ext.cx / 2, cy - ext.cy / 2, text);
        }
    }

    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->Pen()->SetColor(outline);
    Canvas->Rectangle(Rc);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

// ---------------------------------------------------------------------------
// Pie and balance bar

void DrawProgressPie(TCanvas* Canvas, const TRect& Rc, TColor Color, bool Flag, int Percentage)
{
    (void)Flag;
    if (!Canvas)
        return;
    const int w = Rc.Width(), h = Rc.Height();
    const int cx = Rc.Left + w / 2, cy = Rc.Top + h / 2;
    const double a = Percentage / 100.0 * 2 * std::numbers::pi;
    const TPoint end(cx + R((w + 1) / 2.0 * std::sin(a)), cy - R((h + 1) / 2.0 * std::cos(a)));
    // The sector itself is filled, clockwise from the top radius.
    if (Percentage >= 100) {
        SetPenAndBrush(Canvas, Color);
        Canvas->Ellipse(Rc);
    } else if (Percentage > 0) {
        SetPenAndBrush(Canvas, Color);
        Canvas->Pie(Rc.Left, Rc.Top, Rc.Right, Rc.Bottom, end.X, end.Y, cx, Rc.Top);
    }
    Canvas->Pen()->SetColor(RGB(128, 128, 128));
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->Ellipse(Rc);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->MoveTo(cx, Rc.Top);
    Canvas->LineTo(cx, cy);
    Canvas->LineTo(end.X, end.Y);
}

void DrawBalanceBar(
    TCanvas* Canvas, TRect Rc, double Value, TColor PositiveColor, TColor NegativeColor, bool ShowValue, double Max)
{
    if (!Canvas || Max == 0)
        return;
    InflateRect(Rc, -2, -2);
    const int half = Rc.Width() / 2;
    const int mid = Rc.Left + half;
    const double v = std::clamp(Value, -std::abs(Max), std::abs(Max));
    const int extent = R(half * v / std::abs(Max));
    if (extent > 0) {
        SetPenAndBrush(Canvas, PositiveColor);
        Canvas->FillRect(Rect(mid, Rc.Top, mid + extent, Rc.Bottom));
    } else if (extent < 0) {
        SetPenAndBrush(Canvas, NegativeColor);
        Canvas->FillRect(Rect(mid + extent, Rc.Top, mid, Rc.Bottom));
    }
    if (ShowValue) {
        const QString text = FloatToStr(Value);
        const TSize ext = Canvas->TextExtent(text);
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->TextOut(Rc.Left + (Rc.Width() - ext.cx) / 2, Rc.Top + (Rc.Height() - ext.cy) / 2, text);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

// ---------------------------------------------------------------------------
// Error underline

void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const QString& Text, int Length, int First,
    int VerticalOffset, const TRect& Rc)
{
    (void)Owner;
    if (!Canvas || Length <= 0 || First < 0)
        return;
    const int n = int(Text.size());
    // The left edge of character i; past the text, the end (or the last
    // character) plus 4 pixels.
    auto charX = [&](int i) { return Rc.Left + Canvas->TextWidth(Text.left(i)); };
    const int startX = First < n ? charX(First) : charX(n) + 4;
    const int last = First + Length - 1;
    const int endX = last < n ? charX(last) : charX(std::max(n - 1, 0)) + 4;
    const int y = Rc.Top + VerticalOffset;

    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->MoveTo(startX, y + 3);
    bool up = true;
    int x = startX;
    while (x < endX) {
        Canvas->LineTo(x + 3, y + (up ? 0 : 3));
        up = !up;
        x += 3;
    }
    Canvas->LineTo(x, y + (up ? 0 : 3));
    Canvas->Pen()->SetWidth(1);
}

// ---------------------------------------------------------------------------
// Transparent bitmaps

void DrawBitmapTransparent(TCanvas* Canvas, const TBitmap* Bitmap, TColor BackgroundColor, const TRect& Rc)
{
    if (!Canvas || !Bitmap || Bitmap->Width() == 0 || Bitmap->Height() == 0)
        return;
    QImage img = Bitmap->Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = img.pixel(0, 0);
    const TColor bg = ColorToRGB(BackgroundColor);
    // A background of clNone leaves those pixels unpainted.
    const QRgb fill = bg == clNone ? qRgba(0, 0, 0, 0) : qRgb(GetRValue(bg), GetGValue(bg), GetBValue(bg));
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == key)
                line[x] = fill;
    }
    Canvas->Draw(Rc.Left, Rc.Top, img);
}

void DrawResourceBitmap(TCanvas* Canvas, TColor BackgroundColor, const TRect& Rc, const QString& ResourceName)
{
    TBitmap bmp;
    bmp.LoadFromResourceName(ResourceName);
    DrawBitmapTransparent(Canvas, &bmp, BackgroundColor, Rc);
}
