// The Sun's day as a picture: its altitude on the local clock from midnight to midnight, the
// altitudes at which the prayer times fall, and each time where the curve reaches its line.
// Computed by the timetable's engine (the same course, the same times as `zerin times`);
// plain data, drawn by the windows' module.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TableRequest.h"
#include "Times.h"

namespace zerin::services {

// A place on a chart, pixels from its top left corner.
struct ChartPoint {
    double x = 0, y = 0;
};

// The Sun's altitude at an instant of the day.
struct DaySample {
    double hours = 0;     // the local clock, 0..24
    double altitude = 0;  // degrees
};

// A line at the altitude of the Sun's centre where a time falls.
enum class DayLineKind { Horizon, Dawn, Nightfall, Maghrib, Asr1, Asr2 };
struct DayLine {
    DayLineKind kind = DayLineKind::Horizon;
    double altitude = 0;  // degrees
    std::string label;    // "الفجر −19°"
};

// How a time stands on the chart.
enum class DayMarkKind {
    Crossing,  // where the curve crosses the time's line
    Transit,   // the curve's highest point
    Ruled,     // the curve never reaches the line: a rule gave the time (on the line)
    Interval,  // nightfall a number of minutes after Maghrib (on the curve, no line)
    Missing,   // the curve never reaches the line and nothing gives the time
};
struct DayMark {
    TimeCell cell = kFajr;
    DayMarkKind kind = DayMarkKind::Crossing;
    double hours = 0;     // the local clock of the marker; NaN when Missing
    double altitude = 0;  // degrees
    std::string label;    // the name and the time `zerin times` writes: "الفجر 04:21"
    // Drawn when the marker lies within the day (a time of the day after is only told).
    bool Shown() const { return hours >= 0 && hours <= 24; }
};

// A band of twilight: the Sun between two depressions below the horizon.
struct DayBand {
    double top = 0, bottom = 0;  // altitudes, degrees
    std::string name;
};

struct DayChart {
    std::string title, subtitle;
    std::vector<DaySample> curve;  // every two minutes from 00:00 to 24:00
    std::vector<DayLine> lines;
    std::vector<DayBand> bands;
    std::vector<DayMark> marks;
    std::vector<std::string> notes;     // what the markers cannot show: a time that does not occur
    double lowest = -30, highest = 90;  // the altitudes the chart spans (multiples of 10)
    std::string name, description;      // for a screen reader
};

struct DayChartRequest {
    TableOptions table;         // the place and its clock
    std::optional<Civil> date;  // none: today on that clock
    PrayerSettings settings;
    std::string placeName;  // in the title, when given
};

// The chart of the request: false with a one-line message when the place or the clock is
// refused (as `zerin times` refuses them) or the clock skips the date.
bool DayChartOf(const DayChartRequest& request, DayChart& chart, std::string& error);

// The chart of a checked place (degrees, West and North positive) on a clock.
bool DayChartFor(const Place& place, const ZoneClock& clock, const Civil& date,
                 const PrayerSettings& settings, const std::string& placeName, DayChart& chart,
                 std::string& error);

// Where a chart of width x height pixels draws its day: hours to x, altitudes to y.
struct DayFrame {
    double left = 0, top = 0, width = 1, height = 1;  // the plot, pixels
    double lowest = -30, highest = 90;                // its altitudes
    double X(double hours) const { return left + width * hours / 24; }
    double Y(double altitude) const {
        return top + height * (highest - altitude) / (highest - lowest);
    }
};
DayFrame DayFrameOf(const DayChart& chart, double width, double height);

// The reading of the clock now.
Civil LocalNow(const ZoneClock& clock);

// The texts the two charts share. The date in Arabic words: "17 يونيو 2005".
std::string ArabicDate(const Civil& date);
// "34.02° شمالاً، 6.83° غرباً" (West positive), the numbers kept left to right.
std::string ArabicPlace(const Place& place);
// A number with `decimals` decimals and the degree sign, kept left to right: "−19°".
std::string DegreesText(double degrees, int decimals);

}  // namespace zerin::services
