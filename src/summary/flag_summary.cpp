#include "summary/flag_summary.hpp"

#include "summary/table_text.hpp"

namespace statsstats {
namespace {

constexpr std::int32_t StatsRecord::*kFlags[] = {
    &StatsRecord::zerovarianceflag, &StatsRecord::emptyscaleflag, &StatsRecord::yellowlineflag,
    &StatsRecord::redlineflag,      &StatsRecord::fullscaleflag,  &StatsRecord::hplpvarianceflag,
    &StatsRecord::hplpmaxflag,
};

}  // namespace

void appendFlagSummary(std::string& out, std::span<const std::uint32_t> group,
                       const StatsRecordList& records) {
    std::uint32_t sum = 0;
    for (const std::uint32_t i : group) {
        for (const auto flag : kFlags) sum += static_cast<std::uint32_t>(records[i].*flag);
    }
    appendUnsigned(out, sum);
    out += ',';
    for (const auto flag : kFlags) {
        std::string_view file = "none";
        for (auto i = group.rbegin(); i != group.rend(); ++i) {
            if (records[*i].*flag == 1) {
                file = records[*i].filename();
                break;
            }
        }
        appendTableText(out, file);
        out += ',';
    }
}

}  // namespace statsstats
