// The Qibla report: the direction of the Kaaba by the great circle, the distance on a sphere
// and on the WGS84 ellipsoid, and the days when the Sun stands over the Kaaba.
#include "qibla/QiblaReport.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "qibla/Qibla.h"
#include "time/JulianDay.h"

namespace zerin {

namespace {

const SectionText kDirection =
    "*******************  اتجاه القبلة و المسافة إلى الكعبة  ***********************\r\n\r\n"
    " فرق خط الطول بين الكعبة و البلد بالدرج (خط طول الكعبة 39.8261818 شرقاً)\r\n"
    "dLon = 39.8261818 + Lon\r\n"
    " = {dLon:deg}\r\n\r\n"
    " الجزء الأول من اتجاه القبلة\r\n"
    "Y = Sine(dLon)\r\n"
    " = {Y}\r\n\r\n"
    " الجزء الثاني من اتجاه القبلة (عرض الكعبة 21.4225241 شمالاً)\r\n"
    "X = (Cosine(Lat) * Tangent(21.4225241)) - (Sine(Lat) * Cosine(dLon))\r\n"
    " = {X}\r\n\r\n"
    " اتجاه القبلة من الشمال الحقيقي نحو الشرق بالدرج\r\n"
    "Qibla = ArcTan(Y / X)\r\n"
    "إذا كانت X < 0 : Qibla = Qibla + 180\r\n"
    "و إذا كانت X > 0 و Y < 0 : Qibla = Qibla + 360\r\n"
    "و إذا كانت X = 0 : Qibla = 90 إذا كانت Y > 0 و Qibla = 270 إذا كانت Y < 0\r\n"
    " = {Qibla:deg}\r\n\r\n"
    " المسافة إلى الكعبة على الدائرة العظمى بالكيلومترات (الأرض كرة نصف قطرها 6371 كلم)\r\n"
    "Distance = 6371 * ArcCos((Sine(Lat) * Sine(21.4225241)) + (Cosine(Lat) * "
    "Cosine(21.4225241) * Cosine(dLon))) * Pi / 180\r\n"
    " = {Distance:km}\r\n\r\n";

const SectionText kEllipsoid =
    " المسافة إلى الكعبة على أقصر خط فوق المجسم الإهليلجي WGS84 بالكيلومترات (طريقة فنسنتي)\r\n"
    "a = 6378137 : f = 1 / 298.257223563 : b = (1 - f) * a\r\n"
    "Distance_WGS84 = b * A * (Sigma - DeltaSigma) / 1000\r\n"
    " = {Distance_WGS84:km}\r\n\r\n";

const char* const kNoEllipsoid =
    " المسافة على المجسم الإهليلجي WGS84 : لا تتقارب طريقة فنسنتي قرب نقطة مقابلة الكعبة "
    "من الأرض\r\n\r\n";

const char* const kKaabaBanner =
    "*******************  تعامد الشمس على الكعبة  ***********************\r\n\r\n"
    " يوما السنة اللذان يساوي فيهما ميل الشمس عند توسطها فوق الكعبة عرض الكعبة 21.4225241\r\n"
    " و الأوقات بتوقيت البلد (المنطقة الزمنية و التوقيت الصيفي)\r\n\r\n";

const char* const kShadow =
    " في هذين الوقتين يشير ظل العمود الرأسي إلى عكس اتجاه القبلة حيثما كانت الشمس فوق الأفق\r\n"
    "\r\n";

const char* const kNoKaabaDay = " لم يوجد يوم تتعامد فيه الشمس على الكعبة في هذه السنة\r\n\r\n";

// "2025-05-27": a date as the report writes it.
std::string DateText(const CalendarDate& date) {
    char text[48];
    std::snprintf(text, sizeof text, "%.0f-%02.0f-%02.0f", date.year, date.month,
                  std::floor(date.day));
    return text;
}

// One day of the Sun over the Kaaba: its declination then, and the local time at the place.
void WriteKaabaDay(Report& r, const KaabaTransit& transit, int zoneLessSummer, bool first) {
    // The place's clock: UT - (Zone - EtéRegl), East of Greenwich negative.
    const CalendarDate local = CalendarDateOf(transit.JJ - zoneLessSummer / 24.0);
    const std::string date = DateText(local);
    r.At(first ? "Dec1" : "Dec2", Unit::Degrees);
    r.Item({" ميل الشمس عند توسطها فوق الكعبة يوم ", date, " بالدرج\r\n", first ? "Dec1" : "Dec2",
            " = Dec(MIDI_Kaaba)\r\n", " = "},
           transit.Dec);
    r.At(first ? "Kaaba1" : "Kaaba2", Unit::Hours);
    r.Item({" وقت توسط الشمس فوق الكعبة يوم ", date, " بتوقيت البلد بالساعات\r\n",
            first ? "Kaaba1" : "Kaaba2", " = (UT * 24) - Zone + EtéRegl\r\n", " = "},
           (local.day - std::floor(local.day)) * 24);
}

}  // namespace

void WriteQibla(Report& r, const Observer& o) {
    const QiblaPlace q = QiblaOf(o.Lon, o.Lat);
    const double radian = std::atan(1.0) / 45;
    const double dLon = q.dLon * radian, lat = o.Lat * radian;
    const double Y = std::sin(dLon);
    const double X =
        std::cos(lat) * std::tan(kKaabaLatitude * radian) - std::sin(lat) * std::cos(dLon);
    r.Section(kDirection, {q.dLon, Y, X, q.Qibla, q.Distance});
    const double ellipsoid = GeodesicDistanceKm(o.Lat, -o.Lon, kKaabaLatitude, kKaabaEastLongitude);
    if (std::isnan(ellipsoid))
        r.Raw({kNoEllipsoid});
    else
        r.Section(kEllipsoid, {ellipsoid});

    r.Raw({kKaabaBanner});
    const double year = o.clock.year;
    const KaabaDays days = std::fabs(year) < 1e6 ? SunOverKaaba(year) : KaabaDays{};
    const int zoneLessSummer = o.Zone - o.EteRegl;
    const bool found = std::isfinite(days.rising.JJ) && std::isfinite(days.falling.JJ);
    if (found) {
        WriteKaabaDay(r, days.rising, zoneLessSummer, true);
        WriteKaabaDay(r, days.falling, zoneLessSummer, false);
        r.Raw({kShadow});
    } else {
        r.Raw({kNoKaabaDay});
    }
    r.Raw({kEndLine});
}

Outcome RunQibla(Report& report, Messenger& messenger, const FieldTexts& fields, bool east,
                 bool north) {
    const std::optional<Observer> observer = EnterObserver(messenger, fields, east, north);
    if (!observer) return Outcome::Refused;
    Calcul_JJ(report, *observer);
    return Guarded(report, messenger, [&] { WriteQibla(report, *observer); });
}

}  // namespace zerin
