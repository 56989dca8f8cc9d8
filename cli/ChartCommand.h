// `zerin chart day` and `zerin chart sky`: the Sun's day with the prayer times' altitudes, and
// the sky of an instant, computed by the services and drawn by the windows' module (no display
// needed) into a PNG or SVG file, or standard output.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zerin::cli {

// zerin chart day|sky [PLACE] [--date D] [--time T] [METHOD OPTIONS] (--png FILE | --svg FILE)
// [--size WxH]; args[0] is "chart".
int RunChart(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

extern const char* const kChartHelp;

}  // namespace zerin::cli
