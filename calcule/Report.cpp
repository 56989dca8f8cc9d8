#include "Report.h"

#include <cmath>
#include <iterator>
#include <stdexcept>

#include "Angles.h"
#include "Errors.h"
#include "NumText.h"

namespace zerin {

namespace {

// Each unit's name (in the value list and the sections' slots) and the kind of quantity
// it measures (in a fault's message), in the order of the enumeration.
struct UnitText {
    const char* name;
    const char* kind;
};
constexpr UnitText kUnits[] = {
    {"", "a number"},       {"deg", "an angle"},           {"h", "a time in hours"},
    {"au", "a distance"},   {"km", "a distance"},          {"arcmin", "an angle"},
    {"arcsec", "an angle"}, {"%", "a fraction"},           {"d", "a date"},
    {"cy", "a date"},       {"earth radii", "a distance"},
};

const UnitText& TextOf(Unit unit) {
    return kUnits[static_cast<int>(unit)];
}

// A slot of a section's text: {name:unit}, {name:hms}, {!name:unit}, {name}.
struct Slot {
    std::string_view name;
    Unit unit = Unit::None;
    bool hms = false, checkedOnly = false;
};

Slot ReadSlot(std::string_view slot) {
    Slot s;
    s.checkedOnly = slot.starts_with('!');
    if (s.checkedOnly) slot.remove_prefix(1);
    const std::size_t colon = slot.find(':');
    s.name = slot.substr(0, colon);
    const std::string_view unit = colon == std::string_view::npos ? "" : slot.substr(colon + 1);
    s.hms = unit == "hms";
    if (s.hms) {
        s.unit = Unit::Hours;
        return s;
    }
    for (std::size_t k = 0; k < std::size(kUnits); ++k)
        if (unit == kUnits[k].name) s.unit = static_cast<Unit>(k);
    return s;
}

}  // namespace

const char* UnitName(Unit unit) {
    return TextOf(unit).name;
}

void Report::Clear() {
    text_.clear();
    values_.clear();
}

void Report::Raw(std::initializer_list<std::string_view> pieces) {
    if (!Text()) return;
    for (std::string_view piece : pieces) text_ += piece;
}

void Report::Check(double value) const {
    if (!std::isfinite(value))
        throw CalcError(std::string("non-finite value in ") + TextOf(unit_).kind);
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

void Report::Section(std::string_view text, std::initializer_list<double> values,
                     std::string_view before) {
    const double* value = values.begin();
    std::string item(before);  // the item being built, appended once its value is checked
    std::size_t from = 0;      // the text not yet taken into an item
    for (std::size_t open; (open = text.find('{', from)) != std::string_view::npos;) {
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos || value == values.end())
            throw std::logic_error("a report section's slots do not match its values");
        const Slot slot = ReadSlot(text.substr(open + 1, close - open - 1));
        const double v = *value++;
        At(slot.name, slot.unit);
        if (Text()) item += text.substr(from, open - from);
        from = close + 1;
        if (slot.checkedOnly) {
            Check(v);
            continue;
        }
        Value(v);
        std::size_t end = from;
        while (text.substr(end, 2) == "\r\n") end += 2;
        if (Text()) {
            item += slot.hms ? HMS_Text(v, separator_) : Num(v);
            item += text.substr(from, end - from);
            text_ += item;
            item.clear();
        }
        from = end;
    }
    if (value != values.end())
        throw std::logic_error("a report section's slots do not match its values");
    if (Text()) text_ += item + std::string(text.substr(from));
}

}  // namespace zerin
