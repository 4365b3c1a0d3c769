// The string grid's find and replace, the incremental search typed on the
// grid and the handlers of its search panel. A find is one pass over the
// range in walking order; reading a cell allocates nothing unless a display
// hook or tag stripping makes a new text. Without match case the key and
// every cell are upper-cased alike, letter for letters ("ß" for "SS"), and a
// cell is searched in time linear in its length and the key's.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExTextSearch.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/runtime/SysUtils.h"

#include <unordered_set>

namespace {

const QLatin1String kEmptyCellText("\"\"");

bool HasTagText(const QString& s)
{
    return s.contains(QLatin1Char('<'));
}

} // namespace

// ---------------------------------------------------------------------------
// The cell test and the walk

bool TExStringGrid::MatchFindCell(int ACol, int ARow, bool Wide)
{
    const TFindParams p = FFindParams;
    const int col = p.testFlag(fnIncludeHiddenColumns) ? ACol : RealColIndex(ACol);
    const bool realRows = p.testFlag(fnIncludeHiddenRows);
    QString text;
    if (Wide) {
        // Real rows need the kept texts of hidden rows, wide or not.
        text = realRows ? AllWideCells(col, ARow) : GetWideCells(col, ARow);
    } else {
        text = realRows ? GetCellsEx(col, ARow) : GetCellEx(col, ARow);
        if (p.testFlag(fnIgnoreHTMLTags) && HasTagText(text))
            text = StripHTMLTags(text);
    }
    const QString& key = Wide ? SearchCacheWide : SearchCache;
    if (key == kEmptyCellText)
        return text.isEmpty();
    if (p.testFlag(fnMatchRegular))
        return MatchFilterExpression(key, text, p.testFlag(fnMatchCase));
    // The key's matcher was built by the walk: each cell is upper-cased as it
    // is read, never copied.
    if (FFindMatcher.IsEmpty())
        return false;
    if (p.testFlag(fnMatchFull))
        return FFindMatcher.Equals(text);
    if (p.testFlag(fnMatchStart))
        return FFindMatcher.StartOf(text);
    return FFindMatcher.In(text);
}

void TExStringGrid::ExpandNodesOver(int ARealRow)
{
    // A collapsed node keeps its branch right below itself: the nearest shown
    // node above whose span reaches the row holds it. Nested collapsed nodes
    // take one round each.
    while (IsHiddenRow(ARealRow)) {
        int holder = -1;
        for (int d = DisplRowIndex(ARealRow) - 1; d >= FixedRows(); --d) {
            if (!IsNode(d) || !GetNodeState(d))
                continue;
            const int real = RealRowIndex(d);
            if (ARealRow < real + GetNodeSpan(d)) {
                holder = real;
                break;
            }
        }
        if (holder < 0)
            return;
        ExpandNode(holder);
    }
}

