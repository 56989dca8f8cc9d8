// The timetables' cells against published and independent values (adhan 4.4.6, PyEphem,
// published tables: tests/data/references/timetables*.txt), the methods' parameters, the
// horizon, the user's own settings, the night, the days without rising or setting, the days
// a clock skips, and each command's help.
#include <gtest/gtest.h>

#include <cmath>

#include "PrayerMethods.h"
#include "TablesTestSupport.h"
#include "Times.h"

namespace zerin::test {
namespace {

namespace s = services;

// Each line of the references: TOLERANCE | COMMAND | CELL=VALUE ... (see timetables.txt).
void ExpectReferenceCells(const std::string& file) {
    int lines = 0;
    for (const std::vector<std::string>& line : DataRows(file, "", '|')) {
        ASSERT_EQ(line.size(), 3u) << line[0];
        SCOPED_TRACE(file + ": " + line[1]);
        const double tolerance = std::stod(line[0]);
        const std::vector<KeyedRow> rows = KeyedTable(line[1]);
        ASSERT_FALSE(rows.empty());
        ++lines;
        for (const std::string& cell : Words(line[2].substr(0, line[2].find('#')))) {
            const std::string key = cell.substr(0, cell.find('=')),
                              want = cell.substr(key.size() + 1);
            ASSERT_EQ(rows[0].count(key), 1u) << key;
            const std::string& got = rows[0].at(key);
            const std::size_t tilde = want.find('~');
            if (tilde != std::string::npos)
                EXPECT_NEAR(std::stod(got), std::stod(want), std::stod(want.substr(tilde + 1)))
                    << key;
            else if (want.size() >= 5 && want[2] == ':' && !got.empty())
                EXPECT_NEAR(ClockSeconds(got), ClockSeconds(want), tolerance) << key << " " << got;
            else
                EXPECT_EQ(got, want) << key;
        }
    }
    EXPECT_GT(lines, 3);
}

TEST(ReferenceCells, PublishedAndAdhan) {
    if (!HaveZone("Asia/Riyadh")) GTEST_SKIP() << "no time-zone database";
    ExpectReferenceCells("references/timetables.txt");
}

TEST(ReferenceCells, PyEphem) {
    if (!HaveZone("Europe/Paris")) GTEST_SKIP() << "no time-zone database";
    ExpectReferenceCells("references/timetables-pyephem.txt");
}

// The parameters of the methods as the authorities publish them.
TEST(PrayerMethods, TheTableHoldsThePublishedParameters) {
    using A = std::array<double, s::kPrayers>;  // fajr sunrise dhuhr asr maghrib isha
    const double no = s::kNoAngle;
    const A dhuhr1{0, 0, 1, 0, 0, 0};
    const struct {
        const char* name;
        double fajr, isha, interval, maghrib;
        A adjust;
        s::Rounding rounding;
    } kPublished[] = {
        // clang-format off
        {"morocco", 19, 17, 0, no, {}, s::Rounding::Nearest},
        {"mwl", 18, 17, 0, no, dhuhr1, s::Rounding::Nearest},
        {"isna", 15, 15, 0, no, dhuhr1, s::Rounding::Nearest},
        {"egypt", 19.5, 17.5, 0, no, dhuhr1, s::Rounding::Nearest},
        {"karachi", 18, 18, 0, no, dhuhr1, s::Rounding::Nearest},
        {"umm-al-qura", 18.5, no, 90, no, {}, s::Rounding::Nearest},
        {"dubai", 18.2, 18.2, 0, no, {0, -3, 3, 3, 3, 0}, s::Rounding::Nearest},
        {"qatar", 18, no, 90, no, {}, s::Rounding::Nearest},
        {"kuwait", 18, 17.5, 0, no, {}, s::Rounding::Nearest},
        {"singapore", 20, 18, 0, no, dhuhr1, s::Rounding::Up},
        {"tehran", 17.7, 14, 0, 4.5, {}, s::Rounding::Nearest},
        {"jafari", 16, 14, 0, 4, {}, s::Rounding::Nearest},
        {"turkey", 18, 17, 0, no, {0, -7, 5, 4, 7, 0}, s::Rounding::Nearest},
        {"moonsighting", 18, 18, 0, no, {0, 0, 5, 0, 3, 0}, s::Rounding::Nearest},
        {"algeria", 18, 17, 0, no, {}, s::Rounding::Nearest},
        {"tunisia", 18, 18, 0, no, {}, s::Rounding::Nearest},
        {"france", 12, 12, 0, no, {}, s::Rounding::Nearest},
        {"russia", 16, 15, 0, no, {}, s::Rounding::Nearest},
        {"jakim", 20, 18, 0, no, {}, s::Rounding::Nearest},
        {"kemenag", 20, 18, 0, no, {}, s::Rounding::Nearest},
        {"gulf", 19.5, no, 90, no, {}, s::Rounding::Nearest},
        // clang-format on
    };
    ASSERT_EQ(std::size(kPublished), s::PrayerMethods().size());
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (const auto& p : kPublished) {
        SCOPED_TRACE(p.name);
        const s::PrayerMethod* m = s::PrayerMethodNamed(p.name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->fajrAngle, p.fajr);
        EXPECT_TRUE(same(m->ishaAngle, p.isha) && same(m->maghribAngle, p.maghrib));
        EXPECT_EQ(m->ishaInterval, p.interval);
        EXPECT_EQ(m->adjust, p.adjust);
        EXPECT_EQ(m->rounding, p.rounding);
        EXPECT_TRUE(*m->source && *m->arabic);
    }
    EXPECT_EQ(s::PrayerMethodNamed("umm-al-qura")->ramadanInterval, 120);
    EXPECT_TRUE(s::PrayerMethodNamed("moonsighting")->seasonal);
    EXPECT_EQ(s::PrayerMethodNamed("moonsighting")->seventhAbove, 55);
    EXPECT_EQ(s::PrayerMethodNamed("none"), nullptr);
    // clang-format off
    const std::pair<const char*, const char*> kZones[] = {
        {"Africa/Casablanca", "morocco"}, {"Asia/Riyadh", "umm-al-qura"}, {"Europe/Istanbul", "turkey"},
        {"Asia/Tehran", "tehran"}, {"Africa/Cairo", "egypt"}, {"Asia/Karachi", "karachi"},
        {"America/New_York", "isna"}, {"America/Argentina/Salta", "isna"}, {"Asia/Singapore", "singapore"},
        {"Asia/Kuala_Lumpur", "jakim"}, {"Asia/Jakarta", "kemenag"}, {"Europe/Berlin", "mwl"},
        {"Americas", "mwl"}, {"", "mwl"}};
    // clang-format on
    for (const auto& [zone, method] : kZones) EXPECT_STREQ(s::MethodOfZone(zone), method) << zone;
}

const std::string kMecca = "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 ";

// The Sun's centre 0.8333 degrees below the horizon, lowered by the dip seen from a height
// (0.0347 degrees times the square root of the metres), for rising and setting only.
TEST(TablesHorizon, RefractionAndDip) {
    EXPECT_NEAR(s::HorizonAltitude(s::Horizon::Table, 0), -0.8333, 1e-12);
    EXPECT_NEAR(s::HorizonAltitude(s::Horizon::Table, 400), -0.8333 - 0.694, 1e-12);
    EXPECT_NEAR(s::HorizonAltitude(s::Horizon::Report, 0), -0.25, 1e-12);
    // Mecca, 10 March 2024: the crescent report's sunset, 18.4747894741595 h, is 18:28:29.2.
    const KeyedRow table = KeyedTable(kMecca + "--days 1 --csv --seconds")[0];
    EXPECT_LE(std::abs(ClockSeconds(table.at("sunset")) - 18.4747894741595 * 3600), 1);
    // --horizon report keeps the report's -0.25 degrees: two to three minutes earlier.
    const KeyedRow report = KeyedTable(kMecca + "--days 1 --csv --seconds --horizon report")[0];
    const KeyedRow high = KeyedTable(kMecca + "--days 1 --csv --seconds --elevation 400")[0];
    const int earlier = ClockSeconds(table.at("sunset")) - ClockSeconds(report.at("sunset"));
    EXPECT_TRUE(earlier > 120 && earlier < 180) << earlier;
    // 400 m: 0.694 degrees more at about 0.24 degrees a minute, 2 to 4 minutes.
    for (const int moved : {ClockSeconds(table.at("sunrise")) - ClockSeconds(high.at("sunrise")),
                            ClockSeconds(high.at("sunset")) - ClockSeconds(table.at("sunset"))})
        EXPECT_TRUE(moved > 120 && moved < 240) << moved;
    for (const char* same : {"fajr", "transit", "asr1", "asr2", "isha"}) {
        EXPECT_EQ(table.at(same), high.at(same)) << same;
        EXPECT_EQ(table.at(same), report.at(same)) << same;
    }
}

// The user's own settings on top of the method.
TEST(PrayerSettings, OwnAnglesIntervalAdjustmentsAndRounding) {
    const std::string day = kMecca + "--days 2 --csv --seconds ";
    const std::vector<KeyedRow> plain = KeyedTable(day);
    const struct {
        const char *options, *key;  // the cell that changes...
        double minutesAfter;        // ...from the plain table's cell `from`
        const char* from;
    } kCases[] = {
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
    for (const auto& c : kCases) {
        const std::vector<KeyedRow> rows = KeyedTable(day + c.options);
        for (std::size_t d = 0; d < 2; ++d)
            EXPECT_EQ(ClockSeconds(rows[d].at(c.key)),
                      ClockSeconds(plain[d].at(c.from)) + std::lround(c.minutesAfter * 60))
                << c.options;
    }
    // Dawn at 18 degrees comes later than at 19, nightfall at 18 later than at 17.
    const KeyedRow angles = KeyedTable(day + "--fajr-angle 18 --isha-angle 18")[0];
    for (const char* key : {"fajr", "isha"})
        EXPECT_GT(ClockSeconds(angles.at(key)), ClockSeconds(plain[0].at(key))) << key;
    // Rounding up: every minute is the seconds' next whole minute (a time shown on a whole
    // minute may lie a fraction of a second either side of it).
    const KeyedRow up = KeyedTable(kMecca + "--days 2 --csv --round up")[0];
    for (const char* key : {"fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha"}) {
        const int seconds = ClockSeconds(plain[0].at(key)), minute = ClockSeconds(up.at(key)) / 60;
        EXPECT_TRUE(minute == seconds / 60 + 1 || (seconds % 60 == 0 && minute == seconds / 60))
            << key;
    }
    // --asr keeps one afternoon column; 1 and 2 are the PDF's names of the same.
    for (const auto& [asr, kept] :
         {std::pair{"shafii", "asr1"}, {"1", "asr1"}, {"hanafi", "asr2"}, {"2", "asr2"}}) {
        const KeyedRow row = KeyedTable(kMecca + "--days 1 --csv --asr " + asr)[0];
        EXPECT_EQ(row.count("asr1") + row.count("asr2"), 1u) << asr;
        EXPECT_EQ(row.count(kept), 1u) << asr;
    }
    // Umm al-Qura's Isha: 90 minutes after Maghrib, 120 in Ramadan (from 1 March 2025).
    const std::vector<KeyedRow> ramadan = KeyedTable(
        "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2025-02-28 --days 2 --csv "
        "--method umm-al-qura");
    for (const auto& [d, minutes] : {std::pair{0, 90}, {1, 120}})
        EXPECT_EQ(ClockSeconds(ramadan[d].at("isha")) - ClockSeconds(ramadan[d].at("sunset")),
                  minutes * 60);
}

// Maghrib by an angle: after the setting, by some 15 minutes at 4 degrees at 34 N (3.17
// degrees below the horizon's at some 0.2 a minute); never before it (an angle above the
// tables' horizon gives the setting).
TEST(PrayerSettings, MaghribByAnAngleIsNeverBeforeSunset) {
    const struct {
        const char* angle;
        int low, high;  // seconds after the setting
    } kCases[] = {{"0", 0, 0}, {"0.5", 0, 0}, {"0.8", 0, 0}, {"1", 1, 120}, {"4", 720, 1080}};
    for (const auto& c : kCases) {
        const KeyedRow row = KeyedTable(
            "times --lat 34N --lon 6W --from 2024-03-10 --days 1 --csv --seconds "
            "--maghrib-angle " +
            std::string(c.angle))[0];
        EXPECT_EQ(row.at("sunset"), "18:28:06");
        const int after = ClockSeconds(row.at("maghrib")) - ClockSeconds(row.at("sunset"));
        EXPECT_TRUE(after >= c.low && after <= c.high) << c.angle << ": " << after;
    }
}

// The middle of the night and the start of its last third, from the setting to the next
// day's dawn: the dawn the table gives, under a high-latitude rule the rule's.
TEST(PrayerSettings, TheNightEndsAtTheTablesDawn) {
    if (!HaveZone("Europe/London")) GTEST_SKIP() << "no time-zone database";
    const std::string london = "times --lat 51.5074N --lon 0.1278W --tz Europe/London ";
    const struct {
        std::string options;
        int tolerance;  // the night after the next day is taken as long as the one before
    } kCases[] = {
        {kMecca, 2},
        {london + "--from 2024-06-20 --high-lat middle", 40},  // no dawn at 19 degrees at all
        {london + "--from 2024-06-20 --high-lat angle", 40},
        {london + "--from 2024-06-20 --method moonsighting", 40},
        {london + "--from 2024-06-20 --high-lat seventh --adjust fajr=+10", 40},
    };
    for (const auto& c : kCases) {
        const std::vector<KeyedRow> rows =
            KeyedTable(c.options + " --days 2 --extras --csv --seconds");
        ASSERT_EQ(rows.size(), 2u);
        ASSERT_NE(rows[1].at("fajr"), "");
        const int setting = ClockSeconds(rows[0].at("sunset"));
        const int night = ClockSeconds(rows[1].at("fajr")) + 86400 - setting;
        EXPECT_NEAR(ClockSeconds(rows[0].at("midnight")), setting + night / 2, c.tolerance)
            << c.options;
        EXPECT_NEAR(ClockSeconds(rows[0].at("last_third")), setting + night * 2 / 3, c.tolerance)
            << c.options;
    }
}

TEST(PrayerSettings, HighLatitudeRulesAndPolarDays) {
    if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database";
    // The days without rising or setting, North and South: the values of the nearest
    // latitude are in timetables-pyephem.txt; here the marks (the afternoon filled by the same
    // rule), and nothing without a rule.
    // (The nearest day is the first with a rising, a few minutes long: no independent
    // reference settles which day that is.)
    const std::pair<std::string, const char*> kPolar[] = {
        {"--lat 69.6492 --lon 18.9553E --tz Europe/Oslo --from 2024-06-21",
         "sunrise;transit;asr1;asr2;sunset"},
        {"--lat 75S --lon 0 --zone 0 --from 2025-06-21",
         "fajr;sunrise;transit;asr1;asr2;sunset;isha"}};
    for (const auto& [place, marked] : kPolar) {
        EXPECT_EQ(KeyedTable("times --days 1 --csv " + place)[0].at("sunrise"), "");
        for (const char* polar : {" --polar nearest-latitude", " --polar nearest-day"})
            EXPECT_EQ(KeyedTable("times --days 1 --csv " + place + polar)[0].at("adjusted"), marked)
                << place << polar;
    }
    // Oslo: the middle of the night that follows the day, from setting to the next rising;
    // the seventh of the night replaces a dawn at 12 degrees that lies before it.
    const std::string oslo = "times --lat 59.9139 --lon 10.7522E --tz Europe/Oslo --csv --seconds ";
    const std::vector<KeyedRow> middle =
        KeyedTable(oslo + "--from 2024-06-21 --days 2 --high-lat middle");
    const int setting = ClockSeconds(middle[0].at("sunset"));
    EXPECT_NEAR(ClockSeconds(middle[0].at("isha")),
                (setting + ClockSeconds(middle[1].at("sunrise")) + 86400) / 2, 1);
    EXPECT_EQ(middle[0].at("adjusted"), "fajr;isha");
    EXPECT_TRUE(Contains(KeyedTable(oslo + "--from 2024-05-01 --days 1 --fajr-angle 12 "
                                           "--isha-angle 12 --high-lat seventh")[0]
                             .at("adjusted"),
                         "fajr"));
    const CliResult text =
        RunCli(Words("times --lat 33.8688S --lon 151.2093E --zone -10 --from 2024-05-02 --days 1 "
                     "--moon --lang en"));
    EXPECT_TRUE(Contains(text.out, "— the Moon does not rise or set on that day"));
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
    const std::vector<KeyedRow> rows = KeyedCsvRows(r.out);
    ASSERT_EQ(rows.size(), 3u);
    // Each row is its day's times: those of the same day on a fixed clock of the same offset.
    const char* const kDays[][3] = {{"2011-12-28", "-10:00", "--zone 11 --summer 1"},
                                    {"2011-12-29", "-10:00", "--zone 11 --summer 1"},
                                    {"2011-12-31", "+14:00", "--zone -13 --summer 1"}};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& [date, offset, fixed] = kDays[k];
        EXPECT_EQ(rows[k].at("date"), date);
        EXPECT_EQ(rows[k].at("utc_offset"), offset);
        const KeyedRow same = KeyedTable("times --lat 13.83S --lon 171.75W --from " +
                                         std::string(date) + " --days 1 --csv " + fixed)[0];
        for (const char* key : {"fajr", "sunrise", "transit", "sunset", "isha"})
            EXPECT_EQ(rows[k].at(key), same.at(key)) << date << " " << key;
    }
    EXPECT_TRUE(Contains(RunCli(Words("times " + place + "--tz Pacific/Apia --lang en")).out,
                         "2011-12-30: the local clock skips these days"));
    // A table of nothing but the skipped day says why there is nothing.
    ExpectRefused(Words("times --lat 13.8333S --lon 171.75W --tz Pacific/Apia --from 2011-12-30 "
                        "--days 1 --csv"),
                  "zerin: no row could be computed: the local clock skips 2011-12-30 (the zone "
                  "moved across the date line)\n",
                  2);
    // The crescent's table keeps the same days.
    const CliResult crescent = RunCli(Words("crescent " + place + "--csv --tz Pacific/Apia"));
    ASSERT_EQ(crescent.status, 0) << crescent.err;
    EXPECT_FALSE(Contains(crescent.out, "2011-12-30"));
    EXPECT_TRUE(Contains(crescent.out, "\n2011-12-29,") && Contains(crescent.out, "\n2011-12-31,"));
    // Only a day the clock never shows: Havana skips its midnight hour, not the day.
    const struct {
        const char* zone;
        s::Civil date;
        bool skipped;
    } kCases[] = {{"Pacific/Apia", {2011, 12, 29}, false},
                  {"Pacific/Apia", {2011, 12, 30}, true},
                  {"Pacific/Apia", {2011, 12, 31}, false},
                  {"Europe/Paris", {2024, 3, 31}, false},
                  {"America/Havana", {2024, 3, 10}, false}};
    for (const auto& c : kCases) {
        std::string error;
        const auto clock = s::NamedClock(c.zone, error);
        ASSERT_NE(clock, nullptr) << error;
        EXPECT_EQ(clock->SkipsDate(c.date), c.skipped) << c.zone << " " << c.date.day;
    }
}

// A wrong item of --adjust leaves the adjustments as they were; the others add to the method's.
TEST(CommandLines, AdjustmentsReadWhole) {
    std::array<double, s::kPrayers> adjust{0, 0, 1, 0, 0, 0};
    std::array<bool, s::kPrayers> named{}, none{};
    std::string error;
    ASSERT_TRUE(
        s::ReadAdjustments("fajr=+2,sunrise=-1,dhuhr=+5,asr=0,maghrib=+3", adjust, named, error));
    ASSERT_TRUE(s::ReadAdjustments("isha=-2", adjust, named, error)) << error;
    EXPECT_FALSE(s::ReadAdjustments("fajr=1,isha=700", adjust, none, error));
    EXPECT_EQ(adjust, (std::array<double, s::kPrayers>{2, -1, 6, 0, 3, -2}));
    EXPECT_EQ(named, (std::array<bool, s::kPrayers>{true, true, true, true, true, true}));
    EXPECT_EQ(none, (std::array<bool, s::kPrayers>{}));
}

// What a table was computed with is written with it.
TEST(PrayerSettings, TheOutputSaysWhatItUsed) {
    const std::string day = kMecca +
                            "--days 1 --method dubai --adjust fajr=+2 --elevation 100 "
                            "--high-lat seventh --polar nearest-day ";
    const CliResult csv = RunCli(Words(day + "--csv"));
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
              "# Settings: method dubai; fajr 18.2°; isha 18.2°; adjustments fajr +2, sunrise "
              "-3, dhuhr +3, asr +3, maghrib +3; rounding nearest; horizon -1.1803°; elevation "
              "100 m; high latitudes seventh; polar nearest-day");
    EXPECT_TRUE(Contains(RunCli(Words(day + "--json")).out,
                         "\"prayer_method\": \"dubai\", \"fajr_angle\": 18.2, \"isha_angle\": "
                         "18.2, \"isha_interval\": null, \"ramadan_interval\": null, "
                         "\"maghrib_angle\": null, \"adjustments\": {\"fajr\": 2, \"sunrise\": "
                         "-3, \"dhuhr\": 3, \"asr\": 3, \"maghrib\": 3, \"isha\": 0}, "
                         "\"rounding\": \"nearest\", \"horizon\": -1.1803, \"elevation\": 100, "
                         "\"high_lat\": \"seventh\", \"polar\": \"nearest-day\", "
                         "\"method\": \"exact\""));
    EXPECT_EQ(RunCli(Words(day + "--lang en")).out.rfind("Settings: method dubai;", 0), 0u);
    // In Arabic, the method's Arabic name, the times' and the rules' names, the numbers left to
    // right.
    const CliResult arabic = RunCli(Words(day + "--lang ar"));
    EXPECT_EQ(arabic.out.substr(0, arabic.out.find('\n')),
              "الإعدادات: الطريقة " + std::string(s::PrayerMethodNamed("dubai")->arabic) +
                  " (\u2066dubai\u2069)؛ الفجر \u206618.2°\u2069؛ العشاء \u206618.2°\u2069؛ "
                  "التعديلات بالدقائق: الفجر \u2066+2\u2069، الشروق \u2066-3\u2069، الظهر "
                  "\u2066+3\u2069، العصر \u2066+3\u2069، المغرب \u2066+3\u2069؛ التقريب إلى "
                  "أقرب دقيقة؛ الأفق \u2066-1.1803°\u2069؛ الارتفاع \u2066100\u2069 م؛ خطوط "
                  "العرض العليا: سُبع الليل؛ الأيام القطبية: أقرب يوم تشرق فيه الشمس وتغرب");
}

// Every command's --help, anywhere after the command: its usage line first, its own
// options, exit 0, nothing on standard error.
TEST(CommandHelp, EveryCommandDescribesItsOptions) {
    const std::pair<std::string, const char*> kCommands[] = {
        {"report", "--json"},         {"times", "--method"},     {"ephemeris", "--step"},
        {"hijri", "--to-gregorian"},  {"crescent", "--morning"}, {"crescent-map", "--criterion"},
        {"preface", "zerin preface"}, {"places", "--near"},
    };
    for (const auto& [command, option] : kCommands) {
        for (const char* more : {"", " --from 2024-01-01"}) {
            const CliResult r = RunCli(Words(command + more + " --help"));
            EXPECT_EQ(r.status, 0) << command;
            EXPECT_EQ(r.err, "") << command;
            EXPECT_TRUE(Contains(r.out, option)) << command;
            const std::string usage = "Usage: zerin " + command;
            EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out.substr(0, 80);
            EXPECT_TRUE(r.out[usage.size()] == ' ' || r.out[usage.size()] == '\n') << command;
        }
    }
}

}  // namespace
}  // namespace zerin::test
