// The local clock of a table: a fixed zone with its summer time, or a zone of the system's
// time-zone database, where each instant has its own offset.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "time/Civil.h"

namespace zerin::services {

// The core's civil dates and seconds (time/Civil.h), under the names the tables use.
using zerin::Civil;
using zerin::CivilOf;
using zerin::DateText;
using zerin::DateTimeText;
using zerin::JulianDayOfInstant;
using zerin::kDay;
using zerin::kHour;
using zerin::Seconds;
using zerin::SecondsOf;

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
