#pragma once
// The grid's helper windows and bitmaps: the arrow pop-ups shown while columns
// are moved, the focus window that draws the glow around the focused cell, and
// the 32-bit alpha mask of that glow.

#include "controls/base/ExObjOptions.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/HelperWindows.h"
#include "platform/graphics/Bitmaps.h"

#include <array>

class TArrowWindow : public TTopLevelWindow<TPanel> {
public:
    // Green, parented to AOwner and hidden; its window is shaped as the arrow.
    TArrowWindow(TWinControl* AOwner, TArrowDirection Direction);
    QString ClassName() const override { return QStringLiteral("TArrowWindow"); }

    TArrowDirection Dir() const { return FDir; }
    // The seven points of the arrow, from the window's top-left corner.
    const std::array<TPoint, 7>& Arrow() const { return FArrow; }
    static std::array<TPoint, 7> ArrowPoints(TArrowDirection Direction);

protected:
    void Paint() override;

private:
    TArrowDirection FDir;
    std::array<TPoint, 7> FArrow;
};

// A disabled, topmost tool window, 0 x 0 and hidden until the grid sizes,
// shapes, fills and shows it.
class TGridFocusWindow : public TTopLevelWindow<TCustomControl> {
public:
    explicit TGridFocusWindow(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridFocusWindow"); }
};

// A bitmap that is always 32 bits per pixel, with premultiplied alpha.
class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask();
    QString ClassName() const override { return QStringLiteral("TGridAlphaMask"); }

    // From another alpha mask: its size, opacity and pixels; from any other
    // picture the bitmap's own assignment. 32 bits per pixel afterwards.
    void Assign(const TPersistent* Source) override;
    // Only for a 24-bit Bitmap: takes its size; alpha is the red byte of the
    // mask's pixel (0 outside the mask), the colours the bitmap's premultiplied.
    void MergeMask(const TBitmap* Mask, const TBitmap* Bitmap, TColor Color);

    unsigned char Opacity = 255;
};

// A 24-bit bitmap of the given size: black with a white rounded rectangle,
// filled for a pen width below 1, else outlined, softened by a blur.
void MakeGlowMask(TBitmap* Bitmap, int Width, int Height, int Blur, int Corner, int PenWidth);
// Separable Gaussian blur; raises Exception for anything but a 24-bit bitmap.
void BlurBitmap(TBitmap* Bitmap, double Sigma);
