#pragma once
// Shared by the two start-up programs: once the window has been painted the
// first time, the process prints what it showed and ends at once, so that the
// time from launch to exit is the time to the first painted window.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

class TExitOnFirstPaint : public QObject {
public:
    TExitOnFirstPaint(QWidget* w, int buttons)
        : QObject(w)
        , FButtons(buttons)
    {
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !FDone) {
            FDone = true;
            auto* w = static_cast<QWidget*>(o);
            const int width = w->width(), height = w->height(), buttons = FButtons;
            QTimer::singleShot(0, [=] {
                std::printf("%d %d %d\n", width, height, buttons);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    int FButtons;
    bool FDone = false;
};

// Both programs run on the offscreen platform without printing its notes.
inline void QuietOffscreen()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
