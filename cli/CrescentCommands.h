// The crescent on the command line: its report (zerin report crescent), a table of
// evenings (zerin crescent) and the map of one evening (zerin crescent-map).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zerin::cli {

// zerin report crescent [FIELD OPTIONS] [--morning] [--json]; args[0] is "report".
int RunCrescentReport(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// zerin crescent [PLACE] --from DATE (--days N | --to DATE) [--morning] [ZONE] [FORMAT].
int RunCrescentTable(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// zerin crescent-map --date DATE --png FILE [--criterion yallop|odeh] [--morning].
int RunCrescentMap(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

extern const char* const kCrescentHelp;

}  // namespace zerin::cli
