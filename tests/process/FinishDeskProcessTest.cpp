// The finish desk in the real program: the reader simulator writes cards into
// a pseudo-terminal that the program opens as its reader; each read opens the
// finish dialog, which the test accepts through the driver; the receipt comes
// out of a second pseudo-terminal and the run shows in the results grid.

#include "tests/support/FixtureRunners.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/SimulatedReader.h"
#include "tools/webservice/WebServiceServer.h"
#include "resources/FinishDeskTexts.h"
#include "resources/MainWindowTexts.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString Fixture()
{
    QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

// The clean read's receipt for the fixture event held today.
QByteArray ExpectedReceipt()
{
    QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/tests/finishdesk/golden/receipt_clean_epr3.bin"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll().replace("01.06.2024", QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toLatin1());
}

std::string S(const QString& Text)
{
    return Text.toStdString();
}

}  // namespace

class FinishDeskProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.Exec(Fixture());
        // held today, on a computer linked with this version
        p.Exec(QStringLiteral("update VRK_EVENT set EVENT_DATE = current_date where EVENT_ID = 100;"
                              "update VRK_CLIENT set CLIENT_VERSION = '26.1', CLIENT_SECRET = 's3cret' where CLIENT_ID = 7;"
                              "insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (7, 1);"));
        p.Options.ReaderPort = Reader.PortPath();
        p.Options.PrinterPort = Printer.NearPath();
        p.Options.PrinterType = 1;
        // Finnish receipts
        p.Options.ExtraDeviceLines = {{QStringLiteral("CHIP_READER"), QStringLiteral("READ_DELAY=0")},
                                      {QStringLiteral("UI"), QStringLiteral("LANGUAGE=1")}};
    }

    void Launch()
    {
        ASSERT_TRUE(p.Start()) << S(p.LastError());
        ASSERT_TRUE(d.Wait(QStringLiteral("formMain.tvMainTree"), 20000)) << S(d.LastError());
    }

    // Chooses the fixture event in the tree and starts its finish desk (the
    // reader on Port, or on the fixture's reader).
    void StartFinishDesk(const QString& Port = QString())
    {
        // the series opens to its events as the user expands it
        ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnTreeExpand"))) << S(d.LastError());
        const QStringList nodes = d.Tree(QStringLiteral("formMain.tvMainTree")).Lines().filter(QStringLiteral("Iltarastit 1"));
        ASSERT_EQ(nodes.size(), 1) << S(d.Tree(QStringLiteral("formMain.tvMainTree")).Text);
        ASSERT_TRUE(d.Select(QStringLiteral("formMain.tvMainTree"), nodes[0].trimmed())) << S(d.LastError());
        ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnAloita"))) << S(d.LastError());
        // the guidance marks the reader ready once its port is open
        ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.lblMenu3"), Port.isEmpty() ? Reader.PortPath() : Port)) << S(d.LastError());
        ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.imgMenu3"), QStringLiteral("\u2714"))) << S(d.LastError()) << S(p.DialogLog());
    }

    SimulatedReader Reader;
    PtyPair Printer;
    TProgramUnderTest p;
    TDriverClient& d = p.Driver;
};

