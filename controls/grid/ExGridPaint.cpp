// The string grid's cell content painter: the layers over the background the
// base painter filled, in a fixed order, with the drawing events between them.

#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ThemePainter.h"

#include <algorithm>
#include <utility>

namespace {

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2)
{
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

// ---------------------------------------------------------------------------
// The pipeline

void TExStringGrid::PaintGridCell(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TCellPaintContext C;
    C.Grid = this;
    C.Canvas = ACanvas;
    C.RCol = ACol;
    C.ACol = DisplColIndex(ACol);
    C.ARow = ARow;
    const TMouseActions* ma = FMouseActions;
    C.SelRow = ma->DisjunctRowSelect() ? RowSelectIndex(ARow) : ARow;
    C.State = AState;
    C.Rect = ARect;
    C.FilterGlyph = ARow == FFilterDropDownRow && ColumnOffersFilter(C.RCol);
    const int dcol = C.ACol;

    // In-cell scroll bar: the text scrolls by the bar's position.
    if (HasScrollBar(C.RCol, ARow)) {
        const TScrollProp sp = GetScrollProp(C.RCol, ARow);
        if (sp.Range > sp.PageSize) {
            C.ScrollOffset = GetScrollPosition(C.RCol, ARow);
            const int w = FScrollWidth > 0 ? FScrollWidth : 17;
            C.Rect.Right -= w;
            const TRect bar(C.Rect.Right, C.Rect.Top, C.Rect.Right + w, C.Rect.Bottom);
            ACanvas->Brush()->SetColor(clBtnFace);
            ACanvas->FillRect(bar);
            const int track = std::max(1, bar.Height());
            const int thumb = std::max(8, track * sp.PageSize / std::max(1, sp.Range));
            const int top = bar.Top + (track - thumb) * C.ScrollOffset / std::max(1, sp.Range - sp.PageSize);
            ACanvas->Brush()->SetColor(clBtnShadow);
            ACanvas->FillRect(TRect(bar.Left + 2, top, bar.Right - 2, std::min(bar.Bottom, top + thumb)));
        }
    }

    C.WordWrap = WordWrap();
    GetVisualProperties(dcol, ARow, C.State, false, false, true, ACanvas->Brush(), C.ColorTo, C.MirrorColor,
        C.MirrorColorTo, ACanvas->Font(), C.HAlign, C.VAlign, C.WordWrap, C.GradientDirection);

    C.Graphic = GetCellGraphicLayout(
        C.RCol, ARow, C.GraphicWidth, C.GraphicHeight, C.TextAllowed, C.GraphicHAlign, C.GraphicVAlign);
    // The node glyph's room follows the node indent, as the text's indent does.
    if (C.RCol == 0 && HasNodes() && IsNode(ARow))
        C.GraphicWidth = GetNodeLevel(ARow) * (FCellNode ? FCellNode->NodeIndent() : 12) + 4;

    if (C.State.testFlag(gdSelected) && !C.State.testFlag(gdFocused) && FSelectionColor == clNone)
        ACanvas->Brush()->SetColor(clHighlight);
    if (FZoomFactor != 0)
        ACanvas->Font()->SetSize(ACanvas->Font()->Size() + FZoomFactor);
    C.BrushColor = ACanvas->Brush()->Color();
    C.FontColor = ACanvas->Font()->Color();
    bool fixedQuery = false;
    IsFixedCell(C.RCol, ARow, fixedQuery);
    C.FixedLook = fixedQuery || dcol < FixedCols() || ARow < FixedRows();
    if (ARow == FHoverRowIdx && HoverRowCells().testFlag(THoverRowCell::hcFixed))
        C.FixedLook = false;

    if (C.FixedLook)
        PaintFixedLook(C);

    // Row indicator in the current row's first column.
    TBitmap* ind = FRowIndicator.get();
    const bool showIndicator = C.RCol == 0 && ARow == Row() && FixedCols() > 0 && ind && !ind->Empty()
        && !(RowCount() == FixedRows() && FFixedRowAlways);
    if (showIndicator) {
        int y = C.Rect.Top;
        if (FVAlignment == TVAlignment::vtaCenter)
            y = C.Rect.Top + (C.Rect.Height() - ind->Height()) / 2;
        else if (FVAlignment == TVAlignment::vtaBottom)
            y = C.Rect.Bottom - ind->Height();
        DrawGlyphTransparent(ACanvas, ind, C.Rect.Left + 2, y);
        C.Rect.Left += ind->Width() + 2;
    }

    // List-view header look.
    if (C.FixedLook && !C.Styled && FLook == TGridLook::glListView && !FFlat) {
        // The theme's class data is fixed for the run: looked up once.
        static HTHEME headerTheme = nullptr;
        if (!headerTheme && FIsWinXP)
            headerTheme = OpenThemeData(QStringLiteral("header"));
        HTHEME theme = FIsWinXP && IsThemeActive() ? headerTheme : nullptr;
        if (theme) {
            // The themed header item: hot under the mouse, pressed while the
            // mouse is held on it, a plain right item otherwise.
            C.Rect.Bottom += 1;
            const bool inside = FHoverFixedCell.X == C.ACol && FHoverFixedCell.Y == ARow;
            if (inside)
                DrawThemeBackground(theme, ACanvas, HP_HEADERITEM, FMouseDownMove ? HIS_PRESSED : HIS_HOT, C.Rect);
            else
                DrawThemeBackground(theme, ACanvas, HP_HEADERITEMRIGHT, HIS_NORMAL, C.Rect);
            ACanvas->Pen()->SetColor(clWhite);
            Line(ACanvas, C.Rect.Left, C.Rect.Top, C.Rect.Right, C.Rect.Top);
        } else {
            ACanvas->Brush()->SetColor(clBtnFace);
            ACanvas->Pen()->SetColor(clWhite);
            ACanvas->Rectangle(C.Rect);
        }
    }

    // Modified-row marker.
    if (dcol == 0 && FShowModified && FShowModified->Enabled && RowModified(ARow)) {
        ACanvas->Pen()->SetColor(FShowModified->Color());
        ACanvas->Brush()->SetColor(FShowModified->Color());
        ACanvas->Rectangle(C.Rect.Right - 4, C.Rect.Top, C.Rect.Right, C.Rect.Bottom);
        ACanvas->Brush()->SetColor(C.BrushColor);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, ACanvas, C.RCol, ARow, C.State, C.Rect, false);

    // Always-visible cell buttons take 16 pixels each from the right.
    const int rightBeforeButtons = C.Rect.Right;
    if (!fixedQuery && FControlLook
        && (FControlLook->DropDownAlwaysVisible() || FControlLook->SpinButtonsAlwaysVisible())) {
        int style = FControlLook->FlatButton() ? 2 : (FIsWinXP ? 0 : 1);
        if (FFlat && FTones.Background.BrushColor != clNone)
            style = 3;
        bool canEdit = true;
        CanEditCell(C.RCol, ARow, canEdit);
        const int state = canEdit ? 0 : 3;
        if (FControlLook->DropDownAlwaysVisible() && HasComboBox(C.RCol, ARow)) {
            DrawComboButton(ACanvas, Handle(), TRect(C.Rect.Left - 2, C.Rect.Top - 1, C.Rect.Right + 1, C.Rect.Bottom),
                FTones, state, style);
            C.Rect.Right -= 16;
        }
        if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(C.RCol, ARow)) {
            DrawSpinButtons(ACanvas, Handle(), C.Rect, FTones, state, style);
            C.Rect.Right -= 16;
        }
        ACanvas->Brush()->SetColor(C.BrushColor);
        ACanvas->Font()->SetColor(C.FontColor);
    }

    // A background graphic goes beneath the text.
    auto* below = C.Graphic && C.Graphic->CellType() == ctInterface
        ? dynamic_cast<IGridCellGraphic*>(C.Graphic->CellBitmap)
        : nullptr;
    const bool graphicBelow = below && below->IsBackground();
    if (graphicBelow) {
        InflateRect(C.Rect, 1, 1);
        PaintCellGraphic(C.Rect, C.Graphic, C.VAlign, C);
        InflateRect(C.Rect, -1, -1);
    }

    const bool drawEvents = OnDrawCell || OnCustomCellDraw;
    if (!(C.Graphic && FNoImageAndText) && !(FNoDefaultDraw && drawEvents))
        PaintCellText(C);
    C.Rect.Right = rightBeforeButtons;
    ACanvas->Brush()->SetColor(C.BrushColor);
    ACanvas->Font()->SetColor(C.FontColor);

    TRect br = C.Rect;
    InflateRect(br, 1, 1);
    PaintCellBorders(C, C.RCol, ARow, br);

    if (showIndicator)
        C.Rect.Left -= ind->Width() + 2;

    if (C.FixedLook && !FFlat)
        PaintFixedEdges(C);

    // Right fixed columns framed in grey on a flat grid.
    if (FixedRightCols() > 0 && ColCount() + FNumHidden - C.RCol <= FixedRightCols() && FLook != TGridLook::glClassic
        && FFlat) {
        ACanvas->Pen()->SetColor(TColor(0x808080));
        ACanvas->Pen()->SetWidth(1);
        const TRect& r = C.Rect;
        if (Options().testFlag(goFixedHorzLine)) {
            Line(ACanvas, r.Left - 1, r.Top - 1, r.Right + 1, r.Top - 1);
            Line(ACanvas, r.Left - 1, r.Bottom + 1, r.Right + 1, r.Bottom + 1);
        }
        if (Options().testFlag(goFixedVertLine)) {
            Line(ACanvas, r.Left - 1, r.Top - 1, r.Left - 1, r.Bottom + 1);
            Line(ACanvas, r.Right + 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
        }
    }

    if (HasNodes() && C.RCol == 0 && ARow >= FixedRows() && FCellNode && FCellNode->ShowTree())
        PaintTreeLines(C);

    if (C.Graphic && !graphicBelow) {
        TRect gr = C.Rect;
        if (C.FixedLook)
            gr.Top += 1;
        PaintCellGraphic(gr, C.Graphic, C.VAlign, C);
        C.Rect = gr;
    }

    if (OnDrawCell) {
        const TRect r(C.Rect.Left + 1, C.Rect.Top + 1, C.Rect.Right - GridLineWidth(), C.Rect.Bottom - GridLineWidth());
        OnDrawCell(this, C.RCol, ARow, r, C.State);
    }
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, ACanvas, C.RCol, ARow, C.State, C.Rect, false);

    // Focus rectangle on the current cell (the base cell of a merged area).
    if (!FHideFocusRect && !Options().testFlag(goRowSelect) && Col() >= FixedCols() && Row() >= FixedRows()) {
        int bc = C.RCol, brow = ARow;
        ResolveBaseCell(C.RCol, ARow, bc, brow);
        // The focus is asked last: it costs more than the cell test.
        if (DisplColIndex(bc) == Col() && brow == Row() && Focused()) {
            TRect fr = C.Rect;
            const int g = GridLineWidth() - 1;
            InflateRect(fr, g, g);
            fr.Right -= 1;
            fr.Bottom -= 1;
            ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            ACanvas->DrawFocusRect(fr);
        }
    }

    // Column numbers while designing.
    if (IsDesigning() && FShowColNrs && ARow == 0) {
        ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
        FPaintFont.Assign(ACanvas->Font());
        ACanvas->Font()->SetName(QString::fromLatin1(TFont::DefaultName));
        ACanvas->Font()->SetSize(8);
        ACanvas->Font()->SetStyle({});
        ACanvas->Font()->SetColor(TColor(0x808080));
        TRect r = C.Rect;
        r.Right -= 2;
        DrawText(ACanvas, QString::number(C.RCol), r, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
        ACanvas->Font()->Assign(&FPaintFont);
        ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

// Fixed-cell gradients: hover, pressed, active-cell marker, sort header, look.
void TExStringGrid::PaintFixedLook(TCellPaintContext& C)
{
    if (C.Styled)
        return;
    switch (FLook) {
    case TGridLook::glVRK:
    case TGridLook::glXP:
    case TGridLook::glVista:
    case TGridLook::glWin7:
    case TGridLook::glOffice2007:
        break;
    default:
        return;
    }
    TCanvas* cv = C.Canvas;
    const int dcol = C.ACol, row = C.ARow;
    const bool inFixedCol = dcol < FixedCols(), inFixedRow = row < FixedRows();
    bool qualifies = false;
    switch (FHoverFixedCells) {
    case THoverFixedCells::hfAll:
        qualifies = inFixedCol || inFixedRow;
        break;
    case THoverFixedCells::hfFixedColumns:
        qualifies = inFixedCol;
        break;
    case THoverFixedCells::hfFixedRows:
        qualifies = inFixedRow;
        break;
    case THoverFixedCells::hfNone:
        break;
    }
    const bool moving = Movecell >= 0;
    const bool hovered = qualifies && !IsDesigning()
        && ((!moving && FHoverFixedCell.X == dcol && FHoverFixedCell.Y == row) || (moving && Movecell == dcol));
    if (hovered) {
        C.Rect.Bottom += 1;
        auto hover = [&](const TRect& r) {
            DrawMirrorGradient(cv, r, FVRKGradHoverFrom, true, false, FVRKGradHoverBorder, true, FVRKGradHoverMirrorTo,
                FVRKGradHoverMirrorFrom, FVRKGradHoverTo);
        };
        auto down = [&](const TRect& r) {
            DrawMirrorGradient(cv, r, FVRKGradDownFrom, true, false, FVRKGradDownBorder, true, FVRKGradDownMirrorTo,
                FVRKGradDownMirrorFrom, FVRKGradDownTo);
        };
        const bool button = FControlLook && FControlLook->FixedDropDownButton && CanShowFixedDropDown(C.RCol);
        if (!FMouseDownMove && !moving) {
            hover(C.Rect);
        } else if (button) {
            TRect strip = C.Rect, rest = C.Rect;
            strip.Left = C.Rect.Right - 16;
            rest.Right = C.Rect.Right - 16;
            if (FDropDownDown) {
                down(strip);
                hover(rest);
            } else {
                down(rest);
                hover(strip);
            }
        } else {
            down(C.Rect);
        }
        if (button) {
            cv->Pen()->SetColor(FMouseDownMove ? FVRKGradDownBorder : FVRKGradHoverBorder);
            Line(cv, C.Rect.Right - 16, C.Rect.Top, C.Rect.Right - 16, C.Rect.Bottom);
            DrawDropArrow(cv, TPoint(C.Rect.Right - 8, C.Rect.Top + 8), clBlack);
            C.Rect.Right -= 16;
        }
        return;
    }
    const bool activeMarker = FActiveCellShow
        && ((row == Row() && FixedCols() > 0 && dcol == FixedCols() - 1)
            || (dcol == Col() && FixedRows() > 0 && row == FixedRows() - 1));
    const TSortSettings* ss = FSortSettings;
    if (activeMarker) {
        DrawMirrorGradient(cv, C.Rect, FActiveCellColor, true, false, clNone, true, clNone, clNone, FActiveCellColorTo);
    } else if (ss && ss->Column != -1 && ss->HeaderColor() != clNone && ss->Column == C.RCol && row == FixedRows() - 1
        && (dcol >= FixedCols() || ss->FixedCols)) {
        DrawMirrorGradient(cv, C.Rect, ss->HeaderColor(), true, false, clNone, true, ss->HeaderMirrorColorTo(),
            ss->HeaderMirrorColor(), ss->HeaderColorTo());
    } else if (!FFlat) {
        const bool vista = FLook == TGridLook::glVista;
        DrawMirrorGradient(cv, C.Rect, cv->Brush()->Color(), true, vista, vista ? clWhite : clNone, true,
            C.MirrorColorTo, C.MirrorColor, C.ColorTo);
    }
}

// Raised edges of the classic look, light and dark lines of the others.
void TExStringGrid::PaintFixedEdges(TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    TRect& r = C.Rect;
    const TGridOptions opts = Options();
    cv->Pen()->SetWidth(1);
    switch (FLook) {
    case TGridLook::glClassic: {
        r.Top -= 1;
        r.Bottom += 1;
        r.Left -= 1;
        TRect e = r;
        cv->DrawEdge(e, BDR_RAISEDINNER, BF_LEFT);
        e = r;
        cv->DrawEdge(e, BDR_RAISEDINNER, BF_TOP);
        e = r;
        cv->DrawEdge(e, BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        cv->Pen()->SetColor(clBlack);
        cv->MoveTo(r.Right - 1, r.Top);
        cv->LineTo(r.Right - 1, r.Bottom - 1);
        cv->LineTo(r.Left - 1, r.Bottom - 1);
        break;
    }
    case TGridLook::glVRK:
    case TGridLook::glXP:
        r.Bottom += 1;
        if (opts.testFlag(goFixedHorzLine)) {
            cv->Pen()->SetColor(HalveColor(ColorToRGB(FixedColor())));
            Line(cv, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
            cv->Pen()->SetColor(clWhite);
            cv->MoveTo(r.Right - 2, r.Top + 1);
            cv->LineTo(r.Left + 1, r.Top + 1);
            cv->LineTo(r.Left + 1, r.Bottom - 1);
        }
        break;
    case TGridLook::glSoft:
        r.Right += 1;
        r.Bottom += 1;
        if (opts.testFlag(goFixedHorzLine)) {
            cv->Pen()->SetColor(HalveColor(ColorToRGB(FixedColor())));
            Line(cv, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
            cv->Pen()->SetColor(clWhite);
            cv->MoveTo(r.Right, r.Top + 1);
            cv->LineTo(r.Left + 1, r.Top + 1);
            cv->LineTo(r.Left + 1, r.Bottom - 1);
        }
        if (opts.testFlag(goFixedVertLine)) {
            cv->Pen()->SetColor(HalveColor(ColorToRGB(FixedColor())));
            Line(cv, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 1);
            cv->Pen()->SetColor(clWhite);
            Line(cv, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
        }
        break;
    default:
        break;
    }
}

void TExStringGrid::PaintTreeLines(TCellPaintContext& C)
{
    TCanvas* cv = C.Canvas;
    const int row = C.ARow;
    cv->Pen()->SetColor(FCellNode->TreeColor());
    cv->Pen()->SetWidth(1);
    const bool props = HasCellProperties(0, row);
    const int lvl = props ? GetCellProperties(0, row)->NodeLevel() : 0;
    const int NI = FCellNode->NodeIndent();
    const int x0 = GetNodeIndent(row);
    const int c = x0 - NI + NI / 2 + 2;
    TRect& r = C.Rect;
    const int mid = r.Top + (r.Bottom - r.Top) / 2;
    r.Left = x0;
    // The branch stops short of the cell's text, which it must not strike.
    int branchEnd = FCellNode->ShowTreeFull() ? r.Right : x0 + 4;
    if (C.TextLeft >= 0)
        branchEnd = std::max(c, std::min(branchEnd, C.TextLeft - 1));
    if (lvl > 0)
        Line(cv, c, mid, branchEnd, mid);
    const int span = GetNodeSpanType(row);
    if (span == 1)
        Line(cv, c, r.Top, c, mid);
    else if (span == 2)
        Line(cv, c, r.Top, c, r.Bottom + 4);
    if (props) {
        const bool last = row >= RowCount() - 1;
        const int nextLvl = !last && HasCellProperties(0, row + 1) ? GetCellProperties(0, row + 1)->NodeLevel() : 0;
        for (int i = 1; i <= lvl; ++i) {
            const int x = c - NI * i;
            cv->MoveTo(x, r.Top);
            cv->LineTo(x, mid);
            if (!last && nextLvl != 0)
                cv->LineTo(x, r.Bottom + 4);
            else if (lvl > i)
                cv->LineTo(x + NI, mid);
        }
    }
    cv->Pen()->SetStyle(TPenStyle::psSolid);
}

void TExStringGrid::PaintCellBorders(TCellPaintContext& C, int RCol, int ARow, TRect R)
{
    TCanvas* cv = C.Canvas;
    FPaintPenCopy.Assign(cv->Pen());
    TCellBorders borders;
    GetCellBorder(RCol, ARow, cv->Pen(), borders);
    if (!borders) {
        cv->Pen()->Assign(&FPaintPenCopy);
        return;
    }
    for (TPen& p : FBorderPens)
        p.Assign(cv->Pen());
    TPen &leftPen = FBorderPens[0], &topPen = FBorderPens[1], &rightPen = FBorderPens[2], &bottomPen = FBorderPens[3];
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, RCol, &leftPen, &topPen, &rightPen, &bottomPen);
    const int half = (cv->Pen()->Width() + 1) / 2;
    int vy = 0;
    if (Options().testFlag(goVertLine)) {
        R.Left += half;
        R.Right -= half;
    }
    if (Options().testFlag(goHorzLine)) {
        R.Top += half;
        R.Bottom -= half;
        vy = half;
    }
    const int glw = GridLineWidth();
    if (borders.testFlag(TCellBorder::cbLeft)) {
        cv->Pen()->Assign(&leftPen);
        Line(cv, std::max(0, R.Left), R.Top - vy, std::max(0, R.Left), R.Bottom);
    }
    if (borders.testFlag(TCellBorder::cbRight)) {
        cv->Pen()->Assign(&rightPen);
        Line(cv, R.Right - 1, R.Top - vy, R.Right - 1, R.Bottom);
    }
    if (borders.testFlag(TCellBorder::cbTop)) {
        cv->Pen()->Assign(&topPen);
        const int y = glw == 0 ? R.Top + 1 : std::max(0, R.Top - glw);
        Line(cv, R.Left, y, R.Right, y);
    }
    if (borders.testFlag(TCellBorder::cbBottom)) {
        cv->Pen()->Assign(&bottomPen);
        Line(cv, R.Left - 1 - glw, R.Bottom - 1, R.Right, R.Bottom - 1);
    }
    cv->Pen()->Assign(&FPaintPenCopy);
}
