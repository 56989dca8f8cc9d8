// The Julian-day section and the Sun's command: the refused date and its message, the
// place and zone as written, the sky at noon, the high-latitude stop of the report and
// the timetables' way of taking each time on its own.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "report/Commands.h"
#include "report/NumText.h"

namespace zerin::test {
namespace {

struct SunRun {
    RecordingMessenger messages;
    Report report;
    FieldTexts fields;
    bool east = false, north = true;
    Outcome outcome = Outcome::Written;
    SunResult sun;

    SunRun(const char* year, const char* month, const char* day, const char* hour = "12",
           const char* minute = "0") {
        FieldTexts& f = fields;
        f.TxtYear = year, f.TxtMonth = month, f.TxtDay = day, f.TxtHour = hour, f.TxtMin = minute;
        f.TxtSec = "0";
    }
    SunRun& Latitude(const char* degrees) {
        fields.TxtDegLat = degrees, fields.TxtMinLat = "0";
        return *this;
    }
    // The Sun's command as RunBody runs it, keeping what the Sun's report computed.
    SunRun& Sun(SunItems items = SunItems::All) {
        AdjustDay(fields);
        const std::optional<Observer> o = EnterObserver(messages, fields, east, north);
        outcome = Outcome::Refused;
        if (!o) return *this;
        Calcul_JJ(report, *o);
        outcome =
            Guarded(report, messages, [&] { sun = Calcul_Soleil(report, *o, messages, items); });
        return *this;
    }
    Reading<Observer> Read() const { return ReadObserver(fields, east, north); }
    const std::string& text() const { return report.Str(); }
    // The report from the last occurrence of `from` on.
    std::string Tail(const std::string& from) const {
        const auto k = text().rfind(from);
        return k == std::string::npos ? "" : text().substr(k);
    }
};

TEST(JulianDaySection, DateInTheGregorianGapIsRefused) {
    // 4 October at noon is already past the last Julian day: refused.
    const char* kGap =
        "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي "
        "للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ";
    const Reading<ClockReading> gap = ReadClock(SunRun("1582", "10", "4", "12").fields);
    ASSERT_FALSE(gap);
    EXPECT_EQ(gap.refused().arabic, kGap);
    EXPECT_EQ(SunRun("1582", "10", "4", "12").Read().refused().arabic, kGap);
    EXPECT_FALSE(ObserverAt(Place{}, 0, 0, ClockOf(1582, 10, 14, 23, 59, 59)));
    EXPECT_TRUE(ObserverAt(Place{}, 0, 0, ClockOf(1582, 10, 15, 0, 0, 0)));

    SunRun sun("1582", "10", "10");
    EXPECT_EQ(sun.Sun().outcome, Outcome::Refused);
    ASSERT_EQ(sun.messages.messages.size(), 1u);
    EXPECT_EQ(sun.messages.messages[0].arabic, kGap);
    EXPECT_EQ(sun.text(), "");  // nothing computed, nothing written
}

TEST(JulianDaySection, ZoneSummerTimeAndPlaceAsWritten) {
    SunRun a("2005", "6", "17", "12", "30");
    a.fields.TxtZone = "-1", a.fields.TxtEteRegl = "1";
    a.east = true, a.north = false;
    const Reading<Observer> o = a.Read();
    ASSERT_TRUE(o);
    EXPECT_EQ(o->JJ, 2453538.9375);
    EXPECT_EQ(o->Lon, -(5 + 40.0 / 60));
    // The same instant from numbers, as the tables give it.
    const Reading<Observer> numbers =
        ObserverAt(Place{o->Lon, o->Lat}, -1, 1, ClockOf(2005, 6, 17, 12, 30, 0));
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->JJ, o->JJ);
    EXPECT_EQ(numbers->T, o->T);
    Calcul_JJ(a.report, *o);
    for (const char* written : {"\r\n\r\n-5.66666666666667 = Lon ", "-32.9333333333333 = Lat ",
                                "Zone = -1\r\n", "EtéRegl = 1\r\n", "17.5208333333333 = J "})
        EXPECT_TRUE(Contains(a.text(), written)) << written;
}

TEST(JulianDaySection, OverflowingFieldsAreRefused) {
    EXPECT_FALSE(ReadClock(SunRun("1e400", "6", "17").fields));
    SunRun b("2005", "6", "17");
    b.fields.TxtDegLon = "1.79e308", b.fields.TxtMinLon = "1e308";
    const Reading<Observer> read = b.Read();
    ASSERT_FALSE(read);
    EXPECT_TRUE(Contains(read.refused().english, "longitude"));
    EXPECT_TRUE(Contains(ReadPlace(b.fields, false, true).refused().english, "longitude"));
    // Zone - EtéRegl beyond 16 bits.
    EXPECT_FALSE(ObserverAt(Place{}, 32767, -2, ClockOf(2005, 6, 17, 12, 0, 0)));
}

TEST(Sun, TheSkyOfNoonInJune) {
    SunRun a("2005", "6", "17");
    a.Sun();
    EXPECT_EQ(a.outcome, Outcome::Written);
    EXPECT_TRUE(a.messages.messages.empty());
    EXPECT_NEAR(a.sun.sky.Altitude, 79.14, 0.01);  // not the -34 of 0 h sidereal time
    EXPECT_NEAR(a.sun.times.MIDI, 12 + 5.6667 / 15 + 0.015, 0.01);
    EXPECT_TRUE(a.sun.times.complete);

    // The transit is that of the day, whatever the hour entered.
    SunRun morning("2005", "6", "17", "6"), evening("2005", "6", "17", "18");
    EXPECT_NEAR(morning.Sun().sun.times.MIDI, evening.Sun().sun.times.MIDI, 0.002);
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
    EXPECT_EQ(seventy.Tail("MIDI = "),
              "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = " + NumText(seventy.sun.times.MIDI) +
                  "\r\n\r\n" + std::string(kEndLine));

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
    table.Latitude("60").Sun(SunItems::ThroughDiameter);
    EXPECT_EQ(table.outcome, Outcome::Written);
    EXPECT_TRUE(table.messages.messages.empty());
    EXPECT_TRUE(table.text().ends_with(
        "Diam = 31.98766667 / R_soleil\r\n = " + NumText(table.sun.times.Diam) + "\r\n\r\n" +
        std::string(kEndLine)));
    const SunTimes& t = table.sun.times;
    EXPECT_FALSE(t.complete);
    EXPECT_TRUE(std::isnan(t.Icha));
    EXPECT_TRUE(std::isnan(t.Fajr));
    for (const double time : {t.MIDI, t.Lever, t.Coucher, t.Asr1, t.Asr2})
        EXPECT_TRUE(Contains(report.text(), " = " + NumText(time) + "\r\n")) << time;
}

}  // namespace
}  // namespace zerin::test
