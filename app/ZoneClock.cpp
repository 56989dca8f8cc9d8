#include "ZoneClock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace zerin::cli {

namespace {

std::string TwoDigits(int n) {
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// The clock of --zone and --summer.
class FixedZoneClock : public ZoneClock {
  public:
    FixedZoneClock(int zone, int summer) : offset_{-zone * kHour, summer * kHour} {}
    ClockOffset At(Seconds) const override { return offset_; }

  private:
    ClockOffset offset_;
};

// The clock of a zone of the time-zone database, through localtime_r with TZ set.
class DatabaseClock : public ZoneClock {
  public:
    explicit DatabaseClock(const std::string& path) {
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
        setenv("TZ", (":" + path).c_str(), 1);
        tzset();
    }
    ~DatabaseClock() override {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    DatabaseClock(const DatabaseClock&) = delete;
    DatabaseClock& operator=(const DatabaseClock&) = delete;

    ClockOffset At(Seconds utc) const override {
        bool summer = false;
        const Seconds total = Local(utc, summer);
        if (!summer) return {total, 0};
        const Seconds standard = StandardNear(utc, total);
        return {standard, total - standard};
    }

  private:
    // The clock's offset at utc, and whether summer time is in force.
    static Seconds Local(Seconds utc, bool& summer) {
        const std::time_t t = static_cast<std::time_t>(utc);
        std::tm local{};
        if (!localtime_r(&t, &local)) {
            summer = false;
            return 0;
        }
        summer = local.tm_isdst > 0;
        return local.tm_gmtoff;
    }

    // The standard offset in force around a summer-time instant: that of the nearest day without
    // summer time within a year, remembered for the rest of the same summer.
    Seconds StandardNear(Seconds utc, Seconds total) const {
        if (cache_.valid && cache_.total == total && utc >= cache_.from && utc <= cache_.to)
            return cache_.standard;
        Seconds standard = total;
        for (Seconds d = 1; d <= 400; ++d) {
            bool summer = true;
            Seconds found = Local(utc - d * kDay, summer);
            if (summer) found = Local(utc + d * kDay, summer);
            if (!summer) {
                standard = found;
                break;
            }
        }
        cache_ = {true, total, standard, utc - 100 * kDay, utc + 100 * kDay};
        return standard;
    }

    std::optional<std::string> saved_;
    struct Cache {
        bool valid = false;
        Seconds total = 0, standard = 0, from = 0, to = 0;
    };
    mutable Cache cache_;
};

bool ZoneNameIsPlain(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find("..") != std::string::npos) return false;
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '/' || c == '_' || c == '-' || c == '+';
        if (!ok) return false;
    }
    return true;
}

// The database file exists and is a compiled zone ("TZif").
bool IsZoneFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char magic[4] = {};
    const bool ok = std::fread(magic, 1, 4, f) == 4 && std::string(magic, 4) == "TZif";
    std::fclose(f);
    return ok;
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

std::string OffsetText(Seconds east) {
    const Seconds a = east < 0 ? -east : east;
    std::string text(1, east < 0 ? '-' : '+');
    text += TwoDigits(static_cast<int>(a / kHour));
    text += ':';
    text += TwoDigits(static_cast<int>(a % kHour / 60));
    if (a % 60 != 0) {
        text += ':';
        text += TwoDigits(static_cast<int>(a % 60));
    }
    return text;
}

Seconds ZoneClock::FromLocal(Seconds local) const {
    const Seconds guess = local - At(local).Total();
    Seconds utc = local - At(guess).Total();
    if (At(utc).Total() != At(guess).Total()) utc = local - At(utc).Total();
    return utc;
}

Seconds ZoneClock::FromStandard(Seconds standard) const {
    const Seconds guess = standard - At(standard).standard;
    Seconds utc = standard - At(guess).standard;
    if (At(utc).standard != At(guess).standard) utc = standard - At(utc).standard;
    return utc;
}

std::unique_ptr<ZoneClock> FixedClock(int zone, int summer) {
    return std::make_unique<FixedZoneClock>(zone, summer);
}

std::unique_ptr<ZoneClock> NamedClock(const std::string& name, std::string& error) {
    const char* dir = std::getenv("TZDIR");
    const std::string path = std::string(dir && *dir ? dir : "/usr/share/zoneinfo") + "/" + name;
    if (!ZoneNameIsPlain(name) || !IsZoneFile(path)) {
        error = "unknown time zone '" + name +
                "': give a name of the time-zone database, such as "
                "Africa/Casablanca or "
                "Asia/Kolkata";
        return nullptr;
    }
    return std::make_unique<DatabaseClock>(path);
}

}  // namespace zerin::cli
