#include "statslog/stats_record.hpp"

#include <cstring>

namespace statsstats {

char* StatsRecord::textStorage(std::size_t total) {
    if (total <= kInlineTextBytes) {
        longTexts_.reset();
        return inlineTexts_;
    }
    longTexts_ = std::make_unique_for_overwrite<char[]>(total);
    return longTexts_.get();
}

void StatsRecord::setTexts(const std::array<std::string_view, kTextColumnCount>& texts) {
    std::size_t total = 0;
    for (const std::string_view text : texts) total += text.size();
    char* const out = textStorage(total);
    std::size_t end = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i].empty()) std::memcpy(out + end, texts[i].data(), texts[i].size());
        end += texts[i].size();
        textEnds_[i] = static_cast<std::uint32_t>(end);
    }
}

void StatsRecord::copyTextsFrom(const StatsRecord& other) {
    const std::size_t total = other.textEnds_.back();
    char* const out = textStorage(total);
    if (total > 0) std::memcpy(out, other.texts(), total);
    textEnds_ = other.textEnds_;
}

}  // namespace statsstats
