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
    EarthRadii,
    Seconds,
    Minutes
};
const char* UnitName(Unit unit);

struct ReportValue {
    std::string name;
    double value;
    Unit unit;
};

// The text of a report section, where each value stands as a slot {name:unit} ({name}
// for a plain number, {name:hms} for hours written as hours, minutes and seconds,
// {!name:unit} for a value that is only checked, never written); its slots are read
// once, when it is made.
class SectionText {
  public:
    struct Slot {
        std::size_t open, close, end;  // '{', '}' and the end of the line ends after it
        std::string name;
        Unit unit = Unit::None;
        bool hms = false, checkedOnly = false;
    };

    SectionText(const char* text) : SectionText(std::string_view(text)) {}  // NOLINT
    explicit SectionText(std::string_view text);
    const std::string& Text() const { return text_; }
    const std::vector<Slot>& Slots() const { return slots_; }

  private:
    std::string text_;
    std::vector<Slot> slots_;
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
    // and the one a fault message gives. The name must outlive the item (a literal, or a
    // slot of a SectionText); at a fault the report keeps its own copy.
    void At(std::string_view name, Unit unit) {
        current_ = name;
        unit_ = unit;
    }
    std::string_view Current() const { return current_; }

    // Text appended as it stands (banners, end line, the preface).
    void Raw(std::initializer_list<std::string_view> pieces);
    // head (label, formula, joiner), the value as text, then ending.
    void Item(std::initializer_list<std::string_view> head, double value,
              std::string_view ending = "\r\n\r\n");
    // A section of items from its text and the values in the order of its slots. An
    // item is the text since the item before, its value and the line ends right after
    // it, appended in one piece once the value is checked; `before` goes in front of the
    // first item, and the text after the last slot is appended at the end.
    void Section(const SectionText& section, std::initializer_list<double> values,
                 std::string_view before = {});
    // Records the current quantity's value (checked finite) without writing text.
    void Value(double value);
    // Checks a value under the current name without recording it.
    void Check(double value);
    // The value as the report writes it.
    std::string Num(double value) const;

  private:
    unsigned sinks_ = kText;
    std::string separator_ = ".";
    std::string text_;
    std::vector<ReportValue> values_;
    std::string_view current_;
    std::string faultName_;  // the name of the quantity a fault stopped
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
