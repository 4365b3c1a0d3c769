// The device update dialog: both layouts, the octet edits, the echo check
// (real against 127.0.0.1, every other outcome through a stand-in echo), the
// job file against golden files, and the update from the main window with a
// stand-in update program. Nothing is ever sent beyond the loopback range.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UBoot.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "common/TestUtil.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"

#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TFakeClock : public IClockService {
public:
    TDateTime Now() override { return 45000.0; }
    std::uint64_t TickCount() override { return Ms; }
    std::atomic<std::uint64_t> Ms { 0 };
};

// 'R' a reply, '0' a reply without data, 'T' no reply in time, 'C' no ICMP
// socket permitted, 'F' the request could not be sent, 'X' the echo throws.
// The last letter repeats once the script is used up. Each request moves the
// test clock on by the time it would take.
class TFakeEcho {
public:
    explicit TFakeEcho(const char* script, TFakeClock* clock = nullptr)
        : FScript(script)
        , FClock(clock)
    {
    }
    TEcho_Service Service()
    {
        return
            [this](const QString& host, int timeoutMs, int packetSize) { return Answer(host, timeoutMs, packetSize); };
    }
    int Requests() const
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return int(FHosts.size());
    }
    QStringList Hosts() const
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return FHosts;
    }
    int TimeoutMs = 0;
    int PacketSize = 0;

private:
    TEchoResult Answer(const QString& host, int timeoutMs, int packetSize)
    {
        char step = 0;
        {
            std::lock_guard<std::mutex> lock(FMutex);
            // A stand-in must never be asked about an address a real echo
            // would leave the machine for.
            EXPECT_TRUE(host.startsWith(QStringLiteral("127."))) << host.toStdString();
            FHosts << host;
            TimeoutMs = timeoutMs;
            PacketSize = packetSize;
            const int i = std::min<int>(int(FHosts.size()) - 1, int(FScript.size()) - 1);
            step = FScript[std::size_t(i)];
        }
        TEchoResult r;
        switch (step) {
        case 'R':
            r.Status = TEchoStatus::esReply;
            r.BytesReceived = 8 + packetSize;
            Advance(5);
            break;
        case '0':
            r.Status = TEchoStatus::esReply;
            r.BytesReceived = 0;
            Advance(timeoutMs);
            break;
        case 'T':
            r.Status = TEchoStatus::esTimedOut;
            Advance(timeoutMs);
            break;
        case 'C':
            r.Status = TEchoStatus::esCannotRun;
            r.Error = QStringLiteral("no ICMP socket permitted");
            break;
        case 'F':
            r.Status = TEchoStatus::esFailed;
            r.Error = QStringLiteral("network unreachable");
            break;
        default:
            throw std::runtime_error("echo broke");
        }
        return r;
    }
    void Advance(int ms)
    {
        if (FClock)
            FClock->Ms += std::uint64_t(ms);
    }
    std::string FScript;
    TFakeClock* FClock;
    mutable std::mutex FMutex;
    QStringList FHosts;
};

class BootTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Init_Lang_Default();
        SW_Code = SW_Code_Const;
        Folder = testutil::TempDir();
        Program_Folder = Folder;
        Master_Folder = QStringLiteral("/opt/morv/MASTER");
        Project_Folder = QStringLiteral("/opt/morv/PROJECTS/Plant A");
        Last_IP_Address = QStringLiteral("127.0.0.1");
        Update_Option = 0;
        Update_Read_Back = true;
        Driver = std::make_unique<ModalDriver>();
        Dlg = std::make_unique<TFBoot>(nullptr);
        Dlg->Echo_Service = Echo.Service();
    }
    void TearDown() override
    {
        Dlg.reset();
        Driver.reset();
        if (ClockReplaced)
            services::SetClockService(nullptr);
        Program_Folder.clear();
        Master_Folder.clear();
        Project_Folder.clear();
    }
    void UseFakeClock()
    {
        services::SetClockService(&Clock);
        ClockReplaced = true;
    }
    void SetAddress(const char* a, const char* b, const char* c, const char* d)
    {
        Dlg->E_IP1->SetText(QString::fromLatin1(a));
        Dlg->E_IP2->SetText(QString::fromLatin1(b));
        Dlg->E_IP3->SetText(QString::fromLatin1(c));
        Dlg->E_IP4->SetText(QString::fromLatin1(d));
    }
    QStringList Fields() const
    {
        return { Dlg->E_IP1->Text(), Dlg->E_IP2->Text(), Dlg->E_IP3->Text(), Dlg->E_IP4->Text() };
    }
    QString JobFile() const { return Folder + "/Ethernet_Update.xml"; }

    QString Folder;
    TFakeClock Clock;
    bool ClockReplaced = false;
    TFakeEcho Echo { "R" };
    std::unique_ptr<ModalDriver> Driver;
    std::unique_ptr<TFBoot> Dlg;
};

