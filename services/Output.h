// The output of the program's texts: a whole text written and flushed, and the decimal separator
// of the user's regional settings.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zerin::services {

// Writes all of text and flushes it; false, with one message on err, when it could not.
bool WriteAll(std::FILE* out, std::FILE* err, std::string_view text);

// The decimal separator of the user's regional settings (LC_NUMERIC), read without changing the
// process's locale.
std::string RegionalDecimalSeparator();

}  // namespace zerin::services
