// `zerin hijri` (a date on the Hijri calendar by each rule, and back; a year's month starts side by
// side) and `zerin report month` (every step of one month's start).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zerin::cli {

int RunHijri(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// args[0] is "report", args[1] "month".
int RunMonthReport(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

extern const char* const kHijriHelp;

}  // namespace zerin::cli
