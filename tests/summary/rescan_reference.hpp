// The summary table built the slow, obvious way: every row and every block rescans all records
// in log order, exactly as the table is defined. Only for comparison with the grouped builder.
#pragma once

#include <string>
#include <vector>

#include "statistics/descriptive_stats.hpp"
#include "statistics/trend_stats.hpp"
#include "statslog/stats_record_list.hpp"
#include "summary/real_format.hpp"
#include "summary/table_text.hpp"

namespace statsstats::testing {

inline std::string rescanSummaryRows(const std::string& logPath, const StatsRecordList& records) {
    std::vector<float> rates;
    std::vector<std::int32_t> counts;
    for (std::size_t i = 0; i < records.size(); ++i) {
        bool seen = false;
        for (const float rate : rates) seen = seen || rate == records[i].scanrate;
        if (!seen) {
            rates.push_back(records[i].scanrate);
            counts.push_back(records[i].channelcount);
        }
    }
    float StatsRecord::*const fields[] = {
        &StatsRecord::mean,     &StatsRecord::max,         &StatsRecord::min,
        &StatsRecord::variance, &StatsRecord::skew,        &StatsRecord::kurtosis,
        &StatsRecord::cal,      &StatsRecord::psdpeakfreq, &StatsRecord::scalefactor,
        &StatsRecord::offset,   &StatsRecord::damage,      &StatsRecord::psd99pctfreq};
    std::int32_t StatsRecord::*const flags[] = {
        &StatsRecord::zerovarianceflag, &StatsRecord::emptyscaleflag,
        &StatsRecord::yellowlineflag,   &StatsRecord::redlineflag,
        &StatsRecord::fullscaleflag,    &StatsRecord::hplpvarianceflag,
        &StatsRecord::hplpmaxflag};
    std::string out;
    const auto real = [&](double v) {
        appendReal(out, v);
        out += ',';
    };
    for (std::size_t k = 0; k < rates.size(); ++k) {
        for (std::int32_t c = 0; c < counts[k]; ++c) {
            const auto matches = [&](const StatsRecord& r) {
                return r.scanrate == rates[k] && r.channel == c;
            };
            for (std::size_t block = 0; block < 12; ++block) {
                if (block == 11) {
                    std::uint32_t sum = 0;
                    for (std::size_t i = 0; i < records.size(); ++i) {
                        for (const auto flag : flags) {
                            if (matches(records[i]))
                                sum += static_cast<std::uint32_t>(records[i].*flag);
                        }
                    }
                    out += std::to_string(sum) + ",";
                    for (const auto flag : flags) {
                        std::string file = "none";
                        for (std::size_t i = records.size(); i-- > 0;) {
                            if (matches(records[i]) && records[i].*flag == 1) {
                                file = records[i].filename();
                                break;
                            }
                        }
                        appendTableText(out, file);
                        out += ',';
                    }
                }
                std::vector<float> values;
                std::string name;
                for (std::size_t i = 0; i < records.size(); ++i) {
                    if (!matches(records[i])) continue;
                    values.push_back(records[i].*fields[block]);
                    name = records[i].channelname();
                }
                const DescriptiveStats s = computeDescriptiveStats(values);
                const TrendStats t = computeTrendStats(values);
                if (block == 0) {
                    appendTableText(out, logPath);
                    out += "," + std::to_string(values.size()) + ",";
                    real(rates[k]);
                    out += std::to_string(c) + ",";
                    appendTableText(out, name);
                    out += ',';
                }
                const auto extremeFile = [&](float x) {
                    std::string file = "none";
                    for (std::size_t i = 0; i < records.size(); ++i) {
                        if (matches(records[i]) && records[i].*fields[block] == x) {
                            file = records[i].filename();
                        }
                    }
                    appendTableText(out, file);
                    out += ',';
                };
                real(s.mean);
                real(s.maximum);
                extremeFile(s.maximum);
                real(s.minimum);
                extremeFile(s.minimum);
                real(s.variance);
                real(s.skew);
                real(s.kurtosis);
                real(t.yIntercept);
                real(t.beta);
                appendReal(out, t.correlation);
                out += block == 11 ? '\n' : ',';
            }
        }
    }
    return out;
}

}  // namespace statsstats::testing
