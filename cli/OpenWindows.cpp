#include "OpenWindows.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ModuleLoader.h"

namespace zerin {

namespace {

bool Set(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// Without a display Qt would abort; say so plainly instead.
bool DisplayAvailable() {
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

}  // namespace

int OpenWindows(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "zerin: no display to open the windows on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set); the command line works without one (see "
                     "'zerin --help')\n");
        return 1;
    }
    std::string failures;
    if (const WindowsEntries* windows = LoadWindowsEntries(failures))
        return windows->runWindows(argc, argv);
    std::fprintf(stderr,
                 "zerin: the windows could not be loaded; the command line works without them "
                 "(see 'zerin --help'):%s\n",
                 failures.c_str());
    return 1;
}

}  // namespace zerin
