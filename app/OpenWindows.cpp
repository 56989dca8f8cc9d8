#include "OpenWindows.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
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

}  // namespace

int OpenWindows(int argc, char** argv) {
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
