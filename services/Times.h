// The timetable engine: the Sun's prayer times of a place, one day at a time, on its clock, by the
// method's settings and the rules of high latitudes.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "PlaceInput.h"
#include "PrayerMethods.h"
#include "ZoneClock.h"
#include "hijri/HijriRules.h"
#include "report/Commands.h"

namespace zerin::services {

// The cells of a day: the table's seven, then those shown only when asked for or when a method
// needs them (Maghrib by its own angle, the night's middle and last third, the Moon's rising and
// setting).
enum TimeCell {
    kFajr,
    kSunrise,
    kTransit,
    kAsr1,
    kAsr2,
    kSunset,
    kIsha,
    kMaghrib,
    kMidnight,
    kLastThird,
    kMoonrise,
    kMoonset,
    kTimeCells
};

// How a day's times are computed. Exact: each time from the Sun's place at that time's own
// instant (interpolated between the noons of the day before, the day and the day after).
// AsReport: every time from the Sun's place at 12:00 standard time, the values of the Sun
// command (and of its report) for that instant.
enum class TimesMethod { Exact, AsReport };

struct TimesDay {
    Civil date;
    ClockOffset offset;  // the clock the cells are shown on
    // The times on the zone's standard clock (NaN: never reached that day). AsReport: what the
    // Sun command computes, on the clock of the zone's whole hours.
    SunTimes sun;
    // The cells on the local clock, hours since the day's midnight; NaN when missing.
    std::array<double, kTimeCells> clock{};
    std::array<bool, kTimeCells> adjusted{};
    Outcome outcome = Outcome::Written;  // Refused or Fault: the Sun command did not finish
    bool skipped = false;                // the clock skips this day: it has no times
    // Without rising or setting, the times taken from another latitude or day (--polar);
    // `polarMissing`: the polar rule found none with both.
    bool polar = false, polarMissing = false;
    // A nightfall by interval held at the middle of the night, or a dawn at the previous day's
    // nightfall or setting: the times of the night keep their order.
    bool held = false;
    double moonFraction = kNoAngle;  // illuminated fraction of the Moon at local midnight
};

// The Sun's place at the noons of the days, computed once for every place that keeps the same
// standard time (places of one zone, one run). Holds at most a few years of noons of a few
// hundred zones: beyond that it starts afresh.
class SunNoons {
  public:
    const SunNode& At(Seconds utc);

  private:
    std::unordered_map<Seconds, SunNode> nodes_;
};

// Computes the days of one place on one clock. Days asked for in order share the Sun's place
// at their noons; `noons`, when given, shares them with other timetables (it must outlive this
// one).
class Timetable {
  public:
    // The place as CheckPlace gives it (degrees, West and North positive).
    Timetable(const Place& place, const ZoneClock& clock, const PrayerSettings& settings,
              TimesMethod method = TimesMethod::Exact, SunNoons* noons = nullptr);
    TimesDay Day(const Civil& date);
    // The Sun's course through the date on the zone's standard clock, its middle node at 12:00:
    // the course the date's times are found on (n days from that node is 12 + 24 n hours).
    SunCourse Course(const Civil& date);
    // What the calculation said of the last day it did not finish.
    const std::string& LastMessage() const { return messages_.last; }

