#pragma once
// A base grid on a shown form, with the fields other layers keep (hidden
// last row, normal rows, hover row) open to the tests, and counters for the
// objects the grid must or must not free.

#include <QStringList>

#include "controls/base/BaseGrid.h"
#include "platform/controls/Forms.h"

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

template <class G> struct TGridOnForm {
    TForm* Form;
    G* Grid;

    explicit TGridOnForm(int cols = 8, int rows = 6, int width = 420, int height = 160)
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, width + 40, height + 40);
        Form->Show();
        Grid = new G(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, width, height);
        Grid->SetDefaultColWidth(50);
        Grid->SetDefaultRowHeight(20);
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        Grid->SetFocus();
    }
    ~TGridOnForm() { delete Form; }
    TGridOnForm(const TGridOnForm&) = delete;
    TGridOnForm& operator=(const TGridOnForm&) = delete;
};
using BaseGridFixture = TGridOnForm<TTestBaseGrid>;
