// The serial calls over a pseudo-terminal pair: exclusive open, line settings,
// reads and writes both ways, waits that another thread abandons, purges and
// queue counts, and a far end that hangs up.

#include "platform/comm/Comm.h"
#include "tests/support/PlainUser.h"
#include "tests/support/PtyPair.h"

#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;

TEST(CommDevice, OpenMissingDeviceIsFileNotFound)
{
    TCommDevice d;
    EXPECT_FALSE(d.Open(QStringLiteral("/dev/no-such-serial-port")));
    EXPECT_EQ(d.LastError(), ERROR_FILE_NOT_FOUND_);
}

TEST(CommDevice, OpenNonTerminalIsBadDevice)
{
    QTemporaryDir dir;
    QFile plain(dir.path() + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& path : {QStringLiteral("/dev/null"), dir.path(), plain.fileName()}) {
        TCommDevice d;
        EXPECT_FALSE(d.Open(path));
        EXPECT_EQ(d.LastError(), ERROR_BAD_DEVICE_) << path.toStdString();
    }
}

TEST(CommDevice, OpenWithoutPermissionIsNotInUse)
{
    PtyPair pty;
    QTemporaryDir dir;
    // The terminal stays root's with mode 0600, or is the tester's own with mode 0000.
    QFile::setPermissions(pty.NearPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (geteuid() != 0)
        QFile::setPermissions(pty.NearPath(), {});
    TPlainUser user(dir.path());
    TCommDevice d;
    EXPECT_FALSE(d.Open(pty.NearPath()));
    EXPECT_EQ(d.LastError(), ERROR_PRIVILEGE_NOT_HELD_);
}

TEST(CommDevice, SecondOpenOfAHeldPortIsAccessDenied)
{
    PtyPair pty;
    TCommDevice a, b;
    ASSERT_TRUE(a.Open(pty.NearPath()));
    EXPECT_FALSE(b.Open(pty.NearPath()));
    EXPECT_EQ(b.LastError(), ERROR_ACCESS_DENIED_);
    a.Close();
    EXPECT_TRUE(b.Open(pty.NearPath()));
}

TEST(CommDevice, BytesTravelBothWaysUnchanged)
{
    PtyPair pty;
    TCommDevice d;
    ASSERT_TRUE(d.Open(pty.NearPath()));
    EXPECT_TRUE(d.IsPseudoTerminal());
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    pty.WriteFar(all);
    QByteArray got;
    while (got.size() < all.size()) {
        char buf[300];
        int n = d.Read(buf, sizeof buf, 1000);
        ASSERT_GT(n, 0);
        got.append(buf, n);
    }
    EXPECT_EQ(got, all);

    int written = 0;
    EXPECT_EQ(d.Write(all.constData(), all.size(), written), all.size());
    EXPECT_EQ(pty.ReadFar(all.size(), 2000), all);
}

// A pseudo-terminal under another name (socat's links, a stable name kept
// for a reader that is plugged in and out) is still one: it has no modem
// lines, and setting them is not a failure.
TEST(CommDevice, APseudoTerminalOpenedThroughALinkIsOne)
{
    PtyPair pty;
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("lukija"));
    ASSERT_TRUE(QFile::link(pty.NearPath(), link));
    TCommDevice d;
    ASSERT_TRUE(d.Open(link));
    EXPECT_TRUE(d.IsPseudoTerminal());
    EXPECT_TRUE(d.EscapeCommFunction(SETDTR));
}

