#include "Times.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "crescent/Crescent.h"
#include "math/Angles.h"
#include "report/Commands.h"
#include "report/Echo.h"
#include "report/NumText.h"
#include "time/DeltaT.h"

namespace zerin::services {

namespace {

// The part of the night that separates dawn from rising, or setting from nightfall: the angle
// rule takes as many sixtieths of the night as the time's depression has degrees.
double NightPart(HighLatRule rule, double night, double depression) {
    switch (rule) {
        case HighLatRule::Middle:
            return night / 2;
        case HighLatRule::Seventh:
            return night / 7;
        case HighLatRule::Angle:
            return night * depression / 60;
        case HighLatRule::None:
            break;
    }
    return std::nan("");
}

// Days since the winter solstice of the place's hemisphere, as the Moonsighting Committee counts
// them: from 21 December (North) or 21 June (South; 20 June in a leap year's count).
int DaysSinceWinterSolstice(const Civil& date, double lat) {
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int daysInYear = leap ? 366 : 365;
    const int dayOfYear = static_cast<int>(
        (SecondsOf(Civil{date.year, date.month, date.day}) - SecondsOf(Civil{date.year, 1, 1})) /
            kDay +
        1);
    int days = lat >= 0 ? dayOfYear + 10 : dayOfYear - (leap ? 173 : 172);
    if (days >= daysInYear) days -= daysInYear;
    if (days < 0) days += daysInYear;
    return days;
}

// A dawn or nightfall that is missing, or that lies beyond the rule's time (a dawn earlier than
// rising less the rule's part of the night, a nightfall later than setting plus it), takes the
// rule's time and is marked.
void TakeRuleTime(TimesDay& d, int cell, double ruleTime, int side) {
    if (std::isnan(ruleTime)) return;
    if (std::isnan(d.clock[cell]) || side * (d.clock[cell] - ruleTime) > 0) {
        d.clock[cell] = ruleTime;
        d.adjusted[cell] = true;
    }
}

char Digit(Seconds n) {
    return static_cast<char>('0' + n);
}

}  // namespace

const SunNode& SunNoons::At(Seconds utc) {
    // About a year of noons for each of a few hundred zones (or many local mean times).
    constexpr std::size_t kMostNoons = 1 << 17;
    const auto found = nodes_.find(utc);
    if (found != nodes_.end()) return found->second;
    if (nodes_.size() >= kMostNoons) nodes_.clear();
    return nodes_.emplace(utc, SunNodeAt(JulianDayOfInstant(utc))).first->second;
}

Timetable::Timetable(const Place& place, const ZoneClock& clock, const PrayerSettings& settings,
                     TimesMethod method, SunNoons* noons)
    : clock_(clock),
      settings_(settings),
      altitudes_(SinesOf(AltitudesOf(settings))),
      method_(method),
      place_(place),
      noons_(noons) {
    recentNoons_.fill(std::numeric_limits<Seconds>::min());
    report_.SetSinks(Report::kNone);
    observer_ = SunObserverAt(place_.Lon, place_.Lat);
    if (settings_.ramadanInterval > 0) ramadan_.emplace(HijriRule::UmmAlQura);
}

TimesDay Timetable::Day(const Civil& date) {
    const Seconds midnight = SecondsOf(Civil{date.year, date.month, date.day});
    const Evening before =
        evening_.date == midnight - kDay ? evening_ : EveningAside(midnight - kDay);
    TimesDay d = DayAfter(date, midnight, before, settings_.moon);
    evening_ = EveningOf(d, midnight);
    return d;
}

Timetable::Evening Timetable::EveningAside(Seconds midnight) {
    // The day itself keeps the nodes and the times it would have had.
    const std::array<Seconds, 3> noons = recentNoons_;
    const std::array<SunNode, 3> nodes = recent_;
    const SunTimes yesterday = yesterday_;
    const Evening evening =
        EveningOf(DayAfter(CivilOf(midnight), midnight, Evening{}, false), midnight);
    recentNoons_ = noons;
    recent_ = nodes;
    yesterday_ = yesterday;
    return evening;
}

Timetable::Evening Timetable::EveningOf(const TimesDay& d, Seconds midnight) {
    Evening e;
    e.date = midnight;
    if (d.skipped || d.outcome != Outcome::Written) return e;
    const double midnightUtc = static_cast<double>(midnight - d.offset.Total());
    e.setting = midnightUtc + d.clock[kSunset] * kHour;
    e.isha = midnightUtc + d.clock[kIsha] * kHour;
    return e;
}

TimesDay Timetable::DayAfter(const Civil& date, Seconds midnight, const Evening& before,
                             bool moon) {
    TimesDay d;
    d.date = date;
    if (clock_.SkipsDate(date)) {
        d.skipped = true;
        d.clock.fill(std::nan(""));
        return d;
    }
    const Seconds utc = NoonOf(date);
    d.offset = clock_.At(utc);
    // The evening before on this day's clock: hours since its midnight.
    const double midnightUtc = static_cast<double>(midnight - d.offset.Total());
    const Evening onClock{before.date, (before.setting - midnightUtc) / kHour,
                          (before.isha - midnightUtc) / kHour};
    if (method_ == TimesMethod::Exact)
        ExactDay(d, utc, onClock, moon);
    else
        ReportDay(d, utc, onClock);
    if (d.outcome != Outcome::Written) d.clock.fill(std::nan(""));
    return d;
}

Seconds Timetable::NoonOf(const Civil& date) const {
    Civil noon = date;
    noon.hour = 12;
    noon.minute = noon.second = 0;
    return clock_.FromStandard(SecondsOf(noon));
}

SunCourse Timetable::Course(const Civil& date) {
    return CourseAt(NoonOf(date));
}

SunNode Timetable::NodeAt(Seconds utc) {
    const auto* known = std::find(recentNoons_.begin(), recentNoons_.end(), utc);
    return known != recentNoons_.end() ? recent_[known - recentNoons_.begin()]
           : noons_                    ? noons_->At(utc)
                                       : SunNodeAt(JulianDayOfInstant(utc));
}

SunTimes Timetable::SunOfDay(Seconds noonUtc, const SunObserver& observer, const SunTimes* previous,
                             SunTimes* next) {
    // The middle node is 12:00 on the zone's standard clock.
    const SunTimes times = SunDayTimesExact(CourseAt(noonUtc), observer, 12, altitudes_, previous);
    if (next) {
        const SunNode after = noons_ ? noons_->At(noonUtc + 2 * kDay)
                                     : SunNodeAt(JulianDayOfInstant(noonUtc + 2 * kDay));
        *next =
            SunDayTimesExact(SunCourse(recent_[1], recent_[2], after), observer, 12, altitudes_);
    }
    return times;
}

SunCourse Timetable::CourseAt(Seconds noonUtc) {
    const std::array<Seconds, 3> noons = {noonUtc - kDay, noonUtc, noonUtc + kDay};
    std::array<SunNode, 3> nodes;
    for (std::size_t k = 0; k < 3; ++k) nodes[k] = NodeAt(noons[k]);
    recentNoons_ = noons;
    recent_ = nodes;
    return SunCourse(nodes[0], nodes[1], nodes[2]);
}

void Timetable::ExactDay(TimesDay& d, Seconds noonUtc, const Evening& before, bool moon) {
    const bool follows = recentNoons_[1] == noonUtc - kDay;  // the day before was the last one
    // The next day's dawn and rising bound the night after this day's setting.
    const bool needsNext = settings_.extras || settings_.rule != HighLatRule::None ||
                           !std::isnan(settings_.seventhAbove) || settings_.ishaInterval > 0;
    SunTimes next;
    d.sun =
        SunOfDay(noonUtc, observer_, follows ? &yesterday_ : nullptr, needsNext ? &next : nullptr);
    yesterday_ = d.sun;
    const double summer = static_cast<double>(d.offset.summer) / kHour;
    const SunTimes& s = d.sun;
    const std::array<double, kMaghrib + 1> times = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                    s.Asr2, s.Coucher, s.Icha, s.Maghrib};
    for (int c = 0; c <= kMaghrib; ++c) d.clock[c] = times[c] + summer;
    for (int c = kMaghrib + 1; c < kTimeCells; ++c) d.clock[c] = std::nan("");
    if (settings_.polar != PolarRule::None && (std::isnan(s.Lever) || std::isnan(s.Coucher)))
        FillPolar(d, noonUtc);
    ApplySettings(d,
                  needsNext ? NextDay{next.Fajr + 24 + summer, next.Lever + 24 + summer,
                                      next.Coucher + 24 + summer}
                            : NextDay{},
                  before);
    if (moon) MoonDay(d);
}

