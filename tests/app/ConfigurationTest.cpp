#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "tests/support/Scramble.h"
#include "resources/SafeguardTexts.h"
#include "tests/support/PlainUser.h"
#include "tests/support/TempProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Configuration, DecryptStrTable)
{
    struct Case {
        QString in;
        QString out;
    };
    const QString user = ScrambleForTest("SYSDBA", DecryptStartKey);
    const QString pwd = ScrambleForTest("pässwörd", DecryptStartKey);
    const Case cases[] = {
        {user, "SYSDBA"},
        {user.toLower(), "SYSDBA"},         // upper-cased first
        {pwd, "pässwörd"},                  // UTF-8 bytes
        {user + "F", "SYSDBA"},             // an odd last character is ignored
        {"", ""},
        {"0G", ""},                         // not hexadecimal
        {user.left(4) + "x1", ""},
        {" 1", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecryptStr(c.in, DecryptStartKey), c.out) << c.in.toStdString();
    EXPECT_NE(DecryptStr(user, DecryptStartKey + 1), "SYSDBA");
}

TEST(Configuration, SplitString)
{
    EXPECT_EQ(SplitString("", ';'), QStringList({""}));
    EXPECT_EQ(SplitString(";", ';'), QStringList({"", ""}));
    EXPECT_EQ(SplitString("a;;b;", ';'), QStringList({"a", "", "b", ""}));
}

TEST(Configuration, IniRoutinesOpenReadWriteCloseEveryCall)
{
    TempProgramDir home;
    const QString f = home.File("x.ini");
    EXPECT_EQ(ReadInteger_Ini(f, "S", "K", 4), 4);
    WriteInteger_Ini(f, "S", "K", 9);
    EXPECT_EQ(ReadInteger_Ini(f, "s", "k", 4), 9);
    home.Write("x.ini", "[S]\r\nK=changed by hand\r\n");  // nothing cached
    EXPECT_EQ(ReadString_Ini(f, "S", "K", ""), "changed by hand");
    EXPECT_EQ(ReadInteger_Ini(f, "S", "K", 4), 4);
    EXPECT_EQ(GetExePath(), home.Path());
}

class MainFormConfig : public ::testing::Test {
protected:
    TempProgramDir home;
    std::unique_ptr<TformMain> Load()
    {
        auto f = std::make_unique<TformMain>(nullptr);
        f->getIniValues();
        return f;
    }
};

TEST_F(MainFormConfig, FirstStartWritesBackOnlyTheDefaultsItShould)
{
    auto f = Load();
    EXPECT_EQ(f->vcUILanguageCode, "EN");
    EXPECT_EQ(f->iChipReadDelay, 5);
    EXPECT_EQ(f->vc_chip_read_successively, "E");
    EXPECT_EQ(f->s_db_name, "");
    EXPECT_EQ(home.Read("vrkEvent.ini"),
              "[CHIP_READER]\r\nREAD_FOREST=K\r\nREAD_DELAY=5\r\nRESULT_BOARD_RENTED_CHIP_SOUND=0\r\n"
              "RESULT_BOARD_MP_CHIP_SOUND=0\r\n\r\n[UI]\r\nRESULT_BOARD_STYLE=0\r\n");
    EXPECT_TRUE(QDir(home.Path() + "log").exists());
    EXPECT_TRUE(QDir(home.Path() + "receive").exists());
    EXPECT_TRUE(QDir(home.Path() + "send").exists());
    EXPECT_FALSE(QFile::exists(home.File("vrkEventSystem.ini")));  // never written
}

TEST_F(MainFormConfig, ReadsBothFiles)
{
    home.Write("vrkEventSystem.ini",
               ("[CONNECT_PARAMS]\r\nDB_NAME=sorvex.Fdb\r\nUSER_NAME=" + ScrambleForTest("SYSDBA", DecryptStartKey) +
                "\r\nPASSWORD=zz\r\n[WEB_SERVICE]\r\nREST_BASE_URL=https://h/apex/sorvex/api/v1\r\n")
                   .toUtf8());
    home.Write("vrkEvent.ini",
               "[CHIP_READER]\r\nCOM=/dev/ttyUSB0\r\nREAD_DELAY=2\r\n[CHIP_PRINTER]\r\nCOM=/dev/ttyS1\r\nTYPE=1\r\n"
               "[UI]\r\nLANGUAGE=7\r\nTEST=K\r\n");
    auto f = Load();
    EXPECT_EQ(f->s_db_name, home.Path() + "sorvex.Fdb");  // folder put in front, value as written
    EXPECT_EQ(f->s_db_user_name, "SYSDBA");
    EXPECT_EQ(f->s_db_password, "");                      // malformed hexadecimal
    EXPECT_EQ(f->vc_rest_base_url, "https://h/apex/sorvex/api/v1");
    EXPECT_EQ(f->n_chip_reader_com, "/dev/ttyUSB0");
    EXPECT_EQ(f->iChipReadDelay, 2);
    EXPECT_EQ(f->n_chip_printer_type, 1);
    EXPECT_EQ(f->vcChipPrinterPort, "/dev/ttyS1");
    EXPECT_EQ(f->vcUILanguageCode, "FI");
    EXPECT_EQ(f->vc_ui_test_new_run, "K");
}

TEST_F(MainFormConfig, DbNameWithFolderOrServerStaysUnchanged)
{
    for (const QString& name : {QString("/data/SORVEX.FDB"), QString("host:/db/sorvex.fdb")}) {
        home.Write("vrkEventSystem.ini", ("[CONNECT_PARAMS]\r\nDB_NAME=" + name + "\r\n").toUtf8());
        EXPECT_EQ(Load()->s_db_name, name);
    }
}

TEST_F(MainFormConfig, MalformedAndUnwritableFilesDoNotStopTheStart)
{
    home.Write("vrkEventSystem.ini", QByteArray("\x00\xff\xfe garbage [[[ =\n==\n", 20));
    QDir(home.Path()).mkdir("vrkEvent.ini");  // cannot be written, not even by root
    auto f = Load();
    EXPECT_EQ(f->s_db_name, "");
    EXPECT_EQ(f->iChipReadDelay, 5);
    EXPECT_EQ(f->vcUILanguageCode, "EN");
}

TEST_F(MainFormConfig, UnreadableDeviceFileIsLoggedAndNeverWrittenOver)
{
    const QByteArray kept = "[CHIP_READER]\r\nCOM=/dev/ttyUSB0\r\nREAD_DELAY=2\r\n[UI]\r\nLANGUAGE=1\r\n";
    home.Write("vrkEvent.ini", kept);
    QFile::setPermissions(home.File("vrkEvent.ini"), QFileDevice::WriteOwner);  // chmod 200
    {
        TPlainUser user(home.Path());
        auto f = Load();
        EXPECT_EQ(f->iChipReadDelay, 5);  // defaults in memory
        EXPECT_EQ(f->vcUILanguageCode, "EN");
    }
    QFile::setPermissions(home.File("vrkEvent.ini"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(home.Read("vrkEvent.ini"), kept);
    const QString log = QString::fromUtf8(home.Read(QFileInfo(DayLogFileName(QDate::currentDate())).fileName()));
    EXPECT_TRUE(log.contains(txt::IniUnreadable)) << log.toStdString();
}

TEST_F(MainFormConfig, InvalidNumbersAreLoggedWithFileSectionKeyAndText)
{
    home.Write("vrkEvent.ini", "[CHIP_READER]\r\nREAD_DELAY=99999999999999999999\r\n[UI]\r\nRESULT_BOARD_STYLE=1e9\r\n"
                               "LANGUAGE=0x\r\n[CHIP_PRINTER]\r\nTYPE=1\r\n");
    auto f = Load();
    EXPECT_EQ(f->iChipReadDelay, 5);
    EXPECT_EQ(f->iResultBoardStyle, 0);
    EXPECT_EQ(f->n_chip_printer_type, 1);
    const QString log = QString::fromUtf8(home.Read(QFileInfo(DayLogFileName(QDate::currentDate())).fileName()));
    const QString file = home.File("vrkEvent.ini");
    for (const auto& [section, key, text] : {std::tuple{"CHIP_READER", "READ_DELAY", "99999999999999999999"},
                                             std::tuple{"UI", "RESULT_BOARD_STYLE", "1e9"},
                                             std::tuple{"UI", "LANGUAGE", "0x"}})
        EXPECT_TRUE(log.contains(txt::IniBadNumber.arg(file, section, key, text))) << key << "\n" << log.toStdString();
    EXPECT_EQ(log.count(";Warning;"), 3) << log.toStdString();
}

TEST_F(MainFormConfig, KeysThatCouldNotBeReadAreKeptAsTheUserWroteThem)
{
    const QByteArray written = "[CHIP_READER]\r\nREAD_FOREST=\xFF\r\nREAD_DELAY=viisi\r\nRESULT_BOARD_RENTED_CHIP_SOUND=1,5\r\n"
                               "[UI]\r\nRESULT_BOARD_STYLE=1e9\r\n";
    home.Write("vrkEvent.ini", written);
    auto f = Load();
    EXPECT_EQ(f->iChipReadDelay, 5);  // the defaults in memory
    EXPECT_EQ(f->iResultBoardStyle, 0);
    const QByteArray after = home.Read("vrkEvent.ini");
    for (const QByteArray line : {QByteArray("READ_FOREST=\xFF\r\n"), QByteArray("READ_DELAY=viisi\r\n"),
                                  QByteArray("RESULT_BOARD_RENTED_CHIP_SOUND=1,5\r\n"), QByteArray("RESULT_BOARD_STYLE=1e9\r\n")})
        EXPECT_TRUE(after.contains(line)) << line.toStdString() << " missing from\n" << after.toStdString();
    // The key that was missing is still completed.
    EXPECT_TRUE(after.contains("RESULT_BOARD_MP_CHIP_SOUND=0")) << after.toStdString();
}
