// Painting under the update lock, the size handler (search bar, columns kept
// in proportion to the grid, the stretched column, scroll bars), keeping
// everything that follows the scroll position in step, the picture of a
// block of cells, and a few small services: the version, the footer canvas,
// the column-drag source.
#include "controls/grid/ExGrid.h"

#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"

#include <algorithm>
#include <memory>

// ---------------------------------------------------------------------------
// Painting

void TExStringGrid::PaintMessage(TMessage& Message)
{
    // Locked: nothing is painted; the lock's end repaints the whole window.
    if (FUpdateCount > 0) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::WndProc(Message);
    if (!TabStop() && FPaintCount == 0) {
        FPaintCount = 1;
        UpdateProportionalVertScroll();
    }
}

// ---------------------------------------------------------------------------
// Resizing

void TExStringGrid::SizeMessage(TMessage& Message)
{
    const int width = LoWord(WPARAM(Message.LParam));
    if (FSearchPanel && FSearchFooter->Visible()) {
        // The height change forces the bar's layout.
        FSearchPanel->SetHeight(33);
        FSearchPanel->SetHeight(32);
    }
    if (FOldSize > 0 && FColumnSize->SynchWithGrid) {
        HideInplaceEdit();
        const double ratio = double(width + (FBorderStyle == bsSingle ? 2 : 0)) / FOldSize;
        const int first = FColumnSize->SynchNormalCellsOnly ? FixedCols() : 0;
        const int last = FColumnSize->SynchNormalCellsOnly ? ColCount() - FixedRightCols() - 1 : ColCount() - 1;
        const int measured = FOrigColSizes->Count();
        for (int c = first; c <= last && c < measured; ++c)
            SetColWidths(c, int(FOrigColSizes->Integers(c) * ratio));
    }
    bool stretched = false;
    if (FColumnSize->Stretch()
        && (FScrollBarAlways == TScrollBarAlways::saNone || FScrollBarAlways == TScrollBarAlways::saVert)) {
        const int s = FColumnSize->StretchColumn == -1 ? ColCount() - 1 : FColumnSize->StretchColumn;
        int sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != s)
                sum += ColWidths(c);
        if (sum < width) {
            ApplyColumnStretch(FColumnSize->StretchColumn);
            stretched = true;
        }
        if (FScrollBarAlways == TScrollBarAlways::saNone) {
            const bool canH = FScrollBarsEx == ssHorizontal || FScrollBarsEx == ssBoth;
            const bool canV = FScrollBarsEx == ssVertical || FScrollBarsEx == ssBoth;
            if (canH)
                ShowScrollBar(SB_HORZ, ClientWidth() < sum + ColWidths(s));
            if (canV)
                ShowScrollBar(SB_VERT, VisibleRowCount() < RowCount() - FixedRows());
        }
        if (stretched && FScrollBarAlways == TScrollBarAlways::saNone) {
            if (OnGridResize)
                OnGridResize(this);
            return;
        }
    }
    TBaseGrid::WndProc(Message);
    UpdateProportionalHorzScroll();
    UpdateProportionalVertScroll();
    if (stretched || FDisableSize)
        return;
    FDisableSize = true;
    UpdateFlatVertScroll();
    UpdateFlatHorzScroll();
    ShowFlatScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    ShowFlatScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    if (FScrollBarsEx != ssBoth && FScrollBarsEx != ssVertical)
        ShowScrollBar(SB_VERT, false);
    if (FScrollBarsEx != ssBoth && FScrollBarsEx != ssHorizontal)
        ShowScrollBar(SB_HORZ, false);
    FDisableSize = false;
}

// ---------------------------------------------------------------------------
// The top-left cell changed

