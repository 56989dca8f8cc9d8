// The direction of the Kaaba against the bearings published with their places in the
// tests of the adhan library (batoulapps/adhan-js, test/qibla.test.ts, MIT licence), and
// the great-circle distance against the haversine formula.
#include "Qibla.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zerin::test {
namespace {

struct City {
    std::string name;
    double latitude, eastLongitude, qibla;
};

std::vector<City> PublishedBearings() {
    std::ifstream file(ZERIN_TEST_DATA "/qibla-bearings.csv");
    std::vector<City> cities;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("city,", 0) == 0) continue;
        std::stringstream row(line);
        City c;
        std::string cell;
        std::getline(row, c.name, ',');
        std::getline(row, cell, ',');
        c.latitude = std::stod(cell);
        std::getline(row, cell, ',');
        c.eastLongitude = std::stod(cell);
        std::getline(row, cell, ',');
        c.qibla = std::stod(cell);
        cities.push_back(c);
    }
    return cities;
}

TEST(Qibla, PublishedBearingsOfElevenCities) {
    const std::vector<City> cities = PublishedBearings();
    ASSERT_EQ(cities.size(), 11u);
    for (const City& c : cities) {
        SCOPED_TRACE(c.name);
        // The program counts longitudes West positive.
        EXPECT_NEAR(QiblaOf(-c.eastLongitude, c.latitude).Qibla, c.qibla, 0.01);
    }
}

TEST(Qibla, QuadrantsAndTheMeridianOfTheKaaba) {
    // Due South on the Kaaba's meridian north of it, due North south of it; due East and
    // West along nearly the same parallel close by.
    EXPECT_NEAR(QiblaOf(-kKaabaEastLongitude, 50).Qibla, 180, 1e-9);
    EXPECT_NEAR(QiblaOf(-kKaabaEastLongitude, -10).Qibla, 0, 1e-9);
    EXPECT_NEAR(QiblaOf(-(kKaabaEastLongitude - 1), kKaabaLatitude).Qibla, 90, 0.2);
    EXPECT_NEAR(QiblaOf(-(kKaabaEastLongitude + 1), kKaabaLatitude).Qibla, 270, 0.2);
    for (const double lon : {-180.0, -90.0, 0.0, 90.0, 180.0}) {
        const double q = QiblaOf(lon, 35).Qibla;
        EXPECT_GE(q, 0);
        EXPECT_LT(q, 360);
    }
}

TEST(Qibla, GreatCircleDistance) {
    // Haversine on the same sphere, written independently.
    const auto haversine = [](double lat1, double lon1, double lat2, double lon2) {
        const double r = std::acos(-1.0) / 180;
        const double a =
            std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
            std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
        return 2 * kEarthRadiusKm * std::asin(std::sqrt(a));
    };
    for (const City& c : PublishedBearings()) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(QiblaOf(-c.eastLongitude, c.latitude).Distance,
                    haversine(c.latitude, c.eastLongitude, kKaabaLatitude, kKaabaEastLongitude),
                    1e-6);
    }
    EXPECT_NEAR(QiblaOf(-kKaabaEastLongitude, kKaabaLatitude).Distance, 0, 1e-6);
    // London to Mecca: about 4,790 km.
    EXPECT_NEAR(QiblaOf(0.1278, 51.5074).Distance, 4790, 10);
}

}  // namespace
}  // namespace zerin::test
