#pragma once
// A parameter form over a fresh project folder, with the built-in English
// texts and every message box recorded.

#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/UParGen.h"
#include "common/TestUtil.h"
#include "platform/controls/ModalDriver.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

// The panels each model of the family stacks, top first, as the family's
// table lists them (not taken from the form).
inline const std::map<int, std::vector<TParPanel>>& Family_Panel_Table()
{
    using P = TParPanel;
    static const std::map<int, std::vector<P>> models = {
        { 200, { P::Ethernet_Connection, P::HART_Master, P::Serial, P::Ethernet, P::Web_Pages } },
        { 201, { P::Ethernet_Connection, P::HART_Master, P::BACnet_Slave, P::Web_Pages, P::Ethernet } },
        { 202, { P::Ethernet_Connection, P::HART_Master, P::CAN, P::Ethernet, P::Web_Pages } },
        { 203, { P::Ethernet_Connection, P::HART_Master, P::CANopen, P::Ethernet, P::Web_Pages } },
        { 204, { P::Ethernet_Connection, P::HART_Master, P::DeviceNet_Slave, P::Ethernet, P::Web_Pages } },
        { 205, { P::Ethernet_Connection, P::HART_Master, P::Ethernet, P::Web_Pages } },
        { 206, { P::Ethernet_Connection, P::HART_Master, P::EtherNetIP, P::Web_Pages } },
        { 207, { P::Ethernet_Connection, P::HART_Master, P::J1939, P::Ethernet, P::Web_Pages } },
        { 208, { P::Ethernet_Connection, P::HART_Master, P::Modbus_Slave, P::Ethernet, P::Web_Pages } },
        { 209, { P::Ethernet_Connection, P::HART_Master, P::Modbus_TCP_Slave, P::Web_Pages } },
        { 210, { P::Ethernet_Connection, P::HART_Master, P::MQTT, P::Ethernet, P::TLS, P::NTP, P::Web_Pages } },
        { 211, { P::Ethernet_Connection, P::HART_Master, P::PROFIBUS, P::Ethernet, P::Web_Pages } },
        { 212, { P::Ethernet_Connection, P::HART_Master, P::PROFINET, P::Web_Pages } },
        { 213, { P::Ethernet_Connection, P::HART_Master, P::SNMP_Agent, P::Web_Pages } },
        { 214, { P::Ethernet_Connection, P::HART_Master, P::OPC_UA_Server, P::NTP, P::Web_Pages } },
    };
    return models;
}

class ParGenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Init_Lang_Default();
        SW_Code = SW_Code_Const;
        Folder = testutil::TempDir() + QStringLiteral("/Project");
        QDir().mkpath(Folder);
        Project_Folder = Folder;
        Set_Project_Files();
        Driver = std::make_unique<ModalDriver>();
        Form = new TFParGen(nullptr);
    }
    void TearDown() override
    {
        delete Form;
        Driver.reset();
        Project_Folder.clear();
        Set_Project_Files();
        Init_Lang_Default(); // a test may have switched texts
    }

    static QByteArray ReadBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // Writes ParGen.xml with the given elements under the root.
    void WriteParGen(const QByteArray& children)
    {
        WriteBytes(File_ParGen, "<Par_Gen>" + children + "</Par_Gen><!--SW_VERSION = 1.102-->");
    }

    QString Folder;
    std::unique_ptr<ModalDriver> Driver;
    TFParGen* Form = nullptr;
};
