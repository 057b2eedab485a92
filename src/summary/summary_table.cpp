#include "summary/summary_table.hpp"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "grouping/channel_groups.hpp"
#include "statistics/quantity_stats.hpp"
#include "summary/flag_summary.hpp"
#include "summary/real_format.hpp"
#include "summary/table_text.hpp"

namespace statsstats {
namespace {

// A summarised quantity: its block of eleven columns is named from its two stems.
struct Quantity {
    const char* plural;
    const char* singular;
    float SummaryRecord::*field;
};

// In the order of their blocks in a row. The flag columns come between the last two.
constexpr std::array<Quantity, 12> kQuantities = {{
    {"means", "mean", &SummaryRecord::mean},
    {"maxes", "max", &SummaryRecord::max},
    {"mins", "min", &SummaryRecord::min},
    {"variances", "variance", &SummaryRecord::variance},
    {"skews", "skew", &SummaryRecord::skew},
    {"kurtosi", "kurtosis", &SummaryRecord::kurtosis},
    {"cals", "cal", &SummaryRecord::cal},
    {"psdpeakfreqs", "psdpeakfreq", &SummaryRecord::psdpeakfreq},
    {"scalefactors", "scalefactor", &SummaryRecord::scalefactor},
    {"offsets", "offset", &SummaryRecord::offset},
    {"damage", "damage", &SummaryRecord::damage},
    {"psd99pctfreqs", "psd99pctfreq", &SummaryRecord::psd99pctfreq},
}};
constexpr std::size_t kFlagsBeforeBlock = 11;
constexpr std::size_t kFlushBytes = std::size_t{1} << 20;

std::string headerLine() {
    std::string header = "intputfile,numfiles,scanrate,channel,channelname";
    for (std::size_t block = 0; block < kQuantities.size(); ++block) {
        if (block == kFlagsBeforeBlock) {
            header +=
                ",sumofflags,lastzerovarianceflagfile,lastemptyscaleflagfile,"
                "lastyellowlineflagfile,lastredlineflagfile,lastfullscaleflagfile,"
                "lasthplpvarianceflagfile,lasthplpmaxflagfile";
        }
        const std::string p = kQuantities[block].plural;
        const std::string s = kQuantities[block].singular;
        header += ",meanof" + p + ",maxof" + p + ",max" + s + "filename,minof" + p + ",min" + s +
                  "filename,varianceof" + p + ",skewof" + p + ",kurtosisof" + p + ",lryintof" + p +
                  ",lrbetaof" + p + ",lrcorrelationof" + p;
    }
    return header + "\n";
}

void appendRealColumn(std::string& out, double value) {
    appendReal(out, value);
    out += ',';
}

// The quantities and flags of one row's records, each as a list in log order. Gathered in one
// pass over the row's records into lists that every row reuses, so that a log's summary takes
// no fresh memory per record (on these machines, fresh memory costs more than the gathering).
class RowColumns {
  public:
    void gather(std::span<const std::uint32_t> group, const SummaryRecordList& records) {
        for (auto& values : quantities_) values.resize(group.size());
        for (auto& values : flags_) values.resize(group.size());
        gatherFields(group, records, std::make_index_sequence<kQuantities.size()>(),
                     std::make_index_sequence<kFlagFields.size()>());
    }

    std::span<const float> quantity(std::size_t q) const { return quantities_[q]; }
    RowFlags flags() const {
        RowFlags row;
        for (std::size_t f = 0; f < row.size(); ++f) row[f] = flags_[f];
        return row;
    }

  private:
    // Each field copied by a statement of its own, at an offset known when compiling.
    template <std::size_t... Q, std::size_t... F>
    void gatherFields(std::span<const std::uint32_t> group, const SummaryRecordList& records,
                      std::index_sequence<Q...>, std::index_sequence<F...>) {
        float* const quantities[] = {quantities_[Q].data()...};
        std::int32_t* const flags[] = {flags_[F].data()...};
        for (std::size_t j = 0; j < group.size(); ++j) {
            const SummaryRecord& record = records[group[j]];
            ((quantities[Q][j] = record.*kQuantities[Q].field), ...);
            ((flags[F][j] = record.*kFlagFields[F]), ...);
        }
    }

