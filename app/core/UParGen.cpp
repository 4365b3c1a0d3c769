#include "app/core/UParGen.h"

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UParGenGrid.h"
#include "platform/controls/Dialogs.h"
#include "platform/graphics/Bitmaps.h"

TFParGen* FParGen = nullptr;

namespace {

const TColor Form_Color = RGB(248, 247, 237);
const TColor Header_Color = RGB(231, 216, 216);

// The two chevron pictures of the panel headers: 0 expanded (points up, to
// collapse), 1 collapsed (points down).
void Fill_Chevrons(TImageList* list)
{
    TBitmap strip;
    strip.SetSize(32, 16);
    TCanvas* c = strip.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 32, 16));
    c->Pen()->SetColor(clGray);
    for (int image = 0; image < 2; ++image) {
        const int cx = image * 16 + 8;
        for (int k = 0; k < 2; ++k) {
            for (int t = 0; t < 2; ++t) {
                const int y = 4 + k * 4 + t;
                if (image == 0) {
                    c->MoveTo(cx - 4, y + 3);
                    c->LineTo(cx, y - 1);
                    c->LineTo(cx + 5, y + 4);
                } else {
                    c->MoveTo(cx - 4, y);
                    c->LineTo(cx, y + 4);
                    c->LineTo(cx + 5, y - 1);
                }
            }
        }
    }
    list->AddMasked(&strip, clFuchsia);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction

TFParGen::TFParGen(TComponent* AOwner)
    : TFParGen(AOwner, ParGen_Model)
{
}

