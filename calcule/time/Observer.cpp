// The observer read from the fields or from numbers, and the Julian-day section that opens
// every report.
#include "time/Observer.h"

#include <cmath>
#include <string>

#include "report/ModCalcule.h"
#include "time/JulianDay.h"

namespace zerin {

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

// clang-format off
constexpr Entered kLon{
    "Lon", Unit::Degrees,
    "******************* حساب التقويم اليوليوزي الفلكي ***********************\r\n\r\n",
    " = Lon ", "طول البلد بالدرج  ", "\r\n\r\n", "خط الطول", "longitude"};
constexpr Entered kLat{
    "Lat", Unit::Degrees, "", " = Lat ", "عرض البلد بالدرج  ", "\r\n\r\n\r\n", "خط العرض", "latitude"};
constexpr Entered kYear{
    "Y", Unit::None, "", " = Y ", "السنة المطلوبة  ", "\r\n\r\n", "السنة", "year"};
constexpr Entered kMonth{
    "m", Unit::None, "", " = m ", "الشهر المطلوب  ", "\r\n\r\n", "الشهر", "month"};
constexpr Entered kHour{
    "h", Unit::Days, "h = Hour / 24\r\n", " = h ", "الساعة المطلوبة باليوم  ", "\r\n\r\n",
    "الساعة", "hour"};
constexpr Entered kMinute{
    "Min", Unit::Days, "Min = Minute / 1440\r\n", " = Min ", "الدقيقة المطلوبة باليوم  ",
    "\r\n\r\n", "الدقيقة", "minute"};
constexpr Entered kSecond{
    "Sec", Unit::Days, "Sec = Second / 86400\r\n", " = Sec ", "الثواني المطلوبة باليوم  ",
    "\r\n\r\n", "الثانية", "second"};
constexpr Entered kDay{
    "J", Unit::Days, "J = Day + h + Min + Sec\r\n", " = J ",
    "اليوم المطلوب بعد إضافة الساعات و الدقائق ", "\r\n\r\n\r\n", "التاريخ و الوقت", "day and time"};
// clang-format on

// A field number that overflowed the arithmetic: the command stops with this message.
double RequireFinite(double value, const char* arabicFields, const char* englishFields) {
    if (std::isfinite(value)) return value;
    throw InputError(
        {std::string("الأعداد المكتوبة في خانات ") + arabicFields +
             " كبيرة جداً ولا يمكن الحساب بها",
         std::string("the ") + englishFields + " fields hold numbers too large to compute with"});
}

double RequireFinite(double value, const Entered& item) {
    return RequireFinite(value, item.arabicFields, item.englishFields);
}

// Degrees, minutes and seconds as one number of degrees.
double Sexagesimal(const std::string& degrees, const std::string& minutes,
                   const std::string& seconds) {
    return (ReadNumber(degrees) + ReadNumber(minutes) / 60) + ReadNumber(seconds) / 3600;
}

// The day with its time, J.
double DayAndTime(const ClockReading& c) {
    return ((c.day + c.h) + c.Min) + c.Sec;
}

JulianDayParts RequireDate(const ClockReading& c) {
    const JulianDayParts parts = JulianDayOf(c.year, c.month, DayAndTime(c));
    if (InGregorianGap(parts.D)) {
        throw InputError(
            {"لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي "
             "للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ",
             "this date does not exist: the Gregorian calendar follows the Julian one from "
             "15 October 1582 (4 October 1582 was followed by 15 October)"});
    }
    return parts;
}

Place PlaceOf(const FieldTexts& f, bool east, bool north) {
    const double lon = Sexagesimal(f.TxtDegLon, f.TxtMinLon, f.TxtSecLon);
    const double lat = Sexagesimal(f.TxtDegLat, f.TxtMinLat, f.TxtSecLat);
    return {RequireFinite(east ? -lon : lon, kLon), RequireFinite(north ? lat : -lat, kLat)};
}

ClockReading ClockOfFields(const FieldTexts& f, TimeOfDay time) {
    const bool noon = time == TimeOfDay::Noon;
    ClockReading c;
    c.year = RequireFinite(ReadNumber(f.TxtYear), kYear);
    c.month = RequireFinite(ReadNumber(f.TxtMonth), kMonth);
    c.h = RequireFinite((noon ? 12 : ReadNumber(f.TxtHour)) / 24, kHour);
    c.Min = RequireFinite((noon ? 0 : ReadNumber(f.TxtMin)) / 1440, kMinute);
    c.Sec = RequireFinite((noon ? 0 : ReadNumber(f.TxtSec)) / 86400, kSecond);
    c.day = ReadNumber(f.TxtDay);
    RequireFinite(DayAndTime(c), kDay);
    return c;
}

Observer ObserverOf(const Place& place, std::int16_t Zone, std::int16_t EteRegl,
                    const ClockReading& clock) {
    const JulianDayParts day = RequireDate(clock);
    // Zone - EtéRegl is formed as a 16-bit integer.
    const int zoneDifference = Zone - EteRegl;
    if (zoneDifference < -32768 || zoneDifference > 32767) {
        throw InputError({"الفرق بين المنطقة الزمنية و تعديل التوقيت الصيفي خارج الحدود المقبولة",
                          "the time zone minus the summer-time correction is outside "
                          "-32768..32767"});
    }
    Observer o{place.Lon, place.Lat, Zone, EteRegl, clock};
    o.JJ = RequireFinite(day.JJ + static_cast<double>(zoneDifference) / 24, "التاريخ", "date");
    o.T = JulianCenturies(o.JJ);
    return o;
}

// The item of a value read from the fields.
void Write(Report& r, const Entered& item, double value) {
    r.At(item.name, item.unit);
    r.Value(value);
    if (r.Text()) r.Raw({item.before, r.Num(value), item.shown, item.label, item.ending});
}

}  // namespace

