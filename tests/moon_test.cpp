// The Moon's command: the quadrant and reduction rules over a month against the usual
// spherical formulas, the equator's limit, its faults. The whole reports are golden files
// (golden_test.cpp); the Sun it reads is that of its own instant (planet_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "TestSupport.h"
#include "math/Angles.h"
#include "report/Commands.h"

namespace zerin::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180;

// The Moon's report for the fields of the main window, keeping what it computed.
struct MoonRun {
    RecordingMessenger messages;
    Report report;
    FieldTexts fields;
    Observer observer;
    MoonResult moon;
    Outcome outcome = Outcome::Written;

    explicit MoonRun(unsigned sinks = Report::kText) { report.SetSinks(sinks); }
    MoonRun& At(double year, double month, double day, double hour, double minute = 0) {
        FieldTexts& f = fields;
        f.TxtYear = std::to_string(year), f.TxtMonth = std::to_string(month);
        f.TxtDay = std::to_string(day), f.TxtHour = std::to_string(hour);
        f.TxtMin = std::to_string(minute), f.TxtSec = "0";
        return *this;
    }
    MoonRun& Moon() {
        const std::optional<Observer> o = EnterObserver(messages, fields, false, true);
        outcome = Outcome::Refused;
        if (!o) return *this;
        observer = *o;
        Calcul_JJ(report, observer);
        outcome = Guarded(report, messages, [&] {
            moon = Calcul_Lune(report, observer, SunPlaceAt(observer.T).Lg_Soleil);
        });
        return *this;
    }
};

// Difference of two angles in degrees, brought into -180..180.
double AngleGap(double a, double b) {
    return std::remainder(a - b, 360.0);
}

TEST(MoonSky, QuadrantsAndReductionsOverAMonth) {
    int ascQuarter[4] = {}, azimuthQuarter[4] = {};
    for (int hour = 0; hour < 30 * 24; hour += 5) {
        MoonRun run(Report::kNone);
        run.At(2005, 6, 1 + hour / 24, hour % 24).Moon();
        ASSERT_EQ(run.outcome, Outcome::Written);
        const MoonResult& p = run.moon;

        // Reduced values stay in their ranges.
        const double ranges[][3] = {
            {p.Lg_Lune, 0, 360},      {p.Asc, 0, 24},   {p.sky.Ha, 0, 360}, {p.sky.Azimut, 0, 360},
            {p.topo.TopoAsc, 0, 360}, {p.b, -5.4, 5.4}, {p.eLong, 0, 180},  {p.illum, 0, 100}};
        for (const auto& [value, low, high] : ranges) {
            EXPECT_GE(value, low) << hour;
            EXPECT_LE(value, high) << hour;
        }

        // The right ascension lies within a few degrees of the longitude, in every
        // quadrant: a wrong quadrant rule would put it half a turn away.
        EXPECT_LT(std::fabs(AngleGap(p.Asc * 15, p.Lg_Lune)), 8) << hour;
        ++ascQuarter[std::min(3, static_cast<int>(p.Asc / 6))];

        // The azimuth from the North through the East, by the usual spherical formula.
        const double lat = run.observer.Lat * kDeg, dec = p.Dec * kDeg, ha = p.sky.Ha * kDeg;
        const double azimuth =
            std::atan2(std::sin(ha), std::cos(ha) * std::sin(lat) - std::tan(dec) * std::cos(lat)) /
                kDeg +
            180;
        EXPECT_NEAR(AngleGap(p.sky.Azimut, azimuth), 0, 1e-9) << hour;
        const double altitude = std::asin(std::sin(lat) * std::sin(dec) +
                                          std::cos(lat) * std::cos(dec) * std::cos(ha)) /
                                kDeg;
        EXPECT_NEAR(p.sky.Altitude, altitude, 1e-9) << hour;
        ++azimuthQuarter[std::min(3, static_cast<int>(p.sky.Azimut / 90))];

        // The parallax read back from the distance is the series' parallax.
        EXPECT_NEAR(p.Paralax, p.Ge, 1e-12);
        EXPECT_NEAR(p.illum, (1 - std::cos(p.eLong * kDeg)) / 2 * 100, 1e-9);
    }
    for (int q = 0; q < 4; ++q) {
        EXPECT_GT(ascQuarter[q], 0) << "right ascension quarter " << q;
        EXPECT_GT(azimuthQuarter[q], 0) << "azimuth quarter " << q;
    }
}

TEST(MoonSky, EquatorTakesTheLimitOfTheTopocentricDeclination) {
    MoonRun equator, near;
    equator.fields.TxtDegLat = equator.fields.TxtMinLat = "0";
    near.fields = equator.fields;
    near.fields.TxtSecLat = "0.0001";
    equator.At(2012, 11, 3, 18, 45).Moon();
    near.At(2012, 11, 3, 18, 45).Moon();
    ASSERT_EQ(equator.outcome, Outcome::Written);
    const MoonResult& p = equator.moon;
    EXPECT_EQ(p.topo.Geo, 0);
    EXPECT_EQ(p.topo.TopoDec, p.Dec + p.Paralax * p.topo.DiCentre * Cosine(p.sky.Ha) * Sine(p.Dec));
    // The limit joins the formula a fraction of a second of arc away from the equator.
    EXPECT_NEAR(p.topo.TopoDec, near.moon.topo.TopoDec, 1e-6);
    EXPECT_TRUE(Contains(equator.report.Str(), "illum = ((1 + Cosine(FV)) / 2) * 100\r\n = "));
}

TEST(MoonFault, NamesTheQuantityAndKeepsTheReport) {
    // A latitude whose double overflows: the observer's geocentric latitude cannot be
    // computed, everything before it is kept.
    const CliResult r =
        RunCli(With(ReportArgs("moon", "2005", "6", "17"), {"--lat-deg", "1.5e308"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "zerin: تعذّر حساب GeocLat : توقف الحساب عند هذه القيمة\n"
              "zerin: could not compute GeocLat (non-finite value in an angle); the report "
              "stops before it\n");
    const std::string lastItem =
        "Paralax = ArcSin(6378.14 / r_lune)\r\n = 0.950789140155728\r\n\r\n";
    EXPECT_TRUE(r.out.ends_with(lastItem));
    EXPECT_FALSE(Contains(r.out, "GeocLat"));
}

TEST(MoonFault, AnOverflowingNodeIsNamed) {
    // Called alone on a T far beyond any calendar: the cube of T overflows in the node.
    Report report;
    Observer far;
    far.T = 1e110;
    EXPECT_THROW(Calcul_Lune(report, far, 0), CalcError);
    EXPECT_EQ(report.Current(), "N");
}

}  // namespace
}  // namespace zerin::test
