// Builds stats-log lines for tests: every column defaults to a fixed value, and a test names
// only the fields it cares about.
#pragma once

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "statslog/parse_line.hpp"
#include "statslog/stats_record.hpp"
#include "statslog/stats_record_list.hpp"

namespace statsstats::testing {

inline const std::vector<std::string>& columnNames() {
    static const std::vector<std::string> names = {
#define LOG_BUILDER_NAME(name) #name,
        STATSLOG_FIELDS(LOG_BUILDER_NAME, LOG_BUILDER_NAME, LOG_BUILDER_NAME, STATSLOG_IGNORE)
#undef LOG_BUILDER_NAME
    };
    return names;
}

inline std::string headerLine() {
    std::string line;
    for (const std::string& name : columnNames()) line += name + ",";
    line.back() = '\n';
    return line;
}

using Fields = std::vector<std::pair<std::string, std::string>>;

// One data line of 196 columns, with its line feed. Unnamed columns hold "0", or for the text
// columns their own name; named ones hold the given text verbatim.
inline std::string dataLine(const Fields& fields) {
    std::map<std::string, std::string> given;
    for (const auto& [name, value] : fields) given[name] = value;
    std::string line;
    std::size_t used = 0;
    auto column = [&](const std::string& name, const char* fallback) {
        const auto it = given.find(name);
        if (it != given.end()) ++used;
        line += it != given.end() ? it->second : std::string(fallback);
        line += ',';
    };
#define LOG_BUILDER_TEXT(name) column(#name, #name);
#define LOG_BUILDER_NUMBER(name) column(#name, "0");
    STATSLOG_FIELDS(LOG_BUILDER_TEXT, LOG_BUILDER_NUMBER, LOG_BUILDER_NUMBER, STATSLOG_IGNORE)
#undef LOG_BUILDER_TEXT
#undef LOG_BUILDER_NUMBER
    if (used != given.size()) throw std::invalid_argument("dataLine: unknown field name");
    line.back() = '\n';
    return line;
}

// Appends the record of a whole line (with its line feed), as the reader stores it.
template <class Record>
void appendRecord(RecordList<Record>& records, const std::string& line) {
    if (parseStatsLine(std::string_view(line).substr(0, line.size() - 1), records.spare()) !=
        kColumnCount) {
        throw std::invalid_argument("appendRecord: short line");
    }
    records.commitSpare();
}

// The records of whole lines, as the tool keeps them for its summary.
inline SummaryRecordList recordsOf(std::initializer_list<std::string> lines) {
    SummaryRecordList records;
    for (const std::string& line : lines) appendRecord(records, line);
    return records;
}

}  // namespace statsstats::testing
