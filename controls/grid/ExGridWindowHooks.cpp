// Grid members the grid's own windows call, with the least the windows need
// until the grid's editing share brings them whole.
#include "controls/grid/ExGrid.h"

// Moves one cell forward or back, wrapping at the row's end, for now.
void TExStringGrid::AdvanceToNextCell(int ACol, int ARow, bool, bool, bool Forward, bool, bool)
{
    int c = ACol + (Forward ? 1 : -1);
    int r = ARow;
    if (c >= ColCount()) {
        c = FixedCols();
        ++r;
    } else if (c < FixedCols()) {
        c = ColCount() - 1;
        --r;
    }
    if (r < FixedRows() || r >= RowCount())
        return;
    SetCol(c);
    SetRow(r);
}

// Gives the grid the focus, as when the cell has no further control, for now;
// starting the next control's edit comes with cell control editing.
void TExStringGrid::FocusNextCellControl(int, int, const QString&)
{
    if (CanFocus())
        SetFocus();
}
