// The base grid's cell model: properties, merged areas, the text path,
// geometry and freeing.
#include "controls/base/BaseGrid.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "controls/base/ExGridUndoRedo.h"
#include "controls/base/ExUtil.h"

// ---------------------------------------------------------------------------
// TCellProperties

TCellProperties::TCellProperties(TBaseGrid* AOwnerGrid, int ACol, int ARow)
    : FOwnerGrid(AOwnerGrid)
    , FOwnerCol(ACol)
    , FOwnerRow(ARow)
{
    if (FOwnerGrid) {
        FWordWrap = FOwnerGrid->WordWrap();
        FOwnerGrid->FHasCellProps = true;
    }
}

TCellProperties::~TCellProperties()
{
    delete dynamic_cast<TCellGraphic*>(FGraphicObject);
}

void TCellProperties::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TCellProperties*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FIsBaseCell = s->FIsBaseCell;
    FCellSpanX = s->FCellSpanX;
    FCellSpanY = s->FCellSpanY;
    FOwnerRow = s->FOwnerRow;
    FOwnerCol = s->FOwnerCol;
    FObject = s->FObject;
    FAlignment = s->FAlignment;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBrushColor = s->FBrushColor;
    FBrushStyle = s->FBrushStyle;
    FFontColor = s->FFontColor;
    FFontStyle = s->FFontStyle;
    FFontName = s->FFontName;
    FFontSize = s->FFontSize;
    FReadOnly = s->FReadOnly;
    FEditor = s->FEditor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    FNodeLevel = s->FNodeLevel;
    FControl = s->FControl;
    NoteSpan();
}

void TCellProperties::NoteSpan()
{
    if (FOwnerGrid && SpansCells())
        FOwnerGrid->FHasMergedAreas = true;
}

void TCellProperties::SetIsBaseCell(bool v)
{
    FIsBaseCell = v;
    NoteSpan();
}

void TCellProperties::SetCellSpanX(int v)
{
    FCellSpanX = v;
    NoteSpan();
}

void TCellProperties::SetCellSpanY(int v)
{
    FCellSpanY = v;
    NoteSpan();
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const
{
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1)
        return { ACol - FCellSpanX, ARow - FCellSpanY };
    return { ACol, ARow };
}

void TCellProperties::RepaintOwnerCell()
{
    // Looks written during an update show when it ends.
    if (FOwnerGrid && FOwnerGrid->UpdateCount() == 0)
        FOwnerGrid->RepaintStoredCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor v)
{
    FBrushColor = v;
    RepaintOwnerCell();
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    FBrushColorTo = v;
    RepaintOwnerCell();
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    RepaintOwnerCell();
}

void TCellProperties::SetWordWrap(bool v)
{
    FWordWrap = v;
    RepaintOwnerCell();
}

// ---------------------------------------------------------------------------
// TBaseGrid: life

TBaseGrid::TBaseGrid(TComponent* AOwner)
    : TObjStringGrid(AOwner)
{
    SetGridLineWidth(1);
    SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid()
{
    if (FUndoRedo) {
        FUndoRedo->SetGrid(nullptr);
        FUndoRedo = nullptr;
    }
    // Every stored cell, hidden columns included.
    if (FHasCellProps)
        FreeStoredRect(0, 0, StoredColLimit() - 1, Store().RowLimit() - 1);
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && FUndoRedo && AComponent == FUndoRedo)
        FUndoRedo = nullptr;
    TObjStringGrid::Notification(AComponent, Operation);
}

void TBaseGrid::SetUndoRedo(TExGridUndoRedo* v)
{
    if (FUndoRedo == v)
        return;
    if (FUndoRedo) {
        FUndoRedo->RemoveFreeNotification(this);
        if (FUndoRedo->Grid() == this)
            FUndoRedo->SetGrid(nullptr);
    }
    FUndoRedo = v;
    if (FUndoRedo) {
        FUndoRedo->FreeNotification(this);
        FUndoRedo->SetGrid(this);
    }
}

