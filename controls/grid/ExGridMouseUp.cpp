// The string grid's mouse release, double click and right button: pushed
// cell buttons, the end of an enhanced move, the sort click, automatic
// column sizing on a header border, editing by double click and selecting
// by right click.
#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExObjWindows.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Forms.h"

#include <QElapsedTimer>

#include <algorithm>

void TExStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    HandleMouseUp(Button, Shift, X, Y);
}

void TExStringGrid::HandleWMLButtonUp(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    const TShiftState keys = KeysToShiftState(Message.WParam);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    ColMoveFlg = ColSizeFlg = false;
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseSelectMode = TMouseSelectMode::msNormal;
    FMouseDownMove = false;
    FMouseSelectStart = -1;
    for (TArrowWindow* a : FArrows)
        if (a)
            a->SetVisible(false);

    if (FPushedCellButton.X >= 0) {
        const TPoint p = FPushedCellButton;
        FPushedCellButton = TPoint(-1, -1);
        SetMouseCapture(false);
        const int prc = RealColFromDisplay(p.X);
        const bool fixedCell = p.X < FixedCols() || p.Y < FixedRows();
        bool enabled = Options().testFlag(goEditing);
        if (!enabled && ACol >= 0 && ARow >= 0 && !FControlLook->NoDisabledButtonLook()) {
            const TPoint b = BaseCell(ACol, ARow);
            enabled = true;
            CanEditCell(RealColFromDisplay(b.X), b.Y, enabled);
            enabled = enabled && !IsFixed(b.X, b.Y);
        }
        if (enabled || FControlLook->NoDisabledButtonLook() || fixedCell) {
            if (HasButton(prc, p.Y) && !IsNode(p.Y))
                PushButton(p.X, p.Y, false);
            const TPoint pt(X, Y);
            const bool onCell = ACol >= 0 && ARow >= 0 && BaseCell(ACol, ARow) == p;
            if (HasButton(prc, p.Y) && ((onCell && PtInRect(GetCellGraphicRect(p.X, p.Y), pt)) || fixedCell))
                DoCellButtonClick(p.X, p.Y);
            if (HasExpand(prc, p.Y) && ((onCell && PtInRect(GetExpandRect(p.X, p.Y), pt)) || fixedCell)) {
                ToggleExpand(p.X, p.Y);
                DoExpandClick(p.X, p.Y, GetExpandState(p.X, p.Y));
            }
        } else if (HasButton(prc, p.Y)) {
            PushButton(p.X, p.Y, false);
        }
        InvalidateCell(p.X, p.Y);
    }
    if (FScrollHintShow) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
    }
    if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount()) {
        const int rc = RealColFromDisplay(ACol);
        const TPoint pt(X, Y);
        if ((HasButton(rc, ARow) && PtInRect(GetCellGraphicRect(ACol, ARow), pt))
            || (HasExpand(rc, ARow) && PtInRect(GetExpandRect(ACol, ARow), pt))) {
            FDoOnClick = false;
            return;
        }
    }
    // A fixed cell's click: the grid's own processing fires none there.
    if (ACol >= 0 && ARow >= 0 && (ACol < FixedCols() || ARow < FixedRows()) && FDoOnClick
        && !(ARow < FixedRows() && Options().testFlag(goColSizing) && IsSizingPosition(Clickposx, Clickposy)))
        Click();
    FDoOnClick = false;

    if (FSelectionClick && ACol >= FixedCols() && ARow >= FixedRows()) {
        // A click inside a drag source's selection that did not drag.
        FSelectionClick = false;
        if (FMouseActions->DisjunctRowSelect()) {
            if (keys.testFlag(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
                SetRowSelect(ARow, !RowSelect(ARow));
                if (OnMouseUp)
                    OnMouseUp(this, mbLeft, ssCtrl, ACol, ARow);
                return;
            }
            ClearRowSelect();
        }
        if (Options().testFlag(goRowSelect))
            SetSelection({ FixedCols(), ARow, ColCount() - 1, ARow });
        else
            FocusCell(ACol, ARow);
    }
    FSelectionClick = false;

    if (FMouseActions->DisjunctRowSelect() && ACol >= 0 && ARow >= FixedRows()
        && !(ACol == 0 && FMouseActions->HotmailRowSelect())) {
        const TGridRect s = Selection();
        for (int r = std::max(s.Top, FixedRows()); r <= s.Bottom && r < RowCount(); ++r)
            SetRowSelect(r, true);
        if (FDeselectState)
            SetRowSelect(ARow, false);
    }
    FDeselectState = false;

    if (EnhRowColMove() && (GridState() == gsColMoving || GridState() == gsRowMoving))
        EndEnhancedMove(X, Y);

    const TGridState state = GridState();
    if (state == gsColSizing && SizingIndex() >= 0 && SizingIndex() < ColCount()) {
        FUserResize.Col = SizingIndex();
        FUserResize.StartSize = ColWidths(SizingIndex());
        FUserResize.ColSized = true;
    } else if (state == gsRowSizing && SizingIndex() >= 0 && SizingIndex() < RowCount()) {
        FUserResize.Row = SizingIndex();
        FUserResize.StartSize = RowHeights(SizingIndex());
        FUserResize.RowSized = true;
    }
    DefaultMouseMessage(Message);
    if (IsDestroying())
        return;
    FUserResize.ColSized = FUserResize.RowSized = false;
    if (state == gsColSizing || state == gsRowSizing)
        ColSizeFlg = true;

    if (ColMoveFlg || ColSizeFlg || ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    if (ACol < FixedCols() && !FSortSettings->FixedCols)
        return;
    const int rc = RealColFromDisplay(ACol);
    if (HasCheckBox(rc, ARow) && OnCheckBoxMouseUp) {
        bool st = false;
        GetCheckBoxState(rc, RealRowIndex(ARow), st);
        OnCheckBoxMouseUp(this, ACol, ARow, st);
    }
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    HeaderSortClick(ACol, ARow, X, Y, keys);
}

void TExStringGrid::EndEnhancedMove(int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool cols = GridState() == gsColMoving;
    if (FMoveButton) {
        FMoveButton->SetEnabled(false);
        FMoveButton->SetVisible(false);
    }
    const bool ran = FMoveRunning;
    FMoveRunning = false;
    if (ran)
        DoEndBlockFocus();
    Screen->SetCursor(crDefault);
    SetGridState(gsNormal);
    FMoveEnded = true;
    if (!ran || !FMoveAllowed) {
        if (cols)
            InvalidateRow(0);
        else
            InvalidateCol(0);
        FMoveAllowed = true;
        return;
    }
    if (cols && ACol >= FixedCols() && ACol < ColCount() && ACol != Movecell && Movecell >= FixedCols())
        MoveColumn(Movecell, ACol);
    else if (!cols && ARow >= FixedRows() && ARow < RowCount() && ARow != Movecell && Movecell >= FixedRows())
        MoveRow(Movecell, ARow);
    Invalidate();
}

void TExStringGrid::HeaderSortClick(int ACol, int ARow, int X, int Y, TShiftState Shift)
{
    int pc = -1, pr = -1;
    MouseToCell(Clickposx, Clickposy, pc, pr);
    if (ARow != FSortSettings->Row() || pr != ARow || FixedRows() == 0 || !FSortSettings->Show() || FMoveEnded
        || RowCount() <= 2)
        return;
    const int rc = RealColFromDisplay(ACol);
    if (HasCheckBox(rc, ARow) && IsInCheckBox(rc, ARow, X, Y))
        return;
    // A release on a column border sizes, one on a header button opens it.
    const TRect r = CellRect(ACol, ARow);
    if (Options().testFlag(goColSizing) && (X - r.Left < 4 || r.Right - X < 4))
        return;
    if (X > r.Right - 16 && FControlLook->FixedDropDownButton && CanShowFixedDropDown(ACol))
        return;
    if (X > r.Right - 16 && GetColumnFilterValues(rc))
        return;
    bool doSort = !IsIgnoredColumn(rc);
    if (doSort && OnCanSort)
        OnCanSort(this, rc, doSort);
    if (!doSort) {
        InvalidateCell(ACol, FSortSettings->Row());
        return;
    }
    HideInplaceEdit();
    QElapsedTimer clock;
    clock.start();
    TSortSettings* ss = FSortSettings;
    const bool keepLeft = Options().testFlag(goRowSelect) && FNavigation->KeepHorizScroll;
    const int oldLeft = LeftCol();
    if (keepLeft)
        BeginUpdate();
    try {
        if (ss->IndexShow) {
            const bool key
                = ss->IndexSortKey == TIndexSortKey::ikShift ? Shift.testFlag(ssShift) : Shift.testFlag(ssCtrl);
            const bool initAsc = ss->InitSortDirection == TSortDirection::sdAscending;
            const int at = FSortIndexes->FindIndex(rc);
            if (key) {
                if (at >= 0)
                    FSortIndexes->ToggleIndex(rc);
                else
                    FSortIndexes->AddIndex(rc, initAsc);
            } else if (FSortIndexes->Count() == 1 && at == 0) {
                FSortIndexes->ToggleIndex(rc);
            } else {
                FSortIndexes->Clear();
                FSortIndexes->AddIndex(rc, initAsc);
            }
            if (NumNodes() > 0)
                QSortGroupIndexed();
            else
                QSortIndexed();
            ss->Column = FSortIndexes->Count() > 0 ? FSortIndexes->Integers(0) : -1;
        } else {
            bool undone = false;
            if (ss->Column == rc) {
                if (ss->UndoSort && ss->Direction != ss->InitSortDirection) {
                    QUnSort();
                    ss->Column = -1;
                    ss->Direction = ss->InitSortDirection;
                    undone = true;
                } else {
                    ss->Direction = ss->Direction == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                                                 : TSortDirection::sdAscending;
                }
            } else {
                ss->Column = rc;
                ss->Direction = ss->InitSortDirection;
            }
            if (!undone) {
                if (NumNodes() > 0)
                    QSortGroup();
                else
                    QSort();
            }
        }
    } catch (...) {
        if (keepLeft)
            EndUpdate();
        throw;
    }
    if (keepLeft) {
        SetLeftCol(oldLeft);
        EndUpdate();
    }
    SortTime = quint32(clock.elapsed());
    CellControlsUpdate(false);
    Invalidate();
    DoClickSort(ss->Column);
}

void TExStringGrid::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A sizing released outside the grid is cancelled.
    if ((GridState() == gsColSizing && X > ClientWidth()) || (GridState() == gsRowSizing && Y > ClientHeight())) {
        SetGridState(gsNormal);
        Invalidate();
        return;
    }
    FDropDownDown = false;
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    if (IsDestroying())
        return;
    // Only a selection that changed since the press is reported.
    if (Button == mbLeft || (Button == mbRight && FMouseActions->SelectOnRightClick)) {
        const TGridRect now = Selection();
        if (!(now == FPressSelection))
            DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
        FPressSelection = now;
    }
}

