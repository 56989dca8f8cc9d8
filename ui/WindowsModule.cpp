// The entry points of the windows module, which the zerin executable loads only when it needs
// Qt: the windows when it is started without arguments, the pages of `zerin times --pdf` and
// the map of `zerin crescent-map`. The command line itself never loads Qt.
#include <cstdio>
#include <string>

#include "CrescentMapImage.h"
#include "TimetablePrint.h"
#include "Windows.h"

extern "C" __attribute__((visibility("default"))) int zerin_run_windows(int argc, char** argv) {
    return zerin::RunWindows(argc, argv);
}

extern "C" __attribute__((visibility("default"))) int zerin_write_timetable_pdf(
    const zerin::cli::TimetableJob& job, const std::string& path, std::FILE* err) {
    return zerin::ui::WriteTimetablePdfFile(job, path, err);
}

// zerin crescent-map: the map drawn offscreen and written as a PNG file.
extern "C" __attribute__((visibility("default"))) int zerin_crescent_map(
    const zerin::CrescentMapRequest* request, std::string* message) {
    return zerin::ui::WriteCrescentMap(*request, *message);
}
