#include "ZoneClock.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "TimeZoneDatabase.h"
#include "report/Echo.h"

namespace zerin::services {

namespace {

std::string TwoDigits(int n) {
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// The clock of --zone and --summer.
class FixedZoneClock : public ZoneClock {
  public:
    FixedZoneClock(int zone, int summer) : offset_{-zone * kHour, summer * kHour} {}
    ClockOffset At(Seconds) const override { return offset_; }
    bool SkipsDate(const Civil&) const override { return false; }  // one offset: every date

  private:
    ClockOffset offset_;
};

// The folder of the compiled time-zone database, where date/tz reads it too.
constexpr const char* kZoneFolder = "/usr/share/zoneinfo";

// The last line of a compiled zone file: the POSIX TZ string of the rule that follows the file's
// list of changes ("CET-1CEST,M3.5.0,M10.5.0/3"); empty when there is none.
std::string RuleAfterTheList(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (!file || size < 2) return "";
    const std::streamoff tail = std::min<std::streamoff>(size, 512);
    std::string text(static_cast<std::size_t>(tail), '\0');
    file.seekg(size - tail);
    if (!file.read(text.data(), tail) || text.back() != '\n') return "";
    const std::size_t start = text.rfind('\n', text.size() - 2);
    if (start == std::string::npos) return "";
    return text.substr(start + 1, text.size() - start - 2);
}

// The clock of a zone of the time-zone database. The compiled files list the zone's changes up to
// some year (2037 on Debian) and end with the rule that follows them: date/tz reads the list, and
// the rule, when it has summer time, is read by its POSIX zone. A rule it cannot read (a few
// zones change at negative hours, "M3.5.0/-1") leaves the clock knowing instants up to the start
// of the list's last period.
class DatabaseClock : public ZoneClock {
  public:
    DatabaseClock(const date::time_zone& zone, const std::string& rule)
        : zone_(zone), listEnd_(zone.get_info(date::sys_days{date::year::max() / 1 / 1}).begin) {
        if (rule.find(',') == std::string::npos) return;  // no summer time after the list
        try {
            rule_.emplace(rule);
        } catch (const std::exception&) {
            knownUntil_ = listEnd_.time_since_epoch().count();
        }
    }

    ClockOffset At(Seconds utc) const override {
        const date::sys_info info = Info(utc);
        const Seconds total = info.offset.count();
        if (info.save == std::chrono::minutes{0}) return {total, 0};
        const Seconds standard = IsFromRule(utc) ? total - std::chrono::seconds(info.save).count()
                                                 : StandardAround(info, utc);
        return {standard, total - standard};
    }

    std::optional<Seconds> KnownUntil() const override { return knownUntil_; }

  private:
    bool IsFromRule(Seconds utc) const {
        return rule_ && date::sys_seconds{std::chrono::seconds{utc}} >= listEnd_;
    }

    date::sys_info Info(Seconds utc) const {
        const date::sys_seconds t{std::chrono::seconds{utc}};
        return IsFromRule(utc) ? rule_->get_info(t) : zone_.get_info(t);
    }

    // The list marks summer time without its amount: the standard offset around a period of
    // summer time is that of the nearest period without it, remembered for the period.
    Seconds StandardAround(const date::sys_info& summer, Seconds utc) const {
        if (cache_.valid && cache_.begin == summer.begin && cache_.end == summer.end)
            return cache_.standard;
        Seconds standard = summer.offset.count();
        // The nearest period whose offset lies closest to the summer clock's: a zone that changed
        // its standard time across the date line around a summer (Pacific/Apia, 2011) has periods
        // a day apart on either side, and the summer belongs to the one an hour away.
        std::optional<std::pair<Seconds, Seconds>> best;  // (offset apart, distance in time)
        const auto consider = [&](const date::sys_info& info, Seconds distance) {
            if (info.save != std::chrono::minutes{0}) return false;
            const std::pair<Seconds, Seconds> rank{
                std::abs(info.offset.count() - summer.offset.count()), distance};
            if (!best || rank < *best) {
                standard = info.offset.count();
                best = rank;
            }
            return true;
        };
        date::sys_info before = summer, after = summer;
        for (int k = 0; k < kSearchedPeriods; ++k) {
            const date::sys_info earlier = Info(before.begin.time_since_epoch().count() - 1);
            if (earlier.begin >= before.begin) break;
            before = earlier;
            if (consider(before, utc - before.end.time_since_epoch().count())) break;
        }
        for (int k = 0; k < kSearchedPeriods; ++k) {
            const date::sys_info later = Info(after.end.time_since_epoch().count());
            if (later.begin <= after.begin) break;
            after = later;
            if (consider(after, after.begin.time_since_epoch().count() - utc)) break;
        }
        cache_ = {true, summer.begin, summer.end, standard};
        return standard;
    }

    static constexpr int kSearchedPeriods = 8;
    const date::time_zone& zone_;
    date::sys_seconds listEnd_;  // the start of the list's last period
    std::optional<Posix::time_zone> rule_;
    std::optional<Seconds> knownUntil_;
    struct Cache {
        bool valid = false;
        date::sys_seconds begin, end;
        Seconds standard = 0;
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

}  // namespace

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

namespace {

// The Greenwich instant of a reading of a clock whose offset at each instant `offset` gives.
// The offsets in force a day before and a day after the reading are the two sides of any
// change near it (a zone never changes twice within two days). A reading that the change
// repeats is its first occurrence; one that the change skips is read with the offset before
// the change, so that it falls as far after the change as it lies after the skipped hour's
// start (02:30 on the night the clock goes from 02:00 to 03:00 is 03:30), as the time-zone
// libraries of Python and Java read it.
template <typename Offset>
Seconds GreenwichOf(Seconds reading, Offset offset) {
    const Seconds before = offset(reading - kDay), after = offset(reading + kDay);
    if (before == after) return reading - before;  // no change near the reading
    const bool fitsBefore = offset(reading - before) == before;
    const bool fitsAfter = offset(reading - after) == after;
    return reading - (fitsBefore || !fitsAfter ? before : after);
}

}  // namespace

Seconds ZoneClock::FromLocal(Seconds local) const {
    return GreenwichOf(local, [this](Seconds utc) { return At(utc).Total(); });
}

Seconds ZoneClock::FromStandard(Seconds standard) const {
    return GreenwichOf(standard, [this](Seconds utc) { return At(utc).standard; });
}

bool ZoneClock::SkipsDate(const Civil& date) const {
    // The day's midnight read on the clock falls on another date only when the whole day is
    // skipped (a skipped hour at midnight is read as the hour after it, the same date).
    const Civil midnight{date.year, date.month, date.day};
    const Seconds utc = FromLocal(SecondsOf(midnight));
    const Civil shown = CivilOf(utc + At(utc).Total());
    return shown.year != date.year || shown.month != date.month || shown.day != date.day;
}

std::unique_ptr<ZoneClock> FixedClock(int zone, int summer) {
    return std::make_unique<FixedZoneClock>(zone, summer);
}

std::unique_ptr<ZoneClock> NamedClock(const std::string& name, std::string& error) {
    const date::time_zone* zone = nullptr;
    try {
        if (ZoneNameIsPlain(name)) zone = date::locate_zone(name);
    } catch (const std::exception&) {
        // Not in the database, or no database at all: told apart below.
    }
    if (!zone) {
        struct stat folder {};
        if (stat(kZoneFolder, &folder) != 0)
            error = std::string("no time-zone database in ") + kZoneFolder +
                    " (Debian package tzdata): use --zone and --summer instead of --tz";
        else
            error = "unknown time zone '" + Echo(name) +
                    "': give a name of the time-zone database, such as Africa/Casablanca or "
                    "Asia/Kolkata";
        return nullptr;
    }
    const std::string rule = RuleAfterTheList(std::string(kZoneFolder) + "/" + zone->name());
    return std::make_unique<DatabaseClock>(*zone, rule);
}

}  // namespace zerin::services
