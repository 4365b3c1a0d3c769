// The column grid: items kept one per real column, what an added or inserted
// item starts with, headers, the per-cell answers the items give before the
// string grid's own, column moves carrying the items, and the INI column
// positions.

#include "controls/grid/ExColumnGrid.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>

#include <string>
#include <vector>

namespace {

class TProbeGrid : public TExColumnGrid {
public:
    using TExColumnGrid::CanEditCell;
    using TExColumnGrid::FilterDropDownSelect;
    using TExColumnGrid::GetColumnFilterValues;
    void StartFilterSelect(int ACol) { FFilterCol = ACol; }
    void PrintColorOf(int ACol, int ARow, TBrush* B, TFont* F) { DoGetCellPrintColor(ACol, ARow, {}, B, F); }
    using TExColumnGrid::GetCheckTrue;
    using TExColumnGrid::GetEditorType;
    using TExColumnGrid::GetFormattedCell;
    using TExColumnGrid::HasComboBox;
    using TExColumnGrid::IsFixedCell;
    using TExColumnGrid::TExColumnGrid;
    using TExColumnGrid::UpdateColumnSize;
};

using Grid = TGridOnForm<TProbeGrid>;

TStringList* List(std::initializer_list<const char*> items)
{
    static TStringList list;
    list.Clear();
    for (const char* s : items)
        list.Add(QString::fromUtf8(s));
    return &list;
}

} // namespace

TEST(ExColumnGridItems, OneItemPerRealColumnThroughCountInsertAndRemove)
{
    Grid f(5, 4, 300, 120);
    TProbeGrid* g = f.Grid;
    TGridColumnCollection* c = g->Columns();
    EXPECT_EQ(c->Count(), 5);
    g->HideColumn(2);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(c->Count(), 5) << "a hidden column keeps its item";

    // Growing copies the look of the last item, not its entries or header.
    TGridColumnItem* last = c->GetItem(4);
    last->SetEditor(TEditorType::edComboList);
    last->SetComboItems(List({ "A", "B", "C", "D", "E" }));
    last->SetHeader(QStringLiteral("Last"));
    last->SetName(QStringLiteral("L"));
    last->SetTag(7);
    last->SetReadOnly(true);
    g->SetColCount(6);
    ASSERT_EQ(c->Count(), 7);
    for (int i : { 5, 6 }) {
        SCOPED_TRACE(i);
        const TGridColumnItem* added = c->GetItem(i);
        EXPECT_EQ(added->Editor(), TEditorType::edComboList);
        EXPECT_TRUE(added->ReadOnly());
        EXPECT_EQ(added->ComboItems()->Count(), 0);
        EXPECT_EQ(added->Header(), QString());
        EXPECT_EQ(added->Name(), QString());
        EXPECT_EQ(added->Tag(), 0);
    }

    // Inserted columns get plain items at their place; removal takes them out.
    g->InsertCols(1, 2);
    ASSERT_EQ(c->Count(), 9);
    EXPECT_EQ(c->GetItem(1)->Editor(), TEditorType::edNormal);
    EXPECT_FALSE(c->GetItem(2)->ReadOnly());
    EXPECT_EQ(c->GetItem(6)->Header(), QStringLiteral("Last"));
    g->RemoveCols(1, 2);
    EXPECT_EQ(c->Count(), 7);
    EXPECT_EQ(c->GetItem(4)->Header(), QStringLiteral("Last"));
    EXPECT_EQ(c->Count(), g->ColCount() + g->NumHiddenColumns());
}