void Timetable::MoonDay(TimesDay& d) {
    const Civil midnight{d.date.year, d.date.month, d.date.day};
    const Seconds start = clock_.FromLocal(SecondsOf(midnight));
    const Seconds end = clock_.FromLocal(SecondsOf(midnight) + kDay);
    const TheorySunMoon theories(DeltaTAt(DecimalYear(d.date.year, d.date.month)).DeltaT);
    const double J0 = JulianDayOfInstant(start), J1 = JulianDayOfInstant(end);
    // The rising (setting) of the transits nearest the day's noon and the days around it: the
    // first that falls within the day, on the local clock.
    for (const bool rising : {true, false}) {
        double first = std::nan("");
        for (const double from : {J0 - 0.5, J0 + 0.5, J0 + 1.5}) {
            const Crossing c = HorizonCrossing(theories, Luminary::Moon, from, place_.Lon,
                                               place_.Lat, rising, true);
            if (c.kind == Crossing::Kind::Found && c.JJ >= J0 && c.JJ < J1 && !(c.JJ >= first))
                first = c.JJ;
        }
        double& cell = d.clock[rising ? kMoonrise : kMoonset];
        cell = std::nan("");
        if (std::isnan(first)) continue;
        const Seconds utc = SecondsOfJulianDay(first);
        cell = static_cast<double>(utc + clock_.At(utc).Total() - SecondsOf(midnight)) / kHour;
    }
    // The illuminated fraction from the elongation, (1 - cos elongation) / 2.
    const BodyPlace sun = theories.SunAt(J0), moon = theories.MoonAt(J0);
    const double elongation =
        ArcCos(Cosine(sun.Longitude - moon.Longitude) * Cosine(moon.Latitude));
    d.moonFraction = (1 - Cosine(elongation)) / 2;
}

