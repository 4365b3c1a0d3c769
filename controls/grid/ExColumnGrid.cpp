// The column grid: keeping one item per real column, the items' answers to
// the string grid's per-cell questions, column sizes, moves, grouping,
// filter entries and the INI column positions.
#include "controls/grid/ExColumnGrid.h"

#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <vector>

namespace {

// Sets the collection's no-feedback flag for a scope and puts back what it was.
class TNoFeedback {
public:
    explicit TNoFeedback(TGridColumnCollection* C)
        : FC(C)
        , FWas(C->FNoRecursiveUpdate)
    {
        C->FNoRecursiveUpdate = true;
    }
    ~TNoFeedback() { FC->FNoRecursiveUpdate = FWas; }
    TNoFeedback(const TNoFeedback&) = delete;
    TNoFeedback& operator=(const TNoFeedback&) = delete;

private:
    TGridColumnCollection* FC;
    bool FWas;
};

} // namespace

TExColumnGrid::TExColumnGrid(TComponent* AOwner)
    : TExStringGrid(AOwner)
{
    FColumnCollection = CreateColumnCollection();
    {
        TNoFeedback guard(FColumnCollection.get());
        SyncColumnItems();
    }
    FColCellGraphic = std::make_unique<TCellGraphic>();
    FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
}

TExColumnGrid::~TExColumnGrid()
{
    // The items must not reach back into a grid that is going.
    FColumnCollection->FNoRecursiveUpdate = true;
    FColumnCollection->BeginUpdate();
    FColumnCollection.reset();
}

std::unique_ptr<TGridColumnCollection> TExColumnGrid::CreateColumnCollection()
{
    return std::make_unique<TGridColumnCollection>(this);
}

TGridColumnItem* TExColumnGrid::ItemOf(int ACol) const
{
    if (!FColumnCollection || ACol < 0 || ACol >= FColumnCollection->Count())
        return nullptr;
    return FColumnCollection->GetItem(ACol);
}

bool TExColumnGrid::IsBody(int ACol, int ARow) const
{
    return IsNormal(ACol, ARow) && ACol < ColCount() + NumHiddenColumns() - FixedRightCols()
        && ARow < RowCount() - FixedFooters();
}

void TExColumnGrid::SetColumns(const TGridColumnCollection* Value)
{
    FColumnCollection->Assign(Value);
}

void TExColumnGrid::SetColCount(int Value)
{
    TExStringGrid::SetColCount(Value);
    if (!FColumnCollection)
        return;
    TNoFeedback guard(FColumnCollection.get());
    SyncColumnItems();
}

void TExColumnGrid::SyncColumnItems()
{
    const int want = ColCount() + NumHiddenColumns();
    while (FColumnCollection->Count() < want)
        FColumnCollection->Add();
    while (FColumnCollection->Count() > want)
        delete FColumnCollection->GetItem(FColumnCollection->Count() - 1);
}

void TExColumnGrid::SyncColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    TStringList* headers = ColumnHeaders();
    headers->BeginUpdate();
    headers->Clear();
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->GetItem(i);
        if (item->Header().isEmpty() && !GetCellEx(i, 0).isEmpty())
            item->SetHeaderDirect(GetCellEx(i, 0));
        headers->Add(item->Header());
    }
    headers->EndUpdate();
}

void TExColumnGrid::UpdateColumnHeaders()
{
    const TStringList* headers = ColumnHeaders();
    const int n = std::min(headers->Count(), FColumnCollection ? FColumnCollection->Count() : 0);
    for (int i = 0; i < n; ++i)
        FColumnCollection->GetItem(i)->SetHeaderDirect(headers->Strings(i));
}

void TExColumnGrid::RecalcFooter()
{
    TExStringGrid::RecalcFooter();
    TNoFeedback guard(FColumnCollection.get());
    SyncColumnItems();
}

void TExColumnGrid::Loaded()
{
    TExStringGrid::Loaded();
    SyncColumnItems();
    FColumnCollection->SetOrganization();
}

void TExColumnGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TExStringGrid::Notification(AComponent, Operation);
    if (Operation != opRemove || !FColumnCollection)
        return;
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->GetItem(i);
        if (static_cast<TComponent*>(item->EditLink()) == AComponent)
            item->SetEditLink(nullptr);
        if (static_cast<TComponent*>(item->ColumnPopup()) == AComponent)
            item->SetColumnPopup(nullptr);
    }
}

TGridColumnItem* TExColumnGrid::GetColumnByName(const QString& AName) const
{
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        if (FColumnCollection->GetItem(i)->Name() == AName)
            return FColumnCollection->GetItem(i);
    return nullptr;
}

int TExColumnGrid::GetVersionNr()
{
    return 50397953; // 3.1.3.1
}

QString TExColumnGrid::GetVersionString()
{
    const quint32 v = quint32(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4 Aug, 2012")
        .arg(v >> 24)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

// ---------------------------------------------------------------------------
// Per-cell questions

QString TExColumnGrid::GetFormattedCell(int ACol, int ARow)
{
    const TGridColumnItem* item = ItemOf(ACol);
    if (!item)
        return TExStringGrid::GetFormattedCell(ACol, ARow);
    const QString text = GetCellEx(ACol, ARow);
    QString fmt = item->FloatFormat();
    const int kind = ClassifyCellNumber(text);
    bool isFloat = kind == 0 || kind == 1; // an exponent does not count
    if (OnGetFloatFormat)
        OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (fmt.isEmpty() || !isFloat)
        return text;
    try {
        return Format(fmt, { TVarRec(Floats(ACol, ARow)) });
    } catch (...) {
        return text;
    }
}

QString TExColumnGrid::GetFloatFormat(int ACol, int ARow)
{
    const TGridColumnItem* item = ItemOf(ACol);
    if (item && !item->FloatFormat().isEmpty())
        return item->FloatFormat();
    return TExStringGrid::GetFloatFormat(ACol, ARow);
}

TCellType TExColumnGrid::GetCellType(int ACol, int ARow)
{
    const TCellType t = TExStringGrid::GetCellType(ACol, ARow);
    const TGridColumnItem* item = ItemOf(ACol);
    if (t == ctEmpty && item && IsBody(ACol, ARow) && item->Editor() == TEditorType::edDataCheckBox)
        return ctDataCheckBox;
    return t;
}

TCellGraphic* TExColumnGrid::GetCellGraphic(int ACol, int ARow)
{
    TCellGraphic* g = TExStringGrid::GetCellGraphic(ACol, ARow);
    if (g || IsDestroying())
        return g;
    const TGridColumnItem* item = ItemOf(ACol);
    if (!item || !IsBody(ACol, ARow) || item->Editor() != TEditorType::edDataCheckBox)
        return nullptr;
    FColCellGraphic->SetCellType(ctVirtCheckBox);
    FColCellGraphic->SetCellTransparent(ControlLook()->ControlStyle() == TGridControlStyle::csFlat);
    return FColCellGraphic.get();
}

void TExColumnGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    const TGridColumnItem* item = ItemOf(ACol);
    if (item && ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols()
        && ARow < RowCount() - FixedFooters()) {
        if (item->Fixed())
            ABrush->SetColor(FixedColor());
        else if (ARow >= FixedRows() && !(item->ShowBands() && Bands()->Active()))
            ABrush->SetColor(item->Color());
        AFont->Assign(ARow < FixedRows() ? item->HeaderFont() : item->Font());
        if (TCellProperties* p = HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow) : nullptr) {
            if (p->BrushColor() != clNone)
                ABrush->SetColor(p->BrushColor());
            if (p->FontColor() != clNone)
                AFont->SetColor(p->FontColor());
        }
    }
    TExStringGrid::GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TExColumnGrid::DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (const TGridColumnItem* item = ItemOf(ACol)) {
        TCellProperties* p = HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow) : nullptr;
        if (!IsBody(ACol, ARow)) {
            AFont->Assign(PrintSettings()->FixedFont());
        } else {
            if (item->Fixed())
                ABrush->SetColor(FixedColor());
            else if (!(item->ShowBands() && Bands()->Active() && Bands()->Print)) {
                ABrush->SetColor(item->PrintColor());
                if (p && p->BrushColor() != clNone)
                    ABrush->SetColor(p->BrushColor());
            }
            if (item->PrintFontCustom()) {
                AFont->Assign(item->PrintFont());
                if (p) {
                    if (p->FontColor() != clNone)
                        AFont->SetColor(p->FontColor());
                    if (p->FontStyle())
                        AFont->SetStyle(p->FontStyle());
                    if (p->FontSize() != 0)
                        AFont->SetSize(p->FontSize());
                    if (!p->FontName().isEmpty())
                        AFont->SetName(p->FontName());
                }
            } else {
                AFont->Assign(PrintSettings()->Font());
            }
        }
    }
    TExStringGrid::DoGetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TExColumnGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (const TGridColumnItem* item = ItemOf(ACol); item && IsNormal(ACol, ARow)) {
        Borders = item->Borders();
        APen->Assign(item->BorderPen());
    }
    TExStringGrid::GetCellBorder(ACol, ARow, APen, Borders);
}

