// The date the crescent map opens on: the first evening after the conjunction nearest the
// main window's date at the window's place (the last morning before it for the old
// crescent), never an evening before the conjunction.
#include <gtest/gtest.h>

#include <cmath>

#include "crescent/CrescentMap.h"
#include "time/JulianDay.h"

namespace zerin::test {
namespace {

struct EveningCase {
    const char* name;
    int year, month, day;
    double eastLongitude;
    bool morning;
    int wantYear, wantMonth, wantDay;
};

// New moons (USNO, Phases of the Moon 2025): 28 February 00:45 UT, 29 March 10:58 UT,
// 27 April 19:31 UT. An evening is 18 h and a morning 6 h of the place's mean time.
const EveningCase kEvenings[] = {
    {"the conjunction's own evening at Greenwich", 2025, 3, 20, 0, false, 2025, 3, 29},
    {"after the evening at Greenwich: the next one", 2025, 4, 20, 0, false, 2025, 4, 28},
    {"a place far West sees its evening after it", 2025, 4, 20, -120, false, 2025, 4, 27},
    {"Mecca's evening comes before it", 2025, 4, 20, 39.83, false, 2025, 4, 28},
    {"the date nearer the earlier conjunction", 2025, 3, 14, 0, false, 2025, 2, 28},
    {"a date after the conjunction goes back to it", 2025, 4, 2, 0, false, 2025, 3, 29},
    {"the last morning before it", 2025, 3, 20, 0, true, 2025, 3, 29},
    {"the morning of the conjunction's day comes before it", 2025, 4, 20, 0, true, 2025, 4, 27},
    {"a morning far East is already past it", 2025, 3, 20, 150, true, 2025, 3, 29},
    {"a morning far West comes after it", 2025, 3, 20, -120, true, 2025, 3, 28},
};

TEST(CrescentMapDate, TheFirstEveningAfterTheNearestConjunction) {
    for (const EveningCase& c : kEvenings) {
        double conjunction = 0;
        const MapDate d = FirstEveningAfterConjunction(c.year, c.month, c.day, c.eastLongitude,
                                                       c.morning, &conjunction);
        EXPECT_EQ(d.year, c.wantYear) << c.name;
        EXPECT_EQ(d.month, c.wantMonth) << c.name;
        EXPECT_EQ(d.day, c.wantDay) << c.name;
        // The evening (morning) at the place lies after (before) the conjunction, and the one
        // a day earlier (later) does not.
        const double hour = c.morning ? 0.25 : 0.75;
        const double local = JulianDay(d.year, d.month, d.day) + hour - c.eastLongitude / 360;
        if (c.morning) {
            EXPECT_LT(local, conjunction) << c.name;
            EXPECT_GE(local + 1, conjunction) << c.name;
        } else {
            EXPECT_GT(local, conjunction) << c.name;
            EXPECT_LE(local - 1, conjunction) << c.name;
        }
    }
}

TEST(CrescentMapDate, TheConjunctionIsThePublishedNewMoon) {
    const std::pair<int, double> published[] = {
        {20, 2460763.5 + (10 + 58.0 / 60) / 24},  // 2025-03-29 10:58 UT
        {14, 2460734.5 + (0 + 45.0 / 60) / 24},   // 2025-02-28 00:45 UT
    };
    for (const auto& [day, when] : published) {
        double conjunction = 0;
        FirstEveningAfterConjunction(2025, 3, day, 0, false, &conjunction);
        EXPECT_NEAR(conjunction, when, 10.0 / 1440) << day;  // within ten minutes
    }
}

}  // namespace
}  // namespace zerin::test
