#include "app/tables/UHARTVariables.h"

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UXmlFile.h"
#include "app/tables/UHART_Scan.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/SysUtils.h"

TFHARTVariables* FHARTVariables = nullptr;

namespace {

constexpr int Form_Width = 1150;
constexpr int Col_Count = 13;

struct TCol_Look {
    int Width;
    TColor Color;
    const char* Header;
    int Header_Text;
    int Hint_Text;
};
// Column 0 is the fixed row number.
const TCol_Look Cols[Col_Count] = {
    { 40, clNone, "N", 1214, 0 },
    { 50, RGB(255, 216, 176), "Enable", 1215, 1226 },
    { 110, RGB(224, 250, 254), "Device Address", 1216, 1227 },
    { 100, RGB(224, 250, 254), "Preamble Count", 1217, 1228 },
    { 80, RGB(255, 255, 168), "Type", 1218, 1229 },
    { 110, RGB(255, 255, 168), "VAR/CMD Number", 1219, 1230 },
    { 110, RGB(255, 255, 168), "Params", 1220, 1231 },
    { 110, RGB(168, 255, 168), "Position", 1221, 1232 },
    { 40, RGB(168, 255, 168), "Swap", 1222, 1233 },
    { 60, RGB(168, 255, 168), "ConvInt", 1223, 1234 },
    { 80, RGB(168, 255, 168), "Operations", 1224, 1235 },
    { 80, RGB(252, 214, 244), "TimeOut", 1250, 1251 },
    { 160, clWhite, "Mnemonic", 1225, 1236 },
};

bool Is_Check_Col(int c)
{
    return c == HART_Var_Col_Enable || c == HART_Var_Col_Swap || c == HART_Var_Col_ConvInt;
}

const QString Command = QStringLiteral("Command");

} // namespace

std::vector<TTable_Column> HART_Variables_Columns()
{
    const QString y = QStringLiteral("Y");
    // A missing or unreadable flag loads checked; the other cells keep their
    // reset text, but for the type and the operation.
    return {
        { "Enable", HART_Var_Col_Enable, true, y, y, {} },
        { "Device_Address", HART_Var_Col_Address, false, {}, {}, {} },
        { "Preamble_Count", HART_Var_Col_Preamble, false, {}, {}, {} },
        { "Var_Cmd_Type", HART_Var_Col_Type, false, QStringLiteral("Var"), QStringLiteral("Var"),
            [](const QString& t) {
                return t == QLatin1String("Var") || t == QLatin1String("Var Burst") || t == Command ? t : QString();
            } },
        { "Var_Cmd_Number", HART_Var_Col_Number, false, {}, {}, {} },
        { "Cmd_Params", HART_Var_Col_Params, false, {}, {}, {} },
        { "Position", HART_Var_Col_Position, false, {}, {}, {} },
        { "Swap", HART_Var_Col_Swap, true, y, y, {} },
        { "ConvInt", HART_Var_Col_ConvInt, true, y, y, {} },
        { "Var_Operation", HART_Var_Col_Operations, false, QStringLiteral("None"), QStringLiteral("None"),
            [](const QString& t) {
                static const QStringList ops { "None", "x 10", "x 100", "x 1000", "x 10000", "x 100000", "x 1000000" };
                return ops.contains(t) ? t : QString();
            } },
        { "TimeOut", HART_Var_Col_TimeOut, false, {}, {}, {} },
        { "Mnemonic", HART_Var_Col_Mnemonic, false, {}, {}, {} },
    };
}

// ---------------------------------------------------------------------------
// Construction and texts

