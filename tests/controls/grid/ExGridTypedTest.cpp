#include <gtest/gtest.h>

#include <QString>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/SysUtils.h"

namespace {

// Counts footer runs and answers a float format of its own for column 2,
// as the column grid does from its column items.
class TTypedTestGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void RecalcFooter() override { ++FooterRuns; }
    QString GetFloatFormat(int ACol, int ARow) override
    {
        return ACol == 2 ? QStringLiteral("%.1f") : TExStringGrid::GetFloatFormat(ACol, ARow);
    }
    int FooterRuns = 0;
};

std::unique_ptr<TTypedTestGrid> MakeGrid(int cols, int rows)
{
    auto g = std::make_unique<TTypedTestGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    return g;
}

// The message of the EExGridError a call raises; nullopt when none.
template <class F> std::optional<QString> GridError(F&& call)
{
    try {
        call();
    } catch (const EExGridError& e) {
        return e.Message();
    }
    return std::nullopt;
}

std::unique_ptr<TStringList> ListOf(std::initializer_list<QString> lines)
{
    auto list = std::make_unique<TStringList>();
    for (const QString& line : lines)
        list->Add(line);
    return list;
}

const QString kNoInt = QStringLiteral("Cell does not contain integer value");
const QString kNoFloat = QStringLiteral("Cell does not contain a float value");

} // namespace

