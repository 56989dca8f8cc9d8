// The report of the start of one Hijri month: the tabular calendar's first guess, the
// Umm al-Qura rule computed at Mecca, the crescent's sighting at the user's place, ICU's
// official Umm al-Qura date, and where the rules disagree, every step with its value.
#pragma once

#include "hijri/HijriRules.h"
#include "report/Report.h"

namespace zerin {

struct MonthStarts {
    DayNumber civil = 0, astronomical = 0, ummAlQura = 0, computed = 0, sighting = 0;
    bool ummAlQuraFallback = false;  // outside ICU's table: the tabular civil start
};

/*
 * WriteMonthReport: appends the report of a month's start.
 *
 *   report     the report (its sinks decide what is written)
 *   year       Hijri year, 1 or later
 *   month      1..12
 *   place      the user's place and clock, for the sighting
 *   criterion  the sighting's criterion
 *
 * The report is not cleared first. Throws CalcError at a value that is not finite
 * (the report names it); an evening without sunset or moonset is said in words.
 */
void WriteMonthReport(Report& report, int year, int month, const HijriPlace& place,
                      SightingCriterion criterion);

// One line: the rules that give another first day than Umm al-Qura, and by how many days
// ("all the rules agree" when none does); in Arabic.
std::string DisagreementLine(const MonthStarts& starts);

}  // namespace zerin
