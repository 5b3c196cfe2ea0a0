#include "tasks/WeftValue.h"
#include "tests/support/ExceptionMessage.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>
#include <atomic>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Counts its instances so tests can see an object freed exactly once.
class TCounted : public TWeftObject {
public:
    static std::atomic<int> Alive;
    static std::atomic<int> Freed;
    TCounted() { ++Alive; }
    ~TCounted() override
    {
        --Alive;
        ++Freed;
    }
};
std::atomic<int> TCounted::Alive{0};
std::atomic<int> TCounted::Freed{0};

class TSomeInterface : public IInterface {
public:
    int Answer = 42;
};

// Pins "." as the decimal separator for the duration of a test.
class TPointSeparator {
public:
    TPointSeparator() : FSaved(FormatSettings().DecimalSeparator) { FormatSettings().DecimalSeparator = QLatin1Char('.'); }
    ~TPointSeparator() { FormatSettings().DecimalSeparator = FSaved; }

private:
    QChar FSaved;
};

// Which reads each kind allows: one row per kind, one column per read.
struct TConvRow {
    const char* Name;
    TWeftValue Value;
    bool Boolean, Integer, Int64, Double, Extended, DateTime, String, Variant, Interface, Object, Exception_,
        Pointer;
};

}  // namespace

TEST(WeftValue, ConversionTable)
{
    TCounted* obj = new TCounted;  // owned by the owned-object row below
    int plain = 0;
    auto intf = std::make_shared<TSomeInterface>();
    const std::vector<TConvRow> rows = {
        // name            value                                        B  I  I64 D  X  DT S  V  If O  E  P
        {"null", TWeftValue(), false, true, true, true, true, true, true, true, true, true, true, true},
        {"boolean", TWeftValue(true), true, false, false, false, false, false, true, false, false, false, false, false},
        {"integer", TWeftValue(7), false, true, true, true, true, false, true, false, false, false, false, false},
        {"int64", TWeftValue(int64_t(7)), false, true, true, true, true, false, true, false, false, false, false, false},
        {"double", TWeftValue(1.5), false, false, false, true, true, true, true, false, false, false, false, false},
        {"datetime", TWeftValue::FromDateTime(0.5), false, false, false, true, true, true, true, false, false, false, false, false},
        {"extended", TWeftValue(1.5L), false, false, false, true, true, true, true, false, false, false, false, false},
        {"string", TWeftValue(QStringLiteral("x")), false, false, false, false, false, false, true, false, false, false, false, false},
        {"wide", TWeftValue(std::u16string(u"x")), false, false, false, false, false, false, true, false, false, false, false, false},
        {"ansi", TWeftValue(std::string("x")), false, false, false, false, false, false, true, false, false, false, false, false},
        {"variant", TWeftValue(QVariant(QStringLiteral("12"))), false, true, true, false, false, false, true, true, false, false, false, false},
        {"interface", TWeftValue(IInterfacePtr(intf)), false, false, false, false, false, false, false, false, true, false, false, false},
        {"object", TWeftValue(static_cast<TWeftObject*>(nullptr)), false, false, false, false, false, false, false, false, false, true, true, true},
        {"pointer", TWeftValue(static_cast<void*>(&plain)), false, false, false, false, false, false, false, false, false, false, false, true},
        {"exception", TWeftValue(std::make_exception_ptr(std::runtime_error("e"))), false, false, false, false, false, false, false, false, false, false, true, false},
        {"array", TWeftValue::Create({1}), false, false, false, false, false, false, false, false, false, false, false, false},
        {"owned", [&] { TWeftValue v; v.SetAsOwnedObject(obj); return v; }(), false, false, false, false, false, false, false, false, false, true, false, true},
    };
    for (const TConvRow& r : rows) {
        SCOPED_TRACE(r.Name);
        bool b;
        int32_t i;
        int64_t i64;
        double d;
        long double x;
        TDateTime dt;
        QString s;
        QVariant var;
        IInterfacePtr ip;
        TWeftObject* o;
        std::exception_ptr e;
        void* p;
        EXPECT_EQ(r.Value.TryCastToBoolean(b), r.Boolean);
        EXPECT_EQ(r.Value.TryCastToInteger(i), r.Integer);
        EXPECT_EQ(r.Value.TryCastToInt64(i64), r.Int64);
        EXPECT_EQ(r.Value.TryCastToDouble(d), r.Double);
        EXPECT_EQ(r.Value.TryCastToExtended(x), r.Extended);
        EXPECT_EQ(r.Value.TryCastToDateTime(dt), r.DateTime);
        EXPECT_EQ(r.Value.TryCastToString(s), r.String);
        EXPECT_EQ(r.Value.TryCastToVariant(var), r.Variant);
        EXPECT_EQ(r.Value.TryCastToInterface(ip), r.Interface);
        EXPECT_EQ(r.Value.TryCastToObject(o), r.Object);
        EXPECT_EQ(r.Value.TryCastToException(e), r.Exception_);
        EXPECT_EQ(r.Value.TryCastToPointer(p), r.Pointer);
        // The wide and ANSI reads follow the string read.
        std::u16string w;
        std::string a;
        EXPECT_EQ(r.Value.TryCastToWideString(w), r.String);
        EXPECT_EQ(r.Value.TryCastToAnsiString(a), r.String);
    }
}

