// Civil dates and times as seconds, and the local clock of a table: a fixed zone with its summer
// time, or a zone of the system's time-zone database, where each instant has its own offset.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zerin::services {

// Seconds since 1970-01-01 00:00:00 of some clock (Greenwich or local), in the Gregorian calendar.
using Seconds = std::int64_t;
inline constexpr Seconds kHour = 3600, kDay = 86400;

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

// The offset of a local clock at an instant, seconds East of Greenwich (the sign of the time-zone
// database, opposite to the program's zone): standard time, and the summer time on top of it.
struct ClockOffset {
    Seconds standard = 0, summer = 0;
    Seconds Total() const { return standard + summer; }
};

// "+05:30", "-03:00", "+00:09:21" for the offset's total.
std::string OffsetText(Seconds eastOfGreenwich);

class ZoneClock {
  public:
    virtual ~ZoneClock() = default;
    virtual ClockOffset At(Seconds utc) const = 0;
    // The last instant whose offset the clock knows; none when it knows every instant.
    virtual std::optional<Seconds> KnownUntil() const { return std::nullopt; }

    // The Greenwich instant of a reading of the local clock (summer time included), and of a
    // reading of its standard time. A reading that a change of the clock repeats is its first
    // occurrence; one that it skips is read with the offset before the change (02:30 on the
    // night the clock goes from 02:00 to 03:00 is 03:30).
    Seconds FromLocal(Seconds local) const;
    Seconds FromStandard(Seconds standard) const;
    // True when the clock never shows the date: a zone that moved across the date line skips a
    // day (Pacific/Apia, 2011-12-30).
    virtual bool SkipsDate(const Civil& date) const;
};

// --zone and --summer in whole hours, in the program's sign convention (East
// negative).
std::unique_ptr<ZoneClock> FixedClock(int zone, int summer);

// A zone of the system's time-zone database ("Asia/Kolkata"), read with Howard Hinnant's date/tz;
// no process-wide state is touched. Returns null and sets error to a one-line message for a name
// the database does not have, or when there is no database.
std::unique_ptr<ZoneClock> NamedClock(const std::string& name, std::string& error);

}  // namespace zerin::services
