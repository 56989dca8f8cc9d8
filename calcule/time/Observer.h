// The observer of a computation: the place, the zone and summer time, the reading of the
// clock, and the instant as a Julian day and Julian centuries T. It is read once, from
// the main window's field texts or from numbers, and every report is computed from it.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "math/Errors.h"
#include "report/Fields.h"

namespace zerin {

// A place as the calculation takes it: degrees, West and North positive.
struct Place {
    double Lon = 0, Lat = 0;
};

// A reading of the clock: the date as entered (January and February not yet counted as
// months 13 and 14), and the time as fractions of a day.
struct ClockReading {
    double year = 0, month = 0, day = 0;
    double h = 0;    // hour / 24
    double Min = 0;  // minute / 1440
    double Sec = 0;  // second / 86400
};

// The clock reading of whole numbers, as the fields would hold them.
ClockReading ClockOf(int year, int month, int day, int hour, int minute, int second);

struct Observer {
    double Lon = 0, Lat = 0;  // degrees, West and North positive
    // Hours in the sense of the longitude (one hour ahead of Greenwich is -1), and the
    // summer-time correction in hours.
    std::int16_t Zone = 0, EteRegl = 0;
    ClockReading clock;
    double JJ = 0;  // Julian day of the instant at Greenwich (zone and summer time removed)
    double T = 0;   // Julian centuries of 36525 days since JD 2415020
};

// A value read from the user's input, or the message that refuses the input.
template <class Value>
class Reading {
  public:
    Reading(Value value) : value_(std::move(value)) {}                   // NOLINT
    Reading(const InputError& refused) : refused_(refused.message()) {}  // NOLINT
    explicit operator bool() const { return value_.has_value(); }
    const Value& operator*() const { return *value_; }
    const Value* operator->() const { return &*value_; }
    const Message& refused() const { return refused_; }

  private:
    std::optional<Value> value_;
    Message refused_;
};

// The place of the longitude and latitude fields (degrees + minutes / 60 + seconds / 3600),
// East and South made negative; refused when a sum is too large to compute with.
Reading<Place> ReadPlace(const FieldTexts& fields, bool east, bool north);

// Which time a clock reading takes: that of the time fields, or 12:00:00 (the crescent).
enum class TimeOfDay { Fields, Noon };

// The date and time fields as numbers; refused when a number (or the day with its time) is
// too large to compute with, or the date falls in the days dropped by the Gregorian reform
// (5 to 14 October 1582). Each message names the fields.
Reading<ClockReading> ReadClock(const FieldTexts& fields, TimeOfDay time = TimeOfDay::Fields);

// The observer of a place, a zone, a summer time and a clock reading: the Julian day of the
// reading on the zone's clock, moved to Greenwich, and T. Refused for a date of the
// Gregorian gap, a zone minus summer time beyond 16 bits, or an instant too far to compute.
Reading<Observer> ObserverAt(const Place& place, std::int16_t Zone, std::int16_t EteRegl,
                             const ClockReading& clock);

// The observer of the field texts: the summer-time and zone fields (16-bit integers), the
// place, the date and the time, refused with the message of the first field that cannot be
// used, in that order.
Reading<Observer> ReadObserver(const FieldTexts& fields, bool east, bool north,
                               TimeOfDay time = TimeOfDay::Fields);

}  // namespace zerin
