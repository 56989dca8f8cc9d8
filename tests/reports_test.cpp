// The bodies' reports beyond their golden bytes (outputs.txt): fields, stops, reductions, edges.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "../fuzz/ReportInvariants.h"
#include "TablesTestSupport.h"
#include "math/Angles.h"
#include "report/Commands.h"
#include "report/NumText.h"

namespace zerin::test {
namespace {

using robust::ReportInput;
using robust::RunReport;

// A body's command on the window's fields: the default place, a date and time.
struct BodyRun {
    RecordingMessenger messages;
    Report report;
    FieldTexts fields;
    bool east = false, north = true;
    Outcome outcome = Outcome::Written;

    explicit BodyRun(const std::string& when = "2005 6 17 12 0 0",
                     unsigned sinks = Report::kText | Report::kValues) {
        const std::vector<std::string> w = Words(when);
        FieldTexts& f = fields;
        f.TxtYear = w[0], f.TxtMonth = w[1], f.TxtDay = w[2], f.TxtHour = w[3], f.TxtMin = w[4],
        f.TxtSec = w[5];
        report.SetSinks(sinks);
    }
    BodyRun& Latitude(const char* degrees) {
        fields.TxtDegLat = degrees, fields.TxtMinLat = "0";
        return *this;
    }
    Outcome Press(Body body) {
        return outcome = RunBody(report, messages, fields, east, north, body);
    }
    // The Sun's command as RunBody runs it, keeping what the Sun's report computed.
    SunResult Sun(SunItems items = SunItems::All) {
        SunResult sun;
        AdjustDay(fields);
        outcome = Outcome::Refused;
        if (const std::optional<Observer> o = EnterObserver(messages, fields, east, north)) {
            Calcul_JJ(report, *o);
            outcome = Guarded(report, messages,
                              [&] { sun = Calcul_Soleil(report, *o, messages, items); });
        }
        return sun;
    }
    const std::string& text() const { return report.Str(); }
    std::vector<double> All(std::string_view name) const {
        std::vector<double> found;
        for (const ReportValue& v : report.Values())
            if (v.name == name) found.push_back(v.value);
        return found;
    }
    double First(std::string_view name) const {
        const std::vector<double> found = All(name);
        return found.empty() ? NAN : found.front();
    }
};

TEST(JulianDaySection, TheRefusedDateAndTheFieldsAsWritten) {
    // 4 October at noon is already past the last Julian day: refused, nothing written.
    const char* kGap =
        "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي "
        "للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ";
    const Reading<ClockReading> gap = ReadClock(BodyRun("1582 10 4 12 0 0").fields);
    ASSERT_FALSE(gap);
    EXPECT_EQ(gap.refused().arabic, kGap);
    EXPECT_FALSE(ObserverAt(Place{}, 0, 0, ClockOf(1582, 10, 14, 23, 59, 59)));
    EXPECT_TRUE(ObserverAt(Place{}, 0, 0, ClockOf(1582, 10, 15, 0, 0, 0)));
    BodyRun sun("1582 10 10 12 0 0");
    sun.Sun();
    EXPECT_EQ(sun.outcome, Outcome::Refused);
    ASSERT_EQ(sun.messages.messages.size(), 1u);
    EXPECT_EQ(sun.messages.messages[0].arabic, kGap);
    EXPECT_EQ(sun.text(), "");
    // Zone, summer time and place as written; the same instant from numbers, as the tables give it.
    BodyRun a("2005 6 17 12 30 0");
    a.fields.TxtZone = "-1", a.fields.TxtEteRegl = "1", a.east = true, a.north = false;
    const Reading<Observer> o = ReadObserver(a.fields, a.east, a.north);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->JJ, 2453538.9375);
    EXPECT_EQ(o->Lon, -(5 + 40.0 / 60));
    const Reading<Observer> numbers =
        ObserverAt(Place{o->Lon, o->Lat}, -1, 1, ClockOf(2005, 6, 17, 12, 30, 0));
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->JJ, o->JJ);
    EXPECT_EQ(numbers->T, o->T);
    Calcul_JJ(a.report, *o);
    for (const char* written : {"\r\n\r\n-5.66666666666667 = Lon ", "-32.9333333333333 = Lat ",
                                "Zone = -1\r\n", "EtéRegl = 1\r\n", "17.5208333333333 = J "})
        EXPECT_TRUE(Contains(a.text(), written)) << written;
    // Fields too large are refused by name; Zone - EtéRegl beyond 16 bits.
    EXPECT_FALSE(ReadClock(BodyRun("1e400 6 17 12 0 0").fields));
    BodyRun b;
    b.fields.TxtDegLon = "1.79e308", b.fields.TxtMinLon = "1e308";
    EXPECT_TRUE(Contains(ReadObserver(b.fields, false, true).refused().english, "longitude"));
    EXPECT_TRUE(Contains(ReadPlace(b.fields, false, true).refused().english, "longitude"));
    EXPECT_FALSE(ObserverAt(Place{}, 32767, -2, ClockOf(2005, 6, 17, 12, 0, 0)));
}

