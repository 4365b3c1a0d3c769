// The grid's own handling of keys, mouse and wheel: navigation, range
// selection, sizing and moving of rows and columns, and the scroll timer.
#include "platform/controls/Grids.h"

#include <QWidget>
#include <algorithm>

#include "platform/controls/Forms.h"

namespace {

// The timer that scrolls while selecting or moving with the mouse.
constexpr UINT GridTimerId = 1;
constexpr UINT GridTimerMs = 60;

} // namespace

void TCustomGrid::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        if (!FOptions.testFlag(goRowSelect)) {
            if (FOptions.testFlag(goTabs))
                Message.Result |= DLGC_WANTTAB;
            if (FOptions.testFlag(goEditing))
                Message.Result |= DLGC_WANTCHARS;
        }
        return;
    case WM_CHAR: {
        // A character typed on an editable grid opens the editor with it.
        const auto ch = static_cast<char16_t>(Message.WParam);
        if (FOptions.testFlag(goEditing) && (ch == 8 || (ch >= 32 && ch != 127))) {
            ShowEditorChar(ch);
            Message.WParam = 0;
            return;
        }
        break;
    }
    case WM_COMMAND:
        if (HiWord(Message.WParam) == EN_CHANGE && FInplaceEdit && Message.LParam == LPARAM(FInplaceEdit->Handle())) {
            EditTextChanged();
            return;
        }
        break;
    case WM_SETCURSOR:
        // A border that sizes shows the split cursor, also while sizing.
        if (LoWord(WPARAM(Message.LParam)) == HTCLIENT) {
            TGridState state = FGridState;
            if (state == gsNormal) {
                const TPoint p = ScreenToClient(MouseCursorPos());
                TGridDrawInfo info;
                CalcDrawInfo(info);
                int index, pos, ofs;
                CalcSizingState(LogicalX(p.X), p.Y, state, index, pos, ofs, info);
            }
            if (state == gsColSizing || state == gsRowSizing) {
                ShowWindowCursor(this, state == gsColSizing ? crHSplit : crVSplit);
                Message.Result = 1;
                return;
            }
        }
        break;
    case CM_BIDIMODECHANGED:
        TCustomControl::WndProc(Message);
        InvalidateGrid();
        if (FEditorMode && FInplaceEdit)
            FInplaceEdit->UpdateLoc(EditorRect());
        return;
    case WM_TIMER:
        if (Message.WParam == GridTimerId) {
            HandleTimer();
            return;
        }
        break;
    case WM_VSCROLL:
        HandleScrollMessage(SB_VERT, Message);
        return;
    case WM_HSCROLL:
        HandleScrollMessage(SB_HORZ, Message);
        return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (FTimerOn) {
            KillTimer(this, GridTimerId);
            FTimerOn = false;
        }
        if (FGridState != gsNormal) {
            FGridState = gsNormal;
            InvalidateGrid();
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// Keys

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (!CanGridAcceptKey(Key, Shift)) {
        Key = 0;
        return;
    }
    // Right to left, the arrows keep their direction on the screen.
    if (UseRightToLeftAlignment() && (Key == VK_LEFT || Key == VK_RIGHT))
        Key = Key == VK_LEFT ? VK_RIGHT : VK_LEFT;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int pageWidth = std::max(1, info.Horz.LastFullVisibleCell - FTopLeft.X + 1);
    const int pageHeight = std::max(1, info.Vert.LastFullVisibleCell - FTopLeft.Y + 1);
    const bool rowSelect = FOptions.testFlag(goRowSelect);
    TGridCoord newTopLeft = FTopLeft;
    TGridCoord newCurrent = FCurrent;
    bool moveAnchor = !Shift.testFlag(ssShift);

    if (Shift.testFlag(ssCtrl)) {
        switch (Key) {
        case VK_UP:
            --newTopLeft.Y;
            break;
        case VK_DOWN:
            ++newTopLeft.Y;
            break;
        case VK_LEFT:
            if (!rowSelect) {
                newCurrent.X -= pageWidth;
                newTopLeft.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                newCurrent.X += pageWidth;
                newTopLeft.X += pageWidth;
            }
            break;
        case VK_PRIOR:
            newCurrent.Y = FTopLeft.Y;
            break;
        case VK_NEXT:
            newCurrent.Y = info.Vert.LastFullVisibleCell;
            break;
        case VK_HOME:
            newCurrent = { FFixedCols, FFixedRows };
            break;
        case VK_END:
            newCurrent = { ColCount() - 1, RowCount() - 1 };
            break;
        default:
            break;
        }
    } else {
        switch (Key) {
        case VK_UP:
            --newCurrent.Y;
            break;
        case VK_DOWN:
            ++newCurrent.Y;
            break;
        // With whole rows selected there is no column to move to: the
        // arrows step through the rows.
        case VK_LEFT:
            if (rowSelect)
                --newCurrent.Y;
            else
                --newCurrent.X;
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++newCurrent.Y;
            else
                ++newCurrent.X;
            break;
        case VK_NEXT:
            newCurrent.Y += pageHeight;
            newTopLeft.Y += pageHeight;
            break;
        case VK_PRIOR:
            newCurrent.Y -= pageHeight;
            newTopLeft.Y -= pageHeight;
            break;
        case VK_HOME:
            if (rowSelect)
                newCurrent.Y = FFixedRows;
            else
                newCurrent.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect)
                newCurrent.Y = RowCount() - 1;
            else
                newCurrent.X = ColCount() - 1;
            break;
        case VK_TAB:
            if (!Shift.testFlag(ssAlt) && FOptions.testFlag(goTabs) && !rowSelect) {
                // The next column with a tab stop, wrapping into the next row;
                // a full turn without one stays put.
                const int startX = FCurrent.X;
                int guard = ColCount();
                do {
                    if (Shift.testFlag(ssShift)) {
                        if (--newCurrent.X < FFixedCols) {
                            newCurrent.X = ColCount() - 1;
                            if (--newCurrent.Y < FFixedRows)
                                newCurrent.Y = RowCount() - 1;
                        }
                    } else if (++newCurrent.X >= ColCount()) {
                        newCurrent.X = FFixedCols;
                        if (++newCurrent.Y >= RowCount())
                            newCurrent.Y = FFixedRows;
                    }
                } while (!TabStops(newCurrent.X) && newCurrent.X != startX && --guard > 0);
                moveAnchor = true;
            }
            break;
        case VK_F2:
            SetEditorMode(true);
            break;
        case VK_ESCAPE:
            if (FEditorMode && FInplaceEdit && FInplaceCol >= 0)
                CancelEdit();
            break;
        default:
            break;
        }
    }

    const TGridCoord maxTopLeft = CalcMaxTopLeft({ ColCount() - 1, RowCount() - 1 }, info);
    newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
    newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
    if (!(newTopLeft == FTopLeft))
        MoveTopLeft(newTopLeft.X, newTopLeft.Y);
    newCurrent.X = std::clamp(newCurrent.X, FFixedCols, ColCount() - 1);
    newCurrent.Y = std::clamp(newCurrent.Y, FFixedRows, RowCount() - 1);
    if (!(newCurrent == FCurrent))
        FocusCell(newCurrent.X, newCurrent.Y, moveAnchor);
}

