// The mean obliquity of the ecliptic (Sun, Moon and planets) and the longitude of the
// Moon's ascending node on it (Sun and Moon).
#pragma once

#include <string_view>

namespace zerin {

// Degrees, for T in Julian centuries of 36525 days from JD 2415020.0; not reduced.
inline double MeanObliquity(double T) {
    return 23.452294 - 0.0130125 * T - 0.00000164 * T * T + 0.000000503 * T * T * T;
}

inline constexpr std::string_view kMeanObliquityFormula =
    "O = 23.452294 - (0.0130125 * T) - (0.00000164 * T * T) + (0.000000503 * T * T * T)";

// Degrees, for the same T; not reduced (the Sun reduces it, the Moon does not).
inline double MoonNode(double T) {
    return 259.183275 - 1934.142 * T + 0.002078 * T * T + 0.0000022 * T * T * T;
}

inline constexpr std::string_view kMoonNodeFormula =
    "N = 259.183275 - (1934.142 * T) + (0.002078 * T * T) + (0.0000022 * T * T * T)";

}  // namespace zerin
