#include "ModuleLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace zerin {

namespace {

[[maybe_unused]] std::string ExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/'));
}

const WindowsEntries* Load(std::string& failures) {
#ifdef ZERIN_MODULE_RELDIR
    const std::string folder = ExecutableFolder();
    const std::string candidates[] = {folder + "/libzerin-windows.so",
                                      folder + "/" ZERIN_MODULE_RELDIR "/libzerin-windows.so"};
    for (const std::string& path : candidates) {
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            failures += std::string("\n  ") + dlerror();
            continue;
        }
        if (const void* entries = dlsym(module, kWindowsEntriesName))
            return static_cast<const WindowsEntries*>(entries);
        failures +=
            std::string("\n  the windows' module has no entry point ") + kWindowsEntriesName;
        return nullptr;
    }
#else
    failures += "\n  this zerin was built without the windows (Qt 6)";
#endif
    return nullptr;
}

}  // namespace

const WindowsEntries* LoadWindowsEntries(std::string& failures) {
    static std::string loadFailures;
    static const WindowsEntries* const entries = Load(loadFailures);
    if (!entries) failures += loadFailures;
    return entries;
}

bool WindowsBuilt() {
#ifdef ZERIN_MODULE_RELDIR
    return true;
#else
    return false;
#endif
}

}  // namespace zerin