TEST(Sun, TheSkyOfNoonTheStopAtHighLatitudeAndTheTablesRoad) {
    BodyRun noon;
    const SunResult a = noon.Sun();
    EXPECT_EQ(noon.outcome, Outcome::Written);
    EXPECT_TRUE(noon.messages.messages.empty());
    EXPECT_NEAR(a.sky.Altitude, 79.14, 0.01);  // not the -34 of 0 h sidereal time
    EXPECT_NEAR(a.times.MIDI, 12 + 5.6667 / 15 + 0.015, 0.01);
    EXPECT_TRUE(a.times.complete);
    // The transit is that of the day, whatever the hour entered.
    EXPECT_NEAR(BodyRun("2005 6 17 6 0 0").Sun().times.MIDI,
                BodyRun("2005 6 17 18 0 0").Sun().times.MIDI, 0.002);
    // At 70 degrees the report ends after the transit, with its message; a rerun starts afresh.
    BodyRun seventy;
    const double MIDI = seventy.Latitude("70").Sun().times.MIDI;
    EXPECT_EQ(seventy.outcome, Outcome::Written);
    ASSERT_EQ(seventy.messages.messages.size(), 1u);
    EXPECT_EQ(seventy.messages.messages[0].arabic,
              "إذا كان مجموع ميل الشمس و زاوية الغسق أو الشفق مطروحاً من 90 جة مساوياً لعرض البلد "
              "فلن يكون هناك فجر أو عشاء\r\n"
              "و كلما إزداد عرض البلد إبتداءاً من حدود الدائرة القطبية بالعرض 66جة33ق إنعدم "
              "الشروق و الغروب ");
    EXPECT_TRUE(seventy.text().ends_with("MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = " +
                                         NumText(MIDI) + "\r\n\r\n" + std::string(kEndLine)));
    const std::string first = seventy.text();
    seventy.Sun();
    EXPECT_EQ(seventy.text(), first);
    // The tables' road: nothing after the diameter, no message; unreached times NaN.
    BodyRun report, table;
    report.Latitude("60").Sun();
    const SunTimes t = table.Latitude("60").Sun(SunItems::ThroughDiameter).times;
    EXPECT_EQ(table.outcome, Outcome::Written);
    EXPECT_TRUE(table.messages.messages.empty());
    EXPECT_TRUE(table.text().ends_with("Diam = 31.98766667 / R_soleil\r\n = " + NumText(t.Diam) +
                                       "\r\n\r\n" + std::string(kEndLine)));
    EXPECT_FALSE(t.complete);
    EXPECT_TRUE(std::isnan(t.Icha) && std::isnan(t.Fajr));
    for (const double time : {t.MIDI, t.Lever, t.Coucher, t.Asr1, t.Asr2})
        EXPECT_TRUE(Contains(report.text(), " = " + NumText(time) + "\r\n")) << time;
}

