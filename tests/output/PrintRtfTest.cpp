// Print to RTF: the table fitted to the line, escaped data, the template
// kept once written, numbered documents and their cleanup; LibreOffice
// reads the document as the same text.

#include "components/output/RtfPlainText.h"
#include "components/output/TDBPrintRTF.h"
#include "tests/output/ExportFixture.h"

#include "platform/ui/Forms.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TClientDataSet> MakeOddTable()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("ID"), ftInteger)->SetAlignment(TFieldAlignment::RightJustify);
    d->AddField(QStringLiteral("NAME"), ftWideString, 30);
    static_cast<TFloatField*>(d->AddField(QStringLiteral("FEE"), ftCurrency))->SetDisplayFormat(QStringLiteral("0.00"));
    d->CreateDataSet();
    d->AppendRecord({1, QStringLiteral("a\\b{c}\\\\par"), 12.5});
    d->AppendRecord({22, QStringLiteral("Hämäläinen Säde"), 7.25});
    d->AppendRecord({QVariant(), QString(), QVariant()});
    d->First();
    return d;
}

struct PrintRun {
    QTemporaryDir dir;
    TDBPrintRTF p;
    PrintRun()
    {
        p.ActionAfter = aaNone;
        p.Folder = dir.path();
        p.ShowProgressBar = false;
    }
    QString Text() const { return RtfToPlainText(QString::fromLatin1(ReadAll(p.OutputFile()))); }
};

}  // namespace

TEST(PrintRtf, AutoformatPicksTheLargestFontThatFits)
{
    // A4 portrait: 103 characters at 8 points, 92 at 9
    EXPECT_EQ(TDBPrintRTF::LineChars(ppA4, 0, 2), 103);
    EXPECT_EQ(TDBPrintRTF::LineChars(ppLegal, 1, 0), 245);
    EXPECT_EQ(TDBPrintRTF::PageLines(ppLetter, 0, 6), 48);
    PrintRun r;
    auto d = MakeOddTable();
    r.p.FontIndex = 0;
    ASSERT_TRUE(r.p.Execute(d.get())) << r.p.LastError().toStdString();
    EXPECT_EQ(r.p.FontIndex, 6);  // a narrow table gets 12 points
    EXPECT_EQ(r.p.Orientation, 0);
    EXPECT_EQ(r.p.PagesFor(0), 1);
}

TEST(PrintRtf, DataIsEscapedAndReadsBackAsTheTable)
{
    PrintRun r;
    auto d = MakeOddTable();
    r.p.Caption = QStringLiteral("Fees {2026} \\ all");
    r.p.Sum = true;
    ASSERT_TRUE(r.p.Execute(d.get())) << r.p.LastError().toStdString();
    EXPECT_EQ(QFileInfo(r.p.OutputFile()).fileName(), QStringLiteral("printdata1.rtf"));
    const QByteArray raw = ReadAll(r.p.OutputFile());
    // braces stay balanced whatever the data holds
    EXPECT_EQ(raw.count('{') - raw.count("\\{"), raw.count('}') - raw.count("\\}"));
    const QString text = r.Text();
    // the caption sits in the page header, escaped
    EXPECT_TRUE(raw.contains("Fees \\'7b2026\\'7d \\'5c all")) << raw.toStdString();
    EXPECT_TRUE(raw.contains("ID  NAME")) << raw.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("a\\b{c}\\\\par"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Hämäläinen Säde"))) << text.toStdString();
    // right-aligned ID padded in front; sums of the numeric columns
    EXPECT_TRUE(text.contains(QStringLiteral("  1  a\\b"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("19,75"))) << text.toStdString();
}

TEST(PrintRtf, TemplateIsKeptAndDocumentsAreNumberedAndDeleted)
{
    PrintRun r;
    auto d = MakeOddTable();
    const QString tpl = QDir(r.dir.path()).filePath(QStringLiteral("printdata_template1c.rtf"));
    {
        QFile f(tpl);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1\\ansi EDITED \\\\ReportName\\\\\\par}");
    }
    r.p.Caption = QStringLiteral("Mine");
    ASSERT_TRUE(r.p.Execute(d.get()));
    EXPECT_TRUE(r.Text().contains(QStringLiteral("EDITED Mine")));
    QFile::remove(tpl);
    ASSERT_TRUE(r.p.Execute(d.get()));
    EXPECT_EQ(QFileInfo(r.p.OutputFile()).fileName(), QStringLiteral("printdata2.rtf"));
    EXPECT_TRUE(QFileInfo::exists(tpl));  // the built-in one is back
    QFile extra(QDir(r.dir.path()).filePath(QStringLiteral("printdata250.rtf")));
    ASSERT_TRUE(extra.open(QIODevice::WriteOnly));
    extra.close();
    TDBPrintRTF::DelFiles(r.dir.path());
    EXPECT_EQ(QDir(r.dir.path()).entryList({QStringLiteral("printdata*.rtf")}, QDir::Files),
              QStringList{QStringLiteral("printdata_template1c.rtf")});
}

TEST(PrintRtf, LongTextIsCutAndTooWideTablesFail)
{
    PrintRun r;
    TClientDataSet d;
    d.AddField(QStringLiteral("A"), ftWideString, 400);
    d.AddField(QStringLiteral("B"), ftWideString, 400);
    d.CreateDataSet();
    d.AppendRecord({QString(150, QLatin1Char('a')), QString(150, QLatin1Char('b'))});
    d.First();
    ASSERT_TRUE(r.p.Execute(&d)) << r.p.LastError().toStdString();
    EXPECT_EQ(r.p.Orientation, 1);  // no portrait font fits 304 characters
    EXPECT_EQ(r.p.FontIndex, 0);
    EXPECT_TRUE(r.Text().contains(QString(98, QLatin1Char('a')) + QStringLiteral("~  ")));
    // text shrunk below a fifth of its width is refused
    TClientDataSet w;
    w.AddField(QStringLiteral("A"), ftWideString, 4000);
    w.CreateDataSet();
    w.AppendRecord({QString(2000, QLatin1Char('a'))});
    w.First();
    int boxes = 0;
    auto old = SetModalHook([&](TCustomForm*) {
        ++boxes;
        return 1;
    });
    EXPECT_FALSE(r.p.Execute(&w));
    SetModalHook(old);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(r.p.LastError().contains(QStringLiteral("too wide")));
}

TEST(PrintRtf, LibreOfficeReadsTheDocument)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed";
    PrintRun r;
    QTemporaryDir profile;
    auto d = MakeOddTable();
    r.p.Caption = QStringLiteral("Fees {x}");
    ASSERT_TRUE(r.p.Execute(d.get()));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                      QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                      r.dir.path(), r.p.OutputFile()});
    if (!p.waitForStarted(20000) || !p.waitForFinished(120000)) {
        p.kill();
        GTEST_SKIP() << "LibreOffice cannot run here: " << p.errorString().toStdString();
    }
    const QString out = QDir(r.dir.path()).filePath(QStringLiteral("printdata1.txt"));
    ASSERT_TRUE(QFileInfo::exists(out)) << QString::fromLocal8Bit(p.readAll()).toStdString();
    const QString text = QString::fromUtf8(ReadAll(out));
    EXPECT_TRUE(text.contains(QStringLiteral("a\\b{c}\\\\par"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Hämäläinen Säde"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("12,50"))) << text.toStdString();
}
