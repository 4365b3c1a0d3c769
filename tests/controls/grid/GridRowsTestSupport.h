#pragma once
// A string grid whose filter levels a test can end the way the filter does,
// and whose per-row flags, selection-change note and cell controls it can
// reach.

#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"

class TRowsGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void EndFilterLevel()
    {
        UnHideRowList();
        --FFilterLevel;
    }
    TIntList* ModifiedRows() const { return FModifiedRows.get(); }
    TIntList* EnabledRows() const { return FEnabledRows.get(); }
    bool SelChange() const { return FSelChange; }
    TControlList* CellControls() const { return FControlList.get(); }
};