TEST_F(BootTest, EthernetLayoutStacksAddressAboveOptions)
{
    Update_Option = 2;
    Update_Read_Back = false;
    Dlg->Form_Type = 1;
    Dlg->Show();

    EXPECT_EQ(Dlg->ClientWidth(), 449);
    EXPECT_EQ(Dlg->ClientHeight(), 230);
    EXPECT_TRUE(Dlg->P_IP_Address->Visible());
    EXPECT_TRUE(Dlg->P_Options->Visible());
    EXPECT_FALSE(Dlg->P_Serial->Visible());
    EXPECT_FALSE(Dlg->P_Eth_Search->Visible());
    EXPECT_EQ(Dlg->P_IP_Address->Top(), 69);
    EXPECT_EQ(Dlg->P_Options->Top(), 69 + 49);
    EXPECT_EQ(Dlg->P_Button->Top(), 230 - 40);
    const std::vector<TWinControl*> order { Dlg->P_Title, Dlg->P_IP_Address, Dlg->P_Eth_Search, Dlg->P_Options,
        Dlg->P_Button, Dlg->P_Serial };
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i]->TabOrder(), int(i)) << order[i]->Name().toStdString();

    EXPECT_EQ(Dlg->Caption(), "Update Device by Ethernet (UDP)");
    EXPECT_EQ(Dlg->L_SW_Desc->Caption(), "Update Device Using the Ethernet Port");
    EXPECT_EQ(Dlg->L_SW_Code->Caption(), "RT41208");
    EXPECT_EQ(Dlg->CB_Update_Options->Items()->Count(), 3);
    EXPECT_EQ(Dlg->CB_Update_Options->Items()->Get(0), "Firmware + Configuration");
    EXPECT_EQ(Dlg->CB_Update_Options->Items()->Get(2), "Configuration");
    EXPECT_EQ(Dlg->Btn_Update->Caption(), "Execute Update Firmware");
    EXPECT_EQ(Dlg->E_IP3->Hint(), "Insert third byte of IP Address");
    EXPECT_EQ(Dlg->Btn_Cancel->Hint(), Lang(1534));
    EXPECT_EQ(Dlg->ACG_List_Devices_Headers[1], "MAC Address");

    // The shared state decides the proposal.
    EXPECT_EQ(Fields(), (QStringList { "127", "0", "0", "1" }));
    EXPECT_EQ(Dlg->CB_Update_Options->ItemIndex(), 2);
    EXPECT_FALSE(Dlg->CB_Update_Option_Read_Back->Checked());
    EXPECT_EQ(Dlg->FocusedControl(), Dlg->E_IP1);
    Dlg->Hide();

    // Only a sound address replaces what the fields hold.
    struct Case {
        const char* last;
        QStringList expected;
    } cases[] = {
        { "192.168.2.205", { "192", "168", "2", "205" } },
        { "", { "127", "0", "0", "1" } },
        { "10.0.0", { "127", "0", "0", "1" } },
        { "10.0.0.256", { "127", "0", "0", "1" } },
        { "a.b.c.d", { "127", "0", "0", "1" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        SetAddress("127", "0", "0", "1");
        Last_IP_Address = QString::fromLatin1(c.last);
        Dlg->Show();
        EXPECT_EQ(Fields(), c.expected);
        Dlg->Hide();
    }
}

TEST_F(BootTest, FirstShowWithoutAnAddressProposesZeros)
{
    Last_IP_Address.clear();
    Dlg->Show();
    EXPECT_EQ(Fields(), (QStringList { "0", "0", "0", "0" }));
}

TEST_F(BootTest, SerialLayoutListsThePortsAndOnlyStoresTheOptions)
{
    Dlg->Form_Type = 0;
    Dlg->Show();
    EXPECT_EQ(Dlg->ClientHeight(), 232);
    EXPECT_TRUE(Dlg->P_Serial->Visible());
    EXPECT_FALSE(Dlg->P_IP_Address->Visible());
    EXPECT_EQ(Dlg->P_Serial->Top(), 69);
    EXPECT_EQ(Dlg->P_Options->Top(), 69 + 51);
    const std::vector<TWinControl*> order { Dlg->P_Title, Dlg->P_Serial, Dlg->P_Options, Dlg->P_Button,
        Dlg->P_IP_Address, Dlg->P_Eth_Search };
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i]->TabOrder(), int(i)) << order[i]->Name().toStdString();
    EXPECT_EQ(Dlg->Caption(), "Update Device by Serial");
    EXPECT_EQ(Dlg->L_COM_Port->Caption(), "Select the COM port for the Update");
    EXPECT_EQ(Dlg->FocusedControl(), Dlg->CB_COM_Port);

    QStringList expected;
    for (const QString& port : List_COM_Ports())
        expected << "COM" + port;
    QStringList shown;
    for (int i = 0; i < Dlg->CB_COM_Port->Items()->Count(); ++i)
        shown << Dlg->CB_COM_Port->Items()->Get(i);
    EXPECT_EQ(shown, expected);

    Dlg->CB_Update_Options->SetItemIndex(1);
    Dlg->CB_Update_Option_Read_Back->SetChecked(false);
    Dlg->Btn_Update->Click();
    EXPECT_EQ(Update_Option, 1);
    EXPECT_FALSE(Update_Read_Back);
    EXPECT_EQ(Echo.Requests(), 0);
    EXPECT_FALSE(FileExists(JobFile()));
    EXPECT_TRUE(Driver->Messages().empty());
}

