#pragma once
// A string grid whose filter levels a test can end the way the filter does,
// and whose modified-row flags it can read.

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
};
