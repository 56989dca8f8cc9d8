// The calculation routines alone, on published values: J. Meeus, Astronomical Algorithms,
// 2nd ed. (1998), worked examples; Julian days from PyEphem (Debian's python3-ephem);
// Kepler's equation against a long-double solution; a planet's place against the plane
// geometry of circular orbits.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/Angles.h"
#include "math/Errors.h"
#include "math/Kepler.h"
#include "moon/Moon.h"
#include "planets/Planet.h"
#include "report/Report.h"
#include "sun/Sun.h"
#include "time/JulianDay.h"

namespace zerin::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180;

// Hours (or degrees), minutes and seconds as one decimal number.
constexpr double Sexagesimal(double h, double m, double s) {
    return h + m / 60 + s / 3600;
}

// Meeus, examples 7.a and 7.b and the table after them; then PyEphem: a date in every month
// (2024 is a leap year), February and March around the century years, both sides of the
// Gregorian reform, the Julian calendar's leap day of 1500, negative years. Fix truncates
// toward zero: -4712 (not divisible by 4) comes out a day later than the usual rule's 0.
// Only months exactly 1 and 2 count as months of the year before: month 2.5 is used as it
// stands, Fix(3.5 * 30.6001) = 107 days after the year's start.
TEST(JulianDay, PublishedDates) {
    struct Case {
        double year, month, day, JJ;
    };
    const Case kCases[] = {
        {1957, 10, 4.81, 2436116.31},  {333, 1, 27.5, 1842713.0},
        {2000, 1, 1.5, 2451545.0},     {1999, 1, 1, 2451179.5},
        {1987, 6, 19.5, 2446966.0},    {1600, 12, 31, 2305812.5},
        {837, 4, 10.3, 2026871.8},     {-1000, 7, 12.5, 1356001.0},
        {2024, 1, 1.25, 2460310.75},   {2024, 2, 29.25, 2460369.75},
        {2024, 3, 31.25, 2460400.75},  {2024, 4, 30.25, 2460430.75},
        {2024, 5, 31.25, 2460461.75},  {2024, 6, 30.25, 2460491.75},
        {2024, 7, 31.25, 2460522.75},  {2024, 8, 31.25, 2460553.75},
        {2024, 9, 30.25, 2460583.75},  {2024, 10, 31.25, 2460614.75},
        {2024, 11, 30.25, 2460644.75}, {2024, 12, 31.25, 2460675.75},
        {2023, 2, 28, 2460003.5},      {2023, 3, 1, 2460004.5},
        {1700, 2, 28, 2342030.5},      {1700, 3, 1, 2342031.5},
        {1800, 2, 28, 2378554.5},      {1800, 3, 1, 2378555.5},
        {1900, 2, 28, 2415078.5},      {1900, 3, 1, 2415079.5},
        {2000, 2, 29, 2451603.5},      {2000, 3, 1, 2451604.5},
        {1582, 10, 4, 2299159.5},      {1582, 10, 15, 2299160.5},
        {1582, 2, 10.75, 2298924.25},  {1500, 2, 29, 2268991.5},
        {-999, 2, 10, 1356213.5},      {-3, 2, 28, 1720020.5},
        {-4000, 3, 1, 260117.5},       {-4712, 1, 1.5, 1},
        {2005, 2.5, 1, 2453415.5},
    };
    for (const auto& c : kCases)
        EXPECT_NEAR(JulianDay(c.year, c.month, c.day), c.JJ, 1e-9)
            << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(JulianCenturies(2451545.0), 1);  // J2000.0 is one century after 1900 January 0.5
    EXPECT_EQ(JulianCenturies(2415020.0), 0);
    // The days the reform dropped do not exist.
    for (const double day : {4.5, 5.0, 10.0, 14.99})
        EXPECT_TRUE(std::isnan(JulianDay(1582, 10, day))) << day;
    EXPECT_FALSE(InGregorianGap(15821004));
    EXPECT_FALSE(InGregorianGap(15821015));
}

// The root of E - (180 / 3.141592654) e sin E = m, by Newton's method in long double with
// the sine of the true pi, to convergence.
double KeplerReference(double m, double e) {
    const long double k = 180.0L / 3.141592654L, toRadians = std::atan(1.0L) / 45;
    long double E = m;
    for (int step = 0; step < 100; ++step)
        E -= (E - k * e * std::sin(E * toRadians) - m) / (1 - e * std::cos(E * toRadians));
    return static_cast<double>(E);
}

