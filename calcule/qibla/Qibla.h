// The direction of the Kaaba from a place, and the distance to it, along the great
// circle. Longitudes are West positive (the program's convention), latitudes North
// positive, all in degrees.
#pragma once

#include <limits>

namespace zerin {

// The Kaaba in Mecca, degrees (East longitude positive here, as published).
inline constexpr double kKaabaLatitude = 21.4225241;
inline constexpr double kKaabaEastLongitude = 39.8261818;
// The mean radius of a spherical Earth, kilometres.
inline constexpr double kEarthRadiusKm = 6371;

struct QiblaPlace {
    double dLon = 0;      // the Kaaba's longitude minus the place's, East positive, degrees
    double Qibla = 0;     // bearing from true North through the East, degrees 0..360
    double Distance = 0;  // along the great circle of a spherical Earth, kilometres
};

/*
 * GreatCircleCourse: the initial bearing of the great circle from one place to another,
 * degrees from true North through the East, 0 to 360.
 *
 *   Lat    latitude of the place, degrees, North positive
 *   toLat  latitude of the other place, degrees, North positive (not a pole)
 *   dLon   the other place's longitude less the place's, degrees, East positive
 *
 * atan2(sin dLon, cos Lat tan toLat - sin Lat cos dLon), reduced to 0..360.
 */
double GreatCircleCourse(double Lat, double toLat, double dLon);

/*
 * QiblaOf: the direction and distance of the Kaaba from a place.
 *
 *   Lon  longitude of the place, degrees, West positive
 *   Lat  latitude of the place, degrees, North positive
 *
 * Returned: dLon = 39.8261818 + Lon (the difference of longitude, East positive);
 * Qibla = atan2(sin dLon, cos Lat tan 21.4225241 - sin Lat cos dLon), reduced to 0..360
 * (the initial bearing of the great circle); Distance = 6371 km times the central angle
 * ArcCos(sin Lat sin 21.4225241 + cos Lat cos 21.4225241 cos dLon). At the Kaaba itself
 * the bearing is undefined and comes out as 0; at the antipode any direction leads
 * there and the formula gives one of them.
 *
 * Source: the initial course of a great circle (spherical trigonometry), as in
 * J. Meeus, Astronomical Algorithms (1998), chapter 17 for the central angle.
 */
QiblaPlace QiblaOf(double Lon, double Lat);

// The WGS84 ellipsoid: semi-major axis (metres) and flattening.
inline constexpr double kWgs84A = 6378137, kWgs84F = 1 / 298.257223563;

/*
 * GeodesicDistanceKm: the length of the shortest path between two places on the WGS84
 * ellipsoid (the geodesic), by Vincenty's inverse method.
 *
 *   lat1, lon1  first place, degrees (latitude North positive, longitude East positive)
 *   lat2, lon2  second place, degrees
 *
 * Returned: kilometres; 0 for the same place; NaN when the iteration on the difference of
 * longitude on the auxiliary sphere does not settle (places nearly opposite each other on
 * the globe, within about half a degree of the antipode).
 *
 * Source: T. Vincenty, "Direct and inverse solutions of geodesics on the ellipsoid with
 * application of nested equations", Survey Review 23 (176), 88-93 (1975); about 0.5 mm.
 */
double GeodesicDistanceKm(double lat1, double lon1, double lat2, double lon2);

// The Sun over the Kaaba at its transit there: the instant and the declination then.
struct KaabaTransit {
    // Julian day of the transit at the Kaaba (UT, days); NaN when not found.
    double JJ = std::numeric_limits<double>::quiet_NaN();
    double Dec = 0;  // the Sun's declination then, degrees
};

/*
 * SunOverKaaba: the two days of a year when the Sun stands over the Kaaba as it crosses
 * the meridian there: the days whose transit at the Kaaba has the declination nearest to
 * the Kaaba's latitude, the first as the declination grows (late May), the second as it
 * falls (mid July).
 *
 *   year  the year (as the date fields give it; Julian calendar before 15 October 1582)
 *
 * Returned: the two transits, each from the Sun's place at the transit's own instant
 * (SunPlaceAt, two corrections of the hour angle).
 */
struct KaabaDays {
    KaabaTransit rising, falling;
};
KaabaDays SunOverKaaba(double year);

}  // namespace zerin
