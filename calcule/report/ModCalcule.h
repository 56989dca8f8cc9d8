// The calculation module: the Julian-day section, the Sun, the Moon and the planets, each
// written item by item into the report from the observer and the typed results.
//
// Angles are degrees, right ascensions and times of day decimal hours, distances
// astronomical units (the Moon's kilometres). T counts Julian centuries of 36525 days
// from JD 2415020.0.
//
// The computations are the pure routines of JulianDay.h, Kepler.h, Ecliptic.h, Sun.h,
// Sky.h, Moon.h and Planet.h; the writers here run them and write what they computed.
// A value that is not finite stops the report at its quantity (CalcError, see Report.h).
#pragma once

#include "math/Errors.h"
#include "moon/Moon.h"
#include "planets/Planet.h"
#include "report/Report.h"
#include "sun/Sun.h"
#include "time/Observer.h"

namespace zerin {

enum class Body { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto };
inline constexpr int kBodyCount = 10;

// Clears the report and writes the Julian-day section of the observer.
void Calcul_JJ(Report& report, const Observer& observer);

// What the Sun's report computed. In times, a time the Sun never reaches that day is NaN.
struct SunResult {
    SunPlace place;
    SkyPlace sky;
    SunTimes times;
};

// The Sun's place for T: its section, with Kepler's item.
SunPlace WriteSunPlace(Report& report, double T);

// How much of the Sun's report: all of it, or no item after the diameter (the tables, which
// take each time on its own, NaN when the Sun does not reach it).
enum class SunItems { All, ThroughDiameter };

// The Sun's three sections and the end line. When the Sun never reaches an altitude the
// day needs, the message goes to the messenger and the end line follows the last time
// written.
SunResult Calcul_Soleil(Report& report, const Observer& observer, Messenger& messenger,
                        SunItems items = SunItems::All);

// The Moon's sections for the observer; sunLongitude is the Sun's apparent longitude
// (Lg_Soleil) at the same instant.
MoonResult Calcul_Lune(Report& report, const Observer& observer, double sunLongitude);

// Geocentric and observed place of a planet from its elements, its sections written;
// Long_Soleil and R_soleil are the Sun's longitude and distance at the same instant.
PlanetResult Calcul_Planete(Report& report, const Observer& observer, double Long_Soleil,
                            double R_soleil, const OrbitalElements& elements, float diam_Pln);

// A planet's report (Mercury to Pluto): the arguments and elements of its theory, then its
// place (Calcul_Planete) and the end line.
PlanetResult WritePlanetReport(Report& report, const Observer& observer, const SunPlace& sun,
                               Body planet);

}  // namespace zerin
