// Measuring-independent half of the page engine: painting one row of cells.

#include <QPainter>
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
    // A progress bar shows its value itself, as on the screen: its number
    // printed over it would be there twice.
    return t == ctDataCheckBox || t == ctDataImage || t == ctVirtCheckBox || t == ctRowCheckBox || t == ctRadio
        || (t == ctProgress && FSet->PrintGraphics);
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
    // text overlays, and the text would be cut). Bars, groups and nodes take
    // the room their cell gives them.
    int w = 0, h = 0;
    bool textAllowed = true;
    TCellHAlign ha = haLeft;
    TCellVAlign va = vaTop;
    FGrid->GetCellGraphicLayout(ACol, ARow, w, h, textAllowed, ha, va);
    TPoint p(w, h);
    if (p.X <= 0 || p.Y <= 0)
        p = FGrid->CalcCellGraphicSizeInRect(ACol, ARow, 0, 0, 1.0);
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
    const TRect given = TextRect;
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
    if (kind == ctProgress) {
        // The bar spans the text area, a little in from its top and bottom.
        TextRect = given;
        g = TRect(
            given.Left, given.Top - int(std::lround(2 * FS)), given.Right, given.Bottom + int(std::lround(4 * FS)));
    }
    if (kind == ctNode) {
        // A square in the node colour with a bar, and a second bar across it
        // (a plus sign) while the node is closed.
        const int x = g.Left, y = g.Top;
        const TColor nc = FGrid->CellNode() ? FGrid->CellNode()->Color : TColor(0xC0C0C0);
        FCanvas.FillRect(TRect(x, y, x + 20, y - 20), nc);
        FCanvas.Line(x + 4, y - 10, x + 16, y - 10, clBlack, 2, TPenStyle::psSolid);
        if (cg->CellBoolean())
            FCanvas.Line(x + 10, y - 4, x + 10, y - 16, clBlack, 2, TPenStyle::psSolid);
        return;
    }
    if (g.Right <= g.Left || g.Top <= g.Bottom)
        return;
    const TPoint screen(
        std::max(1, int(std::lround((g.Right - g.Left) / FS))), std::max(1, int(std::lround((g.Top - g.Bottom) / FS))));
    StretchImageToRect(FCanvas, g, GraphicImage(ACol, ARow, cg, screen, CellAlign));
}