TEST(ExColumnGridItems, NewItemTakesTheGridsFontAndColourAddAndInsertDiffer)
{
    Grid f(2, 3, 200, 100);
    TProbeGrid* g = f.Grid;
    g->Font()->SetName(QStringLiteral("Verdana"));
    g->Font()->SetSize(8);
    g->SetColor(TColor(0x00FFFF));
    TGridColumnCollection* c = g->Columns();
    TGridColumnItem* item = c->Insert(0);
    for (const TFont* font : { item->Font(), item->HeaderFont(), item->PrintFont() }) {
        EXPECT_EQ(font->Name(), QStringLiteral("Verdana"));
        EXPECT_EQ(font->Size(), 8);
    }
    EXPECT_EQ(item->Color(), TColor(0x00FFFF));
    EXPECT_EQ(item->PrintColor(), TColor(0xFFFFFF));
    EXPECT_EQ(item->DropDownCount(), 8);
    EXPECT_EQ(item->CheckTrue(), QStringLiteral("Y"));
    EXPECT_EQ(item->CheckFalse(), QStringLiteral("N"));
    EXPECT_EQ(item->SpinStep(), 1);
    EXPECT_EQ(item->BorderPen()->Color(), TColor(0xC0C0C0));

    // A spare item outside any collection stays at the platform's defaults.
    TGridColumnItem spare(nullptr);
    EXPECT_EQ(spare.Color(), TColor(0));
    EXPECT_EQ(spare.Width(), 0);
    EXPECT_NE(spare.Font()->Name(), QStringLiteral("Verdana"));

    // Assign leaves the popup type and the print switches alone.
    TGridColumnItem* a = c->GetItem(1);
    a->SetColumnPopupType(TColumnPopupType::cpAllCellsLClick);
    a->SetPrintFontCustom(false);
    a->SetHeaderDirect(QStringLiteral("H"));
    TGridColumnItem* b = c->GetItem(2);
    b->Assign(a);
    EXPECT_EQ(b->ColumnPopupType(), TColumnPopupType::cpFixedCellsRClick);
    EXPECT_TRUE(b->PrintFontCustom());
    EXPECT_EQ(b->Header(), QStringLiteral("H"));
}

TEST(ExColumnGridItems, UpdateBringsTheColumnCountInStep)
{
    struct Case {
        const char* Name;
        int Items;
        int Hidden;
        int FixedCols;
        int ColCount;
        int Expected;
    };
    // Items beyond the columns set the count; too few normal columns leave it.
    const Case cases[] = {
        { "three items, one hidden", 3, 1, 1, 3, 2 },
        { "two items, one hidden: only the fixed column would stay", 2, 1, 1, 3, 3 },
        { "five items", 5, 0, 1, 3, 5 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Grid f(4, 3, 300, 100);
        TProbeGrid* g = f.Grid;
        g->SetFixedCols(k.FixedCols);
        if (k.Hidden)
            g->HideColumn(3);
        TGridColumnCollection* c = g->Columns();
        // Set the state without feedback, then report one change.
        c->FNoRecursiveUpdate = true;
        g->SetColCount(k.ColCount);
        while (c->Count() > k.Items)
            delete c->GetItem(c->Count() - 1);
        while (c->Count() < k.Items)
            c->Insert(c->Count());
        c->FNoRecursiveUpdate = false;
        ASSERT_EQ(g->ColCount(), k.ColCount);
        ASSERT_EQ(c->Count(), k.Items);
        c->GetItem(0)->SetColor(TColor(0x123456));
        EXPECT_EQ(g->ColCount(), k.Expected);
    }
}

TEST(ExColumnGridItems, HeadersDisplayNamesAndOrganization)
{
    for (int fixedRows : { 1, 0 }) {
        SCOPED_TRACE(fixedRows);
        Grid f(3, 4, 300, 100);
        TProbeGrid* g = f.Grid;
        g->SetFixedRows(fixedRows);
        g->SetCells(1, 0, QStringLiteral("before"));
        g->Columns()->GetItem(1)->SetHeader(QStringLiteral("Price"));
        EXPECT_EQ(g->Cells(1, 0), fixedRows ? QStringLiteral("Price") : QStringLiteral("before"));
        ASSERT_EQ(g->ColumnHeaders()->Count(), 3);
        EXPECT_EQ(g->ColumnHeaders()->Strings(1), QStringLiteral("Price"));
    }
    Grid f(5, 4, 300, 100);
    TGridColumnCollection* c = f.Grid->Columns();
    c->GetItem(3)->SetName(QStringLiteral("Price"));
    EXPECT_EQ(c->GetItem(3)->ItemDisplayName(), QStringLiteral("Col 3: Price"));
    EXPECT_EQ(c->GetItem(2)->ItemDisplayName(), QStringLiteral("Column 2"));
    EXPECT_EQ(f.Grid->GetColumnByName(QStringLiteral("Price")), c->GetItem(3));
    EXPECT_EQ(f.Grid->GetColumnByName(QStringLiteral("price")), nullptr);

    for (int i = 0; i < 5; ++i)
        c->GetItem(i)->SetHeaderDirect(QString::number(i));
    c->SetOrganization();
    c->ResetOrganization();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(c->GetItem(i)->DefIdx(), i);
        EXPECT_EQ(c->GetItem(i)->Header(), QString::number(i));
    }
}

