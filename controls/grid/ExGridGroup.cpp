// The string grid's grouping: rows gathered under node rows by the values of
// one column, an optional summary row per group, a second level inside the
// groups, and one calculated value per group.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Colors.h"

#include <QScopeGuard>
#include <algorithm>

namespace {

// The scans start from this value; a cell holding exactly it starts no group.
const QString GroupSentinel = QStringLiteral("\u00FF\u00FE");

} // namespace

void TExStringGrid::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TExStringGrid::MarkSummaryRow(int ARow)
{
    const int d = DisplRowIndex(ARow);
    if (d < 0 || d >= RowCount())
        return;
    CreateCellGraphic(0, d)->SetCellType(ctSummary);
}

void TExStringGrid::SetGroupLook(int ACol, int ARow, bool Header, bool Convert)
{
    const TGrouping* g = FGrouping;
    const TColor from = Header ? g->HeaderColor : g->SummaryColor;
    const TColor to = Header ? g->HeaderColorTo : g->SummaryColorTo;
    const TColor text = Header ? g->HeaderTextColor : g->SummaryTextColor;
    auto conv = [Convert](TColor c) { return Convert ? ColorToRGB(c) : c; };
    if (from != clNone)
        ACol < 0 ? SetRowColor(ARow, conv(from)) : SetColors(ACol, ARow, conv(from));
    if (to != clNone)
        ACol < 0 ? SetRowColorTo(ARow, conv(to)) : SetColorsTo(ACol, ARow, conv(to));
    if (text != clNone)
        ACol < 0 ? SetRowFontColor(ARow, conv(text)) : SetFontColors(ACol, ARow, conv(text));
}

void TExStringGrid::InsertRowSetAt(const std::vector<int>& Places)
{
    const int n = int(Places.size());
    if (n == 0)
        return;
    if (FSelHidden)
        UnHideSelection();
    // Where each new row lands among the real rows before any is inserted.
    std::vector<int> reals(std::size_t(n), 0);
    for (int j = 0; j < n; ++j)
        reals[std::size_t(j)] = RealRowFromDisplay(Places[std::size_t(j)] - j);
    auto shift = [&](int y) { return y + int(std::upper_bound(reals.begin(), reals.end(), y) - reals.begin()); };
    ShiftCellControls(shift);
    THiddenRows recs;
    recs.resize(std::size_t(n));
    for (THiddenRow& h : recs)
        h.Height = DefaultRowHeight();
    PutDisplayedRows(Places, recs);
    // Persistent selection flags go by real row: the new rows come unselected.
    if (FMouseActions && FMouseActions->RowSelectPersistent && !FRowSelect.empty()) {
        std::vector<int> flags;
        flags.reserve(FRowSelect.size() + reals.size());
        std::size_t k = 0;
        for (std::size_t i = 0; i < FRowSelect.size(); ++i) {
            for (; k < reals.size() && reals[k] <= int(i); ++k)
                flags.push_back(0);
            flags.push_back(FRowSelect[i]);
        }
        FRowSelect.Edit().swap(flags);
    }
    std::size_t j = 0;
    int added = 0;
    for (THiddenRow& h : FHiddenRows) {
        while (j < reals.size() && reals[j] <= h.Idx) {
            ++j;
            ++added;
        }
        h.Idx += added;
    }
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    if (!IsDestroying())
        DoCellsChanged(Rect(0, Places.front(), ColCount() - 1, RowCount() - 1));
}

