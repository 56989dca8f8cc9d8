// zerin places and --place NAME: the rows, the country, the nearest towns, own places, an
// unknown name, and a place's options against the same options given by hand.
#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "OwnPlaces.h"
#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

class PlacesCli : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ::setenv("ZERIN_GAZETTEER", (std::string(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt").c_str(),
                 1);
        // Absolute, or the XDG rules ignore it and the user's own file would be read and
        // written while other cases run beside this one.
        data_ = std::filesystem::absolute(Scratch("places_cli_data")).string();
        std::filesystem::remove_all(data_);
        ::setenv("XDG_DATA_HOME", data_.c_str(), 1);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(data_); }
    static std::string data_;
};
std::string PlacesCli::data_;

TEST_F(PlacesCli, ListsTheMatchesWithTheirColumns) {
    const CliResult r = RunCli({"places", "Rabat", "--limit", "1", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "name,latin_name,country,region,latitude,longitude,elevation_m,zone,population\n"
              "الرباط,Rabat,المغرب,04,34.0132N,6.8326W,46,Africa/Casablanca,1655753\n");
    // JSON: numbers named for their convention.
    const CliResult json = RunCli({"places", "Rabat", "--limit", "1", "--json"});
    EXPECT_TRUE(Contains(json.out, "\"lat\": 34.0132, \"lon_east\": -6.8326, ")) << json.out;
    // Words after the name are the name's: "Rabat, MT" unquoted.
    const CliResult malta = RunCli({"places", "Rabat,", "MT", "--json"});
    ASSERT_EQ(malta.status, 0) << malta.err;
    EXPECT_NE(malta.out.find("\"country\": \"مالطا\""), std::string::npos) << malta.out;
    EXPECT_EQ(malta.out.find("المغرب"), std::string::npos);
    const CliResult country = RunCli({"places", "فاس", "--country", "المغرب", "--csv"});
    ASSERT_EQ(country.status, 0) << country.err;
    EXPECT_EQ(country.out.rfind("name,", 0), 0u);
    EXPECT_NE(country.out.find("\nفاس,Fès,المغرب,"), std::string::npos) << country.out;
}

TEST_F(PlacesCli, NearestTowns) {
    for (const char* near : {"21.4225,39.8262", "21.4225N,39.8262E", "21:25:21N,39:49:34E"}) {
        const CliResult r = RunCli({"places", "--near", near, "--limit", "1", "--csv"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(",distance_km\nمكة,Mecca,"), std::string::npos) << r.out;
    }
}

// What `zerin places` writes, pasted into --lat and --lon (and --near), is the same place: the
// times of Rabat, not of a point 55 minutes East of it.
TEST_F(PlacesCli, CoordinatesCopiedMeanTheSamePlace) {
    const std::vector<std::vector<std::string>> rows =
        CsvRows(RunCli({"places", "Rabat", "--limit", "1", "--csv"}).out);
    ASSERT_EQ(rows.size(), 1u);
    const std::string span = " --tz Africa/Casablanca --from 2026-03-10 --days 1 --csv";
    EXPECT_EQ(RunCli(Words("times --lat " + rows[0][4] + " --lon " + rows[0][5] + span)).out,
              RunCli(Words("times --place Rabat" + span)).out);
    const CliResult near = RunCli({"places", "--near", rows[0][4] + "," + rows[0][5], "--csv"});
    EXPECT_NE(near.out.find("\nالرباط,Rabat,المغرب,"), std::string::npos) << near.out;
}

// A place named with --place is its coordinates and clock given by hand, in every command; a
// whole coordinate or zone given as well wins. Rabat (34.0132 N 6.8326 W) on Casablanca's clock:
// +1 in January, +0 in Ramadan (March 2025); Paris (48.8534 N 2.3488 E) in its summer; Fès
// stands 406 m above the sea, on a plain as high: no dip of the horizon.
TEST_F(PlacesCli, APlaceIsItsCoordinatesAndClockGivenByHand) {
    // The report's by hand in its own field options, the tables' in --lat and --lon.
    const std::string rabat = " --lat 34:0:47.52N --lon 6:49:57.36W", mecca = " --tz Asia/Riyadh",
                      lat = " --lat-deg 34 --lat-min 0 --lat-sec 47.52",
                      fields = " --lon-deg 6 --lon-min 49 --lon-sec 57.36 --west" + lat,
                      fes = " --lat 34:1:59.16N --lon 5:0:1.08W --tz Africa/Casablanca",
                      span = " --from 2025-06-01 --days 2 --csv";
    const auto at = [](const char* date, const char* hour) {
        const std::string d = date;
        return " --year " + d.substr(0, 4) + " --month " + d.substr(5, 2) + " --day " +
               d.substr(8) + " --hour " + hour + " --minute 0 --second 0";
    };
    const std::string january = at("2025-01-15", "12");
    // clang-format off
    const std::vector<std::array<std::string, 3>> kCases = {  // named, by hand, both
        {"report sun --place الرباط", "report sun" + fields + " --zone -1 --summer 0", january},
        {"report sun --place Rabat", "report sun" + fields + " --zone -1 --summer -1", at("2025-03-10", "5")},
        {"report sun --place Paris", "report sun --lon-deg 2 --lon-min 20 --lon-sec 55.68 --east --lat-deg 48 --lat-min 51 --lat-sec 12.24 --zone -1 --summer 1", at("2025-07-14", "21")},
        {"report sun --lon 5:0:30E --place Rabat", "report sun --lon-deg 5 --lon-min 0 --lon-sec 30 --east" + lat + " --zone -1 --summer 0", january},
        {"report sun --place Rabat --zone 3", "report sun" + fields + " --zone 3", january},
        {"report qibla --place Rabat", "report qibla" + fields + " --zone -1 --summer 0", at("2025-05-28", "12")},
        {"times --place Rabat", "times" + rabat + " --tz Africa/Casablanca", span},
        {"times --place Fès", "times" + fes, span},
        {"times --place Fès --elevation 30", "times --elevation 30" + fes, span},
        {"times --place Rabat --tz Europe/Paris", "times" + rabat + " --tz Europe/Paris", span},
        {"times --lat 30N --place Rabat", "times --lat 30N --lon 6:49:57.36W --tz Africa/Casablanca", span},
        {"crescent --place جدة", "crescent --lat 21:29:24.36N --lon 39:11:10.32E" + mecca, span},
        {"ephemeris moon --place Mecca", "ephemeris moon --lat 21:25:35.76N --lon 39:49:32.16E" + mecca,
         " --step 1d --from 2025-06-01 --to 2025-06-02 --csv"},
        // The Hijri calendar by sighting at Mecca: the place's standard time as --zone.
        {"hijri --place مكة", "hijri --lat 21:25:35.76N --lon 39:49:32.16E --zone -3", " 2025-03-01 --rule sighting"},
    };
    // clang-format on
    for (const auto& [named, byHand, both] : kCases) {
        const CliResult a = RunCli(Words(named + both)), b = RunCli(Words(byHand + both));
        ASSERT_EQ(a.status, 0) << named << ": " << a.err;
        ASSERT_EQ(b.status, 0) << byHand << ": " << b.err;
        EXPECT_EQ(a.out, b.out) << named;
    }
}

// A timetable's page is headed by the place's name, unless --name gives another.
TEST_F(PlacesCli, ThePlacesNameHeadsTheTimetablesPage) {
    if (std::system("pdftotext -v > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
    const std::pair<const char*, const char*> cases[] = {{"", "فاس"}, {" --name Medina", "Medina"}};
    for (const auto& [more, heading] : cases) {
        const std::string pdf = Scratch("places_cli_page.pdf"), text = pdf + ".txt";
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
        EXPECT_NE(words.find(heading), std::string::npos) << words.substr(0, 400);
        std::remove(pdf.c_str());
        std::remove(text.c_str());
    }
}

TEST_F(PlacesCli, AnAmbiguousNameIsNamedOnStandardError) {
    const CliResult r = RunCli(With(ReportArgs("sun", "2025", "1", "15"), {"--place", "Rabat"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "zerin: 'Rabat' names more than one place: Rabat الرباط, المغرب MA (34.0132N "
              "6.8326W, Africa/Casablanca) is taken; add the country to choose another "
              "(\"Rabat, CC\"), or see zerin places 'Rabat'\n");
    // One Fès only, in either script: nothing to say.
    for (const char* fes : {"Fès", "فاس", "Rabat, MT", "جدة"}) {
        const CliResult one = RunCli(With(ReportArgs("sun", "2025", "1", "15"), {"--place", fes}));
        EXPECT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(one.err, "") << fes;
    }
    // The start of a name only is no place's name: refused, the town it starts named first
    // ("Rabbat" starts Amman's old name Rabbath Ammon).
    const std::pair<const char*, const char*> starts[] = {
        {"Casabl", "no place is named 'Casabl'; the nearest names: Casablanca الدار البيضاء"},
        {"Rabbat", "no place is named 'Rabbat'; the nearest names: "},
    };
    for (const auto& [name, message] : starts) {
        const CliResult start =
            RunCli(With(ReportArgs("sun", "2025", "1", "15"), {"--place", name}));
        EXPECT_EQ(start.status, 2) << name;
        EXPECT_TRUE(start.out.empty()) << name;
        EXPECT_EQ(start.err.rfind(std::string("zerin: ") + message, 0), 0u) << start.err;
    }
}

// A field's raw text is the field's, whatever it reads: "--place" after --second is the
// second's text (read as 0), not the place option.
TEST_F(PlacesCli, AFieldsTextIsNeverThePlaceOption) {
    const CliResult text = RunCli(ReportArgs("sun", "2025", "1", "15", "12", "0", "--place"));
    const CliResult zero = RunCli(ReportArgs("sun", "2025", "1", "15", "12", "0", "0"));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, zero.out);
}

TEST_F(PlacesCli, OwnPlacesByName) {
    places::GazetteerPlace mosque;
    mosque.name = "مسجد الحي";
    mosque.latitude = 34.0132;
    mosque.longitude = -6.8326;
    mosque.zone = "Africa/Casablanca";
    std::string error;
    ASSERT_TRUE(places::SaveOwnPlace(places::OwnPlacesPath(), mosque, error)) << error;
    const CliResult mine = RunCli({"places", "--mine", "--csv"});
    ASSERT_EQ(mine.status, 0) << mine.err;
    EXPECT_EQ(mine.out,
              "name,latin_name,country,region,latitude,longitude,elevation_m,zone,population\n"
              "مسجد الحي,مسجد الحي,,,34.0132N,6.8326W,,Africa/Casablanca,\n");
    const std::vector<std::string> when = ReportArgs("sun", "2025", "1", "15");
    const CliResult own = RunCli(With(when, {"--place", "مسجد الحي"}));
    const CliResult town = RunCli(With(when, {"--place", "Rabat, MA"}));
    ASSERT_EQ(own.status, 0) << own.err;
    EXPECT_EQ(own.out, town.out);
    EXPECT_TRUE(own.err.empty()) << own.err;
    // First in the search.
    const CliResult search = RunCli({"places", "مسجد", "--csv", "--limit", "1"});
    EXPECT_NE(search.out.find("\nمسجد الحي,"), std::string::npos) << search.out;
    std::filesystem::remove(places::OwnPlacesPath());
    const CliResult none = RunCli({"places", "--mine"});
    EXPECT_EQ(none.status, 0);
    EXPECT_NE(none.err.find("no places of your own"), std::string::npos);
}

TEST_F(PlacesCli, AMissingGazetteerIsSaid) {
    ::setenv("ZERIN_GAZETTEER", "/nonexistent/gazetteer.txt", 1);
    const CliResult r = RunCli({"places", "Rabat"});
    ::setenv("ZERIN_GAZETTEER", (std::string(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt").c_str(), 1);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("cannot open the gazetteer '/nonexistent/gazetteer.txt'"),
              std::string::npos)
        << r.err;
}

// A damaged file of one's own places is said by --mine, and leaves the towns found.
TEST_F(PlacesCli, ADamagedFileOfOwnPlacesLeavesTheTownsFound) {
    const std::string path = places::OwnPlacesPath();
    ASSERT_EQ(path.rfind(data_, 0), 0u) << path;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    {
        std::FILE* file = std::fopen(path.c_str(), "w");
        std::fputs("name,latitude,longitude,zone\n\xFF,34N,6W,0\n", file);
        std::fclose(file);
    }
    const CliResult mine = RunCli({"places", "--mine"});
    const CliResult search = RunCli({"places", "Rabat", "--limit", "1", "--csv"});
    const CliResult placed = RunCli(With(ReportArgs("sun", "2025", "1", "15"), {"--place", "Fès"}));
    std::filesystem::remove(path);
    EXPECT_EQ(mine.status, 2);
    EXPECT_NE(mine.err.find(path + ":2:"), std::string::npos) << mine.err;
    EXPECT_EQ(search.status, 0) << search.err;
    EXPECT_NE(search.out.find("Rabat"), std::string::npos);
    EXPECT_NE(search.err.find("they are left out of the search"), std::string::npos) << search.err;
    EXPECT_EQ(placed.status, 0) << placed.err;
}

}  // namespace
}  // namespace zerin::test
