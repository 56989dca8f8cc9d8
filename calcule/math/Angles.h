// Trigonometry in degrees, reductions to one turn or one day, and the text of hours.
//
// The degree/radian factor is formed from atan(1) at every call, and the operations run
// in the order the report's values depend on: a mathematically equal order can change
// the 15th printed digit.
//
// None of these routines throws. A value that cannot be computed (an infinite or NaN
// argument, an arc sine or cosine of a value outside -1..1, a division by zero) comes
// out as NaN and travels on through every later step, so that the report stops at the
// first quantity it spoils and names that one (Report::Value).
#pragma once

#include <string>
#include <string_view>

namespace zerin {

// Truncation toward zero (the Fix of the formula texts).
double Fix(double x);

double Sine(double degrees);
double Cosine(double degrees);
double Tangent(double degrees);
// Results in degrees. ArcTan of an infinite value is NaN, not 90: an overflow upstream
// is a fault, not a right angle.
double ArcTan(double x);
double ArcSin(double x);
double ArcCos(double x);

// Reduce into [0, 360] (or [0, 24]): 360 stays 360, 720 gives 0, -360 gives 360.
double Angle_360_Deg(double x);
double Angle_24_Hour(double x);

// Decimal hours as "5 H 30 Min 0 Sec ": hours and minutes truncated, seconds rounded
// (so 60 seconds can occur), minutes and seconds carried in single precision. Throws
// CalcError for a value that is not finite.
std::string HMS_Text(double hours, std::string_view decimalSeparator = ".");

// numerator / denominator, NaN when the denominator is 0: a fault, never an infinity
// that a later arc tangent would turn into a finite angle.
double Ratio(double numerator, double denominator);

// ArcTan(Y / X) in degrees turned into the quadrant of (X, Y). With X exactly 0 no rule
// applies and `keep` is returned; a NaN X or Y gives NaN. The two rules differ only for
// Y exactly 0 with X < 0: a right ascension or longitude takes -180 there, an azimuth
// +180.
double ArcTanQuadrant(double Y, double X, double keep);
double AzimuthArcTan(double Y, double X, double keep);

}  // namespace zerin