void TExStringGrid::HandleTopLeftChanged()
{
    // The fixed background picture covered other cells before the scroll.
    TGridRect before = FixedBackgroundCells();
    if (before.Left != -1 || before.Top != -1) {
        const int dx = LeftCol() - FOldLeftCol, dy = TopRow() - FOldTopRow;
        before = TGridRect { before.Left - dx, before.Top - dy, before.Right - dx, before.Bottom - dy };
    }
    TBaseGrid::HandleTopLeftChanged();
    if (FSelectionRectangle && Selection().Bottom > Selection().Top)
        RepaintGrid();
    const TBitmap* bmp = FBackGround->Bitmap();
    const bool picture = bmp && !bmp->Empty();
    switch (FBackGround->Display()) {
    case TBackGroundDisplay::bdFixed:
        if (picture) {
            RepaintRect(before);
            RepaintRect(FixedBackgroundCells());
        }
        break;
    case TBackGroundDisplay::bdTile:
        if (picture)
            RepaintGrid();
        break;
    default:
        if (FBackGround->ColorTo() != clNone)
            RepaintGrid();
        break;
    }
    if ((EditorMode() || FEditMode) && EditControl != TEditorType::edNormal)
        HideInplaceEdit();
    UpdateFlatVertScroll();
    UpdateFlatHorzScroll();
    UpdateFooter();
    CellControlsUpdate(false);
    // A current cell left under the search bar is brought above it.
    if (FSearchFooter->Visible() && FSearchPanel && !FInTopLeftChanged && Row() >= TopRow()
        && Row() <= TopRow() + VisibleRowCount()) {
        const TRect r = CellRect(Col(), Row());
        if (r.Bottom > ClientHeight() - FSearchPanel->Height() && r.Top < ClientHeight()) {
            FInTopLeftChanged = true;
            try {
                ScrollRowAboveSearchPanel(Row());
            } catch (...) {
                FInTopLeftChanged = false;
                throw;
            }
            FInTopLeftChanged = false;
        }
    }
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    if (TExStringGrid* other = FSyncGrid->Grid()) {
        if (FSyncGrid->ScrollVertical && other->TopRow() != TopRow())
            other->SetTopRow(TopRow());
        if (FSyncGrid->ScrollHorizontal && other->LeftCol() != LeftCol())
            other->SetLeftCol(LeftCol());
    }
    InvalidateMetroScrollControls();
}

// ---------------------------------------------------------------------------
// The picture of a block of cells

TBitmap* TExStringGrid::SelectionPicture(const TGridRect& R)
{
    auto whole = std::make_unique<TBitmap>();
    whole->SetSize(Width(), Height());
    PaintTo(whole->Canvas(), 0, 0);
    TRect a = VirtualCellRect(R.Left, R.Top);
    TRect b = VirtualCellRect(R.Right, R.Bottom);
    if (b.Left < a.Left)
        std::swap(a, b);
    const int left = a.Left, top = std::min(a.Top, b.Top);
    const int right = b.Right, bottom = std::max(a.Bottom, b.Bottom);
    auto* pic = new TBitmap();
    pic->SetSize(std::max(0, right - left + 1), std::max(0, bottom - top + 1));
    pic->Canvas()->CopyRect(
        Rect(0, 0, pic->Width(), pic->Height()), whole->Canvas(), Rect(left + 1, top + 1, right + 2, bottom + 2));
    // The fixed lines the block starts on; the horizontal-line option rules
    // the left edge and the vertical-line option the top edge.
    TCanvas* c = pic->Canvas();
    c->Pen()->SetColor(GridFixedLineColor());
    c->Pen()->SetWidth(1);
    if (R.Left == 0 && FixedCols() > 0 && Options().testFlag(goFixedHorzLine)) {
        c->MoveTo(0, 0);
        c->LineTo(0, pic->Height());
    }
    if (R.Top == 0 && FixedRows() > 0 && Options().testFlag(goFixedVertLine)) {
        c->MoveTo(0, 0);
        c->LineTo(pic->Width(), 0);
    }
    return pic;
}

TNoActiveForm* TExStringGrid::SelectionToForm(const TGridRect& R)
{
    std::unique_ptr<TBitmap> pic(SelectionPicture(R));
    auto* form = new TNoActiveForm(this);
    form->SetTopMost(true);
    form->SetBounds(0, 0, pic->Width(), pic->Height());
    auto* img = new TImage(form);
    img->SetParent(form);
    img->SetAlign(alClient);
    img->Picture()->Assign(pic.get());
    form->SetOpacity(192);
    return form;
}

// ---------------------------------------------------------------------------
// Small services

TCanvas* TExStringGrid::FooterCanvas() const
{
    return FFooterPanel ? FFooterPanel->Canvas() : nullptr;
}

void TExStringGrid::OleColumnDragStart(int ACol, int AIndex, TListBox* AList)
{
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

int TExStringGrid::GetVersionNr()
{
    return (6 << 24) | (2 << 16) | (1 << 8) | 3;
}

QString TExStringGrid::GetVersionString()
{
    const unsigned v = unsigned(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4 Sep, 2012")
        .arg(v >> 24)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}
