// The built-in English texts: every slot present, and samples of every
// block read back exactly as written (blanks, quotes and marks included).
#include "app/core/ULanguage.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageTexts, SamplesOfEveryBlockAreExact)
{
    Init_Lang_Default();
    ASSERT_EQ(LanguageTable.size(), 2900);
    struct Sample {
        int index;
        const char16_t* text;
    };
    const Sample samples[] = {
        { 0, u"Begin" },
        { 9, u"None Configuration Opened " },
        { 11, u"Opened Configuration of the Converter : " },
        { 56, u"Set the List of OPC UA Variables" },
        { 100, u"Create New Configuration" },
        { 110, u"Cancel the New Configuration" },
        { 200, u"Open Configuration" },
        { 207, u"Cancel open of Configuration" },
        { 300, u"Software Options" },
        { 304, u"Selected Language : " },
        { 305, u"Page " },
        { 321, u"Enable Auto Size of Table Columns by Double Click" },
        { 400, u"Set Communication" },
        { 411, u"MQTT " },
        { 499, u"SSID" },
        { 500, u"Insert the Service Set Identifier" },
        { 599, u"Baudrate" },
        { 600, u"Select Baudrate to use in CANopen Port" },
        { 699, u"Insert First byte of Default Gateway" },
        { 700, u"Insert Second byte of Default Gateway" },
        { 799, u"Error CANopen!! Delay must be between 0 and 255" },
        { 800, u"Error CANopen!! SDO Client TimeOut must be between 0 and 100000" },
        { 834, u"Error EtherNet/IP!! Number Byte Input must be between 0 and " },
        { 835, u"Error EtherNet/IP!! Number Byte Output must be between 0 and " },
        { 899, u"Error SNMP Agent!! IP Address 1 must be between 0 and 255" },
        { 900, u"Error SNMP Agent!! IP Address 2 must be between 0 and 255" },
        { 981, u"Error HART Master!! Diagnostic Position must be between 0 and " },
        { 1000, u"Set HART Gateway" },
        { 1028, u"Insert a description of HART Gateway Rule" },
        { 1100, u"Row Already used. Do you want to overwrite the values?" },
        { 1105, u"File already exists. Do you want to overwrite?" },
        { 1200, u"Definition of HART Variables List" },
        { 1237, u"Error row " },
        { 1246, u"!! Position Must be Between 0 and " },
        { 1252, u"!! TimeOut Must be Between 0 and 0xFFFFFFFF" },
        { 1300, u"BACnet Set Access" },
        { 1332, u"Error row " },
        { 1334, u"!! [BACnet in Read] Position must be between 0 and " },
        { 1362, u"Swap Word" },
        { 1400, u"Select the BACnet Engineering Unit" },
        { 1408, u"Select Engineering Unit" },
        { 1500, u"Update Device by Serial" },
        { 1537, u"Error!!! Check the Ip Address" },
        { 1600, u"HART Scan" },
        { 1601, u"Scan && Decode HART Network" },
        { 1625, u"Devices Search Started - Devices Found %d - Waiting..." },
        { 1643, u"Insert the Number of HART Devices present in the Network" },
        { 1700, u"PROFINET XML File Name" },
        { 1708, u"File already exists! Do you want to overwrite the file?" },
        { 1800, u"Receive CAN Frames Set Access" },
        { 1844, u"Error row " },
        { 1849, u"!! Byte1 must be between 0 and " },
        { 1858, u"Are you sure to delete the Row number " },
        { 1900, u"Transmit CAN Frames Set Access" },
        { 1947, u"Error row " },
        { 1952, u"!! Byte1 must be between 0 and " },
        { 1963, u"Enable or Disable the possibility to send the CAN Frame by Command" },
        { 2000, u"Set PDO Access" },
        { 2068, u"Error row " },
        { 2071, u"!! [Receive PDO] Address Byte1 must be between 0 and " },
        { 2091, u"Are you sure to delete the Row number " },
        { 2100, u"Set SDO Client Access" },
        { 2160, u"Error row " },
        { 2166, u"!! [SDO Read] Address Byte1 must be between 0 and " },
        { 2179, u"Are you sure to delete the Row number " },
        { 2200, u"Set SDO Server Access" },
        { 2250, u"Error row " },
        { 2254, u"!! [SDO in Read] Address Byte1 must be between 0 and " },
        { 2265, u"Are you sure to delete the Row number " },
        { 2300, u"Receive J1939 Frames" },
        { 2335, u"Error in row " },
        { 2345, u"Error!! Too many bytes of data, the max number is " },
        { 2347, u"Are you sure to delete the Row number " },
        { 2400, u"Transmit J1939 Frames" },
        { 2435, u"Error in row " },
        { 2440, u"!! Num Byte must be between 0 and " },
        { 2443, u"Are you sure to delete the Row number " },
        { 2500, u"Set MQTT Topics" },
        { 2523, u"Are you sure to delete the Row number " },
        { 2551, u"Error row " },
        { 2598, u"Enable/Disabel the Possibility to Swap the Word for Modbus Register" },
        { 2600, u"Set Topic" },
        { 2626, u"Description for the M-Bus meter (defined in the section “M-Bus”)" },
        { 2674, u"DALI Sensor" },
        { 2700, u"Set SNMP Trap Access" },
        { 2760, u"Error row " },
        { 2775, u"Are you sure to delete the Row number " },
        { 2786, u"!! [SNMP Write] Conversion must be selected" },
        { 2800, u"Definition of OPC UA Server Variables" },
        { 2827, u"Error row %d!! Position Must be Between 0 and %d" },
        { 2828, u"Are you sure to delete the Row number %d" },
        { 2830, u"Select the access of Var, Read Only or Read/Write for OPC UA Server Variable" },
    };
    for (const Sample& s : samples)
        EXPECT_EQ(Lang(s.index), QString::fromUtf16(s.text)) << s.index;
}

TEST(LanguageTexts, UnlistedSlotsHoldOneBlank)
{
    Init_Lang_Default();
    for (int i :
        { 57, 99, 111, 199, 208, 322, 467, 982, 999, 1029, 1106, 1253, 1363, 1409, 1538, 1644, 1709, 2831, 2899 })
        EXPECT_EQ(Lang(i), " ") << i;
}

} // namespace
