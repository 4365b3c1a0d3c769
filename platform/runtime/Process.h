#pragma once
// Starting another program and waiting for its end: the hand-over to the
// update program. The wait polls, so the caller decides between polls whether
// its windows stay responsive.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProcess;

enum class TProcessStatus {
    psNotStarted, // Start() was not called yet
    psFailedToStart, // missing program, not executable, bad working folder
    psRunning, // started and not ended (also the answer after a time-out)
    psExited, // ended; ExitCode() holds its code
    psCrashed // ended by a signal
};

struct TProcessResult {
    TProcessStatus Status = TProcessStatus::psNotStarted;
    int ExitCode = 0;
    bool TimedOut = false; // the wait gave up while the program still ran
    QString Error;
};

class TProcess {
public:
    TProcess();
    // A program still running is left to run on its own: it is the update
    // program's business how long it takes.
    ~TProcess();
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    void SetProgram(const QString& path) { FProgram = path; }
    const QString& Program() const { return FProgram; }
    void SetArguments(const QStringList& args) { FArguments = args; }
    const QStringList& Arguments() const { return FArguments; }
    // Empty: the program's own folder.
    void SetWorkingFolder(const QString& folder) { FWorkingFolder = folder; }
    const QString& WorkingFolder() const { return FWorkingFolder; }

    // False, with the reason in Error(), when the program cannot be started.
    bool Start();
    // Waits until the program ends or timeoutMs pass, looking every pollMs and
    // calling onPoll between looks.
    TProcessResult WaitForEnd(int timeoutMs, int pollMs = 10, const std::function<void()>& onPoll = {});
    // Ends a running program at once.
    void Kill();

    TProcessStatus Status() const;
    int ExitCode() const;
    QString Error() const { return FError; }

    // Start, then wait; a failed start returns at once without waiting.
    static TProcessResult Run(const QString& program, const QStringList& args, const QString& workingFolder,
        int timeoutMs, int pollMs = 10, const std::function<void()>& onPoll = {});

private:
    TProcessResult Result(bool timedOut) const;
    QString FProgram;
    QStringList FArguments;
    QString FWorkingFolder;
    QString FError;
    bool FFailed = false;
    std::unique_ptr<QProcess> FProc;
};
