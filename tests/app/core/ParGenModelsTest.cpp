// The parameter form laid out for every model of the family: each model's
// panels in its order with their captions, tab orders and heights, the layout
// rules of the other models' panels, their texts and their design values.

#include "ParGenTestSupport.h"

#include "platform/controls/StdCtrls.h"

#include <map>

namespace {

using P = TParPanel;

const std::map<P, QString>& Panel_Names()
{
    static const std::map<P, QString> names = {
        { P::Ethernet_Connection, "Ethernet Connection" },
        { P::HART_Master, "HART Master" },
        { P::Serial, "Serial" },
        { P::BACnet_Slave, "BACnet Slave" },
        { P::CAN, "CAN" },
        { P::CANopen, "CANopen" },
        { P::DeviceNet_Slave, "DeviceNet Slave" },
        { P::EtherNetIP, "EtherNet/IP" },
        { P::J1939, "J1939" },
        { P::Modbus_Slave, "Modbus Slave" },
        { P::Modbus_TCP_Slave, "Modbus TCP Slave" },
        { P::MQTT, "MQTT " },
        { P::Ethernet, "Ethernet" },
        { P::TLS, "TLS (Transport Layer Security)" },
        { P::NTP, "NTP (Network Time Protocol)" },
        { P::PROFIBUS, "PROFIBUS" },
        { P::PROFINET, "PROFINET" },
        { P::SNMP_Agent, "SNMP Agent" },
        { P::OPC_UA_Server, "OPC UA Server" },
        { P::Web_Pages, "Web Pages" },
    };
    return names;
}

// Bottom of each panel's last shown control with the design values, on the
// 28-pixel row grid (labels at 12, edits at 9 and 21 high, lists 22, boxes 17).
const std::map<P, int>& Design_Bottoms()
{
    static const std::map<P, int> bottoms = {
        { P::Ethernet_Connection, 170 }, // secondary DNS, row 6
        { P::HART_Master, 86 }, // diagnostic edit, row 3
        { P::Modbus_Slave, 141 }, // read-input box at 124
        { P::Ethernet, 86 }, // gateway, row 3
        { P::Web_Pages, 58 }, // password, row 2
        { P::Serial, 115 }, // stop-bit list, row 4
        { P::BACnet_Slave, 225 }, // description box 28 under the identifier
        { P::CAN, 31 }, // baud-rate list, row 1
        { P::CANopen, 142 }, // SDO time-out, row 5
        { P::DeviceNet_Slave, 114 }, // bytes out, row 4
        { P::EtherNetIP, 170 }, // bytes output, row 6
        { P::J1939, 114 }, // ID, row 4
        { P::Modbus_TCP_Slave, 114 }, // port, row 4
        { P::MQTT, 226 }, // no will: password on row 8
        { P::TLS, 29 }, // TLS off: the enable box alone
        { P::NTP, 58 }, // poll time, row 2
        { P::PROFIBUS, 114 }, // bytes out, row 4
        { P::PROFINET, 226 }, // diagnostic edit, row 8
        { P::SNMP_Agent, 197 }, // no version 3: the version row
        { P::OPC_UA_Server, 114 }, // port, row 4
    };
    return bottoms;
}

std::vector<TControl*> Children(TCategoryPanel* panel)
{
    std::vector<TControl*> out;
    for (int i = 0; i < panel->Surface()->ControlCount(); ++i)
        out.push_back(panel->Surface()->Controls(i));
    return out;
}

int Bottom(const TControl* c)
{
    return c->Top() + c->Height();
}

int Body_Bottom(TFParGen& f, TCategoryPanel* p)
{
    return p->ExpandedHeight() - f.CPG->HeaderHeight() - 12;
}

TEST(ParGenModels, EachModelStacksCaptionsAndSizesItsOwnPanels)
{
    Init_Lang_Default();
    const std::map<int, std::vector<P>>& models = Family_Panel_Table();
    ASSERT_EQ(Family_Models().size(), models.size());
    for (const auto& [model, panels] : models) {
        SCOPED_TRACE(model);
        TFParGen form(nullptr, model);
        // Model 201's BACnet/IP, the design type, hides the Ethernet panel
        // its ordering showed.
        std::vector<P> shown;
        for (P p : panels)
            if (!(model == 201 && p == P::Ethernet))
                shown.push_back(p);
        std::vector<TCategoryPanel*> expected;
        for (P p : shown)
            expected.push_back(form.Panel(p));
        ASSERT_EQ(form.CPG->Stacked(), expected);

        int top = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            TCategoryPanel* p = expected[i];
            SCOPED_TRACE(Panel_Names().at(shown[i]).toStdString());
            EXPECT_EQ(p->Caption(), QStringLiteral("%1. ").arg(i + 1) + Panel_Names().at(shown[i]));
            EXPECT_EQ(p->TabOrder(), int(i));
            EXPECT_EQ(Body_Bottom(form, p), Design_Bottoms().at(shown[i]));
            EXPECT_EQ(p->Top(), top);
            top += p->Height();
        }
        EXPECT_FALSE(form.CP_WiFi->Visible());
    }
}

