// The narrow whole-number kinds and the extended float a client dataset can
// carry: the field class each creates, reading and writing, the range each
// kind allows (an out-of-range write raises and keeps the old value), and the
// numeric alignment and filtering they share with the other numbers.

#include "platform/database/ClientDataSet.h"
#include "platform/database/FilterExpr.h"

#include <gtest/gtest.h>

namespace {

struct KindCase {
    TFieldType Type;
    const char* Name;
    qint64 Lo, Hi;
};

const KindCase Narrow[] = {
    {ftShortint, "SI", -128, 127},
    {ftByte, "BY", 0, 255},
    {ftLongWord, "LW", 0, 4294967295LL},
};

class NarrowKinds : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const KindCase& c : Narrow)
            ds.AddField(QString::fromLatin1(c.Name), c.Type);
        ds.AddField(QStringLiteral("EX"), ftExtended);
        ds.CreateDataSet();
        ds.AppendRecord({1, 2, 3, 1.5});
        ds.AppendRecord({-5, 200, 4000000000LL, 2.25});
        ds.First();
    }
    TField* F(const char* n) { return ds.FieldByName(QString::fromLatin1(n)); }
    TClientDataSet ds;
};

TEST_F(NarrowKinds, EachKindMakesItsOwnNumericFieldClass)
{
    EXPECT_NE(dynamic_cast<TShortintField*>(F("SI")), nullptr);
    EXPECT_NE(dynamic_cast<TByteField*>(F("BY")), nullptr);
    EXPECT_NE(dynamic_cast<TLongWordField*>(F("LW")), nullptr);
    EXPECT_NE(dynamic_cast<TExtendedField*>(F("EX")), nullptr);
    for (const char* n : {"SI", "BY", "LW", "EX"}) {
        SCOPED_TRACE(n);
        EXPECT_NE(dynamic_cast<TNumericField*>(F(n)), nullptr);
        EXPECT_EQ(F(n)->Alignment(), TFieldAlignment::RightJustify);
        EXPECT_TRUE(IsNumericFieldType(F(n)->DataType()));
    }
    EXPECT_TRUE(IsIntegerType(ftByte));
    EXPECT_TRUE(IsFloatType(ftExtended));
    EXPECT_FALSE(IsIntegerType(ftExtended));
}

TEST_F(NarrowKinds, ReadAndWriteTheirValues)
{
    ds.Next();
    EXPECT_EQ(F("SI")->AsInteger(), -5);
    EXPECT_EQ(F("BY")->AsString(), QStringLiteral("200"));
    EXPECT_EQ(F("LW")->AsLargeInt(), 4000000000LL);
    EXPECT_DOUBLE_EQ(F("EX")->AsFloat(), 2.25);
    ds.Edit();
    F("SI")->SetAsString(QStringLiteral("-128"));
    F("BY")->SetAsFloat(254.6);
    F("EX")->SetAsString(QStringLiteral("1e-300"));
    ds.Post();
    EXPECT_EQ(F("SI")->AsLargeInt(), -128);
    EXPECT_EQ(F("BY")->AsInteger(), 255);
    EXPECT_DOUBLE_EQ(F("EX")->AsFloat(), 1e-300);
    F("EX")->SetDisplayFormat(QStringLiteral("0.00"));
    ds.Edit();
    F("EX")->SetAsFloat(3.14159);
    EXPECT_EQ(F("EX")->DisplayText(), QStringLiteral("3") + FormatSettings().DecimalSeparator + QStringLiteral("14"));
    ds.Cancel();
}

TEST_F(NarrowKinds, WritesOutsideTheRangeRaiseAndKeepTheValue)
{
    for (const KindCase& c : Narrow) {
        SCOPED_TRACE(c.Name);
        TField* f = F(c.Name);
        ds.Edit();
        f->SetAsLargeInt(c.Lo);
        EXPECT_EQ(f->AsLargeInt(), c.Lo);
        f->SetAsLargeInt(c.Hi);
        EXPECT_EQ(f->AsLargeInt(), c.Hi);
        EXPECT_THROW(f->SetAsLargeInt(c.Hi + 1), EDatabaseError);
        EXPECT_THROW(f->SetAsString(QString::number(c.Lo - 1)), EDatabaseError);
        EXPECT_EQ(f->AsLargeInt(), c.Hi);
        try {
            f->SetAsLargeInt(c.Lo - 1);
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("The allowed range is %1 to %2").arg(c.Lo).arg(c.Hi)))
                << e.Message().toStdString();
        }
        f->Clear();
        EXPECT_TRUE(f->IsNull());
        ds.Cancel();
    }
}

TEST_F(NarrowKinds, FilterAsNumbers)
{
    ds.SetFilter(QStringLiteral("BY > 100 AND EX < 3"));
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(F("LW")->AsLargeInt(), 4000000000LL);
}

}  // namespace
