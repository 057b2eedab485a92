#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "summarise_bytes.hpp"
#include "support/temp_run.hpp"

namespace statsstats {
namespace {

// Each file in tests/fixtures/fuzz is an input that once made the summary fail, or was written
// by hand to reach its edges; with the seeds, they must all pass through the reader and the
// summary cleanly.
TEST(FuzzRegression, EveryFoundInputAndSeedPassesCleanly) {
    const std::filesystem::path root = STATSSTATS_SOURCE_DIR;
    std::vector<std::filesystem::path> files = {root / "examples/statslog.csv",
                                                root / "tests/fixtures/summary_log.csv"};
    for (const auto& entry : std::filesystem::directory_iterator(root / "tests/fixtures/fuzz")) {
        files.push_back(entry.path());
    }
    for (const auto& file : files) {
        const std::string bytes = testing::readFile(file);
        SCOPED_TRACE(file.string());
        fuzz::summariseBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

}  // namespace
}  // namespace statsstats
