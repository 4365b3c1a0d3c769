#include "controls/gridio/ExGridPrint.h"

#include <QStringList>
#include <algorithm>
#include <climits>
#include <cmath>

#include "controls/base/ExUtil.h"
#include "platform/controls/Printers.h"
#include "platform/runtime/SysUtils.h"

double PrintScreenFactor(int ScreenDpi)
{
    return 254.0 / std::max(1, ScreenDpi);
}

namespace {
bool AtTop(TPrintPosition p)
{
    return p == TPrintPosition::ppTopLeft || p == TPrintPosition::ppTopRight || p == TPrintPosition::ppTopCenter;
}
bool AtBottom(TPrintPosition p)
{
    return p == TPrintPosition::ppBottomLeft || p == TPrintPosition::ppBottomRight
        || p == TPrintPosition::ppBottomCenter;
}
QString JoinWithSpace(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + QLatin1Char(' ') + b;
}
QStringList CellLines(const QString& Text, bool Multiline)
{
    if (!Multiline)
        return { Text };
    QString t = Text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}
} // namespace

TGridPageEngine::TGridPageEngine(
    TExStringGrid* Grid, TMetricCanvas& Canvas, TPrintPass Mode, bool SelectedOnly, int PageCount, TPrinter* Printer)
    : FGrid(Grid)
    , FSet(Grid->PrintSettings())
    , FCanvas(Canvas)
    , FMode(Mode)
    , FSelectedOnly(SelectedOnly)
    , FPageCount(PageCount)
    , FPrinter(Printer)
{
    // Columns are indexed up to the grid's width (and a merged area's end).
    const int n = std::max(FGrid->ColCount(), FGrid->FPrintRect.Right + 1) + 2;
    FMaxWidths.assign(std::size_t(n), 0);
    FIndents.assign(std::size_t(n) + 1, 0);
}

void TGridPageEngine::Prepare(TExStringGrid* Grid, const TGridRect& Gridrect, const TRect& Page, int From, int To)
{
    Grid->FPrintRect = Gridrect;
    Grid->PrevRect = Page;
    Grid->FPrintPageFrom = From;
    Grid->FPrintPageTo = To;
}

QStringList TGridPageEngine::WrapLines(const QString& Text, int Width)
{
    QStringList out;
    for (const QString& para : CellLines(Text, true)) {
        QString line;
        for (const QString& word : para.split(QLatin1Char(' '))) {
            const QString trial = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && FCanvas.TextWidth(trial) > Width) {
                out << line;
                line = word;
            } else {
                line = trial;
            }
        }
        out << line;
    }
    return out;
}

bool TGridPageEngine::WrapsCell(int ACol, int ARow, bool CellWordWrap)
{
    bool ww = FGrid->WordWrap() || CellWordWrap;
    FGrid->DoGetWordWrap(ACol, ARow, ww);
    int angle = 0;
    return ww && FSet->NoAutoSize && !(FGrid->IsRotated(ACol, ARow, angle) && angle % 360 != 0);
}

int TGridPageEngine::GhHeight()
{
    return FCanvas.TextHeight(QStringLiteral("gh"));
}

void TGridPageEngine::SelectCellFont(const TFont& Font)
{
    FCanvas.SelectFont(Font, FGrid->MapFontHeight(Font.Size()));
}

void TGridPageEngine::SetUpFonts()
{
    FCanvas.SelectFont(*FSet->HeaderFont(), FGrid->MapFontHeight(FSet->HeaderFont()->Size()));
    FHh = GhHeight();
    FCanvas.SelectFont(*FSet->FooterFont(), FGrid->MapFontHeight(FSet->FooterFont()->Size()));
    FHf = GhHeight();
    SelectCellFont(*FSet->Font());
    FHc = GhHeight();
    FU = FHc / 8;
    FM = FCanvas.TextWidth(QStringLiteral("g")) / 2;
}

bool TGridPageEngine::RowIncluded(int ARow)
{
    if (!FSelectedOnly)
        return true;
    if (ARow < FGrid->FixedRows())
        return FSet->FixedCellsAlways;
    if (FGrid->MouseActions()->DisjunctRowSelect())
        return FGrid->RowSelect(ARow);
    const TGridRect s = FGrid->Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
}

