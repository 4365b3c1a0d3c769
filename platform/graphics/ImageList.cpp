#include "platform/graphics/ImageList.h"

#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/RasterArt.h"
#include "platform/graphics/Resources.h"
#include "platform/runtime/Exceptions.h"

#include <algorithm>

namespace {

// The bitmap's pixels as ARGB32; only a 32-bit bitmap brings its own alpha.
QImage Pixels(const TBitmap* bmp)
{
    if (!bmp || bmp->Empty())
        return QImage();
    QImage img = bmp->Image().convertToFormat(QImage::Format_ARGB32);
    if (bmp->PixelFormat() != TPixelFormat::pf32bit) {
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] |= 0xFF000000;
        }
    }
    return img;
}

// Clears the alpha of pixels selected by `hidden`, keeping their colour so an
// unmasked draw can still show it.
template <class Pred> void HidePixels(QImage& img, Pred hidden)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (hidden(x, y, line[x]))
                line[x] &= 0x00FFFFFF;
    }
}

QImage ApplyMaskBitmap(QImage img, const TBitmap* mask)
{
    if (!mask || mask->Empty())
        return img;
    const QImage& m = mask->Image();
    HidePixels(img, [&](int x, int y, QRgb) {
        if (x >= m.width() || y >= m.height())
            return false;
        return qGray(m.pixel(x, y)) >= 128; // white in the mask: transparent
    });
    return img;
}

QImage ApplyMaskColor(QImage img, TColor maskColor)
{
    if (img.isNull())
        return img;
    QRgb key;
    if (maskColor == clDefault) {
        key = img.pixel(0, img.height() - 1) | 0xFF000000;
    } else {
        const TColor c = ColorToRGB(maskColor);
        key = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
    HidePixels(img, [&](int, int, QRgb p) { return (p | 0xFF000000) == key; });
    return img;
}

} // namespace

TImageList::TImageList(int AWidth, int AHeight)
    : FWidth(std::max(AWidth, 1))
    , FHeight(std::max(AHeight, 1))
{
}

TImageList::~TImageList() = default;

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TImageList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index %1").arg(Index));
}

void TImageList::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 1);
    AHeight = std::max(AHeight, 1);
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    FImages.clear();
    Changed();
}

void TImageList::SetMasked(bool Value)
{
    if (FMasked == Value)
        return;
    FMasked = Value;
    Changed();
}

void TImageList::SetBkColor(TColor Value)
{
    if (FBkColor == Value)
        return;
    FBkColor = Value;
    Changed();
}

QImage TImageList::Cell(const QImage& Strip, int Index) const
{
    QImage cell = art::TRaster::Make(FWidth, FHeight, 0);
    const int w = std::min(FWidth, Strip.width() - Index * FWidth);
    const int h = std::min(FHeight, Strip.height());
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(Strip.constScanLine(y)) + Index * FWidth;
        std::copy(src, src + std::max(w, 0), reinterpret_cast<QRgb*>(cell.scanLine(y)));
    }
    return cell;
}

int TImageList::AddStrip(const QImage& Strip)
{
    if (Strip.isNull())
        return -1;
    const int first = Count();
    const int cells = std::max(1, Strip.width() / FWidth);
    for (int i = 0; i < cells; ++i)
        FImages.append(Cell(Strip, i));
    Changed();
    return first;
}

int TImageList::Add(const TBitmap* Image, const TBitmap* Mask)
{
    return AddStrip(ApplyMaskBitmap(Pixels(Image), Mask));
}

int TImageList::AddMasked(const TBitmap* Image, TColor MaskColor)
{
    return AddStrip(ApplyMaskColor(Pixels(Image), MaskColor));
}

int TImageList::AddImage(const QImage& Image)
{
    if (Image.isNull())
        return -1;
    FImages.append(Cell(Image.convertToFormat(QImage::Format_ARGB32), 0));
    Changed();
    return Count() - 1;
}

void TImageList::Replace(int Index, const TBitmap* Image, const TBitmap* Mask)
{
    CheckIndex(Index);
    const QImage strip = ApplyMaskBitmap(Pixels(Image), Mask);
    if (strip.isNull())
        return;
    FImages[Index] = Cell(strip, 0);
    Changed();
}

void TImageList::ReplaceMasked(int Index, const TBitmap* NewImage, TColor MaskColor)
{
    CheckIndex(Index);
    const QImage strip = ApplyMaskColor(Pixels(NewImage), MaskColor);
    if (strip.isNull())
        return;
    FImages[Index] = Cell(strip, 0);
    Changed();
}

void TImageList::Delete(int Index)
{
    CheckIndex(Index);
    FImages.removeAt(Index);
    Changed();
}

void TImageList::Clear()
{
    if (FImages.isEmpty())
        return;
    FImages.clear();
    Changed();
}

void TImageList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    FImages.move(CurIndex, NewIndex);
    Changed();
}

QImage TImageList::ImageAt(int Index) const
{
    if (Index < 0 || Index >= Count())
        return QImage();
    return FImages[Index];
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    QImage img = FImages[Index];
    if (!FMasked) {
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] |= 0xFF000000;
        }
    }
    if (!Enabled) {
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(line[x]))
                    line[x] = art::Greyed(line[x]);
        }
    }
    if (FBkColor != clNone) {
        const TColor bk = ColorToRGB(FBkColor);
        QImage back = art::TRaster::Make(FWidth, FHeight, qRgb(GetRValue(bk), GetGValue(bk), GetBValue(bk)));
        TCanvas c;
        c.BeginDraw(&back);
        c.Draw(0, 0, img);
        c.EndDraw();
        img = back;
    }
    Canvas->Draw(X, Y, img);
}

bool TImageList::GetBitmap(int Index, TBitmap* Image) const
{
    if (!Image || Index < 0 || Index >= Count())
        return false;
    const TColor bk = FBkColor == clNone ? clWhite : ColorToRGB(FBkColor);
    QImage out = art::TRaster::Make(FWidth, FHeight, qRgb(GetRValue(bk), GetGValue(bk), GetBValue(bk)));
    TCanvas c;
    c.BeginDraw(&out);
    c.Draw(0, 0, FImages[Index]);
    c.EndDraw();
    Image->SetImage(out.convertToFormat(QImage::Format_RGB32));
    return true;
}

bool TImageList::ResourceLoad(const QString& ResName, TColor MaskColor)
{
    const QImage strip = resources::Bitmap(ResName);
    if (strip.isNull())
        return false;
    FImages.clear();
    AddStrip(ApplyMaskColor(strip.convertToFormat(QImage::Format_ARGB32), MaskColor));
    return true;
}

void TImageList::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (const auto* other = dynamic_cast<const TImageList*>(Source)) {
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        FMasked = other->FMasked;
        FBkColor = other->FBkColor;
        FImages = other->FImages;
        Changed();
        return;
    }
    if (!Source) {
        Clear();
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign to a TImageList"));
}
