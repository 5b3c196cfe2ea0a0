// The card reader end to end: the simulator writes real reader frames at
// 9600 baud into a pseudo-terminal, the port component delivers them to the
// frame assembler on the main thread, and each card put on the reader becomes
// exactly one emit string; as the reader window does, reading stops after a
// confirmed card and starts again by reopening the port.

#include "app/vrkDoMessage.h"
#include "devices/serial/SerComPort.h"
#include "devices/vrkEmitReader.h"
#include "platform/os/OsTypes.h"
#include "tests/devices/FrameFeeder.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/SimulatedReader.h"
#include "tests/support/TempProgramDir.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

TEmitCard Card(uint32_t Number)
{
    TEmitCard c;
    c.Number = Number;
    c.Week = 33;
    c.Year = 21;
    c.Punches = {{31, 528}, {32, 1017}, {100, 1805}, {250, 1900}};
    return c;
}


class ReaderPort : public ::testing::Test {
protected:
    TempProgramDir home;
    SimulatedReader reader;
    TSerComPort port{nullptr};
    T250Read read;
    QStringList emits;
    bool reading = true;
    bool onMainThread = true;

    void SetUp() override
    {
        SetMessageListSink([](const QString&) {});
        port.SetComPath(reader.PortPath());
        port.SetBaud(9600);
        port.SetOnTriggerAvail([this](TSerCustomComPort* P, uint16_t Count) {
            onMainThread = onMainThread && IsMainThread();
            if (!reading)
                return;
            read.HandleBytes(
                Count, [P] { return static_cast<int>(P->GetChar()); },
                [this](const QString& E) {
                    emits << E;
                    read.NewFrame();
                    reading = false;
                });
        });
        port.SetOpen(true);
    }
    void TearDown() override { SetMessageListSink(nullptr); }

    // Reading is enabled again: the port is closed and opened, dropping
    // whatever arrived meanwhile.
    void EnableReading()
    {
        reading = true;
        port.SetOpen(false);
        port.SetOpen(true);
    }
    void WaitForReader()
    {
        ASSERT_TRUE(PumpUntil([this] { return !reader.Busy(); }, 10000));
        PumpFor(150);
    }
};

}  // namespace

TEST_F(ReaderPort, ACardOnTheReaderIsConfirmedOnceWithItsEmitString)
{
    const TEmitCard card = Card(12345);
    reader.Place(card, 4);
    WaitForReader();
    ASSERT_EQ(emits.size(), 1);
    EXPECT_EQ(EmitContent(emits[0]), ExpectedEmitContent(card));
    EXPECT_EQ(EmitField(emits[0], 4), "\"012345\"");
    EXPECT_TRUE(onMainThread);
}

TEST_F(ReaderPort, CardsWithFFNextToTheSyncMarkAreEachConfirmedOnce)
{
    std::vector<TEmitCard> cards = {Card(255), Card(65535), Card(999999)};
    TEmitCard checksumFF = Card(4321);
    for (int t = 0; t < 256 && EmitChecksum(EmitFrame(checksumFF)) != 0xFF; ++t)
        checksumFF.Punches[0].Time = 528 + t;
    ASSERT_EQ(EmitChecksum(EmitFrame(checksumFF)), 0xFF);
    cards.push_back(checksumFF);
    for (const TEmitCard& card : cards) {
        emits.clear();
        EnableReading();
        reader.Place(card, 4);
        WaitForReader();
        ASSERT_EQ(emits.size(), 1) << card.Number;
        EXPECT_EQ(EmitContent(emits[0]), ExpectedEmitContent(card)) << card.Number;
    }
}

TEST_F(ReaderPort, ACardLiftedAfter89BytesGivesNothing)
{
    reader.Place(Card(8989), 1, 89);
    WaitForReader();
    EXPECT_TRUE(emits.isEmpty());
    const TEmitCard next = Card(9090);
    reader.Place(next, 4);
    WaitForReader();
    ASSERT_EQ(emits.size(), 1);
    EXPECT_EQ(EmitContent(emits[0]), ExpectedEmitContent(next));
}

TEST_F(ReaderPort, NoiseBetweenFramesGivesNothing)
{
    QRandomGenerator rng(99);
    QByteArray wire;
    for (uint32_t n : {11u, 22u, 33u}) {
        QByteArray noise;
        for (int i = 0; i < 120; ++i)
            noise.append(static_cast<char>(rng.bounded(4) == 0 ? 0x20 : rng.bounded(256)));
        wire += EmitWire(EmitFrame(Card(n))) + noise;
    }
    reader.Send(wire);
    WaitForReader();
    EXPECT_TRUE(emits.isEmpty());
}
