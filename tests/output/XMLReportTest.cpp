#include "components/output/TrXMLReport.h"
#include "components/output/rXMLMarkup.h"

#include "platform/database/ClientDataSet.h"
#include "platform/rtl/Exception.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <memory>

namespace {

using Entries = std::map<std::string, QByteArray>;

void WritePackage(const QString& Path, const std::vector<std::pair<const char*, QByteArray>>& Items)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(Path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, data] : Items) {
        zip_source_t* s = zip_source_buffer(z, data.constData(), zip_uint64_t(data.size()), 0);
        ASSERT_GE(zip_file_add(z, name, s, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

Entries ReadPackage(const QString& Path)
{
    Entries out;
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(Path).constData(), ZIP_RDONLY, &err);
    if (!z)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, zip_uint64_t(i), 0, &st);
        QByteArray data(qsizetype(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        out[st.name] = data;
    }
    zip_discard(z);
    return out;
}

const QByteArray ContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";

QByteArray Document(const QByteArray& Body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document xmlns:w=\"w\"><w:body>" + Body
           + "</w:body></w:document>";
}

std::unique_ptr<TClientDataSet> Names()
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->AddField(QStringLiteral("NAME"), ftString, 40);
    ds->AddField(QStringLiteral("TIME"), ftFloat);
    ds->CreateDataSet();
    ds->AppendRecord({QStringLiteral("Väinö <Ä>"), 12.5});
    ds->AppendRecord({QStringLiteral("Bob & Co"), 20.0});
    ds->First();
    return ds;
}

class XMLReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        Report.ActionAfter = aaNone;
        Template = Dir.filePath(QStringLiteral("t.docx"));
        Report.ReportFile = Template;
        Report.OutputFile = Dir.filePath(QStringLiteral("out.docx"));
    }
    QTemporaryDir Dir;
    QString Template;
    TrXMLReport Report;
};

TEST(XMLMarkup, EscapingAndSplitTags)
{
    EXPECT_EQ(StrToXML(QStringLiteral("a<b & c"), tfDOCX), QStringLiteral("a&lt;b &amp; c"));
    EXPECT_EQ(StrToXML(QStringLiteral("one\r\ntwo"), tfDOCX), QStringLiteral("one</w:t><w:br/><w:t xml:space=\"preserve\">two"));
    EXPECT_EQ(XMLToStr(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;"));
    EXPECT_EQ(XMLToStr(StrToXML(QStringLiteral("Väinö"), tfODT)), QStringLiteral("Väinö"));

    QString part = QStringLiteral("&lt;&lt;na</w:t></w:r><w:r><w:t>me&gt;&gt;");
    ExtractIntXMLTags(part);
    EXPECT_EQ(part, QStringLiteral("&lt;&lt;name&gt;&gt;</w:t></w:r><w:r><w:t>"));
    part = QStringLiteral("price: &lt;&lt;a</w:t><w:t>b&gt;&gt; EUR");
    ExtractIntXMLTags(part);
    const QString nb = QString(QChar(0xC2)) + QChar(0xA0);
    EXPECT_EQ(part, QStringLiteral("price:") + nb + QStringLiteral("&lt;&lt;ab&gt;&gt;</w:t><w:t>") + nb + QStringLiteral("EUR"));
    part = QStringLiteral("&lt;&lt;<w:x/>field&gt;&gt;");
    ExtractIntXMLTags(part);
    EXPECT_EQ(part, QStringLiteral("&lt;&lt;<w:x/>field&gt;&gt;"));

    part = QStringLiteral("<w:tbl><w:p><w:pPr></w:pPr><w:r><w:t></w:t></w:r></w:p></w:tbl><w:p><w:pPr></w:pPr><w:r><w:t></w:t></w:r></w:p>x");
    ClearEmptyParPart(part, tfDOCX);
    EXPECT_EQ(part, QStringLiteral("<w:tbl><w:p><w:pPr></w:pPr><w:r><w:t></w:t></w:r></w:p></w:tbl>x"));
}

TEST_F(XMLReport, DocxFillsTagsScansAndPictures)
{
    const QByteArray body =
        "<w:p><w:r><w:t>&lt;&lt;scan(A)&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>&lt;&lt;A.NA</w:t></w:r><w:r><w:t>ME&gt;&gt; &lt;&lt;A.TIME:0.0&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>&lt;&lt;endscan(A)&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>&lt;&lt;picture(LOGO:w=200)&gt;&gt;&lt;&lt;barcode(\"123456789012\"):type=CodeEAN13;showcode&gt;&gt;</w:t></w:r></w:p>";
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes},
                            {"word/document.xml", Document(body)},
                            {"word/styles.xml", "<styles/>"}});
    TBitmap logo(400, 300);
    const QString logoPath = Dir.filePath(QStringLiteral("logo.png"));
    logo.SaveToFile(logoPath);
    Report.Variables.Add(QStringLiteral("LOGO=") + logoPath);
    auto a = Names();
    Report.Execute({a.get()});

    const Entries out = ReadPackage(Report.OutputFile);
    const QString doc = QString::fromUtf8(out.at("word/document.xml"));
    // The blank between two tags that were repaired becomes a no-break space.
    const QChar nb(0xA0);
    EXPECT_TRUE(doc.contains(QStringLiteral("Väinö &lt;Ä&gt;") + nb + QStringLiteral("12,5"))) << doc.toStdString();
    EXPECT_TRUE(doc.contains(QStringLiteral("Bob &amp; Co") + nb + QStringLiteral("20,0")));
    EXPECT_FALSE(doc.contains(QStringLiteral("scan(")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<wp:extent cx=\"1905000\" cy=\"1428750\"/>"))) << doc.toStdString();
    EXPECT_TRUE(doc.contains(QStringLiteral("r:embed=\"xRepId000001\"")));
    EXPECT_TRUE(doc.contains(QStringLiteral("r:embed=\"xRepId000002\"")));
    EXPECT_EQ(out.count("word/media/image000001.png"), 1u);
    EXPECT_EQ(out.count("word/media/image000002.png"), 1u);
    const QString rels = QString::fromUtf8(out.at("word/_rels/document.xml.rels"));
    EXPECT_TRUE(rels.contains(QStringLiteral("Target=\"media/image000002.png\"")));
    const QString types = QString::fromUtf8(out.at("[Content_Types].xml"));
    EXPECT_EQ(types.count(QStringLiteral("Extension=\"png\"")), 1);
    EXPECT_EQ(out.at("word/styles.xml"), QByteArray("<styles/>"));
    // The template itself is never touched.
    EXPECT_EQ(ReadPackage(Template).at("word/document.xml"), Document(body));
}

