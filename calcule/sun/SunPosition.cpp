// The Sun's place: the classical low-precision solar theory in Julian centuries T.
#include "math/Angles.h"
#include "math/Kepler.h"
#include "report/ModCalcule.h"
#include "sky/Ecliptic.h"

namespace zerin {

SunPlace SunPlaceAt(double T) {
    SunPlace s;
    s.L = Angle_360_Deg(279.69668 + 36000.76892 * T + 0.0003025 * T * T);
    s.m = Angle_360_Deg(358.47583 + 35999.04975 * T - 0.00015 * T * T - 0.0000033 * T * T * T);
    s.e = 0.01675104 - 0.0000418 * T - 0.000000126 * T * T;
    s.EE = EccentricAnomaly(s.m, s.e);
    s.R_soleil = 1.0000002 * (1 - s.e * Cosine(s.EE));  // a, the orbit's semi-major axis
    s.N = Angle_360_Deg(MoonNode(T));
    s.C = (1.91946 - 0.004789 * T - 0.000014 * T * T) * Sine(s.m) +
          (0.020094 - 0.0001 * T) * Sine(s.m + s.m) + 0.000293 * Sine(s.m * 3);
    s.C = Angle_360_Deg(s.C);
    s.Lg_Soleil = Angle_360_Deg(s.C + s.L - 0.00569 - 0.00479 * Sine(s.N));
    static_cast<Equatorial&>(s) = EquatorialOfDate(s.Lg_Soleil, 0, T);
    return s;
}

namespace {

// The Sun's place, before and after Kepler's item. The texts write the obliquity as a
// lower-case o in the right ascension and the declination.
const SectionText kMeanElements =
    "*******************  تقويم الشمس  ***********************\r\n\r\n"
    " وسط الشمس بالدرج\r\n"
    "L = 279.69668 + (36000.76892 * T) + (0.0003025 * T * T) = {L:deg}\r\n\r\n"
    " مركز أو خاصةالشمس بالدرج\r\n\r\n"
    "m = 358.47583 + (35999.04975 * T) - (0.00015 * T * T) - (0.0000033 * T * T * T)"
    " = {m:deg}\r\n\r\n"
    "  إنحراف المدار \r\n"
    "e = 0.01675104 - (0.0000418 * T) - (0.000000126 * T * T) = {e}\r\n\r\n";

const SectionText kApparentPlace =
    "  بعد الشمس بالوحدة الفلكية\r\n"
    "R_soleil = a * (1 - (e * Cosine(EE))) = {R_soleil:au}\r\n\r\n"  //
    ZERIN_MOON_NODE_ITEM
    " تعديل الشمس بالدرج\r\n"
    "C = ((1.91946 - (0.004789 * T) - (0.000014 * T * T)) * Sine(m)) + ((0.020094 - "
    "(0.0001 * T)) * Sine(2 * m)) + (0.000293 * Sine(3 * m)) = {C:deg}\r\n\r\n"
    " طول الشمس المصحّح بالدرج\r\n"
    "Lg_Soleil = L + C - 0.00569 - (0.00479 * Sine(N)) = {Lg_Soleil:deg}\r\n\r\n"
    "ميل فلك البروج أو الكسوفية بالدرج\r\n" ZERIN_MEAN_OBLIQUITY_FORMULA
    "\r\n O = {O:deg}\r\n\r\n"
    "المطالع المستقيمة للشمس بالساعات\r\n\r\n"
    "Y = (Cosine(o) * Sine(Lg_Soleil))\r\n"
    "X = (Cosine(Lg_Soleil))\r\n" ZERIN_RIGHT_ASCENSION_RULE
    "Asc = Asc / 15\r\n"
    " = {Asc:h}\r\n\r\n"
    "ميل الشمس عن المعدّل أي خط الإستواء السّماوي بالدرج\r\n"
    "Dec = ArcSin(Sine(o) * Sine(Lg_Soleil))\r\n"
    " = {Dec:deg}\r\n\r\n";

}  // namespace

SunPlace WriteSunPlace(Report& report, double T) {
    const SunPlace s = SunPlaceAt(T);
    report.Section(kMeanElements, {s.L, s.m, s.e});
    WriteEccentricAnomaly(report, s.EE);
    report.Section(kApparentPlace, {s.R_soleil, s.N, s.C, s.Lg_Soleil, s.O, s.Asc, s.Dec});
    return s;
}

}  // namespace zerin
