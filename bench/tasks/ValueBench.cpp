// Copying a tagged value against a std::variant that holds its texts by
// shared pointer, the nearest standard equivalent.
#include "tasks/WeftValue.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <variant>

namespace {

using TStdValue = std::variant<std::monostate, bool, int32_t, int64_t, double, std::shared_ptr<const QString>>;

void BM_WeftValueCopyInteger(benchmark::State& state)
{
    const TWeftValue v(42);
    for (auto _ : state) {
        TWeftValue copy = v;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_WeftValueCopyInteger);

void BM_VariantCopyInteger(benchmark::State& state)
{
    const TStdValue v(int32_t(42));
    for (auto _ : state) {
        TStdValue copy = v;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_VariantCopyInteger);

void BM_WeftValueCopyString(benchmark::State& state)
{
    const TWeftValue v(QStringLiteral("a log line from the web worker"));
    for (auto _ : state) {
        TWeftValue copy = v;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_WeftValueCopyString);

void BM_VariantCopyString(benchmark::State& state)
{
    const TStdValue v(std::make_shared<const QString>(QStringLiteral("a log line from the web worker")));
    for (auto _ : state) {
        TStdValue copy = v;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_VariantCopyString);

}  // namespace
