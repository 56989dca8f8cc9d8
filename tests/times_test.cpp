// zerin times: the Sun command day by day, the rules, vs. PyEphem, a bisection, published tables.
#include "Times.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <random>
#include <sstream>

#include "FieldOptions.h"
#include "PrayerMethods.h"
#include "TableOptions.h"
#include "TableWriter.h"
#include "TablesTestSupport.h"
#include "math/Angles.h"
#include "report/NumText.h"
#include "sky/Sky.h"
#include "sun/Sun.h"

namespace zerin::test {
namespace {

using services::Civil;
using services::ClockText;
using services::TimesDay;
using services::Timetable;
using zerin::SunTimes;

constexpr services::TimesMethod kAsReport = services::TimesMethod::AsReport;

// The Sun's times as its report prints them (after these formulas), as a day holds them and
// the table's cells they stand in.
// clang-format off
const struct { const char* formula; double SunTimes::*time; services::TimeCell cell; } kTimes[] = {
    {"MIDI = Asc - TS_Loc + (UT * 24) - Zone", &SunTimes::MIDI, services::kTransit}, {"Lever = MIDI - Duirn", &SunTimes::Lever, services::kSunrise},
    {"Coucher = MIDI + Duirn", &SunTimes::Coucher, services::kSunset}, {"Asr1 = MIDI + Fadl", &SunTimes::Asr1, services::kAsr1},
    {"Asr2 = MIDI + Fadl", &SunTimes::Asr2, services::kAsr2}, {"Icha = MIDI + Fadl", &SunTimes::Icha, services::kIsha},
    {"Fajr = MIDI - Fadl", &SunTimes::Fajr, services::kFajr}};
// clang-format on

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

// The place of the report's field options (the default place where none is given).
services::Place Place(const std::string& options = "") {
    services::FieldOptions place;
    const std::vector<std::string> args = Words(options);
    std::string error;
    for (std::size_t k = 0; k < args.size(); ++k)
        EXPECT_TRUE(cli::TakeFieldOption(args, k, place, error) && error.empty()) << args[k];
    services::Place checked;
    EXPECT_TRUE(services::CheckPlace(place, checked, error)) << error;
    return checked;
}

// A table as the report computes it, on a fixed clock or a named one.
struct Table {
    std::unique_ptr<services::ZoneClock> clock;
    Timetable table;
    Table(const services::Place& place, std::unique_ptr<services::ZoneClock> c,
          services::HighLatRule rule = services::HighLatRule::None)
        : clock(std::move(c)), table(place, *clock, {.rule = rule}, kAsReport) {}
    TimesDay Day(int year, int month, int day) { return table.Day({year, month, day, 0, 0, 0}); }
};

std::unique_ptr<services::ZoneClock> Named(const char* zone) {
    std::string error;
    auto clock = services::NamedClock(zone, error);
    EXPECT_TRUE(clock) << error;
    return clock;
}

void ExpectSameAsReport(const TimesDay& d, const std::string& report) {
    for (const auto& t : kTimes)
        EXPECT_EQ(NumText(d.sun.*t.time), Printed(report, t.formula)) << t.formula;
}

// Days as the Sun's report computes them, on the table's clock (tests/data/sun-days.txt).
TEST(Times, EachDayIsTheSunCommandAtNoonStandardTime) {
    std::map<std::string, Table> tables;  // each clock and place's, kept from day to day
    for (const std::vector<std::string>& r : DataRows("sun-days.txt", "", '|')) {
        SCOPED_TRACE(r[0] + r[2]);
        const std::string zone = Trimmed(r[0]);
        const bool named = std::isalpha(static_cast<unsigned char>(zone[0]));
        if (named && !HaveZone(zone)) GTEST_SKIP() << "no time-zone database (package tzdata)";
        Table& table =
            tables
                .try_emplace(r[0] + r[1], Place(r[1]),
                             named ? Named(zone.c_str()) : services::FixedClock(std::stoi(zone), 0))
                .first->second;
        Civil date;
        std::string hour, minute, offset;
        services::Seconds summer;
        std::istringstream(r[2]) >> date.year >> date.month >> date.day >> hour >> minute;
        std::istringstream(r[3]) >> offset >> summer;
        const TimesDay d = table.Day(date.year, date.month, date.day);
        ExpectSameAsReport(d, SunReport(date, r[1], hour, minute));
        EXPECT_TRUE(d.sun.complete);
        EXPECT_EQ(services::OffsetText(d.offset.Total()), offset);
        EXPECT_EQ(d.offset.summer, summer);
        const double shift = std::stod(r[4]);
        for (const auto& t : kTimes) EXPECT_EQ(d.clock[t.cell], d.sun.*t.time + shift) << t.formula;
        if (shift != std::round(shift)) {  // the whole-hour zone's report at the real noon
            EXPECT_NEAR(d.clock[services::kTransit], 12, 0.6);
        }
    }
}

// A clock to the minute (second), halves up, the days it moves into; each write a whole cell.
TEST(Times, ClockTextRoundsAndReplacesTheCellsText) {
    std::string cell = "a text longer than any clock";
    for (const std::vector<std::string>& row : DataRows("clock-texts.txt", "", '|')) {
        double h, m, s;
        std::istringstream(row[0]) >> h >> m >> s;
        const double hours = h + m / 60 + s / 3600;
        const bool seconds = Trimmed(row[1]) == "s";
        services::WriteClockText(hours, seconds, cell);
        EXPECT_EQ(cell, Trimmed(row[2])) << row[0];
        EXPECT_EQ(ClockText(hours, seconds), Trimmed(row[2])) << row[0];
    }
}

// The database's offsets against the laws (tests/data/zone-offsets.csv).
TEST(Times, ZoneClockFollowsThePublishedRules) {
    for (const std::vector<std::string>& c : DataRows("zone-offsets.csv", "zone")) {
        SCOPED_TRACE(c[0] + " " + c[1]);
        if (!HaveZone(c[0])) GTEST_SKIP() << "no time-zone database (package tzdata)";
        Civil utc;
        std::string error;
        ASSERT_TRUE(cli::ParseDate(c[1], true, utc, error)) << error;
        const services::ClockOffset offset = Named(c[0].c_str())->At(services::SecondsOf(utc));
        EXPECT_EQ(offset.standard, std::stoi(c[2]));
        EXPECT_EQ(offset.summer, std::stoi(c[3]));
    }
}

TEST(Times, PolarDayAndNightKeepTheOtherCells) {
    using namespace services;
    for (const HighLatRule rule : {HighLatRule::None, HighLatRule::Middle}) {
        Table table(Place("--lat-deg 70 --lat-min 0"), FixedClock(0, 0), rule);
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
}

TEST(Times, HighLatitudeRulesFillDawnAndNightfall) {
    using namespace services;
    // 60° N in mid-June: no dawn nor nightfall; the report stops, the table keeps the rest.
    const std::string kLat60 = "--lat-deg 60 --lat-min 0",
                      report = SunReport({2005, 6, 17}, kLat60);
    Table none(Place(kLat60), FixedClock(0, 0));
    const TimesDay d = none.Day(2005, 6, 17);
    EXPECT_TRUE(std::isnan(d.clock[kFajr]) && std::isnan(d.clock[kIsha]));
    EXPECT_EQ(NumText(d.sun.Asr2), Printed(report, "Asr2 = MIDI + Fadl"));
    EXPECT_EQ(NumText(d.sun.Coucher), Printed(report, "Coucher = MIDI + Duirn"));
    const double rising = d.clock[kSunrise], setting = d.clock[kSunset];
    const double night = 24 - (setting - rising);
    // The rule's parts of the night (fractions of it), and whether at 32° N, where dawn and
    // nightfall exist, the computed times lie beyond the rule's and give way to it (a dawn
    // earlier than the last seventh of a 9.8-hour night).
    // clang-format off
    const struct { HighLatRule rule; double dawnPart, nightfallPart; bool takesSouth; } rules[] = {
        {HighLatRule::Middle, 1.0 / 2, 1.0 / 2, false}, {HighLatRule::Seventh, 1.0 / 7, 1.0 / 7, true},
        {HighLatRule::Angle, 19.0 / 60, 17.0 / 60, false}};
    // clang-format on
    for (const auto& rule : rules) {
        Table table(Place(kLat60), FixedClock(0, 0), rule.rule);
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
}

// A million days to a full device: one message, the status of a failed output.
TEST(Times, TheTableStopsAtAFullDisk) {
    const ExeResult r = RunExe(" times --from 2000-01-01 --days 1000000 --csv > /dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.err,
        "zerin: Settings: method morocco; fajr 19°; isha 17°; adjustments none; rounding nearest; "
        "horizon -0.8333°; elevation 0 m; high latitudes none; polar none\n"
        "zerin: could not write the output: No space left on device\n");
}

// Every row of a text table keeps the header's columns, whatever marks its cells carry.
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

// PyEphem (references/sun-times.csv): the transit within 5 s, the others 30 s; empty as it is.
TEST(ExactTimes, AgreeWithPyEphem) {
    int days = 0;
    for (const std::vector<std::string>& r : DataRows("references/sun-times.csv", "place")) {
        SCOPED_TRACE(r[0] + " " + r[4]);
        const auto rows =
            CsvTable(Words("times --lat " + r[1] + " --lon " + r[2] + " --zone " + r[3] +
                           " --from " + r[4] + " --days 1 --csv --seconds --horizon report"));
        ASSERT_EQ(rows.size(), 1u);
        for (int c = 0; c < services::kMaghrib; ++c) {
            const std::string& cell = rows[0][2 + c];
            ASSERT_EQ(cell.empty(), r[5 + c].empty()) << c << " " << cell;
            if (!cell.empty()) {
                EXPECT_NEAR(ClockSeconds(cell), std::stod(r[5 + c]),
                            c == services::kTransit ? 5 : 30)
                    << c;
            }
        }
        ++days;
    }
    EXPECT_EQ(days, 10);
}

// The Sun's altitude on the same interpolated course, for a bisection the Newton steps must meet.
double AltitudeAt(const SunCourse& course, double Lon, double Lat, double n) {
    const double Ha = (course.SiderealTime(n) - Lon / 15 - course.Asc(n)) * 15;
    return HorizontalPlace(Ha, course.Dec(n), Lat).Altitude;
}

double Bisect(const SunCourse& course, double Lon, double Lat, double altitude, double from,
              double to) {
    const double sign = AltitudeAt(course, Lon, Lat, from) < altitude ? 1 : -1;
    for (int k = 0; k < 60; ++k) {
        const double middle = (from + to) / 2;
        ((AltitudeAt(course, Lon, Lat, middle) < altitude ? 1 : -1) == sign ? from : to) = middle;
    }
    return (from + to) / 2;
}

// The first crossing within half a day before (-1) or after (+1) the transit; NaN if none.
double FirstCrossing(const SunCourse& course, double Lon, double Lat, double altitude,
                     double transit, int side) {
    double from = transit;
    if (AltitudeAt(course, Lon, Lat, from) <= altitude) return NAN;
    for (int k = 1; k <= 144; ++k) {
        const double to = transit + side * k * (5.0 / 1440);
        if (AltitudeAt(course, Lon, Lat, to) <= altitude)
            return Bisect(course, Lon, Lat, altitude, std::min(from, to), std::max(from, to));
        from = to;
    }
    return NAN;
}

// Each time of the day where the Sun's centre first reaches its altitude on the course.
void ExpectTimesOnTheCourse(const SunCourse& course, double Lon, double Lat, double noonClock) {
    const SunTimes t = SunDayTimesExact(course, SunObserverAt(Lon, Lat), noonClock);
    const double transit = (t.MIDI - noonClock) / 24;
    // The transit: the hour angle is 0 (the highest altitude).
    const double Ha =
        std::remainder(course.SiderealTime(transit) - Lon / 15 - course.Asc(transit), 24);
    EXPECT_NEAR(Ha * 3600, 0, 0.05);
    for (const auto& [hours, altitude, side] : {std::tuple{t.Lever, -0.25, -1},
                                                {t.Coucher, -0.25, 1},
                                                {t.Fajr, -19.0, -1},
                                                {t.Icha, -17.0, 1},
                                                {t.Asr1, 90 - t.AltAsr1, 1}}) {
        const double root = FirstCrossing(course, Lon, Lat, altitude, transit, side);
        ASSERT_EQ(std::isnan(hours), std::isnan(root)) << altitude << " " << hours;
        if (!std::isnan(root)) {
            EXPECT_NEAR((hours - noonClock) * 3600, root * 86400, 0.1) << altitude;
        }
    }
}

// A place, a clock and a day of a timetable.
struct TableDay {
    std::string lat, lon;  // as typed: "23.8793N", "92.1253W"
    int zone;              // --zone, East of Greenwich negative
    Civil date;
    std::string extra;  // more options, the same for every table
    // The place in degrees, West and North positive.
    double Lon() const { return std::stod(lon) * (lon.back() == 'E' ? -1 : 1); }
    double Lat() const { return std::stod(lat) * (lat.back() == 'S' ? -1 : 1); }
};

// The days of a kind in tests/data/exact-days.txt.
std::vector<TableDay> ExactDays(const std::string& kind) {
    std::vector<TableDay> days;
    for (const std::vector<std::string>& r : DataRows("exact-days.txt", "", '|')) {
        TableDay d{"", "", 0, {}, Trimmed(r[2])};
        std::istringstream(r[1]) >> d.lat >> d.lon >> d.zone >> d.date.year >> d.date.month >>
            d.date.day;
        if (Contains(" " + r[0], " " + kind + " ")) days.push_back(d);
    }
    return days;
}

// The Sun's course through the day, about the noon of the place's clock.
SunCourse CourseAbout(const TableDay& c) {
    const double JJ =
        services::JulianDayOfInstant(services::SecondsOf(c.date) + (12 + c.zone) * services::kHour);
    return SunCourse(SunNodeAt(JJ - 1), SunNodeAt(JJ), SunNodeAt(JJ + 1));
}

TEST(ExactTimes, NewtonLandsWhereTheAltitudeIsReached) {
    for (const double JJ : {2451545.0, 2460755.25, 2460846.0, 2378497.0}) {  // 2000..1800
        const SunCourse course(SunNodeAt(JJ - 1), SunNodeAt(JJ), SunNodeAt(JJ + 1));
        for (double Lat = -85; Lat <= 85; Lat += 5) {
            SCOPED_TRACE(std::to_string(JJ) + " at " + std::to_string(Lat));
            ExpectTimesOnTheCourse(course, -39.8, Lat, 0);
        }
    }
}

TEST(ExactTimes, NearWhereATimeCeasesTheStepsStayInTheDay) {
    for (const TableDay& c : ExactDays("course")) {
        SCOPED_TRACE(services::DateText(c.date) + " at " + c.lat);
        ExpectTimesOnTheCourse(CourseAbout(c), c.Lon(), c.Lat(), 12);
    }
}

TEST(ExactTimes, AStartAnywhereInTheDayGivesTheDaysTimes) {
    // The rising days and Mecca's, each course about the noon of its clock. The times of the
    // day before are only starts: wrong ones (a time of 0, a rising taken for a setting) must
    // not lead to another day's times.
    for (const TableDay& c : ExactDays("start")) {
        const SunCourse course = CourseAbout(c);
        const SunObserver o = SunObserverAt(c.Lon(), c.Lat());
        const SunTimes fresh = SunDayTimesExact(course, o, 12);
        for (const double start : {0.0, 6.0, 11.0, 13.0, 18.0, 23.9}) {
            SCOPED_TRACE(services::DateText(c.date) + " from " + std::to_string(start));
            SunTimes before;
            before.Lever = before.Coucher = before.Asr1 = before.Asr2 = before.Icha = before.Fajr =
                start;
            const SunTimes t = SunDayTimesExact(course, o, 12, &before);
            for (const auto time : {&SunTimes::Fajr, &SunTimes::Lever, &SunTimes::Asr1,
                                    &SunTimes::Asr2, &SunTimes::Coucher, &SunTimes::Icha})
                EXPECT_NEAR(t.*time * 3600, fresh.*time * 3600, 0.01);
        }
    }
}

// The CSV row of c's day in a table of `days` days from `from`.
std::vector<std::string> RowOfDay(const TableDay& c, const Civil& from, std::int64_t days,
                                  const std::string& command = "times") {
    const auto rows =
        CsvTable(Words(command + " --lat " + c.lat + " --lon " + c.lon + " --zone " +
                       std::to_string(c.zone) + " --from " + services::DateText(from) + " --days " +
                       std::to_string(days) + " --csv " + c.extra));
    const std::string date = services::DateText(c.date);
    for (const auto& row : rows)
        if (!row.empty() && row[0] == date) return row;
    return {"(no row of " + date + ")"};
}

// The same day of the month before (the month's last day when it has no such day).
Civil MonthBefore(const Civil& date) {
    using namespace std::chrono;
    const year_month_day before = year{date.year} / date.month / date.day - months{1};
    const year_month_day_last last = before.year() / before.month() / std::chrono::last;
    const unsigned day = std::min(unsigned{before.day()}, unsigned{last.day()});
    return {int{before.year()}, static_cast<int>(unsigned{before.month()}), static_cast<int>(day)};
}

// A day's row alone equals its row in tables that start two days and a month earlier.
void ExpectSameRowWhateverTheStart(const TableDay& c, const std::string& command = "times") {
    SCOPED_TRACE(command + " " + c.lat + " " + c.lon + " " + std::to_string(c.zone) + " " +
                 services::DateText(c.date) + " " + c.extra);
    const services::Seconds day = services::SecondsOf(c.date);
    const std::vector<std::string> alone = RowOfDay(c, c.date, 1, command);
    EXPECT_EQ(alone, RowOfDay(c, services::CivilOf(day - 2 * services::kDay), 3, command));
    const Civil month = MonthBefore(c.date);
    EXPECT_EQ(alone,
              RowOfDay(c, month, (day - services::SecondsOf(month)) / services::kDay + 1, command));
}

TEST(ExactTimes, ADaysRowDoesNotDependOnTheTablesFirstDay) {
    for (const TableDay& c : ExactDays("ceases")) ExpectSameRowWhateverTheStart(c);
    for (const TableDay& c : ExactDays("rising")) {
        ExpectSameRowWhateverTheStart(c);
        // The crescent's table, evenings and mornings, at the same places and days.
        for (const char* crescent : {"", "--morning"})
            ExpectSameRowWhateverTheStart({c.lat, c.lon, c.zone, c.date, crescent}, "crescent");
        // Its rising is that day's, less than half a day before the transit, unmarked.
        const std::vector<std::string> row = RowOfDay(c, c.date, 1);
        ASSERT_EQ(row.size(), 10u);
        EXPECT_EQ(row[3].size(), 8u) << row[3];
        EXPECT_GT(ClockMinutes(row[4]) - ClockMinutes(row[3]), 0) << row[3] << " " << row[4];
        EXPECT_LT(ClockMinutes(row[4]) - ClockMinutes(row[3]), 720) << row[3] << " " << row[4];
    }
    // Random places, clocks from UTC-12 to UTC+14 and days from 1900 to 2100, with a
    // summer time, a high-latitude rule and the report's method now and then. Seeded, so a
    // failure repeats.
    std::mt19937_64 random(27);
    const auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const services::Seconds first = services::SecondsOf({1900, 1, 1, 0, 0, 0});
    const services::Seconds last = services::SecondsOf({2100, 12, 31, 0, 0, 0});
    const char* const rules[] = {"none", "middle", "seventh", "angle"};
    for (int k = 0; k < 300; ++k) {
        const double lat = uniform(-89, 89), lon = uniform(-180, 180);
        char latText[16], lonText[16];
        std::snprintf(latText, sizeof latText, "%.4f%c", std::fabs(lat), lat < 0 ? 'S' : 'N');
        std::snprintf(lonText, sizeof lonText, "%.4f%c", std::fabs(lon), lon < 0 ? 'W' : 'E');
        // The clock East of Greenwich: half near the meridian, half anywhere; a summer time.
        const int meridian = static_cast<int>(std::lround(lon / 15));
        const int clock = k % 2 ? pick(-12, 14) : std::clamp(meridian + pick(-2, 2), -12, 14);
        const int summer = k % 5 ? 0 : std::clamp(pick(-1, 2), clock - 14, clock + 12);
        const services::Seconds day =
            first + pick(0, static_cast<int>((last - first) / services::kDay)) * services::kDay;
        std::string extra = "--seconds --high-lat " + std::string(rules[pick(0, 3)]);
        if (summer != 0) extra += " --summer " + std::to_string(summer);
        if (k % 7 == 3) extra += " --as-report";
        ExpectSameRowWhateverTheStart(
            {latText, lonText, summer - clock, services::CivilOf(day), extra});
    }
}

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

// The parameters of the methods as the authorities publish them (tests/data/prayer-methods.txt).
TEST(PrayerMethods, TheTableHoldsThePublishedParameters) {
    const auto angle = [](const std::string& cell) {
        return Trimmed(cell) == "-" ? s::kNoAngle : std::stod(cell);
    };
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    std::size_t count = 0;
    for (const std::vector<std::string>& p : DataRows("prayer-methods.txt", "", '|')) {
        SCOPED_TRACE(p[0]);
        const s::PrayerMethod* m = s::PrayerMethodNamed(Trimmed(p[0]));
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->fajrAngle, std::stod(p[1]));
        EXPECT_TRUE(same(m->ishaAngle, angle(p[2])) && same(m->maghribAngle, angle(p[4])));
        EXPECT_EQ(m->ishaInterval, std::stod(p[3]));
        std::array<double, s::kPrayers> adjust{};
        std::istringstream minutes(p[5]);
        for (double& a : adjust) minutes >> a;
        EXPECT_EQ(m->adjust, adjust);
        EXPECT_EQ(m->rounding, Trimmed(p[6]) == "up" ? s::Rounding::Up : s::Rounding::Nearest);
        EXPECT_TRUE(*m->source && *m->arabic);
        ++count;
    }
    EXPECT_EQ(count, s::PrayerMethods().size());
    EXPECT_EQ(s::PrayerMethodNamed("umm-al-qura")->ramadanInterval, 120);
    EXPECT_TRUE(s::PrayerMethodNamed("moonsighting")->seasonal);
    EXPECT_EQ(s::PrayerMethodNamed("moonsighting")->seventhAbove, 55);
    EXPECT_EQ(s::PrayerMethodNamed("none"), nullptr);
    for (const std::vector<std::string>& z : DataRows("method-of-zone.csv"))
        EXPECT_STREQ(s::MethodOfZone(z[0]), z[1].c_str()) << z[0];
}

const std::string kMecca = "times --lat 21.4225 --lon 39.8262E --zone -3 --from 2024-03-10 ";

// The horizon 0.8333 degrees down, and the dip (0.0347 degrees times the root of the metres).
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

}  // namespace
}  // namespace zerin::test
