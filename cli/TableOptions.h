// The options that `zerin times` and `zerin ephemeris` share, read into the tables' request: the
// place, the time zone, the output format and the language of the headers; and their dates.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "FieldOptions.h"
#include "TableRequest.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

// How one axis of the place was given, to refuse options that contradict each other.
struct AxisOptions {
    std::string side;       // the first option that named a side: "--east", "--lon 3E"
    bool negative = false;  // the side it named: East (South)
    std::string whole;      // "--lon" ("--lat") when the angle was given whole
    std::string field;      // the first field option of the axis ("--lon-deg")
};

// How the place was given on the command line.
struct PlaceGiven {
    AxisOptions lon, lat;
};

// If args[k] is a shared option, consumes it (and its value) and returns true; sets error to a
// one-line message when its value is missing or wrong, or when it contradicts an earlier option.
// Field options of the date and time are refused: tables take their dates from --from and --to.
// `given` records the place's options read so far.
bool TakeTableOption(const std::vector<std::string>& args, std::size_t& k, TableOptions& options,
                     PlaceGiven& given, std::string& error);

// True for a field option of the date or the time (--year ... --second, alone or with "="), which
// the tables and the Hijri commands take in another form.
bool IsDateFieldOption(const std::string& arg);

// "YYYY-MM-DD", with "THH:MM[:SS]" after it when time is allowed; a real date from 1582-10-15 (the
// Gregorian calendar) to 9999-12-31.
bool ParseDate(const std::string& text, bool allowTime, Civil& civil, std::string& error);

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

// Refuses a command line: its one-line message on err; returns the exit status, 2.
int Refuse(std::FILE* err, const std::string& what);

// The help of both table commands and their shared options.
extern const char* const kTablesHelp;

}  // namespace zerin::cli
