#include "DlgCalendar.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "Look.h"
#include "ReadAloud.h"

namespace zerin::ui {

namespace {

QSpinBox* MinutesBox(QWidget* parent, const char* name, int most, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, most);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" دقيقة"));
    return box;
}

}  // namespace

DlgCalendar::DlgCalendar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgCalendar"));
    setWindowTitle(QStringLiteral("حفظ للتقويم"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);

    auto* about = new QLabel(
        QStringLiteral("ملف تقويم (ICS) تستورده برامج التقويم في الهاتف والحاسوب: حدثٌ لكل وقت "
                       "من كل يوم. يُستبدل بما استُورد قبله للمكان نفسه، فلا تتكرر الأحداث."),
        this);
    about->setWordWrap(true);
    form->addRow(about);

    ChkAlarm = new QCheckBox(QStringLiteral("تذكير قبل كل وقت بـ"), this);
    ChkAlarm->setObjectName(QStringLiteral("ChkAlarm"));
    ChkAlarm->setChecked(true);
    SpnAlarm = MinutesBox(this, "SpnAlarm", services::kMostAlarmMinutes, 10);
    NameControl(SpnAlarm, QStringLiteral("دقائق التذكير قبل الوقت"));
    form->addRow(ChkAlarm, SpnAlarm);

    ChkRamadan = new QCheckBox(QStringLiteral("رمضان: الإمساك قبل الفجر بـ"), this);
    ChkRamadan->setObjectName(QStringLiteral("ChkRamadan"));
    ChkRamadan->setToolTip(
        QStringLiteral("في أيام رمضان حسب التاريخ الهجري المختار في الجدول (أم القرى إن لم "
                       "يُختر): حدث للإمساك وحدث للإفطار عند المغرب"));
    SpnImsak = MinutesBox(this, "SpnImsak", services::kMostImsakMinutes, 10);
    SpnImsak->setEnabled(false);
    NameControl(SpnImsak, QStringLiteral("دقائق الإمساك قبل الفجر"));
    form->addRow(ChkRamadan, SpnImsak);

    SpnDuration = MinutesBox(this, "SpnDuration", services::kMostEventMinutes, 0);
    SpnDuration->setSpecialValueText(QStringLiteral("لحظة"));
    form->addRow(new QLabel(QStringLiteral("مدة كل حدث:"), this), SpnDuration);
    NameControl(SpnDuration, QStringLiteral("مدة كل حدث بالدقائق"));

    ChkSunrise = new QCheckBox(QStringLiteral("الشروق أيضا"), this);
    ChkSunrise->setObjectName(QStringLiteral("ChkSunrise"));
    form->addRow(ChkSunrise);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("حفظ…"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("CmdSave"));
    buttons->addButton(QStringLiteral("إلغاء"), QDialogButtonBox::RejectRole);
    form->addRow(buttons);

    connect(ChkAlarm, &QCheckBox::toggled, SpnAlarm, &QWidget::setEnabled);
    connect(ChkRamadan, &QCheckBox::toggled, SpnImsak, &QWidget::setEnabled);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ReadyToReadAloud(*this);
    ApplySkin(*this);
}

services::CalendarOptions DlgCalendar::Options() const {
    services::CalendarOptions options;
    options.minutes.fill(SpnDuration->value());
    if (ChkAlarm->isChecked()) options.alarm = SpnAlarm->value();
    options.ramadan = ChkRamadan->isChecked();
    options.imsak = SpnImsak->value();
    options.sunrise = ChkSunrise->isChecked();
    return options;
}

}  // namespace zerin::ui
