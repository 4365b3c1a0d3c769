// Hidden-row items own their row's cell properties; filter conditions and
// their copy rules; the background's defaults and repaints.
#include "controls/grid/ExGridData.h"

#include "common/FieldTable.h"
#include "common/GridOnForm.h"
#include "controls/base/BaseGrid.h"
#include "controls/grid/GridDataTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Cell properties that count their own frees.
struct TCountedProps : TCellProperties {
    explicit TCountedProps(int& Freed)
        : TCellProperties(nullptr, 0, 0)
        , FFreed(Freed)
    {
    }
    ~TCountedProps() override { ++FFreed; }
    int& FFreed;
};

TCollection* NewGridItems()
{
    return new TCollection([](TCollection* c) { return new TGridItem(c); });
}

TStringList* RowOf(std::initializer_list<TObject*> Objects)
{
    auto* row = new TStringList;
    for (TObject* o : Objects)
        row->AddObject(QStringLiteral("cell"), o);
    return row;
}

TEST(ExGridData, HiddenRowItemsFreeTheirCellPropertiesHoweverTheyGo)
{
    struct Case {
        const char* name;
        std::function<void(TCollection*, TGridItem*)> drop;
    };
    const Case cases[] = {
        { "item freed", [](TCollection*, TGridItem* item) { delete item; } },
        { "item deleted from the store", [](TCollection* store, TGridItem*) { store->Delete(0); } },
        { "store cleared", [](TCollection* store, TGridItem*) { store->Clear(); } },
        { "store freed with its items", [](TCollection*, TGridItem*) {} },
    };
    for (const Case& c : cases) {
        int freed = 0;
        TObject other; // not cell properties: not the row's to free
        std::unique_ptr<TCollection> store(NewGridItems());
        auto* item = static_cast<TGridItem*>(store->Add());
        item->SetItems(RowOf({ new TCountedProps(freed), nullptr, &other, new TCountedProps(freed) }));
        c.drop(store.get(), item);
        store.reset();
        EXPECT_EQ(freed, 2) << c.name;
    }
}

TEST(ExGridData, WritingItemsFreesTheReplacedListButKeepsWhatMovedOn)
{
    int freed = 0;
    auto* kept = new TCountedProps(freed);
    {
        TGridItem item(nullptr);
        EXPECT_EQ(item.Items()->Count(), 0);
        item.Items()->AddObject("a", new TCountedProps(freed));
        item.Items()->AddObject("b", kept);

        item.SetItems(RowOf({ kept }));
        EXPECT_EQ(freed, 1) << "the replaced list's own properties";
        EXPECT_EQ(item.Items()->Objects(0), kept);

        item.SetItems(item.Items()); // the same list: nothing changes
        EXPECT_EQ(freed, 1);
        EXPECT_EQ(item.Items()->Objects(0), kept);

        item.SetItems(nullptr);
        EXPECT_EQ(freed, 2);
        ASSERT_NE(item.Items(), nullptr);
        EXPECT_EQ(item.Items()->Count(), 0);
    }
    EXPECT_EQ(freed, 2);
}

TEST(ExGridData, FilterDataStartsAndAssignsAllButMethod)
{
    using T = TFilterData;
    const std::vector<Field<T>> fields = {
        PLAIN(T, Column, 0, 3, true),
        PLAIN(T, CaseSensitive, 1, 0, true),
        PLAIN(T, Operation, int(TFilterOperation::foSHORT), int(TFilterOperation::foXOR), true),
        PLAIN(T, Data, int(TFilterCells::fcVirtual), int(TFilterCells::fcRow), true),
        PLAIN(T, Method, int(TFilterMethod::fmExpression), int(TFilterMethod::fmLiteral), false),
    };
    CheckStartAndAssign(fields, [] { return std::make_unique<T>(nullptr); });

    TFilterData src(nullptr), dst(nullptr);
    src.Condition = "<5";
    src.Prefix = "$";
    src.Suffix = " kg";
    dst.Assign(&src);
    EXPECT_EQ(dst.Condition, "<5");
    EXPECT_EQ(dst.Prefix, "$");
    EXPECT_EQ(dst.Suffix, " kg");

    dst.Assign(nullptr);
    EXPECT_EQ(dst.Condition, "<5");
    TFilterData fresh(nullptr);
    TPersistent notAFilter;
    EXPECT_THROW(fresh.Assign(&notAFilter), EInvalidCast);
}

