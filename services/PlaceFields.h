// What a place found by its name puts into the main window's fields and into the command line's
// options: the same typed values for both, so that a place picked in the window and the same
// place named with --place compute the same report.
#pragma once

#include <optional>
#include <string>

#include "Gazetteer.h"
#include "PlaceInput.h"
#include "ZoneClock.h"

namespace zerin::places {

// An angle's degrees, minutes and seconds as the fields write them ("6", "49", "57.36"):
// seconds to the hundredth, without trailing zeros.
struct AngleTexts {
    std::string degrees, minutes, seconds;
};
AngleTexts AngleFieldTexts(double degrees);

// Hours in the fields' form: "-1", "5.5", "0".
std::string HoursText(double hours);

// A place's fields: longitude and latitude with their sides, and its clock at a reading of
// the local clock: the zone as its standard offset (East negative, the program's sign) and the
// summer time as the offset it adds then. A place whose zone is whole hours (an own place
// saved from the fields) gives that zone and no summer time (`summerKnown` false: the field
// keeps what it holds). False with a message when the zone is not in the time-zone database.
struct PlaceFields {
    services::FieldOptions place;  // the six place fields, East and North; TxtZone, TxtEteRegl
    bool summerKnown = true;
};
bool FieldsOfPlace(const GazetteerPlace& place, const services::Civil& local, PlaceFields& fields,
                   std::string& error);

// The local date and time the fields' texts give, as the window reads them; a text that is
// no number takes the fallback (2000-01-01 12:00:00), a month, day, hour, minute or second
// out of range its nearest value.
services::Civil FieldsReading(const FieldTexts& fields);

// Fills the longitude and latitude fields and flags only.
void FillCoordinates(const GazetteerPlace& place, services::FieldOptions& options);

// True when the zone is a name of the time-zone database rather than whole hours.
bool IsZoneName(const std::string& zone);

}  // namespace zerin::places
