#include "CalendarOptions.h"

#include "FieldOptions.h"
#include "report/Echo.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

namespace {

// Whole minutes from 0 to `most`; false with a message naming the option otherwise.
bool ReadMinutes(const std::string& option, const std::string& text, int most, int& minutes,
                 std::string& error) {
    if (!text.empty() && text.size() <= 4 &&
        text.find_first_not_of("0123456789") == std::string::npos && std::stoi(text) <= most) {
        minutes = std::stoi(text);
        return true;
    }
    error = option + " takes whole minutes from 0 to " + std::to_string(most) + ", not '" +
            Echo(text) + "'";
    return false;
}

// "20" for every time, or "fajr=20,dhuhr=15,..." (the keys of --adjust, each once).
bool ReadDurations(const std::string& text, std::array<int, kPrayers>& minutes,
                   std::string& error) {
    const std::string option = "--ics-duration";
    if (text.find('=') == std::string::npos) {
        int all = 0;
        if (!ReadMinutes(option, text, kMostEventMinutes, all, error)) return false;
        minutes.fill(all);
        return true;
    }
    std::array<bool, kPrayers> named{};
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        const std::string key = item.substr(0, item.find('='));
        int k = 0;
        while (k < kPrayers && key != kPrayerKeys[k]) ++k;
        if (k == kPrayers || key == item) {
            error = option +
                    " takes MINUTES, or TIME=MINUTES separated by commas (fajr, sunrise, dhuhr, "
                    "asr, maghrib, isha), not '" +
                    Echo(item) + "'";
            return false;
        }
        if (named[k]) {
            error = option + " names " + key + " twice: give each time once";
            return false;
        }
        named[k] = true;
        if (!ReadMinutes(option + " " + key, item.substr(key.size() + 1), kMostEventMinutes,
                         minutes[k], error))
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool TakeIcsOption(const std::vector<std::string>& args, std::size_t& k, IcsOptions& ics,
                   std::string& error) {
    const std::string& a = args[k];
    const std::string given = a.substr(0, a.find('='));
    if (IsOption(a, "--ics")) {
        if (FileOptionValue(args, k, "--ics", ics.target, error) && ics.target.empty())
            error = "--ics needs a file, - for standard output, or a folder DIR/";
        return true;
    }
    const bool flag = a == "--ics-sunrise" || a == "--ramadan";
    const bool minutes = IsOption(a, "--ics-alarm") || IsOption(a, "--imsak");
    if (!flag && !minutes && !IsOption(a, "--ics-duration")) return false;
    if (ics.withoutIcs.empty()) ics.withoutIcs = given;
    if (flag) {
        (a == "--ramadan" ? ics.calendar.ramadan : ics.calendar.sunrise) = true;
        return true;
    }
    std::string value;
    if (!OptionValue(args, k, given, value, error)) return true;
    if (given == "--ics-duration") {
        ReadDurations(value, ics.calendar.minutes, error);
    } else if (given == "--imsak") {
        ics.imsakGiven = ReadMinutes(given, value, kMostImsakMinutes, ics.calendar.imsak, error);
    } else {
        int alarm = 0;
        if (ReadMinutes(given, value, kMostAlarmMinutes, alarm, error)) ics.calendar.alarm = alarm;
    }
    return true;
}

bool CheckIcsOptions(const IcsOptions& ics, const TimesRequest& r, bool pdf, std::string& error) {
    if (ics.target.empty()) {
        if (!ics.withoutIcs.empty())
            error = ics.withoutIcs + " is an option of the calendar: it goes with --ics FILE";
    } else if (ics.imsakGiven && !ics.calendar.ramadan) {
        error = "--imsak sets the Imsak of --ramadan: give --ramadan too";
    } else if (pdf || r.table.format != Format::Text) {
        error = std::string("--ics writes a calendar, ") +
                (pdf                             ? "--pdf pages"
                 : r.table.format == Format::Csv ? "--csv a table"
                                                 : "--json a table") +
                ": give one of them";
    } else if (r.settings.moon) {
        error =
            "--moon adds times that the calendar does not have: write the Moon's times with the "
            "text table, --csv or --json";
    } else if (!r.placesFile.empty() && !IsFolderTarget(ics.target)) {
        error = "--places writes a calendar per place: --ics takes a folder, such as calendars/";
    }
    return error.empty();
}

int WriteIcs(const IcsOptions& ics, const TimesRequest& r, const std::string& name,
             std::vector<TablePlace>& places, std::FILE* out, std::FILE* err) {
    if (r.placesFile.empty()) places.front().name = name;
    return WriteCalendars(r, ics.calendar, places, ics.target, out, err);
}

const char* const kIcsHelp =
    R"(
  zerin times ... --ics FILE|-|DIR/ [--name TEXT] [--ics-sunrise] [--ics-duration MIN]
              [--ics-alarm MIN] [--ramadan [--imsak MIN]]
  writes the timetable as an iCalendar file (RFC 5545) that calendar programs import: an
  event for each time of each day (Fajr, Dhuhr, the Asr --asr chooses, Maghrib, Isha;
  rising with --ics-sunrise; the night's middle and last third with --extras), at the
  minute the table shows (the second with --seconds), written in UTC; its summary in the
  table's language (--lang), its description with the time on the table's clock, the
  method and settings, and why a time was taken by a rule or is missing (a day without
  Isha has no Isha event: Maghrib's description says so). Each event's UID is made of
  the day, the time and the place's name (--name, --place or the places file's name;
  the coordinates to two decimals without one), never of the method: importing a
  corrected table or another year replaces events instead of doubling them. DTSTAMP is
  SOURCE_DATE_EPOCH when set. FILE is replaced only once the whole calendar is written;
  - writes it to standard output; with --places, DIR/ receives a file per place named
  after it (PLACE.ics; '/' and control characters become '-', a leading '.' '_').
  --ics-duration MIN or fajr=20,dhuhr=15,...  how long each event lasts (0 to 720
                    minutes; default 0, an instant); the keys of --adjust.
  --ics-alarm MIN   a reminder (VALARM, ACTION:DISPLAY) MIN minutes before each event.
  --ramadan         on the days of Ramadan by --hijri-rule (Umm al-Qura's calendar without
                    it), an event for the end of the meal before dawn (Imsak, --imsak MIN
                    before Fajr, default 10) and one for breaking the fast at Maghrib.
)";

}  // namespace zerin::cli
