// zerin: the windows with no arguments, the command line otherwise.
#include <cstdio>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "Cli.h"
#include "OpenWindows.h"

int main(int argc, char** argv) {
    // A write past the file size limit fails and is reported, never kills the program.
    zerin::IgnoreFileSizeSignal();
    if (argc <= 1) return zerin::OpenWindows(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return zerin::cli::Run(args, stdout, stderr);
}
