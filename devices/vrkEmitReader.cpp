#include "devices/vrkEmitReader.h"

#include "app/vrkDoMessage.h"
#include "devices/serial/SerErrors.h"
#include "devices/serial/SerTypes.h"
#include "platform/rtl/Exception.h"
#include "resources/ProgramTexts.h"
#include "resources/SafeguardTexts.h"

#include <QStringList>
#include <algorithm>
#include <chrono>

T250Read* current250Read = nullptr;

std::function<int64_t()> T250Read::Clock = [] {
    return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now().time_since_epoch())
                                    .count());
};

namespace {

constexpr int kXor = 0xDF;
constexpr int kSync = 0xFF;
constexpr int kSlots = 50;
constexpr int kNoTimeCode = 250;

bool Trustworthy(const T250Frame& F)
{
    return !F.FUnaligned && F.StartsAtSync() && F.CheckByteValid() && F.WholeAndSound();
}

// The reader's own "no more bytes" from the port: the notification counted
// bytes that an earlier handler already took. Nothing is wrong then.
bool BufferEmpty(const ESerException& e)
{
    return e.ErrorCode == ecBufferIsEmpty;
}

QString Padded(long long Value, int Width)
{
    return QStringLiteral("%1").arg(Value, Width, 10, QLatin1Char('0'));
}

}  // namespace

// ---------------------------------------------------------------------------
// T250Frame

T250Frame::T250Frame()
{
    for (int& b : frameBytes)
        b = 0;
}

void T250Frame::add(int value)
{
    ++FtakenBytes;
    if (FtakenBytes <= FullLength)
        FfullSum += value;
    if (FcurByte < MaxBytes + 1) {
        frameBytes[FcurByte] = value;
        ++FcurByte;
    }
}

QString T250Frame::getBadgeNo() const
{
    if (FcurByte <= 9)
        return QStringLiteral("-1");
    return QString::number(CardNumber());
}

bool T250Frame::CheckByteValid() const
{
    int sum = 0;
    for (int k = 3; k <= 10; ++k)
        sum += frameBytes[k];
    return FcurByte > 10 && sum % 256 == 0;
}

bool T250Frame::WholeAndSound() const
{
    // Bytes after the checksum byte (the first byte of the next sync mark,
    // or noise on the line between frames) are not part of the frame.
    return FtakenBytes >= FullLength && FfullSum % 256 == 0;
}

QString T250Frame::getSplits() const
{
    QStringList parts;
    for (int i = 0; i < kSlots; ++i) {
        const int code = frameBytes[11 + 3 * i];
        const int time = frameBytes[12 + 3 * i] + 256 * frameBytes[13 + 3 * i];
        parts << Padded(code, 3) + QLatin1Char(',') + Padded(time, 5);
    }
    return parts.join(QLatin1Char(','));
}

QString T250Frame::toEmitString() const
{
    return toEmitString(QDateTime::currentDateTime());
}

QString T250Frame::toEmitString(const QDateTime& ReadTime) const
{
    const QString quote = QStringLiteral("\"");
    const QString badge = getBadgeNo();
    bool ok = false;
    const long long number = badge.toLongLong(&ok);
    const QString field4 = ok && number >= 0 ? Padded(number, 6) : badge;
    const QString time = ReadTime.toString(QStringLiteral("dd.MM.yyyy hh.mm.ss.zzz"));
    QStringList fields;
    fields << quote + QStringLiteral("X") + quote << quote + QStringLiteral("0") + quote
           << quote + QStringLiteral("0") + quote << quote + field4 + quote << quote + time + quote
           << quote + time + quote << badge << Padded(getProductionWeek(), 4) << Padded(getProductionYear(), 4)
           << getSplits();
    return fields.join(QLatin1Char(','));
}

bool SameCardContent(const QString& A, const QString& B)
{
    // Fields 5 and 6 are the read time; from field 10 on come the fifty
    // slots as code and time.
    const QStringList a = A.split(QLatin1Char(','));
    const QStringList b = B.split(QLatin1Char(','));
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const qsizetype field = i + 1;
        if (field == 5 || field == 6)
            continue;
        const bool slotTime = field >= 11 && field % 2 == 1;
        if (slotTime && a[i - 1].toInt() == kNoTimeCode && b[i - 1].toInt() == kNoTimeCode)
            continue;
        if (a[i] != b[i])
            return false;
    }
    return true;
}

QString T250Frame::toString() const
{
    QString s = QStringLiteral("Week=") + QString::number(getProductionWeek()) + QStringLiteral(", Year=")
                + QString::number(getProductionYear()) + QStringLiteral(", Chip=") + getBadgeNo()
                + QStringLiteral(", Splits=");
    QStringList parts;
    for (int i = 0; i < kSlots; ++i) {
        const int code = frameBytes[11 + 3 * i];
        const int time = code == kNoTimeCode ? 0 : frameBytes[12 + 3 * i] + 256 * frameBytes[13 + 3 * i];
        parts << QString::number(code) + QLatin1Char(',') + QString::number(time);
    }
    return s + parts.join(QLatin1Char(','));
}

// ---------------------------------------------------------------------------
// T250Read

T250Read::T250Read()
    : Fframe(std::make_unique<T250Frame>())
{
}

T250Read::~T250Read() = default;

void T250Read::NewFrame()
{
    Fframe = std::make_unique<T250Frame>();
    FleadFF = -1;
    FleadDone = false;
}