void TExColumnGrid::DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (const TGridColumnItem* item = ItemOf(ACol); item && IsNormal(ACol, ARow) && item->PrintBorderCustom()) {
        Borders = item->PrintBorders();
        APen->Assign(item->PrintBorderPen());
    }
    TExStringGrid::DoGetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TExColumnGrid::DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (const TGridColumnItem* item = ItemOf(ACol)) {
        HAlign = ARow < FixedRows() ? item->HeaderAlignment() : item->Alignment();
        if (TCellProperties* p = HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow) : nullptr)
            HAlign = p->Alignment();
    }
    TExStringGrid::DoGetAlignment(ACol, ARow, HAlign, VAlign);
}

void TExColumnGrid::DoGetFormat(int ACol, TSortStyle& AStyle, QString& APrefix, QString& ASuffix)
{
    if (const TGridColumnItem* item = ItemOf(ACol)) {
        AStyle = item->SortStyle();
        APrefix = item->SortPrefix();
        ASuffix = item->SortSuffix();
    }
    TExStringGrid::DoGetFormat(ACol, AStyle, APrefix, ASuffix);
}

void TExColumnGrid::GetEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    // The item's float format is not copied into the grid's: GetFloatFormat
    // already answers per column, and a lasting change would reformat every
    // other column.
    if (const TGridColumnItem* item = ItemOf(ACol); item && IsNormal(ACol, ARow)) {
        AEditor = item->Editor();
        ComboItems()->Assign(item->ComboItems());
        SetEditLink(item->EditLink());
        ControlLook()->DropDownCount = item->DropDownCount();
    }
    TExStringGrid::GetEditorType(ACol, ARow, AEditor);
}

void TExColumnGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    if (const TGridColumnItem* item = ItemOf(RealColIndex(ACol)); item && IsNormal(ACol, ARow))
        IsFixed = item->Fixed();
    TExStringGrid::IsFixedCell(ACol, ARow, IsFixed);
}

void TExColumnGrid::CanEditCell(int ACol, int ARow, bool& CanEdit)
{
    CanEdit = false;
    if (!IsLoading() && IsNormal(ACol, ARow))
        if (const TGridColumnItem* item = ItemOf(ACol))
            CanEdit = !(item->ReadOnly() || item->Fixed());
    const TPoint base = BaseCell(ACol, ARow);
    if (CanEdit && HasCellProperties(ACol, ARow))
        CanEdit = !GetCellProperties(ACol, ARow)->ReadOnly();
    DoCanEditCell(base.X, base.Y, CanEdit);
}

void TExColumnGrid::DoIsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (const TGridColumnItem* item = ItemOf(ACol))
        IsPassword = item->Password();
    TExStringGrid::DoIsPasswordCell(ACol, ARow, IsPassword);
}

bool TExColumnGrid::HasComboBox(int ACol, int ARow)
{
    bool has = false;
    if (const TGridColumnItem* item = ItemOf(ACol); item && IsNormal(ACol, ARow))
        has = item->Editor() == TEditorType::edComboEdit || item->Editor() == TEditorType::edComboList;
    if (OnHasComboBox)
        OnHasComboBox(this, ACol, ARow, has);
    return has;
}

