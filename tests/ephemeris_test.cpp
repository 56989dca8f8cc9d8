// zerin ephemeris: each row the report's values at its instant, on every kind of clock.
#include "Ephemeris.h"

#include <gtest/gtest.h>

#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

// The row's values against the report's at the same instant, its values and its text.
void ExpectRowIsTheReport(const std::string& name, const std::vector<std::string>& row,
                          const std::string& report) {
    SCOPED_TRACE(name + " " + row[0]);
    const Body body = *BodyFromName(name);
    const std::vector<std::string> args = Words("report " + name + " " + report);
    const CliResult text = RunCli(args), json = RunCli(With(args, {"--json"}));
    ASSERT_EQ(text.status + json.status, 0) << text.err << json.err;
    const std::map<std::string, std::string> values = JsonNamedValues(json.out);
    const std::vector<cli::EphemerisQuantity> quantities = cli::EphemerisQuantities(body);
    ASSERT_EQ(row.size(), 2 + quantities.size());
    for (std::size_t q = 0; q < quantities.size(); ++q)
        EXPECT_EQ(row[2 + q], values.at(quantities[q].name)) << quantities[q].name;
    EXPECT_EQ(row[5], Printed(text.out, "Altitude = ArcSin(Z_hor)"));
    EXPECT_EQ(row[6], Printed(text.out, "Azimut = Azimut + 180"));
    EXPECT_EQ(row[body == Body::Sun ? 7 : 9],
              Printed(text.out, body == Body::Sun    ? "Diam = 31.98766667 / R_soleil"
                                : body == Body::Moon ? "Diam = (31.22833333 * 384398.9144) / r_lune"
                                                     : "Diam = (diam_Pln) / r_Pln_Erth"));
    if (body != Body::Sun) {
        EXPECT_EQ(
            row[7],
            Printed(
                text.out,
                "TopoAsc = Asc - (Paralax * DiCentre * Cosine(GeocLat) * Sine(Ha) / Cosine(Dec))"));
        EXPECT_EQ(row[11], Printed(text.out, "illum = ((1 + Cosine(FV)) / 2) * 100"));
    }
}

// The report's date and time fields, then its place East of Greenwich and its zone.
std::string At(const std::string& when, const std::string& lon, const std::string& lat,
               const std::string& zone) {
    const std::vector<std::string> w = Words(when);
    return "--year " + w[0] + " --month " + w[1] + " --day " + w[2] + " --hour " + w[3] +
           " --minute " + w[4] + " --second " + (w.size() > 5 ? w[5] : "0") + " --east --lon-deg " +
           lon + " --lon-min 0 --lat-deg " + lat + " --lat-min 0 --zone " + zone;
}

TEST(Ephemeris, EveryBodyIsItsReport) {
    for (const char* name : {"sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn",
                             "uranus", "neptune", "pluto"}) {
        const auto rows =
            CsvTable(Words(std::string("ephemeris ") + name +
                           " --lon -39.8 --lat 21.4 --zone -3 --from 2005-06-17T12:00:00 --to "
                           "2005-06-17T18:00:00 --step 6h --csv"));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1][0] + rows[1][1], "2005-06-17T18:00:00+03:00");
        ExpectRowIsTheReport(name, rows[0], At("2005 6 17 12 0", "39.8", "21.4", "-3"));
        ExpectRowIsTheReport(name, rows[1], At("2005 6 17 18 0", "39.8", "21.4", "-3"));
    }
}

// Paris on 30 March 2025 (no 02:00); Kolkata at +05:30 on zone -5 (skipped readings: outputs.txt).
TEST(Ephemeris, SummerTimeHalfHourZonesAndTheReadingsAClockSkipsOrRepeats) {
    if (!HaveZone("Europe/Paris") || !HaveZone("Asia/Kolkata") || !HaveZone("Pacific/Apia"))
        GTEST_SKIP() << "no time-zone database (package tzdata)";
    const auto rows = [](const std::string& line) {
        return CsvTable(Words("ephemeris " + line + " --csv"));
    };
    const auto hours = rows(
        "moon --lon -2.35 --lat 48.85 --tz Europe/Paris --from 2025-03-30T01:00 --to "
        "2025-03-30T04:00 --step 1h");
    const auto days =
        rows("sun --tz Europe/Paris --from 2025-03-29T12:00 --to 2025-03-31T12:00 --step 1d");
    const auto kolkata = rows(
        "moon --lon -77.2 --lat 28.6 --tz Asia/Kolkata --from 2025-01-01T00:10 --to "
        "2025-01-01T00:10 --step 1m");
    ASSERT_TRUE(hours.size() == 3 && days.size() == 3 && kolkata.size() == 1);
    const std::pair<const std::vector<std::string>&, const char*> kTimes[] = {
        {hours[0], "2025-03-30T01:00:00+01:00"},  {hours[1], "2025-03-30T03:00:00+02:00"},
        {hours[2], "2025-03-30T04:00:00+02:00"},  {days[0], "2025-03-29T12:00:00+01:00"},
        {days[1], "2025-03-30T12:00:00+02:00"},   {days[2], "2025-03-31T12:00:00+02:00"},
        {kolkata[0], "2025-01-01T00:10:00+05:30"}};
    for (const auto& [row, time] : kTimes) EXPECT_EQ(row[0] + row[1], time);
    ExpectRowIsTheReport("moon", hours[0], At("2025 3 30 1 0", "2.35", "48.85", "-1"));
    ExpectRowIsTheReport("moon", hours[1],
                         At("2025 3 30 3 0", "2.35", "48.85", "-1") + " --summer 1");
    ExpectRowIsTheReport("moon", kolkata[0], At("2024 12 31 23 40", "77.2", "28.6", "-5"));
}

// Kolkata's mean time in 1582: the row after the dropped days is the report's at 00:06:32, zone -5.
TEST(Ephemeris, InstantsInTheDaysTheReformDropped) {
    if (!HaveZone("Asia/Kolkata")) GTEST_SKIP() << "no time-zone database (package tzdata)";
    const CliResult r =
        RunCli(Words("ephemeris sun --tz Asia/Kolkata --from 1582-10-15T00:00 "
                     "--step 30m --csv --to 1582-10-15T01:00"));
    const std::vector<std::vector<std::string>> rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), 3u);
    ExpectRowIsTheReport(
        "sun", rows[2],
        "--year 1582 --month 10 --day 15 --hour 0 --minute 6 --second 32 --lon-deg 5 "
        "--lon-min 40 --zone -5");
}

TEST(Ephemeris, StepsAndFormats) {
    const std::pair<std::string, std::size_t> kCounts[] = {{"2025-01-01T00:59 --step 30m", 2},
                                                           {"2025-01-01T01:00 --step 30m", 3},
                                                           {"2025-01-01T00:00 --step 1d", 1},
                                                           {"2025-12-31T23:00 --step 1h", 8760}};
    for (const auto& [to, count] : kCounts)
        EXPECT_EQ(CsvTable(Words("ephemeris sun --from 2025-01-01T00:00 --csv --to " + to)).size(),
                  count)
            << to;
}

}  // namespace
}  // namespace zerin::test
