#include "hijri/Hijri.h"

#include <cmath>
#include <cstdio>

#include "time/JulianDay.h"

namespace zerin {

namespace {

const char* const kMonthNames[12] = {"محرم",         "صفر",          "ربيع الأول", "ربيع الآخر",
                                     "جمادى الأولى", "جمادى الآخرة", "رجب",        "شعبان",
                                     "رمضان",        "شوال",         "ذو القعدة",  "ذو الحجة"};

const char* const kWeekdays[7] = {"الأحد",  "الاثنين", "الثلاثاء", "الأربعاء",
                                  "الخميس", "الجمعة",  "السبت"};

const char* const kGregorianMonths[12] = {"يناير",  "فبراير", "مارس",   "أبريل",
                                          "مايو",   "يونيو",  "يوليو",  "أغسطس",
                                          "سبتمبر", "أكتوبر", "نوفمبر", "ديسمبر"};

}  // namespace

const char* WeekdayName(int weekday) {
    return weekday >= 0 && weekday < 7 ? kWeekdays[weekday] : "";
}

const char* GregorianMonthName(int month) {
    return month >= 1 && month <= 12 ? kGregorianMonths[month - 1] : "";
}

std::string IsoDateText(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string IsoDateText(const CivilDay& date) {
    return IsoDateText(date.year, date.month, date.day);
}

std::string IsoDateText(const HijriDate& date) {
    return IsoDateText(date.year, date.month, date.day);
}

const char* HijriMonthName(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[month - 1] : "";
}

std::string HijriDateText(const HijriDate& date) {
    return std::to_string(date.day) + " " + HijriMonthName(date.month) + " " +
           std::to_string(date.year) + " هـ";
}

DayNumber EpochDay(HijriEpoch epoch) {
    return epoch == HijriEpoch::Civil ? kCivilEpochDay : kAstronomicalEpochDay;
}

bool TabularLeapYear(int year) {
    const long r = (14 + 11L * year) - 30 * FloorDiv(14 + 11L * year, 30);
    return r < 11;
}

long TabularLeapYearsBefore(int year) {
    return FloorDiv(3 + 11L * year, 30);
}

int TabularDaysBeforeMonth(int month) {
    return (59 * (month - 1) + 1) / 2;
}

int TabularMonthLength(int year, int month) {
    if (month % 2 == 1) return 30;
    return month == 12 && TabularLeapYear(year) ? 30 : 29;
}

DayNumber TabularDayNumber(const HijriDate& date, HijriEpoch epoch) {
    return EpochDay(epoch) + 354L * (date.year - 1) + TabularLeapYearsBefore(date.year) +
           TabularDaysBeforeMonth(date.month) + date.day - 1;
}

HijriDate TabularDateOf(DayNumber day, HijriEpoch epoch) {
    const long elapsed = day - EpochDay(epoch);
    // The mean year is 10631 / 30 days; the estimate is then set right by the year starts.
    int year = static_cast<int>(FloorDiv(30 * elapsed + 10646, 10631));
    while (TabularDayNumber({year + 1, 1, 1}, epoch) <= day) ++year;
    while (TabularDayNumber({year, 1, 1}, epoch) > day) --year;
    const long inYear = day - TabularDayNumber({year, 1, 1}, epoch);
    int month = static_cast<int>(inYear * 2 / 59) + 1;
    if (month > 12) month = 12;
    while (month > 1 && TabularDaysBeforeMonth(month) > inYear) --month;
    while (month < 12 && TabularDaysBeforeMonth(month + 1) <= inYear) ++month;
    return {year, month, static_cast<int>(inYear - TabularDaysBeforeMonth(month)) + 1};
}

HijriDate MonthOfIndex(int index) {
    const int year = static_cast<int>(FloorDiv(index, 12));
    return {year, index - 12 * year + 1, 1};
}

}  // namespace zerin
