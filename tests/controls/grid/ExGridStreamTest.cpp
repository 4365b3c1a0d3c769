#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

#include "common/GridOnForm.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Grids.h"
#include "platform/runtime/Classes.h"

namespace {

// The bytes of lines as the stream form stores them: UTF-16 little-endian,
// each line ended by CR LF.
QByteArray Utf16(const QString& text)
{
    QByteArray out;
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray Utf16Lines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += Utf16(line + QStringLiteral("\r\n"));
    return out;
}

QStringList LinesOf(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8)));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

std::unique_ptr<TMemoryStream> StreamOf(const QByteArray& bytes)
{
    auto s = std::make_unique<TMemoryStream>();
    s->WriteBuffer(bytes);
    s->SetPosition(0);
    return s;
}

std::unique_ptr<TExStringGrid> MakeGrid(int cols, int rows)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    return g;
}

QByteArray Saved(TExStringGrid& g)
{
    TMemoryStream s;
    g.SaveToStream(&s);
    return s.Bytes();
}

} // namespace

TEST(GridStream, ThreeByThreeGridLineByLineAndBack)
{
    struct Case {
        bool saveFixedCells;
        QStringList lines;
    } cases[] = {
        // Without fixed cells the coordinates count from the first normal cell.
        { false, { "2,2", "cw 0,64", "cw 1,64", "cw 2,64", "0,0,a", "1,1,b" } },
        // The grid's default saves the fixed cells too.
        { true, { "3,3", "cw 0,64", "cw 1,64", "cw 2,64", "1,1,a", "2,2,b" } },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(3, 3);
        ASSERT_EQ(g->FixedCols(), 1);
        ASSERT_EQ(g->FixedRows(), 1);
        g->SetSaveFixedCells(c.saveFixedCells);
        g->SetCells(1, 1, "a");
        g->SetCells(2, 2, "b");
        const QByteArray bytes = Saved(*g);
        EXPECT_EQ(bytes.left(4), QByteArray(c.saveFixedCells ? "3\0," : "2\0,", 4)) << "no byte-order mark";
        EXPECT_EQ(bytes, Utf16Lines(c.lines)) << c.saveFixedCells;

        auto back = MakeGrid(7, 9);
        back->SetSaveFixedCells(c.saveFixedCells);
        back->SetColWidths(2, 10);
        auto s = StreamOf(bytes);
        back->LoadFromStream(s.get());
        EXPECT_EQ(back->ColCount(), 3);
        EXPECT_EQ(back->RowCount(), 3);
        EXPECT_EQ(back->ColWidths(2), 64);
        EXPECT_EQ(back->Cells(1, 1), "a");
        EXPECT_EQ(back->Cells(2, 2), "b");
        EXPECT_EQ(back->Cells(1, 2), "");
        EXPECT_EQ(s->Position(), s->Size());
    }
}

TEST(GridStream, SaveRangeFollowsTheFixedCellSettings)
{
    // 6 x 5 with one fixed column and row, a right fixed column and a footer row.
    struct Case {
        bool cells, cols, rows;
        int startCol, endCol, colCount, startRow, endRow, rowCount;
    } cases[] = {
        { true, false, false, 0, 5, 6, 0, 4, 5 },
        { false, false, false, 1, 4, 4, 1, 3, 3 },
        { false, true, false, 0, 5, 6, 1, 3, 3 },
        { false, false, true, 1, 4, 4, 0, 4, 5 },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(6, 5);
        g->SetFixedRightCols(1);
        g->SetFixedFooters(1);
        g->SetSaveFixedCells(c.cells);
        g->SetSaveFixedCols(c.cols);
        g->SetSaveFixedRows(c.rows);
        const std::vector<int> got { g->SaveStartCol(), g->SaveEndCol(), g->SaveColCount(), g->SaveStartRow(),
            g->SaveEndRow(), g->SaveRowCount() };
        EXPECT_EQ(got, (std::vector<int> { c.startCol, c.endCol, c.colCount, c.startRow, c.endRow, c.rowCount }))
            << c.cells << c.cols << c.rows;
    }
}

TEST(GridStream, SettingDefaults)
{
    TExStringGrid g(nullptr);
    EXPECT_TRUE(g.SaveFixedCells());
    EXPECT_TRUE(g.SaveVirtCells());
    EXPECT_TRUE(g.SaveWithHTML());
    EXPECT_FALSE(g.SaveFixedCols());
    EXPECT_FALSE(g.SaveFixedRows());
    EXPECT_FALSE(g.SaveWithRTF());
    EXPECT_FALSE(g.Multilinecells());
    EXPECT_EQ(g.FixedRightCols(), 0);
    EXPECT_EQ(g.FixedFooters(), 0);
}

