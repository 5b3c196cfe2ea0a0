// An event day with the real program, end to end: first use registers the
// computer with the stand-in web service by its temporary code and the
// series' data downloads; the finish desk starts today's event (its classes
// and courses download); every runner checks in at the start desk (the card
// on the reader opens the check-in, the course is chosen, saved); then the
// finish desk serves itself with the result board open and every runner has
// the card read, which ends in a receipt on the printer's line, a run in the
// database with its status, and the same run at the web service. At the end
// of the day the results grid is exported to a workbook.
//
// The runners are few by default so the suite stays short; set
// SORVEX_EVENT_DAY_RUNNERS (e.g. 200) for the full size. With 50 or more the
// time from putting a card on the reader to the receipt's last byte is
// printed.

#include "tests/support/ProgramUnderTest.h"
#include "tests/support/PtyPair.h"
#include "tests/support/SimulatedReader.h"
#include "tests/output/XlsxReadBack.h"
#include "tests/system/Scenario.h"
#include "tools/webservice/WebServiceServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

constexpr int kFirstCard = 500000;

int Runners()
{
    const int n = qEnvironmentVariableIntValue("SORVEX_EVENT_DAY_RUNNERS");
    return n > 0 ? n : 8;
}

// Course A of the demo event: 31, 32, 33, the finish unit 100, in 25:02
// (the card of the README's example).
TEmitCard DemoCourseACard(uint32_t Number)
{
    TEmitCard c;
    TEmitCard::Parse(QStringLiteral("%1:12:19,0/0,31/410,32/905,33/1290,100/1502,250/1510").arg(Number), c);
    return c;
}

// A card as it lies on the reader at the start: the start punch only.
TEmitCard StartCard(uint32_t Number)
{
    TEmitCard c;
    TEmitCard::Parse(QStringLiteral("%1:12:19,0/0").arg(Number), c);
    return c;
}

const QString kCheckIn = QStringLiteral("formResultsClassForest");

QString CheckIn(const char* Component) { return kCheckIn + QLatin1Char('.') + QLatin1String(Component); }

// The runner at the start desk: the card on the reader opens the check-in,
// the operator chooses the course and saves.
void CheckInAtStartDesk(SimulatedReader& Reader, TProgramUnderTest& Desk, uint32_t Card, const QString& Course)
{
    TDriverClient& drv = Desk.Driver;
    Reader.Place(StartCard(Card), 4);
    ASSERT_TRUE(drv.Wait(CheckIn("btnOK"), 15000)) << "card " << Card << " opened no check-in; boxes: "
                                                   << drv.Boxes().Text.toStdString();
    Reader.Wait();
    EXPECT_TRUE(drv.Get(CheckIn("lblMenu1")).Text.contains(QStringLiteral("Juoksija %1").arg(Card)))
        << drv.Get(CheckIn("lblMenu1")).Text.toStdString();
    ASSERT_TRUE(drv.Set(CheckIn("edtClassCourse"), Course)) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.WaitFor(CheckIn("lblMenu2"), Course, 5000)) << drv.Get(CheckIn("lblMenu2")).Text.toStdString();
    if (const QString shots = qEnvironmentVariable("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        drv.Grab(kCheckIn, shots + QStringLiteral("/eventday_checkin_%1.png").arg(Card));
    ASSERT_TRUE(drv.Click(CheckIn("btnOK"))) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Gone(kCheckIn, 15000)) << drv.LastError().toStdString() << " boxes: " << drv.Boxes().Text.toStdString();
}

// One receipt from the printer's line: everything up to its closing feed.
QByteArray NextReceipt(PtyPair& Printer, QByteArray& Pending, int TimeoutMs)
{
    static const QByteArray end(4, '\n');
    QElapsedTimer t;
    t.start();
    while (Pending.startsWith('\n'))  // the rest of the last one's feed
        Pending.remove(0, 1);
    while (!Pending.contains(end) && t.elapsed() < TimeoutMs)
        Pending += Printer.ReadFar(1, 50);
    const qsizetype at = Pending.indexOf(end);
    if (at < 0)
        return QByteArray();
    const QByteArray receipt = Pending.left(at + end.size());
    Pending.remove(0, at + end.size());
    return receipt;
}

