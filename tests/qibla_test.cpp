// The direction of the Kaaba against the bearings published with their places in the
// tests of the adhan library (batoulapps/adhan-js, test/qibla.test.ts, MIT licence), the
// distances against the haversine formula, Vincenty's example and GeographicLib, the days
// the Sun stands over the Kaaba against PyEphem, and the report.
#include "qibla/Qibla.h"

#include <gtest/gtest.h>

#include <cmath>

#include "TableOptions.h"
#include "TablesTestSupport.h"
#include "Times.h"
#include "sky/Sky.h"
#include "time/JulianDay.h"

namespace zerin::test {
namespace {

TEST(Qibla, PublishedBearingsAndGreatCircleDistancesOfElevenCities) {
    // Haversine on the same sphere, written independently.
    const auto haversine = [](double lat1, double lon1, double lat2, double lon2) {
        const double r = std::acos(-1.0) / 180;
        const double a =
            std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
            std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
        return 2 * kEarthRadiusKm * std::asin(std::sqrt(a));
    };
    int cities = 0;
    for (const auto& c : DataRows("qibla-bearings.csv", "city")) {
        SCOPED_TRACE(c[0]);
        const double lat = std::stod(c[1]), eastLon = std::stod(c[2]);
        const QiblaPlace q = QiblaOf(-eastLon, lat);  // the program counts longitudes West positive
        EXPECT_NEAR(q.Qibla, std::stod(c[3]), 0.01);
        EXPECT_NEAR(q.Distance, haversine(lat, eastLon, kKaabaLatitude, kKaabaEastLongitude), 1e-6);
        ++cities;
    }
    EXPECT_EQ(cities, 11);
    // Due South on the Kaaba's meridian north of it, due North south of it; due East and
    // West along nearly the same parallel close by.
    EXPECT_NEAR(QiblaOf(-kKaabaEastLongitude, 50).Qibla, 180, 1e-9);
    EXPECT_NEAR(QiblaOf(-kKaabaEastLongitude, -10).Qibla, 0, 1e-9);
    EXPECT_NEAR(QiblaOf(-(kKaabaEastLongitude - 1), kKaabaLatitude).Qibla, 90, 0.2);
    EXPECT_NEAR(QiblaOf(-(kKaabaEastLongitude + 1), kKaabaLatitude).Qibla, 270, 0.2);
    for (const double lon : {-180.0, -90.0, 0.0, 90.0, 180.0}) {
        const double q = QiblaOf(lon, 35).Qibla;
        EXPECT_TRUE(q >= 0 && q < 360) << lon;
    }
    EXPECT_NEAR(QiblaOf(-kKaabaEastLongitude, kKaabaLatitude).Distance, 0, 1e-6);
    EXPECT_NEAR(QiblaOf(0.1278, 51.5074).Distance, 4790, 10);  // London to Mecca: about 4,790 km
}

// Vincenty's published example (Flinders Peak to Buninyong, GRS80, whose flattening differs
// from WGS84's in the twelfth digit): 54,972.271 m; and GeographicLib's geodesics from the
// eleven cities to the Kaaba (tests/data/references/kaaba-distances.csv), to a millimetre.
TEST(Qibla, GeodesicDistanceOnTheEllipsoid) {
    const auto dms = [](double d, double m, double s) { return d + m / 60 + s / 3600; };
    EXPECT_NEAR(GeodesicDistanceKm(-dms(37, 57, 3.72030), dms(144, 25, 29.52440),
                                   -dms(37, 39, 10.15610), dms(143, 55, 35.38390)),
                54.972271, 1e-6);
    int cities = 0;
    for (const auto& c : DataRows("references/kaaba-distances.csv", "city")) {
        EXPECT_NEAR(GeodesicDistanceKm(std::stod(c[1]), std::stod(c[2]), kKaabaLatitude,
                                       kKaabaEastLongitude),
                    std::stod(c[3]) / 1000, 1e-6)
            << c[0];
        ++cities;
    }
    EXPECT_EQ(cities, 11);
    EXPECT_EQ(GeodesicDistanceKm(10, 20, 10, 20), 0);
    // Nearly opposite the Kaaba the iteration does not settle: no distance rather than a
    // wrong one.
    EXPECT_TRUE(std::isnan(GeodesicDistanceKm(-kKaabaLatitude + 0.1, kKaabaEastLongitude - 179.9,
                                              kKaabaLatitude, kKaabaEastLongitude)));
}

// The days when the Sun stands over the Kaaba, against PyEphem's transits
// (tests/data/references/sun-over-kaaba.csv): the same day, within a minute.
TEST(Qibla, SunOverTheKaaba) {
    int years = 0;
    for (const auto& cells : DataRows("references/sun-over-kaaba.csv", "year")) {
        const KaabaDays days = SunOverKaaba(std::stod(cells[0]));
        for (const auto& [transit, ut, dec] :
             {std::tuple{days.rising, cells[1], cells[2]}, {days.falling, cells[3], cells[4]}}) {
            services::Civil civil;
            std::string error;
            ASSERT_TRUE(cli::ParseDate(ut, true, civil, error)) << error;
            EXPECT_NEAR(transit.JJ, services::JulianDayOfInstant(services::SecondsOf(civil)),
                        60.0 / 86400)
                << ut;
            EXPECT_NEAR(transit.Dec, std::stod(dec), 0.01) << ut;
        }
        ++years;
    }
    EXPECT_EQ(years, 6);
}

TEST(Qibla, TheReport) {
    // London on 17 June 2005 with summer time: the published bearing, the distances, and the
    // Sun over the Kaaba at 10:18 and 10:27 on the London clock (09:18 and 09:27 UT).
    const std::string london =
        "report qibla --lon-deg 0 --lon-min 7 --lon-sec 40.08 --west --lat-deg 51 --lat-min 30 "
        "--lat-sec 26.64 --year 2005 --month 6 --day 17 --zone 0 --summer 1";
    const CliResult r = RunCli(Words(london));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::tuple<std::string, double, double> kPrinted[] = {
        {"Qibla = ArcTan(Y / X)\r\nإذا كانت X < 0 : Qibla = Qibla + 180\r\nو إذا كانت X > 0 و Y < "
         "0 : Qibla = "
         "Qibla + 360\r\nو إذا كانت X = 0 : Qibla = 90 إذا كانت Y > 0 و Qibla = 270 إذا كانت Y < 0",
         118.987, 0.01},
        {"Distance_WGS84 = b * A * (Sigma - DeltaSigma) / 1000", 4794.7526689, 0.01},
        {"Kaaba1 = (UT * 24) - Zone + EtéRegl", 10 + 18 / 60.0, 1 / 60.0},
        {"Kaaba2 = (UT * 24) - Zone + EtéRegl", 10 + 27 / 60.0, 1 / 60.0}};
    for (const auto& [formula, value, tolerance] : kPrinted)
        EXPECT_NEAR(std::stod(Printed(r.out, formula)), value, tolerance) << formula;
    EXPECT_TRUE(Contains(
        r.out,
        "*******************  اتجاه القبلة و المسافة إلى الكعبة  ***********************\r\n\r\n"));
    EXPECT_TRUE(Contains(r.out, "يوم 2005-05-28 بتوقيت البلد")) << r.out;
    EXPECT_TRUE(r.out.ends_with(kEndLine));
    const CliResult j = RunCli(Words(london + " --json"));
    ASSERT_EQ(j.status, 0) << j.err;
    for (const char* item :
         {"{\"name\": \"Qibla\", \"value\": 118.98", "{\"name\": \"Distance\", \"value\": 4793.",
          "\"unit\": \"deg\"}", "\"unit\": \"km\"}"})
        EXPECT_TRUE(Contains(j.out, item)) << item;
    // Nearly opposite the Kaaba: the sphere's distance, and a note instead of the ellipsoid's.
    const CliResult far = RunCli(
        Words("report qibla --lon-deg 140 --lon-min 5 --west --lat-deg 21 --lat-min 20 --south"));
    ASSERT_EQ(far.status, 0) << far.err;
    EXPECT_TRUE(Contains(far.out, "لا تتقارب طريقة فنسنتي"));
    EXPECT_NEAR(
        std::stod(Printed(far.out,
                          "Distance = 6371 * ArcCos((Sine(Lat) * Sine(21.4225241)) + (Cosine(Lat) "
                          "* Cosine(21.4225241) * Cosine(dLon))) * Pi / 180")),
        20015, 20);
    // A date the calendar dropped is refused, as for every body: nothing written, exit 2.
    ExpectRefused(Words("report qibla --year 1582 --month 10 --day 10"), "this date does not exist",
                  2);
}

}  // namespace
}  // namespace zerin::test
