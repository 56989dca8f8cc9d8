// Places: files of places, the gazetteer, what a place puts into the fields, own places.
#include "Places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "Gazetteer.h"
#include "OwnPlaces.h"
#include "PlaceFields.h"
#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

using places::Gazetteer;
using places::GazetteerPlace;
using places::NormaliseName;

const std::string kGazetteerPath = std::string(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt";

// The shipped gazetteer; own places in a folder of the test's own (absolute, as XDG wants).
const ScratchFolder kData;
const bool kEnvironment = [] {
    ::setenv("ZERIN_GAZETTEER", kGazetteerPath.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (kData / "data").c_str(), 1);
    return true;
}();

const Gazetteer& Shipped() {
    static const Gazetteer gazetteer = [] {
        Gazetteer g;
        std::string error;
        if (!g.Load(kGazetteerPath, error)) ADD_FAILURE() << error;
        return g;
    }();
    return gazetteer;
}

GazetteerPlace Place(const std::string& name, double lat, double lon, const std::string& zone) {
    GazetteerPlace p;
    p.name = p.latinName = name;
    p.latitude = lat;
    p.longitude = lon;
    p.zone = zone;
    return p;
}

// A places file of the test's own holding `text`: its path.
std::string PlacesFile(const std::string& text) {
    static int count = 0;
    const std::string path = kData / ("places" + std::to_string(++count) + ".csv");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> Times(const std::string& path, const std::string& more = "") {
    return Words("times --places " + path + " --from 2025-06-01 --days 2 --csv " + more);
}

const std::vector<std::string> kJanuary = ReportArgs("sun", "2025", "1", "15");

TEST(Places, RefusedRowsNameTheirLine) {
    for (const std::vector<std::string>& c : DataRows("places/refused-files.txt", "", '|')) {
        const std::string file = PlacesFile(Unescaped(Trimmed(c[0])));
        std::string message = Unescaped(Trimmed(c[2]));
        if (message.rfind("FILE:", 0) == 0) message.replace(0, 4, file);
        ExpectRefused(Times(file, Trimmed(c[1])), message);
    }
}

// A FIFO is refused unopened (it would wait for ever); "-" reads standard input.
TEST(Places, OnlyARegularFileOrStandardInput) {
    const std::string fifo = kData / "places.fifo", out = kData / "stdin.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ExpectRefused(Times(fifo, "--zone 0"),
                  "zerin: the places file '" + fifo + "' is a FIFO, not a file: give a CSV file");
    const std::string rabat = std::string(ZERIN_TEST_DATA) + "/places/rabat.csv";
    const ExeResult r = RunExe(" times --places - --from 2025-06-01 --days 2 --csv > '" + out +
                               "' < '" + rabat + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out), RunCli(Times(rabat)).out);
    EXPECT_NE(ReadFile(out).find("\nRabat,2025-06-02,"), std::string::npos);
}

// A line without an end (as /dev/zero gives): read no further than its 4097th byte.
TEST(Places, ALineIsReadNoFurtherThanItsBound) {
    for (const char fill : {'x', '\0'}) {
        std::istringstream in(std::string(1 << 20, fill));
        std::vector<services::TablePlace> places;
        std::string error;
        EXPECT_FALSE(services::ReadPlaces(in, "endless", services::TableOptions(), places, error));
        EXPECT_EQ(error, "endless:1: a line of more than 4096 bytes: is this a places file?");
        EXPECT_LE(in.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in), 4097);
    }
    ExpectRefused(Times(PlacesFile("name,latitude,longitude\n" + std::string(5000, 'x') + "\n")),
                  ":2: a line of more than 4096 bytes");
}

// The rows of a table are the places times the days: at most 1,000,000 (one more is refused:
// refused.txt). At the limit the table is begun: its first rows reach an output of 4 KiB.
TEST(Places, TheRowsAreThePlacesTimesTheDays) {
    const std::string file = PlacesFile("name,latitude,longitude,zone\nA,30N,3W,0\nB,31N,3W,0\n");
    const std::vector<std::string> args =
        Words("times --places " + file + " --from 2000-01-01 --days 500000 --csv");
    robust::CappedStream out(4096), err;
    EXPECT_EQ(cli::Run(args, out.file(), err.file()), 1) << err.text();
    EXPECT_EQ(out.text().rfind("place,date,", 0), 0u);  // the header first
}

