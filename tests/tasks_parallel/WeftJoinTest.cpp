// The join and the parallel task: worker counts, collected exceptions,
// cancellation, waits and the empty join.

#include "ParallelTestSupport.h"

#include "tasks/WeftJoin.h"
#include "tasks/WeftParallelTask.h"

#include <QSet>
#include <mutex>
#include <thread>

namespace {

class WeftJoin : public ParallelTest {};

TEST_F(WeftJoin, WorkersAreTheSmallerOfTheCountAndTheProcedures)
{
    struct Case {
        int numTasks, expected;
    };
    for (const Case& c : {Case{8, 3}, Case{2, 2}, Case{1, 1}}) {
        std::mutex lock;
        QSet<int64_t> tasks;
        std::atomic<int> ran{0};
        auto join = ParallelJoin()->NumTasks(c.numTasks);
        for (int i = 0; i < 3; ++i)
            join->Task(TWeftJoinDelegate([&](const PWeftJoinState& state) {
                ++ran;
                std::lock_guard g(lock);
                tasks.insert(state->Task()->UniqueID());
            }));
        EXPECT_EQ(join->Execute(), nullptr);
        EXPECT_EQ(ran.load(), 3);
        EXPECT_EQ(join->NumWorkersStarted(), c.expected);
        EXPECT_LE(tasks.size(), c.expected);
    }
    EXPECT_THROW(ParallelJoin()->NumTasks(0), EAssertionFailed);
}

TEST_F(WeftJoin, ExceptionsAreCollectedWithTheirNumbers)
{
    auto join = ParallelJoin()
                    ->NumTasks(1)  // one worker: the order of adding is fixed
                    ->Task([] { throw Exception(QStringLiteral("A")); })
                    ->Task([] {})
                    ->Task([] { throw Exception(QStringLiteral("B")); });
    try {
        join->Execute();
        FAIL() << "no exception";
    } catch (EJoinException& e) {
        ASSERT_EQ(e.Count(), 2);
        EXPECT_EQ(e.Message(), QStringLiteral("A; \r\nB"));
        EXPECT_EQ(e.GetInner(0).TaskNumber, 0);
        EXPECT_EQ(e.GetInner(1).TaskNumber, 2);
        std::exception_ptr first = e.DetachInner(0);
        EXPECT_EQ(WeftExceptionMessage(first), QStringLiteral("A"));
        EXPECT_EQ(e.Count(), 1);
        EXPECT_EQ(e.Message(), QStringLiteral("B"));
    }
    EXPECT_TRUE(join->IsExceptional());
    EXPECT_EQ(join->FatalException(), nullptr);  // raised and forgotten
}

TEST_F(WeftJoin, NoWaitReturnsTheJoinAndWaitForRaises)
{
    std::atomic<bool> release{false};
    auto join = ParallelJoin()
                    ->NoWait()
                    ->Task([&] {
                        while (!release.load())
                            std::this_thread::yield();
                        throw Exception(QStringLiteral("late"));
                    })
                    ->Task([] {});
    EXPECT_EQ(join->Execute(), join);
    EXPECT_FALSE(join->WaitFor(0));
    release = true;
    EXPECT_THROW(join->WaitFor(10000), EJoinException);
    EXPECT_TRUE(join->WaitFor(0));
}

TEST_F(WeftJoin, CancelOnAStateReachesEveryProcedureAndTheJoin)
{
    std::atomic<bool> cancelled{false};
    std::atomic<bool> sawIt{false};
    auto join = ParallelJoin()
                    ->NumTasks(2)
                    ->Task(TWeftJoinDelegate([&](const PWeftJoinState& s) {
                        s->Cancel();
                        cancelled = true;
                    }))
                    ->Task(TWeftJoinDelegate([&](const PWeftJoinState& s) {
                        while (!cancelled.load())
                            std::this_thread::yield();
                        sawIt = s->IsCancelled();
                    }));
    join->Execute();
    EXPECT_TRUE(sawIt.load());
    EXPECT_TRUE(join->IsCancelled());
    EXPECT_FALSE(join->IsExceptional());
}

TEST_F(WeftJoin, AnEmptyJoinReturnsAtOnce)
{
    bool stopped = false;
    auto join = ParallelJoin()->OnStop([&] { stopped = true; });
    EXPECT_EQ(join->Execute(), nullptr);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(join->NumWorkersStarted(), 0);
    EXPECT_TRUE(join->WaitFor(0));
}

TEST_F(WeftJoin, ParallelTaskRunsItsProcedureOncePerTask)
{
    const int cpus = WeftProcessorCount();
    {
        std::atomic<int> runs{0};
        ParallelTask()->Execute([&] { ++runs; });
        EXPECT_EQ(runs.load(), cpus);
    }
    {
        std::atomic<int> runs{0};
        auto task = ParallelTask()->NoWait()->Execute([&] { ++runs; });
        EXPECT_TRUE(task->WaitFor(10000));
        EXPECT_EQ(runs.load(), std::max(1, cpus - 1));
    }
    {
        std::atomic<int> runs{0};
        auto task = ParallelTask()->NumTasks(2)->NoWait()->Execute([&] { ++runs; });
        EXPECT_TRUE(task->WaitFor(10000));
        EXPECT_EQ(runs.load(), 2);
    }
    EXPECT_THROW(ParallelTask()->NumTasks(3)->Execute([] { throw Exception(QStringLiteral("x")); }),
                 EJoinException);
}

}  // namespace
