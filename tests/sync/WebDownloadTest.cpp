// Download messages applied at a desk: the applier pattern with its row
// errors, person rows refused for missing data and sent again by the
// service, classes with nested courses and controls, runs with nested rows,
// unknown types, and the confirmation body's two escaping levels.

#include "tests/sync/WebDesk.h"

#include "sync/DownloadProcedures.h"
#include "sync/ReplicateInputs.h"
#include "sync/jsonnode.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QString T = QStringLiteral("2026-06-01T18:00:00");

struct Fixture {
    WebAccount W;
    WebDesk A{W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Maali"))};

    void Queue(const QString& Type, const QJsonArray& Rows) { W.Service.State().QueueMessage(W.Account, 0, Type, Rows); }
    QJsonObject LastConfirmation()
    {
        const auto All = W.Service.State().Confirmations();
        return All.isEmpty() ? QJsonObject() : All.last();
    }
    // One pass; the first logs in before it can fetch.
    void Pass()
    {
        A.ReleaseHoldBack();
        if (A.Session.AccessToken().isEmpty())
            A.RunPass();
        A.RunPass();
    }
};

QJsonObject Club(const char* Id)
{
    return QJsonObject{{"club_id", Id}, {"event_series_id", "7"}, {"club_name", "OK Testi"}, {"inserted", T}, {"updated", T}};
}

// Counts every write of a club row at the desk, so a message applied twice
// shows although applying it again would leave the same row.
void CountClubWrites(WebDesk& D)
{
    D.Exec(QStringLiteral("create table t_club_writes (club_id bigint, n integer)"));
    D.Exec(QStringLiteral("create trigger t_count_club_writes for vrk_club after insert or update as begin "
                          "update or insert into t_club_writes (club_id, n) values (new.club_id, "
                          "coalesce((select n from t_club_writes where club_id = new.club_id), 0) + 1) matching (club_id); end"));
}

int ClubWrites(WebDesk& D, const char* Id)
{
    return D.Count(QStringLiteral("select coalesce(max(n), 0) from t_club_writes where club_id = %1").arg(QLatin1String(Id)));
}

// A download message answered by the next fetch instead of the service's own.
QByteArray ClubMessage(const char* MessageId, const char* ClubId)
{
    return QStringLiteral(R"({"message_type": "vrk_club", "message_id": "%1", "hasMore": "false", "vrk_club": [{"replication_id": "1",
        "repl_type": "U", "club_id": "%2", "event_series_id": "7", "inserted": "2026-06-01T18:00:00", "updated": "2026-06-01T18:00:00"}]})")
        .arg(QLatin1String(MessageId), QLatin1String(ClubId))
        .toUtf8();
}

}  // namespace