TEST_F(FinishDeskProcess, EachCardOpensTheDialogIsAcceptedPrintedAndListed)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
    // a known runner, clean
    Reader.Place(FixtureCard(12345), 4);
    ASSERT_TRUE(d.Wait(QStringLiteral("formResultsClass2.btnOK"), 15000)) << S(d.LastError()) << S(p.DialogLog()) << S(p.DayLog());
    Reader.Wait();
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formResultsClass2"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_finish_dialog.png"));
    ASSERT_TRUE(d.Click(QStringLiteral("formResultsClass2.btnOK"))) << S(d.LastError());
    ASSERT_TRUE(d.Gone(QStringLiteral("formResultsClass2"))) << S(d.LastError());
    const QByteArray receipt = ExpectedReceipt();
    EXPECT_EQ(Printer.ReadFar(receipt.size(), 5000).toHex(' ').toStdString(), receipt.toHex(' ').toStdString());

    // an unknown card: kept at this desk, no receipt
    Reader.Place(FixtureCard(44444), 4);
    ASSERT_TRUE(d.Wait(QStringLiteral("formResultsClass2.btnOK"), 15000)) << S(d.LastError());
    Reader.Wait();
    // the operator puts the run in the class sharing H21's course
    ASSERT_TRUE(d.Set(QStringLiteral("formResultsClass2.edtClassCourse"), QStringLiteral("H35"))) << S(d.LastError());
    EXPECT_TRUE(d.Get(QStringLiteral("formResultsClass2.edtClassCourse")).Text.startsWith(QStringLiteral("H35")))
        << S(d.Get(QStringLiteral("formResultsClass2.edtClassCourse")).Text);
    ASSERT_TRUE(d.Click(QStringLiteral("formResultsClass2.btnOK"))) << S(d.LastError());
    ASSERT_TRUE(d.Gone(QStringLiteral("formResultsClass2"))) << S(d.LastError());
    EXPECT_TRUE(Printer.ReadFar(1, 300).isEmpty());

    // the results grid shows both runs
    const QStringList rows = d.Grid(QStringLiteral("formMain.rdbgrdResultsClass")).Lines();
    ASSERT_EQ(rows.size(), 3) << S(rows.join(QLatin1Char('\n')));
    EXPECT_EQ(rows.filter(QStringLiteral("Virtanen Matti")).size(), 1) << S(rows.join(QLatin1Char('\n')));
    EXPECT_EQ(rows.filter(QStringLiteral("044444")).size(), 1) << S(rows.join(QLatin1Char('\n')));
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formMain"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_finish_main.png"));

    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where RESULT_STATUS in ('V', 'L')")).toInt(), 2);
    EXPECT_EQ(p.Value(QStringLiteral("select CLASS_COURSE_ID from VRK_RESULTS_CLASS where CONTROL_CARD = '044444'")).toInt(), 403);
}

TEST_F(FinishDeskProcess, SelfServiceWithTheBoardShownAcceptsRegisteredCardsWithoutAClick)
{
    constexpr int kCards = 3;
    p.Exec(RegisteredRunnersScript(kCards, 20000, 300000, 30000, QStringLiteral("current_timestamp")));
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnTulos"))) << S(d.LastError());
    ASSERT_TRUE(d.Wait(QStringLiteral("formResultBoard"))) << S(d.LastError());
    for (int i = 1; i <= kCards; ++i) {
        Reader.Place(FixtureCard(300000 + i), 4);
        const QString name = QStringLiteral("Juoksija %1").arg(i);
        ASSERT_TRUE(d.WaitFor(QStringLiteral("formResultBoard.fcNimi"), name, 15000)) << S(d.LastError()) << S(p.DialogLog());
        EXPECT_TRUE(d.WaitFor(QStringLiteral("formResultBoard.fcAika"), QStringLiteral("25:00"), 2000))
            << S(d.Get(QStringLiteral("formResultBoard.fcAika")).Text);
        Reader.Wait();
        // the receipt, up to its paper feed
        QByteArray receipt;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000 && !receipt.endsWith("\n\n\n\n\n"))
            receipt += Printer.ReadFar(1, 100);
        EXPECT_TRUE(receipt.contains(name.toLatin1())) << i << " " << receipt.toStdString();
    }
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formResultBoard"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_board.png"));
    const TDriverReply windows = d.Windows();
    EXPECT_FALSE(windows.Text.contains(QStringLiteral("formResultsClass2"))) << S(windows.Text);
    EXPECT_TRUE(p.DialogLog().isEmpty()) << S(p.DialogLog());

    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where RESULT_STATUS = 'V'")).toInt(), kCards);
}

// Two runners back to back, the second card put on while the first one's read
// is still being handled, and lifted before reading comes on again.
TEST_F(FinishDeskProcess, SelfServiceReadsTheSecondOfTwoCardsBackToBack)
{
    p.Exec(RegisteredRunnersScript(2, 20000, 300000, 30000, QStringLiteral("current_timestamp")));
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnTulos"))) << S(d.LastError());
    ASSERT_TRUE(d.Wait(QStringLiteral("formResultBoard"))) << S(d.LastError());
    Reader.Simulator().SetPacing(false);
    Reader.Place(FixtureCard(300001), 4);
    Reader.Place(FixtureCard(300002), 4);
    Reader.Wait();
    ASSERT_TRUE(d.WaitFor(QStringLiteral("formResultBoard.fcNimi"), QStringLiteral("Juoksija 2"), 15000))
        << S(d.Get(QStringLiteral("formResultBoard.fcNimi")).Text) << S(p.DialogLog()) << S(p.DayLog());
    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where RESULT_STATUS = 'V'")).toInt(), 2);
}

