// zerin without arguments: the windows, from the module beside the executable (the build
// tree) or in the installed library folder.
#pragma once

namespace zerin {
int OpenWindows(int argc, char** argv);
}
