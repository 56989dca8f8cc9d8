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
std::string SunReport(const Civil& date, const std::string& more, const std::string& hour = "12",
                      const std::string& minute = "0") {
    const CliResult r =
        RunCli(With(ReportArgs("sun", std::to_string(date.year), std::to_string(date.month),
                               std::to_string(date.day), hour, minute, "0"),
                    Words(more)));
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

// The place of the field texts (degrees only; the default place's 5° 40' W, 32° 56' N where
// none is given), as the tables check it.
services::Place Place(const char* lonDeg = nullptr, bool east = false, const char* latDeg = nullptr,
                      bool north = true) {
    services::FieldOptions place;
    if (lonDeg) place.fields.TxtDegLon = lonDeg, place.fields.TxtMinLon = "0", place.east = east;
    if (latDeg) place.fields.TxtDegLat = latDeg, place.fields.TxtMinLat = "0", place.north = north;
    services::Place checked;
    std::string error;
    EXPECT_TRUE(services::CheckPlace(place, checked, error)) << error;
    return checked;
}

// A table as the report computes it, on a fixed clock or a named one.
struct Table {
    std::unique_ptr<services::ZoneClock> clock;
    Timetable table;
    Table(const services::Place& place, std::unique_ptr<services::ZoneClock> c,
          services::HighLatRule rule = services::HighLatRule::None)
        : clock(std::move(c)), table(place, *clock, WithRule(rule), kAsReport) {}
    static services::PrayerSettings WithRule(services::HighLatRule rule) {
        services::PrayerSettings s;
        s.rule = rule;
        return s;
    }
    TimesDay Day(int year, int month, int day) { return table.Day({year, month, day, 0, 0, 0}); }
};

std::unique_ptr<services::ZoneClock> Named(const char* zone) {
    std::string error;
    auto clock = services::NamedClock(zone, error);
    EXPECT_TRUE(clock) << error;
    return clock;
}

void ExpectSameAsReport(const TimesDay& d, const std::string& report) {
    for (std::size_t k = 0; k < std::size(kTimes); ++k)
        EXPECT_EQ(NumText(d.sun.*kTimes[k]), Printed(report, kFormulas[k])) << kFormulas[k];
}

TEST(Times, EachDayIsTheSunCommandAtNoonStandardTime) {
    // The default place (5° 40' W, 32° 56' N) on zone 0, and a place East of Greenwich on
    // zone -3, on days of each season, a leap day and the Gregorian reform's first day.
    Table standard(Place(), services::FixedClock(0, 0));
    Table east(Place("39.8", true, "21.4"), services::FixedClock(-3, 0));
    for (const Civil& date : {Civil{2005, 6, 17}, Civil{2005, 12, 21}, Civil{2024, 2, 29},
                              Civil{2025, 3, 20}, Civil{1582, 10, 15}}) {
        SCOPED_TRACE(services::DateText(date));
        const TimesDay d = standard.Day(date.year, date.month, date.day);
        ExpectSameAsReport(d, SunReport(date, ""));
        EXPECT_TRUE(d.sun.complete);
        // A whole-hour zone: the clock is the zone's.
        EXPECT_EQ(d.clock[services::kFajr], d.sun.Fajr);
        EXPECT_EQ(d.clock[services::kTransit], d.sun.MIDI);
        const TimesDay e = east.Day(date.year, date.month, date.day);
        ExpectSameAsReport(
            e, SunReport(date,
                         "--lon-deg 39.8 --lon-min 0 --east --lat-deg 21.4 --lat-min 0 --zone -3"));
        EXPECT_EQ(services::OffsetText(e.offset.Total()), "+03:00");
    }
}

TEST(Times, TheCommandRoundsTheReportsValues) {
    const std::string report = SunReport({2005, 6, 17}, "");
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
// whole text, longer or shorter than the one it follows. Halves as the report writes them,
// to 15 digits (12:30:30 and 05:59:59.5), round up.
TEST(Times, ClockTextRoundsAndReplacesTheCellsText) {
    const struct {
        double hours;
        bool seconds;
        std::string text;
    } cases[] = {
        // clang-format off
        {23 + 59.5 / 60, false, "00:00+1"}, {5.2, false, "05:12"}, {5.2 + 7.0 / 3600, true, "05:12:07"},
        {-0.25, true, "23:45:00-1"}, {0, false, "00:00"}, {-48.5, false, "23:30-3"},
        {12.5, true, "12:30:00"}, {13.75, false, "13:45"}, {12 + 59.5 / 60, false, "13:00"},
        {12 + 59.49 / 60, false, "12:59"}, {12 + 29.5 / 60, false, "12:30"}, {24.5, false, "00:30+1"},
        {-0.25, false, "23:45-1"}, {5 + 59.0 / 60 + 59.5 / 3600, true, "06:00:00"},
        {5 + 59.0 / 60 + 59.4 / 3600, true, "05:59:59"}, {23 + 59.0 / 60 + 59.5 / 3600, true, "00:00:00+1"},
        {48.25, false, "00:15+2"}, {12.5083333333333, false, "12:31"}, {5.99986111111111, true, "06:00:00"},
        // clang-format on
    };
    std::string cell = "a text longer than any clock";
    for (const auto& c : cases) {
        services::WriteClockText(c.hours, c.seconds, cell);
        EXPECT_EQ(cell, c.text) << c.hours;
        EXPECT_EQ(ClockText(c.hours, c.seconds), c.text) << c.hours;
    }
}

TEST(Times, SummerTimeChangeFromTheZoneDatabase) {
    if (!HaveZone("Europe/Paris")) GTEST_SKIP() << "no time-zone database (package tzdata)";
    const services::Place place = Place("2.35", true, "48.85");
    Table paris(place, Named("Europe/Paris")), fixed(place, services::FixedClock(-1, 0));
    // 30 March 2025: clocks go from +01:00 to +02:00 at 01:00 UT; noon is after it.
    for (int day = 29; day <= 31; ++day) {
        SCOPED_TRACE(day);
        const TimesDay d = paris.Day(2025, 3, day), standard = fixed.Day(2025, 3, day);
        EXPECT_EQ(d.offset.standard, 3600);
        EXPECT_EQ(d.offset.summer, day == 29 ? 0 : 3600);
        // The day's instant is noon standard time: the Sun command's values are those of
        // zone -1 without summer time, shown an hour later once summer time is in force.
        ExpectSameAsReport(d, SunReport({2025, 3, day},
                                        "--lon-deg 2.35 --lon-min 0 --east "
                                        "--lat-deg 48.85 --lat-min 0 --zone -1"));
        for (int c = 0; c < services::kMaghrib; ++c)
            EXPECT_EQ(d.clock[c], standard.clock[c] + (day == 29 ? 0 : 1));
    }
    const CliResult r =
        RunCli(Words("times --lon 2:21E --lat 48:51N --tz Europe/Paris --from "
                     "2025-03-29 --to 2025-03-31 --lang en"));
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* row : {"2025-03-29  +01:00  ", "2025-03-30  +02:00  ", "2025-03-31  +02:00  "})
        EXPECT_TRUE(Contains(r.out, row)) << r.out;
}

// The database's offsets against rules published in law: the European Union's (summer
// time from the last Sunday of March to the last Sunday of October, 01:00 UTC; Directive
// 2000/84/EC) and New South Wales' (from the first Sunday of October, 02:00 standard time,
// to the first Sunday of April, 03:00 summer time), also past 2037, where the compiled
// files' lists of changes end and their rule takes over; Ireland's standard time is
// +01:00 with a negative summer time in winter (Standard Time Act 1968); Paris mean time
// (+00:09:21) in 1900.
TEST(Times, ZoneClockFollowsThePublishedRules) {
    const struct {
        const char *zone, *utc;
        services::Seconds standard, summer;
    } cases[] = {
        // clang-format off
        {"Europe/Paris", "2025-07-15T12:00:00", 3600, 3600}, {"Europe/Paris", "2040-03-25T00:59:59", 3600, 0},
        {"Europe/Paris", "2040-03-25T01:00:00", 3600, 3600}, {"Europe/Paris", "2040-10-28T00:59:59", 3600, 3600},
        {"Europe/Paris", "2040-10-28T01:00:00", 3600, 0}, {"Europe/Paris", "2250-07-01T00:00:00", 3600, 3600},
        {"Australia/Sydney", "2050-04-02T15:59:59", 36000, 3600}, {"Australia/Sydney", "2050-04-02T16:00:00", 36000, 0},
        {"Australia/Sydney", "2050-10-01T15:59:59", 36000, 0}, {"Australia/Sydney", "2050-10-01T16:00:00", 36000, 3600},
        {"Europe/Dublin", "2025-01-15T12:00:00", 3600, -3600}, {"Europe/Dublin", "2060-01-15T12:00:00", 3600, -3600},
        {"Europe/Dublin", "2060-07-15T12:00:00", 3600, 0}, {"Asia/Kolkata", "2050-06-01T00:00:00", 19800, 0},
        {"Europe/Paris", "1900-01-01T00:00:00", 561, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.utc);
        if (!HaveZone(c.zone)) GTEST_SKIP() << "no time-zone database (package tzdata)";
        Civil utc;
        std::string error;
        ASSERT_TRUE(cli::ParseDate(c.utc, true, utc, error)) << error;
        const services::ClockOffset offset = Named(c.zone)->At(services::SecondsOf(utc));
        EXPECT_EQ(offset.standard, c.standard);
        EXPECT_EQ(offset.summer, c.summer);
    }
}

// A summer time moves every cell the Sun's altitude does not set (the transit, the afternoon
// times, dawn and nightfall) by its hours, and the offset column with them: by both methods,
// from the option and from the time-zone database (Oslo keeps +02:00 in June).
TEST(Times, ASummerTimeMovesTheCellsByItsHours) {
    if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database (package tzdata)";
    const struct {
        const char *place, *summer, *standard;  // options of `zerin times`
        int hours;
        const char* offsets;
    } cases[] = {
        // clang-format off
        {"--lon 10:45E --lat 59:55N", "--tz Europe/Oslo", "--zone -1", 1, "+02:00+01:00"},
        {"--lon 10:45E --lat 59:55N --as-report", "--tz Europe/Oslo", "--zone -1", 1, "+02:00+01:00"},
        {"--lon 39:49E --lat 21:25N", "--zone -3 --summer 1", "--zone -3", 1, "+04:00+03:00"},
        {"--lon 74W --lat 40:43N", "--zone 5 --summer 2", "--zone 5", 2, "-03:00-05:00"},
        {"--lon 6:15W --lat 53:20N", "--zone -1 --summer -1", "--zone -1", -1, "+00:00+01:00"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.place) + " " + c.summer);
        const std::string day =
            std::string("times ") + c.place + " --from 2025-06-01 --days 1 --csv --seconds ";
        const auto summer = CsvTable(Words(day + c.summer));
        const auto standard = CsvTable(Words(day + c.standard));
        ASSERT_TRUE(summer.size() == 1 && standard.size() == 1);
        EXPECT_EQ(summer[0][1] + standard[0][1], c.offsets);
        for (const int cell : {services::kFajr, services::kTransit, services::kAsr1,
                               services::kAsr2, services::kIsha}) {
            const std::string &a = summer[0][2 + cell], &b = standard[0][2 + cell];
            ASSERT_EQ(a.empty(), b.empty()) << cell;
            EXPECT_TRUE(a.empty() || ClockMinutes(a) == ClockMinutes(b) + c.hours * 60) << a;
        }
    }
}

