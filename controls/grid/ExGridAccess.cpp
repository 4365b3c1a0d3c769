// The string grid's cell access in every index space (real and displayed
// columns, real, displayed and unsorted rows), the per-cell look accessors,
// the row colours and the small grid-wide accessors beside them.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExInplaceEdit.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"

#include <algorithm>

namespace {

// The kept object of column ACol among a hidden row's objects.
TObject** KeptObjectSlot(TGridStoredRow& Row, int ACol)
{
    for (auto& [c, obj] : Row.Objects)
        if (c == ACol)
            return &obj;
    return nullptr;
}

QString KeptText(const TGridStoredRow& Row, int ACol)
{
    return ACol >= 0 && ACol < int(Row.Texts.size()) ? Row.Texts[std::size_t(ACol)] : QString();
}

} // namespace

// ---------------------------------------------------------------------------
// Texts and objects by real row

TGridStoredRow* TExStringGrid::HiddenRowItems(int ARow)
{
    THiddenRow* hidden = HiddenRecord(ARow);
    return hidden ? &hidden->Cells : nullptr;
}

QString TExStringGrid::AllCells(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return QString();
    if (const TGridStoredRow* kept = HiddenRowItems(ARow)) {
        QString text = KeptText(*kept, ACol);
        DoGetDisplText(ACol, ARow, text);
        return text;
    }
    return GetCellEx(ACol, DisplayRowFromReal(ARow));
}

QString TExStringGrid::AllGridCells(int ACol, int ARow)
{
    if (const TGridStoredRow* kept = HiddenRowItems(ARow))
        return KeptText(*kept, ACol);
    return GetGridCell(ACol, DisplayRowFromReal(ARow));
}

void TExStringGrid::WriteRealRowCell(int ACol, int ARow, const QString& Value, bool Raw)
{
    if (HiddenRecord(ARow)) {
        // Not on screen: the kept texts grow to the column.
        SetAllCellText(ACol, ARow, Value);
        return;
    }
    const int d = DisplayRowFromReal(ARow);
    if (Raw) {
        SetGridCell(ACol, d, Value);
        // The store's own repaint takes the real column for a shown one.
        if (DisplColIndex(ACol) != ACol)
            RepaintShownCell(ACol, d);
    } else {
        SetCellEx(ACol, d, Value);
    }
}

void TExStringGrid::SetAllCells(int ACol, int ARow, const QString& Value)
{
    WriteRealRowCell(ACol, ARow, Value, false);
}

void TExStringGrid::SetAllGridCells(int ACol, int ARow, const QString& Value)
{
    WriteRealRowCell(ACol, ARow, Value, true);
}

QString TExStringGrid::AllWideCells(int ACol, int ARow)
{
    return DecodeWideText(AllCells(ACol, ARow));
}

QString TExStringGrid::WideCells(int ACol, int ARow)
{
    return DecodeWideText(GetCellEx(ACol, ARow));
}

TObject* TExStringGrid::GetGridObjectsEx(int ACol, int ARow)
{
    if (TGridStoredRow* kept = HiddenRowItems(ARow)) {
        TObject** slot = KeptObjectSlot(*kept, ACol);
        return slot ? *slot : nullptr;
    }
    return GetGridObject(ACol, DisplayRowFromReal(ARow));
}

quintptr TExStringGrid::AllObjects(int ACol, int ARow)
{
    TGridStoredRow* kept = HiddenRowItems(ARow);
    if (!kept)
        return GetObjectEx(ACol, DisplayRowFromReal(ARow));
    TObject** slot = KeptObjectSlot(*kept, ACol);
    if (!slot)
        return 0;
    if (const auto* props = dynamic_cast<const TCellProperties*>(*slot))
        return props->CellObject();
    return quintptr(*slot);
}