TEST(GridStream, ControlCharactersKeepACellOnOneLineAndComeBack)
{
    const QChar nul(0);
    struct Case {
        QString text;
        bool multiline;
        QString loaded;
    } cases[] = {
        { "x\r\ny", true, "x\r\ny" },
        { "x\r\ny", false, "x" },
        // A TAB beside a line break and a CR without an LF come back as they were.
        { "a\tb\r\nc", true, "a\tb\r\nc" },
        { "a\rb", true, "a\rb" },
        { "a\nb", true, "a\nb" },
        { QString("p\r\n") + nul + "q", true, QString("p\r\n") + nul + "q" },
        { "tab\tonly", false, "tab\tonly" },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(2, 2);
        g->SetCells(1, 1, c.text);
        const QByteArray bytes = Saved(*g);
        const QStringList lines = LinesOf(bytes);
        ASSERT_EQ(lines.size(), 4) << c.text.toStdString();
        EXPECT_FALSE(lines[3].contains(QChar(13)) || lines[3].contains(QChar(10))) << c.text.toStdString();

        auto back = MakeGrid(2, 2);
        back->SetMultilinecells(c.multiline);
        auto s = StreamOf(bytes);
        back->LoadFromStream(s.get());
        EXPECT_EQ(back->Cells(1, 1), c.loaded) << c.text.toStdString() << c.multiline;
    }
    // The usual multi-line text is written as the format always had it.
    auto g = MakeGrid(2, 2);
    g->SetCells(1, 1, "x\r\ny");
    EXPECT_EQ(LinesOf(Saved(*g)).last(), QString("1,1,x") + QChar(9) + QChar(8) + "y");
}

TEST(GridStream, ReadingStopsAtTheFirstLineThatIsNotTheGrids)
{
    const QByteArray prefix("PREFIX", 6);
    auto source = MakeGrid(3, 3);
    source->SetCells(1, 1, "a");
    source->SetCells(2, 1, "1,2,3");
    TMemoryStream s;
    s.WriteBuffer(prefix);
    source->SaveToStream(&s);
    const qint64 otherData = s.Position();
    s.WriteBuffer(Utf16Lines({ "1,other data", "2,2,not a cell" }));

    struct Case {
        const char* name;
        QByteArray bytes;
        qint64 stopsAt;
        QString cell;
    } cases[] = {
        { "grid inside a stream", s.Bytes(), otherData, "a" },
        { "empty line", prefix + Utf16Lines({ "3,3", "1,1,a", "" }), 6 + 2 * 12, "a" },
        // A CR without an LF ends the line; the next line starts right after it.
        { "lone CR", prefix + Utf16Lines({ "3,3" }) + Utf16("1,1,x\r") + Utf16Lines({ "oops" }), 6 + 2 * 11, "x" },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(3, 3);
        TMemoryStream in;
        in.WriteBuffer(c.bytes);
        in.SetPosition(prefix.size());
        g->LoadFromStream(&in);
        EXPECT_EQ(in.Position(), c.stopsAt) << c.name;
        EXPECT_EQ(g->Cells(1, 1), c.cell) << c.name;
        EXPECT_EQ(g->Cells(2, 2), "") << c.name;
    }

    auto g = MakeGrid(5, 5);
    TMemoryStream in;
    in.WriteBuffer(s.Bytes());
    in.SetPosition(prefix.size());
    g->LoadFromStream(&in);
    EXPECT_EQ(g->Cells(1, 1), "a");
    EXPECT_EQ(g->Cells(2, 1), "1,2,3");
    EXPECT_EQ(g->ColCount(), 3);
}

TEST(GridStream, LongStreamsReadAcrossBlocks)
{
    // More lines than one read block holds, a line start falling back into
    // a block already passed.
    auto source = MakeGrid(4, 3000);
    for (int r = 0; r < 3000; ++r)
        source->SetCells(r % 4, r, QString("row %1 ").arg(r).repeated(r % 7 + 1));
    TMemoryStream s;
    source->SaveToStream(&s);
    const qint64 end = s.Position();
    s.WriteBuffer(Utf16Lines({ "trailer" }));
    s.SetPosition(0);
    auto g = MakeGrid(2, 2);
    g->LoadFromStream(&s);
    EXPECT_EQ(s.Position(), end);
    ASSERT_EQ(g->RowCount(), 3000);
    for (int r = 0; r < 3000; r += 7)
        EXPECT_EQ(g->Cells(r % 4, r), source->Cells(r % 4, r)) << r;
}

