// The Islamic calendars of ICU (International Components for Unicode): Umm al-Qura, the
// official calendar of Saudi Arabia, from ICU's own table, and ICU's two tabular
// calendars, against which the program's own is held.
#pragma once

#include "hijri/Hijri.h"

namespace zerin {

enum class IcuIslamic {
    UmmAlQura,  // "islamic-umalqura"
    Civil,      // "islamic-civil": tabular, civil epoch
    Tbla,       // "islamic-tbla": tabular, astronomical epoch
};

// The years of ICU's Umm al-Qura table. Outside them ICU gives the tabular calendar of
// the civil epoch under the Umm al-Qura name, without a word: the program names it.
inline constexpr int kUmmAlQuraFirstYear = 1300, kUmmAlQuraLastYear = 1600;

/*
 * IcuMonthStart: the first day of a Hijri month by one of ICU's calendars.
 *
 *   kind         the calendar
 *   year, month  the Hijri month (month 1..12)
 *
 * Returned: the day number of day 1 of the month. Throws CalcError when ICU cannot make
 * the calendar (its data missing).
 */
DayNumber IcuMonthStart(IcuIslamic kind, int year, int month);

// The Hijri date of a day number by one of ICU's calendars.
HijriDate IcuDateOf(IcuIslamic kind, DayNumber day);

}  // namespace zerin
