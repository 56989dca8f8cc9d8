// Opens the main window and runs the event loop.
#pragma once

namespace zerin {
int RunWindows(int argc, char** argv);
}
