// `zerin hijri` and `zerin report month`: the contracts scripts rely on, byte for byte, the
// dates against ICU's calendars, and refused input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "TablesTestSupport.h"
#include "hijri/Hijri.h"
#include "hijri/HijriIcu.h"

namespace zerin::test {
namespace {

std::string IcuDateText(IcuIslamic kind, int year, int month) {
    return IsoDateText(CivilDayOf(IcuMonthStart(kind, year, month)));
}

TEST(HijriCli, JsonContracts) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"hijri", "2025-03-01", "--rule", "umm-al-qura", "--json"},
         "{\"gregorian\": \"2025-03-01\", \"hijri\": \"1446-09-01\", \"rule\": \"umm-al-qura\"}\n"},
        {{"hijri", "--to-gregorian", "1447-09-01", "--json"},
         "{\"hijri\": \"1447-09-01\", \"gregorian\": \"2026-02-18\", \"rule\": \"umm-al-qura\"}\n"},
        // Outside Umm al-Qura's table: the tabular calendar, named.
        {{"hijri", "1800-01-01", "--json"},
         "{\"gregorian\": \"1800-01-01\", \"hijri\": \"1214-08-04\", \"rule\": \"umm-al-qura\", "
         "\"fallback\": \"tabular\"}\n"},
        // Before the reform the civil date is Julian: 1 Muharram 1 AH, Friday 16 July 622.
        {{"hijri", "0622-07-16", "--rule", "tabular", "--json"},
         "{\"gregorian\": \"0622-07-16\", \"hijri\": \"0001-01-01\", \"rule\": \"tabular\"}\n"},
        {{"hijri", "622-07-15", "--rule", "astronomical", "--json"},
         "{\"gregorian\": \"0622-07-15\", \"hijri\": \"0001-01-01\", \"rule\": "
         "\"astronomical\"}\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        SCOPED_TRACE(c.args[1]);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

// The Julian calendar before the reform, both ways, against ICU's civil calendar.
TEST(HijriCli, JulianDatesBeforeTheReform) {
    const CliResult r = RunCli({"hijri", "1000-01-01", "--rule", "civil", "--json"});
    // 1 January 1000 (Julian) is Julian day number 2086308.
    const HijriDate icu = IcuDateOf(IcuIslamic::Civil, 2086308);
    EXPECT_EQ(r.out, "{\"gregorian\": \"1000-01-01\", \"hijri\": \"" + IsoDateText(icu) +
                         "\", \"rule\": \"civil\"}\n");
    const CliResult back =
        RunCli({"hijri", "--to-gregorian", "0500-01-01", "--rule=civil", "--json"});
    EXPECT_EQ(back.out, "{\"hijri\": \"0500-01-01\", \"gregorian\": \"" +
                            IcuDateText(IcuIslamic::Civil, 500, 1) + "\", \"rule\": \"civil\"}\n");
}

TEST(HijriCli, TextNamesTheRuleOrTheFallback) {
    EXPECT_EQ(RunCli({"hijri", "2025-03-01"}).out,
              "2025-03-01 = 1 رمضان 1446 هـ (1446-09-01) : تقويم أم القرى\n");
    EXPECT_TRUE(Contains(RunCli({"hijri", "1800-01-01"}).out, "التقويم الحسابي بالمبدأ المدني"));
    EXPECT_EQ(RunCli({"hijri", "--to-gregorian", "1447-09-01"}).out,
              "1447-09-01 = 1 رمضان 1447 هـ = الأربعاء 2026-02-18 : تقويم أم القرى\n");
    EXPECT_TRUE(
        Contains(RunCli({"hijri", "2025-03-01", "--rule", "sighting", "--criterion", "yallop"}).out,
                 "رؤية الهلال بمعيار يالوب"));
    // Back to the civil calendar outside Umm al-Qura's table, on both sides of it: the tabular
    // calendar's date (ICU's), and the text says so.
    for (const int year : {1299, 1601, 1700}) {
        const std::string date = std::to_string(year) + "-01-01";
        const std::string out = RunCli({"hijri", "--to-gregorian", date}).out;
        SCOPED_TRACE(out);
        EXPECT_TRUE(Contains(out, "التقويم الحسابي بالمبدأ المدني"));
        EXPECT_FALSE(Contains(out, "تقويم أم القرى"));
        EXPECT_TRUE(Contains(out, IcuDateText(IcuIslamic::Civil, year, 1) + " : "));
    }
}

// The year's CSV: its header, twelve rows, the tabular and Umm al-Qura columns ICU's; the
// computed rule is Umm al-Qura's but for the knife edge of 1446-06 (the Moon sets four
// seconds before the Sun at Mecca by this program's theories).
TEST(HijriCli, YearCsv) {
    const CliResult r = RunCli({"hijri", "--year", "1446", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "month,tabular,umm_al_qura,computed,sighting");
    const std::vector<std::vector<std::string>> rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), 12u) << r.out;
    for (int month = 1; month <= 12; ++month) {
        const DayNumber official = IcuMonthStart(IcuIslamic::UmmAlQura, 1446, month);
        const std::vector<std::string>& row = rows[month - 1];
        ASSERT_EQ(row.size(), 5u) << month;
        EXPECT_EQ(row[0], std::to_string(month));
        EXPECT_EQ(row[1], IcuDateText(IcuIslamic::Civil, 1446, month));
        EXPECT_EQ(row[2], IsoDateText(CivilDayOf(official)));
        EXPECT_EQ(row[3], IsoDateText(CivilDayOf(official + (month == 6 ? 1 : 0))));
        EXPECT_EQ(row[4].size(), 10u) << row[4];
    }
    EXPECT_EQ(r.err, "");
    // The computed rule is Mecca's wherever the user is: the same column at the Kaaba (21° 25′
    // 21″ N, 39° 49′ 34″ E), in Honolulu and in Jakarta, whose evenings see other crescents.
    for (const char* place :
         {"--lon 39:49:34E --lat 21:25:21N --zone -3", "--lon 157:51W --lat 21:18N --zone 10",
          "--lon 106:49E --lat 6:10S --zone -7"}) {
        SCOPED_TRACE(place);
        const auto there = CsvTable(Words(std::string("hijri --year 1446 --csv ") + place));
        ASSERT_EQ(there.size(), 12u);
        for (int month = 1; month <= 12; ++month) {
            EXPECT_EQ(there[month - 1][3], rows[month - 1][3]);
            // And each month's first day by the computed rule alone.
            char date[16];
            std::snprintf(date, sizeof date, "1446-%02d-01", month);
            const CliResult one = RunCli(Words(std::string("hijri --to-gregorian ") + date +
                                               " --rule computed --json " + place));
            EXPECT_TRUE(Contains(one.out, "\"gregorian\": \"" + rows[month - 1][3] + "\""))
                << one.out;
        }
    }
}

