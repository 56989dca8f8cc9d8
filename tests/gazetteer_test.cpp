// The gazetteer: the normalisation of names, the search (exactness, population, country),
// the nearest towns, the countries' Arabic names, and the shipped file read whole.
#include "Gazetteer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

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
    const std::pair<const char*, const char*> cases[] = {
        {"أسوان", "اسوان"},              // hamza above the alef
        {"إربد", "اربد"},                // hamza below
        {"آسفي", "اسفي"},                // madda
        {"ٱلقدس", "قدس"},                // wasla, then the article
        {"جدة", "جده"},                  // taa marbuta
        {"المنيا", "منيا"},              // the article
        {"طنطى", "طنطي"},                // alef maqsura
        {"الربـــاط", "رباط"},           // tatweel
        {"مَكَّةُ", "مكه"},                  // harakat and shadda
        {"الدار البيضاء", "دار بيضاء"},  // the article of each word
        {"ال", "ال"},                    // nothing after the article: kept
        {"رباط، مالطا", "رباط مالطا"},   // the Arabic comma is a blank
        {"Fès", "fes"},
        {"FES", "fes"},
        {"São Paulo", "sao paulo"},
        {"İstanbul", "istanbul"},
        {"Straße", "strasse"},
        {"Al-Jadida", "al jadida"},
        {"  Rabat   Salé ", "rabat sale"},
        {"Ra\xFF"
         "bat",
         "rabat"},  // a byte that is not UTF-8 is left out
        {"N'Djamena", "ndjamena"},
        {"St. Louis", "st louis"},
        {"", ""},
    };
    for (const auto& [name, normalised] : cases) EXPECT_EQ(NormaliseName(name), normalised) << name;
}

