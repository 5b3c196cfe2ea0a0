// The data module's procedure methods and dataset edit rules over a fresh
// event database loaded with the small fixture event.

#include "data/vrkDataModule.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "tests/eventdb/EventDbFixture.h"
#include "tests/support/DataModuleFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Punches = std::vector<std::pair<int, int>>;
const Punches kCourseA = {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}};

class Methods : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.Connect());
        QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
        ASSERT_TRUE(fx.open(QIODevice::ReadOnly));
        f.Exec(QString::fromUtf8(fx.readAll()));
        formMain->nCurrentProcessedEvent = 100;
        formMain->nCurrentProcessedEventS = 1;
        m = f.Module.get();
    }
    struct Read {
        int64_t id = 0;
        QString wasInForest, message, flag;
    };
    Read Insert(const QString& chip, const QString& toForest = QStringLiteral("E"), const QString& card = QString())
    {
        Read r;
        m->insertResultsClass(chip, toForest, QString(), card, r.id, r.wasInForest, r.message, r.flag);
        return r;
    }
    QVariant V(const QString& sql) { return f.Value(sql); }
    QVariant Run(int64_t id, const char* column)
    {
        return V(QStringLiteral("select %1 from vrk_results_class where results_class_id = %2").arg(QLatin1String(column)).arg(id));
    }
    DataModuleFixture f;
    TDataModule1* m = nullptr;
};

TEST_F(Methods, CardReadsAreMatchedAgainstTheCourses)
{
    Read r = Insert(EventDb::Emit(QStringLiteral("12345"), kCourseA));
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(r.flag, QStringLiteral("O"));
    EXPECT_EQ(r.wasInForest, QStringLiteral("E"));
    EXPECT_EQ(Run(r.id, "status").toString(), QStringLiteral("0"));
    EXPECT_EQ(Run(r.id, "cast(time_sec as integer)").toInt(), 2400);
    EXPECT_EQ(Run(r.id, "class_course_id").toLongLong(), 401);
    EXPECT_EQ(V(QStringLiteral("select list(punch_type, '') from (select punch_type from vrk_results_splits where "
                               "results_class_id = %1 and class_course_id = 401 order by punch_order)").arg(r.id)).toString(),
              QStringLiteral("NRRRML"));

    Read miss = Insert(EventDb::Emit(QStringLiteral("99001"), {{0, 0}, {31, 600}, {32, 1200}, {100, 2400}, {250, 2700}}));
    EXPECT_EQ(miss.flag, QStringLiteral("H"));
    EXPECT_EQ(Run(miss.id, "status").toString(), QStringLiteral("3"));
    EXPECT_EQ(V(QStringLiteral("select missing_controls from vrk_results_class_all where results_class_id = %1 and "
                               "class_course_id = 401").arg(miss.id)).toString(),
              QStringLiteral("33"));
    Read dnf = Insert(EventDb::Emit(QStringLiteral("99002"), {{0, 0}, {31, 600}, {32, 1200}, {33, 1800}, {250, 2700}}));
    EXPECT_EQ(Run(dnf.id, "status").toString(), QStringLiteral("2"));

    // the manual re-check keeps the run's course and proposes the best one
    f.Exec(QStringLiteral("update vrk_results_class set class_course_id = 402 where results_class_id = %1;").arg(r.id));
    int64_t cc = 0;
    QString className, message;
    m->validatePunches(r.id, cc, className, message);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(cc, 401);
    EXPECT_EQ(className, QStringLiteral("H21"));
    EXPECT_EQ(m->getClassName(301), QStringLiteral("H21"));
    EXPECT_EQ(m->getClassName(4242), QString());  // a failure, logged
    EXPECT_EQ(f.Messages(QStringLiteral("Error")).size(), 1);

    m->deleteResultsClass(dnf.id);
    m->deleteResultsClass(0);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class where results_class_id = %1").arg(dnf.id)).toInt(), 0);
}