TEST(WeftValue, NullReadsAsZeroEmptyAndNothing)
{
    const TWeftValue v;
    EXPECT_EQ(v.CastToInteger(), 0);
    EXPECT_EQ(v.CastToString(), QString());
    EXPECT_EQ(v.CastToObject(), nullptr);
    EXPECT_EQ(v.CastToInterface(), nullptr);
    EXPECT_FALSE(v.CastToVariant().isValid());
    EXPECT_EQ(Msg([&] { v.CastToBoolean(); }), QStringLiteral("TWeftValue cannot be converted to boolean"));
    EXPECT_TRUE(v.CastToBooleanDef(true));
}

TEST(WeftValue, ReadsConvertOnlyBetweenCompatibleKinds)
{
    TPointSeparator point;
    EXPECT_EQ(TWeftValue((int64_t(1) << 32) + 5).CastToInteger(), 5);
    EXPECT_EQ(TWeftValue(-3).CastToInt64(), -3);
    EXPECT_EQ(TWeftValue(-1).CastToCardinalDef(0), 0xFFFFFFFFu);
    EXPECT_EQ(TWeftValue::FromDateTime(0.5).CastToString(), QStringLiteral("0.5"));
    EXPECT_EQ(TWeftValue(QVariant(QStringLiteral("12"))).CastToInteger(), 12);
    EXPECT_EQ(Msg([] { TWeftValue(QVariant(QStringLiteral("12"))).CastToDouble(); }),
              QStringLiteral("TWeftValue cannot be converted to double"));
    EXPECT_EQ(Msg([] { TWeftValue(QStringLiteral("5")).CastToInteger(); }),
              QStringLiteral("TWeftValue cannot be converted to int64"));
    EXPECT_EQ(TWeftValue(true).CastToString(), QStringLiteral("True"));
    EXPECT_EQ(TWeftValue(false).CastToString(), QStringLiteral("False"));
    EXPECT_EQ(TWeftValue(1.0L / 3.0L).CastToExtended(), 1.0L / 3.0L) << "extended keeps full precision";
    EXPECT_EQ(TWeftValue(std::u16string(u"äö")).CastToString(), QStringLiteral("äö"));
    EXPECT_EQ(TWeftValue(std::string("äö")).CastToString(), QStringLiteral("äö"));
    EXPECT_EQ(TWeftValue(QStringLiteral("äö")).CastToAnsiString(), std::string("äö"));
    EXPECT_EQ(TWeftValue(12).CastToWideString(), std::u16string(u"12"));
    EXPECT_EQ(Msg([] { TWeftValue(1).CastToDateTime(); }), QStringLiteral("TWeftValue cannot be converted to TDateTime"));
    EXPECT_EQ(TWeftValue(2.5).CastToDateTime(), 2.5);
    EXPECT_EQ(TWeftValue(7).CastToDouble(), 7.0);
}

