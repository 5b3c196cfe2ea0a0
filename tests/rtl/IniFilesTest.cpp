#include "platform/rtl/Exception.h"
#include "platform/rtl/IniFiles.h"
#include "tests/support/PlainUser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray ReadAll(const QString& n)
{
    QFile f(n);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void WriteAll(const QString& n, const QByteArray& b)
{
    QFile f(n);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}
}  // namespace

TEST(IniFiles, ProfileSemantics)
{
    QTemporaryDir dir;
    const QString name = dir.path() + "/a.ini";
    WriteAll(name, "; comment\r\n[Chip_Reader]\r\n  Read_Delay = 7 \r\nCOM=\"/dev/ttyUSB0\"\r\nbad line\r\nNUM=x1\r\n");
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger("CHIP_READER", "READ_DELAY", 5), 7);  // case-insensitive, trimmed
    EXPECT_EQ(ini.ReadString("chip_reader", "com", ""), "/dev/ttyUSB0");  // quotes stripped
    EXPECT_EQ(ini.ReadInteger("CHIP_READER", "NUM", 3), 3);   // not a whole number
    EXPECT_EQ(ini.ReadString("UI", "TEST", "E"), "E");        // missing section
    EXPECT_EQ(TIniFile(dir.path() + "/none.ini").ReadInteger("A", "B", 42), 42);  // missing file

    ini.WriteString("CHIP_READER", "read_delay", "3");
    ini.WriteString("UI", "TEST", "K");
    EXPECT_EQ(QString::fromUtf8(ReadAll(name)),
              QString("; comment\r\n[Chip_Reader]\r\nRead_Delay=3\r\nCOM=\"/dev/ttyUSB0\"\r\nbad line\r\nNUM=x1\r\n\r\n"
              "[UI]\r\nTEST=K\r\n"));
}

TEST(IniFiles, WriteCreatesFileAndReportsUnwritableTargets)
{
    QTemporaryDir dir;
    TIniFile ini(dir.path() + "/new.ini");
    ini.WriteInteger("S", "K", 1);
    EXPECT_EQ(ReadAll(dir.path() + "/new.ini"), "[S]\r\nK=1\r\n");
    // A folder standing where the file should be cannot be written, even as root.
    QDir(dir.path()).mkdir("blocked.ini");
    TIniFile blocked(dir.path() + "/blocked.ini");
    EXPECT_THROW(blocked.WriteString("S", "K", "v"), EIniFileException);
    EXPECT_EQ(blocked.ReadString("S", "K", "d"), "d");
}

TEST(IniFiles, MemIniFileKeepsChangesUntilUpdate)
{
    QTemporaryDir dir;
    const QString name = dir.path() + "/m.ini";
    TMemIniFile m(name);
    m.WriteString("A", "x", "1");
    m.WriteString("A", "y", "2");
    m.WriteString("B", "z", "3");
    EXPECT_FALSE(QFile::exists(name));
    m.UpdateFile();
    TMemIniFile r(name);
    TStringList keys;
    r.ReadSection("a", keys);
    EXPECT_EQ(keys.ToQStringList(), QStringList({"x", "y"}));
    r.EraseSection("A");
    r.DeleteKey("B", "Z");
    TStringList sections;
    r.ReadSections(sections);
    EXPECT_EQ(sections.ToQStringList(), QStringList({"B"}));
    EXPECT_FALSE(r.ValueExists("B", "z"));
}

TEST(IniFiles, UnreadableFileIsNeverWrittenOver)
{
    QTemporaryDir dir;
    const QString name = dir.path() + "/locked.ini";
    const QByteArray kept = "[CHIP_READER]\r\nCOM=/dev/ttyUSB0\r\nREAD_DELAY=2\r\n";
    WriteAll(name, kept);
    QFile::setPermissions(name, QFileDevice::WriteOwner);  // chmod 200
    {
        TPlainUser user(dir.path());
        EXPECT_FALSE(IniFileReadError(name).isEmpty());
        TIniFile ini(name);
        EXPECT_EQ(ini.ReadInteger("CHIP_READER", "READ_DELAY", 5), 5);  // defaults in memory
        try {
            ini.WriteInteger("CHIP_READER", "READ_DELAY", 5);
            ADD_FAILURE() << "an unreadable file was written";
        } catch (const EIniFileException& e) {
            EXPECT_TRUE(e.Message().contains("Unable to read")) << e.Message().toStdString();
        }
        TMemIniFile mem(name);
        EXPECT_FALSE(mem.ReadError().isEmpty());
        mem.WriteString("UI", "LANGUAGE", "1");
        EXPECT_THROW(mem.UpdateFile(), EIniFileException);
    }
    QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(ReadAll(name), kept);
    EXPECT_TRUE(IniFileReadError(name).isEmpty());
    EXPECT_TRUE(IniFileReadError(dir.path() + "/missing.ini").isEmpty());
}