TFParGen::TFParGen(TComponent* AOwner, int model)
    : TForm(AOwner)
    , FModel(model)
{
    SetName(QStringLiteral("FParGen"));
    Create_Frame();
    Create_Panels();
    OnShow = [this](TObject* s) { FormShow(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnMouseWheel = [this](TObject* s, TShiftState shift, int delta, TPoint pos, bool& handled) {
        FormMouseWheel(s, shift, delta, pos, handled);
    };
    FormCreate(this);
}

TFParGen::~TFParGen()
{
    if (FParGen == this)
        FParGen = nullptr;
}

void TFParGen::Create_Frame()
{
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetShowHint(true);
    Font()->SetName(QStringLiteral("Verdana"));
    Font()->SetHeight(-11);
    SetColor(Form_Color);
    SetClientWidth(460);
    SetClientHeight(700);

    P_Title = new TPanel(this);
    P_Title->SetParent(this);
    P_Title->SetAlign(alTop);
    P_Title->SetHeight(69);
    P_Title->SetBevelOuter(bvNone);
    P_Title->SetColor(Form_Color);
    P_Title->SetParentBackground(false);

    L_SW_Code = new TLabel(this);
    L_SW_Code->SetParent(P_Title);
    L_SW_Code->SetBounds(16, 4, 65, 17);
    L_SW_Code->Font()->SetName(QStringLiteral("Verdana"));
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Code->Font()->SetColor(clGray);

    L_SW_Desc = new TLabel(this);
    L_SW_Desc->SetParent(P_Title);
    L_SW_Desc->SetBounds(16, 46, 65, 17);
    L_SW_Desc->Font()->SetName(QStringLiteral("Verdana"));
    L_SW_Desc->Font()->SetHeight(-11);
    L_SW_Desc->Font()->SetStyle(TFontStyle::fsBold);

    P_Button = new TPanel(this);
    P_Button->SetParent(this);
    P_Button->SetAlign(alBottom);
    P_Button->SetHeight(40);
    P_Button->SetBevelOuter(bvNone);
    P_Button->SetColor(Form_Color);
    P_Button->SetParentBackground(false);

    auto makeButton = [this](int left) {
        auto* b = new TLbButton(this);
        b->SetParent(P_Button);
        b->SetBounds(left, 6, 110, 28);
        b->SetAnchors(TAnchors(akTop) | akRight);
        b->SetColor(Form_Color);
        b->SetLightColor(clGray);
        b->SetColorWhenDown(RGB(255, 128, 0));
        b->SetHotTrackColor(clYellow);
        b->SetStyle(bsEncarta);
        return b;
    };
    Btn_OK = makeButton(217);
    Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
    Btn_Cancel = makeButton(335);
    Btn_Cancel->OnClick = [this](TObject* s) { Btn_CancelClick(s); };
    // Esc cancels; OK stays an ordinary button, so Enter in an edit never saves.
    Btn_Cancel->SetCancel(true);

    ImageList1 = std::make_unique<TImageList>(16, 16);
    Fill_Chevrons(ImageList1.get());

    CPG = new TCategoryPanelGroup(this);
    CPG->SetParent(this);
    CPG->SetAlign(alClient);
    CPG->SetColor(Form_Color);
    CPG->VertScrollBar()->SetTracking(true);
    CPG->HeaderFont()->SetName(QStringLiteral("Verdana"));
    CPG->HeaderFont()->SetHeight(-15);
    CPG->HeaderFont()->SetStyle(TFontStyle::fsBold);
    CPG->HeaderFont()->SetColor(clGray);
    CPG->SetGradientBaseColor(Form_Color);
    CPG->SetGradientColor(Header_Color);
    CPG->SetChevronHotColor(clRed);
    CPG->SetImages(ImageList1.get());
}

void TFParGen::Create_Panels()
{
    // One panel per member of the family, each with its rows; the model's
    // ordering shows the ones it uses.
    TCategoryPanel** panelSlots[ParPanelCount] = {};
    panelSlots[int(TParPanel::HART_Master)] = &CP_HART_Master;
    panelSlots[int(TParPanel::MQTT)] = &CP_MQTT;
    panelSlots[int(TParPanel::Ethernet)] = &CP_Ethernet;
    panelSlots[int(TParPanel::WiFi)] = &CP_WiFi;
    panelSlots[int(TParPanel::TLS)] = &CP_TLS;
    panelSlots[int(TParPanel::NTP)] = &CP_NTP;
    panelSlots[int(TParPanel::Modbus_Slave)] = &CP_Modbus_Slave;
    panelSlots[int(TParPanel::Modbus_TCP_Slave)] = &CP_Modbus_TCP_Slave;
    panelSlots[int(TParPanel::CAN)] = &CP_CAN;
    panelSlots[int(TParPanel::CANopen)] = &CP_CANopen;
    panelSlots[int(TParPanel::J1939)] = &CP_J1939;
    panelSlots[int(TParPanel::DeviceNet_Slave)] = &CP_DeviceNet_Slave;
    panelSlots[int(TParPanel::EtherNetIP)] = &CP_EtherNetIP;
    panelSlots[int(TParPanel::PROFINET)] = &CP_PROFINET;
    panelSlots[int(TParPanel::PROFIBUS)] = &CP_PROFIBUS;
    panelSlots[int(TParPanel::SNMP_Agent)] = &CP_SNMP_Agent;
    panelSlots[int(TParPanel::BACnet_Slave)] = &CP_BACnet_Slave;
    panelSlots[int(TParPanel::Serial)] = &CP_Serial;
    panelSlots[int(TParPanel::Web_Pages)] = &CP_Web_Pages;
    panelSlots[int(TParPanel::OPC_UA_Server)] = &CP_OPC_UA_Server;
    panelSlots[int(TParPanel::Ethernet_Connection)] = &CP_Ethernet_Connection;
    for (TCategoryPanel** slot : panelSlots) {
        TCategoryPanel* p = CPG->CreatePanel(this);
        p->SetColor(Form_Color);
        p->SetExpandedImageIndex(0);
        p->SetCollapsedImageIndex(1);
        *slot = p;
    }

    Create_Ethernet_Connection();
    Create_HART_Master();
    Create_Modbus_Slave();
    Create_Ethernet();
    Create_Web_Pages();
    Create_Serial();
    Create_BACnet_Slave();
    Create_CAN();
    Create_CANopen();
    Create_DeviceNet_Slave();
    Create_EtherNetIP();
    Create_J1939();
    Create_Modbus_TCP_Slave();
    Create_MQTT();
    Create_TLS();
    Create_NTP();
    Create_PROFIBUS();
    Create_PROFINET();
    Create_SNMP_Agent();
    Create_OPC_UA_Server();
    Create_WiFi();
}

// --- Row helpers -------------------------------------------------------------

using namespace pargen_grid;

TLabel* TFParGen::Add_Label(TCategoryPanel* panel, int row)
{
    auto* l = new TLabel(this);
    l->SetParent(panel);
    l->SetLeft(Label_Left);
    l->SetTop(Label_Top(row));
    return l;
}

TEdit* TFParGen::Add_Edit(TCategoryPanel* panel, int row, int maxLength)
{
    auto* e = new TEdit(this);
    e->SetParent(panel);
    e->SetBounds(Field_Left, Field_Top(row), Field_Width, Edit_Height);
    e->SetMaxLength(maxLength);
    e->OnChange = [this](TObject* s) { On_Change(s); };
    return e;
}

TComboBox* TFParGen::Add_List(TCategoryPanel* panel, int row, const QStringList& items, int index)
{
    auto* cb = new TComboBox(this);
    cb->SetParent(panel);
    cb->SetStyle(csDropDownList);
    cb->SetBounds(Field_Left, Field_Top(row), Field_Width, List_Height);
    for (const QString& item : items)
        cb->Items()->Add(item);
    cb->SetItemIndex(index);
    cb->OnChange = [this](TObject* s) { On_Change(s); };
    return cb;
}

TCheckBox* TFParGen::Add_Check(TCategoryPanel* panel, int row, int width)
{
    auto* cb = new TCheckBox(this);
    cb->SetParent(panel);
    cb->SetBounds(Label_Left, Label_Top(row), width, Check_Height);
    cb->OnClick = [this](TObject* s) { On_Click(s); };
    return cb;
}

void TFParGen::Add_Octets(TCategoryPanel* panel, int row, TEdit** edits, std::vector<TEdit*>* chain, TLabel** dots)
{
    for (int i = 0; i < 4; ++i) {
        auto* e = new TEdit(this);
        e->SetParent(panel);
        e->SetBounds(Octet_Lefts[i], Field_Top(row), Octet_Width, Edit_Height);
        e->OnChange = [this](TObject* s) { On_Change(s); };
        e->OnKeyPress = [this](TObject* s, char16_t& key) { KeyPress(s, key); };
        edits[i] = e;
        if (chain)
            chain->push_back(e);
        if (i < 3) {
            auto* dot = new TLabel(this);
            dot->SetParent(panel);
            dot->SetLeft(Octet_Lefts[i] + Octet_Width + 1);
            dot->SetTop(Label_Top(row));
            dot->SetCaption(QStringLiteral("."));
            if (dots)
                dots[i] = dot;
        }
    }
}

void TFParGen::Set_Panel_Height(TCategoryPanel* panel, const TControl* last)
{
    panel->SetHeight(last->Top() + last->Height() + CPG->HeaderHeight() + 12);
}

void TFParGen::Add_Octet_Row(TCategoryPanel* panel, int row, std::vector<TEdit*>* chain, TEdit*& e1, TEdit*& e2,
    TEdit*& e3, TEdit*& e4, const char* a, const char* b, const char* c, const char* d)
{
    TEdit* edits[4];
    Add_Octets(panel, row, edits, chain);
    const char* texts[4] = { a, b, c, d };
    for (int i = 0; i < 4; ++i)
        edits[i]->SetText(QString::fromLatin1(texts[i]));
    e1 = edits[0];
    e2 = edits[1];
    e3 = edits[2];
    e4 = edits[3];
}

// --- This build's panels -------------------------------------------------

void TFParGen::Create_Ethernet_Connection()
{
    TCategoryPanel* p = CP_Ethernet_Connection;
    L_EthConn_Device_Name = Add_Label(p, 1);
    E_EthConn_Device_Name = Add_Edit(p, 1, 31);
    CB_EthConn_En_DHCP_Cable = Add_Check(p, 2, Check_Width_Row);
    CB_EthConn_En_DHCP_WiFi = Add_Check(p, 3, Check_Width_Row);
    CB_EthConn_En_DHCP_WiFi->SetEnabled(false);
    CB_EthConn_Enable_DNS = Add_Check(p, 4, Check_Width_Row);
    FRelayoutSenders.push_back(CB_EthConn_En_DHCP_Cable);
    FRelayoutSenders.push_back(CB_EthConn_En_DHCP_WiFi);

    std::vector<TEdit*> dns;
    L_EthConn_Primary_DNS = Add_Label(p, 5);
    Add_Octet_Row(p, 5, &dns, E_EthConn_Pri_DNS_IP1, E_EthConn_Pri_DNS_IP2, E_EthConn_Pri_DNS_IP3,
        E_EthConn_Pri_DNS_IP4, "8", "8", "8", "8");
    L_EthConn_Secondary_DNS = Add_Label(p, 6);
    Add_Octet_Row(p, 6, &dns, E_EthConn_Sec_DNS_IP1, E_EthConn_Sec_DNS_IP2, E_EthConn_Sec_DNS_IP3,
        E_EthConn_Sec_DNS_IP4, "8", "8", "8", "8");
    FOctetChains.push_back(dns);
}

void TFParGen::Create_HART_Master()
{
    TCategoryPanel* p = CP_HART_Master;
    L_HART_Master_Address = Add_Label(p, 1);
    CB_HART_Master_Address
        = Add_List(p, 1, { QStringLiteral("Primary Master"), QStringLiteral("Secondary Master") }, 0);
    L_HART_Master_RetryLimit = Add_Label(p, 2);
    CB_HART_Master_RetryLimit
        = Add_List(p, 2, { QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5") }, 0);
    CB_HART_Master_Diagnostic = Add_Check(p, 3, Check_Width_Field);
    E_HART_Master_Diagnostic = Add_Edit(p, 3, 8);
    E_HART_Master_Diagnostic->SetText(QStringLiteral("0"));
}

void TFParGen::Create_Modbus_Slave()
{
    TCategoryPanel* p = CP_Modbus_Slave;
    L_ModbusSlave_Serial = Add_Label(p, 1);
    CB_ModbusSlave_Serial = Add_List(p, 1, { QStringLiteral("RS232"), QStringLiteral("RS485") }, 0);
    L_ModbusSlave_Baudrate = Add_Label(p, 2);
    CB_ModbusSlave_Baudrate = Add_List(p, 2,
        { QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
            QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200") },
        7);
    L_ModbusSlave_Parity = Add_Label(p, 3);
    CB_ModbusSlave_Parity
        = Add_List(p, 3, { QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN") }, 0);
    L_ModbusSlave_StopBits = Add_Label(p, 4);
    CB_ModbusSlave_StopBits = Add_List(p, 4, { QStringLiteral("1 Stop Bits"), QStringLiteral("2 Stop Bits") }, 0);
    L_ModbusSlave_IDDevice = Add_Label(p, 5);
    E_ModbusSlave_IDDevice = Add_Edit(p, 5);
    E_ModbusSlave_IDDevice->SetText(QStringLiteral("10"));
    CB_ModbusSlave_ReadInput = Add_Check(p, 6, Check_Width_Row);
    CB_ModbusSlave_ReadInput->SetChecked(true);
}

void TFParGen::Create_Ethernet()
{
    TCategoryPanel* p = CP_Ethernet;
    std::vector<TEdit*> chain;
    L_Ethernet_IP = Add_Label(p, 1);
    Add_Octet_Row(
        p, 1, &chain, E_Ethernet_IP1, E_Ethernet_IP2, E_Ethernet_IP3, E_Ethernet_IP4, "192", "168", "0", "10");
    L_Ethernet_SM = Add_Label(p, 2);
    Add_Octet_Row(
        p, 2, &chain, E_Ethernet_SM1, E_Ethernet_SM2, E_Ethernet_SM3, E_Ethernet_SM4, "255", "255", "255", "0");
    CB_Ethernet_En_GAT = Add_Check(p, 3, Check_Width_Field);
    Add_Octet_Row(
        p, 3, &chain, E_Ethernet_GAT1, E_Ethernet_GAT2, E_Ethernet_GAT3, E_Ethernet_GAT4, "192", "168", "0", "1");
    FOctetChains.push_back(chain);

    L_Ethernet_TCP_Port = Add_Label(p, 4);
    E_Ethernet_TCP_Port = Add_Edit(p, 4);
    L_Ethernet_UDP_Port = Add_Label(p, 5);
    E_Ethernet_UDP_Port = Add_Edit(p, 5);
}

void TFParGen::Create_Web_Pages()
{
    TCategoryPanel* p = CP_Web_Pages;
    L_WebPages_User = Add_Label(p, 1);
    E_WebPages_User = Add_Edit(p, 1, 8);
    L_WebPages_Password = Add_Label(p, 2);
    E_WebPages_Password = Add_Edit(p, 2, 8);
}

// ---------------------------------------------------------------------------
// Events

void TFParGen::FormCreate(TObject*)
{
    L_SW_Code->SetCaption(SW_Code);
    SetClientWidth(460);
    SetClientHeight(700);
    for (int i = 0; i < ParPanelCount; ++i) {
        if (TParPanel(i) != TParPanel::HART_Master)
            Panel(TParPanel(i))->Hide();
    }
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::FormShow(TObject*)
{
    FCancel_Confirmed = false;
    Read_ParGen();
}

void TFParGen::FormCloseQuery(TObject*, bool& CanClose)
{
    // The window's close button drops the edits only as Cancel does: OK has
    // saved them, and a Cancel that asked has its answer.
    if (ModalResult() == mrOk || FCancel_Confirmed) {
        FCancel_Confirmed = false;
        return;
    }
    CanClose = !Is_Change || MessageDlg(Lang(911), mtConfirmation, mbYesNo) == mrYes;
}

void TFParGen::FormResize(TObject*)
{
    if (ClientWidth() != 460)
        SetClientWidth(460);
}

void TFParGen::FormMouseWheel(TObject*, TShiftState, int WheelDelta, TPoint MousePos, bool& Handled)
{
    const TPoint p = CPG->ScreenToClient(MousePos);
    Handled = PtInRect(CPG->ClientRect(), p);
    if (!Handled)
        return;
    const WORD code = WheelDelta < 1 ? SB_LINEDOWN : SB_LINEUP;
    const int lines = WheelScrollLines();
    for (int i = 0; i < lines; ++i) {
        CPG->Perform(WM_VSCROLL, code, 0);
        CPG->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    }
}

void TFParGen::Btn_OKClick(TObject*)
{
    if (!Controllo_Dati())
        return;
    if (!Write_ParGen())
        return;
    SetModalResult(mrOk);
}

void TFParGen::Btn_CancelClick(TObject*)
{
    if (Is_Change && MessageDlg(Lang(911), mtConfirmation, mbYesNo) != mrYes)
        return;
    FCancel_Confirmed = true;
    SetModalResult(mrCancel);
}

void TFParGen::On_Change(TObject*)
{
    Is_Change = true;
}

void TFParGen::On_Click(TObject* Sender)
{
    Is_Change = true;
    for (const TObject* s : FRelayoutSenders) {
        if (s == Sender) {
            Move_GroupBoxs();
            return;
        }
    }
}

void TFParGen::KeyPress(TObject* Sender, char16_t& Key)
{
    if (Key != u'.')
        return;
    for (const auto& chain : FOctetChains) {
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
            if (chain[i] == Sender) {
                if (chain[i + 1]->CanFocus())
                    chain[i + 1]->SetFocus();
                break;
            }
        }
    }
    // No octet edit ever takes a dot.
    Key = 0;
}

// ---------------------------------------------------------------------------
// Texts

void TFParGen::Set_Lang()
{
    SetCaption(Lang(400));
    L_SW_Desc->SetCaption(Lang(401));
    Btn_OK->SetCaption(Lang(402));
    Btn_Cancel->SetCaption(Lang(403));
    Btn_OK->SetHint(Lang(404));
    Btn_Cancel->SetHint(Lang(405));

    auto octetHints = [](TEdit* a, TEdit* b, TEdit* c, TEdit* d, int first) {
        a->SetHint(Lang(first));
        b->SetHint(Lang(first + 1));
        c->SetHint(Lang(first + 2));
        d->SetHint(Lang(first + 3));
    };

    // Ethernet connection
    L_EthConn_Device_Name->SetCaption(Lang(920));
    E_EthConn_Device_Name->SetHint(Lang(921));
    CB_EthConn_En_DHCP_Cable->SetCaption(Lang(922));
    CB_EthConn_En_DHCP_Cable->SetHint(Lang(923));
    CB_EthConn_En_DHCP_WiFi->SetCaption(Lang(924));
    CB_EthConn_En_DHCP_WiFi->SetHint(Lang(925));
    CB_EthConn_Enable_DNS->SetCaption(Lang(926));
    CB_EthConn_Enable_DNS->SetHint(Lang(927));
    L_EthConn_Primary_DNS->SetCaption(Lang(928));
    octetHints(E_EthConn_Pri_DNS_IP1, E_EthConn_Pri_DNS_IP2, E_EthConn_Pri_DNS_IP3, E_EthConn_Pri_DNS_IP4, 929);
    L_EthConn_Secondary_DNS->SetCaption(Lang(933));
    octetHints(E_EthConn_Sec_DNS_IP1, E_EthConn_Sec_DNS_IP2, E_EthConn_Sec_DNS_IP3, E_EthConn_Sec_DNS_IP4, 934);

    // HART master
    L_HART_Master_Address->SetCaption(Lang(407));
    CB_HART_Master_Address->SetHint(Lang(408));
    L_HART_Master_RetryLimit->SetCaption(Lang(409));
    CB_HART_Master_RetryLimit->SetHint(Lang(410));
    CB_HART_Master_Diagnostic->SetCaption(Lang(978));
    CB_HART_Master_Diagnostic->SetHint(Lang(979));
    E_HART_Master_Diagnostic->SetHint(Lang(980));

    // Modbus slave
    L_ModbusSlave_Serial->SetCaption(Lang(562));
    CB_ModbusSlave_Serial->SetHint(Lang(563));
    L_ModbusSlave_Baudrate->SetCaption(Lang(564));
    CB_ModbusSlave_Baudrate->SetHint(Lang(565));
    L_ModbusSlave_Parity->SetCaption(Lang(566));
    CB_ModbusSlave_Parity->SetHint(Lang(567));
    L_ModbusSlave_StopBits->SetCaption(Lang(568));
    CB_ModbusSlave_StopBits->SetHint(Lang(569));
    L_ModbusSlave_IDDevice->SetCaption(Lang(570));
    E_ModbusSlave_IDDevice->SetHint(Lang(571));
    CB_ModbusSlave_ReadInput->SetCaption(Lang(572));
    CB_ModbusSlave_ReadInput->SetHint(Lang(573));

    // Ethernet
    L_Ethernet_IP->SetCaption(Lang(439));
    octetHints(E_Ethernet_IP1, E_Ethernet_IP2, E_Ethernet_IP3, E_Ethernet_IP4, 440);
    L_Ethernet_SM->SetCaption(Lang(444));
    octetHints(E_Ethernet_SM1, E_Ethernet_SM2, E_Ethernet_SM3, E_Ethernet_SM4, 445);
    CB_Ethernet_En_GAT->SetCaption(Lang(449));
    CB_Ethernet_En_GAT->SetHint(Lang(450));
    octetHints(E_Ethernet_GAT1, E_Ethernet_GAT2, E_Ethernet_GAT3, E_Ethernet_GAT4, 451);
    L_Ethernet_TCP_Port->SetCaption(Lang(461));
    E_Ethernet_TCP_Port->SetHint(Lang(462));
    L_Ethernet_UDP_Port->SetCaption(Lang(463));
    E_Ethernet_UDP_Port->SetHint(Lang(464));

    // Web pages
    L_WebPages_User->SetCaption(Lang(914));
    E_WebPages_User->SetHint(Lang(915));
    L_WebPages_Password->SetCaption(Lang(916));
    E_WebPages_Password->SetHint(Lang(917));

    Set_Lang_Other_Panels();
}