void TExStringGrid::SetAllObjects(int ACol, int ARow, quintptr Value)
{
    TGridStoredRow* kept = HiddenRowItems(ARow);
    if (!kept) {
        SetObjectEx(ACol, DisplayRowFromReal(ARow), Value);
        return;
    }
    if (ACol < 0 || ACol >= TotalColCount())
        throw EExGridError(QStringLiteral("Cell (%1, %2) lies outside the grid").arg(ACol).arg(ARow));
    TObject** slot = KeptObjectSlot(*kept, ACol);
    if (auto* props = slot ? dynamic_cast<TCellProperties*>(*slot) : nullptr) {
        props->SetCellObject(Value);
        return;
    }
    // The record owns what its slots hold and frees it as cell properties:
    // the user object goes into new properties with the cell's default look,
    // as a write on a shown row does.
    auto props = std::make_unique<TCellProperties>(this, ACol, ARow);
    ApplyDefaultLook(props.get(), ACol, ARow);
    props->SetCellObject(Value);
    if (slot)
        *slot = props.release();
    else
        kept->Objects.emplace_back(ACol, props.release());
}

// ---------------------------------------------------------------------------
// Other index spaces and text views

QString TExStringGrid::OriginalCells(int ACol, int ARow)
{
    const int p = FColumnOrder->Count() > 0 ? FColumnOrder->IndexOf(ACol) : ACol;
    return GetCellEx(p < 0 ? ACol : p, ARow);
}

void TExStringGrid::SetOriginalCells(int ACol, int ARow, const QString& Value)
{
    const int p = FColumnOrder->Count() > 0 ? FColumnOrder->IndexOf(ACol) : ACol;
    SetCellEx(p < 0 ? ACol : p, ARow, Value);
}

int TExStringGrid::SortRowPlace(int ARow) const
{
    if (!FSortRowPlaceValid) {
        const int n = FSortRowXRef->Count();
        int top = -1;
        for (int k = 0; k < n; ++k)
            top = std::max(top, FSortRowXRef->Integers(k));
        FSortRowPlace.assign(std::size_t(top + 1), -1);
        // From the back, so that a row listed twice keeps its first place.
        for (int k = n - 1; k >= 0; --k)
            if (const int u = FSortRowXRef->Integers(k); u >= 0)
                FSortRowPlace[std::size_t(u)] = k;
        FSortRowPlaceValid = true;
    }
    return ARow >= 0 && ARow < int(FSortRowPlace.size()) ? FSortRowPlace[std::size_t(ARow)] : -1;
}

// The present row of the unsorted row ARow: ARow beyond the list, else its
// place in it (the list's count when absent).
int TExStringGrid::UnSortedPlace(int ARow) const
{
    const int n = FSortRowXRef->Count();
    if (n < ARow)
        return ARow;
    const int k = SortRowPlace(ARow);
    return k < 0 ? n : k;
}

QString TExStringGrid::UnSortedCells(int ACol, int ARow)
{
    return GetCellEx(ACol, UnSortedPlace(ARow));
}

void TExStringGrid::SetUnSortedCells(int ACol, int ARow, const QString& Value)
{
    SetCellEx(ACol, UnSortedPlace(ARow), Value);
}

int TExStringGrid::SortedRowIndex(int ARow) const
{
    const int u = ARow < FSortRowXRef->Count() ? FSortRowXRef->Integers(ARow) : ARow;
    return RealRowFromDisplay(u);
}

int TExStringGrid::UnSortedRowIndex(int ARow) const
{
    if (FSortRowXRef->Count() == 0)
        return ARow;
    const int k = SortRowPlace(ARow);
    return k < 0 ? FSortRowXRef->Count() : k;
}

QString TExStringGrid::StrippedCells(int ACol, int ARow)
{
    return StripHTMLTags(GetCellEx(ACol, ARow));
}

int TExStringGrid::LinesInCell(int ACol, int ARow)
{
    return CountLines(GetCellEx(ACol, ARow), true);
}

// ---------------------------------------------------------------------------
// Per-cell looks

TCellProperties* TExStringGrid::ExistingCellProperties(int ACol, int ARow)
{
    return HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow) : nullptr;
}

void TExStringGrid::RepaintShownCell(int ACol, int ARow)
{
    RepaintStoredCell(ACol, ARow);
}

TColor TExStringGrid::Colors(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->BrushColor() : clNone;
}

