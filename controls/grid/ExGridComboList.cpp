// The combo editor's item list and the queries whether a cell is editable,
// fixed or a password cell. The list is the grid's own; the combo editor
// shows it when it opens on a cell.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"

// ---------------------------------------------------------------------------
// The item list

void TExStringGrid::ClearComboString()
{
    FComboItems->Clear();
}

void TExStringGrid::AddComboString(const QString& S)
{
    FComboItems->Add(S);
}

void TExStringGrid::AddComboStringObject(const QString& S, TObject* AObject)
{
    FComboItems->AddObject(S, AObject);
}

bool TExStringGrid::RemoveComboString(const QString& S)
{
    const int i = FComboItems->IndexOf(S);
    if (i < 0)
        return false;
    FComboItems->Delete(i);
    return true;
}

bool TExStringGrid::SetComboSelectionString(const QString& S)
{
    const int i = FComboItems->IndexOf(S);
    if (i < 0)
        return false;
    FComboIdx = i;
    return true;
}

void TExStringGrid::SetComboSelection(int Index)
{
    FComboIdx = Index;
}

int TExStringGrid::GetComboCount() const
{
    return FComboItems->Count();
}

namespace {
bool CellInGrid(const TExStringGrid* g, int ACol, int ARow)
{
    return ACol >= 0 && ARow >= 0 && ACol < g->ColCount() + g->NumHiddenColumns() && ARow < g->RowCount();
}
} // namespace

void TExStringGrid::SetComboIndex(int ACol, int ARow, int Index)
{
    if (!CellInGrid(this, ACol, ARow))
        return;
    // A merged cell's covered part answers for its base cell, list and text.
    const TPoint b = BaseCell(ACol, ARow);
    ComboListForCell(b.X, b.Y);
    // -1 clears the cell; an index the list does not have is no choice at
    // all and must not erase the cell.
    if (Index == -1)
        SetCellEx(b.X, b.Y, QString());
    else if (Index >= 0 && Index < FComboItems->Count())
        SetCellEx(b.X, b.Y, FComboItems->Get(Index));
}

int TExStringGrid::GetComboIndex(int ACol, int ARow)
{
    if (!CellInGrid(this, ACol, ARow))
        return -1;
    const TPoint b = BaseCell(ACol, ARow);
    ComboListForCell(b.X, b.Y);
    return FComboItems->IndexOf(GetCellEx(b.X, b.Y));
}

// ---------------------------------------------------------------------------
// Editability and fixed cells

bool TExStringGrid::IsEditable(int ACol, int ARow)
{
    if (!Options().testFlag(goEditing) && !FMouseActions->RangeSelectAndEdit && !FEditingSuspended)
        return false;
    return IsEditableCell(ACol, ARow);
}

bool TExStringGrid::IsEditableCell(int ACol, int ARow)
{
    // The cell queries read the store, where the cells live at their real
    // columns; a merged cell answers for its base cell.
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    bool canEdit = true;
    CanEditCell(b.X, b.Y, canEdit);
    bool fixed = false;
    IsFixedCell(b.X, b.Y, fixed);
    return canEdit && !fixed;
}

bool TExStringGrid::IsFixedDisplayCell(int ACol, int ARow)
{
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    const int col = DisplColIndex(b.X);
    if (b.Y >= RowCount() - FFixedFooters)
        return true;
    if (col >= ColCount() - FFixedRightCols && col < ColCount())
        return true;
    bool fixed = false;
    IsFixedCell(col, b.Y, fixed);
    return fixed;
}

bool TExStringGrid::CheckPasswordCell(int ACol, int ARow)
{
    bool password = false;
    DoIsPasswordCell(ACol, ARow, password);
    return password;
}

void TExStringGrid::DisableEditing()
{
    SetOptions(Options() & ~TGridOptions(goEditing));
}