// Each row of the table: one cell and what the items, the cell's properties
// and the application's event make of it.
TEST(ExColumnGridQueries, PerCellAnswersFallBackInOrder)
{
    Grid f(5, 6, 400, 160);
    TProbeGrid* g = f.Grid;
    g->SetOptions(g->Options() & ~TGridOptions(goEditing));
    g->SetFloatFormat(QStringLiteral("%.2f"));
    TGridColumnCollection* c = g->Columns();
    c->GetItem(1)->SetEditor(TEditorType::edComboList);
    c->GetItem(1)->SetComboItems(List({ "A", "B" }));
    c->GetItem(2)->SetReadOnly(true);
    c->GetItem(3)->SetFixed(true);
    c->GetItem(4)->SetEditor(TEditorType::edDataCheckBox);
    c->GetItem(4)->SetCheckTrue(QStringLiteral("1"));
    // Items beyond the columns never answer for a column.
    c->FNoRecursiveUpdate = true;
    c->Insert(5);
    c->FNoRecursiveUpdate = false;
    g->GetCellProperties(1, 3)->SetReadOnly(true);
    g->SetCells(1, 2, QStringLiteral("1.5"));
    g->OnGetCheckTrue = [](TObject*, int, int, QString& s) { s = QStringLiteral("event"); };

    struct Case {
        const char* Name;
        int Col, Row;
        bool Editable;
        bool Combo;
    };
    const Case cases[] = {
        { "normal column, editing off", 0 + 1, 1, true, true },
        { "cell read only", 1, 3, false, true },
        { "column read only", 2, 1, false, false },
        { "column fixed", 3, 1, false, false },
        { "header cell", 1, 0, false, false },
        { "fixed column", 0, 1, false, false },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        bool can = true;
        g->CanEditCell(k.Col, k.Row, can);
        EXPECT_EQ(can, k.Editable);
        EXPECT_EQ(g->HasComboBox(k.Col, k.Row), k.Combo);
    }
    bool fixed = false;
    g->IsFixedCell(3, 1, fixed);
    EXPECT_TRUE(fixed);

    // The event decides last, with the base cell.
    std::vector<std::pair<int, int>> asked;
    g->OnCanEditCell = [&](TObject*, int ARow, int ACol, bool& can) {
        asked.emplace_back(ACol, ARow);
        if (ACol == 2)
            can = true;
    };
    bool can = false;
    g->CanEditCell(2, 1, can);
    EXPECT_TRUE(can);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>> { { 2, 1 } }));

    // Combo entries exactly the item's.
    g->ComboItems()->Add(QStringLiteral("stale"));
    TEditorType ed = TEditorType::edNormal;
    g->GetEditorType(1, 1, ed);
    EXPECT_EQ(ed, TEditorType::edComboList);
    ASSERT_EQ(g->ComboItems()->Count(), 2);
    EXPECT_EQ(g->ComboItems()->Strings(1), QStringLiteral("B"));

    // Check texts: the item's in the body, the event's in the header.
    EXPECT_EQ(g->GetCheckTrue(4, 1), QStringLiteral("1"));
    EXPECT_EQ(g->GetCheckTrue(4, 0), QStringLiteral("event"));
    EXPECT_EQ(g->GetCheckTrue(0, 1), QStringLiteral("event"));

    // An item without a format shows plain text whatever the grid's format;
    // a format of its own applies, and the grid's stays as it was.
    EXPECT_EQ(g->GetFormattedCell(1, 2), QStringLiteral("1.5"));
    c->GetItem(1)->SetFloatFormat(QStringLiteral("%.3f"));
    ed = TEditorType::edNormal;
    g->GetEditorType(1, 2, ed);
    EXPECT_EQ(g->GetFormattedCell(1, 2), QStringLiteral("1.500"));
    EXPECT_EQ(g->FloatFormat(), QStringLiteral("%.2f"));

    // Sizes snap to the item's bounds; 0 sets none.
    c->GetItem(2)->SetMinSize(30);
    for (auto [in, out] : std::vector<std::pair<int, int>> { { 10, 30 }, { 500, 500 } }) {
        int w = in;
        g->UpdateColumnSize(2, w);
        EXPECT_EQ(w, out);
    }
}

