// Painting of the grid: lines, the cells of the four areas (fixed corner,
// fixed rows, fixed columns, scrollable cells), the focus frame and the
// markers of a running sizing or move. Only cells that show are visited.
#include "platform/controls/Grids.h"

#include <algorithm>

namespace {

bool Intersects(const TRect& a, const TRect& b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

} // namespace

void TCustomGrid::DrawLines(
    bool DoHorz, bool DoVert, int StartCol, int StartRow, const TRect& area, TColor color, const TGridDrawInfo& info)
{
    if (area.Right <= area.Left || area.Bottom <= area.Top)
        return;
    TCanvas* c = Canvas();
    const bool fixedArea = StartCol < FFixedCols || StartRow < FFixedRows;
    const TColor offColor = fixedArea ? FFixedColor : Color();
    // Each gap after a cell shows its line, or the background when that line
    // is switched off.
    const int vlw = info.Horz.EffectiveLineWidth;
    if (vlw > 0) {
        c->Brush()->SetColor(DoVert ? color : offColor);
        int x = area.Left;
        for (int col = StartCol; col < ColCount() && x < area.Right; ++col) {
            x += info.Horz.Extent(col);
            if (x >= area.Right)
                break;
            c->FillRect(Rect(x, area.Top, std::min(x + vlw, area.Right), area.Bottom));
            x += vlw;
        }
    }
    const int hlw = info.Vert.EffectiveLineWidth;
    if (hlw > 0) {
        c->Brush()->SetColor(DoHorz ? color : offColor);
        int y = area.Top;
        for (int row = StartRow; row < RowCount() && y < area.Bottom; ++row) {
            y += info.Vert.Extent(row);
            if (y >= area.Bottom)
                break;
            c->FillRect(Rect(area.Left, y, area.Right, std::min(y + hlw, area.Bottom)));
            y += hlw;
        }
    }
}

void TCustomGrid::DrawCells(int ACol, int ARow, int StartX, int StartY, int StopX, int StopY, TColor AColor,
    TGridDrawState IncludeDrawState, const TGridDrawInfo& info, const TRect& updateRect)
{
    TCanvas* canvas = Canvas();
    const TGridRect sel = Selection();
    const bool focused = IsActiveControl();
    const bool editorShown
        = FInplaceEdit && FInplaceEdit->EditorVisible() && FInplaceCol == FCurrent.X && FInplaceRow == FCurrent.Y;
    const int hlw = info.Horz.EffectiveLineWidth;
    const int vlw = info.Vert.EffectiveLineWidth;
    TRect where;
    where.Top = StartY;
    for (int row = ARow; where.Top < StopY && row < RowCount(); ++row) {
        where.Bottom = where.Top + info.Vert.Extent(row);
        where.Left = StartX;
        for (int col = ACol; where.Left < StopX && col < ColCount(); ++col) {
            where.Right = where.Left + info.Horz.Extent(col);
            // Cells are drawn as laid out; the canvas mirrors them right to left.
            const TRect shown = Mirrored(where);
            if (where.Right > where.Left && where.Bottom > where.Top && Intersects(shown, updateRect)
                && FPaintRegion.intersects(QRect(shown.Left, shown.Top, shown.Width(), shown.Height()))) {
                TGridDrawState state = IncludeDrawState;
                if (focused && row == FCurrent.Y && col == FCurrent.X)
                    state |= gdFocused;
                if (PointInGridRect(col, row, sel))
                    state |= gdSelected;
                // The cell under a shown editor is the editor's; a refused
                // editor leaves the cell to the grid.
                if (!state.testFlag(gdFocused) || !editorShown) {
                    if (FDefaultDrawing) {
                        if (!canvas->Font()->SameAs(*Font()))
                            canvas->Font()->Assign(Font());
                        if (state.testFlag(gdSelected)
                            && (!state.testFlag(gdFocused)
                                || (FOptions & (TGridOptions(goDrawFocusSelected) | goRowSelect)))) {
                            canvas->Brush()->SetColor(clHighlight);
                            canvas->Font()->SetColor(clHighlightText);
                        } else {
                            canvas->Brush()->SetColor(AColor);
                            canvas->Font()->SetColor(Font()->Color());
                        }
                        canvas->FillRect(where);
                    }
                    DrawCell(col, row, where, state);
                    if (FDefaultDrawing && state.testFlag(gdFixed)) {
                        unsigned flags1 = 0, flags2 = 0;
                        if (FOptions.testFlag(goFixedVertLine)) {
                            flags1 |= BF_RIGHT;
                            flags2 |= BF_LEFT;
                        }
                        if (FOptions.testFlag(goFixedHorzLine)) {
                            flags1 |= BF_BOTTOM;
                            flags2 |= BF_TOP;
                        }
                        if (flags1 | flags2) {
                            TRect r = where;
                            if (!(flags1 & BF_RIGHT))
                                r.Right += hlw;
                            else if (!(flags1 & BF_BOTTOM))
                                r.Bottom += vlw;
                            TRect r2 = r;
                            canvas->DrawEdge(r, BDR_RAISEDINNER, flags1);
                            canvas->DrawEdge(r2, BDR_RAISEDINNER, flags2);
                        }
                    }
                    if (FDefaultDrawing && state.testFlag(gdFocused)
                        && (FOptions & (TGridOptions(goEditing) | goAlwaysShowEditor))
                            != (TGridOptions(goEditing) | goAlwaysShowEditor)
                        && !FOptions.testFlag(goRowSelect))
                        canvas->DrawFocusRect(where);
                }
            }
            where.Left = where.Right + hlw;
        }
        where.Top = where.Bottom + vlw;
    }
}

void TCustomGrid::DrawMoveAndSizing(const TGridDrawInfo& info)
{
    TCanvas* c = Canvas();
    switch (FGridState) {
    case gsColSizing:
        c->InvertRect(Rect(FSizingPos, 0, FSizingPos + 1, info.Vert.GridBoundary));
        break;
    case gsRowSizing:
        c->InvertRect(Rect(0, FSizingPos, info.Horz.GridBoundary, FSizingPos + 1));
        break;
    case gsColMoving: {
        const int left = LinePos(info.Horz, FMovePos);
        if (left >= 0) {
            const int pos = FMovePos > FMoveIndex ? left + info.Horz.Extent(FMovePos) : left;
            c->InvertRect(Rect(pos, 0, pos + 2, info.Vert.GridBoundary));
        }
        break;
    }
    case gsRowMoving: {
        const int top = LinePos(info.Vert, FMovePos);
        if (top >= 0) {
            const int pos = FMovePos > FMoveIndex ? top + info.Vert.Extent(FMovePos) : top;
            c->InvertRect(Rect(0, pos, info.Horz.GridBoundary, pos + 2));
        }
        break;
    }
    default:
        break;
    }
}

void TCustomGrid::Paint()
{
    TCanvas* canvas = Canvas();
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const TGridAxisDrawInfo& h = info.Horz;
    const TGridAxisDrawInfo& v = info.Vert;
    TRect update = canvas->HasClip() ? canvas->ClipRect() : ClientRect();
    if (update.Width() <= 0 || update.Height() <= 0)
        update = Rect(0, 0, Width(), Height());
    // Cells run on under the scroll bars; that part is never seen.
    const TRect cr = ClientRect();
    update = Rect(std::max(update.Left, cr.Left), std::max(update.Top, cr.Top), std::min(update.Right, cr.Right),
        std::min(update.Bottom, cr.Bottom));
    // The parts asked for may lie apart (a strip that scrolled in, the
    // places behind the scroll bars): cells between them are not painted.
    FPaintRegion = (canvas->HasClip() ? canvas->ClipRegion().translated(-canvas->Origin().X, -canvas->Origin().Y)
                                      : TRegion(0, 0, Width(), Height()))
                       .intersected(QRect(cr.Left, cr.Top, cr.Width(), cr.Height()));

    // Right to left the whole grid is drawn mirrored: cells, lines and
    // markers are laid out left to right, the canvas flips them.
    const TCanvas::TOrientation oldOrientation = canvas->DrawingOrientation();
    canvas->SetDrawingOrientation({ UseRightToLeftAlignment(), cr.Width() });
    if (h.EffectiveLineWidth > 0 || v.EffectiveLineWidth > 0) {
        const bool fh = FOptions.testFlag(goFixedHorzLine);
        const bool fv = FOptions.testFlag(goFixedVertLine);
        DrawLines(fh, fv, 0, 0, Rect(0, 0, h.FixedBoundary, v.FixedBoundary), clBlack, info);
        DrawLines(fh, fv, FTopLeft.X, 0, Rect(h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary), clBlack, info);
        DrawLines(fh, fv, 0, FTopLeft.Y, Rect(0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary), clBlack, info);
        DrawLines(FOptions.testFlag(goHorzLine), FOptions.testFlag(goVertLine), FTopLeft.X, FTopLeft.Y,
            Rect(h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary), clSilver, info);
    }

    DrawCells(0, 0, 0, 0, h.FixedBoundary, v.FixedBoundary, FFixedColor, gdFixed, info, update);
    DrawCells(FTopLeft.X, 0, h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary, FFixedColor, gdFixed, info, update);
    DrawCells(0, FTopLeft.Y, 0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary, FFixedColor, gdFixed, info, update);
    DrawCells(FTopLeft.X, FTopLeft.Y, h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary, Color(), {},
        info, update);

    if (FDefaultDrawing && FOptions.testFlag(goRowSelect) && IsActiveControl()) {
        const TGridRect sel = Selection();
        const TRect r = BoxRect(sel.Left, sel.Top, sel.Right, sel.Bottom);
        if (r.Width() > 0 && r.Height() > 0)
            canvas->DrawFocusRect(Mirrored(r));
    }

    // The client beyond the last cells.
    canvas->Brush()->SetColor(Color());
    if (h.GridBoundary < h.GridExtent)
        canvas->FillRect(Rect(h.GridBoundary, 0, h.GridExtent, v.GridBoundary));
    if (v.GridBoundary < v.GridExtent)
        canvas->FillRect(Rect(0, v.GridBoundary, h.GridExtent, v.GridExtent));
    DrawMoveAndSizing(info);
    canvas->SetDrawingOrientation(oldOrientation);
    // The square between both scroll bars.
    if (ScrollBarShowing(SB_VERT) && ScrollBarShowing(SB_HORZ)) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(Rect(cr.Right, cr.Bottom, Width(), Height()));
    }
    FPaintRegion = TRegion();
}
