#include "report/Echo.h"

#include <cstdio>

namespace zerin {

namespace {

constexpr std::size_t kShownCharacters = 40;

// The length of the UTF-8 character at k, or 0 when the bytes there are not one.
std::size_t CharacterLength(std::string_view s, std::size_t k) {
    const auto c = static_cast<unsigned char>(s[k]);
    const std::size_t length = c < 0x80           ? 1
                               : (c >> 5) == 0x6  ? 2
                               : (c >> 4) == 0xE  ? 3
                               : (c >> 3) == 0x1E ? 4
                                                  : 0;
    if (length == 0 || k + length > s.size()) return 0;
    for (std::size_t j = 1; j < length; ++j)
        if ((static_cast<unsigned char>(s[k + j]) & 0xC0) != 0x80) return 0;
    return length;
}

std::string Hex(const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The text escaped, cut after `limit` characters.
std::string Escaped(std::string_view text, std::size_t limit) {
    std::string echo;
    std::size_t k = 0;
    for (std::size_t shown = 0; k < text.size() && shown < limit; ++shown) {
        const std::size_t length = CharacterLength(text, k);
        const auto c = static_cast<unsigned char>(text[k]);
        if (length == 0) {
            echo += Hex("\\x%02x", c);
            ++k;
            continue;
        }
        if (c == '\n') {
            echo += "\\n";
        } else if (c == '\r') {
            echo += "\\r";
        } else if (c == '\t') {
            echo += "\\t";
        } else if (c == '\\') {
            echo += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            echo += Hex("\\x%02x", c);
        } else if (c == 0xC2 && static_cast<unsigned char>(text[k + 1]) < 0xA0) {
            echo += Hex("\\u%04x", static_cast<unsigned char>(text[k + 1]));  // C1 controls
        } else {
            echo.append(text, k, length);
        }
        k += length;
    }
    if (k < text.size()) echo += "...";
    return echo;
}

}  // namespace

std::string Echo(std::string_view text) {
    return Escaped(text, kShownCharacters);
}

std::string EchoPath(std::string_view path) {
    return Escaped(path, path.size());
}

}  // namespace zerin
