// The gazetteer: the world's towns by their Arabic or Latin name (GeoNames, converted by
// scripts/convert-gazetteer into data/gazetteer.txt), and the user's own places before them.
// Plain C++ (ICU for the countries' Arabic names and the folding of Latin letters), no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zerin::places {

// One town, or one of the user's own places.
struct GazetteerPlace {
    std::string name;                 // the Arabic name, or the Latin one where the town has none
    std::string latinName;            // GeoNames' name (for an own place, its name)
    std::string arabicName;           // empty where the town has no Arabic name
    std::string country;              // ISO 3166 code ("MA"); empty for an own place
    std::string region;               // GeoNames' first-level region code ("04")
    std::string regionName;           // its name ("Rabat-Salé-Kénitra"), where the file has it
    double latitude = 0;              // degrees, North positive
    double longitude = 0;             // degrees, East positive
    std::optional<double> elevation;  // metres above the sea, where known
    std::string zone;  // a name of the time-zone database, or whole hours for an own place
    long long population = 0;
    bool own = false;    // one of the user's own places
    bool exact = false;  // found by a search: the query is one of its names, not their start
};

// The file's name, beside the program or in its data folder (share/zerin).
inline constexpr const char* kGazetteerFileName = "gazetteer.txt";

// A name as the search compares it: the Arabic letters أ إ آ ٱ read as ا, ة as ه, ى as ي,
// tatweel and harakat left out, the article ال left off each word; Latin letters without
// case or diacritics; hyphens as blanks, apostrophes and full stops left out, blanks single.
std::string NormaliseName(std::string_view name);

// The country's name in Arabic (ICU's CLDR data), or the code itself where ICU has none.
std::string CountryNameArabic(const std::string& code);

// A zone of the time-zone database as "city، country" in Arabic ("Africa/Casablanca": "الدار
// البيضاء، المغرب"), from ICU; empty when ICU names neither.
std::string ZoneCityCountryArabic(const std::string& zone);

// The ISO code of a country given by its code ("MT", "mt"), its Arabic or English name or the
// start of one ("مالطا", "malta"); empty when none is.
std::string CountryCodeOf(std::string_view text);

// The fields of a line of tab-separated values, views into the line.
std::vector<std::string_view> TabFields(std::string_view line);

// The great-circle distance between two places in kilometres.
double DistanceKm(double lat1, double lon1, double lat2, double lon2);

class Gazetteer {
  public:
    // Reads the file whole; false with a message when it cannot be read or is damaged.
    bool Load(const std::string& path, std::string& error);
    // The same from the file's text (`source` names it in messages).
    bool Parse(std::string text, const std::string& source, std::string& error);

    // The user's own places, offered before the towns.
    void SetOwnPlaces(std::vector<GazetteerPlace> own) { own_ = std::move(own); }
    const std::vector<GazetteerPlace>& OwnPlaces() const { return own_; }

    // The places whose name starts with the query's: the own places first, then the towns
    // whose name is the query's, then the towns whose name starts with it, each by population.
    // A query "NAME, COUNTRY" (or "NAME، COUNTRY") keeps the country's towns only, as does
    // `country` (an ISO code) when not empty. At most `limit` places.
    std::vector<GazetteerPlace> Search(std::string_view query, const std::string& country = "",
                                       std::size_t limit = 10) const;

    // The `count` towns nearest to a point, nearest first, with their distances in km.
    std::vector<std::pair<GazetteerPlace, double>> Nearest(double latitude, double longitude,
                                                           std::size_t count) const;

    // The names nearest in spelling to a query that finds nothing (at most `count` towns).
    std::vector<GazetteerPlace> Suggestions(std::string_view query, std::size_t count = 3) const;

    std::size_t TownCount() const { return placeLines_.size(); }
    GazetteerPlace Town(std::size_t index) const;

  private:
    // lendNames: a country whose towns have no such name takes the Latin names of the towns
    // of that name elsewhere.
    std::vector<GazetteerPlace> Search(std::string_view query, const std::string& country,
                                       std::size_t limit, bool lendNames) const;
    std::string_view Line(std::uint32_t offset) const;
    std::string_view Key(std::size_t k) const;
    // The name of a country's region ("US", "OH": "Ohio"), or empty.
    std::string_view RegionName(std::string_view country, std::string_view region) const;
    // The first key not before `wanted` (the keys are sorted).
    std::size_t FirstKeyFrom(std::string_view wanted) const;

    std::string text_;
    std::vector<std::string_view> zones_;
    std::vector<std::uint32_t> placeLines_;  // offsets of the places' lines
    std::vector<std::uint32_t> keyLines_;    // offsets of the keys' lines
    std::vector<std::uint32_t> keyPlaces_;   // the place of each key
    // "US.OH\tOhio" lines, sorted by their code; none in a file written before they were.
    std::vector<std::string_view> regions_;
    std::vector<GazetteerPlace> own_;
};

// The gazetteer file in the first of the folders that holds one, or empty.
std::string FindGazetteerFile(const std::vector<std::string>& folders);

// The gazetteer the program reads: the file ZERIN_GAZETTEER names, else FindGazetteerFile.
std::string LocateGazetteer(const std::vector<std::string>& folders);

// The folders the program's data is looked in: its own folder, then ../share/zerin.
std::vector<std::string> ProgramDataFolders();

}  // namespace zerin::places
