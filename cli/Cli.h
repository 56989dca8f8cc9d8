// The zerin command line: reports, the preface, help and version, without a display.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zerin::cli {

// Runs one command line (without the program name); writes to out and err.
// Exit status: 0 written, 1 calculation fault (or output failure), 2 usage or refused input.
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace zerin::cli
