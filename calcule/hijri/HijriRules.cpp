#include "hijri/HijriRules.h"

#include <cmath>
#include <mutex>
#include <vector>

#include "hijri/HijriIcu.h"
#include "time/DeltaT.h"

namespace zerin {

namespace {

bool InUmmAlQuraTable(int year) {
    return year >= kUmmAlQuraFirstYear && year <= kUmmAlQuraLastYear;
}

}  // namespace

namespace {

// Each rule's name on the command line and in Arabic, in the order of the enumeration.
struct RuleNames {
    HijriRule rule;
    const char* key;
    const char* arabic;
};
constexpr RuleNames kRuleNames[] = {
    {HijriRule::Civil, "civil", "التقويم الحسابي بالمبدأ المدني"},
    {HijriRule::Astronomical, "astronomical", "التقويم الحسابي بالمبدأ الفلكي"},
    {HijriRule::UmmAlQura, "umm-al-qura", "تقويم أم القرى"},
    {HijriRule::Computed, "computed", "قاعدة أم القرى محسوبة بمكة"},
    {HijriRule::Sighting, "sighting", "رؤية الهلال"},
};

}  // namespace

const char* HijriRuleKey(HijriRule rule) {
    return kRuleNames[static_cast<int>(rule)].key;
}

std::optional<HijriRule> HijriRuleNamed(std::string_view key) {
    if (key == "tabular") return HijriRule::Civil;
    for (const RuleNames& names : kRuleNames)
        if (key == names.key) return names.rule;
    return std::nullopt;
}

const char* HijriRuleArabic(HijriRule rule) {
    return kRuleNames[static_cast<int>(rule)].arabic;
}

const char* CriterionKey(SightingCriterion criterion) {
    return criterion == SightingCriterion::Odeh ? "odeh" : "yallop";
}

MonthEvening EveningOfThe29th(DayNumber day29, const HijriPlace& place) {
    MonthEvening m;
    m.day29 = day29;
    m.noon = static_cast<double>(day29) + place.Zone / 24.0;
    const CivilDay civil = CivilDayOf(day29);
    m.deltaT = DeltaTAt(DecimalYear(civil.year, civil.month));
    const TheorySunMoon source(m.deltaT.DeltaT);
    m.conjunction = ConjunctionNear(source, m.noon);
    m.evening = CrescentEveningOf(source, m.conjunction.JJ, m.noon, place.Lon, place.Lat, false);
    return m;
}

bool UmmAlQuraBegins(const CrescentEvening& e) {
    if (e.sun.kind != Crossing::Kind::Found || e.moon.kind != Crossing::Kind::Found) return false;
    return e.Age > 0 && e.Lag > 0;
}

bool SightingBegins(const CrescentEvening& e, SightingCriterion criterion) {
    if (e.end != CrescentEnd::Computed) return false;
    return criterion == SightingCriterion::Odeh ? e.odeh <= 'B' : e.yallop <= 'C';
}

bool RuleBegins(HijriRule rule, const CrescentEvening& evening, SightingCriterion criterion) {
    return rule == HijriRule::Computed ? UmmAlQuraBegins(evening)
                                       : SightingBegins(evening, criterion);
}

std::optional<DayNumber> UmmAlQuraMonthStart(int year, int month) {
    if (!InUmmAlQuraTable(year) || month < 1 || month > 12) return std::nullopt;
    // Each month read from ICU once, when first asked for (the whole table would cost the
    // window's start some 60 ms); 0 stands for a month not read yet.
    static std::mutex lock;
    static std::vector<DayNumber> starts(
        MonthIndex(kUmmAlQuraLastYear + 1, 1) - MonthIndex(kUmmAlQuraFirstYear, 1), 0);
    const std::lock_guard<std::mutex> hold(lock);
    DayNumber& start = starts[MonthIndex(year, month) - MonthIndex(kUmmAlQuraFirstYear, 1)];
    if (start == 0) start = IcuMonthStart(IcuIslamic::UmmAlQura, year, month);
    return start;
}

HijriCalendar::HijriCalendar(HijriRule rule, HijriPlace place, SightingCriterion criterion,
                             int anchorMonths)
    : rule_(rule),
      place_(rule == HijriRule::Computed ? kMecca : place),
      criterion_(criterion),
      anchorMonths_(anchorMonths < 1 ? 1 : anchorMonths) {}

HijriRule HijriCalendar::RuleOfYear(int year) const {
    if (rule_ == HijriRule::UmmAlQura && !InUmmAlQuraTable(year)) return HijriRule::Civil;
    return rule_;
}

DayNumber HijriCalendar::StartOfIndex(int index) {
    const HijriDate month = MonthOfIndex(index);
    switch (rule_) {
        case HijriRule::Civil:
            return TabularDayNumber(month, HijriEpoch::Civil);
        case HijriRule::Astronomical:
            return TabularDayNumber(month, HijriEpoch::Astronomical);
        case HijriRule::UmmAlQura: {
            const std::optional<DayNumber> start = UmmAlQuraMonthStart(month.year, month.month);
            return start ? *start : TabularDayNumber(month, HijriEpoch::Civil);
        }
        case HijriRule::Computed:
        case HijriRule::Sighting:
            return ChainStart(index);
    }
    return 0;
}

DayNumber HijriCalendar::ChainStart(int index) {
    if (const auto found = starts_.find(index); found != starts_.end()) return found->second;
    DayNumber previous;
    if (const auto found = starts_.find(index - 1); found != starts_.end()) {
        previous = found->second;
    } else {
        // A new chain: from the tabular calendar some months back, carried forward.
        previous = TabularDayNumber(MonthOfIndex(index - anchorMonths_), HijriEpoch::Civil);
        for (int k = index - anchorMonths_ + 1; k < index; ++k) {
            const DayNumber day29 = previous + 28;
            const MonthEvening m = EveningOfThe29th(day29, place_);
            previous = RuleBegins(rule_, m.evening, criterion_) ? day29 + 1 : day29 + 2;
        }
    }
    const DayNumber day29 = previous + 28;
    const MonthEvening m = EveningOfThe29th(day29, place_);
    const DayNumber start = RuleBegins(rule_, m.evening, criterion_) ? day29 + 1 : day29 + 2;
    starts_.emplace(index - 1, previous);
    starts_.emplace(index, start);
    return start;
}

DayNumber HijriCalendar::MonthStart(int year, int month) {
    return StartOfIndex(MonthIndex(year, month));
}

int HijriCalendar::MonthLength(int year, int month) {
    const int index = MonthIndex(year, month);
    return static_cast<int>(StartOfIndex(index + 1) - StartOfIndex(index));
}

HijriDay HijriCalendar::DateOf(DayNumber day) {
    // The tabular month is within a day or two of the rule's: look around it.
    const HijriDate guess = TabularDateOf(day, HijriEpoch::Civil);
    int index = MonthIndex(guess.year, guess.month);
    while (StartOfIndex(index) > day) --index;
    while (StartOfIndex(index + 1) <= day) ++index;
    HijriDate date = MonthOfIndex(index);
    date.day = static_cast<int>(day - StartOfIndex(index)) + 1;
    return {date, RuleOfYear(date.year)};
}

HijriDay HijriCalendar::DateOf(const CivilDay& date) {
    return DateOf(zerin::DayNumberOf(date).value_or(0));
}

std::optional<DayNumber> HijriCalendar::DayNumberOf(const HijriDate& date) {
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1) return std::nullopt;
    if (date.day > MonthLength(date.year, date.month)) return std::nullopt;
    return MonthStart(date.year, date.month) + date.day - 1;
}

MonthEvening HijriCalendar::EveningBefore(int year, int month) {
    const int index = MonthIndex(year, month);
    MonthEvening m = EveningOfThe29th(StartOfIndex(index - 1) + 28, place_);
    m.begins = RuleBegins(rule_, m.evening, criterion_);
    return m;
}

}  // namespace zerin