TFHARTVariables::TFHARTVariables(TComponent* AOwner)
    : TTable_Frame(AOwner, QStringLiteral("FHARTVariables"), Form_Width, 1200, 1248)
{
    Btn_Scan = Create_Tool_Button(this, P_Button, "Btn_Scan", 724, 6, 110, 28);
    Btn_Scan->SetTabOrder(6);
    Btn_Scan->OnClick = [this](TObject* s) { Btn_ScanClick(s); };
    ESG = Create_Table_Grid("ESG");
    ESG->OnGetEditorType = [this](TObject* s, int c, int r, TEditorType& e) { ESGGetEditorType(s, c, r, e); };
    ESG->OnComboChange = [this](TObject* s, int c, int r, int i, const QString& t) { ESGComboChange(s, c, r, i, t); };

    TTable_Def t;
    t.Grid = ESG;
    t.Element = QStringLiteral("HART_Variables");
    t.Key_Col = HART_Var_Col_Address;
    t.Columns = HART_Variables_Columns();
    Tables.push_back(std::move(t));
    Root_Name = QStringLiteral("HART");
    Version = QStringLiteral("1.102");
    File_Path = [] { return File_HART_Variables; };
    Row_Click_Selects = true;
    FormCreate(this);
}

TFHARTVariables::~TFHARTVariables()
{
    if (FHARTVariables == this)
        FHARTVariables = nullptr;
}

void TFHARTVariables::FormCreate(TObject*)
{
    ESG->BeginUpdate();
    ESG->SetColCount(Col_Count);
    ESG->SetRowCount(HART_Var_Rows + 1);
    ESG->SetFixedCols(1);
    ESG->SetFixedRows(1);
    for (int c = 0; c < Col_Count; ++c) {
        ESG->SetColWidths(c, Cols[c].Width);
        ESG->SetCells(c, 0, QString::fromLatin1(Cols[c].Header));
    }
    for (int r = 1; r <= HART_Var_Rows; ++r) {
        ESG->SetCells(0, r, QString::number(r));
        for (int c = 1; c < Col_Count; ++c) {
            if (Is_Check_Col(c)) {
                ESG->AddCheckBox(c, r, c == HART_Var_Col_Enable, false);
                ESG->SetAlignments(c, r, taCenter);
            }
            ESG->SetColors(c, r, Cols[c].Color);
        }
        Set_Type_Flags(r, QString());
    }
    ESG->EndUpdate();
    Type_SL = { QStringLiteral("Var"), QStringLiteral("Var Burst"), Command };
    Operations_SL = { QStringLiteral("None"), QStringLiteral("x 10"), QStringLiteral("x 100"), QStringLiteral("x 1000"),
        QStringLiteral("x 10000"), QStringLiteral("x 100000"), QStringLiteral("x 1000000") };
    Set_Lang();
}

void TFHARTVariables::Set_Lang()
{
    TTable_Frame::Set_Lang();
    Btn_Scan->SetCaption(QStringLiteral("Scan"));
    QStringList& hint = Hint();
    hint.clear();
    for (int c = 0; c < Col_Count; ++c) {
        ESG->SetCells(c, 0, Lang(Cols[c].Header_Text));
        if (c > 0)
            hint << Lang(Cols[c].Hint_Text);
    }
}

// ---------------------------------------------------------------------------
// Showing

void TFHARTVariables::Reset_Tables()
{
    TTable_Frame::Reset_Tables();
    // The cells follow the empty type, not a row shown last time.
    for (int r = 1; r < ESG->RowCount(); ++r)
        Set_Type_Flags(r, QString());
}

void TFHARTVariables::FormShow(TObject* Sender)
{
    Num_Byte_Max = 1440;
    TTable_Frame::FormShow(Sender);
}

void TFHARTVariables::Row_Loaded(int, int row)
{
    Set_Type_Flags(row, ESG->GetCellEx(HART_Var_Col_Type, row));
}

void TFHARTVariables::Rows_Changed(int, int row)
{
    for (int r = std::max(row, 1); r < ESG->RowCount(); ++r)
        Set_Type_Flags(r, ESG->GetCellEx(HART_Var_Col_Type, r));
}

void TFHARTVariables::Set_Type_Flags(int row, const QString& type)
{
    const bool command = type == Command;
    ESG->SetReadOnly(HART_Var_Col_Params, row, !command);
    for (int c : { HART_Var_Col_Swap, HART_Var_Col_ConvInt, HART_Var_Col_Operations })
        ESG->SetReadOnly(c, row, command);
}