TEST_F(BootTest, DotMovesToTheNextOctetAndIsNeverTyped)
{
    Dlg->Show();
    SetAddress("", "", "", "");
    Dlg->E_IP1->SetFocus();
    input::Type(Dlg->E_IP1, QStringLiteral("10."));
    EXPECT_EQ(Dlg->E_IP1->Text(), "10");
    EXPECT_EQ(Dlg->FocusedControl(), Dlg->E_IP2);
    input::Type(Dlg->E_IP2, QStringLiteral("1."));
    input::Type(Dlg->E_IP3, QStringLiteral("2."));
    EXPECT_EQ(Dlg->FocusedControl(), Dlg->E_IP4);
    input::Type(Dlg->E_IP4, QStringLiteral("3.4"));
    EXPECT_EQ(Dlg->E_IP4->Text(), "34");
    EXPECT_EQ(Dlg->FocusedControl(), Dlg->E_IP4);
    EXPECT_EQ(Dlg->IP_Address(), "10.1.2.34");
}

TEST_F(BootTest, JobFileForEachOptionMatchesItsGoldenFile)
{
    // Writing the job file sends nothing; the address is only its content.
    SetAddress("192", "168", "2", "205");
    struct Case {
        int option;
        bool readBack;
        const char* golden;
    } cases[] = {
        { 0, true, "firmware_configuration_readback" },
        { 0, false, "firmware_configuration" },
        { 1, true, "firmware_readback" },
        { 1, false, "firmware" },
        { 2, true, "configuration_readback" },
        { 2, false, "configuration" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        Dlg->CB_Update_Options->SetItemIndex(c.option);
        Dlg->CB_Update_Option_Read_Back->SetChecked(c.readBack);
        ASSERT_TRUE(Dlg->Compile_XML_Parameter_New_Boot());
        const QByteArray expected = ReadBytes(testutil::DataPath(QStringLiteral("boot/%1.xml").arg(c.golden)));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(ReadBytes(JobFile()), expected);
    }
    EXPECT_TRUE(Driver->Messages().empty());
}

TEST_F(BootTest, EchoCheckAgainstLoopback)
{
    if (Icmp_Echo(QStringLiteral("127.0.0.1"), 400, 8).Status == TEchoStatus::esCannotRun)
        GTEST_SKIP() << "this system permits no ICMP socket";
    Dlg->Echo_Service = nullptr; // the real echo
    SetAddress("127", "0", "0", "1");
    EXPECT_TRUE(Dlg->Send_Ping());
    EXPECT_EQ(Dlg->ping_res, 1);
    EXPECT_EQ(Dlg->Last_Echo.Status, TEchoStatus::esReply);
    EXPECT_EQ(Dlg->Last_Echo.BytesReceived, 8 + 1024);
}

TEST_F(BootTest, AnAddressThatIsNoNumberFailsWithoutSendingAnything)
{
    Dlg->Echo_Service = nullptr; // the real echo refuses it before any socket
    SetAddress("127", "", "0", "x");
    Dlg->Btn_Update->Click();
    EXPECT_EQ(Dlg->Last_Echo.Status, TEchoStatus::esBadAddress);
    EXPECT_EQ(Driver->MessageTexts(), QStringList { "Error!!! Check the Ip Address" });
    EXPECT_EQ(Driver->Messages()[0].DlgType, mtError);
    EXPECT_EQ(Last_IP_Address, "127.0.0.1");
    EXPECT_FALSE(FileExists(JobFile()));
}

TEST_F(BootTest, EchoOutcomes)
{
    UseFakeClock();
    struct Case {
        const char* name;
        const char* script;
        bool answered;
        int ping_res;
        int requests;
        const char* message; // shown after Execute; null when the device answered
        TMsgDlgType type;
    } cases[] = {
        { "two replies at once", "R", true, 1, 2, nullptr, mtInformation },
        { "a late first reply", "TRR", true, 1, 3, nullptr, mtInformation },
        { "replies in between misses", "RTR", true, 1, 3, nullptr, mtInformation },
        // 400 ms per try for 5 s: the 13th try ends past the limit.
        { "never answers", "T", false, 2, 13, "Device Not Found!", mtWarning },
        { "one reply, then silence", "RT", false, 2, 14, "Device Not Found!", mtWarning },
        { "replies without data", "0", false, 2, 13, "Device Not Found!", mtWarning },
        // Nothing a second try could change: the check ends at once.
        { "no ICMP socket permitted", "C", false, 0, 1, "Error!!! Check the Ip Address", mtError },
        { "cannot send", "F", false, 0, 1, "Error!!! Check the Ip Address", mtError },
        { "the echo throws", "X", false, 0, 1, "Error!!! Check the Ip Address", mtError },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clock.Ms = 1000;
        TFakeEcho echo(c.script, &Clock);
        Dlg->Echo_Service = echo.Service();
        SetAddress("127", "0", "0", "9");
        if (c.answered) {
            EXPECT_TRUE(Dlg->Send_Ping());
        } else {
            const std::size_t before = Driver->Messages().size();
            Dlg->Btn_Update->Click();
            ASSERT_EQ(Driver->Messages().size(), before + 1);
            const ModalDriver::MessageRecord m = Driver->Messages().back();
            EXPECT_TRUE(m.Text.startsWith(QString::fromLatin1(c.message))) << m.Text.toStdString();
            EXPECT_EQ(m.DlgType, c.type);
            EXPECT_EQ(m.Buttons, TMsgDlgButtons(mbOK));
            // Nothing is stored or written after a failure.
            EXPECT_EQ(Last_IP_Address, "127.0.0.1");
            EXPECT_FALSE(FileExists(JobFile()));
        }
        EXPECT_EQ(Dlg->ping_res, c.ping_res);
        EXPECT_EQ(echo.Requests(), c.requests);
        EXPECT_EQ(echo.Hosts().value(0), "127.0.0.9");
        EXPECT_EQ(echo.TimeoutMs, 400);
        EXPECT_EQ(echo.PacketSize, 1024);
    }

    // Where the check could not run at all, the reason is shown too.
    TFakeEcho noSocket("C", &Clock);
    Dlg->Echo_Service = noSocket.Service();
    Dlg->Btn_Update->Click();
    EXPECT_TRUE(Driver->Messages().back().Text.contains("no ICMP socket permitted"));
}

TEST_F(BootTest, DialogStaysResponsiveDuringTheCheckAndHonoursCancel)
{
    // The first request is answered only once the dialog's own event loop has
    // run a timer: a check that blocked the loop would miss the reply.
    std::atomic<bool> released { false };
    std::atomic<int> requests { 0 };
    Dlg->Echo_Service = [&](const QString& host, int, int packetSize) {
        EXPECT_TRUE(host.startsWith(QStringLiteral("127.")));
        ++requests;
        // Held until the timer released it; the cap only ends a broken run.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!released && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        TEchoResult r;
        r.Status = released ? TEchoStatus::esReply : TEchoStatus::esTimedOut;
        r.BytesReceived = released ? 8 + packetSize : 0;
        return r;
    };
    bool ranDuringCheck = false;
    Driver->OnForm("TFBoot", [&](TCustomForm*) {
        QTimer::singleShot(30, [&]() {
            ranDuringCheck = true;
            // A second Execute while the check runs starts no second check;
            // Cancel ends the dialog once the check is over.
            Dlg->Btn_Update->Click();
            Dlg->Btn_Cancel->Click();
            released = true;
        });
        Dlg->Btn_Update->Click();
    });
    EXPECT_EQ(Dlg->ShowModal(), mrCancel);
    EXPECT_TRUE(ranDuringCheck);
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(Dlg->ping_res, 1);
    // Cancelled: nothing stored, written or started.
    EXPECT_EQ(Last_IP_Address, "127.0.0.1");
    EXPECT_FALSE(FileExists(JobFile()));
    EXPECT_TRUE(Driver->Messages().empty());
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

// The fields stay editable during the echo check: what they show by the time
// the device answered does not redirect the update. The job file, the
// remembered address and the stored options are the ones Execute was pressed
// with, and only that address was asked.
TEST_F(BootTest, FieldsChangedDuringTheCheckDoNotRedirectTheUpdate)
{
    std::atomic<bool> changed { false };
    Dlg->Echo_Service = [&](const QString& host, int, int packetSize) {
        Echo.Service()(host, 400, packetSize);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!changed && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        TEchoResult r;
        r.Status = TEchoStatus::esReply;
        r.BytesReceived = 8 + packetSize;
        return r;
    };
    SetAddress("127", "0", "0", "9");
    Dlg->CB_Update_Options->SetItemIndex(Update_Configuration);
    Dlg->CB_Update_Option_Read_Back->SetChecked(false);
    QTimer::singleShot(0, [&]() {
        SetAddress("127", "0", "0", "7");
        Dlg->CB_Update_Options->SetItemIndex(Update_Firmware_Configuration);
        Dlg->CB_Update_Option_Read_Back->SetChecked(true);
        changed = true;
    });
    Dlg->Btn_Update->Click();

    ASSERT_TRUE(changed);
    EXPECT_EQ(Echo.Hosts(), QStringList({ "127.0.0.9", "127.0.0.9" }));
    EXPECT_EQ(Last_IP_Address, "127.0.0.9");
    EXPECT_EQ(Update_Option, Update_Configuration);
    EXPECT_FALSE(Update_Read_Back);
    const QByteArray expected
        = ReadBytes(testutil::DataPath(QStringLiteral("boot/configuration.xml"))).replace("192.168.2.205", "127.0.0.9");
    ASSERT_TRUE(expected.contains("127.0.0.9"));
    EXPECT_EQ(ReadBytes(JobFile()), expected);
    EXPECT_EQ(Fields(), QStringList({ "127", "0", "0", "7" }));
}

TEST_F(BootTest, EscapeLeavesTheDialogWithoutAnUpdate)
{
    Driver->OnForm("TFBoot", [&](TCustomForm*) {
        Dlg->E_IP2->SetFocus();
        input::Key(Dlg->E_IP2, VK_ESCAPE, {}, 27);
    });
    EXPECT_EQ(Dlg->ShowModal(), mrCancel);
    EXPECT_EQ(Echo.Requests(), 0);
    EXPECT_FALSE(FileExists(JobFile()));
    EXPECT_TRUE(Driver->Failures().isEmpty()) << Driver->Failures().join("; ").toStdString();
}

TEST_F(BootTest, DialogPicture)
{
    // Shown only: the default address is displayed, never pinged.
    Last_IP_Address = Default_IP_Address;
    Dlg->Show();
    const QImage img = Dlg->PaintToImage();
    testutil::SaveImagePng(img, "boot");
    EXPECT_EQ(img.size(), QSize(449, 230));
    EXPECT_TRUE(testutil::MatchesGolden(img, "boot"));
}

// --- From the main window ----------------------------------------------------

class BootWorkflowTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Folder = testutil::TempDir();
        Program_Folder_Source = [f = Folder]() { return f; };
        Init_Lang_Default();
        // As at program start.
        Update_Option = 0;
        ASSERT_TRUE(ForceDirectories(Folder + "/PROJECTS/P/bin"));
        ASSERT_TRUE(SaveFileAtomic(Folder + "/Morvantile.xml",
            "<Conf_Settings><lastproj><projectname>P</projectname></lastproj>"
            "<lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd></Conf_Settings>")
                        .Ok);
        Window = std::make_unique<TFMorvantinoFirmWare>(nullptr);
        Window->DoCreate();
        Boot = std::make_unique<TFBoot>(nullptr);
        FBoot = Boot.get();
        Boot->Echo_Service = Echo.Service();
    }
    void TearDown() override
    {
        Boot.reset();
        Window.reset();
        Program_Folder_Source = nullptr;
    }
    // A stand-in update program: it keeps a copy of the job file it found.
    void WriteUpdateProgram(const QString& name)
    {
        const QString path = Folder + "/" + name;
        ASSERT_TRUE(SaveFileAtomic(path, "#!/bin/sh\ncp Ethernet_Update.xml ran.xml\n").Ok);
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    // Update Device, then in the dialog: the address's last octet, the option
    // and read-back, and Execute.
    void RunUpdate(const char* lastOctet, int option, bool readBack)
    {
        Driver.OnForm(
            "TFBoot",
            [=, this](TCustomForm* f) {
                auto* d = static_cast<TFBoot*>(f);
                Proposed = { d->E_IP1->Text(), d->E_IP2->Text(), d->E_IP3->Text(), d->E_IP4->Text() };
                Proposed_Option = d->CB_Update_Options->ItemIndex();
                Proposed_Read_Back = d->CB_Update_Option_Read_Back->Checked();
                Shown_Caption = d->Caption();
                d->E_IP4->SetText(QString::fromLatin1(lastOctet));
                d->CB_Update_Options->SetItemIndex(option);
                d->CB_Update_Option_Read_Back->SetChecked(readBack);
                d->Btn_Update->Click();
                // The dialog stays open after the update.
                Still_Open = d->ModalResult() == mrNone;
                d->Btn_Cancel->Click();
            },
            1);
        Window->Btn_CreateBin->Click();
    }

    QString Folder;
    TFakeEcho Echo { "R" };
    ModalDriver Driver;
    std::unique_ptr<TFMorvantinoFirmWare> Window;
    std::unique_ptr<TFBoot> Boot;
    QStringList Proposed;
    int Proposed_Option = -1;
    bool Proposed_Read_Back = false;
    bool Still_Open = false;
    QString Shown_Caption;
};

TEST_F(BootWorkflowTest, UpdateDeviceBuildsImagesWritesTheJobAndRunsTheUpdateProgram)
{
    WriteUpdateProgram("Ethernet_Update");
    RunUpdate("2", 1, false);

    EXPECT_TRUE(FileExists(Folder + "/PROJECTS/P/bin/bank1.bin"));
    EXPECT_TRUE(FileExists(Folder + "/PROJECTS/P/bin/bank2.bin"));
    EXPECT_EQ(Shown_Caption, "Update Device by Ethernet (UDP)");
    EXPECT_EQ(Proposed, (QStringList { "127", "0", "0", "1" }));
    EXPECT_EQ(Proposed_Option, 0);
    EXPECT_TRUE(Proposed_Read_Back);
    EXPECT_TRUE(Still_Open);
    EXPECT_EQ(Echo.Hosts(), (QStringList { "127.0.0.2", "127.0.0.2" }));

    // The update program ran in its folder and found the job written.
    const QByteArray job = ReadBytes(Folder + "/Ethernet_Update.xml");
    EXPECT_TRUE(job.contains("<IP_Address_Dev>127.0.0.2</IP_Address_Dev>"));
    EXPECT_TRUE(job.contains("<Ope_Read_Back>0</Ope_Read_Back>"));
    EXPECT_FALSE(job.contains("bank1.bin"));
    EXPECT_EQ(ReadBytes(Folder + "/ran.xml"), job);
    EXPECT_EQ(Last_IP_Address, "127.0.0.2");
    EXPECT_EQ(Update_Option, 1);
    EXPECT_FALSE(Update_Read_Back);
    EXPECT_TRUE(Driver.Messages().empty()) << Driver.MessageTexts().join("; ").toStdString();

    // The next update proposes what was just used.
    RunUpdate("2", 2, true);
    EXPECT_EQ(Proposed, (QStringList { "127", "0", "0", "2" }));
    EXPECT_EQ(Proposed_Option, 1);
    EXPECT_FALSE(Proposed_Read_Back);
    EXPECT_TRUE(ReadBytes(Folder + "/ran.xml").contains("bank2.bin"));
    EXPECT_TRUE(Driver.Failures().isEmpty()) << Driver.Failures().join("; ").toStdString();
}

TEST_F(BootWorkflowTest, UpdateProgramWithTheWindowsNameIsFoundToo)
{
    WriteUpdateProgram("Ethernet_Update.exe");
    RunUpdate("1", 0, true);
    EXPECT_TRUE(FileExists(Folder + "/ran.xml"));
    EXPECT_TRUE(Driver.Messages().empty()) << Driver.MessageTexts().join("; ").toStdString();
}

TEST_F(BootWorkflowTest, MissingUpdateProgramIsReportedByName)
{
    RunUpdate("1", 0, true);
    ASSERT_EQ(Driver.Messages().size(), 1u);
    EXPECT_EQ(Driver.Messages()[0].DlgType, mtError);
    EXPECT_TRUE(Driver.Messages()[0].Text.contains(Folder + "/Ethernet_Update"))
        << Driver.Messages()[0].Text.toStdString();
    // The job file itself was written.
    EXPECT_TRUE(FileExists(Folder + "/Ethernet_Update.xml"));
}

TEST_F(BootWorkflowTest, AJobFileThatCannotBeWrittenIsReportedAndNothingStarts)
{
    WriteUpdateProgram("Ethernet_Update");
    // A folder where the job file belongs: nothing can replace it.
    ASSERT_TRUE(CreateDir(Folder + "/Ethernet_Update.xml"));
    RunUpdate("1", 0, true);
    ASSERT_EQ(Driver.Messages().size(), 1u);
    EXPECT_EQ(Driver.Messages()[0].DlgType, mtError);
    EXPECT_EQ(Driver.Messages()[0].Text.count(Folder + "/Ethernet_Update.xml"), 1)
        << Driver.Messages()[0].Text.toStdString();
    EXPECT_FALSE(FileExists(Folder + "/ran.xml"));
}

} // namespace
