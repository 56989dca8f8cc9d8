#include "HijriBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "Look.h"
#include "PlaceInput.h"
#include "ReadAloud.h"
#include "hijri/HijriReport.h"
#include "time/Civil.h"

namespace zerin::ui {

namespace {

struct RuleEntry {
    const char* caption;
    HijriRule rule;
    SightingCriterion criterion;
};

// Umm al-Qura first: the default.
const RuleEntry kRuleEntries[] = {
    {"أم القرى", HijriRule::UmmAlQura, SightingCriterion::Odeh},
    {"الحسابي : المبدأ المدني", HijriRule::Civil, SightingCriterion::Odeh},
    {"الحسابي : المبدأ الفلكي", HijriRule::Astronomical, SightingCriterion::Odeh},
    {"أم القرى محسوبة بمكة", HijriRule::Computed, SightingCriterion::Odeh},
    {"رؤية الهلال : معيار عودة", HijriRule::Sighting, SightingCriterion::Odeh},
    {"رؤية الهلال : معيار يالوب", HijriRule::Sighting, SightingCriterion::Yallop},
};

// A date field's whole number, or none.
std::optional<int> WholeNumber(const std::string& text) {
    const double x = ReadNumber(text);
    if (!std::isfinite(x) || std::floor(x) != x || std::fabs(x) > 100000) return std::nullopt;
    return static_cast<int>(x);
}

bool SamePlace(const HijriPlace& a, const HijriPlace& b) {
    return a.Lon == b.Lon && a.Lat == b.Lat && a.Zone == b.Zone;
}

}  // namespace

HijriBox::HijriBox(QWidget* parent, std::function<WindowFields()> read)
    : QFrame(parent), read_(std::move(read)) {
    setObjectName(QStringLiteral("FrameHijri"));
    setProperty("skin", QStringLiteral("frame"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 6, 14, 6);
    layout->setSpacing(10);

    auto* heading = new QLabel(QStringLiteral("التاريخ الهجري"), this);
    heading->setObjectName(QStringLiteral("LblHijriHeading"));
    heading->setProperty("skin", QStringLiteral("heading"));
    heading->setFont(PartFont(QStringLiteral("Simplified Arabic"), 12, true));
    LblHijri = new QLabel(this);
    LblHijri->setObjectName(QStringLiteral("LblHijri"));
    LblHijri->setFont(PartFont(QStringLiteral("Tahoma"), 10, true));
    LblHijri->setMinimumWidth(300);
    CboHijriRule = new QComboBox(this);
    CboHijriRule->setObjectName(QStringLiteral("CboHijriRule"));
    CboHijriRule->setFont(PartFont(QStringLiteral("Tahoma"), 10));
    for (const RuleEntry& entry : kRuleEntries)
        CboHijriRule->addItem(QString::fromUtf8(entry.caption));
    NameControl(CboHijriRule, QStringLiteral("قاعدة التاريخ الهجري"));
    CmdMonth = PartButton(this, "CmdMonth", QStringLiteral("بداية الشهر الهجري"), 10);
    CmdMonth->setAutoDefault(true);
    CmdMonth->setMinimumHeight(30);

    layout->addWidget(heading);
    layout->addWidget(LblHijri, 1);
    layout->addWidget(CboHijriRule);
    layout->addWidget(CmdMonth);
    connect(CboHijriRule, &QComboBox::currentIndexChanged, this, &HijriBox::Refresh);
    connect(CmdMonth, &QPushButton::clicked, this, &HijriBox::monthReportAsked);
}

HijriBox::Choice HijriBox::Chosen() const {
    const int k = CboHijriRule->currentIndex();
    const RuleEntry& entry =
        kRuleEntries[k >= 0 && k < static_cast<int>(std::size(kRuleEntries)) ? k : 0];
    return {entry.rule, entry.criterion};
}

bool HijriBox::ReadPlace(const WindowFields& fields, HijriPlace& place, Message& refused) const {
    services::Place checked;
    std::string error;
    if (!services::CheckPlace({fields.texts, fields.east, fields.north}, checked, error)) {
        refused = {"لا يمكن حساب رؤية الهلال : المكان غير صالح", error};
        return false;
    }
    int zone = 0;
    try {
        zone = ReadInt16(fields.texts.TxtZone, "المنطقة الزمنية", "time-zone");
    } catch (const InputError& e) {
        refused = e.message();
        return false;
    }
    if (!IsZoneHours(zone)) {
        refused = {"لا يمكن حساب رؤية الهلال : المنطقة الزمنية خارج المجال من 14- إلى 12",
                   "the zone " + std::to_string(zone) + " lies beyond -14..12 hours"};
        return false;
    }
    place = {checked.Lon, checked.Lat, zone};
    return true;
}

HijriCalendar& HijriBox::CalendarFor(const Choice& choice, const HijriPlace& place) {
    if (!calendar_ || calendar_->Rule() != choice.rule ||
        calendar_->Criterion() != choice.criterion ||
        (choice.rule == HijriRule::Sighting && !SamePlace(calendar_->Place(), place)))
        calendar_ = std::make_unique<HijriCalendar>(choice.rule, place, choice.criterion);
    return *calendar_;
}

void HijriBox::Refresh() {
    shown_.reset();
    CmdMonth->setEnabled(false);
    const WindowFields fields = read_();
    // The date is said with the rule's list too, which the keyboard reaches.
    const auto shown = [this](const QString& text) {
        LblHijri->setText(text);
        CboHijriRule->setAccessibleDescription(text);
    };
    const std::optional<int> year = WholeNumber(fields.texts.TxtYear);
    const std::optional<int> month = WholeNumber(fields.texts.TxtMonth);
    const std::optional<int> day = WholeNumber(fields.texts.TxtDay);
    const std::optional<DayNumber> number =
        year && month && day ? DayNumberOf({*year, *month, *day}) : std::nullopt;
    if (!number) return shown(QStringLiteral("— لا يوجد هذا التاريخ"));
    if (CivilDayOf(*number).year > 9999) return shown(QStringLiteral("— التاريخ بعد سنة 9999"));

    const Choice choice = Chosen();
    HijriPlace place = kMecca;
    Message refused;
    if (choice.rule == HijriRule::Sighting && !ReadPlace(fields, place, refused))
        return shown(QStringLiteral("— ") + QString::fromStdString(refused.arabic));
    HijriDay hijri;
    try {
        hijri = CalendarFor(choice, place).DateOf(*number);
    } catch (const CalcError& fault) {
        return shown(QStringLiteral("— ") + QString::fromStdString(fault.what()));
    }
    if (hijri.date.year < 1) return shown(QStringLiteral("— قبل الهجرة"));
    if (hijri.date.year > kLastHijriYear)
        return shown(
            QStringLiteral("— بعد آخر سنة هجرية يحسبها البرنامج (%1 هـ)").arg(kLastHijriYear));
    QString text = QString::fromStdString(HijriDateText(hijri.date));
    if (hijri.rule != choice.rule)
        text += QStringLiteral(" (التقويم الحسابي : خارج جدول أم القرى 1300-1600 هـ)");
    shown(text);
    shown_ = hijri.date;
    shownChoice_ = choice;
    CmdMonth->setEnabled(true);
}

bool HijriBox::WriteMonthReport(Report& report, Messenger& messenger) {
    if (!shown_) {
        messenger.critical({"لا يوجد شهر هجري لهذا التاريخ", "the date has no Hijri month"});
        return false;
    }
    const WindowFields fields = read_();
    HijriPlace place;
    Message refused;
    if (!ReadPlace(fields, place, refused)) {
        messenger.critical(refused);
        return false;
    }
    try {
        zerin::WriteMonthReport(report, shown_->year, shown_->month, place, shownChoice_.criterion);
    } catch (const CalcError& fault) {
        const std::string name(report.Current());
        messenger.critical(
            {"تعذّر حساب " + name + " : توقف الحساب عند هذه القيمة",
             "could not compute " + name + " (" + fault.what() + "); the report stops before it"});
    }
    return true;
}

}  // namespace zerin::ui
