// The JSON reader on the cases its callers rely on: values kept as written,
// the tolerant decoding of escapes, the exact error texts, and deep nesting
// read without recursion.

#include "sync/jsonnode.h"

#include <gtest/gtest.h>
#include <limits>

#include <QString>

namespace {

std::unique_ptr<TJsonNode> P(const QString& Text)
{
    return TJsonNode::Parse(Text);
}

template <class E>
QString ErrorOf(const std::function<void()>& F)
{
    try {
        F();
    } catch (const E& Error) {
        return Error.Message();
    }
    return QStringLiteral("<no error>");
}

}  // namespace

TEST(JsonNode, EmptyTextAndTextWithoutContainersGiveNoNode)
{
    EXPECT_EQ(P(QString()), nullptr);
    EXPECT_EQ(P(QStringLiteral("   ")), nullptr);
    EXPECT_EQ(P(QStringLiteral("\"just a string\"")), nullptr);
    EXPECT_EQ(P(QStringLiteral("42")), nullptr);
}

TEST(JsonNode, NumberNullAndTrueMembers)
{
    auto Root = P(QStringLiteral(R"({"n": 17, "z": null, "t": true, "f": false})"));
    ASSERT_TRUE(Root);
    EXPECT_TRUE(Root->IsDict());
    EXPECT_EQ((*Root)["n"].AsString(), QStringLiteral("17"));
    EXPECT_EQ((*Root)["n"].AsInteger(), 17);
    EXPECT_EQ((*Root)["z"].AsString(), QString());
    EXPECT_THROW((*Root)["z"].AsInteger(), EVariantError);
    EXPECT_THROW((*Root)["z"].AsInt64(), EVariantError);
    EXPECT_EQ((*Root)["t"].AsString(), QStringLiteral("True"));
    EXPECT_EQ((*Root)["f"].AsString(), QStringLiteral("False"));
    EXPECT_TRUE((*Root)["t"].AsBoolean());
    EXPECT_EQ(Root->Items()->Count(), 4);
}

TEST(JsonNode, MemberHoldingAnObjectWithAnArray)
{
    auto Root = P(QStringLiteral(R"({"m": {"a": [5, {"x": "y"}]}})"));
    ASSERT_TRUE(Root);
    TJsonNode& M = (*Root)["m"];
    EXPECT_TRUE(M.IsDict());
    EXPECT_FALSE(M.IsList());
    EXPECT_EQ(M.Parent(), Root.get());
    TJsonNode& A = M["a"];
    ASSERT_TRUE(A.IsList());
    EXPECT_EQ(A.ListItems()->Count(), 2);
    EXPECT_EQ(A[0].AsInteger(), 5);
    EXPECT_TRUE(A[1].IsDict());
    EXPECT_EQ(A[1]["x"].AsString(), QStringLiteral("y"));
    EXPECT_EQ(A[1].Parent(), &A);
    int Seen = 0;
    for (TJsonNode* Item : A) {
        EXPECT_EQ(Item->Parent(), &A);
        ++Seen;
    }
    EXPECT_EQ(Seen, 2);
}

TEST(JsonNode, EmptyArrayElementsAndEmptyStrings)
{
    auto Root = P(QStringLiteral(R"([1, , 2])"));
    ASSERT_TRUE(Root);
    EXPECT_EQ(Root->ListItems()->Count(), 2);
    EXPECT_EQ((*Root)[1].AsString(), QStringLiteral("2"));

    auto One = P(QStringLiteral(R"([""])"));
    ASSERT_TRUE(One);
    ASSERT_EQ(One->ListItems()->Count(), 1);
    EXPECT_EQ((*One)[0].AsString(), QString());
    EXPECT_EQ((*One)[0].ValueKind(), TJsonNode::TValueKind::vkText);
}

