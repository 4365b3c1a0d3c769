// Undo and redo of a grid's cell texts.
#include "controls/base/ExGridUndoRedo.h"

#include <algorithm>

#include "controls/base/BaseGrid.h"

TUndoRedoItem* TUndoRedoCollection::Add()
{
    FItems.push_back(std::make_unique<TUndoRedoItem>());
    return FItems.back().get();
}

void TUndoRedoCollection::Delete(int i)
{
    if (i >= 0 && i < Count())
        FItems.erase(FItems.begin() + i);
}

TExGridUndoRedo::TExGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TExGridUndoRedo::~TExGridUndoRedo()
{
    if (FGrid && FGrid->UndoRedo() == this)
        FGrid->SetUndoRedo(nullptr);
}

void TExGridUndoRedo::SetGrid(TBaseGrid* v)
{
    if (FGrid == v)
        return;
    if (FGrid)
        FGrid->RemoveFreeNotification(this);
    FGrid = v;
    if (FGrid)
        FGrid->FreeNotification(this);
}

void TExGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && FGrid && AComponent == FGrid)
        FGrid = nullptr;
}

void TExGridUndoRedo::RegisterChange(int ACol, int ARow, const QString& OldValue, const QString& NewValue)
{
    if (FMaxLevel > 0 && FItems.Count() >= FMaxLevel)
        FItems.Delete(0);
    TUndoRedoItem* item = FItems.Add();
    item->Col = ACol;
    item->Row = ARow;
    item->Value = NewValue;
    item->OrigValue = OldValue;
    FLevel = FItems.Count();
}

void TExGridUndoRedo::AddMarker(bool start)
{
    TUndoRedoItem* item = FItems.Add();
    item->Col = -1;
    item->Row = -1;
    item->SequenceStart = start;
    item->SequenceStop = !start;
    FLevel = FItems.Count();
}

void TExGridUndoRedo::StartSequence()
{
    AddMarker(true);
}

void TExGridUndoRedo::StopSequence()
{
    AddMarker(false);
}

void TExGridUndoRedo::Reset()
{
    FItems.Clear();
    FLevel = 0;
}

bool TExGridUndoRedo::Apply(const TUndoRedoItem* I, bool undo)
{
    // Markers carry no cell; a cell that has left the grid is passed over.
    if (I->IsMarker() || I->Col < 0 || I->Row < 0 || I->Col >= FGrid->TotalColCount() || I->Row >= FGrid->RowCount())
        return false;
    const QString& text = undo ? I->OrigValue : I->Value;
    const TUndoRedoEvent& event = undo ? OnUndo : OnRedo;
    if (event)
        event(this, FGrid, I->Col, I->Row, FGrid->GetCellEx(I->Col, I->Row), text);
    FGrid->SetCellEx(I->Col, I->Row, text);
    // A hidden column has no place of its own: the current cell goes to the
    // shown column that follows it, or to the last shown one.
    FGrid->SetCol(std::min(FGrid->DisplColIndex(I->Col), FGrid->ColCount() - 1));
    FGrid->SetRow(I->Row);
    return true;
}

void TExGridUndoRedo::Undo()
{
    if (!FGrid || FLevel <= 0 || FItems.Count() < FLevel)
        return;
    // A sequence left open is passed over.
    while (FLevel > 0 && FItems.Items(FLevel - 1)->SequenceStart)
        --FLevel;
    if (FLevel == 0)
        return;
    const TUndoRedoItem* top = FItems.Items(FLevel - 1);
    if (top->SequenceStop) {
        int i = FLevel - 2;
        while (i >= 0 && !FItems.Items(i)->SequenceStart)
            Apply(FItems.Items(i--), true);
        // In front of the start marker; the oldest item when the cap took it.
        FLevel = std::max(i, 0);
        FGrid->Invalidate();
    } else {
        Apply(top, true);
        FGrid->RepaintCell(FGrid->Col(), top->Row);
        --FLevel;
    }
}

void TExGridUndoRedo::Redo()
{
    if (!FGrid || FLevel < 0 || FLevel >= FItems.Count())
        return;
    int i = FLevel;
    const TUndoRedoItem* next = FItems.Items(i);
    if (next->SequenceStart) {
        ++i;
        while (i < FItems.Count() && !FItems.Items(i)->SequenceStop)
            Apply(FItems.Items(i++), false);
        // Behind the stop marker, or at the end when it was never registered.
        FLevel = std::min(i + 1, FItems.Count());
        FGrid->Invalidate();
    } else {
        Apply(next, false);
        FLevel = i + 1;
    }
}