TEST(WeftValue, StoresDropTheOldReferenceAndCopiesAreIndependent)
{
    TWeftValue a(QStringLiteral("first"));
    TWeftValue b = a;
    a.SetAsString(QStringLiteral("second"));
    EXPECT_EQ(b.CastToString(), QStringLiteral("first"));
    a = 5;
    EXPECT_FALSE(a.RawIntf());
    EXPECT_TRUE(a.IsInteger());
    TWeftValue moved = std::move(b);
    EXPECT_TRUE(b.IsEmpty());  // NOLINT: a moved-from value is null by design
    EXPECT_EQ(moved.CastToString(), QStringLiteral("first"));
}

TEST(WeftValue, OwnedObjectIsFreedOnceWhenTheLastCopyGoes)
{
    TCounted::Freed = 0;
    {
        TWeftValue a;
        a.SetAsOwnedObject(new TCounted);
        TWeftValue b = a;
        TWeftValue c;
        c = b;
        EXPECT_EQ(a.CastToObject(), c.CastToObject());
        a.Clear();
        b = 1;
        EXPECT_EQ(TCounted::Freed.load(), 0);
    }
    EXPECT_EQ(TCounted::Freed.load(), 1);
}

TEST(WeftValue, HeldValuesMovedBetweenThreadsAreFreedExactlyOnce)
{
    TCounted::Freed = 0;
    const int aliveBefore = TCounted::Alive.load();
    constexpr int kValues = 2000;
    std::vector<TWeftValue> source(kValues);
    for (int i = 0; i < kValues; ++i) {
        if (i % 3 == 0)
            source[size_t(i)].SetAsOwnedObject(new TCounted);
        else if (i % 3 == 1)
            source[size_t(i)] = TWeftValue::Create({i, QStringLiteral("text"), 2.5});
        else
            source[size_t(i)] = QStringLiteral("value %1").arg(i);
    }
    // Four threads take copies, pass them on by move and drop them in
    // different orders while the main thread drops the originals.
    std::vector<std::thread> ts;
    std::atomic<int> checked{0};
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&, t] {
            std::vector<TWeftValue> mine;
            for (int i = t % 2; i < kValues; i += 2)
                mine.push_back(source[size_t(i)]);
            std::vector<TWeftValue> passed;
            for (auto& v : mine)
                passed.push_back(std::move(v));
            for (auto& v : passed)
                if (!v.IsEmpty() && (v.IsOwnedObject() || v.IsArray() || v.IsString()))
                    ++checked;
        });
    // Copies read while the threads copy: holders never change.
    int sum = 0;
    for (const auto& v : source)
        sum += v.IsArray() ? v.AsArray().Count() : 0;
    for (auto& t : ts)
        t.join();
    source.clear();
    EXPECT_EQ(sum, 3 * ((kValues + 1) / 3));
    EXPECT_EQ(checked.load(), 2 * kValues);
    EXPECT_EQ(TCounted::Alive.load(), aliveBefore);
    EXPECT_EQ(TCounted::Freed.load(), (kValues + 2) / 3);
}

TEST(WeftValue, CreateBuildsArraysFromTypedArguments)
{
    const TWeftValue v = TWeftValue::Create({1, 'a', 2.5});
    ASSERT_TRUE(v.IsArray());
    TWeftValueContainer& c = v.AsArray();
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c[0].DataType(), ovtInteger);
    EXPECT_EQ(c[1].DataType(), ovtString);
    EXPECT_EQ(c[1].CastToString(), QStringLiteral("a"));
    EXPECT_EQ(c[2].DataType(), ovtExtended);
    EXPECT_EQ(TWeftValue::Create({std::string("n"), std::u16string(u"w"), int64_t(8)}).AsArray()[0].DataType(),
              ovtAnsiString);
    EXPECT_EQ(Msg([] { TWeftValue::Create({QChar(u'x')}); }), QStringLiteral("TWeftValue.Create: invalid data type"));
}

TEST(WeftValue, CreateNamedReplacesRepeatedNamesAndChecksNameTypes)
{
    const TWeftValue v = TWeftValue::CreateNamed({"a", 1, "A", 2});
    ASSERT_EQ(v.AsArray().Count(), 1);
    EXPECT_EQ(v.AsArray().Name(0), QStringLiteral("a"));
    EXPECT_EQ(v.AsArray()[0].CastToInteger(), 2);
    EXPECT_EQ(TWeftValue::CreateNamed({"x", 1, "dangling"}).AsArray().Count(), 1);
    EXPECT_EQ(Msg([] { TWeftValue::CreateNamed({1, 2}); }), QStringLiteral("TWeftValue.CreateNamed: invalid name type"));
    EXPECT_EQ(Msg([] { TWeftValue::CreateNamed({"x", QChar(u'y')}); }),
              QStringLiteral("TWeftValue.CreateNamed: invalid data type"));
}