void TExStringGrid::HandleWMLButtonDblClk(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 && ARow >= 0) {
        if (FixedRowAlways()) {
            DefaultMouseMessage(Message);
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }
    // A double click on a header border sizes the column to its contents.
    if (ARow >= 0 && ARow < FixedRows() && Options().testFlag(goColSizing) && FMouseActions->AutoSizeColOnDblClick) {
        const TRect r = CellRect(ACol, ARow);
        int sized = -1;
        if (X - r.Left < 3 && ACol - 1 >= FixedCols())
            sized = ACol - 1;
        else if (r.Right - X < 3 && ACol >= FixedCols())
            sized = ACol;
        if (sized >= 0) {
            FDblClk = true;
            bool allow = true;
            if (OnColumnSize)
                OnColumnSize(this, sized, allow);
            if (allow) {
                AutoSizeCol(sized, 0);
                if (OnEndColumnSize)
                    OnEndColumnSize(this, sized);
            }
            DefaultMouseMessage(Message);
            return;
        }
    }
    if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount()) {
        const int rc = RealColFromDisplay(ACol);
        const TPoint pt(X, Y);
        if ((HasButton(rc, ARow) && PtInRect(GetCellGraphicRect(ACol, ARow), pt))
            || (HasExpand(rc, ARow) && PtInRect(GetExpandRect(ACol, ARow), pt)))
            return;
        if (HasCheckBox(rc, ARow) || HasRadioButton(rc, ARow)) {
            DefaultMouseMessage(Message);
            return;
        }
    }
    DefaultMouseMessage(Message);
    if (IsDestroying() || ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    if (OnDblClickCell)
        OnDblClickCell(this, ARow, ACol);
    if (IsDestroying() || ACol >= ColCount() || ARow >= RowCount())
        return;
    const int rc = RealColFromDisplay(ACol);
    if (ACol >= FixedCols() && ARow >= FixedRows()) {
        if (FMouseActions->EditOnDblClickOnly()) {
            const bool was = FMouseActions->RangeSelectAndEdit;
            FMouseActions->RangeSelectAndEdit = true;
            bool editable = true;
            CanEditCell(rc, ARow, editable);
            FMouseActions->RangeSelectAndEdit = was;
            if (editable) {
                SetOptions(Options() | goEditing);
                if (ACol != Col() || ARow != Row())
                    FocusCell(ACol, ARow);
                ShowInplaceEdit();
            }
        } else if (FMouseActions->RangeSelectAndEdit) {
            bool editable = true;
            CanEditCell(rc, ARow, editable);
            if (editable) {
                SetOptions(Options() | goEditing);
                const TPoint b = BaseCell(ACol, ARow);
                const TRect r = CellRect(b.X, b.Y);
                HandleMouseDown(mbLeft, {}, r.Left + 4, r.Top + 4);
            }
        }
    }
}

