// Measuring-independent half of the page engine: painting one row of cells.

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "controls/base/ExUtil.h"
#include "controls/gridio/ExGridPrint.h"
#include "platform/graphics/Bitmaps.h"

namespace {
QStringList PrintLines(const QString& Text, bool Multiline)
{
    if (!Multiline)
        return { Text };
    QString t = Text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

TExStringGrid::TCellBorders PrintBorderSet(TPrintBorders b)
{
    using B = TCellBorder;
    switch (b) {
    case TPrintBorders::pbSingle:
    case TPrintBorders::pbDouble:
        return TExStringGrid::TCellBorders(B::cbTop) | B::cbLeft | B::cbRight | B::cbBottom;
    case TPrintBorders::pbHorizontal:
    case TPrintBorders::pbAroundHorizontal:
        return TExStringGrid::TCellBorders(B::cbTop) | B::cbBottom;
    case TPrintBorders::pbVertical:
    case TPrintBorders::pbAroundVertical:
        return TExStringGrid::TCellBorders(B::cbLeft) | B::cbRight;
    default:
        return {};
    }
}
bool PrintedGraphicKind(TCellType t)
{
    switch (t) {
    case ctBitmap:
    case ctIcon:
    case ctImageList:
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctDataImage:
    case ctNode:
    case ctRadio:
    case ctImages:
    case ctPicture:
    case ctFilePicture:
    case ctProgress:
    case ctProgressPie:
    case ctInterface:
        return true;
    default:
        return false;
    }
}

bool CheckKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}
} // namespace

bool TGridPageEngine::PrintsNoText(int ACol, int ARow)
{
    const TCellGraphic* cg = FGrid->GetCellGraphic(ACol, ARow);
    if (!cg)
        return false;
    const TCellType t = cg->CellType();
    return t == ctDataCheckBox || t == ctDataImage || t == ctVirtCheckBox || t == ctRowCheckBox || t == ctRadio;
}

TPoint TGridPageEngine::PrintedGraphicSize(int ACol, int ARow)
{
    if (!FSet->PrintGraphics)
        return {};
    const TCellGraphic* cg = FGrid->GetCellGraphic(ACol, ARow);
    if (!cg || !PrintedGraphicKind(cg->CellType()))
        return {};
    // The painted size: the text is placed beside the graphic, so the
    // measure counts all of it (the screen measure leaves out a picture the
    // text overlays, and the text would be cut).
    const TPoint p = FGrid->CalcCellGraphicSizeInRect(ACol, ARow, 0, 0, 1.0);
    return { int(std::lround(p.X * FS)), int(std::lround(p.Y * FS)) };
}

void TGridPageEngine::PrintCellGraphic(int ACol, int ARow, TRect& TextRect, TAlignment CellAlign, bool HasText)
{
    TCellGraphic* cg = FGrid->GetCellGraphic(ACol, ARow);
    if (!cg)
        return;
    const TPoint size = PrintedGraphicSize(ACol, ARow);
    if (size.X <= 0 || size.Y <= 0)
        return;
    const TCellType kind = cg->CellType();
    const int one = int(std::lround(FS));
    TCellHAlign ha = cg->CellHAlign();
    // A check box or radio button without text follows the cell's alignment.
    if ((CheckKind(kind) || kind == ctRadio) && !HasText)
        ha = CellAlign == taRightJustify ? haRight : CellAlign == taCenter ? haCenter : haLeft;
    TRect g;
    switch (ha) {
    case haRight:
    case haAfterText:
        g.Right = TextRect.Right - one;
        g.Left = g.Right - size.X;
        TextRect.Right = g.Left;
        break;
    case haCenter:
        g.Left = (TextRect.Left + TextRect.Right - size.X) / 2;
        g.Right = g.Left + size.X;
        break;
    case haFull:
        g.Left = TextRect.Left;
        g.Right = TextRect.Right;
        break;
    default:
        g.Left = TextRect.Left + one;
        g.Right = g.Left + size.X;
        TextRect.Left = g.Right;
        break;
    }
    switch (cg->CellVAlign()) {
    case vaBottom:
    case vaUnderText:
        g.Bottom = TextRect.Bottom;
        g.Top = g.Bottom + size.Y;
        break;
    case vaCenter:
        g.Top = (TextRect.Top + TextRect.Bottom + size.Y) / 2;
        g.Bottom = g.Top - size.Y;
        break;
    case vaFull:
        g.Top = TextRect.Top;
        g.Bottom = TextRect.Bottom;
        break;
    default:
        g.Top = TextRect.Top;
        g.Bottom = g.Top - size.Y;
        break;
    }
    if (CheckKind(kind)) {
        bool state = false;
        FGrid->GetCheckBoxState(ACol, ARow, state);
        const TColor c = clBlack;
        const int w = std::max(1, one / 2);
        FCanvas.Line(g.Left, g.Top, g.Right, g.Top, c, w, TPenStyle::psSolid);
        FCanvas.Line(g.Right, g.Top, g.Right, g.Bottom, c, w, TPenStyle::psSolid);
        FCanvas.Line(g.Right, g.Bottom, g.Left, g.Bottom, c, w, TPenStyle::psSolid);
        FCanvas.Line(g.Left, g.Bottom, g.Left, g.Top, c, w, TPenStyle::psSolid);
        if (state) {
            const int sx = g.Right - g.Left, sy = g.Top - g.Bottom;
            FCanvas.Line(g.Left + sx / 5, g.Bottom + sy / 2, g.Left + sx * 2 / 5, g.Bottom + sy / 5, c, w * 2,
                TPenStyle::psSolid);
            FCanvas.Line(
                g.Left + sx * 2 / 5, g.Bottom + sy / 5, g.Right - sx / 5, g.Top - sy / 5, c, w * 2, TPenStyle::psSolid);
        }
    } else if (kind == ctBitmap) {
        if (auto* bmp = dynamic_cast<TBitmap*>(cg->CellBitmap))
            FCanvas.StretchDraw(g, bmp->ToImage());
    } else if (kind == ctNode) {
        const int x = g.Left, y = g.Top;
        FCanvas.Line(x + 4, y - 10, x + 16, y - 10, clBlack, 2, TPenStyle::psSolid);
    }
}

