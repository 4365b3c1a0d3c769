#include "controls/grid/ExGridSort.h"

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"
#include "platform/runtime/SysUtils.h"

TSortSettings::TSortSettings(TExStringGrid* AGrid)
    : FGrid(AGrid)
    , FSortUpGlyph(std::make_unique<TBitmap>())
    , FSortDownGlyph(std::make_unique<TBitmap>())
    , FIndexUpGlyph(std::make_unique<TBitmap>())
    , FIndexDownGlyph(std::make_unique<TBitmap>())
{
}

TSortSettings::~TSortSettings() = default;

void TSortSettings::SetShow(bool Value)
{
    if (FSortShow == Value)
        return;
    FSortShow = Value;
    if (FGrid)
        FGrid->RepaintGrid();
}

void TSortSettings::SetRow(int Value)
{
    if (FGrid && Value > FGrid->FixedRows())
        throw EExGridError(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    FSortRow = Value;
}

void TSortSettings::RepaintSortRow()
{
    if (FGrid && FGrid->FixedRows() > 0)
        FGrid->InvalidateRow(FGrid->FixedRows() - 1);
}

void TSortSettings::SetHeaderColorField(TColor& Field, TColor Value)
{
    if (Field == Value)
        return;
    Field = Value;
    RepaintSortRow();
}

void TSortSettings::SetHeaderColor(TColor Value)
{
    SetHeaderColorField(FHeaderColor, Value);
}
void TSortSettings::SetHeaderColorTo(TColor Value)
{
    SetHeaderColorField(FHeaderColorTo, Value);
}
void TSortSettings::SetHeaderMirrorColor(TColor Value)
{
    SetHeaderColorField(FHeaderMirrorColor, Value);
}
void TSortSettings::SetHeaderMirrorColorTo(TColor Value)
{
    SetHeaderColorField(FHeaderMirrorColorTo, Value);
}

void TSortSettings::ToggleDirection()
{
    Direction = Direction == TSortDirection::sdAscending ? TSortDirection::sdDescending : TSortDirection::sdAscending;
}

void TSortSettings::Remove()
{
    Column = -1;
    if (FGrid && FGrid->SortIndexes())
        FGrid->SortIndexes()->Clear();
    RepaintSortRow();
}

QString TSortSettings::SaveToString() const
{
    if (IndexShow) {
        const TSortIndexList* indexes = FGrid ? FGrid->SortIndexes() : nullptr;
        return QStringLiteral("i;") + (indexes ? indexes->SaveToString() : QString());
    }
    return QLatin1Char(Direction == TSortDirection::sdAscending ? 'u' : 'd') + QString::number(Column);
}

namespace {

// A decimal integer with an optional sign, nothing else.
bool ReadDecimal(const QString& Text, int& Value)
{
    const int start = Text.startsWith(QLatin1Char('-')) || Text.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (Text.size() == start)
        return false;
    for (int i = start; i < Text.size(); ++i)
        if (Text[i] < QLatin1Char('0') || Text[i] > QLatin1Char('9'))
            return false;
    return TryStrToInt(Text, Value);
}

} // namespace

bool TSortSettings::KeepIndexesInGrid()
{
    TSortIndexList* indexes = FGrid->SortIndexes();
    const int cols = FGrid->TotalColCount();
    for (int i = indexes->Count() - 1; i >= 0; --i)
        if (indexes->GetSortColumns(i) >= cols)
            indexes->Delete(i);
    return indexes->Count() > 0;
}

void TSortSettings::LoadFromString(const QString& Text)
{
    if (Text.isEmpty())
        return;
    SetShow(true);
    if (Text.size() < 2)
        throw EExGridError(QStringLiteral("Invalid sort settings specifier"));

    // The letter tests look anywhere in the text: stored texts rely on them.
    if (Text.contains(QLatin1String("i;"))) {
        IndexShow = true;
        const QString indexes = Text.mid(2);
        if (indexes.isEmpty() || !FGrid || !FGrid->SortIndexes())
            return;
        FGrid->SortIndexes()->LoadFromString(indexes);
        if (KeepIndexesInGrid())
            FGrid->QSortIndexed();
        return;
    }

    IndexShow = false;
    Direction = Text.contains(QLatin1Char('u')) ? TSortDirection::sdAscending : TSortDirection::sdDescending;
    int col = 0;
    if (!ReadDecimal(Text.mid(1), col))
        return;
    if (col == -1) {
        Column = -1; // as saved when no column was sorted
        return;
    }
    if (!FGrid || col < 0 || col >= FGrid->TotalColCount())
        return;
    Column = col;
    FGrid->QSort();
}

void TSortSettings::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TSortSettings*>(Source);
    if (!s || s == this)
        return;
    AutoSortForGrouping = s->AutoSortForGrouping;
    AutoColumnMerge = s->AutoColumnMerge;
    Column = s->Column;
    FSortShow = s->FSortShow;
    IndexShow = s->IndexShow;
    IndexColor = s->IndexColor;
    Full = s->Full;
    SingleColumn = s->SingleColumn;
    IgnoreBlanks = s->IgnoreBlanks;
    BlankPos = s->BlankPos;
    AutoFormat = s->AutoFormat;
    Direction = s->Direction;
    FSortUpGlyph->Assign(s->FSortUpGlyph.get());
    FSortDownGlyph->Assign(s->FSortDownGlyph.get());
    FIndexUpGlyph->Assign(s->FIndexUpGlyph.get());
    FIndexDownGlyph->Assign(s->FIndexDownGlyph.get());
    IndexSortKey = s->IndexSortKey;
    InitSortDirection = s->InitSortDirection;
    FixedCols = s->FixedCols;
    NormalCellsOnly = s->NormalCellsOnly;
    FSortRow = s->FSortRow;
    UndoSort = s->UndoSort;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderMirrorColor = s->FHeaderMirrorColor;
    FHeaderMirrorColorTo = s->FHeaderMirrorColorTo;
}
