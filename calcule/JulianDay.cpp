// The observer, the date and the Julian day: the section that opens every report.
#include <cmath>

#include "Angles.h"
#include "ModCalcule.h"

namespace zerin {

namespace {

constexpr std::string_view kBanner =
    "******************* حساب التقويم اليوليوزي الفلكي ***********************";

// A field number that overflowed the arithmetic: the command stops with this message.
void RequireFinite(double value, const char* arabicFields, const char* englishFields) {
    if (std::isfinite(value)) return;
    throw InputError({std::string("الأعداد المكتوبة في خانات ") + arabicFields +
                          " كبيرة جداً ولا يمكن الحساب بها",
                      std::string("the ") + englishFields +
                          " fields hold numbers too large to compute with"});
}

}  // namespace

void ModCalcule::Calcul_JJ() {
    Report& r = report;
    const FieldTexts& f = fields;
    r.Clear();

    r.At("Lon", Unit::Degrees);
    Lon = (ReadNumber(f.TxtDegLon) + ReadNumber(f.TxtMinLon) / 60) + ReadNumber(f.TxtSecLon) / 3600;
    if (IsEast) Lon = -Lon;
    RequireFinite(Lon, "خط الطول", "longitude");
    r.Value(Lon);
    if (r.Text()) r.Raw({kBanner, "\r\n\r\n", r.Num(Lon), " = Lon ", "طول البلد بالدرج  ", "\r\n\r\n"});

    r.At("Lat", Unit::Degrees);
    Lat = (ReadNumber(f.TxtDegLat) + ReadNumber(f.TxtMinLat) / 60) + ReadNumber(f.TxtSecLat) / 3600;
    if (!IsNorth) Lat = -Lat;
    RequireFinite(Lat, "خط العرض", "latitude");
    r.Value(Lat);
    if (r.Text()) r.Raw({r.Num(Lat), " = Lat ", "عرض البلد بالدرج  ", "\r\n\r\n\r\n"});

    r.At("Zone", Unit::Hours);
    r.Value(Zone);
    r.Raw({" المنطقة الزمنية بالساعات ", "\r\n", "Zone = ", std::to_string(Zone), "\r\n\r\n"});
    r.At("EtéRegl", Unit::Hours);
    r.Value(EteRegl);
    r.Raw({"تعديل التوقيت الصيفي بالساعات ", "\r\n", "EtéRegl = ", std::to_string(EteRegl),
           "\r\n\r\n"});

    r.At("Y", Unit::None);
    double Y = ReadNumber(f.TxtYear);
    RequireFinite(Y, "السنة", "year");
    r.Value(Y);
    if (r.Text()) r.Raw({r.Num(Y), " = Y ", "السنة المطلوبة  ", "\r\n\r\n"});
    r.At("m", Unit::None);
    double m = ReadNumber(f.TxtMonth);
    RequireFinite(m, "الشهر", "month");
    r.Value(m);
    if (r.Text()) r.Raw({r.Num(m), " = m ", "الشهر المطلوب  ", "\r\n\r\n"});

    if (m == 1 || m == 2) {
        Y = Y - 1;
        m = m + 12;
    }
    r.Raw({"إذا كان الشهر المطلوب هو يناير أو فبراير ", "\r\n", "Y = Y - 1 : m = m + 12",
           "\r\n\r\n\r\n"});

    r.At("h", Unit::Days);
    h = ReadNumber(f.TxtHour) / 24;
    RequireFinite(h, "الساعة", "hour");
    r.Value(h);
    if (r.Text()) r.Raw({"h = Hour / 24", "\r\n", r.Num(h), " = h ", "الساعة المطلوبة باليوم  ", "\r\n\r\n"});
    r.At("Min", Unit::Days);
    Min = ReadNumber(f.TxtMin) / 1440;
    RequireFinite(Min, "الدقيقة", "minute");
    r.Value(Min);
    if (r.Text())
        r.Raw({"Min = Minute / 1440", "\r\n", r.Num(Min), " = Min ", "الدقيقة المطلوبة باليوم  ",
               "\r\n\r\n"});
    r.At("Sec", Unit::Days);
    const double Sec = ReadNumber(f.TxtSec) / 86400;
    RequireFinite(Sec, "الثانية", "second");
    r.Value(Sec);
    if (r.Text())
        r.Raw({"Sec = Second / 86400", "\r\n", r.Num(Sec), " = Sec ", "الثواني المطلوبة باليوم  ",
               "\r\n\r\n"});

    r.At("J", Unit::Days);
    const double J = ((ReadNumber(f.TxtDay) + h) + Min) + Sec;
    RequireFinite(J, "التاريخ و الوقت", "day and time");
    r.Value(J);
    if (r.Text())
        r.Raw({"J = Day + h + Min + Sec", "\r\n", r.Num(J), " = J ",
               "اليوم المطلوب بعد إضافة الساعات و الدقائق ", "\r\n\r\n\r\n"});

    // Days the Julian calendar lags the Gregorian one; written for every date.
    r.At("Retard", Unit::Days);
    const double Retard = Fix(Y / 400) + (2 - Fix(Y / 100));
    r.Item({"تأخر التقويم اليوليوزي عن الغريغوري باليوم ", "\r\n",
            "Retard = (2 - Fix(Y / 100)) + Fix(Y / 400)", " = "},
           Retard, "");
    r.Raw({"\r\n", "تعني أخذ الخارج و إهمال الباقي ولو تجاوز نصف يوم ", " Fix ", "\r\n\r\n\r\n"});

    const double D = (m * 100 + Y * 10000) + J;
    if (D > 15821004 && D < 15821015) {
        throw InputError(
            {"لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي "
             "للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ",
             "this date does not exist: the Gregorian calendar follows the Julian one from "
             "15 October 1582 (4 October 1582 was followed by 15 October)"});
    }
    // Zone - EtéRegl is formed as a 16-bit integer.
    const int zoneDifference = Zone - EteRegl;
    if (zoneDifference < -32768 || zoneDifference > 32767) {
        throw InputError({"الفرق بين المنطقة الزمنية و تعديل التوقيت الصيفي خارج الحدود المقبولة",
                          "the time zone minus the summer-time correction is outside "
                          "-32768..32767"});
    }
    const double ZoneOffset = static_cast<double>(zoneDifference) / 24;
    r.At("JJ", Unit::Days);
    double newJJ;
    if (D >= 15821015) {
        newJJ = ((((Fix(Y * 365.25) + Fix((m + 1) * 30.6001)) + J) + 1720994.5) + Retard) +
                ZoneOffset;
    } else {
        newJJ = (((Fix(Y * 365.25) + Fix((m + 1) * 30.6001)) + J) + 1720994.5) + ZoneOffset;
    }
    RequireFinite(newJJ, "التاريخ", "date");
    const double newT = (newJJ - 2415020) / 36525;
    JJ = newJJ;
    T = newT;
    r.Item({"إذا كان التاريخ المطلوب ", "\r\n", " ((10000 * Y) + (100 * m) + J) >= 15821015 ",
            "\r\n",
            "JJ = Fix(365.25 * Y) + Fix(30.6001 * (m + 1)) + J + 1720994.5 + Retard + ((Zone - "
            "EtéRegl) / 24)",
            "\r\n", "و إذا كان التاريخ المطلوب ", "\r\n",
            " ((10000 * Y) + (100 * m) + J) < 15821015 ", "\r\n",
            "JJ = Fix(365.25 * Y) + Fix(30.6001 * (m + 1)) + J + 1720994.5 + ((Zone - EtéRegl) / "
            "24)",
            "\r\n", " = "},
           JJ);

    r.At("T", Unit::Centuries);
    r.Item({" 1900 ", "التاريخ اليوليوزي بالقرون إبتداءاً من زوال فاتح يناير ", "\r\n",
            "T = (JJ - 2415020) / 36525 = "},
           T, "\r\n\r\n\r\n");
}

}  // namespace zerin
