// The model mechanism of the parameter form (which panels a model shows and
// in which order) and the layout rules of the panels.

#include "app/core/UParGen.h"

#include "app/core/ULanguage.h"

#include <map>

namespace {

using P = TParPanel;

void Set_Visible(std::initializer_list<TControl*> controls, bool visible)
{
    for (TControl* c : controls)
        c->SetVisible(visible);
}

// A labelled row placed with its label at `labelTop`, the field 3 above it.
void Place_Row(TControl* label, TControl* field, int labelTop)
{
    label->SetTop(labelTop);
    field->SetTop(labelTop - 3);
}

const std::map<int, std::vector<TParPanel>>& Model_Table()
{
    static const std::map<int, std::vector<TParPanel>> table = {
        { 200, { P::Ethernet_Connection, P::HART_Master, P::Serial, P::Ethernet, P::Web_Pages } },
        { 201, { P::Ethernet_Connection, P::HART_Master, P::BACnet_Slave, P::Web_Pages, P::Ethernet } },
        { 202, { P::Ethernet_Connection, P::HART_Master, P::CAN, P::Ethernet, P::Web_Pages } },
        { 203, { P::Ethernet_Connection, P::HART_Master, P::CANopen, P::Ethernet, P::Web_Pages } },
        { 204, { P::Ethernet_Connection, P::HART_Master, P::DeviceNet_Slave, P::Ethernet, P::Web_Pages } },
        { 205, { P::Ethernet_Connection, P::HART_Master, P::Ethernet, P::Web_Pages } },
        { 206, { P::Ethernet_Connection, P::HART_Master, P::EtherNetIP, P::Web_Pages } },
        { 207, { P::Ethernet_Connection, P::HART_Master, P::J1939, P::Ethernet, P::Web_Pages } },
        { 208, { P::Ethernet_Connection, P::HART_Master, P::Modbus_Slave, P::Ethernet, P::Web_Pages } },
        { 209, { P::Ethernet_Connection, P::HART_Master, P::Modbus_TCP_Slave, P::Web_Pages } },
        { 210, { P::Ethernet_Connection, P::HART_Master, P::MQTT, P::Ethernet, P::TLS, P::NTP, P::Web_Pages } },
        { 211, { P::Ethernet_Connection, P::HART_Master, P::PROFIBUS, P::Ethernet, P::Web_Pages } },
        { 212, { P::Ethernet_Connection, P::HART_Master, P::PROFINET, P::Web_Pages } },
        { 213, { P::Ethernet_Connection, P::HART_Master, P::SNMP_Agent, P::Web_Pages } },
        { 214, { P::Ethernet_Connection, P::HART_Master, P::OPC_UA_Server, P::NTP, P::Web_Pages } },
    };
    return table;
}

} // namespace

const std::vector<TParPanel>& Model_Panels(int model)
{
    static const std::vector<TParPanel> none;
    const auto& table = Model_Table();
    const auto it = table.find(model);
    return it == table.end() ? none : it->second;
}

const std::vector<int>& Family_Models()
{
    static const std::vector<int> models = [] {
        std::vector<int> out;
        for (const auto& entry : Model_Table())
            out.push_back(entry.first);
        return out;
    }();
    return models;
}

int Panel_Caption_Text(TParPanel panel)
{
    switch (panel) {
    case P::Ethernet_Connection:
        return 919;
    case P::HART_Master:
        return 406;
    case P::Serial:
        return 768;
    case P::BACnet_Slave:
        return 725;
    case P::CAN:
        return 593;
    case P::CANopen:
        return 596;
    case P::DeviceNet_Slave:
        return 617;
    case P::EtherNetIP:
        return 626;
    case P::J1939:
        return 608;
    case P::Modbus_Slave:
        return 561;
    case P::Modbus_TCP_Slave:
        return 574;
    case P::MQTT:
        return 411;
    case P::Ethernet:
        return 438;
    case P::TLS:
        return 541;
    case P::NTP:
        return 556;
    case P::PROFIBUS:
        return 677;
    case P::PROFINET:
        return 649;
    case P::SNMP_Agent:
        return 686;
    case P::OPC_UA_Server:
        return 938;
    case P::Web_Pages:
        return 913;
    case P::WiFi:
        return -1;
    }
    return -1;
}