void TExStringGrid::FindInGrid(
    QPoint StartCell, const QString& s, QPoint& Result, TFindParams FindParams, bool Wide, const QString& ws)
{
    Result = QPoint(-1, -1);
    FFindParams = FindParams;
    FFindBusy = true;
    struct TBusyEnd {
        bool& Flag;
        ~TBusyEnd() { Flag = false; }
    } busyEnd { FFindBusy };

    const TFindParams p = FindParams;
    const bool matchCase = p.testFlag(fnMatchCase);
    // An expression upper-cases its own letters, one for one: upper-cased
    // here, "ß" would already be "SS" and find nothing.
    const bool asTyped = matchCase || p.testFlag(fnMatchRegular);
    SearchCache = asTyped ? s : AnsiUpperCase(s);
    SearchCacheWide = asTyped ? ws : AnsiUpperCase(ws);
    FFindMatcher = TTextMatcher(Wide ? SearchCacheWide : SearchCache, matchCase ? TTextCase::Exact : TTextCase::Upper);

    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() + NumHiddenRows() == FixedRows() || RowCount() == 0)
        return;

    const bool realRows = p.testFlag(fnIncludeHiddenRows);
    const bool realCols = p.testFlag(fnIncludeHiddenColumns);
    int c0, c1, r0, r1;
    if (p.testFlag(fnIncludeFixed)) {
        c0 = 0;
        c1 = ColCount() - 1;
        r0 = 0;
        r1 = RowCount() - 1;
    } else {
        c0 = FixedCols();
        c1 = ColCount() - FixedRightCols() - 1;
        r0 = FixedRows();
        r1 = RowCount() - FixedFooters() - 1;
    }
    if (p.testFlag(fnSelectedCells)) {
        const TGridRect g = Selection();
        c0 = g.Left;
        c1 = g.Right;
        r0 = g.Top;
        r1 = g.Bottom;
    }
    if (realCols)
        c1 += NumHiddenColumns();
    if (realRows) {
        // Real rows: the hidden rows between the range's shown rows count.
        r0 = r0 == 0 ? 0 : RealRowIndex(r0 - 1) + 1;
        r1 = RealRowIndex(r1 + 1) - 1;
    }

    // Restrictions narrow the range first, so the step from StartCell stays
    // inside the row or column searched.
    const int lastCol = ColCount() - 1 + (realCols ? NumHiddenColumns() : 0);
    const int lastRow = RowCount() - 1 + (realRows ? NumHiddenRows() : 0);
    auto only = [](int& lo, int& hi, int v, int last) {
        if (v < 0 || v > last)
            return false;
        lo = hi = v;
        return true;
    };
    if (p.testFlag(fnFindInCurrentRow) && !only(r0, r1, realRows ? RealRowIndex(Row()) : Row(), lastRow))
        return;
    if (p.testFlag(fnFindInPresetRow) && !only(r0, r1, FFindRow, lastRow))
        return;
    if (p.testFlag(fnFindInCurrentCol) && !only(c0, c1, realCols ? RealColIndex(Col()) : Col(), lastCol))
        return;
    if (p.testFlag(fnFindInPresetCol) && !only(c0, c1, FFindCol, lastCol))
        return;
    if (c0 > c1 || r0 > r1)
        return;

    const bool backward = p.testFlag(fnBackward);
    const bool across = p.testFlag(fnDirectionLeftRight);
    const int dir = backward ? -1 : 1;
    const int firstC = backward ? c1 : c0;
    const int firstR = backward ? r1 : r0;
    auto inCols = [&](int c) { return c >= c0 && c <= c1; };
    auto inRows = [&](int r) { return r >= r0 && r <= r1; };

    int c = firstC, r = firstR;
    if (inCols(StartCell.x()) && inRows(StartCell.y())) {
        c = StartCell.x();
        r = StartCell.y();
        if (across) {
            c += dir;
            if (!inCols(c)) {
                c = firstC;
                r += dir;
            }
        } else {
            r += dir;
            if (!inRows(r)) {
                r = firstR;
                c += dir;
            }
        }
    }

    bool found = false;
    if (across) {
        std::vector<char> ignored;
        if (FIgnoreColumns && FIgnoreColumns->Count() > 0) {
            ignored.assign(std::size_t(c1 - c0 + 1), 0);
            for (int k = c0; k <= c1; ++k)
                ignored[std::size_t(k - c0)] = FIgnoreColumns->HasValue(k) ? 1 : 0;
        }
        for (; !found && inRows(r); r += dir) {
            for (; inCols(c); c += dir) {
                if (!ignored.empty() && ignored[std::size_t(c - c0)])
                    continue;
                ExportNotification(esExportNewRow, r);
                if (MatchFindCell(c, r, Wide)) {
                    found = true;
                    break;
                }
            }
            if (found)
                break;
            c = firstC;
        }
    } else {
        for (; !found && inCols(c); c += dir) {
            for (; inRows(r); r += dir) {
                ExportNotification(esExportNewRow, r);
                if (MatchFindCell(c, r, Wide)) {
                    found = true;
                    break;
                }
            }
            if (found)
                break;
            r = firstR;
        }
    }
    if (!found)
        return;

    Result = QPoint(c, r);
    SearchCell = Result;
    if (!p.testFlag(fnAutoGoto))
        return;
    int row = r;
    if (realRows) {
        if (IsHiddenRow(r) && HasNodes())
            ExpandNodesOver(r);
        // Still hidden (filtered out): there is no row to go to.
        if (IsHiddenRow(r))
            return;
        row = DisplRowIndex(r);
    }
    int col = c;
    if (realCols) {
        col = DisplColIndex(c);
        if (RealColIndex(col) != c)
            col = -1;
    }
    // Fixed rows and columns never become current.
    if (row < FixedRows() || row >= RowCount())
        return;
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(RowSelectIndex(row), true);
        SetRowEx(row);
    } else {
        SetRowEx(row);
        if (col >= FixedCols() && col < ColCount())
            SetCol(col);
    }
}

// ---------------------------------------------------------------------------
// Find and replace

