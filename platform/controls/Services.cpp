#include "platform/controls/Services.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeZone>
#include <QUrl>

#include "platform/controls/Forms.h"
#include "platform/runtime/SysUtils.h"

TModalResult ModalResultOfButton(TMsgDlgBtn b)
{
    switch (b) {
    case mbYes:
        return mrYes;
    case mbNo:
        return mrNo;
    case mbOK:
        return mrOk;
    case mbCancel:
        return mrCancel;
    case mbAbort:
        return mrAbort;
    case mbRetry:
        return mrRetry;
    case mbIgnore:
        return mrIgnore;
    case mbAll:
        return mrAll;
    case mbNoToAll:
        return mrNoToAll;
    case mbYesToAll:
        return mrYesToAll;
    case mbHelp:
        return mrHelp;
    case mbClose:
        return mrClose;
    }
    return mrNone;
}

namespace {

const TMsgDlgBtn kButtonOrder[]
    = { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };

QString ButtonText(TMsgDlgBtn b)
{
    switch (b) {
    case mbYes:
        return QStringLiteral("&Yes");
    case mbNo:
        return QStringLiteral("&No");
    case mbOK:
        return QStringLiteral("OK");
    case mbCancel:
        return QStringLiteral("Cancel");
    case mbAbort:
        return QStringLiteral("&Abort");
    case mbRetry:
        return QStringLiteral("&Retry");
    case mbIgnore:
        return QStringLiteral("&Ignore");
    case mbAll:
        return QStringLiteral("&All");
    case mbNoToAll:
        return QStringLiteral("N&o to All");
    case mbYesToAll:
        return QStringLiteral("Yes to &All");
    case mbHelp:
        return QStringLiteral("&Help");
    case mbClose:
        return QStringLiteral("&Close");
    }
    return QString();
}

// Without a screen (the offscreen and minimal platforms) nobody can answer a
// modal dialog: waiting for one would hang the process for good.
bool Unattended()
{
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

class QtMessageBoxService final : public IMessageBoxService {
public:
    TModalResult Show(const TMessageBoxRequest& r) override
    {
        if (Unattended()) {
            // Answered as Escape would answer it.
            qWarning("Message box without a screen: %s", qPrintable(r.Text));
            if (r.Buttons.testFlag(mbCancel))
                return mrCancel;
            if (r.Buttons.testFlag(mbNo))
                return mrNo;
            return r.Buttons == mbOK ? mrOk : mrCancel;
        }
        QMessageBox box;
        box.setWindowTitle(r.Caption);
        box.setText(r.Text);
        switch (r.DlgType) {
        case mtWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case mtError:
            box.setIcon(QMessageBox::Critical);
            break;
        case mtInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case mtConfirmation:
            box.setIcon(QMessageBox::Question);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        QAbstractButton* def = nullptr;
        QAbstractButton* escape = nullptr;
        std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> buttons;
        for (TMsgDlgBtn b : kButtonOrder) {
            if (!r.Buttons.testFlag(b))
                continue;
            QPushButton* pb = box.addButton(ButtonText(b), QMessageBox::ActionRole);
            buttons.emplace_back(pb, b);
            if (!def && (r.DefaultButton == 0 || r.DefaultButton == b))
                def = pb;
            if (b == mbCancel || (b == mbNo && !r.Buttons.testFlag(mbCancel)) || (b == mbOK && r.Buttons == mbOK))
                escape = pb;
        }
        if (def)
            box.setDefaultButton(static_cast<QPushButton*>(def));
        if (escape)
            box.setEscapeButton(escape);
        box.exec();
        for (const auto& [pb, b] : buttons)
            if (box.clickedButton() == pb)
                return ModalResultOfButton(b);
        return r.Buttons.testFlag(mbCancel) ? mrCancel : mrNo;
    }
};

QString QtFilter(const QString& filter, int index, QString* selected)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString entry = parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
        out << entry;
        if (i / 2 + 1 == index && selected)
            *selected = entry;
    }
    return out.join(QStringLiteral(";;"));
}

class QtFileDialogService final : public IFileDialogService {
public:
    bool Execute(TFileDialogRequest& r) override
    {
        if (Unattended())
            return false;
        QString selected;
        const QString filter = QtFilter(r.Filter, r.FilterIndex, &selected);
        QFileDialog dlg(nullptr, r.Title, r.InitialDir, filter);
        dlg.setAcceptMode(r.Kind == TFileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // The toolkit's save dialog asks about overwriting itself.
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (r.Kind == TFileDialogKind::Open)
            dlg.setFileMode(r.AllowMultiSelect ? QFileDialog::ExistingFiles
                                               : (r.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
        if (!selected.isEmpty())
            dlg.selectNameFilter(selected);
        if (!r.FileName.isEmpty())
            dlg.selectFile(r.FileName);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        r.Files = dlg.selectedFiles();
        r.FileName = r.Files.value(0);
        const QStringList filters = filter.split(QStringLiteral(";;"));
        const int idx = static_cast<int>(filters.indexOf(dlg.selectedNameFilter()));
        if (idx >= 0)
            r.FilterIndex = idx + 1;
        return !r.FileName.isEmpty();
    }
};

class QtShellService final : public IShellService {
public:
    bool OpenUrl(const QString& url) override { return QDesktopServices::openUrl(QUrl(url)); }
};

class QtBeepService final : public IBeepService {
public:
    void Beep() override { QApplication::beep(); }
};

class QtClockService final : public IClockService {
public:
    QtClockService() { FTimer.start(); }
    TDateTime Now() override
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime base(QDate(1899, 12, 30), QTime(0, 0), now.timeZone());
        const qint64 days = base.date().daysTo(now.date());
        const double frac = now.time().msecsSinceStartOfDay() / 86400000.0;
        return static_cast<double>(days) + frac;
    }
    std::uint64_t TickCount() override { return static_cast<std::uint64_t>(FTimer.elapsed()); }

private:
    QElapsedTimer FTimer;
};

template <class I, class D> struct Slot {
    D def;
    I* current = nullptr;
    I* get() { return current ? current : &def; }
    I* set(I* s)
    {
        I* old = get();
        current = s;
        return old == &def ? nullptr : old;
    }
};

Slot<IMessageBoxService, QtMessageBoxService>& MsgSlot()
{
    static Slot<IMessageBoxService, QtMessageBoxService> s;
    return s;
}
Slot<IFileDialogService, QtFileDialogService>& FileSlot()
{
    static Slot<IFileDialogService, QtFileDialogService> s;
    return s;
}
Slot<IShellService, QtShellService>& ShellSlot()
{
    static Slot<IShellService, QtShellService> s;
    return s;
}
Slot<IBeepService, QtBeepService>& BeepSlot()
{
    static Slot<IBeepService, QtBeepService> s;
    return s;
}
Slot<IClockService, QtClockService>& ClockSlot()
{
    static Slot<IClockService, QtClockService> s;
    return s;
}

} // namespace

namespace services {
IMessageBoxService* MessageBoxService()
{
    return MsgSlot().get();
}
IMessageBoxService* SetMessageBoxService(IMessageBoxService* s)
{
    return MsgSlot().set(s);
}
IFileDialogService* FileDialogService()
{
    return FileSlot().get();
}
IFileDialogService* SetFileDialogService(IFileDialogService* s)
{
    return FileSlot().set(s);
}
IShellService* ShellService()
{
    return ShellSlot().get();
}
IShellService* SetShellService(IShellService* s)
{
    return ShellSlot().set(s);
}
IBeepService* BeepService()
{
    return BeepSlot().get();
}
IBeepService* SetBeepService(IBeepService* s)
{
    return BeepSlot().set(s);
}
IClockService* ClockService()
{
    return ClockSlot().get();
}
IClockService* SetClockService(IClockService* s)
{
    return ClockSlot().set(s);
}
} // namespace services

bool IsOpenableURL(const QString& url)
{
    const QString t = url.trimmed();
    if (t.isEmpty() || t != url)
        return false;
    // No control characters: they could smuggle a second argument to the
    // browser's command line.
    for (QChar ch : t)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return false;
    const QUrl u(t, QUrl::StrictMode);
    if (!u.isValid())
        return false;
    const QString scheme = u.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !u.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !u.path().isEmpty();
    return false;
}

bool OpenURL(const QString& url)
{
    if (!IsOpenableURL(url))
        return false;
    return services::ShellService()->OpenUrl(url);
}

void Beep()
{
    services::BeepService()->Beep();
}
std::uint64_t GetTickCount64()
{
    return services::ClockService()->TickCount();
}
