// The frame assembler: a card is confirmed when two consecutive complete
// frames are equal, at the third sync mark of a card put on an idle reader;
// pauses, lifted cards, noise, split arrivals, the log lines, and cards whose
// number or checksum puts a third $FF next to the sync mark.

#include "app/vrkDoMessage.h"
#include "devices/serial/SerErrors.h"
#include "devices/serial/SerTypes.h"
#include "devices/vrkEmitReader.h"
#include "platform/rtl/Exception.h"
#include "resources/SafeguardTexts.h"
#include "tests/devices/FrameFeeder.h"
#include "tests/support/TempProgramDir.h"
#include "tools/emitsim/EmitCard.h"

#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEmitCard MakeCard(uint32_t Number, QVector<TEmitPunch> Punches = {{31, 528}, {45, 1200}, {100, 2500}})
{
    TEmitCard c;
    c.Number = Number;
    c.Week = 14;
    c.Year = 20;
    c.Punches = Punches;
    return c;
}

QByteArray Repeated(const TEmitCard& Card, int Times)
{
    QByteArray w;
    for (int i = 0; i < Times; ++i)
        w += EmitWire(EmitFrame(Card));
    return w;
}


class FrameAssembly : public ::testing::Test {
protected:
    TempProgramDir home;
    QStringList log;
    T250Read read;
    void SetUp() override
    {
        SetMessageListSink([this](const QString& l) { log << l; });
        log.clear();
    }
    void TearDown() override { SetMessageListSink(nullptr); }
    int LinesWith(const QString& Text) const { return static_cast<int>(log.filter(Text).size()); }
};

}  // namespace

TEST_F(FrameAssembly, RepeatedCardIsConfirmedAtTheThirdSyncMarkAndTheRestStaysUnread)
{
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(12345);
    feed.Arrive(Repeated(card, 4));
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(EmitContent(feed.Emits[0]), ExpectedEmitContent(card));
    EXPECT_EQ(feed.Cards[0], "12345");
    EXPECT_EQ(EmitField(feed.Emits[0], 4), "\"012345\"");
    // Two whole frames and the sync mark of the third were taken.
    EXPECT_EQ(feed.Taken, 2 * 217 + 2);
    EXPECT_EQ(feed.Unread(), 4 * 217 - feed.Taken);

    T250Frame f;
    for (char b : EmitFrame(card).left(216))
        f.add(static_cast<uint8_t>(b));
    EXPECT_EQ(LinesWith("* Chip reader -> Uusi luku"), 1);
    EXPECT_EQ(LinesWith("!COMPLETE TWICE, Frame (217): " + f.toString()), 1);
    EXPECT_EQ(LinesWith("-> KUTSU: " + feed.Emits[0]), 1);
    EXPECT_EQ(LinesWith("-> PALUU"), 1);
    const int call = static_cast<int>(log.indexOf(log.filter("-> KUTSU: ").first()));
    EXPECT_LT(log.indexOf(log.filter("!COMPLETE TWICE").first()), call);
    EXPECT_GT(log.indexOf(log.filter("-> PALUU").first()), call);
}

TEST_F(FrameAssembly, ArrivalsSplitAnywhereGiveTheSameSingleCard)
{
    const TEmitCard card = MakeCard(54321);
    for (int chunk : {1, 2, 7, 64, 216, 217, 300}) {
        T250Read r;
        FrameFeeder feed(r);
        feed.ArriveInChunks(Repeated(card, 4), chunk);
        ASSERT_EQ(feed.Emits.size(), 1) << chunk;
        EXPECT_EQ(EmitContent(feed.Emits[0]), ExpectedEmitContent(card)) << chunk;
    }
}

TEST_F(FrameAssembly, ReaderCaughtMidFrameConfirmsAtTheThirdSyncMark)
{
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(777);
    const QByteArray wire = Repeated(card, 4).mid(117);
    // The partial first frame, then two complete frames: no third sync yet.
    feed.Arrive(wire.left(100 + 2 * 217 - 1));
    EXPECT_TRUE(feed.Emits.isEmpty());
    feed.Arrive(wire.mid(100 + 2 * 217 - 1));
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(feed.Cards[0], "777");
}