TEST(WeftValue, ArrayItems)
{
    TWeftValue v;
    v.SetAsArrayItem(QStringLiteral("name"), 5);
    ASSERT_TRUE(v.IsArray());
    EXPECT_TRUE(v.HasArrayItem(QStringLiteral("NAME")));
    EXPECT_TRUE(v.HasArrayItem(0));
    EXPECT_FALSE(v.HasArrayItem(1));
    v.SetAsArrayItem(TWeftValue(3), QStringLiteral("third"));
    EXPECT_TRUE(v.HasArrayItem(TWeftValue(3)));
    EXPECT_EQ(Msg([&] { v.HasArrayItem(TWeftValue(1.5)); }),
              QStringLiteral("TWeftValue contains neither an integer, string nor array"));
    TWeftValue i(4);
    EXPECT_EQ(Msg([&] { i.SetAsArrayItem(QStringLiteral("x"), 1); }), QStringLiteral("TWeftValue does not contain an array"));
    EXPECT_EQ(Msg([&] { i.HasArrayItem(0); }), QStringLiteral("TWeftValue does not contain an array"));
}

TEST(WeftValue, EqualityAndLogText)
{
    EXPECT_TRUE(TWeftValue(7) == 7);
    EXPECT_TRUE(TWeftValue(QStringLiteral("Ab")) == "Ab");
    EXPECT_FALSE(TWeftValue(QStringLiteral("Ab")) == "ab");
    EXPECT_EQ(Msg([] { (void)(TWeftValue(QStringLiteral("x")) == 1); }),
              QStringLiteral("TWeftValue cannot be converted to int64"));
    EXPECT_EQ(TWeftValue(true).LogValue(), QStringLiteral("[B]T"));
    EXPECT_EQ(TWeftValue(7).LogValue(), QStringLiteral("[4]7"));
    EXPECT_EQ(TWeftValue(int64_t(-8)).LogValue(), QStringLiteral("[8]-8"));
    EXPECT_EQ(TWeftValue(IInterfacePtr(std::make_shared<TSomeInterface>())).LogValue(), QStringLiteral("[I]"));
    EXPECT_EQ(TWeftValue().LogValue(), QStringLiteral("[0]"));
    EXPECT_EQ(TWeftValue(QStringLiteral("hi")).LogValue(), QStringLiteral("[S]hi"));
    EXPECT_EQ(TWeftValue::Create({1, 2}).LogValue(), QStringLiteral("[A]2"));
    EXPECT_EQ(TWeftValue(static_cast<TWeftObject*>(nullptr)).LogValue(), QStringLiteral("!5"));
    EXPECT_EQ(TWeftValue::FromDateTime(EncodeDateTime(2026, 12, 10, 13, 4, 5, 6)).LogValue(),
              QStringLiteral("[T]20261210130405006"));
    TWeftValue owned;
    owned.SetAsOwnedObject(new TCounted);
    EXPECT_TRUE(owned.LogValue().startsWith(QStringLiteral("[o]"))) << owned.LogValue().toStdString();
    EXPECT_TRUE(owned.LogValue().contains(QStringLiteral("TCounted")));
    EXPECT_EQ(TWeftValue(std::make_exception_ptr(std::runtime_error("x"))).LogValue(),
              QStringLiteral("[E]std::runtime_error"));
}

TEST(WeftValue, ExceptionsTravelAsValuesAndDetach)
{
    TWeftValue v(std::make_exception_ptr(std::runtime_error("failed in a task")));
    TWeftValue copy = v;
    std::exception_ptr e = v.DetachException();
    EXPECT_TRUE(v.IsEmpty());
    ASSERT_TRUE(e);
    EXPECT_THROW(std::rethrow_exception(e), std::runtime_error);
    EXPECT_TRUE(copy.IsException()) << "the copy keeps its own reference";
}

