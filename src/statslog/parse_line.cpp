#include "statslog/parse_line.hpp"

#include <array>
#include <cstring>

#include "statslog/column_conversion.hpp"

namespace statsstats {
namespace {

// Walks the columns of one line in a single pass: a number is converted straight from the line
// and its column usually ends right where the number does, so most columns are split for free.
class ColumnCursor {
public:
    explicit ColumnCursor(std::string_view line)
        : next_(line.data()), end_(line.data() + line.size()) {}

    // The number of columns taken so far.
    std::size_t taken() const { return taken_; }

    bool text(std::string_view& out) {
        if (!begin()) return false;
        const char* const start = next_;
        finish(start);
        out = std::string_view(start, static_cast<std::size_t>(columnEnd_ - start));
        return true;
    }
    bool number(std::int32_t& out) {
        if (!begin()) return false;
        finish(parseIntPrefix(next_, end_, out));
        return true;
    }
    bool number(float& out) {
        if (!begin()) return false;
        finish(parseRealPrefix(next_, end_, out));
        return true;
    }

private:
    // False when the line has no further column.
    bool begin() {
        if (lineEnded_) return false;
        ++taken_;
        return true;
    }
    // Moves past the column that starts at next_, from `from` within it. The number parsers
    // read only a prefix, which never includes a comma, so the comma is at or after `from`.
    void finish(const char* from) {
        if (taken_ == kColumnCount) {  // the last column takes the rest of the line
            columnEnd_ = end_;
            next_ = end_;
            return;
        }
        const char* comma = from;
        while (comma != end_ && *comma != ',') ++comma;
        columnEnd_ = comma;
        lineEnded_ = comma == end_;
        next_ = lineEnded_ ? end_ : comma + 1;
    }

    const char* next_;
    const char* const end_;
    const char* columnEnd_ = nullptr;
    std::size_t taken_ = 0;
    bool lineEnded_ = false;
};

}  // namespace

std::size_t parseStatsLine(std::string_view line, StatsRecord& record) {
    ColumnCursor cursor(line);
    std::array<std::string_view, kTextColumnCount> texts;
    std::size_t text = 0;
#define STATSLOG_PARSE_TEXT(name) \
    if (!cursor.text(texts[text++])) return cursor.taken();
#define STATSLOG_PARSE_NUMBER(name) \
    if (!cursor.number(record.name)) return cursor.taken();
    STATSLOG_FIELDS(STATSLOG_PARSE_TEXT, STATSLOG_PARSE_NUMBER, STATSLOG_PARSE_NUMBER,
                    STATSLOG_IGNORE)
#undef STATSLOG_PARSE_TEXT
#undef STATSLOG_PARSE_NUMBER
    record.setTexts(texts);
    // The difference wraps like the 32-bit arithmetic of the programs that read this field.
    record.channelcountminuscol3 = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(record.channelcount) - static_cast<std::uint32_t>(record.col3));
    return kColumnCount;
}

}  // namespace statsstats
