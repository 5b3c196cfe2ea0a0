// The first showing of the main window over a real event database: every
// branch of the start (first use, upgrade with success, with a failing
// script, with a failing data script, a lower version skipped, a missing
// client secret) and the closing with and without unsent messages.

#include "app/vrkMainForm.h"
#include "components/grid/TrDBAction.h"
#include "data/vrkEntities.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/MainWindowTexts.h"
#include "components/grid/rDBGrid.h"
#include "results/vrkResultsClassForest.h"
#include "tests/app_main/MainTestFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kCreateA = "CREATE TABLE UPG_A (ID INTEGER);\n";
const QByteArray kCreateB = "CREATE TABLE UPG_B (ID INTEGER);\n";
const QByteArray kBroken = "CREATE TABLE UPG_C (ID INTEGER);\nINSERT INTO NO_SUCH_TABLE VALUES (1);\n";

struct StartCase {
    const char* Name;
    QString Version;  // stored client version; empty: no client row
    QString Secret;
    std::vector<std::pair<QString, QByteArray>> Files;
    // expectations
    bool Ends;
    QStringList TablesMade, TablesNotMade;
    QStringList FilesAfter, FilesGone;
    QStringList BoxesStartWith;
    QString VersionAfter;
};

}  // namespace

TEST(MainStartup, EveryBranchOfTheFirstShowing)
{
    const QString secretTyped = QStringLiteral("typed-secret");
    const std::vector<StartCase> cases = {
        {"first use cancelled", QString(), QString(), {}, true, {}, {}, {}, {}, {txt::FirstUseCancelled}, QString()},
        {"upgrade succeeds",
         "26.0",
         "s3cret",
         {{"db/26.1/010_a.sql", kCreateA}, {"db/26.1/020_b.sql", kCreateB}, {"sorvex.ini", "x"},
          {"ResultsClassForest.ini", "x"}, {"vanha_versio/old.txt", "x"}},
         false,
         {"UPG_A", "UPG_B"},
         {},
         {},
         {"db", "sorvex.ini", "ResultsClassForest.ini", "vanha_versio"},
         {},
         "26.1"},
        {"a failing script stops the upgrade",
         "26.0",
         "s3cret",
         {{"db/26.1/010_a.sql", kCreateA}, {"db/26.1/020_c.sql", kBroken}, {"db/26.1/030_b.sql", kCreateB}},
         true,
         {"UPG_A"},
         {"UPG_B", "UPG_C"},
         {"db/26.1/ok/010_a.sql", "db/26.1/020_c.sql", "db/26.1/030_b.sql"},
         {},
         {txt::UpgradeScriptFailed + "(", txt::UpgradeFailed},
         "26.0"},
        {"a failing data script is kept and passed",
         "26.0",
         "s3cret",
         {{"db/26.1/010_c.sqldata", kBroken}, {"db/26.1/020_b.sql", kCreateB}},
         false,
         {"UPG_B", "UPG_C"},
         {},
         {},
         {"db"},
         {},
         "26.1"},
        {"a lower version is skipped, an equal one runs",
         "26.1",
         "s3cret",
         {{"db/25.9/010_a.sql", kCreateA}, {"db/26.1/010_b.sql", kCreateB}, {"vanha_versio/x", "x"}},
         false,
         {"UPG_B"},
         {"UPG_A"},
         {},
         {"db", "vanha_versio"},
         {},
         "26.1"},
        {"no db folder keeps the layout files", "26.0", "s3cret", {{"sorvex.ini", "x"}}, false, {}, {}, {"sorvex.ini"}, {}, {}, "26.1"},
        {"a missing secret is asked and stored", "26.1", QString(), {}, false, {}, {}, {}, {}, {}, "26.1"},
        {"a missing secret left empty ends", "26.1", QString(), {}, true, {}, {}, {}, {}, {txt::SecretMissing}, "26.1"},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainTestFixture f;
        if (!c.Version.isEmpty())
            f.InsertClient(c.Version, c.Secret);
        for (const auto& [path, content] : c.Files)
            f.WriteFile(path, content);
        if (QLatin1String(c.Name) == QLatin1String("a missing secret is asked and stored"))
            f.SecretAnswer = secretTyped;
        f.OnModal = [](TCustomForm* F) {
            if (auto* d = dynamic_cast<TFormFirstUse*>(F))
                d->CancelClick();
            return int(mrCancel);
        };
        formMain->StartUp();

        EXPECT_EQ(formMain->bNotShown, c.Ends);
        EXPECT_EQ(f.Data.Module->convrkEventFD->Connected(), !c.Ends);
        EXPECT_EQ(f.WebStarts, c.Ends ? 0 : 1);
        ASSERT_GE(f.Boxes.size(), c.BoxesStartWith.size()) << f.Boxes.join("|").toStdString();
        for (int i = 0; i < c.BoxesStartWith.size(); ++i)
            EXPECT_TRUE(f.Boxes[i].startsWith(c.BoxesStartWith[i])) << f.Boxes[i].toStdString();
        if (c.BoxesStartWith.isEmpty()) {
            EXPECT_TRUE(f.Boxes.isEmpty()) << f.Boxes.join("|").toStdString();
        }
        for (const QString& p : c.FilesAfter)
            EXPECT_TRUE(f.Exists(p)) << p.toStdString();
        for (const QString& p : c.FilesGone)
            EXPECT_FALSE(f.Exists(p)) << p.toStdString();
        if (!c.TablesMade.isEmpty() || !c.TablesNotMade.isEmpty() || !c.VersionAfter.isEmpty()) {
            if (!f.Data.Module->convrkEventFD->Connected())
                f.Data.Connect();
            for (const QString& t : c.TablesMade)
                EXPECT_TRUE(f.TableExists(t)) << t.toStdString();
            for (const QString& t : c.TablesNotMade)
                EXPECT_FALSE(f.TableExists(t)) << t.toStdString();
            if (!c.VersionAfter.isEmpty()) {
                EXPECT_EQ(f.Data.Value("select client_version from vrk_client where in_use = 'K'").toString(), c.VersionAfter);
            }
        }
        if (QLatin1String(c.Name) == QLatin1String("a missing secret is asked and stored")) {
            EXPECT_EQ(f.InputBoxes, 1);
            EXPECT_EQ(f.Data.Value("select client_secret from vrk_client where in_use = 'K'").toString(), secretTyped);
        }
        if (QLatin1String(c.Name) == QLatin1String("a failing script stops the upgrade")) {
            // The next start runs the failed script again from where it stopped.
            EXPECT_EQ(f.Data.Messages("Error").size(), 2);
        }
    }
}

