#include "app/vrkMainWebSync.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "components/framed/FcLabel.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "app/vrkMainWebLink.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowTexts.h"

TMainWebSync* MainWebSync = nullptr;

TMainWebSync::TMainWebSync(TComponent* AOwner) : TComponent(AOwner)
{
    SetName(QStringLiteral("MainWebSync"));
    Worker = NewWebWorker(Session, *this);
    Calls = std::make_unique<TWebMainCalls>(Session, *this, *this, *DataModule1->fbProcRESTFD,
                                            *DataModule1->fbTrRESTUpdateDefaultFD);
    TMainWebLink link;
    link.RegisterClient = [this](const QString& Code, QString& Reply) {
        FillSession();
        return Calls->hae_tmp_client_rest(Code, Reply);
    };
    link.StartOnline = [this] { StartOnline(); };
    link.StopOnline = [this] { StopOnline(); };
    link.DownloadCalendar = [this](const QString&) { Download([this] { Calls->hae_tapahtumat(); }); };
    link.DownloadEventData = [this](int64_t EventId) { Download([this, EventId] { Calls->hae_tapahtuma_tiedot(EventId); }); };
    link.CalendarLoaded = [this] { return Calls->bWebTapahtumatHaettu; };
    SetMainWebLink(link);
}


void TMainWebSync::FillSession()
{
    if (!formMain)
        return;
    Session.SetBaseUrls(formMain->vc_rest_base_url, formMain->vc_rest_base_url_v2);
    Session.SetDb({formMain->s_db_name, formMain->s_db_user_name, formMain->s_db_password});
    if (Client) {
        Session.SetClient(Client->client_id(), Client->client_secret());
        Session.SetFirstSyncDone(Client->first_sync_done().isEmpty() ? QStringLiteral("Y") : Client->first_sync_done());
    }
}

void TMainWebSync::Download(const std::function<void()>& Run)
{
    // A download that cannot even be sent (no address, no connection) is a
    // failed download the user is told about, not an error that ends the
    // program from inside an action.
    FillSession();
    try {
        Run();
    } catch (const std::exception& e) {
        SetBusy(false);
        if (RESTTransaction().Active())
            RESTTransaction().Rollback();
        SynkronointiActionERROR();
        do_message(false, websync::NoConnection + QStringLiteral(": ") + GetDbMessage(QString::fromUtf8(e.what())), MSG_ERROR);
        SetWebStatus(false);
    }
}

void TMainWebSync::StartOnline()
{
    // Both the start and the start of an event's processing ask for the
    // worker; one cycle chain is enough.
    if (FOnline)
        return;
    FillSession();
    if (Session.FirstSyncDone() == QLatin1String("N") && formMain && formMain->gbNotification)
        formMain->NotificationShow();
    StartWebWorker(*Worker);
    FOnline = true;
}

void TMainWebSync::StopOnline()
{
    if (!FOnline)
        return;
    StopWebWorker(*Worker);
    FOnline = false;
}

void TMainWebSync::DoMessage(const QString& Text, int Kind, bool Dialog)
{
    // While the service is away the worker fails the same way at every
    // cycle; the log takes each such text once per outage.
    if (FWebState == TWebState::Lost && !Dialog) {
        if (FOutageTexts.contains(Text))
            return;
        FOutageTexts.insert(Text);
    }
    do_message(Dialog, Text, Kind);
}

void TMainWebSync::SetWebStatus(bool Connected)
{
    const TWebState now = Connected ? TWebState::Connected : TWebState::Lost;
    if (now != FWebState) {
        if (now == TWebState::Lost)
            do_message(false, txt::WebConnectionLost, MSG_REST);
        else if (FWebState == TWebState::Lost)
            do_message(false, txt::WebConnectionBack, MSG_REST);
        FWebState = now;
        FOutageTexts.clear();
    }
    if (formMain)
        formMain->SetWebStatus(Connected);
}

void TMainWebSync::RefreshMessageCounts(int Unsent, int Waiting)
{
    if (formMain && formMain->edtLahettamatta)
        formMain->refreshMessageCounts(Unsent, Waiting);
}

int TMainWebSync::UnsentMessagesWorker()
{
    return DataModule1->getUnsentMessagesWorker();
}

void TMainWebSync::MarkFirstSyncDone()
{
    Client->Setfirst_sync_done(QStringLiteral("Y"));
    Client->Setdo_sync(QStringLiteral("N"));
    Client->updateDB();
    Session.SetFirstSyncDone(QStringLiteral("Y"));
    if (formMain && formMain->gbNotification)
        formMain->NotificationReady();
}

void TMainWebSync::RefreshMainTreeEvent()
{
    // The tree is rebuilt a while after the last stored rows, not per row.
    if (formMain && formMain->nCurrentProcessedEvent != 0)
        formMain->TimerRefreshMainTreeEvent->SetEnabled(true);
}

void TMainWebSync::RefreshResultsGrid()
{
    if (formMain && formMain->chkAutoRefresh->Checked())
        formMain->refreshMainGrid();
}

TFbTransaction& TMainWebSync::RESTTransaction()
{
    return *DataModule1->fbTrRESTUpdateDefaultFD;
}

QString TMainWebSync::GetDbMessage(const QString& Msg)
{
    return DataModule1->GetDbMessage(Msg);
}

void TMainWebSync::SetActionMessage(const QString& Text)
{
    formMain->lblActionMessage->SetCaption(Text);
}

void TMainWebSync::SynkronointiActionShow()
{
    formMain->SynkronointiActionShow();
}

void TMainWebSync::SynkronointiActionOK()
{
    formMain->SynkronointiActionOK();
}

void TMainWebSync::SynkronointiActionERROR()
{
    formMain->SynkronointiActionERROR();
}

void TMainWebSync::SynkronointiActionHide(int AfterMs)
{
    formMain->SynkronointiActionHide(AfterMs);
}

void TMainWebSync::SetBusy(bool Busy)
{
    Screen->SetCursor(Busy ? crHourGlass : crDefault);
}

void TMainWebSync::RefreshTreeAfterDownload()
{
    formMain->RefreshTreeAfterDownload();
}