bool TGridPageEngine::ColIncluded(int ACol)
{
    if (!FSelectedOnly || FGrid->MouseActions()->DisjunctRowSelect())
        return true;
    if (ACol < FGrid->FixedCols())
        return FSet->FixedCellsAlways;
    if (FGrid->MouseActions()->DisjunctColSelect())
        return FGrid->ColSelect(ACol);
    const TGridRect s = FGrid->Selection();
    return ACol >= s.Left && ACol <= s.Right;
}

void TGridPageEngine::ResolveCellPrintLook(int ACol, int ARow, TCellPrintLook& Look)
{
    TGridDrawState st;
    TColor mirror = clNone, mirrorTo = clNone;
    const bool fixed = ACol < FGrid->FixedCols() || ARow < FGrid->FixedRows();
    Look.Font.Assign(fixed ? FSet->FixedFont() : FSet->Font());
    const int size = Look.Font.Size();
    Look.Brush.SetColor(clWhite);
    if (FSet->UseDisplayFont)
        FGrid->GetVisualProperties(ACol, ARow, st, true, false, true, &Look.Brush, Look.ColorTo, mirror, mirrorTo,
            &Look.Font, Look.HAlign, Look.VAlign, Look.WordWrap, Look.Gradient);
    // The display font's face and style, at the print font's size.
    Look.Font.SetSize(size);
}

QString TGridPageEngine::PrintedCellText(int RCol, int ARow, int& Kind)
{
    Kind = 0;
    if (PrintsNoText(RCol, ARow))
        return {};
    QString text = FGrid->GetFormattedCell(RCol, ARow);
    Kind = text.isEmpty() ? 0 : CellTextType(text, FGrid->EnableHTML());
    if (Kind == 3)
        text = FGrid->GetCellValueText(RCol, ARow);
    if (Kind != 1 && Kind != 2) {
        Kind = 0;
        if (FGrid->URLShow() && !FGrid->URLFull())
            StripURLProtocol(text);
    }
    return text;
}

TPoint TGridPageEngine::MeasureCellPrintSize(int ACol, int ARow)
{
    TPoint size = MeasureCellContent(ACol, ARow);
    if (FGrid->OnCustomCellSize)
        FGrid->OnCustomCellSize(FGrid, FCanvas.Canvas(), FGrid->RealColFromDisplay(ACol), ARow, size, true);
    return size;
}

TPoint TGridPageEngine::MeasureCellContent(int ACol, int ARow)
{
    // Layout by shown column, cell contents by real column.
    const int rc = FGrid->RealColFromDisplay(ACol);
    TCellPrintLook look;
    ResolveCellPrintLook(rc, ARow, look);
    const TFont& font = look.Font;
    const bool ww = look.WordWrap;
    SelectCellFont(font);
    int kind = 0;
    QString text = PrintedCellText(rc, ARow, kind);
    if (kind == 2)
        text = FGrid->RichToPlainText(text);
    if (text.isEmpty())
        text = QStringLiteral("gh");
    if (kind == 1) {
        const int maxW = FSet->NoAutoSize ? int(std::lround((FGrid->ColWidths(ACol) + 12) * FS)) : 65535;
        const TPoint m = FCanvas.MarkupSize(text, maxW);
        if (m.X > 0 || m.Y > 0) {
            const TPoint graphic = PrintedGraphicSize(rc, ARow);
            return { std::max(m.X + graphic.X, graphic.X), std::max(m.Y - int(std::lround(FU * FS)), graphic.Y) };
        }
    }
    if (WrapsCell(rc, ARow, ww)) {
        // Laid out within the column's print width (unbounded for a merged cell).
        const int colW = FGrid->IsXMergedCell(rc, ARow) ? 65535 : int(std::lround(FGrid->ColWidths(ACol) * FS));
        const QStringList wrapped = WrapLines(text, colW);
        const TPoint graphic = PrintedGraphicSize(rc, ARow);
        return { std::max(colW, graphic.X), std::max(GhHeight() * int(wrapped.size()), graphic.Y) };
    }
    const QStringList lines = CellLines(text, FGrid->Multilinecells());
    int widest = 0;
    for (const QString& l : lines)
        widest = std::max(widest, FCanvas.TextWidth(l));
    const TPoint graphic = PrintedGraphicSize(rc, ARow);
    int w = widest + graphic.X;
    int h = GhHeight() * int(lines.size());
    int angle = 0;
    if (FGrid->IsRotated(rc, ARow, angle) && angle % 360 != 0) {
        const double a = angle * M_PI / 180.0;
        const int rw = int(std::lround(std::abs(std::cos(a) * w))) + int(std::lround(std::abs(std::sin(a) * h)));
        const int rh = int(std::lround(std::abs(std::sin(a) * widest))) + int(std::lround(std::abs(std::cos(a) * h)));
        w = rw;
        h = rh;
    }
    return { std::max(w, graphic.X), std::max(h, graphic.Y) };
}

