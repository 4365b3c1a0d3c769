// Start-up to the first painted main window: every form created in the
// start-up order, the main window shown and painted once. A minimal Qt
// Widgets program runs beside it in the same iteration (same binary, so the
// same build flags): a window of the main window's size holding as many push
// buttons as the main window has buttons. "ratio" is ours over Qt's.
#include "app/core/UMorvantinoFirmWare.h"
#include "app/tables/UMorvantile_HART.h"
#include "platform/controls/Forms.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// Runs the event loop until the widget has been painted once.
class TFirstPaint : public QObject {
public:
    explicit TFirstPaint(QWidget* w)
        : FWidget(w)
    {
        w->installEventFilter(this);
    }
    void Wait()
    {
        while (!FPainted)
            QCoreApplication::processEvents();
        FWidget->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == FWidget && e->type() == QEvent::Paint)
            FPainted = true;
        return false;
    }

private:
    QWidget* FWidget;
    bool FPainted = false;
};

int CountButtons(const TWinControl* c)
{
    int n = 0;
    for (int i = 0; i < c->ControlCount(); ++i) {
        const TControl* child = c->Controls(i);
        if (child->ClassName().contains(QStringLiteral("Button")))
            ++n;
        if (const auto* wc = dynamic_cast<const TWinControl*>(child))
            n += CountButtons(wc);
    }
    return n;
}

double QtWindowToFirstPaint(int width, int height, int buttons)
{
    const auto t = Clock::now();
    auto window = std::make_unique<QWidget>();
    window->resize(width, height);
    for (int i = 0; i < buttons; ++i) {
        auto* b = new QPushButton(QStringLiteral("Button %1").arg(i), window.get());
        b->setGeometry(8 + (i % 4) * 176, 8 + (i / 4) * 40, 170, 36);
    }
    TFirstPaint painted(window.get());
    window->show();
    painted.Wait();
    const double spent = std::chrono::duration<double>(Clock::now() - t).count();
    window.reset();
    QCoreApplication::processEvents();
    return spent;
}

void BM_StartupToFirstPaint(benchmark::State& state)
{
    QTemporaryDir folder;
    Program_Folder_Source = [f = folder.path()]() { return f; };
    Application->Initialize();
    double ours = 0;
    double qt = 0;
    int width = 0, height = 0, buttons = 0;
    for (auto _ : state) {
        const auto t = Clock::now();
        Create_Forms();
        TFirstPaint painted(FMorvantinoFirmWare->Widget());
        FMorvantinoFirmWare->Show();
        painted.Wait();
        const double spent = std::chrono::duration<double>(Clock::now() - t).count();
        state.SetIterationTime(spent);
        ours += spent;
        width = FMorvantinoFirmWare->Width();
        height = FMorvantinoFirmWare->Height();
        buttons = CountButtons(FMorvantinoFirmWare);
        Application->DestroyComponents();
        QCoreApplication::processEvents();
        qt += QtWindowToFirstPaint(width, height, buttons);
    }
    Program_Folder_Source = nullptr;
    state.counters["qt_ms"] = benchmark::Counter(qt * 1000 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(ours / qt);
    state.counters["buttons"] = buttons;
    state.SetLabel(QStringLiteral("%1 x %2").arg(width).arg(height).toStdString());
}

} // namespace

BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
