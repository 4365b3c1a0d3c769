#pragma once
// Drives modal forms and message boxes in tests. While a driver exists, every
// form shown modally is handed to the first matching registered handler (by
// class name, caption or component name, or by type), run inside the form's
// own modal loop, so nested modal forms work the same way; message boxes are
// recorded and answered. A watchdog ends a modal loop that does not finish in
// time with mrCancel and reports a failure instead of hanging.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/controls/Services.h"

class TCustomForm;
class QTimer;

class ModalDriver {
public:
    using FormHandler = std::function<void(TCustomForm* form)>;
    using MessageBoxHandler = std::function<TModalResult(const TMessageBoxRequest& request)>;

    struct MessageRecord {
        QString Text;
        QString Caption;
        TMsgDlgType DlgType = mtInformation;
        TMsgDlgButtons Buttons;
        TModalResult Answer = 0;
    };

    explicit ModalDriver(int watchdogMs = 10000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Runs `fn` when a form whose class name, caption or name equals `match`
    // is shown modally; `times` < 0 means every time.
    void OnForm(const QString& match, FormHandler fn, int times = -1);
    template <class T> void OnForm(std::function<void(T*)> fn, int times = -1)
    {
        AddHandler([](TCustomForm* f) { return dynamic_cast<T*>(f) != nullptr; },
            [fn](TCustomForm* f) { fn(dynamic_cast<T*>(f)); }, times, QString());
    }

    // Message boxes: queued answers are used first, in order; then the
    // handler; without either, a box with an OK button is answered OK and any
    // other box is a failure answered mrCancel.
    void AnswerMessageBox(TModalResult answer);
    void OnMessageBox(MessageBoxHandler fn);
    const std::vector<MessageRecord>& Messages() const { return FMessages; }
    QStringList MessageTexts() const;

    // Problems found: a modal form nobody handled, a watchdog time-out, an
    // unexpected message box. OnFailure (if set) is called at once too.
    const QStringList& Failures() const { return FFailures; }
    std::function<void(const QString&)> OnFailure;

    // Called by TCustomForm::ShowModal once the form shows.
    static void FormShownModally(TCustomForm* form);
    static ModalDriver* Current();

private:
    struct Entry {
        std::function<bool(TCustomForm*)> Match;
        FormHandler Fn;
        int Times;
        QString Name;
    };
    class MessageService;
    void AddHandler(std::function<bool(TCustomForm*)> match, FormHandler fn, int times, QString name);
    void Fail(const QString& msg);
    void Shown(TCustomForm* form);
    TModalResult AnswerBox(const TMessageBoxRequest& r);

    int FWatchdogMs;
    std::vector<Entry> FEntries;
    std::vector<TModalResult> FAnswers;
    MessageBoxHandler FBoxHandler;
    std::vector<MessageRecord> FMessages;
    QStringList FFailures;
    std::unique_ptr<MessageService> FService;
    IMessageBoxService* FPreviousService = nullptr;
    ModalDriver* FPreviousDriver = nullptr;
    std::vector<QTimer*> FWatchdogs;
    std::uint64_t FSession = 0;
    std::map<std::uint64_t, std::uint64_t> FFormSessions;
};
