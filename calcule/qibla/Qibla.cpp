#include "qibla/Qibla.h"

#include <cmath>

#include "math/Angles.h"
#include "sky/Crossing.h"
#include "sky/Sky.h"
#include "sun/Sun.h"
#include "time/JulianDay.h"

namespace zerin {

double GreatCircleCourse(double Lat, double toLat, double dLon) {
    const double y = Sine(dLon);
    const double x = Cosine(Lat) * Tangent(toLat) - Sine(Lat) * Cosine(dLon);
    // atan2 in degrees: the arc tangent's quadrant from the signs of both parts.
    const double course = Angle_360_Deg(std::atan2(y, x) * 45 / std::atan(1.0));
    return course == 360 ? 0 : course;
}

QiblaPlace QiblaOf(double Lon, double Lat) {
    QiblaPlace q;
    q.dLon = kKaabaEastLongitude + Lon;
    q.Qibla = GreatCircleCourse(Lat, kKaabaLatitude, q.dLon);
    const double cosine =
        Sine(Lat) * Sine(kKaabaLatitude) + Cosine(Lat) * Cosine(kKaabaLatitude) * Cosine(q.dLon);
    q.Distance =
        kEarthRadiusKm * ArcCos(std::fmax(-1.0, std::fmin(1.0, cosine))) * std::atan(1.0) / 45;
    return q;
}

double GeodesicDistanceKm(double lat1, double lon1, double lat2, double lon2) {
    const double radian = std::atan(1.0) / 45;
    const double a = kWgs84A, f = kWgs84F, b = (1 - f) * a;
    const double L = (lon2 - lon1) * radian;
    // Reduced latitudes on the auxiliary sphere.
    const double U1 = std::atan((1 - f) * std::tan(lat1 * radian));
    const double U2 = std::atan((1 - f) * std::tan(lat2 * radian));
    const double sinU1 = std::sin(U1), cosU1 = std::cos(U1);
    const double sinU2 = std::sin(U2), cosU2 = std::cos(U2);
    double lambda = L, sinSigma = 0, cosSigma = 0, sigma = 0, cosSqAlpha = 0, cos2SigmaM = 0;
    for (int k = 0;; ++k) {
        if (k == 200) return std::nan("");  // nearly antipodal: no convergence
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        sinSigma = std::hypot(cosU2 * sinLambda, cosU1 * sinU2 - sinU1 * cosU2 * cosLambda);
        if (sinSigma == 0) return 0;  // the same place
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        cosSqAlpha = 1 - sinAlpha * sinAlpha;
        // On the equator (cos alpha = 0) the term vanishes.
        cos2SigmaM = cosSqAlpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cosSqAlpha : 0;
        const double C = f / 16 * cosSqAlpha * (4 + f * (4 - 3 * cosSqAlpha));
        const double previous = lambda;
        lambda =
            L + (1 - C) * f * sinAlpha *
                    (sigma + C * sinSigma *
                                 (cos2SigmaM + C * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::fabs(lambda - previous) < 1e-12) break;
    }
    const double uSq = cosSqAlpha * (a * a - b * b) / (b * b);
    const double A = 1 + uSq / 16384 * (4096 + uSq * (-768 + uSq * (320 - 175 * uSq)));
    const double B = uSq / 1024 * (256 + uSq * (-128 + uSq * (74 - 47 * uSq)));
    const double deltaSigma =
        B * sinSigma *
        (cos2SigmaM + B / 4 *
                          (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                           B / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                               (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return b * A * (sigma - deltaSigma) / 1000;
}

namespace {

// The transit at the Kaaba nearest to JJ (UT), from the Sun's place at the transit itself:
// three steps from the day's mean noon, the last far below a second.
KaabaTransit KaabaTransitNear(double JJ) {
    KaabaTransit t{JJ, 0};
    const auto missAt = [&t](double at, int) {
        const SunPlace s = SunPlaceAt(JulianCenturies(at));
        double H = GreenwichSiderealTime(at) + kKaabaEastLongitude / 15 - s.Asc;
        H -= 24 * std::round(H / 24);
        t.Dec = s.Dec;
        // In turns: the hour angle gains 24 hours in a day less the Sun's motion, 0.99727 of
        // a turn.
        return HourAngleMiss{CrossingKind::Found, H / 24, 0.9972696, 0};
    };
    t.JJ = CrossingNear(missAt, JJ, {3, 0}).JJ;
    return t;
}

}  // namespace

KaabaDays SunOverKaaba(double year) {
    KaabaDays days;
    // Mean noon at the Kaaba on the first day of the year, then day by day.
    const double first = JulianDay(year, 1, 1.5) - kKaabaEastLongitude / 360;
    KaabaTransit before = KaabaTransitNear(first - 1);
    for (int d = 0; d < 367; ++d) {
        const KaabaTransit now = KaabaTransitNear(first + d);
        const double a = before.Dec - kKaabaLatitude, b = now.Dec - kKaabaLatitude;
        const KaabaTransit& nearer = std::fabs(a) <= std::fabs(b) ? before : now;
        if (a < 0 && b >= 0 && std::isnan(days.rising.JJ)) days.rising = nearer;
        if (a >= 0 && b < 0 && std::isnan(days.falling.JJ)) days.falling = nearer;
        before = now;
    }
    return days;
}

}  // namespace zerin