void TGridPageEngine::ComputeColumnWidths()
{
    const TGridRect& R = FGrid->FPrintRect;
    // Repeated fixed columns need their widths even outside the rectangle.
    const int fixedCols = FSet->RepeatFixedCols ? std::min(FGrid->FixedCols(), R.Left) : 0;
    auto measure = [&](int c) {
        FMaxWidths[std::size_t(c)] = 0;
        if (!ColIncluded(c))
            return;
        if (FSet->NoAutoSize) {
            FMaxWidths[std::size_t(c)] = int(std::lround(FGrid->ColWidths(c) * FS));
            return;
        }
        if (FSet->UseFixedWidth) {
            FMaxWidths[std::size_t(c)] = FSet->FixedWidth;
            return;
        }
        int w = 0;
        auto row = [&](int r) {
            if (FGrid->IsXMergedCell(c, r))
                return;
            w = std::max(w, MeasureCellPrintSize(c, r).X);
        };
        if (FSet->RepeatFixedRows)
            for (int r = 0; r < std::min(FGrid->FixedRows(), R.Top); ++r)
                row(r);
        for (int r = R.Top; r <= R.Bottom; ++r)
            row(r);
        FMaxWidths[std::size_t(c)] = w;
    };
    for (int c = 0; c < fixedCols; ++c)
        measure(c);
    for (int c = R.Left; c <= R.Right; ++c)
        measure(c);
}

void TGridPageEngine::FitToPage()
{
    const TGridRect& R = FGrid->FPrintRect;
    if (FSet->FitToPage == TFitToPage::fpNever)
        return;
    long long T = 0;
    for (int c = R.Left; c <= R.Right; ++c)
        if (ColIncluded(c))
            T += FMaxWidths[std::size_t(c)] + FG;
    const long long V = (long long)(R.Right - R.Left + 1) * FG;
    if (T == V)
        return;
    const long long room = (long long)FW - FSet->RightSize - FSet->LeftSize - V;
    double F = double(room) / double(T - V);
    // Margins that leave no room print the columns at their measured size.
    if (room <= 0 || F <= 0)
        F = 1.0;
    if ((F > 1 && FSet->FitToPage == TFitToPage::fpShrink) || (F < 1 && FSet->FitToPage == TFitToPage::fpGrow))
        F = 1.0;
    if (FSet->FitToPage == TFitToPage::fpCustom && F != 1.0 && FGrid->OnFitToPage) {
        bool allow = true;
        FGrid->OnFitToPage(FGrid, F, allow);
        if (!allow || F <= 0)
            F = 1.0;
    }
    FFit = F;
    if (F != 1.0)
        for (int c = R.Left; c <= R.Right; ++c)
            FMaxWidths[std::size_t(c)] = int(FMaxWidths[std::size_t(c)] * F);
}

bool TGridPageEngine::MarkupTitle() const
{
    return FSet->Title != TPrintPosition::ppNone && FSet->TitleText.isEmpty() && FSet->TitleLines()->Count() > 0
        && CellTextType(FSet->TitleLines()->Text(), true) == 1;
}

int TGridPageEngine::TopTitleHeight() const
{
    return MarkupTitle() && AtTop(FSet->Title) ? std::max(0, FTitleH) : 0;
}

