#include "tasks/WeftCommon.h"
#include "tests/support/ExceptionMessage.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

int gProcCalls = 0;
void CountingProc()
{
    ++gProcCalls;
}

struct TRunner {
    int Calls = 0;
    void Run() { ++Calls; }
};

}  // namespace

TEST(WeftExecutable, KindsAndWrongKindReads)
{
    TWeftExecutable e;
    EXPECT_TRUE(e.IsNull());
    e.SetMethod(TMethod{reinterpret_cast<void*>(&CountingProc), nullptr});
    EXPECT_TRUE(e.IsNull()) << "a method without an object is no method";
    EXPECT_EQ(Msg([&] { e.GetMethod(); }),
              QStringLiteral("TWeftExecutable: Wrong kind of executable oekNull, expected oekMethod"));
    e.SetProc(&CountingProc);
    EXPECT_EQ(e.Kind(), oekProcedure);
    e.Execute();
    EXPECT_EQ(gProcCalls, 1);
    TRunner r;
    e.SetMethod(MakeMethod<&TRunner::Run>(&r));
    e.Execute();
    EXPECT_EQ(r.Calls, 1);
    int n = 0;
    e.SetDelegate([&] { ++n; });
    e.GetDelegate()();
    EXPECT_EQ(n, 1);
    e.Clear();
    EXPECT_TRUE(e.IsNull());
    e.SetDelegate(nullptr);
    EXPECT_TRUE(e.IsNull());
}

TEST(WeftMessageID, KindsAndText)
{
    EXPECT_EQ(TWeftMessageID(42).AsString(), QStringLiteral("42"));
    EXPECT_EQ(TWeftMessageID(QStringLiteral("go")).AsString(), QStringLiteral("go"));
    EXPECT_THROW(TWeftMessageID(QStringLiteral("go")).AsInteger(), EAssertionFailed);
    int got = 0;
    const TWeftMessageID anon = TWeftMessageID::Create([&](int32_t v) { got = v; });
    anon.AsAnon()(7);
    EXPECT_EQ(got, 7);
    EXPECT_EQ(Msg([&] { anon.AsString(); }), QStringLiteral("TWeftMessageID.AsString: Unexpected message type 3"));
}

TEST(AlignedIntegers, ReturnValuesAndAtomicity)
{
    TWeftAlignedInt64 i64;
    EXPECT_EQ(i64.Increment(), 1);
    EXPECT_EQ(i64.Add(5), 6);
    EXPECT_EQ(i64.Decrement(2), 4);
    EXPECT_TRUE(i64.CAS(4, 10));
    EXPECT_FALSE(i64.CAS(4, 11));
    TWeftAlignedInt32 i32(5);
    EXPECT_EQ(i32 + 3, 8);
    EXPECT_EQ(i32.Value(), 5) << "the operators do not store";
    EXPECT_TRUE(i32 > 4);
    TWeftAlignedInt32 shared;
    std::vector<std::thread> ts;
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&] {
            for (int k = 0; k < 10000; ++k)
                shared.Increment();
        });
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(shared.Value(), 40000);
}

TEST(WeftUID, GrowsFromTheStart)
{
    const int64_t a = WeftUID.Increment();
    const int64_t b = WeftUID.Increment();
    EXPECT_GE(a, 1);
    EXPECT_EQ(b, a + 1);
}

TEST(Counter, TakeNeverGoesBelowZero)
{
    auto c = CreateCounter(5);
    EXPECT_EQ(c->Take(3), 3);
    EXPECT_EQ(c->Take(3), 2);
    EXPECT_EQ(c->Take(3), 0);
    int32_t taken = -1;
    EXPECT_FALSE(c->Take(1, taken));
    EXPECT_EQ(taken, 0);
    c->SetValue(-4);
    EXPECT_EQ(c->Take(1), 0);
    EXPECT_EQ(c->Value(), -4);
}

TEST(Counter, TakesSumToTheStartUnderThreads)
{
    auto c = CreateCounter(100000);
    std::atomic<int> total{0};
    std::vector<std::thread> ts;
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&] {
            int32_t n;
            while (c->Take(7, n))
                total += n;
        });
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(total.load(), 100000);
    EXPECT_EQ(c->Value(), 0);
}

TEST(IntegerSet, MaskArrayAndChanges)
{
    TWeftIntegerSet s;
    int changes = 0;
    s.SetOnChange([&](TWeftIntegerSet&) { ++changes; });
    s.SetAsMask(0x5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(s.GetAsIntArray(), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(s.BitCapacity(), 3);
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Item(1), 2);
    EXPECT_TRUE(s.Add(2));
    EXPECT_EQ(changes, 1) << "adding a member changes nothing";
    EXPECT_FALSE(s.Add(100));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(s.Contains(100));
    EXPECT_EQ(Msg([&] { s.GetAsMask(); }), QStringLiteral("Cannot convert 101 elements to a 8-byte mask"));
    EXPECT_THROW(s.Remove(200), EListError);
    EXPECT_TRUE(s.Remove(100));
    TWeftIntegerSet t;
    t.SetAsMask(uint64_t(1) << 63);
    EXPECT_EQ(t.BitCapacity(), 64);
    t.SetAsArray({3, 1});
    EXPECT_EQ(t.GetAsMask(), 0xAu);
    EXPECT_EQ(t.BitCapacity(), 4);
    TWeftIntegerSet copy(t);
    EXPECT_EQ(copy.GetAsMask(), 0xAu);
    copy.Clear();
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(copy.BitCapacity(), 1);
}

TEST(InterfaceDictionary, AddReplaceRemove)
{
    auto d = CreateInterfaceDictionary();
    auto a = std::make_shared<IInterface>();
    auto b = std::make_shared<IInterface>();
    d->Add(1, a);
    d->Add(1, b);
    EXPECT_EQ(d->Count(), 1);
    EXPECT_EQ(d->ValueOf(1), b);
    EXPECT_EQ(d->ValueOf(2), nullptr);
    d->Remove(2);
    d->Remove(1);
    EXPECT_EQ(d->Count(), 0);
}

TEST(WaitableValue, SignalCarriesTheValueToAWaitingThread)
{
    auto v = std::make_shared<TWeftWaitableValue>();
    EXPECT_FALSE(v->WaitFor(0));
    std::thread t([v] { v->Signal(TWeftValue(QStringLiteral("result"))); });
    EXPECT_TRUE(v->WaitFor(5000));
    t.join();
    EXPECT_EQ(v->Value().CastToString(), QStringLiteral("result"));
    v->Reset();
    EXPECT_FALSE(v->WaitFor(0));
}

TEST(ThreadName, IsRememberedPerThread)
{
    std::thread([] {
        SetThreadName(QStringLiteral("A very long worker thread name"));
        EXPECT_EQ(CurrentThreadName(), QStringLiteral("A very long worker thread name"));
        char buf[32] = {};
        pthread_getname_np(pthread_self(), buf, sizeof buf);
        EXPECT_STREQ(buf, "A very long wor");
    }).join();
    EXPECT_NE(CurrentThreadName(), QStringLiteral("A very long worker thread name"));
    EXPECT_EQ(StrPasA("abc"), std::string("abc"));
    EXPECT_EQ(StrPasA(nullptr), std::string());
}
