// The main window once started: the trees and their rebuilds, event
// processing with the actions' enabled states, the counters and the status
// boxes, the results grid.

#include "components/base/rGroupBox.h"
#include "components/base/rTabControlEx.h"
#include "app/vrkMainForm.h"
#include "platform/ui/Splitter.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"
#include "components/grid/rDBGrid.h"
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

TTreeNode* Find(TrDBTreeView*, int64_t Id)
{
    return formMain->FindEventNode(Id);
}

qlonglong SelectedKey(TrDBTreeView* T)
{
    const TNodeObject* o = TrDBTreeView::NodeObjectOf(T->Selected());
    return o ? o->KeyValue.toLongLong() : -1;
}

void Select(TrDBTreeView* T, int64_t Id)
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
    TrDBTreeView* t = formMain->tvMainTree;
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
    EXPECT_EQ(SelectedKey(t), 101);
    EXPECT_EQ(t->Items()->Count(), 8);

    // Selecting the other series clears the loaded season and event.
    t->SetSelected(t->Items()->Root(0));
    EXPECT_EQ(formMain->vcCurrentNodeType, QStringLiteral("EVENT_SERIES"));
    EXPECT_EQ(event->event_id(), 0);
    EXPECT_FALSE(formMain->bResultsGridVisible);
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU1_EI_VALITTU"));
}

namespace {

const TAction* const* GridActions(TformMain& F, const TAction* (&A)[8])
{
    const TAction* list[8] = {F.actMainGridNew,         F.actMainGridNewTest,   F.actMainGridEdit,     F.actMainGridEditPerson,
                              F.actMainGridMergePerson, F.actMainGridPrintBadge, F.actMainGridDelete, F.actMainGridToResult};
    std::copy(std::begin(list), std::end(list), A);
    return A;
}

// "N" new, "T" test, "E" edit, "P" person, "M" merge, "B" badge, "D" delete, "R" to result.
QString Enabled(TformMain& F)
{
    const TAction* a[8];
    GridActions(F, a);
    const char* keys = "NTEPMBDR";
    QString s;
    for (int i = 0; i < 8; ++i)
        if (a[i]->Enabled())
            s += QLatin1Char(keys[i]);
    return s;
}

}  // namespace

