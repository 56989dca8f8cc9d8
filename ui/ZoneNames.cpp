#include "ZoneNames.h"

#include <date/tz.h>

namespace zerin::ui {

QStringList ZoneNames() {
    QStringList names;
    try {
        for (const date::time_zone& zone : date::get_tzdb().zones) {
            const QString name = QString::fromStdString(std::string(zone.name()));
            // Area/City only: not the old abbreviations (EST, CET) nor the fixed Etc/GMT+5 zones.
            const qsizetype slash = name.indexOf(QLatin1Char('/'));
            if (slash <= 0 || name.startsWith(QLatin1String("Etc/"))) continue;
            if (!name.at(0).isUpper()) continue;
            names << name;
        }
    } catch (const std::exception&) {
        return {};  // no database: the window offers the main window's zone alone
    }
    names.sort();
    names.removeDuplicates();
    return names;
}

QString SystemZoneName() {
    try {
        return QString::fromStdString(std::string(date::current_zone()->name()));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace zerin::ui
