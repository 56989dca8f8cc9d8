// The Moon: its fundamental arguments, true longitude, latitude, parallax and distance,
// right ascension and declination, the classical low-precision lunar theory in Julian
// centuries T; its place for the observer; and the report that writes them all.
#include "moon/Moon.h"

#include <string>

#include "math/Angles.h"
#include "report/ModCalcule.h"
#include "sky/Ecliptic.h"

namespace zerin {

namespace {

// c0 + c1 T + c2 T^2 + c3 T^3, summed left to right with T^2 as T * T, as the formula
// texts read (a term written with a minus sign takes a negative coefficient here).
double Cubic(double T, double c0, double c1, double c2, double c3) {
    return c0 + (c1 * T) + (c2 * T * T) + (c3 * T * T * T);
}

MoonArguments ArgumentsAt(double T) {
    MoonArguments a;
    a.Tc = 0.003964 * Sine((346.56 + (132.87 * T) - (0.0091731 * T * T)));
    a.N = MoonNode(T);
    // The long-period term in Sine(51.2 + 20.2 T) of Lp, Mp, m and D; Lp, Mp and D add
    // to their cubic that term, Tc and a term of the node.
    const double longPeriod = Sine(51.2 + (20.2 * T));
    const auto meanArgument = [&](double c0, double c1, double c2, double c3, double k, double s) {
        return Angle_360_Deg(Cubic(T, c0, c1, c2, c3) + (k * longPeriod) + a.Tc + (s * Sine(a.N)));
    };
    a.Lp = meanArgument(270.434164, 481267.8831, -0.001133, 0.0000019, 0.000233, 0.001964);
    a.Mp = meanArgument(296.104608, 477198.8491, 0.009192, 0.0000144, 0.000817, 0.002541);
    a.m = Angle_360_Deg(Cubic(T, 358.475833, 35999.0498, -0.00015, -0.0000033) -
                        (0.001778 * longPeriod));
    a.D = meanArgument(350.737486, 445267.1142, -0.001436, 0.0000019, 0.002011, 0.001964);
    a.F = Angle_360_Deg(Cubic(T, 11.250889, 483202.0251, -0.003211, -0.0000003) + a.Tc +
                        (-0.024691 * Sine(a.N)) - (0.004328 * Sine(a.N + 275.05 - (2.3 * T))));
    a.e = 1 - (0.002495 * T) - (0.00000752 * T * T);
    return a;
}

}  // namespace

MoonPlace MoonPlaceAt(double T) {
    MoonPlace p;
    static_cast<MoonArguments&>(p) = ArgumentsAt(T);
    p.Lg_Lune = Angle_360_Deg(SeriesSum(MoonSeries::Longitude, p));
    p.bSeries = SeriesSum(MoonSeries::Latitude, p);
    p.w1 = 0.0004664 * Cosine(p.N);
    p.w2 = 0.0000754 * Cosine(p.N + (275.05 - 2.3 * T));
    p.b = p.bSeries * (1 - p.w1 - p.w2);
    p.Ge = SeriesSum(MoonSeries::Parallax, p);
    p.r_lune = 6378.14 / Sine(p.Ge);
    static_cast<Equatorial&>(p) = EquatorialOfDate(p.Lg_Lune, p.b, T);
    return p;
}

MoonResult MoonSeenFrom(const MoonPlace& place, double JJ, double Lon, double Lat,
                        double Long_Soleil) {
    MoonResult p;
    static_cast<MoonPlace&>(p) = place;
    static_cast<Observed&>(p) = ObservedAt(JJ, Lon, Lat, p.Asc, p.Dec, ArcSin(6378.14 / p.r_lune));
    // 31.22833333 minutes of arc at the mean distance of 384398.9144 km.
    p.Diam = (31.22833333 * 384398.9144) / p.r_lune;
    p.eLong = ArcCos(Cosine(Long_Soleil - p.Lg_Lune) * Cosine(p.b));
    // The phase angle taken as 180 - eLong; only the fraction is reported.
    const double FV = 180 - p.eLong;
    p.illum = ((1 + Cosine(FV)) / 2) * 100;
    return p;
}

namespace {

// The Moon's report up to its declination; the series' formula texts come from their
// tables, joined once.
const SectionText& PlaceText() {
    static const SectionText kText{
        std::string(
            "******************* تقويم القمر ***********************\r\n\r\n\r\n"
            "******************* حركات القمر في مداره ***********************\r\n\r\n"
            " تعديل الوسط و الخاصة و الفرق المتوسط بين القمر و الشمس و حصّة العرض بالدرج \r\n"
            "Tc = 0.003964 * Sine((346.56 + (132.87 * T) - (0.0091731 * T * T))) = "
            "{Tc:deg}\r\n\r\n"
            // The node is checked first: the mean longitude and anomaly hold terms in
            // Sine(N), and an overflow is laid to N, not to the first value that uses it.
            "{!N:deg}"
            " وسط القمر بالدرج\r\n"
            "Lp = 270.434164 + (481267.8831 * T) - (0.001133 * T * T) + (0.0000019 * T * T * "
            "T) "
            "+ (0.000233 * Sine(51.2 + (20.2 * T))) + Tc + (0.001964 * Sine(N)) = "
            "{Lp:deg}\r\n\r\n"
            " خاصة القمر بالدرج\r\n"  // the formula text calls the mean anomaly Mp "p"
            "p = 296.104608 + (477198.8491 * T) + (0.009192 * T * T) + (0.0000144 * T * T * T) "
            "+ (0.000817 * Sine(51.2 + (20.2 * T))) + Tc + (0.002541 * Sine(N)) = "
            "{Mp:deg}\r\n\r\n"  //
            ZERIN_MOON_NODE_ITEM "******************* أدلّة تعديلات القمر و طوله الحقيقي "
            "***********************\r\n\r\n"
            " خاصة الشمس و هي الدليل الأول بالدرج\r\n"
            "m = 358.475833 + (35999.0498 * T) - (0.00015 * T * T) - (0.0000033 * T * T * T) - "
            "(0.001778 * Sine(51.2 + (20.2 * T))) = {m:deg}\r\n\r\n"
            " الفرق المتوسط بين القمر و الشمس بالدرج\r\n"
            "D = 350.737486 + (445267.1142 * T) - (0.001436 * T * T) + (0.0000019 * T * T * T) "
            "+ (0.002011 * Sine(51.2 + (20.2 * T))) + Tc + (0.001964 * Sine(N)) = "
            "{D:deg}\r\n\r\n"
            " حصّة العرض بالدرج\r\n"
            "F = 11.250889 + (483202.0251 * T) - (0.003211 * T * T) - (0.0000003 * T * T * T) "
            "+ "
            "Tc + (-0.024691 * Sine(N)) - (0.004328 * Sine(N + 275.05 - (2.3 * T))) = "
            "{F:deg}\r\n\r\n"
            " إنحراف المدار \r\n"
            "e = 1 - (0.002495 * T) - (0.00000752 * T * T) = {e}\r\n\r\n"
            " تعديلات القمر بالدرج\r\n") +
        std::string(SeriesFormula(MoonSeries::Longitude)) +
        " = {Lg_Lune:deg}\r\n\r\n"
        " طول القمر الحقيقي بالدرج\r\n"
        " = {Lg_Lune:deg}\r\n\r\n"
        "******************* عرض القمر الحقيقي ***********************\r\n\r\n"
        "عرض القمر الأول بالدرج\r\n" +
        std::string(SeriesFormula(MoonSeries::Latitude)) +
        " = {b:deg}\r\n\r\n"
        "عرض القمر الثاني بالدرج\r\n"
        "w1 = 0.0004664 * Cosine(N)\r\n"
        " = {w1}\r\n\r\n"
        "w2 = 0.0000754 * Cosine(N + (275.05 - 2.3 * T))\r\n"
        " = {w2}\r\n\r\n"
        "عرض القمر الحقيقي بالدرج\r\n"
        "b = b * (1 - w1 - w2)\r\n"
        " = {b:deg}\r\n\r\n"
        "******************* بعد القمر عن الأرض ***********************\r\n\r\n"
        "تعديل البعد\r\n" +
        std::string(SeriesFormula(MoonSeries::Parallax)) +
        " = {Ge:deg}\r\n\r\n"
        "بعد القمر عن الأرض بالكيلومتر \r\n"
        "r_lune = 6378.14 / Sine(Ge)\r\n"
        " = {r_lune:km}\r\n\r\n"
        "******************* المطالع المستقيمة للقمر ***********************\r\n\r\n"
        "ميل فلك البروج أو الكسوفية\r\n" ZERIN_MEAN_OBLIQUITY_FORMULA
        "\r\n O = {O:deg}\r\n\r\n"
        "المطالع المستقيمة للقمر بالساعات \r\n\r\n"
        "Y = (Cosine(O) * Sine(Lg_Lune)) - (Tangent(b) * Sine(O))\r\n"
        "X = (Cosine(Lg_Lune))\r\n" ZERIN_RIGHT_ASCENSION_RULE
        " = {Asc:h}\r\n\r\n"
        "******************* بعد القمر عن المعدّل ***********************\r\n\r\n"
        "بعد القمر عن المعدّل أي ميله بالدرج\r\n"
        "Dec = ArcSin((Sine(b) * Cosine(O)) + (Cosine(b) * Sine(O) * Sine(Lg_Lune)))\r\n"
        " = {Dec:deg}\r\n\r\n"};
    return kText;
}

const SectionText kParallax =
    "إختلاف منظر القمر بالدرج\r\n"
    "Paralax = ArcSin(6378.14 / r_lune)\r\n"
    " = {Paralax:deg}\r\n\r\n";

const SectionText kAppearance =
    " القطر الظاهري للقمر بالدقائق \r\n"
    "Diam = (31.22833333 * 384398.9144) / r_lune\r\n"
    " = {Diam:arcmin}\r\n\r\n"
    "إستطالة القمر \r\n"
    "eLong = ArcCos(Cosine(Long_Soleil - Lg_Lune) * Cosine(b))\r\n"
    " = {eLong:deg}\r\n\r\n"
    " نور القمر\r\n"
    "إذا كان نور القمر يساوي صفر فهو في الإجتماع ، و إذا كان 50 فهو في أحد التربيعين "
    "الأيمن أو الأيسر ، و إذا كان 100 فهو بدر أي في الإستقبال \r\n"
    "FV = (180 - eLong) \r\n"
    "illum = ((1 + Cosine(FV)) / 2) * 100\r\n"
    " = {illum:%}\r\n\r\n";

}  // namespace

MoonResult Calcul_Lune(Report& report, const Observer& o, double sunLongitude) {
    const MoonResult p = MoonSeenFrom(MoonPlaceAt(o.T), o.JJ, o.Lon, o.Lat, sunLongitude);
    report.Section(PlaceText(),
                   {p.Tc,      p.N,       p.Lp, p.Mp, p.N, p.m,  p.D,      p.F, p.e,   p.Lg_Lune,
                    p.Lg_Lune, p.bSeries, p.w1, p.w2, p.b, p.Ge, p.r_lune, p.O, p.Asc, p.Dec});
    WriteObserved(
        report, "******************* تحديد موقع القمر من أفق البلد ***********************\r\n\r\n",
        kParallax, p);
    report.Section(kAppearance, {p.Diam, p.eLong, p.illum});
    return p;
}

}  // namespace zerin
