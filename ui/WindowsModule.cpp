// The entry point of the windows module, which the zerin executable loads only when it is
// started without arguments: the command line never loads Qt.
#include "CrescentMapImage.h"
#include "Windows.h"

extern "C" __attribute__((visibility("default"))) int zerin_run_windows(int argc, char** argv) {
    return zerin::RunWindows(argc, argv);
}

// zerin crescent-map: the map drawn offscreen and written as a PNG file.
extern "C" __attribute__((visibility("default"))) int zerin_crescent_map(
    const zerin::CrescentMapRequest* request, std::string* message) {
    return zerin::ui::WriteCrescentMap(*request, *message);
}