TCategoryPanel* TFParGen::Panel(TParPanel panel) const
{
    switch (panel) {
    case P::Ethernet_Connection:
        return CP_Ethernet_Connection;
    case P::HART_Master:
        return CP_HART_Master;
    case P::Serial:
        return CP_Serial;
    case P::BACnet_Slave:
        return CP_BACnet_Slave;
    case P::CAN:
        return CP_CAN;
    case P::CANopen:
        return CP_CANopen;
    case P::DeviceNet_Slave:
        return CP_DeviceNet_Slave;
    case P::EtherNetIP:
        return CP_EtherNetIP;
    case P::J1939:
        return CP_J1939;
    case P::Modbus_Slave:
        return CP_Modbus_Slave;
    case P::Modbus_TCP_Slave:
        return CP_Modbus_TCP_Slave;
    case P::MQTT:
        return CP_MQTT;
    case P::Ethernet:
        return CP_Ethernet;
    case P::TLS:
        return CP_TLS;
    case P::NTP:
        return CP_NTP;
    case P::PROFIBUS:
        return CP_PROFIBUS;
    case P::PROFINET:
        return CP_PROFINET;
    case P::SNMP_Agent:
        return CP_SNMP_Agent;
    case P::OPC_UA_Server:
        return CP_OPC_UA_Server;
    case P::Web_Pages:
        return CP_Web_Pages;
    case P::WiFi:
        return CP_WiFi;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Dispatchers

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_Model(FModel);
}

void TFParGen::Move_GroupBoxs()
{
    RePosition_Objects_Model(FModel);
}

void TFParGen::Order_TAB_Panels_Model(int model)
{
    // The captions are numbered here, once: a later language switch keeps
    // them as they were at start.
    const auto& panels = Model_Panels(model);
    // All shown first: a panel placed at a top goes ahead of the one already
    // there, so placing them top down then gives exactly the model's order.
    for (TParPanel panel : panels)
        Panel(panel)->Show();
    int top = 0;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        TCategoryPanel* p = Panel(panels[i]);
        p->SetTop(top);
        top += p->Height();
        p->SetCaption(QStringLiteral("%1. ").arg(i + 1) + Lang(Panel_Caption_Text(panels[i])));
        p->SetTabOrder(int(i));
    }
}

void TFParGen::RePosition_Objects_Model(int model)
{
    for (TParPanel p : Model_Panels(model))
        RePosition_Object(p);
}

void TFParGen::RePosition_Object(TParPanel panel)
{
    switch (panel) {
    case P::Ethernet_Connection:
        RePosition_Object_Ethernet_Connection();
        break;
    case P::HART_Master:
        RePosition_Object_HART_Master();
        break;
    case P::Modbus_Slave:
        RePosition_Object_Modbus_Slave();
        break;
    case P::Ethernet:
        RePosition_Object_Ethernet();
        break;
    case P::Web_Pages:
        RePosition_Object_Web_Pages();
        break;
    case P::Serial:
        RePosition_Object_Serial();
        break;
    case P::BACnet_Slave:
        RePosition_Object_BACnet_Slave();
        break;
    case P::CAN:
        RePosition_Object_CAN();
        break;
    case P::CANopen:
        RePosition_Object_CANopen();
        break;
    case P::DeviceNet_Slave:
        RePosition_Object_DeviceNet_Slave();
        break;
    case P::EtherNetIP:
        RePosition_Object_EtherNetIP();
        break;
    case P::J1939:
        RePosition_Object_J1939();
        break;
    case P::Modbus_TCP_Slave:
        RePosition_Object_Modbus_TCP_Slave();
        break;
    case P::MQTT:
        RePosition_Object_MQTT();
        break;
    case P::TLS:
        RePosition_Object_TLS();
        break;
    case P::NTP:
        RePosition_Object_NTP();
        break;
    case P::PROFIBUS:
        RePosition_Object_PROFIBUS();
        break;
    case P::PROFINET:
        RePosition_Object_PROFINET();
        break;
    case P::SNMP_Agent:
        RePosition_Object_SNMP_Agent();
        break;
    case P::OPC_UA_Server:
        RePosition_Object_OPC_UA_Server();
        break;
    case P::WiFi:
        RePosition_Object_WiFi();
        break;
    }
}

// ---------------------------------------------------------------------------
// Layout rules

void TFParGen::RePosition_Object_Ethernet_Connection()
{
    CB_EthConn_En_DHCP_WiFi->SetEnabled(false);
    Set_Panel_Height(CP_Ethernet_Connection, E_EthConn_Sec_DNS_IP4);
}

void TFParGen::RePosition_Object_HART_Master()
{
    Set_Panel_Height(CP_HART_Master, E_HART_Master_Diagnostic);
}

