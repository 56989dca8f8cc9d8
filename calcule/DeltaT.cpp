// Delta T by the polynomials of Espenak and Meeus (2006), one for each stretch of years.
#include "DeltaT.h"

#include <array>

namespace zerin {

namespace {

// The long-term parabola of Morrison and Stephenson, before -500 and after 2150.
double LongTerm(double y) {
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u;
}

struct Polynomial {
    DeltaTStretch stretch;
    double (*value)(double y);
};

// clang-format off
const std::array<Polynomial, 15> kPolynomials{{
    {{-1e300, -500, "y < -500", "u = (y - 1820) / 100", "DeltaT = -20 + (32 * u * u)",
      DeltaTBasis::Historical},
     LongTerm},
    {{-500, 500, "-500 <= y < 500", "u = y / 100",
      "DeltaT = 10583.6 - (1014.41 * u) + (33.78311 * u^2) - (5.952053 * u^3) - "
      "(0.1798452 * u^4) + (0.022174192 * u^5) + (0.0090316521 * u^6)",
      DeltaTBasis::Historical},
     [](double y) {
         const double u = y / 100;
         return 10583.6 + u * (-1014.41 + u * (33.78311 + u * (-5.952053 +
                u * (-0.1798452 + u * (0.022174192 + u * 0.0090316521)))));
     }},
    {{500, 1600, "500 <= y < 1600", "u = (y - 1000) / 100",
      "DeltaT = 1574.2 - (556.01 * u) + (71.23472 * u^2) + (0.319781 * u^3) - "
      "(0.8503463 * u^4) - (0.005050998 * u^5) + (0.0083572073 * u^6)",
      DeltaTBasis::Historical},
     [](double y) {
         const double u = (y - 1000) / 100;
         return 1574.2 + u * (-556.01 + u * (71.23472 + u * (0.319781 +
                u * (-0.8503463 + u * (-0.005050998 + u * 0.0083572073)))));
     }},
    {{1600, 1700, "1600 <= y < 1700", "t = y - 1600",
      "DeltaT = 120 - (0.9808 * t) - (0.01532 * t^2) + (t^3 / 7129)", DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1600;
         return 120 - 0.9808 * t - 0.01532 * t * t + t * t * t / 7129;
     }},
    {{1700, 1800, "1700 <= y < 1800", "t = y - 1700",
      "DeltaT = 8.83 + (0.1603 * t) - (0.0059285 * t^2) + (0.00013336 * t^3) - "
      "(t^4 / 1174000)",
      DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1700;
         return 8.83 + t * (0.1603 + t * (-0.0059285 + t * 0.00013336)) -
                t * t * t * t / 1174000;
     }},
    {{1800, 1860, "1800 <= y < 1860", "t = y - 1800",
      "DeltaT = 13.72 - (0.332447 * t) + (0.0068612 * t^2) + (0.0041116 * t^3) - "
      "(0.00037436 * t^4) + (0.0000121272 * t^5) - (0.0000001699 * t^6) + "
      "(0.000000000875 * t^7)",
      DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1800;
         return 13.72 + t * (-0.332447 + t * (0.0068612 + t * (0.0041116 + t * (-0.00037436 +
                t * (0.0000121272 + t * (-0.0000001699 + t * 0.000000000875))))));
     }},
    {{1860, 1900, "1860 <= y < 1900", "t = y - 1860",
      "DeltaT = 7.62 + (0.5737 * t) - (0.251754 * t^2) + (0.01680668 * t^3) - "
      "(0.0004473624 * t^4) + (t^5 / 233174)",
      DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1860;
         return 7.62 + t * (0.5737 + t * (-0.251754 + t * (0.01680668 + t * -0.0004473624))) +
                t * t * t * t * t / 233174;
     }},
    {{1900, 1920, "1900 <= y < 1920", "t = y - 1900",
      "DeltaT = -2.79 + (1.494119 * t) - (0.0598939 * t^2) + (0.0061966 * t^3) - "
      "(0.000197 * t^4)",
      DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1900;
         return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 + t * -0.000197)));
     }},
    {{1920, 1941, "1920 <= y < 1941", "t = y - 1920",
      "DeltaT = 21.2 + (0.84493 * t) - (0.0761 * t^2) + (0.0020936 * t^3)",
      DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1920;
         return 21.2 + t * (0.84493 + t * (-0.0761 + t * 0.0020936));
     }},
    {{1941, 1961, "1941 <= y < 1961", "t = y - 1950",
      "DeltaT = 29.07 + (0.407 * t) - (t^2 / 233) + (t^3 / 2547)", DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1950;
         return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
     }},
    {{1961, 1986, "1961 <= y < 1986", "t = y - 1975",
      "DeltaT = 45.45 + (1.067 * t) - (t^2 / 260) - (t^3 / 718)", DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 1975;
         return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
     }},
    {{1986, 2005, "1986 <= y < 2005", "t = y - 2000",
      "DeltaT = 63.86 + (0.3345 * t) - (0.060374 * t^2) + (0.0017275 * t^3) + "
      "(0.000651814 * t^4) + (0.00002373599 * t^5)",
      DeltaTBasis::Observed},
     [](double y) {
         const double t = y - 2000;
         return 63.86 + t * (0.3345 + t * (-0.060374 + t * (0.0017275 +
                t * (0.000651814 + t * 0.00002373599))));
     }},
    {{2005, 2050, "2005 <= y < 2050", "t = y - 2000",
      "DeltaT = 62.92 + (0.32217 * t) + (0.005589 * t^2)", DeltaTBasis::Extrapolated},
     [](double y) {
         const double t = y - 2000;
         return 62.92 + 0.32217 * t + 0.005589 * t * t;
     }},
    {{2050, 2150, "2050 <= y < 2150", "u = (y - 1820) / 100",
      "DeltaT = -20 + (32 * u * u) - (0.5628 * (2150 - y))", DeltaTBasis::Extrapolated},
     [](double y) { return LongTerm(y) - 0.5628 * (2150 - y); }},
    {{2150, 1e300, "y >= 2150", "u = (y - 1820) / 100", "DeltaT = -20 + (32 * u * u)",
      DeltaTBasis::Extrapolated},
     LongTerm},
}};
// clang-format on


}  // namespace

double DecimalYear(double year, double month) {
    return year + (month - 0.5) / 12;
}

DeltaTValue DeltaTAt(double y) {
    // The last stretch that starts at or before y (the first one for every earlier year).
    std::size_t k = 0;
    while (k + 1 < kPolynomials.size() && y >= kPolynomials[k + 1].stretch.from) ++k;
    return {y, kPolynomials[k].value(y), &DeltaTStretches()[k]};
}

std::span<const DeltaTStretch> DeltaTStretches() {
    static const std::array<DeltaTStretch, kPolynomials.size()> stretches = [] {
        std::array<DeltaTStretch, kPolynomials.size()> s{};
        for (std::size_t k = 0; k < s.size(); ++k) s[k] = kPolynomials[k].stretch;
        return s;
    }();
    return stretches;
}

}  // namespace zerin
