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
        std::string_view file = "none";
        for (std::size_t i = group.size(); i-- > 0;) {
            if (flag[i] == 1) {
                file = records[group[i]].filename();
                break;
            }
        }
        appendTableText(out, file);
        out += ',';
    }
}

}  // namespace statsstats
