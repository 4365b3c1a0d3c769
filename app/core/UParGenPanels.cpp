// The panels of the other models of the family: their rows, design values,
// limits and texts. This build's model keeps them hidden; they are laid out
// only by the models that show them.

#include "app/core/UParGen.h"

#include "app/core/ULanguage.h"
#include "app/core/UParGenGrid.h"

using namespace pargen_grid;

namespace {

QStringList Items(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromLatin1(t);
    return out;
}

const QStringList& CAN_Baudrates()
{
    static const QStringList list
        = Items({ "10K", "20K", "50K", "62.5K", "100K", "125K", "250K", "500K", "800K", "1000K" });
    return list;
}

const QStringList& Parities()
{
    static const QStringList list = Items({ "NONE", "ODD", "EVEN" });
    return list;
}

// Names that end up in the device as host or station names: lower case, at
// most 15 characters.
void Make_Station_Name(TEdit* e, const char* design)
{
    e->SetCharCase(ecLowerCase);
    e->SetMaxLength(15);
    if (design)
        e->SetText(QString::fromLatin1(design));
}

void Set_Text(TEdit* e, const char* design)
{
    e->SetText(QString::fromLatin1(design));
}

} // namespace

// --- Row helpers -------------------------------------------------------------

void TFParGen::Add_Address(
    TCategoryPanel* panel, int row, TEdit*& e1, TEdit*& e2, TEdit*& e3, TEdit*& e4, std::vector<TControl*>* dots)
{
    TEdit* edits[4];
    TLabel* dotLabels[3];
    Add_Octets(panel, row, edits, nullptr, dotLabels);
    const char* design[4] = { "192", "168", "0", "5" };
    for (int i = 0; i < 4; ++i)
        edits[i]->SetText(QString::fromLatin1(design[i]));
    e1 = edits[0];
    e2 = edits[1];
    e3 = edits[2];
    e4 = edits[3];
    if (dots)
        dots->insert(dots->end(), dotLabels, dotLabels + 3);
}

TMemo* TFParGen::Add_Text_Line(TCategoryPanel* panel, int row)
{
    auto* m = new TMemo(this);
    m->SetParent(panel);
    m->SetBounds(Field_Left, Field_Top(row), Field_Width, Edit_Height);
    m->SetWordWrap(false);
    m->OnChange = [this](TObject* s) { On_Change(s); };
    return m;
}

// --- Panels --------------------------------------------------------------------

void TFParGen::Create_Serial()
{
    TCategoryPanel* p = CP_Serial;
    L_Serial_Serial = Add_Label(p, 1);
    CB_Serial_Serial = Add_List(p, 1, Items({ "RS232", "RS485" }), 0);
    L_Serial_Baudrate = Add_Label(p, 2);
    CB_Serial_Baudrate
        = Add_List(p, 2, Items({ "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200" }), 7);
    L_Serial_Parity = Add_Label(p, 3);
    Cb_Serial_Parity = Add_List(p, 3, Parities(), 0);
    L_Serial_StopBits = Add_Label(p, 4);
    CB_Serial_StopBits = Add_List(p, 4, Items({ "1 Stop Bits", "2 Stop Bits" }), 0);
}

void TFParGen::Create_BACnet_Slave()
{
    TCategoryPanel* p = CP_BACnet_Slave;
    L_BACnet_Type = Add_Label(p, 1);
    CB_BACnet_Type = Add_List(p, 1, Items({ "BACnet/IP", "BACnet MS/TP" }), 0);
    L_BACnet_IP = Add_Label(p, 2);
    Add_Address(p, 2, E_BACnet_IP1, E_BACnet_IP2, E_BACnet_IP3, E_BACnet_IP4, &FBACnet_IP_Dots);
    L_BACnet_SM = Add_Label(p, 3);
    Add_Address(p, 3, E_BACnet_SM1, E_BACnet_SM2, E_BACnet_SM3, E_BACnet_SM4, &FBACnet_IP_Dots);
    CB_BACnet_IP_Slave_GAT = Add_Check(p, 4, Check_Width_Field);
    Add_Address(p, 4, E_BACnet_GAT1, E_BACnet_GAT2, E_BACnet_GAT3, E_BACnet_GAT4, &FBACnet_IP_Dots);
    L_BACnet_Port = Add_Label(p, 5);
    E_BACnet_Port = Add_Edit(p, 5);
    Set_Text(E_BACnet_Port, "502");
    L_BACnet_Device_Name = Add_Label(p, 6);
    E_BACnet_Device_Name = Add_Edit(p, 6);
    Make_Station_Name(E_BACnet_Device_Name, "devicename1");
    L_BACnet_Device_ID = Add_Label(p, 7);
    E_BACnet_Device_ID = Add_Edit(p, 7);
    Set_Text(E_BACnet_Device_ID, "502");

    // The MS/TP rows; the type's layout rule moves them up into the place of
    // the IP rows when MS/TP is chosen.
    L_BACnet_MSTP_Baudrate = Add_Label(p, 8);
    CB_BACnet_MSTP_Baudrate = Add_List(p, 8, Items({ "9600", "19200", "38400", "57600", "76800", "115200" }), 5);
    L_BACnet_MSTP_Parity = Add_Label(p, 9);
    CB_BACnet_MSTP_Parity = Add_List(p, 9, Parities(), 0);
    L_BACnet_MSTP_Device_Name = Add_Label(p, 10);
    E_BACnet_MSTP_Device_Name = Add_Edit(p, 10);
    Make_Station_Name(E_BACnet_MSTP_Device_Name, nullptr);
    L_BACnet_MSTP_MAC = Add_Label(p, 11);
    E_BACnet_MSTP_MAC = Add_Edit(p, 11);
    Set_Text(E_BACnet_MSTP_MAC, "502");
    L_BACnet_MSTP_Max_Master = Add_Label(p, 12);
    E_BACnet_MSTP_Max_Master = Add_Edit(p, 12);
    Make_Station_Name(E_BACnet_MSTP_Max_Master, "devicename1");
    L_BACnet_MSTP_Max_Info = Add_Label(p, 13);
    E_BACnet_MSTP_Max_Info = Add_Edit(p, 13);
    Set_Text(E_BACnet_MSTP_Max_Info, "502");
    L_BACnet_MSTP_Device_Instance = Add_Label(p, 14);
    E_BACnet_MSTP_Device_Instance = Add_Edit(p, 14);
    Make_Station_Name(E_BACnet_MSTP_Device_Instance, "devicename1");
    L_BACnet_MSTP_Network = Add_Label(p, 15);
    E_BACnet_MSTP_Network = Add_Edit(p, 15);
    Set_Text(E_BACnet_MSTP_Network, "502");

    CB_BACnet_Slave_Desc_32_Chars = Add_Check(p, 16, Check_Width_Row);
}

