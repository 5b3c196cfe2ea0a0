#pragma once
// The main window's own web calls, on the main thread with an HTTP client of
// their own: the login for the window's downloads, the registration that
// links this computer to the account, the event calendar download and the
// download of one event's classes, courses and controls. The window
// implements the two interfaces; these calls hold no window.

#include "sync/WebSession.h"
#include "sync/WebSyncHost.h"

#include <QString>
#include <cstdint>
#include <memory>

class TFbQuery;
class TFbTransaction;
class TJsonNode;
class TRESTClient;
struct TReplProcedure;

// The "Datasynkronointi" status box, the hourglass and the tree.
class IWebDownloadView {
public:
    virtual ~IWebDownloadView() = default;
    virtual void SetActionMessage(const QString& Text) = 0;  // lblActionMessage
    virtual void SynkronointiActionShow() = 0;
    virtual void SynkronointiActionOK() = 0;     // done; hides itself after 5000 ms
    virtual void SynkronointiActionERROR() = 0;  // failed
    virtual void SynkronointiActionHide(int AfterMs) = 0;
    virtual void SetBusy(bool Busy) = 0;
    // Rebuilds the navigation tree and selects the selected event again.
    virtual void RefreshTreeAfterDownload() = 0;
};

class TWebMainCalls {
public:
    // Query and Transaction: the data module's fbProcRESTFD and
    // fbTrRESTUpdateDefaultFD on the main connection.
    TWebMainCalls(TWebSession& Session, IWebSyncHost& Host, IWebDownloadView& View, TFbQuery& Query,
                  TFbTransaction& Transaction);
    ~TWebMainCalls();

    int ConnectTimeoutMs = 15000;
    int ReadTimeoutMs = 30000;
    // True after a calendar download committed a series; the tree's refresh
    // repeats the download while it is false.
    bool bWebTapahtumatHaettu = false;

    void ConnectOnline();
    int hae_tmp_client_rest(const QString& TempId, QString& Reply);
    void hae_tapahtumat();
    int hae_tapahtumat_rest(QString& Reply);
    void hae_tapahtuma_tiedot(int64_t EventId);
    int hae_tapahtuma_tiedot_rest(int64_t EventId, QString& Reply);

private:
    TWebSession& FSession;
    IWebSyncHost& FHost;
    IWebDownloadView& FView;
    TFbQuery& fbProcRESTFD;
    TFbTransaction& fbTrRESTUpdateDefaultFD;
    std::unique_ptr<TRESTClient> RESTClient1;

    struct TReply {
        int Status = 0;
        QString Text;
    };
    TReply Send(bool Post, const QString& Resource, const QVector<QPair<QString, QString>>& Headers);
    int DownloadRequest(const QString& Resource, const QVector<QPair<QString, QString>>& Headers, QString& Reply);
    // Runs one replicate statement; false (after the dialog Prefix + text) when it failed.
    bool Replicate(const TReplProcedure& P, const TJsonNode& Row, const QString& Prefix,
                   const std::function<void(TFbQuery&)>& Extra);
    void Fail(const QString& ActionText, const QString& DialogText);
    void RollbackIfActive();

    void ReplicateSeries(const TJsonNode& Series, bool& Failed);
    void ReplicateClass(const TJsonNode& Class, int64_t EventId, bool& Failed);
    void ReplicateClassCourse(const TJsonNode& ClassCourse, int64_t ClassId, int64_t EventId, bool& Failed);
};
