#include "TableOptions.h"

#include <chrono>
#include <utility>

#include "report/Echo.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

const char* SideName(Axis axis, bool negative) {
    if (axis == Axis::Longitude) return negative ? "East" : "West";
    return negative ? "South" : "North";
}

// Records the side an option names; an error when an earlier option named the other side.
bool NameSide(Axis h, AxisOptions& axis, bool negative, const std::string& option,
              FieldOptions& place, std::string& error) {
    if (!axis.side.empty() && axis.negative != negative) {
        error = axis.side + " says " + SideName(h, axis.negative) + ", " + option + " says " +
                SideName(h, negative) + ": give the side once";
        return false;
    }
    if (axis.side.empty()) axis = {option, negative, axis.whole, axis.field};
    if (h == Axis::Longitude)
        place.east = negative;
    else
        place.north = !negative;
    return true;
}

}  // namespace

bool IsDateFieldOption(const std::string& a) {
    for (const char* option : {"--year", "--month", "--day", "--hour", "--minute", "--second"})
        if (IsOption(a, option)) return true;
    return false;
}

int Refuse(std::FILE* err, const std::string& what) {
    std::fprintf(err, "zerin: %s (see 'zerin --help')\n", what.c_str());
    return 2;
}

bool TakeTableOption(const std::vector<std::string>& args, std::size_t& k, TableOptions& o,
                     PlaceGiven& given, std::string& error) {
    const std::string& a = args[k];
    const auto named = [&a](const char* option) { return IsOption(a, option); };
    std::string value;
    if (named("--lon") || named("--lat")) {
        const bool lon = named("--lon");
        const Axis h = lon ? Axis::Longitude : Axis::Latitude;
        const std::string option = lon ? "--lon" : "--lat";
        AxisOptions& axis = lon ? given.lon : given.lat;
        if (!OptionValue(args, k, option, value, error)) return true;
        bool negative = false, explicitSide = false;
        // (the flag the text names is set again, or refused, by NameSide below)
        FieldOptions read = o.place;
        if (!ReadAngleText(h, value, read, negative, explicitSide, error)) return true;
        o.place.fields = read.fields;
        if (!axis.field.empty()) {
            error = option + " gives the whole angle: it does not go with " + axis.field;
            return true;
        }
        axis.whole = option;
        if (explicitSide) NameSide(h, axis, negative, option + " " + Echo(value), o.place, error);
        return true;
    }
    if (a == "--east" || a == "--west" || a == "--north" || a == "--south") {
        const bool lon = a == "--east" || a == "--west";
        NameSide(lon ? Axis::Longitude : Axis::Latitude, lon ? given.lon : given.lat,
                 a == "--east" || a == "--south", a, o.place, error);
        return true;
    }
    if (named("--zone")) {
        if (OptionValue(args, k, "--zone", value, error))
            ReadWholeHours("--zone", value, o.zone, error);
        return true;
    }
    if (named("--summer")) {
        if (OptionValue(args, k, "--summer", value, error))
            ReadWholeHours("--summer", value, o.summer, error);
        return true;
    }
    if (named("--tz")) {
        if (!OptionValue(args, k, "--tz", value, error)) return true;
        if (value.empty())
            error = "--tz needs the name of a zone of the time-zone database, such as Asia/Kolkata";
        o.tz = value;
        return true;
    }
    if (a == "--csv" || a == "--json") {
        o.format = a == "--csv" ? Format::Csv : Format::Json;
        return true;
    }
    if (named("--lang")) {
        if (!OptionValue(args, k, "--lang", value, error)) return true;
        if (value == "ar" || value == "en")
            o.language = value == "ar" ? Language::Arabic : Language::English;
        else
            error = "--lang takes ar or en, not '" + Echo(value) + "'";
        return true;
    }
    if (IsDateFieldOption(a)) {
        error = a.substr(0, a.find('=')) +
                " is not an option of tables: they take their dates from --from and --to";
        return true;
    }
    for (std::size_t f = 0; f < kPlaceFieldOptions; ++f) {
        if (!named(kFieldTextOptions[f].option)) continue;
        AxisOptions& axis = f < kPlaceFieldOptions / 2 ? given.lon : given.lat;
        if (!axis.whole.empty()) {
            error = axis.whole + " gives the whole angle: it does not go with " +
                    kFieldTextOptions[f].option;
            return true;
        }
        if (axis.field.empty()) axis.field = kFieldTextOptions[f].option;
    }
    return TakeFieldOption(args, k, o.place, error);
}

bool ParseDate(const std::string& text, bool allowTime, Civil& c, std::string& error) {
    error = "'" + Echo(text) + "' is not a date YYYY-MM-DD" + (allowTime ? "[THH:MM[:SS]]" : "");
    if (!ReadDate(text, {.allowTime = allowTime}, c)) return false;
    using namespace std::chrono;
    const year_month_day ymd{year{c.year}, month{static_cast<unsigned>(c.month)},
                             day{static_cast<unsigned>(c.day)}};
    if (!ymd.ok()) return false;
    if (ymd < year_month_day{year{1582}, October, day{15}}) {
        error = "'" + Echo(text) +
                "' is before 15 October 1582: tables use the Gregorian calendar (use "
                "zerin report for earlier dates)";
        return false;
    }
    error.clear();
    return true;
}

