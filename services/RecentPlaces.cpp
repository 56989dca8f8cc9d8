#include "RecentPlaces.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "OwnPlaces.h"

namespace zerin::places {

namespace {

// A file this large is not one the program wrote: it is left unread.
constexpr std::uintmax_t kLargestFile = 64 * 1024;
constexpr std::size_t kFields = 9;

bool ReadCoordinate(std::string_view text, double limit, double& value) {
    const char* end = text.data() + text.size();
    const auto read = std::from_chars(text.data(), end, value);
    return read.ec == std::errc() && read.ptr == end && std::fabs(value) <= limit;
}

// Degrees with a period whatever the locale.
std::string Degrees(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return std::string(text, end.ptr);
}

// A field that would break the line (a tab, a line end) cannot be kept.
bool Writable(const GazetteerPlace& p) {
    for (const std::string* text :
         {&p.name, &p.latinName, &p.arabicName, &p.country, &p.region, &p.regionName, &p.zone})
        if (text->find_first_of("\t\r\n") != std::string::npos) return false;
    return !p.name.empty();
}

}  // namespace

bool SamePick(const GazetteerPlace& a, const GazetteerPlace& b) {
    return a.name == b.name && a.country == b.country && a.own == b.own &&
           std::fabs(a.latitude - b.latitude) < 1e-4 && std::fabs(a.longitude - b.longitude) < 1e-4;
}

std::string RecentPlacesPath() {
    const std::string own = OwnPlacesPath();
    if (own.empty()) return "";
    return std::filesystem::path(own).replace_filename("recent.tsv").string();
}

std::vector<GazetteerPlace> LoadRecentPlaces(const std::string& path) {
    std::vector<GazetteerPlace> places;
    std::error_code why;
    if (path.empty() || !std::filesystem::is_regular_file(path, why) ||
        std::filesystem::file_size(path, why) > kLargestFile || why)
        return places;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (places.size() < kRecentPlaces && std::getline(in, line)) {
        // name, Latin name, Arabic name, country, region, region's name, latitude, longitude
        // (East positive), zone; "own" when the place is an own place.
        const std::vector<std::string_view> f = TabFields(line);
        GazetteerPlace p;
        if ((f.size() != kFields && f.size() != kFields + 1) || f[0].empty() ||
            !ReadCoordinate(f[6], 90, p.latitude) || !ReadCoordinate(f[7], 180, p.longitude) ||
            f[8].empty())
            continue;
        p.name = f[0], p.latinName = f[1], p.arabicName = f[2], p.country = f[3];
        p.region = f[4], p.regionName = f[5], p.zone = f[8];
        p.own = f.size() == kFields + 1 && f[9] == "own";
        places.push_back(std::move(p));
    }
    return places;
}

std::string RecentPlacesText(const std::vector<GazetteerPlace>& places) {
    std::string text;
    for (const GazetteerPlace& p : places) {
        if (!Writable(p)) continue;
        for (const std::string& field :
             {p.name, p.latinName, p.arabicName, p.country, p.region, p.regionName,
              Degrees(p.latitude), Degrees(p.longitude), p.zone})
            text += field + '\t';
        text.back() = p.own ? '\t' : '\n';
        if (p.own) text += "own\n";
    }
    return text;
}

bool SaveRecentPlace(const std::string& path, const GazetteerPlace& place, std::string& error) {
    if (path.empty()) {
        error = "no folder for the places picked: neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    std::vector<GazetteerPlace> places{place};
    for (GazetteerPlace& earlier : LoadRecentPlaces(path))
        if (!SamePick(earlier, place) && places.size() < kRecentPlaces)
            places.push_back(std::move(earlier));
    std::error_code why;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), why);
    return WriteFileAtomically(path, RecentPlacesText(places), error);
}

}  // namespace zerin::places
