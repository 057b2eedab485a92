// The alarm-flag columns of a summary row.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "statslog/stats_record_list.hpp"

namespace statsstats {

// The seven flags, in the order of their columns.
inline constexpr std::array<std::int32_t SummaryRecord::*, 7> kFlagFields = {
    &SummaryRecord::zerovarianceflag, &SummaryRecord::emptyscaleflag,
    &SummaryRecord::yellowlineflag,   &SummaryRecord::redlineflag,
    &SummaryRecord::fullscaleflag,    &SummaryRecord::hplpvarianceflag,
    &SummaryRecord::hplpmaxflag,
};

// The flags of one row's records, one list per flag, each in log order.
using RowFlags = std::array<std::span<const std::int32_t>, kFlagFields.size()>;

// The file of the latest record of a row whose value in `values` (one per record of `group`,
// log order) is exactly `wanted`, or "none": the file named for an extreme or a raised flag.
template <class T>
std::string_view latestFileWith(T wanted, std::span<const T> values,
                                std::span<const std::uint32_t> group,
                                const SummaryRecordList& records) {
    for (std::size_t j = values.size(); j-- > 0;) {
        if (values[j] == wanted) return records[group[j]].filename();
    }
    return "none";
}

// Writes the eight flag columns of the row whose records are `group` (log order) with flags
// `flags`, each column followed by a comma: the sum of all seven flags of all its records
// (wrapping modulo 2^32, written unsigned, so -1 reads 4294967295), then for each flag the file
// name of the latest record whose flag is exactly 1, or "none".
void writeFlagSummary(std::string& out, std::span<const std::uint32_t> group, const RowFlags& flags,
                      const SummaryRecordList& records);

}  // namespace statsstats
