// The new (or old) crescent: the conjunction of a lunation, sunset and moonset (sunrise
// and moonrise) at a place on a date, the best time to look, and the verdicts of
// Yallop's and Odeh's criteria. Pure routines, without report text: the report, the
// table of evenings, the map and the calendar all run these.
//
// Longitudes are West positive, latitudes North positive, angles degrees. Instants are
// Julian days of Universal Time (UT); the theories of the Sun and the Moon take
// Terrestrial Time, TT = UT + Delta T.
#pragma once

#include <array>
#include <limits>

#include "sky/Crossing.h"
#include "time/DeltaT.h"
#include "time/JulianDay.h"

namespace zerin {

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// A body's geocentric place at an instant.
struct BodyPlace {
    double Asc = 0;        // right ascension, hours 0..24
    double Dec = 0;        // declination, degrees
    double Longitude = 0;  // ecliptic longitude, degrees 0..360
    double Latitude = 0;   // ecliptic latitude, degrees (0 for the Sun)
    double Paralax = 0;    // equatorial horizontal parallax, degrees
};

enum class Luminary { Sun, Moon };

// Where the crescent's routines take the Sun's and the Moon's places from.
class SunMoonSource {
  public:
    virtual ~SunMoonSource() = default;
    virtual BodyPlace SunAt(double JJ) const = 0;   // JJ in UT
    virtual BodyPlace MoonAt(double JJ) const = 0;  // JJ in UT
    BodyPlace At(Luminary body, double JJ) const {
        return body == Luminary::Sun ? SunAt(JJ) : MoonAt(JJ);
    }
};

/*
 * TheorySunMoon: the places by the program's own theories of the Sun (SunPlaceAt) and
 * the Moon (MoonPlaceAt), taken at T = (JJ + DeltaT / 86400 - 2415020) / 36525.
 *
 *   DeltaT  TT - UT, seconds, held for every instant asked for
 *
 * The Sun: its apparent longitude, right ascension and declination, and its parallax
 * 8.794" / R_soleil. The Moon: its true longitude and latitude (no nutation), right
 * ascension, declination and the parallax Ge of its series.
 */
class TheorySunMoon : public SunMoonSource {
  public:
    explicit TheorySunMoon(double DeltaT) : DeltaT_(DeltaT) {}
    double DeltaT() const { return DeltaT_; }
    // T of the theories for an instant of UT.
    double TheoryT(double JJ) const;
    BodyPlace SunAt(double JJ) const override;
    BodyPlace MoonAt(double JJ) const override;