void TGridPageEngine::ComputeTitleHeights()
{
    // A mark-up title at the top takes its own height below the header line,
    // on every page it is drawn on; it is measured once, in the header font.
    if (FTitleH < 0) {
        FTitleH = 0;
        if (MarkupTitle() && AtTop(FSet->Title)) {
            FCanvas.SelectFont(*FSet->HeaderFont(), FGrid->MapFontHeight(FSet->HeaderFont()->Size()));
            FTitleH = std::max(0, FCanvas.MarkupSize(FSet->TitleLines()->Text(), FW - FSet->LeftSize).Y);
        }
    }
    const int lines = FSet->TitleText.isEmpty() && !MarkupTitle() ? int(FSet->TitleLines()->Count()) : 0;
    const bool top = AtTop(FSet->Time) || AtTop(FSet->Date) || AtTop(FSet->PageNr) || AtTop(FSet->Title);
    const bool bottom = AtBottom(FSet->Time) || AtBottom(FSet->Date) || AtBottom(FSet->PageNr) || AtBottom(FSet->Title);
    FEh = top ? FU + FHh + FSet->HeaderSize : FSet->HeaderSize;
    if (top && lines > 1 && AtTop(FSet->Title))
        FEh += (lines - 1) * FHh;
    FEf = bottom ? 2 * FU + 2 * FHf + FSet->FooterSize : FU + FHf + FSet->FooterSize;
    if (bottom && lines > 1 && AtBottom(FSet->Title))
        FEf += (lines - 1) * FHf;
}

int TGridPageEngine::RowPrintHeight(int ARow)
{
    if (ARow == FCachedRow)
        return FCachedHeight;
    int h = 0;
    if (FSet->NoAutoSizeRow) {
        h = int(std::lround(FGrid->RowHeights(ARow) * FS)) - 4;
    } else if (FSet->UseFixedHeight) {
        h = FSet->FixedHeight;
    } else {
        const TGridRect& R = FGrid->FPrintRect;
        for (int c = R.Left; c <= R.Right; ++c) {
            if (FGrid->IsYMergedCell(c, ARow))
                continue;
            FLastMeasuredHeight = MeasureCellPrintSize(c, ARow).Y;
            h = std::max(h, FLastMeasuredHeight);
        }
        if (h == 0)
            h = FLastMeasuredHeight;
        h += h / 8;
    }
    if (FGrid->OnPrintSetRowHeight)
        FGrid->OnPrintSetRowHeight(FGrid, ARow, h);
    FCachedRow = ARow;
    FCachedHeight = h;
    return h;
}

bool TGridPageEngine::PageDrawn() const
{
    return Drawing() && FP + 1 >= FGrid->FPrintPageFrom && FP + 1 <= FGrid->FPrintPageTo;
}

QString TGridPageEngine::PageNumberText()
{
    QString t;
    if (FMultiStrip)
        t = QString::number(FPagesInStrip + 1) + QLatin1Char('-') + QString::number(FStrip);
    else if (!FSet->PageNumSep.isEmpty() && FPageCount > 1 && !FGrid->FastPrint)
        t = QString::number(FP + 1 + FSet->PageNumberOffset) + FSet->PageNumSep
            + QString::number((long long)FPageCount + FSet->MaxPagesOffset);
    else
        t = QString::number(FP + 1 + FSet->PageNumberOffset);
    FGrid->DoPrintGetPageNum(FP + 1, FStrip, t);
    return t;
}

