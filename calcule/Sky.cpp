// A body on the observer's sky (Sun, Moon, planets alike): sidereal time at the instant,
// hour angle, azimuth from the North through the East, altitude; and the topocentric
// correction of the Moon and the planets.
#include "Angles.h"
#include "ModCalcule.h"

namespace zerin {

SkyPlace ModCalcule::ObserverSky(std::string_view banner, std::string_view azimuthLabel, double Asc,
                                 double Dec) {
    Report& r = report;
    SkyPlace s;

    // Greenwich sidereal time of the instant: the polynomial gives it at 0 h UT, so the
    // fraction of the day since 0 h UT is added (in revolutions, like the polynomial).
    r.At("TS_GMT", Unit::Hours);
    s.UT = (JJ + 0.5) - Fix(JJ + 0.5);
    s.TS_GMT = 0.276919398 + 100.0021359 * T + 0.000001075 * T * T + s.UT;
    s.TS_GMT = (s.TS_GMT - Fix(s.TS_GMT)) * 24;
    r.ItemHMS({banner, "\r\n\r\n", "التوقيت النجمي بغرينتش بالساعات", "\r\n\r\n",
               "UT = JJ + 0.5 - Fix(JJ + 0.5)\r\n",
               "TS_GMT = 0.276919398 + (100.0021359 * T) + (0.000001075 * T * T) + UT\r\n",
               "TS_GMT = (TS_GMT - Fix(TS_GMT)) * 24", " = "},
              s.TS_GMT);

    r.At("TS_Loc", Unit::Hours);
    s.TS_Loc = s.TS_GMT - Lon / 15;
    r.ItemHMS(
        {"التوقيت النجمي المحلي بالساعات", "\r\n", "TS_Loc = TS_GMT - (Lon / 15)", "\r\n", " = "},
        s.TS_Loc);

    r.At("Ha", Unit::Degrees);
    s.Ha = Angle_360_Deg((s.TS_Loc - Asc) * 15);
    r.Item({" مطالع التوسط بالدرج", "\r\n", "Ha = (TS_Loc - Asc) * 15", "\r\n", " = "}, s.Ha);

    // Direction cosines in the hour-angle frame, turned to the horizon; the azimuth is
    // counted from the South by the arctangent, then turned to the North.
    r.At("Azimut", Unit::Degrees);
    const double X = Cosine(s.Ha) * Cosine(Dec);
    const double Y = Sine(s.Ha) * Cosine(Dec);
    const double Z = Sine(Dec);
    const double X_hor = X * Sine(Lat) - Z * Cosine(Lat);
    const double Y_hor = Y;
    const double Z_hor = X * Cosine(Lat) + Z * Sine(Lat);
    s.Azimut = Angle_360_Deg(AzimuthArcTan(Y_hor, X_hor, 0) + 180);
    r.Item(
        {azimuthLabel, "\r\n", "X = Cosine(Ha) * Cosine(Dec)\r\n", "Y = Sine(Ha) * Cosine(Dec)\r\n",
         "Z = Sine(Dec)\r\n", "X_hor = (X * Sine(Lat)) - (Z * Cosine(Lat))\r\n", "Y_hor = Y\r\n",
         "Z_hor = (X * Cosine(Lat)) + (Z * Sine(Lat))\r\n", "إذا كانت\r\n",
         "X_hor > 0 : Azimut = ArcTan(Y_hor / X_hor)\r\n", "و إذا كانت \r\n", "X_hor < 0\r\n",
         "Y_hor >= 0 : Azimut = ArcTan(Y_hor / X_hor) + 180\r\n",
         "Y_hor <= 0 : Azimut = ArcTan(Y_hor / X_hor) - 180\r\n", "Azimut = Azimut + 180\r\n",
         " = "},
        s.Azimut);

    r.At("Altitude", Unit::Degrees);
    s.Altitude = ArcSin(Z_hor);
    r.Item({" الإرتفاع  بالدرج ", "\r\n", "Altitude = ArcSin(Z_hor)", "\r\n", " = "}, s.Altitude);
    return s;
}

TopoPlace ModCalcule::Topocentric(double Paralax, double Asc, double Dec, double Ha) {
    Report& r = report;
    TopoPlace p;

    r.At("GeocLat", Unit::Degrees);
    p.GeocLat = Lat - 0.1924 * Sine(2 * Lat);
    r.Item({"العرض الأرضي للمركز بالدرج", "\r\n", "GeocLat = Lat - (0.1924 * Sine(2 * Lat))",
            "\r\n", " = "},
           p.GeocLat);

    r.At("DiCentre", Unit::EarthRadii);
    p.DiCentre = 0.99833 + 0.00167 * Cosine(2 * Lat);
    r.Item({"البعد عن مركز الأرض", "\r\n", "DiCentre = 0.99833 + (0.00167 * Cosine(2 * Lat))",
            "\r\n", " = "},
           p.DiCentre);

    r.At("Geo", Unit::Degrees);
    p.Geo = ArcTan(Ratio(Tangent(p.GeocLat), Cosine(Ha)));
    r.Item({"تصحيح العرض بالدرج", "\r\n", "Geo = ArcTan(Tangent(GeocLat) / Cosine(Ha))", "\r\n",
            " = "},
           p.Geo);

    r.At("TopoAsc", Unit::Degrees);
    p.TopoAsc = Angle_360_Deg(
        Asc * 15 - Ratio(Paralax * p.DiCentre * Cosine(p.GeocLat) * Sine(Ha), Cosine(Dec)));
    r.Item({"المطالع المستقيمة المرئية  بالدرج", "\r\n",
            "TopoAsc = Asc - (Paralax * DiCentre * Cosine(GeocLat) * Sine(Ha) / Cosine(Dec))",
            "\r\n", " = "},
           p.TopoAsc);

    // On the equator Sine(Geo) is 0 and the quotient 0 / 0: its limit is used there.
    r.At("TopoDec", Unit::Degrees);
    const double sinGeo = Sine(p.Geo);
    if (sinGeo == 0) {
        p.TopoDec = Dec + Paralax * p.DiCentre * Cosine(Ha) * Sine(Dec);
    } else {
        p.TopoDec = Dec - Paralax * p.DiCentre * Sine(p.GeocLat) * Sine(p.Geo - Dec) / sinGeo;
    }
    r.Item({"البعد عن المعدّل المرئي  بالدرج", "\r\n",
            "TopoDec = Dec - (Paralax * DiCentre * Sine(GeocLat) * Sine(Geo - Dec) / Sine(Geo))",
            "\r\n", " = "},
           p.TopoDec);
    return p;
}

}  // namespace zerin
