// Civil dates and instants, one vocabulary for the whole program: a civil date and time
// (Civil) and its seconds since 1970 (Seconds), a civil day (CivilDay) and its day number
// (DayNumber), the Julian day of each, the weekday, and the reading of a typed date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zerin {

// ------------------------------------------------------------------ instants as seconds

// Seconds since 1970-01-01 00:00:00 of some clock (Greenwich or local), in the Gregorian
// calendar (also before its reform: the tables' proleptic calendar).
using Seconds = std::int64_t;
inline constexpr Seconds kHour = 3600, kDay = 86400;

// The Julian day of 1970-01-01 00:00 UT, where the seconds start.
inline constexpr double kUnixEpochJJ = 2440587.5;

struct Civil {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

// a / b rounded toward minus infinity.
Seconds FloorDiv(Seconds a, Seconds b);

Civil CivilOf(Seconds seconds);
Seconds SecondsOf(const Civil& civil);
// "2005-06-17" and "2005-06-17T06:30:00" (or with a blank for the T).
std::string DateText(const Civil& civil);
std::string DateTimeText(const Civil& civil, char separator);

// Julian day of an instant (seconds since 1970 UT), and back to the nearest second.
double JulianDayOfInstant(Seconds utc);
Seconds SecondsOfJulianDay(double JJ);

// A zone of whole hours in the program's sign (one hour ahead of Greenwich is -1): from
// -14 (the Line Islands) to 12 (Baker Island).
inline constexpr int kFirstZone = -14, kLastZone = 12;
constexpr bool IsZoneHours(int zone) {
    return zone >= kFirstZone && zone <= kLastZone;
}

// ------------------------------------------------------------------ days as numbers

// A day number is the Julian day number of a civil day: the Julian day of its noon
// (2451545 is 1 January 2000). Civil days are on the Julian calendar up to 4 October 1582
// and on the Gregorian one from 15 October 1582, as the reports' Julian days.
using DayNumber = long;

struct CivilDay {
    int year = 0, month = 0, day = 0;
    bool operator==(const CivilDay&) const = default;
};

/*
 * DayNumberOf: the day number of a civil date.
 *
 *   date  year (1 or later), month 1..12, day of the month
 *
 * Returned: the Julian day of the date's noon, by the program's Julian day routine
 * (JulianDayOf); none for a date that does not exist: day 31 of a 30-day month, 29
 * February of a common year (every fourth year is a leap year before the reform, the
 * Gregorian rule after it), a day of 5..14 October 1582, a year before 1.
 */
std::optional<DayNumber> DayNumberOf(const CivilDay& date);

// The civil date of a day number (CalendarDateOf at its noon).
CivilDay CivilDayOf(DayNumber day);

// 0 Sunday, 1 Monday ... 6 Saturday: of a day number, and of a date of the tables'
// (proleptic Gregorian) calendar.
int WeekdayOf(DayNumber day);
int WeekdayOf(const Civil& date);

// ------------------------------------------------------------------ typed dates

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// How a typed date may be written.
struct DateShape {
    // false: exactly YYYY-MM-DD; true: 1 to 4 digits of year, 1 or 2 of month and day
    // ("622-7-16").
    bool looseDigits = false;
    bool withDay = true;     // false: a month, YYYY-MM
    bool allowTime = false;  // THH:MM or THH:MM:SS (or a blank for the T) may follow
};

/*
 * ReadDate: the numbers of a typed date, as its shape allows.
 *
 *   text   the user's text
 *   shape  how it may be written
 *   date   set to the year, month, day (1 without a day) and time read (0 without one)
 *
 * Returned: false when the text is not of the shape (a sign, a letter, a part missing or
 * too long, a time of 24:00 or beyond, 60 minutes or seconds); whether the date exists
 * is the caller's matter (its calendar).
 */
bool ReadDate(const std::string& text, const DateShape& shape, Civil& date);

}  // namespace zerin
