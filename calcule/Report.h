// The calculation report: a text buffer that grows item by item.
//
// An item is the text before its value (label, formula, joiner), the value and the line
// ends after it, appended in one piece. Two sinks can be switched on or off: the text,
// and a list of (name, value, unit) that serves machine-readable output. With both off
// the same procedures compute without building any text, for tables and benchmarks.
//
// Every value is checked to be finite whatever the sinks, before anything of its item is
// written: the computations let a fault become NaN or an infinity, and the report stops
// at the first quantity that holds one, naming it (CalcError), so it never shows inf/nan.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zerin {

inline constexpr std::string_view kEndLine = " **إنتهى**                        \r\n\r\n";

enum class Unit {
    None,
    Degrees,
    Hours,
    AU,
    Kilometres,
    ArcMinutes,
    ArcSeconds,
    Percent,
    Days,
    Centuries,
    EarthRadii
};
const char* UnitName(Unit unit);

struct ReportValue {
    std::string name;
    double value;
    Unit unit;
};

// The texts of one item around its value, and the quantity's name and unit.
struct ItemText {
    const char* name;
    Unit unit;
    std::string_view label = {};    // with its line ends (and a section's banner before it)
    std::string_view formula = {};  // with its line ends
    std::string_view joiner = " = ";
    std::string_view ending = "\r\n\r\n";
};

// One item of a table of items: its texts and the member of a result struct that holds
// its value. A checked line is not written: its value is only checked under its name (a
// quantity that the report does not show, or that must be laid to its own name before
// the next line uses it).
template <class Place>
struct Line {
    ItemText text;
    double Place::*value;
    bool checkedOnly = false;
};

class Report {
  public:
    enum Sink : unsigned { kNone = 0, kText = 1, kValues = 2 };

    void SetSinks(unsigned sinks) { sinks_ = sinks; }
    unsigned Sinks() const { return sinks_; }
    bool Text() const { return (sinks_ & kText) != 0; }

    // The user's regional decimal separator for values ("." by default).
    void SetDecimalSeparator(std::string separator) { separator_ = std::move(separator); }
    const std::string& DecimalSeparator() const { return separator_; }

    void Clear();
    const std::string& Str() const { return text_; }
    const std::vector<ReportValue>& Values() const { return values_; }

    // Names the quantity now being written: the name under which its value is recorded
    // and the one a fault message gives.
    void At(const char* name, Unit unit) {
        current_ = name;
        unit_ = unit;
    }
    const char* Current() const { return current_; }

    // Text appended as it stands (banners, end line, the preface).
    void Raw(std::initializer_list<std::string_view> pieces);
    // head (label, formula, joiner), the value as text, then ending.
    void Item(std::initializer_list<std::string_view> head, double value,
              std::string_view ending = "\r\n\r\n");
    // The same with the value written as hours, minutes and seconds.
    void ItemHMS(std::initializer_list<std::string_view> head, double hours,
                 std::string_view ending = "\r\n\r\n");
    // An item from its texts: At(name, unit), then Item; `banner` (with its line ends)
    // goes before the label.
    void Write(const ItemText& item, double value, std::string_view banner = {});
    void WriteHMS(const ItemText& item, double hours, std::string_view banner = {});
    // Each line of a table of Line<Place>, with the values of `place`.
    template <class Lines, class Place>
    void WriteLines(const Lines& lines, const Place& place) {
        for (const auto& line : lines) {
            if (line.checkedOnly) {
                At(line.text.name, line.text.unit);
                Check(place.*line.value);
            } else {
                Write(line.text, place.*line.value);
            }
        }
    }
    // Records the current quantity's value (checked finite) without writing text.
    void Value(double value);
    // Checks a value under the current name without recording it: a quantity that is
    // not reported, or one that must be laid to its own name before others use it.
    void Check(double value) const;
    // The value as the report writes it.
    std::string Num(double value) const;

  private:
    unsigned sinks_ = kText;
    std::string separator_ = ".";
    std::string text_;
    std::vector<ReportValue> values_;
    const char* current_ = "";
    Unit unit_ = Unit::None;
};

// Switches the sinks for one scope (the silent Sun computation of the Moon and planets).
class SinkScope {
  public:
    SinkScope(Report& report, unsigned sinks) : report_(report), saved_(report.Sinks()) {
        report.SetSinks(sinks);
    }
    ~SinkScope() { report_.SetSinks(saved_); }
    SinkScope(const SinkScope&) = delete;
    SinkScope& operator=(const SinkScope&) = delete;

  private:
    Report& report_;
    unsigned saved_;
};

}  // namespace zerin
