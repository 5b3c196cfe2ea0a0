// 100,000 empty tasks through the framework's pool, boost::asio::thread_pool
// and a plain std::thread work-queue pool; work items per second through the
// background worker, completion on the owner thread included (each item
// scheduled from the completion of the one before), against a std::thread +
// queue + posted callback; and the pool's schedule-to-start latency. The
// BM_Ratio_ benchmarks run the framework and its peer alternately in one run
// and report the medians of five rounds and their ratio.

#include "bench/support/SideBySide.h"
#include "platform/os/MessageWindow.h"
#include "tasks/WeftBackgroundWorker.h"
#include "tasks/WeftInit.h"
#include "tasks/WeftThreadPool.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <boost/asio/post.hpp>
#include <boost/asio/thread_pool.hpp>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int CTasks = 100000;

int Workers()
{
    return int(std::max(2u, std::thread::hardware_concurrency()));
}

void Init()
{
    static const bool ok = weft::initialize();
    (void)ok;
}

// A plain work-queue pool: one mutex, one condition variable.
class PlainPool {
public:
    explicit PlainPool(int n)
    {
        for (int i = 0; i < n; ++i)
            FThreads.emplace_back([this] { Loop(); });
    }
    ~PlainPool()
    {
        {
            std::lock_guard lock(FLock);
            FStop = true;
        }
        FCv.notify_all();
        for (auto& t : FThreads)
            t.join();
    }
    void Post(std::function<void()> f)
    {
        {
            std::lock_guard lock(FLock);
            FQueue.push_back(std::move(f));
        }
        FCv.notify_one();
    }

private:
    void Loop()
    {
        for (;;) {
            std::function<void()> f;
            {
                std::unique_lock lock(FLock);
                FCv.wait(lock, [this] { return FStop || !FQueue.empty(); });
                if (FQueue.empty())
                    return;
                f = std::move(FQueue.front());
                FQueue.pop_front();
            }
            f();
        }
    }
    std::mutex FLock;
    std::condition_variable FCv;
    std::deque<std::function<void()>> FQueue;
    bool FStop = false;
    std::vector<std::thread> FThreads;
};

struct Countdown {
    std::atomic<int> Left;
    THandle Done = CreateEvent(true, false);
    explicit Countdown(int n) : Left(n) {}
    void Hit()
    {
        if (Left.fetch_sub(1) == 1)
            SetEvent(Done);
    }
};

void BM_WeftPool_EmptyTasks(benchmark::State& state)
{
    Init();
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("bench"));
    pool->SetMaxExecuting(Workers());
    const int queueSize = int(state.range(0));
    for (auto _ : state) {
        Countdown c(CTasks);
        for (int i = 0; i < CTasks; ++i) {
            PWeftTaskControl t = CreateTask(TWeftTaskDelegate([&c](const PWeftTask&) { c.Hit(); }), QStringLiteral("e"));
            if (queueSize > 0)
                t->SetQueueSize(queueSize);
            t->Schedule(pool);
        }
        WaitForSingleObject(c.Done, INFINITE);
    }
    state.SetItemsProcessed(state.iterations() * CTasks);
}
// 0: the default channel of 10,000 messages per direction; 16: a small one.
BENCHMARK(BM_WeftPool_EmptyTasks)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();

// Plain callables posted to the pool: no task per item.
void BM_WeftPool_Post(benchmark::State& state)
{
    Init();
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("bench"));
    pool->SetMaxExecuting(Workers());
    for (auto _ : state) {
        Countdown c(CTasks);
        for (int i = 0; i < CTasks; ++i)
            pool->Post([&c] { c.Hit(); });
        WaitForSingleObject(c.Done, INFINITE);
    }
    state.SetItemsProcessed(state.iterations() * CTasks);
}
BENCHMARK(BM_WeftPool_Post)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AsioPool_EmptyTasks(benchmark::State& state)
{
    boost::asio::thread_pool pool{size_t(Workers())};
    for (auto _ : state) {
        Countdown c(CTasks);
        for (int i = 0; i < CTasks; ++i)
            boost::asio::post(pool, [&c] { c.Hit(); });
        WaitForSingleObject(c.Done, INFINITE);
    }
    pool.join();
    state.SetItemsProcessed(state.iterations() * CTasks);
}
BENCHMARK(BM_AsioPool_EmptyTasks)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainPool_EmptyTasks(benchmark::State& state)
{
    PlainPool pool(Workers());
    for (auto _ : state) {
        Countdown c(CTasks);
        for (int i = 0; i < CTasks; ++i)
            pool.Post([&c] { c.Hit(); });
        WaitForSingleObject(c.Done, INFINITE);
    }
    state.SetItemsProcessed(state.iterations() * CTasks);
}
BENCHMARK(BM_PlainPool_EmptyTasks)->Unit(benchmark::kMillisecond)->UseRealTime();

// The task objects alone: made and released on one thread, no pool.
void BM_WeftCreateTask(benchmark::State& state)
{
    Init();
    for (auto _ : state)
        benchmark::DoNotOptimize(CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("e")));
}
BENCHMARK(BM_WeftCreateTask);

