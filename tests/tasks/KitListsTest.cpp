#include "tasks/KitLists.h"
#include "tests/support/ExceptionMessage.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

template <class L>
std::vector<typename L::TItem> Items(const L& l)
{
    return std::vector<typename L::TItem>(l.begin(), l.end());
}

class TCounted : public TWeftObject {
public:
    static int Freed;
    ~TCounted() override { ++Freed; }
};
int TCounted::Freed = 0;

}  // namespace

TEST(KitIntegerList, SortedDuplicatesPolicies)
{
    struct TCase {
        TDuplicates Dup;
        std::vector<int32_t> Expected;
    };
    for (const TCase& c : {TCase{dupIgnore, {1, 3}}, TCase{dupAccept, {1, 3, 3}}}) {
        TKitIntegerList l;
        l.SetDuplicates(c.Dup);
        l.SetSorted(true);
        for (int v : {3, 1, 3})
            l.Add(v);
        EXPECT_EQ(Items(l), c.Expected);
    }
    TKitIntegerList l;
    l.SetDuplicates(dupError);
    l.SetSorted(true);
    l.Add(3);
    EXPECT_EQ(Msg([&] { l.Add(3); }), QStringLiteral("List does not allow duplicates ($03)"));
    EXPECT_EQ(Msg([&] { l.Insert(0, 1); }), QStringLiteral("Cannot insert element in sorted list."));
    EXPECT_EQ(Msg([&] { l.Move(0, 0); }), QStringLiteral("Cannot move elements in sorted list."));
    TKitIntegerList unsorted;
    int idx;
    EXPECT_THROW(unsorted.Find(1, idx), EAssertionFailed);
}

TEST(KitIntegerList, FindGivesTheFirstOfEqualItemsWhenDuplicatesAreAccepted)
{
    TKitIntegerList l;
    l.SetDuplicates(dupAccept);
    l.SetSorted(true);
    for (int v : {5, 1, 5, 5, 9})
        l.Add(v);
    int idx = -1;
    EXPECT_TRUE(l.Find(5, idx));
    EXPECT_EQ(idx, 1);
    EXPECT_FALSE(l.Find(6, idx));
    EXPECT_EQ(idx, 4);
}

TEST(KitIntegerList, SortingAnUnsortedList)
{
    TKitIntegerList l(std::vector<int32_t>{5, -2, 9, 0, 5, 3});
    l.SetSorted(true);
    EXPECT_EQ(Items(l), (std::vector<int32_t>{-2, 0, 3, 5, 5, 9}));
    TKitIntegerList c(std::vector<int32_t>{1, 2, 3, 4});
    c.CustomSort([&](int a, int b) { return c[b] - c[a]; });
    EXPECT_EQ(Items(c), (std::vector<int32_t>{4, 3, 2, 1}));
}

TEST(KitIntegerList, TextForms)
{
    TKitIntegerList l(std::vector<int32_t>{1, -20, 300});
    EXPECT_EQ(l.AsDelimitedText(QStringLiteral(",")), QStringLiteral("1,-20,300"));
    EXPECT_EQ(l.Text(), QStringLiteral("1\r\n-20\r\n300\r\n"));
    EXPECT_EQ(l.AsHexText(QStringLiteral(" ")), QStringLiteral("1 FFFFFFEC 12C"));
    TKitIntegerList empty;
    EXPECT_EQ(empty.Text(), QString());
    EXPECT_EQ(empty.AsDelimitedText(QStringLiteral(",")), QString());
    l.SetText(QStringLiteral("5\r\n7"));
    EXPECT_EQ(Items(l), (std::vector<int32_t>{5, 7}));
    l.SetText(QStringLiteral("1\n2\r3"));
    EXPECT_EQ(Items(l), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_THROW(l.SetText(QStringLiteral("4\r\n\r\n6")), EConvertError);
    EXPECT_EQ(Items(l), (std::vector<int32_t>{4}));
}

TEST(KitIntegerList, WalkFollowsDeletes)
{
    // a..e as 10..14; delete b when reached: c is skipped, the walk ends after e.
    TKitIntegerList l(std::vector<int32_t>{10, 11, 12, 13, 14});
    std::vector<int32_t> seen;
    for (int i : l.Walk()) {
        seen.push_back(l[i]);
        if (l[i] == 11)
            l.Delete(i);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{10, 11, 13, 14}));

    TKitIntegerList m(std::vector<int32_t>{10, 11, 12, 13, 14});
    seen.clear();
    for (int i : m.Walk()) {
        seen.push_back(m[i]);
        if (m[i] == 12)
            m.Delete(0);  // before the current index
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{10, 11, 12, 13, 14}));

    TKitIntegerList n(std::vector<int32_t>{1, 2, 3});
    seen.clear();
    for (int i : n.Walk()) {
        seen.push_back(n[i]);
        if (n[i] == 2)
            n.Insert(0, 0);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(n.Slice(0, CKitLastIndex, 2), (std::vector<int32_t>{0, 2}));
}

TEST(KitIntegerList, NotificationsForInsertsAndDeletesOnly)
{
    struct TRec {
        std::vector<std::pair<int, int>> Calls;
        void On(TKitIntegerList*, int idx, TKitListOperation op) { Calls.push_back({idx, int(op)}); }
    } rec;
    const TMethod h = MakeMethod<&TRec::On, TKitIntegerList*, int, TKitListOperation>(&rec);
    TKitIntegerList l;
    l.RegisterNotification(h);
    l.Add(5);
    l.Insert(0, 4);
    l.Exchange(0, 1);
    l.Delete(1);
    l.Clear();
    l.UnregisterNotification(h);
    l.Add(1);
    EXPECT_EQ(rec.Calls, (std::vector<std::pair<int, int>>{{0, loInsert}, {0, loInsert}, {1, loDelete}}));
}