    std::array<std::vector<float>, kQuantities.size()> quantities_;
    std::array<std::vector<std::int32_t>, kFlagFields.size()> flags_;
};

// Appends the row of channel `channel` at scan rate `rate`, whose records are `group`.
void appendRow(std::string& out, std::string_view logPath, float rate, std::int32_t channel,
               const ChannelGroups& groups, RowColumns& columns, const SummaryRecordList& records) {
    const std::span<const std::uint32_t> group = groups.ofChannel(channel);
    columns.gather(group, records);
    appendTableText(out, logPath);
    out += ',';
    appendUnsigned(out, group.size());
    out += ',';
    appendRealColumn(out, rate);
    appendUnsigned(out, static_cast<std::uint64_t>(channel));
    out += ',';
    // The name the channel had in its latest file; a row without records has none.
    appendTableText(out, group.empty() ? std::string_view() : records[group.back()].channelname());
    out += ',';
    for (std::size_t block = 0; block < kQuantities.size(); ++block) {
        if (block == kFlagsBeforeBlock) {
            writeFlagSummary(out, group, columns.flags(), records);
        }
        const std::span<const float> values = columns.quantity(block);
        const auto [stats, trend] = computeQuantityStats(values);
        appendRealColumn(out, stats.mean);
        appendRealColumn(out, stats.maximum);
        appendTableText(out, latestFileWith(stats.maximum, values, group, records));
        out += ',';
        appendRealColumn(out, stats.minimum);
        appendTableText(out, latestFileWith(stats.minimum, values, group, records));
        out += ',';
        appendRealColumn(out, stats.variance);
        appendRealColumn(out, stats.skew);
        appendRealColumn(out, stats.kurtosis);
        appendRealColumn(out, trend.yIntercept);
        appendRealColumn(out, trend.beta);
        appendReal(out, trend.correlation);
        out += block + 1 == kQuantities.size() ? '\n' : ',';
    }
}

void checkChannelCounts(const ScanRateIndex& index) {
    for (std::size_t k = 0; k < index.scanRates.size(); ++k) {
        if (index.channelCounts[k] > kMaxChannelCount) {
            throw std::runtime_error(
                "scan rate " + formatReal(index.scanRates[k]) + " has a channel count of " +
                std::to_string(index.channelCounts[k]) + ", more than " +
                std::to_string(kMaxChannelCount) + ": the log looks corrupt; no table written");
        }
    }
}

// The signal that interrupted the table write, or 0. A signal handler may only set a flag of
// this type; the writer looks at it between pieces and then cleans up in the ordinary way.
volatile std::sig_atomic_t interruption = 0;

extern "C" void noteInterruption(int signal) {
    interruption = signal;
}

// Catches the signals that end a run from the terminal or the system while the table is being
// written, so that the temporary file can be removed first; restores the previous handlers.
class InterruptionGuard {
  public:
    InterruptionGuard() {
        interruption = 0;
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            previous_[i] = std::signal(kSignals[i], noteInterruption);
            // A signal the run was started to ignore (a background job, nohup) stays ignored.
            if (previous_[i] == SIG_IGN) std::signal(kSignals[i], SIG_IGN);
        }
    }
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;
    ~InterruptionGuard() {
        for (std::size_t i = 0; i < kSignals.size(); ++i) std::signal(kSignals[i], previous_[i]);
    }

    void throwIfInterrupted() const {
        if (const int signal = interruption; signal != 0) throw TableInterrupted(signal);
    }

