// The Julian-day section and the Sun: the values the theory states, the branch edges,
// the high-latitude stop and its message.
#include <gtest/gtest.h>

#include "Commands.h"
#include "ModCalcule.h"
#include "NumText.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

struct SunRun {
    RecordingMessenger messages;
    ModCalcule calc{messages};
    Outcome outcome = Outcome::Written;

    SunRun(const std::string& year, const std::string& month, const std::string& day,
        const std::string& hour = "12", const std::string& minute = "0") {
        calc.fields.TxtYear = year;
        calc.fields.TxtMonth = month;
        calc.fields.TxtDay = day;
        calc.fields.TxtHour = hour;
        calc.fields.TxtMin = minute;
        calc.fields.TxtSec = "0";
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
};

TEST(JulianDay, StatedDates) {
    SunRun a("2005", "6", "17");
    a.JulianDay();
    EXPECT_EQ(a.calc.JJ, 2453539);
    EXPECT_EQ(NumText(a.calc.T), "1.05459274469541");
    EXPECT_NE(a.text().find("17.5 = J "), std::string::npos);
    EXPECT_NE(a.text().find(" = -13\r\n"), std::string::npos);  // Retard

    SunRun b("2000", "1", "1");
    b.JulianDay();
    EXPECT_EQ(b.calc.JJ, 2451545);
    EXPECT_EQ(b.calc.T, 1);

    SunRun c("-4712", "1", "1");
    c.JulianDay();
    EXPECT_EQ(c.calc.JJ, 1);  // Fix truncates toward zero
}

TEST(JulianDay, GregorianReform) {
    SunRun julian("1582", "10", "4", "0");
    julian.JulianDay();
    EXPECT_EQ(julian.calc.JJ, 2299159.5);

    SunRun gregorian("1582", "10", "15", "0");
    gregorian.JulianDay();
    EXPECT_EQ(gregorian.calc.JJ, 2299160.5);

    // 4 October at noon is already past the last Julian day: refused, JJ and T kept.
    SunRun gap("1582", "10", "4", "12");
    gap.calc.JJ = 77;
    gap.calc.T = 88;
    EXPECT_THROW(gap.JulianDay(), InputError);
    EXPECT_EQ(gap.calc.JJ, 77);
    EXPECT_EQ(gap.calc.T, 88);

    SunRun sun("1582", "10", "10");
    EXPECT_EQ(sun.Sun().outcome, Outcome::Refused);
    ASSERT_EQ(sun.messages.messages.size(), 1u);
    EXPECT_EQ(sun.messages.messages[0].arabic,
              "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي "
              "للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ");
}

TEST(JulianDay, ZoneAndSummerTime) {
    SunRun a("2005", "6", "17", "12", "30");
    a.calc.fields.TxtZone = "-1";
    a.calc.fields.TxtEteRegl = "1";
    a.JulianDay();
    EXPECT_EQ(a.calc.JJ, 2453538.9375);
    EXPECT_NE(a.text().find("Zone = -1\r\n"), std::string::npos);
    EXPECT_NE(a.text().find("EtéRegl = 1\r\n"), std::string::npos);
}

TEST(JulianDay, PlaceAndMonthShift) {
    SunRun west("2005", "6", "17");
    west.JulianDay();
    EXPECT_NE(west.text().find("\r\n\r\n5.66666666666667 = Lon "), std::string::npos);
    EXPECT_NE(west.text().find("32.9333333333333 = Lat "), std::string::npos);

    SunRun east("2005", "6", "17");
    east.calc.IsEast = true;
    east.calc.IsNorth = false;
    east.JulianDay();
    EXPECT_EQ(east.calc.Lon, -(5 + 40.0 / 60));
    EXPECT_NE(east.text().find("-5.66666666666667 = Lon "), std::string::npos);
    EXPECT_NE(east.text().find("-32.9333333333333 = Lat "), std::string::npos);

    // Only months exactly 1 and 2 move to the previous year.
    SunRun half("2005", "2.5", "1");
    half.JulianDay();
    SunRun march("2005", "3", "1");
    march.JulianDay();
    EXPECT_GT(half.calc.JJ, march.calc.JJ - 31);
}

TEST(JulianDay, OverflowingFieldsAreRefused) {
    SunRun a("1e400", "6", "17");
    EXPECT_THROW(a.JulianDay(), InputError);
    SunRun b("2005", "6", "17");
    b.calc.fields.TxtDegLon = "1.79e308";
    b.calc.fields.TxtMinLon = "1e308";
    b.calc.fields.TxtSecLon = "0";
    try {
        b.JulianDay();
        FAIL();
    } catch (const InputError& e) {
        EXPECT_NE(e.message().english.find("longitude"), std::string::npos);
    }
    SunRun c("2005", "6", "17");
    c.calc.Zone = 32767;
    c.calc.EteRegl = -2;
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
    EXPECT_EQ(a.calc.Long_Soleil, a.calc.sun.Lg_Soleil);
    EXPECT_EQ(a.calc.R_soleil, a.calc.sun.R_soleil);
    EXPECT_EQ(a.calc.e_Soleil, a.calc.sun.e);
}

TEST(Sun, TransitDoesNotDependOnTheHourEntered) {
    SunRun morning("2005", "6", "17", "6");
    SunRun evening("2005", "6", "17", "18");
    morning.Sun();
    evening.Sun();
    EXPECT_NEAR(morning.calc.sunTimes.MIDI, evening.calc.sunTimes.MIDI, 0.002);
}

std::string Tail(const std::string& text, const std::string& from) {
    const auto k = text.rfind(from);
    return k == std::string::npos ? "" : text.substr(k);
}

TEST(Sun, HighLatitudeStopsCleanly) {
    SunRun sixty("2005", "6", "17");
    sixty.calc.fields.TxtDegLat = "60";
    sixty.calc.fields.TxtMinLat = "0";
    sixty.Sun();
    EXPECT_EQ(sixty.outcome, Outcome::Written);
    ASSERT_EQ(sixty.messages.messages.size(), 1u);
    EXPECT_EQ(sixty.messages.messages[0].arabic,
              "إذا كان مجموع ميل الشمس و زاوية الغسق أو الشفق مطروحاً من 90 جة مساوياً لعرض البلد "
              "فلن يكون هناك فجر أو عشاء\r\n"
              "و كلما إزداد عرض البلد إبتداءاً من حدود الدائرة القطبية بالعرض 66جة33ق إنعدم "
              "الشروق و الغروب ");
    const std::string tail = Tail(sixty.text(), "Asr2 = MIDI + Fadl");
    ASSERT_FALSE(tail.empty());
    EXPECT_EQ(tail, "Asr2 = MIDI + Fadl\r\n = " + NumText(sixty.calc.sunTimes.Asr2) +
                        "\r\n\r\n **إنتهى**                        \r\n\r\n");

    SunRun seventy("2005", "6", "17");
    seventy.calc.fields.TxtDegLat = "70";
    seventy.Sun();
    EXPECT_EQ(seventy.messages.messages.size(), 1u);
    EXPECT_EQ(Tail(seventy.text(), "MIDI = "),
              "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = " +
                  NumText(seventy.calc.sunTimes.MIDI) +
                  "\r\n\r\n **إنتهى**                        \r\n\r\n");
    EXPECT_EQ(seventy.text().find("Duirn = ("), std::string::npos);
}

TEST(Sun, SecondComputationStartsAfresh) {
    SunRun a("2005", "6", "17");
    a.Sun();
    const std::string first = a.text();
    a.Sun();
    EXPECT_EQ(a.text(), first);
    EXPECT_EQ(a.text().find("******************* حساب التقويم"), 0u);
}

TEST(Sun, GoldenBefore1900SouthEast) {
    // Before 21 September 1899 the sidereal polynomial in revolutions is negative.
    SunRun a("1850", "1", "5", "3", "20");
    a.calc.fields.TxtDegLon = "151";
    a.calc.fields.TxtMinLon = "12";
    a.calc.fields.TxtDegLat = "33";
    a.calc.fields.TxtMinLat = "52";
    a.calc.fields.TxtZone = "-10";
    a.calc.IsEast = true;
    a.calc.IsNorth = false;
    a.Sun();
    EXPECT_EQ(a.outcome, Outcome::Written);
    EXPECT_EQ(a.text(), Golden("report-sun-1850-01-05-0320-sydney.txt"));
}

TEST(Sun, GoldenHighLatitudeStop) {
    SunRun a("2005", "6", "17");
    a.calc.fields.TxtDegLat = "60";
    a.calc.fields.TxtMinLat = "0";
    a.Sun();
    EXPECT_EQ(a.text(), Golden("report-sun-2005-06-17-1200-lat60.txt"));
}

}  // namespace
}  // namespace zerin::test
