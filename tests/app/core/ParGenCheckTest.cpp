// Validation of the parameter form, driven through its controls: the first
// bad field in the fixed order shows its one message.

#include "ParGenTestSupport.h"

#include <functional>

namespace {

struct CheckCase {
    const char* name;
    std::function<void(TFParGen*)> edit;
    int message; // language text shown; -1 when every check passes
    QString suffix = QString();
};

void Set(TEdit* e, const char* text)
{
    e->SetText(QString::fromUtf8(text));
}

TEST_F(ParGenTest, ValidationReportsTheFirstBadFieldOnly)
{
    const CheckCase cases[] = {
        { "defaults", [](TFParGen*) {}, -1 },
        { "ip 256", [](TFParGen* f) { Set(f->E_Ethernet_IP1, "256"); }, 801 },
        { "ip empty", [](TFParGen* f) { Set(f->E_Ethernet_IP1, ""); }, 801 },
        { "ip 255 and 0", [](TFParGen* f) { Set(f->E_Ethernet_IP1, "255"), Set(f->E_Ethernet_IP4, "0"); }, -1 },
        { "hexadecimal octets", [](TFParGen* f) { Set(f->E_Ethernet_SM2, "$F0"), Set(f->E_Ethernet_SM3, "0x80"); },
            -1 },
        { "blank around a number", [](TFParGen* f) { Set(f->E_Ethernet_IP3, "1 "); }, 803 },
        { "mask 4", [](TFParGen* f) { Set(f->E_Ethernet_SM4, "-1"); }, 808 },
        { "ip tested under dhcp",
            [](TFParGen* f) {
                f->CB_EthConn_En_DHCP_Cable->SetChecked(true);
                Set(f->E_Ethernet_IP2, "300");
            },
            802 },
        { "dns off: any octet", [](TFParGen* f) { Set(f->E_EthConn_Sec_DNS_IP3, "999"); }, -1 },
        { "dns on: that octet",
            [](TFParGen* f) {
                f->CB_EthConn_Enable_DNS->SetChecked(true);
                Set(f->E_EthConn_Sec_DNS_IP3, "999");
            },
            963 },
        { "dns on: primary first",
            [](TFParGen* f) {
                f->CB_EthConn_Enable_DNS->SetChecked(true);
                Set(f->E_EthConn_Pri_DNS_IP1, "x");
            },
            957 },
        { "diagnostic off: any position", [](TFParGen* f) { Set(f->E_HART_Master_Diagnostic, "5000"); }, -1 },
        { "diagnostic 1438",
            [](TFParGen* f) {
                f->CB_HART_Master_Diagnostic->SetChecked(true);
                Set(f->E_HART_Master_Diagnostic, "1438");
            },
            -1 },
        { "diagnostic 1439",
            [](TFParGen* f) {
                f->CB_HART_Master_Diagnostic->SetChecked(true);
                Set(f->E_HART_Master_Diagnostic, "1439");
            },
            981, "1438" },
        { "diagnostic -1",
            [](TFParGen* f) {
                f->CB_HART_Master_Diagnostic->SetChecked(true);
                Set(f->E_HART_Master_Diagnostic, "-1");
            },
            981, "1438" },
        { "gateway off: any octet", [](TFParGen* f) { Set(f->E_Ethernet_GAT1, "300"); }, -1 },
        { "gateway on",
            [](TFParGen* f) {
                f->CB_Ethernet_En_GAT->SetChecked(true);
                Set(f->E_Ethernet_GAT4, "256");
            },
            812 },
        { "two stop bits, odd",
            [](TFParGen* f) { f->CB_ModbusSlave_StopBits->SetItemIndex(1), f->CB_ModbusSlave_Parity->SetItemIndex(1); },
            838 },
        { "two stop bits, even",
            [](TFParGen* f) { f->CB_ModbusSlave_StopBits->SetItemIndex(1), f->CB_ModbusSlave_Parity->SetItemIndex(2); },
            838 },
        { "two stop bits, none", [](TFParGen* f) { f->CB_ModbusSlave_StopBits->SetItemIndex(1); }, -1 },
        { "id 0", [](TFParGen* f) { Set(f->E_ModbusSlave_IDDevice, "0"); }, 839 },
        { "id 248", [](TFParGen* f) { Set(f->E_ModbusSlave_IDDevice, "248"); }, 839 },
        { "id abc", [](TFParGen* f) { Set(f->E_ModbusSlave_IDDevice, "abc"); }, 839 },
        { "id 1 and host name with blanks",
            [](TFParGen* f) {
                Set(f->E_ModbusSlave_IDDevice, "1");
                Set(f->E_EthConn_Device_Name, "Boiler room #2!");
                Set(f->E_WebPages_Password, "p w");
            },
            -1 },
        { "id 247", [](TFParGen* f) { Set(f->E_ModbusSlave_IDDevice, "247"); }, -1 },
        { "several wrong: diagnostic before ethernet and modbus",
            [](TFParGen* f) {
                Set(f->E_ModbusSlave_IDDevice, "0");
                Set(f->E_Ethernet_IP1, "300");
                f->CB_HART_Master_Diagnostic->SetChecked(true);
                Set(f->E_HART_Master_Diagnostic, "");
                f->CB_ModbusSlave_StopBits->SetItemIndex(1);
                f->CB_ModbusSlave_Parity->SetItemIndex(1);
            },
            981, "1438" },
        { "several wrong: stop bits before id",
            [](TFParGen* f) {
                Set(f->E_ModbusSlave_IDDevice, "0");
                f->CB_ModbusSlave_StopBits->SetItemIndex(1);
                f->CB_ModbusSlave_Parity->SetItemIndex(2);
            },
            838 },
    };

    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        Form->Read_ParGen(); // the defaults: there is no file
        c.edit(Form);
        const std::size_t before = Driver->Messages().size();
        const bool ok = Form->Controllo_Dati();
        EXPECT_EQ(ok, c.message < 0);
        const auto& messages = Driver->Messages();
        if (c.message < 0) {
            EXPECT_EQ(messages.size(), before);
            continue;
        }
        ASSERT_EQ(messages.size(), before + 1);
        EXPECT_EQ(messages.back().Text, Lang(c.message) + c.suffix);
        EXPECT_EQ(messages.back().DlgType, mtError);
        EXPECT_EQ(messages.back().Buttons, TMsgDlgButtons(mbOK));
    }
    EXPECT_EQ(Lang(981) + "1438", "Error HART Master!! Diagnostic Position must be between 0 and 1438");
}

