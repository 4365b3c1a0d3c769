// Owning many components: a form that owns every control of its panels (the
// protocol parameter form owns about 900) inserts each one as it is created
// and removes each one when it is freed. Each insertion or removal tells
// every other owned component once and searches nothing more. Qt's own
// parent and child objects run beside it, and the parameter form itself is
// built and freed whole.
#include "app/core/ULanguage.h"
#include "app/core/UParGen.h"
#include "platform/runtime/Component.h"

#include <QObject>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A component that forwards notifications as any owner does.
class TLeaf : public TComponent {
public:
    using TComponent::TComponent;
};

void BM_ComponentOwnInsertAndFree(benchmark::State& state)
{
    const int n = int(state.range(0));
    for (auto _ : state) {
        auto owner = std::make_unique<TComponent>(nullptr);
        for (int i = 0; i < n; ++i)
            new TLeaf(owner.get());
        owner.reset();
    }
    state.SetComplexityN(n);
}

void BM_QObjectOwnInsertAndFree(benchmark::State& state)
{
    const int n = int(state.range(0));
    for (auto _ : state) {
        auto parent = std::make_unique<QObject>();
        for (int i = 0; i < n; ++i)
            new QObject(parent.get());
        parent.reset();
    }
    state.SetComplexityN(n);
}

// Components freed one by one in the order they were created, as a form's
// code does when it drops rows it made.
void BM_ComponentFreeInCreationOrder(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::vector<TComponent*> made(static_cast<size_t>(n));
    for (auto _ : state) {
        TComponent owner(nullptr);
        for (int i = 0; i < n; ++i)
            made[size_t(i)] = new TLeaf(&owner);
        for (TComponent* c : made)
            delete c;
    }
    state.SetComplexityN(n);
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

} // namespace

BENCHMARK(BM_ComponentOwnInsertAndFree)->RangeMultiplier(4)->Range(256, 4096)->Complexity();
BENCHMARK(BM_QObjectOwnInsertAndFree)->RangeMultiplier(4)->Range(256, 4096)->Complexity();
BENCHMARK(BM_ComponentFreeInCreationOrder)->RangeMultiplier(4)->Range(256, 4096)->Complexity();
BENCHMARK(BM_ParGenFormCreateAndFree)->Unit(benchmark::kMillisecond);
