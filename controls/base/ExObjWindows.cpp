#include "controls/base/ExObjWindows.h"

#include "platform/runtime/Exceptions.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <vector>

// ---------------------------------------------------------------------------
// TArrowWindow

std::array<TPoint, 7> TArrowWindow::ArrowPoints(TArrowDirection Direction)
{
    switch (Direction) {
    case TArrowDirection::arrUp:
        return { { { 5, 0 }, { 10, 5 }, { 7, 5 }, { 7, 9 }, { 3, 9 }, { 3, 5 }, { 0, 5 } } };
    case TArrowDirection::arrDown:
        return { { { 3, 0 }, { 7, 0 }, { 7, 4 }, { 9, 4 }, { 5, 8 }, { 1, 4 }, { 3, 4 } } };
    case TArrowDirection::arrLeft:
        return { { { 0, 3 }, { 0, 7 }, { 4, 7 }, { 4, 10 }, { 8, 5 }, { 4, 0 }, { 4, 3 } } };
    case TArrowDirection::arrRight:
        return { { { 0, 5 }, { 4, 10 }, { 4, 7 }, { 8, 7 }, { 8, 3 }, { 4, 3 }, { 4, 0 } } };
    }
    return {};
}

TArrowWindow::TArrowWindow(TWinControl* AOwner, TArrowDirection Direction)
    : TTopLevelWindow<TPanel>(AOwner)
    , FDir(Direction)
    , FArrow(ArrowPoints(Direction))
{
    SetColor(0x00FF00);
    SetParent(AOwner);
    SetVisible(false);
    SetWindowRegion(FArrow);
}

void TArrowWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->SetColor(Color());
    c->Brush()->SetColor(Color());
    c->Rectangle(ClientRect());
}

// ---------------------------------------------------------------------------
// TGridFocusWindow

TGridFocusWindow::TGridFocusWindow(TComponent* AOwner)
    : TTopLevelWindow<TCustomControl>(AOwner)
{
    SetVisible(false);
    SetBounds(Left(), Top(), 0, 0);
    SetColor(0x0000FF);
    SetEnabled(false);
    SetTopMost(true);
    SetToolWindow(true);
}

// ---------------------------------------------------------------------------
// TGridAlphaMask

TGridAlphaMask::TGridAlphaMask()
{
    SetPixelFormat(TPixelFormat::pf32bit);
}

void TGridAlphaMask::Assign(const TPersistent* Source)
{
    if (const auto* src = dynamic_cast<const TGridAlphaMask*>(Source)) {
        if (src == this)
            return;
        Opacity = src->Opacity;
        // The source's size first: copying into a smaller mask would overrun it.
        SetPixelFormat(TPixelFormat::pf32bit);
        SetSize(src->Width(), src->Height());
        QImage pixels = src->Image().copy();
        if (!pixels.isNull())
            pixels.reinterpretAsFormat(QImage::Format_ARGB32);
        SetImage(pixels);
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(TPixelFormat::pf32bit);
}

void TGridAlphaMask::MergeMask(const TBitmap* Mask, const TBitmap* Bitmap, TColor Color)
{
    (void)Color;
    if (!Bitmap || Bitmap->PixelFormat() != TPixelFormat::pf24bit)
        return;
    const int w = Bitmap->Width();
    const int h = Bitmap->Height();
    const QImage& src = Bitmap->Image();
    const QImage empty;
    const QImage& mask = Mask ? Mask->Image() : empty;
    QImage out(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        const QRgb* m = y < mask.height() ? reinterpret_cast<const QRgb*>(mask.constScanLine(y)) : nullptr;
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // A pixel outside a smaller mask is transparent.
            const int a = m && x < mask.width() ? qRed(m[x]) : 0;
            auto pre = [a](int c) { return int(std::lround(c * a / 255.0)); };
            d[x] = qRgba(pre(qRed(s[x])), pre(qGreen(s[x])), pre(qBlue(s[x])), a);
        }
    }
    SetPixelFormat(TPixelFormat::pf32bit);
    SetImage(out);
}

// ---------------------------------------------------------------------------
// Glow mask and blur

void MakeGlowMask(TBitmap* Bitmap, int Width, int Height, int Blur, int Corner, int PenWidth)
{
    if (!Bitmap)
        return;
    Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    Bitmap->SetSize(Width, Height);
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, Width, Height));
    const int p = PenWidth / 2;
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(clWhite);
    if (PenWidth < 1) {
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(clWhite);
    } else {
        c->Pen()->SetWidth(PenWidth);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
    }
    c->RoundRect(p + 2, p + 2, Width - p - 2, Height - p - 2, Corner, Corner);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (Blur > 0)
        BlurBitmap(Bitmap, Blur);
}

namespace {

// Blurs `count` pixels spaced `step` apart, starting at `line`, into `out`.
void BlurLine(const QRgb* line, int count, int step, const double* weights, int radius, std::vector<QRgb>& out)
{
    out.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        double r = 0, g = 0, b = 0;
        for (int k = -radius; k <= radius; ++k) {
            const QRgb px = line[size_t(std::clamp(i + k, 0, count - 1)) * size_t(step)];
            const double w = weights[k + 10];
            r += w * qRed(px);
            g += w * qGreen(px);
            b += w * qBlue(px);
        }
        // The weights sum to 1 up to rounding; the small lift keeps a full
        // channel at 255 after truncation.
        auto channel = [](double v) { return std::clamp(int(v + 1e-6), 0, 255); };
        out[size_t(i)] = qRgb(channel(r), channel(g), channel(b));
    }
}

} // namespace

void BlurBitmap(TBitmap* Bitmap, double Sigma)
{
    if (!Bitmap)
        return;
    if (Bitmap->PixelFormat() != TPixelFormat::pf24bit)
        throw Exception(QStringLiteral("Blur only works for 24-bit bitmaps"));
    if (Sigma <= 0)
        return;
    double weights[21];
    double sum = 0;
    for (int i = 0; i <= 20; ++i) {
        const double d = (i - 10) / Sigma;
        weights[i] = std::exp(-d * d / 2);
        sum += weights[i];
    }
    for (double& w : weights)
        w /= sum;
    int radius = 10;
    double cut = 0;
    while (cut < 1.0 / 510 && radius > 1) {
        cut += 2 * weights[10 + radius];
        --radius;
    }
    sum = 0;
    for (int i = 10 - radius; i <= 10 + radius; ++i)
        sum += weights[i];
    for (int i = 10 - radius; i <= 10 + radius; ++i)
        weights[i] /= sum;

    QImage img = Bitmap->Image().convertToFormat(QImage::Format_RGB32);
    const int w = img.width();
    const int h = img.height();
    if (w == 0 || h == 0)
        return;
    std::vector<QRgb> out;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        BlurLine(line, w, 1, weights, radius, out);
        std::copy(out.begin(), out.end(), line);
    }
    const int stride = int(img.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(img.bits());
    for (int x = 0; x < w; ++x) {
        BlurLine(bits + x, h, stride, weights, radius, out);
        for (int y = 0; y < h; ++y)
            bits[size_t(y) * size_t(stride) + size_t(x)] = out[size_t(y)];
    }
    Bitmap->SetImage(img);
}