  private:
    double DeltaT_;
};

// ------------------------------------------------------------------ the conjunction

inline constexpr int kMaxConjunctionSteps = 12;

struct ConjunctionStep {
    double JJ = 0;   // UT
    double Dif = 0;  // Lg_Lune - Lg_Soleil brought into -180..180, degrees
};

struct Conjunction {
    double k = 0;    // the lunation: 0 the new moon of 2000 January 6
    double JJ0 = 0;  // the mean new moon of lunation k (TT)
    double JJ1 = 0;  // the same in UT, where the steps start
    std::array<ConjunctionStep, kMaxConjunctionSteps> steps{};
    int count = 0;         // steps taken
    double JJ = kNoValue;  // the conjunction (UT); NaN when the steps did not settle
};

// The mean synodic month (days) and the first lunation's mean new moon (JDE).
inline constexpr double kSynodicMonth = 29.530588861;
inline constexpr double kFirstNewMoon2000 = 2451550.09766;

/*
 * MeanNewMoon: the instant of the mean new moon of lunation k.
 *
 *   k  lunation number, 0 for the new moon of 2000 January 6 (negative before)
 *
 * Returned: JDE (TT) = 2451550.09766 + 29.530588861 k + 0.00015437 Tk^2
 * - 0.00000015 Tk^3 + 0.00000000073 Tk^4, Tk = k / 1236.85.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), formula 49.1.
 */
double MeanNewMoon(double k);

/*
 * LunationNear: the lunation whose mean new moon lies nearest an instant.
 *
 *   JJ  instant (TT, days)
 *
 * Returned: k = Int((JJ - 2451550.09766) / 29.530588861 + 0.5), Int rounding down.
 */
double LunationNear(double JJ);

/*
 * ConjunctionOf: the instant when the Moon's longitude equals the Sun's.
 *
 *   source  the places (TheorySunMoon: Lg_Lune and Lg_Soleil of the two theories)
 *   k       lunation number (LunationNear)
 *   DeltaT  TT - UT, seconds
 *
 * Returned: from the mean new moon (in UT), steps t(n+1) = t(n) - Dif(n) / rate, the
 * rate 360 / 29.530588861 degrees a day for the first step and the secant
 * (Dif(n) - Dif(n-1)) / (t(n) - t(n-1)) after it, until a step moves less than 1e-8 day
 * (a millisecond); each step is kept. The Sun's longitude is apparent, the Moon's true
 * (without nutation): the theories' own conjunction.
 *
 * Source: the iteration on the difference of longitudes, after J. Meeus, Astronomical
 * Algorithms, 2nd ed. (1998), chapter 49 (mean new moon).
 */
Conjunction ConjunctionOf(const SunMoonSource& source, double k, double DeltaT);

// The conjunction, by the theories and their Delta T, of the lunation whose mean new moon lies
// nearest the instant JJ (UT, days).
Conjunction ConjunctionNear(const TheorySunMoon& theories, double JJ);

// ------------------------------------------------------------------ rising and setting

// The altitude of the centre of each body when its upper limb touches the horizon
// (standard refraction 34'; the Sun's semi-diameter 16'; the Moon's 0.2725 of its
// parallax, which also lowers it).
inline constexpr double kSunHorizon = -0.8333;
inline constexpr double kMoonParallaxFactor = 0.7275;
inline constexpr double kMoonHorizon = -0.5667;
double HorizonAltitude(Luminary body, double Paralax);

// The rate of the hour angle, degrees of sidereal rotation a day of UT.
inline constexpr double kSiderealRate = 360.985647366;

inline constexpr int kMaxCrossingSteps = 12;

struct Crossing {
    using Kind = CrossingKind;
    Kind kind = Kind::Unsettled;
    double JJ = kNoValue;                           // the instant (UT)
    std::array<double, kMaxCrossingSteps> steps{};  // the instant after each step (UT)
    int count = 0;
    // At the last step: the altitude sought, the hour angle that reaches it, the body's
    // declination (degrees).
    double h0 = kNoValue, Ha0 = kNoValue, Dec = kNoValue;
    double Paralax = kNoValue;  // the body's parallax at the last step, degrees
};

/*
 * HorizonCrossing: the instant a body rises or sets.
 *
 *   source       the places
 *   body         the Sun (centre at -0.8333) or the Moon (centre at 0.7275 pi - 0.5667,
 *                pi its parallax at the instant)
 *   JJ           the instant to start from (UT)
 *   Lon, Lat     observer's longitude (degrees, West positive) and latitude (degrees)
 *   rising       true for rising, false for setting
 *   afterTransit true: the first step goes from the body's transit nearest JJ to the
 *                rising or setting of that day (a start near noon finds that day's);
 *                false: every step goes to the nearest crossing (a start near sunset
 *                finds the moonset nearest to it, before or after)
 *
 * Returned: the instant; each step takes the body's place at the instant reached, the
 * hour angle Ha0 = ArcCos((sin h0 - sin Lat sin Dec) / (cos Lat cos Dec)) at which it
 * crosses (-Ha0 rising), and moves by (Ha0 - Ha) / 360.985647 days, Ha brought into
 * -180..180, until a step moves less than 1e-7 day (0.01 s). NeverSets or NeverRises
 * when the arc cosine's argument lies beyond -1 or 1 at a step.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 15, iterated
 * with the body's place at each instant.
 */
Crossing HorizonCrossing(const SunMoonSource& source, Luminary body, double JJ, double Lon,
                         double Lat, bool rising, bool afterTransit);

// ------------------------------------------------------------------ the best time

// A body on the observer's sky at the best time (geocentric, airless).
struct SkyAt {
    BodyPlace place;
    double Ha = 0;        // hour angle, degrees 0..360
    double Altitude = 0;  // degrees
    double Azimut = 0;    // degrees from the North through the East
};

struct BestTime {
    double Tb = 0;  // the instant (UT)
    SkyAt sun, moon;
    double ARCL = 0;     // geocentric elongation, degrees
    double ARCV = 0;     // the Moon's altitude minus the Sun's, degrees
    double DAZ = 0;      // the Sun's azimuth minus the Moon's, degrees
    double Paralax = 0;  // the Moon's horizontal parallax, degrees
    double SD = 0;       // the Moon's geocentric semi-diameter 0.27245 pi, minutes of arc
    double SDt = 0;      // topocentric semi-diameter SD (1 + sin h sin pi), minutes of arc
    double W = 0;        // Yallop's width SD' (1 - cos ARCL), minutes of arc
    double q = 0;        // Yallop's q
    // Odeh: the Moon's topocentric place and altitude, and the same quantities from it.
    double TopoAsc = 0;           // degrees 0..360
    double TopoDec = 0;           // degrees
    double TopoAlt = 0;           // degrees
    double ARCLt = 0, ARCVt = 0;  // degrees
    double Wt = 0;                // SD' (1 - cos ARCL'), minutes of arc
    double V = 0;                 // Odeh's V
};

/*
 * CrescentAt: the crescent's geometry and both criteria at an instant.
 *
 *   source    the places
 *   Tb        the instant (UT), the best time
 *   Lon, Lat  observer's longitude (degrees, West positive) and latitude (degrees)
 *
 * Returned: each body's hour angle, airless geocentric altitude and azimuth; ARCL =
 * ArcCos(cos(Lg_Soleil - Lg_Lune) cos b); ARCV; DAZ; SD = 0.27245 pi, SD' = SD (1 +
 * sin h sin pi) with h the Moon's altitude; W' = SD' (1 - cos ARCL) and Yallop's q; the
 * Moon's topocentric place (TopocentricPlace), its altitude, ARCL' from the Sun's
 * equatorial place and the Moon's topocentric one (the Sun's 9" of parallax neglected),
 * ARCV' = the Moon's topocentric altitude minus the Sun's, W = SD' (1 - cos ARCL') and
 * Odeh's V.
 *
 * Sources: B. D. Yallop, A Method for Predicting the First Sighting of the New
 * Crescent Moon, NAO Technical Note 69 (1997); M. Sh. Odeh, New Criterion for Lunar
 * Crescent Visibility, Experimental Astronomy 18, 39-64 (2004).
 */
BestTime CrescentAt(const SunMoonSource& source, double Tb, double Lon, double Lat);

/*
 * YallopQ: q = (ARCV - (11.8371 - 6.3226 W + 0.7319 W^2 - 0.1018 W^3)) / 10.
 *
 *   ARCV  arc of vision, degrees (geocentric, airless)
 *   W     the crescent's topocentric width W', minutes of arc
 *
 * Source: Yallop (1997), NAO Technical Note 69.
 */
double YallopQ(double ARCV, double W);

/*
 * OdehV: V = ARCV - (7.1651 - 6.3226 W + 0.7319 W^2 - 0.1018 W^3).
 *
 *   ARCV  topocentric arc of vision, degrees
 *   W     the crescent's topocentric width, minutes of arc
 *
 * Source: Odeh (2004), Experimental Astronomy 18.
 */
double OdehV(double ARCV, double W);

// Yallop's zone of q: 'A' q > 0.216, 'B' > -0.014, 'C' > -0.160, 'D' > -0.232,
// 'E' > -0.293, else 'F'.
char YallopZone(double q);
// Odeh's zone of V: 'A' V >= 5.65, 'B' >= 2, 'C' >= -0.96, else 'D'.
char OdehZone(double V);

enum class Criterion { Yallop, Odeh };

// Below about 7 degrees of elongation no crescent has ever been seen (A. Danjon, 1932).
inline constexpr double kDanjonLimit = 7;

// ------------------------------------------------------------------ the evening

// How an evening (morning) ends.
enum class CrescentEnd {
    Computed,          // the best time and both verdicts
    NoSunset,          // the Sun does not set (rise) that day: NeverSets or NeverRises
    NoMoonset,         // the Moon does not set (rise) that day
    ConjunctionAfter,  // the conjunction falls after sunset (before sunrise: the old
                       // crescent is gone)
    MoonFirst,         // the Moon sets before the Sun (rises after it)
};

struct CrescentEvening {
    bool morning = false;
    Crossing sun, moon;     // sunset and moonset (sunrise and moonrise)
    double Lag = kNoValue;  // minutes: moonset - sunset (moonrise - sunrise)
    double Age = kNoValue;  // hours from the conjunction to sunset (sunrise)
    CrescentEnd end = CrescentEnd::NoSunset;
    BestTime best;              // when Computed
    char yallop = 0, odeh = 0;  // the zones, when Computed
};

/*
 * CrescentEveningOf: the crescent of one evening (or morning) at a place.
 *
 *   source       the places
 *   conjunction  the conjunction of the lunation (UT), from ConjunctionOf
 *   noon         an instant near the local noon of the date (UT)
 *   Lon, Lat     observer's longitude (degrees, West positive) and latitude (degrees)
 *   morning      false: the new crescent after sunset; true: the old one before sunrise
 *
 * Returned: sunset (sunrise) after the transit nearest noon; the moonset (moonrise)
 * nearest it; Lag and Age; then, unless the day has no sunset, the Moon no setting, the
 * conjunction falls after sunset (before sunrise) or the Moon sets first (rises after
 * the Sun), the best time Tb = sunset + 4/9 Lag (sunrise + 4/9 Lag, Lag negative) and
 * CrescentAt there, with both zones.
 *
 * Source: Yallop (1997): the best time and the lag.
 */
CrescentEvening CrescentEveningOf(const SunMoonSource& source, double conjunction, double noon,
                                  double Lon, double Lat, bool morning);

}  // namespace zerin
