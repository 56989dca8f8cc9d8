// The crescent's pure routines: the theories' places at an instant of UT, the
// conjunction, rising and setting by iteration, the best time and the two criteria.
#include "crescent/Crescent.h"

#include <cmath>

#include "math/Angles.h"
#include "moon/Moon.h"
#include "sky/Crossing.h"
#include "sky/Sky.h"
#include "sun/Sun.h"

namespace zerin {

namespace {

// An angle brought into -180..180 degrees.
double Around0(double degrees) {
    return degrees - 360 * std::floor((degrees + 180) / 360);
}

constexpr double kSecondsPerDay = 86400;

}  // namespace

double TheorySunMoon::TheoryT(double JJ) const {
    return ((JJ + DeltaT_ / kSecondsPerDay) - 2415020) / 36525;
}

BodyPlace TheorySunMoon::SunAt(double JJ) const {
    const SunPlace s = SunPlaceAt(TheoryT(JJ));
    // The Sun's horizontal parallax, 8.794 seconds of arc at one astronomical unit.
    return {s.Asc, s.Dec, s.Lg_Soleil, 0, 8.794 / 3600 / s.R_soleil};
}

BodyPlace TheorySunMoon::MoonAt(double JJ) const {
    const MoonPlace m = MoonPlaceAt(TheoryT(JJ));
    return {m.Asc, m.Dec, m.Lg_Lune, m.b, m.Ge};
}

double MeanNewMoon(double k) {
    const double Tk = k / 1236.85;
    return kFirstNewMoon2000 + kSynodicMonth * k + 0.00015437 * Tk * Tk -
           0.00000015 * Tk * Tk * Tk + 0.00000000073 * Tk * Tk * Tk * Tk;
}

double LunationNear(double JJ) {
    return std::floor((JJ - kFirstNewMoon2000) / kSynodicMonth + 0.5);
}

Conjunction ConjunctionOf(const SunMoonSource& source, double k, double DeltaT) {
    Conjunction c;
    c.k = k;
    c.JJ0 = MeanNewMoon(k);
    c.JJ1 = c.JJ0 - DeltaT / kSecondsPerDay;
    constexpr double kMeanRate = 360 / kSynodicMonth;  // degrees a day
    double t = c.JJ1;
    for (int n = 0; n < kMaxConjunctionSteps; ++n) {
        const double Dif = Around0(source.MoonAt(t).Longitude - source.SunAt(t).Longitude);
        c.steps[n] = {t, Dif};
        c.count = n + 1;
        double rate = kMeanRate;
        if (n > 0) {
            const ConjunctionStep& before = c.steps[n - 1];
            const double secant = (Dif - before.Dif) / (t - before.JJ);
            // A secant far from the Moon's motion (a step too small to measure) is not
            // trusted: the mean rate is.
            if (std::isfinite(secant) && secant > 5 && secant < 20) rate = secant;
        }
        const double next = t - Dif / rate;
        if (!std::isfinite(next)) return c;
        if (std::fabs(next - t) < 1e-8) {
            c.JJ = next;
            return c;
        }
        t = next;
    }
    return c;
}

Conjunction ConjunctionNear(const TheorySunMoon& theories, double JJ) {
    return ConjunctionOf(theories, LunationNear(JJ + theories.DeltaT() / 86400), theories.DeltaT());
}

double HorizonAltitude(Luminary body, double Paralax) {
    return body == Luminary::Sun ? kSunHorizon : kMoonParallaxFactor * Paralax + kMoonHorizon;
}

Crossing HorizonCrossing(const SunMoonSource& source, Luminary body, double JJ, double Lon,
                         double Lat, bool rising, bool afterTransit) {
    Crossing c;
    const auto missAt = [&](double t, int n) {
        HourAngleMiss m;
        const BodyPlace p = source.At(body, t);
        c.h0 = HorizonAltitude(body, p.Paralax);
        c.Dec = p.Dec;
        c.Paralax = p.Paralax;
        const DayCircle circle = DayCircleOf(p.Dec, Lat);
        const double cosine = Ratio(Sine(c.h0) - circle.sines, circle.cosines);
        if (!(std::fabs(cosine) <= 1)) {
            // At a pole (no cosine) the body's altitude is its declination's, all day.
            const bool above = std::isnan(cosine) ? circle.sines > Sine(c.h0) : cosine < -1;
            m.kind = above ? CrossingKind::NeverSets : CrossingKind::NeverRises;
            c.Ha0 = kNoValue;
            return m;
        }
        c.Ha0 = ArcCos(cosine);
        const double Ha = HourAngle(GreenwichSiderealTime(t) - Lon / 15, p.Asc);
        const double target = rising ? -c.Ha0 : c.Ha0;
        // From the transit: the hour angle counted from it, the whole arc to the target;
        // otherwise the nearest crossing, before or after.
        m.miss = -((n == 0 && afterTransit) ? target - Around0(Ha) : Around0(target - Ha));
        m.rate = kSiderealRate;
        m.settled = 1e-7;
        return m;
    };
    const CrossingFound f = CrossingNear(missAt, JJ, missAt(JJ, 0), JJ, {kMaxCrossingSteps, 0},
                                         [&](int n, double t) { c.steps[n] = t; });
    c.count = f.count;
    c.kind = f.kind;
    c.JJ = c.kind == CrossingKind::Found ? f.JJ : kNoValue;
    return c;
}

double YallopQ(double ARCV, double W) {
    return (ARCV - (11.8371 - 6.3226 * W + 0.7319 * W * W - 0.1018 * W * W * W)) / 10;
}

double OdehV(double ARCV, double W) {
    return ARCV - (7.1651 - 6.3226 * W + 0.7319 * W * W - 0.1018 * W * W * W);
}

char YallopZone(double q) {
    if (q > 0.216) return 'A';
    if (q > -0.014) return 'B';
    if (q > -0.160) return 'C';
    if (q > -0.232) return 'D';
    if (q > -0.293) return 'E';
    return 'F';
}

char OdehZone(double V) {
    if (V >= 5.65) return 'A';
    if (V >= 2) return 'B';
    if (V >= -0.96) return 'C';
    return 'D';
}

BestTime CrescentAt(const SunMoonSource& source, double Tb, double Lon, double Lat) {
    BestTime b;
    b.Tb = Tb;
    const auto onSky = [&](const BodyPlace& place) {
        const SkyPlace sky = SkyPlaceAt(Tb, Lon, Lat, place.Asc, place.Dec);
        return SkyAt{place, sky.Ha, sky.Altitude, sky.Azimut};
    };
    b.sun = onSky(source.SunAt(Tb));
    b.moon = onSky(source.MoonAt(Tb));
    const BodyPlace& sun = b.sun.place;
    const BodyPlace& moon = b.moon.place;
    b.ARCL = ArcCos(Cosine(sun.Longitude - moon.Longitude) * Cosine(moon.Latitude));
    b.ARCV = b.moon.Altitude - b.sun.Altitude;
    b.DAZ = Around0(b.sun.Azimut - b.moon.Azimut);
    b.Paralax = moon.Paralax;
    b.SD = 0.27245 * b.Paralax * 60;
    b.SDt = b.SD * (1 + Sine(b.moon.Altitude) * Sine(b.Paralax));
    b.W = b.SDt * (1 - Cosine(b.ARCL));
    b.q = YallopQ(b.ARCV, b.W);

    const TopoPlace topo = TopocentricPlace(b.Paralax, moon.Asc, moon.Dec, b.moon.Ha, Lat);
    b.TopoAsc = topo.TopoAsc;
    b.TopoDec = topo.TopoDec;
    const double TopoHa = Angle_360_Deg(b.moon.Ha + (moon.Asc * 15 - b.TopoAsc));
    b.TopoAlt = HorizontalPlace(TopoHa, b.TopoDec, Lat).Altitude;
    b.ARCLt = ArcCos(Sine(sun.Dec) * Sine(b.TopoDec) +
                     Cosine(sun.Dec) * Cosine(b.TopoDec) * Cosine(sun.Asc * 15 - b.TopoAsc));
    b.ARCVt = b.TopoAlt - b.sun.Altitude;
    b.Wt = b.SDt * (1 - Cosine(b.ARCLt));
    b.V = OdehV(b.ARCVt, b.Wt);
    return b;
}

CrescentEvening CrescentEveningOf(const SunMoonSource& source, double conjunction, double noon,
                                  double Lon, double Lat, bool morning) {
    CrescentEvening e;
    e.morning = morning;
    e.sun = HorizonCrossing(source, Luminary::Sun, noon, Lon, Lat, morning, true);
    if (e.sun.kind != Crossing::Kind::Found) {
        e.end = CrescentEnd::NoSunset;
        return e;
    }
    e.Age = (e.sun.JJ - conjunction) * 24;
    e.moon = HorizonCrossing(source, Luminary::Moon, e.sun.JJ, Lon, Lat, morning, false);
    if (e.moon.kind != Crossing::Kind::Found) {
        e.end = CrescentEnd::NoMoonset;
        return e;
    }
    e.Lag = (e.moon.JJ - e.sun.JJ) * 1440;
    if (morning ? conjunction < e.sun.JJ : conjunction > e.sun.JJ) {
        e.end = CrescentEnd::ConjunctionAfter;
        return e;
    }
    if (morning ? e.Lag >= 0 : e.Lag <= 0) {
        e.end = CrescentEnd::MoonFirst;
        return e;
    }
    e.end = CrescentEnd::Computed;
    e.best = CrescentAt(source, e.sun.JJ + (4.0 / 9) * (e.Lag / 1440), Lon, Lat);
    e.yallop = YallopZone(e.best.q);
    e.odeh = OdehZone(e.best.V);
    return e;
}

}  // namespace zerin
