#pragma once
// A list of images of one size, drawn by index: the glyph store of buttons,
// cells and menus. Each image keeps its mask as alpha.

#include "platform/graphics/Colors.h"
#include "platform/runtime/Object.h"

#include <QImage>
#include <QList>
#include <QString>

class TBitmap;
class TCanvas;

class TImageList : public TPersistent {
public:
    explicit TImageList(int AWidth = 16, int AHeight = 16);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size empties the list, as the images no longer fit.
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    int Count() const { return int(FImages.size()); }

    // Masked lists draw through their masks; an unmasked list draws every
    // image as an opaque rectangle.
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value);
    // Fills the image's rectangle before drawing it (clNone: nothing).
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);

    // Adds the bitmap's images: a bitmap wider than the list holds a strip of
    // images side by side (a partial last cell is dropped). With a mask
    // bitmap, its white pixels are transparent. Returns the index of the
    // first image added, -1 when none was.
    int Add(const TBitmap* Image, const TBitmap* Mask = nullptr);
    // The same with pixels of MaskColor transparent; clDefault takes the
    // bitmap's bottom-left pixel.
    int AddMasked(const TBitmap* Image, TColor MaskColor);
    // An already masked image (its alpha is the mask), cut to the list's size.
    int AddImage(const QImage& Image);
    // Replaces one image; an index out of range raises EInvalidOperation.
    void Replace(int Index, const TBitmap* Image, const TBitmap* Mask = nullptr);
    void ReplaceMasked(int Index, const TBitmap* NewImage, TColor MaskColor);
    void Delete(int Index);
    void Clear();
    void Move(int CurIndex, int NewIndex);

    // Disabled images are drawn as a light grey version of themselves. An
    // index out of range draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // Copies the image onto Image (resized to the list's size) over the
    // list's background colour, or white when that is clNone. False for an
    // index out of range.
    bool GetBitmap(int Index, TBitmap* Image) const;
    // The image with its mask as alpha; a null image out of range.
    QImage ImageAt(int Index) const;

    // Replaces the list by the strip of the named bitmap resource, cut into
    // images of the list's width, with MaskColor (clDefault: bottom-left
    // pixel) transparent. Returns false, leaving the list unchanged, for an
    // unknown name.
    bool ResourceLoad(const QString& ResName, TColor MaskColor = clDefault);

    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    int AddStrip(const QImage& Strip);
    QImage Cell(const QImage& Strip, int Index) const;
    void Changed();
    void CheckIndex(int Index) const;

    int FWidth;
    int FHeight;
    bool FMasked = true;
    TColor FBkColor = clNone;
    QList<QImage> FImages; // ARGB32, FWidth x FHeight
};

// The image list as components that take any image list name it.
class TCustomImageList : public TImageList {
public:
    using TImageList::TImageList;
};
