#include "math/Angles.h"

#include <cmath>
#include <limits>

#include "math/Errors.h"
#include "report/NumText.h"

namespace zerin {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Radians(double degrees) {
    const double p = degrees * std::atan(1.0);
    return p / 45;
}

double Degrees(double radians) {
    return (radians * 45) / std::atan(1.0);
}

// sqrt(1 - x*x) as the arc functions form it: NaN for |x| > 1, never 0 for |x| < 1.
double Cofactor(double x) {
    return std::sqrt((-x) * x + 1);
}

double ReduceInto(double x, double turn) {
    if (x > turn) {
        const double q = x / turn;
        x = (q - Fix(q)) * turn;  // infinity: inf - inf, NaN
    }
    if (x < 0) {
        const double q = x / turn;
        x = (q - Fix(q)) * turn + turn;
    }
    return x;
}

}  // namespace

double Fix(double x) {
    return std::trunc(x);
}

double Ratio(double numerator, double denominator) {
    return denominator == 0 ? kNaN : numerator / denominator;
}

double Sine(double degrees) {
    return std::sin(Radians(degrees));
}
double Cosine(double degrees) {
    return std::cos(Radians(degrees));
}
double Tangent(double degrees) {
    return std::tan(Radians(degrees));
}

double ArcTan(double x) {
    return std::isinf(x) ? kNaN : Degrees(std::atan(x));
}

double ArcSin(double x) {
    if (std::fabs(x) == 1) return 90 * x;
    return Degrees(std::atan(x / Cofactor(x)));
}

double ArcCos(double x) {
    if (std::fabs(x) == 1) return (0.5 - x / 2) * 180;
    const double q = (-x) / Cofactor(x);
    return ((std::atan(1.0) + std::atan(1.0)) + std::atan(q)) * 45 / std::atan(1.0);
}

double Angle_360_Deg(double x) {
    return ReduceInto(x, 360);
}
double Angle_24_Hour(double x) {
    return ReduceInto(x, 24);
}

std::string HMS_Text(double hours, std::string_view decimalSeparator) {
    if (!std::isfinite(hours)) throw CalcError("non-finite value in HMS_Text");
    const float minutes = static_cast<float>((hours - Fix(hours)) * 60);
    const float seconds = static_cast<float>((minutes - std::trunc(minutes)) * 60.0);
    const int roundedSeconds = static_cast<int>(std::nearbyint(seconds));  // ties to even
    return NumText(Fix(hours), decimalSeparator) + " H " +
           NumTextSingle(std::trunc(minutes), decimalSeparator) + " Min " +
           std::to_string(roundedSeconds) + " Sec ";
}

double ArcTanQuadrant(double Y, double X, double keep) {
    if (X > 0) return ArcTan(Y / X);
    if (X < 0) return Y > 0 ? ArcTan(Y / X) + 180 : ArcTan(Y / X) - 180;
    return X == 0 ? keep : X;
}

double AzimuthArcTan(double Y, double X, double keep) {
    if (X > 0) return ArcTan(Y / X);
    if (X < 0) return Y >= 0 ? ArcTan(Y / X) + 180 : ArcTan(Y / X) - 180;
    return X == 0 ? keep : X;
}

}  // namespace zerin
