// The crescent vs. Delta T, Yallop, the USNO and PyEphem (tests/data/crescent); map, commands.
#include "crescent/Crescent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "TablesTestSupport.h"
#include "crescent/CrescentMap.h"
#include "crescent/CrescentReport.h"
#include "time/DeltaT.h"
#include "time/JulianDay.h"

namespace zerin::test {
namespace {

// Espenak and Meeus (NASA/TP-2006-214141): Delta T; stretches meet within 0.3 s (0.1 after 1700).
TEST(DeltaT, PublishedValuesAndStretchesThatJoin) {
    for (const std::vector<std::string>& r : DataRows("delta-t.csv", "year"))
        EXPECT_NEAR(DeltaTAt(std::stod(r[0])).DeltaT, std::stod(r[1]), std::stod(r[2])) << r[0];
    const auto stretches = DeltaTStretches();
    for (std::size_t k = 1; k < stretches.size(); ++k) {
        const double y = stretches[k].from;
        EXPECT_EQ(stretches[k - 1].to, y);
        EXPECT_NEAR(DeltaTAt(y - 1e-9).DeltaT, DeltaTAt(y).DeltaT, y <= 1700 ? 0.3 : 0.1) << y;
        EXPECT_EQ(DeltaTAt(y).stretch, &stretches[k]) << y;
        EXPECT_EQ(DeltaTAt(y - 1e-6).stretch, &stretches[k - 1]) << y;
    }
    EXPECT_DOUBLE_EQ(DecimalYear(2024, 3), 2024 + 2.5 / 12);
}

// The median and the largest of absolute differences, for the summary docs/crescent.md quotes.
std::string Spread(std::vector<double> d) {
    for (double& x : d) x = std::fabs(x);
    std::sort(d.begin(), d.end());
    char text[64];
    std::snprintf(text, sizeof text, "median %.4f, max %.4f", d[d.size() / 2], d.back());
    return text;
}

// The report command at a place, as a user types it: keeping what it computed.
struct Evening {
    CrescentReport r;
    Outcome outcome;
    std::string text;
    std::vector<Message> messages;
};

Evening RunEvening(double eastLon, double lat, int zone, int year, int month, int day,
                   bool morning) {
    RecordingMessenger messages;
    Report report;
    FieldTexts f;
    f.TxtDegLon = std::to_string(std::fabs(eastLon)), f.TxtDegLat = std::to_string(std::fabs(lat));
    f.TxtMinLon = f.TxtSecLon = f.TxtMinLat = f.TxtSecLat = "0";
    f.TxtZone = std::to_string(zone), f.TxtYear = std::to_string(year);
    f.TxtMonth = std::to_string(month), f.TxtDay = std::to_string(day);
    f.TxtHour = "3";  // the time fields are not used
    Evening e;
    e.outcome = RunCrescent(report, messages, f, eastLon > 0, lat >= 0, morning, &e.r);
    e.text = report.Str();
    e.messages = messages.messages;
    EXPECT_EQ(f.TxtHour, "3");
    return e;
}

constexpr double kMeccaLon = 39 + 49 / 60.0 + 34 / 3600.0, kMeccaLat = 21.4225;

TEST(Crescent, EveryRowOfYallopsTable) {
    // Yallop's predictions by zone, his Table 6; his zone boundaries.
    const std::map<std::string, char> kZones = {{"V", 'A'},    {"V(V)", 'B'}, {"V(F)", 'C'},
                                                {"I(V)", 'D'}, {"I(I)", 'E'}, {"I", 'F'}};
    const double kBoundaries[] = {0.216, -0.014, -0.160, -0.232, -0.293};
    // q, ARCL, ARCV, DAZ, W', lag, age at the best time, the conjunction in minutes.
    const double kTolerance[] = {0.02, 0.15, 0.15, 0.15, 0.06, 2, 0.15, 4};
    std::vector<double> d[8];
    int rows = 0, mornings = 0, compared = 0, agreeing = 0;
    for (const std::vector<std::string>& c : DataRows("crescent/yallop-1997-odd-rows.csv", "No")) {
        ASSERT_GE(c.size(), 18u);
        SCOPED_TRACE("Yallop's row " + c[0]);
        const auto v = [&c](int k) { return std::stod(c[k]); };
        // Rows 165, 193, 245, 285 (the Americas) give the UT date, a day after the local one.
        const bool utDate = c[0] == "165" || c[0] == "193" || c[0] == "245" || c[0] == "285";
        const bool morning = c[4] == "M";
        const Evening run =
            RunEvening(v(7), v(6), static_cast<int>(std::lround(-v(7) / 15)), std::stoi(c[1]),
                       std::stoi(c[2]), std::stoi(c[3]) - utDate, morning);
        ASSERT_EQ(run.outcome, Outcome::Written);
        EXPECT_TRUE(run.messages.empty());
        const CrescentEvening& e = run.r.evening;
        ASSERT_EQ(e.end, CrescentEnd::Computed);
        ++rows, mornings += morning;
        // clang-format off
        const double gaps[] = {e.best.q - v(15), e.best.ARCL - v(8), e.best.ARCV - v(9), e.best.DAZ - v(10),
                               e.best.W - v(14), e.Lag - v(12), e.Age + (4.0 / 9) * e.Lag / 60 - v(11),
                               (run.r.conjunction.JJ - v(5) - 2400000) * 1440};
        // clang-format on
        for (int k = 0; k < 8; ++k) {
            EXPECT_NEAR(gaps[k], 0, kTolerance[k]) << k;
            d[k].push_back(gaps[k]);
        }
        const char zone = kZones.at(c[17]);
        if (std::none_of(std::begin(kBoundaries), std::end(kBoundaries),
                         [&](double b) { return std::fabs(v(15) - b) <= 0.02; })) {
            ++compared;
            EXPECT_EQ(e.yallop, zone) << "q " << v(15);
        }
        agreeing += e.yallop == zone;
    }
    EXPECT_EQ(rows, 148);
    EXPECT_GT(mornings, 0);
    EXPECT_GE(compared, 125);
    std::vector<double> q = d[0];
    std::sort(q.begin(), q.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    EXPECT_LE(std::fabs(q[q.size() / 2]), 0.01);
    std::printf(
        "Yallop's %d rows (%d mornings): q %s; ARCL %s deg; ARCV %s deg; DAZ %s deg; W' %s "
        "arcmin; lag %s min; age at the best time %s h; conjunction %s min; zone as his in %d "
        "(%d away from a boundary)\n",
        rows, mornings, Spread(d[0]).c_str(), Spread(d[1]).c_str(), Spread(d[2]).c_str(),
        Spread(d[3]).c_str(), Spread(d[4]).c_str(), Spread(d[5]).c_str(), Spread(d[6]).c_str(),
        Spread(d[7]).c_str(), agreeing, compared);
}

TEST(Crescent, EveryNewMoonOfTheNavalObservatory) {
    std::vector<double> minutes;
    for (const std::vector<std::string>& line : DataRows("crescent/usno-new-moons-1800-1950.txt")) {
        int y, m, d, h, min;
        ASSERT_EQ(std::sscanf(line[0].c_str(), "%d-%d-%dT%d:%d", &y, &m, &d, &h, &min), 5);
        const double published = JulianDay(y, m, d + (h + min / 60.0) / 24);
        const double DeltaT = DeltaTAt(DecimalYear(y, m)).DeltaT;
        const Conjunction c =
            ConjunctionOf(TheorySunMoon(DeltaT), LunationNear(published + DeltaT / 86400), DeltaT);
        ASSERT_GT(c.count, 1) << line[0];
        EXPECT_NEAR(c.JJ, published, 2.0 / 1440) << line[0];
        // The last step changed the instant by less than a millisecond.
        EXPECT_NEAR(c.steps[c.count - 1].JJ, c.JJ, 1e-8) << line[0];
        minutes.push_back((c.JJ - published) * 1440);
    }
    EXPECT_EQ(minutes.size(), 199u);
    double mean = 0;
    for (const double m : minutes) mean += m / minutes.size();
    std::printf("USNO's %zu new moons: %s min, mean %+.3f min\n", minutes.size(),
                Spread(minutes).c_str(), mean);
}

// Nothing to see: conjunction after, Moon first, midnight Sun, polar night, Moon never up.
TEST(Crescent, EveningsWithNothingToSee) {
    using E = CrescentEnd;
    const std::map<std::string, E> kEnds = {{"ConjunctionAfter", E::ConjunctionAfter},
                                            {"MoonFirst", E::MoonFirst},
                                            {"NoSunset", E::NoSunset},
                                            {"NoMoonset", E::NoMoonset}};
    for (const std::vector<std::string>& row : DataRows("crescent-nothing-to-see.txt", "", '|')) {
        const std::string line = Trimmed(row[1]);
        SCOPED_TRACE(line);
        double eastLon, lat;
        int zone, month, day;
        std::string when, end, message;
        std::istringstream(row[0]) >> eastLon >> lat >> zone >> month >> day >> when >> end >>
            message;
        const Evening e = RunEvening(eastLon, lat, zone, 2024, month, day, when == "morning");
        EXPECT_EQ(e.outcome, Outcome::Written);
        EXPECT_EQ(e.r.evening.end, kEnds.at(end));
        EXPECT_TRUE(Contains(e.text, line));
        EXPECT_TRUE(e.text.ends_with(kEndLine));
        for (const char* absent : {"q = ", "nan", "NaN", "inf"})
            EXPECT_FALSE(Contains(e.text, absent));
        EXPECT_EQ(e.messages.size(), message == "message" ? 1u : 0u);
    }
}

// PyEphem 4.1.4, Yallop's definitions: Mecca, 10 March 2024 evening and 9 March morning.
TEST(Crescent, TheGoldenEveningAndItsMorningAgainstPyEphem) {
    // The best time: ARCL ARCV DAZ W q ARCL' ARCV' W' V.
    // clang-format off
    const struct { int day; bool morning; double sun, moon, lag, age, best[9]; char yallop, odeh; } kCases[] = {
        {10, false, 2460380.144776, 2460380.153799, 12.993, 6.468,
         {4.3379, 3.9554, 1.7814, 0.0480, -0.7580, 3.4297, 2.9323, 0.0300, -4.0437}, 'F', 'D'},
        {9, true, 2460378.648874, 2460378.620678, -40.601, -29.433,
         {18.0052, 10.0861, -14.9344, 0.8192, 0.2993, 17.4566, 9.0690, 0.7704, 6.3869}, 'A', 'A'},
        // clang-format on
    };
    const double tolerance[] = {0.005, 0.005, 0.005, 0.002, 0.001, 0.005, 0.005, 0.002, 0.01};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.morning ? "morning" : "evening");
        const CrescentEvening e =
            RunEvening(kMeccaLon, 21.4225, -3, 2024, 3, c.day, c.morning).r.evening;
        ASSERT_EQ(e.end, CrescentEnd::Computed);
        EXPECT_NEAR(e.sun.JJ, c.sun, 2.0 / 86400);
        EXPECT_NEAR(e.moon.JJ, c.moon, 5.0 / 86400);
        EXPECT_NEAR(e.Lag, c.lag, 0.05);
        EXPECT_NEAR(e.Age, c.age, 0.01);
        const BestTime& b = e.best;
        const double got[] = {b.ARCL, b.ARCV, b.DAZ, b.W, b.q, b.ARCLt, b.ARCVt, b.Wt, b.V};
        for (int k = 0; k < 9; ++k) EXPECT_NEAR(got[k], c.best[k], tolerance[k]) << k;
        EXPECT_EQ(e.yallop, c.yallop);
        EXPECT_EQ(e.odeh, c.odeh);
    }
    // Both criteria's zones on each side of their bounds.
    for (const std::vector<std::string>& r : DataRows("crescent-zones.txt", "", ' '))
        EXPECT_EQ((r[0] == "yallop" ? YallopZone : OdehZone)(std::stod(r[1])), r[2][0]) << r[1];
}

TEST(CrescentMap, InterpolatedPlacesAreTheTheories) {
    const double midnight = JulianDay(2024, 3, 10);
    const TheorySunMoon theories(74);
    const InterpolatedSunMoon table(theories, midnight - 1, midnight + 2.5);
    for (double JJ = midnight - 0.95; JJ < midnight + 2.45; JJ += 0.0173) {
        for (const Luminary body : {Luminary::Sun, Luminary::Moon}) {
            const BodyPlace exact = theories.At(body, JJ), got = table.At(body, JJ);
            // Within a thousandth of a second of arc (across 24 h and 360 degrees too).
            // clang-format off
            const double gaps[] = {std::remainder(got.Asc - exact.Asc, 24) * 15, got.Dec - exact.Dec,
                                   std::remainder(got.Longitude - exact.Longitude, 360),
                                   got.Latitude - exact.Latitude, got.Paralax - exact.Paralax};
            // clang-format on
            for (const double gap : gaps) EXPECT_NEAR(gap, 0, 1e-3 / 3600) << JJ;
        }
    }
    // Outside the table: the theories themselves.
    EXPECT_EQ(table.MoonAt(midnight + 5).Asc, theories.MoonAt(midnight + 5).Asc);
}

TEST(CrescentMap, EachCellIsTheEveningAtItsCentre) {
    const CrescentMapGrid g = CrescentMapOf(2024, 3, 10, false);
    ASSERT_EQ(g.columns, 360);
    ASSERT_EQ(g.rows, 120);
    EXPECT_EQ(g.EastLongitude(0), -179.5);
    EXPECT_EQ(g.Latitude(g.rows - 1), -59.5);
    const TheorySunMoon theories(g.deltaT.DeltaT);
    int computed = 0;
    for (int row = 0; row < g.rows; row += 7) {
        for (int column = 0; column < g.columns; column += 11) {
            const double Lon = -g.EastLongitude(column);
            const CrescentEvening e =
                CrescentEveningOf(theories, g.conjunction.JJ, JulianDay(2024, 3, 10.5) + Lon / 360,
                                  Lon, g.Latitude(row), false);
            const char yallop = g.At(Criterion::Yallop, row, column);
            SCOPED_TRACE(std::to_string(row) + " " + std::to_string(column));
            if (e.end == CrescentEnd::Computed) {
                ++computed;
                EXPECT_EQ(yallop, e.yallop);
                EXPECT_EQ(g.At(Criterion::Odeh, row, column), e.odeh);
            } else {
                EXPECT_EQ(yallop, e.end == CrescentEnd::ConjunctionAfter ? kCellConjunctionAfter
                                  : e.end == CrescentEnd::MoonFirst      ? kCellMoonFirst
                                                                         : kCellNoSunset);
            }
        }
    }
    EXPECT_GT(computed, 100);
    // Famous cells: F at Mecca, A over the central Pacific, B at Hawaii, Sydney after sunset.
    const auto cell = [&](double eastLon, double lat) {
        return g.At(Criterion::Yallop, static_cast<int>(60 - lat), static_cast<int>(eastLon + 180));
    };
    EXPECT_EQ(cell(39.8, 21.4), 'F');
    EXPECT_EQ(cell(-175.5, 15.5), 'A');
    EXPECT_EQ(cell(-155.5, 19.5), 'B');
    EXPECT_EQ(cell(151.2, -33.9), kCellConjunctionAfter);
}

// The map's date: first evening after (last morning before) the nearest conjunction (USNO 2025).
TEST(CrescentMap, TheDateIsTheFirstEveningAfterTheNearestConjunction) {
    const std::map<int, double> kPublished = {{2, 2460734.5 + 0.75 / 24},
                                              {3, 2460763.5 + (10 + 58.0 / 60) / 24},
                                              {4, 2460792.5 + (19 + 31.0 / 60) / 24}};
    for (const std::vector<std::string>& row : DataRows("crescent-map-dates.txt", "", '|')) {
        SCOPED_TRACE(row[0]);
        int month, day, wantMonth, wantDay;
        double eastLongitude;
        std::string when;
        std::istringstream(row[1]) >> month >> day >> eastLongitude >> when >> wantMonth >> wantDay;
        const bool morning = when == "morning";
        double conjunction = 0;
        const MapDate d =
            FirstEveningAfterConjunction(2025, month, day, eastLongitude, morning, &conjunction);
        EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, 20250000 + wantMonth * 100 + wantDay);
        EXPECT_NEAR(conjunction, kPublished.at(wantMonth), 10.0 / 1440);  // ten minutes
        // The evening (morning) lies after (before) the conjunction, a day earlier (later) not.
        const double local =
            JulianDay(d.year, d.month, d.day) + (morning ? 0.25 : 0.75) - eastLongitude / 360;
        if (morning)
            EXPECT_TRUE(local < conjunction && local + 1 >= conjunction);
        else
            EXPECT_TRUE(local > conjunction && local - 1 <= conjunction);
    }
}

