#pragma once
// Pixel-exact drawing on a 32-bit image, for glyphs and theme parts that must
// come out the same on every machine: only whole pixels, no antialiasing, no
// fonts, integer arithmetic throughout.

#include <QImage>
#include <QRgb>

#include <initializer_list>

namespace art {

enum class TArrow { Up, Down, Left, Right };

class TRaster {
public:
    // Wraps an existing ARGB32 image (not copied; the image must outlive the raster).
    explicit TRaster(QImage& image)
        : FImage(image)
        , FWidth(image.width())
        , FHeight(image.height())
    {
    }
    // Wraps an image that holds the part of a Width x Height picture from
    // (Left, Top): drawing takes the picture's coordinates and leaves out
    // what falls outside the image, so a picture far larger than any screen
    // costs what is kept of it.
    TRaster(QImage& image, int Left, int Top, int Width, int Height)
        : FImage(image)
        , FLeft(Left)
        , FTop(Top)
        , FWidth(Width)
        , FHeight(Height)
    {
    }
    // A new image of w x h filled with `fill` (transparent by default).
    static QImage Make(int w, int h, QRgb fill = 0);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    void Pixel(int x, int y, QRgb c);
    QRgb PixelAt(int x, int y) const;
    // Rectangles are x, y, width, height; everything is clipped to the image.
    // Gradients compute only the lines that are kept.
    void Fill(int x, int y, int w, int h, QRgb c);
    void HLine(int x, int y, int w, QRgb c) { Fill(x, y, w, 1, c); }
    void VLine(int x, int y, int h, QRgb c) { Fill(x, y, 1, h, c); }
    void Frame(int x, int y, int w, int h, QRgb c);
    // Frame with the four corner pixels left out (a slightly rounded box).
    void RoundFrame(int x, int y, int w, int h, QRgb c);
    // Top-to-bottom gradient (or left-to-right) from `a` to `b`, both ends included.
    void GradientV(int x, int y, int w, int h, QRgb a, QRgb b);
    void GradientH(int x, int y, int w, int h, QRgb a, QRgb b);
    // Filled disc and one-pixel ring inside the square (x, y, d, d).
    void Disc(int x, int y, int d, QRgb c);
    void Ring(int x, int y, int d, QRgb c);
    // A filled arrow head pointing `dir`, `size` pixels deep. For Up and Down,
    // cx is the centre column and cy the first row; for Left and Right, cx is
    // the first column and cy the centre row.
    void Arrow(int cx, int cy, TArrow dir, int size, QRgb c);
    // A check mark in a box of 7 x 7 at (x, y), two pixels thick.
    void Tick(int x, int y, QRgb c);
    // A diagonal cross of `size` pixels, `thick` wide (1 or 2).
    void Cross(int x, int y, int size, int thick, QRgb c);
    // Draws rows of characters; each character is looked up in `keys`/`colors`
    // (same length); any other character leaves the pixel alone.
    void Art(
        int x, int y, std::initializer_list<const char*> rows, const char* keys, std::initializer_list<QRgb> colors);
    // Replaces every pixel of colour `from` with `to`.
    void Replace(QRgb from, QRgb to);

private:
    QImage& FImage;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
};

// Channel-wise mix: t of 0 gives a, t of `scale` gives b (integer rounding).
QRgb Mix(QRgb a, QRgb b, int t, int scale);
// Luminance-preserving grey used for disabled glyphs: lifted towards `light`.
QRgb Greyed(QRgb c);

} // namespace art
