#include "Cli.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "CalendarOptions.h"
#include "ChartCommand.h"
#include "CrescentCommands.h"
#include "Ephemeris.h"
#include "FieldOptions.h"
#include "HijriCommands.h"
#include "Json.h"
#include "PlaceCommands.h"
#include "ReportCommand.h"
#include "TableOptions.h"
#include "TimesCommand.h"
#include "Version.h"
#include "qibla/QiblaReport.h"
#include "report/Commands.h"
#include "report/Echo.h"
#include "report/Preface.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

constexpr const char* kUsage =
    R"(Usage: zerin                       open the windows
       zerin report BODY [FIELD OPTIONS] [--json]
       zerin report qibla [FIELD OPTIONS] [--json]
       zerin times [PLACE] --from DATE (--days N | --to DATE) [ZONE] [FORMAT]
       zerin ephemeris BODY [PLACE] --from DATE --to DATE --step N(d|h|m) [ZONE] [FORMAT]
       zerin hijri [DATE | --to-gregorian DATE | --year YEAR] [--rule RULE] [PLACE]
       zerin report month [--hijri YYYY-MM] [FIELD OPTIONS] [--json]
       zerin report crescent [FIELD OPTIONS] [--morning] [--json]
       zerin crescent [PLACE] --from DATE (--days N | --to DATE) [--morning] [ZONE] [FORMAT]
       zerin crescent-map --date DATE --png FILE [--criterion yallop|odeh] [--morning]
       zerin chart day|sky [PLACE] [--date DATE] [--time T] (--png FILE | --svg FILE)
       zerin places NAME | --near LAT,LON | --mine   [--json]
       zerin preface
       zerin --help | --version

Zerin shows how an ephemeris is computed: every step of its work, an Arabic label, the
formula as text and the value, in one report (UTF-8, CR LF line ends).

Commands:
  report BODY   write to standard output the report that the body's button leaves in
                the report window. BODY is sun, moon, mercury, venus, mars, jupiter,
                saturn, uranus, neptune or pluto. "report sun" does what the Sun button
                does: it first limits the day to the month's length (31 April becomes
                30), then computes the Julian day and the Sun with its rising, setting
                and prayer times. The Moon and the planets use the day as given.
                With --json: the report's values instead of its text, as a JSON
                array of {"name", "value", "unit"} in report order (names as the
                report writes them, "Lg_Soleil", "MIDI"; values as the report prints
                them, with a period; unit null for a pure number).
  report qibla  the direction of the Kaaba from the place (degrees from true North
                through the East, by the great circle), the distance to it on a sphere
                of 6371 km and on the WGS84 ellipsoid (Vincenty's method), and the two
                days of the date's year when the Sun stands over the Kaaba at its
                transit, with that instant on the place's clock (zone and summer time).
                With --json the bearing is "Qibla" (deg) and the distance "Distance" (km).
  times         a timetable of the prayer times, one row per day (see Tables below).
  ephemeris     a body's place, one row per instant (see Tables below).
  hijri         a date on the Hijri calendar by one of four rules, or back; a year's
                month starts side by side (see The Hijri calendar below).
  report crescent
                can the new crescent be seen this evening (see The crescent below).
  crescent      the crescent's evenings, one row each (see The crescent below).
  crescent-map  where on Earth the crescent can be seen on an evening, as a PNG file.
  chart         the Sun's day with the prayer times' altitudes, or the sky of an
                instant, as a PNG or SVG picture (see Charts below).
  places        find a place by its name, in Arabic or Latin letters (see Places
                below); --place NAME gives any command that place.
  preface       write the preface text (the program's conventions, in Arabic).

)";

constexpr const char* kStatusHelp =
    R"(
Values use the decimal separator of your regional settings (LC_NUMERIC); formula texts
always use periods. Under LC_ALL=C values use a period.

Exit status:
  0  the report was written. When the Sun never reaches the altitude of a prayer time
     (polar day or night, bright high-latitude nights) the report ends early with its
     end line and the message goes to standard error: this is still 0.
  1  a calculation fault (only absurd input reaches one): the report up to that point
     on standard output, the message on standard error; or the output failed.
  2  a usage error, or input that is refused (a date in the days dropped by the
     Gregorian reform, 5 to 14 October 1582; a zone or summer time outside
     -32768..32767; a field number too large to compute with): the message on
     standard error, nothing on standard output.
)";