std::vector<QString> TGridPageEngine::SlotTexts()
{
    std::vector<QString> slotText(6);
    auto add = [&](TPrintPosition pos, const QString& item) {
        if (pos == TPrintPosition::ppNone)
            return;
        QString& s = slotText[std::size_t(int(pos) - 1)];
        if (pos == TPrintPosition::ppTopLeft || pos == TPrintPosition::ppBottomLeft)
            s = item + QLatin1Char(' ') + s;
        else
            s = s + QLatin1Char(' ') + item;
    };
    const TDateTime now = Now();
    add(FSet->Time, FormatDateTime(QStringLiteral("hh:nn"), now));
    add(FSet->Date, FormatDateTime(FSet->DateFormat, now));
    if (FSet->PageNr != TPrintPosition::ppNone)
        add(FSet->PageNr, FSet->PagePrefix + QLatin1Char(' ') + PageNumberText() + QLatin1Char(' ') + FSet->PageSuffix);
    if (FSet->Title != TPrintPosition::ppNone && !MarkupTitle()) {
        QString title = FSet->TitleText;
        if (title.isEmpty() && FSet->TitleLines()->Count() > 0)
            title = FSet->TitleLines()->Strings(0);
        QString& s = slotText[std::size_t(int(FSet->Title) - 1)];
        s = JoinWithSpace(s, title);
    }
    return slotText;
}

int TGridPageEngine::DrawPageTitles()
{
    // The counting passes leave the same room as the drawing ones.
    const int titleH = TopTitleHeight();
    if (!PageDrawn())
        return titleH;
    const std::vector<QString> slotText = SlotTexts();
    if (MarkupTitle()) {
        const TFont* f = AtTop(FSet->Title) ? FSet->HeaderFont() : FSet->FooterFont();
        FCanvas.SelectFont(*f, FGrid->MapFontHeight(f->Size()));
        const QString text = FSet->TitleLines()->Text();
        if (AtTop(FSet->Title))
            FCanvas.Markup(
                TRect(FSet->LeftSize, -FSet->HeaderSize, FW, -FSet->HeaderSize - titleH), text, FGrid->URLColor());
        else
            FCanvas.Markup(TRect(FSet->LeftSize, FB + FSet->FooterSize, FW, FB), text, FGrid->URLColor());
    }
    const QStringList more = FSet->TitleText.isEmpty() && !MarkupTitle() && FSet->TitleLines()->Count() > 1
        ? FSet->TitleLines()->Text().split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)
        : QStringList();
    auto xFor = [&](int pos, const QString& text) {
        const int tw = FCanvas.TextWidth(text);
        switch (pos % 3) {
        case 0:
            return FSet->LeftSize;
        case 1:
            return FW - tw - FSet->RightSize - 20;
        default:
            return (FW - tw) / 2;
        }
    };
    for (int i = 0; i < 6; ++i) {
        const bool top = i < 3;
        const TPrintPosition pos = TPrintPosition(i + 1);
        const TFont* f = top ? FSet->HeaderFont() : FSet->FooterFont();
        FCanvas.SelectFont(*f, FGrid->MapFontHeight(f->Size()));
        const int lineH = top ? FHh : FHf;
        int y = top ? -FSet->HeaderSize : FB + FHf + FU + FSet->FooterSize;
        if (!slotText[std::size_t(i)].isEmpty())
            FCanvas.TextOut(xFor(i, slotText[std::size_t(i)]), y, slotText[std::size_t(i)]);
        if (FSet->Title == pos)
            for (const QString& l : more) {
                y -= lineH;
                FCanvas.TextOut(xFor(i, l), y, l);
            }
    }
    return titleH;
}

void TGridPageEngine::DrawPageFrame(int y)
{
    if (!PageDrawn())
        return;
    const TPrintBorders b = FSet->Borders;
    const int L = FRepeatCols ? FIndents[0] : FIndents[std::size_t(FC1)];
    const int R = FIndents[std::size_t(FC2) + 1];
    const int top = -FEh - FSet->TitleSpacing - TopTitleHeight();
    const int bottom = y + FU / 2;
    const int pw = b == TPrintBorders::pbDouble ? 10 : 2;
    auto line = [&](int x1, int y1, int x2, int y2) { FCanvas.Line(x1, y1, x2, y2, clBlack, pw, FSet->BorderStyle); };
    if (b == TPrintBorders::pbAround || b == TPrintBorders::pbAroundVertical
        || b == TPrintBorders::pbAroundHorizontal) {
        line(L, top, R, top);
        line(R, top, R, bottom);
        line(R, bottom, L, bottom);
        line(L, bottom, L, top);
    }
    if (b == TPrintBorders::pbDouble || b == TPrintBorders::pbHorizontal || b == TPrintBorders::pbAroundHorizontal)
        line(L, bottom, R, bottom);
    if ((b == TPrintBorders::pbDouble || b == TPrintBorders::pbVertical || b == TPrintBorders::pbAroundVertical)
        && FRepeatCols)
        for (int i = 0; i < FGrid->FixedCols(); ++i)
            line(FIndents[std::size_t(i)], top, FIndents[std::size_t(i)], bottom);
}