// The whole stack in one picture: the form made tall enough for every shown
// panel, each expanded.
QImage Render_Stack(TFParGen& f)
{
    int height = 0;
    for (TCategoryPanel* p : f.CPG->Stacked()) {
        p->Expand();
        height += p->Height();
    }
    f.SetClientHeight(f.P_Title->Height() + f.P_Button->Height() + height);
    f.CPG->Perform(WM_VSCROLL, SB_TOP);
    return f.PaintToImage();
}

TEST_F(ParGenTest, BACnetModelHidesTheEthernetPanelUntilMSTPIsLaidOut)
{
    TFParGen form(nullptr, 201);
    form.Show();
    const QImage picture = Render_Stack(form);
    testutil::SaveImagePng(picture, "pargen_model201");
    EXPECT_TRUE(testutil::MatchesGolden(picture, "pargen_model201"));

    const std::vector<TControl*> mstp = { form.CB_BACnet_MSTP_Baudrate, form.CB_BACnet_MSTP_Parity,
        form.E_BACnet_MSTP_Device_Name, form.E_BACnet_MSTP_MAC, form.E_BACnet_MSTP_Max_Master,
        form.E_BACnet_MSTP_Max_Info, form.E_BACnet_MSTP_Device_Instance, form.E_BACnet_MSTP_Network };
    const std::vector<TControl*> ip
        = { form.L_BACnet_IP, form.E_BACnet_IP1, form.E_BACnet_SM4, form.CB_BACnet_IP_Slave_GAT, form.E_BACnet_GAT4,
              form.E_BACnet_Port, form.E_BACnet_Device_Name, form.E_BACnet_Device_ID };
    EXPECT_FALSE(form.CP_Ethernet->Visible());
    for (TControl* c : mstp)
        EXPECT_FALSE(c->Visible());
    EXPECT_EQ(form.CB_BACnet_Slave_Desc_32_Chars->Top(), form.L_BACnet_Device_ID->Top() + 28);

    // Cable DHCP disables the BACnet/IP address; the Ethernet panel stays away.
    form.CB_EthConn_En_DHCP_Cable->SetChecked(true);
    EXPECT_FALSE(form.E_BACnet_IP1->Enabled());
    EXPECT_FALSE(form.E_BACnet_GAT4->Enabled());
    EXPECT_TRUE(form.CB_BACnet_IP_Slave_GAT->Enabled());
    EXPECT_FALSE(form.CP_Ethernet->Visible());

    // Choosing MS/TP changes nothing until the next re-layout.
    form.CB_BACnet_Type->SetItemIndex(1);
    form.CB_BACnet_Type->UserSelected(1);
    EXPECT_TRUE(form.Is_Change);
    EXPECT_FALSE(form.CP_Ethernet->Visible());
    EXPECT_TRUE(form.E_BACnet_IP1->Visible());

    form.CB_EthConn_En_DHCP_Cable->SetChecked(false);
    const std::vector<TCategoryPanel*> stacked = { form.CP_Ethernet_Connection, form.CP_HART_Master,
        form.CP_BACnet_Slave, form.CP_Web_Pages, form.CP_Ethernet };
    EXPECT_EQ(form.CPG->Stacked(), stacked);
    for (TControl* c : ip)
        EXPECT_FALSE(c->Visible());
    // The MS/TP rows take the IP rows' place, 28 apart.
    for (std::size_t i = 0; i < mstp.size(); ++i) {
        EXPECT_TRUE(mstp[i]->Visible());
        EXPECT_EQ(mstp[i]->Top(), 37 + 28 * int(i));
    }
    EXPECT_EQ(form.L_BACnet_MSTP_Baudrate->Top(), 40);
    EXPECT_EQ(form.L_BACnet_MSTP_Network->Top(), 236);
    EXPECT_EQ(form.CB_BACnet_Slave_Desc_32_Chars->Top(), 264);
    EXPECT_TRUE(form.CB_BACnet_Slave_Desc_32_Chars->Visible());
    EXPECT_EQ(Body_Bottom(form, form.CP_BACnet_Slave), 281);
    // No dot of the hidden address rows is left painted.
    for (TControl* c : Children(form.CP_BACnet_Slave))
        if (c->Visible() && c->Caption() == ".")
            ADD_FAILURE() << "a dot is still shown at " << c->Top();
}

