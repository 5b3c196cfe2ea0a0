// The upload builders over rows of a real event database: every record type
// is compared with its expected text (kept under golden/), deletions and
// vanished rows travel as short records, and a batch with awkward texts
// decodes back to the stored values through the JSON reader.

#include "sync/UploadBuilders.h"
#include "sync/jsonnode.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QFile>
#include <memory>

namespace {

const char* const FixtureSql[] = {
    "insert into vrk_client (client_id, client_name, owner, in_use, notes, client_version, client_secret, inserted, updated, "
    "temp_client_id, temp_client_valid_until) values (1001, 'Maalikone', null, 'K', null, '26.1', 's3cret', "
    "'2026-06-01 18:00:00', '2026-06-01 18:05:00', 'TMP-1', '2026-06-02 00:00:00')",
    "insert into vrk_client_message (client_message_id, event_id, message_type, message_key, message_info, message_data, inserted) "
    "values (11, 3001, '3', 'avain', 'info', 'data', '2026-06-01 18:00:00')",
    "insert into vrk_event (event_id, event_series_season_id, event_name, event_name2, arena_name, map_name, pdf_results, "
    "event_date, map_url, event_start_time, inserted, updated, finish_code, web_entries) values (3001, 70, 'Tiistairastit 1', "
    "null, 'Keskuspuisto', 'Keskuspuisto', 'E', '2026-06-02 00:00:00', 'https://kartta.example/?q=\"a\"', '17:00', "
    "'2026-05-01 12:00:00', '2026-05-01 12:30:00', 100, 'K')",
    "insert into vrk_controls (control_id, event_id, control_code, punching_unit1, online_control, mandatory_control, inserted, updated) "
    "values (7031, 3001, 31, 131, 'E', 'K', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_controls (control_id, event_id, control_code, online_control, mandatory_control, inserted, updated) "
    "values (7032, 3001, 32, 'K', 'K', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_course (course_id, event_id, course_name, course_length, climb, notes, controls_string, inserted, updated) "
    "values (5001, 3001, 'A', 5200, 120, null, '31,32', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_course (course_id, event_id, course_name, inserted, updated, deleted) "
    "values (5009, 3001, 'Poistettu', '2026-05-01 12:00:00', '2026-05-01 12:00:00', 'K')",
    "insert into vrk_course_controls (course_control_id, course_id, control_sequence, control_id, control_code, leg_length, "
    "online_control, inserted, updated) values (8002, 5001, 2, 7032, 32, 650, 'K', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_course_controls (course_control_id, course_id, control_sequence, control_id, control_code, control_type, "
    "online_name, online_control, inserted, updated) values (8001, 5001, 1, 7031, 31, 'N', 'Radio 1', 'E', '2026-05-01 12:00:00', "
    "'2026-05-01 12:00:00')",
    "insert into vrk_class (class_id, event_id, class_name, fee, calc_scoring, mass_start_time, active_class, inserted, updated) "
    "values (4001, 3001, 'A-rata', 12.5, null, null, 'K', '2026-05-01 12:00:00', '2026-05-01 12:10:00')",
    "insert into vrk_class (class_id, event_id, class_name, active_class, inserted, updated) "
    "values (4002, 3001, 'Tyhjä', 'E', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_class (class_id, event_id, class_name, active_class, inserted, updated) "
    "values (4003, 3001, 'Poistettu rata', 'K', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_class_course (class_course_id, class_id, course_id, inserted, updated) "
    "values (6001, 4001, 5001, '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_class_course (class_course_id, class_id, course_id, inserted, updated) "
    "values (6003, 4003, 5009, '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_additional_class (additional_class_id, class_id, class_name, fee, inserted, updated) "
    "values (9001, 4001, 'Lisäluokka', null, '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_club (club_id, event_series_id, club_name, club_abbr, location_name, region_name, region_abbr, country, "
    "www_addr, score_calculation, inserted, updated) values (100000017, 7, 'OK Testi', 'OKT', 'Espoo', 'Uusimaa', 'UUS', 'FIN', "
    "'https://okt.example', 'K', '2024-06-01 18:00:00', '2024-06-01 18:05:00')",
    "insert into vrk_club (club_id, event_series_id, club_name, club_abbr, location_name, region_name, region_abbr, country, "
    "www_addr, score_calculation, inserted, updated) values (100000018, 7, '', null, null, null, null, null, null, null, "
    "'2024-06-01 18:00:00', '2024-06-01 18:00:00')",
    "insert into vrk_person (person_id, event_series_id, person_name, person_sex, club_id, control_card, web_show, print_receipt, "
    "web_show_asked, phone_number, inserted, updated) values (200000001, 7, 'Virtanen \"Ville\" \\ C:\\new ÄÖå', 'M', "
    "100000017, '123456', 'K', 'E', '2026-05-02 09:30:00', '040 123', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_special_cc (chip_id, control_card, event_series_id, cc_name, owner, inserted, updated) "
    "values (301, 999001, 7, 'Vuokrakortti 1', 'Seura', '2026-05-01 12:00:00', '2026-05-01 12:00:00')",
    "insert into vrk_rastilippu_entries (rastilippu_entries_id, event_id, registration_time, sport_id, emit_nr, last_name, "
    "first_name, status, rental_emit, entry_fee, payment_state, results_class_id, additionaldetails, inserted, updated) values "
    "(501, 3001, '2026-06-01 10:00:00', null, '123456', 'Virtanen', 'Ville', 'I', 'E', 12.5, null, null, null, "
    "'2026-06-01 10:00:00', '2026-06-01 10:00:00')",
    "insert into vrk_results_class (results_class_id, event_id, leg_number, control_card, person_id, club_id, entry_fee, time_sec, "
    "status, start_time, finish_time, class_course_id, origin_client_id, origin_client_name, rented_chip, result_status, "
    "chip_string, first_result_status, online1_cc_id, online1_time_sec, online1_position, person_name, club_name, "
    "inserted, updated) values (601, 3001, 1, '123456', 200000001, 100000017, 12.5, 3601, '0', '2026-06-02 17:10:00', "
    "'2026-06-02 18:10:01', 6001, 1001, 'Maalikone', 'E', 'H', '\"EMIT\",\"Ä\"', 'H', 8002, 1800.5, 3, 'Virtanen Ville', "
    "'OK Testi', '2026-06-02 18:10:05', '2026-06-02 18:11:00')",
    "insert into vrk_results_splits (results_split_id, results_class_id, class_course_id, time_sec, leg_time_sec, punch_time, "
    "control_number, control_code, punch_order, punched_code, punch_type, punch_edited, control_id) values (701, 601, 6001, "
    "600, 600, '2026-06-02 17:20:00', 1, 31, 1, 31, 'N', 'E', 7031)",
    "insert into vrk_results_splits (results_split_id, results_class_id, class_course_id, control_code, punch_order, "
    "punch_type, punch_edited) values (702, 601, 6001, 32, 2, 'M', 'E')",
    "insert into vrk_special_punches (special_punches_id, event_id, results_class_id, punch_code, punch_time, prev_punch_code, "
    "prev_punch_time) values (801, 3001, 601, 250, '2026-06-02 17:09:00', 0, '2026-06-02 17:08:00')",
    "insert into vrk_results_class_all (results_class_all_id, results_class_id, class_course_id, time_sec, status, inserted, "
    "updated, start_time, finish_time, missing_controls, missing_controls_count, course_control_count, times_changed) values "
    "(901, 601, 6001, 3601, '0', '2026-06-02 18:10:05', '2026-06-02 18:10:05', '2026-06-02 17:10:00', '2026-06-02 18:10:01', "
    "null, 0, 2, 'E')",
};

QString GoldenFolder()
{
    return QStringLiteral(SORVEX_SOURCE_DIR "/tests/sync/golden/");
}

class UploadBuildersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Db = new TestDatabase();
        TFbConnection Con;
        Con.DatabaseName = Db->Path();
        Con.Open();
        TFbTransaction Tr;
        Tr.SetConnection(&Con);
        auto Run = [&](const QString& Sql) {
            TFbQuery Q;
            Q.SetConnection(&Con);
            Q.SetTransaction(&Tr);
            Q.SQL().SetText(Sql);
            Q.ExecSQL();
        };
        // Rows exactly as written: no queueing, no derived values.
        Run(QStringLiteral("execute block as declare x integer; begin "
                           "x = rdb$set_context('USER_TRANSACTION', 'VRK_NO_QUEUE', 'K'); end"));
        for (const char* Sql : FixtureSql)
            Run(QString::fromUtf8(Sql));
        Tr.Commit();
    }
    static void TearDownTestSuite()
    {
        delete Db;
        Db = nullptr;
    }

    void SetUp() override
    {
        Con.DatabaseName = Db->Path();
        Con.Open();
        Tr.SetConnection(&Con);
        for (TFbQuery* Q : {&Q1, &Q2, &Q3, &Q4}) {
            Q->SetConnection(&Con);
            Q->SetTransaction(&Tr);
        }
        Builders = std::make_unique<TUploadBuilders>(&Q1, &Q2, &Q3, &Q4);
        Builders->ThisClientId = 1001;
    }
    void TearDown() override
    {
        Builders.reset();
        if (Tr.Active())
            Tr.Rollback();
    }

    // One batch of the given rows of one queue table.
    QString Batch(const QString& Table, const QList<QPair<int64_t, QString>>& Rows, int64_t FirstQueueId = 5012)
    {
        QString Message = TUploadBuilders::BatchOpening(881);
        int Counter = 0;
        for (const auto& Row : Rows) {
            EXPECT_TRUE(Builders->BuildRow(Table, Counter, FirstQueueId + Counter, Row.first, Message, Row.second));
            ++Counter;
        }
        TUploadBuilders::CloseBatch(Message, wire::RecordOfQueueTable(Table)->ListName);
        return Message;
    }

    static QString Golden(const QString& Name)
    {
        QFile F(GoldenFolder() + Name + QStringLiteral(".json"));
        if (!F.open(QIODevice::ReadOnly))
            return QStringLiteral("<missing golden file %1>").arg(Name);
        return QString::fromUtf8(F.readAll()).trimmed();
    }

    static TestDatabase* Db;
    TFbConnection Con;
    TFbTransaction Tr;
    TFbQuery Q1, Q2, Q3, Q4;
    std::unique_ptr<TUploadBuilders> Builders;
};