TEST(Gazetteer, NamesNormalisedShownAndFound) {
    for (const std::vector<std::string>& c : DataRows("places/names.txt", "", '|')) {
        const std::string kind = Trimmed(c[0]), name = Unescaped(Trimmed(c[1]));
        const std::string other = Trimmed(c[2]);
        if (kind == "normalised") {
            EXPECT_EQ(NormaliseName(name), other) << name;
        } else if (kind == "found") {
            EXPECT_FALSE(Shipped().Search(name, other, 1).empty()) << name;
        } else {
            const std::vector<std::string> arabic = SplitAt(Trimmed(c[3]), '/');
            const std::vector<GazetteerPlace> found = Shipped().Search(name, other, 1);
            ASSERT_EQ(found.size(), 1u) << name;
            EXPECT_NE(std::find(arabic.begin(), arabic.end(), found[0].arabicName), arabic.end())
                << name << ", " << other << ": " << found[0].arabicName;
            EXPECT_EQ(found[0].name, arabic[0].empty() ? name : found[0].arabicName) << name;
        }
    }
}

TEST(Gazetteer, FindsTheTownsByTheirNames) {
    // As published (Rabat; Wikipedia's Fès, Mecca, Jeddah, Rabat MT), to 0.06° (a town's width).
    // clang-format off
    const struct { std::vector<const char*> queries; const char *latin, *country; double latitude, longitude; const char* zone; } cases[] = {
        {{"Rabat", "الرباط", "رباط", "rabat"}, "Rabat", "MA", 34.013, -6.833, "Africa/Casablanca"},
        {{"Fès", "Fes", "FES", "فاس"}, "Fès", "MA", 34.03, -5.00, "Africa/Casablanca"},
        {{"مكة", "مكه", "Makkah", "Mecca"}, "Mecca", "SA", 21.42, 39.83, "Asia/Riyadh"},
        {{"جدة", "جده"}, "Jeddah", "SA", 21.54, 39.17, "Asia/Riyadh"},
        {{"Rabat, MT", "رباط، مالطا", "rabat,malta"}, "Rabat", "MT", 35.88, 14.40, "Europe/Malta"},
        {{"Casab", "الدار الب"}, "Casablanca", "MA", 33.59, -7.62, "Africa/Casablanca"},
    };
    // clang-format on
    for (const auto& e : cases)
        for (const char* query : e.queries) {
            const std::vector<GazetteerPlace> found = Shipped().Search(query);
            ASSERT_FALSE(found.empty()) << query;
            const GazetteerPlace& p = found.front();
            EXPECT_EQ(p.latinName + p.country + p.zone, std::string(e.latin) + e.country + e.zone)
                << query;
            EXPECT_NEAR(p.latitude, e.latitude, 0.06) << query;
            EXPECT_NEAR(p.longitude, e.longitude, 0.06) << query;
        }
}

TEST(Gazetteer, RabatIsTheCapitalFirstAndMaltasAfterIt) {
    const std::vector<GazetteerPlace> found = Shipped().Search("Rabat", "", 50);
    std::string countries;  // of the towns named Rabat, in order
    for (const GazetteerPlace& p : found)
        if (p.latinName == "Rabat") countries += p.country + " ";
    EXPECT_EQ(countries.rfind("MA ", 0), 0u) << countries;
    EXPECT_TRUE(Contains(countries, " MT ")) << countries;
    // The country narrows the search, given apart or after a comma.
    for (const auto& [query, country] :
         {std::pair{"Rabat", "MT"}, {"Rabat, mt", ""}, {"Rabat,Malta", ""}, {"رباط، مالطا", ""}}) {
        const std::vector<GazetteerPlace> maltese = Shipped().Search(query, country, 5);
        ASSERT_FALSE(maltese.empty()) << query;
        for (const GazetteerPlace& p : maltese) EXPECT_EQ(p.country, "MT") << query;
    }
    // Exact names (San, Mali) before longer ones (San Francisco ...), then the most populous.
    const std::vector<GazetteerPlace> san = Shipped().Search("San", "", 10);
    ASSERT_GE(san.size(), 2u);
    EXPECT_EQ(NormaliseName(san[0].latinName), "san");
    EXPECT_NE(NormaliseName(san.back().latinName), "san");
    for (std::size_t k = 2; k < san.size(); ++k)
        if (NormaliseName(san[k - 1].latinName) != "san") {
            EXPECT_GE(san[k - 1].population, san[k].population) << san[k].latinName;
        }
}

