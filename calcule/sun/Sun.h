// The Sun: its place for an instant, and the day's transit, rising, setting and prayer
// times for an observer.
#pragma once

#include <limits>

#include "sky/Ecliptic.h"
#include "sky/Sky.h"

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
    double Maghrib = std::numeric_limits<double>::quiet_NaN();  // by its own angle, if any
    bool complete = false;                                      // every time was reached
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

// The Sun's right ascension (hours) and declination (degrees) at one instant, with the sine
// and cosine of the declination: a node of the day's interpolation.
struct SunNode {
    double JJ = 0;  // Julian day of the instant (UT, days)
    double Asc = 0, Dec = 0, sinDec = 0, cosDec = 0;
    double R_soleil = 0;  // distance, astronomical units
};

// SunPlaceAt the instant's T, kept as a node.
SunNode SunNodeAt(double JJ);

/*
 * SunCourse: the Sun's course through one day, from its place at three instants a day
 * apart (the day before, the day, the day after), interpolated between them.
 *
 *   before, noon, after  nodes at JJ - 1, JJ and JJ + 1 (days, UT)
 *
 * Each quantity y at n days from the middle node is y0 + n (a + b + n c) / 2, with a and b
 * the differences of consecutive nodes and c = b - a; the right ascension is first made
 * continuous across 0 h. The local sidereal time runs linearly from the middle node's
 * (GreenwichSiderealTime) at the rate of that formula, 1.0027379... turns a day.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), formula 3.3 (interpolation
 * from three tabular values) and chapter 15 (rising, transit and setting from the places
 * at three consecutive days).
 */
class SunCourse {
  public:
    SunCourse(const SunNode& before, const SunNode& noon, const SunNode& after);

    double Asc(double n) const { return asc_.At(n); }        // hours, not reduced
    double AscRate(double n) const { return asc_.Rate(n); }  // hours a day
    double Dec(double n) const { return dec_.At(n); }        // degrees
    double DecRate(double n) const { return dec_.Rate(n); }  // degrees a day
    double SinDec(double n) const { return sinDec_.At(n); }
    double CosDec(double n) const { return cosDec_.At(n); }
    // Greenwich sidereal time, hours, not reduced.
    double SiderealTime(double n) const { return sidereal0_ + siderealRate_ * n; }
    double SiderealRate() const { return siderealRate_; }  // hours a day
    const SunNode& Noon() const { return noon_; }

  private:
    struct Quadratic {
        double y0 = 0, b = 0, c = 0;  // y0 + n (b + n c)
        Quadratic() = default;
        Quadratic(double before, double noon, double after);
        double At(double n) const { return y0 + n * (b + n * c); }
        double Rate(double n) const { return b + 2 * c * n; }
    };
    SunNode noon_;
    Quadratic asc_, dec_, sinDec_, cosDec_;
    double sidereal0_ = 0, siderealRate_ = 0;
};

// An observer as every day's times use it.
struct SunObserver {
    double Lat = 0;        // degrees, North positive
    double hoursEast = 0;  // -Lon / 15, Lon in degrees, West positive
    double sinLat = 0, inverseCosLat = 0, tanLat = 0;
};

// The observer at longitude Lon (degrees, West positive) and latitude Lat (degrees).
SunObserver SunObserverAt(double Lon, double Lat);

/*
 * SunHorizontalAt: the Sun on the observer's sky at an instant of its course, as the day's
 * times see it (their curve of altitude).
 *
 *   course    the Sun's course through the day
 *   observer  the observer (SunObserverAt)
 *   n         the instant, days from the course's middle node
 *
 * Returned: HorizontalPlace of the hour angle (the course's sidereal time at the observer
 * less its right ascension) and of the course's declination at n. Where the altitude is
 * one of the times' altitudes, n is that time's instant (SunDayTimesExact).
 */
Horizontal SunHorizontalAt(const SunCourse& course, const SunObserver& observer, double n);

/*
 * SunDayTimesExact: the day's transit, rising, setting and prayer times, each found at
 * its own instant: the hour angle of the Sun's place at that instant (SunCourse) is
 * brought to the hour angle of the time's altitude for the declination of that instant,
 * by Newton's method, until a step is below a tenth of a second.
 *
 *   course     the Sun's course through the day
 *   observer   the observer (SunObserverAt its longitude and latitude)
 *   noonClock  the reading (hours) of the clock the times are given on, at the middle
 *              node's instant: 12 for nodes at noon standard time
 *   previous   the times of the day before on the same clock, if known: starts for the
 *              steps (the result is the same to far below a second, found faster)
 *
 * Returned: the same quantities as SunDayTimes, on that clock: the transit when the hour
 * angle is 0; rising and setting of the upper limb (centre at -0.25 degrees), dawn (-19)
 * and nightfall (-17) before and after it; the afternoon times for the zenith distance at
 * the transit. Duirn and the Fadl are the intervals from the transit; AltAsr the zenith
 * distances of the afternoon altitudes; Diam is the middle node's. A time the Sun does not
 * reach that day is NaN. Every time is looked for within half a day of the transit, on
 * its side: never the day before's or the day after's, whatever the starts. Near the
 * latitude where dawn and nightfall cease, the Sun's lowest point (near midnight) decides
 * whether they exist.
 */
SunTimes SunDayTimesExact(const SunCourse& course, const SunObserver& observer, double noonClock,
                          const SunTimes* previous = nullptr);

// The report's altitude of the Sun's centre at rising and setting (the upper limb on the
// horizon, without refraction), and its depressions below the horizon at dawn and
// nightfall (the default method's), degrees.
inline constexpr double kReportHorizon = -0.25;
inline constexpr double kDawnDepression = 19, kNightfallDepression = 17;

// The altitudes of the Sun's centre (degrees) at which a timetable's times fall: rising and
// setting (the report's by default), dawn and nightfall, and a Maghrib by its own angle
// (NaN: none, Maghrib is the setting).
struct SunAltitudes {
    double horizon = kReportHorizon, dawn = -kDawnDepression, nightfall = -kNightfallDepression;
    double maghrib = std::numeric_limits<double>::quiet_NaN();
};

// Their sines, computed once for every day of a table.
struct SunAltitudeSines {
    double horizon = 0, dawn = 0, nightfall = 0, maghrib = 0;
};
SunAltitudeSines SinesOf(const SunAltitudes& altitudes);

// SunDayTimesExact at the altitudes of those sines; Maghrib is NaN unless its angle is given.
SunTimes SunDayTimesExact(const SunCourse& course, const SunObserver& observer, double noonClock,
                          const SunAltitudeSines& sines, const SunTimes* previous = nullptr);

}  // namespace zerin
