// The string grid's keyboard: its own keys around the toolkit grid's
// navigation, typing into cells, and the key-up work.
#include <QScopedValueRollback>
#include <algorithm>

#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridExchange.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/runtime/SysUtils.h"

namespace {

bool IsArrow(WORD Key)
{
    return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

bool IsNavigationKey(WORD Key)
{
    return Key >= VK_PRIOR && Key <= VK_DOWN;
}

TGridRect Ordered(const TGridRect& R)
{
    return { std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
        std::max(R.Top, R.Bottom) };
}

bool operator!=(const TGridRect& A, const TGridRect& B)
{
    return A.Left != B.Left || A.Top != B.Top || A.Right != B.Right || A.Bottom != B.Bottom;
}

} // namespace

// ---------------------------------------------------------------------------
// Routing

bool TExStringGrid::KeyMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
        HandleWMKeyDown(Message);
        return true;
    case WM_CHAR:
        HandleWMChar(Message);
        return true;
    case WM_KEYUP:
        HandleWMKeyUp(Message);
        return true;
    default:
        return false;
    }
}

void TExStringGrid::FireKeyDown(WORD Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TExStringGrid::ReportSelectionChange()
{
    const TGridRect s = Selection();
    if (s != FMoveSelection) {
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        FMoveSelection = s;
    }
}

// ---------------------------------------------------------------------------
// Key down

void TExStringGrid::HandleWMKeyDown(TMessage& Message)
{
    const WORD key = static_cast<WORD>(Message.WParam);
    const TShiftState shift = KeyDataToShiftState(Message.LParam);
    const bool ctrl = shift.testFlag(ssCtrl);
    const bool shifted = shift.testFlag(ssShift);
    const auto consume = [&](bool fire) {
        if (fire)
            FireKeyDown(key, shift);
        Message.WParam = 0;
    };
    const auto platform = [&] { TBaseGrid::WndProc(Message); };

    FMoveSelection = Selection();
    const int leftCol = LeftCol();
    const int realCol = RealCol();
    const bool rowSelect = Options().testFlag(goRowSelect);
    const bool keepHorz = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && rowSelect
        && LeftCol() != FixedCols() && FNavigation->KeepHorizScroll;

    if (FNavigation->MoveScrollOnly
        && (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || key == VK_UP || key == VK_DOWN)) {
        const int top = TopRow();
        const int page = VisibleRowCount();
        switch (key) {
        case VK_PRIOR:
            SetTopRow(top > page + FixedRows() ? top - page : FixedRows());
            break;
        case VK_NEXT:
            if (top + page < RowCount())
                SetTopRow(std::min(top + page, std::max(FixedRows(), RowCount() - page)));
            break;
        case VK_END:
            SetTopRow(std::max(FixedRows(), RowCount() - page));
            break;
        case VK_HOME:
            SetTopRow(FixedRows());
            break;
        case VK_UP:
            if (top > FixedRows())
                SetTopRow(top - 1);
            break;
        default:
            if (top + page < RowCount())
                SetTopRow(top + 1);
            break;
        }
        consume(false);
        return;
    }

    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    if (enterOrF2 && FMouseActions->EditOnDblClickOnly() && !Options().testFlag(goEditing)) {
        bool editable = false;
        {
            QScopedValueRollback<bool> range(FMouseActions->RangeSelectAndEdit, true);
            editable = IsEditable(Col(), Row());
        }
        if (editable)
            SetOptions(Options() | goEditing);
    }
    if (enterOrF2 && FMouseActions->RangeSelectAndEdit && !Options().testFlag(goEditing)) {
        if (!IsEditable(Col(), Row())) {
            consume(true);
            return;
        }
        SetOptions(Options() | goEditing);
        ShowInplaceEdit();
    }
    const auto holdsHtmlControl = [this] {
        const QString text = GetCellEx(RealCol(), Row());
        return FEnableHTML && CellTextType(text, true) == 1 && text.toUpper().contains(QLatin1String("<CONTROL"));
    };
    if (enterOrF2) {
        if (Options().testFlag(goEditing) && !IsEditable(Col(), Row())) {
            consume(true);
            return;
        }
        if (holdsHtmlControl()) {
            consume(false);
            return;
        }
    }
    if (key == VK_RETURN && !IsEditable(Col(), Row())) {
        const TCustomForm* form = GetParentForm(this);
        if (form && form->KeyPreview())
            platform();
        else
            consume(true);
        return;
    }
    if ((key == VK_RETURN || key == VK_SPACE) && HasCellControl(realCol, Row()))
        ControlCellKey(key);

    if ((key == VK_HOME || key == VK_END) && HomeEndKey(key, shift)) {
        consume(true);
        return;
    }

    if ((key == VK_RIGHT || key == VK_LEFT) && IsNode(Row()) && IsMergedCell(realCol, Row())) {
        if (key == VK_RIGHT)
            ExpandNode(RealRowIndex(Row()));
        else
            ContractNode(RealRowIndex(Row()));
    }

    if (rowSelect && !IsNode(Row()) && ColCount() > VisibleColCount() && (key == VK_LEFT || key == VK_RIGHT)) {
        const auto scroll = [this](WORD k) {
            if (k == VK_LEFT && LeftCol() > FixedCols())
                SetLeftCol(LeftCol() - 1);
            if (k == VK_RIGHT && LeftCol() + VisibleColCount() < ColCount())
                SetLeftCol(LeftCol() + 1);
        };
        if (FNavigation->LeftRightRowSelect) {
            if (ctrl)
                scroll(key);
        } else {
            scroll(key);
            consume(true);
            return;
        }
    }

    if (key == VK_TAB && Options().testFlag(goTabs)) {
        AdvanceOnTab(shifted);
        ReportSelectionChange();
        consume(false);
        return;
    }

    if (FNavigation->SkipFixedCells && IsArrow(key) && !ctrl && !shifted && SkipFixedCellsKey(key)) {
        consume(true);
        return;
    }

    if (key == VK_DOWN && FNavigation->AppendOnArrowDown && IsLastNormalRow())
        AppendRowOnArrowDown();

    if (FSelectionRectangle && Selection() != FMoveSelection) {
        RepaintGridRect(Ordered(FMoveSelection));
        RepaintGridRect(Ordered(Selection()));
        FMoveSelection = Selection();
    }

    // The toolkit's processing: OnKeyDown, then the key-down hook.
    if (keepHorz)
        BeginUpdate();
    try {
        platform();
    } catch (...) {
        if (keepHorz)
            EndUpdate();
        throw;
    }
    if (keepHorz) {
        SetLeftCol(leftCol);
        EndUpdate();
    }
    if (Message.WParam == 0) {
        ReportSelectionChange();
        return;
    }

    if (ClipboardKey(key, shift))
        return;
    if (key == VK_INSERT && FNavigation->AllowInsertRow && !ctrl && !shifted && !shift.testFlag(ssAlt)
        && !RightAltDown()) {
        InsertRowKey();
        return;
    }
    if (key == 'A' && ctrl && (rowSelect || Options().testFlag(goRangeSelect))) {
        SelectAllKey();
        return;
    }
    DisjunctKeys(key, shift);
    if (key == VK_DELETE && FNavigation->AllowDeleteRow && !shift.testFlag(ssAlt))
        DeleteRowKey();
    if (enterOrF2) {
        RememberCellValue(Col(), Row());
        if (GetCellEx(RealCol(), Row()).toUpper().contains(QLatin1String("<CONTROL")))
            FocusNextCellControl(Col(), Row(), QString());
        if (key == VK_F2)
            F2KeyPressed();
    }
    ReportSelectionChange();
}

// Space toggles check boxes and radios, Enter and Space press buttons.
bool TExStringGrid::ControlCellKey(WORD Key)
{
    const int c = RealCol();
    const int r = Row();
    bool active = Options().testFlag(goEditing) || FMouseActions->RangeSelectAndEdit;
    CanEditCell(c, r, active);
    const bool space = Key == VK_SPACE;
    if (space && HasCheckBox(c, r) && (active || FControlLook->CheckAlwaysActive)) {
        ClickCheckBoxCell(c, r, false);
        if (FShowModified->Enabled) {
            SetRowModified(r, true);
            RepaintCell(0, r);
        }
        bool state = false;
        GetCheckBoxState(c, r, state);
        DoCheckBoxClick(c, r, state);
    } else if (space && IsRadio(c, r) && (active || FControlLook->RadioAlwaysActive)) {
        CycleRadioSelection(c, r, false);
        int idx = -1;
        GetRadioIdx(c, r, idx);
        if (OnRadioClick)
            OnRadioClick(this, c, r, idx);
    } else if (space && HasRadioButton(c, r) && (active || FControlLook->RadioAlwaysActive)) {
        SetRadioButtonColumnIndex(c, r);
        if (OnRadioButtonClick)
            OnRadioButtonClick(this, c, r);
    } else if (HasButton(c, r) && active) {
        DoCellButtonClick(c, r);
    }
    RepaintCell(Col(), r);
    return false;
}

bool TExStringGrid::HomeEndKey(WORD Key, TShiftState Shift)
{
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shifted = Shift.testFlag(ssShift);
    const bool rowSelect = Options().testFlag(goRowSelect);
    const THomeEndAction how = FNavigation->HomeEndKey;
    const bool singleFixedRow = FFixedRowAlways && RowCount() == 1;
    const int lastNormalCol = ColCount() - FixedRightCols() - 1;
    const int leftCol = LeftCol();
    const int fromRow = Row();

    const auto rowSelection = [&](int farRow) {
        if (!shifted) {
            if (FMouseActions->DisjunctRowSelect()) {
                ClearRowSelect();
                SelectionToRowSelect(false);
            }
            return;
        }
        SetSelection(TGridRect { 0, fromRow, ColCount() - 1, farRow });
        if (FMouseActions->DisjunctRowSelect())
            SelectionToRowSelect(false);
    };
    const auto restoreLeftCol = [&] {
        if (rowSelect && FNavigation->KeepHorizScroll && LeftCol() != leftCol) {
            BeginUpdate();
            SetLeftCol(leftCol);
            EndUpdate();
        }
    };
    const auto firstSelectable = [this](int r) {
        const int c = FirstTabCol(r);
        return c < 0 ? FirstNormalCol() : c;
    };

    if (Key == VK_HOME && !ctrl) {
        if (how == THomeEndAction::heFirstLastCell) {
            SetCol(FixedCols());
            SetRow(FixedRows());
            MoveToBaseCell();
            return true;
        }
        if (how == THomeEndAction::heFirstLastRow) {
            if (singleFixedRow)
                return false;
            SetRow(FixedRows());
            MoveToBaseCell();
            rowSelection(FixedRows());
            restoreLeftCol();
            return true;
        }
        if (how == THomeEndAction::heFirstLastColumn && !rowSelect) {
            if (singleFixedRow)
                return false;
            if (shifted) {
                // The anchor stays on the current cell; the moving end goes left.
                SetSelection(TGridRect { Col(), Row(), FixedCols(), Row() });
                RepaintRow(Row());
            } else {
                SetCol(firstSelectable(Row()));
                MoveToBaseCell();
                SetLeftCol(FirstNormalCol());
            }
            return true;
        }
        return false;
    }
    if (Key == VK_HOME && ctrl && how == THomeEndAction::heFirstLastColumn) {
        SetRow(FixedRows());
        SetCol(firstSelectable(FixedRows()));
        MoveToBaseCell();
        SetLeftCol(FirstNormalCol());
        return true;
    }
    if (Key != VK_END || ctrl)
        return false;
    if (how == THomeEndAction::heFirstLastCell) {
        // The last cell the cursor may take: footers and fixed right
        // columns refuse it.
        SetCol(lastNormalCol);
        SetRow(RowCount() - FixedFooters() - 1);
        MoveToBaseCell();
        return true;
    }
    if (how == THomeEndAction::heFirstLastRow) {
        if (singleFixedRow)
            return false;
        const bool floating = FFloatingFooter->Visible();
        SetRow(floating && RowCount() > 2 ? RowCount() - 2 : RowCount() - FixedFooters() - 1);
        if (FixedFooters() > 0 && !floating)
            SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
        MoveToBaseCell();
        rowSelection(Row());
        if (floating)
            SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
        restoreLeftCol();
        return true;
    }
    if (how == THomeEndAction::heFirstLastColumn && !rowSelect) {
        if (singleFixedRow)
            return false;
        if (shifted) {
            SetSelection(TGridRect { Col(), Row(), lastNormalCol, Row() });
            RepaintRow(Row());
        } else {
            SetCol(lastNormalCol);
            MoveToBaseCell();
            SetLeftCol(std::max(FixedCols(), ColCount() - VisibleColCount()));
        }
        return true;
    }
    return false;
}

// The arrows jump over cells that count as fixed; true when the key is spent.
bool TExStringGrid::SkipFixedCellsKey(WORD Key)
{
    WORD k = Key;
    if (UseRightToLeftAlignment() && (k == VK_LEFT || k == VK_RIGHT))
        k = k == VK_LEFT ? VK_RIGHT : VK_LEFT;
    const bool rowSelect = Options().testFlag(goRowSelect);
    const int c = Col();
    const int r = Row();
    switch (k) {
    case VK_LEFT: {
        if (c <= FixedCols() || !IsFixedDisplayCell(c - 1, r))
            return false;
        int n = c - 1;
        while (n >= FixedCols() && IsFixedDisplayCell(n, r))
            --n;
        if (n >= FixedCols())
            SetCol(n);
        return true;
    }
    case VK_RIGHT: {
        const int end = ColCount() - FixedRightCols();
        if (c >= end || c + 1 >= ColCount() || !IsFixedDisplayCell(c + 1, r))
            return false;
        int n = c + 1;
        while (n < end && IsFixedDisplayCell(n, r))
            ++n;
        if (n < end)
            SetCol(n);
        return true;
    }
    case VK_UP: {
        if (r <= FixedRows() || !IsFixedDisplayCell(c, r - 1))
            return false;
        if (rowSelect) {
            SetRow(r - 1);
            return true;
        }
        int n = r - 1;
        while (n >= FixedRows() && IsFixedDisplayCell(c, n))
            --n;
        if (n >= FixedRows())
            SetRow(n);
        return true;
    }
    case VK_DOWN: {
        const int end = RowCount() - FixedFooters();
        if (r >= end || r + 1 >= RowCount() || !IsFixedDisplayCell(c, r + 1))
            return false;
        if (rowSelect) {
            if (r + 1 < end)
                SetRow(r + 1);
            return true;
        }
        int n = r + 1;
        while (n < end && IsFixedDisplayCell(c, n))
            ++n;
        if (n < end)
            SetRow(n);
        return true;
    }
    default:
        return false;
    }
}

bool TExStringGrid::ClipboardKey(WORD Key, TShiftState Shift)
{
    if (!FNavigation->AllowClipboardShortCuts)
        return false;
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shifted = Shift.testFlag(ssShift);
    const auto run = [this](const TClipboardEvent& Event, void (TExStringGrid::*Action)()) {
        bool allow = true;
        if (Event)
            Event(this, allow);
        if (allow)
            (this->*Action)();
        return true;
    };
    if ((ctrl && Key == 'X') || (shifted && !ctrl && Key == VK_DELETE))
        return run(OnClipboardCut, &TExStringGrid::CutSelectionToClipboard);
    if ((ctrl && Key == 'V') || (shifted && !ctrl && Key == VK_INSERT))
        return run(OnClipboardPaste, &TExStringGrid::PasteSelectionFromClipboard);
    if (ctrl && (Key == 'C' || Key == VK_INSERT))
        return run(OnClipboardCopy, &TExStringGrid::CopySelectionToClipboard);
    return false;
}

void TExStringGrid::CopySelectionToClipboard()
{
    GridExchange()->CopySelection(this);
}

void TExStringGrid::CutSelectionToClipboard()
{
    GridExchange()->CutSelection(this);
}

void TExStringGrid::PasteSelectionFromClipboard()
{
    GridExchange()->PasteSelection(this);
}

void TExStringGrid::InsertRowKey()
{
    bool canInsert = true;
    DoCanInsertRow(Row(), canInsert);
    if (!canInsert)
        return;
    int back = Row();
    int realRow = RealRowIndex(Row());
    const bool filtered = FilterActive();
    SetFilterActive(false);
    if (realRow < RowCount())
        SetRow(realRow);
    else
        realRow = std::min(realRow, RowCount());
    int at = realRow;
    if (FNavigation->InsertPosition == TInsertPosition::pInsertAfter) {
        if (FFixedRowAlways && FixedRows() == RowCount()) {
            back = 1;
        } else {
            at = RealRowIndex(std::min(Row() + 1, RowCount()));
            if (Row() + 1 >= RowCount())
                at = RowCount() - FixedFooters();
            if (back + 1 < RowCount() + 1)
                ++back;
        }
    }
    InsertGridRow(at);
    if (OnAutoInsertRow)
        OnAutoInsertRow(this, at);
    SetModified(true);
    SetFilterActive(filtered);
    SetRow(std::clamp(back, std::min(FixedRows(), RowCount() - 1), RowCount() - 1));
    CalcFooter(-1);
}

void TExStringGrid::DeleteRowKey()
{
    if (RowCount() - FixedFooters() - FixedRows() < 1)
        return;
    const bool filtered = FilterActive();
    SetFilterActive(false);
    const int realRow = RealRowIndex(Row());
    bool canDelete = true;
    if (OnCanDeleteRow)
        OnCanDeleteRow(this, realRow, canDelete);
    if (!canDelete) {
        SetFilterActive(filtered);
        return;
    }
    RemoveGridRow(realRow);
    SetFilterActive(filtered);
    if (FFloatingFooter->Visible() && Row() == RowCount() - 1)
        SetRow(RowCount() - 2);
    RememberCellValue(Col(), Row());
    SetModified(true);
    CalcFooter(-1);
}

void TExStringGrid::SelectAllKey()
{
    const int lastRow = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    if (lastRow < FixedRows() || lastCol < FirstNormalCol())
        return;
    const TGridRect all { FirstNormalCol(), FixedRows(), lastCol, lastRow };
    if (FMouseActions->DisjunctRowSelect())
        for (int r = FixedRows(); r <= lastRow; ++r)
            SetRowSelect(r, true);
    SelectionKeyed(all);
    SetSelection(all);
    FocusCell(lastCol, lastRow);
    SetSelection(all);
    ReportSelectionChange();
}

void TExStringGrid::DisjunctKeys(WORD Key, TShiftState Shift)
{
    const bool shifted = Shift.testFlag(ssShift);
    const bool ctrl = Shift.testFlag(ssCtrl);
    if (IsNavigationKey(Key)) {
        if (FMouseActions->DisjunctRowSelect()) {
            if (!shifted && !ctrl)
                ClearRowSelect();
            if (shifted)
                SelectionToRowSelect(true);
            else
                SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(Row()) : Row(), true);
        }
        if (FMouseActions->DisjunctColSelect()) {
            if (!shifted && !ctrl)
                ClearColSelect();
            if (shifted)
                SelectionToColSelect(true);
            else
                SetColSelect(Col(), true);
        }
    }
    if (Key == VK_SPACE) {
        if (FMouseActions->DisjunctRowSelect())
            SetRowSelect(Row(), !RowSelect(Row()));
        if (FMouseActions->DisjunctColSelect())
            SetColSelect(Col(), !ColSelect(Col()));
    }
}

