#include "Report.h"

#include "Angles.h"
#include "NumText.h"

namespace zerin {

const char* UnitName(Unit unit) {
    switch (unit) {
        case Unit::None: return "";
        case Unit::Degrees: return "deg";
        case Unit::Hours: return "h";
        case Unit::AU: return "au";
        case Unit::Kilometres: return "km";
        case Unit::ArcMinutes: return "arcmin";
        case Unit::ArcSeconds: return "arcsec";
        case Unit::Percent: return "%";
        case Unit::Days: return "d";
        case Unit::Centuries: return "cy";
        case Unit::EarthRadii: return "earth radii";
    }
    return "";
}

void Report::Clear() {
    text_.clear();
    values_.clear();
}

void Report::Raw(std::initializer_list<std::string_view> pieces) {
    if (!Text()) return;
    for (std::string_view piece : pieces) text_ += piece;
}

void Report::Value(double value) {
    Finite(value, current_);
    if (sinks_ & kValues) values_.push_back({current_, value, unit_});
}

std::string Report::Num(double value) const { return NumText(value, separator_); }

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

}  // namespace zerin
