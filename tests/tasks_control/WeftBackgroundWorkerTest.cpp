// The background worker in the web worker's shape: the owner thread runs a
// message loop, one task runs one work item at a time; an item posts texts
// (task message 1001), calls the owner synchronously and pauses; the
// completion handler on the owner thread schedules the next item; closing
// cancels everything, terminates with 5 ms and releases the worker.

#include "TaskTestSupport.h"

#include "tasks/WeftBackgroundWorker.h"

#include <QRandomGenerator>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

struct WebWorkerShape {
    PWeftThreadPool Pool;
    PWeftBackgroundWorker Worker;
    std::vector<QString> Log;
    std::vector<int64_t> Ids;
    int OwnerCounter = 0;  // touched only on the owner thread
    DWORD Owner = GetThreadId();
    std::atomic<bool> WrongThread{false};
    bool Closed = false;
    int CyclesWanted = 5;
    int PauseMs = 0;

    explicit WebWorkerShape(PWeftThreadPool pool = nullptr) : Pool(std::move(pool))
    {
        PWeftTaskConfig cfg = Parallel::TaskConfig()->OnMessage(1001, [this](const PWeftTaskControl&, TWeftMessage& m) {
            if (GetThreadId() != Owner)
                WrongThread = true;
            Log.push_back(m.MsgData.AsString());
        });
        if (Pool)
            cfg->ThreadPool(Pool);
        Worker = Parallel::BackgroundWorker()
                     ->NumTasks(1)
                     ->OnRequestDone([this](const PWeftBackgroundWorker& w, const PWeftWorkItem& item) {
                         if (GetThreadId() != Owner)
                             WrongThread = true;
                         Ids.push_back(item->UniqueID());
                         if (!item->CancellationToken()->IsSignalled() && int(Ids.size()) < CyclesWanted)
                             w->Schedule(w->CreateWorkItem(PauseMs));
                         else
                             Closed = true;
                     })
                     ->TaskConfig(cfg)
                     ->Execute([this](const PWeftWorkItem& item) { Cycle(item); });
    }

    void Cycle(const PWeftWorkItem& item)
    {
        item->Task()->Comm()->Send(1001, TWeftValue(QStringLiteral("cycle %1").arg(item->UniqueID())));
        item->Synchronize([this] {
            if (GetThreadId() != Owner)
                WrongThread = true;
            ++OwnerCounter;
        });
        if (item->CancellationToken()->IsSignalled())
            return;
        // The pause ends early when the item is cancelled.
        WaitForSingleObject(item->CancellationToken()->Handle(), DWORD(item->Data().AsInteger()));
        item->SetResult(TWeftValue(item->UniqueID()));
    }

    void Close()
    {
        Worker->CancelAll();
        Worker->Terminate(5);
        Worker.reset();
    }
};

}  // namespace

class WeftBackgroundWorker : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};

