// The port component's life cycle and contract: opening errors, automatic
// open, reads on an empty ring, triggers kept over a reopen, a close and
// reopen from inside a handler, a deferred close, flow thresholds, the
// telephony mode, and the port selection.

#include "devices/serial/SerComPort.h"
#include "devices/serial/SerComSelectForm.h"
#include "platform/ui/StdCtrls.h"
#include "devices/serial/SerErrors.h"
#include "platform/comm/Comm.h"
#include "platform/comm/CommPorts.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/PlainUser.h"
#include "tests/support/PtyPair.h"

#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

TEST(ComPortLife, OpenWithoutAPortRaisesNoPortSelected)
{
    TSerComPort p(nullptr);
    p.SetPromptForPort(false);
    EXPECT_THROW(p.SetOpen(true), ENoPortSelected);
    EXPECT_FALSE(p.Open());
    p.SetPromptForPort(true);
    SetComSelectDialog(nullptr);
    QString shown;
    SetModalHook([&](TCustomForm* F) {
        shown = F->Caption();
        return static_cast<int>(mrCancel);
    });
    EXPECT_THROW(p.SetOpen(true), ENoPortSelected);
    EXPECT_EQ(p.PortState(), psClosed);
    EXPECT_EQ(shown, "Select Port");
    SetModalHook(nullptr);
}

TEST(ComPortLife, TheSelectionDialogListsThePortsAndOpensTheChosenOne)
{
    PtyPair pty;
    const int n = pty.NearNumber();
    ASSERT_GT(n, 0);
    ASSERT_LE(n, 50);
    QStringList listed;
    SetComSelectDialog(nullptr);
    SetModalHook([&](TCustomForm* F) {
        auto* form = dynamic_cast<TComSelectForm*>(F);
        listed = form->PortsComboBox->Items();
        form->PortsComboBox->SetItemIndex(static_cast<int>(listed.indexOf(QStringLiteral("COM%1").arg(n))));
        EXPECT_EQ(form->SelectedComNum(), n);
        return static_cast<int>(mrOk);
    });
    TSerComPort p(nullptr);
    p.SetOpen(true);
    SetModalHook(nullptr);
    EXPECT_TRUE(p.Open());
    EXPECT_EQ(p.ComNumber(), n);
    EXPECT_TRUE(listed.contains(QStringLiteral("COM%1").arg(n)));
    QStringList sorted = listed;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.mid(3).toInt() < b.mid(3).toInt();
    });
    EXPECT_EQ(listed, sorted);
}

TEST(ComPortLife, TheSelectionDialogChoosesAnAvailablePort)
{
    PtyPair pty;
    const int n = pty.NearNumber();
    ASSERT_GT(n, 0);
    EXPECT_TRUE(IsPortAvailable(static_cast<uint32_t>(n)));
    EXPECT_FALSE(IsPortAvailable(0));
    QStringList offered;
    SetComSelectDialog([&](const QStringList& Ports) {
        offered = Ports;
        return n;
    });
    TSerComPort p(nullptr);
    p.SetOpen(true);
    EXPECT_TRUE(p.Open());
    EXPECT_EQ(p.ComNumber(), n);
    if (n <= 50) {
        EXPECT_TRUE(offered.contains(QStringLiteral("COM%1").arg(n)));
    }
    p.SetOpen(false);
    SetComSelectDialog([](const QStringList&) { return 0; });
    TSerComPort q(nullptr);
    EXPECT_THROW(q.SetOpen(true), ENoPortSelected);
    SetComSelectDialog(nullptr);
}

TEST(ComPortLife, MissingAndHeldPortsRaiseTheirErrors)
{
    TSerComPort p(nullptr);
    p.SetComPath(QStringLiteral("/dev/no-such-serial-port"));
    EXPECT_THROW(p.SetOpen(true), EBadId);
    EXPECT_EQ(p.PortState(), psClosed);

    PtyPair pty;
    TCommDevice other;
    ASSERT_TRUE(other.Open(pty.NearPath()));
    p.SetComPath(pty.NearPath());
    EXPECT_THROW(p.SetOpen(true), EAlreadyOpen);
    EXPECT_FALSE(p.Open());
    other.Close();
    p.SetOpen(true);
    EXPECT_TRUE(p.Open());
}

