#include "statslog/parse_line.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "statslog/column_conversion.hpp"
#include "support/log_builder.hpp"
#include "support/reader_feed.hpp"

namespace statsstats {
namespace {

// A line whose column n holds "n.75": an int column reads n, a real one n.75, a text "n.75".
std::string numberedLine(std::size_t columns = kColumnCount) {
    std::string line;
    for (std::size_t n = 1; n <= columns; ++n) line += std::to_string(n) + ".75,";
    line.pop_back();
    return line;
}

TEST(ParseStatsLine, PutsEachColumnIntoItsField) {
    StatsRecord r;
    ASSERT_EQ(parseStatsLine(numberedLine(), r), 196u);

    EXPECT_EQ(r.filename(), "1.75");
    EXPECT_EQ(r.channelcount, 2);
    EXPECT_EQ(r.col3, 3);
    EXPECT_EQ(r.scanrate, 4.75f);
    EXPECT_EQ(r.text(TextColumn::col5), "5.75");
    EXPECT_EQ(r.col6, 6);
    EXPECT_EQ(r.col8, 8.75f);
    EXPECT_EQ(r.text(TextColumn::col9), "9.75");
    EXPECT_EQ(r.col12, 12.75f);
    EXPECT_EQ(r.channel, 13);
    EXPECT_EQ(r.cal, 14.75f);
    EXPECT_EQ(r.scalefactor, 15.75f);
    EXPECT_EQ(r.offset, 16.75f);
    EXPECT_EQ(r.channelname(), "17.75");
    EXPECT_EQ(r.mean, 18.75f);
    EXPECT_EQ(r.max, 19.75f);
    EXPECT_EQ(r.min, 20.75f);
    EXPECT_EQ(r.variance, 21.75f);
    EXPECT_EQ(r.skew, 22.75f);
    EXPECT_EQ(r.kurtosis, 23.75f);
    EXPECT_EQ(r.col35, 35.75f);
    EXPECT_EQ(r.col36, 36);
    EXPECT_EQ(r.col37, 37);
    EXPECT_EQ(r.damage, 38.75f);
    EXPECT_EQ(r.col45, 45);
    EXPECT_EQ(r.col46, 46.75f);
    EXPECT_EQ(r.col157, 157);
    EXPECT_EQ(r.col170, 170.75f);
    EXPECT_EQ(r.psdpeakfreq, 171.75f);
    EXPECT_EQ(r.col172, 172);
    EXPECT_EQ(r.col176, 176);
    EXPECT_EQ(r.col177, 177.75f);
    EXPECT_EQ(r.text(TextColumn::col182), "182.75");
    EXPECT_EQ(r.text(TextColumn::col185), "185.75");
    EXPECT_EQ(r.zerovarianceflag, 186);
    EXPECT_EQ(r.emptyscaleflag, 187);
    EXPECT_EQ(r.yellowlineflag, 188);
    EXPECT_EQ(r.redlineflag, 189);
    EXPECT_EQ(r.fullscaleflag, 190);
    EXPECT_EQ(r.hplpvarianceflag, 191);
    EXPECT_EQ(r.hplpmaxflag, 192);
    EXPECT_EQ(r.psd99pctfreq, 193.75f);
    EXPECT_EQ(r.col196, 196.75f);
}

TEST(ParseStatsLine, SetsEveryNumberOfASlotLeftUnset) {
    // The record list hands out slots whose numbers are unset (here: 0x7F bytes); a field the
    // parser forgot would keep them.
    StatsRecord slot{ToBeFilled{}};
    std::memset(static_cast<StatsNumbers*>(&slot), 0x7F, sizeof(StatsNumbers));
    StatsRecord zeroed;
    ASSERT_EQ(parseStatsLine(numberedLine(), slot), 196u);
    ASSERT_EQ(parseStatsLine(numberedLine(), zeroed), 196u);
    EXPECT_EQ(std::memcmp(static_cast<const StatsNumbers*>(&slot),
                          static_cast<const StatsNumbers*>(&zeroed), sizeof(StatsNumbers)),
              0);
}

TEST(ParseStatsLine, DerivesChannelcountMinusCol3WithWrapAround) {
    StatsRecord r;
    parseStatsLine(testing::dataLine({{"channelcount", "16"}, {"col3", "4"}}), r);
    EXPECT_EQ(r.channelcountminuscol3, 12);
    parseStatsLine(testing::dataLine({{"channelcount", "-2147483648"}, {"col3", "1"}}), r);
    EXPECT_EQ(r.channelcountminuscol3, 2147483647);
}

TEST(ParseStatsLine, KeepsTextsExactlyAndReadsEmptyColumnsAsZero) {
    StatsRecord r;
    parseStatsLine(
        testing::dataLine(
            {{"filename", " \"run 1.dat\" "}, {"channelname", ""}, {"mean", ""}, {"channel", ""}}),
        r);
    EXPECT_EQ(r.filename(), " \"run 1.dat\" ");
    EXPECT_EQ(r.channelname(), "");
    EXPECT_EQ(r.mean, 0.0f);
    EXPECT_EQ(r.channel, 0);
}

// Texts that fit inside the record and texts that need their own storage, replacing each
// other in one record and surviving a copy.
TEST(ParseStatsLine, KeepsShortAndLongTextsAndCopiesThem) {
    const std::string longName(5000, 'n');
    const struct {
        const char* what;
        std::string filename;
        std::string channelname;
    } cases[] = {
        {"short", "run0421_0007.dat", "Strain 12"},
        {"long", "run.dat", longName},
        {"empty", "", ""},
        {"short again", "b.dat", "Volts 3"},
    };
    StatsRecord r;
    for (const auto& c : cases) {
        ASSERT_EQ(parseStatsLine(testing::dataLine({{"filename", c.filename},
                                                    {"channelname", c.channelname},
                                                    {"col185", "PASS"}}),
                                 r),
                  196u);
        StatsRecord copy = r;
        StatsRecord assigned;
        assigned = r;
        for (const StatsRecord* record : {&r, &copy, &assigned}) {
            EXPECT_EQ(record->filename(), c.filename) << c.what;
            EXPECT_EQ(record->channelname(), c.channelname) << c.what;
            EXPECT_EQ(record->text(TextColumn::col185), "PASS") << c.what;
        }
    }
}

TEST(ParseStatsLine, ShortLineLeavesTheRecordUntouched) {
    StatsRecord r;
    parseStatsLine(numberedLine(), r);
    const std::string before(r.filename());

    EXPECT_EQ(parseStatsLine("a.dat,16,4", r), 3u);
    EXPECT_EQ(parseStatsLine("", r), 1u);
    EXPECT_EQ(parseStatsLine(",", r), 2u);
    EXPECT_EQ(parseStatsLine(numberedLine(195), r), 195u);
    EXPECT_EQ(r.filename(), before);
    EXPECT_EQ(r.mean, 18.75f);
    EXPECT_EQ(r.col196, 196.75f);
}

// Lines of every length around the 64-byte blocks of the comma scan, with empty columns and
// commas at block edges, split as a naive scan splits them.
TEST(ParseStatsLine, FindsEveryColumnWhateverTheLineLength) {
    const std::size_t textColumns[] = {0, 4, 8, 16, 181, 182, 183, 184};  // counted from 0
    std::mt19937_64 random(11);
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::string> fields;
        const std::size_t columns = 190 + random() % 10;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::size_t length = random() % 4 == 0 ? 0 : random() % 12;
            fields.emplace_back(length, static_cast<char>('a' + random() % 26));
        }
        std::string line;
        for (const std::string& field : fields) line += field + ",";
        line.pop_back();