TEST(MainProcessing, StartStopAndReadyWithTheActionsEnabledState)
{
    MainTestFixture f;
    const QDateTime now(QDate(2026, 12, 10), QTime(15, 0));
    Seed(f, now);
    formMain->ClockNow = [now] { return now; };
    formMain->StartUp();
    f.Data.Exec("delete from vrk_data_replication;", true);
    TrDBTreeView* t = formMain->tvMainTree;

    // 721 hours ago: refused with the 30-day text.
    Select(t, 102);
    formMain->actMaaliAloitaExecute();
    EXPECT_EQ(f.Boxes.last(), mwtxt::EventTooOld);
    EXPECT_EQ(formMain->nCurrentProcessedEvent, 0);
    // 719 hours ago: asked, and No keeps it unstarted.
    Select(t, 101);
    f.BoxAnswer = IDNO;
    formMain->actMaaliAloitaExecute();
    EXPECT_EQ(f.Boxes.last(), mwtxt::EventInPast);
    EXPECT_EQ(formMain->nCurrentProcessedEvent, 0);
    EXPECT_EQ(Enabled(*formMain), QString());
    // Today: starts without a question; no classes yet.
    Select(t, 100);
    const int boxes = f.Boxes.size();
    formMain->actMaaliAloitaExecute();
    EXPECT_EQ(f.Boxes.size(), boxes);
    EXPECT_EQ(formMain->nCurrentProcessedEvent, 100);
    EXPECT_EQ(formMain->nCurrentProcessedEventS, 1);
    EXPECT_EQ(formMain->nCurrentProcessedEventSSeason, 10);
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU2_EI_RATOJA"));
    EXPECT_TRUE(formMain->tvMainTreeEvent->Visible());
    // The series holds its season and the three title nodes, each over its own records.
    {
        TTreeNodes* n = formMain->tvMainTreeEvent->Items();
        ASSERT_EQ(n->RootCount(), 1);
        TTreeNode* series = n->Root(0);
        ASSERT_EQ(series->Count(), 4);
        EXPECT_EQ(series->Item(1)->Text(), mwtxt::Henkilot);
        EXPECT_EQ(series->Item(2)->Text(), mwtxt::Seurat);
        EXPECT_EQ(series->Item(3)->Text(), mwtxt::Kilpailukortit);
        EXPECT_TRUE(TrDBTreeView::NodeObjectOf(series->Item(2))->IsTitle);
        EXPECT_EQ(formMain->FindProcessedEventNode(100)->Parent(), series->Item(0));
    }
    EXPECT_FALSE(formMain->tvMainTree->Visible());
    EXPECT_EQ(Enabled(*formMain), QString());
    EXPECT_EQ(f.Data.Module->getClientLastEvent(), 100);
    EXPECT_EQ(f.EventDownloads, QList<int64_t>{100});
    EXPECT_EQ(f.Data.Value("select count(*) from vrk_client_message where event_id = 100 and message_type = '3'").toInt(), 1);

    // A class arrives: "Kirjaa uusi" only; a run in the forest selected
    // enables the row actions and "Kirjaa"; "Tulosta" needs a printer port.
    int64_t classId = 0;
    QString message;
    f.Data.Module->insertClass("H21", 10, "E", "", "31,32,33", 2.5f, 40, "", 100, classId, message);
    ASSERT_TRUE(message.isEmpty()) << message.toStdString();
    formMain->refreshMainGrid();
    EXPECT_EQ(Enabled(*formMain), QStringLiteral("N"));
    f.Data.Exec("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, PERSON_NAME)"
                " values (900, 100, '12345', 'M', 'Aino Virtanen');",
                true);
    formMain->refreshMainGrid();
    EXPECT_EQ(formMain->nMainGridCurrentResultClassId, 900);
    EXPECT_EQ(Enabled(*formMain), QStringLiteral("NEPMDR"));
    EXPECT_EQ(formMain->lblMaastossa->Caption(), QStringLiteral("Maastossa: 1"));
    formMain->vcChipPrinterPort = QStringLiteral("/dev/ttyUSB0");
    formMain->SetGridActions();
    EXPECT_EQ(Enabled(*formMain), QStringLiteral("NEPMBDR"));

    // Deleting a run in the forest asks the forest question.
    f.BoxAnswer = IDYES;
    formMain->actMainGridDeleteExecute();
    EXPECT_EQ(f.Boxes.last(), mwtxt::DeleteForest);
    EXPECT_EQ(f.Data.Value("select count(*) from vrk_results_class where results_class_id = 900").toInt(), 0);

    // Stop with unsent messages only informs; the event is selected again.
    ASSERT_GT(f.Data.Module->getUnsentMessages(), 0);
    formMain->actMaaliLopetaExecute();
    EXPECT_EQ(f.Boxes.last(), mwtxt::StopUnsent);
    EXPECT_EQ(formMain->nCurrentProcessedEvent, 0);
    EXPECT_TRUE(formMain->tvMainTree->Visible());
    ASSERT_NE(t->Selected(), nullptr);
    EXPECT_EQ(SelectedKey(t), 100);
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU1_VALITTU"));
    EXPECT_EQ(Enabled(*formMain), QString());

    // Ready with unsent messages asks; No keeps processing, Yes ends it.
    formMain->actMaaliAloitaExecute();
    ASSERT_EQ(formMain->nCurrentProcessedEvent, 100);
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU3_QUESTION"));
    f.BoxAnswer = IDNO;
    formMain->actMaaliValmisExecute();
    EXPECT_EQ(f.Boxes.last(), mwtxt::ReadyUnsent);
    EXPECT_EQ(formMain->nCurrentProcessedEvent, 100);
    f.BoxAnswer = IDYES;
    formMain->actMaaliValmisExecute();
    EXPECT_EQ(formMain->nCurrentProcessedEvent, 0);
    EXPECT_TRUE(formMain->b_ready_pressed);
    EXPECT_EQ(f.Data.Value("select count(*) from vrk_client_message where event_id = 100 and message_type = '8'").toInt(), 1);
}

TEST(MainProcessing, DeskTabKeepsTheCountersAndEmptiesTheLastResult)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    formMain->lblNimi->SetCaption(QStringLiteral("Aino"));
    ASSERT_TRUE(formMain->tabKasittely->SetActiveTabEx(0));
    EXPECT_EQ(formMain->vc_main_function, QStringLiteral("LAHTO"));
    EXPECT_TRUE(formMain->pnlMaali->Visible());
    EXPECT_TRUE(formMain->lblNimi->Caption().isEmpty());
    ASSERT_TRUE(formMain->tabKasittely->SetActiveTabEx(1));
    EXPECT_FALSE(formMain->tabKasittely->SetActiveTabEx(1));
    EXPECT_EQ(formMain->vc_main_function, QStringLiteral("MAALI"));
}

