#include "app/core/UComon.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(Comon, CheckIPAddress)
{
    struct Case {
        const char* text;
        bool ok;
        const char *o1, *o2, *o3, *o4;
    };
    const Case cases[] = {
        { "  192.168.2.205  ", true, "192", "168", "2", "205" },
        { "192 . 168 .2. 205", true, "192", "168", "2", "205" },
        { "0.0.0.0", true, "0", "0", "0", "0" },
        { "192.168.256.1", false, "192", "168", "256", "1" },
        { "1.2.3.4.5", false, "1", "2", "3", "4.5" },
        { "1.2.x.4", false, "1", "2", "x", "4" },
        { "$A.0x10.3.4", true, "$A", "0x10", "3", "4" },
        { "1.2.3.", false, "1", "2", "3", "" },
    };
    for (const Case& c : cases) {
        QString a, b, d, e;
        EXPECT_EQ(Check_IP_Address(c.text, a, b, d, e), c.ok) << c.text;
        EXPECT_EQ(QStringList({ a, b, d, e }), QStringList({ c.o1, c.o2, c.o3, c.o4 })) << c.text;
    }
    // Two dots only: false, and the octets not reached keep their values.
    QString a = "a", b = "b", d = "c", e = "d";
    EXPECT_FALSE(Check_IP_Address("10.20.30", a, b, d, e));
    EXPECT_EQ(QStringList({ a, b, d, e }), QStringList({ "10", "20", "c", "d" }));
}

TEST(Comon, MasterAndRetryTexts)
{
    EXPECT_EQ(Is_Secondary_Master("  secondary master "), 1);
    EXPECT_EQ(Is_Secondary_Master("Secondary Master"), 1);
    EXPECT_EQ(Is_Secondary_Master("Primary Master"), 0);
    EXPECT_EQ(Is_Secondary_Master("SECONDARYMASTER"), 0);
    const std::pair<const char*, int> retry[]
        = { { "5", 3 }, { " 4 ", 2 }, { "3", 1 }, { "2", 0 }, { "x", 0 }, { "", 0 }, { "05", 0 } };
    for (auto [t, v] : retry)
        EXPECT_EQ(Retry_Limit_Index(t), v) << t;
}

TEST(Comon, HartCodeTables)
{
    QString name;
    EXPECT_TRUE(HART_Var_Code_Name(245, name));
    EXPECT_EQ(name, "Loop Current");
    EXPECT_TRUE(HART_Var_Code_Name(250, name));
    EXPECT_EQ(name, "Not Used");
    EXPECT_FALSE(HART_Var_Code_Name(7, name));
    EXPECT_EQ(name, "7");
    EXPECT_FALSE(HART_Var_Code_Name(251, name));
    EXPECT_EQ(HART_Var_Code_Value("Loop Current"), 245);
    EXPECT_EQ(HART_Var_Code_Value("loop current"), 0);
    EXPECT_EQ(HART_Var_Code_Value("17"), 17);
    EXPECT_EQ(HART_Var_Code_Value("Battery Voltage"), 242);
    HART_Classification_Name(92, name);
    EXPECT_EQ(name, "Reserved");
    HART_Classification_Name(64, name);
    EXPECT_EQ(name, "Temperature");
    HART_Classification_Name(111, name);
    EXPECT_EQ(name, "Miscellaneous");
    HART_Classification_Name(112, name);
    EXPECT_EQ(name, "112");
    HART_Unit_Name(157, name);
    EXPECT_EQ(name, "157");
    HART_Unit_Name(0, name);
    EXPECT_EQ(name, "0");
    HART_Unit_Name(32, name);
    EXPECT_EQ(name, QString::fromUtf8("°C (degrees Celsius)"));
    HART_Unit_Name(156, name);
    EXPECT_EQ(name, "dB (Decibel)");
}

TEST(Comon, ComPortNumbersMapToDevices)
{
    EXPECT_EQ(COM_Port_Device(1), "/dev/ttyS0");
    EXPECT_EQ(COM_Port_Device(65), "/dev/ttyUSB0");
    EXPECT_EQ(COM_Port_Device(129), "/dev/ttyACM0");
    EXPECT_EQ(COM_Port_Device(0), "");
    const QStringList ports = List_COM_Ports();
    for (int i = 1; i < ports.size(); ++i)
        EXPECT_LT(ports[i - 1].toInt(), ports[i].toInt());
}

// A port is listed when it opens or another program holds it; one this user
// may not open, or a device node with no port behind it, is not.
TEST(Comon, ComPortIsPresentWhenFreeOrInUseOnly)
{
    const std::pair<int, bool> cases[] = {
        { 0, true },
        { EBUSY, true },
        { EACCES, false },
        { EPERM, false },
        { ENOENT, false },
        { ENXIO, false },
        { ENODEV, false },
        { EIO, false },
    };
    for (const auto& [error, present] : cases)
        EXPECT_EQ(COM_Port_Open_Means_Present(error), present) << std::strerror(error);
}

} // namespace
