// The names of the system's time-zone database, for choosing a timetable's zone.
#pragma once

#include <QString>
#include <QStringList>

namespace zerin::ui {

// The Area/City names of the database ("Africa/Casablanca"), sorted; empty when there is no
// database.
QStringList ZoneNames();

// The system's own zone by its name, or an empty string when the database does not name it.
QString SystemZoneName();

}  // namespace zerin::ui