TEST(WeftValue, TypedCastsAndWrapping)
{
    EXPECT_EQ(TWeftValue::CastFrom<int32_t>(5).CastTo<int32_t>(), 5);
    EXPECT_EQ(TWeftValue::CastFrom<int32_t>(5).DataType(), ovtInteger);
    try {
        TWeftValue(int64_t(1) << 40).CastTo<int32_t>();
        FAIL() << "no exception";
    } catch (const EWeftValueConv& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Value 1099511627776 is too big to fit into Integer"));
    }
    EXPECT_EQ(TWeftValue(-5).CastTo<int32_t>(), -5);
    struct TPoint {
        int X, Y;
    };
    const TWeftValue rec = TWeftValue::CastFrom(TPoint{3, 4});
    EXPECT_TRUE(rec.IsRecord());
    EXPECT_EQ(rec.CastTo<TPoint>().Y, 4);
    auto intf = std::make_shared<TSomeInterface>();
    EXPECT_EQ(TWeftValue::CastFrom(intf).CastTo<std::shared_ptr<TSomeInterface>>(), intf);

    int calls = 0;
    std::function<void()> delegate = [&] { ++calls; };
    TCounted::Freed = 0;
    {
        TWeftValue w = TWeftValue::Wrap(delegate);
        EXPECT_TRUE(w.IsOwnedObject());
        w.Unwrap<std::function<void()>>()();
        EXPECT_EQ(calls, 1);
        EXPECT_THROW(w.Unwrap<int>(), EWeftValueConv);
    }
}

TEST(ValueContainer, IndexingGrowthAndLock)
{
    TWeftValueContainer c;
    c.Insert(5, 1);
    EXPECT_EQ(c.Count(), 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(c[i].IsEmpty());
    TWeftValueContainer g;
    std::vector<int> caps;
    for (int i = 0; i < 8; ++i) {
        g.Add(i);
        caps.push_back(g.Capacity());
    }
    EXPECT_EQ(caps, (std::vector<int>{1, 3, 3, 7, 7, 7, 7, 15}));
    g.Add(100, QStringLiteral("Name"));
    g.Add(200, QStringLiteral("NAME"));
    EXPECT_EQ(g.Count(), 9);
    EXPECT_EQ(g.ByName(QStringLiteral("name")).CastToInteger(), 200);
    EXPECT_EQ(g.IndexOf(QString()), 0) << "two empty names match";
    EXPECT_TRUE(g.ByName(QStringLiteral("none")).IsEmpty());
    EXPECT_EQ(g.ByName(QStringLiteral("none"), 9).CastToInteger(), 9);
    EXPECT_EQ(Msg([&] { g.GetItem(QStringLiteral("none")); }),
              QStringLiteral("TWeftValueContainer.GetItem: Parameter none does not exist"));
    EXPECT_EQ(Msg([&] { g.GetItem(TWeftValue(1.5)); }),
              QStringLiteral("TWeftValueContainer.GetItem: Container can only be indexed by integer or string."));
    EXPECT_THROW(g.GetItem(99), EAssertionFailed);
    g.Lock();
    EXPECT_TRUE(g.IsLocked());
    EXPECT_EQ(Msg([&] { g.Add(1); }), QStringLiteral("TWeftValueContainer: Locked"));
    EXPECT_EQ(Msg([&] { g.SetItem(0, 1); }), QStringLiteral("TWeftValueContainer.SetItem: Container is locked"));
    EXPECT_EQ(Msg([&] { g.Assign({}); }), QStringLiteral("TWeftValueContainer: Already locked"));
    g.Clear();
    EXPECT_EQ(g.Count(), 0);
}

TEST(ValueContainer, AssignNamedTakesPairs)
{
    TWeftValueContainer c;
    c.AssignNamed({QStringLiteral("a"), 1, QStringLiteral("b"), QStringLiteral("two")});
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(c[QStringLiteral("B")].CastToString(), QStringLiteral("two"));
    EXPECT_EQ(Msg([&] { c.AssignNamed({QStringLiteral("a")}); }),
              QStringLiteral("TWeftValueContainer.AssignNamed: Not a proper number of parameters"));
    c.Assign({5, 6, 7});
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Name(2), QString());
}
