#include "app/core/UBoot.h"

#include <chrono>
#include <future>

#include "app/core/LbButton.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UXmlFile.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"

TFBoot* FBoot = nullptr;

namespace {

constexpr int Form_Width = 449;

} // namespace

// ---------------------------------------------------------------------------
// Echo, job file, update program

TEchoResult Icmp_Echo(const QString& host, int timeoutMs, int packetSize)
{
    TIcmpEcho echo;
    echo.SetReceiveTimeoutMs(timeoutMs);
    echo.SetPacketSize(packetSize);
    return echo.Ping(host);
}

void Build_Job_File(TXmlDocument& xml, const QString& ipAddress, int option, bool readBack)
{
    xml.Clear();
    TXmlNode root = xml.AddChild(QStringLiteral("Ethernet_Update"));
    auto add = [](TXmlNode parent, const char* name, const QString& value) {
        parent.AddChild(QString::fromLatin1(name)).SetText(value);
    };
    add(root, "Version", QStringLiteral("1000"));
    add(root, "Title", Job_Title);
    add(root, "IP_Address_Dev", ipAddress);
    add(root, "Application_Port", QStringLiteral("10000"));
    add(root, "Boot_Port", QStringLiteral("2008"));
    add(root, "Boot_Port_Sec", QStringLiteral("2007"));
    add(root, "Address_Protection", QStringLiteral("0x07800"));
    add(root.AddChild(QStringLiteral("Protections")), "Protection", QStringLiteral("0x207"));
    TXmlNode operations = root.AddChild(QStringLiteral("Operations"));

    struct TImage {
        QString File;
        const char* Start;
        const char* Bank;
        bool Write_CSS;
        bool GoToApp_After;
    };
    std::vector<TImage> images;
    if (option == Update_Firmware_Configuration || option == Update_Firmware) {
        images.push_back({ Join_Path(Master_Folder, QStringLiteral("Sim41208.sim")), "0x8000", "1", true, false });
        // Firmware only: the web pages are the last image, so the converter
        // returns to its application after them.
        images.push_back({ Join_Path(Master_Folder, QStringLiteral("web_files_hart.bin")), "0xC0000", "1", false,
            option == Update_Firmware });
    }
    if (option == Update_Firmware_Configuration || option == Update_Configuration) {
        images.push_back({ Join_Path(Project_Folder, QStringLiteral("bin/bank1.bin")), "0x07000", "2", false, false });
        images.push_back({ Join_Path(Project_Folder, QStringLiteral("bin/bank2.bin")), "0x80000", "2", false, true });
    }
    const QString zero = QStringLiteral("0");
    const QString one = QStringLiteral("1");
    for (const TImage& image : images) {
        TXmlNode op = operations.AddChild(QStringLiteral("Operation"));
        add(op, "Ope_Protection_Enabled", QString());
        add(op, "Ope_GoToBoot_Before", zero);
        add(op, "Ope_GoToApp_Before", zero);
        add(op, "Ope_IP_Address", QString());
        add(op, "Ope_Port", QStringLiteral("2008"));
        add(op, "Ope_Port_Sec", QStringLiteral("2007"));
        add(op, "Ope_Erase_Memory", zero);
        add(op, "Ope_FileName", image.File);
        add(op, "Ope_Start_Address", QString::fromLatin1(image.Start));
        add(op, "Ope_Memory_Type", zero);
        add(op, "Ope_Bank_Type", QString::fromLatin1(image.Bank));
        add(op, "Ope_Read_Back", readBack ? one : zero);
        add(op, "Ope_Write_CSS", image.Write_CSS ? one : zero);
        add(op, "Ope_Address_CSS", QStringLiteral("0x07A00"));
        add(op, "Ope_Command_CSS", QStringLiteral("0x02"));
        add(op, "Ope_Write_Internal_Data", zero);
        add(op, "Ope_WID_Address", QStringLiteral("0x07810"));
        add(op, "Ope_WID_Command", QStringLiteral("0x02"));
        add(op, "Ope_WID_Data", QStringLiteral("0x00, 0x00, 0x00, 0x01"));
        add(op, "Ope_GoToApp_After", image.GoToApp_After ? one : zero);
    }
}

