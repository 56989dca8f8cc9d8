// A planet's place seen from the Earth's centre, from its heliocentric elements: mean,
// eccentric and true anomaly, distance from the Sun, heliocentric longitude and
// latitude, geocentric longitude, distance and latitude, right ascension and
// declination; then its place for the observer, apparent diameter, elongation and
// illuminated fraction. Angles in degrees, distances in astronomical units, Asc in hours.
#include <cmath>

#include "Angles.h"
#include "Ecliptic.h"
#include "Kepler.h"
#include "ModCalcule.h"

namespace zerin {

PlanetPlace PlanetPlaceAt(const OrbitalElements& el, double T, double Long_Soleil,
                          double R_soleil) {
    PlanetPlace p;
    const double L = el.L, e = el.e, N = el.N;
    // Mean anomaly: the mean longitude counted from the perihelion (W + N).
    p.m = Angle_360_Deg(L < el.W + N ? L - (el.W + N) + 360 : L - (el.W + N));
    p.EE = EccentricAnomaly(p.m, e);
    p.R_Pt = el.a * (1 - e * Cosine(p.EE));
    // True anomaly, between 0 and 180: the second half of the orbit is told by m below.
    p.V = Angle_360_Deg(ArcCos(Ratio(Cosine(p.EE) - e, 1 - e * Cosine(p.EE))));
    // Argument of latitude: the angle from the ascending node along the orbit.
    p.U = Angle_360_Deg(p.m < 180 ? (L + p.V) - p.m - N : (L + 360) - p.V - p.m - N);
    // Heliocentric longitude, from the orbit onto the ecliptic (not reduced to 0..360).
    p.Lh = ArcTanQuadrant(Cosine(el.i) * Sine(p.U), Cosine(p.U), L) + N;
    p.b = ArcSin(Sine(p.U) * Sine(el.i));
    p.G = Angle_360_Deg(p.Lh - Long_Soleil);
    // Seen from the Earth, counted from the Sun's direction; then the Sun's longitude is
    // added back.
    p.Ls = ArcTanQuadrant(p.R_Pt * Cosine(p.b) * Sine(p.G),
                          p.R_Pt * Cosine(p.b) * Cosine(p.G) + R_soleil, p.Lh);
    p.L = Angle_360_Deg(p.Ls + Long_Soleil);
    p.r_Pln_Erth = std::sqrt(R_soleil * R_soleil + p.R_Pt * p.R_Pt +
                             2 * p.R_Pt * R_soleil * Cosine(p.b) * Cosine(p.G));
    p.Be = ArcSin(Ratio(p.R_Pt, p.r_Pln_Erth) * Sine(p.b));
    p.O = MeanObliquity(T);
    const Equatorial q = EclipticToEquatorial(p.L, p.Be, p.O);
    p.Asc = q.Asc;
    p.Dec = q.Dec;
    return p;
}

PlanetResult PlanetSeenFrom(const PlanetPlace& place, double diam_Pln, double JJ, double Lon,
                            double Lat, double R_soleil) {
    PlanetResult p;
    static_cast<PlanetPlace&>(p) = place;
    p.sky = SkyPlaceAt(JJ, Lon, Lat, p.Asc, p.Dec);
    // The Sun's horizontal parallax at one astronomical unit (8.794 seconds of arc),
    // scaled by the planet's distance from the Earth.
    p.Paralax = Ratio(8.794 / 3600, p.r_Pln_Erth);
    p.topo = TopocentricPlace(p.Paralax, p.Asc, p.Dec, p.sky.Ha, Lat);
    p.Diam = Ratio(diam_Pln, p.r_Pln_Erth);
    // The triangle Sun-Earth-planet: the angle at the Earth is the elongation, the one
    // at the planet the phase angle FV.
    const double Rs = R_soleil, Rp = p.R_Pt, Re = p.r_Pln_Erth;
    p.eLong = ArcCos(Ratio(Rs * Rs + Re * Re - Rp * Rp, 2 * Rs * Re));
    p.FV = ArcCos(Ratio(Rp * Rp + Re * Re - Rs * Rs, 2 * Rp * Re));
    p.illum = ((1 + Cosine(p.FV)) / 2) * 100;
    return p;
}

namespace {

constexpr Line<PlanetResult> kMeanAnomaly[] = {
    {{"m", Unit::Degrees, " الخاصّة المتوسطة\r\n\r\n",
      "إذا كان الوسط \r\nL < (W + N) \r\nm = L - (W + N) + 360\r\nو إذا كان الوسط \r\n"
      " L > (W + N) \r\n\r\nm = L - (W + N)\r\n"},
     &PlanetResult::m}};

constexpr Line<PlanetResult> kGeocentric[] = {
    {{"R_Pt", Unit::AU, " بعد الكوكب عن الشمس \r\n\r\n", "R_Pt = a * (1 - (e * Cosine(EE)))", " = ",
      "\r\n\r\n\r\n"},
     &PlanetResult::R_Pt},
    {{"V", Unit::Degrees, " الخاصّة الحقيقية \r\n\r\n",
      "V = ArcCos((Cosine(EE) - e) / (1 - (e * Cosine(EE))))", " = ", "\r\n\r\n\r\n"},
     &PlanetResult::V},
    {{"U", Unit::Degrees, " تعديل الكوكب \r\n\r\n",
      "إذا كانت الخاصة \r\n m < 180 \r\nU = (L + V) - m - N\r\nو إذا كانت الخاصة \r\n"
      " m > 180 \r\nU = (L + 360) - V - m - N\r\n"},
     &PlanetResult::U},
    {{"L", Unit::Degrees, " وسط الكوكب المنقول \r\n\r\n",
      "Y = (Cosine(i) * Sine(U))\r\nX = Cosine(U)\r\nإذا كانت\r\nX > 0 : L = ArcTan(Y / X)\r\n"
      "و إذا كانت\r\nX < 0\r\nفأنظر إلى إشارة\r\nY > 0 :\r\n     L = ArcTan(Y / X) + 180\r\n"
      "Y < 0 :\r\n     L = ArcTan(Y / X) - 180\r\nL = L + N",
      " = ", "\r\n\r\n\r\n"},
     &PlanetResult::Lh},
    {{"b", Unit::Degrees, " عرض الكوكب في مداره أي الشمسي المركز\r\n\r\n",
      "b = ArcSin(Sine(U) * Sine(i))", " = ", "\r\n\r\n\r\n"},
     &PlanetResult::b},
    {{"G", Unit::Degrees, " إختلاف المنظر السنوي للكوكب \r\n", "G = Angle_360_Deg(L - Long_Soleil)",
      " = ", "\r\n\r\n\r\n"},
     &PlanetResult::G},
    {{"L", Unit::Degrees, " الفرق بين الكوكب و الشمس \r\n\r\n",
      "Y = (R_Pt * Cosine(b) * Sine(G))\r\nX = (R_Pt * Cosine(b) * Cosine(G)) + R_soleil\r\n"
      "إذا كانت\r\nX > 0: L = ArcTan(Y / X)\r\nو إذا كانت\r\nX < 0:\r\nفأنظر إلى إشارة \r\n"
      "     Y > 0 :\r\n           L = ArcTan(Y / X) + 180\r\n     Y < 0 :\r\n"
      "            L = ArcTan(Y / X) - 180\r\n"},
     &PlanetResult::Ls},
    {{"L", Unit::Degrees, " طول الكوكب \r\n", "L = L + Long_Soleil"}, &PlanetResult::L},
    {{"r_Pln_Erth", Unit::AU, "بعد الكوكب عن الأرض\r\n",
      "r_Pln_Erth = Sqr((R_soleil * R_soleil) + (R_Pt * R_Pt) + (2 * R_Pt * R_soleil * "
      "Cosine(b) * Cosine(G)))\r\n",
      " = ", "\r\n"},
     &PlanetResult::r_Pln_Erth},
    {{"Be", Unit::Degrees, "عرض الكوكب الحقيقي\r\n",
      "Be = ArcSin((R_Pt / r_Pln_Erth) * Sine(b))\r\n"},
     &PlanetResult::Be},
    {{"O", Unit::Degrees, "ميل فلك البروج أو الكسوفية\r\n", kMeanObliquityFormula, " O = "},
     &PlanetResult::O},
    {{"Asc", Unit::Hours, "المطالع المستقيمة للكوكب \r\n\r\n",
      "Y = (Cosine(O) * Sine(L)) - (Tangent(Be) * Sine(O))\r\nX = (Cosine(L))\r\nإذا كانت\r\n"
      "X > 0 : Asc = ArcTan(Y / X)\r\nو إذا كانت\r\nX < 0 :\r\n"
      "Y > 0 : Asc = ArcTan(Y / X) + 180\r\nY < 0 :  Asc = ArcTan(Y / X) - 180\r\n"},
     &PlanetResult::Asc},
    {{"Dec", Unit::Degrees, "بعد الكوكب عن المعدّل أي ميله \r\n",
      "Dec = ArcSin((Sine(Be) * Cosine(O)) + (Cosine(Be) * Sine(O) * Sine(L)))\r\n"},
     &PlanetResult::Dec},
};

constexpr Line<PlanetResult> kParallax[] = {
    {{"Paralax", Unit::Degrees, "إختلاف منظر الكوكب بالدرج\r\n",
      "Paralax = (8.794 / 3600) / r_Pln_Erth\r\n"},
     &PlanetResult::Paralax}};

constexpr Line<PlanetResult> kAppearance[] = {
    {{"Diam", Unit::ArcSeconds, " القطر الظاهري للكوكب بالثواني \r\n",
      "Diam = (diam_Pln) / r_Pln_Erth\r\n"},
     &PlanetResult::Diam},
    {{"eLong", Unit::Degrees, "إستطالة الكوكب \r\n",
      "eLong = ArcCos(((R_soleil * R_soleil)  + (r_Pln_Erth * r_Pln_Erth)- (R_Pt * R_Pt)) / "
      "(2 * R_soleil * r_Pln_Erth))\r\n"},
     &PlanetResult::eLong},
    {{"FV", Unit::Degrees}, &PlanetResult::FV, true},
    {{"illum", Unit::Percent,
      " نور الكوكب\r\n"
      "FV = ArcCos(((R_Pt * R_Pt) + (r_Pln_Erth * r_Pln_Erth) - (R_soleil * R_soleil)) / (2 * "
      "R_Pt * r_Pln_Erth)) \r\n",
      "illum = ((1 + Cosine(FV)) / 2) * 100\r\n"},
     &PlanetResult::illum},
};

}  // namespace

std::string ModCalcule::Calcul_Planete(double L, double a, double e, double i, double W, double N,
                                       float diam_Pln) {
    const PlanetPlace place = PlanetPlaceAt({L, a, e, i, W, N}, T, Long_Soleil, R_soleil);
    planet = PlanetSeenFrom(place, diam_Pln, JJ, Lon, Lat, R_soleil);
    report.WriteLines(kMeanAnomaly, planet);
    WriteEccentricAnomaly(report, planet.EE);
    report.WriteLines(kGeocentric, planet);
    WriteSky(report,
             "******************* تحديد موقع الكوكب من أفق البلد ***********************\r\n\r\n",
             "زاوية السمت بالدرج\r\n", planet.sky);
    report.WriteLines(kParallax, planet);
    WriteTopocentric(report, planet.topo);
    report.WriteLines(kAppearance, planet);
    return report.Num(planet.L);
}

}  // namespace zerin
