// The Sun's diameter, transit, rising, setting and the prayer times that depend on the
// Sun: both afternoon times (shadow factors 1 and 2), nightfall (-17) and dawn (-19).
#include <cmath>
#include <cstdint>

#include "Angles.h"
#include "ModCalcule.h"

namespace zerin {

namespace {

// Altitudes of the Sun's centre, in degrees: upper limb on the horizon (no refraction),
// nightfall and dawn.
constexpr double kHorizon = -0.25, kNightfall = -17, kDawn = -19;
// Their sines, the same every day: computed once.
const double kSineHorizon = Sine(kHorizon), kSineNightfall = Sine(kNightfall),
             kSineDawn = Sine(kDawn);

// The Sun's daily circle for the observer: the products of declination and latitude
// that every hour angle of the day divides by.
struct DayCircle {
    double sines;    // Sine(Dec) * Sine(Lat)
    double cosines;  // Cosine(Dec) * Cosine(Lat)
};

DayCircle CircleOf(double Dec, double Lat) {
    return {Sine(Dec) * Sine(Lat), Cosine(Dec) * Cosine(Lat)};
}

// Hour angle, in hours, at which the Sun reaches the altitude whose sine is s. Throws
// when it never does that day (the cosine falls outside -1..1).
double SunHourAngle(double s, const DayCircle& c) {
    return ArcCos(Ratio(s - c.sines, c.cosines)) / 15;
}

// The same hour angle, NaN when the Sun never reaches the altitude: tested before the
// arc cosine, so that a timetable's polar days cost no exception.
double SunHourAngleOrNaN(double s, const DayCircle& c) {
    const double x = c.cosines == 0 ? std::nan("") : (s - c.sines) / c.cosines;
    return std::fabs(x) <= 1 ? ArcCos(x) / 15 : std::nan("");
}

// Transit in the zone's standard time, hours 0..24: the clock time of the instant
// (UT * 24) plus the time the Sun still needs to reach the meridian (Asc - TS_Loc).
double SunTransit(double Asc, const SkyPlace& sky, std::int16_t Zone) {
    return Angle_24_Hour(((Asc - sky.TS_Loc) + sky.UT * 24) - Zone);
}

// Zenith distance of the Sun, degrees, when a shadow equals the noon shadow plus
// `heights` times the object's height.
double AsrZenithDistance(double heights, double Lat, double Dec) {
    return ArcTan(heights + Tangent(std::fabs(Lat - Dec)));
}

// Each time from its own altitude, as the report computes it, so that a time the Sun
// never reaches leaves only its own value missing (NaN) and sends no message.
void EachSunTime(const SunPlace& sun, const SkyPlace& sky, std::int16_t Zone, double Lat,
                 const DayCircle& circle, SunTimes& t) {
    const double Dec = sun.Dec;
    t.MIDI = SunTransit(sun.Asc, sky, Zone);
    t.Duirn = SunHourAngleOrNaN(kSineHorizon, circle);
    t.Lever = t.MIDI - t.Duirn;
    t.Coucher = t.MIDI + t.Duirn;
    t.Asr1 = SunHourAngleOrNaN(Sine(90 - AsrZenithDistance(1, Lat, Dec)), circle) + t.MIDI;
    t.Asr2 = SunHourAngleOrNaN(Sine(90 - AsrZenithDistance(2, Lat, Dec)), circle) + t.MIDI;
    t.Icha = SunHourAngleOrNaN(kSineNightfall, circle) + t.MIDI;
    t.Fajr = t.MIDI - SunHourAngleOrNaN(kSineDawn, circle);
    t.complete = !std::isnan(t.Duirn) && !std::isnan(t.Asr1) && !std::isnan(t.Asr2) &&
                 !std::isnan(t.Icha) && !std::isnan(t.Fajr);
}

const Message kNoSuchAltitude{
    "إذا كان مجموع ميل الشمس و زاوية الغسق أو الشفق مطروحاً من 90 جة مساوياً لعرض البلد فلن "
    "يكون هناك فجر أو عشاء\r\n"
    "و كلما إزداد عرض البلد إبتداءاً من حدود الدائرة القطبية بالعرض 66جة33ق إنعدم الشروق و "
    "الغروب ",
    "the Sun does not reach the altitude of this time on this day at this latitude "
    "(no rising and setting beyond the polar circles, no dawn or nightfall in bright "
    "high-latitude nights); the report ends at the last time it could compute"};

}  // namespace

void ModCalcule::SunTransitAndPrayers() {
    Report& r = report;
    SunTimes& t = sunTimes;
    t = SunTimes{};
    const double Asc = sun.Asc, Dec = sun.Dec;
    const DayCircle circle = CircleOf(Dec, Lat);
    const std::string_view kFormulaEnd = "\r\n";
    try {
        r.At("Diam", Unit::ArcMinutes);
        t.Diam = 31.98766667 / R_soleil;
        r.Item({" القطر الظاهري للشمس بالدقائق ", "\r\n", "Diam = 31.98766667 / R_soleil",
                kFormulaEnd, " = "},
               t.Diam);

        if (sunTimesEach) {
            EachSunTime(sun, sunSky, Zone, Lat, circle, t);
            return;
        }

        r.At("MIDI", Unit::Hours);
        t.MIDI = SunTransit(Asc, sunSky, Zone);
        r.Item({"******************* توسّط و شروق وغروب الشمس مع بقية حصص الصلاة "
                "***********************",
                "\r\n\r\n", " توسط الشمس أي الزوال الحقيقي بالساعات ", "\r\n",
                "MIDI = Asc - TS_Loc + (UT * 24) - Zone", kFormulaEnd, " = "},
               t.MIDI);

        r.At("Duirn", Unit::Hours);
        t.Duirn = SunHourAngle(kSineHorizon, circle);
        r.Item({" نصف قوس النهار المرئي أي نصف مدّة النهار بالساعات ", "\r\n",
                "Duirn = (ArcCos((Sine(-0.25) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * "
                "Cosine(Lat)))) / 15",
                kFormulaEnd, " = "},
               t.Duirn);

        r.At("Lever", Unit::Hours);
        t.Lever = t.MIDI - t.Duirn;
        r.Item({" وقت شروق حافةالشمس العليا بالساعات", "\r\n", "Lever = MIDI - Duirn", kFormulaEnd,
                " = "},
               t.Lever);

        r.At("Coucher", Unit::Hours);
        t.Coucher = t.MIDI + t.Duirn;
        r.Item({" وقت غروب حافة الشمس العليا وهي حصّة المغرب بالساعات", "\r\n",
                "Coucher = MIDI + Duirn", kFormulaEnd, " = "},
               t.Coucher);

        constexpr std::string_view kAsrFadl =
            "Fadl = (ArcCos((Sine(90 - Alt) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * "
            "Cosine(Lat))))/15";
        r.At("Alt", Unit::Degrees);
        double Alt = AsrZenithDistance(1, Lat, Dec);
        r.Item({"إرتفاع الشمس لوقت العصر بالدرج", "\r\n", "Alt = ArcTan(1 + Tangent(Lat - Dec))",
                kFormulaEnd, " = "},
               Alt);
        r.At("Fadl", Unit::Hours);
        double Fadl = SunHourAngle(Sine(90 - Alt), circle);
        r.Item({" فضل دائر العصر الأول وهو الماضي من وقت الظهر حتى أول وقت العصر بالساعات ", "\r\n",
                kAsrFadl, kFormulaEnd, " = "},
               Fadl);
        r.At("Asr1", Unit::Hours);
        t.Asr1 = Fadl + t.MIDI;
        r.Item({"حصّة العصر الأول بالساعات وهو المتّبع عند المذاهب : المالكي و الشافعي و الحنبلي "
                "بالساعات",
                "\r\n", "Asr1 = MIDI + Fadl", kFormulaEnd, " = "},
               t.Asr1);

        r.At("Alt", Unit::Degrees);
        Alt = AsrZenithDistance(2, Lat, Dec);
        r.Item({"إرتفاع الشمس لوقت العصر بالدرج", "\r\n", "Alt = ArcTan(2 + Tangent(Lat - Dec))",
                kFormulaEnd, " = "},
               Alt);
        r.At("Fadl", Unit::Hours);
        Fadl = SunHourAngle(Sine(90 - Alt), circle);
        r.Item({" فضل دائر العصر الثاني وهو الماضي من وقت الظهر حتى أول وقت العصر بالساعات ",
                "\r\n", kAsrFadl, kFormulaEnd, " = "},
               Fadl);
        r.At("Asr2", Unit::Hours);
        t.Asr2 = Fadl + t.MIDI;
        r.Item({"حصّة العصر الثاني بالساعات وهو المتّبع عند المذهب الحنفي بالساعات ", "\r\n",
                "Asr2 = MIDI + Fadl", kFormulaEnd, " = "},
               t.Asr2);

        r.At("Fadl", Unit::Hours);
        Fadl = SunHourAngle(kSineNightfall, circle);
        r.Item({" فضل دائر العشاء وهو الماضي من وقت الظهر حتى أول وقت العشاء بالساعات ", "\r\n",
                "Fadl = (ArcCos((Sine(-17) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * "
                "Cosine(Lat)))) / 15",
                kFormulaEnd, " = "},
               Fadl);
        r.At("Icha", Unit::Hours);
        t.Icha = Fadl + t.MIDI;
        r.Item({" حصّة العشاء  بالساعات", "\r\n", "Icha = MIDI + Fadl", kFormulaEnd, " = "}, t.Icha);

        r.At("Fadl", Unit::Hours);
        Fadl = SunHourAngle(kSineDawn, circle);
        r.Item({" فضل دائر الفجر وهو الماضي من أول وقت الفجر حتى وقت الظهر بالساعات ", "\r\n",
                "Fadl = (ArcCos((Sine(-19) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * "
                "Cosine(Lat)))) / 15",
                kFormulaEnd, " = "},
               Fadl);
        r.At("Fajr", Unit::Hours);
        t.Fajr = t.MIDI - Fadl;
        r.Item({" حصّة الفجر بالساعات ", "\r\n", "Fajr = MIDI - Fadl", kFormulaEnd, " = "}, t.Fajr);
        t.complete = true;
    } catch (const CalcError&) {
        // The Sun never reaches the altitude of this time today (polar day or night,
        // bright nights): the report ends here, cleanly.
        messenger_.critical(kNoSuchAltitude);
    }
}

}  // namespace zerin