TEST(KitIntegerList, StreamsAndMemoryImages)
{
    TKitIntegerList l(std::vector<int32_t>{1, 2, 3});
    QBuffer buf;
    buf.open(QIODevice::ReadWrite);
    l.SaveToStream(buf);
    EXPECT_EQ(buf.size(), 12);
    buf.write("ab", 2);  // a partial item: 10 bytes of a 32-bit list read two... below
    buf.seek(0);
    TKitIntegerList r;
    EXPECT_FALSE(r.LoadFromStream(buf));
    EXPECT_EQ(Items(r), (std::vector<int32_t>{1, 2, 3}));
    QBuffer ten;
    ten.setData(QByteArray(10, '\0'));
    ten.open(QIODevice::ReadOnly);
    EXPECT_FALSE(r.LoadFromStream(ten));
    EXPECT_EQ(r.Count(), 2);

    std::vector<uint8_t> mem(64);
    uint8_t* end = l.Dump(mem.data());
    EXPECT_EQ(end - mem.data(), 16);
    TKitIntegerList back;
    back.SetSorted(true);
    TKitIntegerList src(std::vector<int32_t>{9, 4});
    src.Dump(mem.data());
    back.Restore(mem.data());
    EXPECT_EQ(Items(back), (std::vector<int32_t>{4, 9}));

    TKitInt64List big(std::vector<int64_t>{int64_t(1) << 40, -1});
    QBuffer b64;
    b64.open(QIODevice::ReadWrite);
    big.SaveToStream(b64);
    EXPECT_EQ(b64.size(), 16);
    EXPECT_EQ(big.Dump(mem.data()) - mem.data(), 24);
    b64.seek(0);
    TKitInt64List big2;
    EXPECT_TRUE(big2.LoadFromStream(b64));
    EXPECT_TRUE(big2.EqualTo(big));
    EXPECT_EQ(big.AsHexText(QStringLiteral(",")), QStringLiteral("10000000000,FFFFFFFFFFFFFFFF"));
    TKitIntegerList small(std::vector<int32_t>{-1, 2});
    AppendInt32(big2, small);
    EXPECT_EQ(big2.Last(), 2);
    EXPECT_EQ(big2[2], -1);
}

TEST(KitObjectList, ObjectsFollowTheirItemsAndAreOwned)
{
    TCounted::Freed = 0;
    {
        TKitIntegerObjectList l(true);
        auto* a = new TCounted;
        auto* b = new TCounted;
        l.AddObject(2, a);
        l.AddObject(1, b);
        l.Move(1, 0);
        EXPECT_EQ(l.GetObject(0), b);
        EXPECT_EQ(l.FetchObject(2), a);
        EXPECT_EQ(l.FetchObject(7), nullptr);
        l.SetObject(0, new TCounted);
        EXPECT_EQ(TCounted::Freed, 1) << "replacing frees the old object";
        TWeftObject* x = l.ExtractObject(1);
        EXPECT_EQ(x, a);
        EXPECT_EQ(TCounted::Freed, 1);
        delete x;
        l.EnsureObject(5, [] { return new TCounted; });
        l.EnsureObject(5, [] { return new TCounted; });
        EXPECT_EQ(TCounted::Freed, 2);
        EXPECT_EQ(l.Count(), 2);
    }
    EXPECT_EQ(TCounted::Freed, 4);
}

TEST(KitObjectList, SortedIgnoreReplacesTheObject)
{
    TKitIntegerObjectList l(false);
    l.SetSorted(true);
    TCounted a, b;
    EXPECT_EQ(l.AddObject(3, &a), 0);
    EXPECT_EQ(l.AddObject(3, &b), 0);
    EXPECT_EQ(l.Count(), 1);
    EXPECT_EQ(l.GetObject(0), &b);
}

TEST(KitObjectList, Int64ObjectListRoundTripsThroughAStream)
{
    TCounted a, b;
    TKitInt64ObjectList l(false);
    l.AddObject(int64_t(1) << 33, &a);
    l.AddObject(-5, &b);
    QBuffer buf;
    buf.open(QIODevice::ReadWrite);
    l.SaveToStream(buf);
    buf.seek(0);
    TKitInt64ObjectList r(false);
    EXPECT_TRUE(r.LoadFromStream(buf));
    ASSERT_EQ(r.Count(), 2);
    EXPECT_EQ(r[0], int64_t(1) << 33);
    EXPECT_EQ(r.GetObject(0), &a);
    EXPECT_EQ(r.GetObject(1), &b);
    std::vector<int64_t> keys;
    auto walk = r.WalkKV();
    while (walk->MoveNext())
        keys.push_back(walk->Current().kvKey);
    EXPECT_EQ(keys, (std::vector<int64_t>{int64_t(1) << 33, -5}));
}

TEST(KitMethodList, FindsByCodeAndData)
{
    int x, y;
    TKitTMethodList l;
    const TMethod a{&x, &y}, b{&y, &x};
    l.Add(a);
    EXPECT_EQ(l.Ensure(a), 0);
    EXPECT_EQ(l.Ensure(b), 1);
    EXPECT_TRUE(l.Contains(b));
    EXPECT_EQ(l.Remove(a), 0);
    EXPECT_EQ(l.Items(0), b);
    EXPECT_EQ(l.Count(), 1);
}
