// The Hijri calendar's arithmetic: the tabular (arithmetical) calendar of the 30-year
// cycle, and the names of the months and weekdays. Days are day numbers (time/Civil.h).
#pragma once

#include <optional>
#include <string>

#include "time/Civil.h"

namespace zerin {

struct HijriDate {
    int year = 0, month = 0, day = 0;
    bool operator==(const HijriDate&) const = default;
};

// The last Hijri year whose months all begin by 9999-12-31, the program's last day: a Hijri
// date is shown only up to it, where its way back to the Gregorian calendar exists.
inline constexpr int kLastHijriYear = 9665;

// The Arabic name of a weekday (0 Sunday "الأحد" ... 6 Saturday "السبت").
const char* WeekdayName(int weekday);
// The Arabic name of a month of the Gregorian calendar (1 "يناير" ... 12 "ديسمبر").
const char* GregorianMonthName(int month);

// "YYYY-MM-DD", the year with at least four digits.
std::string IsoDateText(int year, int month, int day);
std::string IsoDateText(const CivilDay& date);
std::string IsoDateText(const HijriDate& date);

// The Arabic name of a Hijri month, 1 "محرم" ... 12 "ذو الحجة"; "" outside 1..12.
const char* HijriMonthName(int month);
// "1 رمضان 1446 هـ".
std::string HijriDateText(const HijriDate& date);

// --------------------------------------------------------------- the tabular calendar

// Where the tabular calendar's count of days starts: 1 Muharram 1 AH is Friday 16 July
// 622 (Julian) by the civil epoch, Thursday 15 July 622 by the astronomical one.
enum class HijriEpoch { Civil, Astronomical };
inline constexpr DayNumber kCivilEpochDay = 1948440;
inline constexpr DayNumber kAstronomicalEpochDay = 1948439;
DayNumber EpochDay(HijriEpoch epoch);

/*
 * TabularLeapYear: whether a year of the tabular calendar has 355 days.
 *
 *   year  Hijri year
 *
 * Returned: true for the years 2, 5, 7, 10, 13, 16, 18, 21, 24, 26 and 29 of each cycle
 * of 30 years, that is when (14 + 11 year) mod 30 < 11.
 *
 * Source: the Kuwaiti algorithm of the arithmetical Islamic calendar, as in
 * E. M. Reingold and N. Dershowitz, Calendrical Calculations (2018), chapter 7.
 */
bool TabularLeapYear(int year);

// The leap years before a year: Fix((3 + 11 year) / 30), rounded down for year < 0.
long TabularLeapYearsBefore(int year);
// The days of the months before a month, 30 and 29 alternately: Fix((59 (month - 1) + 1) / 2).
int TabularDaysBeforeMonth(int month);
// 30 for the odd months and for the twelfth of a leap year, 29 otherwise.
int TabularMonthLength(int year, int month);

/*
 * TabularDayNumber: the day number of a tabular Hijri date.
 *
 *   date   year, month 1..12, day 1..30 (not checked: day 30 of a 29-day month is the
 *          first of the next month)
 *   epoch  civil or astronomical
 *
 * Returned: epoch + 354 (year - 1) + TabularLeapYearsBefore(year)
 * + TabularDaysBeforeMonth(month) + day - 1.
 */
DayNumber TabularDayNumber(const HijriDate& date, HijriEpoch epoch);

// The tabular Hijri date of a day number (the inverse of TabularDayNumber); a year of 0
// or less for a day before the epoch.
HijriDate TabularDateOf(DayNumber day, HijriEpoch epoch);

// Months counted from 1 Muharram of year 0 (month index year * 12 + month - 1), and back.
inline int MonthIndex(int year, int month) {
    return year * 12 + month - 1;
}
HijriDate MonthOfIndex(int index);  // day 1

}  // namespace zerin
