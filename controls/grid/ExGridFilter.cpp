// Filtering: matching rows against the filter's items, stacking and removing
// filter levels on the hidden-row records, the incremental filter and the
// choices of the filter drop-down.

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"

#include <QString>
#include <QStringList>
#include <cmath>
#include <vector>

// ---------------------------------------------------------------------------
// Matching

bool TExStringGrid::MatchFilterItem(int Index, int ARow)
{
    const TFilterData& item = *FFilter->Items(Index);
    const int col = item.Column;
    QString text;
    switch (item.Data) {
    case TFilterCells::fcVirtual:
        text = GetCellEx(col, ARow);
        break;
    case TFilterCells::fcNormal:
        text = GetGridCell(col, ARow);
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
    text = text.trimmed();
    if (text.contains(QStringLiteral("|\\")))
        text = DecodeWideText(text);

    if (item.Data == TFilterCells::fcRow)
        return text.toUpper().contains(item.Condition.toUpper());

    if (!item.Prefix.isEmpty() && text.startsWith(item.Prefix))
        text.remove(0, item.Prefix.size());
    if (!item.Suffix.isEmpty() && text.indexOf(item.Suffix) == text.size() - item.Suffix.size())
        text.chop(item.Suffix.size());
    if (item.Condition.isEmpty())
        return true;
    if (item.Method == TFilterMethod::fmLiteral)
        return item.Condition == text;
    return MatchFilterExpression(item.Condition, text, item.CaseSensitive);
}

bool TExStringGrid::MatchFilter(int ARow)
{
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        bool match = false;
        // A condition the matcher cannot take leaves the row out, it never
        // stops the filter.
        try {
            match = MatchFilterItem(i, ARow);
        } catch (...) {
            match = false;
        }
        switch (FFilter->Items(i)->Operation) {
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
        if (FFilter->Items(i)->Operation == TFilterOperation::foSHORT && !match)
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
    for (int r = first; r <= last; ++r) {
        if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r)))
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
