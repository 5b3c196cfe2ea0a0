// Documents reach a real print scheduler as PDF pages with their content:
// text set here, office files converted by LibreOffice, and the PDF file
// printer offered when the system has no printer.
#include "platform/office/TXlsxWorkbook.h"
#include "platform/print/PrintDocument.h"
#include "platform/print/Printers.h"
#include "platform/rtl/Exception.h"
#include "tests/print/PrivateCups.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString Write(const QTemporaryDir& Dir, const char* Name, const QByteArray& Data)
{
    const QString f = Dir.filePath(QLatin1String(Name));
    QFile out(f);
    out.open(QIODevice::WriteOnly);
    out.write(Data);
    return f;
}

// Collapses the blanks of pdftotext's layout.
QString Plain(const QString& S)
{
    return S.simplified();
}

}  // namespace

TEST(PrintDocument, EveryKindReachesThePrinterAsPdfWithItsContent)
{
    TPrivateCups cups;
    if (!cups.Running())
        GTEST_SKIP() << "no private print scheduler: " << cups.Why().toStdString();
    ASSERT_TRUE(cups.AddPrinter(QStringLiteral("Maali"), true)) << cups.Why().toStdString();
    QTemporaryDir dir;
    const QString txt = Write(dir, "runs.txt", "Nimi\tSeura\r\nH\xc3\xa4kkinen Ville\tRasti-Jussit\r\n");
    const QString rtf = Write(dir, "report.rtf",
                              "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Sans;}}\\f0 Tulokset \\b Iltarastit\\b0\\par "
                              "Virtanen \\u228?ij\\u246?\\par}");
    const QString slk = Write(dir, "table.slk", "ID;PSLKExport\r\nC;Y1;X1;K\"Seura\"\r\nC;Y2;X1;K\"Kalevan Rasti\"\r\nE\r\n");
    TXlsxWorkbook book;
    TXlsxSheet* sheet = book.AddSheet(QStringLiteral("Runs"));
    sheet->SetColumnWidth(0, 30);
    sheet->SetText(0, 0, QStringLiteral("Juoksija"));
    sheet->SetText(1, 0, QStringLiteral("Österberg Säde"));
    sheet->SetNumber(1, 1, 1502);
    const QString xlsx = dir.filePath(QStringLiteral("runs.xlsx"));
    book.Save(xlsx);

    // named printer for one, the scheduler's default for the others
    PrintDocument(txt, QStringLiteral("Maali"));
    for (const QString& f : {rtf, slk, xlsx})
        PrintDocument(f, QString());
    const QStringList jobs = cups.Jobs(4);
    ASSERT_EQ(jobs.size(), 4);
    const QString want[4] = {QStringLiteral("Häkkinen Ville Rasti-Jussit"), QStringLiteral("Tulokset Iltarastit Virtanen äijö"),
                             QStringLiteral("Kalevan Rasti"), QStringLiteral("Österberg Säde 1502")};
    for (int i = 0; i < 4; ++i) {
        const QString text = TPrivateCups::PdfText(jobs[i]);
        EXPECT_FALSE(text.isEmpty()) << "job " << i << " is no PDF";
        EXPECT_TRUE(Plain(text).contains(want[i])) << i << ": " << text.toStdString();
    }
    EXPECT_TRUE(Plain(TPrivateCups::PdfText(jobs[0])).contains(QStringLiteral("Nimi Seura")));

    // an unknown printer is refused with the printing system's reason
    try {
        PrintDocument(txt, QStringLiteral("EiOle"));
        ADD_FAILURE() << "printing on a missing printer succeeded";
    } catch (const Exception& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(cups.Jobs(5, 500).size(), 4);
}

TEST(PrintDocument, PdfFileGetsTheUsersPermissionsAndLongLinesAreKept)
{
    QTemporaryDir dir;
    const QString line = QStringLiteral("alku ") + QString(300, QLatin1Char('x')) + QStringLiteral(" loppu");
    const QString txt = Write(dir, "long.txt", line.toUtf8());
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    const mode_t old = ::umask(022);
    ConvertDocumentToPdf(txt, pdf);
    ::umask(old);
    EXPECT_EQ(QFileInfo(pdf).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::ReadOther | QFile::ReadGroup);
    const QString text = Plain(TPrivateCups::PdfText(pdf));
    EXPECT_TRUE(text.contains(QStringLiteral("alku"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("loppu"))) << text.toStdString();
    EXPECT_EQ(text.count(QLatin1Char('x')), 300);
    // a missing document changes nothing
    EXPECT_THROW(ConvertDocumentToPdf(dir.filePath(QStringLiteral("none.rtf")), pdf), Exception);
    EXPECT_TRUE(QFileInfo::exists(pdf));
}

TEST(PrintDocument, PdfFilePrinterIsOfferedOnlyWithoutPrinters)
{
    SetPrintersForTesting(QStringList{});
    EXPECT_EQ(PrinterChoices(), QStringList{PdfFilePrinter});
    EXPECT_TRUE(IsPdfFilePrinter(PrinterChoices().front()));
    EXPECT_THROW(PrintDocument(QStringLiteral("/nonexistent.txt"), PdfFilePrinter), Exception);
    SetPrintersForTesting(QStringList{QStringLiteral("Maali")}, QStringLiteral("Maali"));
    EXPECT_EQ(PrinterChoices(), QStringList{QStringLiteral("Maali")});
    SetPrintersForTesting(std::nullopt);
}
