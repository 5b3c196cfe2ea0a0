// The files the exporters write open in LibreOffice as intended: each is
// converted to CSV by a headless LibreOffice and the values compared.

#include "components/output/TRTFReport2.h"
#include "components/output/TSLKExport.h"
#include "components/output/TrXLSExport.h"
#include "platform/ui/DBGrids.h"
#include "tests/output/ExportFixture.h"
#include "tests/output/UserWorkbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Converts File to CSV (comma, double quotes, UTF-8) next to it; empty when
// LibreOffice cannot run, with the reason in Why.
QString ConvertTo(const QString& File, const QString& Profile, QString& Why, const QString& Locale, const QString& Filter,
                  const QString& Ext);

QString ConvertToCsv(const QString& File, const QString& Profile, QString& Why, const QString& Locale = QString())
{
    return ConvertTo(File, Profile, Why, Locale, QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral(".csv"));
}

QString ConvertTo(const QString& File, const QString& Profile, QString& Why, const QString& Locale, const QString& Filter,
                  const QString& Ext)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        Why = QStringLiteral("soffice is not installed");
        return QString();
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!Locale.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), Locale);
        env.insert(QStringLiteral("LANG"), Locale);
        p.setProcessEnvironment(env);
    }
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + Profile, QStringLiteral("--headless"),
                      QStringLiteral("--convert-to"), Filter, QStringLiteral("--outdir"),
                      QFileInfo(File).absolutePath(), File});
    if (!p.waitForStarted(20000) || !p.waitForFinished(120000)) {
        p.kill();
        Why = QStringLiteral("soffice did not start or finish: ") + p.errorString();
        return QString();
    }
    const QString out = QFileInfo(File).absolutePath() + QLatin1Char('/') + QFileInfo(File).completeBaseName() + Ext;
    if (!QFileInfo::exists(out))
        Why = QStringLiteral("soffice wrote nothing: ") + QString::fromLocal8Bit(p.readAll());
    return QFileInfo::exists(out) ? QString::fromUtf8(ReadAll(out)) : QString();
}

}  // namespace

