// Awkward texts (quotes, backslashes, line breaks, tabs, Finnish letters)
// stored in a real event database travel through the upload builders, the
// HTTPS client and the stand-in service to another computer of the account
// and read back unchanged with the JSON reader.

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/http/RESTClient.h"
#include "sync/UploadBuilders.h"
#include "sync/jsonnode.h"
#include "tests/support/TestDatabase.h"
#include "tools/webservice/WebServiceServer.h"

#include <gtest/gtest.h>

namespace {

QString Call(TRESTClient& Client, const QString& Base, const QString& Resource, TRESTRequestMethod Method,
             const QVector<QPair<QString, QString>>& Headers, const QString& Body, int* Status = nullptr)
{
    Client.BaseURL = Base;
    TRESTRequest Request;
    TRESTResponse Response;
    Request.Client = &Client;
    Request.Response = &Response;
    Request.Resource = Resource;
    Request.Method = Method;
    for (const auto& H : Headers)
        Request.AddHeader(H.first, H.second);
    Request.AddBody(Body);
    Request.Execute();
    if (Status)
        *Status = Response.StatusCode();
    return Response.Content();
}

}  // namespace

TEST(RoundTrip, AwkwardTextsReachTheOtherComputerUnchanged)
{
    const QString Name = QStringLiteral("Seura \"Rasti\" \\ C:\\new\r\nrivi 2\ttab ÄäÖöÅå é");

    TestDatabase Db;
    TFbConnection Con;
    Con.DatabaseName = Db.Path();
    Con.Open();
    TFbTransaction Tr;
    Tr.SetConnection(&Con);
    {
        TFbQuery Ins;
        Ins.SetConnection(&Con);
        Ins.SetTransaction(&Tr);
        Ins.SQL().SetText(QStringLiteral("insert into vrk_club (club_id, event_series_id, club_name, inserted, updated) "
                                         "values (100000042, 7, :club_name, '2026-06-01 18:00:00', '2026-06-01 18:00:00')"));
        Ins.ParamByName(QStringLiteral("club_name")).SetAsString(Name);
        Ins.ExecSQL();
        Tr.Commit();
    }
    TFbQuery Q1, Q2, Q3, Q4;
    for (TFbQuery* Q : {&Q1, &Q2, &Q3, &Q4}) {
        Q->SetConnection(&Con);
        Q->SetTransaction(&Tr);
    }
    TUploadBuilders Builders(&Q1, &Q2, &Q3, &Q4);
    QString Batch = TUploadBuilders::BatchOpening(77);
    Builders.vrk_club_out(0, 9001, 100000042, Batch, QStringLiteral("U"));
    TUploadBuilders::CloseBatch(Batch, QStringLiteral("clubs"));

    webservice::TWebServiceServer Service;
    qputenv(SORVEX_CA_FILE_VARIABLE, Service.CertificateFile().toLocal8Bit());
    const int64_t Account = Service.State().CreateAccount(QStringLiteral("Tili"));
    const auto A = Service.State().AddClient(Account, QStringLiteral("A"));
    const auto B = Service.State().AddClient(Account, QStringLiteral("B"));
    TRESTClient ClientA, ClientB;
    auto Login = [&](TRESTClient& Client, const webservice::TClientCredentials& C) {
        const QString Reply = Call(Client, Service.FirstBaseURL(), QStringLiteral("client/login"), TRESTRequestMethod::rmPOST,
                                   {{QStringLiteral("id"), QString::number(C.ClientId)}, {QStringLiteral("client_secret"), C.Secret}},
                                   QString());
        return QVector<QPair<QString, QString>>{{QStringLiteral("id"), QString::number(C.ClientId)},
                                                {QStringLiteral("access_token"), (*TJsonNode::Parse(Reply))["access_token"].AsString()}};
    };
    const auto AuthA = Login(ClientA, A);
    const auto AuthB = Login(ClientB, B);

    int Status = 0;
    const QString Verdict = Call(ClientA, Service.SecondBaseURL(), QStringLiteral("client/message"), TRESTRequestMethod::rmPOST,
                                 AuthA, Batch, &Status);
    ASSERT_EQ(Status, 200) << Verdict.toStdString();
    auto Result = TJsonNode::Parse((*TJsonNode::Parse(Verdict))["result"].AsString());
    EXPECT_EQ((*Result)["processed"][0]["client_message_id"].AsString(), QStringLiteral("9001"));

    const QString Message = Call(ClientB, Service.SecondBaseURL(), QStringLiteral("web/message"), TRESTRequestMethod::rmGET,
                                 AuthB, QStringLiteral("{}"), &Status);
    ASSERT_EQ(Status, 200);
    auto Root = TJsonNode::Parse(Message);
    ASSERT_EQ((*Root)["message_type"].AsString(), QStringLiteral("vrk_club"));
    EXPECT_EQ((*Root)["vrk_club"][0]["club_name"].AsString(), Name);
    EXPECT_EQ((*Root)["vrk_club"][0]["inserted"].AsString(), QStringLiteral("2026-06-01T18:00:00"));
    qunsetenv(SORVEX_CA_FILE_VARIABLE);
}
