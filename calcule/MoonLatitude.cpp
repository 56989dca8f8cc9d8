// The Moon's ecliptic latitude, its parallax and distance, and its geocentric right
// ascension and declination.
#include "Angles.h"
#include "Ecliptic.h"
#include "Moon.h"

namespace zerin {

namespace {

// Sum of the 45-term series of the ecliptic latitude, in degrees, before the node
// correction; every argument and sum in the order of the report's formula text.
double LatitudeSeries(double Mp, double m, double D, double F, double e) {
    double b = 5.128189 * Sine(F) + 0.280606 * Sine(Mp + F) + 0.277693 * Sine(Mp - F) +
               0.173238 * Sine(2 * D - F) + 0.055413 * Sine(2 * D + F - Mp) +
               0.046272 * Sine(2 * D - F - Mp) + 0.032573 * Sine(2 * D + F);
    b = b + 0.017198 * Sine(2 * Mp + F) + 0.009267 * Sine(2 * D + Mp - F) +
        0.008823 * Sine(2 * Mp - F) + (0.008247 * Sine(2 * D - m - F) * e) +
        0.004323 * Sine(2 * D - F - 2 * Mp) + 0.0042 * Sine(2 * D + F + Mp) +
        0.003372 * Sine(F - m - 2 * D) * e + 0.002472 * Sine(2 * D + F - m - Mp) * e +
        0.002222 * Sine(2 * D + F - m) * e + 0.002072 * Sine(2 * D - F - m - Mp) * e +
        0.001877 * Sine(F - m + Mp) * e;
    b = b + 0.001828 * Sine(4 * D - F - Mp) - 0.001803 * Sine(F + m) * e - 0.00175 * Sine(3 * F) +
        0.00157 * Sine(Mp - m - F) * e - 0.001487 * Sine(F + D) - 0.001481 * Sine(F + m + Mp) * e +
        0.001417 * Sine(F - m - Mp) * e + 0.00135 * Sine(F - m) * e + 0.00133 * Sine(F - D) +
        0.001106 * Sine(F + 3 * Mp) + 0.00102 * Sine(4 * D - F) + 0.000833 * Sine(F + 4 * D - Mp) +
        0.000781 * Sine(Mp - 3 * F) + 0.00067 * Sine(F + 4 * D - 2 * Mp) +
        0.000606 * Sine(2 * D - 3 * F) + 0.000597 * Sine(2 * D + 2 * Mp - F) +
        0.000492 * Sine(2 * D + Mp - m - F) * e + 0.00045 * Sine(2 * Mp - F - 2 * D);
    b = b + 0.000439 * Sine(3 * Mp - F) + 0.000423 * Sine(F + 2 * D + 2 * Mp) +
        0.000422 * Sine(2 * D - F - 3 * Mp) - 0.000367 * Sine(m + F + 2 * D - Mp) * e -
        0.00353 * Sine(m + F + 2 * D) * e + 0.000331 * Sine(F + 4 * D) +
        0.000317 * Sine(2 * D + F - m + Mp) * e + 0.000306 * Sine(2 * D - 2 * m - F) * e * e -
        0.000283 * Sine(Mp + 3 * F);
    return b;
}

// The equatorial horizontal parallax in degrees: the constant and the 30-term series,
// in the order of the report's formula text.
double ParallaxSeries(double Mp, double m, double D, double F, double e) {
    double Ge = 0.950724 + 0.051818 * Cosine(Mp) + 0.009531 * Cosine(2 * D - Mp) +
                0.007843 * Cosine(2 * D) + 0.002824 * Cosine(2 * Mp) +
                0.000857 * Cosine(2 * D + Mp) + 0.000533 * Cosine(2 * D - m) * e +
                0.000401 * Cosine(2 * D - m - Mp) * e + 0.00032 * Cosine(Mp - m) * e -
                0.000271 * Cosine(D) - 0.000264 * Cosine(m + Mp) * e -
                0.000198 * Cosine(2 * F - Mp) + 0.000173 * Cosine(3 * Mp) +
                0.000167 * Cosine(4 * D - Mp) - 0.000111 * Cosine(m) * e +
                0.000103 * Cosine(4 * D - 2 * Mp) - 0.000084 * Cosine(2 * Mp - 2 * D) -
                0.000083 * Cosine(2 * D + m) * e + 0.000079 * Cosine(2 * D + 2 * Mp) +
                0.000072 * Cosine(4 * D) + 0.000064 * Cosine(2 * D - m + Mp) -
                0.000063 * Cosine(2 * D + m - Mp) * e + 0.000041 * Cosine(m + D) * e;
    Ge = Ge + 0.000035 * Cosine(2 * Mp - m) * e - 0.000033 * Cosine(3 * Mp - 2 * D) -
         0.00003 * Cosine(Mp + D) - 0.000029 * Cosine(2 * F - 2 * D) -
         0.000029 * Cosine(2 * Mp + m) * e + 0.000026 * Cosine(2 * D - 2 * m) * e * e -
         0.000023 * Cosine(2 * F - 2 * D + Mp) + 0.000019 * Cosine(4 * D - m - Mp) * e;
    return Ge;
}

constexpr std::string_view kLatitudeFormula =
    "b = 5.128189 * Sine(F) + 0.280606 * Sine(Mp + F) + 0.277693 * Sine(Mp - F) + 0.173238 * "
    "Sine(2 * D - F) + 0.055413 * Sine(2 * D + F - Mp) + 0.046272 * Sine(2 * D - F - Mp) + "
    "0.032573 * Sine(2 * D + F)\r\n"
    "b = b + 0.017198 * Sine(2 * Mp + F) + 0.009267 * Sine(2 * D + Mp - F) + 0.008823 * Sine(2 "
    "* Mp - F) + (0.008247 * Sine(2 * D - m - F) * e) + 0.004323 * Sine(2 * D - F - 2 * Mp) + "
    "0.0042 * Sine(2 * D + F + Mp) + 0.003372 * Sine(F - m - 2 * D) * e + 0.002472 * Sine(2 * "
    "D + F - m - Mp) * e + 0.002222 * Sine(2 * D + F - m) * e + 0.002072 * Sine(2 * D - F - m "
    "- Mp) * e + 0.001877 * Sine(F - m + Mp) * e\r\n"
    "b = b + 0.001828 * Sine(4 * D - F - Mp) - 0.001803 * Sine(F + m) * e - 0.00175 * Sine(3 * "
    "F) + 0.00157 * Sine(Mp - m - F) * e - 0.001487 * Sine(F + D) - 0.001481 * Sine(F + m + "
    "Mp) * e + 0.001417 * Sine(F - m - Mp) * e + 0.00135 * Sine(F - m) * e + 0.00133 * Sine(F "
    "- D) + 0.001106 * Sine(F + 3 * Mp) + 0.00102 * Sine(4 * D - F) + 0.000833 * Sine(F + 4 * "
    "D - Mp) + 0.000781 * Sine(Mp - 3 * F) + 0.00067 * Sine(F + 4 * D - 2 * Mp) + 0.000606 * "
    "Sine(2 * D - 3 * F) + 0.000597 * Sine(2 * D + 2 * Mp - F) + 0.000492 * Sine(2 * D + Mp - "
    "m - F) * e + 0.00045 * Sine(2 * Mp - F - 2 * D)\r\n"
    "b = b + 0.000439 * Sine(3 * Mp - F) + 0.000423 * Sine(F + 2 * D + 2 * Mp) + 0.000422 * "
    "Sine(2 * D - F - 3 * Mp) - 0.000367 * Sine(m + F + 2 * D - Mp) * e - 0.00353 * Sine(m + F "
    "+ 2 * D) * e + 0.000331 * Sine(F + 4 * D) + 0.000317 * Sine(2 * D + F - m + Mp) * e + "
    "0.000306 * Sine(2 * D - 2 * m - F) * e * e - 0.000283 * Sine(Mp + 3 * F)\r\n";

constexpr std::string_view kParallaxFormula =
    "Ge = 0.950724 + 0.051818 * Cosine(Mp) + 0.009531 * Cosine(2 * D - Mp) + 0.007843 * "
    "Cosine(2 * D) + 0.002824 * Cosine(2 * Mp) + 0.000857 * Cosine(2 * D + Mp) + 0.000533 * "
    "Cosine(2 * D - m) * e + 0.000401 * Cosine(2 * D - m - Mp) * e + 0.00032 * Cosine(Mp - m) "
    "* e - 0.000271 * Cosine(D) - 0.000264 * Cosine(m + Mp) * e - 0.000198 * Cosine(2 * F - "
    "Mp) + 0.000173 * Cosine(3 * Mp) + 0.000167 * Cosine(4 * D - Mp) - 0.000111 * Cosine(m) * "
    "e + 0.000103 * Cosine(4 * D - 2 * Mp) - 0.000084 * Cosine(2 * Mp - 2 * D) - 0.000083 * "
    "Cosine(2 * D + m) * e + 0.000079 * Cosine(2 * D + 2 * Mp) + 0.000072 * Cosine(4 * D) + "
    "0.000064 * Cosine(2 * D - m + Mp) - 0.000063 * Cosine(2 * D + m - Mp) * e + 0.000041 * "
    "Cosine(m + D) * e\r\n"
    "Ge = Ge + 0.000035 * Cosine(2 * Mp - m) * e - 0.000033 * Cosine(3 * Mp - 2 * D) - 0.00003 "
    "* Cosine(Mp + D) - 0.000029 * Cosine(2 * F - 2 * D) - 0.000029 * Cosine(2 * Mp + m) * e + "
    "0.000026 * Cosine(2 * D - 2 * m) * e * e - 0.000023 * Cosine(2 * F - 2 * D + Mp) + "
    "0.000019 * Cosine(4 * D - m - Mp) * e\r\n";

}  // namespace

void ModCalcule::MoonLatitude(const MoonArguments& a) {
    Report& r = report;
    MoonResult& p = moon;

    r.At("b", Unit::Degrees);
    p.b = LatitudeSeries(a.Mp, a.m, a.D, a.F, a.e);
    r.Item({"******************* عرض القمر الحقيقي ***********************", "\r\n\r\n",
            "عرض القمر الأول بالدرج", "\r\n", kLatitudeFormula, " = "},
           p.b);

    // The node's correction of the latitude.
    r.At("w1", Unit::None);
    const double w1 = 0.0004664 * Cosine(a.N);
    r.Item({"عرض القمر الثاني بالدرج", "\r\n", "w1 = 0.0004664 * Cosine(N)", "\r\n", " = "}, w1);

    r.At("w2", Unit::None);
    const double w2 = 0.0000754 * Cosine(a.N + (275.05 - 2.3 * T));
    r.Item({"w2 = 0.0000754 * Cosine(N + (275.05 - 2.3 * T))", "\r\n", " = "}, w2);

    r.At("b", Unit::Degrees);
    p.b = p.b * (1 - w1 - w2);
    r.Item({"عرض القمر الحقيقي بالدرج", "\r\n", "b = b * (1 - w1 - w2)", "\r\n", " = "}, p.b);

    r.At("Ge", Unit::Degrees);
    p.Ge = ParallaxSeries(a.Mp, a.m, a.D, a.F, a.e);
    r.Item({"******************* بعد القمر عن الأرض ***********************", "\r\n\r\n",
            "تعديل البعد", "\r\n", kParallaxFormula, " = "},
           p.Ge);

    r.At("r_lune", Unit::Kilometres);
    p.r_lune = 6378.14 / Sine(p.Ge);
    r.Item({"بعد القمر عن الأرض بالكيلومتر ", "\r\n", "r_lune = 6378.14 / Sine(Ge)", "\r\n", " = "},
           p.r_lune);

    r.At("O", Unit::Degrees);  // mean obliquity of the ecliptic
    p.O = MeanObliquity(T);
    r.Item({"******************* المطالع المستقيمة للقمر ***********************", "\r\n\r\n",
            "ميل فلك البروج أو الكسوفية", "\r\n", kMeanObliquityFormula, "\r\n", " O = "},
           p.O);

    r.At("Asc", Unit::Hours);
    const double Y = (Cosine(p.O) * Sine(a.Lg_Lune)) - (Tangent(p.b) * Sine(p.O));
    const double X = Cosine(a.Lg_Lune);
    p.Asc = Angle_24_Hour(ArcTanQuadrant(Y, X, 0) / 15);
    r.Item({"المطالع المستقيمة للقمر بالساعات ", "\r\n\r\n",
            "Y = (Cosine(O) * Sine(Lg_Lune)) - (Tangent(b) * Sine(O))\r\n",
            "X = (Cosine(Lg_Lune))\r\n", "إذا كانت\r\n", "X > 0 : Asc = ArcTan(Y / X)\r\n",
            "و إذا كانت\r\n", "X < 0 :\r\n", "Y > 0 : Asc = ArcTan(Y / X) + 180\r\n",
            "Y < 0 :  Asc = ArcTan(Y / X) - 180\r\n", " = "},
           p.Asc);

    r.At("Dec", Unit::Degrees);
    p.Dec = ArcSin((Sine(p.b) * Cosine(p.O)) + (Cosine(p.b) * Sine(p.O) * Sine(a.Lg_Lune)));
    r.Item({"******************* بعد القمر عن المعدّل ***********************", "\r\n\r\n",
            "بعد القمر عن المعدّل أي ميله بالدرج", "\r\n",
            "Dec = ArcSin((Sine(b) * Cosine(O)) + (Cosine(b) * Sine(O) * Sine(Lg_Lune)))", "\r\n",
            " = "},
           p.Dec);
}

}  // namespace zerin
