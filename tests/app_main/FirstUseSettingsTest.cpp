// The first-use dialog against the stand-in web service, and the settings
// dialog writing its options at once.

#include "app/vrkCommon.h"
#include "app/vrkMainForm.h"
#include "components/framed/FcStatus.h"
#include "data/vrkEntities.h"
#include "platform/http/RESTClient.h"
#include "platform/ui/ActnList.h"
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
