// The table forms' row helpers on a string grid with cell check boxes and a
// hidden column: delete and insert at both ends, copy and paste with the
// program's clipboard and its three refusals, the Enter advance and the
// header double click.
#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "common/GridOnForm.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/ModalDriver.h"
#include "platform/runtime/Classes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Real columns: 0 number, 1 box, 2 text, 3 text (hidden), 4 box, 5 text.
constexpr int Cols = 6;
constexpr int Rows = 5;

class TableRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Init_Lang_Default();
        Saved_Clipboard = RowClipboard;
        RowClipboard = &Clipboard;
        RowClipboard_Check.clear();
        Driver = std::make_unique<ModalDriver>(10000);
        G = Make_Grid(Grid_Form);
        Fill(G);
    }
    void TearDown() override
    {
        EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
        Driver.reset();
        RowClipboard = Saved_Clipboard;
        RowClipboard_Check.clear();
    }
    static TExStringGrid* Make_Grid(std::unique_ptr<TGridOnForm<TExStringGrid>>& holder, int cols = Cols)
    {
        holder = std::make_unique<TGridOnForm<TExStringGrid>>(cols, Rows, 400, 200);
        TExStringGrid* g = holder->Grid;
        for (int r = 1; r < Rows; ++r) {
            g->SetCells(0, r, QString::number(r));
            if (cols == Cols) {
                g->AddCheckBox(1, r, false, false);
                g->AddCheckBox(4, r, false, false);
            }
        }
        if (cols == Cols)
            g->HideColumn(3);
        return g;
    }
    // Row r: "x", "." (a box checked or not), else the texts.
    static void Fill(TExStringGrid* g)
    {
        const char* rows[4][5] = {
            { "x", "A1", "H1", ".", "E1" },
            { ".", "A2", "H2", "x", "E2" },
            { "x", "A3", "H3", "x", "E3" },
            { ".", "A4", "H4", ".", "E4" },
        };
        for (int r = 1; r < Rows; ++r)
            Set_Row(g, r, rows[r - 1]);
    }
    static void Set_Row(TExStringGrid* g, int r, const char* const* cells)
    {
        for (int c = 1; c < Cols; ++c) {
            const QString v = QString::fromUtf8(cells[c - 1]);
            if (g->HasCheckBox(c, r))
                g->SetCheckBoxState(c, r, v == "x");
            else
                g->SetCells(c, r, v);
        }
    }
    static std::string Row(TExStringGrid* g, int r) { return Row_Text(g, r).toStdString(); }
    static QString Row_Text(TExStringGrid* g, int r)
    {
        QStringList out { g->Cells(0, r) };
        for (int c = 1; c < g->TotalColCount(); ++c) {
            bool state = false;
            out << (g->GetCheckBoxState(c, r, state) ? (state ? "x" : ".") : g->Cells(c, r));
        }
        return out.join(u'|');
    }
    static std::string All(TExStringGrid* g, int last = Rows - 1)
    {
        QStringList out;
        for (int r = 1; r <= last; ++r)
            out << Row_Text(g, r);
        return out.join(u' ').toStdString();
    }

    TStringList* Saved_Clipboard = nullptr;
    TStringList Clipboard;
    std::unique_ptr<ModalDriver> Driver;
    std::unique_ptr<TGridOnForm<TExStringGrid>> Grid_Form;
    TExStringGrid* G = nullptr;
};

const QString R1 = "1|x|A1|H1|.|E1";
const QString R2 = "2|.|A2|H2|x|E2";
const QString R3 = "3|x|A3|H3|x|E3";
const QString R4 = "4|.|A4|H4|.|E4";

