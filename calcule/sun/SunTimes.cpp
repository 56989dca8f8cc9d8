// The Sun's diameter, transit, rising, setting and the prayer times that depend on the
// Sun: both afternoon times (shadow factors 1 and 2), nightfall (-17) and dawn (-19).
#include <cmath>
#include <limits>

#include "math/Angles.h"
#include "report/ModCalcule.h"
#include "sky/Crossing.h"
#include "sun/Sun.h"
#include "time/JulianDay.h"

namespace zerin {

namespace {

// The sines of the report's altitudes, the same every day: computed once.
const double kSineHorizon = Sine(kReportHorizon), kSineNightfall = Sine(-kNightfallDepression),
             kSineDawn = Sine(-kDawnDepression);

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

SunNode SunNodeAt(double JJ) {
    const SunPlace s = SunPlaceAt(JulianCenturies(JJ));
    const double radians = s.Dec * std::atan(1.0) / 45;
    return {JJ, s.Asc, s.Dec, std::sin(radians), std::cos(radians), s.R_soleil};
}

SunCourse::Quadratic::Quadratic(double before, double noon, double after)
    : y0(noon),
      b(((noon - before) + (after - noon)) / 2),
      c(((after - noon) - (noon - before)) / 2) {}

namespace {

// x - 24 k brought nearest to `near` (hours): a right ascension made continuous.
double NearestTurn(double x, double near) {
    return x - 24 * std::round((x - near) / 24);
}

}  // namespace

SunCourse::SunCourse(const SunNode& before, const SunNode& noon, const SunNode& after)
    : noon_(noon),
      asc_(NearestTurn(before.Asc, noon.Asc), noon.Asc, NearestTurn(after.Asc, noon.Asc)),
      dec_(before.Dec, noon.Dec, after.Dec),
      sinDec_(before.sinDec, noon.sinDec, after.sinDec),
      cosDec_(before.cosDec, noon.cosDec, after.cosDec) {
    const double T = JulianCenturies(noon.JJ);
    sidereal0_ = GreenwichSiderealTime(noon.JJ);
    // The derivative of the sidereal time's polynomial in revolutions, plus the day itself.
    siderealRate_ = ((100.0021359 + 2 * 0.000001075 * T) / 36525 + 1) * 24;
}

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHoursPerRadian = 12 / kPi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Newton's method stops once a step is below a tenth of a second. A step of less than five
// minutes is also the last where the hour angle of the altitude changes slowly with the
// declination (a factor below 5): the error left after it is far below a millisecond.
// Close to the latitude where a time ceases the factor grows without bound, and the steps
// go on.
constexpr double kSettled = 0.1 / 86400, kCloseEnough = 300.0 / 86400, kSlowFactor = 5;
constexpr int kMaxSteps = 12, kMaxHalvings = 8;

// Hours brought into -12..12. The turns counted with a product, not a division: a division's
// wait lies on the path of every Newton step, twice, and the count can only differ where the
// hours are within a rounding of an odd multiple of 12.
double HalfTurn(double hours) {
    if (!(std::fabs(hours) < 1e9)) return kNaN;
    const auto turns = static_cast<long long>(hours * (1.0 / 24) + (hours < 0 ? -0.5 : 0.5));
    return hours - 24 * static_cast<double>(turns);
}

using Observer = SunObserver;

double LocalHourAngle(const SunCourse& course, const Observer& o, double n) {
    return HalfTurn(course.SiderealTime(n) + o.hoursEast - course.Asc(n));
}

double TransitDays(const SunCourse& course, const Observer& o) {
    const auto missAt = [&](double n, int) {
        return HourAngleMiss{CrossingKind::Found, LocalHourAngle(course, o, n),
                             course.SiderealRate() - course.AscRate(n), kSettled};
    };
    return CrossingNear(missAt, 0, {kMaxSteps, 0}).JJ;
}

// The Sun's circle at one instant: the cosine of the hour angle at which its centre has the
// altitude of sine sinAlt (outside -1..1 when it never reaches it) and the tangent of its
// declination.
struct Circle {
    double c, tanDec;
};

Circle CircleAt(const SunCourse& course, const Observer& o, double sinAlt, double n) {
    const double inverseCosDec = 1 / course.CosDec(n);
    const double sinDec = course.SinDec(n);
    return {(sinAlt - o.sinLat * sinDec) * o.inverseCosLat * inverseCosDec, sinDec * inverseCosDec};
}

// The day's transit, with what every time of the day starts from.
struct Transit {
    double n;                 // days from the middle node
    double sinDecLat;         // sin Dec sin Lat
    double inverseCosDecLat;  // 1 / (cos Dec cos Lat)
    double daysPerHour;       // of the hour angle, at the transit
};

double Settle(const SunCourse& course, const Observer& o, double sinAlt, int side, double n,
              Circle circle, double last);

// Whether n (days from the middle node) lies on the given side of the transit within half a
// turn of the hour angle: a time of that day, not of the day before or after.
bool OfTheDay(const Transit& t, int side, double n) {
    constexpr double kHalfTurn = 0.5 + 1.0 / 1440;  // half a day, and a minute for the Sun's motion
    const double after = side * (n - t.n);
    return after >= 0 && after <= kHalfTurn;
}

// The instant between the transit and half a day from it where the Sun's centre reaches the
// altitude of sine sinAlt, by bisection (what Newton's steps fall back on); NaN when the
// altitude is not crossed there.
double Bracketed(const SunCourse& course, const Observer& o, const Transit& t, double sinAlt,
                 int side) {
    const auto above = [&](double n) {  // > 0 while the Sun is above the altitude
        return std::cos(LocalHourAngle(course, o, n) / kHoursPerRadian) -
               CircleAt(course, o, sinAlt, n).c;
    };
    double from = t.n, to = t.n + side * 0.5;
    const double atFrom = above(from);
    if (!(atFrom > 0 && above(to) <= 0)) return kNaN;
    for (int k = 0; k < 48; ++k) {
        const double middle = (from + to) / 2;
        (above(middle) > 0 ? from : to) = middle;
    }
    return (from + to) / 2;
}

/*
 * Days from the middle node at which the Sun's centre reaches the altitude of sine sinAlt,
 * before the transit (side -1) or after it (side +1), within half a day of it, starting from
 * `hint` (days) when it is a number; NaN when it does not that day. Whether it does is
 * decided from the transit alone, so that every start gives the same answer; a start that
 * leads to another day's time is given up for the first guess, and that for a bisection.
 */
double EventDays(const SunCourse& course, const Observer& o, const Transit& t, double sinAlt,
                 int side, double hint) {
    double n = t.n;
    double c = (sinAlt - t.sinDecLat) * t.inverseCosDecLat;
    if (c < -1) {
        // Above the altitude all day at the noon declination: the Sun comes closest to it
        // at its lowest, half a day from the transit.
        n = t.n + side * 0.5;
        c = CircleAt(course, o, sinAlt, n).c;
    }
    if (!(std::fabs(c) <= 1)) return kNaN;
    // The same time of the day before, when known and on the same side of the transit, is
    // a start within a minute or two: no first guess to compute.
    if (side * (hint - t.n) > 0 && std::fabs(hint - t.n) < 0.75) {
        const Circle atHint = CircleAt(course, o, sinAlt, hint);
        if (std::fabs(atHint.c) <= 1) {
            const double found = Settle(course, o, sinAlt, side, hint, atHint, hint);
            if (OfTheDay(t, side, found)) return found;
        }
    }
    const double guess = t.n + side * std::acos(c) * kHoursPerRadian * t.daysPerHour;
    const double found =
        Settle(course, o, sinAlt, side, guess, CircleAt(course, o, sinAlt, guess), n);
    return OfTheDay(t, side, found) ? found : Bracketed(course, o, t, sinAlt, side);
}

// Newton's steps from n, where the Sun's circle is `circle` (its caller has it already);
// `last` is an instant when the altitude is reached. NaN when the steps do not settle (where
// the Sun barely reaches the altitude, its lowest near it).
double Settle(const SunCourse& course, const Observer& o, double sinAlt, int side, double n,
              Circle circle, double last) {
    // The miss of the hour angle at an instant, from the Sun's circle then.
    const auto missFrom = [&](double at, const Circle& here) {
        const double c = here.c;
        if (!(std::fabs(c) <= 1)) return HourAngleMiss{CrossingKind::NeverRises};
        const double sinH0 = std::sqrt(1 - c * c);
        const double H0 = std::acos(c) * kHoursPerRadian;
        // How much the hour angle of the altitude moves with the declination (radians per
        // radian), and so how fast it moves, hours a day.
        const double factor = (o.tanLat - c * here.tanDec) / sinH0;
        const double H0Rate = sinH0 > 0 ? factor * course.DecRate(at) * (1.0 / 15) : 0;
        return HourAngleMiss{CrossingKind::Found,
                             HalfTurn(LocalHourAngle(course, o, at) - side * H0),
                             course.SiderealRate() - course.AscRate(at) - side * H0Rate,
                             std::fabs(factor) < kSlowFactor ? kCloseEnough : kSettled};
    };
    // A step that left the days when the altitude is reached is halved back.
    const auto missAt = [&](double at, int) {
        return missFrom(at, CircleAt(course, o, sinAlt, at));
    };
    const CrossingFound f = CrossingNear(missAt, n, missFrom(n, circle), last,
                                         {kMaxSteps, kMaxHalvings}, [](int, double) {});
    // Steps that did not settle, or reached no day with the altitude: the bisection decides.
    return f.kind == CrossingKind::Found ? f.JJ : kNaN;
}

}  // namespace

Horizontal SunHorizontalAt(const SunCourse& course, const SunObserver& o, double n) {
    return HorizontalPlace(LocalHourAngle(course, o, n) * 15, course.Dec(n), o.Lat);
}

SunObserver SunObserverAt(double Lon, double Lat) {
    const double lat = Lat * kPi / 180;
    return {Lat, -Lon / 15, std::sin(lat), 1 / std::cos(lat), std::tan(lat)};
}

SunTimes SunDayTimesExact(const SunCourse& course, const SunObserver& o, double noonClock,
                          const SunTimes* previous) {
    static const SunAltitudeSines report = {kSineHorizon, kSineDawn, kSineNightfall, kNaN};
    return SunDayTimesExact(course, o, noonClock, report, previous);
}

SunAltitudeSines SinesOf(const SunAltitudes& a) {
    return {Sine(a.horizon), Sine(a.dawn), Sine(a.nightfall),
            std::isnan(a.maghrib) ? kNaN : Sine(a.maghrib)};
}

SunTimes SunDayTimesExact(const SunCourse& course, const SunObserver& o, double noonClock,
                          const SunAltitudeSines& sines, const SunTimes* previous) {
    const double Lat = o.Lat;
    const auto clock = [noonClock](double days) { return noonClock + days * 24; };
    SunTimes t;
    t.Diam = 31.98766667 / course.Noon().R_soleil;
    const double transit = TransitDays(course, o);
    t.MIDI = clock(transit);
    const Transit at{transit, o.sinLat * course.SinDec(transit),
                     o.inverseCosLat / course.CosDec(transit),
                     1 / (course.SiderealRate() - course.AscRate(transit))};
    // The day before's times as starts, moved to this day's node.
    const auto hint = [&](double hours) { return (hours - noonClock) / 24; };
    const auto event = [&](double sinAlt, int side, double before) {
        return clock(EventDays(course, o, at, sinAlt, side, hint(before)));
    };
    // Without the day before, no starts (NaN): each time is found from the transit. A time of
    // 0 would start the morning's steps at the node's midnight, from where the nearest rising
    // can be the day before's.
    SunTimes none;
    none.Lever = none.Coucher = none.Asr1 = none.Asr2 = none.Icha = none.Fajr = kNaN;
    const SunTimes& before = previous ? *previous : none;
    t.Lever = event(sines.horizon, -1, before.Lever);
    t.Coucher = event(sines.horizon, +1, before.Coucher);
    if (!std::isnan(sines.maghrib)) t.Maghrib = event(sines.maghrib, +1, before.Maghrib);
    t.Duirn = (t.Coucher - t.Lever) / 2;
    // The afternoon altitudes from the zenith distance of the Sun at the transit.
    const double zenith = std::fabs(Lat - course.Dec(transit));
    const double tanZenith = zenith < 90 ? std::tan(zenith * kPi / 180) : kNaN;
    const auto afternoon = [&](double heights, double& alt, double& fadl, double& time,
                               double yesterday) {
        const double cotangent = heights + tanZenith;  // of the Sun's altitude
        alt = std::atan(cotangent) * 180 / kPi;
        time = event(1 / std::sqrt(1 + cotangent * cotangent), +1, yesterday);
        fadl = time - t.MIDI;
    };
    afternoon(1, t.AltAsr1, t.FadlAsr1, t.Asr1, before.Asr1);
    afternoon(2, t.AltAsr2, t.FadlAsr2, t.Asr2, before.Asr2);
    t.Icha = event(sines.nightfall, +1, before.Icha);
    t.FadlIcha = t.Icha - t.MIDI;
    t.Fajr = event(sines.dawn, -1, before.Fajr);
    t.FadlFajr = t.MIDI - t.Fajr;
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

SunResult Calcul_Soleil(Report& report, const zerin::Observer& o, Messenger& messenger,
                        SunItems items) {
    SunResult s;
    s.place = WriteSunPlace(report, o.T);
    s.sky = SkyPlaceAt(o.JJ, o.Lon, o.Lat, s.place.Asc, s.place.Dec);
    WriteSky(report,
             "*******************  غاية إرتفاع الشمس و زاوية السمت و قطرها الظاهري "
             "***********************\r\n\r\n",
             "زاوية السّمت بالدرج\r\n", s.sky);
    s.times = SunDayTimes(s.place, s.sky, o.Lat, o.Zone);
    const SunTimes& t = s.times;
    try {
        report.Section(kDiameter, {t.Diam});
        // The first time the Sun does not reach (NaN) stops the report here.
        if (items == SunItems::All)
            report.Section(kTimes,
                           {t.MIDI, t.Duirn, t.Lever, t.Coucher, t.AltAsr1, t.FadlAsr1, t.Asr1,
                            t.AltAsr2, t.FadlAsr2, t.Asr2, t.FadlIcha, t.Icha, t.FadlFajr, t.Fajr});
    } catch (const CalcError&) {
        // The Sun never reaches the altitude of this time today (polar day or night,
        // bright nights): the report ends here, cleanly.
        messenger.critical(kNoSuchAltitude);
    }
    report.Raw({kEndLine});
    return s;
}

}  // namespace zerin