void TFParGen::Create_CAN()
{
    TCategoryPanel* p = CP_CAN;
    L_CAN_Baudrate = Add_Label(p, 1);
    CB_CAN_Baudrate = Add_List(p, 1, CAN_Baudrates(), 9);
}

void TFParGen::Create_CANopen()
{
    TCategoryPanel* p = CP_CANopen;
    L_CANopen_IDDevice = Add_Label(p, 1);
    E_CANopen_IDDevice = Add_Edit(p, 1);
    L_CANopen_Baudrate = Add_Label(p, 2);
    CB_CANopen_Baudrate
        = Add_List(p, 2, Items({ "10K", "20K", "50K", "100K", "125K", "250K", "500K", "800K", "1000K" }), 5);
    CB_CANopen_Operational = Add_Check(p, 3, Check_Width_Row);
    CB_CANopen_Network_Start = Add_Check(p, 4, Check_Width_Field);
    E_CANopen_Network_Start_Delay = Add_Edit(p, 4);
    L_CANopen_SDO_TimeOut = Add_Label(p, 5);
    E_CANopen_SDO_TimeOut = Add_Edit(p, 5);
    Set_Text(E_CANopen_SDO_TimeOut, "1");
}

void TFParGen::Create_DeviceNet_Slave()
{
    TCategoryPanel* p = CP_DeviceNet_Slave;
    L_DeviceNet_IDDevice = Add_Label(p, 1);
    E_DeviceNet_IDDevice = Add_Edit(p, 1);
    Set_Text(E_DeviceNet_IDDevice, "0");
    L_DeviceNet_Baudrate = Add_Label(p, 2);
    CB_DeviceNet_Baudrate = Add_List(p, 2, Items({ "125K", "250K", "500K" }), 2);
    L_DeviceNet_Bytes_In = Add_Label(p, 3);
    E_DeviceNet_Bytes_In = Add_Edit(p, 3);
    Set_Text(E_DeviceNet_Bytes_In, "455");
    L_DeviceNet_Bytes_Out = Add_Label(p, 4);
    E_DeviceNet_Bytes_Out = Add_Edit(p, 4);
    Set_Text(E_DeviceNet_Bytes_Out, "455");
}

void TFParGen::Create_EtherNetIP()
{
    TCategoryPanel* p = CP_EtherNetIP;
    L_EtherNetIP_IP = Add_Label(p, 1);
    Add_Address(p, 1, E_EtherNetIP_IP1, E_EtherNetIP_IP2, E_EtherNetIP_IP3, E_EtherNetIP_IP4);
    L_EtherNetIP_SM = Add_Label(p, 2);
    Add_Address(p, 2, E_EtherNetIP_SM1, E_EtherNetIP_SM2, E_EtherNetIP_SM3, E_EtherNetIP_SM4);
    CB_EtherNetIP_En_GAT = Add_Check(p, 3, Check_Width_Field);
    Add_Address(p, 3, E_EtherNetIP_GAT1, E_EtherNetIP_GAT2, E_EtherNetIP_GAT3, E_EtherNetIP_GAT4);
    L_EtherNetIP_Diag_Port = Add_Label(p, 4);
    E_EtherNetIP_Diag_Port = Add_Edit(p, 4);
    Set_Text(E_EtherNetIP_Diag_Port, "44818");
    L_EtherNetIP_Bytes_In = Add_Label(p, 5);
    E_EtherNetIP_Bytes_In = Add_Edit(p, 5);
    Set_Text(E_EtherNetIP_Bytes_In, "496");
    L_EtherNetIP_Bytes_Out = Add_Label(p, 6);
    E_EtherNetIP_Bytes_Out = Add_Edit(p, 6);
    Set_Text(E_EtherNetIP_Bytes_Out, "496");
}