TEST_F(FrameAssembly, TimesOfCode250DoNotKeepAFrameFromMatching)
{
    FrameFeeder feed(read);
    TEmitCard a = MakeCard(3030, {{31, 100}, {250, 700}});
    TEmitCard b = a;
    b.Punches[1].Time = 705;
    feed.Arrive(EmitWire(EmitFrame(a)) + EmitWire(EmitFrame(b)) + EmitWire(EmitFrame(a)));
    ASSERT_EQ(feed.Emits.size(), 1);
    // The confirmed frame is the later of the pair.
    EXPECT_EQ(EmitField(feed.Emits[0], 13), "00705");
}

TEST_F(FrameAssembly, PauseOfUpTo2999MsKeepsTheFrameAndThreeSecondsDropIt)
{
    const TEmitCard card = MakeCard(4444);
    const QByteArray wire = Repeated(card, 3) + EmitWire(EmitFrame(card)).left(2);
    {
        T250Read r;
        FrameFeeder feed(r);
        feed.Arrive(wire.left(300));
        feed.Pause(2999);
        feed.Arrive(wire.mid(300));
        EXPECT_EQ(feed.Emits.size(), 1);
    }
    log.clear();
    {
        T250Read r;
        FrameFeeder feed(r);
        feed.Arrive(wire.left(300));
        feed.Pause(3000);
        feed.Arrive(wire.mid(300));
        EXPECT_TRUE(feed.Emits.isEmpty());
        EXPECT_EQ(LinesWith("* Chip reader -> Uusi luku"), 2);
        // The rest of the fourth frame and the next sync mark confirm the card.
        const QByteArray frame = EmitWire(EmitFrame(card));
        feed.Arrive(frame.mid(2) + frame.left(2));
        EXPECT_EQ(feed.Emits.size(), 1);
    }
}

TEST_F(FrameAssembly, CardLiftedAfter89BytesGivesNothing)
{
    FrameFeeder feed(read);
    feed.Arrive(EmitWire(EmitFrame(MakeCard(8989))).left(89));
    EXPECT_TRUE(feed.Emits.isEmpty());
    feed.Pause(5000);
    const TEmitCard next = MakeCard(9090);
    feed.Arrive(Repeated(next, 4));
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(feed.Cards[0], "9090");
}

TEST_F(FrameAssembly, NoiseGivesNothing)
{
    QRandomGenerator rng(17);
    QByteArray noise;
    for (int i = 0; i < 20000; ++i) {
        const int kind = rng.bounded(4);
        // Plenty of decoded $FF (wire $20) so that sync marks and runs occur.
        noise.append(static_cast<char>(kind == 0 ? 0x20 : rng.bounded(256)));
    }
    {
        FrameFeeder feed(read);
        feed.ArriveInChunks(noise, 37);
        EXPECT_TRUE(feed.Emits.isEmpty());
    }
    // Single frames of different cards with noise between them.
    T250Read r;
    FrameFeeder feed(r);
    for (uint32_t n : {11u, 22u, 33u, 44u}) {
        feed.Arrive(EmitWire(EmitFrame(MakeCard(n))));
        feed.Arrive(noise.mid(n * 10, 150));
    }
    EXPECT_TRUE(feed.Emits.isEmpty());
}

TEST_F(FrameAssembly, NoiseBetweenRepeatsDoesNotChangeTheCard)
{
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(31337);
    const QByteArray frame = EmitWire(EmitFrame(card));
    const QByteArray junk = QByteArray::fromHex("1122334455");
    feed.Arrive(frame + junk + frame + junk + frame);
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(EmitContent(feed.Emits[0]), ExpectedEmitContent(card));
}

TEST_F(FrameAssembly, BytesThatCannotBeTakenAreSkipped)
{
    FrameFeeder feed(read);
    int calls = 0;
    const QByteArray wire = Repeated(MakeCard(5150), 4);
    int pos = 0;
    read.HandleBytes(
        static_cast<int>(wire.size()) + 10,
        [&] {
            ++calls;
            if (calls % 500 == 0)
                throw std::runtime_error("line error");
            return static_cast<int>(static_cast<uint8_t>(wire.at(pos++)));
        },
        [&](const QString& e) {
            feed.Emits << e;
            read.NewFrame();
        });
    EXPECT_EQ(feed.Emits.size(), 1);
}

