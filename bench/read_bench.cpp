// Reading a ~100,000-line log: the tool's reader against the getline + strtod baseline.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "baseline_reader.hpp"
#include "log_fixture.hpp"
#include "statslog/read_stats_log.hpp"

namespace statsstats::bench {
namespace {

constexpr long kFiles = 6250;  // x 16 channels = 100,000 lines

void setCounters(benchmark::State& state, const std::string& path, std::size_t lines) {
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
}

void BM_ReadStatsLog(benchmark::State& state) {
    const std::string path = generatedLog(kFiles);
    std::size_t lines = 0;
    for (auto _ : state) {
        const StatsRecordList records = readStatsLog(path, nullptr);
        // Look at the result, so that no part of the work can be left out.
        if (records.size() != kFiles * 16 || records[records.size() - 1].channel != 15) {
            state.SkipWithError("unexpected records");
        }
        lines = records.size();
        benchmark::DoNotOptimize(records[lines / 2].mean);
    }
    setCounters(state, path, lines);
}
BENCHMARK(BM_ReadStatsLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BaselineGetlineStrtod(benchmark::State& state) {
    const std::string path = generatedLog(kFiles);
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto records = readWithGetline(path);
        if (records.size() != kFiles * 16 || records.back().ints[6] != 15) {
            state.SkipWithError("unexpected records");
        }
        lines = records.size();
        benchmark::DoNotOptimize(records[lines / 2].reals[5]);
    }
    setCounters(state, path, lines);
}
BENCHMARK(BM_BaselineGetlineStrtod)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace statsstats::bench

BENCHMARK_MAIN();