int TGridPageEngine::PrintRowCells(int Y, int FirstCol, int LastCol, int ARow)
{
    TExStringGrid* g = FGrid;
    const int Hr = 2 * FU + RowPrintHeight(ARow) + FSet->RowSpacing;
    if (!PageDrawn())
        return Hr;
    const int footerLimit = FB + FEf;
    for (int t = FirstCol; t <= LastCol; ++t) {
        if (!ColIncluded(t))
            continue;
        // A merged area prints as one box from its base cell; the cells it
        // covers print nothing of their own.
        if (!g->IsBaseCell(t, ARow))
            continue;
        const TPoint span = g->CellSpan(t, ARow);
        const int sx = std::max(0, span.X), sy = std::max(0, span.Y);
        int Wc = 0;
        for (int c = t; c <= t + sx && c < int(FMaxWidths.size()); ++c)
            Wc += FMaxWidths[std::size_t(c)] + FG;
        int Hc = Hr;
        for (int r = ARow + 1; r <= ARow + sy && r < g->RowCount(); ++r)
            Hc += 2 * FU + RowPrintHeight(r) + FSet->RowSpacing;
        const int left = FIndents[std::size_t(t)];
        int right = left + Wc;
        int bottom = Y - Hc;

        TExStringGrid::TCellBorders borders = PrintBorderSet(FSet->Borders);
        TPen pen;
        pen.SetWidth(1);
        pen.SetColor(FSet->BorderColor);
        g->DoGetCellPrintBorder(t, ARow, &pen, borders);

        // The cell's print look.
        TCellPrintLook look;
        ResolveCellPrintLook(t, ARow, look);
        const TBrush& brush = look.Brush;
        const TFont& font = look.Font;
        const TColor colorTo = look.ColorTo;
        const bool ww = look.WordWrap;
        const TCellGradientDirection gd = look.Gradient;
        TAlignment ha = look.HAlign;
        TVAlignment va = look.VAlign;
        const int align = g->ResolveCellAlignment(g->RealColFromDisplay(t), ARow);
        ha = TAlignment(align & 0xFF);
        va = TVAlignment(align >> 8);

        // The area reaching into the footer is cut to one row, without its
        // bottom line.
        bool cut = false;
        if (bottom < footerLimit) {
            bottom = std::max(Y - Hr, footerLimit);
            cut = true;
        }
        if (right > FW)
            right = FW;

        // The background, moved in where the cell has no border line.
        const int inset = 2 * pen.Width();
        const TRect bkRect(left + (borders & TCellBorder::cbLeft ? 0 : inset),
            Y - (borders & TCellBorder::cbTop ? 0 : inset), right, bottom);
        const TColor bk = ColorToRGB(brush.Color());
        if (colorTo != clNone && brush.Color() != clNone)
            FCanvas.Gradient(bkRect, colorTo, brush.Color(), gd == TCellGradientDirection::GradientHorizontal, 64);
        else if (brush.Style() != TBrushStyle::bsClear && brush.Color() != clNone && bk != ColorToRGB(clWhite))
            FCanvas.FillRect(bkRect, bk);

        SelectCellFont(font);
        const QString text = PrintsNoText(t, ARow) ? QString() : g->GetFormattedCell(t, ARow);
        const bool wraps = !text.isEmpty() && WrapsCell(t, ARow, ww);
        const QStringList lines = wraps
            ? WrapLines(
                text, std::min(right, FW) - (left + int(std::lround(2 * FS))) - (ha == taLeftJustify ? FM : 2 * FM))
            : PrintLines(text, g->Multilinecells());
        const int th = GhHeight();
        const int lineH = th + th / 8;
        const int textTop = Y - FU;
        const int textBottom = Y - Hr - FSet->RowSpacing - (sy > 0 && !cut ? Hc - Hr : 0);
        const TRect clip(left, Y, right, bottom);
        TRect area(left, Y, right, Y - Hc);
        PrintCellGraphic(t, ARow, area, ha, !text.isEmpty());
        SelectCellFont(font);
        auto xFor = [&](const QString& l) {
            const int w = FCanvas.TextWidth(l);
            if (ha == taRightJustify)
                return area.Right - FM - w;
            if (ha == taCenter)
                return (area.Left + area.Right - w) / 2;
            return area.Left + FM;
        };
        int angle = 0;
        if (!text.isEmpty() && CellTextType(text, g->EnableHTML()) == 1 && FCanvas.Canvas()) {
            // Mark-up: in from the right by the margin and two screen pixels.
            FCanvas.Markup(
                TRect(area.Left, Y, area.Right - FM - int(std::lround(2 * FS)), Y - Hc - int(std::lround(FU * FS))),
                text, g->URLColor());
        } else if (g->IsRotated(t, ARow, angle) && angle % 360 != 0 && !text.isEmpty()) {
            // The rotated line starts at the cell's lower left and runs up.
            FCanvas.SelectFont(font, g->MapFontHeight(font.Size()), angle * 10);
            FCanvas.TextOut(area.Left + FM, textBottom + FU, text);
            SelectCellFont(font);
        } else if (lines.size() <= 1) {
            int y = textTop;
            if (va == TVAlignment::vtaCenter)
                y = textTop - ((textTop - textBottom) - th) / 2;
            else if (va == TVAlignment::vtaBottom)
                y = textBottom + th;
            if (!text.isEmpty())
                FCanvas.TextRect(clip, xFor(text), y, text);
        } else {
            const int n = int(lines.size());
            int off = 0;
            if (sy == 0 && va == TVAlignment::vtaCenter)
                off = (Hr - lineH * n) / 2;
            else if (sy == 0 && va == TVAlignment::vtaBottom)
                off = Hr - lineH * n;
            int y = Y - off;
            for (const QString& l : lines) {
                FCanvas.TextRect(clip, xFor(l), y, l);
                y -= lineH;
            }
        }

        if (g->OnCustomCellDraw && FCanvas.Canvas())
            g->OnCustomCellDraw(g, FCanvas.Canvas(), g->RealColFromDisplay(t), ARow, TGridDrawState(),
                FCanvas.ToDevice(TRect(left, Y, right, bottom)), true);

        // Borders.
        const int pw = FMode == TPrintPass::Print ? int(std::lround(pen.Width() * FS)) : pen.Width();
        const TColor pc = pen.Color();
        const TPenStyle ps = FSet->BorderStyle;
        if (borders & TCellBorder::cbLeft) {
            const int x = t == FC1 ? left : left - pw;
            FCanvas.Line(x, Y, x, bottom, pc, pw, ps);
        }
        if (borders & TCellBorder::cbRight)
            FCanvas.Line(right, Y, right, bottom, pc, pw, ps);
        if (borders & TCellBorder::cbTop)
            FCanvas.Line(left, Y, right, Y, pc, pw, ps);
        if ((borders & TCellBorder::cbBottom) && !cut)
            FCanvas.Line(left, bottom, right, bottom, pc, pw, ps);
    }
    g->Fontscalefactor = FFit;
    return Hr;
}
