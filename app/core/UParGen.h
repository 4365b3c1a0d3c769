#pragma once
// The protocol parameter form ("Set Communication"): one scrolling stack of
// collapsible panels, one per protocol or function of the converter family.
// Each model of the family shows its own panels in its own order; this build
// is model 208, the Modbus slave converter. The form edits the parameters of
// the active project and keeps them in ParGen.xml.

#include <QString>
#include <memory>
#include <vector>

#include "app/core/LbButton.h"
#include "platform/controls/CategoryPanels.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/ImageList.h"
#include "platform/runtime/XmlDom.h"

// The panels of the whole family, in the order the form hides them at start
// (the HART master panel first: it is never hidden).
enum class TParPanel {
    HART_Master,
    MQTT,
    Ethernet,
    WiFi,
    TLS,
    NTP,
    Modbus_Slave,
    Modbus_TCP_Slave,
    CAN,
    CANopen,
    J1939,
    DeviceNet_Slave,
    EtherNetIP,
    PROFINET,
    PROFIBUS,
    SNMP_Agent,
    BACnet_Slave,
    Serial,
    Web_Pages,
    OPC_UA_Server,
    Ethernet_Connection,
};
inline constexpr int ParPanelCount = 21;

// The model this build configures.
inline constexpr int ParGen_Model = 208;

// The panels a model shows, top first; empty for a number outside the family.
const std::vector<TParPanel>& Model_Panels(int model);
// Every model number of the family, ascending.
const std::vector<int>& Family_Models();
// Language text of a panel's caption; -1 for the Wi-Fi panel, which has none.
int Panel_Caption_Text(TParPanel panel);

class TFParGen : public TForm {
public:
    explicit TFParGen(TComponent* AOwner);
    // The form laid out for another model of the family.
    TFParGen(TComponent* AOwner, int model);
    ~TFParGen() override;
    QString ClassName() const override { return QStringLiteral("TFParGen"); }

    int Model() const { return FModel; }
    TCategoryPanel* Panel(TParPanel panel) const;

