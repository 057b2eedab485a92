#include "grouping/scan_rate_index.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "grouping/channel_groups.hpp"
#include "support/log_builder.hpp"

namespace statsstats {
namespace {

// Records with the given scan rate, channel count and channel, as parsed from a log.
SummaryRecordList recordsWith(std::initializer_list<std::array<const char*, 3>> rows) {
    SummaryRecordList records;
    for (const auto& [rate, count, channel] : rows) {
        testing::appendRecord(
            records,
            testing::dataLine({{"scanrate", rate}, {"channelcount", count}, {"channel", channel}}));
    }
    return records;
}

TEST(ScanRateIndex, ListsRatesInOrderOfFirstAppearanceWithTheFirstCount) {
    const SummaryRecordList records = recordsWith({{"51200", "16", "0"},
                                                   {"2048", "4", "0"},
                                                   {"51200.0", "99", "1"},  // same float
                                                   {"1000", "8", "0"},
                                                   {"2048", "5", "1"}});
    const ScanRateIndex index = buildScanRateIndex(records);
    EXPECT_EQ(index.scanRates, (std::vector<float>{51200, 2048, 1000}));
    EXPECT_EQ(index.channelCounts, (std::vector<std::int32_t>{16, 4, 8}));
    EXPECT_EQ(index.rateOfRecord, (std::vector<std::uint32_t>{0, 1, 0, 2, 1}));
}

TEST(ScanRateIndex, ComparesRatesExactlyAsFloats) {
    // 0 and -0 are one rate (kept as first written); one unit in the last place apart are two.
    const SummaryRecordList records = recordsWith(
        {{"-0", "1", "0"}, {"0", "1", "0"}, {"1000", "1", "0"}, {"1000.00006", "1", "0"}});
    const ScanRateIndex index = buildScanRateIndex(records);
    ASSERT_EQ(index.scanRates.size(), 3u);
    EXPECT_TRUE(std::signbit(index.scanRates[0]));
    EXPECT_EQ(index.scanRates[2], std::nextafter(1000.0f, 2000.0f));
    EXPECT_TRUE(buildScanRateIndex(SummaryRecordList()).scanRates.empty());
}

TEST(ChannelGroups, GroupsEachChannelInLogOrderAndCountsTheRest) {
    const SummaryRecordList records = recordsWith({{"1", "3", "2"},
                                                   {"1", "3", "0"},
                                                   {"1", "3", "3"},  // not below the count
                                                   {"1", "3", "2"},
                                                   {"1", "3", "-1"},
                                                   {"1", "3", "0"}});
    const ScanRateIndex index = buildScanRateIndex(records);
    const RecordsByRate byRate(index);
    ChannelGroups groups;
    groups.build(byRate.ofRate(0), records, 3);
    const auto list = [](std::span<const std::uint32_t> group) {
        return std::vector<std::uint32_t>(group.begin(), group.end());
    };
    EXPECT_EQ(list(groups.ofChannel(0)), (std::vector<std::uint32_t>{1, 5}));
    EXPECT_EQ(list(groups.ofChannel(1)), (std::vector<std::uint32_t>{}));
    EXPECT_EQ(list(groups.ofChannel(2)), (std::vector<std::uint32_t>{0, 3}));
    EXPECT_EQ(groups.ungrouped(), 2u);

    groups.build(byRate.ofRate(0), records, -4);  // a negative count groups nothing
    EXPECT_EQ(groups.ungrouped(), 6u);
}

}  // namespace
}  // namespace statsstats
