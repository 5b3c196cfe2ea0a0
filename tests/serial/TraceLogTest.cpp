// The byte trace and the dispatch log written to files.

#include "tests/serial/FakeDispatcher.h"
#include "tests/support/TempProgramDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& Name)
{
    QFile f(Name);
    f.open(QIODevice::ReadOnly);
    return QString::fromLatin1(f.readAll());
}

}  // namespace

TEST(TraceLog, ReceivedAndSentBytesAreWrittenByKind)
{
    TempProgramDir dir;
    for (bool hex : {false, true}) {
        FakeDispatcher d;
        ASSERT_EQ(d.Open(), 0);
        ASSERT_EQ(d.InitTracing(100), 0);
        d.Feed("AB");
        d.ExtractData();
        uint8_t c;
        d.GetChar(c);
        d.GetChar(c);
        d.PutChar(2);
        const QString name = dir.File(hex ? "hex.trc" : "dec.trc");
        ASSERT_EQ(d.DumpTrace(name, hex, false), 0);
        const QStringList lines = ReadText(name).split("\r\n");
        ASSERT_GE(lines.size(), 5);
        EXPECT_EQ(lines[0], "Receive: ");
        EXPECT_EQ(lines[1], "AB");
        EXPECT_EQ(lines[2], "");
        EXPECT_EQ(lines[3], "Transmit: ");
        EXPECT_EQ(lines[4], hex ? "[02]" : "[2]");
    }
}

TEST(TraceLog, AWrappedRingKeepsTheNewestOldestFirst)
{
    TempProgramDir dir;
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    ASSERT_EQ(d.InitTracing(3), 0);
    for (char ch : QByteArray("abcde"))
        d.AddTraceEntry('R', static_cast<uint8_t>(ch));
    ASSERT_EQ(d.DumpTrace(dir.File("w.trc"), false, false), 0);
    EXPECT_EQ(ReadText(dir.File("w.trc")).split("\r\n").value(1), "cde");
}

TEST(TraceLog, AnEmptyTraceWritesNoFile)
{
    TempProgramDir dir;
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    ASSERT_EQ(d.InitTracing(10), 0);
    EXPECT_EQ(d.DumpTrace(dir.File("e.trc"), true, false), 0);
    EXPECT_FALSE(QFile::exists(dir.File("e.trc")));
}

TEST(TraceLog, TheDispatchLogDropsTheOldestBeyondItsSize)
{
    TempProgramDir dir;
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.InitDispatchLogging(100);
    for (char ch : QByteArray("123"))
        d.AddStringToLog(QByteArray(60, ch));
    ASSERT_EQ(d.DumpDispatchLog(dir.File("d.log"), true, false), 0);
    const QString text = ReadText(dir.File("d.log"));
    EXPECT_TRUE(text.startsWith("DORV v5.00\r\n"));
    EXPECT_TRUE(text.contains("Time      Type      SubType       Data      OtherData"));
    EXPECT_FALSE(text.contains(QString(60, '1')));
    EXPECT_TRUE(text.contains(QString(20, '2')));
    EXPECT_TRUE(text.contains(QString(20, '3')));
    EXPECT_TRUE(text.contains("User"));
}
