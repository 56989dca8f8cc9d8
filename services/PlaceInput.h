// A place as the user gives it: the texts of the main window's place fields with their sides,
// read into the place the calculation takes; and the forms of a latitude, a longitude and whole
// hours that the tables and the places file accept.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ZoneClock.h"
#include "report/Fields.h"
#include "time/Observer.h"

namespace zerin::services {

// The raw texts of the main window's fields, with the window's start-up values as defaults,
// and the sides of the place.
struct FieldOptions {
    FieldTexts fields;
    bool east = false;
    bool north = true;
};

// Each option that takes the text of one field, and that field (the names the messages give).
struct FieldTextOption {
    const char* option;
    std::string FieldTexts::*field;
};
extern const FieldTextOption kFieldTextOptions[14];
// The first entries are the place's: --lon-deg, --lon-min, --lon-sec, then the latitude's.
inline constexpr std::size_t kPlaceFieldOptions = 6;

// Today's date and the time now on the local clock, as the window fills its fields.
void FillFromClock(FieldTexts& fields);

// The place as the calculation takes it (degrees, West and North positive), or false with a
// message naming the option when a field's number is too large to compute with, or the place lies
// beyond 180 degrees of longitude or 90 of latitude.
using zerin::Place;
bool CheckPlace(const FieldOptions& place, Place& checked, std::string& error);

// A decimal number as the options write one: an optional sign, digits, and a period with digits
// after it ("19", "-1.5", "+2"), read whatever the regional settings; false for anything else
// (hexadecimal, exponents, "inf", blanks).
bool ReadDecimal(std::string_view text, double& value);

enum class Axis { Longitude, Latitude };

// "5:40:0W", "5:40W", "-5.6667", "32:56:0N" (D[:M[:S]] with a letter, or decimal degrees) into
// the three field texts of the axis. A minus sign or the letter E (S) is the program's negative
// side; `explicitSide` tells whether the text named a side (a letter or a sign) or left it to the
// flags, and when it did the flag (East, North) is set. False with the message of --lon (--lat)
// when the text is not an angle or is out of range.
bool ReadAngleText(Axis axis, const std::string& text, FieldOptions& place, bool& negative,
                   bool& explicitSide, std::string& error);

// A whole number of hours for "--zone" (-14 to 12) or "--summer" (-24 to 24); false with a message
// naming the option otherwise.
bool ReadWholeHours(const std::string& option, const std::string& text, std::optional<int>& hours,
                    std::string& error);

// Keeps a table's messages from the calculation: a value that cannot be computed shows as a
// missing cell, and the table says why at its end.
class TableMessenger : public Messenger {
  public:
    void critical(const Message& message) override { last = message.english; }
    std::string last;
};

}  // namespace zerin::services