QString Update_Program_Path()
{
    const QString plain = Join_Path(Program_Folder, QStringLiteral("Ethernet_Update"));
    const QString exe = plain + QStringLiteral(".exe");
    if (!FileExists(plain) && FileExists(exe))
        return exe;
    return plain;
}

// ---------------------------------------------------------------------------
// Construction

TFBoot::TFBoot(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(QStringLiteral("FBoot"));
    Setup_Tool_Form(this, Form_Width, 230);
    const TTitle_Panel t = Create_Title_Panel(this);
    P_Title = t.P_Title;
    L_SW_Code = t.L_SW_Code;
    L_SW_Desc = t.L_SW_Desc;
    Create_Controls();
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    Set_Lang();
}

TFBoot::~TFBoot()
{
    if (FBoot == this)
        FBoot = nullptr;
}

TPanel* TFBoot::Make_Panel(const char* name, int height)
{
    auto* p = new TPanel(this);
    p->SetName(QString::fromLatin1(name));
    p->SetParent(this);
    p->SetHeight(height);
    p->SetWidth(Form_Width);
    p->SetBevelOuter(bvNone);
    p->SetShowCaption(false);
    p->SetParentBackground(false);
    p->SetColor(Tool_Form_Color);
    p->SetVisible(false);
    return p;
}

TLbButton* TFBoot::Make_Button(const char* name, TPanel* parent, int left, int top, int width, int height)
{
    return Create_Tool_Button(this, parent, name, left, top, width, height);
}

void TFBoot::Create_Controls()
{
    auto label = [this](const char* name, TPanel* parent, int left, int top) {
        return Create_Tool_Label(this, parent, name, left, top);
    };

    // Address: one edit per octet with a dot between them.
    P_IP_Address = Make_Panel("P_IP_Address", 49);
    L_IP_Address = label("L_IP_Address", P_IP_Address, 16, 4);
    const TOctet_Fields octets = Create_Octet_Fields(this, P_IP_Address, QStringLiteral("E_IP"), 21);
    E_IP1 = octets[0];
    E_IP2 = octets[1];
    E_IP3 = octets[2];
    E_IP4 = octets[3];
    for (TEdit* e : octets) {
        e->SetText(QStringLiteral("0"));
        e->OnKeyPress = [this](TObject* s, char16_t& key) { KeyPress(s, key); };
    }

    P_Serial = Make_Panel("P_Serial", 51);
    L_COM_Port = label("L_COM_Port", P_Serial, 16, 4);
    L_COM_Port->SetCaption(QStringLiteral("Select the COM port for the Update"));
    CB_COM_Port = new TComboBox(this);
    CB_COM_Port->SetName(QStringLiteral("CB_COM_Port"));
    CB_COM_Port->SetParent(P_Serial);
    CB_COM_Port->SetStyle(csDropDownList);
    CB_COM_Port->SetBounds(16, 22, 145, 22);
    CB_COM_Port->SetTabOrder(0);
    Btn_COM_List = Make_Button("Btn_COM_List", P_Serial, 168, 20, 28, 26);
    Btn_COM_List->SetCaption(QStringLiteral("..."));
    Btn_COM_List->SetHint(QStringLiteral("Update COM Ports List"));
    Btn_COM_List->OnClick = [this](TObject* s) { Btn_COM_ListClick(s); };

    // The device search is not offered by this build: the panel is never
    // shown and its button does nothing.
    P_Eth_Search = Make_Panel("P_Eth_Search", 184);
    L_List_Device = label("L_List_Device", P_Eth_Search, 16, 6);
    Btn_Search = Make_Button("Btn_Search", P_Eth_Search, 323, 2, 110, 26);
    ACG_List_Devices = new TPanel(this);
    ACG_List_Devices->SetName(QStringLiteral("ACG_List_Devices"));
    ACG_List_Devices->SetParent(P_Eth_Search);
    ACG_List_Devices->SetBounds(16, 32, 417, 122);
    ACG_List_Devices->SetShowCaption(false);
    ACG_List_Devices->SetShowHint(true);
    CB_Find_All_QLM = new TCheckBox(this);
    CB_Find_All_QLM->SetName(QStringLiteral("CB_Find_All_QLM"));
    CB_Find_All_QLM->SetParent(P_Eth_Search);
    CB_Find_All_QLM->SetBounds(16, 160, 417, 17);
    CB_Find_All_QLM->SetShowHint(true);

    P_Options = Make_Panel("P_Options", 72);
    L_Update_Option = label("L_Update_Option", P_Options, 16, 4);
    CB_Update_Options = new TComboBox(this);
    CB_Update_Options->SetName(QStringLiteral("CB_Update_Options"));
    CB_Update_Options->SetParent(P_Options);
    CB_Update_Options->SetStyle(csDropDownList);
    CB_Update_Options->SetBounds(16, 22, 250, 22);
    CB_Update_Options->SetTabOrder(0);
    CB_Update_Options->SetShowHint(true);
    CB_Update_Option_Read_Back = new TCheckBox(this);
    CB_Update_Option_Read_Back->SetName(QStringLiteral("CB_Update_Option_Read_Back"));
    CB_Update_Option_Read_Back->SetParent(P_Options);
    CB_Update_Option_Read_Back->SetBounds(16, 50, 250, 17);
    CB_Update_Option_Read_Back->SetTabOrder(1);
    CB_Update_Option_Read_Back->SetChecked(true);
    CB_Update_Option_Read_Back->SetShowHint(true);

    P_Button = Make_Panel("P_Button", 40);
    P_Button->SetAlign(alBottom);
    P_Button->SetVisible(true);
    Btn_Cancel = Make_Button("Btn_Cancel", P_Button, 135, 6, 110, 28);
    Btn_Cancel->SetTabOrder(0);
    Btn_Cancel->OnClick = [this](TObject* s) { Btn_CancelClick(s); };
    Btn_Cancel->SetCancel(true);
    Btn_Update = Make_Button("Btn_Update", P_Button, 253, 6, 180, 28);
    Btn_Update->SetTabOrder(1);
    Btn_Update->OnClick = [this](TObject* s) { Btn_UpdateClick(s); };
}