TEST(JsonNode, EscapeDecoding)
{
    struct Case {
        QString Json;
        QString Expected;
    };
    const Case Cases[] = {
        {QStringLiteral(R"(["\\n"])"), QStringLiteral("\\n")},
        {QStringLiteral(R"(["\u0041"])"), QStringLiteral("A")},
        {QStringLiteral(R"(["a\qb"])"), QStringLiteral("ab")},
        {QStringLiteral(R"(["\"q\" \/ \b\f\n\r\t"])"), QStringLiteral("\"q\" / \b\f\n\r\t")},
        {QStringLiteral(R"(["\u00e4\u00F6"])"), QStringLiteral("äö")},
        {QStringLiteral("[\"Ä ö\tå\r\nx\"]"), QStringLiteral("Ä ö\tå\r\nx")},
        {QStringLiteral(R"(["a\\"])"), QStringLiteral("a\\")},
    };
    for (const Case& C : Cases) {
        auto Root = P(C.Json);
        ASSERT_TRUE(Root) << C.Json.toStdString();
        EXPECT_EQ((*Root)[0].AsString(), C.Expected) << C.Json.toStdString();
    }
}

TEST(JsonNode, EscapeThatDecodesToNothingAddsNoItem)
{
    auto Root = P(QStringLiteral(R"(["\q", "x"])"));
    ASSERT_TRUE(Root);
    ASSERT_EQ(Root->ListItems()->Count(), 1);
    EXPECT_EQ((*Root)[0].AsString(), QStringLiteral("x"));
}

TEST(JsonNode, BadUnicodeEscapeRaises)
{
    EXPECT_EQ(ErrorOf<EJSONParseError>([] { P(QStringLiteral(R"(["\uZZ12"])")); }),
              QStringLiteral("Invalid unicode \\uZZ12"));
    // a truncated escape at the end of the text never reads past it
    EXPECT_EQ(ErrorOf<EJSONParseError>([] { P(QStringLiteral("[\"\\u12\"]")); }),
              QStringLiteral("Invalid unicode \\u12\""));
}

TEST(JsonNode, WhiteSpaceInsideStringsStaysOutsideGoes)
{
    auto Root = P(QStringLiteral("{\n\t\"a b\" :\r\n \"  c\td  \" ,\n \"n\" : \t 12 \n}"));
    ASSERT_TRUE(Root);
    EXPECT_EQ((*Root)["a b"].AsString(), QStringLiteral("  c\td  "));
    EXPECT_EQ((*Root)["n"].AsString(), QStringLiteral("12"));
}

TEST(JsonNode, ErrorTexts)
{
    auto Root = P(QStringLiteral(R"({"list": [1, 2], "Name": "x"})"));
    ASSERT_TRUE(Root);
    TJsonNode& L = (*Root)["list"];
    EXPECT_EQ(ErrorOf<EJSONUnknownFieldOrIndex>([&] { L[2]; }), QStringLiteral("Unknown index: 2"));
    EXPECT_EQ(ErrorOf<EJSONUnknownFieldOrIndex>([&] { (*Root)["name"]; }), QStringLiteral("Unknown field: name"));
    EXPECT_EQ((*Root)["Name"].AsString(), QStringLiteral("x"));
    EXPECT_THROW(L[-1], EArgumentOutOfRangeException);
    EXPECT_EQ(ErrorOf<EJSONUnknownFieldOrIndex>([&] { Root->GetJSONByNameOrIndex(QVariant(1.5)); }),
              QStringLiteral("Unknown field variant type: Double."));
    // the indexed property by kind of its argument
    EXPECT_EQ(L.GetJSONByNameOrIndex(QVariant(qint64(1))).AsInteger(), 2);
    EXPECT_EQ(Root->GetJSONByNameOrIndex(QVariant(QStringLiteral("Name"))).AsString(), QStringLiteral("x"));
    auto Numbered = P(QStringLiteral(R"({"7": "seven"})"));
    EXPECT_EQ(Numbered->GetJSONByNameOrIndex(QVariant(7u)).AsString(), QStringLiteral("seven"));
}

TEST(JsonNode, NumbersKeepTheirWrittenForm)
{
    auto Root = P(QStringLiteral(R"([1.50, 2E+10, -0.0, 007, 9223372036854775807])"));
    ASSERT_TRUE(Root);
    EXPECT_EQ((*Root)[0].AsString(), QStringLiteral("1.50"));
    EXPECT_EQ((*Root)[1].AsString(), QStringLiteral("2E+10"));
    EXPECT_EQ((*Root)[2].AsString(), QStringLiteral("-0.0"));
    EXPECT_EQ((*Root)[3].AsInteger(), 7);
    EXPECT_EQ((*Root)[4].AsInt64(), INT64_C(9223372036854775807));
    EXPECT_THROW((*Root)[4].AsInteger(), EVariantError);
    EXPECT_THROW((*Root)[0].AsInteger(), EVariantError);
}

