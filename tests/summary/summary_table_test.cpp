#include "summary/summary_table.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "grouping/scan_rate_index.hpp"
#include "statslog/parse_line.hpp"
#include "statslog/read_stats_log.hpp"
#include "summary/flag_summary.hpp"
#include "summary/rescan_reference.hpp"
#include "support/log_builder.hpp"
#include "support/temp_run.hpp"

namespace statsstats {
namespace {

using testing::dataLine;
using testing::readFile;
using testing::recordsOf;

std::string tableOf(std::string_view logPath, const SummaryRecordList& records,
                    SummaryCounts* counts = nullptr) {
    std::string table;
    const SummaryCounts c = buildSummaryTable(logPath, records, buildScanRateIndex(records),
                                              [&](std::string_view piece) { table += piece; });
    if (counts != nullptr) *counts = c;
    return table;
}

// A small log with two scan rates (one spelled two ways), a row without records, a row with
// one record, ties of extremes, a renamed channel, flags of -1, 0, 1 and 2, a record in no
// row, a short line, CRLF line ends and a "d" exponent. Its expected table was computed
// independently of this code.
TEST(SummaryTable, MatchesTheFixtureByteForByte) {
    const std::string dir = STATSSTATS_SOURCE_DIR "/tests/fixtures/";
    const SummaryRecordList records = readStatsLog<SummaryRecord>(dir + "summary_log.csv", nullptr);
    SummaryCounts counts;
    const std::string table = tableOf("logs/site 1,run.csv", records, &counts);
    EXPECT_EQ(table, readFile(dir + "summary_table.csv"));
    EXPECT_EQ(counts.rows, 5u);
    EXPECT_EQ(counts.recordsInNoRow, 1u);
}

TEST(SummaryTable, HeaderHas145NamesAndEachRow145Values) {
    const SummaryRecordList records = recordsOf({dataLine({{"channelcount", "2"}})});
    const std::string table = tableOf("log.csv", records);
    const auto header = table.substr(0, table.find('\n'));
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 144);
    EXPECT_TRUE(
        header.starts_with("intputfile,numfiles,scanrate,channel,channelname,meanofmeans,"));
    EXPECT_TRUE(
        header.ends_with(",lasthplpmaxflagfile,meanofpsd99pctfreqs,maxofpsd99pctfreqs,"
                         "maxpsd99pctfreqfilename,minofpsd99pctfreqs,minpsd99pctfreqfilename,"
                         "varianceofpsd99pctfreqs,skewofpsd99pctfreqs,kurtosisofpsd99pctfreqs,"
                         "lryintofpsd99pctfreqs,lrbetaofpsd99pctfreqs,"
                         "lrcorrelationofpsd99pctfreqs"));
    EXPECT_NE(header.find(",lrcorrelationofdamage,sumofflags,"), std::string::npos);
    EXPECT_NE(header.find(",minkurtosisfilename,varianceofkurtosi,"), std::string::npos);
    std::istringstream lines(table);
    int rows = -1;
    for (std::string line; std::getline(lines, line); ++rows) {
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 144) << line;
    }
    EXPECT_EQ(rows, 2);
}

