// Loads arbitrary bytes as a project's ParGen.xml into the parameter form,
// as the form does each time it opens. Reading must never crash or hang; it
// must leave every list at an index of the list (or none), the Wi-Fi DHCP box
// cleared and the form unchanged; a file that was read without complaint must
// come back the same after a save.

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UParGen.h"
#include "platform/controls/Services.h"
#include "platform/runtime/FileUtils.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Answers every box at once: the damaged-file report with OK, the question
// before replacing it with No.
class TQuietBoxes : public IMessageBoxService {
public:
    TModalResult Show(const TMessageBoxRequest& request) override
    {
        return request.Buttons == TMsgDlgButtons(mbOK) ? mrOk : mrNo;
    }
};

std::vector<QString> Values(const TFParGen& f)
{
    std::vector<QString> out;
    for (const TEdit* e : { f.E_EthConn_Device_Name, f.E_EthConn_Pri_DNS_IP1, f.E_EthConn_Pri_DNS_IP2,
             f.E_EthConn_Pri_DNS_IP3, f.E_EthConn_Pri_DNS_IP4, f.E_EthConn_Sec_DNS_IP1, f.E_EthConn_Sec_DNS_IP2,
             f.E_EthConn_Sec_DNS_IP3, f.E_EthConn_Sec_DNS_IP4, f.E_HART_Master_Diagnostic, f.E_Ethernet_IP1,
             f.E_Ethernet_IP2, f.E_Ethernet_IP3, f.E_Ethernet_IP4, f.E_Ethernet_SM1, f.E_Ethernet_SM2, f.E_Ethernet_SM3,
             f.E_Ethernet_SM4, f.E_Ethernet_GAT1, f.E_Ethernet_GAT2, f.E_Ethernet_GAT3, f.E_Ethernet_GAT4,
             f.E_ModbusSlave_IDDevice, f.E_WebPages_User, f.E_WebPages_Password })
        out.push_back(e->Text());
    for (const TComboBox* c : { f.CB_HART_Master_Address, f.CB_HART_Master_RetryLimit, f.CB_ModbusSlave_Serial,
             f.CB_ModbusSlave_Baudrate, f.CB_ModbusSlave_Parity, f.CB_ModbusSlave_StopBits }) {
        if (c->ItemIndex() < -1 || c->ItemIndex() >= c->Items()->Count())
            std::abort();
        out.push_back(QString::number(c->ItemIndex()));
    }
    for (const TCheckBox* b : { f.CB_EthConn_En_DHCP_Cable, f.CB_EthConn_Enable_DNS, f.CB_HART_Master_Diagnostic,
             f.CB_Ethernet_En_GAT, f.CB_ModbusSlave_ReadInput })
        out.push_back(b->Checked() ? QStringLiteral("1") : QStringLiteral("0"));
    return out;
}

} // namespace

// The font caches Qt's GUI library keeps for the run are no leak of the
// reader's.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6Gui\nleak:libharfbuzz\nleak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Inputs up to 1 MB unless the run says otherwise: slow cases need size.
    // The flags are read after this returns.
    static std::vector<char*> args(*argv, *argv + *argc);
    static char maxLen[] = "-max_len=1048576";
    if (std::none_of(args.begin(), args.end(), [](const char* a) { return std::strncmp(a, "-max_len=", 9) == 0; })) {
        args.insert(args.begin() + 1, maxLen);
        args.push_back(nullptr);
        *argc = int(args.size()) - 1;
        *argv = args.data();
    }
    static QApplication app(*argc, *argv);
    static TQuietBoxes boxes;
    services::SetMessageBoxService(&boxes);
    Init_Lang_Default();
    // A memory-backed folder where there is one: every atomic save syncs.
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    Project_Folder = base + QStringLiteral("/morv-fuzz-pargen-%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(Project_Folder);
    Set_Project_Files();
    std::atexit([] { QDir(Project_Folder).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TFParGen* form = new TFParGen(nullptr);
    if (!SaveFileAtomic(File_ParGen, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        std::abort();

    form->E_EthConn_Device_Name->SetText(QStringLiteral("stale"));
    form->CB_EthConn_En_DHCP_WiFi->SetChecked(true);
    form->Read_ParGen();
    if (form->Is_Change || form->CB_EthConn_En_DHCP_WiFi->Checked())
        std::abort();
    const std::vector<QString> read = Values(*form);
    if (form->ParGen_Damaged())
        return 0;

    // What was read is what a save writes and the next opening shows.
    if (!form->Write_ParGen())
        std::abort();
    form->Read_ParGen();
    if (form->ParGen_Damaged() || Values(*form) != read)
        std::abort();
    return 0;
}
