// The string grid's column stretching, its size and width handlers, the
// floating footer's calculated values and the view property writers.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObjWindows.h"
#include "controls/base/PictureContainer.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmaps.h"

#include <cmath>

// ---------------------------------------------------------------------------
// Column stretching

void TExStringGrid::ApplyColumnStretch(int ACol)
{
    if ((ComponentState() & (TComponentState(csLoading) | csDestroying)) != TComponentState())
        return;
    if (Application && Application->Terminated())
        return;
    // Off, or a column the grid no longer has, stretches nothing: every width
    // change and form resize comes here whether or not stretching is on.
    if (!FColumnSize->Stretch() || ColCount() == 0 || FColChanging)
        return;
    if (ACol == -1)
        ACol = ColCount() - 1;
    if (ACol < 0 || ACol >= ColCount())
        return;
    FColChanging = true;
    FStretchAllowed = false;
    try {
        if (ColCount() == 1) {
            SetColWidths(0, ClientWidth());
        } else {
            int others = 0;
            for (int c = 0; c < ColCount(); ++c)
                if (c != ACol)
                    others += ColWidths(c);
            if (others < ClientWidth())
                SetColWidths(ACol, ClientWidth() - others - 1);
            else if (LeftCol() == FixedCols())
                SetColWidths(ACol, DefaultColWidth());
        }
    } catch (...) {
        FColChanging = false;
        FStretchAllowed = true;
        throw;
    }
    FColChanging = false;
    FStretchAllowed = true;
    if (FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->SetAlign(alBottom);
}

// ---------------------------------------------------------------------------
// Size and width handlers

void TExStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    HandleSizeChanged(OldColCount, OldRowCount);
}

void TExStringGrid::ColWidthsChanged()
{
    HandleColWidthsChange();
}

void TExStringGrid::RowHeightsChanged()
{
    HandleRowHeightsChange();
}

void TExStringGrid::HandleSizeChanged(int OldColCount, int OldRowCount)
{
    const bool quiet = !Parent() || (ComponentState() & (TComponentState(csLoading) | csReading)) != TComponentState()
        || (Application && Application->Terminated());
    if (!quiet && FColumnSize->Stretch())
        ApplyColumnStretch(FColumnSize->StretchColumn);
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    if (!quiet) {
        UpdateScrollBars(true);
        // Counts change by RowCount and ColCount, and by rows the filter or
        // a node hides and shows again.
        UpdateProportionalVertScroll();
        UpdateProportionalHorzScroll();
    }
}

void TExStringGrid::ScaleOtherColumns(int ASized, double AFactor)
{
    for (int c = FixedCols(); c < ColCount(); ++c)
        if (c != ASized)
            SetColWidths(c, int(std::nearbyint(ColWidths(c) * AFactor)));
}

void TExStringGrid::ScaleOtherRows(int ASized, double AFactor)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (r != ASized)
            SetRowHeights(r, int(std::nearbyint(RowHeights(r) * AFactor)));
}

void TExStringGrid::CloseDesignScrollHint()
{
    if (IsDesigning() && FScrollHintWnd && FScrollHintWnd->Visible())
        FScrollHintWnd->SetVisible(false);
}

void TExStringGrid::HandleColWidthsChange()
{
    if (FStretchAllowed)
        ApplyColumnStretch(FColumnSize->StretchColumn);
    CloseDesignScrollHint();
    TBaseGrid::ColWidthsChanged();
    // The check-box editor is not moved with its cell: it goes.
    if (FEditMode && EditControl == TEditorType::edCheckBox)
        HideInplaceEdit();

    const int sized = FUserResize.Col;
    if (FUserResize.ColSized && sized >= 0 && sized < ColCount()) {
        if (FMouseActions->AllColumnSize && FUserResize.StartSize > 0) {
            const double factor = double(ColWidths(sized)) / FUserResize.StartSize;
            // The scaled columns' own changes are no user resize.
            FUserResize.ColSized = false;
            ScaleOtherColumns(sized, factor);
            FUserResize.ColSized = true;
        }
        if (OnEndColumnSize)
            OnEndColumnSize(this, sized);
        int width = ColWidths(sized);
        UpdateColumnSize(sized, width);
        if (width != ColWidths(sized)) {
            FUserResize.ColSized = false;
            SetColWidths(sized, width);
        } else {
            FClickCol = -1;
            FClickRow = -1;
        }
    }
    FUserResize.ColSized = false;
    // The proportional thumb follows the columns' total width.
    UpdateProportionalHorzScroll();
    UpdateFooter();
    CellControlsUpdate(false);
}

void TExStringGrid::HandleRowHeightsChange()
{
    CloseDesignScrollHint();
    TBaseGrid::RowHeightsChanged();

    const int sized = FUserResize.Row;
    if (FUserResize.RowSized && sized >= 0 && sized < RowCount()) {
        if (FMouseActions->AllRowSize && FUserResize.StartSize > 0) {
            const double factor = double(RowHeights(sized)) / FUserResize.StartSize;
            FUserResize.RowSized = false;
            ScaleOtherRows(sized, factor);
        }
        if (OnEndRowSize)
            OnEndRowSize(this, sized);
        FClickCol = -1;
        FClickRow = -1;
    }
    FUserResize.RowSized = false;
    CellControlsUpdate(false);
}

void TExStringGrid::UpdateColumnSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TExStringGrid::UpdateAutoColumnSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

// ---------------------------------------------------------------------------
// Floating footer values

void TExStringGrid::UpdateFooter()
{
    if (FFooterPanel)
        FFooterPanel->Invalidate();
}

