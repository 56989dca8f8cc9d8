#include "PlaceCommands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "FieldOptions.h"
#include "OwnPlaces.h"
#include "PlaceFields.h"
#include "TableOptions.h"
#include "TableWriter.h"
#include "report/Echo.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

using places::Gazetteer;
using places::GazetteerPlace;

namespace {

constexpr std::size_t kMaxLimit = 1000;

bool NamedAny(const std::string& arg, std::initializer_list<const char*> options) {
    for (const char* option : options)
        if (IsOption(arg, option)) return true;
    return false;
}

std::string Decimal(double x, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    return text;
}

// A coordinate as --lat and --lon take it, so that a copied value means the same place in every
// command: "34.0132N", "6.8326W" (degrees North or East positive).
std::string Lettered(double degrees, char positive, char negative) {
    return Decimal(std::fabs(degrees), 4) + (degrees < 0 ? negative : positive);
}
std::string LatitudeText(const GazetteerPlace& p) {
    return Lettered(p.latitude, 'N', 'S');
}
std::string LongitudeText(const GazetteerPlace& p) {
    return Lettered(p.longitude, 'E', 'W');
}

// "Rabat (المغرب)", as messages name a place.
std::string Described(const GazetteerPlace& p) {
    std::string text = p.latinName;
    if (!p.arabicName.empty()) text += " " + p.arabicName;
    if (!p.country.empty()) text += ", " + places::CountryNameArabic(p.country) + " " + p.country;
    if (p.own) text += ", your own place";
    return text;
}

// The local date and time a report's field options give (today and now by default).
Civil ReportReading(const std::vector<std::string>& args) {
    FieldOptions options;
    FillFromClock(options.fields);
    for (std::size_t k = 1; k < args.size(); ++k) {
        std::string ignored;
        TakeFieldOption(args, k, options, ignored);
    }
    return places::FieldsReading(options.fields);
}

std::string AngleOption(const char* option, double degrees, char positive, char negative) {
    const places::AngleTexts a = places::AngleFieldTexts(degrees);
    return std::string(option) + "=" + a.degrees + ":" + a.minutes + ":" + a.seconds +
           (degrees < 0 ? negative : positive);
}

// A damaged file of the user's own places leaves them out of a search, and says so.
void WarnOfOwnPlaces(const std::string& ownError, std::FILE* err) {
    if (!ownError.empty())
        std::fprintf(err, "zerin: %s; they are left out of the search\n", ownError.c_str());
}

// "no place is named 'X'; the nearest names: A; B; C": the first place whose name starts so,
// when one does, then the names nearest in spelling.
std::string UnknownPlace(const Gazetteer& gazetteer, const std::string& name,
                         const std::vector<GazetteerPlace>& starting = {}) {
    std::string message = "no place is named '" + Echo(name) + "'";
    std::vector<GazetteerPlace> near;
    if (!starting.empty()) near.push_back(starting.front());
    for (GazetteerPlace& p : gazetteer.Suggestions(name, 3))
        if (near.size() < 3 && std::none_of(near.begin(), near.end(), [&p](const auto& q) {
                return q.latinName == p.latinName && q.country == p.country;
            }))
            near.push_back(std::move(p));
    for (std::size_t k = 0; k < near.size(); ++k)
        message += (k == 0 ? "; the nearest names: " : "; ") + Described(near[k]);
    return message;
}

}  // namespace

bool LoadGazetteer(Gazetteer& gazetteer, std::string& error, std::string& ownError,
                   std::FILE* err) {
    std::string alike;
    const bool loaded =
        places::LoadPlaces(gazetteer, places::ProgramDataFolders(), error, ownError, &alike);
    if (!alike.empty())
        std::fprintf(err,
                     "zerin: your places: %s: both are kept; save the place again to keep one\n",
                     alike.c_str());
    if (!ownError.empty()) ownError = "your places: " + ownError;
    return loaded;
}

bool FindPlace(const Gazetteer& gazetteer, const std::string& name, GazetteerPlace& found,
               std::FILE* err, std::string& error) {
    const std::vector<GazetteerPlace> matches = gazetteer.Search(name, "", 5);
    if (matches.empty()) {
        error = UnknownPlace(gazetteer, name);
        return false;
    }
    // Only a place of that very name is taken: the start of another's name ("Rabbat" of
    // "Rabbath Ammon") is not the place the user means.
    if (!matches.front().exact) {
        error = UnknownPlace(gazetteer, name, matches);
        return false;
    }
    found = matches.front();
    const std::string where = Described(found) + " (" + LatitudeText(found) + " " +
                              LongitudeText(found) + ", " + found.zone + ")";
    if (std::count_if(matches.begin(), matches.end(),
                      [](const GazetteerPlace& p) { return p.exact; }) > 1)
        std::fprintf(err,
                     "zerin: '%s' names more than one place: %s is taken; add the country to "
                     "choose another (\"%s, CC\"), or see zerin places '%s'\n",
                     Echo(name).c_str(), where.c_str(), Echo(name).c_str(), Echo(name).c_str());
    return true;
}

