#include "platform/office/rzip_interface.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

namespace {

struct Entry {
    const char* Name;
    QByteArray Data;
    bool Stored;
};

// Writes a package with libzip directly, independent of the code under test.
void WritePackage(const QString& Path, const std::vector<Entry>& Entries)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(Path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    for (const auto& e : Entries) {
        zip_source_t* s = zip_source_buffer(z, e.Data.constData(), zip_uint64_t(e.Data.size()), 0);
        const zip_int64_t i = zip_file_add(z, e.Name, s, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(i, 0);
        zip_set_file_compression(z, zip_uint64_t(i), e.Stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

// Name, compression method and content of every entry, in package order.
struct Read {
    QString Name;
    int Method;
    QByteArray Data;
};
std::vector<Read> ReadPackage(const QString& Path)
{
    std::vector<Read> out;
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
        out.push_back({QString::fromUtf8(st.name), int(st.comp_method), data});
    }
    zip_discard(z);
    return out;
}

class Rzip : public ::testing::Test {
protected:
    void SetUp() override
    {
        Path = Dir.filePath(QStringLiteral("report.odt"));
        WritePackage(Path, {{"mimetype", "application/vnd.oasis.opendocument.text", true},
                            {"content.xml", QByteArray("<office:text>Tulos: Väinö</office:text>"), false},
                            {"Pictures/a.png", QByteArray(300, '\x89'), false},
                            {"META-INF/manifest.xml", "<manifest/>", false}});
        rzip.Load();
    }
    void TearDown() override { rzip.UnLoad(); }
    QTemporaryDir Dir;
    QString Path;
};

TEST_F(Rzip, ReplacingAPartKeepsEveryOtherEntryAndTheOrder)
{
    ASSERT_EQ(rzip.OpenArchive(Path), 0);
    QString list;
    ASSERT_EQ(rzip.GetFileList(list), 0);
    EXPECT_EQ(list, QStringLiteral("mimetype\ncontent.xml\nPictures/a.png\nMETA-INF/manifest.xml"));
    QString content;
    ASSERT_EQ(rzip.ExtractToString(QStringLiteral("content.xml"), content), 0);
    // One character per stored byte: UTF-8 comes through untouched.
    EXPECT_EQ(content.toLatin1(), QByteArray("<office:text>Tulos: Väinö</office:text>"));
    const QString longer = content + QString(5000, QLatin1Char('x'));
    ASSERT_EQ(rzip.AddFromString(QStringLiteral("content.xml"), longer), 0);
    const QByteArray png(64, '\x01');
    ASSERT_EQ(rzip.AddFromBuffer(QStringLiteral("Pictures/b.png"), png.constData(), png.size()), 0);
    ASSERT_EQ(rzip.AddFromString(QStringLiteral("mimetype"), QStringLiteral("application/vnd.oasis.opendocument.text")), 0);
    ASSERT_EQ(rzip.CloseArchive(true), 0);

    const auto entries = ReadPackage(Path);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].Name, QStringLiteral("mimetype"));
    EXPECT_EQ(entries[0].Method, ZIP_CM_STORE);
    EXPECT_EQ(entries[1].Data, longer.toLatin1());
    EXPECT_EQ(entries[2].Data, QByteArray(300, '\x89'));
    EXPECT_EQ(entries[3].Data, QByteArray("<manifest/>"));
    EXPECT_EQ(entries[4].Name, QStringLiteral("Pictures/b.png"));
    EXPECT_EQ(entries[4].Data, png);
}

TEST_F(Rzip, FailuresSayWhyAndLeaveTheFileAsItWas)
{
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    QString text, message;
    EXPECT_NE(rzip.OpenArchive(Dir.filePath(QStringLiteral("missing.docx"))), 0);
    rzip.GetLastErrorMsg(message);
    EXPECT_TRUE(message.contains(QStringLiteral("missing.docx"))) << message.toStdString();

    ASSERT_EQ(rzip.OpenArchive(Path), 0);
    EXPECT_NE(rzip.ExtractToString(QStringLiteral("word/_rels/document.xml.rels"), text), 0);
    rzip.GetLastErrorMsg(message);
    EXPECT_TRUE(message.contains(QStringLiteral("word/_rels/document.xml.rels")));
    ASSERT_EQ(rzip.AddFromString(QStringLiteral("content.xml"), QStringLiteral("half done")), 0);
    // A pass that failed unloads without closing: nothing is written.
    rzip.UnLoad();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();

    rzip.Load();
    ASSERT_EQ(rzip.OpenArchive(Path), 0);
    ASSERT_EQ(rzip.AddFromString(QStringLiteral("content.xml"), QStringLiteral("dropped")), 0);
    ASSERT_EQ(rzip.CloseArchive(false), 0);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(Rzip, NotAPackageIsRefused)
{
    const QString bad = Dir.filePath(QStringLiteral("bad.docx"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a zip file");
    f.close();
    EXPECT_NE(rzip.OpenArchive(bad), 0);
    QString list, message;
    EXPECT_NE(rzip.GetFileList(list), 0);
    rzip.GetLastErrorMsg(message);
    EXPECT_FALSE(message.isEmpty());
}

} // namespace