// The upgrade deletes the check-in window's layout file after the window read
// it at start-up: the window goes back to its designed columns and writes
// nothing of the old layout back, so the next window shows the designed ones.
TEST(MainStartup, TheUpgradeKeepsTheCheckInWindowFromWritingItsOldLayoutBack)
{
    MainTestFixture f;
    auto width = [](TformResultsClassForest& W) { return W.rdbgrdWebEntries->Columns()->Items(0)->Width(); };
    int designed = 0;
    {
        TformResultsClassForest w(nullptr);
        designed = width(w);
        w.rdbgrdWebEntries->Columns()->Items(0)->SetWidth(designed + 77);
        w.SaveLayout();
    }
    ASSERT_TRUE(f.Exists(QStringLiteral("ResultsClassForest.ini")));
    f.InsertClient(QStringLiteral("26.0"));
    f.WriteFile(QStringLiteral("db/26.1/010_a.sql"), kCreateA);
    TformResultsClassForest* const before = formResultsClassForest;
    {
        TformResultsClassForest w(nullptr);
        ASSERT_EQ(width(w), designed + 77) << "the old layout was read at creation";
        formResultsClassForest = &w;
        formMain->StartUp();
        formResultsClassForest = before;
        EXPECT_FALSE(formMain->bNotShown);
        EXPECT_EQ(width(w), designed) << "the designed columns are back";
        w.SaveLayout();
    }
    TformResultsClassForest next(nullptr);
    EXPECT_EQ(width(next), designed);
}

