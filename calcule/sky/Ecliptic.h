// The mean obliquity of the ecliptic (Sun, Moon and planets), the longitude of the
// Moon's ascending node on it (Sun and Moon), and ecliptic to equatorial coordinates.
#pragma once

namespace zerin {

// Degrees, for T in Julian centuries of 36525 days from JD 2415020.0; not reduced.
// Source: S. Newcomb, as in J. Meeus, Astronomical Formulae for Calculators (1979).
inline double MeanObliquity(double T) {
    return 23.452294 - 0.0130125 * T - 0.00000164 * T * T + 0.000000503 * T * T * T;
}

// The formula as the report writes it (a string literal, to be joined to the texts of
// the Sun's, the Moon's and the planets' sections).
#define ZERIN_MEAN_OBLIQUITY_FORMULA \
    "O = 23.452294 - (0.0130125 * T) - (0.00000164 * T * T) + (0.000000503 * T * T * T)"

// Degrees, for the same T; not reduced (the Sun reduces it, the Moon does not).
inline double MoonNode(double T) {
    return 259.183275 - 1934.142 * T + 0.002078 * T * T + 0.0000022 * T * T * T;
}

// The report's item of the node, the same in the Sun's section and the Moon's.
#define ZERIN_MOON_NODE_ITEM                                                                   \
    " عقدة القمر بالدرج\r\n"                                                    \
    "N = 259.183275 - (1934.142 * T) + (0.002078 * T * T) + (0.0000022 * T * T * T) = {N:deg}" \
    "\r\n\r\n"

// A place on the equator, with the obliquity it was turned by.
struct Equatorial {
    double O = 0;    // obliquity of the ecliptic, degrees
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
 * Returned: O as given, Asc (hours, 0..24) and Dec (degrees). Asc is the arc tangent of
 * Y / X, Y = cos O sin longitude - tan latitude sin O, X = cos longitude, put into the
 * quadrant of (X, Y): X > 0 as it stands, X < 0 plus 180 when Y > 0 and minus 180
 * otherwise (Y exactly 0 included), X exactly 0 gives 0; then divided by 15 and reduced
 * into 0..24.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), formulae 13.3 and 13.4.
 */
Equatorial EclipticToEquatorial(double longitude, double latitude, double O);

// The quadrant rule of the right ascension as the report writes it, after the texts of
// Y and X (a string literal, for the Sun's, the Moon's and the planets' sections).
#define ZERIN_RIGHT_ASCENSION_RULE          \
    "إذا كانت\r\n"                   \
    "X > 0 : Asc = ArcTan(Y / X)\r\n"       \
    "و إذا كانت\r\n"                \
    "X < 0 :\r\n"                           \
    "Y > 0 : Asc = ArcTan(Y / X) + 180\r\n" \
    "Y < 0 :  Asc = ArcTan(Y / X) - 180\r\n"

// EclipticToEquatorial with the mean obliquity of T (Julian centuries from JD 2415020.0).
Equatorial EquatorialOfDate(double longitude, double latitude, double T);

}  // namespace zerin