TEST_F(Methods, ForestRegistrationAndTheFinish)
{
    Read in = Insert(QString(), QStringLiteral("K"), QStringLiteral("054321"));
    ASSERT_GT(in.id, 0);
    QString err;
    EXPECT_EQ(m->onkoKirjattuMaastoon(100, QStringLiteral("054321"), err), QStringLiteral("E"));
    f.Exec(QStringLiteral("update vrk_results_class set result_status = 'M', first_result_status = 'M' where results_class_id = %1;")
               .arg(in.id));
    EXPECT_EQ(m->onkoKirjattuMaastoon(100, QStringLiteral("054321"), err), QStringLiteral("K"));
    EXPECT_TRUE(err.isEmpty());

    Read fin = Insert(EventDb::Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {33, 1800}, {100, 2400}, {250, 2700}}));
    EXPECT_EQ(fin.wasInForest, QStringLiteral("K"));
    EXPECT_EQ(fin.id, in.id);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class where control_card = '054321'")).toInt(), 1);
    EXPECT_EQ(Run(fin.id, "result_status").toString(), QStringLiteral("V"));
}

TEST_F(Methods, BoardStandingsAndReceipt)
{
    Read a = Insert(EventDb::Emit(QStringLiteral("12345"), kCourseA));
    Read b = Insert(EventDb::Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {32, 1200}, {33, 1800}, {100, 2100}, {250, 2400}}));
    TDataModule1::TResultBoardData board;
    m->getResultBoardData(a.id, board);
    EXPECT_EQ(board.sija, QStringLiteral("2."));
    EXPECT_EQ(board.sarja, QStringLiteral("H21"));
    EXPECT_EQ(board.personName, QStringLiteral("Virtanen Matti"));
    EXPECT_EQ(board.clubName, QStringLiteral("Helsingin Suunnistajat"));
    EXPECT_EQ(board.timeStr, QStringLiteral("40:00"));
    EXPECT_EQ(board.resultStatus, QStringLiteral("0"));
    EXPECT_EQ(board.status, QStringLiteral("OK"));
    EXPECT_EQ(board.rentedChip, QStringLiteral("E"));
    EXPECT_EQ(board.rows[0].nimi, QStringLiteral("Korhonen Anna"));
    EXPECT_EQ(board.rows[0].aika, QStringLiteral("35:00"));
    EXPECT_EQ(board.rows[1].sija, board.sija);
    EXPECT_EQ(board.rows[1].plus, QStringLiteral("+05:00"));
    EXPECT_TRUE(board.rows[2].nimi.isEmpty());
    (void)b;

    EXPECT_EQ(m->getChipPrint(a.id, 81), QStringLiteral("Iltarastit 1"));
    EXPECT_EQ(m->getChipPrint(a.id, 83), QStringLiteral("Virtanen Matti, Helsingin Suunnistajat"));
    EXPECT_EQ(m->getChipPrint(a.id, 86), QStringLiteral("Tulos 40:00"));
    formMain->vcUILanguageCode = QStringLiteral("EN");
    EXPECT_EQ(m->getChipPrint(a.id, 86), QStringLiteral("Result 40:00"));
    EXPECT_EQ(m->getChipPrint(a.id, 85), QString());
}

TEST_F(Methods, RefusalsComeInTheUserLanguageAndStoreNothing)
{
    const QString broken = QStringLiteral("\"X\",\"0\",\"0\",\"12a45\"");
    Read fi = Insert(broken);
    formMain->vcUILanguageCode = QStringLiteral("EN");
    Read en = Insert(broken);
    EXPECT_EQ(fi.message, QStringLiteral("Kilpailukortin numero on virheellinen."));
    EXPECT_EQ(en.message, QStringLiteral("The card number is malformed."));
    EXPECT_EQ(fi.id, 0);
    f.Exec(QStringLiteral("insert into vrk_event (event_id, event_series_season_id, event_name, event_date) "
                          "values (101, 10, 'Tyhjä', current_timestamp);"));
    formMain->nCurrentProcessedEvent = 101;
    Read none = Insert(EventDb::Emit(QStringLiteral("12345"), kCourseA));
    EXPECT_EQ(none.message, QStringLiteral("The event has no courses."));
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_results_class")).toInt(), 0);

    int64_t cc = 7;
    QString name, message;
    m->validatePunches(4242, cc, name, message);
    EXPECT_EQ(message, QStringLiteral("The run does not exist."));
    EXPECT_EQ(cc, 0);
}

