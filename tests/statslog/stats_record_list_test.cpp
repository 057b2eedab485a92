#include "statslog/stats_record_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace statsstats {
namespace {

// Every fourth record has texts too long to be kept inside it.
std::string filenameOf(std::size_t i) {
    return i % 4 == 0 ? "run" + std::to_string(i) + std::string(80, 'x')
                      : "run" + std::to_string(i);
}

void append(StatsRecordList& records, std::size_t i) {
    StatsRecord& record = records.spare();
    record.channel = static_cast<std::int32_t>(i);
    record.mean = static_cast<float>(i) * 0.5f;
    const std::string filename = filenameOf(i);
    record.setTexts({filename, "", "", "", "", "", "", ""});
    records.commitSpare();
}

void expectRecords(const StatsRecordList& records, std::size_t count) {
    ASSERT_EQ(records.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(records[i].channel, static_cast<std::int32_t>(i)) << "record " << i;
        ASSERT_EQ(records[i].mean, static_cast<float>(i) * 0.5f) << "record " << i;
        ASSERT_EQ(records[i].filename(), filenameOf(i)) << "record " << i;
    }
}

// Records are kept in chunks whose size is not a power of two: a log several chunks long must
// come back whole, in order, each record where it was first stored.
TEST(StatsRecordList, KeepsRecordsInPlaceAcrossChunks) {
    constexpr std::size_t kCount = 10000;  // four chunks and a part of a fifth
    StatsRecordList records;
    std::vector<const StatsRecord*> places;
    for (std::size_t i = 0; i < kCount; ++i) {
        append(records, i);
        places.push_back(&records[i]);
    }
    expectRecords(records, kCount);
    for (std::size_t i = 0; i < kCount; ++i) ASSERT_EQ(&records[i], places[i]) << "record " << i;

    // A spare slot that was filled but not committed is no record, and is cleaned up.
    records.spare().setTexts({std::string(100, 'y'), "", "", "", "", "", "", ""});
    EXPECT_EQ(records.size(), kCount);

    StatsRecordList moved(std::move(records));
    EXPECT_TRUE(records.empty());
    expectRecords(moved, kCount);
    EXPECT_EQ(&moved[kCount - 1], places.back());

    records = std::move(moved);
    expectRecords(records, kCount);
    append(records, kCount);  // the spare left behind is reused
    expectRecords(records, kCount + 1);
}

}  // namespace
}  // namespace statsstats