// Out-of-range integers are conversion errors, never wrapped bit patterns;
// only "True", "False" and finite numbers convert to Boolean.
TEST(JsonNode, ConversionsRefuseWhatIsOutOfRange)
{
    auto Root = P(QStringLiteral(
        R"(["0xFFFFFFFF", "0x7FFFFFFF", "-2147483648", "2147483648", "0xFFFFFFFFFFFFFFFF", "$FFFFFFFFFFFFFFFF",)"
        R"( "nan", "inf", "-inf", "NaN", "true", "FALSE", "0", "2.5", "yes"])"));
    ASSERT_TRUE(Root);
    const TJsonNode& R = *Root;
    EXPECT_THROW(R[0].AsInteger(), EVariantError);
    EXPECT_EQ(R[0].AsInt64(), INT64_C(0xFFFFFFFF));
    EXPECT_EQ(R[1].AsInteger(), 0x7FFFFFFF);
    EXPECT_EQ(R[2].AsInteger(), std::numeric_limits<int>::min());
    EXPECT_THROW(R[3].AsInteger(), EVariantError);
    EXPECT_THROW(R[4].AsInt64(), EVariantError);
    EXPECT_THROW(R[5].AsInt64(), EVariantError);
    for (int I : {6, 7, 8, 9, 14})
        EXPECT_THROW(R[I].AsBoolean(), EVariantError) << R[I].AsString().toStdString();
    EXPECT_TRUE(R[10].AsBoolean());
    EXPECT_FALSE(R[11].AsBoolean());
    EXPECT_FALSE(R[12].AsBoolean());
    EXPECT_TRUE(R[13].AsBoolean());
}

TEST(JsonNode, OnlyTheFirstTopLevelContainerIsReturned)
{
    auto Root = P(QStringLiteral(R"(x {"a": 1} {"b": 2} [3])"));
    ASSERT_TRUE(Root);
    EXPECT_TRUE(Root->IsDict());
    EXPECT_EQ(Root->Items()->Count(), 1);
    EXPECT_EQ((*Root)["a"].AsInteger(), 1);
    EXPECT_EQ(Root->Parent(), nullptr);
}

TEST(JsonNode, DuplicateMemberFailsTheParse)
{
    EXPECT_EQ(ErrorOf<EListError>([] { P(QStringLiteral(R"({"a": 1, "a": 2})")); }),
              QStringLiteral("Duplicates not allowed"));
    // large objects check through their index as well
    QString Big = QStringLiteral("{");
    for (int K = 0; K < 100; ++K)
        Big += QStringLiteral("\"k%1\": %1, ").arg(K);
    EXPECT_TRUE(P(Big + QStringLiteral("\"last\": 0}")));
    EXPECT_THROW(P(Big + QStringLiteral("\"k50\": 0}")), EListError);
    auto Root = P(Big + QStringLiteral("\"last\": 0}"));
    EXPECT_EQ((*Root)["k77"].AsInteger(), 77);
    EXPECT_EQ(Root->Items()->Count(), 101);
}

TEST(JsonNode, UnassignedValueReadsAsEmpty)
{
    auto Root = P(QStringLiteral(R"({"a": , "b": 1})"));
    ASSERT_TRUE(Root);
    EXPECT_EQ((*Root)["a"].ValueKind(), TJsonNode::TValueKind::vkUnassigned);
    EXPECT_EQ((*Root)["a"].AsString(), QString());
    EXPECT_EQ((*Root)["a"].AsInteger(), 0);
}

