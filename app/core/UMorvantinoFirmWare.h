#pragma once
// The main window: the four workflow steps of this build, the settings file,
// the language, the last project, one click handler for every button, the
// periodic version check, the hand-over to the update program and the
// language switch of every form.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "app/core/USoftOptions.h"
#include "platform/controls/Forms.h"
#include "platform/net/HttpClient.h"
#include "platform/runtime/XmlDom.h"

class TLabel;
class TLinkLabel;
class TShape;
class TLbButton;
class TTimer;
class TSaveDialog;
class TStringList;

// Fixed addresses of the maker's site (a reserved example domain).
inline const QString Maker_Domain = QStringLiteral("www.example.com");
inline const QString Maker_Home_Page = QStringLiteral("https://www.example.com/?frompg=RT41208");
inline const QString Maker_Download_Page = QStringLiteral("https://www.example.com/download.html#KM41208");

// The maker as the description files (GSDML, GSD, EDS, EDE, MIB) name it,
// built from the site's domain so that every file names the same maker. The
// postal, telephone and fax lines are plainly marked as still to be filled.
inline const QString Maker_Vendor_Name = QStringLiteral("Quolmi");
inline const QString Maker_Mail_Domain = Maker_Domain.mid(Maker_Domain.indexOf(QLatin1Char('.')) + 1);
// The company name in domain form, as the GSD and EDS vendor keys carry it.
inline const QString Maker_Domain_Name = Maker_Mail_Domain;
inline const QString Maker_Web_Address = Maker_Domain;
inline const QString Maker_Support_Mail = QStringLiteral("support@") + Maker_Mail_Domain;
inline const QString Maker_Street = QStringLiteral("[street and number to be filled in]");
inline const QString Maker_Town = QStringLiteral("[postal code and town to be filled in]");
inline const QString Maker_Country = QStringLiteral("[province and country to be filled in]");
inline const QString Maker_Telephone = QStringLiteral("[telephone number to be filled in]");
inline const QString Maker_Fax = QStringLiteral("[fax number to be filled in]");

// Version-check timer: first check a minute after it is armed, then two
// hours after each check ended.
inline constexpr unsigned Update_First_Interval = 60000;
inline constexpr unsigned Update_Next_Interval = 7200000;
// Longest wait for a started program.
inline constexpr int Start_Program_Timeout = 150000;

// Shared lists the main window creates: the copied table row and the MIB
// writer's scratch lists. They live as long as the main window.
extern TStringList* RowClipboard;
// Beside RowClipboard: entry c - 1 is set when data column c of the last
// string-grid copy was a check box (its text then "Y" or "N"). Empty at
// start; lives for the whole run.
extern QList<bool> RowClipboard_Check;
extern TStringList* MIB_Read_Objects;
extern TStringList* MIB_Write_Objects;

// The mapping-table forms and the description-file writers belong to the
// layer above; the start-up code hands them to the main window here. The
// order is the order in which a language switch re-labels them.
enum class TTable_Form {
    HART_Gateway,
    HART_Scan,
    HARTVariables,
    ReceiveCAN,
    TransmitCAN,
    BACnetSlaveSetAccess,
    BACnet_Eng_Unit,
    Set_PDO_Access,
    Set_SDO_Client_Access,
    Set_SDO_Server_Access,
    ReceiveJ1939,
    TransmitJ1939,
    MQTT_Set_Topic,
    TopicTemplate,
    SNMP_Trap_Access,
    OPC_UA_Server_Access,
    ProfinetFileName,
    Count
};

struct TTable_Form_Entry {
    // The form's singleton as it is now (null once freed).
    std::function<TCustomForm*()> Form;
    std::function<void()> Set_Lang;
};

struct TTable_Services {
    std::array<TTable_Form_Entry, static_cast<int>(TTable_Form::Count)> Forms;
    std::function<void(const QString& fileName)> Create_BACnet_EDE_File;
    std::function<void(const QString& fileName)> Write_EDS_File;
    std::function<void()> Create_PROFIBUS_GSD;
    std::function<void(const QString& fileName)> Create_PROFINET_XML;
    std::function<void()> Create_SNMP_MIB;
    // Name_File_XML of the GSDML file-name dialog.
    std::function<QString()> Name_File_XML;
};

// Where the program folder comes from: the executable's folder unless a test
// points it elsewhere.
extern std::function<QString()> Program_Folder_Source;

// The BACnet EDE file name: ".csv" appended unless the name already ends in
// it, in any letter case.
QString EDE_File_Name(const QString& chosen);

// A remembered or chosen project name that can safely become a folder under
// PROJECTS: not empty, no separators, not "." or "..", no characters a
// Windows file system refuses.
bool Is_Safe_Project_Name(const QString& name);

class TFMorvantinoFirmWare : public TForm {
public:
    explicit TFMorvantinoFirmWare(TComponent* AOwner);
    ~TFMorvantinoFirmWare() override;
    QString ClassName() const override { return QStringLiteral("TFMorvantinoFirmWare"); }

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Btn_Click(TObject* Sender);