// A zone of half or three quarters of an hour: the instant goes in on a whole-hour zone at the
// clock time of noon on the real one; noon on the real clock is near 12 h plus the place's
// distance from the zone's meridian.
TEST(Times, ZonesThatAreNotWholeHours) {
    const struct {
        const char *zone, *lonDeg;
        bool east;
        const char *zoneField, *hour, *minute, *offset;
        double shift;  // hours from the whole-hour zone's clock to the real one
    } cases[] = {{"Asia/Kolkata", "77.2", true, "-5", "11", "30", "+05:30", 0.5},
                 {"Asia/Kathmandu", "85.3", true, "-5", "11", "15", "+05:45", 0.75},
                 {"America/St_Johns", "52.7", false, "3", "12", "30", "-03:30", -0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        if (!HaveZone(c.zone)) GTEST_SKIP() << "no time-zone database (package tzdata)";
        Table table(Place(c.lonDeg, c.east, "28"), Named(c.zone));
        const TimesDay d = table.Day(2025, 1, 15);  // no summer time anywhere here
        EXPECT_EQ(services::OffsetText(d.offset.Total()), c.offset);
        ExpectSameAsReport(d, SunReport({2025, 1, 15},
                                        std::string("--lon-deg ") + c.lonDeg + " --lon-min 0 " +
                                            (c.east ? "--east" : "--west") +
                                            " --lat-deg 28 --lat-min 0 --zone " + c.zoneField,
                                        c.hour, c.minute));
        EXPECT_EQ(d.clock[services::kTransit], d.sun.MIDI + c.shift);
        EXPECT_NEAR(d.clock[services::kTransit], 12, 0.6);
    }
}

TEST(Times, PolarDayAndNightKeepTheOtherCells) {
    using namespace services;
    for (const HighLatRule rule : {HighLatRule::None, HighLatRule::Middle}) {
        Table table(Place(nullptr, false, "70"), FixedClock(0, 0), rule);
        // Midsummer: the Sun never sets, so no rising, setting, dawn or nightfall, and no
        // night for a high-latitude rule to divide; the transit and afternoon times stay.
        // Midwinter: the Sun never rises, nor reaches an afternoon altitude, but it comes
        // within 17 and 19 degrees of the horizon: dawn and nightfall stay.
        const TimesDay summer = table.Day(2005, 6, 17), winter = table.Day(2005, 12, 21);
        std::string missing;
        for (const int c : {kFajr, kSunrise, kTransit, kAsr1, kAsr2, kSunset, kIsha})
            missing += std::string(std::isnan(summer.clock[c]) ? "-" : "+") +
                       (std::isnan(winter.clock[c]) ? "-" : "+") + " ";
        EXPECT_EQ(missing, "-+ -- ++ +- +- -- -+ ");
        EXPECT_FALSE(summer.adjusted[kFajr] || summer.adjusted[kIsha]);
        EXPECT_FALSE(summer.sun.complete);
        // The report of the same midsummer day writes only the transit; the table's is that value.
        EXPECT_EQ(NumText(summer.sun.MIDI),
                  Printed(SunReport({2005, 6, 17}, "--lat-deg 70 --lat-min 0"),
                          "MIDI = Asc - TS_Loc + (UT * 24) - Zone"));
    }
    const CliResult r = RunCli(
        Words("times --lat 70 --from 2005-06-17 --days 1 --lang en --high-lat middle --as-report"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(Contains(r.out,
                         "2005-06-17  +00:00      —         —        12:24    17:37    "
                         "19:09    —        —\n"))
        << r.out;
    EXPECT_TRUE(Contains(r.out, "— the Sun does not reach the altitude of this time on that day"));
}

TEST(Times, HighLatitudeRulesFillDawnAndNightfall) {
    using namespace services;
    // 60° N in mid-June: rising and setting, but no dawn nor nightfall. The report stops
    // after the second afternoon time; the table keeps every cell it can compute.
    const std::string report = SunReport({2005, 6, 17}, "--lat-deg 60 --lat-min 0");
    Table none(Place(nullptr, false, "60"), FixedClock(0, 0));
    const TimesDay d = none.Day(2005, 6, 17);
    EXPECT_TRUE(std::isnan(d.clock[kFajr]) && std::isnan(d.clock[kIsha]));
    EXPECT_EQ(NumText(d.sun.Asr2), Printed(report, "Asr2 = MIDI + Fadl"));
    EXPECT_EQ(NumText(d.sun.Coucher), Printed(report, "Coucher = MIDI + Duirn"));
    const double rising = d.clock[kSunrise], setting = d.clock[kSunset];
    const double night = 24 - (setting - rising);
    // The rule's parts of the night (fractions of it), and whether at 32° N, where dawn and
    // nightfall exist, the computed times lie beyond the rule's and give way to it (a dawn
    // earlier than the last seventh of a 9.8-hour night).
    const struct {
        HighLatRule rule;
        double dawnPart, nightfallPart;
        bool takesSouth;
    } rules[] = {{HighLatRule::Middle, 1.0 / 2, 1.0 / 2, false},
                 {HighLatRule::Seventh, 1.0 / 7, 1.0 / 7, true},
                 {HighLatRule::Angle, 19.0 / 60, 17.0 / 60, false}};
    for (const auto& rule : rules) {
        Table table(Place(nullptr, false, "60"), FixedClock(0, 0), rule.rule);
        const TimesDay a = table.Day(2005, 6, 17);
        EXPECT_DOUBLE_EQ(a.clock[kFajr], rising - night * rule.dawnPart);
        EXPECT_DOUBLE_EQ(a.clock[kIsha], setting + night * rule.nightfallPart);
        EXPECT_TRUE(a.adjusted[kFajr] && a.adjusted[kIsha]);
        EXPECT_FALSE(a.adjusted[kSunrise]);
        Table south(Place(), FixedClock(0, 0), rule.rule);
        const TimesDay b = south.Day(2005, 6, 17);
        const double southNight = 24 - (b.clock[kSunset] - b.clock[kSunrise]);
        EXPECT_EQ(b.adjusted[kFajr], rule.takesSouth);
        EXPECT_EQ(b.adjusted[kIsha], rule.takesSouth);
        EXPECT_DOUBLE_EQ(b.clock[kFajr], rule.takesSouth
                                             ? b.clock[kSunrise] - southNight * rule.dawnPart
                                             : b.sun.Fajr);
        EXPECT_DOUBLE_EQ(b.clock[kIsha], rule.takesSouth
                                             ? b.clock[kSunset] + southNight * rule.nightfallPart
                                             : b.sun.Icha);
    }
    const std::string day = "times --lat 60 --from 2005-06-17 --days 1 ";
    EXPECT_TRUE(Contains(RunCli(Words(day + "--csv --high-lat middle --as-report")).out,
                         ",00:24+1,fajr;isha\n"));
    EXPECT_TRUE(Contains(RunCli(Words(day + "--csv --as-report")).out,
                         "2005-06-17,+00:00,,03:06,12:24,17:05,18:24,21:41,,\n"));
    EXPECT_TRUE(Contains(RunCli(Words(day + "--lang en --high-lat seventh")).out,
                         "* taken by the high-latitude rule seventh\n"));
}

// The night keeps its order: a dawn after the evening before (the last rising before the midnight
// Sun, at Tromsø and Hammerfest, takes the seventh of the night before it; Oslo's dawn by the
// middle of a lengthening night is held at the previous nightfall, marked), and the night's
// middle after its setting.
TEST(Times, TheNightKeepsItsOrder) {
    if (!HaveZone("Europe/Oslo")) GTEST_SKIP() << "no time-zone database";
    const struct {
        const char *place, *from, *fajr, *midnight;
    } cases[] = {
        // clang-format off
        {"--lat 69.6489N --lon 18.9551E --method moonsighting", "2025-05-16", "01:04", "00:35+1"},
        {"--lat 70.6631N --lon 23.6809E --method moonsighting", "2025-05-12", "00:41", "00:17+1"},
        {"--lat 59.9139N --lon 10.7522E --high-lat middle", "2024-08-16", "01:22", "23:14"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.place);
        const auto rows = CsvTable(Words(std::string("times --tz Europe/Oslo --days 2 --extras "
                                                     "--csv --from ") +
                                         c.from + " " + c.place));
        ASSERT_EQ(rows.size(), 2u);
        const std::vector<std::string>& day = rows[0];
        const std::size_t isha = day.size() - 4, sunset = isha - (day.size() == 13 ? 2 : 1);
        EXPECT_EQ(rows[1][2] + " " + day[isha + 1], std::string(c.fajr) + " " + c.midnight);
        EXPECT_GE(ClockMinutes(rows[1][2]) + 1440, ClockMinutes(day[isha]));
        EXPECT_GT(ClockMinutes(day[isha + 1]), ClockMinutes(day[sunset]));
        EXPECT_EQ(rows[1].back().rfind("fajr", 0), 0u);
    }
}

// A polar rule fills the afternoon too, from the first day (latitude) where the Sun reaches it,
// and says once, on standard error and under the table, when it finds nothing.
TEST(Times, PolarRulesFillTheAfternoonOrSaySo) {
    const auto rows = CsvTable(
        Words("times --lat 70N --lon 0E --polar nearest-day --from 2025-12-20 --days 1 --csv"));
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

// --lon and --lat write the same field texts as the report's field options; the table's
// Arabic header is the default, its settings in Arabic, each number kept left to right
// between the isolates.
TEST(Times, PlaceOptionsAndTheArabicHeader) {
    const std::pair<const char*, const char*> same[] = {
        {"--lon 5:40:0W --lat 32:56:0N --seconds", "--seconds"},
        {"--lon -39.8 --lat 21.4 --zone -3",
         "--lon-deg 39.8 --lon-min 0 --east --lat-deg 21.4 --lat-min 0 --zone -3"},
        {"--lat 33:55S --lon 18:25E --zone -2",
         "--lat-deg 33 --lat-min 55 --south --lon-deg 18 --lon-min 25 --east --zone -2"}};
    const std::string days = "times --from 2005-06-17 --days 2 --csv ";
    for (const auto& [whole, fields] : same) {
        const CliResult a = RunCli(Words(days + whole));
        ASSERT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(a.out, RunCli(Words(days + fields)).out) << whole;
    }
    const std::string arabic = RunCli(Words("times --from 2005-06-17 --days 1")).out;
    EXPECT_EQ(arabic.find("\nالتاريخ     فرق التوقيت  الفجر"), arabic.find('\n')) << arabic;
    EXPECT_EQ(arabic.substr(0, arabic.find('\n')),
              "الإعدادات: الطريقة وزارة الأوقاف المغربية (\u2066morocco\u2069)؛ الفجر "
              "\u206619°\u2069؛ العشاء \u206617°\u2069؛ التعديلات بالدقائق: لا تعديل؛ "
              "التقريب إلى أقرب دقيقة؛ الأفق \u2066-0.8333°\u2069؛ الارتفاع \u20660\u2069 م؛ "
              "خطوط العرض العليا: لا تقدير؛ الأيام القطبية: لا تقدير");
}

// A million days to a full device: one message, the status of a failed output.
TEST(Times, TheTableStopsAtAFullDisk) {
    const ExeResult r = RunExe(" times --from 2000-01-01 --days 1000000 --csv > /dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zerin: could not write the output: No space left on device\n");
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
        marked += Contains(line, "*") && Contains(line, "+1");
        std::vector<std::size_t> cells;  // where each cell after the date starts (no blank in one)
        for (std::size_t k = 1; k < line.size(); ++k)
            if (line[k] != ' ' && line[k - 1] == ' ')
                cells.push_back(services::DisplayWidth(line.substr(0, k)));
        EXPECT_EQ(cells, starts) << line;
    }
    EXPECT_GT(marked, 0) << r.out;  // the widest cells were there
}

// The Hijri date column: Saudi Arabia's official calendar put 1 Ramadan 1446 on 1 March 2025
// and 1 Muharram 1300 on 12 November 1882; outside its table (before 1300 AH) the tabular
// calendar stands in and the table says so. 1 Muharram 9666 is 2 October 9999: its way back is
// past the program's last day, so the column stops at 30 Dhu al-Hijja 9665 and says so.
TEST(Times, HijriDateColumn) {
    const struct {
        const char *line, *part;
    } cases[] = {
        {"--lat 21:25N --lon 39:49E --zone -3 --from 2025-02-28 --days 2 --csv --hijri-rule "
         "umm-al-qura",
         "\ndate,hijri,utc_offset,fajr,sunrise,transit,asr1,asr2,sunset,isha,adjusted\n"
         "2025-02-28,1446-08-29,"},
        {"--lat 21:25N --lon 39:49E --zone -3 --from 2025-03-01 --days 1 --csv --hijri-rule "
         "umm-al-qura",
         "\n2025-03-01,1446-09-01,"},
        {"--from 1882-11-11 --days 2 --hijri-rule umm-al-qura", "1 محرم 1300 هـ"},
        {"--from 1882-11-11 --days 2 --hijri-rule umm-al-qura", "التقويم الجدولي"},  // 1299 AH
        {"--from 2025-03-01 --days 1 --json --hijri-rule civil", "\"hijri_rule\": \"civil\""},
        {"--from 2025-03-01 --days 1 --json --hijri-rule civil", "\"hijri\": \"1446-09-"},
        {"--from 9999-09-30 --days 3 --csv --hijri-rule civil --zone -3",
         "\n9999-10-01,9665-12-30,+03:00,"},
        {"--from 9999-09-30 --days 3 --csv --hijri-rule civil --zone -3", "\n9999-10-02,,"},
        {"--from 9999-10-01 --days 2 --hijri-rule civil --lang en --zone -3",
         "no Hijri date after the year 9665 AH (9999-10-01)"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli(Words(std::string("times ") + c.line));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(Contains(r.out, c.part)) << c.line << "\n" << r.out;
    }
    const CliResult hijri = RunCli({"hijri", "9999-10-01"});
    EXPECT_EQ(hijri.status, 0) << hijri.err;
    EXPECT_TRUE(Contains(hijri.out, "(9665-12-30)")) << hijri.out;
}

}  // namespace
}  // namespace zerin::test