TEST(WebDownload, PlainApplierListsFailedRowsAndGoesOn)
{
    Fixture F;
    QJsonObject NoAbbr = Club("100000017");
    QJsonObject EmptyAbbr = Club("100000018");
    EmptyAbbr["club_abbr"] = "";
    QJsonObject NoKey = Club("0");
    NoKey.remove("club_id");
    QJsonObject Offset = Club("100000019");
    Offset["inserted"] = "2019-05-03T10:00:00+03:00";
    F.Queue(QStringLiteral("vrk_club"), {NoAbbr, NoKey, EmptyAbbr, Offset});
    F.Pass();

    const QJsonObject C = F.LastConfirmation();
    EXPECT_EQ(C.value("processed").toArray().size(), 3);
    ASSERT_EQ(C.value("errors").toArray().size(), 1);
    const QString Error = C.value("errors").toArray()[0].toObject().value("error_message").toString();
    EXPECT_TRUE(Error.startsWith(QStringLiteral("(vrk_club) REPLICATION_ID:"))) << Error.toStdString();
    EXPECT_TRUE(Error.endsWith(QStringLiteral(":::::Unknown field: club_id"))) << Error.toStdString();
    EXPECT_TRUE(F.A.Host.Log.contains(Error));
    EXPECT_TRUE(F.A.Value(QStringLiteral("select club_abbr from vrk_club where club_id = 100000017")).isNull());
    EXPECT_EQ(F.A.Value(QStringLiteral("select club_abbr from vrk_club where club_id = 100000018")).toString(), QString());
    EXPECT_FALSE(F.A.Value(QStringLiteral("select club_abbr from vrk_club where club_id = 100000018")).isNull());
    // The offset is applied: 10:00 at +03:00 is 07:00 UTC.
    EXPECT_EQ(F.A.Value(QStringLiteral("select cast(inserted as varchar(30)) from vrk_club where club_id = 100000019")).toString().left(19),
              QStringLiteral("2019-05-03 07:00:00"));
    EXPECT_GT(F.A.Host.TreeRefreshes, 0);

    // A deletion row needs only its key.
    F.Queue(QStringLiteral("vrk_club"), {QJsonObject{{"club_id", "100000017"}, {"repl_type", "D"}}});
    F.Pass();
    EXPECT_EQ(F.LastConfirmation().value("processed").toArray().size(), 1);
    EXPECT_EQ(F.A.Value(QStringLiteral("select deleted from vrk_club where club_id = 100000017")).toString(), QStringLiteral("K"));
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 0);
}

TEST(WebDownload, PersonWithMissingClubIsRefusedAndComesAgainAfterTheClub)
{
    Fixture F;
    F.W.Service.State().PutRow(F.W.Account, QStringLiteral("vrk_club"), Club("100000050"));
    F.Queue(QStringLiteral("vrk_person"),
            {QJsonObject{{"person_id", "200000001"}, {"event_series_id", "7"}, {"person_name", "Virtanen Ville"}, {"person_sex", "M"},
                         {"club_id", "100000050"}, {"web_show", "K"}, {"print_receipt", "E"}, {"inserted", T}, {"updated", T}}});
    F.Pass();
    const QJsonObject First = F.W.Service.State().Confirmations().first();
    ASSERT_EQ(First.value("errors").toArray().size(), 1);
    const QJsonObject Entry = First.value("errors").toArray()[0].toObject();
    EXPECT_EQ(Entry.value("request_data").toString(), QStringLiteral("VRK_CLUB"));
    EXPECT_EQ(Entry.value("request_data_id").toString(), QStringLiteral("100000050"));
    EXPECT_TRUE(Entry.value("error_message").toString().endsWith(
        QStringLiteral(":::VRK_PERSON 200000001 synkronointi ei onnistunut. Puuttuva tieto: VRK_CLUB:100000050")));
    // No log line for a refusal of this kind.
    EXPECT_FALSE(F.A.Host.Log.join(QLatin1Char('\n')).contains(QStringLiteral("Puuttuva tieto")));

    for (int K = 0; K < 3 && F.W.Service.State().PendingCount(F.A.Client.ClientId) > 0; ++K)
        F.Pass();
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_person where person_id = 200000001")), 1);
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_club where club_id = 100000050")), 1);
}

