#include "report/Report.h"

#include <cmath>
#include <iterator>
#include <stdexcept>

#include "math/Angles.h"
#include "math/Errors.h"
#include "report/NumText.h"

namespace zerin {

namespace {

// Each unit's name (in the value list and the sections' slots) and the kind of quantity
// it measures (in a fault's message), in the order of the enumeration.
struct UnitText {
    const char* name;
    const char* kind;
};
constexpr UnitText kUnits[] = {
    {"", "a number"},
    {"deg", "an angle"},
    {"h", "a time in hours"},
    {"au", "a distance"},
    {"km", "a distance"},
    {"arcmin", "an angle"},
    {"arcsec", "an angle"},
    {"%", "a fraction"},
    {"d", "a date"},
    {"cy", "a date"},
    {"earth radii", "a distance"},
    {"s", "a time in seconds"},
    {"min", "a time in minutes"},
};

const UnitText& TextOf(Unit unit) {
    return kUnits[static_cast<int>(unit)];
}

Unit UnitNamed(std::string_view name) {
    for (std::size_t k = 0; k < std::size(kUnits); ++k)
        if (name == kUnits[k].name) return static_cast<Unit>(k);
    throw std::logic_error("a report section names an unknown unit");
}

}  // namespace

SectionText::SectionText(std::string_view text) : text_(text) {
    for (std::size_t open; (open = text.find('{', slots_.empty() ? 0 : slots_.back().end)) !=
                           std::string_view::npos;) {
        Slot s;
        s.open = open;
        s.close = text.find('}', open);
        if (s.close == std::string_view::npos)
            throw std::logic_error("a report section's slot is not closed");
        std::string_view slot = text.substr(open + 1, s.close - open - 1);
        s.checkedOnly = slot.starts_with('!');
        if (s.checkedOnly) slot.remove_prefix(1);
        const std::size_t colon = slot.find(':');
        s.name = slot.substr(0, colon);
        const std::string_view unit = colon == std::string_view::npos ? "" : slot.substr(colon + 1);
        s.hms = unit == "hms";
        s.unit = s.hms ? Unit::Hours : UnitNamed(unit);
        s.end = s.close + 1;
        if (!s.checkedOnly)
            while (text.substr(s.end, 2) == "\r\n") s.end += 2;
        slots_.push_back(std::move(s));
    }
}

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

void Report::Check(double value) {
    if (std::isfinite(value)) return;
    faultName_ = current_;
    current_ = faultName_;
    throw CalcError(std::string("non-finite value in ") + TextOf(unit_).kind);
}

void Report::Value(double value) {
    Check(value);
    if (sinks_ & kValues) values_.push_back({std::string(current_), value, unit_});
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

void Report::Section(const SectionText& section, std::initializer_list<double> values,
                     std::string_view before) {
    const std::vector<SectionText::Slot>& slots = section.Slots();
    if (values.size() != slots.size())
        throw std::logic_error("a report section's slots do not match its values");
    const double* value = values.begin();
    if (sinks_ == kNone) {
        // Nothing to write or record: the first value that is not finite is named.
        for (const SectionText::Slot& slot : slots) {
            if (!std::isfinite(*value)) {
                At(slot.name, slot.unit);
                Check(*value);
            }
            ++value;
        }
        return;
    }
    const std::string_view text = section.Text();
    std::string carried;   // text before a slot that is only checked, for the next item
    std::size_t from = 0;  // the text not yet written
    for (const SectionText::Slot& slot : slots) {
        const double v = *value++;
        At(slot.name, slot.unit);
        if (slot.checkedOnly) {
            Check(v);
            if (Text()) carried += text.substr(from, slot.open - from);
            from = slot.end;
            continue;
        }
        Value(v);
        if (Text()) {
            text_ += before;
            text_ += carried;
            text_ += text.substr(from, slot.open - from);
            text_ += slot.hms ? HMS_Text(v, separator_) : Num(v);
            text_ += text.substr(slot.close + 1, slot.end - slot.close - 1);
        }
        before = {};
        carried.clear();
        from = slot.end;
    }
    if (Text()) {
        text_ += before;
        text_ += carried;
        text_ += text.substr(from);
    }
}

}  // namespace zerin
