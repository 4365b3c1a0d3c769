#include "app/tables/UMorvantile_HART.h"

#include "app/core/UAbout.h"
#include "app/core/UBoot.h"
#include "app/core/UMorvantinoFirmWare.h"
#include "app/core/UNew_Project.h"
#include "app/core/UOpenConf.h"
#include "app/core/UParGen.h"
#include "app/core/USoftOptions.h"
#include "app/tables/UBACnetSlaveSetAccess.h"
#include "app/tables/UBACnet_Eng_Unit.h"
#include "app/tables/UHARTVariables.h"
#include "app/tables/UHART_Gateway.h"
#include "app/tables/UHART_Scan.h"
#include "app/tables/UMQTT_Set_Topic.h"
#include "app/tables/UOPC_UA_Server_Access.h"
#include "app/tables/UProfibusGSD.h"
#include "app/tables/UProfinetFileName.h"
#include "app/tables/UProfinetXML.h"
#include "app/tables/UReceiveCAN.h"
#include "app/tables/UReceiveJ1939.h"
#include "app/tables/USNMP_Trap_Access.h"
#include "app/tables/USet_PDO_Access.h"
#include "app/tables/USet_SDO_Client_Access.h"
#include "app/tables/USet_SDO_Server_Access.h"
#include "app/tables/UTopicTemplate.h"
#include "app/tables/UTransmitCAN.h"
#include "app/tables/UTransmitJ1939.h"
#include "controls/grid/ExGridUnit.h"
#include "platform/controls/Bootstrap.h"
#include "platform/controls/Forms.h"

namespace {

// One entry: the singleton as it is when asked, and its Set_Lang.
template <class T> TTable_Form_Entry Entry(T*& singleton)
{
    T** ref = &singleton;
    return TTable_Form_Entry { [ref]() -> TCustomForm* { return *ref; },
        [ref]() {
            if (*ref)
                (*ref)->Set_Lang();
        } };
}

} // namespace

void Register_Table_Forms()
{
    if (!FMorvantinoFirmWare)
        return;
    TTable_Services& t = FMorvantinoFirmWare->Tables;
    auto set = [&t](TTable_Form which, TTable_Form_Entry e) { t.Forms[static_cast<int>(which)] = std::move(e); };
    set(TTable_Form::HART_Gateway, Entry(FHART_Gateway));
    set(TTable_Form::HART_Scan, Entry(FHART_Scan));
    set(TTable_Form::HARTVariables, Entry(FHARTVariables));
    set(TTable_Form::ReceiveCAN, Entry(FReceiveCAN));
    set(TTable_Form::TransmitCAN, Entry(FTransmitCAN));
    set(TTable_Form::BACnetSlaveSetAccess, Entry(FBACnetSlaveSetAccess));
    set(TTable_Form::BACnet_Eng_Unit, Entry(FBACnet_Eng_Unit));
    set(TTable_Form::Set_PDO_Access, Entry(FSet_PDO_Access));
    set(TTable_Form::Set_SDO_Client_Access, Entry(FSet_SDO_Client_Access));
    set(TTable_Form::Set_SDO_Server_Access, Entry(FSet_SDO_Server_Access));
    set(TTable_Form::ReceiveJ1939, Entry(FReceiveJ1939));
    set(TTable_Form::TransmitJ1939, Entry(FTransmitJ1939));
    set(TTable_Form::MQTT_Set_Topic, Entry(FMQTT_Set_Topic));
    set(TTable_Form::TopicTemplate, Entry(FTopicTemplate));
    set(TTable_Form::SNMP_Trap_Access, Entry(FSNMP_Trap_Access));
    set(TTable_Form::OPC_UA_Server_Access, Entry(FOPC_UA_Server_Access));
    set(TTable_Form::ProfinetFileName, Entry(FProfinetFileName));
    t.Name_File_XML = []() { return FProfinetFileName ? FProfinetFileName->Name_File_XML : QString(); };
    t.Create_PROFINET_XML = Create_PROFINET_XML;
    t.Create_PROFIBUS_GSD = Create_PROFIBUS_GSD;
}

void Create_Forms()
{
    Application->SetMainFormOnTaskBar(true);
    Application->CreateForm(FMorvantinoFirmWare);
    Application->CreateForm(FHART_Scan);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
    Application->CreateForm(FParGen);
    Application->CreateForm(FHARTVariables);
    Application->CreateForm(FHART_Gateway);
    Application->CreateForm(FBACnet_Eng_Unit);
    Application->CreateForm(FBACnetSlaveSetAccess);
    Application->CreateForm(FBoot);
    Application->CreateForm(FProfinetFileName);
    Application->CreateForm(FReceiveCAN);
    Application->CreateForm(FTransmitCAN);
    Application->CreateForm(FSet_PDO_Access);
    Application->CreateForm(FSet_SDO_Client_Access);
    Application->CreateForm(FSet_SDO_Server_Access);
    Application->CreateForm(FReceiveJ1939);
    Application->CreateForm(FTransmitJ1939);
    Application->CreateForm(FMQTT_Set_Topic);
    Application->CreateForm(FTopicTemplate);
    Application->CreateForm(FSNMP_Trap_Access);
    Application->CreateForm(FOPC_UA_Server_Access);
    Register_Table_Forms();
}

int Run_Morvantile_HART(int argc, char** argv, const std::function<void()>& started)
{
    const int code = RunApplication(argc, argv, [&started]() {
        // The grids' process-wide state comes before the first form.
        ExGridStartup();
        Create_Forms();
        if (started)
            started();
    });
    ExGridShutdown();
    return code;
}