TEST(WebDownload, ClassRowWritesItsCoursesControlsAndClassCourses)
{
    Fixture F;
    auto Control = [](const char* Id, const char* Code, const char* Seq) {
        return QJsonObject{{"control_id", Id},       {"control_code", Code},    {"online_control", "E"}, {"mandatory_control", "K"},
                           {"course_control_id", QString::fromLatin1(Id) + "1"}, {"control_sequence", Seq},
                           {"cc_online_control", "E"}, {"leg_length", "250"},   {"inserted", T},         {"updated", T}};
    };
    const QJsonObject CourseA{{"course_id", "5001"}, {"course_name", "A"}, {"course_length", "4200,0"}, {"inserted", T}, {"updated", T},
                              {"course_controls", QJsonArray{Control("7031", "31", "1")}}};
    const QJsonObject CourseB{{"course_id", "5002"}, {"course_name", "B"}, {"course_length", "5200"}, {"inserted", T}, {"updated", T},
                              {"course_controls", QJsonArray{Control("7032", "32", "1"), Control("7033", "33", "2")}}};
    auto Class = [&](const char* Id, const QJsonValue& ClassCourses) {
        return QJsonObject{{"class_id", Id}, {"event_id", "3001"}, {"class_name", "H21"}, {"fee", "2500"}, {"active_class", "K"},
                           {"inserted", T},  {"updated", T},       {"repl_type", "I"},    {"class_courses", ClassCourses}};
    };
    const QJsonArray Links{QJsonObject{{"class_course_id", "6001"}, {"inserted", T}, {"updated", T}, {"courses", QJsonArray{CourseA, CourseB}}}};
    const QJsonArray EmptyCourses{QJsonObject{{"class_course_id", "6002"}, {"inserted", T}, {"updated", T}, {"courses", QJsonArray{}}}};
    F.Queue(QStringLiteral("vrk_class"), {Class("4001", Links), Class("4002", QJsonValue::Null), Class("4003", EmptyCourses)});
    F.Pass();

    const QJsonObject C = F.LastConfirmation();
    EXPECT_EQ(C.value("processed").toArray().size(), 2);
    EXPECT_EQ(C.value("errors").toArray().size(), 1);
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_course where course_id in (5001, 5002)")), 2);
    // Only the last course's controls are written.
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_controls where control_id in (7031, 7032, 7033)")), 2);
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_course_controls where course_id = 5002")), 2);
    EXPECT_EQ(F.A.Count(QStringLiteral("select course_id from vrk_class_course where class_course_id = 6001")), 5002);
    EXPECT_DOUBLE_EQ(F.A.Value(QStringLiteral("select fee from vrk_class where class_id = 4001")).toDouble(), 25.0);
    EXPECT_DOUBLE_EQ(F.A.Value(QStringLiteral("select course_length from vrk_course where course_id = 5001")).toDouble(), 4200.0);
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_class where class_id = 4002")), 1);
    // The failed row's class statement stays with the message.
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_class where class_id = 4003")), 1);
}

TEST(WebDownload, RunRowWithNestedRowsAndOneWithoutItsPunches)
{
    Fixture F;
    auto Run = [](const char* Id) {
        return QJsonObject{{"results_class_id", Id},
                           {"event_id", "3001"},
                           {"leg_number", "1"},
                           {"entry_fee", "1250"},
                           {"time_sec", "12345"},
                           {"class_course_id", "6001"},
                           {"origin_client_id", "1001"},
                           {"origin_client_name", "Lähtö"},
                           {"rented_chip", "E"},
                           {"result_status", "V"},
                           {"first_result_status", "V"},
                           {"person_name", "Virtanen Ville"},
                           {"chip_string", QString::fromLatin1(QByteArray("\"EMIT\",\"Ä\"").toBase64())},
                           {"inserted", T},
                           {"updated", T}};
    };
    const QJsonObject Split{{"results_split_id", "701"}, {"results_class_id", "601"}, {"class_course_id", "6001"},
                            {"control_code", "31"},      {"punch_order", "1"},        {"punch_type", "N"},
                            {"punch_edited", "E"},       {"time_sec", "60000"}};
    QJsonObject Full = Run("601");
    Full["results_splits"] = QJsonArray{Split};
    Full["special_punches"] = QJsonArray{};
    Full["results_class_all"] = QJsonArray{};
    QJsonObject NoPunches = Run("602");
    QJsonObject Split2 = Split;
    Split2["results_split_id"] = "702";
    Split2["results_class_id"] = "602";
    NoPunches["results_splits"] = QJsonArray{Split2};
    NoPunches["results_class_all"] = QJsonArray{};
    F.Queue(QStringLiteral("vrk_results_class"), {Full, NoPunches, QJsonObject{{"results_class_id", "603"}, {"repl_type", "D"}}});
    F.Pass();

    const QJsonObject C = F.LastConfirmation();
    EXPECT_EQ(C.value("processed").toArray().size(), 2);
    ASSERT_EQ(C.value("errors").toArray().size(), 1);
    EXPECT_TRUE(C.value("errors").toArray()[0].toObject().value("error_message").toString().endsWith(
        QStringLiteral("Unknown field: special_punches")));
    EXPECT_DOUBLE_EQ(F.A.Value(QStringLiteral("select time_sec from vrk_results_class where results_class_id = 601")).toDouble(), 123.45);
    EXPECT_EQ(F.A.Value(QStringLiteral("select chip_string from vrk_results_class where results_class_id = 601")).toString(),
              QStringLiteral("\"EMIT\",\"Ä\""));
    // The failed row's run and split stay.
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_results_splits where results_split_id in (701, 702)")), 2);
    EXPECT_GT(F.A.Host.GridRefreshes, 0);
}

