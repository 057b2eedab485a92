#include "summary/table_text.hpp"

#include <algorithm>
#include <charconv>

namespace statsstats {
namespace {

// A plain test of each byte: find_first_of would call memchr once per byte of the text.
bool breaksTheTable(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == ',' || c == '\r' || c == '\n'; });
}

}  // namespace

void appendTableText(std::string& out, std::string_view text) {
    if (!breaksTheTable(text)) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendUnsigned(std::string& out, std::uint64_t value) {
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

}  // namespace statsstats
