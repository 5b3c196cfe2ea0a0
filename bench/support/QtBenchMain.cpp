// Benchmark main for programs that paint or need the event loop: the
// offscreen Qt application first, then the benchmarks named on the command
// line.
#include "platform/ui/Forms.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(CreateQtApplication(argc, argv));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
