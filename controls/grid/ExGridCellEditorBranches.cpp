// The combo, check-box and spin kinds' own part of preparing and storing a
// cell editor; the common steps around them are the grid's.
#include "controls/grid/ExGrid.h"

bool TExStringGrid::PrepareSpinCellEditor(int ACol, int ARow)
{
    (void)ACol, (void)ARow;
    return false;
}

bool TExStringGrid::PrepareComboCellEditor(int ACol, int ARow)
{
    (void)ACol, (void)ARow;
    return false;
}

bool TExStringGrid::PrepareCheckCellEditor(int ACol, int ARow)
{
    (void)ACol, (void)ARow;
    return false;
}

void TExStringGrid::StoreSpinEditorValue() { }

void TExStringGrid::StoreComboEditorValue() { }

void TExStringGrid::StoreCheckEditorValue() { }
