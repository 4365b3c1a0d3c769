// The base grid's cell painter and the keys, wheel and scrolling that keep
// the current cell on base cells of merged areas.
#include "controls/base/BaseGrid.h"

#include <algorithm>

#include "controls/base/ExUtilDraw.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"

namespace {

struct TSelectionColors {
    TColor Fill, FillTo, MirrorFrom, MirrorTo, InnerTop, InnerBottom, Border, Corner;
};

const TSelectionColors& SelectionColors(TGridSelectionStyle style, bool focused)
{
    static const TSelectionColors vista { TColor(0xFDF8F1), TColor(0xFCEFD5), clNone, clNone, TColor(0xFDFBF6),
        TColor(0xFDF5E7), TColor(0xFDDE99), TColor(0xFCEDCB) };
    static const TSelectionColors win7 { TColor(0xFCEBDC), TColor(0xFCDBC1), clNone, clNone, TColor(0xFDF4EB),
        TColor(0xFDEADB), TColor(0xCEA27D), TColor(0xE0C5AE) };
    static const TSelectionColors office { TColor(0xD7FFFD), TColor(0x58D4FC), TColor(0x58D4FC), TColor(0xB3F1FC),
        TColor(0xF4FEFF), TColor(0xCAF8FF), TColor(0x8DD7D3), TColor(0xC3D9DF) };
    static const TSelectionColors grey { TColor(0xF8F8F8), TColor(0xE5E5E5), clNone, clNone, TColor(0xFBFAFA),
        TColor(0xF0F0F0), TColor(0xD9D9D9), TColor(0xEFEFEF) };
    if (!focused)
        return grey;
    switch (style) {
    case TGridSelectionStyle::ssWin7:
        return win7;
    case TGridSelectionStyle::ssOffice2007:
        return office;
    default:
        return vista;
    }
}

} // namespace

void TBaseGrid::Paint()
{
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    HandleDrawCell(ACol, ARow, ARect, AState);
}

void TBaseGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintCellFrame(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::PaintCellFrame(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Normal)
{
    if (ARow == RowCount() - 1 && FHideLastRow) {
        ACanvas->Brush()->SetColor(Color());
        ACanvas->Pen()->SetColor(Color());
        ACanvas->Rectangle(ARect);
        return;
    }
    int bc, br;
    if (!ResolveBaseCell(ACol, ARow, bc, br)) {
        // A covered cell paints its whole area once per pass.
        TCellProperties* bp = PropsAt(bc, br);
        if (bp && bp->FPaintID != FPaintID) {
            bp->FPaintID = FPaintID;
            PaintCell(ACanvas, bc, br, ARect, AState);
        }
        return;
    }
    if (IsFixed(ACol, ARow) && Normal) {
        AState |= gdFixed;
        AState &= ~TGridDrawState(gdSelected);
    }
    const bool fixed = AState.testFlag(gdFixed);
    const bool selected = AState.testFlag(gdSelected);
    // ACol is a column of the cell store; the layout, the selection, the
    // current cell and the look's column count shown columns.
    const int shownCol = DisplColIndex(ACol);
    // CellRect is on the screen; the canvas may draw mirrored.
    if (Normal)
        ARect = ACanvas->Oriented(CellRect(shownCol, ARow));

    // A scrolled cell never paints over the fixed cells.
    const int fw = shownCol >= FixedCols() && FixedCols() > 0 ? int(ColWidthsSum(0, FixedCols() - 1)) : 0;
    const int fh = ARow >= FixedRows() && FixedRows() > 0 ? int(RowHeightsSum(0, FixedRows() - 1)) : 0;
    const bool clip = (shownCol >= FixedCols() && FixedCols() > 0 && fw > ARect.Left)
        || (ARow >= FixedRows() && FixedRows() > 0 && ARect.Top < fh);
    const bool hadClip = ACanvas->HasClip();
    TRegion savedClip;
    if (clip) {
        if (hadClip)
            savedClip = ACanvas->ClipRegion();
        const TRect cr = ClientRect();
        ACanvas->IntersectClipRect(Rect(fw, fh, cr.Width(), cr.Height()));
    }

    ACanvas->Pen()->SetWidth(1);
    ACanvas->SetFont(Font());
    // The colours the toolkit gives its cells, for the look to start from.
    ACanvas->Brush()->SetColor(fixed ? FixedColor() : Color());
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(shownCol, ARow, AState, false, true, true, ACanvas->Brush(), colorTo, mirror, mirrorTo,
        ACanvas->Font(), ha, va, ww, gd);
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());

    if (ARow == FHoverRowIdx && FHoverRow
        && !(AState.testFlag(gdSelected) && !FHoverRowCells.testFlag(THoverRowCell::hcSelected))
        && !(AState.testFlag(gdFixed) && !FHoverRowCells.testFlag(THoverRowCell::hcFixed))) {
        ACanvas->Brush()->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirror = clNone;
        mirrorTo = clNone;
        gd = TCellGradientDirection::GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && shownCol >= FixedCols() && (shownCol != Col() || !FShowSel))
        || (!Normal && AState.testFlag(gdSelected))) {
        ACanvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirror = FActiveRowMirrorColor;
        mirrorTo = FActiveRowMirrorColorTo;
    }
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());

    const TGridOptions opts = Options();
    if (AState.testFlag(gdSelected) && FSelectionStyle != TGridSelectionStyle::ssDefault && FShowSel) {
        const TGridRect sel = Selection();
        const int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
        int ends = 0;
        if (shownCol == left && left < right)
            ends = 1;
        else if (shownCol == right && right > left)
            ends = 2;
        else if (left < shownCol && shownCol < right)
            ends = 3;
        TRect box = ARect;
        if (!opts.testFlag(goHorzLine))
            box.Bottom += 1;
        if (!opts.testFlag(goVertLine))
            box.Right += 1;
        // The canvas mirrors right to left exactly: no column to make up.
        if (UseRightToLeftMode())
            box.Bottom += 1;
        const TSelectionColors& sc = SelectionColors(FSelectionStyle, Focused() || opts.testFlag(goDrawFocusSelected));
        DrawSelectionBox(ACanvas, sc.Fill, sc.FillTo, ends, box, Color(), sc.Corner, sc.Border, sc.InnerBottom,
            sc.InnerTop, sc.MirrorTo, sc.MirrorFrom);
    } else if (!(UsesToolkitStyles() && (fixed || selected))) {
        const TColor from = ACanvas->Brush()->Color();
        if (mirrorTo == clNone)
            DrawGradient(ACanvas, from, colorTo, gd == TCellGradientDirection::GradientHorizontal, ARect, 64);
        else
            DrawMirrorGradient(ACanvas, ARect, from, true, false, clNone, true, mirrorTo, mirror, colorTo);
    }

    int h;
    if (fixed) {
        ACanvas->Pen()->SetColor(FGridFixedLineColor);
        ACanvas->Pen()->SetWidth(1);
        h = 1;
    } else {
        if (FGridLineWidth > 0)
            ACanvas->Pen()->SetColor(FGridLineColor);
        ACanvas->Pen()->SetWidth(FGridLineWidth);
        h = (FGridLineWidth + 1) / 2;
    }
    if (!(ACol == 0 && HasNodes())
        && ((opts.testFlag(goHorzLine) && !fixed) || (opts.testFlag(goFixedHorzLine) && fixed))) {
        ACanvas->MoveTo(ARect.Left - h + 1, ARect.Bottom - h);
        ACanvas->LineTo(ARect.Right - h + 1, ARect.Bottom - h);
    }
    if ((opts.testFlag(goVertLine) && !fixed) || (opts.testFlag(goFixedVertLine) && fixed)) {
        const int x = ARect.Right - h;
        ACanvas->MoveTo(x, ARect.Bottom - h);
        ACanvas->LineTo(x, ARect.Top - h);
    }

    TRect content = ARect;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        content = Rect(ARect.Left + FGridLineWidth, ARect.Top + FGridLineWidth, ARect.Right - FGridLineWidth,
            ARect.Bottom - FGridLineWidth);
    }
    if (Normal)
        PaintGridCell(ACanvas, ACol, ARow, content, AState);

    if (clip)
        ACanvas->SelectClipRgn(hadClip ? &savedClip : nullptr);
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->Pen()->SetStyle(TPenStyle::psSolid);
}

