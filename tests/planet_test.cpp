// The planets' commands: the elements within one turn far from 1900, the edges of the
// reduction to the geocentric place, the Sun's values taken at the planet's own instant,
// faults and limits. The whole reports are golden files (golden_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "math/Angles.h"
#include "report/Commands.h"

namespace zerin::test {
namespace {

const Body kPlanets[] = {Body::Mercury, Body::Venus,  Body::Mars,    Body::Jupiter,
                         Body::Saturn,  Body::Uranus, Body::Neptune, Body::Pluto};

// A report with its own messenger, both sinks on, the default place.
struct Module {
    RecordingMessenger messages;
    Report report;
    FieldTexts fields;
    Module() { report.SetSinks(Report::kText | Report::kValues); }

    Outcome Run(Body body, const char* year, const char* month, const char* day,
                const char* hour = "12", const char* minute = "0") {
        FieldTexts& f = fields;
        f.TxtYear = year, f.TxtMonth = month, f.TxtDay = day, f.TxtHour = hour, f.TxtMin = minute;
        f.TxtSec = "0";
        return RunBody(report, messages, fields, false, true, body);
    }
    // Every value recorded under the name, in report order.
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

// The mean longitude, the perihelion and the node are reduced into one turn, also where
// their polynomials leave it (Mercury's node is negative before the year -2100).
TEST(PlanetElements, WithinOneTurnFarFrom1900) {
    for (const Body body : kPlanets) {
        for (const char* year : {"-4000", "-2500", "1000", "3000", "6000"}) {
            SCOPED_TRACE(std::string(BodyName(body)) + " " + year);
            Module m;
            ASSERT_EQ(m.Run(body, year, "3", "1"), Outcome::Written);
            for (const char* element : {"L", "W", "N"}) {
                EXPECT_GE(m.First(element), 0) << element;
                EXPECT_LE(m.First(element), 360) << element;
            }
        }
    }
}

// The Sun's longitude and distance are those of the planet's own instant, whatever Sun
// command ran before, if any. Like the planet buttons, the command takes the day as given:
// 31 April is 1 May.
TEST(PlanetReport, UsesTheSunOfItsOwnInstantAndTheDayAsGiven) {
    Module afterOtherSun, afterSameSun, withoutSun, april31, may1;
    ASSERT_EQ(afterOtherSun.Run(Body::Sun, "1990", "1", "1", "6"), Outcome::Written);
    ASSERT_EQ(afterSameSun.Run(Body::Sun, "2005", "6", "17"), Outcome::Written);
    for (Module* m : {&afterOtherSun, &afterSameSun, &withoutSun}) {
        ASSERT_EQ(m->Run(Body::Saturn, "2005", "6", "17"), Outcome::Written);
        EXPECT_EQ(m->report.Str(), Golden("report-saturn-2005-06-17-1200.txt"));
    }
    ASSERT_EQ(april31.Run(Body::Mars, "2005", "4", "31"), Outcome::Written);
    ASSERT_EQ(may1.Run(Body::Mars, "2005", "5", "1"), Outcome::Written);
    EXPECT_EQ(april31.First("T"), may1.First("T"));
    EXPECT_EQ(april31.All("L").back(), may1.All("L").back());
}

// Calcul_Planete called directly: T = 1, the default place, a Sun placed by the test.
struct Reduction : Module {
    Observer observer;
    double Long_Soleil = 100, R_soleil = 1;
    Reduction() {
        observer.T = 1;
        observer.JJ = 2415020 + 36525;
        observer.Lon = 5.5, observer.Lat = 33;
    }
    // The geocentric longitude as the report writes it.
    std::string Planete(double L, double a, double e, double i, double W, double N) {
        report.Clear();
        return report.Num(
            Calcul_Planete(report, observer, Long_Soleil, R_soleil, {L, a, e, i, W, N}, 10.0f).L);
    }
};

TEST(PlanetReduction, MeanAnomalyAtThePerihelion) {
    Reduction r;
    const double W = 60, N = 40;
    r.Planete(W + N, 1.5, 0.1, 2, W, N);  // L equal to W + N: no turn added
    EXPECT_EQ(r.First("m"), 0);
    EXPECT_EQ(r.First("EE"), 0);
    EXPECT_EQ(r.First("V"), 0);

    const double justBefore = (W + N) - 1e-9;
    r.Planete(justBefore, 1.5, 0.1, 2, W, N);
    EXPECT_EQ(r.First("m"), justBefore - (W + N) + 360);
    EXPECT_GT(r.First("m"), 359.99999);
    EXPECT_LT(r.First("m"), 360);
}

// At m = 180 both rules for U agree in exact arithmetic; these elements make them differ
// in the last digit, which tells the rule taken.
TEST(PlanetReduction, MeanAnomalyOf180TakesTheSecondHalfRule) {
    Reduction r;
    const double W = 59.96, N = 30.48, L = W + N + 180;
    r.Planete(L, 1.5, 0.1, 2, W, N);
    const double m = r.First("m"), V = r.First("V");
    ASSERT_EQ(m, 180);
    ASSERT_EQ(V, 180);
    const double firstHalf = Angle_360_Deg((L + V) - m - N);
    const double secondHalf = Angle_360_Deg((L + 360) - V - m - N);
    ASSERT_NE(firstHalf, secondHalf);
    EXPECT_EQ(r.First("U"), secondHalf);
}

// With the planet seen exactly at a right angle to the Sun's direction (X = 0), the
// longitude relative to the Sun keeps the heliocentric longitude.
TEST(PlanetReduction, NoQuadrantRuleKeepsTheHeliocentricLongitude) {
    Reduction r;
    const double L = 80, a = 2, e = 0.05, i = 10, W = 30, N = 50;
    r.Planete(L, a, e, i, W, N);
    const double heliocentric = r.All("L").at(0), b = r.First("b"), R_Pt = r.First("R_Pt");
    ASSERT_EQ(Cosine(180), -1);
    r.Long_Soleil = heliocentric + 180;  // G = 180
    r.R_soleil = R_Pt * Cosine(b);       // X = -R_Pt Cosine(b) + R_soleil = 0
    const std::string returned = r.Planete(L, a, e, i, W, N);
    ASSERT_EQ(r.First("G"), 180);
    const std::vector<double> longitudes = r.All("L");
    ASSERT_EQ(longitudes.size(), 3u);
    EXPECT_EQ(longitudes[0], heliocentric);
    EXPECT_EQ(longitudes[1], heliocentric);
    EXPECT_EQ(longitudes[2], Angle_360_Deg(heliocentric + r.Long_Soleil));
    EXPECT_EQ(returned, r.report.Num(longitudes[2]));
    EXPECT_TRUE(Contains(r.report.Str(), "L = L + Long_Soleil = " + returned + "\r\n\r\n"));
}

// The diameter constant enters in single precision; Pluto's is about 0.01 arcseconds.
TEST(PlanetResult, DiameterConstantInSinglePrecision) {
    Module venus, pluto;
    venus.Run(Body::Venus, "2005", "6", "17");
    pluto.Run(Body::Pluto, "2005", "6", "17");
    EXPECT_EQ(venus.First("Diam"), 16.920000076293945 / venus.First("r_Pln_Erth"));
    EXPECT_NEAR(pluto.First("Diam"), 0.4 / 31.0, 0.002);
}

// A planet at the equator: the topocentric declination takes its limit there and the
// report goes on to its end line.
TEST(PlanetLimits, EquatorWritesTheWholeReport) {
    for (const Body body : kPlanets) {
        SCOPED_TRACE(BodyName(body));
        const CliResult r = RunCli(With(ReportArgs(BodyName(body), "2005", "6", "17"),
                                        {"--lat-deg", "0", "--lat-min", "0"}));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out.ends_with(kEndLine));
    }
}

// A year far outside the theories' range drives the eccentricity beyond 1: the command
// stops with a message naming the true anomaly; the report up to it is kept.
TEST(PlanetLimits, AbsurdYearStopsWithAMessageAndKeepsThePartialReport) {
    const CliResult r = RunCli(ReportArgs("mercury", "1000000", "3", "1"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "could not compute V")) << r.err;
    EXPECT_TRUE(Contains(r.out, "R_Pt = a * (1 - (e * Cosine(EE))) = "));
    EXPECT_FALSE(Contains(r.out, "V = ArcCos"));
    EXPECT_FALSE(Contains(r.out, std::string(kEndLine)));

    Module m;
    EXPECT_EQ(m.Run(Body::Pluto, "1e300", "1", "1"), Outcome::Fault);
    ASSERT_EQ(m.messages.messages.size(), 1u);
    EXPECT_TRUE(Contains(m.messages.messages[0].english, "could not compute L"));
}

}  // namespace
}  // namespace zerin::test
