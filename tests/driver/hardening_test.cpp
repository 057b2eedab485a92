// The real binary against hostile input, odd paths, failing disks, difficult post-analysis
// batch files and interruptions: it must end with a clear message and the documented status,
// and leave no half-written table behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "support/log_builder.hpp"
#include "support/temp_run.hpp"

namespace statsstats {
namespace {

using testing::dataLine;
using testing::headerLine;
using testing::readFile;

std::string lines(std::size_t count, const testing::Fields& fields) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += dataLine(fields);
    return text;
}

class Hardening : public testing::TempRun {};

// Whatever the log holds, the run ends by itself with status 0 or 1, says on stderr what went
// wrong, and writes a table only when it succeeds.
TEST_F(Hardening, HostileLogs) {
    const std::string twoGood = lines(2, {{"channelcount", "2"}});
    std::string garbage;
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 7919 + i / 13) % 256);
    std::string distinctRates = headerLine();
    for (int i = 0; i < 100000; ++i) {
        distinctRates += dataLine(
            {{"scanrate", std::to_string(1000 + i)}, {"channelcount", i == 0 ? "1" : "0"}});
    }
    const struct {
        const char* what;
        std::string log;
        int status;
        std::string errorPart;  // must appear on stderr ("" for none at all)
    } cases[] = {
        {"empty", "", 1, "has 0 data lines"},
        {"only a header", headerLine(), 1, "has 0 data lines"},
        {"binary garbage with NUL bytes", garbage, 1, "has 0 data lines"},
        {"a single 100 MB line without a line feed", std::string(100 << 20, 'x'), 1,
         "has 0 data lines"},
        {"a 100 MB data line without a line feed",
         headerLine() + twoGood + std::string(100 << 20, '7'), 0, "line 4 has 1 columns"},
        {"only commas",
         headerLine() + std::string(2000, ',') + "\n" + std::string(195, ',') + "\n" +
             std::string(195, ','),
         0, "3 of 3 records of 'log.csv' are in no row"},
        {"lines of 10,000 columns",
         headerLine() + lines(3, {{"channelcount", "1"}, {"col196", std::string(10000, ',')}}), 0,
         ""},
        {"text columns of a megabyte",
         headerLine() + lines(2, {{"filename", std::string(1 << 20, 'f')},
                                  {"channelname", std::string(1 << 20, 'c')},
                                  {"channelcount", "1"}}),
         0, ""},
        {"CRLF line ends",
         headerLine() + "\r\n" + dataLine({{"channelcount", "1"}}) + "\r\n" +
             dataLine({{"channelcount", "1"}}),
         0, ""},
        {"lone CR line ends",
         headerLine().substr(0, headerLine().size() - 1) + "\r" + dataLine({}).substr(1) + "\r", 1,
         "has 0 data lines"},
        {"100,000 distinct scan rates", distinctRates, 0,
         "99999 of 100000 records of 'log.csv' are in no row"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir_ / "statsstatslog.csv");
        writeFile("log.csv", c.log);
        const auto r = run("log.csv");
        EXPECT_EQ(r.status, c.status) << c.what;
        if (c.errorPart.empty()) {
            EXPECT_EQ(r.err, "") << c.what;
        } else {
            EXPECT_TRUE(r.err.starts_with("statsstats: "))
                << c.what << ": " << r.err.substr(0, 200);
            EXPECT_NE(r.err.find(c.errorPart), std::string::npos)
                << c.what << ": " << r.err.substr(0, 200);
        }
        EXPECT_EQ(std::filesystem::exists(dir_ / "statsstatslog.csv"), c.status == 0) << c.what;
        EXPECT_EQ(hookRan(), c.status == 0) << c.what;
        std::filesystem::remove(dir_ / "hook-ran");
    }
}

