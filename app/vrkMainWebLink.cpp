#include "app/vrkMainWebLink.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "platform/http/RESTClient.h"
#include "resources/MainWindowTexts.h"

namespace {

int RegisterWithService(const QString& TempCode, QString& Reply)
{
    TRESTClient client;
    client.BaseURL = formMain ? formMain->vc_rest_base_url : QString();
    const TRESTClient::TReply r =
        client.Execute(TRESTRequestMethod::rmPOST, QStringLiteral("client/register"), {{QStringLiteral("id"), TempCode}}, nullptr);
    if (r.StatusCode == 200 || r.StatusCode == 400) {
        Reply = QString::fromUtf8(r.RawBytes);
        return r.StatusCode == 200 ? 0 : 9;
    }
    do_message(true, txt::WebNoConnection, MSG_WARNING);
    if (formMain)
        formMain->SetWebStatus(false);
    Reply.clear();
    return 9;
}

// The web worker and the calendar download join here when the
// synchronisation lands; until then the window runs without them.
TMainWebLink DefaultLink()
{
    TMainWebLink l;
    l.RegisterClient = RegisterWithService;
    l.StartOnline = [] {};
    l.StopOnline = [] {};
    l.DownloadCalendar = [](const QString&) {};
    l.DownloadEventData = [](int64_t) {};
    return l;
}

TMainWebLink& Current()
{
    static TMainWebLink link = DefaultLink();
    return link;
}

}  // namespace

TMainWebLink& MainWebLink()
{
    return Current();
}

TMainWebLink SetMainWebLink(TMainWebLink Link)
{
    const TMainWebLink defaults = DefaultLink();
    if (!Link.RegisterClient)
        Link.RegisterClient = defaults.RegisterClient;
    if (!Link.StartOnline)
        Link.StartOnline = defaults.StartOnline;
    if (!Link.StopOnline)
        Link.StopOnline = defaults.StopOnline;
    if (!Link.DownloadCalendar)
        Link.DownloadCalendar = defaults.DownloadCalendar;
    if (!Link.DownloadEventData)
        Link.DownloadEventData = defaults.DownloadEventData;
    TMainWebLink old = Current();
    Current() = std::move(Link);
    return old;
}
