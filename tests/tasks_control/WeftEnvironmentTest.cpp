#include "TopologyFixture.h"

#include "tasks/OsWin32.h"
#include "tasks/WeftEnvironment.h"

#include <gtest/gtest.h>
#include <thread>

TEST(WeftEnvironment, CpuListParsing)
{
    struct {
        const char* text;
        uint64_t mask;
    } cases[] = {{"0-3", 0xF}, {"0,2,4", 0x15}, {"1-2,8", 0x106}, {"", 0}, {"x,3", 0x8}, {"60-70", 0xFull << 60}};
    for (const auto& c : cases)
        EXPECT_EQ(WeftParseCpuList(QString::fromLatin1(c.text)), c.mask) << c.text;
}

TEST(WeftEnvironment, NodesGroupsAndDistancesFromFixture)
{
    TopologyFixture fx;
    const PWeftEnvironment env = fx.Environment();
    ASSERT_EQ(env->ProcessorGroups()->Count(), 1);
    EXPECT_EQ(env->ProcessorGroups()->Item(0)->Affinity()->GetAsMask(), 0x3Fu);
    EXPECT_EQ(env->ProcessorGroups()->FindGroup(0)->GroupNumber(), 0);
    EXPECT_THROW(env->ProcessorGroups()->FindGroup(1), EListError);

    const PWeftNUMANodes nodes = env->NUMANodes();
    ASSERT_EQ(nodes->Count(), 2);
    // Sorted by node number although the tree listed node1 first.
    EXPECT_EQ(nodes->Item(0)->NodeNumber(), 0);
    EXPECT_EQ(nodes->Item(0)->Affinity()->GetAsMask(), 0xFu);
    EXPECT_EQ(nodes->Item(1)->Affinity()->GetAsMask(), 0x30u);
    EXPECT_EQ(nodes->Item(1)->GroupNumber(), 0);
    EXPECT_EQ(nodes->All()->GetAsMask(), 0x3u);
    EXPECT_EQ(nodes->FindNode(1), nodes->Item(1));
    EXPECT_EQ(nodes->FindNode(7), nullptr);
    EXPECT_THROW(nodes->Item(2), EListError);
    EXPECT_EQ(nodes->Distance(0, 0), 10);
    EXPECT_EQ(nodes->Distance(0, 1), 21);
    EXPECT_EQ(nodes->Distance(1, 0), 21);
    EXPECT_THROW(nodes->Distance(0, 2), Exception);
    int seen = 0;
    for (const PWeftNUMANode& n : *nodes)
        EXPECT_EQ(n->NodeNumber(), seen++);
}

TEST(WeftEnvironment, SingleNodeWhenNUMAIsAbsent)
{
    TopologyFixture fx(/*withNodes*/ false);
    const PWeftEnvironment env = fx.Environment();
    ASSERT_EQ(env->NUMANodes()->Count(), 1);
    EXPECT_EQ(env->NUMANodes()->Item(0)->NodeNumber(), 0);
    EXPECT_EQ(env->NUMANodes()->Item(0)->Affinity()->GetAsMask(), 0x3Fu);
    EXPECT_EQ(env->NUMANodes()->Distance(0, 0), 10);
}

TEST(WeftEnvironment, SystemAffinityCountsAndRefusesWrites)
{
    TopologyFixture fx;
    const PWeftAffinity sys = fx.Environment()->System()->Affinity();
    EXPECT_EQ(sys->Mask(), 0x3Fu);
    EXPECT_EQ(sys->Count(), 6);
    // Hyper-threading: two logical processors per core.
    EXPECT_EQ(sys->CountPhysical(), 3);
    EXPECT_EQ(sys->AsString(), OsAffinityMaskToString(0x3F));
    try {
        sys->SetMask(1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWeftAffinity.SetMask: Cannot modify system affinity mask."));
    }
    EXPECT_THROW(sys->SetCount(2), Exception);
}

TEST(WeftEnvironment, MissingTreeRaises)
{
    EXPECT_THROW(ReadWeftTopology(QStringLiteral("/nonexistent/sorvex")), Exception);
}

TEST(WeftEnvironment, RealSystemAndThreadAffinity)
{
    const PWeftEnvironment env = Environment();
    EXPECT_EQ(env, Environment());
    EXPECT_GE(env->Process()->Affinity()->Count(), 1);
    EXPECT_GE(env->NUMANodes()->Count(), 1);
    EXPECT_EQ(env->Process()->PriorityClass(), pcNormal);
    EXPECT_GT(env->Process()->Memory().WorkingSetSize, 0u);
    EXPECT_GT(env->Process()->Times().CreationTime, 0.0);

    // On a thread of its own, so the test process keeps its affinity.
    std::thread([&] {
        const PWeftThreadEnvironment t = env->Thread();
        EXPECT_EQ(t->ID(), GetThreadId());
        const uint64_t before = t->Affinity()->Mask();
        const TWeftGroupAffinity ga = t->GroupAffinity();
        EXPECT_EQ(ga.Group(), 0);
        EXPECT_EQ(ga.Affinity()->GetAsMask(), before);
        const uint64_t lowest = before & (~before + 1);
        t->SetGroupAffinity(TWeftGroupAffinity(0, lowest));
        EXPECT_EQ(t->Affinity()->Mask(), lowest);
        // Two processors chosen at random from the system's; the process's
        // own restriction may leave fewer of them in force.
        t->Affinity()->SetCount(2);
        EXPECT_GE(t->Affinity()->Count(), 1);
        EXPECT_LE(t->Affinity()->Count(), 2);
        if (env->Process()->Affinity()->Mask() == env->System()->Affinity()->Mask() &&
            env->System()->Affinity()->Count() >= 2) {
            EXPECT_EQ(t->Affinity()->Count(), 2);
        }
    }).join();
}

TEST(WeftEnvironment, GroupAffinityRecord)
{
    TWeftGroupAffinity empty;
    const PWeftIntegerSet first = empty.Affinity();
    EXPECT_EQ(empty.Affinity(), first);
    EXPECT_TRUE(first->IsEmpty());

    TWeftIntegerSet set;
    set.Add(3);
    TWeftGroupAffinity own(2, set);
    set.Add(4);
    EXPECT_EQ(own.Group(), 2);
    EXPECT_EQ(own.Affinity()->GetAsMask(), 0x8u);

    // Racing first reads all see one installed set.
    TWeftGroupAffinity racy;
    PWeftIntegerSet got[4];
    std::thread ts[4];
    for (int i = 0; i < 4; ++i)
        ts[i] = std::thread([&, i] { got[i] = racy.Affinity(); });
    for (auto& t : ts)
        t.join();
    for (const auto& g : got)
        EXPECT_EQ(g, got[0]);
}