TEST(Moon, TheEquatorsLimitAndItsFaults) {
    // On the equator the topocentric declination takes its limit, joining the formula's.
    BodyRun equator("2012 11 3 18 45 0"), near("2012 11 3 18 45 0");
    equator.Latitude("0");
    near.Latitude("0").fields.TxtSecLat = "0.0001";
    ASSERT_EQ(equator.Press(Body::Moon), Outcome::Written);
    ASSERT_EQ(near.Press(Body::Moon), Outcome::Written);
    const auto last = [](const BodyRun& r, const char* name) { return r.All(name).back(); };
    EXPECT_EQ(last(equator, "Geo"), 0);
    EXPECT_EQ(last(equator, "TopoDec"),
              last(equator, "Dec") + last(equator, "Paralax") * last(equator, "DiCentre") *
                                         Cosine(last(equator, "Ha")) * Sine(last(equator, "Dec")));
    EXPECT_NEAR(last(equator, "TopoDec"), last(near, "TopoDec"), 1e-6);
    EXPECT_TRUE(Contains(equator.text(), "illum = ((1 + Cosine(FV)) / 2) * 100\r\n = "));
    // Called alone on a T far beyond any calendar: the cube of T overflows in the node.
    Report report;
    Observer far;
    far.T = 1e110;
    EXPECT_THROW(Calcul_Lune(report, far, 0), CalcError);
    EXPECT_EQ(report.Current(), "N");
}

// Elements reduced to one turn; the Sun of the planet's instant; 31 April; the float diameter.
TEST(Planets, ElementsTheirSunTheirDayAndTheirDiameter) {
    for (int b = static_cast<int>(Body::Mercury); b < kBodyCount; ++b)
        for (const char* year : {"-4000", "-2500", "1000", "3000", "6000"}) {
            BodyRun m(std::string(year) + " 3 1 12 0 0");
            ASSERT_EQ(m.Press(static_cast<Body>(b)), Outcome::Written);
            for (const char* element : {"L", "W", "N"})
                EXPECT_TRUE(m.First(element) >= 0 && m.First(element) <= 360)
                    << BodyName(static_cast<Body>(b)) << " " << year << " " << element;
        }
    BodyRun afterOtherSun("1990 1 1 6 0 0"), afterSameSun, withoutSun;
    ASSERT_EQ(afterOtherSun.Press(Body::Sun), Outcome::Written);
    ASSERT_EQ(afterSameSun.Press(Body::Sun), Outcome::Written);
    for (BodyRun* m : {&afterOtherSun, &afterSameSun, &withoutSun}) {
        m->fields.TxtYear = "2005", m->fields.TxtMonth = "6", m->fields.TxtDay = "17",
        m->fields.TxtHour = "12";
        ASSERT_EQ(m->Press(Body::Saturn), Outcome::Written);
        EXPECT_EQ(m->text(), Golden("report-saturn-2005-06-17-1200.txt"));
    }
    BodyRun april31("2005 4 31 12 0 0"), may1("2005 5 1 12 0 0"), venus, pluto;
    for (BodyRun* run : {&april31, &may1}) ASSERT_EQ(run->Press(Body::Mars), Outcome::Written);
    ASSERT_EQ(venus.Press(Body::Venus), Outcome::Written);
    ASSERT_EQ(pluto.Press(Body::Pluto), Outcome::Written);
    EXPECT_EQ(april31.First("T"), may1.First("T"));
    EXPECT_EQ(april31.All("L").back(), may1.All("L").back());
    EXPECT_EQ(venus.First("Diam"), 16.920000076293945 / venus.First("r_Pln_Erth"));
    EXPECT_NEAR(pluto.First("Diam"), 0.4 / 31.0, 0.002);
}

// Calcul_Planete alone: T = 1, the default place, the test's Sun; the longitude as written.
struct Reduction : BodyRun {
    Observer observer;
    double Long_Soleil = 100, R_soleil = 1;
    Reduction() {
        observer.T = 1, observer.JJ = 2415020 + 36525, observer.Lon = 5.5, observer.Lat = 33;
    }
    std::string Planete(double L, double a, double e, double i, double W, double N) {
        report.Clear();
        return report.Num(
            Calcul_Planete(report, observer, Long_Soleil, R_soleil, {L, a, e, i, W, N}, 10.0f).L);
    }
};

