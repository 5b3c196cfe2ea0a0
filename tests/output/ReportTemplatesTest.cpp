// The sample result lists under resources/reports filled from an event
// database, read back, and opened by LibreOffice as a user would.
#include "components/output/TRTFReport2.h"
#include "components/output/TrXMLReport.h"

#include "platform/database/FbQuery.h"
#include "tools/gallery_grid/RunsDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

namespace {

QByteArray PackageEntry(const QString& Path, const char* Name)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(Path).constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    QByteArray data;
    zip_stat_t st;
    if (zip_stat(z, Name, 0, &st) == 0) {
        data.resize(qsizetype(st.size));
        zip_file_t* f = zip_fopen(z, Name, 0);
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
    }
    zip_discard(z);
    return data;
}

class ReportTemplates : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Db = new TRunsDatabase(30); }
    static void TearDownTestSuite()
    {
        delete Db;
        Db = nullptr;
    }
    void SetUp() override
    {
        Runs.SetConnection(&Db->Con);
        Runs.SQL().Add(QStringLiteral("select PERSON_NAME, CLUB_NAME, TIME_SEC, STATUS from VRK_RESULTS_CLASS "
                                      "where EVENT_ID = 200 order by RESULTS_CLASS_ID"));
        Runs.Open();
        TBitmap logo(120, 60);
        logo.Canvas()->Brush()->SetColor(0x3399FF);
        logo.Canvas()->FillRect(TRect(0, 0, 120, 60));
        Logo = Dir.filePath(QStringLiteral("logo.png"));
        logo.SaveToFile(Logo);
    }
    template <class Engine>
    void Prepare(Engine& E, const QString& Template, const QString& Output)
    {
        E.ReportFile = QStringLiteral(SORVEX_SOURCE_DIR "/resources/reports/") + Template;
        E.OutputFile = Dir.filePath(Output);
        E.ActionAfter = aaNone;
        E.Variables.Add(QStringLiteral("EVENT_NAME=Keskiviikkorastit"));
        E.Variables.Add(QStringLiteral("LOGO=") + Logo);
    }
    // The document as LibreOffice reads it, in plain text; empty when it cannot start.
    QString ConvertedText(const QString& File)
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            return QString();
        QProcess p;
        p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + Dir.filePath(QStringLiteral("lo-profile")),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"),
                          QStringLiteral("--outdir"), Dir.filePath(QStringLiteral("converted")), File});
        if (!p.waitForFinished(120000))
            return QString();
        QFile f(Dir.filePath(QStringLiteral("converted/")) + QFileInfo(File).completeBaseName() + QStringLiteral(".txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void ExpectResultList(const QString& Text, const QString& Format)
    {
        EXPECT_TRUE(Text.contains(QStringLiteral("Tulosluettelo Keskiviikkorastit"))) << Format.toStdString();
        EXPECT_TRUE(Text.contains(QStringLiteral("Juoksijoita: 30"))) << Format.toStdString() << "\n" << Text.right(600).toStdString();
        EXPECT_TRUE(Text.contains(QStringLiteral("Hylätty"))) << Format.toStdString();
        EXPECT_TRUE(Text.contains(QStringLiteral("Rasti-"))) << Format.toStdString();
    }
    static TRunsDatabase* Db;
    TFbQuery Runs;
    QTemporaryDir Dir;
    QString Logo;
};

TRunsDatabase* ReportTemplates::Db = nullptr;

TEST_F(ReportTemplates, ResultListsFillFromTheEventDatabase)
{
    TRTFReport2 rtf;
    Prepare(rtf, QStringLiteral("ResultList.rtf"), QStringLiteral("tulokset.rtf"));
    rtf.Execute({&Runs});
    QFile out(rtf.OutputFile);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString rtfText = QString::fromUtf8(out.readAll());
    EXPECT_TRUE(rtfText.contains(QStringLiteral("Juoksijoita: 30"))) << rtfText.right(300).toStdString();
    EXPECT_TRUE(rtfText.contains(QStringLiteral("\\pngblip")));
    EXPECT_FALSE(rtfText.contains(QStringLiteral("\\\\A.")));

    TrXMLReport docx;
    Prepare(docx, QStringLiteral("ResultList.docx"), QStringLiteral("tulokset.docx"));
    docx.Execute({&Runs});
    const QString document = QString::fromUtf8(PackageEntry(docx.OutputFile, "word/document.xml"));
    EXPECT_TRUE(document.contains(QStringLiteral("Juoksijoita: 30")));
    EXPECT_EQ(document.count(QStringLiteral("<w:drawing>")), 2);
    EXPECT_FALSE(PackageEntry(docx.OutputFile, "word/media/image000002.png").isEmpty());

    TrXMLReport odt;
    Prepare(odt, QStringLiteral("ResultList.odt"), QStringLiteral("tulokset.odt"));
    odt.Execute({&Runs});
    const QString content = QString::fromUtf8(PackageEntry(odt.OutputFile, "content.xml"));
    EXPECT_TRUE(content.contains(QStringLiteral("Juoksijoita: 30")));
    EXPECT_EQ(content.count(QStringLiteral("<draw:frame")), 2);

    const QString rtfConverted = ConvertedText(rtf.OutputFile);
    if (rtfConverted.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) could not start here; the documents were checked by reading them back only";
    ExpectResultList(rtfConverted, QStringLiteral("rtf"));
    ExpectResultList(ConvertedText(docx.OutputFile), QStringLiteral("docx"));
    ExpectResultList(ConvertedText(odt.OutputFile), QStringLiteral("odt"));
}

} // namespace
