// The string grid's mouse press: the left press by the region it lands in,
// the mouse-down hook of every button, radio groups and link clicks.
#include "controls/grid/ExGrid.h"

#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/Services.h"

#include <algorithm>

TShiftState TExStringGrid::PressShift(TShiftState Shift)
{
    if (Shift.testFlag(ssAlt))
        return ssAlt;
    if (Shift.testFlag(ssShift))
        return ssShift;
    if (Shift.testFlag(ssCtrl))
        return ssCtrl;
    return {};
}

void TExStringGrid::DefaultMouseMessage(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
}

bool TExStringGrid::MouseMessage(TMessage& Message)
{
    if (IsDesigning())
        return false;
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        HandleWMLButtonDown(Message);
        return true;
    case WM_LBUTTONUP:
        HandleWMLButtonUp(Message);
        return true;
    case WM_LBUTTONDBLCLK:
        HandleWMLButtonDblClk(Message);
        return true;
    case WM_RBUTTONDOWN:
        HandleWMRButtonDown(Message);
        return true;
    case WM_RBUTTONUP:
        HandleWMRButtonUp(Message);
        return true;
    case CM_MOUSELEAVE:
        DefaultMouseMessage(Message);
        HandleMouseLeave();
        return true;
    default:
        return false;
    }
}

void TExStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    HandleMouseDown(Button, Shift, X, Y);
}

bool TExStringGrid::HeaderBorderAt(int ACol, int ARow, int X) const
{
    // A press this near a header cell's side grabs the column border.
    if (ARow < 0 || ARow >= FixedRows() || !Options().testFlag(goColSizing))
        return false;
    const TRect r = CellRect(ACol, ARow);
    return X - r.Left < 4 || r.Right - X < 4;
}

void TExStringGrid::FollowLink(const QString& Link)
{
    const QString upper = Link.toUpper();
    const int at = int(upper.indexOf(QLatin1String("CELL://")));
    if (at < 0) {
        // Only web and mail links leave the grid; a path or a program a
        // cell happens to hold is never started.
        OpenURL(Link);
        return;
    }
    TPoint p;
    if (!ParseRowColRef(Link.mid(at + 7), p))
        return;
    if (p.X < FixedCols() || p.X >= ColCount() || p.Y < FixedRows() || p.Y >= RowCount())
        return;
    FocusCell(p.X, p.Y);
    ScrollInView(p.X, p.Y);
}

