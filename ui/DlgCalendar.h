// The options of a timetable saved for the user's calendar («حفظ للتقويم»): a reminder before
// each time, Ramadan's Imsak and breaking of the fast, rising, and how long each event lasts;
// the same options as `zerin times --ics`.
#pragma once

#include <QDialog>

#include "PrayerCalendar.h"

class QCheckBox;
class QSpinBox;

namespace zerin::ui {

class DlgCalendar : public QDialog {
    Q_OBJECT

  public:
    explicit DlgCalendar(QWidget* parent = nullptr);
    services::CalendarOptions Options() const;

  private:
    QCheckBox *ChkAlarm = nullptr, *ChkRamadan = nullptr, *ChkSunrise = nullptr;
    QSpinBox *SpnAlarm = nullptr, *SpnImsak = nullptr, *SpnDuration = nullptr;
};

}  // namespace zerin::ui
