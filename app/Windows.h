// Opens the main window and runs the event loop (the ui library), or, in a build
// without the windows, prints today's Sun report.
#pragma once

namespace zerin {
int RunWindows(int argc, char** argv);
}
