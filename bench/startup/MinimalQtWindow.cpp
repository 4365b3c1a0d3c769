// The minimal Qt Widgets program the start-up is measured against: one
// window of the given size holding the given number of push buttons; ends
// after its first paint. Arguments: width height buttons.
#include "FirstPaint.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char** argv)
{
    QuietOffscreen();
    QApplication app(argc, argv);
    const int width = argc > 3 ? std::atoi(argv[1]) : 640;
    const int height = argc > 3 ? std::atoi(argv[2]) : 480;
    const int buttons = argc > 3 ? std::atoi(argv[3]) : 20;
    QWidget window;
    window.resize(width, height);
    for (int i = 0; i < buttons; ++i) {
        auto* b = new QPushButton(QStringLiteral("Button %1").arg(i + 1), &window);
        b->setGeometry(8 + (i % 4) * 176, 8 + (i / 4) * 40, 170, 36);
    }
    new TExitOnFirstPaint(&window, buttons);
    window.show();
    return app.exec();
}
