// Parses one event-data reply of about 1 MB (classes, their courses and
// control items, as the service sends them) with TJsonNode, RapidJSON's DOM
// and nlohmann::json.

#include "sync/jsonnode.h"

#include "bench/support/SideBySide.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>

#include <QString>
#include <algorithm>
#include <chrono>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

// A reply of the event-data shape, grown until it is at least Bytes long.
std::string EventDataReply(size_t Bytes)
{
    std::string S = R"({"classes": [)";
    for (int Class = 0; S.size() < Bytes; ++Class) {
        if (Class)
            S += ", ";
        const std::string Id = std::to_string(400000 + Class);
        S += R"({"class_id": ")" + Id + R"(", "event_id": "3001", "class_name": "Rata )" + std::to_string(Class) +
             R"( – Ääkköset", "fee": "1250", "calc_scoring": null, "mass_start_time": "", "active_class": "K", )"
             R"("inserted": "2026-05-01T12:00:00", "updated": "2026-05-01T12:05:00", "class_courses": [{"class_course_id": ")" +
             Id + R"(", "inserted": "2026-05-01T12:00:00", "updated": "2026-05-01T12:00:00", "courses": [{"course_id": ")" + Id +
             R"(", "course_name": "A \"pitkä\"", "course_length": "5200", "climb": "120", "notes": "Huom:\tjuomapiste", )"
             R"("controls_string": "31,32,33", "finish_code": "100", "inserted": "2026-05-01T12:00:00", "updated": "2026-05-01T12:00:00", "course_controls": [)";
        for (int K = 0; K < 16; ++K) {
            if (K)
                S += ", ";
            S += R"({"control_id": ")" + std::to_string(7000 + K) + R"(", "control_code": ")" + std::to_string(31 + K) +
                 R"(", "punching_unit1": null, "online_control": "E", "mandatory_control": "K", "course_control_id": ")" +
                 std::to_string(800000 + Class * 100 + K) + R"(", "control_sequence": ")" + std::to_string(K + 1) +
                 R"(", "control_type": "", "leg_length": "412", "online_name": null, "online_leg_length": "", )"
                 R"("cc_online_control": "E", "inserted": "2026-05-01T12:00:00", "updated": "2026-05-01T12:00:00"})";
        }
        S += "]}]}]}";
    }
    S += "]}";
    return S;
}

const std::string& Reply()
{
    static const std::string Text = EventDataReply(1 << 20);
    return Text;
}

const QString& ReplyText()
{
    static const QString Text = QString::fromStdString(Reply());
    return Text;
}

void BM_TJsonNode_Text(benchmark::State& State)
{
    const QString& Text = ReplyText();
    for (auto _ : State) {
        auto Root = TJsonNode::Parse(Text);
        benchmark::DoNotOptimize(Root.get());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Reply().size()));
}

void BM_TJsonNode_Utf8(benchmark::State& State)
{
    // from the reply's bytes, as the HTTP client hands them over
    const std::string& Bytes = Reply();
    for (auto _ : State) {
        auto Root = TJsonNode::Parse(QString::fromUtf8(Bytes.data(), qsizetype(Bytes.size())));
        benchmark::DoNotOptimize(Root.get());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes.size()));
}

void BM_RapidJSON_DOM(benchmark::State& State)
{
    const std::string& Bytes = Reply();
    for (auto _ : State) {
        rapidjson::Document Doc;
        Doc.Parse(Bytes.c_str(), Bytes.size());
        benchmark::DoNotOptimize(Doc.IsObject());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes.size()));
}

void BM_Nlohmann(benchmark::State& State)
{
    const std::string& Bytes = Reply();
    for (auto _ : State) {
        auto Doc = nlohmann::json::parse(Bytes);
        benchmark::DoNotOptimize(Doc.is_object());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes.size()));
}

// Reading every control code back, the way an applier walks the tree.
void BM_TJsonNode_ParseAndWalk(benchmark::State& State)
{
    const QString& Text = ReplyText();
    for (auto _ : State) {
        auto Root = TJsonNode::Parse(Text);
        int64_t Sum = 0;
        for (TJsonNode* Class : (*Root)["classes"])
            for (TJsonNode* Link : (*Class)["class_courses"])
                for (TJsonNode* Course : (*Link)["courses"])
                    for (TJsonNode* Control : (*Course)["course_controls"])
                        Sum += (*Control)["control_code"].AsInteger();
        benchmark::DoNotOptimize(Sum);
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Reply().size()));
}

// --- Side by side -------------------------------------------------------------------
//
// The machine is shared, so the comparison parses with TJsonNode and with
// RapidJSON alternately (A, B, A, B ...) in one run; the counters are the
// median times of one parse in milliseconds and the throughput ratio
// (TJsonNode's per RapidJSON's: above 1 TJsonNode is faster).

constexpr int CRounds = 41;

using bench::Median;
using bench::Millis;

void BM_Ratio_TJsonNodeVsRapidJSON(benchmark::State& State)
{
    const QString& Text = ReplyText();
    const std::string& Bytes = Reply();
    std::vector<double> Ours, Theirs;
    for (auto _ : State)
        for (int I = 0; I < CRounds; ++I) {
            Ours.push_back(Millis([&] {
                auto Root = TJsonNode::Parse(Text);
                benchmark::DoNotOptimize(Root.get());
            }));
            Theirs.push_back(Millis([&] {
                rapidjson::Document Doc;
                Doc.Parse(Bytes.c_str(), Bytes.size());
                benchmark::DoNotOptimize(Doc.IsObject());
            }));
        }
    State.counters["tjsonnode_ms"] = Median(Ours);
    State.counters["rapidjson_ms"] = Median(Theirs);
    State.counters["ratio"] = Median(Theirs) / Median(Ours);
}

}  // namespace

BENCHMARK(BM_Ratio_TJsonNodeVsRapidJSON)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TJsonNode_Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TJsonNode_Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RapidJSON_DOM)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nlohmann)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TJsonNode_ParseAndWalk)->Unit(benchmark::kMillisecond);

// glibc hands freed heap back to the system once its top grows past a limit
// and takes it again on the next parse; on this machine those page faults
// cost more than the parse itself, and which contender pays them depends on
// the order the cases run in. A fixed, high limit lets every case reuse its
// memory, so the figures compare the readers and not the order.
int main(int argc, char** argv)
{
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
