#pragma once
// Keeps the configurator's program-wide state as a test found it: a fixture
// holds one as its first member, so whatever the test set (folders, the active
// project, options, the language table, form singletons, replaced services)
// is put back after its TearDown, even when an assertion ended it early.

#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "app/core/UAbout.h"
#include "app/core/UBoot.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UNew_Project.h"
#include "app/core/UOpenConf.h"
#include "app/core/USoftOptions.h"
#include "platform/controls/Services.h"

class TSharedStateGuard {
public:
    TSharedStateGuard()
    {
        for (QString* text : { &Program_Folder, &Master_Folder, &Projects_Folder, &Language_Folder, &Project_Name,
                 &Project_Folder, &Main_Caption, &SW_Code, &SW_Desc, &Last_IP_Address, &Language_Name, &File_ParGen,
                 &File_HART_Gateway, &File_HART_Variables, &File_CAN_Rec_Frames, &File_CAN_Send_Frames,
                 &File_BACnet_Slave, &File_SDO_Server_CANopen, &File_SDO_Client_CANopen, &File_PDO_CANopen,
                 &File_J1939_Rec_Frames, &File_J1939_Send_Frames, &File_MQTT_Set_Topic, &File_SNMP_Trap,
                 &File_OPC_UA_Server, &Version_Script_Url })
            FTexts.push_back({ text, *text });
        for (bool* flag : { &Update_Read_Back, &Opt_Enable_Internet, &Opt_Enable_Update, &Opt_Jump_Field_Tables,
                 &Opt_Dbl_Click_Auto_Size })
            FFlags.push_back({ flag, *flag });
        // A service is read by replacing it: each is put back at once.
        FMessageBox = services::SetMessageBoxService(nullptr);
        services::SetMessageBoxService(FMessageBox);
        FFileDialog = services::SetFileDialogService(nullptr);
        services::SetFileDialogService(FFileDialog);
        FShell = services::SetShellService(nullptr);
        services::SetShellService(FShell);
        FBeep = services::SetBeepService(nullptr);
        services::SetBeepService(FBeep);
        FClock = services::SetClockService(nullptr);
        services::SetClockService(FClock);
    }
    ~TSharedStateGuard()
    {
        for (const auto& [text, saved] : FTexts)
            *text = saved;
        for (const auto& [flag, saved] : FFlags)
            *flag = saved;
        Update_Option = FUpdate_Option;
        LanguageTable = FLanguageTable;
        Lang_Count = FLang_Count;
        Lang_Use_Recorder = FLang_Use_Recorder;
        Program_Folder_Source = FProgram_Folder_Source;
        FMorvantinoFirmWare = FMain;
        FNew_Project = FNew;
        FOpenConf = FOpen;
        FAbout = FAboutForm;
        FSoftOptions = FOptions;
        FBoot = FBootForm;
        services::SetMessageBoxService(FMessageBox);
        services::SetFileDialogService(FFileDialog);
        services::SetShellService(FShell);
        services::SetBeepService(FBeep);
        services::SetClockService(FClock);
    }
    TSharedStateGuard(const TSharedStateGuard&) = delete;
    TSharedStateGuard& operator=(const TSharedStateGuard&) = delete;

private:
    std::vector<std::pair<QString*, QString>> FTexts;
    std::vector<std::pair<bool*, bool>> FFlags;
    int FUpdate_Option = Update_Option;
    QStringList FLanguageTable = LanguageTable;
    int FLang_Count = Lang_Count;
    std::set<int>* FLang_Use_Recorder = Lang_Use_Recorder;
    std::function<QString()> FProgram_Folder_Source = Program_Folder_Source;
    TFMorvantinoFirmWare* FMain = FMorvantinoFirmWare;
    TFNew_Project* FNew = FNew_Project;
    TFOpenConf* FOpen = FOpenConf;
    TFAbout* FAboutForm = FAbout;
    TFSoftOptions* FOptions = FSoftOptions;
    TFBoot* FBootForm = FBoot;
    IMessageBoxService* FMessageBox = nullptr;
    IFileDialogService* FFileDialog = nullptr;
    IShellService* FShell = nullptr;
    IBeepService* FBeep = nullptr;
    IClockService* FClock = nullptr;
};