        StatsRecord r;
        const std::size_t found = parseStatsLine(line, r);
        ASSERT_EQ(found, std::min<std::size_t>(columns, 196)) << line;
        if (found < 196) continue;
        for (std::size_t t = 0; t < std::size(textColumns); ++t) {
            ASSERT_EQ(r.text(static_cast<TextColumn>(t)), fields[textColumns[t]]) << line;
        }
    }
}

TEST(ParseStatsLine, ExtraColumnsAndCarriageReturnChangeNothing) {
    StatsRecord plain;
    parseStatsLine(numberedLine(), plain);
    const struct {
        const char* what;
        std::string line;
    } variants[] = {
        {"200 columns", numberedLine() + ",197,198,199,200"},
        {"carriage return", numberedLine() + "\r"},
    };
    for (const auto& v : variants) {
        StatsRecord r;
        ASSERT_EQ(parseStatsLine(v.line, r), 196u) << v.what;
        EXPECT_EQ(r.col196, plain.col196) << v.what;
        EXPECT_EQ(r.text(TextColumn::col185), plain.text(TextColumn::col185)) << v.what;
    }
}

// Every real column read as the converter reads its text alone, whatever mix of quick and
// careful numbers sits side by side on the line (the reals are read in pairs).
TEST(ParseStatsLine, ReadsEveryRealAsItsTextAlone) {
    const char* const texts[] = {"-52.83261",
                                 "1.038025e-006",
                                 "0.07041157",
                                 "51200",
                                 "",
                                 "x",
                                 " 7.5",
                                 "1e-40",
                                 "-0",
                                 "1e39",
                                 "0.1234567890123456789",
                                 "12345678",
                                 "3.5d2",
                                 "+.5"};
    std::mt19937_64 random(5);
    for (int i = 0; i < 200; ++i) {
        std::vector<std::string> fields;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            fields.emplace_back(texts[random() % std::size(texts)]);
        }
        std::string line;
        for (const std::string& field : fields) line += field + ",";
        line.pop_back();

        StatsRecord r;
        ASSERT_EQ(parseStatsLine(line, r), 196u);
        std::size_t column = 0;
#define CHECK_SKIP(name) ++column;
#define CHECK_REAL(name)                                                 \
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r.name),                      \
              std::bit_cast<std::uint32_t>(convertReal(fields[column]))) \
        << #name << ": " << fields[column];                              \
    ++column;
        STATSLOG_FIELDS(CHECK_SKIP, CHECK_SKIP, CHECK_REAL, STATSLOG_IGNORE)
