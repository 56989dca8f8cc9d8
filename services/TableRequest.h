// What every table is asked for: the place, its clock (a zone of whole hours with its summer time,
// or a zone of the time-zone database), the output format and the language of the headers.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "PlaceInput.h"
#include "ZoneClock.h"

namespace zerin::services {

enum class Format { Text, Csv, Json };
enum class Language { Arabic, English };

struct TableOptions {
    FieldOptions place;               // the report's place fields and flags
    std::optional<int> zone, summer;  // whole hours, East negative (default 0 and 0)
    std::optional<std::string> tz;    // a zone of the time-zone database instead
    Format format = Format::Text;
    std::optional<Language> language;  // the default depends on the format
};

// The clock of the options: the named zone, or the zone and summer time (default 0 and 0), whose
// UTC offset lies within -12:00..+14:00; null with a message otherwise.
std::unique_ptr<ZoneClock> MakeClock(const TableOptions& options, std::string& error);

// False with a message when the table's last instant lies beyond what the clock knows.
bool ClockKnows(const ZoneClock& clock, const TableOptions& options, Seconds lastUtc,
                std::string& error);

inline constexpr std::size_t kMaxRows = 1000000;

// How the reports' calculation reads an instant of a table's clock: on the clock of the whole
// hours of the zone's standard time and of its summer time at that instant (12:00 at +05:30 is
// entered as 11:30 at zone -5, the hours East of Greenwich truncated toward zero).
struct CalculationClock {
    Seconds zone = 0, summer = 0;  // whole hours East of Greenwich (the database's sign)
    Civil entered;                 // the reading of that clock at the instant
};
CalculationClock CalculationClockAt(const ZoneClock& clock, Seconds utc);

// The reports' observer of that reading at the place (CheckPlace's degrees), or the refusal.
Reading<Observer> ObserverOf(const Place& place, const CalculationClock& reading);

// The language of the headers: the one asked for, else Arabic for the text table and English for
// CSV; JSON keys are always English.
Language HeaderLanguage(const TableOptions& options);

}  // namespace zerin::services