QString TFHARTVariables::Get_Type(const QString& text) const
{
    return Type_SL.contains(text) ? text : QString();
}

QString TFHARTVariables::Get_Operation(const QString& text) const
{
    return Operations_SL.contains(text) ? text : QString();
}

// ---------------------------------------------------------------------------
// Grid events

void TFHARTVariables::ESGGetEditorType(TObject*, int ACol, int ARow, TEditorType& AEditor)
{
    const QStringList* items = nullptr;
    if (ACol == HART_Var_Col_Type)
        items = &Type_SL;
    else if (ACol == HART_Var_Col_Operations)
        items = &Operations_SL;
    if (items) {
        AEditor = TEditorType::edComboList;
        ESG->ClearComboString();
        for (const QString& s : *items)
            ESG->AddComboString(s);
    } else if (ACol == HART_Var_Col_Params) {
        AEditor = TEditorType::edNormal;
        ESG->SetReadOnly(ACol, ARow, ESG->GetCellEx(HART_Var_Col_Type, ARow) != Type_SL[2]);
    }
}

void TFHARTVariables::ESGComboChange(TObject*, int ACol, int ARow, int, const QString& ASelection)
{
    if (ACol != HART_Var_Col_Type)
        return;
    Set_Type_Flags(ARow, ASelection);
    ESG->Invalidate();
}

// ---------------------------------------------------------------------------
// Validation

