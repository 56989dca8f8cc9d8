#include "PrayerCalendar.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>

#include "AtomicFile.h"
#include "Output.h"
#include "TableWriter.h"
#include "Utf8.h"
#include "hijri/Hijri.h"
#include "report/Echo.h"

namespace zerin::services {

namespace {

constexpr std::size_t kLineOctets = 75;
constexpr int kInstant = -1;  // an event that never lasts

// When an event is in a day's calendar.
enum class Shown { Always, Ramadan, Sunrise, AsrAlone, HanafiAlone, AsrBoth, Extras };

// An event of a day: the timetable's cell it stands at, its duration's key and its name.
struct EventKind {
    const char* id;  // in the UID: the same for the same time whatever the method
    int cell;
    int minutesKey;  // of CalendarOptions::minutes, or kInstant
    Shown shown;
    const char* english;
    const char* arabic;
};

// clang-format off
constexpr EventKind kEventKinds[] = {
    {.id = "imsak",      .cell = kFajr,      .minutesKey = kInstant,       .shown = Shown::Ramadan,     .english = "Imsak",                 .arabic = "الإمساك"},
    {.id = "fajr",       .cell = kFajr,      .minutesKey = kAdjustFajr,    .shown = Shown::Always,      .english = "Fajr",                  .arabic = "صلاة الفجر"},
    {.id = "sunrise",    .cell = kSunrise,   .minutesKey = kAdjustSunrise, .shown = Shown::Sunrise,     .english = "Sunrise",               .arabic = "الشروق"},
    {.id = "dhuhr",      .cell = kTransit,   .minutesKey = kAdjustDhuhr,   .shown = Shown::Always,      .english = "Dhuhr",                 .arabic = "صلاة الظهر"},
    {.id = "asr",        .cell = kAsr1,      .minutesKey = kAdjustAsr,     .shown = Shown::AsrAlone,    .english = "Asr",                   .arabic = "صلاة العصر"},
    {.id = "asr",        .cell = kAsr2,      .minutesKey = kAdjustAsr,     .shown = Shown::HanafiAlone, .english = "Asr",                   .arabic = "صلاة العصر"},
    {.id = "asr",        .cell = kAsr1,      .minutesKey = kAdjustAsr,     .shown = Shown::AsrBoth,     .english = "Asr 1",                 .arabic = "صلاة العصر الأول"},
    {.id = "asr2",       .cell = kAsr2,      .minutesKey = kAdjustAsr,     .shown = Shown::AsrBoth,     .english = "Asr 2",                 .arabic = "صلاة العصر الثاني"},
    {.id = "maghrib",    .cell = kMaghrib,   .minutesKey = kAdjustMaghrib, .shown = Shown::Always,      .english = "Maghrib",               .arabic = "صلاة المغرب"},
    {.id = "iftar",      .cell = kMaghrib,   .minutesKey = kInstant,       .shown = Shown::Ramadan,     .english = "Iftar",                 .arabic = "الإفطار"},
    {.id = "isha",       .cell = kIsha,      .minutesKey = kAdjustIsha,    .shown = Shown::Always,      .english = "Isha",                  .arabic = "صلاة العشاء"},
    {.id = "midnight",   .cell = kMidnight,  .minutesKey = kInstant,       .shown = Shown::Extras,      .english = "Middle of the night",   .arabic = "منتصف الليل"},
    {.id = "last-third", .cell = kLastThird, .minutesKey = kInstant,       .shown = Shown::Extras,      .english = "Last third of the night", .arabic = "الثلث الأخير من الليل"},
};
// clang-format on

bool IsShown(Shown shown, const PrayerSettings& s, const CalendarOptions& c) {
    switch (shown) {
        case Shown::Always:
            return true;
        case Shown::Ramadan:
            return c.ramadan;
        case Shown::Sunrise:
            return c.sunrise;
        case Shown::AsrAlone:
            return s.asr == AsrShown::First;
        case Shown::HanafiAlone:
            return s.asr == AsrShown::Second;
        case Shown::AsrBoth:
            return s.asr == AsrShown::Both;
        case Shown::Extras:
            return s.extras;
    }
    return false;
}

// Appends the digits of n, `width` of them (a calendar writes a few a line: no printf).
void AppendDigits(std::string& out, int n, int width) {
    char digits[8];
    for (int k = width; k-- > 0; n /= 10) digits[k] = static_cast<char>('0' + n % 10);
    out.append(digits, static_cast<std::size_t>(width));
}

// "20260320", and "20260320T042000Z" with the time.
std::string DateDigits(const Civil& c) {
    std::string text;
    AppendDigits(text, c.year, 4);
    AppendDigits(text, c.month, 2);
    AppendDigits(text, c.day, 2);
    return text;
}

std::string UtcText(Seconds utc) {
    const Civil c = CivilOf(utc);
    std::string text = DateDigits(c) + 'T';
    AppendDigits(text, c.hour, 2);
    AppendDigits(text, c.minute, 2);
    AppendDigits(text, c.second, 2);
    return text + 'Z';
}

// When the calendar was made: SOURCE_DATE_EPOCH when it is set (the same bytes from run to run),
// else now.
Seconds StampInstant() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text && *text) {
        char* end = nullptr;
        const long long epoch = std::strtoll(text, &end, 10);
        if (*end == '\0' && epoch >= 0 && epoch <= 253402300799) return epoch;  // to 9999-12-31
    }
    return std::time(nullptr);
}

