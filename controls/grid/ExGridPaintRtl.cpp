// Right-to-left painting. The toolkit grid lays a right-to-left grid out
// from the right and hands the cell painters a mirrored canvas, so every
// layer is painted as laid out left to right. Only the cell texts, which
// must read right to left inside their mirrored rectangle, switch the canvas
// back and mirror their rectangle themselves.

#include "controls/grid/ExGrid.h"
#include "platform/graphics/DrawText.h"

TCanvas::TOrientation TExStringGrid::BeginLeftToRight(TCanvas* Canvas, TRect& R) const
{
    const TCanvas::TOrientation saved = Canvas->DrawingOrientation();
    if (saved.RightToLeft) {
        R = Canvas->Oriented(R);
        Canvas->SetDrawingOrientation({});
    }
    return saved;
}

void TExStringGrid::EndLeftToRight(TCanvas* Canvas, TCanvas::TOrientation Saved)
{
    Canvas->SetDrawingOrientation(Saved);
}

unsigned TExStringGrid::BiDiTextFlags(unsigned Flags) const
{
    if (UseRightToLeftAlignment()) {
        if (Flags & DT_RIGHT)
            Flags &= ~DT_RIGHT;
        else if (!(Flags & DT_CENTER))
            Flags |= DT_RIGHT;
    }
    if (UseRightToLeftReading())
        Flags |= DT_RTLREADING;
    return Flags;
}

bool TExStringGrid::ColumnOffersFilter(int ACol)
{
    const bool collects
        = FFilterDropDownAuto && (ACol >= FixedCols() || FFilterDropDownColumns == TFilterDropDownColumns::fdAll);
    if (!collects)
        return OnGetColumnFilter && GetColumnFilterValues(ACol); // only the handler's values: cheap
    // Every data row, and every kept row, gives at least one entry.
    return !FFilterDropDownClear.isEmpty() || RowCount() - FixedFooters() > FixedRows()
        || (!FFilterIncremental && !FHiddenRows.empty());
}
