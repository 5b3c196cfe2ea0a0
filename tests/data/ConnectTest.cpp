// Connecting, disconnecting and the error-text mapping of the data module.

#include "tests/support/DataModuleFixture.h"

#include "platform/ui/Dialogs.h"
#include "resources/ProgramTexts.h"

#include <gtest/gtest.h>

namespace {

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

TEST(DataModuleConnect, RefusedConnectionShowsAndLogsTheFailure)
{
    DataModuleFixture f;
    std::vector<TMessageBoxRequest> boxes;
    SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        boxes.push_back(r);
        return IDOK;
    });
    formMain->s_db_name = f.Db.Folder() + QStringLiteral("no/such/SORVEX.FDB");
    EXPECT_FALSE(f.Connect());
    SetMessageBoxHook(nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, txt::DbConnectFailed);
    const QStringList lines = f.LogLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(";Error;X;") + txt::DbConnectFailed)) << lines[0].toStdString();

    // The module stays usable for a later Connect.
    formMain->s_db_name = f.Db.Path();
    EXPECT_TRUE(f.Connect());
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
