// The Hijri calendar vs. ICU, Julian days and Saudi Arabia's announced months; `zerin hijri`.
#include "hijri/Hijri.h"

#include <gtest/gtest.h>

#include <cmath>

#include "TablesTestSupport.h"
#include "hijri/HijriIcu.h"
#include "hijri/HijriRules.h"

namespace zerin::test {
namespace {

std::string MonthText(int year, int month) {
    char text[16];
    std::snprintf(text, sizeof text, "%d-%02d", year, month);
    return text;
}

std::string IcuDateText(IcuIslamic kind, int year, int month) {
    return IsoDateText(CivilDayOf(IcuMonthStart(kind, year, month)));
}

// Meeus 7.a/7.b, both sides of the reform, a Julian leap day; the epochs of 16 and 15 July 622.
TEST(CivilDays, PublishedJulianDaysAndRefusedDates) {
    for (const std::vector<std::string>& r : DataRows("civil-days.csv", "year")) {
        const CivilDay date{std::stoi(r[0]), std::stoi(r[1]), std::stoi(r[2])};
        const std::optional<DayNumber> day = DayNumberOf(date);
        ASSERT_EQ(day.has_value(), !r[3].empty()) << IsoDateText(date);
        if (!day) continue;
        EXPECT_EQ(*day, std::stol(r[3])) << IsoDateText(date);
        EXPECT_EQ(CivilDayOf(*day), date);
        if (!r[4].empty()) {
            EXPECT_EQ(WeekdayOf(*day), std::stoi(r[4])) << IsoDateText(date);
        }
    }
    EXPECT_STREQ(WeekdayName(5), "الجمعة");
    for (const auto& [epoch, date, weekday] :
         {std::tuple{HijriEpoch::Civil, CivilDay{622, 7, 16}, 5},
          {HijriEpoch::Astronomical, CivilDay{622, 7, 15}, 4}}) {
        EXPECT_EQ(CivilDayOf(TabularDayNumber({1, 1, 1}, epoch)), date);
        EXPECT_EQ(WeekdayOf(TabularDayNumber({1, 1, 1}, epoch)), weekday);
    }
}

// Every month's first day and the day before, both ways, 1 to 1600 AH; every day back and forth.
TEST(Tabular, EqualsIcuEveryMonthAndRoundTripsEveryDay1To1600) {
    for (const auto& [epoch, icu] : {std::pair{HijriEpoch::Civil, IcuIslamic::Civil},
                                     {HijriEpoch::Astronomical, IcuIslamic::Tbla}}) {
        int failures = 0;
        const DayNumber first = TabularDayNumber({1, 1, 1}, epoch);
        for (int year = 1; year <= 1600 && failures < 5; ++year)
            for (int month = 1; month <= 12; ++month) {
                const DayNumber start = TabularDayNumber({year, month, 1}, epoch);
                const HijriDate before = TabularDateOf(start - 1, epoch);
                if (start != IcuMonthStart(icu, year, month) ||
                    TabularDateOf(start, epoch) != (HijriDate{year, month, 1}) ||
                    (start > first && before != IcuDateOf(icu, start - 1)))
                    ADD_FAILURE() << ++failures << ": " << MonthText(year, month) << " epoch "
                                  << static_cast<int>(epoch) << ": ours " << start;
            }
        const DayNumber last = TabularDayNumber({1601, 1, 1}, epoch);
        for (DayNumber day = first; day < last && failures < 5; ++day) {
            const HijriDate date = TabularDateOf(day, epoch);
            if (TabularDayNumber(date, epoch) != day || date.day < 1 ||
                date.day > TabularMonthLength(date.year, date.month))
                ADD_FAILURE() << ++failures << ": " << day << " -> " << IsoDateText(date);
        }
    }
}

TEST(UmmAlQura, EqualsIcuAndTheAnnouncedMonthsAndFallsBackOutsideItsTable) {
    HijriCalendar calendar(HijriRule::UmmAlQura);
    int failures = 0;
    for (int year = kUmmAlQuraFirstYear; year <= kUmmAlQuraLastYear && failures < 5; ++year)
        for (int month = 1; month <= 12; ++month) {
            const DayNumber icu = IcuMonthStart(IcuIslamic::UmmAlQura, year, month);
            const DayNumber start = calendar.MonthStart(year, month);
            const HijriDay first = calendar.DateOf(start), before = calendar.DateOf(start - 1);
            if (start != icu || first.date != (HijriDate{year, month, 1}) ||
                first.rule != HijriRule::UmmAlQura ||
                before.date != IcuDateOf(IcuIslamic::UmmAlQura, start - 1))
                ADD_FAILURE() << ++failures << ": " << MonthText(year, month) << ": ours " << start
                              << " ICU " << icu;
        }
    // Saudi Arabia's announced starts of Ramadan and of Shawwal.
    // clang-format off
    const std::pair<HijriDate, CivilDay> kAnnounced[] = {{{1446, 9, 1}, {2025, 3, 1}},
        {{1446, 10, 1}, {2025, 3, 30}}, {{1445, 9, 1}, {2024, 3, 11}}, {{1444, 9, 1}, {2023, 3, 23}}};
    // clang-format on
    for (const auto& [hijri, civil] : kAnnounced) {
        EXPECT_EQ(CivilDayOf(calendar.MonthStart(hijri.year, hijri.month)), civil);
        EXPECT_EQ(calendar.DateOf(civil).date, hijri);
    }
    // Outside ICU's table the date is the tabular civil one, and says so.
    for (int year : {1, 1000, 1299, 1601, 2000}) {
        const DayNumber start = calendar.MonthStart(year, 5);
        EXPECT_EQ(start, TabularDayNumber({year, 5, 1}, HijriEpoch::Civil)) << year;
        EXPECT_EQ(calendar.DateOf(start + 3).date, (HijriDate{year, 5, 4})) << year;
        EXPECT_TRUE(calendar.RuleOfYear(year) == HijriRule::Civil &&
                    calendar.DateOf(start + 3).rule == HijriRule::Civil)
            << year;
    }
    EXPECT_EQ(calendar.RuleOfYear(1300), HijriRule::UmmAlQura);
    EXPECT_EQ(calendar.RuleOfYear(1600), HijriRule::UmmAlQura);
    EXPECT_FALSE(UmmAlQuraMonthStart(1299, 12));
    EXPECT_FALSE(UmmAlQuraMonthStart(1601, 1));
    const DayNumber join = calendar.MonthStart(1601, 1);  // the first day after the table
    EXPECT_EQ(calendar.DateOf(join - 1).rule, HijriRule::UmmAlQura);
    EXPECT_EQ(calendar.DateOf(join).rule, HijriRule::Civil);
    // A refused date; a month of 29 days.
    EXPECT_EQ(calendar.MonthLength(1446, 9), 29);
    EXPECT_TRUE(calendar.DayNumberOf({1446, 9, 29}));
    // clang-format off
    for (const HijriDate date : {HijriDate{1446, 9, 30}, {1446, 13, 1}, {1446, 0, 1}, {0, 1, 1}, {1446, 1, 31}, {1446, 1, 0}})
        // clang-format on
        EXPECT_FALSE(calendar.DayNumberOf(date)) << IsoDateText(date);
}

TEST(Verdicts, EdgesOfEachRule) {
    using E = CrescentEnd;
    const auto evening = [](double Age, double Lag, CrescentEnd end, char yallop, char odeh) {
        CrescentEvening e;
        e.sun.kind = e.moon.kind = Crossing::Kind::Found;
        e.Age = Age, e.Lag = Lag, e.end = end, e.yallop = yallop, e.odeh = odeh;
        return e;
    };
    CrescentEvening noSunset = evening(10, 20, E::NoSunset, 0, 0);
    noSunset.sun.kind = Crossing::Kind::NeverSets;
    // clang-format off
    const struct { const char* what; CrescentEvening evening; bool ummAlQura, odeh, yallop; } kCases[] = {
        {"both after", evening(0.01, 0.1, E::Computed, 'F', 'D'), true, false, false},
        {"conjunction after", evening(-0.01, 20, E::ConjunctionAfter, 0, 0), false, false, false},
        {"moon sets first", evening(10, -0.1, E::MoonFirst, 0, 0), false, false, false},
        {"Odeh B, Yallop D", evening(20, 40, E::Computed, 'D', 'B'), true, true, false},
        {"Odeh C, Yallop C", evening(20, 40, E::Computed, 'C', 'C'), true, false, true},
        {"Odeh A, Yallop A", evening(30, 60, E::Computed, 'A', 'A'), true, true, true},
        {"no sunset", noSunset, false, false, false}};
    // clang-format on
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(UmmAlQuraBegins(c.evening), c.ummAlQura);
        EXPECT_EQ(SightingBegins(c.evening, SightingCriterion::Odeh), c.odeh);
        EXPECT_EQ(SightingBegins(c.evening, SightingCriterion::Yallop), c.yallop);
    }
}

// Computed at Mecca vs. official 1423-1450 AH: differing only within two minutes of sunset.
TEST(ComputedRule, EqualsUmmAlQura1423To1450ExceptKnifeEdges) {
    HijriCalendar computed(HijriRule::Computed);
    int disagreements = 0;
    for (int year = 1423; year <= 1450; ++year)
        for (int month = 1; month <= 12; ++month) {
            const DayNumber official = IcuMonthStart(IcuIslamic::UmmAlQura, year, month);
            const DayNumber start = computed.MonthStart(year, month);
            if (start == official) continue;
            const MonthEvening m = computed.EveningBefore(year, month);
            const double conjunction = (m.conjunction.JJ - m.evening.sun.JJ) * 1440;
            const std::string line = MonthText(year, month) + ": official " +
                                     IsoDateText(CivilDayOf(official)) + ", conjunction " +
                                     std::to_string(conjunction) + " min from sunset, moonset " +
                                     std::to_string(m.evening.Lag) + " min";
            std::printf("  %s\n", line.c_str());
            ++disagreements;
            EXPECT_EQ(std::labs(start - official), 1) << line;
            EXPECT_TRUE(std::fabs(conjunction) < 2 || std::fabs(m.evening.Lag) < 2) << line;
        }
    EXPECT_LE(disagreements, 3);
}

// Any anchor, the same months of 29 or 30 days; every day back and forth, every rule.
TEST(ComputedRule, AnchorsMonthLengthsAndRoundTrips) {
    const HijriPlace rabat{6.8498, 34.0209, -1};
    for (HijriRule rule : {HijriRule::Computed, HijriRule::Sighting}) {
        HijriCalendar chained(rule, rabat);
        for (int year = 1423; year <= 1450; ++year)
            for (int month = 1; month <= 12; ++month)
                for (int anchor : {3, 12})
                    EXPECT_EQ(HijriCalendar(rule, rabat, SightingCriterion::Odeh, anchor)
                                  .MonthStart(year, month),
                              chained.MonthStart(year, month))
                        << HijriRuleKey(rule) << " " << MonthText(year, month) << " anchored "
                        << anchor;
    }
    const HijriPlace jakarta{-106.8456, -6.2088, -7};
    for (HijriRule rule : {HijriRule::Civil, HijriRule::Astronomical, HijriRule::UmmAlQura,
                           HijriRule::Computed, HijriRule::Sighting}) {
        for (SightingCriterion criterion : {SightingCriterion::Odeh, SightingCriterion::Yallop}) {
            HijriCalendar calendar(rule, jakarta, criterion);
            for (DayNumber day = calendar.MonthStart(1440, 1); day < calendar.MonthStart(1451, 1);
                 ++day) {
                const HijriDay hijri = calendar.DateOf(day);
                ASSERT_EQ(calendar.DayNumberOf(hijri.date), day)
                    << HijriRuleKey(rule) << " " << IsoDateText(hijri.date);
                const int length = calendar.MonthLength(hijri.date.year, hijri.date.month);
                ASSERT_TRUE(hijri.date.day > 1 || length == 29 || length == 30)
                    << HijriRuleKey(rule) << " " << IsoDateText(hijri.date) << " " << length;
            }
        }
    }
}

TEST(HijriCli, WhatItWrites) {
    // 1 January 1000 (Julian) is Julian day number 2086308; the last day converted both ways.
    const std::pair<const char*, std::string> kCases[] = {
        {"hijri 1000-01-01 --rule civil --json",
         "{\"gregorian\": \"1000-01-01\", \"hijri\": \"" +
             IsoDateText(IcuDateOf(IcuIslamic::Civil, 2086308)) + "\", \"rule\": \"civil\"}\n"},
        {"hijri --to-gregorian 0500-01-01 --rule=civil --json",
         "{\"hijri\": \"0500-01-01\", \"gregorian\": \"" + IcuDateText(IcuIslamic::Civil, 500, 1) +
             "\", \"rule\": \"civil\"}\n"},
        {"hijri 9999-10-01 --rule civil --json",
         "{\"gregorian\": \"9999-10-01\", \"hijri\": \"" +
             IsoDateText(IcuDateOf(IcuIslamic::Civil, *DayNumberOf({9999, 10, 1}))) +
             "\", \"rule\": \"civil\"}\n"},
    };
    for (const auto& [line, out] : kCases) {
        const CliResult r = RunCli(Words(line));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, out);
        EXPECT_EQ(r.err, "");
    }
    // Outside Umm al-Qura's table, both sides: ICU's tabular date, and the text says so.
    for (const int year : {1299, 1601, 1700}) {
        const std::string out =
            RunCli(Words("hijri --to-gregorian " + std::to_string(year) + "-01-01")).out;
        EXPECT_TRUE(Contains(out, "التقويم الحسابي بالمبدأ المدني")) << out;
        EXPECT_FALSE(Contains(out, "تقويم أم القرى")) << out;
        EXPECT_TRUE(Contains(out, IcuDateText(IcuIslamic::Civil, year, 1) + " : ")) << out;
    }
}

