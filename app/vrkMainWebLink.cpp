#include "app/vrkMainWebLink.h"

#include "platform/rtl/Exception.h"

namespace {

// Without the web synchronisation nothing reaches the web: a registration
// fails with a clear error, the rest does nothing.
TMainWebLink DefaultLink()
{
    TMainWebLink l;
    l.RegisterClient = [](const QString&, QString&) -> int {
        throw Exception(QStringLiteral("Web -tulospalvelun yhteys puuttuu."));
    };
    l.StartOnline = [] {};
    l.StopOnline = [] {};
    l.DownloadCalendar = [](const QString&) {};
    l.DownloadEventData = [](int64_t) {};
    l.CalendarLoaded = [] { return false; };
    return l;
}

TMainWebLink& Current()
{
    static TMainWebLink link = DefaultLink();
    return link;
}

template <class F>
void Keep(F& Member, const F& Fallback)
{
    if (!Member)
        Member = Fallback;
}

}  // namespace

TMainWebLink& MainWebLink()
{
    return Current();
}

TMainWebLink SetMainWebLink(TMainWebLink Link)
{
    TMainWebLink old = Current();
    const bool empty = !Link.RegisterClient && !Link.StartOnline && !Link.StopOnline && !Link.DownloadCalendar &&
                       !Link.DownloadEventData && !Link.CalendarLoaded;
    const TMainWebLink base = empty ? DefaultLink() : old;
    Keep(Link.RegisterClient, base.RegisterClient);
    Keep(Link.StartOnline, base.StartOnline);
    Keep(Link.StopOnline, base.StopOnline);
    Keep(Link.DownloadCalendar, base.DownloadCalendar);
    Keep(Link.DownloadEventData, base.DownloadEventData);
    Keep(Link.CalendarLoaded, base.CalendarLoaded);
    Current() = std::move(Link);
    return old;
}