TEST(Planets, TheReductionAtItsEdges) {
    // The mean anomaly at the perihelion (L equal to W + N: no turn added), and just before.
    Reduction r;
    const double W = 60, N = 40;
    r.Planete(W + N, 1.5, 0.1, 2, W, N);
    EXPECT_EQ(r.First("m") + r.First("EE") + r.First("V"), 0);
    r.Planete((W + N) - 1e-9, 1.5, 0.1, 2, W, N);
    EXPECT_EQ(r.First("m"), -1e-9 + 360);
    EXPECT_TRUE(r.First("m") > 359.99999 && r.First("m") < 360);
    // At m = 180 both rules for U agree exactly; these elements tell which one was taken.
    const double W2 = 59.96, N2 = 30.48, L = W2 + N2 + 180;
    r.Planete(L, 1.5, 0.1, 2, W2, N2);
    ASSERT_EQ(r.First("m"), 180);
    ASSERT_EQ(r.First("V"), 180);
    ASSERT_NE(Angle_360_Deg((L + 180) - 180 - N2), Angle_360_Deg((L + 360) - 180 - 180 - N2));
    EXPECT_EQ(r.First("U"), Angle_360_Deg((L + 360) - 180 - 180 - N2));
    // A planet at a right angle to the Sun (X = 0): the relative longitude keeps its own.
    Reduction x;
    x.Planete(80, 2, 0.05, 10, 30, 50);
    const double heliocentric = x.All("L").at(0);
    ASSERT_EQ(Cosine(180), -1);
    x.Long_Soleil = heliocentric + 180;                   // G = 180
    x.R_soleil = x.First("R_Pt") * Cosine(x.First("b"));  // X = -R_Pt Cosine(b) + R_soleil = 0
    const std::string returned = x.Planete(80, 2, 0.05, 10, 30, 50);
    ASSERT_EQ(x.First("G"), 180);
    const double geocentric = Angle_360_Deg(heliocentric + x.Long_Soleil);
    EXPECT_EQ(x.All("L"), (std::vector<double>{heliocentric, heliocentric, geocentric}));
    EXPECT_EQ(returned, x.report.Num(geocentric));
    EXPECT_TRUE(Contains(x.text(), "L = L + Long_Soleil = " + returned + "\r\n\r\n"));
}

// A year far outside the theories: eccentricity beyond 1, the true anomaly named, report kept.
TEST(Planets, AbsurdYearStopsWithAMessageAndKeepsThePartialReport) {
    BodyRun m("1e300 1 1 12 0 0");
    EXPECT_EQ(m.Press(Body::Pluto), Outcome::Fault);
    ASSERT_EQ(m.messages.messages.size(), 1u);
    EXPECT_TRUE(Contains(m.messages.messages[0].english, "could not compute L"));
}

// An edge as the options of `zerin report` that set it, read as the command line reads them.
ReportInput At(Body body, const std::string& options) {
    ReportInput in = robust::ReferenceInput(body);
    services::FieldOptions read{in.fields, in.east, in.north};
    const std::vector<std::string> args = Words(options);
    std::string error;
    for (std::size_t k = 0; k < args.size(); ++k)
        EXPECT_TRUE(cli::TakeFieldOption(args, k, read, error) && error.empty()) << args[k];
    in.fields = read.fields, in.east = read.east, in.north = read.north;
    return in;
}

