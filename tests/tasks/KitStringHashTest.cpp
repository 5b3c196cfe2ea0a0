#include "tasks/KitStringHash.h"

#include <gtest/gtest.h>

namespace {

class TCounted : public TWeftObject {
public:
    static int Freed;
    ~TCounted() override { ++Freed; }
};
int TCounted::Freed = 0;

}  // namespace

TEST(KitStringHash, SizesAndHash)
{
    EXPECT_EQ(GetGoodHashSize(32), 53u);
    EXPECT_EQ(GetGoodHashSize(33), 97u);
    EXPECT_EQ(GetGoodHashSize(1073741824u), 1610612741u);
    EXPECT_THROW(GetGoodHashSize(1073741825u), Exception);
    EXPECT_EQ(HashOf(QString()), 0u);
    // Values of the reference C implementation for the same bytes.
    EXPECT_EQ(HashOf("a", 1), 0x115EA782u);
    EXPECT_EQ(HashOf("abcd", 4), 0xDAD8B8DBu);
    EXPECT_EQ(HashOf("abcdefg", 7), 0xF071C3EDu);
    EXPECT_EQ(HashOf(QStringLiteral("Abc")), 0x10C81AB5u) << "UTF-16 code units, little-endian";
    EXPECT_NE(HashOf(QStringLiteral("Abc")), HashOf(QStringLiteral("abc")));
}

TEST(KitStringHash, FixedSizeRefusesWhenFullAndGrowingKeepsEveryKey)
{
    TKitStringHash fixed(17, false);
    for (int i = 0; i < 17; ++i)
        fixed.Add(QStringLiteral("key%1").arg(i), i);
    try {
        fixed.Add(QStringLiteral("one too many"), 0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TKitStringHash.Add: Maximum size reached"));
    }
    EXPECT_EQ(fixed.Count(), 17);
    TKitStringHash growing(17, true);
    for (int i = 0; i < 18; ++i)
        growing.Add(QStringLiteral("key%1").arg(i), i * 10);
    EXPECT_EQ(growing.Size(), 36u);
    EXPECT_EQ(growing.NumBuckets(), 97u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(growing.ValueOf(QStringLiteral("key%1").arg(i)), i * 10);
    for (int i = 18; i < 1000; ++i)
        growing.Add(QStringLiteral("key%1").arg(i), i * 10);
    int64_t v = 0;
    EXPECT_TRUE(growing.Find(QStringLiteral("key777"), v));
    EXPECT_EQ(v, 7770);
}

TEST(KitStringHash, KeysAreCaseSensitiveAndLaterAddsHideEarlierOnes)
{
    TKitStringHash h(10, true);
    h.Add(QStringLiteral("Abc"), 1);
    h.Add(QStringLiteral("abc"), 2);
    EXPECT_EQ(h.ValueOf(QStringLiteral("Abc")), 1);
    EXPECT_EQ(h.ValueOf(QStringLiteral("abc")), 2);
    h.Add(QStringLiteral("abc"), 3);
    EXPECT_EQ(h.Count(), 3);
    EXPECT_EQ(h.ValueOf(QStringLiteral("abc")), 3);
    std::vector<int64_t> order;
    h.ForEach([&](const TKitStringHashKV& kv) { order.push_back(kv.kvValue); });
    EXPECT_EQ(order, (std::vector<int64_t>{1, 2, 3}));
    h.Update(QStringLiteral("new"), 9);
    h.Update(QStringLiteral("new"), 10);
    EXPECT_EQ(h.ValueOf(QStringLiteral("new")), 10);
    EXPECT_EQ(h.Count(), 4);
    try {
        h.ValueOf(QStringLiteral("missing"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TKitStringHash.ValueOf: Key missing does not exist"));
    }
    EXPECT_FALSE(h.HasKey(QStringLiteral("ABC")));
}

TEST(KitStringObjectHash, OwnershipFreesReplacedAndRemainingObjects)
{
    TCounted::Freed = 0;
    {
        TKitStringObjectHash h(4, true, true);
        auto* a = new TCounted;
        h.Add(QStringLiteral("a"), a);
        h.Update(QStringLiteral("a"), a);
        EXPECT_EQ(TCounted::Freed, 0) << "the same object is not freed";
        h.Update(QStringLiteral("a"), new TCounted);
        EXPECT_EQ(TCounted::Freed, 1);
        EXPECT_EQ(h.Objects(QStringLiteral("none")), nullptr);
        TWeftObject* o = reinterpret_cast<TWeftObject*>(1);
        EXPECT_FALSE(h.Find(QStringLiteral("none"), o));
        EXPECT_EQ(o, nullptr);
        EXPECT_THROW(h.ValueOf(QStringLiteral("none")), Exception);
    }
    EXPECT_EQ(TCounted::Freed, 2);
}
