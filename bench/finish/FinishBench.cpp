// Timing of the finish desk in self-service (result board shown) over the
// real event database, the reader and the receipt printer on pseudo-terminals.
//
// LineToBoard: two frames of a registered card are on the line and taken;
// the last byte of the confirming sync mark is written on the far end, and
// the time until the board has painted the accepted run is measured (port
// threads, frame assembler, repeat filter, dispatch, finish dialog with the
// database's insert, re-check and acceptance, the board's data and paint).
// cpu_ms is the processor time of the whole program (all threads, the
// embedded database engine's included) per read, from the last byte until
// the desk is ready for the next card. Goals: median under 15 ms, cpu_ms
// under 8 ms.
//
// ReadCostBySize: the same read cycle, with the results grid shown and
// refreshed after each read as the main window does, on an event of 100
// and of 2,000 registered runners side by side; the processor time of a
// read must not grow with the size of the event (cpu_ms_2000 / cpu_ms_100).
//
// Throughput: cards one after another at 9600 baud (three frames on the line
// each) with READ_DELAY 0; each run's receipt is handed to the printer port.
// The cycle is the time from placing a card to the desk being ready for the
// next; the receipt's own line time at 9600 baud is reported beside it, and
// runners per minute follow from the longer of the two (the printer prints
// while the next card is read). Goal: at least 30 runners a minute.

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "components/grid/rDBGrid.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "devices/serial/SerComPort.h"
#include "devices/vrkDeviceList.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkFinishDeskHost.h"
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
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <ctime>
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
    // The tick wakes the wait to look at the condition: waiting must not
    // spin, or the spinning would count as the desk's processor time.
    QTimer tick;
    tick.start(1);
    while (!Done()) {
        if (t.elapsed() > TimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Processor time of the whole process (every thread) in milliseconds.
double ProcessCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// When the board (or a control on it) first paints while showing the run
// waited for: the result is on the screen only once it is painted.
class TBoardPaintWatch : public QObject {
public:
    TBoardPaintWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~TBoardPaintWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    void Expect(int64_t Run)
    {
        FRun = Run;
        PaintedAt = 0;
    }
    int64_t PaintedAt = 0;

protected:
    bool eventFilter(QObject* O, QEvent* E) override
    {
        if (E->type() != QEvent::Paint || PaintedAt != 0 || !formResultBoard
            || formResultBoard->nlastResultsClass_id != FRun)
            return false;
        QWidget* board = formResultBoard->Widget();
        auto* w = qobject_cast<QWidget*>(O);
        if (w && board && (w == board || board->isAncestorOf(w)))
            PaintedAt = NowMicros();
        return false;
    }

private:
    int64_t FRun = 0;
};

// The main window's part in a read: the results grid over the event's runs,
// refreshed and positioned on the run when the dialog closes.
class TGridHost : public TFinishDeskHost {
public:
    void MenuShow(const QString&) override {}
    void MenuRefresh() override {}
    void SetPrintBadgeEnabled(bool) override {}
    QString ActiveProcessingTabCaption() const override { return QString(); }
    QString GuidanceCaption() const override { return QString(); }
    void ResetLastResultBox() override {}
    void ShowLastResult(const QString&, const QString&, const QString&, const QString&, const QString&) override {}
    void ShowCardReadAgain(const QString&) override {}
    void refreshMainGrid(int64_t ResultsClassId) override
    {
        formMain->refreshMainGrid();
        if (ResultsClassId != 0 && DataModule1->fbQueryResultsCFD->Active())
            DataModule1->fbQueryResultsCFD->Locate(QStringLiteral("RESULTS_CLASS_ID"),
                                                   QVariant::fromValue<qlonglong>(ResultsClassId));
    }
    void ActivateMainGrid() override {}
    void ShowCheckInDialog(const QString&) override {}
};

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
    explicit TDesk(int Count, bool WithGrid = false)
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
        if (WithGrid) {
            formMain->AfterConstruction();
            formMain->iChipReadDelay = 0;
            formMain->rdbgrdResultsClass->SetDataSource(DataModule1->dsResultsClassFD);
            formMain->nayta_tulokset_grid();
            finishDeskHost = &Host;
        }
    }
    ~TDesk()
    {
        finishDeskHost = nullptr;
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
    // Puts two frames of the card on the line and lets the desk take them;
    // the last byte of the confirming sync mark is still to be written.
    QByteArray PrepareCard(uint32_t Number)
    {
        const QByteArray frame = EmitWire(EmitFrame(Card(Number)));
        Reader.Simulator().SetPacing(false);
        Reader.Send(frame + frame + frame.left(1));
        Reader.Wait();
        Pump([&] { return formEmitReader->SerComPort1->InBuffUsed() == 0; }, 2000);
        Pump([] { return false; }, 5);
        return frame;
    }
    bool WriteLastByte(const QByteArray& Frame)
    {
        const char last = Frame.at(1);
        return ::write(Reader.Pty().FarFd(), &last, 1) == 1;
    }

    DataModuleFixture Db;
    TGridHost Host;
    SimulatedReader Reader;
    PtyPair Printer;
    std::unique_ptr<TComponent> Owner;
};

void LineToBoard(benchmark::State& state)
{
    TDesk desk(static_cast<int>(state.max_iterations) + 1);
    TBoardPaintWatch painted;
    std::vector<double> ms;
    std::vector<double> cpu;
    int i = 0;
    for (auto _ : state) {
        ++i;
        const int64_t run = 50000 + i;
        const QByteArray frame = desk.PrepareCard(400000 + i);
        painted.Expect(run);
        const double cpuBefore = ProcessCpuMs();
        const int64_t written = NowMicros();
        if (!desk.WriteLastByte(frame)) {
            state.SkipWithError("write failed");
            break;
        }
        if (!Pump([&] { return painted.PaintedAt != 0; }, 10000)) {
            state.SkipWithError("run not shown on the board");
            break;
        }
        const double elapsed = static_cast<double>(painted.PaintedAt - written) / 1000.0;
        ms.push_back(elapsed);
        state.SetIterationTime(elapsed / 1000.0);
        desk.WaitReady();
        cpu.push_back(ProcessCpuMs() - cpuBefore);
        desk.DrainPrinter();
    }
    state.counters["median_ms"] = Percentile(ms, 0.5);
    state.counters["p90_ms"] = Percentile(ms, 0.9);
    state.counters["max_ms"] = Percentile(ms, 1.0);
    state.counters["cpu_ms"] = Percentile(cpu, 0.5);
}

// The median processor time of Reads read cycles on an event of Runners
// registered runners with the results grid shown.
double ReadCycleCpuMs(int Runners, int Reads, bool& Failed)
{
    TDesk desk(Runners, true);
    std::vector<double> cpu;
    for (int i = 1; i <= Reads && !Failed; ++i) {
        const QByteArray frame = desk.PrepareCard(400000 + i);
        const double before = ProcessCpuMs();
        Failed = !desk.WriteLastByte(frame) || !desk.WaitShown(50000 + i) || !desk.WaitReady();
        cpu.push_back(ProcessCpuMs() - before);
        desk.DrainPrinter();
    }
    return Percentile(cpu, 0.5);
}

void ReadCostBySize(benchmark::State& state)
{
    constexpr int kReads = 15;
    double small = 0;
    double large = 0;
    for (auto _ : state) {
        bool failed = false;
        small = ReadCycleCpuMs(100, kReads, failed);
        large = ReadCycleCpuMs(2000, kReads, failed);
        if (failed) {
            state.SkipWithError("card not handled");
            return;
        }
    }
    state.counters["cpu_ms_100"] = small;
    state.counters["cpu_ms_2000"] = large;
    state.counters["ratio"] = small > 0 ? large / small : 0;
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
BENCHMARK(ReadCostBySize)->Iterations(1)->Unit(benchmark::kMillisecond);

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
