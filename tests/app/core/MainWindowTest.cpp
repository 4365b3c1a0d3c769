// The main window on its own: start-up from a temporary program folder, the
// click dispatch, the project actions, the version-check timer, the wait for
// a started program and the picture of the window.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UBoot.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UNew_Project.h"
#include "app/core/UOpenConf.h"
#include "app/core/USaveBincc.h"
#include "app/core/USettings.h"
#include "app/core/USoftOptions.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Messages.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/XmlDom.h"

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <vector>

namespace {

class TFakeClock : public IClockService {
public:
    TDateTime Now() override { return 45000.0 + double(Ms) / 86400000.0; }
    std::uint64_t TickCount() override { return Ms; }
    std::uint64_t Ms = 0;
};

class TFakeFileDialog : public IFileDialogService {
public:
    bool Execute(TFileDialogRequest& request) override
    {
        Requests.push_back(request);
        if (Answer.isEmpty())
            return false;
        request.FileName = Answer;
        request.Files = QStringList { Answer };
        return true;
    }
    QString Answer;
    std::vector<TFileDialogRequest> Requests;
};

class TFakeShell : public IShellService {
public:
    bool OpenUrl(const QString& url) override
    {
        Opened << url;
        return true;
    }
    QStringList Opened;
};

const char* const BothInternetFlags = "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                                      "<enable_update>1</enable_update></lastinternet></Conf_Settings>";

class MainWindowTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Folder = testutil::TempDir();
        Program_Folder_Source = [f = Folder]() { return f; };
    }
    void TearDown() override
    {
        Window.reset();
        Program_Folder_Source = nullptr;
    }
    TFMorvantinoFirmWare* Start()
    {
        Window = std::make_unique<TFMorvantinoFirmWare>(nullptr);
        Window->DoCreate();
        return Window.get();
    }
    void WriteSettings(const QByteArray& xml) { ASSERT_TRUE(SaveFileAtomic(Folder + "/Morvantile.xml", xml).Ok); }
    QString Settings() const
    {
        QFile f(Folder + "/Morvantile.xml");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void MakeProject(const QString& name) { ASSERT_TRUE(ForceDirectories(Folder + "/PROJECTS/" + name)); }
    // Starts with the project P remembered, so it is active.
    TFMorvantinoFirmWare* StartWithProject()
    {
        MakeProject("P");
        WriteSettings("<Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>");
        return Start();
    }

    QString Folder;
    std::unique_ptr<TFMorvantinoFirmWare> Window;
};

