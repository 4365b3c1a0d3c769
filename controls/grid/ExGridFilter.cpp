// Filtering: matching rows against the filter's items, stacking and removing
// filter levels on the hidden-row records, the incremental filter and the
// choices of the filter drop-down.

#include "controls/base/ExTextSearch.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridStoredTexts.h"

#include <QString>
#include <QStringList>
#include <cmath>
#include <typeinfo>
#include <vector>

// ---------------------------------------------------------------------------
// Matching

namespace {

QChar UpperOf(QChar c)
{
    if (c.unicode() < 128)
        return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c;
    return c.toUpper();
}

// One condition of an expression. A plain wildcard pattern (no comparison,
// negation or quoted operator) is split at its runs of "*" once; the quotes
// it holds match nothing and are dropped. Any other condition goes to the
// expression matcher's own condition test.
struct TFilterCondition {
    QString Text;
    bool Plain = false;
    bool Star = false;
    std::vector<QString> Segments;
    // A segment between stars without "?" is looked for in time linear in
    // the value and the segment; empty for the others.
    std::vector<TTextMatcher> Finders;

    TFilterCondition(QStringView Condition, bool Upper)
        : Text(Condition.toString())
    {
        for (QChar c : Condition)
            if (c == u'>' || c == u'<' || c == u'!' || c == u'^' || c == u'&')
                return;
        Plain = true;
        QString pattern;
        for (QChar c : Condition)
            if (c != u'"')
                pattern += c;
        QString segment;
        for (qsizetype i = 0; i < pattern.size();) {
            if (pattern[i] != u'*') {
                segment += pattern[i++];
                continue;
            }
            Segments.push_back(segment);
            segment.clear();
            Star = true;
            while (i < pattern.size() && pattern[i] == u'*')
                ++i;
        }
        Segments.push_back(segment);
        Finders.resize(Segments.size());
        for (std::size_t k = 1; k + 1 < Segments.size(); ++k)
            if (!Segments[k].contains(u'?'))
                Finders[k] = TTextMatcher(Segments[k], Upper ? TTextCase::UpperEach : TTextCase::Exact);
    }

    // The segment (pattern letters already in the wanted case) at From.
    static bool SegmentAt(const QString& Segment, QStringView Value, qsizetype From, bool Upper)
    {
        for (qsizetype i = 0; i < Segment.size(); ++i) {
            const QChar p = Segment[i];
            if (p == u'?')
                continue;
            if (p != (Upper ? UpperOf(Value[From + i]) : Value[From + i]))
                return false;
        }
        return true;
    }

    // A run of stars matches any text: the first segment holds at the start,
    // the last at the end, each one between at its first place after the one
    // before, which leaves the most room for the rest.
    bool MatchPlain(QStringView Value, bool Upper) const
    {
        const qsizetype n = Value.size();
        const QString& first = Segments.front();
        if (!Star)
            return n == first.size() && SegmentAt(first, Value, 0, Upper);
        const QString& last = Segments.back();
        if (n < first.size() + last.size() || !SegmentAt(first, Value, 0, Upper)
            || !SegmentAt(last, Value, n - last.size(), Upper))
            return false;
        qsizetype pos = first.size();
        const qsizetype end = n - last.size();
        for (std::size_t k = 1; k + 1 < Segments.size(); ++k) {
            const QString& seg = Segments[k];
            if (!Finders[k].IsEmpty()) {
                qsizetype after = 0;
                if (Finders[k].IndexIn(Value.left(end), pos, &after) < 0)
                    return false;
                pos = after;
                continue;
            }
            while (pos + seg.size() <= end && !SegmentAt(seg, Value, pos, Upper))
                ++pos;
            if (pos + seg.size() > end)
                return false;
            pos += seg.size();
        }
        return true;
    }
};

// A wide-encoded text starts with "|\" (decoding leaves any other text as it
// is), so only the start is looked at, never the whole of a long text.
bool HasWideMarker(QStringView Text)
{
    return Text.startsWith(u"|\\");
}

// Trimmed as QString::trimmed does, looked at only when an end is blank.
QStringView Trimmed(QStringView Text)
{
    if (Text.isEmpty() || (!Text.front().isSpace() && !Text.back().isSpace()))
        return Text;
    return Text.trimmed();
}

} // namespace