// ---------------------------------------------------------------------------
// Store access

int TBaseGrid::StoredColLimit() const
{
    return std::max(TotalColCount(), Store().ColLimit());
}

bool TBaseGrid::InGrid(int ACol, int ARow) const
{
    return ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount();
}

void TBaseGrid::CheckCell(int ACol, int ARow) const
{
    if (!InGrid(ACol, ARow))
        throw EExGridError(QStringLiteral("Cell (%1, %2) lies outside the grid").arg(ACol).arg(ARow));
}

TCellProperties* TBaseGrid::StoredProps(int ACol, int ARow) const
{
    TObject* o = Objects(ACol, ARow);
    return o ? dynamic_cast<TCellProperties*>(o) : nullptr;
}

TCellProperties* TBaseGrid::PropsAt(int ACol, int ARow) const
{
    if (!FHasCellProps || !InGrid(ACol, ARow))
        return nullptr;
    return StoredProps(ACol, ARow);
}

void TBaseGrid::SetGridCell(int ACol, int ARow, const QString& Value)
{
    CheckCell(ACol, ARow);
    SetCells(ACol, ARow, Value);
}

// ---------------------------------------------------------------------------
// Properties of cells

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow)
{
    CheckCell(ACol, ARow);
    if (TCellProperties* p = StoredProps(ACol, ARow))
        return p;
    // The defaults first, while the cell has no properties yet: its look is
    // asked from the grid, not from a blank object.
    auto p = std::make_unique<TCellProperties>(this, ACol, ARow);
    ApplyDefaultLook(p.get(), ACol, ARow);
    SetObjects(ACol, ARow, p.get());
    if (Objects(ACol, ARow) != p.get())
        throw EExGridError(QStringLiteral("Cell (%1, %2) is not kept by the grid").arg(ACol).arg(ARow));
    return p.release();
}

void TBaseGrid::ApplyDefaultLook(TCellProperties* Props, int ACol, int ARow)
{
    TFont font;
    TBrush brush;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetCellDrawDefaults(ACol, ARow, &font, &brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
    Props->SetCalcType(TColumnCalcType::acNONE);
    Props->SetAlignment(ha);
    Props->SetVAlignment(va);
    Props->SetWordWrap(ww);
    Props->SetFontName(font.Name());
    Props->SetFontSize(font.Size());
    Props->SetFontStyle(font.Style());
    Props->SetFontColor(font.Color());
    Props->SetBrushColor(brush.Color());
    Props->SetBrushColorTo(colorTo);
    Props->SetGradientDirection(gd);
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value)
{
    CheckCell(ACol, ARow);
    TObject* old = Objects(ACol, ARow);
    if (old == Value)
        return;
    delete dynamic_cast<TCellProperties*>(old);
    SetObjects(ACol, ARow, Value);
    if (Value) {
        FHasCellProps = true;
        FHasMergedAreas = FHasMergedAreas || Value->SpansCells();
    }
}

quintptr TBaseGrid::GetObjectEx(int ACol, int ARow) const
{
    const TCellProperties* p = PropsAt(ACol, ARow);
    return p ? p->CellObject() : 0;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, quintptr Value)
{
    GetCellProperties(ACol, ARow)->SetCellObject(Value);
}

TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const
{
    return GraphicObjectOf(PropsAt(ACol, ARow));
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TObject* Value)
{
    if (IsDestroying())
        return;
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (p->FGraphicObject == Value)
        return;
    // A cell graphic replaced is the grid's to free.
    delete dynamic_cast<TCellGraphic*>(p->FGraphicObject);
    p->FGraphicObject = Value;
}

// ---------------------------------------------------------------------------
// The text path

QString TBaseGrid::GetCellEx(int ACol, int ARow)
{
    int bc = ACol, br = ARow;
    if (const TCellProperties* p = FHasMergedAreas ? PropsAt(ACol, ARow) : nullptr) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        bc = b.X;
        br = b.Y;
    }
    QString result = Cells(bc, br);
    if (br < FNormalRowCount) {
        DoGetDisplText(bc, br, result);
        if (OnGetDisplWideText) {
            QString wide = DecodeWideText(result);
            DoGetDisplWideText(bc, br, wide);
            result = EncodeWideText(wide);
        }
    }
    return result;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const QString& Value)
{
    CheckCell(ACol, ARow);
    if (const TCellProperties* p = StoredProps(ACol, ARow)) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        SetCells(b.X, b.Y, Value);
        CellTextChanged(b.X, b.Y);
        if (Parent())
            RepaintStoredCell(ACol, ARow);
    } else {
        SetCells(ACol, ARow, Value);
        // The store's own repaint takes the column for a shown one: right of
        // hidden columns the cell shows elsewhere.
        if (Parent() && DisplColIndex(ACol) != ACol)
            RepaintStoredCell(ACol, ARow);
    }
    if (FHideLastRow && ARow == RowCount() - 1)
        LastRowChanged();
}