struct Expected {
    const char* query;
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
        {"Rabat", "Rabat", "MA", 34.013, -6.833, "Africa/Casablanca"},
        {"الرباط", "Rabat", "MA", 34.013, -6.833, "Africa/Casablanca"},
        {"رباط", "Rabat", "MA", 34.013, -6.833, "Africa/Casablanca"},
        {"rabat", "Rabat", "MA", 34.013, -6.833, "Africa/Casablanca"},
        {"Fès", "Fès", "MA", 34.03, -5.00, "Africa/Casablanca"},
        {"Fes", "Fès", "MA", 34.03, -5.00, "Africa/Casablanca"},
        {"FES", "Fès", "MA", 34.03, -5.00, "Africa/Casablanca"},
        {"فاس", "Fès", "MA", 34.03, -5.00, "Africa/Casablanca"},
        {"مكة", "Mecca", "SA", 21.42, 39.83, "Asia/Riyadh"},
        {"مكه", "Mecca", "SA", 21.42, 39.83, "Asia/Riyadh"},
        {"Makkah", "Mecca", "SA", 21.42, 39.83, "Asia/Riyadh"},
        {"Mecca", "Mecca", "SA", 21.42, 39.83, "Asia/Riyadh"},
        {"جدة", "Jeddah", "SA", 21.54, 39.17, "Asia/Riyadh"},
        {"جده", "Jeddah", "SA", 21.54, 39.17, "Asia/Riyadh"},
        {"Rabat, MT", "Rabat", "MT", 35.88, 14.40, "Europe/Malta"},
        {"رباط، مالطا", "Rabat", "MT", 35.88, 14.40, "Europe/Malta"},
        {"rabat,malta", "Rabat", "MT", 35.88, 14.40, "Europe/Malta"},
        {"Casab", "Casablanca", "MA", 33.59, -7.62, "Africa/Casablanca"},
        {"الدار الب", "Casablanca", "MA", 33.59, -7.62, "Africa/Casablanca"},
    };
    for (const Expected& e : cases) {
        const std::vector<GazetteerPlace> found = Shipped().Search(e.query);
        ASSERT_FALSE(found.empty()) << e.query;
        const GazetteerPlace& p = found.front();
        EXPECT_EQ(p.latinName, e.latin) << e.query;
        EXPECT_EQ(p.country, e.country) << e.query;
        EXPECT_NEAR(p.latitude, e.latitude, 0.06) << e.query;
        EXPECT_NEAR(p.longitude, e.longitude, 0.06) << e.query;
        EXPECT_EQ(p.zone, e.zone) << e.query;
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

TEST(Gazetteer, ATownWithoutAnArabicNameShowsItsLatinName) {
    const std::vector<GazetteerPlace> found = Shipped().Search("Ordino", "AD", 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].arabicName.empty());
    EXPECT_EQ(found[0].name, "Ordino");
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

struct ShownName {
    const char* query;
    const char* country;
    std::vector<std::string> arabic;  // the spellings an Arabic reader takes for the town's name
};

TEST(Gazetteer, LargeTownsShowTheNameAnArabicReaderKnows) {
    // The names as an Arabic newspaper writes them, not taken from the data: where two
    // spellings are both usual, either is right.
    const ShownName cases[] = {
        {"Rabat", "MA", {"الرباط"}},
        {"Casablanca", "MA", {"الدار البيضاء"}},
        {"Fès", "MA", {"فاس"}},
        {"Marrakesh", "MA", {"مراكش"}},
        {"Algiers", "DZ", {"الجزائر"}},
        {"Oran", "DZ", {"وهران"}},
        {"Constantine", "DZ", {"قسنطينة"}},
        {"Tunis", "TN", {"تونس"}},
        {"Sfax", "TN", {"صفاقس"}},
        {"Tripoli", "LY", {"طرابلس"}},
        {"Benghazi", "LY", {"بنغازي"}},
        {"Cairo", "EG", {"القاهرة"}},
        {"Alexandria", "EG", {"الإسكندرية", "الاسكندرية"}},
        {"Khartoum", "SD", {"الخرطوم"}},
        {"Nouakchott", "MR", {"نواكشوط"}},
        {"Mogadishu", "SO", {"مقديشو", "مقديشيو"}},
        {"Djibouti", "DJ", {"جيبوتي"}},
        {"Damascus", "SY", {"دمشق"}},
        {"Aleppo", "SY", {"حلب"}},
        {"Homs", "SY", {"حمص"}},
        {"Beirut", "LB", {"بيروت"}},
        {"Tripoli", "LB", {"طرابلس"}},
        {"Amman", "JO", {"عمّان", "عمان"}},
        {"Irbid", "JO", {"إربد", "اربد"}},
        {"Jerusalem", "", {"القدس"}},
        {"Gaza", "PS", {"غزة"}},
        {"Baghdad", "IQ", {"بغداد"}},
        {"Basrah", "IQ", {"البصرة"}},
        {"Mosul", "IQ", {"الموصل"}},
        {"Kuwait City", "KW", {"الكويت", "مدينة الكويت"}},
        {"Riyadh", "SA", {"الرياض"}},
        {"Mecca", "SA", {"مكة المكرمة", "مكة"}},
        {"Jeddah", "SA", {"جدة"}},
        {"Medina", "SA", {"المدينة المنورة", "المدينة"}},
        {"Doha", "QA", {"الدوحة"}},
        {"Manama", "BH", {"المنامة"}},
        {"Abu Dhabi", "AE", {"أبوظبي", "أبو ظبي"}},
        {"Dubai", "AE", {"دبي"}},
        {"Muscat", "OM", {"مسقط"}},
        {"Sanaa", "YE", {"صنعاء"}},
        {"Aden", "YE", {"عدن"}},
        {"London", "GB", {"لندن"}},
        {"Madrid", "ES", {"مدريد"}},
        {"Paris", "FR", {"باريس"}},
        {"Berlin", "DE", {"برلين"}},
        {"Istanbul", "TR", {"إسطنبول", "اسطنبول"}},
        {"Tehran", "IR", {"طهران"}},
    };
    for (const ShownName& c : cases) {
        const std::vector<GazetteerPlace> found = Shipped().Search(c.query, c.country, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        EXPECT_NE(std::find(c.arabic.begin(), c.arabic.end(), found[0].arabicName), c.arabic.end())
            << c.query << ", " << c.country << ": " << found[0].arabicName;
        EXPECT_EQ(found[0].name, found[0].arabicName) << c.query;
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
    GazetteerPlace mosque;
    mosque.name = mosque.latinName = "مسجد الحي";
    mosque.own = true;
    GazetteerPlace home;
    home.name = home.latinName = "Rabat home";
    home.own = true;
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

TEST(Gazetteer, NearestTowns) {
    const auto near = Shipped().Nearest(34.0133, -6.8326, 3);
    ASSERT_EQ(near.size(), 3u);
    EXPECT_EQ(near[0].first.latinName, "Rabat");
    EXPECT_LT(near[0].second, 0.1);
    EXPECT_LE(near[1].second, near[2].second);
    // Across the antimeridian.
    const auto fiji = Shipped().Nearest(-16.8, 179.99, 1);
    ASSERT_EQ(fiji.size(), 1u);
    EXPECT_LT(fiji[0].second, 100);
}

TEST(Gazetteer, DistanceOnTheSphere) {
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

TEST(Gazetteer, DamagedFilesAreRefusedWithTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "line 0: no \"zones\" count"},
        {"zones\t1\nUTC\nplaces\t1\nRabat\t\tMA\n", "line 4: a place of other than 9 fields"},
        {"zones\t1\nUTC\nplaces\t2\nA\t\tMA\t\t1\t2\t\t0\t5\n",
         "line 4: the file ends within the places"},
        {"zones\t1\nUTC\nplaces\t1\nA\t\tMA\t\t1\t2\t\t0\t5\nkeys\t1\na\t1\n",
         "line 6: a key without the number of a place"},
        {"zones\t1\nUTC\nplaces\t1\nA\t\tMA\t\t1\t2\t\t0\t5\nkeys\t2\nb\t0\na\t0\n",
         "line 7: the keys are not in order"},
        {"# head\nzones\tmany\n", "line 2: no \"zones\" count"},
    };
    for (const auto& [text, message] : cases) {
        Gazetteer g;
        std::string error;
        EXPECT_FALSE(g.Parse(text, "test.txt", error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_NE(error.find("test.txt"), std::string::npos) << error;
        EXPECT_TRUE(g.Search("a").empty());
    }
    Gazetteer g;
    std::string error;
    EXPECT_FALSE(g.Load("/nonexistent/gazetteer.txt", error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
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