// The year's sighting column by the criterion asked for: each month's first day as the
// command gives it for that month alone; at Mecca in 1443 AH Yallop's and Odeh's differ.
TEST(HijriCli, TheYearsSightingColumnTakesTheCriterion) {
    const std::string mecca = " --lon 39:49:34E --lat 21:25:21N --zone -3";
    std::vector<std::string> columns;
    for (const char* criterion : {"yallop", "odeh"}) {
        SCOPED_TRACE(criterion);
        const auto rows = CsvTable(
            Words("hijri --year 1443 --csv --criterion " + std::string(criterion) + mecca));
        ASSERT_EQ(rows.size(), 12u);
        std::string column;
        for (int month = 1; month <= 12; ++month) {
            char date[16];
            std::snprintf(date, sizeof date, "1443-%02d-01", month);
            const CliResult one =
                RunCli(Words(std::string("hijri --to-gregorian ") + date +
                             " --rule sighting --json --criterion " + criterion + mecca));
            EXPECT_TRUE(Contains(one.out, "\"gregorian\": \"" + rows[month - 1][4] + "\""))
                << one.out;
            column += rows[month - 1][4] + " ";
        }
        columns.push_back(column);
    }
    EXPECT_NE(columns[0], columns[1]);
}

TEST(HijriCli, YearJsonAndFallback) {
    const CliResult r = RunCli({"hijri", "--year", "1447", "--json", "--lon", "39.8262E", "--lat",
                                "21.4225N", "--zone", "-3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"year\": 1447, \"lon\": -39.8262, \"lat\": 21.4225, \"zone\": -3, "
                          "\"criterion\": \"odeh\", \"rows\": [\n  {\"month\": 1, \"tabular\": \"" +
                              IcuDateText(IcuIslamic::Civil, 1447, 1) + "\", \"umm_al_qura\": \"" +
                              IcuDateText(IcuIslamic::UmmAlQura, 1447, 1) + "\", ",
                          0),
              0u)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 14);

    const CliResult outside = RunCli({"hijri", "--year", "1700", "--json"});
    EXPECT_TRUE(Contains(outside.out, "\"umm_al_qura_fallback\": \"tabular\""));
    EXPECT_TRUE(Contains(outside.out,
                         "\"umm_al_qura\": \"" + IcuDateText(IcuIslamic::Civil, 1700, 1) + "\""));
    const CliResult csv = RunCli({"hijri", "--year", "1700", "--csv"});
    EXPECT_EQ(csv.status, 0);
    EXPECT_TRUE(Contains(csv.err, "outside Umm al-Qura's table")) << csv.err;
    const CliResult text = RunCli({"hijri", "--year", "1700"});
    EXPECT_TRUE(Contains(text.out, "أم القرى*"));
    EXPECT_TRUE(Contains(text.out, "* التقويم الحسابي بالمبدأ المدني"));
}

