// The stand-in web result service over real HTTPS, spoken to with the
// program's own HTTP client and read with its own JSON reader: registration,
// login, counts, calendar, event data, uploads fanned out to the other
// computers of the account, redelivery until confirmed, and the control knobs.

#include "platform/http/RESTClient.h"
#include "sync/jsonnode.h"
#include "tools/webservice/WebServiceServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>

using webservice::TWebServiceServer;

namespace {

struct TReplyText {
    int Status = 0;
    QString Text;
};

// One computer of the account, talking as the program does.
class TComputer {
public:
    TComputer(TWebServiceServer& Service) : FService(Service) {}

    TReplyText Call(int Base, const QString& Resource, TRESTRequestMethod Method,
                    const QVector<QPair<QString, QString>>& Headers, const QString* Body = nullptr)
    {
        FClient.BaseURL = Base == 1 ? FService.FirstBaseURL() : FService.SecondBaseURL();
        TRESTRequest Request;
        TRESTResponse Response;
        Request.Client = &FClient;
        Request.Response = &Response;
        Request.Resource = Resource;
        Request.Method = Method;
        for (const auto& H : Headers)
            Request.AddHeader(H.first, H.second);
        if (Body)
            Request.AddBody(*Body);
        Request.Execute();
        return {Response.StatusCode(), Response.Content()};
    }

    void Login()
    {
        const TReplyText R = Call(1, QStringLiteral("client/login"), TRESTRequestMethod::rmPOST,
                                  {{QStringLiteral("id"), QString::number(Id)}, {QStringLiteral("client_secret"), Secret}});
        ASSERT_EQ(R.Status, 200) << R.Text.toStdString();
        Token = (*TJsonNode::Parse(R.Text))["access_token"].AsString();
    }

    QVector<QPair<QString, QString>> Auth() const
    {
        return {{QStringLiteral("id"), QString::number(Id)}, {QStringLiteral("access_token"), Token}};
    }

    TReplyText Upload(const QString& Batch) { return Call(2, QStringLiteral("client/message"), TRESTRequestMethod::rmPOST, Auth(), &Batch); }
    TReplyText Fetch()
    {
        const QString Empty = QStringLiteral("{}");
        return Call(2, QStringLiteral("web/message"), TRESTRequestMethod::rmGET, Auth(), &Empty);
    }
    TReplyText Confirm(const QString& Body) { return Call(1, QStringLiteral("web/confirmation"), TRESTRequestMethod::rmPOST, Auth(), &Body); }
    int Count()
    {
        const TReplyText R = Call(1, QStringLiteral("client/messagecount"), TRESTRequestMethod::rmPOST, Auth());
        return R.Status == 200 ? (*TJsonNode::Parse(R.Text))["message_count"].AsInteger() : -1;
    }

    int64_t Id = 0;
    QString Secret;
    QString Token;

private:
    TWebServiceServer& FService;
    TRESTClient FClient;
};

// A JSON string literal's content, escaped as the upload builders escape.
QString Escaped(const QString& Value)
{
    QString Out;
    for (QChar C : Value) {
        switch (C.unicode()) {
        case '"': Out += QStringLiteral("\\\""); break;
        case '\\': Out += QStringLiteral("\\\\"); break;
        case '\n': Out += QStringLiteral("\\n"); break;
        case '\r': Out += QStringLiteral("\\r"); break;
        case '\t': Out += QStringLiteral("\\t"); break;
        default:
            if (C.unicode() < 0x20)
                Out += QStringLiteral("\\u%1").arg(C.unicode(), 4, 16, QLatin1Char('0'));
            else
                Out += C;
        }
    }
    return Out;
}

QString ClubBatch(const QString& MessageId, const QString& QueueId, const QString& ClubId, const QString& Name,
                  const QString& ReplType = QStringLiteral("U"))
{
    const QString Record = QStringLiteral(R"("clubs": [{"client_message_id": "%1", "club_id": "%2", "event_series_id": "7", )"
                                          R"("club_name": "%3", "inserted": "2024-06-01T18:00:00", "updated": "2024-06-01T18:05:00", "repl_type": "%4"}])")
                               .arg(QueueId, ClubId, Escaped(Name), ReplType);
    return QStringLiteral(R"({"message_id" : "%1", "client_message": "%2"})").arg(MessageId, Escaped(Record));
}

QString DemoFile()
{
    return QStringLiteral(SORVEX_SOURCE_DIR "/tools/webservice/demo-account.json");
}

class WebServiceTest : public ::testing::Test {
protected:
    TWebServiceServer Service;
    int64_t Account = 0;