TEST(Gazetteer, ANameUnknownEverywhereFindsNothingAndSuggestsThree) {
    for (const char* query : {"Xqzwvbnk", "ظظظظظظ", "Rabat, ZZ9", "   ", "\xFF\xFE"})
        EXPECT_TRUE(Shipped().Search(query).empty()) << query;
    EXPECT_TRUE(Shipped().Search("Rabat", "JP").empty());
    // A name of thousands of letters is answered too (by its start).
    EXPECT_EQ(Shipped().Suggestions(std::string(5000, 'x') + "Rabat", 3).size(), 3u);
    EXPECT_TRUE(Shipped().Search(std::string(100000, 'a')).empty());
    const std::vector<GazetteerPlace> near = Shipped().Suggestions("Rabbat", 3);
    ASSERT_EQ(near.size(), 3u);
    EXPECT_EQ(near[0].latinName + near[0].country, "RabatMA");
}

// The nearest names by edit distance of any key, ties by the place's order (worked by hand).
TEST(Gazetteer, SuggestionsAreTheNearestNames) {
    std::string text = "zones\t1\nUTC\nplaces\t6\n";
    for (int k = 0; k < 6; ++k) text += "P" + std::to_string(k) + "\t\tMA\t\t1\t2\t\t0\t5\n";
    text += "keys\t7\nabcd\t0\nabcdzz\t5\nabce\t1\nabxde\t2\nbcd\t3\nzzabcd\t2\nzzzz\t4\n";
    Gazetteer g;
    std::string error;
    ASSERT_TRUE(g.Parse(text, "test.txt", error)) << error;
    // clang-format off
    const std::pair<const char*, std::string> cases[] = {
        {"abcd", "P0 P1 P3 P2"}, {"qbcd", "P0 P3 P1 P2"}, {"abxd", "P0 P2 P1 P3"},
        {"zzzb", "P4 P2 P0 P1"}, {"zyzzabcdzz", "P2 P5 P0 P4"}, {"adz", "P0 P1 P2 P3"},
        {"bc", "P3 P0 P1 P2"}};
    // clang-format on
    for (const auto& [query, names] : cases) {
        std::string found;
        for (const GazetteerPlace& p : g.Suggestions(query, 4)) found += p.latinName + " ";
        EXPECT_EQ(found, names + " ") << query;
    }
}

TEST(Gazetteer, OwnPlacesComeFirst) {
    Gazetteer g = Shipped();
    GazetteerPlace mosque = Place("مسجد الحي", 0, 0, ""), home = Place("Rabat home", 0, 0, "");
    mosque.own = home.own = true;
    g.SetOwnPlaces({mosque, home});
    const std::vector<GazetteerPlace> rabat = g.Search("rabat", "", 3);
    ASSERT_EQ(rabat.size(), 3u);
    EXPECT_EQ(rabat[0].name, "Rabat home");
    EXPECT_EQ(rabat[1].country, "MA");
    const std::vector<GazetteerPlace> mosques = g.Search("مسجد", "", 3);
    ASSERT_FALSE(mosques.empty());
    EXPECT_EQ(mosques[0].name, "مسجد الحي");
    EXPECT_EQ(g.Search("rabat", "MA", 1)[0].country, "MA");  // a country keeps the towns only
}

