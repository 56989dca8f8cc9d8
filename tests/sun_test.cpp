// The Julian-day section and the Sun's command: the refused date and its message, the
// place and zone as written, the sky at noon, the high-latitude stop of the report and
// the timetables' way of taking each time on its own.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "report/Commands.h"
#include "report/ModCalcule.h"
#include "report/NumText.h"

namespace zerin::test {
namespace {

struct SunRun {
    RecordingMessenger messages;
    ModCalcule calc{messages};
    Outcome outcome = Outcome::Written;

    SunRun(const char* year, const char* month, const char* day, const char* hour = "12",
           const char* minute = "0") {
        FieldTexts& f = calc.fields;
        f.TxtYear = year, f.TxtMonth = month, f.TxtDay = day, f.TxtHour = hour, f.TxtMin = minute;
        f.TxtSec = "0";
    }
    SunRun& Latitude(const char* degrees) {
        calc.fields.TxtDegLat = degrees, calc.fields.TxtMinLat = "0";
        return *this;
    }
    SunRun& Sun() {
        outcome = RunBody(calc, Body::Sun);
        return *this;
    }
    SunRun& JulianDay() {
        calc.Zone = ReadInt16(calc.fields.TxtZone, "", "zone");
        calc.EteRegl = ReadInt16(calc.fields.TxtEteRegl, "", "summer");
        calc.Calcul_JJ();
        return *this;
    }
    const std::string& text() const { return calc.report.Str(); }
    // The report from the last occurrence of `from` on.
    std::string Tail(const std::string& from) const {
        const auto k = text().rfind(from);
        return k == std::string::npos ? "" : text().substr(k);
    }
};

TEST(JulianDaySection, DateInTheGregorianGapIsRefused) {
    // 4 October at noon is already past the last Julian day: refused, JJ and T kept.
    SunRun gap("1582", "10", "4", "12");
    gap.calc.JJ = 77, gap.calc.T = 88;
    EXPECT_THROW(gap.JulianDay(), InputError);
    EXPECT_EQ(gap.calc.JJ, 77);
    EXPECT_EQ(gap.calc.T, 88);
    EXPECT_TRUE(gap.text().ends_with(" Fix \r\n\r\n\r\n"));  // the items up to Retard

    SunRun sun("1582", "10", "10");
    EXPECT_EQ(sun.Sun().outcome, Outcome::Refused);
    ASSERT_EQ(sun.messages.messages.size(), 1u);
    EXPECT_EQ(sun.messages.messages[0].arabic,
              "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي "
              "للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ");
}

TEST(JulianDaySection, ZoneSummerTimeAndPlaceAsWritten) {
    SunRun a("2005", "6", "17", "12", "30");
    a.calc.fields.TxtZone = "-1", a.calc.fields.TxtEteRegl = "1";
    a.calc.IsEast = true, a.calc.IsNorth = false;
    a.JulianDay();
    EXPECT_EQ(a.calc.JJ, 2453538.9375);
    EXPECT_EQ(a.calc.Lon, -(5 + 40.0 / 60));
    for (const char* written : {"\r\n\r\n-5.66666666666667 = Lon ", "-32.9333333333333 = Lat ",
                                "Zone = -1\r\n", "EtéRegl = 1\r\n", "17.5208333333333 = J "})
        EXPECT_TRUE(Contains(a.text(), written)) << written;
}

TEST(JulianDaySection, OverflowingFieldsAreRefused) {
    SunRun a("1e400", "6", "17");
    EXPECT_THROW(a.JulianDay(), InputError);
    SunRun b("2005", "6", "17");
    b.calc.fields.TxtDegLon = "1.79e308", b.calc.fields.TxtMinLon = "1e308";
    try {
        b.JulianDay();
        FAIL();
    } catch (const InputError& e) {
        EXPECT_TRUE(Contains(e.message().english, "longitude"));
    }
    SunRun c("2005", "6", "17");
    c.calc.Zone = 32767, c.calc.EteRegl = -2;
    EXPECT_THROW(c.calc.Calcul_JJ(), InputError);  // Zone - EtéRegl beyond 16 bits
}

TEST(Sun, TheSkyOfNoonInJune) {
    SunRun a("2005", "6", "17");
    a.Sun();
    EXPECT_EQ(a.outcome, Outcome::Written);
    EXPECT_TRUE(a.messages.messages.empty());
    EXPECT_NEAR(a.calc.sunSky.Altitude, 79.14, 0.01);  // not the -34 of 0 h sidereal time
    EXPECT_NEAR(a.calc.sunTimes.MIDI, 12 + 5.6667 / 15 + 0.015, 0.01);
    EXPECT_TRUE(a.calc.sunTimes.complete);

    // The transit is that of the day, whatever the hour entered.
    SunRun morning("2005", "6", "17", "6"), evening("2005", "6", "17", "18");
    EXPECT_NEAR(morning.Sun().calc.sunTimes.MIDI, evening.Sun().calc.sunTimes.MIDI, 0.002);
}

TEST(Sun, HighLatitudeStopsTheReportCleanly) {
    SunRun seventy("2005", "6", "17");
    seventy.Latitude("70").Sun();
    EXPECT_EQ(seventy.outcome, Outcome::Written);
    ASSERT_EQ(seventy.messages.messages.size(), 1u);
    EXPECT_EQ(seventy.messages.messages[0].arabic,
              "إذا كان مجموع ميل الشمس و زاوية الغسق أو الشفق مطروحاً من 90 جة مساوياً لعرض البلد "
              "فلن يكون هناك فجر أو عشاء\r\n"
              "و كلما إزداد عرض البلد إبتداءاً من حدود الدائرة القطبية بالعرض 66جة33ق إنعدم "
              "الشروق و الغروب ");
    EXPECT_EQ(seventy.Tail("MIDI = "), "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = " +
                                           NumText(seventy.calc.sunTimes.MIDI) + "\r\n\r\n" +
                                           std::string(kEndLine));

    // Two computations in a row: the second report starts afresh.
    const std::string first = seventy.text();
    seventy.Sun();
    EXPECT_EQ(seventy.text(), first);
}

// The timetables' road: no item after the diameter and no message; a time the Sun does
// not reach is NaN and the others are those the report shows.
TEST(Sun, TimetablesTakeEachTimeOnItsOwn) {
    SunRun report("2005", "6", "17"), table("2005", "6", "17");
    report.Latitude("60").Sun();
    table.calc.sunTimesEach = true;
    table.Latitude("60").Sun();
    EXPECT_EQ(table.outcome, Outcome::Written);
    EXPECT_TRUE(table.messages.messages.empty());
    EXPECT_TRUE(table.text().ends_with(
        "Diam = 31.98766667 / R_soleil\r\n = " + NumText(table.calc.sunTimes.Diam) + "\r\n\r\n" +
        std::string(kEndLine)));
    const SunTimes& t = table.calc.sunTimes;
    EXPECT_FALSE(t.complete);
    EXPECT_TRUE(std::isnan(t.Icha));
    EXPECT_TRUE(std::isnan(t.Fajr));
    for (const double time : {t.MIDI, t.Lever, t.Coucher, t.Asr1, t.Asr2})
        EXPECT_TRUE(Contains(report.text(), " = " + NumText(time) + "\r\n")) << time;
}

}  // namespace
}  // namespace zerin::test