QString TExColumnGrid::GetCheckTrue(int ACol, int ARow)
{
    const QString s = TExStringGrid::GetCheckTrue(ACol, ARow);
    const TGridColumnItem* item = ItemOf(ACol);
    return item && IsBody(ACol, ARow) ? item->CheckTrue() : s;
}

QString TExColumnGrid::GetCheckFalse(int ACol, int ARow)
{
    const QString s = TExStringGrid::GetCheckFalse(ACol, ARow);
    const TGridColumnItem* item = ItemOf(ACol);
    return item && IsBody(ACol, ARow) ? item->CheckFalse() : s;
}

QString TExColumnGrid::QueryEditMask(int ACol, int ARow)
{
    QString mask;
    if (ACol >= FixedCols())
        if (const TGridColumnItem* item = ItemOf(RealColIndex(ACol)))
            mask = item->EditMask();
    const QString own = TExStringGrid::QueryEditMask(ACol, ARow);
    return own.isEmpty() ? mask : own;
}

int TExColumnGrid::GetEditLimit()
{
    if (Col() >= FixedCols())
        if (const TGridColumnItem* item = ItemOf(RealColIndex(Col())))
            return item->EditLength();
    return TExStringGrid::GetEditLimit();
}

// ---------------------------------------------------------------------------
// Filter entries

bool TExColumnGrid::GetColumnFilterValues(int ACol)
{
    FilterList()->SetSorted(false);
    TExStringGrid::GetColumnFilterValues(ACol);
    const TGridColumnItem* item = ItemOf(ACol);
    if (!item || item->Filter()->Count() == 0)
        return false;
    TStringList* list = FilterList();
    list->Clear();
    for (int i = 0; i < item->Filter()->Count(); ++i) {
        const QString e = item->Filter()->Strings(i);
        const int eq = e.indexOf(QLatin1Char('='));
        list->Add(eq < 0 ? e : e.left(eq));
    }
    return true;
}

void TExColumnGrid::FilterDropDownSelect(TObject* Sender, int ItemIndex)
{
    const int col = FilterColumn();
    TGridColumnItem* item = ItemOf(col);
    if (!item || item->Filter()->Count() == 0) {
        TExStringGrid::FilterDropDownSelect(Sender, ItemIndex);
        return;
    }
    if (ItemIndex >= 0 && ItemIndex < item->Filter()->Count()) {
        const QString entry = item->Filter()->Strings(ItemIndex);
        const int eq = entry.indexOf(QLatin1Char('='));
        const QString caption = eq < 0 ? entry : entry.left(eq);
        QString condition = eq < 0 ? entry : entry.mid(eq + 1);
        if (FAutoFilterDisplay)
            item->SetHeader(caption);
        if (AutoFilterUpdate())
            SetFilterActive(false);
        if (OnFilterSelect)
            OnFilterSelect(this, col, ItemIndex, caption, condition);
        TFilterData* f = Filter()->ColumnFilter(col);
        f->Condition = condition;
        f->CaseSensitive = item->FilterCaseSensitive();
        if (AutoFilterUpdate()) {
            SetFilterActive(true);
            if (RowCount() != FixedRows() && !(RowCount() == 1 && FixedRowAlways()))
                SetRow(FixedRows());
            DoFilterDone();
        }
    }
    FFilterCol = -1;
}

// ---------------------------------------------------------------------------
// Column sizes

void TExColumnGrid::UpdateColumnSize(int ACol, int& AWidth)
{
    if (const TGridColumnItem* item = ItemOf(RealColIndex(ACol))) {
        if (item->MinSize() > 0 && AWidth < item->MinSize())
            AWidth = item->MinSize();
        if (item->MaxSize() > 0 && AWidth > item->MaxSize())
            AWidth = item->MaxSize();
    }
    TExStringGrid::UpdateColumnSize(ACol, AWidth);
}