QImage TGridPageEngine::GraphicImage(int ACol, int ARow, TCellGraphic* Graphic, TPoint ScreenSize, TAlignment CellAlign)
{
    // The graphic as the screen paints it, drawn at about the device's
    // resolution on a clear ground: stretched onto the page it keeps its
    // look over any cell background, and needs no raster operation, which a
    // PDF page cannot do.
    const int k = std::clamp(FCanvas.DpiX() / 96, 1, 4);
    QImage image(ScreenSize.X * k, ScreenSize.Y * k, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(k);
    image.fill(Qt::transparent);
    TCanvas cv;
    if (!cv.BeginDraw(&image))
        return {};
    TExStringGrid::TCellPaintContext C;
    C.Grid = FGrid;
    C.Canvas = &cv;
    C.ACol = FGrid->DisplColIndex(ACol);
    C.RCol = ACol;
    C.ARow = ARow;
    C.Graphic = Graphic;
    C.GraphicWidth = ScreenSize.X;
    C.GraphicHeight = ScreenSize.Y;
    C.GraphicHAlign = haLeft;
    C.GraphicVAlign = vaTop;
    C.HAlign = CellAlign == taRightJustify || CellAlign == taCenter ? taLeftJustify : CellAlign;
    C.VAlign = FGrid->VAlignment();
    // The painter keeps an offset from the cell's edges; the image is the
    // graphic's box alone.
    const TPoint off = FGrid->XYOffset();
    TRect R(1 - off.X, 1 - off.Y, ScreenSize.X + off.X - 1, ScreenSize.Y + off.Y - 1);
    C.Rect = R;
    FGrid->PaintCellGraphic(R, Graphic, FGrid->VAlignment(), C);
    cv.EndDraw();
    return image;
}

void StretchImageToRect(TMetricCanvas& Canvas, const TRect& Rect, const QImage& Image, TCopyMode RasterOp)
{
    if (Image.isNull())
        return;
    if (RasterOp == cmSrcCopy || !Canvas.Canvas()) {
        Canvas.StretchDraw(Rect, Image);
        return;
    }
    TCanvas* cv = Canvas.Canvas();
    TBitmap source;
    source.SetSize(Image.width(), Image.height());
    source.Canvas()->Painter()->drawImage(0, 0, Image);
    const TCopyMode old = cv->CopyMode();
    cv->SetCopyMode(RasterOp);
    cv->CopyRect(Canvas.ToDevice(Rect), source.Canvas(), TRect(0, 0, Image.width(), Image.height()));
    cv->SetCopyMode(old);
}

void StretchBitmapToRect(TMetricCanvas& Canvas, const TRect& Rect, TBitmap* Bitmap, TCopyMode RasterOp)
{
    if (Bitmap)
        StretchImageToRect(Canvas, Rect, Bitmap->ToImage(), RasterOp);
}

QString TGridPageEngine::ElidedLine(const QString& Text, int Width)
{
    if (FCanvas.TextWidth(Text) <= Width)
        return Text;
    const QString dots = QStringLiteral("...");
    // The longest start of the text that fits with the dots: found by halving.
    qsizetype lo = 0, hi = Text.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (FCanvas.TextWidth(Text.left(mid) + dots) <= Width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return Text.left(lo) + dots;
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
        // Layout by shown column, cell contents by real column.
        const int rc = g->RealColFromDisplay(t);
        if (!g->IsBaseCell(rc, ARow))
            continue;
        const TPoint span = g->CellSpan(rc, ARow);
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
        g->DoGetCellPrintBorder(rc, ARow, &pen, borders);

        // The cell's print look.
        TCellPrintLook look;
        ResolveCellPrintLook(rc, ARow, look);
        const TBrush& brush = look.Brush;
        const TFont& font = look.Font;
        const TColor colorTo = look.ColorTo;
        const bool ww = look.WordWrap;
        const TCellGradientDirection gd = look.Gradient;
        TAlignment ha = look.HAlign;
        TVAlignment va = look.VAlign;
        const int align = g->ResolveCellAlignment(rc, ARow);
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
        int kind = 0;
        const QString text = PrintedCellText(rc, ARow, kind);
        const bool wraps = !text.isEmpty() && kind == 0 && WrapsCell(rc, ARow, ww);
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
        PrintCellGraphic(rc, ARow, area, ha, !text.isEmpty());
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
        if (kind == 2) {
            if (FCanvas.Canvas())
                g->DrawRichTextCell(
                    rc, ARow, FCanvas.ToDevice(TRect(area.Left, Y, area.Right, bottom)), FCanvas.Canvas());
        } else if (kind == 1 && FCanvas.Canvas()) {
            // Mark-up: in from the right by the margin and two screen pixels.
            FCanvas.Markup(
                TRect(area.Left, Y, area.Right - FM - int(std::lround(2 * FS)), Y - Hc - int(std::lround(FU * FS))),
                text, g->URLColor());
        } else if (g->IsRotated(rc, ARow, angle) && angle % 360 != 0 && !text.isEmpty()) {
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
            if (!text.isEmpty() && g->EnhTextSize() && FSet->NoAutoSize) {
                // Shortened to the cell with an ellipsis, at the cell offset.
                const QString shown = ElidedLine(text, area.Right - area.Left - 2 * FM);
                const TPoint off = g->XYOffset();
                FCanvas.TextRect(
                    clip, xFor(shown) + int(std::lround(off.X * FS)), y - int(std::lround(off.Y * FS)), shown);
            } else if (!text.isEmpty())
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
            g->OnCustomCellDraw(
                g, FCanvas.Canvas(), rc, ARow, TGridDrawState(), FCanvas.ToDevice(TRect(left, Y, right, bottom)), true);

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