#undef CHECK_SKIP
#undef CHECK_REAL
    }
}

// The tool keeps only the summarised fields of each line. The cut-down record must hold in each
// of them exactly what the full record holds, and every one of its numbers must be set: a member
// whose name matched no column would keep whatever its slot held.
TEST(ParseStatsLine, SummaryRecordHoldsWhatTheFullRecordHolds) {
    // Columns of very different widths, so that the columns a record keeps fall anywhere in
    // the 64-byte blocks of the comma scan.
    const std::string wide = "1" + std::string(90, '0');
    const std::string texts[] = {"-52.83261",   "1.038025e-006", "51200", "",  "x", "16",   wide,
                                 "-2147483649", "1e39",          "-0",    "1", "2", "3.5d2"};
    std::mt19937_64 random(7);
    for (int i = 0; i < 500; ++i) {
        std::string line;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            line += texts[random() % std::size(texts)];
            line += ',';
        }
        line.pop_back();

        StatsRecord full;
        SummaryRecord cut{ToBeFilled{}};
        std::memset(static_cast<SummaryNumbers*>(&cut), 0x7F, sizeof(SummaryNumbers));
        ASSERT_EQ(parseStatsLine(line, full), 196u);
        ASSERT_EQ(parseStatsLine(line, cut), 196u);
        EXPECT_EQ(cut.filename(), full.filename());
        EXPECT_EQ(cut.channelname(), full.channelname());
        std::size_t compared = 0;
        testing::forEachSummarisedNumber(
            cut, full, [&](const char* name, std::uint32_t kept, std::uint32_t whole) {
                EXPECT_EQ(kept, whole) << name << ": " << line;
                ++compared;
            });
        ASSERT_EQ(compared * 4, sizeof(SummaryNumbers));
    }
}

}  // namespace
}  // namespace statsstats
