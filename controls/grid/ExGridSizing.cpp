// The string grid's automatic sizing: columns and rows to their contents,
// the columns to the control's width, the control to its cells; and the
// exchange of two whole columns or rows.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <utility>

// ---------------------------------------------------------------------------
// Measuring

struct TExStringGrid::TSizingFonts {
    explicit TSizingFonts(TExStringGrid& G)
        : Plain(!G.OnGetCellColor && !G.FActiveCellShow)
        , HTML(G.FEnableHTML)
        , MultiLine(G.FMultilinecells)
        , StripURL(G.FURLShow && !G.FURLFull)
        , Hotmail(G.FMouseActions && G.FMouseActions->HotmailRowSelect())
    {
        Fonts[0].Assign(G.Font());
        Fonts[1].Assign(G.FFixedFont.get());
        if (G.FZoomFactor != 0)
            for (TFont& f : Fonts)
                f.SetSize(f.Size() + G.FZoomFactor);
    }
    // Plain cells may be measured here at all: nothing that MeasureCellText
    // would let change a cell's font is in force.
    bool Plain = false;
    bool HTML = false;
    bool MultiLine = false;
    bool StripURL = false;
    bool Hotmail = false;
    // The grid font and the fixed font with the zoom applied; the canvas font
    // set up last (-1: none, or changed by a full measure since).
    TFont Fonts[2];
    int LineHeight[2] = { 0, 0 };
    int Current = -1;
};

namespace {

// The text MeasureCellText would measure as one plain line: no formula, wide
// or rich text, mark-up, line break or link protocol to take off.
bool IsPlainLine(const QString& Text, bool HTML, bool MultiLine, bool StripURL)
{
    const qsizetype n = Text.size();
    if (n == 0)
        return true;
    const QChar* s = Text.constData();
    if (s[0] == QLatin1Char('=')
        || (n > 1 && s[1] == QLatin1Char('\\') && (s[0] == QLatin1Char('|') || s[0] == QLatin1Char('{'))))
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = s[i].unicode();
        if ((ch == u'<' && HTML) || (ch == u'\r' && MultiLine) || (ch == u':' && StripURL))
            return false;
    }
    return true;
}

} // namespace

TSize TExStringGrid::CellTextExtent(TSizingFonts& F, int RCol, int DCol, int ARow)
{
    if (F.Plain && !(HasCellProps() && HasCellProperties(RCol, ARow)) && !(F.Hotmail && RCol == 0)) {
        const QString text = GetFormattedCell(RCol, ARow);
        if (IsPlainLine(text, F.HTML, F.MultiLine, F.StripURL)) {
            const int kind = (ARow < FixedRows() || DCol < FixedCols() || IsFixed(DCol, ARow)) ? 1 : 0;
            TCanvas* cv = Canvas();
            if (F.Current != kind) {
                cv->Font()->Assign(&F.Fonts[kind]);
                F.Current = kind;
                F.LineHeight[kind] = cv->TextHeight(QStringLiteral("gh"));
            }
            return TSize(cv->TextWidth(text), F.LineHeight[kind]);
        }
    }
    F.Current = -1;
    return MeasureCellText(RCol, DCol, ARow, false, false);
}

int TExStringGrid::CellWidthNeed(TSizingFonts& F, int RCol, int DCol, int ARow)
{
    const bool props = HasCellProps() && HasCellProperties(RCol, ARow);
    if (props && IsXMergedCell(RCol, ARow))
        return 0;
    int graphic = 0;
    if (props || (F.Hotmail && RCol == 0)) {
        const TCellGraphic* g = GetCellGraphic(RCol, ARow);
        if (g) {
            const TPoint gs = GetCellGraphicSize(RCol, ARow);
            F.Current = -1;
            if (g->CellHAlign() == haFull)
                return gs.X - 2 * GridLineWidth() - FXYOffset.X - 2;
            graphic = gs.X;
        }
    }
    int need = graphic + CellTextExtent(F, RCol, DCol, ARow).cx;
    if (FControlLook->DropDownAlwaysVisible() && HasComboBox(RCol, ARow))
        need += 16;
    if (ARow == FFilterDropDownRow && FFilterDropDownAuto && ARow < FixedRows() && GetColumnFilterValues(RCol))
        need += 12;
    if (ARow < FixedRows() && IsSortedHeaderCell(RCol, ARow))
        need += 10;
    return need;
}

