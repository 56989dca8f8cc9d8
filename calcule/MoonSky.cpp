// The Moon for the observer: its place on the sky, parallax and topocentric place, and
// its apparent diameter, elongation from the Sun and illuminated fraction.
#include "Angles.h"
#include "Moon.h"

namespace zerin {

void ModCalcule::MoonSky(const MoonArguments& a) {
    Report& r = report;
    MoonResult& p = moon;

    p.sky = ObserverSky("******************* تحديد موقع القمر من أفق البلد ***********************",
                        "زاوية السمت بالدرج", p.Asc, p.Dec);

    r.At("Paralax", Unit::Degrees);
    p.Paralax = ArcSin(6378.14 / p.r_lune);
    r.Item(
        {"إختلاف منظر القمر بالدرج", "\r\n", "Paralax = ArcSin(6378.14 / r_lune)", "\r\n", " = "},
        p.Paralax);

    p.topo = Topocentric(p.Paralax, p.Asc, p.Dec, p.sky.Ha);

    // 31.22833333 minutes of arc at the mean distance of 384398.9144 km.
    r.At("Diam", Unit::ArcMinutes);
    p.Diam = (31.22833333 * 384398.9144) / p.r_lune;
    r.Item({" القطر الظاهري للقمر بالدقائق ", "\r\n", "Diam = (31.22833333 * 384398.9144) / r_lune",
            "\r\n", " = "},
           p.Diam);

    // Long_Soleil is the Sun's longitude for this same instant (the command computes it
    // before the Moon).
    r.At("eLong", Unit::Degrees);
    p.eLong = ArcCos(Cosine(Long_Soleil - a.Lg_Lune) * Cosine(p.b));
    r.Item({"إستطالة القمر ", "\r\n", "eLong = ArcCos(Cosine(Long_Soleil - Lg_Lune) * Cosine(b))",
            "\r\n", " = "},
           p.eLong);

    // The phase angle FV is taken as 180 - eLong; only the fraction is reported.
    r.At("illum", Unit::Percent);
    const double FV = 180 - p.eLong;
    p.illum = ((1 + Cosine(FV)) / 2) * 100;
    r.Item({" نور القمر", "\r\n",
            "إذا كان نور القمر يساوي صفر فهو في الإجتماع ، و إذا كان 50 فهو في أحد التربيعين "
            "الأيمن أو الأيسر ، و إذا كان 100 فهو بدر أي في الإستقبال ",
            "\r\n", "FV = (180 - eLong) ", "\r\n", "illum = ((1 + Cosine(FV)) / 2) * 100", "\r\n",
            " = "},
           p.illum);
}

}  // namespace zerin