void TExStringGrid::SetColors(int ACol, int ARow, TColor Value)
{
    GetCellProperties(ACol, ARow)->SetBrushColor(Value);
    if (FUpdateCount == 0)
        RepaintShownCell(ACol, ARow);
}

TColor TExStringGrid::ColorsTo(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->BrushColorTo() : clNone;
}

void TExStringGrid::SetColorsTo(int ACol, int ARow, TColor Value)
{
    GetCellProperties(ACol, ARow)->SetBrushColorTo(Value);
    RepaintShownCell(ACol, ARow);
}

TCellGradientDirection TExStringGrid::Gradients(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->GradientDirection() : TCellGradientDirection::GradientVertical;
}

void TExStringGrid::SetGradients(int ACol, int ARow, TCellGradientDirection Value)
{
    GetCellProperties(ACol, ARow)->SetGradientDirection(Value);
    RepaintShownCell(ACol, ARow);
}

bool TExStringGrid::ReadOnly(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p && p->ReadOnly();
}

void TExStringGrid::SetReadOnly(int ACol, int ARow, bool Value)
{
    GetCellProperties(ACol, ARow)->SetReadOnly(Value);
    RepaintShownCell(ACol, ARow);
}

bool TExStringGrid::WordWraps(int ACol, int ARow)
{
    // Created here: the new properties carry the grid's default wrapping.
    return GetCellProperties(ACol, ARow)->WordWrap();
}

void TExStringGrid::SetWordWraps(int ACol, int ARow, bool Value)
{
    GetCellProperties(ACol, ARow)->SetWordWrap(Value);
    RepaintShownCell(ACol, ARow);
}

TColor TExStringGrid::FontColors(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->FontColor() : clNone;
}

void TExStringGrid::SetFontColors(int ACol, int ARow, TColor Value)
{
    GetCellProperties(ACol, ARow)->SetFontColor(Value);
    RepaintShownCell(ACol, ARow);
}

TFontStyles TExStringGrid::FontStyles(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->FontStyle() : TFontStyles();
}

void TExStringGrid::SetFontStyles(int ACol, int ARow, TFontStyles Value)
{
    GetCellProperties(ACol, ARow)->SetFontStyle(Value);
    RepaintShownCell(ACol, ARow);
}

int TExStringGrid::FontSizes(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->FontSize() : 0;
}

void TExStringGrid::SetFontSizes(int ACol, int ARow, int Value)
{
    GetCellProperties(ACol, ARow)->SetFontSize(Value);
    RepaintShownCell(ACol, ARow);
}

QString TExStringGrid::FontNames(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->FontName() : QString();
}

void TExStringGrid::SetFontNames(int ACol, int ARow, const QString& Value)
{
    GetCellProperties(ACol, ARow)->SetFontName(Value);
    RepaintShownCell(ACol, ARow);
}

TAlignment TExStringGrid::Alignments(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->Alignment() : taLeftJustify;
}

void TExStringGrid::SetAlignments(int ACol, int ARow, TAlignment Value)
{
    GetCellProperties(ACol, ARow)->SetAlignment(Value);
    RepaintShownCell(ACol, ARow);
}

TFont* TExStringGrid::GetCellFont(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    if (!p)
        return Font();
    FCellFont->SetName(p->FontName());
    FCellFont->SetSize(p->FontSize());
    FCellFont->SetStyle(p->FontStyle());
    FCellFont->SetColor(p->FontColor());
    return FCellFont.get();
}

void TExStringGrid::SetCellFont(int ACol, int ARow, const TFont* Value)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    p->SetFontName(Value->Name());
    p->SetFontSize(Value->Size());
    p->SetFontStyle(Value->Style());
    p->SetFontColor(Value->Color());
    if (FUpdateCount == 0)
        RepaintShownCell(ACol, ARow);
}

// ---------------------------------------------------------------------------
// Controls placed in cells

TControl* TExStringGrid::CellControls(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    return p ? p->Control() : nullptr;
}

