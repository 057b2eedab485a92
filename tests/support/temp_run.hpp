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

    // Runs statsstats with `args` (already quoted for the shell) in the temporary directory,
    // after the shell commands `setup` (limits, traps).
    RunOutcome run(const std::string& args, bool hookOnPath = true, const std::string& setup = "") {
        const std::string path = hookOnPath ? shellQuote((dir_ / "bin").string()) + ":\"$PATH\""
                                            : std::string("\"$PATH\"");
        const std::string command = "cd " + shellQuote(dir_.string()) + " && " + setup +
                                    " PATH=" + path + " " + shellQuote(STATSSTATS_BINARY) + " " +
                                    args + " >.stdout 2>.stderr </dev/null";
        const int raw = std::system(command.c_str());
        RunOutcome outcome;
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.out = readFile(dir_ / ".stdout");
        outcome.err = readFile(dir_ / ".stderr");
        std::filesystem::remove(dir_ / ".stdout");
        std::filesystem::remove(dir_ / ".stderr");
        return outcome;
    }

    bool hookRan() const { return std::filesystem::exists(dir_ / "hook-ran"); }

    // The names in the temporary directory, so that a test sees any file left behind.
    std::set<std::string> filesLeft() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    std::filesystem::path dir_;
};

}  // namespace statsstats::testing
