// The table-form frame on HART_Variables.xml and the HART variables form:
// the integer rule, loading and saving (golden file, missing, damaged and
// odd files, surplus rows, rows after an empty key, texts that need
// escaping), the ten checks, the cells that follow the type, the row
// buttons, the import from a scan against the converter stand-in, the file
// the image builder compiles, and the form's picture.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/USaveBincc.h"
#include "app/tables/ConverterSimulator.h"
#include "app/tables/UHARTVariables.h"
#include "app/tables/UHART_Scan.h"
#include "app/tables/UMorvantile_HART.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"

#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using testutil::ReadFile;
using testutil::WriteFile;

TEST(TableInt, IntegerRule)
{
    struct Case {
        const char* Text;
        int Int;
        std::int64_t Int64;
    } cases[] = {
        { " 16", 16, 16 },
        { "16 ", -1, -1 },
        { "0x10", 16, 16 },
        { "$10", 16, 16 },
        { "x10", 16, 16 },
        { "X10", 16, 16 },
        { "0X1f", 31, 31 },
        { "-1", -1, -1 },
        { "+7", 7, 7 },
        { "", -1, -1 },
        { "1e3", -1, -1 },
        { "2147483648", -1, 2147483648LL },
        { "0xFFFFFFFFFF", -1, 1099511627775LL },
        { "9223372036854775808", -1, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(Table_Int(QString::fromLatin1(c.Text)), c.Int);
        EXPECT_EQ(Table_Int64(QString::fromLatin1(c.Text)), c.Int64);
    }
}

// A row as "x"/"." for the boxes and the texts, joined with "|".
using TCells = std::vector<QString>;

class HartVariables : public ::testing::Test {
protected:
    void SetUp() override
    {
        Init_Lang_Default();
        Project_Folder = testutil::TempDir();
        Set_Project_Files();
        Saved_Clipboard = RowClipboard;
        RowClipboard = &Clipboard;
        Driver = std::make_unique<ModalDriver>(30000);
        Form = std::make_unique<TFHARTVariables>(nullptr);
        G = Form->ESG;
    }
    void TearDown() override
    {
        Form.reset();
        EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
        Driver.reset();
        RowClipboard = Saved_Clipboard;
    }

    void Set_Row(int r, const TCells& cells)
    {
        for (int c = 1; c <= 12; ++c) {
            const QString v = c - 1 < int(cells.size()) ? cells[std::size_t(c - 1)] : QString();
            if (G->HasCheckBox(c, r))
                G->SetCheckBoxState(c, r, v == "x");
            else
                G->SetCells(c, r, v);
        }
    }
    std::string Row(int r) const
    {
        QStringList out;
        for (int c = 1; c <= 12; ++c) {
            bool state = false;
            out << (G->GetCheckBoxState(c, r, state) ? (state ? "x" : ".") : G->Cells(c, r));
        }
        return out.join(u'|').toStdString();
    }
    // The read-only cells of a row: Params, Swap, Conv Int, Operations.
    std::string Locks(int r) const
    {
        std::string s;
        for (int c : { HART_Var_Col_Params, HART_Var_Col_Swap, HART_Var_Col_ConvInt, HART_Var_Col_Operations })
            s += G->ReadOnly(c, r) ? 'R' : 'w';
        return s;
    }
    QStringList Texts_Since(std::size_t first) const
    {
        QStringList out;
        for (auto i = first; i < Driver->Messages().size(); ++i)
            out << Driver->Messages()[i].Text;
        return out;
    }
    void Show() { Form->FormShow(Form.get()); }
    // OK as the user presses it; the form's result tells whether it closed.
    TModalResult Ok()
    {
        Form->SetModalResult(mrNone);
        Form->Btn_OKClick(Form->Btn_OK);
        return Form->ModalResult();
    }

    TSharedStateGuard State;
    TStringList* Saved_Clipboard = nullptr;
    TStringList Clipboard;
    std::unique_ptr<ModalDriver> Driver;
    std::unique_ptr<TFHARTVariables> Form;
    TExStringGrid* G = nullptr;
};

const std::string Reset_Row = "x|||||||.|.|||";
const TCells Valid { "x", "0x1AB20CDEF0", "5", "Var", "246", "", "0", ".", ".", "None", "1000", "" };

TEST_F(HartVariables, AsCreated)
{
    EXPECT_EQ(Form->ClientWidth(), 1150);
    EXPECT_EQ(Form->ClientHeight(), 337);
    EXPECT_EQ(Form->Color(), TColor(15595512));
    EXPECT_EQ(Form->Font()->Name(), "Tahoma");
    EXPECT_EQ(Form->Caption(), "Definition of HART Variables List");
    EXPECT_EQ(G->ColCount(), 13);
    EXPECT_EQ(G->RowCount(), 101);
    const char* headers[13] = { "N", "Enable", "Device Address", "Preamble Count", "Type", "Var/Cmd Number", "Params",
        "Position", "Swap", "Conv Int", "Operations", "TimeOut", "Mnemonic" };
    const int widths[13] = { 40, 50, 110, 100, 80, 110, 110, 110, 40, 60, 80, 80, 160 };
    for (int c = 0; c < 13; ++c) {
        EXPECT_EQ(G->Cells(c, 0), headers[c]) << c;
        EXPECT_EQ(G->ColWidths(c), widths[c]) << c;
    }
    const std::pair<TLbButton*, int> buttons[] = { { Form->Btn_OK, 16 }, { Form->Btn_Cancel, 134 },
        { Form->Btn_DelRow, 252 }, { Form->Btn_InsRow, 370 }, { Form->Btn_CopyRow, 488 }, { Form->Btn_PasteRow, 606 } };
    const char* captions[] = { "OK", "Cancel", "Delete Row", "Insert Row", "Copy Row", "Paste Row" };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(buttons[i].first->Left(), buttons[i].second);
        EXPECT_EQ(buttons[i].first->Width(), 110);
        EXPECT_EQ(buttons[i].first->Caption(), captions[i]);
    }
    EXPECT_EQ(Form->Btn_Scan->Caption(), "Scan");
    // Header hints by column, none for data cells.
    QString hint = "stale";
    Form->GridHint(G, 0, 11, hint);
    EXPECT_EQ(hint, "Insert the TimeOut expressed in Milliseconds");
    Form->GridHint(G, 0, 12, hint);
    EXPECT_EQ(hint, "Insert a Description of HART Variable or Command");
    Form->GridHint(G, 3, 2, hint);
    EXPECT_EQ(hint, "");
    Form->GridHint(G, 0, 0, hint);
    EXPECT_EQ(hint, "");
}