TEST_F(XMLReport, AFailedRunLeavesTheOutputAsItWas)
{
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes},
                            {"word/document.xml", Document("<w:p><w:r><w:t>&lt;&lt;scan(A)&gt;&gt;x</w:t></w:r></w:p>")}});
    QFile old(Report.OutputFile);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous report");
    old.close();
    auto a = Names();
    try {
        Report.Execute({a.get()});
        ADD_FAILURE();
    } catch (const TReportException& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("\"endscan(A)\" not found."))) << e.Message().toStdString();
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("previous report"));
    EXPECT_EQ(QDir(Dir.path()).entryList({QStringLiteral(".sorvex-report-*")}, QDir::Hidden | QDir::Files).size(), 0);

    Report.ReportFile = Dir.filePath(QStringLiteral("missing.docx"));
    EXPECT_THROW(Report.Execute({a.get()}), Exception);
}

TEST_F(XMLReport, OdtFramesAndFlatXml)
{
    const QString odt = Dir.filePath(QStringLiteral("t.odt"));
    WritePackage(odt, {{"mimetype", "application/vnd.oasis.opendocument.text"},
                       {"content.xml", "<office:text><text:p>&lt;&lt;picture(LOGO:wcm=5)&gt;&gt;</text:p></office:text>"},
                       {"META-INF/manifest.xml", "<manifest:manifest></manifest:manifest>"}});
    TBitmap logo(400, 300);
    const QString logoPath = Dir.filePath(QStringLiteral("logo.jpg"));
    logo.SaveToFile(logoPath);
    Report.Variables.Add(QStringLiteral("LOGO=") + logoPath);
    Report.ReportFile = odt;
    Report.OutputFile = Dir.filePath(QStringLiteral("out.odt"));
    auto a = Names();
    Report.Execute({a.get()});
    const Entries out = ReadPackage(Report.OutputFile);
    const QString content = QString::fromUtf8(out.at("content.xml"));
    EXPECT_TRUE(content.contains(QStringLiteral("svg:width=\"5.000cm\" svg:height=\"3.750cm\""))) << content.toStdString();
    EXPECT_TRUE(QString::fromUtf8(out.at("META-INF/manifest.xml")).contains(QStringLiteral("manifest:media-type=\"image/jpeg\"")));

    const QString flat = Dir.filePath(QStringLiteral("t.xml"));
    QFile f(flat);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<office:document><text:p><<A.NAME>> <<picture(LOGO)>></text:p></office:document>");
    f.close();
    Report.ReportFile = flat;
    Report.OutputFile = Dir.filePath(QStringLiteral("out.xml"));
    Report.Execute({a.get()});
    QFile o(Report.OutputFile);
    ASSERT_TRUE(o.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(o.readAll()),
              QStringLiteral("<office:document><text:p>Väinö &lt;Ä&gt; Error during creating of report.\nUnknown template type.</text:p></office:document>"));
}

} // namespace

