// Timing of the card reader path over a pseudo-terminal and the Qt event loop.
//
// ConfirmLatency: two frames of a card are on the line and taken; then the
// last byte of the confirming sync mark is written on the far end, and the
// time until the frame assembler hands the emit string on is measured (the
// port's threads, the notification of the main thread, the assembler). The
// counters give the median and the 90th percentile in milliseconds.
//
// Sustained115200: the far end sends at 115200 baud for a while; every byte
// must reach the data handler, in order. Burst: the same without pacing.

#include "app/vrkDoMessage.h"
#include "devices/serial/SerComPort.h"
#include "devices/vrkEmitReader.h"
#include "platform/ui/Forms.h"
#include "tests/support/SimulatedReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

int64_t NowMicros()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool Pump(const std::function<bool()>& Done, int TimeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!Done()) {
        if (t.elapsed() > TimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 2);
    }
    return true;
}

double Percentile(std::vector<double> V, double P)
{
    if (V.empty())
        return 0;
    std::sort(V.begin(), V.end());
    return V[static_cast<size_t>(P * static_cast<double>(V.size() - 1))];
}

void ConfirmLatency(benchmark::State& state)
{
    SimulatedReader reader;
    TSerComPort port(nullptr);
    T250Read read;
    int64_t handedOn = 0;
    bool reading = true;
    port.SetComPath(reader.PortPath());
    port.SetBaud(9600);
    port.SetOnTriggerAvail([&](TSerCustomComPort* P, uint16_t Count) {
        if (!reading)
            return;
        read.HandleBytes(
            Count, [P] { return static_cast<int>(P->GetChar()); },
            [&](const QString&) {
                handedOn = NowMicros();
                read.NewFrame();
                reading = false;
            });
    });
    port.SetOpen(true);
    TEmitCard card;
    card.Number = 123456;
    card.Week = 10;
    card.Year = 20;
    card.Punches = {{31, 100}, {32, 200}, {33, 300}, {100, 900}};
    const QByteArray frame = EmitWire(EmitFrame(card));
    const QByteArray lead = frame + frame + frame.left(1);
    std::vector<double> ms;
    for (auto _ : state) {
        reading = true;
        port.SetOpen(false);
        port.SetOpen(true);
        handedOn = 0;
        reader.Simulator().SetPacing(false);
        reader.Send(lead);
        reader.Wait();
        // Let the first two frames be taken before the confirming byte goes.
        Pump([&] { return port.InBuffUsed() == 0; }, 2000);
        Pump([] { return false; }, 5);
        // The confirming byte, written here so that the clock starts with it.
        const char last = frame.at(1);
        const int64_t written = NowMicros();
        if (::write(reader.Pty().FarFd(), &last, 1) != 1) {
            state.SkipWithError("write failed");
            break;
        }
        if (!Pump([&] { return handedOn != 0; }, 3000)) {
            state.SkipWithError("card not confirmed");
            break;
        }
        const double elapsed = static_cast<double>(handedOn - written) / 1000.0;
        ms.push_back(elapsed);
        state.SetIterationTime(elapsed / 1000.0);
    }
    state.counters["median_ms"] = Percentile(ms, 0.5);
    state.counters["p90_ms"] = Percentile(ms, 0.9);
    state.counters["max_ms"] = Percentile(ms, 1.0);
}

void Stream(benchmark::State& state, int Baud, bool Paced, int Bytes)
{
    SimulatedReader reader(Baud);
    TSerComPort port(nullptr);
    QByteArray got;
    got.reserve(Bytes);
    port.SetComPath(reader.PortPath());
    port.SetBaud(Baud);
    port.SetOnTriggerAvail([&](TSerCustomComPort* P, uint16_t Count) {
        QByteArray block(Count, '\0');
        P->GetBlock(block.data(), Count);
        got += block;
    });
    port.SetOpen(true);
    QByteArray sent;
    for (int i = 0; i < Bytes; ++i)
        sent.append(static_cast<char>((i * 7 + i / 256) & 0xFF));
    int64_t lost = 0;
    for (auto _ : state) {
        got.clear();
        reader.Simulator().SetPacing(Paced);
        QElapsedTimer t;
        t.start();
        reader.Send(sent);
        if (!Pump([&] { return got.size() >= sent.size(); }, Bytes / (Baud / 10) * 1000 + 10000))
            state.SkipWithError("bytes missing");
        reader.Wait();
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        lost += sent.size() - got.size();
        if (got != sent)
            state.SkipWithError("bytes lost or changed");
    }
    state.SetBytesProcessed(state.iterations() * Bytes);
    state.counters["lost_bytes"] = static_cast<double>(lost);
}

void Sustained115200(benchmark::State& state)
{
    // About three seconds on the line.
    Stream(state, 115200, true, 34560);
}

void Burst(benchmark::State& state)
{
    Stream(state, 115200, false, 1 << 20);
}

}  // namespace

BENCHMARK(ConfirmLatency)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(Sustained115200)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Burst)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("SORVEX_HOME", home.path().toLocal8Bit());
    std::unique_ptr<QCoreApplication> app(CreateQtApplication(argc, argv));
    SetMessageListSink([](const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
