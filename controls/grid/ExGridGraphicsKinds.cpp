// The in-cell graphics, one family per kind: add, create, read, change and
// remove, all on the cell's one graphic record.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/SysUtils.h"

TCellGraphic* TExStringGrid::OwnCellGraphic(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

void TExStringGrid::RepaintGraphicCell(int ACol, int ARow)
{
    RepaintCell(DisplColIndex(ACol), ARow);
}

// ---------------------------------------------------------------------------
// Bitmaps, pictures and icons

void TExStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* TExStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    auto* bmp = new TBitmap();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitmap(bmp, Transparent, hal, val);
    g->SetCellCreated(true);
    return bmp;
}

TBitmap* TExStringGrid::GetBitmap(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) != ctBitmap)
        return nullptr;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? dynamic_cast<TBitmap*>(g->CellBitmap) : nullptr;
}

void TExStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
    int Padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TExStringGrid::CreatePicture(
    int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    auto* pic = new TPicture();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetPicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TPicture* TExStringGrid::GetPicture(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) != ctPicture)
        return nullptr;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? dynamic_cast<TPicture*>(g->CellBitmap) : nullptr;
}

void TExStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent,
    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetFilePicture(AFilePicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TExStringGrid::CreateFilePicture(
    int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    auto* pic = new TFilePicture();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetFilePicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TFilePicture* TExStringGrid::GetFilePicture(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) != ctFilePicture)
        return nullptr;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? dynamic_cast<TFilePicture*>(g->CellBitmap) : nullptr;
}

void TExStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

TIcon* TExStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val)
{
    auto* icon = new TIcon();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetIcon(icon, hal, val);
    g->SetCellCreated(true);
    return icon;
}

// ---------------------------------------------------------------------------
// Images of the grid's image list

void TExStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (FGridImages)
        CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool TExStringGrid::GetImageIdx(int ACol, int ARow, int& idx)
{
    if (!FGridImages || GetCellType(ACol, ARow) != ctImageList)
        return false;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    idx = g->CellIndex();
    return true;
}

void TExStringGrid::SetImageIdx(int ACol, int ARow, int Idx)
{
    if (!FGridImages || GetCellType(ACol, ARow) != ctImageList)
        return;
    if (TCellGraphic* g = GetCellGraphic(ACol, ARow))
        g->SetCellIndex(Idx);
}

void TExStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (GetCellEx(ACol, ARow).isEmpty())
        SetInts(ACol, ARow, Aidx);
}

void TExStringGrid::RemoveDataImage(int ACol, int ARow)
{
    if (RemoveCellGraphicOfType(ACol, ARow, ctDataImage))
        SetCellEx(ACol, ARow, QString());
}

void TExStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Dir, hal, val, [this](TObject*, int c, int r) {
        RepaintGraphicCell(c, r);
    });
}

// ---------------------------------------------------------------------------
// Rotated text and interfaced cells

void TExStringGrid::AddRotated(int ACol, int ARow, short AAngle, const QString& s)
{
    CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
    SetCellEx(ACol, ARow, s);
}

void TExStringGrid::SetRotated(int ACol, int ARow, short AAngle)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g)
        g = CreateCellGraphic(ACol, ARow);
    g->SetAngle(AAngle);
}

bool TExStringGrid::IsRotated(int ACol, int ARow, int& aAngle)
{
    if (GetCellType(ACol, ARow) != ctRotated)
        return false;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    aAngle = g->CellAngle();
    return true;
}

void TExStringGrid::AddInterfacedCell(int ACol, int ARow, TObject* AObject)
{
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

TObject* TExStringGrid::GetInterfacedCell(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) != ctInterface)
        return nullptr;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g ? g->CellBitmap : nullptr;
}

// ---------------------------------------------------------------------------
// Progress bars, pies and range indicators

void TExStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, clNone, BKColor, clNone, QString(), 0, 100);
    OwnCellGraphic(ACol, ARow)->SetCellBoolean(false);
}

void TExStringGrid::AddProgressEx(
    int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, QString(), 0, 100);
}

void TExStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
    TColor BKTextColor, const QString& Fmt, int Min, int Max)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctProgress);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    g->SetCellColor(FGColor);
    g->SetCellColor2(BKColor);
    g->SetCellIndex(int(FGTextColor));
    g->SetCellAngle(int(BKTextColor));
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellText(Fmt);
    g->SetCellBoolean(true);
    if (FAutoNumAlign)
        GetCellProperties(ACol, ARow)->SetAlignment(taRightJustify);
}

void TExStringGrid::AddExProgress(int ACol, int ARow, int Min, int Max)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctXPProgress);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
}

void TExStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctProgressPie);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaTop);
    g->SetCellColor(Color);
    g->SetCellAngle(Value);
}

void TExStringGrid::SetProgressPie(int ACol, int ARow, int Value)
{
    if (GetCellType(ACol, ARow) != ctProgressPie)
        return;
    OwnCellGraphic(ACol, ARow)->SetCellAngle(Value);
    RepaintGraphicCell(ACol, ARow);
}

void TExStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRangeIndicator);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    g->SetCellIndex(Range);
    g->SetCellColor(NegColor);
    g->SetCellColor2(PosColor);
    g->SetCellBoolean(ShowValue);
}

// ---------------------------------------------------------------------------
// Comments

void TExStringGrid::AddComment(int ACol, int ARow, const QString& Comment)
{
    AddColorComment(ACol, ARow, Comment, FControlLook ? FControlLook->CommentColor() : clRed);
}

void TExStringGrid::AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctComment);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    g->SetCellText(Comment);
    g->SetCellIndex(int(Color));
}

bool TExStringGrid::IsComment(int ACol, int ARow, QString& comment)
{
    if (GetCellType(ACol, ARow) != ctComment)
        return false;
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    comment = g->CellText();
    return true;
}

QString TExStringGrid::GetComment(int ACol, int ARow)
{
    QString c;
    IsComment(ACol, ARow, c);
    return c;
}

void TExStringGrid::SetComment(int ACol, int ARow, const QString& Value)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g)
        AddComment(ACol, ARow, Value);
    else if (g->CellType() == ctComment)
        g->SetCellText(Value);
}

// Every cell of the shown grid that holds a record; cells without
// properties are passed over.
static void ForGraphicCells(TExStringGrid* Grid, const std::function<void(int, int)>& Fn)
{
    if (!Grid->HasCellProps())
        return;
    for (int r = 0; r < Grid->RowCount(); ++r)
        for (int c = 0; c < Grid->ColCount(); ++c)
            if (Grid->HasCellProperties(c, r) && Grid->GetGraphicObjectEx(c, r))
                Fn(c, r);
}

void TExStringGrid::RemoveAllComments()
{
    ForGraphicCells(this, [this](int c, int r) { RemoveComment(c, r); });
}

// ---------------------------------------------------------------------------
// Shapes and ratings

void TExStringGrid::AddShape(
    int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctShape);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
    g->SetCellAngle(int(Shape));
    g->SetCellIndex(int(FillColor));
    g->SetCellColor(LineColor);
}

void TExStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor)
{
    if (GetCellType(ACol, ARow) == ctShape)
        OwnCellGraphic(ACol, ARow)->SetCellIndex(int(FillColor));
}

TColor TExStringGrid::GetShapeColor(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) != ctShape)
        return clNone;
    return TColor(GetCellGraphic(ACol, ARow)->CellIndex());
}

void TExStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRating);
    g->SetCellHAlign(haFull);
    g->SetCellAngle(Scale);
    g->SetCellIndex(int(FillColor));
    g->SetCellColor(EmptyColor);
}

bool TExStringGrid::DoRatingChange(int ACol, int ARow, double& NewRate)
{
    bool allow = true;
    if (OnRatingChange)
        OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}

void TExStringGrid::DoColorSelect()
{
    if (OnColorSelect)
        OnColorSelect(this, Col(), Row(), FPickedColor, FPickedColorText);
}

void TExStringGrid::DoImageSelect()
{
    if (OnImageSelect)
        OnImageSelect(this, Col(), Row(), FPickedImage);
}

// ---------------------------------------------------------------------------
// In-cell scroll bars

void TExStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctScrollbar);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellIndex(0);
    g->SetCellBoolean(AutoRange);
    if (AutoRange)
        CellTextChanged(ACol, ARow);
}