TEST(FlagSummary, SumsWrapAndNameTheLatestFileWithAFlagOfOne) {
    const struct {
        const char* what;
        SummaryRecordList records;
        std::string expected;
    } cases[] = {
        {"no record", recordsOf({}), "0,none,none,none,none,none,none,none,"},
        {"minus one", recordsOf({dataLine({{"filename", "a"}, {"emptyscaleflag", "-1"}})}),
         "4294967295,none,none,none,none,none,none,none,"},
        {"two counts, is not named",
         recordsOf({dataLine({{"filename", "a"}, {"yellowlineflag", "2"}})}),
         "2,none,none,none,none,none,none,none,"},
        {"latest of several",
         recordsOf(
             {dataLine({{"filename", "a"}, {"zerovarianceflag", "1"}, {"emptyscaleflag", "1"}}),
              dataLine({{"filename", "b"}, {"redlineflag", "1"}, {"zerovarianceflag", "1"}}),
              dataLine({{"filename", "c"}, {"zerovarianceflag", "0"}})}),
         "4,b,a,none,b,none,none,none,"},
        {"every flag",
         recordsOf({dataLine({{"filename", "x\ry"},
                              {"zerovarianceflag", "1"},
                              {"emptyscaleflag", "1"},
                              {"yellowlineflag", "1"},
                              {"redlineflag", "1"},
                              {"fullscaleflag", "1"},
                              {"hplpvarianceflag", "1"},
                              {"hplpmaxflag", "1"}})}),
         "7,\"x\ry\",\"x\ry\",\"x\ry\",\"x\ry\",\"x\ry\",\"x\ry\",\"x\ry\","},
    };
    for (const auto& c : cases) {
        std::vector<std::uint32_t> group;
        std::array<std::vector<std::int32_t>, kFlagFields.size()> flagLists;
        for (std::uint32_t i = 0; i < c.records.size(); ++i) {
            group.push_back(i);
            for (std::size_t f = 0; f < kFlagFields.size(); ++f) {
                flagLists[f].push_back(c.records[i].*kFlagFields[f]);
            }
        }
        RowFlags flags;
        for (std::size_t f = 0; f < kFlagFields.size(); ++f) flags[f] = flagLists[f];
        std::string out;
        writeFlagSummary(out, group, flags, c.records);
        EXPECT_EQ(out, c.expected) << c.what;
    }
}

TEST(SummaryTable, RefusesACorruptChannelCountBeforeWritingAnything) {
    const SummaryRecordList records =
        recordsOf({dataLine({{"channelcount", "2147483647"}, {"scanrate", "51200"}})});
    bool wrote = false;
    try {
        buildSummaryTable("log.csv", records, buildScanRateIndex(records),
                          [&](std::string_view) { wrote = true; });
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(),
                     "scan rate 51200 has a channel count of 2147483647, more than 1000000: the "
                     "log looks corrupt; no table written");
    }
    EXPECT_FALSE(wrote);
}

TEST(SummaryTable, NegativeChannelCountGivesNoRows) {
    SummaryCounts counts;
    const std::string table =
        tableOf("log.csv", recordsOf({dataLine({{"channelcount", "-3"}})}), &counts);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1);
    EXPECT_EQ(counts.recordsInNoRow, 1u);
}

// Random lines with few distinct values (so that extremes tie and lists are all equal), rates
// that compare equal in different spellings, channel numbers out of range, and any flags.
std::string randomLine(std::mt19937_64& random) {
    auto pick = [&](std::initializer_list<const char*> options) {
        return std::string(*(options.begin() + random() % options.size()));
    };
    testing::Fields fields = {
        {"filename", pick({"a.dat", "b.dat", "c.dat", "d\r.dat"})},
        {"channelcount", pick({"3", "3", "2", "0", "-1"})},
        {"scanrate", pick({"51200", "51200.0", "2048", "0", "-0"})},
        {"channel", pick({"0", "1", "2", "2", "-1", "4"})},
        {"channelname", pick({"Strain 1", "Strain one", ""})},
    };
    for (const char* quantity :
         {"mean", "max", "min", "variance", "skew", "kurtosis", "cal", "psdpeakfreq", "scalefactor",
          "offset", "damage", "psd99pctfreq"}) {
        fields.emplace_back(quantity, pick({"0", "-0", "1", "1", "2.5", "-3e-5", "1e30", "0.1"}));
    }
    for (const char* flag : {"zerovarianceflag", "emptyscaleflag", "yellowlineflag", "redlineflag",
                             "fullscaleflag", "hplpvarianceflag", "hplpmaxflag"}) {
        fields.emplace_back(flag, pick({"0", "0", "0", "1", "2", "-1"}));
    }
    return dataLine(fields);
}

// The reference rescans records of every field; the builder gets the summarised fields alone,
// as the tool keeps them.
TEST(SummaryTable, GroupedBuilderAgreesWithRescanningEveryRecord) {
    std::mt19937_64 random(5);
    for (int log = 0; log < 300; ++log) {
        SummaryRecordList records;
        StatsRecordList fullRecords;
        const std::size_t count = random() % 60;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string line = randomLine(random);
            testing::appendRecord(records, line);
            testing::appendRecord(fullRecords, line);
        }
        const std::string grouped = tableOf("run,1.csv", records);
        const std::string expected = testing::rescanSummaryRows("run,1.csv", fullRecords);
        ASSERT_EQ(grouped.substr(grouped.find('\n') + 1), expected) << "log " << log;
    }
}

