#include "Times.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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
std::vector<TableColumn> TimesColumns(bool seconds, HighLatRule rule, Format format) {
    const std::size_t time = (seconds ? 8 : 5) + 2;
    const std::size_t filled = time + (rule != HighLatRule::None && format == Format::Text);
    return {
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
}

struct TimesRequest {
    TableOptions table;
    Civil from;
    std::size_t days = 0;
    HighLatRule rule = HighLatRule::None;
    bool seconds = false;
    PdfOptions pdf;
};

// Reads the command line; returns 0, or the exit status of a refusal already reported.
int ReadTimesRequest(const std::vector<std::string>& args, TimesRequest& r, std::FILE* err) {
    std::string from, to, days;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error, value;
        const auto named = [&a](const std::string& option) {
            return a == option || a.rfind(option + "=", 0) == 0;
        };
        if (TakeTableOption(args, k, r.table, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (named("--from") || named("--to") || named("--days")) {
            const std::string option = a.substr(0, a.find('='));
            std::string& target = option == "--from" ? from : option == "--to" ? to : days;
            if (!OptionValue(args, k, option, target, error)) return Refuse(err, error);
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
        } else if (TakePdfOption(args, k, r.pdf, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else {
            return Refuse(err, "unknown option of times '" + Echo(a) + "'");
        }
    }
    std::string error;
    if (!CheckPdfOptions(r.pdf, r.table, error)) return Refuse(err, error);
    if (from.empty()) return Refuse(err, "times needs --from YYYY-MM-DD");
    if (days.empty() == to.empty())
        return Refuse(err, "times needs either --days N or --to YYYY-MM-DD");
    if (!ParseDate(from, false, r.from, error)) return Refuse(err, error);
    Seconds count = 0;
    if (!to.empty()) {
        Civil last;
        if (!ParseDate(to, false, last, error)) return Refuse(err, error);
        if (SecondsOf(last) < SecondsOf(r.from))
            return Refuse(err, "--to " + Echo(to) + " is before --from " + Echo(from));
        count = (SecondsOf(last) - SecondsOf(r.from)) / kDay + 1;
    } else {
        if (days.empty() || days.size() > 9 ||
            days.find_first_not_of("0123456789") != std::string::npos)
            return Refuse(err, "--days takes a number of days, not '" + Echo(days) + "'");
        count = std::stoll(days);
        if (count == 0) return Refuse(err, "--days 0: a table needs at least one day");
    }
    if (count > static_cast<Seconds>(kMaxRows))
        return Refuse(err, "a table of " + std::to_string(count) + " rows: at most 1,000,000");
    if (CivilOf(SecondsOf(r.from) + (count - 1) * kDay).year > 9999)
        return Refuse(err, "the table would go past 9999-12-31");
    r.days = static_cast<std::size_t>(count);
    return 0;
}

// The row of a day in the chosen format, into cells (reused from row to row).
void DayCells(const TimesDay& d, const TimesRequest& r, std::vector<Cell>& cells) {
    cells.resize(3 + kTimeCells);
    cells[0] = DateText(d.date);
    cells[1] = OffsetText(d.offset.Total());
    std::string adjusted;
    for (int c = 0; c < kTimeCells; ++c) {
        Cell& cell = cells[2 + c];
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

}  // namespace

Timetable::Timetable(const FieldOptions& place, const ZoneClock& clock, HighLatRule rule)
    : calc_(messages_), clock_(clock), rule_(rule) {
    PrepareForTable(calc_, place, Report::kNone);
    calc_.fields.TxtEteRegl = "0";  // the day's instant is on standard time
}

TimesDay Timetable::Day(const Civil& date) {
    TimesDay d;
    d.date = date;
    Civil noon = date;
    noon.hour = 12;
    noon.minute = noon.second = 0;
    const Seconds utc = clock_.FromStandard(SecondsOf(noon));
    d.offset = clock_.At(utc);
    // The instant goes in on the clock of the zone's whole hours (truncated toward zero): 12:00 at
    // +05:30 is 11:30 at zone -5; the cells are then moved to the real clock.
    const Seconds wholeHours = d.offset.standard / kHour;
    EnterClockReading(calc_.fields, CivilOf(utc + wholeHours * kHour));
    calc_.fields.TxtZone = std::to_string(-wholeHours);
    d.outcome = RunBody(calc_, Body::Sun);
    if (d.outcome != Outcome::Written) {
        d.clock.fill(std::nan(""));
        return d;
    }
    d.sun = calc_.sunTimes;
    const double shift =
        static_cast<double>(d.offset.standard - wholeHours * kHour + d.offset.summer) / 3600;
    const SunTimes& s = d.sun;
    const std::array<double, kTimeCells> zoneTimes = {s.Fajr, s.Lever,   s.MIDI, s.Asr1,
                                                      s.Asr2, s.Coucher, s.Icha};
    for (int c = 0; c < kTimeCells; ++c) d.clock[c] = zoneTimes[c] + shift;
    FillHighLatitude(rule_, d);
    return d;
}

std::string ClockText(double hours, bool seconds) {
    const Seconds unitsPerDay = seconds ? kDay : 1440;
    // A hair above one half, so that a half written in decimal hours rounds up.
    const auto units = static_cast<Seconds>(std::floor(hours * (unitsPerDay / 24) + 0.5 + 1e-9));
    const Seconds dayShift = FloorDiv(units, unitsPerDay);
    const Seconds inDay = units - dayShift * unitsPerDay;
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

int RunTimes(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    TimesRequest r;
    if (const int refused = ReadTimesRequest(args, r, err)) return refused;
    std::string error;
    Place place;
    if (!CheckPlace(r.table.place, place, error)) return Refuse(err, error);
    const std::unique_ptr<ZoneClock> clock = MakeClock(r.table, error);
    if (!clock) return Refuse(err, error);
    const Seconds first = SecondsOf(r.from);
    const Seconds lastNoon = first + static_cast<Seconds>(r.days - 1) * kDay + 12 * kHour;
    if (!ClockKnows(*clock, r.table, clock->FromStandard(lastNoon), error))
        return Refuse(err, error);
    if (!r.pdf.file.empty())
        return WritePdf({{{r.pdf.name, r.table}}, r.from, r.days, r.rule, r.pdf.asr, r.seconds},
                        r.pdf.file, err);

    const Language headers = HeaderLanguage(r.table);
    const bool arabic = headers == Language::Arabic;
    TableWriter writer(r.table.format, headers, TimesColumns(r.seconds, r.rule, r.table.format),
                       out, err);
    writer.SetJsonHead("\"lon\": " + NumText(place.Lon, ".") +
                       ", \"lat\": " + NumText(place.Lat, ".") +
                       ", \"high_lat\": " + JsonString(RuleText(r.rule)) + ", ");
    Timetable table(r.table.place, *clock, r.rule);
    bool missing = false, adjusted = false;  // noted under the table
    const auto day = [&](std::size_t k, std::vector<Cell>& cells) {
        const TimesDay d = table.Day(CivilOf(first + static_cast<Seconds>(k) * kDay));
        DayCells(d, r, cells);
        if (d.outcome == Outcome::Refused) return RowResult{RowEnd::Refused, table.LastMessage()};
        if (d.outcome == Outcome::Fault) return RowResult{RowEnd::Fault, table.LastMessage()};
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
    return WriteRows(writer, r.days, day, err);
}

}  // namespace zerin::cli
