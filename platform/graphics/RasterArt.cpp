#include "platform/graphics/RasterArt.h"

#include <algorithm>
#include <cstring>

namespace art {

QImage TRaster::Make(int w, int h, QRgb fill)
{
    QImage img(std::max(w, 0), std::max(h, 0), QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

void TRaster::Pixel(int x, int y, QRgb c)
{
    const qint64 ix = qint64(x) - FLeft, iy = qint64(y) - FTop;
    if (ix < 0 || iy < 0 || ix >= FImage.width() || iy >= FImage.height())
        return;
    reinterpret_cast<QRgb*>(FImage.scanLine(int(iy)))[ix] = c;
}

QRgb TRaster::PixelAt(int x, int y) const
{
    const qint64 ix = qint64(x) - FLeft, iy = qint64(y) - FTop;
    if (ix < 0 || iy < 0 || ix >= FImage.width() || iy >= FImage.height())
        return 0;
    return reinterpret_cast<const QRgb*>(FImage.constScanLine(int(iy)))[ix];
}

void TRaster::Fill(int x, int y, int w, int h, QRgb c)
{
    const int x0 = int(std::max<qint64>(qint64(x) - FLeft, 0));
    const int y0 = int(std::max<qint64>(qint64(y) - FTop, 0));
    const int x1 = int(std::min<qint64>(qint64(x) - FLeft + w, FImage.width()));
    const int y1 = int(std::min<qint64>(qint64(y) - FTop + h, FImage.height()));
    for (int yy = y0; yy < y1; ++yy) {
        auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(yy));
        std::fill(line + x0, line + std::max(x0, x1), c);
    }
}

void TRaster::Frame(int x, int y, int w, int h, QRgb c)
{
    if (w <= 0 || h <= 0)
        return;
    HLine(x, y, w, c);
    HLine(x, y + h - 1, w, c);
    VLine(x, y, h, c);
    VLine(x + w - 1, y, h, c);
}

void TRaster::RoundFrame(int x, int y, int w, int h, QRgb c)
{
    if (w <= 2 || h <= 2) {
        Frame(x, y, w, h, c);
        return;
    }
    HLine(x + 1, y, w - 2, c);
    HLine(x + 1, y + h - 1, w - 2, c);
    VLine(x, y + 1, h - 2, c);
    VLine(x + w - 1, y + 1, h - 2, c);
}

QRgb Mix(QRgb a, QRgb b, int t, int scale)
{
    if (scale <= 0)
        return a;
    // In 64 bits: a gradient may span millions of pixels.
    auto ch = [&](int ca, int cb) { return int((qint64(ca) * (scale - t) + qint64(cb) * t + scale / 2) / scale); };
    return qRgba(ch(qRed(a), qRed(b)), ch(qGreen(a), qGreen(b)), ch(qBlue(a), qBlue(b)), ch(qAlpha(a), qAlpha(b)));
}

// The steps i of a line of n pixels from `start` that fall on the image's
// [lo, lo + size).
static void KeptSteps(qint64 start, int n, qint64 lo, int size, int& first, int& end)
{
    first = int(std::clamp<qint64>(lo - start, 0, std::max(n, 0)));
    end = int(std::clamp<qint64>(lo + size - start, first, std::max(n, 0)));
}

void TRaster::GradientV(int x, int y, int w, int h, QRgb a, QRgb b)
{
    int first, end;
    KeptSteps(y, h, FTop, FImage.height(), first, end);
    for (int i = first; i < end; ++i)
        HLine(x, y + i, w, Mix(a, b, i, std::max(h - 1, 1)));
}

void TRaster::GradientH(int x, int y, int w, int h, QRgb a, QRgb b)
{
    int first, end;
    KeptSteps(x, w, FLeft, FImage.width(), first, end);
    for (int i = first; i < end; ++i)
        VLine(x + i, y, h, Mix(a, b, i, std::max(w - 1, 1)));
}

// Pixel centres are tested against the circle in doubled coordinates, so the
// arithmetic stays in integers.
static bool InCircle(int px, int py, int d, int r2x4)
{
    const int dx = 2 * px + 1 - d;
    const int dy = 2 * py + 1 - d;
    return dx * dx + dy * dy <= r2x4;
}

void TRaster::Disc(int x, int y, int d, QRgb c)
{
    const int r2 = d * d + d / 2; // a little over the radius: rounder small discs
    for (int py = 0; py < d; ++py)
        for (int px = 0; px < d; ++px)
            if (InCircle(px, py, d, r2))
                Pixel(x + px, y + py, c);
}

void TRaster::Ring(int x, int y, int d, QRgb c)
{
    const int outer = d * d + d / 2;
    const int inner = (d - 2) * (d - 2) + (d - 2) / 2;
    for (int py = 0; py < d; ++py)
        for (int px = 0; px < d; ++px) {
            if (!InCircle(px, py, d, outer))
                continue;
            // Inside the inner disc (centred the same way) means not on the ring.
            const int dx = 2 * px + 1 - d;
            const int dy = 2 * py + 1 - d;
            if (dx * dx + dy * dy > inner)
                Pixel(x + px, y + py, c);
        }
}

void TRaster::Arrow(int cx, int cy, TArrow dir, int size, QRgb c)
{
    for (int i = 0; i < size; ++i) {
        switch (dir) {
        case TArrow::Down: // widest row first
            HLine(cx - (size - 1 - i), cy + i, 2 * (size - 1 - i) + 1, c);
            break;
        case TArrow::Up:
            HLine(cx - i, cy + i, 2 * i + 1, c);
            break;
        case TArrow::Right:
            VLine(cx + i, cy - (size - 1 - i), 2 * (size - 1 - i) + 1, c);
            break;
        case TArrow::Left:
            VLine(cx + i, cy - i, 2 * i + 1, c);
            break;
        }
    }
}

void TRaster::Tick(int x, int y, QRgb c)
{
    // Short stroke down-right, long stroke up-right; two pixels thick.
    static const int drop[7] = { 2, 3, 4, 3, 2, 1, 0 };
    for (int i = 0; i < 7; ++i) {
        Pixel(x + i, y + drop[i], c);
        Pixel(x + i, y + drop[i] + 1, c);
        Pixel(x + i, y + drop[i] + 2, c);
    }
}

void TRaster::Cross(int x, int y, int size, int thick, QRgb c)
{
    for (int i = 0; i < size; ++i) {
        for (int t = 0; t < thick; ++t) {
            Pixel(x + i + t, y + i, c);
            Pixel(x + size - 1 - i - t, y + i, c);
        }
    }
}

void TRaster::Art(
    int x, int y, std::initializer_list<const char*> rows, const char* keys, std::initializer_list<QRgb> colors)
{
    const size_t nkeys = std::strlen(keys);
    int row = 0;
    for (const char* line : rows) {
        for (int col = 0; line[col]; ++col) {
            const char* k = static_cast<const char*>(std::memchr(keys, line[col], nkeys));
            if (k && size_t(k - keys) < colors.size())
                Pixel(x + col, y + row, *(colors.begin() + (k - keys)));
        }
        ++row;
    }
}

void TRaster::Replace(QRgb from, QRgb to)
{
    for (int y = 0; y < FImage.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
        for (int x = 0; x < FImage.width(); ++x)
            if (line[x] == from)
                line[x] = to;
    }
}

QRgb Greyed(QRgb c)
{
    const int lum = (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8;
    const int g = 128 + lum / 2;
    return qRgba(g, g, g, qAlpha(c));
}

} // namespace art