int Report(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    if (args.size() < 2)
        return Refuse(
            err, "report needs a body: sun, moon, mercury ... pluto, crescent, qibla or month");
    if (args[1] == "month") return RunMonthReport(args, out, err);
    if (args[1] == "crescent") return RunCrescentReport(args, out, err);
    if (args[1] == "qibla")
        return RunReportCommand(
            args, out, err, nullptr,
            [](zerin::Report& report, Messenger& messenger, FieldOptions& o, bool) {
                return RunQibla(report, messenger, o.fields, o.east, o.north);
            });
    const std::optional<Body> body = BodyFromName(args[1]);
    if (!body) return Refuse(err, "unknown body '" + Echo(args[1]) + "'");
    return RunReportCommand(
        args, out, err, nullptr,
        [&](zerin::Report& report, Messenger& messenger, FieldOptions& o, bool) {
            return RunBody(report, messenger, o.fields, o.east, o.north, *body);
        });
}

}  // namespace

void StderrMessenger::critical(const Message& message) {
    std::string arabic = message.arabic;
    for (std::size_t k; (k = arabic.find("\r\n")) != std::string::npos;)
        arabic.replace(k, 2, "\n       ");
    std::fprintf(err_, "zerin: %s\nzerin: %s\n", arabic.c_str(), message.english.c_str());
}

int RunReportCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                     const char* flag, const ReportCommand& run) {
    FieldOptions options;
    FillFromClock(options.fields);
    bool json = false, flagGiven = false;
    for (std::size_t k = 2; k < args.size(); ++k) {
        std::string error;
        if (args[k] == "--json" || (flag && args[k] == flag)) {
            (args[k] == "--json" ? json : flagGiven) = true;
            continue;
        }
        if (TakeFieldOption(args, k, options, error)) {
            if (!error.empty()) return Refuse(err, error);
            continue;
        }
        return Refuse(err,
                      "unknown option of report " + Echo(args[1]) + " '" + Echo(args[k]) + "'");
    }
    StderrMessenger messenger(err);
    zerin::Report report;
    report.SetDecimalSeparator(RegionalDecimalSeparator());
    if (json) report.SetSinks(zerin::Report::kValues);
    const Outcome outcome = run(report, messenger, options, flagGiven);
    if (outcome == Outcome::Refused) return 2;
    const std::string written = json ? ReportValuesJson(report.Values()) : report.Str();
    if (!WriteAll(out, err, written)) return 1;
    return outcome == Outcome::Fault ? 1 : 0;
}

namespace {

constexpr const char* kReportHelp =
    R"(Usage: zerin report BODY [FIELD OPTIONS] [--json]
       zerin report qibla [FIELD OPTIONS] [--json]
       zerin report month [--hijri YYYY-MM] [FIELD OPTIONS] [--json]
       zerin report crescent [FIELD OPTIONS] [--morning] [--json]
  BODY: sun, moon, mercury, venus, mars, jupiter, saturn, uranus, neptune or pluto.
  --json writes the report's values instead of its text.

)";

constexpr const char* kPrefaceHelp =
    "Usage: zerin preface\n"
    "  writes the preface text (the program's conventions, in Arabic); no options.\n";

std::string CommandOptionsHelp(const std::string& command);

