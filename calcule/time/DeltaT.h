// Delta T = TT - UT: how far the Earth's rotation (Universal Time) lags the uniform time
// of the theories (Terrestrial Time), in seconds.
#pragma once

#include <span>
#include <string_view>

namespace zerin {

// How a stretch's value is known.
enum class DeltaTBasis {
    Historical,    // from records of ancient and medieval eclipses: uncertain by minutes
    Observed,      // from telescopic timings of occultations, then atomic clocks
    Extrapolated,  // beyond the last observation the polynomials were fitted to (2005)
};

// One stretch of years and its polynomial.
struct DeltaTStretch {
    double from, to;             // years y, from <= y < to (unbounded at the ends)
    std::string_view condition;  // the stretch as the report writes it ("1986 <= y < 2005")
    std::string_view variable;   // "t = y - 2000", "u = (y - 1820) / 100"...
    std::string_view formula;    // "DeltaT = 63.86 + (0.3345 * t) - ..."
    DeltaTBasis basis;
};

struct DeltaTValue {
    double y = 0;       // decimal year of the middle of the month
    double DeltaT = 0;  // seconds
    const DeltaTStretch* stretch = nullptr;
};

/*
 * DecimalYear: the year of the middle of a month, as Delta T's polynomials take it.
 *
 *   year   astronomical year (0 is 1 BC)
 *   month  1 to 12
 *
 * Returned: y = year + (month - 0.5) / 12.
 */
double DecimalYear(double year, double month);

/*
 * DeltaTAt: Delta T for a decimal year.
 *
 *   y  decimal year (DecimalYear)
 *
 * Returned: y, Delta T in seconds, and the stretch whose polynomial gave it: one
 * polynomial for each of -inf..-500, -500..500, 500..1600, 1600..1700, 1700..1800,
 * 1800..1860, 1860..1900, 1900..1920, 1920..1941, 1941..1961, 1961..1986, 1986..2005,
 * 2005..2050, 2050..2150 and 2150..inf; before -500 and after 2150 the long-term
 * parabola -20 + 32 u^2, u = (y - 1820) / 100.
 *
 * Source: F. Espenak and J. Meeus, "Polynomial Expressions for Delta T", in Five
 * Millennium Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006).
 * The values are those of the lunar secular acceleration -25.858"/cy^2 that the
 * polynomials assume; no correction for another one is applied.
 */
DeltaTValue DeltaTAt(double y);

// The stretches in order of years (for the tests of their joins).
std::span<const DeltaTStretch> DeltaTStretches();

}  // namespace zerin