    void SetUp() override
    {
        qputenv(SORVEX_CA_FILE_VARIABLE, Service.CertificateFile().toLocal8Bit());
        QFile F(DemoFile());
        ASSERT_TRUE(F.open(QIODevice::ReadOnly)) << DemoFile().toStdString();
        Account = Service.State().LoadAccount(QJsonDocument::fromJson(F.readAll()).object());
    }
    void TearDown() override { qunsetenv(SORVEX_CA_FILE_VARIABLE); }

    std::unique_ptr<TComputer> NewComputer(const QString& Name)
    {
        auto C = std::make_unique<TComputer>(Service);
        const auto Creds = Service.State().AddClient(Account, Name);
        C->Id = Creds.ClientId;
        C->Secret = Creds.Secret;
        C->Login();
        return C;
    }
};

}  // namespace

TEST_F(WebServiceTest, RegistrationWithATemporaryCode)
{
    TComputer New(Service);
    const TReplyText R = New.Call(1, QStringLiteral("client/register"), TRESTRequestMethod::rmPOST,
                                  {{QStringLiteral("id"), QStringLiteral("DEMO-1234")}});
    ASSERT_EQ(R.Status, 200) << R.Text.toStdString();
    auto Row = TJsonNode::Parse(R.Text);
    ASSERT_TRUE(Row);
    New.Id = (*Row)["client_id"].AsInteger();
    New.Secret = (*Row)["client_secret"].AsString();
    EXPECT_GT(New.Id, 0);
    EXPECT_EQ((*Row)["in_use"].AsString(), QStringLiteral("K"));
    EXPECT_EQ((*Row)["client_name"].AsString(), QStringLiteral("Maalikone"));

    // the code works once
    const TReplyText Again = New.Call(1, QStringLiteral("client/register"), TRESTRequestMethod::rmPOST,
                                      {{QStringLiteral("id"), QStringLiteral("DEMO-1234")}});
    EXPECT_EQ(Again.Status, 400);
    EXPECT_FALSE((*TJsonNode::Parse(Again.Text))["message"].AsString().isEmpty());

    // the first download: links and master data, the card register last
    New.Login();
    const int Count = New.Count();
    ASSERT_GE(Count, 3);
    QStringList Types;
    for (int K = 0; K < Count; ++K) {
        const TReplyText M = New.Fetch();
        ASSERT_EQ(M.Status, 200);
        auto Msg = TJsonNode::Parse(M.Text);
        const QString Type = (*Msg)["message_type"].AsString();
        Types << Type;
        EXPECT_EQ((*Msg)["hasMore"].AsString(), K + 1 < Count ? QStringLiteral("true") : QStringLiteral("false"));
        EXPECT_TRUE((*Msg)[Type].IsList());
        ASSERT_EQ(New.Confirm(QStringLiteral(R"({"message_id": "%1", "processed": "[]", "errors": "[]"})")
                                  .arg((*Msg)["message_id"].AsString())).Status, 200);
    }
    EXPECT_EQ(Types.first(), QStringLiteral("vrk_client_event_series"));
    EXPECT_EQ(Types.last(), QStringLiteral("vrk_person_chips"));
    EXPECT_LT(Types.indexOf(QStringLiteral("vrk_club")), Types.indexOf(QStringLiteral("vrk_person")));
    EXPECT_EQ(New.Count(), 0);
    auto None = TJsonNode::Parse(New.Fetch().Text);
    EXPECT_EQ((*None)["message_type"].AsString(), QStringLiteral("none"));
    EXPECT_NO_THROW((*None)["message_id"]);
    EXPECT_EQ((*None)["hasMore"].AsString(), QStringLiteral("false"));
}