void TExStringGrid::HandleWMLButtonDown(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    const TShiftState keys = KeysToShiftState(Message.WParam);
    const TShiftState shift = PressShift(keys);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    FDoOnClick = FMouseDownMove = FMouseKeepDown = true;
    FSpinUpClick = FSpinDnClick = false;
    FPressSelection = Selection();

    if (Options().testFlag(goEditing) && FMouseActions->RangeSelectAndEdit) {
        const TGridRect s = Selection();
        if (ACol < s.Left || ACol > s.Right || ARow < s.Top || ARow > s.Bottom)
            SetOptions(Options() & ~TGridOptions(goEditing));
    }

    bool allow = true;
    if (OnCanClickCell && ACol >= 0 && ARow >= 0)
        OnCanClickCell(this, ARow, ACol, allow);
    if (!allow) {
        FDoOnClick = FMouseDownMove = FMouseKeepDown = false;
        return;
    }
    if (FCellSelectorMode) {
        CellSelectorClick(ACol, ARow);
        return;
    }

    if (FMouseActions->DisjunctCellSelect() && shift != ssCtrl && ACol >= FixedCols() && ARow >= FixedRows()) {
        ClearSelectedCells();
        Invalidate();
    }
    SearchInc.clear();
    FSelectionClick = false;
    FPushedCellButton = TPoint(-1, -1);
    FMoveEnded = false;
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    Clickposx = X;
    Clickposy = Y;
    // The cell whose border a header press grabs lies a little left and up.
    MouseToCell(ARow == 0 ? X - 5 : X - 5, ACol == 0 ? Y - 4 : Y - 4, Colclicked, Rowclicked);
    if (ARow == 0)
        MouseToCell(X - 5, Y, Colclicked, Rowclicked);
    else if (ACol == 0)
        MouseToCell(X, Y - 4, Colclicked, Rowclicked);
    Colclickedsize = Colclicked >= 0 ? ColWidths(Colclicked) : 0;
    Rowclickedsize = Rowclicked >= 0 ? RowHeights(Rowclicked) : 0;

    if (ACol < 0 || ARow < 0) {
        HideInplaceEdit();
        if (!FixedRowAlways())
            DefaultMouseMessage(Message);
        return;
    }

    {
        const TPoint base = BaseCell(ACol, ARow);
        ACol = base.X;
        ARow = base.Y;
    }
    const bool fixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
    if (fixed)
        HideInplaceEdit();
    const int rc = RealColFromDisplay(ACol);
    const TRect cr = CellRect(ACol, ARow);

    // Always-visible spin buttons take the cell's right 18 pixels.
    if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(rc, ARow) && X > cr.Right - 18) {
        if (Y > (cr.Top + cr.Bottom) / 2)
            FSpinDnClick = true;
        else
            FSpinUpClick = true;
    }
    // A node glyph expands or contracts its node.
    if (ACol == 0 && ARow >= FixedRows() && IsNode(ARow) && IsNodeGlyphHit(ARow, X)) {
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, shift, X, Y);
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        const int real = RealRowIndex(ARow);
        bool ok = true;
        if (GetNodeState(ARow)) {
            if (OnBeforeExpandNode)
                OnBeforeExpandNode(this, ARow, real, ok);
            if (ok) {
                ExpandNode(real);
                if (OnExpandNode)
                    OnExpandNode(this, ARow, real);
            }
        } else {
            if (OnBeforeContractNode)
                OnBeforeContractNode(this, ARow, real, ok);
            if (ok) {
                ContractNode(real);
                if (OnContractNode)
                    OnContractNode(this, ARow, real);
            }
        }
        if (FMouseActions->MoveRowOnNodeClick && ARow < RowCount())
            SetRow(ARow);
        return;
    }
    // Inside the selection of a drag source the press keeps the selection,
    // so that moving on starts a drag.
    {
        const TGridRect s = Selection();
        const bool inSel = ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
        if (FDragDropSettings->OleDropSource && !Options().testFlag(goEditing) && !fixed && inSel
            && !HasButton(rc, ARow) && !HasCheckBox(rc, ARow)
            && (!Options().testFlag(goColSizing) || (X - cr.Left >= 4 && cr.Right - X >= 4))) {
            if (CanFocus())
                SetFocus();
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            FSelectionClick = true;
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            return;
        }
    }
    if (!fixed && HasRating(rc, ARow)) {
        bool editable = Options().testFlag(goEditing);
        CanEditCell(rc, ARow, editable);
        if (editable) {
            HideInplaceEdit();
            // Half stars: the 9-pixel steps from the left edge, halved.
            double rate = ((X - cr.Left) / 9) / 2;
            if (DoRatingChange(rc, ARow, rate)) {
                SetFloats(rc, ARow, rate);
                InvalidateCell(ACol, ARow);
            }
            return;
        }
    }
    if (HasButton(rc, ARow) || HasExpand(rc, ARow)) {
        HideInplaceEdit();
        if (!fixed) {
            const bool was = FForceSel;
            FForceSel = true;
            FocusCell(ACol, ARow);
            FForceSel = was;
        }
        const TRect g = HasButton(rc, ARow) ? GetCellGraphicRect(ACol, ARow) : GetExpandRect(ACol, ARow);
        if (PtInRect(g, TPoint(X, Y))) {
            if (HasButton(rc, ARow))
                PushButton(ACol, ARow, true);
            FPushedCellButton = TPoint(ACol, ARow);
            SetMouseCapture(true);
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            return;
        }
    }
    if (ACol >= ColCount() || ARow >= RowCount()) {
        DefaultMouseMessage(Message);
        return;
    }
    if (Colclicked >= 0 && Rowclicked >= 0) {
        const TRect c = CellRect(Colclicked, Rowclicked);
        Clickposdx = X - c.Right;
        Clickposdy = Y - c.Bottom;
    } else {
        Clickposdx = Clickposdy = 0;
    }

    if (FMouseActions->DisjunctRowSelect() && !fixed) {
        if (keys.testFlag(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl)
            FDeselectState = RowSelect(ARow);
        else {
            FMouseDown = true;
            if (!keys.testFlag(ssAlt))
                ClearRowSelect();
        }
    }

    // Links: a plain cell text that is a link.
    {
        const QString text = Cells(rc, ARow);
        if (URLShow() && !text.isEmpty() && !text.contains(QLatin1Char('<')) && IsURL(text)) {
            bool autoHandle = true;
            if (OnAnchorClick)
                OnAnchorClick(this, ARow, ACol, text, autoHandle);
            if (autoHandle)
                FollowLink(text.left(4096));
            return;
        }
    }

    Movecell = -1;
    // Selecting by headers.
    if (ACol < FixedCols() && ARow < FixedRows() && FMouseActions->AllSelect && Options().testFlag(goRangeSelect)
        && FMouseSelectMode == TMouseSelectMode::msAll) {
        if (CanFocus())
            SetFocus();
        const TGridRect all { FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1 };
        SelectAllNotify(all);
        SetSelection(all);
        return;
    }
    if (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->RowSelect
        && FMouseSelectMode == TMouseSelectMode::msRow) {
        const TGridRect old = Selection();
        const int top = keys.testFlag(ssShift) ? old.Top : ARow;
        SetSelection({ FixedCols(), std::min(top, ARow), ColCount() - 1, std::max(top, ARow) });
        FMouseSelectStart = ARow;
        return;
    }
    if (ARow < FixedRows() && ACol >= FixedCols() && FMouseActions->ColSelect && Options().testFlag(goRangeSelect)
        && FMouseSelectMode == TMouseSelectMode::msColumn) {
        if (CanFocus())
            SetFocus();
        const TGridRect old = Selection();
        int l = ACol, r = ACol;
        if (keys.testFlag(ssShift)) {
            l = std::min(ACol, old.Left);
            r = std::max(ACol, old.Right);
        }
        SetSelection({ l, FixedRows(), r, RowCount() - 1 });
        FMouseSelectStart = ACol;
        return;
    }
    if (ARow < FixedRows() && ACol >= FixedCols())
        Movecell = ACol;
    else if (ACol < FixedCols() && ARow >= FixedRows())
        Movecell = ARow;
    MoveOfsX = X - cr.Left;
    MoveOfsY = Y - cr.Top;

    bool active = Options().testFlag(goEditing) || FMouseActions->RangeSelectAndEdit;
    if (active)
        CanEditCell(rc, ARow, active);

    // Check boxes and radio buttons.
    const bool checkRow = ARow >= FixedRows() || (FMouseActions->CheckAllCheck && !FMouseActions->HotmailRowSelect());
    if ((active || FControlLook->CheckAlwaysActive) && checkRow && (HasCheckBox(rc, ARow) || HasRadioButton(rc, ARow))
        && IsInCheckBox(rc, ARow, X, Y)) {
        HideInplaceEdit();
        if (CanFocus())
            SetFocus();
        const bool radio = HasRadioButton(rc, ARow);
        if (radio) {
            ClickRadioButtonCell(rc, ARow, false);
            if (OnRadioButtonClick)
                OnRadioButtonClick(this, rc, ARow);
        } else {
            ClickCheckBoxCell(rc, ARow, false);
        }
        bool state = false;
        GetCheckBoxState(rc, RealRowIndex(ARow), state);
        if (radio)
            state = IsRadioButtonChecked(rc, ARow);
        if (!FNavigation->AlwaysEdit && ARow >= FixedRows() && ACol >= FixedCols() && (ACol != Col() || ARow != Row()))
            FocusCell(ACol, ARow);
        if (!radio)
            DoCheckBoxClick(ACol, ARow, state);
        if (ARow < FixedRows() && !radio) {
            // The header box sets the whole column.
            for (int r = FixedRows(); r < RowCount(); ++r)
                SetCheckBoxState(rc, RealRowIndex(r), state);
            Invalidate();
        }
        InvalidateCell(ACol, ARow);
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, KeysToShiftState(Message.WParam), X, Y);
        if (!IsDestroying())
            Click();
        return;
    }

    const bool combo = !fixed && FControlLook->DropDownAlwaysVisible() && HasComboBox(rc, ARow);
    const bool direct = (active || (FMouseActions->EditOnDblClickOnly() && combo))
        && (FMouseActions->DirectEdit || (FControlLook->DropDownAlwaysVisible() && combo));
    if (direct && !fixed) {
        HideInplaceEdit();
        if (CanFocus())
            SetFocus();
    }
    if (fixed && ARow >= FixedRows() && ACol >= FixedCols()) {
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    const int oldTop = TopRow();
    const bool keepLeft = Options().testFlag(goRowSelect) && FNavigation->KeepHorizScroll;
    const int oldLeft = LeftCol();
    if (!SelectionHidden()) {
        const bool was = FNavigation->AlwaysEdit;
        FNavigation->AlwaysEdit = false;
        DefaultMouseMessage(Message);
        FNavigation->AlwaysEdit = was;
    }
    if (IsDestroying())
        return;
    if (keepLeft && LeftCol() != oldLeft)
        SetLeftCol(oldLeft);
    if (TopRow() != oldTop && FMouseActions->NoScrollOnPartialRow)
        SetTopRow(oldTop);
    if (OnClickCell && !HeaderBorderAt(ACol, ARow, X) && ARow < RowCount() && ACol < ColCount())
        OnClickCell(this, ARow, ACol);
    if (OnCellValidate && ARow < RowCount())
        RememberCellValue(Col(), Row());
    if (direct && !fixed && ARow < RowCount() && X - cr.Left >= 4 && cr.Right - X >= 4 && !HasCellControl(rc, ARow)) {
        if (FMouseActions->EditOnDblClickOnly() && combo)
            SetOptions(Options() | goEditing);
        bool ok = true;
        if (ARow != Row() && OnRowChanging)
            OnRowChanging(this, Row(), ARow, ok);
        if (ok && ACol != Col() && OnColChanging)
            OnColChanging(this, Col(), ACol, ok);
        if (ok && (ACol != Col() || ARow != Row()) && OnCellChanging)
            OnCellChanging(this, Row(), Col(), ARow, ACol, ok);
        if (ok) {
            if (ACol != Col() || ARow != Row())
                FocusCell(ACol, ARow);
            if (Col() == ACol && Row() == ARow) {
                RememberCellValue(ACol, ARow);
                ShowInplaceEdit();
            }
        }
    }
}

void TExStringGrid::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (FMouseActions->RangeSelectAndEdit && Button == mbLeft && !FMouseActions->EditOnDblClickOnly()) {
        if (ACol == Col() && ARow == Row() && !Options().testFlag(goEditing) && ACol >= FixedCols()
            && ARow >= FixedRows()) {
            bool editable = true;
            CanEditCell(RealColFromDisplay(ACol), ARow, editable);
            if (editable) {
                SetOptions(Options() | goEditing);
                TBaseGrid::MouseDown(Button, Shift, X, Y);
                ShowInplaceEdit();
                return;
            }
        } else if (Shift.testFlag(ssShift) && Options().testFlag(goEditing)) {
            SetOptions(Options() & ~TGridOptions(goEditing));
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    const bool was = FEditStart;
    FEditStart = true;
    try {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FEditStart = was;
        throw;
    }
    FEditStart = was;
    if (Shift.testFlag(ssShift) && SelectionRectangle())
        Invalidate();
}