// An expression as the expression matcher reads it, parsed once: groups of
// operands joined left to right, each operand a condition or a nested group
// in parentheses.
struct TExStringGrid::TFilterPlan {
    struct TStep {
        QChar Op; // the operator before the operand; null for the first
        int Condition = -1;
        int Group = -1;
    };
    struct TExpression {
        std::vector<TFilterCondition> Conditions;
        std::vector<std::vector<TStep>> Groups;
        bool Malformed = false;
        bool AnyWhole = false;
        bool Upper = false;

        int Compile(QStringView e, int Depth)
        {
            const int g = int(Groups.size());
            Groups.emplace_back();
            std::vector<TStep> steps;
            QChar prevOp;
            qsizetype pos = 0;
            auto addCondition = [&](QStringView c) {
                Conditions.emplace_back(c, Upper);
                return int(Conditions.size()) - 1;
            };
            for (;;) {
                const qsizetype op = FindFilterOperator(e, pos);
                if (op < 0)
                    break;
                TStep step { prevOp };
                if (e[pos] == u'(') {
                    const qsizetype close = FindClosingParen(e, pos);
                    if (close < 0 || Depth >= kMaxFilterGroupDepth) {
                        Malformed = true;
                        return g;
                    }
                    step.Group = Compile(e.mid(pos + 1, close - pos - 1), Depth + 1);
                    if (Malformed)
                        return g;
                    prevOp = u'(';
                    pos = close + 1;
                } else {
                    step.Condition = addCondition(e.mid(pos, op - pos));
                    prevOp = e[op];
                    pos = op + 1;
                }
                steps.push_back(step);
            }
            steps.push_back(TStep { prevOp, addCondition(e.mid(pos)) });
            Groups[std::size_t(g)] = std::move(steps);
            return g;
        }

        // Operands whose result cannot change the outcome are not tested
        // (conditions have no side effects).
        bool Eval(int g, QStringView Value, const QString& Full, bool Upper) const
        {
            bool result = false;
            for (const TStep& s : Groups[std::size_t(g)]) {
                const QChar op = s.Op;
                if (op == u'(' || (op == u'&' && !result) || (!op.isNull() && op != u'&' && result))
                    continue;
                bool operand;
                if (s.Group >= 0) {
                    operand = Eval(s.Group, Value, Full, Upper);
                } else {
                    const TFilterCondition& c = Conditions[std::size_t(s.Condition)];
                    operand = c.Plain ? c.MatchPlain(Value, Upper) : MatchFilterCondition(c.Text, Full);
                }
                result = op.isNull() || op == u'&' ? operand : result || operand;
            }
            return result;
        }
    };
    struct TItem {
        bool Compiled = false;
        QString Condition;
        bool CaseSensitive = true;
        TTextMatcher RowCondition; // for whole-row items
        TExpression Expression;
        // The expression is one pattern of letters followed by "*": a
        // test of the value's start.
        bool PrefixOnly = false;
    };
    std::vector<TItem> Items;
    // The value in upper case for the conditions that need it whole.
    QString Scratch;

    TItem& ItemFor(int Index, const TFilterData& Data)
    {
        if (std::size_t(Index) >= Items.size())
            Items.resize(std::size_t(Index) + 1);
        TItem& it = Items[std::size_t(Index)];
        // The item's own text is mostly the one compiled: same data, no compare.
        const bool same = it.Condition.constData() == Data.Condition.constData()
            ? it.Condition.size() == Data.Condition.size()
            : it.Condition == Data.Condition;
        if (it.Compiled && same && it.CaseSensitive == Data.CaseSensitive)
            return it;
        it = TItem();
        it.Compiled = true;
        it.Condition = Data.Condition;
        it.CaseSensitive = Data.CaseSensitive;
        it.RowCondition = TTextMatcher(Data.Condition, TTextCase::Upper);
        // As the expression matcher prepares it: trimmed, blanks outside
        // quotes removed, a leading "=" dropped, upper-cased without case.
        const QString trimmed = Data.Condition.trimmed();
        QString e;
        e.reserve(trimmed.size());
        bool quoted = false;
        for (QChar c : trimmed) {
            if (c == u'"')
                quoted = !quoted;
            if (c == u' ' && !quoted)
                continue;
            e += Data.CaseSensitive ? c : c.toUpper();
        }
        if (e.startsWith(u'='))
            e.remove(0, 1);
        it.Expression.Upper = !Data.CaseSensitive;
        it.Expression.Compile(e, 0);
        for (const TFilterCondition& c : it.Expression.Conditions)
            it.Expression.AnyWhole |= !c.Plain;
        const TExpression& x = it.Expression;
        it.PrefixOnly = !x.Malformed && x.Groups.size() == 1 && x.Groups[0].size() == 1 && x.Conditions.size() == 1
            && x.Conditions[0].Plain && x.Conditions[0].Star && x.Conditions[0].Segments.size() == 2
            && x.Conditions[0].Segments[1].isEmpty() && !x.Conditions[0].Segments[0].contains(u'?');
        return it;
    }

