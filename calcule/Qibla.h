// The direction of the Kaaba from a place, and the distance to it, along the great
// circle. Longitudes are West positive (the program's convention), latitudes North
// positive, all in degrees.
#pragma once

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

}  // namespace zerin
