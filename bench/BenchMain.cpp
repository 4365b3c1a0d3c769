// Benchmarks run inside a QApplication on the offscreen platform, as the tests do.
#include "bench/BenchPaired.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    benchpaired::RunCleanups();
    return 0;
}
