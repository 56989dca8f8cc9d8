#include "TimesTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Json.h"
#include "Output.h"
#include "TableWriter.h"
#include "report/Echo.h"
#include "report/NumText.h"

namespace zerin::services {

namespace {

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
    if (MaghribApart(s)) cells.push_back(kMaghrib);
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
    // A mark widens dawn and nightfall (a rule, or the order of the night, may take them), every
    // time under a polar rule.
    const bool text = format == Format::Text;
    const bool polar = text && s.polar != PolarRule::None;
    std::vector<TableColumn> columns = {
        {"date", "Date", "التاريخ", TableColumn::Text, 10},
        {"utc_offset", "UTC offset", "فرق التوقيت", TableColumn::Text, 9},
    };
    for (const int c : ShownCells(s)) {
        const CellName& n = kCellNames[c];
        const bool marked = c == kFajr || c == kIsha ? text : polar && c <= kMaghrib;
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

// Whether the settings hold a rule that takes cells: the method's own, a high-latitude or a polar
// rule.
bool HasRule(const PrayerSettings& s) {
    return !std::isnan(s.seventhAbove) || s.seasonal || s.rule != HighLatRule::None ||
           s.polar != PolarRule::None;
}

// A fraction 0..1 to three decimals with a period ("0.040").
std::string FractionText(double fraction) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", fraction);
    return text;
}

// The row of a day in the chosen format, into cells (reused from row to row), after the place's
// name when there is one.
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

std::string RuleWords(const PrayerSettings& s, bool arabic) {
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
    std::string note = arabic ? "وقت مقدّر بـ" : "taken by ";
    for (std::size_t k = 0; k < by.size(); ++k)
        note += (k ? (arabic ? " أو " : " or ") : "") + by[k];
    return note;
}

HijriCalendar PlaceHijriCalendar(HijriRule rule, const TablePlace& place, const Civil& first) {
    const Civil noon{first.year, first.month, first.day, 12};
    const Seconds utc = place.clock->FromStandard(SecondsOf(noon));
    const Seconds zone = -place.clock->At(utc).standard / kHour;
    return TableHijriCalendar(rule, place.place, static_cast<int>(zone));
}

const char* TimeCellArabic(TimeCell cell) {
    return kCellNames[cell].arabic;
}

bool SettingsUsable(const TimesRequest& r, std::string& error) {
    const PrayerSettings& s = r.settings;
    if (r.method == TimesMethod::AsReport && s.polar != PolarRule::None) {
        error =
            "--polar takes the times of another day or latitude by the exact computation: it "
            "does not go with --as-report";
        return false;
    }
    // Dawn and nightfall below the rising's horizon, or they would come after the rising.
    const double horizon = -HorizonAltitude(s.horizon, s.elevation);
    const std::pair<const char*, double> angles[] = {{"--fajr-angle", s.fajrAngle},
                                                     {"--isha-angle", s.ishaAngle}};
    for (const auto& [option, angle] : angles) {
        if (std::isnan(angle) || angle > horizon) continue;
        error = std::string(option) + " " + NumText(angle, ".") +
                " puts the Sun above the horizon of rising and setting (" + NumText(-horizon, ".") +
                " degrees): the time would fall after the rising or "
                "before the setting; give more than " +
                NumText(horizon, ".");
        return false;
    }
    return true;
}

bool PlacesOfRequest(const TimesRequest& r, std::vector<TablePlace>& places, std::string& error) {
    places.clear();
    if (!SettingsUsable(r, error)) return false;
    if (!r.placesFile.empty()) {
        if (!ReadPlacesFile(r.placesFile, r.table, places, error)) return false;
    } else {
        TablePlace p;
        p.fields = r.table.place;
        if (!CheckPlace(p.fields, p.place, error)) return false;
        p.clock = MakeClock(r.table, error);
        if (!p.clock) return false;
        places.push_back(std::move(p));
    }
    if (places.size() > kMaxRows / r.days) {
        error = "a table of " + std::to_string(places.size()) + " places x " +
                std::to_string(r.days) + " days = " + std::to_string(places.size() * r.days) +
                " rows: at most 1,000,000";
        return false;
    }
    const Seconds lastNoon =
        SecondsOf(r.from) + static_cast<Seconds>(r.days - 1) * kDay + 12 * kHour;
    for (const TablePlace& p : places) {
        TableOptions named = r.table;
        if (!p.zone.empty()) named.tz = p.zone;
        if (ClockKnows(*p.clock, named, p.clock->FromStandard(lastNoon), error)) continue;
        if (!p.name.empty()) error = "place '" + Echo(p.name) + "': " + error;
        return false;
    }
    return true;
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
                           : "Settings: " + SettingsText(r.settings),
                       r.settingsLine);
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
         pastHijri = false, held = false, polarMissing = false;
    const auto day = [&](std::size_t k, std::vector<Cell>& cells) {
        const std::size_t p = k / r.days;
        if (!table || tablePlace != p) {
            table.emplace(places[p].place, *places[p].clock, r.settings, r.method,
                          places.size() > 1 ? &noons : nullptr);
            if (r.hijri) calendar.emplace(PlaceHijriCalendar(*r.hijri, places[p], r.from));
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
            if (d.adjusted[c] && !adjusted && HasRule(r.settings)) {
                adjusted = true;
                writer.Note(1, "* " + RuleWords(r.settings, arabic));
            }
        }
        if (d.held && !held) {
            held = true;
            writer.Note(6, arabic ? "* عشاء بالمدة لا يجاوز منتصف الليل، وفجر لا يسبق غروب اليوم "
                                    "السابق ولا عشاءه: تبقى أوقات الليل على ترتيبها"
                                  : "* a nightfall by interval is held at the middle of the night, "
                                    "a dawn at the previous day's setting or nightfall: the "
                                    "night's times keep their order");
        }
        if (d.polarMissing && !polarMissing) {
            polarMissing = true;
            const std::string why =
                "the polar rule " + std::string(PolarRuleName(r.settings.polar)) + " finds no " +
                (r.settings.polar == PolarRule::NearestDay ? "day within half a year"
                                                           : "latitude toward the equator") +
                " with both a rising and a setting";
            const std::string where = DateText(d.date) + (named ? ", " + places[p].name : "");
            std::fprintf(err, "zerin: %s (first on %s): those days keep their empty cells\n",
                         why.c_str(), where.c_str());
            writer.Note(
                7, arabic ? "— لا تجد قاعدة الأيام القطبية " +
                                std::string(PolarRuleArabic(r.settings.polar)) +
                                " يوماً أو عرضاً تشرق فيه الشمس وتغرب، فتبقى خانات تلك الأيام فارغة"
                          : "— " + why + ": those days keep their empty cells");
        }
        return RowResult{};
    };
    return WriteRows(writer, places.size() * r.days, day, err);
}

bool FirstDayOf(const TimesRequest& request, TimesDay& day, std::string& error) {
    std::vector<TablePlace> places;
    if (!PlacesOfRequest(request, places, error)) return false;
    Timetable table(places.front().place, *places.front().clock, request.settings, request.method);
    day = table.Day(request.from);
    if (day.outcome == Outcome::Written) return true;
    error = table.LastMessage();
    return false;
}

int TimesTableText(const TimesRequest& request, std::string& text, std::string& messages) {
    return WrittenToMemory(
        [&](std::FILE* out, std::FILE* err) {
            std::vector<TablePlace> places;
            std::string error;
            if (PlacesOfRequest(request, places, error))
                return WriteTimesTables(request, places, out, err);
            messages = error;
            return 2;
        },
        text, messages);
}

}  // namespace zerin::services
