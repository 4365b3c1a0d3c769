// The program from its start: every form created once in the start-up order,
// the message loop until the main window closes, and the language switch
// reaching every form.
#include "app/core/LbButton.h"
#include "app/core/SharedStateGuard.h"
#include "app/core/UAbout.h"
#include "app/core/UBoot.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UNew_Project.h"
#include "app/core/UOpenConf.h"
#include "app/core/UParGen.h"
#include "app/core/USettings.h"
#include "app/core/USoftOptions.h"
#include "app/tables/UHARTVariables.h"
#include "app/tables/UHART_Scan.h"
#include "app/tables/UMorvantile_HART.h"
#include "app/tables/UProfinetFileName.h"
#include "app/tables/UTransmitJ1939.h"
#include "common/TestUtil.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ModalDriver.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/XmlDom.h"

#include <QFile>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

class StartupTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Folder = testutil::TempDir();
        Program_Folder_Source = [f = Folder]() { return f; };
        Application->Initialize();
        Create_Forms();
    }
    void TearDown() override
    {
        Application->DestroyComponents();
        Application->ResetTerminated();
        Program_Folder_Source = nullptr;
    }
    QString Folder;
};

TEST_F(StartupTest, EveryFormIsCreatedOnceInOrder)
{
    const QStringList expected { "TFMorvantinoFirmWare", "TFHART_Scan", "TFNew_Project", "TFOpenConf", "TFAbout",
        "TFSoftOptions", "TFParGen", "TFHARTVariables", "TFHART_Gateway", "TFBACnet_Eng_Unit", "TFBACnetSlaveSetAccess",
        "TFBoot", "TFProfinetFileName", "TFReceiveCAN", "TFTransmitCAN", "TFSet_PDO_Access", "TFSet_SDO_Client_Access",
        "TFSet_SDO_Server_Access", "TFReceiveJ1939", "TFTransmitJ1939", "TFMQTT_Set_Topic", "TFTopicTemplate",
        "TFSNMP_Trap_Access", "TFOPC_UA_Server_Access" };
    QStringList created;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        created << Application->Components(i)->ClassName();
    EXPECT_EQ(created, expected);
    EXPECT_EQ(Application->MainForm(), FMorvantinoFirmWare);
    EXPECT_TRUE(Application->MainFormOnTaskBar());
    // The later forms found the product code and the texts in place.
    EXPECT_EQ(FNew_Project->L_SW_Code->Caption(), "RT41208");
    EXPECT_EQ(FTransmitJ1939->L_SW_Code->Caption(), "RT41208");
    EXPECT_EQ(FHART_Scan->L_SW_Code->Caption(), "HART Scan");
    EXPECT_EQ(FHARTVariables->Caption(), "Definition of HART Variables List");
    for (const TTable_Form_Entry& e : FMorvantinoFirmWare->Tables.Forms) {
        ASSERT_TRUE(e.Form);
        EXPECT_NE(e.Form(), nullptr);
    }
}

TEST_F(StartupTest, FormsBuildNoWindowsUntilTheyAreShown)
{
    // Every control of every form is there, but no Qt widget: the forms
    // that stay hidden cost no windows at start.
    int windowed = 0;
    std::function<void(TWinControl*)> visit = [&](TWinControl* c) {
        ++windowed;
        EXPECT_FALSE(c->HandleAllocated()) << c->Name().toStdString();
        for (int i = 0; i < c->ControlCount(); ++i)
            if (auto* wc = dynamic_cast<TWinControl*>(c->Controls(i)))
                visit(wc);
    };
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TCustomForm*>(Application->Components(i)))
            visit(form);
    EXPECT_GT(windowed, 300);
    FParGen->Show();
    EXPECT_TRUE(FParGen->HandleAllocated());
    EXPECT_FALSE(FHARTVariables->HandleAllocated());
    FParGen->Hide();
}

TEST_F(StartupTest, RunsUntilTheMainWindowClosesAndSavesTheSettings)
{
    EXPECT_TRUE(Project_Folder.isEmpty());
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(Language_Name, "English");
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Jump_Field_Tables || Opt_Dbl_Click_Auto_Size);
    EXPECT_FALSE(FMorvantinoFirmWare->Timer_Update->Enabled());

    bool shownWhileRunning = false;
    QTimer::singleShot(0, [&]() {
        shownWhileRunning = FMorvantinoFirmWare->Showing();
        FMorvantinoFirmWare->Btn_Close->Click();
    });
    Application->Run();
    EXPECT_TRUE(shownWhileRunning);
    EXPECT_TRUE(Application->Terminated());

    ASSERT_TRUE(FileExists(Folder + "/Morvantile.xml"));
    Last_IP_Address.clear();
    Opt_Enable_Update = true;
    TXmlDocument xml;
    Read_Settings(xml);
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(Language_Name, "English");
    EXPECT_FALSE(Opt_Enable_Update);
}

TEST_F(StartupTest, LanguageSwitchRelabelsEveryForm)
{
    ASSERT_TRUE(SaveFileAtomic(Language_Folder + "/Italiano.lng",
        "STR15 = Nuova Configurazione\n"
        "STR100 = Crea Nuova Configurazione\n"
        "STR1200 = Variabili HART\n"
        "STR1503 = Aggiornamento\n"
        "STR1700 = Nome del file GSDML\n"
        "STR2400 = Trasmissione J1939\n")
                    .Ok);
    Language_Name = "Italiano";
    Load_Language();
    FMorvantinoFirmWare->Change_Language();
    EXPECT_EQ(FMorvantinoFirmWare->Btn_New->Caption(), "Nuova Configurazione");
    EXPECT_EQ(FNew_Project->Caption(), "Crea Nuova Configurazione");
    EXPECT_EQ(FHARTVariables->Caption(), "Variabili HART");
    EXPECT_EQ(FProfinetFileName->Caption(), "Nome del file GSDML");
    EXPECT_EQ(FTransmitJ1939->Caption(), "Trasmissione J1939");
    EXPECT_EQ(FBoot->L_SW_Desc->Caption(), "Aggiornamento");
}

} // namespace
