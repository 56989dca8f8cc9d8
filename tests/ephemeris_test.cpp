// zerin ephemeris: each row holds the values the body's report prints for that instant,
// on a clock with summer time or a zone that is not whole hours; steps, limits, formats
// and refused input.
#include "Ephemeris.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>

#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

// The value text of the last item of that name in `zerin report --json`.
std::string JsonValue(const std::string& json, const std::string& name) {
    const std::string head = "{\"name\": \"" + name + "\", \"value\": ";
    const std::size_t at = json.rfind(head);
    if (at == std::string::npos) return "(no " + name + ")";
    const std::size_t from = at + head.size();
    return json.substr(from, json.find(',', from) - from);
}

// `zerin report BODY` at an instant, text and JSON, with more options after the date.
struct BodyReport {
    std::string text, json;
};

BodyReport ReportAt(const std::string& body, const std::string& year, const std::string& month,
                    const std::string& day, const std::string& hour, const std::string& minute,
                    const std::vector<std::string>& more) {
    std::vector<std::string> args = ReportArgs(body, year, month, day, hour, minute, "0");
    args.insert(args.end(), more.begin(), more.end());
    const CliResult text = RunCli(args);
    args.push_back("--json");
    const CliResult json = RunCli(args);
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(json.status, 0) << json.err;
    return {text.out, json.out};
}

// The row's values against the report's: every column through the values the report
// records, and the sky and disc through the text it prints.
void ExpectRowIsTheReport(Body body, const std::vector<std::string>& row, const BodyReport& r) {
    const std::vector<cli::EphemerisQuantity> quantities = cli::EphemerisQuantities(body);
    ASSERT_EQ(row.size(), 2 + quantities.size());
    for (std::size_t q = 0; q < quantities.size(); ++q)
        EXPECT_EQ(row[2 + q], JsonValue(r.json, quantities[q].name)) << quantities[q].name;
    EXPECT_EQ(row[5], Printed(r.text, "Altitude = ArcSin(Z_hor)"));
    EXPECT_EQ(row[6], Printed(r.text, "Azimut = Azimut + 180"));
    const std::size_t diameter = body == Body::Sun ? 7 : 9;
    const char* diameterFormula = body == Body::Sun ? "Diam = 31.98766667 / R_soleil"
                                  : body == Body::Moon
                                      ? "Diam = (31.22833333 * 384398.9144) / r_lune"
                                      : "Diam = (diam_Pln) / r_Pln_Erth";
    EXPECT_EQ(row[diameter], Printed(r.text, diameterFormula));
    if (body != Body::Sun) {
        EXPECT_EQ(row[7], Printed(r.text,
                                  "TopoAsc = Asc - (Paralax * DiCentre * Cosine(GeocLat) "
                                  "* Sine(Ha) / Cosine(Dec))"));
        EXPECT_EQ(row[11], Printed(r.text, "illum = ((1 + Cosine(FV)) / 2) * 100"));
    }
}

// The report's options for a place East of Greenwich, in degrees, and its zone.
std::vector<std::string> East(const char* lon, const char* lat, const char* zone) {
    return {"--lon-deg", lon,         "--lon-min", "0",      "--east", "--lat-deg",
            lat,         "--lat-min", "0",         "--zone", zone};
}

// The first line of a table on 17 June 2005, with the options of its form.
std::string Header(const std::string& body, const std::vector<std::string>& form) {
    const CliResult r = RunCli(With(
        {"ephemeris", body, "--from", "2005-06-17", "--to", "2005-06-17", "--step", "1h"}, form));
    return r.out.substr(0, r.out.find('\n'));
}

TEST(Ephemeris, EveryBodyIsItsReport) {
    for (const char* name : {"sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn",
                             "uranus", "neptune", "pluto"}) {
        SCOPED_TRACE(name);
        const Body body = *BodyFromName(name);
        const auto rows = CsvTable({"ephemeris", name, "--lon", "-39.8", "--lat", "21.4", "--zone",
                                    "-3", "--from", "2005-06-17T12:00:00", "--to",
                                    "2005-06-17T18:00:00", "--step", "6h", "--csv"});
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1][0] + rows[1][1], "2005-06-17T18:00:00+03:00");
        for (int k : {0, 1})
            ExpectRowIsTheReport(body, rows[k],
                                 ReportAt(name, "2005", "6", "17", k ? "18" : "12", "0",
                                          East("39.8", "21.4", "-3")));
    }
}