  private:
#ifdef SIGHUP
    static constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
#else
    static constexpr std::array<int, 2> kSignals = {SIGINT, SIGTERM};
#endif
    std::array<void (*)(int), kSignals.size()> previous_{};
};

// The file a new table replaces. A table that is a symbolic link (a site that keeps its tables
// on a shared drive) is replaced at the end of the link, so the link stays and shows the new
// table, as it would had the table been written through it.
std::string tableDestination(const std::string& tableFile) {
    namespace fs = std::filesystem;
    fs::path destination = tableFile;
    std::error_code error;
    for (int hop = 0; hop < 40 && fs::is_symlink(destination, error); ++hop) {
        const fs::path target = fs::read_symlink(destination, error);
        if (error) break;
        destination = target.is_absolute() ? target : destination.parent_path() / target;
    }
    return destination.string();
}

// The temporary file the table is written to, removed again unless it was committed.
class TemporaryTable {
  public:
    explicit TemporaryTable(const std::string& tableFile)
        : tableFile_(tableFile), destination_(tableDestination(tableFile)) {
        std::random_device entropy;
        for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
            path_ = destination_ + suffix;
            file_ = std::fopen(path_.c_str(), "wx");  // never an existing file
            if (file_ == nullptr && errno != EEXIST) break;
        }
        if (file_ == nullptr) fail("cannot create its temporary file '" + path_ + "'");
        keepPermissionsOfTheOldTable();
        // The table arrives in large pieces; stdio's own buffer would only copy them.
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    TemporaryTable(const TemporaryTable&) = delete;
    TemporaryTable& operator=(const TemporaryTable&) = delete;
    ~TemporaryTable() {
        if (file_ != nullptr) std::fclose(file_);
        if (!committed_) std::remove(path_.c_str());
    }

    void write(std::string_view bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            fail("cannot write '" + path_ + "'");
        }
    }

    // Closes the file and puts it in the table's place.
    void commit() {
        std::FILE* file = std::exchange(file_, nullptr);
        if (std::fclose(file) != 0) fail("cannot close '" + path_ + "'");
        if (std::rename(path_.c_str(), destination_.c_str()) != 0) {
            fail("cannot rename '" + path_ + "' to " +
                 (destination_ == tableFile_ ? "it" : "'" + destination_ + "', where it leads"));
        }
        committed_ = true;
    }

  private:
    // A site that made its table readable by a group, or by the owner alone, keeps it so. Should
    // that fail, the new table still replaces the old one, with the usual permissions.
    void keepPermissionsOfTheOldTable() const {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::file_status old = fs::status(destination_, error);
        if (error || !fs::is_regular_file(old)) return;
        fs::permissions(path_, old.permissions(), fs::perm_options::replace, error);
    }

    [[noreturn]] void fail(const std::string& what) const {
        const int error = errno;
        throw std::runtime_error("cannot write summary table '" + tableFile_ + "': " + what + ": " +
                                 std::strerror(error));
    }

    std::string tableFile_;
    std::string destination_;  // tableFile_, or where its symbolic link leads
    std::string path_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

}  // namespace

SummaryCounts buildSummaryTable(std::string_view logPath, const SummaryRecordList& records,
                                const ScanRateIndex& index, const TableSink& sink) {
    checkChannelCounts(index);
    SummaryCounts counts;
    std::string out = headerLine();
    out.reserve(2 * kFlushBytes);
    const RecordsByRate byRate(index);
    ChannelGroups groups;
    RowColumns columns;
    for (std::size_t k = 0; k < index.scanRates.size(); ++k) {
        const std::int32_t channelCount = index.channelCounts[k];
        groups.build(byRate.ofRate(k), records, channelCount);
        counts.recordsInNoRow += groups.ungrouped();
        for (std::int32_t channel = 0; channel < channelCount; ++channel) {
            appendRow(out, logPath, index.scanRates[k], channel, groups, columns, records);
            ++counts.rows;
            if (out.size() >= kFlushBytes) {
                sink(out);
                out.clear();
            }
        }
    }
    sink(out);
    return counts;
}

SummaryCounts writeSummaryTable(std::string_view logPath, const SummaryRecordList& records,
                                const ScanRateIndex& index, const std::string& tableFile) {
    checkChannelCounts(index);  // before the disk is touched
    const InterruptionGuard guard;
    TemporaryTable table(tableFile);
    const SummaryCounts counts =
        buildSummaryTable(logPath, records, index, [&](std::string_view piece) {
            guard.throwIfInterrupted();
            table.write(piece);
        });
    guard.throwIfInterrupted();
    table.commit();
    // Interrupted after the table was put in place: it is complete, but the run stops here.
    guard.throwIfInterrupted();
    return counts;
}

}  // namespace statsstats