TEST(Gazetteer, NearestTownsOnTheSphereAndCountriesInArabic) {
    const auto near = Shipped().Nearest(34.0133, -6.8326, 3);
    ASSERT_EQ(near.size(), 3u);
    EXPECT_EQ(near[0].first.latinName, "Rabat");
    EXPECT_LT(near[0].second, 0.1);
    EXPECT_LE(near[1].second, near[2].second);
    const auto fiji = Shipped().Nearest(-16.8, 179.99, 1);  // across the antimeridian
    ASSERT_EQ(fiji.size(), 1u);
    EXPECT_LT(fiji[0].second, 100);
    // A quarter of a meridian and a degree of the equator on a sphere of 6371.0088 km.
    EXPECT_NEAR(places::DistanceKm(0, 0, 90, 0), 10007.557, 0.001);
    EXPECT_NEAR(places::DistanceKm(0, 179.5, 0, -179.5), 111.195, 0.001);
    EXPECT_EQ(places::DistanceKm(21.4, 39.8, 21.4, 39.8), 0);
    // The countries' names from ICU, and the codes of what a user types.
    const std::pair<const char*, const char*> names[] = {
        {"MA", "المغرب"}, {"MT", "مالطا"}, {"EG", "مصر"}, {"DZ", "الجزائر"}, {"Q", "Q"}};
    for (const auto& [code, arabic] : names) EXPECT_EQ(places::CountryNameArabic(code), arabic);
    const std::pair<const char*, const char*> codes[] = {
        {"mt", "MT"},      {" MA ", "MA"},  {"Malta", "MT"},   {"مالطا", "MT"}, {"المغرب", "MA"},
        {"Morocco", "MA"}, {"الجزا", "DZ"}, {"Xyzzyland", ""}, {"", ""}};
    for (const auto& [text, code] : codes) EXPECT_EQ(places::CountryCodeOf(text), code) << text;
}

// A damaged or hostile file: refused with its line, before anything is reserved for its counts.
TEST(Gazetteer, DamagedFilesAreRefusedWithTheirLine) {
    for (const std::vector<std::string>& c : DataRows("places/damaged-gazetteers.txt", "", '|')) {
        const std::string text = Unescaped(Trimmed(c[0])), message = Trimmed(c[1]);
        Gazetteer g;
        std::string error;
        EXPECT_EQ(g.Parse(text, "test.txt", error), message == "(read)") << c[0];
        if (message == "(read)") continue;
        EXPECT_EQ(error.find("the gazetteer test.txt is damaged: " + message), 0u) << error;
        EXPECT_TRUE(g.Search("a").empty());
    }
}

// What is not a regular file is never opened; a damaged gazetteer is refused in one line.
TEST(Gazetteer, OnlyARegularFileIsRead) {
    const std::string fifo = kData / "gazetteer.fifo", nan = kData / "gazetteer-nan.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(nan) << "zones\t1\nUTC\nplaces\t1\nRabat\t\tMA\t\tnan\t2\t\t0\t5\nkeys\t0\n";
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "the gazetteer " + fifo + " cannot be read: it is a FIFO, not a file"},
        {"/tmp", "the gazetteer /tmp cannot be read: it is a folder, not a file"},
        {"/dev/zero", "the gazetteer /dev/zero cannot be read: it is a device, not a file"},
        {"/proc/self/status", "the gazetteer /proc/self/status is damaged: line 1 (no \"zones\""},
        {"/nonexistent/g.txt", "cannot open the gazetteer '/nonexistent/g.txt': No such file"},
        {nan, "the gazetteer " + nan + " is damaged: line 4 (a latitude that is not a number"},
    };
    for (const auto& [path, message] : cases) {
        ::setenv("ZERIN_GAZETTEER", path.c_str(), 1);
        ExpectRefused({"places", "Rabat", "--json"}, message);
        ExpectRefused(With(kJanuary, {"--place", "Rabat"}), message);
    }
    ::setenv("ZERIN_GAZETTEER", kGazetteerPath.c_str(), 1);
}