TEST_F(Methods, PersonsClubsAndCards)
{
    struct Case {
        const char* name;
        const char* part1;
        const char* part2;
    };
    // the procedure gets the first two words: check what it was given by the
    // person it finds
    f.Exec(QStringLiteral("insert into vrk_person (person_id, event_series_id, person_name) values (1004, 1, 'Kivi');"
                          "insert into vrk_person (person_id, event_series_id, person_name) values (1005, 1, 'Kivi Kalle Juhani');"));
    int64_t id = -1;
    QString found;
    m->checkPerson(QStringLiteral("Korhonen Anna Maria"), id, found);
    EXPECT_EQ(id, 1002);
    EXPECT_EQ(found, QStringLiteral("Korhonen Anna"));
    m->checkPerson(QStringLiteral("Kivi"), id, found);
    EXPECT_EQ(id, 1004);
    m->checkPerson(QStringLiteral("Kivi  Kalle"), id, found);  // two blanks: empty second part
    EXPECT_EQ(id, 1004);
    m->checkPerson(QStringLiteral("Kivi Kalle"), id, found);
    EXPECT_EQ(id, 1005);
    m->checkPerson(QStringLiteral("Ei Ketään"), id, found);
    EXPECT_EQ(id, 0);
    EXPECT_TRUE(found.isEmpty());

    int64_t club = -1;
    m->checkClub(QStringLiteral("Helsingin Suunnistajat"), club, found);
    EXPECT_EQ(club, 501);
    EXPECT_GT(m->getNewPersonId(), 7000000000LL);
    EXPECT_GT(m->getNewClubId(), 7000000000LL);

    QString err;
    m->updatePersonChip(1003, QStringLiteral("066666"), QStringLiteral("K"), err);
    EXPECT_TRUE(err.isEmpty());
    EXPECT_EQ(V(QStringLiteral("select control_card from vrk_person where person_id = 1003")).toString(), QStringLiteral("066666"));
    m->updatePersonChip(1003, QStringLiteral("077777"), QStringLiteral("K"), err);
    EXPECT_EQ(err, QStringLiteral("Lainakorttia ei voi syöttää henkilön omaksi kilpailukortiksi."));
    m->updatePersonReceiptPrint(1003, QStringLiteral("E"), err);
    EXPECT_TRUE(err.isEmpty());
    m->updatePersonPhoneNumber(1003, QStringLiteral("040 1"), err);
    m->updatePersonSportID(1003, QStringLiteral("S3"), err);
    m->updatePersonWebShow(1003, QStringLiteral("E"), QString(), err);
    EXPECT_TRUE(err.isEmpty());
    EXPECT_EQ(V(QStringLiteral("select web_show || print_receipt || sport_id || phone_number from vrk_person "
                               "where person_id = 1003")).toString(),
              QStringLiteral("EES3040 1"));
    EXPECT_FALSE(V(QStringLiteral("select web_show_asked from vrk_person where person_id = 1003")).isNull());
    m->updatePersonWebShow(1003, QStringLiteral("K"), QStringLiteral("ei päivä"), err);
    EXPECT_TRUE(err.startsWith(QStringLiteral("(updatePersonWebShow): "))) << err.toStdString();

    QString msg;
    EXPECT_EQ(m->onkoLainakortti(1, 77777, msg), QStringLiteral("K"));
    EXPECT_EQ(m->onkoLainakortti(1, 12345, msg), QStringLiteral("E"));
    EXPECT_EQ(m->haeLainakorttiHenkilo(1, 54321, msg), 1002);
    EXPECT_EQ(m->haeLainakorttiHenkilo(1, 11111, msg), 0);
}