void TFParGen::Create_J1939()
{
    TCategoryPanel* p = CP_J1939;
    L_J1939_Baudrate = Add_Label(p, 1);
    CB_J1939_Baudrate = Add_List(p, 1, CAN_Baudrates(), 9);
    L_J1939_TimeOut = Add_Label(p, 2);
    E_J1939_TimeOut = Add_Edit(p, 2);
    Set_Text(E_J1939_TimeOut, "0");
    CB_J1939_Peer_To_Peer = Add_Check(p, 3, Check_Width_Row);
    L_J1939_IDDevice = Add_Label(p, 4);
    E_J1939_IDDevice = Add_Edit(p, 4);
    Set_Text(E_J1939_IDDevice, "1");
}

void TFParGen::Create_Modbus_TCP_Slave()
{
    TCategoryPanel* p = CP_Modbus_TCP_Slave;
    L_ModbusTCPSlave_IP = Add_Label(p, 1);
    Add_Address(p, 1, E_ModbusTCPSlave_IP1, E_ModbusTCPSlave_IP2, E_ModbusTCPSlave_IP3, E_ModbusTCPSlave_IP4);
    L_ModbusTCPSlave_SM = Add_Label(p, 2);
    Add_Address(p, 2, E_ModbusTCPSlave_SM1, E_ModbusTCPSlave_SM2, E_ModbusTCPSlave_SM3, E_ModbusTCPSlave_SM4);
    CB_ModbusTCPSlave_En_GAT = Add_Check(p, 3, Check_Width_Field);
    Add_Address(p, 3, E_ModbusTCPSlave_GAT1, E_ModbusTCPSlave_GAT2, E_ModbusTCPSlave_GAT3, E_ModbusTCPSlave_GAT4);
    L_ModbusTCPSlave_Port = Add_Label(p, 4);
    E_ModbusTCPSlave_Port = Add_Edit(p, 4);
    Set_Text(E_ModbusTCPSlave_Port, "502");
}

void TFParGen::Create_MQTT()
{
    TCategoryPanel* p = CP_MQTT;
    L_MQTT_Server_URL = Add_Label(p, 1);
    E_MQTT_Server_URL = Add_Edit(p, 1);
    L_MQTT_Server_Port = Add_Label(p, 2);
    E_MQTT_Server_Port = Add_Edit(p, 2);
    Set_Text(E_MQTT_Server_Port, "1883");
    L_MQTT_Client_ID = Add_Label(p, 3);
    E_MQTT_Client_ID = Add_Edit(p, 3);
    L_MQTT_Keep_Alive = Add_Label(p, 4);
    E_MQTT_Keep_Alive = Add_Edit(p, 4);
    CB_MQTT_Clean_Session = Add_Check(p, 5, Check_Width_Row);
    CB_MQTT_WillFlag = Add_Check(p, 6, Check_Width_Row);
    FRelayoutSenders.push_back(CB_MQTT_WillFlag);
    L_MQTT_Will_Topic = Add_Label(p, 7);
    E_MQTT_Will_Topic = Add_Edit(p, 7);
    L_MQTT_Will_Message = Add_Label(p, 8);
    E_MQTT_Will_Message = Add_Edit(p, 8);
    CB_MQTT_Will_Retained = Add_Check(p, 9, Check_Width_Row);
    L_MQTT_Will_QoS = Add_Label(p, 10);
    CB_MQTT_Will_QoS = Add_List(p, 10, Items({ "0", "1", "2" }), 0);
    L_MQTT_User = Add_Label(p, 11);
    E_MQTT_User = Add_Edit(p, 11);
    L_MQTT_Password = Add_Label(p, 12);
    E_MQTT_Password = Add_Edit(p, 12);
    L_MQTT_Send_Time = Add_Label(p, 13);
    E_MQTT_Send_Time = Add_Edit(p, 13);
}

void TFParGen::Create_TLS()
{
    TCategoryPanel* p = CP_TLS;
    CB_TLS_Enable = Add_Check(p, 1, Check_Width_Row);
    CB_TLS_En_Server_Auth = Add_Check(p, 2, Check_Width_Row);
    L_TLS_Server_Cert = Add_Label(p, 3);
    RE_TLS_Server_Cert = Add_Text_Line(p, 3);
    CB_TLS_En_Client_Auth = Add_Check(p, 4, Check_Width_Row);
    L_TLS_Client_Cert = Add_Label(p, 5);
    RE_TLS_Client_Cert = Add_Text_Line(p, 5);
    L_TLS_Client_Key = Add_Label(p, 6);
    RE_TLS_Client_Key = Add_Text_Line(p, 6);
    L_TLS_Client_Key_Password = Add_Label(p, 7);
    E_TLS_Client_Key_Password = Add_Edit(p, 7);
    FRelayoutSenders.push_back(CB_TLS_Enable);
    FRelayoutSenders.push_back(CB_TLS_En_Server_Auth);
    FRelayoutSenders.push_back(CB_TLS_En_Client_Auth);
}