// 64-bit FNV-1a of the place's name, in hexadecimal: the part of the UIDs that names the place.
std::string PlaceKey(const std::string& name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char ch : name) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    char text[20];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

// The events of one place's calendar, appended day by day.
class CalendarBuilder {
  public:
    // Starts the calendar in ics, where the days' events are appended.
    CalendarBuilder(const TimesRequest& r, const CalendarOptions& c, const TablePlace& p,
                    std::string& ics);
    void Day(const TimesDay& d, const std::string& hijri, bool ramadan);
    void End() { AppendIcsLine(ics_, "END:VCALENDAR"); }

  private:
    void Event(const EventKind& kind, const TimesDay& d, const std::string& description);
    std::string Text(const EventKind& kind) const { return arabic_ ? kind.arabic : kind.english; }
    void Property(const char* name, const std::string& value);

    const TimesRequest& r_;
    const CalendarOptions& c_;
    std::string& ics_;
    bool arabic_;
    Seconds unitsPerDay_, unit_;  // of the times: minutes, or seconds with --seconds
    std::vector<EventKind> kinds_;
    std::string key_, stamp_, location_, geo_, settings_, categories_, ramadanCategories_;
    std::string line_;  // the property being written, reused
};

CalendarBuilder::CalendarBuilder(const TimesRequest& r, const CalendarOptions& c,
                                 const TablePlace& p, std::string& ics)
    : r_(r),
      c_(c),
      ics_(ics),
      arabic_(r.table.language.value_or(Language::Arabic) == Language::Arabic),
      unitsPerDay_(r.seconds ? kDay : 1440),
      unit_(r.seconds ? 1 : 60) {
    for (const EventKind& kind : kEventKinds)
        if (IsShown(kind.shown, r.settings, c)) kinds_.push_back(kind);
    const std::string name = CalendarPlaceName(p);
    key_ = PlaceKey(name);
    stamp_ = UtcText(StampInstant());
    if (!p.name.empty()) location_ = IcsText(p.name);
    char geo[64];
    std::snprintf(geo, sizeof geo, "%.6f;%.6f", p.place.Lat, -p.place.Lon);  // East positive
    geo_ = geo;
    // The same for every event: escaped once.
    settings_ = IcsText(arabic_ ? "الإعدادات: " + SettingsTextArabic(r.settings)
                                : "Settings: " + SettingsText(r.settings));
    const std::string prayerTimes = arabic_ ? "مواقيت الصلاة" : "Prayer times";
    categories_ = IcsText(prayerTimes);
    ramadanCategories_ = categories_ + "," + IcsText(arabic_ ? "رمضان" : "Ramadan");
    ics_.clear();
    for (const char* line :
         {"BEGIN:VCALENDAR", "VERSION:2.0", "CALSCALE:GREGORIAN", "METHOD:PUBLISH"})
        AppendIcsLine(ics_, line);
    Property("PRODID",
             std::string("-//Zerin//Zerin ") + ZERIN_VERSION + (arabic_ ? "//AR" : "//EN"));
    Property("X-WR-CALNAME", IcsText(prayerTimes + " — " + name));
}