// The first line of a command's help.
std::string UsageLine(const std::string& command) {
    if (command == "times")
        return "Usage: zerin times [PLACE | --places FILE] --from DATE (--days N | --to DATE) "
               "[ZONE] [FORMAT]\n";
    if (command == "ephemeris")
        return "Usage: zerin ephemeris BODY [PLACE] --from DATE --to DATE --step N(d|h|m) [ZONE] "
               "[FORMAT]\n";
    if (command == "hijri")
        return "Usage: zerin hijri [DATE | --to-gregorian DATE | --year YEAR] [--rule RULE] "
               "[PLACE]\n";
    if (command == "crescent")
        return "Usage: zerin crescent [PLACE] --from DATE (--days N | --to DATE) [--morning] "
               "[ZONE] [FORMAT]\n";
    if (command == "crescent-map")
        return "Usage: zerin crescent-map --date DATE --png FILE [--criterion yallop|odeh] "
               "[--morning]\n";
    if (command == "chart")
        return "Usage: zerin chart day|sky [PLACE] [--date DATE] [--time T] (--png FILE | --svg "
               "FILE) [--size WxH]\n";
    if (command == "places") return "Usage: zerin places NAME | --near LAT,LON | --mine [--json]\n";
    return {};
}

// The help of one command: its usage and the options it takes; empty for an unknown command.
std::string CommandHelp(const std::string& command) {
    const std::string help = CommandOptionsHelp(command);
    return help.empty() ? help : UsageLine(command) + help;
}

// The options of one command, after its usage line (report's and preface's begin with theirs).
std::string CommandOptionsHelp(const std::string& command) {
    if (command == "report")
        return std::string(kReportHelp) + kFieldOptionsHelp + kHijriHelp + kCrescentHelp +
               kPlacesHelp + kStatusHelp;
    if (command == "times")
        return std::string(kTablesHelp) + kMethodsHelp + kPdfHelp + kIcsHelp + kPlacesHelp;
    if (command == "ephemeris") return std::string(kTablesHelp) + kPlacesHelp;
    if (command == "hijri") return std::string(kHijriHelp) + kPlacesHelp;
    if (command == "crescent" || command == "crescent-map")
        return std::string(kCrescentHelp) + kPlacesHelp;
    if (command == "chart") return std::string(kChartHelp) + kMethodsHelp + kPlacesHelp;
    if (command == "preface") return kPrefaceHelp;
    if (command == "places") return kPlacesHelp;
    return {};
}

}  // namespace

int Run(const std::vector<std::string>& given, std::FILE* out, std::FILE* err) {
    if (given.empty()) return Refuse(err, "no command");
    if (given.size() > 1 && std::find(given.begin() + 1, given.end(), "--help") != given.end()) {
        const std::string help = CommandHelp(given[0]);
        if (!help.empty()) return WriteAll(out, err, help) ? 0 : 1;
    }
    if (given[0] == "places") return RunPlaces(given, out, err);
    std::vector<std::string> args = given;
    if (const int status = ExpandPlaceOption(args, err)) return status;
    const std::string& command = args[0];
    if ((command == "--help" || command == "-h" || command == "--version") && args.size() > 1)
        return Refuse(err, command + " takes nothing after it, not '" + Echo(args[1]) + "'");
    if (command == "--help" || command == "-h" || command == "help") {
        const std::string help = std::string(kUsage) + kFieldOptionsHelp + kTablesHelp +
                                 kMethodsHelp + kPdfHelp + kIcsHelp + kCrescentHelp + kChartHelp +
                                 kHijriHelp + kPlacesHelp + kStatusHelp;
        return WriteAll(out, err, help) ? 0 : 1;
    }
    if (command == "--version")
        return WriteAll(out, err, std::string("zerin ") + kZerinVersion + "\n") ? 0 : 1;
    if (command == "report") return Report(args, out, err);
    if (command == "times") return RunTimes(args, out, err);
    if (command == "ephemeris") return RunEphemeris(args, out, err);
    if (command == "hijri") return RunHijri(args, out, err);
    if (command == "crescent") return RunCrescentTable(args, out, err);
    if (command == "crescent-map") return RunCrescentMap(args, out, err);
    if (command == "chart") return RunChart(args, out, err);
    if (command == "preface") {
        if (args.size() > 1) return Refuse(err, "preface takes no options");
        return WriteAll(out, err, PrefaceText()) ? 0 : 1;
    }
    return Refuse(err, "unknown command '" + Echo(command) + "'");
}

}  // namespace zerin::cli