// ---------------------------------------------------------------------------
// The file

const QByteArray Golden_Name = "hartvariables/HART_Variables.xml";

TEST_F(HartVariables, LoadThenSaveIsByteIdentical)
{
    const QByteArray golden = ReadFile(testutil::DataPath(QString::fromLatin1(Golden_Name)));
    ASSERT_FALSE(golden.isEmpty());
    WriteFile(File_HART_Variables, golden);
    Show();
    EXPECT_EQ(Row(1), "x|0x1AB20CDEF0|5|Var|246||0|.|x|x 10|1000|PT-101 - Primary Variable");
    EXPECT_EQ(Locks(1), "Rwww");
    EXPECT_EQ(Row(2), "x|1099511627775|20|Command|65535|aB0f|1439|.|.|None|4294967295|raw command");
    EXPECT_EQ(Locks(2), "wRRR");
    EXPECT_EQ(Row(3), ".|0x2607000009|7|Var Burst|247||12|x|x|x 1000000|0|disabled");
    EXPECT_EQ(Row(4), Reset_Row);
    EXPECT_EQ(Ok(), mrOk);
    EXPECT_EQ(ReadFile(File_HART_Variables).toStdString(), golden.toStdString());
    EXPECT_TRUE(Driver->Messages().empty());
}

TEST_F(HartVariables, MissingFileGivesTheResetTableAndOkCreatesIt)
{
    Set_Row(5, Valid);
    Form->Do_Copy() = true;
    Show();
    for (int r : { 1, 5, 100 }) {
        EXPECT_EQ(G->Cells(0, r), QString::number(r));
        EXPECT_EQ(Row(r), Reset_Row);
    }
    EXPECT_FALSE(Form->Do_Copy());
    EXPECT_EQ(Ok(), mrOk);
    EXPECT_EQ(ReadFile(File_HART_Variables).toStdString(), "<HART><HART_Variables/></HART><!--SW_VERSION = 1.102-->");
}

TEST_F(HartVariables, DamagedFilesAreSaidOnceAndReplacedOnlyWhenAsked)
{
    struct Case {
        const char* Name;
        QByteArray File;
        const char* Reason;
    } cases[] = {
        { "not XML", "HART_Variables <row", "" },
        { "no HART_Variables", "<HART><Other><row Enable=\"N\" Device_Address=\"1\"/></Other></HART>",
            "it holds no HART_Variables element" },
        { "no element at all", "<!-- nothing -->", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteFile(File_HART_Variables, c.File);
        Set_Row(2, Valid);
        Form->Do_Copy() = true;
        const auto first = Driver->Messages().size();
        Show();
        const QStringList shown = Texts_Since(first);
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].startsWith("The file " + File_HART_Variables + " cannot be read: "))
            << shown[0].toStdString();
        EXPECT_EQ(shown[0].count(File_HART_Variables), 1);
        EXPECT_TRUE(shown[0].endsWith(QString::fromLatin1(c.Reason))) << shown[0].toStdString();
        EXPECT_EQ(Driver->Messages().back().DlgType, mtError);
        EXPECT_EQ(Row(2), Reset_Row);
        // The showing ended at the failure: the copy flag is not cleared.
        EXPECT_TRUE(Form->Do_Copy());
        EXPECT_TRUE(Form->File_Damaged());

        Set_Row(1, Valid);
        const QString question
            = "The file " + File_HART_Variables + " could not be read. Replace it with the table shown?";
        Driver->AnswerMessageBox(mrNo);
        EXPECT_EQ(Ok(), mrNone);
        EXPECT_EQ(Driver->Messages().back().Text, question);
        EXPECT_EQ(ReadFile(File_HART_Variables), c.File);
        Driver->AnswerMessageBox(mrYes);
        EXPECT_EQ(Ok(), mrOk);
        EXPECT_EQ(Driver->Messages().back().Text, question);
        EXPECT_TRUE(ReadFile(File_HART_Variables).startsWith("<HART><HART_Variables><row Enable=\"Y\""));
    }
}

TEST_F(HartVariables, OddFilesLoad)
{
    struct Case {
        const char* Name;
        QByteArray File;
        std::vector<std::string> Rows; // rows 1 on
    } cases[] = {
        { "a declaration and a comment before the root",
            "<?xml version=\"1.0\"?>\n<!-- kept by hand -->\n<HART>\n  <HART_Variables>\n"
            "    <row Enable=\"Y\" Device_Address=\"1\"/>\n    <row Enable=\"N\" Device_Address=\"2\"/>\n"
            "  </HART_Variables>\n</HART>\n",
            { "x|1||Var||||x|x|None||", ".|2||Var||||x|x|None||" } },
        { "missing attributes and other texts",
            "<X><HART_Variables><row Swap=\"y\" ConvInt=\"N\" Var_Cmd_Type=\"var\" Var_Operation=\"x 7\" "
            "Mnemonic=\"\"/><other Enable=\"no\" Var_Cmd_Type=\"Command\"/></HART_Variables></X>",
            { "x|||||||x|.|||", "x|||Command||||x|x|None||" } },
        { "a child that is not an element", "<HART><HART_Variables><!--c--><row Enable=\"N\"/></HART_Variables></HART>",
            { "x|||Var||||x|x|None||", ".|||Var||||x|x|None||" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteFile(File_HART_Variables, c.File);
        const auto first = Driver->Messages().size();
        Show();
        EXPECT_TRUE(Texts_Since(first).isEmpty());
        for (std::size_t i = 0; i < c.Rows.size(); ++i)
            EXPECT_EQ(Row(int(i) + 1), c.Rows[i]) << i;
        EXPECT_EQ(Row(int(c.Rows.size()) + 1), Reset_Row);
    }
}

TEST_F(HartVariables, SurplusRowsAreSaidAndDropped)
{
    QByteArray file = "<HART><HART_Variables>";
    for (int i = 1; i <= 103; ++i)
        file += "<row Enable=\"Y\" Device_Address=\"" + QByteArray::number(i) + "\"/>";
    file += "</HART_Variables></HART>";
    WriteFile(File_HART_Variables, file);
    Show();
    EXPECT_EQ(Driver->MessageTexts(),
        QStringList { "The file holds more rows than the table: rows after 100 are not shown and will not be saved." });
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 100), "100");
    EXPECT_TRUE(Form->Save_File());
    EXPECT_EQ(ReadFile(File_HART_Variables).count("<row "), 100);
}

