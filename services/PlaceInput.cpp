#include "PlaceInput.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "report/Echo.h"
#include "report/NumText.h"
#include "time/Civil.h"

namespace zerin::services {

namespace {

// Digits with at most one period inside them: "5", "40", "5.6667".
bool IsPlainNumber(std::string_view text) {
    if (text.empty() || !IsDigit(text.front()) || !IsDigit(text.back())) return false;
    int periods = 0;
    for (const char c : text) {
        if (c == '.')
            ++periods;
        else if (!IsDigit(c))
            return false;
    }
    return periods <= 1;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

struct Hemispheres {
    const char* option;
    char positive,
        negative;  // the letters of the program's positive and negative sides
    double maxDegrees;
    std::string FieldTexts::*deg;
    std::string FieldTexts::*min;
    std::string FieldTexts::*sec;
};

const Hemispheres kLon{
    "--lon", 'W', 'E', 180, &FieldTexts::TxtDegLon, &FieldTexts::TxtMinLon, &FieldTexts::TxtSecLon};
const Hemispheres kLat{
    "--lat", 'N', 'S', 90, &FieldTexts::TxtDegLat, &FieldTexts::TxtMinLat, &FieldTexts::TxtSecLat};

// "5:40:0W", "5:40W", "-5.6667", "32:56:0N" into the three field texts. A minus sign or the letter
// E (S) is the program's negative side; explicit tells whether the text named a side (a letter or
// a sign) or left it to --east/--west (--north/--south), West (North) by default.
bool TakeAngle(const std::string& text, const Hemispheres& h, FieldTexts& fields, bool& negative,
               bool& explicitSide, std::string& error) {
    error = std::string(h.option) + " takes D[:M[:S]] with " + h.positive + " or " + h.negative +
            " after it, or decimal degrees (" + h.negative + " negative): not '" + Echo(text) + "'";
    std::string body = text;
    negative = explicitSide = false;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        negative = body.front() == '-';
        explicitSide = true;
        body.erase(0, 1);
    }
    if (!body.empty()) {
        const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(body.back())));
        if (last == h.positive || last == h.negative) {
            if (explicitSide) return false;  // a sign or a letter, not both
            negative = last == h.negative;
            explicitSide = true;
            body.pop_back();
        }
    }
    const std::vector<std::string> parts = Split(body, ':');
    if (parts.size() > 3) return false;
    for (const std::string& part : parts)
        if (!IsPlainNumber(part)) return false;
    const double deg = std::strtod(parts[0].c_str(), nullptr);
    const double min = parts.size() > 1 ? std::strtod(parts[1].c_str(), nullptr) : 0;
    const double sec = parts.size() > 2 ? std::strtod(parts[2].c_str(), nullptr) : 0;
    if (min >= 60 || sec >= 60 || deg + min / 60 + sec / 3600 > h.maxDegrees) {
        error = std::string(h.option) + " '" + Echo(text) +
                "' is out of range (minutes and seconds below 60, at most " +
                std::to_string(static_cast<int>(h.maxDegrees)) + " degrees)";
        return false;
    }
    fields.*h.deg = parts[0];
    fields.*h.min = parts.size() > 1 ? parts[1] : "0";
    fields.*h.sec = parts.size() > 2 ? parts[2] : "0";
    error.clear();
    return true;
}

// A whole number of hours from lowest to highest for --zone or --summer.
bool TakeHours(const std::string& option, const std::string& text, int lowest, int highest,
               std::optional<int>& hours, std::string& error) {
    std::string digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.erase(0, 1);
    const std::size_t period = digits.find('.');
    const bool whole = period == std::string::npos ||
                       digits.find_first_not_of('0', period + 1) == std::string::npos;
    const bool number = IsPlainNumber(digits) && whole;
    const double value = number ? std::strtod(text.c_str(), nullptr) : 0;
    if (!number || value < lowest || value > highest) {
        error = option + " takes whole hours from " + std::to_string(lowest) + " to " +
                std::to_string(highest) + " (East of Greenwich negative), not '" + Echo(text) +
                "'; for an offset such as +05:30 use --tz with the zone's name";
        return false;
    }
    hours = static_cast<int>(value);
    return true;
}

}  // namespace

bool ReadDecimal(std::string_view text, double& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (negative || text.front() == '+')) text.remove_prefix(1);
    if (!IsPlainNumber(text)) return false;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (negative) value = -value;
    return true;
}

bool ReadAngleText(Axis axis, const std::string& text, FieldOptions& place, bool& negative,
                   bool& explicitSide, std::string& error) {
    const bool lon = axis == Axis::Longitude;
    if (!TakeAngle(text, lon ? kLon : kLat, place.fields, negative, explicitSide, error))
        return false;
    if (explicitSide) (lon ? place.east : place.north) = lon ? negative : !negative;
    return true;
}

bool ReadWholeHours(const std::string& option, const std::string& text, std::optional<int>& hours,
                    std::string& error) {
    return option == "--zone" ? TakeHours(option, text, kFirstZone, kLastZone, hours, error)
                              : TakeHours(option, text, -24, 24, hours, error);
}

const FieldTextOption kFieldTextOptions[14] = {
    {"--lon-deg", &FieldTexts::TxtDegLon}, {"--lon-min", &FieldTexts::TxtMinLon},
    {"--lon-sec", &FieldTexts::TxtSecLon}, {"--lat-deg", &FieldTexts::TxtDegLat},
    {"--lat-min", &FieldTexts::TxtMinLat}, {"--lat-sec", &FieldTexts::TxtSecLat},
    {"--zone", &FieldTexts::TxtZone},      {"--summer", &FieldTexts::TxtEteRegl},
    {"--year", &FieldTexts::TxtYear},      {"--month", &FieldTexts::TxtMonth},
    {"--day", &FieldTexts::TxtDay},        {"--hour", &FieldTexts::TxtHour},
    {"--minute", &FieldTexts::TxtMin},     {"--second", &FieldTexts::TxtSec},
};

void FillFromClock(FieldTexts& f) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    f.TxtYear = std::to_string(local.tm_year + 1900);
    f.TxtMonth = std::to_string(local.tm_mon + 1);
    f.TxtDay = std::to_string(local.tm_mday);
    f.TxtHour = std::to_string(local.tm_hour);
    f.TxtMin = std::to_string(local.tm_min);
    f.TxtSec = std::to_string(local.tm_sec);
}

bool CheckPlace(const FieldOptions& place, Place& checked, std::string& error) {
    for (std::size_t f = 0; f < kPlaceFieldOptions; ++f) {
        const std::string& text = place.fields.*kFieldTextOptions[f].field;
        if (std::isfinite(ReadNumber(text))) continue;
        error = std::string(kFieldTextOptions[f].option) + " '" + Echo(text) +
                "' is too large a number to compute with";
        return false;
    }
    const Reading<Place> read = ReadPlace(place.fields, place.east, place.north);
    if (!read) {
        error = read.refused().english;
        return false;
    }
    const auto beyond = [&error](const char* what, double value, int limit, const char* sides) {
        if (std::fabs(value) <= limit) return false;
        error = std::string("the ") + what + " given is " + NumText(value) + " degrees: a " + what +
                " lies within " + std::to_string(limit) + " degrees " + sides;
        return true;
    };
    if (beyond("longitude", read->Lon, 180, "East or West") ||
        beyond("latitude", read->Lat, 90, "North or South"))
        return false;
    checked = {read->Lon, read->Lat};
    return true;
}

}  // namespace zerin::services