// Short of memory (ulimit -v): one line and exit status 1, or the work done; never an abort.
TEST(Gazetteer, NotEnoughMemoryIsSaid) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any ulimit -v allows";
#endif
    int short_ = 0;
    for (int limit = 36000; limit <= 64000; limit += 4000)
        for (const char* command : {" places Rabat", " report sun --place Rabat"}) {
            const ExeResult r = RunExe(command + std::string(" >/dev/null"),
                                       "ulimit -v " + std::to_string(limit) + "; ");
            if (r.status == 127) continue;  // the system could not even load the program
            short_ += r.status == 1;
            EXPECT_TRUE(r.status == 0 || r.err.rfind("zerin: not enough memory for ", 0) == 0)
                << limit << command << ": " << r.status << " " << r.err;
        }
    EXPECT_GT(short_, 0);
}

TEST(Gazetteer, TheShippedFileAgreesWithTheProgramsNormalisation) {
    const Gazetteer& g = Shipped();
    EXPECT_LE(std::filesystem::file_size(kGazetteerPath), 10'000'000u);
    EXPECT_GT(g.TownCount(), 100000u);
    // Every 97th town found by its Latin and Arabic names as the program normalises them.
    for (std::size_t k = 0; k < g.TownCount(); k += 97) {
        const GazetteerPlace town = g.Town(k);
        for (const std::string& name : {town.latinName, town.arabicName}) {
            if (name.empty()) continue;
            bool found = false;
            for (const GazetteerPlace& p : g.Search(name, town.country, 1000))
                found |= p.latinName == town.latinName && p.latitude == town.latitude &&
                         p.longitude == town.longitude;
            EXPECT_TRUE(found) << name << " (" << k << ")";
        }
    }
}