// ---------------------------------------------------------------------------
// The key-down hook

void TExStringGrid::HandleKeyDown(WORD& Key, TShiftState Shift)
{
    FLastKeyCell = TPoint(Col(), Row());
    const WORD key = Key;
    const int rowBefore = Row();
    TBaseGrid::HandleKeyDown(Key, Shift);
    if (Key == 0 && key != VK_NEXT)
        return;

    const int lastNormalRow = RowCount() - FixedFooters() - 1;
    const int lastNormalCol = ColCount() - FixedRightCols() - 1;
    if (Shift.testFlag(ssCtrl) && FNavigation->CursorMoveRows && (key == VK_UP || key == VK_DOWN)) {
        const TGridRect s = Ordered(Selection());
        const int count = s.Bottom - s.Top + 1;
        // Rows move within the normal rows: a footer never changes place.
        if (key == VK_DOWN && s.Bottom < lastNormalRow && s.Top >= FixedRows()) {
            if (count == 1) {
                MoveRow(s.Top, s.Top + 1);
                SetRow(s.Top + 1);
            } else {
                MoveRows(s.Top, s.Top + 1, count);
                SetSelection(TGridRect { FixedCols(), s.Top + 1, ColCount() - 1, s.Bottom + 1 });
            }
        } else if (key == VK_UP && s.Top > FixedRows() && s.Bottom <= lastNormalRow) {
            if (count == 1) {
                MoveRow(s.Top, s.Top - 1);
                SetRow(s.Top - 1);
            } else {
                MoveRows(s.Top, s.Top - 1, count);
                SetSelection(TGridRect { FixedCols(), s.Top - 1, ColCount() - 1, s.Bottom - 1 });
            }
        }
    }

    const TCursorAdvance advance = FNavigation->CursorAdvance;
    if (advance != TCursorAdvance::caDefault && !Shift.testFlag(ssCtrl)) {
        const bool snake = advance == TCursorAdvance::caSnake;
        const TPoint was = FLastKeyCell;
        switch (key) {
        case VK_LEFT:
            if (was.X == FixedCols()) {
                SetCol(lastNormalCol);
                if (snake && Row() > FixedRows())
                    SetRow(Row() - 1);
            }
            break;
        case VK_UP:
            if (was.Y == FixedRows()) {
                SetRow(lastNormalRow);
                if (snake && Col() > FixedCols())
                    SetCol(Col() - 1);
            }
            break;
        case VK_RIGHT:
            if (was.X == ColCount() - 1) {
                SetCol(FixedCols());
                if (snake && Row() < lastNormalRow)
                    SetRow(Row() + 1);
            }
            break;
        case VK_DOWN:
            if (was.Y == RowCount() - 1) {
                SetRow(FixedRows());
                if (snake && Col() < lastNormalCol)
                    SetCol(Col() + 1);
            }
            break;
        default:
            break;
        }
    }

    if (FUseEnabledRows && FNavigation->SkipDisabledRows && Row() == rowBefore) {
        int n = -1;
        if (key == VK_UP) {
            for (int r = Row() - 1; r >= FixedRows(); --r)
                if (RowEnabled(r)) {
                    n = r;
                    break;
                }
        } else if (key == VK_DOWN) {
            for (int r = Row() + 1; r < RowCount(); ++r)
                if (RowEnabled(r)) {
                    n = r;
                    break;
                }
        }
        if (n >= 0)
            SetRow(n);
    }

    if (TExStringGrid* sync = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn && Col() < sync->ColCount())
            sync->SetCol(Col());
        if (FSyncGrid->SelectionRow && Row() < sync->RowCount())
            sync->SetRow(Row());
    }
}

