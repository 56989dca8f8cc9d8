// A text the user gave, as a message quotes it back.
#pragma once

#include <string>
#include <string_view>

namespace zerin {

// The text cut after 40 characters (then "..."), with control characters, backslashes and bytes
// that are not UTF-8 escaped ("\n", "\x1b", "\\"): a message quoting it stays one short line and
// never drives the terminal.
std::string Echo(std::string_view text);

}  // namespace zerin