TEST(HijriCli, RefusedInput) {
    struct Case {
        std::vector<std::string> args;
        const char* said;
    };
    const Case cases[] = {
        {{"hijri", "--to-gregorian", "1447-13-01"}, "month 13 does not exist"},
        {{"hijri", "--to-gregorian", "1447-01-31"}, "day 31 does not exist"},
        {{"hijri", "--to-gregorian", "1446-09-30"}, "1446-09 has 29 days by the rule umm-al-qura"},
        {{"hijri", "--to-gregorian", "0-01-01"}, "year 0 does not exist"},
        {{"hijri", "--to-gregorian", "9666-01-01"}, "beyond 9999-12-31"},
        // The days of 9999 after 1 Muharram 9666: no Hijri date whose way back is refused.
        {{"hijri", "9999-10-02"},
         "9999-10-02 lies in Hijri year 9666, past the last Hijri year the program converts both "
         "ways (9665, up to 9999-10-01)"},
        {{"hijri", "9999-12-31", "--rule", "civil"}, "lies in Hijri year 9666"},
        {{"hijri", "--to-gregorian", "1447/09/01"}, "not a Hijri date"},
        {{"hijri", "1582-10-10"}, "1582-10-10 does not exist"},
        {{"hijri", "1582-10-05"}, "does not exist"},
        {{"hijri", "2025-02-29"}, "2025-02-29 does not exist"},
        {{"hijri", "1900-02-29"}, "does not exist"},
        {{"hijri", "2025-03-1x"}, "is not a date"},
        {{"hijri", "12025-03-01"}, "is not a date"},
        {{"hijri", "622-07-15"}, "before 1 Muharram 1 AH"},
        {{"hijri", "2025-03-01", "2025-03-02"}, "one date at a time"},
        {{"hijri", "2025-03-01", "--year", "1447"}, "give one of"},
        {{"hijri", "--year", "0"}, "year 0 does not exist"},
        {{"hijri", "--year", "9666"}, "beyond 9999-12-31"},
        {{"hijri", "--year", "14x7"}, "--year takes a Hijri year"},
        {{"hijri", "--rule", "lunar"}, "--rule takes"},
        {{"hijri", "--criterion", "danjon"}, "--criterion takes odeh or yallop"},
        {{"hijri", "--tz", "Asia/Riyadh"}, "--tz is not an option of hijri"},
        {{"hijri", "--summer", "1"}, "--summer is not an option of hijri"},
        {{"hijri", "--month", "3"}, "--month is not an option of hijri"},
        {{"hijri", "--lat", "95"}, "--lat '95' is out of range"},
        {{"hijri", "--bogus"}, "unknown option '--bogus'"},
        {{"report", "month", "--hijri", "1447-13"}, "month 13 does not exist"},
        {{"report", "month", "--hijri", "0-09"}, "year 0 does not exist"},
        {{"report", "month", "--hijri", "1447"}, "YYYY-MM"},
        {{"report", "month", "--hijri", "1447-09-01"}, "YYYY-MM"},
        {{"report", "month", "--day", "3"}, "--day is not an option of report month"},
        {{"report", "month", "--zone", "20"}, "the zone 20"},
        {{"report", "month", "--criterion", "x"}, "--criterion takes"},
        {{"report", "month", "--nope"}, "unknown option '--nope'"},
    };
    for (const Case& c : cases) ExpectRefused(c.args, c.said);
}

// The month report: every byte of one (the knife edge of 1446-06 at the default place).
TEST(HijriCli, MonthReportBytes) {
    const CliResult r = RunCli({"report", "month", "--hijri", "1446-06"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Golden("report-month-1446-06.txt"));
    EXPECT_EQ(r.err, "");
}

TEST(HijriCli, MonthReportJsonAndPolarEvening) {
    const CliResult json = RunCli({"report", "month", "--hijri", "1447-09", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    for (const char* item : {"{\"name\": \"JJ\", \"value\": 2461089.5, \"unit\": \"d\"}",
                             "{\"name\": \"Lon\", \"value\": -39.8262, \"unit\": \"deg\"}",
                             "{\"name\": \"V\", \"value\": ", "{\"name\": \"Coucher_Lune\""})
        EXPECT_TRUE(Contains(json.out, item)) << item;
    // At 80 degrees North in June the Sun does not set: said in words, 30 days.
    const CliResult polar =
        RunCli({"report", "month", "--hijri", "1446-12", "--lat-deg", "80", "--lat-min", "0"});
    EXPECT_EQ(polar.status, 0) << polar.err;
    EXPECT_TRUE(Contains(polar.out, "لا تغرب الشمس في هذا اليوم"));
    EXPECT_TRUE(Contains(polar.out, " **إنتهى**"));
}

// A full device: the failure is said and the status is 1.
TEST(HijriCli, AFailedWriteIsSaid) {
    for (const char* command :
         {" hijri 2025-03-01", " hijri --year 1447 --csv", " report month --hijri 1447-09"}) {
        const ExeResult r = RunExe(std::string(command) + " > /dev/full");
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err.rfind("zerin: could not write the output: ", 0), 0u) << r.err;
    }
}

}  // namespace
}  // namespace zerin::test
