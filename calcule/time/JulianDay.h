// The Julian day of a civil date and time, and the Julian centuries T of the theories.
#pragma once

namespace zerin {

// The steps of a Julian day as the report shows them.
struct JulianDayParts {
    double Y = 0, m = 0;  // year and month, January and February counted as months 13 and
                          // 14 of the year before
    double Retard = 0;    // days the Julian calendar lags the Gregorian one at year Y
    double D = 0;         // date number (10000 * Y) + (100 * m) + day, which tells the calendar
    double JJ = 0;        // the Julian day (days); NaN for a date that does not exist
};

// True for a date number in the days dropped by the Gregorian reform, 5 to 14 October
// 1582 (and the fractions of 4 October after midnight).
bool InGregorianGap(double D);

/*
 * JulianDayOf: the Julian day of a civil date and time.
 *
 *   year   year, astronomical numbering (0 is 1 BC, -1 is 2 BC)
 *   month  month, 1 to 12; only exactly 1 and 2 are counted as months 13 and 14 of the
 *          year before, any other value is used as it stands
 *   day    day of the month with the time of day as its fraction (days); a day beyond
 *          the month's length runs into the next month
 *
 * Returned: the steps and the Julian day JJ (days; the day starts at noon), on the
 * Julian calendar up to 4 October 1582 and on the Gregorian one from 15 October 1582;
 * JJ is NaN for a date in between.
 *
 * The integer parts are truncated toward zero (Fix), not rounded down: for a negative
 * year not divisible by 4 (after the shift of January and February) JJ comes out one
 * day later than the usual rule gives, so 1 January -4712 at noon is 1, not 0.
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 7.
 */
JulianDayParts JulianDayOf(double year, double month, double day);

struct CalendarDate {
    double year = 0, month = 0, day = 0;  // day with the fraction of the day
};

/*
 * CalendarDateOf: the calendar date of a Julian day, the inverse of JulianDayOf.
 *
 *   JJ  Julian day (days)
 *
 * Returned: year (astronomical numbering), month 1..12 and day of the month with its
 * fraction, on the Julian calendar before JJ 2299160.5 (1582 October 15) and the Gregorian
 * one from it. Years before 1 come out on the usual rule (rounded down), so for them it is
 * not the exact inverse of JulianDayOf (see above).
 *
 * Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 7.
 */
CalendarDate CalendarDateOf(double JJ);

// JulianDayOf(year, month, day).JJ.
double JulianDay(double year, double month, double day);

/*
 * JulianCenturies: T, the time argument of every theory here.
 *
 *   JJ  Julian day (days)
 *
 * Returned: Julian centuries of 36525 days since JD 2415020.0 (1899 December 31, noon).
 */
double JulianCenturies(double JJ);

}  // namespace zerin
