// Runs the real statsstats binary in a fresh temporary directory, with a stub post-analysis
// batch file on PATH that says it ran, leaves a marker and fails.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace statsstats::testing {

// Quotes `text` for /bin/sh.
inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RunOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

class TempRun : public ::testing::Test {
  protected:
    static constexpr const char* kHookOutput = "post-analysis ran\n";

    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("statsstats-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "bin");
        writeFile("bin/ruvo-postanalysis.bat",
                  "#!/bin/sh\nprintf 'post-analysis ran\\n'\ntouch hook-ran\nexit 3\n");
        std::filesystem::permissions(dir_ / "bin/ruvo-postanalysis.bat",
                                     std::filesystem::perms::owner_all);
    }
    void TearDown() override {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir_);
    }

    void writeFile(const std::string& name, const std::string& content) {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }

    struct RunOptions {
        bool hookOnPath = true;
        std::string setup;  // shell commands run first (limits, traps, cd)
        std::string stdinPath = "/dev/null";
        std::string stdoutPath;  // the captured .stdout unless given
    };
    static RunOptions withoutHook() {
        RunOptions options;
        options.hookOnPath = false;
        return options;
    }
    static RunOptions withSetup(std::string setup) {
        RunOptions options;
        options.setup = std::move(setup);
        return options;
    }
    static RunOptions withStdin(std::string path) {
        RunOptions options;
        options.stdinPath = std::move(path);
        return options;
    }
    static RunOptions withStdout(std::string path) {
        RunOptions options;
        options.stdoutPath = std::move(path);
        return options;
    }

    // Runs statsstats with `args` (already quoted for the shell) in the temporary directory.
    RunOutcome run(const std::string& args, const RunOptions& options) {
        const std::string path = options.hookOnPath
                                     ? shellQuote((dir_ / "bin").string()) + ":\"$PATH\""
                                     : std::string("\"$PATH\"");
        const std::string command =
            "cd " + shellQuote(dir_.string()) + " && " + options.setup + " PATH=" + path + " " +
            shellQuote(STATSSTATS_BINARY) + " " + args + " >" +
            shellQuote(options.stdoutPath.empty() ? (dir_ / ".stdout").string()
                                                  : options.stdoutPath) +
            " 2>" + shellQuote((dir_ / ".stderr").string()) + " <" + shellQuote(options.stdinPath);
        const int raw = std::system(command.c_str());
        RunOutcome outcome;
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.out = readFile(dir_ / ".stdout");
        outcome.err = readFile(dir_ / ".stderr");
        std::filesystem::remove(dir_ / ".stdout");
        std::filesystem::remove(dir_ / ".stderr");
        return outcome;
    }
    RunOutcome run(const std::string& args) { return run(args, RunOptions{}); }

    bool hookRan() const { return std::filesystem::exists(dir_ / "hook-ran"); }

    // The names in the run's directory, or in the folder `under` inside it, so that a test
    // sees any file left behind.
    std::set<std::string> filesLeft(const std::string& under = "") const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / under)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    std::filesystem::path dir_;
};

}  // namespace statsstats::testing