void TFParGen::RePosition_Object_Modbus_Slave()
{
    // This model has one serial port: the serial row goes and the rest moves up.
    L_ModbusSlave_Serial->Hide();
    CB_ModbusSlave_Serial->Hide();
    TLabel* labels[4]
        = { L_ModbusSlave_Baudrate, L_ModbusSlave_Parity, L_ModbusSlave_StopBits, L_ModbusSlave_IDDevice };
    TWinControl* fields[4]
        = { CB_ModbusSlave_Baudrate, CB_ModbusSlave_Parity, CB_ModbusSlave_StopBits, E_ModbusSlave_IDDevice };
    for (int i = 0; i < 4; ++i) {
        labels[i]->SetTop(12 + 28 * i);
        fields[i]->SetTop(9 + 28 * i);
    }
    CB_ModbusSlave_ReadInput->SetTop(124);
    Set_Panel_Height(CP_Modbus_Slave, CB_ModbusSlave_ReadInput);
}

void TFParGen::RePosition_Object_Ethernet()
{
    L_Ethernet_TCP_Port->Hide();
    E_Ethernet_TCP_Port->Hide();
    L_Ethernet_UDP_Port->Hide();
    E_Ethernet_UDP_Port->Hide();
    Set_Panel_Height(CP_Ethernet, E_Ethernet_GAT4);

    // With DHCP on the cable the converter takes its address from the server.
    const bool manual = !CB_EthConn_En_DHCP_Cable->Checked();
    TControl* fields[] = { E_Ethernet_IP1, E_Ethernet_IP2, E_Ethernet_IP3, E_Ethernet_IP4, E_Ethernet_SM1,
        E_Ethernet_SM2, E_Ethernet_SM3, E_Ethernet_SM4, E_Ethernet_GAT1, E_Ethernet_GAT2, E_Ethernet_GAT3,
        E_Ethernet_GAT4, CB_Ethernet_En_GAT };
    for (TControl* c : fields)
        c->SetEnabled(manual);
}

void TFParGen::RePosition_Object_Web_Pages()
{
    Set_Panel_Height(CP_Web_Pages, E_WebPages_Password);
}

// --- The other models' panels ------------------------------------------------

void TFParGen::Apply_Cable_DHCP(std::initializer_list<TControl*> fields)
{
    const bool manual = !CB_EthConn_En_DHCP_Cable->Checked();
    for (TControl* c : fields)
        c->SetEnabled(manual);
}

void TFParGen::RePosition_Object_Serial()
{
    Set_Panel_Height(CP_Serial, CB_Serial_StopBits);
}

void TFParGen::RePosition_Object_BACnet_Slave()
{
    TControl* ipRows[] = { L_BACnet_IP, E_BACnet_IP1, E_BACnet_IP2, E_BACnet_IP3, E_BACnet_IP4, L_BACnet_SM,
        E_BACnet_SM1, E_BACnet_SM2, E_BACnet_SM3, E_BACnet_SM4, CB_BACnet_IP_Slave_GAT, E_BACnet_GAT1, E_BACnet_GAT2,
        E_BACnet_GAT3, E_BACnet_GAT4, L_BACnet_Port, E_BACnet_Port, L_BACnet_Device_Name, E_BACnet_Device_Name,
        L_BACnet_Device_ID, E_BACnet_Device_ID };
    TControl* mstpLabels[8]
        = { L_BACnet_MSTP_Baudrate, L_BACnet_MSTP_Parity, L_BACnet_MSTP_Device_Name, L_BACnet_MSTP_MAC,
              L_BACnet_MSTP_Max_Master, L_BACnet_MSTP_Max_Info, L_BACnet_MSTP_Device_Instance, L_BACnet_MSTP_Network };
    TControl* mstpFields[8]
        = { CB_BACnet_MSTP_Baudrate, CB_BACnet_MSTP_Parity, E_BACnet_MSTP_Device_Name, E_BACnet_MSTP_MAC,
              E_BACnet_MSTP_Max_Master, E_BACnet_MSTP_Max_Info, E_BACnet_MSTP_Device_Instance, E_BACnet_MSTP_Network };

    const bool ip = CB_BACnet_Type->ItemIndex() == 0;
    for (TControl* c : ipRows)
        c->SetVisible(ip);
    for (TControl* c : FBACnet_IP_Dots)
        c->SetVisible(ip);
    for (int i = 0; i < 8; ++i) {
        mstpLabels[i]->SetVisible(!ip);
        mstpFields[i]->SetVisible(!ip);
    }

    if (ip) {
        CB_BACnet_Slave_Desc_32_Chars->SetTop(L_BACnet_Device_ID->Top() + 28);
        Apply_Cable_DHCP({ E_BACnet_IP1, E_BACnet_IP2, E_BACnet_IP3, E_BACnet_IP4, E_BACnet_SM1, E_BACnet_SM2,
            E_BACnet_SM3, E_BACnet_SM4, E_BACnet_GAT1, E_BACnet_GAT2, E_BACnet_GAT3, E_BACnet_GAT4 });
        // BACnet/IP carries the converter's address itself.
        CP_Ethernet->Hide();
    } else {
        // The MS/TP rows take the place of the IP rows.
        for (int i = 0; i < 8; ++i) {
            mstpLabels[i]->SetTop(L_BACnet_IP->Top() + 28 * i);
            mstpFields[i]->SetTop(E_BACnet_IP1->Top() + 28 * i);
        }
        CB_BACnet_Slave_Desc_32_Chars->SetTop(L_BACnet_MSTP_Network->Top() + 28);
        CP_Ethernet->Show();
    }
    CB_BACnet_Slave_Desc_32_Chars->Show();
    Set_Panel_Height(CP_BACnet_Slave, CB_BACnet_Slave_Desc_32_Chars);
}

