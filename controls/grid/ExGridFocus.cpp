// The grid's small message handlers: the update lock that keeps bulk
// changes from painting, focus arrival and loss, the mouse cursor per
// select mode, the search bar's accelerators and the reactions to enabled,
// colour and cursor changes.
#include "controls/grid/ExGrid.h"

#include "controls/base/ExObjGridButton.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/controls/StdCtrls.h"

// ---------------------------------------------------------------------------
// The update lock

void TExStringGrid::BeginUpdate()
{
    // Every call counts, shown or not, so that each EndUpdate has one to
    // lower; only the window's redraw depends on it being shown.
    ++FUpdateCount;
    if (!FRedrawLocked && Visible() && HandleAllocated()) {
        FRedrawLocked = true;
        Perform(WM_SETREDRAW, 0, 0);
    }
}

void TExStringGrid::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount > 0 || IsDestroying())
        return;
    FSelChange = false;
    FlushScrollRange();
    if (FFooterPending) {
        FFooterPending = false;
        CalcFooter(-1);
    }
    // A bracket opened while shown and closed while hidden must not leave
    // the window's redraw off.
    if (FRedrawLocked) {
        FRedrawLocked = false;
        Perform(WM_SETREDRAW, 1, 0);
    }
    if (Visible()) {
        Invalidate();
        PaintNCBorder();
    }
}

void TExStringGrid::ResetUpdate()
{
    FUpdateCount = 0;
    FlushScrollRange();
    if (FRedrawLocked) {
        FRedrawLocked = false;
        Perform(WM_SETREDRAW, 1, 0);
    }
}

