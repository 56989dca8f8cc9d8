// The start of each Hijri month by four rules: the tabular calendar (civil or
// astronomical epoch), Umm al-Qura from ICU's table, the Umm al-Qura rule computed at
// Mecca, and the sighting of the crescent at a place. Pure routines over the crescent's
// (conjunction, sunset, moonset, Yallop's and Odeh's criteria); HijriCalendar gives the
// Hijri date of any civil day under a rule, with the month starts cached.
#pragma once

#include <optional>
#include <string_view>
#include <unordered_map>

#include "crescent/Crescent.h"
#include "hijri/Hijri.h"

namespace zerin {

enum class HijriRule {
    Civil,         // tabular, civil epoch
    Astronomical,  // tabular, astronomical epoch
    UmmAlQura,     // ICU's table, 1300-1600 AH; the tabular civil calendar outside
    Computed,      // the Umm al-Qura rule computed at Mecca
    Sighting,      // the crescent predicted visible at a place
};

// The rule's name on the command line ("civil", "astronomical", "umm-al-qura",
// "computed", "sighting") and in Arabic.
const char* HijriRuleKey(HijriRule rule);
// The rule of a name: those of HijriRuleKey, and "tabular" for the civil epoch.
std::optional<HijriRule> HijriRuleNamed(std::string_view key);
const char* HijriRuleArabic(HijriRule rule);

// Which verdict of the crescent the sighting rule takes: Odeh's zone A or B (V >= 2), or
// Yallop's zones A to C (q > -0.160).
enum class SightingCriterion { Odeh, Yallop };
const char* CriterionKey(SightingCriterion criterion);  // "odeh", "yallop"

// A place: longitude West positive, latitude North positive (degrees), and the time
// zone in hours East negative (the program's convention), whose clock gives the dates.
struct HijriPlace {
    double Lon = 0, Lat = 0;
    int Zone = 0;
};

// The Kaaba, Mecca, on Saudi Arabia's clock (UTC+3).
inline constexpr HijriPlace kMecca{-39.8262, 21.4225, -3};

// The evening of the 29th of a month, which decides whether the next month begins the
// next day (the month had 29 days) or the day after (30 days).
struct MonthEvening {
    DayNumber day29 = 0;      // the civil day of the 29th
    double noon = 0;          // 12:00 on the place's clock that day, Julian day (UT)
    DeltaTValue deltaT;       // TT - UT that month, and its stretch
    Conjunction conjunction;  // of the lunation nearest that noon
    CrescentEvening evening;  // sunset, moonset, lag, age and the verdicts
    bool begins = false;      // the rule's verdict: the next day begins the month
};

/*
 * EveningOfThe29th: the crescent on the evening of a civil day at a place.
 *
 *   day29  the day number of the 29th
 *   place  where, and the clock whose dates these are
 *
 * Returned: noon = day29 + Zone / 24 (12:00 on the place's clock, UT), Delta T of the
 * month (DeltaTAt), the conjunction of the lunation nearest noon (ConjunctionOf) and the
 * evening (CrescentEveningOf: sunset after that day's transit, the moonset nearest it,
 * the lag and the age, the best time and both criteria when the Moon sets after the
 * Sun and the conjunction fell before sunset). `begins` is left false.
 */
MonthEvening EveningOfThe29th(DayNumber day29, const HijriPlace& place);

/*
 * UmmAlQuraBegins: the Umm al-Qura rule (in force since 1423 AH): the conjunction falls
 * before sunset and the Moon sets after the Sun on the evening of the 29th.
 *
 * Returned: true when sunset and moonset were both found, conjunction < sunset and
 * moonset > sunset.
 *
 * Source: the Umm al-Qura calendar's rule as given by R. van Gent, "The Umm al-Qura
 * Calendar of Saudi Arabia" (Utrecht University), after the King Abdulaziz City for
 * Science and Technology.
 */
bool UmmAlQuraBegins(const CrescentEvening& evening);

// The sighting rule: the crescent predicted visible: the evening's best time computed
// (conjunction before sunset, Moon setting after the Sun) and Odeh's zone A or B, or
// Yallop's zone A, B or C.
bool SightingBegins(const CrescentEvening& evening, SightingCriterion criterion);

// The rule's verdict on an evening (Computed or Sighting).
bool RuleBegins(HijriRule rule, const CrescentEvening& evening, SightingCriterion criterion);

// A Hijri date and the rule that produced it: the tabular civil calendar (Civil) when
// Umm al-Qura was asked for outside its table.
struct HijriDay {
    HijriDate date;
    HijriRule rule = HijriRule::Civil;
};

/*
 * HijriCalendar: the Hijri calendar of one rule.
 *
 * The tabular calendars are arithmetic; Umm al-Qura is ICU's table, read once. The
 * computed rule (always at Mecca) and the sighting rule (at the place) count the 29th
 * from the month's first day under the same rule, month after month: the chain starts
 * on the tabular civil calendar `anchorMonths` months before the month asked for and is
 * carried forward; a wrong start corrects itself within a month or two (a month begun a
 * day early sees no crescent on its 29th and gets 30 days), so the anchor does not
 * matter. The starts found are kept: a column of consecutive days walks the chain once.
 */
class HijriCalendar {
  public:
    static constexpr int kDefaultAnchorMonths = 6;

    explicit HijriCalendar(HijriRule rule, HijriPlace place = kMecca,
                           SightingCriterion criterion = SightingCriterion::Odeh,
                           int anchorMonths = kDefaultAnchorMonths);

    HijriRule Rule() const { return rule_; }
    const HijriPlace& Place() const { return place_; }
    SightingCriterion Criterion() const { return criterion_; }

    // The rule that gives the months of a year: the rule itself, or Civil for Umm
    // al-Qura outside 1300-1600 AH.
    HijriRule RuleOfYear(int year) const;

    // The day number of the first day of a month (month 1..12, any year).
    DayNumber MonthStart(int year, int month);
    // 29 or 30.
    int MonthLength(int year, int month);

    // The Hijri date of a civil day number, and the rule that produced it. A year of 0
    // or less is a day before 1 Muharram 1.
    HijriDay DateOf(DayNumber day);
    HijriDay DateOf(const CivilDay& date);  // the date must exist (DayNumberOf)

    // The day number of a Hijri date; none when the month is outside 1..12, the year
    // below 1 or the day beyond the month's length under this rule.
    std::optional<DayNumber> DayNumberOf(const HijriDate& date);

    // The evening that decided a month's start (Computed and Sighting only): the 29th of
    // the month before, as this rule counts it.
    MonthEvening EveningBefore(int year, int month);

  private:
    DayNumber StartOfIndex(int index);
    DayNumber ChainStart(int index);

    HijriRule rule_;
    HijriPlace place_;
    SightingCriterion criterion_;
    int anchorMonths_;
    std::unordered_map<int, DayNumber> starts_;  // the chain's month starts by month index
};

// The first day of a month by ICU's Umm al-Qura table, none outside 1300-1600 AH (the
// table read once from ICU).
std::optional<DayNumber> UmmAlQuraMonthStart(int year, int month);

}  // namespace zerin
