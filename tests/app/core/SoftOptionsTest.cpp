// The options dialog: language pages and flags, the language switch, the
// check boxes, OK and Cancel, the version check against a small HTTP server
// on 127.0.0.1, and the pictures of its three pages.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/USoftOptions.h"
#include "common/LoopbackHttpServer.h"
#include "common/TestUtil.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Messages.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/FileUtils.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

const QString Version_Script_Path = QStringLiteral("/cgi-bin/version_check.php");

class TFakeShell : public IShellService {
public:
    bool OpenUrl(const QString& url) override
    {
        Opened << url;
        return true;
    }
    QStringList Opened;
};

// --- Fixture: a program folder, the main window and the dialog -------------

class SoftOptionsTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Folder = testutil::TempDir();
        Program_Folder_Source = [f = Folder]() { return f; };
        Version_Script_Url = Version_Script_Default;
    }
    void TearDown() override
    {
        Dialog.reset();
        Window.reset();
        Program_Folder_Source = nullptr;
        Version_Script_Url = Version_Script_Default;
    }
    // Starts the main window, then creates the dialog as start-up does.
    TFSoftOptions* Start()
    {
        Dialog.reset();
        // The start writes the English file of the built-in texts when there
        // is none; each test here decides which language files the folder holds.
        const QString english = LangFolder() + "/English.lng";
        const bool hadEnglish = QFile::exists(english);
        Window = std::make_unique<TFMorvantinoFirmWare>(nullptr);
        Window->DoCreate();
        if (!hadEnglish)
            QFile::remove(english);
        Dialog = std::make_unique<TFSoftOptions>(nullptr);
        FSoftOptions = Dialog.get();
        return Dialog.get();
    }
    QString LangFolder() const { return Folder + "/LANGUAGE"; }
    void WriteLang(const QString& name, const QByteArray& text = "STR15 = x\n")
    {
        ASSERT_TRUE(ForceDirectories(LangFolder()));
        ASSERT_TRUE(SaveFileAtomic(LangFolder() + "/" + name, text).Ok);
    }
    // A plain flag picture of one colour.
    void WriteFlag(const QString& name, int w, int h, TColor color)
    {
        ASSERT_TRUE(ForceDirectories(LangFolder()));
        TBitmap bmp;
        bmp.SetSize(w, h);
        bmp.Canvas()->Brush()->SetColor(color);
        bmp.Canvas()->FillRect(Rect(0, 0, w, h));
        bmp.SaveToFile(LangFolder() + "/" + name);
    }
    QString Settings() const
    {
        QFile f(Folder + "/Morvantile.xml");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // Slots shown on the page drawn, by their labels.
    QStringList ShownSlots() const
    {
        QStringList out;
        for (int k = 0; k < Lang_Slots; ++k) {
            if (Dialog->L_L[k]->Visible())
                out << Dialog->L_L[k]->Caption();
        }
        return out;
    }

    QString Folder;
    std::unique_ptr<TFMorvantinoFirmWare> Window;
    std::unique_ptr<TFSoftOptions> Dialog;
};

// --- Version numbers and answers --------------------------------------------

TEST(SoftOptionsVersion, ConvVersionReadsFourDigitsAroundTheSkippedPoint)
{
    const std::pair<QString, int> cases[] = {
        { "1.102", 1102 }, { "VER. 1.103", 1103 },
        { "VER.  1.103 ", 1103 }, // the text after the first blank is trimmed
        { "VER. 1,103", 1103 }, // the second character is skipped whatever it is
        { "VER. 1x103", 1103 }, { "VER. 1.1034", 1103 }, // characters past the fifth are not read
        { "VER. 1.10", -1 }, { "", -1 }, { "VER.1.103", -1 }, // no blank: the whole text is read
        { "VER. -.102", -1 }, // a sign is not a digit
        { "VER. $.ABC", -1 }, // nor is a hexadecimal prefix
        { QString::fromUtf8("VER. \u0661.\u0661\u0660\u0663"), -1 }, // digits of another script
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TFSoftOptions::Conv_Version(text), value) << text.toStdString();
}

TEST(SoftOptionsVersion, AnswersAboveTheOwnVersionAreNewer)
{
    const std::pair<QString, bool> cases[] = {
        { "VER. 1.103", true },
        { "ver. 1.103", true },
        { " \r\nVER. 2.000\r\n", true },
        { "VER. 1.102", false },
        { "VER. 1.101", false },
        { "VER. 0.000", false },
        { "ver. 0.000 ", false },
        { "", false },
        { "Not Found", false },
    };
    for (const auto& [answer, newer] : cases)
        EXPECT_EQ(TFSoftOptions::Version_Answer_Is_Newer(answer), newer) << answer.toStdString();
}