// A timetable's page is headed by the place's name, unless --name gives another.
TEST(PlacesCli, ThePlacesNameHeadsTheTimetablesPage) {
    if (std::system("pdftotext -v > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
    const std::pair<const char*, const char*> cases[] = {{"", "فاس"}, {" --name Medina", "Medina"}};
    for (const auto& [more, heading] : cases) {
        const std::string pdf = kData / "page.pdf", text = pdf + ".txt";
        const ExeResult r =
            RunExe(" times --place Fès --from 2026-01-01 --days 2 --pdf " + pdf + more);
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(std::system(("pdftotext " + pdf + " " + text).c_str()), 0);
        // pdftotext gives the Arabic letters' presentation forms: NFKC reads them back.
        UErrorCode status = U_ZERO_ERROR;
        std::string words;
        icu::Normalizer2::getNFKCInstance(status)
            ->normalize(icu::UnicodeString::fromUTF8(ReadFile(text)), status)
            .toUTF8String(words);
        EXPECT_TRUE(Contains(words, heading)) << words.substr(0, 400);
    }
}

TEST(PlacesCli, OwnPlacesByName) {
    std::string error;
    ASSERT_TRUE(places::SaveOwnPlace(
        places::OwnPlacesPath(), Place("مسجد الحي", 34.0132, -6.8326, "Africa/Casablanca"), error))
        << error;
    const CliResult mine = RunCli({"places", "--mine", "--csv"});
    ASSERT_EQ(mine.status, 0) << mine.err;
    EXPECT_EQ(mine.out,
              "name,latin_name,country,region,latitude,longitude,elevation_m,zone,population\n"
              "مسجد الحي,مسجد الحي,,,34.0132N,6.8326W,,Africa/Casablanca,\n");
    const CliResult own = RunCli(With(kJanuary, {"--place", "مسجد الحي"}));
    ASSERT_EQ(own.status, 0) << own.err;
    EXPECT_EQ(own.out, RunCli(With(kJanuary, {"--place", "Rabat, MA"})).out);
    EXPECT_EQ(own.err, "");
    // First in the search.
    const CliResult search = RunCli({"places", "مسجد", "--csv", "--limit", "1"});
    EXPECT_TRUE(Contains(search.out, "\nمسجد الحي,")) << search.out;
    std::filesystem::remove(places::OwnPlacesPath());
    const CliResult none = RunCli({"places", "--mine"});
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(Contains(none.err, "no places of your own"));
}

// A damaged file of one's own places is said by --mine, and leaves the towns found.
TEST(PlacesCli, ADamagedFileOfOwnPlacesLeavesTheTownsFound) {
    const std::string path = places::OwnPlacesPath();
    ASSERT_EQ(path.rfind(kData / "data", 0), 0u) << path;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "name,latitude,longitude,zone\n\xFF,34N,6W,0\n";
    const CliResult mine = RunCli({"places", "--mine"});
    const CliResult search = RunCli({"places", "Rabat", "--limit", "1", "--csv"});
    const CliResult placed = RunCli(With(kJanuary, {"--place", "Fès"}));
    std::filesystem::remove(path);
    EXPECT_EQ(mine.status, 2);
    EXPECT_TRUE(Contains(mine.err, path + ":2:")) << mine.err;
    EXPECT_EQ(search.status, 0) << search.err;
    EXPECT_TRUE(Contains(search.out, "Rabat"));
    EXPECT_TRUE(Contains(search.err, "they are left out of the search")) << search.err;
    EXPECT_EQ(placed.status, 0) << placed.err;
}

TEST(PlaceFields, AnglesAsTheFieldsWriteThem) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {{34.0132, "34 0 47.52"}, {-6.8326, "6 49 57.36"}, {21.4225, "21 25 21"},
        {39.8262, "39 49 34.32"}, {0, "0 0 0"}, {-0.0001, "0 0 0.36"}, {10.999999999, "11 0 0"},
        {179.9999, "179 59 59.64"}, {-90, "90 0 0"}, {1.5, "1 30 0"}, {0.0125, "0 0 45"}};
    const std::pair<double, const char*> hours[] = {
        {-1, "-1"}, {5.5, "5.5"}, {0, "0"}, {-0.0, "0"}, {-5.75, "-5.75"}, {14, "14"}};
    // clang-format on
    for (const auto& [degrees, dms] : cases) {
        const places::AngleTexts a = places::AngleFieldTexts(degrees);
        EXPECT_EQ(a.degrees + " " + a.minutes + " " + a.seconds, dms) << degrees;
    }
    for (const auto& [h, text] : hours) EXPECT_EQ(places::HoursText(h), text);
}

TEST(PlaceFields, TheZoneAndTheSummerTimeOfTheDate) {
    // The database's offsets (Paris, Casablanca +1 since 2018, Santiago in January) as fields.
    // clang-format off
    const struct { double lat, lon; const char* zone; services::Civil local; const char* fields; } cases[] = {
        {48.85, 2.35, "Europe/Paris", {2025, 1, 15, 12, 0, 0}, "-1 0 E N"}, {48.85, 2.35, "Europe/Paris", {2025, 7, 15, 12, 0, 0}, "-1 1 E N"},
        {48.85, 2.35, "Europe/Paris", {2025, 3, 30, 1, 0, 0}, "-1 0 E N"}, {48.85, 2.35, "Europe/Paris", {2025, 3, 30, 4, 0, 0}, "-1 1 E N"},
        {34.0132, -6.8326, "Africa/Casablanca", {2025, 1, 15, 12, 0, 0}, "-1 0 W N"}, {22.57, 88.36, "Asia/Kolkata", {2025, 1, 15, 12, 0, 0}, "-5.5 0 E N"},
        {-33.45, -70.66, "America/Santiago", {2025, 1, 15, 12, 0, 0}, "4 1 W S"}, {21.42, 39.83, "Asia/Riyadh", {2025, 7, 1, 12, 0, 0}, "-3 0 E N"}};
    // clang-format on
    std::string error;
    for (const auto& c : cases) {
        places::PlaceFields f;
        ASSERT_TRUE(places::FieldsOfPlace(Place("", c.lat, c.lon, c.zone), c.local, f, error))
            << error;
        EXPECT_EQ(f.place.fields.TxtZone + " " + f.place.fields.TxtEteRegl +
                      (f.place.east ? " E" : " W") + (f.place.north ? " N" : " S"),
                  c.fields)
            << c.zone << " " << c.local.month;
        EXPECT_TRUE(f.summerKnown);
    }
    // An own place's zone of whole hours is the zone; the summer field keeps its text.
    places::PlaceFields f;
    f.place.fields.TxtEteRegl = "1";
    ASSERT_TRUE(places::FieldsOfPlace(Place("", 0, 0, "-3"), {2025, 7, 1, 12, 0, 0}, f, error));
    EXPECT_EQ(f.place.fields.TxtZone + f.place.fields.TxtEteRegl, "-31");
    EXPECT_FALSE(f.summerKnown);
    // A zone the database does not have is said.
    EXPECT_FALSE(places::FieldsOfPlace(Place("", 0, 0, "Africa/Atlantis"), {2025, 7, 1, 12, 0, 0},
                                       f, error));
    EXPECT_TRUE(Contains(error, "Africa/Atlantis"));
}

class OwnPlacesTest : public ::testing::Test {
  protected:
    const ScratchFolder scratch_;
    const std::string folder_ = scratch_ / "own", path_ = folder_ + "/zerin/places.csv";
};

TEST_F(OwnPlacesTest, SavedPlacesReadBack) {
    const GazetteerPlace saved[] = {
        Place("مسجد الحي", 34.0132, -6.8326, "Africa/Casablanca"),
        Place("Fes, \"medina\"", 34.0628, -4.9781, "-1"),
        Place("#3 south", -33.9249, 18.4241, "Africa/Johannesburg"),
        Place("Null Island", 0, 0, "0"),
    };
    std::string error;
    for (const GazetteerPlace& p : saved)
        ASSERT_TRUE(places::SaveOwnPlace(path_, p, error)) << error;
    std::vector<GazetteerPlace> read;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error)) << error;
    ASSERT_EQ(read.size(), std::size(saved));
    for (std::size_t k = 0; k < read.size(); ++k) {
        EXPECT_EQ(read[k].name + read[k].zone, saved[k].name + saved[k].zone);
        EXPECT_NEAR(read[k].latitude, saved[k].latitude, 1e-6) << saved[k].name;
        EXPECT_NEAR(read[k].longitude, saved[k].longitude, 1e-6) << saved[k].name;
        EXPECT_TRUE(read[k].own);
    }
    // The file is a places file as --places reads it.
    EXPECT_TRUE(Contains(ReadFile(path_),
                         "name,latitude,longitude,zone\n"
                         "مسجد الحي,34:0:47.52N,6:49:57.36W,Africa/Casablanca\n"
                         "\"Fes, \"\"medina\"\"\",34:3:46.08N,4:58:41.16W,-1\n"))
        << ReadFile(path_);
    // Saving a name again replaces the place.
    ASSERT_TRUE(places::SaveOwnPlace(path_, Place("مسجد الحي", 35, -5, "Africa/Ceuta"), error));
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error));
    ASSERT_EQ(read.size(), std::size(saved));
    EXPECT_EQ(read[0].latitude, 35);
    EXPECT_EQ(read[0].zone, "Africa/Ceuta");
}

