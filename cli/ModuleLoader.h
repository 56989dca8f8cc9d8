// The windows' module (libzerin-windows.so): beside the executable (the build tree) or in
// the installed library folder. The command line loads it only for the windows and for
// the pictures they draw (the crescent's map); it never needs a display.
#pragma once

#include <string>

namespace zerin {

// The module's handle, or null with the reasons in failures.
void* LoadWindowsModule(std::string& failures);

// The entry point name of the loaded module, or null with the reason added to failures.
void* WindowsEntry(void* module, const char* name, std::string& failures);

}  // namespace zerin
