// The table forms' row editing: delete, insert, copy and paste of a whole row
// in a table of fixed size, the Enter advance and the header double click.
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Dialogs.h"
#include "platform/runtime/Classes.h"

QList<bool> RowClipboard_Check;

namespace {

// The update lock of a row operation: one repaint at its end.
class TRows_Update {
public:
    explicit TRows_Update(TExStringGrid* grid)
        : FGrid(grid)
    {
        FGrid->BeginUpdate();
    }
    ~TRows_Update() { FGrid->EndUpdate(); }
    TRows_Update(const TRows_Update&) = delete;
    TRows_Update& operator=(const TRows_Update&) = delete;

private:
    TExStringGrid* FGrid;
};

// Row `from` into row `to`: a check-box cell passes its state, any other
// cell its text.
void Move_Row(TExStringGrid* grid, int from, int to)
{
    const int cols = grid->TotalColCount();
    for (int c = 1; c < cols; ++c) {
        bool state = false;
        if (grid->GetCheckBoxState(c, from, state))
            grid->SetCheckBoxState(c, to, state);
        else
            grid->SetCellEx(c, to, grid->GetCellEx(c, from));
    }
}

// An emptied row: texts emptied, check boxes unchecked, column 1's checked
// with `markEnable`.
void Empty_Row(TExStringGrid* grid, int row, bool markEnable)
{
    const int cols = grid->TotalColCount();
    for (int c = 1; c < cols; ++c) {
        if (grid->HasCheckBox(c, row))
            grid->SetCheckBoxState(c, row, c == 1 && markEnable);
        else
            grid->SetCellEx(c, row, QString());
    }
}

bool Is_Data_Row(TExStringGrid* grid, int row)
{
    return row >= 1 && row < grid->RowCount();
}

} // namespace

void Grid_Delete_Row_Check(int row, TExStringGrid* grid, bool markEnable)
{
    if (!grid || !Is_Data_Row(grid, row))
        return;
    TRows_Update lock(grid);
    const int last = grid->RowCount() - 1;
    for (int r = row; r < last; ++r)
        Move_Row(grid, r + 1, r);
    Empty_Row(grid, last, markEnable);
}

void Grid_Insert_Row_Check(int row, TExStringGrid* grid, bool markEnable)
{
    if (!grid || !Is_Data_Row(grid, row))
        return;
    TRows_Update lock(grid);
    for (int r = grid->RowCount() - 2; r >= row; --r)
        Move_Row(grid, r, r + 1);
    Empty_Row(grid, row, markEnable);
}

void Grid_Copy_Row_Check(TExStringGrid* grid, int row)
{
    if (!grid || !RowClipboard || !Is_Data_Row(grid, row))
        return;
    const int cols = grid->TotalColCount();
    RowClipboard->Clear();
    RowClipboard_Check.fill(false, cols - 1);
    for (int c = 1; c < cols; ++c) {
        bool state = false;
        if (grid->GetCheckBoxState(c, row, state)) {
            RowClipboard->Add(state ? QStringLiteral("Y") : QStringLiteral("N"));
            RowClipboard_Check[c - 1] = true;
        } else {
            RowClipboard->Add(grid->GetCellEx(c, row));
        }
    }
}

void Grid_Paste_Row_Check(TExStringGrid* grid, int row, bool copied)
{
    if (!grid || !Is_Data_Row(grid, row))
        return;
    if (!copied || !RowClipboard) {
        MessageDlg(Lang(1102), mtError, TMsgDlgButtons(mbOK));
        return;
    }
    const int cols = grid->TotalColCount();
    if (RowClipboard->Count() != cols - 1) {
        MessageDlg(Lang(1101), mtError, TMsgDlgButtons(mbOK));
        return;
    }
    // Any text counts, blanks included; the boxes do not.
    bool used = false;
    for (int c = 1; c < cols && !used; ++c)
        used = !grid->HasCheckBox(c, row) && !grid->GetCellEx(c, row).isEmpty();
    if (used && MessageDlg(Lang(1100), mtConfirmation, mbYesNo) != mrYes)
        return;
    TRows_Update lock(grid);
    for (int c = 1; c < cols; ++c) {
        const QString value = RowClipboard->Get(c - 1);
        if (c - 1 < RowClipboard_Check.size() && RowClipboard_Check[c - 1])
            grid->SetCheckBoxState(c, row, value == QLatin1String("Y"));
        else
            grid->SetCellEx(c, row, value);
    }
}

void Grid_Enter_Next_Cell(TExStringGrid* grid, char16_t& Key)
{
    if (!grid || !Opt_Jump_Field_Tables || Key != 13)
        return;
    const int col = grid->Col();
    const int row = grid->Row();
    if (col > 0 && row > 0) {
        if (col < grid->ColCount() - 1) {
            grid->SetCol(col + 1);
        } else {
            grid->SetCol(1);
            grid->SetRow(row < grid->RowCount() - 1 ? row + 1 : 1);
        }
    }
    Key = 0;
}

void Grid_DblClick_AutoSize(TExStringGrid* grid, int ARow, int ACol)
{
    if (grid && Opt_Dbl_Click_Auto_Size && ARow == 0)
        grid->AutoSizeCol(ACol, 0);
}