TEST_F(OwnPlacesTest, RefusedSavesLeaveTheFileAsItWas) {
    std::string error;
    ASSERT_TRUE(places::SaveOwnPlace(path_, Place("Home", 34, -6, "0"), error));
    const std::pair<GazetteerPlace, const char*> refused[] = {
        {Place("", 1, 1, "0"), "needs a name"},
        {Place("a\nb", 1, 1, "0"), "one line"},
        {Place(std::string(61, 'x'), 1, 1, "0"), "at most 60"},
        {Place("Delhi", 28.6, 77.2, "-5.5"), "zone"},  // the places file takes whole hours
        {Place("Nowhere", 1, 1, "Africa/Atlantis"), "zone"},
    };
    for (const auto& [place, message] : refused) {
        error.clear();
        EXPECT_FALSE(places::SaveOwnPlace(path_, place, error)) << place.name;
        EXPECT_TRUE(Contains(error, message)) << error;
    }
    // A folder that cannot be written: the message names the file, the old file stays.
    ::chmod((folder_ + "/zerin").c_str(), 0555);
    if (::access((folder_ + "/zerin").c_str(), W_OK) != 0) {
        EXPECT_FALSE(places::SaveOwnPlace(path_, Place("Work", 33, -7, "0"), error));
        EXPECT_TRUE(Contains(error, path_)) << error;
    }
    ::chmod((folder_ + "/zerin").c_str(), 0755);
    std::vector<GazetteerPlace> read;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error)) << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, "Home");
    // No stray temporary file is left beside it: the file and its lock.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ + "/zerin"),
                            std::filesystem::directory_iterator()),
              2);
}

