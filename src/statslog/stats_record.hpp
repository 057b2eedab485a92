// One data line of a stats log: the channel's identity, the per-file analysis results, the
// alarm flags and the further values the tool keeps but does not summarise.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "statslog/packed_texts.hpp"

namespace statsstats {

// The 197 fields of a record, in order: the 196 columns of a data line, each with the kind of
// its field (TEXT: bytes exactly as they stand; INT: 32-bit signed, saturating; REAL: single
// precision), plus channelcountminuscol3, which is DERIVED from two columns rather than read.
// Everything that walks the columns (the record layout, the line parser, the tests) expands
// this one list, so a column cannot be added in one place and missed in another.
// clang-format off
#define STATSLOG_FIELDS(TEXT, INT, REAL, DERIVED)                                                  \
    TEXT(filename) INT(channelcount) DERIVED(channelcountminuscol3) INT(col3) REAL(scanrate)      \
    TEXT(col5) INT(col6) INT(col7) REAL(col8) TEXT(col9) INT(col10) INT(col11) REAL(col12)       \
    INT(channel) REAL(cal) REAL(scalefactor) REAL(offset) TEXT(channelname)                      \
    REAL(mean) REAL(max) REAL(min) REAL(variance) REAL(skew) REAL(kurtosis)                      \
    REAL(col24) REAL(col25) REAL(col26) REAL(col27) REAL(col28) REAL(col29) REAL(col30)          \
    REAL(col31) REAL(col32) REAL(col33) REAL(col34) REAL(col35)                                  \
    INT(col36) INT(col37) REAL(damage)                                                           \
    REAL(col39) REAL(col40) REAL(col41) REAL(col42) REAL(col43) REAL(col44)                      \
    INT(col45) REAL(col46) REAL(col47) REAL(col48) REAL(col49) REAL(col50) REAL(col51)           \
    REAL(col52) REAL(col53) REAL(col54) REAL(col55) REAL(col56) REAL(col57) REAL(col58)          \
    INT(col59) REAL(col60) REAL(col61) REAL(col62) REAL(col63) REAL(col64) REAL(col65)           \
    REAL(col66) REAL(col67) REAL(col68) REAL(col69) REAL(col70) REAL(col71) REAL(col72)          \
    INT(col73) REAL(col74) REAL(col75) REAL(col76) REAL(col77) REAL(col78) REAL(col79)           \
    REAL(col80) REAL(col81) REAL(col82) REAL(col83) REAL(col84) REAL(col85) REAL(col86)          \
    INT(col87) REAL(col88) REAL(col89) REAL(col90) REAL(col91) REAL(col92) REAL(col93)           \
    REAL(col94) REAL(col95) REAL(col96) REAL(col97) REAL(col98) REAL(col99) REAL(col100)         \
    INT(col101) REAL(col102) REAL(col103) REAL(col104) REAL(col105) REAL(col106) REAL(col107)    \
    REAL(col108) REAL(col109) REAL(col110) REAL(col111) REAL(col112) REAL(col113) REAL(col114)   \
    INT(col115) REAL(col116) REAL(col117) REAL(col118) REAL(col119) REAL(col120) REAL(col121)    \
    REAL(col122) REAL(col123) REAL(col124) REAL(col125) REAL(col126) REAL(col127) REAL(col128)   \
    INT(col129) REAL(col130) REAL(col131) REAL(col132) REAL(col133) REAL(col134) REAL(col135)    \
    REAL(col136) REAL(col137) REAL(col138) REAL(col139) REAL(col140) REAL(col141) REAL(col142)   \
    INT(col143) REAL(col144) REAL(col145) REAL(col146) REAL(col147) REAL(col148) REAL(col149)    \
    REAL(col150) REAL(col151) REAL(col152) REAL(col153) REAL(col154) REAL(col155) REAL(col156)   \
    INT(col157) REAL(col158) REAL(col159) REAL(col160) REAL(col161) REAL(col162) REAL(col163)    \
    REAL(col164) REAL(col165) REAL(col166) REAL(col167) REAL(col168) REAL(col169) REAL(col170)   \
    REAL(psdpeakfreq) INT(col172) INT(col173) INT(col174) INT(col175) INT(col176)                \
    REAL(col177) REAL(col178) REAL(col179) REAL(col180) REAL(col181)                             \
    TEXT(col182) TEXT(col183) TEXT(col184) TEXT(col185)                                          \
    INT(zerovarianceflag) INT(emptyscaleflag) INT(yellowlineflag) INT(redlineflag)               \
    INT(fullscaleflag) INT(hplpvarianceflag) INT(hplpmaxflag)                                    \
    REAL(psd99pctfreq) REAL(col194) REAL(col195) REAL(col196)
// clang-format on

#define STATSLOG_IGNORE(name)
#define STATSLOG_COUNT_ONE(name) +1

inline constexpr int kColumnCount =
    0 STATSLOG_FIELDS(STATSLOG_COUNT_ONE, STATSLOG_COUNT_ONE, STATSLOG_COUNT_ONE, STATSLOG_IGNORE);
inline constexpr int kTextColumnCount =
    0 STATSLOG_FIELDS(STATSLOG_COUNT_ONE, STATSLOG_IGNORE, STATSLOG_IGNORE, STATSLOG_IGNORE);
inline constexpr int kRealColumnCount =
    0 STATSLOG_FIELDS(STATSLOG_IGNORE, STATSLOG_IGNORE, STATSLOG_COUNT_ONE, STATSLOG_IGNORE);
static_assert(kColumnCount == 196 && kTextColumnCount == 8);

// The text columns, numbered in column order.
enum class TextColumn : std::uint8_t {
#define STATSLOG_TEXT_ENUMERATOR(name) name,
    STATSLOG_FIELDS(STATSLOG_TEXT_ENUMERATOR, STATSLOG_IGNORE, STATSLOG_IGNORE, STATSLOG_IGNORE)
#undef STATSLOG_TEXT_ENUMERATOR
};

// The numeric fields on their own, without initial values.
struct StatsNumbers {
#define STATSLOG_INT_MEMBER(name) std::int32_t name;
#define STATSLOG_REAL_MEMBER(name) float name;
    STATSLOG_FIELDS(STATSLOG_IGNORE, STATSLOG_INT_MEMBER, STATSLOG_REAL_MEMBER, STATSLOG_INT_MEMBER)
#undef STATSLOG_INT_MEMBER
#undef STATSLOG_REAL_MEMBER
};

// A plain value that owns its texts: every field of a data line. The numeric fields are named
// members; the eight texts are kept back to back (see PackedTexts).
struct StatsRecord : StatsNumbers {
    // The text columns it keeps, in column order: all of them.
    static constexpr std::array<TextColumn, kTextColumnCount> kTextColumns = [] {
        std::array<TextColumn, kTextColumnCount> columns{};
        for (std::size_t i = 0; i < columns.size(); ++i) columns[i] = static_cast<TextColumn>(i);
        return columns;
    }();

    // Every number zero, every text empty.
    StatsRecord() : StatsNumbers{} {}
    explicit StatsRecord(ToBeFilled) {}

    std::string_view text(TextColumn column) const {
        return texts_[static_cast<std::size_t>(column)];
    }
    std::string_view filename() const { return text(TextColumn::filename); }
    std::string_view channelname() const { return text(TextColumn::channelname); }

    // Replaces all eight texts at once, in column order.
    void setTexts(const std::array<std::string_view, kTextColumnCount>& texts) {
        texts_.assign(texts);
    }

  private:
    PackedTexts<kTextColumnCount, 64> texts_;
};

}  // namespace statsstats