TEST_F(WebServiceTest, LoginRefusesWrongSecretsWith401AndKeepsSeveralTokens)
{
    auto A = NewComputer(QStringLiteral("A"));
    const QString First = A->Token;
    A->Login();
    EXPECT_NE(A->Token, First);
    EXPECT_EQ(A->Count(), 0);
    A->Token = First;  // the older token still works
    EXPECT_EQ(A->Count(), 0);

    const TReplyText Bad = A->Call(1, QStringLiteral("client/login"), TRESTRequestMethod::rmPOST,
                                   {{QStringLiteral("id"), QString::number(A->Id)}, {QStringLiteral("client_secret"), QStringLiteral("wrong")}});
    EXPECT_EQ(Bad.Status, 401);
    EXPECT_FALSE((*TJsonNode::Parse(Bad.Text))["message"].AsString().isEmpty());

    // tokens run out: the call is refused with 401 and a new login helps
    Service.State().SetTokenLifetimeSeconds(-1);
    A->Login();
    EXPECT_EQ(A->Count(), -1);
    Service.State().SetTokenLifetimeSeconds(3600);
    A->Login();
    EXPECT_EQ(A->Count(), 0);

    Service.State().ExpireAllTokens();
    EXPECT_EQ(A->Count(), -1);
    EXPECT_EQ(A->Upload(ClubBatch("1", "2", "3", "x")).Status, 401);
}

TEST_F(WebServiceTest, CalendarAndEventData)
{
    auto A = NewComputer(QStringLiteral("A"));
    const TReplyText Cal = A->Call(1, QStringLiteral("client/getevents"), TRESTRequestMethod::rmGET, A->Auth());
    ASSERT_EQ(Cal.Status, 200);
    auto Root = TJsonNode::Parse(Cal.Text);
    TJsonNode& Series = (*Root)["event_series"][0];
    EXPECT_EQ(Series["event_series_id"].AsInt64(), 7);
    EXPECT_TRUE(Series["chip_balance_options"].IsList());
    TJsonNode& Season = Series["event_series_seasons"][0];
    EXPECT_TRUE(Season["event_series_season_payment_methods"].IsList());
    TJsonNode& Event = Season["events"][0];
    const QString EventId = Event["event_id"].AsString();
    EXPECT_FALSE(Event["event_name"].AsString().isEmpty());

    auto Headers = A->Auth();
    Headers.prepend({QStringLiteral("event_id"), EventId});
    const TReplyText Data = A->Call(1, QStringLiteral("client/geteventdata"), TRESTRequestMethod::rmGET, Headers);
    ASSERT_EQ(Data.Status, 200) << Data.Text.toStdString();
    auto D = TJsonNode::Parse(Data.Text);
    TJsonNode& Class = (*D)["classes"][0];
    TJsonNode& Course = Class["class_courses"][0]["courses"][0];
    EXPECT_FALSE(Course["course_name"].AsString().isEmpty());
    TJsonNode& Controls = Course["course_controls"];
    ASSERT_GE(Controls.ListItems()->Count(), 2);
    EXPECT_LT(Controls[0]["control_sequence"].AsInteger(), Controls[1]["control_sequence"].AsInteger());
    for (const char* M : {"control_id", "control_code", "online_control", "mandatory_control", "course_control_id", "cc_online_control"})
        EXPECT_NO_THROW(Controls[0][M]) << M;

    // Every course's controls string is what the database and the course
    // editor take: the codes of its controls in order, separated by commas.
    for (const TJsonNode* C : (*D)["classes"])
        for (const TJsonNode* CC : (*C)["class_courses"])
            for (const TJsonNode* Co : (*CC)["courses"]) {
                QStringList Codes;
                for (const TJsonNode* Cc : (*Co)["course_controls"])
                    Codes << (*Cc)["control_code"].AsString();
                EXPECT_EQ((*Co)["controls_string"].AsString(), Codes.join(QLatin1Char(',')))
                    << (*Co)["course_name"].AsString().toStdString();
            }

    Headers[0].second = QStringLiteral("424242");
    EXPECT_EQ(A->Call(1, QStringLiteral("client/geteventdata"), TRESTRequestMethod::rmGET, Headers).Status, 400);
}