void TExStringGrid::Group(int Colindex)
{
    if (Colindex < FixedCols())
        return;
    if (FGroupColumn != -1)
        UnGroup();
    // A column beyond the grid has nothing to group by.
    if (RowCount() <= FixedRows() || Colindex >= ColCount())
        return;
    BeginUpdate();
    FIsGrouping = true;
    FGroupColumn = Colindex;
    auto done = qScopeGuard([this] {
        FIsGrouping = false;
        FSortRuns = {};
        EndUpdate();
    });

    FGroupWidth = ColWidths(Colindex);
    if (FixedRows() > 0)
        FGroupCaption = GetGridCell(Colindex, 0);
    if (FFixedFooters > 0)
        FGroupFooter = GetGridCell(Colindex, RowCount() - 1);
    if (FSortSettings->AutoSortForGrouping) {
        FSortSettings->Column = Colindex;
        QSort();
    }
    const int hc = Colindex == 1 ? 2 : 1;
    const int first = FixedRows();
    const int end = RowCount() - FFixedFooters;

    // Where the groups start, from the texts as they stand: the sort just
    // made knows, else a walk down the column finds out.
    std::vector<int> starts;
    std::vector<QString> values;
    if (TakeSortRuns(Colindex, first, end, starts)) {
        if (!starts.empty() && GetGridCell(Colindex, starts.front()) == GroupSentinel)
            starts.erase(starts.begin());
        values.reserve(starts.size());
        for (int a : starts)
            values.push_back(GetGridCell(Colindex, a));
    } else {
        QString prev = GroupSentinel;
        for (int a = first; a < end; ++a) {
            Store().PrefetchColumn(Colindex, a);
            QString cur = GetGridCell(Colindex, a);
            if (cur != prev) {
                starts.push_back(a);
                values.push_back(cur);
            }
            prev = std::move(cur);
        }
    }

    // All header and summary rows go in at once: a summary row closes each
    // group before a header below the first normal row, and one the last.
    const bool summary = FGrouping->Summary;
    std::vector<int> places, heads, sums;
    int added = 0;
    for (int start : starts) {
        int at = start + added;
        if (summary && at > first) {
            places.push_back(at);
            sums.push_back(at++);
            ++added;
        }
        places.push_back(at);
        heads.push_back(at);
        ++added;
    }
    const int normalEnd = end + added;
    if (summary && end > first) {
        places.push_back(normalEnd);
        sums.push_back(normalEnd);
    }
    InsertRowSetAt(places);

    const bool mergeHeader = FGrouping->MergeHeader;
    const bool mergeSummary = FGrouping->MergeSummary;
    for (std::size_t i = 0; i < heads.size(); ++i) {
        SetGridCell(hc, heads[i], values[i]);
        if (!mergeHeader)
            SetGroupLook(-1, heads[i], true, i + 1 < heads.size());
    }
    for (std::size_t i = 0; i < sums.size(); ++i) {
        MarkSummaryRow(RealRowIndex(sums[i]));
        if (!mergeSummary)
            SetGroupLook(-1, sums[i], false, i + 1 < sums.size());
    }
    // With fixed columns the group column is never the node column 0: it
    // leaves before the nodes make a property per row, so that its removal
    // has few properties to renumber.
    const bool removeFirst = Colindex > 0 && FixedCols() > 0;
    if (removeFirst)
        RemoveCols(Colindex, 1);
    // Each header's node holds it and its rows, never the summary row.
    for (std::size_t i = 0; i < heads.size(); ++i) {
        const int next = i + 1 < heads.size() ? heads[i + 1] - (summary ? 1 : 0) : normalEnd;
        AddNode(RealRowIndex(heads[i]), next - heads[i]);
    }
    if (heads.empty() && end > first)
        AddNode(RealRowIndex(first), end - first);
    if (!removeFirst)
        RemoveCols(Colindex, 1);

    if (mergeHeader)
        for (int b : heads) {
            MergeCells(1, b, ColCount() - 1, 1);
            SetGroupLook(1, b, true, true);
        }
    if (mergeSummary && summary)
        for (int b : sums) {
            MergeCells(1, b, ColCount() - 1, 1);
            SetGroupLook(1, b, false, false);
        }

    if (FCellNode->ExpandOne)
        for (int r = first; r < RowCount(); ++r)
            if (IsNode(r)) {
                ExpandNode(RealRowIndex(r));
                break;
            }
    if (Col() >= ColCount() || Row() >= RowCount() || Col() < 0 || Row() < 0) {
        FocusCell(FixedCols(), FixedRows());
        ScrollInView(FixedCols(), FixedRows());
    }
    SetRow(FixedRows());
}

