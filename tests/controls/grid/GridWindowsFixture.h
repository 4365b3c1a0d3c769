#pragma once
// A string grid stand-in for the grid's own windows: it maps real columns to
// shown ones as if one column were hidden, records the moves the windows ask
// of it, and takes an image list.

#include <vector>

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "platform/graphics/ImageList.h"

class TWindowsTestGrid : public TExStringGrid {
public:
    explicit TWindowsTestGrid(TComponent* AOwner)
        : TExStringGrid(AOwner)
    {
    }

    // Real column HiddenCol is hidden: the ones after it show one further left.
    int HiddenCol = -1;
    int DisplColIndex(int ACol) const override { return HiddenCol >= 0 && ACol > HiddenCol ? ACol - 1 : ACol; }

    struct TAdvance {
        int Col, Row;
        bool Force, AutoEdit, Forward, Internal, ShowEditor;
    };
    std::vector<TAdvance> Advances;
    void AdvanceToNextCell(
        int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Internal, bool ShowEditor) override
    {
        Advances.push_back({ ACol, ARow, Force, AutoEdit, Forward, Internal, ShowEditor });
    }
    struct TNextControl {
        int Col, Row;
        QString ID;
    };
    std::vector<TNextControl> NextControls;
    void FocusNextCellControl(int ACol, int ARow, const QString& ControlID) override
    {
        NextControls.push_back({ ACol, ARow, ControlID });
    }

    void SetImagesForTest(TCustomImageList* v) { FGridImages = v; }
};