TEST(ExGridTyped, IntsAndFloatsReadTheCellText)
{
    auto g = MakeGrid(3, 3);
    struct Case {
        QString text;
        std::optional<int> asInt; // nullopt: raises
        std::optional<double> asFloat;
    };
    const Case cases[] = {
        { "", 0, 0.0 },
        { "-", 0, 0.0 },
        { " 7 ", 7, 7.0 },
        { "<b>12</b>", 12, 12.0 },
        { "-42", -42, -42.0 },
        { "7a", std::nullopt, 7.0 }, // the number part of a formatted text
        { "$1A", std::nullopt, 1.0 },
        { "1,234.50", std::nullopt, 1234.5 },
        { "$ -1,234.50", std::nullopt, -1234.5 },
        { "abc", std::nullopt, std::nullopt },
        { "99999999999", std::nullopt, 99999999999.0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        g->SetCells(1, 1, c.text);
        if (c.asInt)
            EXPECT_EQ(g->Ints(1, 1), *c.asInt);
        else
            EXPECT_EQ(GridError([&] { g->Ints(1, 1); }), kNoInt);
        if (c.asFloat)
            EXPECT_DOUBLE_EQ(g->Floats(1, 1), *c.asFloat);
        else
            EXPECT_EQ(GridError([&] { g->Floats(1, 1); }), kNoFloat);
        EXPECT_EQ(g->Cells(1, 1), c.text); // a failed read changes nothing
    }
}

TEST(ExGridTyped, FloatWritesUseTheCellsFormatThroughTheCheckedFormat)
{
    auto g = MakeGrid(3, 3);
    g->SetFloats(1, 1, 3.14159);
    EXPECT_EQ(g->Cells(1, 1), "3.14");
    g->SetFloats(2, 1, 3.14159); // the column's own format
    EXPECT_EQ(g->Cells(2, 1), "3.1");
    g->SetAllFloats(2, 2, 3.14159); // the grid's format, whatever the column says
    EXPECT_EQ(g->Cells(2, 2), "3.14");

    g->SetFloatFormat(QStringLiteral("%.2n"));
    g->SetFloats(1, 1, 1234.5);
    EXPECT_EQ(g->Cells(1, 1), "1,234.50");
    EXPECT_DOUBLE_EQ(g->Floats(1, 1), 1234.5);

    // The format settings' separators, both ways.
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    g->SetFloats(1, 2, 1234.5);
    const QString european = g->Cells(1, 2);
    const double back = g->Floats(1, 2);
    ResetFormatSettings();
    EXPECT_EQ(european, "1.234,50");
    EXPECT_DOUBLE_EQ(back, 1234.5);

    // A format that does not fit its single float raises and writes nothing.
    for (const char* bad : { "%d", "%s", "%.2f %.2f", "%1:f", "%*.*f" }) {
        SCOPED_TRACE(bad);
        g->SetFloatFormat(QString::fromLatin1(bad));
        EXPECT_THROW(g->SetFloats(1, 1, 1.5), EConvertError);
        EXPECT_THROW(g->SetAllFloats(1, 1, 1.5), EConvertError);
        EXPECT_EQ(g->Cells(1, 1), "1,234.50");
    }
}

TEST(ExGridTyped, IntsWriteToTheRealColumnWithHiddenColumns)
{
    auto g = MakeGrid(5, 3);
    g->HideColumns(1, 2);
    g->SetInts(3, 1, 17);
    EXPECT_EQ(g->Cells(3, 1), "17");
    EXPECT_EQ(g->Ints(3, 1), 17);
    g->SetInts(1, 2, -5); // a hidden column keeps its cells
    EXPECT_EQ(g->Cells(1, 2), "-5");
}

TEST(ExGridTyped, AllIntsAndAllFloatsReachHiddenRows)
{
    auto g = MakeGrid(2, 6);
    for (int r = 0; r < 6; ++r)
        g->SetCells(1, r, QString::number(r * 10));
    g->HideRow(2);
    EXPECT_EQ(g->AllInts(1, 2), 20);
    EXPECT_EQ(g->AllInts(1, 3), 30); // shown at displayed row 2
    EXPECT_EQ(g->Ints(1, 2), 30);

    g->SetAllInts(1, 2, 21);
    g->SetAllFloats(1, 4, 4.5);
    EXPECT_EQ(g->Cells(1, 3), "4.50");
    EXPECT_DOUBLE_EQ(g->AllFloats(1, 2), 21.0);

    // A row hidden before a column was added reads it empty and grows on a write.
    g->InsertCols(2, 1);
    EXPECT_EQ(g->AllInts(2, 2), 0);
    g->SetAllInts(2, 2, 5);
    EXPECT_EQ(g->AllInts(2, 2), 5);
    EXPECT_THROW(g->SetAllInts(9, 2, 1), EExGridError);
    // Rows outside the grid read empty and refuse writes.
    for (int row : { -1, 6, 99 }) {
        EXPECT_EQ(g->AllInts(1, row), 0) << row;
        EXPECT_THROW(g->SetAllInts(1, row, 1), EExGridError) << row;
    }

    g->UnHideRowsAll();
    EXPECT_EQ(g->Cells(1, 2), "21");
    EXPECT_EQ(g->Cells(2, 2), "5");

    // The all-cells read keeps mark-up, so a bold number is no integer there.
    g->SetCells(1, 1, QStringLiteral("<b>12</b>"));
    EXPECT_EQ(g->Ints(1, 1), 12);
    EXPECT_EQ(GridError([&] { g->AllInts(1, 1); }), kNoInt);
    g->SetCells(1, 1, QStringLiteral("<b>x</b>"));
    EXPECT_EQ(GridError([&] { g->AllFloats(1, 1); }), kNoFloat);
}

TEST(ExGridTyped, DatesAndTimesUseTheShortFormats)
{
    ResetFormatSettings();
    auto g = MakeGrid(2, 3);
    EXPECT_TRUE(g->ShowNullDates());
    g->SetDates(1, 1, EncodeDate(2024, 3, 5));
    EXPECT_EQ(g->Cells(1, 1), "3/5/2024");
    EXPECT_DOUBLE_EQ(g->Dates(1, 1), EncodeDate(2024, 3, 5));

    g->SetDates(1, 1, 0); // the null date is shown
    EXPECT_EQ(g->Cells(1, 1), "12/30/1899");
    g->SetShowNullDates(false);
    g->SetDates(1, 1, 0);
    EXPECT_EQ(g->Cells(1, 1), "");
    g->SetDates(1, 1, -3);
    EXPECT_EQ(g->Cells(1, 1), "");

    g->SetTimes(1, 2, EncodeTime(14, 5, 9, 0));
    EXPECT_EQ(g->Cells(1, 2), "2:05:09 PM");
    EXPECT_NEAR(g->Times(1, 2), EncodeTime(14, 5, 9, 0), 1e-9);

    g->SetCells(1, 1, QStringLiteral("not a date"));
    EXPECT_THROW(g->Dates(1, 1), EConvertError);
    EXPECT_THROW(g->Times(1, 1), EConvertError);
}

TEST(ExGridTyped, ControlValuesReadAndRewriteTheCellsControl)
{
    auto g = MakeGrid(2, 2);
    const QString form = QStringLiteral("Name: <CONTROL TYPE=\"EDIT\" ID=\"n1\" WIDTH=\"80\" VALUE=\"Bob\">");
    g->SetCells(1, 1, form);
    EXPECT_EQ(g->ControlValues(1, 1, "n1"), "Bob");
    EXPECT_EQ(g->ControlValues(1, 1, "zz"), "");
    g->SetControlValues(1, 1, "zz", "x"); // no such control: the cell stays
    EXPECT_EQ(g->Cells(1, 1), form);
    g->SetControlValues(1, 1, "n1", "Ann");
    EXPECT_EQ(g->ControlValues(1, 1, "n1"), "Ann");
    EXPECT_TRUE(g->Cells(1, 1).startsWith("Name: <CONTROL"));
}

TEST(ExGridTyped, FillsWriteTheirRangeRowByRow)
{
    // 4 x 5 with a fixed row and column, a right fixed column and a footer.
    auto g = MakeGrid(4, 5);
    g->SetFixedRightCols(1);
    g->SetFixedFooters(1);

    g->LinearFill(false);
    EXPECT_EQ(g->Cells(1, 1), "1:1");
    EXPECT_EQ(g->Cells(2, 3), "2:3");
    for (auto [c, r] : { std::pair { 0, 0 }, { 0, 1 }, { 1, 0 }, { 3, 1 }, { 1, 4 } })
        EXPECT_EQ(g->Cells(c, r), "") << c << "," << r;
    EXPECT_EQ(g->FooterRuns, 1);

    g->FormatFill(true, QStringLiteral("%d-%d"));
    EXPECT_EQ(g->Cells(2, 3), "2-3");
    EXPECT_EQ(g->Cells(0, 0), "0-0");
    EXPECT_EQ(g->Cells(3, 4), "3-4");

    g->TextFill(false, QStringLiteral("x"));
    EXPECT_EQ(g->Cells(2, 2), "x");
    EXPECT_EQ(g->Cells(3, 3), "3-3");

    // Formats that do not fit a column and a row raise before the first cell.
    for (const char* bad : { "%s", "%d-%d-%d", "%f", "%2:d" }) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(g->FormatFill(false, QString::fromLatin1(bad)), EConvertError);
        EXPECT_EQ(g->Cells(1, 1), "x");
    }

    g->RandomFill(false, 0);
    EXPECT_EQ(g->Cells(1, 1), "0");
    g->RandomFill(false, -4);
    EXPECT_EQ(g->Cells(2, 3), "0");
    g->RandomFill(true, 3);
    std::set<int> seen;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            seen.insert(g->Ints(c, r));
    EXPECT_GE(*seen.begin(), 0);
    EXPECT_LE(*seen.rbegin(), 2);
}