TEST_F(HartVariables, RowsAfterAnEmptyKey)
{
    Show();
    Set_Row(1, Valid);
    Set_Row(2, Valid);
    // Row 3's address is blanks: the table ends there for saving.
    TCells blank = Valid;
    blank[1] = "  ";
    Set_Row(3, blank);
    TCells later = Valid;
    later[1] = "77";
    Set_Row(4, later);
    const QString question = "Row 3 is empty: the rows after it will not be saved. Save anyway?";

    Driver->AnswerMessageBox(mrNo);
    EXPECT_EQ(Ok(), mrNone);
    EXPECT_EQ(Driver->MessageTexts(), QStringList { question });
    EXPECT_FALSE(FileExists(File_HART_Variables));

    Driver->AnswerMessageBox(mrYes);
    EXPECT_EQ(Ok(), mrOk);
    EXPECT_EQ(ReadFile(File_HART_Variables).count("<row "), 2);
    Show();
    EXPECT_EQ(Row(3), Reset_Row);
    EXPECT_EQ(Row(4), Reset_Row);

    // Check boxes alone after the empty key are no data: no question.
    const auto first = Driver->Messages().size();
    Set_Row(1, Valid);
    Set_Row(5, { "x", "", "", "", "", "", "", "x", "x" });
    EXPECT_EQ(Ok(), mrOk);
    EXPECT_TRUE(Texts_Since(first).isEmpty());
}

TEST_F(HartVariables, CancelLeavesTheFile)
{
    Set_Row(1, Valid);
    Show();
    Set_Row(1, Valid);
    ASSERT_EQ(Ok(), mrOk);
    const QByteArray saved = ReadFile(File_HART_Variables);
    Driver->OnForm(
        "TFHARTVariables",
        [this](TCustomForm*) {
            EXPECT_EQ(G->Cells(HART_Var_Col_Address, 1), "0x1AB20CDEF0");
            G->SetCells(HART_Var_Col_Address, 1, "0x99");
            G->SetCells(HART_Var_Col_Address, 2, "0x98");
            Form->Btn_Cancel->Click();
        },
        1);
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    EXPECT_EQ(ReadFile(File_HART_Variables), saved);
    Show();
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 1), "0x1AB20CDEF0");
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 2), "");
}

TEST_F(HartVariables, TextsThatNeedEscapingReloadExactly)
{
    const QString mnemonic = QString::fromUtf8("a\tb\r\nc \"q\" 'p' <x> & é ü € ");
    Show();
    Set_Row(1, Valid);
    G->SetCells(HART_Var_Col_Mnemonic, 1, mnemonic);
    TCells second = Valid;
    second[11] = QStringLiteral("before") + QChar(0) + QStringLiteral("after");
    Set_Row(2, second);
    ASSERT_EQ(Ok(), mrOk);
    Show();
    EXPECT_EQ(G->Cells(HART_Var_Col_Mnemonic, 1), mnemonic);
    EXPECT_EQ(G->Cells(HART_Var_Col_Mnemonic, 2), QStringLiteral("before") + QChar(0xFFFD) + QStringLiteral("after"));
}

// ---------------------------------------------------------------------------
// Validation