TEST_F(MainWindowTest, FirstStartLaysOutFoldersAndDefaults)
{
    TFMorvantinoFirmWare* w = Start();
    for (const char* sub : { "MASTER", "PROJECTS", "LANGUAGE" })
        EXPECT_TRUE(DirectoryExists(Folder + "/" + sub)) << sub;
    EXPECT_EQ(Program_Folder, Folder);
    EXPECT_TRUE(Project_Folder.isEmpty());
    EXPECT_TRUE(Project_Name.isEmpty());
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(Language_Name, "English");
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Jump_Field_Tables || Opt_Dbl_Click_Auto_Size);
    EXPECT_FALSE(w->Timer_Update->Enabled());
    EXPECT_TRUE(Update_Read_Back);
    EXPECT_EQ(LanguageTable.size(), 2900);

    EXPECT_EQ(w->Caption(), "www.example.com - Configurator RT41208 - Modbus Slave / HART Master ");
    EXPECT_EQ(w->L_SW_Code->Caption(), "RT41208");
    EXPECT_EQ(w->L_SW_Desc->Caption(), "Modbus Slave / HART Master - Converter");
    EXPECT_EQ(w->L_Name_Conf->Caption(), Lang(9));
    EXPECT_EQ(w->L_Name_Conf_L2->Caption(), Lang(10));
    EXPECT_EQ(w->Btn_New->Caption(), "New Configuration");
    EXPECT_EQ(w->Btn_CreateBin->Hint(), Lang(26));
    EXPECT_EQ(w->Btn_Close->Hint(), "Close Configurator");

    EXPECT_EQ(w->ClientWidth(), 694);
    EXPECT_EQ(w->ClientHeight(), 396);
    EXPECT_EQ(w->Shape1->BoundsRect(), Bounds(10, 295, 674, 1));
    EXPECT_EQ(w->L_Quolmi->Top(), w->L_Step_4->Top());
    int shown = 0;
    for (TLbButton* b : w->Buttons())
        shown += b->Visible() ? 1 : 0;
    EXPECT_EQ(w->Buttons().size(), 24);
    EXPECT_EQ(shown, 8);
    EXPECT_TRUE(w->L_Step_4->Visible());
    EXPECT_FALSE(w->L_Step_5->Visible());
    EXPECT_FALSE(w->LL_Update->Visible());
    ASSERT_NE(RowClipboard, nullptr);
    EXPECT_EQ(RowClipboard->Count(), 0);
    ASSERT_NE(MIB_Write_Objects, nullptr);

    // Closing writes the settings even though nothing changed, and they read
    // back to the same values.
    EXPECT_TRUE(Settings().isEmpty());
    w->Close();
    EXPECT_FALSE(Settings().isEmpty());
    Last_IP_Address = "x";
    Language_Name = "x";
    TXmlDocument xml;
    Read_Settings(xml);
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(Language_Name, "English");
    EXPECT_TRUE(Project_Name.isEmpty());
}

