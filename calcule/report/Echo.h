// A text the user gave, as a message quotes it back.
#pragma once

#include <string>
#include <string_view>

namespace zerin {

// The text cut after 40 characters (then "..."), with control characters, backslashes and bytes
// that are not UTF-8 escaped ("\n", "\x1b", "\\"): a message quoting it stays one short line and
// never drives the terminal.
std::string Echo(std::string_view text);

// A file's path escaped as Echo escapes a text, but whole: a path cut after 40 characters
// would hide the very file the message is about.
std::string EchoPath(std::string_view path);

}  // namespace zerin