template <class Found>
std::optional<SunTimes> Timetable::SearchPolar(Seconds noonUtc, Found found) {
    if (settings_.polar == PolarRule::NearestLatitude) {
        // Toward the equator by half degrees.
        for (double lat = place_.Lat; std::fabs(lat) > 0;) {
            lat -= lat > 0 ? std::min(0.5, lat) : std::max(-0.5, lat);
            const SunTimes s = SunOfDay(noonUtc, SunObserverAt(place_.Lon, lat), nullptr, nullptr);
            if (found(s)) return s;
        }
        return std::nullopt;
    }
    // The nearest day, before or after.
    for (Seconds k = 1; k <= 183; ++k)
        for (const Seconds day : {noonUtc - k * kDay, noonUtc + k * kDay}) {
            const SunTimes s = SunOfDay(day, observer_, nullptr, nullptr);
            if (found(s)) return s;
        }
    return std::nullopt;
}

void Timetable::FillPolar(TimesDay& d, Seconds noonUtc) {
    const double summer = static_cast<double>(d.offset.summer) / kHour;
    const auto risesAndSets = [](const SunTimes& s) {
        return !std::isnan(s.Lever) && !std::isnan(s.Coucher);
    };
    std::optional<SunTimes> s = SearchPolar(noonUtc, risesAndSets);
    // The afternoon needs the Sun higher than a rising does: taken by the same rule, from the
    // first day (latitude) where both its times are reached.
    std::optional<SunTimes> afternoon;
    if (s && (std::isnan(s->Asr1) || std::isnan(s->Asr2)))
        afternoon = SearchPolar(noonUtc, [&](const SunTimes& t) {
            return risesAndSets(t) && !std::isnan(t.Asr1) && !std::isnan(t.Asr2);
        });
    recentNoons_.fill(std::numeric_limits<Seconds>::min());  // the nodes are another day's
    if (!s) {
        d.polarMissing = true;
        return;
    }
    if (afternoon) {
        s->Asr1 = afternoon->Asr1;
        s->Asr2 = afternoon->Asr2;
    }
    const std::array<double, kMaghrib + 1> times = {s->Fajr, s->Lever,   s->MIDI, s->Asr1,
                                                    s->Asr2, s->Coucher, s->Icha, s->Maghrib};
    for (int c = 0; c <= kMaghrib; ++c) {
        d.clock[c] = times[c] + summer;
        d.adjusted[c] = !std::isnan(d.clock[c]);
    }
    d.polar = true;
}

double Timetable::RuledDawn(const Civil& date, double dawn, double rising, double nightAfter,
                            double nightBefore, bool polar, bool& marked) const {
    const PrayerSettings& s = settings_;
    const double night = std::isnan(nightAfter) ? nightBefore : nightAfter;
    TimesDay d;
    d.clock[kFajr] = dawn;
    const bool seventh = std::fabs(place_.Lat) >= s.seventhAbove;
    if (seventh && !std::isnan(night)) {
        // The method's own rule beyond its latitude: a seventh of the night, whatever the
        // angle gives (the seasonal twilight may still shorten it below).
        d.clock[kFajr] = rising - night / 7;
        d.adjusted[kFajr] = true;
    }
    if (s.seasonal && !polar) {
        const int dyy = DaysSinceWinterSolstice(date, place_.Lat);
        TakeRuleTime(d, kFajr, rising - SeasonalTwilight(true, place_.Lat, dyy) / 60, -1);
    } else if (!seventh && s.rule != HighLatRule::None && !std::isnan(night)) {
        TakeRuleTime(d, kFajr, rising - NightPart(s.rule, night, s.fajrAngle), -1);
    }
    marked = marked || d.adjusted[kFajr];
    return d.clock[kFajr];
}