TEST_F(WebServiceTest, UploadReachesTheOtherComputersAndRoundTripsAwkwardTexts)
{
    auto A = NewComputer(QStringLiteral("A"));
    auto B = NewComputer(QStringLiteral("B"));
    const QString Name = QStringLiteral("OK \"Rasti\" \\ C:\\new\r\nÄäÖöÅå \t/ loppu");
    const TReplyText R = A->Upload(ClubBatch("881", "5012", "100000017", Name));
    ASSERT_EQ(R.Status, 200) << R.Text.toStdString();
    auto Reply = TJsonNode::Parse(R.Text);
    auto Verdict = TJsonNode::Parse((*Reply)["result"].AsString());
    ASSERT_TRUE(Verdict);
    EXPECT_EQ((*Verdict)["processed"][0]["client_message_id"].AsInt64(), 5012);
    EXPECT_EQ((*Verdict)["errors"].ListItems()->Count(), 0);

    EXPECT_EQ(A->Count(), 0);  // never back to the sender
    ASSERT_EQ(B->Count(), 1);
    const TReplyText M = B->Fetch();
    auto Msg = TJsonNode::Parse(M.Text);
    ASSERT_EQ((*Msg)["message_type"].AsString(), QStringLiteral("vrk_club"));
    TJsonNode& Row = (*Msg)["vrk_club"][0];
    EXPECT_EQ(Row["club_name"].AsString(), Name);
    EXPECT_EQ(Row["club_id"].AsInt64(), 100000017);
    EXPECT_EQ(Row["repl_type"].AsString(), QStringLiteral("U"));
    EXPECT_FALSE(Row["replication_id"].AsString().isEmpty());
    EXPECT_THROW(Row["client_message_id"], EJSONUnknownFieldOrIndex);
    EXPECT_EQ(Service.State().Row(Account, QStringLiteral("vrk_club"), QStringLiteral("100000017"))
                  .value(QStringLiteral("club_name")).toString(), Name);
}

TEST_F(WebServiceTest, UnconfirmedMessagesComeAgainAndRefusedRowsAreRequested)
{
    auto A = NewComputer(QStringLiteral("A"));
    Service.State().QueueMessage(Account, 0, QStringLiteral("vrk_person"),
                                 QJsonArray{QJsonObject{{QStringLiteral("person_id"), QStringLiteral("555")},
                                                        {QStringLiteral("event_series_id"), QStringLiteral("7")},
                                                        {QStringLiteral("club_id"), QStringLiteral("100000001")},
                                                        {QStringLiteral("person_name"), QStringLiteral("Virtanen Ville")}}});
    auto First = TJsonNode::Parse(A->Fetch().Text);
    auto Again = TJsonNode::Parse(A->Fetch().Text);
    EXPECT_EQ((*First)["message_id"].AsString(), (*Again)["message_id"].AsString());
    const QString Rep = (*First)["vrk_person"][0]["replication_id"].AsString();

    // refused for a missing club: the club comes, then the person again
    const QString Body = QStringLiteral(R"({"message_id": "%1", "processed": "[]", "errors": "[{\"replication_id\": \"%2\", )"
                                        R"(\"error_message\": \"(vrk_person) REPLICATION_ID:%2:VRK_CLUB:100000001:::\", )"
                                        R"(\"request_data\": \"VRK_CLUB\", \"request_data_id\": \"100000001\"}]"})")
                             .arg((*First)["message_id"].AsString(), Rep);
    ASSERT_EQ(A->Confirm(Body).Status, 200);
    const auto Pending = Service.State().Pending(A->Id);
    ASSERT_EQ(Pending.size(), 2);
    EXPECT_EQ(Pending[0].Type, QStringLiteral("vrk_club"));
    EXPECT_EQ(Pending[1].Type, QStringLiteral("vrk_person"));
    const auto Confirmations = Service.State().Confirmations();
    ASSERT_EQ(Confirmations.size(), 1);
    EXPECT_EQ(Confirmations[0].value(QStringLiteral("errors")).toArray().size(), 1);
}

TEST_F(WebServiceTest, DeletionsAndBadRecords)
{
    auto A = NewComputer(QStringLiteral("A"));
    auto B = NewComputer(QStringLiteral("B"));
    ASSERT_EQ(A->Upload(ClubBatch("1", "10", "100000017", "Seura")).Status, 200);
    ASSERT_EQ(A->Upload(ClubBatch("2", "11", "100000017", "", QStringLiteral("D"))).Status, 200);
    EXPECT_TRUE(Service.State().Row(Account, QStringLiteral("vrk_club"), QStringLiteral("100000017")).isEmpty());
    EXPECT_EQ(B->Count(), 2);

    // a record without its key is an error of that record
    const QString Bad = QStringLiteral(R"({"message_id" : "3", "client_message": "\"clubs\": [{\"client_message_id\": \"12\", \"repl_type\": \"U\"}]"})");
    const TReplyText R = A->Upload(Bad);
    ASSERT_EQ(R.Status, 200);
    auto Verdict = TJsonNode::Parse((*TJsonNode::Parse(R.Text))["result"].AsString());
    EXPECT_EQ((*Verdict)["errors"][0]["client_message_id"].AsString(), QStringLiteral("12"));
    EXPECT_NO_THROW((*Verdict)["errors"][0]["request_data"]);

    // a body that is no batch at all is refused as a whole
    const TReplyText Whole = A->Upload(QStringLiteral("nonsense"));
    EXPECT_EQ(Whole.Status, 400);
    EXPECT_NO_THROW((*TJsonNode::Parse(Whole.Text))["result"]);
}

