// A character handed to a control as a typed key, through the event queue.
#include "platform/controls/Controls.h"
#include "platform/controls/Messages.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

bool PostCharToControl(TWinControl* control, char16_t ch)
{
    if (!control)
        return false;
    const std::uint64_t serial = ControlSerial(control);
    // Posted, so that it comes after what the caller does next (showing and
    // focusing the control), as a key the user types would.
    QTimer::singleShot(0, qApp, [serial, ch] {
        auto* c = dynamic_cast<TWinControl*>(FindControlBySerial(serial));
        if (!c)
            return;
        QWidget* w = c->Widget();
        if (!w)
            return;
        int key = Qt::Key_unknown;
        const QChar q(ch);
        if (q.toUpper() >= QLatin1Char('A') && q.toUpper() <= QLatin1Char('Z'))
            key = Qt::Key_A + (q.toUpper().unicode() - 'A');
        else if (q >= QLatin1Char('0') && q <= QLatin1Char('9'))
            key = Qt::Key_0 + (q.unicode() - '0');
        else if (q == QLatin1Char(' '))
            key = Qt::Key_Space;
        QWidget* target = w->focusProxy() ? w->focusProxy() : w;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(q));
        QCoreApplication::sendEvent(target, &press);
        if (FindControlBySerial(serial) && target) {
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(q));
            QCoreApplication::sendEvent(target, &release);
        }
    });
    return true;
}