// ---------------------------------------------------------------------------
// Merged areas

void TBaseGrid::MergeCells(int ACol, int ARow, int ColCount, int RowCount)
{
    ++FMergeCount;
    if (ColCount < 1 || RowCount < 1)
        return;
    // An area leaving the grid is not merged at all.
    if (!InGrid(ACol, ARow) || !InGrid(ACol + ColCount - 1, ARow + RowCount - 1))
        return;
    for (int i = ACol; i < ACol + ColCount; ++i)
        for (int j = ARow; j < ARow + RowCount; ++j) {
            TCellProperties* p = GetCellProperties(i, j);
            const bool base = i == ACol && j == ARow;
            p->SetIsBaseCell(base);
            p->SetCellSpanX(base ? ColCount - 1 : i - ACol);
            p->SetCellSpanY(base ? RowCount - 1 : j - ARow);
        }
    RepaintStoredCell(ACol, ARow);
}

void TBaseGrid::SplitCells(int ACol, int ARow)
{
    if (!InGrid(ACol, ARow))
        return;
    const TCellProperties* p = GetCellProperties(ACol, ARow);
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TCellProperties* bp = GetCellProperties(b.X, b.Y);
    const int sx = bp->CellSpanX(), sy = bp->CellSpanY();
    // Where the area shows, taken while it is still whole.
    const TGridRect shown = ShownArea(b.X, b.Y);
    for (int i = b.X; i <= b.X + sx; ++i)
        for (int j = b.Y; j <= b.Y + sy; ++j) {
            if (!InGrid(i, j))
                continue;
            TCellProperties* c = GetCellProperties(i, j);
            c->SetIsBaseCell(true);
            c->SetCellSpanX(-1);
            c->SetCellSpanY(-1);
        }
    if (sx >= 0 && sy >= 0 && shown.Left <= shown.Right)
        InvalidateGridRect(shown);
    --FMergeCount;
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const
{
    const TCellProperties* p = PropsAt(ACol, ARow);
    return p ? p->GetBaseCell(ACol, ARow) : TPoint(ACol, ARow);
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    BaseCol = b.X;
    BaseRow = b.Y;
    return b.X == ACol && b.Y == ARow;
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    if (!FHasMergedAreas)
        return true;
    const TCellProperties* p = PropsAt(ACol, ARow);
    return !p || p->IsBaseCell();
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    if (!FHasMergedAreas)
        return false;
    const TCellProperties* p = PropsAt(ACol, ARow);
    return p && (p->CellSpanX() > 0 || p->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const
{
    const TCellProperties* p = PropsAt(ACol, ARow);
    if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1)
        return { 0, 0 };
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TCellProperties* bp = PropsAt(b.X, b.Y);
    if (!bp)
        return { 0, 0 };
    return { bp->CellSpanX(), bp->CellSpanY() };
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    return CellSpan(ACol, ARow).X > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    return CellSpan(ACol, ARow).Y > 0;
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const
{
    const TCellProperties* p = PropsAt(ACol, ARow);
    if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1)
        return { 0, 0 };
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return { b.X + s.X - ACol, b.Y + s.Y - ARow };
}

TRect TBaseGrid::FullCell(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return { b.X, b.Y, b.X + s.X, b.Y + s.Y };
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int result = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        const int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < result)
            result = s;
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int result = 0;
    for (int c = 0; c < ColCount(); ++c)
        result = std::max(result, CellSpan(c, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int Row1, int Row2) const
{
    if (!FHasCellProps)
        return false;
    bool found = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, Row1).Y > 0 && CellSpan(c, Row2).Y > 0) {
            found = true;
            if (BaseCell(c, Row1).Y != BaseCell(c, Row2).Y)
                return false;
        }
    }
    return found;
}

