// Measuring-independent half of the page engine: painting one row of cells.

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "controls/gridio/ExGridPrint.h"

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
} // namespace

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
        TGridDrawState st;
        TBrush brush;
        TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TFont font;
        const bool fixed = t < g->FixedCols() || ARow < g->FixedRows();
        font.Assign(fixed ? FSet->FixedFont() : FSet->Font());
        const int size = font.Size();
        TAlignment ha = taLeftJustify;
        TVAlignment va = TVAlignment::vtaTop;
        bool ww = false;
        TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
        brush.SetColor(clWhite);
        if (FSet->UseDisplayFont)
            g->GetVisualProperties(
                t, ARow, st, true, false, true, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww, gd);
        font.SetSize(size);

        // The area reaching into the footer is cut to one row, without its
        // bottom line.
        bool cut = false;
        if (bottom < footerLimit) {
            bottom = std::max(Y - Hr, footerLimit);
            cut = true;
        }
        if (right > FW)
            right = FW;

        const TColor bk = ColorToRGB(brush.Color());
        if (brush.Style() != TBrushStyle::bsClear && bk != ColorToRGB(clWhite))
            FCanvas.FillRect(TRect(left, Y, right, bottom), bk);

        SelectCellFont(font);
        const QString text = g->GetFormattedCell(t, ARow);
        const QStringList lines = PrintLines(text, g->Multilinecells());
        const int th = GhHeight();
        const int lineH = th + th / 8;
        const int textTop = Y - FU;
        const int textBottom = Y - Hr - FSet->RowSpacing - (sy > 0 && !cut ? Hc - Hr : 0);
        const TRect clip(left, Y, right, bottom);
        auto xFor = [&](const QString& l) {
            const int w = FCanvas.TextWidth(l);
            if (ha == taRightJustify)
                return right - FM - w;
            if (ha == taCenter)
                return (left + right - w) / 2;
            return left + FM;
        };
        if (lines.size() <= 1) {
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
