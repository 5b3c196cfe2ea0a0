// The HTTPS client against the stand-in service on loopback: certificates are
// verified (the service's own one trusted through SORVEX_CA_FILE), headers go
// out unencoded, a GET may carry a body, a 500 reply is a reply, and failures
// without a reply raise with a clear text.

#include "platform/http/RESTClient.h"
#include "tools/webservice/WebServiceServer.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QtGlobal>

using webservice::TWebServiceServer;

namespace {

class RESTClientTest : public ::testing::Test {
protected:
    TWebServiceServer Service;
    TRESTClient Client;
    TRESTResponse Response;
    TRESTRequest Request;

    void SetUp() override
    {
        qputenv(SORVEX_CA_FILE_VARIABLE, Service.CertificateFile().toLocal8Bit());
        Client.BaseURL = Service.FirstBaseURL();
        Request.Client = &Client;
        Request.Response = &Response;
    }
    void TearDown() override { qunsetenv(SORVEX_CA_FILE_VARIABLE); }

    void Prepare(const QString& Resource, TRESTRequestMethod Method)
    {
        Request.Resource = Resource;
        Request.Method = Method;
        Request.ClearParams();
        Request.ClearBody();
    }
};

}  // namespace

TEST_F(RESTClientTest, TrustedCertificateWorks)
{
    const int64_t Account = Service.State().CreateAccount(QStringLiteral("A"));
    const auto Creds = Service.State().AddClient(Account, QStringLiteral("Maali"));
    Prepare(QStringLiteral("client/login"), TRESTRequestMethod::rmPOST);
    Request.AddHeader(QStringLiteral("id"), QString::number(Creds.ClientId));
    Request.AddHeader(QStringLiteral("client_secret"), Creds.Secret);
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 200);
    EXPECT_TRUE(Response.Content().contains(QStringLiteral("access_token")));

    const auto Log = Service.State().RequestLog();
    ASSERT_EQ(Log.size(), 1);
    EXPECT_EQ(Log[0].Headers.value(QStringLiteral("accept")), QStringLiteral("application/json, text/plain; q=0.9, text/html;q=0.8,"));
    EXPECT_EQ(Log[0].Headers.value(QStringLiteral("accept-charset")), QStringLiteral("UTF-8, *;q=0.8"));
    EXPECT_EQ(Log[0].Headers.value(QStringLiteral("content-type")), QStringLiteral("application/json"));
    EXPECT_EQ(Log[0].Headers.value(QStringLiteral("client_secret")), Creds.Secret);
}

TEST_F(RESTClientTest, UntrustedCertificateIsRefused)
{
    qunsetenv(SORVEX_CA_FILE_VARIABLE);
    Prepare(QStringLiteral("client/login"), TRESTRequestMethod::rmPOST);
    try {
        Request.Execute();
        FAIL() << "an unknown certificate was accepted";
    } catch (const ERESTException& Error) {
        EXPECT_TRUE(Error.Message().startsWith(QStringLiteral("Error sending data to https://127.0.0.1:")))
            << Error.Message().toStdString();
    }
    EXPECT_TRUE(Service.State().RequestLog().isEmpty());
}

TEST_F(RESTClientTest, HeadersTravelUnencodedAndGetCarriesItsBody)
{
    const int64_t Account = Service.State().CreateAccount(QStringLiteral("A"));
    const auto Creds = Service.State().AddClient(Account, QStringLiteral("Maali"));
    Client.BaseURL = Service.SecondBaseURL();
    Prepare(QStringLiteral("web/message"), TRESTRequestMethod::rmGET);
    Request.AddHeader(QStringLiteral("id"), QString::number(Creds.ClientId));
    Request.AddHeader(QStringLiteral("access_token"), QStringLiteral("a b/+=?&ä"));
    Request.AddBody(QStringLiteral("{}"));
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 401);  // that token is unknown, but it got there as written
    // A second call on the same connection still works: the body was read.
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 401);
    const auto Log = Service.State().RequestLog();
    ASSERT_EQ(Log.size(), 2);
    EXPECT_EQ(Log[0].Method, QStringLiteral("GET"));
    EXPECT_EQ(Log[0].Headers.value(QStringLiteral("access_token")), QStringLiteral("a b/+=?&ä"));
    // the stand-in does not read a GET body, but it was announced and sent
    EXPECT_EQ(Log[0].Headers.value(QStringLiteral("content-length")), QStringLiteral("2"));
}

