// `zerin times ... --ics FILE`: the options of the prayer times' calendar, read into the services'
// calendar options, and the calendars written.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "PrayerCalendar.h"
#include "TableOptions.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

struct IcsOptions {
    std::string target;  // --ics: a file, "-" for standard output, or a folder DIR/
    CalendarOptions calendar;
    std::string withoutIcs;  // the first calendar option given, to refuse it without --ics
    bool imsakGiven = false;
};

// If args[k] is an option of the calendar, consumes it (and its value) and returns true; sets
// error to a one-line message when its value is missing or wrong.
bool TakeIcsOption(const std::vector<std::string>& args, std::size_t& k, IcsOptions& ics,
                   std::string& error);

// False with a message when the calendar's options do not go with the others: a calendar option
// without --ics, --imsak without --ramadan, --ics with another output or with --moon, --places
// with a target that is not a folder.
bool CheckIcsOptions(const IcsOptions& ics, const TimesRequest& request, bool pdf,
                     std::string& error);

// Writes the calendars of the places (the command line's place named `name`); returns the exit
// status of the tables.
int WriteIcs(const IcsOptions& ics, const TimesRequest& request, const std::string& name,
             std::vector<TablePlace>& places, std::FILE* out, std::FILE* err);

extern const char* const kIcsHelp;

}  // namespace zerin::cli
