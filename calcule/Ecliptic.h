// The mean obliquity of the ecliptic, shared by the Sun, the Moon and the planets.
#pragma once

#include <string_view>

namespace zerin {

// Degrees, for T in Julian centuries of 36525 days from JD 2415020.0; not reduced.
inline double MeanObliquity(double T) {
    return 23.452294 - 0.0130125 * T - 0.00000164 * T * T + 0.000000503 * T * T * T;
}

inline constexpr std::string_view kMeanObliquityFormula =
    "O = 23.452294 - (0.0130125 * T) - (0.00000164 * T * T) + (0.000000503 * T * T * T)";

}  // namespace zerin