TEST(Ephemeris, HeaderUnits) {
    EXPECT_EQ(Header("moon", {"--csv"}),
              "time,utc_offset,ra_h,dec_deg,distance_km,altitude_deg,azimuth_deg,topo_ra_deg,"
              "topo_dec_deg,diameter_arcmin,elongation_deg,illumination_pct");
    EXPECT_EQ(Header("sun", {"--csv"}),
              "time,utc_offset,ra_h,dec_deg,distance_au,altitude_deg,azimuth_deg,diameter_arcmin");
    // Each number column as wide as the widest number the report writes, 22.
    const std::string mars = Header("mars", {"--lang", "en"});
    EXPECT_EQ(mars.rfind("Local time           UTC offset  " + std::string(16, ' ') + "RA (h)  " +
                             std::string(13, ' ') + "Dec (deg)",
                         0),
              0u)
        << mars;
    EXPECT_TRUE(Contains(mars, "Diameter (arcsec)"));
}

// Paris on 30 March 2025: 02:00 local does not exist, an hour after 01:00 is 03:00; days
// keep the clock time across the change. Kolkata: 00:10 at +05:30 is 23:40 the day before
// at zone -5, the instant the report is given.
TEST(Ephemeris, SummerTimeAndHalfHourZones) {
    if (!HaveZone("Europe/Paris") || !HaveZone("Asia/Kolkata"))
        GTEST_SKIP() << "no time-zone database (package tzdata)";
    const auto hours = CsvTable({"ephemeris", "moon", "--lon", "-2.35", "--lat", "48.85", "--tz",
                                 "Europe/Paris", "--from", "2025-03-30T01:00", "--to",
                                 "2025-03-30T04:00", "--step", "1h", "--csv"});
    const auto days =
        CsvTable({"ephemeris", "sun", "--tz", "Europe/Paris", "--from", "2025-03-29T12:00", "--to",
                  "2025-03-31T12:00", "--step", "1d", "--csv"});
    const auto kolkata = CsvTable({"ephemeris", "moon", "--lon", "-77.2", "--lat", "28.6", "--tz",
                                   "Asia/Kolkata", "--from", "2025-01-01T00:10", "--to",
                                   "2025-01-01T00:10", "--step", "1m", "--csv"});
    ASSERT_EQ(hours.size(), 3u);
    ASSERT_EQ(days.size(), 3u);
    ASSERT_EQ(kolkata.size(), 1u);
    const std::pair<const std::vector<std::string>&, const char*> kTimes[] = {
        {hours[0], "2025-03-30T01:00:00+01:00"},  {hours[1], "2025-03-30T03:00:00+02:00"},
        {hours[2], "2025-03-30T04:00:00+02:00"},  {days[0], "2025-03-29T12:00:00+01:00"},
        {days[1], "2025-03-30T12:00:00+02:00"},   {days[2], "2025-03-31T12:00:00+02:00"},
        {kolkata[0], "2025-01-01T00:10:00+05:30"}};
    for (const auto& [row, time] : kTimes) EXPECT_EQ(row[0] + row[1], time);
    const std::vector<std::string> paris = East("2.35", "48.85", "-1");
    ExpectRowIsTheReport(Body::Moon, hours[0],
                         ReportAt("moon", "2025", "3", "30", "1", "0", paris));
    ExpectRowIsTheReport(
        Body::Moon, hours[1],
        ReportAt("moon", "2025", "3", "30", "3", "0", With(paris, {"--summer", "1"})));
    ExpectRowIsTheReport(
        Body::Moon, kolkata[0],
        ReportAt("moon", "2024", "12", "31", "23", "40", East("77.2", "28.6", "-5")));
}

// A reading the clock skips is read with the offset before the change, one it repeats is its
// first occurrence; the expected times are Python's zoneinfo (fold=0).
TEST(Ephemeris, ReadingsTheClockSkipsOrRepeats) {
    const char* const kCases[][3] = {
        {"Europe/Paris", "2026-03-29T02:30", "2026-03-29T03:30:00+02:00"},
        {"America/New_York", "2026-03-08T02:30", "2026-03-08T03:30:00-04:00"},
        {"Europe/Paris", "2026-10-25T02:30", "2026-10-25T02:30:00+02:00"},
        {"America/New_York", "2026-11-01T01:30", "2026-11-01T01:30:00-04:00"},
        {"Pacific/Apia", "2011-12-30T12:00", "2011-12-31T12:00:00+14:00"}};
    for (const auto& [zone, reading, time] : kCases) {
        if (!HaveZone(zone)) GTEST_SKIP() << "no time-zone database (package tzdata)";
        const auto rows = CsvTable({"ephemeris", "sun", "--tz", zone, "--from", reading, "--to",
                                    reading, "--step", "1h", "--csv"});
        ASSERT_EQ(rows.size(), 1u) << zone << " " << reading;
        EXPECT_EQ(rows[0][0] + rows[0][1], time) << zone << " " << reading;
    }
}