TEST_F(Hardening, LogsThatAreNotFiles) {
    // A pipe is read like a file (process substitution hands over a pipe).
    const std::string fifo = (dir_ / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    writeFile("log.csv", headerLine() + lines(2, {{"channelcount", "1"}}));
    std::thread writer([&] {
        std::system(("cat '" + (dir_ / "log.csv").string() + "' > '" + fifo + "'").c_str());
    });
    const auto piped = run("fifo");
    writer.join();
    EXPECT_EQ(piped.status, 0) << piped.err;
    std::filesystem::remove(dir_ / "hook-ran");

    const struct {
        const char* what;
        std::string path;
        std::string error;
    } cases[] = {
        {"missing", "missing.csv",
         "statsstats: cannot open stats log 'missing.csv': No such file or directory\n"},
        {"a directory", "bin", "statsstats: cannot read stats log 'bin': Is a directory\n"},
        {"a device that never ends", "/dev/zero",
         "statsstats: cannot read stats log '/dev/zero': it is a device or socket, not a file "
         "or pipe\n"},
        {"a name too long for the system", std::string(300, 'n') + ".csv",
         "statsstats: cannot open stats log '" + std::string(300, 'n') +
             ".csv': File name too long\n"},
    };
    for (const auto& c : cases) {
        const auto r = run(testing::shellQuote(c.path));
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_EQ(r.err, c.error) << c.what;
        EXPECT_FALSE(hookRan()) << c.what;
    }
}

TEST_F(Hardening, UnreadableLog) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from reading";
    writeFile("log.csv", headerLine() + lines(2, {}));
    std::filesystem::permissions(dir_ / "log.csv", std::filesystem::perms::none);
    const auto r = run("log.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "statsstats: cannot open stats log 'log.csv': Permission denied\n");
    EXPECT_FALSE(hookRan());
}

// The path is printed as received and written into the table's first column, quoted only
// where a comma would otherwise split it.
TEST_F(Hardening, OddPaths) {
    const struct {
        const char* what;
        std::string name;
        std::string column;
    } cases[] = {
        {"blanks", "my stats log.csv", "my stats log.csv"},
        {"a comma", "site,2.csv", "\"site,2.csv\""},
        {"quotes", "the \"best\" log.csv", "the \"best\" log.csv"},
        {"a comma and quotes", "a,\"b\".csv", "\"a,\"\"b\"\".csv\""},
        {"a leading dash", "-log.csv", "-log.csv"},
        {"bytes that are not UTF-8", "log\xff\xfe.csv", "log\xff\xfe.csv"},
    };
    for (const auto& c : cases) {
        writeFile(c.name, headerLine() + lines(2, {{"channelcount", "1"}}));
        const auto r = run(testing::shellQuote(c.name));
        EXPECT_EQ(r.status, 0) << c.what << ": " << r.err;
        EXPECT_NE(r.out.find("filename:\t" + c.name + "\n"), std::string::npos) << c.what;
        const std::string table = readFile(dir_ / "statsstatslog.csv");
        EXPECT_NE(table.find("\n" + c.column + ",2,0,0,"), std::string::npos) << c.what;
        std::filesystem::remove(dir_ / c.name);
    }
}

// A working directory in which nothing can be created: the run fails cleanly.
TEST_F(Hardening, NowhereToWriteTheTable) {
    writeFile("log.csv", headerLine() + lines(2, {}));
    std::filesystem::create_directory(dir_ / "gone");
    const auto r = run("../log.csv", withSetup("cd gone && rmdir ../gone &&"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(
        r.err.starts_with("statsstats: cannot write summary table 'statsstatslog.csv': "
                          "cannot create its temporary file"))
        << r.err;
    EXPECT_FALSE(hookRan());
}

TEST_F(Hardening, ConsoleReportThatCannotBeWritten) {
    writeFile("log.csv", headerLine() + lines(2, {{"channelcount", "1"}}));
    const auto r = run("log.csv", withStdout("/dev/full"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "statsstats: cannot write the console report to standard output\n");
    EXPECT_FALSE(hookRan());
}

TEST_F(Hardening, DifficultPostAnalysis) {
    writeFile("log.csv", headerLine() + lines(2, {{"channelcount", "1"}}));
    const struct {
        const char* what;
        std::string script;
        std::string stdinText;
        std::size_t minimumOutput;
    } cases[] = {
        {"printing a lot", "head -c 5000000 /dev/zero | tr '\\0' x\n", "", 5000000},
        {"reading stdin", "cat\n", "typed by an operator\n", 0},
        {"failing", "exit 7\n", "", 0},
    };
    for (const auto& c : cases) {
        writeFile("bin/ruvo-postanalysis.bat", "#!/bin/sh\n" + c.script);
        writeFile("input", c.stdinText);
        const auto r = run("log.csv", withStdin((dir_ / "input").string()));
        EXPECT_EQ(r.status, 0) << c.what;
        EXPECT_GE(r.out.size(), c.minimumOutput) << c.what;
        EXPECT_NE(r.out.find("elapsed minutes:\t"), std::string::npos) << c.what;
        if (!c.stdinText.empty()) {
            EXPECT_TRUE(r.out.ends_with(c.stdinText)) << c.what;
        }
    }
}

// Starts statsstats on log.csv in `dir` with its output discarded, optionally with SIGINT
// ignored as a shell does for a background job, and returns its process id.
pid_t startInBackground(const std::filesystem::path& dir, bool ignoreInterrupt) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    if (ignoreInterrupt) ::signal(SIGINT, SIG_IGN);
    if (::chdir(dir.c_str()) != 0) _exit(100);
    const int sink = ::open("/dev/null", O_WRONLY);
    ::dup2(sink, 1);
    ::dup2(sink, 2);
    ::execl(STATSSTATS_BINARY, STATSSTATS_BINARY, "log.csv", static_cast<char*>(nullptr));
    _exit(101);
}

// Waits until the table's temporary file exists, that is, until the table is being written.
bool waitForTheTableWrite(const std::filesystem::path& dir) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".tmp") return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Starts a run on log.csv in `dir`, sends it `signal` once it is writing the table, and waits
// for it to end.
void signalDuringTheTableWrite(const std::filesystem::path& dir, int signal, bool ignoreInterrupt,
                               int& status) {
    const pid_t child = startInBackground(dir, ignoreInterrupt);
    ASSERT_GE(child, 0);
    ASSERT_TRUE(waitForTheTableWrite(dir)) << "the table write never started";
    ::kill(child, signal);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
}

// SIGINT or SIGTERM while the table is written: the process ends by that signal, the previous
// table is intact and no temporary file is left.
TEST_F(Hardening, InterruptedWhileWritingTheTable) {
    // One record claiming 400,000 channels makes a table of some 250 MB, which takes long
    // enough to write that the signal arrives during it.
    writeFile("log.csv", headerLine() + lines(2, {{"channelcount", "400000"}}));
    for (const int signal : {SIGINT, SIGTERM}) {
        writeFile("statsstatslog.csv", "old table\n");
        int status = 0;
        ASSERT_NO_FATAL_FAILURE(signalDuringTheTableWrite(dir_, signal, false, status));
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_EQ(readFile(dir_ / "statsstatslog.csv"), "old table\n");
        EXPECT_EQ(filesLeft(), (std::set<std::string>{"bin", "log.csv", "statsstatslog.csv"}));
        EXPECT_FALSE(hookRan());
    }
}

// A run started with SIGINT ignored (a background job, nohup) keeps ignoring it: the table is
// finished and the run ends as usual.
TEST_F(Hardening, IgnoredInterruptStaysIgnored) {
    writeFile("log.csv", headerLine() + lines(2, {{"channelcount", "400000"}}));
    int status = 0;
    ASSERT_NO_FATAL_FAILURE(signalDuringTheTableWrite(dir_, SIGINT, true, status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    // Success means the table was completed and put in place.
    EXPECT_EQ(filesLeft(), (std::set<std::string>{"bin", "log.csv", "statsstatslog.csv"}));
}

}  // namespace
}  // namespace statsstats