void TExStringGrid::UnGroup()
{
    if (FGroupColumn <= 0)
        return;
    const bool expandOne = FCellNode->ExpandOne;
    FCellNode->ExpandOne = false;
    ExpandAll();
    const int gc = FGroupColumn;
    InsertCols(gc, 1);
    SetColWidths(gc, FGroupWidth);
    if (FixedRows() > 0)
        SetGridCell(gc, 0, FGroupCaption);
    if (FFixedFooters > 0)
        SetGridCell(gc, RowCount() - 1, FGroupFooter);

    FIsGrouping = true;
    auto done = qScopeGuard([&] {
        FIsGrouping = false;
        FGroupColumn = -1;
        FCellNode->ExpandOne = expandOne;
        Invalidate();
    });
    const int hc = gc == 1 ? 2 : 1;
    const bool summary = FGrouping->Summary;
    QString value;
    // Header and summary rows leave together at the end.
    std::vector<int> gone;
    int pendingSummary = -1;
    const int end = RowCount() - FFixedFooters;
    for (int r = FixedRows(); r < end; ++r) {
        if (r == pendingSummary)
            continue;
        if (!IsNode(r)) {
            SetGridCell(gc, r, value);
            continue;
        }
        const int s = r + GetNodeSpan(r);
        value = GetGridCell(hc, r);
        RemoveNode(RealRowIndex(r));
        if (FGrouping->MergeHeader && IsMergedCell(1, r))
            SplitCells(1, r);
        gone.push_back(r);
        if (summary && s > r && s < end) {
            if (FGrouping->MergeSummary && IsMergedCell(1, s))
                SplitCells(1, s);
            gone.push_back(s);
            pendingSummary = s;
        }
    }
    RemoveDisplayedRows(gone);
}

void TExStringGrid::SubGroup(int Colindex)
{
    // The sub-header texts go to the column on the right: without one the
    // grid is left as it is.
    if (Colindex < FixedCols() || Colindex + 1 >= ColCount())
        return;
    BeginUpdate();
    auto done = qScopeGuard([this] { EndUpdate(); });
    FGroupColumn = Colindex;
    FGroupWidth = ColWidths(Colindex);
    if (FixedRows() > 0)
        FGroupCaption = GetCellEx(Colindex, 0);
    if (FFixedFooters > 0)
        FGroupFooter = GetCellEx(Colindex, RowCount() - 1);

    const int hc = Colindex + 1;
    const bool mergeHeader = FGrouping->MergeHeader;
    auto headerLook = [&](int ARow, bool Convert) {
        if (mergeHeader) {
            MergeCells(hc, ARow, ColCount() - hc, 1);
            SetGroupLook(hc, ARow, true, Convert);
        } else {
            SetGroupLook(-1, ARow, true, Convert);
        }
    };
    auto closeNode = [&](int ARow, int Span) {
        AddNode(RealRowIndex(ARow), Span);
        if (TCellGraphic* g = NodeAt(ARow))
            g->CellVar = Colindex;
    };
    auto outline = [&](int ARow) { return IsNode(ARow) || IsSummary(ARow); };

    int last = -1;
    QString prev = GroupSentinel;
    int r = FixedRows() + 1;
    // Footer rows stay out of the scan and keep their texts.
    while (r < RowCount() - FFixedFooters) {
        const QString cur = GetCellEx(Colindex, r);
        if (cur != prev || outline(r)) {
            if (last != -1 && !outline(last))
                closeNode(last, r - last);
            if (!outline(r)) {
                InsertChildRow(RealRowIndex(r), 0);
                SetGridCell(hc, r, cur);
                headerLook(r, true);
            }
            last = r;
            ++r;
        }
        if (r >= RowCount() - FFixedFooters || outline(r - 1)) {
            prev = GroupSentinel;
        } else {
            prev = GetCellEx(Colindex, r);
            SetGridCell(Colindex, r, QString());
            ++r;
        }
    }
    if (last == -1 || IsSummary(last)) {
        SetRow(FixedRows());
        return;
    }
    if (!outline(last)) {
        closeNode(last, r - last);
        if (!mergeHeader)
            SetGroupLook(-1, last, true, false);
    }
    if (FGrouping->Summary) {
        InsertRows(r, 1, true);
        MarkSummaryRow(RealRowIndex(r));
        if (FGrouping->MergeSummary) {
            MergeCells(hc, r, ColCount() - hc, 1);
            SetGroupLook(hc, r, false, false);
        } else {
            SetGroupLook(-1, r, false, false);
        }
    }
    SetRow(FixedRows());
}