// A card read again, with another card between and twice in a row, at a desk
// without the board: the operator is asked (No preselected) and sees the
// repeat in the "Viimeisin käsitelty" box; no second run is stored.
TEST_F(FinishDeskProcess, ACardReadAgainIsToldAndStoredOnce)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
    for (const uint32_t card : {12345u, 54321u}) {
        Reader.Place(FixtureCard(card), 4);
        ASSERT_TRUE(d.Wait(QStringLiteral("formResultsClass2.btnOK"), 15000)) << S(d.LastError()) << S(p.DialogLog());
        Reader.Wait();
        ASSERT_TRUE(d.Click(QStringLiteral("formResultsClass2.btnOK"))) << S(d.LastError());
        ASSERT_TRUE(d.Gone(QStringLiteral("formResultsClass2"))) << S(d.LastError());
    }
    // the first card again: asked, and No (the preselected answer) stores nothing
    Reader.Place(FixtureCard(12345), 4);
    QElapsedTimer clock;
    clock.start();
    while (!p.DialogLog().contains(QStringLiteral("Luettu sama kilpailukortti uudelleen")) && clock.elapsed() < 15000)
        QThread::msleep(50);
    EXPECT_TRUE(p.DialogLog().contains(QStringLiteral("Luettu sama kilpailukortti uudelleen. Haluatko käsitellä sen?")))
        << S(p.DialogLog()) << S(p.DayLog());
    Reader.Wait();
    // ... and again at once: dropped as the card just read, and the box says so
    Reader.Place(FixtureCard(12345), 4);
    EXPECT_TRUE(d.WaitFor(QStringLiteral("formMain.grpLastResult"), QStringLiteral("Sama kilpailukortti luettu uudelleen."), 15000))
        << S(d.Get(QStringLiteral("formMain.grpLastResult")).Text) << S(p.DayLog());
    Reader.Wait();
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formMain"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_read_again_main.png"));
    const TDriverReply windows = d.Windows();
    EXPECT_FALSE(windows.Text.contains(QStringLiteral("formResultsClass2"))) << S(windows.Text);
    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where CONTROL_CARD = '012345'")).toInt(), 1);
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS")).toInt(), 2);
}

// At the self-service board a runner who reads the card again after another
// runner is told so and sees the own result again, listed once; a card left
// on the reader gets the same, never the read error.
TEST_F(FinishDeskProcess, SelfServiceTellsARunnerWhoReadsTheCardAgain)
{
    p.Exec(RegisteredRunnersScript(2, 20000, 300000, 30000, QStringLiteral("current_timestamp")));
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnTulos"))) << S(d.LastError());
    ASSERT_TRUE(d.Wait(QStringLiteral("formResultBoard"))) << S(d.LastError());
    for (int i = 1; i <= 2; ++i) {
        Reader.Place(FixtureCard(300000 + i), 4);
        ASSERT_TRUE(d.WaitFor(QStringLiteral("formResultBoard.fcNimi"), QStringLiteral("Juoksija %1").arg(i), 15000))
            << S(d.LastError()) << S(p.DialogLog());
        Reader.Wait();
    }
    Reader.Place(FixtureCard(300001), 4);
    ASSERT_TRUE(d.WaitFor(QStringLiteral("formResultBoard.fcpNextChipPanel"), QStringLiteral("Sama kilpailukortti luettu uudelleen."),
                          15000))
        << S(d.Get(QStringLiteral("formResultBoard.fcpNextChipPanel")).Text) << S(p.DayLog());
    EXPECT_TRUE(d.WaitFor(QStringLiteral("formResultBoard.fcNimi"), QStringLiteral("Juoksija 1"), 5000))
        << S(d.Get(QStringLiteral("formResultBoard.fcNimi")).Text);
    int listed = 0;
    for (int row = 1; row <= 13; ++row)
        if (d.Get(QStringLiteral("formResultBoard.lblP%1Nimi").arg(row)).Text == QLatin1String("Juoksija 1"))
            ++listed;
    EXPECT_EQ(listed, 1);
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formResultBoard"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_board_read_again.png"));
    Reader.Wait();
    EXPECT_FALSE(d.Get(QStringLiteral("formResultBoard.fcpNextChipPanel")).Text.contains(QStringLiteral("epäonnistui")));
    EXPECT_TRUE(p.DialogLog().isEmpty()) << S(p.DialogLog());
    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS")).toInt(), 2);
}

