// The entry points of the windows module, which the zerin executable loads only when it needs
// Qt: the windows when it is started without arguments, the pages of `zerin times --pdf` and
// the map of `zerin crescent-map` and the charts of `zerin chart`. The command line itself never
// loads Qt.
#include <cstdio>
#include <string>

#include "ChartPictures.h"
#include "CrescentMapImage.h"
#include "TimetablePrint.h"
#include "Windows.h"
#include "WindowsEntries.h"

// (named as kWindowsEntriesName says)
extern "C" __attribute__((visibility("default")))
const zerin::WindowsEntries zerin_windows_entries = {
    zerin::RunWindows, zerin::ui::WriteTimetablePdfFile, zerin::ui::WriteCrescentMap,
    zerin::ui::DrawChart};
