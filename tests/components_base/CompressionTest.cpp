// Compressed texts and streams, also against data another zlib user wrote.
#include "components/base/zlib_interface.h"
#include "platform/rtl/Exception.h"
#include "tests/support/TempProgramDir.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QByteArray Fixture(const char* name)
{
    QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/tests/components_base/data/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

}  // namespace

TEST(CompressionTest, EmptyTextIsTheEightByteStream)
{
    const QString packed = CompressString(QString(), QString());
    EXPECT_EQ(packed.size(), 8);
    EXPECT_EQ(DeCompressString(packed, QString()), QString());
}

TEST(CompressionTest, RoundTripsTextsWithFinnishLetters)
{
    for (const QString& t : {QStringLiteral("a"), QStringLiteral("Hyvää päivää åäö ÅÄÖ\r\n€"), QString(5000, QLatin1Char('x'))})
        EXPECT_EQ(DeCompressString(CompressString(t, QString()), QString()), t);
}

TEST(CompressionTest, ReadsAndMatchesWhatPythonZlibWrote)
{
    const QByteArray python = Fixture("python_zlib_text.bin");
    const QString expected = QString::fromUtf8(Fixture("python_zlib_text.txt"));
    EXPECT_EQ(DeCompressString(QString::fromLatin1(python), QString()), expected);
    // the same level and window: our stream is byte-identical to Python's
    EXPECT_EQ(CompressString(expected, QString()).toLatin1(), python);
}

TEST(CompressionTest, FileFormWritesExactlyTheReturnedBytes)
{
    TempProgramDir dir;
    const QString file = dir.Path() + QStringLiteral("/props.ini.compress");
    const QString text = QStringLiteral("[Main_XY]\r\nLeft=10\r\n");
    const QString packed = CompressString(text, file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), packed.toLatin1());
    EXPECT_EQ(DeCompressString(QString(), file), text);
}

TEST(CompressionTest, StreamsAndBadData)
{
    QByteArray src("stream data stream data"), packed, out;
    QBuffer in(&src), mid(&packed);
    in.open(QIODevice::ReadOnly);
    mid.open(QIODevice::WriteOnly);
    const int64_t written = CompressStream(&in, &mid);
    EXPECT_EQ(written, packed.size());
    QBuffer back(&packed), dest(&out);
    back.open(QIODevice::ReadOnly);
    dest.open(QIODevice::WriteOnly);
    const int64_t restored = DeCompressStream(&back, &dest);
    EXPECT_EQ(restored, src.size());
    EXPECT_EQ(out, src);
    EXPECT_ANY_THROW(DeCompressString(QStringLiteral("not a zlib stream"), QString()));
}

// The stream objects: a compression stream written in pieces gives the same
// zlib stream as the whole-buffer form, and a decompression stream reads it
// back in any block size; neither closes the stream under it.
TEST(CompressionTest, CompressionAndDecompressionStreamObjects)
{
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += "rivi " + QByteArray::number(i) + "\n";
    QByteArray packed;
    QBuffer dest(&packed);
    dest.open(QIODevice::WriteOnly);
    {
        auto z = MyCompStreamCreate(&dest);
        for (qsizetype at = 0; at < text.size(); at += 1000)
            ASSERT_EQ(z->write(text.mid(at, 1000)), std::min<qsizetype>(1000, text.size() - at));
        z->Finish();
    }
    EXPECT_TRUE(dest.isOpen());
    EXPECT_EQ(packed, ZCompress(text));
    QBuffer source(&packed);
    source.open(QIODevice::ReadOnly);
    auto z = MyDecompStreamCreate(&source);
    QByteArray back;
    char block[777];
    for (qint64 n; (n = z->read(block, sizeof block)) > 0;)
        back.append(block, n);
    EXPECT_EQ(back, text);
    EXPECT_TRUE(source.isOpen());
}

// A full disk is an error, never a silently cut file.
TEST(CompressionTest, AFullDiskRaisesInsteadOfLeavingACutFile)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    EXPECT_THROW(CompressString(QString(70000, QLatin1Char('x')) + QStringLiteral("loppu"), QStringLiteral("/dev/full")), Exception);
    EXPECT_THROW(CompressString(QStringLiteral("lyhyt"), QStringLiteral("/dev/full")), Exception) << "even a small one, at the flush";
    QByteArray src("stream data");
    QBuffer in(&src);
    in.open(QIODevice::ReadOnly);
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_THROW(CompressStream(&in, &full), Exception);
}