TEST_F(Methods, WebEntriesAndPayments)
{
    int64_t person = 0;
    QString status, message;
    m->selectWebEntry(802, person, status, message);
    EXPECT_EQ(person, 1001);
    EXPECT_EQ(status, QStringLiteral("OK"));
    Read in = Insert(QString(), QStringLiteral("K"), QStringLiteral("054321"));
    int64_t entry = 0;
    m->selectWebEntryChip(in.id, QStringLiteral("054321"), entry, status, message);
    EXPECT_EQ(entry, 801);
    EXPECT_EQ(status, QStringLiteral("OK"));
    m->setWebEntryStatus(801, in.id, QStringLiteral("M"), message);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(V(QStringLiteral("select results_class_id from vrk_rastilippu_entries where rastilippu_entries_id = 801")).toLongLong(),
              in.id);

    TFbQuery& q = *m->fbQueryPaymentMethodsFD;
    q.ParamByName(QStringLiteral("EVENT_ID")).SetAsLargeInt(100);
    q.ParamByName(QStringLiteral("CONTROL_CARD")).SetAsString(QStringLiteral("012345"));
    q.ParamByName(QStringLiteral("RESULTS_CLASS_ID")).Clear();
    q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);
    ASSERT_TRUE(q.Locate(QStringLiteral("OUT_SELECTED_METHOD"), QStringLiteral("K")));
    EXPECT_EQ(q.FieldByName(QStringLiteral("OUT_PAYMENT_TYPE"))->AsString(), QStringLiteral("SALDO"));
    EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("OUT_CHIP_BALANCE_BEFORE"))->AsFloat(), 50.0);
    q.Close();
    m->fbTrPaymentMethodFD->Commit();
}

TEST_F(Methods, ClassesEventsAndTheUploadQueue)
{
    int64_t classId = -1;
    QString message;
    m->insertClass(QStringLiteral("D16"), 8.5f, QString(), QString(), QStringLiteral("31,34,33"), 3.2f, 40, QString(), 100,
                   classId, message);
    EXPECT_TRUE(message.isEmpty());
    ASSERT_GT(classId, 0);
    EXPECT_EQ(V(QStringLiteral("select c.course_length from vrk_course c join vrk_class_course cc on cc.course_id = c.course_id "
                               "where cc.class_id = %1").arg(classId)).toInt(), 3200);
    m->insertClass(QStringLiteral("D16"), 8.5f, QString(), QString(), QStringLiteral("31"), 3.2f, 40, QString(), 100, classId, message);
    EXPECT_EQ(message, QStringLiteral("Tapahtumassa on jo sarja D16."));
    EXPECT_EQ(classId, 0);

    // a fee typed with the decimal comma; an unreadable fee stores nothing
    m->updateClass(QStringLiteral("H21"), QStringLiteral("12,5"), QString(), QString(), QStringLiteral("31,32,33"),
                   QStringLiteral("4600"), QString(), QString(), QString(), 301, 201, QStringLiteral("K"), message);
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    EXPECT_DOUBLE_EQ(V(QStringLiteral("select cast(fee as double precision) from vrk_class where class_id = 301")).toDouble(), 12.5);
    EXPECT_EQ(V(QStringLiteral("select course_length from vrk_course where course_id = 201")).toInt(), 4600);
    m->updateClass(QStringLiteral("H21"), QStringLiteral("kaksitoista"), QString(), QString(), QStringLiteral("31,32,33"),
                   QString(), QString(), QString(), QString(), 301, 201, QStringLiteral("K"), message);
    EXPECT_TRUE(message.startsWith(QStringLiteral("(updateClass): "))) << message.toStdString();
    EXPECT_DOUBLE_EQ(V(QStringLiteral("select cast(fee as double precision) from vrk_class where class_id = 301")).toDouble(), 12.5);

    QString err;
    m->updateClientLastEvent(100, err);
    EXPECT_TRUE(err.isEmpty());
    EXPECT_EQ(m->getClientLastEvent(), 100);
    const int before = m->getUnsentMessages();
    m->insertClientMessage(100, QStringLiteral("3"), QStringLiteral("100"), QStringLiteral("Tapahtuman kasittely alkaa"),
                           QStringLiteral("-"));
    EXPECT_EQ(m->getUnsentMessages(), before + 1);
    EXPECT_EQ(m->getUnsentMessagesWorker(), before + 1);
    const int64_t s1 = m->getNewSyncMessageId(), s2 = m->getNewSyncMessageId();
    EXPECT_GT(s1, 0);
    EXPECT_GT(s2, s1);
    m->sendAllEventMessages(100, message);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_GT(m->getUnsentMessages(), before + 1);
    m->markClassesDeleted(100, err);
    EXPECT_TRUE(err.isEmpty());
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_class where event_id = 100 and deleted = 'E'")).toInt(), 0);
    m->markClassDeleted(4242, err);
    EXPECT_FALSE(err.isEmpty());
}

