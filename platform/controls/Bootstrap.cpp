#include "platform/controls/Bootstrap.h"

#include <QApplication>
#include <QWidget>

int RunEmptyMainWindow(int argc, char** argv, const QString& caption)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(caption);
    w.resize(800, 600);
    w.show();
    return app.exec();
}
