// A planet's place seen from the Earth's centre, from its heliocentric elements: mean,
// eccentric and true anomaly, distance from the Sun, heliocentric longitude and
// latitude, geocentric longitude, distance and latitude, right ascension and
// declination. Angles in degrees, distances in astronomical units, Asc in hours.
#include <cmath>

#include "Angles.h"
#include "Ecliptic.h"
#include "ModCalcule.h"

namespace zerin {

std::string ModCalcule::Calcul_Planete(double L, double a, double e, double i, double W, double N,
                                       float diam_Pln) {
    Report& r = report;
    planet = PlanetResult{};
    PlanetResult& p = planet;

    // Mean anomaly: the mean longitude counted from the perihelion (W + N).
    r.At("m", Unit::Degrees);
    double m = L < W + N ? L - (W + N) + 360 : L - (W + N);
    m = Angle_360_Deg(m);
    r.Item({" الخاصّة المتوسطة", "\r\n\r\n", "إذا كان الوسط \r\n", "L < (W + N) \r\n",
            "m = L - (W + N) + 360\r\n", "و إذا كان الوسط \r\n", " L > (W + N) \r\n\r\n",
            "m = L - (W + N)\r\n", " = "},
           m);

    r.At("EE", Unit::Degrees);
    const double EE = Calcul_Kepler(m, e);

    r.At("R_Pt", Unit::AU);
    p.R_Pt = a * (1 - e * Cosine(EE));
    r.Item({" بعد الكوكب عن الشمس ", "\r\n\r\n", "R_Pt = a * (1 - (e * Cosine(EE)))", " = "},
           p.R_Pt, "\r\n\r\n\r\n");

    // True anomaly, between 0 and 180: the second half of the orbit is told by m below.
    r.At("V", Unit::Degrees);
    const double V = Angle_360_Deg(ArcCos(Ratio(Cosine(EE) - e, 1 - e * Cosine(EE))));
    r.Item({" الخاصّة الحقيقية ", "\r\n\r\n",
            "V = ArcCos((Cosine(EE) - e) / (1 - (e * Cosine(EE))))", " = "},
           V, "\r\n\r\n\r\n");

    // Argument of latitude: the angle from the ascending node along the orbit.
    r.At("U", Unit::Degrees);
    double U = m < 180 ? (L + V) - m - N : (L + 360) - V - m - N;
    U = Angle_360_Deg(U);
    r.Item({" تعديل الكوكب ", "\r\n\r\n", "إذا كانت الخاصة \r\n", " m < 180 \r\n",
            "U = (L + V) - m - N\r\n", "و إذا كانت الخاصة \r\n", " m > 180 \r\n",
            "U = (L + 360) - V - m - N\r\n", " = "},
           U);

    // Heliocentric longitude, from the orbit onto the ecliptic (not reduced to 0..360).
    r.At("L", Unit::Degrees);
    L = ArcTanQuadrant(Cosine(i) * Sine(U), Cosine(U), L);
    L = L + N;
    r.Item({" وسط الكوكب المنقول ", "\r\n\r\n", "Y = (Cosine(i) * Sine(U))\r\n",
            "X = Cosine(U)\r\n", "إذا كانت\r\n", "X > 0 : L = ArcTan(Y / X)\r\n", "و إذا كانت\r\n",
            "X < 0\r\n", "فأنظر إلى إشارة\r\n", "Y > 0 :\r\n", "     L = ArcTan(Y / X) + 180\r\n",
            "Y < 0 :\r\n", "     L = ArcTan(Y / X) - 180\r\n", "L = L + N", " = "},
           L, "\r\n\r\n\r\n");

    r.At("b", Unit::Degrees);  // heliocentric latitude
    const double b = ArcSin(Sine(U) * Sine(i));
    r.Item({" عرض الكوكب في مداره أي الشمسي المركز", "\r\n\r\n", "b = ArcSin(Sine(U) * Sine(i))",
            " = "},
           b, "\r\n\r\n\r\n");

    r.At("G", Unit::Degrees);  // planet's longitude counted from the Sun's
    const double G = Angle_360_Deg(L - Long_Soleil);
    r.Item({" إختلاف المنظر السنوي للكوكب ", "\r\n", "G = Angle_360_Deg(L - Long_Soleil)", " = "},
           G, "\r\n\r\n\r\n");

    // Seen from the Earth, counted from the Sun's direction; then the Sun's longitude
    // is added back.
    r.At("L", Unit::Degrees);
    L = ArcTanQuadrant(p.R_Pt * Cosine(b) * Sine(G), p.R_Pt * Cosine(b) * Cosine(G) + R_soleil, L);
    r.Item({" الفرق بين الكوكب و الشمس ", "\r\n\r\n", "Y = (R_Pt * Cosine(b) * Sine(G))\r\n",
            "X = (R_Pt * Cosine(b) * Cosine(G)) + R_soleil\r\n", "إذا كانت\r\n",
            "X > 0: L = ArcTan(Y / X)\r\n", "و إذا كانت\r\n", "X < 0:\r\n", "فأنظر إلى إشارة \r\n",
            "     Y > 0 :\r\n", "           L = ArcTan(Y / X) + 180\r\n", "     Y < 0 :\r\n",
            "            L = ArcTan(Y / X) - 180\r\n", " = "},
           L);

    r.At("L", Unit::Degrees);  // geocentric longitude
    L = Angle_360_Deg(L + Long_Soleil);
    p.L = L;
    std::string longitude = r.Num(L);
    r.Item({" طول الكوكب ", "\r\n", "L = L + Long_Soleil = "}, L);

    r.At("r_Pln_Erth", Unit::AU);
    p.r_Pln_Erth = std::sqrt(R_soleil * R_soleil + p.R_Pt * p.R_Pt +
                             2 * p.R_Pt * R_soleil * Cosine(b) * Cosine(G));
    r.Item({"بعد الكوكب عن الأرض", "\r\n",
            "r_Pln_Erth = Sqr((R_soleil * R_soleil) + (R_Pt * R_Pt) + (2 * R_Pt * R_soleil * "
            "Cosine(b) * Cosine(G)))",
            "\r\n", " = "},
           p.r_Pln_Erth, "\r\n");

    r.At("Be", Unit::Degrees);  // geocentric latitude
    p.Be = ArcSin(Ratio(p.R_Pt, p.r_Pln_Erth) * Sine(b));
    r.Item(
        {"عرض الكوكب الحقيقي", "\r\n", "Be = ArcSin((R_Pt / r_Pln_Erth) * Sine(b))", "\r\n", " = "},
        p.Be);

    r.At("O", Unit::Degrees);  // mean obliquity of the ecliptic
    p.O = MeanObliquity(T);
    r.Item({"ميل فلك البروج أو الكسوفية", "\r\n", kMeanObliquityFormula, "\r\n", " O = "}, p.O);

    r.At("Asc", Unit::Hours);
    const double Y = Cosine(p.O) * Sine(L) - Tangent(p.Be) * Sine(p.O);
    p.Asc = Angle_24_Hour(ArcTanQuadrant(Y, Cosine(L), 0) / 15);
    r.Item(
        {"المطالع المستقيمة للكوكب ", "\r\n\r\n",
         "Y = (Cosine(O) * Sine(L)) - (Tangent(Be) * Sine(O))\r\n", "X = (Cosine(L))\r\n",
         "إذا كانت\r\n", "X > 0 : Asc = ArcTan(Y / X)\r\n", "و إذا كانت\r\n", "X < 0 :\r\n",
         "Y > 0 : Asc = ArcTan(Y / X) + 180\r\n", "Y < 0 :  Asc = ArcTan(Y / X) - 180\r\n", " = "},
        p.Asc);

    r.At("Dec", Unit::Degrees);
    p.Dec = ArcSin(Sine(p.Be) * Cosine(p.O) + Cosine(p.Be) * Sine(p.O) * Sine(L));
    r.Item(
        {"بعد الكوكب عن المعدّل أي ميله ", "\r\n",
         "Dec = ArcSin((Sine(Be) * Cosine(O)) + (Cosine(Be) * Sine(O) * Sine(L)))", "\r\n", " = "},
        p.Dec);

    PlanetFromObserver(diam_Pln);
    return longitude;
}

}  // namespace zerin
