#include "platform/controls/ModalDriver.h"

#include <QCoreApplication>
#include <QTimer>

#include "platform/controls/Forms.h"

namespace {
ModalDriver* gCurrent = nullptr;
}

class ModalDriver::MessageService final : public IMessageBoxService {
public:
    explicit MessageService(ModalDriver* d)
        : FDriver(d)
    {
    }
    TModalResult Show(const TMessageBoxRequest& r) override { return FDriver->AnswerBox(r); }

private:
    ModalDriver* FDriver;
};

ModalDriver::ModalDriver(int watchdogMs)
    : FWatchdogMs(watchdogMs)
    , FService(std::make_unique<MessageService>(this))
{
    FPreviousDriver = gCurrent;
    gCurrent = this;
    FPreviousService = services::SetMessageBoxService(FService.get());
}

ModalDriver::~ModalDriver()
{
    for (QTimer* t : FWatchdogs)
        delete t;
    services::SetMessageBoxService(FPreviousService);
    gCurrent = FPreviousDriver;
}

ModalDriver* ModalDriver::Current()
{
    return gCurrent;
}

void ModalDriver::AddHandler(std::function<bool(TCustomForm*)> match, FormHandler fn, int times, QString name)
{
    FEntries.push_back(Entry { std::move(match), std::move(fn), times, std::move(name) });
}

void ModalDriver::OnForm(const QString& match, FormHandler fn, int times)
{
    AddHandler(
        [match](TCustomForm* f) {
            return f->ClassName() == match || f->Caption() == match || (!f->Name().isEmpty() && f->Name() == match);
        },
        std::move(fn), times, match);
}

void ModalDriver::AnswerMessageBox(TModalResult answer)
{
    FAnswers.push_back(answer);
}

void ModalDriver::OnMessageBox(MessageBoxHandler fn)
{
    FBoxHandler = std::move(fn);
}

QStringList ModalDriver::MessageTexts() const
{
    QStringList out;
    for (const auto& m : FMessages)
        out << m.Text;
    return out;
}

void ModalDriver::Fail(const QString& msg)
{
    FFailures << msg;
    if (OnFailure)
        OnFailure(msg);
}

TModalResult ModalDriver::AnswerBox(const TMessageBoxRequest& r)
{
    MessageRecord rec { r.Text, r.Caption, r.DlgType, r.Buttons, mrNone };
    if (!FAnswers.empty()) {
        rec.Answer = FAnswers.front();
        FAnswers.erase(FAnswers.begin());
    } else if (FBoxHandler) {
        rec.Answer = FBoxHandler(r);
    } else if (r.Buttons.testFlag(mbOK)) {
        rec.Answer = mrOk;
    } else {
        rec.Answer = mrCancel;
        FMessages.push_back(rec);
        Fail(QStringLiteral("Unanswered message box: ") + r.Text);
        return rec.Answer;
    }
    FMessages.push_back(rec);
    return rec.Answer;
}

void ModalDriver::FormShownModally(TCustomForm* form)
{
    if (gCurrent)
        gCurrent->Shown(form);
}

void ModalDriver::Shown(TCustomForm* form)
{
    const std::uint64_t serial = ControlSerial(form);
    const QString what = form->ClassName() + QStringLiteral(" \"") + form->Caption() + QLatin1Char('"');
    // The watchdog: a modal loop still running after the time-out fails. It
    // belongs to this showing only, so a form shown modally again later gets
    // a fresh time-out.
    const std::uint64_t session = ++FSession;
    FFormSessions[serial] = session;
    auto* watchdog = new QTimer();
    watchdog->setSingleShot(true);
    FWatchdogs.push_back(watchdog);
    QObject::connect(watchdog, &QTimer::timeout, [this, serial, session, what]() {
        auto* f = dynamic_cast<TCustomForm*>(FindControlBySerial(serial));
        if (f && f->IsModal() && FFormSessions[serial] == session) {
            Fail(QStringLiteral("Modal form did not close in time: ") + what);
            f->SetModalResult(mrCancel);
        }
    });
    watchdog->start(FWatchdogMs);

    Entry* entry = nullptr;
    for (Entry& e : FEntries) {
        if (e.Times != 0 && e.Match(form)) {
            entry = &e;
            break;
        }
    }
    if (!entry) {
        Fail(QStringLiteral("No handler for modal form ") + what);
        QTimer::singleShot(0, QCoreApplication::instance(), [serial]() {
            if (auto* f = dynamic_cast<TCustomForm*>(FindControlBySerial(serial)))
                f->SetModalResult(mrCancel);
        });
        return;
    }
    if (entry->Times > 0)
        --entry->Times;
    FormHandler fn = entry->Fn;
    // Run inside the form's modal loop, so that the handler may open further
    // modal forms and set ModalResult as a user would.
    QTimer::singleShot(0, QCoreApplication::instance(), [fn, serial]() {
        auto* f = dynamic_cast<TCustomForm*>(FindControlBySerial(serial));
        if (!f)
            return;
        try {
            fn(f);
        } catch (...) {
            HandleException(f);
        }
    });
}
