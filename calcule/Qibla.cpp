#include "Qibla.h"

#include <cmath>

#include "Angles.h"

namespace zerin {

QiblaPlace QiblaOf(double Lon, double Lat) {
    QiblaPlace q;
    q.dLon = kKaabaEastLongitude + Lon;
    const double y = Sine(q.dLon);
    const double x = Cosine(Lat) * Tangent(kKaabaLatitude) - Sine(Lat) * Cosine(q.dLon);
    // atan2 in degrees: the arc tangent's quadrant from the signs of both parts.
    q.Qibla = Angle_360_Deg(std::atan2(y, x) * 45 / std::atan(1.0));
    if (q.Qibla == 360) q.Qibla = 0;
    const double cosine =
        Sine(Lat) * Sine(kKaabaLatitude) + Cosine(Lat) * Cosine(kKaabaLatitude) * Cosine(q.dLon);
    q.Distance =
        kEarthRadiusKm * ArcCos(std::fmax(-1.0, std::fmin(1.0, cosine))) * std::atan(1.0) / 45;
    return q;
}

}  // namespace zerin
