#include "statslog/stats_record.hpp"

namespace statsstats {

void StatsRecord::setTexts(const std::array<std::string_view, kTextColumnCount>& texts) {
    std::size_t total = 0;
    for (const std::string_view text : texts) total += text.size();
    texts_.clear();
    texts_.reserve(total);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts_.append(texts[i]);
        textEnds_[i] = static_cast<std::uint32_t>(texts_.size());
    }
}

}  // namespace statsstats
