// Delta T by the polynomials of Espenak and Meeus (2006), one for each stretch of years.
// Each polynomial is one table of terms that both computes the value and writes the formula
// text the report shows, so the two cannot drift apart.
#include "time/DeltaT.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace zerin {

namespace {

// One term after the constant: c * v^power, or v^power / c when `divide`; the sign of c is the
// term's sign.
struct Term {
    double c;
    int power;
    bool divide = false;
};

// A stretch's polynomial in v = (y - origin) / scale: t (scale 1) or u (scale 100).
struct Polynomial {
    double from, to;
    const char* condition;
    double origin, scale;
    double constant;
    std::array<Term, 7> terms;
    int count;
    bool slope2150;  // the term - 0.5628 (2150 - y) that joins the long-term parabola
    DeltaTBasis basis;
};

using enum DeltaTBasis;

// clang-format off
constexpr std::array<Polynomial, 15> kPolynomials{{
    // Before -500 and after 2150, the long-term parabola of Morrison and Stephenson.
    {-1e300, -500, "y < -500", 1820, 100, -20, {{{32, 2}}}, 1, false, Historical},
    {-500, 500, "-500 <= y < 500", 0, 100, 10583.6,
     {{{-1014.41, 1}, {33.78311, 2}, {-5.952053, 3}, {-0.1798452, 4}, {0.022174192, 5},
       {0.0090316521, 6}}}, 6, false, Historical},
    {500, 1600, "500 <= y < 1600", 1000, 100, 1574.2,
     {{{-556.01, 1}, {71.23472, 2}, {0.319781, 3}, {-0.8503463, 4}, {-0.005050998, 5},
       {0.0083572073, 6}}}, 6, false, Historical},
    {1600, 1700, "1600 <= y < 1700", 1600, 1, 120,
     {{{-0.9808, 1}, {-0.01532, 2}, {7129, 3, true}}}, 3, false, Observed},
    {1700, 1800, "1700 <= y < 1800", 1700, 1, 8.83,
     {{{0.1603, 1}, {-0.0059285, 2}, {0.00013336, 3}, {-1174000, 4, true}}}, 4, false, Observed},
    {1800, 1860, "1800 <= y < 1860", 1800, 1, 13.72,
     {{{-0.332447, 1}, {0.0068612, 2}, {0.0041116, 3}, {-0.00037436, 4}, {0.0000121272, 5},
       {-0.0000001699, 6}, {0.000000000875, 7}}}, 7, false, Observed},
    {1860, 1900, "1860 <= y < 1900", 1860, 1, 7.62,
     {{{0.5737, 1}, {-0.251754, 2}, {0.01680668, 3}, {-0.0004473624, 4}, {233174, 5, true}}},
     5, false, Observed},
    {1900, 1920, "1900 <= y < 1920", 1900, 1, -2.79,
     {{{1.494119, 1}, {-0.0598939, 2}, {0.0061966, 3}, {-0.000197, 4}}}, 4, false, Observed},
    {1920, 1941, "1920 <= y < 1941", 1920, 1, 21.2,
     {{{0.84493, 1}, {-0.0761, 2}, {0.0020936, 3}}}, 3, false, Observed},
    {1941, 1961, "1941 <= y < 1961", 1950, 1, 29.07,
     {{{0.407, 1}, {-233, 2, true}, {2547, 3, true}}}, 3, false, Observed},
    {1961, 1986, "1961 <= y < 1986", 1975, 1, 45.45,
     {{{1.067, 1}, {-260, 2, true}, {-718, 3, true}}}, 3, false, Observed},
    {1986, 2005, "1986 <= y < 2005", 2000, 1, 63.86,
     {{{0.3345, 1}, {-0.060374, 2}, {0.0017275, 3}, {0.000651814, 4}, {0.00002373599, 5}}},
     5, false, Observed},
    {2005, 2050, "2005 <= y < 2050", 2000, 1, 62.92,
     {{{0.32217, 1}, {0.005589, 2}}}, 2, false, Extrapolated},
    {2050, 2150, "2050 <= y < 2150", 1820, 100, -20, {{{32, 2}}}, 1, true, Extrapolated},
    {2150, 1e300, "y >= 2150", 1820, 100, -20, {{{32, 2}}}, 1, false, Extrapolated},
}};
// clang-format on

// 0.000000000875 as it is written, without an exponent.
std::string Plain(double x) {
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed);
    return std::string(text, written.ptr);
}

char VariableOf(const Polynomial& p) {
    return p.scale == 1 ? 't' : 'u';
}

std::string VariableText(const Polynomial& p) {
    const std::string v(1, VariableOf(p));
    if (p.scale == 1) return v + " = y - " + Plain(p.origin);
    if (p.origin == 0) return v + " = y / " + Plain(p.scale);
    return v + " = (y - " + Plain(p.origin) + ") / " + Plain(p.scale);
}

std::string FormulaText(const Polynomial& p) {
    const std::string v(1, VariableOf(p));
    std::string text = "DeltaT = " + Plain(p.constant);
    for (int k = 0; k < p.count; ++k) {
        const Term& t = p.terms[k];
        const std::string power = t.power == 1 ? v : v + "^" + std::to_string(t.power);
        const std::string size = Plain(std::fabs(t.c));
        text += t.c < 0 ? " - (" : " + (";
        text += t.divide ? power + " / " + size + ")" : size + " * " + power + ")";
    }
    if (p.slope2150) text += " - (0.5628 * (2150 - y))";
    return text;
}

// The formula's value, term after term in the order of its text.
double ValueOf(const Polynomial& p, double y) {
    const double v = (y - p.origin) / p.scale;
    double value = p.constant;
    for (int k = 0; k < p.count; ++k) {
        const Term& t = p.terms[k];
        double power = v;
        for (int n = 1; n < t.power; ++n) power = power * v;
        const double term = t.divide ? power / std::fabs(t.c) : std::fabs(t.c) * power;
        value = t.c < 0 ? value - term : value + term;
    }
    if (p.slope2150) value = value - 0.5628 * (2150 - y);
    return value;
}

}  // namespace

double DecimalYear(double year, double month) {
    return year + (month - 0.5) / 12;
}

DeltaTValue DeltaTAt(double y) {
    // The last stretch that starts at or before y (the first one for every earlier year).
    std::size_t k = 0;
    while (k + 1 < kPolynomials.size() && y >= kPolynomials[k + 1].from) ++k;
    return {y, ValueOf(kPolynomials[k], y), &DeltaTStretches()[k]};
}

std::span<const DeltaTStretch> DeltaTStretches() {
    // The texts live as long as the program; the stretches point into them.
    static const std::array<std::string, kPolynomials.size()* 2> texts = [] {
        std::array<std::string, kPolynomials.size() * 2> t;
        for (std::size_t k = 0; k < kPolynomials.size(); ++k) {
            t[2 * k] = VariableText(kPolynomials[k]);
            t[2 * k + 1] = FormulaText(kPolynomials[k]);
        }
        return t;
    }();
    static const std::array<DeltaTStretch, kPolynomials.size()> stretches = [] {
        std::array<DeltaTStretch, kPolynomials.size()> s{};
        for (std::size_t k = 0; k < s.size(); ++k) {
            const Polynomial& p = kPolynomials[k];
            s[k] = {p.from, p.to, p.condition, texts[2 * k], texts[2 * k + 1], p.basis};
        }
        return s;
    }();
    return stretches;
}

}  // namespace zerin
