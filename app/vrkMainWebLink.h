#pragma once
// The main window's calls into the web synchronisation, gathered in one
// place: the registration of this computer with a temporary code, the web
// worker's start and stop, and the event calendar download. Tests replace
// them through SetMainWebLink; the program uses the default link.

#include <QString>
#include <cstdint>
#include <functional>

struct TMainWebLink {
    // The registration with a temporary code: 0 when the service accepted it
    // (Reply: the client row), another value when it refused it (Reply: the
    // refusal) or answered otherwise (Reply empty, the no-connection text
    // shown). No connection at all raises.
    std::function<int(const QString& TempCode, QString& Reply)> RegisterClient;
    std::function<void()> StartOnline;
    std::function<void()> StopOnline;
    // The calendar of events of this client (id as decimal text).
    std::function<void(const QString& ClientId)> DownloadCalendar;
    // One event's classes, courses and controls.
    std::function<void(int64_t EventId)> DownloadEventData;
    // Whether a calendar download of this run has succeeded (and the latest
    // did not fail).
    std::function<bool()> CalendarLoaded;
};

// The link in use; never has empty members.
TMainWebLink& MainWebLink();
// Replaces the link and returns the previous one; members left empty keep
// the link's current ones (an empty link restores the defaults, under which
// nothing reaches the web).
TMainWebLink SetMainWebLink(TMainWebLink Link);
