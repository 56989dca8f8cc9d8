// The crescent on the command line: the report's bytes for one evening (its values held
// to PyEphem in crescent_test), its JSON names, the table of evenings against the
// report, and refused input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "TestSupport.h"

namespace zerin::test {
namespace {

const std::vector<std::string> kMecca = {
    "--east", "--lon-deg", "39", "--lon-min", "49", "--lon-sec", "34", "--lat-deg",
    "21",     "--lat-min", "25", "--lat-sec", "21", "--zone",    "-3"};

std::vector<std::string> CrescentArgs(const std::string& day, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"report",  "crescent", "--year", "2024",
                                  "--month", "3",        "--day",  day};
    args.insert(args.end(), kMecca.begin(), kMecca.end());
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The report's --json values by name (the last of a name that recurs).
std::map<std::string, std::string> JsonValues(const std::string& json) {
    std::map<std::string, std::string> values;
    for (std::size_t at = 0; (at = json.find("\"name\": \"", at)) != std::string::npos;) {
        at += 9;
        const std::string name = json.substr(at, json.find('"', at) - at);
        const std::size_t value = json.find("\"value\": ", at) + 9;
        values[name] = json.substr(value, json.find_first_of(",}", value) - value);
    }
    return values;
}

TEST(CrescentCli, TheEveningOf10March2024AtMecca) {
    const CliResult r = RunCli(CrescentArgs("10"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Golden("report-crescent-2024-03-10-mecca.txt"));
}

TEST(CrescentCli, JsonNames) {
    // The evening and the morning of the conjunction's day; the evening before it, after
    // the conjunction: lag and age, nothing at the best time.
    const std::string kBest = " Lag Age ARCL ARCV DAZ W Wt q V";
    const struct {
        const char* day;
        bool morning;
        std::string present, absent;
    } kCases[] = {{"10", false, "DeltaT Conj Coucher CoucherLune" + kBest, "Lever LeverLune"},
                  {"9", true, "DeltaT Conj Lever LeverLune" + kBest, "Coucher CoucherLune"},
                  {"9", false, "Conj Coucher CoucherLune Lag Age", "ARCL W q V"}};
    for (const auto& c : kCases) {
        std::vector<std::string> more{"--json"};
        if (c.morning) more.push_back("--morning");
        const CliResult r = RunCli(CrescentArgs(c.day, more));
        ASSERT_EQ(r.status, 0) << r.err;
        const std::map<std::string, std::string> values = JsonValues(r.out);
        for (const auto& [names, count] : {std::pair{c.present, 1u}, {c.absent, 0u}}) {
            std::istringstream list(names);
            for (std::string name; list >> name;) EXPECT_EQ(values.count(name), count) << name;
        }
    }
    // The values are the report's, and in the units the names promise.
    const std::map<std::string, std::string> v =
        JsonValues(RunCli(CrescentArgs("10", {"--json"})).out);
    const std::string report = Golden("report-crescent-2024-03-10-mecca.txt");
    for (const char* name : {"q", "V", "Lag", "Coucher"})
        EXPECT_TRUE(Contains(report, " = " + v.at(name) + "\r\n")) << name;
    EXPECT_NEAR(std::stod(v.at("DeltaT")), 74.0, 0.1);              // seconds
    EXPECT_NEAR(std::stod(v.at("Conj")), 2460379.8753, 0.0001);     // Julian day, UT
    EXPECT_NEAR(std::stod(v.at("Coucher")), 18 + 28.5 / 60, 0.01);  // hours, zone time
    EXPECT_NEAR(std::stod(v.at("Lag")), 13.0, 0.05);                // minutes
}

TEST(CrescentCli, RefusedInput) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case kCases[] = {
        {{"report", "crescent", "--bogus"}, "unknown option of report crescent '--bogus'"},
        {{"report", "crescent", "--year"}, "--year needs a value"},
        {{"report", "crescent", "--year", "1582", "--month", "10", "--day", "10"}, "1582"},
        {{"report", "crescent", "--zone", "40000"}, "time-zone"},
        {{"report", "crescent", "--day", "1e309"},
         "the day and time fields hold numbers too large to compute with"},
        {{"crescent", "--days", "3"}, "crescent needs --from YYYY-MM-DD"},
        {{"crescent", "--from", "2024-03-01"}, "either --days N or --to"},
        {{"crescent", "--from", "2024-02-30", "--days", "3"}, "'2024-02-30' is not a date"},
        {{"crescent", "--from", "2024-03-01", "--days", "0"}, "--days 0"},
        {{"crescent", "--from", "2024-03-01", "--days", "x"}, "--days takes a number"},
        {{"crescent", "--from", "2024-03-10", "--to", "2024-03-01"}, "is before --from"},
        {{"crescent", "--from", "2024-03-01", "--days", "2", "--hour", "3"},
         "--hour is not an option of tables"},
        {{"crescent", "--lat", "95", "--from", "2024-03-01", "--days", "2"}, "out of range"},
        {{"crescent", "--from", "2024-03-01", "--days", "2", "--criterion", "odeh"},
         "unknown option of crescent '--criterion'"},
        {{"crescent-map", "--png", "/tmp/x.png"}, "crescent-map needs --date YYYY-MM-DD"},
        {{"crescent-map", "--date", "2024-03-10"}, "crescent-map needs --png FILE"},
        {{"crescent-map", "--date", "2024-03-10", "--png", "x.png", "--criterion", "danjon"},
         "--criterion takes yallop or odeh"},
        {{"crescent-map", "--date", "10/03/2024", "--png", "x.png"}, "is not a date"},
    };
    for (const Case& c : kCases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.out, "") << c.message;
        EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
    }
}

// A longitude of many turns names the place of its remainder: the evening (from the Sun's
// setting on) is that of the remainder, worked out here by Python's math.remainder
// (5 + 1e17 / 60 degrees is 1666666666666671.75, whose remainder by 360 is -128.25).
TEST(CrescentCli, ALongitudeOfManyTurnsIsItsRemainder) {
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"--lon-min", "1e17"}, {"--lon-deg", "-128.25", "--lon-min", "0"}},
        {{"--lon-deg", "366", "--lon-min", "0"}, {"--lon-deg", "6", "--lon-min", "0"}},
        {{"--lon-deg", "-190", "--lon-min", "0"}, {"--lon-deg", "170", "--lon-min", "0"}},
    };
    for (const auto& [turns, remainder] : cases) {
        SCOPED_TRACE(turns.back());
        const CliResult many = RunCli(With({"report", "crescent"}, turns));
        const CliResult one = RunCli(With({"report", "crescent"}, remainder));
        ASSERT_EQ(many.status, 0) << many.err;
        ASSERT_EQ(one.status, 0) << one.err;
        const std::size_t from = one.out.find("Coucher");
        ASSERT_NE(from, std::string::npos);
        EXPECT_EQ(many.out.substr(many.out.find("Coucher")), one.out.substr(from));
    }
}