TEST_F(WebServiceTest, ClientMessagesAreRecordedNotForwarded)
{
    auto A = NewComputer(QStringLiteral("A"));
    auto B = NewComputer(QStringLiteral("B"));
    const QString Record = QStringLiteral(R"("client_messages": [{"client_message_id": "9", "client_id": "%1", "event_id": "3001", )"
                                          R"("message_type": "3", "message_key": "", "message_info": "", "message_data": ""}])").arg(A->Id);
    const QString Batch = QStringLiteral(R"({"message_id" : "4", "client_message": "%1"})").arg(Escaped(Record));
    ASSERT_EQ(A->Upload(Batch).Status, 200);
    EXPECT_EQ(B->Count(), 0);
    ASSERT_EQ(Service.State().ClientMessages().size(), 1);
    EXPECT_EQ(Service.State().ClientMessages()[0].value(QStringLiteral("message_type")).toString(), QStringLiteral("3"));
}

TEST_F(WebServiceTest, LenientReadingOfRawControlCharacters)
{
    // what a writer that escapes only quotes sends
    auto A = NewComputer(QStringLiteral("A"));
    const QString Raw = QStringLiteral("{\"message_id\" : \"5\", \"client_message\": \"\\\"clubs\\\": [{\\\"client_message_id\\\": \\\"20\\\", "
                                       "\\\"club_id\\\": \\\"100000020\\\", \\\"event_series_id\\\": \\\"7\\\", \\\"club_name\\\": \\\"rivi1\nrivi2 C:\\x\\\", "
                                       "\\\"inserted\\\": \\\"2024-06-01T18:00:00\\\", \\\"updated\\\": \\\"2024-06-01T18:00:00\\\", \\\"repl_type\\\": \\\"U\\\"}]\"}");
    const TReplyText R = A->Upload(Raw);
    ASSERT_EQ(R.Status, 200) << R.Text.toStdString();
    EXPECT_EQ(Service.State().Row(Account, QStringLiteral("vrk_club"), QStringLiteral("100000020"))
                  .value(QStringLiteral("club_name")).toString(), QStringLiteral("rivi1\nrivi2 C:\\x"));
}

TEST_F(WebServiceTest, WrongBaseOrUnknownResourceIs404AndInjectedFailures)
{
    auto A = NewComputer(QStringLiteral("A"));
    EXPECT_EQ(A->Call(2, QStringLiteral("client/login"), TRESTRequestMethod::rmPOST, {}).Status, 404);
    EXPECT_EQ(A->Call(1, QStringLiteral("client/nothing"), TRESTRequestMethod::rmPOST, {}).Status, 404);
    Service.FailNextCalls(2);
    EXPECT_EQ(A->Fetch().Status, 500);
    const TReplyText Second = A->Upload(ClubBatch("1", "2", "100000017", "x"));
    EXPECT_EQ(Second.Status, 500);
    EXPECT_NO_THROW((*TJsonNode::Parse(Second.Text))["result"]);
    EXPECT_EQ(A->Fetch().Status, 200);
}
