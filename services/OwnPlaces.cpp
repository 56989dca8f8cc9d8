#include "OwnPlaces.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AtomicFile.h"
#include "PlaceFields.h"
#include "Places.h"
#include "TableWriter.h"

namespace zerin::places {

namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"#") == std::string::npos && text.front() != ' ' &&
        text.back() != ' ')
        return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// An angle in the form of --lat and --lon: D:M:S with its side's letter.
std::string AngleText(double degrees, char positive, char negative) {
    const AngleTexts a = AngleFieldTexts(degrees);
    return a.degrees + ":" + a.minutes + ":" + a.seconds + (degrees < 0 ? negative : positive);
}

}  // namespace

std::string OwnPlacesPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::string(data) + "/zerin/places.csv";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/share/zerin/places.csv";
    return "";
}

bool LoadOwnPlaces(const std::string& path, std::vector<GazetteerPlace>& places,
                   std::string& error) {
    places.clear();
    std::error_code missing;
    if (path.empty() || !std::filesystem::exists(path, missing)) return true;
    services::TableOptions options;
    options.zone = 0;  // a row without a zone keeps Greenwich's
    std::vector<services::TablePlace> rows;
    if (!services::ReadPlacesFile(path, options, rows, error)) return false;
    for (const services::TablePlace& row : rows) {
        GazetteerPlace p;
        p.name = p.latinName = row.name;
        p.latitude = row.place.Lat;
        p.longitude = -row.place.Lon;  // the calculation's longitude is West positive
        p.zone = row.zone;
        p.own = true;
        places.push_back(std::move(p));
    }
    return true;
}

std::string OwnPlacesText(const std::vector<GazetteerPlace>& places) {
    std::string text =
        "# Your own places (zerin places --mine), written by Zerin: one place a row.\n"
        "name,latitude,longitude,zone\n";
    for (const GazetteerPlace& p : places)
        text += CsvField(p.name) + "," + AngleText(p.latitude, 'N', 'S') + "," +
                AngleText(p.longitude, 'E', 'W') + "," + CsvField(p.zone.empty() ? "0" : p.zone) +
                "\n";
    return text;
}

bool CheckOwnPlaceName(const std::string& name, std::string& error) {
    if (name.find_first_not_of(" \t") == std::string::npos) {
        error = "the place needs a name";
        return false;
    }
    if (name.find_first_of("\r\n") != std::string::npos) {
        error = "a place's name is one line";
        return false;
    }
    if (services::DisplayWidth(name) > 60) {
        error = "a place's name has at most 60 characters";
        return false;
    }
    return true;
}

bool SaveOwnPlace(const std::string& path, const GazetteerPlace& place, std::string& error) {
    if (path.empty()) {
        error = "no folder for your places: neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    if (!CheckOwnPlaceName(place.name, error)) return false;
    std::vector<GazetteerPlace> places;
    if (!LoadOwnPlaces(path, places, error)) return false;
    GazetteerPlace saved = place;
    saved.name.erase(0, saved.name.find_first_not_of(" \t"));
    saved.name.erase(saved.name.find_last_not_of(" \t") + 1);
    saved.own = true;
    bool replaced = false;
    for (GazetteerPlace& p : places)
        if (p.name == saved.name) {
            p = saved;
            replaced = true;
        }
    if (!replaced) places.push_back(saved);
    // What is written must read back: a zone the places file cannot take is refused here.
    const std::string text = OwnPlacesText(places);
    std::istringstream check(text);
    services::TableOptions options;
    options.zone = 0;
    std::vector<services::TablePlace> rows;
    if (!services::ReadPlaces(check, path, options, rows, error)) return false;
    std::error_code why;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), why);
    if (why) {
        error = "cannot create the folder of '" + path + "': " + why.message();
        return false;
    }
    return WriteFileAtomically(path, text, error);
}

bool LoadPlaces(Gazetteer& gazetteer, const std::vector<std::string>& folders, std::string& error,
                std::string& ownError) {
    std::vector<GazetteerPlace> own;
    LoadOwnPlaces(OwnPlacesPath(), own, ownError);
    gazetteer.SetOwnPlaces(std::move(own));
    const std::string path = LocateGazetteer(folders);
    if (!path.empty()) return gazetteer.Load(path, error);
    error =
        "the gazetteer (gazetteer.txt) is neither beside the program nor in its data folder "
        "(share/zerin)";
    return false;
}

}  // namespace zerin::places
