// The charts: the Sun's day at the tables' times, the sky as the reports, `zerin chart`.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "SkyChart.h"
#include "TableOptions.h"
#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

using namespace zerin::services;
constexpr double kDeg = 3.14159265358979323846 / 180;

// The place and clock of a case, read as the tables read them.
TableOptions Options(const std::string& words) {
    const std::vector<std::string> args = Words("chart " + words);
    TableOptions options;
    cli::PlaceGiven given;
    std::string error;
    for (std::size_t k = 1; k < args.size(); ++k)
        EXPECT_TRUE(cli::TakeTableOption(args, k, options, given, error) && error.empty())
            << args[k] << ": " << error;
    return options;
}

Civil Date(const std::string& text) {
    Civil c;
    EXPECT_TRUE(ReadDate(text, {.allowTime = true}, c)) << text;
    return c;
}

// `zerin times --csv` for one day: each column's text by its key.
KeyedRow TimesRow(const std::string& words, const std::string& date) {
    return KeyedTable("times " + words + " --csv --from " + date + " --days 1").at(0);
}

// The x where the curve crosses an altitude, nearest to `near` (pixels).
double CurveCrossing(const DayChart& chart, const DayFrame& f, double altitude, double near) {
    double best = std::nan("");
    for (std::size_t k = 0; k + 1 < chart.curve.size(); ++k) {
        const DaySample &a = chart.curve[k], &b = chart.curve[k + 1];
        if ((a.altitude - altitude) * (b.altitude - altitude) > 0) continue;
        const double x = f.X(a.hours + (b.hours - a.hours) * (altitude - a.altitude) /
                                           (b.altitude - a.altitude));
        if (!(std::fabs(x - near) >= std::fabs(best - near))) best = x;
    }
    return best;
}

// Each column of the table, the chart's cell and line.
// clang-format off
struct Column { const char* key; TimeCell cell; DayLineKind line; };
const Column kColumns[] = {
    {"fajr", kFajr, DayLineKind::Dawn}, {"sunrise", kSunrise, DayLineKind::Horizon}, {"transit", kTransit, DayLineKind::Horizon},
    {"asr1", kAsr1, DayLineKind::Asr1}, {"asr2", kAsr2, DayLineKind::Asr2}, {"sunset", kSunset, DayLineKind::Horizon},
    {"isha", kIsha, DayLineKind::Nightfall}};
// clang-format on

const DayMark* MarkOf(const DayChart& chart, TimeCell cell) {
    for (const DayMark& m : chart.marks)
        if (m.cell == cell) return &m;
    return nullptr;
}

double LineAltitude(const DayChart& chart, DayLineKind kind) {
    for (const DayLine& line : chart.lines)
        if (line.kind == kind) return line.altitude;
    return std::nan("");
}

// At 1 px = 2 min each time's marker and the curve's crossing lie within a pixel of the table's.
TEST(ChartDay, EachCrossingIsAtTheTimeOfTheTimetable) {
    for (const std::vector<std::string>& day : DataRows("chart-days.txt", "", '|')) {
        const std::string words = Trimmed(day[0]), date = Trimmed(day[1]);
        SCOPED_TRACE(words + " " + date);
        DayChart chart;
        std::string error;
        const DayChartRequest request{Options(words), Date(date),
                                      SettingsOfMethod(*PrayerMethodNamed("morocco")), ""};
        ASSERT_TRUE(DayChartOf(request, chart, error)) << error;
        const DayFrame f = DayFrameOf(chart, 780, 560);
        ASSERT_DOUBLE_EQ(f.width, 720);
        // The twilights: six degrees each, from the horizon to 18 below it.
        ASSERT_EQ(chart.bands.size(), 3u);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(chart.bands[k].top, -6.0 * k);
            EXPECT_EQ(chart.bands[k].bottom, -6.0 * (k + 1));
        }
        const auto row = TimesRow(words, date);
        for (const Column& column : kColumns) {
            SCOPED_TRACE(column.key);
            const std::string& time = row.at(column.key);
            const DayMark* mark = MarkOf(chart, column.cell);
            ASSERT_NE(mark, nullptr);
            const double line = LineAltitude(chart, column.line);
            if (time.empty()) {
                EXPECT_EQ(mark->kind, DayMarkKind::Missing);
                EXPECT_NE(std::find(chart.notes.begin(), chart.notes.end(), mark->label),
                          chart.notes.end());
                const bool above = chart.curve.front().altitude > line;
                for (const DaySample& s : chart.curve) EXPECT_EQ(s.altitude > line, above);
                continue;
            }
            EXPECT_TRUE(Contains(mark->label, time.substr(0, 5))) << mark->label;
            const double x = f.left + ClockMinutes(time) / 2.0;
            EXPECT_NEAR(f.X(mark->hours), x, 1);
            if (column.cell == kTransit) {
                const auto top = std::max_element(
                    chart.curve.begin(), chart.curve.end(),
                    [](const DaySample& a, const DaySample& b) { return a.altitude < b.altitude; });
                EXPECT_NEAR(f.X(top->hours), x, 1);
            } else {
                EXPECT_NEAR(CurveCrossing(chart, f, line, x), x, 1);
                EXPECT_DOUBLE_EQ(mark->altitude, line);
            }
        }
    }
}