#include "components/output/TrRTFParser.h"

namespace {

TEST(RTFParser, SplitsTextControlWordsAndFonts)
{
    TrRTFParser p;
    p.RtfContent = QStringLiteral("{\\rtf1{\\fonttbl{\\f1\\fswiss\\fcharset0 Arial Narrow;}} Hello\\par W\\'e4rld}");
    p.ParseRtfContent(nullptr);
    EXPECT_EQ(p.FontTable().ToQStringList(), QStringList{QStringLiteral("f1=Arial Narrow")});
    EXPECT_EQ(p.RtfElements().ToQStringList(),
              (QStringList{QStringLiteral(" Hello"), QStringLiteral("\\par"), QStringLiteral("Wärld")}));
    EXPECT_TRUE(TrRTFParser::MatchesPattern(QStringLiteral("\\fs24"), QStringLiteral("\\fs#")));
    EXPECT_FALSE(TrRTFParser::MatchesPattern(QStringLiteral("\\fsx"), QStringLiteral("\\fs#")));
    p.RtfContent = QStringLiteral("plain text");
    p.ParseRtfContent(nullptr);
    EXPECT_EQ(p.RtfElements().Count(), 0);
}

TEST_F(XMLReport, RtfMemosAndInlineMarkersBecomeRuns)
{
    const QByteArray body =
        "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"Arial\"/></w:rPr><w:t>&lt;&lt;A.NOTE&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>a [[b]] c</w:t></w:r></w:p>";
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes}, {"word/document.xml", Document(body)}});
    auto ds = std::make_unique<TClientDataSet>();
    ds->AddField(QStringLiteral("NOTE"), ftMemo);
    ds->CreateDataSet();
    ds->AppendRecord({QStringLiteral("{\\rtf1 a \\b bold\\b0  c\\par next}")});
    ds->First();
    Report.RtfSupportedFormats = 1u << rtfBold;
    Report.InlineFormatting.Add(QStringLiteral("[[\t]]\t<w:b/>"));
    Report.Execute({ds.get()});
    const QString doc = QString::fromUtf8(ReadPackage(Report.OutputFile).at("word/document.xml"));
    EXPECT_TRUE(doc.contains(QStringLiteral("<w:rPr><w:b/><w:rFonts w:ascii=\"Arial\"/></w:rPr><w:t xml:space=\"preserve\">bold")))
        << doc.toStdString();
    EXPECT_TRUE(doc.contains(QStringLiteral("<w:br/>"))) << doc.toStdString();
    EXPECT_FALSE(doc.contains(QStringLiteral("format_begin")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">b</w:t>"))) << doc.toStdString();
    EXPECT_FALSE(doc.contains(QStringLiteral("[[")));
}

} // namespace

