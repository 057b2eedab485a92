// The part of a data line that the console report and the summary table read.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "statslog/packed_texts.hpp"
#include "statslog/stats_record.hpp"

namespace statsstats {

// The summarised fields, with the names and types they have in StatsRecord, in column order.
// The line parser fills exactly the number fields a record type declares.
struct SummaryNumbers {
    std::int32_t channelcount;
    float scanrate;
    std::int32_t channel;
    float cal;
    float scalefactor;
    float offset;
    float mean;
    float max;
    float min;
    float variance;
    float skew;
    float kurtosis;
    float damage;
    float psdpeakfreq;
    std::int32_t zerovarianceflag;
    std::int32_t emptyscaleflag;
    std::int32_t yellowlineflag;
    std::int32_t redlineflag;
    std::int32_t fullscaleflag;
    std::int32_t hplpvarianceflag;
    std::int32_t hplpmaxflag;
    float psd99pctfreq;
};

// A data line cut down to its 24 summarised fields; the other 173 never reach the output. A whole
// log is kept as these: a record of all fields is six times the size, and converting the 166
// numbers that nothing reads would take most of a run's time.
struct SummaryRecord : SummaryNumbers {
    static constexpr std::array<TextColumn, 2> kTextColumns = {TextColumn::filename,
                                                               TextColumn::channelname};

    // Every number zero, every text empty.
    SummaryRecord() : SummaryNumbers{} {}
    explicit SummaryRecord(ToBeFilled) {}

    std::string_view filename() const { return texts_[0]; }
    std::string_view channelname() const { return texts_[1]; }

    // Replaces both texts at once, in column order.
    void setTexts(const std::array<std::string_view, kTextColumns.size()>& texts) {
        texts_.assign(texts);
    }

  private:
    // Room for a file name with its folders and a channel name.
    PackedTexts<kTextColumns.size(), 48> texts_;
};

}  // namespace statsstats
