#include "statslog/read_stats_log.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/log_builder.hpp"
#include "support/reader_feed.hpp"

namespace statsstats {
namespace {

using testing::dataLine;
using testing::headerLine;

struct ReadResult {
    std::vector<std::string> filenames;
    std::vector<float> means;
    std::vector<std::string> warnings;  // "line:columns"
};

// Feeds `log` to the reader in blocks of `blockSize` bytes, as a file read would.
ReadResult readInBlocks(const std::string& log, std::size_t blockSize) {
    ReadResult result;
    StatsRecordList records;
    StatsLogReader reader(records, [&](const ShortLine& s) {
        result.warnings.push_back(std::to_string(s.lineNumber) + ":" + std::to_string(s.columns));
    });
    EXPECT_TRUE(testing::feedInBlocks(reader, log, blockSize));
    for (std::size_t i = 0; i < records.size(); ++i) {
        result.filenames.emplace_back(records[i].filename());
        result.means.push_back(records[i].mean);
    }
    return result;
}

std::string line(const char* file, const char* mean) {
    return dataLine({{"filename", file}, {"mean", mean}});
}

std::string withoutLastLineFeed(std::string text) {
    text.pop_back();
    return text;
}

std::string withCrlf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

TEST(StatsLogReader, ReadsEveryDataLineWhateverTheBlockSizeAndLineEnds) {
    const std::string log = headerLine() + line("a", "1") + line("b", "2") + line("c", "3");
    const struct {
        const char* what;
        std::string log;
    } variants[] = {
        {"LF", log},
        {"CRLF", withCrlf(log)},
        {"no final line feed", withoutLastLineFeed(log)},
        {"CRLF, no final line feed", withoutLastLineFeed(withCrlf(log))},
        {"trailing blank lines", log + "\n\r\n\n"},
    };
    for (const auto& v : variants) {
        for (std::size_t block :
             {std::size_t{1}, std::size_t{7}, std::size_t{1000}, v.log.size()}) {
            const ReadResult r = readInBlocks(v.log, block);
            EXPECT_EQ(r.filenames, (std::vector<std::string>{"a", "b", "c"}))
                << v.what << ", blocks of " << block;
            EXPECT_EQ(r.means, (std::vector<float>{1, 2, 3})) << v.what << ", blocks of " << block;
            EXPECT_TRUE(r.warnings.empty()) << v.what;
        }
    }
}

TEST(StatsLogReader, SkipsAShortLineWithoutSwallowingTheNextOne) {
    const std::string log = headerLine() + line("a", "1") + "a.dat,16,4\n" + line("b", "2") + "\n" +
                            "\r\n" + "   \n" + line("c", "3") + "cut,short";
    const ReadResult r = readInBlocks(log, 64);
    EXPECT_EQ(r.filenames, (std::vector<std::string>{"a", "b", "c"}));
    // Blank lines (lines 5 and 6) pass silently; a line of blanks does not.
    EXPECT_EQ(r.warnings, (std::vector<std::string>{"3:3", "7:1", "9:2"}));
}

TEST(StatsLogReader, HeaderAloneOrNothingGivesNoRecords) {
    for (const std::string& log :
         {std::string(), std::string("filename,channelcount"), headerLine(), headerLine() + "\n"}) {
        const ReadResult r = readInBlocks(log, 5);
        EXPECT_TRUE(r.filenames.empty()) << "log: " << log.substr(0, 30);
        EXPECT_TRUE(r.warnings.empty());
    }
}

// The header is never looked at, so however long it is, the reader does not hold it.
TEST(StatsLogReader, DropsTheHeaderInsteadOfBufferingIt) {
    StatsRecordList records;
    StatsLogReader reader(records, nullptr);
    const std::size_t initialRoom = reader.space().size();
    for (int block = 0; block < 10; ++block) {
        const std::span<char> space = reader.space();
        ASSERT_EQ(space.size(), initialRoom) << "block " << block;
        std::memset(space.data(), 'h', space.size());
        reader.commit(space.size());
    }
    const std::string rest = "\n" + line("a", "1") + line("b", "2");
    std::memcpy(reader.space().data(), rest.data(), rest.size());
    reader.commit(rest.size());
    reader.finish();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].filename(), "b");
}

TEST(StatsLogReader, HeaderMayHoldAnything) {
    const ReadResult r = readInBlocks("a,b,c,,,\x01\xff\r\n" + line("a", "1"), 3);
    EXPECT_EQ(r.filenames, (std::vector<std::string>{"a"}));
}

TEST(StatsLogReader, KeepsIdenticalLinesAndLogOrder) {
    const ReadResult r =
        readInBlocks(headerLine() + line("z", "1") + line("z", "1") + line("a", "5"), 100);
    EXPECT_EQ(r.filenames, (std::vector<std::string>{"z", "z", "a"}));
}

TEST(StatsLogReader, ReadsLinesLongerThanItsBuffer) {
    const std::string longName(3 << 20, 'x');
    const ReadResult r = readInBlocks(headerLine() + line(longName.c_str(), "7") + line("b", "8"),
                                      std::size_t{1} << 20);
    ASSERT_EQ(r.filenames.size(), 2u);
    EXPECT_EQ(r.filenames[0], longName);
    EXPECT_EQ(r.means, (std::vector<float>{7, 8}));
}

class ReadStatsLogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("statsstats-reader-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& content) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string errorOf(const std::string& path) {
        try {
            readStatsLog(path, nullptr);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "no error";
    }

    std::filesystem::path dir_;
};

TEST_F(ReadStatsLogFile, ReadsAFile) {
    const std::string path = write("log.csv", headerLine() + line("a", "1.5") + line("b", "2"));
    const StatsRecordList records = readStatsLog(path, nullptr);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].filename(), "b");
    EXPECT_EQ(records[0].mean, 1.5f);
}

TEST_F(ReadStatsLogFile, NamesThePathAndTheReasonWhenItCannotRead) {
    const std::string missing = (dir_ / "missing.csv").string();
    EXPECT_EQ(errorOf(missing),
              "cannot open stats log '" + missing + "': No such file or directory");
    EXPECT_EQ(errorOf(dir_.string()),
              "cannot read stats log '" + dir_.string() + "': Is a directory");
}

}  // namespace
}  // namespace statsstats
