// The crescent map's grid: the crescent's routines at the centre of every cell.
#include "crescent/CrescentMap.h"

#include <cmath>

#include "math/Angles.h"
#include "time/JulianDay.h"

namespace zerin {

namespace {

// The value nearest before, plus or minus whole turns, so that a table runs on smoothly.
double Unwrap(double value, double before, double turn) {
    return value - turn * std::round((value - before) / turn);
}

// Four-point Lagrange interpolation at x (in steps from the first point).
double Lagrange(const double (&y)[4], double x) {
    const double a = x + 1, b = x, c = x - 1, d = x - 2;  // distances to points -1, 0, 1, 2
    return -y[0] * b * c * d / 6 + y[1] * a * c * d / 2 - y[2] * a * b * d / 2 +
           y[3] * a * b * c / 6;
}

}  // namespace

InterpolatedSunMoon::InterpolatedSunMoon(const TheorySunMoon& theories, double from, double to)
    : theories_(theories), from_(from) {
    const int count = static_cast<int>(std::ceil((to - from) / kStep)) + 1;
    sun_.reserve(count);
    moon_.reserve(count);
    for (int k = 0; k < count; ++k) {
        const double JJ = from + k * kStep;
        BodyPlace s = theories.SunAt(JJ), m = theories.MoonAt(JJ);
        if (k > 0) {
            s.Asc = Unwrap(s.Asc, sun_.back().Asc, 24);
            s.Longitude = Unwrap(s.Longitude, sun_.back().Longitude, 360);
            m.Asc = Unwrap(m.Asc, moon_.back().Asc, 24);
            m.Longitude = Unwrap(m.Longitude, moon_.back().Longitude, 360);
        }
        sun_.push_back(s);
        moon_.push_back(m);
    }
}

BodyPlace InterpolatedSunMoon::Interpolate(const std::vector<BodyPlace>& table, double JJ) const {
    const double x = (JJ - from_) / kStep;
    const int k = static_cast<int>(std::floor(x));
    if (k < 1 || k + 2 >= static_cast<int>(table.size())) return {kNoValue};
    const BodyPlace* p = &table[k - 1];
    const double f = x - k;
    const auto at = [&](double BodyPlace::*q) {
        const double y[4] = {p[0].*q, p[1].*q, p[2].*q, p[3].*q};
        return Lagrange(y, f);
    };
    BodyPlace b;
    b.Asc = Angle_24_Hour(at(&BodyPlace::Asc));
    b.Dec = at(&BodyPlace::Dec);
    b.Longitude = Angle_360_Deg(at(&BodyPlace::Longitude));
    b.Latitude = at(&BodyPlace::Latitude);
    b.Paralax = at(&BodyPlace::Paralax);
    return b;
}

BodyPlace InterpolatedSunMoon::SunAt(double JJ) const {
    const BodyPlace b = Interpolate(sun_, JJ);
    return std::isnan(b.Asc) ? theories_.SunAt(JJ) : b;
}

BodyPlace InterpolatedSunMoon::MoonAt(double JJ) const {
    const BodyPlace b = Interpolate(moon_, JJ);
    return std::isnan(b.Asc) ? theories_.MoonAt(JJ) : b;
}

namespace {

char EndLetter(CrescentEnd end) {
    switch (end) {
        case CrescentEnd::ConjunctionAfter:
            return kCellConjunctionAfter;
        case CrescentEnd::MoonFirst:
            return kCellMoonFirst;
        default:
            return kCellNoSunset;
    }
}

}  // namespace

CrescentMapGrid CrescentMapOf(int year, int month, int day, bool morning, double step,
                              const std::function<void(int done, int all)>& progress) {
    CrescentMapGrid g;
    g.year = year;
    g.month = month;
    g.day = day;
    g.morning = morning;
    g.step = step;
    g.columns = static_cast<int>(std::lround(360 / step));
    g.rows = static_cast<int>(std::lround((g.north - g.south) / step));
    g.yallop.assign(static_cast<std::size_t>(g.rows) * g.columns, kCellNoSunset);
    g.odeh = g.yallop;

    g.deltaT = DeltaTAt(DecimalYear(year, month));
    const TheorySunMoon theories(g.deltaT.DeltaT);
    const double midnight = JulianDay(year, month, day);  // 0 h UT of the date
    g.conjunction = ConjunctionNear(theories, midnight + 0.5);
    // Local noons run from 12 h UT - 12 h (180 E) to 12 h UT + 12 h (180 W); the evening
    // and the Moon's crossing nearest it add less than a day on either side.
    const InterpolatedSunMoon places(theories, midnight - 1, midnight + 2.5);
    for (int row = 0; row < g.rows; ++row) {
        const double Lat = g.Latitude(row);
        for (int column = 0; column < g.columns; ++column) {
            const double Lon = -g.EastLongitude(column);  // West positive
            const double noon = midnight + 0.5 + Lon / 360;
            const CrescentEvening e =
                CrescentEveningOf(places, g.conjunction.JJ, noon, Lon, Lat, morning);
            const std::size_t cell = static_cast<std::size_t>(row) * g.columns + column;
            if (e.end == CrescentEnd::Computed) {
                g.yallop[cell] = e.yallop;
                g.odeh[cell] = e.odeh;
            } else {
                g.yallop[cell] = g.odeh[cell] = EndLetter(e.end);
            }
        }
        if (progress) progress(row + 1, g.rows);
    }
    return g;
}

MapDate FirstEveningAfterConjunction(int year, int month, int day, double eastLongitude,
                                     bool morning, double* conjunction) {
    const TheorySunMoon theories(DeltaTAt(DecimalYear(year, month)).DeltaT);
    const double midnight = JulianDay(year, month, day);
    // The lunation of the nearest mean new moon, or a neighbour whose true conjunction
    // lies nearer (the true one strays up to 14 hours from the mean).
    const double noon = midnight + 0.5;
    double JJ = ConjunctionNear(theories, noon).JJ;
    for (const double month : {-kSynodicMonth, kSynodicMonth}) {
        if (std::isnan(JJ)) break;
        const double other = ConjunctionNear(theories, JJ + month).JJ;
        if (std::fabs(other - noon) < std::fabs(JJ - noon)) JJ = other;
    }
    if (conjunction) *conjunction = JJ;
    if (std::isnan(JJ)) return {year, month, day};
    // The place's evening (morning) of the day that starts at `start` (0 h UT), in UT.
    const double hour = morning ? 0.25 : 0.75;
    const double start = std::floor(JJ - 0.5) + 0.5;  // 0 h UT of the conjunction's date
    double chosen = start;
    if (morning) {
        while (chosen + hour - eastLongitude / 360 >= JJ) chosen -= 1;
        while (chosen + 1 + hour - eastLongitude / 360 < JJ) chosen += 1;
    } else {
        while (chosen + hour - eastLongitude / 360 <= JJ) chosen += 1;
        while (chosen - 1 + hour - eastLongitude / 360 > JJ) chosen -= 1;
    }
    const CalendarDate d = CalendarDateOf(chosen);
    return {static_cast<int>(d.year), static_cast<int>(d.month),
            static_cast<int>(std::floor(d.day + 1e-6))};
}

}  // namespace zerin
