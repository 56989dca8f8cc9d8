// The conventions of the prayer timetables: the methods that authorities publish (angles of dawn
// and nightfall, an interval for nightfall, Maghrib by angle, minute adjustments, rounding), and
// the settings a timetable is computed with. Plain data and arithmetic, no Qt.
#pragma once

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Utf8.h"
#include "sun/Sun.h"

namespace zerin::services {

// The times that adjustments name, in the order of `--adjust`.
enum Prayer {
    kAdjustFajr,
    kAdjustSunrise,
    kAdjustDhuhr,
    kAdjustAsr,
    kAdjustMaghrib,
    kAdjustIsha,
    kPrayers
};
inline constexpr const char* kPrayerKeys[kPrayers] = {"fajr", "sunrise", "dhuhr",
                                                      "asr",  "maghrib", "isha"};

enum class Rounding { Nearest, Up };
enum class HighLatRule { None, Middle, Seventh, Angle };
enum class PolarRule { None, NearestLatitude, NearestDay };
// The horizon of rising and setting: the tables' (upper limb with standard refraction) or the
// Sun's report's (upper limb, no refraction).
enum class Horizon { Table, Report };
// Which afternoon times are shown: both, the first (shadow once the height: Shafi'i, Maliki,
// Hanbali) or the second (twice: Hanafi).
enum class AsrShown { Both, First, Second };

inline constexpr double kNoAngle = std::numeric_limits<double>::quiet_NaN();

// One authority's published method.
struct PrayerMethod {
    const char* name;        // as --method takes it
    const char* arabic;      // as the timetable window lists it
    const char* title;       // the authority, in English
    double fajrAngle;        // degrees below the horizon
    double ishaAngle;        // degrees below the horizon; NaN when by interval
    double ishaInterval;     // minutes after Maghrib (0: by angle)
    double ramadanInterval;  // minutes after Maghrib in Ramadan (0: as the rest of the year)
    double maghribAngle;     // degrees below the horizon; NaN: Maghrib is the setting
    std::array<double, kPrayers> adjust;  // minutes
    Rounding rounding;
    bool seasonal;        // dawn and nightfall no earlier (later) than the seasonal twilight
    double seventhAbove;  // latitude (degrees) from which the seventh of the night rules; NaN
    const char* source;   // where the parameters are published
};

// Every method, in the order the window lists them.
const std::vector<PrayerMethod>& PrayerMethods();
// The method of that name, or null.
const PrayerMethod* PrayerMethodNamed(std::string_view name);
// The method without --method: morocco (19 / 17).
inline constexpr const char* kDefaultMethod = "morocco";
// The method an authority of the zone's country publishes ("Africa/Casablanca" morocco,
// "America/..." isna, ...), mwl for every other zone.
const char* MethodOfZone(std::string_view zone);

// What a timetable is computed with: a method's parameters, the user's own changes to them, the
// horizon and the rules of high latitudes.
struct PrayerSettings {
    std::string method = kDefaultMethod;
    double fajrAngle = kDawnDepression, ishaAngle = kNightfallDepression;
    double ishaInterval = 0, ramadanInterval = 0;
    double maghribAngle = kNoAngle;
    std::array<double, kPrayers> adjust{};  // the method's and the user's, minutes
    Rounding rounding = Rounding::Nearest;
    bool seasonal = false;
    double seventhAbove = kNoAngle;
    Horizon horizon = Horizon::Table;
    double elevation = 0;  // metres above the surroundings: the dip of the horizon
    HighLatRule rule = HighLatRule::None;
    PolarRule polar = PolarRule::None;
    AsrShown asr = AsrShown::Both;
    bool extras = false;  // the middle of the night and the start of its last third
    bool moon = false;    // moonrise, moonset and the illuminated fraction
};

// The settings of a method (its name, angles, interval, adjustments and rounding).
PrayerSettings SettingsOfMethod(const PrayerMethod& method);

// The altitude of the Sun's centre at rising and setting, degrees: -0.8333 for the tables, -0.25
// for the report's; with the dip of the horizon, -0.0347 sqrt(elevation in metres).
double HorizonAltitude(Horizon horizon, double elevation);

// The altitudes of the settings' times for the Sun's calculation.
SunAltitudes AltitudesOf(const PrayerSettings& settings);

// The minutes of the Moonsighting Committee's seasonal twilight: from rising back to dawn
// (`dawn` true) or from setting to nightfall (the general shafaq), at latitude `lat` (degrees) on
// the day that lies `daysAfterWinter` days after the winter solstice of the place's hemisphere
// (0..365): linear between its values at 0, 91, 137, 183, 229 and 275 days.
double SeasonalTwilight(bool dawn, double lat, int daysAfterWinter);

// Reads "fajr=+2,sunrise=-1,..." (whole minutes) into minutes added to `adjust`; false with a
// message otherwise, and for a time that it or an earlier text (marked in `named`) names already.
bool ReadAdjustments(const std::string& text, std::array<double, kPrayers>& adjust,
                     std::array<bool, kPrayers>& named, std::string& error);

// The text of the settings for a table's header and notes: "method morocco; fajr 19°; isha 17°;
// adjustments none; horizon -0.8333°; elevation 0 m; high latitudes none; polar none".
std::string SettingsText(const PrayerSettings& settings);
// The adjustments as "dhuhr +1, maghrib +3", or "none".
std::string AdjustmentsText(const std::array<double, kPrayers>& adjust);
// The same in Arabic, each number (with its sign or unit) between the isolates U+2066 and U+2069
// so that it reads left to right: "الطريقة ... (morocco)؛ الفجر 19°؛ ..." and "الفجر +3، الشروق -7"
// ("لا تعديل" for none).
std::string SettingsTextArabic(const PrayerSettings& settings);
std::string AdjustmentsTextArabic(const std::array<double, kPrayers>& adjust);
// Maghrib apart from the setting: by its own angle or by an adjustment. Tables, pages and
// windows then show it in a column of its own, «المغرب», beside the setting's «الغروب».
bool MaghribApart(const PrayerSettings& settings);
// The rules' names in Arabic.
const char* HighLatRuleArabic(HighLatRule rule);
const char* PolarRuleArabic(PolarRule rule);
// The names of the options' values.
const char* HighLatRuleName(HighLatRule rule);
const char* PolarRuleName(PolarRule rule);
const char* HorizonName(Horizon horizon);
const char* RoundingName(Rounding rounding);

}  // namespace zerin::services
