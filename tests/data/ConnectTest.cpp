// Connecting, disconnecting and the error-text mapping of the data module.

#include "tests/support/DataModuleFixture.h"

#include "platform/ui/Dialogs.h"
#include "resources/ProgramTexts.h"
#include "resources/SafeguardTexts.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// Records the boxes shown (answered OK) until stopped or destroyed.
struct TBoxes : std::vector<TMessageBoxRequest> {
    TBoxes()
    {
        SetMessageBoxHook([this](const TMessageBoxRequest& r) {
            push_back(r);
            return IDOK;
        });
    }
    ~TBoxes() { Stop(); }
    void Stop() { SetMessageBoxHook(nullptr); }
};

TEST(DataModuleConnect, LogsOneInformationLine)
{
    DataModuleFixture f;
    // The installation file of the build names no user: the embedded engine
    // then takes the user of the process.
    formMain->s_db_user_name.clear();
    EXPECT_FALSE(f.Module->convrkEventFD->Connected());
    ASSERT_TRUE(f.Connect());
    EXPECT_TRUE(f.Module->convrkEventFD->Connected());
    EXPECT_EQ(f.LogLines().size(), 1);
    EXPECT_EQ(f.Messages(QStringLiteral("Information")), QStringList({txt::DbConnected}));
    EXPECT_TRUE(f.Module->Disconnect());
    EXPECT_FALSE(f.Module->convrkEventFD->Connected());
}

TEST(DataModuleConnect, RefusedConnectionShowsTheSentenceAndWhatToDo)
{
    DataModuleFixture f;
    TBoxes boxes;
    // A missing file, and a file that is not a database (a damaged header).
    const QString missing = f.Db.Folder() + QStringLiteral("no/such/SORVEX.FDB");
    const QString damaged = f.Db.Folder() + QStringLiteral("DAMAGED.FDB");
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, '\x5A'));
    }
    const struct {
        QString Name;
        const QString* Cause;
    } cases[] = {{missing, &txt::DbCauseMissing}, {damaged, &txt::DbCauseDamaged}};
    for (const auto& c : cases) {
        boxes.clear();
        formMain->s_db_name = c.Name;
        EXPECT_FALSE(f.Connect());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, txt::DbConnectFailed + QStringLiteral("\r\n\r\n") + c.Cause->arg(c.Name))
            << boxes[0].Text.toStdString();
    }
    boxes.Stop();
    // The engine's own text is in the day log beside the sentence.
    const QString log = f.LogLines().join(QLatin1Char('\n'));
    // (a text of several lines is one quoted field)
    EXPECT_EQ(log.count(QStringLiteral(";Error;X;\"") + txt::DbConnectFailed), 2) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("No such file or directory"))) << log.toStdString();

    // The module stays usable for a later Connect.
    formMain->s_db_name = f.Db.Path();
    EXPECT_TRUE(f.Connect());
}

TEST(DataModuleConnect, AUserTheDatabaseDoesNotKnowIsRefusedNotTakenForANewComputer)
{
    DataModuleFixture f;
    TBoxes boxes;
    formMain->s_db_user_name = QStringLiteral("VAARA_KAYTTAJA");
    EXPECT_FALSE(f.Connect());
    boxes.Stop();
    EXPECT_FALSE(f.Module->convrkEventFD->Connected());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].Text.contains(QStringLiteral("[CONNECT_PARAMS]"))) << boxes[0].Text.toStdString();
}

TEST(DataModuleConnect, EngineFailuresFoundDuringWorkReadAsTheirCause)
{
    DataModuleFixture f;
    const QString db = f.Module->convrkEventFD->DatabaseName;
    const struct {
        QString Engine;
        QString Expected;
    } cases[] = {
        {QStringLiteral("I/O error during \"write\" operation for file \"/x/S.FDB\"\n-Error while trying to write to file\n"
                        "-No space left on device"),
         txt::DbCauseDiskFull.arg(db)},
        {QStringLiteral("database file appears corrupt (/x/S.FDB)\n-wrong page type\n-page 171 is of wrong type"),
         txt::DbCauseDamaged.arg(db)},
        {QStringLiteral("attempt to write a read-only database"), txt::DbCauseReadOnly.arg(db)},
        {QStringLiteral("Your user name and password are not defined. Ask your database administrator to set up a "
                        "Firebird login."),
         txt::DbCauseLogin.arg(db)},
        {QStringLiteral("connection shutdown"), txt::DbCauseConnectionLost.arg(db)},
        {QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"), QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint")},
        // An input/output error code on a disk with room is not called a full disk.
        {QStringLiteral("Kilpailukortin tallennus epäonnistui (virhekoodi 335544344)."),
         QStringLiteral("Kilpailukortin tallennus epäonnistui (virhekoodi 335544344).")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.Module->GetDbMessage(c.Engine), c.Expected) << c.Engine.toStdString();
}

TEST(DataModuleConnect, DisconnectRollsBackOpenTransactions)
{
    DataModuleFixture f;
    ASSERT_TRUE(f.Connect());
    f.Module->fbTrClubFD->StartTransaction();
    EXPECT_TRUE(f.Module->Disconnect());
    EXPECT_FALSE(f.Module->fbTrClubFD->Active());
}

TEST(DataModuleConnect, DisconnectOnlineOnlyClearsTheOnlineFlag)
{
    DataModuleFixture f;
    ASSERT_TRUE(f.Connect());
    formMain->n_online_connected = 1;
    f.Module->DisconnectOnline();
    EXPECT_EQ(formMain->n_online_connected, 0);
    EXPECT_TRUE(f.Module->convrkEventFD->Connected());
    EXPECT_EQ(f.LogLines().size(), 1);
}

TEST(DataModuleConnect, GetDbMessageTable)
{
    DataModuleFixture f;
    struct Case {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral("ORA-01017: invalid username/password"), txt::WebBadCredentials},
        {QStringLiteral("Error: ORA-28000: the account is locked"), txt::WebUserLocked},
        {QStringLiteral("ORA-28000 and ORA-01017"), txt::WebBadCredentials},
        {QStringLiteral("ora-01017 written small"), QStringLiteral("ora-01017 written small")},
        {QString(), QString()},
        {QStringLiteral("Something else"), QStringLiteral("Something else")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(f.Module->GetDbMessage(c.in), c.out) << c.in.toStdString();
    EXPECT_TRUE(f.LogLines().isEmpty());
}

TEST(DataModuleConnect, EveryTransactionReadsCommitted)
{
    DataModuleFixture f;
    int count = 0;
    for (int i = 0; i < f.Module->ComponentCount(); ++i)
        if (auto* t = dynamic_cast<TFbTransaction*>(f.Module->Components(i))) {
            EXPECT_EQ(t->Isolation, xiReadCommitted) << t->Name().toStdString();
            EXPECT_GT(t->LockTimeout, 0);
            EXPECT_EQ(t->Connection(), f.Module->convrkEventFD);
            ++count;
        }
    EXPECT_EQ(count, 13);
}

}  // namespace
