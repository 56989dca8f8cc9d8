#include "SkyChart.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "report/Commands.h"
#include "sky/Ecliptic.h"
#include "time/JulianDay.h"

namespace zerin::services {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadian = kPi / 180;

// Indexed by Body: the Sun, the Moon, then Mercury to Pluto.
constexpr const char* kBodyArabic[kBodyCount] = {"الشمس",   "القمر", "عطارد",   "الزهرة", "المريخ",
                                                 "المشتري", "زحل",   "أورانوس", "نبتون",  "بلوطون"};

constexpr const char* kDirections[8] = {"الشمال", "الشمال الشرقي", "الشرق", "الجنوب الشرقي",
                                        "الجنوب", "الجنوب الغربي", "الغرب", "الشمال الغربي"};

// A direction on the sky as a unit vector (North, East, up).
using Vector = std::array<double, 3>;

Vector VectorOf(const Horizontal& h) {
    const double alt = h.Altitude * kRadian, az = h.Azimut * kRadian;
    return {std::cos(alt) * std::cos(az), std::cos(alt) * std::sin(az), std::sin(alt)};
}

Horizontal HorizontalOf(const Vector& v) {
    const double norm = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    const double az = std::atan2(v[1], v[0]) / kRadian;
    return {az < 0 ? az + 360 : az, std::asin(std::clamp(v[2] / norm, -1.0, 1.0)) / kRadian};
}

// The ecliptic's points every two degrees of longitude at the instant, cut where it crosses the
// horizon (the crossing found on the chord between two points).
std::vector<std::vector<Horizontal>> EclipticAbove(double T, double TS_Loc, double Lat) {
    std::vector<std::vector<Horizontal>> pieces(1);
    Horizontal last{};
    for (int k = 0; k <= 180; ++k) {
        const Equatorial e = EquatorialOfDate(2.0 * k, 0, T);
        const Horizontal h = HorizontalPlace(HourAngle(TS_Loc, e.Asc), e.Dec, Lat);
        if (k > 0 && (h.Altitude >= 0) != (last.Altitude >= 0)) {
            const Vector a = VectorOf(last), b = VectorOf(h);
            const double f = a[2] / (a[2] - b[2]);
            Horizontal cut = HorizontalOf({a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), 0});
            cut.Altitude = 0;
            pieces.back().push_back(cut);
            if (h.Altitude < 0) pieces.emplace_back();
        }
        if (h.Altitude >= 0) pieces.back().push_back(h);
        last = h;
    }
    std::erase_if(pieces, [](const std::vector<Horizontal>& p) { return p.size() < 2; });
    return pieces;
}

// The direction on the chart from the Moon toward the Sun along the great circle through both:
// the Moon's bright limb faces the Sun.
double BrightLimbOf(const Horizontal& moon, const Horizontal& sun) {
    const Vector m = VectorOf(moon), s = VectorOf(sun);
    const double along = s[0] * m[0] + s[1] * m[1] + s[2] * m[2];
    Vector t = {s[0] - along * m[0], s[1] - along * m[1], s[2] - along * m[2]};
    const double length = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
    if (length < 1e-9) return 0;  // the Sun behind the Moon, or opposite: any direction
    // A degree from the Moon toward the Sun, both put on a chart of unit scale.
    const double step = kRadian;
    const Vector q = {m[0] * std::cos(step) + t[0] / length * std::sin(step),
                      m[1] * std::cos(step) + t[1] / length * std::sin(step),
                      m[2] * std::cos(step) + t[2] / length * std::sin(step)};
    const SkyFrame unit{0, 0, 90};
    const ChartPoint from = unit.At(moon.Altitude, moon.Azimut);
    const Horizontal toward = HorizontalOf(q);
    const ChartPoint to = unit.At(toward.Altitude, toward.Azimut);
    return std::atan2(to.y - from.y, to.x - from.x);
}

std::string BodySaid(const SkyBody& b) {
    std::string text = b.name + " على ارتفاع " + DegreesText(b.altitude, 0) + " جهة " +
                       DirectionArabic(b.azimuth) + " (السمت " + DegreesText(b.azimuth, 0) + ")";
    if (b.body == Body::Moon)
        text += "، المضاء منه " + Isolated(std::to_string(std::lround(b.illum)) + "%");
    return text;
}

std::string ClockReadingText(int hour, int minute) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return Isolated(text);
}

void Describe(SkyChart& chart) {
    std::string above, below;
    for (const SkyBody& b : chart.bodies) {
        if (b.Above())
            above += (above.empty() ? "" : "؛ ") + BodySaid(b);
        else
            below += (below.empty() ? "" : "، ") + b.name;
    }
    chart.name = "رسم السماء في اللحظة";
    chart.description = chart.title + ". " + chart.subtitle +
                        ". فوق الأفق: " + (above.empty() ? std::string("لا شيء") : above) +
                        ". تحت الأفق: " + (below.empty() ? std::string("لا شيء") : below) + ".";
}

}  // namespace

const char* DirectionArabic(double azimuth) {
    const double a = std::fmod(std::fmod(azimuth, 360) + 360 + 22.5, 360);
    return kDirections[static_cast<int>(a / 45) % 8];
}

ChartPoint SkyFrame::At(double altitude, double azimuth) const {
    // Looking up, East is at the left of North.
    const double r = radius * (90 - altitude) / 90, az = azimuth * kRadian;
    return {cx - r * std::sin(az), cy - r * std::cos(az)};
}