// --- The version check over HTTP ---------------------------------------------

TEST_F(SoftOptionsTest, VersionCheckAsksTheScriptOnceWithTheToolsHeaders)
{
    testutil::TLoopbackHttpServer server;
    ASSERT_TRUE(server.Listening());
    Version_Script_Url = server.Url(Version_Script_Path);
    TFSoftOptions* d = Start();

    struct Case {
        int status;
        QByteArray body;
        bool newer;
    } cases[] = {
        { 200, "VER. 1.103", true },
        { 200, "ver. 1.103\r\n", true },
        { 200, "VER. 1.102", false },
        { 200, "VER. 0.000", false },
        { 200, "", false },
        { 404, "VER. 1.103", false }, // an error page is no answer
        { 500, "VER. 1.103", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        SCOPED_TRACE(c.body.toStdString());
        server.Answer(c.status, c.body);
        EXPECT_EQ(d->Check_Version(), c.newer);
    }
    const QByteArray req = server.Request();
    EXPECT_TRUE(req.startsWith("GET /cgi-bin/version_check.php?nomesw=RT41208 HTTP/1.0\r\n")) << req.toStdString();
    EXPECT_TRUE(req.contains("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
    EXPECT_TRUE(req.contains("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"));
}

TEST_F(SoftOptionsTest, VersionCheckGivesUpOnASilentServerAndAClosedPort)
{
    TFSoftOptions* d = Start();
    {
        testutil::TLoopbackHttpServer server;
        ASSERT_TRUE(server.Listening());
        server.Answer(200, "VER. 1.103", true);
        Version_Script_Url = server.Url(Version_Script_Path);
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(d->Check_Version());
        // Bounded by its own time-out (the margin only keeps a loaded machine
        // from failing it).
        EXPECT_LT(t.elapsed(), 2 * Version_Check_Timeout + 5000);
        EXPECT_FALSE(server.Request().isEmpty());
    }
    // A port that was just closed: nobody listens there.
    quint16 port = 0;
    const int fd = testutil::ListenOnLoopback(4, &port);
    ASSERT_GE(fd, 0);
    ::close(fd);
    Version_Script_Url = QStringLiteral("http://127.0.0.1:%1/cgi-bin/version_check.php").arg(port);
    EXPECT_FALSE(d->Check_Version());
}

TEST_F(SoftOptionsTest, ImmediateCheckShowsTheLinkOrNoUpdate)
{
    testutil::TLoopbackHttpServer server;
    ASSERT_TRUE(server.Listening());
    Version_Script_Url = server.Url(Version_Script_Path);
    TFSoftOptions* d = Start();
    Opt_Enable_Internet = Opt_Enable_Update = true;
    d->Show();
    EXPECT_FALSE(d->LL_Check_Update->Visible());
    EXPECT_TRUE(d->Btn_Check_Update->Enabled());

    // The check runs beside the dialog's event loop; the button waits for its
    // answer.
    server.Answer(200, "VER. 1.103");
    d->Btn_Check_Update->Click();
    EXPECT_FALSE(d->Btn_Check_Update->Enabled());
    ASSERT_TRUE(testutil::PumpUntil([d] { return d->Btn_Check_Update->Enabled(); }));
    EXPECT_TRUE(d->LL_Check_Update->Visible());
    EXPECT_EQ(d->LL_Check_Update->Caption(),
        "<a href=\"https://www.example.com/download.html#KM41208\">New Version Available. Click Here for more "
        "Details</a>");
    TFakeShell shell;
    IShellService* previous = services::SetShellService(&shell);
    d->LL_Check_UpdateLinkClick(d->LL_Check_Update, Maker_Download_Page);
    services::SetShellService(previous);
    EXPECT_EQ(shell.Opened, QStringList { Maker_Download_Page });

    server.Answer(200, "VER. 1.102");
    d->Btn_Check_Update->Click();
    ASSERT_TRUE(testutil::PumpUntil([d] { return d->Btn_Check_Update->Enabled(); }));
    EXPECT_EQ(d->LL_Check_Update->Caption(), "No Update Available");
    EXPECT_TRUE(d->LL_Check_Update->Visible());

    // A check that got no answer says so: it found out nothing about updates.
    quint16 closedPort = 0;
    const int fd = testutil::ListenOnLoopback(4, &closedPort);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const struct {
        const char* what;
        QString url;
        int status;
    } failures[] = {
        { "a port nobody listens on", QStringLiteral("http://127.0.0.1:%1/cgi-bin/version_check.php").arg(closedPort),
            200 },
        { "an error status", server.Url(Version_Script_Path), 503 },
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        Version_Script_Url = f.url;
        server.Answer(f.status, "VER. 1.102");
        d->LL_Check_Update->SetCaption(QString());
        d->Btn_Check_Update->Click();
        ASSERT_TRUE(testutil::PumpUntil([d] { return d->Btn_Check_Update->Enabled(); }));
        EXPECT_EQ(d->LL_Check_Update->Caption().toStdString(), "The update server could not be reached.");
        EXPECT_TRUE(d->LL_Check_Update->Visible());
    }

    // Every opening hides it again.
    d->Hide();
    d->Show();
    EXPECT_FALSE(d->LL_Check_Update->Visible());
}

// The main window's timer runs the same check and shows its own link.
TEST_F(SoftOptionsTest, TimerCheckUsesTheDialogsVersionCheck)
{
    testutil::TLoopbackHttpServer server;
    ASSERT_TRUE(server.Listening());
    Version_Script_Url = server.Url(Version_Script_Path);
    Start();
    TFMorvantinoFirmWare* w = Window.get();
    server.Answer(200, "VER. 1.103");
    Window->Timer_Update->Fire();
    ASSERT_TRUE(testutil::PumpUntil([w] { return !w->Version_Check_Running(); }));
    EXPECT_TRUE(Window->LL_Update->Visible());
    server.Answer(503, "");
    Window->Timer_Update->Fire();
    ASSERT_TRUE(testutil::PumpUntil([w] { return !w->Version_Check_Running(); }));
    EXPECT_FALSE(Window->LL_Update->Visible());
}

// --- Language pages ----------------------------------------------------------

TEST_F(SoftOptionsTest, SevenLanguagesGiveTwoPages)
{
    for (const char* n : { "Greek", "english", "Deutsch", "Italiano", "francais", "Espanol", "Polski" })
        WriteLang(QString(n) + ".lng");
    TFSoftOptions* d = Start();
    d->Show();
    // Sorted without regard to letter case.
    EXPECT_EQ(d->SL_Languages,
        (QStringList {
            "Deutsch.lng", "english.lng", "Espanol.lng", "francais.lng", "Greek.lng", "Italiano.lng", "Polski.lng" }));
    EXPECT_EQ(d->PC_Options->ActivePage(), d->TS_Language);
    EXPECT_EQ(d->L_Sel_Lang->Caption(), "Selected Language : English");

    struct Step {
        TLbButton* press; // nullptr: as opened
        int page;
        QStringList names;
        bool prev, next;
    } steps[] = {
        { nullptr, 1, { "Deutsch", "english", "Espanol", "francais", "Greek", "Italiano" }, false, true },
        { d->Btn_Next, 2, { "Polski" }, true, false },
        { d->Btn_Next, 2, { "Polski" }, true, false }, // nothing past the last page
        { d->Btn_Prev, 1, { "Deutsch", "english", "Espanol", "francais", "Greek", "Italiano" }, false, true },
        { d->Btn_Prev, 1, { "Deutsch", "english", "Espanol", "francais", "Greek", "Italiano" }, false, true },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.press ? s.press->Name().toStdString() : "open");
        if (s.press)
            d->Btn_NextClick(s.press);
        EXPECT_EQ(d->Show_Page, s.page);
        EXPECT_EQ(d->L_Page_Lang->Caption(), QStringLiteral("Page %1 / 2").arg(s.page));
        EXPECT_EQ(ShownSlots(), s.names);
        EXPECT_EQ(d->Btn_Prev->Visible(), s.prev);
        EXPECT_EQ(d->Btn_Next->Visible(), s.next);
    }

    // Reopening rebuilds the list and starts again at page 1.
    d->Btn_NextClick(d->Btn_Next);
    DeleteFile(LangFolder() + "/Polski.lng");
    d->Hide();
    d->Show();
    EXPECT_EQ(d->Show_Page, 1);
    EXPECT_EQ(d->L_Page_Lang->Caption(), "Page 1 / 1");
    EXPECT_FALSE(d->Btn_Next->Visible());
}

TEST_F(SoftOptionsTest, OnlyWritableLanguageFilesTheLoaderCanOpenAreListed)
{
    WriteLang("Italiano.lng");
    WriteLang("Locked.lng");
    QFile::setPermissions(LangFolder() + "/Locked.lng", QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    WriteLang("Shouting.LNG"); // the loader asks for ".lng" exactly
    WriteLang(".lng"); // no language name
    ASSERT_TRUE(ForceDirectories(LangFolder() + "/Folder.lng"));
    TFSoftOptions* d = Start();
    d->Show();
    EXPECT_EQ(d->SL_Languages, QStringList { "Italiano.lng" });
    EXPECT_EQ(ShownSlots(), QStringList { "Italiano" });
}

TEST_F(SoftOptionsTest, FlagsFallBackToTheDefaultFlagThenToNone)
{
    WriteLang("Deutsch.lng");
    WriteLang("Italiano.lng");
    WriteFlag("Italiano.bmp", 40, 28, clGreen);
    WriteFlag("DefaultFlag.bmp", 20, 14, clGray);
    TFSoftOptions* d = Start();
    d->Show();
    // Italiano shows its own flag, Deutsch the default one.
    ASSERT_EQ(ShownSlots(), (QStringList { "Deutsch", "Italiano" }));
    EXPECT_TRUE(d->I_L[0]->Visible());
    EXPECT_EQ(d->I_L[0]->Picture()->Width(), 20);
    EXPECT_TRUE(d->I_L[1]->Visible());
    EXPECT_EQ(d->I_L[1]->Picture()->Width(), 40);

    // Without the default flag the slot shows only the name; a damaged flag
    // picture does the same.
    DeleteFile(LangFolder() + "/DefaultFlag.bmp");
    ASSERT_TRUE(SaveFileAtomic(LangFolder() + "/Italiano.bmp", "BM not a picture").Ok);
    d->Hide();
    d->Show();
    ASSERT_EQ(ShownSlots(), (QStringList { "Deutsch", "Italiano" }));
    EXPECT_FALSE(d->I_L[0]->Visible());
    EXPECT_FALSE(d->I_L[1]->Visible());
}

TEST_F(SoftOptionsTest, NoLanguageFilesLeaveNothingToPick)
{
    WriteLang("Italiano.lng");
    TFSoftOptions* d = Start();
    d->Show();
    ASSERT_EQ(ShownSlots(), QStringList { "Italiano" });
    // The file goes; the next opening must not offer it any more.
    d->Hide();
    DeleteFile(LangFolder() + "/Italiano.lng");
    d->Show();
    EXPECT_TRUE(d->SL_Languages.isEmpty());
    EXPECT_EQ(d->L_Page_Lang->Caption(), "Page 1 / 0");
    EXPECT_FALSE(d->Btn_Prev->Visible());
    EXPECT_FALSE(d->Btn_Next->Visible());
    EXPECT_EQ(d->L_L[0]->Caption(), "");
    EXPECT_FALSE(d->I_L[0]->Visible());

    ModalDriver driver;
    d->LangClick(d->L_L[0]);
    d->LangClick(d->I_L[0]);
    EXPECT_TRUE(driver.Messages().empty());
    EXPECT_EQ(d->Language_In_Use, "English");
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

// --- Check boxes, OK and Cancel ------------------------------------------------

TEST_F(SoftOptionsTest, UpdateOptionAndCheckButtonFollowTheInternetOption)
{
    TFSoftOptions* d = Start();
    d->Show();
    struct Case {
        bool internet, update;
        bool updateEnabled, checkEnabled;
    } cases[] = {
        { false, false, false, false }, { true, false, true, false }, { true, true, true, true },
        { false, true, false, false }, // the tick stays, but nothing can be checked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.internet << c.update);
        // The user clicks: any box's click applies the rule.
        if (d->CB_Update->Checked() != c.update)
            d->CB_Update->Toggle();
        if (d->CB_En_Con->Checked() != c.internet)
            d->CB_En_Con->Toggle();
        EXPECT_EQ(d->CB_Update->Enabled(), c.updateEnabled);
        EXPECT_EQ(d->Btn_Check_Update->Enabled(), c.checkEnabled);
    }
    // A table option's click applies the rule too.
    d->CB_Update->SetEnabled(true);
    d->CB_Soft_Set_Jump_Table->Toggle();
    EXPECT_FALSE(d->CB_Update->Enabled());
}

TEST_F(SoftOptionsTest, OkStoresTheOptionsAndArmsTheTimerWhileCancelChangesNothing)
{
    Start();
    Opt_Enable_Internet = true;
    Opt_Enable_Update = false;
    Opt_Jump_Field_Tables = false;
    Opt_Dbl_Click_Auto_Size = true;

    ModalDriver driver;
    // Opening ticks the boxes from the options; Cancel then changes nothing.
    driver.OnForm(
        "TFSoftOptions",
        [](TCustomForm* f) {
            auto* o = static_cast<TFSoftOptions*>(f);
            EXPECT_TRUE(o->CB_En_Con->Checked());
            EXPECT_FALSE(o->CB_Update->Checked());
            EXPECT_TRUE(o->CB_Update->Enabled());
            EXPECT_FALSE(o->Btn_Check_Update->Enabled());
            EXPECT_FALSE(o->CB_Soft_Set_Jump_Table->Checked());
            EXPECT_TRUE(o->CB_DoubleClick_Auto_Size->Checked());
            o->CB_Update->Toggle();
            o->CB_Soft_Set_Jump_Table->Toggle();
            o->Btn_Cancel->Click();
        },
        1);
    Window->Btn_Opz->Click();
    EXPECT_FALSE(Opt_Enable_Update);
    EXPECT_FALSE(Opt_Jump_Field_Tables);
    EXPECT_FALSE(Window->Timer_Update->Enabled());
    EXPECT_TRUE(Settings().isEmpty());

    driver.OnForm(
        "TFSoftOptions",
        [](TCustomForm* f) {
            auto* o = static_cast<TFSoftOptions*>(f);
            EXPECT_FALSE(o->CB_Update->Checked()); // the cancelled tick is gone
            o->CB_Update->Toggle();
            o->CB_Soft_Set_Jump_Table->Toggle();
            o->CB_DoubleClick_Auto_Size->Toggle();
            o->Btn_OK->Click();
        },
        1);
    Window->Btn_Opz->Click();
    EXPECT_TRUE(Opt_Enable_Internet);
    EXPECT_TRUE(Opt_Enable_Update);
    EXPECT_TRUE(Opt_Jump_Field_Tables);
    EXPECT_FALSE(Opt_Dbl_Click_Auto_Size);
    EXPECT_TRUE(Window->Timer_Update->Enabled());
    EXPECT_EQ(Window->Timer_Update->Interval(), Update_First_Interval);
    EXPECT_TRUE(Settings().contains("<enable_update>1</enable_update>"));
    EXPECT_TRUE(Settings().contains("<Double_Click_Auto_Size>0</Double_Click_Auto_Size>"));

    // Unticking the internet option stops the timer.
    driver.OnForm(
        "TFSoftOptions",
        [](TCustomForm* f) {
            auto* o = static_cast<TFSoftOptions*>(f);
            o->CB_En_Con->Toggle();
            o->Btn_OK->Click();
        },
        1);
    Window->Btn_Opz->Click();
    EXPECT_FALSE(Opt_Enable_Internet);
    EXPECT_FALSE(Window->Timer_Update->Enabled());
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

// --- The language switch --------------------------------------------------------

TEST_F(SoftOptionsTest, LanguageSwitchThenCancelKeepsTheNewTextsForThisRunOnly)
{
    WriteLang("Italiano.lng",
        "STR15 = Nuova Configurazione\nSTR300 = Opzioni Software\n"
        // Pilcrows (in the ANSI code page) keep the trailing blanks.
        "STR304 = \xB6Lingua Selezionata : \xB6\nSTR305 = \xB6Pagina \xB6\nSTR312 = Conferma\n");
    WriteLang("Deutsch.lng", "STR15 = Neue Konfiguration\n");
    Start();
    ASSERT_EQ(Window->Btn_New->Caption(), "New Configuration");

    ModalDriver driver;
    QStringList asked;
    driver.OnMessageBox([&asked](const TMessageBoxRequest& r) {
        asked << r.Text;
        return asked.size() == 1 ? mrNo : mrYes;
    });
    driver.OnForm(
        "TFSoftOptions",
        [this](TCustomForm* f) {
            auto* o = static_cast<TFSoftOptions*>(f);
            ASSERT_EQ(ShownSlots(), (QStringList { "Deutsch", "Italiano" }));
            // No: nothing changes.
            o->L_L[1]->Click();
            EXPECT_EQ(o->Language_In_Use, "English");
            EXPECT_EQ(Window->Btn_New->Caption(), "New Configuration");
            // Yes: every form shows the new texts at once.
            o->I_L[1]->Click();
            EXPECT_EQ(o->Language_In_Use, "Italiano");
            EXPECT_EQ(Language_Name, "English");
            EXPECT_EQ(Window->Btn_New->Caption(), "Nuova Configurazione");
            EXPECT_EQ(o->Caption(), "Opzioni Software");
            EXPECT_EQ(o->Btn_OK->Caption(), "Conferma");
            EXPECT_EQ(o->L_Sel_Lang->Caption(), "Lingua Selezionata : Italiano");
            // The page shown is drawn again in the new language.
            EXPECT_EQ(o->L_Page_Lang->Caption(), "Pagina 1 / 1");
            EXPECT_EQ(ShownSlots(), (QStringList { "Deutsch", "Italiano" }));
            o->Btn_Cancel->Click();
        },
        1);
    Window->Btn_Opz->Click();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], "Do you want to change the Language from English to Italiano?");
    ASSERT_EQ(driver.Messages().size(), 2u);
    EXPECT_EQ(driver.Messages()[0].DlgType, mtConfirmation);
    EXPECT_EQ(driver.Messages()[0].Buttons, mbYesNo);

    // The rest of the run stays in the new language; the next start does not.
    EXPECT_EQ(Language_Name, "English");
    EXPECT_EQ(Window->Btn_New->Caption(), "Nuova Configurazione");
    EXPECT_TRUE(Settings().isEmpty());
    Window->Close();
    EXPECT_TRUE(Settings().contains("<language>English</language>"));
    Start();
    EXPECT_EQ(Window->Btn_New->Caption(), "New Configuration");

    // A switch confirmed with OK is what the next start uses.
    asked.clear();
    driver.OnForm(
        "TFSoftOptions",
        [](TCustomForm* f) {
            auto* o = static_cast<TFSoftOptions*>(f);
            o->L_L[0]->Click(); // first answer No
            o->L_L[0]->Click();
            o->Btn_OK->Click();
        },
        1);
    Window->Btn_Opz->Click();
    EXPECT_EQ(Language_Name, "Deutsch");
    EXPECT_TRUE(Settings().contains("<language>Deutsch</language>"));
    Start();
    EXPECT_EQ(Window->Btn_New->Caption(), "Neue Konfiguration");
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

TEST_F(SoftOptionsTest, ALanguageFileGoneBeforeItIsPickedFallsBackToEnglish)
{
    WriteLang("Italiano.lng", "STR15 = Nuova Configurazione\n");
    TFSoftOptions* d = Start();
    d->Show();
    DeleteFile(LangFolder() + "/Italiano.lng");
    ModalDriver driver;
    driver.AnswerMessageBox(mrYes);
    d->LangClick(d->L_L[0]);
    EXPECT_EQ(d->Language_In_Use, "English");
    EXPECT_EQ(Language_Name, "English");
    EXPECT_EQ(Window->Btn_New->Caption(), "New Configuration");
    EXPECT_TRUE(driver.Failures().isEmpty()) << driver.Failures().join("; ").toStdString();
}

// --- Pictures ---------------------------------------------------------------------

TEST_F(SoftOptionsTest, PagesPictures)
{
    const std::pair<const char*, TColor> flags[] = {
        { "Deutsch", clYellow },
        { "English", clNavy },
        { "Espanol", clRed },
        { "Italiano", clGreen },
    };
    for (const auto& [name, color] : flags) {
        WriteLang(QString(name) + ".lng");
        WriteFlag(QString(name) + ".bmp", 48, 32, color);
    }
    WriteLang("Polski.lng"); // no flag of its own
    WriteFlag("DefaultFlag.bmp", 48, 32, clSilver);
    WriteLang("Suomi.lng");
    WriteLang("Svenska.lng"); // on page 2
    TFSoftOptions* d = Start();
    Opt_Enable_Internet = true;
    Opt_Enable_Update = true;
    Opt_Jump_Field_Tables = true;
    d->Show();

    const std::pair<TTabSheet*, const char*> pages[] = {
        { d->TS_Language, "options_page_language" },
        { d->TS_Con_Options, "options_page_connection" },
        { d->TS_Soft_Settings, "options_page_settings" },
    };
    for (const auto& [sheet, name] : pages) {
        SCOPED_TRACE(name);
        d->PC_Options->SetActivePage(sheet);
        const QImage img = d->PaintToImage();
        testutil::SaveImagePng(img, name);
        EXPECT_EQ(img.size(), QSize(460, 380));
        EXPECT_TRUE(testutil::MatchesGolden(img, name));
    }
}

} // namespace
