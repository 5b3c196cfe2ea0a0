// Column filters: filter-bar texts as a table of conditions and the rows they
// leave, the store joined with AND, and the store surviving a save and read.

#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "tests/rdbgrid/RDBGridFixture.h"

#include <gtest/gtest.h>

namespace {

class ColumnFilters : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetName(QStringLiteral("f"));
        data = MakeRunsTable(24);
        src = std::make_unique<TDataSource>();
        src->SetDataSet(data.get());
        grid = new TrDBGrid(form.get());
        grid->SetName(QStringLiteral("g"));
        grid->SetParent(form.get());
        grid->SetDataSource(src.get());
        filters = TrDBGridColumnFilters::Of(grid);
    }
    TField* Field(const char* Name) { return data->FieldByName(QLatin1String(Name)); }
    std::unique_ptr<TForm> form;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TDataSource> src;
    TrDBGrid* grid = nullptr;
    TrDBGridColumnFilters* filters = nullptr;
};

}  // namespace

TEST_F(ColumnFilters, BarTextsGiveTheExpectedRows)
{
    // 24 runs: names cycle through 8, clubs through 4 (i % 4), SECS = 3000 - 7 i.
    struct Case { const char* field; const char* text; int rows; };
    const Case cases[] = {
        {"NAME", "virtanen", 0},        // text filters are case-sensitive
        {"NAME", "Virtanen", 3},        // anywhere in the value
        {"NAME", "Aino | Eero", 6},
        {"CLUB", "OK Espoo", 6},
        {"SECS", ">2900", 14},
        {"SECS", ">=2916 & <2951", 5},
        {"SECS", "29**", 14},           // 2900 <= x < 3000
        {"ID", "7", 1},
        {"STATUS", "3", 4},
        {"NAME", "(not null)", 24},
        {"NAME", "(null)", 0},
        {"NAME", "", 24},               // a blank text removes the column's filter
    };
    for (const Case& c : cases) {
        filters->ResetFilter();
        EXPECT_TRUE(filters->ProcFilterBarFilter(Field(c.field), QString::fromUtf8(c.text)) || c.rows == 0) << c.text;
        EXPECT_EQ(data->RecordCount(), c.rows) << c.field << " " << c.text << " -> " << data->Filter().toStdString();
    }
    // Text without a condition is refused and marked.
    filters->ResetFilter();
    EXPECT_FALSE(filters->ProcFilterBarFilter(Field("SECS"), QStringLiteral("<=")));
    EXPECT_EQ(filters->EditStatuses.Values(QStringLiteral("SECS")), QStringLiteral("E"));
}

TEST_F(ColumnFilters, StoreJoinsColumnsAndRoundTripsThroughTheSaver)
{
    ASSERT_TRUE(filters->ProcFilterBarFilter(Field("CLUB"), QStringLiteral("OK Espoo")));
    ASSERT_TRUE(filters->ProcFilterBarFilter(Field("STATUS"), QStringLiteral("0")));
    EXPECT_EQ(data->RecordCount(), 5);
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("CLUB;STATUS;"));
    EXPECT_TRUE(data->Filter().startsWith(QLatin1Char('(')));
    EXPECT_TRUE(data->Filter().contains(QStringLiteral(") AND (")));

    TPropSaveFile file(nullptr);
    file.SetContent(QString());
    TPropSaveMain main(form.get());
    main.SetPropSaveFile(&file);
    TrDBGridsPropSave saver(form.get());
    saver.SetPropSaveMain(&main);
    saver.StoreFilterSetting = true;
    saver.ReadSaveProps(psaSave, &file, grid, QStringLiteral("f.g"));
    EXPECT_EQ(file.ReadInteger(QStringLiteral("f.g.Filter"), QStringLiteral("CondCount"), 0), 2);
    EXPECT_EQ(file.ReadString(QStringLiteral("f.g.Filter"), QStringLiteral("Text0"), QString()), QStringLiteral("OK Espoo"));

    filters->ResetFilter();
    data->SetFilter(QString());
    EXPECT_EQ(data->RecordCount(), 24);
    saver.ReadSaveProps(psaRead, &file, grid, QStringLiteral("f.g"));
    EXPECT_EQ(data->RecordCount(), 5);
    EXPECT_EQ(filters->ColumnFilters().size(), 2u);
    EXPECT_EQ(filters->EditValues.Values(QStringLiteral("STATUS")), QStringLiteral("0"));
    EXPECT_EQ(grid->FilteredFieldNames(), QStringLiteral("CLUB;STATUS;"));
    main.SetPropSaveFile(nullptr);
}
