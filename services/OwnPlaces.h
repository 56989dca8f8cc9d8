// The user's own places ("مسجد الحي"): kept in the user's data folder as a places file (the
// format --places reads: name,latitude,longitude,zone), offered first by the search and
// usable by name on the command line.
#pragma once

#include <string>
#include <vector>

#include "Gazetteer.h"

namespace zerin::places {

// $XDG_DATA_HOME/zerin/places.csv, or ~/.local/share/zerin/places.csv; empty when neither
// XDG_DATA_HOME nor HOME is set.
std::string OwnPlacesPath();

// The own places of a file; a file that does not exist holds none. False with a message
// (the file's line) when it cannot be read or a row is wrong. Two names that differ only in
// how their letters are composed (NFC), which an earlier Zerin saved as two places, are both
// kept, and said in `alike` when it is given.
bool LoadOwnPlaces(const std::string& path, std::vector<GazetteerPlace>& places, std::string& error,
                   std::vector<std::string>* alike = nullptr);

// The gazetteer that LocateGazetteer finds in the folders, with the user's own places before
// its towns. False with a message when the gazetteer cannot be read (the own places are kept
// all the same); a damaged file of own places leaves them out and is said in ownError; names
// alike in the file of own places are said in ownNote, when it is given.
bool LoadPlaces(Gazetteer& gazetteer, const std::vector<std::string>& folders, std::string& error,
                std::string& ownError, std::string* ownNote = nullptr);

// The file's text for these places.
std::string OwnPlacesText(const std::vector<GazetteerPlace>& places);

// Adds a place to the file (or replaces those of the same name, compared in NFC), creating its
// folder. The save holds an exclusive lock (FILE.lock beside the file) while it reads the file
// again, adds the place and writes it, so that two windows or two processes saving at once
// lose no place. The file is replaced whole only once the new one is written, so a failed
// save leaves it as it was. A symbolic link at path is followed: the file it names is the one
// replaced, and the link stays. False with a message.
bool SaveOwnPlace(const std::string& path, const GazetteerPlace& place, std::string& error);

// A name an own place can take: not empty, at most 60 characters, no line end; false with a
// message.
bool CheckOwnPlaceName(const std::string& name, std::string& error);

}  // namespace zerin::places