TEST_F(WeftBackgroundWorker, CyclesFollowOneAnotherAndCloseCleanly)
{
    WebWorkerShape w;
    w.PauseMs = 20;
    w.Worker->Schedule(w.Worker->CreateWorkItem(w.PauseMs));
    EXPECT_TRUE(PumpUntil([&] { return w.Closed; }));
    w.Close();
    EXPECT_EQ(w.Ids, (std::vector<int64_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(w.OwnerCounter, 5);
    ASSERT_EQ(w.Log.size(), 5u);
    EXPECT_EQ(w.Log.front(), QStringLiteral("cycle 1"));
    EXPECT_EQ(w.Log.back(), QStringLiteral("cycle 5"));
    EXPECT_FALSE(w.WrongThread.load());
}

TEST_F(WeftBackgroundWorker, ExceptionsSurfaceThroughTheItem)
{
    std::vector<PWeftWorkItem> done;
    PWeftBackgroundWorker worker =
        Parallel::BackgroundWorker()
            ->OnRequestDone([&](const PWeftBackgroundWorker&, const PWeftWorkItem& item) { done.push_back(item); })
            ->Execute([](const PWeftWorkItem&) { throw Exception(QStringLiteral("cycle failed")); });
    worker->Schedule(worker->CreateWorkItem(TWeftValue()));
    worker->Schedule(worker->CreateWorkItem(TWeftValue()));
    EXPECT_TRUE(PumpUntil([&] { return done.size() == 2; }));
    // Reading the result raises the trapped exception.
    EXPECT_TRUE(done[0]->IsExceptional());
    EXPECT_TRUE(done[0]->FatalException());
    try {
        done[0]->Result();
        ADD_FAILURE() << "Result did not raise";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("cycle failed"));
    }
    EXPECT_FALSE(done[0]->IsExceptional());
    // Detaching hands it over and leaves an empty pointer result.
    std::exception_ptr e = done[1]->DetachException();
    ASSERT_TRUE(e);
    EXPECT_FALSE(done[1]->IsExceptional());
    EXPECT_FALSE(done[1]->FatalException());
    EXPECT_TRUE(done[1]->Result().IsPointer());
    EXPECT_EQ(done[1]->DetachException(), nullptr);
    EXPECT_TRUE(worker->Terminate(5000));
}

TEST_F(WeftBackgroundWorker, CancelMarksSkipWorkButStillComplete)
{
    std::vector<std::pair<int64_t, bool>> done;  // id, work ran
    std::atomic<int> ran{0};
    PWeftBackgroundWorker worker =
        Parallel::BackgroundWorker()
            ->OnRequestDone([&](const PWeftBackgroundWorker&, const PWeftWorkItem& item) {
                done.emplace_back(item->UniqueID(), !item->Result().IsEmpty());
                if (item->UniqueID() <= 2) {
                    EXPECT_TRUE(item->CancellationToken()->IsSignalled());
                }
            })
            ->Execute([&](const PWeftWorkItem& item) {
                ran.fetch_add(1);
                item->SetResult(TWeftValue(1));
            });
    const PWeftWorkItem i1 = worker->CreateWorkItem(TWeftValue());
    const PWeftWorkItem i2 = worker->CreateWorkItem(TWeftValue());
    worker->CancelAll();
    const PWeftWorkItem i3 = worker->CreateWorkItem(TWeftValue());
    for (const auto& i : {i1, i2, i3})
        worker->Schedule(i);
    EXPECT_TRUE(PumpUntil([&] { return done.size() == 3; }));
    EXPECT_EQ(done, (std::vector<std::pair<int64_t, bool>>{{1, false}, {2, false}, {3, true}}));
    EXPECT_EQ(ran.load(), 1);

    // Marks: 0 cancels nothing; a later mark replaces (lowers) the earlier.
    std::vector<PWeftWorkItem> items;
    for (int i = 0; i < 4; ++i)
        items.push_back(worker->CreateWorkItem(TWeftValue()));  // ids 4..7
    worker->CancelAll(0);
    EXPECT_FALSE(items[0]->CancellationToken()->IsSignalled());
    worker->CancelAll(10);
    worker->CancelAll(5);
    EXPECT_TRUE(items[1]->CancellationToken()->IsSignalled());   // id 5
    EXPECT_FALSE(items[2]->CancellationToken()->IsSignalled());  // id 6
    EXPECT_TRUE(worker->Terminate(5000));
}

TEST_F(WeftBackgroundWorker, SkipCompletionAndItemsWithoutHandler)
{
    std::vector<int64_t> done;
    std::atomic<int> asy{0};
    PWeftBackgroundWorker worker =
        Parallel::BackgroundWorker()
            ->OnRequestDone([&](const PWeftBackgroundWorker&, const PWeftWorkItem& item) { done.push_back(item->UniqueID()); })
            ->OnRequestDone_Asy([&](const PWeftBackgroundWorker&, const PWeftWorkItem&) { asy.fetch_add(1); })
            ->Execute([](const PWeftWorkItem& item) { item->SetSkipCompletionHandler(item->Data().AsInteger() == 1); });
    worker->Schedule(worker->CreateWorkItem(1));                                   // skipped
    worker->Schedule(worker->CreateWorkItem(0), worker->Config()->OnRequestDone(nullptr));  // no owner handler
    worker->Schedule(worker->CreateWorkItem(0));                                   // delivered
    EXPECT_TRUE(PumpUntil([&] { return done.size() == 1; }));
    EXPECT_TRUE(worker->Terminate(5000));
    EXPECT_EQ(done, (std::vector<int64_t>{3}));
    EXPECT_EQ(asy.load(), 2);
    EXPECT_THROW(worker->Schedule(worker->CreateWorkItem(0)), Exception);  // input completed
}

TEST_F(WeftBackgroundWorker, TerminateTimesOutWhileItemSleepsThenDeliversLater)
{
    std::vector<int64_t> done;
    PWeftBackgroundWorker worker =
        Parallel::BackgroundWorker()
            ->OnRequestDone([&](const PWeftBackgroundWorker&, const PWeftWorkItem& item) { done.push_back(item->UniqueID()); })
            ->Execute([](const PWeftWorkItem&) { std::this_thread::sleep_for(std::chrono::milliseconds(300)); });
    worker->Schedule(worker->CreateWorkItem(TWeftValue()));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto t0 = Clock::now();
    EXPECT_FALSE(worker->Terminate(5));
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(100));
    EXPECT_TRUE(PumpUntil([&] { return done.size() == 1; }));
    EXPECT_TRUE(worker->Terminate(5000));
    // Before Execute: nothing to wait for.
    EXPECT_TRUE(Parallel::BackgroundWorker()->Terminate(5));
    EXPECT_THROW(Parallel::BackgroundWorker()->NumTasks(0), EAssertionFailed);
}

