#include "Times.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "Json.h"
#include "TableOptions.h"
#include "TableWriter.h"
#include "TimesPdf.h"
#include "crescent/Crescent.h"
#include "math/Angles.h"
#include "report/Commands.h"
#include "report/Echo.h"
#include "report/NumText.h"
#include "time/DeltaT.h"

namespace zerin::cli {

namespace {

// The part of the night that separates dawn from rising, or setting from nightfall: the angle
// rule takes as many sixtieths of the night as the time's depression has degrees.
double NightPart(HighLatRule rule, double night, double depression) {
    switch (rule) {
        case HighLatRule::Middle:
            return night / 2;
        case HighLatRule::Seventh:
            return night / 7;
        case HighLatRule::Angle:
            return night * depression / 60;
        case HighLatRule::None:
            break;
    }
    return std::nan("");
}

// Days since the winter solstice of the place's hemisphere, as the Moonsighting Committee counts
// them: from 21 December (North) or 21 June (South; 20 June in a leap year's count).
int DaysSinceWinterSolstice(const Civil& date, double lat) {
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int daysInYear = leap ? 366 : 365;
    const int dayOfYear = static_cast<int>(
        (SecondsOf(Civil{date.year, date.month, date.day}) - SecondsOf(Civil{date.year, 1, 1})) /
            kDay +
        1);
    int days = lat >= 0 ? dayOfYear + 10 : dayOfYear - (leap ? 173 : 172);
    if (days >= daysInYear) days -= daysInYear;
    if (days < 0) days += daysInYear;
    return days;
}

// A dawn or nightfall that is missing, or that lies beyond the rule's time (a dawn earlier than
// rising less the rule's part of the night, a nightfall later than setting plus it), takes the
// rule's time and is marked.
void TakeRuleTime(TimesDay& d, int cell, double ruleTime, int side) {
    if (std::isnan(ruleTime)) return;
    if (std::isnan(d.clock[cell]) || side * (d.clock[cell] - ruleTime) > 0) {
        d.clock[cell] = ruleTime;
        d.adjusted[cell] = true;
    }
}

char Digit(Seconds n) {
    return static_cast<char>('0' + n);
}

// The cells' CSV and JSON keys and their headers.
struct CellName {
    const char* key;
    const char* english;
    const char* arabic;
};
constexpr CellName kCellNames[kTimeCells] = {
    {"fajr", "Fajr", "الفجر"},
    {"sunrise", "Sunrise", "الشروق"},
    {"transit", "Transit", "الزوال"},
    {"asr1", "Asr 1", "العصر الأول"},
    {"asr2", "Asr 2", "العصر الثاني"},
    {"sunset", "Sunset", "الغروب"},
    {"isha", "Isha", "العشاء"},
    {"maghrib", "Maghrib", "المغرب"},
    {"midnight", "Midnight", "منتصف الليل"},
    {"last_third", "Last third", "الثلث الأخير"},
    {"moonrise", "Moonrise", "شروق القمر"},
    {"moonset", "Moonset", "غروب القمر"},
};

// The cells a table shows, in its order: the afternoon times --asr keeps, Maghrib when a method
// gives it its own angle, then the optional columns.
std::vector<int> ShownCells(const PrayerSettings& s) {
    std::vector<int> cells = {kFajr, kSunrise, kTransit};
    if (s.asr != AsrShown::Second) cells.push_back(kAsr1);
    if (s.asr != AsrShown::First) cells.push_back(kAsr2);
    cells.push_back(kSunset);
    if (!std::isnan(s.maghribAngle) || s.adjust[kAdjustMaghrib] != 0) cells.push_back(kMaghrib);
    cells.push_back(kIsha);
    if (s.extras) cells.insert(cells.end(), {kMidnight, kLastThird});
    if (s.moon) cells.insert(cells.end(), {kMoonrise, kMoonset});
    return cells;
}

// The columns of a timetable. A time is "HH:MM" ("HH:MM:SS" with seconds), with "+1" or "-1" for
// a time on the day after or before, and in the text table "*" for a time taken by a
// high-latitude or polar rule.
// The widest Hijri date of the text table: "29 جمادى الأولى 1446 هـ".
constexpr std::size_t kHijriWidth = 24;

std::vector<TableColumn> TimesColumns(bool seconds, const PrayerSettings& s, Format format,
                                      bool hijri) {
    const std::size_t time = (seconds ? 8 : 5) + 2;
    // A mark widens dawn and nightfall under a high-latitude rule, every time under a polar one.
    const bool text = format == Format::Text;
    const bool polar = text && s.polar != PolarRule::None;
    const bool filled =
        text && (polar || s.rule != HighLatRule::None || !std::isnan(s.seventhAbove));
    std::vector<TableColumn> columns = {
        {"date", "Date", "التاريخ", TableColumn::Text, 10},
        {"utc_offset", "UTC offset", "فرق التوقيت", TableColumn::Text, 9},
    };
    for (const int c : ShownCells(s)) {
        const CellName& n = kCellNames[c];
        const bool marked = c == kFajr || c == kIsha ? filled : polar && c <= kMaghrib;
        columns.push_back({n.key, n.english, n.arabic, TableColumn::Text, time + marked});
    }
    if (s.moon)
        columns.push_back({"moon_fraction", "Moon lit", "نسبة إضاءة القمر", TableColumn::Text, 5});
    columns.push_back({"adjusted", "Adjusted", "مقدّر", TableColumn::List});
    if (hijri)
        columns.insert(columns.begin() + 1,
                       {"hijri", "Hijri date", "التاريخ الهجري", TableColumn::Text, kHijriWidth});
    return columns;
}

// The options of the method and the rules, as given; resolved once the whole line is read, so
// that their order does not matter.
struct PrayerOptions {
    std::string method;
    std::optional<double> fajr, isha, interval, maghrib, elevation;
    std::array<double, kPrayers> adjust{};
    std::array<bool, kPrayers> adjustNamed{};  // the times --adjust has named
    std::optional<Rounding> rounding;
    std::optional<Horizon> horizon;
    PrayerSettings rules;      // the rules, the columns shown
    std::string methodOption;  // the first option that changes the method's parameters
};

// Reads a number within [low, high]; false with a message naming the option otherwise.
bool ReadNumber(const std::string& option, const std::string& text, double low, double high,
                const char* unit, double& value, std::string& error) {
    char* stop = nullptr;
    value = std::strtod(text.c_str(), &stop);
    if (!text.empty() && *stop == '\0' && value >= low && value <= high) return true;
    error = option + " takes " + NumText(low, ".") + " to " + NumText(high, ".") + " " + unit +
            ", not '" + Echo(text) + "'";
    return false;
}

// If args[k] is an option of the method or the rules, consumes it: -1 when it is not one, 0 when
// read, or the exit status of its refusal (written on err).
int TakePrayerOption(const std::vector<std::string>& args, std::size_t& k, PrayerOptions& p,
                     std::FILE* err) {
    const std::string& a = args[k];
    const auto named = [&a](const char* option) { return IsOption(a, option); };
    const auto changes = [&p](const char* option) {
        if (p.methodOption.empty()) p.methodOption = option;
    };
    std::string value, error;
    const auto read = [&](const char* option) {
        return OptionValue(args, k, option, value, error);
    };
    const auto number = [&](const char* option, double low, double high, const char* unit,
                            std::optional<double>& into) {
        double v = 0;
        if (!read(option) || !ReadNumber(option, value, low, high, unit, v, error))
            return Refuse(err, error);
        changes(option);
        into = v;
        return 0;
    };
    if (a == "--extras") {
        p.rules.extras = true;
        return 0;
    }
    if (a == "--moon") {
        p.rules.moon = true;
        return 0;
    }
    if (named("--fajr-angle")) return number("--fajr-angle", 0.5, 30, "degrees", p.fajr);
    if (named("--isha-angle")) return number("--isha-angle", 0.5, 30, "degrees", p.isha);
    if (named("--maghrib-angle")) return number("--maghrib-angle", 0, 10, "degrees", p.maghrib);
    if (named("--isha-interval")) return number("--isha-interval", 1, 300, "minutes", p.interval);
    if (named("--elevation")) {
        double v = 0;
        if (!read("--elevation") || !ReadNumber("--elevation", value, 0, 9000, "metres", v, error))
            return Refuse(err, error);
        p.elevation = v;
        return 0;
    }
    if (named("--method")) {
        if (!read("--method")) return Refuse(err, error);
        if (!PrayerMethodNamed(value)) {
            std::string names;
            for (const PrayerMethod& m : PrayerMethods())
                names += (names.empty() ? "" : ", ") + std::string(m.name);
            return Refuse(err, "--method takes " + names + ", not '" + Echo(value) + "'");
        }
        p.method = value;
        return 0;
    }
    if (named("--adjust")) {
        if (!read("--adjust") || !ReadAdjustments(value, p.adjust, p.adjustNamed, error))
            return Refuse(err, error);
        changes("--adjust");
        return 0;
    }
    if (named("--round")) {
        if (!read("--round")) return Refuse(err, error);
        if (value != "nearest" && value != "up")
            return Refuse(err, "--round takes nearest or up, not '" + Echo(value) + "'");
        changes("--round");
        p.rounding = value == "up" ? Rounding::Up : Rounding::Nearest;
        return 0;
    }
    if (named("--horizon")) {
        if (!read("--horizon")) return Refuse(err, error);
        if (value != "table" && value != "report")
            return Refuse(err, "--horizon takes table (-0.8333 degrees) or report (-0.25), not '" +
                                   Echo(value) + "'");
        p.horizon = value == "report" ? Horizon::Report : Horizon::Table;
        return 0;
    }
    if (named("--high-lat")) {
        if (!read("--high-lat")) return Refuse(err, error);
        bool known = false;
        for (const HighLatRule rule :
             {HighLatRule::None, HighLatRule::Middle, HighLatRule::Seventh, HighLatRule::Angle}) {
            if (value != HighLatRuleName(rule)) continue;
            p.rules.rule = rule;
            known = true;
        }
        if (!known)
            return Refuse(
                err, "--high-lat takes none, middle, seventh or angle, not '" + Echo(value) + "'");
        return 0;
    }
    if (named("--polar")) {
        if (!read("--polar")) return Refuse(err, error);
        bool known = false;
        for (const PolarRule rule :
             {PolarRule::None, PolarRule::NearestLatitude, PolarRule::NearestDay}) {
            if (value != PolarRuleName(rule)) continue;
            p.rules.polar = rule;
            known = true;
        }
        if (!known)
            return Refuse(err, "--polar takes nearest-latitude, nearest-day or none, not '" +
                                   Echo(value) + "'");
        return 0;
    }
    if (named("--asr")) {
        if (!read("--asr")) return Refuse(err, error);
        if (value == "1" || value == "shafii")
            p.rules.asr = AsrShown::First;
        else if (value == "2" || value == "hanafi")
            p.rules.asr = AsrShown::Second;
        else if (value == "both")
            p.rules.asr = AsrShown::Both;
        else
            return Refuse(err,
                          "--asr takes shafii (1), hanafi (2) or both, not '" + Echo(value) + "'");
        return 0;
    }
    return -1;
}

// The settings of the options: the method's (morocco without --method), then the user's own
// angles, interval, adjustments (added to the method's) and rounding, the horizon and the rules.
// Returns 0, or the exit status of a refusal written on err.
int ResolvePrayerOptions(const PrayerOptions& p, TimesMethod method, PrayerSettings& s,
                         std::FILE* err) {
    if (method == TimesMethod::AsReport) {
        const std::string& other = !p.method.empty() ? std::string("--method") : p.methodOption;
        if (!other.empty())
            return Refuse(err,
                          "--as-report computes as the Sun's report (19 and 17 degrees): it "
                          "does not go with " +
                              other);
        if (p.horizon == Horizon::Table || p.elevation)
            return Refuse(err, std::string("--as-report keeps the report's horizon: it does not "
                                           "go with ") +
                                   (p.elevation ? "--elevation" : "--horizon table"));
        if (p.rules.extras || p.rules.moon)
            return Refuse(err, std::string("--as-report does not go with ") +
                                   (p.rules.extras ? "--extras" : "--moon"));
    }
    s = SettingsOfMethod(*PrayerMethodNamed(p.method.empty() ? kDefaultMethod : p.method));
    if (p.fajr) s.fajrAngle = *p.fajr;
    if (p.isha) {
        s.ishaAngle = *p.isha;
        s.ishaInterval = s.ramadanInterval = 0;
    }
    if (p.interval) {
        s.ishaInterval = *p.interval;
        s.ramadanInterval = 0;
        s.ishaAngle = kNoAngle;
    }
    if (p.isha && p.interval)
        return Refuse(err, "--isha-angle and --isha-interval name two nightfalls: give one");
    if (p.maghrib) s.maghribAngle = *p.maghrib;
    for (int k = 0; k < kPrayers; ++k) s.adjust[k] += p.adjust[k];
    if (p.rounding) s.rounding = *p.rounding;
    s.horizon =
        method == TimesMethod::AsReport ? Horizon::Report : p.horizon.value_or(Horizon::Table);
    s.elevation = p.elevation.value_or(0);
    if (s.horizon == Horizon::Report && s.elevation > 0)
        return Refuse(err,
                      "--elevation lowers the tables' horizon: it does not go with "
                      "--horizon report");
    s.rule = p.rules.rule;
    s.polar = p.rules.polar;
    s.asr = p.rules.asr;
    s.extras = p.rules.extras;
    s.moon = p.rules.moon;
    return 0;
}

// Reads the command line; returns 0, or the exit status of a refusal already reported.
int ReadTimesRequest(const std::vector<std::string>& args, TimesRequest& r, std::FILE* err) {
    DaySpanTexts span;
    PrayerOptions prayer;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error, value;
        const auto named = [&a](const char* option) { return IsOption(a, option); };
        if (TakeTableOption(args, k, r.table, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (TakeDaySpanOption(args, k, span, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (const int taken = TakePrayerOption(args, k, prayer, err); taken >= 0) {
            if (taken > 0) return taken;
        } else if (a == "--seconds") {
            r.seconds = true;
        } else if (a == "--as-report") {
            r.method = TimesMethod::AsReport;
        } else if (named("--places")) {
            if (!OptionValue(args, k, "--places", r.placesFile, error)) return Refuse(err, error);
            if (r.placesFile.empty()) return Refuse(err, "--places needs the name of a CSV file");
        } else if (TakePdfOption(args, k, r.pdf, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (named("--hijri-rule")) {
            if (!OptionValue(args, k, "--hijri-rule", value, error)) return Refuse(err, error);
            r.hijri = HijriRuleNamed(value);
            if (!r.hijri)
                return Refuse(err,
                              "--hijri-rule takes tabular, civil, astronomical, umm-al-qura, "
                              "computed or sighting, not '" +
                                  Echo(value) + "'");
        } else {
            return Refuse(err, "unknown option of times '" + Echo(a) + "'");
        }
    }
    if (const int refused = ResolvePrayerOptions(prayer, r.method, r.settings, err)) return refused;
    std::string error;
    if (!CheckPdfOptions(r.pdf, r.table, error)) return Refuse(err, error);
    if (!r.pdf.file.empty() && r.settings.moon)
        return Refuse(err,
                      "--moon adds columns that the PDF does not have: write the Moon's times "
                      "with the text table, --csv or --json");
    if (!r.pdf.name.empty() && !r.placesFile.empty())
        return Refuse(err,
                      "--name names the place of the command line: with --places the file "
                      "names each place");
    if (!r.placesFile.empty()) {
        for (const AxisOptions* axis : {&r.table.lon, &r.table.lat}) {
            const std::string& given = !axis->whole.empty()   ? axis->whole
                                       : !axis->field.empty() ? axis->field
                                                              : axis->side;
            if (!given.empty())
                return Refuse(err, "--places gives the places: it does not go with " + given);
        }
    }
    return ReadDaySpan("times", span, r.from, r.days, err);
}

// The row of a day in the chosen format, into cells (reused from row to row), after the place's
// name when there is one.
// What the marked cells were taken by: the method's own rules, the high-latitude and the polar
// rule asked for.
std::string RuleNote(const PrayerSettings& s, bool arabic) {
    std::vector<std::string> by;
    if (!std::isnan(s.seventhAbove))
        by.push_back(arabic ? "سُبع الليل فوق خط العرض " + NumText(s.seventhAbove, ".")
                            : "the method's seventh of the night above " +
                                  NumText(s.seventhAbove, ".") + "°");
    if (s.seasonal)
        by.push_back(arabic ? "الشفق الموسمي للطريقة" : "the method's seasonal twilight");
    if (s.rule != HighLatRule::None)
        by.push_back((arabic ? "قاعدة خطوط العرض العليا " : "the high-latitude rule ") +
                     std::string(HighLatRuleName(s.rule)));
    if (s.polar != PolarRule::None)
        by.push_back((arabic ? "قاعدة الأيام القطبية " : "the polar rule ") +
                     std::string(PolarRuleName(s.polar)));
    std::string note = arabic ? "* وقت مقدّر بـ" : "* taken by ";
    for (std::size_t k = 0; k < by.size(); ++k)
        note += (k ? (arabic ? " أو " : " or ") : "") + by[k];
    return note;
}

// A fraction 0..1 to three decimals with a period ("0.040").
std::string FractionText(double fraction) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", fraction);
    return text;
}

void DayCells(const TimesDay& d, const TimesRequest& r, const std::vector<int>& shown,
              const std::string* name, const std::string* hijri, std::vector<Cell>& cells) {
    std::size_t first = name ? 1 : 0;
    cells.resize(first + (hijri ? 4 : 3) + shown.size() + (r.settings.moon ? 1 : 0));
    if (name) cells[0] = *name;
    cells[first] = DateText(d.date);
    if (hijri) cells[++first] = *hijri;
    cells[first + 1] = OffsetText(d.offset.Total());
    // The names of the adjusted cells, written straight into the last cell.
    Cell& adjustedCell = cells.back();
    if (!adjustedCell) adjustedCell.emplace();
    std::string& adjusted = *adjustedCell;
    adjusted.clear();
    std::size_t at = first + 2;
    for (const int c : shown) {
        Cell& cell = cells[at++];
        if (std::isnan(d.clock[c])) {
            cell.reset();
            continue;
        }
        if (!cell) cell.emplace();
        WriteClockText(d.clock[c], r.seconds, *cell);
        if (d.adjusted[c]) {
            if (r.table.format == Format::Text) *cell += '*';
            if (!adjusted.empty()) adjusted += ';';
            adjusted += kCellNames[c].key;
        }
    }
    if (r.settings.moon) {
        if (std::isnan(d.moonFraction))
            cells[at].reset();
        else
            cells[at] = FractionText(d.moonFraction);
    }
}

// The settings as the JSON head's fields.
std::string SettingsJson(const PrayerSettings& s) {
    const auto number = [](double v) {
        return std::isnan(v) ? std::string("null") : NumText(v, ".");
    };
    std::string adjust = "{";
    for (int k = 0; k < kPrayers; ++k)
        adjust += (k ? ", \"" : "\"") + std::string(kPrayerKeys[k]) + "\": " + number(s.adjust[k]);
    return "\"prayer_method\": " + JsonString(s.method) +
           ", \"fajr_angle\": " + number(s.fajrAngle) +
           ", \"isha_angle\": " + number(s.ishaInterval > 0 ? kNoAngle : s.ishaAngle) +
           ", \"isha_interval\": " + number(s.ishaInterval > 0 ? s.ishaInterval : kNoAngle) +
           ", \"ramadan_interval\": " +
           number(s.ramadanInterval > 0 ? s.ramadanInterval : kNoAngle) +
           ", \"maghrib_angle\": " + number(s.maghribAngle) + ", \"adjustments\": " + adjust +
           "}, \"rounding\": " + JsonString(RoundingName(s.rounding)) +
           ", \"horizon\": " + number(HorizonAltitude(s.horizon, s.elevation)) +
           ", \"elevation\": " + number(s.elevation) +
           ", \"high_lat\": " + JsonString(HighLatRuleName(s.rule)) +
           ", \"polar\": " + JsonString(PolarRuleName(s.polar)) + ", ";
}

std::string PlaceJson(const TablePlace& p) {
    return "{\"name\": " + JsonString(p.name) + ", \"lon\": " + NumText(p.place.Lon, ".") +
           ", \"lat\": " + NumText(p.place.Lat, ".") + ", \"zone\": " + JsonString(p.zone) + "}";
}

}  // namespace

const SunNode& SunNoons::At(Seconds utc) {
    // About a year of noons for each of a few hundred zones (or many local mean times).
    constexpr std::size_t kMostNoons = 1 << 17;
    const auto found = nodes_.find(utc);
    if (found != nodes_.end()) return found->second;
    if (nodes_.size() >= kMostNoons) nodes_.clear();
    return nodes_.emplace(utc, SunNodeAt(JulianDayOfInstant(utc))).first->second;
}

Timetable::Timetable(const FieldOptions& place, const ZoneClock& clock,
                     const PrayerSettings& settings, TimesMethod method, SunNoons* noons)
    : calc_(messages_),
      clock_(clock),
      settings_(settings),
      altitudes_(SinesOf(AltitudesOf(settings))),
      method_(method),
      noons_(noons) {
    recentNoons_.fill(std::numeric_limits<Seconds>::min());
    PrepareForTable(calc_, place, Report::kNone);
    calc_.fields.TxtEteRegl = "0";  // the day's instant is on standard time
    if (method_ == TimesMethod::Exact) {
        placeRead_ = CheckPlace(place, place_, messages_.last);
        observer_ = SunObserverAt(place_.Lon, place_.Lat);
    }
    if (settings_.ramadanInterval > 0) ramadan_.emplace(HijriRule::UmmAlQura);
}

TimesDay Timetable::Day(const Civil& date) {
    TimesDay d;
    d.date = date;
    if (clock_.SkipsDate(date)) {
        d.skipped = true;
        d.clock.fill(std::nan(""));
        return d;
    }
    Civil noon = date;
    noon.hour = 12;
    noon.minute = noon.second = 0;
    const Seconds utc = clock_.FromStandard(SecondsOf(noon));
    d.offset = clock_.At(utc);
    if (method_ == TimesMethod::Exact)
        ExactDay(d, utc);
    else
        ReportDay(d, utc);
    if (d.outcome != Outcome::Written) {
        d.clock.fill(std::nan(""));
        return d;
    }
    return d;
}

SunNode Timetable::NodeAt(Seconds utc) {
    const auto* known = std::find(recentNoons_.begin(), recentNoons_.end(), utc);
    return known != recentNoons_.end() ? recent_[known - recentNoons_.begin()]
           : noons_                    ? noons_->At(utc)
                                       : SunNodeAt(JulianDayOfInstant(utc));
}

SunTimes Timetable::SunOfDay(Seconds noonUtc, const SunObserver& observer, const SunTimes* previous,
                             SunTimes* next) {
    const std::array<Seconds, 3> noons = {noonUtc - kDay, noonUtc, noonUtc + kDay};
    std::array<SunNode, 3> nodes;
    for (std::size_t k = 0; k < 3; ++k) nodes[k] = NodeAt(noons[k]);
    recentNoons_ = noons;
    recent_ = nodes;
    // The middle node is 12:00 on the zone's standard clock.
    const SunTimes times = SunDayTimesExact(SunCourse(nodes[0], nodes[1], nodes[2]), observer, 12,
                                            altitudes_, previous);
    if (next) {
        const SunNode after = noons_ ? noons_->At(noonUtc + 2 * kDay)
                                     : SunNodeAt(JulianDayOfInstant(noonUtc + 2 * kDay));
        *next = SunDayTimesExact(SunCourse(nodes[1], nodes[2], after), observer, 12, altitudes_);
    }
    return times;
}

void Timetable::ExactDay(TimesDay& d, Seconds noonUtc) {
    if (!placeRead_) {
        d.outcome = Outcome::Refused;
        return;
    }
    const bool follows = recentNoons_[1] == noonUtc - kDay;  // the day before was the last one
    // The next day's dawn and rising bound the night after this day's setting.
    const bool needsNext = settings_.extras || settings_.rule != HighLatRule::None ||
                           !std::isnan(settings_.seventhAbove);
    SunTimes next;
    d.sun =
        SunOfDay(noonUtc, observer_, follows ? &yesterday_ : nullptr, needsNext ? &next : nullptr);
    yesterday_ = d.sun;
    const double summer = static_cast<double>(d.offset.summer) / kHour;
    const SunTimes& s = d.sun;
    const std::array<double, kMaghrib + 1> times = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                    s.Asr2, s.Coucher, s.Icha, s.Maghrib};
    for (int c = 0; c <= kMaghrib; ++c) d.clock[c] = times[c] + summer;
    for (int c = kMaghrib + 1; c < kTimeCells; ++c) d.clock[c] = std::nan("");
    if (settings_.polar != PolarRule::None && (std::isnan(s.Lever) || std::isnan(s.Coucher)))
        FillPolar(d, noonUtc);
    ApplySettings(d, needsNext ? NextDay{next.Fajr + 24 + summer, next.Lever + 24 + summer,
                                         next.Coucher + 24 + summer}
                               : NextDay{});
    if (settings_.moon) MoonDay(d);
}

void Timetable::MoonDay(TimesDay& d) {
    const Civil midnight{d.date.year, d.date.month, d.date.day};
    const Seconds start = clock_.FromLocal(SecondsOf(midnight));
    const Seconds end = clock_.FromLocal(SecondsOf(midnight) + kDay);
    const TheorySunMoon theories(DeltaTAt(DecimalYear(d.date.year, d.date.month)).DeltaT);
    const double J0 = JulianDayOfInstant(start), J1 = JulianDayOfInstant(end);
    // The rising (setting) of the transits nearest the day's noon and the days around it: the
    // first that falls within the day, on the local clock.
    for (const bool rising : {true, false}) {
        double first = std::nan("");
        for (const double from : {J0 - 0.5, J0 + 0.5, J0 + 1.5}) {
            const Crossing c = HorizonCrossing(theories, Luminary::Moon, from, place_.Lon,
                                               place_.Lat, rising, true);
            if (c.kind == Crossing::Kind::Found && c.JJ >= J0 && c.JJ < J1 && !(c.JJ >= first))
                first = c.JJ;
        }
        double& cell = d.clock[rising ? kMoonrise : kMoonset];
        cell = std::nan("");
        if (std::isnan(first)) continue;
        const Seconds utc = SecondsOfJulianDay(first);
        cell = static_cast<double>(utc + clock_.At(utc).Total() - SecondsOf(midnight)) / kHour;
    }
    // The illuminated fraction from the elongation, (1 - cos elongation) / 2.
    const BodyPlace sun = theories.SunAt(J0), moon = theories.MoonAt(J0);
    const double elongation =
        ArcCos(Cosine(sun.Longitude - moon.Longitude) * Cosine(moon.Latitude));
    d.moonFraction = (1 - Cosine(elongation)) / 2;
}

void Timetable::FillPolar(TimesDay& d, Seconds noonUtc) {
    const double summer = static_cast<double>(d.offset.summer) / kHour;
    SunTimes s;
    if (settings_.polar == PolarRule::NearestLatitude) {
        // Toward the equator by half degrees until the Sun rises and sets.
        for (double lat = place_.Lat; std::fabs(lat) > 0;) {
            lat -= lat > 0 ? std::min(0.5, lat) : std::max(-0.5, lat);
            s = SunOfDay(noonUtc, SunObserverAt(place_.Lon, lat), nullptr, nullptr);
            if (!std::isnan(s.Lever) && !std::isnan(s.Coucher)) break;
        }
    } else {
        // The nearest day, before or after, on which the Sun rises and sets.
        for (Seconds k = 1; k <= 183; ++k) {
            s = SunOfDay(noonUtc - k * kDay, observer_, nullptr, nullptr);
            if (!std::isnan(s.Lever) && !std::isnan(s.Coucher)) break;
            s = SunOfDay(noonUtc + k * kDay, observer_, nullptr, nullptr);
            if (!std::isnan(s.Lever) && !std::isnan(s.Coucher)) break;
        }
    }
    recentNoons_.fill(std::numeric_limits<Seconds>::min());  // the nodes are another day's
    if (std::isnan(s.Lever) || std::isnan(s.Coucher)) return;
    const std::array<double, kMaghrib + 1> times = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                    s.Asr2, s.Coucher, s.Icha, s.Maghrib};
    for (int c = 0; c <= kMaghrib; ++c) {
        d.clock[c] = times[c] + summer;
        d.adjusted[c] = !std::isnan(d.clock[c]);
    }
    d.polar = true;
}

double Timetable::RuledDawn(const Civil& date, double dawn, double rising, double night, bool polar,
                            bool& marked) const {
    const PrayerSettings& s = settings_;
    TimesDay d;
    d.clock[kFajr] = dawn;
    const bool seventh = std::fabs(place_.Lat) >= s.seventhAbove;
    if (seventh && !std::isnan(night)) {
        // The method's own rule beyond its latitude: a seventh of the night, whatever the
        // angle gives (the seasonal twilight may still shorten it below).
        d.clock[kFajr] = rising - night / 7;
        d.adjusted[kFajr] = true;
    }
    if (s.seasonal && !polar) {
        const int dyy = DaysSinceWinterSolstice(date, place_.Lat);
        TakeRuleTime(d, kFajr, rising - SeasonalTwilight(true, place_.Lat, dyy) / 60, -1);
    } else if (!seventh && s.rule != HighLatRule::None && !std::isnan(night)) {
        TakeRuleTime(d, kFajr, rising - NightPart(s.rule, night, s.fajrAngle), -1);
    }
    marked = marked || d.adjusted[kFajr];
    return d.clock[kFajr];
}

void Timetable::ApplySettings(TimesDay& d, const NextDay& next) {
    const PrayerSettings& s = settings_;
    const double setting = d.clock[kSunset], rising = d.clock[kSunrise];
    // Maghrib is never before the setting: an angle above the horizon's takes the setting.
    if (std::isnan(s.maghribAngle) || d.clock[kMaghrib] < setting) d.clock[kMaghrib] = setting;
    if (s.ishaInterval > 0) {
        double interval = s.ishaInterval;
        if (ramadan_ &&
            ramadan_->DateOf(CivilDay{d.date.year, d.date.month, d.date.day}).date.month == 9)
            interval = s.ramadanInterval;
        d.clock[kIsha] = setting + interval / 60;
        d.adjusted[kIsha] = false;
    }
    const bool byInterval = s.ishaInterval > 0;
    // The night that follows the day: from setting to the next rising (as the day's own rising
    // a day later where that is not computed: --as-report).
    const double night = (std::isnan(next.rising) ? rising + 24 : next.rising) - setting;
    const bool seventh = std::fabs(place_.Lat) >= s.seventhAbove;
    bool marked = d.adjusted[kFajr];
    d.clock[kFajr] = RuledDawn(d.date, d.clock[kFajr], rising, night, d.polar, marked);
    d.adjusted[kFajr] = marked;
    if (seventh && !std::isnan(night) && !byInterval) {
        d.clock[kIsha] = setting + night / 7;
        d.adjusted[kIsha] = true;
    }
    if (s.seasonal && !d.polar) {
        const int dyy = DaysSinceWinterSolstice(d.date, place_.Lat);
        if (!byInterval)
            TakeRuleTime(d, kIsha, setting + SeasonalTwilight(false, place_.Lat, dyy) / 60, +1);
    } else if (!seventh && s.rule != HighLatRule::None && !std::isnan(night) && !byInterval) {
        TakeRuleTime(d, kIsha, setting + NightPart(s.rule, night, s.ishaAngle), +1);
    }
    // The night's middle and its last third, from setting to the next day's dawn as its row
    // shows it: under the rules of high latitudes and with the dawn's adjustment. The night
    // after the next day is taken as long as the one before it.
    if (s.extras) {
        bool nextMarked = false;
        const double nextNight = next.rising + 24 - next.setting;
        const double nextDawn = RuledDawn(CivilOf(SecondsOf(d.date) + kDay), next.dawn, next.rising,
                                          nextNight, false, nextMarked) +
                                s.adjust[kAdjustFajr] / 60;
        const double length = nextDawn - setting;
        d.clock[kMidnight] = setting + length / 2;
        d.clock[kLastThird] = setting + length * 2 / 3;
    }
    constexpr int kAdjusted[][2] = {{kFajr, kAdjustFajr},     {kSunrise, kAdjustSunrise},
                                    {kTransit, kAdjustDhuhr}, {kAsr1, kAdjustAsr},
                                    {kAsr2, kAdjustAsr},      {kMaghrib, kAdjustMaghrib},
                                    {kIsha, kAdjustIsha}};
    for (const auto& [cell, prayer] : kAdjusted) d.clock[cell] += s.adjust[prayer] / 60;
    if (s.rounding == Rounding::Up)
        for (double& t : d.clock) t = std::ceil(t * 60 - 1e-6) / 60;
}

void Timetable::ReportDay(TimesDay& d, Seconds noonUtc) {
    // The instant goes in on the clock of the zone's whole hours (truncated toward zero): 12:00 at
    // +05:30 is 11:30 at zone -5; the cells are then moved to the real clock.
    const Seconds wholeHours = d.offset.standard / kHour;
    EnterClockReading(calc_.fields, CivilOf(noonUtc + wholeHours * kHour));
    calc_.fields.TxtZone = std::to_string(-wholeHours);
    d.outcome = RunBody(calc_, Body::Sun);
    if (d.outcome != Outcome::Written) return;
    d.sun = calc_.sunTimes;
    const double shift =
        static_cast<double>(d.offset.standard - wholeHours * kHour + d.offset.summer) / 3600;
    const SunTimes& s = d.sun;
    const std::array<double, kMaghrib> zoneTimes = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                    s.Asr2, s.Coucher, s.Icha};
    for (int c = 0; c < kMaghrib; ++c) d.clock[c] = zoneTimes[c] + shift;
    for (int c = kMaghrib; c < kTimeCells; ++c) d.clock[c] = std::nan("");
    ApplySettings(d, NextDay{});
}

namespace {

// ClockText with the units of the day known to the compiler (a timetable writes seven a row).
template <Seconds kUnitsPerDay>
void ClockTextIn(double hours, std::string& out) {
    constexpr bool seconds = kUnitsPerDay == kDay;
    // A hair above one half, so that a half written in decimal hours rounds up.
    const auto units = static_cast<Seconds>(std::floor(hours * (kUnitsPerDay / 24) + 0.5 + 1e-9));
    const Seconds dayShift =
        units >= 0 ? units / kUnitsPerDay : -((kUnitsPerDay - 1 - units) / kUnitsPerDay);
    const Seconds inDay = units - dayShift * kUnitsPerDay;
    // Within the day, a 32-bit unsigned number: its divisions are the cheaper.
    const auto in = static_cast<unsigned>(inDay);
    constexpr auto hour = static_cast<unsigned>(kHour);
    const unsigned hh = seconds ? in / hour : in / 60;
    const unsigned mm = seconds ? in % hour / 60 : in % 60;
    // Written straight into the cell, which most often held a text of the same length the row
    // before: resize() then does nothing, and no text is made elsewhere and copied.
    out.resize(seconds ? 8 : 5);
    char* text = out.data();
    text[0] = Digit(hh / 10);
    text[1] = Digit(hh % 10);
    text[2] = ':';
    text[3] = Digit(mm / 10);
    text[4] = Digit(mm % 10);
    if (seconds) {
        text[5] = ':';
        text[6] = Digit(in % 60 / 10);
        text[7] = Digit(in % 10);
    }
    if (dayShift != 0) {
        char shift[24];
        const int written =
            std::snprintf(shift, sizeof shift, "%+lld", static_cast<long long>(dayShift));
        out.append(shift, static_cast<std::size_t>(std::max(written, 0)));
    }
}

}  // namespace

void WriteClockText(double hours, bool seconds, std::string& out) {
    if (seconds)
        ClockTextIn<kDay>(hours, out);
    else
        ClockTextIn<1440>(hours, out);
}

std::string ClockText(double hours, bool seconds) {
    std::string text;
    WriteClockText(hours, seconds, text);
    return text;
}

int PlacesOfRequest(const TimesRequest& r, std::vector<TablePlace>& places, std::FILE* err) {
    std::string error;
    places.clear();
    if (!r.placesFile.empty()) {
        if (!ReadPlacesFile(r.placesFile, r.table, places, error)) return Refuse(err, error);
    } else {
        TablePlace p;
        p.fields = r.table.place;
        if (!CheckPlace(p.fields, p.place, error)) return Refuse(err, error);
        p.clock = MakeClock(r.table, error);
        if (!p.clock) return Refuse(err, error);
        places.push_back(std::move(p));
    }
    if (places.size() > kMaxRows / r.days)
        return Refuse(err, "a table of " + std::to_string(places.size()) + " places x " +
                               std::to_string(r.days) + " days = " +
                               std::to_string(places.size() * r.days) + " rows: at most 1,000,000");
    const Seconds lastNoon =
        SecondsOf(r.from) + static_cast<Seconds>(r.days - 1) * kDay + 12 * kHour;
    for (const TablePlace& p : places) {
        TableOptions named = r.table;
        if (!p.zone.empty()) named.tz = p.zone;
        if (ClockKnows(*p.clock, named, p.clock->FromStandard(lastNoon), error)) continue;
        if (!p.name.empty()) error = "place '" + Echo(p.name) + "': " + error;
        return Refuse(err, error);
    }
    return 0;
}

int WriteTimesTables(const TimesRequest& r, const std::vector<TablePlace>& places, std::FILE* out,
                     std::FILE* err) {
    const Language headers = HeaderLanguage(r.table);
    const bool arabic = headers == Language::Arabic;
    const bool named = !r.placesFile.empty();
    std::vector<TableColumn> columns =
        TimesColumns(r.seconds, r.settings, r.table.format, r.hijri.has_value());
    const std::vector<int> shown = ShownCells(r.settings);
    if (named) {
        std::size_t widest = 5;
        for (const TablePlace& p : places) widest = std::max(widest, DisplayWidth(p.name));
        columns.insert(columns.begin(), {"place", "Place", "المكان", TableColumn::Text, widest});
    }
    TableWriter writer(r.table.format, headers, std::move(columns), out, err);
    std::string head;
    if (named) {
        head = "\"places\": [";
        for (std::size_t k = 0; k < places.size(); ++k)
            head += (k ? ",\n    " : "\n    ") + PlaceJson(places[k]);
        head += "\n  ], ";
    } else {
        head = "\"lon\": " + NumText(places[0].place.Lon, ".") +
               ", \"lat\": " + NumText(places[0].place.Lat, ".") + ", ";
    }
    if (r.hijri) head += "\"hijri_rule\": " + JsonString(HijriRuleKey(*r.hijri)) + ", ";
    writer.SetJsonHead(head + SettingsJson(r.settings) + "\"method\": " +
                       (r.method == TimesMethod::Exact ? "\"exact\"" : "\"as-report\"") + ", ");
    writer.SetPreamble(arabic && r.table.format == Format::Text
                           ? "الإعدادات: " + SettingsTextArabic(r.settings)
                           : "Settings: " + SettingsText(r.settings));
    // One computation of the Sun at each noon for all the places that keep that zone's time (one
    // place alone needs no store: its days come in order).
    SunNoons noons;
    std::optional<Timetable> table;
    std::optional<HijriCalendar> calendar;
    std::string hijriCell;
    std::size_t tablePlace = 0;
    const Seconds first = SecondsOf(r.from);
    // What is noted under the table, each once.
    bool missing = false, moonMissing = false, adjusted = false, fallback = false,
         pastHijri = false;
    const auto day = [&](std::size_t k, std::vector<Cell>& cells) {
        const std::size_t p = k / r.days;
        if (!table || tablePlace != p) {
            table.emplace(places[p].fields, *places[p].clock, r.settings, r.method,
                          places.size() > 1 ? &noons : nullptr);
            if (r.hijri) {
                const Seconds noon = places[p].clock->FromStandard(first + 12 * kHour);
                const Seconds zone = -places[p].clock->At(noon).standard / kHour;
                calendar.emplace(
                    TableHijriCalendar(*r.hijri, places[p].place, static_cast<int>(zone)));
            }
            tablePlace = p;
        }
        const Seconds dayK = static_cast<Seconds>(k % r.days);
        const TimesDay d = table->Day(CivilOf(first + dayK * kDay));
        if (calendar) {
            HijriRule used = *r.hijri;
            hijriCell =
                HijriCellText(*calendar, d.date,
                              r.table.format == Format::Text && headers == Language::Arabic, &used);
            if (hijriCell.empty() && !pastHijri) {
                pastHijri = true;
                writer.Note(3, arabic ? "لا تاريخ هجري بعد سنة 9665 هـ (9999-10-01) ، آخر سنة "
                                        "يُرجع منها إلى التاريخ الميلادي"
                                      : "no Hijri date after the year 9665 AH (9999-10-01), the "
                                        "last one converted both ways");
            }
            if (used != *r.hijri && !fallback) {
                fallback = true;
                writer.Note(
                    2, arabic
                           ? "التواريخ الهجرية خارج جدول أم القرى (1300-1600 هـ) من التقويم الجدولي"
                           : "Hijri dates outside Umm al-Qura's table (1300-1600 AH) "
                             "are those of the tabular calendar");
            }
        }
        if (d.skipped) {
            // With several places, the note says whose clock skips the day.
            const std::string date = DateText(d.date);
            return RowResult{
                RowEnd::Skipped,
                writer.SkippedDate(4, named ? date + " (" + places[p].name + ")" : date)};
        }
        DayCells(d, r, shown, named ? &places[p].name : nullptr, calendar ? &hijriCell : nullptr,
                 cells);
        if (d.outcome == Outcome::Refused) return RowResult{RowEnd::Refused, table->LastMessage()};
        if (d.outcome == Outcome::Fault) return RowResult{RowEnd::Fault, table->LastMessage()};
        for (const int c : shown) {
            if (c >= kMoonrise) {
                if (std::isnan(d.clock[c]) && !moonMissing) {
                    moonMissing = true;
                    writer.Note(5, arabic ? "— لا يشرق القمر أو لا يغرب في ذلك اليوم"
                                          : "— the Moon does not rise or set on that day");
                }
                continue;
            }
            if (std::isnan(d.clock[c]) && !missing) {
                missing = true;
                writer.Note(0, arabic ? "— لا تبلغ الشمس ارتفاع هذا الوقت في ذلك اليوم"
                                      : "— the Sun does not reach the altitude of this time on "
                                        "that day");
            }
            if (d.adjusted[c] && !adjusted) {
                adjusted = true;
                writer.Note(1, RuleNote(r.settings, arabic));
            }
        }
        return RowResult{};
    };
    return WriteRows(writer, places.size() * r.days, day, err);
}

HijriCalendar TableHijriCalendar(HijriRule rule, const Place& place, int zone) {
    return HijriCalendar(rule, HijriPlace{place.Lon, place.Lat, zone});
}

std::string HijriCellText(HijriCalendar& calendar, const Civil& date, bool arabic,
                          HijriRule* rule) {
    const HijriDay day = calendar.DateOf(CivilDay{date.year, date.month, date.day});
    if (rule) *rule = day.rule;
    // Past the last Hijri year no date is shown: its way back to the Gregorian date is refused.
    if (day.date.year > kLastHijriYear) return "";
    return arabic ? HijriDateText(day.date) : IsoDateText(day.date);
}

TimetableJob JobOf(const TimesRequest& r, const std::vector<TablePlace>& places) {
    TimetableJob job{{}, r.from, r.days, r.settings, r.seconds, r.method, r.hijri};
    for (const TablePlace& p : places) {
        TimetablePlace page{r.placesFile.empty() ? r.pdf.name : p.name, r.table};
        std::string ignored;  // the file's zones were read once already
        PlaceClockOptions(p.zone, r.table, page.options, ignored);
        page.options.place = p.fields;
        job.places.push_back(std::move(page));
    }
    return job;
}

const char* const kMethodsHelp =
    R"(
Methods: zerin times --method NAME and its settings
  --method NAME     the angles, interval, adjustments and rounding an authority
                    publishes: morocco (19 / 17, the default), mwl (18 / 17; Dhuhr +1),
                    isna (15 / 15; Dhuhr +1), egypt (19.5 / 17.5; Dhuhr +1), karachi
                    (18 / 18; Dhuhr +1), umm-al-qura (18.5 / Isha 90 min after Maghrib,
                    120 in Ramadan by the Umm al-Qura calendar), dubai (18.2 / 18.2;
                    sunrise -3, Dhuhr, Asr and Maghrib +3), qatar (18 / 90 min), kuwait
                    (18 / 17.5), singapore (20 / 18; Dhuhr +1, rounded up), tehran
                    (17.7 / 14; Maghrib at 4.5 degrees), jafari (16 / 14; Maghrib at 4),
                    turkey (18 / 17; sunrise -7, Dhuhr +5, Asr +4, Maghrib +7),
                    moonsighting (18 / 18 with the Moonsighting Committee's seasonal
                    twilight, Dhuhr +5, Maghrib +3, a seventh of the night above 55
                    degrees), algeria (18 / 17), tunisia (18 / 18), france (12 / 12),
                    russia (16 / 15), jakim and kemenag (20 / 18), gulf (19.5 / 90 min).
  --fajr-angle DEG, --isha-angle DEG, --isha-interval MIN, --maghrib-angle DEG
                    replace the method's dawn, nightfall (by angle or minutes after
                    setting) and Maghrib (by angle: a "maghrib" column; never before
                    the setting, which it takes when the angle comes first).
  --adjust fajr=+2,sunrise=-1,dhuhr=+5,asr=0,maghrib=+3,isha=0
                    whole minutes added to the method's own adjustments, each time named
                    once. Dhuhr is the transit column, Asr both afternoon columns; a
                    Maghrib adjustment gives the "maghrib" column (the "sunset" column
                    stays the setting).
  --round nearest|up
                    to the nearest minute (half a minute up) or up to the next minute.
  --asr shafii|hanafi|both
                    the afternoon columns shown (1 and 2 are the same as shafii and hanafi).
  --horizon table|report
                    rising and setting at -0.8333 degrees (table, the default) or at the
                    report's -0.25 (report; --as-report implies it).
  --elevation METRES
                    the place's height above its horizon: rising and setting where the
                    Sun's centre is 0.0347 sqrt(METRES) degrees lower still (the dip of
                    the horizon); the other times are unchanged.
  --polar nearest-latitude|nearest-day|none
                    on a day without rising or setting, the times of the nearest latitude
                    toward the equator that has both (in steps of 0.5 degrees), or of the
                    nearest day that has both; marked like the high-latitude cells.
  --extras          adds the middle of the night and the start of its last third, from
                    setting to the next day's dawn as the table gives it (with the
                    high-latitude rule and the dawn's adjustment) ("midnight",
                    "last_third").
  --moon            adds moonrise and moonset within the local day, to the minute (the
                    Moon's centre at 0.7275 of its parallax less 0.5667 degrees, as the
                    crescent report takes them: its upper limb on the horizon, seen through
                    34' of refraction), and the Moon's illuminated fraction at the day's
                    local midnight ("moonrise", "moonset", "moon_fraction").
  What a table used comes before it: a "Settings:" line above the text table, a "# "
  comment line above the CSV header, and fields of the JSON object (prayer_method,
  fajr_angle, isha_angle, isha_interval, ramadan_interval, maghrib_angle, adjustments,
  rounding, horizon, elevation, high_lat, polar).
  A day that the local clock skips (Pacific/Apia, 30 December 2011) has no row; a note
  under the text table, or a line on standard error with CSV and JSON, says so.
)";

int RunTimes(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    TimesRequest r;
    if (const int refused = ReadTimesRequest(args, r, err)) return refused;
    std::vector<TablePlace> places;
    if (const int refused = PlacesOfRequest(r, places, err)) return refused;
    if (!r.pdf.file.empty()) return WritePdf(JobOf(r, places), r.pdf.file, err);
    return WriteTimesTables(r, places, out, err);
}

}  // namespace zerin::cli
