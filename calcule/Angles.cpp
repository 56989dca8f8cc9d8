#include "Angles.h"

#include <cmath>

#include "Errors.h"
#include "NumText.h"

namespace zerin {

double Fix(double x) {
    return std::trunc(x);
}

double Finite(double x, const char* what) {
    if (!std::isfinite(x)) throw CalcError(std::string("non-finite value in ") + what);
    return x;
}

double Ratio(double numerator, double denominator) {
    if (denominator == 0) throw CalcError("division by zero");
    return numerator / denominator;
}

namespace {

double Radians(double degrees) {
    const double p = Finite(degrees, "an angle") * std::atan(1.0);
    return p / 45;
}

double Degrees(double radians) {
    return (radians * 45) / std::atan(1.0);
}

// sqrt(1 - x*x) as the arc functions form it; a negative radicand is a domain error.
double Cofactor(double x, const char* what) {
    const double radicand = (-x) * x + 1;
    if (!(radicand >= 0)) throw CalcError(std::string(what) + " of a value outside -1..1");
    return std::sqrt(radicand);
}

double ReduceInto(double x, double turn) {
    Finite(x, "a reduction");
    if (x > turn) {
        const double q = x / turn;
        x = (q - Fix(q)) * turn;
    }
    if (x < 0) {
        const double q = x / turn;
        x = (q - Fix(q)) * turn + turn;
    }
    return x;
}

}  // namespace

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
    return Degrees(std::atan(Finite(x, "ArcTan")));
}

double ArcSin(double x) {
    Finite(x, "ArcSin");
    if (std::fabs(x) == 1) return 90 * x;
    const double t = Cofactor(x, "ArcSin");
    if (t == 0) throw CalcError("ArcSin: division by zero");
    return Degrees(std::atan(x / t));
}

double ArcCos(double x) {
    Finite(x, "ArcCos");
    if (std::fabs(x) == 1) return (0.5 - x / 2) * 180;
    const double t = Cofactor(x, "ArcCos");
    if (t == 0) throw CalcError("ArcCos: division by zero");
    const double q = (-x) / t;
    return ((std::atan(1.0) + std::atan(1.0)) + std::atan(q)) * 45 / std::atan(1.0);
}

double Angle_360_Deg(double x) {
    return ReduceInto(x, 360);
}
double Angle_24_Hour(double x) {
    return ReduceInto(x, 24);
}

std::string HMS_Text(double hours, std::string_view decimalSeparator) {
    Finite(hours, "HMS_Text");
    const float minutes = static_cast<float>((hours - Fix(hours)) * 60);
    const float seconds = static_cast<float>((minutes - std::trunc(minutes)) * 60.0);
    const int roundedSeconds = static_cast<int>(std::nearbyint(seconds));  // ties to even
    return NumText(Fix(hours), decimalSeparator) + " H " +
           NumTextSingle(std::trunc(minutes), decimalSeparator) + " Min " +
           std::to_string(roundedSeconds) + " Sec ";
}

}  // namespace zerin

namespace zerin {

double ArcTanQuadrant(double Y, double X, double keep) {
    if (X > 0) return ArcTan(Y / X);
    if (X < 0 && Y > 0) return ArcTan(Y / X) + 180;
    if (X < 0 && Y <= 0) return ArcTan(Y / X) - 180;
    return keep;
}

double AzimuthArcTan(double Y, double X, double keep) {
    if (X > 0) return ArcTan(Y / X);
    if (X < 0 && Y >= 0) return ArcTan(Y / X) + 180;
    if (X < 0 && Y < 0) return ArcTan(Y / X) - 180;
    return keep;
}

}  // namespace zerin
