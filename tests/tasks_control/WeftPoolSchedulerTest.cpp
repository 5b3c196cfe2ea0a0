#include "TopologyFixture.h"

#include "tasks/WeftPoolScheduler.h"

#include <gtest/gtest.h>

namespace {

PWeftIntegerSet MakeSet(std::initializer_list<int32_t> values)
{
    auto s = std::make_shared<TWeftIntegerSet>();
    for (int32_t v : values)
        s->Add(v);
    return s;
}
#define Set(...) (*MakeSet(__VA_ARGS__))

}  // namespace

TEST(WeftPoolScheduler, OneGroupWithoutRestrictions)
{
    TopologyFixture fx;
    TOTPWorkerScheduler s(fx.Environment());
    s.Update(Set({}), Set({}), Set({}));
    ASSERT_EQ(s.Clusters().size(), 1u);
    EXPECT_EQ(s.Count(), 6);
    for (int i = 0; i < 8; ++i) {
        const TWeftGroupAffinity ga = s.Next();
        EXPECT_EQ(ga.Group(), 0);
        EXPECT_EQ(ga.Affinity()->GetAsMask(), 0x3Fu);
    }
}

TEST(WeftPoolScheduler, WeightedRoundRobinOverNodes)
{
    TopologyFixture fx;
    TOTPWorkerScheduler s(fx.Environment());
    s.Update(Set({}), Set({}), Set({0, 1}));
    EXPECT_EQ(s.RoundRobin(), (std::vector<int32_t>{0, 1, 0, 0, 1, 0}));
    const uint64_t expected[] = {0xF, 0x30, 0xF, 0xF, 0x30, 0xF, 0xF, 0x30};
    for (uint64_t mask : expected)
        EXPECT_EQ(s.Next().Affinity()->GetAsMask(), mask);
}

TEST(WeftPoolScheduler, AffinityFilterAndGroupFilter)
{
    TopologyFixture fx;
    TOTPWorkerScheduler s(fx.Environment());
    // Processors 0 and 1 only: node 1 keeps no processor and never occurs.
    s.Update(Set({0, 1}), Set({}), Set({0, 1}));
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.RoundRobin(), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(s.Next().Affinity()->GetAsMask(), 0x3u);
    // Both nodes lie in group 0; asking for group 1 filters everything.
    EXPECT_THROW(s.Update(Set({}), Set({1}), Set({0})), Exception);
    // Duplicate nodes collapse into one cluster.
    s.Update(Set({}), Set({0}), Set({}));
    EXPECT_EQ(s.Clusters().size(), 1u);
}

TEST(WeftPoolScheduler, UnknownNodeRaisesAndKeepsPreviousClusters)
{
    TopologyFixture fx;
    TOTPWorkerScheduler s(fx.Environment());
    s.Update(Set({}), Set({}), Set({0, 1}));
    try {
        s.Update(Set({}), Set({}), Set({5}));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TOTPWorkerScheduler.Update: Unknown NUMA node: 5"));
    }
    EXPECT_EQ(s.Count(), 6);
    EXPECT_EQ(s.Next().Affinity()->GetAsMask(), 0xFu);
}
