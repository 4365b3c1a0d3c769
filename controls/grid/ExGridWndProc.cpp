// The grid's window procedure and its side of in-place editing: the
// "GridEditDone" notice, live display of the edited text, the in-place
// combo's notices, the mouse wheel and wheel panning, keeping a synchronised
// grid on the same row, ending an edit by a key, and the controls placed in
// cells.
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridCellEditors.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjWindows.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExGridUnit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Restores a flag when the scope ends, exceptions included.
class TBoolRestore {
public:
    TBoolRestore(bool& Flag, bool Value)
        : FFlag(Flag)
        , FSaved(Flag)
    {
        Flag = Value;
    }
    ~TBoolRestore() { FFlag = FSaved; }
    TBoolRestore(const TBoolRestore&) = delete;
    TBoolRestore& operator=(const TBoolRestore&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

// The panning cursors by direction: [v + 1][h + 1].
constexpr TCursor PanCursors[3][3] = { { 8006, 8004, 8005 }, { 8002, 8000, 8003 }, { 8008, 8001, 8007 } };

} // namespace

void TExStringGrid::WndProc(TMessage& Message)
{
    HandleWindowMessage(Message);
}

// An enhanced row or column move that loses the mouse ends without moving:
// the drag cursor and the target arrows go; the base grid then stops its
// move timer and returns to the normal state.
void TExStringGrid::CancelEnhancedMove()
{
    if (!EnhRowColMove() || (GridState() != gsRowMoving && GridState() != gsColMoving) || Screen->Cursor() != crDrag)
        return;
    Screen->SetCursor(crDefault);
    for (TArrowWindow* w : FArrows)
        if (w)
            w->SetVisible(false);
}

void TExStringGrid::HandleWindowMessage(TMessage& Message)
{
    const UINT msg = Message.Msg;
    if (msg == WM_DESTROY) {
        if (FAutoThemeAdapt)
            RegisterThemeWindow(false);
        if (FOleDropTargetAssigned)
            RevokeGridDropTarget();
        KillTimer(this, GridTimerId);
    }
    if (IsDestroying()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    FMsgSelection = Selection();

    if (msg == WM_GRIDEDITDONE) {
        // Posted when an editor stored its value: the cell may have left the
        // grid since, so only the posted indices are reported.
        if (OnEditCellDone)
            OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
        if (FMouseActions->EditOnDblClickOnly()) {
            HideInplaceEdit();
            FEditMode = false;
            SetOptions(Options() & ~TGridOptions(goEditing));
        }
        return;
    }
    if (!IsDesigning()
        && ((msg == WM_PAINT && FPaintCount == 0) || msg == WM_SIZE || msg == WM_LBUTTONUP || msg == CM_UIACTIVATE)) {
        UpdateProportionalVertScroll();
        UpdateProportionalHorzScroll();
    }
    ThemeChangeMessage(Message);

    switch (msg) {
    case WM_COMMAND:
        CommandMessage(Message);
        if (Message.Result == 1)
            return;
        break;
    case WM_TIMER:
        // Every timer tick steps the panning, whatever the timer.
        if (FWheelMsg != 0 && FWheelPan && IntelliPan() != TIntelliPan::ipNone)
            WheelPanStep();
        if (Message.WParam == GridTimerId) {
            GridTimer();
            return;
        }
        if (Message.WParam == WheelPanTimerId)
            return;
        break;
    case WM_MBUTTONDOWN:
        if (FWheelPan) {
            EndWheelPan();
        } else if (FWheelMsg != 0 && IntelliPan() != TIntelliPan::ipNone && RowCount() - FixedFooters() > FixedRows()) {
            StartWheelPan(TPoint(GetXLParam(Message.LParam), GetYLParam(Message.LParam)));
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        // Any press or key ends panning, and then does what it does.
        if (FWheelPan)
            EndWheelPan();
        if (msg == WM_CANCELMODE)
            CancelEnhancedMove();
        break;
    case WM_PAINT:
        PaintMessage(Message);
        return;
    case WM_SIZE:
        SizeMessage(Message);
        return;
    case CM_HINTSHOW: {
        auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
        BuildCellHint(info->HintStr, *info);
        Message.Result = 0;
        return;
    }
    default:
        break;
    }
    // The wheel belongs to an open combo editor, as to the focused window.
    if (FWheelMsg != 0 && msg == FWheelMsg && FEditMode && EditCombo && EditCtrl == EditCombo && EditCombo->Visible()) {
        Message.Result = EditCombo->Perform(msg, Message.WParam, Message.LParam);
        if (Message.Result != 0)
            return;
    }
    if (FWheelMsg != 0 && msg == FWheelMsg && !FWheelPan) {
        WheelMessage(Message);
        if (Message.Result != 0)
            return;
    }
    if (MouseMessage(Message))
        return;
    if (ScrollWndProc(Message))
        return;
    if (FocusMessage(Message))
        return;
    if (KeyMessage(Message))
        return;

    const int oldRow = Row();
    TBaseGrid::WndProc(Message);
    if (Row() != oldRow && FSyncGrid->Grid() && FSyncGrid->SelectionRow)
        SetRowEx(Row());
}

// ---------------------------------------------------------------------------
// Commands of the in-place editor

void TExStringGrid::CommandMessage(TMessage& Message)
{
    TInplaceEdit* editor = InplaceEditor();
    if (HiWord(Message.WParam) != EN_CHANGE || !FShowEditProcess || !editor || !editor->HandleAllocated()
        || Message.LParam != LPARAM(editor->Handle()))
        return;
    // The edited text shows in the cell while it is typed; the editor does
    // not repaint meanwhile.
    editor->Perform(WM_SETREDRAW, 0, 0);
    // Only once the editor holds the cell's text: before, it would blank the cell.
    if (!FEditStart && FLoadingEditor == 0 && FInplaceCol >= 0 && (EditorMode() || FEditMode))
        SetEditText(Col(), Row(), editor->Text());
    editor->Perform(WM_SETREDRAW, 1, 0);
    // The toolkit grid keeps its change state, so that Esc can still bring
    // the text back.
    TBaseGrid::WndProc(Message);
    Message.Result = 1;
}

void TExStringGrid::InplaceComboChange(bool EditChange)
{
    TCustomComboBox* cb = FInplaceCombo;
    if (!cb)
        return;
    if (EditorMode() || FEditMode) {
        const int i = cb->ItemIndex();
        const QString sel = i == -1 ? cb->Text() : cb->Items()->Strings(i);
        if (OnComboChange)
            OnComboChange(this, RealCol(), Row(), i, sel);
        if (OnComboObjectChange)
            OnComboObjectChange(this, RealCol(), Row(), i, sel, i == -1 ? nullptr : cb->Items()->Objects(i));
    }
    // A typing change is also reported for the displayed column, as before.
    if (EditChange && OnComboChange)
        OnComboChange(this, Col(), Row(), -1, cb->Text());
}

void TExStringGrid::InplaceComboCloseUp()
{
    TCustomComboBox* cb = FInplaceCombo;
    if (!cb)
        return;
    if (FMouseActions->DirectComboClose) {
        const int i = cb->ItemIndex();
        if (i >= 0)
            cb->SetText(cb->Items()->Strings(i));
        InplaceComboChange(false);
        EditControl = TEditorType::edComboEdit;
        FEditMode = true;
        {
            TBoolRestore direct(FMouseActions->DirectEdit, false);
            HideInplaceEdit();
            if (CanFocus())
                SetFocus();
        }
    }
    DoComboCloseUp(Row(), RealCol());
}

void TExStringGrid::InplaceComboDropDown()
{
    if (FInplaceCombo)
        DoComboDropDown(Row(), RealCol());
}

// ---------------------------------------------------------------------------
// The mouse wheel

void TExStringGrid::WheelMessage(TMessage& Message)
{
    Message.Result = 0;
    // The parent may claim the turn: then the default processing runs,
    // ending in HandleMouseWheelDown or HandleMouseWheelUp.
    if (Parent() && Parent()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0)
        return;
    Message.Result = 1;
    // Turns of less than a notch add up; only whole notches move.
    FWheelRest += static_cast<std::int16_t>(HiWord(Message.WParam));
    const int notches = FWheelRest / WHEEL_DELTA;
    FWheelRest -= notches * WHEEL_DELTA;
    if (notches == 0)
        return;
    const bool down = notches < 0; // towards the user
    const WORD keys = LoWord(Message.WParam);

    if ((keys & MK_CONTROL) && FIntelliZoom) {
        Zoom(down ? FWheelScrollLines : -FWheelScrollLines);
        AutoSizeCells(false, 4, 4);
        return;
    }
    if (!FEnableWheel || (FFixedRowAlways && RowCount() == 1))
        return;

    const bool move = FMouseActions->WheelAction() == TWheelAction::waMoveSelection;
    const int firstRow = FixedRows();
    const int lastRow = RowCount() - FixedFooters() - 1;
    int step
        = (FMouseActions->WheelIncrement > 0 ? FMouseActions->WheelIncrement : FWheelScrollLines) * std::abs(notches);
    int target = Row();
    if (move) {
        target = down ? Row() + step : Row() - step;
    } else if (down) {
        const int maxTop = std::max(firstRow, RowCount() - VisibleRowCount());
        if (TopRow() < maxTop && TopRow() + step >= firstRow)
            SetTopRow(std::min(TopRow() + step, maxTop));
    } else {
        if (TopRow() - step < firstRow)
            step = TopRow() - firstRow;
        if (TopRow() > firstRow && TopRow() - step >= firstRow)
            SetTopRow(TopRow() - step);
    }

    int delta = 0;
    // Without normal rows nothing moves.
    if (lastRow >= firstRow) {
        target = std::clamp(target, firstRow, lastRow);
        if (Col() < FixedCols() || Col() >= ColCount())
            SetCol(std::clamp(Col(), FixedCols(), ColCount() - 1));
        const int oldLeft = LeftCol();
        StartUpdate();
        try {
            if (FMouseActions->DisjunctRowSelect() && move)
                ClearRowSelect();
            delta = target - Row();
            if (move && delta != 0)
                SetRow(target);
            if (Row() != target) {
                // Refused: half the way, and up a row for a turn away from the user.
                SetRow(Row() + int(std::lround((target - Row()) / 2.0)));
                if (!down && TopRow() > firstRow)
                    SetTopRow(TopRow() - 1);
            }
            if (Options().testFlag(goRowSelect) && FNavigation->KeepHorizScroll)
                SetLeftCol(oldLeft);
        } catch (...) {
            ResetUpdate();
            throw;
        }
        ResetUpdate();
    }
    bool handled = true;
    ScrollNotify(delta, handled);
    if ((FMouseActions->WheelIncrement != 0 || FMouseActions->DisjunctRowSelect()) && handled) {
        TShiftState shift;
        TPoint pos(0, 0);
        if (FMouseActions->DisjunctRowSelect()) {
            shift = KeysToShiftState(keys);
            pos = TPoint(GetXLParam(Message.LParam), GetYLParam(Message.LParam));
        }
        FireWheelEvent(down, shift, pos);
    }
    const TGridRect now = Selection();
    if (!(now == FMsgSelection))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    if (FSearchFooter->Visible() && TopRow() == RowCount() - VisibleRowCount())
        ScrollAboveSearchPanel();
}

bool TExStringGrid::FireWheelEvent(bool Down, TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    const TMouseWheelUpDownEvent& ev = Down ? OnMouseWheelDown : OnMouseWheelUp;
    if (ev)
        ev(this, Shift, MousePos, handled);
    return handled;
}

bool TExStringGrid::HandleMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    return WheelUpDown(true, Shift, MousePos);
}

bool TExStringGrid::HandleMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    return WheelUpDown(false, Shift, MousePos);
}

bool TExStringGrid::WheelUpDown(bool Down, TShiftState Shift, TPoint MousePos)
{
    if (FMouseActions->WheelAction() == TWheelAction::waScroll || !FEnableWheel)
        return FireWheelEvent(Down, Shift, MousePos);
    TBoolRestore direct(FMouseActions->DirectEdit, false);
    const auto base = [&] {
        return Down ? TBaseGrid::HandleMouseWheelDown(Shift, MousePos) : TBaseGrid::HandleMouseWheelUp(Shift, MousePos);
    };
    if (Options().testFlag(goRowSelect) && FNavigation->KeepHorizScroll) {
        StartUpdate();
        const int left = LeftCol();
        bool result = false;
        try {
            result = base();
        } catch (...) {
            ResetUpdate();
            throw;
        }
        SetLeftCol(left);
        ResetUpdate();
        return result;
    }
    const bool wasEditing = EditorMode() || FEditMode;
    const bool result = Down || (Row() < RowCount() && Col() < ColCount()) ? base() : true;
    if (wasEditing && CanFocus())
        SetFocus();
    return result;
}

// ---------------------------------------------------------------------------
// Wheel panning

void TExStringGrid::StartWheelPan(TPoint At)
{
    FPanPrevCursor = WindowCursor(this);
    FPanCursor = 8000;
    ShowWindowCursor(this, FPanCursor);
    FWheelPan = true;
    SetTimer(this, WheelPanTimerId, 10);
    wheelpanpos = At;
    SetMouseCapture(true);
    FPanHints = ShowHint();
    SetShowHint(false);
    DrawIntelliPanMarker();
}

void TExStringGrid::EndWheelPan()
{
    FWheelPan = false;
    SetMouseCapture(false);
    KillTimer(this, WheelPanTimerId);
    FPanCursor = crDefault;
    ShowWindowCursor(this, FPanPrevCursor);
    SetShowHint(FPanHints);
    InvalidateIntelliPanMarker();
}

void TExStringGrid::WheelPanStep()
{
    if (!FWheelPan)
        return;
    const TGridRect was = Selection();
    const TPoint p = ScreenToClient(MouseCursorPos());
    int h = p.X < wheelpanpos.X - 5 ? -1 : (p.X > wheelpanpos.X + 5 ? 1 : 0);
    int v = p.Y < wheelpanpos.Y - 5 ? -1 : (p.Y > wheelpanpos.Y + 5 ? 1 : 0);
    if (IntelliPan() == TIntelliPan::ipVertical)
        h = 0;
    if (IntelliPan() == TIntelliPan::ipHorizontal)
        v = 0;
    const TCursor cursor = PanCursors[v + 1][h + 1];

    const int lastRow = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    if (lastRow >= FixedRows() && (Row() < FixedRows() || Row() > lastRow))
        SetRow(std::clamp(Row(), FixedRows(), lastRow));
    if (lastCol >= FixedCols() && (Col() < FixedCols() || Col() > lastCol))
        SetCol(std::clamp(Col(), FixedCols(), lastCol));

    if (FMouseActions->WheelAction() == TWheelAction::waScroll) {
        if (h == -1 && LeftCol() > FixedCols()) {
            InvalidateIntelliPanMarker();
            SetLeftCol(LeftCol() - 1);
        } else if (h == 1 && LeftCol() < ColCount() - VisibleColCount()) {
            InvalidateIntelliPanMarker();
            SetLeftCol(LeftCol() + 1);
        }
        if (v == -1 && TopRow() > FixedRows()) {
            InvalidateIntelliPanMarker();
            SetTopRow(TopRow() - 1);
        } else if (v == 1 && TopRow() < RowCount() - VisibleRowCount()) {
            InvalidateIntelliPanMarker();
            SetTopRow(TopRow() + 1);
        }
    } else {
        if (h == -1 && Col() > FixedCols()) {
            if (Col() - 1 < LeftCol())
                InvalidateIntelliPanMarker();
            SetCol(Col() - 1);
        } else if (h == 1 && Col() < lastCol) {
            if (Col() + 1 >= LeftCol() + VisibleColCount())
                InvalidateIntelliPanMarker();
            SetCol(Col() + 1);
        }
        if (v == -1 && Row() > FixedRows())
            SetRow(Row() - 1);
        else if (v == 1 && Row() < lastRow)
            SetRow(Row() + 1);
    }
    FPanCursor = cursor;
    ShowWindowCursor(this, cursor);
    DrawIntelliPanMarker();
    const TGridRect now = Selection();
    if (!(now == was))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

// ---------------------------------------------------------------------------
// The in-place editor

void TExStringGrid::ShowInplaceEdit()
{
    if (HasCellControl(RealCol(), Row()))
        return;
    if (Row() < TopRow())
        SetTopRow(Row());
    if (Col() < LeftCol())
        SetLeftCol(Col());
    ShowEditor();
}

void TExStringGrid::HideInplaceEdit()
{
    if (HideInplaceRichEdit())
        return;
    if (!EditorMode() && !FEditMode)
        return;
    if (EditorMode())
        HideEditor();
    StoreEditorValue(Col(), Row());
    FEditMode = false;
    SelectCell(Col(), Row());
}

void TExStringGrid::DoneInplaceEdit(WORD Key, TShiftState Shift)
{
    TBoolRestore block(FBlockFocus, true);
    FEditing = false;
    HideInplaceEdit();
    if (FNavigation->AppendOnArrowDown && Key == VK_DOWN && Row() == RowCount() - FixedFooters() - 1) {
        bool allow = true;
        DoCanAddRow(allow);
        if (allow)
            AddEmptyRow();
    }
    if (Key == VK_TAB || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
        WORD k = Key;
        KeyDown(k, Shift);
    }
    {
        TBoolRestore alwaysEdit(FNavigation->AlwaysEdit, false);
        if (CanFocus())
            SetFocus();
    }
    if (Key == VK_RETURN)
        AdvanceToNextCell(Col(), Row(), false, FNavigation->AdvanceAutoEdit, true, false, true);
}

void TExStringGrid::NotifyEditingDone(int ACol, int ARow)
{
    if (OnEditingDone)
        OnEditingDone(this);
    FEditMode = false;
    PostMessage(this, WM_GRIDEDITDONE, WPARAM(ACol), LPARAM(ARow));
}

void TExStringGrid::Select()
{
    SelectCell(Col(), Row());
}

void TExStringGrid::DoEllipsClick(QString& Text)
{
    if (OnEllipsClick)
        OnEllipsClick(this, RealCol(), Row(), Text);
}

// ---------------------------------------------------------------------------
// Controls placed in cells

int TExStringGrid::CellControlColumn(TControlItem* Item)
{
    TControl* ctrl = Item->Control();
    const int r = DisplRowIndex(Item->Y());
    if (!ctrl || r < 0 || r >= RowCount())
        return -1;
    if (Item->X() >= 0 && Item->X() < ColCount() && CellControls(RealColIndex(Item->X()), r) == ctrl)
        return RealColIndex(Item->X());
    // The entry names the column where it was shown when it was made; a
    // column hidden or shown since moved the cell: it is looked for along
    // its row, only for such an entry.
    for (int c = 0; c < TotalColCount(); ++c)
        if (CellControls(c, r) == ctrl)
            return c;
    return -1;
}

void TExStringGrid::CellControlsUpdate(bool Rebuild)
{
    if (!HandleAllocated() || IsDestroying())
        return;
    TControlList* list = FControlList.get();
    // Only the listed cells are visited: an entry whose row no longer holds
    // its control leaves the list.
    if (Rebuild) {
        for (int i = list->Count() - 1; i >= 0; --i) {
            TControlItem* item = list->GetControl(i);
            if (IsHiddenRow(item->Y()))
                continue;
            if (CellControlColumn(item) < 0) {
                if (item->Control())
                    item->Control()->SetVisible(false);
                list->RemoveControl(i);
            }
        }
        FNumCellControls = list->Count();
    }

    if (FCellScrollBar && FCellScrollBar->Visible()) {
        const bool inView = Row() >= TopRow() && Row() <= TopRow() + VisibleRowCount() && Col() >= LeftCol()
            && Col() <= LeftCol() + VisibleColCount();
        if (!inView) {
            FCellScrollBar->SetHeight(0);
        } else {
            const TRect r = CellRect(Col(), Row());
            FCellScrollBar->SetBounds(r.Right - FCellScrollBar->Width(), r.Top, FCellScrollBar->Width(), r.Height());
        }
    }

    for (int i = 0; i < list->Count(); ++i) {
        TControlItem* item = list->GetControl(i);
        TControl* ctrl = item->Control();
        if (!ctrl)
            continue;
        if (IsHiddenRow(item->Y())) {
            ctrl->SetVisible(false);
            continue;
        }
        // A hidden column, or a cell that gave its control away, shows nothing.
        const int real = CellControlColumn(item);
        if (real < 0 || IsHiddenColumn(real)) {
            ctrl->SetVisible(false);
            continue;
        }
        const int c = DisplColIndex(real);
        const int r = DisplRowIndex(item->Y());
        item->SetX(c);
        if (c < FixedCols() || r < FixedRows())
            continue;
        const bool out
            = c < LeftCol() || c > LeftCol() + VisibleColCount() || r < TopRow() || r > TopRow() + VisibleRowCount();
        if (out) {
            ctrl->SetVisible(false);
            continue;
        }
        const TRect cr = CellRect(c, r);
        ctrl->SetBounds(cr.Left - 1, cr.Top - 1, cr.Width() + 1, cr.Height() + 1);
        ctrl->SetVisible(true);
        ctrl->Invalidate();
    }
}
