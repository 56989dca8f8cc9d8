// `zerin times`: a timetable of the Sun's prayer times, one row per day, computed by the Sun
// command with its report switched off.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "FieldOptions.h"
#include "ModCalcule.h"
#include "TableOptions.h"
#include "ZoneClock.h"

namespace zerin::cli {

enum class HighLatRule { None, Middle, Seventh, Angle };

// The cells of a day, in the table's order.
enum TimeCell { kFajr, kSunrise, kTransit, kAsr1, kAsr2, kSunset, kIsha, kTimeCells };

struct TimesDay {
    Civil date;
    ClockOffset offset;  // the clock the cells are shown on
    SunTimes sun;        // what the Sun command computes (NaN: never reached that day)
    // The cells on the local clock, hours since the day's midnight; NaN when missing.
    std::array<double, kTimeCells> clock{};
    std::array<bool, kTimeCells> adjusted{};
    Outcome outcome = Outcome::Written;  // Refused or Fault: the Sun command did not finish
};

// Computes the days of one place on one clock.
class Timetable {
  public:
    Timetable(const FieldOptions& place, const ZoneClock& clock, HighLatRule rule);
    TimesDay Day(const Civil& date);
    // What the calculation said of the last day it did not finish.
    const std::string& LastMessage() const { return messages_.last; }

  private:
    TableMessenger messages_;
    ModCalcule calc_;
    const ZoneClock& clock_;
    HighLatRule rule_;
};

// Hours since midnight as the clock shows them: "HH:MM" to the nearest minute, half a minute
// rounding up ("HH:MM:SS" to the nearest second with seconds), and "+1" or "-1" for a time on the
// day after or before.
std::string ClockText(double hours, bool seconds);

int RunTimes(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace zerin::cli
