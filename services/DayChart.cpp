#include "DayChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "TimesTable.h"
#include "hijri/Hijri.h"

namespace zerin::services {

namespace {

// The three twilights, each six degrees deeper than the one before.
struct TwilightRow {
    double top, bottom;
    const char* name;
};
constexpr TwilightRow kTwilights[] = {
    {0, -6, "الشفق المدني"},
    {-6, -12, "الشفق البحري"},
    {-12, -18, "الشفق الفلكي"},
};

// Two minutes a sample: a pixel of a chart whose day is 720 pixels wide.
constexpr int kSamples = 24 * 30;

const char* const kAsrNames[] = {"العصر الأول: الظل مثل الشيء وظل الزوال",
                                 "العصر الثاني: الظل مثلا الشيء وظل الزوال"};

// A time of the table with its crossing on the standard clock (NaN: the Sun does not reach its
// altitude that day) and its line.
struct CellCrossing {
    TimeCell cell;
    double standardHours;
    DayLineKind line;
};

std::string Number(double x, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    std::string s = text;
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-') s.erase(0, 1);
    return s;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& between) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : between) + part;
    return text;
}

// The name of what gave a time the Sun does not reach: a rule of high latitudes, the method's
// seventh of the night or its seasonal twilight, or the polar rule.
std::string RuleOf(const TimesDay& d, const PrayerSettings& s, double Lat) {
    if (d.polar) return PolarRuleArabic(s.polar);
    if (s.seasonal) return "الشفق الموسمي";
    if (std::fabs(Lat) >= s.seventhAbove) return HighLatRuleArabic(HighLatRule::Seventh);
    return HighLatRuleArabic(s.rule);
}

// The day's lines: the horizon of rising and setting, dawn and nightfall (unless nightfall is an
// interval), Maghrib by its own angle, and the afternoon altitudes shown.
std::vector<DayLine> LinesOf(const PrayerSettings& s, const SunTimes& sun) {
    std::vector<DayLine> lines;
    const double horizon = HorizonAltitude(s.horizon, s.elevation);
    lines.push_back({DayLineKind::Horizon, horizon, "الشروق والغروب " + DegreesText(horizon, 2)});
    lines.push_back({DayLineKind::Dawn, -s.fajrAngle, "الفجر " + DegreesText(-s.fajrAngle, 1)});
    if (!(s.ishaInterval > 0))
        lines.push_back(
            {DayLineKind::Nightfall, -s.ishaAngle, "العشاء " + DegreesText(-s.ishaAngle, 1)});
    if (!std::isnan(s.maghribAngle))
        lines.push_back(
            {DayLineKind::Maghrib, -s.maghribAngle, "المغرب " + DegreesText(-s.maghribAngle, 1)});
    // AltAsr is the Sun's zenith distance at the afternoon time.
    const double asr[] = {90 - sun.AltAsr1, 90 - sun.AltAsr2};
    for (int k = 0; k < 2; ++k) {
        if (s.asr == (k == 0 ? AsrShown::Second : AsrShown::First) || std::isnan(asr[k])) continue;
        lines.push_back({k == 0 ? DayLineKind::Asr1 : DayLineKind::Asr2, asr[k],
                         std::string(kAsrNames[k]) + " " + DegreesText(asr[k], 1)});
    }
    return lines;
}

// Whether the settings show the cell: the afternoon times --asr keeps, Maghrib by its angle.
bool Asked(const PrayerSettings& s, TimeCell cell) {
    if (cell == kAsr1) return s.asr != AsrShown::Second;
    if (cell == kAsr2) return s.asr != AsrShown::First;
    return cell != kMaghrib || !std::isnan(s.maghribAngle);
}

const DayLine* LineOf(const std::vector<DayLine>& lines, DayLineKind kind) {
    for (const DayLine& line : lines)
        if (line.kind == kind) return &line;
    return nullptr;
}