SkyFrame SkyFrameOf(double width, double height) {
    // The title's two lines above; the cardinal points' names outside the circle.
    constexpr double kTop = 62, kMargin = 8, kLabels = 30;
    const double listWidth = std::clamp(width * 0.3, 150.0, 260.0);
    const double areaLeft = listWidth + 2 * kMargin, areaWidth = width - areaLeft - kMargin;
    const double areaHeight = height - kTop - kMargin;
    const double radius = std::max(10.0, std::min(areaWidth, areaHeight) / 2 - kLabels);
    return {areaLeft + areaWidth / 2, kTop + areaHeight / 2, radius, kMargin, kTop, listWidth};
}

bool SkyChartAt(const Observer& o, const std::string& when, std::optional<Body> highlighted,
                SkyChart& chart, std::string& error) {
    chart = SkyChart{};
    Report report;
    report.SetSinks(Report::kNone);
    try {
        const SunPlace sun = WriteSunPlace(report, o.T);
        const SkyPlace sunSky = SkyPlaceAt(o.JJ, o.Lon, o.Lat, sun.Asc, sun.Dec);
        const MoonResult moon = Calcul_Lune(report, o, sun.Lg_Soleil);
        const auto add = [&](Body body, const Horizontal& h, double illum) {
            chart.bodies.push_back({body, kBodyArabic[static_cast<int>(body)], h.Altitude, h.Azimut,
                                    illum, highlighted == body});
        };
        const Horizontal sunSeen{sunSky.Azimut, sunSky.Altitude};
        const Horizontal moonSeen = TopocentricHorizontal(moon, o.Lat);
        add(Body::Sun, sunSeen, 100);
        add(Body::Moon, moonSeen, moon.illum);
        chart.brightLimb = BrightLimbOf(moonSeen, sunSeen);
        for (int k = static_cast<int>(Body::Mercury); k < kBodyCount; ++k) {
            const PlanetResult p = WritePlanetReport(report, o, sun, static_cast<Body>(k));
            add(static_cast<Body>(k), TopocentricHorizontal(p, o.Lat), p.illum);
        }
        chart.ecliptic = EclipticAbove(o.T, sunSky.TS_Loc, o.Lat);
    } catch (const CalcError& fault) {
        error = FaultMessage(report.Current(), fault).english;
        return false;
    }
    chart.title = "السماء فوق المكان " + when;
    chart.subtitle = ArabicPlace({o.Lon, o.Lat}) + " — الشمال في الأعلى والشرق إلى اليسار";
    Describe(chart);
    return true;
}

bool SkyChartOf(const SkyChartRequest& r, SkyChart& chart, std::string& error) {
    Place place;
    if (!CheckPlace(r.table.place, place, error)) return false;
    const std::unique_ptr<ZoneClock> clock = MakeClock(r.table, error);
    if (!clock) return false;
    const Civil now = LocalNow(*clock);
    const Civil day = r.date.value_or(now), time = r.time.value_or(now);
    const Civil local{day.year, day.month, day.day, time.hour, time.minute, time.second};
    const Seconds utc = clock->FromLocal(SecondsOf(local));
    if (!ClockKnows(*clock, r.table, utc, error)) return false;
    const Reading<Observer> observer = ObserverOf(place, CalculationClockAt(*clock, utc));
    if (!observer) {
        error = observer.refused().english;
        return false;
    }
    const std::string when = ArabicDate(local) + "، الساعة " +
                             ClockReadingText(local.hour, local.minute) + " (" +
                             Isolated("UTC" + OffsetText(clock->At(utc).Total())) + ")";
    if (!SkyChartAt(*observer, when, std::nullopt, chart, error)) return false;
    if (!r.placeName.empty()) chart.subtitle = r.placeName + " — " + chart.subtitle;
    Describe(chart);
    return true;
}

ReportChart ChartOfReport(const Observer& o, Body body) {
    ReportChart chart;
    const ClockReading& c = o.clock;
    const Civil date{static_cast<int>(c.year), static_cast<int>(c.month), static_cast<int>(c.day)};
    const auto hour = static_cast<int>(std::floor(c.h * 24 + 1e-9));
    const auto minute = static_cast<int>(std::floor(c.Min * 1440 + 1e-9));
    std::string error;
    if (body != Body::Sun) {
        SkyChart sky;
        const std::string when = ArabicDate(date) + "، الساعة " + ClockReadingText(hour, minute);
        if (SkyChartAt(o, when, body, sky, error))
            chart.sky = std::move(sky);
        else
            chart.problem = error;
        return chart;
    }
    // The report's zone and summer time as a table's clock, the tables' Gregorian days.
    const int hoursEast = o.EteRegl - o.Zone;
    if (!IsZoneHours(o.Zone) || o.EteRegl < -24 || o.EteRegl > 24 || hoursEast < -12 ||
        hoursEast > 14) {
        chart.problem =
            "the chart of the day needs a zone of -14 to 12 hours whose clock, summer "
            "time added, lies within UTC-12:00..UTC+14:00";
        return chart;
    }
    if (date.year < 1583 || date.year > 9999 ||
        !DayNumberOf(CivilDay{date.year, date.month, date.day})) {
        chart.problem = "the chart of the day takes the tables' Gregorian dates, 1583 to 9999";
        return chart;
    }
    const std::unique_ptr<ZoneClock> clock = FixedClock(o.Zone, o.EteRegl);
    const PrayerSettings settings = SettingsOfMethod(*PrayerMethodNamed(kDefaultMethod));
    DayChart day;
    if (DayChartFor({o.Lon, o.Lat}, *clock, date, settings, "", day, error))
        chart.day = std::move(day);
    else
        chart.problem = error;
    return chart;
}

}  // namespace zerin::services