void TFParGen::RePosition_Object_CAN()
{
    Set_Panel_Height(CP_CAN, CB_CAN_Baudrate);
}

void TFParGen::RePosition_Object_CANopen()
{
    Set_Panel_Height(CP_CANopen, E_CANopen_SDO_TimeOut);
}

void TFParGen::RePosition_Object_DeviceNet_Slave()
{
    Set_Panel_Height(CP_DeviceNet_Slave, E_DeviceNet_Bytes_Out);
}

void TFParGen::RePosition_Object_EtherNetIP()
{
    Set_Panel_Height(CP_EtherNetIP, E_EtherNetIP_Bytes_Out);
    Apply_Cable_DHCP({ E_EtherNetIP_IP1, E_EtherNetIP_IP2, E_EtherNetIP_IP3, E_EtherNetIP_IP4, E_EtherNetIP_SM1,
        E_EtherNetIP_SM2, E_EtherNetIP_SM3, E_EtherNetIP_SM4, E_EtherNetIP_GAT1, E_EtherNetIP_GAT2, E_EtherNetIP_GAT3,
        E_EtherNetIP_GAT4 });
}

void TFParGen::RePosition_Object_J1939()
{
    Set_Panel_Height(CP_J1939, E_J1939_IDDevice);
}

void TFParGen::RePosition_Object_Modbus_TCP_Slave()
{
    Set_Panel_Height(CP_Modbus_TCP_Slave, E_ModbusTCPSlave_Port);
    Apply_Cable_DHCP({ E_ModbusTCPSlave_IP1, E_ModbusTCPSlave_IP2, E_ModbusTCPSlave_IP3, E_ModbusTCPSlave_IP4,
        E_ModbusTCPSlave_SM1, E_ModbusTCPSlave_SM2, E_ModbusTCPSlave_SM3, E_ModbusTCPSlave_SM4, E_ModbusTCPSlave_GAT1,
        E_ModbusTCPSlave_GAT2, E_ModbusTCPSlave_GAT3, E_ModbusTCPSlave_GAT4, CB_ModbusTCPSlave_En_GAT });
}

void TFParGen::RePosition_Object_MQTT()
{
    const bool will = CB_MQTT_WillFlag->Checked();
    Set_Visible({ L_MQTT_Will_Topic, E_MQTT_Will_Topic, L_MQTT_Will_Message, E_MQTT_Will_Message, CB_MQTT_Will_Retained,
                    L_MQTT_Will_QoS, CB_MQTT_Will_QoS },
        will);
    // Without a will the login rows close up to where the will rows start.
    const int userTop = will ? L_MQTT_Will_QoS->Top() + 28 : L_MQTT_Will_Topic->Top();
    Place_Row(L_MQTT_User, E_MQTT_User, userTop);
    Place_Row(L_MQTT_Password, E_MQTT_Password, userTop + 28);
    Set_Visible({ L_MQTT_Send_Time, E_MQTT_Send_Time }, false);
    Set_Panel_Height(CP_MQTT, E_MQTT_Password);
}