TEST(ExColumnGridQueries, ColumnBeyondTheItemsAnswersLikeAStringGridColumn)
{
    Grid f(4, 4, 300, 120);
    TProbeGrid* g = f.Grid;
    TGridColumnCollection* c = g->Columns();
    c->FNoRecursiveUpdate = true;
    delete c->GetItem(3);
    c->FNoRecursiveUpdate = false;
    ASSERT_EQ(c->Count(), 3);
    bool can = true;
    g->CanEditCell(3, 1, can);
    EXPECT_FALSE(can);
    g->OnCanEditCell = [](TObject*, int, int, bool& v) { v = true; };
    g->CanEditCell(3, 1, can);
    EXPECT_TRUE(can);
    EXPECT_FALSE(g->HasComboBox(3, 1));
    TEditorType ed = TEditorType::edSpinEdit;
    g->GetEditorType(3, 1, ed);
    EXPECT_EQ(ed, TEditorType::edSpinEdit);
}

TEST(ExColumnGridMoves, ItemsTravelWithTheirColumn)
{
    Grid f(5, 4, 400, 120);
    TProbeGrid* g = f.Grid;
    TGridColumnCollection* c = g->Columns();
    for (int i = 0; i < 5; ++i)
        c->GetItem(i)->SetHeader(QStringLiteral("H%1").arg(i));
    c->GetItem(1)->SetEditor(TEditorType::edComboEdit);
    c->GetItem(1)->SetComboItems(List({ "x", "y" }));
    c->GetItem(1)->SetColumnPopupType(TColumnPopupType::cpAllCellsRClick);
    std::vector<std::pair<int, int>> after;
    g->OnAfterColumnMoved = [&](TObject*, int a, int b) { after.emplace_back(a, b); };
    g->SortSettings()->Column = 3;
    g->MoveColumn(1, 3);
    EXPECT_EQ(after, (std::vector<std::pair<int, int>> { { 1, 3 } }));
    ASSERT_EQ(c->Count(), 5);
    const QString order[] = { "H0", "H2", "H3", "H1", "H4" };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(c->GetItem(i)->Header(), order[i]);
        EXPECT_EQ(g->Cells(i, 0), order[i]);
    }
    EXPECT_EQ(c->GetItem(3)->Editor(), TEditorType::edComboEdit);
    EXPECT_EQ(c->GetItem(3)->ComboItems()->Count(), 2);
    EXPECT_EQ(c->GetItem(3)->ColumnPopupType(), TColumnPopupType::cpFixedCellsRClick) << "not carried";
    EXPECT_EQ(g->SortSettings()->Column, 2) << "the sorted column shifted with its data";
}

TEST(ExColumnGridPositions, SaveWritesTheDefinedIndexesAndLoadRestoresTheOrder)
{
    const QString file = testutil::TempDir() + QStringLiteral("/colpos.ini");
    QFile::remove(file);
    {
        Grid f(3, 3, 300, 100);
        TProbeGrid* g = f.Grid;
        g->SetFixedCols(0);
        for (int i = 0; i < 3; ++i)
            g->Columns()->GetItem(i)->SetHeader(QStringLiteral("C%1").arg(i));
        g->Columns()->SetOrganization();
        g->MoveColumn(2, 0); // 2, 0, 1
        g->SaveColumnPositions(file, QStringLiteral("Cols"));
    }
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromLatin1(in.readAll()).remove(QLatin1Char('\r')), QStringLiteral("[Cols]\nCP0=2\nCP1=0\nCP2=1\n\n"));
    in.close();

    Grid f(3, 3, 300, 100);
    TProbeGrid* g = f.Grid;
    g->SetFixedCols(0);
    for (int i = 0; i < 3; ++i)
        g->Columns()->GetItem(i)->SetHeader(QStringLiteral("C%1").arg(i));
    g->Columns()->SetOrganization();
    g->LoadColumnPositions(file, QStringLiteral("Cols"));
    const char* order[] = { "C2", "C0", "C1" };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g->Columns()->GetItem(i)->Header(), QString::fromLatin1(order[i]));
        EXPECT_EQ(g->Cells(i, 0), QString::fromLatin1(order[i]));
        EXPECT_EQ(g->Columns()->GetItem(i)->DefIdx(), QStringLiteral("201").mid(i, 1).toInt());
    }
}

