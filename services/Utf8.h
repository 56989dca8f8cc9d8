// Strict reading of UTF-8 text.
#pragma once

#include <cstddef>
#include <string_view>

namespace zerin::services {

// The code point of the UTF-8 character at k, with its length in bytes; length 0 when the
// bytes there are not one (a stray continuation byte, a cut sequence, an overlong form, a
// surrogate, a code point past U+10FFFF).
char32_t DecodeUtf8(std::string_view text, std::size_t k, std::size_t& length);

}  // namespace zerin::services
