// The pages of a printed timetable and what each holds: the place's header, the days of one
// month and the columns of the grid. The timetable window, its printing and its PDF share them,
// and the rows come from the same code as `zerin times`.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "TableRequest.h"
#include "Times.h"
#include "TimesPdf.h"
#include "ZoneClock.h"

namespace zerin::ui {

// The grid's columns, in reading order: the first stands at the right.
enum class SheetColumn {
    Weekday,
    Date,   // Gregorian
    Hijri,  // the Hijri date by the job's rule, when it has one
    Fajr,
    Sunrise,
    Transit,
    Asr1,
    Asr2,
    Sunset,
    Maghrib,  // when the method gives Maghrib its own angle
    Isha,
    Midnight,   // the middle of the night, when asked for
    LastThird,  // the start of its last third
};

std::vector<SheetColumn> SheetColumns(const services::PrayerSettings& settings, bool hijri = false);
QString ColumnTitle(SheetColumn column);
// The columns written in Arabic words (the weekday, the Hijri date); the others hold numbers.
bool ReadsRightToLeft(SheetColumn column);

// A place of a timetable made ready: its place and clock checked, its days computed on demand.
class TimetableSource {
  public:
    // Null, with the command line's message in error, when the place or its clock cannot be used
    // for the days from first to last.
    static std::unique_ptr<TimetableSource> Make(
        const services::TimetablePlace& place, const services::PrayerSettings& settings,
        const services::Civil& first, const services::Civil& last, std::string& error,
        services::TimesMethod method = services::TimesMethod::Exact);

    services::TimesDay Day(const services::Civil& date) { return table_.Day(date); }
    const std::string& LastMessage() const { return table_.LastMessage(); }
    const services::TimetablePlace& Place() const { return place_; }
    double Lon() const { return checked_.Lon; }  // degrees, West positive
    double Lat() const { return checked_.Lat; }  // degrees, North positive
    const services::PrayerSettings& Settings() const { return settings_; }

  private:
    TimetableSource(const services::TimetablePlace& place, const services::Place& checked,
                    std::unique_ptr<services::ZoneClock> clock,
                    const services::PrayerSettings& settings, services::TimesMethod method);

    services::TimetablePlace place_;
    services::Place checked_;
    std::unique_ptr<services::ZoneClock> clock_;
    services::PrayerSettings settings_;
    services::Timetable table_;
};

// One page: a place and the days of one month (all of it, or the part the job covers).
struct TimetablePage {
    std::size_t place = 0;  // in the job's places
    services::Civil first;
    std::size_t days = 0;
};

// A page per place and month, each place's months in order.
std::vector<TimetablePage> PagesOf(const services::TimetableJob& job);

// The last day of a job.
services::Civil LastDayOf(const services::TimetableJob& job);

struct SheetRow {
    services::TimesDay day;
    std::string why;    // what the calculation said of a day it did not finish
    std::string hijri;  // "1 رمضان 1446 هـ" when the job shows the Hijri date
};

// What one page shows.
struct TimetableSheet {
    QString title;       // the place's name, or a general title
    QString month;       // "مارس 2026"
    QStringList header;  // coordinates, clock, Qibla, angles, rules
    QString summary;     // the header's gist in one line: place, clock, method, Qibla
    std::vector<SheetColumn> columns;
    std::vector<SheetRow> rows;
    QStringList notes;  // why cells are empty or marked
    bool seconds = false;

    // The text of a cell: "05:20", "05:20*" for a time filled by the high-latitude rule, "—" for
    // a time the Sun never reaches that day.
    QString Cell(std::size_t row, std::size_t column) const;
};

TimetableSheet SheetOf(TimetableSource& source, const TimetablePage& page,
                       const services::TimetableJob& job);

// The lines of the page's header that say what the times were computed with: the method, its
// angles or interval, the adjustments, the horizon and elevation, the rules.
QStringList SettingsLines(const services::PrayerSettings& settings);

// "UTC+01:00" for seconds East of Greenwich, isolated to read left to right in an Arabic line.
QString UtcText(services::Seconds east);
// "مارس 2026".
QString MonthTitle(int year, int month);
// "33° 58′ 48″ شمالاً" for latitudes, "6° 50′ 24″ غرباً" for longitudes (West positive).
QString AngleText(double degrees, bool latitude);

}  // namespace zerin::ui
