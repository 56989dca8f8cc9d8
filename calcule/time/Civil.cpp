#include "time/Civil.h"

#include <chrono>
#include <cmath>

#include "time/JulianDay.h"

namespace zerin {

namespace {

std::string TwoDigits(int n) {
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

}  // namespace

Seconds FloorDiv(Seconds a, Seconds b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

Civil CivilOf(Seconds seconds) {
    using namespace std::chrono;
    const Seconds days = FloorDiv(seconds, kDay);
    const Seconds rest = seconds - days * kDay;
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    return {static_cast<int>(ymd.year()),          static_cast<int>(unsigned(ymd.month())),
            static_cast<int>(unsigned(ymd.day())), static_cast<int>(rest / kHour),
            static_cast<int>(rest % kHour / 60),   static_cast<int>(rest % 60)};
}

Seconds SecondsOf(const Civil& c) {
    using namespace std::chrono;
    const sys_days days{year_month_day{year{c.year}, month{static_cast<unsigned>(c.month)},
                                       day{static_cast<unsigned>(c.day)}}};
    return days.time_since_epoch().count() * kDay + c.hour * kHour + c.minute * 60 + c.second;
}

std::string DateText(const Civil& c) {
    // Written by hand: a timetable writes one per row.
    const int y = c.year;
    const char text[10] = {static_cast<char>('0' + y / 1000),
                           static_cast<char>('0' + y / 100 % 10),
                           static_cast<char>('0' + y / 10 % 10),
                           static_cast<char>('0' + y % 10),
                           '-',
                           static_cast<char>('0' + c.month / 10),
                           static_cast<char>('0' + c.month % 10),
                           '-',
                           static_cast<char>('0' + c.day / 10),
                           static_cast<char>('0' + c.day % 10)};
    return std::string(text, sizeof text);
}

std::string DateTimeText(const Civil& c, char separator) {
    std::string text = DateText(c);
    text += separator;
    text += TwoDigits(c.hour);
    text += ':';
    text += TwoDigits(c.minute);
    text += ':';
    text += TwoDigits(c.second);
    return text;
}

double JulianDayOfInstant(Seconds utc) {
    return static_cast<double>(utc) / kDay + kUnixEpochJJ;
}

Seconds SecondsOfJulianDay(double JJ) {
    return static_cast<Seconds>(std::llround((JJ - kUnixEpochJJ) * 86400));
}

std::optional<DayNumber> DayNumberOf(const CivilDay& date) {
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31)
        return std::nullopt;
    const double JJ = JulianDay(date.year, date.month, date.day);
    if (!std::isfinite(JJ)) return std::nullopt;  // the days the reform dropped
    const DayNumber day = std::lround(JJ + 0.5);
    // A day beyond the month's length runs into the next month: not the date given.
    if (CivilDayOf(day) != date) return std::nullopt;
    return day;
}

CivilDay CivilDayOf(DayNumber day) {
    const CalendarDate d = CalendarDateOf(static_cast<double>(day));
    return {static_cast<int>(d.year), static_cast<int>(d.month),
            static_cast<int>(std::floor(d.day))};
}

int WeekdayOf(DayNumber day) {
    return static_cast<int>(day + 1 - 7 * FloorDiv(day + 1, 7));
}

int WeekdayOf(const Civil& date) {
    constexpr auto kUnixEpochDay = static_cast<DayNumber>(kUnixEpochJJ + 0.5);
    return WeekdayOf(static_cast<DayNumber>(FloorDiv(SecondsOf(date), kDay)) + kUnixEpochDay);
}

namespace {

// `digits` digits at `from` as a number; false when one is missing or not a digit.
bool ReadInt(const std::string& text, std::size_t from, std::size_t digits, int& value) {
    if (from + digits > text.size()) return false;
    value = 0;
    for (std::size_t k = from; k < from + digits; ++k) {
        if (!IsDigit(text[k])) return false;
        value = value * 10 + (text[k] - '0');
    }
    return true;
}

// Parts of 1 to `most` digits (the first), 1 or 2 (the others), between hyphens.
bool ReadLooseDate(const std::string& text, int wanted, int (&parts)[3]) {
    int counts[3] = {0, 0, 0};
    int part = 0;
    for (const char c : text) {
        if (c == '-') {
            if (++part >= wanted) return false;
            continue;
        }
        if (!IsDigit(c)) return false;
        parts[part] = parts[part] * 10 + (c - '0');
        ++counts[part];
    }
    if (part != wanted - 1 || counts[0] < 1 || counts[0] > 4) return false;
    for (int k = 1; k < wanted; ++k)
        if (counts[k] < 1 || counts[k] > 2) return false;
    return true;
}

// "YYYY-MM-DD", or "YYYY-MM" without the day.
bool ReadExactDate(const std::string& text, bool withDay, int (&parts)[3]) {
    return text.size() == (withDay ? 10u : 7u) && ReadInt(text, 0, 4, parts[0]) && text[4] == '-' &&
           ReadInt(text, 5, 2, parts[1]) &&
           (!withDay || (text[7] == '-' && ReadInt(text, 8, 2, parts[2])));
}

// "Thh:mm" or "Thh:mm:ss", or with a blank for the T.
bool ReadTime(const std::string& text, Civil& c) {
    return (text.size() == 6 || (text.size() == 9 && text[6] == ':')) && text[3] == ':' &&
           ReadInt(text, 1, 2, c.hour) && ReadInt(text, 4, 2, c.minute) &&
           (text.size() == 6 || ReadInt(text, 7, 2, c.second)) && c.hour <= 23 && c.minute <= 59 &&
           c.second <= 59;
}

}  // namespace

bool ReadDate(const std::string& text, const DateShape& shape, Civil& date) {
    date = Civil{};
    const std::size_t split = shape.allowTime ? text.find_first_of("T ") : std::string::npos;
    const std::string day = text.substr(0, split);
    int parts[3] = {0, 0, 0};
    if (!(shape.looseDigits ? ReadLooseDate(day, shape.withDay ? 3 : 2, parts)
                            : ReadExactDate(day, shape.withDay, parts)))
        return false;
    date.year = parts[0];
    date.month = parts[1];
    date.day = shape.withDay ? parts[2] : 1;
    return split == std::string::npos || ReadTime(text.substr(split), date);
}

}  // namespace zerin