void TFParGen::Create_NTP()
{
    TCategoryPanel* p = CP_NTP;
    L_NTP_Server_URL = Add_Label(p, 1);
    E_NTP_Server_URL = Add_Edit(p, 1);
    L_NTP_Poll_Time = Add_Label(p, 2);
    E_NTP_Poll_Time = Add_Edit(p, 2);
}

void TFParGen::Create_PROFIBUS()
{
    TCategoryPanel* p = CP_PROFIBUS;
    L_PROFIBUS_IDDevice = Add_Label(p, 1);
    E_PROFIBUS_IDDevice = Add_Edit(p, 1);
    Set_Text(E_PROFIBUS_IDDevice, "0");
    // The converter always detects the bus speed itself.
    L_PROFIBUS_Baudrate = Add_Label(p, 2);
    CB_PROFIBUS_Baudrate = Add_List(p, 2, Items({ "Auto Baudrate" }), 0);
    CB_PROFIBUS_Baudrate->SetEnabled(false);
    L_PROFIBUS_Bytes_In = Add_Label(p, 3);
    E_PROFIBUS_Bytes_In = Add_Edit(p, 3);
    Set_Text(E_PROFIBUS_Bytes_In, "244");
    L_PROFIBUS_Bytes_Out = Add_Label(p, 4);
    E_PROFIBUS_Bytes_Out = Add_Edit(p, 4);
    Set_Text(E_PROFIBUS_Bytes_Out, "244");
}

void TFParGen::Create_PROFINET()
{
    TCategoryPanel* p = CP_PROFINET;
    L_PROFINET_IP = Add_Label(p, 1);
    Add_Address(p, 1, E_PROFINET_IP1, E_PROFINET_IP2, E_PROFINET_IP3, E_PROFINET_IP4);
    L_PROFINET_SM = Add_Label(p, 2);
    Add_Address(p, 2, E_PROFINET_SM1, E_PROFINET_SM2, E_PROFINET_SM3, E_PROFINET_SM4);
    CB_PROFINET_En_GAT = Add_Check(p, 3, Check_Width_Field);
    Add_Address(p, 3, E_PROFINET_GAT1, E_PROFINET_GAT2, E_PROFINET_GAT3, E_PROFINET_GAT4);
    L_PROFINET_Tunnel_Port = Add_Label(p, 4);
    E_PROFINET_Tunnel_Port = Add_Edit(p, 4);
    Set_Text(E_PROFINET_Tunnel_Port, "502");
    L_PROFINET_Station_Name = Add_Label(p, 5);
    E_PROFINET_Station_Name = Add_Edit(p, 5);
    Make_Station_Name(E_PROFINET_Station_Name, "devicename1");
    L_PROFINET_Bytes_In = Add_Label(p, 6);
    E_PROFINET_Bytes_In = Add_Edit(p, 6);
    Set_Text(E_PROFINET_Bytes_In, "1438");
    L_PROFINET_Bytes_Out = Add_Label(p, 7);
    E_PROFINET_Bytes_Out = Add_Edit(p, 7);
    Set_Text(E_PROFINET_Bytes_Out, "1438");
    CB_PROFINET_Diagnostic = Add_Check(p, 8, Check_Width_Field);
    E_PROFINET_Diagnostic = Add_Edit(p, 8);
    Set_Text(E_PROFINET_Diagnostic, "0");
}

void TFParGen::Create_SNMP_Agent()
{
    TCategoryPanel* p = CP_SNMP_Agent;
    L_SNMP_Agent_IP = Add_Label(p, 1);
    Add_Address(p, 1, E_SNMP_Agent_IP1, E_SNMP_Agent_IP2, E_SNMP_Agent_IP3, E_SNMP_Agent_IP4);
    L_SNMP_Agent_SM = Add_Label(p, 2);
    Add_Address(p, 2, E_SNMP_Agent_SM1, E_SNMP_Agent_SM2, E_SNMP_Agent_SM3, E_SNMP_Agent_SM4);
    CB_SNMP_Agent_GAT = Add_Check(p, 3, Check_Width_Field);
    Add_Address(p, 3, E_SNMP_Agent_GAT1, E_SNMP_Agent_GAT2, E_SNMP_Agent_GAT3, E_SNMP_Agent_GAT4);
    L_SNMP_Agent_Station_Name = Add_Label(p, 4);
    E_SNMP_Agent_Station_Name = Add_Edit(p, 4);
    Make_Station_Name(E_SNMP_Agent_Station_Name, "devicename1");
    L_SNMP_Agent_Contact = Add_Label(p, 5);
    E_SNMP_Agent_Contact = Add_Edit(p, 5, 16);
    L_SNMP_Agent_Location = Add_Label(p, 6);
    E_SNMP_Agent_Location = Add_Edit(p, 6, 16);

    // The three versions share one row, one box under each of the first three
    // octet columns; their captions are the version numbers.
    L_SNMP_Agent_Version = Add_Label(p, 7);
    TCheckBox** versions[3] = { &CB_SNMP_Agent_Version1, &CB_SNMP_Agent_Version2, &CB_SNMP_Agent_Version3 };
    for (int i = 0; i < 3; ++i) {
        TCheckBox* cb = Add_Check(p, 7, Octet_Width);
        cb->SetLeft(Octet_Lefts[i]);
        cb->SetCaption(QString::number(i + 1));
        *versions[i] = cb;
    }
    FRelayoutSenders.push_back(CB_SNMP_Agent_Version3);

    L_SNMP_Agent_User = Add_Label(p, 8);
    E_SNMP_Agent_User = Add_Edit(p, 8, 19);
    L_SNMP_Agent_Security_Level = Add_Label(p, 9);
    CB_SNMP_Agent_Security_Level
        = Add_List(p, 9, Items({ "NoAuthority NoPrivacy", "Authority NoPrivacy", "Authority Privacy" }), 0);
    L_SNMP_Agent_Authority = Add_Label(p, 10);
    E_SNMP_Agent_Authority = Add_Edit(p, 10, 15);
    L_SNMP_Agent_Authority_Mode = Add_Label(p, 11);
    CB_SNMP_Agent_Authority_Mode = Add_List(p, 11, Items({ "MD5", "SHA" }), 0);
    L_SNMP_Agent_Privacy = Add_Label(p, 12);
    E_SNMP_Agent_Privacy = Add_Edit(p, 12, 15);
    L_SNMP_Agent_Privacy_Mode = Add_Label(p, 13);
    CB_SNMP_Agent_Privacy_Mode = Add_List(p, 13, Items({ "DES", "AES" }), 0);
}