// --- Side by side -------------------------------------------------------------------
//
// The machine is shared, so the two sides of a comparison run alternately
// (A, B, A, B ...) five times each in one benchmark; the counters are the
// medians and their ratio.

constexpr int CRounds = 5;

using bench::Median;

// a and b return items per second; ratio = a / b (above 1: a is faster).
template <class A, class B>
void Interleaved(benchmark::State& state, A a, B b, const char* nameA, const char* nameB)
{
    std::vector<double> ra, rb;
    for (auto _ : state)
        for (int i = 0; i < CRounds; ++i) {
            ra.push_back(a());
            rb.push_back(b());
        }
    const double ma = Median(ra), mb = Median(rb);
    state.counters[nameA] = ma;
    state.counters[nameB] = mb;
    state.counters["ratio"] = ma / mb;
}

template <class F>
double PerSecond(int items, F run)
{
    const auto t0 = std::chrono::steady_clock::now();
    run();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return items / s;
}

// CPU time of the calling thread in microseconds.
double ThreadCpu_us()
{
    timespec ts;
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

// The scheduling thread's CPU per task (median over the rounds): unlike the
// throughput it hardly depends on how many cores the other programs leave
// free, so it shows the scheduling cost also on a busy machine.
// The scheduling thread's waits (it blocked) and preemptions (the system
// took its processor) per 1,000 tasks, medians over the rounds.
struct TSwitches {
    std::vector<double> Waits, Preempted;
    // The whole process's CPU per task (the pool's threads included).
    std::vector<double> ProcessCpu_us;
};

double ProcessCpu_us()
{
    timespec ts;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

template <class F>
auto CpuPerTask(std::vector<double>& perTask_us, TSwitches& switches, F run)
{
    return [&perTask_us, &switches, run] {
        rusage r0, r1;
        ::getrusage(RUSAGE_THREAD, &r0);
        const double c0 = ThreadCpu_us(), p0 = ProcessCpu_us();
        const double rate = run();
        perTask_us.push_back((ThreadCpu_us() - c0) / CTasks);
        switches.ProcessCpu_us.push_back((ProcessCpu_us() - p0) / CTasks);
        ::getrusage(RUSAGE_THREAD, &r1);
        switches.Waits.push_back(double(r1.ru_nvcsw - r0.ru_nvcsw) * 1000.0 / CTasks);
        switches.Preempted.push_back(double(r1.ru_nivcsw - r0.ru_nivcsw) * 1000.0 / CTasks);
        return rate;
    };
}

// Busy processes that compete for the processors while alive.
class TCompetitors {
public:
    TCompetitors()
    {
        const char* n = std::getenv("SORVEX_BENCH_COMPETITORS");
        for (int i = 0, count = n ? std::atoi(n) : 0; i < count; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0)
                for (;;)
                    asm volatile("" ::: "memory");
            if (pid > 0)
                FPids.push_back(pid);
        }
    }
    ~TCompetitors()
    {
        for (const pid_t pid : FPids)
            ::kill(pid, SIGKILL);
        for (const pid_t pid : FPids)
            ::waitpid(pid, nullptr, 0);
    }
    int Count() const { return int(FPids.size()); }

private:
    std::vector<pid_t> FPids;
};

// Empty items through the framework's pool (each handed over by
// scheduleOne(pool, hit)) and through asio's pool, side by side.
template <class ScheduleOne>
void PoolAgainstAsio(benchmark::State& state, ScheduleOne scheduleOne)
{
    Init();
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("bench"));
    pool->SetMaxExecuting(Workers());
    boost::asio::thread_pool asio{size_t(Workers())};
    const TCompetitors competitors;
    // How long the handing over took alone (the rest is the pool catching up).
    std::vector<double> weftPost_ms, asioPost_ms;
    auto weft = [&] {
        return PerSecond(CTasks, [&] {
            Countdown c(CTasks);
            weftPost_ms.push_back(bench::Millis([&] {
                for (int i = 0; i < CTasks; ++i)
                    scheduleOne(pool, c);
            }));
            WaitForSingleObject(c.Done, INFINITE);
        });
    };
    auto other = [&] {
        return PerSecond(CTasks, [&] {
            Countdown c(CTasks);
            asioPost_ms.push_back(bench::Millis([&] {
                for (int i = 0; i < CTasks; ++i)
                    boost::asio::post(asio, [&c] { c.Hit(); });
            }));
            WaitForSingleObject(c.Done, INFINITE);
        });
    };
    std::vector<double> weftCpu, asioCpu;
    TSwitches weftSwitches, asioSwitches;
    Interleaved(state, CpuPerTask(weftCpu, weftSwitches, weft), CpuPerTask(asioCpu, asioSwitches, other), "weft_per_s",
                "asio_per_s");
    state.counters["weft_sched_cpu_us"] = Median(weftCpu);
    state.counters["asio_sched_cpu_us"] = Median(asioCpu);
    state.counters["weft_waits_per_1k"] = Median(weftSwitches.Waits);
    state.counters["asio_waits_per_1k"] = Median(asioSwitches.Waits);
    state.counters["weft_preempted_per_1k"] = Median(weftSwitches.Preempted);
    state.counters["asio_preempted_per_1k"] = Median(asioSwitches.Preempted);
    state.counters["weft_cpu_us"] = Median(weftSwitches.ProcessCpu_us);
    state.counters["asio_cpu_us"] = Median(asioSwitches.ProcessCpu_us);
    state.counters["weft_post_ms"] = Median(weftPost_ms);
    state.counters["asio_post_ms"] = Median(asioPost_ms);
    state.counters["competitors"] = competitors.Count();
    asio.join();
}

