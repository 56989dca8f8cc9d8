#include "sky/Ecliptic.h"

#include "math/Angles.h"

namespace zerin {

Equatorial EclipticToEquatorial(double longitude, double latitude, double O) {
    const double Y = (Cosine(O) * Sine(longitude)) - (Tangent(latitude) * Sine(O));
    const double X = Cosine(longitude);
    return {O, Angle_24_Hour(ArcTanQuadrant(Y, X, 0) / 15),
            ArcSin((Sine(latitude) * Cosine(O)) + (Cosine(latitude) * Sine(O) * Sine(longitude)))};
}

Equatorial EquatorialOfDate(double longitude, double latitude, double T) {
    return EclipticToEquatorial(longitude, latitude, MeanObliquity(T));
}

}  // namespace zerin