// Each edge gives the same report on both roads; at the poles the altitude is the declination.
TEST(Edges, EveryEdgeGivesAReportThroughEveryBodyOnBothRoads) {
    setenv("LC_ALL", "C", 1);
    const robust::InvariantChecker checker;
    // clang-format off
    const std::pair<const char*, const char*> kEdges[] = {
        {"latitude 90 N", "--lat-deg=90 --lat-min=0"}, {"latitude 90 S", "--lat-deg=90 --lat-min=0 --south"},
        {"longitude 180 W", "--lon-deg=180 --lon-min=0"}, {"longitude 180 E", "--lon-deg=180 --lon-min=0 --east"},
        {"year 1", "--year=1 --month=1"}, {"year 9999", "--year=9999 --month=12"}, {"month 0", "--month=0"},
        {"month 13", "--month=13"}, {"day 0", "--day=0"}, {"day 40", "--day=40"}};
    // clang-format on
    for (const auto& [name, options] : kEdges) {
        const bool pole = std::string(name).starts_with("latitude");
        for (int b = 0; b < kBodyCount; ++b) {
            const Body body = static_cast<Body>(b);
            SCOPED_TRACE(std::string(name) + ", " + BodyName(body));
            const ReportInput in = At(body, options);
            BodyRun windows;
            windows.fields = in.fields, windows.east = in.east, windows.north = in.north;
            EXPECT_EQ(windows.Press(body), Outcome::Written);
            const robust::ReportRun cli = RunReport(in);
            EXPECT_EQ(cli.status, 0);
            EXPECT_EQ(checker.Check(body, cli), "");
            EXPECT_EQ(cli.out, windows.text());
            const bool polarStop = body == Body::Sun && pole;
            EXPECT_EQ(windows.messages.messages.size(), polarStop ? 1u : 0u);
            EXPECT_EQ(cli.err.empty(), !polarStop);
            if (pole) {
                EXPECT_NEAR(windows.All("Altitude").back(),
                            (std::string(name).ends_with("N") ? 1 : -1) * windows.All("Dec").back(),
                            1e-9);
            }
            if (polarStop) {
                EXPECT_TRUE(Contains(cli.out, "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = "));
                EXPECT_FALSE(Contains(cli.out, "Duirn = "));
                EXPECT_TRUE(cli.out.ends_with(kEndLine));
                EXPECT_TRUE(Contains(windows.messages.messages[0].arabic, "إنعدم الشروق و الغروب"));
            }
        }
    }
}

TEST(Edges, Longitude180AndDaysThatCarryOver) {
    // Longitude 180 East and West: local sidereal times a whole day apart, the same sky.
    for (int b = 0; b < kBodyCount; ++b) {
        SCOPED_TRACE(BodyName(static_cast<Body>(b)));
        BodyRun west, east;
        const ReportInput w = At(static_cast<Body>(b), "--lon-deg=180 --lon-min=0"),
                          e = At(static_cast<Body>(b), "--lon-deg=180 --lon-min=0 --east");
        west.fields = w.fields, east.fields = e.fields, east.east = true;
        west.Press(static_cast<Body>(b));
        east.Press(static_cast<Body>(b));
        EXPECT_EQ(west.First("Lon"), 180);
        EXPECT_EQ(east.First("Lon"), -180);
        EXPECT_NEAR(east.All("TS_Loc").back() - west.All("TS_Loc").back(), 24, 1e-12);
        for (const char* name : {"Ha", "Azimut", "Altitude"})
            EXPECT_NEAR(east.All(name).back(), west.All(name).back(), 1e-9) << name;
    }
    // From T on, the date the typed one lands on; only the Sun limits the day to the month.
    const auto fromT = [](const std::string& report) {
        const std::size_t t = report.find("T = (JJ - 2415020) / 36525 = ");
        return t == std::string::npos ? "(no T)" : report.substr(t);
    };
    // clang-format off
    const char* const kCases[][3] = {{"2005 13 17", "2006 1 17", "2006 1 17"}, {"2005 0 17", "2004 12 15", "2004 12 15"},
                                     {"2005 6 0", "2005 5 31", "2005 5 31"}, {"2005 6 40", "2005 7 10", "2005 6 30"}};
    // clang-format on
    for (const auto& [typed, landed, sun] : kCases)
        for (int b = 0; b < kBodyCount; ++b) {
            const Body body = static_cast<Body>(b);
            const auto date = [body](const std::string& ymd) {
                const std::vector<std::string> d = Words(ymd);
                return At(body, "--year=" + d[0] + " --month=" + d[1] + " --day=" + d[2]);
            };
            const robust::ReportRun run = RunReport(date(typed));
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(fromT(run.out), fromT(RunReport(date(body == Body::Sun ? sun : landed)).out))
                << typed << ", " << BodyName(body);
        }
}

}  // namespace
}  // namespace zerin::test
