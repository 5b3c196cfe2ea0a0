// Event processing: start, stop and ready of the selected event, the desk
// function, the counters and the result board.

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "components/framed/FcLabel.h"
#include "components/base/rTabControlEx.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "app/vrkMainWebLink.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

namespace {

QDateTime ToQDateTime(TDateTime D)
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addMSecs(qint64(D * 86400000.0 + (D >= 0 ? 0.5 : -0.5)));
}

void SendClientMessage(int64_t EventId, const char* Type, const QString& Info)
{
    DataModule1->insertClientMessage(EventId, QString::fromLatin1(Type), QString::number(EventId), Info,
                                     QStringLiteral("-"));
}

}  // namespace

bool TformMain::EventHasClasses() const
{
    return event && event->classess() > 0;
}

void TformMain::actMaaliAloitaExecute()
{
    using namespace mwtxt;
    const QDateTime now = ClockNow ? ClockNow() : QDateTime::currentDateTime();
    const QDateTime date = ToQDateTime(event->event_date());
    bool start = true;
    if (date < now.addSecs(-720 * 3600)) {
        MessageBox(EventTooOld, QString(), MB_OK | MB_ICONINFORMATION);
        start = false;
    } else if (date.date() < now.date()) {
        start = MessageBox(EventInPast, QString(), MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    if (start) {
        nCurrentProcessedEvent = event->event_id();
        nCurrentProcessedEventS = eventSeries->event_series_id();
        nCurrentProcessedEventSSeason = event->event_series_season_id();
        processedEvent = event;
        SendClientMessage(nCurrentProcessedEvent, "3", MsgStart);
        refreshEventData();
        MainWebLink().StartOnline();
        MainWebLink().DownloadEventData(nCurrentProcessedEvent);
        refreshEventData();
        if (!EventHasClasses()) {
            MenuShow(QStringLiteral("MENU2_EI_RATOJA"), QStringLiteral("MENU2_EI_RATOJA"));
        } else {
            MenuShow(QStringLiteral("MENU2_ON_RATOJA"), QStringLiteral("MENU2_ON_RATOJA"));
        }
        SetGridActions();
        if (EventHasClasses()) {
            MenuShow(QStringLiteral("MENU3_QUESTION"), QStringLiteral("MENU3_QUESTION"));
            if (Windows.StartDevice)
                Windows.StartDevice();
        }
        QString err;
        DataModule1->updateClientLastEvent(nCurrentProcessedEvent, err);
        if (!err.isEmpty())
            do_message(false, LastEventFailed + err, MSG_INFORMATION);
        ShowEventTree();
        refreshMainTreeEvent();
        if (TTreeNode* n = FindProcessedEventNode(nCurrentProcessedEvent)) {
            n->SetExpanded(true);
            tvMainTreeEvent->SetSelected(n);
            tvMainTreeEventChange(n);
        }
    }
    refreshMainGrid();
}

namespace {

void StopSteps(TformMain& F)
{
    const int64_t was = F.nCurrentProcessedEvent;
    F.nCurrentProcessedEvent = 0;
    F.nCurrentProcessedEventS = 0;
    F.nCurrentProcessedEventSSeason = 0;
    const bool selected = event && event->event_id() != 0;
    F.MenuShow(selected ? QStringLiteral("MENU1_VALITTU") : QStringLiteral("MENU1_EI_VALITTU"),
               selected ? QStringLiteral("MENU1_VALITTU") : QStringLiteral("MENU1_EI_VALITTU"));
    F.SetGridActions();
    if (F.Windows.StopDevice)
        F.Windows.StopDevice();
    F.ShowStartTree();
    F.refreshMainTree();
    if (was != 0) {
        if (TTreeNode* n = F.FindEventNode(was)) {
            n->SetExpanded(true);
            F.tvMainTree->SetSelected(n);
            F.tvMainTreeChange(n);
            F.MenuShow(QStringLiteral("MENU1_VALITTU"), QStringLiteral("MENU1_VALITTU"));
        }
    }
}

}  // namespace

void TformMain::actMaaliLopetaExecute()
{
    if (DataModule1->getUnsentMessages() > 0)
        MessageBox(mwtxt::StopUnsent, QString(), MB_OK | MB_ICONINFORMATION);
    SendClientMessage(nCurrentProcessedEvent, "4", mwtxt::MsgStop);
    StopSteps(*this);
}

void TformMain::actMaaliValmisExecute()
{
    if (DataModule1->getUnsentMessages() > 0 &&
        MessageBox(mwtxt::ReadyUnsent, QString(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    SendClientMessage(nCurrentProcessedEvent, "8", mwtxt::MsgReady);
    b_ready_pressed = true;
    lblWebMessage->SetCaption(mwtxt::ReadyWait);
    WebTulospalveluShow();
    StopSteps(*this);
}

void TformMain::tabKasittelyChange()
{
    pnlLahto->SetVisible(false);
    pnlMaali->SetVisible(false);
    pnlMTR->SetVisible(false);
    const QString caption = tabKasittely->ActiveTabCaption();
    if (caption == pnlLahto->Caption()) {
        // The counters show whichever desk is chosen.
        pnlMaali->SetVisible(true);
        vc_main_function = QStringLiteral("LAHTO");
    } else if (caption == mwtxt::Maali) {
        pnlMaali->SetVisible(true);
        vc_main_function = QStringLiteral("MAALI");
    }
    ClearLastResult();
}

void TformMain::refreshEventData()
{
    using namespace mwtxt;
    if (nCurrentProcessedEvent != 0)
        processedEvent->selectProcessedDB(nCurrentProcessedEvent);
    else
        event->selectDB(event->event_id());
    lblSuorituksia->SetCaption(Maalissa + QString::number(event->results()));
    lblMaastossa->SetCaption(Maastossa + QString::number(event->in_forest()));
    lblHyl->SetCaption(Hylatty + QString::number(event->mp()));
    lblKesk->SetCaption(Keskeytti + QString::number(event->dnf()));
    lblEAikaa->SetCaption(EiAikaa + QString::number(event->no_time()));
    if (bMenu2Visible) {
        const bool classes = EventHasClasses();
        imgMenu2->SetCaption(classes ? QStringLiteral("\u2714") : QStringLiteral("!"));
        imgMenu2->Font()->SetColor(classes ? clGreen : clRed);
    }
}

void TformMain::actResultBoardExecute()
{
    bResultBoardVisible = !bResultBoardVisible;
    if (Windows.ResultBoard)
        Windows.ResultBoard(bResultBoardVisible);
}
