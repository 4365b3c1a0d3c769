// The string grid under a moving mouse: select modes and their cursors,
// selecting by dragging over the headers, the sizing events and hint, the
// enhanced column and row move, the drag of cells and columns, link cursors
// and the cell hints.
#include "controls/grid/ExGrid.h"

#include "controls/base/ExObjOptions.h"
#include "controls/base/ExObjWindows.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridPanels.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/DragService.h"
#include "platform/controls/Forms.h"

#include <algorithm>
#include <cstdlib>

void TExStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    HandleMouseMove(Shift, X, Y);
}

void TExStringGrid::SetOleDropTarget(const TGridRect& Target)
{
    FOleDropTarget = Target;
}

void TExStringGrid::HandleMouseMove(TShiftState Shift, int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (FMouseDownMove && FMouseActions->RangeSelectAndEdit && Options().testFlag(goEditing) && !EditorMode())
        SetOptions(Options() & ~TGridOptions(goEditing));
    const TGridRect entry = Selection();

    // Hovered cell buttons and expand glyphs.
    if (ACol >= 0 && ARow >= 0) {
        const int rc = RealColFromDisplay(ACol);
        const bool over = (HasButton(rc, ARow) && PtInRect(GetCellGraphicRect(ACol, ARow), TPoint(X, Y)))
            || (HasExpand(rc, ARow) && PtInRect(GetExpandRect(ACol, ARow), TPoint(X, Y)));
        const TPoint now = over ? TPoint(ACol, ARow) : TPoint(-1, -1);
        if (!(now == FHoverButton)) {
            if (FHoverButton.X >= 0)
                InvalidateCell(FHoverButton.X, FHoverButton.Y);
            FHoverButton = now;
            if (now.X >= 0)
                InvalidateCell(now.X, now.Y);
        }
    }

    // Selecting whole rows or columns by dragging over the headers.
    if (FMouseDownMove && FMouseSelectStart >= 0 && FMouseActions->RowSelect
        && FMouseSelectMode == TMouseSelectMode::msRow && ARow >= FixedRows() && ARow < RowCount() - FixedFooters()) {
        const int to = std::max(FixedRows(), ARow);
        SetSelection({ FixedCols(), std::min(FMouseSelectStart, to), ColCount() - 1, std::max(FMouseSelectStart, to) });
    }
    if (FMouseDownMove && FMouseSelectStart >= 0 && FMouseActions->ColSelect
        && FMouseSelectMode == TMouseSelectMode::msColumn && ACol >= 0) {
        const int to = std::max(FixedCols(), ACol);
        SetSelection({ std::min(FMouseSelectStart, to), FixedRows(), std::max(FMouseSelectStart, to), RowCount() - 1 });
    }

    // A drag of the selection starts once the mouse left the press point by
    // more than 3 pixels.
    if (FSelectionClick && ACol >= 0 && ARow >= 0 && Shift.testFlag(ssLeft)
        && (std::abs(X - Clickposx) > 3 || std::abs(Y - Clickposy) > 3) && FDragDropSettings->OleDropSource
        && GridState() != gsColSizing) {
        StartOleDrag(ACol, ARow);
        return;
    }

    if (GridState() == gsColMoving && !EnhRowColMove()) {
        bool allow = true;
        if (OnColumnMove)
            OnColumnMove(this, Movecell, allow);
        if (!allow)
            SetGridState(gsNormal);
    } else if (GridState() == gsRowMoving && !EnhRowColMove()) {
        bool allow = true;
        if (OnRowMove)
            OnRowMove(this, Movecell, allow);
        if (!allow)
            SetGridState(gsNormal);
    }

    // What a press here would do.
    if (!FMouseDownMove) {
        FMouseSelectMode = TMouseSelectMode::msNormal;
        if (ACol >= 0 && ARow >= 0) {
            if (ACol < FixedCols() && ARow < FixedRows() && FMouseActions->AllSelect)
                FMouseSelectMode = TMouseSelectMode::msAll;
            else if (ARow < FixedRows() && ACol >= FixedCols() && FMouseActions->ColSelect && !IsSizingPosition(X, Y))
                FMouseSelectMode = TMouseSelectMode::msColumn;
            else if (ACol < FixedCols() && ARow >= FixedRows() && ARow <= RowCount() - 1 && FMouseActions->RowSelect
                && !IsSizingPosition(X, Y) && !(ACol == 0 && IsNode(ARow) && IsNodeGlyphHit(ARow, X)))
                FMouseSelectMode = TMouseSelectMode::msRow;
        }
    }

    // A link under the mouse shows the link cursor.
    bool link = false;
    if (ACol >= 0 && ARow >= 0 && URLShow()) {
        const QString text = Cells(RealColFromDisplay(ACol), ARow);
        link = !text.isEmpty() && !text.contains(QLatin1Char('<')) && IsURL(text);
    }
    const TPoint linkCell = link ? TPoint(ACol, ARow) : TPoint(-1, -1);
    if (URLUnderlineOnHover() && !(linkCell == FHoverCell)) {
        if (FHoverCell.X >= 0)
            InvalidateCell(FHoverCell.X, FHoverCell.Y);
        FHoverCell = linkCell;
        FHoverlink = link ? 0 : -1;
        FHoverLinkCol = linkCell.X;
        FHoverLinkRow = linkCell.Y;
        if (link)
            InvalidateCell(ACol, ARow);
    }
    if (link)
        SetCursor(crHandPoint);
    else if (FMouseSelectMode == TMouseSelectMode::msNormal && Cursor() == crHandPoint)
        SetCursor(FOldCursor);

    // A hint shown for another cell goes.
    if (FLastHintPos.X >= 0 && ACol >= 0) {
        const TPoint base = BaseCell(ACol, ARow);
        if (!(base == FLastHintPos)) {
            Application->CancelHint();
            FLastHintPos = TPoint(-1, -1);
        }
    }

    TBaseGrid::MouseMove(Shift, X, Y);
    if (IsDestroying())
        return;

    if (EnhRowColMove() && (GridState() == gsColMoving || GridState() == gsRowMoving) && RowCount() > 1
        && (X != Clickposx || Y != Clickposy))
        EnhancedMoveStep(X, Y);

    if (GridState() == gsColSizing) {
        ColSized = true;
        if (Colclicked >= 0 && OnColumnSizing)
            OnColumnSizing(this, Colclicked, X - CellRect(Colclicked, std::max(Rowclicked, 0)).Left - Clickposdx);
    } else if (GridState() == gsRowSizing) {
        Rowsized = true;
        if (Rowclicked >= 0 && OnRowSizing)
            OnRowSizing(this, Rowclicked, Y - CellRect(std::max(Colclicked, 0), Rowclicked).Top - Clickposdy);
    }
    if ((HintShowSizing() || IsDesigning()) && (GridState() == gsColSizing || GridState() == gsRowSizing))
        ShowSizingHint(X, Y);

    const TGridRect now = Selection();
    if (!(now == entry))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

void TExStringGrid::ShowSizingHint(int X, int Y)
{
    if (!FScrollHintWnd)
        return;
    QString text;
    int c = 0, r = 0;
    if (GridState() == gsColSizing) {
        c = Colclicked >= 0 ? Colclicked : ColCount() - 1;
        text = QStringLiteral("cw=<b>%1</b>").arg(X - CellRect(c, 0).Left - Clickposdx);
    } else {
        r = Rowclicked >= 0 ? Rowclicked : RowCount() - 1;
        text = QStringLiteral("rh=<b>%1</b>").arg(Y - CellRect(0, r).Top - Clickposdy);
    }
    TRect hr = FScrollHintWnd->CalcHintRect(200, text, nullptr);
    const TPoint at = ClientToScreen(TPoint(CellRect(c, r).Left, CellRect(c, r).Top));
    OffsetRect(hr, at.X, at.Y);
    FScrollHintWnd->SetColor(HintColor());
    FScrollHintWnd->ActivateHint(hr, text);
    FScrollHintShow = true;
    FScrollHintText = text;
}

void TExStringGrid::EnhancedMoveStep(int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool cols = GridState() == gsColMoving;
    if (!FMoveRunning) {
        FMoveRunning = true;
        DoStartBlockFocus();
    }
    if (!FMoveButton) {
        FMoveButton = new THeaderDragButton(this);
        FMoveButton->Grid = this;
        FMoveButton->SetParent(this);
    }
    if (cols && Movecell >= 0) {
        FMoveButton->SetCaption(Cells(RealColFromDisplay(Movecell), 0));
        FMoveButton->SetWidth(ColWidths(Movecell));
        FMoveButton->SetHeight(RowHeights(0));
    } else if (Movecell >= 0) {
        FMoveButton->SetCaption(Cells(RealColFromDisplay(0), Movecell));
        FMoveButton->SetHeight(RowHeights(Movecell));
        FMoveButton->SetWidth(ColWidths(0));
    }
    const TPoint at = ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY));
    FMoveButton->SetLeft(at.X);
    FMoveButton->SetTop(at.Y);

    TArrowWindow* up = FArrows[int(TArrowDirection::arrUp)];
    TArrowWindow* down = FArrows[int(TArrowDirection::arrDown)];
    TArrowWindow* left = FArrows[int(TArrowDirection::arrLeft)];
    TArrowWindow* right = FArrows[int(TArrowDirection::arrRight)];
    bool allow = true;
    if (cols) {
        const int t = FMoveColInd;
        const bool show = t >= FixedCols() && t < ColCount() && t >= LeftCol() && t <= LeftCol() + VisibleColCount();
        if (show && up && down) {
            const TRect hc = CellRect(t, 0);
            const int edge = t < Movecell ? hc.Left : hc.Right;
            const TPoint top = ClientToScreen(TPoint(edge - 5, hc.Bottom));
            const TPoint bottom = ClientToScreen(TPoint(edge - 5, hc.Top - 8));
            up->SetLeft(top.X);
            up->SetTop(top.Y);
            down->SetLeft(bottom.X);
            down->SetTop(bottom.Y);
        }
        if (up)
            up->SetVisible(show);
        if (down)
            down->SetVisible(show);
        FMoveColInd = ACol;
        FMoveRowInd = 0;
        if (OnColumnMoving)
            OnColumnMoving(this, ACol, allow);
        if (X < ColWidthsSum(0, FixedCols() - 1) && LeftCol() > FixedCols())
            SetLeftCol(LeftCol() - 1);
        else if (X > Width() && LeftCol() + VisibleColCount() < ColCount())
            SetLeftCol(LeftCol() + 1);
    } else {
        const int t = FMoveRowInd;
        const bool show = t >= FixedRows() && t < RowCount() && t >= TopRow() && t <= TopRow() + VisibleRowCount();
        if (show && left && right) {
            const TRect rc = CellRect(0, t);
            const int edge = t < Movecell ? rc.Top : rc.Bottom;
            const TPoint l = ClientToScreen(TPoint(rc.Left - 10, edge - 5));
            const TPoint r = ClientToScreen(TPoint(rc.Right, edge - 5));
            left->SetLeft(l.X);
            left->SetTop(l.Y);
            right->SetLeft(r.X);
            right->SetTop(r.Y);
        }
        if (left)
            left->SetVisible(show);
        if (right)
            right->SetVisible(show);
        FMoveColInd = 0;
        FMoveRowInd = ARow;
        if (OnRowMoving)
            OnRowMoving(this, ARow, allow);
        if (Y < RowHeightsSum(0, FixedRows() - 1) && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
        else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
    }
    FMoveButton->SetVisible(true);
    FMoveButton->SetEnabled(true);
    FMoveAllowed = allow;
    Screen->SetCursor(allow ? crDrag : crNoDrop);
}