bool TFHARTVariables::Controllo_dati()
{
    constexpr int Error_Row = 1237;
    for (int r = 1; r < ESG->RowCount(); ++r) {
        const auto cell = [this, r](int c) { return ESG->GetCellEx(c, r); };
        if (Trim(cell(HART_Var_Col_Address)).isEmpty())
            continue;
        bool enabled = false;
        if (!ESG->GetCheckBoxState(HART_Var_Col_Enable, r, enabled) || !enabled)
            continue;
        const std::int64_t address = Table_Int64(cell(HART_Var_Col_Address));
        if (address < 0 || address > 0xFFFFFFFFFFLL)
            return Row_Error(Error_Row, r, Lang(1238));
        const int preamble = Table_Int(cell(HART_Var_Col_Preamble));
        if (preamble < 5 || preamble > 20)
            return Row_Error(Error_Row, r, Lang(1239));
        const QString type = Trim(cell(HART_Var_Col_Type));
        if (type.isEmpty())
            return Row_Error(Error_Row, r, Lang(1240));
        const bool command = type == Command;
        const int number = Table_Int(cell(HART_Var_Col_Number));
        if (command && (number < 0 || number > 65535))
            return Row_Error(Error_Row, r, Lang(1241));
        if (!command && (number < 0 || number > 250))
            return Row_Error(Error_Row, r, Lang(1242));
        const QString params = Trim(cell(HART_Var_Col_Params));
        if (command && !params.isEmpty()) {
            if (params.size() % 2 != 0)
                return Row_Error(Error_Row, r, Lang(1243));
            if (params.size() > 500)
                return Row_Error(Error_Row, r, Lang(1244));
            for (const QChar ch : UpperCase(params))
                if (!((ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F')))
                    return Row_Error(Error_Row, r, Lang(1245));
        }
        const int position = Table_Int(cell(HART_Var_Col_Position));
        if (position < 0 || position > Num_Byte_Max - 1)
            return Row_Error(Error_Row, r, Lang(1246) + QString::number(Num_Byte_Max));
        if (!command && Trim(cell(HART_Var_Col_Operations)).isEmpty())
            return Row_Error(Error_Row, r, Lang(1247));
        const std::int64_t timeOut = Table_Int64(cell(HART_Var_Col_TimeOut));
        if (timeOut < 0 || timeOut > 0xFFFFFFFFLL)
            return Row_Error(Error_Row, r, Lang(1252));
    }
    return true;
}

// ---------------------------------------------------------------------------
// Import from a scan

int TFHARTVariables::HART_Scan_Count_Var() const
{
    if (!FHART_Scan)
        return 0;
    TExStringGrid* g = FHART_Scan->ESG;
    int n = 0;
    for (int r = 1; r < g->RowCount(); ++r) {
        bool state = false;
        if (g->GetCheckBoxState(HART_Scan_Col_Enable, r, state) && state)
            ++n;
    }
    return n;
}

void TFHARTVariables::Btn_ScanClick(TObject*)
{
    if (!FHART_Scan)
        return;
    // The converter's address from the project's parameters.
    if (FileExists(File_ParGen)) {
        TXmlDocument xml;
        const TXmlFileRead read = Read_Xml_File(xml, File_ParGen);
        if (read.State == TXmlFileState::Damaged)
            Show_File_Read_Error(File_ParGen, read.Reason);
        const TXmlNode root = xml.DocumentElement();
        const char* defaults[4] = { "192", "168", "0", "10" };
        TEdit* fields[4] = { FHART_Scan->E_Discovery_IP1, FHART_Scan->E_Discovery_IP2, FHART_Scan->E_Discovery_IP3,
            FHART_Scan->E_Discovery_IP4 };
        for (int i = 0; i < 4; ++i) {
            const TXmlNode n = root.FindChild(QStringLiteral("Ethernet_IP%1").arg(i + 1));
            fields[i]->SetText(n ? n.Text() : QString::fromLatin1(defaults[i]));
        }
    }
    if (FHART_Scan->ShowModal() != mrOk || FHART_Scan->FNum_Devices <= 0 || HART_Scan_Count_Var() <= 0)
        return;

    const int rows = ESG->RowCount();
    // Yes starts from the reset table: imported variables do not take over
    // an old row's swap and conversion.
    if (MessageDlg(Lang(1249), mtConfirmation, mbYesNo) == mrYes)
        Reset_Tables();
    // Only rows without a device address take variables, from the first of
    // them down: rows the user kept are never overwritten.
    const auto free_from = [this, rows](int r) {
        while (r < rows && !ESG->GetCellEx(HART_Var_Col_Address, r).isEmpty())
            ++r;
        return r;
    };
    int row = free_from(1);
    if (row >= rows) {
        MessageDlg(QStringLiteral("The table is full: no variable was imported."), mtWarning, TMsgDlgButtons(mbOK));
        return;
    }
    ESG->BeginUpdate();
    TExStringGrid* scan = FHART_Scan->ESG;
    for (int s = 1; s < scan->RowCount() && row < rows; ++s) {
        bool state = false;
        if (!scan->GetCheckBoxState(HART_Scan_Col_Enable, s, state) || !state)
            continue;
        ESG->SetCheckBoxState(HART_Var_Col_Enable, row, true);
        ESG->SetCellEx(HART_Var_Col_Address, row, scan->GetCellEx(HART_Scan_Col_Address, s));
        ESG->SetCellEx(HART_Var_Col_Preamble, row, scan->GetCellEx(HART_Scan_Col_Preamble, s));
        ESG->SetCellEx(HART_Var_Col_Type, row, Type_SL[0]);
        const QString var = scan->GetCellEx(HART_Scan_Col_Var, s);
        ESG->SetCellEx(HART_Var_Col_Number, row, QString::number(HART_Var_Code_Value(var)));
        for (int c : { HART_Var_Col_Params, HART_Var_Col_Position, HART_Var_Col_Swap, HART_Var_Col_ConvInt,
                 HART_Var_Col_Operations, HART_Var_Col_TimeOut })
            ESG->SetCellEx(c, row, QString());
        Set_Type_Flags(row, Type_SL[0]);
        ESG->SetCellEx(
            HART_Var_Col_Mnemonic, row, scan->GetCellEx(HART_Scan_Col_Name, s) + QStringLiteral(" - ") + var);
        row = free_from(row + 1);
    }
    ESG->EndUpdate();
}
