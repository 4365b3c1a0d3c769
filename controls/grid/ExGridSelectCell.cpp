// Whether the cell cursor may move to a cell, and what the move switches on
// the way: editing per cell, the merged-cell redirect, validation of a
// special editor's value, the changing and changed events, and the repaint of
// the active cell's headers.
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/Bitmaps.h"

bool TExStringGrid::HandleSelectCell(int ACol, int ARow)
{
    const bool indicator = FRowIndicator && !FRowIndicator->Empty() && FixedCols() > 0;
    if (FForceSel) {
        if (indicator) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    // Outside a window nothing is switched; the select-cell event still answers.
    if (!Parent())
        return TBaseGrid::HandleSelectCell(ACol, ARow);

    bool result = false;
    const int rc = ACol >= 0 ? RealColIndex(ACol) : -1;
    const bool inside = rc >= 0 && ARow >= 0 && ARow < RowCount();
    FEditText = inside ? Cells(rc, ARow) : QString();

    // The target row stays clear of the footers at the bottom.
    if (FFloatingFooter->Visible() && FFooterPanel) {
        const int line = ClientHeight() - FFooterPanel->Height()
            - (FSearchFooter->Visible() && FSearchPanel ? SearchPanelHeight() + 2 : 0);
        if (FFloatingFooter->FooterStyle() == TFooterStyle::fsFixedLastRow) {
            // The footer shows the very last row; the cursor never lands there.
            if (ARow == RowCount() - 1)
                return false;
            while (ARow > TopRow() && CellRect(0, ARow).Bottom > line) {
                const int top = TopRow();
                SetTopRow(top + 1);
                if (TopRow() == top)
                    break;
            }
        } else {
            FFooterPanel->Invalidate();
            if (ARow > TopRow() && CellRect(0, ARow).Bottom > line)
                SetTopRow(TopRow() + 1);
        }
    }
    if (FSearchFooter->Visible())
        ScrollRowAboveSearchPanel(ARow);

    if (ACol < 0 || ARow < 0)
        return false;

    const TGridOptions opts = Options();
    if (inside && !opts.testFlag(goRangeSelect) && IsMergedNonBaseCell(rc, ARow)) {
        const TPoint base = BaseCell(rc, ARow);
        const int baseCol = DisplColIndex(base.X);
        if (baseCol >= 0 && baseCol < ColCount()) {
            TCustomGrid::FocusCell(baseCol, base.Y, true);
            RepaintCell(baseCol, base.Y);
            if (FMouseActions->DirectEdit || (FControlLook->DropDownAlwaysVisible() && HasComboBox(base.X, base.Y)))
                ShowInplaceEdit();
        }
        return false;
    }
    if (ACol == 0 && HasNodes() && !opts.testFlag(goRowSelect))
        return false;
    if (FUseEnabledRows && FNavigation->SkipDisabledRows && !RowEnabled(ARow))
        return false;

    QString text = inside ? Cells(rc, ARow) : QString();
    const TInplaceEdit* editor = InplaceEditor();
    const bool editorFocused = editor && editor->Focused();
    const bool editing = opts.testFlag(goEditing);

    if (HasCellControl(rc, ARow)) {
        bool canEdit = true;
        CanEditCell(rc, ARow, canEdit);
        if (!FEditingSuspended)
            canEdit = !canEdit && (editing || FMouseActions->RangeSelectAndEdit);
        if (!editing && !opts.testFlag(goRowSelect) && canEdit) {
            FEditChange = true;
            SetOptions(Options() | goEditing);
        }
    } else {
        bool canEdit = editing || FEditingSuspended;
        CanEditCell(rc, ARow, canEdit);
        if (FMouseActions->DirectEdit) {
            EditControl = DefaultEditor();
            if (IsNoEditorCell(rc, ARow))
                canEdit = false;
        }
        if (FMouseActions->EditOnDblClickOnly())
            canEdit = false;
        if (canEdit) {
            FEditingSuspended = false;
            if (!editing) {
                FEditChange = true;
                if (!FEditing)
                    RememberCellValue(ACol, ARow);
                TGridOptions o = Options();
                if (o.testFlag(goRowSelect) && FMouseActions->RangeSelectAndEdit)
                    o &= ~TGridOptions(goRowSelect);
                SetOptions(o | goEditing);
                HideInplaceEdit();
                text = Cells(rc, ARow);
            }
        } else {
            HideInplaceEdit();
            text = Cells(rc, ARow);
            if (Options().testFlag(goEditing)) {
                FEditMode = false;
                FEditingSuspended = true;
                FEditChange = true;
                SetOptions(Options() & ~TGridOptions(goEditing));
                SetEditorMode(false);
            }
        }
    }

    bool allow = true;
    if (!FEditing || editorFocused) {
        DoCellChanging(ACol, ARow, allow);
        if (IsFixedDisplayCell(ACol, ARow) || !allow)
            result = (allow && Options().testFlag(goRowSelect)) || (FFixedRowAlways && RowCount() == FixedRows());
        else
            result = TBaseGrid::HandleSelectCell(ACol, ARow);
    } else {
        // A special editor's value is validated before the cursor may leave.
        const QString kept = FCellCache;
        const int cur = RealCol();
        const bool valid
            = IsWideCell(cur, Row()) ? ValidateCellWide(GetWideCells(cur, Row())) : ValidateCell(Cells(cur, Row()));
        if (valid) {
            DoCellChanging(ACol, ARow, allow);
            result = allow && TBaseGrid::HandleSelectCell(ACol, ARow);
        }
        if (!result)
            text = kept;
    }

    if (result) {
        if (indicator) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        if (FISelect)
            FISelect->CellSelected(Col(), ARow);
        const TGridRect sel = Selection();
        if (FActiveCellShow) {
            RepaintActiveCellHeaders(Col(), Row(), ACol, ARow);
            if (sel.Left != Col() && sel.Top != Row())
                RepaintActiveCellHeaders(sel.Left, sel.Top, sel.Left, sel.Top);
        }
        if (ActiveRowShow()) {
            InvalidateRow(ARow);
            InvalidateRow(sel.Top);
        }
        if (FSelectionRectangle)
            InvalidateGridRect(sel);
        if (!IsLoading() && ARow != FOldRowSel && OnRowChanged) {
            const int old = FOldRowSel;
            FOldRowSel = ARow;
            OnRowChanged(this, old, ARow);
        }
        if (HasCellBorderEvent())
            InvalidateGridRect(TGridRect { FixedCols(), sel.Top, FixedCols() + VisibleColCount(), sel.Bottom });
    }
    FCellCache = text;
    return result;
}

void TExStringGrid::DoCellChanging(int NewCol, int NewRow, bool& Allow)
{
    if (NewRow != Row() && OnRowChanging)
        OnRowChanging(this, Row(), NewRow, Allow);
    if (NewCol != Col() && OnColChanging)
        OnColChanging(this, Col(), NewCol, Allow);
    if ((NewRow != Row() || NewCol != Col()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
}

bool TExStringGrid::CanShowFixedDropDown(int ACol)
{
    bool canShow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, ACol, canShow);
    return canShow;
}

void TExStringGrid::RepaintActiveCellHeaders(int Col1, int Row1, int Col2, int Row2)
{
    for (const TPoint c : { TPoint(Col1, Row1), TPoint(Col2, Row2) }) {
        if (FixedRows() > 0 && c.X >= 0 && c.X < ColCount())
            RepaintCell(c.X, FixedRows() - 1);
        if (FixedCols() > 0 && c.Y >= 0 && c.Y < RowCount())
            RepaintCell(FixedCols() - 1, c.Y);
    }
}