TEST_F(RESTClientTest, Status500IsAReplyNotAnError)
{
    Service.FailNextCalls(1, 500, R"({"result": "Palvelinvirhe"})");
    Prepare(QStringLiteral("client/messagecount"), TRESTRequestMethod::rmPOST);
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 500);
    EXPECT_EQ(Response.Content(), QStringLiteral(R"({"result": "Palvelinvirhe"})"));
    Client.RaiseExceptionOn500 = true;
    Service.FailNextCalls(1, 503);
    EXPECT_THROW(Request.Execute(), ERESTException);
}

TEST_F(RESTClientTest, ReplyTextIsReadAsUtf8)
{
    Service.FailNextCalls(1, 400, QStringLiteral(R"({"message": "Väärä tunnus – åäö"})").toUtf8());
    Prepare(QStringLiteral("client/register"), TRESTRequestMethod::rmPOST);
    Request.AddHeader(QStringLiteral("id"), QStringLiteral("ÄÖ-koodi"));
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 400);
    EXPECT_EQ(Response.Content(), QStringLiteral(R"({"message": "Väärä tunnus – åäö"})"));
}

TEST_F(RESTClientTest, NoListenerRaisesWithTheAddress)
{
    QTcpServer Probe;
    ASSERT_TRUE(Probe.listen(QHostAddress::LocalHost));
    const quint16 FreePort = Probe.serverPort();
    Probe.close();
    Client.BaseURL = QStringLiteral("https://127.0.0.1:%1/apex/sorvex/api/v1").arg(FreePort);
    Prepare(QStringLiteral("client/login"), TRESTRequestMethod::rmPOST);
    try {
        Request.Execute();
        FAIL() << "no error without a listener";
    } catch (const ERESTException& Error) {
        EXPECT_TRUE(Error.Message().contains(QStringLiteral("/apex/sorvex/api/v1/client/login"))) << Error.Message().toStdString();
    }
}

TEST_F(RESTClientTest, TimeOutRaisesItsOwnError)
{
    Client.ReadTimeout = 300;
    Service.DelayNextReplies(1500);
    Prepare(QStringLiteral("client/messagecount"), TRESTRequestMethod::rmPOST);
    try {
        Request.Execute();
        FAIL() << "no time-out";
    } catch (const ERESTTimeoutException& Error) {
        EXPECT_TRUE(Error.Message().startsWith(QStringLiteral("No reply from https://127.0.0.1:"))) << Error.Message().toStdString();
    }
}

TEST_F(RESTClientTest, BrokenOffReplyRaises)
{
    Service.DropNextConnections(1);
    Prepare(QStringLiteral("client/messagecount"), TRESTRequestMethod::rmPOST);
    EXPECT_THROW(Request.Execute(), ERESTException);
    // the next call gets through again
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 401);
}

TEST_F(RESTClientTest, FullURLJoinsWithOneSlash)
{
    Client.BaseURL = QStringLiteral("https://h/x/");
    EXPECT_EQ(Client.FullURL(QStringLiteral("client/login")), QStringLiteral("https://h/x/client/login"));
    EXPECT_EQ(Client.FullURL(QStringLiteral("/web/message")), QStringLiteral("https://h/x/web/message"));
}