// ---------------------------------------------------------------------------
// Texts and layout

void TFBoot::Set_Lang()
{
    const int base = Form_Type == 0 ? 1500 : 1502;
    SetCaption(Lang(base));
    L_SW_Desc->SetCaption(Lang(base + 1));
    L_IP_Address->SetCaption(Lang(1506));
    L_List_Device->SetCaption(Lang(1509));
    Btn_Search->SetCaption(Lang(1510));
    ACG_List_Devices_Headers = { Lang(1511), Lang(1512) };
    CB_Find_All_QLM->SetCaption(Lang(1513));
    L_Update_Option->SetCaption(Lang(1514));
    CB_Update_Options->Items()->Clear();
    for (int i = 1515; i <= 1517; ++i)
        CB_Update_Options->Items()->Add(Lang(i));
    CB_Update_Options->SetItemIndex(0);
    CB_Update_Option_Read_Back->SetCaption(Lang(1518));
    Btn_Cancel->SetCaption(Lang(1519));
    Btn_Update->SetCaption(Lang(1520));

    E_IP1->SetHint(Lang(1521));
    E_IP2->SetHint(Lang(1522));
    E_IP3->SetHint(Lang(1523));
    E_IP4->SetHint(Lang(1524));
    Btn_Search->SetHint(Lang(1529));
    ACG_List_Devices->SetHint(Lang(1530));
    CB_Find_All_QLM->SetHint(Lang(1531));
    CB_Update_Options->SetHint(Lang(1532));
    CB_Update_Option_Read_Back->SetHint(Lang(1533));
    Btn_Cancel->SetHint(Lang(1534));
    Btn_Update->SetHint(Lang(1535));
}

