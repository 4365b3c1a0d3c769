#include "app/tables/UHART_Scan.h"

#include <algorithm>
#include <vector>

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"

TFHART_Scan* FHART_Scan = nullptr;

namespace {

constexpr int Form_Width = 1000;
constexpr int Form_Height = 337;
constexpr int Button_Width = 145;
constexpr int Button_Height = 28;
// Buttons of the result page, left to right, 6 pixels apart.
constexpr int Button_Lefts[5] = { 16, 167, 318, 469, 620 };
constexpr int Col_Widths[8] = { 40, 50, 120, 120, 160, 120, 120, 120 };

// Record offsets of the device columns.
constexpr int Rec_Address_1 = 1;
constexpr int Rec_Address_2 = 2;
constexpr int Rec_Preamble = 3;
constexpr int Rec_Device_Id = 9;
constexpr int Rec_Name = 61;
constexpr int Rec_Name_Size = 32;

QString Hex2(std::uint8_t b)
{
    return QString::number(b, 16).rightJustified(2, u'0').toUpper();
}

// A variable of the result: its device and its place in the device's list.
struct TListed_Var {
    int Device;
    int Var;
};

} // namespace

THART_Scan_Device HART_Scan_Device(const THART_Device_Record& rec)
{
    THART_Scan_Device d;
    d.Address = QStringLiteral("0x") + Hex2(rec[Rec_Address_1]) + Hex2(rec[Rec_Address_2]) + Hex2(rec[Rec_Device_Id])
        + Hex2(rec[Rec_Device_Id + 1]) + Hex2(rec[Rec_Device_Id + 2]);
    d.Preamble = QString::number(rec[Rec_Preamble]);
    // One character per byte in the tool's code page. The name ends where the
    // device's padding NULs begin, and control bytes, which a table file
    // cannot carry, are left out.
    const auto* first = reinterpret_cast<const char*>(rec.data() + Rec_Name);
    const QByteArray raw(first, qstrnlen(first, Rec_Name_Size));
    const QString name = AnsiToUnicode(raw);
    d.Name.reserve(name.size());
    for (const QChar c : name)
        if (c.category() != QChar::Other_Control)
            d.Name += c;
    return d;
}

// ---------------------------------------------------------------------------
// Construction

TFHART_Scan::TFHART_Scan(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FHART_Scan"));
    Setup_Tool_Form(this, Form_Width, Form_Height);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    L_SW_Code->SetCaption(QStringLiteral("HART Scan"));
    Create_Controls();
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    FormCreate(this);
}

TFHART_Scan::~TFHART_Scan()
{
    Stop_Thread();
    if (FHART_Scan == this)
        FHART_Scan = nullptr;
}

// A hidden page filling the form, or, once aligned otherwise, the button bar.
TPanel* TFHART_Scan::Make_Page(const char* name)
{
    auto* p = new TPanel(this);
    p->SetName(QString::fromLatin1(name));
    p->SetParent(this);
    p->SetBevelOuter(bvNone);
    p->SetShowCaption(false);
    p->SetParentBackground(false);
    p->SetColor(Tool_Form_Color);
    p->SetVisible(false);
    p->SetAlign(alClient);
    return p;
}

TLbButton* TFHART_Scan::Make_Button(const char* name)
{
    TLbButton* b = Create_Tool_Button(this, P_Button, name, Button_Lefts[0], 6, Button_Width, Button_Height);
    b->SetVisible(false);
    return b;
}

