// The main window's behaviour: the click dispatch, the project and file
// actions, the settings on close, the language switch, the version-check
// timer and the wait for a started program.
#include "app/core/UMorvantinoFirmWare.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "app/core/LbButton.h"
#include "app/core/UAbout.h"
#include "app/core/UBoot.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UNew_Project.h"
#include "app/core/UOpenConf.h"
#include "app/core/UParGen.h"
#include "app/core/USaveBincc.h"
#include "app/core/USettings.h"
#include "app/core/USoftOptions.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Messages.h"
#include "platform/controls/Services.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/Process.h"

namespace {

// Drops user input and window-close requests while the tool waits for a
// program, so its windows repaint but nothing is clicked, typed or closed.
class TInputBlocker : public QObject {
public:
    TInputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~TInputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::ContextMenu:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }
};

// The command-line text as arguments: split at blanks, double quotes keep
// blanks inside an argument.
QStringList Split_Command_Line(const QString& text)
{
    QStringList args;
    QString current;
    bool quoted = false;
    bool any = false;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (ch.isSpace() && !quoted) {
            if (any)
                args << current;
            current.clear();
            any = false;
        } else {
            current += ch;
            any = true;
        }
    }
    if (any)
        args << current;
    return args;
}

} // namespace

void TFMorvantinoFirmWare::Show_Error(const QString& text)
{
    MessageDlg(text, mtError, TMsgDlgButtons(mbOK), 0);
}

void TFMorvantinoFirmWare::Btn_Click(TObject* Sender)
{
    // These act without a project.
    if (Sender == Btn_New) {
        Create_New_Project();
        return;
    }
    if (Sender == Btn_Open) {
        Open_Project();
        return;
    }
    if (Sender == Btn_Close) {
        Close();
        return;
    }
    if (Sender == Btn_Info) {
        if (FAbout)
            FAbout->ShowModal();
        return;
    }
    if (Sender == Btn_Opz) {
        if (FSoftOptions && FSoftOptions->ShowModal() == mrOk) {
            Save_Setting();
            Arm_Update_Timer();
        }
        return;
    }

    // Every other button needs an active project.
    if (Project_Folder.isEmpty()) {
        Show_Error(Lang(18));
        return;
    }
    if (Sender == Btn_Prm_Gen) {
        if (FParGen)
            FParGen->ShowModal();
    } else if (Sender == Btn_HART_Gateway) {
        Show_Table_Form(TTable_Form::HART_Gateway);
    } else if (Sender == Btn_HART_Variables) {
        Show_Table_Form(TTable_Form::HARTVariables);
    } else if (Sender == Btn_CAN_Rec_Frame) {
        Show_Table_Form(TTable_Form::ReceiveCAN);
    } else if (Sender == Btn_CAN_Send_Frame) {
        Show_Table_Form(TTable_Form::TransmitCAN);
    } else if (Sender == Btn_BACnet_SetAccess) {
        Show_Table_Form(TTable_Form::BACnetSlaveSetAccess);
    } else if (Sender == Btn_BACnet_EDE_File) {
        BACnet_EDE_File();
    } else if (Sender == Btn_PDO_CANopen) {
        Show_Table_Form(TTable_Form::Set_PDO_Access);
    } else if (Sender == Btn_SDO_Client_CANopen) {
        Show_Table_Form(TTable_Form::Set_SDO_Client_Access);
    } else if (Sender == Btn_SDO_Server_CANopen) {
        Show_Table_Form(TTable_Form::Set_SDO_Server_Access);
    } else if (Sender == Btn_CANopen_EDS) {
        Build_EDS_File();
    } else if (Sender == Btn_MQTT_Set_Topic) {
        Show_Table_Form(TTable_Form::MQTT_Set_Topic);
    } else if (Sender == Btn_SNMP_Trap) {
        Show_Table_Form(TTable_Form::SNMP_Trap_Access);
    } else if (Sender == Btn_SNMP_MIB) {
        if (Tables.Create_SNMP_MIB)
            Tables.Create_SNMP_MIB();
    } else if (Sender == Btn_OPC_UA_Server_Access) {
        Show_Table_Form(TTable_Form::OPC_UA_Server_Access);
    } else if (Sender == Btn_PROFIBUS_GSD) {
        if (Tables.Create_PROFIBUS_GSD)
            Tables.Create_PROFIBUS_GSD();
    } else if (Sender == Btn_PROFINET_XML) {
        PROFINET_XML();
    } else if (Sender == Btn_CreateBin) {
        Update_Device();
    }
    // Btn_PROFINET_Map has no action.
}