TEST(JsonNode, DatesInTheReadersFormats)
{
    auto Root = P(QStringLiteral(
        R"({"d": "2024-06-01", "t": "18:05:07", "dt": "2024-06-01T18:05:07", "z": "2019-05-03T10:00:00+03:00", "u": "2019-05-03T10:00:00.250Z"})"));
    ASSERT_TRUE(Root);
    EXPECT_EQ((*Root)["d"].AsDateTime(), EncodeDate(2024, 6, 1));
    EXPECT_DOUBLE_EQ((*Root)["t"].AsDateTime(), EncodeTime(18, 5, 7, 0));
    EXPECT_DOUBLE_EQ((*Root)["dt"].AsDateTime(), EncodeDateTime(2024, 6, 1, 18, 5, 7, 0));
    EXPECT_NEAR((*Root)["z"].AsDateTime(), EncodeDateTime(2019, 5, 3, 7, 0, 0, 0), 1e-9);
    EXPECT_NEAR((*Root)["u"].AsDateTime(), EncodeDateTime(2019, 5, 3, 10, 0, 0, 250), 1e-9);
    EXPECT_THROW(XMLTimeToDateTime(QStringLiteral("2019-13-03T10:00:00")), EConvertError);
    EXPECT_THROW(XMLTimeToDateTime(QStringLiteral("yesterday")), EConvertError);
}

TEST(JsonNode, LineBreaksBetweenMembersReadTheSame)
{
    auto A = P(QStringLiteral("{\"message_type\": \"none\",\r\n\"message_id\": \"5\",\n\"hasMore\": \"false\"}"));
    auto B = P(QStringLiteral("{\"message_type\": \"none\", \"message_id\": \"5\", \"hasMore\": \"false\"}"));
    ASSERT_TRUE(A && B);
    for (const char* Name : {"message_type", "message_id", "hasMore"})
        EXPECT_EQ((*A)[Name].AsString(), (*B)[Name].AsString());
}

TEST(JsonNode, DeepNestingNeedsNoStack)
{
    // Far deeper than any call stack would take recursively, in both kinds.
    constexpr int Depth = 200000;
    QString Text;
    Text.reserve(Depth * 8 + 16);
    for (int K = 0; K < Depth; ++K)
        Text += QStringLiteral("{\"a\":[");
    Text += QStringLiteral("\"deep\"");
    for (int K = 0; K < Depth; ++K)
        Text += QStringLiteral("]}");
    auto Root = P(Text);
    ASSERT_TRUE(Root);
    const TJsonNode* Node = Root.get();
    int Levels = 0;
    while (Node->IsDict()) {
        const TJsonNode& List = (*Node)["a"];
        ASSERT_TRUE(List.IsList());
        Node = &List[0];
        ++Levels;
    }
    EXPECT_EQ(Levels, Depth);
    EXPECT_EQ(Node->AsString(), QStringLiteral("deep"));
    Root.reset();  // freeing is flat as well
}

TEST(JsonNode, TenThousandLevels)
{
    QString Text = QString(10000, QLatin1Char('[')) + QStringLiteral("1") + QString(10000, QLatin1Char(']'));
    auto Root = P(Text);
    ASSERT_TRUE(Root);
    const TJsonNode* Node = Root.get();
    for (int K = 0; K < 9999; ++K)
        Node = &(*Node)[0];
    EXPECT_EQ((*Node)[0].AsInteger(), 1);
}

TEST(JsonNode, TextThatIsNotJsonNeverCrashes)
{
    const QString Cases[] = {
        QStringLiteral("}}}]]]"), QStringLiteral("[1}"), QStringLiteral("{\"a\":1]"), QStringLiteral("a:b"),
        QStringLiteral("[a:1]"), QStringLiteral("{\"a\":\"b\":\"c\"}"), QStringLiteral("{{{"), QStringLiteral("[\"unterminated"),
        QStringLiteral("{\"a\" 1 2 3}"), QStringLiteral("\\\\\\\""), QStringLiteral("{:}"), QStringLiteral("[,,,]"),
    };
    for (const QString& Text : Cases) {
        try {
            auto Root = P(Text);
            if (Root)
                (void)Root->AsString();
        } catch (const Exception&) {
        }
    }
    SUCCEED();
}

TEST(JsonNode, CreateMakesAnEmptyNode)
{
    TJsonNode Parent;
    TJsonNode Child(&Parent);
    EXPECT_EQ(Child.Parent(), &Parent);
    EXPECT_FALSE(Child.IsDict());
    EXPECT_FALSE(Child.IsList());
    EXPECT_EQ(Child.ValueKind(), TJsonNode::TValueKind::vkUnassigned);
    EXPECT_EQ(Parent.Items(), nullptr);
}
