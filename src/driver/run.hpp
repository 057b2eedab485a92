// One run of statsstats: read the log, report on the console, write the summary table, then
// hand over to the site's post-analysis batch file.
#pragma once

#include <cstdio>
#include <span>

namespace statsstats {

// The build version printed first in every report.
inline constexpr const char* kVersionString = "200701101232";

// Runs the tool with the command-line arguments `args` (args[0] is the program name), writing
// the console report to `out` and messages to `err`. Returns the exit status: 0 success,
// 1 failure, 2 usage.
int runStatsstats(std::span<const char* const> args, std::FILE* out, std::FILE* err);

}  // namespace statsstats
