// A build without Qt: the program prints today's Sun report instead of the windows, and
// cannot draw the pages of a PDF.
#include <cstdio>

#include "Cli.h"
#include "OpenWindows.h"

namespace zerin {

int OpenWindows(int, char**) {
    return cli::Run({"report", "sun"}, stdout, stderr);
}

int WriteTimetablePdf(const cli::TimetableJob& job, const std::string& path, std::FILE* err) {
    cli::SetPdfWriter(nullptr);  // says that this build has no writer
    return cli::WritePdf(job, path, err);
}

}  // namespace zerin