void TFHART_Scan::Create_Controls()
{
    auto label = [this](const char* name, TPanel* parent, int left, int top) {
        return Create_Tool_Label(this, parent, name, left, top);
    };

    P_Button = Make_Page("P_Button");
    P_Button->SetAlign(alBottom);
    P_Button->SetHeight(40);
    P_Button->SetVisible(true);

    // Start page: the converter's address, one field per octet, and the
    // number of devices to search for.
    P_HART_Init_Scan = Make_Page("P_HART_Init_Scan");
    L_Discovery_IP = label("L_Discovery_IP", P_HART_Init_Scan, 16, 12);
    const TOctet_Fields octets = Create_Octet_Fields(this, P_HART_Init_Scan, QStringLiteral("E_Discovery_IP"), 29);
    E_Discovery_IP1 = octets[0];
    E_Discovery_IP2 = octets[1];
    E_Discovery_IP3 = octets[2];
    E_Discovery_IP4 = octets[3];
    const char* initial[4] = { "192", "168", "2", "107" };
    for (int i = 0; i < 4; ++i) {
        octets[std::size_t(i)]->SetText(QString::fromLatin1(initial[i]));
        octets[std::size_t(i)]->OnKeyPress = [this](TObject* s, char16_t& key) { KeyPress(s, key); };
    }
    L_Discovery_NumDevs = label("L_Discovery_NumDevs", P_HART_Init_Scan, 16, 62);
    CB_Discovery_NumDevs = new TComboBox(this);
    CB_Discovery_NumDevs->SetName(QStringLiteral("CB_Discovery_NumDevs"));
    CB_Discovery_NumDevs->SetParent(P_HART_Init_Scan);
    CB_Discovery_NumDevs->SetStyle(csDropDownList);
    CB_Discovery_NumDevs->SetBounds(16, 79, 73, 22);
    CB_Discovery_NumDevs->SetTabOrder(4);
    CB_Discovery_NumDevs->SetShowHint(true);
    for (int n = 1; n <= 64; ++n)
        CB_Discovery_NumDevs->Items()->Add(QString::number(n).rightJustified(2, u'0'));
    CB_Discovery_NumDevs->SetItemIndex(63);

    // Wait page: the status line the scan thread writes.
    P_HART_Scan_Wait = Make_Page("P_HART_Scan_Wait");
    L_Wait = label("L_Wait", P_HART_Scan_Wait, 16, 16);
    L_Wait->Font()->SetName(QStringLiteral("Verdana"));
    L_Wait->Font()->SetHeight(-27);
    L_Wait->Font()->SetColor(clGray);
    L_Discovery_Result = label("L_Discovery_Result", P_HART_Scan_Wait, 16, 64);

    // Result page.
    P_HART_View_Vars = Make_Page("P_HART_View_Vars");
    ESG = new TExStringGrid(this);
    ESG->SetName(QStringLiteral("ESG"));
    ESG->SetParent(P_HART_View_Vars);
    ESG->SetAlign(alClient);
    ESG->SetDefaultRowHeight(21);
    // Editing on: the check boxes are the only cells not made read-only.
    ESG->SetOptions(ESG->Options() | goEditing);

    Btn_StartScan = Make_Button("Btn_StartScan");
    Btn_StartScan->OnClick = [this](TObject* s) { Btn_StartScanClick(s); };
    Btn_OK = Make_Button("Btn_OK");
    Btn_OK->SetModalResult(mrOk);
    Btn_Cancel = Make_Button("Btn_Cancel");
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_SelectAll = Make_Button("Btn_SelectAll");
    Btn_SelectAll->OnClick = [this](TObject* s) { Btn_SelectAllClick(s); };
    Btn_UnSelectAll = Make_Button("Btn_UnSelectAll");
    Btn_UnSelectAll->OnClick = [this](TObject* s) { Btn_SelectAllClick(s); };
    Btn_ScanAgain = Make_Button("Btn_ScanAgain");
    Btn_ScanAgain->OnClick = [this](TObject* s) { Btn_ScanAgainClick(s); };
    int order = 0;
    for (TLbButton* b : { Btn_StartScan, Btn_OK, Btn_Cancel, Btn_SelectAll, Btn_UnSelectAll, Btn_ScanAgain })
        b->SetTabOrder(order++);
}

void TFHART_Scan::FormCreate(TObject*)
{
    P_HART_Init_Scan->SetAlign(alClient);
    SetClientWidth(Form_Width);
    SetClientHeight(Form_Height);
    Init_Table(true);
    Set_Lang();
}

// ---------------------------------------------------------------------------
// Texts