TEST(Kepler, MeeusExamplesAndTheLongDoubleRoot) {
    // Chapter 30's examples.
    EXPECT_NEAR(EccentricAnomaly(5, 0.1), 5.554589, 5e-7);
    EXPECT_NEAR(EccentricAnomaly(2, 0.99), 32.361007, 5e-7);
    EXPECT_EQ(EccentricAnomaly(123.4, 0), 123.4);
    EXPECT_EQ(EccentricAnomaly(0, 0.5), 0);
    // Where the 32 steps end on the correctly rounded root, to the last bit. Several of
    // these end in a two-cycle between the root and its neighbour, where the parity of
    // the step count chooses; elsewhere the 32nd step can stop one unit away.
    const struct {
        double e;
        std::initializer_list<double> m;
    } kCases[] = {{0.2, {0.9, 3.5, 45, 90, 179.9, 300}},
                  {0.5, {3.5, 10, 27.3, 90, 300, 333.3}},
                  {0.9, {45, 90, 135, 179.9, 180, 333.3}}};
    for (const auto& c : kCases)
        for (const double m : c.m)
            EXPECT_EQ(EccentricAnomaly(m, c.e), KeplerReference(m, c.e)) << c.e << " " << m;
    const double E = EccentricAnomaly(359.9, 0.9);  // below m, not reduced
    EXPECT_LT(E, 359.9);
    EXPECT_GT(E, 300);
}

TEST(Coordinates, EclipticToEquatorialOfPollux) {
    // Example 13.a.
    const Equatorial q = EclipticToEquatorial(113.215630, 6.684170, 23.4392911);
    EXPECT_NEAR(q.Asc, Sexagesimal(7, 45, 18.946), 2e-7);
    EXPECT_NEAR(q.Dec, 28.026183, 2e-6);
    EXPECT_EQ(q.O, 23.4392911);
}

TEST(Coordinates, SiderealTimeOf1987April10) {
    // Example 12.a (0 h UT) and 12.b (19:21 UT, mean sidereal time); the older
    // polynomial is within 0.1 s of the one Meeus uses.
    EXPECT_NEAR(GreenwichSiderealTime(2446895.5), Sexagesimal(13, 10, 46.3668), 0.1 / 3600);
    EXPECT_NEAR(GreenwichSiderealTime(2446896.30625), Sexagesimal(8, 34, 57.0896), 0.1 / 3600);
    EXPECT_NEAR(DayFraction(2446896.30625), 0.80625, 1e-9);
}

TEST(Coordinates, AzimuthAndAltitudeOfVenusAtWashington) {
    // Example 13.b; Meeus counts the azimuth from the South, this program from the North.
    const Horizontal h =
        HorizontalPlace(64.352133, -Sexagesimal(6, 43, 11.61), Sexagesimal(38, 55, 17));
    EXPECT_NEAR(h.Azimut, 68.0337 + 180, 1e-4);
    EXPECT_NEAR(h.Altitude, 15.1249, 1e-4);
}

TEST(Coordinates, ObserversPlaceOnTheEarthsFigure) {
    // Geocentric latitude and distance from the centre (equatorial radii) of WGS84.
    const struct {
        double Lat, GeocLat, DiCentre, tolerance;
    } kCases[] = {{0, 0, 1, 1e-12}, {45, 44.80757, 0.998329, 5e-5}, {90, 90, 0.996647, 2e-5}};
    for (const auto& c : kCases) {
        const TopoPlace p = TopocentricPlace(0.9, 10, 20, 30, c.Lat);
        EXPECT_NEAR(p.GeocLat, c.GeocLat, c.tolerance) << c.Lat;
        EXPECT_NEAR(p.DiCentre, c.DiCentre, c.tolerance) << c.Lat;
    }
}

TEST(SunTimes, HourAngleOfAnAltitude) {
    // Example 15.a: Venus rising at Boston, H0 = 108.5344 degrees.
    EXPECT_NEAR(HourAngleOfAltitude(Sine(-0.5667), DayCircleOf(18.44092, 42.3333)), 108.5344 / 15,
                1e-5);
    // On the equator at an equinox the cosine is the sine of the altitude itself: the
    // zenith and the nadir are reached exactly, at 0 and 12 hours; beyond them never.
    const DayCircle equinox = DayCircleOf(0, 0);
    EXPECT_EQ(HourAngleOfAltitude(1, equinox), 0);
    EXPECT_EQ(HourAngleOfAltitude(-1, equinox), 12);
    EXPECT_TRUE(std::isnan(HourAngleOfAltitude(std::nextafter(1.0, 2.0), equinox)));
    EXPECT_TRUE(std::isnan(HourAngleOfAltitude(std::nextafter(-1.0, -2.0), equinox)));
    EXPECT_TRUE(std::isnan(HourAngleOfAltitude(0.5, DayCircleOf(0, 90))));  // a pole
}

TEST(Sun, PlaceOf1992October13) {
    // Example 25.a (apparent place; Meeus's mean elements come from a newer theory).
    const SunPlace s = SunPlaceAt(JulianCenturies(2448908.5));
    EXPECT_NEAR(s.Lg_Soleil, 199.90895, 1e-3);
    EXPECT_NEAR(s.R_soleil, 0.99766, 1e-5);
    EXPECT_NEAR(s.O, 23.44023, 1e-4);
    EXPECT_NEAR(s.Asc, Sexagesimal(13, 13, 31.4), 1e-3 / 15);
    EXPECT_NEAR(s.Dec, -7.78507, 1e-3);
    EXPECT_NEAR(s.C - 360, -1.89732, 1e-3);  // a negative equation of the centre, reduced
}