void Timetable::ApplySettings(TimesDay& d, const NextDay& next, const Evening& before) {
    const PrayerSettings& s = settings_;
    const double setting = d.clock[kSunset], rising = d.clock[kSunrise];
    // Maghrib is never before the setting: an angle above the horizon's takes the setting, and
    // with it the setting's mark (a setting that the polar rule gave).
    if (std::isnan(s.maghribAngle) || d.clock[kMaghrib] < setting) {
        d.clock[kMaghrib] = setting;
        d.adjusted[kMaghrib] = d.adjusted[kSunset];
    }
    // The night that follows the day: from setting to the next rising (as the day's own rising
    // a day later where that is not computed: --as-report).
    const double night = (std::isnan(next.rising) ? rising + 24 : next.rising) - setting;
    const bool byInterval = s.ishaInterval > 0;
    if (byInterval) {
        double interval = s.ishaInterval;
        if (ramadan_ &&
            ramadan_->DateOf(CivilDay{d.date.year, d.date.month, d.date.day}).date.month == 9)
            interval = s.ramadanInterval;
        d.clock[kIsha] = setting + interval / 60;
        d.adjusted[kIsha] = false;
        // A night shorter than twice the interval: nightfall at its middle, never past it.
        if (d.clock[kIsha] > setting + night / 2) {
            d.clock[kIsha] = setting + night / 2;
            d.adjusted[kIsha] = d.held = true;
        }
    }
    const double settingBefore = before.setting, ishaBefore = before.isha;  // on this clock
    const bool seventh = std::fabs(place_.Lat) >= s.seventhAbove;
    bool marked = d.adjusted[kFajr];
    d.clock[kFajr] =
        RuledDawn(d.date, d.clock[kFajr], rising, night, rising - settingBefore, d.polar, marked);
    d.adjusted[kFajr] = marked;
    if (seventh && !std::isnan(night) && !byInterval) {
        d.clock[kIsha] = setting + night / 7;
        d.adjusted[kIsha] = true;
    }
    if (s.seasonal && !d.polar) {
        const int dyy = DaysSinceWinterSolstice(d.date, place_.Lat);
        if (!byInterval)
            TakeRuleTime(d, kIsha, setting + SeasonalTwilight(false, place_.Lat, dyy) / 60, +1);
    } else if (!seventh && s.rule != HighLatRule::None && !std::isnan(night) && !byInterval) {
        TakeRuleTime(d, kIsha, setting + NightPart(s.rule, night, s.ishaAngle), +1);
    }
    constexpr int kAdjusted[][2] = {{kFajr, kAdjustFajr},     {kSunrise, kAdjustSunrise},
                                    {kTransit, kAdjustDhuhr}, {kAsr1, kAdjustAsr},
                                    {kAsr2, kAdjustAsr},      {kMaghrib, kAdjustMaghrib},
                                    {kIsha, kAdjustIsha}};
    for (const auto& [cell, prayer] : kAdjusted) d.clock[cell] += s.adjust[prayer] / 60;
    // No dawn before the evening that ends the night before it.
    const double evening = std::fmax(settingBefore, ishaBefore);
    if (d.clock[kFajr] < evening) {
        d.clock[kFajr] = evening;
        d.adjusted[kFajr] = d.held = true;
    }
    // The night's middle and its last third, from setting to the next day's dawn as its row
    // shows it: under the rules of high latitudes, with the dawn's adjustment, after this day's
    // nightfall. The night after the next day is taken as long as the one before it.
    if (s.extras) {
        bool nextMarked = false;
        const double nextNight = next.rising + 24 - next.setting;
        double nextDawn = RuledDawn(CivilOf(SecondsOf(d.date) + kDay), next.dawn, next.rising,
                                    nextNight, night, false, nextMarked) +
                          s.adjust[kAdjustFajr] / 60;
        nextDawn = std::max(nextDawn, std::fmax(setting, d.clock[kIsha]));  // NaN stays NaN
        const double length = nextDawn - setting;
        d.clock[kMidnight] = setting + length / 2;
        d.clock[kLastThird] = setting + length * 2 / 3;
    }
    if (s.rounding == Rounding::Up)
        for (double& t : d.clock) t = std::ceil(t * 60 - 1e-6) / 60;
}