    bool Match(TItem& It, QStringView Value)
    {
        if (It.Expression.Malformed)
            return false;
        const bool upper = !It.CaseSensitive;
        if (It.PrefixOnly) {
            const QString& start = It.Expression.Conditions[0].Segments[0];
            return upper ? Value.size() >= start.size() && TFilterCondition::SegmentAt(start, Value, 0, true)
                         : Value.startsWith(start);
        }
        // The whole value is built only for conditions that take it whole.
        if (It.Expression.AnyWhole) {
            Scratch.resize(Value.size());
            QChar* out = Scratch.data();
            for (qsizetype i = 0; i < Value.size(); ++i)
                out[i] = upper ? Value[i].toUpper() : Value[i];
        }
        return It.Expression.Eval(0, Value, Scratch, upper);
    }
};

// No cell properties (merged cells, node group counts), no display text
// events, no links made from the text, and no descendant's own display text.
bool ShowsStoredTexts(const TExStringGrid& Grid)
{
    return !Grid.HasCellProps() && !Grid.OnGetDisplText && !Grid.OnGetDisplWideText && !Grid.URLShowInText()
        && typeid(Grid) == typeid(TExStringGrid);
}

void TExStringGrid::TFilterPlanFree::operator()(TFilterPlan* Plan) const
{
    delete Plan;
}

bool TExStringGrid::MatchFilterItem(int Index, int ARow)
{
    return MatchFilterData(Index, *FFilter->Items(Index), ARow);
}

bool TExStringGrid::MatchFilterData(int Index, const TFilterData& item, int ARow)
{
    const int col = item.Column;
    QString text;
    // Stored texts are read in place: no copy of the text, no cell
    // properties made.
    const QString* cell = &text;
    switch (item.Data) {
    case TFilterCells::fcVirtual:
        if (ShowsStoredTexts(*this)) {
            cell = &Store().Text(col, ARow);
            Q_ASSERT(*cell == GetCellEx(col, ARow));
        } else {
            text = GetCellEx(col, ARow);
        }
        break;
    case TFilterCells::fcNormal:
        cell = &Store().Text(col, ARow);
        break;
    case TFilterCells::fcStripHTML:
        text = GetStrippedCell(col, ARow);
        break;
    case TFilterCells::fcCalculated:
        text = GetCellValueText(col, ARow);
        break;
    case TFilterCells::fcRow: {
        QStringList texts;
        const int cols = AllColCount();
        texts.reserve(cols);
        for (int c = 0; c < cols; ++c)
            texts << GetGridCell(c, ARow);
        text = texts.join(QStringLiteral("\r\n"));
        break;
    }
    }
    // The text is looked at through views: a cell text is not copied.
    QStringView v = Trimmed(*cell);
    if (HasWideMarker(v)) {
        text = DecodeWideText(v.toString());
        v = text;
    }

    // Taken after the text: a display hook may match other rows meanwhile.
    if (!FFilterPlan)
        FFilterPlan.reset(new TFilterPlan);
    TFilterPlan::TItem& plan = FFilterPlan->ItemFor(Index, item);
    if (item.Data == TFilterCells::fcRow)
        return plan.RowCondition.In(v);

    if (!item.Prefix.isEmpty() && v.startsWith(item.Prefix))
        v = v.mid(item.Prefix.size());
    // Only a suffix that first occurs at the very end is taken off.
    if (!item.Suffix.isEmpty() && v.endsWith(item.Suffix) && v.indexOf(item.Suffix) == v.size() - item.Suffix.size())
        v.chop(item.Suffix.size());
    if (item.Condition.isEmpty())
        return true;
    if (item.Method == TFilterMethod::fmLiteral)
        return item.Condition == v;
    return FFilterPlan->Match(plan, v);
}

