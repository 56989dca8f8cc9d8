// Strict reading of UTF-8 text, and its normal form.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zerin::services {

// The code point of the UTF-8 character at k, with its length in bytes; length 0 when the
// bytes there are not one (a stray continuation byte, a cut sequence, an overlong form, a
// surrogate, a code point past U+10FFFF).
char32_t DecodeUtf8(std::string_view text, std::size_t k, std::size_t& length);

// The text in Unicode's composed normal form (NFC, from ICU): "Fe\u0300s" and "F\u00e8s" both
// become "F\u00e8s", so that two spellings shown alike compare equal. Bytes that are not UTF-8
// become U+FFFD.
std::string Nfc(std::string_view text);

// Text between the isolates U+2066 and U+2069, so that it reads left to right where it stands in
// an Arabic line: a number with its sign ("-3", not "3-"), its degree or percent sign, an offset
// ("UTC+01:00"), a path, a name in Latin letters. The one way the program isolates such text,
// in its messages, windows, pages and charts alike.
std::string Isolated(std::string_view text);

}  // namespace zerin::services
