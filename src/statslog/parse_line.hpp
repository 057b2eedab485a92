// Splitting one data line of a stats log into its 196 columns.
#pragma once

#include <cstddef>
#include <string_view>

#include "statslog/stats_record.hpp"

namespace statsstats {

// Parses one data line, given without its line feed (a carriage return before it may stay: it
// ends up in the last column, a number, where it is ignored). Columns 1 to 195 each end at a
// comma; column 196 takes the rest of the line, commas included, and only its numeric prefix
// counts.
//
// Returns the number of columns the line has, counting no further than 196. The record is
// complete only when that is 196; after a shorter line its numeric fields are partly
// overwritten and it must not be used (the reader parses into a spare slot for that reason,
// so that the leftovers of a short line never pass as data). Its texts are set only by a
// complete line.
std::size_t parseStatsLine(std::string_view line, StatsRecord& record);

}  // namespace statsstats
