// The Sun's place: the classical low-precision solar theory in Julian centuries T.
#include "Angles.h"
#include "Ecliptic.h"
#include "ModCalcule.h"

namespace zerin {

void ModCalcule::SunPosition() {
    Report& r = report;
    SunPlace s;

    r.At("L", Unit::Degrees);  // mean longitude
    s.L = Angle_360_Deg(279.69668 + 36000.76892 * T + 0.0003025 * T * T);
    r.Item({"*******************  تقويم الشمس  ***********************", "\r\n\r\n",
            " وسط الشمس بالدرج", "\r\n", "L = 279.69668 + (36000.76892 * T) + (0.0003025 * T * T)",
            " = "},
           s.L);

    r.At("m", Unit::Degrees);  // mean anomaly
    s.m = Angle_360_Deg(358.47583 + 35999.04975 * T - 0.00015 * T * T - 0.0000033 * T * T * T);
    r.Item(
        {" مركز أو خاصةالشمس بالدرج", "\r\n\r\n",
         "m = 358.47583 + (35999.04975 * T) - (0.00015 * T * T) - (0.0000033 * T * T * T)", " = "},
        s.m);

    r.At("e", Unit::None);  // eccentricity of the Earth's orbit
    s.e = 0.01675104 - 0.0000418 * T - 0.000000126 * T * T;
    e_Soleil = s.e;
    r.Item({"  إنحراف المدار ", "\r\n", "e = 0.01675104 - (0.0000418 * T) - (0.000000126 * T * T)",
            " = "},
           s.e);

    s.EE = Calcul_Kepler(s.m, s.e);

    r.At("R_soleil", Unit::AU);
    R_soleil = 1.0000002 * (1 - s.e * Cosine(s.EE));
    s.R_soleil = R_soleil;
    r.Item({"  بعد الشمس بالوحدة الفلكية", "\r\n", "R_soleil = a * (1 - (e * Cosine(EE)))", " = "},
           R_soleil);

    r.At("N", Unit::Degrees);  // longitude of the Moon's node
    s.N = Angle_360_Deg(MoonNode(T));
    r.Item({" عقدة القمر بالدرج", "\r\n", kMoonNodeFormula, " = "}, s.N);

    r.At("C", Unit::Degrees);  // equation of the centre, reported within 0..360
    s.C = (1.91946 - 0.004789 * T - 0.000014 * T * T) * Sine(s.m) +
          (0.020094 - 0.0001 * T) * Sine(s.m + s.m) + 0.000293 * Sine(s.m * 3);
    s.C = Angle_360_Deg(s.C);
    r.Item({" تعديل الشمس بالدرج", "\r\n",
            "C = ((1.91946 - (0.004789 * T) - (0.000014 * T * T)) * Sine(m)) + ((0.020094 - "
            "(0.0001 * T)) * Sine(2 * m)) + (0.000293 * Sine(3 * m))",
            " = "},
           s.C);

    r.At("Lg_Soleil", Unit::Degrees);  // apparent longitude
    s.Lg_Soleil = Angle_360_Deg(s.C + s.L - 0.00569 - 0.00479 * Sine(s.N));
    r.Item({" طول الشمس المصحّح بالدرج", "\r\n", "Lg_Soleil = L + C - 0.00569 - (0.00479 * Sine(N))",
            " = "},
           s.Lg_Soleil);
    Long_Soleil = s.Lg_Soleil;

    r.At("O", Unit::Degrees);  // mean obliquity of the ecliptic
    s.O = MeanObliquity(T);
    r.Item({"ميل فلك البروج أو الكسوفية بالدرج", "\r\n", kMeanObliquityFormula, "\r\n", " O = "},
           s.O);

    r.At("Asc", Unit::Hours);
    const double Y = Cosine(s.O) * Sine(s.Lg_Soleil);
    const double X = Cosine(s.Lg_Soleil);
    s.Asc = Angle_24_Hour(ArcTanQuadrant(Y, X, 0) / 15);
    r.Item({"المطالع المستقيمة للشمس بالساعات", "\r\n\r\n", "Y = (Cosine(o) * Sine(Lg_Soleil))\r\n",
            "X = (Cosine(Lg_Soleil))\r\n", "إذا كانت\r\n", "X > 0 : Asc = ArcTan(Y / X)\r\n",
            "و إذا كانت\r\n", "X < 0 :\r\n", "Y > 0 : Asc = ArcTan(Y / X) + 180\r\n",
            "Y < 0 :  Asc = ArcTan(Y / X) - 180\r\n", "Asc = Asc / 15\r\n", " = "},
           s.Asc);

    r.At("Dec", Unit::Degrees);
    s.Dec = ArcSin(Sine(s.O) * Sine(s.Lg_Soleil));
    r.Item({"ميل الشمس عن المعدّل أي خط الإستواء السّماوي بالدرج", "\r\n",
            "Dec = ArcSin(Sine(o) * Sine(Lg_Soleil))\r\n", " = "},
           s.Dec);
    sun = s;
}

void ModCalcule::SunForInstant() {
    SinkScope silent(report, Report::kNone);
    SunPosition();
}

void ModCalcule::Calcul_Soleil() {
    SunPosition();
    sunSky = ObserverSky(
        "*******************  غاية إرتفاع الشمس و زاوية السمت و قطرها الظاهري "
        "***********************",
        "زاوية السّمت بالدرج", sun.Asc, sun.Dec);
    SunTransitAndPrayers();
    report.Raw({kEndLine});
}

}  // namespace zerin