void CalendarBuilder::Property(const char* name, const std::string& value) {
    line_.assign(name);
    line_ += ':';
    line_ += value;
    AppendIcsLine(ics_, line_);
}

void CalendarBuilder::Day(const TimesDay& d, const std::string& hijri, bool ramadan) {
    // The times the Sun does not reach that day, said in Maghrib's description (in Dhuhr's when
    // there is no Maghrib either).
    std::string missing;
    for (const EventKind& kind : kinds_)
        if (kind.minutesKey != kInstant && std::isnan(d.clock[kind.cell]))
            missing += (missing.empty() ? "" : arabic_ ? "، " : ", ") + Text(kind);
    const int noteCell = std::isnan(d.clock[kMaghrib]) ? kTransit : kMaghrib;
    for (const EventKind& kind : kinds_) {
        const bool isRamadans = kind.shown == Shown::Ramadan;
        if (std::isnan(d.clock[kind.cell]) || (isRamadans && !ramadan)) continue;
        std::string description;
        if (d.adjusted[kind.cell])
            description += (arabic_ ? "" : "Time ") + RuleWords(r_.settings, arabic_) + "\n";
        if (kind.id == std::string_view("imsak"))
            description += (arabic_ ? "قبل الفجر، عدد الدقائق: " : "Minutes before Fajr: ") +
                           std::to_string(c_.imsak) + "\n";
        if (!missing.empty() && kind.cell == noteCell && kind.minutesKey != kInstant)
            description += (arabic_ ? "لا تبلغ الشمس في هذا اليوم ارتفاع: "
                                    : "On this day the Sun does not reach the altitude of: ") +
                           missing + "\n";
        if (!hijri.empty() && (r_.hijri || isRamadans))
            description += (arabic_ ? "التاريخ الهجري " : "Hijri date ") + hijri + "\n";
        Event(kind, d, description);
    }
}

void CalendarBuilder::Event(const EventKind& kind, const TimesDay& d,
                            const std::string& description) {
    Seconds units = ClockUnits(d.clock[kind.cell], unitsPerDay_);
    if (kind.id == std::string_view("imsak")) units -= c_.imsak * (60 / unit_);
    const Seconds start =
        SecondsOf(Civil{d.date.year, d.date.month, d.date.day}) + units * unit_ - d.offset.Total();
    const std::string summary = IcsText(Text(kind));
    AppendIcsLine(ics_, "BEGIN:VEVENT");
    Property("UID", DateDigits(d.date) + "-" + kind.id + "-" + key_ + "@zerin");
    Property("DTSTAMP", stamp_);
    Property("DTSTART", UtcText(start));
    // Said even for an instant (0): without it, programs give an event an hour of their own.
    const int minutes = kind.minutesKey == kInstant ? 0 : c_.minutes[kind.minutesKey];
    Property("DURATION", "PT" + std::to_string(minutes) + "M");
    Property("SUMMARY", summary);
    if (!location_.empty()) Property("LOCATION", location_);
    Property("GEO", geo_);
    // The time as the table's clock shows it.
    const std::string clock =
        Text(kind) + (arabic_ ? " الساعة " : " at ") +
        ClockText(static_cast<double>(units) * 24 / static_cast<double>(unitsPerDay_), r_.seconds) +
        (arabic_ ? " يوم " : " on ") + DateText(d.date) + " (UTC" + OffsetText(d.offset.Total()) +
        ")\n";
    Property("DESCRIPTION", IcsText(clock + description) + settings_);
    Property("CATEGORIES", kind.shown == Shown::Ramadan ? ramadanCategories_ : categories_);
    AppendIcsLine(ics_, "TRANSP:TRANSPARENT");
    if (c_.alarm) {
        AppendIcsLine(ics_, "BEGIN:VALARM");
        AppendIcsLine(ics_, "ACTION:DISPLAY");
        Property("DESCRIPTION", summary);
        Property("TRIGGER", "-PT" + std::to_string(*c_.alarm) + "M");
        AppendIcsLine(ics_, "END:VALARM");
    }
    AppendIcsLine(ics_, "END:VEVENT");
}

