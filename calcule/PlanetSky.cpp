// A planet for the observer: its place on the sky, parallax and topocentric place, and
// from the three distances Sun-Earth, Sun-planet and planet-Earth its apparent diameter
// (arcseconds), elongation (degrees) and illuminated fraction (percent).
#include "Angles.h"
#include "ModCalcule.h"

namespace zerin {

void ModCalcule::PlanetFromObserver(float diam_Pln) {
    Report& r = report;
    PlanetResult& p = planet;

    p.sky =
        ObserverSky("******************* تحديد موقع الكوكب من أفق البلد ***********************",
                    "زاوية السمت بالدرج", p.Asc, p.Dec);

    // The Sun's horizontal parallax at one astronomical unit (8.794 arcseconds), scaled
    // by the planet's distance from the Earth.
    r.At("Paralax", Unit::Degrees);
    p.Paralax = Ratio(8.794 / 3600, p.r_Pln_Erth);
    r.Item({"إختلاف منظر الكوكب بالدرج", "\r\n", "Paralax = (8.794 / 3600) / r_Pln_Erth", "\r\n",
            " = "},
           p.Paralax);

    p.topo = Topocentric(p.Paralax, p.Asc, p.Dec, p.sky.Ha);

    r.At("Diam", Unit::ArcSeconds);
    p.Diam = Ratio(static_cast<double>(diam_Pln), p.r_Pln_Erth);
    r.Item({" القطر الظاهري للكوكب بالثواني ", "\r\n", "Diam = (diam_Pln) / r_Pln_Erth", "\r\n",
            " = "},
           p.Diam);

    // The triangle Sun-Earth-planet: the angle at the Earth is the elongation, the one
    // at the planet the phase angle FV.
    const double Rs = R_soleil, Rp = p.R_Pt, Re = p.r_Pln_Erth;
    r.At("eLong", Unit::Degrees);
    p.eLong = ArcCos(Ratio(Rs * Rs + Re * Re - Rp * Rp, 2 * Rs * Re));
    r.Item({"إستطالة الكوكب ", "\r\n",
            "eLong = ArcCos(((R_soleil * R_soleil)  + (r_Pln_Erth * r_Pln_Erth)- (R_Pt * R_Pt)) / "
            "(2 * R_soleil * r_Pln_Erth))",
            "\r\n", " = "},
           p.eLong);

    r.At("FV", Unit::Degrees);
    p.FV = ArcCos(Ratio(Rp * Rp + Re * Re - Rs * Rs, 2 * Rp * Re));
    r.At("illum", Unit::Percent);
    p.illum = ((1 + Cosine(p.FV)) / 2) * 100;
    r.Item(
        {" نور الكوكب", "\r\n",
         "FV = ArcCos(((R_Pt * R_Pt) + (r_Pln_Erth * r_Pln_Erth) - (R_soleil * R_soleil)) / (2 * "
         "R_Pt * r_Pln_Erth)) ",
         "\r\n", "illum = ((1 + Cosine(FV)) / 2) * 100", "\r\n", " = "},
        p.illum);
}

}  // namespace zerin
