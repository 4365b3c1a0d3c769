#include "controls/grid/ExGridData.h"

#include "controls/base/BaseGrid.h"
#include "controls/grid/ExGrid.h"
#include "platform/runtime/Exceptions.h"

#include <QSet>

// ---------------------------------------------------------------------------
// TGridItem

namespace {

// Frees the cell properties in the list's object slots, but those in Keep.
void FreeRowObjects(TStringList* List, const QSet<const TObject*>& Keep = {})
{
    for (int i = 0; i < List->Count(); ++i) {
        TObject* o = List->Objects(i);
        if (auto* props = dynamic_cast<TCellProperties*>(o); props && !Keep.contains(o)) {
            List->SetObjects(i, nullptr);
            delete props;
        }
    }
}

} // namespace

TGridItem::TGridItem(TCollection* Collection)
    : TCollectionItem(Collection)
    , FItems(new TStringList)
{
}

TGridItem::~TGridItem()
{
    FreeRowObjects(FItems);
    delete FItems;
}

void TGridItem::SetItems(TStringList* Value)
{
    if (Value == FItems)
        return;
    if (!Value)
        Value = new TStringList;
    // The caller may have moved the row's objects into the new list.
    QSet<const TObject*> kept;
    for (int i = 0; i < Value->Count(); ++i)
        if (const TObject* o = Value->Objects(i))
            kept.insert(o);
    FreeRowObjects(FItems, kept);
    delete FItems;
    FItems = Value;
}

// ---------------------------------------------------------------------------
// Filter conditions

void TFilterData::Assign(const TPersistent* Source)
{
    if (!Source)
        return;
    const auto* s = dynamic_cast<const TFilterData*>(Source);
    if (!s)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    Column = s->Column;
    Condition = s->Condition;
    CaseSensitive = s->CaseSensitive;
    Data = s->Data;
    Prefix = s->Prefix;
    Suffix = s->Suffix;
    Operation = s->Operation;
}

TFilter::TFilter(TExStringGrid* AOwner)
    : TCollection([](TCollection* c) { return new TFilterData(c); })
    , FOwner(AOwner)
{
}

TPersistent* TFilter::Owner() const
{
    return FOwner;
}

TFilterData* TFilter::Add()
{
    auto* item = static_cast<TFilterData*>(TCollection::Add());
    item->Operation = Count() == 1 ? TFilterOperation::foNONE : TFilterOperation::foAND;
    return item;
}

TFilterData* TFilter::Insert(int)
{
    return static_cast<TFilterData*>(TCollection::Add());
}

TFilterData* TFilter::ColumnFilter(int Col)
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col)
            return Items(i);
    TFilterData* item = Add();
    item->Column = qint16(Col);
    return item;
}

bool TFilter::HasFilter(int Col) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Column == Col)
            return true;
    return false;
}

void TFilter::RemoveColumnFilter(int Col)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Items(i)->Column == Col)
            Delete(i);
    // The header cell shows whether its column filters.
    if (FOwner)
        FOwner->RepaintCell(FOwner->DisplColIndex(Col), 0);
}

// ---------------------------------------------------------------------------
// TBackGround

TBackGround::TBackGround(TExStringGrid* AGrid)
    : FGrid(AGrid)
    , FBitmap(std::make_unique<TBitmap>())
{
}

TBackGround::~TBackGround() = default;

template <class T> void TBackGround::Store(T& Field, const T& Value)
{
    Field = Value;
    if (FGrid)
        FGrid->RepaintGrid();
}

void TBackGround::SetTop(int Value)
{
    Store(FTop, Value);
}
void TBackGround::SetLeft(int Value)
{
    Store(FLeft, Value);
}
void TBackGround::SetDisplay(TBackGroundDisplay Value)
{
    Store(FDisplay, Value);
}
void TBackGround::SetCells(TBackGroundCells Value)
{
    Store(FBackgroundCells, Value);
}
void TBackGround::SetColorTo(TColor Value)
{
    Store(FColorTo, Value);
}
void TBackGround::SetColor(TColor Value)
{
    Store(FColor, Value);
}

void TBackGround::SetBitmap(const TBitmap* Value)
{
    FBitmap->Assign(Value);
    if (FGrid)
        FGrid->RepaintGrid();
}