// A rule's time (60° N in June; a seventh of the night at 45° N) is marked on its line, named.
TEST(ChartDay, ARuleFillsATimeOnItsLine) {
    // clang-format off
    const struct { const char *words, *option; HighLatRule rule; const char* name; } cases[] = {
        {"--lat-deg 60 --lon-deg 10.75 --east --zone -1 --summer 1", "middle", HighLatRule::Middle, "منتصف الليل"},
        {"--lat-deg 45 --lon-deg 2.35 --east --zone -1 --summer 1", "seventh", HighLatRule::Seventh, "سُبع الليل"}};
    // clang-format on
    for (const auto& c : cases) {
        DayChartRequest request{Options(c.words), Date("2024-06-21"),
                                SettingsOfMethod(*PrayerMethodNamed("morocco")), ""};
        request.settings.rule = c.rule;
        DayChart chart;
        std::string error;
        ASSERT_TRUE(DayChartOf(request, chart, error)) << error;
        const auto row = TimesRow(std::string(c.words) + " --high-lat " + c.option, "2024-06-21");
        const DayFrame f = DayFrameOf(chart, 780, 560);
        const DayMark* dawn = MarkOf(chart, kFajr);
        EXPECT_EQ(dawn->kind, DayMarkKind::Ruled);
        EXPECT_TRUE(Contains(dawn->label, c.name)) << dawn->label;
        EXPECT_TRUE(Contains(dawn->label, row.at("fajr").substr(0, 5))) << dawn->label;
        EXPECT_NEAR(f.X(dawn->hours), f.left + ClockMinutes(row.at("fajr")) / 2.0, 1);
    }
}

// The horizon's circle round the zenith: North up, East at the left as seen looking up.
TEST(ChartSky, TheProjectionPutsEastAtTheLeft) {
    const SkyFrame f{500, 300, 200};
    // Right and down in radii from the centre.
    // clang-format off
    const struct { double altitude, azimuth, right, down; } cases[] = {{90, 123, 0, 0}, {0, 0, 0, -1}, {0, 360, 0, -1}, {0, 90, -1, 0},
                          {0, 180, 0, 1}, {0, 270, 1, 0}, {45, 90, -0.5, 0}, {-30, 0, 0, -4.0 / 3}};
    // clang-format on
    for (const auto& c : cases) {
        const ChartPoint p = f.At(c.altitude, c.azimuth);
        EXPECT_NEAR(p.x, 500 + 200 * c.right, 1e-9) << c.altitude << " " << c.azimuth;
        EXPECT_NEAR(p.y, 300 + 200 * c.down, 1e-9) << c.altitude << " " << c.azimuth;
    }
}

// A body's place projected here: altitude linear to the horizon, azimuth from North via East.
ChartPoint Projected(const SkyFrame& f, double altitude, double azimuth) {
    const double r = f.radius * (1 - altitude / 90);
    return {f.cx - r * std::sin(azimuth * kDeg), f.cy - r * std::cos(azimuth * kDeg)};
}

const SkyBody& BodyOf(const SkyChart& chart, Body body) {
    return chart.bodies.at(static_cast<std::size_t>(body));
}

