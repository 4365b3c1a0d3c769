#pragma once
// A base grid on a shown form, with the fields other layers keep (hidden
// last row, normal rows, hover row) open to the tests, and counters for the
// objects the grid must or must not free.

#include <QStringList>

#include "controls/base/BaseGrid.h"
#include "common/GridOnForm.h"

class TTestBaseGrid : public TBaseGrid {
public:
    using TBaseGrid::FHideLastRow;
    using TBaseGrid::FHoverRowIdx;
    using TBaseGrid::FNormalRowCount;
    using TBaseGrid::FShowSel;
    using TBaseGrid::TBaseGrid;
    int LastRowChanges = 0;
    int Hidden = 0; // columns kept beyond ColCount
    void LastRowChanged() override { ++LastRowChanges; }
    int TotalColCount() const override { return ColCount() + Hidden; }
};

// Counts the live instances of its kind.
template <class Base> class TCounted : public Base {
public:
    explicit TCounted(int& live)
        : FLive(live)
    {
        ++FLive;
    }
    ~TCounted() override { --FLive; }

private:
    int& FLive;
};
using TCountedGraphic = TCounted<TCellGraphic>;
using TCountedObject = TCounted<TObject>;

struct BaseGridFixture : TGridOnForm<TTestBaseGrid> {
    explicit BaseGridFixture(int cols = 8, int rows = 6, int width = 420, int height = 160)
        : TGridOnForm(cols, rows, width, height)
    {
    }
};