// The base cell's scroll bar record, or nil.
static TCellGraphic* ScrollBarOf(TExStringGrid* Grid, int ACol, int ARow)
{
    if (!Grid->HasScrollBar(ACol, ARow))
        return nullptr;
    const TPoint b = Grid->BaseCell(ACol, ARow);
    return Grid->GetCellGraphic(b.X, b.Y);
}

bool TExStringGrid::HasAutoRangeScrollBar(int ACol, int ARow)
{
    const TCellGraphic* g = ScrollBarOf(this, ACol, ARow);
    return g && g->CellBoolean();
}

void TExStringGrid::SetScrollPosition(int ACol, int ARow, int Pos)
{
    if (TCellGraphic* g = ScrollBarOf(this, ACol, ARow)) {
        g->SetCellIndex(Pos);
        RepaintGraphicCell(ACol, ARow);
    }
}

int TExStringGrid::GetScrollPosition(int ACol, int ARow)
{
    const TCellGraphic* g = ScrollBarOf(this, ACol, ARow);
    return g ? g->CellIndex() : -1;
}

void TExStringGrid::SetScrollProp(int ACol, int ARow, const TScrollProp& Prop)
{
    if (TCellGraphic* g = ScrollBarOf(this, ACol, ARow)) {
        g->SetCellAngle(Prop.PageSize);
        g->SetCellErrFrom(Prop.Range);
    }
}

TScrollProp TExStringGrid::GetScrollProp(int ACol, int ARow)
{
    const TCellGraphic* g = ScrollBarOf(this, ACol, ARow);
    return g ? TScrollProp { g->CellAngle(), g->CellErrFrom() } : TScrollProp { -1, -1 };
}

// ---------------------------------------------------------------------------
// Error markers

void TExStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->SetCellType(ctEmpty);
    }
    g->SetCellErrFrom(ErrPos);
    g->SetCellErrLen(ErrLen);
    RepaintGraphicCell(ACol, ARow);
}

void TExStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen)
{
    ErrPos = 0;
    ErrLen = 0;
    if (const TCellGraphic* g = GetCellGraphic(ACol, ARow)) {
        ErrPos = g->CellErrFrom();
        ErrLen = g->CellErrLen();
    }
}

void TExStringGrid::RemoveMarker(int ACol, int ARow)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g)
        return;
    if (g->CellType() == ctEmpty)
        RemoveCellGraphic(ACol, ARow);
    else {
        g->SetCellErrFrom(0);
        g->SetCellErrLen(0);
    }
}

void TExStringGrid::RemoveAllMarkers()
{
    ForGraphicCells(this, [this](int c, int r) { RemoveMarker(c, r); });
}

// ---------------------------------------------------------------------------
// Buttons