void TFParGen::Create_OPC_UA_Server()
{
    TCategoryPanel* p = CP_OPC_UA_Server;
    L_OPC_UA_Server_IP = Add_Label(p, 1);
    Add_Address(p, 1, E_OPC_UA_Server_IP1, E_OPC_UA_Server_IP2, E_OPC_UA_Server_IP3, E_OPC_UA_Server_IP4);
    L_OPC_UA_Server_SM = Add_Label(p, 2);
    Add_Address(p, 2, E_OPC_UA_Server_SM1, E_OPC_UA_Server_SM2, E_OPC_UA_Server_SM3, E_OPC_UA_Server_SM4);
    CB_OPC_UA_Server_En_GAT = Add_Check(p, 3, Check_Width_Field);
    Add_Address(p, 3, E_OPC_UA_Server_GAT1, E_OPC_UA_Server_GAT2, E_OPC_UA_Server_GAT3, E_OPC_UA_Server_GAT4);
    L_OPC_UA_Server_Port = Add_Label(p, 4);
    E_OPC_UA_Server_Port = Add_Edit(p, 4);
    Set_Text(E_OPC_UA_Server_Port, "4840");
}

void TFParGen::Create_WiFi()
{
    TCategoryPanel* p = CP_WiFi;
    // The type, secure-type and channel lists get their items from Set_Lang.
    L_WiFi_Type = Add_Label(p, 1);
    CB_WiFi_Type = Add_List(p, 1, {}, -1);
    CB_WiFi_IP_Auto = Add_Check(p, 2, Check_Width_Row);
    L_WiFi_IP = Add_Label(p, 3);
    Add_Address(p, 3, E_WiFi_IP1, E_WiFi_IP2, E_WiFi_IP3, E_WiFi_IP4);
    L_WiFi_SM = Add_Label(p, 4);
    Add_Address(p, 4, E_WiFi_SM1, E_WiFi_SM2, E_WiFi_SM3, E_WiFi_SM4);
    CB_WiFi_En_GAT = Add_Check(p, 5, Check_Width_Field);
    Add_Address(p, 5, E_WiFi_GAT1, E_WiFi_GAT2, E_WiFi_GAT3, E_WiFi_GAT4);
    CB_WiFi_En_DNS = Add_Check(p, 6, Check_Width_Field);
    Add_Address(p, 6, E_WiFi_DNS1, E_WiFi_DNS2, E_WiFi_DNS3, E_WiFi_DNS4);
    L_WiFi_Port = Add_Label(p, 7);
    E_WiFi_Port = Add_Edit(p, 7);
    CB_WiFi_En_WPS = Add_Check(p, 8, Check_Width_Row);
    L_WiFi_SSID = Add_Label(p, 9);
    E_WiFi_SSID = Add_Edit(p, 9);
    L_WiFi_Password = Add_Label(p, 10);
    E_WiFi_Password = Add_Edit(p, 10);
    L_WiFi_Secure_Type = Add_Label(p, 11);
    CB_WiFi_Secure_Type = Add_List(p, 11, {}, -1);
    CB_WiFi_En_DHCP = Add_Check(p, 12, Check_Width_Row);
    L_WiFi_DHCP_IP = Add_Label(p, 13);
    Add_Address(p, 13, E_WiFi_DHCP_IP1, E_WiFi_DHCP_IP2, E_WiFi_DHCP_IP3, E_WiFi_DHCP_IP4);
    L_WiFi_DHCP_SM = Add_Label(p, 14);
    Add_Address(p, 14, E_WiFi_DHCP_SM1, E_WiFi_DHCP_SM2, E_WiFi_DHCP_SM3, E_WiFi_DHCP_SM4);
    L_WiFi_Lease_Time = Add_Label(p, 15);
    E_WiFi_Lease_Time = Add_Edit(p, 15);
    L_WiFi_Name = Add_Label(p, 16);
    E_WiFi_Name = Add_Edit(p, 16);
    L_WiFi_Max_Client = Add_Label(p, 17);
    CB_WiFi_Max_Client = Add_List(p, 17, Items({ "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" }), 9);
    L_WiFi_Channel = Add_Label(p, 18);
    CB_WiFi_Channel = Add_List(p, 18, {}, -1);
    FRelayoutSenders.push_back(CB_WiFi_IP_Auto);
    FRelayoutSenders.push_back(CB_WiFi_En_DHCP);
}