TEST_F(ParGenTest, MqttTlsAndNtpModelFoldsItsRowsByTheirBoxes)
{
    TFParGen form(nullptr, 210);
    form.Show();

    // MQTT: without a will the login rows close up; with it they go below
    // the will QoS. The send time is never shown.
    const std::vector<TControl*> will
        = { form.E_MQTT_Will_Topic, form.E_MQTT_Will_Message, form.CB_MQTT_Will_Retained, form.CB_MQTT_Will_QoS };
    for (TControl* c : will)
        EXPECT_FALSE(c->Visible());
    EXPECT_EQ(form.L_MQTT_User->Top(), form.L_MQTT_Will_Topic->Top());
    EXPECT_EQ(form.E_MQTT_Password->Top(), 205);
    EXPECT_FALSE(form.E_MQTT_Send_Time->Visible());
    input::Click(form.CB_MQTT_WillFlag, { 5, 8 });
    for (TControl* c : will)
        EXPECT_TRUE(c->Visible());
    EXPECT_EQ(form.L_MQTT_User->Top(), form.L_MQTT_Will_QoS->Top() + 28);
    EXPECT_EQ(form.E_MQTT_User->Top(), form.L_MQTT_User->Top() - 3);
    EXPECT_EQ(form.L_MQTT_Password->Top(), form.L_MQTT_User->Top() + 28);
    EXPECT_EQ(Body_Bottom(form, form.CP_MQTT), Bottom(form.E_MQTT_Password));
    EXPECT_EQ(Body_Bottom(form, form.CP_MQTT), 338);
    EXPECT_FALSE(form.E_MQTT_Send_Time->Visible());

    // TLS: each box unfolds what depends on it.
    struct Case {
        bool enable, server, client;
        int clientBoxTop; // -1: hidden
        int bottom;
    };
    const Case cases[] = {
        { false, true, true, -1, 29 },
        { true, false, false, 68, 85 },
        { true, true, false, 93, 110 },
        { true, true, true, 93, 195 },
        { true, false, true, 68, 170 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.enable << c.server << c.client);
        // Set the dependent boxes first: the enable box re-lays out last.
        form.CB_TLS_En_Server_Auth->SetChecked(c.server);
        form.CB_TLS_En_Client_Auth->SetChecked(c.client);
        form.CB_TLS_Enable->SetChecked(!c.enable);
        form.CB_TLS_Enable->SetChecked(c.enable);
        EXPECT_EQ(form.CB_TLS_En_Server_Auth->Visible(), c.enable);
        EXPECT_EQ(form.RE_TLS_Server_Cert->Visible(), c.enable && c.server);
        EXPECT_EQ(form.CB_TLS_En_Client_Auth->Visible(), c.clientBoxTop >= 0);
        if (c.clientBoxTop >= 0) {
            EXPECT_EQ(form.CB_TLS_En_Client_Auth->Top(), c.clientBoxTop);
        }
        const bool clientRows = c.enable && c.client;
        for (TControl* row : std::initializer_list<TControl*> { form.RE_TLS_Client_Cert, form.RE_TLS_Client_Key,
                 form.E_TLS_Client_Key_Password, form.L_TLS_Client_Key_Password })
            EXPECT_EQ(row->Visible(), clientRows);
        if (clientRows) {
            const int base = form.CB_TLS_En_Client_Auth->Top();
            EXPECT_EQ(form.L_TLS_Client_Cert->Top(), base + 28);
            EXPECT_EQ(form.RE_TLS_Client_Key->Top(), base + 53);
            EXPECT_EQ(form.L_TLS_Client_Key_Password->Top(), base + 84);
        }
        EXPECT_EQ(Body_Bottom(form, form.CP_TLS), c.bottom);
    }

    // Everything unfolded: the TLS panel grew in place, the NTP panel follows.
    form.CB_TLS_En_Server_Auth->SetChecked(true);
    form.CB_TLS_En_Client_Auth->SetChecked(true);
    ASSERT_TRUE(form.CB_MQTT_WillFlag->Checked() && form.CB_TLS_Enable->Checked());
    EXPECT_EQ(form.CP_NTP->Top(), form.CP_TLS->Top() + form.CP_TLS->Height());
    const QImage picture = Render_Stack(form);
    testutil::SaveImagePng(picture, "pargen_model210");
    EXPECT_TRUE(testutil::MatchesGolden(picture, "pargen_model210"));
}