// The chart's span of altitudes: the curve and every line, in multiples of ten degrees, with
// room above the transit for its label.
void SpanOf(DayChart& chart) {
    double low = 0, high = 10;
    for (const DaySample& p : chart.curve) low = std::min(low, p.altitude);
    for (const DaySample& p : chart.curve) high = std::max(high, p.altitude);
    for (const DayLine& line : chart.lines) low = std::min(low, line.altitude);
    chart.lowest = std::max(-90.0, 10 * std::floor((low - 2) / 10));
    chart.highest = std::min(90.0, 10 * std::ceil((high + 6) / 10));
}

}  // namespace

Civil LocalNow(const ZoneClock& clock) {
    const Seconds utc = static_cast<Seconds>(std::time(nullptr));
    return CivilOf(utc + clock.At(utc).Total());
}

std::string DegreesText(double degrees, int decimals) {
    std::string text = Number(degrees, decimals);
    if (text.front() == '-') text.replace(0, 1, "\u2212");  // the minus sign, not a hyphen
    return Isolated(text + "°");
}

std::string ArabicDate(const Civil& date) {
    return Isolated(std::to_string(date.day)) + " " + GregorianMonthName(date.month) + " " +
           Isolated(std::to_string(date.year));
}

std::string ArabicPlace(const Place& place) {
    return Isolated(Number(std::fabs(place.Lat), 2) + "°") +
           (place.Lat >= 0 ? " شمالاً، " : " جنوباً، ") +
           Isolated(Number(std::fabs(place.Lon), 2) + "°") + (place.Lon >= 0 ? " غرباً" : " شرقاً");
}

bool DayChartOf(const DayChartRequest& r, DayChart& chart, std::string& error) {
    Place place;
    if (!CheckPlace(r.table.place, place, error)) return false;
    const std::unique_ptr<ZoneClock> clock = MakeClock(r.table, error);
    if (!clock) return false;
    const Civil now = LocalNow(*clock);
    const Civil date = r.date.value_or(Civil{now.year, now.month, now.day});
    const Seconds dayAfter = SecondsOf(Civil{date.year, date.month, date.day}) + 2 * kDay;
    if (!ClockKnows(*clock, r.table, dayAfter, error)) return false;
    return DayChartFor(place, *clock, date, r.settings, r.placeName, chart, error);
}