// --- Texts ---------------------------------------------------------------------

namespace {

void Labelled(TLabel* l, TControl* c, int first)
{
    l->SetCaption(Lang(first));
    c->SetHint(Lang(first + 1));
}

void Check(TCheckBox* cb, int first)
{
    cb->SetCaption(Lang(first));
    cb->SetHint(Lang(first + 1));
}

void Octet_Hints(TEdit* a, TEdit* b, TEdit* c, TEdit* d, int first)
{
    a->SetHint(Lang(first));
    b->SetHint(Lang(first + 1));
    c->SetHint(Lang(first + 2));
    d->SetHint(Lang(first + 3));
}

// The label, then one hint per octet.
void Address(TLabel* l, TEdit* a, TEdit* b, TEdit* c, TEdit* d, int first)
{
    l->SetCaption(Lang(first));
    Octet_Hints(a, b, c, d, first + 1);
}

// A box with its caption and hint, then one hint per octet.
void Boxed_Address(TCheckBox* cb, TEdit* a, TEdit* b, TEdit* c, TEdit* d, int first)
{
    Check(cb, first);
    Octet_Hints(a, b, c, d, first + 2);
}

// A list whose items are language texts: the hint, then the items, the first
// selected.
void Text_List(TComboBox* cb, int hint, int firstItem, int lastItem)
{
    cb->SetHint(Lang(hint));
    cb->Items()->Clear();
    for (int i = firstItem; i <= lastItem; ++i)
        cb->Items()->Add(Lang(i));
    cb->SetItemIndex(0);
}

} // namespace