void TGridPageEngine::StartNextPage()
{
    const int next = FP + 2;
    if (next < FGrid->FPrintPageFrom || next > FGrid->FPrintPageTo)
        return;
    if (FMode == TPrintPass::Print && FPrinter && FP + 1 >= FGrid->FPrintPageFrom)
        FPrinter->NewPage();
    if (Drawing() && FGrid->OnPrintPage)
        FGrid->OnPrintPage(FGrid, FCanvas.Canvas(), next, FW, FB);
}

void TGridPageEngine::LayoutStrip()
{
    const TGridRect& R = FGrid->FPrintRect;
    const int fixedCols = FGrid->FixedCols();
    FRepeatCols = fixedCols >= 1 && FSet->RepeatFixedCols && !(FStrip == 1 && R.Left <= fixedCols);
    FWf = 0;
    if (FRepeatCols) {
        for (int c = 0; c < fixedCols; ++c)
            FWf += FMaxWidths[std::size_t(c)];
        FWf += FG;
    }
    long long sum = 0;
    int c2 = FC1;
    for (int c = FC1; c <= R.Right; ++c) {
        const long long w = (ColIncluded(c) ? FMaxWidths[std::size_t(c)] : 0) + FG;
        if (c > FC1 && FWf + sum + w > FW - FSet->RightSize)
            break;
        sum += w;
        c2 = c;
    }
    FC2 = c2;
    const int D = int(FWf + sum);
    FGrid->FPrintPageWidth = D;
    if (FC2 < R.Right)
        FMultiStrip = true;

    const int start = FSet->Centered ? 0 : FSet->LeftSize;
    FIndents[std::size_t(FC1)] = start;
    FIndents[0] = start;
    for (int c = FC1; c <= FC2; ++c)
        FIndents[std::size_t(c) + 1]
            = FIndents[std::size_t(c)] + (ColIncluded(c) ? FMaxWidths[std::size_t(c)] + FG : 0);
    if (FRepeatCols)
        for (int i = 1; i < fixedCols; ++i)
            FIndents[std::size_t(i)] = FIndents[std::size_t(i) - 1] + FMaxWidths[std::size_t(i) - 1] + FG;
    if (FSet->Centered && D < FW) {
        const int shift = (FW - D) / 2;
        for (int c = FC1; c <= FC2 + 1; ++c)
            FIndents[std::size_t(c)] += shift;
        if (FRepeatCols)
            for (int i = 0; i < fixedCols; ++i)
                FIndents[std::size_t(i)] += shift;
    }
    for (int c = FC1; c <= FC2 + 1; ++c)
        FIndents[std::size_t(c)] += FWf;
    FGrid->FPrintColStart = FC1;
    FGrid->FPrintColEnd = FC2;
}