// A file that does not describe an order of the columns changes nothing and
// is never written.
TEST(ExColumnGridPositions, BrokenFilesChangeNothing)
{
    const struct {
        const char* Name;
        const char* Text;
    } cases[] = {
        { "missing key", "[Cols]\nCP0=1\nCP2=0\n" },
        { "duplicates", "[Cols]\nCP0=2\nCP1=2\nCP2=0\n" },
        { "out of range", "[Cols]\nCP0=1\nCP1=3\nCP2=0\n" },
        { "negative", "[Cols]\nCP0=1\nCP1=-1\nCP2=0\n" },
        { "not a number", "[Cols]\nCP0=1\nCP1=x\nCP2=0\n" },
        { "more keys than items", "[Cols]\nCP0=1\nCP1=2\nCP2=0\nCP3=3\n" },
    };
    const QString file = testutil::TempDir() + QStringLiteral("/colpos-broken.ini");
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(k.Text);
        out.close();
        Grid f(3, 3, 300, 100);
        TProbeGrid* g = f.Grid;
        g->SetFixedCols(0);
        for (int i = 0; i < 3; ++i)
            g->Columns()->GetItem(i)->SetHeader(QStringLiteral("C%1").arg(i));
        g->Columns()->SetOrganization();
        g->LoadColumnPositions(file, QStringLiteral("Cols"));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(g->Columns()->GetItem(i)->Header(), QStringLiteral("C%1").arg(i));
            EXPECT_EQ(g->Columns()->GetItem(i)->DefIdx(), i);
        }
        QFile back(file);
        ASSERT_TRUE(back.open(QIODevice::ReadOnly));
        EXPECT_EQ(back.readAll(), QByteArray(k.Text));
    }
}

namespace {

void Click(TExColumnGrid* g, int col, int row, Qt::MouseButton b)
{
    QWidget* w = g->Widget();
    const TRect r = g->CellRect(col, row);
    const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    SetMouseCursorPos(TPoint(w->mapToGlobal(p).x(), w->mapToGlobal(p).y()));
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(p), QPointF(w->mapToGlobal(p)), b, b, {});
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(p), QPointF(w->mapToGlobal(p)), b, Qt::NoButton, {});
    QApplication::sendEvent(w, &up);
}

} // namespace

// Which clicks open a column's menu: the event fires for every click of the
// popup type's button, the menu only on the type's rows. With a hidden column
// before it, the clicked column's own item answers.
TEST(ExColumnGridPopup, ClicksOpenTheColumnsMenuByType)
{
    using P = TColumnPopupType;
    struct Case {
        const char* Name;
        P Type;
        Qt::MouseButton Button;
        int Row;
        bool Event, Menu;
    };
    const Case cases[] = {
        { "fixed right on header", P::cpFixedCellsRClick, Qt::RightButton, 0, true, true },
        { "fixed right on body", P::cpFixedCellsRClick, Qt::RightButton, 2, true, false },
        { "fixed right, left click", P::cpFixedCellsRClick, Qt::LeftButton, 0, false, false },
        { "normal left on body", P::cpNormalCellsLClick, Qt::LeftButton, 2, true, true },
        { "normal left on header", P::cpNormalCellsLClick, Qt::LeftButton, 0, true, false },
        { "all right on body", P::cpAllCellsRClick, Qt::RightButton, 2, true, true },
        { "all left on header", P::cpAllCellsLClick, Qt::LeftButton, 0, true, true },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Grid f(5, 4, 300, 120);
        TProbeGrid* g = f.Grid;
        auto* menu = new TPopupMenu(f.Form);
        g->HideColumn(1);
        // Displayed column 2 is real column 3.
        g->Columns()->GetItem(3)->SetColumnPopup(menu);
        g->Columns()->GetItem(3)->SetColumnPopupType(k.Type);
        int events = 0, shown = 0;
        g->OnColumnPopup = [&](TObject*, int c, int r, TPopupMenu* m) {
            ++events;
            EXPECT_EQ(c, 2);
            EXPECT_EQ(r, k.Row);
            EXPECT_EQ(m, menu);
        };
        const TPopupTracker old = TPopupMenu::SetTracker([&](TPopupMenu* m, int, int) {
            EXPECT_EQ(m, menu);
            ++shown;
            return nullptr;
        });
        Click(g, 2, k.Row, k.Button);
        TPopupMenu::SetTracker(old);
        EXPECT_EQ(events, k.Event ? 1 : 0);
        EXPECT_EQ(shown, k.Menu ? 1 : 0);
        // A column without a menu never fires.
        events = 0;
        Click(g, 3, k.Row, k.Button);
        EXPECT_EQ(events, 0);
    }
}

