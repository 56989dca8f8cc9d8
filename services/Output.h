// The output of the program's texts: a whole text written and flushed, and the decimal separator
// of the user's regional settings.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace zerin::services {

// Writes all of text and flushes it; false, with one message on err, when it could not.
bool WriteAll(std::FILE* out, std::FILE* err, std::string_view text);

// Runs write(out, err) on two streams in memory and returns its exit status, with what it wrote
// in `text` and what it said in `messages` (2 and a message when there is no memory for them).
int WrittenToMemory(const std::function<int(std::FILE* out, std::FILE* err)>& write,
                    std::string& text, std::string& messages);

// The decimal separator of the user's regional settings (LC_NUMERIC), read without changing the
// process's locale.
std::string RegionalDecimalSeparator();

}  // namespace zerin::services