void TFParGen::Set_Lang_Other_Panels()
{
    // Serial
    Labelled(L_Serial_Serial, CB_Serial_Serial, 769);
    Labelled(L_Serial_Baudrate, CB_Serial_Baudrate, 771);
    Labelled(L_Serial_Parity, Cb_Serial_Parity, 773);
    Labelled(L_Serial_StopBits, CB_Serial_StopBits, 775);

    // BACnet slave
    Labelled(L_BACnet_Type, CB_BACnet_Type, 726);
    Address(L_BACnet_IP, E_BACnet_IP1, E_BACnet_IP2, E_BACnet_IP3, E_BACnet_IP4, 728);
    Address(L_BACnet_SM, E_BACnet_SM1, E_BACnet_SM2, E_BACnet_SM3, E_BACnet_SM4, 733);
    Boxed_Address(CB_BACnet_IP_Slave_GAT, E_BACnet_GAT1, E_BACnet_GAT2, E_BACnet_GAT3, E_BACnet_GAT4, 738);
    Labelled(L_BACnet_Port, E_BACnet_Port, 744);
    Labelled(L_BACnet_Device_Name, E_BACnet_Device_Name, 746);
    Labelled(L_BACnet_Device_ID, E_BACnet_Device_ID, 748);
    Labelled(L_BACnet_MSTP_Baudrate, CB_BACnet_MSTP_Baudrate, 750);
    Labelled(L_BACnet_MSTP_Parity, CB_BACnet_MSTP_Parity, 752);
    Labelled(L_BACnet_MSTP_Device_Name, E_BACnet_MSTP_Device_Name, 754);
    Labelled(L_BACnet_MSTP_MAC, E_BACnet_MSTP_MAC, 756);
    Labelled(L_BACnet_MSTP_Max_Master, E_BACnet_MSTP_Max_Master, 758);
    Labelled(L_BACnet_MSTP_Max_Info, E_BACnet_MSTP_Max_Info, 760);
    Labelled(L_BACnet_MSTP_Device_Instance, E_BACnet_MSTP_Device_Instance, 762);
    Labelled(L_BACnet_MSTP_Network, E_BACnet_MSTP_Network, 764);
    Check(CB_BACnet_Slave_Desc_32_Chars, 766);

    // CAN
    Labelled(L_CAN_Baudrate, CB_CAN_Baudrate, 594);

    // CANopen
    Labelled(L_CANopen_IDDevice, E_CANopen_IDDevice, 597);
    Labelled(L_CANopen_Baudrate, CB_CANopen_Baudrate, 599);
    Check(CB_CANopen_Operational, 601);
    Check(CB_CANopen_Network_Start, 603);
    E_CANopen_Network_Start_Delay->SetHint(Lang(605));
    Labelled(L_CANopen_SDO_TimeOut, E_CANopen_SDO_TimeOut, 606);

    // DeviceNet slave
    Labelled(L_DeviceNet_IDDevice, E_DeviceNet_IDDevice, 618);
    Labelled(L_DeviceNet_Baudrate, CB_DeviceNet_Baudrate, 620);
    Labelled(L_DeviceNet_Bytes_In, E_DeviceNet_Bytes_In, 622);
    Labelled(L_DeviceNet_Bytes_Out, E_DeviceNet_Bytes_Out, 624);

    // EtherNet/IP
    Address(L_EtherNetIP_IP, E_EtherNetIP_IP1, E_EtherNetIP_IP2, E_EtherNetIP_IP3, E_EtherNetIP_IP4, 627);
    Address(L_EtherNetIP_SM, E_EtherNetIP_SM1, E_EtherNetIP_SM2, E_EtherNetIP_SM3, E_EtherNetIP_SM4, 632);
    Boxed_Address(
        CB_EtherNetIP_En_GAT, E_EtherNetIP_GAT1, E_EtherNetIP_GAT2, E_EtherNetIP_GAT3, E_EtherNetIP_GAT4, 637);
    Labelled(L_EtherNetIP_Diag_Port, E_EtherNetIP_Diag_Port, 643);
    Labelled(L_EtherNetIP_Bytes_In, E_EtherNetIP_Bytes_In, 645);
    Labelled(L_EtherNetIP_Bytes_Out, E_EtherNetIP_Bytes_Out, 647);

    // J1939
    Labelled(L_J1939_Baudrate, CB_J1939_Baudrate, 609);
    Labelled(L_J1939_TimeOut, E_J1939_TimeOut, 611);
    Check(CB_J1939_Peer_To_Peer, 613);
    Labelled(L_J1939_IDDevice, E_J1939_IDDevice, 615);

    // Modbus TCP slave
    Address(L_ModbusTCPSlave_IP, E_ModbusTCPSlave_IP1, E_ModbusTCPSlave_IP2, E_ModbusTCPSlave_IP3, E_ModbusTCPSlave_IP4,
        575);
    Address(L_ModbusTCPSlave_SM, E_ModbusTCPSlave_SM1, E_ModbusTCPSlave_SM2, E_ModbusTCPSlave_SM3, E_ModbusTCPSlave_SM4,
        580);
    Boxed_Address(CB_ModbusTCPSlave_En_GAT, E_ModbusTCPSlave_GAT1, E_ModbusTCPSlave_GAT2, E_ModbusTCPSlave_GAT3,
        E_ModbusTCPSlave_GAT4, 585);
    Labelled(L_ModbusTCPSlave_Port, E_ModbusTCPSlave_Port, 591);

    // MQTT
    Labelled(L_MQTT_Server_URL, E_MQTT_Server_URL, 412);
    Labelled(L_MQTT_Server_Port, E_MQTT_Server_Port, 414);
    Labelled(L_MQTT_Client_ID, E_MQTT_Client_ID, 416);
    Labelled(L_MQTT_Keep_Alive, E_MQTT_Keep_Alive, 418);
    Check(CB_MQTT_Clean_Session, 420);
    Check(CB_MQTT_WillFlag, 422);
    Labelled(L_MQTT_Will_Topic, E_MQTT_Will_Topic, 424);
    Labelled(L_MQTT_Will_Message, E_MQTT_Will_Message, 426);
    Check(CB_MQTT_Will_Retained, 428);
    Labelled(L_MQTT_Will_QoS, CB_MQTT_Will_QoS, 430);
    Labelled(L_MQTT_User, E_MQTT_User, 432);
    Labelled(L_MQTT_Password, E_MQTT_Password, 434);
    Labelled(L_MQTT_Send_Time, E_MQTT_Send_Time, 436);

    // TLS
    Check(CB_TLS_Enable, 542);
    Check(CB_TLS_En_Server_Auth, 544);
    Labelled(L_TLS_Server_Cert, RE_TLS_Server_Cert, 546);
    Check(CB_TLS_En_Client_Auth, 548);
    Labelled(L_TLS_Client_Cert, RE_TLS_Client_Cert, 550);
    Labelled(L_TLS_Client_Key, RE_TLS_Client_Key, 552);
    Labelled(L_TLS_Client_Key_Password, E_TLS_Client_Key_Password, 554);

    // NTP
    Labelled(L_NTP_Server_URL, E_NTP_Server_URL, 557);
    Labelled(L_NTP_Poll_Time, E_NTP_Poll_Time, 559);

    // PROFIBUS
    Labelled(L_PROFIBUS_IDDevice, E_PROFIBUS_IDDevice, 678);
    Labelled(L_PROFIBUS_Baudrate, CB_PROFIBUS_Baudrate, 680);
    Labelled(L_PROFIBUS_Bytes_In, E_PROFIBUS_Bytes_In, 682);
    Labelled(L_PROFIBUS_Bytes_Out, E_PROFIBUS_Bytes_Out, 684);

    // PROFINET
    Address(L_PROFINET_IP, E_PROFINET_IP1, E_PROFINET_IP2, E_PROFINET_IP3, E_PROFINET_IP4, 650);
    Address(L_PROFINET_SM, E_PROFINET_SM1, E_PROFINET_SM2, E_PROFINET_SM3, E_PROFINET_SM4, 655);
    Boxed_Address(CB_PROFINET_En_GAT, E_PROFINET_GAT1, E_PROFINET_GAT2, E_PROFINET_GAT3, E_PROFINET_GAT4, 660);
    Labelled(L_PROFINET_Tunnel_Port, E_PROFINET_Tunnel_Port, 666);
    Labelled(L_PROFINET_Station_Name, E_PROFINET_Station_Name, 668);
    Labelled(L_PROFINET_Bytes_In, E_PROFINET_Bytes_In, 670);
    Labelled(L_PROFINET_Bytes_Out, E_PROFINET_Bytes_Out, 672);
    Check(CB_PROFINET_Diagnostic, 674);
    E_PROFINET_Diagnostic->SetHint(Lang(676));

    // SNMP agent; the version boxes keep their captions "1", "2", "3"
    Address(L_SNMP_Agent_IP, E_SNMP_Agent_IP1, E_SNMP_Agent_IP2, E_SNMP_Agent_IP3, E_SNMP_Agent_IP4, 687);
    Address(L_SNMP_Agent_SM, E_SNMP_Agent_SM1, E_SNMP_Agent_SM2, E_SNMP_Agent_SM3, E_SNMP_Agent_SM4, 692);
    Boxed_Address(CB_SNMP_Agent_GAT, E_SNMP_Agent_GAT1, E_SNMP_Agent_GAT2, E_SNMP_Agent_GAT3, E_SNMP_Agent_GAT4, 697);
    Labelled(L_SNMP_Agent_Station_Name, E_SNMP_Agent_Station_Name, 703);
    Labelled(L_SNMP_Agent_Contact, E_SNMP_Agent_Contact, 705);
    Labelled(L_SNMP_Agent_Location, E_SNMP_Agent_Location, 707);
    L_SNMP_Agent_Version->SetCaption(Lang(709));
    CB_SNMP_Agent_Version1->SetHint(Lang(710));
    CB_SNMP_Agent_Version2->SetHint(Lang(711));
    CB_SNMP_Agent_Version3->SetHint(Lang(712));
    Labelled(L_SNMP_Agent_User, E_SNMP_Agent_User, 713);
    Labelled(L_SNMP_Agent_Security_Level, CB_SNMP_Agent_Security_Level, 715);
    Labelled(L_SNMP_Agent_Authority, E_SNMP_Agent_Authority, 717);
    Labelled(L_SNMP_Agent_Authority_Mode, CB_SNMP_Agent_Authority_Mode, 719);
    Labelled(L_SNMP_Agent_Privacy, E_SNMP_Agent_Privacy, 721);
    Labelled(L_SNMP_Agent_Privacy_Mode, CB_SNMP_Agent_Privacy_Mode, 723);

    // OPC UA server
    Address(
        L_OPC_UA_Server_IP, E_OPC_UA_Server_IP1, E_OPC_UA_Server_IP2, E_OPC_UA_Server_IP3, E_OPC_UA_Server_IP4, 939);
    Address(
        L_OPC_UA_Server_SM, E_OPC_UA_Server_SM1, E_OPC_UA_Server_SM2, E_OPC_UA_Server_SM3, E_OPC_UA_Server_SM4, 944);
    Boxed_Address(CB_OPC_UA_Server_En_GAT, E_OPC_UA_Server_GAT1, E_OPC_UA_Server_GAT2, E_OPC_UA_Server_GAT3,
        E_OPC_UA_Server_GAT4, 949);
    Labelled(L_OPC_UA_Server_Port, E_OPC_UA_Server_Port, 955);

    // Wi-Fi
    L_WiFi_Type->SetCaption(Lang(466));
    Text_List(CB_WiFi_Type, 467, 468, 470);
    Check(CB_WiFi_IP_Auto, 471);
    Address(L_WiFi_IP, E_WiFi_IP1, E_WiFi_IP2, E_WiFi_IP3, E_WiFi_IP4, 473);
    Address(L_WiFi_SM, E_WiFi_SM1, E_WiFi_SM2, E_WiFi_SM3, E_WiFi_SM4, 478);
    Boxed_Address(CB_WiFi_En_GAT, E_WiFi_GAT1, E_WiFi_GAT2, E_WiFi_GAT3, E_WiFi_GAT4, 483);
    Boxed_Address(CB_WiFi_En_DNS, E_WiFi_DNS1, E_WiFi_DNS2, E_WiFi_DNS3, E_WiFi_DNS4, 489);
    Labelled(L_WiFi_Port, E_WiFi_Port, 495);
    Check(CB_WiFi_En_WPS, 497);
    Labelled(L_WiFi_SSID, E_WiFi_SSID, 499);
    Labelled(L_WiFi_Password, E_WiFi_Password, 501);
    L_WiFi_Secure_Type->SetCaption(Lang(503));
    Text_List(CB_WiFi_Secure_Type, 504, 505, 508);
    Check(CB_WiFi_En_DHCP, 509);
    Address(L_WiFi_DHCP_IP, E_WiFi_DHCP_IP1, E_WiFi_DHCP_IP2, E_WiFi_DHCP_IP3, E_WiFi_DHCP_IP4, 511);
    Address(L_WiFi_DHCP_SM, E_WiFi_DHCP_SM1, E_WiFi_DHCP_SM2, E_WiFi_DHCP_SM3, E_WiFi_DHCP_SM4, 516);
    Labelled(L_WiFi_Lease_Time, E_WiFi_Lease_Time, 521);
    Labelled(L_WiFi_Name, E_WiFi_Name, 523);
    Labelled(L_WiFi_Max_Client, CB_WiFi_Max_Client, 525);
    L_WiFi_Channel->SetCaption(Lang(527));
    Text_List(CB_WiFi_Channel, 528, 529, 540);
}