TEST_F(TableRows, DeleteAndInsertAtBothEnds)
{
    struct Case {
        const char* Name;
        bool Insert;
        int Row;
        bool Mark;
        QStringList Expected_Rows;
    } cases[] = {
        { "delete row 1", false, 1, true, { "1|.|A2|H2|x|E2", "2|x|A3|H3|x|E3", "3|.|A4|H4|.|E4", "4|x|||.|" } },
        { "delete the last row", false, 4, false, { R1, R2, R3, "4|.|||.|" } },
        { "delete the last row, marked", false, 4, true, { R1, R2, R3, "4|x|||.|" } },
        { "insert at row 1", true, 1, true, { "1|x|||.|", "2|x|A1|H1|.|E1", "3|.|A2|H2|x|E2", "4|x|A3|H3|x|E3" } },
        { "insert at row 2, unmarked", true, 2, false, { R1, "2|.|||.|", "3|.|A2|H2|x|E2", "4|x|A3|H3|x|E3" } },
        { "insert at the last row", true, 4, true, { R1, R2, R3, "4|x|||.|" } },
        { "row 0 does nothing", false, 0, true, { R1, R2, R3, R4 } },
        { "a row beyond the table does nothing", true, 5, true, { R1, R2, R3, R4 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Fill(G);
        if (c.Insert)
            Grid_Insert_Row_Check(c.Row, G, c.Mark);
        else
            Grid_Delete_Row_Check(c.Row, G, c.Mark);
        EXPECT_EQ(All(G), c.Expected_Rows.join(u' ').toStdString());
        EXPECT_TRUE(G->IsHiddenColumn(3));
    }
}

TEST_F(TableRows, CopyAndPaste)
{
    Grid_Copy_Row_Check(G, 2);
    QStringList copied;
    for (int i = 0; i < Clipboard.Count(); ++i)
        copied << Clipboard.Get(i);
    EXPECT_EQ(copied.join(u'|').toStdString(), "N|A2|H2|Y|E2");
    EXPECT_EQ(RowClipboard_Check, (QList<bool> { true, false, false, true, false }));

    // A grid of other columns (no boxes) fills the clipboard with its own row.
    std::unique_ptr<TGridOnForm<TExStringGrid>> other_form;
    TExStringGrid* other = Make_Grid(other_form, 4);
    other->SetCells(1, 1, "o1");
    other->SetCells(2, 1, "o2");
    other->SetCells(3, 1, "o3");

    const char* blanks[5] = { ".", " ", "", ".", "" };
    const char* boxes_only[5] = { "x", "", "", "x", "" };
    struct Case {
        const char* Name;
        TExStringGrid* Copy_From; // nullptr: keep the copy of row 2
        bool Copied;
        const char* const* Target; // row 4 before, nullptr: R4
        std::vector<TModalResult> Answers;
        QStringList Messages;
        std::string Row4;
    };
    const std::string pasted = "4|.|A2|H2|x|E2";
    const std::string r4 = R4.toStdString();
    const Case cases[] = {
        { "no copy since the form was shown", nullptr, false, nullptr, {}, { Lang(1102) }, r4 },
        { "no copy, other columns too: 1102 first", other, false, nullptr, {}, { Lang(1102) }, r4 },
        { "copied from a grid of other columns", other, true, nullptr, {}, { Lang(1101) }, r4 },
        { "row used, No", nullptr, true, nullptr, { mrNo }, { Lang(1100) }, r4 },
        { "row used, Yes", nullptr, true, nullptr, { mrYes }, { Lang(1100) }, pasted },
        { "a row of blanks is data", nullptr, true, blanks, { mrYes }, { Lang(1100) }, pasted },
        { "a row of checked boxes only is free", nullptr, true, boxes_only, {}, {}, pasted },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Fill(G);
        Grid_Copy_Row_Check(c.Copy_From ? c.Copy_From : G, c.Copy_From ? 1 : 2);
        if (c.Target)
            Set_Row(G, 4, c.Target);
        const std::string before = All(G, 3);
        const auto first = Driver->Messages().size();
        for (TModalResult a : c.Answers)
            Driver->AnswerMessageBox(a);
        Grid_Paste_Row_Check(G, 4, c.Copied);
        QStringList shown;
        for (auto i = first; i < Driver->Messages().size(); ++i)
            shown << Driver->Messages()[i].Text;
        EXPECT_EQ(shown.join(u'/').toStdString(), c.Messages.join(u'/').toStdString());
        EXPECT_EQ(Row(G, 4), c.Row4);
        EXPECT_EQ(All(G, 3), before);
    }
    // A check state that travels unchecked overwrites a checked box too.
    Fill(G);
    Grid_Copy_Row_Check(G, 4);
    Driver->AnswerMessageBox(mrYes);
    Grid_Paste_Row_Check(G, 3, true);
    EXPECT_EQ(Row(G, 3), "3|.|A4|H4|.|E4");
}

TEST_F(TableRows, EnterMovesToTheNextCell)
{
    // Shown columns 0 to 4 (real 3 hidden): the last shown one is 4.
    struct Case {
        const char* Name;
        bool Option;
        char16_t Key;
        int Col, Row;
        char16_t Key_After;
        int Col_After, Row_After;
    } cases[] = {
        { "next column", true, 13, 1, 1, 0, 2, 1 },
        { "last column to the next row", true, 13, 4, 2, 0, 1, 3 },
        { "last cell back to the first", true, 13, 4, 4, 0, 1, 1 },
        { "option off: passed on", false, 13, 2, 2, 13, 2, 2 },
        { "other keys: passed on", true, u'a', 2, 2, u'a', 2, 2 },
    };
    TSharedStateGuard state;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Opt_Jump_Field_Tables = c.Option;
        G->SetCol(c.Col);
        G->SetRow(c.Row);
        char16_t key = c.Key;
        Grid_Enter_Next_Cell(G, key);
        EXPECT_EQ(key, c.Key_After);
        EXPECT_EQ(G->Col(), c.Col_After);
        EXPECT_EQ(G->Row(), c.Row_After);
    }
    // In the header row (a grid without fixed rows lets the cursor there) the
    // key is consumed and the cursor stays.
    Opt_Jump_Field_Tables = true;
    G->SetFixedRows(0);
    G->SetCol(2);
    G->SetRow(0);
    ASSERT_EQ(G->Row(), 0);
    char16_t key = 13;
    Grid_Enter_Next_Cell(G, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(G->Row(), 0);
    EXPECT_EQ(G->Col(), 2);
}

TEST_F(TableRows, HeaderDoubleClickSizesTheColumnExactly)
{
    TSharedStateGuard state;
    G->SetCells(2, 0, "A rather long header text");
    // The same column sized by the grid without padding.
    std::unique_ptr<TGridOnForm<TExStringGrid>> ref_form;
    TExStringGrid* ref = Make_Grid(ref_form);
    Fill(ref);
    ref->SetCells(2, 0, "A rather long header text");
    ref->AutoSizeCol(2, 0);
    const int exact = ref->ColWidths(2);
    ASSERT_GT(exact, 50);

    struct Case {
        const char* Name;
        bool Option;
        int Row;
        int Width;
    } cases[] = {
        { "data row does nothing", true, 1, 50 },
        { "option off does nothing", false, 0, 50 },
        { "header row sizes", true, 0, exact },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Opt_Dbl_Click_Auto_Size = c.Option;
        G->SetColWidths(2, 50);
        Grid_DblClick_AutoSize(G, c.Row, 2);
        EXPECT_EQ(G->ColWidths(2), c.Width);
    }
}

} // namespace
