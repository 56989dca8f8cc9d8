// A places file: the places of many timetables in one run (the cities of a country), each with
// its name, its latitude and longitude and its clock.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "TableRequest.h"
#include "ZoneClock.h"

namespace zerin::services {

// One place of a table: its name (empty for the place of the command line), its field texts
// and flags as --lat and --lon write them, where the calculation puts it, and its clock.
struct TablePlace {
    std::string name;
    FieldOptions fields;
    Place place;
    std::string zone;                        // as the file wrote it ("Asia/Riyadh", "-3"), or ""
    std::shared_ptr<const ZoneClock> clock;  // shared by the places of one zone
};

// The most places a file may hold.
inline constexpr std::size_t kMaxPlaces = 100000;

/*
 * Reads a places file (UTF-8, CSV):
 *
 *   name,latitude,longitude,zone
 *   Rabat,34:01N,6:50W,Africa/Casablanca
 *   "Fes, medina",34.06,4.98W,0
 *
 * A header row first (name,latitude,longitude with an optional fourth column zone), then
 * one place a row. Blank lines and lines starting with # are skipped; a field may be quoted
 * ("" stands for a quote inside); a byte-order mark and CR LF line ends are accepted. The
 * latitude and longitude take the forms of --lat and --lon; the zone is a name of the
 * time-zone database or whole hours as --zone takes them (East negative, with the command
 * line's --summer), and an empty zone (or no zone column) takes the command line's clock.
 * Names are unique, compared in Unicode's composed form (NFC): "Fès" written with its
 * accent apart is the same name as "Fès" written whole, and refused as well, with both lines;
 * unless `alikeNames` is given (the user's own places, which must stay usable), where such a
 * pair is kept and said, one line each ("FILE:LINE: ..."). The file is UTF-8 text: bytes that are
 * not, control characters (a tab only between fields), a NUL, and a byte-order mark after the start
 * are refused, as is a line of more than 4096 bytes (read no further than that).
 *
 * `options` gives the command line's clock (--tz, or --zone and --summer) and --summer;
 * `fileName` names the file in messages. Returns false with "FILE:LINE: what" at the first
 * bad row (nothing is computed from a file that has one).
 */
bool ReadPlaces(std::istream& in, const std::string& fileName, const TableOptions& options,
                std::vector<TablePlace>& places, std::string& error,
                std::vector<std::string>* alikeNames = nullptr);

// The clock options of a place's zone column: a name of the time-zone database, whole hours
// (with the command line's --summer), or, empty, the command line's own clock (`options`).
// False with a message when the zone is neither.
bool PlaceClockOptions(const std::string& zone, const TableOptions& options, TableOptions& clock,
                       std::string& error);

// ReadPlaces on a file ("-" for standard input), or false with a message when it cannot be
// opened or read, or is not a regular file (a FIFO, a device, a folder: refused unopened).
bool ReadPlacesFile(const std::string& path, const TableOptions& options,
                    std::vector<TablePlace>& places, std::string& error,
                    std::vector<std::string>* alikeNames = nullptr);

}  // namespace zerin::services