TEST_F(HartVariables, TheTenChecks)
{
    struct Case {
        const char* Name;
        int Col; // the cell changed in the valid row (0: none)
        const char* Value;
        const char* Type; // nullptr: "Var"
        const char* Message; // nullptr: passes
    };
    const QString d502(502, u'A');
    const QString d500(500, u'f');
    const Case cases[] = {
        { "valid", 0, "", nullptr, nullptr },
        { "decimal address at the top", 2, "1099511627775", nullptr, nullptr },
        { "hexadecimal address at the top", 2, "$FFFFFFFFFF", nullptr, nullptr },
        { "0x address at the top", 2, "0xFFFFFFFFFF", nullptr, nullptr },
        { "one above", 2, "$10000000000", nullptr, "Error row 1!! Device Address Must be Between 0 and 0xFFFFFFFFFF" },
        { "negative address", 2, "-1", nullptr, "Error row 1!! Device Address Must be Between 0 and 0xFFFFFFFFFF" },
        { "trailing blank", 2, "16 ", nullptr, "Error row 1!! Device Address Must be Between 0 and 0xFFFFFFFFFF" },
        { "leading blank", 2, " 16", nullptr, nullptr },
        { "preamble 4", 3, "4", nullptr, "Error row 1!! Preamble Count Must be Between 5 and 20" },
        { "preamble 20", 3, "20", nullptr, nullptr },
        { "preamble 21", 3, "21", nullptr, "Error row 1!! Preamble Count Must be Between 5 and 20" },
        { "no type", 4, " ", "", "Error row 1!! Type Must be selected" },
        { "variable 251", 5, "251", nullptr, "Error row 1!! Variable Number Must be Between 0 and 250" },
        { "command 65535", 5, "65535", "Command", nullptr },
        { "command 65536", 5, "65536", "Command", "Error row 1!! Command Number Must be Between 0 and 65535" },
        { "params of 4 digits, mixed case", 6, "aB0f", "Command", nullptr },
        { "params of 3 digits", 6, "ABC", "Command", "Error row 1!! Params length of the Characters Must be even" },
        { "params of 500 digits", 6, nullptr, "Command", nullptr },
        { "params of 502 digits", 6, nullptr, "Command",
            "Error row 1!! Params must contain less or egua to 250 bytes (500 Characters)" },
        { "params with a G", 6, "0G", "Command",
            "Error row 1!! Params must contain only numbers (from 0 to 9) and Letters (form A to F)" },
        { "params of a variable are not checked", 6, "xyz", nullptr, nullptr },
        { "position 1439", 7, "1439", nullptr, nullptr },
        { "position 1440", 7, "1440", nullptr, "Error row 1!! Position Must be Between 0 and 1440" },
        { "no operation", 10, "", nullptr, "Error row 1!! Operations Must be selected" },
        { "no operation for a command", 10, "", "Command", nullptr },
        { "empty time-out", 11, "", nullptr, "Error row 1!! TimeOut Must be Between 0 and 0xFFFFFFFF" },
        { "time-out at the top", 11, "4294967295", nullptr, nullptr },
        { "time-out one above", 11, "$100000000", nullptr, "Error row 1!! TimeOut Must be Between 0 and 0xFFFFFFFF" },
    };
    Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCells row = Valid;
        if (c.Type)
            row[3] = QString::fromLatin1(c.Type);
        if (c.Col)
            row[std::size_t(c.Col - 1)] = c.Value                                ? QString::fromLatin1(c.Value)
                : std::string_view(c.Name).find("502") != std::string_view::npos ? d502
                                                                                 : d500;
        Set_Row(1, row);
        const auto first = Driver->Messages().size();
        EXPECT_EQ(Form->Controllo_dati(), c.Message == nullptr);
        const QStringList shown = Texts_Since(first);
        if (c.Message)
            EXPECT_EQ(shown, QStringList { QString::fromLatin1(c.Message) });
        else
            EXPECT_TRUE(shown.isEmpty()) << shown.join("; ").toStdString();
    }

    // A disabled row of garbage passes and is saved as typed; rows after an
    // empty address are still checked.
    Set_Row(1, { ".", "zz", "x", "Nope", "-5", "G", "99999", "x", ".", "", "", "junk" });
    EXPECT_TRUE(Form->Controllo_dati());
    Set_Row(3, { "x", "1", "2" });
    const auto first = Driver->Messages().size();
    EXPECT_FALSE(Form->Controllo_dati());
    EXPECT_EQ(Texts_Since(first), QStringList { "Error row 3!! Preamble Count Must be Between 5 and 20" });
}

// ---------------------------------------------------------------------------
// Cells following the type, and the row buttons

TEST_F(HartVariables, CellsFollowTheType)
{
    Show();
    EXPECT_EQ(Locks(1), "Rwww");
    Set_Row(1, Valid);
    G->SetCells(HART_Var_Col_Params, 1, "0102");
    G->SetCells(HART_Var_Col_Type, 1, "Command");
    Form->ESGComboChange(G, HART_Var_Col_Type, 1, 2, "Command");
    EXPECT_EQ(Locks(1), "wRRR");
    // The locked boxes take no click.
    EXPECT_FALSE(G->IsEditable(HART_Var_Col_Swap, 1));
    EXPECT_FALSE(G->IsEditable(HART_Var_Col_ConvInt, 1));
    EXPECT_TRUE(G->IsEditable(HART_Var_Col_Params, 1));
    // Back to Var: the Params text stays (and is saved), its cell locked.
    G->SetCells(HART_Var_Col_Type, 1, "Var");
    Form->ESGComboChange(G, HART_Var_Col_Type, 1, 0, "Var");
    EXPECT_EQ(Locks(1), "Rwww");
    EXPECT_EQ(G->Cells(HART_Var_Col_Params, 1), "0102");
    EXPECT_TRUE(G->IsEditable(HART_Var_Col_Swap, 1));
    EXPECT_FALSE(G->IsEditable(HART_Var_Col_Params, 1));
    // Other combo columns change nothing.
    Form->ESGComboChange(G, HART_Var_Col_Operations, 1, 2, "x 100");
    EXPECT_EQ(Locks(1), "Rwww");

    // The editor kinds and their lists.
    struct Case {
        int Col;
        TEditorType Kind;
        QStringList Items;
    } cases[] = {
        { HART_Var_Col_Type, TEditorType::edComboList, { "Var", "Var Burst", "Command" } },
        { HART_Var_Col_Operations, TEditorType::edComboList,
            { "None", "x 10", "x 100", "x 1000", "x 10000", "x 100000", "x 1000000" } },
    };
    for (const Case& c : cases) {
        TEditorType kind = TEditorType::edNormal;
        Form->ESGGetEditorType(G, c.Col, 1, kind);
        EXPECT_EQ(kind, c.Kind);
        EXPECT_EQ(G->ComboItems()->Text().split("\r\n", Qt::SkipEmptyParts), c.Items);
    }
    G->SetCells(HART_Var_Col_Type, 2, "Command");
    TEditorType kind = TEditorType::edComboList;
    Form->ESGGetEditorType(G, HART_Var_Col_Params, 2, kind);
    EXPECT_EQ(kind, TEditorType::edNormal);
    EXPECT_FALSE(G->ReadOnly(HART_Var_Col_Params, 2));
    Form->ESGGetEditorType(G, HART_Var_Col_Params, 1, kind);
    EXPECT_TRUE(G->ReadOnly(HART_Var_Col_Params, 1));

    // Stale locks of an earlier showing go with the reset.
    Show();
    EXPECT_EQ(Locks(2), "Rwww");
}

