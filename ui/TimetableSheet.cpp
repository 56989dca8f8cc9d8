#include "TimetableSheet.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "Gazetteer.h"
#include "Look.h"
#include "hijri/Hijri.h"
#include "qibla/Qibla.h"

namespace zerin::ui {

namespace {

const QString kMissing = QStringLiteral("—");

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The time cell a column shows, or -1 for the columns of the date.
int TimeCellOf(SheetColumn column) {
    switch (column) {
        case SheetColumn::Fajr:
            return services::kFajr;
        case SheetColumn::Sunrise:
            return services::kSunrise;
        case SheetColumn::Transit:
            return services::kTransit;
        case SheetColumn::Asr1:
            return services::kAsr1;
        case SheetColumn::Asr2:
            return services::kAsr2;
        case SheetColumn::Sunset:
            return services::kSunset;
        case SheetColumn::Isha:
            return services::kIsha;
        case SheetColumn::Maghrib:
            return services::kMaghrib;
        case SheetColumn::Midnight:
            return services::kMidnight;
        case SheetColumn::LastThird:
            return services::kLastThird;
        case SheetColumn::Weekday:
        case SheetColumn::Date:
        case SheetColumn::Hijri:
            break;
    }
    return -1;
}

int DaysInMonth(int y, int m) {
    using namespace std::chrono;
    const year_month_day_last end{year{y} / month{static_cast<unsigned>(m)} / last};
    return static_cast<int>(static_cast<unsigned>(end.day()));
}

// The zone as the zone list names it in Arabic ("الدار البيضاء، المغرب"), or its name in the
// database where ICU has none.
QString ZoneArabic(const std::string& zone) {
    const std::string arabic = places::ZoneCityCountryArabic(zone);
    return arabic.empty() ? Isolated(Utf8(zone)) : Utf8(arabic);
}

// The clock the times are shown on: the zone's name or the main window's numbers, and the
// offsets the page's days have, with the day each change takes effect.
QString ClockLine(const services::TableOptions& options, const std::vector<SheetRow>& rows) {
    QString line = QStringLiteral("الساعة: ");
    if (options.tz) line += ZoneArabic(*options.tz) + QLatin1Char(' ');
    QString offsets;
    std::optional<services::Seconds> shown;
    for (const SheetRow& row : rows) {
        const services::Seconds offset = row.day.offset.Total();
        if (shown && *shown == offset) continue;
        if (shown)
            offsets += QStringLiteral("، ثم ") + UtcText(offset) + QStringLiteral(" من ") +
                       Isolated(Utf8(services::DateText(row.day.date)));
        else
            offsets = UtcText(offset);
        shown = offset;
    }
    line += offsets;
    if (!options.tz)
        line += QStringLiteral(" (المنطقة الزمنية ") +
                Isolated(QString::number(options.zone.value_or(0))) +
                QStringLiteral("، التوقيت الصيفي ") +
                Isolated(QString::number(options.summer.value_or(0))) + QLatin1Char(')');
    return line + QStringLiteral(". الأوقات بساعة المكان، والتوقيت الصيفي محتسب فيها.");
}

// The header's gist in one line: the place, the clock, the method and the Qibla.
QString SummaryLine(const TimetableSource& source, const std::vector<SheetRow>& rows) {
    const services::TableOptions& options = source.Place().options;
    QString clock = options.tz ? ZoneArabic(*options.tz) : QStringLiteral("ساعة النافذة الرئيسية");
    if (!rows.empty()) clock += QLatin1Char(' ') + UtcText(rows.front().day.offset.Total());
    const services::PrayerMethod* m = services::PrayerMethodNamed(source.Settings().method);
    return AngleText(source.Lat(), true) + QStringLiteral("، ") + AngleText(source.Lon(), false) +
           QStringLiteral("؛ ") + clock + QStringLiteral("؛ الطريقة: ") +
           (m ? QString::fromUtf8(m->arabic) : Isolated(Utf8(source.Settings().method))) +
           QStringLiteral("؛ القبلة ") +
           Isolated(QString::number(QiblaOf(source.Lon(), source.Lat()).Qibla, 'f', 2) +
                    QStringLiteral("°"));
}

QString QiblaLine(double Lon, double Lat) {
    const QiblaPlace q = QiblaOf(Lon, Lat);
    return QStringLiteral("اتجاه القبلة: ") +
           Isolated(QString::number(q.Qibla, 'f', 2) + QStringLiteral("°")) +
           QStringLiteral(" من الشمال الحقيقي باتجاه عقارب الساعة، والمسافة إلى الكعبة ") +
           QString::number(std::llround(q.Distance)) + QStringLiteral(" كم على الدائرة العظمى.");
}

QString RuleName(services::HighLatRule rule) {
    return QString::fromUtf8(services::HighLatRuleArabic(rule));
}

QString PolarName(services::PolarRule rule) {
    return QString::fromUtf8(services::PolarRuleArabic(rule));
}

QString AsrLine(services::AsrShown asr) {
    QString line;
    if (asr != services::AsrShown::Second)
        line +=
            QStringLiteral("العصر الأول: ظل الشيء مثله مع ظل الزوال (المالكي والشافعي والحنبلي). ");
    if (asr != services::AsrShown::First)
        line += QStringLiteral("العصر الثاني: ظل الشيء مثلاه مع ظل الزوال (الحنفي). ");
    return line.trimmed();
}

QString Number(double value) {
    return Isolated(QString::number(value, 'g', 6));
}

}  // namespace

QStringList SettingsLines(const services::PrayerSettings& s) {
    QString method = QStringLiteral("الطريقة: ");
    const services::PrayerMethod* m = services::PrayerMethodNamed(s.method);
    method += (m ? QString::fromUtf8(m->arabic) : Isolated(Utf8(s.method))) +
              QStringLiteral(". الفجر: الشمس ") + Number(s.fajrAngle) +
              QStringLiteral("° تحت الأفق. العشاء: ");
    if (s.ishaInterval > 0) {
        method += Number(s.ishaInterval) + QStringLiteral(" دقيقة بعد المغرب");
        if (s.ramadanInterval > 0)
            method += QStringLiteral(" (") + Number(s.ramadanInterval) +
                      QStringLiteral(" في رمضان بتقويم أم القرى)");
        method += QLatin1Char('.');
    } else {
        method += Number(s.ishaAngle) + QStringLiteral("° تحت الأفق.");
    }
    if (!std::isnan(s.maghribAngle))
        method +=
            QStringLiteral(" المغرب: ") + Number(s.maghribAngle) + QStringLiteral("° تحت الأفق.");
    if (s.seasonal) method += QStringLiteral(" الشفق الموسمي.");
    QString adjust = QStringLiteral("التعديلات بالدقائق: ");
    adjust += QString::fromUtf8(services::AdjustmentsTextArabic(s.adjust)) +
              QStringLiteral("؛ التقريب: ") +
              (s.rounding == services::Rounding::Up ? QStringLiteral("إلى الدقيقة التالية")
                                                    : QStringLiteral("إلى أقرب دقيقة")) +
              QLatin1Char('.');
    const double horizon = services::HorizonAltitude(s.horizon, s.elevation);
    QString rising = QStringLiteral("الشروق والغروب: مركز الشمس ") +
                     Isolated(QString::number(-horizon, 'f', 4)) +
                     (s.horizon == services::Horizon::Report
                          ? QStringLiteral("° تحت الأفق (حافتها العليا على الأفق، بلا انكسار)")
                          : QStringLiteral("° تحت الأفق (حافتها العليا على الأفق مع الانكسار)"));
    rising += QStringLiteral("، الارتفاع ") + Number(s.elevation) + QStringLiteral(" م.");
    QString rules =
        AsrLine(s.asr) + QStringLiteral(" خطوط العرض العليا: ") +
        (!std::isnan(s.seventhAbove) ? RuleName(s.rule) + QStringLiteral("، وسُبع الليل فوق ") +
                                           Number(s.seventhAbove) + QStringLiteral("°")
                                     : RuleName(s.rule)) +
        QStringLiteral(". الأيام القطبية: ") + PolarName(s.polar) + QLatin1Char('.');
    return {method, adjust, rising, rules};
}

std::vector<SheetColumn> SheetColumns(const services::PrayerSettings& settings, bool hijri) {
    const services::AsrShown asr = settings.asr;
    std::vector<SheetColumn> columns{SheetColumn::Weekday, SheetColumn::Date};
    if (hijri) columns.push_back(SheetColumn::Hijri);
    columns.insert(columns.end(), {SheetColumn::Fajr, SheetColumn::Sunrise, SheetColumn::Transit});
    if (asr != services::AsrShown::Second) columns.push_back(SheetColumn::Asr1);
    if (asr != services::AsrShown::First) columns.push_back(SheetColumn::Asr2);
    columns.push_back(SheetColumn::Sunset);
    if (services::MaghribApart(settings)) columns.push_back(SheetColumn::Maghrib);
    columns.push_back(SheetColumn::Isha);
    if (settings.extras)
        columns.insert(columns.end(), {SheetColumn::Midnight, SheetColumn::LastThird});
    return columns;
}

QString ColumnTitle(SheetColumn column) {
    switch (column) {
        case SheetColumn::Weekday:
            return QStringLiteral("اليوم");
        case SheetColumn::Date:
            return QStringLiteral("التاريخ");
        case SheetColumn::Hijri:
            return QStringLiteral("التاريخ الهجري");
        case SheetColumn::Fajr:
            return QStringLiteral("الفجر");
        case SheetColumn::Sunrise:
            return QStringLiteral("الشروق");
        case SheetColumn::Transit:
            return QStringLiteral("الظهر");
        case SheetColumn::Asr1:
            return QStringLiteral("العصر الأول");
        case SheetColumn::Asr2:
            return QStringLiteral("العصر الثاني");
        case SheetColumn::Sunset:
            return QStringLiteral("الغروب");
        case SheetColumn::Maghrib:
            return QStringLiteral("المغرب");
        case SheetColumn::Isha:
            return QStringLiteral("العشاء");
        case SheetColumn::Midnight:
            return QStringLiteral("منتصف الليل");
        case SheetColumn::LastThird:
            return QStringLiteral("الثلث الأخير");
    }
    return {};
}

bool ReadsRightToLeft(SheetColumn column) {
    return column == SheetColumn::Weekday || column == SheetColumn::Hijri;
}

TimetableSource::TimetableSource(const services::TimetablePlace& place,
                                 const services::Place& checked,
                                 std::unique_ptr<services::ZoneClock> clock,
                                 const services::PrayerSettings& settings,
                                 services::TimesMethod method)
    : place_(place),
      checked_(checked),
      clock_(std::move(clock)),
      settings_(settings),
      table_(checked_, *clock_, settings_, method) {}

std::unique_ptr<TimetableSource> TimetableSource::Make(const services::TimetablePlace& place,
                                                       const services::PrayerSettings& settings,
                                                       const services::Civil& first,
                                                       const services::Civil& last,
                                                       std::string& error,
                                                       services::TimesMethod method) {
    services::Place checked;
    if (!services::CheckPlace(place.options.place, checked, error)) return nullptr;
    std::unique_ptr<services::ZoneClock> clock = services::MakeClock(place.options, error);
    if (!clock) return nullptr;
    services::Civil noon = last;
    noon.hour = 12;
    if (!services::ClockKnows(*clock, place.options, clock->FromStandard(services::SecondsOf(noon)),
                              error))
        return nullptr;
    if (services::SecondsOf(last) < services::SecondsOf(first)) {
        error = "the timetable has no day";
        return nullptr;
    }
    return std::unique_ptr<TimetableSource>(
        new TimetableSource(place, checked, std::move(clock), settings, method));
}

std::vector<TimetablePage> PagesOf(const services::TimetableJob& job) {
    std::vector<TimetablePage> pages;
    for (std::size_t place = 0; place < job.places.size(); ++place) {
        services::Seconds day = services::SecondsOf(job.from);
        for (std::size_t left = job.days; left > 0;) {
            const services::Civil first = services::CivilOf(day);
            const auto inMonth =
                static_cast<std::size_t>(DaysInMonth(first.year, first.month) - first.day + 1);
            const std::size_t days = std::min(left, inMonth);
            pages.push_back({place, first, days});
            left -= days;
            day += static_cast<services::Seconds>(days) * services::kDay;
        }
    }
    return pages;
}

services::Civil LastDayOf(const services::TimetableJob& job) {
    const std::size_t days = job.days ? job.days - 1 : 0;
    return services::CivilOf(services::SecondsOf(job.from) +
                             static_cast<services::Seconds>(days) * services::kDay);
}

QString TimetableSheet::Cell(std::size_t row, std::size_t column) const {
    const services::TimesDay& d = rows[row].day;
    const SheetColumn c = columns[column];
    if (c == SheetColumn::Weekday) return QString::fromUtf8(WeekdayName(WeekdayOf(d.date)));
    if (c == SheetColumn::Date) return Utf8(services::DateText(d.date));
    if (c == SheetColumn::Hijri) return Utf8(rows[row].hijri);
    const int cell = TimeCellOf(c);
    if (std::isnan(d.clock[cell])) return kMissing;
    QString text = Utf8(services::ClockText(d.clock[cell], seconds));
    if (d.adjusted[cell]) text += QLatin1Char('*');
    return text;
}

TimetableSheet SheetOf(TimetableSource& source, const TimetablePage& page,
                       const services::TimetableJob& job) {
    TimetableSheet sheet;
    sheet.seconds = job.seconds;
    sheet.columns = SheetColumns(job.settings, job.hijri.has_value());
    const services::TimetablePlace& place = source.Place();
    sheet.title = place.name.empty() ? QStringLiteral("مواقيت الصلاة") : Utf8(place.name);
    sheet.month = MonthTitle(page.first.year, page.first.month);

    bool missing = false, adjusted = false;
    QStringList skipped;     // the days the clock skips: no row
    std::string unfinished;  // what the calculation said of the first day it did not finish
    const services::Seconds first = services::SecondsOf(page.first);
    std::optional<HijriCalendar> hijri;
    bool fallback = false;  // Umm al-Qura outside its table: the tabular calendar's dates
    for (std::size_t k = 0; k < page.days; ++k) {
        SheetRow row{source.Day(services::CivilOf(first + static_cast<services::Seconds>(k) *
                                                              services::kDay)),
                     {},
                     {}};
        if (row.day.skipped) {
            skipped << Isolated(Utf8(services::DateText(row.day.date)));
            continue;
        }
        if (job.hijri) {
            if (!hijri) {
                const services::Seconds zone = -row.day.offset.standard / services::kHour;
                hijri.emplace(services::TableHijriCalendar(
                    *job.hijri, services::Place{source.Lon(), source.Lat()},
                    static_cast<int>(zone)));
            }
            HijriRule used = *job.hijri;
            row.hijri = services::HijriCellText(*hijri, row.day.date, true, &used);
            fallback = fallback || used != *job.hijri;
        }
        if (row.day.outcome != Outcome::Written) {
            row.why = source.LastMessage();
            if (unfinished.empty()) unfinished = row.why.empty() ? "?" : row.why;
            sheet.rows.push_back(std::move(row));
            continue;
        }
        for (const SheetColumn column : sheet.columns) {
            const int cell = TimeCellOf(column);
            if (cell < 0) continue;
            missing = missing || std::isnan(row.day.clock[cell]);
            adjusted = adjusted || row.day.adjusted[cell];
        }
        sheet.rows.push_back(std::move(row));
    }

    sheet.header << QStringLiteral("خط العرض ") + AngleText(source.Lat(), true) +
                        QStringLiteral("، خط الطول ") + AngleText(source.Lon(), false) +
                        QLatin1Char('.')
                 << ClockLine(place.options, sheet.rows) << QiblaLine(source.Lon(), source.Lat())
                 << SettingsLines(source.Settings());
    sheet.summary = SummaryLine(source, sheet.rows);
    if (!unfinished.empty())
        sheet.notes << QStringLiteral("— تعذّر حساب بعض الأيام: ") + Isolated(Utf8(unfinished));
    if (missing) sheet.notes << QStringLiteral("— لا تبلغ الشمس ارتفاع هذا الوقت في ذلك اليوم.");
    if (job.hijri)
        sheet.notes << QStringLiteral("التاريخ الهجري: ") +
                           QString::fromUtf8(HijriRuleArabic(*job.hijri)) +
                           (fallback ? QStringLiteral("، وخارج جدول أم القرى (1300-1600 هـ) "
                                                      "التقويم الجدولي.")
                                     : QStringLiteral("."));
    if (adjusted)
        sheet.notes << QStringLiteral("* وقت مقدّر بقاعدة خطوط العرض العليا (") +
                           RuleName(source.Settings().rule) +
                           QStringLiteral(") أو بقاعدة الأيام القطبية (") +
                           PolarName(source.Settings().polar) + QStringLiteral(").");
    if (!skipped.isEmpty())
        sheet.notes << QStringLiteral("لا صف لـ ") + skipped.join(QStringLiteral("، ")) +
                           QStringLiteral(
                               ": يوم تخطّته ساعة المكان حين انتقلت منطقته عبر خط "
                               "التاريخ.");
    return sheet;
}

QString UtcText(services::Seconds east) {
    return Isolated(QStringLiteral("UTC") + Utf8(services::OffsetText(east)));
}

QString MonthTitle(int year, int month) {
    return QString::fromUtf8(GregorianMonthName(month)) + QLatin1Char(' ') + QString::number(year);
}

QString AngleText(double degrees, bool latitude) {
    const bool positive = degrees >= 0;
    const long long seconds = std::llround(std::fabs(degrees) * 3600);
    const QString dms =
        QStringLiteral("%1° %2′ %3″").arg(seconds / 3600).arg(seconds / 60 % 60).arg(seconds % 60);
    const char* side = latitude ? (positive ? "شمالاً" : "جنوباً") : (positive ? "غرباً" : "شرقاً");
    return Isolated(dms) + QLatin1Char(' ') + QString::fromUtf8(side);
}

}  // namespace zerin::ui