void TExStringGrid::LastRowChanged()
{
    TBaseGrid::LastRowChanged();
    UpdateFooter();
}

void TExStringGrid::CalcFooter(int ACol)
{
    // Totals read every row: inside an update bracket they are worked out
    // once, when the outermost bracket closes.
    if (FUpdateCount > 0) {
        FFooterPending = true;
        return;
    }
    CalcFooterColumn(ACol);
}

void TExStringGrid::RecalcFooter()
{
    CalcFooter(-1);
}

void TExStringGrid::RecalcFooterColumn(int ACol, int ARow)
{
    (void)ARow;
    CalcFooter(ACol);
}

void TExStringGrid::CalcFooterColumn(int ACol)
{
    if (!FFloatingFooter->Visible() || FFloatingFooter->FooterStyle() != TFooterStyle::fsFixedLastRow
        || !FFloatingFooter->EnableCalculation)
        return;
    const int footer = RowCount() - 1;
    if (footer < FixedRows())
        return;
    const int hidden = FFloatingFooter->CalculateHiddenRows ? NumHiddenRows() : 0;
    const int first = ACol == -1 ? 0 : ACol;
    const int last = ACol == -1 ? TotalColCount() - 1 : ACol;
    for (int c = std::max(first, 0); c <= last && c < TotalColCount(); ++c)
        WriteFooterValue(c, footer, hidden);
}

void TExStringGrid::WriteFooterValue(int ACol, int AFooterRow, int AHidden)
{
    if (!HasCellProperties(ACol, AFooterRow))
        return;
    const auto calc = TColumnCalcType(int(GetCellProperties(ACol, AFooterRow)->CalcType()) & 0x7F);
    if (calc == TColumnCalcType::acNONE || calc == TColumnCalcType::acSPREAD)
        return;
    // The aggregates run over the rows above the footer: the shown ones, or
    // all real rows when hidden rows count. The footer row itself never
    // counts, however many rows are hidden.
    const int from = FixedRows();
    const int to = AHidden > 0 ? TotalRowCount() : AFooterRow - 1;
    switch (calc) {
    case TColumnCalcType::acSUM:
        SetFloats(ACol, AFooterRow, ColumnSum(ACol, from, to));
        break;
    case TColumnCalcType::acAVG:
        SetFloats(ACol, AFooterRow, ColumnAvg(ACol, from, to));
        break;
    case TColumnCalcType::acCOUNT:
        SetInts(ACol, AFooterRow, AFooterRow - from + AHidden);
        break;
    case TColumnCalcType::acMIN:
        SetFloats(ACol, AFooterRow, ColumnMin(ACol, from, to));
        break;
    case TColumnCalcType::acMAX:
        SetFloats(ACol, AFooterRow, ColumnMax(ACol, from, to));
        break;
    case TColumnCalcType::acCUSTOM: {
        QString value;
        if (OnFooterCalc)
            OnFooterCalc(this, ACol, AFooterRow + AHidden, value);
        else if (FFloatingFooter->OnCalcFooter)
            FFloatingFooter->OnCalcFooter(this, ACol, AFooterRow + AHidden, value);
        SetCellEx(ACol, AFooterRow, value);
        break;
    }
    case TColumnCalcType::acDISTINCT:
        SetFloats(ACol, AFooterRow, ColumnDistinct(ACol, from, to));
        break;
    case TColumnCalcType::acSTDDEV:
        SetFloats(ACol, AFooterRow, ColumnStdDev(ACol, from, to));
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// View properties

bool TExStringGrid::UsesToolkitStyles() const
{
    return FUseVCLStyles;
}

void TExStringGrid::AddEmptyRow()
{
    SetRowCount(RowCount() + 1);
}

void TExStringGrid::SetSelection(const TGridRect& R)
{
    TBaseGrid::SetSelection(R);
    // The active-cell headers follow the selection.
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow())
        RepaintRow(R.Bottom);
}

void TExStringGrid::SetRowIndicator(const TBitmap* Value)
{
    FRowIndicator->Assign(Value);
    RepaintCell(0, Row());
}

void TExStringGrid::SetBackGround(const TBackGround* Value)
{
    FBackGround->Assign(Value);
    Invalidate();
}

void TExStringGrid::SetShowModified(const TShowModified* Value)
{
    FShowModified->Assign(Value);
}

void TExStringGrid::SetBalloon(const TBalloonSettings* Value)
{
    FBalloon->Assign(Value);
}

void TExStringGrid::SetProgressAppearance(const TGridProgressAppearance* Value)
{
    FProgressAppearance->Assign(Value);
}

void TExStringGrid::SetActiveCellFont(const TFont* Value)
{
    FActiveCellFont->Assign(Value);
    Invalidate();
}

TColor TExStringGrid::ArrowColor() const
{
    const TArrowWindow* up = FArrows[int(TArrowDirection::arrUp)];
    return up ? up->Color() : clNone;
}

void TExStringGrid::SetArrowColor(TColor Value)
{
    for (TArrowWindow* w : FArrows)
        if (w)
            w->SetColor(Value);
}

void TExStringGrid::ForgetRemovedComponent(TComponent* AComponent)
{
    if (FPictureContainer && AComponent == static_cast<TComponent*>(FPictureContainer))
        FPictureContainer = nullptr;
    if (FEditLink && AComponent == static_cast<TComponent*>(FEditLink))
        FEditLink = nullptr;
    if (!ComponentState().testFlag(csDestroying) && FSyncGrid
        && static_cast<TComponent*>(FSyncGrid->Grid()) == AComponent)
        FSyncGrid->SetGrid(nullptr);
}
