// The entry points of the windows' module (libzerin-windows.so), which the executable loads only
// when it needs Qt: the windows, the pages of a printed timetable and the crescent's map. The
// module exports one table of them under one name; the executable reads it once.
#pragma once

#include <cstdio>
#include <string>

#include "TimesPdf.h"
#include "crescent/CrescentMap.h"

namespace zerin {

struct WindowsEntries {
    // The windows, until the user closes them; returns the exit status.
    int (*runWindows)(int argc, char** argv);
    // Draws the job's pages into a PDF at path, offscreen; returns the exit status of the tables,
    // messages on err.
    int (*writeTimetablePdf)(const services::TimetableJob& job, const std::string& path,
                             std::FILE* err);
    // Draws the crescent's map offscreen into a PNG file; returns the exit status, with what to
    // say in message.
    int (*writeCrescentMap)(const CrescentMapRequest& request, std::string& message);
};

// The name of the module's table of entry points (a `const WindowsEntries`).
inline constexpr const char* kWindowsEntriesName = "zerin_windows_entries";

}  // namespace zerin