// The year's CSV: ICU's tabular and Umm al-Qura columns; the computed rule Umm al-Qura's but
// for the knife edge of 1446-06, and Mecca's wherever the user is; each month alone the same.
TEST(HijriCli, TheYearsColumns) {
    const CliResult r = RunCli(Words("hijri --year 1446 --csv"));
    ASSERT_EQ(r.status, 0) << r.err;
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
    const auto column = [](const std::string& year, int k, const std::string& options) {
        const auto table = CsvTable(Words("hijri --year " + year + " --csv" + options));
        std::string dates;
        for (int month = 1; month <= 12 && table.size() == 12; ++month) {
            const std::string one =
                RunCli(Words("hijri --to-gregorian " + year + "-" + MonthText(0, month).substr(2) +
                             "-01 --json --rule " + (k == 3 ? "computed" : "sighting") + options))
                    .out;
            EXPECT_TRUE(Contains(one, "\"gregorian\": \"" + table[month - 1][k] + "\"")) << one;
            dates += table[month - 1][k] + " ";
        }
        return dates;
    };
    for (const char* place :
         {" --lon 39:49:34E --lat 21:25:21N --zone -3", " --lon 157:51W --lat 21:18N --zone 10",
          " --lon 106:49E --lat 6:10S --zone -7"}) {
        std::string computed;
        for (const auto& row : rows) computed += row[3] + " ";
        EXPECT_EQ(column("1446", 3, place), computed) << place;
    }
    // The sighting column by the criterion: at Mecca in 1443 AH Yallop's and Odeh's differ.
    const std::string mecca = " --lon 39:49:34E --lat 21:25:21N --zone -3 --criterion ";
    EXPECT_NE(column("1443", 4, mecca + "yallop"), column("1443", 4, mecca + "odeh"));
}

TEST(HijriCli, YearJsonTextAndFallback) {
    const CliResult r =
        RunCli(Words("hijri --year 1447 --json --lon 39.8262E --lat 21.4225N --zone -3"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"year\": 1447, \"lon\": -39.8262, \"lat\": 21.4225, \"zone\": -3, "
                          "\"criterion\": \"odeh\", \"rows\": [\n  {\"month\": 1, \"tabular\": \"" +
                              IcuDateText(IcuIslamic::Civil, 1447, 1) + "\", \"umm_al_qura\": \"" +
                              IcuDateText(IcuIslamic::UmmAlQura, 1447, 1) + "\", ",
                          0),
              0u)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 14);
    EXPECT_TRUE(Contains(RunCli(Words("hijri --year 1700 --json")).out,
                         "\"umm_al_qura\": \"" + IcuDateText(IcuIslamic::Civil, 1700, 1) + "\""));
}

}  // namespace
}  // namespace zerin::test
