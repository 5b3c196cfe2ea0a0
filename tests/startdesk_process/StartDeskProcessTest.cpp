// The start desk as the operator runs it: the real program over a test
// database with the small fixture event, an Emit reader on a pseudo-terminal,
// and the check-in dialog driven through the program's test driver. A known
// runner paying from the card's balance, an unknown card whose runner is
// added on the spot, a runner with a web entry and a rented card are checked
// in; afterwards the runs are in the database with their courses, fees and
// balances, and each reached the stand-in web service, no message applied
// twice. The web entry comes from the service as this computer's first
// download.

#include "resources/MainWindowTexts.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/SimulatedReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kDialog = QStringLiteral("formResultsClassForest");

QString In(const char* Component) { return kDialog + QLatin1Char('.') + QLatin1String(Component); }

// A card as it lies on the reader at the start: the start punch only.
TEmitCard Card(uint32_t Number)
{
    TEmitCard c;
    c.Number = Number;
    c.Week = 33;
    c.Year = 21;
    c.Punches = {{0, 0}};
    return c;
}

class StartDeskProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile fixture(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
        ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
        p.Exec(QString::fromUtf8(fixture.readAll()));
        // This computer is linked, follows the series, last processed event
        // 100, which is today's and uses web entries.
        p.Exec(QStringLiteral("update vrk_client set in_use = 'E' where client_id = 7;\n"
                              "execute procedure E_CLIENT.INSERT_CLIENT(5, 'Lähtökone', 'Iltarastit', 'K', null, '%1', 's3cret');\n"
                              "update vrk_client set last_event_id = 100 where client_id = 5;\n"
                              "insert into vrk_client_event_series (client_id, event_series_id) values (5, 1);\n"
                              "update vrk_event set event_date = current_date, web_entries = 'K' where event_id = 100;\n"
                              "delete from vrk_rastilippu_entries where rastilippu_entries_id = 801;\n"
                              "delete from vrk_data_replication;")
                   .arg(txt::ProgramVersion));
        ASSERT_NO_FATAL_FAILURE(StartService());
        p.Options.ReaderPort = Reader.PortPath();
        p.Options.ExtraDeviceLines = {{QStringLiteral("UI"), QStringLiteral("LANGUAGE=1")}};
    }
    void TearDown() override
    {
        p.Kill();
        Service.kill();
        Service.waitForFinished(5000);
    }

    // The stand-in web service knows this computer and owes it its first
    // download: Korhonen Anna's web entry for card 054321.
    void StartService()
    {
        const QByteArray account = R"({"account": "Iltarastit", "temp_codes": [],
            "clients": [{"client_id": "5", "client_name": "Lähtökone", "owner": "Iltarastit", "in_use": "K",
                         "client_secret": "s3cret", "first_use_download": true}],
            "tables": {"vrk_rastilippu_entries": [{"rastilippu_entries_id": "801", "event_id": "100",
                "registration_time": "2026-12-10T12:00:00", "sport_id": "", "emit_nr": "054321", "last_name": "Korhonen",
                "first_name": "Anna", "status": "I", "rental_emit": "E", "entry_fee": "12", "payment_state": "E",
                "inserted": "2026-12-10T12:00:00", "updated": "2026-12-10T12:00:00"}]}})";
        p.Home.Write(QStringLiteral("account.json"), account);
        Service.start(QStringLiteral(SORVEX_BIN_DIR "/sorvex-webservice"),
                      {QStringLiteral("--demo"), p.Home.File(QStringLiteral("account.json")), QStringLiteral("--uploads-out"),
                       p.Home.File(QStringLiteral("uploads.json"))});
        ASSERT_TRUE(Service.waitForStarted(10000));
        while (p.Options.CaFile.isEmpty() && Service.waitForReadyRead(15000))
            while (Service.canReadLine()) {
                const QString line = QString::fromUtf8(Service.readLine()).trimmed();
                const QString value = line.section(QLatin1Char('='), 1);
                if (line.startsWith(QStringLiteral("REST_BASE_URL=")))
                    p.Options.RestBaseUrl = value;
                else if (line.startsWith(QStringLiteral("REST_BASE_URL_V2=")))
                    p.Options.RestBaseUrlV2 = value;
                else if (line.startsWith(QStringLiteral("SORVEX_CA_FILE=")))
                    p.Options.CaFile = value;
            }
        ASSERT_FALSE(p.Options.CaFile.isEmpty()) << "the web service did not start";
    }
    // Waits until the main window has shown no unsent messages for longer
    // than two of the web worker's cycles.
    bool AllSent(int TimeoutMs)
    {
        QElapsedTimer clock, zero;
        clock.start();
        while (clock.elapsed() < TimeoutMs) {
            if (d().Get(QStringLiteral("formMain.edtLahettamatta")).Text != QStringLiteral("0"))
                zero.invalidate();
            else if (!zero.isValid())
                zero.start();
            else if (zero.elapsed() > 5000)
                return true;
            QThread::msleep(250);
        }
        return false;
    }
    // Waits until the web entry has come down: the check-in of a new run
    // without a card lists the open entries; cancelling it leaves nothing.
    bool WebEntryArrived(const QString& Card, int TimeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < TimeoutMs) {
            if (!d().Click(QStringLiteral("formMain.actMainGridNew")) || !d().Wait(In("btnCancel")))
                return false;
            const bool listed = d().Grid(In("rdbgrdWebEntries")).Text.contains(Card);
            if (!d().Click(In("btnCancel")) || !d().Gone(kDialog))
                return false;
            if (listed)
                return true;
            QThread::msleep(500);
        }
        return false;
    }

    // A check-in through the reader: the card opens the dialog.
    void Read(uint32_t Number)
    {
        Reader.Place(Card(Number), 4);
        if (!d().Wait(In("btnOK"), 15000)) {
            // What the program said instead: its boxes and the end of its day log.
            QString log;
            for (const QString& f : QDir(p.Home.File(QStringLiteral("log"))).entryList(QDir::Files))
                log += QString::fromUtf8(p.Home.Read(QStringLiteral("log/") + f).right(2000));
            FAIL() << "card " << Number << " opened no check-in; boxes: " << d().Boxes().Text.toStdString()
                   << "\nlog: " << log.toStdString();
        }
        Reader.Wait();
    }
    // The course from the keyboard: F6, then the arrows step through the
    // list, each step choosing; up to the top first, then down to the course.
    bool ChooseCourse(const QString& Name)
    {
        if (!d().Key(kDialog, QStringLiteral("F6")))
            return false;
        for (int i = 0; i < 8; ++i)
            d().Key(In("edtClassCourse"), QStringLiteral("Up"));
        for (int i = 0; i < 8; ++i) {
            if (d().Get(In("lblMenu2")).Text == QStringLiteral("Rata: ") + Name)
                return true;
            d().Key(In("edtClassCourse"), QStringLiteral("Down"));
        }
        return false;
    }
    void Save()
    {
        if (const QString shots = qEnvironmentVariable("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
            d().Grab(kDialog, shots + QStringLiteral("/startdesk_checkin_%1.png").arg(++FShot));
        ASSERT_TRUE(d().Click(In("btnOK"))) << d().LastError().toStdString();
        ASSERT_TRUE(d().Gone(kDialog, 15000)) << d().LastError().toStdString() << " boxes: "
                                              << d().Boxes().Text.toStdString();
    }
    QVariant Run(const QString& Card, const char* Columns)
    {
        return p.Value(QStringLiteral("select %1 from vrk_results_class where event_id = 100 and control_card = '%2'")
                           .arg(QLatin1String(Columns), Card));
    }
    TDriverClient& d() { return p.Driver; }

    SimulatedReader Reader;
    TProgramUnderTest p;
    QProcess Service;
    int FShot = 0;
};

TEST_F(StartDeskProcess, FourRunnersCheckedInThroughTheReaderAndTheDialog)
{
    ASSERT_TRUE(p.Start()) << p.LastError().toStdString();
    ASSERT_TRUE(d().Wait(QStringLiteral("formMain"), 20000)) << d().LastError().toStdString();
    // the last event is chosen at the start; processing it, at the start desk
    ASSERT_TRUE(d().Click(QStringLiteral("formMain.actMaaliAloita"))) << d().LastError().toStdString();
    ASSERT_TRUE(d().Key(QStringLiteral("formMain.tabKasittely"), QStringLiteral("Left"))) << d().LastError().toStdString();

    // 1. a known runner: the card's owner, paid from the card's balance
    ASSERT_NO_FATAL_FAILURE(Read(12345));
    EXPECT_TRUE(d().Get(In("lblMenu1")).Text.contains(QStringLiteral("Virtanen Matti")));
    ASSERT_TRUE(ChooseCourse(QStringLiteral("H21")));
    Save();
    // the main window shows the run as the last one handled
    EXPECT_EQ(d().Get(QStringLiteral("formMain.lblNimi")).Text, QStringLiteral("Virtanen Matti"));
    EXPECT_EQ(d().Get(QStringLiteral("formMain.lblTulos")).Text, QStringLiteral("Maastoon"));

    // 2. an unknown card: the runner is added in the person editor
    ASSERT_NO_FATAL_FAILURE(Read(456789));
    ASSERT_TRUE(d().Click(In("btnPersonAdd"))) << d().LastError().toStdString();
    ASSERT_TRUE(d().Wait(QStringLiteral("formPerson.btnOK"))) << d().LastError().toStdString();
    ASSERT_TRUE(d().Set(QStringLiteral("formPerson.edtPERSON_NAME"), QStringLiteral("Mäkinen Uuno")));
    ASSERT_TRUE(d().Click(QStringLiteral("formPerson.btnOK")));
    ASSERT_TRUE(d().Gone(QStringLiteral("formPerson"))) << d().LastError().toStdString();
    EXPECT_TRUE(d().Get(In("lblMenu1")).Text.contains(QStringLiteral("Mäkinen Uuno")));
    ASSERT_TRUE(ChooseCourse(QStringLiteral("D21")));
    Save();

    // 3. a runner with a web entry for the card: the entry is attached
    ASSERT_TRUE(WebEntryArrived(QStringLiteral("054321"), 30000)) << d().Boxes().Text.toStdString();
    ASSERT_NO_FATAL_FAILURE(Read(54321));
    // the entry names a person of the series: the operator is asked to check
    EXPECT_EQ(d().Get(In("lblMenu1")).Text, QStringLiteral("Varmista, että valittu henkilö on oikea."));
    ASSERT_TRUE(ChooseCourse(QStringLiteral("D21")));
    Save();

    // 4. a rented card: the runner is found by the search
    ASSERT_NO_FATAL_FAILURE(Read(77777));
    EXPECT_FALSE(d().Get(In("lblLainakortti")).Text.isEmpty());
    ASSERT_TRUE(d().Set(In("edtSearchPersons"), QStringLiteral("nieminen")));
    ASSERT_TRUE(d().Key(In("edtSearchPersons"), QStringLiteral("Enter")));
    EXPECT_TRUE(d().Get(In("lblMenu1")).Text.contains(QStringLiteral("Nieminen Pekka")));
    ASSERT_TRUE(ChooseCourse(QStringLiteral("H21")));
    Save();

    const QString shots = qEnvironmentVariable("SORVEX_DRIVER_SHOTS");
    if (!shots.isEmpty())
        d().Grab(QStringLiteral("formMain"), shots + QStringLiteral("/startdesk_main.png"));
    ASSERT_TRUE(AllSent(30000)) << "unsent: " << d().Get(QStringLiteral("formMain.edtLahettamatta")).Text.toStdString();
    d().Answer(QStringLiteral("IDYES"));
    ASSERT_TRUE(p.QuitAndWait()) << p.LastError().toStdString();

    // What the service received, once it has stopped.
    Service.terminate();
    ASSERT_TRUE(Service.waitForFinished(10000));
    const QJsonArray uploads = QJsonDocument::fromJson(p.Home.Read(QStringLiteral("uploads.json"))).array();
    ASSERT_FALSE(uploads.isEmpty());

    // The runs: person, course, fee and payment as checked in.
    struct Expected {
        const char* Card;
        QString Person;
        qlonglong ClassCourse;
        QString Payment;  // type / method / fee paid / balance before, in cents / rented card
    };
    for (const Expected& e : {Expected{"012345", QStringLiteral("Virtanen Matti"), 401, QStringLiteral("SALDO/601/1200/5000/E")},
                              Expected{"456789", QStringLiteral("Mäkinen Uuno"), 402, QStringLiteral("MAKSU/601/1200/0/E")},
                              Expected{"054321", QStringLiteral("Korhonen Anna"), 402, QStringLiteral("MAKSU/601/1200/0/E")},
                              Expected{"077777", QStringLiteral("Nieminen Pekka"), 401, QStringLiteral("MAKSU/601/1200/0/K")}}) {
        const QString card = QString::fromLatin1(e.Card);
        EXPECT_EQ(Run(card, "count(*)").toInt(), 1) << e.Card;
        EXPECT_EQ(Run(card, "result_status").toString(), QStringLiteral("M")) << e.Card;
        EXPECT_EQ(Run(card, "person_name").toString(), e.Person) << e.Card;
        EXPECT_EQ(Run(card, "class_course_id").toLongLong(), e.ClassCourse) << e.Card;
        const QString payment =
            Run(card, "coalesce(payment_type, '-') || '/' || coalesce(payment_method_id, -1) || '/' || "
                      "coalesce(cast(payment_price * 100 as integer), -1) || '/' || "
                      "coalesce(cast(chip_balance_before * 100 as integer), -1) || '/' || rented_chip")
                .toString();
        EXPECT_EQ(payment, e.Payment) << e.Card;
        // sent: nothing of the run is left in the upload queue
        EXPECT_EQ(p.Value(QStringLiteral("select count(*) from vrk_data_replication r join vrk_results_class c on "
                                         "c.results_class_id = r.repl_data_id where r.repl_data = 'VRK_RESULTS_CLASS' "
                                         "and c.control_card = '%1'")
                              .arg(card))
                      .toInt(),
                  0)
            << e.Card;
        // at the service: the run as saved, each message once
        const qlonglong id = Run(card, "results_class_id").toLongLong();
        QJsonObject last;
        QStringList messages;
        for (const QJsonValue& v : uploads) {
            const QJsonObject r = v.toObject();
            if (r.value(QStringLiteral("results_class_id")).toVariant().toLongLong() != id)
                continue;
            last = r;
            messages << r.value(QStringLiteral("client_message_id")).toVariant().toString();
        }
        ASSERT_FALSE(messages.isEmpty()) << e.Card << " never reached the service";
        EXPECT_EQ(messages.removeDuplicates(), 0) << e.Card;
        EXPECT_EQ(last.value(QStringLiteral("class_course_id")).toVariant().toLongLong(), e.ClassCourse) << e.Card;
        EXPECT_EQ(last.value(QStringLiteral("result_status")).toString(), QStringLiteral("M")) << e.Card;
    }
    EXPECT_EQ(Run(QStringLiteral("077777"), "rented_chip").toString(), QStringLiteral("K"));
    EXPECT_EQ(p.Value(QStringLiteral("select r.control_card from vrk_rastilippu_entries e join vrk_results_class r on "
                                     "r.results_class_id = e.results_class_id where e.rastilippu_entries_id = 801"))
                  .toString(),
              QStringLiteral("054321"));
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from vrk_person where person_name = 'Mäkinen Uuno' and deleted = 'E'")).toInt(),
              1);
}

}  // namespace