bool TakeDaySpanOption(const std::vector<std::string>& args, std::size_t& k, DaySpanTexts& span,
                       std::string& error) {
    const std::pair<const char*, std::string DaySpanTexts::*> options[] = {
        {"--from", &DaySpanTexts::from},
        {"--to", &DaySpanTexts::to},
        {"--days", &DaySpanTexts::days}};
    const std::string& a = args[k];
    for (const auto& [option, text] : options) {
        const std::string name(option);
        if (IsOption(a, name)) {
            OptionValue(args, k, name, span.*text, error);
            return true;
        }
    }
    return false;
}

int ReadDaySpan(const std::string& command, const DaySpanTexts& span, Civil& first,
                std::size_t& count, std::FILE* err) {
    const std::string &from = span.from, &to = span.to, &days = span.days;
    std::string error;
    if (from.empty()) return Refuse(err, command + " needs --from YYYY-MM-DD");
    if (days.empty() == to.empty())
        return Refuse(err, command + " needs either --days N or --to YYYY-MM-DD");
    if (!ParseDate(from, false, first, error)) return Refuse(err, error);
    Seconds n = 0;
    if (!to.empty()) {
        Civil last;
        if (!ParseDate(to, false, last, error)) return Refuse(err, error);
        if (SecondsOf(last) < SecondsOf(first))
            return Refuse(err, "--to " + Echo(to) + " is before --from " + Echo(from));
        n = (SecondsOf(last) - SecondsOf(first)) / kDay + 1;
    } else {
        if (days.empty() || days.size() > 9 ||
            days.find_first_not_of("0123456789") != std::string::npos)
            return Refuse(err, "--days takes a number of days, not '" + Echo(days) + "'");
        n = std::stoll(days);
        if (n == 0) return Refuse(err, "--days 0: a table needs at least one day");
    }
    if (n > static_cast<Seconds>(kMaxRows))
        return Refuse(err, "a table of " + std::to_string(n) + " rows: at most 1,000,000");
    if (CivilOf(SecondsOf(first) + (n - 1) * kDay).year > 9999)
        return Refuse(err, "the table would go past 9999-12-31");
    count = static_cast<std::size_t>(n);
    return 0;
}

const char* const kTablesHelp =
    R"(