TEST(ExGridTyped, FillsWriteTheShownColumnsOnly)
{
    auto g = MakeGrid(4, 3);
    g->HideColumn(2);
    g->LinearFill(true);
    EXPECT_EQ(g->Cells(2, 1), ""); // hidden
    EXPECT_EQ(g->Cells(3, 1), "2:1"); // real column 3 is shown as column 2
}

TEST(ExGridTyped, ColumnHeadersFillTheFirstRow)
{
    auto g = MakeGrid(2, 3);
    const auto list = ListOf({ "Tag", "Low\\nHigh", "beyond" });
    g->SetColumnHeaders(list.get());
    EXPECT_EQ(g->Cells(0, 0), "Tag");
    EXPECT_EQ(g->Cells(1, 0), QStringLiteral("Low\rHigh"));
    EXPECT_EQ(g->ColumnHeaders()->Count(), 3);
    EXPECT_EQ(g->ColCount(), 2);

    // A shorter list leaves no old header behind; editing the list shows it.
    g->SetColumnHeaders(ListOf({ "Only" }).get());
    EXPECT_EQ(g->Cells(0, 0), "Only");
    EXPECT_EQ(g->Cells(1, 0), "");
    g->ColumnHeaders()->Add(QStringLiteral("Added"));
    EXPECT_EQ(g->Cells(1, 0), "Added");

    // Headers go by real column; a hidden column keeps its own.
    g->SetColCount(3);
    g->HideColumn(1);
    g->SetColumnHeaders(list.get());
    EXPECT_EQ(g->Cells(1, 0), QStringLiteral("Low\rHigh"));
    EXPECT_EQ(g->Cells(2, 0), "beyond");

    // Without fixed rows the first row is a normal row and stays.
    auto plain = MakeGrid(2, 3);
    plain->SetFixedRows(0);
    plain->SetCells(0, 0, QStringLiteral("data"));
    plain->SetColumnHeaders(list.get());
    EXPECT_EQ(plain->Cells(0, 0), "data");
}