// The results grid to a workbook through the grid's export dialog, saved only.
void ExportResults(TDriverClient& Drv, const QString& File)
{
    const QString form = QStringLiteral("rDBExportForm");
    ASSERT_TRUE(Drv.Click(QStringLiteral("rDBAction.acoExport"))) << Drv.LastError().toStdString();
    ASSERT_TRUE(Drv.Wait(form + QStringLiteral(".btOk"), 15000)) << Drv.LastError().toStdString();
    ASSERT_TRUE(Drv.Click(form + QStringLiteral(".rg1"))) << Drv.LastError().toStdString();
    ASSERT_TRUE(Drv.Set(form + QStringLiteral(".cbAction_nostore"), QStringLiteral("Save only"))) << Drv.LastError().toStdString();
    ASSERT_TRUE(Drv.Input(File).Ok) << Drv.LastError().toStdString();
    ASSERT_TRUE(Drv.Click(form + QStringLiteral(".btOk"))) << Drv.LastError().toStdString();
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(File); }, 30000)) << Drv.Boxes().Text.toStdString();
    ASSERT_TRUE(Drv.Click(form + QStringLiteral(".btCancel"))) << Drv.LastError().toStdString();
    ASSERT_TRUE(Drv.Gone(form, 15000)) << Drv.LastError().toStdString();
}

// The workbook's rows, each as its cells' texts joined by tabs.
QStringList SheetRows(const TXlsxReadBack& Book)
{
    QMap<int, QStringList> rows;
    for (auto it = Book.Cells.begin(); it != Book.Cells.end(); ++it) {
        const qsizetype digit = it.key().indexOf(QRegularExpression(QStringLiteral("[0-9]")));
        rows[it.key().mid(digit).toInt()] << it.value().Value;
    }
    QStringList out;
    for (const QStringList& r : rows)
        out << r.join(QLatin1Char('\t'));
    return out;
}

}  // namespace