TEST_F(MainWindowTest, RemembersTheProjectOnlyWhenItsFolderIsThere)
{
    struct Case {
        const char* name;
        bool makeFolder;
        QString folderPath; // relative to the program folder
        bool active;
    } cases[] = {
        { "Plant A", true, "PROJECTS/Plant A", true },
        { "Gone", false, "", false },
        // A name that would lead outside PROJECTS is never made active.
        { "../MASTER", false, "", false },
        { "..", false, "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.makeFolder)
            MakeProject(c.name);
        WriteSettings(QByteArray("<Conf_Settings><lastproj><projectname>") + c.name
            + "</projectname></lastproj></Conf_Settings>");
        TFMorvantinoFirmWare* w = Start();
        EXPECT_EQ(Project_Name, c.name);
        if (c.active) {
            EXPECT_EQ(Project_Folder, Folder + "/" + c.folderPath);
            EXPECT_EQ(w->L_Name_Conf->Caption(), Lang(11));
            EXPECT_EQ(w->L_Name_Conf_L2->Caption(), c.name);
            EXPECT_EQ(File_ParGen, Project_Folder + "/ParGen.xml");
        } else {
            EXPECT_TRUE(Project_Folder.isEmpty());
            EXPECT_EQ(w->L_Name_Conf->Caption(), Lang(9));
            EXPECT_EQ(w->L_Name_Conf_L2->Caption(), Lang(10));
        }
        // The remembered name survives into the settings file either way.
        w->Close();
        EXPECT_TRUE(
            Settings().contains(QStringLiteral("<projectname>%1</projectname>").arg(QString(c.name).toHtmlEscaped())))
            << Settings().toStdString();
    }
}

TEST_F(MainWindowTest, MissingLanguageFileStartsInEnglishAndIsSavedSo)
{
    WriteSettings("<Conf_Settings><lastlang><language>Klingon</language></lastlang></Conf_Settings>");
    TFMorvantinoFirmWare* w = Start();
    EXPECT_EQ(Language_Name, "English");
    EXPECT_EQ(w->Btn_Open->Caption(), "Open Configuration");
    w->Close();
    EXPECT_TRUE(Settings().contains("<language>English</language>"));
}

TEST_F(MainWindowTest, ProjectButtonsAnswerText18WithoutAProject)
{
    TFMorvantinoFirmWare* w = Start();
    ModalDriver driver;
    int needing = 0;
    for (TLbButton* b : w->Buttons()) {
        if (b == w->Btn_New || b == w->Btn_Open || b == w->Btn_Close || b == w->Btn_Info || b == w->Btn_Opz)
            continue;
        ++needing;
        const size_t before = driver.Messages().size();
        w->Btn_Click(b);
        ASSERT_EQ(driver.Messages().size(), before + 1) << b->Name().toStdString();
        const ModalDriver::MessageRecord& m = driver.Messages().back();
        EXPECT_EQ(m.Text, "Error! Project not Valid") << b->Name().toStdString();
        EXPECT_EQ(m.DlgType, mtError);
        EXPECT_EQ(m.Buttons, TMsgDlgButtons(mbOK));
    }
    EXPECT_EQ(needing, 19);
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(MainWindowTest, WithAProjectEachButtonOpensItsForm)
{
    MakeProject("P");
    WriteSettings("<Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>");
    TFMorvantinoFirmWare* w = Start();
    ASSERT_FALSE(Project_Folder.isEmpty());

    // Stand-ins for the mapping-table forms, one per slot.
    std::vector<std::unique_ptr<TForm>> forms;
    int relabelled = 0;
    for (int i = 0; i < int(TTable_Form::Count); ++i) {
        forms.push_back(std::make_unique<TForm>(nullptr));
        forms.back()->SetName(QStringLiteral("Table%1").arg(i));
        TForm* f = forms.back().get();
        w->Tables.Forms[i] = { [f]() { return f; }, [&relabelled]() { ++relabelled; } };
    }
    QStringList shown;
    ModalDriver driver;
    driver.OnForm<TForm>([&shown](TForm* f) {
        shown << f->Name();
        f->SetModalResult(mrCancel);
    });

    const std::pair<TLbButton*, TTable_Form> cases[] = {
        { w->Btn_HART_Gateway, TTable_Form::HART_Gateway },
        { w->Btn_HART_Variables, TTable_Form::HARTVariables },
        { w->Btn_CAN_Rec_Frame, TTable_Form::ReceiveCAN },
        { w->Btn_CAN_Send_Frame, TTable_Form::TransmitCAN },
        { w->Btn_BACnet_SetAccess, TTable_Form::BACnetSlaveSetAccess },
        { w->Btn_PDO_CANopen, TTable_Form::Set_PDO_Access },
        { w->Btn_SDO_Client_CANopen, TTable_Form::Set_SDO_Client_Access },
        { w->Btn_SDO_Server_CANopen, TTable_Form::Set_SDO_Server_Access },
        { w->Btn_MQTT_Set_Topic, TTable_Form::MQTT_Set_Topic },
        { w->Btn_SNMP_Trap, TTable_Form::SNMP_Trap_Access },
        { w->Btn_OPC_UA_Server_Access, TTable_Form::OPC_UA_Server_Access },
        { w->Btn_PROFINET_XML, TTable_Form::ProfinetFileName },
    };
    for (const auto& [button, form] : cases) {
        shown.clear();
        w->Btn_Click(button);
        EXPECT_EQ(shown, QStringList { QStringLiteral("Table%1").arg(int(form)) }) << button->Name().toStdString();
    }
    // The "Objects Map" button does nothing, even with a project.
    shown.clear();
    w->Btn_Click(w->Btn_PROFINET_Map);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(driver.Messages().empty());

    w->Change_Language();
    EXPECT_EQ(relabelled, int(TTable_Form::Count));
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(MainWindowTest, OpenProjectTakesTheChosenName)
{
    MakeProject("Plant");
    TFMorvantinoFirmWare* w = Start();
    TFOpenConf dialog(nullptr);
    FOpenConf = &dialog;
    struct Case {
        const char* name;
        TModalResult answer;
        bool active;
        bool refused = false;
    } cases[] = {
        { "Plant", mrOk, true }, { "Other", mrCancel, true }, // cancelled: the project stays
        // Refused with text 105: the project stays and the name is not kept.
        { "../PROJECTS/Plant", mrOk, true, true }, { "a:b", mrOk, true, true },
        { "", mrOk, false }, // an empty name leaves no project active
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalDriver driver;
        driver.OnForm("TFOpenConf", [&c](TCustomForm* f) {
            static_cast<TFOpenConf*>(f)->Name_Conf = c.name;
            f->SetModalResult(c.answer);
        });
        w->Btn_Open->Click();
        EXPECT_EQ(driver.MessageTexts(), c.refused ? QStringList { Lang(105) } : QStringList());
        if (c.active) {
            EXPECT_EQ(Project_Name, "Plant");
            EXPECT_EQ(Project_Folder, Folder + "/PROJECTS/Plant");
            EXPECT_EQ(w->L_Name_Conf->Caption(), Lang(11));
            EXPECT_EQ(w->L_Name_Conf_L2->Caption(), "Plant");
            EXPECT_EQ(File_HART_Variables, Folder + "/PROJECTS/Plant/HART_Variables.xml");
        } else {
            EXPECT_TRUE(Project_Folder.isEmpty());
            EXPECT_EQ(w->L_Name_Conf->Caption(), Lang(9));
            EXPECT_EQ(w->L_Name_Conf_L2->Caption(), Lang(10));
        }
        EXPECT_TRUE(driver.Failures().isEmpty());
    }
    FOpenConf = nullptr;
}

TEST_F(MainWindowTest, NewProjectShowsTheCreatedProject)
{
    TFMorvantinoFirmWare* w = Start();
    TFNew_Project dialog(nullptr);
    FNew_Project = &dialog;
    ModalDriver driver;
    // The dialog makes the project active itself; the main window only
    // shows it after an OK.
    driver.OnForm("TFNew_Project", [this](TCustomForm* f) {
        Project_Name = "Fresh";
        Project_Folder = Folder + "/PROJECTS/Fresh";
        f->SetModalResult(mrOk);
    });
    w->Btn_New->Click();
    EXPECT_EQ(w->L_Name_Conf->Caption(), Lang(11));
    EXPECT_EQ(w->L_Name_Conf_L2->Caption(), "Fresh");
    EXPECT_TRUE(driver.Failures().isEmpty());
    FNew_Project = nullptr;
}

TEST_F(MainWindowTest, LinksOpenTheMakersPages)
{
    TFMorvantinoFirmWare* w = Start();
    TFakeShell shell;
    IShellService* previous = services::SetShellService(&shell);
    EXPECT_EQ(w->L_Quolmi->Caption(), "www.example.com");
    EXPECT_EQ(w->L_Quolmi->Cursor(), crHandPoint);
    w->L_Quolmi->Click();
    w->LL_UpdateLinkClick(w->LL_Update, Maker_Download_Page);
    EXPECT_EQ(shell.Opened,
        (QStringList { "https://www.example.com/?frompg=RT41208", "https://www.example.com/download.html#KM41208" }));
    services::SetShellService(previous);
}

TEST_F(MainWindowTest, EdeFileNameGetsCsvUnlessItHasIt)
{
    const std::pair<QString, QString> cases[] = {
        { "/p/objects", "/p/objects.csv" },
        { "/p/objects.CsV", "/p/objects.CsV" },
        { "/p/objects.csv", "/p/objects.csv" },
        { "/p/objects.txt", "/p/objects.txt.csv" },
        { "/p/csv", "/p/csv.csv" },
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EDE_File_Name(in), out) << in.toStdString();
}

TEST_F(MainWindowTest, EdeFileReplacesAnExistingFileOnlyAfterYes)
{
    MakeProject("P");
    WriteSettings("<Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>");
    TFMorvantinoFirmWare* w = Start();
    QStringList written;
    w->Tables.Create_BACnet_EDE_File = [&written](const QString& name) { written << name; };
    TFakeFileDialog files;
    IFileDialogService* previous = services::SetFileDialogService(&files);
    const QString existing = Project_Folder + "/old.csv";
    ASSERT_TRUE(SaveFileAtomic(existing, "x").Ok);

    ModalDriver driver;
    files.Answer = Project_Folder + "/new";
    w->BACnet_EDE_File();
    EXPECT_EQ(written, QStringList { Project_Folder + "/new.csv" });
    EXPECT_TRUE(driver.Messages().empty());
    EXPECT_EQ(files.Requests.back().InitialDir, Project_Folder);
    EXPECT_EQ(files.Requests.back().Filter, "CSV (MS-DOS) (*.csv)|*.csv");

    for (TModalResult answer : { mrNo, mrCancel, mrYes }) {
        written.clear();
        driver.AnswerMessageBox(answer);
        files.Answer = existing;
        w->BACnet_EDE_File();
        EXPECT_EQ(written.size(), answer == mrYes ? 1 : 0);
        EXPECT_EQ(driver.Messages().back().Text, Lang(1103));
        EXPECT_EQ(driver.Messages().back().Buttons, mbYesNoCancel);
    }
    files.Answer.clear();
    written.clear();
    w->BACnet_EDE_File();
    EXPECT_TRUE(written.isEmpty());
    services::SetFileDialogService(previous);
}

TEST_F(MainWindowTest, UpdateDeviceCompilesThenOpensTheUpdateDialog)
{
    TFMorvantinoFirmWare* w = StartWithProject();
    TFBoot boot(nullptr);
    FBoot = &boot;
    boot.Form_Type = 0;
    int shown = 0;
    ModalDriver driver;
    driver.OnForm("TFBoot", [&shown](TCustomForm* f) {
        ++shown;
        EXPECT_EQ(static_cast<TFBoot*>(f)->Form_Type, 1);
        f->SetModalResult(mrCancel);
    });

    // A file where the bin folder should be: the images cannot be written.
    // One box names the file once, and the update dialog stays closed.
    const QString bin = Project_Folder + "/bin";
    testutil::WriteFile(bin, "not a folder");
    w->Btn_CreateBin->Click();
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
    EXPECT_EQ(driver.Messages()[0].Text.count(bin + "/bank1.bin"), 1) << driver.Messages()[0].Text.toStdString();

    // A missing bin folder is made again and the update goes on.
    ASSERT_TRUE(DeleteFile(bin));
    w->Btn_CreateBin->Click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(driver.Messages().size(), 1u);
    EXPECT_TRUE(FileExists(bin + "/bank1.bin"));
    EXPECT_TRUE(FileExists(bin + "/bank2.bin"));
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
    FBoot = nullptr;
}

// A damaged project file stops the update with one report naming it: no
// images from defaults, no update dialog, the images of the last build kept.
TEST_F(MainWindowTest, UpdateDeviceStopsOnADamagedProjectFile)
{
    TFMorvantinoFirmWare* w = StartWithProject();
    TFBoot boot(nullptr);
    FBoot = &boot;
    ASSERT_TRUE(ForceDirectories(Project_Folder + "/bin"));
    testutil::WriteFile(Project_Folder + "/bin/bank1.bin", "last build");
    for (const char* file : { "ParGen.xml", "HART_Variables.xml" }) {
        SCOPED_TRACE(file);
        const QString path = Project_Folder + "/" + file;
        testutil::WriteFile(path, "<Par_Gen><HART><Ethernet_IP1>10");
        ModalDriver driver;
        w->Btn_CreateBin->Click();
        ASSERT_EQ(driver.Messages().size(), 1u);
        EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
        EXPECT_EQ(driver.Messages()[0].Text.count(path), 1) << driver.Messages()[0].Text.toStdString();
        EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
        EXPECT_EQ(testutil::ReadFile(Project_Folder + "/bin/bank1.bin"), QByteArray("last build"));
        EXPECT_FALSE(FileExists(Project_Folder + "/bin/bank2.bin"));
        ASSERT_TRUE(DeleteFile(path));
    }
    FBoot = nullptr;
}

// A settings file that is there but cannot be read is reported once at
// start; the tool goes on with the defaults and leaves the file as it is
// unless the settings change, and then only after a Yes.
TEST_F(MainWindowTest, AnUnreadableSettingsFileIsReportedAndKept)
{
    const QByteArray damaged = "<Conf_Settings><lastlang><language>Italiano</language>";
    WriteSettings(damaged);
    const QString path = Folder + "/Morvantile.xml";
    {
        ModalDriver driver;
        TFMorvantinoFirmWare* w = Start();
        ASSERT_EQ(driver.Messages().size(), 1u);
        EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
        EXPECT_EQ(driver.Messages()[0].Text.count(path), 1) << driver.Messages()[0].Text.toStdString();
        EXPECT_EQ(Language_Name, "English");
        // Nothing changed: the close leaves the file and asks nothing.
        w->Close();
        EXPECT_EQ(driver.Messages().size(), 1u);
        EXPECT_EQ(testutil::ReadFile(path), damaged);
    }
    for (TModalResult answer : { mrNo, mrYes }) {
        SCOPED_TRACE(answer);
        ModalDriver driver;
        TFMorvantinoFirmWare* w = Start();
        Last_IP_Address = "10.0.0.9";
        driver.AnswerMessageBox(answer);
        w->Close();
        ASSERT_EQ(driver.Messages().size(), 2u);
        EXPECT_EQ(driver.Messages()[1].DlgType, mtConfirmation);
        EXPECT_TRUE(driver.Messages()[1].Text.contains(path));
        if (answer == mrNo)
            EXPECT_EQ(testutil::ReadFile(path), damaged);
        else
            EXPECT_TRUE(Settings().contains("<ipaddress>10.0.0.9</ipaddress>")) << Settings().toStdString();
    }
}

TEST_F(MainWindowTest, VersionCheckRunsAMinuteAfterArmingThenTwoHoursAfterEachCheck)
{
    WriteSettings(BothInternetFlags);
    TFMorvantinoFirmWare* w = Start();
    TTimer* t = w->Timer_Update;
    ASSERT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 60000u);

    TFakeClock clock;
    IClockService* previous = services::SetClockService(&clock);
    std::vector<std::uint64_t> checks;
    std::vector<bool> enabledDuring;
    w->Version_Check = [&]() {
        checks.push_back(GetTickCount64());
        enabledDuring.push_back(t->Enabled());
        clock.Ms += 2500; // the request takes its time
        return checks.size() == 1;
    };
    // The test clock stands in for the timer: each expiry comes one interval
    // after the timer was last armed.
    std::uint64_t armedAt = 0;
    for (int i = 0; i < 3; ++i) {
        clock.Ms = armedAt + t->Interval();
        t->Fire();
        // The check runs beside the event loop; its answer re-arms the timer.
        ASSERT_TRUE(testutil::PumpUntil([w] { return !w->Version_Check_Running(); }));
        armedAt = clock.Ms;
        ASSERT_TRUE(t->Enabled());
        if (i == 0) {
            EXPECT_TRUE(w->LL_Update->Visible());
            EXPECT_EQ(w->LL_Update->Caption(),
                "<a href=\"https://www.example.com/download.html#KM41208\">" + Lang(19) + "</a>");
        } else {
            EXPECT_FALSE(w->LL_Update->Visible());
        }
    }
    EXPECT_EQ(checks, (std::vector<std::uint64_t> { 60000, 7262500, 14465000 }));
    EXPECT_EQ(enabledDuring, (std::vector<bool> { false, false, false }));
    services::SetClockService(previous);

    // The options dialog re-arms it: off disables; on again keeps the two
    // hours the last check left, as the countdown only starts over.
    TFSoftOptions options(nullptr);
    FSoftOptions = &options;
    ModalDriver driver;
    bool wanted = false;
    driver.OnForm("TFSoftOptions", [&wanted](TCustomForm* f) {
        Opt_Enable_Internet = Opt_Enable_Update = wanted;
        f->SetModalResult(mrOk);
    });
    w->Btn_Opz->Click();
    EXPECT_FALSE(t->Enabled());
    EXPECT_TRUE(Settings().contains("<enable_internet>0</enable_internet>"));
    wanted = true;
    w->Btn_Opz->Click();
    EXPECT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 7200000u);
    EXPECT_TRUE(Settings().contains("<enable_update>1</enable_update>"));
    FSoftOptions = nullptr;
}

TEST_F(MainWindowTest, OptionsCancelledWritesNothing)
{
    TFMorvantinoFirmWare* w = Start();
    TFSoftOptions options(nullptr);
    FSoftOptions = &options;
    EXPECT_TRUE(Settings().isEmpty());
    ModalDriver driver;
    driver.OnForm("TFSoftOptions", [](TCustomForm* f) { f->SetModalResult(mrCancel); });
    w->Btn_Opz->Click();
    EXPECT_TRUE(Settings().isEmpty());
    EXPECT_FALSE(w->Timer_Update->Enabled());
    FSoftOptions = nullptr;
}

TEST_F(MainWindowTest, AFailedSettingsSaveIsReported)
{
    TFMorvantinoFirmWare* w = Start();
    // A folder where the file should be: nothing can replace it.
    ASSERT_TRUE(CreateDir(Folder + "/Morvantile.xml"));
    ModalDriver driver;
    w->Close();
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
    EXPECT_EQ(driver.Messages()[0].Text.count(Folder + "/Morvantile.xml"), 1)
        << driver.Messages()[0].Text.toStdString();
    EXPECT_TRUE(DirectoryExists(Folder + "/Morvantile.xml"));
}

// A tmpfs of a few pages mounted over a folder for the life of the guard;
// only the superuser may mount one.
class TTinyDisk {
public:
    explicit TTinyDisk(const QString& dir)
        : FDir(QFile::encodeName(dir))
    {
        FMounted = ::mount("tmpfs", FDir.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~TTinyDisk()
    {
        if (FMounted)
            ::umount2(FDir.constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    // Takes the room left, all of it or all but `spare` bytes.
    void Fill(const QString& file, qint64 spare = 0)
    {
        struct statvfs st { };
        ASSERT_EQ(::statvfs(FDir.constData(), &st), 0);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(qint64(st.f_bavail) * qint64(st.f_frsize) - spare + 4096, 'f'));
        f.close();
    }

private:
    QByteArray FDir;
    bool FMounted = false;
};

// A write that finds the disk full says so, from the error the system gave,
// and names the file once: a large image that fits only in part, and the
// small settings file on a disk with no room at all.
TEST_F(MainWindowTest, AFullDiskIsNamedAsSuch)
{
    TTinyDisk disk(Folder);
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small file system needs the superuser";
    TFMorvantinoFirmWare* w = StartWithProject();
    {
        TSaveBin bin;
        bin.Bank1_Buffer = QByteArray(2048, '\1');
        bin.Bank2_Buffer = QByteArray(256 * 1024, '\2');
        bin.Bank1_Size = int(bin.Bank1_Buffer.size());
        bin.Bank2_Size = int(bin.Bank2_Buffer.size());
        const TBinResult r = bin.Save_Banks();
        const QString bank2 = Project_Folder + "/bin/bank2.bin";
        ASSERT_FALSE(r.Ok);
        EXPECT_EQ(r.File, bank2);
        EXPECT_TRUE(r.Message.contains("disk is full")) << r.Message.toStdString();
        EXPECT_EQ(r.Message.count(bank2), 1) << r.Message.toStdString();
        EXPECT_FALSE(FileExists(bank2));
    }
    disk.Fill(Folder + "/filler");
    Last_IP_Address = "10.0.0.9";
    ModalDriver driver;
    EXPECT_FALSE(w->Save_Setting());
    ASSERT_EQ(driver.Messages().size(), 1u);
    const QString text = driver.Messages()[0].Text;
    EXPECT_TRUE(text.contains("disk is full")) << text.toStdString();
    EXPECT_EQ(text.count(Folder + "/Morvantile.xml"), 1) << text.toStdString();
    Window.reset();
}

// The LANGUAGE folder holds an English file of the built-in texts, so that a
// user who picked another language can pick English again; one that is there
// already, the user's own perhaps, stays as it is.
TEST_F(MainWindowTest, StartWritesTheEnglishLanguageFileWhenItIsMissing)
{
    const QString english = Folder + "/LANGUAGE/English.lng";
    Start();
    ASSERT_TRUE(FileExists(english));
    Init_Lang_Default();
    const QStringList builtIn = LanguageTable;
    for (QString& text : LanguageTable)
        text = "x";
    Load_Lang_File(english);
    EXPECT_EQ(LanguageTable, builtIn);
    Window.reset();

    ASSERT_TRUE(SaveFileAtomic(english, "STR15 = Mine\r\n").Ok);
    Start();
    EXPECT_EQ(testutil::ReadFile(english), QByteArray("STR15 = Mine\r\n"));
    EXPECT_EQ(Lang(15), "Mine");
}

TEST_F(MainWindowTest, AProgramThatCannotStartIsNamedInAnErrorBox)
{
    TFMorvantinoFirmWare* w = Start();
    ModalDriver driver;
    const QString missing = Folder + "/Ethernet_Update.exe";
    EXPECT_FALSE(w->Start_Program(missing, QString(), false));
    ASSERT_EQ(driver.Messages().size(), 1u);
    EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
    EXPECT_TRUE(driver.Messages()[0].Text.contains(missing));
}

TEST_F(MainWindowTest, WaitingForAProgramTakesNoInput)
{
    TFMorvantinoFirmWare* w = Start();
    w->Show();
    const QString script = Folder + "/update.sh";
    ASSERT_TRUE(SaveFileAtomic(script, "#!/bin/sh\nsleep 0.5\necho \"$2\" > \"$1\"\n").Ok);
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);

    auto clickClose = [w]() {
        QWidget* target = w->Btn_Close->Widget();
        const QPointF at(10, 10);
        const QPointF global = target->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
    };
    bool clickedDuringWait = false;
    QTimer::singleShot(100, [&]() {
        clickedDuringWait = true;
        clickClose();
    });
    const QString out = Folder + "/with blank.txt";
    EXPECT_TRUE(w->Start_Program(script, "\"" + out + "\" second", false));
    EXPECT_TRUE(clickedDuringWait);
    // The program ran to its end with both arguments; the click was dropped.
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().trimmed(), "second");
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(Settings().isEmpty());

    // The same click at any other time closes the window.
    clickClose();
    EXPECT_FALSE(w->Visible());
    EXPECT_FALSE(Settings().isEmpty());
}

TEST_F(MainWindowTest, WindowPicture)
{
    MakeProject("Plant A");
    WriteSettings("<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj></Conf_Settings>");
    TFMorvantinoFirmWare* w = Start();
    w->Show();
    const QImage img = w->PaintToImage();
    testutil::SaveImagePng(img, "main_window");
    EXPECT_EQ(img.size(), QSize(694, 396));
    EXPECT_TRUE(testutil::MatchesGolden(img, "main_window"));
}

} // namespace