void TFMorvantinoFirmWare::Show_Table_Form(TTable_Form which)
{
    const TTable_Form_Entry& e = Tables.Forms[static_cast<int>(which)];
    if (TCustomForm* form = e.Form ? e.Form() : nullptr)
        form->ShowModal();
}

void TFMorvantinoFirmWare::Create_New_Project()
{
    if (!FNew_Project || FNew_Project->ShowModal() != mrOk)
        return;
    Show_Project_Labels();
}

void TFMorvantinoFirmWare::Open_Project()
{
    if (!FOpenConf || FOpenConf->ShowModal() != mrOk)
        return;
    const QString name = FOpenConf->Name_Conf;
    // Only a plain folder name under PROJECTS can become the active project;
    // a refused name changes nothing, so it is never remembered either.
    if (!name.isEmpty() && !Is_Safe_Project_Name(name)) {
        Show_Error(Lang(105));
        return;
    }
    Project_Name = name;
    Project_Folder = name.isEmpty() ? QString() : Join_Path(Projects_Folder, name);
    Show_Project_Labels();
    Set_Files();
}

bool TFMorvantinoFirmWare::Save_Setting()
{
    const TSaveResult r = Write_Settings(XML1);
    if (!r.Ok) {
        const QString file = Settings_File_Name();
        Show_Error(QStringLiteral("The settings file could not be saved:\n%1\n%2")
                       .arg(file, File_Error_Reason(r.Error, file)));
        return false;
    }
    return true;
}

void TFMorvantinoFirmWare::FormClose(TObject*, TCloseAction&)
{
    Save_Setting();
}

void TFMorvantinoFirmWare::Change_Language()
{
    Set_Lang();
    if (FNew_Project)
        FNew_Project->Set_Lang();
    if (FOpenConf)
        FOpenConf->Set_Lang();
    if (FSoftOptions)
        FSoftOptions->Set_Lang();
    if (FBoot)
        FBoot->Set_Lang();
    if (FParGen)
        FParGen->Set_Lang();
    for (const TTable_Form_Entry& e : Tables.Forms) {
        if (e.Set_Lang)
            e.Set_Lang();
    }
}

void TFMorvantinoFirmWare::Arm_Update_Timer()
{
    if (!(Opt_Enable_Internet && Opt_Enable_Update)) {
        Timer_Update->SetEnabled(false);
        return;
    }
    // A running check arms the timer when its answer comes.
    if (FVersion_Check.Running())
        return;
    // The interval stays as it is: a minute before the first check of the
    // run, two hours once a check has run.
    if (!Timer_Update->Enabled())
        Timer_Update->SetEnabled(true);
}

void TFMorvantinoFirmWare::Timer_UpdateTimer(TObject*)
{
    Timer_Update->SetEnabled(false);
    // The request is prepared here and runs on a worker: the window keeps
    // painting and answering until the answer comes back.
    TVersion_Fetch fetch;
    if (Version_Check)
        fetch = [check = Version_Check](
                    const std::atomic<bool>&) { return check() ? TVersion_Answer::Newer : TVersion_Answer::No_Newer; };
    else
        fetch = TFSoftOptions::Version_Fetch(HTTP1);
    // A check that got no answer hides the link as one without news does.
    FVersion_Check.Start(
        std::move(fetch), [this](TVersion_Answer answer) { Version_Checked(answer == TVersion_Answer::Newer); });
}