  private:
    // Greenwich's instant of 12:00 of the date on the zone's standard clock.
    Seconds NoonOf(const Civil& date) const;
    // The course from the nodes of the day before, the day and the day after that noon.
    SunCourse CourseAt(Seconds noonUtc);
    // The setting and nightfall of a day as the table shows them: seconds since the epoch (UTC),
    // or, handed to the next day, hours since that day's midnight on its clock; NaN when the day
    // has none (or was not computed).
    struct Evening {
        Seconds date = std::numeric_limits<Seconds>::min();  // the day's midnight, civil seconds
        double setting = std::nan(""), isha = std::nan("");
    };
    // The day (`midnight`: its civil seconds), its dawn kept after the evening before.
    TimesDay DayAfter(const Civil& date, Seconds midnight, const Evening& before, bool moon);
    // The evening of the day of that midnight, computed aside from the days in order.
    Evening EveningAside(Seconds midnight);
    static Evening EveningOf(const TimesDay& d, Seconds midnight);
    void ExactDay(TimesDay& d, Seconds noonUtc, const Evening& before, bool moon);
    void ReportDay(TimesDay& d, Seconds noonUtc, const Evening& before);
    // The Sun's node at an instant: from the recent days, the shared store or computed.
    SunNode NodeAt(Seconds utc);
    // The times of the day on the standard clock for an observer, and those of the next day
    // (on its own clock) when `next` is given.
    SunTimes SunOfDay(Seconds noonUtc, const SunObserver& observer, const SunTimes* previous,
                      SunTimes* next);
    // The method's interval, seasonal twilight, high-latitude rules, adjustments and rounding;
    // the next dawn and rising on this day's clock (NaN: not computed).
    // The next day's dawn, rising and setting on this day's clock (hours past its midnight).
    struct NextDay {
        double dawn = std::nan(""), rising = std::nan(""), setting = std::nan("");
    };
    void ApplySettings(TimesDay& d, const NextDay& next, const Evening& before);
    // A dawn under the method's seventh of the night, its seasonal twilight or the rule of high
    // latitudes (no seasonal twilight on a polar day); `marked` becomes true when a rule gave it.
    // The rules divide the night that follows the day, or the one before its rising
    // (`nightBefore`) when there is none after it (the last rising before the midnight Sun).
    double RuledDawn(const Civil& date, double dawn, double rising, double night,
                     double nightBefore, bool polar, bool& marked) const;
    void FillPolar(TimesDay& d, Seconds noonUtc);
    // The first day (nearest-day) or latitude (nearest-latitude) of the polar rule whose times
    // satisfy `found`; none when the search ends without one.
    template <class Found>
    std::optional<SunTimes> SearchPolar(Seconds noonUtc, Found found);
    // Moonrise and moonset within the local day (the Moon's centre at 0.7275 of its parallax
    // less 0.5667 degrees, as the crescent report takes them) and the illuminated fraction at
    // the day's local midnight.
    void MoonDay(TimesDay& d);

    TableMessenger messages_;
    Report report_;  // the Sun's values checked, no text
    const ZoneClock& clock_;
    PrayerSettings settings_;
    SunAltitudeSines altitudes_;
    TimesMethod method_;
    Place place_;
    SunObserver observer_;
    std::optional<HijriCalendar> ramadan_;  // the Umm al-Qura calendar, for Ramadan's interval
    SunNoons* noons_;  // null: each noon computed once anyway, as the days come in order
    // The nodes of the last day computed: the noons of the day before, the day and the day after.
    std::array<Seconds, 3> recentNoons_;
    std::array<SunNode, 3> recent_{};
    SunTimes yesterday_;  // the times of the day before the next one, on its clock
    Evening evening_;     // the evening of the last day computed
};

// Hours since midnight as the clock shows them: "HH:MM" to the nearest minute, half a minute
// rounding up ("HH:MM:SS" to the nearest second with seconds), and "+1" or "-1" for a time on the
// day after or before; empty for a time that does not exist (NaN).
std::string ClockText(double hours, bool seconds);
// The same text into `out`, replacing what it held (a table's cell reused from row to row).
void WriteClockText(double hours, bool seconds, std::string& out);
// The reading of ClockText as a number: minutes (seconds) since the day's midnight, rounded as the
// text. A hair above one half, so that a half written in decimal hours rounds up.
inline Seconds ClockUnits(double hours, Seconds unitsPerDay) {
    return static_cast<Seconds>(
        std::floor(hours * static_cast<double>(unitsPerDay / 24) + 0.5 + 1e-9));
}

// A place's Hijri calendar for a table: the rule at the place (sighting) or at Mecca
// (computed); `zone` the place's standard time in the program's convention (East negative).
HijriCalendar TableHijriCalendar(HijriRule rule, const Place& place, int zone);

// The Hijri date of a table's day: "1 رمضان 1446 هـ" in the text table and the printed page,
// "1446-09-01" in CSV and JSON; the day's rule (Umm al-Qura, or the tabular calendar that
// stands in for it outside 1300-1600 AH) in `rule`.
std::string HijriCellText(HijriCalendar& calendar, const Civil& date, bool arabic,
                          HijriRule* rule = nullptr);

}  // namespace zerin::services
