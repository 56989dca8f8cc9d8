// A planet's place seen from the Earth's centre and from the observer, from its
// heliocentric orbital elements.
#pragma once

#include "sky/Ecliptic.h"
#include "sky/Sky.h"

namespace zerin {

// Heliocentric elements, degrees unless stated.
struct OrbitalElements {
    double L = 0;  // mean longitude
    double a = 0;  // semi-major axis, astronomical units
    double e = 0;  // eccentricity
    double i = 0;  // inclination
    double W = 0;  // argument of perihelion (the longitude of perihelion is W + N)
    double N = 0;  // longitude of the ascending node
};

// The planet's geocentric place, degrees unless stated; with the mean obliquity O, right
// ascension Asc (hours) and declination Dec.
struct PlanetPlace : Equatorial {
    double m = 0;           // mean anomaly, 0..360
    double EE = 0;          // eccentric anomaly
    double R_Pt = 0;        // distance from the Sun, astronomical units
    double V = 0;           // true anomaly, 0..180
    double U = 0;           // argument of latitude, 0..360
    double Lh = 0;          // heliocentric longitude, not reduced
    double b = 0;           // heliocentric latitude
    double G = 0;           // heliocentric longitude from the Sun's, 0..360
    double Ls = 0;          // geocentric longitude counted from the Sun's
    double L = 0;           // geocentric longitude, 0..360
    double r_Pln_Erth = 0;  // distance from the Earth, astronomical units
    double Be = 0;          // geocentric latitude
};

/*
 * PlanetPlaceAt: a planet's place seen from the Earth's centre.
 *
 *   elements              the planet's heliocentric elements at the instant
 *   T                     Julian centuries from JD 2415020.0 (for the obliquity)
 *   Long_Soleil, R_soleil the Sun's apparent longitude (degrees) and distance (AU) at
 *                         the instant
 *
 * Returned: mean, eccentric and true anomaly, distance from the Sun, argument of
 * latitude, heliocentric longitude and latitude, the longitude from the Sun's, the
 * geocentric longitude, distance and latitude, the obliquity, right ascension (hours)
 * and declination. A quadrant rule with X exactly 0 keeps the longitude it started
 * from (the mean longitude, then the heliocentric one).
 *
 * Source: J. Meeus, Astronomical Formulae for Calculators (1979), planetary positions.
 */
PlanetPlace PlanetPlaceAt(const OrbitalElements& elements, double T, double Long_Soleil,
                          double R_soleil);

// A planet for an observer: its geocentric place and how the observer sees it.
struct PlanetResult : PlanetPlace, Observed {
    double FV = 0;  // phase angle, degrees 0..180
};

/*
 * PlanetSeenFrom: the planet on the observer's sky.
 *
 *   place      PlanetPlaceAt the instant
 *   diam_Pln   apparent diameter at one astronomical unit (seconds of arc)
 *   JJ         Julian day of the instant (UT, days)
 *   Lon, Lat   observer's longitude (degrees, West positive) and latitude (degrees)
 *   R_soleil   the Sun's distance (AU)
 *
 * Returned: the place, the sky place, the parallax (8.794" at one astronomical unit
 * from the Earth), the topocentric place, the diameter, and from the triangle
 * Sun-Earth-planet the elongation, the phase angle and the illuminated fraction.
 */
PlanetResult PlanetSeenFrom(const PlanetPlace& place, double diam_Pln, double JJ, double Lon,
                            double Lat, double R_soleil);

}  // namespace zerin
