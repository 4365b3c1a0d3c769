// After a column or row changed its place: what belongs to it by index
// follows (the kept rows' texts, the sort column and sort keys), the footer
// strip repaints, and a linked grid repeats the move once.
#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExGridSort.h"

#include <algorithm>

namespace {

// Where index I ends after an item moved from From to To (remove, then insert).
int MovedIndex(int I, int From, int To)
{
    if (I == From)
        return To;
    if (From < To && I > From && I <= To)
        return I - 1;
    if (To < From && I >= To && I < From)
        return I + 1;
    return I;
}

template <class V> void MoveEntry(V& v, int From, int To)
{
    if (std::max(From, To) >= int(v.size()))
        return;
    auto item = std::move(v[std::size_t(From)]);
    v.erase(v.begin() + From);
    v.insert(v.begin() + To, std::move(item));
}

} // namespace

void TExStringGrid::ColumnMovedFollow(int FromIndex, int ToIndex, int RealFrom, int RealTo)
{
    if (RealFrom == RealTo)
        return;
    // Kept rows hold their texts and objects by real column.
    for (THiddenRow& h : FHiddenRows) {
        MoveEntry(h.Cells.Texts, RealFrom, RealTo);
        for (auto& obj : h.Cells.Objects)
            obj.first = MovedIndex(obj.first, RealFrom, RealTo);
    }
    if (FSortSettings->Column >= 0)
        FSortSettings->Column = MovedIndex(FSortSettings->Column, RealFrom, RealTo);
    if (FSortSettings->IndexShow && FSortIndexes)
        for (int i = 0; i < FSortIndexes->Count(); ++i) {
            const int v = FSortIndexes->Integers(i);
            const int col = MovedIndex(v & 0xFFFF, RealFrom, RealTo);
            FSortIndexes->SetIntegers(i, (v & ~0xFFFF) | (col & 0xFFFF));
        }
    if (FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->Invalidate();
    TExStringGrid* other = FSyncGrid->Grid();
    if (other && FSyncGrid->MoveColumn && !FSyncedMove && other != this) {
        other->FSyncedMove = true;
        try {
            other->MoveColumn(FromIndex, ToIndex);
        } catch (...) {
            other->FSyncedMove = false;
            throw;
        }
        other->FSyncedMove = false;
    }
}

void TExStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    // The strip stands in for the last row: nothing moves onto it.
    if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == TFooterStyle::fsFixedLastRow
        && ToIndex == RowCount() - 1)
        return;
    TBaseGrid::MoveRow(FromIndex, ToIndex);
}

void TExStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    // The heights moved before this hook, so OnRowMoved sees them.
    TBaseGrid::RowMoved(FromIndex, ToIndex);
    TExStringGrid* other = FSyncGrid->Grid();
    if (other && FSyncGrid->MoveRow && !FSyncedMove && other != this) {
        other->FSyncedMove = true;
        try {
            other->MoveRow(FromIndex, ToIndex);
        } catch (...) {
            other->FSyncedMove = false;
            throw;
        }
        other->FSyncedMove = false;
    }
}