// Every check in its order, each with the value that fails it (and the box
// that enables it) and its message.
TEST_F(ParGenTest, EveryCheckHasItsMessageInItsOrder)
{
    struct Check {
        std::function<void(TFParGen*)> fail;
        int message;
        QString suffix = QString();
    };
    auto dns = [](TEdit* TFParGen::* field) {
        return [field](TFParGen* f) {
            f->CB_EthConn_Enable_DNS->SetChecked(true);
            Set(f->*field, "256");
        };
    };
    auto always = [](TEdit* TFParGen::* field, const char* bad) {
        return [field, bad](TFParGen* f) { Set(f->*field, bad); };
    };
    auto gateway = [](TEdit* TFParGen::* field) {
        return [field](TFParGen* f) {
            f->CB_Ethernet_En_GAT->SetChecked(true);
            Set(f->*field, "-1");
        };
    };
    const Check checks[] = {
        { dns(&TFParGen::E_EthConn_Pri_DNS_IP1), 957 },
        { dns(&TFParGen::E_EthConn_Pri_DNS_IP2), 958 },
        { dns(&TFParGen::E_EthConn_Pri_DNS_IP3), 959 },
        { dns(&TFParGen::E_EthConn_Pri_DNS_IP4), 960 },
        { dns(&TFParGen::E_EthConn_Sec_DNS_IP1), 961 },
        { dns(&TFParGen::E_EthConn_Sec_DNS_IP2), 962 },
        { dns(&TFParGen::E_EthConn_Sec_DNS_IP3), 963 },
        { dns(&TFParGen::E_EthConn_Sec_DNS_IP4), 964 },
        { [](TFParGen* f) {
             f->CB_HART_Master_Diagnostic->SetChecked(true);
             Set(f->E_HART_Master_Diagnostic, "1439");
         },
            981, "1438" },
        { always(&TFParGen::E_Ethernet_IP1, "256"), 801 },
        { always(&TFParGen::E_Ethernet_IP2, ""), 802 },
        { always(&TFParGen::E_Ethernet_IP3, "x"), 803 },
        { always(&TFParGen::E_Ethernet_IP4, "-1"), 804 },
        { always(&TFParGen::E_Ethernet_SM1, "256"), 805 },
        { always(&TFParGen::E_Ethernet_SM2, "256"), 806 },
        { always(&TFParGen::E_Ethernet_SM3, "256"), 807 },
        { always(&TFParGen::E_Ethernet_SM4, "256"), 808 },
        { gateway(&TFParGen::E_Ethernet_GAT1), 809 },
        { gateway(&TFParGen::E_Ethernet_GAT2), 810 },
        { gateway(&TFParGen::E_Ethernet_GAT3), 811 },
        { gateway(&TFParGen::E_Ethernet_GAT4), 812 },
        { [](TFParGen* f) {
             f->CB_ModbusSlave_StopBits->SetItemIndex(1);
             f->CB_ModbusSlave_Parity->SetItemIndex(2);
         },
            838 },
        { always(&TFParGen::E_ModbusSlave_IDDevice, "248"), 839 },
    };
    // With check k and every later one failing, check k speaks.
    const int count = int(std::size(checks));
    ASSERT_EQ(count, 23);
    for (int k = count - 1; k >= 0; --k) {
        SCOPED_TRACE(k + 1);
        Form->Read_ParGen();
        for (int i = k; i < count; ++i)
            checks[i].fail(Form);
        const std::size_t before = Driver->Messages().size();
        EXPECT_FALSE(Form->Controllo_Dati());
        ASSERT_EQ(Driver->Messages().size(), before + 1);
        EXPECT_EQ(Driver->Messages().back().Text, Lang(checks[k].message) + checks[k].suffix);
    }
    Form->Read_ParGen();
    EXPECT_TRUE(Form->Controllo_Dati());
}

TEST_F(ParGenTest, DeviceNameCheckFindsAnyCharacterBesideLettersAndDigits)
{
    const std::pair<const char*, bool> cases[] = {
        { "", false },
        { "Converter01", false },
        { "converter 01", true },
        { "north-line", true },
        { "caf\xC3\xA9", true },
        { "_", true },
    };
    for (const auto& [text, other] : cases)
        EXPECT_EQ(Form->Check_Device_Name(QString::fromUtf8(text)), other) << text;
}

} // namespace