TEST(GridStream, EmptyStreamOnlyReportsTheCellsChanged)
{
    auto g = MakeGrid(4, 6);
    g->SetCells(1, 1, "kept");
    std::vector<TRect> changes;
    g->OnCellsChanged = [&](TObject* Sender, const TRect& R) {
        EXPECT_EQ(Sender, g.get());
        changes.push_back(R);
    };
    TMemoryStream s;
    g->LoadFromStream(&s);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->Cells(1, 1), "kept");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], Rect(0, 0, 4, 6));
}

TEST(GridStream, MalformedStreamsRaiseAndKeepWhatWasRead)
{
    struct Case {
        const char* name;
        QStringList lines;
        bool convertError; // else the grid's index error
        bool sizeKept;
    } cases[] = {
        { "header not a number", { "2,x", "cw 0,64" }, true, true },
        { "header without a comma", { "3", "cw 0,64" }, true, true },
        { "more columns than width lines", { "2000000000,3", "cw 0,64", "0,0,x" }, true, true },
        { "more rows than a grid holds", { "2,2000000000", "cw 0,64", "cw 1,64", "cw 2,64", "0,1999999999,x" }, true,
            true },
        { "cell row not a number", { "2,2", "cw 0,64", "cw 1,64", "cw 2,64", "0,0,a", "1,z,b" }, true, false },
        { "width not a number", { "2,2", "0,0,a", "cw 1,wide" }, true, false },
        { "width line without a comma", { "2,2", "0,0,a", "cw 1" }, true, false },
        { "width beyond the grid", { "2,2", "0,0,a", "cw 3,20" }, false, false },
        { "negative width column", { "2,2", "0,0,a", "cw -1,20" }, false, false },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(5, 4);
        g->SetSaveFixedCells(false);
        auto s = StreamOf(Utf16Lines(c.lines));
        if (c.convertError)
            EXPECT_THROW(g->LoadFromStream(s.get()), EConvertError) << c.name;
        else
            EXPECT_THROW(g->LoadFromStream(s.get()), EInvalidGridOperation) << c.name;
        if (c.sizeKept) {
            EXPECT_EQ(g->ColCount(), 5) << c.name;
            EXPECT_EQ(g->RowCount(), 4) << c.name;
        } else {
            EXPECT_EQ(g->ColCount(), 3) << c.name;
            EXPECT_EQ(g->Cells(1, 1), "a") << c.name;
        }
    }
}

TEST(GridStream, CellLinesOutsideTheGridAreSkipped)
{
    const QStringList lines
        = { "2,2", "5,5,far", "2147483647,2147483647,overflow", "-2,0,left", "0,-2,above", "0,0,in" };
    QByteArray bytes = Utf16Lines(lines);
    bytes.append('\x41'); // half a unit at the end
    auto g = MakeGrid(3, 3);
    g->SetSaveFixedCells(false);
    auto s = StreamOf(bytes);
    g->LoadFromStream(s.get());
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(g->Cells(c, r), c == 1 && r == 1 ? "in" : "") << c << "," << r;
    EXPECT_EQ(g->Store().StoredRowCount(), 2);
    EXPECT_EQ(s->Position(), s->Size() - 1);
}

namespace {

class TDisplayGrid : public TExStringGrid {
public:
    using TExStringGrid::FNormalRowCount;
    using TExStringGrid::TExStringGrid;
};

} // namespace

TEST(GridStream, HugeWidthsAreLimitedSoTheGridCanLayThemOut)
{
    TGridOnForm<TExStringGrid> f(4, 4, 300, 200);
    auto s = StreamOf(Utf16Lines({ "4,4", "cw 1,2147483647", "cw 2,70000", "cw 3,-5", "1,1,x" }));
    f.Grid->LoadFromStream(s.get());
    EXPECT_EQ(f.Grid->ColWidths(1), 65535);
    EXPECT_EQ(f.Grid->ColWidths(2), 65535);
    EXPECT_EQ(f.Grid->ColWidths(3), 0);
    f.Grid->SetLeftCol(2);
    f.Grid->Repaint();
    EXPECT_EQ(f.Grid->GridWidth(), f.Grid->ClientRect().Width()) << "the wide column fills the view";
}

