#include "TableRequest.h"

namespace zerin::services {

namespace {

// "UTC+05:00" for hours East of Greenwich.
std::string UtcOffset(int hoursEast) {
    return "UTC" + OffsetText(static_cast<Seconds>(hoursEast) * kHour);
}

}  // namespace

Language HeaderLanguage(const TableOptions& o) {
    if (o.format == Format::Json) return Language::English;
    return o.language.value_or(o.format == Format::Text ? Language::Arabic : Language::English);
}

std::unique_ptr<ZoneClock> MakeClock(const TableOptions& o, std::string& error) {
    if (o.tz) {
        if (o.zone || o.summer) {
            error =
                "--tz gives the zone and its summer time: it does not go with --zone or "
                "--summer";
            return nullptr;
        }
        return NamedClock(*o.tz, error);
    }
    const int zone = o.zone.value_or(0), summer = o.summer.value_or(0);
    const int hoursEast = summer - zone;
    if (hoursEast < -12 || hoursEast > 14) {
        error = "--zone " + std::to_string(zone) + " with --summer " + std::to_string(summer) +
                " puts the clock at " + UtcOffset(hoursEast) +
                ": a clock's offset lies within UTC-12:00..UTC+14:00";
        return nullptr;
    }
    return FixedClock(zone, summer);
}

CalculationClock CalculationClockAt(const ZoneClock& clock, Seconds utc) {
    const ClockOffset offset = clock.At(utc);
    const Seconds zone = offset.standard / kHour, summer = offset.summer / kHour;
    return {zone, summer, CivilOf(utc + (zone + summer) * kHour)};
}

Reading<Observer> ObserverOf(const Place& place, const CalculationClock& c) {
    const Civil& e = c.entered;
    return ObserverAt(place, static_cast<std::int16_t>(-c.zone),
                      static_cast<std::int16_t>(c.summer),
                      ClockOf(e.year, e.month, e.day, e.hour, e.minute, e.second));
}

bool ClockKnows(const ZoneClock& clock, const TableOptions& o, Seconds lastUtc,
                std::string& error) {
    const std::optional<Seconds> known = clock.KnownUntil();
    if (!known || lastUtc <= *known) return true;
    error = "the time-zone database gives the rule of " + o.tz.value_or("the zone") + " after " +
            DateText(CivilOf(*known)) +
            " in a form this program cannot read: end the table before that day, or give --zone "
            "and --summer";
    return false;
}

}  // namespace zerin::services
