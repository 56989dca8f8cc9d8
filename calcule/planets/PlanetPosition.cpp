// A planet's place seen from the Earth's centre, from its heliocentric elements: mean,
// eccentric and true anomaly, distance from the Sun, heliocentric longitude and
// latitude, geocentric longitude, distance and latitude, right ascension and
// declination; then its place for the observer, apparent diameter, elongation and
// illuminated fraction. Angles in degrees, distances in astronomical units, Asc in hours.
#include <cmath>

#include "math/Angles.h"
#include "math/Kepler.h"
#include "report/ModCalcule.h"
#include "sky/Ecliptic.h"

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
    static_cast<Equatorial&>(p) = EquatorialOfDate(p.L, p.Be, T);
    return p;
}

PlanetResult PlanetSeenFrom(const PlanetPlace& place, double diam_Pln, double JJ, double Lon,
                            double Lat, double R_soleil) {
    PlanetResult p;
    static_cast<PlanetPlace&>(p) = place;
    // The Sun's horizontal parallax at one astronomical unit (8.794 seconds of arc),
    // scaled by the planet's distance from the Earth.
    static_cast<Observed&>(p) =
        ObservedAt(JJ, Lon, Lat, p.Asc, p.Dec, Ratio(8.794 / 3600, p.r_Pln_Erth));
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

const SectionText kMeanAnomaly =
    " الخاصّة المتوسطة\r\n\r\n"
    "إذا كان الوسط \r\n"
    "L < (W + N) \r\n"
    "m = L - (W + N) + 360\r\n"
    "و إذا كان الوسط \r\n"
    " L > (W + N) \r\n\r\n"
    "m = L - (W + N)\r\n"
    " = {m:deg}\r\n\r\n";

const SectionText kGeocentric =
    " بعد الكوكب عن الشمس \r\n\r\n"
    "R_Pt = a * (1 - (e * Cosine(EE))) = {R_Pt:au}\r\n\r\n\r\n"
    " الخاصّة الحقيقية \r\n\r\n"
    "V = ArcCos((Cosine(EE) - e) / (1 - (e * Cosine(EE)))) = {V:deg}\r\n\r\n\r\n"
    " تعديل الكوكب \r\n\r\n"
    "إذا كانت الخاصة \r\n"
    " m < 180 \r\n"
    "U = (L + V) - m - N\r\n"
    "و إذا كانت الخاصة \r\n"
    " m > 180 \r\n"
    "U = (L + 360) - V - m - N\r\n"
    " = {U:deg}\r\n\r\n"
    " وسط الكوكب المنقول \r\n\r\n"
    "Y = (Cosine(i) * Sine(U))\r\n"
    "X = Cosine(U)\r\n"
    "إذا كانت\r\n"
    "X > 0 : L = ArcTan(Y / X)\r\n"
    "و إذا كانت\r\n"
    "X < 0\r\n"
    "فأنظر إلى إشارة\r\n"
    "Y > 0 :\r\n"
    "     L = ArcTan(Y / X) + 180\r\n"
    "Y < 0 :\r\n"
    "     L = ArcTan(Y / X) - 180\r\n"
    "L = L + N = {L:deg}\r\n\r\n\r\n"
    " عرض الكوكب في مداره أي الشمسي المركز\r\n\r\n"
    "b = ArcSin(Sine(U) * Sine(i)) = {b:deg}\r\n\r\n\r\n"
    " إختلاف المنظر السنوي للكوكب \r\n"
    "G = Angle_360_Deg(L - Long_Soleil) = {G:deg}\r\n\r\n\r\n"
    " الفرق بين الكوكب و الشمس \r\n\r\n"
    "Y = (R_Pt * Cosine(b) * Sine(G))\r\n"
    "X = (R_Pt * Cosine(b) * Cosine(G)) + R_soleil\r\n"
    "إذا كانت\r\n"
    "X > 0: L = ArcTan(Y / X)\r\n"
    "و إذا كانت\r\n"
    "X < 0:\r\n"
    "فأنظر إلى إشارة \r\n"
    "     Y > 0 :\r\n"
    "           L = ArcTan(Y / X) + 180\r\n"
    "     Y < 0 :\r\n"
    "            L = ArcTan(Y / X) - 180\r\n"
    " = {L:deg}\r\n\r\n"
    " طول الكوكب \r\n"
    "L = L + Long_Soleil = {L:deg}\r\n\r\n"
    "بعد الكوكب عن الأرض\r\n"
    "r_Pln_Erth = Sqr((R_soleil * R_soleil) + (R_Pt * R_Pt) + (2 * R_Pt * R_soleil * "
    "Cosine(b) * Cosine(G)))\r\n"
    " = {r_Pln_Erth:au}\r\n"
    "عرض الكوكب الحقيقي\r\n"
    "Be = ArcSin((R_Pt / r_Pln_Erth) * Sine(b))\r\n"
    " = {Be:deg}\r\n\r\n"
    "ميل فلك البروج أو الكسوفية\r\n" ZERIN_MEAN_OBLIQUITY_FORMULA
    "\r\n O = {O:deg}\r\n\r\n"
    "المطالع المستقيمة للكوكب \r\n\r\n"
    "Y = (Cosine(O) * Sine(L)) - (Tangent(Be) * Sine(O))\r\n"
    "X = (Cosine(L))\r\n" ZERIN_RIGHT_ASCENSION_RULE
    " = {Asc:h}\r\n\r\n"
    "بعد الكوكب عن المعدّل أي ميله \r\n"
    "Dec = ArcSin((Sine(Be) * Cosine(O)) + (Cosine(Be) * Sine(O) * Sine(L)))\r\n"
    " = {Dec:deg}\r\n\r\n";

const SectionText kParallax =
    "إختلاف منظر الكوكب بالدرج\r\n"
    "Paralax = (8.794 / 3600) / r_Pln_Erth\r\n"
    " = {Paralax:deg}\r\n\r\n";

const SectionText kAppearance =
    " القطر الظاهري للكوكب بالثواني \r\n"
    "Diam = (diam_Pln) / r_Pln_Erth\r\n"
    " = {Diam:arcsec}\r\n\r\n"
    "إستطالة الكوكب \r\n"
    "eLong = ArcCos(((R_soleil * R_soleil)  + (r_Pln_Erth * r_Pln_Erth)- (R_Pt * R_Pt)) / "
    "(2 * R_soleil * r_Pln_Erth))\r\n"
    " = {eLong:deg}\r\n\r\n"
    "{!FV:deg}"
    " نور الكوكب\r\n"
    "FV = ArcCos(((R_Pt * R_Pt) + (r_Pln_Erth * r_Pln_Erth) - (R_soleil * R_soleil)) / (2 * "
    "R_Pt * r_Pln_Erth)) \r\n"
    "illum = ((1 + Cosine(FV)) / 2) * 100\r\n"
    " = {illum:%}\r\n\r\n";

}  // namespace

PlanetResult Calcul_Planete(Report& report, const Observer& o, double Long_Soleil, double R_soleil,
                            const OrbitalElements& elements, float diam_Pln) {
    const PlanetPlace place = PlanetPlaceAt(elements, o.T, Long_Soleil, R_soleil);
    const PlanetResult p = PlanetSeenFrom(place, diam_Pln, o.JJ, o.Lon, o.Lat, R_soleil);
    report.Section(kMeanAnomaly, {p.m});
    WriteEccentricAnomaly(report, p.EE);
    report.Section(kGeocentric, {p.R_Pt, p.V, p.U, p.Lh, p.b, p.G, p.Ls, p.L, p.r_Pln_Erth, p.Be,
                                 p.O, p.Asc, p.Dec});
    WriteObserved(
        report,
        "******************* تحديد موقع الكوكب من أفق البلد ***********************\r\n\r\n",
        kParallax, p);
    report.Section(kAppearance, {p.Diam, p.eLong, p.FV, p.illum});
    return p;
}

}  // namespace zerin
