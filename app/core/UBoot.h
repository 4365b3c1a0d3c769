#pragma once
// The device update dialog: the converter's address and what to transfer, an
// echo check that the converter answers, the update program's job file
// Ethernet_Update.xml, and the start of the update program beside the tool.

#include <QString>
#include <array>
#include <functional>

#include "app/core/UTitle_Panel.h"
#include "platform/controls/Forms.h"
#include "platform/net/IcmpEcho.h"
#include "platform/runtime/XmlDom.h"

class TPanel;
class TLabel;
class TEdit;
class TComboBox;
class TCheckBox;
class TLbButton;

// One echo request to `host`, waiting at most `timeoutMs` for the answer and
// carrying `packetSize` bytes. It runs on a worker thread, so it must touch
// nothing of the forms. The default sends a real ICMP echo.
using TEcho_Service = std::function<TEchoResult(const QString& host, int timeoutMs, int packetSize)>;
TEchoResult Icmp_Echo(const QString& host, int timeoutMs, int packetSize);

// Echo check: each request waits this long, two answers confirm the device,
// and the check gives up after the total time.
inline constexpr int Ping_Timeout_Ms = 400;
inline constexpr int Ping_Packet_Size = 1024;
inline constexpr int Ping_Replies_Needed = 2;
inline constexpr int Ping_Total_Ms = 5000;
inline constexpr int Ping_Step_Ms = 10;

// The job file's fixed values.
inline const QString Job_File_Name = QStringLiteral("Ethernet_Update.xml");
inline const QString Job_Title = QStringLiteral("www.example.com - RT41208");

// Update options, as listed in CB_Update_Options.
inline constexpr int Update_Firmware_Configuration = 0;
inline constexpr int Update_Firmware = 1;
inline constexpr int Update_Configuration = 2;

// Builds the job file's tree into `xml` (cleared first): the target address
// as typed, the option's operations and the read-back flag of each.
void Build_Job_File(TXmlDocument& xml, const QString& ipAddress, int option, bool readBack);

// The update program beside the tool: "Ethernet_Update", or
// "Ethernet_Update.exe" when only that one is present.
QString Update_Program_Path();

class TFBoot : public TForm {
public:
    explicit TFBoot(TComponent* AOwner);
    ~TFBoot() override;
    QString ClassName() const override { return QStringLiteral("TFBoot"); }

    // Texts depend on the layout, so they are applied on every show too.
    void Set_Lang();
    void FormShow(TObject* Sender);
    void Btn_UpdateClick(TObject* Sender);
    void Btn_CancelClick(TObject* Sender);
    void Btn_COM_ListClick(TObject* Sender);
    // The address edits: "." moves on to the next octet and is never typed.
    void KeyPress(TObject* Sender, char16_t& Key);

    // What Execute was pressed with. The fields stay editable while the echo
    // check runs; the update goes to the address that answered, with the
    // options chosen then.
    struct TUpdate_Job {
        QString Address; // the four fields joined with ".", as typed
        int Option = 0;
        bool Read_Back = true;
    };
    TUpdate_Job Job_From_Fields() const;

    // True when the converter at the fields' address (or at `host`)
    // answered; the windows repaint and take input meanwhile.
    bool Send_Ping();
    bool Send_Ping(const QString& host);
    void PingReply(const TEchoResult& AReplyStatus);
    // Writes the job file from the current fields (or from `job`); a file
    // that cannot be written is reported in an error box naming it, and false
    // returned.
    bool Compile_XML_Parameter_New_Boot();
    bool Compile_XML_Parameter_New_Boot(const TUpdate_Job& job);
    void update_ComPort();

    // The four address fields joined with ".", as typed.
    QString IP_Address() const;

    // Layout: 0 serial, 1 Ethernet.
    int Form_Type = 1;
    // Last echo: 0 none yet, 1 a reply carrying data, 2 no reply in time.
    int ping_res = 0;
    // The last echo request's full result (why a check could not run).
    TEchoResult Last_Echo;
    // Replaceable for tests; empty means the real ICMP echo.
    TEcho_Service Echo_Service;

    TXmlDocument XML1;

    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;

    TPanel* P_IP_Address = nullptr;
    TLabel* L_IP_Address = nullptr;
    TEdit* E_IP1 = nullptr;
    TEdit* E_IP2 = nullptr;
    TEdit* E_IP3 = nullptr;
    TEdit* E_IP4 = nullptr;

    TPanel* P_Serial = nullptr;
    TLabel* L_COM_Port = nullptr;
    TComboBox* CB_COM_Port = nullptr;
    TLbButton* Btn_COM_List = nullptr;

    // Never shown in this build. ACG_List_Devices stands in for the
    // two-column device grid, whose headers are kept below until the column
    // grid is there to show them.
    TPanel* P_Eth_Search = nullptr;
    TLabel* L_List_Device = nullptr;
    TLbButton* Btn_Search = nullptr;
    TPanel* ACG_List_Devices = nullptr;
    std::array<QString, 2> ACG_List_Devices_Headers;
    TCheckBox* CB_Find_All_QLM = nullptr;

    TPanel* P_Options = nullptr;
    TLabel* L_Update_Option = nullptr;
    TComboBox* CB_Update_Options = nullptr;
    TCheckBox* CB_Update_Option_Read_Back = nullptr;

    TPanel* P_Button = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_Update = nullptr;

private:
    void Create_Controls();
    TPanel* Make_Panel(const char* name, int height);
    TLbButton* Make_Button(const char* name, TPanel* parent, int left, int top, int width, int height);
    void Stack(std::initializer_list<TPanel*> panels);
    TEchoResult Run_Echo(const QString& host);
    void Store_Options(const TUpdate_Job& job);

    // True while an echo check runs: a second Execute click waits for it.
    bool FChecking = false;
};

extern TFBoot* FBoot;
