// The crossing of an altitude or of the meridian: J. Meeus's worked rising, transit and
// setting of Venus, the bodies that never set or never rise, and the steps halved back.
#include "sky/Crossing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zerin::test {
namespace {

constexpr double kRadian = 3.14159265358979323846 / 180;
constexpr double kSidereal = 360.985647;  // degrees of hour angle a day

double Around0(double degrees) {
    return degrees - 360 * std::floor((degrees + 180) / 360);
}

// Interpolation from three values a day apart (Meeus, formula 3.3), n days from the middle.
double Interpolated(const double (&y)[3], double n) {
    const double a = y[1] - y[0], b = y[2] - y[1];
    return y[1] + n / 2 * (a + b + n * (b - a));
}

// A body seen from Boston (71.0833 W, 42.3333 N) on 1988 March 20, its place interpolated
// between three days, the instant in days of UT from 0h; side -1 rising, +1 setting, 0 transit.
struct Sky {
    double asc[3], dec[3];
    double h0 = -0.5667;
    int side = 0;

    HourAngleMiss operator()(double m, int) const {
        constexpr double kLon = 71.0833, kLat = 42.3333, kSidereal0 = 177.74208, kDeltaT = 56;
        const double n = m + kDeltaT / 86400;
        const double Dec = Interpolated(dec, n) * kRadian;
        double target = 0;
        if (side != 0) {
            const double c = (std::sin(h0 * kRadian) - std::sin(kLat * kRadian) * std::sin(Dec)) /
                             (std::cos(kLat * kRadian) * std::cos(Dec));
            if (c < -1) return {CrossingKind::NeverSets};
            if (c > 1) return {CrossingKind::NeverRises};
            target = side * std::acos(c) / kRadian;
        }
        const double H = kSidereal0 + kSidereal * m - kLon - Interpolated(asc, n);
        return {CrossingKind::Found, Around0(H - target), kSidereal, 1e-7};
    }
};

TEST(Crossing, VenusRisesTransitsAndSetsAsInMeeus) {
    // J. Meeus, Astronomical Algorithms, 2nd ed. (1998), example 15.a: rising 0.51766 day
    // (12h25m UT), transit 0.81980 (19h41m), setting 0.12130 (2h55m); his single correction
    // leaves them within half a second of where the steps settle.
    const Sky venus{{40.68021, 41.73129, 42.78204}, {18.04761, 18.44092, 18.82742}};
    const struct {
        int side;
        double start, published;
    } kCases[] = {{-1, 0.5, 0.51766}, {0, 0.8, 0.81980}, {1, 0.1, 0.12130}};
    for (const auto& c : kCases) {
        Sky sky = venus;
        sky.side = c.side;
        const CrossingFound f = CrossingNear(sky, c.start, {12, 0});
        ASSERT_EQ(f.kind, CrossingKind::Found) << c.side;
        EXPECT_NEAR(f.JJ, c.published, 1e-5) << c.side;
        EXPECT_LE(f.count, 4) << c.side;
    }
}

TEST(Crossing, NeverSetsNeverRisesHalvedBackAndFixedSteps) {
    // From 42 N, a star at declination 80 never sets and one at -60 never rises.
    Sky circumpolar{{10, 10, 10}, {80, 80, 80}}, southern{{10, 10, 10}, {-60, -60, -60}};
    circumpolar.side = southern.side = 1;
    EXPECT_EQ(CrossingNear(circumpolar, 0.5, {12, 0}).kind, CrossingKind::NeverSets);
    const CrossingFound none = CrossingNear(southern, 0.5, {12, 0});
    EXPECT_EQ(none.kind, CrossingKind::NeverRises);
    EXPECT_TRUE(std::isnan(none.JJ));

    // A body whose altitude is reached only before 0.3 day: a step beyond it is halved back
    // toward the instant before it, and the root at 0.25 is found; without halvings it ends.
    const auto edge = [](double t, int) {
        if (t > 0.3) return HourAngleMiss{CrossingKind::NeverRises};
        return HourAngleMiss{CrossingKind::Found, (t - 0.25) * 10, 10, 1e-9};
    };
    const CrossingFound halved =
        CrossingNear(edge, 0.6, edge(0.6, 0), 0.2, {12, 8}, [](int, double) {});
    EXPECT_EQ(halved.kind, CrossingKind::Found);
    EXPECT_NEAR(halved.JJ, 0.25, 1e-12);
    EXPECT_EQ(CrossingNear(edge, 0.6, {12, 0}).kind, CrossingKind::NeverRises);

    // A settled time of 0: exactly the steps asked for, each told, the last instant kept.
    int told = 0;
    const auto slow = [](double t, int) { return HourAngleMiss{CrossingKind::Found, t - 1, 2, 0}; };
    const CrossingFound fixed =
        CrossingNear(slow, 0, slow(0, 0), 0, {3, 0}, [&](int k, double) { told = k + 1; });
    EXPECT_EQ(fixed.kind, CrossingKind::Unsettled);
    EXPECT_EQ(fixed.count, 3);
    EXPECT_EQ(told, 3);
    EXPECT_DOUBLE_EQ(fixed.JJ, 0.875);  // halfway to 1 at each step
}

}  // namespace
}  // namespace zerin::test