QPoint TExStringGrid::Find(QPoint StartCell, const QString& s, TFindParams FindParams)
{
    ExportNotification(esExportStart, 0);
    QPoint result;
    FindInGrid(StartCell, s, result, FindParams, false, QString());
    ExportNotification(result.x() == -1 ? esExportDone : esExportFail, 0);
    if (FindParams.testFlag(fnAutoGoto)) {
        const int a = FFloatingFooter && FFloatingFooter->Visible() ? 2 : 0;
        if (Row() > TopRow() + VisibleRowCount() - a - 2 && VisibleRowCount() + FixedRows() + a < RowCount())
            SetTopRow(TopRow() + a + 1);
    }
    return result;
}

QPoint TExStringGrid::FindWide(QPoint StartCell, const QString& ws, TFindParams FindParams)
{
    QPoint result;
    FindInGrid(StartCell, QString(), result, FindParams, true, ws);
    return result;
}

QPoint TExStringGrid::FindFirst(const QString& s, TFindParams FindParams)
{
    SearchCell = Find(QPoint(-1, -1), s, FindParams);
    return SearchCell;
}

QPoint TExStringGrid::FindNext()
{
    SearchCell = Find(SearchCell, SearchCache, FFindParams);
    return SearchCell;
}

int TExStringGrid::Replace(const QString& OrigStr, const QString& NewStr, TFindParams FindParams)
{
    const bool realRows = FindParams.testFlag(fnIncludeHiddenRows);
    const bool realCols = FindParams.testFlag(fnIncludeHiddenColumns);
    // Occurrences are replaced without regard to case whatever the find
    // compares by, upper-cased as the find does.
    const TTextMatcher orig(OrigStr, TTextCase::Upper);
    std::unordered_set<qint64> seen;
    int count = 0;
    QPoint cell(-1, -1);
    for (;;) {
        cell = Find(cell, OrigStr, FindParams);
        if (cell.x() < 0)
            break;
        // A cell that comes round again would be replaced again.
        if (!seen.insert((qint64(cell.y()) << 32) | quint32(cell.x())).second)
            break;
        const int col = realCols ? cell.x() : RealColIndex(cell.x());
        const int row = realRows ? cell.y() : RealRowIndex(cell.y());
        const QString old = AllGridCells(col, row);
        QString changed;
        qsizetype from = 0, end = 0;
        for (qsizetype at; (at = orig.IndexIn(old, from, &end)) >= 0; from = end) {
            changed += QStringView(old).mid(from, at - from);
            changed += NewStr;
        }
        if (from == 0)
            continue;
        changed += QStringView(old).mid(from);
        if (changed == old)
            continue;
        SetAllGridCells(col, row, changed);
        ++count;
        if (FShowModified && FShowModified->Enabled && !IsHiddenRow(row))
            SetRowModified(DisplRowIndex(row), true);
    }
    return count;
}

// ---------------------------------------------------------------------------
// Incremental search

int TExStringGrid::Search(const QString& s)
{
    if (RowCount() < 2)
        return -1;
    int col;
    if (!FSortSettings->Show())
        col = RealColIndex(FixedCols());
    else if (FSortSettings->IndexShow)
        col = FSortIndexes && FSortIndexes->Count() > 0 ? FSortIndexes->GetSortColumns(0) : RealColIndex(FixedCols());
    else
        col = FSortSettings->Column;
    if (col < 0)
        return -1;
    // The cell's start upper-cased as the typed text was: a letter typed may
    // stand for several ("ß" for "SS").
    const TTextMatcher key(s, TTextCase::Upper);
    for (int r = FixedRows(); r < RowCount(); ++r) {
        QString text = GetCellEx(col, r);
        if (HasTagText(text))
            text = StripHTMLTags(text);
        if (key.StartOf(text))
            return r;
    }
    return -1;
}

int TExStringGrid::IncrementalSearchKey(QChar Key)
{
    if (FNavigation->AutoGotoIncremental) {
        if (Key == QChar(8))
            SearchInc.chop(1);
        else
            SearchInc += Key;
        SearchTics = 0;
    } else {
        SearchInc = QString(Key);
    }
    const int r = Search(AnsiUpperCase(SearchInc));
    if (r >= 0)
        SetRowEx(r);
    else
        SearchInc.clear();
    return r;
}

void TExStringGrid::IncrementalSearchTick()
{
    if (!FNavigation->AutoGotoIncremental)
        return;
    if (++SearchTics >= 4) {
        SearchInc.clear();
        SearchTics = 0;
    }
}

// ---------------------------------------------------------------------------
// The search panel's handlers