TEST(WebDownload, UnknownTypeIsConfirmedWithItsOwnText)
{
    Fixture F;
    F.Queue(QStringLiteral("vrk_tulevaisuus"), {QJsonObject{{"x", "1"}}});
    F.Pass();
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 0);
    EXPECT_EQ(F.W.Service.State().Confirmations().size(), 1);
}

TEST(WebDownload, ConfirmationBodyStaysValidJsonAtBothLevels)
{
    const QString Nasty = QStringLiteral("virhe \"lainaus\" \\ C:\\new\nrivi");
    const QString Body = confirmation::Body(QStringLiteral("77"), {confirmation::Processed(QStringLiteral("501"))},
                                            {confirmation::Error(QStringLiteral("503"), Nasty)});
    EXPECT_TRUE(Body.startsWith(QStringLiteral("{\"message_id\": \"77\", \"processed\": \"[{\\\"replication_id\\\": \\\"501\\\"}]\", ")));
    std::unique_ptr<TJsonNode> Outer = TJsonNode::Parse(Body);
    ASSERT_TRUE(Outer);
    std::unique_ptr<TJsonNode> Errors = TJsonNode::Parse((*Outer)["errors"].AsString());
    ASSERT_TRUE(Errors);
    EXPECT_EQ((*Errors)[0]["error_message"].AsString(), Nasty);
    EXPECT_EQ(confirmation::Body(QStringLiteral("77"), {}, {}),
              QStringLiteral("{\"message_id\": \"77\", \"processed\": \"[]\", \"errors\": \"[]\"}"));
}

TEST(WebDownload, LineBreakCleaningKeepsEscapedBackslashes)
{
    const struct {
        const char* In;
        const char* Out;
    } Cases[] = {
        {"{\"a\": \"x\\ny\"}", "{\"a\": \"xy\"}"},                  // an escaped line break goes
        {"{\"a\":\n \"b\"}", "{\"a\": \"b\"}"},                      // raw line feeds go
        {"{\"a\": \"C:\\\\new\"}", "{\"a\": \"C:\\\\new\"}"},        // an escaped backslash before n stays
        {"{\"a\": \"x\\\\r\\\\ny\"}", "{\"a\": \"xy\"}"},            // the written-out CR LF goes
        {"{\"a\": \"q\\\"n\"}", "{\"a\": \"q\\\"n\"}"},              // an escaped quote before n stays
    };
    for (const auto& C : Cases)
        EXPECT_EQ(confirmation::StripLineBreaks(QString::fromUtf8(C.In)), QString::fromUtf8(C.Out)) << C.In;
}