// The reader's cable pulled while reading (its pseudo-terminal closed) and
// plugged back (a new one under the same port name, as the system's stable
// name of a USB adapter comes back): one message, the reader state red at
// once, no question about ending the program, and the next card read after
// "Virkistä laitteet" and, the second time, by itself.
TEST_F(FinishDeskProcess, APulledReaderIsReportedOnceAndReadsAgainWhenPluggedBack)
{
    const QString port = p.Home.File(QStringLiteral("lukija"));
    auto reader = std::make_unique<SimulatedReader>();
    ASSERT_TRUE(QFile::link(reader->PortPath(), port));
    p.Options.ReaderPort = port;
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(StartFinishDesk(port));
    const auto pull = [&] {
        reader->Pty().CloseFar();
        ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.imgMenu3"), QStringLiteral("!"), 5000)) << S(d.LastError()) << S(p.DialogLog());
        ASSERT_TRUE(QFile::remove(port));
        reader.reset();
    };
    const auto plugBack = [&] {
        reader = std::make_unique<SimulatedReader>();
        ASSERT_TRUE(QFile::link(reader->PortPath(), port));
    };
    const auto readCard = [&](int Card) {
        reader->Place(FixtureCard(Card), 4);
        ASSERT_TRUE(d.Wait(QStringLiteral("formResultsClass2.btnOK"), 15000)) << S(d.LastError()) << S(p.DialogLog()) << S(p.DayLog());
        reader->Wait();
        ASSERT_TRUE(d.Click(QStringLiteral("formResultsClass2.btnOK"))) << S(d.LastError());
        ASSERT_TRUE(d.Gone(QStringLiteral("formResultsClass2"))) << S(d.LastError());
    };

    ASSERT_NO_FATAL_FAILURE(pull());
    // the device form shows the same state, with its own "Virkistä"
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnLaitteet"))) << S(d.LastError());
    ASSERT_TRUE(d.WaitFor(QStringLiteral("FormEmitReader.imgDeviceState"), QStringLiteral("!"), 5000)) << S(d.LastError());
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("FormEmitReader"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_devices_lost.png"));
    ASSERT_NO_FATAL_FAILURE(plugBack());
    ASSERT_TRUE(d.Click(QStringLiteral("FormEmitReader.tbtnVirkista"))) << S(d.LastError());
    ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.imgMenu3"), QStringLiteral("\u2714"), 5000)) << S(d.LastError()) << S(p.DialogLog());
    EXPECT_TRUE(d.WaitFor(QStringLiteral("FormEmitReader.imgDeviceState"), QStringLiteral("\u2714"), 2000)) << S(d.LastError());
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("FormEmitReader"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_devices.png"));
    ASSERT_TRUE(d.Click(QStringLiteral("FormEmitReader.btnOK"))) << S(d.LastError());
    ASSERT_NO_FATAL_FAILURE(readCard(12345));

    ASSERT_NO_FATAL_FAILURE(pull());
    ASSERT_NO_FATAL_FAILURE(plugBack());
    ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.imgMenu3"), QStringLiteral("\u2714"), 5000)) << S(d.LastError()) << S(p.DialogLog());
    ASSERT_NO_FATAL_FAILURE(readCard(44444));

    const QString boxes = p.DialogLog();
    const QString lost = fdtxt::ReaderLost.left(fdtxt::ReaderLost.indexOf(QLatin1Char('(')));
    EXPECT_EQ(boxes.count(lost), 2) << S(boxes);
    EXPECT_TRUE(boxes.contains(QStringLiteral("Device read error"))) << S(boxes);
    EXPECT_FALSE(boxes.contains(QStringLiteral("Yllättävä"))) << S(boxes);
    EXPECT_FALSE(boxes.contains(txt::CloseQuestion)) << S(boxes);
    EXPECT_FALSE(boxes.contains(QStringLiteral("ie_Open"))) << S(boxes);
    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS")).toInt(), 2);
}

// SIGTERM (a logout, `timeout`) and SIGINT (Ctrl+C in the terminal) close the
// program as the user's close does, also from inside a modal dialog: within
// 5 seconds, the layout saved, the database closed (the test can open it).
TEST_F(FinishDeskProcess, SigtermAndSigintCloseTheProgramSavingItsLayout)
{
    struct TCase {
        int Signal;
        bool InDialog;
    };
    for (const TCase c : {TCase{SIGTERM, false}, TCase{SIGINT, true}}) {
        SCOPED_TRACE(c.Signal);
        QFile::remove(p.Home.File(QStringLiteral("sorvex.ini")));
        ASSERT_NO_FATAL_FAILURE(Launch());
        ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
        if (c.InDialog) {
            Reader.Place(FixtureCard(12345), 4);
            ASSERT_TRUE(d.Wait(QStringLiteral("formResultsClass2.btnOK"), 15000)) << S(d.LastError());
            Reader.Wait();
        }
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(p.Signal(c.Signal));
        ASSERT_TRUE(p.WaitEnded(5000)) << S(p.DayLog());
        EXPECT_LT(clock.elapsed(), 5000);
        const QString layout = QString::fromUtf8(p.Home.Read(QStringLiteral("sorvex.ini")));
        EXPECT_TRUE(layout.contains(QStringLiteral("[formMain.rdbgrdResultsClass]"))) << S(layout);
        EXPECT_TRUE(layout.contains(QStringLiteral("[formMain_XY]"))) << S(layout);
        EXPECT_TRUE(p.DayLog().contains(txt::CloseBySignal + QString::fromLatin1(c.Signal == SIGTERM ? "SIGTERM" : "SIGINT")))
            << S(p.DayLog());
        EXPECT_FALSE(p.DialogLog().contains(txt::CloseQuestion)) << S(p.DialogLog());
        EXPECT_EQ(p.Value(QStringLiteral("select count(*) from VRK_CLIENT where CLIENT_ID = 7")).toInt(), 1);
    }
}

// Started again without the web service (no network at the finish, or the
// service down behind its proxy): the event chosen at the last start is
// chosen again, the failed calendar download says so once, and one press of
// "Aloita" starts the desk.
TEST_F(FinishDeskProcess, AnOfflineRestartKeepsTheChosenEventAndStartsAtTheFirstPress)
{
    webservice::TWebServiceServer service;
    for (const bool answering : {false, true}) {
        SCOPED_TRACE(answering);
        if (answering) {
            service.FailNextCalls(100000, 503, QByteArray("<html>Service Unavailable</html>"));
            p.Options.RestBaseUrl = service.FirstBaseURL();
            p.Options.RestBaseUrlV2 = service.SecondBaseURL();
            p.Options.CaFile = service.CertificateFile();
        } else {
            p.Options.RestBaseUrl = QStringLiteral("https://127.0.0.1:9/");
            p.Options.RestBaseUrlV2 = QStringLiteral("https://127.0.0.1:9/");
        }
        ASSERT_NO_FATAL_FAILURE(Launch());
        ASSERT_NO_FATAL_FAILURE(StartFinishDesk());
        ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
        QFile::remove(p.Home.File(QStringLiteral("dialogs.log")));

        ASSERT_NO_FATAL_FAILURE(Launch());
        // the calendar download a second after the start fails
        QThread::msleep(3000);
        ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.lblMenu1"), QStringLiteral("Valitse tapahtuma"), 5000)) << S(d.LastError());
        EXPECT_TRUE(d.Get(QStringLiteral("formMain.btnAloita")).Text.contains(QStringLiteral("Aloita")));
        ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnAloita"))) << S(d.LastError()) << S(p.DialogLog());
        EXPECT_TRUE(d.WaitFor(QStringLiteral("formMain.imgMenu3"), QStringLiteral("\u2714"), 5000))
            << S(d.LastError()) << S(p.DialogLog()) << S(p.DayLog());
        // at most the calendar's and the course data's own box
        EXPECT_LE(p.DialogLog().count(QStringLiteral("----")), 2) << S(p.DialogLog());
        EXPECT_FALSE(p.DialogLog().contains(QStringLiteral("]\n") + txt::WebNoConnection + QStringLiteral("\n----"))) << S(p.DialogLog());
        ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    }
}