    // --- Event handlers and methods ------------------------------------
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled);
    void Btn_OKClick(TObject* Sender);
    void Btn_CancelClick(TObject* Sender);
    void On_Change(TObject* Sender);
    void On_Click(TObject* Sender);
    // Octet edits: "." moves on along the address chain and is never typed.
    void KeyPress(TObject* Sender, char16_t& Key);

    // Model dispatchers.
    void Order_TAB_Panels();
    void Move_GroupBoxs();
    // Ordering and layout of any model of the family.
    void Order_TAB_Panels_Model(int model);
    void RePosition_Objects_Model(int model);
    void Order_TAB_Panels_208() { Order_TAB_Panels_Model(208); }
    void RePosition_Objects_208() { RePosition_Objects_Model(208); }
    // The layout rule of one panel.
    void RePosition_Object(TParPanel panel);
    void RePosition_Object_Ethernet_Connection();
    void RePosition_Object_HART_Master();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_Ethernet();
    void RePosition_Object_Web_Pages();

    void Set_Lang();

    // Validation of the fields before a save; the first bad field shows its
    // message and stops.
    bool Controllo_Dati();
    // True when the text holds a character other than an ASCII letter or digit.
    bool Check_Device_Name(const QString& text) const;

    // The parameter file: filling the controls from it (or the defaults) and
    // writing it from them. Write_ParGen reports a failed save itself and
    // returns false.
    void Read_ParGen();
    bool Write_ParGen();

    // --- Frame ----------------------------------------------------------
    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
    TPanel* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TCategoryPanelGroup* CPG = nullptr;
    std::unique_ptr<TImageList> ImageList1;
    TXmlDocument XML1;
    bool Is_Change = false;

    // --- Panels of the family ---------------------------------------------
    TCategoryPanel* CP_Ethernet_Connection = nullptr;
    TCategoryPanel* CP_HART_Master = nullptr;
    TCategoryPanel* CP_Serial = nullptr;
    TCategoryPanel* CP_BACnet_Slave = nullptr;
    TCategoryPanel* CP_CAN = nullptr;
    TCategoryPanel* CP_CANopen = nullptr;
    TCategoryPanel* CP_DeviceNet_Slave = nullptr;
    TCategoryPanel* CP_EtherNetIP = nullptr;
    TCategoryPanel* CP_J1939 = nullptr;
    TCategoryPanel* CP_Modbus_Slave = nullptr;
    TCategoryPanel* CP_Modbus_TCP_Slave = nullptr;
    TCategoryPanel* CP_MQTT = nullptr;
    TCategoryPanel* CP_Ethernet = nullptr;
    TCategoryPanel* CP_TLS = nullptr;
    TCategoryPanel* CP_NTP = nullptr;
    TCategoryPanel* CP_PROFIBUS = nullptr;
    TCategoryPanel* CP_PROFINET = nullptr;
    TCategoryPanel* CP_SNMP_Agent = nullptr;
    TCategoryPanel* CP_OPC_UA_Server = nullptr;
    TCategoryPanel* CP_Web_Pages = nullptr;
    TCategoryPanel* CP_WiFi = nullptr;

    // --- Ethernet connection --------------------------------------------
    TLabel* L_EthConn_Device_Name = nullptr;
    TEdit* E_EthConn_Device_Name = nullptr;
    TCheckBox* CB_EthConn_En_DHCP_Cable = nullptr;
    TCheckBox* CB_EthConn_En_DHCP_WiFi = nullptr;
    TCheckBox* CB_EthConn_Enable_DNS = nullptr;
    TLabel* L_EthConn_Primary_DNS = nullptr;
    TEdit* E_EthConn_Pri_DNS_IP1 = nullptr;
    TEdit* E_EthConn_Pri_DNS_IP2 = nullptr;
    TEdit* E_EthConn_Pri_DNS_IP3 = nullptr;
    TEdit* E_EthConn_Pri_DNS_IP4 = nullptr;
    TLabel* L_EthConn_Secondary_DNS = nullptr;
    TEdit* E_EthConn_Sec_DNS_IP1 = nullptr;
    TEdit* E_EthConn_Sec_DNS_IP2 = nullptr;
    TEdit* E_EthConn_Sec_DNS_IP3 = nullptr;
    TEdit* E_EthConn_Sec_DNS_IP4 = nullptr;

    // --- HART master ------------------------------------------------------
    TLabel* L_HART_Master_Address = nullptr;
    TComboBox* CB_HART_Master_Address = nullptr;
    TLabel* L_HART_Master_RetryLimit = nullptr;
    TComboBox* CB_HART_Master_RetryLimit = nullptr;
    TCheckBox* CB_HART_Master_Diagnostic = nullptr;
    TEdit* E_HART_Master_Diagnostic = nullptr;

    // --- Modbus slave -----------------------------------------------------
    TLabel* L_ModbusSlave_Serial = nullptr;
    TComboBox* CB_ModbusSlave_Serial = nullptr;
    TLabel* L_ModbusSlave_Baudrate = nullptr;
    TComboBox* CB_ModbusSlave_Baudrate = nullptr;
    TLabel* L_ModbusSlave_Parity = nullptr;
    TComboBox* CB_ModbusSlave_Parity = nullptr;
    TLabel* L_ModbusSlave_StopBits = nullptr;
    TComboBox* CB_ModbusSlave_StopBits = nullptr;
    TLabel* L_ModbusSlave_IDDevice = nullptr;
    TEdit* E_ModbusSlave_IDDevice = nullptr;
    TCheckBox* CB_ModbusSlave_ReadInput = nullptr;

    // --- Ethernet ---------------------------------------------------------
    TLabel* L_Ethernet_IP = nullptr;
    TEdit* E_Ethernet_IP1 = nullptr;
    TEdit* E_Ethernet_IP2 = nullptr;
    TEdit* E_Ethernet_IP3 = nullptr;
    TEdit* E_Ethernet_IP4 = nullptr;
    TLabel* L_Ethernet_SM = nullptr;
    TEdit* E_Ethernet_SM1 = nullptr;
    TEdit* E_Ethernet_SM2 = nullptr;
    TEdit* E_Ethernet_SM3 = nullptr;
    TEdit* E_Ethernet_SM4 = nullptr;
    TCheckBox* CB_Ethernet_En_GAT = nullptr;
    TEdit* E_Ethernet_GAT1 = nullptr;
    TEdit* E_Ethernet_GAT2 = nullptr;
    TEdit* E_Ethernet_GAT3 = nullptr;
    TEdit* E_Ethernet_GAT4 = nullptr;
    TLabel* L_Ethernet_TCP_Port = nullptr;
    TEdit* E_Ethernet_TCP_Port = nullptr;
    TLabel* L_Ethernet_UDP_Port = nullptr;
    TEdit* E_Ethernet_UDP_Port = nullptr;

    // --- Web pages --------------------------------------------------------
    TLabel* L_WebPages_User = nullptr;
    TEdit* E_WebPages_User = nullptr;
    TLabel* L_WebPages_Password = nullptr;
    TEdit* E_WebPages_Password = nullptr;

protected:
    using TWinControl::KeyPress;

private:
    void Create_Frame();
    void Create_Panels();
    void Create_Ethernet_Connection();
    void Create_HART_Master();
    void Create_Modbus_Slave();
    void Create_Ethernet();
    void Create_Web_Pages();

    // Row helpers of the panels' grid (row 1 is the top row).
    TLabel* Add_Label(TCategoryPanel* panel, int row);
    TEdit* Add_Edit(TCategoryPanel* panel, int row, int maxLength = 0);
    TComboBox* Add_List(TCategoryPanel* panel, int row, const QStringList& items, int index);
    TCheckBox* Add_Check(TCategoryPanel* panel, int row, int width);
    // Four octet edits with their dots; `chain` collects them for the "." key.
    void Add_Octets(TCategoryPanel* panel, int row, TEdit** edits, std::vector<TEdit*>* chain);
    // Height rule: the last visible control's bottom, the header and 12.
    void Set_Panel_Height(TCategoryPanel* panel, const TControl* last);

    int FModel = ParGen_Model;
    // The "." key's address chains; an octet edit of no chain has no successor.
    std::vector<std::vector<TEdit*>> FOctetChains;
    // Check boxes whose click re-lays the panels out.
    std::vector<const TObject*> FRelayoutSenders;
};

extern TFParGen* FParGen;
