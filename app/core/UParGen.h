#pragma once
// The protocol parameter form ("Set Communication"): one scrolling stack of
// collapsible panels, one per protocol or function of the converter family.
// Each model of the family shows its own panels in its own order; this build
// is model 208, the Modbus slave converter. The form edits the parameters of
// the active project and keeps them in ParGen.xml.

#include <QString>
#include <initializer_list>
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
    // The window's close button acts as Cancel.
    void FormCloseQuery(TObject* Sender, bool& CanClose);
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
    void RePosition_Object_Serial();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_CAN();
    void RePosition_Object_CANopen();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_J1939();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_MQTT();
    void RePosition_Object_TLS();
    void RePosition_Object_NTP();
    void RePosition_Object_PROFIBUS();
    void RePosition_Object_PROFINET();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_OPC_UA_Server();
    // No model shows the Wi-Fi panel, so nothing calls this.
    void RePosition_Object_WiFi();

    void Set_Lang();

    // Validation of the fields before a save; the first bad field shows its
    // message and stops.
    bool Controllo_Dati();
    // True when the text holds a character other than an ASCII letter or digit.
    bool Check_Device_Name(const QString& text) const;

    // The parameter file: filling the controls from it (or the defaults) and
    // writing it from them. Read_ParGen reports a file that is there but
    // cannot be read; Write_ParGen then asks before replacing it. Write_ParGen
    // reports a failed save itself and returns false.
    void Read_ParGen();
    bool Write_ParGen();
    // The last read found ParGen.xml present but unreadable.
    bool ParGen_Damaged() const { return FParGen_Damaged; }

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

    // --- Other models' panels ---------------------------------------------
    // Laid out only by the models that show them; this build's model keeps
    // them hidden, and neither the parameter file nor the validation uses them.

    // Serial
    TLabel* L_Serial_Serial = nullptr;
    TComboBox* CB_Serial_Serial = nullptr;
    TLabel* L_Serial_Baudrate = nullptr;
    TComboBox* CB_Serial_Baudrate = nullptr;
    TLabel* L_Serial_Parity = nullptr;
    TComboBox* Cb_Serial_Parity = nullptr;
    TLabel* L_Serial_StopBits = nullptr;
    TComboBox* CB_Serial_StopBits = nullptr;

    // BACnet slave: the BACnet/IP rows, then the MS/TP rows
    TLabel* L_BACnet_Type = nullptr;
    TComboBox* CB_BACnet_Type = nullptr;
    TLabel* L_BACnet_IP = nullptr;
    TEdit* E_BACnet_IP1 = nullptr;
    TEdit* E_BACnet_IP2 = nullptr;
    TEdit* E_BACnet_IP3 = nullptr;
    TEdit* E_BACnet_IP4 = nullptr;
    TLabel* L_BACnet_SM = nullptr;
    TEdit* E_BACnet_SM1 = nullptr;
    TEdit* E_BACnet_SM2 = nullptr;
    TEdit* E_BACnet_SM3 = nullptr;
    TEdit* E_BACnet_SM4 = nullptr;
    TCheckBox* CB_BACnet_IP_Slave_GAT = nullptr;
    TEdit* E_BACnet_GAT1 = nullptr;
    TEdit* E_BACnet_GAT2 = nullptr;
    TEdit* E_BACnet_GAT3 = nullptr;
    TEdit* E_BACnet_GAT4 = nullptr;
    TLabel* L_BACnet_Port = nullptr;
    TEdit* E_BACnet_Port = nullptr;
    TLabel* L_BACnet_Device_Name = nullptr;
    TEdit* E_BACnet_Device_Name = nullptr;
    TLabel* L_BACnet_Device_ID = nullptr;
    TEdit* E_BACnet_Device_ID = nullptr;
    TLabel* L_BACnet_MSTP_Baudrate = nullptr;
    TComboBox* CB_BACnet_MSTP_Baudrate = nullptr;
    TLabel* L_BACnet_MSTP_Parity = nullptr;
    TComboBox* CB_BACnet_MSTP_Parity = nullptr;
    TLabel* L_BACnet_MSTP_Device_Name = nullptr;
    TEdit* E_BACnet_MSTP_Device_Name = nullptr;
    TLabel* L_BACnet_MSTP_MAC = nullptr;
    TEdit* E_BACnet_MSTP_MAC = nullptr;
    TLabel* L_BACnet_MSTP_Max_Master = nullptr;
    TEdit* E_BACnet_MSTP_Max_Master = nullptr;
    TLabel* L_BACnet_MSTP_Max_Info = nullptr;
    TEdit* E_BACnet_MSTP_Max_Info = nullptr;
    TLabel* L_BACnet_MSTP_Device_Instance = nullptr;
    TEdit* E_BACnet_MSTP_Device_Instance = nullptr;
    TLabel* L_BACnet_MSTP_Network = nullptr;
    TEdit* E_BACnet_MSTP_Network = nullptr;
    TCheckBox* CB_BACnet_Slave_Desc_32_Chars = nullptr;

    // CAN
    TLabel* L_CAN_Baudrate = nullptr;
    TComboBox* CB_CAN_Baudrate = nullptr;

    // CANopen
    TLabel* L_CANopen_IDDevice = nullptr;
    TEdit* E_CANopen_IDDevice = nullptr;
    TLabel* L_CANopen_Baudrate = nullptr;
    TComboBox* CB_CANopen_Baudrate = nullptr;
    TCheckBox* CB_CANopen_Operational = nullptr;
    TCheckBox* CB_CANopen_Network_Start = nullptr;
    TEdit* E_CANopen_Network_Start_Delay = nullptr;
    TLabel* L_CANopen_SDO_TimeOut = nullptr;
    TEdit* E_CANopen_SDO_TimeOut = nullptr;

    // DeviceNet slave
    TLabel* L_DeviceNet_IDDevice = nullptr;
    TEdit* E_DeviceNet_IDDevice = nullptr;
    TLabel* L_DeviceNet_Baudrate = nullptr;
    TComboBox* CB_DeviceNet_Baudrate = nullptr;
    TLabel* L_DeviceNet_Bytes_In = nullptr;
    TEdit* E_DeviceNet_Bytes_In = nullptr;
    TLabel* L_DeviceNet_Bytes_Out = nullptr;
    TEdit* E_DeviceNet_Bytes_Out = nullptr;

    // EtherNet/IP
    TLabel* L_EtherNetIP_IP = nullptr;
    TEdit* E_EtherNetIP_IP1 = nullptr;
    TEdit* E_EtherNetIP_IP2 = nullptr;
    TEdit* E_EtherNetIP_IP3 = nullptr;
    TEdit* E_EtherNetIP_IP4 = nullptr;
    TLabel* L_EtherNetIP_SM = nullptr;
    TEdit* E_EtherNetIP_SM1 = nullptr;
    TEdit* E_EtherNetIP_SM2 = nullptr;
    TEdit* E_EtherNetIP_SM3 = nullptr;
    TEdit* E_EtherNetIP_SM4 = nullptr;
    TCheckBox* CB_EtherNetIP_En_GAT = nullptr;
    TEdit* E_EtherNetIP_GAT1 = nullptr;
    TEdit* E_EtherNetIP_GAT2 = nullptr;
    TEdit* E_EtherNetIP_GAT3 = nullptr;
    TEdit* E_EtherNetIP_GAT4 = nullptr;
    TLabel* L_EtherNetIP_Diag_Port = nullptr;
    TEdit* E_EtherNetIP_Diag_Port = nullptr;
    TLabel* L_EtherNetIP_Bytes_In = nullptr;
    TEdit* E_EtherNetIP_Bytes_In = nullptr;
    TLabel* L_EtherNetIP_Bytes_Out = nullptr;
    TEdit* E_EtherNetIP_Bytes_Out = nullptr;

    // J1939
    TLabel* L_J1939_Baudrate = nullptr;
    TComboBox* CB_J1939_Baudrate = nullptr;
    TLabel* L_J1939_TimeOut = nullptr;
    TEdit* E_J1939_TimeOut = nullptr;
    TCheckBox* CB_J1939_Peer_To_Peer = nullptr;
    TLabel* L_J1939_IDDevice = nullptr;
    TEdit* E_J1939_IDDevice = nullptr;

    // Modbus TCP slave
    TLabel* L_ModbusTCPSlave_IP = nullptr;
    TEdit* E_ModbusTCPSlave_IP1 = nullptr;
    TEdit* E_ModbusTCPSlave_IP2 = nullptr;
    TEdit* E_ModbusTCPSlave_IP3 = nullptr;
    TEdit* E_ModbusTCPSlave_IP4 = nullptr;
    TLabel* L_ModbusTCPSlave_SM = nullptr;
    TEdit* E_ModbusTCPSlave_SM1 = nullptr;
    TEdit* E_ModbusTCPSlave_SM2 = nullptr;
    TEdit* E_ModbusTCPSlave_SM3 = nullptr;
    TEdit* E_ModbusTCPSlave_SM4 = nullptr;
    TCheckBox* CB_ModbusTCPSlave_En_GAT = nullptr;
    TEdit* E_ModbusTCPSlave_GAT1 = nullptr;
    TEdit* E_ModbusTCPSlave_GAT2 = nullptr;
    TEdit* E_ModbusTCPSlave_GAT3 = nullptr;
    TEdit* E_ModbusTCPSlave_GAT4 = nullptr;
    TLabel* L_ModbusTCPSlave_Port = nullptr;
    TEdit* E_ModbusTCPSlave_Port = nullptr;

    // MQTT
    TLabel* L_MQTT_Server_URL = nullptr;
    TEdit* E_MQTT_Server_URL = nullptr;
    TLabel* L_MQTT_Server_Port = nullptr;
    TEdit* E_MQTT_Server_Port = nullptr;
    TLabel* L_MQTT_Client_ID = nullptr;
    TEdit* E_MQTT_Client_ID = nullptr;
    TLabel* L_MQTT_Keep_Alive = nullptr;
    TEdit* E_MQTT_Keep_Alive = nullptr;
    TCheckBox* CB_MQTT_Clean_Session = nullptr;
    TCheckBox* CB_MQTT_WillFlag = nullptr;
    TLabel* L_MQTT_Will_Topic = nullptr;
    TEdit* E_MQTT_Will_Topic = nullptr;
    TLabel* L_MQTT_Will_Message = nullptr;
    TEdit* E_MQTT_Will_Message = nullptr;
    TCheckBox* CB_MQTT_Will_Retained = nullptr;
    TLabel* L_MQTT_Will_QoS = nullptr;
    TComboBox* CB_MQTT_Will_QoS = nullptr;
    TLabel* L_MQTT_User = nullptr;
    TEdit* E_MQTT_User = nullptr;
    TLabel* L_MQTT_Password = nullptr;
    TEdit* E_MQTT_Password = nullptr;
    TLabel* L_MQTT_Send_Time = nullptr;
    TEdit* E_MQTT_Send_Time = nullptr;

    // TLS: certificates and the key are one-line rich-text edits
    TCheckBox* CB_TLS_Enable = nullptr;
    TCheckBox* CB_TLS_En_Server_Auth = nullptr;
    TLabel* L_TLS_Server_Cert = nullptr;
    TMemo* RE_TLS_Server_Cert = nullptr;
    TCheckBox* CB_TLS_En_Client_Auth = nullptr;
    TLabel* L_TLS_Client_Cert = nullptr;
    TMemo* RE_TLS_Client_Cert = nullptr;
    TLabel* L_TLS_Client_Key = nullptr;
    TMemo* RE_TLS_Client_Key = nullptr;
    TLabel* L_TLS_Client_Key_Password = nullptr;
    TEdit* E_TLS_Client_Key_Password = nullptr;

    // NTP
    TLabel* L_NTP_Server_URL = nullptr;
    TEdit* E_NTP_Server_URL = nullptr;
    TLabel* L_NTP_Poll_Time = nullptr;
    TEdit* E_NTP_Poll_Time = nullptr;

    // PROFIBUS
    TLabel* L_PROFIBUS_IDDevice = nullptr;
    TEdit* E_PROFIBUS_IDDevice = nullptr;
    TLabel* L_PROFIBUS_Baudrate = nullptr;
    TComboBox* CB_PROFIBUS_Baudrate = nullptr;
    TLabel* L_PROFIBUS_Bytes_In = nullptr;
    TEdit* E_PROFIBUS_Bytes_In = nullptr;
    TLabel* L_PROFIBUS_Bytes_Out = nullptr;
    TEdit* E_PROFIBUS_Bytes_Out = nullptr;

    // PROFINET
    TLabel* L_PROFINET_IP = nullptr;
    TEdit* E_PROFINET_IP1 = nullptr;
    TEdit* E_PROFINET_IP2 = nullptr;
    TEdit* E_PROFINET_IP3 = nullptr;
    TEdit* E_PROFINET_IP4 = nullptr;
    TLabel* L_PROFINET_SM = nullptr;
    TEdit* E_PROFINET_SM1 = nullptr;
    TEdit* E_PROFINET_SM2 = nullptr;
    TEdit* E_PROFINET_SM3 = nullptr;
    TEdit* E_PROFINET_SM4 = nullptr;
    TCheckBox* CB_PROFINET_En_GAT = nullptr;
    TEdit* E_PROFINET_GAT1 = nullptr;
    TEdit* E_PROFINET_GAT2 = nullptr;
    TEdit* E_PROFINET_GAT3 = nullptr;
    TEdit* E_PROFINET_GAT4 = nullptr;
    TLabel* L_PROFINET_Tunnel_Port = nullptr;
    TEdit* E_PROFINET_Tunnel_Port = nullptr;
    TLabel* L_PROFINET_Station_Name = nullptr;
    TEdit* E_PROFINET_Station_Name = nullptr;
    TLabel* L_PROFINET_Bytes_In = nullptr;
    TEdit* E_PROFINET_Bytes_In = nullptr;
    TLabel* L_PROFINET_Bytes_Out = nullptr;
    TEdit* E_PROFINET_Bytes_Out = nullptr;
    TCheckBox* CB_PROFINET_Diagnostic = nullptr;
    TEdit* E_PROFINET_Diagnostic = nullptr;

    // SNMP agent
    TLabel* L_SNMP_Agent_IP = nullptr;
    TEdit* E_SNMP_Agent_IP1 = nullptr;
    TEdit* E_SNMP_Agent_IP2 = nullptr;
    TEdit* E_SNMP_Agent_IP3 = nullptr;
    TEdit* E_SNMP_Agent_IP4 = nullptr;
    TLabel* L_SNMP_Agent_SM = nullptr;
    TEdit* E_SNMP_Agent_SM1 = nullptr;
    TEdit* E_SNMP_Agent_SM2 = nullptr;
    TEdit* E_SNMP_Agent_SM3 = nullptr;
    TEdit* E_SNMP_Agent_SM4 = nullptr;
    TCheckBox* CB_SNMP_Agent_GAT = nullptr;
    TEdit* E_SNMP_Agent_GAT1 = nullptr;
    TEdit* E_SNMP_Agent_GAT2 = nullptr;
    TEdit* E_SNMP_Agent_GAT3 = nullptr;
    TEdit* E_SNMP_Agent_GAT4 = nullptr;
    TLabel* L_SNMP_Agent_Station_Name = nullptr;
    TEdit* E_SNMP_Agent_Station_Name = nullptr;
    TLabel* L_SNMP_Agent_Contact = nullptr;
    TEdit* E_SNMP_Agent_Contact = nullptr;
    TLabel* L_SNMP_Agent_Location = nullptr;
    TEdit* E_SNMP_Agent_Location = nullptr;
    TLabel* L_SNMP_Agent_Version = nullptr;
    TCheckBox* CB_SNMP_Agent_Version1 = nullptr;
    TCheckBox* CB_SNMP_Agent_Version2 = nullptr;
    TCheckBox* CB_SNMP_Agent_Version3 = nullptr;
    TLabel* L_SNMP_Agent_User = nullptr;
    TEdit* E_SNMP_Agent_User = nullptr;
    TLabel* L_SNMP_Agent_Security_Level = nullptr;
    TComboBox* CB_SNMP_Agent_Security_Level = nullptr;
    TLabel* L_SNMP_Agent_Authority = nullptr;
    TEdit* E_SNMP_Agent_Authority = nullptr;
    TLabel* L_SNMP_Agent_Authority_Mode = nullptr;
    TComboBox* CB_SNMP_Agent_Authority_Mode = nullptr;
    TLabel* L_SNMP_Agent_Privacy = nullptr;
    TEdit* E_SNMP_Agent_Privacy = nullptr;
    TLabel* L_SNMP_Agent_Privacy_Mode = nullptr;
    TComboBox* CB_SNMP_Agent_Privacy_Mode = nullptr;

    // OPC UA server
    TLabel* L_OPC_UA_Server_IP = nullptr;
    TEdit* E_OPC_UA_Server_IP1 = nullptr;
    TEdit* E_OPC_UA_Server_IP2 = nullptr;
    TEdit* E_OPC_UA_Server_IP3 = nullptr;
    TEdit* E_OPC_UA_Server_IP4 = nullptr;
    TLabel* L_OPC_UA_Server_SM = nullptr;
    TEdit* E_OPC_UA_Server_SM1 = nullptr;
    TEdit* E_OPC_UA_Server_SM2 = nullptr;
    TEdit* E_OPC_UA_Server_SM3 = nullptr;
    TEdit* E_OPC_UA_Server_SM4 = nullptr;
    TCheckBox* CB_OPC_UA_Server_En_GAT = nullptr;
    TEdit* E_OPC_UA_Server_GAT1 = nullptr;
    TEdit* E_OPC_UA_Server_GAT2 = nullptr;
    TEdit* E_OPC_UA_Server_GAT3 = nullptr;
    TEdit* E_OPC_UA_Server_GAT4 = nullptr;
    TLabel* L_OPC_UA_Server_Port = nullptr;
    TEdit* E_OPC_UA_Server_Port = nullptr;

    // Wi-Fi (no model shows it)
    TLabel* L_WiFi_Type = nullptr;
    TComboBox* CB_WiFi_Type = nullptr;
    TCheckBox* CB_WiFi_IP_Auto = nullptr;
    TLabel* L_WiFi_IP = nullptr;
    TEdit* E_WiFi_IP1 = nullptr;
    TEdit* E_WiFi_IP2 = nullptr;
    TEdit* E_WiFi_IP3 = nullptr;
    TEdit* E_WiFi_IP4 = nullptr;
    TLabel* L_WiFi_SM = nullptr;
    TEdit* E_WiFi_SM1 = nullptr;
    TEdit* E_WiFi_SM2 = nullptr;
    TEdit* E_WiFi_SM3 = nullptr;
    TEdit* E_WiFi_SM4 = nullptr;
    TCheckBox* CB_WiFi_En_GAT = nullptr;
    TEdit* E_WiFi_GAT1 = nullptr;
    TEdit* E_WiFi_GAT2 = nullptr;
    TEdit* E_WiFi_GAT3 = nullptr;
    TEdit* E_WiFi_GAT4 = nullptr;
    TCheckBox* CB_WiFi_En_DNS = nullptr;
    TEdit* E_WiFi_DNS1 = nullptr;
    TEdit* E_WiFi_DNS2 = nullptr;
    TEdit* E_WiFi_DNS3 = nullptr;
    TEdit* E_WiFi_DNS4 = nullptr;
    TLabel* L_WiFi_Port = nullptr;
    TEdit* E_WiFi_Port = nullptr;
    TCheckBox* CB_WiFi_En_WPS = nullptr;
    TLabel* L_WiFi_SSID = nullptr;
    TEdit* E_WiFi_SSID = nullptr;
    TLabel* L_WiFi_Password = nullptr;
    TEdit* E_WiFi_Password = nullptr;
    TLabel* L_WiFi_Secure_Type = nullptr;
    TComboBox* CB_WiFi_Secure_Type = nullptr;
    TCheckBox* CB_WiFi_En_DHCP = nullptr;
    TLabel* L_WiFi_DHCP_IP = nullptr;
    TEdit* E_WiFi_DHCP_IP1 = nullptr;
    TEdit* E_WiFi_DHCP_IP2 = nullptr;
    TEdit* E_WiFi_DHCP_IP3 = nullptr;
    TEdit* E_WiFi_DHCP_IP4 = nullptr;
    TLabel* L_WiFi_DHCP_SM = nullptr;
    TEdit* E_WiFi_DHCP_SM1 = nullptr;
    TEdit* E_WiFi_DHCP_SM2 = nullptr;
    TEdit* E_WiFi_DHCP_SM3 = nullptr;
    TEdit* E_WiFi_DHCP_SM4 = nullptr;
    TLabel* L_WiFi_Lease_Time = nullptr;
    TEdit* E_WiFi_Lease_Time = nullptr;
    TLabel* L_WiFi_Name = nullptr;
    TEdit* E_WiFi_Name = nullptr;
    TLabel* L_WiFi_Max_Client = nullptr;
    TComboBox* CB_WiFi_Max_Client = nullptr;
    TLabel* L_WiFi_Channel = nullptr;
    TComboBox* CB_WiFi_Channel = nullptr;

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
    void Create_Serial();
    void Create_BACnet_Slave();
    void Create_CAN();
    void Create_CANopen();
    void Create_DeviceNet_Slave();
    void Create_EtherNetIP();
    void Create_J1939();
    void Create_Modbus_TCP_Slave();
    void Create_MQTT();
    void Create_TLS();
    void Create_NTP();
    void Create_PROFIBUS();
    void Create_PROFINET();
    void Create_SNMP_Agent();
    void Create_OPC_UA_Server();
    void Create_WiFi();
    // Texts of the other models' panels, part of Set_Lang.
    void Set_Lang_Other_Panels();

    // Row helpers of the panels' grid (row 1 is the top row).
    TLabel* Add_Label(TCategoryPanel* panel, int row);
    TEdit* Add_Edit(TCategoryPanel* panel, int row, int maxLength = 0);
    TComboBox* Add_List(TCategoryPanel* panel, int row, const QStringList& items, int index);
    TCheckBox* Add_Check(TCategoryPanel* panel, int row, int width);
    // Four octet edits with their dots; `chain` collects them for the "." key.
    // `dots`, when given, receives the three "." labels.
    void Add_Octets(TCategoryPanel* panel, int row, TEdit** edits, std::vector<TEdit*>* chain, TLabel** dots = nullptr);
    // An address row of this build's panels: the octet edits into e1..e4,
    // joined to `chain`, with their design texts.
    void Add_Octet_Row(TCategoryPanel* panel, int row, std::vector<TEdit*>* chain, TEdit*& e1, TEdit*& e2, TEdit*& e3,
        TEdit*& e4, const char* a, const char* b, const char* c, const char* d);
    // An address row of the other models' panels: four octet edits with the
    // design address 192.168.0.5; their "." key goes nowhere.
    void Add_Address(TCategoryPanel* panel, int row, TEdit*& e1, TEdit*& e2, TEdit*& e3, TEdit*& e4,
        std::vector<TControl*>* dots = nullptr);
    // A one-line rich-text edit (certificates and keys).
    TMemo* Add_Text_Line(TCategoryPanel* panel, int row);
    // Height rule: the last visible control's bottom, the header and 12.
    void Set_Panel_Height(TCategoryPanel* panel, const TControl* last);
    // Cable DHCP on: the converter takes its address from the server, so the
    // address fields are disabled.
    void Apply_Cable_DHCP(std::initializer_list<TControl*> fields);

    int FModel = ParGen_Model;
    bool FParGen_Damaged = false;
    // Cancel has closed the form (asking first when there were edits).
    bool FCancel_Confirmed = false;
    // The "." key's address chains; an octet edit of no chain has no successor.
    std::vector<std::vector<TEdit*>> FOctetChains;
    // Check boxes whose click re-lays the panels out.
    std::vector<const TObject*> FRelayoutSenders;
    // The "." labels of the BACnet/IP address rows, hidden with their rows.
    std::vector<TControl*> FBACnet_IP_Dots;
};

extern TFParGen* FParGen;