Tables: zerin times and zerin ephemeris
  zerin times [PLACE | --places FILE] --from YYYY-MM-DD (--days N | --to YYYY-MM-DD)
              [ZONE] [--csv [--settings-line] | --json] [--lang ar|en] [--seconds]
              [--as-report] [--high-lat none|middle|seventh|angle] [--hijri-rule RULE]
              [--method NAME] [METHOD OPTIONS]
  zerin ephemeris BODY [PLACE] --from DATE[THH:MM[:SS]] --to DATE[THH:MM[:SS]]
              --step N(d|h|m) [ZONE] [--csv | --json] [--lang ar|en]

  Each row is computed by the same code as the report, with the report's text switched
  off: a value in a table is the value the report prints for that instant.

  times: one row per day: dawn (Fajr), rising, transit, first and second afternoon
  times (Asr 1, Asr 2), setting and nightfall (Isha), each computed with the Sun's
  place at that time's own instant: the Sun's right ascension and declination at 12:00
  standard time of the day before, the day and the day after (the Sun command's
  theory), interpolated between them; the transit where the hour angle is 0, the
  other times where the Sun's centre reaches -0.8333 degrees (rising, setting: the upper
  limb on the horizon seen through the standard 34' of refraction), the method's dawn
  and nightfall angles (19 and 17 by default) or the afternoon altitude of the shadow
  at the transit.
  --as-report: every time from the Sun's place at 12:00:00 local standard time, the
  values of the Sun command for that instant (with a whole-hour zone and no summer
  time, those of 'zerin report sun --hour 12 --minute 0 --second 0'); up to a minute
  apart at high latitudes, dawn and nightfall more where they cease.
  Times are shown on the local clock (summer time added) as HH:MM rounded to the
  nearest minute, half a minute rounding up (HH:MM:SS with --seconds, to the nearest
  second, half a second rounding up). A time on the day before or after is marked -1
  or +1 ("00:40+1"). When the Sun never reaches the altitude of a time that day the
  cell is empty ("—" in the table, empty in CSV, null in JSON) and the other cells keep
  their values.
  --hijri-rule RULE adds the Hijri date of each day after the date ("hijri" column):
  "1 رمضان 1446 هـ" in the Arabic text table, 1446-09-01 in CSV, JSON and English
  text. RULE is one of those of zerin hijri: tabular (civil), civil, astronomical,
  umm-al-qura, computed (the Umm al-Qura rule at Mecca) or sighting (the crescent
  predicted visible at the table's place by Odeh's criterion).
  --places FILE: one table for many places (a country's cities), each row led by the
  place's name (a "place" column; JSON: "places" with each name, lon, lat and zone, and
  "place" in each row). FILE is UTF-8 CSV with a header row, then one place a row:
      name,latitude,longitude,zone
      Rabat,34:01N,6:50W,Africa/Casablanca
      "Fes, medina",34.06,4.98W,0
  latitude and longitude in the forms of --lat and --lon (a bare decimal longitude is
  West positive, East negative, as everywhere in this program: prefer the letters E and
  W); zone: a name of the time-zone database, or whole hours as --zone takes them (with
  --summer from the command line); an empty zone, or no zone column, takes the command
  line's --tz or --zone. A field may be quoted ("" for a quote inside); blank lines and
  lines starting with # are skipped; names are unique, at most 60 characters, UTF-8
  text without control characters; at most 100,000 places, and at most 1,000,000 rows
  (places times days). A bad row is refused with its line number (exit 2, nothing
  written). FILE is a regular file, or - for standard input.
  The places that keep the same standard time share the Sun's computation at each noon.
  --high-lat fills an empty dawn or nightfall from the night that follows the day
  (from setting to the next rising; with --as-report 24 h - (setting - rising)): middle:
  half the night; seventh: a seventh of the night; angle: the time's angle in sixtieths of
  the night; dawn is rising minus that part, nightfall setting plus it. A dawn earlier
  (a nightfall later) than the rule's time also takes the rule's time. Such cells are
  marked (* in the table, in the "adjusted" column in CSV and JSON). Without a rising
  and a setting (polar day or night) there is no night to divide: see --polar.
  The methods, the horizon and the other settings of the times: see Methods below.

  ephemeris: one row per instant from --from to --to, both local clock times, every N
  days (same clock time each day), hours or minutes: right ascension, declination,
  distance, altitude, azimuth, the topocentric right ascension and declination (Moon
  and planets), apparent diameter, elongation and illuminated fraction (Moon and
  planets), with units in the header. BODY: sun, moon, mercury ... pluto. Values are
  written as the report writes them (15 significant digits).

  PLACE: the field options above, or --lon 5:40:0W (D[:M[:S]] and E or W) or --lon
  -5.6667 (decimal degrees, East negative), --lat 32:56:0N or --lat 32.9333 (South
  negative); an unsigned --lon or --lat without a letter takes its side from --east,
  --west, --north or --south; or --place NAME (see Places), which --lon, --lat, --zone
  and --tz override whole (a part of a coordinate, --east or --lon-deg, is refused
  beside it). zerin places writes coordinates in these forms (34.0132N 6.8326W). A latitude lies within 90 degrees and a longitude within
  180, however given; options that name opposite sides (--lon 3E --west), or --lon
  together with --lon-deg, --lon-min or --lon-sec, are refused.
  ZONE: --zone H (-14 to 12) and --summer H in whole hours in the program's sign
  convention (one hour ahead of Greenwich is --zone -1; the times' day stays at noon
  standard time and --summer moves the clock they are shown on), the clock's offset
  within UTC-12:00..UTC+14:00; or --tz NAME, a zone of the system's time-zone database
  (Asia/Kolkata, Europe/Paris): each day or instant then has its own offset, summer
  time included, and offsets that are not whole hours (+05:30, +05:45) are exact: the
  instant is handed to the calculation on the clock of the whole-hour part of the zone
  (12:00 at +05:30 is entered as 11:30 at zone -5) and the times are shown on the real
  clock. The utc_offset column gives each row's offset in the database's sign
  convention (+01:00 is one hour ahead of Greenwich).
  Formats: an aligned table with a header (Arabic headers by default, --lang en for
  English; numbers with your regional decimal separator; each column as wide as the
  widest value of its kind, so that rows are written as they are computed), --csv
  with a header row (English keys, --lang ar for Arabic headers), --json: an object
  with the place's lon and lat as the report computes them (West and North positive),
  and "rows", one object per row under the CSV's keys (times also give "high_lat";
  ephemeris "body"). CSV and JSON always write numbers with a period.
  Dates are Gregorian, from 1582-10-15 to 9999-12-31; at most 1,000,000 rows. A table
  that takes more than a second shows its progress on standard error when that is a
  terminal and standard output is not that same terminal; the line is cleared at the
  end.
  Exit status: 0 every row written. 1 the output could not be written (the table stops
  at the first failed write), or some rows are empty, with a message: a calculation
  fault, or an instant the calculation refuses (one that falls, on the calculation's
  clock of whole hours, in the days the Gregorian reform dropped, 5 to 14 October
  1582). 2 a wrong or contradictory option, a place or zone out of range, an unknown
  zone name, --to before --from, a step of zero, too many rows, or no row could be
  computed: a one-line message, nothing written.
)";

}  // namespace zerin::cli
