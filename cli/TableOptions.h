// The options that `zerin times` and `zerin ephemeris` share: the place, the time zone, the output
// format and the language of the headers; and the reading of their dates.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FieldOptions.h"
#include "ZoneClock.h"
#include "time/Observer.h"

namespace zerin::cli {

enum class Format { Text, Csv, Json };
enum class Language { Arabic, English };

// How one axis of the place was given, to refuse options that contradict each other.
struct AxisOptions {
    std::string side;       // the first option that named a side: "--east", "--lon 3E"
    bool negative = false;  // the side it named: East (South)
    std::string whole;      // "--lon" ("--lat") when the angle was given whole
    std::string field;      // the first field option of the axis ("--lon-deg")
};

struct TableOptions {
    FieldOptions place;               // the report's place fields and flags
    AxisOptions lon, lat;             // how they were given
    std::optional<int> zone, summer;  // --zone, --summer (whole hours)
    std::optional<std::string> tz;    // --tz NAME
    Format format = Format::Text;
    std::optional<Language> language;  // --lang; the default depends on the format
};

// If args[k] is a shared option, consumes it (and its value) and returns true; sets error to a
// one-line message when its value is missing or wrong, or when it contradicts an earlier option.
// Field options of the date and time are refused: tables take their dates from --from and --to.
bool TakeTableOption(const std::vector<std::string>& args, std::size_t& k, TableOptions& options,
                     std::string& error);

// True for a field option of the date or the time (--year ... --second, alone or with "="), which
// the tables and the Hijri commands take in another form.
bool IsDateFieldOption(const std::string& arg);

// The place as the calculation takes it (degrees, West and North positive), or false with a
// message naming the option when a field's number is too large to compute with, or the place lies
// beyond 180 degrees of longitude or 90 of latitude.
using zerin::Place;
bool CheckPlace(const FieldOptions& place, Place& checked, std::string& error);

// The clock of the options: --tz, or --zone and --summer (default 0 and 0), whose UTC offset lies
// within -12:00..+14:00; null with a message otherwise.
std::unique_ptr<ZoneClock> MakeClock(const TableOptions& options, std::string& error);

// False with a message when the table's last instant lies beyond what the clock knows.
bool ClockKnows(const ZoneClock& clock, const TableOptions& options, Seconds lastUtc,
                std::string& error);

// "YYYY-MM-DD", with "THH:MM[:SS]" after it when time is allowed; a real date from 1582-10-15 (the
// Gregorian calendar) to 9999-12-31.
bool ParseDate(const std::string& text, bool allowTime, Civil& civil, std::string& error);

inline constexpr std::size_t kMaxRows = 1000000;

// The texts of --from, --to and --days as given.
struct DaySpanTexts {
    std::string from, to, days;
};

// If args[k] is --from, --to or --days, consumes it (and its value) and returns true; sets error
// when its value is missing.
bool TakeDaySpanOption(const std::vector<std::string>& args, std::size_t& k, DaySpanTexts& span,
                       std::string& error);

// The days of a table from --from and either --to or --days (at most kMaxRows, none past
// 9999-12-31): 0 with the first day and the count set, or the exit status of a refusal whose
// message is on err; `command` names the command in the messages.
int ReadDaySpan(const std::string& command, const DaySpanTexts& span, Civil& first,
                std::size_t& count, std::FILE* err);

// The language of the headers: the one asked for, else Arabic for the text table and English for
// CSV; JSON keys are always English.
Language HeaderLanguage(const TableOptions& options);

// Refuses a command line: its one-line message on err; returns the exit status, 2.
int Refuse(std::FILE* err, const std::string& what);

// Keeps a table's messages from the calculation: a value that cannot be computed shows as a
// missing cell, and the table says why at its end.
class TableMessenger : public Messenger {
  public:
    void critical(const Message& message) override { last = message.english; }
    std::string last;
};

// The help of both table commands and their shared options.
extern const char* const kTablesHelp;

}  // namespace zerin::cli
