#include "tests/devices/FrameFeeder.h"

#include "tools/emitsim/EmitCard.h"

#include <chrono>
#include <stdexcept>

FrameFeeder::FrameFeeder(T250Read& Read)
    : FRead(Read)
{
    T250Read::Clock = [this] { return FNow; };
}

FrameFeeder::~FrameFeeder()
{
    T250Read::Clock = [] {
        return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
    };
}

void FrameFeeder::Arrive(const QByteArray& Wire)
{
    FPending = FPending.mid(FPos) + Wire;
    FPos = 0;
    FRead.HandleBytes(
        Unread(),
        [this] {
            if (FPos >= FPending.size())
                throw std::runtime_error("Buffer is empty");
            ++Taken;
            return static_cast<int>(static_cast<uint8_t>(FPending[FPos++]));
        },
        [this](const QString& Emit) {
            Emits << Emit;
            Cards << EmitField(Emit, 7);
            FRead.NewFrame();
        });
}

void FrameFeeder::ArriveInChunks(const QByteArray& Wire, int Chunk)
{
    if (Chunk <= 0) {
        Arrive(Wire);
        return;
    }
    for (qsizetype i = 0; i < Wire.size(); i += Chunk)
        Arrive(Wire.mid(i, Chunk));
}

QString EmitField(const QString& Emit, int n)
{
    return Emit.split(QLatin1Char(',')).value(n - 1);
}

QString EmitContent(const QString& Emit)
{
    QStringList f = Emit.split(QLatin1Char(','));
    f.removeAt(5);
    f.removeAt(4);
    return f.join(QLatin1Char(','));
}

QString ExpectedEmitContent(const TEmitCard& Card)
{
    T250Frame f;
    for (char b : EmitFrame(Card).left(T250Frame::MaxBytes))
        f.add(static_cast<uint8_t>(b));
    return EmitContent(f.toEmitString());
}