TEST(Moon, PlaceOf1992April12) {
    // Example 47.a, a newer and longer theory: the longitude without its nutation of
    // +0.004610, right ascension and declination within the nutation's reach.
    const MoonPlace p = MoonPlaceAt(JulianCenturies(2448724.5));
    EXPECT_NEAR(p.Lg_Lune, 133.162655 - 0.004610, 0.005);
    EXPECT_NEAR(p.b, -3.229126, 5e-4);
    EXPECT_NEAR(p.r_lune, 368409.7, 10);
    EXPECT_NEAR(p.Ge, 0.991990, 1e-4);
    EXPECT_NEAR(p.Asc * 15, 134.688470, 0.01);
    EXPECT_NEAR(p.Dec, 13.768368, 0.01);
}

TEST(Planet, CircularOrbitsInThePlaneOfTheEcliptic) {
    // The Sun at longitude Ls and distance R from the Earth, the planet at heliocentric
    // longitude Lp and distance a: the geocentric place is the sum of the two vectors.
    const struct {
        double Lp, a, Ls, R;
    } kCases[] = {{100, 5.2, 30, 1},        {250, 0.72, 40, 0.983}, {10, 1.52, 185, 1.0167},
                  {300, 30.1, 130, 1.0003}, {179, 0.39, 2, 0.99},   {45, 9.5, 227, 1.01}};
    for (const auto& c : kCases) {
        const PlanetPlace p = PlanetPlaceAt({c.Lp, c.a, 0, 0, 0, 0}, 1, c.Ls, c.R);
        const double x = c.R * std::cos(c.Ls * kDeg) + c.a * std::cos(c.Lp * kDeg);
        const double y = c.R * std::sin(c.Ls * kDeg) + c.a * std::sin(c.Lp * kDeg);
        const double longitude = std::atan2(y, x) / kDeg, distance = std::hypot(x, y);
        SCOPED_TRACE(c.Lp);
        EXPECT_NEAR(std::remainder(p.L - longitude, 360), 0, 1e-9);
        EXPECT_NEAR(p.r_Pln_Erth, distance, 1e-12);
        EXPECT_EQ(p.Be, 0);
        const PlanetResult seen = PlanetSeenFrom(p, 10, 2451545, 0, 30, c.R);
        const double elongation =
            std::acos((c.R * c.R + distance * distance - c.a * c.a) / (2 * c.R * distance));
        const double phase =
            std::acos((c.a * c.a + distance * distance - c.R * c.R) / (2 * c.a * distance));
        EXPECT_NEAR(seen.eLong, elongation / kDeg, 1e-9);
        EXPECT_NEAR(seen.illum, (1 + std::cos(phase)) / 2 * 100, 1e-9);
    }
}

// A section whose second value cannot be computed: the report keeps the first item and
// stops, naming the second, whatever the sinks.
TEST(Report, StopsAtTheFirstValueThatIsNotFinite) {
    constexpr const char* kText = "a\r\n = {x:deg}\r\n\r\nb\r\n = {y:h}\r\n\r\nc = {z:hms}\r\n\r\n";
    for (const unsigned sinks : {unsigned{Report::kText | Report::kValues}, 0u}) {
        Report r;
        r.SetSinks(sinks);
        try {
            r.Section(kText, {1.5, NAN, 2.5});
            FAIL() << "no fault";
        } catch (const CalcError& fault) {
            EXPECT_STREQ(fault.what(), "non-finite value in a time in hours");
        }
        EXPECT_EQ(r.Current(), "y");
        EXPECT_EQ(r.Str(), sinks & Report::kText ? "a\r\n = 1.5\r\n\r\n" : "");
        EXPECT_EQ(r.Values().size(), sinks & Report::kValues ? 1u : 0u);
    }
    Report r;
    r.SetSinks(Report::kText | Report::kValues);
    r.Section(SectionText("{!w:deg}" + std::string(kText)), {7, 1.5, 3.25, 12.5});  // w checked
    EXPECT_EQ(r.Str(), "a\r\n = 1.5\r\n\r\nb\r\n = 3.25\r\n\r\nc = 12 H 30 Min 0 Sec \r\n\r\n");
    ASSERT_EQ(r.Values().size(), 3u);
    EXPECT_EQ(r.Values()[2].name, "z");
    EXPECT_EQ(r.Values()[2].unit, Unit::Hours);
    EXPECT_THROW(r.Section("{!w:deg}", {INFINITY}), CalcError);
}

}  // namespace
}  // namespace zerin::test
