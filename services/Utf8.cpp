#include "Utf8.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace zerin::services {

char32_t DecodeUtf8(std::string_view s, std::size_t k, std::size_t& length) {
    const auto c = static_cast<unsigned char>(s[k]);
    length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || k + length > s.size()) return length = 0;
    char32_t code = length == 1 ? c : c & (0x7F >> length);
    for (std::size_t j = 1; j < length; ++j) {
        const auto next = static_cast<unsigned char>(s[k + j]);
        if ((next & 0xC0) != 0x80) return length = 0;
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) length = 0;
    return code;
}

std::string Nfc(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    std::string out;
    if (U_FAILURE(status)) return std::string(text);
    const icu::UnicodeString normal = nfc->normalize(unicode, status);
    if (U_FAILURE(status)) return std::string(text);
    normal.toUTF8String(out);
    return out;
}

std::string Isolated(std::string_view text) {
    std::string isolated = "\u2066";
    isolated += text;
    return isolated + "\u2069";
}

}  // namespace zerin::services