// ---------------------------------------------------------------------------
// Columns

void TExStringGrid::SetAutoColWidth(int ACol, int Width)
{
    UpdateAutoColumnSize(ACol, Width);
    SetColWidths(ACol, ClampToLimits(Width, FMinColWidth, FMaxColWidth));
}

void TExStringGrid::SizeColumnToContent(int ACol, bool GrowOnly)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    int first = 0, last = RowCount() - 1;
    switch (FColumnSize->Rows) {
    case TAutoSizeRows::arAll:
        break;
    case TAutoSizeRows::arNormal:
        first = FixedRows();
        last = RowCount() - FFixedFooters - 1;
        break;
    case TAutoSizeRows::arFixed:
        last = FixedRows() - 1;
        break;
    }

    TSizingFonts F(*this);

    const int rcol = RealColFromDisplay(ACol);
    int widest = 0;
    for (int r = first; r <= last; ++r)
        widest = std::max(widest, CellWidthNeed(F, rcol, ACol, r));
    const int width = widest + HorizontalTextMargin() + 2 * GridLineWidth() + 2;
    if (GrowOnly && ColWidths(ACol) >= width)
        return;
    SetAutoColWidth(ACol, width);
}

void TExStringGrid::AutoSizeCol(int ACol, int Padding)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    SizeColumnToContent(ACol, FSizeGrowOnly);
    if (Padding != 0)
        SetColWidths(ACol, ClampToLimits(ColWidths(ACol) + Padding, FMinColWidth, FMaxColWidth));
}

void TExStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const int first = DoFixedCols ? 0 : FixedCols();
    const int last = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (int c = first; c <= last; ++c) {
        AutoSizeCol(c, 0);
        if (Padding != 0)
            SetColWidths(c, ClampToLimits(ColWidths(c) + Padding, FMinColWidth, FMaxColWidth));
    }
}

// ---------------------------------------------------------------------------
// Rows

void TExStringGrid::SizeRowToContent(int ARow, bool GrowOnly, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    const bool allVisible = VisibleRowCount() + FixedRows() >= RowCount();
    int tallest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rcol = RealColFromDisplay(c);
        if (IsYMergedCell(rcol, ARow) || IsIgnoredColumn(rcol))
            continue;
        if (IsMergedNonBaseCell(rcol, ARow))
            continue;
        const TCellType type = GetCellType(rcol, ARow);
        if (type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRadioButton) {
            tallest = std::max(tallest, DefaultRowHeight());
            continue;
        }
        int th = MeasureCellText(rcol, c, ARow, WordWrap(), false).cy;
        int gh = 0;
        if (const TCellGraphic* g = GetCellGraphic(rcol, ARow)) {
            gh = CalcCellGraphicSize(rcol, ARow, Padding).Y;
            if (g->CellVAlign() == vaFull)
                gh = GetCellEx(rcol, ARow).isEmpty() ? DefaultRowHeight() : 0;
        }
        tallest = std::max(tallest, th + gh);
    }
    int height = tallest + VerticalTextMargin() + 2 * GridLineWidth();
    if (FXYOffsetTopLeftOnly)
        height += 2;
    if (GrowOnly && RowHeights(ARow) >= height)
        return;
    SetRowHeights(ARow, ClampToLimits(height, FMinRowHeight, FMaxRowHeight));

    // Typing that grows a row past the view keeps the editor in front, caret
    // at the end.
    if (allVisible && EditorMode() && FSizeWhileTyping->Height && VisibleRowCount() + FixedRows() < RowCount()) {
        ShowEditor();
        if (TInplaceEdit* e = InplaceEditor())
            e->SetSelStart(int(e->Text().length()));
    }
}