// No file is no place; a damaged file is said with its line, and not overwritten by a save.
TEST_F(OwnPlacesTest, ADamagedFileIsSaidWithItsLine) {
    std::vector<GazetteerPlace> read = {Place("x", 0, 0, "0")};
    std::string error;
    EXPECT_TRUE(places::LoadOwnPlaces(path_, read, error));
    EXPECT_TRUE(read.empty());
    std::filesystem::create_directories(folder_ + "/zerin");
    std::ofstream(path_) << "name,latitude,longitude,zone\nHome,95N,6W,0\n";
    EXPECT_FALSE(places::LoadOwnPlaces(path_, read, error));
    EXPECT_TRUE(Contains(error, ":2:")) << error;
    EXPECT_FALSE(places::SaveOwnPlace(path_, Place("Work", 33, -7, "0"), error));
    EXPECT_EQ(ReadFile(path_), "name,latitude,longitude,zone\nHome,95N,6W,0\n");
}

// Two processes saving 50 places each into one file at once: the lock keeps all 100.
TEST_F(OwnPlacesTest, TwoProcessesSavingAtOnceLoseNoPlace) {
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        ASSERT_GE(children[c] = ::fork(), 0);
        if (children[c] > 0) continue;
        std::string error;
        for (int k = 0; k < 50; ++k)
            if (!places::SaveOwnPlace(
                    path_, Place(std::to_string(c) + "-" + std::to_string(k), k, c, "0"), error))
                ::_exit(1);
        ::_exit(0);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<GazetteerPlace> read;
    std::string error;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error)) << error;
    EXPECT_EQ(read.size(), 100u);
}

// A linked places.csv is followed; names composed differently are both read; a resave keeps one.
TEST_F(OwnPlacesTest, ALinkIsFollowedAndNamesAlikeAreKept) {
    const std::string dotfiles = folder_ + "/dotfiles/places.csv", nfd = "Fe\xCC\x80s";
    for (const char* made : {"/dotfiles", "/zerin"})
        std::filesystem::create_directories(folder_ + made);
    std::ofstream(dotfiles) << "name,latitude,longitude,zone\nF\xC3\xA8s,34N,5W,0\n" + nfd +
                                   ",35N,5W,0\n";
    ASSERT_EQ(::symlink("../dotfiles/places.csv", path_.c_str()), 0);
    std::vector<GazetteerPlace> read;
    std::vector<std::string> alike;
    std::string error;
    ASSERT_TRUE(places::LoadOwnPlaces(path_, read, error, &alike)) << error;
    EXPECT_EQ(read.size(), 2u);
    EXPECT_EQ(alike, std::vector<std::string>{path_ + ":3: '" + nfd +
                                              "' is also the name on line 2 (the same letters, "
                                              "composed otherwise)"});
    ASSERT_TRUE(places::SaveOwnPlace(path_, Place(nfd, 36, -5, "0"), error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(ReadFile(dotfiles), places::OwnPlacesText({Place(nfd, 36, -5, "0")}));
}

TEST(OwnPlacesPath, InTheUsersDataFolder) {
    const char* home = std::getenv("HOME");
    const std::string saved = std::getenv("XDG_DATA_HOME"), savedHome = home ? home : "";
    ::setenv("XDG_DATA_HOME", "/tmp/data", 1);
    EXPECT_EQ(places::OwnPlacesPath(), "/tmp/data/zerin/places.csv");
    ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored, as the XDG rules say
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(places::OwnPlacesPath(), "/home/u/.local/share/zerin/places.csv");
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(places::OwnPlacesPath(), "");
    std::string error;
    EXPECT_FALSE(places::SaveOwnPlace("", GazetteerPlace{}, error));
    ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace zerin::test
