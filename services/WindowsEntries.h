// The entry points of the windows' module (libzerin-windows.so), which the executable loads only
// when it needs Qt: the windows, the pages of a printed timetable, the crescent's map and the
// charts. The module exports one table of them under one name; the executable reads it once.
#pragma once

#include <cstdio>
#include <string>

#include "SkyChart.h"
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
    // Draws a chart offscreen into the bytes of its PNG or SVG file; returns the exit status,
    // with what went wrong in message.
    int (*drawChart)(const services::ChartDrawing& drawing, std::string& bytes,
                     std::string& message);
};

// The name of the module's table of entry points (a `const WindowsEntries`).
inline constexpr const char* kWindowsEntriesName = "zerin_windows_entries";

}  // namespace zerin