TEST(ParGenModels, SnmpRowsFollowVersion3AndTheSecurityLevel)
{
    Init_Lang_Default();
    TFParGen form(nullptr, 213);
    struct Case {
        bool v3;
        int level;
        bool user, authority, privacy;
        int bottom;
    };
    // The last shown of the version box (197), the level list (255), the
    // authority-mode list (311) and the privacy-mode list (367).
    const Case cases[] = {
        { false, 2, false, false, false, 197 },
        { true, 0, true, false, false, 255 },
        { true, 1, true, true, false, 311 },
        { true, 2, true, true, true, 367 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.v3 << " level " << c.level);
        form.CB_SNMP_Agent_Security_Level->SetItemIndex(c.level);
        form.CB_SNMP_Agent_Version3->SetChecked(!c.v3);
        form.CB_SNMP_Agent_Version3->SetChecked(c.v3);
        EXPECT_EQ(form.E_SNMP_Agent_User->Visible(), c.user);
        EXPECT_EQ(form.CB_SNMP_Agent_Security_Level->Visible(), c.user);
        EXPECT_EQ(form.E_SNMP_Agent_Authority->Visible(), c.authority);
        EXPECT_EQ(form.CB_SNMP_Agent_Authority_Mode->Visible(), c.authority);
        EXPECT_EQ(form.E_SNMP_Agent_Privacy->Visible(), c.privacy);
        EXPECT_EQ(form.CB_SNMP_Agent_Privacy_Mode->Visible(), c.privacy);
        EXPECT_EQ(Body_Bottom(form, form.CP_SNMP_Agent), c.bottom);
    }
    // A new level alone does not re-lay the panel out; the next click does.
    form.CB_SNMP_Agent_Security_Level->SetItemIndex(1);
    form.CB_SNMP_Agent_Security_Level->UserSelected(1);
    EXPECT_TRUE(form.E_SNMP_Agent_Privacy->Visible());
    form.CB_SNMP_Agent_Version1->SetChecked(true); // not a re-layout box
    EXPECT_TRUE(form.E_SNMP_Agent_Privacy->Visible());
    form.CB_EthConn_En_DHCP_Cable->SetChecked(true);
    EXPECT_FALSE(form.E_SNMP_Agent_Privacy->Visible());
    EXPECT_EQ(Body_Bottom(form, form.CP_SNMP_Agent), Bottom(form.CB_SNMP_Agent_Authority_Mode));
}

