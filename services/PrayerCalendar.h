// Prayer times as an iCalendar file (RFC 5545) that calendar programs import: an event for each
// time of each day of a timetable, from the same rows the text, CSV, JSON and PDF tables show.
#pragma once

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Places.h"
#include "PrayerMethods.h"
#include "TimesTable.h"

namespace zerin::services {

// What a calendar holds beyond the timetable's request (its place, days, clock, method, rules
// and language).
struct CalendarOptions {
    // How long each time's event lasts, minutes, by the keys of --adjust (fajr ... isha; asr for
    // both afternoon times); 0 is an instant. Ramadan's and the night's events are instants.
    std::array<int, kPrayers> minutes{};
    std::optional<int> alarm;  // a reminder that many minutes before each event
    bool sunrise = false;      // an event at rising too
    // On the days of Ramadan (by the request's Hijri rule, Umm al-Qura's calendar without one):
    // the end of the meal before dawn, `imsak` minutes before Fajr, and the breaking of the
    // fast at Maghrib.
    bool ramadan = false;
    int imsak = 10;
};

inline constexpr int kMostEventMinutes = 720, kMostAlarmMinutes = 1440, kMostImsakMinutes = 180;

// TEXT of a property's value: backslash, semicolon, comma and line end escaped ("\\", "\;", "\,",
// "\n"); other control characters become blanks and bytes that are not UTF-8 U+FFFD.
std::string IcsText(std::string_view text);

// Appends a content line and its CR LF, folded so that no line passes 75 octets (a continuation
// line starts with a blank) and no UTF-8 character is split between two lines.
void AppendIcsLine(std::string& out, std::string_view line);

// The name a calendar gives its place: the place's own (--name, --place, the places file), or
// its coordinates to two decimals ("34.02N 6.84W").
std::string CalendarPlaceName(const TablePlace& place);

// A file name made of a place's name: '/' and control characters become '-', a leading '.'
// becomes '_', and ".ics" is added.
std::string CalendarFileName(const std::string& placeName);

// True when target names a folder: it ends with '/' or is an existing folder.
bool IsFolderTarget(const std::string& target);

// Writes the calendar of each place: on `out` for "-", as one file per place named after it in a
// folder (created when missing), or as the file target (one place). Each file is written
// atomically. Returns the exit status of the tables: 0 every day written, 1 a file could not be
// written or some days are missing, 2 nothing written (a message on err).
int WriteCalendars(const TimesRequest& request, const CalendarOptions& options,
                   const std::vector<TablePlace>& places, const std::string& target, std::FILE* out,
                   std::FILE* err);

// The calendar of a request's one place, named `name` (empty: its coordinates), in memory, with
// what was said on err in `messages`; the exit status as WriteCalendars returns it.
int CalendarText(const TimesRequest& request, const CalendarOptions& options,
                 const std::string& name, std::string& ics, std::string& messages);

}  // namespace zerin::services
