// The mean obliquity of the ecliptic (Sun, Moon and planets), the longitude of the
// Moon's ascending node on it (Sun and Moon), and ecliptic to equatorial coordinates.
#pragma once

#include <string_view>

#include "Report.h"

namespace zerin {

// Degrees, for T in Julian centuries of 36525 days from JD 2415020.0; not reduced.
// Source: S. Newcomb, as in J. Meeus, Astronomical Formulae for Calculators (1979).
inline double MeanObliquity(double T) {
    return 23.452294 - 0.0130125 * T - 0.00000164 * T * T + 0.000000503 * T * T * T;
}

// The formula as the report writes it, with its line end.
inline constexpr std::string_view kMeanObliquityFormula =
    "O = 23.452294 - (0.0130125 * T) - (0.00000164 * T * T) + (0.000000503 * T * T * T)\r\n";

// Degrees, for the same T; not reduced (the Sun reduces it, the Moon does not).
inline double MoonNode(double T) {
    return 259.183275 - 1934.142 * T + 0.002078 * T * T + 0.0000022 * T * T * T;
}

inline constexpr ItemText kMoonNodeItem{
    "N", Unit::Degrees, " عقدة القمر بالدرج\r\n",
    "N = 259.183275 - (1934.142 * T) + (0.002078 * T * T) + (0.0000022 * T * T * T)"};

struct Equatorial {
    double Asc = 0;  // right ascension, hours 0..24
    double Dec = 0;  // declination, degrees
};

/*
 * EclipticToEquatorial: right ascension and declination of a direction given on the
 * ecliptic.
 *
 *   longitude  ecliptic longitude (degrees)
 *   latitude   ecliptic latitude (degrees; 0 for the Sun)
 *   O          obliquity of the ecliptic (degrees)
 *
 * Returned: Asc (hours, 0..24) and Dec (degrees). Asc is the arc tangent of
 * Y / X, Y = cos O sin longitude - tan latitude sin O, X = cos longitude, put into the
 * quadrant of (X, Y): X > 0 as it stands, X < 0 plus 180 when Y > 0 and minus 180
 * otherwise (Y exactly 0 included), X exactly 0 gives 0; then divided by 15 and reduced
 * into 0..24.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), formulae 13.3 and 13.4.
 */
Equatorial EclipticToEquatorial(double longitude, double latitude, double O);

}  // namespace zerin