void BM_Ratio_PoolVsAsio(benchmark::State& state)
{
    PoolAgainstAsio(state, [](const PWeftThreadPool& pool, Countdown& c) {
        CreateTask(TWeftTaskDelegate([&c](const PWeftTask&) { c.Hit(); }), QStringLiteral("e"))->Schedule(pool);
    });
}
BENCHMARK(BM_Ratio_PoolVsAsio)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Plain callables posted to the pool (no task per item), the form that
// matches asio's posted handlers.
void BM_Ratio_PoolPostVsAsio(benchmark::State& state)
{
    PoolAgainstAsio(state, [](const PWeftThreadPool& pool, Countdown& c) { pool->Post([&c] { c.Hit(); }); });
}
BENCHMARK(BM_Ratio_PoolPostVsAsio)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Ratio_BackgroundWorkerVsHandWritten(benchmark::State& state)
{
    Init();
    const int n = 2000;
    int doneWeft = 0, doneHand = 0;
    PWeftBackgroundWorker worker =
        Parallel::BackgroundWorker()
            ->NumTasks(1)
            ->OnRequestDone([&](const PWeftBackgroundWorker& w, const PWeftWorkItem&) {
                if (++doneWeft % n != 0)
                    w->Schedule(w->CreateWorkItem(TWeftValue()));
            })
            ->Execute([](const PWeftWorkItem& item) { item->SetResult(TWeftValue(1)); });

    std::mutex lock;
    std::condition_variable cv;
    std::deque<int> queue;
    bool stop = false;
    std::function<void()> scheduleNext;
    HWND wnd = AllocateMessageWindow([&](TMessage& m) {
        if (m.Msg == 0x400 && ++doneHand % n != 0)
            scheduleNext();
    });
    std::thread thread([&] {
        for (;;) {
            int item;
            {
                std::unique_lock l(lock);
                cv.wait(l, [&] { return stop || !queue.empty(); });
                if (queue.empty())
                    return;
                item = queue.front();
                queue.pop_front();
            }
            PostMessage(wnd, 0x400, WPARAM(item), 0);
        }
    });
    scheduleNext = [&] {
        {
            std::lock_guard l(lock);
            queue.push_back(doneHand);
        }
        cv.notify_one();
    };

    auto weft = [&] {
        return PerSecond(n, [&] {
            const int target = doneWeft + n;
            worker->Schedule(worker->CreateWorkItem(TWeftValue()));
            RunMessageLoopUntil([&] { return doneWeft >= target; }, INFINITE);
        });
    };
    auto hand = [&] {
        return PerSecond(n, [&] {
            const int target = doneHand + n;
            scheduleNext();
            RunMessageLoopUntil([&] { return doneHand >= target; }, INFINITE);
        });
    };
    Interleaved(state, weft, hand, "weft_per_s", "hand_per_s");

    worker->Terminate(-1);
    {
        std::lock_guard l(lock);
        stop = true;
    }
    cv.notify_one();
    thread.join();
    DeallocateMessageWindow(wnd);
}
BENCHMARK(BM_Ratio_BackgroundWorkerVsHandWritten)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Schedule-to-start: the median of five runs' medians (1,000 tasks each).
void BM_Ratio_ScheduleToStart(benchmark::State& state)
{
    Init();
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("latency"));
    using Clock = std::chrono::steady_clock;
    std::vector<double> medians;
    for (auto _ : state)
        for (int r = 0; r < CRounds; ++r) {
            std::vector<double> samples;
            for (int i = 0; i < 1000; ++i) {
                std::atomic<int64_t> startedNs{0};
                THandle done = CreateEvent(true, false);
                PWeftTaskControl t = CreateTask(TWeftTaskDelegate([&](const PWeftTask&) {
                                                    startedNs = Clock::now().time_since_epoch().count();
                                                    SetEvent(done);
                                                }),
                                                QStringLiteral("l"));
                const int64_t scheduled = Clock::now().time_since_epoch().count();
                t->Schedule(pool);
                WaitForSingleObject(done, INFINITE);
                samples.push_back(double(startedNs.load() - scheduled) / 1000.0);
                t->WaitFor(INFINITE);
            }
            medians.push_back(Median(samples));
        }
    state.counters["median_us"] = Median(medians);
}
BENCHMARK(BM_Ratio_ScheduleToStart)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
