// The gazetteer: the normalisation of names, the search (exactness, population, country),
// the nearest towns, the countries' Arabic names, and the shipped file read whole.
#include "Gazetteer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

using places::Gazetteer;
using places::GazetteerPlace;
using places::NormaliseName;

const std::string kGazetteerPath = std::string(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt";

const Gazetteer& Shipped() {
    static const Gazetteer gazetteer = [] {
        Gazetteer g;
        std::string error;
        if (!g.Load(kGazetteerPath, error)) ADD_FAILURE() << error;
        return g;
    }();
    return gazetteer;
}

TEST(Gazetteer, EachNormalisation) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"أسوان", "اسوان"}, {"إربد", "اربد"}, {"آسفي", "اسفي"},  // hamza above, below, madda
        {"ٱلقدس", "قدس"}, {"جدة", "جده"}, {"المنيا", "منيا"},      // wasla, taa marbuta, article
        {"طنطى", "طنطي"}, {"الربـــاط", "رباط"}, {"مَكَّةُ", "مكه"},  // maqsura, tatweel, harakat
        {"الدار البيضاء", "دار بيضاء"},  // the article of each word
        {"ال", "ال"},                    // nothing after the article: kept
        {"رباط، مالطا", "رباط مالطا"},   // the Arabic comma is a blank
        {"Fès", "fes"}, {"FES", "fes"}, {"São Paulo", "sao paulo"}, {"İstanbul", "istanbul"},
        {"Straße", "strasse"}, {"Al-Jadida", "al jadida"}, {"  Rabat   Salé ", "rabat sale"},
        {"Ra\xFF" "bat", "rabat"},  // a byte that is not UTF-8 is left out
        {"N'Djamena", "ndjamena"}, {"St. Louis", "st louis"}, {"", ""},
    };
    // clang-format on
    for (const auto& [name, normalised] : cases) EXPECT_EQ(NormaliseName(name), normalised) << name;
}

struct Expected {
    std::vector<const char*> queries;
    const char* latin;
    const char* country;
    double latitude, longitude;
    const char* zone;
};

TEST(Gazetteer, FindsTheTownsByTheirNames) {
    // Coordinates as published (the Rabat; Wikipedia's Fès, Mecca, Jeddah and
    // Rabat, Malta), to 0.06 degree (a town is some kilometres wide: GeoNames puts Jeddah's
    // point 5 km from Wikipedia's).
    const Expected cases[] = {
        {{"Rabat", "الرباط", "رباط", "rabat"}, "Rabat", "MA", 34.013, -6.833, "Africa/Casablanca"},
        {{"Fès", "Fes", "FES", "فاس"}, "Fès", "MA", 34.03, -5.00, "Africa/Casablanca"},
        {{"مكة", "مكه", "Makkah", "Mecca"}, "Mecca", "SA", 21.42, 39.83, "Asia/Riyadh"},
        {{"جدة", "جده"}, "Jeddah", "SA", 21.54, 39.17, "Asia/Riyadh"},
        {{"Rabat, MT", "رباط، مالطا", "rabat,malta"}, "Rabat", "MT", 35.88, 14.40, "Europe/Malta"},
        {{"Casab", "الدار الب"}, "Casablanca", "MA", 33.59, -7.62, "Africa/Casablanca"},
    };
    for (const Expected& e : cases) {
        for (const char* query : e.queries) {
            const std::vector<GazetteerPlace> found = Shipped().Search(query);
            ASSERT_FALSE(found.empty()) << query;
            const GazetteerPlace& p = found.front();
            EXPECT_EQ(p.latinName, e.latin) << query;
            EXPECT_EQ(p.country, e.country) << query;
            EXPECT_NEAR(p.latitude, e.latitude, 0.06) << query;
            EXPECT_NEAR(p.longitude, e.longitude, 0.06) << query;
            EXPECT_EQ(p.zone, e.zone) << query;
        }
    }
}

TEST(Gazetteer, RabatIsTheCapitalFirstAndMaltasAfterIt) {
    const std::vector<GazetteerPlace> found = Shipped().Search("Rabat", "", 50);
    std::vector<std::string> countries;
    for (const GazetteerPlace& p : found)
        if (p.latinName == "Rabat") countries.push_back(p.country);
    ASSERT_GE(countries.size(), 2u);
    EXPECT_EQ(countries[0], "MA");
    EXPECT_NE(std::find(countries.begin(), countries.end(), "MT"), countries.end());
    // The capital's Arabic name is shown, with its elevation and population.
    EXPECT_EQ(found[0].name, "الرباط");
    EXPECT_EQ(found[0].arabicName, "الرباط");
    ASSERT_TRUE(found[0].elevation);
    EXPECT_GT(found[0].population, 1000000);
    // The country narrows the search, given apart or after a comma.
    for (const auto& [query, country] :
         {std::pair{"Rabat", "MT"}, {"Rabat, mt", ""}, {"Rabat,Malta", ""}, {"رباط، مالطا", ""}}) {
        const std::vector<GazetteerPlace> maltese = Shipped().Search(query, country, 5);
        ASSERT_FALSE(maltese.empty()) << query;
        for (const GazetteerPlace& p : maltese) EXPECT_EQ(p.country, "MT") << query;
    }
}