void TFMorvantinoFirmWare::Version_Checked(bool newer)
{
    if (newer) {
        LL_Update->SetCaption(QStringLiteral("<a href=\"%1\">%2</a>").arg(Maker_Download_Page, Lang(19)));
        LL_Update->SetVisible(true);
    } else {
        LL_Update->SetVisible(false);
    }
    // The options may have been switched off meanwhile. The next check comes
    // two hours after this one ended.
    if (Opt_Enable_Internet && Opt_Enable_Update) {
        Timer_Update->SetInterval(Update_Next_Interval);
        Timer_Update->SetEnabled(true);
    }
}

void TFMorvantinoFirmWare::LL_UpdateLinkClick(TObject*, const QString& Link)
{
    OpenURL(Link);
}

void TFMorvantinoFirmWare::L_QuolmiClick(TObject*)
{
    OpenURL(Maker_Home_Page);
}

bool TFMorvantinoFirmWare::Start_Program(const QString& NomeSW, const QString& Parameter, bool)
{
    TProcess process;
    process.SetProgram(NomeSW);
    process.SetArguments(Split_Command_Line(Parameter));
    if (!process.Start()) {
        Show_Error(QStringLiteral("The program \"%1\" could not be started.\n%2").arg(NomeSW, process.Error()));
        return false;
    }
    // No version check may start while the tool waits.
    const bool timerWasOn = Timer_Update->Enabled();
    Timer_Update->SetEnabled(false);
    {
        TInputBlocker blocker;
        process.WaitForEnd(Start_Program_Timeout, 10, []() { Application->ProcessMessages(); });
    }
    if (timerWasOn)
        Timer_Update->SetEnabled(true);
    return true;
}

void TFMorvantinoFirmWare::Update_Device()
{
    // A project file that cannot be read, or images that cannot be written,
    // stop the update: the device never gets images built from defaults.
    auto report = [this](const TBinResult& r) {
        switch (r.Failure) {
        case TBinFailure::Read:
            Show_File_Read_Error(r.File, r.Reason);
            break;
        case TBinFailure::Save:
            Show_File_Save_Error(r.File, r.Reason);
            break;
        default:
            Show_Error(r.Message);
            break;
        }
    };
    const TBinResult built = Build_Bin();
    if (!built.Ok) {
        report(built);
        return;
    }
    const TBinResult saved = Save_Bin();
    if (!saved.Ok) {
        report(saved);
        return;
    }
    if (!FBoot)
        return;
    FBoot->Form_Type = 1;
    FBoot->ShowModal();
}

void TFMorvantinoFirmWare::BACnet_EDE_File()
{
    SD1->InitialDir = Project_Folder;
    if (!SD1->Execute())
        return;
    const QString name = EDE_File_Name(SD1->FileName);
    if (FileExists(name)) {
        if (MessageDlg(Lang(1103), mtConfirmation, mbYesNoCancel, 0) != mrYes)
            return;
    }
    if (Tables.Create_BACnet_EDE_File)
        Tables.Create_BACnet_EDE_File(name);
}

void TFMorvantinoFirmWare::Build_EDS_File()
{
    SaveEDS->InitialDir = Project_Folder;
    if (!SaveEDS->Execute())
        return;
    if (Tables.Write_EDS_File)
        Tables.Write_EDS_File(SaveEDS->FileName);
}

void TFMorvantinoFirmWare::PROFINET_XML()
{
    const TTable_Form_Entry& e = Tables.Forms[static_cast<int>(TTable_Form::ProfinetFileName)];
    TCustomForm* form = e.Form ? e.Form() : nullptr;
    if (!form || form->ShowModal() != mrOk)
        return;
    if (Tables.Create_PROFINET_XML && Tables.Name_File_XML)
        Tables.Create_PROFINET_XML(Tables.Name_File_XML());
}
