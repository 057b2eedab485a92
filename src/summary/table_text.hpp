// How texts and counts are written into the summary table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace statsstats {

// Appends `text` as it stands, unless it holds a comma, a carriage return or a line feed, which
// would shift every later column of its row: then it is enclosed in double quotes, with each
// double quote inside doubled, as spreadsheets and CSV readers expect.
void appendTableText(std::string& out, std::string_view text);

// Appends `value` in plain decimal.
void appendUnsigned(std::string& out, std::uint64_t value);

}  // namespace statsstats