TEST_F(HartVariables, RowButtons)
{
    Show();
    TCells command = Valid;
    command[3] = "Command";
    command[1] = "0x2";
    Set_Row(1, Valid);
    Set_Row(2, command);
    Form->ESGComboChange(G, HART_Var_Col_Type, 2, 2, "Command");
    G->SetRow(1);

    // Delete asks with the row number; the command row moves up with its locks.
    Driver->AnswerMessageBox(mrNo);
    Form->Btn_DelRow->Click();
    EXPECT_EQ(Driver->Messages().back().Text, "Are you sure to delete the Row number 1");
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 1), "0x1AB20CDEF0");
    Driver->AnswerMessageBox(mrYes);
    Form->Btn_DelRow->Click();
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 1), "0x2");
    EXPECT_EQ(Locks(1), "wRRR");
    EXPECT_EQ(Locks(2), "Rwww");
    EXPECT_EQ(Row(100), Reset_Row);

    // Insert opens an enabled row and moves the locks down.
    Form->Btn_InsRow->Click();
    EXPECT_EQ(Row(1), Reset_Row);
    EXPECT_EQ(Locks(2), "wRRR");

    // Paste before a copy, then copy and paste with the check states.
    const auto first = Driver->Messages().size();
    G->SetRow(3);
    Form->Btn_PasteRow->Click();
    EXPECT_EQ(Texts_Since(first), QStringList { Lang(1102) });
    G->SetRow(2);
    Form->Btn_CopyRow->Click();
    EXPECT_TRUE(Form->Do_Copy());
    G->SetRow(3);
    Form->Btn_PasteRow->Click();
    EXPECT_EQ(Row(3), Row(2));
    EXPECT_EQ(Locks(3), "wRRR");
    // A new showing forgets the copy.
    Show();
    EXPECT_FALSE(Form->Do_Copy());
}

TEST_F(HartVariables, RowButtonsUnderRealClicks)
{
    Form->Show();
    Form->FormShow(Form.get());
    Set_Row(1, Valid);
    Set_Row(2, { "x", "0x2" });
    G->SetRow(1);
    Driver->AnswerMessageBox(mrYes);
    input::Click(Form->Btn_DelRow, TPoint { 20, 10 });
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 1), "0x2");
    input::Click(Form->Btn_InsRow, TPoint { 20, 10 });
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 2), "0x2");
    G->SetRow(2);
    input::Click(Form->Btn_CopyRow, TPoint { 20, 10 });
    G->SetRow(5);
    input::Click(Form->Btn_PasteRow, TPoint { 20, 10 });
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 5), "0x2");
    Form->Close();
}

TEST_F(HartVariables, RowNumberClickSelectsTheRow)
{
    Show();
    Form->ClickCell(G, 7, 0);
    EXPECT_EQ(G->Selection().Top, 7);
    EXPECT_EQ(G->Selection().Bottom, 7);
    EXPECT_EQ(G->Selection().Left, 1);
    EXPECT_EQ(G->Selection().Right, 12);
    // A data cell leaves the selection.
    Form->ClickCell(G, 3, 2);
    EXPECT_EQ(G->Selection().Top, 7);
}

TEST_F(HartVariables, GridEventsReachTheForm)
{
    Form->Show();
    Show();
    Set_Row(1, Valid);
    // The grid's own events, as its click and editor paths fire them.
    G->OnClickCell(G, 4, 0);
    EXPECT_EQ(G->Selection().Top, 4);
    EXPECT_EQ(G->Selection().Bottom, 4);
    G->SetCells(HART_Var_Col_Type, 1, "Command");
    G->OnComboChange(G, HART_Var_Col_Type, 1, 2, "Command");
    EXPECT_EQ(Locks(1), "wRRR");
    TEditorType kind = TEditorType::edNormal;
    G->OnGetEditorType(G, HART_Var_Col_Operations, 1, kind);
    EXPECT_EQ(kind, TEditorType::edComboList);
    QString hint;
    G->OnGridHint(G, 0, 1, hint);
    EXPECT_EQ(hint, "Enable/Disable the Row with HART Variable");

    // Enter under real key input, with the option on and off.
    Opt_Jump_Field_Tables = true;
    G->SetFocus();
    G->SetCol(12);
    G->SetRow(1);
    input::Key(G, VK_RETURN, {}, 13);
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Row(), 2);
    input::Key(G, VK_RETURN, {}, 13);
    EXPECT_EQ(G->Col(), 2);
    Opt_Jump_Field_Tables = false;
    char16_t key = 13;
    G->OnKeyPress(G, key);
    EXPECT_EQ(key, 13);

    // A real double click on a header sizes the column to its text exactly.
    Opt_Dbl_Click_Auto_Size = true;
    G->SetCells(HART_Var_Col_Mnemonic, 3, "A mnemonic rather longer than its column");
    G->SetColWidths(HART_Var_Col_Mnemonic, 60);
    const TRect header = G->CellRect(HART_Var_Col_Mnemonic, 0);
    input::DoubleClick(G, mbLeft, TPoint { header.Left + 20, header.Top + 5 });
    const int sized = G->ColWidths(HART_Var_Col_Mnemonic);
    G->SetColWidths(HART_Var_Col_Mnemonic, 60);
    G->AutoSizeCol(HART_Var_Col_Mnemonic, 0);
    EXPECT_GT(sized, 160);
    EXPECT_EQ(sized, G->ColWidths(HART_Var_Col_Mnemonic));
    // A data cell's double click sizes nothing.
    G->SetColWidths(HART_Var_Col_Mnemonic, 60);
    const TRect cell = G->CellRect(HART_Var_Col_Mnemonic, 3);
    input::DoubleClick(G, mbLeft, TPoint { cell.Left + 20, cell.Top + 5 });
    EXPECT_EQ(G->ColWidths(HART_Var_Col_Mnemonic), 60);
    // Nor does the header's with the option off.
    Opt_Dbl_Click_Auto_Size = false;
    input::DoubleClick(G, mbLeft, TPoint { header.Left + 20, header.Top + 5 });
    EXPECT_EQ(G->ColWidths(HART_Var_Col_Mnemonic), 60);
    Form->Close();
}

