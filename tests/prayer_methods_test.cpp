// The timetables' methods, horizon and rules: each authority's method against the npm package
// adhan 4.4.6, the refracted horizon against the crescent report and published tables, the
// user's own settings, the days a clock skips, and each command's help.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "PrayerMethods.h"
#include "TablesTestSupport.h"
#include "Times.h"

namespace zerin::test {
namespace {

// A row of a CSV timetable by its header's keys (the comment line of the settings skipped).
std::vector<std::map<std::string, std::string>> KeyedRows(const std::string& csv) {
    std::istringstream lines(csv);
    std::string line;
    while (std::getline(lines, line) && line.rfind("# ", 0) == 0) {
    }
    std::vector<std::string> keys;
    std::istringstream header(line);
    for (std::string key; std::getline(header, key, ',');) keys.push_back(key);
    std::vector<std::map<std::string, std::string>> rows;
    for (const std::vector<std::string>& cells : CsvRows(csv)) {
        std::map<std::string, std::string> row;
        for (std::size_t k = 0; k < keys.size() && k < cells.size(); ++k) row[keys[k]] = cells[k];
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::map<std::string, std::string>> Table(const std::string& line) {
    const CliResult r = RunCli(Words(line));
    EXPECT_EQ(r.status, 0) << line << "\n" << r.err;
    return KeyedRows(r.out);
}

// "05:20", "00:40+1": minutes from the day's midnight.
int Minutes(const std::string& cell) {
    const int shift = cell.size() > 5 ? std::stoi(cell.substr(cell.size() - 2)) : 0;
    return std::stoi(cell.substr(0, 2)) * 60 + std::stoi(cell.substr(3, 2)) + shift * 1440;
}

// "05:20:07": seconds from the day's midnight.
int Seconds(const std::string& cell) {
    const int shift = cell.size() > 8 ? std::stoi(cell.substr(8)) : 0;
    return Minutes(cell.substr(0, 5)) * 60 + std::stoi(cell.substr(6, 2)) + shift * 86400;
}

std::string Lon(double east) {
    return std::to_string(std::fabs(east)) + (east >= 0 ? "E" : "W");
}

// adhan 4.4.6 with each method (bench/adhan/methods.js, its own rounding) on 15 March 2024, a
// day of Ramadan by the Umm al-Qura calendar: Fajr, sunrise, Dhuhr, both Asr, Maghrib, Isha.
struct AdhanDay {
    const char* method;
    const char* city;
    double lat, lon;  // North and East positive
    const char* zone;
    std::array<const char*, 7> times;
};
const AdhanDay kAdhanDays[] = {
    {"morocco",
     "Rabat",
     34.0209,
     -6.8416,
     "Africa/Casablanca",
     {"05:09", "06:37", "12:36", "16:01", "16:53", "18:35", "19:54"}},
    {"mwl",
     "London",
     51.5074,
     -0.1278,
     "Europe/London",
     {"04:21", "06:14", "12:10", "15:22", "16:10", "18:06", "19:52"}},
    {"isna",
     "New York",
     40.7128,
     -74.006,
     "America/New_York",
     {"05:52", "07:07", "13:06", "16:27", "17:17", "19:03", "20:19"}},
    {"egypt",
     "Cairo",
     30.0444,
     31.2357,
     "Africa/Cairo",
     {"04:38", "06:05", "12:05", "15:30", "16:22", "18:04", "19:21"}},
    {"karachi",
     "Karachi",
     24.8607,
     67.0011,
     "Asia/Karachi",
     {"05:25", "06:41", "12:42", "16:06", "17:01", "18:41", "19:57"}},
    {"umm-al-qura",
     "Mecca",
     21.4225,
     39.8262,
     "Asia/Riyadh",
     {"05:13", "06:29", "12:29", "15:54", "16:50", "18:30", "20:30"}},
    {"dubai",
     "Dubai",
     25.2048,
     55.2708,
     "Asia/Dubai",
     {"05:11", "06:25", "12:31", "15:56", "16:50", "18:31", "19:45"}},
    {"qatar",
     "Doha",
     25.2854,
     51.531,
     "Asia/Qatar",
     {"04:27", "05:43", "11:43", "15:08", "16:02", "17:43", "19:13"}},
    {"kuwait",
     "Kuwait",
     29.3759,
     47.9774,
     "Asia/Kuwait",
     {"04:39", "05:58", "11:57", "15:23", "16:15", "17:57", "19:13"}},
    {"singapore",
     "Singapore",
     1.3521,
     103.8198,
     "Asia/Singapore",
     {"05:54", "07:11", "13:15", "16:20", "17:30", "19:17", "20:26"}},
    {"tehran",
     "Tehran",
     35.6892,
     51.389,
     "Asia/Tehran",
     {"04:52", "06:15", "12:13", "15:38", "16:29", "18:30", "19:17"}},
    {"jafari",
     "Najaf",
     32.0,
     44.33,
     "Asia/Baghdad",
     {"05:01", "06:13", "12:11", "15:37", "16:29", "18:26", "19:13"}},
    {"turkey",
     "Istanbul",
     41.0082,
     28.9784,
     "Europe/Istanbul",
     {"05:44", "07:08", "13:18", "16:39", "17:29", "19:18", "20:38"}},
    {"moonsighting",
     "London",
     51.5074,
     -0.1278,
     "Europe/London",
     {"04:40", "06:14", "12:14", "15:22", "16:10", "18:09", "19:24"}},
    {"algeria",
     "Algiers",
     36.7538,
     3.0588,
     "Africa/Algiers",
     {"05:32", "06:58", "12:57", "16:21", "17:11", "18:55", "20:17"}},
    {"tunisia",
     "Tunis",
     36.8065,
     10.1815,
     "Africa/Tunis",
     {"05:04", "06:30", "12:28", "15:52", "16:43", "18:27", "19:53"}},
    {"france",
     "Paris",
     48.8566,
     2.3522,
     "Europe/Paris",
     {"05:55", "07:03", "12:59", "16:15", "17:03", "18:56", "20:05"}},
    {"russia",
     "Moscow",
     55.7558,
     37.6173,
     "Europe/Moscow",
     {"04:54", "06:44", "12:38", "15:45", "16:32", "18:34", "20:16"}},
    {"jakim",
     "Kuala Lumpur",
     3.139,
     101.6869,
     "Asia/Kuala_Lumpur",
     {"06:02", "07:19", "13:22", "16:31", "17:39", "19:25", "20:34"}},
    {"kemenag",
     "Jakarta",
     -6.2088,
     106.8456,
     "Asia/Jakarta",
     {"04:40", "05:57", "12:01", "15:09", "16:19", "18:06", "19:15"}},
    {"gulf",
     "Abu Dhabi",
     24.4539,
     54.3773,
     "Asia/Dubai",
     {"05:09", "06:31", "12:31", "15:57", "16:51", "18:32", "20:02"}},
};

TEST(PrayerMethods, EveryMethodAgreesWithAdhanWithinAMinute) {
    if (!HaveZone("Asia/Riyadh")) GTEST_SKIP() << "no time-zone database";
    ASSERT_EQ(std::size(kAdhanDays), services::PrayerMethods().size());
    const char* keys[] = {"fajr", "sunrise", "transit", "asr1", "asr2", "maghrib", "isha"};
    for (const AdhanDay& a : kAdhanDays) {
        SCOPED_TRACE(std::string(a.method) + " at " + a.city);
        const auto rows =
            Table("times --lat " + std::to_string(a.lat) + " --lon " + Lon(a.lon) + " --tz " +
                  a.zone + " --from 2024-03-15 --days 1 --csv --method " + a.method);
        ASSERT_EQ(rows.size(), 1u);
        for (int k = 0; k < 7; ++k) {
            std::string cell = rows[0].at(
                keys[k] == std::string("maghrib") && !rows[0].count("maghrib") ? "sunset"
                                                                               : keys[k]);
            EXPECT_LE(std::abs(Minutes(cell) - Minutes(a.times[k])), 1)
                << keys[k] << " " << cell << " against " << a.times[k];
        }
    }
}

// The parameters of the methods as the authorities publish them.
TEST(PrayerMethods, TheTableHoldsThePublishedParameters) {
    struct Published {
        const char* name;
        double fajr, isha, interval, maghrib;
        std::array<double, services::kPrayers> adjust;  // fajr sunrise dhuhr asr maghrib isha
        services::Rounding rounding;
    };
    const double no = services::kNoAngle;
    using R = services::Rounding;
    const Published kPublished[] = {
        {"morocco", 19, 17, 0, no, {}, R::Nearest},
        {"mwl", 18, 17, 0, no, {0, 0, 1, 0, 0, 0}, R::Nearest},
        {"isna", 15, 15, 0, no, {0, 0, 1, 0, 0, 0}, R::Nearest},
        {"egypt", 19.5, 17.5, 0, no, {0, 0, 1, 0, 0, 0}, R::Nearest},
        {"karachi", 18, 18, 0, no, {0, 0, 1, 0, 0, 0}, R::Nearest},
        {"umm-al-qura", 18.5, no, 90, no, {}, R::Nearest},
        {"dubai", 18.2, 18.2, 0, no, {0, -3, 3, 3, 3, 0}, R::Nearest},
        {"qatar", 18, no, 90, no, {}, R::Nearest},
        {"kuwait", 18, 17.5, 0, no, {}, R::Nearest},
        {"singapore", 20, 18, 0, no, {0, 0, 1, 0, 0, 0}, R::Up},
        {"tehran", 17.7, 14, 0, 4.5, {}, R::Nearest},
        {"jafari", 16, 14, 0, 4, {}, R::Nearest},
        {"turkey", 18, 17, 0, no, {0, -7, 5, 4, 7, 0}, R::Nearest},
        {"moonsighting", 18, 18, 0, no, {0, 0, 5, 0, 3, 0}, R::Nearest},
        {"algeria", 18, 17, 0, no, {}, R::Nearest},
        {"tunisia", 18, 18, 0, no, {}, R::Nearest},
        {"france", 12, 12, 0, no, {}, R::Nearest},
        {"russia", 16, 15, 0, no, {}, R::Nearest},
        {"jakim", 20, 18, 0, no, {}, R::Nearest},
        {"kemenag", 20, 18, 0, no, {}, R::Nearest},
        {"gulf", 19.5, no, 90, no, {}, R::Nearest},
    };
    ASSERT_EQ(std::size(kPublished), services::PrayerMethods().size());
    for (const Published& p : kPublished) {
        SCOPED_TRACE(p.name);
        const services::PrayerMethod* m = services::PrayerMethodNamed(p.name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->fajrAngle, p.fajr);
        EXPECT_EQ(std::isnan(m->ishaAngle), std::isnan(p.isha));
        if (!std::isnan(p.isha)) EXPECT_EQ(m->ishaAngle, p.isha);
        EXPECT_EQ(m->ishaInterval, p.interval);
        EXPECT_EQ(std::isnan(m->maghribAngle), std::isnan(p.maghrib));
        if (!std::isnan(p.maghrib)) EXPECT_EQ(m->maghribAngle, p.maghrib);
        EXPECT_EQ(m->adjust, p.adjust);
        EXPECT_EQ(m->rounding, p.rounding);
        EXPECT_NE(std::string(m->source), "");
        EXPECT_NE(std::string(m->arabic), "");
    }
    EXPECT_EQ(services::PrayerMethodNamed("umm-al-qura")->ramadanInterval, 120);
    EXPECT_TRUE(services::PrayerMethodNamed("moonsighting")->seasonal);
    EXPECT_EQ(services::PrayerMethodNamed("moonsighting")->seventhAbove, 55);
    EXPECT_EQ(services::PrayerMethodNamed("none"), nullptr);
}

TEST(PrayerMethods, TheZoneChoosesItsCountrysMethod) {
    const std::pair<const char*, const char*> kZones[] = {
        {"Africa/Casablanca", "morocco"},
        {"Asia/Riyadh", "umm-al-qura"},
        {"Europe/Istanbul", "turkey"},
        {"Asia/Tehran", "tehran"},
        {"Africa/Cairo", "egypt"},
        {"Asia/Karachi", "karachi"},
        {"America/New_York", "isna"},
        {"America/Argentina/Salta", "isna"},
        {"Asia/Singapore", "singapore"},
        {"Asia/Kuala_Lumpur", "jakim"},
        {"Asia/Jakarta", "kemenag"},
        {"Europe/Berlin", "mwl"},
        {"Americas", "mwl"},
        {"", "mwl"},
    };
    for (const auto& [zone, method] : kZones)
        EXPECT_STREQ(services::MethodOfZone(zone), method) << zone;
}

// The horizon: the Sun's centre 0.8333 degrees below it, and the dip of the horizon seen from
// a height, 0.0347 degrees times the square root of the metres.
TEST(TablesHorizon, AltitudeOfRisingAndSetting) {
    struct Case {
        services::Horizon horizon;
        double metres, altitude;
    };
    const Case kCases[] = {{services::Horizon::Table, 0, -0.8333},
                           {services::Horizon::Table, 100, -0.8333 - 0.347},
                           {services::Horizon::Table, 400, -0.8333 - 0.694},
                           {services::Horizon::Report, 0, -0.25}};
    for (const Case& c : kCases)
        EXPECT_NEAR(services::HorizonAltitude(c.horizon, c.metres), c.altitude, 1e-12) << c.metres;
}

TEST(TablesHorizon, SunsetIsTheCrescentReportsAndThePublishedTables) {
    // Mecca, 10 March 2024: the crescent report's sunset, 18.4747894741595 h, is 18:28:29.2.
    const auto mecca = Table(
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 --days 1 --csv "
        "--seconds");
    ASSERT_EQ(mecca.size(), 1u);
    EXPECT_LE(std::abs(Seconds(mecca[0].at("sunset")) - 18.4747894741595 * 3600), 1);
    // --horizon report keeps the report's -0.25 degrees: about three minutes earlier.
    const auto report = Table(
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 --days 1 --csv "
        "--seconds --horizon report");
    const int earlier = Seconds(mecca[0].at("sunset")) - Seconds(report[0].at("sunset"));
    EXPECT_GT(earlier, 120);
    EXPECT_LT(earlier, 180);
    EXPECT_EQ(mecca[0].at("fajr"), report[0].at("fajr"));
    if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database";
    // Published tables: Oslo 21 June 2024 sunset 22:44, Reykjavik 00:04 the next day.
    struct Published {
        const char* place;
        const char* sunset;
    };
    const Published kPublished[] = {
        {"--lat 59.9139 --lon 10.7522E --tz Europe/Oslo", "22:44"},
        {"--lat 64.1466 --lon 21.9426W --tz Atlantic/Reykjavik", "00:04+1"},
    };
    for (const Published& p : kPublished) {
        const auto rows =
            Table(std::string("times ") + p.place + " --from 2024-06-21 --days 1 --csv");
        EXPECT_LE(std::abs(Minutes(rows[0].at("sunset")) - Minutes(p.sunset)), 1) << p.place;
    }
}

// Rising and setting at -0.8333 degrees by PyEphem 4.1.4 (the Sun's centre, no pressure:
// bench/accuracy/reference.py with that altitude), seconds after local standard midnight.
TEST(TablesHorizon, RisingAndSettingAgreeWithPyEphem) {
    struct Reference {
        const char* place;
        double lat, lon;  // North positive; West positive
        int zone;         // East negative
        const char* date;
        double rising, setting;
    };
    const Reference kReferences[] = {
        {"Oslo", 59.9139, -10.7522, -1, "2025-06-01", 11214.0, 77042.8},
        {"London", 51.5074, 0.1278, 0, "2025-12-21", 29032.9, 57210.5},
        {"Quito", -0.1807, 78.4678, 5, "2025-09-22", 21792.0, 65380.2},
        {"Sydney", -33.8688, -151.2093, -10, "2025-06-21", 25200.2, 60831.2},
        {"Anchorage", 61.2181, 149.9003, 9, "2025-01-15", 35761.9, 58979.7},
        {"Mecca", 21.4225, -39.8262, -3, "2024-03-10", 23611.1, 66508.0},
        {"Cape Town", -33.9249, -18.4241, -2, "2199-04-01", 25111.4, 67273.7},
        {"Reykjavik", 64.1466, 21.9426, 1, "1850-10-10", 25315.0, 62783.3},
    };
    for (const Reference& r : kReferences) {
        const auto rows =
            Table("times --lat " + std::to_string(r.lat) + " --lon " + Lon(-r.lon) + " --zone " +
                  std::to_string(r.zone) + " --from " + r.date + " --days 1 --csv --seconds");
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_NEAR(Seconds(rows[0].at("sunrise")), r.rising, 30) << r.place;
        EXPECT_NEAR(Seconds(rows[0].at("sunset")), r.setting, 30) << r.place;
    }
}

TEST(TablesHorizon, ElevationMovesOnlyRisingAndSetting) {
    const std::string day =
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 "
        "--days 1 --csv --seconds";
    const auto ground = Table(day)[0], high = Table(day + " --elevation 400")[0];
    // 0.694 degrees more at about 0.24 degrees a minute near the horizon in Mecca: 2 to 4
    // minutes earlier rising and later setting.
    const int rising = Seconds(ground.at("sunrise")) - Seconds(high.at("sunrise"));
    const int setting = Seconds(high.at("sunset")) - Seconds(ground.at("sunset"));
    for (const int moved : {rising, setting}) {
        EXPECT_GT(moved, 120);
        EXPECT_LT(moved, 240);
    }
    for (const char* same : {"fajr", "transit", "asr1", "asr2", "isha"})
        EXPECT_EQ(ground.at(same), high.at(same)) << same;
}

// The user's own settings on top of the method.
TEST(PrayerSettings, OwnAnglesIntervalAdjustmentsAndRounding) {
    const std::string day =
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 --days 2 --csv";
    const auto plain = Table(day + " --seconds");
    struct Case {
        const char* options;
        const char* key;      // the cell that changes
        double minutesAfter;  // from the plain table's value of `from`
        const char* from;
    };
    const Case kCases[] = {
        {"--adjust fajr=+2", "fajr", 2, "fajr"},
        {"--adjust sunrise=-1", "sunrise", -1, "sunrise"},
        {"--adjust dhuhr=+5", "transit", 5, "transit"},
        {"--adjust asr=3", "asr2", 3, "asr2"},
        {"--adjust maghrib=+3", "maghrib", 3, "sunset"},
        {"--adjust isha=-4", "isha", -4, "isha"},
        {"--isha-interval 90", "isha", 90, "sunset"},
        {"--method qatar --adjust isha=+5", "isha", 95, "sunset"},
        {"--method dubai --adjust maghrib=+1", "maghrib", 4, "sunset"},
    };
    for (const Case& c : kCases) {
        const auto rows = Table(day + " --seconds " + c.options);
        for (std::size_t d = 0; d < 2; ++d)
            EXPECT_EQ(Seconds(rows[d].at(c.key)),
                      Seconds(plain[d].at(c.from)) + std::lround(c.minutesAfter * 60))
                << c.options;
    }
    // Own angles: dawn at 18 degrees comes later than at 19, nightfall at 18 later than 17.
    const auto angles = Table(day + " --seconds --fajr-angle 18 --isha-angle 18");
    EXPECT_GT(Seconds(angles[0].at("fajr")), Seconds(plain[0].at("fajr")));
    EXPECT_GT(Seconds(angles[0].at("isha")), Seconds(plain[0].at("isha")));
    // Maghrib at 4 degrees below the horizon: 3.17 degrees below setting's, at some 0.24
    // degrees a minute in Mecca, about 13 minutes after it.
    const auto maghrib = Table(day + " --seconds --maghrib-angle 4");
    const int after = Seconds(maghrib[0].at("maghrib")) - Seconds(maghrib[0].at("sunset"));
    EXPECT_GT(after, 12 * 60);
    EXPECT_LT(after, 15 * 60);
    // Rounding up: every minute is the seconds' next whole minute.
    const auto up = Table(day + " --round up");
    for (const char* key : {"fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha"}) {
        const int s = Seconds(plain[0].at(key)), minute = Minutes(up[0].at(key));
        // A time shown on a whole minute may lie a fraction of a second either side of it.
        if (s % 60 == 0)
            EXPECT_TRUE(minute == s / 60 || minute == s / 60 + 1) << key;
        else
            EXPECT_EQ(minute, s / 60 + 1) << key;
    }
    // --asr keeps one afternoon column; 1 and 2 are the PDF's names of the same.
    for (const auto& [asr, kept] : {std::pair{"shafii", "asr1"}, std::pair{"1", "asr1"},
                                    std::pair{"hanafi", "asr2"}, std::pair{"2", "asr2"}}) {
        const auto rows = Table(day + " --asr " + asr);
        EXPECT_EQ(rows[0].count("asr1") + rows[0].count("asr2"), 1u) << asr;
        EXPECT_EQ(rows[0].count(kept), 1u) << asr;
    }
}

TEST(PrayerSettings, UmmAlQuraIshaIsTwoHoursInRamadan) {
    // 1 Ramadan 1446 was 1 March 2025 by the Umm al-Qura calendar.
    const auto rows = Table(
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2025-02-28 --days 2 --csv "
        "--method umm-al-qura");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(Minutes(rows[0].at("isha")) - Minutes(rows[0].at("sunset")), 90);
    EXPECT_EQ(Minutes(rows[1].at("isha")) - Minutes(rows[1].at("sunset")), 120);
}

TEST(PrayerSettings, TheNightsMiddleAndLastThird) {
    // From setting to the next day's dawn.
    const auto rows = Table(
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 --days 2 --csv "
        "--seconds --extras");
    const int setting = Seconds(rows[0].at("sunset"));
    const int dawn = Seconds(rows[1].at("fajr")) + 86400;
    EXPECT_LE(std::abs(Seconds(rows[0].at("midnight")) - (setting + dawn) / 2), 2);
    EXPECT_LE(std::abs(Seconds(rows[0].at("last_third")) - (setting + (dawn - setting) * 2 / 3)),
              2);
}

// Under a rule of high latitudes the night ends at the dawn the rule gives, as the next row shows
// it (adhan 4.4.6's SunnahTimes: London, 20 April 2024, seventh: middle of the night 00:17).
TEST(PrayerSettings, TheNightEndsAtTheRulesDawn) {
    if (!HaveZone("Europe/London")) GTEST_SKIP() << "no time-zone database";
    struct Case {
        const char* options;
        const char* midnight;  // from adhan, or "" to check against the next row's dawn
    };
    const Case kCases[] = {
        {"--from 2024-04-20 --high-lat seventh", "00:17+1"},
        {"--from 2024-06-20 --high-lat middle", ""},  // no dawn at 19 degrees at all
        {"--from 2024-06-20 --high-lat angle", ""},
        {"--from 2024-06-20 --method moonsighting", ""},
        {"--from 2024-06-20 --high-lat seventh --adjust fajr=+10", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.options);
        const auto rows =
            Table(std::string("times --lat 51.5074N --lon 0.1278W --tz Europe/London --days 2 "
                              "--extras --csv --seconds ") +
                  c.options);
        ASSERT_EQ(rows.size(), 2u);
        ASSERT_NE(rows[1].at("fajr"), "");
        if (*c.midnight)
            EXPECT_LE(std::abs(Seconds(rows[0].at("midnight")) / 60 - Minutes(c.midnight)), 1);
        const int setting = Seconds(rows[0].at("sunset"));
        const int dawn = Seconds(rows[1].at("fajr")) + 86400;
        // The night after the next day is taken as long as the one before: a few seconds.
        EXPECT_LE(std::abs(Seconds(rows[0].at("midnight")) - (setting + dawn) / 2), 30);
        EXPECT_LE(
            std::abs(Seconds(rows[0].at("last_third")) - (setting + (dawn - setting) * 2 / 3)), 40);
    }
}

// Maghrib by an angle above the tables' horizon would come before the Sun has set: it is the
// setting then.
TEST(PrayerSettings, MaghribIsNeverBeforeSunset) {
    struct Case {
        const char* angle;
        bool atSetting;
    };
    const Case kCases[] = {{"0", true}, {"0.5", true}, {"0.8", true}, {"1", false}, {"4", false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.angle);
        const auto rows =
            Table(std::string("times --lat 34N --lon 6W --from 2024-03-10 --days 1 --csv --seconds "
                              "--maghrib-angle ") +
                  c.angle);
        const int setting = Seconds(rows[0].at("sunset")), maghrib = Seconds(rows[0].at("maghrib"));
        EXPECT_EQ(rows[0].at("sunset"), "18:28:06");
        if (c.atSetting)
            EXPECT_EQ(maghrib, setting);
        else
            EXPECT_GT(maghrib, setting);
    }
}

TEST(PrayerSettings, HighLatitudesAndPolarDays) {
    if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database";
    // Tromsø in midsummer: no setting at all. The nearest latitude that has one is taken.
    const std::string day =
        "times --lat 69.6492 --lon 18.9553E --tz Europe/Oslo --from "
        "2024-06-21 --days 1 --csv";
    const auto none = Table(day);
    EXPECT_EQ(none[0].at("sunrise"), "");
    for (const char* polar : {"nearest-latitude", "nearest-day"}) {
        const auto rows = Table(day + " --polar " + polar);
        EXPECT_NE(rows[0].at("sunrise"), "") << polar;
        EXPECT_NE(rows[0].at("sunset"), "") << polar;
        EXPECT_NE(rows[0].at("adjusted").find("sunrise"), std::string::npos) << polar;
    }
    // The middle of the night that follows the day: from setting to the next day's rising.
    const auto middle = Table(
        "times --lat 59.9139 --lon 10.7522E --tz Europe/Oslo --from 2024-06-21 --days 2 --csv "
        "--seconds --high-lat middle");
    const int setting = Seconds(middle[0].at("sunset"));
    const int nextRising = Seconds(middle[1].at("sunrise")) + 86400;
    EXPECT_LE(std::abs(Seconds(middle[0].at("isha")) - (setting + nextRising) / 2), 1);
    EXPECT_EQ(middle[0].at("adjusted"), "fajr;isha");
    // The seventh of the night: Oslo in June has a dawn at 12 degrees that lies before the
    // night's last seventh: the rule's time replaces it and is marked.
    const auto oslo = Table(
        "times --lat 59.9139 --lon 10.7522E --tz Europe/Oslo --from 2024-05-01 --days 1 --csv "
        "--fajr-angle 12 --isha-angle 12 --high-lat seventh");
    EXPECT_NE(oslo[0].at("adjusted").find("fajr"), std::string::npos);
}

// Moonrise, moonset and the illuminated fraction at local midnight against PyEphem 4.1.4 in the
// U.S. Naval Observatory's convention (the upper limb, 34' of refraction, topocentric:
// observer.pressure = 0, observer.horizon = '-0:34'; moon_phase at the local midnight).
TEST(MoonTimes, RiseSetAndFractionAgreeWithPyEphem) {
    struct Day {
        const char* place;  // --lat, --lon, --zone
        const char* date;
        const char* rise;  // "" when the Moon does not rise that day
        const char* set;
        double fraction;
    };
    const Day kDays[] = {
        {"--lat 51.5074 --lon 0.1278W --zone 0", "2024-03-12", "07:11", "21:19", 0.040},
        {"--lat 21.4225 --lon 39.8262E --zone -3", "2024-07-20", "18:34", "04:23", 0.967},
        {"--lat 0.1807S --lon 78.4678W --zone 5", "2023-11-05", "00:18", "12:39", 0.515},
        {"--lat 33.8688S --lon 151.2093E --zone -10", "2024-05-02", "", "13:44", 0.489},
        {"--lat 59.9139 --lon 10.7522E --zone -1", "2024-01-25", "15:06", "09:46", 0.992},
        {"--lat 33.9249S --lon 18.4241E --zone -2", "2024-09-14", "14:25", "04:26", 0.770},
        {"--lat 40.7128 --lon 74.006W --zone 5", "2024-12-03", "09:37", "18:19", 0.041},
        {"--lat 34.0209 --lon 6.8416W --zone -1", "2025-02-17", "23:58", "10:27", 0.829},
    };
    for (const Day& d : kDays) {
        SCOPED_TRACE(std::string(d.place) + " " + d.date);
        const auto rows =
            Table(std::string("times ") + d.place + " --from " + d.date + " --days 1 --csv --moon");
        ASSERT_EQ(rows.size(), 1u);
        for (const auto& [key, published] : {std::pair{"moonrise", d.rise}, {"moonset", d.set}}) {
            const std::string& cell = rows[0].at(key);
            ASSERT_EQ(cell.empty(), *published == '\0') << key << " " << cell;
            if (!cell.empty()) EXPECT_LE(std::abs(Minutes(cell) - Minutes(published)), 1) << key;
        }
        EXPECT_NEAR(std::stod(rows[0].at("moon_fraction")), d.fraction, 0.0015);
    }
    const CliResult text = RunCli(
        Words("times --lat 33.8688S --lon 151.2093E --zone -10 --from 2024-05-02 --days 1 --moon "
              "--lang en"));
    EXPECT_NE(text.out.find("— the Moon does not rise or set on that day"), std::string::npos);
}

// Pacific/Apia moved across the date line after 29 December 2011: the 30th never came.
TEST(SkippedDays, ApiaHasNoThirtiethOfDecember2011) {
    if (!HaveZone("Pacific/Apia")) GTEST_SKIP() << "no time-zone database";
    const std::string place = "--lat 13.83S --lon 171.75W --from 2011-12-28 --days 4 ";
    const CliResult r = RunCli(Words("times " + place + "--csv --tz Pacific/Apia"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "zerin: the local clock skips 2011-12-30 (the zone moved across the date line): "
              "the day has no row\n");
    const auto rows = KeyedRows(r.out);
    ASSERT_EQ(rows.size(), 3u);
    // Each row is its day's times: those of the same day on a fixed clock of the same offset.
    struct Day {
        const char* date;
        const char* offset;
        const char* fixed;
    };
    const Day kDays[] = {{"2011-12-28", "-10:00", "--zone 11 --summer 1"},
                         {"2011-12-29", "-10:00", "--zone 11 --summer 1"},
                         {"2011-12-31", "+14:00", "--zone -13 --summer 1"}};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[k].at("date"), kDays[k].date);
        EXPECT_EQ(rows[k].at("utc_offset"), kDays[k].offset);
        const auto same = Table("times --lat 13.83S --lon 171.75W --from " +
                                std::string(kDays[k].date) + " --days 1 --csv " + kDays[k].fixed);
        for (const char* key : {"fajr", "sunrise", "transit", "sunset", "isha"})
            EXPECT_EQ(rows[k].at(key), same[0].at(key)) << kDays[k].date << " " << key;
    }
    // The text table says why under it; the crescent's table keeps the same days.
    const CliResult text = RunCli(Words("times " + place + "--tz Pacific/Apia --lang en"));
    EXPECT_NE(text.out.find("2011-12-30: the local clock skips these days"), std::string::npos);
    // A table of nothing but the skipped day says why there is nothing.
    const CliResult skipped = RunCli(
        Words("times --lat 13.8333S --lon 171.75W --tz Pacific/Apia --from 2011-12-30 --days 1 "
              "--csv"));
    EXPECT_EQ(skipped.status, 2);
    EXPECT_EQ(skipped.out, "");
    EXPECT_NE(skipped.err.find("zerin: no row could be computed: the local clock skips 2011-12-30 "
                               "(the zone moved across the date line)\n"),
              std::string::npos)
        << skipped.err;
    const CliResult crescent = RunCli(Words("crescent " + place + "--csv --tz Pacific/Apia"));
    ASSERT_EQ(crescent.status, 0) << crescent.err;
    EXPECT_EQ(crescent.out.find("2011-12-30"), std::string::npos);
    EXPECT_NE(crescent.out.find("\n2011-12-29,"), std::string::npos);
    EXPECT_NE(crescent.out.find("\n2011-12-31,"), std::string::npos);
}

TEST(SkippedDays, OnlyADayTheClockNeverShows) {
    if (!HaveZone("Pacific/Apia")) GTEST_SKIP() << "no time-zone database";
    struct Case {
        const char* zone;
        services::Civil date;
        bool skipped;
    };
    const Case kCases[] = {
        {"Pacific/Apia", {2011, 12, 29}, false},  {"Pacific/Apia", {2011, 12, 30}, true},
        {"Pacific/Apia", {2011, 12, 31}, false},  {"Europe/Paris", {2024, 3, 31}, false},
        {"America/Havana", {2024, 3, 10}, false},  // the clock skips its midnight hour
    };
    for (const Case& c : kCases) {
        std::string error;
        const auto clock = services::NamedClock(c.zone, error);
        ASSERT_NE(clock, nullptr) << error;
        EXPECT_EQ(clock->SkipsDate(c.date), c.skipped) << c.zone << " " << c.date.day;
    }
}

TEST(PrayerSettings, WrongOptionsAreRefused) {
    const std::pair<const char*, const char*> kCases[] = {
        {"--method shafi", "--method takes morocco, mwl, isna"},
        {"--method", "--method needs a value"},
        {"--fajr-angle 40", "--fajr-angle takes 0.5 to 30 degrees, not '40'"},
        {"--isha-angle x", "--isha-angle takes 0.5 to 30 degrees, not 'x'"},
        {"--isha-interval 0", "--isha-interval takes 1 to 300 minutes, not '0'"},
        {"--maghrib-angle -1", "--maghrib-angle takes 0 to 10 degrees, not '-1'"},
        {"--elevation -5", "--elevation takes 0 to 9000 metres, not '-5'"},
        {"--isha-angle 15 --isha-interval 90", "--isha-angle and --isha-interval name two"},
        {"--adjust fajr", "--adjust takes TIME=MINUTES"},
        {"--adjust zuhr=+1", "not 'zuhr=+1'"},
        {"--adjust fajr=+2,", "not ''"},
        {"--adjust asr=2x", "not 'asr=2x'"},
        {"--round down", "--round takes nearest or up, not 'down'"},
        {"--horizon sea", "--horizon takes table (-0.8333 degrees) or report (-0.25)"},
        {"--polar north", "--polar takes nearest-latitude, nearest-day or none"},
        {"--asr 3", "--asr takes shafii (1), hanafi (2) or both, not '3'"},
        {"--as-report --method mwl", "--as-report computes as the Sun's report"},
        {"--as-report --adjust fajr=1", "does not go with --adjust"},
        {"--as-report --elevation 10", "does not go with --elevation"},
        {"--horizon report --elevation 10", "--elevation lowers the tables' horizon"},
        {"--as-report --extras", "--as-report does not go with --extras"},
        {"--adjust fajr=+2,fajr=+3", "--adjust names fajr twice"},
        {"--adjust isha=1,maghrib=1,isha=-1", "--adjust names isha twice"},
        {"--adjust fajr=2.5", "--adjust takes whole minutes, not 'fajr=2.5'"},
        {"--adjust fajr=+2 --adjust isha=1,fajr=+3", "--adjust names fajr twice"},
        {"--adjust sunrise=-0.5", "--adjust takes whole minutes, not 'sunrise=-0.5'"},
    };
    for (const auto& [options, message] : kCases)
        ExpectRefused(Words(std::string("times --from 2024-03-10 --days 1 ") + options), message);
}

TEST(PrayerSettings, AdjustmentsAddUp) {
    std::array<double, services::kPrayers> adjust{0, 0, 1, 0, 0, 0};
    std::array<bool, services::kPrayers> named{};
    std::string error;
    ASSERT_TRUE(services::ReadAdjustments("fajr=+2,sunrise=-1,dhuhr=+5,asr=0,maghrib=+3", adjust,
                                          named, error))
        << error;
    ASSERT_TRUE(services::ReadAdjustments("isha=-2", adjust, named, error)) << error;
    EXPECT_EQ(adjust, (std::array<double, services::kPrayers>{2, -1, 6, 0, 3, -2}));
    EXPECT_EQ(named, (std::array<bool, services::kPrayers>{true, true, true, true, true, true}));
    // A wrong item leaves the adjustments as they were.
    std::array<bool, services::kPrayers> none{};
    EXPECT_FALSE(services::ReadAdjustments("fajr=1,isha=700", adjust, none, error));
    EXPECT_EQ(adjust, (std::array<double, services::kPrayers>{2, -1, 6, 0, 3, -2}));
    EXPECT_EQ(none, (std::array<bool, services::kPrayers>{}));
}

// What a table was computed with is written with it.
TEST(PrayerSettings, TheOutputSaysWhatItUsed) {
    const std::string day =
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 "
        "--days 1 --method dubai --adjust fajr=+2 --elevation 100 "
        "--high-lat seventh --polar nearest-day ";
    const CliResult csv = RunCli(Words(day + "--csv"));
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
              "# Settings: method dubai; fajr 18.2°; isha 18.2°; adjustments fajr +2, sunrise "
              "-3, dhuhr +3, asr +3, maghrib +3; rounding nearest; horizon -1.1803°; elevation "
              "100 m; high latitudes seventh; polar nearest-day");
    const CliResult json = RunCli(Words(day + "--json"));
    EXPECT_NE(json.out.find("\"prayer_method\": \"dubai\", \"fajr_angle\": 18.2, \"isha_angle\": "
                            "18.2, \"isha_interval\": null, \"ramadan_interval\": null, "
                            "\"maghrib_angle\": null, \"adjustments\": {\"fajr\": 2, \"sunrise\": "
                            "-3, \"dhuhr\": 3, \"asr\": 3, \"maghrib\": 3, \"isha\": 0}, "
                            "\"rounding\": \"nearest\", \"horizon\": -1.1803, \"elevation\": 100, "
                            "\"high_lat\": \"seventh\", \"polar\": \"nearest-day\", "
                            "\"method\": \"exact\""),
              std::string::npos)
        << json.out;
    const CliResult text = RunCli(Words(day + "--lang en"));
    EXPECT_EQ(text.out.rfind("Settings: method dubai;", 0), 0u);
    // In Arabic, the method's Arabic name, the times' and the rules' names, the numbers left to
    // right.
    const CliResult arabic = RunCli(Words(day + "--lang ar"));
    EXPECT_EQ(arabic.out.substr(0, arabic.out.find('\n')),
              "الإعدادات: الطريقة " + std::string(services::PrayerMethodNamed("dubai")->arabic) +
                  " (\u2066dubai\u2069)؛ الفجر \u206618.2°\u2069؛ العشاء \u206618.2°\u2069؛ "
                  "التعديلات بالدقائق: الفجر \u2066+2\u2069، الشروق \u2066-3\u2069، الظهر "
                  "\u2066+3\u2069، العصر \u2066+3\u2069، المغرب \u2066+3\u2069؛ التقريب إلى "
                  "أقرب دقيقة؛ الأفق \u2066-1.1803°\u2069؛ الارتفاع \u2066100\u2069 م؛ خطوط "
                  "العرض العليا: سُبع الليل؛ الأيام القطبية: أقرب يوم تشرق فيه الشمس وتغرب")
        << arabic.out;
}

// Every command's --help: its usage line first, its own options, exit 0, nothing on standard
// error.
TEST(CommandHelp, EveryCommandDescribesItsOptions) {
    const std::pair<const char*, const char*> kCommands[] = {
        {"report", "--json"},         {"times", "--method"},     {"ephemeris", "--step"},
        {"hijri", "--to-gregorian"},  {"crescent", "--morning"}, {"crescent-map", "--criterion"},
        {"preface", "zerin preface"}, {"places", "--near"},
    };
    for (const auto& [command, option] : kCommands) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{command, "--help"},
              std::vector<std::string>{command, "--from", "2024-01-01", "--help"}}) {
            const CliResult r = RunCli(args);
            EXPECT_EQ(r.status, 0) << command;
            EXPECT_EQ(r.err, "") << command;
            EXPECT_NE(r.out.find(option), std::string::npos) << command;
            const std::string usage = "Usage: zerin " + std::string(command);
            EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out.substr(0, 80);
            EXPECT_NE(std::string(" \n").find(r.out[usage.size()]), std::string::npos) << command;
        }
    }
}

}  // namespace
}  // namespace zerin::test