void TExColumnGrid::UpdateAutoColumnSize(int ACol, int& AWidth)
{
    if (const TGridColumnItem* item = ItemOf(RealColIndex(ACol))) {
        if (item->AutoMinSize() > 0 && AWidth < item->AutoMinSize())
            AWidth = item->AutoMinSize();
        if (item->AutoMaxSize() > 0 && AWidth > item->AutoMaxSize())
            AWidth = item->AutoMaxSize();
    }
    TExStringGrid::UpdateAutoColumnSize(ACol, AWidth);
}

void TExColumnGrid::HandleColWidthsChange()
{
    TExStringGrid::HandleColWidthsChange();
    if (IsLoading() || IsDestroying() || !FColumnCollection)
        return;
    for (int c = 0; c < ColCount(); ++c)
        if (TGridColumnItem* item = ItemOf(RealColIndex(c)))
            item->SetWidthCache(ColWidths(c));
}

void TExColumnGrid::HandleChangeScale(int M, int D)
{
    TExStringGrid::HandleChangeScale(M, D);
    if (IsDesigning() || M == D || !FColumnCollection)
        return;
    // Every item, hidden columns included.
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->GetItem(i);
        item->Font()->SetSize(MulDiv(item->Font()->Size(), M, D));
        item->HeaderFont()->SetSize(MulDiv(item->HeaderFont()->Size(), M, D));
    }
}

// ---------------------------------------------------------------------------
// Column operations

void TExColumnGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    TGridColumnCollection* c = FColumnCollection.get();
    TNoFeedback guard(c);
    const int top = TopRow();
    const int fromReal = RealColIndex(FromIndex);
    const int toReal = RealColIndex(ToIndex);
    TExStringGrid::ColumnMoved(FromIndex, ToIndex);
    if (fromReal < c->Count() && toReal < c->Count() && fromReal != toReal) {
        BeginUpdate();
        FColMoving = true;
        // A copy travels: what Assign does not carry takes its defaults.
        c->Add()->Assign(c->GetItem(fromReal));
        delete c->GetItem(fromReal);
        c->Insert(toReal)->Assign(c->GetItem(c->Count() - 1));
        delete c->GetItem(c->Count() - 1);
        SetTopRow(top);
        FColMoving = false;
        EndUpdate();
    }
    if (OnAfterColumnMoved)
        OnAfterColumnMoved(this, fromReal, toReal);
}

void TExColumnGrid::ColumnsPermuted(int First, const std::vector<int>& Order)
{
    TGridColumnCollection* c = FColumnCollection.get();
    const int n = int(Order.size());
    // Where each shown column's item must end, by real index; hidden
    // columns' items keep their places.
    std::vector<std::pair<int, TCollectionItem*>> wanted;
    wanted.reserve(std::size_t(n));
    for (int k = 0; k < n; ++k) {
        const int to = RealColIndex(First + k);
        const int from = RealColIndex(Order[std::size_t(k)]);
        if (to < c->Count() && from < c->Count())
            wanted.emplace_back(to, c->Items(from));
    }
    TExStringGrid::ColumnsPermuted(First, Order);
    TNoFeedback guard(c);
    std::sort(wanted.begin(), wanted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [p, item] : wanted) {
        const int q = item->Index();
        if (q == p)
            continue;
        // A swap of positions p and q (q > p: the lower ones are placed).
        TCollectionItem* occupant = c->Items(p);
        item->SetIndex(p);
        occupant->SetIndex(q);
    }
}

void TExColumnGrid::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExStringGrid::HandleMouseDown(Button, Shift, X, Y);
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (col < 0 || row < 0)
        return;
    // The item of the real column, hidden columns before it counted.
    TGridColumnItem* item = ItemOf(RealColIndex(col));
    if (!item || !item->ColumnPopup() || (Button != mbLeft && Button != mbRight))
        return;
    using P = TColumnPopupType;
    const P t = item->ColumnPopupType();
    const bool left = Button == mbLeft;
    const P fixedType = left ? P::cpFixedCellsLClick : P::cpFixedCellsRClick;
    const P normalType = left ? P::cpNormalCellsLClick : P::cpNormalCellsRClick;
    const P allType = left ? P::cpAllCellsLClick : P::cpAllCellsRClick;
    if (t != fixedType && t != normalType && t != allType)
        return;
    TPopupMenu* menu = item->ColumnPopup();
    if (OnColumnPopup)
        OnColumnPopup(this, col, row, menu);
    const bool fixedRow = row < FixedRows();
    if ((fixedRow && (t == fixedType || t == allType)) || (!fixedRow && (t == normalType || t == allType))) {
        const TRect r = CellRect(col, row);
        const TPoint at = ClientToScreen(TPoint(r.Left, r.Bottom));
        menu->Popup(at.X, at.Y);
    }
}