void T250Read::HandleBytes(int Count, const TGetChar& GetChar, const TProcessEmit& ProcessEmit)
{
    const int64_t now = Clock();
    if ((now - FlastByteTime) / 1000 > 2) {
        NewFrame();
        do_message(false, txt::ChipReaderNewRead, MSG_INFORMATION);
    }
    for (int i = 0; i < Count; ++i) {
        bool stop = false;
        try {
            const int d = (GetChar() ^ kXor) & 0xFF;
            TakeByte(d, Clock(), ProcessEmit, stop);
        } catch (const ESerException& e) {
            if (BufferEmpty(e))
                return;
            do_message(false, txt::ChipReaderHandlingFailed + ExceptionMessage(e), MSG_ERROR);
        } catch (const std::exception& e) {
            // One bad byte or a failed dispatch must not lose the rest, but
            // a card handled wrongly must leave a trace.
            do_message(false, txt::ChipReaderHandlingFailed + ExceptionMessage(e), MSG_ERROR);
        } catch (...) {
            do_message(false, txt::ChipReaderHandlingFailed + QStringLiteral("?"), MSG_ERROR);
        }
        if (stop)
            return;
    }
}

void T250Read::TakeByte(int d, int64_t now, const TProcessEmit& ProcessEmit, bool& Stop)
{
    // A sync mark is the second $FF of a run. Further $FF bytes of the same run
    // do not start frames of their own: they may be the card number's low
    // bytes, and the byte before the mark may be the reader's checksum, so the
    // frame's alignment inside the run is settled by the check byte later.
    if (d == kSync && Fprev == kSync && FffRun == 1) {
        if (FleadFF >= 3)
            Fframe->FUnaligned = true;  // its alignment was never settled
        // Only whole frames read in their place can confirm a card. A frame
        // that began after a pause or after a confirmed card starts anywhere
        // in the reader's frame, and one read out of place (a sync mark lost
        // on the line and a $FF pair inside the frame taken for one) fails
        // the reader's check byte: two such frames alike (runs of empty punch
        // slots are alike) would confirm a card that was never sent.
        if (FprevFrame && Trustworthy(*Fframe) && Trustworthy(*FprevFrame)
            && Fframe->toString() == FprevFrame->toString() && Fframe->getBadgeNo() != QLatin1String("-1")) {
            do_message(false,
                       txt::ChipReaderCompleteTwice + QString::number(Fframe->FcurByte) + QStringLiteral("): ")
                           + Fframe->toString(),
                       MSG_INFORMATION);
            const QString emitString = Fframe->toEmitString();
            do_message(false, txt::ChipReaderCall + emitString, MSG_INFORMATION);
            ProcessEmit(emitString);
            do_message(false, txt::ChipReaderReturn, MSG_INFORMATION);
            Stop = true;
            return;
        }
        if (Fframe->StartsAtSync() && !Fframe->FUnaligned && !Fframe->WholeAndSound())
            NoteUnsoundFrame(*Fframe);
        FprevFrame = std::move(Fframe);
        Fframe = std::make_unique<T250Frame>();
        Fframe->add(kSync);
        FleadFF = 1;  // counts the byte added below
        FleadDone = false;
    }
    if (FleadFF >= 0 && !FleadDone) {
        if (d == kSync && Fframe->ByteCount() == FleadFF)
            ++FleadFF;
        else
            FleadDone = true;
    }
    Fframe->add(d);
    if (FleadFF >= 3) {
        if (FleadDone && Fframe->ByteCount() == FleadFF + 8)
            ResolveAlignment();
        else if (Fframe->ByteCount() >= T250Frame::MaxBytes) {
            Fframe->FUnaligned = true;
            FleadFF = -1;
        }
    }
    FffRun = d == kSync ? FffRun + 1 : 0;
    Fprev = d;
    FlastByteTime = now;
}

void T250Read::ResolveAlignment()
{
    // Frame bytes 1..k are $FF. Alignment j puts the sync mark at bytes j and
    // j + 1; it is right when its bytes 3 to 10 (the card number up to the
    // reader's check byte) sum to 0 modulo 256.
    const int k = FleadFF;
    int passing = 0;
    int chosen = 0;
    for (int j = 1; j <= k - 1; ++j) {
        int sum = 0;
        for (int m = j + 2; m <= j + 9; ++m)
            sum += Fframe->frameBytes[m];
        if (sum % 256 == 0) {
            ++passing;
            chosen = j;
        }
    }
    FleadFF = -1;
    if (passing != 1) {
        Fframe->FUnaligned = true;
        return;
    }
    const int shift = chosen - 1;
    if (shift == 0)
        return;
    T250Frame& f = *Fframe;
    const int count = f.ByteCount();
    for (int m = 1; m <= T250Frame::SlotCount; ++m)
        f.frameBytes[m] = m + shift <= count ? f.frameBytes[m + shift] : 0;
    f.FcurByte -= shift;
    f.FtakenBytes -= shift;
    f.FfullSum = 0;
    for (int m = 1; m <= std::min(f.FtakenBytes, T250Frame::FullLength); ++m)
        f.FfullSum += f.frameBytes[m];
}

void T250Read::NoteUnsoundFrame(const T250Frame& F) const
{
    do_message(false,
               txt::ChipReaderUnsoundFrame.arg(F.TakenBytes() - 1).arg(F.getBadgeNo()),
               MSG_INFORMATION);
}
