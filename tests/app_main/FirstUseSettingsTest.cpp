// The first-use dialog against the stand-in web service, and the settings
// dialog writing its options at once.

#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcLabel.h"
#include "components/base/rGroupBox.h"
#include "components/framed/FcStatus.h"
#include "data/vrkEntities.h"
#include "platform/http/RESTClient.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowTexts.h"
#include "resources/ProgramTexts.h"
#include "tests/app_main/MainTestFixture.h"
#include "tools/webservice/WebServiceServer.h"

#include <gtest/gtest.h>

namespace {

struct Service {
    Service()
    {
        const int64_t account = Server.State().CreateAccount(QStringLiteral("Tiistairastit demo"));
        Server.State().AddTempCode(account, QStringLiteral("DEMO-1234"), QStringLiteral("Maalikone"),
                                   QStringLiteral("Tiistairastit"));
        qputenv(SORVEX_CA_FILE_VARIABLE, Server.CertificateFile().toUtf8());
    }
    ~Service() { qunsetenv(SORVEX_CA_FILE_VARIABLE); }
    webservice::TWebServiceServer Server;
};

}  // namespace

TEST(FirstUse, RegistersThisComputerWithTheTemporaryCodeAfterRefusals)
{
    Service svc;
    MainTestFixture f;
    formMain->vc_rest_base_url = svc.Server.FirstBaseURL();
    QStringList boxesAtSteps;
    f.OnModal = [&](TCustomForm* F) {
        auto* d = dynamic_cast<TFormFirstUse*>(F);
        if (!d)
            return int(mrCancel);
        d->OKClick();  // empty code
        d->fcdtTempClientID->SetText(QStringLiteral("WRONG-1"));
        d->OKClick();  // refused by the service
        svc.Server.FailNextCalls(1, 503);
        d->OKClick();  // another status: no connection, then nothing to parse
        EXPECT_EQ(FormFirstUse->ModalResult(), mrNone);
        d->fcdtTempClientID->SetText(QStringLiteral("DEMO-1234"));
        d->OKClick();
        return d->ModalResult();
    };
    formMain->StartUp();
    ASSERT_EQ(f.Boxes.size(), 4) << f.Boxes.join("|").toStdString();
    EXPECT_EQ(f.Boxes[0], txt::FirstUseCodeRequired);
    EXPECT_TRUE(f.Boxes[1].startsWith(txt::FirstUseRefused + " ")) << f.Boxes[1].toStdString();
    EXPECT_GT(f.Boxes[1].size(), txt::FirstUseRefused.size() + 1);
    EXPECT_EQ(f.Boxes[2], txt::WebNoConnection);
    EXPECT_TRUE(f.Boxes[3].startsWith(txt::FirstUseRefused + " ")) << f.Boxes[3].toStdString();
    EXPECT_FALSE(formMain->bNotShown);
    EXPECT_NE(Client->client_id(), 0);
    EXPECT_EQ(Client->client_name(), QStringLiteral("Maalikone"));
    EXPECT_EQ(Client->client_version(), txt::ProgramVersion);
    EXPECT_EQ(f.WebStarts, 1);
    EXPECT_EQ(f.Data.Value("select count(*) from vrk_client where in_use = 'K'").toInt(), 1);
}

TEST(FirstUse, NoServiceAtAllKeepsTheDialogOpenWithTheCallsError)
{
    MainTestFixture f;
    formMain->vc_rest_base_url = QStringLiteral("https://127.0.0.1:1");
    f.OnModal = [&](TCustomForm* F) {
        auto* d = dynamic_cast<TFormFirstUse*>(F);
        d->fcdtTempClientID->SetText(QStringLiteral("DEMO-1234"));
        d->OKClick();
        EXPECT_EQ(d->ModalResult(), mrNone);
        d->CancelClick();
        return int(mrCancel);
    };
    formMain->StartUp();
    ASSERT_EQ(f.Boxes.size(), 2) << f.Boxes.join("|").toStdString();
    EXPECT_TRUE(f.Boxes[0].startsWith(txt::FirstUseRefused + " ")) << f.Boxes[0].toStdString();
    EXPECT_EQ(f.Boxes[1], txt::FirstUseCancelled);
    EXPECT_TRUE(formMain->bNotShown);
    EXPECT_FALSE(f.Data.Module->convrkEventFD->Connected());
}