class WriteSummaryTable : public testing::TempRun {
  protected:
    SummaryRecordList records_ = recordsOf({dataLine({{"channelcount", "1"}})});
    std::string table() const { return (dir_ / "statsstatslog.csv").string(); }
    const std::set<std::string> kBinAndTable = {"bin", "statsstatslog.csv"};
};

TEST_F(WriteSummaryTable, ReplacesAnExistingTable) {
    writeFile("statsstatslog.csv", "old table\n");
    writeSummaryTable("log.csv", records_, buildScanRateIndex(records_), table());
    EXPECT_EQ(readFile(table()), tableOf("log.csv", records_));
    EXPECT_EQ(filesLeft(), kBinAndTable);
}

// A table kept elsewhere through a symbolic link is replaced there; the link stays.
TEST_F(WriteSummaryTable, ReplacesALinkedTableWhereTheLinkLeads) {
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name, target
        bool targetExists;
        std::set<std::string> sharedAfter;  // no temporary file among them
    } cases[] = {
        {"to an existing table", {{"statsstatslog.csv", "shared/table.csv"}}, true, {"table.csv"}},
        {"to a table not yet written",
         {{"statsstatslog.csv", "shared/table.csv"}},
         false,
         {"table.csv"}},
        {"through a second link",
         {{"statsstatslog.csv", "shared/link.csv"}, {"shared/link.csv", "table.csv"}},
         true,
         {"link.csv", "table.csv"}},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir_ / "shared");
        fs::remove(dir_ / "statsstatslog.csv");
        fs::create_directory(dir_ / "shared");
        if (c.targetExists) writeFile("shared/table.csv", "old table\n");
        for (const auto& [name, target] : c.links) fs::create_symlink(target, dir_ / name);

        writeSummaryTable("log.csv", records_, buildScanRateIndex(records_), table());
        EXPECT_TRUE(fs::is_symlink(dir_ / "statsstatslog.csv")) << c.what;
        EXPECT_EQ(readFile(dir_ / "shared/table.csv"), tableOf("log.csv", records_)) << c.what;
        EXPECT_EQ(filesLeft("shared"), c.sharedAfter) << c.what;
        EXPECT_EQ(filesLeft(), (std::set<std::string>{"bin", "shared", "statsstatslog.csv"}))
            << c.what;
    }
}

TEST_F(WriteSummaryTable, KeepsThePermissionsOfTheOldTable) {
    namespace fs = std::filesystem;
    for (const fs::perms kept :
         {fs::perms::owner_read | fs::perms::owner_write,
          fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
              fs::perms::group_write | fs::perms::others_read}) {
        writeFile("statsstatslog.csv", "old table\n");
        fs::permissions(table(), kept);
        writeSummaryTable("log.csv", records_, buildScanRateIndex(records_), table());
        EXPECT_EQ(readFile(table()), tableOf("log.csv", records_));
        EXPECT_EQ(fs::status(table()).permissions(), kept);
    }
}

TEST_F(WriteSummaryTable, LeavesNothingBehindWhenItCannotPutTheTableInPlace) {
    std::filesystem::create_directory(dir_ / "statsstatslog.csv");
    try {
        writeSummaryTable("log.csv", records_, buildScanRateIndex(records_), table());
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        EXPECT_TRUE(
            message.starts_with("cannot write summary table '" + table() + "': cannot rename '"))
            << message;
        EXPECT_TRUE(message.ends_with("' to it: Is a directory")) << message;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "statsstatslog.csv"));
    EXPECT_EQ(filesLeft(), kBinAndTable);
}

TEST_F(WriteSummaryTable, KeepsTheOldTableWhenTheCountIsRefused) {
    writeFile("statsstatslog.csv", "old table\n");
    const SummaryRecordList corrupt = recordsOf({dataLine({{"channelcount", "1000001"}})});
    EXPECT_THROW(writeSummaryTable("log.csv", corrupt, buildScanRateIndex(corrupt), table()),
                 std::runtime_error);
    EXPECT_EQ(readFile(table()), "old table\n");
    EXPECT_EQ(filesLeft(), kBinAndTable);
}

}  // namespace
}  // namespace statsstats