TEST(Gazetteer, ExactNamesComeBeforeLargerTownsThatStartWithThem) {
    // San (Mali) before San Francisco, Santiago, Sana'a ..., though smaller than each.
    const std::vector<GazetteerPlace> found = Shipped().Search("San", "", 10);
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(NormaliseName(found[0].latinName), "san");
    EXPECT_NE(NormaliseName(found.back().latinName), "san");
    // Then by population, largest first.
    for (std::size_t k = 2; k < found.size(); ++k)
        if (NormaliseName(found[k - 1].latinName) != "san") {
            EXPECT_GE(found[k - 1].population, found[k].population) << found[k].latinName;
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
    EXPECT_EQ(near[0].latinName, "Rabat");
    EXPECT_EQ(near[0].country, "MA");
}

// The nearest names: the least edit distance of any of a place's keys, ties by the place's
// order, each place once (the distances worked by hand).
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

struct ShownName {
    const char* query;
    const char* country;
    std::vector<std::string> arabic;  // the spellings an Arabic reader takes for the town's name
};

TEST(Gazetteer, LargeTownsShowTheNameAnArabicReaderKnows) {
    // The names as an Arabic newspaper writes them, not taken from the data: where two
    // spellings are both usual, either is right.
    // clang-format off
    const ShownName cases[] = {
        {"Rabat", "MA", {"الرباط"}}, {"Casablanca", "MA", {"الدار البيضاء"}}, {"Fès", "MA", {"فاس"}},
        {"Marrakesh", "MA", {"مراكش"}}, {"Algiers", "DZ", {"الجزائر"}}, {"Oran", "DZ", {"وهران"}},
        {"Constantine", "DZ", {"قسنطينة"}}, {"Tunis", "TN", {"تونس"}}, {"Sfax", "TN", {"صفاقس"}},
        {"Tripoli", "LY", {"طرابلس"}}, {"Benghazi", "LY", {"بنغازي"}}, {"Cairo", "EG", {"القاهرة"}},
        {"Alexandria", "EG", {"الإسكندرية", "الاسكندرية"}}, {"Khartoum", "SD", {"الخرطوم"}},
        {"Nouakchott", "MR", {"نواكشوط"}}, {"Mogadishu", "SO", {"مقديشو", "مقديشيو"}},
        {"Djibouti", "DJ", {"جيبوتي"}}, {"Damascus", "SY", {"دمشق"}}, {"Aleppo", "SY", {"حلب"}},
        {"Homs", "SY", {"حمص"}}, {"Beirut", "LB", {"بيروت"}}, {"Tripoli", "LB", {"طرابلس"}},
        {"Amman", "JO", {"عمّان", "عمان"}}, {"Irbid", "JO", {"إربد", "اربد"}},
        {"Jerusalem", "", {"القدس"}}, {"Gaza", "PS", {"غزة"}}, {"Baghdad", "IQ", {"بغداد"}},
        {"Basrah", "IQ", {"البصرة"}}, {"Mosul", "IQ", {"الموصل"}},
        {"Kuwait City", "KW", {"الكويت", "مدينة الكويت"}}, {"Riyadh", "SA", {"الرياض"}},
        {"Mecca", "SA", {"مكة المكرمة", "مكة"}}, {"Jeddah", "SA", {"جدة"}},
        {"Medina", "SA", {"المدينة المنورة", "المدينة"}}, {"Doha", "QA", {"الدوحة"}},
        {"Manama", "BH", {"المنامة"}}, {"Abu Dhabi", "AE", {"أبوظبي", "أبو ظبي"}},
        {"Dubai", "AE", {"دبي"}}, {"Muscat", "OM", {"مسقط"}}, {"Sanaa", "YE", {"صنعاء"}},
        {"Aden", "YE", {"عدن"}}, {"London", "GB", {"لندن"}}, {"Madrid", "ES", {"مدريد"}},
        {"Paris", "FR", {"باريس"}}, {"Berlin", "DE", {"برلين"}},
        {"Istanbul", "TR", {"إسطنبول", "اسطنبول"}}, {"Tehran", "IR", {"طهران"}},
        {"Ordino", "AD", {""}},  // no Arabic name: the Latin one is shown
    };
    // clang-format on
    for (const ShownName& c : cases) {
        const std::vector<GazetteerPlace> found = Shipped().Search(c.query, c.country, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        EXPECT_NE(std::find(c.arabic.begin(), c.arabic.end(), found[0].arabicName), c.arabic.end())
            << c.query << ", " << c.country << ": " << found[0].arabicName;
        EXPECT_EQ(found[0].name, c.arabic[0][0] ? found[0].arabicName : c.query) << c.query;
    }
}

TEST(Gazetteer, TheOtherArabicNamesStillFindTheTown) {
    // The names no longer shown are search names still.
    const std::pair<const char*, const char*> cases[] = {
        {"خرطوم", "SD"},       {"طرابلس الشام", "LB"}, {"بيت المقدس", ""}, {"مكة المكرمة", "SA"},
        {"ولاية وهران", "DZ"}, {"كازابلانكا", "MA"},   {"عمان", "JO"},     {"أورشليم", ""},
    };
    for (const auto& [query, country] : cases)
        EXPECT_FALSE(Shipped().Search(query, country, 1).empty()) << query;
}

TEST(Gazetteer, OwnPlacesComeFirst) {
    Gazetteer g = Shipped();
    GazetteerPlace mosque, home;
    mosque.name = mosque.latinName = "مسجد الحي";
    home.name = home.latinName = "Rabat home";
    mosque.own = home.own = true;
    g.SetOwnPlaces({mosque, home});
    const std::vector<GazetteerPlace> rabat = g.Search("rabat", "", 3);
    ASSERT_EQ(rabat.size(), 3u);
    EXPECT_EQ(rabat[0].name, "Rabat home");
    EXPECT_EQ(rabat[1].country, "MA");
    const std::vector<GazetteerPlace> mosques = g.Search("مسجد", "", 3);
    ASSERT_FALSE(mosques.empty());
    EXPECT_EQ(mosques[0].name, "مسجد الحي");
    // A country keeps the towns only.
    EXPECT_EQ(g.Search("rabat", "MA", 1)[0].country, "MA");
}

TEST(Gazetteer, NearestTownsOnTheSphere) {
    const auto near = Shipped().Nearest(34.0133, -6.8326, 3);
    ASSERT_EQ(near.size(), 3u);
    EXPECT_EQ(near[0].first.latinName, "Rabat");
    EXPECT_LT(near[0].second, 0.1);
    EXPECT_LE(near[1].second, near[2].second);
    // Across the antimeridian.
    const auto fiji = Shipped().Nearest(-16.8, 179.99, 1);
    ASSERT_EQ(fiji.size(), 1u);
    EXPECT_LT(fiji[0].second, 100);
    // A quarter of a meridian and a degree of the equator on a sphere of 6371.0088 km.
    EXPECT_NEAR(places::DistanceKm(0, 0, 90, 0), 10007.557, 0.001);
    EXPECT_NEAR(places::DistanceKm(0, 179.5, 0, -179.5), 111.195, 0.001);
    EXPECT_EQ(places::DistanceKm(21.4, 39.8, 21.4, 39.8), 0);
}

TEST(Gazetteer, CountriesInArabicFromIcu) {
    const std::pair<const char*, const char*> names[] = {
        {"MA", "المغرب"}, {"MT", "مالطا"}, {"EG", "مصر"}, {"DZ", "الجزائر"}, {"Q", "Q"}};
    for (const auto& [code, arabic] : names) EXPECT_EQ(places::CountryNameArabic(code), arabic);
    const std::pair<const char*, const char*> codes[] = {
        {"mt", "MT"},      {" MA ", "MA"},  {"Malta", "MT"},   {"مالطا", "MT"}, {"المغرب", "MA"},
        {"Morocco", "MA"}, {"الجزا", "DZ"}, {"Xyzzyland", ""}, {"", ""}};
    for (const auto& [text, code] : codes) EXPECT_EQ(places::CountryCodeOf(text), code) << text;
}

// A damaged or hostile file (through ZERIN_GAZETTEER): refused with its line and why, before
// anything is reserved for its counts; "" for a file read.
TEST(Gazetteer, DamagedFilesAreRefusedWithTheirLine) {
    const std::string z = "zones\t1\nUTC\nplaces\t", k = "keys\t1\na\t0\n";
    const auto town = [&z, &k](const std::string& lat, const std::string& lon,
                               const std::string& more = "\t\t0\t5\n") {
        return z + "1\nAbcdefghij\t\tMA\t\t" + lat + "\t" + lon + more + k;
    };
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 0 (no \"zones\" count"},
        {"# head\nzones\tmany\n", "line 2 (no \"zones\" count"},
        {z + "1\nRabat\t\tMA\t34\t-6\t0\n", "line 4 (a place of other than 9 fields)"},
        {z + "2\nAbcdefghijklm\t\tMA\t\t1\t2\t\t0\t5\n",
         "line 4 (the file ends within the places)"},
        {z + "1\nA\t\tMA\t\t1\t2\t\t0\t5\nkeys\t1\na\t1\n", "line 6 (a key without the number"},
        {z + "1\nA\t\tMA\t\t1\t2\t\t0\t5\nkeys\t2\nb\t0\na\t0\n",
         "line 7 (the keys are not in order)"},
        {town("90", "-180"), ""},
        {town("-90", "180", "\t-430\t0\t0\n"), ""},
        {town("nan", "2"), "line 4 (a latitude that is not a number from -90 to 90: 'nan')"},
        {town("90.0001", "2"), "line 4 (a latitude that is not a number from -90 to 90"},
        {town("1e308", "2"), "line 4 (a latitude that is not a number"},
        {town("1", "inf"), "line 4 (a longitude that is not a number from -180 to 180: 'inf')"},
        {town("1", "-180.0001"), "line 4 (a longitude that is not a number"},
        {town("1", "2", "\tinf\t0\t5\n"), "line 4 (an elevation that is not a number of metres"},
        {town("1", "2", "\t\t1\t5\n"),
         "line 4 (a zone that is not the number of one of the 1 zones"},
        {town("1", "2", "\t\t0\t-5\n"), "line 4 (a population that is not a whole number"},
        {z + "18446744073709551615\n", "line 3 (a count of 18446744073709551615 places, more than"},
        {z + "4000000000\n" + std::string(1000, '\n'), "line 3 (a count of 4000000000 places"},
        {"zones\t4000000000\n", "line 1 (a count of 4000000000 zones"},
        {z + "1\nAbcdefghij\t\tMA\t\t1\t2\t\t0\t5\nkeys\t9999\n", "line 5 (a count of 9999 keys"},
    };
    for (const auto& [text, message] : cases) {
        Gazetteer g;
        std::string error;
        EXPECT_EQ(g.Parse(text, "test.txt", error), message.empty()) << text;
        if (message.empty()) continue;
        EXPECT_EQ(error.find("the gazetteer test.txt is damaged: " + message), 0u) << error;
        EXPECT_TRUE(g.Search("a").empty());
    }
}

// What is not a regular file is never opened (a FIFO would block for ever); the command
// line refuses a damaged gazetteer with exit status 2 and one line, for a search and --place.
TEST(Gazetteer, OnlyARegularFileIsRead) {
    const std::string fifo = Scratch("gazetteer.fifo"), nan = Scratch("gazetteer-nan.txt");
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
    ::setenv("XDG_DATA_HOME", "/nonexistent", 1);  // no own place named Rabat
    for (const auto& [path, message] : cases) {
        ::setenv("ZERIN_GAZETTEER", path.c_str(), 1);
        ExpectRefused({"places", "Rabat", "--json"}, message);
        ExpectRefused(With(ReportArgs("sun", "2025", "1", "15"), {"--place", "Rabat"}), message);
    }
    ::unsetenv("ZERIN_GAZETTEER");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(std::remove(fifo.c_str()) + std::remove(nan.c_str()), 0);
}

// Short of memory (children under ulimit -v, from what barely loads the program to what
// is enough): one line and exit status 1, or the work done; never an abort.
TEST(Gazetteer, NotEnoughMemoryIsSaid) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any ulimit -v allows";
#endif
    int short_ = 0;
    for (int limit = 36000; limit <= 64000; limit += 4000)
        for (const char* command : {" places Rabat", " report sun --place Rabat"}) {
            const ExeResult r = RunExe(command + std::string(" >/dev/null"),
                                       "ulimit -v " + std::to_string(limit) +
                                           "; ZERIN_GAZETTEER='" + kGazetteerPath + "' ");
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
    // Every town is found by its Latin and Arabic names as the program normalises them
    // (every 97th town: the file's keys were normalised by the conversion script).
    for (std::size_t k = 0; k < g.TownCount(); k += 97) {
        const GazetteerPlace town = g.Town(k);
        for (const std::string& name : {town.latinName, town.arabicName}) {
            if (name.empty()) continue;
            const std::vector<GazetteerPlace> found = g.Search(name, town.country, 1000);
            const bool there = std::any_of(found.begin(), found.end(), [&](const auto& p) {
                return p.latinName == town.latinName && p.latitude == town.latitude &&
                       p.longitude == town.longitude;
            });
            EXPECT_TRUE(there) << name << " (" << k << ")";
        }
    }
}

}  // namespace
}  // namespace zerin::test