void TExStringGrid::SetCellControls(int ACol, int ARow, TControl* Value)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    const int x = DisplColIndex(ACol);
    const int y = RealRowIndex(ARow);
    const int listed = FControlList->ControlIndex(x, y);
    if (!Value) {
        if (p->Control()) {
            if (listed >= 0)
                FControlList->RemoveControl(listed);
            FNumCellControls = std::max(0, FNumCellControls - 1);
        }
        p->SetControl(nullptr);
        return;
    }
    if (listed >= 0)
        FControlList->RemoveControl(listed);
    if (!p->Control())
        ++FNumCellControls;
    FControlList->AddControl(x, y, Value);
    p->SetControl(Value);
    Value->SetParent(this);
    const TRect r = CellRect(x, ARow);
    Value->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
}

void TExStringGrid::FreeLookProperties(int ACol, int ARow)
{
    const TCellProperties* p = ExistingCellProperties(ACol, ARow);
    if (!p)
        return;
    if (p->Control()) {
        const int listed = FControlList->ControlIndex(DisplColIndex(ACol), RealRowIndex(ARow));
        if (listed >= 0)
            FControlList->RemoveControl(listed);
        FNumCellControls = std::max(0, FNumCellControls - 1);
    }
    FreeCellProperties(ACol, ARow);
}

// ---------------------------------------------------------------------------
// Row colours

void TExStringGrid::SetRowColor(int ARow, TColor Value)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value != clNone)
            GetCellProperties(c, ARow)->SetBrushColor(Value);
        else if (!GetGraphicObjectEx(c, ARow))
            FreeLookProperties(c, ARow);
        else
            GetCellProperties(c, ARow)->SetBrushColor(clNone);
    }
    InvalidateRow(ARow);
}

void TExStringGrid::SetRowColorTo(int ARow, TColor Value)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value != clNone)
            GetCellProperties(c, ARow)->SetBrushColorTo(Value);
        else
            FreeLookProperties(c, ARow);
    }
    InvalidateRow(ARow);
}

void TExStringGrid::SetRowFontColor(int ARow, TColor Value)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value != clNone)
            GetCellProperties(c, ARow)->SetFontColor(Value);
        else if (Colors(c, ARow) == clNone)
            FreeLookProperties(c, ARow);
    }
    InvalidateRow(ARow);
}

// ---------------------------------------------------------------------------
// The current cell

QString TExStringGrid::GetCurrentCell()
{
    const TPoint b = BaseCell(RealCol(), Row());
    return GetGridCell(b.X, b.Y);
}

void TExStringGrid::SetCurrentCell(const QString& Value)
{
    const TPoint b = BaseCell(RealCol(), Row());
    SetCellEx(b.X, b.Y, Value);
}

QString TExStringGrid::GetCurrentWideCell()
{
    const TPoint b = BaseCell(RealCol(), Row());
    return GetCellEx(b.X, b.Y);
}

void TExStringGrid::SetCurrentWideCell(const QString& Value)
{
    HandleSetEditText(Col(), Row(), Value);
}

// The inherited grid edits displayed columns; the text lives in the real
// column's base cell.
QString TExStringGrid::HandleGetEditText(int ACol, int ARow)
{
    FNoEditChange = true;
    const TPoint b = BaseCell(RealColFromDisplay(ACol), ARow);
    const QString text = TBaseGrid::HandleGetEditText(b.X, b.Y);
    // The editor shows the text as the cell aligns it.
    if (auto* editor = EditorMode() ? dynamic_cast<TExInplaceEdit*>(InplaceEditor()) : nullptr)
        editor->SetVAlign((ResolveCellAlignment(b.X, b.Y) & 0xFF) == taRightJustify);
    return FEditWithTags ? text : StripHTMLTags(text);
}

void TExStringGrid::HandleSetEditText(int ACol, int ARow, const QString& Value)
{
    const TPoint b = BaseCell(RealColFromDisplay(ACol), ARow);
    TBaseGrid::HandleSetEditText(b.X, b.Y, Value);
}

// ---------------------------------------------------------------------------
// Grid-wide accessors

