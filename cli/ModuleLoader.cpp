#include "ModuleLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

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

void* LoadWindowsModule(std::string& failures) {
#ifdef ZERIN_MODULE_RELDIR
    const std::string folder = ExecutableFolder();
    const std::string candidates[] = {folder + "/libzerin-windows.so",
                                      folder + "/" ZERIN_MODULE_RELDIR "/libzerin-windows.so"};
    for (const std::string& path : candidates) {
        if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
        failures += std::string("\n  ") + dlerror();
    }
#else
    failures += "\n  this zerin was built without the windows (Qt 6)";
#endif
    return nullptr;
}

void* WindowsEntry(void* module, const char* name, std::string& failures) {
    void* entry = dlsym(module, name);
    if (!entry) failures += std::string("\n  the windows' module has no entry point ") + name;
    return entry;
}

}  // namespace zerin
