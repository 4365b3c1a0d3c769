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

#include <memory>

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
