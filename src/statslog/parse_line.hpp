// Splitting one data line of a stats log into its 196 columns.
#pragma once

#include <cstddef>
#include <string_view>

#include "statslog/stats_record.hpp"
#include "statslog/summary_record.hpp"

namespace statsstats {

// Parses one data line, given without its line feed (a carriage return before it may stay: it
// ends up in the last column, a number, where it is ignored). Columns 1 to 195 each end at a
// comma; column 196 takes the rest of the line, commas included, and only its numeric prefix
// counts.
//
// Returns the number of columns the line has, counting no further than 196. Only when that is
// 196 is `record` filled, every field it has: all of them in a StatsRecord, the summarised
// ones in a SummaryRecord, which spares the conversion of the others. A shorter line leaves it
// untouched, so that the leftovers of another line can never pass as data.
template <class Record>
std::size_t parseStatsLine(std::string_view line, Record& record);

}  // namespace statsstats