TEST_F(ParGenTest, CableDhcpDisablesTheAddressOfEveryIpPanel)
{
    struct Case {
        int model;
        std::function<std::vector<TControl*>(TFParGen&)> address; // the twelve octets
        std::function<TCheckBox*(TFParGen&)> gateway;
        bool gatewayFollows;
    };
    const Case cases[] = {
        { 206,
            [](TFParGen& f) {
                return std::vector<TControl*> { f.E_EtherNetIP_IP1, f.E_EtherNetIP_IP2, f.E_EtherNetIP_IP3,
                    f.E_EtherNetIP_IP4, f.E_EtherNetIP_SM1, f.E_EtherNetIP_SM2, f.E_EtherNetIP_SM3, f.E_EtherNetIP_SM4,
                    f.E_EtherNetIP_GAT1, f.E_EtherNetIP_GAT2, f.E_EtherNetIP_GAT3, f.E_EtherNetIP_GAT4 };
            },
            [](TFParGen& f) { return f.CB_EtherNetIP_En_GAT; }, false },
        { 209,
            [](TFParGen& f) {
                return std::vector<TControl*> { f.E_ModbusTCPSlave_IP1, f.E_ModbusTCPSlave_IP2, f.E_ModbusTCPSlave_IP3,
                    f.E_ModbusTCPSlave_IP4, f.E_ModbusTCPSlave_SM1, f.E_ModbusTCPSlave_SM2, f.E_ModbusTCPSlave_SM3,
                    f.E_ModbusTCPSlave_SM4, f.E_ModbusTCPSlave_GAT1, f.E_ModbusTCPSlave_GAT2, f.E_ModbusTCPSlave_GAT3,
                    f.E_ModbusTCPSlave_GAT4 };
            },
            [](TFParGen& f) { return f.CB_ModbusTCPSlave_En_GAT; }, true },
        { 212,
            [](TFParGen& f) {
                return std::vector<TControl*> { f.E_PROFINET_IP1, f.E_PROFINET_IP2, f.E_PROFINET_IP3, f.E_PROFINET_IP4,
                    f.E_PROFINET_SM1, f.E_PROFINET_SM2, f.E_PROFINET_SM3, f.E_PROFINET_SM4, f.E_PROFINET_GAT1,
                    f.E_PROFINET_GAT2, f.E_PROFINET_GAT3, f.E_PROFINET_GAT4 };
            },
            [](TFParGen& f) { return f.CB_PROFINET_En_GAT; }, false },
        { 213,
            [](TFParGen& f) {
                return std::vector<TControl*> { f.E_SNMP_Agent_IP1, f.E_SNMP_Agent_IP2, f.E_SNMP_Agent_IP3,
                    f.E_SNMP_Agent_IP4, f.E_SNMP_Agent_SM1, f.E_SNMP_Agent_SM2, f.E_SNMP_Agent_SM3, f.E_SNMP_Agent_SM4,
                    f.E_SNMP_Agent_GAT1, f.E_SNMP_Agent_GAT2, f.E_SNMP_Agent_GAT3, f.E_SNMP_Agent_GAT4 };
            },
            [](TFParGen& f) { return f.CB_SNMP_Agent_GAT; }, false },
        { 214,
            [](TFParGen& f) {
                return std::vector<TControl*> { f.E_OPC_UA_Server_IP1, f.E_OPC_UA_Server_IP2, f.E_OPC_UA_Server_IP3,
                    f.E_OPC_UA_Server_IP4, f.E_OPC_UA_Server_SM1, f.E_OPC_UA_Server_SM2, f.E_OPC_UA_Server_SM3,
                    f.E_OPC_UA_Server_SM4, f.E_OPC_UA_Server_GAT1, f.E_OPC_UA_Server_GAT2, f.E_OPC_UA_Server_GAT3,
                    f.E_OPC_UA_Server_GAT4 };
            },
            [](TFParGen& f) { return f.CB_OPC_UA_Server_En_GAT; }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        TFParGen form(nullptr, c.model);
        form.Show();
        const std::vector<TControl*> address = c.address(form);
        TCheckBox* gateway = c.gateway(form);
        for (TControl* e : address)
            ASSERT_TRUE(e->Enabled());
        // The design address, and a "." that goes nowhere but is never typed.
        EXPECT_EQ(
            address[0]->Caption() + address[1]->Caption() + address[2]->Caption() + address[3]->Caption(), "19216805");
        auto* octet = static_cast<TEdit*>(address[1]);
        octet->SetFocus();
        input::Key(octet, VK_OEM_PERIOD, {}, u'.');
        EXPECT_EQ(octet->Text(), "168");
        EXPECT_EQ(form.FocusedControl(), octet);

        input::Click(form.CB_EthConn_En_DHCP_Cable, { 5, 8 });
        for (TControl* e : address)
            EXPECT_FALSE(e->Enabled());
        EXPECT_EQ(gateway->Enabled(), !c.gatewayFollows);
        input::Click(form.CB_EthConn_En_DHCP_Cable, { 5, 8 });
        for (TControl* e : address)
            EXPECT_TRUE(e->Enabled());
        EXPECT_TRUE(gateway->Enabled());
        form.Hide();
    }
}

// Every text of a panel, in the order of its controls: label captions, box
// captions, hints, and list items that come from the language table.
QList<int> Text_Numbers(TCategoryPanel* panel)
{
    QList<int> out;
    auto take = [&](const QString& text) {
        if (text.startsWith('#'))
            out << text.mid(1).toInt();
    };
    for (TControl* c : Children(panel)) {
        if (dynamic_cast<TLabel*>(c)) {
            take(c->Caption());
            continue;
        }
        if (dynamic_cast<TCheckBox*>(c))
            take(c->Caption());
        take(c->Hint());
        if (auto* list = dynamic_cast<TComboBox*>(c)) {
            for (int i = 0; i < list->Items()->Count(); ++i)
                take(list->Items()->Strings(i));
        }
    }
    return out;
}

TEST(ParGenModels, PanelTextsRunThroughTheirBlockInRowOrder)
{
    Init_Lang_Default();
    for (int i = 400; i < 1000; ++i)
        LanguageTable[i] = QStringLiteral("#%1").arg(i);
    TFParGen form(nullptr, 208);
    const struct {
        TCategoryPanel* panel;
        int first, last;
    } blocks[] = {
        { form.CP_Serial, 769, 776 },
        { form.CP_BACnet_Slave, 726, 767 },
        { form.CP_CAN, 594, 595 },
        { form.CP_CANopen, 597, 607 },
        { form.CP_DeviceNet_Slave, 618, 625 },
        { form.CP_EtherNetIP, 627, 648 },
        { form.CP_J1939, 609, 616 },
        { form.CP_Modbus_TCP_Slave, 575, 592 },
        { form.CP_MQTT, 412, 437 },
        { form.CP_TLS, 542, 555 },
        { form.CP_NTP, 557, 560 },
        { form.CP_PROFIBUS, 678, 685 },
        { form.CP_PROFINET, 650, 676 },
        { form.CP_SNMP_Agent, 687, 724 },
        { form.CP_OPC_UA_Server, 939, 956 },
        { form.CP_WiFi, 466, 540 },
    };
    for (const auto& b : blocks) {
        SCOPED_TRACE(b.first);
        QList<int> expected;
        for (int i = b.first; i <= b.last; ++i)
            expected << i;
        EXPECT_EQ(Text_Numbers(b.panel), expected);
        EXPECT_FALSE(b.panel->Visible());
    }
    // The SNMP version boxes keep their numbers; the Wi-Fi lists take the
    // table's items with the first selected, again on a language switch.
    EXPECT_EQ(form.CB_SNMP_Agent_Version2->Caption(), "2");
    EXPECT_EQ(form.CB_WiFi_Channel->Items()->Count(), 12);
    form.CB_WiFi_Channel->SetItemIndex(5);
    LanguageTable[529] = QStringLiteral("Automatic");
    form.Set_Lang();
    EXPECT_EQ(form.CB_WiFi_Channel->Items()->Count(), 12);
    EXPECT_EQ(form.CB_WiFi_Channel->ItemIndex(), 0);
    EXPECT_EQ(form.CB_WiFi_Channel->Text(), "Automatic");
    EXPECT_EQ(form.CB_WiFi_Max_Client->Text(), "10");
    Init_Lang_Default();
}

TEST(ParGenModels, DesignValuesAndLimitsOfTheOtherPanels)
{
    Init_Lang_Default();
    TFParGen form(nullptr, 208);
    const std::pair<TControl*, const char*> texts[] = {
        { form.CB_Serial_Baudrate, "115200" },
        { form.Cb_Serial_Parity, "NONE" },
        { form.CB_BACnet_Type, "BACnet/IP" },
        { form.E_BACnet_Port, "502" },
        { form.E_BACnet_Device_Name, "devicename1" },
        { form.CB_BACnet_MSTP_Baudrate, "115200" },
        { form.E_BACnet_MSTP_Max_Master, "devicename1" },
        { form.CB_CAN_Baudrate, "1000K" },
        { form.CB_CANopen_Baudrate, "250K" },
        { form.E_CANopen_SDO_TimeOut, "1" },
        { form.CB_DeviceNet_Baudrate, "500K" },
        { form.E_DeviceNet_Bytes_In, "455" },
        { form.E_EtherNetIP_Diag_Port, "44818" },
        { form.E_EtherNetIP_Bytes_Out, "496" },
        { form.CB_J1939_Baudrate, "1000K" },
        { form.E_J1939_IDDevice, "1" },
        { form.E_ModbusTCPSlave_Port, "502" },
        { form.E_MQTT_Server_Port, "1883" },
        { form.CB_MQTT_Will_QoS, "0" },
        { form.CB_PROFIBUS_Baudrate, "Auto Baudrate" },
        { form.E_PROFIBUS_Bytes_Out, "244" },
        { form.E_PROFINET_Tunnel_Port, "502" },
        { form.E_PROFINET_Bytes_In, "1438" },
        { form.E_PROFINET_Diagnostic, "0" },
        { form.E_SNMP_Agent_Station_Name, "devicename1" },
        { form.CB_SNMP_Agent_Security_Level, "NoAuthority NoPrivacy" },
        { form.E_OPC_UA_Server_Port, "4840" },
        { form.E_OPC_UA_Server_SM4, "5" },
    };
    for (const auto& [control, text] : texts)
        EXPECT_EQ(control->Caption(), text) << control->Hint().toStdString();
    EXPECT_FALSE(form.CB_PROFIBUS_Baudrate->Enabled());
    EXPECT_EQ(form.CB_PROFIBUS_Baudrate->Items()->Count(), 1);
    EXPECT_EQ(form.CB_CAN_Baudrate->Items()->Count(), 10);
    EXPECT_EQ(form.CB_CANopen_Baudrate->Items()->Count(), 9);

    // Names the device keeps are lower case and at most 15 characters.
    const std::pair<TEdit*, int> limits[] = {
        { form.E_BACnet_Device_Name, 15 },
        { form.E_BACnet_MSTP_Device_Name, 15 },
        { form.E_PROFINET_Station_Name, 15 },
        { form.E_SNMP_Agent_Station_Name, 15 },
        { form.E_SNMP_Agent_Contact, 16 },
        { form.E_SNMP_Agent_Location, 16 },
        { form.E_SNMP_Agent_User, 19 },
        { form.E_SNMP_Agent_Authority, 15 },
        { form.E_SNMP_Agent_Privacy, 15 },
    };
    for (const auto& [edit, max] : limits)
        EXPECT_EQ(edit->MaxLength(), max) << edit->Hint().toStdString();
    form.E_PROFINET_Station_Name->SetText(QStringLiteral("Station-A"));
    EXPECT_EQ(form.E_PROFINET_Station_Name->Text(), "station-a");
}

} // namespace