// ---------------------------------------------------------------------------
// The image builder compiles what the form writes

TEST_F(HartVariables, TheImageBuilderCompilesTheSavedFile)
{
    Show();
    TCells command = Valid;
    command[1] = "$0102030405";
    command[2] = "20";
    command[3] = "Command";
    command[4] = "0x1F";
    command[5] = "aB0f";
    command[6] = "12";
    command[7] = "x";
    command[9] = "";
    command[10] = "4294967295";
    Set_Row(1, Valid);
    G->SetCheckBoxState(HART_Var_Col_Swap, 1, true);
    G->SetCheckBoxState(HART_Var_Col_ConvInt, 1, true);
    G->SetCells(HART_Var_Col_Operations, 1, "x 1000");
    TCells disabled = Valid;
    disabled[0] = ".";
    Set_Row(2, disabled);
    Set_Row(3, command);
    Form->ESGComboChange(G, HART_Var_Col_Type, 3, 2, "Command");
    ASSERT_EQ(Ok(), mrOk);

    TSaveBin builder;
    builder.Init_HART_Bank();
    ASSERT_TRUE(builder.Read_HART_Variables(0x1000));
    const auto& vars = builder.HART_Bank.hart_var_place;
    ASSERT_EQ(vars.size(), 2);
    EXPECT_EQ(vars[0].device_address, 0x1AB20CDEF0u);
    EXPECT_EQ(vars[0].preamble_count, 5u);
    EXPECT_EQ(vars[0].Var_Type, 0u);
    EXPECT_EQ(vars[0].variable_number, 246u);
    EXPECT_EQ(vars[0].operation, 2u + 4u + 32u);
    EXPECT_EQ(vars[0].TimeOut, 1000u);
    EXPECT_EQ(vars[1].device_address, 0x0102030405u);
    EXPECT_EQ(vars[1].Var_Type, 2u);
    EXPECT_EQ(vars[1].variable_number, 31u);
    EXPECT_EQ(vars[1].position, 12u);
    EXPECT_EQ(vars[1].operation, 1u);
    EXPECT_EQ(vars[1].TimeOut, 0xFFFFFFFFu);
    QByteArray bank;
    const int end = builder.Write_HART_Bank(0, bank);
    EXPECT_EQ(end, HART_Bank_Header_Size + 2 * HART_Var_Place_Size + 2);
    // The command's parameter bytes close the bank.
    EXPECT_EQ(bank.mid(end - 2, 2), QByteArray("\xAB\x0F", 2));
    EXPECT_EQ(bank.mid(0, 4), QByteArray("\x02\x00\x00\x00", 4));
}

// ---------------------------------------------------------------------------
// Import from a scan

class HartVariablesImport : public HartVariables {
protected:
    void SetUp() override
    {
        HartVariables::SetUp();
        Scan = std::make_unique<TFHART_Scan>(nullptr);
        Scan->Scan_Params = Loopback_Scan_Params(Sim.Port());
        Saved_Scan = FHART_Scan;
        FHART_Scan = Scan.get();
    }
    void TearDown() override
    {
        FHART_Scan = Saved_Scan;
        Scan.reset();
        HartVariables::TearDown();
    }
    // Scan presses the scan button; the scan form records its address
    // fields, scans the stand-in and closes with OK (or Cancel).
    void Import(bool ok = true, const std::function<void()>& onResult = {})
    {
        Driver->OnForm(
            "TFHART_Scan",
            [this, ok, onResult](TCustomForm*) {
                Octets = Scan->IP_Address();
                for (TEdit* e :
                    { Scan->E_Discovery_IP1, Scan->E_Discovery_IP2, Scan->E_Discovery_IP3, Scan->E_Discovery_IP4 })
                    e->SetText(e == Scan->E_Discovery_IP1 ? "127" : e == Scan->E_Discovery_IP4 ? "1" : "0");
                Scan->CB_Discovery_NumDevs->SetItemIndex(1);
                Scan->Btn_StartScan->Click();
                ASSERT_TRUE(testutil::PumpUntil([this] { return Scan->P_HART_View_Vars->Visible(); }));
                if (onResult)
                    onResult();
                (ok ? Scan->Btn_OK : Scan->Btn_Cancel)->Click();
            },
            1);
        Form->Btn_Scan->Click();
    }

    TConverterSimulator Sim { TConverterSimulator::Standard(2, { "SEARCH STATUS=0 - Devices now 2 " }) };
    std::unique_ptr<TFHART_Scan> Scan;
    TFHART_Scan* Saved_Scan = nullptr;
    QString Octets;
};

// An imported row; its Swap and Conv Int boxes as they were ("x" both).
std::string Imported(int device, const char* var, const char* code, const char* boxes = ".")
{
    const QString name = QStringLiteral("TAG-%1").arg(device).leftJustified(32) + " - " + var;
    const QString address = "0x11A" + QString::number(device) + "01020" + QString::number(device);
    return QStringLiteral("x|%1|5|Var|%2|||%3|%3|||%4").arg(address, code, boxes, name).toStdString();
}

TEST_F(HartVariablesImport, OctetsFromTheParameterFile)
{
    struct Case {
        const char* Name;
        QByteArray File; // empty: none
        QString Octets;
    } cases[] = {
        { "from the file",
            "<Par_Gen><Ethernet_IP1>10</Ethernet_IP1><Ethernet_IP2>1</Ethernet_IP2>"
            "<Ethernet_IP3>2</Ethernet_IP3><Ethernet_IP4>3</Ethernet_IP4></Par_Gen>",
            "10.1.2.3" },
        { "missing ones take their defaults", "<Par_Gen><Ethernet_IP3>7</Ethernet_IP3></Par_Gen>", "192.168.7.10" },
        { "no file: the fields keep their texts", "", "127.0.0.1" },
    };
    Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.File.isEmpty())
            QFile::remove(File_ParGen);
        else
            WriteFile(File_ParGen, c.File);
        Import(false);
        EXPECT_EQ(Octets, c.Octets);
        EXPECT_EQ(Row(1), Reset_Row);
    }
}

