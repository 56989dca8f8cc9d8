// The Julian day of a civil date and back, and the Julian centuries T.
#include "time/JulianDay.h"

#include <cmath>

#include "math/Angles.h"

namespace zerin {

bool InGregorianGap(double D) {
    return D > 15821004 && D < 15821015;
}

JulianDayParts JulianDayOf(double year, double month, double day) {
    JulianDayParts p{year, month};
    if (p.m == 1 || p.m == 2) {
        p.Y = p.Y - 1;
        p.m = p.m + 12;
    }
    p.Retard = Fix(p.Y / 400) + (2 - Fix(p.Y / 100));
    p.D = (p.m * 100 + p.Y * 10000) + day;
    const double julian = ((Fix(p.Y * 365.25) + Fix((p.m + 1) * 30.6001)) + day) + 1720994.5;
    if (p.D >= 15821015) {
        p.JJ = julian + p.Retard;
    } else {
        p.JJ = InGregorianGap(p.D) ? std::nan("") : julian;
    }
    return p;
}

double JulianDay(double year, double month, double day) {
    return JulianDayOf(year, month, day).JJ;
}

CalendarDate CalendarDateOf(double JJ) {
    const double Z = std::floor(JJ + 0.5);
    const double F = (JJ + 0.5) - Z;
    double A = Z;
    if (Z >= 2299161) {
        const double alpha = std::floor((Z - 1867216.25) / 36524.25);
        A = Z + 1 + alpha - std::floor(alpha / 4);
    }
    const double B = A + 1524;
    const double C = std::floor((B - 122.1) / 365.25);
    const double D = std::floor(365.25 * C);
    const double E = std::floor((B - D) / 30.6001);
    CalendarDate d;
    d.day = B - D - std::floor(30.6001 * E) + F;
    d.month = E < 14 ? E - 1 : E - 13;
    d.year = d.month > 2 ? C - 4716 : C - 4715;
    return d;
}

double JulianCenturies(double JJ) {
    return (JJ - 2415020) / 36525;
}

}  // namespace zerin