void TBaseGrid::PaintGridCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState)
{
    const QString text = GetCellEx(ACol, ARow);
    if (text.isEmpty())
        return;
    // Over the painted background.
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect r = ARect;
    DrawText(ACanvas, text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

// ---------------------------------------------------------------------------
// Navigation

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    return HandleSelectCell(ACol, ARow);
}

bool TBaseGrid::HandleSelectCell(int ACol, int ARow)
{
    if (UseRightToLeftMode()) {
        const bool result = TObjStringGrid::SelectCell(ACol, ARow);
        InvalidateAll();
        return result;
    }
    RepaintCell(Col(), Row());
    const bool result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return result;
}

void TBaseGrid::MoveToBaseCell()
{
    const int col = RealColIndex(Col());
    if (!PropsAt(col, Row()))
        return;
    // The area's first shown cell: its base cell unless that column is hidden.
    const TGridRect a = ShownArea(col, Row());
    if (a.Left != Col())
        SetCol(a.Left);
    if (a.Top != Row())
        SetRow(a.Top);
}

void TBaseGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    HandleKeyDown(Key, Shift);
}

void TBaseGrid::HandleKeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_NEXT && FHideLastRow && RowCount() > 1
        && VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1) {
        // The hidden last row is out of reach: the page ends before it.
        SetRow(RowCount() - 2);
        Key = 0;
    }
    if (PropsAt(RealColIndex(Col()), Row())) {
        // The area as it shows: its first and last shown column and row.
        const TGridRect a = ShownArea(RealColIndex(Col()), Row());
        switch (Key) {
        case VK_LEFT:
            // From a covered cell the step starts at the area's left edge.
            if (a.Left < Col() && Col() > FixedCols() && a.Left > 0)
                SetCol(a.Left);
            break;
        case VK_UP:
            if (a.Top < Row() && Row() > FixedRows() && a.Top > 0)
                SetRow(a.Top);
            break;
        case VK_RIGHT:
            if (a.Right >= Col() && Col() < ColCount() - 1 && a.Left < ColCount() - 1 && a.Right < ColCount())
                SetCol(a.Right);
            break;
        case VK_DOWN:
            if (a.Bottom >= Row() && Row() < RowCount() - 1 && a.Top < RowCount() - 1 && a.Bottom < RowCount())
                SetRow(a.Bottom);
            break;
        default:
            break;
        }
    }
    TObjStringGrid::KeyDown(Key, Shift);
    MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    return HandleMouseWheelDown(Shift, MousePos);
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    return HandleMouseWheelUp(Shift, MousePos);
}

bool TBaseGrid::HandleMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FHideLastRow)
        SetTopRow(TopRow() + 1);
    MoveToBaseCell();
    return result;
}

bool TBaseGrid::HandleMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    MoveToBaseCell();
    return result;
}

void TBaseGrid::TopLeftChanged()
{
    HandleTopLeftChanged();
}

void TBaseGrid::HandleTopLeftChanged()
{
    TObjStringGrid::TopLeftChanged();
    // A merged fixed cell may reach into the scrolled part: it repaints whole.
    if (!FHasCellProps)
        return;
    // Shown columns here; the cells are looked up in the store's.
    if (FixedCols() > 0)
        for (int c = 0; c < FixedCols(); ++c)
            for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
                if (IsMergedCell(RealColIndex(c), r))
                    RepaintCell(c, r);
    if (FixedRows() > 0)
        for (int r = 0; r < FixedRows(); ++r)
            for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < ColCount(); ++c)
                if (IsMergedCell(RealColIndex(c), r))
                    RepaintCell(c, r);
}

QString TBaseGrid::GetEditText(int ACol, int ARow)
{
    return HandleGetEditText(ACol, ARow);
}

void TBaseGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    HandleSetEditText(ACol, ARow, Value);
}

QString TBaseGrid::HandleGetEditText(int ACol, int ARow)
{
    return TObjStringGrid::GetEditText(ACol, ARow);
}

void TBaseGrid::HandleSetEditText(int ACol, int ARow, const QString& Value)
{
    TObjStringGrid::SetEditText(ACol, ARow, Value);
}

void TBaseGrid::ChangeScale(int M, int D)
{
    HandleChangeScale(M, D);
}

void TBaseGrid::HandleChangeScale(int M, int D)
{
    TObjStringGrid::ChangeScale(M, D);
}