namespace {

// The cells of Dragged outside Kept, as at most four rectangles.
std::vector<TGridRect> RectMinus(const TGridRect& Dragged, const TGridRect& Kept)
{
    const int l = std::max(Dragged.Left, Kept.Left), r = std::min(Dragged.Right, Kept.Right);
    const int t = std::max(Dragged.Top, Kept.Top), b = std::min(Dragged.Bottom, Kept.Bottom);
    if (l > r || t > b)
        return { Dragged };
    std::vector<TGridRect> out;
    if (Dragged.Top < t)
        out.push_back({ Dragged.Left, Dragged.Top, Dragged.Right, t - 1 });
    if (b < Dragged.Bottom)
        out.push_back({ Dragged.Left, b + 1, Dragged.Right, Dragged.Bottom });
    if (Dragged.Left < l)
        out.push_back({ Dragged.Left, t, l - 1, b });
    if (r < Dragged.Right)
        out.push_back({ r + 1, t, Dragged.Right, b });
    return out;
}

} // namespace

void TExStringGrid::StartOleDrag(int ACol, int ARow)
{
    FSelectionClick = false;
    bool allow = true;
    const int rc = RealColFromDisplay(ACol);
    if (FDragDropSettings->OleColumnsOnly && ARow >= FixedRows())
        allow = false;
    if (allow && OnOleDrag)
        OnOleDrag(this, ARow, ACol, Cells(rc, ARow), allow);
    if (!allow) {
        // The movement selects instead.
        if (GridState() == gsNormal)
            SetGridState(gsSelecting);
        return;
    }
    if (OnOleDragStart)
        OnOleDragStart(this, ARow, ACol);
    DoStartBlockFocus();
    const bool columnDrag = ARow < FixedRows() && FDragDropSettings->OleColumnDragDrop;
    int effect = DROPEFFECT_NONE;
    if (columnDrag) {
        TDragData data;
        data.Text = Cells(rc, 0);
        data.Format = QStringLiteral("application/x-grid-column");
        data.Bytes = QByteArray::number(ACol);
        effect = StartDrag(this, data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
        if (effect != DROPEFFECT_NONE && OnOleDragStop)
            OnOleDragStop(this, effect);
        return;
    }
    FDropSelection = Selection();
    FOleDropTarget = TGridRect { -1, -1, -2, -2 };
    TDragData data;
    data.Text = SelectedText();
    effect = StartDrag(this, data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if (IsDestroying() || effect == DROPEFFECT_NONE)
        return;
    if (effect == DROPEFFECT_MOVE && !FDragDropSettings->OleCopyAlways) {
        if (Options().testFlag(goRowSelect) && FDragDropSettings->OleRemoveRows) {
            if (FMouseActions->DisjunctRowSelect())
                RemoveSelectedRows();
            else
                RemoveRows(FDropSelection.Top, FDropSelection.Bottom - FDropSelection.Top + 1);
        } else {
            // A drop on this grid wrote its cells already: only the dragged
            // cells it did not cover are cleared.
            for (const TGridRect& part : RectMinus(FDropSelection, FOleDropTarget))
                ClearRect(part.Left, part.Top, part.Right, part.Bottom);
        }
    }
    if (OnOleDragStop)
        OnOleDragStop(this, effect);
}

void TExStringGrid::HandleMouseLeave()
{
    FMouseSelectMode = TMouseSelectMode::msNormal;
    FSizeFixed = FSizeFixedR = false;
    if (FHoverButton.X >= 0) {
        InvalidateCell(FHoverButton.X, FHoverButton.Y);
        FHoverButton = TPoint(-1, -1);
    }
    if (FHoverCell.X >= 0) {
        InvalidateCell(FHoverCell.X, FHoverCell.Y);
        FHoverCell = TPoint(-1, -1);
        FHoverLinkCol = FHoverLinkRow = -1;
        FHoverlink = -1;
    }
}

void TExStringGrid::BuildCellHint(QString& HintStr, THintInfo& HintInfo)
{
    int ACol = -1, ARow = -1;
    MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return;
    const TPoint base = BaseCell(ACol, ARow);
    ACol = base.X;
    ARow = base.Y;
    FLastHintPos = base;
    if (FControlLook->HintMaxWidth > 0)
        HintInfo.HintMaxWidth = FControlLook->HintMaxWidth;
    const int rc = RealColFromDisplay(ACol);
    const TRect r = CellRect(ACol, ARow);
    QString comment;
    TPoint pos(HintInfo.CursorPos.X, r.Bottom + 6);
    if (IsComment(rc, ARow, comment)) {
        HintStr = comment;
        pos = TPoint(r.Right, r.Top);
    }
    const QString text = Cells(rc, ARow);
    const bool normal = ACol >= FixedCols() && ARow >= FixedRows() && ACol < ColCount() - FixedRightCols()
        && ARow < RowCount() - FixedFooters();
    if (HintShowCells() && normal) {
        pos = TPoint(HintInfo.CursorPos.X, r.Top);
        HintStr = HTMLHint() ? DecodeWideText(text) : GetStrippedCell(rc, ARow);
    }
    if (HintShowLargeText() && !text.isEmpty()) {
        const TSize need = MeasureCellText(rc, ACol, ARow, false, false);
        if (need.cx > r.Width() || need.cy > r.Height()) {
            if (HintShowLargeTextPos() == THintShowLargeTextPos::hpCell)
                pos = TPoint(r.Left, r.Top);
            HintStr = HTMLHint() || !text.contains(QLatin1Char('<')) ? DecodeWideText(text) : GetStrippedCell(rc, ARow);
        }
    }
    if (!(FloatingFooter()->Visible() && ARow == RowCount() - 1)) {
        QString wide;
        GetCellHint(ACol, ARow, wide, HintStr);
    }
    if (UseInternalHintClass() && (HintStr.contains(QLatin1Char('<')) || HintStr != DecodeWideText(HintStr))) {
        SetHintWindowClass<THTMLHintWindow>();
        HintInfo.HintData = this;
    }
    HintInfo.HintPos = ClientToScreen(pos);
    HintInfo.HintColor = HintColor();
}
