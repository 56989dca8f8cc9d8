// The command line's places: `zerin places` (search, nearest, own places) and --place NAME,
// which every command that takes a place accepts.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "Gazetteer.h"

namespace zerin::cli {

// The gazetteer (ZERIN_GAZETTEER names another file than the program's own) with the user's
// own places; false with a message when the gazetteer cannot be read. Own places are kept
// even when the gazetteer is missing; a damaged file of them is said in ownError, and the
// gazetteer is read all the same. Two own places whose names differ only in how their letters
// are composed are both kept, with a note on err.
bool LoadGazetteer(places::Gazetteer& gazetteer, std::string& error, std::string& ownError,
                   std::FILE* err);

// Finds a place by its name: the best match, with a note on err when others go by that name;
// or false with the message (the three nearest names) when none does.
bool FindPlace(const places::Gazetteer& gazetteer, const std::string& name,
               places::GazetteerPlace& found, std::FILE* err, std::string& error);

// Replaces --place NAME in a command line by the place's options, before the command reads
// them; the whole options the command line gives itself (--lon, --lat, a zone or a clock) are
// kept and the place's for that part left out. A part of a coordinate (--lon-deg, --east...)
// or --summer without --zone is refused: it would move the place or its clock without a word.
// 0, or the exit status of a refusal whose message is on err.
int ExpandPlaceOption(std::vector<std::string>& args, std::FILE* err);

// The report commands take --lon and --lat as the tables do (D[:M[:S]] with a letter, or decimal
// degrees): replaces them, and the place's field and side options beside them, by the field
// options they mean, refusing what contradicts them. 0, or the exit status of a refusal whose
// message is on err.
int ExpandAngleOptions(std::vector<std::string>& args, std::FILE* err);

// zerin places SEARCH | --near LAT,LON | --mine.
int RunPlaces(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

extern const char* const kPlacesHelp;

}  // namespace zerin::cli