void TFHART_Scan::Set_Lang()
{
    SetCaption(Lang(1600));
    L_SW_Desc->SetCaption(Lang(1601));
    L_Discovery_IP->SetCaption(Lang(1602));
    E_Discovery_IP1->SetHint(Lang(1603));
    E_Discovery_IP2->SetHint(Lang(1604));
    E_Discovery_IP3->SetHint(Lang(1605));
    E_Discovery_IP4->SetHint(Lang(1606));
    Btn_StartScan->SetCaption(Lang(1615));
    Btn_StartScan->SetHint(Lang(1616));
    Btn_OK->SetCaption(Lang(1617));
    Btn_OK->SetHint(Lang(1618));
    Btn_Cancel->SetCaption(Lang(1619));
    Btn_Cancel->SetHint(Lang(1620));
    Btn_ScanAgain->SetCaption(Lang(1621));
    Btn_ScanAgain->SetHint(Lang(1622));
    Btn_SelectAll->SetCaption(QStringLiteral("Select All"));
    Btn_UnSelectAll->SetCaption(QStringLiteral("Unselect All"));
    L_Wait->SetCaption(Lang(1623));
    for (int c = 0; c < 8; ++c)
        ESG->SetCells(c, 0, Lang(1628 + c));
    L_Discovery_NumDevs->SetCaption(Lang(1642));
    CB_Discovery_NumDevs->SetHint(Lang(1643));
}

// ---------------------------------------------------------------------------
// Showing and closing

void TFHART_Scan::FormShow(TObject*)
{
    // A form shown again without closing keeps one thread only.
    Stop_Thread();
    TR_HART_Scan = std::make_unique<THART_Thread>(Scan_Params);
    TR_HART_Scan->OnShow_Status = [this](const QString& status) { L_Discovery_Result->SetCaption(status); };
    TR_HART_Scan->OnScan_Done_Ok = [this] {
        Show_Vars();
        Show_Form(Page_Result);
    };
    TR_HART_Scan->OnScan_Done_Error = [this] { Show_Form(Page_Failed); };
    TR_HART_Scan->Start();
    Show_Form(Page_Start);
}

void TFHART_Scan::FormClose(TObject*, TCloseAction&)
{
    Stop_Thread();
}

void TFHART_Scan::Stop_Thread()
{
    if (!TR_HART_Scan)
        return;
    // The thread ends after its current tick and drops any call to the form
    // still waiting to run.
    TR_HART_Scan->Terminate();
    TR_HART_Scan->WaitFor();
    TR_HART_Scan.reset();
}

void TFHART_Scan::Show_Form(int Page)
{
    for (TPanel* p : { P_HART_Init_Scan, P_HART_Scan_Wait, P_HART_View_Vars })
        p->SetVisible(false);
    for (TLbButton* b : { Btn_StartScan, Btn_OK, Btn_Cancel, Btn_ScanAgain, Btn_SelectAll, Btn_UnSelectAll })
        b->SetVisible(false);
    auto place = [](TLbButton* b, int left) {
        b->SetLeft(left);
        b->SetVisible(true);
    };
    switch (Page) {
    case Page_Start:
        P_HART_Init_Scan->SetVisible(true);
        place(Btn_StartScan, Button_Lefts[0]);
        break;
    case Page_Wait:
        P_HART_Scan_Wait->SetVisible(true);
        break;
    case Page_Result:
        P_HART_View_Vars->SetVisible(true);
        place(Btn_OK, Button_Lefts[0]);
        place(Btn_Cancel, Button_Lefts[1]);
        place(Btn_SelectAll, Button_Lefts[2]);
        place(Btn_UnSelectAll, Button_Lefts[3]);
        place(Btn_ScanAgain, Button_Lefts[4]);
        break;
    case Page_Failed:
        P_HART_Scan_Wait->SetVisible(true);
        place(Btn_ScanAgain, Button_Lefts[0]);
        break;
    default:
        break;
    }
    FPage = Page;
}

// ---------------------------------------------------------------------------
// Buttons and keys

QString TFHART_Scan::IP_Address() const
{
    return Octet_Address({ E_Discovery_IP1, E_Discovery_IP2, E_Discovery_IP3, E_Discovery_IP4 });
}

void TFHART_Scan::Btn_StartScanClick(TObject*)
{
    Show_Form(Page_Wait);
    if (TR_HART_Scan)
        TR_HART_Scan->HART_Discovery(IP_Address(), CB_Discovery_NumDevs->Text());
}

void TFHART_Scan::Btn_ScanAgainClick(TObject*)
{
    Show_Form(Page_Start);
}

