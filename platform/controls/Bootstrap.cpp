#include "platform/controls/Bootstrap.h"

#include <QApplication>

#include "platform/controls/Forms.h"

namespace {
// Anything a handler throws past the translation layer still ends here: the
// program must not end because of an exception in an event handler.
class TQtApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            HandleException(nullptr);
            return false;
        }
    }
};
} // namespace

int RunApplication(int argc, char** argv, const std::function<void()>& createForms)
{
    TQtApplication app(argc, argv);
    Application->Initialize();
    try {
        if (createForms)
            createForms();
    } catch (...) {
        HandleException(nullptr);
    }
    Application->Run();
    Application->DestroyComponents();
    return 0;
}

int RunEmptyMainWindow(int argc, char** argv, const QString& caption)
{
    return RunApplication(argc, argv, [&caption]() {
        Application->SetTitle(caption);
        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetCaption(caption);
        form->SetPosition(poScreenCenter);
        form->SetClientWidth(800);
        form->SetClientHeight(600);
    });
}
