// Column items and their collection: one item per real column of a column
// grid, the defaults a new item takes from its grid, the copies made when
// columns are added or moved, and the bookkeeping that keeps the grid's
// column count in step with the items.
#include "controls/grid/ExColumnGrid.h"

#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"

// ---------------------------------------------------------------------------
// Item

TGridColumnItem::TGridColumnItem(TCollection* Collection)
    : TCollectionItem(Collection)
    , FFont(std::make_unique<TFont>())
    , FPrintFont(std::make_unique<TFont>())
    , FHeaderFont(std::make_unique<TFont>())
    , FBorderPen(std::make_unique<TPen>())
    , FPrintBorderPen(std::make_unique<TPen>())
    , FComboItems(std::make_unique<TStringList>())
    , FFilter(std::make_unique<TStringList>())
{
    FBorderPen->SetWidth(1);
    FBorderPen->SetColor(TColor(0xC0C0C0));
    FPrintBorderPen->SetWidth(1);
    FPrintBorderPen->SetColor(TColor(0));
    if (TExColumnGrid* g = Grid()) {
        FFont->Assign(g->Font());
        FHeaderFont->Assign(g->Font());
        FPrintFont->Assign(g->Font());
        FColor = g->Color();
        FFont->OnChange = [this](TObject*) { Report(); };
        FHeaderFont->OnChange = [this](TObject*) { Report(); };
        FBorderPen->OnChange = [this](TObject*) { Report(); };
        FFilter->OnChange = [this](TObject*) { Repaint(); };
    }
}

TGridColumnItem::~TGridColumnItem()
{
    // Leaving the collection reports; the owned objects must not report then.
    FFont->OnChange = nullptr;
    FHeaderFont->OnChange = nullptr;
    FBorderPen->OnChange = nullptr;
    FFilter->OnChange = nullptr;
}

TExColumnGrid* TGridColumnItem::Grid() const
{
    auto* c = static_cast<TGridColumnCollection*>(Collection());
    return c ? c->Grid() : nullptr;
}

void TGridColumnItem::Report()
{
    Changed(false);
}

void TGridColumnItem::Repaint()
{
    if (TExColumnGrid* g = Grid())
        g->Invalidate();
}

void TGridColumnItem::SetColor(TColor Value)
{
    FColor = Value;
    Report();
}

void TGridColumnItem::SetShowBands(bool Value)
{
    FShowBands = Value;
    Report();
}

void TGridColumnItem::SetFixed(bool Value)
{
    FFixed = Value;
    Report();
}

void TGridColumnItem::SetPassword(bool Value)
{
    FPassword = Value;
    Report();
}

void TGridColumnItem::SetBorders(TCellBorders Value)
{
    FBorders = Value;
    Report();
}

void TGridColumnItem::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Repaint();
}

void TGridColumnItem::SetHeaderAlignment(TAlignment Value)
{
    FHeaderAlignment = Value;
    Repaint();
}

void TGridColumnItem::SetHeaderFont(const TFont* Value)
{
    FHeaderFont->Assign(Value);
    Repaint();
}

void TGridColumnItem::SetFloatFormat(const QString& Value)
{
    FFloatFormat = Value;
    Repaint();
}

void TGridColumnItem::SetEditor(TEditorType Value)
{
    const bool check = Value == TEditorType::edDataCheckBox || FEditor == TEditorType::edDataCheckBox;
    FEditor = Value;
    if (check)
        Repaint();
}

void TGridColumnItem::SetHeader(const QString& Value)
{
    FHeader = Value;
    TExColumnGrid* g = Grid();
    if (!g)
        return;
    if (g->FixedRows() > 0 && !g->ColMoving()) {
        g->SetCellEx(Index(), 0, Value);
        Report();
    }
    TGridColumnCollection* c = g->Columns();
    TStringList* headers = g->ColumnHeaders();
    headers->BeginUpdate();
    headers->Clear();
    for (int i = 0; i < c->Count(); ++i)
        headers->Add(c->GetItem(i)->Header());
    headers->EndUpdate();
}

