// Grid members the grid's own windows call, with the least the windows need
// until the grid's editing share brings them whole.
#include "controls/grid/ExGrid.h"

// Gives the grid the focus, as when the cell has no further control, for now;
// starting the next control's edit comes with cell control editing.
void TExStringGrid::FocusNextCellControl(int, int, const QString&)
{
    if (CanFocus())
        SetFocus();
}
