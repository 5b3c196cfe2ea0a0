// ForEach and For over 10^7 cheap items against a hand-partitioned
// std::thread loop (and std::execution::par, whose GCC backend needs TBB:
// without it the algorithm runs serially); fork-join recursion against
// std::async. Every loop writes one array element per item. The BM_Ratio_
// benchmarks run a loop and its hand-partitioned peer alternately in one run
// and report the medians of five rounds and their ratio.

#include "tasks/WeftFor.h"
#include "tasks/WeftForEach.h"
#include "tasks/WeftForkJoin.h"
#include "tasks/WeftInit.h"

#include <algorithm>
#include <chrono>
#include "bench/support/SideBySide.h"

#include <benchmark/benchmark.h>
#include <execution>
#include <future>
#include <numeric>
#include <thread>
#include <vector>

namespace {

constexpr int32_t N = 10'000'000;

int Workers()
{
    static const int n = [] {
        QString error;
        weft::initialize(&error);
        return WeftProcessorCount();
    }();
    return n;
}

std::vector<int64_t>& Out()
{
    static std::vector<int64_t> out(static_cast<size_t>(N) + 1);
    return out;
}

inline int64_t Work(int64_t i)
{
    return i * 3 + (i >> 2);
}

void HandLoop()
{
    const int p = Workers();
    auto& out = Out();
    std::vector<std::thread> threads;
    for (int w = 0; w < p; ++w)
        threads.emplace_back([&, w] {
            const int64_t lo = 1 + int64_t(N) * w / p, hi = int64_t(N) * (w + 1) / p;
            for (int64_t i = lo; i <= hi; ++i)
                out[size_t(i)] = Work(i);
        });
    for (auto& t : threads)
        t.join();
    benchmark::DoNotOptimize(out.data());
}

int64_t HandSum()
{
    const int p = Workers();
    std::vector<int64_t> partial(static_cast<size_t>(p));
    std::vector<std::thread> threads;
    for (int w = 0; w < p; ++w)
        threads.emplace_back([&, w] {
            const int64_t lo = 1 + int64_t(N) * w / p, hi = int64_t(N) * (w + 1) / p;
            int64_t s = 0;
            for (int64_t i = lo; i <= hi; ++i)
                s += Work(i);
            partial[size_t(w)] = s;
        });
    for (auto& t : threads)
        t.join();
    return std::accumulate(partial.begin(), partial.end(), int64_t(0));
}

void BM_HandPartitionedThreads(benchmark::State& state)
{
    for (auto _ : state)
        HandLoop();
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_StdExecutionPar(benchmark::State& state)
{
    auto& out = Out();
    std::vector<int32_t> idx(static_cast<size_t>(N));
    std::iota(idx.begin(), idx.end(), 1);
    for (auto _ : state) {
        std::for_each(std::execution::par, idx.begin(), idx.end(), [&](int32_t i) { out[size_t(i)] = Work(i); });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_ParallelFor(benchmark::State& state)
{
    const int p = Workers();
    auto& out = Out();
    for (auto _ : state) {
        ParallelFor(1, N)->NumTasks(p)->Execute([&](int32_t i) { out[size_t(i)] = Work(i); });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_ParallelForChunks(benchmark::State& state)
{
    const int p = Workers();
    auto& out = Out();
    for (auto _ : state) {
        ParallelFor(1, N)->NumTasks(p)->ExecuteChunks([&](int32_t, int32_t from, int32_t to) {
            for (int64_t i = from; i <= to; ++i)
                out[size_t(i)] = Work(i);
        });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_ParallelForEachRange(benchmark::State& state)
{
    const int p = Workers();
    auto& out = Out();
    for (auto _ : state) {
        ParallelForEach(1, N)->NumTasks(p)->Execute([&](const TWeftValue& v) {
            const int64_t i = v.AsInt64();
            out[size_t(i)] = Work(i);
        });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

// The same loop with the item type known: no value per item.
void BM_ParallelForEachRangeInt(benchmark::State& state)
{
    const int p = Workers();
    auto& out = Out();
    for (auto _ : state) {
        ParallelForEach(1, N)->NumTasks(p)->ExecuteInt([&](int64_t i) { out[size_t(i)] = Work(i); });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_ParallelForEachAggregateSumInt(benchmark::State& state)
{
    const int p = Workers();
    for (auto _ : state) {
        const TWeftValue sum = ParallelForEach(1, N)->NumTasks(p)->AggregateSum()->ExecuteInt([](int64_t i) { return Work(i); });
        benchmark::DoNotOptimize(sum.AsInt64());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_ParallelForEachAggregateSum(benchmark::State& state)
{
    const int p = Workers();
    for (auto _ : state) {
        const TWeftValue sum = ParallelForEach(1, N)->NumTasks(p)->AggregateSum()->Execute(
            [](const TWeftValue& v, TWeftValue& r) { r = TWeftValue(Work(v.AsInt64())); });
        benchmark::DoNotOptimize(sum.AsInt64());
    }
    state.SetItemsProcessed(state.iterations() * N);
}

void BM_HandPartitionedSum(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(HandSum());
    state.SetItemsProcessed(state.iterations() * N);
}

// --- Recursion -------------------------------------------------------------------------

constexpr int FibN = 32;
constexpr int FibCutoff = 22;

int64_t SerialFib(int n)
{
    return n < 2 ? n : SerialFib(n - 1) + SerialFib(n - 2);
}

int64_t ForkJoinFib(const PWeftForkJoin<int64_t>& fj, int n)
{
    if (n < FibCutoff)
        return SerialFib(n);
    auto left = fj->Compute([&fj, n] { return ForkJoinFib(fj, n - 1); });
    const int64_t right = ForkJoinFib(fj, n - 2);
    return left->Value() + right;
}

int64_t AsyncFib(int n)
{
    if (n < FibCutoff)
        return SerialFib(n);
    auto left = std::async(std::launch::async, AsyncFib, n - 1);
    const int64_t right = AsyncFib(n - 2);
    return left.get() + right;
}

void BM_SerialFib(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SerialFib(FibN));
}

void BM_ForkJoinFib(benchmark::State& state)
{
    Workers();
    // Made once: starting its workers is measured by the loop start-up.
    auto fj = ParallelForkJoin<int64_t>();
    for (auto _ : state)
        benchmark::DoNotOptimize(ForkJoinFib(fj, FibN));
}

void BM_AsyncFib(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AsyncFib(FibN));
}

}  // namespace

BENCHMARK(BM_HandPartitionedThreads)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StdExecutionPar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParallelFor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParallelForChunks)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParallelForEachRange)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParallelForEachRangeInt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HandPartitionedSum)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParallelForEachAggregateSum)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParallelForEachAggregateSumInt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SerialFib)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ForkJoinFib)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AsyncFib)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {

// The fixed cost of one loop: starting and ending its workers.
void BM_ParallelForStartOnly(benchmark::State& state)
{
    const int p = Workers();
    for (auto _ : state)
        ParallelFor(1, p)->NumTasks(p)->Execute([](int32_t i) { benchmark::DoNotOptimize(i); });
}

void BM_ThreadsStartOnly(benchmark::State& state)
{
    const int p = Workers();
    for (auto _ : state) {
        std::vector<std::thread> threads;
        for (int w = 0; w < p; ++w)
            threads.emplace_back([w] { benchmark::DoNotOptimize(w); });
        for (auto& t : threads)
            t.join();
    }
}

}  // namespace

BENCHMARK(BM_ParallelForStartOnly)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ThreadsStartOnly)->Unit(benchmark::kMicrosecond)->UseRealTime();

namespace {

// --- Side by side ----------------------------------------------------------------------
//
// The machine is shared, so each comparison runs the loop and its
// hand-partitioned peer alternately (A, B, A, B ...) five times each; the
// counters are the median times in milliseconds and their ratio (loop time
// per peer time: below 1 the loop is faster).

constexpr int CRounds = 5;

using bench::Median;
using bench::Millis;

template <class A, class B>
void Interleaved(benchmark::State& state, A a, B b)
{
    std::vector<double> ta, tb;
    for (auto _ : state)
        for (int i = 0; i < CRounds; ++i) {
            ta.push_back(Millis(a));
            tb.push_back(Millis(b));
        }
    state.counters["loop_ms"] = Median(ta);
    state.counters["hand_ms"] = Median(tb);
    state.counters["ratio"] = Median(ta) / Median(tb);
}

void BM_Ratio_ForEachIntVsHandLoop(benchmark::State& state)
{
    const int p = Workers();
    auto& out = Out();
    Interleaved(
        state,
        [&] {
            ParallelForEach(1, N)->NumTasks(p)->ExecuteInt([&](int64_t i) { out[size_t(i)] = Work(i); });
            benchmark::DoNotOptimize(out.data());
        },
        HandLoop);
}

void BM_Ratio_AggregateSumIntVsHandSum(benchmark::State& state)
{
    const int p = Workers();
    Interleaved(
        state,
        [&] {
            const TWeftValue sum =
                ParallelForEach(1, N)->NumTasks(p)->AggregateSum()->ExecuteInt([](int64_t i) { return Work(i); });
            benchmark::DoNotOptimize(sum.AsInt64());
        },
        [] { benchmark::DoNotOptimize(HandSum()); });
}

// The value-per-item forms, for reference.
void BM_Ratio_ForEachValueVsHandLoop(benchmark::State& state)
{
    const int p = Workers();
    auto& out = Out();
    Interleaved(
        state,
        [&] {
            ParallelForEach(1, N)->NumTasks(p)->Execute([&](const TWeftValue& v) {
                const int64_t i = v.AsInt64();
                out[size_t(i)] = Work(i);
            });
            benchmark::DoNotOptimize(out.data());
        },
        HandLoop);
}

void BM_Ratio_AggregateSumValueVsHandSum(benchmark::State& state)
{
    const int p = Workers();
    Interleaved(
        state,
        [&] {
            const TWeftValue sum = ParallelForEach(1, N)->NumTasks(p)->AggregateSum()->Execute(
                [](const TWeftValue& v, TWeftValue& r) { r = TWeftValue(Work(v.AsInt64())); });
            benchmark::DoNotOptimize(sum.AsInt64());
        },
        [] { benchmark::DoNotOptimize(HandSum()); });
}

}  // namespace

BENCHMARK(BM_Ratio_ForEachIntVsHandLoop)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ratio_AggregateSumIntVsHandSum)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ratio_ForEachValueVsHandLoop)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ratio_AggregateSumValueVsHandSum)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