TEST_F(FrameAssembly, AFailingCardHandlerIsLoggedAndTheNextCardStillComes)
{
    FrameFeeder feed(read);
    const QByteArray wire = Repeated(MakeCard(5150), 3) + Repeated(MakeCard(6160), 3);
    int pos = 0;
    bool failed = false;
    read.HandleBytes(
        static_cast<int>(wire.size()), [&] { return static_cast<int>(static_cast<uint8_t>(wire.at(pos++))); },
        [&](const QString& e) {
            read.NewFrame();
            if (!failed) {
                failed = true;
                throw Exception("the card handler failed");
            }
            feed.Emits << e;
        });
    EXPECT_TRUE(failed);
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(LinesWith(txt::ChipReaderHandlingFailed + "the card handler failed"), 1) << log.join("\n").toStdString();
}

// Cards whose number has a low byte $FF, and reads whose reader checksum is
// $FF, put a run of three or more $FF bytes at the sync mark.
class SpecialCards : public FrameAssembly, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(SpecialCards, AreConfirmedExactlyOnceWithTheirOwnContent)
{
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(GetParam());
    feed.Arrive(Repeated(card, 4));
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(EmitContent(feed.Emits[0]), ExpectedEmitContent(card));
    EXPECT_EQ(feed.Cards[0], QString::number(GetParam()));
    // The card keeps lying on the reader for one more frame: nothing more.
    feed.Arrive(Repeated(card, 1));
    EXPECT_EQ(feed.Emits.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(FrameAssembly, SpecialCards,
                         ::testing::Values(255u, 511u, 12543u, 65535u, 999999u, 16777215u, 12345u));

namespace {

// Punch times tuned until the reader's checksum (and optionally the check
// byte) is $FF.
TEmitCard CardWithChecksumFF(uint32_t Number)
{
    TEmitCard c = MakeCard(Number);
    for (int t = 0; t < 256; ++t) {
        c.Punches[0].Time = 528 + t;
        if (EmitChecksum(EmitFrame(c)) == 0xFF)
            return c;
    }
    return c;
}

}  // namespace

TEST_F(FrameAssembly, ReadWhoseChecksumIsFFIsConfirmedExactlyOnce)
{
    for (uint32_t number : {4242u, 255u, 65535u, 999999u}) {
        T250Read r;
        FrameFeeder feed(r);
        const TEmitCard card = CardWithChecksumFF(number);
        ASSERT_EQ(EmitChecksum(EmitFrame(card)), 0xFF);
        feed.Arrive(Repeated(card, 4));
        ASSERT_EQ(feed.Emits.size(), 1) << number;
        EXPECT_EQ(EmitContent(feed.Emits[0]), ExpectedEmitContent(card)) << number;
        // Left on the reader, the card can only come again as itself.
        feed.Arrive(Repeated(card, 6));
        for (const QString& e : std::as_const(feed.Emits))
            EXPECT_EQ(EmitContent(e), ExpectedEmitContent(card)) << number;
    }
}

TEST_F(FrameAssembly, AnAmbiguousRunConfirmsNothing)
{
    // Check byte $FF and checksum $FF: the run fits two alignments, so the
    // card cannot be told for sure and nothing is confirmed.
    TEmitCard c = MakeCard(0);
    bool found = false;
    for (uint32_t n = 1; n < 5000 && !found; ++n) {
        c.Number = n;
        if (EmitCheckByte(EmitFrame(c)) != 0xFF)
            continue;
        for (int t = 0; t < 256 && !found; ++t) {
            c.Punches[0].Time = 528 + t;
            found = EmitChecksum(EmitFrame(c)) == 0xFF;
        }
    }
    ASSERT_TRUE(found);
    FrameFeeder feed(read);
    feed.Arrive(Repeated(c, 6));
    EXPECT_TRUE(feed.Emits.isEmpty());
}

TEST_F(FrameAssembly, ACardLeftOnTheReaderIsConfirmedAgainThreeFramesLater)
{
    // After a confirmed card the next frame is assembled from scratch while
    // the previous frame stays, so a card left on the reader is confirmed
    // again three frames later; the repeat filter above deals with that.
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(2024);
    feed.Arrive(Repeated(card, 6));
    EXPECT_EQ(feed.Emits.size(), 1);
    feed.Arrive(Repeated(card, 1));
    EXPECT_EQ(feed.Emits.size(), 2);
}

TEST_F(FrameAssembly, FramesThatDidNotBeginAtASyncMarkNeverConfirm)
{
    // The tail of a frame (empty punch slots) is seen once after the first
    // arrival and once after a pause broke the next frame: alike, but neither
    // is a frame read from its sync mark.
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(4711, {{31, 100}});
    const QByteArray frame = EmitWire(EmitFrame(card));
    feed.Arrive(frame.mid(60) + frame.left(60));
    feed.Pause(3000);
    feed.Arrive(frame.mid(60) + frame.left(2));
    EXPECT_TRUE(feed.Emits.isEmpty());
}

TEST_F(FrameAssembly, FramesReadOutOfPlaceNeverConfirm)
{
    // A time of $FFFF puts a $FF pair inside the frame; when the line loses
    // the real sync marks, the frames read from the inner pair are alike but
    // out of place, and the reader's check byte tells them apart.
    FrameFeeder feed(read);
    TEmitCard card = MakeCard(4242, {{31, 100}, {40, 0xFFFF}, {50, 300}});
    QByteArray frame = EmitFrame(card);
    QByteArray broken = frame;
    broken[0] = 0x7F;  // the first sync byte damaged on the line
    feed.Arrive(EmitWire(frame + broken + broken + broken + frame));
    EXPECT_TRUE(feed.Emits.isEmpty());
}

// Frames the reader never sent whole or unchanged: cut short before the next
// sync mark, or with the same bits flipped in every repeat. Each is alike in
// all its repeats, so only the frame's length and its checksum byte can tell.
struct TDamage {
    const char* Name;
    std::function<QByteArray(QByteArray)> Apply;
};

class DamagedRepeats : public FrameAssembly, public ::testing::WithParamInterface<TDamage> {};

TEST_P(DamagedRepeats, NeverConfirmAndAreLoggedOnceEach)
{
    FrameFeeder feed(read);
    const TEmitCard card = MakeCard(52011, {{31, 410}, {32, 905}, {33, 1290}, {100, 1502}});
    const QByteArray damaged = GetParam().Apply(EmitFrame(card));
    QByteArray wire;
    for (int i = 0; i < 5; ++i)
        wire += EmitWire(damaged);
    feed.Arrive(wire + EmitWire(QByteArray("\xFF\xFF", 2)));
    EXPECT_TRUE(feed.Emits.isEmpty());
    EXPECT_EQ(LinesWith(txt::ChipReaderUnsoundFrame.left(40)), 5);
    EXPECT_EQ(LinesWith(txt::ChipReaderHandlingFailed), 0);

    // The same card sent whole afterwards is confirmed with its own punches.
    feed.Arrive(Repeated(card, 3));
    ASSERT_EQ(feed.Emits.size(), 1);
    EXPECT_EQ(EmitContent(feed.Emits[0]), ExpectedEmitContent(card));
}

INSTANTIATE_TEST_SUITE_P(
    FrameAssembly, DamagedRepeats,
    ::testing::Values(TDamage{"CutBeforeTheChecksum", [](QByteArray f) { return f.left(200); }},
                      TDamage{"CutInThePunches", [](QByteArray f) { return f.left(150); }},
                      TDamage{"OneByteLostInThePunches", [](QByteArray f) { return f.remove(100, 1); }},
                      TDamage{"FlippedBitInAPunchTime",
                              [](QByteArray f) {
                                  f[12 + 3 * 1 - 1] = static_cast<char>(f[12 + 3 * 1 - 1] ^ 0x10);
                                  return f;
                              }},
                      TDamage{"FlippedBitsInTwoPunchCodes",
                              [](QByteArray f) {
                                  f[11 - 1] = static_cast<char>(f[11 - 1] ^ 0x02);
                                  f[14 - 1] = static_cast<char>(f[14 - 1] ^ 0x40);
                                  return f;
                              }}),
    [](const ::testing::TestParamInfo<TDamage>& I) { return std::string(I.param.Name); });

TEST_F(FrameAssembly, AnEmptyPortBetweenFramesIsNoError)
{
    // The port announced more bytes than it still held (an earlier
    // notification took them): the assembler stops quietly.
    const TEmitCard card = MakeCard(777);
    const QByteArray wire = Repeated(card, 1);
    int pos = 0;
    QStringList emits;
    read.HandleBytes(
        wire.size() + 4,
        [&] {
            if (pos >= wire.size())
                throw ESerException(ecBufferIsEmpty);
            return static_cast<int>(static_cast<uint8_t>(wire[pos++]));
        },
        [&](const QString& E) { emits << E; });
    EXPECT_EQ(pos, wire.size());
    EXPECT_EQ(LinesWith(txt::ChipReaderHandlingFailed), 0);
}
