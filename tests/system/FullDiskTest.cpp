// The data module on a database whose disk fills up while cards are read: a
// small file system of its own (a tmpfs mounted for the test, so it needs
// the right to mount; without it the test is skipped and says why) holding
// a copy of the event database. A read the full disk refuses is named as
// such in Finnish, leaves no half-stored run, is kept to be processed again,
// and reading the card again once space is freed stores it whole.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "resources/SafeguardTexts.h"
#include "tests/support/DataModuleFixture.h"
#include "tests/system/CardReads.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <sys/mount.h>

namespace {

// A tmpfs of Bytes at a temporary folder, unmounted when the object goes.
class TSmallDisk {
public:
    explicit TSmallDisk(qint64 Bytes)
    {
        const QByteArray at = QFile::encodeName(FDir.path());
        const QByteArray size = "size=" + QByteArray::number(Bytes);
        FMounted = FDir.isValid() && ::mount("tmpfs", at.constData(), "tmpfs", 0, size.constData()) == 0;
        if (!FMounted)
            FError = QString::fromLocal8Bit(strerror(errno));
    }
    ~TSmallDisk()
    {
        if (FMounted)
            ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    const QString& Error() const { return FError; }
    QString File(const QString& Name) const { return FDir.filePath(Name); }
    // Writes a filler file so that about Left bytes stay free.
    void FillLeaving(qint64 Left)
    {
        QFile f(File(QStringLiteral("filler")));
        f.open(QIODevice::WriteOnly | QIODevice::Append);
        const QByteArray block(4096, 'x');
        while (QStorageInfo(FDir.path()).bytesAvailable() > Left && f.write(block) == block.size())
            f.flush();
    }
    void FreeSpace() { QFile::remove(File(QStringLiteral("filler"))); }

private:
    QTemporaryDir FDir;
    bool FMounted = false;
    QString FError;
};

constexpr int kFirstCard = 610000;
constexpr int kMaxReads = 3000;

// A desk on a copy of the event database on a small disk, with registered
// runners, connected; the disk is then filled to its last 64 kB. Skipped
// tells why the test cannot run.
struct TFullDiskDesk {
    TFullDiskDesk() : Disk(QFileInfo(TestDatabase::TemplatePath()).size() + 3 * 1024 * 1024) {}
    void Prepare()
    {
        if (!Disk.Mounted()) {
            Skipped = QStringLiteral("no small file system for a full disk (mounting a tmpfs failed: ") + Disk.Error()
                      + QLatin1Char(')');
            return;
        }
        Path = Disk.File(QStringLiteral("SORVEX.FDB"));
        ASSERT_TRUE(QFile::copy(TestDatabase::TemplatePath(), Path));
        QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner);
        TDeskLogin login;
        login.Database = Path;
        LinkDesk(login, 7, QStringLiteral("s3cret"));
        RegisterRunners(login, kFirstCard, kMaxReads);
        auto f = std::make_unique<DataModuleFixture>();
        formMain->s_db_name = Path;
        ASSERT_TRUE(f->Connect());
        formMain->nCurrentProcessedEvent = 100;
        formMain->nCurrentProcessedEventS = 1;
        Disk.FillLeaving(64 * 1024);
        F = std::move(f);
    }
    TSmallDisk Disk;
    QString Path, Skipped;
    std::unique_ptr<DataModuleFixture> F;
};

// Reads cards at the finish one after another until the disk refuses one
// (its store, its check or, when AcceptAtOnce is given, its acceptance);
// the refused card, 0 when none was. Chip and Read are the last read's.
int ReadUntilRefused(DataModuleFixture& F, TDataModule1::TStoredRead& Read, QString& Chip,
                     const std::function<bool(const TDataModule1::TStoredRead&)>& AcceptAtOnce)
{
    for (int i = 0; i < kMaxReads; ++i) {
        Chip = CourseAChip(kFirstCard + i, i);
        F.Module->storeCardRead(Chip, Read, AcceptAtOnce);
        if (!Read.message.isEmpty() || !Read.checkMessage.isEmpty() || (AcceptAtOnce && !Read.accepted))
            return kFirstCard + i;
    }
    return 0;
}

// Each test on a desk of its own whose disk is full (skipped where no small
// file system can be mounted).
class FullDiskDesk : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desk.Prepare();
        if (!Desk.Skipped.isEmpty())
            GTEST_SKIP() << Desk.Skipped.toStdString();
        ASSERT_TRUE(Desk.F);
    }
    TFullDiskDesk Desk;
};

}  // namespace