bool TBaseGrid::ColSpanIdentical(int Col1, int Col2) const
{
    if (!FHasCellProps)
        return false;
    bool found = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(Col1, r).X, s2 = CellSpan(Col2, r).X;
        if (s1 > 0 && s2 > 0) {
            found = true;
            if (BaseCell(Col1, r).X != BaseCell(Col2, r).X)
                return false;
        } else if (s1 != s2) {
            return false;
        }
    }
    return found;
}

// ---------------------------------------------------------------------------
// Geometry

TRect TBaseGrid::VirtualCellRect(int ACol, int ARow) const
{
    // A scrollable cell's offset from the top-left one is the sum between
    // them, one way or the other: a few rows cost a few, however far down.
    const auto offset = [](int from, int to, auto sum) -> qint64 {
        if (to >= from)
            return to > from ? sum(from, to - 1) : 0;
        return -sum(to, from - 1);
    };
    const auto cols = [this](int a, int b) { return ColWidthsSum(a, b); };
    const auto rows = [this](int a, int b) { return RowHeightsSum(a, b); };
    const qint64 l = offset(ACol >= FixedCols() ? LeftCol() : 0, ACol, cols);
    const qint64 t = offset(ARow >= FixedRows() ? TopRow() : 0, ARow, rows);
    // The scrollable cells start where the toolkit places the first of them
    // (laid out left to right; the screen rectangle is mirrored once, below).
    const TRect tl = Mirrored(TObjStringGrid::CellRect(LeftCol(), TopRow()));
    const bool shown = tl.Width() > 0 && tl.Height() > 0;
    const qint64 xo
        = ACol < FixedCols() ? 0 : (shown ? tl.Left : (FixedCols() > 0 ? ColWidthsSum(0, FixedCols() - 1) : 0));
    const qint64 yo
        = ARow < FixedRows() ? 0 : (shown ? tl.Top : (FixedRows() > 0 ? RowHeightsSum(0, FixedRows() - 1) : 0));
    const int x = int(std::clamp<qint64>(l + xo, INT_MIN / 2, INT_MAX / 2));
    const int y = int(std::clamp<qint64>(t + yo, INT_MIN / 2, INT_MAX / 2));
    return Mirrored({ x, y, x + ColWidths(ACol), y + RowHeights(ARow) });
}

