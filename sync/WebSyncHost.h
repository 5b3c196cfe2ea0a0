#pragma once
// What the web synchronisation needs of the main window, which implements
// it: the day log, the web status pane, the message counters, the data
// module's queue count, the client row, and the tree and grid refreshes.
// The worker calls every method on the main thread.
//
// Wiring in the main window: one TWebSession (base URLs from the
// installation file, client id and secret and first_sync_done from the
// client row, the database connection values); the window implements
// IWebSyncHost and IWebDownloadView; formWorkerREST = new
// TformWorkerREST(Session, Host) and FormCreate() at start-up, StartOnline()
// once the client row is written, DoNotConnect = 0 at the first show,
// StopOnline() at close; a TWebMainCalls over the data module's
// fbProcRESTFD and fbTrRESTUpdateDefaultFD for the login, the registration
// and the two downloads.

#include <QString>
#include <cstdint>

class IWebSyncHost {
public:
    virtual ~IWebSyncHost() = default;

    // Kinds as the day log has them: 0 information, 1 warning, 2 error,
    // 3 web message. With Dialog the text is also shown in a box.
    virtual void DoMessage(const QString& Text, int Kind, bool Dialog) = 0;
    // The web status pane: normal and empty, or red and bold with
    // "Ei yhteyttä Web -tulospalveluun.".
    virtual void SetWebStatus(bool Connected) = 0;
    // The caption of the pane while the worker is being rebuilt (empty after).
    virtual void SetWebStatusCaption(const QString&) {}
    // The counters "lähettämättä" and "saapumatta".
    virtual void RefreshMessageCounts(int Unsent, int Waiting) = 0;
    // The worker's count of rows not yet uploaded.
    virtual int UnsentMessagesWorker() = 0;
    // The first download after the link is complete: the client row gets
    // first_sync_done "Y" and do_sync "N" and is stored, and the
    // notification button is enabled.
    virtual void MarkFirstSyncDone() = 0;
    // The event tree after class, club and person messages; the results
    // grid after run messages (when its automatic refresh is on).
    virtual void RefreshMainTreeEvent() {}
    virtual void RefreshResultsGrid() {}
    // The data module's mapping of database and login error texts.
    virtual QString GetDbMessage(const QString& Msg) { return Msg; }
};

namespace websync {
// The texts the user sees in the status pane and the log.
inline const QString NoConnection = QStringLiteral("Ei yhteyttä Web -tulospalveluun.");
}  // namespace websync
