// The three series of the Moon's theory, each one table that both computes and prints:
// a term's text is the very expression computed, spelt by the preprocessor, so that
// the report's formula and the value cannot drift apart. The terms are summed one by
// one in the order of the text, each argument grouped as written (a floating-point sum
// depends on the order).
#include <span>
#include <string>

#include "math/Angles.h"
#include "moon/Moon.h"

namespace zerin {

namespace {

// One entry of a series: its first value, a term added or subtracted, or the start of a
// new line of the formula text (value null).
struct SeriesTerm {
    std::string_view text;
    double (*value)(const MoonArguments&);
    bool subtract = false;
};

struct Series {
    std::string_view name;
    std::span<const SeriesTerm> entries;  // the first one starts the sum
};

}  // namespace

// clang-format off
#define ZERIN_TERM(connector, subtract, ...)                                   \
    SeriesTerm {                                                               \
        connector #__VA_ARGS__,                                                \
            [](const MoonArguments& arguments) -> double {                     \
                [[maybe_unused]] const auto& [Tc, Lp, Mp, N, m, D, F, e] = arguments; \
                return __VA_ARGS__;                                            \
            },                                                                 \
            subtract                                                           \
    }
#define ZERIN_START(...) ZERIN_TERM("", false, __VA_ARGS__)
#define ZERIN_PLUS(...) ZERIN_TERM(" + ", false, __VA_ARGS__)
#define ZERIN_MINUS(...) ZERIN_TERM(" - ", true, __VA_ARGS__)
#define ZERIN_NEW_LINE SeriesTerm{"", nullptr}

namespace {

// The true longitude: the mean longitude and 50 terms (degrees); a term whose argument
// holds m or 2 m takes the factor e or e * e.
constexpr SeriesTerm kLongitude[] = {
    ZERIN_START(Lp),
    ZERIN_PLUS((6.28875 * Sine(Mp))),
    ZERIN_PLUS((1.274018 * Sine((2 * D) - Mp))),
    ZERIN_NEW_LINE,
    ZERIN_PLUS((0.658309 * Sine(2 * D))),
    ZERIN_PLUS((0.213616 * Sine(2 * Mp))),
    ZERIN_MINUS((0.185596 * Sine(m) * e)),
    ZERIN_MINUS((0.114336 * Sine(2 * F))),
    ZERIN_PLUS((0.058793 * Sine((2 * D) - (2 * Mp)))),
    ZERIN_PLUS((0.057212 * Sine((2 * D) - m - Mp) * e)),
    ZERIN_PLUS((0.05332 * Sine((2 * D) + Mp))),
    ZERIN_PLUS((0.045874 * Sine((2 * D) - m) * e)),
    ZERIN_NEW_LINE,
    ZERIN_PLUS((0.041024 * Sine(Mp - m) * e)),
    ZERIN_MINUS((0.034718 * Sine(D))),
    ZERIN_MINUS((0.030465 * Sine(m + Mp) * e)),
    ZERIN_PLUS((0.015326 * Sine((2 * D) - (2 * F)))),
    ZERIN_MINUS((0.012528 * Sine((2 * F) + Mp))),
    ZERIN_MINUS((0.01098 * Sine((2 * F) - Mp))),
    ZERIN_PLUS((0.010674 * Sine((4 * D) - Mp))),
    ZERIN_PLUS((0.010034 * Sine(3 * Mp))),
    ZERIN_PLUS((0.008548 * Sine((4 * D) - (2 * Mp)))),
    ZERIN_MINUS((0.00791 * Sine(m - Mp + (2 * D)) * e)),
    ZERIN_MINUS((0.006783 * Sine((2 * D) + m) * e)),
    ZERIN_PLUS((0.005162 * Sine(Mp - D))),
    ZERIN_PLUS((0.005 * Sine(m + D) * e)),
    ZERIN_PLUS((0.004049 * Sine(Mp - m + (2 * D)) * e)),
    ZERIN_PLUS((0.003996 * Sine((2 * Mp) + (2 * D)))),
    ZERIN_PLUS((0.003862 * Sine(4 * D))),
    ZERIN_PLUS((0.003665 * Sine((2 * D) - (3 * Mp)))),
    ZERIN_PLUS((0.002695 * Sine((2 * Mp) - m) * e)),
    ZERIN_PLUS((0.002602 * Sine(Mp - (2 * F) - (2 * D)))),
    ZERIN_PLUS((0.002396 * Sine((2 * D) - m - (2 * Mp)) * e)),
    ZERIN_MINUS((0.002349 * Sine(Mp + D))),
    ZERIN_NEW_LINE,
    ZERIN_PLUS((0.002249 * Sine((2 * D) - (2 * m)) * e * e)),
    ZERIN_MINUS((0.002125 * Sine((2 * Mp) + m) * e)),
    ZERIN_MINUS((0.002079 * Sine(2 * m) * e * e)),
    ZERIN_PLUS((0.002059 * Sine((2 * D) - Mp - (2 * m)) * e * e)),
    ZERIN_MINUS((0.001773 * Sine(Mp + (2 * D) - (2 * F)))),
    ZERIN_MINUS((0.001595 * Sine((2 * F) + (2 * D)))),
    ZERIN_PLUS((0.00122 * Sine((4 * D) - m - Mp) * e)),
    ZERIN_MINUS((0.00111 * Sine((2 * Mp) + (2 * F)))),
    ZERIN_PLUS((0.000892 * Sine(Mp - (3 * D)))),
    ZERIN_MINUS((0.000811 * Sine(m + Mp + (2 * D)) * e)),
    ZERIN_PLUS((0.000761 * Sine((4 * D) - m - (2 * Mp)) * e)),
    ZERIN_PLUS((0.000717 * Sine(Mp - (2 * m)) * e * e)),
    ZERIN_PLUS((0.000704 * Sine(Mp - (2 * m) - (2 * D)) * e * e)),
    ZERIN_PLUS((0.000693 * Sine(m - (2 * Mp) + (2 * D)) * e)),
    ZERIN_PLUS((0.000598 * Sine((2 * D) - m - (2 * F)) * e)),
    ZERIN_PLUS((0.00055 * Sine(Mp + (4 * D)))),
    ZERIN_PLUS((0.000538 * Sine(4 * Mp))),
    ZERIN_PLUS((0.000521 * Sine((4 * D) - m) * e)),
    ZERIN_PLUS((0.000486 * Sine((2 * Mp) - D))),
};

// The ecliptic latitude before the node's correction: 45 terms (degrees).
constexpr SeriesTerm kLatitude[] = {
    ZERIN_START(5.128189 * Sine(F)),
    ZERIN_PLUS(0.280606 * Sine(Mp + F)),
    ZERIN_PLUS(0.277693 * Sine(Mp - F)),
    ZERIN_PLUS(0.173238 * Sine(2 * D - F)),
    ZERIN_PLUS(0.055413 * Sine(2 * D + F - Mp)),
    ZERIN_PLUS(0.046272 * Sine(2 * D - F - Mp)),
    ZERIN_PLUS(0.032573 * Sine(2 * D + F)),
    ZERIN_NEW_LINE,
    ZERIN_PLUS(0.017198 * Sine(2 * Mp + F)),
    ZERIN_PLUS(0.009267 * Sine(2 * D + Mp - F)),
    ZERIN_PLUS(0.008823 * Sine(2 * Mp - F)),
    ZERIN_PLUS((0.008247 * Sine(2 * D - m - F) * e)),
    ZERIN_PLUS(0.004323 * Sine(2 * D - F - 2 * Mp)),
    ZERIN_PLUS(0.0042 * Sine(2 * D + F + Mp)),
    ZERIN_PLUS(0.003372 * Sine(F - m - 2 * D) * e),
    ZERIN_PLUS(0.002472 * Sine(2 * D + F - m - Mp) * e),
    ZERIN_PLUS(0.002222 * Sine(2 * D + F - m) * e),
    ZERIN_PLUS(0.002072 * Sine(2 * D - F - m - Mp) * e),
    ZERIN_PLUS(0.001877 * Sine(F - m + Mp) * e),
    ZERIN_NEW_LINE,
    ZERIN_PLUS(0.001828 * Sine(4 * D - F - Mp)),
    ZERIN_MINUS(0.001803 * Sine(F + m) * e),
    ZERIN_MINUS(0.00175 * Sine(3 * F)),
    ZERIN_PLUS(0.00157 * Sine(Mp - m - F) * e),
    ZERIN_MINUS(0.001487 * Sine(F + D)),
    ZERIN_MINUS(0.001481 * Sine(F + m + Mp) * e),
    ZERIN_PLUS(0.001417 * Sine(F - m - Mp) * e),
    ZERIN_PLUS(0.00135 * Sine(F - m) * e),
    ZERIN_PLUS(0.00133 * Sine(F - D)),
    ZERIN_PLUS(0.001106 * Sine(F + 3 * Mp)),
    ZERIN_PLUS(0.00102 * Sine(4 * D - F)),
    ZERIN_PLUS(0.000833 * Sine(F + 4 * D - Mp)),
    ZERIN_PLUS(0.000781 * Sine(Mp - 3 * F)),
    ZERIN_PLUS(0.00067 * Sine(F + 4 * D - 2 * Mp)),
    ZERIN_PLUS(0.000606 * Sine(2 * D - 3 * F)),
    ZERIN_PLUS(0.000597 * Sine(2 * D + 2 * Mp - F)),
    ZERIN_PLUS(0.000492 * Sine(2 * D + Mp - m - F) * e),
    ZERIN_PLUS(0.00045 * Sine(2 * Mp - F - 2 * D)),
    ZERIN_NEW_LINE,
    ZERIN_PLUS(0.000439 * Sine(3 * Mp - F)),
    ZERIN_PLUS(0.000423 * Sine(F + 2 * D + 2 * Mp)),
    ZERIN_PLUS(0.000422 * Sine(2 * D - F - 3 * Mp)),
    ZERIN_MINUS(0.000367 * Sine(m + F + 2 * D - Mp) * e),
    // 0.00353, ten times the published 0.000353: kept as the formula text has always
    // printed it (at most 11" in the latitude).
    ZERIN_MINUS(0.00353 * Sine(m + F + 2 * D) * e),
    ZERIN_PLUS(0.000331 * Sine(F + 4 * D)),
    ZERIN_PLUS(0.000317 * Sine(2 * D + F - m + Mp) * e),
    ZERIN_PLUS(0.000306 * Sine(2 * D - 2 * m - F) * e * e),
    ZERIN_MINUS(0.000283 * Sine(Mp + 3 * F)),
};

// The equatorial horizontal parallax: a constant and 30 terms (degrees).
constexpr SeriesTerm kParallax[] = {
    ZERIN_START(0.950724),
    ZERIN_PLUS(0.051818 * Cosine(Mp)),
    ZERIN_PLUS(0.009531 * Cosine(2 * D - Mp)),
    ZERIN_PLUS(0.007843 * Cosine(2 * D)),
    ZERIN_PLUS(0.002824 * Cosine(2 * Mp)),
    ZERIN_PLUS(0.000857 * Cosine(2 * D + Mp)),
    ZERIN_PLUS(0.000533 * Cosine(2 * D - m) * e),
    ZERIN_PLUS(0.000401 * Cosine(2 * D - m - Mp) * e),
    ZERIN_PLUS(0.00032 * Cosine(Mp - m) * e),
    ZERIN_MINUS(0.000271 * Cosine(D)),
    ZERIN_MINUS(0.000264 * Cosine(m + Mp) * e),
    ZERIN_MINUS(0.000198 * Cosine(2 * F - Mp)),
    ZERIN_PLUS(0.000173 * Cosine(3 * Mp)),
    ZERIN_PLUS(0.000167 * Cosine(4 * D - Mp)),
    ZERIN_MINUS(0.000111 * Cosine(m) * e),
    ZERIN_PLUS(0.000103 * Cosine(4 * D - 2 * Mp)),
    ZERIN_MINUS(0.000084 * Cosine(2 * Mp - 2 * D)),
    ZERIN_MINUS(0.000083 * Cosine(2 * D + m) * e),
    ZERIN_PLUS(0.000079 * Cosine(2 * D + 2 * Mp)),
    ZERIN_PLUS(0.000072 * Cosine(4 * D)),
    ZERIN_PLUS(0.000064 * Cosine(2 * D - m + Mp)),  // without e, as printed
    ZERIN_MINUS(0.000063 * Cosine(2 * D + m - Mp) * e),
    ZERIN_PLUS(0.000041 * Cosine(m + D) * e),
    ZERIN_NEW_LINE,
    ZERIN_PLUS(0.000035 * Cosine(2 * Mp - m) * e),
    ZERIN_MINUS(0.000033 * Cosine(3 * Mp - 2 * D)),
    ZERIN_MINUS(0.00003 * Cosine(Mp + D)),
    ZERIN_MINUS(0.000029 * Cosine(2 * F - 2 * D)),
    ZERIN_MINUS(0.000029 * Cosine(2 * Mp + m) * e),
    ZERIN_PLUS(0.000026 * Cosine(2 * D - 2 * m) * e * e),
    ZERIN_MINUS(0.000023 * Cosine(2 * F - 2 * D + Mp)),
    ZERIN_PLUS(0.000019 * Cosine(4 * D - m - Mp) * e),
};

// clang-format on
#undef ZERIN_TERM
#undef ZERIN_START
#undef ZERIN_PLUS
#undef ZERIN_MINUS
#undef ZERIN_NEW_LINE

constexpr Series kSeries[] = {{"Lg_Lune", kLongitude}, {"b", kLatitude}, {"Ge", kParallax}};

std::string FormulaOf(const Series& series) {
    std::string text = std::string(series.name) + " = ";
    for (const SeriesTerm& term : series.entries) {
        if (term.value == nullptr) {
            text += "\r\n";
            text += series.name;
            text += " = ";
            text += series.name;
        } else {
            text += term.text;
        }
    }
    return text + "\r\n";
}

}  // namespace

double SeriesSum(MoonSeries which, const MoonArguments& arguments) {
    const std::span<const SeriesTerm> entries = kSeries[static_cast<int>(which)].entries;
    double sum = entries.front().value(arguments);
    for (const SeriesTerm& term : entries.subspan(1)) {
        if (term.value == nullptr) continue;
        const double value = term.value(arguments);
        sum = term.subtract ? sum - value : sum + value;
    }
    return sum;
}

std::string_view SeriesFormula(MoonSeries which) {
    static const std::string kFormulas[] = {FormulaOf(kSeries[0]), FormulaOf(kSeries[1]),
                                            FormulaOf(kSeries[2])};
    return kFormulas[static_cast<int>(which)];
}

}  // namespace zerin
