#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "resources/ProgramTexts.h"
#include "app/vrkCommon.h"
#include "tests/support/Scramble.h"
#include "tests/support/TempProgramDir.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Startup, UncaughtExceptionShowsTheBoxLogsItAndEndsTheProgram)
{
    TempProgramDir home;
    std::vector<TMessageBoxRequest> boxes;
    SetMessageBoxHook([&](const TMessageBoxRequest& r) {
        boxes.push_back(r);
        return IDOK;
    });
    {
        int argc = 1;
        char arg0[] = "sorvex";
        char* argv[] = {arg0, nullptr};
        TApplication app(argc, argv);
        Application->CreateForm(formMain);
        ASSERT_NE(formMain, nullptr);
        // The window's start-up (its first showing) is not what this is about.
        Application->ShowMainForm = false;
        QTimer::singleShot(0, [] { throw Exception("boom"); });
        QTimer::singleShot(5000, [] { Application->Terminate(); });  // safety net
        QElapsedTimer t;
        t.start();
        Application->Run();
        EXPECT_LT(t.elapsed(), 4000);
        EXPECT_TRUE(Application->Terminated());
    }
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(formMain, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, txt::UnexpectedError + "boom");
    EXPECT_EQ(boxes[0].Flags, MB_OK | MB_ICONERROR);
    const QString log = QString::fromUtf8(home.Read(QDate::currentDate().toString("yyyyMMdd") + "_loki.csv"));
    // one record (its text carries line breaks of its own, so it is quoted)
    EXPECT_EQ(log.count(";Error;X;"), 1) << log.toStdString();
    EXPECT_TRUE(log.contains(";Error;X;\"" + txt::UnexpectedError + "boom\"\r\n"));
}

namespace {

QProcess* StartProgram(const TempProgramDir& home, const QString& dialogLog)
{
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SORVEX_HOME", home.Path());
    env.insert("SORVEX_RUNTIME_DIR", home.Path());
    env.insert("SORVEX_DIALOG_LOG", dialogLog);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(SORVEX_BIN_DIR) + "/sorvex", {});
    p->waitForStarted(5000);
    return p;
}

// A program folder whose database opens, so a started copy keeps running
// (in its first-use dialog).
void PlaceDatabase(const TempProgramDir& home)
{
    QFile::copy(TestDatabase::TemplatePath(), home.File("SORVEX.FDB"));
    home.Write("vrkEventSystem.ini",
               ("[CONNECT_PARAMS]\r\nDB_NAME=SORVEX.FDB\r\nUSER_NAME=" + ScrambleForTest("SYSDBA", DecryptStartKey) + "\r\n")
                   .toUtf8());
}

}  // namespace

TEST(Startup, SecondCopyShowsTheMessageAndExitsWithoutWindow)
{
    TempProgramDir home;
    PlaceDatabase(home);
    const QString log1 = home.File("first.log"), log2 = home.File("second.log");
    std::unique_ptr<QProcess> first(StartProgram(home, log1));
    // The first copy holds the mark once it has written its INI defaults.
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(home.File("vrkEvent.ini")) && t.elapsed() < 10000)
        QThread::msleep(20);
    ASSERT_EQ(first->state(), QProcess::Running);

    std::unique_ptr<QProcess> second(StartProgram(home, log2));
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(home.Read("second.log")).contains(txt::SecondInstance.toUtf8()));
    EXPECT_EQ(first->state(), QProcess::Running);  // the running copy is untouched

    first->kill();
    first->waitForFinished(5000);
    // After the running copy ends, however it ended, a new start succeeds.
    QFile::remove(log2);
    std::unique_ptr<QProcess> third(StartProgram(home, log2));
    EXPECT_FALSE(third->waitForFinished(1500));
    EXPECT_FALSE(QFile::exists(log2));
    third->kill();
    third->waitForFinished(5000);
}

TEST(Startup, UnusableLockFileIsAnErrorNamingTheFolderNotASecondCopy)
{
    TempProgramDir home;
    const QString log = home.File("dialogs.log");
    QDir(home.Path()).mkdir("sorvex-_AD12094E-7308-4067-8CAC-565A1FF3ADDC_.lock");  // cannot be opened
    std::unique_ptr<QProcess> p(StartProgram(home, log));
    ASSERT_TRUE(p->waitForFinished(10000));
    EXPECT_NE(p->exitCode(), 0);
    const QString shown = QString::fromUtf8(home.Read("dialogs.log"));
    EXPECT_FALSE(shown.contains(txt::SecondInstance)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QDir(home.Path()).absolutePath())) << shown.toStdString();
    EXPECT_TRUE(QString::fromLocal8Bit(p->readAllStandardError()).contains(QDir(home.Path()).absolutePath()));
}
