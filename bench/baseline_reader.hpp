// The reader an engineer would write in an afternoon: std::getline per line, split at commas,
// strtol and strtod per column, one std::string per text. Kept as the yardstick for the real
// reader; it is not used by the tool.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "statslog/stats_record.hpp"

namespace statsstats::bench {

struct BaselineRecord {
    std::array<std::string, kTextColumnCount> texts;
    std::array<std::int32_t, 31> ints{};
    std::array<float, 158> reals{};
};

inline std::vector<BaselineRecord> readWithGetline(const std::string& path) {
    // The kind of each column, from the same list the tool uses.
    static const std::string kinds = {
#define BASELINE_TEXT(name) 'T',
#define BASELINE_INT(name) 'I',
#define BASELINE_REAL(name) 'R',
        STATSLOG_FIELDS(BASELINE_TEXT, BASELINE_INT, BASELINE_REAL, STATSLOG_IGNORE)
#undef BASELINE_TEXT
#undef BASELINE_INT
#undef BASELINE_REAL
    };
    std::vector<BaselineRecord> records;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        BaselineRecord record;
        std::size_t start = 0;
        std::size_t text = 0, integer = 0, real = 0;
        for (std::size_t column = 0; column < kinds.size() && start <= line.size(); ++column) {
            std::size_t comma = line.find(',', start);
            if (comma == std::string::npos || column + 1 == kinds.size()) comma = line.size();
            const char* field = line.c_str() + start;
            switch (kinds[column]) {
                case 'T':
                    record.texts[text++] = line.substr(start, comma - start);
                    break;
                case 'I':
                    record.ints[integer++] =
                        static_cast<std::int32_t>(std::strtol(field, nullptr, 10));
                    break;
                default:
                    record.reals[real++] = static_cast<float>(std::strtod(field, nullptr));
                    break;
            }
            start = comma + 1;
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace statsstats::bench
