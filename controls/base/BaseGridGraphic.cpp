// The cell graphic record: its setters, its size for picture kinds and the
// objects it owns.

#include "controls/base/BaseGrid.h"

#include "controls/base/ExObj.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/SysUtils.h"

TCellGraphic::~TCellGraphic()
{
    ReleaseObjects();
}

void TCellGraphic::ReleaseObjects(const TObject* Keep)
{
    auto drop = [Keep](TObject*& Slot) {
        if (Slot != Keep)
            delete Slot;
        Slot = nullptr;
    };
    switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (FCellCreated)
            drop(CellBitmap);
        break;
    case ctImages:
    case ctBalloon:
        drop(CellBitmap);
        break;
    case ctIcon:
        if (FCellCreated)
            drop(CellIcon);
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
        if (FCellAngle == 1)
            drop(CellBitmap);
        break;
    default:
        break;
    }
    if (CellBitmap != Keep)
        CellBitmap = nullptr;
    if (CellIcon != Keep)
        CellIcon = nullptr;
    FCellCreated = false;
}

void TCellGraphic::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TCellGraphic*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this)
        return;
    // What this record owned goes: the references are not carried over.
    ReleaseObjects();
    FCellType = s->FCellType;
    FCellVAlign = s->FCellVAlign;
    FCellHAlign = s->FCellHAlign;
    FCellIndex = s->FCellIndex;
    FCellTransparent = s->FCellTransparent;
    FCellValue = s->FCellValue;
    FCellAngle = s->FCellAngle;
    FCellBoolean = s->FCellBoolean;
    FCellErrFrom = s->FCellErrFrom;
    FCellErrLen = s->FCellErrLen;
    FCellText = s->FCellText;
    FCellColor = s->FCellColor;
    FCellColor2 = s->FCellColor2;
    // The objects stay with the source, so the copy must not free them.
    FCellCreated = false;
}

void TCellGraphic::SetPlaced(TCellType Kind, TCellHAlign hal, TCellVAlign val)
{
    FCellType = Kind;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetInterfacedCell(TObject* AObject)
{
    ReleaseObjects(AObject);
    FCellType = ctInterface;
    CellBitmap = AObject;
}

void TCellGraphic::SetBitmap(TBitmap* ABitmap, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects(ABitmap);
    SetPlaced(ctBitmap, hal, val);
    CellBitmap = ABitmap;
    FCellTransparent = Transparent;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects();
    SetPlaced(ctButton, hal, val);
    FCellIndex = int((unsigned(bh) << 16) | (unsigned(bw) & 0xFFFFu));
    FCellBoolean = false;
    FCellText = Caption;
}

void TCellGraphic::SetBitButton(
    int bw, int bh, const QString& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects(Glyph);
    SetButton(bw, bh, Caption, hal, val);
    FCellType = ctBitButton;
    CellBitmap = Glyph;
}

void TCellGraphic::SetPictureKind(TCellType Kind, TObject* APicture, bool Transparent, TStretchMode StretchMode,
    int Padding, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects(APicture);
    SetPlaced(Kind, hal, val);
    CellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = Padding;
}

void TCellGraphic::SetPicture(
    TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    SetPictureKind(ctPicture, APicture, Transparent, StretchMode, Padding, hal, val);
}

void TCellGraphic::SetFilePicture(
    TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    SetPictureKind(ctFilePicture, APicture, Transparent, StretchMode, Padding, hal, val);
}

TPoint TCellGraphic::GetPictureSize(int W, int H, bool HasText) const
{
    TPoint r(0, 0);
    GetPictureSize(W, H, HasText, r);
    return r;
}

void TCellGraphic::GetPictureSize(int W, int H, bool HasText, TPoint& Result) const
{
    (void)HasText;
    int w = 0, h = 0;
    if (FCellType == ctPicture) {
        if (const auto* p = dynamic_cast<const TPicture*>(CellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else if (FCellType == ctFilePicture) {
        if (const auto* p = dynamic_cast<const TFilePicture*>(CellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else
        return;
    W -= FCellIndex;
    H -= FCellIndex;
    auto aspect = [&](bool Cap) {
        double rx = w > 0 ? double(W) / w : 1.0;
        double ry = h > 0 ? double(H) / h : 1.0;
        if (Cap) {
            rx = std::min(rx, 1.0);
            ry = std::min(ry, 1.0);
        }
        if (rx >= ry)
            Result = TPoint(int(Round(w * ry)), H);
        else
            Result = TPoint(W, int(Round(h * rx)));
    };
    switch (TStretchMode(FCellAngle)) {
    case TStretchMode::Stretch:
        Result = TPoint(W, H);
        break;
    case TStretchMode::StretchWithAspectRatio:
        aspect(false);
        break;
    case TStretchMode::Shrink:
        Result = (w > W || h > H) ? TPoint(W, H) : TPoint(w, h);
        break;
    case TStretchMode::ShrinkWithAspectRatio:
        if (w <= W && h <= H)
            Result = TPoint(w, h);
        else
            aspect(true);
        break;
    default:
        Result = TPoint(w, h);
        break;
    }
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects();
    SetPlaced(Data ? ctDataCheckBox : ctCheckBox, hal, val);
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects();
    SetPlaced(ctTriStateCheckBox, hal, val);
    FCellCheckBoxState = State;
    FCellBoolean = false;
    FCellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects();
    SetPlaced(ctRadioButton, hal, val);
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
}

void TCellGraphic::SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects(AIcon);
    SetPlaced(ctIcon, hal, val);
    CellIcon = AIcon;
}

void TCellGraphic::SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects();
    SetPlaced(ctDataImage, hal, val);
    FCellIndex = Idx;
}

void TCellGraphic::SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val)
{
    ReleaseObjects();
    SetPlaced(ctImageList, hal, val);
    FCellIndex = Idx;
}

void TCellGraphic::SetMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val,
    const std::function<void(TObject*, int, int)>& OnChange)
{
    ReleaseObjects();
    SetPlaced(ctImages, hal, val);
    FCellBoolean = Dir == 0;
    auto* l = new TIntList(ACol, ARow);
    l->OnChange = OnChange;
    CellBitmap = l;
    FCellCreated = true;
}

void TCellGraphic::SetAngle(short AAngle)
{
    ReleaseObjects();
    FCellType = ctRotated;
    int a = AAngle;
    while (a < 0)
        a += 360;
    while (a > 360)
        a -= 360;
    FCellAngle = a;
}