void TExStringGrid::AutoSizeRow(int ARow, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    SizeRowToContent(ARow, FSizeGrowOnly, Padding);
    if (Padding != 0)
        SetRowHeights(ARow, ClampToLimits(RowHeights(ARow) + Padding, FMinRowHeight, FMaxRowHeight));
}

int TExStringGrid::MaxRowLineCount(int ARow)
{
    if (ColCount() == 0 || !FMultilinecells)
        return 1;
    int lines = 1;
    for (int c = 0; c < ColCount(); ++c)
        lines = std::max(lines, CountLines(GetCellEx(RealColFromDisplay(c), ARow), true));
    return lines;
}

void TExStringGrid::SetRowHeightForLines(int ARow, int Lines, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    TCanvas* cv = Canvas();
    cv->Font()->Assign(Font());
    TGridDrawState state;
    GetCellColor(RealColFromDisplay(FixedCols()), ARow, state, cv->Brush(), cv->Font());
    const int h = cv->TextHeight(QStringLiteral("gh"));
    SetRowHeights(ARow, ClampToLimits(Padding + Lines * (h + h / 8), FMinRowHeight, FMaxRowHeight));
}

void TExStringGrid::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (RowCount() == 0)
        return;
    const int first = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, first);
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (WordWrap()) {
            AutoSizeRow(r, 0);
            if (Padding != 0)
                SetRowHeights(r, ClampToLimits(RowHeights(r) + Padding, FMinRowHeight, FMaxRowHeight));
        } else {
            SetRowHeightForLines(r, MaxRowLineCount(r), Padding);
        }
    }
    ExportNotification(esExportDone, 0);
    UpdateScrollBars(false);
}

// ---------------------------------------------------------------------------
// All cells

void TExStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    BeginUpdate();
    const int firstCol = DoFixedCells ? 0 : FixedCols();
    const int firstRow = DoFixedCells ? 0 : FixedRows();
    TSizingFonts F(*this);

    for (int c = firstCol; c < ColCount(); ++c) {
        const int rcol = RealColFromDisplay(c);
        int w = FSizeGrowOnly ? ColWidths(c) : 0;
        for (int r = firstRow; r < RowCount(); ++r) {
            const TSize text = CellTextExtent(F, rcol, c, r);
            TPoint graphic(0, 0);
            if ((HasCellProps() && HasCellProperties(rcol, r)) || (F.Hotmail && rcol == 0)) {
                graphic = GetCellGraphicSize(rcol, r);
                F.Current = -1;
            }
            const int needX = text.cx + graphic.X + PaddingX + FXYOffset.X;
            const int needY = text.cy + graphic.Y + PaddingY + FXYOffset.Y;
            if (!IsXMergedCell(rcol, r) && needX > w) {
                const int x = ClampToLimits(needX, FMinColWidth, FMaxColWidth);
                if (x > w) {
                    SetColWidths(c, x);
                    w = x;
                }
            }
            if (!IsYMergedCell(rcol, r) && needY > RowHeights(r)) {
                const int y = ClampToLimits(needY, FMinRowHeight, FMaxRowHeight);
                if (y > RowHeights(r))
                    SetRowHeights(r, y);
            }
        }
    }
    EndUpdate();
}

// ---------------------------------------------------------------------------
// The control's width