TEST_F(HartVariablesImport, YesReplacesTheTable)
{
    Show();
    Set_Row(1, Valid);
    Set_Row(2, { "x", "0x2", "", "Command", "", "", "", "x", "x" });
    Form->ESGComboChange(G, HART_Var_Col_Type, 2, 2, "Command");
    Driver->AnswerMessageBox(mrYes);
    Import();
    EXPECT_EQ(Driver->MessageTexts(), QStringList { "Do you want to overwrite the existing variables?" });
    EXPECT_EQ(Row(1), Imported(0, "Primary Variable", "246"));
    EXPECT_EQ(Row(2), Imported(0, "Secondary Variable", "247"));
    EXPECT_EQ(Row(3), Imported(1, "Primary Variable", "246"));
    EXPECT_EQ(Row(4), Imported(1, "Secondary Variable", "247"));
    EXPECT_EQ(Row(5), Reset_Row);
    EXPECT_EQ(Locks(2), "Rwww");
    // Imported rows still need Position, Operations and TimeOut.
    const char* expected[] = { "Error row 1!! Position Must be Between 0 and 1440",
        "Error row 1!! Operations Must be selected", "Error row 1!! TimeOut Must be Between 0 and 0xFFFFFFFF" };
    const std::pair<int, const char*> fills[]
        = { { HART_Var_Col_Position, "0" }, { HART_Var_Col_Operations, "None" }, { HART_Var_Col_TimeOut, "100" } };
    for (int i = 0; i < 3; ++i) {
        const auto first = Driver->Messages().size();
        EXPECT_FALSE(Form->Controllo_dati());
        EXPECT_EQ(Texts_Since(first), QStringList { expected[i] });
        G->SetCells(fills[i].first, 1, fills[i].second);
    }
    const auto first = Driver->Messages().size();
    EXPECT_FALSE(Form->Controllo_dati());
    EXPECT_EQ(Texts_Since(first), QStringList { "Error row 2!! Position Must be Between 0 and 1440" });
}

TEST_F(HartVariablesImport, NoFillsOnlyEmptyRows)
{
    Show();
    Set_Row(1, Valid);
    Set_Row(2, { "x", "", "", "", "", "", "", "x", "x" });
    Set_Row(3, { ".", "0x3" });
    for (int r = 5; r <= 100; ++r)
        G->SetCells(HART_Var_Col_Address, r, "0x5");
    // Only the scan's first and last variables are checked.
    Driver->AnswerMessageBox(mrNo);
    Import(true, [this] {
        Scan->ESG->SetCheckBoxState(HART_Scan_Col_Enable, 2, false);
        Scan->ESG->SetCheckBoxState(HART_Scan_Col_Enable, 3, false);
    });
    EXPECT_EQ(Row(1), "x|0x1AB20CDEF0|5|Var|246||0|.|.|None|1000|");
    // The old row's boxes stay as they were on No.
    EXPECT_EQ(Row(2), Imported(0, "Primary Variable", "246", "x"));
    EXPECT_EQ(Row(3), ".|0x3||||||.|.|||");
    EXPECT_EQ(G->Cells(HART_Var_Col_Mnemonic, 4), QStringLiteral("TAG-1").leftJustified(32) + " - Secondary Variable");
    EXPECT_EQ(G->Cells(HART_Var_Col_Address, 5), "0x5");

    // Now full: nothing is imported, and the table says why.
    const auto first = Driver->Messages().size();
    Driver->AnswerMessageBox(mrNo);
    const std::string before = Row(1) + Row(2) + Row(4);
    Import();
    EXPECT_EQ(Texts_Since(first),
        (QStringList {
            "Do you want to overwrite the existing variables?", "The table is full: no variable was imported." }));
    EXPECT_EQ(Row(1) + Row(2) + Row(4), before);
}

TEST_F(HartVariablesImport, CancelledOrEmptyScansChangeNothing)
{
    Show();
    Set_Row(1, Valid);
    Import(false);
    Import(true, [this] { Scan->Btn_UnSelectAll->Click(); });
    EXPECT_TRUE(Driver->Messages().empty());
    EXPECT_EQ(Row(1), "x|0x1AB20CDEF0|5|Var|246||0|.|.|None|1000|");
    EXPECT_EQ(Row(2), Reset_Row);
}

} // namespace

// ---------------------------------------------------------------------------
// Step 3 of the main window, as the user reaches it

class HartVariablesStep : public ::testing::Test {
protected:
    TSharedStateGuard Guard;

    void SetUp() override
    {
        const QString folder = testutil::TempDir();
        Program_Folder_Source = [folder]() { return folder; };
        Application->Initialize();
        Create_Forms();
        Project_Folder = testutil::TempDir();
        Set_Project_Files();
        FHART_Scan->Scan_Params = Loopback_Scan_Params(Sim.Port());
    }
    void TearDown() override
    {
        Application->DestroyComponents();
        Application->ResetTerminated();
        Program_Folder_Source = nullptr;
    }
    TConverterSimulator Sim { TConverterSimulator::Standard(2, { "SEARCH STATUS=0 - Devices now 2 " }) };
};