bool TExStringGrid::MatchFilter(int ARow)
{
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData& item = *FFilter->Items(i);
        bool match = false;
        // A condition the matcher cannot take leaves the row out, it never
        // stops the filter.
        try {
            match = MatchFilterData(i, item, ARow);
        } catch (...) {
            match = false;
        }
        switch (item.Operation) {
        case TFilterOperation::foSHORT:
        case TFilterOperation::foNONE:
            result = match;
            break;
        case TFilterOperation::foAND:
            result = result && match;
            break;
        case TFilterOperation::foXOR:
            result = result != match;
            break;
        case TFilterOperation::foOR:
            result = result || match;
            break;
        }
        if (item.Operation == TFilterOperation::foSHORT && !match)
            break;
    }
    if (OnCustomFilter)
        OnCustomFilter(this, ARow, result);
    return result;
}

void TExStringGrid::FilterRow(int ARow)
{
    if (!MatchFilter(ARow))
        HideRow(RealRowFromDisplay(ARow));
}

// ---------------------------------------------------------------------------
// Filter levels

void TExStringGrid::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int first = FixedRows();
    const int last = RowCount() - FixedFooters() - 1;
    const int total = last - first + 1;
    std::vector<int> rows;
    qint16 progress = 0;
    // The columns whose stored texts the conditions read: after a sort the
    // rows' cells lie scattered in memory, so they are asked for ahead.
    std::vector<int> readCols;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData& item = *FFilter->Items(i);
        if (item.Data == TFilterCells::fcNormal || item.Data == TFilterCells::fcVirtual)
            readCols.push_back(item.Column);
    }
    for (int r = first; r <= last; ++r) {
        for (const int c : readCols)
            Store().PrefetchTexts(c, r);
        // Node and summary rows keep their marks in cell properties: without
        // any there are none to pass over.
        if (FFilterNormalCellsOnly && HasCellProps() && (IsNode(r) || IsSummary(r)))
            continue;
        if (MatchFilter(r))
            continue;
        rows.push_back(r);
        if (OnFilterProgress && total > 0) {
            // Halves to even, as the default rounding mode does.
            progress = qint16(std::nearbyint(100.0 * double(rows.size()) / double(total)));
            OnFilterProgress(this, progress);
        }
    }
    HideRowList(rows);
    if (OnFilterProgress && total > 0)
        OnFilterProgress(this, progress);
}

// Undoes the top level and lowers the level count.
void TExStringGrid::RestoreAfterFilterLevel()
{
    UnHideRowList();
    SetFixedRows(FFilterFixedRows);
    if (FSelHidden)
        UnHideSelection();
    if (FFilterLevel > 0)
        --FFilterLevel;
}

void TExStringGrid::SetFilterActive(bool Value)
{
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount())
                SetSelection(TGridRect { FixedCols(), FixedRows(), FixedCols(), FixedRows() });
            BeginUpdate();
            ApplyFilter();
            EndUpdate();
            FSelHidden = false;
        } else if (FFilterLevel > 0) {
            RestoreAfterFilterLevel();
        }
        if (FixedRows() < RowCount())
            SetTopRow(FixedRows());
    }
    RecalcFooter();
}

bool TExStringGrid::RemoveLastFilter()
{
    if (FFilterLevel <= 0)
        return false;
    RestoreAfterFilterLevel();
    RecalcFooter();
    return FFilterLevel > 1;
}

void TExStringGrid::RemoveAllFilters()
{
    if (FFilterLevel <= 0) {
        FFilter->Clear();
        return;
    }
    while (FFilterLevel > 0)
        RemoveLastFilter();
}

// ---------------------------------------------------------------------------
// Incremental filter

void TExStringGrid::SetNarrowFilter(const QString& Text, int AColumn, bool Quote)
{
    FFilter->Clear();
    TFilterData* item = FFilter->Add();
    if (AColumn == -1) {
        item->Data = TFilterCells::fcRow;
        item->Condition = Text;
    } else {
        item->Data = TFilterCells::fcNormal;
        item->Condition = u'*' + Text + u'*';
        if (Quote && Text.contains(u' '))
            item->Condition = u'"' + item->Condition + u'"';
    }
    item->CaseSensitive = false;
    item->Column = qint16(AColumn);
}

