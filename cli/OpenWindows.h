// The windows, from the windows' module, loaded only when it is needed (the command line never
// links Qt); a build without them prints today's Sun report instead.
#pragma once

namespace zerin {
int OpenWindows(int argc, char** argv);
}  // namespace zerin
