// The options that `zerin times` and `zerin ephemeris` share: the place, the time zone, the output
// format and the language of the headers; and the reading of their dates.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FieldOptions.h"
#include "ModCalcule.h"
#include "ZoneClock.h"

namespace zerin::cli {

enum class Format { Text, Csv, Json };
enum class Language { Arabic, English };

struct TableOptions {
    FieldOptions place;               // the report's place fields and flags
    std::optional<int> zone, summer;  // --zone, --summer (whole hours)
    std::string tz;                   // --tz NAME
    Format format = Format::Text;
    std::optional<Language> language;  // --lang; the default depends on the format
};

// If args[k] is a shared option, consumes it (and its value) and returns true; sets error to a
// one-line message when its value is missing or wrong. Field options of the date and time are
// refused: tables take their dates from --from and --to.
bool TakeTableOption(const std::vector<std::string>& args, std::size_t& k, TableOptions& options,
                     std::string& error);

// The clock of the options: --tz, or --zone and --summer (default 0 and 0).
std::unique_ptr<ZoneClock> MakeClock(const TableOptions& options, std::string& error);

// "YYYY-MM-DD", with "THH:MM[:SS]" after it when time is allowed; a real date from 1582-10-15 (the
// Gregorian calendar) to 9999-12-31.
bool ParseDate(const std::string& text, bool allowTime, Civil& civil, std::string& error);

inline constexpr std::size_t kMaxRows = 1000000;

// The language of the headers: the one asked for, else Arabic for the text table and English for
// CSV; JSON keys are always English.
Language HeaderLanguage(const TableOptions& options);

// Refuses a command line: its one-line message on err; returns the exit status, 2.
int Refuse(std::FILE* err, const std::string& what);

// Keeps a table's messages to itself: a value that cannot be computed shows as a missing cell
// instead.
class QuietMessenger : public Messenger {
  public:
    void critical(const Message&) override {}
};

// The module as the tables use it: the place's fields and flags, the report's sinks (the text off),
// and the Sun's times each on its own (no high-latitude stop).
void PrepareForTable(ModCalcule& calc, const FieldOptions& place, unsigned sinks);

// Writes a reading of the clock into the date and time fields.
void EnterClockReading(FieldTexts& fields, const Civil& reading);

// The help of both table commands and their shared options.
extern const char* const kTablesHelp;

}  // namespace zerin::cli
