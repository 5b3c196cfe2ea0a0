// The name proposed for a stored filter.

#include "components/dbcontrols/rDBFilterSaver.h"
#include "platform/database/ClientDataSet.h"

#include <gtest/gtest.h>

namespace {

TEST(PresetFilterNameTest, FieldNamesBecomeLabelsOutsideQuotedValues)
{
    TClientDataSet d;
    d.AddField(QStringLiteral("CLASS_NAME"), ftWideString, 20);
    d.AddField(QStringLiteral("TIME_SEC"), ftInteger);
    d.AddField(QStringLiteral("CLUB"), ftWideString, 20);
    d.CreateDataSet();
    d.FieldByName(QStringLiteral("CLASS_NAME"))->SetDisplayLabel(QStringLiteral("Class"));
    d.FieldByName(QStringLiteral("TIME_SEC"))->SetDisplayLabel(QStringLiteral("Time"));
    d.FieldByName(QStringLiteral("CLUB"))->SetDisplayLabel(QStringLiteral("Club CLUB"));
    struct Case {
        const char* filter;
        const char* name;
    } cases[] = {
        {"(CLASS_NAME = 'H21')", "Class = 'H21'"},
        {"(class_name='D21') and (TIME_SEC>1800)", "Class='D21' and Time>1800"},
        {"NOTE = 'CLASS_NAME' and CLASS_NAME = 'x'", "NOTE = 'CLASS_NAME' and CLASS_NAME = 'x'"},
        {"MYCLASS_NAME = 1", "MYCLASS_NAME = 1"},
        {"CLUB = 'A'", ""},
    };
    for (const Case& c : cases) {
        d.SetFilter(QString::fromUtf8(c.filter));
        const QString got = PresetFilterName(&d);
        if (QByteArray(c.filter).startsWith("CLUB"))
            EXPECT_TRUE(got.startsWith(QStringLiteral("Club CLUB")) && got.endsWith(QStringLiteral("= 'A'"))) << "a label holding its name ends after a bounded number of passes";
        else
            EXPECT_EQ(got, QString::fromUtf8(c.name)) << c.filter;
    }
}

}  // namespace