namespace {

// A field's raw text may be anything, "--place" too: it is that field's, not an option.
bool TakesFieldText(const std::string& a) {
    return std::any_of(std::begin(kFieldTextOptions), std::end(kFieldTextOptions),
                       [&a](const FieldTextOption& o) { return a == o.option; });
}

// The options that give one part of a coordinate, or its side only.
bool GivesPartOfLongitude(const std::string& a) {
    return NamedAny(a, {"--lon-deg", "--lon-min", "--lon-sec"}) || a == "--east" || a == "--west";
}
bool GivesPartOfLatitude(const std::string& a) {
    return NamedAny(a, {"--lat-deg", "--lat-min", "--lat-sec"}) || a == "--north" || a == "--south";
}

// What the command line gives of the place beside --place: a part of a coordinate is refused
// (it would move the place without a word); a whole coordinate or clock wins over the place's.
struct Overrides {
    bool lon = false, lat = false, clock = false;
};
int ReadOverrides(const std::vector<std::string>& args, Overrides& given, std::FILE* err) {
    bool summer = false;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        const std::string option = a.substr(0, a.find('='));
        if (GivesPartOfLongitude(a) || GivesPartOfLatitude(a)) {
            const bool lon = GivesPartOfLongitude(a);
            return Refuse(
                err,
                "--place gives the whole " + std::string(lon ? "longitude" : "latitude") + ": " +
                    option + " would change one part of it; give the whole angle with " +
                    (lon ? "--lon (such as --lon 5:40:0W)" : "--lat (such as --lat 32:56:0N)"));
        }
        if (TakesFieldText(a)) ++k;
        given.lon |= IsOption(a, "--lon");
        given.lat |= IsOption(a, "--lat");
        given.clock |= NamedAny(a, {"--zone", "--tz"});
        summer |= IsOption(a, "--summer");
    }
    if (summer && !given.clock)
        return Refuse(err,
                      "--place gives the zone with its summer time: --summer goes with --zone");
    return 0;
}

}  // namespace

