#include "tests/support/SimulatedReader.h"

#include <chrono>

SimulatedReader::SimulatedReader(int Baud)
    : FSim(FPty.FarFd(), Baud)
{
}

SimulatedReader::~SimulatedReader()
{
    FSim.Stop();
    Wait();
}

void SimulatedReader::Wait()
{
    if (FThread.joinable())
        FThread.join();
}

void SimulatedReader::Send(const QByteArray& Wire)
{
    Wait();
    FSim.Reset();
    FBusy = true;
    FThread = std::thread([this, Wire] {
        FSim.WritePaced(Wire);
        FLastByte = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
        FBusy = false;
    });
}

void SimulatedReader::Place(const TEmitCard& Card, int Repeats, int Limit)
{
    QByteArray wire;
    const QByteArray frame = EmitWire(EmitFrame(Card));
    for (int i = 0; i < Repeats; ++i)
        wire += frame;
    if (Limit >= 0)
        wire = wire.left(Limit);
    Send(wire);
}