void TExStringGrid::HandleWMRButtonDown(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    const TShiftState keys = KeysToShiftState(Message.WParam);
    FPressSelection = Selection();
    DefaultMouseMessage(Message);
    if (IsDestroying())
        return;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    if (FMouseActions->SelectOnRightClick && ACol >= FixedCols() && ARow >= FixedRows() && !IsFixed(ACol, ARow)
        && !(FMouseActions->DisjunctCellSelect() && GetSelectedCells(ACol, ARow))) {
        const TGridRect s = Selection();
        const bool selected = ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
        if (selected) {
            if (OnSelectCell) {
                bool can = true;
                OnSelectCell(this, ACol, ARow, can);
            }
        } else {
            const TPoint b = BaseCell(ACol, ARow);
            const int left = LeftCol();
            FocusCell(b.X, b.Y);
            if (FNavigation->KeepHorizScroll)
                SetLeftCol(left);
        }
        if (FMouseActions->DisjunctRowSelect()) {
            if (keys.testFlag(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
                SetRowSelect(ARow, !RowSelect(ARow));
            } else if (!(RowSelectCount() > 1 && HasPopupMenu() && RowSelect(ARow))) {
                ClearRowSelect();
                SetRowSelect(ARow, true);
            }
        }
    }
    if (OnRightClickCell)
        OnRightClickCell(this, ARow, ACol);
}

void TExStringGrid::HandleWMRButtonUp(TMessage& Message)
{
    // No context menu while a move shows its cursor.
    if (EnhRowColMove() && FMoveRunning) {
        Message.Result = 0;
        return;
    }
    DefaultMouseMessage(Message);
}
