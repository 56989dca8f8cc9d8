#include "PlaceFields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zerin::places {

AngleTexts AngleFieldTexts(double degrees) {
    // In hundredths of a second, so that the three parts always add up to the angle.
    const long long hundredths = std::llround(std::fabs(degrees) * 360000.0);
    const long long d = hundredths / 360000, m = hundredths / 6000 % 60, s = hundredths % 6000;
    std::string seconds = std::to_string(s / 100);
    if (s % 100 != 0) {
        char part[8];
        std::snprintf(part, sizeof part, ".%02lld", s % 100);
        seconds += part;
        if (seconds.back() == '0') seconds.pop_back();
    }
    return {std::to_string(d), std::to_string(m), seconds};
}

std::string HoursText(double hours) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", hours);
    const std::string s = text;
    return s == "-0" ? "0" : s;
}

services::Civil FieldsReading(const FieldTexts& f) {
    const auto whole = [](const std::string& text, int fallback, int low, int high) {
        const double value = ReadNumber(text);
        if (!std::isfinite(value) || std::fabs(value) > 100000) return fallback;
        return std::clamp(static_cast<int>(value), low, high);
    };
    services::Civil c;
    c.year = whole(f.TxtYear, 2000, -100000, 100000);
    c.month = whole(f.TxtMonth, 1, 1, 12);
    c.day = whole(f.TxtDay, 1, 1, 31);
    c.hour = whole(f.TxtHour, 12, 0, 23);
    c.minute = whole(f.TxtMin, 0, 0, 59);
    c.second = whole(f.TxtSec, 0, 0, 59);
    return c;
}

bool IsZoneName(const std::string& zone) {
    for (const char c : zone)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return false;
}

void FillCoordinates(const GazetteerPlace& place, services::FieldOptions& options) {
    const AngleTexts lon = AngleFieldTexts(place.longitude);
    const AngleTexts lat = AngleFieldTexts(place.latitude);
    FieldTexts& f = options.fields;
    f.TxtDegLon = lon.degrees;
    f.TxtMinLon = lon.minutes;
    f.TxtSecLon = lon.seconds;
    f.TxtDegLat = lat.degrees;
    f.TxtMinLat = lat.minutes;
    f.TxtSecLat = lat.seconds;
    options.east = place.longitude > 0;
    options.north = place.latitude >= 0;
}

bool FieldsOfPlace(const GazetteerPlace& place, const services::Civil& local, PlaceFields& fields,
                   std::string& error) {
    FillCoordinates(place, fields.place);
    FieldTexts& f = fields.place.fields;
    if (!IsZoneName(place.zone)) {
        f.TxtZone = place.zone.empty() ? "0" : place.zone;
        fields.summerKnown = false;
        return true;
    }
    const std::unique_ptr<services::ZoneClock> clock = services::NamedClock(place.zone, error);
    if (!clock) return false;
    const services::ClockOffset offset = clock->At(clock->FromLocal(services::SecondsOf(local)));
    f.TxtZone = HoursText(-static_cast<double>(offset.standard) / services::kHour);
    f.TxtEteRegl = HoursText(static_cast<double>(offset.summer) / services::kHour);
    fields.summerKnown = true;
    return true;
}

}  // namespace zerin::places
