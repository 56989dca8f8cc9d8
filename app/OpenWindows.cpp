#include "OpenWindows.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zerin {

namespace {

std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

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
    const std::string folder = ExecutableFolder();
    const std::string candidates[] = {folder + "/libzerin-windows.so",
                                      folder + "/" ZERIN_MODULE_RELDIR "/libzerin-windows.so"};
    std::string failures;
    for (const std::string& path : candidates) {
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            failures += std::string("\n  ") + dlerror();
            continue;
        }
        using Entry = int (*)(int, char**);
        if (auto run = reinterpret_cast<Entry>(dlsym(module, "zerin_run_windows"))) {
            return run(argc, argv);
        }
        failures += "\n  " + path + ": no entry point zerin_run_windows";
    }
    std::fprintf(stderr,
                 "zerin: the windows could not be loaded; the command line works without them "
                 "(see 'zerin --help'):%s\n",
                 failures.c_str());
    return 1;
}

}  // namespace zerin