TEST(Settings, OptionsAreWrittenAtOnceAndTheSecretOnlyByOK)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    const QString ini = f.Data.Home.File(txt::DeviceIniName);
    TformSettings& s = *f.Settings;
    s.LoadControls();
    EXPECT_EQ(s.lbledtClientName->Text(), QStringLiteral("Maalikone"));
    EXPECT_EQ(s.lbledtClientSecret->Text(), QStringLiteral("s3cret"));
    // ... but shown masked, as a password
    EXPECT_EQ(s.lbledtClientSecret->PasswordChar(), QLatin1Char('*'));

    s.chkReadSameChip->SetChecked(true);
    EXPECT_EQ(formMain->vc_chip_read_successively, QStringLiteral("K"));
    EXPECT_EQ(ReadString_Ini(ini, "CHIP_READER", "READ_SUCCESSIVELY", ""), QStringLiteral("K"));
    s.chkTestNewRun->SetChecked(true);
    EXPECT_EQ(ReadString_Ini(ini, "UI", "TEST", ""), QStringLiteral("K"));
    EXPECT_TRUE(formMain->actMainGridNewTest->Visible());
    s.fccbReadDelay->SetItemIndex(7);
    s.fccbReadDelay->OnChange(s.fccbReadDelay);
    EXPECT_EQ(formMain->iChipReadDelay, 7);
    EXPECT_EQ(ReadInteger_Ini(ini, "CHIP_READER", "READ_DELAY", 0), 7);
    s.fccbMPChip->SetItemIndex(3);
    s.fccbMPChip->OnChange(s.fccbMPChip);
    EXPECT_EQ(ReadInteger_Ini(ini, "CHIP_READER", "RESULT_BOARD_MP_CHIP_SOUND", 0), 3);

    // OK without a change stores nothing; an emptied secret is refused.
    f.Data.Exec("update vrk_client set do_sync = 'N';", true);
    s.LoadControls();
    s.OKClick();
    EXPECT_EQ(f.Data.Value("select do_sync from vrk_client where in_use = 'K'").toString(), QStringLiteral("N"));
    s.lbledtClientSecret->SetText(QString());
    s.OKClick();
    EXPECT_EQ(f.Boxes.last(), txt::SettingsSecretRequired);
    s.lbledtClientSecret->SetText(QStringLiteral("new-secret"));
    s.OKClick();
    EXPECT_EQ(f.Data.Value("select client_secret from vrk_client where in_use = 'K'").toString(), QStringLiteral("new-secret"));
    EXPECT_EQ(f.Data.Value("select do_sync from vrk_client where in_use = 'K'").toString(), QStringLiteral("K"));
}

TEST(WebLink, ADownloadThatCannotBeSentIsReportedNotThrown)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    formMain->vc_rest_base_url.clear();
    TMainWebSync sync(nullptr);  // its link replaces the test's while it lives
    EXPECT_NO_THROW(MainWebLink().DownloadEventData(100));
    EXPECT_NO_THROW(MainWebLink().DownloadCalendar(QStringLiteral("5")));
    EXPECT_TRUE(formMain->imgSyncExclamation->Visible());
    EXPECT_EQ(formMain->StatusPaneText(1), txt::WebNoConnection);
    EXPECT_EQ(formMain->fcstspnMainForm->Font()->Color(), clRed);
    EXPECT_TRUE(formMain->fcstspnMainForm->Font()->Style() & fsBold);
    formMain->SetWebStatus(true);
    EXPECT_TRUE(formMain->StatusPaneText(1).isEmpty());
    EXPECT_EQ(formMain->fcstspnMainForm->Font()->Color(), clWindowText);
    EXPECT_GE(f.Data.Messages("Error").size(), 2);
}

// The service goes away: the status pane and the web box say so from the
// same call on, the box stays in alert while the counters come in, the
// worker's failure of every cycle is logged once, and the loss and the
// return once each.
TEST(WebLink, ALostConnectionShowsInTheBoxAndThePaneAndIsLoggedOnceEach)
{
    MainTestFixture f;
    f.InsertClient(QStringLiteral("26.1"));
    formMain->StartUp();
    TformMain& m = *formMain;
    TMainWebSync sync(nullptr);
    IWebSyncHost& host = sync;
    host.SetWebStatus(true);
    const QString failure = txt::WebNoConnection + QStringLiteral(": Couldn't connect to server");
    for (int cycle = 0; cycle < 5; ++cycle) {
        host.SetWebStatus(false);
        host.DoMessage(failure, 3, false);
        m.refreshMessageCounts(0, 0);
        EXPECT_EQ(m.StatusPaneText(1), txt::WebNoConnection);
        EXPECT_FALSE(m.gbWebTulospalvelu->Minimized());
        EXPECT_TRUE(m.bWebAlert);
        EXPECT_EQ(m.gbWebTulospalvelu->CaptionColor(), clRed);
        EXPECT_TRUE(m.imgWebExclamation->Visible());
        EXPECT_FALSE(m.imgWebOK->Visible());
        EXPECT_EQ(m.lblWebMessage->Caption(), txt::WebNoConnection);
    }
    host.SetWebStatus(true);
    host.SetWebStatus(true);
    EXPECT_TRUE(m.StatusPaneText(1).isEmpty());
    EXPECT_FALSE(m.bWebAlert);
    EXPECT_TRUE(m.lblWebMessage->Caption().isEmpty());
    EXPECT_TRUE(m.TimerWebTulospalvelu->Enabled());  // hidden again in 5 s
    const QStringList web = f.Data.Messages(QStringLiteral("REST-message"));
    EXPECT_EQ(web.count(txt::WebConnectionLost), 1) << web.join('\n').toStdString();
    EXPECT_EQ(web.count(txt::WebConnectionBack), 1) << web.join('\n').toStdString();
    EXPECT_EQ(web.count(failure), 1) << web.join('\n').toStdString();
    // a second outage is logged again
    host.SetWebStatus(false);
    host.DoMessage(failure, 3, false);
    EXPECT_EQ(f.Data.Messages(QStringLiteral("REST-message")).count(failure), 2);
}

// A desk that runs all day logs a few lines per card: the list shows the
// latest lines and drops the oldest, so its memory does not grow with reads.
TEST(Settings, TheMessageListKeepsTheLatestLinesOnly)
{
    MainTestFixture f;
    for (int i = 1; i <= MessageListMostLines + 40; ++i)
        do_message(false, QStringLiteral("viesti %1").arg(i), MSG_INFORMATION);
    const QStringList lines = f.Settings->rmxMessages->Lines();
    ASSERT_EQ(lines.size(), MessageListMostLines);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("viesti 41"))) << lines.first().toStdString();
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("viesti %1").arg(MessageListMostLines + 40))) << lines.last().toStdString();
}