TestDatabase* UploadBuildersTest::Db = nullptr;

// The list member decoded: the batch's client_message wrapped into an object.
std::unique_ptr<TJsonNode> Records(const QString& Batch)
{
    auto Outer = TJsonNode::Parse(Batch);
    if (!Outer)
        return nullptr;
    return TJsonNode::Parse(QLatin1Char('{') + (*Outer)["client_message"].AsString() + QLatin1Char('}'));
}

}  // namespace

TEST_F(UploadBuildersTest, EveryRecordTypeMatchesItsExpectedText)
{
    struct Case {
        const char* Golden;
        const char* Table;
        int64_t Id;
    };
    const Case Cases[] = {
        {"client_messages", "VRK_CLIENT_MESSAGE", 11},
        {"clients", "VRK_CLIENT", 1001},
        {"events", "VRK_EVENT", 3001},
        {"controls", "VRK_CONTROLS", 7031},
        {"courses", "VRK_COURSE", 5001},
        {"course_controls", "VRK_COURSE_CONTROLS", 8001},
        {"classes", "VRK_CLASS", 4001},
        {"classes_empty", "VRK_CLASS", 4002},
        {"classes_deleted_course", "VRK_CLASS", 4003},
        {"class_courses", "VRK_CLASS_COURSE", 6001},
        {"additional_classes", "VRK_ADDITIONAL_CLASS", 9001},
        {"clubs", "VRK_CLUB", 100000017},
        {"clubs_minimal", "VRK_CLUB", 100000018},
        {"persons", "VRK_PERSON", 200000001},
        {"rented_cards", "VRK_SPECIAL_CC", 301},
        {"rastilippu_entries", "VRK_RASTILIPPU_ENTRIES", 501},
        {"results_classes", "VRK_RESULTS_CLASS", 601},
    };
    for (const Case& C : Cases) {
        const QString Text = Batch(QString::fromLatin1(C.Table), {{C.Id, QStringLiteral("U")}});
        if (qEnvironmentVariableIsSet("SORVEX_UPDATE_GOLDEN")) {
            // After a deliberate change of the wire form: rewrite, then review the diff.
            QFile F(GoldenFolder() + QString::fromLatin1(C.Golden) + QStringLiteral(".json"));
            ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
            F.write(Text.toUtf8() + '\n');
        }
        EXPECT_EQ(Text, Golden(QString::fromLatin1(C.Golden))) << C.Golden;
        // and every batch is JSON twice over
        auto Inner = Records(Text);
        ASSERT_TRUE(Inner) << C.Golden;
        EXPECT_EQ(Inner->Items()->Count(), 1) << C.Golden;
    }
}

