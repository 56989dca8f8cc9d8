// The Sun: its place for an instant, and the day's transit, rising, setting and prayer
// times for an observer.
#pragma once

#include "Ecliptic.h"
#include "Sky.h"

namespace zerin {

// The Sun's place, degrees unless stated; with its mean obliquity O, right ascension
// Asc (hours) and declination Dec.
struct SunPlace : Equatorial {
    double L = 0;          // mean longitude, 0..360
    double m = 0;          // mean anomaly, 0..360
    double e = 0;          // eccentricity of the Earth's orbit
    double EE = 0;         // eccentric anomaly
    double R_soleil = 0;   // distance, astronomical units
    double N = 0;          // longitude of the Moon's ascending node, 0..360
    double C = 0;          // equation of the centre, 0..360 (a negative one as 360 + C)
    double Lg_Soleil = 0;  // apparent longitude, 0..360
};

/*
 * SunPlaceAt: the Sun's place for an instant.
 *
 *   T  Julian centuries of 36525 days from JD 2415020.0, in the theory's time
 *      (Terrestrial Time; the reports pass the civil instant's T, without Delta T)
 *
 * Returned: the mean longitude L and mean anomaly m, the eccentricity e, the eccentric
 * anomaly EE (Kepler's equation), the distance R_soleil = 1.0000002 (1 - e cos EE) in
 * astronomical units, the Moon's node N, the equation of the centre C, the apparent
 * longitude Lg_Soleil = L + C - 0.00569 - 0.00479 sin N, the mean obliquity O, and the
 * right ascension Asc (hours) and declination Dec of the apparent longitude.
 *
 * Source: S. Newcomb's solar theory as in J. Meeus, Astronomical Formulae for
 * Calculators (1979); about 0.01 degree.
 */
SunPlace SunPlaceAt(double T);

// The Sun's daily circle for an observer: the products that every hour angle of the day
// uses.
struct DayCircle {
    double sines = 0;    // sin Dec sin Lat
    double cosines = 0;  // cos Dec cos Lat
};

DayCircle DayCircleOf(double Dec, double Lat);

/*
 * HourAngleOfAltitude: the hour angle at which the Sun reaches an altitude.
 *
 *   sineAltitude  sine of the altitude of the Sun's centre
 *   circle        the day's circle (DayCircleOf the declination and the latitude)
 *
 * Returned: hours, 0..12: the arc cosine of (sineAltitude - sines) / cosines, over 15.
 * NaN when the Sun never reaches the altitude that day (the cosine outside -1..1, or a
 * pole where cosines is 0); exactly -1 and 1 are reached (12 and 0 hours).
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), formula 15.1.
 */
double HourAngleOfAltitude(double sineAltitude, const DayCircle& circle);

// Diameter, transit, rising, setting and prayer times: decimal hours of the zone's
// standard time, not reduced into 0..24 (but MIDI). A time the Sun does not reach that
// day is NaN, and so is its hour-angle interval Fadl.
struct SunTimes {
    double Diam = 0;   // apparent diameter, minutes of arc
    double MIDI = 0;   // transit, 0..24
    double Duirn = 0;  // half the arc of the visible day
    double Lever = 0, Coucher = 0;
    double AltAsr1 = 0, FadlAsr1 = 0, Asr1 = 0;  // zenith distance (degrees), interval
    double AltAsr2 = 0, FadlAsr2 = 0, Asr2 = 0;
    double FadlIcha = 0, Icha = 0;
    double FadlFajr = 0, Fajr = 0;
    bool complete = false;  // every time was reached
};

/*
 * SunDayTimes: the day's transit, rising, setting and prayer times.
 *
 *   sun   the Sun's place at an instant of the day (right ascension, declination and
 *         distance are used)
 *   sky   the Sun on the observer's sky at that instant (UT and TS_Loc are used)
 *   Lat   observer's latitude (degrees)
 *   Zone  time zone, hours in the sense of the longitude (one hour ahead of Greenwich
 *         is -1)
 *
 * Returned: the diameter 31.98766667 / R_soleil; the transit MIDI = Asc - TS_Loc +
 * UT * 24 - Zone in 0..24; rising and setting of the upper limb (altitude -0.25); the
 * afternoon times when a shadow equals the noon shadow plus once (Asr1) or twice (Asr2)
 * the object's height; nightfall (-17) and dawn (-19). The declination is that of the
 * instant, held for the whole day.
 */
SunTimes SunDayTimes(const SunPlace& sun, const SkyPlace& sky, double Lat, double Zone);

}  // namespace zerin