int ExpandPlaceOption(std::vector<std::string>& args, std::FILE* err) {
    bool given = false;
    std::string name;
    for (std::size_t k = 1; k < args.size(); ++k) {
        if (TakesFieldText(args[k])) {
            ++k;
            continue;
        }
        if (!IsOption(args[k], "--place")) continue;
        if (given) return Refuse(err, "one --place at a time");
        given = true;
        std::size_t next = k;
        std::string error;
        if (!OptionValue(args, next, "--place", name, error)) return Refuse(err, error);
        if (name.find_first_not_of(' ') == std::string::npos)
            return Refuse(err, "--place needs the name of a place, such as Rabat or الرباط");
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(k),
                   args.begin() + static_cast<std::ptrdiff_t>(next) + 1);
        --k;
    }
    if (!given) return 0;
    const std::string& command = args[0];
    const bool report = command == "report", hijri = command == "hijri";
    if (!report && !hijri && command != "times" && command != "ephemeris" &&
        command != "crescent" && command != "chart")
        return Refuse(err, "--place is not an option of " + Echo(command));
    Overrides overrides;
    if (const int refused = ReadOverrides(args, overrides, err)) return refused;

    Gazetteer gazetteer;
    std::string loadError, ownError, error;
    const bool loaded = LoadGazetteer(gazetteer, loadError, ownError, err);
    WarnOfOwnPlaces(ownError, err);
    GazetteerPlace place;
    if (!FindPlace(gazetteer, name, place, err, error))
        return Refuse(err, loaded ? error : loadError);

    // What the command line gives itself wins over the place.
    const bool lonGiven = overrides.lon, latGiven = overrides.lat, clockGiven = overrides.clock;
    std::vector<std::string> options;
    if (report) {
        places::PlaceFields fields;
        if (!places::FieldsOfPlace(place, ReportReading(args), fields, error))
            return Refuse(err, "the zone of " + Described(place) + ": " + error);
        for (std::size_t k = 0; k < kPlaceFieldOptions; ++k) {
            const FieldTextOption& o = kFieldTextOptions[k];
            if (k < 3 ? !lonGiven : !latGiven)
                options.push_back(std::string(o.option) + "=" + fields.place.fields.*o.field);
        }
        if (!lonGiven) options.push_back(fields.place.east ? "--east" : "--west");
        if (!latGiven) options.push_back(fields.place.north ? "--north" : "--south");
        if (!clockGiven) {
            options.push_back("--zone=" + fields.place.fields.TxtZone);
            if (fields.summerKnown) options.push_back("--summer=" + fields.place.fields.TxtEteRegl);
        }
    } else {
        if (!lonGiven) options.push_back(AngleOption("--lon", place.longitude, 'E', 'W'));
        if (!latGiven) options.push_back(AngleOption("--lat", place.latitude, 'N', 'S'));
        if (!clockGiven && places::IsZoneName(place.zone) && !hijri) {
            options.push_back("--tz=" + place.zone);
        } else if (!clockGiven) {
            // The Hijri commands keep a whole-hour clock: the place's standard time.
            places::PlaceFields fields;
            if (!places::FieldsOfPlace(place, ReportReading({}), fields, error))
                return Refuse(err, "the zone of " + Described(place) + ": " + error);
            const double hours = std::strtod(fields.place.fields.TxtZone.c_str(), nullptr);
            options.push_back("--zone=" + std::to_string(static_cast<int>(std::lround(hours))));
        }
    }
    // A timetable's page, its calendar and a chart are headed by the place's name unless --name
    // gives another.
    const auto hasOption = [&args](const char* option) {
        return std::any_of(args.begin(), args.end(),
                           [option](const std::string& a) { return IsOption(a, option); });
    };
    if (((command == "times" && (hasOption("--pdf") || hasOption("--ics"))) ||
         command == "chart") &&
        !hasOption("--name"))
        options.push_back("--name=" + place.name);
    // The town's elevation is not made the dip of the tables' horizon: it is its height above
    // the sea, and a town on a plateau sees the Sun rise over the plateau (Sana'a, 2,250 m,
    // would have its sunset seven minutes late). --elevation is the height above the horizon
    // around, which the user gives.
    const std::size_t insertAt = report || command == "ephemeris" || command == "chart"
                                     ? std::min<std::size_t>(2, args.size())
                                     : 1;
    args.insert(args.begin() + static_cast<std::ptrdiff_t>(insertAt), options.begin(),
                options.end());
    return 0;
}

int ExpandAngleOptions(std::vector<std::string>& args, std::FILE* err) {
    TableOptions read;
    PlaceGiven given;
    std::vector<std::string> kept;
    bool whole = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& a = args[k];
        const bool angle = IsOption(a, "--lon") || IsOption(a, "--lat");
        if (k < 2 || !(angle || GivesPartOfLongitude(a) || GivesPartOfLatitude(a))) {
            kept.push_back(a);
            if (k >= 2 && TakesFieldText(a) && k + 1 < args.size()) kept.push_back(args[++k]);
            continue;
        }
        whole |= angle;
        std::string error;
        TakeTableOption(args, k, read, given, error);
        if (!error.empty()) return Refuse(err, error);
    }
    if (!whole) return 0;
    // The place as the fields and the sides the report reads.
    for (std::size_t f = 0; f < kPlaceFieldOptions; ++f) {
        const FieldTextOption& o = kFieldTextOptions[f];
        kept.push_back(std::string(o.option) + "=" + read.place.fields.*o.field);
    }
    kept.push_back(read.place.east ? "--east" : "--west");
    kept.push_back(read.place.north ? "--north" : "--south");
    args = std::move(kept);
    return 0;
}