void TExStringGrid::NarrowDown(const QString& ACondition, int AColumn)
{
    SetFixedRowAlways(true);
    const QString& last = FLastFilter;
    if (!last.isEmpty() && ACondition.size() == last.size() + 1 && ACondition.startsWith(last)) {
        SetNarrowFilter(ACondition, AColumn, true);
        ApplyFilter();
    } else if (!ACondition.isEmpty() && ACondition.size() + 1 == last.size() && last.startsWith(ACondition)) {
        RemoveLastFilter();
    } else {
        // Only filter levels go: rows hidden by other means stay hidden.
        RemoveAllFilters();
        if (!ACondition.isEmpty()) {
            SetNarrowFilter(ACondition, AColumn, false);
            ApplyFilter();
        }
    }
    FLastFilter = ACondition;
}

// ---------------------------------------------------------------------------
// Filter drop-down

namespace {
// "Name=Condition", or a bare value standing for both.
void SplitFilterEntry(const QString& Entry, QString& Name, QString& Condition)
{
    const qsizetype eq = Entry.indexOf(u'=');
    Name = eq < 0 ? Entry : Entry.left(eq);
    Condition = eq < 0 ? Entry : Entry.mid(eq + 1);
}
} // namespace

bool TExStringGrid::FilterChecked(int Index) const
{
    return Index >= 0 && std::size_t(Index) < FFilterChecks.size() && FFilterChecks[std::size_t(Index)];
}

void TExStringGrid::SetFilterChecked(int Index, bool Value)
{
    if (Index < 0)
        return;
    if (std::size_t(Index) >= FFilterChecks.size())
        FFilterChecks.resize(std::size_t(Index) + 1, false);
    FFilterChecks[std::size_t(Index)] = Value;
}

void TExStringGrid::FilterDropDownSelect(TObject* Sender, int ItemIndex)
{
    (void)Sender;
    if (CanFocus())
        SetFocus();
    if (FFilterCol >= 0 && FFilterCol < AllColCount()) {
        GetColumnFilterValues(FFilterCol);
        if (ItemIndex >= 0 && ItemIndex < FFilterList->Count()) {
            QString name, condition;
            SplitFilterEntry(FFilterList->Strings(ItemIndex), name, condition);
            if (FAutoFilterUpdate)
                SetFilterActive(false);
            if (condition == FFilterDropDownClear)
                condition.clear();
            if (OnFilterSelect)
                OnFilterSelect(this, FFilterCol, ItemIndex, name, condition);
            if (!condition.isEmpty())
                FFilter->ColumnFilter(FFilterCol)->Condition = condition;
            else
                FFilter->RemoveColumnFilter(FFilterCol);
            if (FAutoFilterUpdate) {
                SetFixedRowAlways(true);
                SetFilterActive(true);
                if (RowCount() - FixedFooters() > FixedRows())
                    SetRow(FixedRows());
                DoFilterDone();
            }
        }
    }
    FFilterCol = -1;
}

void TExStringGrid::FilterDropDownCheck(TObject* Sender, int ItemIndex)
{
    (void)Sender, (void)ItemIndex;
    if (FFilterCol < 0 || FFilterCol >= AllColCount())
        return;
    GetColumnFilterValues(FFilterCol);
    if (FAutoFilterUpdate)
        SetFilterActive(false);
    FFilter->Clear();
    for (int i = 0; i < FFilterList->Count(); ++i) {
        if (!FilterChecked(i))
            continue;
        QString name, condition;
        SplitFilterEntry(FFilterList->Strings(i), name, condition);
        if (condition == FFilterDropDownClear)
            condition.clear();
        if (OnFilterCheck)
            OnFilterCheck(this, FFilterCol, i, name, condition, FFilterList.get());
        TFilterData* item = FFilter->Add();
        item->Column = qint16(FFilterCol);
        item->Condition = condition;
        item->Operation = FFilter->Count() == 1 ? TFilterOperation::foNONE : TFilterOperation::foOR;
    }
    SetFilterActive(true);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Settings

void TExStringGrid::SetFilterDropDownRow(int Value)
{
    if (Value < 0 || Value >= FixedRows())
        return;
    FFilterDropDownRow = Value;
    RepaintGrid();
}
