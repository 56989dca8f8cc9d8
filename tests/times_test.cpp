// zerin times: the values of the Sun command day by day, the clock on which they are
// shown (time-zone database, summer time, half-hour zones), the cells of days when the Sun
// never reaches an altitude, the high-latitude rules, and refused input.
#include "Times.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "TableOptions.h"
#include "TableWriter.h"
#include "TablesTestSupport.h"
#include "report/NumText.h"

namespace zerin::test {
namespace {

using services::Civil;
using services::ClockText;
using services::TimesDay;
using services::Timetable;
using zerin::SunTimes;

constexpr services::TimesMethod kAsReport = services::TimesMethod::AsReport;

// The Sun's times as its report prints them (after these formulas) and as a day holds them.
constexpr const char* kFormulas[] = {"MIDI = Asc - TS_Loc + (UT * 24) - Zone",
                                     "Lever = MIDI - Duirn",
                                     "Coucher = MIDI + Duirn",
                                     "Asr1 = MIDI + Fadl",
                                     "Asr2 = MIDI + Fadl",
                                     "Icha = MIDI + Fadl",
                                     "Fajr = MIDI - Fadl"};
constexpr double SunTimes::*kTimes[] = {&SunTimes::MIDI, &SunTimes::Lever, &SunTimes::Coucher,
                                        &SunTimes::Asr1, &SunTimes::Asr2,  &SunTimes::Icha,
                                        &SunTimes::Fajr};

// `zerin report sun` for a date and an instant, place and zone options after them.
std::string SunReport(int year, int month, int day, const std::string& more,
                      const std::string& hour = "12", const std::string& minute = "0") {
    std::vector<std::string> args = ReportArgs("sun", std::to_string(year), std::to_string(month),
                                               std::to_string(day), hour, minute, "0");
    for (const std::string& word : Words(more)) args.push_back(word);
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

// The place of the field texts, as the tables check it.
services::Place Checked(const services::FieldOptions& fields) {
    services::Place place;
    std::string error;
    EXPECT_TRUE(services::CheckPlace(fields, place, error)) << error;
    return place;
}

// The window's start-up place (5° 40' W).
services::Place DefaultPlace() {
    return Checked(services::FieldOptions{});
}

services::Place Place(const std::string& lonDeg, bool east, const std::string& latDeg,
                      bool north = true) {
    services::FieldOptions place;
    place.fields.TxtDegLon = lonDeg;
    place.fields.TxtMinLon = place.fields.TxtSecLon = "0";
    place.fields.TxtDegLat = latDeg;
    place.fields.TxtMinLat = place.fields.TxtSecLat = "0";
    place.east = east;
    place.north = north;
    return Checked(place);
}

// The default place (5° 40' W) at another latitude North.
services::Place AtLatitude(const std::string& latDeg) {
    services::FieldOptions place;
    place.fields.TxtDegLat = latDeg;
    place.fields.TxtMinLat = "0";
    return Checked(place);
}

Civil Date(int year, int month, int day) {
    return {year, month, day, 0, 0, 0};
}

void ExpectSameAsReport(const TimesDay& d, const std::string& report) {
    for (std::size_t k = 0; k < std::size(kTimes); ++k)
        EXPECT_EQ(NumText(d.sun.*kTimes[k]), Printed(report, kFormulas[k])) << kFormulas[k];
}

// The default settings with a high-latitude rule.
services::PrayerSettings WithRule(services::HighLatRule rule) {
    services::PrayerSettings s;
    s.rule = rule;
    return s;
}

TEST(Times, EachDayIsTheSunCommandAtNoonStandardTime) {
    // The default place (5° 40' W, 32° 56' N) on zone 0, and a place East of Greenwich on
    // zone -3, on days of each season, a leap day and the Gregorian reform's first day.
    const auto defaultClock = services::FixedClock(0, 0);
    Timetable defaultTable(DefaultPlace(), *defaultClock, services::PrayerSettings{}, kAsReport);
    const auto eastClock = services::FixedClock(-3, 0);
    Timetable eastTable(Place("39.8", true, "21.4"), *eastClock, services::PrayerSettings{},
                        kAsReport);
    for (const Civil& date : {Date(2005, 6, 17), Date(2005, 12, 21), Date(2024, 2, 29),
                              Date(2025, 3, 20), Date(1582, 10, 15)}) {
        SCOPED_TRACE(services::DateText(date));
        const TimesDay d = defaultTable.Day(date);
        ExpectSameAsReport(d, SunReport(date.year, date.month, date.day, ""));
        EXPECT_TRUE(d.sun.complete);
        EXPECT_EQ(d.clock[services::kFajr],
                  d.sun.Fajr);  // whole-hour zone: the clock is the zone's
        EXPECT_EQ(d.clock[services::kTransit], d.sun.MIDI);
        const TimesDay e = eastTable.Day(date);
        ExpectSameAsReport(e, SunReport(date.year, date.month, date.day,
                                        "--lon-deg 39.8 --lon-min 0 --east --lat-deg 21.4 "
                                        "--lat-min 0 --zone -3"));
        EXPECT_EQ(services::OffsetText(e.offset.Total()), "+03:00");
    }
}

TEST(Times, TheCommandRoundsTheReportsValues) {
    const std::string report = SunReport(2005, 6, 17, "");
    const CliResult r = RunCli(Words("times --from 2005-06-17 --days 1 --csv --as-report"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string row = "2005-06-17,+00:00";
    for (const int k : {6, 1, 0, 3, 4, 2, 5})  // Fajr, rising, transit, Asr, setting, Isha
        row += "," + ClockText(std::stod(Printed(report, kFormulas[k])), false);
    // What the table was computed with comes first: the report's horizon and angles.
    EXPECT_EQ(r.out,
              "# Settings: method morocco; fajr 19°; isha 17°; adjustments none; rounding "
              "nearest; horizon -0.2500°; elevation 0 m; high latitudes none; polar none\n"
              "date,utc_offset,fajr,sunrise,transit,asr1,asr2,sunset,isha,adjusted\n" +
                  row + ",\n");
    EXPECT_EQ(row, "2005-06-17,+00:00,03:25,05:17,12:24,16:06,17:22,19:30,21:09");
}

// A clock to the nearest minute (second), half of one rounding up, with the days it moves
// into; a table writes each clock into the cell the row before used: every write replaces the
// whole text, longer or shorter than the one it follows.
TEST(Times, ClockTextRoundsAndReplacesTheCellsText) {
    struct Case {
        double hours;
        bool seconds;
        std::string text;
    };
    // clang-format off
    const Case cases[] = {
        {23 + 59.5 / 60, false, "00:00+1"}, {5.2, false, "05:12"}, {5.2 + 7.0 / 3600, true, "05:12:07"},
        {-0.25, true, "23:45:00-1"}, {0, false, "00:00"}, {-48.5, false, "23:30-3"},
        {12.5, true, "12:30:00"}, {13.75, false, "13:45"}, {12 + 59.5 / 60, false, "13:00"},
        {12 + 59.49 / 60, false, "12:59"}, {12 + 29.5 / 60, false, "12:30"}, {24.5, false, "00:30+1"},
        {-0.25, false, "23:45-1"}, {5 + 59.0 / 60 + 59.5 / 3600, true, "06:00:00"},
        {5 + 59.0 / 60 + 59.4 / 3600, true, "05:59:59"}, {23 + 59.0 / 60 + 59.5 / 3600, true, "00:00:00+1"},
        {48.25, false, "00:15+2"},
        // Halves as the report writes them, to 15 digits: 12:30:30 and 05:59:59.5 round up.
        {12.5083333333333, false, "12:31"}, {5.99986111111111, true, "06:00:00"},
    };
    // clang-format on
    std::string cell = "a text longer than any clock";
    for (const Case& c : cases) {
        services::WriteClockText(c.hours, c.seconds, cell);
        EXPECT_EQ(cell, c.text) << c.hours;
        EXPECT_EQ(ClockText(c.hours, c.seconds), c.text) << c.hours;
    }
}

TEST(Times, SummerTimeChangeFromTheZoneDatabase) {
    if (!HaveZone("Europe/Paris")) GTEST_SKIP() << "no time-zone database (package tzdata)";
    std::string error;
    const auto paris = services::NamedClock("Europe/Paris", error);
    ASSERT_TRUE(paris) << error;
    const auto plus1 = services::FixedClock(-1, 0);
    const services::Place place = Place("2.35", true, "48.85");
    Timetable withTz(place, *paris, services::PrayerSettings{}, kAsReport);
    Timetable fixed(place, *plus1, services::PrayerSettings{}, kAsReport);
    // 30 March 2025: clocks go from +01:00 to +02:00 at 01:00 UT; noon is after it.
    for (int day = 29; day <= 31; ++day) {
        SCOPED_TRACE(day);
        const TimesDay d = withTz.Day(Date(2025, 3, day));
        const TimesDay standard = fixed.Day(Date(2025, 3, day));
        EXPECT_EQ(d.offset.standard, 3600);
        EXPECT_EQ(d.offset.summer, day == 29 ? 0 : 3600);
        // The day's instant is noon standard time: the Sun command's values are those of
        // zone -1 without summer time, shown an hour later once summer time is in force.
        ExpectSameAsReport(d, SunReport(2025, 3, day,
                                        "--lon-deg 2.35 --lon-min 0 --east --lat-deg 48.85 "
                                        "--lat-min 0 --zone -1"));
        for (int c = 0; c < services::kMaghrib; ++c)
            EXPECT_EQ(d.clock[c], standard.clock[c] + (day == 29 ? 0 : 1));
    }
    const CliResult r = RunCli(
        Words("times --lon 2:21E --lat 48:51N --tz Europe/Paris --from 2025-03-29 --to 2025-03-31 "
              "--lang en"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2025-03-29  +01:00  "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2025-03-30  +02:00  "), std::string::npos);
    EXPECT_NE(r.out.find("2025-03-31  +02:00  "), std::string::npos);
}

// The database's offsets against rules published in law: the European Union's (summer
// time from the last Sunday of March to the last Sunday of October, 01:00 UTC; Directive
// 2000/84/EC) and New South Wales' (from the first Sunday of October, 02:00 standard time,
// to the first Sunday of April, 03:00 summer time), also past 2037, where the compiled
// files' lists of changes end and their rule takes over; Ireland's standard time is
// +01:00 with a negative summer time in winter (Standard Time Act 1968).
TEST(Times, ZoneClockFollowsThePublishedRules) {
    struct Case {
        const char* zone;
        const char* utc;
        services::Seconds standard, summer;
    };
    const Case cases[] = {
        {"Europe/Paris", "2025-07-15T12:00:00", 3600, 3600},
        {"Europe/Paris", "2040-03-25T00:59:59", 3600, 0},
        {"Europe/Paris", "2040-03-25T01:00:00", 3600, 3600},
        {"Europe/Paris", "2040-10-28T00:59:59", 3600, 3600},
        {"Europe/Paris", "2040-10-28T01:00:00", 3600, 0},
        {"Europe/Paris", "2250-07-01T00:00:00", 3600, 3600},
        {"Australia/Sydney", "2050-04-02T15:59:59", 36000, 3600},
        {"Australia/Sydney", "2050-04-02T16:00:00", 36000, 0},
        {"Australia/Sydney", "2050-10-01T15:59:59", 36000, 0},
        {"Australia/Sydney", "2050-10-01T16:00:00", 36000, 3600},
        {"Europe/Dublin", "2025-01-15T12:00:00", 3600, -3600},
        {"Europe/Dublin", "2060-01-15T12:00:00", 3600, -3600},
        {"Europe/Dublin", "2060-07-15T12:00:00", 3600, 0},
        {"Asia/Kolkata", "2050-06-01T00:00:00", 19800, 0},
        {"Europe/Paris", "1900-01-01T00:00:00", 561, 0},  // Paris mean time, +00:09:21
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.utc);
        if (!HaveZone(c.zone)) GTEST_SKIP() << "no time-zone database (package tzdata)";
        std::string error;
        const auto clock = services::NamedClock(c.zone, error);
        ASSERT_TRUE(clock) << error;
        Civil utc;
        ASSERT_TRUE(cli::ParseDate(c.utc, true, utc, error)) << error;
        const services::ClockOffset offset = clock->At(services::SecondsOf(utc));
        EXPECT_EQ(offset.standard, c.standard);
        EXPECT_EQ(offset.summer, c.summer);
    }
}

// A summer time moves every cell the Sun's altitude does not set (the transit, the afternoon
// times, dawn and nightfall) by its hours, and the offset column with them: by both methods,
// from the option and from the time-zone database (Oslo keeps +02:00 in June).
TEST(Times, ASummerTimeMovesTheCellsByItsHours) {
    struct Case {
        const char *what, *place, *summer, *standard;  // options of `zerin times`
        int hours;
        const char *summerOffset, *standardOffset;
    };
    const Case kCases[] = {
        {"Oslo, exact", "--lon 10:45E --lat 59:55N", "--tz Europe/Oslo", "--zone -1", 1, "+02:00",
         "+01:00"},
        {"Oslo, as the report", "--lon 10:45E --lat 59:55N --as-report", "--tz Europe/Oslo",
         "--zone -1", 1, "+02:00", "+01:00"},
        {"Mecca, exact", "--lon 39:49E --lat 21:25N", "--zone -3 --summer 1", "--zone -3", 1,
         "+04:00", "+03:00"},
        {"West, two hours", "--lon 74W --lat 40:43N", "--zone 5 --summer 2", "--zone 5", 2,
         "-03:00", "-05:00"},
        {"a negative summer time", "--lon 6:15W --lat 53:20N", "--zone -1 --summer -1", "--zone -1",
         -1, "+00:00", "+01:00"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database (package tzdata)";
        const std::string day =
            std::string("times ") + c.place + " --from 2025-06-01 --days 1 --csv --seconds ";
        const auto summer = CsvTable(Words(day + c.summer));
        const auto standard = CsvTable(Words(day + c.standard));
        ASSERT_TRUE(summer.size() == 1 && standard.size() == 1);
        EXPECT_EQ(summer[0][1] + standard[0][1], std::string(c.summerOffset) + c.standardOffset);
        for (const int cell : {services::kFajr, services::kTransit, services::kAsr1,
                               services::kAsr2, services::kIsha}) {
            const std::string &a = summer[0][2 + cell], &b = standard[0][2 + cell];
            ASSERT_EQ(a.empty(), b.empty()) << cell;
            EXPECT_TRUE(a.empty() || ClockMinutes(a) == ClockMinutes(b) + c.hours * 60) << a;
        }
    }
}

TEST(Times, ZonesThatAreNotWholeHours) {
    struct Case {
        const char* zone;
        const char* lonDeg;
        bool east;
        const char* zoneField;  // the whole-hour zone the instant is entered on
        const char* hour;       // and its clock time for noon at the real offset
        const char* minute;
        const char* offset;
        double shift;  // hours from the whole-hour zone's clock to the real one
    };
    for (const Case& c :
         {Case{"Asia/Kolkata", "77.2", true, "-5", "11", "30", "+05:30", 0.5},
          Case{"Asia/Kathmandu", "85.3", true, "-5", "11", "15", "+05:45", 0.75},
          Case{"America/St_Johns", "52.7", false, "3", "12", "30", "-03:30", -0.5}}) {
        SCOPED_TRACE(c.zone);
        if (!HaveZone(c.zone)) GTEST_SKIP() << "no time-zone database (package tzdata)";
        std::string error;
        const auto clock = services::NamedClock(c.zone, error);
        ASSERT_TRUE(clock) << error;
        Timetable table(Place(c.lonDeg, c.east, "28"), *clock, services::PrayerSettings{},
                        kAsReport);
        const TimesDay d = table.Day(Date(2025, 1, 15));  // no summer time anywhere here
        EXPECT_EQ(services::OffsetText(d.offset.Total()), c.offset);
        const std::string place = std::string("--lon-deg ") + c.lonDeg + " --lon-min 0 " +
                                  (c.east ? "--east" : "--west") +
                                  " --lat-deg 28 --lat-min 0 --zone " + c.zoneField;
        ExpectSameAsReport(d, SunReport(2025, 1, 15, place, c.hour, c.minute));
        EXPECT_EQ(d.clock[services::kTransit], d.sun.MIDI + c.shift);
        // Noon on the real clock is near 12 h plus the place's distance from the zone's
        // meridian, whatever the whole-hour zone the instant went in on.
        EXPECT_NEAR(d.clock[services::kTransit], 12, 0.6);
    }
}

TEST(Times, PolarDayAndNightKeepTheOtherCells) {
    const auto clock = services::FixedClock(0, 0);
    const services::Place seventyNorth = AtLatitude("70");
    for (const services::HighLatRule rule :
         {services::HighLatRule::None, services::HighLatRule::Middle}) {
        Timetable table(seventyNorth, *clock, WithRule(rule), kAsReport);
        // Midsummer: the Sun never sets, so no rising, setting, dawn or nightfall, and no
        // night for a high-latitude rule to divide; the transit and afternoon times stay.
        const TimesDay summer = table.Day(Date(2005, 6, 17));
        for (const int c :
             {services::kFajr, services::kSunrise, services::kSunset, services::kIsha})
            EXPECT_TRUE(std::isnan(summer.clock[c])) << c;
        for (const int c : {services::kTransit, services::kAsr1, services::kAsr2})
            EXPECT_FALSE(std::isnan(summer.clock[c])) << c;
        EXPECT_FALSE(summer.adjusted[services::kFajr] || summer.adjusted[services::kIsha]);
        EXPECT_FALSE(summer.sun.complete);
        // Midwinter: the Sun never rises, nor reaches an afternoon altitude, but it comes
        // within 17 and 19 degrees of the horizon: dawn and nightfall stay.
        const TimesDay winter = table.Day(Date(2005, 12, 21));
        for (const int c :
             {services::kSunrise, services::kSunset, services::kAsr1, services::kAsr2})
            EXPECT_TRUE(std::isnan(winter.clock[c])) << c;
        for (const int c : {services::kFajr, services::kTransit, services::kIsha})
            EXPECT_FALSE(std::isnan(winter.clock[c])) << c;
    }
    // The report of the same midsummer day writes only the transit; the table's transit
    // is that value.
    const std::string report = SunReport(2005, 6, 17, "--lat-deg 70 --lat-min 0");
    Timetable table(seventyNorth, *clock, services::PrayerSettings{}, kAsReport);
    EXPECT_EQ(NumText(table.Day(Date(2005, 6, 17)).sun.MIDI),
              Printed(report, "MIDI = Asc - TS_Loc + (UT * 24) - Zone"));

    const CliResult r = RunCli(
        Words("times --lat 70 --from 2005-06-17 --days 1 --lang en --high-lat middle --as-report"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(
        r.out.find("2005-06-17  +00:00      —         —        12:24    17:37    19:09    —        "
                   "—\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("— the Sun does not reach the altitude of this time on that day"),
              std::string::npos);
}

TEST(Times, HighLatitudeRulesFillDawnAndNightfall) {
    // 60° N in mid-June: rising and setting, but no dawn nor nightfall. The report stops
    // after the second afternoon time; the table keeps every cell it can compute.
    const auto clock = services::FixedClock(0, 0);
    const services::Place sixtyNorth = AtLatitude("60");
    const std::string report = SunReport(2005, 6, 17, "--lat-deg 60 --lat-min 0");
    Timetable none(sixtyNorth, *clock, services::PrayerSettings{}, kAsReport);
    const TimesDay d = none.Day(Date(2005, 6, 17));
    EXPECT_TRUE(std::isnan(d.clock[services::kFajr]));
    EXPECT_TRUE(std::isnan(d.clock[services::kIsha]));
    EXPECT_EQ(NumText(d.sun.Asr2), Printed(report, "Asr2 = MIDI + Fadl"));
    EXPECT_EQ(NumText(d.sun.Coucher), Printed(report, "Coucher = MIDI + Duirn"));

    const double rising = d.clock[services::kSunrise], setting = d.clock[services::kSunset];
    const double night = 24 - (setting - rising);
    // The rule's parts of the night (fractions of it), and whether at 32° N, where dawn and
    // nightfall exist, the computed times lie beyond the rule's and give way to it (a dawn
    // earlier than the last seventh of a 9.8-hour night).
    struct Rule {
        services::HighLatRule rule;
        double dawnPart, nightfallPart;
        bool takesSouth;
    };
    for (const Rule& rule : {Rule{services::HighLatRule::Middle, 1.0 / 2, 1.0 / 2, false},
                             Rule{services::HighLatRule::Seventh, 1.0 / 7, 1.0 / 7, true},
                             Rule{services::HighLatRule::Angle, 19.0 / 60, 17.0 / 60, false}}) {
        Timetable table(sixtyNorth, *clock, WithRule(rule.rule), kAsReport);
        const TimesDay a = table.Day(Date(2005, 6, 17));
        EXPECT_DOUBLE_EQ(a.clock[services::kFajr], rising - night * rule.dawnPart);
        EXPECT_DOUBLE_EQ(a.clock[services::kIsha], setting + night * rule.nightfallPart);
        EXPECT_TRUE(a.adjusted[services::kFajr] && a.adjusted[services::kIsha]);
        EXPECT_FALSE(a.adjusted[services::kSunrise]);
        Timetable south(DefaultPlace(), *clock, WithRule(rule.rule), kAsReport);
        const TimesDay b = south.Day(Date(2005, 6, 17));
        const double southNight = 24 - (b.clock[services::kSunset] - b.clock[services::kSunrise]);
        EXPECT_EQ(b.adjusted[services::kFajr], rule.takesSouth);
        EXPECT_EQ(b.adjusted[services::kIsha], rule.takesSouth);
        if (rule.takesSouth) {
            EXPECT_DOUBLE_EQ(b.clock[services::kFajr],
                             b.clock[services::kSunrise] - southNight * rule.dawnPart);
            EXPECT_DOUBLE_EQ(b.clock[services::kIsha],
                             b.clock[services::kSunset] + southNight * rule.nightfallPart);
        } else {
            EXPECT_EQ(b.clock[services::kFajr], b.sun.Fajr);
            EXPECT_EQ(b.clock[services::kIsha], b.sun.Icha);
        }
    }

    const std::string day = "times --lat 60 --from 2005-06-17 --days 1 ";
    const CliResult csv = RunCli(Words(day + "--csv --high-lat middle --as-report"));
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(csv.out.find(",00:24+1,fajr;isha\n"), std::string::npos) << csv.out;
    const CliResult plain = RunCli(Words(day + "--csv --as-report"));
    EXPECT_NE(plain.out.find("2005-06-17,+00:00,,03:06,12:24,17:05,18:24,21:41,,\n"),
              std::string::npos)
        << plain.out;
    const CliResult text = RunCli(Words(day + "--lang en --high-lat seventh"));
    EXPECT_NE(text.out.find("* taken by the high-latitude rule seventh\n"), std::string::npos);
}

// The night keeps its order: a dawn after the evening before (the last rising before the midnight
// Sun, at Tromsø and Hammerfest, takes the seventh of the night before it; Oslo's dawn by the
// middle of a lengthening night is held at the previous nightfall, marked), and the night's
// middle after its setting.
TEST(Times, TheNightKeepsItsOrder) {
    if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database";
    struct Case {
        const char *place, *from, *fajr, *midnight;
    };
    // clang-format off
    const Case kCases[] = {
        {"--lat 69.6489N --lon 18.9551E --method moonsighting", "2025-05-16", "01:04", "00:35+1"},
        {"--lat 70.6631N --lon 23.6809E --method moonsighting", "2025-05-12", "00:41", "00:17+1"},
        {"--lat 59.9139N --lon 10.7522E --high-lat middle", "2024-08-16", "01:22", "23:14"},
    };
    // clang-format on
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.place);
        const auto rows = CsvTable(Words(std::string("times --tz Europe/Oslo --days 2 --extras "
                                                     "--csv --from ") +
                                         c.from + " " + c.place));
        ASSERT_EQ(rows.size(), 2u);
        const std::vector<std::string>& day = rows[0];
        const std::size_t isha = day.size() - 4, sunset = isha - (day.size() == 13 ? 2 : 1);
        EXPECT_EQ(rows[1][2], c.fajr);
        EXPECT_EQ(day[isha + 1], c.midnight);
        EXPECT_GE(ClockMinutes(rows[1][2]) + 1440, ClockMinutes(day[isha]));
        EXPECT_GT(ClockMinutes(day[isha + 1]), ClockMinutes(day[sunset]));
        EXPECT_EQ(rows[1].back().rfind("fajr", 0), 0u);
    }
}

// A polar rule fills the afternoon too, from the first day (latitude) where the Sun reaches it,
// and says once, on standard error and under the table, when it finds nothing.
TEST(Times, PolarRulesFillTheAfternoonOrSaySo) {
    const auto rows =
        CsvTable(Words("times --lat 70N --lon 0E --polar nearest-day --from 2025-12-20 --days 1 "
                       "--csv"));
    EXPECT_EQ(rows[0][5], "11:47");
    EXPECT_EQ(rows[0].back(), "fajr;sunrise;transit;asr1;asr2;sunset;isha");
    const std::string pole = "times --lat 89.9N --lon 0E --polar nearest-day --from 2025-03-10 ";
    for (const char* format : {"--days 2 --lang en", "--days 3 --csv"}) {
        const CliResult r = RunCli(Words(pole + format));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err,
                  "zerin: the polar rule nearest-day finds no day within half a year with both a "
                  "rising and a setting (first on 2025-03-10): those days keep their empty "
                  "cells\n");
    }
    EXPECT_TRUE(Contains(RunCli(Words(pole + "--days 1 --lang en")).out,
                         "\n— the polar rule nearest-day finds no day within half a year"));
}

// --lon and --lat write the same field texts as the report's field options.
TEST(Times, PlaceOptions) {
    const std::pair<const char*, const char*> same[] = {
        {"--lon 5:40:0W --lat 32:56:0N --seconds", "--seconds"},
        {"--lon -39.8 --lat 21.4 --zone -3",
         "--lon-deg 39.8 --lon-min 0 --east --lat-deg 21.4 --lat-min 0 --zone -3"},
        {"--lat 33:55S --lon 18:25E --zone -2",
         "--lat-deg 33 --lat-min 55 --south --lon-deg 18 --lon-min 25 --east --zone -2"}};
    for (const auto& [whole, fields] : same) {
        const std::string days = "times --from 2005-06-17 --days 2 --csv ";
        const CliResult a = RunCli(Words(days + whole)), b = RunCli(Words(days + fields));
        ASSERT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(a.out, b.out) << whole;
    }
    // The table's Arabic header is the default.
    const CliResult arabic = RunCli(Words("times --from 2005-06-17 --days 1"));
    EXPECT_EQ(arabic.out.find("\nالتاريخ     فرق التوقيت  الفجر"), arabic.out.find('\n'))
        << arabic.out;
    // Its settings in Arabic, each number kept left to right between the isolates.
    EXPECT_EQ(arabic.out.substr(0, arabic.out.find('\n')),
              "الإعدادات: الطريقة وزارة الأوقاف المغربية (\u2066morocco\u2069)؛ الفجر "
              "\u206619°\u2069؛ العشاء \u206617°\u2069؛ التعديلات بالدقائق: لا تعديل؛ "
              "التقريب إلى أقرب دقيقة؛ الأفق \u2066-0.8333°\u2069؛ الارتفاع \u20660\u2069 م؛ "
              "خطوط العرض العليا: لا تقدير؛ الأيام القطبية: لا تقدير")
        << arabic.out;
}

TEST(Times, TheTableStopsAtAFullDisk) {
    // A million days to a full device: one message, the status of a failed output.
    const std::string command = std::string(ZERIN_EXE) +
                                " times --from 2000-01-01 --days 1000000 --csv > /dev/full "
                                "2> " +
                                Scratch("times_test_err.txt");
    const int status = std::system(command.c_str());
    const std::string err = ReadFile(Scratch("times_test_err.txt"));
    std::remove(Scratch("times_test_err.txt").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(err, "zerin: could not write the output: No space left on device\n");
}

// Every row of a text table keeps the header's columns, whatever its cells: the day marks,
// the marks of filled times, the missing ones.
TEST(Times, TextColumnsStayAligned) {
    const CliResult r =
        RunCli(Words("times --lat 60 --lon -25 --zone -4 --from 2005-04-01 "
                     "--days 90 --lang en --high-lat middle --seconds"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, line;
    std::getline(lines, header);  // what the table was computed with
    std::getline(lines, header);
    std::vector<std::size_t> starts;  // of each column, in terminal cells
    for (const char* name :
         {"UTC offset", "Fajr", "Sunrise", "Transit", "Asr 1", "Asr 2", "Sunset", "Isha"})
        starts.push_back(services::DisplayWidth(header.substr(0, header.find(name))));
    int marked = 0;
    while (std::getline(lines, line) && line.rfind("2005-", 0) == 0) {
        marked += line.find('*') != std::string::npos && line.find("+1") != std::string::npos;
        // Where each cell after the date starts (cells hold no blank).
        std::vector<std::size_t> cells;
        for (std::size_t k = 1; k < line.size(); ++k)
            if (line[k] != ' ' && line[k - 1] == ' ')
                cells.push_back(services::DisplayWidth(line.substr(0, k)));
        EXPECT_EQ(cells, starts) << line;
    }
    EXPECT_GT(marked, 0) << r.out;  // the widest cells were there
}

// The Hijri date column: Saudi Arabia's official calendar put 1 Ramadan 1446 on 1 March 2025
// and 1 Muharram 1300 on 12 November 1882; outside its table (before 1300 AH) the tabular
// calendar stands in and the table says so.
TEST(Times, HijriDateColumn) {
    const CliResult csv =
        RunCli(Words("times --lat 21:25N --lon 39:49E --zone -3 --from "
                     "2025-02-28 --days 2 --csv --hijri-rule umm-al-qura"));
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(csv.out.find(
                  "\ndate,hijri,utc_offset,fajr,sunrise,transit,asr1,asr2,sunset,isha,adjusted\n"),
              std::string::npos);
    EXPECT_NE(csv.out.find("\n2025-02-28,1446-08-29,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("\n2025-03-01,1446-09-01,"), std::string::npos) << csv.out;

    const CliResult text =
        RunCli(Words("times --from 1882-11-11 --days 2 --hijri-rule umm-al-qura"));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("1 محرم 1300 هـ"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("التقويم الجدولي"), std::string::npos) << text.out;  // 1299 AH

    const CliResult json =
        RunCli(Words("times --from 2025-03-01 --days 1 --json --hijri-rule civil"));
    EXPECT_NE(json.out.find("\"hijri_rule\": \"civil\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"hijri\": \"1446-09-"), std::string::npos) << json.out;

    // 1 Muharram 9666 is 2 October 9999: its way back is past the program's last day, so the
    // column stops at 30 Dhu al-Hijja 9665 and the table says so.
    const CliResult last = RunCli(
        Words("times --from 9999-09-30 --days 3 --csv --hijri-rule civil --lang en --zone -3"));
    ASSERT_EQ(last.status, 0) << last.err;
    EXPECT_NE(last.out.find("\n9999-10-01,9665-12-30,"), std::string::npos) << last.out;
    EXPECT_NE(last.out.find("\n9999-10-02,,"), std::string::npos) << last.out;
    const CliResult noted =
        RunCli(Words("times --from 9999-10-01 --days 2 --hijri-rule civil --lang en --zone -3"));
    EXPECT_NE(noted.out.find("no Hijri date after the year 9665 AH (9999-10-01)"),
              std::string::npos)
        << noted.out;
    const CliResult hijri = RunCli({"hijri", "9999-10-01"});
    EXPECT_EQ(hijri.status, 0) << hijri.err;
    EXPECT_NE(hijri.out.find("(9665-12-30)"), std::string::npos) << hijri.out;
}

}  // namespace
}  // namespace zerin::test