int TGridColumnItem::Width() const
{
    const TExColumnGrid* g = Grid();
    if (!g)
        return 0;
    // An item beyond the grid's columns has only its cached width.
    const int i = Index();
    return i < g->TotalColCount() ? g->AllColWidths(i) : FWidthCache;
}

void TGridColumnItem::SetWidth(int Value)
{
    FWidthCache = Value;
    TExColumnGrid* g = Grid();
    if (g && Index() < g->TotalColCount())
        g->SetAllColWidths(Index(), Value);
}

// Cells of the column.
QString TGridColumnItem::Rows(int ARow) const
{
    return Grid() ? Grid()->GetCellEx(Index(), ARow) : QString();
}
void TGridColumnItem::SetRows(int ARow, const QString& Value)
{
    if (TExColumnGrid* g = Grid())
        g->SetCellEx(Index(), ARow, Value);
}
int TGridColumnItem::Ints(int ARow) const
{
    return Grid() ? Grid()->Ints(Index(), ARow) : 0;
}
void TGridColumnItem::SetInts(int ARow, int Value)
{
    if (TExColumnGrid* g = Grid())
        g->SetInts(Index(), ARow, Value);
}
double TGridColumnItem::Floats(int ARow) const
{
    return Grid() ? Grid()->Floats(Index(), ARow) : 0.0;
}
void TGridColumnItem::SetFloats(int ARow, double Value)
{
    if (TExColumnGrid* g = Grid())
        g->SetFloats(Index(), ARow, Value);
}
TDateTime TGridColumnItem::Dates(int ARow) const
{
    return Grid() ? Grid()->Dates(Index(), ARow) : TDateTime(0);
}
void TGridColumnItem::SetDates(int ARow, TDateTime Value)
{
    if (TExColumnGrid* g = Grid())
        g->SetDates(Index(), ARow, Value);
}
TDateTime TGridColumnItem::Times(int ARow) const
{
    return Grid() ? Grid()->Times(Index(), ARow) : TDateTime(0);
}
void TGridColumnItem::SetTimes(int ARow, TDateTime Value)
{
    if (TExColumnGrid* g = Grid())
        g->SetTimes(Index(), ARow, Value);
}

void TGridColumnItem::CopyCommon(const TGridColumnItem* S)
{
    FAlignment = S->FAlignment;
    FHeaderAlignment = S->FHeaderAlignment;
    FBorderPen->Assign(S->FBorderPen.get());
    FBorders = S->FBorders;
    FCheckFalse = S->FCheckFalse;
    FCheckTrue = S->FCheckTrue;
    FEditLength = S->FEditLength;
    FEditLink = S->FEditLink;
    FEditMask = S->FEditMask;
    FEditor = S->FEditor;
    FFixed = S->FFixed;
    FPassword = S->FPassword;
    FPrintBorderPen->Assign(S->FPrintBorderPen.get());
    FPrintBorders = S->FPrintBorders;
    FPrintColor = S->FPrintColor;
    FPrintFont->Assign(S->FPrintFont.get());
    FReadOnly = S->FReadOnly;
    FSortPrefix = S->FSortPrefix;
    FSortStyle = S->FSortStyle;
    FSortSuffix = S->FSortSuffix;
    FSpinMax = S->FSpinMax;
    FSpinMin = S->FSpinMin;
    FSpinStep = S->FSpinStep;
    FColumnPopup = S->FColumnPopup;
    FWidthCache = S->Width();
    FShowBands = S->FShowBands;
    FMinSize = S->FMinSize;
    FMaxSize = S->FMaxSize;
    FAutoMinSize = S->FAutoMinSize;
    FAutoMaxSize = S->FAutoMaxSize;
    FFilter->Assign(S->FFilter.get());
    FFilterCaseSensitive = S->FFilterCaseSensitive;
    FDefIdx = S->FDefIdx;
    FFloatFormat = S->FFloatFormat;
}