TEST_F(RESTClientTest, ThreadsTakeTurnsButNeverShareAClient)
{
    Prepare(QStringLiteral("client/messagecount"), TRESTRequestMethod::rmPOST);
    Request.Execute();
    // another thread after this one: fine (a pooled worker moves between threads)
    int OtherStatus = 0;
    std::thread Later([&] {
        TRESTResponse Own;
        TRESTRequest Second = Request;
        Second.Response = &Own;
        Second.Execute();
        OtherStatus = Own.StatusCode();
    });
    Later.join();
    EXPECT_EQ(OtherStatus, 401);

    // two threads at once: the second is refused
    Service.DelayNextReplies(1500);
    std::thread Slow([&] { Request.Execute(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    TRESTResponse Own;
    TRESTRequest Second = Request;
    Second.Response = &Own;
    EXPECT_THROW(Second.Execute(), ERESTException);
    Slow.join();
    EXPECT_EQ(Response.StatusCode(), 401);
}

// The access token must never travel in clear or reach a local file, and a
// header text cannot smuggle in headers of its own.
TEST_F(RESTClientTest, OnlyHttpsAndNoLineBreaksInHeaders)
{
    QTcpServer Plain;  // a clear-text listener that must stay untouched
    ASSERT_TRUE(Plain.listen(QHostAddress::LocalHost));
    const QString Urls[] = {
        QStringLiteral("http://127.0.0.1:%1/api").arg(Plain.serverPort()),
        QStringLiteral("file:///etc"),
        QStringLiteral("ftp://127.0.0.1:%1/api").arg(Plain.serverPort()),
        QStringLiteral("127.0.0.1:%1/api").arg(Plain.serverPort()),
    };
    for (const QString& Url : Urls) {
        Client.BaseURL = Url;
        Prepare(QStringLiteral("client/login"), TRESTRequestMethod::rmPOST);
        Request.AddHeader(QStringLiteral("access_token"), QStringLiteral("secret"));
        try {
            Request.Execute();
            ADD_FAILURE() << "sent to " << Url.toStdString();
        } catch (const ERESTException& Error) {
            EXPECT_TRUE(Error.Message().startsWith(QStringLiteral("Only HTTPS addresses are allowed: ")))
                << Error.Message().toStdString();
        }
    }
    EXPECT_FALSE(Plain.waitForNewConnection(50));

    Client.BaseURL = Service.FirstBaseURL();
    const QPair<QString, QString> Bad[] = {
        {QStringLiteral("id"), QStringLiteral("1\r\nX-Injected: yes")},
        {QStringLiteral("id"), QStringLiteral("1\nX-Injected: yes")},
        {QStringLiteral("X-Injected: yes\r\nid"), QStringLiteral("1")},
    };
    for (const auto& Header : Bad) {
        Prepare(QStringLiteral("client/login"), TRESTRequestMethod::rmPOST);
        Request.AddHeader(Header.first, Header.second);
        try {
            Request.Execute();
            ADD_FAILURE() << "sent " << Header.second.toStdString();
        } catch (const ERESTException& Error) {
            EXPECT_TRUE(Error.Message().contains(QStringLiteral("line break"))) << Error.Message().toStdString();
        }
    }
    Client.ContentType = QStringLiteral("application/json\r\nX-Injected: yes");
    Prepare(QStringLiteral("client/login"), TRESTRequestMethod::rmPOST);
    EXPECT_THROW(Request.Execute(), ERESTException);
    EXPECT_TRUE(Service.State().RequestLog().isEmpty());
}

TEST_F(RESTClientTest, AReplyOverTheLimitFailsTheCallAndTheNextCallGoesThrough)
{
    Client.MaxReplyBytes = 4096;
    Prepare(QStringLiteral("client/messagecount"), TRESTRequestMethod::rmPOST);
    Service.FailNextCalls(1, 200, QByteArray(4096, 'x'));
    Request.Execute();
    EXPECT_EQ(Response.RawBytes().size(), 4096);

    Service.FailNextCalls(1, 200, QByteArray(4097 + 100000, 'x'));
    try {
        Request.Execute();
        FAIL() << "an oversized reply was taken";
    } catch (const ERESTReplyTooLargeException& Error) {
        EXPECT_TRUE(Error.Message().contains(QStringLiteral("larger than 4096 bytes"))) << Error.Message().toStdString();
    }
    EXPECT_TRUE(Response.RawBytes().isEmpty());
    Request.Execute();
    EXPECT_EQ(Response.StatusCode(), 401);
}
