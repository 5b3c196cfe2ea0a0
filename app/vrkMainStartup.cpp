// The main window's first showing (connect, entity mirrors, first use or the
// database upgrade, the client secret, the initial state) and its closing.

#include "app/vrkCommon.h"
#include "app/vrkDatabaseUpgrade.h"
#include "app/vrkDoMessage.h"
#include "app/vrkFirstUse.h"
#include "app/vrkMainForm.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcStatus.h"
#include "components/framed/FcStatusBar.h"
#include "components/grid/TrDBAction.h"
#include "app/vrkMainWebLink.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/os/QuitSignals.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowTexts.h"
#include "results/vrkResultsClassForest.h"


void TformMain::BuildStatusBar()
{
    stbMain = new TFcStatusBar(this);
    stbMain->SetName(QStringLiteral("stbMain"));
    stbMain->SetParent(this);
    stbMain->SetAlign(alBottom);
    stbMain->SetHeight(22);
    // The panes left to right: clock, web connection, computer, version.
    auto place = [this](TFcCustomStatusPane* P, const char* Name, int Width) {
        P->SetName(QString::fromLatin1(Name));
        P->SetParent(stbMain);
        P->SetAlign(alLeft);
        P->SetWidth(Width);
    };
    auto pane = [this, &place](const char* Name, int Width) {
        auto* p = new TFcStatusPane(this);
        place(p, Name, Width);
        p->SetCaption(QString());
        return p;
    };
    // The clock keeps itself current on the panes' shared polling timer,
    // in the locale's date and time.
    fcstspnClock = new TFcClockStatus(this);
    place(fcstspnClock, "fcstspnClock", 150);
    fcstspnClock->SetAlignment(taRightJustify);
    fcstspnMainForm = pane("fcstspnMainForm", 260);
    fcstspnClient = pane("fcstspnClient", 260);
    fcstspnVersion = pane("fcstspnVersion", 200);
}

QString TformMain::StatusPaneText(int Index) const
{
    const TFcCustomStatusPane* panes[] = {fcstspnClock, fcstspnMainForm, fcstspnClient, fcstspnVersion};
    return Index >= 0 && Index < 4 && panes[Index] ? panes[Index]->Text() : QString();
}

void TformMain::SetWebStatus(bool Connected)
{
    if (!fcstspnMainForm)
        return;
    fcstspnMainForm->SetCaption(Connected ? QString() : txt::WebNoConnection);
    fcstspnMainForm->Font()->SetColor(Connected ? clWindowText : clRed);
    fcstspnMainForm->Font()->SetStyle(Connected ? TFontStyles(0) : TFontStyles(fsBold));
    // The web box says the same as the pane, from the same moment on.
    if (bWebConnectionLost == !Connected || !gbWebTulospalvelu)
        return;
    bWebConnectionLost = !Connected;
    if (bWebConnectionLost) {
        lblWebMessage->SetCaption(txt::WebNoConnection);
        imgWebOK->SetVisible(false);
        imgWebExclamation->SetVisible(true);
        WebTulospalveluShow();
        WebTulospalveluAlert();
    } else {
        lblWebMessage->SetCaption(QString());
        imgWebExclamation->SetVisible(false);
        imgWebOK->SetVisible(true);
        WebTulospalveluUnAlert();
        WebTulospalveluHide(5000);
    }
}

void TformMain::FormShow(TComponent*)
{
    if (FStartedUp)
        return;
    FStartedUp = true;
    StartUp();
}

void TformMain::StartUp()
{
    SetBounds(centreleft(Width()), centretop(Height()), Width(), Height());
    if (!DataModule1 || !DataModule1->Connect()) {
        FirstUseNOTOK();
        return;
    }
    // The database client took SIGINT and SIGTERM over as it connected.
    ReclaimQuitSignals();
    BindDataModule();
    CreateEntityGlobals();
    Client->selectDB();
    if (Client->client_id() == 0) {
        fcstspnClient->SetCaption(QString());
        fcstspnVersion->SetCaption(QString());
        if (FormFirstUse)
            FormFirstUse->ShowModal();
        else
            FirstUseNOTOK();
    } else {
        RunUpgrade();
        if (!bNotShown && AskClientSecret())
            FirstUseOK();
    }
    if (bNotShown)
        return;
    InitialState();
}