TEST(ExGridTyped, RowHeadersFillTheFirstColumn)
{
    auto g = MakeGrid(2, 2);
    g->SetRowHeaders(ListOf({ "R0", "R1\\nsub", "beyond" }).get());
    EXPECT_EQ(g->Cells(0, 0), "R0");
    EXPECT_EQ(g->Cells(0, 1), QStringLiteral("R1\rsub"));
    EXPECT_EQ(g->RowHeaders()->Count(), 3);
    EXPECT_EQ(g->RowCount(), 2);
}

TEST(ExGridTyped, MergedColumnsMergeInsideTheEarlierColumnsRuns)
{
    auto g = MakeGrid(3, 7);
    const char* col1[] = { "A", "A", "A", "B", "B", "C" };
    const char* col2[] = { "x", "x", "y", "y", "y", "z" };
    for (int r = 1; r < 7; ++r) {
        g->SetCells(1, r, QString::fromLatin1(col1[r - 1]));
        g->SetCells(2, r, QString::fromLatin1(col2[r - 1]));
    }
    g->MergedColumns()->Add(1);
    g->MergedColumns()->Add(2);

    struct Area {
        int col, row, top, bottom;
    };
    const Area areas[] = {
        { 1, 2, 1, 3 }, // A A A
        { 1, 5, 4, 5 }, // B B
        { 1, 6, 6, 6 },
        { 2, 1, 1, 2 }, // x x inside the A run
        { 2, 3, 3, 3 }, // y alone: the next y lies in the B run
        { 2, 4, 4, 5 }, // y y inside the B run
        { 2, 6, 6, 6 },
    };
    for (const Area& a : areas) {
        const TRect full = g->FullCell(a.col, a.row);
        EXPECT_EQ(full.Top, a.top) << a.col << "," << a.row;
        EXPECT_EQ(full.Bottom, a.bottom) << a.col << "," << a.row;
    }

    // Column 2 alone merges its own runs, the old areas split first.
    g->MergedColumns()->Delete(0);
    EXPECT_EQ(g->FullCell(1, 2).Top, 2);
    EXPECT_EQ(g->FullCell(1, 2).Bottom, 2);
    EXPECT_EQ(g->FullCell(2, 4).Top, 3);
    EXPECT_EQ(g->FullCell(2, 4).Bottom, 5);
}

TEST(ExGridTyped, PrintColumnsVersionAndCopiedSettings)
{
    auto g = MakeGrid(2, 2);
    for (int col : { -1, 512 }) {
        EXPECT_EQ(GridError([&] { g->PrintColWidth(col); }), "Columns is not in valid range");
        EXPECT_EQ(GridError([&] { g->PrintColOffset(col); }), "Columns is not in valid range");
    }
    EXPECT_EQ(g->PrintColWidth(511), 0);
    EXPECT_EQ(g->Version(), "6.2.1.3");
    EXPECT_EQ(g->GetVersionString(), "6.2.1.3 Sep, 2012");

    g->SetLookupItems(ListOf({ "one" }).get());
    g->SetLookupItems(nullptr);
    ASSERT_EQ(g->LookupItems()->Count(), 1);
    EXPECT_EQ(g->LookupItems()->Strings(0), "one");

    TFont font;
    font.SetName(QStringLiteral("Courier New"));
    g->SetFixedFont(&font);
    EXPECT_EQ(g->FixedFont()->Name(), "Courier New");
}