// Where a calendar's bytes go, a piece at a time; false once they could not be written.
using CalendarOutput = std::function<bool(std::string_view bytes)>;
constexpr int kOutputFailed = -1;
constexpr std::size_t kPieceSize = 1 << 16;

// The calendar of one place, written to `output` in pieces as its days are computed (memory does
// not grow with the days); returns 0, 1 (some days empty), 2 (no day computed: nothing written)
// or kOutputFailed, the messages on err.
int PlaceCalendar(const TimesRequest& r, const CalendarOptions& c, const TablePlace& p,
                  SunNoons* noons, Progress& progress, std::size_t& done,
                  const CalendarOutput& output, std::FILE* err) {
    std::string ics;
    ics.reserve(2 * kPieceSize);
    Timetable table(p.place, *p.clock, r.settings, r.method, noons);
    std::optional<HijriCalendar> hijri;
    if (r.hijri || c.ramadan)
        hijri.emplace(PlaceHijriCalendar(r.hijri.value_or(HijriRule::UmmAlQura), p, r.from));
    const bool arabic = r.table.language.value_or(Language::Arabic) == Language::Arabic;
    CalendarBuilder calendar(r, c, p, ics);
    EmptyRows empty;
    bool computed = false;
    const Seconds first = SecondsOf(r.from);
    for (std::size_t k = 0; k < r.days; ++k) {
        progress.Tick(++done);
        const TimesDay d = table.Day(CivilOf(first + static_cast<Seconds>(k) * kDay));
        const std::string date = DateText(d.date);
        if (d.skipped) {
            const std::string whose = p.name.empty() ? "" : " (" + Echo(p.name) + ")";
            std::fprintf(err,
                         "zerin: the local clock skips %s%s (the zone moved across the date "
                         "line): the day has no events\n",
                         date.c_str(), whose.c_str());
            empty.Count({RowEnd::Skipped, "the local clock skips " + date}, {});
            continue;
        }
        if (d.outcome != Outcome::Written) {
            const RowEnd end = d.outcome == Outcome::Refused ? RowEnd::Refused : RowEnd::Fault;
            empty.Count({end, table.LastMessage()}, date);
            continue;
        }
        computed = true;
        std::string hijriText;
        bool ramadan = false;
        if (hijri) {
            const HijriDate h = hijri->DateOf(CivilDay{d.date.year, d.date.month, d.date.day}).date;
            if (h.year <= kLastHijriYear) {
                hijriText = arabic ? HijriDateText(h) : IsoDateText(h);
                ramadan = h.month == 9;
            }
        }
        calendar.Day(d, hijriText, ramadan);
        if (ics.size() < kPieceSize) continue;
        if (!output(ics)) return kOutputFailed;
        ics.clear();
    }
    if (!computed) return empty.ReportNothingComputed(err);
    calendar.End();
    return output(ics) ? empty.Report(err) : kOutputFailed;
}

// The length of the character at k when TEXT keeps it as it is (UTF-8 that needs no escape), else
// 0.
std::size_t PlainLength(std::string_view text, std::size_t k) {
    const auto c = static_cast<unsigned char>(text[k]);
    if (c < 0x80) return c >= 0x20 && c != 0x7F && c != '\\' && c != ';' && c != ',' ? 1 : 0;
    std::size_t length = 0;
    DecodeUtf8(text, k, length);
    return length;
}

// The file of each place's calendar in the folder: named after the place; false with a message
// when two places would share a file.
bool CalendarPaths(const std::vector<TablePlace>& places, const std::string& folder,
                   std::vector<std::string>& paths, std::FILE* err) {
    const std::string dir = folder.back() == '/' ? folder : folder + "/";
    std::map<std::string, const TablePlace*> taken;
    for (std::size_t k = 0; k < places.size(); ++k) {
        const std::string name = CalendarFileName(CalendarPlaceName(places[k]));
        const auto [at, added] = taken.emplace(name, &places[k]);
        if (!added) {
            std::fprintf(err,
                         "zerin: the places '%s' and '%s' would both be written to %s: give "
                         "them names that differ by more than '/' or a control character\n",
                         Echo(at->second->name).c_str(), Echo(places[k].name).c_str(),
                         Echo(name).c_str());
            return false;
        }
        paths[k] = dir + name;
    }
    return true;
}

