// Validation of the parameter form's fields before the parameter file is
// written.

#include "app/core/UParGen.h"

#include "app/core/ULanguage.h"
#include "platform/controls/Dialogs.h"
#include "platform/runtime/SysUtils.h"

namespace {

// Highest data-array position of the HART diagnostic.
constexpr int Diagnostic_Position_Max = 1438;

// A field's number; text that is not an integer counts as -1, which every
// range of the form refuses.
int Field_Value(const TEdit* e)
{
    return StrToIntDef(e->Text(), -1);
}

bool In_Range(const TEdit* e, int lo, int hi)
{
    const int v = Field_Value(e);
    return v >= lo && v <= hi;
}

void Show_Error(const QString& text)
{
    MessageDlg(text, mtError, mbOK);
}

} // namespace

bool TFParGen::Controllo_Dati()
{
    struct TRangeCheck {
        const TCheckBox* when; // nullptr: always
        const TEdit* field;
        int lo, hi;
        int message;
    };

    const TRangeCheck before[] = {
        { CB_EthConn_Enable_DNS, E_EthConn_Pri_DNS_IP1, 0, 255, 957 },
        { CB_EthConn_Enable_DNS, E_EthConn_Pri_DNS_IP2, 0, 255, 958 },
        { CB_EthConn_Enable_DNS, E_EthConn_Pri_DNS_IP3, 0, 255, 959 },
        { CB_EthConn_Enable_DNS, E_EthConn_Pri_DNS_IP4, 0, 255, 960 },
        { CB_EthConn_Enable_DNS, E_EthConn_Sec_DNS_IP1, 0, 255, 961 },
        { CB_EthConn_Enable_DNS, E_EthConn_Sec_DNS_IP2, 0, 255, 962 },
        { CB_EthConn_Enable_DNS, E_EthConn_Sec_DNS_IP3, 0, 255, 963 },
        { CB_EthConn_Enable_DNS, E_EthConn_Sec_DNS_IP4, 0, 255, 964 },
    };
    // The Ethernet address is tested even while DHCP has disabled its fields.
    const TRangeCheck ethernet[] = {
        { nullptr, E_Ethernet_IP1, 0, 255, 801 },
        { nullptr, E_Ethernet_IP2, 0, 255, 802 },
        { nullptr, E_Ethernet_IP3, 0, 255, 803 },
        { nullptr, E_Ethernet_IP4, 0, 255, 804 },
        { nullptr, E_Ethernet_SM1, 0, 255, 805 },
        { nullptr, E_Ethernet_SM2, 0, 255, 806 },
        { nullptr, E_Ethernet_SM3, 0, 255, 807 },
        { nullptr, E_Ethernet_SM4, 0, 255, 808 },
        { CB_Ethernet_En_GAT, E_Ethernet_GAT1, 0, 255, 809 },
        { CB_Ethernet_En_GAT, E_Ethernet_GAT2, 0, 255, 810 },
        { CB_Ethernet_En_GAT, E_Ethernet_GAT3, 0, 255, 811 },
        { CB_Ethernet_En_GAT, E_Ethernet_GAT4, 0, 255, 812 },
    };
    auto failed = [](const TRangeCheck& c) {
        if (c.when && !c.when->Checked())
            return false;
        if (In_Range(c.field, c.lo, c.hi))
            return false;
        Show_Error(Lang(c.message));
        return true;
    };

    for (const TRangeCheck& c : before)
        if (failed(c))
            return false;

    if (CB_HART_Master_Diagnostic->Checked() && !In_Range(E_HART_Master_Diagnostic, 0, Diagnostic_Position_Max)) {
        Show_Error(Lang(981) + QString::number(Diagnostic_Position_Max));
        return false;
    }

    for (const TRangeCheck& c : ethernet)
        if (failed(c))
            return false;

    // Two stop bits go only with no parity.
    if (CB_ModbusSlave_StopBits->ItemIndex() > 0 && CB_ModbusSlave_Parity->ItemIndex() != 0) {
        Show_Error(Lang(838));
        return false;
    }

    if (!In_Range(E_ModbusSlave_IDDevice, 1, 247)) {
        Show_Error(Lang(839));
        return false;
    }
    return true;
}

bool TFParGen::Check_Device_Name(const QString& text) const
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const bool plain = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
        if (!plain)
            return true;
    }
    return false;
}