namespace {

struct PlacesRequest {
    std::string search, country;
    std::optional<std::pair<double, double>> near;
    bool mine = false;
    std::size_t limit = 10;
    Format format = Format::Text;
    std::optional<Language> language;
};

// One coordinate of --near, degrees North (East) positive: with its letter as --lat (--lon) takes
// it, or decimal degrees.
bool ReadNearAngle(Axis axis, const std::string& text, double& degrees) {
    const char last = text.empty() ? '\0' : static_cast<char>(std::toupper(text.back()));
    if (std::string_view("NSEW").find(last) == std::string_view::npos)
        return ReadDecimal(text, degrees) &&
               std::fabs(degrees) <= (axis == Axis::Latitude ? 90 : 180);
    FieldOptions read;
    bool negative = false, lettered = false;
    std::string error;
    Place place;
    if (!ReadAngleText(axis, text, read, negative, lettered, error) ||
        !CheckPlace(read, place, error))
        return false;
    // The program's own signs: West and North positive.
    degrees = axis == Axis::Latitude ? place.Lat : -place.Lon;
    return true;
}

int ReadPlacesRequest(const std::vector<std::string>& args, PlacesRequest& r, std::FILE* err) {
    bool limitGiven = false;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string value, error;
        if (a == "--json" || a == "--csv") {
            r.format = a == "--json" ? Format::Json : Format::Csv;
        } else if (a == "--mine") {
            r.mine = true;
        } else if (IsOption(a, "--lang")) {
            if (!OptionValue(args, k, "--lang", value, error)) return Refuse(err, error);
            if (value != "ar" && value != "en")
                return Refuse(err, "--lang takes ar or en, not '" + Echo(value) + "'");
            r.language = value == "ar" ? Language::Arabic : Language::English;
        } else if (IsOption(a, "--country")) {
            if (!OptionValue(args, k, "--country", value, error)) return Refuse(err, error);
            r.country = places::CountryCodeOf(value);
            if (r.country.empty())
                return Refuse(err, "--country takes a country's code (MA) or name, not '" +
                                       Echo(value) + "'");
        } else if (IsOption(a, "--limit")) {
            if (!OptionValue(args, k, "--limit", value, error)) return Refuse(err, error);
            char* end = nullptr;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || n < 1 || n > static_cast<long>(kMaxLimit))
                return Refuse(
                    err, "--limit takes a whole number from 1 to 1000, not '" + Echo(value) + "'");
            r.limit = static_cast<std::size_t>(n);
            limitGiven = true;
        } else if (IsOption(a, "--near")) {
            if (!OptionValue(args, k, "--near", value, error)) return Refuse(err, error);
            const std::size_t comma = value.find(',');
            double la = 0, lo = 0;
            if (comma == std::string::npos ||
                !ReadNearAngle(Axis::Latitude, value.substr(0, comma), la) ||
                !ReadNearAngle(Axis::Longitude, value.substr(comma + 1), lo))
                return Refuse(err,
                              "--near takes LAT,LON: 34.01N,6.83W (the forms of --lat and --lon) "
                              "or decimal degrees, North and East positive (34.01,-6.83), within "
                              "90 and 180 degrees: not '" +
                                  Echo(value) + "'");
            r.near = std::pair{la, lo};
        } else if (a.rfind("--", 0) == 0) {
            return Refuse(err, "unknown option of places '" + Echo(a) + "'");
        } else {
            r.search += (r.search.empty() ? "" : " ") + a;
        }
    }
    const int asked = (r.search.empty() ? 0 : 1) + (r.near ? 1 : 0) + (r.mine ? 1 : 0);
    if (asked != 1)
        return Refuse(err, "places takes one of: a name to search, --near LAT,LON, --mine");
    if (r.search.find_first_not_of(' ') == std::string::npos && !r.search.empty())
        return Refuse(err, "places needs a name to search");
    if (r.mine && limitGiven) return Refuse(err, "--mine lists every place: no --limit");
    return 0;
}

// The columns of places. Text and CSV write the coordinates as --lat and --lon take them; JSON
// writes decimal numbers named for their convention ("lat" North positive, "lon_east" East
// positive).
std::vector<TableColumn> PlacesColumns(bool distance, Format format) {
    const bool json = format == Format::Json;
    std::vector<TableColumn> columns = {
        {"name", "Name", "الاسم", TableColumn::Text, 0},
        {"latin_name", "Latin name", "الاسم اللاتيني", TableColumn::Text, 0},
        {"country", "Country", "البلد", TableColumn::Text, 0},
        {"region", "Region", "الإقليم", TableColumn::Text, 0},
        {json ? "lat" : "latitude", "Latitude", "العرض", TableColumn::Number, 9},
        {json ? "lon_east" : "longitude", "Longitude", "الطول", TableColumn::Number, 9},
        {"elevation_m", "Elevation (m)", "الارتفاع (م)", TableColumn::Number, 6},
        {"zone", "Zone", "المنطقة الزمنية", TableColumn::Text, 0},
        {"population", "Population", "السكان", TableColumn::Number, 10},
    };
    if (distance)
        columns.push_back({"distance_km", "Distance (km)", "المسافة (كم)", TableColumn::Number, 8});
    return columns;
}