TGridRect TBaseGrid::ShownArea(int ACol, int ARow) const
{
    const TRect a = FullCell(ACol, ARow);
    // From the place of the area's first column to the place before the
    // column after it: hidden columns of the area take no place.
    const int right = a.Right + 1 < TotalColCount() ? DisplColIndex(a.Right + 1) - 1 : ColCount() - 1;
    return { DisplColIndex(a.Left), a.Top, right, a.Bottom };
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const
{
    const int col = RealColIndex(ACol);
    const TCellProperties* p = PropsAt(col, ARow);
    if (p && (p->CellSpanX() != -1 || p->CellSpanY() != -1)) {
        const TGridRect a = ShownArea(col, ARow);
        TRect r1 = VirtualCellRect(a.Left, a.Top);
        if (r1.Width() == 0)
            r1.Right = r1.Left + 1;
        TRect r2 = VirtualCellRect(a.Right, a.Bottom);
        if (r2.Width() == 0)
            r2.Left = r2.Left - 1;
        TRect u;
        UnionRect(u, r1, r2);
        return u;
    }
    if (p && p->Control())
        return VirtualCellRect(ACol, ARow);
    const TRect r = Mirrored(TObjStringGrid::CellRect(ACol, ARow));
    if (r.Width() <= 0 || r.Height() <= 0)
        return Mirrored(r); // not shown
    return Mirrored({ r.Left, r.Top, r.Left + ColWidths(ACol), r.Top + RowHeights(ARow) });
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) const
{
    // A cell of a hidden column takes no room.
    const TGridRect a = ShownArea(ACol, ARow);
    if (a.Right < a.Left)
        return { 0, VirtualCellRect(0, a.Bottom).Bottom - VirtualCellRect(0, a.Top).Top };
    TRect r;
    UnionRect(r, VirtualCellRect(a.Left, a.Top), VirtualCellRect(a.Right, a.Bottom));
    return { r.Width(), r.Height() };
}

void TBaseGrid::RepaintCell(int ACol, int ARow)
{
    RepaintStoredCell(RealColIndex(ACol), ARow);
}

void TBaseGrid::RepaintStoredCell(int ACol, int ARow)
{
    if (!HandleAllocated())
        return;
    const TGridRect a = ShownArea(ACol, ARow);
    if (a.Left <= a.Right)
        InvalidateGridRect(a);
}

void TBaseGrid::InvalidateGridRect(const TGridRect& r)
{
    if (!HandleAllocated())
        return;
    TGridRect w = r;
    if (FHasMergedAreas) {
        // Corners inside merged areas widen the block to those areas.
        for (const TPoint c : { TPoint(r.Left, r.Top), TPoint(r.Right, r.Bottom) }) {
            if (c.X < 0 || c.X >= ColCount())
                continue;
            const TGridRect a = ShownArea(RealColIndex(c.X), c.Y);
            w.Left = std::min(w.Left, a.Left);
            w.Top = std::min(w.Top, a.Top);
            w.Right = std::max(w.Right, a.Right);
            w.Bottom = std::max(w.Bottom, a.Bottom);
        }
    }
    TObjStringGrid::InvalidateGridRect(w);
}

void TBaseGrid::InvalidateAll()
{
    if (HandleAllocated())
        Invalidate();
}

// ---------------------------------------------------------------------------
// Freeing

void TBaseGrid::FreeStoredRect(int Col1, int Row1, int Col2, int Row2)
{
    Col1 = std::max(Col1, 0);
    Row1 = std::max(Row1, 0);
    Col2 = std::min(Col2, StoredColLimit() - 1);
    Row2 = std::min(Row2, Store().RowLimit() - 1);
    // Only rows holding objects can hold properties.
    const std::vector<int> rows = Store().RowsWithObjects(Row1, Row2);
    for (int c = Col1; c <= Col2; ++c)
        for (int r : rows)
            if (TCellProperties* p = StoredProps(c, r)) {
                SetObjects(c, r, nullptr);
                delete p;
            }
}

void TBaseGrid::ClearCellPropertiesRect(int Col1, int Row1, int Col2, int Row2)
{
    if (!FHasCellProps)
        return;
    FreeStoredRect(Col1, Row1, std::min(Col2, TotalColCount() - 1), std::min(Row2, RowCount() - 1));
}

void TBaseGrid::FreeCellProperties(int ACol, int ARow)
{
    if (TCellProperties* p = PropsAt(ACol, ARow)) {
        SetObjects(ACol, ARow, nullptr);
        delete p;
    }
}

void TBaseGrid::ClearColumnCells(int ACol)
{
    for (int r = 0; r < RowCount(); ++r) {
        SetObjects(ACol, r, nullptr);
        SetCellEx(ACol, r, QString());
    }
}

void TBaseGrid::ClearRowCells(int ARow)
{
    for (int c = 0; c < ColCount(); ++c) {
        SetObjects(c, ARow, nullptr);
        SetCellEx(c, ARow, QString());
    }
}

void TBaseGrid::ClearCell(int ACol, int ARow)
{
    SetCellEx(ACol, ARow, QString());
    SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    // Rows leaving the grid leave the store: their properties go with them.
    if (FHasCellProps && RowCount() < OldRowCount)
        FreeStoredRect(0, RowCount(), StoredColLimit() - 1, OldRowCount - 1);
    TObjStringGrid::SizeChanged(OldColCount, OldRowCount);
}

void TBaseGrid::RowsDeleted(int ARow, int ACount)
{
    if (FHasCellProps)
        FreeStoredRect(0, ARow, StoredColLimit() - 1, ARow + ACount - 1);
    TObjStringGrid::RowsDeleted(ARow, ACount);
}

void TBaseGrid::DeleteColumn(int ACol)
{
    if (FHasCellProps)
        FreeStoredRect(ACol, 0, ACol, Store().RowLimit() - 1);
    TObjStringGrid::DeleteColumn(ACol);
}

// ---------------------------------------------------------------------------
// The overridable model

bool TBaseGrid::IsFixed(int, int) const
{
    return false;
}
int TBaseGrid::GetNodeIndent(int) const
{
    return 0;
}
bool TBaseGrid::HasNodes() const
{
    return false;
}
void TBaseGrid::LastRowChanged() { }
void TBaseGrid::CellTextChanged(int, int) { }
bool TBaseGrid::HasCellBorderEvent() const
{
    return false;
}
bool TBaseGrid::UsesToolkitStyles() const
{
    return false;
}
int TBaseGrid::DisplColIndex(int ACol) const
{
    return ACol;
}
int TBaseGrid::RealColIndex(int ACol) const
{
    return ACol;
}
int TBaseGrid::TotalColCount() const
{
    return ColCount();
}
int TBaseGrid::UpdateCount() const
{
    return 0;
}

void TBaseGrid::DoGetDisplText(int ACol, int ARow, QString& Value)
{
    if (OnGetDisplText)
        OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::DoGetDisplWideText(int ACol, int ARow, QString& Value)
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellDrawDefaults(int, int, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
    TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WW, TCellGradientDirection& GD)
{
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    ColorTo = clNone;
    MirrorColor = clNone;
    MirrorColorTo = clNone;
    HAlign = taLeftJustify;
    VAlign = TVAlignment::vtaTop;
    WW = FWordWrap;
    GD = TCellGradientDirection::GradientVertical;
}

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&, TColor&,
    TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&)
{
}

// ---------------------------------------------------------------------------
// Properties of the grid

void TBaseGrid::SetDefaultDrawing(bool v)
{
    FDefaultDrawing = v;
    TObjStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int v)
{
    FGridLineWidth = v;
    TObjStringGrid::SetGridLineWidth(0);
    InvalidateAll();
}

void TBaseGrid::SetGridLineColor(TColor v)
{
    FGridLineColor = v;
    InvalidateAll();
}

void TBaseGrid::SetGridFixedLineColor(TColor v)
{
    FGridFixedLineColor = v;
    InvalidateAll();
}

namespace {
template <class T> bool Change(T& field, T v)
{
    if (field == v)
        return false;
    field = v;
    return true;
}
} // namespace

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle v)
{
    if (Change(FSelectionStyle, v))
        InvalidateAll();
}

void TBaseGrid::SetActiveRowShow(bool v)
{
    if (Change(FActiveRowShow, v))
        InvalidateAll();
}

void TBaseGrid::SetActiveRowColor(TColor v)
{
    if (Change(FActiveRowColor, v))
        InvalidateAll();
}

void TBaseGrid::SetActiveRowColorTo(TColor v)
{
    if (Change(FActiveRowColorTo, v))
        InvalidateAll();
}

void TBaseGrid::SetActiveRowMirrorColor(TColor v)
{
    if (Change(FActiveRowMirrorColor, v))
        InvalidateAll();
}

void TBaseGrid::SetActiveRowMirrorColorTo(TColor v)
{
    if (Change(FActiveRowMirrorColorTo, v))
        InvalidateAll();
}