int TGridPageEngine::Run()
{
    TExStringGrid* g = FGrid;
    const TGridRect& R = g->FPrintRect;
    FS = PrintScreenFactor(ScreenPixelsPerInch);
    g->Fontscalefactor = 1.0;
    FFit = 1.0;
    SetUpFonts();

    if (FMode == TPrintPass::Print && FPrinter) {
        FW = int(std::lround(FPrinter->PageWidth() * 254.0 / std::max(1, FPrinter->XDPI())));
        FB = -int(std::lround(FPrinter->PageHeight() * 254.0 / std::max(1, FPrinter->YDPI())));
    } else if (FMode == TPrintPass::CountPrint) {
        FW = g->PrevRect.Width();
        FB = -g->PrevRect.Bottom - g->PrevRect.Top;
    } else {
        const TRect d = FCanvas.ToLogical(g->PrevRect);
        FW = d.Right - d.Left;
        FB = d.Bottom - d.Top;
    }
    g->FPrintPageRect = TRect(0, 0, FW, FB);
    FG = FSet->UseFixedWidth ? 0 : FSet->ColumnSpacing + 20;

    ComputeColumnWidths();
    FitToPage();
    g->Fontscalefactor = FFit;
    for (int c = R.Left; c <= R.Right; ++c)
        if (g->OnPrintSetColumnWidth)
            g->OnPrintSetColumnWidth(g, c, FMaxWidths[std::size_t(c)]);
    if (FFit != 1.0)
        SetUpFonts();
    ComputeTitleHeights();

    FP = 0;
    FStrip = 0;
    FC1 = R.Left;
    FCancelled = false;
    const int exportState
        = (R.Left == 0 && R.Top == 0 && R.Right == g->ColCount() - 1 && R.Bottom == g->RowCount() - 1) ? 1 : 3;
    const int footerLimit = FB + FEf;
    while (FC1 <= R.Right && !FCancelled) {
        ++FStrip;
        FPagesInStrip = 0;
        LayoutStrip();
        int r = R.Top;
        while (r <= R.Bottom && !RowIncluded(r))
            ++r;
        if (Drawing() && g->OnPrintPage && PageDrawn())
            g->OnPrintPage(g, FCanvas.Canvas(), FP + 1, FW, FB);
        for (;;) {
            int y = -FEh;
            const int ht = DrawPageTitles();
            y -= FSet->TitleSpacing + ht;
            if (r > 0 && (FP > 0 || R.Top >= g->FixedRows()) && FSet->RepeatFixedRows && g->FixedRows() > 0)
                for (int fr = 0; fr < g->FixedRows(); ++fr) {
                    int h = 0;
                    if (FRepeatCols)
                        h = PrintRowCells(y, 0, g->FixedCols() - 1, fr);
                    h = PrintRowCells(y, FC1, FC2, fr);
                    y -= h;
                }
            bool rowsOnPage = false;
            bool newPage = false;
            while (r <= R.Bottom) {
                g->ExportNotification(exportState, r);
                if (!RowIncluded(r)) {
                    ++r;
                    continue;
                }
                // A row taller than the page prints alone on its page, cut at
                // the footer, so that printing goes on.
                if (!(y - RowPrintHeight(r) > footerLimit) && rowsOnPage)
                    break;
                int h = 0;
                if (FRepeatCols)
                    h = PrintRowCells(y, 0, g->FixedCols() - 1, r);
                h = PrintRowCells(y, FC1, FC2, r);
                y -= h;
                rowsOnPage = true;
                ++r;
                if (g->OnPrintNewPage) {
                    g->OnPrintNewPage(g, r, newPage);
                    if (newPage)
                        break;
                }
                if (r <= R.Bottom && y - RowPrintHeight(r) < footerLimit)
                    break;
            }
            while (r <= R.Bottom && !RowIncluded(r))
                ++r;
            if (Drawing() && PageDrawn()) {
                if (g->OnPrintPageDone)
                    g->OnPrintPageDone(g, FCanvas.Canvas(), r, y, FP + 1, FW, FB);
                if (g->OnPrintCancel) {
                    bool cancel = false;
                    g->OnPrintCancel(g, FP + 1, cancel);
                    FCancelled = cancel;
                }
            }
            DrawPageFrame(y);
            if (r > R.Bottom || FCancelled)
                break;
            StartNextPage();
            ++FP;
            ++FPagesInStrip;
            if (FMode != TPrintPass::CountPrint && FMode != TPrintPass::CountPreview && FP + 1 > g->FPrintPageTo)
                FCancelled = true;
        }
        FC1 = FC2 + 1;
        if (FC1 <= R.Right && !FCancelled) {
            StartNextPage();
            ++FP;
        }
    }
    g->Fontscalefactor = 1.0;
    for (int c = 0; c < std::min<int>(int(FMaxWidths.size()), TExStringGrid::MaxPrintCols); ++c) {
        g->FPrintColWidth[std::size_t(c)] = FMaxWidths[std::size_t(c)];
        g->FPrintColOffset[std::size_t(c)] = FIndents[std::size_t(c)];
    }
    return FP + 1;
}
