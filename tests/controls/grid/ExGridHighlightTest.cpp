// The string grid's highlight and error-mark tags in cell texts, and the cell
// checks that run a checker over cells.

#include <gtest/gtest.h>

#include "controls/grid/ExGrid.h"
#include "controls/grid/esgcheck.h"

#include <memory>

namespace {

// A grid whose every cell holds "x", with one fixed row and column.
struct TTagGrid {
    TExStringGrid g { nullptr };
    TTagGrid(int cols, int rows)
    {
        g.SetColCount(cols);
        g.SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                g.SetCells(c, r, "x");
    }
    // The cells of row r (real columns) that carry the tag.
    QString Tagged(int r, const QString& tag)
    {
        QString s;
        for (int c = 0; c < g.TotalColCount(); ++c)
            s += g.Cells(c, r).contains("<" + tag + ">") ? "T" : ".";
        return s;
    }
};

TEST(ExGridHighlight, HighlightEncodesTheCellTextAndRemovingRestoresIt)
{
    TExStringGrid g(nullptr);
    g.SetCells(1, 1, "a<b");
    g.HilightInCell(false, 1, 1, "b");
    EXPECT_EQ(g.Cells(1, 1), "a&lt;<hi>b</hi>");
    g.UnHilightInCell(1, 1);
    EXPECT_EQ(g.Cells(1, 1), "a<b");
    // The search text is encoded the same way; marks use their own tag.
    g.SetCells(2, 1, "1<2 & 1<3");
    g.MarkInCell(true, 2, 1, "1<");
    EXPECT_EQ(g.Cells(2, 1), "<e>1&lt;</e>2 &amp; <e>1&lt;</e>3");
    g.UnHilightInCell(2, 1); // another tag: only the entities go
    EXPECT_EQ(g.Cells(2, 1), "<e>1<</e>2 & <e>1<</e>3");
    // Case matters only when asked for.
    g.SetCells(3, 1, "Ab ab");
    g.HilightInCell(true, 3, 1, "ab");
    EXPECT_EQ(g.Cells(3, 1), "Ab <hi>ab</hi>");
    g.UnHilightInCell(3, 1);
    g.HilightInCell(false, 3, 1, "ab");
    EXPECT_EQ(g.Cells(3, 1), "<hi>Ab</hi> <hi>ab</hi>");
}

TEST(ExGridHighlight, RangesOfRowsColumnsAndTheGrid)
{
    // 5 real columns, the last one hidden; a fixed row and a fixed column.
    struct TCase {
        const char* name;
        std::function<void(TExStringGrid&)> run;
        const char* tag;
        int row;
        const char* expected; // per real column
    };
    const TCase cases[] = {
        { "HilightInRow skips hidden columns", [](TExStringGrid& g) { g.HilightInRow(false, false, 1, "x"); }, "hi", 1,
            ".TTT." },
        { "HilightInRow with fixed", [](TExStringGrid& g) { g.HilightInRow(true, false, 1, "x"); }, "hi", 1, "TTTT." },
        { "HilightInGrid reaches hidden columns", [](TExStringGrid& g) { g.HilightInGrid(false, false, "x"); }, "hi", 1,
            ".TTTT" },
        { "HilightInGrid with fixed does not", [](TExStringGrid& g) { g.HilightInGrid(true, false, "x"); }, "hi", 0,
            "TTTT." },
        { "MarkInGrid does not", [](TExStringGrid& g) { g.MarkInGrid(false, false, "x"); }, "e", 1, ".TTT." },
        { "MarkInGrid leaves the fixed row", [](TExStringGrid& g) { g.MarkInGrid(false, false, "x"); }, "e", 0,
            "....." },
        { "HilightInCol", [](TExStringGrid& g) { g.HilightInCol(false, false, 4, "x"); }, "hi", 2, "....T" },
    };
    for (const TCase& tc : cases) {
        TTagGrid t(5, 3);
        t.g.SetFixedCols(1);
        t.g.SetFixedRows(1);
        t.g.HideColumn(4);
        tc.run(t.g);
        EXPECT_EQ(t.Tagged(tc.row, tc.tag), tc.expected) << tc.name;
    }

    // Removing in a row (or the grid) reaches hidden columns.
    TTagGrid t(5, 3);
    t.g.SetFixedCols(1);
    t.g.SetFixedRows(1);
    t.g.HideColumn(4);
    t.g.HilightInGrid(true, false, "x");
    t.g.HilightInCell(false, 4, 1, "x");
    t.g.MarkInCell(false, 4, 2, "x");
    t.g.UnHilightInRow(false, 1);
    EXPECT_EQ(t.Tagged(1, "hi"), "T....");
    t.g.UnMarkInGrid(true);
    EXPECT_EQ(t.Tagged(2, "e"), ".....");
    t.g.UnHilightInGrid(true);
    EXPECT_EQ(t.Tagged(0, "hi") + t.Tagged(1, "hi"), "..........");
}

TEST(ExGridHighlight, MergedAreasAndDisplayTexts)
{
    TTagGrid t(4, 3);
    t.g.MergeCells(1, 1, 2, 1);
    t.g.SetCells(2, 1, "covered x");
    t.g.HilightInRow(true, false, 1, "x");
    EXPECT_EQ(t.g.Cells(1, 1), "<hi>x</hi>");
    EXPECT_EQ(t.g.Cells(2, 1), "covered x");

    // With a display hook the display text is what gets stored.
    TTagGrid d(3, 3);
    d.g.OnGetDisplText = [](TObject*, int ACol, int ARow, QString& Value) {
        if (ACol == 1 && ARow == 1)
            Value = "shown x";
    };
    d.g.HilightInCell(false, 1, 1, "x");
    EXPECT_EQ(d.g.Cells(1, 1), "shown <hi>x</hi>");
}

// Corrects "teh" to "the" and marks every "?" as an error; counts its calls.
struct TSpellChecker : TExStringGridCheck {
    using TExStringGridCheck::TExStringGridCheck;
    int Starts = 0, Stops = 0;
    QString Correct(int, int, const QString& Value) override
    {
        QString s = Value;
        return s.replace("teh", "the");
    }
    QString MarkError(int, int, const QString& Value) override
    {
        QString s = Value;
        return s.replace("?", "<e>?</e>");
    }
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
};

TEST(ExGridHighlight, CheckGridWithACorrectingChecker)
{
    TTagGrid t(3, 4);
    t.g.SetFixedCols(1);
    t.g.SetFixedRows(1);
    t.g.SetCells(1, 2, "teh cat");
    t.g.SetCells(0, 2, "teh fixed");
    t.g.SetCells(2, 3, "<e>x</e>"); // an old mark goes
    EXPECT_TRUE(t.g.CheckGrid(false)); // no checker yet
    TSpellChecker checker(nullptr);
    checker.SetUseCorrect(true);
    checker.SetGotoCell(true);
    t.g.SetCellChecker(&checker);
    t.g.SetCol(2);
    t.g.SetRow(1);
    EXPECT_FALSE(t.g.CheckGrid(false));
    EXPECT_EQ(t.g.Cells(1, 2), "the cat");
    EXPECT_EQ(t.g.Cells(0, 2), "teh fixed");
    EXPECT_EQ(t.g.Cells(2, 3), "x");
    EXPECT_EQ(checker.Starts, 1);
    EXPECT_EQ(checker.Stops, 1);
    EXPECT_EQ(t.g.Col(), 2); // back where it was
    EXPECT_EQ(t.g.Row(), 1);
    // Nothing left to correct.
    EXPECT_TRUE(t.g.CheckGrid(false));

    // Marking starts from the unmarked text too, so with both on the marks
    // replace the correction.
    checker.SetUseMarkError(true);
    t.g.SetCells(1, 1, "teh?");
    EXPECT_FALSE(t.g.CheckCell(1, 1));
    EXPECT_EQ(t.g.Cells(1, 1), "teh<e>?</e>");
    EXPECT_EQ(t.g.Col(), 1); // a single check goes to the cell
    // Checking again removes the old mark before marking anew.
    EXPECT_FALSE(t.g.CheckCell(1, 1));
    EXPECT_EQ(t.g.Cells(1, 1), "teh<e>?</e>");
}

TEST(ExGridHighlight, AFreedCheckerIsForgotten)
{
    TExStringGrid g(nullptr);
    auto checker = std::make_unique<TSpellChecker>(nullptr);
    g.SetCellChecker(checker.get());
    EXPECT_EQ(g.CellChecker(), checker.get());
    checker.reset();
    EXPECT_EQ(g.CellChecker(), nullptr);
    EXPECT_TRUE(g.CheckCell(1, 1));
    // A grid freed first leaves the checker working.
    TSpellChecker other(nullptr);
    {
        TExStringGrid h(nullptr);
        h.SetCellChecker(&other);
    }
    SUCCEED();
}

} // namespace