TEST_F(FullDiskDesk, ARefusedReadIsNamedKeptNeverHalfStoredAndStoredWholeWhenReadAgain)
{
    DataModuleFixture& f = *Desk.F;
    TSmallDisk& disk = Desk.Disk;
    const QString& path = Desk.Path;

    int refusedCard = 0;
    QString chip, message;
    for (int i = 0; i < kMaxReads && refusedCard == 0; ++i) {
        chip = CourseAChip(kFirstCard + i, i);
        int64_t id = 0;
        QString wasInForest, flag;
        f.Module->insertResultsClass(chip, QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
        if (!message.isEmpty())
            refusedCard = kFirstCard + i;
    }
    ASSERT_NE(refusedCard, 0) << "the disk never filled";
    EXPECT_TRUE(message.contains(txt::DbCauseDiskFull.arg(path))) << message.toStdString();
    const QString runs = QStringLiteral("select count(*) from VRK_RESULTS_CLASS where CONTROL_CARD = '%1'").arg(refusedCard);
    const QString halfRuns = runs + QStringLiteral(" and (STATUS is null or TIME_SEC is null)");
    EXPECT_EQ(f.Value(halfRuns).toInt(), 0);
    EXPECT_TRUE(f.Module->KeptReads().contains(chip));

    disk.FreeSpace();
    int64_t id = 0;
    QString wasInForest, flag;
    f.Module->insertResultsClass(chip, QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    EXPECT_EQ(f.Value(runs).toInt(), 1);
    EXPECT_EQ(f.Value(halfRuns).toInt(), 0);
    EXPECT_FALSE(f.Module->KeptReads().contains(chip));
}

// A read stored and checked in one transaction: whether the disk refuses
// the store or the check's writes, nothing of the read stays behind; it is
// kept, and read again once there is room it is stored and checked whole.
TEST_F(FullDiskDesk, AReadStoredWithItsCheckIsRefusedWhole)
{
    DataModuleFixture& f = *Desk.F;

    TDataModule1::TStoredRead read;
    QString chip;
    const int refusedCard = ReadUntilRefused(f, read, chip, {});
    ASSERT_NE(refusedCard, 0) << "the disk never filled";
    EXPECT_TRUE(read.message.contains(txt::DbCauseDiskFull.arg(Desk.Path))) << read.message.toStdString();
    EXPECT_TRUE(read.checkMessage.isEmpty()) << read.checkMessage.toStdString();
    const QString runs = QStringLiteral("select count(*) from VRK_RESULTS_CLASS where CONTROL_CARD = '%1'").arg(refusedCard);
    EXPECT_EQ(f.Value(runs + QStringLiteral(" and (STATUS is null or TIME_SEC is null)")).toInt(), 0);
    EXPECT_TRUE(f.Module->KeptReads().contains(chip));

    Desk.Disk.FreeSpace();
    f.Module->storeCardRead(chip, read);
    EXPECT_TRUE(read.message.isEmpty()) << read.message.toStdString();
    EXPECT_TRUE(read.checkMessage.isEmpty()) << read.checkMessage.toStdString();
    EXPECT_EQ(f.Value(runs).toInt(), 1);
    EXPECT_EQ(f.Value(runs + QStringLiteral(" and STATUS is not null and TIME_SEC is not null")).toInt(), 1);
    EXPECT_FALSE(f.Module->KeptReads().contains(chip));
}

// A read that the desk accepts by itself is accepted in the transaction that
// stores it: refused by the full disk, it leaves neither a run nor an upload
// queue row behind and is kept; read again, it is stored, accepted and
// queued once.
TEST_F(FullDiskDesk, AReadAcceptedWithItsStoringIsRefusedWhole)
{
    DataModuleFixture& f = *Desk.F;
    TSmallDisk& disk = Desk.Disk;

    const auto always = [](const TDataModule1::TStoredRead&) { return true; };
    TDataModule1::TStoredRead read;
    QString chip;
    const int refusedCard = ReadUntilRefused(f, read, chip, always);
    ASSERT_NE(refusedCard, 0) << "the disk never filled";
    EXPECT_FALSE(read.accepted);
    const QString runs = QStringLiteral("select count(*) from VRK_RESULTS_CLASS where CONTROL_CARD = '%1'").arg(refusedCard);
    const QString queued = QStringLiteral("select count(*) from VRK_DATA_REPLICATION X join VRK_RESULTS_CLASS R on "
                                          "R.RESULTS_CLASS_ID = X.REPL_DATA_ID where X.REPL_DATA = 'VRK_RESULTS_CLASS' "
                                          "and R.CONTROL_CARD = '%1'").arg(refusedCard);
    EXPECT_EQ(f.Value(runs + QStringLiteral(" and (STATUS is null or TIME_SEC is null)")).toInt(), 0);
    EXPECT_EQ(f.Value(queued).toInt(), 0);
    if (read.message.isEmpty()) {
        // Only the acceptance was refused: the read is stored whole, for the
        // dialog to accept as before.
        EXPECT_EQ(f.Value(runs).toInt(), 1);
        return;
    }
    EXPECT_EQ(f.Value(runs).toInt(), 0);
    EXPECT_TRUE(f.Module->KeptReads().contains(chip));

    disk.FreeSpace();
    f.Module->storeCardRead(chip, read, always);
    EXPECT_TRUE(read.message.isEmpty()) << read.message.toStdString();
    EXPECT_TRUE(read.accepted);
    EXPECT_EQ(f.Value(runs).toInt(), 1);
    EXPECT_EQ(f.Value(runs + QStringLiteral(" and RESULT_STATUS = 'V' and STATUS is not null")).toInt(), 1);
    EXPECT_EQ(f.Value(queued).toInt(), 1);
    EXPECT_FALSE(f.Module->KeptReads().contains(chip));
}

// However a run came to be stored only in part (finished, without status or
// time), reading the card again takes it over and stores it whole, rather
// than leaving it beside a second run.
TEST(FullDisk, AHalfStoredRunIsMendedByReadingTheCardAgain)
{
    DataModuleFixture f;
    TDeskLogin login;
    login.Database = f.Db.Path();
    LinkDesk(login, 7, QStringLiteral("s3cret"));
    RegisterRunners(login, kFirstCard, 1);
    ASSERT_TRUE(f.Connect());
    formMain->nCurrentProcessedEvent = 100;
    formMain->nCurrentProcessedEventS = 1;
    const QString chip = CourseAChip(kFirstCard, 1);
    int64_t id = 0;
    QString wasInForest, message, flag;
    f.Module->insertResultsClass(chip, QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
    ASSERT_TRUE(message.isEmpty()) << message.toStdString();
    f.Exec(QStringLiteral("update VRK_RESULTS_CLASS set STATUS = null, TIME_SEC = null where RESULTS_CLASS_ID = %1;").arg(id), true);

    int64_t again = 0;
    f.Module->insertResultsClass(CourseAChip(kFirstCard, 2), QStringLiteral("E"), QString(), QString(), again, wasInForest,
                                 message, flag);
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    EXPECT_EQ(again, id);
    // Taken as a registered run is: checked and accepted as it stands.
    EXPECT_EQ(wasInForest, QStringLiteral("K"));
    EXPECT_EQ(f.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where CONTROL_CARD = '%1'").arg(kFirstCard)).toInt(), 1);
    EXPECT_EQ(f.Value(QStringLiteral("select STATUS || '/' || TIME_SEC || '/' || RESULT_STATUS from VRK_RESULTS_CLASS "
                                     "where RESULTS_CLASS_ID = %1").arg(id)).toString(),
              QStringLiteral("0/2400.00/V"));
}