// ---------------------------------------------------------------------------
// Characters

void TExStringGrid::HandleWMChar(TMessage& Message)
{
    auto ch = static_cast<char16_t>(Message.WParam);
    const bool ctrl = CurrentShiftState().testFlag(ssCtrl);
    const int realCol = RealCol();
    const QString text = GetCellEx(realCol, Row());
    if (FEnableHTML && CellTextType(text, true) == 1 && text.toUpper().contains(QLatin1String("<CONTROL"))) {
        Message.WParam = 0;
        return;
    }
    if (FMouseActions->EditOnDblClickOnly()) {
        // Typing asks as the other callers do: with editing taken as on.
        bool can = true;
        CanEditCell(realCol, Row(), can);
        if (can)
            SetOptions(Options() | goEditing);
    }
    if (FNavigation->AllowClipboardShortCuts && ctrl && (ch == 3 || ch == 22 || ch == 24)) {
        Message.WParam = 0;
        return;
    }
    const bool cellControl = HasCellControl(realCol, Row());
    if (FMouseActions->RangeSelectAndEdit && !cellControl && IsEditable(Col(), Row()) && ch != 9 && ch != 27 && !ctrl) {
        char16_t copy = ch;
        if (OnKeyPress)
            OnKeyPress(this, copy);
        FStartEditChar = ch;
        SetOptions(Options() | goEditing);
        if (Col() > LeftCol() + VisibleColCount() || Row() > TopRow() + VisibleRowCount() || Col() < LeftCol()
            || Row() < TopRow())
            ScrollInView(Col(), Row());
        TBaseGrid::WndProc(Message);
        return;
    }
    if (FExcelStyleDecimalSeparator && ch == u'.' && IsKeypadDecimalKeyData(Message.LParam)) {
        ch = FormatSettings.DecimalSeparator.unicode();
        Message.WParam = ch;
    }
    if (cellControl && ch == 13 && FNavigation->AdvanceOnEnter) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (Options().testFlag(goEditing) && ch != 9 && (ch == 8 || (ch >= 32 && ch <= 255))) {
        if (OnKeyPress)
            OnKeyPress(this, ch);
        Message.WParam = 0;
        if (ch == 0)
            return;
        FStartEditChar = ch;
        if (!cellControl)
            ShowEditorChar(ch);
        return;
    }
    TBaseGrid::WndProc(Message);
}