// Kolkata kept its local mean time, +05:53:28, in 1582: the first instants of 15 October
// there fall on 14 October on the clock of the zone's whole hours (+05:00), which the
// calculation takes, and the Julian-day step refuses the days the Gregorian reform dropped.
TEST(Ephemeris, InstantsInTheDaysTheReformDropped) {
    if (!HaveZone("Asia/Kolkata")) GTEST_SKIP() << "no time-zone database (package tzdata)";
    const std::string why =
        "on the calculation's clock (zone -5, the whole hours of the zone) 1582-10-15T00:00:00 is "
        "1582-10-14T23:06:32, in the days the Gregorian reform dropped (5 to 14 October 1582)\n";
    const std::vector<std::string> args = {
        "ephemeris",        "sun",    "--tz", "Asia/Kolkata", "--from",
        "1582-10-15T00:00", "--step", "30m",  "--csv",        "--to"};
    const CliResult refused = RunCli(With(args, {"1582-10-15T00:30"}));
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "zerin: no row could be computed: " + why);
    const CliResult partly = RunCli(With(args, {"1582-10-15T01:00"}));
    EXPECT_EQ(partly.status, 1);
    EXPECT_EQ(partly.err, "zerin: 2 rows from 1582-10-15T00:00:00 are empty: " + why);
    const std::vector<std::vector<std::string>> rows = CsvRows(partly.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1582-10-15T00:30:00", "+05:53:28", "", "", "", "",
                                                 "", ""}));
    // 01:00 at +05:53:28 is 00:06:32 at zone -5: a day of the Gregorian calendar.
    ExpectRowIsTheReport(
        Body::Sun, rows[2],
        ReportAt("sun", "1582", "10", "15", "0", "6",
                 {"--second", "32", "--lon-deg", "5", "--lon-min", "40", "--zone", "-5"}));
}

TEST(Ephemeris, StepsIncludeBothEnds) {
    const auto count = [](const std::string& to, const std::string& step) {
        return CsvTable({"ephemeris", "sun", "--from", "2025-01-01T00:00", "--to", to, "--step",
                         step, "--csv"})
            .size();
    };
    EXPECT_EQ(count("2025-01-01T00:59", "30m"), 2u);
    EXPECT_EQ(count("2025-01-01T01:00", "30m"), 3u);
    EXPECT_EQ(count("2025-01-01T00:00", "1d"), 1u);
    EXPECT_EQ(count("2025-12-31T23:00", "1h"), 8760u);
}

TEST(Ephemeris, PeriodsWhateverTheRegionalSettings) {
    const CommaLocale comma;
    if (!comma.available()) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const std::vector<std::string> args = {"ephemeris",        "sun",  "--from",
                                           "2005-06-17T12:00", "--to", "2005-06-17T12:00",
                                           "--step",           "1h"};
    std::vector<std::string> csv = args, json = args;
    csv.push_back("--csv");
    json.push_back("--json");
    const CliResult text = RunCli(args), c = RunCli(csv), j = RunCli(json);
    EXPECT_TRUE(Contains(text.out, "5,73805137675184")) << text.out;
    EXPECT_TRUE(Contains(c.out, ",5.73805137675184,")) << c.out;
    EXPECT_TRUE(Contains(j.out, "\"ra_h\": 5.73805137675184,")) << j.out;
}

TEST(Ephemeris, RefusedInputWritesNothing) {
    const std::vector<std::string> moon = {"ephemeris", "moon", "--from", "2005-06-17"},
                                   day = With(moon, {"--to", "2005-06-18"});
    const std::pair<std::vector<std::string>, const char*> kCases[] = {
        {With(moon, {"--to", "2005-06-16T23:59", "--step", "1h"}),
         "zerin: --to is before --from (see 'zerin --help')\n"},
        {With(day, {"--step", "0m"}),
         "zerin: --step 0m: a step of zero never reaches --to (see 'zerin --help')\n"},
        {With(day, {"--step", "1w"}), "--step takes a whole number and d, h or m"},
        {With(day, {"--step", "1.5h"}), "--step takes a whole number"},
        {{"ephemeris", "moon", "--from", "2000-01-01", "--to", "2002-01-01", "--step", "1m"},
         "zerin: a table of 1052641 rows: at most 1,000,000 (see 'zerin --help')\n"},
        {With(day, {"--step", "1h", "--tz", "Nowhere/Atlantis"}),
         "zerin: unknown time zone 'Nowhere/Atlantis'"},
        {{"ephemeris", "comet", "--from", "2005-06-17", "--to", "2005-06-18", "--step", "1h"},
         "zerin: unknown body 'comet'"},
        {{"ephemeris", "--from", "2005-06-17"}, "ephemeris needs a body"},
        {With(moon, {"--step", "1h"}), "needs --from, --to and --step"},
        {{"ephemeris", "moon", "--from", "2005-06-17T25:00", "--to", "2005-06-18", "--step", "1h"},
         "is not a date"},
        {With(day, {"--step", "1h", "--hour", "3"}), "--hour is not an option of tables"},
        {With(day, {"--step", "1h", "--lat-min", "1e309"}),
         "zerin: --lat-min '1e309' is too large a number to compute with"},
    };
    for (const auto& [args, message] : kCases) ExpectRefused(args, message);
}

}  // namespace
}  // namespace zerin::test
