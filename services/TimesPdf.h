// A printed timetable (A4, one month of a place per page), drawn by the windows' module.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "TableRequest.h"
#include "Times.h"
#include "ZoneClock.h"

namespace zerin::services {

// A place of a printed timetable: the name the user gave it and its place and clock options.
struct TimetablePlace {
    std::string name;
    TableOptions options;
};

// What a printed timetable holds: each place for the same days, a page per place and month.
struct TimetableJob {
    std::vector<TimetablePlace> places;
    Civil from;
    std::size_t days = 0;
    PrayerSettings settings;  // the method, horizon, rules and the afternoon times shown
    bool seconds = false;
    TimesMethod method = TimesMethod::Exact;
    std::optional<HijriRule> hijri;  // a Hijri date column by this rule
};

}  // namespace zerin::services
