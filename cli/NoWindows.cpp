// A build without Qt: the program prints today's Sun report instead of the windows.
#include <cstdio>

#include "Cli.h"
#include "OpenWindows.h"

namespace zerin {

int OpenWindows(int, char**) {
    return cli::Run({"report", "sun"}, stdout, stderr);
}

}  // namespace zerin
