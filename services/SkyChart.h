// The sky of an instant as a picture: the horizon as a circle round the zenith (azimuthal
// equidistant), North up and East to the left as seen looking up; the Sun, the Moon with its
// phase and the eight planets where the observer sees them, each from the routine of its
// report; the ecliptic; the bodies below the horizon listed. Plain data, drawn by the windows'
// module.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DayChart.h"
#include "report/ModCalcule.h"

namespace zerin::services {

struct SkyBody {
    Body body = Body::Sun;
    std::string name;  // in Arabic
    // Where the observer sees it (degrees): the Sun's report's altitude and azimuth, the
    // topocentric ones of the Moon and the planets.
    double altitude = 0, azimuth = 0;
    double illum = 100;        // illuminated fraction, percent
    bool highlighted = false;  // the body of the report beside the chart
    bool Above() const { return altitude >= 0; }
};

struct SkyChart {
    std::string title, subtitle;
    std::vector<SkyBody> bodies;  // the Sun, the Moon, then Mercury to Pluto
    // The ecliptic above the horizon: pieces of (altitude, azimuth), cut where it sets.
    std::vector<std::vector<Horizontal>> ecliptic;
    // The direction of the Moon's bright limb on the chart: radians from the chart's right
    // (x) toward its bottom (y), toward the Sun along the great circle through both.
    double brightLimb = 0;
    std::string name, description;  // for a screen reader
};

struct SkyChartRequest {
    TableOptions table;         // the place and its clock
    std::optional<Civil> date;  // the date read on that clock (none: today)
    std::optional<Civil> time;  // the hour, minute and second (none: now)
    std::string placeName;
};

// The sky of the request: false with a one-line message when the place, the clock or the
// instant is refused (as `zerin ephemeris` refuses them).
bool SkyChartOf(const SkyChartRequest& request, SkyChart& chart, std::string& error);

// The sky of an observer; `when` says the instant in the title ("17 يونيو 2005، الساعة
// 21:00"), `highlighted` the body of the report.
bool SkyChartAt(const Observer& observer, const std::string& when, std::optional<Body> highlighted,
                SkyChart& chart, std::string& error);

// Where a chart of width x height pixels draws the sky: the horizon's circle, and beside it (at
// the left) the list of the bodies below the horizon.
struct SkyFrame {
    double cx = 0, cy = 0, radius = 1;  // the horizon, pixels
    double listLeft = 0, listTop = 0, listWidth = 0;
    // The zenith at the centre, the altitude falling linearly to the circle; North up, East to
    // the left.
    ChartPoint At(double altitude, double azimuth) const;
};
SkyFrame SkyFrameOf(double width, double height);

// "الشمال الشرقي" for an azimuth (degrees from the North through the East), of eight.
const char* DirectionArabic(double azimuth);

// What is drawn: one chart of the two, in one format, at a size.
enum class ChartFormat { Png, Svg };
struct ChartDrawing {
    const DayChart* day = nullptr;  // the Sun's day, or
    const SkyChart* sky = nullptr;  // the sky
    ChartFormat format = ChartFormat::Png;
    int width = 960, height = 600;  // pixels
};

// The chart beside a body's report: the Sun's day (on the report's zone and summer time, by the
// default method) for the Sun, the sky with the body highlighted for the Moon and the planets;
// or, in `problem`, why none can be drawn.
struct ReportChart {
    std::optional<DayChart> day;
    std::optional<SkyChart> sky;
    std::string problem;
};
ReportChart ChartOfReport(const Observer& observer, Body body);

}  // namespace zerin::services