// The Sun and the Moon (its topocentric place turned to the horizon here) within a pixel of
// their reports' places; the bright limb toward the Sun; what is below listed after «تحت الأفق».
TEST(ChartSky, EachBodyIsWhereItsReportPutsIt) {
    const char* const places[] = {"--lat-deg 0 --lon-deg 30 --east --zone -2",
                                  "--lat-deg 34.0167 --lon-deg 6.8333 --west --zone 0",
                                  "--lat-deg 60 --lon-deg 10.75 --east --zone -1"};
    const char* const instants[] = {"2024-03-20T21:00", "2024-06-14T17:00", "2024-12-21T09:30"};
    int limbs = 0;
    for (const char* words : places) {
        for (const char* instant : instants) {
            SCOPED_TRACE(std::string(words) + " " + instant);
            const Civil at = Date(instant);
            SkyChart chart;
            std::string error;
            ASSERT_TRUE(SkyChartOf({Options(words), at, at, ""}, chart, error)) << error;
            const auto report = [&](const char* body) {
                return RunCli(With(ReportArgs(body, std::to_string(at.year),
                                              std::to_string(at.month), std::to_string(at.day),
                                              std::to_string(at.hour), std::to_string(at.minute)),
                                   With(Words(words), {"--json"})))
                    .out;
            };
            const std::string sun = report("sun"), moon = report("moon");
            const double lat = ReportedValue(moon, "Lat") * kDeg;
            const double H =
                (ReportedValue(moon, "TS_Loc") * 15 - ReportedValue(moon, "TopoAsc")) * kDeg;
            const double dec = ReportedValue(moon, "TopoDec") * kDeg;
            const double moonAltitude = std::asin(std::sin(lat) * std::sin(dec) +
                                                  std::cos(lat) * std::cos(dec) * std::cos(H)) /
                                        kDeg;
            const double moonAzimuth = std::atan2(-std::cos(dec) * std::sin(H),
                                                  std::sin(dec) * std::cos(lat) -
                                                      std::cos(dec) * std::sin(lat) * std::cos(H)) /
                                       kDeg;
            const SkyFrame f = SkyFrameOf(960, 600);
            const ChartPoint sunAt =
                Projected(f, ReportedValue(sun, "Altitude"), ReportedValue(sun, "Azimut"));
            const ChartPoint moonAt = Projected(f, moonAltitude, moonAzimuth);
            const SkyBody &s = BodyOf(chart, Body::Sun), &m = BodyOf(chart, Body::Moon);
            for (const auto& [body, expected] : {std::pair{&s, sunAt}, std::pair{&m, moonAt}}) {
                const ChartPoint drawn = f.At(body->altitude, body->azimuth);
                EXPECT_NEAR(drawn.x, expected.x, 1) << body->name;
                EXPECT_NEAR(drawn.y, expected.y, 1) << body->name;
            }
            if (s.Above() && m.Above()) {
                ++limbs;
                const double toward = std::atan2(sunAt.y - moonAt.y, sunAt.x - moonAt.x);
                EXPECT_GT(std::cos(chart.brightLimb - toward), 0.7);
            }
            const std::size_t below = chart.description.find("تحت الأفق:");
            for (const SkyBody& b : chart.bodies)
                EXPECT_EQ(chart.description.find(b.name) > below, !b.Above()) << b.name;
        }
    }
    EXPECT_GT(limbs, 0);
}

// At the table's sunset the Sun's centre is 0.83° below the horizon: listed, not drawn.
TEST(ChartSky, TheSunAtItsSettingIsBelowTheHorizon) {
    const std::string words = "--lat-deg 34.0167 --lon-deg 6.8333 --west --zone 0";
    const std::string sunset = TimesRow(words, "2024-03-20").at("sunset");
    SkyChart chart;
    std::string error;
    ASSERT_TRUE(SkyChartOf({Options(words), Date("2024-03-20"), Date("2024-03-20T" + sunset), ""},
                           chart, error));
    EXPECT_NEAR(BodyOf(chart, Body::Sun).altitude, -0.8, 0.2);
    EXPECT_FALSE(BodyOf(chart, Body::Sun).Above());
}

// Beside a report: the Sun's day, or the sky with the body highlighted, or why not.
TEST(ChartReport, TheChartOfTheReportsBody) {
    // clang-format off
    const struct { Body body; int zone, year; bool day, sky; } cases[] = {{Body::Sun, 0, 2005, true, false}, {Body::Moon, 0, 2005, false, true},
        {Body::Saturn, 0, 2005, false, true}, {Body::Sun, 20, 2005, false, false}, {Body::Sun, 0, 1500, false, false}};
    // clang-format on
    for (const auto& c : cases) {
        const Reading<Observer> o = ObserverAt({6.8333, 34.0167}, static_cast<std::int16_t>(c.zone),
                                               0, ClockOf(c.year, 6, 17, 21, 0, 0));
        ASSERT_TRUE(o);
        const ReportChart chart = ChartOfReport(*o, c.body);
        EXPECT_EQ(chart.day.has_value(), c.day);
        EXPECT_EQ(chart.sky.has_value(), c.sky);
        EXPECT_EQ(chart.problem.empty(), c.day || c.sky) << chart.problem;
        EXPECT_TRUE(!chart.sky || BodyOf(*chart.sky, c.body).highlighted);
    }
}

// The day's picture as a PNG, the sky's as an SVG to standard output, its bodies named.
TEST(ChartCommand, ThePicturesAreWritten) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const std::string png = Scratch("chart.png"), svg = Scratch("chart.svg");
    const ExeResult day = RunExe(
        " chart day --lat 34N --lon 6:50W --zone 0 --date 2024-03-20 --size 780x560 --png " + png,
        noDisplay);
    if (Contains(day.err, "built without the windows")) GTEST_SKIP() << "built without Qt";
    ASSERT_EQ(day.status, 0) << day.err;
    EXPECT_EQ(ReadFile(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
    const ExeResult sky = RunExe(
        " chart sky --lat 34N --lon 6:50W --zone 0 --date 2024-03-20 --time 21:00 --svg - > " + svg,
        noDisplay);
    ASSERT_EQ(sky.status, 0) << sky.err;
    EXPECT_EQ(ReadFile(svg).substr(0, 5), "<?xml");
    EXPECT_TRUE(Contains(ReadFile(svg), "القمر"));
    std::remove(png.c_str());
    std::remove(svg.c_str());
}

}  // namespace
}  // namespace zerin::test