// The CSV rows by date, each a vector of cells.
std::map<std::string, std::vector<std::string>> CsvRows(const std::string& csv) {
    std::map<std::string, std::vector<std::string>> rows;
    std::stringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::stringstream s(line);
        for (std::string cell; std::getline(s, cell, ',');) cells.push_back(cell);
        if (line.back() == ',') cells.emplace_back();
        rows[cells[0]] = cells;
    }
    return rows;
}

TEST(CrescentCli, TheTableIsTheReportRounded) {
    const CliResult table =
        RunCli({"crescent", "--lon", "39:49:34E", "--lat", "21:25:21N", "--zone", "-3", "--from",
                "2024-03-09", "--days", "3", "--csv"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out.substr(0, table.out.find('\n')),
              "date,conjunction,sunset,moonset,lag_min,age_h,arcl_deg,arcv_deg,w_arcmin,q,yallop,"
              "v,odeh,status");
    const auto rows = CsvRows(table.out);
    ASSERT_EQ(rows.size(), 3u);
    for (const char* day : {"9", "10", "11"}) {
        SCOPED_TRACE(day);
        const auto v = JsonValues(RunCli(CrescentArgs(day, {"--json"})).out);
        const std::vector<std::string>& row =
            rows.at(std::string("2024-03-") + (day[1] ? "" : "0") + day);
        EXPECT_EQ(row[1], "2024-03-10 12:00");  // 09:00:27 UT
        const double sunset = std::stod(v.at("Coucher"));
        const int minutes = static_cast<int>(std::floor(sunset * 60 + 0.5));
        char hhmm[16];
        std::snprintf(hhmm, sizeof hhmm, "%02d:%02d", minutes / 60, minutes % 60);
        EXPECT_EQ(row[2], hhmm);
        EXPECT_NEAR(std::stod(row[4]), std::stod(v.at("Lag")), 0.05);
        EXPECT_NEAR(std::stod(row[5]), std::stod(v.at("Age")), 0.05);
        if (v.count("q")) {
            // The geocentric arcs and width of the best time, not the topocentric ones.
            EXPECT_NEAR(std::stod(row[6]), std::stod(v.at("ARCL")), 0.005);
            EXPECT_NEAR(std::stod(row[7]), std::stod(v.at("ARCV")), 0.005);
            EXPECT_NEAR(std::stod(row[8]), std::stod(v.at("W")), 0.005);
            EXPECT_NEAR(std::stod(row[9]), std::stod(v.at("q")), 0.0005);
            EXPECT_NEAR(std::stod(row[11]), std::stod(v.at("V")), 0.005);
            EXPECT_EQ(row[13], "");
        } else {
            EXPECT_EQ(row[9], "");
            EXPECT_EQ(row[13], "conjunction after sunset");
        }
    }
    EXPECT_EQ(rows.at("2024-03-10")[10], "F");
    EXPECT_EQ(rows.at("2024-03-10")[12], "D");
    EXPECT_EQ(rows.at("2024-03-11")[10], "A");
}

// The conjunction to the nearest minute, on the table's clock: the Naval Observatory's
// minutes (tests/data/crescent) for new moons whose instant lies in the second half of its
// minute, on Greenwich's clock and on Mecca's.
TEST(CrescentCli, TheConjunctionIsTheNavalObservatorysMinute) {
    const struct {
        const char *date, *zone, *conjunction;
    } kCases[] = {
        {"1830-12-15", "0", "1830-12-15 08:15"},   // 08:15 UT
        {"1850-03-13", "0", "1850-03-13 23:17"},   // 23:17 UT
        {"1910-12-01", "-3", "1910-12-02 00:10"},  // 21:10 UT
        {"1930-11-20", "-3", "1930-11-20 13:21"},  // 10:21 UT
        {"1950-02-16", "-3", "1950-02-17 01:53"},  // 22:53 UT
    };
    for (const auto& c : kCases) {
        const CliResult r = RunCli({"crescent", "--lon", "39:49:34E", "--lat", "21:25:21N",
                                    "--zone", c.zone, "--from", c.date, "--days", "1", "--csv"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(CsvRows(r.out).at(c.date)[1], c.conjunction) << c.date;
    }
}

// The report's times are on the zone's standard clock whatever the summer time; the table
// shows them on the clock with its summer time, an hour later.
TEST(CrescentCli, ASummerTimeMovesTheTablesClockByItsHours) {
    const auto sunset = [](const std::string& summer) {
        return JsonValues(RunCli(CrescentArgs("10", {"--summer", summer, "--json"})).out)
            .at("Coucher");
    };
    EXPECT_EQ(sunset("1"), sunset("0"));
    EXPECT_EQ(sunset("2"), sunset("0"));
    const auto row = [](const std::string& summer) {
        return CsvRows(
                   RunCli({"crescent", "--lon", "39:49:34E", "--lat", "21:25:21N", "--zone", "-3",
                           "--summer", summer, "--from", "2024-03-10", "--days", "1", "--csv"})
                       .out)
            .at("2024-03-10");
    };
    const auto summer = row("1"), standard = row("0");
    const auto minutes = [](const std::string& hhmm) {
        return std::stoi(hhmm.substr(hhmm.size() - 5, 2)) * 60 +
               std::stoi(hhmm.substr(hhmm.size() - 2));
    };
    for (int c : {1, 2, 3}) EXPECT_EQ(minutes(summer[c]), minutes(standard[c]) + 60) << c;
    for (int c : {4, 5, 6, 7, 8, 9, 10, 11, 12}) EXPECT_EQ(summer[c], standard[c]) << c;
}

TEST(CrescentCli, AZoneOfHalfHoursMovesTheClockNotTheSky) {
    if (!std::ifstream("/usr/share/zoneinfo/Asia/Kolkata")) GTEST_SKIP() << "no tzdata";
    const std::vector<std::string> place{"crescent", "--lon",      "77:13:0E", "--lat", "28:37:0N",
                                         "--from",   "2024-03-11", "--days",   "1",     "--csv"};
    std::vector<std::string> named = place, whole = place;
    named.insert(named.end(), {"--tz", "Asia/Kolkata"});
    whole.insert(whole.end(), {"--zone", "-5"});
    const auto a = CsvRows(RunCli(named).out).at("2024-03-11");
    const auto b = CsvRows(RunCli(whole).out).at("2024-03-11");
    const auto minutes = [](const std::string& hhmm) {
        return std::stoi(hhmm.substr(0, 2)) * 60 + std::stoi(hhmm.substr(3, 2));
    };
    EXPECT_EQ(minutes(a[2]), minutes(b[2]) + 30);
    EXPECT_EQ(minutes(a[3]), minutes(b[3]) + 30);
    for (int c : {4, 5, 9, 10, 11, 12}) EXPECT_EQ(a[c], b[c]) << c;
}

// The whole program, as a user runs it: the map through the windows' module, without a
// display; to a folder that does not exist, status 1 and why.
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