TEST(GridStream, SavedAndLoadedTextsGoThroughTheHooks)
{
    auto g = std::make_unique<TDisplayGrid>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(2);
    g->FNormalRowCount = 2; // the display hooks run on normal rows
    g->OnGetDisplText = [](TObject*, int ACol, int, QString& Value) {
        if (ACol == 1 && !Value.isEmpty())
            Value = "[" + Value + "]";
    };
    g->SetCells(1, 1, "raw");
    g->SetCells(2, 1, "<B>bold</B>");
    g->SetCells(0, 1, "{\\rtf1 a\r\nb}");
    // Rich text keeps its form on one line.
    g->SetSaveWithRTF(true);
    struct Case {
        bool virt, html;
        QStringList cells;
    } cases[] = {
        { true, true, { "0,1,{\\rtf1 ab}", "1,1,[raw]", "2,1,<B>bold</B>" } },
        { false, false, { "0,1,{\\rtf1 ab}", "1,1,raw", "2,1,bold" } },
    };
    for (const Case& c : cases) {
        g->SetSaveVirtCells(c.virt);
        g->SetSaveWithHTML(c.html);
        EXPECT_EQ(LinesOf(Saved(*g)).mid(4), c.cells) << c.virt;
    }

    g->OnSaveCell = [](TObject*, int ACol, int ARow, QString& Value) {
        if (ACol == 1 && ARow == 1)
            Value = "saved " + Value;
    };
    auto back = MakeGrid(2, 2);
    std::vector<std::pair<int, int>> loaded;
    back->OnLoadCell = [&](TObject* Sender, int ACol, int ARow, QString& Value) {
        EXPECT_EQ(Sender, back.get());
        loaded.emplace_back(ACol, ARow);
        Value = Value.toUpper();
    };
    auto s = StreamOf(Saved(*g));
    back->LoadFromStream(s.get());
    EXPECT_EQ(back->Cells(1, 1), "SAVED RAW");
    EXPECT_EQ(back->Cells(2, 1), "BOLD");
    EXPECT_EQ(loaded, (std::vector<std::pair<int, int>> { { 0, 1 }, { 1, 1 }, { 2, 1 } }));
}

namespace {

class TNotifiedGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    std::vector<std::pair<int, int>> Notes;
    void ExportNotification(int AState, int ARow) override { Notes.emplace_back(AState, ARow); }
};

} // namespace

TEST(GridStream, WriterReportsStartEachRowAndEnd)
{
    TNotifiedGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(4);
    g.SetSaveFixedCells(false);
    g.SetFixedFooters(1);
    TMemoryStream s;
    g.SaveToStream(&s);
    const std::vector<std::pair<int, int>> expected { { TExStringGrid::esExportStart, 1 },
        { TExStringGrid::esExportNextRow, 1 }, { TExStringGrid::esExportNextRow, 2 },
        { TExStringGrid::esExportDone, -1 } };
    EXPECT_EQ(g.Notes, expected);
}

TEST(GridStream, AssignCellsCopiesTheCellsOfAnotherGrid)
{
    auto source = MakeGrid(4, 5);
    source->SetCells(0, 0, "corner");
    source->SetCells(3, 4, "last");
    source->SetCells(2, 2, "multi\r\nline");
    source->SetColWidths(3, 90);

    auto target = MakeGrid(6, 8);
    target->SetMultilinecells(true);
    target->SetCells(1, 1, "stale");
    target->SetCells(2, 2, "overwritten");
    target->AssignCells(source.get());
    EXPECT_EQ(target->ColCount(), 4);
    EXPECT_EQ(target->RowCount(), 5);
    EXPECT_EQ(target->ColWidths(3), 90);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 5; ++r)
            EXPECT_EQ(target->Cells(c, r), source->Cells(c, r)) << c << "," << r;

    // Another kind of source changes nothing.
    TStringList notAGrid;
    notAGrid.Add("x");
    target->AssignCells(&notAGrid);
    target->AssignCells(nullptr);
    EXPECT_EQ(target->Cells(0, 0), "corner");
    EXPECT_EQ(target->ColCount(), 4);

    // A grid copies itself.
    target->AssignCells(target.get());
    EXPECT_EQ(target->Cells(3, 4), "last");
}

TEST(GridStream, AssignCellsKeepsRightFixedColumnsOutOfTheCopy)
{
    // Without fixed cells the right fixed column is not saved: the copy
    // sizes itself to the saved columns and takes the widths it has room for.
    auto make = [] {
        auto g = MakeGrid(5, 4);
        g->SetSaveFixedCells(false);
        g->SetFixedRightCols(1);
        return g;
    };
    auto source = make();
    source->SetCells(1, 1, "a");
    source->SetCells(3, 2, "b");
    source->SetCells(4, 1, "right fixed");
    source->SetColWidths(3, 77);
    EXPECT_EQ(
        LinesOf(Saved(*source)), (QStringList { "3,3", "cw 0,64", "cw 1,64", "cw 2,64", "cw 3,77", "0,0,a", "2,1,b" }));
    auto target = make();
    ASSERT_NO_THROW(target->AssignCells(source.get()));
    EXPECT_EQ(target->ColCount(), 4);
    EXPECT_EQ(target->ColWidths(3), 77);
    EXPECT_EQ(target->Cells(1, 1), "a");
    EXPECT_EQ(target->Cells(3, 2), "b");
}