const std::string kMeccaFields =
    " --east --lon-deg 39 --lon-min 49 --lon-sec 34 --lat-deg 21 --lat-min 25 --lat-sec 21 "
    "--zone -3";
const std::string kMeccaTable = " --lon 39:49:34E --lat 21:25:21N --zone -3 --csv";

std::map<std::string, std::string> ReportValues(const std::string& day,
                                                const std::string& more = "") {
    const CliResult r = RunCli(Words("report crescent --year 2024 --month 3 --day " + day +
                                     kMeccaFields + " --json" + more));
    EXPECT_EQ(r.status, 0) << r.err;
    return JsonNamedValues(r.out);
}

// The JSON's values the report's, in the units the names promise (the names: outputs.txt).
TEST(CrescentCli, TheReportsBytesAndJsonNames) {
    const std::string report =
        RunCli(Words("report crescent --year 2024 --month 3 --day 10" + kMeccaFields)).out;
    const auto v = ReportValues("10");
    for (const char* name : {"q", "V", "Lag", "Coucher"})
        EXPECT_TRUE(Contains(report, " = " + v.at(name) + "\r\n")) << name;
    EXPECT_NEAR(std::stod(v.at("DeltaT")), 74.0, 0.1);              // seconds
    EXPECT_NEAR(std::stod(v.at("Conj")), 2460379.8753, 0.0001);     // Julian day, UT
    EXPECT_NEAR(std::stod(v.at("Coucher")), 18 + 28.5 / 60, 0.01);  // hours, zone time
    EXPECT_NEAR(std::stod(v.at("Lag")), 13.0, 0.05);                // minutes
    // The report stays on standard time (the table's clock: rows of outputs.txt).
    for (const char* summer : {" --summer 1", " --summer 2"})
        EXPECT_EQ(ReportValues("10", summer).at("Coucher"), v.at("Coucher")) << summer;
}

