#include "platform/runtime/Process.h"

#include "common/TestUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString WriteScript(const QString& dir, const QString& name, const QByteArray& body, bool executable = true)
{
    const QString path = dir + "/" + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Process, ReportsHowTheProgramEnded)
{
    const QString dir = testutil::TempDir();
    struct Case {
        const char* body;
        TProcessStatus status;
        int exitCode;
    };
    const Case cases[] = {
        { "exit 0", TProcessStatus::psExited, 0 },
        { "exit 3", TProcessStatus::psExited, 3 },
        { "exit 255", TProcessStatus::psExited, 255 },
        { "kill -9 $$", TProcessStatus::psCrashed, 0 },
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const QString script = WriteScript(dir, QString("p%1.sh").arg(n++), c.body);
        const TProcessResult r = TProcess::Run(script, {}, dir, 10000);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_EQ(r.ExitCode, c.exitCode);
        EXPECT_FALSE(r.TimedOut);
    }
}

TEST(Process, RunsInTheWorkingFolderWithArgumentsAsGiven)
{
    const QString dir = testutil::TempDir();
    const QString work = testutil::TempDir();
    const QString script = WriteScript(dir, "args.sh", "pwd > out.txt; printf '%s|' \"$#\" \"$@\" >> out.txt");

    TProcessResult r = TProcess::Run(script, { "two words", "*", "$HOME" }, work, 10000);
    ASSERT_EQ(r.Status, TProcessStatus::psExited);
    EXPECT_EQ(ReadFile(work + "/out.txt"), QDir(work).canonicalPath().toUtf8() + "\n3|two words|*|$HOME|");

    // Without a working folder the program starts in its own folder, and with
    // no arguments it gets an empty command line.
    r = TProcess::Run(script, {}, QString(), 10000);
    ASSERT_EQ(r.Status, TProcessStatus::psExited);
    EXPECT_EQ(ReadFile(dir + "/out.txt"), QDir(dir).canonicalPath().toUtf8() + "\n0|");
}

TEST(Process, GivesUpWaitingAfterTheTimeOutAndCallsBackBetweenPolls)
{
    const QString dir = testutil::TempDir();
    TProcess p;
    p.SetProgram(WriteScript(dir, "slow.sh", "exec sleep 30"));
    ASSERT_TRUE(p.Start()) << p.Error().toStdString();
    int polls = 0;
    QElapsedTimer clock;
    clock.start();
    const TProcessResult r = p.WaitForEnd(300, 10, [&] { ++polls; });
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(r.TimedOut);
    EXPECT_EQ(r.Status, TProcessStatus::psRunning);
    EXPECT_GE(polls, 5);
    // The program keeps running after the wait gave up.
    EXPECT_EQ(p.Status(), TProcessStatus::psRunning);
    p.Kill();
    EXPECT_EQ(p.Status(), TProcessStatus::psCrashed);

    // Nor does giving up kill it when the waiting object goes away: the update
    // program must be allowed to finish its transfer.
    const QString marker = dir + "/finished";
    // The script outlives the wait by far, so a loaded machine cannot let it
    // finish before the check below.
    const TProcessResult gaveUp = TProcess::Run(WriteScript(dir, "late.sh", "sleep 1; touch finished"), {}, dir, 20);
    EXPECT_TRUE(gaveUp.TimedOut);
    EXPECT_FALSE(QFile::exists(marker));
    clock.restart();
    while (!QFile::exists(marker) && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(QFile::exists(marker));
    // Let the handed-over process object see the end and free itself.
    clock.restart();
    while (clock.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Process, FailedStartIsReportedWithoutWaiting)
{
    const QString dir = testutil::TempDir();
    struct Case {
        const char* what;
        QString program;
        QString folder;
    };
    const Case cases[] = {
        { "missing program", dir + "/Ethernet_Update.exe", dir },
        { "not executable", WriteScript(dir, "plain.sh", "exit 0", false), dir },
        { "a folder", dir, dir },
        { "empty path", QString(), dir },
        { "missing working folder", WriteScript(dir, "ok.sh", "exit 0"), dir + "/gone" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QElapsedTimer clock;
        clock.start();
        const TProcessResult r = TProcess::Run(c.program, {}, c.folder, 60000);
        EXPECT_EQ(r.Status, TProcessStatus::psFailedToStart);
        EXPECT_FALSE(r.Error.isEmpty());
        EXPECT_FALSE(r.TimedOut);
        EXPECT_LT(clock.elapsed(), 5000);
    }
}
