#pragma once
// The HTTPS client of the web calls: a client (base URL, fixed Accept headers,
// content type, time-outs), a request (resource, method, unencoded header
// parameters, raw body) and a response (status code and reply text), the same
// trio the worker form and the main window each own.
//
// One client per thread: a TRESTClient keeps one libcurl handle, and with it
// its open connections; threads may take turns with it (a pooled worker) but
// never use it at the same time. Certificates are always verified; the environment variable
// SORVEX_CA_FILE names a PEM file whose certificates are trusted in addition
// to the system's (how tests trust the stand-in service's own certificate).

#include "platform/rtl/Exception.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <memory>

// A request that could not be completed: no connection, TLS refused, the
// reply broken off. The message names the address and the reason.
SORVEX_EXCEPTION_KIND(ERESTException, Exception)
// The service did not answer within the client's time-outs.
SORVEX_EXCEPTION_KIND(ERESTTimeoutException, ERESTException)
// The reply was larger than the client takes (MaxReplyBytes).
SORVEX_EXCEPTION_KIND(ERESTReplyTooLargeException, ERESTException)

// The largest reply body a client takes by default. The largest download the
// service sends (a big event's persons, classes and courses in one reply) is
// a few megabytes; anything far beyond that is a broken or hostile peer, and
// holding it whole would take the desk's memory with it.
inline constexpr qsizetype DefaultMaxReplyBytes = 16 * 1024 * 1024;

enum class TRESTRequestMethod { rmGET, rmPOST };

// The environment variable that adds a trusted certificate file.
extern const char* const SORVEX_CA_FILE_VARIABLE;

class TRESTClient {
public:
    TRESTClient();
    ~TRESTClient();
    TRESTClient(const TRESTClient&) = delete;
    TRESTClient& operator=(const TRESTClient&) = delete;

    QString BaseURL;
    QString Accept = QStringLiteral("application/json, text/plain; q=0.9, text/html;q=0.8,");
    QString AcceptCharset = QStringLiteral("UTF-8, *;q=0.8");
    QString ContentType = QStringLiteral("application/json");
    // Off: a 500 reply is read like any other. On: a status of 500 or more raises.
    bool RaiseExceptionOn500 = false;
    int ConnectTimeout = 15000;  // ms
    int ReadTimeout = 30000;     // ms, the whole exchange
    // A longer reply is broken off and the call fails (ERESTReplyTooLargeException).
    qsizetype MaxReplyBytes = DefaultMaxReplyBytes;

    // The full address of a resource: base URL, one "/", the resource.
    QString FullURL(const QString& Resource) const;

    struct TReply {
        int StatusCode = 0;
        QString StatusText;
        QString ContentType;
        QByteArray RawBytes;
    };
    // One exchange. Headers are sent exactly as given. A body (also an empty
    // one) travels as the raw request body, on GET as well. Only https://
    // addresses are used, and a header whose name or value holds a CR or LF
    // is refused: both raise ERESTException before anything is sent.
    TReply Execute(TRESTRequestMethod Method, const QString& Resource,
                   const QVector<QPair<QString, QString>>& Headers,
                   const QByteArray* Body);

private:
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

class TRESTResponse {
public:
    int StatusCode() const { return FStatusCode; }
    QString StatusText() const { return FStatusText; }
    QString ContentType() const { return FContentType; }
    // The reply text, read as UTF-8.
    QString Content() const { return QString::fromUtf8(FRawBytes); }
    const QByteArray& RawBytes() const { return FRawBytes; }
    void Clear();

private:
    friend class TRESTRequest;
    int FStatusCode = 0;
    QString FStatusText;
    QString FContentType;
    QByteArray FRawBytes;
};

class TRESTRequest {
public:
    TRESTClient* Client = nullptr;
    TRESTResponse* Response = nullptr;
    QString Resource;
    TRESTRequestMethod Method = TRESTRequestMethod::rmGET;

    // Header parameters, sent without any encoding.
    void ClearParams() { FHeaders.clear(); }
    void AddHeader(const QString& Name, const QString& Value) { FHeaders.append({Name, Value}); }
    const QVector<QPair<QString, QString>>& Headers() const { return FHeaders; }

    void ClearBody() { FHasBody = false; FBody.clear(); }
    void AddBody(const QString& Text) { FHasBody = true; FBody = Text.toUtf8(); }

    // Sends the request and fills the response; raises ERESTException when no
    // reply was received.
    void Execute();

private:
    QVector<QPair<QString, QString>> FHeaders;
    QByteArray FBody;
    bool FHasBody = false;
};
