#pragma once
// The stand-in web result service on loopback HTTPS: cpp-httplib with a
// self-signed certificate made at start (written to a file that clients
// trust explicitly), the protocol of TWebServiceState behind it, and a small
// control interface for tests: fail the next calls, break off a reply, delay
// a reply, look at each call as it comes and count the connections. Usable in-process (ephemeral port) and from the executable.

#include "tools/webservice/WebServiceState.h"

#include <QSet>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class SSLServer;
struct Request;
}

namespace webservice {

class TWebServiceServer {
public:
    // Port 0 picks a free port. The certificate goes to CertificateFile, or
    // into a private temporary folder when that is empty.
    explicit TWebServiceServer(int Port = 0, const QString& CertificateFile = QString());
    ~TWebServiceServer();
    TWebServiceServer(const TWebServiceServer&) = delete;
    TWebServiceServer& operator=(const TWebServiceServer&) = delete;

    void Stop();

    int Port() const { return FPort; }
    QString CertificateFile() const { return FCertificateFile; }
    QString Origin() const;          // "https://127.0.0.1:<port>"
    QString FirstBaseURL() const;    // the first interface
    QString SecondBaseURL() const;   // the second interface

    TWebServiceState& State() { return FState; }

    // The next Count calls (of Resource, e.g. "web/confirmation", when given)
    // are answered with Status and Body (default: 500) without reaching the
    // service.
    void FailNextCalls(int Count = 1, int Status = 500, const QByteArray& Body = QByteArray(),
                       const QString& Resource = QString());
    // The next Count replies are broken off after their headers.
    void DropNextConnections(int Count = 1);
    // The next Count replies to calls of Resource (e.g. "web/confirmation")
    // are broken off after their headers; the service has handled the calls.
    void DropNextReplies(const QString& Resource, int Count = 1);
    // The next Count replies are cut off half-way through their body.
    void CutNextReplies(int Count = 1);
    // The next Count replies wait Milliseconds first.
    void DelayNextReplies(int Milliseconds, int Count = 1);
    // Called with each call's path before the call is handled (on the
    // server's thread, the caller waiting for its reply).
    void BeforeEachCall(std::function<void(const QString& Path)> Hook);
    // The client connections the calls so far came in on.
    int ConnectionsSeen();

private:
    bool FailThisCall(const QString& Path);
    bool DropThisReply(const QString& Path);
    void SeeCall(const httplib::Request& Req);

    TWebServiceState FState;
    std::unique_ptr<httplib::SSLServer> FServer;
    std::thread FThread;
    int FPort = 0;
    QString FCertificateFile;
    QString FTempFolder;
    std::atomic<int> FFailCount{0};
    std::atomic<int> FFailStatus{500};
    QByteArray FFailBody;
    QString FFailResource;
    std::atomic<int> FDropCount{0};
    std::atomic<int> FDelayCount{0};
    std::atomic<int> FCutCount{0};
    std::atomic<int> FDelayMs{0};
    QString FDropResource;
    int FDropResourceCount = 0;
    std::function<void(const QString&)> FBeforeEachCall;
    QSet<QString> FConnections;
    std::mutex FControlLock;
};

}  // namespace webservice
