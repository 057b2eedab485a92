#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "support/log_builder.hpp"
#include "support/temp_run.hpp"

namespace statsstats {
namespace {

using testing::dataLine;
using testing::headerLine;

std::string logWithMeans(std::initializer_list<const char*> means) {
    std::string log = headerLine();
    int file = 0;
    for (const char* mean : means) {
        log += dataLine({{"filename", "f" + std::to_string(file++) + ".dat"},
                         {"mean", mean},
                         {"channelcount", "1"},
                         {"scanrate", "51200"}});
    }
    return log;
}

// Replaces the clock readings, which differ from run to run, by '#', after checking that they
// are consistent with one another.
std::string withoutTimes(const std::string& report) {
    static const std::string kTimeLabels[] = {"starttime:\t", "endtime:\t", "elapsed seconds:\t",
                                              "elapsed minutes:\t"};
    std::map<std::string, std::string> times;
    std::string out;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        for (const std::string& label : kTimeLabels) {
            if (line.rfind(label, 0) == 0) {
                times[label] = line.substr(label.size());
                line = label + "#";
            }
        }
        out += line + "\n";
    }
    if (times.count("endtime:\t") != 0) {
        const long long start = std::stoll(times["starttime:\t"]);
        const long long end = std::stoll(times["endtime:\t"]);
        EXPECT_EQ(std::stoll(times["elapsed seconds:\t"]), end - start);
        EXPECT_LE(start, end);
    }
    return out;
}

class Driver : public testing::TempRun {};

TEST_F(Driver, PrintsTheReportThenRunsThePostAnalysis) {
    writeFile("my log.csv", logWithMeans({"1.5", "0.1", "1234567"}));
    const auto r = run("'my log.csv' extra arguments");
    EXPECT_EQ(r.status, 0) << "the batch file's failure must not matter";
    EXPECT_EQ(withoutTimes(r.out),
              "ruvoversion:\t200701101232\n"
              "starttime:\t#\n"
              "filename:\tmy log.csv\n"
              "reading stats log: done\n"
              "stats lines:\t3\n"
              "first mean:\t1.5\n"
              "second mean:\t0.1\n"
              "next last mean:\t0.1\n"
              "last mean:\t1.23457e+006\n"
              "endtime:\t#\n"
              "elapsed seconds:\t#\n"
              "elapsed minutes:\t#\n"
              "post-analysis ran\n");
    EXPECT_EQ(r.err, "");
    // The table is in place before the post-analysis runs: a header and one row.
    const std::string table = testing::readFile(dir_ / "statsstatslog.csv");
    EXPECT_TRUE(table.starts_with("intputfile,numfiles,scanrate,channel,channelname,"));
    EXPECT_NE(table.find("\nmy log.csv,3,51200,0,channelname,"), std::string::npos);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 2);
}

TEST_F(Driver, TwoRecordsAreSampledTwice) {
    writeFile("log.csv", logWithMeans({"-2", "1e-5"}));
    const auto r = run("log.csv");
    EXPECT_NE(r.out.find("first mean:\t-2\nsecond mean:\t1e-005\n"
                         "next last mean:\t-2\nlast mean:\t1e-005\n"),
              std::string::npos)
        << r.out;
}

TEST_F(Driver, MissingBatchFileDoesNotChangeTheOutcome) {
    writeFile("log.csv", logWithMeans({"1", "2"}));
    const auto r = run("log.csv", withoutHook());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("elapsed minutes:\t"), std::string::npos);
}

TEST_F(Driver, WarnsAboutShortLinesAndGoesOn) {
    writeFile("log.csv", logWithMeans({"1", "2"}) + "f9.dat,1,0\n" +
                             logWithMeans({"3"}).substr(headerLine().size()));
    const auto r = run("log.csv");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "statsstats: warning: 'log.csv' line 4 has 3 columns, expected 196; "
              "line skipped\n");
    EXPECT_NE(r.out.find("stats lines:\t3\n"), std::string::npos);
}