// Makes the folder of the calendars when it is missing; false with a message otherwise.
bool MakeFolder(const std::string& folder, std::FILE* err) {
    if (::mkdir(folder.c_str(), 0777) == 0 || (errno == EEXIST && IsFolderTarget(folder)))
        return true;
    std::fprintf(err, "zerin: could not make the folder %s: %s\n", Echo(folder).c_str(),
                 std::strerror(errno));
    return false;
}

}  // namespace

std::string IcsText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t kept = 0;  // the bytes from here on are copied as they are, in one piece
    const auto keep = [&](std::size_t k) { out.append(text.substr(kept, k - kept)); };
    for (std::size_t k = 0; k < text.size();) {
        if (const std::size_t length = PlainLength(text, k)) {
            k += length;
            continue;
        }
        keep(k);
        const auto c = static_cast<unsigned char>(text[k]);
        if (c >= 0x80)
            out += "\xEF\xBF\xBD";  // not UTF-8: U+FFFD
        else if (c == '\n')
            out += "\\n";
        else if (c < 0x20 || c == 0x7F)
            out += ' ';
        else
            out += {'\\', static_cast<char>(c)};
        kept = ++k;
    }
    keep(text.size());
    return out;
}

void AppendIcsLine(std::string& out, std::string_view line) {
    std::size_t room = kLineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        // Back to the first byte of the character that the cut would split.
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = kLineOctets - 1;  // after the continuation's blank
    }
    out.append(line);
    out += "\r\n";
}

std::string CalendarPlaceName(const TablePlace& p) {
    if (!p.name.empty()) return p.name;
    char text[48];
    std::snprintf(text, sizeof text, "%.2f%c %.2f%c", std::fabs(p.place.Lat),
                  p.place.Lat < 0 ? 'S' : 'N', std::fabs(p.place.Lon), p.place.Lon > 0 ? 'W' : 'E');
    return text;
}

std::string CalendarFileName(const std::string& placeName) {
    std::string name = placeName;
    for (char& ch : name)
        if (ch == '/' || static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = '-';
    if (name.empty()) name = "place";
    if (name.front() == '.') name.front() = '_';
    return name + ".ics";
}

bool IsFolderTarget(const std::string& target) {
    struct stat info {};
    return (!target.empty() && target.back() == '/') ||
           (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

int WriteCalendars(const TimesRequest& r, const CalendarOptions& c,
                   const std::vector<TablePlace>& places, const std::string& target, std::FILE* out,
                   std::FILE* err) {
    const bool toOut = target == "-";
    std::vector<std::string> paths(places.size(), target);
    if (!toOut && IsFolderTarget(target) && !CalendarPaths(places, target, paths, err)) return 2;
    if (!toOut && IsFolderTarget(target) && !MakeFolder(target, err)) return 1;
    SunNoons noons;
    Progress progress(err, toOut ? out : nullptr, places.size() * r.days);
    std::size_t done = 0;
    int status = 0;
    for (std::size_t k = 0; k < places.size(); ++k) {
        AtomicFile file(paths[k]);
        const CalendarOutput output = [&](std::string_view bytes) {
            return toOut ? WriteAll(out, err, bytes) : file.Write(bytes);
        };
        const int made = toOut || file.Open()
                             ? PlaceCalendar(r, c, places[k], places.size() > 1 ? &noons : nullptr,
                                             progress, done, output, err)
                             : kOutputFailed;
        if (made == 2) return k == 0 ? 2 : 1;
        if (made == kOutputFailed || !(toOut || file.Commit())) {
            if (!toOut) std::fprintf(err, "zerin: %s\n", file.Error().Message().c_str());
            return 1;
        }
        status = std::max(status, made);
    }
    return status;
}

int CalendarText(const TimesRequest& request, const CalendarOptions& options,
                 const std::string& name, std::string& ics, std::string& messages) {
    return WrittenToMemory(
        [&](std::FILE* out, std::FILE* err) {
            std::vector<TablePlace> places;
            std::string error;
            if (!PlacesOfRequest(request, places, error)) {
                messages = error;
                return 2;
            }
            places.front().name = name;
            return WriteCalendars(request, options, places, "-", out, err);
        },
        ics, messages);
}

}  // namespace zerin::services