void TCustomGrid::KeyPress(char16_t& Key)
{
    TCustomControl::KeyPress(Key);
    // A Tab the grid moved its cell with is spent: passed on, the window's
    // focus chain would take it too and move the focus to the next control.
    if (Key == 9 && FOptions.testFlag(goTabs) && !FOptions.testFlag(goRowSelect)) {
        Key = 0;
        return;
    }
    // Enter opens the editor when it is closed and closes it when it is open.
    if (!FOptions.testFlag(goAlwaysShowEditor) && Key == 13) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = 0;
    }
}

void TCustomGrid::KeyUp(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyUp(Key, Shift);
}

// ---------------------------------------------------------------------------
// Mouse

void TCustomGrid::CalcSizingState(
    int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs, const TGridDrawInfo& info) const
{
    State = gsNormal;
    Index = -1;
    auto axisState = [&](const TGridAxisDrawInfo& a, int pos, TGridState newState) {
        // The border zone is 7 pixels wide (or the line, when wider) around
        // the end of each cell.
        int line = a.FixedBoundary;
        int range = a.EffectiveLineWidth;
        int back = 0;
        if (range < 7) {
            range = 7;
            back = (range - a.EffectiveLineWidth) >> 1;
        }
        for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
            line += a.Extent(i);
            if (line > a.GridBoundary)
                break;
            if (pos >= line - back && pos <= line - back + range) {
                State = newState;
                SizingPos = line;
                SizingOfs = line - pos;
                Index = i;
                return;
            }
            line += a.EffectiveLineWidth;
        }
        if (a.GridBoundary == a.GridExtent && pos >= a.GridExtent - back && pos <= a.GridExtent) {
            State = newState;
            SizingPos = a.GridExtent;
            SizingOfs = a.GridExtent - pos;
            Index = a.LastFullVisibleCell + 1;
        }
    };
    if (!(FOptions & (TGridOptions(goColSizing) | goRowSizing)))
        return;
    if (X > info.Horz.FixedBoundary && FOptions.testFlag(goColSizing)) {
        if (Y >= info.Vert.FixedBoundary)
            return;
        axisState(info.Horz, X, gsColSizing);
    } else if (Y > info.Vert.FixedBoundary && FOptions.testFlag(goRowSizing)) {
        if (X >= info.Horz.FixedBoundary)
            return;
        axisState(info.Vert, Y, gsRowSizing);
    }
    // A border past the last cell sizes nothing.
    if (State != gsNormal && Index >= (State == gsColSizing ? ColCount() : RowCount()))
        State = gsNormal;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // The grid works left to right; the mouse is where it is shown.
    const int PhysX = X;
    X = LogicalX(X);
    FLastMouse = TPoint(X, Y);
    if (!IsDesigning() && CanFocus()) {
        SetFocus();
        TCustomForm* form = GetParentForm(this);
        if (form && form->Showing() && !IsActiveControl()) {
            // The focus was refused (by an OnExit elsewhere): no click.
            SetMouseCapture(false);
            return;
        }
    }
    if (Button == mbLeft && Shift.testFlag(ssDouble)) {
        DblClick();
    } else if (Button == mbLeft) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, info);
        if (FGridState != gsNormal) {
            InvalidateGrid();
            TCustomControl::MouseDown(Button, Shift, PhysX, Y);
            return;
        }
        const TGridCoord hit = CalcCoordFromPoint(X, Y, info);
        if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
            if (FOptions.testFlag(goEditing)) {
                if (hit == FCurrent) {
                    ShowEditor();
                } else {
                    MoveCurrent(hit.X, hit.Y, true, true);
                    UpdateEditor();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                SetTimer(this, GridTimerId, GridTimerMs);
                FTimerOn = true;
                if (Shift.testFlag(ssShift))
                    MoveAnchor(hit);
                else
                    MoveCurrent(hit.X, hit.Y, true, true);
            }
        } else if (FOptions.testFlag(goRowMoving) && hit.X >= 0 && hit.X < FFixedCols && hit.Y >= FFixedRows) {
            FMoveIndex = hit.Y;
            FMovePos = FMoveIndex;
            if (BeginRowDrag(FMoveIndex, FMovePos, TPoint(PhysX, Y))) {
                FGridState = gsRowMoving;
                SetTimer(this, GridTimerId, GridTimerMs);
                FTimerOn = true;
                InvalidateGrid();
            }
        } else if (FOptions.testFlag(goColMoving) && hit.Y >= 0 && hit.Y < FFixedRows && hit.X >= FFixedCols) {
            FMoveIndex = hit.X;
            FMovePos = FMoveIndex;
            if (BeginColumnDrag(FMoveIndex, FMovePos, TPoint(PhysX, Y))) {
                FGridState = gsColMoving;
                SetTimer(this, GridTimerId, GridTimerMs);
                FTimerOn = true;
                InvalidateGrid();
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, PhysX, Y);
}

