#include "Report.h"

#include <cmath>

#include "Angles.h"
#include "Errors.h"
#include "NumText.h"

namespace zerin {

const char* UnitName(Unit unit) {
    switch (unit) {
        case Unit::None:
            return "";
        case Unit::Degrees:
            return "deg";
        case Unit::Hours:
            return "h";
        case Unit::AU:
            return "au";
        case Unit::Kilometres:
            return "km";
        case Unit::ArcMinutes:
            return "arcmin";
        case Unit::ArcSeconds:
            return "arcsec";
        case Unit::Percent:
            return "%";
        case Unit::Days:
            return "d";
        case Unit::Centuries:
            return "cy";
        case Unit::EarthRadii:
            return "earth radii";
    }
    return "";
}

namespace {

// What kind of quantity a fault spoilt, for the fault message.
const char* KindOf(Unit unit) {
    switch (unit) {
        case Unit::Degrees:
        case Unit::ArcMinutes:
        case Unit::ArcSeconds:
            return "an angle";
        case Unit::Hours:
            return "a time in hours";
        case Unit::AU:
        case Unit::Kilometres:
        case Unit::EarthRadii:
            return "a distance";
        case Unit::Percent:
            return "a fraction";
        case Unit::Days:
        case Unit::Centuries:
            return "a date";
        case Unit::None:
            break;
    }
    return "a number";
}

}  // namespace

void Report::Clear() {
    text_.clear();
    values_.clear();
}

void Report::Raw(std::initializer_list<std::string_view> pieces) {
    if (!Text()) return;
    for (std::string_view piece : pieces) text_ += piece;
}

void Report::Check(double value) const {
    if (!std::isfinite(value)) throw CalcError(std::string("non-finite value in ") + KindOf(unit_));
}

void Report::Value(double value) {
    Check(value);
    if (sinks_ & kValues) values_.push_back({current_, value, unit_});
}

std::string Report::Num(double value) const {
    return NumText(value, separator_);
}

void Report::Item(std::initializer_list<std::string_view> head, double value,
                  std::string_view ending) {
    Value(value);
    if (!Text()) return;
    for (std::string_view piece : head) text_ += piece;
    text_ += Num(value);
    text_ += ending;
}

void Report::ItemHMS(std::initializer_list<std::string_view> head, double hours,
                     std::string_view ending) {
    Value(hours);
    if (!Text()) return;
    for (std::string_view piece : head) text_ += piece;
    text_ += HMS_Text(hours, separator_);
    text_ += ending;
}

void Report::Write(const ItemText& item, double value, std::string_view banner) {
    At(item.name, item.unit);
    Item({banner, item.label, item.formula, item.joiner}, value, item.ending);
}

void Report::WriteHMS(const ItemText& item, double hours, std::string_view banner) {
    At(item.name, item.unit);
    ItemHMS({banner, item.label, item.formula, item.joiner}, hours, item.ending);
}

}  // namespace zerin
