#include "platform/runtime/Process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <algorithm>

TProcess::TProcess() = default;

TProcess::~TProcess()
{
    if (FProc && FProc->state() != QProcess::NotRunning) {
        // Destroying a QProcess kills its program; hand it over instead, and
        // let it free itself once the program has ended.
        QProcess* p = FProc.release();
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
    }
}

bool TProcess::Start()
{
    FError.clear();
    FFailed = false;
    if (FProc && FProc->state() != QProcess::NotRunning) {
        FError = QStringLiteral("The program is already running");
        return false;
    }
    FProc = std::make_unique<QProcess>();
    FProc->setProcessChannelMode(QProcess::ForwardedChannels);
    FProc->setInputChannelMode(QProcess::ForwardedInputChannel);
    const QFileInfo info(FProgram);
    if (FProgram.isEmpty() || !info.isFile()) {
        FFailed = true;
        FError = QStringLiteral("Program \"%1\" not found").arg(FProgram);
        return false;
    }
    const QString folder = FWorkingFolder.isEmpty() ? info.absolutePath() : FWorkingFolder;
    if (!QFileInfo(folder).isDir()) {
        FFailed = true;
        FError = QStringLiteral("Working folder \"%1\" not found").arg(folder);
        return false;
    }
    FProc->setWorkingDirectory(folder);
    // An absolute path, so that a bare name is never looked up in PATH.
    FProc->start(info.absoluteFilePath(), FArguments);
    if (!FProc->waitForStarted(-1)) {
        FFailed = true;
        FError = QStringLiteral("Cannot start \"%1\": %2").arg(FProgram, FProc->errorString());
        return false;
    }
    return true;
}

TProcessResult TProcess::WaitForEnd(int timeoutMs, int pollMs, const std::function<void()>& onPoll)
{
    if (!FProc || FFailed || FProc->state() == QProcess::NotRunning)
        return Result(false);
    pollMs = std::max(1, pollMs);
    QElapsedTimer clock;
    clock.start();
    while (FProc->state() != QProcess::NotRunning) {
        const qint64 left = qint64(timeoutMs) - clock.elapsed();
        if (left <= 0)
            return Result(true);
        if (FProc->waitForFinished(int(std::min<qint64>(pollMs, left))))
            break;
        if (onPoll && FProc->state() != QProcess::NotRunning)
            onPoll();
    }
    return Result(false);
}

void TProcess::Kill()
{
    if (FProc && FProc->state() != QProcess::NotRunning) {
        FProc->kill();
        FProc->waitForFinished(-1);
    }
}

TProcessStatus TProcess::Status() const
{
    if (FFailed)
        return TProcessStatus::psFailedToStart;
    if (!FProc)
        return TProcessStatus::psNotStarted;
    if (FProc->state() != QProcess::NotRunning)
        return TProcessStatus::psRunning;
    return FProc->exitStatus() == QProcess::CrashExit ? TProcessStatus::psCrashed : TProcessStatus::psExited;
}

int TProcess::ExitCode() const
{
    return Status() == TProcessStatus::psExited ? FProc->exitCode() : 0;
}

TProcessResult TProcess::Result(bool timedOut) const
{
    TProcessResult r;
    r.Status = Status();
    r.ExitCode = ExitCode();
    r.TimedOut = timedOut;
    r.Error = FError;
    if (r.Status == TProcessStatus::psCrashed)
        r.Error = QStringLiteral("\"%1\" ended abnormally").arg(FProgram);
    return r;
}

TProcessResult TProcess::Run(const QString& program, const QStringList& args, const QString& workingFolder,
    int timeoutMs, int pollMs, const std::function<void()>& onPoll)
{
    TProcess p;
    p.SetProgram(program);
    p.SetArguments(args);
    p.SetWorkingFolder(workingFolder);
    if (!p.Start())
        return p.Result(false);
    return p.WaitForEnd(timeoutMs, pollMs, onPoll);
}