// Closing while the item waits for the owner thread in a synchronous call:
// the owner is busy (not pumping) when it closes, so only the owner-side
// wait can serve or cancel the call.
TEST_F(WeftBackgroundWorker, ReleaseWhileTheItemWaitsInASynchronousCallReturns)
{
    for (bool cancelFirst : {true, false}) {
        THandle inCall = CreateEvent(true, false);
        std::atomic<int> served{0};
        std::atomic<int> cancelledCalls{0};
        PWeftBackgroundWorker worker =
            Parallel::BackgroundWorker()
                ->OnRequestDone([](const PWeftBackgroundWorker&, const PWeftWorkItem&) {})
                ->Execute([&](const PWeftWorkItem& item) {
                    SetEvent(inCall);
                    try {
                        item->Synchronize([&] { served.fetch_add(1); });
                    } catch (const EWeftCallCancelled&) {
                        cancelledCalls.fetch_add(1);
                    }
                });
        worker->Schedule(worker->CreateWorkItem(TWeftValue()));
        ASSERT_EQ(WaitForSingleObject(inCall, 5000), WAIT_OBJECT_0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));  // the call is queued now
        const auto t0 = Clock::now();
        if (cancelFirst) {
            worker->CancelAll();
            worker->Terminate(5);
        }
        worker.reset();  // waits without limit, serving the call
        EXPECT_LT(Clock::now() - t0, std::chrono::seconds(3));
        EXPECT_EQ(served.load() + cancelledCalls.load(), 1) << cancelFirst;
        if (!cancelFirst) {
            EXPECT_EQ(served.load(), 1);
        }
        ProcessMessages();
    }
}

TEST_F(WeftBackgroundWorker, SoakWithRandomCancellationLeavesNothingBehind)
{
    const int threadsBefore = ProcessThreadCount();
    const int windowsBefore = MessageWindowCount();
    std::vector<std::weak_ptr<IWeftWorkItem>> items;
    int cycles = 0;
    {
        PWeftThreadPool pool = CreateThreadPool(QStringLiteral("soak"));
        pool->SetWaitOnTerminate_sec(5);
        auto* rnd = QRandomGenerator::global();
        // About 10,000 cycles (fewer under the thread sanitizer, which makes
        // every cycle many times slower).
#if defined(__SANITIZE_THREAD__)
        const int wanted = 2000;
#else
        const int wanted = 10000;
#endif
        for (int round = 0; round < 400 && cycles < wanted; ++round) {
            WebWorkerShape w(pool);
            w.CyclesWanted = 1000000;
            PWeftWorkItem first = w.Worker->CreateWorkItem(0);
            items.push_back(first);
            w.Worker->Schedule(first);
            first.reset();
            // Let a random number of cycles run, then close at a random point.
            const int target = int(rnd->bounded(1, 500));
            PumpUntil([&] { return int(w.Ids.size()) >= target || w.Closed; }, 5000);
            if (rnd->bounded(2) == 0)
                std::this_thread::yield();
            cycles += int(w.Ids.size());
            w.Close();
            ProcessMessages();
            EXPECT_FALSE(w.WrongThread.load());
            // Every delivered cycle called the owner once (the last one may
            // have been cancelled inside its call).
            EXPECT_GE(w.OwnerCounter, int(w.Ids.size()) - 1);
            EXPECT_LE(w.OwnerCounter, int(w.Ids.size()) + 1);
        }
        pool->CancelAll();
        EXPECT_EQ(pool->CountWorkers(), 0);
    }
    ProcessMessages();
    EXPECT_GT(cycles, 40);
    RecordProperty("cycles", cycles);
    for (const auto& i : items)
        EXPECT_TRUE(i.expired());
    EXPECT_TRUE(PumpUntil([&] { return ProcessThreadCount() <= threadsBefore && MessageWindowCount() <= windowsBefore; },
                          5000))
        << ProcessThreadCount() << " threads (" << threadsBefore << " before), " << MessageWindowCount()
        << " windows (" << windowsBefore << " before)";
}
