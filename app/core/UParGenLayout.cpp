// The model mechanism of the parameter form (which panels a model shows and
// in which order) and the layout rules of the panels.

#include "app/core/UParGen.h"

#include "app/core/ULanguage.h"

#include <map>

namespace {

using P = TParPanel;

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
    default:
        // The other models' panels carry no rows in this build.
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
