// Owning many components: a form that owns every control of its panels (the
// protocol parameter form owns about 900) inserts each one as it is created
// and removes each one when it is freed. Each costs the same however many the
// owner has. Qt's own parent and child objects run beside it in the same
// iteration; "ratio" is the component's time over Qt's. The parameter form
// itself is built and freed whole.
#include "app/core/ULanguage.h"
#include "app/core/UParGen.h"
#include "platform/runtime/Component.h"

#include <QObject>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

enum class Phase { Create, FreeByOwner, FreeOneByOne };

// Times one phase of owning n children, for TComponent (T = TComponent) or
// QObject, each child made with its owner given at construction.
template <typename T> double TimePhase(Phase phase, std::vector<T*>& made)
{
    const size_t n = made.size();
    auto owner = std::make_unique<T>(nullptr);
    auto t = Clock::now();
    for (size_t i = 0; i < n; ++i)
        made[i] = new T(owner.get());
    double spent = Seconds(t);
    if (phase == Phase::Create) {
        owner.reset();
        return spent;
    }
    t = Clock::now();
    if (phase == Phase::FreeByOwner)
        owner.reset();
    else
        for (T* c : made)
            delete c;
    spent = Seconds(t);
    return spent;
}

void BM_ComponentOwnership(benchmark::State& state)
{
    const auto phase = static_cast<Phase>(state.range(0));
    std::vector<TComponent*> components(static_cast<size_t>(state.range(1)));
    std::vector<QObject*> objects(components.size());
    double ours = 0;
    double qt = 0;
    for (auto _ : state) {
        const double spent = TimePhase(phase, components);
        state.SetIterationTime(spent);
        ours += spent;
        qt += TimePhase(phase, objects);
    }
    state.counters["qt_ms"] = benchmark::Counter(qt * 1000 / double(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(ours / qt);
    state.SetLabel(phase == Phase::Create ? "create"
            : phase == Phase::FreeByOwner ? "free by owner"
                                          : "free one by one");
    state.SetComplexityN(state.range(1));
}

void BM_ParGenFormCreateAndFree(benchmark::State& state)
{
    Init_Lang_Default();
    for (auto _ : state) {
        auto form = std::make_unique<TFParGen>(nullptr);
        benchmark::DoNotOptimize(form.get());
        form.reset();
    }
}

void OwnershipArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({ "phase", "n" });
    for (int phase = 0; phase < 3; ++phase)
        for (int n : { 1000, 10000, 100000 })
            b->Args({ phase, n });
}

} // namespace

BENCHMARK(BM_ComponentOwnership)->Apply(OwnershipArgs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParGenFormCreateAndFree)->Unit(benchmark::kMillisecond);
