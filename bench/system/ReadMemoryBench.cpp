// Memory a desk keeps per card read: the real program at the finish beside
// the result board over an event of 2,000 checked-in runners, cards from the
// reader simulator. The resident size is taken after a first batch of reads
// (caches and pools filled) and again after the measured reads; the growth
// per read is the figure, beside the file's growth per read (the engine's
// page cache takes the new pages in until its bound, 2,048 pages by
// default). SORVEX_MEMORY_READS sets the measured reads (default 300),
// SORVEX_MEMORY_PAGE_BUFFERS the file's page cache size.
//
//   build/bench/bin/read_memory_bench

#include "tests/support/ProgramUnderTest.h"
#include "tests/support/SimulatedReader.h"
#include "tests/system/CardReads.h"
#include "tests/system/Scenario.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <cstdio>

namespace {

constexpr int kRunners = 2000;
constexpr int kFirstCard = 300000;
constexpr int kWarmReads = 40;

// Resident size of a process in KB (VmRSS of /proc/<pid>/status).
long ResidentKb(qint64 Pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(Pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int reads = qEnvironmentVariableIsSet("SORVEX_MEMORY_READS") ? qEnvironmentVariableIntValue("SORVEX_MEMORY_READS") : 300;
    SimulatedReader reader(115200);
    TProgramUnderTest desk;
    TDeskLogin login;
    login.Database = desk.Db.Path();
    LinkDesk(login, 7, QStringLiteral("s3cret"));
    RegisterRunners(login, kFirstCard, kRunners);
    CheckInRunners(login, kFirstCard, kRunners);
    // SORVEX_MEMORY_PAGE_BUFFERS: the file's own page cache size, small
    // enough to be full before the measured reads, so that what grows is
    // the program's own.
    if (const QString buffers = qEnvironmentVariable("SORVEX_MEMORY_PAGE_BUFFERS"); !buffers.isEmpty())
        QProcess::execute(QStringLiteral("gfix"), {QStringLiteral("-buffers"), buffers, QStringLiteral("-user"),
                                                   QStringLiteral("SYSDBA"), login.Database});
    desk.Options.LinkedClient = false;
    desk.Options.ReaderPort = reader.PortPath();
    desk.Options.ExtraDeviceLines = {{QStringLiteral("CHIP_READER"), QStringLiteral("READ_DELAY=0")}};
    if (!desk.Start() || !desk.Driver.Wait(QStringLiteral("formMain"))
        || !desk.Driver.Click(QStringLiteral("formMain.actMaaliAloita")) || !desk.Driver.Click(QStringLiteral("formMain.actResultBoard"))) {
        std::fprintf(stderr, "the desk did not start: %s\n", qPrintable(desk.LastError() + desk.Driver.LastError()));
        return 1;
    }
    long before = 0;
    qint64 fileBefore = 0;
    for (int i = 0; i < kWarmReads + reads; ++i) {
        if (i == kWarmReads) {
            before = ResidentKb(desk.Pid());
            fileBefore = QFileInfo(login.Database).size();
        }
        // The curve: the engine's page cache takes in the pages the file
        // grows by, up to its bound, so the file size goes beside the
        // resident size.
        if (i > kWarmReads && (i - kWarmReads) % 100 == 0)
            std::printf("%5d reads: resident %ld KB, file %lld KB\n", i, ResidentKb(desk.Pid()),
                        QFileInfo(login.Database).size() / 1024);
        reader.Place(CourseACard(uint32_t(kFirstCard + i)), 4);
        reader.Wait();
        // The board takes the next card once its wait after this one passed.
        QThread::msleep(600);
    }
    QThread::msleep(2000);
    const long after = ResidentKb(desk.Pid());
    if (!desk.QuitAndWait()) {
        std::fprintf(stderr, "the desk did not end: %s\n", qPrintable(desk.LastError()));
        return 1;
    }
    const int stored =
        ValueOf(login, QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 100 and RESULT_STATUS = 'V'")).toInt();
    const qint64 fileAfter = QFileInfo(login.Database).size();
    std::printf("resident %ld KB after %d reads, %ld KB after %d more (%d of %d stored): %.1f KB per read; "
                "the file grew %.1f KB per read\n",
                before, kWarmReads, after, reads, stored, kWarmReads + reads, double(after - before) / reads,
                double(fileAfter - fileBefore) / 1024 / reads);
    return 0;
}