void TExStringGrid::AddButton(
    int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TExStringGrid::AddBitButton(
    int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap* TExStringGrid::CreateBitButton(
    int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val)
{
    auto* glyph = new TBitmap();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitButton(bw, bh, Caption, glyph, hal, val);
    g->SetCellCreated(true);
    return glyph;
}

void TExStringGrid::SetButtonText(int ACol, int ARow, const QString& Caption)
{
    const int c = RealColIndex(ACol);
    if (TCellGraphic* g = OwnCellGraphic(c, ARow)) {
        g->SetCellText(Caption);
        RepaintGraphicCell(c, ARow);
    }
}

QString TExStringGrid::GetButtonText(int ACol, int ARow)
{
    const TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    return g ? g->CellText() : QString();
}

void TExStringGrid::PushButton(int ACol, int ARow, bool push)
{
    const int c = RealColIndex(ACol);
    TCellGraphic* g = OwnCellGraphic(c, ARow);
    if (g && g->CellType() != ctNode) {
        g->SetCellBoolean(push);
        RepaintGraphicCell(c, ARow);
    }
}

void TExStringGrid::RemoveButton(int ACol, int ARow)
{
    if (!RemoveCellGraphicOfType(ACol, ARow, ctButton))
        RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TExStringGrid::RemoveAllButtons()
{
    ForGraphicCells(this, [this](int c, int r) {
        if (HasButton(c, r))
            RemoveButton(c, r);
    });
}

TRect TExStringGrid::GetCellGraphicRect(int ACol, int ARow)
{
    const TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g)
        return TRect(0, 0, 0, 0);
    const int c = int(Round(g->CellValue()));
    const TRect r = CellRect(ACol, ARow);
    TRect res;
    res.Left = r.Left + (c & 0xFFFF);
    res.Top = r.Top + int(unsigned(c) >> 16);
    res.Right = res.Left + (g->CellIndex() & 0xFFFF);
    res.Bottom = res.Top + int(unsigned(g->CellIndex()) >> 16);
    if (g->CellVAlign() == vaFull) {
        res.Top = r.Top;
        res.Bottom = r.Bottom;
    }
    if (g->CellHAlign() == haFull) {
        res.Left = r.Left;
        res.Right = r.Right;
    }
    return res;
}

// ---------------------------------------------------------------------------
// Balloons

static bool CarriesBalloon(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctRadioButton;
}

void TExStringGrid::AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (g && !CarriesBalloon(g->CellType()))
        return;
    if (g) {
        // A balloon attached before goes.
        if (g->CellAngle() == 1)
            delete g->CellBitmap;
        g->SetCellAngle(1);
    } else {
        g = CreateCellGraphic(ACol, ARow);
        g->SetCellType(ctBalloon);
        g->SetCellAngle(0);
    }
    g->SetCellIndex(int(Icon));
    auto* sl = new TStringList();
    sl->Add(Title);
    sl->Add(Text);
    g->CellBitmap = sl;
}

void TExStringGrid::RemoveBalloon(int ACol, int ARow)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (g && CarriesBalloon(g->CellType()) && g->CellAngle() == 1) {
        delete g->CellBitmap;
        g->CellBitmap = nullptr;
        g->SetCellAngle(0);
        return;
    }
    RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

bool TExStringGrid::IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon)
{
    const TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g || !(g->CellType() == ctBalloon || (CarriesBalloon(g->CellType()) && g->CellAngle() == 1)))
        return false;
    const auto* sl = dynamic_cast<const TStrings*>(g->CellBitmap);
    if (!sl)
        return false;
    Title = sl->Count() > 0 ? sl->Strings(0) : QString();
    Text = sl->Count() > 1 ? sl->Strings(1) : QString();
    Icon = TBalloonIcon(g->CellIndex());
    return true;
}

// ---------------------------------------------------------------------------
// Radio groups

void TExStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->CellBitmap = sl;
    g->SetCellAngle(sl ? sl->Count() : 0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
}

TStrings* TExStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio)
{
    auto* sl = new TStringList();
    AddRadio(ACol, ARow, DirRadio, IdxRadio, sl);
    OwnCellGraphic(ACol, ARow)->SetCellCreated(true);
    return sl;
}

bool TExStringGrid::GetRadioIdx(int ACol, int ARow, int& IdxRadio)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    IdxRadio = g->CellIndex();
    return g->CellType() == ctRadio;
}

bool TExStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio)
        return false;
    g->SetCellIndex(IdxRadio);
    if (IdxRadio == -1)
        SetCellEx(ACol, ARow, QString());
    RepaintGraphicCell(ACol, ARow);
    return true;
}

TStrings* TExStringGrid::GetRadioStrings(int ACol, int ARow)
{
    if (!IsRadio(ACol, ARow))
        return nullptr;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g ? dynamic_cast<TStrings*>(g->CellBitmap) : nullptr;
}

bool TExStringGrid::CycleRadioSelection(int ACol, int ARow, bool CheckEdit)
{
    TCellGraphic* g = OwnCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio)
        return false;
    if (CheckEdit && !(FControlLook && FControlLook->RadioAlwaysActive)) {
        bool allowed = true;
        CanEditCell(ACol, ARow, allowed);
        if (!allowed)
            return false;
    }
    const auto* items = dynamic_cast<const TStrings*>(g->CellBitmap);
    // A group without items has nothing to select.
    if (!items || items->Count() == 0)
        return false;
    int next = g->CellIndex() >= 0 ? g->CellIndex() + 1 : items->IndexOf(GetCellEx(ACol, ARow)) + 1;
    if (next >= items->Count())
        next = 0;
    if (g->CellIndex() >= -1)
        g->SetCellIndex(next);
    g->CellVar = next;
    SetCellEx(ACol, ARow, items->Strings(next));
    return false;
}
