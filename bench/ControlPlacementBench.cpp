// Placing many labels on one form, as a form's constructor does: each label
// is made with the form as owner, put on it, given its bounds and its
// caption. Qt's own labels placed on a widget the same way run beside it in
// the same iteration: "ratio" is ours over Qt's. Placing a label must cost
// the same however many the form holds already: "x2000" is the time against
// the 2,000-label run (10 when linear). Above twice Qt's time the run fails.
// Both are freed untimed, after the events they posted (as the event loop
// would have), between iterations.
#include "BenchPaired.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

constexpr double Limit = 2.0;

QString Caption(int i)
{
    return QStringLiteral("Label %1").arg(i);
}

// Where the i-th label goes: rows of 8 labels, 20 pixels apart.
TRect Place(int i)
{
    return Bounds(8 + (i % 8) * 90, 8 + (i / 8) * 20, 80, 17);
}

std::unique_ptr<TForm> PlaceOurLabels(int n)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 760, 560);
    (void)form->Widget();
    for (int i = 0; i < n; ++i) {
        auto* l = new TLabel(form.get());
        l->SetParent(form.get());
        const TRect r = Place(i);
        l->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        l->SetCaption(Caption(i));
    }
    return form;
}

std::unique_ptr<QWidget> PlaceQtLabels(int n)
{
    auto widget = std::make_unique<QWidget>();
    widget->resize(760, 560);
    for (int i = 0; i < n; ++i) {
        auto* l = new QLabel(widget.get());
        const TRect r = Place(i);
        l->setGeometry(r.Left, r.Top, r.Width(), r.Height());
        l->setText(Caption(i));
    }
    return widget;
}

std::map<int64_t, double>& SecondsBySize()
{
    static std::map<int64_t, double> seconds;
    return seconds;
}

void BM_LabelsOnForm(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::unique_ptr<TForm> form;
    std::unique_ptr<QWidget> widget;
    auto free = [&] {
        QCoreApplication::sendPostedEvents();
        form.reset();
        widget.reset();
    };
    double ours = 0;
    auto timed = [&] {
        const auto t = benchpaired::Clock::now();
        form = PlaceOurLabels(n);
        ours += benchpaired::Seconds(benchpaired::Clock::now() - t);
    };
    benchpaired::Paired(
        state, timed, [&] { widget = PlaceQtLabels(n); }, free);
    free();
    const double perIteration = ours / double(state.iterations());
    SecondsBySize()[n] = perIteration;
    if (const auto base = SecondsBySize().find(2000); n != 2000 && base != SecondsBySize().end())
        state.counters["x2000"] = perIteration / base->second;
    state.SetComplexityN(n);
    benchpaired::FailAbove(state, state.counters["ratio"], Limit, "placing labels", "as long as Qt's labels");
}

} // namespace

// A fixed count of iterations: the library's short trial runs would
// otherwise be judged against the limit on one or two forms.
BENCHMARK(BM_LabelsOnForm)
    ->ArgName("labels")
    ->Arg(2000)
    ->Arg(20000)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