TEST(ExColumnGridFilter, ItemEntriesOfferCaptionsAndApplyTheirCondition)
{
    Grid f(3, 6, 300, 160);
    TProbeGrid* g = f.Grid;
    const int values[] = { 5, 50, 500, 8, 200 };
    for (int r = 1; r < 6; ++r)
        g->SetInts(1, r, values[r - 1]);
    TGridColumnItem* item = g->Columns()->GetItem(1);
    item->SetFilter(List({ "Low=<10", "High=>100" }));
    g->SetAutoFilterDisplay(true);
    g->SetAutoFilterUpdate(true);
    ASSERT_TRUE(g->GetColumnFilterValues(1));
    ASSERT_EQ(g->FilterList()->Count(), 2);
    EXPECT_EQ(g->FilterList()->Strings(0), QStringLiteral("Low"));
    EXPECT_EQ(g->FilterList()->Strings(1), QStringLiteral("High"));
    EXPECT_FALSE(g->GetColumnFilterValues(2)) << "no entries of its own";

    QString seenCaption, seenCondition;
    g->OnFilterSelect = [&](TObject*, int, int, const QString& caption, QString& condition) {
        seenCaption = caption;
        seenCondition = condition;
    };
    g->StartFilterSelect(1);
    g->FilterDropDownSelect(nullptr, 1);
    EXPECT_EQ(seenCaption, QStringLiteral("High"));
    EXPECT_EQ(seenCondition, QStringLiteral(">100"));
    EXPECT_EQ(item->Header(), QStringLiteral("High"));
    EXPECT_EQ(g->Cells(1, 0), QStringLiteral("High"));
    EXPECT_TRUE(g->FilterActive());
    EXPECT_EQ(g->RowCount(), 3) << "the header and the two rows above 100";
    EXPECT_EQ(g->FilterColumn(), -1);
}

