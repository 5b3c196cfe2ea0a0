// 1,000 card reads into one event: one desk on the embedded engine, one desk
// through a Firebird server on loopback, and two desks through the server at
// the same time (500 each). Counter "reads/s": reads stored per wall second.

#include "tests/support/FirebirdServer.h"
#include "tests/support/TestDatabase.h"
#include "tests/system/CardReads.h"

#include <benchmark/benchmark.h>
#include <latch>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kReads = 1000;

TFirebirdServer& Server()
{
    static std::unique_ptr<TFirebirdServer> server = std::make_unique<TFirebirdServer>();
    return *server;
}

void Run(benchmark::State& State, bool Served, int Desks)
{
    int64_t stored = 0;
    for (auto _ : State) {
        State.PauseTiming();
        TestDatabase local;
        TDeskLogin login;
        login.Database = local.Path();
        if (Served)
            login = {Server().Remote(Server().CopyEventDatabase()), TFirebirdServer::User(), TFirebirdServer::Password()};
        LoadFixtureEvent(login);
        std::latch go(Desks + 1);
        std::vector<TReadBatch> batches(size_t(Desks), TReadBatch{});
        std::vector<std::thread> desks;
        for (int d = 0; d < Desks; ++d)
            desks.emplace_back([&, d] { batches[size_t(d)] = StoreReads(login, 100000 * (d + 1), kReads / Desks, &go); });
        go.arrive_and_wait();
        State.ResumeTiming();
        for (std::thread& t : desks)
            t.join();
        for (const TReadBatch& b : batches) {
            if (!b.Error.isEmpty()) {
                static std::string error;
                error = b.Error.toStdString();
                State.SkipWithError(error.c_str());
                return;
            }
            stored += b.Ids.size();
        }
    }
    State.counters["reads/s"] = benchmark::Counter(double(stored), benchmark::Counter::kIsRate);
}

void BM_EmbeddedOneDesk(benchmark::State& State) { Run(State, false, 1); }
void BM_ServerOneDesk(benchmark::State& State) { Run(State, true, 1); }
void BM_ServerTwoDesks(benchmark::State& State) { Run(State, true, 2); }

}  // namespace

BENCHMARK(BM_EmbeddedOneDesk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ServerOneDesk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ServerTwoDesks)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