ClockReading ClockOf(int year, int month, int day, int hour, int minute, int second) {
    return {static_cast<double>(year),          static_cast<double>(month),
            static_cast<double>(day),           static_cast<double>(hour) / 24,
            static_cast<double>(minute) / 1440, static_cast<double>(second) / 86400};
}

Reading<Place> ReadPlace(const FieldTexts& fields, bool east, bool north) try {
    return PlaceOf(fields, east, north);
} catch (const InputError& refused) {
    return refused;
}

Reading<ClockReading> ReadClock(const FieldTexts& fields, TimeOfDay time) try {
    const ClockReading clock = ClockOfFields(fields, time);
    RequireDate(clock);
    return clock;
} catch (const InputError& refused) {
    return refused;
}

Reading<Observer> ObserverAt(const Place& place, std::int16_t Zone, std::int16_t EteRegl,
                             const ClockReading& clock) try {
    return ObserverOf(place, Zone, EteRegl, clock);
} catch (const InputError& refused) {
    return refused;
}

Reading<Observer> ReadObserver(const FieldTexts& f, bool east, bool north, TimeOfDay time) try {
    const std::int16_t EteRegl = ReadInt16(f.TxtEteRegl, "تعديل التوقيت الصيفي", "summer-time");
    const std::int16_t Zone = ReadInt16(f.TxtZone, "المنطقة الزمنية", "time-zone");
    const Place place = PlaceOf(f, east, north);
    return ObserverOf(place, Zone, EteRegl, ClockOfFields(f, time));
} catch (const InputError& refused) {
    return refused;
}

void Calcul_JJ(Report& r, const Observer& o) {
    r.Clear();
    Write(r, kLon, o.Lon);
    Write(r, kLat, o.Lat);

    r.At("Zone", Unit::Hours);
    r.Value(o.Zone);
    r.Raw({" المنطقة الزمنية بالساعات ", "\r\n", "Zone = ", std::to_string(o.Zone), "\r\n\r\n"});
    r.At("EtéRegl", Unit::Hours);
    r.Value(o.EteRegl);
    r.Raw({"تعديل التوقيت الصيفي بالساعات ", "\r\n", "EtéRegl = ", std::to_string(o.EteRegl),
           "\r\n\r\n"});

    const ClockReading& c = o.clock;
    Write(r, kYear, c.year);
    Write(r, kMonth, c.month);
    r.Raw({"إذا كان الشهر المطلوب هو يناير أو فبراير ", "\r\n", "Y = Y - 1 : m = m + 12",
           "\r\n\r\n\r\n"});
    Write(r, kHour, c.h);
    Write(r, kMinute, c.Min);
    Write(r, kSecond, c.Sec);
    const double J = DayAndTime(c);
    Write(r, kDay, J);

    r.At("Retard", Unit::Days);  // written for every date, also before the reform
    r.Item({"تأخر التقويم اليوليوزي عن الغريغوري باليوم ", "\r\n",
            "Retard = (2 - Fix(Y / 100)) + Fix(Y / 400)", " = "},
           JulianDayOf(c.year, c.month, J).Retard, "");
    r.Raw({"\r\n", "تعني أخذ الخارج و إهمال الباقي ولو تجاوز نصف يوم ", " Fix ", "\r\n\r\n\r\n"});

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
        o.JJ);

    r.At("T", Unit::Centuries);
    r.Item({" 1900 ", "التاريخ اليوليوزي بالقرون إبتداءاً من زوال فاتح يناير ", "\r\n",
            "T = (JJ - 2415020) / 36525 = "},
           o.T, "\r\n\r\n\r\n");
}

}  // namespace zerin
