// The Sun's diameter, transit, rising, setting and the prayer times that depend on the
// Sun: both afternoon times (shadow factors 1 and 2), nightfall (-17) and dawn (-19).
#include <cmath>
#include <limits>

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

// Zenith distance of the Sun, degrees, when a shadow equals the noon shadow plus
// `heights` times the object's height.
double AsrZenithDistance(double heights, double Lat, double Dec) {
    return ArcTan(heights + Tangent(std::fabs(Lat - Dec)));
}

}  // namespace

DayCircle DayCircleOf(double Dec, double Lat) {
    return {Sine(Dec) * Sine(Lat), Cosine(Dec) * Cosine(Lat)};
}

double HourAngleOfAltitude(double sineAltitude, const DayCircle& circle) {
    const double x = Ratio(sineAltitude - circle.sines, circle.cosines);
    return std::fabs(x) <= 1 ? ArcCos(x) / 15 : std::numeric_limits<double>::quiet_NaN();
}

SunTimes SunDayTimes(const SunPlace& sun, const SkyPlace& sky, double Lat, double Zone) {
    SunTimes t;
    const double Dec = sun.Dec;
    const DayCircle circle = DayCircleOf(Dec, Lat);
    t.Diam = 31.98766667 / sun.R_soleil;  // minutes of arc at one astronomical unit
    // The clock time of the instant (UT * 24) plus the time the Sun still needs to reach
    // the meridian (Asc - TS_Loc).
    t.MIDI = Angle_24_Hour(((sun.Asc - sky.TS_Loc) + sky.UT * 24) - Zone);
    t.Duirn = HourAngleOfAltitude(kSineHorizon, circle);
    t.Lever = t.MIDI - t.Duirn;
    t.Coucher = t.MIDI + t.Duirn;
    t.AltAsr1 = AsrZenithDistance(1, Lat, Dec);
    t.FadlAsr1 = HourAngleOfAltitude(Sine(90 - t.AltAsr1), circle);
    t.Asr1 = t.FadlAsr1 + t.MIDI;
    t.AltAsr2 = AsrZenithDistance(2, Lat, Dec);
    t.FadlAsr2 = HourAngleOfAltitude(Sine(90 - t.AltAsr2), circle);
    t.Asr2 = t.FadlAsr2 + t.MIDI;
    t.FadlIcha = HourAngleOfAltitude(kSineNightfall, circle);
    t.Icha = t.FadlIcha + t.MIDI;
    t.FadlFajr = HourAngleOfAltitude(kSineDawn, circle);
    t.Fajr = t.MIDI - t.FadlFajr;
    t.complete = !std::isnan(t.Lever + t.Asr1 + t.Asr2 + t.Icha + t.Fajr);
    return t;
}

namespace {

const SectionText kDiameter =
    " القطر الظاهري للشمس بالدقائق \r\n"
    "Diam = 31.98766667 / R_soleil\r\n"
    " = {Diam:arcmin}\r\n\r\n";

#define ZERIN_ASR_FADL                                                                        \
    "Fadl = (ArcCos((Sine(90 - Alt) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * Cosine(Lat))))" \
    "/15\r\n"                                                                                 \
    " = {Fadl:h}\r\n\r\n"

const SectionText kTimes =
    "******************* توسّط و شروق وغروب الشمس مع بقية حصص الصلاة ***********************"
    "\r\n\r\n"
    " توسط الشمس أي الزوال الحقيقي بالساعات \r\n"
    "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n"
    " = {MIDI:h}\r\n\r\n"
    " نصف قوس النهار المرئي أي نصف مدّة النهار بالساعات \r\n"
    "Duirn = (ArcCos((Sine(-0.25) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * Cosine(Lat)))) / 15\r\n"
    " = {Duirn:h}\r\n\r\n"
    " وقت شروق حافةالشمس العليا بالساعات\r\n"
    "Lever = MIDI - Duirn\r\n"
    " = {Lever:h}\r\n\r\n"
    " وقت غروب حافة الشمس العليا وهي حصّة المغرب بالساعات\r\n"
    "Coucher = MIDI + Duirn\r\n"
    " = {Coucher:h}\r\n\r\n"
    "إرتفاع الشمس لوقت العصر بالدرج\r\n"
    "Alt = ArcTan(1 + Tangent(Lat - Dec))\r\n"
    " = {Alt:deg}\r\n\r\n"
    " فضل دائر العصر الأول وهو الماضي من وقت الظهر حتى أول وقت العصر بالساعات \r\n"  //
    ZERIN_ASR_FADL
    "حصّة العصر الأول بالساعات وهو المتّبع عند المذاهب : المالكي و الشافعي و الحنبلي بالساعات\r\n"
    "Asr1 = MIDI + Fadl\r\n"
    " = {Asr1:h}\r\n\r\n"
    "إرتفاع الشمس لوقت العصر بالدرج\r\n"
    "Alt = ArcTan(2 + Tangent(Lat - Dec))\r\n"
    " = {Alt:deg}\r\n\r\n"
    " فضل دائر العصر الثاني وهو الماضي من وقت الظهر حتى أول وقت العصر بالساعات \r\n"  //
    ZERIN_ASR_FADL
    "حصّة العصر الثاني بالساعات وهو المتّبع عند المذهب الحنفي بالساعات \r\n"
    "Asr2 = MIDI + Fadl\r\n"
    " = {Asr2:h}\r\n\r\n"
    " فضل دائر العشاء وهو الماضي من وقت الظهر حتى أول وقت العشاء بالساعات \r\n"
    "Fadl = (ArcCos((Sine(-17) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * Cosine(Lat)))) / 15\r\n"
    " = {Fadl:h}\r\n\r\n"
    " حصّة العشاء  بالساعات\r\n"
    "Icha = MIDI + Fadl\r\n"
    " = {Icha:h}\r\n\r\n"
    " فضل دائر الفجر وهو الماضي من أول وقت الفجر حتى وقت الظهر بالساعات \r\n"
    "Fadl = (ArcCos((Sine(-19) - Sine(Dec) * Sine(Lat)) / (Cosine(Dec) * Cosine(Lat)))) / 15\r\n"
    " = {Fadl:h}\r\n\r\n"
    " حصّة الفجر بالساعات \r\n"
    "Fajr = MIDI - Fadl\r\n"
    " = {Fajr:h}\r\n\r\n";

#undef ZERIN_ASR_FADL

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
    const SunTimes& t = sunTimes = SunDayTimes(sun, sunSky, Lat, Zone);
    try {
        report.Section(kDiameter, {t.Diam});
        if (sunTimesEach) return;
        // The first time the Sun does not reach (NaN) stops the report here.
        report.Section(
            kTimes, {t.MIDI, t.Duirn, t.Lever, t.Coucher, t.AltAsr1, t.FadlAsr1, t.Asr1, t.AltAsr2,
                     t.FadlAsr2, t.Asr2, t.FadlIcha, t.Icha, t.FadlFajr, t.Fajr});
    } catch (const CalcError&) {
        // The Sun never reaches the altitude of this time today (polar day or night,
        // bright nights): the report ends here, cleanly.
        messenger_.critical(kNoSuchAltitude);
    }
}

}  // namespace zerin
