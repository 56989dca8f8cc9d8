// The observer, the date and the Julian day: the section that opens every report.
#include "time/JulianDay.h"

#include <cmath>

#include "math/Angles.h"
#include "report/ModCalcule.h"

namespace zerin {

bool InGregorianGap(double D) {
    return D > 15821004 && D < 15821015;
}

JulianDayParts JulianDayOf(double year, double month, double day) {
    JulianDayParts p{year, month};
    if (p.m == 1 || p.m == 2) {
        p.Y = p.Y - 1;
        p.m = p.m + 12;
    }
    p.Retard = Fix(p.Y / 400) + (2 - Fix(p.Y / 100));
    p.D = (p.m * 100 + p.Y * 10000) + day;
    const double julian = ((Fix(p.Y * 365.25) + Fix((p.m + 1) * 30.6001)) + day) + 1720994.5;
    if (p.D >= 15821015) {
        p.JJ = julian + p.Retard;
    } else {
        p.JJ = InGregorianGap(p.D) ? std::nan("") : julian;
    }
    return p;
}

double JulianDay(double year, double month, double day) {
    return JulianDayOf(year, month, day).JJ;
}

CalendarDate CalendarDateOf(double JJ) {
    const double Z = std::floor(JJ + 0.5);
    const double F = (JJ + 0.5) - Z;
    double A = Z;
    if (Z >= 2299161) {
        const double alpha = std::floor((Z - 1867216.25) / 36524.25);
        A = Z + 1 + alpha - std::floor(alpha / 4);
    }
    const double B = A + 1524;
    const double C = std::floor((B - 122.1) / 365.25);
    const double D = std::floor(365.25 * C);
    const double E = std::floor((B - D) / 30.6001);
    CalendarDate d;
    d.day = B - D - std::floor(30.6001 * E) + F;
    d.month = E < 14 ? E - 1 : E - 13;
    d.year = d.month > 2 ? C - 4716 : C - 4715;
    return d;
}

double JulianCenturies(double JJ) {
    return (JJ - 2415020) / 36525;
}

namespace {

// A value read from the fields, written value first: before, the value, " = name ",
// the label, ending.
struct Entered {
    const char* name;
    Unit unit;
    std::string_view before, shown, label, ending;
    const char* arabicFields;  // for the message when the number overflows
    const char* englishFields;
};

// A value read from one field and divided into the unit the formulas take.
struct OneField {
    Entered item;
    std::string FieldTexts::*text;
    double per;
};

// clang-format off
constexpr Entered kLon{
    "Lon", Unit::Degrees,
    "******************* حساب التقويم اليوليوزي الفلكي ***********************\r\n\r\n",
    " = Lon ", "طول البلد بالدرج  ", "\r\n\r\n", "خط الطول", "longitude"};
constexpr Entered kLat{
    "Lat", Unit::Degrees, "", " = Lat ", "عرض البلد بالدرج  ", "\r\n\r\n\r\n", "خط العرض", "latitude"};
constexpr OneField kYear{
    {"Y", Unit::None, "", " = Y ", "السنة المطلوبة  ", "\r\n\r\n", "السنة", "year"},
    &FieldTexts::TxtYear, 1};
constexpr OneField kMonth{
    {"m", Unit::None, "", " = m ", "الشهر المطلوب  ", "\r\n\r\n", "الشهر", "month"},
    &FieldTexts::TxtMonth, 1};
constexpr OneField kHour{
    {"h", Unit::Days, "h = Hour / 24\r\n", " = h ", "الساعة المطلوبة باليوم  ", "\r\n\r\n",
     "الساعة", "hour"},
    &FieldTexts::TxtHour, 24};
constexpr OneField kMinute{
    {"Min", Unit::Days, "Min = Minute / 1440\r\n", " = Min ", "الدقيقة المطلوبة باليوم  ",
     "\r\n\r\n", "الدقيقة", "minute"},
    &FieldTexts::TxtMin, 1440};
constexpr OneField kSecond{
    {"Sec", Unit::Days, "Sec = Second / 86400\r\n", " = Sec ", "الثواني المطلوبة باليوم  ",
     "\r\n\r\n", "الثانية", "second"},
    &FieldTexts::TxtSec, 86400};
constexpr Entered kDay{
    "J", Unit::Days, "J = Day + h + Min + Sec\r\n", " = J ",
    "اليوم المطلوب بعد إضافة الساعات و الدقائق ", "\r\n\r\n\r\n", "التاريخ و الوقت", "day and time"};
// clang-format on

// A field number that overflowed the arithmetic: the command stops with this message.
void RequireFinite(double value, const char* arabicFields, const char* englishFields) {
    if (std::isfinite(value)) return;
    throw InputError(
        {std::string("الأعداد المكتوبة في خانات ") + arabicFields +
             " كبيرة جداً ولا يمكن الحساب بها",
         std::string("the ") + englishFields + " fields hold numbers too large to compute with"});
}

double Write(Report& r, const Entered& item, double value) {
    r.At(item.name, item.unit);
    RequireFinite(value, item.arabicFields, item.englishFields);
    r.Value(value);
    if (r.Text()) r.Raw({item.before, r.Num(value), item.shown, item.label, item.ending});
    return value;
}

double Read(Report& r, const FieldTexts& f, const OneField& field) {
    return Write(r, field.item, ReadNumber(f.*field.text) / field.per);
}

// Degrees, minutes and seconds as one number of degrees.
double Sexagesimal(const std::string& degrees, const std::string& minutes,
                   const std::string& seconds) {
    return (ReadNumber(degrees) + ReadNumber(minutes) / 60) + ReadNumber(seconds) / 3600;
}

}  // namespace

void ModCalcule::Calcul_JJ() {
    Report& r = report;
    const FieldTexts& f = fields;
    r.Clear();

    const double lon = Sexagesimal(f.TxtDegLon, f.TxtMinLon, f.TxtSecLon);
    Lon = Write(r, kLon, IsEast ? -lon : lon);
    const double lat = Sexagesimal(f.TxtDegLat, f.TxtMinLat, f.TxtSecLat);
    Lat = Write(r, kLat, IsNorth ? lat : -lat);

    r.At("Zone", Unit::Hours);
    r.Value(Zone);
    r.Raw({" المنطقة الزمنية بالساعات ", "\r\n", "Zone = ", std::to_string(Zone), "\r\n\r\n"});
    r.At("EtéRegl", Unit::Hours);
    r.Value(EteRegl);
    r.Raw({"تعديل التوقيت الصيفي بالساعات ", "\r\n", "EtéRegl = ", std::to_string(EteRegl),
           "\r\n\r\n"});

    const double year = Read(r, f, kYear);
    const double month = Read(r, f, kMonth);
    r.Raw({"إذا كان الشهر المطلوب هو يناير أو فبراير ", "\r\n", "Y = Y - 1 : m = m + 12",
           "\r\n\r\n\r\n"});
    h = Read(r, f, kHour);
    Min = Read(r, f, kMinute);
    const double Sec = Read(r, f, kSecond);
    const double J = Write(r, kDay, ((ReadNumber(f.TxtDay) + h) + Min) + Sec);

    const JulianDayParts day = JulianDayOf(year, month, J);
    r.At("Retard", Unit::Days);  // written for every date, also before the reform
    r.Item({"تأخر التقويم اليوليوزي عن الغريغوري باليوم ", "\r\n",
            "Retard = (2 - Fix(Y / 100)) + Fix(Y / 400)", " = "},
           day.Retard, "");
    r.Raw({"\r\n", "تعني أخذ الخارج و إهمال الباقي ولو تجاوز نصف يوم ", " Fix ", "\r\n\r\n\r\n"});

    if (InGregorianGap(day.D)) {
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
    const double newJJ = day.JJ + static_cast<double>(zoneDifference) / 24;
    RequireFinite(newJJ, "التاريخ", "date");
    JJ = newJJ;
    T = JulianCenturies(JJ);
    r.At("JJ", Unit::Days);
    r.Item(
        {"إذا كان التاريخ المطلوب ", "\r\n", " ((10000 * Y) + (100 * m) + J) >= 15821015 ", "\r\n",
         "JJ = Fix(365.25 * Y) + Fix(30.6001 * (m + 1)) + J + 1720994.5 + Retard + ((Zone - "
         "EtéRegl) / 24)",
         "\r\n", "و إذا كان التاريخ المطلوب ", "\r\n", " ((10000 * Y) + (100 * m) + J) < 15821015 ",
         "\r\n",
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
