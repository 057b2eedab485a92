#include "driver/run.hpp"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "grouping/scan_rate_index.hpp"
#include "statslog/read_stats_log.hpp"
#include "summary/real_format.hpp"
#include "summary/summary_table.hpp"

namespace statsstats {
namespace {

constexpr const char* kPostAnalysisCommand = "ruvo-postanalysis.bat";

std::int64_t wallClockSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// The console report: fixed labels, values written as the table writes them.
class ConsoleReport {
  public:
    explicit ConsoleReport(std::FILE* out) : out_(out) {}

    void line(const char* label, std::string_view value) {
        write(label);
        write(value);
        write("\n");
        std::fflush(out_);
    }
    void line(const char* label, std::int64_t value) { line(label, std::to_string(value)); }
    void line(const char* label, std::size_t value) { line(label, std::to_string(value)); }
    void realLine(const char* label, double value) { line(label, formatReal(value)); }

    // Text without a line end or flush: the two halves of the reading line.
    void write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), out_); }
    // Ends a half-written line, so that a message on stderr does not land inside it.
    void endLine() { line("", ""); }

  private:
    std::FILE* out_;
};

void printError(std::FILE* err, const std::string& message) {
    std::fprintf(err, "statsstats: %s\n", message.c_str());
}

int run(const std::string& path, std::FILE* out, std::FILE* err) {
    const std::int64_t startTime = wallClockSeconds();
    ConsoleReport report(out);
    report.line("ruvoversion:\t", kVersionString);
    report.line("starttime:\t", startTime);
    report.line("filename:\t", path);

    report.write("reading stats log: ");
    SummaryRecordList records;
    try {
        records = readStatsLog<SummaryRecord>(path, [&](const ShortLine& line) {
            printError(err, "warning: '" + path + "' line " + std::to_string(line.lineNumber) +
                                " has " + std::to_string(line.columns) +
                                " columns, expected 196; line skipped");
        });
    } catch (const std::runtime_error& e) {
        report.endLine();
        printError(err, e.what());
        return 1;
    }
    report.write("done\n");

    const std::size_t n = records.size();
    report.line("stats lines:\t", n);
    if (n < 2) {
        printError(err, "'" + path + "' has " + std::to_string(n) +
                            (n == 1 ? " data line" : " data lines") + "; at least 2 are needed");
        return 1;
    }
    report.realLine("first mean:\t", records[0].mean);
    report.realLine("second mean:\t", records[1].mean);
    report.realLine("next last mean:\t", records[n - 2].mean);
    report.realLine("last mean:\t", records[n - 1].mean);

    const ScanRateIndex index = buildScanRateIndex(records);
    std::string tableError;
    try {
        const SummaryCounts counts = writeSummaryTable(path, records, index, kSummaryTableName);
        if (counts.recordsInNoRow > 0) {
            printError(err, "warning: " + std::to_string(counts.recordsInNoRow) + " of " +
                                std::to_string(n) + " records of '" + path +
                                "' are in no row of the table: their channel number is negative "
                                "or not below the channel count of their scan rate");
        }
    } catch (const TableInterrupted& e) {
        // Nothing is left on disk; end the way the signal would have ended the run.
        std::fflush(out);
        std::signal(e.signal, SIG_DFL);
        std::raise(e.signal);
        return 128 + e.signal;  // should the signal not end the process
    } catch (const std::runtime_error& e) {
        tableError = e.what();
    }

    const std::int64_t endTime = wallClockSeconds();
    const std::int64_t elapsed = endTime - startTime;
    report.line("endtime:\t", endTime);
    report.line("elapsed seconds:\t", elapsed);
    report.realLine("elapsed minutes:\t", static_cast<double>(elapsed) / 60.0);
    if (!tableError.empty()) {
        // No table, so nothing for the post-analysis to work on.
        printError(err, tableError);
        return 1;
    }
    if (std::ferror(out)) {
        printError(err, "cannot write the console report to standard output");
        return 1;
    }

    // The site's post-analysis runs whatever it finds; its outcome is not ours to judge.
    [[maybe_unused]] const int hookStatus = std::system(kPostAnalysisCommand);
    return 0;
}

}  // namespace

int runStatsstats(std::span<const char* const> args, std::FILE* out, std::FILE* err) {
    if (args.size() < 2) {
        std::fputs("usage: statsstats STATSLOG\n", err);
        return 2;
    }
    try {
        return run(args[1], out, err);
    } catch (const std::bad_alloc&) {
        printError(err, "out of memory");
    } catch (const std::exception& e) {
        printError(err, e.what());
    }
    return 1;
}

}  // namespace statsstats
