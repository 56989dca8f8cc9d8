#include "hijri/HijriIcu.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>
#include <mutex>

#include "math/Errors.h"

namespace zerin {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

// The locale of each kind, in the order of the enumeration.
const char* LocaleOf(IcuIslamic kind) {
    static constexpr const char* kLocales[] = {"@calendar=islamic-umalqura",
                                               "@calendar=islamic-civil", "@calendar=islamic-tbla"};
    return kLocales[static_cast<int>(kind)];
}

// One calendar of each kind, on Greenwich time, made on first use. An ICU calendar is
// not safe to share between threads: every use holds the lock.
std::mutex gLock;
std::unique_ptr<icu::Calendar> gCalendars[3];

icu::Calendar& CalendarOf(IcuIslamic kind) {
    std::unique_ptr<icu::Calendar>& calendar = gCalendars[static_cast<int>(kind)];
    if (!calendar) {
        UErrorCode status = U_ZERO_ERROR;
        calendar.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                     icu::Locale(LocaleOf(kind)), status));
        if (U_FAILURE(status) || !calendar) {
            calendar.reset();
            throw CalcError(std::string("ICU cannot make the calendar ") + LocaleOf(kind) + ": " +
                            u_errorName(status));
        }
    }
    return *calendar;
}

}  // namespace

DayNumber IcuMonthStart(IcuIslamic kind, int year, int month) {
    const std::lock_guard<std::mutex> hold(gLock);
    icu::Calendar& calendar = CalendarOf(kind);
    calendar.clear();
    calendar.set(year, month - 1, 1);
    UErrorCode status = U_ZERO_ERROR;
    const UDate midnight = calendar.getTime(status);
    if (U_FAILURE(status)) throw CalcError(std::string("ICU: ") + u_errorName(status));
    return std::lround(midnight / kMillisecondsPerDay + kUnixEpochJJ + 0.5);
}

HijriDate IcuDateOf(IcuIslamic kind, DayNumber day) {
    const std::lock_guard<std::mutex> hold(gLock);
    icu::Calendar& calendar = CalendarOf(kind);
    UErrorCode status = U_ZERO_ERROR;
    // Noon of the day, away from either midnight.
    calendar.setTime((static_cast<double>(day) - kUnixEpochJJ) * kMillisecondsPerDay, status);
    HijriDate date{calendar.get(UCAL_YEAR, status), calendar.get(UCAL_MONTH, status) + 1,
                   calendar.get(UCAL_DATE, status)};
    if (U_FAILURE(status)) throw CalcError(std::string("ICU: ") + u_errorName(status));
    return date;
}

}  // namespace zerin