TEST_F(HartVariablesStep, PicturesOfTheLoadedTableAndTheScanResult)
{
    WriteFile(File_HART_Variables, ReadFile(testutil::DataPath(QString::fromLatin1(Golden_Name))));
    ModalDriver driver(30000);
    QImage table;
    QImage scan;
    driver.OnForm(
        "TFHART_Scan",
        [&](TCustomForm*) {
            FHART_Scan->E_Discovery_IP1->SetText("127");
            FHART_Scan->E_Discovery_IP2->SetText("0");
            FHART_Scan->E_Discovery_IP3->SetText("0");
            FHART_Scan->E_Discovery_IP4->SetText("1");
            FHART_Scan->CB_Discovery_NumDevs->SetItemIndex(1);
            FHART_Scan->Btn_StartScan->Click();
            ASSERT_TRUE(testutil::PumpUntil([] { return FHART_Scan->P_HART_View_Vars->Visible(); }));
            scan = FHART_Scan->PaintToImage();
            FHART_Scan->Btn_Cancel->Click();
        },
        1);
    driver.OnForm(
        "TFHARTVariables",
        [&](TCustomForm*) {
            table = FHARTVariables->PaintToImage();
            FHARTVariables->Btn_Scan->Click();
            FHARTVariables->Btn_Cancel->Click();
        },
        1);
    FMorvantinoFirmWare->Btn_HART_Variables->Click();
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
    ASSERT_FALSE(table.isNull());
    ASSERT_FALSE(scan.isNull());
    testutil::SaveImagePng(table, "hart_variables_table");
    testutil::SaveImagePng(scan, "hart_variables_scan_result");
    EXPECT_EQ(table.size(), QSize(1150, 337));
    EXPECT_TRUE(testutil::MatchesGolden(table, "hart_variables_table"));
    EXPECT_TRUE(testutil::MatchesGolden(scan, "hart_variables_scan_result"));
}

// ---------------------------------------------------------------------------
// The frame with what later table forms use: two tables, rows under the root
// itself, and reads that stop at the first missing attribute.

class TTwo_Tables : public TTable_Frame {
public:
    TTwo_Tables()
        : TTable_Frame(nullptr, QStringLiteral("FTwo_Tables"), 749, 1200, 1248)
    {
        for (const char* name : { "sga", "sgb" }) {
            TTable_Def t;
            t.Grid = Create_Table_Grid(name);
            t.Grid->SetColCount(3);
            t.Grid->SetRowCount(4);
            t.Key_Col = 1;
            t.Mark_Enable = false;
            t.Guarded = false;
            t.Columns = { { "Index", 1, false, {}, {}, {} }, { "Name", 2, false, {}, {}, {} } };
            Tables.push_back(std::move(t));
        }
        Tables[1].Element = QStringLiteral("Second");
        Root_Name = QStringLiteral("Two");
        Version = QStringLiteral("1.000");
        File_Path = [] { return File_SDO_Server_CANopen; };
    }
    int Active = 0;

protected:
    int Active_Table() const override { return Active; }
};

TEST_F(HartVariables, TwoTablesAndReadsThatStop)
{
    TTwo_Tables f;
    // Rows under the root stand beside the second table's element.
    WriteFile(File_SDO_Server_CANopen,
        "<Two><row Index=\"1\" Name=\"a\"/><Second><row Index=\"7\" Name=\"x\"/><row Index=\"8\"/>"
        "<row Index=\"9\" Name=\"z\"/></Second></Two>");
    f.Tables[0].Do_Copy = true;
    f.FormShow(&f);
    // The root's own children are its rows: the second table's element is
    // read as a row and stops the loading there.
    ASSERT_EQ(Driver->Messages().size(), 1u);
    EXPECT_TRUE(Driver->Messages().back().Text.endsWith("row 2 has no Index attribute"))
        << Driver->Messages().back().Text.toStdString();
    EXPECT_EQ(f.Tables[0].Grid->Cells(2, 1), "a");
    EXPECT_TRUE(f.File_Damaged());
    EXPECT_TRUE(f.Tables[0].Do_Copy);

    WriteFile(File_SDO_Server_CANopen,
        "<Two><Second><row Index=\"7\" Name=\"x\"/><row Index=\"8\"/><row Index=\"9\" Name=\"z\"/></Second></Two>");
    f.Tables.erase(f.Tables.begin());
    f.FormShow(&f);
    EXPECT_TRUE(Driver->Messages().back().Text.endsWith("row 2 has no Name attribute"));
    TExStringGrid* g = f.Tables[0].Grid;
    EXPECT_EQ(g->Cells(2, 1), "x");
    // The row that failed keeps what it read before the missing attribute.
    EXPECT_EQ(g->Cells(1, 2), "8");
    EXPECT_EQ(g->Cells(1, 3), "");
}

TEST_F(HartVariables, CopyFlagsOfTwoTables)
{
    TTwo_Tables f;
    f.FormShow(&f);
    for (int t = 0; t < 2; ++t) {
        f.Tables[std::size_t(t)].Grid->SetCells(1, 1, QString::number(t));
        f.Tables[std::size_t(t)].Grid->SetCells(2, 1, "row of " + QString::number(t));
        f.Tables[std::size_t(t)].Grid->SetRow(1);
    }
    f.Active = 0;
    f.Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(f.Tables[0].Do_Copy);
    EXPECT_FALSE(f.Tables[1].Do_Copy);
    f.Active = 1;
    f.Btn_CopyRowClick(nullptr);
    EXPECT_FALSE(f.Tables[0].Do_Copy);
    EXPECT_TRUE(f.Tables[1].Do_Copy);
    // The first table pastes no more: its copy was replaced by the other's.
    f.Active = 0;
    f.Tables[0].Grid->SetRow(2);
    f.Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Driver->MessageTexts(), QStringList { Lang(1102) });
    EXPECT_EQ(f.Tables[0].Grid->Cells(2, 2), "");
    f.Active = 1;
    f.Tables[1].Grid->SetRow(3);
    f.Btn_PasteRowClick(nullptr);
    EXPECT_EQ(f.Tables[1].Grid->Cells(2, 3), "row of 1");

    // Saved: the first table's rows under the root, then the second table.
    Driver->AnswerMessageBox(mrYes);
    EXPECT_TRUE(f.Save_File());
    EXPECT_EQ(Driver->Messages().back().Text, "Row 2 is empty: the rows after it will not be saved. Save anyway?");
    EXPECT_EQ(ReadFile(File_SDO_Server_CANopen).toStdString(),
        "<Two><row Index=\"0\" Name=\"row of 0\"/><Second><row Index=\"1\" Name=\"row of 1\"/></Second></Two>"
        "<!--SW_VERSION = 1.000-->");
}