TEST(CrescentCli, ALongitudeOfManyTurnsIsItsRemainder) {
    // The evening of a longitude of many turns is its remainder's (Python's math.remainder).
    const std::pair<const char*, const char*> kTurns[] = {
        {"--lon-min 1e17", "--lon-deg -128.25 --lon-min 0"},
        {"--lon-deg 366 --lon-min 0", "--lon-deg 6 --lon-min 0"},
        {"--lon-deg -190 --lon-min 0", "--lon-deg 170 --lon-min 0"}};
    for (const auto& [turns, remainder] : kTurns) {
        const CliResult many = RunCli(Words(std::string("report crescent ") + turns));
        const CliResult one = RunCli(Words(std::string("report crescent ") + remainder));
        ASSERT_EQ(many.status + one.status, 0) << many.err << one.err;
        ASSERT_TRUE(Contains(one.out, "Coucher"));
        EXPECT_EQ(many.out.substr(many.out.find("Coucher")),
                  one.out.substr(one.out.find("Coucher")))
            << turns;
    }
}

// The table's row is the report rounded; the conjunction, 09:00:27 UT, on the table's clock.
TEST(CrescentCli, TheTableIsTheReportRounded) {
    const CliResult table = RunCli(Words("crescent --from 2024-03-09 --days 3" + kMeccaTable));
    ASSERT_EQ(table.status, 0) << table.err;
    const std::vector<KeyedRow> rows = KeyedCsvRows(table.out);
    ASSERT_EQ(rows.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const KeyedRow& row = rows[k];
        const auto v = ReportValues(std::to_string(9 + k));
        SCOPED_TRACE(row.at("date"));
        EXPECT_EQ(row.at("conjunction"), "2024-03-10 12:00");
        EXPECT_EQ(ClockSeconds(row.at("sunset")),
                  std::lround(std::stod(v.at("Coucher")) * 60) * 60);
        // clang-format off
        for (const auto& [column, name, tolerance] : {std::tuple{"lag_min", "Lag", 0.05}, {"age_h", "Age", 0.05},
             {"arcl_deg", "ARCL", 0.005}, {"arcv_deg", "ARCV", 0.005}, {"w_arcmin", "W", 0.005},
             {"q", "q", 0.0005}, {"v", "V", 0.005}})  // clang-format on
            if (v.count(name)) {
                EXPECT_NEAR(std::stod(row.at(column)), std::stod(v.at(name)), tolerance) << name;
            }
        EXPECT_EQ(row.at("status"), v.count("q") ? "" : "conjunction after sunset");
        EXPECT_EQ(row.at("q").empty(), !v.count("q"));
    }
    EXPECT_EQ(rows[1].at("yallop") + rows[1].at("odeh") + rows[2].at("yallop"), "FDA");
}

// The map as a user runs it, without a display; to a missing folder, status 1 and why.
TEST(CrescentCli, TheMapIsAPngFileWithoutADisplay) {
    const std::string png = Scratch("crescent_map.png"),
                      noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const ExeResult r =
        RunExe(" crescent-map --date 2024-03-10 --criterion odeh --png '" + png + "'", noDisplay);
    if (Contains(r.err, "built without the windows")) GTEST_SKIP() << "built without Qt";
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");  // the coastlines stand beside the program in the build tree
    const std::string bytes = ReadFile(png);
    std::remove(png.c_str());
    ASSERT_GT(bytes.size(), 10000u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const ExeResult missing =
        RunExe(" crescent-map --date 2024-03-10 --png /nonexistent-zerin/map.png", noDisplay);
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.err, "could not write")) << missing.err;
}

}  // namespace
}  // namespace zerin::test