TEST_F(UploadBuildersTest, DeletionsTravelAsShortRecords)
{
    // a queued deletion is written without reading the table
    EXPECT_EQ(Batch(QStringLiteral("VRK_CLUB"), {{100000017, QStringLiteral("D")}}),
              QStringLiteral(R"({"message_id" : "881", "client_message": "\"clubs\": [{\"client_message_id\": \"5012\", )"
                             R"(\"club_id\": \"100000017\", \"repl_type\": \"D\"}]"})"));
    // a row that is gone since it was queued travels as a deletion
    EXPECT_EQ(Batch(QStringLiteral("VRK_PERSON"), {{424242, QStringLiteral("U")}}),
              QStringLiteral(R"({"message_id" : "881", "client_message": "\"persons\": [{\"client_message_id\": \"5012\", )"
                             R"(\"person_id\": \"424242\", \"repl_type\": \"D\"}]"})"));
}

TEST_F(UploadBuildersTest, SeveralRowsShareOneList)
{
    const QString Text = Batch(QStringLiteral("VRK_CONTROLS"), {{7031, QStringLiteral("U")}, {7032, QStringLiteral("I")}, {7099, QStringLiteral("U")}});
    auto Inner = Records(Text);
    ASSERT_TRUE(Inner);
    TJsonNode& List = (*Inner)["controls"];
    ASSERT_EQ(List.ListItems()->Count(), 3);
    EXPECT_EQ(List[0]["client_message_id"].AsString(), QStringLiteral("5012"));
    EXPECT_EQ(List[1]["repl_type"].AsString(), QStringLiteral("I"));
    EXPECT_THROW(List[1]["punching_unit1"], EJSONUnknownFieldOrIndex);
    EXPECT_EQ(List[2]["repl_type"].AsString(), QStringLiteral("D"));
    EXPECT_EQ(List[2]["control_id"].AsString(), QStringLiteral("7099"));
}