QString ColumnsOf(const TFilter& f)
{
    QString s;
    for (int i = 0; i < f.Count(); ++i)
        s += QString::number(f.Items(i)->Column) + QLatin1Char(char('0' + int(f.Items(i)->Operation)));
    return s;
}

TEST(ExGridData, FilterAddsJoinsAndRemovesByColumn)
{
    TGridOnForm<TCountingGrid> form(5, 4, 300, 200); // removing repaints a header cell
    TCountingGrid& grid = *form.Grid;
    TFilter f(&grid);
    EXPECT_EQ(f.Owner(), &grid);

    // Reading a column's filter adds one: the first stands alone, later ones join with AND.
    EXPECT_FALSE(f.HasFilter(2));
    TFilterData* first = f.ColumnFilter(2);
    EXPECT_TRUE(f.HasFilter(2));
    EXPECT_EQ(first->Operation, TFilterOperation::foNONE);
    EXPECT_EQ(f.ColumnFilter(2), first);
    EXPECT_EQ(f.ColumnFilter(4)->Operation, TFilterOperation::foAND);
    EXPECT_EQ(f.Count(), 2);

    // Insert appends whatever the index, keeping foSHORT.
    TFilterData* inserted = f.Insert(0);
    EXPECT_EQ(inserted->Index(), 2);
    EXPECT_EQ(inserted->Operation, TFilterOperation::foSHORT);
    inserted->Column = 2;
    f.Add()->Column = 1;
    EXPECT_EQ(ColumnsOf(f),
        "21"
        "42"
        "20"
        "12");

    f.RemoveColumnFilter(2);
    EXPECT_EQ(ColumnsOf(f),
        "42"
        "12");
    EXPECT_FALSE(f.HasFilter(2));
    f.RemoveColumnFilter(7); // none, and beyond the grid: nothing changes
    EXPECT_EQ(ColumnsOf(f),
        "42"
        "12");

    // A copy of the filter keeps each item's join.
    TFilter copy(&grid);
    copy.Assign(&f);
    EXPECT_EQ(ColumnsOf(copy),
        "42"
        "12");
}

TEST(ExGridData, BackGroundStartsPlainAndRepaintsTheGridOnEveryChange)
{
    TCountingGrid grid;
    TBackGround b(&grid);
    EXPECT_EQ(b.Top(), 0);
    EXPECT_EQ(b.Left(), 0);
    EXPECT_EQ(b.Display(), TBackGroundDisplay::bdTile);
    EXPECT_EQ(b.Cells(), TBackGroundCells::bcNormal);
    EXPECT_EQ(b.ColorTo(), clBtnFace);
    EXPECT_EQ(b.Color(), clWindow);
    EXPECT_TRUE(b.Bitmap()->Empty());

    TBitmap picture(8, 6);
    const std::pair<const char*, std::function<void()>> setters[] = {
        { "Top", [&] { b.SetTop(5); } },
        { "Left", [&] { b.SetLeft(7); } },
        { "Display", [&] { b.SetDisplay(TBackGroundDisplay::bdGradientVert); } },
        { "Cells", [&] { b.SetCells(TBackGroundCells::bcAll); } },
        { "ColorTo", [&] { b.SetColorTo(clRed); } },
        { "Color", [&] { b.SetColor(clBlue); } },
        { "Color unchanged", [&] { b.SetColor(clBlue); } },
        { "Bitmap", [&] { b.SetBitmap(&picture); } },
    };
    for (const auto& [name, set] : setters) {
        grid.ResetCounts();
        set();
        EXPECT_EQ(grid.Repaints, 1) << name;
    }
    EXPECT_EQ(b.Top(), 5);
    EXPECT_EQ(b.Left(), 7);
    EXPECT_EQ(b.Display(), TBackGroundDisplay::bdGradientVert);
    EXPECT_EQ(b.Cells(), TBackGroundCells::bcAll);
    EXPECT_EQ(b.ColorTo(), clRed);
    EXPECT_EQ(b.Color(), clBlue);
    EXPECT_NE(b.Bitmap(), &picture);
    EXPECT_EQ(b.Bitmap()->Width(), 8);
    picture.SetSize(1, 1);
    EXPECT_EQ(b.Bitmap()->Width(), 8) << "a copy";
}

} // namespace
