// A body on the observer's sky (Sun, Moon, planets alike): sidereal time at the instant,
// hour angle, azimuth from the North through the East, altitude; and the topocentric
// correction of the Moon and the planets.
#include "sky/Sky.h"

#include "math/Angles.h"
#include "report/Report.h"
#include "time/JulianDay.h"

namespace zerin {

double DayFraction(double JJ) {
    return (JJ + 0.5) - Fix(JJ + 0.5);
}

double GreenwichSiderealTime(double JJ) {
    const double T = JulianCenturies(JJ);
    const double revolutions =
        0.276919398 + 100.0021359 * T + 0.000001075 * T * T + DayFraction(JJ);
    return (revolutions - Fix(revolutions)) * 24;
}

double HourAngle(double TS_Loc, double Asc) {
    return Angle_360_Deg((TS_Loc - Asc) * 15);
}

Horizontal HorizontalPlace(double Ha, double Dec, double Lat) {
    // Direction cosines in the hour-angle frame, turned to the horizon; the azimuth is
    // counted from the South by the arc tangent, then turned to the North.
    const double X = Cosine(Ha) * Cosine(Dec);
    const double Y = Sine(Ha) * Cosine(Dec);
    const double Z = Sine(Dec);
    const double X_hor = X * Sine(Lat) - Z * Cosine(Lat);
    const double Y_hor = Y;
    const double Z_hor = X * Cosine(Lat) + Z * Sine(Lat);
    return {Angle_360_Deg(AzimuthArcTan(Y_hor, X_hor, 0) + 180), ArcSin(Z_hor)};
}

SkyPlace SkyPlaceAt(double JJ, double Lon, double Lat, double Asc, double Dec) {
    SkyPlace s;
    s.UT = DayFraction(JJ);
    s.TS_GMT = GreenwichSiderealTime(JJ);
    s.TS_Loc = s.TS_GMT - Lon / 15;
    s.Ha = HourAngle(s.TS_Loc, Asc);
    const Horizontal h = HorizontalPlace(s.Ha, Dec, Lat);
    s.Azimut = h.Azimut;
    s.Altitude = h.Altitude;
    return s;
}

TopoPlace TopocentricPlace(double Paralax, double Asc, double Dec, double Ha, double Lat) {
    TopoPlace p;
    p.GeocLat = Lat - 0.1924 * Sine(2 * Lat);
    p.DiCentre = 0.99833 + 0.00167 * Cosine(2 * Lat);
    p.Geo = ArcTan(Ratio(Tangent(p.GeocLat), Cosine(Ha)));
    p.TopoAsc = Angle_360_Deg(
        Asc * 15 - Ratio(Paralax * p.DiCentre * Cosine(p.GeocLat) * Sine(Ha), Cosine(Dec)));
    const double sinGeo = Sine(p.Geo);
    if (sinGeo == 0) {
        p.TopoDec = Dec + Paralax * p.DiCentre * Cosine(Ha) * Sine(Dec);
    } else {
        p.TopoDec = Dec - Paralax * p.DiCentre * Sine(p.GeocLat) * Sine(p.Geo - Dec) / sinGeo;
    }
    return p;
}

Observed ObservedAt(double JJ, double Lon, double Lat, double Asc, double Dec, double Paralax) {
    Observed o;
    o.sky = SkyPlaceAt(JJ, Lon, Lat, Asc, Dec);
    o.Paralax = Paralax;
    o.topo = TopocentricPlace(Paralax, Asc, Dec, o.sky.Ha, Lat);
    return o;
}

Horizontal TopocentricHorizontal(const Observed& seen, double Lat) {
    return HorizontalPlace(HourAngle(seen.sky.TS_Loc, seen.topo.TopoAsc / 15), seen.topo.TopoDec,
                           Lat);
}

namespace {

const SectionText kSiderealTimes =
    "التوقيت النجمي بغرينتش بالساعات\r\n\r\n"
    "UT = JJ + 0.5 - Fix(JJ + 0.5)\r\n"
    "TS_GMT = 0.276919398 + (100.0021359 * T) + (0.000001075 * T * T) + UT\r\n"
    "TS_GMT = (TS_GMT - Fix(TS_GMT)) * 24 = {TS_GMT:hms}\r\n\r\n"
    "التوقيت النجمي المحلي بالساعات\r\n"
    "TS_Loc = TS_GMT - (Lon / 15)\r\n"
    " = {TS_Loc:hms}\r\n\r\n"
    " مطالع التوسط بالدرج\r\n"
    "Ha = (TS_Loc - Asc) * 15\r\n"
    " = {Ha:deg}\r\n\r\n";

const SectionText kHorizontal =
    "X = Cosine(Ha) * Cosine(Dec)\r\n"
    "Y = Sine(Ha) * Cosine(Dec)\r\n"
    "Z = Sine(Dec)\r\n"
    "X_hor = (X * Sine(Lat)) - (Z * Cosine(Lat))\r\n"
    "Y_hor = Y\r\n"
    "Z_hor = (X * Cosine(Lat)) + (Z * Sine(Lat))\r\n"
    "إذا كانت\r\n"
    "X_hor > 0 : Azimut = ArcTan(Y_hor / X_hor)\r\n"
    "و إذا كانت \r\n"
    "X_hor < 0\r\n"
    "Y_hor >= 0 : Azimut = ArcTan(Y_hor / X_hor) + 180\r\n"
    "Y_hor <= 0 : Azimut = ArcTan(Y_hor / X_hor) - 180\r\n"
    "Azimut = Azimut + 180\r\n"
    " = {Azimut:deg}\r\n\r\n"
    " الإرتفاع  بالدرج \r\n"
    "Altitude = ArcSin(Z_hor)\r\n"
    " = {Altitude:deg}\r\n\r\n";

const SectionText kTopocentric =
    "العرض الأرضي للمركز بالدرج\r\n"
    "GeocLat = Lat - (0.1924 * Sine(2 * Lat))\r\n"
    " = {GeocLat:deg}\r\n\r\n"
    "البعد عن مركز الأرض\r\n"
    "DiCentre = 0.99833 + (0.00167 * Cosine(2 * Lat))\r\n"
    " = {DiCentre:earth radii}\r\n\r\n"
    "تصحيح العرض بالدرج\r\n"
    "Geo = ArcTan(Tangent(GeocLat) / Cosine(Ha))\r\n"
    " = {Geo:deg}\r\n\r\n"
    "المطالع المستقيمة المرئية  بالدرج\r\n"
    "TopoAsc = Asc - (Paralax * DiCentre * Cosine(GeocLat) * Sine(Ha) / Cosine(Dec))\r\n"
    " = {TopoAsc:deg}\r\n\r\n"
    "البعد عن المعدّل المرئي  بالدرج\r\n"
    "TopoDec = Dec - (Paralax * DiCentre * Sine(GeocLat) * Sine(Geo - Dec) / Sine(Geo))\r\n"
    " = {TopoDec:deg}\r\n\r\n";

}  // namespace

void WriteSky(Report& report, std::string_view banner, std::string_view azimuthLabel,
              const SkyPlace& sky) {
    report.Section(kSiderealTimes, {sky.TS_GMT, sky.TS_Loc, sky.Ha}, banner);
    report.Section(kHorizontal, {sky.Azimut, sky.Altitude}, azimuthLabel);
}

void WriteObserved(Report& report, std::string_view banner, const SectionText& parallaxItem,
                   const Observed& seen) {
    WriteSky(report, banner, "زاوية السمت بالدرج\r\n", seen.sky);
    report.Section(parallaxItem, {seen.Paralax});
    const TopoPlace& t = seen.topo;
    report.Section(kTopocentric, {t.GeocLat, t.DiCentre, t.Geo, t.TopoAsc, t.TopoDec});
}

}  // namespace zerin