TEST(LibreOfficeOpens, XlsxAndSylkGiveTheExportedValues)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir, profile;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = dir.filePath(QStringLiteral("runs.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(d.get()));
    TSLKExport s;
    s.ActionAfter = aaNone;
    s.MakeSumRow = true;
    s.ExportFile = dir.filePath(QStringLiteral("runs_slk.slk"));
    ASSERT_TRUE(s.Execute(d.get()));

    QString why;
    const QString xlsx = ConvertToCsv(x.ExportFile, profile.path(), why);
    if (xlsx.isEmpty() && why.startsWith(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
    const QStringList xl = xlsx.split(QLatin1Char('\n'));
    ASSERT_GE(xl.size(), 5) << xlsx.toStdString();
    EXPECT_TRUE(xl[0].startsWith(QStringLiteral("ID,Runner,FEE,STARTED,NOTE"))) << xl[0].toStdString();
    EXPECT_TRUE(xl[1].startsWith(QStringLiteral("1,\"a;b\"\"c\",12.50,15.3.2024,"))) << xl[1].toStdString();
    EXPECT_TRUE(xlsx.contains(QStringLiteral("Hämäläinen Säde, Österberg")));
    EXPECT_TRUE(xlsx.contains(QStringLiteral("3,Sum:,19.75"))) << xlsx.toStdString();

    const QString slk = ConvertToCsv(s.ExportFile, profile.path(), why);
    ASSERT_FALSE(slk.isEmpty()) << why.toStdString();
    const QStringList sl = slk.split(QLatin1Char('\n'));
    ASSERT_GE(sl.size(), 5) << slk.toStdString();
    EXPECT_TRUE(sl[0].startsWith(QStringLiteral("ID,Runner,FEE,STARTED,NOTE"))) << sl[0].toStdString();
    EXPECT_TRUE(sl[1].startsWith(QStringLiteral("1,\"a;b\"\"c\",12.50,"))) << sl[1].toStdString();
    EXPECT_TRUE(slk.contains(QStringLiteral("Hämäläinen Säde, Österberg")));
    EXPECT_TRUE(slk.contains(QStringLiteral("3,Sum:,19.75"))) << slk.toStdString();
}

TEST(LibreOfficeOpens, SylkLettersUnderUtf8AndSingleByteLocales)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir, profile;
    // LibreOffice reads SYLK in its locale's character set; the system
    // encoding follows the same locale, so the letters come through in both
    for (const QString& locale : {QStringLiteral("C.UTF-8"), QStringLiteral("C")}) {
        TSLKExport s;
        s.ActionAfter = aaNone;
        s.Encoding = TSLKExport::SystemEncoding(locale);
        s.ExportFile = dir.filePath(QStringLiteral("letters_%1.slk").arg(locale == QLatin1String("C") ? 1 : 2));
        ASSERT_TRUE(s.Execute(d.get()));
        QString why;
        const QString csv = ConvertToCsv(s.ExportFile, profile.path(), why, locale);
        if (csv.isEmpty() && why.startsWith(QStringLiteral("soffice")))
            GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
        EXPECT_TRUE(csv.contains(QStringLiteral("Hämäläinen Säde, Österberg"))) << locale.toStdString() << ": " << csv.toStdString();
    }
}

TEST(LibreOfficeOpens, XlsxColoursAndConditionalFormats)
{
    auto d = MakeResultsTable(12);
    TExportGrid g(d.get());
    g.Grid->FieldsAsDataBar.Add(QStringLiteral("KM=4;6;2;$0000FF00;$00FF0000"));
    g.Grid->FieldsAsStatusBar.Add(QStringLiteral("PLACE=5;4;$00C0C0C0;$00008000"));
    g.Grid->Columns()->Items(3)->SetColor(TColor(0x00FFFF));
    QTemporaryDir dir, profile;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleUseColumnsColor, true);
    x.SetOption(xleSetBkColor, true);
    x.ExportFile = dir.filePath(QStringLiteral("colours.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(g.Grid));
    QString why;
    const QString html = ConvertTo(x.ExportFile, profile.path(), why, QString(), QStringLiteral("html"), QStringLiteral(".html"));
    if (html.isEmpty() && why.startsWith(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
    // the club cells come out yellow, and the sheet with its conditional formats opens with its values
    EXPECT_TRUE(html.contains(QStringLiteral("bgcolor=\"#FFFF00\""), Qt::CaseInsensitive)) << html.left(3000).toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Suunta-Äänekoski")));
}

TEST(LibreOfficeOpens, AppendedWorkbookHoldsOldAndNewDataAndItsOwnFilesReadBack)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir, profile;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = dir.filePath(QStringLiteral("runs.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(d.get(), QStringLiteral("Runs")));
    x.SetOption(xleAddToExistingRows, true);
    x.SetOption(xleExportTitles, false);
    x.SetOption(xleAddSumRow, false);
    ASSERT_TRUE(x.ExportDBTable(d.get()));
    x.SetOption(xleAddToExistingRows, false);
    x.SetOption(xleAddAsNewSheet, true);
    x.SetOption(xleExportTitles, true);
    x.SetStartRow(1);
    ASSERT_TRUE(x.ExportDBTable(d.get()));

    // every sheet as CSV: the old rows, the appended ones, and the new sheet
    QString why;
    const QString csv = ConvertTo(x.ExportFile, profile.path(), why, QString(),
                                  QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,-1"),
                                  QStringLiteral("-Runs.csv"));
    if (csv.isEmpty() && why.startsWith(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
    // the old rows and their sums, then the same records again below them
    const QString record = QStringLiteral("1,\"a;b\"\"c\",12.50,15.3.2024");
    EXPECT_TRUE(csv.startsWith(QStringLiteral("ID,Runner,FEE"))) << csv.toStdString();
    const int sums = int(csv.indexOf(QStringLiteral("3,Sum:,19.75")));
    EXPECT_GT(sums, 0) << csv.toStdString();
    EXPECT_EQ(csv.count(record), 2) << csv.toStdString();
    EXPECT_GT(csv.lastIndexOf(record), sums);
    EXPECT_EQ(csv.count(QStringLiteral("Hämäläinen Säde, Österberg")), 2);
    EXPECT_EQ(csv.count(QStringLiteral("Sum:")), 1);
    const QString second = QString::fromUtf8(ReadAll(dir.filePath(QStringLiteral("runs-Sheet2.csv"))));
    EXPECT_TRUE(second.startsWith(QStringLiteral("ID,Runner,FEE"))) << second.toStdString();

    // a workbook LibreOffice wrote reads back with its sheets, values and formulas
    const QString lo = dir.filePath(QStringLiteral("lo"));
    QDir().mkpath(lo);
    ASSERT_TRUE(QFile::copy(x.ExportFile, lo + QStringLiteral("/again.xlsx")));
    ConvertTo(lo + QStringLiteral("/again.xlsx"), profile.path(), why, QString(), QStringLiteral("ods"), QStringLiteral(".ods"));
    QFile::remove(lo + QStringLiteral("/again.xlsx"));
    ASSERT_TRUE(QFileInfo::exists(lo + QStringLiteral("/again.ods"))) << why.toStdString();
    ConvertTo(lo + QStringLiteral("/again.ods"), profile.path(), why, QString(), QStringLiteral("xlsx:Calc MS Excel 2007 XML"),
              QStringLiteral(".xlsx"));
    TXlsxWorkbook book;
    book.Load(lo + QStringLiteral("/again.xlsx"));
    ASSERT_EQ(book.SheetCount(), 2);
    EXPECT_EQ(book.Sheet(0)->Name, QStringLiteral("Runs"));
    EXPECT_EQ(book.Sheet(0)->Value(6, 1).toString(), QStringLiteral("Hämäläinen Säde, Österberg"));
    EXPECT_EQ(book.Sheet(0)->Value(4, 2).toDouble(), 19.75);
    const TXlsxSheet::TCell* sum = book.Sheet(0)->CellAt(4, 2);
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->Kind, TXlsxSheet::TKind::Formula);
    EXPECT_EQ(sum->Text, QStringLiteral("SUM(C2:C4)"));
}

TEST(LibreOfficeOpens, RtfReportWithBracesAndBackslashesInTheData)
{
    auto d = MakeAwkwardTable();
    d->Edit();
    d->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("Team {A} \\par B }"));
    d->Post();
    QTemporaryDir dir, profile;
    TRTFReport2 r;
    r.TemplateFormat = tfRTF;
    r.ActionAfter = aaNone;
    r.OutputFile = dir.filePath(QStringLiteral("report.rtf"));
    r.OnGetTemplateStr = [](TComponent*, QString& T) {
        T = QStringLiteral("{\\rtf1\\ansi \\\\scan(A)\\\\\\\\A.NAME\\\\\\par \\\\endscan(A)\\\\Loppu\\par}");
    };
    r.Execute({d.get()});
    QString why;
    const QString text = ConvertTo(r.OutputFile, profile.path(), why, QString(), QStringLiteral("txt:Text (encoded):UTF8"),
                                   QStringLiteral(".txt"));
    if (text.isEmpty() && why.startsWith(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
    const QStringList lines = QString(text).remove(QChar(0xFEFF)).split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
    // (the third runner has no name: an empty line)
    ASSERT_EQ(lines.size(), 3) << text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Team {A} \\par B }"));
    EXPECT_EQ(lines[1], QStringLiteral("Hämäläinen Säde, Österberg"));
    EXPECT_EQ(lines[2], QStringLiteral("Loppu"));
}

TEST(LibreOfficeOpens, UsersWorkbookWithANewSheetAndAppendedRows)
{
    QTemporaryDir dir, profile;
    // the user's workbook as LibreOffice saves it
    const QString made = dir.filePath(QStringLiteral("made"));
    QDir().mkpath(made);
    MakeUserWorkbook(made + QStringLiteral("/club.xlsx"));
    QString why;
    ConvertTo(made + QStringLiteral("/club.xlsx"), profile.path(), why, QString(), QStringLiteral("ods"), QStringLiteral(".ods"));
    QFile::remove(made + QStringLiteral("/club.xlsx"));
    ConvertTo(made + QStringLiteral("/club.ods"), profile.path(), why, QString(), QStringLiteral("xlsx:Calc MS Excel 2007 XML"),
              QStringLiteral(".xlsx"));
    if (!QFileInfo::exists(made + QStringLiteral("/club.xlsx")) && why.startsWith(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
    const QString file = dir.filePath(QStringLiteral("club.xlsx"));
    ASSERT_TRUE(QFile::copy(made + QStringLiteral("/club.xlsx"), file)) << why.toStdString();
    auto d = MakeAwkwardTable();
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = file;
    x.SetOption(xleAddAsNewSheet, true);
    ASSERT_TRUE(x.ExportDBTable(d.get())) << x.LastError().toStdString();
    x.SetOption(xleAddAsNewSheet, false);
    x.SetOption(xleAddToExistingRows, true);
    x.SetOption(xleExportTitles, false);
    ASSERT_TRUE(x.ExportDBTable(d.get(), QStringLiteral("Runs"))) << x.LastError().toStdString();
    // and a picture below the user's picture
    TClientDataSet photos;
    photos.AddField(QStringLiteral("NAME"), ftWideString, 30);
    photos.AddField(QStringLiteral("PHOTO"), ftGraphic);
    photos.CreateDataSet();
    photos.AppendRecord({QStringLiteral("Korhonen Eero"), PngOf(30, 20, 0xC02020)});
    photos.First();
    x.SetOption(xleExportPictures, true);
    ASSERT_TRUE(x.ExportDBTable(&photos, QStringLiteral("Club"))) << x.LastError().toStdString();

    // every sheet as LibreOffice shows it: the user's look and data, and ours
    const QString html = ConvertTo(file, profile.path(), why, QString(), QStringLiteral("html"), QStringLiteral(".html"));
    if (html.isEmpty() && why.startsWith(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice cannot run here: " << why.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("bgcolor=\"#FFFF00\""), Qt::CaseInsensitive)) << html.left(4000).toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Orienteers")));
    EXPECT_TRUE(html.contains(QStringLiteral("colspan=3")) || html.contains(QStringLiteral("colspan=\"3\"")))
        << html.mid(html.indexOf(QStringLiteral("Merged")) - 200, 400).toStdString();  // still merged
    EXPECT_EQ(html.count(QStringLiteral("<img"), Qt::CaseInsensitive), 2) << html.toStdString();  // the user's picture and ours
    EXPECT_TRUE(html.contains(QStringLiteral("Korhonen Eero")));
    EXPECT_TRUE(html.contains(QStringLiteral("Virtanen Aino")));
    EXPECT_EQ(html.count(QStringLiteral("Hämäläinen Säde, Österberg")), 2);  // the new sheet and the appended rows
}