// Every stored property off its default survives the stream; broken or
// foreign streams leave the items as they were.
TEST(ExColumnGridStream, RoundTripAndRefusals)
{
    Grid f(3, 3, 300, 100);
    TProbeGrid* g = f.Grid;
    TGridColumnItem* a = g->Columns()->GetItem(1);
    a->SetAutoMinSize(11);
    a->SetAutoMaxSize(99);
    a->SetAlignment(taRightJustify);
    a->SetBorders(TGridColumnItem::TCellBorders(TCellBorder::cbTop) | TCellBorder::cbRight);
    a->BorderPen()->SetColor(TColor(0x102030));
    a->SetCheckFalse(QStringLiteral("off"));
    a->SetCheckTrue(QStringLiteral("on \"quoted\"\nline"));
    a->SetColor(TColor(0x00FF00));
    a->SetColumnPopupType(TColumnPopupType::cpNormalCellsLClick);
    a->SetComboItems(List({ "A", "B,C", "" }));
    a->SetDropDownCount(3);
    a->SetEditLength(12);
    a->SetEditMask(QStringLiteral("999"));
    a->SetEditor(TEditorType::edComboEdit);
    a->SetFilter(List({ "Low=<10" }));
    a->SetFilterCaseSensitive(true);
    a->SetFixed(true);
    a->SetFloatFormat(QStringLiteral("%.1f"));
    a->Font()->SetName(QStringLiteral("Verdana"));
    a->Font()->SetStyle(TFontStyles(TFontStyle::fsBold));
    a->SetHeader(QStringLiteral("Head"));
    a->SetHeaderAlignment(taCenter);
    a->HeaderFont()->SetColor(TColor(0x0000FF));
    a->SetMinSize(20);
    a->SetMaxSize(200);
    a->SetName(QStringLiteral("Price"));
    a->SetPassword(true);
    a->SetPrintBorderCustom(false);
    a->SetPrintBorders(TGridColumnItem::TCellBorders(TCellBorder::cbLeft));
    a->PrintBorderPen()->SetColor(TColor(0x445566));
    a->SetPrintColor(TColor(0x777777));
    a->SetPrintFontCustom(false);
    a->PrintFont()->SetHeight(-20);
    a->SetReadOnly(true);
    a->SetShowBands(true);
    a->SetSortStyle(TSortStyle::ssNumeric);
    a->SetSortPrefix(QStringLiteral("$"));
    a->SetSortSuffix(QStringLiteral("%"));
    a->SetSpinMax(10);
    a->SetSpinMin(-10);
    a->SetSpinStep(2);
    a->SetTag(42);
    a->SetWidth(77);

    TMemoryStream s;
    g->SaveColumnsToStream(&s);
    const QByteArray saved = s.Bytes();

    Grid f2(3, 3, 300, 100);
    TProbeGrid* g2 = f2.Grid;
    s.SetPosition(0);
    g2->LoadColumnsFromStream(&s);
    ASSERT_EQ(g2->Columns()->Count(), 3);
    TMemoryStream again;
    g2->SaveColumnsToStream(&again);
    EXPECT_EQ(again.Bytes(), saved) << "every stored property read back";
    const TGridColumnItem* b = g2->Columns()->GetItem(1);
    EXPECT_EQ(b->CheckTrue(), a->CheckTrue());
    EXPECT_EQ(b->ComboItems()->Count(), 3);
    EXPECT_EQ(b->ComboItems()->Strings(1), QStringLiteral("B,C"));
    EXPECT_EQ(b->ColumnPopupType(), TColumnPopupType::cpNormalCellsLClick);
    EXPECT_FALSE(b->PrintFontCustom());
    EXPECT_EQ(g2->ColWidths(1), 77);
    EXPECT_EQ(b->Font()->Name(), QStringLiteral("Verdana"));

    // Refused: the items stay as they were.
    const QByteArray broken[] = {
        QByteArray(),
        QByteArray("TSomethingElse\nitem\nend\n"),
        saved.left(saved.size() / 2),
        QByteArray("\x00\xff\xfe garbage", 12),
        QByteArray("TExColumnGridIO\nTag=1\n"),
    };
    for (const QByteArray& bad : broken) {
        TMemoryStream in;
        in.WriteBuffer(bad.constData(), bad.size());
        in.SetPosition(0);
        EXPECT_THROW(g2->LoadColumnsFromStream(&in), EReadError) << bad.toStdString();
        TMemoryStream now;
        g2->SaveColumnsToStream(&now);
        EXPECT_EQ(now.Bytes(), saved);
    }

    // Skipped: unknown properties, wrong kinds and values out of range.
    const QByteArray lenient("TExColumnGridIO\nitem\nColour=5\nTag=x\nEditor=9999\nReadOnly=2\nHeader=\"ok\"\nend\n");
    TMemoryStream in;
    in.WriteBuffer(lenient.constData(), lenient.size());
    in.SetPosition(0);
    g2->LoadColumnsFromStream(&in);
    ASSERT_EQ(g2->Columns()->Count(), 1);
    EXPECT_EQ(g2->Columns()->GetItem(0)->Header(), QStringLiteral("ok"));
    EXPECT_EQ(g2->Columns()->GetItem(0)->Tag(), 0);
    EXPECT_EQ(g2->Columns()->GetItem(0)->Editor(), TEditorType::edNormal);
    EXPECT_FALSE(g2->Columns()->GetItem(0)->ReadOnly());
    EXPECT_EQ(g2->ColCount(), 3) << "loading keeps the column count";
}

// On paper the item's print colour and font apply in the body, the print
// settings' fixed font outside it; a fixed item prints in the fixed colour.
TEST(ExColumnGridQueries, PrintLookComesFromTheItem)
{
    Grid f(3, 4, 300, 100);
    TProbeGrid* g = f.Grid;
    TGridColumnItem* item = g->Columns()->GetItem(1);
    item->SetPrintColor(TColor(0x00EEEE));
    item->PrintFont()->SetName(QStringLiteral("Courier New"));
    g->PrintSettings()->FixedFont()->SetName(QStringLiteral("Arial"));
    TBrush brush;
    TFont font;
    g->PrintColorOf(1, 2, &brush, &font);
    EXPECT_EQ(brush.Color(), TColor(0x00EEEE));
    EXPECT_EQ(font.Name(), QStringLiteral("Courier New"));
    g->PrintColorOf(1, 0, &brush, &font);
    EXPECT_EQ(font.Name(), QStringLiteral("Arial"));
    item->SetFixed(true);
    g->PrintColorOf(1, 2, &brush, &font);
    EXPECT_EQ(brush.Color(), g->FixedColor());
    item->SetPrintFontCustom(false);
    g->PrintSettings()->Font()->SetName(QStringLiteral("Verdana"));
    g->PrintColorOf(1, 2, &brush, &font);
    EXPECT_EQ(font.Name(), QStringLiteral("Verdana"));
}
