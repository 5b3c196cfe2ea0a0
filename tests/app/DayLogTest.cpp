#include "app/vrkDoMessage.h"
#include "platform/ui/Dialogs.h"
#include "resources/SafeguardTexts.h"
#include "tests/support/PlainUser.h"
#include "tests/support/TempProgramDir.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct Captured {
    QStringList list;
    std::vector<TMessageBoxRequest> boxes;
};

class DayLog : public ::testing::Test {
protected:
    TempProgramDir home;
    Captured seen;
    void SetUp() override
    {
        SetMessageListSink([this](const QString& l) { seen.list << l; });
        SetMessageBoxHook([this](const TMessageBoxRequest& r) {
            seen.boxes.push_back(r);
            return IDOK;
        });
        seen.list.clear();  // lines kept from earlier suites
    }
    void TearDown() override
    {
        SetMessageListSink(nullptr);
        SetMessageBoxHook(nullptr);
    }
    QStringList LogLines()
    {
        const QString text = QString::fromUtf8(home.Read(QDate::currentDate().toString("yyyyMMdd") + "_loki.csv"));
        QStringList lines = text.split("\r\n");
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

}  // namespace

TEST_F(DayLog, OneNumberedLinePerCallWithKindAndBoxMark)
{
    const int start = iMessageCounter;
    do_message(false, "Yhdistetty tietokantaan.", MSG_INFORMATION);
    do_message(true, "Varoitus; puolipisteellä", MSG_WARNING);
    do_message(false, "debug note", MSG_DEBUG);
    do_message(false, "outo", 5);
    do_message(true, "tiedoksi", MSG_INFORMATION);

    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 5);
    const QRegularExpression stamp("^\\d{2}\\.\\d{2}\\.\\d{4} \\d{2}:\\d{2}:\\d{2},\\d{3}$");
    const char* kinds[] = {"Information", "Warning", "Debug", "Unknown: 5", "Information"};
    const char* marks[] = {"", "X", "", "", "X"};
    for (int i = 0; i < 5; ++i) {
        const QStringList f = lines[i].split(';');
        EXPECT_EQ(f[0].toInt(), start + i + 1);
        EXPECT_TRUE(stamp.match(f[1]).hasMatch()) << f[1].toStdString();
        EXPECT_EQ(f[2], kinds[i]);
        EXPECT_EQ(f[3], marks[i]);
    }
    EXPECT_TRUE(lines[1].endsWith(";X;Varoitus; puolipisteellä"));  // written unchanged

    // Boxes: error icon for every kind but 0.
    ASSERT_EQ(seen.boxes.size(), 2u);
    EXPECT_EQ(seen.boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(seen.boxes[1].Flags, MB_OK | MB_ICONINFORMATION);
    // The settings dialog's list gets all but the debugging note.
    ASSERT_EQ(seen.list.size(), 4);
    EXPECT_TRUE(QRegularExpression("^\\[\\d{1,2}\\.\\d{1,2}\\.\\d{4} \\d{1,2}:\\d{2}:\\d{2}\\] Yhdistetty tietokantaan\\.$")
                    .match(seen.list[0])
                    .hasMatch())
        << seen.list[0].toStdString();
}

TEST_F(DayLog, UnwritableLogRetriesOnceAfterHalfASecondThenGivesUp)
{
    const QString logName = QDate::currentDate().toString("yyyyMMdd") + "_loki.csv";
    QDir(home.Path()).mkdir(logName);  // a folder in the file's place
    QElapsedTimer t;
    t.start();
    do_message(false, "lost line", MSG_ERROR);
    EXPECT_GE(t.elapsed(), 450);
    ASSERT_EQ(seen.list.size(), 3);
    EXPECT_TRUE(seen.list[1].contains("*** Try again: File -exception (") && seen.list[1].contains(";Error;;lost line)"));
    EXPECT_TRUE(seen.list[2].contains("*** File -exception (") && !seen.list[2].contains("Try again"));
}

TEST_F(DayLog, SecondAttemptWritesTheLine)
{
    const QString logName = QDate::currentDate().toString("yyyyMMdd") + "_loki.csv";
    QDir(home.Path()).mkdir(logName);
    // The disk comes back while the routine waits: the second attempt succeeds.
    SetMessageListSink([&](const QString& l) {
        seen.list << l;
        if (l.contains("Try again"))
            QDir(home.Path()).rmdir(logName);
    });
    do_message(false, "saved on retry", MSG_INFORMATION);
    ASSERT_EQ(LogLines().size(), 1);
    EXPECT_TRUE(LogLines()[0].endsWith(";Information;;saved on retry"));
    EXPECT_EQ(seen.list.size(), 2);
}

// A spreadsheet reads the log as ";"-separated records with quoted fields.
static QList<QStringList> CsvRecords(const QString& Text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (quoted) {
            if (c == '"' && i + 1 < Text.size() && Text[i + 1] == '"')
                field += Text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && field.isEmpty())
            quoted = true;
        else if (c == ';') {
            fields << field;
            field.clear();
        } else if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
            ++i;
            records << (fields << field);
            fields.clear();
            field.clear();
        } else
            field += c;
    }
    return records;
}

