// The Moon: its fundamental arguments and its true longitude, the classical
// low-precision lunar theory in Julian centuries T; and Calcul_Lune as a whole.
#include "Angles.h"
#include "Ecliptic.h"
#include "Moon.h"

namespace zerin {

namespace {

// Sum of the 50-term series of the true longitude, in degrees, added to the mean
// longitude Lp; every argument and sum in the order of the report's formula text.
double LongitudeSeries(double Lp, double Mp, double m, double D, double F, double e) {
    double Lg_Lune = Lp + (6.28875 * Sine(Mp)) + (1.274018 * Sine((2 * D) - Mp));
    Lg_Lune = Lg_Lune + (0.658309 * Sine(2 * D)) + (0.213616 * Sine(2 * Mp)) -
              (0.185596 * Sine(m) * e) - (0.114336 * Sine(2 * F)) +
              (0.058793 * Sine((2 * D) - (2 * Mp))) + (0.057212 * Sine((2 * D) - m - Mp) * e) +
              (0.05332 * Sine((2 * D) + Mp)) + (0.045874 * Sine((2 * D) - m) * e);
    Lg_Lune = Lg_Lune + (0.041024 * Sine(Mp - m) * e) - (0.034718 * Sine(D)) -
              (0.030465 * Sine(m + Mp) * e) + (0.015326 * Sine((2 * D) - (2 * F))) -
              (0.012528 * Sine((2 * F) + Mp)) - (0.01098 * Sine((2 * F) - Mp)) +
              (0.010674 * Sine((4 * D) - Mp)) + (0.010034 * Sine(3 * Mp)) +
              (0.008548 * Sine((4 * D) - (2 * Mp))) - (0.00791 * Sine(m - Mp + (2 * D)) * e) -
              (0.006783 * Sine((2 * D) + m) * e) + (0.005162 * Sine(Mp - D)) +
              (0.005 * Sine(m + D) * e) + (0.004049 * Sine(Mp - m + (2 * D)) * e) +
              (0.003996 * Sine((2 * Mp) + (2 * D))) + (0.003862 * Sine(4 * D)) +
              (0.003665 * Sine((2 * D) - (3 * Mp))) + (0.002695 * Sine((2 * Mp) - m) * e) +
              (0.002602 * Sine(Mp - (2 * F) - (2 * D))) +
              (0.002396 * Sine((2 * D) - m - (2 * Mp)) * e) - (0.002349 * Sine(Mp + D));
    Lg_Lune = Lg_Lune + (0.002249 * Sine((2 * D) - (2 * m)) * e * e) -
              (0.002125 * Sine((2 * Mp) + m) * e) - (0.002079 * Sine(2 * m) * e * e) +
              (0.002059 * Sine((2 * D) - Mp - (2 * m)) * e * e) -
              (0.001773 * Sine(Mp + (2 * D) - (2 * F))) - (0.001595 * Sine((2 * F) + (2 * D))) +
              (0.00122 * Sine((4 * D) - m - Mp) * e) - (0.00111 * Sine((2 * Mp) + (2 * F))) +
              (0.000892 * Sine(Mp - (3 * D))) - (0.000811 * Sine(m + Mp + (2 * D)) * e) +
              (0.000761 * Sine((4 * D) - m - (2 * Mp)) * e) +
              (0.000717 * Sine(Mp - (2 * m)) * e * e) +
              (0.000704 * Sine(Mp - (2 * m) - (2 * D)) * e * e) +
              (0.000693 * Sine(m - (2 * Mp) + (2 * D)) * e) +
              (0.000598 * Sine((2 * D) - m - (2 * F)) * e) + (0.00055 * Sine(Mp + (4 * D))) +
              (0.000538 * Sine(4 * Mp)) + (0.000521 * Sine((4 * D) - m) * e) +
              (0.000486 * Sine((2 * Mp) - D));
    return Lg_Lune;
}

constexpr std::string_view kSeriesFormula =
    "Lg_Lune = Lp + (6.28875 * Sine(Mp)) + (1.274018 * Sine((2 * D) - Mp))\r\n"
    "Lg_Lune = Lg_Lune + (0.658309 * Sine(2 * D)) + (0.213616 * Sine(2 * Mp)) - (0.185596 * "
    "Sine(m) * e) - (0.114336 * Sine(2 * F)) + (0.058793 * Sine((2 * D) - (2 * Mp))) + "
    "(0.057212 * Sine((2 * D) - m - Mp) * e) + (0.05332 * Sine((2 * D) + Mp)) + (0.045874 * "
    "Sine((2 * D) - m) * e)\r\n"
    "Lg_Lune = Lg_Lune + (0.041024 * Sine(Mp - m) * e) - (0.034718 * Sine(D)) - (0.030465 * "
    "Sine(m + Mp) * e) + (0.015326 * Sine((2 * D) - (2 * F))) - (0.012528 * Sine((2 * F) + "
    "Mp)) - (0.01098 * Sine((2 * F) - Mp)) + (0.010674 * Sine((4 * D) - Mp)) + (0.010034 * "
    "Sine(3 * Mp)) + (0.008548 * Sine((4 * D) - (2 * Mp))) - (0.00791 * Sine(m - Mp + (2 * "
    "D)) * e) - (0.006783 * Sine((2 * D) + m) * e) + (0.005162 * Sine(Mp - D)) + (0.005 * "
    "Sine(m + D) * e) + (0.004049 * Sine(Mp - m + (2 * D)) * e) + (0.003996 * Sine((2 * Mp) "
    "+ (2 * D))) + (0.003862 * Sine(4 * D)) + (0.003665 * Sine((2 * D) - (3 * Mp))) + "
    "(0.002695 * Sine((2 * Mp) - m) * e) + (0.002602 * Sine(Mp - (2 * F) - (2 * D))) + "
    "(0.002396 * Sine((2 * D) - m - (2 * Mp)) * e) - (0.002349 * Sine(Mp + D))\r\n"
    "Lg_Lune = Lg_Lune + (0.002249 * Sine((2 * D) - (2 * m)) * e * e) - (0.002125 * Sine((2 "
    "* Mp) + m) * e) - (0.002079 * Sine(2 * m) * e * e) + (0.002059 * Sine((2 * D) - Mp - (2 "
    "* m)) * e * e) - (0.001773 * Sine(Mp + (2 * D) - (2 * F))) - (0.001595 * Sine((2 * F) + "
    "(2 * D))) + (0.00122 * Sine((4 * D) - m - Mp) * e) - (0.00111 * Sine((2 * Mp) + (2 * "
    "F))) + (0.000892 * Sine(Mp - (3 * D))) - (0.000811 * Sine(m + Mp + (2 * D)) * e) + "
    "(0.000761 * Sine((4 * D) - m - (2 * Mp)) * e) + (0.000717 * Sine(Mp - (2 * m)) * e * e) "
    "+ (0.000704 * Sine(Mp - (2 * m) - (2 * D)) * e * e) + (0.000693 * Sine(m - (2 * Mp) + (2 "
    "* D)) * e) + (0.000598 * Sine((2 * D) - m - (2 * F)) * e) + (0.00055 * Sine(Mp + (4 * "
    "D))) + (0.000538 * Sine(4 * Mp)) + (0.000521 * Sine((4 * D) - m) * e) + (0.000486 * "
    "Sine((2 * Mp) - D))\r\n";

}  // namespace

void ModCalcule::Calcul_Lune() {
    moon = MoonResult{};
    const MoonArguments arguments = MoonLongitude();
    MoonLatitude(arguments);
    MoonSky(arguments);
}

ModCalcule::MoonArguments ModCalcule::MoonLongitude() {
    Report& r = report;
    MoonArguments a;

    r.At("Tc", Unit::Degrees);
    a.Tc = 0.003964 * Sine((346.56 + (132.87 * T) - (0.0091731 * T * T)));
    r.Item({"******************* تقويم القمر ***********************", "\r\n\r\n\r\n",
            "******************* حركات القمر في مداره ***********************", "\r\n\r\n",
            " تعديل الوسط و الخاصة و الفرق المتوسط بين القمر و الشمس و حصّة العرض بالدرج ", "\r\n",
            "Tc = 0.003964 * Sine((346.56 + (132.87 * T) - (0.0091731 * T * T)))", " = "},
           a.Tc);

    // The node comes first: the mean longitude and anomaly hold terms in Sine(N). It is
    // checked here so that an overflow is laid to N, not to the first value that uses it.
    r.At("N", Unit::Degrees);
    a.N = Finite(MoonNode(T), "N");

    // The long-period term in Sine(51.2 + 20.2 T) of Lp, Mp, m and D; Lp, Mp and D add to
    // their cubic that term, Tc and a term of the node.
    const double longPeriod = Sine(51.2 + (20.2 * T));
    const auto meanArgument = [&](double c0, double c1, double c2, double c3, double k, double s) {
        return Angle_360_Deg(Cubic(T, c0, c1, c2, c3) + (k * longPeriod) + a.Tc + (s * Sine(a.N)));
    };

    r.At("Lp", Unit::Degrees);
    a.Lp = meanArgument(270.434164, 481267.8831, -0.001133, 0.0000019, 0.000233, 0.001964);
    r.Item({" وسط القمر بالدرج", "\r\n",
            "Lp = 270.434164 + (481267.8831 * T) - (0.001133 * T * T) + (0.0000019 * T * T * T) "
            "+ (0.000233 * Sine(51.2 + (20.2 * T))) + Tc + (0.001964 * Sine(N))",
            " = "},
           a.Lp);

    r.At("Mp", Unit::Degrees);
    a.Mp = meanArgument(296.104608, 477198.8491, 0.009192, 0.0000144, 0.000817, 0.002541);
    r.Item({" خاصة القمر بالدرج", "\r\n",
            "p = 296.104608 + (477198.8491 * T) + (0.009192 * T * T) + (0.0000144 * T * T * T) "
            "+ (0.000817 * Sine(51.2 + (20.2 * T))) + Tc + (0.002541 * Sine(N))",
            " = "},
           a.Mp);

    r.At("N", Unit::Degrees);
    r.Item({" عقدة القمر بالدرج", "\r\n", kMoonNodeFormula, " = "}, a.N);

    r.At("m", Unit::Degrees);
    a.m = Angle_360_Deg(Cubic(T, 358.475833, 35999.0498, -0.00015, -0.0000033) -
                        (0.001778 * longPeriod));
    r.Item({"******************* أدلّة تعديلات القمر و طوله الحقيقي ***********************",
            "\r\n\r\n", " خاصة الشمس و هي الدليل الأول بالدرج", "\r\n",
            "m = 358.475833 + (35999.0498 * T) - (0.00015 * T * T) - (0.0000033 * T * T * T) - "
            "(0.001778 * Sine(51.2 + (20.2 * T)))",
            " = "},
           a.m);

    r.At("D", Unit::Degrees);
    a.D = meanArgument(350.737486, 445267.1142, -0.001436, 0.0000019, 0.002011, 0.001964);
    r.Item({" الفرق المتوسط بين القمر و الشمس بالدرج", "\r\n",
            "D = 350.737486 + (445267.1142 * T) - (0.001436 * T * T) + (0.0000019 * T * T * T) "
            "+ (0.002011 * Sine(51.2 + (20.2 * T))) + Tc + (0.001964 * Sine(N))",
            " = "},
           a.D);

    r.At("F", Unit::Degrees);
    a.F = Angle_360_Deg(Cubic(T, 11.250889, 483202.0251, -0.003211, -0.0000003) + a.Tc +
                        (-0.024691 * Sine(a.N)) - (0.004328 * Sine(a.N + 275.05 - (2.3 * T))));
    r.Item({" حصّة العرض بالدرج", "\r\n",
            "F = 11.250889 + (483202.0251 * T) - (0.003211 * T * T) - (0.0000003 * T * T * T) + "
            "Tc + (-0.024691 * Sine(N)) - (0.004328 * Sine(N + 275.05 - (2.3 * T)))",
            " = "},
           a.F);

    r.At("e", Unit::None);
    a.e = 1 - (0.002495 * T) - (0.00000752 * T * T);
    r.Item({" إنحراف المدار ", "\r\n", "e = 1 - (0.002495 * T) - (0.00000752 * T * T)", " = "},
           a.e);

    r.At("Lg_Lune", Unit::Degrees);
    a.Lg_Lune = Angle_360_Deg(LongitudeSeries(a.Lp, a.Mp, a.m, a.D, a.F, a.e));
    r.Item({" تعديلات القمر بالدرج", "\r\n", kSeriesFormula, " = "}, a.Lg_Lune);
    r.Item({" طول القمر الحقيقي بالدرج", "\r\n", " = "}, a.Lg_Lune);
    moon.Lg_Lune = a.Lg_Lune;
    return a;
}

}  // namespace zerin
