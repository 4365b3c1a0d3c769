// The grid timer's tick, Tab navigation and the small cell walks the keys,
// the mouse and the editors share.
#include <QScopedValueRollback>

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Messages.h"

// ---------------------------------------------------------------------------
// The grid timer

void TExStringGrid::GridTimer()
{
    ++FTimerTicks;
    IncrementalSearchTick();

    if (FHovering && !IsDesigning() && MouseControl() == this) {
        const TPoint p = ScreenToClient(MouseCursorPos());
        if (p.X >= 0 && p.Y >= 0 && p.X < ClientWidth() && p.Y < ClientHeight()) {
            int c = -1, r = -1;
            MouseToCell(p.X, p.Y, c, r);
            if (c >= FixedCols() && r >= FixedRows() && c < ColCount() && r < RowCount()) {
                if (CanFocus() && !Focused())
                    SetFocus();
                SetRow(r);
                SetCol(c);
            }
        }
    }

    if (FEnableBlink) {
        FGridBlink = !FGridBlink;
        // Only the cells in view with a blink tag repaint: the fixed rows and
        // columns by the visible range, and the visible block.
        const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
        const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
        auto repaintIfBlinking = [this](int c, int r) {
            if (GetCellEx(RealColIndex(c), r).contains(QLatin1String("<BLI"), Qt::CaseInsensitive))
                RepaintCell(c, r);
        };
        for (int r = TopRow(); r <= lastRow; ++r)
            for (int c = LeftCol(); c <= lastCol; ++c)
                repaintIfBlinking(c, r);
        for (int r = 0; r < std::min(FixedRows(), RowCount()); ++r)
            for (int c = LeftCol(); c <= lastCol; ++c)
                repaintIfBlinking(c, r);
        for (int c = 0; c < std::min(FixedCols(), ColCount()); ++c)
            for (int r = TopRow(); r <= lastRow; ++r)
                repaintIfBlinking(c, r);
    }
}

// ---------------------------------------------------------------------------
// Cell walks

bool TExStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    const THoverFixedCells h = FHoverFixedCells;
    if (ACol < FixedCols() && (h == THoverFixedCells::hfAll || h == THoverFixedCells::hfFixedColumns))
        return true;
    if (ARow < FixedRows() && (h == THoverFixedCells::hfAll || h == THoverFixedCells::hfFixedRows))
        return true;
    return false;
}

int TExStringGrid::FirstNormalCol() const
{
    return FixedCols() == 0 && HasNodes() ? 1 : FixedCols();
}

int TExStringGrid::VisibleFixedRightCols() const
{
    if (FNumHidden == 0)
        return FixedRightCols();
    // The fixed right columns are the last real ones; count those shown.
    int shown = 0;
    const int total = TotalColCount();
    for (int c = total - FixedRightCols(); c < total; ++c)
        if (c >= 0 && !IsHiddenColumn(c))
            ++shown;
    return shown;
}

void TExStringGrid::GotoFirstRow()
{
    SetRow(FixedRows());
}

