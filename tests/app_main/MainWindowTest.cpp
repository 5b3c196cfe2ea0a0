// The main window once started: the trees and their rebuilds, event
// processing with the actions' enabled states, the counters and the status
// boxes, the results grid.

#include "app/vrkMainForm.h"
#include "app/vrkMainTree.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"
#include "tests/app_main/MainTestFixture.h"

#include <gtest/gtest.h>

namespace {

// Two series of this client, a season each, events at chosen distances from
// "now", one with a class and two runs.
void Seed(MainTestFixture& f, const QDateTime& Now)
{
    f.InsertClient(QStringLiteral("26.1"));
    f.Data.Connect();
    auto ts = [&](qint64 HoursAgo) {
        return "'" + Now.addSecs(-HoursAgo * 3600).toString("yyyy-MM-dd HH:mm:ss") + "'";
    };
    f.Data.Exec(QStringLiteral(
                    "insert into VRK_EVENT_SERIES (EVENT_SERIES_ID, EVENT_SERIES_NAME) values (1, 'Iltarastit');\n"
                    "insert into VRK_EVENT_SERIES (EVENT_SERIES_ID, EVENT_SERIES_NAME) values (2, 'Aamurastit');\n"
                    "insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (5, 1);\n"
                    "insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (5, 2);\n"
                    "insert into VRK_EVENT_SERIES_SEASON (EVENT_SERIES_SEASON_ID, EVENT_SERIES_ID, EVENT_SERIES_SEASON_NAME, SEASON_ABBR)"
                    " values (10, 1, 'Kesä', 'K');\n"
                    "insert into VRK_EVENT_SERIES_SEASON (EVENT_SERIES_SEASON_ID, EVENT_SERIES_ID, EVENT_SERIES_SEASON_NAME, SEASON_ABBR)"
                    " values (20, 2, 'Talvi', 'T');\n"
                    "insert into VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, EVENT_DATE, FINISH_CODE)"
                    " values (100, 10, 'Tänään', 'A', %1, 100);\n"
                    "insert into VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, EVENT_DATE, FINISH_CODE)"
                    " values (101, 10, 'Vanha', 'A', %2, 100);\n"
                    "insert into VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, EVENT_DATE, FINISH_CODE)"
                    " values (102, 10, 'Liian vanha', 'A', %3, 100);\n"
                    "insert into VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, EVENT_DATE, FINISH_CODE)"
                    " values (200, 20, 'Toinen', 'B', %1, 100);\n")
                    .arg(ts(0), ts(719), ts(721)),
                true);
    f.Data.Module->Disconnect();
}

TTreeNode* Find(TMainTreeView* T, int64_t Id)
{
    return T->FindNode(QStringLiteral("EVENT_ID"), QVariant::fromValue<qlonglong>(Id));
}

void Select(TMainTreeView* T, int64_t Id)
{
    TTreeNode* n = Find(T, Id);
    ASSERT_NE(n, nullptr) << Id;
    T->SetSelected(n);
}

}  // namespace

TEST(MainTrees, StartTreeHoldsTheSeriesSeasonsAndEventsAndARebuildKeepsTheSelection)
{
    MainTestFixture f;
    const QDateTime now(QDate(2026, 12, 10), QTime(15, 0));
    Seed(f, now);
    formMain->ClockNow = [now] { return now; };
    formMain->StartUp();
    TMainTreeView* t = formMain->tvMainTree;
    ASSERT_EQ(t->Items()->RootCount(), 2);
    EXPECT_EQ(t->Items()->Count(), 2 + 2 + 4);
    EXPECT_EQ(t->Items()->Root(0)->Text(), QStringLiteral("Aamurastit"));
    Select(t, 101);
    EXPECT_EQ(formMain->vcCurrentNodeType, QStringLiteral("EVENT"));
    EXPECT_EQ(event->event_id(), 101);
    EXPECT_EQ(eventSeries->event_series_id(), 1);
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU1_VALITTU"));
    EXPECT_TRUE(formMain->bResultsGridVisible);
    EXPECT_EQ(Find(t, 101), t->Selected());

    formMain->refreshMainTree();
    ASSERT_NE(t->Selected(), nullptr);
    EXPECT_EQ(TMainTreeView::NodeData(t->Selected())->Key.toLongLong(), 101);
    EXPECT_EQ(t->Items()->Count(), 8);

    // Selecting the other series clears the loaded season and event.
    t->SetSelected(t->Items()->Root(0));
    EXPECT_EQ(formMain->vcCurrentNodeType, QStringLiteral("EVENT_SERIES"));
    EXPECT_EQ(event->event_id(), 0);
    EXPECT_FALSE(formMain->bResultsGridVisible);
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU1_EI_VALITTU"));
}