std::vector<Cell> PlaceCells(const GazetteerPlace& p, Format format) {
    const bool json = format == Format::Json;
    return {p.name,
            p.latinName,
            p.country.empty() ? Cell() : Cell(places::CountryNameArabic(p.country)),
            p.region.empty() ? Cell() : Cell(p.region),
            json ? Decimal(p.latitude, 4) : LatitudeText(p),
            json ? Decimal(p.longitude, 4) : LongitudeText(p),
            p.elevation ? Cell(Decimal(*p.elevation, 0)) : Cell(),
            p.zone,
            p.own ? Cell() : Cell(std::to_string(p.population))};
}

}  // namespace

int RunPlaces(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    PlacesRequest r;
    if (const int status = ReadPlacesRequest(args, r, err)) return status;
    Gazetteer gazetteer;
    std::string error, ownError;
    const bool loaded = LoadGazetteer(gazetteer, error, ownError, err);
    if (r.mine && !ownError.empty()) return Refuse(err, ownError);
    if (!loaded && !r.mine) return Refuse(err, error);
    if (!r.mine) WarnOfOwnPlaces(ownError, err);
    std::vector<std::vector<Cell>> rows;
    if (r.mine) {
        for (const GazetteerPlace& p : gazetteer.OwnPlaces())
            rows.push_back(PlaceCells(p, r.format));
        if (rows.empty())
            std::fprintf(err, "zerin: you have no places of your own yet (%s)\n",
                         places::OwnPlacesPath().c_str());
    } else if (r.near) {
        for (const auto& [p, km] : gazetteer.Nearest(r.near->first, r.near->second, r.limit)) {
            rows.push_back(PlaceCells(p, r.format));
            rows.back().push_back(Decimal(km, 1));
        }
    } else {
        for (const GazetteerPlace& p : gazetteer.Search(r.search, r.country, r.limit))
            rows.push_back(PlaceCells(p, r.format));
        if (rows.empty())
            return Refuse(err, UnknownPlace(gazetteer, r.search) +
                                   (r.country.empty() ? "" : " (in " + r.country + ")"));
    }
    std::vector<TableColumn> columns = PlacesColumns(r.near.has_value(), r.format);
    for (const std::vector<Cell>& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            if (row[c]) columns[c].width = std::max(columns[c].width, DisplayWidth(*row[c]));
    TableOptions headers;
    headers.format = r.format;
    headers.language = r.language;
    TableWriter writer(r.format, HeaderLanguage(headers), columns, out, err);
    for (const std::vector<Cell>& row : rows)
        if (!writer.Row(row)) return 1;
    return writer.Finish() ? 0 : 1;
}

const char* const kPlacesHelp =
    R"(
Places:
  zerin places NAME [--country CC] [--limit N] [--json | --csv] [--lang ar|en]
  zerin places --near LAT,LON [--limit N] ...      zerin places --mine ...
  The towns of the gazetteer (GeoNames, cities of 1000 inhabitants or more and every
  town with an Arabic name; CC BY 4.0) whose name starts with NAME, in Arabic or Latin
  letters: your own places first, then the towns of that very name, then the others,
  each by population (at most N, default 10). Arabic: أ إ آ ٱ read as ا, ة as ه, ى as
  ي, tatweel and harakat ignored, the article ال optional; Latin: case and diacritics
  ignored (Fès = fes). "Rabat, MT" or "رباط، مالطا" (or --country) keeps one country.
  Each row: the name (Arabic where the town has one), the Latin name, the country in
  Arabic, GeoNames' region code, latitude and longitude as --lat and --lon take them
  (34.0132N, 6.8326W: a value copied means the same place in every command), elevation
  (m), time zone and population. JSON writes the coordinates as decimal numbers named
  for their convention: "lat" (North positive) and "lon_east" (East positive, the
  opposite of this program's own longitudes). --near gives the towns nearest to a
  point with their distance (km): LAT,LON as 34.01N,6.83W, or decimal degrees North and
  East positive (34.01,-6.83); --mine your own places, which the main window saves (in
  $XDG_DATA_HOME/zerin/places.csv, a places file as --places reads).
  --place NAME, in report, times, ephemeris, crescent and hijri, takes the place's
  longitude, latitude and zone (--tz; report: --zone and the --summer of its date;
  hijri: --zone of its standard time). --lon, --lat, --zone or --tz given as well
  overrides that part of the place (report takes --lon and --lat too); an option that
  gives a part of a coordinate (--lon-deg ... --lat-sec, --east, --west, --north,
  --south), or --summer without --zone, is refused: it would move the place or its
  clock without a word. A name that several places share takes the first and says so
  on standard error; an unknown name exits 2 with the three nearest names.
  ZERIN_GAZETTEER=FILE reads another gazetteer file.
)";

}  // namespace zerin::cli