void TExStringGrid::AutoFitColumns(bool DoFixedCells)
{
    const int count = ColCount();
    const bool vertBar = FScrollBarAlways == TScrollBarAlways::saVert || FScrollBarAlways == TScrollBarAlways::saBoth
        || ((ScrollBars() == ssVertical || ScrollBars() == ssBoth) && VisibleRowCount() + FixedRows() < RowCount());
    const int vs = vertBar ? PlatformInfo().VScrollBarWidth : 0;
    // The frame drawn outside the client area: 4 for a 3-D single border, 2
    // for a flat one where the toolkit draws them; this platform's grid has none.
    const int frame = Width() - ClientWidth() - (ScrollBarShowing(SB_VERT) ? ScrollBarSize : 0);
    const int border = FBorderStyle == bsSingle ? std::max(0, frame) : 0;
    if (count < 2) {
        if (count == 1)
            SetColWidths(0, Width() - vs - 5);
        return;
    }

    int first = 0, last = count - 1, room = Width();
    if (!DoFixedCells) {
        first = FixedCols();
        last = count - FFixedRightCols - 1;
        for (int c = 0; c < count; ++c)
            if (c < first || c > last)
                room -= ColWidths(c);
    }
    if (first > last)
        return;
    int lines = 0;
    if (Options().testFlag(goVertLine))
        lines = GridLineWidth() * (count - FixedCols() - FFixedRightCols);
    if (Options().testFlag(goFixedVertLine) && DoFixedCells)
        lines += FixedCols() + FFixedRightCols;

    const int n = last - first + 1;
    const int space = room - vs - border;
    qint64 sum = 0;
    for (int c = first; c <= last; ++c)
        sum += ColWidths(c);
    if (sum == space)
        return;

    std::vector<int> widths(static_cast<std::size_t>(n), 0);
    if (sum <= 0) {
        // No widths to scale: the columns share the room evenly.
        for (int& w : widths)
            w = std::max(0, space - lines) / n;
    } else {
        const double f = double(space - lines) / double(sum);
        qint64 total = 0;
        for (int c = first; c <= last; ++c)
            total += Round(ColWidths(c) * f);
        for (int c = first; c <= last; ++c)
            widths[std::size_t(c - first)] = int(Round(double(ColWidths(c)) * double(total) / double(sum)));
    }

    // What rounding and the lines left over goes to the columns: the grid
    // paints its lines inside the cells.
    int rest = space;
    for (int w : widths)
        rest -= w;
    if (n > 1 && n < rest) {
        for (int& w : widths)
            w += rest / n;
        rest %= n;
    }
    const auto widest = std::max_element(widths.begin(), widths.end());
    *widest = std::max(0, *widest + rest);
    for (int c = first; c <= last; ++c)
        SetColWidths(c, widths[std::size_t(c - first)]);
}

// The grid paints its lines inside the cells: the cells' extents add up.
void TExStringGrid::SizeToCols()
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths(c);
    SetClientWidth(w);
}

void TExStringGrid::SizeToRows()
{
    int h = 0;
    for (int r = 0; r < RowCount(); ++r)
        h += RowHeights(r);
    SetClientHeight(h);
}

void TExStringGrid::SizeToCells()
{
    const TScrollStyle bars = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(bars);
}

// ---------------------------------------------------------------------------
// Swapping

namespace {

void FollowOwner(TObject* Object, int ACol, int ARow)
{
    if (auto* p = dynamic_cast<TCellProperties*>(Object)) {
        if (ACol >= 0)
            p->SetOwnerCol(ACol);
        if (ARow >= 0)
            p->SetOwnerRow(ARow);
    }
}

} // namespace

