// The entry point of the windows module, which the zerin executable loads only when it is
// started without arguments: the command line never loads Qt.
#include "Windows.h"

extern "C" __attribute__((visibility("default"))) int zerin_run_windows(int argc, char** argv) {
    return zerin::RunWindows(argc, argv);
}
