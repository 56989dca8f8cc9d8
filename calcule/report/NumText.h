// The number-to-text conversion of every value in the report.
//
// 15 significant digits (7 for single precision), rounded to nearest; plain form for
// decimal exponents -4 to 14, otherwise "1.5E-05" / "1.23456789012346E+15"; no trailing
// zeros, no "+" sign, zero (negative zero included) as "0". The decimal separator is the
// user's regional one; formula texts never go through here.
#pragma once

#include <string>
#include <string_view>

namespace zerin {

std::string NumText(double x, std::string_view decimalSeparator = ".");
std::string NumTextSingle(float x, std::string_view decimalSeparator = ".");

}  // namespace zerin
