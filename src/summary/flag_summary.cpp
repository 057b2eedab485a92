#include "summary/flag_summary.hpp"

#include "summary/table_text.hpp"

namespace statsstats {

void writeFlagSummary(std::string& out, std::span<const std::uint32_t> group, const RowFlags& flags,
                      const SummaryRecordList& records) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < group.size(); ++i) {
        for (const auto& flag : flags) sum += static_cast<std::uint32_t>(flag[i]);
    }
    appendUnsigned(out, sum);
    out += ',';
    for (const auto& flag : flags) {
        appendTableText(out, latestFileWith(1, flag, group, records));
        out += ',';
    }
}

}  // namespace statsstats
