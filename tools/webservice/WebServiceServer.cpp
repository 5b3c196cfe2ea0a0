#include "tools/webservice/WebServiceServer.h"

#include "tools/webservice/Certificate.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <httplib.h>

#include <chrono>
#include <memory>
#include <stdexcept>

namespace webservice {

namespace {

QMap<QString, QString> LowerCaseHeaders(const httplib::Request& Req)
{
    QMap<QString, QString> Out;
    for (const auto& Header : Req.headers)
        Out.insert(QString::fromStdString(Header.first).toLower(), QString::fromUtf8(Header.second.c_str()));
    return Out;
}

// An empty resource matches every call.
bool ResourceMatches(const QString& Path, const QString& Resource)
{
    return Resource.isEmpty() || Path.endsWith(QLatin1Char('/') + Resource);
}

}  // namespace

TWebServiceServer::TWebServiceServer(int Port, const QString& CertificateFile)
{
    TSelfSigned Cert = MakeSelfSignedCertificate();
    FCertificateFile = CertificateFile;
    if (FCertificateFile.isEmpty()) {
        QTemporaryDir Temp(QDir::tempPath() + QStringLiteral("/sorvex-webservice-XXXXXX"));
        Temp.setAutoRemove(false);
        FTempFolder = Temp.path();
        FCertificateFile = FTempFolder + QStringLiteral("/service-cert.pem");
    }
    QFile Out(FCertificateFile);
    if (!Out.open(QIODevice::WriteOnly | QIODevice::Truncate) || Out.write(Cert.CertificatePem) != Cert.CertificatePem.size())
        throw std::runtime_error("cannot write the certificate file " + FCertificateFile.toStdString());
    Out.close();

    FServer = std::make_unique<httplib::SSLServer>(Cert.Certificate, Cert.Key);
    X509_free(Cert.Certificate);
    EVP_PKEY_free(Cert.Key);
    if (!FServer->is_valid())
        throw std::runtime_error("the HTTPS server could not be set up");

    auto Handler = [this](const httplib::Request& Req, httplib::Response& Res) {
        SeeCall(Req);
        if (FDelayCount.load() > 0 && FDelayCount.fetch_sub(1) > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(FDelayMs.load()));
        const bool Drop = (FDropCount.load() > 0 && FDropCount.fetch_sub(1) > 0) || DropThisReply(QString::fromStdString(Req.path));
        const bool Cut = !Drop && FCutCount.load() > 0 && FCutCount.fetch_sub(1) > 0;

        TReply Reply;
        if (FailThisCall(QString::fromStdString(Req.path))) {
            std::lock_guard<std::mutex> Guard(FControlLock);
            Reply.Status = FFailStatus.load();
            Reply.Body = FFailBody;
        } else {
            const QString Path = QString::fromStdString(Req.path);
            const QString First = QString::fromLatin1(FirstBasePath) + QLatin1Char('/');
            const QString Second = QString::fromLatin1(SecondBasePath) + QLatin1Char('/');
            int Base = 0;
            QString Resource;
            if (Path.startsWith(First)) {
                Base = 1;
                Resource = Path.mid(First.size());
            } else if (Path.startsWith(Second)) {
                Base = 2;
                Resource = Path.mid(Second.size());
            }
            if (Base == 0) {
                Reply.Status = 404;
                Reply.Body = R"({"message": "Not found"})";
            } else {
                Reply = FState.Handle(Base, QString::fromStdString(Req.method), Resource, LowerCaseHeaders(Req),
                                      QByteArray::fromStdString(Req.body));
            }
        }
        Res.status = Reply.Status;
        // This server does not read the body of a GET, which the program sends
        // with "web/message"; close such a connection after the reply so the
        // unread body is never taken for the next request.
        if (Req.method == "GET" && Req.get_header_value("Content-Length") != "" && Req.get_header_value("Content-Length") != "0")
            Res.set_header("Connection", "close");
        if (Drop) {
            // Headers go out, then the connection is closed before the body.
            const std::string Body = Reply.Body.toStdString();
            Res.set_content_provider(Body.size() + 1, "application/json",
                                     [](size_t, size_t, httplib::DataSink&) { return false; });
            return;
        }
        if (Cut) {
            // Half of the body goes out, then the connection is closed.
            auto Body = std::make_shared<std::string>(Reply.Body.toStdString());
            Res.set_content_provider(Body->size() + 1, "application/json", [Body](size_t Offset, size_t, httplib::DataSink& Sink) {
                if (Offset > 0)
                    return false;
                Sink.write(Body->data(), Body->size() / 2);
                return true;
            });
            return;
        }
        Res.set_content(Reply.Body.toStdString(), "application/json; charset=utf-8");
    };
    // Small replies go out at once instead of waiting for the client's
    // delayed acknowledgement (40 ms a call otherwise).
    FServer->set_tcp_nodelay(true);
    // A client keeps its connection for many calls (the server's default
    // closes after five, and every new TLS handshake costs).
    FServer->set_keep_alive_max_count(100000);
    FServer->Get(".*", Handler);
    FServer->Post(".*", Handler);
    FServer->Put(".*", Handler);
    FServer->Delete(".*", Handler);

    FPort = Port == 0 ? FServer->bind_to_any_port("127.0.0.1") : (FServer->bind_to_port("127.0.0.1", Port) ? Port : -1);
    if (FPort <= 0)
        throw std::runtime_error("the HTTPS server could not bind its port");
    FThread = std::thread([this] { FServer->listen_after_bind(); });
    for (int K = 0; K < 500 && !FServer->is_running(); ++K)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

TWebServiceServer::~TWebServiceServer()
{
    Stop();
    if (!FTempFolder.isEmpty())
        QDir(FTempFolder).removeRecursively();
}

void TWebServiceServer::Stop()
{
    if (FServer)
        FServer->stop();
    if (FThread.joinable())
        FThread.join();
}

QString TWebServiceServer::Origin() const
{
    return QStringLiteral("https://127.0.0.1:%1").arg(FPort);
}

QString TWebServiceServer::FirstBaseURL() const
{
    return Origin() + QString::fromLatin1(FirstBasePath);
}

QString TWebServiceServer::SecondBaseURL() const
{
    return Origin() + QString::fromLatin1(SecondBasePath);
}

void TWebServiceServer::FailNextCalls(int Count, int Status, const QByteArray& Body, const QString& Resource)
{
    std::lock_guard<std::mutex> Guard(FControlLock);
    FFailResource = Resource;
    FFailStatus = Status;
    FFailBody = Body.isEmpty() ? QByteArray(R"({"result": "Palvelussa tapahtui virhe.", "message": "Palvelussa tapahtui virhe."})") : Body;
    FFailCount = Count;
}

void TWebServiceServer::DropNextConnections(int Count)
{
    FDropCount = Count;
}

void TWebServiceServer::DropNextReplies(const QString& Resource, int Count)
{
    std::lock_guard<std::mutex> Guard(FControlLock);
    FDropResource = Resource;
    FDropResourceCount = Count;
}

bool TWebServiceServer::FailThisCall(const QString& Path)
{
    std::lock_guard<std::mutex> Guard(FControlLock);
    if (FFailCount.load() <= 0 || !ResourceMatches(Path, FFailResource))
        return false;
    --FFailCount;
    return true;
}

bool TWebServiceServer::DropThisReply(const QString& Path)
{
    std::lock_guard<std::mutex> Guard(FControlLock);
    if (FDropResourceCount <= 0 || !ResourceMatches(Path, FDropResource))
        return false;
    --FDropResourceCount;
    return true;
}

void TWebServiceServer::BeforeEachCall(std::function<void(const QString& Path)> Hook)
{
    std::lock_guard<std::mutex> Guard(FControlLock);
    FBeforeEachCall = std::move(Hook);
}

int TWebServiceServer::ConnectionsSeen()
{
    std::lock_guard<std::mutex> Guard(FControlLock);
    return int(FConnections.size());
}

void TWebServiceServer::SeeCall(const httplib::Request& Req)
{
    std::function<void(const QString&)> Hook;
    {
        std::lock_guard<std::mutex> Guard(FControlLock);
        FConnections.insert(QStringLiteral("%1:%2").arg(QString::fromStdString(Req.remote_addr)).arg(Req.remote_port));
        Hook = FBeforeEachCall;
    }
    if (Hook)
        Hook(QString::fromStdString(Req.path));
}

void TWebServiceServer::CutNextReplies(int Count)
{
    FCutCount = Count;
}

void TWebServiceServer::DelayNextReplies(int Milliseconds, int Count)
{
    FDelayMs = Milliseconds;
    FDelayCount = Count;
}

}  // namespace webservice
