#include "controls/gridio/ExGridPrintCanvas.h"

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtilDraw.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

TMetricCanvas::TMetricCanvas(TCanvas* Canvas, TPoint Origin)
    : FCanvas(Canvas)
    , FOrigin(Origin)
{
    if (FCanvas) {
        FDpiX = std::max(1, FCanvas->PixelsPerInchX());
        FDpiY = std::max(1, FCanvas->PixelsPerInchY());
    }
}

int TMetricCanvas::ToDeviceX(int x) const
{
    return FOrigin.X + int(std::lround(double(x) * FDpiX / 254.0));
}

int TMetricCanvas::ToDeviceY(int y) const
{
    return FOrigin.Y + int(std::lround(double(-y) * FDpiY / 254.0));
}

TRect TMetricCanvas::ToDevice(const TRect& r) const
{
    return { ToDeviceX(r.Left), ToDeviceY(r.Top), ToDeviceX(r.Right), ToDeviceY(r.Bottom) };
}

TRect TMetricCanvas::ToLogical(const TRect& d) const
{
    auto lx = [&](int x) { return int(std::lround(double(x - FOrigin.X) * 254.0 / FDpiX)); };
    auto ly = [&](int y) { return -int(std::lround(double(y - FOrigin.Y) * 254.0 / FDpiY)); };
    return { lx(d.Left), ly(d.Top), lx(d.Right), ly(d.Bottom) };
}

void TMetricCanvas::SelectFont(const TFont& Font, int LogicalHeight, int Escapement)
{
    if (!FCanvas)
        return;
    TFont* f = FCanvas->Font();
    f->Assign(&Font);
    const int px = std::max(1, int(std::lround(std::abs(double(LogicalHeight)) * FDpiY / 254.0)));
    f->SetHeight(LogicalHeight < 0 ? -px : px);
    f->SetOrientation(Escapement);
}

int TMetricCanvas::TextWidth(const QString& Text)
{
    if (!FCanvas)
        return 0;
    return int(std::lround(FCanvas->TextWidth(Text) * 254.0 / FDpiX));
}

int TMetricCanvas::TextHeight(const QString& Text)
{
    if (!FCanvas)
        return 0;
    return int(std::lround(FCanvas->TextHeight(Text) * 254.0 / FDpiY));
}

void TMetricCanvas::TextOut(int x, int y, const QString& Text)
{
    if (!FCanvas || !FCanvas->HandleAllocated())
        return;
    FCanvas->SetBkMode(TRANSPARENT);
    FCanvas->TextOut(ToDeviceX(x), ToDeviceY(y), Text);
}

void TMetricCanvas::TextRect(const TRect& Clip, int x, int y, const QString& Text)
{
    if (!FCanvas || !FCanvas->HandleAllocated())
        return;
    FCanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    FCanvas->TextRect(ToDevice(Clip), ToDeviceX(x), ToDeviceY(y), Text);
}

void TMetricCanvas::Line(int x1, int y1, int x2, int y2, TColor Color, int Width, TPenStyle Style)
{
    if (!FCanvas || !FCanvas->HandleAllocated() || Style == TPenStyle::psClear)
        return;
    TPen* p = FCanvas->Pen();
    p->SetColor(Color);
    p->SetStyle(Style);
    p->SetWidth(std::max(1, int(std::lround(double(Width) * FDpiX / 254.0))));
    FCanvas->MoveTo(ToDeviceX(x1), ToDeviceY(y1));
    FCanvas->LineTo(ToDeviceX(x2), ToDeviceY(y2));
}

void TMetricCanvas::FillRect(const TRect& r, TColor Color)
{
    if (!FCanvas || !FCanvas->HandleAllocated())
        return;
    FCanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    FCanvas->Brush()->SetColor(Color);
    FCanvas->FillRect(ToDevice(r));
}

void TMetricCanvas::StretchDraw(const TRect& r, const QImage& Image)
{
    if (!FCanvas || !FCanvas->HandleAllocated() || Image.isNull())
        return;
    FCanvas->StretchDraw(ToDevice(r), Image);
}

void TMetricCanvas::Gradient(const TRect& r, TColor From, TColor To, bool Horizontal, int Steps)
{
    if (!FCanvas || !FCanvas->HandleAllocated())
        return;
    DrawGradient(FCanvas, From, To, Horizontal, ToDevice(r), Steps);
}

TPoint TMetricCanvas::MarkupSize(const QString& Text, int MaxWidth)
{
    if (!FCanvas)
        return {};
    THTMLDrawInput in;
    in.Canvas = FCanvas;
    in.Text = Text;
    in.Rect = TRect(0, 0, int(std::lround(double(MaxWidth) * FDpiX / 254.0)), 65535);
    in.CheckHeight = true;
    in.Print = true;
    in.ResFactor = double(FDpiX) / ScreenPixelsPerInch;
    THTMLDrawOutput out;
    DrawHTMLText(in, out);
    return { int(std::lround(out.XSize * 254.0 / FDpiX)), int(std::lround(out.YSize * 254.0 / FDpiY)) };
}

void TMetricCanvas::Markup(const TRect& r, const QString& Text, TColor URLColor)
{
    if (!FCanvas || !FCanvas->HandleAllocated())
        return;
    THTMLDrawInput in;
    in.Canvas = FCanvas;
    in.Text = Text;
    in.Rect = ToDevice(r);
    in.Print = true;
    in.ResFactor = double(FDpiX) / ScreenPixelsPerInch;
    in.URLColor = URLColor;
    THTMLDrawOutput out;
    DrawHTMLText(in, out);
}
