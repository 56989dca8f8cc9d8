// A body on the observer's sky (Sun, Moon and planets alike): sidereal time of the
// instant, hour angle, azimuth and altitude; and the topocentric correction of the Moon
// and the planets. Longitudes are West positive, latitudes North positive.
#pragma once

#include <string_view>

namespace zerin {

class Report;
class SectionText;

struct SkyPlace {
    double UT = 0;                  // fraction of the day since 0 h UT
    double TS_GMT = 0, TS_Loc = 0;  // hours, TS_Loc not reduced
    double Ha = 0;                  // degrees 0..360
    double Azimut = 0;              // degrees from the North through the East
    double Altitude = 0;            // degrees
};

struct TopoPlace {
    double GeocLat = 0;   // observer's geocentric latitude, degrees
    double DiCentre = 0;  // observer's distance from the Earth's centre, equatorial radii
    double Geo = 0;       // auxiliary angle of the declination correction, degrees
    double TopoAsc = 0;   // degrees 0..360
    double TopoDec = 0;   // degrees
};

// A body as the observer sees it (the Moon, a planet), after its geocentric place.
struct Observed {
    SkyPlace sky;
    double Paralax = 0;  // horizontal parallax, degrees
    TopoPlace topo;
    double Diam = 0;   // apparent diameter: the Moon's in minutes of arc, a planet's in seconds
    double eLong = 0;  // elongation from the Sun, degrees 0..180
    double illum = 0;  // illuminated fraction, percent
};

struct Horizontal {
    double Azimut = 0, Altitude = 0;  // degrees
};

// The fraction of the day since 0 h UT of the Julian day JJ (UT): JJ + 0.5 - Fix(JJ + 0.5).
double DayFraction(double JJ);

/*
 * GreenwichSiderealTime: the mean sidereal time at Greenwich of an instant.
 *
 *   JJ  Julian day of the instant (UT, days)
 *
 * Returned: hours; the polynomial 0.276919398 + 100.0021359 T + 0.000001075 T^2 in
 * revolutions (T from JJ), plus the fraction of the day since 0 h UT, keeps its
 * fraction (truncated toward zero) times 24: 0..24 from 1900 on, negative before.
 *
 * Source: S. Newcomb, as in J. Meeus, Astronomical Formulae for Calculators (1979), where
 * the polynomial gives 0 h UT. Taken at the instant's T it already holds the 0.0027379
 * revolution a day by which sidereal time gains; the day's fraction adds the rest.
 */
double GreenwichSiderealTime(double JJ);

// Hour angle in degrees 0..360 of a body at right ascension Asc (hours), for the local
// sidereal time TS_Loc (hours): Angle_360_Deg((TS_Loc - Asc) * 15).
double HourAngle(double TS_Loc, double Asc);

/*
 * HorizontalPlace: azimuth and altitude from the hour angle.
 *
 *   Ha   hour angle (degrees)
 *   Dec  declination (degrees)
 *   Lat  observer's latitude (degrees, North positive)
 *
 * Returned: Azimut (degrees 0..360 from the North through the East; a direction due
 * South or North that makes X_hor exactly 0 gives 180) and Altitude (degrees).
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), formulae 13.5 and 13.6
 * (azimuth from the South there).
 */
Horizontal HorizontalPlace(double Ha, double Dec, double Lat);

/*
 * SkyPlaceAt: a body on the observer's sky at an instant.
 *
 *   JJ        Julian day (UT, days)
 *   Lon, Lat  observer's longitude (degrees, West positive) and latitude (degrees)
 *   Asc, Dec  the body's right ascension (hours) and declination (degrees)
 *
 * Returned: UT, TS_GMT and TS_Loc = TS_GMT - Lon / 15 (hours, not reduced), the hour
 * angle, azimuth and altitude (degrees).
 */
SkyPlace SkyPlaceAt(double JJ, double Lon, double Lat, double Asc, double Dec);

/*
 * TopocentricPlace: the place seen from the observer instead of the Earth's centre.
 *
 *   Paralax   the body's horizontal parallax (degrees)
 *   Asc, Dec  geocentric right ascension (hours) and declination (degrees)
 *   Ha        hour angle (degrees)
 *   Lat       observer's latitude (degrees)
 *
 * Returned: the observer's geocentric latitude GeocLat = Lat - 0.1924 sin 2 Lat and
 * distance DiCentre = 0.99833 + 0.00167 cos 2 Lat (the Earth's figure), the auxiliary
 * angle Geo, TopoAsc (degrees 0..360) and TopoDec (degrees). On the equator, where
 * sin Geo is 0 and the usual quotient 0 / 0, TopoDec takes its limit
 * Dec + Paralax DiCentre cos Ha sin Dec.
 *
 * Source: J. Meeus, Astronomical Formulae for Calculators (1979).
 */
TopoPlace TopocentricPlace(double Paralax, double Asc, double Dec, double Ha, double Lat);

/*
 * ObservedAt: a body on the observer's sky and its topocentric place.
 *
 *   JJ, Lon, Lat, Asc, Dec  as for SkyPlaceAt
 *   Paralax                 the body's horizontal parallax (degrees)
 *
 * Returned: sky, Paralax and topo; Diam, eLong and illum are the caller's to fill.
 */
Observed ObservedAt(double JJ, double Lon, double Lat, double Asc, double Dec, double Paralax);

/*
 * TopocentricHorizontal: where the observer sees a body on the sky: the azimuth and altitude
 * of its topocentric place.
 *
 *   seen  the body as ObservedAt gives it (its local sidereal time and topocentric place)
 *   Lat   observer's latitude (degrees, North positive)
 *
 * Returned: HorizontalPlace of the hour angle of TopoAsc at TS_Loc and of TopoDec: the
 * Moon's altitude is its parallax lower than the geocentric one near the horizon.
 */
Horizontal TopocentricHorizontal(const Observed& seen, double Lat);

// The report's section of the sky place: `banner` (with its line ends) before the
// sidereal time, `azimuthLabel` (with its line end) over the azimuth's formula.
void WriteSky(Report& report, std::string_view banner, std::string_view azimuthLabel,
              const SkyPlace& sky);
// The report's sections of a body seen by the observer (the Moon, a planet): the sky
// place under `banner`, the parallax item (its text, with the slot {Paralax:deg}) and
// the topocentric place.
void WriteObserved(Report& report, std::string_view banner, const SectionText& parallaxItem,
                   const Observed& seen);

}  // namespace zerin
