// The Moon: its geocentric place for an instant (the classical low-precision lunar
// theory), and its place for an observer.
#pragma once

#include <string_view>

#include "sky/Ecliptic.h"
#include "sky/Sky.h"

namespace zerin {

// The fundamental arguments, degrees.
struct MoonArguments {
    double Tc = 0;  // periodic correction of Lp, Mp, D and F
    double Lp = 0;  // Moon's mean longitude, 0..360
    double Mp = 0;  // Moon's mean anomaly, 0..360
    double N = 0;   // longitude of the ascending node, not reduced
    double m = 0;   // Sun's mean anomaly, 0..360
    double D = 0;   // Moon's mean elongation from the Sun, 0..360
    double F = 0;   // Moon's argument of latitude, 0..360
    double e = 0;   // eccentricity factor of the terms in m (unitless)
};

// The three series of the theory, in degrees: the true longitude (the mean longitude
// Lp and 50 terms), the latitude before the node's correction (45 terms) and the
// equatorial horizontal parallax (0.950724 and 30 terms).
enum class MoonSeries { Longitude, Latitude, Parallax };

// The series' sum for the arguments, term by term in the order of its formula text.
double SeriesSum(MoonSeries series, const MoonArguments& arguments);
// The series' formula text as the report writes it, with its line ends.
std::string_view SeriesFormula(MoonSeries series);

// The Moon's geocentric place, degrees unless stated; with the mean obliquity O, right
// ascension Asc (hours) and declination Dec.
struct MoonPlace : MoonArguments, Equatorial {
    double Lg_Lune = 0;     // true ecliptic longitude, 0..360
    double bSeries = 0;     // the latitude series before the node's correction
    double w1 = 0, w2 = 0;  // the node's correction of the latitude (unitless)
    double b = 0;           // ecliptic latitude, not reduced
    double Ge = 0;          // equatorial horizontal parallax
    double r_lune = 0;      // distance from the Earth's centre, kilometres
};

/*
 * MoonPlaceAt: the Moon's geocentric place for an instant.
 *
 *   T  Julian centuries of 36525 days from JD 2415020.0, in the theory's time
 *      (Terrestrial Time; the reports pass the civil instant's T, without Delta T)
 *
 * Returned: the fundamental arguments; the true longitude Lg_Lune (mean longitude and a
 * 50-term series); the latitude b (45 terms, times 1 - w1 - w2); the horizontal
 * parallax Ge (0.950724 and 30 terms) and the distance r_lune = 6378.14 / sin Ge km;
 * the mean obliquity O; the right ascension Asc (hours) and declination Dec. Referred
 * to the mean equinox of date, without nutation; about 10" in longitude.
 *
 * Source: the lunar theory of J. Meeus, Astronomical Formulae for Calculators (1979),
 * after E. W. Brown.
 */
MoonPlace MoonPlaceAt(double T);

// The Moon for an observer: its geocentric place and how the observer sees it.
struct MoonResult : MoonPlace, Observed {};

/*
 * MoonSeenFrom: the Moon on the observer's sky.
 *
 *   place        MoonPlaceAt the instant
 *   JJ           Julian day of the instant (UT, days)
 *   Lon, Lat     observer's longitude (degrees, West positive) and latitude (degrees)
 *   Long_Soleil  the Sun's apparent longitude at the instant (degrees)
 *
 * Returned: the place, the sky place, the parallax arcsin(6378.14 / r_lune), the
 * topocentric place, the diameter 31.22833333' at 384398.9144 km, the elongation
 * arccos(cos(Long_Soleil - Lg_Lune) cos b) and the illuminated fraction
 * (1 + cos(180 - eLong)) / 2 in percent.
 */
MoonResult MoonSeenFrom(const MoonPlace& place, double JJ, double Lon, double Lat,
                        double Long_Soleil);

}  // namespace zerin