void TFBoot::Stack(std::initializer_list<TPanel*> panels)
{
    // Top-aligned panels keep the order of their tops.
    int top = P_Title->Height();
    DisableAlign();
    for (TPanel* p : panels) {
        p->SetTop(top);
        p->SetAlign(alTop);
        top += p->Height();
    }
    EnableAlign();
}

void TFBoot::FormShow(TObject*)
{
    Set_Lang();
    L_SW_Code->SetCaption(SW_Code);

    for (TPanel* p : { P_IP_Address, P_Eth_Search, P_Options, P_Serial }) {
        p->SetVisible(false);
        p->SetAlign(alNone);
    }

    const int option = Update_Option >= 0 && Update_Option <= 2 ? Update_Option : 0;
    if (Form_Type == 1) {
        P_IP_Address->SetVisible(true);
        P_Options->SetVisible(true);
        SetClientWidth(Form_Width);
        SetClientHeight(P_Title->Height() + P_IP_Address->Height() + P_Options->Height() + P_Button->Height());
        Stack({ P_IP_Address, P_Eth_Search, P_Options });
        int order = 0;
        for (TWinControl* c :
            std::initializer_list<TWinControl*> { P_Title, P_IP_Address, P_Eth_Search, P_Options, P_Button, P_Serial })
            c->SetTabOrder(order++);

        QString ip1, ip2, ip3, ip4;
        if (!Last_IP_Address.isEmpty() && Check_IP_Address(Last_IP_Address, ip1, ip2, ip3, ip4)) {
            E_IP1->SetText(ip1);
            E_IP2->SetText(ip2);
            E_IP3->SetText(ip3);
            E_IP4->SetText(ip4);
        }
        CB_Update_Options->SetItemIndex(option);
        CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
        SetActiveControl(E_IP1);
    } else if (Form_Type == 0) {
        P_Serial->SetVisible(true);
        P_Options->SetVisible(true);
        SetClientWidth(Form_Width);
        SetClientHeight(P_Title->Height() + P_Serial->Height() + P_Options->Height() + P_Button->Height());
        Stack({ P_Serial, P_Options });
        int order = 0;
        for (TWinControl* c :
            std::initializer_list<TWinControl*> { P_Title, P_Serial, P_Options, P_Button, P_IP_Address, P_Eth_Search })
            c->SetTabOrder(order++);
        CB_Update_Options->SetItemIndex(option);
        CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
        update_ComPort();
        SetActiveControl(CB_COM_Port);
    }
}

void TFBoot::KeyPress(TObject* Sender, char16_t& Key)
{
    Octet_Key_Press({ E_IP1, E_IP2, E_IP3, E_IP4 }, Sender, Key);
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->Items()->Clear();
    for (const QString& port : List_COM_Ports())
        CB_COM_Port->Items()->Add(QStringLiteral("COM") + port);
    CB_COM_Port->SetItemIndex(0);
}

void TFBoot::Btn_COM_ListClick(TObject*)
{
    update_ComPort();
}

void TFBoot::Btn_CancelClick(TObject*)
{
    SetModalResult(mrCancel);
}

// ---------------------------------------------------------------------------
// Echo check

QString TFBoot::IP_Address() const
{
    return Octet_Address({ E_IP1, E_IP2, E_IP3, E_IP4 });
}

void TFBoot::PingReply(const TEchoResult& AReplyStatus)
{
    ping_res = AReplyStatus.Status == TEchoStatus::esReply && AReplyStatus.BytesReceived > 0 ? 1 : 2;
}

TEchoResult TFBoot::Run_Echo(const QString& host)
{
    // The request runs beside the event loop: the dialog repaints and takes
    // input between the 10 ms looks, and the request's own time-out bounds
    // the wait.
    const TEcho_Service service = Echo_Service ? Echo_Service : TEcho_Service(Icmp_Echo);
    std::future<TEchoResult> reply = std::async(
        std::launch::async, [service, host]() { return service(host, Ping_Timeout_Ms, Ping_Packet_Size); });
    while (reply.wait_for(std::chrono::milliseconds(Ping_Step_Ms)) != std::future_status::ready)
        Application->ProcessMessages();
    Application->ProcessMessages();
    return reply.get();
}