void TExStringGrid::SetLockUpdate(bool Value)
{
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

// ---------------------------------------------------------------------------
// The mouse cursor

bool TExStringGrid::SetCursorMessage(TMessage& Message)
{
    // Panning keeps its direction's cursor while the mouse moves.
    if (FWheelPan) {
        ShowWindowCursor(this, FPanCursor);
        Message.Result = 1;
        return true;
    }
    const TPoint p = ScreenToClient(MouseCursorPos());
    const bool sizing = GridState() == gsColSizing || GridState() == gsRowSizing;
    bool shown = false;
    if (FMouseSelectMode != TMouseSelectMode::msNormal && !sizing) {
        TCursor c = crDefault;
        switch (FMouseSelectMode) {
        case TMouseSelectMode::msColumn:
            c = 8011;
            break;
        case TMouseSelectMode::msRow:
            c = 8010;
            break;
        case TMouseSelectMode::msAll:
        case TMouseSelectMode::msResize:
            c = 8012;
            break;
        default:
            break;
        }
        if (c != crDefault) {
            ShowWindowCursor(this, c);
            Message.Result = 1;
            shown = true;
        }
    } else if (FCellSelectorMode) {
        ShowWindowCursor(this, 8014);
        Message.Result = 1;
        shown = true;
    }
    if (!shown && FMouseSelectMode != TMouseSelectMode::msURL) {
        TBaseGrid::WndProc(Message);
        int c = -1, r = -1;
        MouseToCell(p.X, p.Y, c, r);
        // The cell's own cursor stays until the next move.
        if (Message.Result == 0 && c >= 0 && r >= 0 && OnGetCellCursor) {
            DoGetCellCursor(c, r, p.X, p.Y);
            Message.Result = 1;
        }
    } else if (!shown) {
        TBaseGrid::WndProc(Message);
    }
    if (FSizeFixed || FSizingFixed) {
        ShowWindowCursor(this, crHSplit);
        Message.Result = 1;
    } else if (FSizeFixedR || FSizingFixedR) {
        ShowWindowCursor(this, crVSplit);
        Message.Result = 1;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Focus

void TExStringGrid::SetFocusMessage(TMessage& Message)
{
    if (InvokedFocusChange)
        return;
    TBaseGrid::WndProc(Message);
    if (HasCheckBox(RealCol(), Row()))
        return;
    if (FInplaceRichEdit && FInplaceRichEdit->Visible())
        HideInplaceEdit();
    const auto canEdit = [this] {
        bool allow = true;
        CanEditCell(RealCol(), Row(), allow);
        return allow;
    };
    const bool inView = Row() >= TopRow() && Row() < TopRow() + VisibleRowCount() + 1 && Col() >= LeftCol()
        && Col() < LeftCol() + VisibleColCount() + 1;
    TInplaceEdit* editor = InplaceEditor();
    if (editor) {
        const bool fromEditor = editor->HandleAllocated() && Message.WParam == WPARAM(editor->Handle());
        const bool moving = GridState() == gsRowMoving || GridState() == gsColMoving;
        if (!fromEditor && !moving && FNavigation->AlwaysEdit && EditControl == TEditorType::edNormal && canEdit()
            && inView) {
            ShowInplaceEdit();
            Message.Result = 0;
            return;
        }
    } else if (FNavigation->AlwaysEdit && canEdit() && inView && !FMouseActions->DirectEdit
        && !FControlLook->DropDownAlwaysVisible() && HasComboBox(RealCol(), Row())) {
        ShowInplaceEdit();
    }
    if (IsMergedCell(RealCol(), Row()))
        RepaintCell(Col(), Row());
}

void TExStringGrid::KillFocusMessage(TMessage& Message)
{
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
    if (IsMergedCell(RealCol(), Row()))
        RepaintCell(Col(), Row());
    if (FCtrlDown) {
        FCtrlDown = false;
        if (FCtrlXY.X >= 0 && FCtrlXY.Y >= 0)
            RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }
}

void TExStringGrid::DoEnter()
{
    if (FBlockFocus)
        return;
    // The cell's value is remembered for validation even when selecting it fails.
    try {
        TBaseGrid::DoEnter();
        if (Options().testFlag(goEditing) || FMouseActions->RangeSelectAndEdit)
            SelectCell(Col(), Row());
    } catch (...) {
        RememberCellValue(Col(), Row());
        throw;
    }
    RememberCellValue(Col(), Row());
}

void TExStringGrid::DoExit()
{
    if (FBlockKill)
        return;
    if (FSelChange && FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    FSelChange = false;
    TBaseGrid::DoExit();
}

// ---------------------------------------------------------------------------
// The search bar's accelerators

bool TExStringGrid::DialogCharMessage(TMessage& Message)
{
    Message.Result = 0;
    if (!FSearchFooter->Visible() || !FSearchPanel)
        return true;
    const auto ch = static_cast<char16_t>(Message.WParam);
    const auto usable = [](TControl* c) { return c && c->Visible() && c->Enabled(); };
    if (usable(FSearchPanel->ForwardButton()) && IsAccel(ch, FSearchFooter->FindNextCaption())) {
        SearchPanelEvent(&TExStringGrid::SearchFooterFindNext);
        Message.Result = 1;
    } else if (usable(FSearchPanel->BackwardButton()) && IsAccel(ch, FSearchFooter->FindPrevCaption())) {
        SearchPanelEvent(&TExStringGrid::SearchFooterFindPrevious);
        Message.Result = 1;
    } else if (usable(FSearchPanel->HiliteButton()) && IsAccel(ch, FSearchFooter->HighLightCaption())) {
        SearchPanelEvent(&TExStringGrid::SearchFooterHighlight);
        Message.Result = 1;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Change messages; true when the message was handled whole.

bool TExStringGrid::FocusMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETCURSOR:
        return SetCursorMessage(Message);
    case WM_SETFOCUS:
        SetFocusMessage(Message);
        return true;
    case WM_KILLFOCUS:
        KillFocusMessage(Message);
        return true;
    case CM_DIALOGCHAR:
        return DialogCharMessage(Message);
    case CM_ENABLEDCHANGED:
        TBaseGrid::WndProc(Message);
        RepaintGrid();
        return true;
    case CM_COLORCHANGED:
        TBaseGrid::WndProc(Message);
        if (FFloatingFooter->Visible() && FFooterPanel)
            FFooterPanel->Invalidate();
        return true;
    case CM_CURSORCHANGED:
        TBaseGrid::WndProc(Message);
        if (!Invokedchange)
            FMouseSelectMode = TMouseSelectMode::msNormal;
        Invokedchange = false;
        return true;
    default:
        return false;
    }
}

void TExStringGrid::ResetFixedCellHighlight()
{
    FSizeFixed = false;
    FSizeFixedR = false;
    FNoMouseLeave = false;
    if (FHoverFixedCells != THoverFixedCells::hfNone && FHoverFixedCell.X >= 0 && FHoverFixedCell.Y >= 0) {
        const TPoint was = FHoverFixedCell;
        FHoverFixedCell = TPoint(-1, -1);
        RepaintCell(was.X, was.Y);
    }
}