void TFParGen::RePosition_Object_TLS()
{
    const bool enabled = CB_TLS_Enable->Checked();
    const bool server = enabled && CB_TLS_En_Server_Auth->Checked();
    const bool client = enabled && CB_TLS_En_Client_Auth->Checked();
    Set_Visible({ CB_TLS_En_Server_Auth, CB_TLS_En_Client_Auth }, enabled);
    Set_Visible({ L_TLS_Server_Cert, RE_TLS_Server_Cert }, server);
    Set_Visible({ L_TLS_Client_Cert, RE_TLS_Client_Cert, L_TLS_Client_Key, RE_TLS_Client_Key, L_TLS_Client_Key_Password,
                    E_TLS_Client_Key_Password },
        client);
    if (!enabled) {
        Set_Panel_Height(CP_TLS, CB_TLS_Enable);
        return;
    }

    CB_TLS_En_Client_Auth->SetTop((server ? RE_TLS_Server_Cert->Top() : CB_TLS_En_Server_Auth->Top()) + 28);
    if (!client) {
        Set_Panel_Height(CP_TLS, CB_TLS_En_Client_Auth);
        return;
    }
    const int base = CB_TLS_En_Client_Auth->Top();
    Place_Row(L_TLS_Client_Cert, RE_TLS_Client_Cert, base + 28);
    Place_Row(L_TLS_Client_Key, RE_TLS_Client_Key, base + 56);
    Place_Row(L_TLS_Client_Key_Password, E_TLS_Client_Key_Password, base + 84);
    Set_Panel_Height(CP_TLS, E_TLS_Client_Key_Password);
}

void TFParGen::RePosition_Object_NTP()
{
    Set_Panel_Height(CP_NTP, E_NTP_Poll_Time);
}

void TFParGen::RePosition_Object_PROFIBUS()
{
    Set_Panel_Height(CP_PROFIBUS, E_PROFIBUS_Bytes_Out);
}

void TFParGen::RePosition_Object_PROFINET()
{
    Set_Panel_Height(CP_PROFINET, E_PROFINET_Diagnostic);
    Apply_Cable_DHCP({ E_PROFINET_IP1, E_PROFINET_IP2, E_PROFINET_IP3, E_PROFINET_IP4, E_PROFINET_SM1, E_PROFINET_SM2,
        E_PROFINET_SM3, E_PROFINET_SM4, E_PROFINET_GAT1, E_PROFINET_GAT2, E_PROFINET_GAT3, E_PROFINET_GAT4 });
}

void TFParGen::RePosition_Object_SNMP_Agent()
{
    // Version 3 brings the user and its security; the level decides how much.
    const bool v3 = CB_SNMP_Agent_Version3->Checked();
    const int level = CB_SNMP_Agent_Security_Level->ItemIndex();
    const bool authority = v3 && level >= 1;
    const bool privacy = v3 && level >= 2;
    Set_Visible(
        { L_SNMP_Agent_User, E_SNMP_Agent_User, L_SNMP_Agent_Security_Level, CB_SNMP_Agent_Security_Level }, v3);
    Set_Visible(
        { L_SNMP_Agent_Authority, E_SNMP_Agent_Authority, L_SNMP_Agent_Authority_Mode, CB_SNMP_Agent_Authority_Mode },
        authority);
    Set_Visible(
        { L_SNMP_Agent_Privacy, E_SNMP_Agent_Privacy, L_SNMP_Agent_Privacy_Mode, CB_SNMP_Agent_Privacy_Mode }, privacy);

    const TControl* last = privacy ? CB_SNMP_Agent_Privacy_Mode
        : authority                ? CB_SNMP_Agent_Authority_Mode
        : v3                       ? static_cast<TControl*>(CB_SNMP_Agent_Security_Level)
                                   : CB_SNMP_Agent_Version3;
    Set_Panel_Height(CP_SNMP_Agent, last);
    Apply_Cable_DHCP({ E_SNMP_Agent_IP1, E_SNMP_Agent_IP2, E_SNMP_Agent_IP3, E_SNMP_Agent_IP4, E_SNMP_Agent_SM1,
        E_SNMP_Agent_SM2, E_SNMP_Agent_SM3, E_SNMP_Agent_SM4, E_SNMP_Agent_GAT1, E_SNMP_Agent_GAT2, E_SNMP_Agent_GAT3,
        E_SNMP_Agent_GAT4 });
}

void TFParGen::RePosition_Object_OPC_UA_Server()
{
    Set_Panel_Height(CP_OPC_UA_Server, E_OPC_UA_Server_Port);
    Apply_Cable_DHCP({ E_OPC_UA_Server_IP1, E_OPC_UA_Server_IP2, E_OPC_UA_Server_IP3, E_OPC_UA_Server_IP4,
        E_OPC_UA_Server_SM1, E_OPC_UA_Server_SM2, E_OPC_UA_Server_SM3, E_OPC_UA_Server_SM4, E_OPC_UA_Server_GAT1,
        E_OPC_UA_Server_GAT2, E_OPC_UA_Server_GAT3, E_OPC_UA_Server_GAT4 });
}

void TFParGen::RePosition_Object_WiFi()
{
    Set_Panel_Height(CP_WiFi, CB_WiFi_Channel);
}
