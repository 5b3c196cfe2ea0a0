// Timing of the finish desk in self-service (result board shown) over the
// real event database, the reader and the receipt printer on pseudo-terminals.
//
// LineToBoard: two frames of a registered card are on the line and taken;
// the last byte of the confirming sync mark is written on the far end, and
// the time until the board shows the accepted run is measured (port threads,
// frame assembler, repeat filter, dispatch, finish dialog with the database's
// insert, re-check and acceptance, the board's data). Goal: under 50 ms.
//
// Throughput: cards one after another at 9600 baud (three frames on the line
// each) with READ_DELAY 0; each run's receipt is handed to the printer port.
// The cycle is the time from placing a card to the desk being ready for the
// next; the receipt's own line time at 9600 baud is reported beside it, and
// runners per minute follow from the longer of the two (the printer prints
// while the next card is read). Goal: at least 30 runners a minute.

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/serial/SerComPort.h"
#include "devices/vrkDeviceList.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkResultsClass2.h"
#include "tests/support/DataModuleFixture.h"
#include "tests/support/FixtureRunners.h"
#include "tests/support/SimulatedReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
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

TEmitCard Card(uint32_t Number)
{
    return FixtureCard(Number);
}

// The finish desk in self-service with Count registered cards (from 400001).
class TDesk {
public:
    explicit TDesk(int Count)
    {
        Db.Connect();
        QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
        fx.open(QIODevice::ReadOnly);
        Db.Exec(QString::fromUtf8(fx.readAll()));
        Db.Exec(RegisteredRunnersScript(Count, 40000, 400000, 50000));
        formMain->nCurrentProcessedEvent = 100;
        formMain->nCurrentProcessedEventS = 1;
        formMain->iChipReadDelay = 0;
        formMain->n_chip_reader_com = Reader.PortPath();
        formMain->n_chip_printer_com = Printer.NearPath();
        formMain->n_chip_printer_type = 1;
        DataModule1->getEventData(100);
        Owner = std::make_unique<TComponent>(nullptr);
        formEmitReader = new TFormEmitReader(Owner.get());
        receiptPrinter = new TReceiptPrinter(Owner.get());
        formResultBoard = new TformResultBoard(Owner.get());
        formResultsClass2 = new TformResultsClass2(Owner.get());
        for (TCustomForm* f : std::initializer_list<TCustomForm*>{formEmitReader, formResultBoard, formResultsClass2})
            f->AfterConstruction();
        refreshDevices();
        formMain->bResultBoardVisible = true;
        formResultBoard->Show();
    }
    ~TDesk()
    {
        formResultBoard->Hide();
        Owner.reset();
    }
    // Waits until the board shows the run and reading is enabled again.
    bool WaitShown(int64_t Run)
    {
        return Pump([&] { return formResultBoard->nlastResultsClass_id == Run; }, 10000);
    }
    bool WaitReady()
    {
        return Pump([&] { return !formResultsClass2->Visible() && formEmitReader->EmitDeviceEnabled(); }, 10000);
    }
    void DrainPrinter() { Printer.DrainFar(); }

    DataModuleFixture Db;
    SimulatedReader Reader;
    PtyPair Printer;
    std::unique_ptr<TComponent> Owner;
};

void LineToBoard(benchmark::State& state)
{
    TDesk desk(static_cast<int>(state.max_iterations) + 1);
    std::vector<double> ms;
    int i = 0;
    for (auto _ : state) {
        ++i;
        const int64_t run = 50000 + i;
        const QByteArray frame = EmitWire(EmitFrame(Card(400000 + i)));
        desk.Reader.Simulator().SetPacing(false);
        desk.Reader.Send(frame + frame + frame.left(1));
        desk.Reader.Wait();
        Pump([&] { return formEmitReader->SerComPort1->InBuffUsed() == 0; }, 2000);
        Pump([] { return false; }, 5);
        const char last = frame.at(1);
        const int64_t written = NowMicros();
        if (::write(desk.Reader.Pty().FarFd(), &last, 1) != 1) {
            state.SkipWithError("write failed");
            break;
        }
        if (!desk.WaitShown(run)) {
            state.SkipWithError("run not shown on the board");
            break;
        }
        const double elapsed = static_cast<double>(NowMicros() - written) / 1000.0;
        ms.push_back(elapsed);
        state.SetIterationTime(elapsed / 1000.0);
        desk.WaitReady();
        desk.DrainPrinter();
    }
    state.counters["median_ms"] = Percentile(ms, 0.5);
    state.counters["p90_ms"] = Percentile(ms, 0.9);
    state.counters["max_ms"] = Percentile(ms, 1.0);
}

void Throughput(benchmark::State& state)
{
    constexpr int kCards = 20;
    TDesk desk(kCards);
    double receiptLineMs = 0;
    double cycleMs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        for (int i = 1; i <= kCards; ++i) {
            desk.Reader.Simulator().SetPacing(true);
            desk.Reader.Place(Card(400000 + i), 3);
            if (!desk.WaitShown(50000 + i) || !desk.WaitReady()) {
                state.SkipWithError("card not handled");
                return;
            }
            desk.Reader.Wait();
            receiptLineMs += TReceiptPrinter::ReceiptBytes(50000 + i, 1).size() * 10.0 * 1000.0 / 9600.0;
            desk.DrainPrinter();
        }
        cycleMs = static_cast<double>(t.elapsed()) / kCards;
        state.SetIterationTime(static_cast<double>(t.elapsed()) / 1000.0);
    }
    receiptLineMs /= kCards;
    state.counters["cycle_ms"] = cycleMs;
    state.counters["receipt_line_ms"] = receiptLineMs;
    state.counters["runners_per_min"] = 60000.0 / std::max(cycleMs, receiptLineMs);
}

}  // namespace

BENCHMARK(LineToBoard)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(Throughput)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(CreateQtApplication(argc, argv));
    SetMessageListSink([](const QString&) {});
    SetMessageBoxHook([](const TMessageBoxRequest&) { return IDOK; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