bool TFBoot::Send_Ping()
{
    return Send_Ping(IP_Address());
}

bool TFBoot::Send_Ping(const QString& host)
{
    ping_res = 0;
    Last_Echo = TEchoResult();
    const std::uint64_t start = GetTickCount64();
    int replies = 0;
    try {
        do {
            Last_Echo = Run_Echo(host);
            // No socket, no address, no route: another try cannot do better.
            if (Last_Echo.Status != TEchoStatus::esReply && Last_Echo.Status != TEchoStatus::esTimedOut)
                return false;
            PingReply(Last_Echo);
            if (ping_res == 1 && ++replies >= Ping_Replies_Needed)
                break;
        } while (GetTickCount64() - start <= std::uint64_t(Ping_Total_Ms));
    } catch (const std::exception& e) {
        Last_Echo.Status = TEchoStatus::esFailed;
        Last_Echo.Error = QString::fromLocal8Bit(e.what());
        ping_res = 0;
        return false;
    } catch (...) {
        Last_Echo.Status = TEchoStatus::esFailed;
        ping_res = 0;
        return false;
    }
    return ping_res == 1;
}

// ---------------------------------------------------------------------------
// Update

TFBoot::TUpdate_Job TFBoot::Job_From_Fields() const
{
    TUpdate_Job job;
    job.Address = IP_Address();
    job.Option = CB_Update_Options->ItemIndex() < 0 ? 0 : CB_Update_Options->ItemIndex();
    job.Read_Back = CB_Update_Option_Read_Back->Checked();
    return job;
}

bool TFBoot::Compile_XML_Parameter_New_Boot()
{
    return Compile_XML_Parameter_New_Boot(Job_From_Fields());
}

bool TFBoot::Compile_XML_Parameter_New_Boot(const TUpdate_Job& job)
{
    Build_Job_File(XML1, job.Address, job.Option, job.Read_Back);
    const QString path = Join_Path(Program_Folder, Job_File_Name);
    QString error;
    if (!XML1.SaveToFile(path, &error)) {
        MessageDlg(
            QStringLiteral("The update job file could not be saved:\n%1\n%2").arg(path, File_Error_Reason(error, path)),
            mtError, TMsgDlgButtons(mbOK), 0);
        return false;
    }
    return true;
}

void TFBoot::Store_Options(const TUpdate_Job& job)
{
    Update_Option = job.Option;
    Update_Read_Back = job.Read_Back;
}

void TFBoot::Btn_UpdateClick(TObject*)
{
    const TUpdate_Job job = Job_From_Fields();
    if (Form_Type != 1) {
        Store_Options(job);
        return;
    }
    if (FChecking)
        return;
    FChecking = true;
    const bool answered = Send_Ping(job.Address);
    FChecking = false;
    // Closed while the check ran: the user no longer wants the update.
    if (IsModal() && ModalResult() != mrNone)
        return;
    if (!answered) {
        if (ping_res == 2) {
            MessageDlg(Lang(1536), mtWarning, TMsgDlgButtons(mbOK), 0);
        } else {
            QString text = Lang(1537);
            if (Last_Echo.Status == TEchoStatus::esCannotRun && !Last_Echo.Error.isEmpty())
                text += QStringLiteral("\n") + Last_Echo.Error;
            MessageDlg(text, mtError, TMsgDlgButtons(mbOK), 0);
        }
        return;
    }

    Last_IP_Address = job.Address;
    Store_Options(job);
    if (!Compile_XML_Parameter_New_Boot(job))
        return;
    const QString program = Update_Program_Path();
    if (FMorvantinoFirmWare)
        FMorvantinoFirmWare->Start_Program(program, QString(), false);
    else
        MessageDlg(
            QStringLiteral("The program \"%1\" could not be started.").arg(program), mtError, TMsgDlgButtons(mbOK), 0);
}