void TCustomGrid::MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& info, bool horz, TPoint MousePt)
{
    const TGridAxisDrawInfo* a = horz ? &info.Horz : &info.Vert;
    if (CellHit == FMovePos || (FMovePos == a->FixedCellCount && Mouse < a->FixedBoundary)
        || (FMovePos == a->GridCellCount - 1 && Mouse > a->GridBoundary))
        return;
    if (Mouse < a->FixedBoundary) {
        // Past the fixed cells: scroll back one cell while there is more.
        if (FMovePos > a->FixedCellCount) {
            ModifyScrollBar(horz ? SB_HORZ : SB_VERT, SB_LINEUP, 0, false);
            CalcDrawInfo(info);
            a = horz ? &info.Horz : &info.Vert;
        }
        CellHit = a->FirstGridCell;
    } else if (Mouse >= a->FullVisBoundary) {
        if (FMovePos == a->LastFullVisibleCell && FMovePos < a->GridCellCount - 1) {
            ModifyScrollBar(horz ? SB_HORZ : SB_VERT, SB_LINEDOWN, 0, false);
            CalcDrawInfo(info);
            a = horz ? &info.Horz : &info.Vert;
        }
        CellHit = a->LastFullVisibleCell;
    } else if (CellHit < 0) {
        CellHit = FMovePos;
    }
    int origin = FMoveIndex;
    int dest = CellHit;
    const bool ok
        = FGridState == gsColMoving ? CheckColumnDrag(origin, dest, MousePt) : CheckRowDrag(origin, dest, MousePt);
    if (ok)
        FMovePos = CellHit;
    InvalidateGrid();
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    // The grid works left to right; the mouse is where it is shown.
    const int PhysX = X;
    X = LogicalX(X);
    FLastMouse = TPoint(X, Y);
    TGridDrawInfo info;
    CalcDrawInfo(info);
    switch (FGridState) {
    case gsSelecting:
    case gsColMoving:
    case gsRowMoving: {
        const TGridCoord hit = CalcCoordFromPoint(X, Y, info);
        if (hit.X >= FFixedCols && hit.Y >= FFixedRows && hit.X <= info.Horz.LastFullVisibleCell + 1
            && hit.Y <= info.Vert.LastFullVisibleCell + 1) {
            if (FGridState == gsSelecting) {
                if (!(hit == FAnchor))
                    MoveAnchor(hit);
            } else if (FGridState == gsColMoving) {
                MoveAndScroll(X, hit.X, info, true, TPoint(PhysX, Y));
            } else {
                MoveAndScroll(Y, hit.Y, info, false, TPoint(PhysX, Y));
            }
        } else if (FGridState == gsColMoving) {
            MoveAndScroll(X, hit.X, info, true, TPoint(PhysX, Y));
        } else if (FGridState == gsRowMoving) {
            MoveAndScroll(Y, hit.Y, info, false, TPoint(PhysX, Y));
        }
        break;
    }
    case gsColSizing:
    case gsRowSizing:
        FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
        InvalidateGrid();
        break;
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, PhysX, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // The grid works left to right; the mouse is where it is shown.
    const int PhysX = X;
    X = LogicalX(X);
    FLastMouse = TPoint(X, Y);
    const TGridState state = FGridState;
    try {
        switch (state) {
        case gsSelecting:
            MouseMove(Shift, PhysX, Y);
            KillTimer(this, GridTimerId);
            FTimerOn = false;
            UpdateEditor();
            Click();
            break;
        case gsColSizing:
        case gsRowSizing: {
            TGridDrawInfo info;
            CalcDrawInfo(info);
            const bool horz = state == gsColSizing;
            const TGridAxisDrawInfo& a = horz ? info.Horz : info.Vert;
            // The new extent runs from the cell's start to the line.
            int start = LinePos(a, FSizingIndex);
            if (start < 0 && FSizingIndex >= 0)
                start = a.FixedBoundary;
            const int newSize = FSizingPos - start;
            FGridState = gsNormal;
            if (newSize > 1 && FSizingIndex >= 0) {
                if (horz && FSizingIndex < ColCount())
                    SetColWidths(FSizingIndex, newSize);
                else if (!horz && FSizingIndex < RowCount())
                    SetRowHeights(FSizingIndex, newSize);
            }
            InvalidateGrid();
            break;
        }
        case gsColMoving:
        case gsRowMoving: {
            KillTimer(this, GridTimerId);
            FTimerOn = false;
            FGridState = gsNormal;
            int origin = FMoveIndex;
            int dest = FMovePos;
            const bool ok = state == gsColMoving ? EndColumnDrag(origin, dest, TPoint(PhysX, Y))
                                                 : EndRowDrag(origin, dest, TPoint(PhysX, Y));
            if (ok && origin != dest) {
                if (state == gsColMoving)
                    MoveColumn(origin, dest);
                else
                    MoveRow(origin, dest);
            }
            FMoveIndex = FMovePos = -1;
            InvalidateGrid();
            UpdateEditor();
            break;
        }
        default:
            UpdateEditor();
            break;
        }
        TCustomControl::MouseUp(Button, Shift, PhysX, Y);
    } catch (...) {
        FGridState = gsNormal;
        throw;
    }
    FGridState = gsNormal;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool result = TCustomControl::DoMouseWheelDown(Shift, MousePos);
    if (!result) {
        if (FCurrent.Y < RowCount() - 1)
            SetRow(FCurrent.Y + 1);
        result = true;
    }
    return result;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool result = TCustomControl::DoMouseWheelUp(Shift, MousePos);
    if (!result) {
        if (FCurrent.Y > FFixedRows)
            SetRow(FCurrent.Y - 1);
        result = true;
    }
    return result;
}

void TCustomGrid::TimedScroll(bool left, bool right, bool up, bool down)
{
    TGridCoord a = FAnchor;
    if (left && FAnchor.X > FFixedCols)
        --a.X;
    if (right && FAnchor.X < ColCount() - 1)
        ++a.X;
    if (up && FAnchor.Y > FFixedRows)
        --a.Y;
    if (down && FAnchor.Y < RowCount() - 1)
        ++a.Y;
    if (!(a == FAnchor))
        MoveAnchor(a);
}

void TCustomGrid::HandleTimer()
{
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving)
        return;
    const TPoint p = FLastMouse;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridCoord hit = CalcCoordFromPoint(p.X, p.Y, info);
    switch (FGridState) {
    case gsColMoving:
        MoveAndScroll(p.X, hit.X, info, true, p);
        break;
    case gsRowMoving:
        MoveAndScroll(p.Y, hit.Y, info, false, p);
        break;
    case gsSelecting:
        TimedScroll(p.X<info.Horz.FixedBoundary, p.X> info.Horz.FullVisBoundary,
            p.Y<info.Vert.FixedBoundary, p.Y> info.Vert.FullVisBoundary);
        break;
    default:
        break;
    }
}

void TCustomGrid::DoEnter()
{
    TCustomControl::DoEnter();
    InvalidateGridRect(Selection());
    UpdateEditor();
}

void TCustomGrid::DoExit()
{
    TCustomControl::DoExit();
    InvalidateGridRect(Selection());
}