void TFHART_Scan::Btn_SelectAllClick(TObject* Sender)
{
    const bool checked = Sender == Btn_SelectAll;
    ESG->BeginUpdate();
    for (int r = ESG->FixedRows(); r < ESG->RowCount(); ++r)
        ESG->SetCheckBoxState(HART_Scan_Col_Enable, r, checked);
    ESG->EndUpdate();
}

void TFHART_Scan::KeyPress(TObject* Sender, char16_t& Key)
{
    Octet_Key_Press({ E_Discovery_IP1, E_Discovery_IP2, E_Discovery_IP3, E_Discovery_IP4 }, Sender, Key);
}

// ---------------------------------------------------------------------------
// Result grid

void TFHART_Scan::Set_Check_Cell(int row, bool checked)
{
    ESG->AddCheckBox(HART_Scan_Col_Enable, row, checked, false);
    ESG->SetColors(HART_Scan_Col_Enable, row, HART_Scan_Check_Color);
    ESG->SetAlignments(HART_Scan_Col_Enable, row, taCenter);
    ESG->SetCells(HART_Scan_Col_Enable, row, QString());
}

void TFHART_Scan::Init_Table(bool With_Widths)
{
    ESG->BeginUpdate();
    ESG->SetColCount(8);
    ESG->SetRowCount(2);
    for (int c = 0; c < 8; ++c) {
        ESG->SetCells(c, 0, Lang(1628 + c));
        if (With_Widths)
            ESG->SetColWidths(c, Col_Widths[c]);
    }
    ESG->SetCells(0, 1, QStringLiteral("1"));
    Set_Check_Cell(1, false);
    for (int c = HART_Scan_Col_Address; c <= HART_Scan_Col_Unit; ++c) {
        ESG->SetCells(c, 1, QString());
        ESG->SetColors(c, 1, clWhite);
        ESG->SetReadOnly(c, 1, true);
    }
    ESG->EndUpdate();
}

void TFHART_Scan::Show_Vars()
{
    if (!TR_HART_Scan)
        return;
    const THART_Thread& scan = *TR_HART_Scan;
    FNum_Devices = scan.FNum_Devices;
    const int devices = std::clamp(scan.FNum_Devices, 0, HART_Max_Devices);

    std::vector<TListed_Var> listed;
    QString name;
    for (int d = 0; d < devices; ++d) {
        const THART_Device_Record& rec = scan.devices[std::size_t(d)];
        const int n = HART_Record_Var_Count(rec);
        for (int k = 0; k < n; ++k)
            if (HART_Var_Code_Name(rec[std::size_t(HART_Rec_Vars + 3 * k)], name))
                listed.push_back({ d, k });
    }
    if (listed.empty()) {
        Init_Table(false);
        return;
    }

    ESG->BeginUpdate();
    ESG->SetRowCount(int(listed.size()) + 1);
    int row = 1;
    int shownDevice = -1;
    THART_Scan_Device device;
    QString classification;
    QString unit;
    for (const TListed_Var& v : listed) {
        const THART_Device_Record& rec = scan.devices[std::size_t(v.Device)];
        if (v.Device != shownDevice) {
            device = HART_Scan_Device(rec);
            shownDevice = v.Device;
        }
        const std::size_t at = std::size_t(HART_Rec_Vars + 3 * v.Var);
        HART_Var_Code_Name(rec[at], name);
        HART_Classification_Name(rec[at + 1], classification);
        HART_Unit_Name(rec[at + 2], unit);
        ESG->SetCells(0, row, QString::number(row));
        Set_Check_Cell(row, true);
        const QString texts[6] = { device.Address, device.Preamble, device.Name, name, classification, unit };
        const TColor color = v.Device % 2 != 0 ? HART_Scan_Odd_Color : HART_Scan_Even_Color;
        for (int c = HART_Scan_Col_Address; c <= HART_Scan_Col_Unit; ++c) {
            ESG->SetCells(c, row, texts[c - HART_Scan_Col_Address]);
            ESG->SetColors(c, row, color);
            ESG->SetReadOnly(c, row, true);
        }
        ++row;
    }
    ESG->EndUpdate();
}
