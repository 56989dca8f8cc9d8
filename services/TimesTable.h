// Timetables of the Sun's prayer times as tables: one place (or the places of a file) for a run of
// days, written as an aligned text table, CSV or JSON row by row as the days are computed.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Places.h"
#include "TableRequest.h"
#include "Times.h"

namespace zerin::services {

// A cell's header in Arabic ("الفجر", "الزوال"), as the Arabic tables write it.
const char* TimeCellArabic(TimeCell cell);

// A timetable asked for.
struct TimesRequest {
    TableOptions table;      // the place, its clock, the format and the headers' language
    std::string placesFile;  // many places in one run: the places file ("-": standard input)
    Civil from;
    std::size_t days = 0;
    PrayerSettings settings;  // the method, the horizon, the rules of high latitudes
    TimesMethod method = TimesMethod::Exact;
    bool seconds = false;
    std::optional<HijriRule> hijri;  // a Hijri date column by that rule
    // CSV: the settings as the file's last line ("# Settings: ..."), not on standard error.
    bool settingsLine = false;
};

// What a table's marked times were taken by ("taken by the high-latitude rule middle"): the
// method's own rules, the high-latitude and the polar rule asked for.
std::string RuleWords(const PrayerSettings& settings, bool arabic);

// The Hijri calendar of a place's table by a rule (the computed and sighting rules on the
// standard time of the place's first day).
HijriCalendar PlaceHijriCalendar(HijriRule rule, const TablePlace& place, const Civil& first);

// False with a one-line message when the settings cannot make the table they name: a polar rule
// with the report's times, a dawn or nightfall angle not below the horizon of rising and setting.
bool SettingsUsable(const TimesRequest& request, std::string& error);

// The places of a request: its own place and clock, or every row of its places file, each with a
// clock that knows the table's last day; false with a one-line message otherwise.
bool PlacesOfRequest(const TimesRequest& request, std::vector<TablePlace>& places,
                     std::string& error);

// The tables of the places as text, CSV or JSON on out (one table; with a places file the name
// of the place in its first column); returns the exit status: 0 every row written, 1 the output
// failed or some rows are empty, 2 no row could be computed (messages on err).
int WriteTimesTables(const TimesRequest& request, const std::vector<TablePlace>& places,
                     std::FILE* out, std::FILE* err);

// The first day of a request (its own place, not a places file) as its table computes it; false
// with the message that refuses the request or the day.
bool FirstDayOf(const TimesRequest& request, TimesDay& day, std::string& error);

// The whole table of a request in memory (the places read, then written as WriteTimesTables
// writes them), with what was said on err in `messages`; returns the exit status, 2 when the
// request is refused or no row could be computed.
int TimesTableText(const TimesRequest& request, std::string& text, std::string& messages);

}  // namespace zerin::services