void TExColumnGrid::InsertCols(int ColIndex, int CCount)
{
    TExStringGrid::InsertCols(ColIndex, CCount);
    TNoFeedback guard(FColumnCollection.get());
    for (int i = 0; i < CCount; ++i)
        FColumnCollection->Insert(std::min(ColIndex, FColumnCollection->Count()));
    SyncColumnItems();
}

void TExColumnGrid::RemoveCols(int ColIndex, int CCount)
{
    TExStringGrid::RemoveCols(ColIndex, CCount);
    TNoFeedback guard(FColumnCollection.get());
    for (int i = 0; i < CCount && ColIndex < FColumnCollection->Count(); ++i)
        FColumnCollection->Delete(ColIndex);
    SyncColumnItems();
}

void TExColumnGrid::Group(int Colindex)
{
    if (const TGridColumnItem* item = ItemOf(Colindex))
        FSaveCol->Assign(item);
    TExStringGrid::Group(Colindex);
}

void TExColumnGrid::UnGroup()
{
    const int col = GroupColumn();
    TExStringGrid::UnGroup();
    if (col != -1)
        if (TGridColumnItem* item = ItemOf(col))
            item->Assign(FSaveCol.get());
}

// ---------------------------------------------------------------------------
// INI column positions

namespace {
QString PositionKey(int i)
{
    return QStringLiteral("CP%1").arg(i);
}
} // namespace

void TExColumnGrid::SaveColumnPositions(const QString& Key, const QString& Section)
{
    TIniFile ini(Key);
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        ini.WriteInteger(Section, PositionKey(i), FColumnCollection->GetItem(i)->DefIdx());
}

void TExColumnGrid::LoadColumnPositions(const QString& Key, const QString& Section)
{
    const TIniFile ini(Key);
    const int n = FColumnCollection->Count();
    std::vector<int> at(std::size_t(n), -1);
    std::vector<bool> seen(std::size_t(n), false);
    for (int j = 0; j < n; ++j) {
        bool ok = false;
        const int k = ini.ReadString(Section, PositionKey(j), QString()).trimmed().toInt(&ok);
        // A missing key, a non-number, a value out of range or a repeat: the
        // file does not describe an order, so nothing changes.
        if (!ok || k < 0 || k >= n || seen[std::size_t(k)])
            return;
        seen[std::size_t(k)] = true;
        at[std::size_t(j)] = k;
    }
    if (ini.ValueExists(Section, PositionKey(n)))
        return; // more positions than columns
    ResetColumnOrder();
    for (int j = 0; j < n; ++j)
        FColumnCollection->GetItem(at[std::size_t(j)])->SetDefIdx(j);
    FColumnCollection->ResetOrganization();
    for (int i = 0; i < n; ++i)
        FColumnCollection->GetItem(i)->SetDefIdx(at[std::size_t(i)]);
}

void TExColumnGrid::SaveColPositions()
{
    if (ColumnSize()->Location == TColumnSizeLocation::clIniFile)
        SaveColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
    else
        TExStringGrid::SaveColPositions();
}

void TExColumnGrid::LoadColPositions()
{
    if (ColumnSize()->Location == TColumnSizeLocation::clIniFile)
        LoadColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
    else
        TExStringGrid::LoadColPositions();
}

// ---------------------------------------------------------------------------
// Stream container

TExColumnGridIO::TExColumnGridIO(TComponent* AOwner, TExColumnGrid* AGrid)
    : TComponent(AOwner)
    , FItems(std::make_unique<TGridColumnCollection>(AGrid))
{
    FItems->FNoRecursiveUpdate = true;
}
