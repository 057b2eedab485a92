// The alarm-flag columns of a summary row.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "statslog/stats_record_list.hpp"

namespace statsstats {

// Appends the eight flag columns of the row whose records are `group` (log order), each
// followed by a comma: the sum of all seven flags of all its records (wrapping modulo 2^32,
// written unsigned, so -1 reads 4294967295), then for each flag the file name of the latest
// record whose flag is exactly 1, or "none".
void appendFlagSummary(std::string& out, std::span<const std::uint32_t> group,
                       const StatsRecordList& records);

}  // namespace statsstats
