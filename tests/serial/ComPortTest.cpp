// The port component over a pseudo-terminal and the Qt event loop: bytes
// reach the data notification on the main thread, bytes written arrive on the
// far end, reopening drops what was pending, a far end that goes away mid-way
// is survived and reported, and a handler that runs longer than the
// dispatcher waits for it does not break the dispatch.

#include "devices/serial/SerComPort.h"
#include "devices/serial/SerErrors.h"
#include "platform/os/MessageWindow.h"
#include "platform/os/OsTypes.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/PtyPair.h"

#include <QThread>
#include <gtest/gtest.h>
#include <chrono>
#include <memory>
#include <thread>

namespace {

class ComPort : public ::testing::Test {
protected:
    PtyPair pty;
    std::unique_ptr<TSerComPort> port = std::make_unique<TSerComPort>(nullptr);
    QByteArray received;
    int notifications = 0;
    bool allOnMainThread = true;
    bool reading = true;

    void SetUp() override
    {
        port->SetComPath(pty.NearPath());
        port->SetBaud(9600);
        port->SetOnTriggerAvail([this](TSerCustomComPort* P, uint16_t Count) {
            ++notifications;
            allOnMainThread = allOnMainThread && IsMainThread();
            if (!reading)
                return;
            for (int i = 0; i < Count; ++i)
                received.append(static_cast<char>(P->GetChar()));
        });
    }
    void TearDown() override { port.reset(); }
};

QByteArray AllBytes()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(static_cast<char>(i));
    return b;
}

}  // namespace

TEST_F(ComPort, BytesFromTheFarEndReachTheDataNotificationOnTheMainThread)
{
    port->SetOpen(true);
    ASSERT_TRUE(port->Open());
    const QByteArray sent = AllBytes() + AllBytes() + QByteArray(1000, 'z');
    pty.WriteFar(sent);
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= sent.size(); }, 5000));
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(allOnMainThread);
    // Several hundred bytes arrive in a handful of notifications.
    EXPECT_LT(notifications, 50);
    EXPECT_EQ(port->InBuffUsed(), 0);
}

TEST_F(ComPort, BytesWrittenByThePortArriveOnTheFarEnd)
{
    port->SetOpen(true);
    port->PutString(QByteArray("receipt\r\n"));
    port->PutChar(0x1B);
    port->PutString(QString::fromUtf8("äö"));
    const QByteArray block = AllBytes();
    port->PutBlock(block.constData(), static_cast<uint16_t>(block.size()));
    port->PutString(QByteArray());
    const QByteArray expected = QByteArray("receipt\r\n") + '\x1B' + QString::fromUtf8("äö").toUtf8() + block;
    EXPECT_EQ(pty.ReadFar(expected.size(), 3000), expected);
}

TEST_F(ComPort, ABlockLargerThanTheFreeOutputIsRefusedWhole)
{
    port->SetOutSize(16);
    port->SetOpen(true);
    EXPECT_THROW(port->PutString(QByteArray(17, 'x')), EOutputBufferTooSmall);
    port->PutString(QByteArray(16, 'y'));
    EXPECT_EQ(pty.ReadFar(17, 500), QByteArray(16, 'y'));
}

TEST_F(ComPort, ReopeningDropsPendingBytes)
{
    port->SetOpen(true);
    reading = false;  // as the reader window while reading is disabled
    pty.WriteFar("OLD");
    ASSERT_TRUE(PumpUntil([&] { return port->InBuffUsed() == 3; }, 3000));
    port->SetOpen(false);
    port->SetOpen(true);
    reading = true;
    EXPECT_EQ(port->InBuffUsed(), 0);
    pty.WriteFar("NEW");
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= 3; }, 3000));
    PumpFor(50);
    EXPECT_EQ(received, "NEW");
}

TEST_F(ComPort, ClosingTheFarEndMidFrameIsSurvivedAndReported)
{
    std::vector<QString> reported;
    SetMessageExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const Exception& x) {
            reported.push_back(x.Message());
        } catch (...) {
            reported.push_back(QStringLiteral("?"));
        }
    });
    port->SetOpen(true);
    pty.WriteFar(QByteArray(90, 'h'));
    ASSERT_TRUE(PumpUntil([&] { return received.size() == 90; }, 3000));
    pty.CloseFar();
    ASSERT_TRUE(PumpUntil([&] { return !reported.empty(); }, 5000));
    EXPECT_EQ(reported.front(), "Device read error");
    // The component still reads as open until it is closed; closing works.
    EXPECT_TRUE(port->Open());
    port->SetOpen(false);
    EXPECT_FALSE(port->Open());
    // The device is gone: opening it again fails and leaves the port closed.
    EXPECT_THROW(port->SetOpen(true), EBadId);
    EXPECT_FALSE(port->Open());
    SetMessageExceptionHandler(nullptr);
}

// An unplugged device fails both the read and the status thread: an owner
// that handles the failure hears of it once, and nothing is raised.
TEST_F(ComPort, AnUnpluggedDeviceReachesTheOwnersHandlerOnce)
{
    std::vector<QString> raised;
    SetMessageExceptionHandler([&](std::exception_ptr) { raised.push_back(QStringLiteral("raised")); });
    std::vector<int> codes;
    port->OnThreadError = [&](TSerCustomComPort* Sender, int Code) {
        EXPECT_EQ(Sender, port.get());
        codes.push_back(Code);
    };
    port->SetOpen(true);
    pty.WriteFar("abc");
    ASSERT_TRUE(PumpUntil([&] { return received.size() == 3; }, 3000));
    pty.CloseFar();
    ASSERT_TRUE(PumpUntil([&] { return !codes.empty(); }, 5000));
    PumpFor(500);
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], -161);
    EXPECT_EQ(MessageNumberToString(codes[0]), QStringLiteral("Device read error"));
    EXPECT_TRUE(raised.empty());
    port->SetOpen(false);
    EXPECT_FALSE(port->Open());
    SetMessageExceptionHandler(nullptr);
}

TEST_F(ComPort, AHandlerRunningLongerThan3000MsDoesNotBreakTheDispatch)
{
    bool first = true;
    port->SetOnTriggerAvail([&](TSerCustomComPort* P, uint16_t Count) {
        if (first) {
            first = false;
            // Longer than the dispatcher waits for a handler; more bytes
            // arrive meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(3300));
        }
        for (int i = 0; i < Count && P->CharReady(); ++i)
            received.append(static_cast<char>(P->GetChar()));
    });
    port->SetOpen(true);
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        pty.WriteFar("-second");
    });
    pty.WriteFar("first");
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= 12; }, 10000));
    later.join();
    PumpFor(100);
    EXPECT_EQ(received, "first-second");
    pty.WriteFar("-third");
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= 18; }, 3000));
    PumpFor(50);
    EXPECT_EQ(received, "first-second-third");
}
