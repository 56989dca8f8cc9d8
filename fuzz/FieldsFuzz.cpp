// Fuzz target: a field's bytes read as a number, a zone, a year and day; written back as values.
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ReportInvariants.h"
#include "math/Angles.h"
#include "math/Errors.h"
#include "report/Fields.h"
#include "report/NumText.h"

namespace {

using namespace zerin;

[[noreturn]] void Fail(const char* what, std::string_view text, double value) {
    std::fprintf(stderr, "FINDING: %s\n  text (%zu bytes): '%.*s'\n  value: %.17g\n", what,
                 text.size(), static_cast<int>(text.size()), text.data(), value);
    std::abort();
}

// A plain decimal number reads as strtod reads it (below the normal range perhaps as 0).
void CompareWithStrtod(std::string_view text, double value) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c == 'D' || c == 'd' ? 'E' : c;
    const auto digits = [&s](std::size_t& k) {
        const std::size_t start = k;
        while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k;
        return k - start;
    };
    std::size_t k = s.starts_with('+') || s.starts_with('-');
    std::size_t mantissa = digits(k);
    if (k < s.size() && s[k] == '.') mantissa += digits(++k);
    if (mantissa == 0) return;
    if (k < s.size() && (s[k] == 'E' || s[k] == 'e')) {
        if (++k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        if (digits(k) > 6) return;
    }
    if (k != s.size()) return;
    const double expected = std::strtod(s.c_str(), nullptr);
    if (value != expected && !(std::fabs(expected) < DBL_MIN && value == 0))
        Fail("the number read differs from the correctly rounded one", text, value);
}

// A zone or summer-time text is refused with a message, or fits 16 bits exactly.
void CheckInt16(std::string_view text, double value) {
    const double rounded = std::nearbyint(value);
    try {
        const std::int16_t zone = ReadInt16(text, "المنطقة الزمنية", "time-zone");
        if (zone != rounded) Fail("the 16-bit field is not the number rounded", text, value);
    } catch (const InputError& refused) {
        if (rounded >= -32768 && rounded <= 32767) Fail("a 16-bit number refused", text, value);
        if (refused.message().arabic.empty()) Fail("a refusal without a message", text, value);
    }
}

// The day limit never raises the day, and what it writes is a month's length.
void CheckAdjustDay(std::string_view text, double value) {
    for (const char* month : {"2", "4", "1", "13"}) {
        FieldTexts fields;
        fields.TxtYear = std::string(text);
        fields.TxtMonth = month;
        fields.TxtDay = std::string(text);
        AdjustDay(fields);
        if (fields.TxtDay == text) continue;
        const double day = ReadNumber(fields.TxtDay);
        if (!(day <= value) || day < 28 || day > 31) Fail("the day limit went wrong", text, value);
    }
}

// The number written as the report writes values reads back to 15 digits.
void CheckWrittenBack(std::string_view text, double value) {
    if (!std::isfinite(value)) return;
    const std::string written = NumText(value);
    if (!robust::IsReportNumber(written)) Fail("a value written in a wrong form", text, value);
    // Subnormals may read back as 0, the largest values rounded to 15 digits as infinity.
    const double back = ReadNumber(written);
    if (std::fabs(value) >= DBL_MIN && std::isfinite(back) &&
        std::fabs(back - value) > 1e-14 * std::fabs(value))
        Fail("a value written loses more than its 15 digits", text, value);
    if (!robust::IsHMSText(HMS_Text(value))) Fail("an hours text in a wrong form", text, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = ReadNumber(text);
    if (std::isnan(value)) Fail("a field read as nan", text, value);
    CompareWithStrtod(text, value);
    CheckInt16(text, value);
    CheckAdjustDay(text, value);
    CheckWrittenBack(text, value);
    return 0;
}