TEST(EventDay, FirstUseDownloadsFinishReadsPrintReceiptsAndReachTheService)
{
    const int runners = Runners();
    webservice::TWebServiceServer service;
    QFile demo(QStringLiteral(SORVEX_SOURCE_DIR "/tools/webservice/demo-account.json"));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    const int64_t account = service.State().LoadAccount(QJsonDocument::fromJson(demo.readAll()).object());
    for (int i = 0; i < runners; ++i)
        service.State().PutRow(account, QStringLiteral("vrk_person"),
                               {{QStringLiteral("person_id"), QString::number(300000000 + i)},
                                {QStringLiteral("event_series_id"), QStringLiteral("7")},
                                {QStringLiteral("person_name"), QStringLiteral("Juoksija %1").arg(kFirstCard + i)},
                                {QStringLiteral("person_sex"), QStringLiteral("M")},
                                {QStringLiteral("control_card"), QString::number(kFirstCard + i)},
                                {QStringLiteral("web_show"), QStringLiteral("K")},
                                {QStringLiteral("print_receipt"), QStringLiteral("K")},
                                {QStringLiteral("inserted"), QStringLiteral("2026-05-01T12:00:00")},
                                {QStringLiteral("updated"), QStringLiteral("2026-05-01T12:00:00")}});

    SimulatedReader reader;
    PtyPair printer;
    TProgramUnderTest desk;
    TProgramOptions& o = desk.Options;
    o.LinkedClient = false;
    o.ReaderPort = reader.PortPath();
    o.PrinterPort = printer.NearPath();
    o.PrinterType = 1;
    o.RestBaseUrl = service.FirstBaseURL();
    o.RestBaseUrlV2 = service.SecondBaseURL();
    o.CaFile = service.CertificateFile();
    o.ExtraDeviceLines = {{QStringLiteral("CHIP_READER"), QStringLiteral("READ_DELAY=0")}};
    TDriverClient& drv = desk.Driver;

    // First use: the temporary code links the computer, the first download follows.
    ASSERT_TRUE(desk.Start()) << desk.LastError().toStdString();
    ASSERT_TRUE(drv.Wait(QStringLiteral("FormFirstUse.fcdtTempClientID"), 20000)) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Set(QStringLiteral("FormFirstUse.fcdtTempClientID"), QStringLiteral("DEMO-1234"))) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Click(QStringLiteral("FormFirstUse.btnOK"))) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Wait(QStringLiteral("formMain"), 20000)) << drv.LastError().toStdString();
    // The program tells the operator when the first download is complete.
    ASSERT_TRUE(WaitFor([&] { return desk.DialogLog().contains(QStringLiteral("Ensimmäisen käyttökerran synkronointi")); }, 60000))
        << desk.DialogLog().toStdString();
    ASSERT_TRUE(desk.QuitAndWait()) << desk.LastError().toStdString();
    EXPECT_EQ(desk.Value(QStringLiteral("select count(*) from VRK_PERSON where EVENT_SERIES_ID = 7 and PERSON_NAME starting with 'Juoksija'"))
                  .toInt(),
              runners);

    // The finish desk on today's event, serving itself.
    desk.Exec(QStringLiteral("update VRK_CLIENT set LAST_EVENT_ID = 3001 where IN_USE = 'K';"));
    ASSERT_TRUE(desk.Start()) << desk.LastError().toStdString();
    ASSERT_TRUE(drv.Wait(QStringLiteral("formMain"), 20000)) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Click(QStringLiteral("formMain.actMaaliAloita"))) << drv.LastError().toStdString();

    // The runners check in at the start desk, on A-rata.
    ASSERT_TRUE(drv.Set(QStringLiteral("formMain.tabKasittely"), QStringLiteral("Lähtö"))) << drv.LastError().toStdString();
    for (int i = 0; i < runners; ++i)
        ASSERT_NO_FATAL_FAILURE(CheckInAtStartDesk(reader, desk, uint32_t(kFirstCard + i), QStringLiteral("A-rata")));
    ASSERT_TRUE(drv.Set(QStringLiteral("formMain.tabKasittely"), QStringLiteral("Maali"))) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Click(QStringLiteral("formMain.actResultBoard"))) << drv.LastError().toStdString();
    ASSERT_TRUE(drv.Wait(QStringLiteral("formResultBoard"))) << drv.LastError().toStdString();

    std::vector<double> millis;
    QByteArray pending;
    for (int i = 0; i < runners; ++i) {
        // The runner keeps the card on the reader until the receipt is out
        // (the reader rests between cards, so a card lifted at once may pass
        // unread, at an event as here).
        const auto t0 = std::chrono::steady_clock::now();
        reader.Place(DemoCourseACard(uint32_t(kFirstCard + i)), 40);
        const QByteArray receipt = NextReceipt(printer, pending, 20000);
        const auto t1 = std::chrono::steady_clock::now();
        reader.Simulator().Stop();
        reader.Wait();
        reader.Simulator().Reset();
        ASSERT_FALSE(receipt.isEmpty()) << "runner " << i << "\n" << desk.DialogLog().toStdString();
        EXPECT_TRUE(receipt.contains(QStringLiteral("Juoksija %1").arg(kFirstCard + i).toLatin1())) << receipt.toStdString();
        millis.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }

    // Every run at the service.
    auto uploaded = [&] {
        QSet<QString> runs;
        for (const QJsonObject& r : service.State().UploadedRecords())
            if (r.value(QStringLiteral("list")).toString() == QLatin1String("results_classes"))
                runs.insert(r.value(QStringLiteral("results_class_id")).toVariant().toString());
        return runs;
    };
    EXPECT_TRUE(WaitFor([&] { return uploaded().size() >= runners; }, 120000)) << uploaded().size();
    EXPECT_TRUE(drv.Boxes().Text.isEmpty()) << desk.DialogLog().toStdString();

    // The day's results to a workbook: every runner's row with the time and status.
    QTemporaryDir exportDir;
    const QString book = exportDir.filePath(QStringLiteral("tulokset.xlsx"));
    ASSERT_NO_FATAL_FAILURE(ExportResults(drv, book));
    const TXlsxReadBack read = ReadXlsx(book);
    ASSERT_TRUE(read.Ok);
    const QStringList rows = SheetRows(read);
    EXPECT_EQ(rows.size(), runners + 1) << rows.join(QLatin1Char('\n')).toStdString();  // and the titles
    for (int i = 0; i < runners; ++i) {
        const QString name = QStringLiteral("Juoksija %1").arg(kFirstCard + i);
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const QString& r) { return r.contains(name); });
        ASSERT_NE(row, rows.end()) << name.toStdString() << " missing:\n" << rows.join(QLatin1Char('\n')).toStdString();
        const QStringList cells = row->split(QLatin1Char('\t'));
        EXPECT_TRUE(cells.contains(QStringLiteral("25:02")) &&
                    std::any_of(cells.begin(), cells.end(), [](const QString& c) { return c.startsWith(QLatin1String("Accepted")); }))
            << row->toStdString();
    }
    ASSERT_TRUE(desk.QuitAndWait()) << desk.LastError().toStdString();

    // One run per runner: the check-in's (course and payment as chosen at the
    // start desk), finished.
    EXPECT_EQ(desk.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 3001")).toInt(), runners);
    EXPECT_EQ(desk.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 3001 and RESULT_STATUS = 'V' "
                                        "and STATUS = '0' and cast(TIME_SEC as integer) = 1502 and CLASS_COURSE_ID = 6001 "
                                        "and PAYMENT_TYPE = 'MAKSU' and PAYMENT_METHOD_ID = 701"))
                  .toInt(),
              runners);
    EXPECT_EQ(uploaded().size(), runners);

    if (runners >= 50) {
        std::sort(millis.begin(), millis.end());
        std::printf("event day: %d finish reads, card on the reader to the receipt's last byte: median %.0f ms, "
                    "90th percentile %.0f ms, max %.0f ms\n",
                    runners, millis[millis.size() / 2], millis[millis.size() * 9 / 10], millis.back());
    }
}