TEST(WebDownload, HasMoreAsJsonTrueFetchesTheNextMessageInTheSamePass)
{
    Fixture F;
    F.A.RunPass();  // logs in
    F.Queue(QStringLiteral("vrk_club"), {Club("100000021")});
    // The next fetch answers a message whose hasMore is a JSON true.
    F.W.Service.FailNextCalls(1, 200, QByteArray(R"({"message_type": "vrk_club", "message_id": "900", "hasMore": true,
                                                     "vrk_club": [{"replication_id": "1", "repl_type": "U", "club_id": "100000020",
                                                     "event_series_id": "7", "inserted": "2026-06-01T18:00:00",
                                                     "updated": "2026-06-01T18:00:00"}]})"));
    F.A.RunPass();
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_club where club_id in (100000020, 100000021)")), 2);
}

TEST(WebDownload, DecimalsReadWithEitherSeparator)
{
    const struct {
        const char* Text;
        bool Ok;
        double Value;
    } Cases[] = {{"4,5", true, 4.5}, {"4.5", true, 4.5}, {"1250", true, 1250}, {"", false, 0}, {"neljä", false, 0}};
    for (const auto& C : Cases) {
        double V = 0;
        EXPECT_EQ(replinput::ParseDecimal(QString::fromUtf8(C.Text), V), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_DOUBLE_EQ(V, C.Value);
        }
    }
}

// The service takes the confirmation, but every reply to it is lost: the
// message is gone from the service, and the desk has it, applied once.
TEST(WebDownload, MessageWhoseConfirmationRepliesAreAllLostIsAppliedExactlyOnce)
{
    Fixture F;
    F.A.RunPass();  // logs in
    CountClubWrites(F.A);
    F.Queue(QStringLiteral("vrk_club"), {Club("100000030")});
    F.W.Service.DropNextReplies(QStringLiteral("web/confirmation"), 10);
    F.A.RunPass();
    F.W.Service.DropNextReplies(QStringLiteral("web/confirmation"), 0);
    EXPECT_GE(F.W.Service.State().Confirmations().size(), 1);
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 0);
    EXPECT_EQ(ClubWrites(F.A, "100000030"), 1);
    F.Pass();
    EXPECT_EQ(ClubWrites(F.A, "100000030"), 1);
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_club where club_id = 100000030")), 1);
}

// The service never learns of the confirmation (refused, or lost on its way
// there) and delivers the message again: it is confirmed again with the
// same body, and its rows are not written a second time.
TEST(WebDownload, MessageDeliveredAgainIsConfirmedAgainWithoutApplyingItTwice)
{
    Fixture F;
    F.A.RunPass();  // logs in
    CountClubWrites(F.A);
    F.Queue(QStringLiteral("vrk_club"), {Club("100000031")});
    F.W.Service.FailNextCalls(1, 500, QByteArray(), QStringLiteral("web/confirmation"));
    F.A.RunPass();
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 1);
    EXPECT_EQ(ClubWrites(F.A, "100000031"), 1);

    F.Pass();
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 0);
    EXPECT_EQ(ClubWrites(F.A, "100000031"), 1);
    const auto Confirmations = F.W.Service.State().Confirmations();
    ASSERT_EQ(Confirmations.size(), 1);  // the refused one never reached the service
    EXPECT_EQ(Confirmations[0].value("processed").toArray().size(), 1);
    EXPECT_FALSE(F.A.Value(QStringLiteral("select confirmed from vrk_web_message_in where message_id = '%1'")
                               .arg(Confirmations[0].value("message_id").toString()))
                     .isNull());
}

