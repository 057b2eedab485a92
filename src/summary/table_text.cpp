#include "summary/table_text.hpp"

#include <charconv>

namespace statsstats {

void appendTableText(std::string& out, std::string_view text) {
    if (text.find_first_of(",\r\n") == std::string_view::npos) {
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