TEST(MainStatus, StallTestBacklogAlertAndManualMinimise)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    TformMain& m = *formMain;
    ASSERT_TRUE(m.gbWebTulospalvelu->Minimized());
    // A constant backlog of 3: thirty calls look moving, the 31st stalls.
    for (int i = 1; i <= 30; ++i) {
        m.refreshMessageCounts(2, 1);
        ASSERT_TRUE(m.imgWebOK->Visible()) << i;
    }
    m.refreshMessageCounts(2, 1);
    EXPECT_TRUE(m.imgWebExclamation->Visible());
    EXPECT_FALSE(m.imgWebOK->Visible());
    EXPECT_FALSE(m.gbWebTulospalvelu->Minimized());
    EXPECT_FALSE(m.bWebAlert);  // the same call turns it green again ...
    EXPECT_TRUE(m.TimerWebTulospalvelu->Enabled());  // ... and hides it in 5 s
    EXPECT_EQ(m.edtLahettamatta->Text(), QStringLiteral("2"));
    EXPECT_EQ(m.edtVastaanottamatta->Text(), QStringLiteral("1"));

    // 11 unsent: alert, red counter.
    m.refreshMessageCounts(11, 0);
    EXPECT_TRUE(m.bWebAlert);
    EXPECT_EQ(m.edtLahettamatta->Font()->Color(), clRed);
    EXPECT_EQ(m.edtVastaanottamatta->Font()->Color(), clWindowText);
    EXPECT_EQ(m.gbWebTulospalvelu->CaptionColor(), clRed);
    EXPECT_EQ(m.gbWebTulospalvelu->FrameColor(), clRed);

    // Minimised by hand: no alert opens it again.
    m.gbWebTulospalvelu->SetMinimized(true);
    EXPECT_TRUE(m.bWebTulospalveluManualMin);
    m.refreshMessageCounts(20, 0);
    EXPECT_TRUE(m.gbWebTulospalvelu->Minimized());

    // MenuRefresh outside the device step changes nothing.
    m.MenuShow("MENU1_EI_VALITTU", "MENU1_EI_VALITTU");
    const QString before = m.lblMenu3->Caption();
    m.MenuRefresh();
    EXPECT_EQ(m.lblMenu3->Caption(), before);
    m.SynkronointiActionShow();
    EXPECT_TRUE(m.gbSynkronointiAction->Visible());
    m.SynkronointiActionOK();
    EXPECT_TRUE(m.imgSyncOK->Visible());
    EXPECT_TRUE(m.TimerSynkronointiAction->Enabled());

    // The tree box shrinks to its caption, red while the web box alerts, and
    // fills its place again when restored.
    m.SetBounds(0, 0, 1200, 760);
    ASSERT_GT(m.pnlTreeArea->ClientHeight(), 200);
    EXPECT_EQ(m.grpNavTree->Height(), m.pnlTreeArea->ClientHeight());
    // The splitter beside it rests while the box is minimised.
    EXPECT_TRUE(m.splNavigation->Enabled());
    m.grpNavTree->SetMinimized(true);
    EXPECT_TRUE(m.grpNavTree->Minimized());
    EXPECT_LT(m.grpNavTree->Height(), 30);
    EXPECT_EQ(m.grpNavTree->CaptionColor(), clRed);
    EXPECT_FALSE(m.splNavigation->Enabled());
    m.grpNavTree->SetMinimized(false);
    EXPECT_FALSE(m.grpNavTree->Minimized());
    EXPECT_TRUE(m.splNavigation->Enabled());
    EXPECT_EQ(m.grpNavTree->Height(), m.pnlTreeArea->ClientHeight());
    EXPECT_EQ(m.grpNavTree->CaptionColor(), clActiveCaption);
}

TEST(MainGrid, ShownAgainAndRefreshedItsColumnsFollowTheQuery)
{
    MainTestFixture f;
    const QDateTime now(QDate(2026, 12, 10), QTime(15, 0));
    Seed(f, now);
    formMain->StartUp();
    f.Data.Exec("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, PERSON_NAME, RENTED_CHIP, TIME_SEC)"
                " values (901, 101, '222', 'V', 'Eero Laine', 'K', 1500);",
                true);
    Select(formMain->tvMainTree, 100);
    Select(formMain->tvMainTree, 101);  // the results query closed and opened again
    formMain->refreshMainGrid();        // and requeried by the sorter
    EXPECT_TRUE(formMain->bResultsGridVisible);
    EXPECT_EQ(f.Data.Module->fbQueryResultsCFD->RecordCount(), 1);
    // No column may hold a field of the closed query.
    TrDBGrid& g = *formMain->rdbgrdResultsClass;
    for (int i = 0; i < g.Columns()->Count(); ++i) {
        TColumn* c = g.Columns()->Items(i);
        EXPECT_EQ(c->Field(), f.Data.Module->fbQueryResultsCFD->FindField(c->FieldName())) << c->FieldName().toStdString();
    }
    // the three field groups act: the time group with its master
    EXPECT_TRUE(g.OptionsEx2().Groups.Active);
    const TGroupInfo time = g.GetFldGroupInfo(f.Data.Module->fbQueryResultsCFD->FindField(QStringLiteral("TIME_STR")), false);
    EXPECT_TRUE(time.IsGrouped);
    EXPECT_TRUE(time.IsMaster);
    EXPECT_EQ(time.GroupID, 3);
    // the collapsed time group shows the time, also of a run without a penalty
    QString collapsed;
    EXPECT_TRUE(g.GetGroupMasterCellContent(time.Field, collapsed));
    EXPECT_FALSE(collapsed.isEmpty());
    EXPECT_EQ(collapsed, time.Field->AsString());
    TBitmap shot;
    g.PaintTo(&shot);
    EXPECT_GT(shot.Width(), 0);
}