void TExStringGrid::SwapColumns(int ACol1, int ACol2)
{
    const int total = TotalColCount();
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= total || ACol2 >= total)
        return;
    // An area reaching beyond either column would point its cells at a base
    // cell that moved.
    for (const int c : { ACol1, ACol2 }) {
        SplitAreasAcross(c, false);
        SplitAreasAcross(c, true);
    }

    TGridCellStore& store = CellStore();
    for (int r = 0; r < RowCount(); ++r) {
        const QString t1 = store.Text(ACol1, r), t2 = store.Text(ACol2, r);
        if (!t1.isEmpty() || !t2.isEmpty()) {
            store.SetText(ACol1, r, t2);
            store.SetText(ACol2, r, t1);
        }
        TObject* o1 = store.Object(ACol1, r);
        TObject* o2 = store.Object(ACol2, r);
        if (o1 || o2) {
            store.SetObject(ACol1, r, o2);
            store.SetObject(ACol2, r, o1);
            FollowOwner(o2, ACol1, -1);
            FollowOwner(o1, ACol2, -1);
        }
    }
    // Hidden rows keep their cells by real column too: they swap alike, so
    // that they come back in the right columns.
    for (THiddenRow& h : FHiddenRows) {
        std::vector<QString>& texts = h.Cells.Texts;
        if (std::max(ACol1, ACol2) < int(texts.size()))
            std::swap(texts[std::size_t(ACol1)], texts[std::size_t(ACol2)]);
        else if (std::min(ACol1, ACol2) < int(texts.size())) {
            texts.resize(std::size_t(std::max(ACol1, ACol2) + 1));
            std::swap(texts[std::size_t(ACol1)], texts[std::size_t(ACol2)]);
        }
        for (auto& [col, object] : h.Cells.Objects)
            if (col == ACol1 || col == ACol2) {
                col = col == ACol1 ? ACol2 : ACol1;
                FollowOwner(object, col, -1);
            }
    }

    // In-cell controls go with their columns, found by the columns as they were.
    std::vector<int> controlReal(static_cast<std::size_t>(FControlList->Count()));
    for (int i = 0; i < FControlList->Count(); ++i) {
        const int r = RealColFromDisplay(FControlList->GetControl(i)->X());
        controlReal[std::size_t(i)] = r == ACol1 ? ACol2 : r == ACol2 ? ACol1 : r;
    }

    if (FNumHidden > 0) {
        // Widths, kept widths and visibility flags travel with the columns.
        std::vector<int> realWidths(static_cast<std::size_t>(total));
        for (int c = 0; c < total; ++c)
            realWidths[std::size_t(c)]
                = IsHiddenColumn(c) ? FAllColWidths[std::size_t(c)] : ColWidths(DisplayColFromReal(c));
        std::swap(realWidths[std::size_t(ACol1)], realWidths[std::size_t(ACol2)]);
        const bool v1 = FVisibleCol[std::size_t(ACol1)];
        FVisibleCol[std::size_t(ACol1)] = FVisibleCol[std::size_t(ACol2)];
        FVisibleCol[std::size_t(ACol2)] = v1;
        FAllColWidths[std::size_t(ACol1)] = realWidths[std::size_t(ACol1)];
        FAllColWidths[std::size_t(ACol2)] = realWidths[std::size_t(ACol2)];
        RebuildColMaps();
        std::vector<int> widths;
        for (int c = 0; c < total; ++c)
            if (!IsHiddenColumn(c))
                widths.push_back(realWidths[std::size_t(c)]);
        ApplyShownColumns(widths);
    } else {
        const int w1 = ColWidths(ACol1), w2 = ColWidths(ACol2);
        SetColWidths(ACol1, w2);
        SetColWidths(ACol2, w1);
    }

    if (FSortSettings->Column == ACol1)
        FSortSettings->Column = ACol2;
    else if (FSortSettings->Column == ACol2)
        FSortSettings->Column = ACol1;

    for (int i = 0; i < FControlList->Count(); ++i)
        FControlList->GetControl(i)->SetX(DisplayColFromReal(controlReal[std::size_t(i)]));
    if (FControlList->Count() > 0)
        CellControlsUpdate(false);
    RepaintGrid();
}

void TExStringGrid::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        return;
    // An area reaching over either row's edges would point its cells at a
    // base cell that moved.
    if (HasMergedAreas())
        for (const int r : { ARow1, ARow1 + 1, ARow2, ARow2 + 1 })
            if (r < RowCount())
                SplitAreasAcross(r);

    TGridStoredRow a = TakeRow(ARow1);
    TGridStoredRow b = TakeRow(ARow2);
    for (const auto& [col, object] : a.Objects)
        FollowOwner(object, -1, ARow2);
    for (const auto& [col, object] : b.Objects)
        FollowOwner(object, -1, ARow1);
    PutRow(ARow1, std::move(b));
    PutRow(ARow2, std::move(a));

    const int h1 = RowHeights(ARow1), h2 = RowHeights(ARow2);
    SetRowHeights(ARow1, h2);
    SetRowHeights(ARow2, h1);

    const int real1 = RealRowIndex(ARow1), real2 = RealRowIndex(ARow2);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        if (item->Y() == real1)
            item->SetY(real2);
        else if (item->Y() == real2)
            item->SetY(real1);
    }
    if (FControlList->Count() > 0)
        CellControlsUpdate(false);
    RepaintGrid();
}
