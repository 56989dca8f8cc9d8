#include "TimesCommand.h"

#include <cmath>
#include <cstdlib>

#include "CalendarOptions.h"
#include "FieldOptions.h"
#include "ModuleLoader.h"
#include "SourceDate.h"
#include "TableOptions.h"
#include "TimesTable.h"
#include "report/Echo.h"
#include "report/NumText.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

// Reads a decimal number within [low, high]; false with a message naming the option otherwise.
bool ReadNumber(const std::string& option, const std::string& text, double low, double high,
                const char* unit, double& value, std::string& error) {
    if (ReadDecimal(text, value) && value >= low && value <= high) return true;
    error = option + " takes " + NumText(low, ".") + " to " + NumText(high, ".") + " " + unit +
            ", not '" + Echo(text) + "'";
    return false;
}

}  // namespace

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

namespace {

// Reads the command line; returns 0, or the exit status of a refusal already reported.
int ReadTimesRequest(const std::vector<std::string>& args, TimesRequest& r, PdfOptions& pdf,
                     IcsOptions& ics, std::FILE* err) {
    DaySpanTexts span;
    PlaceGiven given;
    PrayerOptions prayer;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        std::string error, value;
        const auto named = [&a](const char* option) { return IsOption(a, option); };
        if (TakeTableOption(args, k, r.table, given, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (TakeDaySpanOption(args, k, span, error)) {
            if (!error.empty()) return Refuse(err, error);
        } else if (const int taken = TakePrayerOption(args, k, prayer, err); taken >= 0) {
            if (taken > 0) return taken;
        } else if (a == "--seconds") {
            r.seconds = true;
        } else if (a == "--as-report") {
            r.method = TimesMethod::AsReport;
        } else if (a == "--settings-line") {
            r.settingsLine = true;
        } else if (named("--places")) {
            if (!FileOptionValue(args, k, "--places", r.placesFile, error))
                return Refuse(err, error);
            if (r.placesFile.empty()) return Refuse(err, "--places needs the name of a CSV file");
        } else if (TakePdfOption(args, k, pdf, error) || TakeIcsOption(args, k, ics, error)) {
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
    if (r.settingsLine &&
        (r.table.format != Format::Csv || !pdf.file.empty() || !ics.target.empty()))
        return Refuse(err,
                      "--settings-line writes the settings as the last line of the CSV: it goes "
                      "with --csv");
    std::string error;
    if (!CheckIcsOptions(ics, r, !pdf.file.empty(), error)) return Refuse(err, error);
    if (!ics.target.empty()) pdf.givenWithoutPdf.clear();  // --name names the calendar's place
    if (!CheckPdfOptions(pdf, r.table, error)) return Refuse(err, error);
    if (!pdf.file.empty() && r.settings.moon)
        return Refuse(err,
                      "--moon adds columns that the PDF does not have: write the Moon's times "
                      "with the text table, --csv or --json");
    if (!pdf.name.empty() && !r.placesFile.empty())
        return Refuse(err,
                      "--name names the place of the command line: with --places the file "
                      "names each place");
    if (!r.placesFile.empty()) {
        for (const AxisOptions* axis : {&given.lon, &given.lat}) {
            const std::string& given = !axis->whole.empty()   ? axis->whole
                                       : !axis->field.empty() ? axis->field
                                                              : axis->side;
            if (!given.empty())
                return Refuse(err, "--places gives the places: it does not go with " + given);
        }
    }
    return ReadDaySpan("times", span, r.from, r.days, err);
}

// The pages of a request: `name` names the place of the command line.
TimetableJob JobOf(const TimesRequest& r, const std::string& name,
                   const std::vector<TablePlace>& places) {
    TimetableJob job{{}, r.from, r.days, r.settings, r.seconds, r.method, r.hijri};
    for (const TablePlace& p : places) {
        TimetablePlace page{r.placesFile.empty() ? name : p.name, r.table};
        std::string ignored;  // the file's zones were read once already
        PlaceClockOptions(p.zone, r.table, page.options, ignored);
        page.options.place = p.fields;
        job.places.push_back(std::move(page));
    }
    return job;
}

}  // namespace

bool TakePdfOption(const std::vector<std::string>& args, std::size_t& k, PdfOptions& pdf,
                   std::string& error) {
    const std::string& a = args[k];
    const auto named = [&a](const char* option) { return IsOption(a, option); };
    if (named("--pdf")) {
        if (FileOptionValue(args, k, "--pdf", pdf.file, error) && pdf.file.empty())
            error = "--pdf needs the name of the file to write";
        return true;
    }
    if (named("--name")) {
        if (pdf.givenWithoutPdf.empty()) pdf.givenWithoutPdf = "--name";
        OptionValue(args, k, "--name", pdf.name, error);
        return true;
    }
    return false;
}

bool CheckPdfOptions(const PdfOptions& pdf, const TableOptions& table, std::string& error) {
    if (pdf.file.empty()) {
        if (pdf.givenWithoutPdf.empty()) return true;
        error =
            pdf.givenWithoutPdf + " is an option of the PDF: it goes with --pdf FILE or --ics FILE";
        return false;
    }
    if (table.format != Format::Text) {
        error = std::string("--pdf writes a file; ") +
                (table.format == Format::Csv ? "--csv" : "--json") +
                " writes a table to standard output: give one of them";
        return false;
    }
    return true;
}

int WritePdf(const TimetableJob& job, const std::string& path, std::FILE* err) {
    // The PDF's date: a SOURCE_DATE_EPOCH that cannot be honoured stops the command before
    // anything is written.
    std::optional<long long> epoch;
    std::string failures;
    if (!SourceDateEpoch(epoch, failures)) return Refuse(err, failures);
    if (!WindowsBuilt()) {
        std::fprintf(err,
                     "zerin: this zerin was built without the windows, which draw the PDF: use "
                     "--csv instead\n");
        return 2;
    }
    if (const WindowsEntries* windows = LoadWindowsEntries(failures))
        return windows->writeTimetablePdf(job, path, err);
    std::fprintf(err,
                 "zerin: the windows' module, which draws the PDF, could not be loaded (--csv "
                 "works without it):%s\n",
                 failures.c_str());
    return 2;
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
                    the setting, which it takes when the angle comes first). A dawn or
                    nightfall angle lies below the horizon of rising and setting (more
                    than 0.8333 degrees, with --elevation more). Numbers are decimal:
                    19, 17.5 (not 0x13, 1.9e1).
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
                    nearest day that has both (within half a year), the afternoon times
                    from the first that reaches them; marked like the high-latitude cells.
                    When it finds none (near the poles) it says so once, on standard
                    error and under the table. Not with --as-report.
  --extras          adds the middle of the night and the start of its last third, from
                    setting to the next day's dawn as the table gives it (with the
                    high-latitude rule and the dawn's adjustment) ("midnight",
                    "last_third").
  --moon            adds moonrise and moonset within the local day, to the minute (the
                    Moon's centre at 0.7275 of its parallax less 0.5667 degrees, as the
                    crescent report takes them: its upper limb on the horizon, seen through
                    34' of refraction), and the Moon's illuminated fraction at the day's
                    local midnight ("moonrise", "moonset", "moon_fraction").
  What a table used is said with it: a "Settings:" line above the text table, fields of
  the JSON object (prayer_method, fajr_angle, isha_angle, isha_interval,
  ramadan_interval, maghrib_angle, adjustments, rounding, horizon, elevation, high_lat,
  polar), and for CSV, whose first line is its header as spreadsheets and CSV readers
  expect, one line "zerin: Settings: ..." on standard error.
  --settings-line   CSV: the settings as the file's last line instead ("# Settings: ...",
                    after the last row), for those who want them in the file.
  The night keeps its order: a dawn is never before the previous day's setting or
  nightfall (held there and marked when a rule or a method would put it earlier), a
  nightfall by interval never past the middle of the night (from setting to the next
  rising), the night's middle and last third after the setting. Where a rule's night
  after the day does not exist (the last rising before the midnight Sun), the night
  before its rising is divided.
  A day that the local clock skips (Pacific/Apia, 30 December 2011) has no row; a note
  under the text table, or a line on standard error with CSV and JSON, says so.
)";

int RunTimes(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    TimesRequest r;
    PdfOptions pdf;
    IcsOptions ics;
    if (const int refused = ReadTimesRequest(args, r, pdf, ics, err)) return refused;
    std::vector<TablePlace> places;
    std::string error;
    if (!PlacesOfRequest(r, places, error)) return Refuse(err, error);
    if (!pdf.file.empty()) return WritePdf(JobOf(r, pdf.name, places), pdf.file, err);
    if (!ics.target.empty()) return WriteIcs(ics, r, pdf.name, places, out, err);
    return WriteTimesTables(r, places, out, err);
}

const char* const kPdfHelp =
    R"(
  zerin times ... --pdf FILE [--name TEXT] [--asr 1|2|both]
  writes the timetable as a PDF instead: A4 portrait pages, one month per page, each
  with a header (the place's name given by --name, its coordinates, the zone, the
  Qibla's bearing, the angles and rules used) and a right-to-left grid with the day at
  the right: the weekday, the date, dawn, rising, transit, the afternoon time(s) --asr
  chooses (default both), setting and nightfall, the times as in --csv. Pages are
  drawn by the windows' module without a display. The file is replaced only once the
  whole PDF is written; --pdf - writes it to standard output. SOURCE_DATE_EPOCH, when
  set, is the PDF's creation date (a whole number of seconds since 1970, written in UTC).
)";

}  // namespace zerin::cli
