#include "components/output/NumToText.h"

#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

namespace {

struct WordsCase {
    const char* Language;
    const char* Currency;
    double Value;
    const char* Expected;
};

TEST(NumToText, WritesAmountsInEnglishAndCzechGrammar)
{
    const WordsCase cases[] = {
        {"EN", "short", 1234.56, "One Thousand Two Hundred Thirty Four Dollars Fifty Six Cents"},
        {"EN", "short", 101, "One Hundred One Dollar"},
        {"EN", "", 0.5, "Zero Fifty Cents"},
        {"EN", "EUR", 2000000, "Two Million EUR"},
        {"en", "", -19, "minus Nineteen"},
        {"CZ", "long", 1234567, "jeden milión dvě stě třicet čtyři tisíc pět set šedesát sedm korun českých"},
        {"CZ", "long", 2, "dvě koruny české"},
        {"CZ", "long", 21, "dvacet jedna korun českých"},
        {"cz", "short", 0.50, "nula korun padesát haléřů"},
        {"CZ", "", -5, "mínus pět"},
        {"CZ", "short", 3001, "tři tisíce jedna koruna"},
    };
    for (const auto& c : cases) {
        const QString got = NumToTextLang(QString::fromLatin1(c.Language), QStringLiteral(" "),
                                          QString::fromUtf8(c.Currency), c.Value, QString());
        EXPECT_EQ(got, QString::fromUtf8(c.Expected)) << c.Language << " " << c.Value;
    }
}

TEST(NumToText, SubCurrencyWordAndSeparatorAreTheCallers)
{
    EXPECT_EQ(NumToTextEN(QStringLiteral("-"), QStringLiteral("EUR"), QStringLiteral("cent"), 1.25),
              QStringLiteral("One-EUR-Twenty-Five-cent"));
}

TEST(NumToText, RefusesValuesOutOfRange)
{
    EXPECT_NO_THROW(NumToTextEN(QStringLiteral(" "), QString(), QString(), 999999999999999.9));
    for (double v : {1e15, -1e15, std::nan("")}) {
        try {
            NumToTextEN(QStringLiteral(" "), QString(), QString(), v);
            ADD_FAILURE() << v;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Number out of range"));
        }
    }
}

} // namespace