namespace {

TEST_F(XMLReport, InsertedTablesHoldTitlesAndRecords)
{
    auto table = [](const QByteArray& rows) {
        return Document("<w:p><w:r><w:t>x</w:t></w:r></w:p><w:tbl><w:tblGrid><w:gridCol w:w=\"9000\"/></w:tblGrid>" + rows
                        + "</w:tbl>");
    };
    const QByteArray row = "<w:tr w:rsidR=\"1\"><w:tc><w:p><w:r><w:t>&lt;&lt;inserttable(a);maxrows(1)&gt;&gt;</w:t></w:r></w:p></w:tc></w:tr>";
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes}, {"word/document.xml", table(row)}});
    auto a = Names();
    Report.Execute({a.get()});
    QString doc = QString::fromUtf8(ReadPackage(Report.OutputFile).at("word/document.xml"));
    EXPECT_EQ(doc.count(QStringLiteral("<w:tr>")), 2) << doc.toStdString();
    EXPECT_TRUE(doc.contains(QStringLiteral("<w:t>NAME</w:t>")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<w:t>Väinö &lt;Ä&gt;</w:t>")));
    EXPECT_FALSE(doc.contains(QStringLiteral("Bob")));
    EXPECT_EQ(doc.count(QStringLiteral("<w:gridCol ")), 2);

    WritePackage(Template, {{"[Content_Types].xml", ContentTypes}, {"word/document.xml", table(row + row)}});
    try {
        Report.Execute({a.get()});
        ADD_FAILURE();
    } catch (const TReportException& e) {
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("can be used only inside table with one row."))) << e.Message().toStdString();
    }

    auto none = std::make_unique<TClientDataSet>();
    none->AddField(QStringLiteral("NAME"), ftString, 10);
    none->CreateDataSet();
    QByteArray empty = row;
    empty.replace("maxrows(1)", "noifempty");
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes}, {"word/document.xml", table(empty)}});
    Report.Execute({none.get()});
    doc = QString::fromUtf8(ReadPackage(Report.OutputFile).at("word/document.xml"));
    EXPECT_FALSE(doc.contains(QStringLiteral("<w:tbl>")));
}

} // namespace

namespace {

TEST_F(XMLReport, TableRowScansRepeatChosenRows)
{
    const QByteArray body =
        "<w:p><w:r><w:t>&lt;&lt;scan(A);tblrow1(h);tblrow2(A.TIME&gt;15);tblrow3(hide)&gt;&gt;</w:t></w:r></w:p>"
        "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>Nimi</w:t></w:r></w:p></w:tc></w:tr>"
        "<w:tr><w:tc><w:p><w:r><w:t>&lt;&lt;A.NAME&gt;&gt;</w:t></w:r></w:p></w:tc></w:tr>"
        "<w:tr><w:tc><w:p><w:r><w:t>never</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
        "<w:p><w:r><w:t>&lt;&lt;endscan(A)&gt;&gt;</w:t></w:r></w:p>";
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes}, {"word/document.xml", Document(body)}});
    auto a = Names();
    Report.Execute({a.get()});
    const QString doc = QString::fromUtf8(ReadPackage(Report.OutputFile).at("word/document.xml"));
    EXPECT_EQ(doc.count(QStringLiteral("<w:tr>")), 2) << doc.toStdString();
    EXPECT_EQ(doc.count(QStringLiteral("Nimi")), 1);
    EXPECT_TRUE(doc.contains(QStringLiteral("Bob &amp; Co")));
    EXPECT_FALSE(doc.contains(QStringLiteral("Väinö")));
    EXPECT_FALSE(doc.contains(QStringLiteral("never")));
}

} // namespace

namespace {

TEST_F(XMLReport, NamedTablesAreReadAndFilled)
{
    const QByteArray body =
        "<w:tbl><w:tblPr><w:tblCaption w:val=\"Totals\"/></w:tblPr><w:tr><w:tc><w:tcPr><w:tcW/></w:tcPr>"
        "<w:p><w:r><w:t>old one</w:t></w:r></w:p><w:p><w:r><w:t>old two</w:t></w:r></w:p></w:tc></w:tr></w:tbl>";
    WritePackage(Template, {{"[Content_Types].xml", ContentTypes}, {"word/document.xml", Document(body)}});
    ASSERT_EQ(Report.NamedTables_LoadContent(Template, QStringLiteral("Tot")), 1);
    EXPECT_EQ(Report.NamedTables_Content[0].TableName, QStringLiteral("Totals"));
    EXPECT_EQ(Report.NamedTables_Content[0].PlainText, QStringLiteral("old one\r\nold two"));

    Report.NamedTables_ClearContent();
    Report.NamedTables_DefineContent(QStringLiteral("Total"), QString(), QStringLiteral("Yhteensä 42 & piste"));
    auto a = Names();
    Report.Execute({a.get()});
    const QString doc = QString::fromUtf8(ReadPackage(Report.OutputFile).at("word/document.xml"));
    EXPECT_TRUE(doc.contains(QStringLiteral("<w:tcPr><w:tcW/></w:tcPr><w:p><w:r><w:t>Yhteensä 42 &amp; piste</w:t></w:r></w:p></w:tc>")))
        << doc.toStdString();
    EXPECT_FALSE(doc.contains(QStringLiteral("old one")));
}

} // namespace