TEST(MainStartup, InitialStateAfterAStart)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    TrDBAction actions(nullptr);
    rDBAction = &actions;
    formMain->FormShow(formMain);
    rDBAction = nullptr;
    ASSERT_FALSE(formMain->bNotShown);
    EXPECT_EQ(actions.GetActiveGrid(), formMain->rdbgrdResultsClass);
    EXPECT_FALSE(actions.aceEdit->Enabled());  // the results grid's Tag 129 allows no editing
    EXPECT_EQ(formMain->vc_main_function, QStringLiteral("MAALI"));
    EXPECT_EQ(formMain->vc_last_result_action, QStringLiteral("EI"));
    EXPECT_EQ(formMain->vcMenuStatus, QStringLiteral("MENU1_EI_VALITTU"));
    EXPECT_EQ(formMain->StatusPaneText(2), QStringLiteral("Tietokone: Maalikone"));
    EXPECT_EQ(formMain->StatusPaneText(3), QStringLiteral("Ohjelmaversio: 26.1"));
    EXPECT_EQ(f.Data.Value("select do_sync from vrk_client where in_use = 'K'").toString(), QStringLiteral("K"));
    EXPECT_TRUE(formMain->TimerMainFormShow->Enabled());
    // Later showings do nothing again.
    formMain->FormShow(formMain);
    EXPECT_EQ(f.WebStarts, 1);
}

TEST(MainStartup, ClosingAsksOnlyTheQuestionWithoutUnsentMessages)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    f.Data.Exec("delete from vrk_data_replication;", true);
    bool canClose = false;
    f.BoxAnswer = IDOK;
    formMain->FormCloseQuery(formMain, canClose);
    EXPECT_TRUE(canClose);
    ASSERT_EQ(f.Boxes.size(), 1);
    EXPECT_EQ(f.Boxes[0], txt::CloseQuestion);
    f.BoxAnswer = IDCANCEL;
    formMain->FormCloseQuery(formMain, canClose);
    EXPECT_FALSE(canClose);

    TCloseAction action = caFree;
    formMain->FormClose(formMain, action);
    EXPECT_EQ(f.WebStops, 1);
}

TEST(MainStartup, ClosingWithUnsentMessagesWarnsAndOnlyYesCloses)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    f.Data.Module->insertClientMessage(1, "3", "1", "Tapahtuman kasittely alkaa", "-");
    ASSERT_GT(f.Data.Module->getUnsentMessages(), 0);
    bool canClose = true;
    f.BoxAnswer = IDNO;
    formMain->FormCloseQuery(formMain, canClose);
    EXPECT_FALSE(canClose);
    EXPECT_EQ(f.Boxes.last(), txt::CloseUnsent);
    f.BoxAnswer = IDYES;
    formMain->FormCloseQuery(formMain, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(f.Boxes.size(), 2);
}

TEST(MainStartup, TheShippedUpgradeFolderRunsOverACurrentDatabase)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.0"));
    QFile script(QStringLiteral(SORVEX_SOURCE_DIR "/eventdb/115_triggers.sql"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    f.WriteFile(QStringLiteral("db/26.1/115_triggers.sql"), script.readAll());
    formMain->StartUp();
    EXPECT_FALSE(formMain->bNotShown) << f.Boxes.join("|").toStdString();
    EXPECT_TRUE(f.Boxes.isEmpty()) << f.Boxes.join("|").toStdString();
    EXPECT_FALSE(f.Exists(QStringLiteral("db")));
    EXPECT_EQ(f.Data.Value("select client_version from vrk_client where in_use = 'K'").toString(), txt::ProgramVersion);
}
