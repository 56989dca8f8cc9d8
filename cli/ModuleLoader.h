// The windows' module (libzerin-windows.so): beside the executable (the build tree) or in
// the installed library folder. The command line loads it only for the windows and for
// the pictures they draw (a timetable's pages, the crescent's map); it never needs a display.
#pragma once

#include <string>

#include "WindowsEntries.h"

namespace zerin {

// The module's entry points, loaded on the first call; null, with every path tried and why in
// failures (each time it is asked), when the module could not be loaded or has no table.
const WindowsEntries* LoadWindowsEntries(std::string& failures);

// False when this program was built without the windows (Qt 6).
bool WindowsBuilt();

}  // namespace zerin
