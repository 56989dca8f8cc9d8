#include "PlaceReading.h"

#include <cmath>

#include "Look.h"
#include "PlaceFields.h"
#include "TimetableSheet.h"
#include "report/NumText.h"

namespace zerin::ui {

namespace {

struct NamedField {
    FieldText field;
    const char* caption;
};
// clang-format off
const NamedField kFields[] = {
    {&FieldTexts::TxtDegLon, "خط الطول، الدرج"}, {&FieldTexts::TxtMinLon, "خط الطول، الدقيقة"},
    {&FieldTexts::TxtSecLon, "خط الطول، الثواني"}, {&FieldTexts::TxtDegLat, "خط العرض، الدرج"},
    {&FieldTexts::TxtMinLat, "خط العرض، الدقيقة"}, {&FieldTexts::TxtSecLat, "خط العرض، الثواني"},
    {&FieldTexts::TxtZone, "المنطقة الزمنية"},      {&FieldTexts::TxtEteRegl, "التوقيت الصيفي"},
    {&FieldTexts::TxtYear, "السنة"},                {&FieldTexts::TxtMonth, "الشهر"},
    {&FieldTexts::TxtDay, "اليوم"},                 {&FieldTexts::TxtHour, "الساعة"},
    {&FieldTexts::TxtMin, "الدقيقة"},               {&FieldTexts::TxtSec, "الثانية"},
};
// clang-format on

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QString ArabicIndic(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(0x0660 + (c.unicode() - '0'));
        else if (c == QLatin1Char('.'))
            c = QChar(0x066B);
    }
    return out;
}

QString AngleInWords(double degrees, bool latitude) {
    const places::AngleTexts a = places::AngleFieldTexts(degrees);
    QString text = Utf8(a.degrees) + QStringLiteral("° ") + Utf8(a.minutes) + QStringLiteral("′");
    if (a.seconds != "0") text += QLatin1Char(' ') + Utf8(a.seconds) + QStringLiteral("″");
    const bool positive = degrees >= 0;
    const char* side = latitude ? (positive ? "شمالاً" : "جنوباً") : (positive ? "غرباً" : "شرقاً");
    return ArabicIndic(text) + QLatin1Char(' ') + QString::fromUtf8(side);
}

QString FieldCaption(FieldText field) {
    for (const NamedField& f : kFields)
        if (f.field == field) return QString::fromUtf8(f.caption);
    return {};
}

PlaceReading::PlaceReading(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("LblPlaceReading"));
    setAccessibleName(QStringLiteral("المكان والتوقيت كما يُحسبان"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
}

// The clock the report computes with (the zone and summer-time fields in whole hours), and the
// zone's own offset on the fields' date when the place keeps a zone of the database.
QString PlaceReading::ClockPart(const services::FieldOptions& o, const std::string& zoneName) {
    const double zone = ReadNumber(o.fields.TxtZone), summer = ReadNumber(o.fields.TxtEteRegl);
    const double zoneHours = std::nearbyint(zone), summerHours = std::nearbyint(summer);
    if (!(std::fabs(zoneHours) <= 32767 && std::fabs(summerHours) <= 32767))
        return QStringLiteral("التوقيت: خارج الحدود المقبولة");
    const auto fields = static_cast<services::Seconds>(summerHours - zoneHours) * services::kHour;
    QString part = QStringLiteral("التوقيت: ");
    if (!zoneName.empty()) {
        if (clockName_ != zoneName) {
            std::string error;
            clock_ = services::NamedClock(zoneName, error);
            clockName_ = zoneName;
        }
        if (clock_) {
            const services::Seconds local = services::SecondsOf(places::FieldsReading(o.fields));
            const services::Seconds east = clock_->At(clock_->FromLocal(local)).Total();
            part += Isolated(Utf8(zoneName)) + QStringLiteral(" (") + UtcText(east) +
                    QStringLiteral(" في هذا التاريخ)");
            if (east != fields) part += QStringLiteral("، والتقرير على ") + UtcText(fields);
            return part;
        }
    }
    part += UtcText(fields);
    if (summerHours != 0) part += QStringLiteral(" بالتوقيت الصيفي");
    if (zone != zoneHours || summer != summerHours)
        part += QStringLiteral("، المنطقة والتوقيت الصيفي مقرّبان إلى ساعات كاملة");
    return part;
}

std::vector<FieldText> PlaceReading::Show(const services::FieldOptions& o,
                                          const std::string& zoneName) {
    services::Place place;
    std::string error;
    QString line =
        services::CheckPlace(o, place, error)
            ? AngleInWords(place.Lat, true) + QStringLiteral("، ") + AngleInWords(place.Lon, false)
            : QStringLiteral("المكان لا يُحسب: ") + Utf8(error);
    line += QStringLiteral("، ") + ClockPart(o, zoneName);
    std::vector<FieldText> unread;
    QStringList named;
    for (const NamedField& f : kFields) {
        const std::string& text = o.fields.*f.field;
        if (ReadsWhole(text)) continue;
        unread.push_back(f.field);
        named << QString::fromUtf8(f.caption) + QStringLiteral(" «") + Utf8(text) +
                     QStringLiteral("» يُقرأ ") + ArabicIndic(Utf8(NumText(ReadNumber(text), ".")));
    }
    if (!named.isEmpty())
        line += QStringLiteral("\n— نص لا يُقرأ كله عدداً: ") + named.join(QStringLiteral("؛ "));
    setText(line);
    setProperty("problem", !unread.empty());
    setAccessibleDescription(line);
    return unread;
}

}  // namespace zerin::ui