// ---- dataset edit rules ----

class Rules : public Methods {
protected:
    void SetUp() override
    {
        Methods::SetUp();
        m->AttachEditRules();
        previous = SetMessageBoxHook([this](const TMessageBoxRequest& r) {
            boxes.push_back(r.Text);
            return answers.empty() ? IDOK : answers.takeFirst();
        });
    }
    void TearDown() override { SetMessageBoxHook(previous); }
    TMessageBoxHook previous;
    QStringList boxes;
    QList<int> answers;
};

TEST_F(Rules, ClubRenameToAnotherClubsNameIsRefused)
{
    f.Exec(QStringLiteral("insert into vrk_club (club_id, event_series_id, club_name) values (502, 1, 'OK Rasti');"));
    TAction n(nullptr), e(nullptr), d(nullptr);
    TEdit name(nullptr);
    QString oldName;
    bool changed = false;
    m->ClubEditor = {&n, &e, &d, &name, &oldName, &changed};
    TFbQuery& q = *m->fbQueryClubFD;
    q.ParamByName(QStringLiteral("event_series_id")).SetAsLargeInt(1);
    q.Open();
    ASSERT_TRUE(q.Locate(QStringLiteral("CLUB_ID"), 501));
    EXPECT_EQ(oldName, QStringLiteral("Helsingin Suunnistajat"));
    q.Edit();
    EXPECT_FALSE(e.Enabled());
    q.FieldByName(QStringLiteral("CLUB_NAME"))->SetAsString(QStringLiteral("OK Rasti"));
    name.SetText(QStringLiteral("OK Rasti"));
    EXPECT_THROW(q.Post(), EAbort);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].endsWith(QStringLiteral("Saman nimistä seuraa ei voi lisätä.")));
    EXPECT_EQ(q.State(), dsEdit);
    // back to the old name: posts without a check, stamped for upload
    q.FieldByName(QStringLiteral("CLUB_NAME"))->SetAsString(oldName);
    name.SetText(oldName);
    q.Post();
    m->fbTrClubFD->Commit();
    EXPECT_TRUE(changed);
    EXPECT_EQ(V(QStringLiteral("select do_sync from vrk_club where club_id = 501")).toString(), QStringLiteral("K"));
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_data_replication where repl_data = 'VRK_CLUB'")).toInt(), 1);
    // an empty name
    q.Edit();
    q.FieldByName(QStringLiteral("CLUB_NAME"))->SetAsString(QString());
    EXPECT_THROW(q.Post(), EAbort);
    EXPECT_TRUE(boxes.last().startsWith(QStringLiteral("Seuran nimi on pakollinen tieto.")));
    q.Cancel();
    q.Close();
    m->ClubEditor = {};
}