void Timetable::ReportDay(TimesDay& d, Seconds noonUtc, const Evening& before) {
    // The instant is taken on the standard clock of the zone's whole hours (truncated toward
    // zero): 12:00 at +05:30 is 11:30 at zone -5; the cells are then moved to the real clock.
    const Seconds wholeHours = d.offset.standard / kHour;
    const Civil reading = CivilOf(noonUtc + wholeHours * kHour);
    const Reading<Observer> observer =
        ObserverAt(place_, static_cast<std::int16_t>(-wholeHours), 0,
                   ClockOf(reading.year, reading.month, reading.day, reading.hour, reading.minute,
                           reading.second));
    if (!observer) {
        messages_.last = observer.refused().english;
        d.outcome = Outcome::Refused;
        return;
    }
    d.outcome = Guarded(report_, messages_, [&] {
        d.sun = Calcul_Soleil(report_, *observer, messages_, SunItems::ThroughDiameter).times;
    });
    if (d.outcome != Outcome::Written) return;
    const double shift =
        static_cast<double>(d.offset.standard - wholeHours * kHour + d.offset.summer) / 3600;
    const SunTimes& s = d.sun;
    const std::array<double, kMaghrib> zoneTimes = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                    s.Asr2, s.Coucher, s.Icha};
    for (int c = 0; c < kMaghrib; ++c) d.clock[c] = zoneTimes[c] + shift;
    for (int c = kMaghrib; c < kTimeCells; ++c) d.clock[c] = std::nan("");
    ApplySettings(d, NextDay{}, before);
}

namespace {

// ClockText with the units of the day known to the compiler (a timetable writes seven a row).
template <Seconds kUnitsPerDay>
void ClockTextIn(double hours, std::string& out) {
    constexpr bool seconds = kUnitsPerDay == kDay;
    const Seconds units = ClockUnits(hours, kUnitsPerDay);
    const Seconds dayShift =
        units >= 0 ? units / kUnitsPerDay : -((kUnitsPerDay - 1 - units) / kUnitsPerDay);
    const Seconds inDay = units - dayShift * kUnitsPerDay;
    // Within the day, a 32-bit unsigned number: its divisions are the cheaper.
    const auto in = static_cast<unsigned>(inDay);
    constexpr auto hour = static_cast<unsigned>(kHour);
    const unsigned hh = seconds ? in / hour : in / 60;
    const unsigned mm = seconds ? in % hour / 60 : in % 60;
    // Written straight into the cell, which most often held a text of the same length the row
    // before: resize() then does nothing, and no text is made elsewhere and copied.
    out.resize(seconds ? 8 : 5);
    char* text = out.data();
    text[0] = Digit(hh / 10);
    text[1] = Digit(hh % 10);
    text[2] = ':';
    text[3] = Digit(mm / 10);
    text[4] = Digit(mm % 10);
    if (seconds) {
        text[5] = ':';
        text[6] = Digit(in % 60 / 10);
        text[7] = Digit(in % 10);
    }
    if (dayShift != 0) {
        char shift[24];
        const int written =
            std::snprintf(shift, sizeof shift, "%+lld", static_cast<long long>(dayShift));
        out.append(shift, static_cast<std::size_t>(std::max(written, 0)));
    }
}

}  // namespace

void WriteClockText(double hours, bool seconds, std::string& out) {
    if (seconds)
        ClockTextIn<kDay>(hours, out);
    else
        ClockTextIn<1440>(hours, out);
}

std::string ClockText(double hours, bool seconds) {
    std::string text;
    if (std::isfinite(hours)) WriteClockText(hours, seconds, text);
    return text;
}

HijriCalendar TableHijriCalendar(HijriRule rule, const Place& place, int zone) {
    return HijriCalendar(rule, HijriPlace{place.Lon, place.Lat, zone});
}

std::string HijriCellText(HijriCalendar& calendar, const Civil& date, bool arabic,
                          HijriRule* rule) {
    const HijriDay day = calendar.DateOf(CivilDay{date.year, date.month, date.day});
    if (rule) *rule = day.rule;
    // Past the last Hijri year no date is shown: its way back to the Gregorian date is refused.
    if (day.date.year > kLastHijriYear) return "";
    return arabic ? HijriDateText(day.date) : IsoDateText(day.date);
}

}  // namespace zerin::services
