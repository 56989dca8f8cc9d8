// Until the windows exist, the program prints today's Sun report.
#include <cstdio>

#include "Cli.h"
#include "Windows.h"

namespace zerin {
int RunWindows(int, char**) { return cli::Run({"report", "sun"}, stdout, stderr); }
}  // namespace zerin