// Highlights follow the find: in the preset column when one is set, else in
// the whole grid, fixed cells only when the find looks at them too.
void TExStringGrid::SearchHighlight(const QString& Text, bool DoCase)
{
    const int col = FSearchFooter->SearchColumn;
    if (col >= 0 && col < ColCount())
        HilightInCol(FSearchFooter->SearchFixedCells, DoCase, col, Text);
    else
        HilightInGrid(FSearchFooter->SearchFixedCells, DoCase, Text);
}

void TExStringGrid::SearchUnHighlight()
{
    const int col = FSearchFooter->SearchColumn;
    if (col >= 0 && col < ColCount())
        UnHilightInCol(FSearchFooter->SearchFixedCells, col);
    else
        UnHilightInGrid(FSearchFooter->SearchFixedCells);
}

TExStringGrid::TFindParams TExStringGrid::FooterFindParams(bool Backward)
{
    // One set for all three searches: the cell found by one is the start of
    // the next, so they must walk the same index space in the same order.
    const TSearchFooter& f = *FSearchFooter;
    TFindParams p = fnAutoGoto;
    if (FSearchPanelState.HighlightDown)
        p |= fnIgnoreHTMLTags;
    if (FSearchPanelState.MatchCase)
        p |= fnMatchCase;
    if (f.SearchActiveColumnOnly)
        p |= fnFindInCurrentCol;
    if (f.SearchMatchStart)
        p |= fnMatchStart;
    if (f.SearchFixedCells)
        p |= fnIncludeFixed;
    if (f.SearchHiddenRows)
        p |= fnIncludeHiddenRows;
    if (f.SearchDirection == TSearchDirection::sdLeftRight)
        p |= fnDirectionLeftRight;
    if (f.SearchColumn >= 0 && f.SearchColumn < ColCount()) {
        p |= fnFindInPresetCol;
        FFindCol = f.SearchColumn;
    }
    if (Backward)
        p |= fnBackward;
    return p;
}

void TExStringGrid::SearchFooterEditChange(TObject* Sender)
{
    (void)Sender;
    const QString text = FSearchPanelState.Text;
    bool defaultSearch = true;
    if (OnSearchEditChange)
        OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->AutoSearch)
        return;
    const bool highlight = FSearchPanelState.HighlightDown || FSearchFooter->AlwaysHighLight;
    if (highlight)
        SearchUnHighlight();
    if (text.isEmpty()) {
        FSearchPanelState.EditColor = clWindow;
        return;
    }
    const TFindParams p = FooterFindParams(false);
    SearchCell = Find(QPoint(-1, -1), text, p);
    DoSearchFooterAction(text, SearchCell.x(), SearchCell.y(), TSearchAction::saFindFirst);
    if (SearchCell.x() < 0) {
        FSearchPanelState.EditColor = clRed;
        return;
    }
    FSearchPanelState.EditColor = clWindow;
    ScrollInView(Col(), Row());
    if (highlight)
        SearchHighlight(text, FSearchPanelState.MatchCase);
}

QPoint TExStringGrid::FindFooterStep(bool Backward)
{
    const QString text = FSearchPanelState.Text;
    if (!FSearchFooter->AutoSearch && text != FSearchFooter->LastSearch) {
        SearchCell = QPoint(-1, -1);
        FSearchFooter->LastSearch = text;
    }
    SearchCell = Find(SearchCell, text, FooterFindParams(Backward));
    const bool found = SearchCell.x() >= 0;
    if (found && !Backward)
        ScrollInView(Col(), Row());
    const int a = FFloatingFooter && FFloatingFooter->Visible() ? 3 : 2;
    if (Row() > TopRow() + VisibleRowCount() - a && VisibleRowCount() + FixedRows() < RowCount())
        SetTopRow(TopRow() + 2);
    if (found && Backward)
        ScrollInView(Col(), Row());
    DoSearchFooterAction(
        text, SearchCell.x(), SearchCell.y(), Backward ? TSearchAction::saFindPrevious : TSearchAction::saFindNext);
    RepaintSearchPanel();
    return SearchCell;
}

void TExStringGrid::SearchFooterFindPrevious(TObject* Sender)
{
    (void)Sender;
    FindFooterStep(true);
}

void TExStringGrid::SearchFooterFindNext(TObject* Sender)
{
    (void)Sender;
    FindFooterStep(false);
}

void TExStringGrid::SearchFooterClose(TObject* Sender)
{
    (void)Sender;
    if (OnSearchFooterClose)
        OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TExStringGrid::SearchFooterHighlight(TObject* Sender)
{
    (void)Sender;
    if (FSearchPanelState.HighlightDown)
        SearchHighlight(FSearchPanelState.Text, FSearchPanelState.MatchCase);
    else
        SearchUnHighlight();
}