// An error box text of several lines (a database error with its details) is
// one record of the log, its text one field; one-line texts stay unquoted.
TEST_F(DayLog, MultiLineMessageStaysOneQuotedField)
{
    const QString text = "Tietokantavirhe:\r\n\r\nlock conflict on \"VRK_RESULTS\"\nrivi 3";
    do_message(false, text, MSG_ERROR);
    do_message(false, "yksi rivi", MSG_INFORMATION);
    const QString raw = QString::fromUtf8(home.Read(QDate::currentDate().toString("yyyyMMdd") + "_loki.csv"));
    const QList<QStringList> records = CsvRecords(raw);
    ASSERT_EQ(records.size(), 2) << raw.toStdString();
    ASSERT_EQ(records[0].size(), 5);
    EXPECT_EQ(records[0][2], "Error");
    EXPECT_EQ(records[0][4], text);
    EXPECT_TRUE(raw.contains(";Information;;yksi rivi\r\n"));
}

// In a read-only program folder the day log cannot take the lines: the user
// hears it once, in a box and on stderr, not with every message.
TEST_F(DayLog, UnwritableLogIsShownOnceInABoxAndOnStderr)
{
    const auto writable = QFile::permissions(home.Path());
    QFile::setPermissions(home.Path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);  // chmod 500
    QString err;
    {
        TPlainUser user(home.Path());
        testing::internal::CaptureStderr();
        do_message(false, "first lost line", MSG_WARNING);
        do_message(false, "second lost line", MSG_WARNING);
        err = QString::fromStdString(testing::internal::GetCapturedStderr());
    }
    QFile::setPermissions(home.Path(), writable);
    ASSERT_EQ(seen.boxes.size(), 1u);
    EXPECT_TRUE(seen.boxes[0].Text.startsWith(txt::DayLogUnwritable.left(10))) << seen.boxes[0].Text.toStdString();
    EXPECT_TRUE(seen.boxes[0].Text.contains(DayLogFileName(QDate::currentDate())));
    EXPECT_EQ(err.count(DayLogFileName(QDate::currentDate())), 1) << err.toStdString();
}

// Before the settings dialog takes the list, the lines wait: the latest only.
TEST_F(DayLog, LinesWaitingForTheListAreBounded)
{
    SetMessageListSink(nullptr);
    for (int i = 1; i <= MessageListMostLines + 10; ++i)
        do_message(false, QStringLiteral("odottaa %1").arg(i), MSG_INFORMATION);
    const QStringList waiting = PendingMessageListLines();
    ASSERT_EQ(waiting.size(), MessageListMostLines);
    EXPECT_TRUE(waiting.first().endsWith(QStringLiteral("odottaa 11"))) << waiting.first().toStdString();
}