// ---------------------------------------------------------------------------
// Key up

void TExStringGrid::HandleWMKeyUp(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
}

void TExStringGrid::HandleKeyUp(WORD& Key, TShiftState Shift)
{
    const WORD key = Key;
    if ((key >= VK_PRIOR && key <= VK_DOWN && key != VK_HOME) || key == VK_INSERT || key == VK_DELETE)
        SearchInc.clear();
    const TGridRect before = Ordered(Selection());
    TBaseGrid::KeyUp(Key, Shift);

    const bool tab = key == VK_TAB && Options().testFlag(goTabs);
    if (FNavigation->AlwaysEdit && (IsArrow(key) || tab) && !HasCellControl(RealCol(), Row()))
        ShowInplaceEdit();
    if (IsArrow(key) || key == VK_TAB)
        ReportSelectionChange();

    if (!FMouseActions->DisjunctCellSelect() || Options().testFlag(goEditing))
        return;
    if (Shift.testFlag(ssShift)) {
        for (int r = before.Top; r <= before.Bottom; ++r)
            for (int c = before.Left; c <= before.Right; ++c)
                SetSelectedCells(c, r, false);
        const TGridRect after = Ordered(Selection());
        for (int r = after.Top; r <= after.Bottom; ++r)
            for (int c = after.Left; c <= after.Right; ++c)
                if (c != Col() || r != Row())
                    SetSelectedCells(c, r, true);
    }
    if (key == VK_SPACE) {
        const TPoint b = BaseCell(RealCol(), Row());
        const int bc = DisplColIndex(b.X);
        if (!IsFixedDisplayCell(bc, b.Y)) {
            bool can = true;
            if (OnSelectCell)
                OnSelectCell(this, bc, b.Y, can);
            if (can) {
                if (Shift.testFlag(ssCtrl)) {
                    SetSelectedCells(bc, b.Y, !GetSelectedCells(bc, b.Y));
                } else {
                    for (int i = 0; i < SelectedCellsCount(); ++i) {
                        const TGridCoord cell = GetSelectedCell(i);
                        RepaintCell(cell.X, cell.Y);
                    }
                    ClearSelectedCells();
                    SetSelectedCells(bc, b.Y, true);
                }
                const TGridRect s = Ordered(Selection());
                if (s.Left != s.Right || s.Top != s.Bottom)
                    for (int r = s.Top; r <= s.Bottom; ++r)
                        for (int c = s.Left; c <= s.Right; ++c)
                            if (c != bc || r != b.Y)
                                SetSelectedCells(c, r, true);
                for (int i = 0; i < SelectedCellsCount(); ++i) {
                    const TGridCoord cell = GetSelectedCell(i);
                    RepaintCell(cell.X, cell.Y);
                }
            }
        }
        RepaintCell(Col(), Row());
    }
}