TEST_F(Rules, PersonRenameAsksTwiceAndMergeMovesRuns)
{
    TEdit name(nullptr);
    QString oldName;
    bool changed = false;
    m->PersonEditor = {nullptr, nullptr, nullptr, &name, &oldName, &changed};
    TFbQuery& q = *m->fbQueryPersonFD;
    q.ParamByName(QStringLiteral("event_series_id")).SetAsLargeInt(1);
    q.Open();
    ASSERT_TRUE(q.Locate(QStringLiteral("PERSON_ID"), 1003));
    q.Edit();
    q.FieldByName(QStringLiteral("PERSON_NAME"))->SetAsString(QStringLiteral("Korhonen Anna"));
    name.SetText(QStringLiteral("Korhonen Anna"));
    answers = {IDYES, IDNO};
    EXPECT_THROW(q.Post(), EAbort);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Olet muuttamassa henkilön nimeä.")));
    EXPECT_TRUE(boxes[1].startsWith(QStringLiteral("Löytyy jo henkilö nimellä\r\n\r\nKorhonen Anna")));
    q.FieldByName(QStringLiteral("PERSON_NAME"))->SetAsString(oldName);
    name.SetText(oldName);

    // the merge: the kept person names the person merged away
    Read run = Insert(EventDb::Emit(QStringLiteral("54321"), kCourseA));
    f.Exec(QStringLiteral("update vrk_results_class set result_status = 'V' where results_class_id = %1;").arg(run.id));
    q.FieldByName(QStringLiteral("NEW_PERSON_ID"))->SetAsLargeInt(1002);
    q.Post();
    m->fbTrPersonFD->Commit();
    EXPECT_TRUE(changed);
    EXPECT_EQ(Run(run.id, "person_id").toLongLong(), 1003);
    EXPECT_EQ(Run(run.id, "person_name").toString(), QStringLiteral("Nieminen Pekka"));
    EXPECT_EQ(V(QStringLiteral("select deleted from vrk_person where person_id = 1002")).toString(), QStringLiteral("K"));
    q.Close();
    m->PersonEditor = {};
}

TEST_F(Rules, WebEntryFeeColoursAndMainGridActions)
{
    TEdit fee(nullptr);
    TLabel caption(nullptr);
    TImage ok(nullptr);
    ok.Show();
    m->WebEntries = {&fee, &caption, &ok, nullptr, nullptr};
    f.Exec(QStringLiteral("update vrk_rastilippu_entries set payment_state = 'PAID', entry_fee = 0, "
                          "additionaldetails = 'FREE_EVENT' where rastilippu_entries_id = 801;"
                          "update vrk_rastilippu_entries set payment_state = 'PAID' where rastilippu_entries_id = 802;"));
    TFbQuery& w = *m->fbQueryWebEntriesFD;
    w.ParamByName(QStringLiteral("event_id")).SetAsLargeInt(100);
    w.Open();
    ASSERT_TRUE(w.Locate(QStringLiteral("RASTILIPPU_ENTRIES_ID"), 801));
    EXPECT_EQ(fee.Color(), clRed);
    EXPECT_EQ(caption.Font()->Color(), clRed);
    EXPECT_FALSE(ok.Visible());
    ASSERT_TRUE(w.Locate(QStringLiteral("RASTILIPPU_ENTRIES_ID"), 802));
    EXPECT_EQ(fee.Color(), clBtnFace);
    w.Close();
    m->WebEntries = {};

    TAction edit(nullptr), del(nullptr), book(nullptr);
    edit.SetEnabled(false);
    del.SetEnabled(false);
    m->MainGrid = {&edit, &del, &book};
    Read in = Insert(QString(), QStringLiteral("K"), QStringLiteral("054321"));
    f.Exec(QStringLiteral("update vrk_results_class set result_status = 'M' where results_class_id = %1;").arg(in.id));
    TFbQuery& g = *m->fbQueryResultsCFD;
    g.ParamByName(QStringLiteral("event_id")).SetAsLargeInt(100);
    g.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(QStringLiteral("FI"));
    g.Open();
    EXPECT_EQ(formMain->nMainGridCurrentResultClassId, in.id);
    EXPECT_TRUE(edit.Enabled());
    EXPECT_TRUE(del.Enabled());
    EXPECT_TRUE(book.Enabled());
    g.Close();
    m->MainGrid = {};
}

}  // namespace
