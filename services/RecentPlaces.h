// The places last picked in the main window's search, offered first the next time, even before
// anything is typed. Kept beside the own places ($XDG_DATA_HOME/zerin/recent.tsv), one place a
// line; the file is only a convenience: a missing or damaged one gives no places, never an error.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Gazetteer.h"

namespace zerin::places {

// How many picks the file keeps.
inline constexpr std::size_t kRecentPlaces = 6;

// recent.tsv beside OwnPlacesPath(), or empty when it has none.
std::string RecentPlacesPath();

// The places of the file, the latest first; lines that cannot be read are left out.
std::vector<GazetteerPlace> LoadRecentPlaces(const std::string& path);

// The file's text for these places.
std::string RecentPlacesText(const std::vector<GazetteerPlace>& places);

// The same place picked twice: its name, country, coordinates and kind.
bool SamePick(const GazetteerPlace& a, const GazetteerPlace& b);

// Puts the place first (an earlier pick of the same place leaves its row) and keeps the
// kRecentPlaces latest, written through the atomic writer; false with a message.
bool SaveRecentPlace(const std::string& path, const GazetteerPlace& place, std::string& error);

}  // namespace zerin::places