bool DayChartFor(const Place& place, const ZoneClock& clock, const Civil& date,
                 const PrayerSettings& settings, const std::string& placeName, DayChart& chart,
                 std::string& error) {
    Timetable table(place, clock, settings);
    const TimesDay d = table.Day(date);
    if (d.skipped) {
        error = "the clock skips " + DateText(date) + ": it has no day to draw";
        return false;
    }
    if (d.outcome != Outcome::Written) {
        error = table.LastMessage();
        return false;
    }
    const SunCourse course = table.Course(date);
    const SunObserver observer = SunObserverAt(place.Lon, place.Lat);
    // The cells are on the clock of the day's noon, its summer time added to the standard clock
    // on which the course's middle node is 12:00.
    const double summer = static_cast<double>(d.offset.summer) / kHour;
    const auto altitude = [&](double hours) {
        return SunHorizontalAt(course, observer, (hours - summer - 12) / 24).Altitude;
    };
    chart = DayChart{};
    for (int k = 0; k <= kSamples; ++k) {
        const double hours = 24.0 * k / kSamples;
        chart.curve.push_back({hours, altitude(hours)});
    }
    const SunTimes& s = d.sun;
    chart.lines = LinesOf(settings, s);
    for (const TwilightRow& t : kTwilights) chart.bands.push_back({t.top, t.bottom, t.name});
    SpanOf(chart);

    const auto timeText = [&](TimeCell cell) { return Isolated(ClockText(d.clock[cell], false)); };
    const double transit = s.MIDI + summer;
    chart.marks.push_back({kTransit, DayMarkKind::Transit, transit, altitude(transit),
                           std::string(TimeCellArabic(kTransit)) + " " + timeText(kTransit)});
    std::vector<CellCrossing> cells = {
        {kFajr, s.Fajr, DayLineKind::Dawn},         {kSunrise, s.Lever, DayLineKind::Horizon},
        {kAsr1, s.Asr1, DayLineKind::Asr1},         {kAsr2, s.Asr2, DayLineKind::Asr2},
        {kSunset, s.Coucher, DayLineKind::Horizon}, {kMaghrib, s.Maghrib, DayLineKind::Maghrib},
        {kIsha, s.Icha, DayLineKind::Nightfall}};
    for (const CellCrossing& c : cells) {
        const bool interval = c.cell == kIsha && settings.ishaInterval > 0;
        if (!Asked(settings, c.cell)) continue;  // an afternoon time not shown, Maghrib at setting
        // No line where the altitude itself does not exist (the afternoon's in a polar night).
        const DayLine* line = LineOf(chart.lines, c.line);
        const std::string name = TimeCellArabic(c.cell);
        const double shown = line || interval ? d.clock[c.cell] : std::nan("");
        const double crossing = c.standardHours + summer;
        DayMark mark{c.cell, DayMarkKind::Crossing, crossing, line ? line->altitude : 0,
                     name + " " + timeText(c.cell)};
        if (std::isnan(shown)) {
            mark.kind = DayMarkKind::Missing;
            mark.label = name + ": لا تبلغ الشمس ارتفاعه في هذا اليوم";
            chart.notes.push_back(mark.label);
        } else if (interval) {
            mark.kind = DayMarkKind::Interval;
            mark.hours = shown;
            mark.altitude = altitude(shown);
            mark.label += " (" + Isolated(Number(settings.ishaInterval, 0)) + " دقيقة بعد المغرب)";
        } else if (std::isnan(crossing) || d.adjusted[c.cell]) {
            mark.kind = DayMarkKind::Ruled;
            mark.hours = shown;
            mark.label += " (" + RuleOf(d, settings, place.Lat) + ")";
        }
        if (mark.kind != DayMarkKind::Missing && !mark.Shown())
            chart.notes.push_back(mark.label + ": خارج هذا اليوم");
        chart.marks.push_back(mark);
    }

    chart.title = "ارتفاع الشمس يوم " + ArabicDate(date);
    const PrayerMethod* method = PrayerMethodNamed(settings.method);
    chart.subtitle = (placeName.empty() ? "" : placeName + " — ") + ArabicPlace(place) +
                     " — الساعة " + Isolated("UTC" + OffsetText(d.offset.Total())) +
                     (method ? std::string(" — ") + method->arabic : "");
    chart.name = "رسم ارتفاع الشمس خلال اليوم";
    std::vector<std::string> said;
    for (const DayMark& m : chart.marks)
        if (m.kind != DayMarkKind::Missing) said.push_back(m.label);
    chart.description = chart.title + ". " + chart.subtitle + ". " + Joined(said, "، ") +
                        "؛ أعلى ارتفاع للشمس " + DegreesText(chart.marks.front().altitude, 1) +
                        " عند الزوال." +
                        (chart.notes.empty() ? "" : " " + Joined(chart.notes, ". ") + ".");
    return true;
}

DayFrame DayFrameOf(const DayChart& chart, double width, double height) {
    // The title's two lines above, the hours and the notes below, the altitudes at the left.
    constexpr double kTop = 64, kLeft = 44, kRight = 16, kBottom = 36, kNoteLine = 20;
    const double bottom = kBottom + kNoteLine * static_cast<double>(chart.notes.size());
    return {kLeft,
            kTop,
            std::max(1.0, width - kLeft - kRight),
            std::max(1.0, height - kTop - bottom),
            chart.lowest,
            chart.highest};
}

}  // namespace zerin::services
