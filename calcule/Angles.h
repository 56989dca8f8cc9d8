// Trigonometry in degrees, reductions to one turn or one day, and the text of hours.
//
// The degree/radian factor is formed from atan(1) at every call, and the operations run
// in the order the report's values depend on: a mathematically equal order can change
// the 15th printed digit.
#pragma once

#include <string>
#include <string_view>

namespace zerin {

// Truncation toward zero (the Fix of the formula texts).
double Fix(double x);

double Sine(double degrees);
double Cosine(double degrees);
double Tangent(double degrees);
// Results in degrees. ArcSin and ArcCos throw CalcError when |x| > 1.
double ArcTan(double x);
double ArcSin(double x);
double ArcCos(double x);

// Reduce into [0, 360] (or [0, 24]): 360 stays 360, 720 gives 0, -360 gives 360.
double Angle_360_Deg(double x);
double Angle_24_Hour(double x);

// Decimal hours as "5 H 30 Min 0 Sec ": hours and minutes truncated, seconds rounded
// (so 60 seconds can occur), minutes and seconds carried in single precision.
std::string HMS_Text(double hours, std::string_view decimalSeparator = ".");

// Throws CalcError when x is not finite; returns x.
double Finite(double x, const char* what);

// numerator / denominator; a zero denominator is a calculation fault, never an infinity
// that would surface later under another quantity's name.
double Ratio(double numerator, double denominator);

}  // namespace zerin

namespace zerin {

// ArcTan(Y / X) in degrees turned into the quadrant of (X, Y). With X exactly 0 no rule
// applies and `keep` is returned. The two rules differ only for Y exactly 0 with X < 0:
// a right ascension or longitude takes -180 there, an azimuth +180.
double ArcTanQuadrant(double Y, double X, double keep);
double AzimuthArcTan(double Y, double X, double keep);

}  // namespace zerin
