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

// The module's entry point named symbol; null with every path tried and why in failures.
void* ModuleEntry(const char* symbol, std::string& failures) {
    void* module = LoadWindowsModule(failures);
    return module ? WindowsEntry(module, symbol, failures) : nullptr;
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
    using Entry = int (*)(int, char**);
    if (auto run = reinterpret_cast<Entry>(ModuleEntry("zerin_run_windows", failures)))
        return run(argc, argv);
    std::fprintf(stderr,
                 "zerin: the windows could not be loaded; the command line works without them "
                 "(see 'zerin --help'):%s\n",
                 failures.c_str());
    return 1;
}

int WriteTimetablePdf(const cli::TimetableJob& job, const std::string& path, std::FILE* err) {
    std::string failures;
    using Entry = int (*)(const cli::TimetableJob&, const std::string&, std::FILE*);
    if (auto write = reinterpret_cast<Entry>(ModuleEntry("zerin_write_timetable_pdf", failures)))
        return write(job, path, err);
    std::fprintf(err,
                 "zerin: the windows' module, which draws the PDF, could not be loaded (--csv "
                 "works without it):%s\n",
                 failures.c_str());
    return 2;
}

}  // namespace zerin