int TExStringGrid::AllColWidths(int ACol) const
{
    if (ACol >= 0 && ACol < int(FAllColWidths.size()) && IsHiddenColumn(ACol))
        return FAllColWidths[std::size_t(ACol)];
    return ColWidths(DisplayColFromReal(ACol));
}

void TExStringGrid::SetAllColWidths(int ACol, int Value)
{
    if (ACol >= 0 && ACol < int(FAllColWidths.size()))
        FAllColWidths[std::size_t(ACol)] = Value;
    if (!IsHiddenColumn(ACol))
        SetColWidths(DisplayColFromReal(ACol), Value);
}

void TExStringGrid::SetCursor(TCursor v)
{
    TBaseGrid::SetCursor(v);
    FOldCursor = v;
}

void TExStringGrid::SetFocusHelper(const TFocusHelper* Value)
{
    FFocusHelper->Assign(Value);
}

void TExStringGrid::SetIntegralHeight(bool v)
{
    FIntegralHeight = v;
    SetBounds(Left(), Top(), Width(), Height());
}

void TExStringGrid::SetUseHTMLHints(bool v)
{
    // The hint window class is the application's, not this grid's.
    FUseHTMLHints = v;
    if (v)
        SetHintWindowClass<THTMLHintWindow>();
    else
        SetHintWindowClass<THintWindow>();
}

void TExStringGrid::Zoom(int Step)
{
    const int z = FZoomFactor + Step;
    if (z > 10 || z < -10)
        return;
    FScrollLock = true;
    FZoomFactor = z;
    GrowExtents(Step);
    FScrollLock = false;
    UpdateProportionalVertScroll();
    UpdateProportionalHorzScroll();
}

void TExStringGrid::CalcSizingState(
    int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs, const TGridDrawInfo& info) const
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, info);
    auto* self = const_cast<TExStringGrid*>(this);
    const TGridCoord colCell = MouseCoord(X - 6, Y);
    if (colCell.Y >= 0 && colCell.Y < FixedRows() && colCell.X >= 0 && OnColumnSize) {
        bool allow = true;
        OnColumnSize(self, colCell.X, allow);
        if (!allow) {
            State = gsNormal;
            FSizeFixed = false;
        }
    }
    const TGridCoord rowCell = MouseCoord(X, Y - 6);
    if (rowCell.X >= 0 && rowCell.X < FixedCols() && OnRowSize) {
        bool allow = true;
        OnRowSize(self, rowCell.Y, allow);
        if (!allow)
            State = gsNormal;
    }
}

// ---------------------------------------------------------------------------
// The wheel-pan marker

void TExStringGrid::DrawIntelliPanMarker()
{
    TBitmap marker;
    switch (FIntelliPan) {
    case TIntelliPan::ipVertical:
        marker.LoadFromResourceName(QStringLiteral("INTLI3"));
        break;
    case TIntelliPan::ipHorizontal:
        marker.LoadFromResourceName(QStringLiteral("INTLI2"));
        break;
    case TIntelliPan::ipBoth:
        marker.LoadFromResourceName(QStringLiteral("INTLI1"));
        break;
    case TIntelliPan::ipNone:
        return;
    }
    // The top-left pixel's colour is the marker's background.
    marker.SetTransparentColor(marker.Canvas()->Pixels(0, 0));
    marker.SetTransparent(true);
    Canvas()->Draw(wheelpanpos.X, wheelpanpos.Y, &marker);
}

void TExStringGrid::InvalidateIntelliPanMarker()
{
    InvalidateRect(TRect(wheelpanpos.X, wheelpanpos.Y, wheelpanpos.X + 32, wheelpanpos.Y + 32));
}

// ---------------------------------------------------------------------------
// Text changes

void TExStringGrid::CellTextChanged(int ACol, int ARow)
{
    if (!HasAutoRangeScrollBar(ACol, ARow))
        return;
    // Wrapped inside the cell, beside the bar.
    const TSize sz = GetCellTextSize(ACol, ARow, true, true);
    SetScrollProp(ACol, ARow, TScrollProp { RowHeights(ARow), sz.cy });
}