TEST_F(UploadBuildersTest, VanishedClientMessagesNeverBreakTheBatch)
{
    // the first row is gone: the next one still opens the list
    QString Message = TUploadBuilders::BatchOpening(5);
    Builders->client_message_out(0, 1, 77777, Message);
    Builders->client_message_out(1, 2, 11, Message);
    TUploadBuilders::CloseBatch(Message, QStringLiteral("client_messages"));
    auto Inner = Records(Message);
    ASSERT_TRUE(Inner);
    EXPECT_EQ((*Inner)["client_messages"].ListItems()->Count(), 1);
    EXPECT_EQ((*Inner)["client_messages"][0]["client_id"].AsString(), QStringLiteral("1001"));

    // every row gone: an empty list
    QString Empty = TUploadBuilders::BatchOpening(6);
    Builders->client_message_out(0, 1, 77777, Empty);
    TUploadBuilders::CloseBatch(Empty, QStringLiteral("client_messages"));
    EXPECT_EQ(Empty, QStringLiteral(R"({"message_id" : "6", "client_message": "\"client_messages\": []"})"));
}

TEST_F(UploadBuildersTest, AwkwardTextsComeBackAsStored)
{
    const QString Text = Batch(QStringLiteral("VRK_PERSON"), {{200000001, QStringLiteral("U")}});
    auto Inner = Records(Text);
    ASSERT_TRUE(Inner);
    EXPECT_EQ((*Inner)["persons"][0]["person_name"].AsString(), QStringLiteral("Virtanen \"Ville\" \\ C:\\new ÄÖå"));

    auto Event = Records(Batch(QStringLiteral("VRK_EVENT"), {{3001, QStringLiteral("U")}}));
    EXPECT_EQ((*Event)["events"][0]["map_url"].AsString(), QStringLiteral("https://kartta.example/?q=%22a%22"));

    auto Run = Records(Batch(QStringLiteral("VRK_RESULTS_CLASS"), {{601, QStringLiteral("U")}}));
    TJsonNode& R = (*Run)["results_classes"][0];
    EXPECT_EQ(QString::fromUtf8(QByteArray::fromBase64(R["chip_string"].AsString().toLatin1())), QStringLiteral("\"EMIT\",\"Ä\""));
    EXPECT_EQ(R["entry_fee"].AsString(), QStringLiteral("1250"));
    EXPECT_EQ(R["time_sec"].AsString(), QStringLiteral("360100"));
    EXPECT_EQ(R["results_splits"].ListItems()->Count(), 2);
}

TEST(JsonEscape, QuotesBackslashesAndControlCharacters)
{
    EXPECT_EQ(JsonEscape(QStringLiteral("a\"b\\c\nd\re\tf\x01g/Ä")), QStringLiteral("a\\\"b\\\\c\\nd\\re\\tf\\u0001g/Ä"));
    EXPECT_EQ(JsonEscape(QString()), QString());
}
