// A body on the observer's sky (Sun, Moon, planets alike): sidereal time at the instant,
// hour angle, azimuth from the North through the East, altitude; and the topocentric
// correction of the Moon and the planets.
#include "Sky.h"

#include "Angles.h"
#include "JulianDay.h"
#include "Report.h"

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

namespace {

constexpr ItemText kGreenwich{"TS_GMT", Unit::Hours, "التوقيت النجمي بغرينتش بالساعات\r\n\r\n",
                              "UT = JJ + 0.5 - Fix(JJ + 0.5)\r\n"
                              "TS_GMT = 0.276919398 + (100.0021359 * T) + (0.000001075 * T * T) "
                              "+ UT\r\n"
                              "TS_GMT = (TS_GMT - Fix(TS_GMT)) * 24"};
constexpr ItemText kLocal{"TS_Loc", Unit::Hours, "التوقيت النجمي المحلي بالساعات\r\n",
                          "TS_Loc = TS_GMT - (Lon / 15)\r\n"};
constexpr ItemText kHourAngle{"Ha", Unit::Degrees, " مطالع التوسط بالدرج\r\n",
                              "Ha = (TS_Loc - Asc) * 15\r\n"};
constexpr ItemText kAzimuth{
    "Azimut", Unit::Degrees, "",
    "X = Cosine(Ha) * Cosine(Dec)\r\nY = Sine(Ha) * Cosine(Dec)\r\nZ = Sine(Dec)\r\n"
    "X_hor = (X * Sine(Lat)) - (Z * Cosine(Lat))\r\nY_hor = Y\r\n"
    "Z_hor = (X * Cosine(Lat)) + (Z * Sine(Lat))\r\nإذا كانت\r\n"
    "X_hor > 0 : Azimut = ArcTan(Y_hor / X_hor)\r\nو إذا كانت \r\nX_hor < 0\r\n"
    "Y_hor >= 0 : Azimut = ArcTan(Y_hor / X_hor) + 180\r\n"
    "Y_hor <= 0 : Azimut = ArcTan(Y_hor / X_hor) - 180\r\nAzimut = Azimut + 180\r\n"};
constexpr ItemText kAltitude{"Altitude", Unit::Degrees, " الإرتفاع  بالدرج \r\n",
                             "Altitude = ArcSin(Z_hor)\r\n"};

constexpr Line<TopoPlace> kTopoLines[] = {
    {{"GeocLat", Unit::Degrees, "العرض الأرضي للمركز بالدرج\r\n",
      "GeocLat = Lat - (0.1924 * Sine(2 * Lat))\r\n"},
     &TopoPlace::GeocLat},
    {{"DiCentre", Unit::EarthRadii, "البعد عن مركز الأرض\r\n",
      "DiCentre = 0.99833 + (0.00167 * Cosine(2 * Lat))\r\n"},
     &TopoPlace::DiCentre},
    {{"Geo", Unit::Degrees, "تصحيح العرض بالدرج\r\n",
      "Geo = ArcTan(Tangent(GeocLat) / Cosine(Ha))\r\n"},
     &TopoPlace::Geo},
    {{"TopoAsc", Unit::Degrees, "المطالع المستقيمة المرئية  بالدرج\r\n",
      "TopoAsc = Asc - (Paralax * DiCentre * Cosine(GeocLat) * Sine(Ha) / Cosine(Dec))\r\n"},
     &TopoPlace::TopoAsc},
    {{"TopoDec", Unit::Degrees, "البعد عن المعدّل المرئي  بالدرج\r\n",
      "TopoDec = Dec - (Paralax * DiCentre * Sine(GeocLat) * Sine(Geo - Dec) / Sine(Geo))\r\n"},
     &TopoPlace::TopoDec},
};

}  // namespace

void WriteSky(Report& report, std::string_view banner, std::string_view azimuthLabel,
              const SkyPlace& sky) {
    report.WriteHMS(kGreenwich, sky.TS_GMT, banner);
    report.WriteHMS(kLocal, sky.TS_Loc);
    report.Write(kHourAngle, sky.Ha);
    report.Write(kAzimuth, sky.Azimut, azimuthLabel);
    report.Write(kAltitude, sky.Altitude);
}

void WriteTopocentric(Report& report, const TopoPlace& topo) {
    report.WriteLines(kTopoLines, topo);
}

}  // namespace zerin
