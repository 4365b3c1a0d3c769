#include "app/core/UComon.h"

QString Program_Folder;
QString Master_Folder;
QString Projects_Folder;
QString Language_Folder;

QString Project_Name;
QString Project_Folder;

QString Main_Caption;
QString SW_Code;
QString SW_Desc;

QString Last_IP_Address = Default_IP_Address;
int Update_Option = 0;
bool Update_Read_Back = true;
QString Language_Name = QStringLiteral("English");

bool Opt_Enable_Internet = false;
bool Opt_Enable_Update = false;
bool Opt_Jump_Field_Tables = false;
bool Opt_Dbl_Click_Auto_Size = false;

QString File_ParGen;
QString File_HART_Gateway;
QString File_HART_Variables;
QString File_CAN_Rec_Frames;
QString File_CAN_Send_Frames;
QString File_BACnet_Slave;
QString File_SDO_Server_CANopen;
QString File_SDO_Client_CANopen;
QString File_PDO_CANopen;
QString File_J1939_Rec_Frames;
QString File_J1939_Send_Frames;
QString File_MQTT_Set_Topic;
QString File_SNMP_Trap;
QString File_OPC_UA_Server;

QString Join_Path(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

void Set_Project_Files()
{
    File_ParGen = Join_Path(Project_Folder, QStringLiteral("ParGen.xml"));
    File_HART_Gateway = Join_Path(Project_Folder, QStringLiteral("HART_Gateway.xml"));
    File_HART_Variables = Join_Path(Project_Folder, QStringLiteral("HART_Variables.xml"));
    File_CAN_Rec_Frames = Join_Path(Project_Folder, QStringLiteral("CAN_Rec_Frames.xml"));
    File_CAN_Send_Frames = Join_Path(Project_Folder, QStringLiteral("CAN_Send_Frames.xml"));
    File_BACnet_Slave = Join_Path(Project_Folder, QStringLiteral("BACnet_Slave.xml"));
    File_SDO_Server_CANopen = Join_Path(Project_Folder, QStringLiteral("SDO_Server_CANopen.xml"));
    File_SDO_Client_CANopen = Join_Path(Project_Folder, QStringLiteral("SDO_Client_CANopen.xml"));
    File_PDO_CANopen = Join_Path(Project_Folder, QStringLiteral("PDO_CANopen.xml"));
    File_J1939_Rec_Frames = Join_Path(Project_Folder, QStringLiteral("J1939_Rec_Frames.xml"));
    File_J1939_Send_Frames = Join_Path(Project_Folder, QStringLiteral("J1939_Send_Frames.xml"));
    File_MQTT_Set_Topic = Join_Path(Project_Folder, QStringLiteral("MQTT_Set_Topic.xml"));
    File_SNMP_Trap = Join_Path(Project_Folder, QStringLiteral("SNMP_Trap.xml"));
    File_OPC_UA_Server = Join_Path(Project_Folder, QStringLiteral("OPC_UA_Server.xml"));
}