void TformMain::RunUpgrade()
{
    const TDatabaseUpgrade::TResult r = TDatabaseUpgrade::Run(*DataModule1, vcCurrentExeDirectory, Client->client_version());
    if (r.Ran) {
        TDatabaseUpgrade::RemoveLayoutFiles(vcCurrentExeDirectory);
        // The check-in window read its file at start-up; it must not write it back.
        if (formResultsClassForest)
            formResultsClassForest->LayoutFileRemoved();
    }
    if (r.Failed) {
        do_message(true, txt::UpgradeFailed, MSG_ERROR);
        FirstUseNOTOK();
        return;
    }
    TDatabaseUpgrade::CleanUp(vcCurrentExeDirectory);
}

bool TformMain::AskClientSecret()
{
    if (!Client->client_secret().isEmpty())
        return true;
    const QString secret = InputBox(txt::SecretCaption, txt::SecretPrompt, QString());
    if (secret.isEmpty()) {
        do_message(true, txt::SecretMissing, MSG_ERROR);
        FirstUseNOTOK();
        return false;
    }
    Client->Setclient_secret(secret);
    Client->updateDB();
    return true;
}

void TformMain::FirstUseOK()
{
    Client->selectDB();
    Client->Setclient_version(txt::ProgramVersion);
    Client->Setdo_sync(QStringLiteral("K"));
    Client->updateDB();
    ShowStartTree();
    refreshMainTree();
    MainWebLink().StartOnline();
}

void TformMain::FirstUseNOTOK()
{
    if (DataModule1) {
        try {
            DataModule1->Disconnect();
        } catch (const std::exception& e) {
            do_message(false, QString::fromUtf8(e.what()), MSG_WARNING);
        }
    }
    bNotShown = true;
    Hide();
    if (Application)
        Application->Terminate();
}

void TformMain::InitialState()
{
    InitialLayoutState();
    ReadLayout();
    ActivateMainGrid();
    Client->Setclient_version(txt::ProgramVersion);
    Client->Setdo_sync(QStringLiteral("K"));
    Client->updateDB();
    MenuShow(QStringLiteral("MENU1_EI_VALITTU"), QStringLiteral("MENU1_EI_VALITTU"));
    bResultBoardVisible = false;
    SelectLastEvent();
    ShowTestAction(vc_ui_test_new_run == QLatin1String("K"));
    if (stbMain) {
        fcstspnClient->SetCaption(txt::PaneClient + QStringLiteral(": ") + Client->client_name());
        fcstspnVersion->SetCaption(txt::PaneVersion + QStringLiteral(": ") + Client->client_version());
    }
    if (Windows.InitialDevices)
        Windows.InitialDevices();
    ResetWebBoxes();
    TimerMainFormShow->SetEnabled(true);
}

void TformMain::FormCloseQuery(TComponent*, bool& CanClose)
{
    if (FClosingBySignal) {
        CanClose = true;
        return;
    }
    const int unsent = DataModule1 && DataModule1->convrkEventFD->Connected() ? DataModule1->getUnsentMessages() : 0;
    if (unsent > 0)
        CanClose = MessageBox(txt::CloseUnsent, QString(), MB_YESNO | MB_ICONQUESTION) == IDYES;
    else
        CanClose = MessageBox(txt::CloseQuestion, QString(), MB_OKCANCEL | MB_ICONQUESTION) != IDCANCEL;
}

void TformMain::FormClose(TComponent*, TCloseAction&)
{
    if (FClosed)
        return;
    FClosed = true;
    SaveLayout();
    Screen->SetCursor(crHourGlass);
    MainWebLink().StopOnline();
    Screen->SetCursor(crDefault);
}

void TformMain::CloseBySignal(int Signal)
{
    if (FClosed)
        return;
    FClosingBySignal = true;
    do_message(false, txt::CloseBySignal + QString::fromLatin1(QuitSignalName(Signal)), MSG_INFORMATION);
    TCloseAction action = caFree;
    FormClose(this, action);
    // Ends the main loop and every modal dialog's and box's loop above it;
    // the windows and the data module then go as after the user's close, the
    // database connection with them.
    if (Application)
        Application->Terminate();
}
