#include "CrescentCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "FieldOptions.h"
#include "Json.h"
#include "ModuleLoader.h"
#include "ReportCommand.h"
#include "TableOptions.h"
#include "TableWriter.h"
#include "Times.h"
#include "crescent/CrescentMap.h"
#include "crescent/CrescentReport.h"
#include "report/Echo.h"
#include "report/NumText.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

// A number with a fixed count of decimals and the given separator ("-0.0" written "0.0").
std::string Fixed(double x, int decimals, const std::string& separator) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    std::string s = text;
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-') s.erase(0, 1);
    const std::size_t point = s.find('.');
    if (point != std::string::npos) s.replace(point, 1, separator);
    return s;
}

}  // namespace

int RunCrescentReport(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    return RunReportCommand(
        args, out, err, "--morning",
        [](Report& report, Messenger& messenger, FieldOptions& o, bool morning) {
            return RunCrescent(report, messenger, o.fields, o.east, o.north, morning);
        });
}

// ------------------------------------------------------------------ the table

namespace {

enum CrescentCell {
    kDate,
    kConjunction,
    kSunCrossing,
    kMoonCrossing,
    kLag,
    kAge,
    kArcl,
    kArcv,
    kWidth,
    kQ,
    kYallop,
    kV,
    kOdeh,
    kStatus,
    kCrescentCells
};

// What each end of an evening (morning) says in the status column: English, Arabic.
struct StatusText {
    const char* english[2];
    const char* arabic[2];
};
const StatusText kEndTexts[] = {
    {{"", ""}, {"", ""}},
    {{"no sunset", "no sunrise"}, {"لا غروب", "لا شروق"}},
    {{"no moonset", "no moonrise"}, {"لا يغرب القمر", "لا يشرق القمر"}},
    {{"conjunction after sunset", "conjunction before sunrise"},
     {"الاجتماع بعد الغروب", "الاجتماع قبل الشروق"}},
    {{"moon sets first", "moon rises after the sun"}, {"يغرب القمر أولاً", "يشرق القمر بعد الشمس"}},
};

std::vector<TableColumn> CrescentColumns(bool morning) {
    std::size_t status = 0;
    for (const StatusText& s : kEndTexts)
        status =
            std::max({status, DisplayWidth(s.english[morning]), DisplayWidth(s.arabic[morning])});
    const std::size_t time = 5 + 2;
    return {
        {"date", "Date", "التاريخ", TableColumn::Text, 10},
        {"conjunction", "Conjunction", "الاجتماع", TableColumn::Text, 16},
        {morning ? "sunrise" : "sunset", morning ? "Sunrise" : "Sunset",
         morning ? "الشروق" : "الغروب", TableColumn::Text, time},
        {morning ? "moonrise" : "moonset", morning ? "Moonrise" : "Moonset",
         morning ? "شروق القمر" : "غروب القمر", TableColumn::Text, time},
        {"lag_min", "Lag (min)", "المكث (د)", TableColumn::Number, 7},
        {"age_h", "Age (h)", "العمر (س)", TableColumn::Number, 7},
        {"arcl_deg", "ARCL", "ARCL", TableColumn::Number, 6},
        {"arcv_deg", "ARCV", "ARCV", TableColumn::Number, 6},
        {"w_arcmin", "W'", "W'", TableColumn::Number, 5},
        {"q", "q", "q", TableColumn::Number, 7},
        {"yallop", "Yallop", "يالوب", TableColumn::Text, 1},
        {"v", "V", "V", TableColumn::Number, 7},
        {"odeh", "Odeh", "عودة", TableColumn::Text, 1},
        {"status", "Note", "ملاحظة", TableColumn::Text, status},
    };
}

struct CrescentRequest {
    TableOptions table;
    Civil from;
    std::size_t days = 0;
    bool morning = false;
};

int ReadCrescentRequest(const std::vector<std::string>& args, CrescentRequest& r, std::FILE* err) {
    DaySpanTexts span;
    PlaceGiven given;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error;
        if (TakeTableOption(args, k, r.table, given, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (TakeDaySpanOption(args, k, span, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (a == "--morning") {
            r.morning = true;
        } else {
            return Refuse(err, "unknown option of crescent '" + Echo(a) + "'");
        }
    }
    return ReadDaySpan("crescent", span, r.from, r.days, err);
}

// Computes the evenings of one place on one clock with the crescent command, its report off.
class CrescentRows {
  public:
    // The place as CheckPlace gives it.
    CrescentRows(const Place& place, const ZoneClock& clock, bool morning, Language headers,
                 std::string separator, TableWriter& writer)
        : place_(place),
          clock_(clock),
          writer_(writer),
          morning_(morning),
          arabic_(headers == Language::Arabic),
          separator_(std::move(separator)) {
        report_.SetSinks(Report::kNone);
    }

    RowResult Row(const Civil& date, std::vector<Cell>& cells) {
        cells.assign(kCrescentCells, std::nullopt);
        cells[kDate] = DateText(date);
        if (clock_.SkipsDate(date)) {
            return {RowEnd::Skipped, writer_.SkippedDate(1, DateText(date))};
        }
        Civil noon = date;
        noon.hour = 12;
        noon.minute = noon.second = 0;
        const Seconds utc = clock_.FromStandard(SecondsOf(noon));
        const ClockOffset offset = clock_.At(utc);
        // The date goes in on the clock of the zone's whole hours (truncated toward zero); its
        // times are then moved to the real clock, summer time included.
        const Seconds wholeHours = offset.standard / kHour;
        CrescentReport r;
        const Outcome outcome = Compute(CivilOf(utc + wholeHours * kHour), wholeHours, r);
        if (outcome == Outcome::Refused) return {RowEnd::Refused, messages_.last};
        if (outcome == Outcome::Fault) return {RowEnd::Fault, messages_.last};
        const double shift =
            static_cast<double>(offset.standard - wholeHours * kHour + offset.summer) / 3600;
        const CrescentEvening& e = r.evening;
        if (std::isfinite(r.conjunction.JJ)) {
            const Seconds conjunction = SecondsOfJulianDay(r.conjunction.JJ);
            // To the nearest minute, on the clock of the conjunction's own instant.
            const Seconds local = conjunction + clock_.At(conjunction).Total();
            cells[kConjunction] =
                DateTimeText(CivilOf(FloorDiv(local + 30, 60) * 60), ' ').substr(0, 16);
        }
        if (e.sun.kind == Crossing::Kind::Found)
            cells[kSunCrossing] = ClockText(r.Hours(e.sun.JJ) + shift, false);
        if (e.moon.kind == Crossing::Kind::Found)
            cells[kMoonCrossing] = ClockText(r.Hours(e.moon.JJ) + shift, false);
        if (std::isfinite(e.Lag)) cells[kLag] = Fixed(e.Lag, 1, separator_);
        if (std::isfinite(e.Age)) cells[kAge] = Fixed(e.Age, 1, separator_);
        if (e.end == CrescentEnd::Computed) {
            const BestTime& b = e.best;
            cells[kArcl] = Fixed(b.ARCL, 2, separator_);
            cells[kArcv] = Fixed(b.ARCV, 2, separator_);
            cells[kWidth] = Fixed(b.W, 2, separator_);
            cells[kQ] = Fixed(b.q, 3, separator_);
            cells[kYallop] = std::string(1, e.yallop);
            cells[kV] = Fixed(b.V, 2, separator_);
            cells[kOdeh] = std::string(1, e.odeh);
        }
        const StatusText& status = kEndTexts[static_cast<int>(e.end)];
        cells[kStatus] = arabic_ ? status.arabic[morning_] : status.english[morning_];
        return {};
    }

  private:
    // The crescent of the date of `entered` (its noon) on the clock of the zone's whole hours,
    // on standard time.
    Outcome Compute(const Civil& entered, Seconds wholeHours, CrescentReport& r) {
        const Reading<Observer> atNoon =
            ObserverAt(place_, static_cast<std::int16_t>(-wholeHours), 0,
                       ClockOf(entered.year, entered.month, entered.day, 12, 0, 0));
        if (!atNoon) {
            messages_.last = atNoon.refused().english;
            return Outcome::Refused;
        }
        return WriteCrescentReport(report_, messages_, *atNoon, morning_, &r);
    }

    TableMessenger messages_;
    Report report_;
    Place place_;
    const ZoneClock& clock_;
    TableWriter& writer_;
    bool morning_, arabic_;
    std::string separator_;
};

}  // namespace

int RunCrescentTable(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    CrescentRequest r;
    if (const int refused = ReadCrescentRequest(args, r, err)) return refused;
    std::string error;
    Place place;
    if (!CheckPlace(r.table.place, place, error)) return Refuse(err, error);
    const std::unique_ptr<ZoneClock> clock = MakeClock(r.table, error);
    if (!clock) return Refuse(err, error);
    const Seconds first = SecondsOf(r.from);
    const Seconds lastNoon = first + static_cast<Seconds>(r.days - 1) * kDay + 12 * kHour;
    if (!ClockKnows(*clock, r.table, clock->FromStandard(lastNoon), error))
        return Refuse(err, error);

    const Language headers = HeaderLanguage(r.table);
    TableWriter writer(r.table.format, headers, CrescentColumns(r.morning), out, err);
    writer.SetJsonHead("\"lon\": " + NumText(place.Lon, ".") +
                       ", \"lat\": " + NumText(place.Lat, ".") +
                       ", \"morning\": " + (r.morning ? "true" : "false") + ", ");
    const std::string separator =
        r.table.format == Format::Text ? RegionalDecimalSeparator() : std::string(".");
    CrescentRows rows(place, *clock, r.morning, headers, separator, writer);
    const auto row = [&](std::size_t k, std::vector<Cell>& cells) {
        return rows.Row(CivilOf(first + static_cast<Seconds>(k) * kDay), cells);
    };
    return WriteRows(writer, r.days, row, err);
}

int RunCrescentMap(const std::vector<std::string>& args, std::FILE*, std::FILE* err) {
    CrescentMapRequest request;
    std::string date, criterion = "yallop";
    bool havePng = false;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error;
        const auto named = [&a](const char* option) { return IsOption(a, option); };
        if (named("--date") || named("--png") || named("--criterion")) {
            const std::string option = a.substr(0, a.find('='));
            std::string& target = option == "--date"  ? date
                                  : option == "--png" ? request.png
                                                      : criterion;
            if (!FileOptionValue(args, k, option, target, error)) return Refuse(err, error);
            havePng = havePng || option == "--png";
        } else if (a == "--morning") {
            request.morning = true;
        } else {
            return Refuse(err, "unknown option of crescent-map '" + Echo(a) + "'");
        }
    }
    if (date.empty()) return Refuse(err, "crescent-map needs --date YYYY-MM-DD");
    if (!havePng || request.png.empty()) return Refuse(err, "crescent-map needs --png FILE");
    if (criterion != "yallop" && criterion != "odeh")
        return Refuse(err, "--criterion takes yallop or odeh, not '" + Echo(criterion) + "'");
    request.criterion = criterion == "odeh" ? Criterion::Odeh : Criterion::Yallop;
    Civil civil;
    std::string error;
    if (!ParseDate(date, false, civil, error)) return Refuse(err, error);
    request.year = civil.year;
    request.month = civil.month;
    request.day = civil.day;

    std::string failures;
    const WindowsEntries* windows = LoadWindowsEntries(failures);
    if (!windows) {
        std::fprintf(err,
                     "zerin: the map is drawn by the windows' module, which could not be "
                     "loaded:%s\n",
                     failures.c_str());
        return 1;
    }
    std::string message;
    const int status = windows->writeCrescentMap(request, message);
    if (!message.empty()) std::fprintf(err, "zerin: %s\n", message.c_str());
    return status;
}

const char* const kCrescentHelp =
    R"(
The crescent: zerin report crescent, zerin crescent and zerin crescent-map
  zerin report crescent [FIELD OPTIONS] [--morning] [--json]
  zerin crescent [PLACE] --from YYYY-MM-DD (--days N | --to YYYY-MM-DD) [--morning]
              [ZONE] [--csv | --json] [--lang ar|en]
  zerin crescent-map --date YYYY-MM-DD --png FILE [--criterion yallop|odeh] [--morning]

  report crescent: can the new crescent be seen on the evening of the date (the old one
  on its morning with --morning)? The place, zone, summer-time and date fields as for
  the other reports; the time fields are not used (the Julian-day section is that of
  12:00:00 of the date on the local clock). Delta T (TT - UT) of the date's month by
  the polynomials of Espenak and Meeus (2006); the conjunction nearest the date, by
  iteration from the mean lunation; sunset and moonset (upper limb on the horizon with
  standard refraction: the Sun's centre at -0.8333 degrees, the Moon's at 0.7275
  parallax - 0.5667), the lag and the Moon's age at sunset; at the best time (sunset +
  4/9 of the lag) the geocentric airless ARCL, ARCV, DAZ, the crescent's width W', and
  Yallop's q with its zone A-F; the topocentric ARCL', ARCV', W and Odeh's V with its
  zone A-D. Times are decimal hours of the zone's standard time. A conjunction after
  sunset (before sunrise), a Moon that sets first (rises after the Sun), or a day without
  sunset or moonset end the report with a line that says so (the last two also with a
  message on standard error); the status is still 0. With --json the values are named
  DeltaT (s), Conj (Julian day, UT), Coucher and CoucherLune (Lever and LeverLune with
  --morning), Lag (min), Age (h), ARCL, ARCV, DAZ (deg), W and Wt (arcmin), q and V.

  crescent: one row per evening (morning) with the conjunction on the local clock,
  sunset and moonset (sunrise and moonrise) as HH:MM, the lag in minutes, the age in
  hours, ARCL and ARCV in degrees, W' in minutes of arc, q and Yallop's zone, V and
  Odeh's zone, and a note when there is nothing to see; numbers rounded as Yallop's
  table gives them. PLACE, ZONE and the formats as for the other tables.

  crescent-map: the world from 60 degrees South to 60 North, each degree coloured by the
  zone of Yallop's criterion (or Odeh's) on the evening (morning) of the date at that
  place, with coastlines (Natural Earth) and an Arabic legend, written as a PNG file
  (--png - writes it to standard output).
)";

}  // namespace zerin::cli