bool TExStringGrid::CanTabToCell(int ACol, int ARow)
{
    bool can = Options().testFlag(goEditing) ? IsEditable(ACol, ARow) && !IsFixedDisplayCell(ACol, ARow)
                                             : !IsFixedDisplayCell(ACol, ARow);
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

int TExStringGrid::FirstTabCol(int ARow)
{
    for (int c = 0; c < ColCount(); ++c)
        if (CanTabToCell(c, ARow))
            return c;
    return -1;
}

int TExStringGrid::LastTabCol(int ARow)
{
    for (int c = ColCount() - 1; c >= 0; --c)
        if (CanTabToCell(c, ARow))
            return c;
    return -1;
}

bool TExStringGrid::IsLastNormalRow() const
{
    return Row() + 1 == RowCount() - FixedFooters() || (Row() + 2 == RowCount() && FFloatingFooter->Visible());
}

void TExStringGrid::AppendRowOnArrowDown()
{
    bool canAdd = true;
    if (OnCanAddRow)
        OnCanAddRow(this, canAdd);
    if (!canAdd)
        return;
    const bool floating = FFloatingFooter->Visible();
    const int total = TotalColCount();
    if (floating) {
        // The footer row stays last: its texts move down with it.
        QStringList kept;
        for (int c = 0; c < total; ++c)
            kept << GetCellEx(c, RowCount() - 1);
        AddEmptyRow();
        ClearRect(0, RowCount() - 2, total - 1, RowCount() - 2);
        for (int c = 0; c < total; ++c)
            SetCellEx(c, RowCount() - 1, kept.at(c));
    } else {
        AddEmptyRow();
        ClearRect(0, RowCount() - 1, total - 1, RowCount() - 1);
    }
    if (floating || FixedFooters() > 0)
        SetRow(Row() + 1);
    if (floating)
        CalcFooter(-1);
    if (OnAutoAddRow)
        OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
}

void TExStringGrid::ClickCellForEdit(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    QScopedValueRollback<bool> force(FForceSel, true);
    // The toolkit grid's own press and release: the grid's mouse rules and
    // the application's mouse events stay out of it.
    TMouseEvent down = std::move(OnMouseDown);
    TMouseEvent up = std::move(OnMouseUp);
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    try {
        TCustomGrid::MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
        TCustomGrid::MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    } catch (...) {
        OnMouseDown = std::move(down);
        OnMouseUp = std::move(up);
        throw;
    }
    OnMouseDown = std::move(down);
    OnMouseUp = std::move(up);
}

// ---------------------------------------------------------------------------
// Tab

// Moves the cursor by one step of the Tab rules. Walking row by row, the
// rows without a cell to land on are passed over with FirstTabCol; a step
// that finds nothing anywhere wraps once more, which the caller notices.
bool TExStringGrid::TabStep(bool Backward, bool& Posted, bool& Wrapped)
{
    const int lastNormalRow = RowCount() - FixedFooters() - 1;
    const int colEnd = ColCount() - VisibleFixedRightCols();
    const int first = FirstNormalCol();
    auto select = [this](int c, int r) {
        if (c < 0 || c >= ColCount() || r < 0 || r >= RowCount())
            return;
        SetSelection(TGridRect { c, r, c, r });
    };
    auto endOfGrid = [&] {
        Wrapped = true;
        if (Parent() && FNavigation->TabToNextAtEnd) {
            PostMessage(Parent(), WM_KEYDOWN, VK_TAB, 0);
            Posted = true;
        }
    };

    if (Backward) {
        if (FNavigation->TabAdvanceDirection != TAdvanceDirection::adLeftRight) {
            if (Row() > FixedRows()) {
                SetRow(Row() - 1);
            } else {
                Wrapped = Col() <= first;
                SetRow(lastNormalRow);
                SetCol(Col() > first ? Col() - 1 : colEnd - 1);
            }
            return true;
        }
        if (Col() > first) {
            int b = 1;
            while (
                Col() - b >= first && !(CanTabToCell(Col() - b, Row()) && IsBaseCell(RealColIndex(Col() - b), Row())))
                ++b;
            if (Col() - b < first) {
                if (Row() > FixedRows()) {
                    select(LastTabCol(Row() - 1), Row() - 1);
                } else {
                    Wrapped = true;
                    const int c = LastTabCol(lastNormalRow);
                    select(c, lastNormalRow);
                    if (c >= 0)
                        ScrollInView(c, lastNormalRow);
                }
                MoveToBaseCell();
            } else {
                SetCol(Col() - b);
            }
            return true;
        }
        // From the row start: the last cell of the row above (judged in the
        // row the move started from), or of the last normal row.
        int b = 1;
        while (colEnd - b >= FixedCols() && !CanTabToCell(colEnd - b, Row()))
            ++b;
        const int c = std::max(colEnd - b, std::min(FixedCols(), ColCount() - 1));
        if (Row() > FixedRows()) {
            SetRow(Row() - 1);
        } else {
            Wrapped = true;
            SetRow(lastNormalRow);
        }
        SetCol(c);
        return true;
    }

    const TPoint span = CellSpan(RealColIndex(Col()), Row());
    if (FNavigation->TabAdvanceDirection != TAdvanceDirection::adLeftRight) {
        if (Row() + span.Y + 1 < RowCount() - FixedFooters()) {
            SetRow(Row() + span.Y + 1);
        } else {
            GotoFirstRow();
            if (Col() < colEnd - 1) {
                SetCol(Col() + 1);
            } else {
                SetCol(first);
                endOfGrid();
            }
        }
        return true;
    }

    const int s = span.X;
    if (Col() + s + 1 < colEnd) {
        int c = 1;
        while (Col() + s + c < colEnd && !CanTabToCell(Col() + s + c, Row()))
            ++c;
        if (Col() + s + c < colEnd) {
            SetCol(Col() + s + c);
            return true;
        }
        // Nothing left in the row: the next row's first cell, the move forced.
        QScopedValueRollback<bool> force(FForceSel, true);
        if (Row() < lastNormalRow) {
            const int n = FirstTabCol(Row() + 1);
            bool allow = true;
            if (OnRowChanging)
                OnRowChanging(this, Row(), Row() + 1, allow);
            if (OnCellChanging)
                OnCellChanging(this, Row(), Col(), Row() + 1, n, allow);
            if (OnColChanging)
                OnColChanging(this, Col(), n, allow);
            if (!allow)
                return false;
            SetCol(n < 0 ? FixedCols() : n);
            SetRow(Row() + 1);
        } else {
            const int n = FirstTabCol(FixedRows());
            if (n >= 0)
                select(n, FixedRows());
            endOfGrid();
        }
        return true;
    }

    // At the row end.
    if (Row() < lastNormalRow) {
        int e = first;
        while (e < ColCount() && !(IsBaseCell(RealColIndex(e), Row() + 1) && CanTabToCell(e, Row() + 1)))
            ++e;
        if (e < ColCount()) {
            QScopedValueRollback<bool> force(FForceSel, true);
            SetCol(e);
            SetRow(Row() + 1);
            return true;
        }
        for (int g = Row() + 2; g <= lastNormalRow; ++g) {
            const int n = FirstTabCol(g);
            if (n != -1) {
                SetRow(g);
                SetCol(n);
                return true;
            }
        }
        // No later row has a cell: over the end, as from the last row.
    }
    if (FNavigation->TabToNextAtEnd || !FNavigation->AdvanceInsert()) {
        GotoFirstRow();
    } else {
        bool canAdd = true;
        DoCanAddRow(canAdd);
        if (canAdd) {
            if (FFloatingFooter->Visible()) {
                InsertRows(RowCount() - 1, 1);
                SetRow(RowCount() - 2);
            } else if (FixedFooters() > 0) {
                // The new row goes before the footers, which stay last.
                InsertRows(RowCount() - FixedFooters(), 1);
                SetRow(RowCount() - FixedFooters() - 1);
            } else {
                SetRowCount(RowCount() + 1);
                SetRow(RowCount() - 1);
            }
            if (OnAutoAddRow)
                OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
        } else {
            GotoFirstRow();
        }
    }
    const int n = FirstTabCol(Row());
    SetCol(n < 0 ? FixedCols() : n);
    endOfGrid();
    return true;
}

bool TExStringGrid::AdvanceOnTab(bool Backward)
{
    if (OnKeyDown) {
        WORD key = VK_TAB;
        OnKeyDown(this, key, Backward ? TShiftState(ssShift) : TShiftState());
        if (key != VK_TAB)
            return true;
    }
    // A move nested in one from the same cell ends at once.
    if (Col() == FLastTabCol && Row() == FLastTabRow)
        return true;
    FLastTabCol = Col();
    FLastTabRow = Row();
    const int startCol = Col();
    const int startRow = Row();

    // Step until a cell qualifies: not covered by a merged area, and editable
    // when editing. Going over the grid's end twice means no cell does.
    bool posted = false;
    int wraps = 0;
    bool landed = false;
    try {
        for (;;) {
            bool wrapped = false;
            if (!TabStep(Backward, posted, wrapped))
                break; // refused: the cell stays where the step left it
            if (wrapped && ++wraps > 1)
                break;
            if (posted) {
                landed = true;
                break;
            }
            const bool covered = IsMergedNonBaseCell(RealColIndex(Col()), Row());
            const bool editable = !Options().testFlag(goEditing) || IsEditable(Col(), Row());
            if (!covered && editable) {
                landed = true;
                break;
            }
            if (Col() == startCol && Row() == startRow)
                break;
        }
    } catch (...) {
        FLastTabCol = FLastTabRow = -1;
        throw;
    }
    if (!landed && !(Col() == startCol && Row() == startRow)) {
        QScopedValueRollback<bool> force(FForceSel, true);
        SetSelection(TGridRect { startCol, startRow, startCol, startRow });
    }

    if (landed && FNavigation->AdvanceAutoEdit && !HasCellControl(RealColIndex(Col()), Row()))
        ClickCellForEdit(Col(), Row());
    FLastTabCol = FLastTabRow = -1;
    if (FNavigation->AlwaysEdit && CanFocus())
        SetFocus();
    return !posted;
}