void TExStringGrid::SubUnGroup(int Colindex)
{
    ExpandAll();
    QString value;
    int r = FixedRows();
    while (r <= RowCount() - FFixedFooters - 1) {
        TCellGraphic* g = NodeAt(r);
        if (g && g->CellVar.toInt() == Colindex && g->CellVar.isValid()) {
            value = GetCellEx(Colindex + 1, r);
            const int real = RealRowIndex(r);
            RemoveNode(real);
            if (FGrouping->MergeHeader && IsMergedCell(Colindex + 1, r))
                SplitCells(Colindex + 1, r);
            RemoveChildRow(real);
        } else if (g) {
            ++r;
        } else {
            SetGridCell(Colindex, r, value);
            ++r;
        }
    }
}

void TExStringGrid::GroupCalc(int Colindex, int method)
{
    int r = FixedRows();
    while (r < RowCount()) {
        const int span = IsNode(r) && !GetNodeState(r) ? GetNodeSpan(r) : 0;
        if (span <= 0) {
            ++r;
            continue;
        }
        const int target = FGrouping->Summary ? r + span : r;
        const int from = r + 1;
        const int to = r + span - 1;
        r += span;
        double v = 0;
        switch (method) {
        case 1:
            v = ColumnSum(Colindex, from, to);
            break;
        case 2:
            v = ColumnAvg(Colindex, from, to);
            break;
        case 3:
            v = ColumnMin(Colindex, from, to);
            break;
        case 4:
            v = ColumnMax(Colindex, from, to);
            break;
        case 5:
            SetInts(Colindex, target, span - 1);
            continue;
        case 6:
            v = GroupCustomCalc(Colindex, from, to);
            break;
        case 7:
            v = ColumnDistinct(Colindex, from, to);
            break;
        case 8:
            v = ColumnStdDev(Colindex, from, to);
            break;
        default:
            continue;
        }
        SetFloats(Colindex, target, v);
    }
}

void TExStringGrid::GroupFooterCalc(int Colindex, int method, TColumnCalcType Calc)
{
    GroupCalc(Colindex, method);
    if (FFloatingFooter && FFloatingFooter->Visible())
        FFloatingFooter->SetColumnCalc(Colindex, Calc);
}

void TExStringGrid::GroupSum(int Colindex)
{
    GroupFooterCalc(Colindex, 1, TColumnCalcType::acSUM);
}
void TExStringGrid::GroupAvg(int Colindex)
{
    GroupFooterCalc(Colindex, 2, TColumnCalcType::acAVG);
}
void TExStringGrid::GroupMin(int Colindex)
{
    GroupFooterCalc(Colindex, 3, TColumnCalcType::acMIN);
}
void TExStringGrid::GroupMax(int Colindex)
{
    GroupFooterCalc(Colindex, 4, TColumnCalcType::acMAX);
}
void TExStringGrid::GroupCount(int Colindex)
{
    GroupFooterCalc(Colindex, 5, TColumnCalcType::acCOUNT);
}
void TExStringGrid::GroupCustomCalc(int Colindex)
{
    GroupCalc(Colindex, 6);
}
void TExStringGrid::GroupDistinct(int Colindex)
{
    GroupCalc(Colindex, 7);
}
void TExStringGrid::GroupStdDev(int Colindex)
{
    GroupCalc(Colindex, 8);
}
