// Reading and writing the settings file item by item.
#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/USettings.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/XmlDom.h"

#include <QFile>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

struct TExpected {
    QString project;
    QString ip;
    QString language;
    bool internet;
    bool update;
    bool jump;
    bool dblClick;
};

const TExpected Defaults { "", "192.168.2.205", "English", false, false, false, false };

struct TSettingsCase {
    const char* name;
    const char* content;
    TExpected expected;
    // How the file read: a damaged one is reported by the caller.
    TXmlFileState state = TXmlFileState::Loaded;
};

const char* const Full = "<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj>"
                         "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
                         "<lastlang><language>Italiano</language></lastlang>"
                         "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
                         "<enable_jump_field_tables>1</enable_jump_field_tables>"
                         "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></Conf_Settings>";

class SettingsTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Program_Folder = testutil::TempDir();
        // Something other than the defaults, so that every item is seen set.
        Project_Name = "stale";
        Project_Folder = "stale";
        Last_IP_Address = "1.1.1.1";
        Language_Name = "Stale";
        Opt_Enable_Internet = Opt_Enable_Update = Opt_Jump_Field_Tables = Opt_Dbl_Click_Auto_Size = true;
    }
    void ExpectState(const TExpected& e, const char* name)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(Project_Name, e.project);
        EXPECT_EQ(Last_IP_Address, e.ip);
        EXPECT_EQ(Language_Name, e.language);
        EXPECT_EQ(Opt_Enable_Internet, e.internet);
        EXPECT_EQ(Opt_Enable_Update, e.update);
        EXPECT_EQ(Opt_Jump_Field_Tables, e.jump);
        EXPECT_EQ(Opt_Dbl_Click_Auto_Size, e.dblClick);
        EXPECT_TRUE(Project_Folder.isEmpty());
    }
};

TEST_F(SettingsTest, EachItemFallsBackOnItsOwn)
{
    const TSettingsCase cases[] = {
        { "no file", nullptr, Defaults },
        { "full file", Full, { "Plant A", "10.0.0.7", "Italiano", true, true, true, true } },
        { "only the language", "<Conf_Settings><lastlang><language>Deutsch</language></lastlang></Conf_Settings>",
            { "", "192.168.2.205", "Deutsch", false, false, false, false } },
        { "no lastinternet", "<Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>",
            { "P", "192.168.2.205", "English", false, false, false, false } },
        { "lastinternet without enable_update",
            "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
            "<enable_jump_field_tables>1</enable_jump_field_tables>"
            "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></Conf_Settings>",
            { "", "192.168.2.205", "English", true, false, true, true } },
        { "flags other than exactly 1",
            "<Conf_Settings><lastinternet><enable_internet> 1</enable_internet>"
            "<enable_update>true</enable_update><enable_jump_field_tables>01</enable_jump_field_tables>"
            "<Double_Click_Auto_Size></Double_Click_Auto_Size></lastinternet></Conf_Settings>",
            Defaults },
        { "empty ipaddress and projectname",
            "<Conf_Settings><lastproj><projectname/></lastproj><lastipadd><ipaddress></ipaddress></lastipadd>"
            "</Conf_Settings>",
            { "", "", "English", false, false, false, false } },
        { "text kept untrimmed",
            "<Conf_Settings><lastipadd><ipaddress>10.0.0.1 </ipaddress></lastipadd></Conf_Settings>",
            { "", "10.0.0.1 ", "English", false, false, false, false } },
        // An editor's declaration or comment does not hide the settings.
        { "declaration before the root",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Conf_Settings><lastlang><language>Italiano</language></lastlang>"
            "</Conf_Settings>",
            { "", "192.168.2.205", "Italiano", false, false, false, false } },
        { "comment before the root",
            "<!-- saved by hand --><Conf_Settings><lastlang><language>Italiano</language></lastlang>"
            "</Conf_Settings>",
            { "", "192.168.2.205", "Italiano", false, false, false, false } },
        // Well-formed but every item missing: the per-item defaults.
        { "another root element", "<Settings><lastlang><language>Italiano</language></lastlang></Settings>", Defaults },
        { "not well-formed", "<Conf_Settings><lastlang><language>Italiano</lastlang>", Defaults,
            TXmlFileState::Damaged },
        { "truncated", "<Conf_Settings><lastlang><language>Italiano</language></lastlang>", Defaults,
            TXmlFileState::Damaged },
        { "empty file", "", Defaults, TXmlFileState::Damaged },
        { "binary junk", "\x01\x02\xff\xfe<", Defaults, TXmlFileState::Damaged },
    };
    for (const TSettingsCase& c : cases) {
        SetUp();
        if (c.content) {
            ASSERT_TRUE(SaveFileAtomic(Settings_File_Name(), QByteArray(c.content)).Ok);
        }
        TXmlDocument xml;
        const TXmlFileRead read = Read_Settings(xml);
        ExpectState(c.expected, c.name);
        EXPECT_EQ(read.State, c.content ? c.state : TXmlFileState::Missing) << c.name;
        EXPECT_EQ(read.Reason.isEmpty(), c.state != TXmlFileState::Damaged) << c.name;
    }
}

// Things in place of the settings file that are not a file the tool can
// read: each is reported, never opened for reading (a pipe would block the
// start for good), and gives the defaults.
TEST_F(SettingsTest, WhatCannotBeReadIsDamagedNotMissing)
{
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        const char* reason;
    } cases[] = {
        { "folder", [](const QString& p) { ASSERT_TRUE(CreateDir(p)); }, "not a regular file" },
        { "pipe", [](const QString& p) { ASSERT_EQ(::mkfifo(p.toLocal8Bit().constData(), 0600), 0); },
            "not a regular file" },
        { "oversized",
            [](const QString& p) {
                QByteArray big = "<Conf_Settings><lastlang><language>Italiano</language></lastlang><!--";
                big += QByteArray(int(Settings_File_Max_Size), ' ') + "--></Conf_Settings>";
                testutil::WriteFile(p, big);
            },
            "more than" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.make(Settings_File_Name());
        TXmlDocument xml;
        const TXmlFileRead read = Read_Settings(xml);
        EXPECT_EQ(read.State, TXmlFileState::Damaged);
        EXPECT_TRUE(read.Reason.contains(c.reason)) << read.Reason.toStdString();
        ExpectState(Defaults, c.name);
    }
}

TEST_F(SettingsTest, WrittenFileHasTheFixedLayoutAndReadsBack)
{
    Project_Name = "Plant <B> & C";
    Last_IP_Address = "10.1.2.3";
    Language_Name = "Italiano";
    Opt_Enable_Internet = true;
    Opt_Enable_Update = false;
    Opt_Jump_Field_Tables = true;
    Opt_Dbl_Click_Auto_Size = false;
    TXmlDocument xml;
    ASSERT_TRUE(Write_Settings(xml).Ok);

    QFile f(Settings_File_Name());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
        QByteArray("<Conf_Settings><lastproj><projectname>Plant &lt;B&gt; &amp; C</projectname></lastproj>"
                   "<lastipadd><ipaddress>10.1.2.3</ipaddress></lastipadd>"
                   "<lastlang><language>Italiano</language></lastlang>"
                   "<lastinternet><enable_internet>1</enable_internet><enable_update>0</enable_update>"
                   "<enable_jump_field_tables>1</enable_jump_field_tables>"
                   "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>"));

    const QString folder = Program_Folder;
    SetUp();
    Program_Folder = folder;
    TXmlDocument again;
    Read_Settings(again);
    ExpectState({ "Plant <B> & C", "10.1.2.3", "Italiano", true, false, true, false }, "read back");
}

} // namespace
