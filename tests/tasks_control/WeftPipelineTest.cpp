#include "TaskTestSupport.h"

#include "tasks/WeftPipeline.h"

#include <atomic>
#include <gtest/gtest.h>

class WeftPipeline : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};

TEST_F(WeftPipeline, OneStageDrainsCompletesAndStopsOnce)
{
    std::atomic<int> stops{0};
    const PWeftPipeline p = Parallel::Pipeline()
                                ->Stage(TPipelineSimpleStageDelegate([](const TWeftValue& in, TWeftValue& out) {
                                    out = TWeftValue(in.AsInteger() * 2);
                                }))
                                ->OnStop([&] { stops.fetch_add(1); })
                                ->Run();
    for (int i = 1; i <= 100; ++i)
        p->GetInput()->Add(TWeftValue(i));
    p->GetInput()->CompleteAdding();
    EXPECT_TRUE(p->WaitFor(5000));
    EXPECT_TRUE(p->WaitFor(0));
    EXPECT_EQ(stops.load(), 1);
    EXPECT_TRUE(p->GetOutput()->IsCompleted());
    int sum = 0;
    TWeftValue v;
    while (p->GetOutput()->TryTake(v))
        sum += v.AsInteger();
    EXPECT_EQ(sum, 2 * 5050);
    EXPECT_EQ(p->TaskNames(), (std::vector<QString>{QStringLiteral("Pipeline stage #1")}));
    EXPECT_THROW(p->Run(), EAssertionFailed);
}

TEST_F(WeftPipeline, StagesChainAndWorkersAreNamed)
{
    const PWeftPipeline p =
        Parallel::Pipeline()
            ->Stage(TPipelineSimpleStageDelegate([](const TWeftValue& in, TWeftValue& out) { out = TWeftValue(in.AsInteger() + 1); }))
            ->Stage(TPipelineStageDelegate([](const PWeftBlockingCollection& in, const PWeftBlockingCollection& out) {
                TWeftValue v;
                while (in->Take(v))
                    out->Add(TWeftValue(v.AsInteger() * 10));
            }))
            ->NumTasks(3)
            ->Run();
    for (int i = 0; i < 10; ++i)
        p->GetInput()->Add(TWeftValue(i));
    p->GetInput()->CompleteAdding();
    EXPECT_TRUE(p->WaitFor(5000));
    int sum = 0;
    TWeftValue v;
    while (p->GetOutput()->TryTake(v))
        sum += v.AsInteger();
    EXPECT_EQ(sum, 10 * (45 + 10));
    EXPECT_EQ(p->TaskNames(), (std::vector<QString>{QStringLiteral("Pipeline stage #1"),
                                                    QStringLiteral("Pipeline stage #2 worker 1"),
                                                    QStringLiteral("Pipeline stage #2 worker 2"),
                                                    QStringLiteral("Pipeline stage #2 worker 3")}));
}

TEST_F(WeftPipeline, ModifiersThrottleAndTaskCounts)
{
    const PWeftPipeline p = Parallel::Pipeline()->Stage(TPipelineSimpleStageDelegate([](const TWeftValue&, TWeftValue&) {}));
    p->Throttle(1000, 0);
    EXPECT_EQ(p->StageThrottle(0), (std::vector<int>{1000, 750, 250}));
    p->Throttle(1000, 600);
    EXPECT_EQ(p->StageThrottle(0), (std::vector<int>{1000, 600, 600}));
    p->NoThrottling();
    EXPECT_EQ(p->StageThrottle(0)[0], 0);
    EXPECT_THROW(p->Throttle(10, 10), EAssertionFailed);
    EXPECT_THROW(p->NumTasks(0), EAssertionFailed);
    const int procs = Environment()->Process()->Affinity()->Count();
    if (procs > 1) {
        p->NumTasks(-1);
        EXPECT_EQ(p->StageNumTasks(0), procs - 1);
    }
    EXPECT_THROW(Parallel::Pipeline()->WaitFor(0), EAssertionFailed);
    EXPECT_THROW(Parallel::Pipeline()->Stages(std::vector<TPipelineSimpleStageDelegate>{}), EAssertionFailed);
}

TEST_F(WeftPipeline, SimpleStageExceptionTravelsAsValueAndTheStageGoesOn)
{
    const PWeftPipeline p = Parallel::Pipeline()
                                ->HandleExceptions()
                                ->Stage(TPipelineSimpleStageDelegate([](const TWeftValue& in, TWeftValue& out) {
                                    if (in.AsInteger() == 2)
                                        throw Exception(QStringLiteral("two"));
                                    out = in;
                                }))
                                ->Run();
    for (int i = 1; i <= 3; ++i)
        p->GetInput()->Add(TWeftValue(i));
    p->GetInput()->CompleteAdding();
    EXPECT_TRUE(p->WaitFor(5000));
    std::vector<QString> got;
    TWeftValue v;
    while (p->GetOutput()->TryTake(v))
        got.push_back(v.IsException() ? QStringLiteral("exception") : QString::number(v.AsInteger()));
    EXPECT_EQ(got, (std::vector<QString>{QStringLiteral("1"), QStringLiteral("exception"), QStringLiteral("3")}));
}

TEST_F(WeftPipeline, CancelEndsTheStages)
{
    const PWeftPipeline p =
        Parallel::Pipeline()
            ->Stage(TPipelineStageDelegateEx([](const PWeftBlockingCollection& in, const PWeftBlockingCollection&,
                                                const PWeftTask&) {
                TWeftValue v;
                while (in->Take(v)) {
                }
            }))
            ->Run();
    p->Cancel();
    EXPECT_TRUE(p->WaitFor(5000));
}
