#include "Times.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "Commands.h"
#include "Echo.h"
#include "Json.h"
#include "NumText.h"
#include "TableOptions.h"
#include "TableWriter.h"
#include "TimesPdf.h"

namespace zerin::cli {

namespace {

// The depressions of dawn and nightfall, degrees: the angle-based rule takes that many sixtieths of
// the night.
constexpr double kDawnDepression = 19, kNightfallDepression = 17;

struct RuleName {
    HighLatRule rule;
    const char* name;
};
constexpr RuleName kRules[] = {{HighLatRule::None, "none"},
                               {HighLatRule::Middle, "middle"},
                               {HighLatRule::Seventh, "seventh"},
                               {HighLatRule::Angle, "angle"}};

const char* RuleText(HighLatRule rule) {
    for (const RuleName& r : kRules)
        if (r.rule == rule) return r.name;
    return "none";
}

// The part of the night that separates dawn from rising, or setting from nightfall.
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

// Fills a missing dawn or nightfall from the night between setting and the rising.
void FillHighLatitude(HighLatRule rule, TimesDay& d) {
    const double rising = d.clock[kSunrise], setting = d.clock[kSunset];
    if (rule == HighLatRule::None || std::isnan(rising) || std::isnan(setting)) return;
    const double night = 24 - (setting - rising);
    if (std::isnan(d.clock[kFajr])) {
        d.clock[kFajr] = rising - NightPart(rule, night, kDawnDepression);
        d.adjusted[kFajr] = true;
    }
    if (std::isnan(d.clock[kIsha])) {
        d.clock[kIsha] = setting + NightPart(rule, night, kNightfallDepression);
        d.adjusted[kIsha] = true;
    }
}

char Digit(Seconds n) {
    return static_cast<char>('0' + n);
}

// The cells' CSV and JSON keys, in the table's order.
constexpr const char* kTimeKeys[kTimeCells] = {"fajr", "sunrise", "transit", "asr1",
                                               "asr2", "sunset",  "isha"};

// The columns of a timetable. A time is "HH:MM" ("HH:MM:SS" with seconds), with "+1" or "-1" for
// a time on the day after or before, and in the text table "*" for a dawn or nightfall filled by a
// high-latitude rule.
// The widest Hijri date of the text table: "29 جمادى الأولى 1446 هـ".
constexpr std::size_t kHijriWidth = 24;

std::vector<TableColumn> TimesColumns(bool seconds, HighLatRule rule, Format format, bool hijri) {
    const std::size_t time = (seconds ? 8 : 5) + 2;
    const std::size_t filled = time + (rule != HighLatRule::None && format == Format::Text);
    std::vector<TableColumn> columns = {
        {"date", "Date", "التاريخ", TableColumn::Text, 10},
        {"utc_offset", "UTC offset", "فرق التوقيت", TableColumn::Text, 9},
        {kTimeKeys[kFajr], "Fajr", "الفجر", TableColumn::Text, filled},
        {kTimeKeys[kSunrise], "Sunrise", "الشروق", TableColumn::Text, time},
        {kTimeKeys[kTransit], "Transit", "الزوال", TableColumn::Text, time},
        {kTimeKeys[kAsr1], "Asr 1", "العصر الأول", TableColumn::Text, time},
        {kTimeKeys[kAsr2], "Asr 2", "العصر الثاني", TableColumn::Text, time},
        {kTimeKeys[kSunset], "Sunset", "الغروب", TableColumn::Text, time},
        {kTimeKeys[kIsha], "Isha", "العشاء", TableColumn::Text, filled},
        {"adjusted", "Adjusted", "مقدّر", TableColumn::List},
    };
    if (hijri)
        columns.insert(columns.begin() + 1,
                       {"hijri", "Hijri date", "التاريخ الهجري", TableColumn::Text, kHijriWidth});
    return columns;
}

// Reads the command line; returns 0, or the exit status of a refusal already reported.
int ReadTimesRequest(const std::vector<std::string>& args, TimesRequest& r, std::FILE* err) {
    DaySpanTexts span;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error, value;
        const auto named = [&a](const std::string& option) {
            return a == option || a.rfind(option + "=", 0) == 0;
        };
        if (TakeTableOption(args, k, r.table, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (TakeDaySpanOption(args, k, span, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (named("--high-lat")) {
            if (!OptionValue(args, k, "--high-lat", value, error)) return Refuse(err, error);
            bool known = false;
            for (const RuleName& rule : kRules) {
                if (value != rule.name) continue;
                r.rule = rule.rule;
                known = true;
            }
            if (!known)
                return Refuse(err, "--high-lat takes none, middle, seventh or angle, not '" +
                                       Echo(value) + "'");
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
    std::string error;
    if (!CheckPdfOptions(r.pdf, r.table, error)) return Refuse(err, error);
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
void DayCells(const TimesDay& d, const TimesRequest& r, const std::string* name,
              const std::string* hijri, std::vector<Cell>& cells) {
    std::size_t first = name ? 1 : 0;
    cells.resize(first + (hijri ? 4 : 3) + kTimeCells);
    if (name) cells[0] = *name;
    cells[first] = DateText(d.date);
    if (hijri) cells[++first] = *hijri;
    cells[first + 1] = OffsetText(d.offset.Total());
    std::string adjusted;
    for (int c = 0; c < kTimeCells; ++c) {
        Cell& cell = cells[first + 2 + c];
        if (std::isnan(d.clock[c])) {
            cell.reset();
            continue;
        }
        cell = ClockText(d.clock[c], r.seconds);
        if (d.adjusted[c]) {
            if (r.table.format == Format::Text) *cell += '*';
            if (!adjusted.empty()) adjusted += ';';
            adjusted += kTimeKeys[c];
        }
    }
    cells.back() = std::move(adjusted);
}

std::string PlaceJson(const TablePlace& p) {
    return "{\"name\": " + JsonString(p.name) + ", \"lon\": " + NumText(p.place.Lon, ".") +
           ", \"lat\": " + NumText(p.place.Lat, ".") + ", \"zone\": " + JsonString(p.zone) + "}";
}

}  // namespace

double JulianDayOfInstant(Seconds utc) {
    return static_cast<double>(utc) / kDay + kUnixEpochJJ;
}

Seconds SecondsOfJulianDay(double JJ) {
    return static_cast<Seconds>(std::llround((JJ - kUnixEpochJJ) * 86400));
}

const SunNode& SunNoons::At(Seconds utc) {
    // About a year of noons for each of a few hundred zones (or many local mean times).
    constexpr std::size_t kMostNoons = 1 << 17;
    const auto found = nodes_.find(utc);
    if (found != nodes_.end()) return found->second;
    if (nodes_.size() >= kMostNoons) nodes_.clear();
    return nodes_.emplace(utc, SunNodeAt(JulianDayOfInstant(utc))).first->second;
}

Timetable::Timetable(const FieldOptions& place, const ZoneClock& clock, HighLatRule rule,
                     TimesMethod method, SunNoons* noons)
    : calc_(messages_), clock_(clock), rule_(rule), method_(method), noons_(noons) {
    recentNoons_.fill(std::numeric_limits<Seconds>::min());
    PrepareForTable(calc_, place, Report::kNone);
    calc_.fields.TxtEteRegl = "0";  // the day's instant is on standard time
    if (method_ == TimesMethod::Exact) {
        Place checked;
        placeRead_ = CheckPlace(place, checked, messages_.last);
        observer_ = SunObserverAt(checked.Lon, checked.Lat);
    }
}

TimesDay Timetable::Day(const Civil& date) {
    TimesDay d;
    d.date = date;
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
    FillHighLatitude(rule_, d);
    return d;
}

void Timetable::ExactDay(TimesDay& d, Seconds noonUtc) {
    if (!placeRead_) {
        d.outcome = Outcome::Refused;
        return;
    }
    const std::array<Seconds, 3> noons = {noonUtc - kDay, noonUtc, noonUtc + kDay};
    std::array<SunNode, 3> nodes;
    for (std::size_t k = 0; k < 3; ++k) {
        const auto* known = std::find(recentNoons_.begin(), recentNoons_.end(), noons[k]);
        nodes[k] = known != recentNoons_.end() ? recent_[known - recentNoons_.begin()]
                   : noons_                    ? noons_->At(noons[k])
                                               : SunNodeAt(JulianDayOfInstant(noons[k]));
    }
    const bool follows = recentNoons_[1] == noons[0];  // the day before was the last one
    recentNoons_ = noons;
    recent_ = nodes;
    // The middle node is 12:00 on the zone's standard clock.
    d.sun = SunDayTimesExact(SunCourse(nodes[0], nodes[1], nodes[2]), observer_, 12,
                             follows ? &yesterday_ : nullptr);
    yesterday_ = d.sun;
    const double summer = static_cast<double>(d.offset.summer) / kHour;
    const SunTimes& s = d.sun;
    const std::array<double, kTimeCells> times = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                  s.Asr2, s.Coucher, s.Icha};
    for (int c = 0; c < kTimeCells; ++c) d.clock[c] = times[c] + summer;
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
    const std::array<double, kTimeCells> zoneTimes = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                      s.Asr2, s.Coucher, s.Icha};
    for (int c = 0; c < kTimeCells; ++c) d.clock[c] = zoneTimes[c] + shift;
}

namespace {

// ClockText with the units of the day known to the compiler (a timetable writes seven a row).
template <Seconds kUnitsPerDay>
std::string ClockTextIn(double hours) {
    constexpr bool seconds = kUnitsPerDay == kDay;
    // A hair above one half, so that a half written in decimal hours rounds up.
    const auto units = static_cast<Seconds>(std::floor(hours * (kUnitsPerDay / 24) + 0.5 + 1e-9));
    const Seconds dayShift =
        units >= 0 ? units / kUnitsPerDay : -((kUnitsPerDay - 1 - units) / kUnitsPerDay);
    const Seconds inDay = units - dayShift * kUnitsPerDay;
    const Seconds hh = seconds ? inDay / kHour : inDay / 60;
    const Seconds mm = seconds ? inDay % kHour / 60 : inDay % 60;
    char text[16] = {Digit(hh / 10), Digit(hh % 10), ':', Digit(mm / 10), Digit(mm % 10)};
    std::size_t size = 5;
    if (seconds) {
        text[size++] = ':';
        text[size++] = Digit(inDay % 60 / 10);
        text[size++] = Digit(inDay % 10);
    }
    if (dayShift != 0) {
        const int written = std::snprintf(text + size, sizeof text - size, "%+lld",
                                          static_cast<long long>(dayShift));
        size += static_cast<std::size_t>(std::max(written, 0));
    }
    return std::string(text, size);
}

}  // namespace

std::string ClockText(double hours, bool seconds) {
    return seconds ? ClockTextIn<kDay>(hours) : ClockTextIn<1440>(hours);
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
        TimesColumns(r.seconds, r.rule, r.table.format, r.hijri.has_value());
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
    writer.SetJsonHead(head + "\"high_lat\": " + JsonString(RuleText(r.rule)) + ", \"method\": " +
                       (r.method == TimesMethod::Exact ? "\"exact\"" : "\"as-report\"") + ", ");
    // One computation of the Sun at each noon for all the places that keep that zone's time (one
    // place alone needs no store: its days come in order).
    SunNoons noons;
    std::optional<Timetable> table;
    std::optional<HijriCalendar> calendar;
    std::string hijriCell;
    std::size_t tablePlace = 0;
    const Seconds first = SecondsOf(r.from);
    // What is noted under the table, each once.
    bool missing = false, adjusted = false, fallback = false, pastHijri = false;
    const auto day = [&](std::size_t k, std::vector<Cell>& cells) {
        const std::size_t p = k / r.days;
        if (!table || tablePlace != p) {
            table.emplace(places[p].fields, *places[p].clock, r.rule, r.method,
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
        DayCells(d, r, named ? &places[p].name : nullptr, calendar ? &hijriCell : nullptr, cells);
        if (d.outcome == Outcome::Refused) return RowResult{RowEnd::Refused, table->LastMessage()};
        if (d.outcome == Outcome::Fault) return RowResult{RowEnd::Fault, table->LastMessage()};
        for (int c = 0; c < kTimeCells; ++c) {
            if (std::isnan(d.clock[c]) && !missing) {
                missing = true;
                writer.Note(0, arabic ? "— لا تبلغ الشمس ارتفاع هذا الوقت في ذلك اليوم"
                                      : "— the Sun does not reach the altitude of this time on "
                                        "that day");
            }
            if (d.adjusted[c] && !adjusted) {
                adjusted = true;
                writer.Note(
                    1, arabic
                           ? std::string("* وقت مقدّر لخطوط العرض العليا بقاعدة ") + RuleText(r.rule)
                           : std::string("* filled by the high-latitude rule ") + RuleText(r.rule));
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
    TimetableJob job{{}, r.from, r.days, r.rule, r.pdf.asr, r.seconds, r.method, r.hijri};
    for (const TablePlace& p : places) {
        TimetablePlace page{r.placesFile.empty() ? r.pdf.name : p.name, r.table};
        std::string ignored;  // the file's zones were read once already
        PlaceClockOptions(p.zone, r.table, page.options, ignored);
        page.options.place = p.fields;
        job.places.push_back(std::move(page));
    }
    return job;
}

int RunTimes(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    TimesRequest r;
    if (const int refused = ReadTimesRequest(args, r, err)) return refused;
    std::vector<TablePlace> places;
    if (const int refused = PlacesOfRequest(r, places, err)) return refused;
    if (!r.pdf.file.empty()) return WritePdf(JobOf(r, places), r.pdf.file, err);
    return WriteTimesTables(r, places, out, err);
}

}  // namespace zerin::cli