TEST_F(Driver, FailsCleanlyWithoutUsableInput) {
    const std::string head = "ruvoversion:\t200701101232\nstarttime:\t#\nfilename:\t";
    const struct {
        const char* what;
        const char* log;  // written as log.csv unless null
        std::string args;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"no argument", nullptr, "", 2, "", "usage: statsstats STATSLOG\n"},
        {"missing log", nullptr, "missing.csv", 1, head + "missing.csv\nreading stats log: \n",
         "statsstats: cannot open stats log 'missing.csv': No such file or directory\n"},
        {"log is a directory", nullptr, "bin", 1, head + "bin\nreading stats log: \n",
         "statsstats: cannot read stats log 'bin': Is a directory\n"},
        {"empty log", "", "log.csv", 1,
         head + "log.csv\nreading stats log: done\nstats lines:\t0\n",
         "statsstats: 'log.csv' has 0 data lines; at least 2 are needed\n"},
    };
    for (const auto& c : cases) {
        if (c.log != nullptr) writeFile("log.csv", c.log);
        const auto r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(withoutTimes(r.out), c.out) << c.what;
        EXPECT_EQ(r.err, c.err) << c.what;
        EXPECT_FALSE(hookRan()) << c.what;
    }
}

TEST_F(Driver, CountsRecordsThatAreInNoRow) {
    writeFile("log.csv", headerLine() + dataLine({{"channelcount", "2"}, {"channel", "1"}}) +
                             dataLine({{"channelcount", "2"}, {"channel", "2"}}) +
                             dataLine({{"channelcount", "2"}, {"channel", "-1"}}));
    const auto r = run("log.csv");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "statsstats: warning: 2 of 3 records of 'log.csv' are in no row of the table: their "
              "channel number is negative or not below the channel count of their scan rate\n");
}

// Whatever keeps the table from being written, the run says so, keeps what was there, leaves no
// temporary file, does not run the post-analysis, and still reports its times.
TEST_F(Driver, FailsCleanlyWhenTheTableCannotBeWritten) {
    const std::string twoRecords = logWithMeans({"1", "2"});
    const struct {
        const char* what;
        std::string log;
        bool tableIsDirectory;
        std::string setup;
        std::string error;
    } cases[] = {
        {"a directory in the way", twoRecords, true, "",
         "cannot rename 'statsstatslog.csv.*.tmp' to it: Is a directory"},
        {"a full disk", twoRecords, false, "ulimit -f 4; trap '' XFSZ;",
         "cannot write 'statsstatslog.csv.*.tmp': File too large"},
        {"a corrupt channel count",
         headerLine() + dataLine({{"channelcount", "2147483647"}}) +
             dataLine({{"channelcount", "2147483647"}}),
         false, "", ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir_ / "statsstatslog.csv");
        if (c.tableIsDirectory) {
            std::filesystem::create_directory(dir_ / "statsstatslog.csv");
        } else {
            writeFile("statsstatslog.csv", "old table\n");
        }
        writeFile("log.csv", c.log);
        const auto r = run("log.csv", withSetup(c.setup));
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_NE(r.out.find("elapsed minutes:\t"), std::string::npos) << c.what;
        EXPECT_TRUE(r.err.starts_with("statsstats: ")) << c.what << ": " << r.err;
        if (!c.error.empty()) {
            const std::string prefix =
                "statsstats: cannot write summary table 'statsstatslog.csv': ";
            const std::string expected = c.error.substr(0, c.error.find('*'));
            const std::string expectedEnd = c.error.substr(c.error.find('*') + 1);
            EXPECT_TRUE(r.err.starts_with(prefix + expected)) << c.what << ": " << r.err;
            EXPECT_TRUE(r.err.ends_with(expectedEnd + "\n")) << c.what << ": " << r.err;
        } else {
            EXPECT_EQ(r.err,
                      "statsstats: scan rate 0 has a channel count of 2147483647, more than "
                      "1000000: the log looks corrupt; no table written\n");
        }
        if (c.tableIsDirectory) {
            EXPECT_TRUE(std::filesystem::is_directory(dir_ / "statsstatslog.csv")) << c.what;
        } else {
            EXPECT_EQ(testing::readFile(dir_ / "statsstatslog.csv"), "old table\n") << c.what;
        }
        EXPECT_EQ(filesLeft(), (std::set<std::string>{"bin", "log.csv", "statsstatslog.csv"}))
            << c.what;
        EXPECT_FALSE(hookRan()) << c.what;
    }
}

TEST_F(Driver, OneRecordIsNotEnough) {
    writeFile("log.csv", logWithMeans({"1"}));
    const auto r = run("log.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("stats lines:\t1\n"), std::string::npos);
    EXPECT_EQ(r.out.find("first mean"), std::string::npos);
    EXPECT_EQ(r.err, "statsstats: 'log.csv' has 1 data line; at least 2 are needed\n");
    EXPECT_FALSE(hookRan());
}

}  // namespace
}  // namespace statsstats