// An empty check-box cell saves its state as the check texts; while rows are
// hidden the state is read at the shown row's real row.
TEST(GridStream, CheckBoxCellsSaveTheirState)
{
    for (const bool hideRow : { false, true }) {
        SCOPED_TRACE(hideRow);
        auto g = MakeGrid(4, 5);
        g->SetCheckTrue("on");
        g->SetCheckFalse("off");
        g->AddCheckBox(1, 2, true, false);
        g->AddCheckBox(1, 3, false, false);
        g->AddCheckBox(2, 2, cbChecked);
        g->AddCheckBox(2, 3, cbGrayed);
        g->SetCells(3, 2, "text");
        g->AddCheckBox(3, 2, true, false);
        g->AddCheckBox(3, 3, true, false);
        int r = 2; // the shown row of real row 2
        if (hideRow) {
            g->HideRow(1);
            r = 1;
        }
        struct Case {
            int col, row;
            QString saved;
        } cases[] = { { 1, r, "on" }, { 1, r + 1, "off" }, { 2, r, "on" }, { 2, r + 1, "off" }, { 3, r, "text" },
            { 3, r + 1, "on" } };
        const QStringList lines = LinesOf(Saved(*g));
        for (const Case& c : cases) {
            EXPECT_EQ(g->GetSaveCellText(c.col, c.row), c.saved) << c.col << "," << c.row;
            const QString line
                = QStringLiteral("%1,%2,%3").arg(c.col - g->SaveStartCol()).arg(c.row - g->SaveStartRow()).arg(c.saved);
            EXPECT_TRUE(lines.contains(line)) << line.toStdString();
        }
    }
}

// The stream holds the shown columns, numbered as they show: a hidden inner
// column leaves no gap, every text (a check box's state too) and width goes
// with its own column, and a reader with a hidden column of its own fills
// its shown columns around it.
TEST(GridStream, HiddenColumnsStayOutAndTheShownOnesKeepTheirCells)
{
    auto g = MakeGrid(5, 3);
    for (int c = 0; c < 5; ++c)
        g->SetCells(c, 1, QStringLiteral("c%1").arg(c));
    g->SetCheckTrue("on");
    g->SetCheckFalse("off");
    g->AddCheckBox(3, 2, true, false);
    g->SetColWidths(3, 90);
    g->HideColumn(2);
    const QByteArray bytes = Saved(*g);
    EXPECT_EQ(LinesOf(bytes),
        (QStringList {
            "4,3", "cw 0,64", "cw 1,64", "cw 2,90", "cw 3,64", "0,1,c0", "1,1,c1", "2,1,c3", "3,1,c4", "2,2,on" }));

    auto plain = MakeGrid(2, 2);
    auto s = StreamOf(bytes);
    plain->LoadFromStream(s.get());
    EXPECT_EQ(plain->ColCount(), 4);
    EXPECT_EQ(plain->ColWidths(2), 90);
    EXPECT_EQ(plain->Cells(2, 1), "c3");
    EXPECT_EQ(plain->Cells(2, 2), "on");

    for (const bool assign : { false, true }) {
        SCOPED_TRACE(assign);
        auto hiding = MakeGrid(5, 3);
        hiding->SetCells(1, 1, "kept");
        hiding->SetCells(2, 1, "stale");
        hiding->HideColumn(1);
        if (assign) {
            hiding->AssignCells(g.get());
        } else {
            auto in = StreamOf(bytes);
            hiding->LoadFromStream(in.get());
        }
        EXPECT_EQ(hiding->ColCount(), 4);
        EXPECT_EQ(hiding->ColWidths(2), 90);
        const QStringList expected { "c0", "c1", "c3", "c4" };
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(hiding->Cells(hiding->RealColIndex(d), 1), expected[d]) << d;
        EXPECT_EQ(hiding->Cells(hiding->RealColIndex(2), 2), "on");
        EXPECT_EQ(hiding->Cells(1, 1), "kept") << "a hidden column is not the reader's to fill";
    }
}
