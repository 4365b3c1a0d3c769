// TDrawGrid (the grid's hooks as events) and TStringGrid (the cell store).
#include "platform/controls/Grids.h"

namespace {

// Counts a nesting level for as long as it lives.
struct TNestScope {
    explicit TNestScope(int& n)
        : N(n)
    {
        ++N;
    }
    ~TNestScope() { --N; }
    TNestScope(const TNestScope&) = delete;
    TNestScope& operator=(const TNestScope&) = delete;
    int& N;
};

} // namespace

// ---------------------------------------------------------------------------
// TDrawGrid

TDrawGrid::TDrawGrid(TComponent* AOwner)
    : TCustomGrid(AOwner)
{
}

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

QString TDrawGrid::GetEditMask(int ACol, int ARow)
{
    QString value;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, value);
    return value;
}

QString TDrawGrid::GetEditText(int ACol, int ARow)
{
    QString value;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

// ---------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner)
    : TDrawGrid(AOwner)
{
    FStore.SetColCount(ColCount());
    FStore.SetRowLimit(RowCount());
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    FStore.SetText(ACol, ARow, Value);
    // A change of the edited cell by code shows in the editor.
    if (FEditUpdate == 0 && ACol == Col() && ARow == Row() && FInplaceCol == ACol && FInplaceRow == ARow)
        InvalidateEditor();
    InvalidateCell(ACol, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    FStore.SetObject(ACol, ARow, Value);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (DefaultDrawing()) {
        const QString& text = FStore.Text(ACol, ARow);
        if (!text.isEmpty()) {
            // The grid filled the cell already: the text goes over it.
            TCanvas* c = Canvas();
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
        }
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

QString TStringGrid::GetEditText(int ACol, int ARow)
{
    QString value = FStore.Text(ACol, ARow);
    if (FLoadingEditor)
        FEditOriginal = value;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    {
        TNestScope scope(FEditUpdate);
        if (Value != FStore.Text(ACol, ARow))
            SetCells(ACol, ARow, Value);
    }
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::RestoreEditText(int ACol, int ARow, const QString&)
{
    {
        TNestScope scope(FEditUpdate);
        SetCells(ACol, ARow, FEditOriginal);
    }
    TDrawGrid::SetEditText(ACol, ARow, FEditOriginal);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    FStore.MoveColumn(FromIndex, ToIndex);
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    FStore.MoveRow(FromIndex, ToIndex);
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::RowsInserted(int ARow, int ACount)
{
    FStore.InsertRows(ARow, ACount);
    TDrawGrid::RowsInserted(ARow, ACount);
}

void TStringGrid::RowsDeleted(int ARow, int ACount)
{
    FStore.DeleteRows(ARow, ACount);
    TDrawGrid::RowsDeleted(ARow, ACount);
}

void TStringGrid::RowsMoved(int FromIndex, int ACount, int ToIndex)
{
    FStore.MoveRows(FromIndex, ACount, ToIndex);
    TDrawGrid::RowsMoved(FromIndex, ACount, ToIndex);
}

void TStringGrid::RowsPermuted(int First, const std::vector<int>& Order)
{
    FStore.PermuteRows(First, Order);
    TDrawGrid::RowsPermuted(First, Order);
}

void TStringGrid::ColumnsPermuted(int First, const std::vector<int>& Order)
{
    FStore.PermuteColumns(First, Order);
    TDrawGrid::ColumnsPermuted(First, Order);
}

void TStringGrid::RowsExchanged(int ARow1, int ARow2)
{
    // Not the inherited one: that replays the exchange as a permutation.
    FStore.ExchangeRows(ARow1, ARow2);
}

void TStringGrid::RowSetDeleted(const std::vector<int>& Rows)
{
    FStore.DeleteRowSet(Rows);
    TDrawGrid::RowSetDeleted(Rows);
}

void TStringGrid::RowSetInserted(const std::vector<int>& Places)
{
    FStore.InsertRowSet(Places);
    TDrawGrid::RowSetInserted(Places);
}

void TStringGrid::PutRow(int ARow, TGridStoredRow&& Cells)
{
    FStore.PutRow(ARow, std::move(Cells));
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    // Rows that leave the grid leave the store, so that rows added later
    // start empty; columns stay (hidden columns live there).
    FStore.SetRowLimit(RowCount());
    FStore.SetColCount(ColCount());
    TDrawGrid::SizeChanged(OldColCount, OldRowCount);
}

void TStringGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, ColCount() - 1);
    // The cells kept beyond the last column close up behind it.
    FStore.DeleteColumn(ColCount() - 1);
    SetColCount(ColCount() - 1);
}