TEST(CommDevice, LineSettingsRoundTripAndBadRatesAreRefused)
{
    PtyPair pty;
    TCommDevice d;
    ASSERT_TRUE(d.Open(pty.NearPath()));
    TDCB dcb;
    ASSERT_TRUE(d.GetCommState(dcb));
    dcb.BaudRate = 115200;
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = TWOSTOPBITS;
    ASSERT_TRUE(d.SetCommState(dcb));
    TDCB back;
    ASSERT_TRUE(d.GetCommState(back));
    EXPECT_EQ(back.BaudRate, 115200u);
    EXPECT_EQ(back.ByteSize, 7);
    EXPECT_EQ(back.Parity, EVENPARITY);
    EXPECT_EQ(back.StopBits, TWOSTOPBITS);
    dcb.BaudRate = 12345;
    EXPECT_FALSE(d.SetCommState(dcb));
    EXPECT_EQ(d.LastError(), ERROR_INVALID_PARAMETER_);
    // A pseudo-terminal has no modem lines; setting them succeeds and does nothing.
    EXPECT_TRUE(d.EscapeCommFunction(SETDTR));
    EXPECT_TRUE(d.EscapeCommFunction(CLRRTS));
    uint32_t ms = 1;
    EXPECT_TRUE(d.GetCommModemStatus(ms));
    EXPECT_EQ(ms, 0u);
}

TEST(CommDevice, ReadTimesOutAndIsAbandonedByCancel)
{
    PtyPair pty;
    TCommDevice d;
    ASSERT_TRUE(d.Open(pty.NearPath()));
    char buf[16];
    EXPECT_EQ(d.Read(buf, sizeof buf, 30), 0);
    std::thread t([&] {
        std::this_thread::sleep_for(50ms);
        d.CancelIo();
    });
    EXPECT_EQ(d.Read(buf, sizeof buf, 5000), -2);
    EXPECT_EQ(d.LastError(), ERROR_OPERATION_ABORTED_);
    t.join();
    // An abandon request before a call does not abandon the call.
    pty.WriteFar("x");
    EXPECT_EQ(d.Read(buf, sizeof buf, 1000), 1);
}

TEST(CommDevice, CommEventWaitEndsWhenTheMaskIsCleared)
{
    PtyPair pty;
    TCommDevice d;
    ASSERT_TRUE(d.Open(pty.NearPath()));
    ASSERT_TRUE(d.SetCommMask(EV_CTS | EV_DSR | EV_ERR | EV_BREAK));
    uint32_t ev = 0;
    EXPECT_EQ(d.WaitCommEvent(ev, 40), 0);
    std::thread t([&] {
        std::this_thread::sleep_for(50ms);
        d.SetCommMask(0);
    });
    EXPECT_EQ(d.WaitCommEvent(ev, 5000), -2);
    t.join();
    ASSERT_TRUE(d.SetCommMask(EV_RXCHAR));
    pty.WriteFar("abc");
    EXPECT_EQ(d.WaitCommEvent(ev, 2000), 1);
    EXPECT_EQ(ev, EV_RXCHAR);
}

TEST(CommDevice, PurgeDropsWaitingInputAndCountsShowTheQueue)
{
    PtyPair pty;
    TCommDevice d;
    ASSERT_TRUE(d.Open(pty.NearPath()));
    pty.WriteFar("12345");
    std::this_thread::sleep_for(30ms);
    uint32_t errors = 99;
    TComStat st;
    ASSERT_TRUE(d.ClearCommError(errors, &st));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(st.cbInQue, 5u);
    ASSERT_TRUE(d.PurgeComm(PURGE_RXABORT | PURGE_RXCLEAR));
    ASSERT_TRUE(d.ClearCommError(errors, &st));
    EXPECT_EQ(st.cbInQue, 0u);
    char buf[8];
    EXPECT_EQ(d.Read(buf, sizeof buf, 20), 0);
}

TEST(CommDevice, FarEndHangUpFailsTheWaitsAndReads)
{
    PtyPair pty;
    TCommDevice d;
    ASSERT_TRUE(d.Open(pty.NearPath()));
    ASSERT_TRUE(d.SetCommMask(EV_CTS | EV_ERR));
    std::thread t([&] {
        std::this_thread::sleep_for(50ms);
        pty.CloseFar();
    });
    uint32_t ev = 0;
    EXPECT_EQ(d.WaitCommEvent(ev, 5000), -1);
    t.join();
    char buf[8];
    EXPECT_EQ(d.Read(buf, sizeof buf, 100), -1);
    EXPECT_EQ(d.LastError(), ERROR_DEVICE_NOT_CONNECTED_);
    EXPECT_TRUE(d.Close());
}
