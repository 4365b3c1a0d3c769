#pragma once
// A string grid that counts what the settings objects ask of it: whole-grid
// repaints, repainted cell blocks and the two sorts. It lends itself a sort
// index list while the grid makes none of its own.

#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"

#include <memory>
#include <vector>

class TCountingGrid : public TExStringGrid {
public:
    explicit TCountingGrid(TComponent* AOwner = nullptr)
        : TExStringGrid(AOwner)
    {
        if (!FSortIndexes) {
            FOwnIndexes = std::make_unique<TSortIndexList>();
            FSortIndexes = FOwnIndexes.get();
        }
    }
    ~TCountingGrid() override
    {
        if (FSortIndexes == FOwnIndexes.get())
            FSortIndexes = nullptr;
    }

    void Invalidate() override
    {
        ++Repaints;
        TExStringGrid::Invalidate();
    }
    void InvalidateGridRect(const TGridRect& r) override
    {
        Rects.push_back(r);
        TExStringGrid::InvalidateGridRect(r);
    }
    void QSort() override { ++Sorts; }
    void QSortIndexed() override { ++IndexedSorts; }

    void ResetCounts()
    {
        Repaints = Sorts = IndexedSorts = 0;
        Rects.clear();
    }

    int Repaints = 0;
    int Sorts = 0;
    int IndexedSorts = 0;
    std::vector<TGridRect> Rects;

private:
    std::unique_ptr<TSortIndexList> FOwnIndexes;
};
