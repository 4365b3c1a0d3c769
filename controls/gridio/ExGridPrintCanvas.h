#pragma once
// A canvas in the print engine's metric units: 0.1 mm, the y axis pointing
// up (the page's top edge is y = 0, further down is more negative). Points
// convert one by one to the device (x * dpi / 254, -y * dpi / 254) so text
// stays upright; nothing is mirrored. Counting passes and tests measure
// through the same interface.

#include <QString>

#include "platform/graphics/Graphics.h"

class TMetricCanvas {
public:
    // Draws on Canvas (attached) with the device origin at Origin (device
    // pixels); nullptr measures with the canvas' font only and draws nothing.
    explicit TMetricCanvas(TCanvas* Canvas, TPoint Origin = {});
    virtual ~TMetricCanvas() = default;

    TCanvas* Canvas() const { return FCanvas; }
    int DpiX() const { return FDpiX; }
    int DpiY() const { return FDpiY; }

    // Logical <-> device.
    int ToDeviceX(int x) const;
    int ToDeviceY(int y) const;
    TRect ToDevice(const TRect& r) const;
    TRect ToLogical(const TRect& deviceRect) const;

    // Selects Font with a logical height (negative: character height) and an
    // escapement in tenths of a degree.
    virtual void SelectFont(const TFont& Font, int LogicalHeight, int Escapement = 0);
    virtual int TextWidth(const QString& Text);
    virtual int TextHeight(const QString& Text);
    // Top-left of the text at (x, y), in the selected font's colour.
    virtual void TextOut(int x, int y, const QString& Text);
    // The same, clipped to Clip.
    virtual void TextRect(const TRect& Clip, int x, int y, const QString& Text);
    virtual void Line(int x1, int y1, int x2, int y2, TColor Color, int Width, TPenStyle Style);
    virtual void FillRect(const TRect& r, TColor Color);
    // Steps bands from From to To, left to right or top to bottom.
    virtual void Gradient(const TRect& r, TColor From, TColor To, bool Horizontal, int Steps);
    // A mark-up text: its size within MaxWidth, and drawn into r; Scale is
    // the device's resolution over the screen's.
    virtual TPoint MarkupSize(const QString& Text, int MaxWidth);
    virtual void Markup(const TRect& r, const QString& Text, TColor URLColor);
    // A picture stretched into r.
    virtual void StretchDraw(const TRect& r, const QImage& Image);

protected:
    TCanvas* FCanvas;
    TPoint FOrigin;
    int FDpiX = 96;
    int FDpiY = 96;
};
