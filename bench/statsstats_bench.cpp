// The steps of a run on generated logs: reading (against a getline + strtod baseline), parsing
// alone, and the summary step (scan-rate index and table) at three sizes to show its growth.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "baseline_reader.hpp"
#include "grouping/scan_rate_index.hpp"
#include "log_fixture.hpp"
#include "statslog/parse_line.hpp"
#include "statslog/read_stats_log.hpp"
#include "summary/summary_table.hpp"

namespace statsstats::bench {
namespace {

constexpr long kFiles = 6250;  // x 16 channels = 100,000 lines

void setCounters(benchmark::State& state, const std::string& path, std::size_t lines) {
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
}

// The summarised fields, as the tool reads a log, or every field.
template <class Record>
void BM_ReadStatsLog(benchmark::State& state) {
    const std::string path = generatedLog(kFiles);
    std::size_t lines = 0;
    for (auto _ : state) {
        const RecordList<Record> records = readStatsLog<Record>(path, nullptr);
        // Look at the result, so that no part of the work can be left out.
        if (records.size() != kFiles * 16 || records[records.size() - 1].channel != 15) {
            state.SkipWithError("unexpected records");
        }
        lines = records.size();
        benchmark::DoNotOptimize(records[lines / 2].mean);
    }
    setCounters(state, path, lines);
}
BENCHMARK_TEMPLATE(BM_ReadStatsLog, SummaryRecord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_ReadStatsLog, StatsRecord)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// Parsing alone: lines already in memory, one record reused, no I/O and no record storage.
template <class Record>
void BM_ParseStatsLine(benchmark::State& state) {
    std::ifstream in(generatedLog(kFiles), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    std::getline(in, line);
    std::size_t bytes = 0;
    while (lines.size() < 10000 && std::getline(in, line)) {
        bytes += line.size() + 1;
        lines.push_back(line);
    }
    Record record;
    for (auto _ : state) {
        for (const std::string& l : lines) {
            if (parseStatsLine(l, record) != kColumnCount) state.SkipWithError("short line");
            benchmark::DoNotOptimize(record.psd99pctfreq);
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK_TEMPLATE(BM_ParseStatsLine, SummaryRecord)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ParseStatsLine, StatsRecord)->Unit(benchmark::kMillisecond);

// Index and table of a log already in memory; the table goes to a counting sink, as its
// writing is the same work whatever the disk. Arguments: lines, scan rates (x 16 rows each).
void BM_SummaryStep(benchmark::State& state) {
    const auto rates = static_cast<int>(state.range(1));
    const std::string path = generatedLog(state.range(0) / 16, rates);
    const SummaryRecordList records = readStatsLog<SummaryRecord>(path, nullptr);
    std::size_t tableBytes = 0;
    for (auto _ : state) {
        const ScanRateIndex index = buildScanRateIndex(records);
        tableBytes = 0;
        const SummaryCounts counts = buildSummaryTable(
            path, records, index, [&](std::string_view piece) { tableBytes += piece.size(); });
        if (counts.rows != static_cast<std::size_t>(16 * rates))
            state.SkipWithError("unexpected table");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(records.size()));
    state.counters["table_bytes"] = static_cast<double>(tableBytes);
}
BENCHMARK(BM_SummaryStep)
    ->Args({25000, 2})
    ->Args({50000, 2})
    ->Args({100000, 2})
    ->Args({100000, 64})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace statsstats::bench

BENCHMARK_MAIN();