void TGridColumnItem::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TGridColumnItem*>(Source);
    if (!s)
        return;
    // Straight into the fields: the owned objects' change reports stay quiet.
    const auto fontChange = FFont->OnChange;
    const auto headerChange = FHeaderFont->OnChange;
    const auto penChange = FBorderPen->OnChange;
    const auto filterChange = FFilter->OnChange;
    FFont->OnChange = nullptr;
    FHeaderFont->OnChange = nullptr;
    FBorderPen->OnChange = nullptr;
    FFilter->OnChange = nullptr;
    CopyCommon(s);
    FColor = s->FColor;
    FComboItems->Assign(s->FComboItems.get());
    FDropDownCount = s->FDropDownCount;
    FFont->Assign(s->FFont.get());
    FHeaderFont->Assign(s->FHeaderFont.get());
    FHeader = s->FHeader;
    FName = s->FName;
    FTag = s->FTag;
    FFont->OnChange = fontChange;
    FHeaderFont->OnChange = headerChange;
    FBorderPen->OnChange = penChange;
    FFilter->OnChange = filterChange;
}

void TGridColumnItem::AssignVisuals(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TGridColumnItem*>(Source);
    if (!s)
        return;
    const auto fontChange = FFont->OnChange;
    const auto penChange = FBorderPen->OnChange;
    const auto filterChange = FFilter->OnChange;
    FFont->OnChange = nullptr;
    FBorderPen->OnChange = nullptr;
    FFilter->OnChange = nullptr;
    CopyCommon(s);
    if (const TExColumnGrid* g = Grid()) {
        FColor = g->Color();
        FFont->Assign(g->Font());
    }
    FFont->OnChange = fontChange;
    FBorderPen->OnChange = penChange;
    FFilter->OnChange = filterChange;
}

QString TGridColumnItem::ItemDisplayName() const
{
    if (!FName.isEmpty())
        return QStringLiteral("Col %1: %2").arg(Index()).arg(FName);
    return QStringLiteral("Column %1").arg(Index());
}

// ---------------------------------------------------------------------------
// Collection

TGridColumnCollection::TGridColumnCollection(TExColumnGrid* AOwner)
    : TCollection([](TCollection* c) { return new TGridColumnItem(c); })
    , FOwner(AOwner)
{
}

TPersistent* TGridColumnCollection::Owner() const
{
    return FOwner;
}

TGridColumnItem* TGridColumnCollection::Add()
{
    auto* item = static_cast<TGridColumnItem*>(TCollection::Add());
    if (Count() > 1)
        item->AssignVisuals(GetItem(Count() - 2));
    return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int Index)
{
    return static_cast<TGridColumnItem*>(TCollection::Insert(Index));
}

void TGridColumnCollection::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (UpdateCount() > 0 || FNoRecursiveUpdate || !FOwner || FOwner->IsLoading())
        return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (n != FOwner->ColCount() && n > FOwner->FixedCols())
        FOwner->SetColCount(n);
    FOwner->SyncColumnHeaders();
    FOwner->Invalidate();
}

void TGridColumnCollection::SetOrganization()
{
    FNoRecursiveUpdate = true;
    if (FOwner)
        FOwner->SyncColumnItems();
    FNoRecursiveUpdate = false;
    for (int i = 0; i < Count(); ++i)
        GetItem(i)->SetDefIdx(i);
}

void TGridColumnCollection::ResetOrganization()
{
    if (!FOwner)
        return;
    // Each pass that moves settles at least one column; a set of DefIdx that
    // is no permutation would otherwise move columns for ever.
    for (int pass = 0; pass < Count(); ++pass) {
        bool moved = false;
        for (int i = 0; i < Count(); ++i) {
            const int to = GetItem(i)->DefIdx();
            if (to < i && to >= 0) {
                FOwner->MoveColumn(FOwner->DisplColIndex(i), FOwner->DisplColIndex(to));
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}