// Each cause of a failed open has its own text: no permission (with the
// remedy), not a serial device (a folder, a plain file, /dev/null), the
// device-layer failures with no errno text to borrow.
TEST(ComPortLife, OpenErrorsNameTheirCause)
{
    QTemporaryDir dir;
    QFile plain(dir.path() + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& path : {dir.path(), plain.fileName(), QStringLiteral("/dev/null")}) {
        TSerComPort p(nullptr);
        p.SetComPath(path);
        try {
            p.SetOpen(true);
            ADD_FAILURE() << path.toStdString();
        } catch (const ENotSerialDevice& e) {
            EXPECT_EQ(e.Message(), "ie_NotSerial - the device is not a serial port");
        }
        EXPECT_EQ(p.PortState(), psClosed);
    }

    PtyPair pty;
    QFile::setPermissions(pty.NearPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (geteuid() != 0)
        QFile::setPermissions(pty.NearPath(), {});
    TPlainUser user(dir.path());
    TSerComPort p(nullptr);
    p.SetComPath(pty.NearPath());
    try {
        p.SetOpen(true);
        ADD_FAILURE() << "opened without permission";
    } catch (const ENoPermission& e) {
        EXPECT_TRUE(e.Message().contains("dialout")) << e.Message().toStdString();
    }
    EXPECT_FALSE(p.Open());
}

TEST(ComPortLife, TelephonyModeCannotOpen)
{
    PtyPair pty;
    TSerComPort p(nullptr);
    p.SetComPath(pty.NearPath());
    p.SetTapiMode(TTapiMode::tmOn);
    EXPECT_THROW(p.SetOpen(true), ENotOpenedByTapi);
    EXPECT_FALSE(p.Open());
    EXPECT_EQ(p.PortState(), psClosed);
}

TEST(ComPortLife, FirstWriteOpensUnderAutoOpenOnly)
{
    PtyPair pty;
    TSerComPort p(nullptr);
    p.SetComPath(pty.NearPath());
    p.SetAutoOpen(false);
    EXPECT_THROW(p.PutChar('a'), ECommNotOpen);
    p.SetAutoOpen(true);
    p.PutChar('a');
    EXPECT_TRUE(p.Open());
    EXPECT_EQ(pty.ReadFar(1, 2000), "a");
    EXPECT_THROW(p.GetChar(), EBufferIsEmpty);
    EXPECT_FALSE(p.CharReady());
}

TEST(ComPortLife, ClosedPortReadsItsDefaults)
{
    TSerComPort p(nullptr);
    EXPECT_EQ(p.Version(), "v5.00");
    EXPECT_EQ(p.Baud(), 19200);
    EXPECT_EQ(p.InBuffFree(), 8192);
    EXPECT_EQ(p.OutBuffFree(), 4096);
    EXPECT_EQ(p.InBuffUsed(), 0);
    EXPECT_FALSE(p.DSR());
    EXPECT_EQ(p.TriggerLength(), 1);
    EXPECT_EQ(p.TraceName(), "DORV.TRC");
    p.SetTracing(tlDump);
    EXPECT_EQ(p.Tracing(), tlOff);
}

TEST(ComPortLife, FlowThresholdsAreDerivedFromTheInputSize)
{
    TSerComPort p(nullptr);
    p.SetHWFlowOptions(HWFlow(hwfUseRTS));
    EXPECT_EQ(p.BufferFull(), 3686);
    EXPECT_EQ(p.BufferResume(), 409);
    TSerComPort q(nullptr);
    q.SetSWFlowOptions(swfBoth);
    EXPECT_EQ(q.BufferFull(), 3072);
    EXPECT_EQ(q.BufferResume(), 1024);
    q.SetRS485Mode(true);
    q.SetHWFlowOptions(HWFlow(hwfRequireCTS));
    EXPECT_FALSE(q.RS485Mode());
}

TEST(ComPortLife, TriggersSurviveACloseAndAPortChange)
{
    PtyPair a, b;
    TSerComPort p(nullptr);
    p.SetComPath(a.NearPath());
    p.SetOnTriggerAvail([](TSerCustomComPort*, uint16_t) {});
    p.SetOpen(true);
    const uint16_t timer = p.AddTimerTrigger();
    p.SetOpen(false);
    p.SetOpen(true);
    EXPECT_EQ(p.Dispatcher()->LengthTrigger(), 1);
    EXPECT_NO_THROW(p.SetTimerTrigger(timer, 10, false));
    p.SetComPath(a.NearPath());  // the same value does nothing
    p.SetComPath(b.NearPath());
    EXPECT_TRUE(p.Open());
    EXPECT_EQ(p.Dispatcher()->DeviceName(), b.NearPath());
    EXPECT_NO_THROW(p.SetTimerTrigger(timer, 10, false));
    EXPECT_EQ(p.Dispatcher()->LengthTrigger(), 1);
    p.PutString(QByteArray("to b"));
    EXPECT_EQ(b.ReadFar(4, 2000), "to b");
}

TEST(ComPortLife, CloseAndReopenFromInsideTheHandler)
{
    PtyPair pty;
    TSerComPort p(nullptr);
    p.SetComPath(pty.NearPath());
    int calls = 0;
    QByteArray after;
    TSerBaseDispatcher* before = nullptr;
    p.SetOnTriggerAvail([&](TSerCustomComPort* P, uint16_t Count) {
        if (++calls == 1) {
            before = P->Dispatcher();
            P->SetOpen(false);
            P->SetOpen(true);
            return;
        }
        for (int i = 0; i < Count; ++i)
            after.append(static_cast<char>(P->GetChar()));
    });
    p.SetOpen(true);
    const HWND firstWindow = p.ComWindow();
    pty.WriteFar("gone");
    ASSERT_TRUE(PumpUntil([&] { return calls >= 1; }, 3000));
    EXPECT_TRUE(p.Open());
    EXPECT_EQ(p.PortState(), psOpen);
    EXPECT_NE(p.ComWindow(), firstWindow);
    EXPECT_NE(p.Dispatcher(), nullptr);
    (void)before;
    pty.WriteFar("kept");
    ASSERT_TRUE(PumpUntil([&] { return after.size() >= 4; }, 3000));
    EXPECT_EQ(after, "kept");
}

TEST(ComPortLife, ACloseWhileTheDispatcherIsBusyIsFinishedByTheWindow)
{
    PtyPair pty;
    TSerComPort p(nullptr);
    p.SetComPath(pty.NearPath());
    int opened = 0, closed = 0;
    p.OnPortOpen = [&](TSerCustomComPort*) { ++opened; };
    p.OnPortClose = [&](TSerCustomComPort*) { ++closed; };
    p.SetOpen(true);
    p.PrepareWait();  // a string wait holds the dispatcher
    p.SetOpen(false);
    EXPECT_EQ(closed, 1);
    // The hidden window completes the close once the port's threads are gone.
    ASSERT_TRUE(PumpUntil([&] { return p.PortState() == psClosed; }, 5000));
    EXPECT_FALSE(p.Open());
    p.SetOpen(true);
    EXPECT_EQ(p.PortState(), psOpen);
    EXPECT_EQ(opened, 2);
    pty.WriteFar("x");
    EXPECT_TRUE(PumpUntil([&] { return p.CharReady(); }, 3000));
}

TEST(ComPortLife, StringWaitFindsTheText)
{
    PtyPair pty;
    TSerComPort p(nullptr);
    p.SetComPath(pty.NearPath());
    p.SetOpen(true);
    pty.WriteFar("noise OK\r\n");
    EXPECT_TRUE(p.WaitForString(QStringLiteral("ok"), 40, true, true));
    EXPECT_FALSE(p.WaitForString(QStringLiteral("never"), 3, true, false));
    pty.WriteFar("b");
    EXPECT_EQ(p.WaitForMultiString(QStringLiteral("a|b|c"), 40, true, false, '|'), 2);
}
