// The windows' module, loaded only when it is needed (the command line never links Qt), from
// beside the executable (the build tree) or from the installed library folder: the windows
// with no arguments, and the pages of `zerin times --pdf`.
#pragma once

#include <cstdio>
#include <string>

#include "TimesPdf.h"

namespace zerin {
int OpenWindows(int argc, char** argv);
// Draws the job's pages into a PDF at path through the module, offscreen: no display needed.
int WriteTimetablePdf(const cli::TimetableJob& job, const std::string& path, std::FILE* err);
}  // namespace zerin