// The message cannot be stored here (the record of applied messages refuses
// it, as a failing commit would): nothing is confirmed, so the service keeps
// the message, and it is applied once when it can be.
TEST(WebDownload, MessageThatCannotBeStoredIsNotConfirmedAndComesAgain)
{
    Fixture F;
    F.A.RunPass();  // logs in
    CountClubWrites(F.A);
    F.A.Exec(QStringLiteral("create exception t_refused 'kirjaus ei onnistu'"));
    F.A.Exec(QStringLiteral("create trigger t_refuse_record for vrk_web_message_in before insert or update as begin "
                            "exception t_refused; end"));
    F.Queue(QStringLiteral("vrk_club"), {Club("100000034")});
    F.A.RunPass();
    EXPECT_TRUE(F.W.Service.State().Confirmations().isEmpty());
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 1);
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_club where club_id = 100000034")), 0);

    F.A.Exec(QStringLiteral("drop trigger t_refuse_record"));
    F.Pass();
    EXPECT_EQ(F.W.Service.State().PendingCount(F.A.Client.ClientId), 0);
    EXPECT_EQ(ClubWrites(F.A, "100000034"), 1);
}

// Another message that a service gives an id already used is applied; the
// same message again is not.
TEST(WebDownload, MessageIdUsedAgainForOtherRowsIsApplied)
{
    Fixture F;
    F.A.RunPass();  // logs in
    CountClubWrites(F.A);
    const struct {
        const char* Club;
        int Writes;
    } Steps[] = {{"100000032", 1}, {"100000033", 1}, {"100000033", 1}};
    for (const auto& Step : Steps) {
        F.W.Service.FailNextCalls(1, 200, ClubMessage("900", Step.Club), QStringLiteral("web/message"));
        F.A.RunPass();
        EXPECT_EQ(ClubWrites(F.A, Step.Club), Step.Writes) << Step.Club;
    }
    EXPECT_EQ(F.A.Count(QStringLiteral("select count(*) from vrk_club where club_id in (100000032, 100000033)")), 2);
}

// A deletion row runs the statement given for its table: the client's,
// series' and event's leave out their last inputs, the others are the
// upsert's statement.
TEST(WebDownload, DeletionStatementsOfEachTable)
{
    const struct {
        const char* Type;
        int Inputs;
        const char* Last;
    } Cases[] = {{"vrk_client", 11, "in_repl_type"},         {"vrk_event_series", 9, "in_repl_type"},
                 {"vrk_event", 48, "IN_WEB_ENTRIES"},         {"vrk_controls", 13, "IN_REPL_TYPE"},
                 {"vrk_club", 13, "IN_REPL_TYPE"},            {"vrk_additional_class", 7, "IN_REPL_TYPE"}};
    for (const auto& C : Cases) {
        const TApplierTable* Table = downloadprocs::Plain(QString::fromLatin1(C.Type));
        ASSERT_TRUE(Table) << C.Type;
        const TReplProcedure Delete = Table->Delete();
        EXPECT_EQ(static_cast<int>(Delete.Inputs.size()), C.Inputs) << C.Type;
        EXPECT_EQ(Delete.Inputs.back().Param, QLatin1String(C.Last)) << C.Type;
        EXPECT_TRUE(Delete.ExecuteStatement().endsWith(QStringLiteral(":") + QLatin1String(C.Last) + QStringLiteral(") ")))
            << Delete.ExecuteStatement().toStdString();
        if (Table->DeleteLeavesOut.isEmpty()) {
            EXPECT_EQ(Delete.ExecuteStatement(), Table->Upsert.ExecuteStatement()) << C.Type;
        }
    }
}

TEST(WebDownload, EventAndSeriesDeletionsAreApplied)
{
    Fixture F;
    F.Queue(QStringLiteral("vrk_event"), {QJsonObject{{"event_id", "3001"}, {"repl_type", "D"}}});
    F.Queue(QStringLiteral("vrk_event_series"), {QJsonObject{{"event_series_id", "7"}, {"repl_type", "D"}}});
    F.Pass();
    F.Pass();
    const auto Confirmations = F.W.Service.State().Confirmations();
    ASSERT_EQ(Confirmations.size(), 2);
    for (const QJsonObject& C : Confirmations) {
        EXPECT_EQ(C.value("processed").toArray().size(), 1);
        EXPECT_EQ(C.value("errors").toArray().size(), 0);
    }
}