    void Create_New_Project();
    void Open_Project();
    // Writes the settings file; a failure is shown in an error box and the
    // previous file stays. Returns whether it was written.
    bool Save_Setting();
    void Set_Files();
    void Set_Lang();
    void Change_Language();
    // Starts a program and waits for its end, up to 150 s. Meanwhile the
    // windows repaint but take no input. A program that cannot be started is
    // reported in an error box naming it; then it returns false at once.
    // `tipo` (start hidden) has no meaning for the programs started here.
    bool Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo);
    void Timer_UpdateTimer(TObject* Sender);
    void LL_UpdateLinkClick(TObject* Sender, const QString& Link);
    void L_QuolmiClick(TObject* Sender);

    void Update_Device();
    void BACnet_EDE_File();
    void Build_EDS_File();
    void PROFINET_XML();

    // Arms the version-check timer exactly when both internet options are on;
    // a timer that is already armed keeps its countdown, and re-arming keeps
    // the interval the last check left.
    void Arm_Update_Timer();

    // The version check the timer runs on a worker thread; empty means the
    // options dialog's request through HTTP1. It must touch no form.
    std::function<bool()> Version_Check;
    // True from a timer expiry until that check's answer has been shown.
    bool Version_Check_Running() const { return FVersion_Check.Running(); }

    TTable_Services Tables;

    // Controls.
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TLabel* L_Begin = nullptr;
    TLabel* L_Step_1 = nullptr;
    TLabel* L_Step_2 = nullptr;
    TLabel* L_Step_3 = nullptr;
    TLabel* L_Step_4 = nullptr;
    TLabel* L_Step_5 = nullptr;
    TLabel* L_Step_6 = nullptr;
    TLabel* L_Step_7 = nullptr;
    TLabel* L_Step_8 = nullptr;
    TShape* Shape2 = nullptr;
    TLabel* L_Name_Conf = nullptr;
    TLabel* L_Name_Conf_L2 = nullptr;
    TLinkLabel* LL_Update = nullptr;
    TLabel* L_Quolmi = nullptr;
    TShape* Shape1 = nullptr;

    TLbButton* Btn_Info = nullptr;
    TLbButton* Btn_Opz = nullptr;
    TLbButton* Btn_Close = nullptr;
    TLbButton* Btn_New = nullptr;
    TLbButton* Btn_Open = nullptr;
    TLbButton* Btn_Prm_Gen = nullptr;
    TLbButton* Btn_HART_Variables = nullptr;
    TLbButton* Btn_CreateBin = nullptr;
    TLbButton* Btn_HART_Gateway = nullptr;
    TLbButton* Btn_PROFINET_XML = nullptr;
    TLbButton* Btn_PROFINET_Map = nullptr;
    TLbButton* Btn_CAN_Rec_Frame = nullptr;
    TLbButton* Btn_CAN_Send_Frame = nullptr;
    TLbButton* Btn_BACnet_SetAccess = nullptr;
    TLbButton* Btn_BACnet_EDE_File = nullptr;
    TLbButton* Btn_SDO_Server_CANopen = nullptr;
    TLbButton* Btn_SDO_Client_CANopen = nullptr;
    TLbButton* Btn_PDO_CANopen = nullptr;
    TLbButton* Btn_CANopen_EDS = nullptr;
    TLbButton* Btn_MQTT_Set_Topic = nullptr;
    TLbButton* Btn_PROFIBUS_GSD = nullptr;
    TLbButton* Btn_SNMP_Trap = nullptr;
    TLbButton* Btn_SNMP_MIB = nullptr;
    TLbButton* Btn_OPC_UA_Server_Access = nullptr;

    // Lent to other units.
    TTimer* Timer_Update = nullptr;
    TXmlDocument XML1;
    THttpClient HTTP1;
    TSaveDialog* SD1 = nullptr;
    TSaveDialog* SaveEDS = nullptr;
    TSaveDialog* SaveMIB = nullptr;

    // Every button, in the order the click handler tests them.
    QList<TLbButton*> Buttons() const;

private:
    void Create_Controls();
    void Layout_Steps();
    TLbButton* Make_Button(const char* name, int left, int top, bool picture);
    TLabel* Make_Label(const char* name, int left, int top, bool boldGrey);
    void Show_Project_Labels();
    void Show_Table_Form(TTable_Form which);
    void Show_Error(const QString& text);
    void Version_Checked(bool newer);

    std::unique_ptr<TStringList> FRowClipboard;
    std::unique_ptr<TStringList> FMIB_Read_Objects;
    std::unique_ptr<TStringList> FMIB_Write_Objects;
    // Last member: freed first, it stops a running check before anything it
    // could hand its answer to is gone.
    TVersion_Check FVersion_Check;
};

extern TFMorvantinoFirmWare* FMorvantinoFirmWare;
