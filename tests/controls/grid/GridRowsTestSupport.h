#pragma once
// A string grid whose filter levels a test can end the way the filter does,
// and whose per-row flags, selection-change note and cell controls it can
// reach.

#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"

#include <QStringList>

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

// The first-column texts of the shown normal rows, joined by blanks.
inline QString ShownFirstColumn(const TExStringGrid& g)
{
    QStringList names;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        names << g.Cells(0, r);
    return names.join(u' ');
}
