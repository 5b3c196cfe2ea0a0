// Requerying a grid's data through its sorter against the event database:
// the current record and the sort survive the requery; a record that
// another user deleted sends the grid to the first record.

#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "platform/database/DataSource.h"
#include "platform/database/FbScript.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <gtest/gtest.h>

TEST(RDBGridRefresh, DoRefreshKeepsTheRecordAndTheSort)
{
    TRunsDatabase db(60);
    auto q = db.NewRunsQuery();
    q->Open();
    TDataSource src;
    src.SetDataSet(q.get());
    TForm form(nullptr);
    auto* grid = new TrDBGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 600, 300);
    grid->SetDataSource(&src);
    TrDBGridSorter_FireDac sorter(&form);
    grid->SetSorter(&sorter);
    ASSERT_TRUE(grid->ChangeSortEx(QStringLiteral("CLUB_NAME,TIME_SEC"), QStringLiteral("D,A")));
    q->SetRecNo(20);
    const int id = q->FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsInteger();
    const QString firstClub = (q->First(), q->FieldByName(QStringLiteral("CLUB_NAME"))->AsString());
    q->Locate(QStringLiteral("RESULTS_CLASS_ID"), id);
    sorter.DoRefresh(grid, q.get());
    EXPECT_EQ(q->FieldByName(QStringLiteral("RESULTS_CLASS_ID"))->AsInteger(), id);
    EXPECT_EQ(q->IndexName(), QStringLiteral("CLUB_NAME; TIME_SEC_CLUB_NAME"));
    q->First();
    EXPECT_EQ(q->FieldByName(QStringLiteral("CLUB_NAME"))->AsString(), firstClub) << "still sorted after the requery";
    // Another user deletes the current run.
    q->Locate(QStringLiteral("RESULTS_CLASS_ID"), id);
    TFbScript s;
    s.Connection = &db.Con;
    s.Transaction = &db.Tr;
    s.ExecuteScript(QStringLiteral("DELETE FROM VRK_RESULTS_CLASS WHERE RESULTS_CLASS_ID = %1;\nCOMMIT;\n").arg(id));
    sorter.DoRefresh(grid, q.get());
    EXPECT_EQ(q->RecNo(), 1) << "a record that is gone leaves the grid on the first one";
    EXPECT_EQ(q->RecordCount(), 59);
    // A closed dataset is left alone.
    q->Close();
    EXPECT_NO_THROW(sorter.DoRefresh(grid, q.get()));
    EXPECT_FALSE(q->Active());
}
