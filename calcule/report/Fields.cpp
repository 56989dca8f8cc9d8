#include "report/Fields.h"

#include <charconv>
#include <cmath>

#include "math/Errors.h"
#include "report/Echo.h"
#include "report/NumText.h"
#include "time/Civil.h"

namespace zerin {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The text with its blanks removed (they are skipped anywhere, "  1 2 " reads as 12).
std::string Squeeze(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!IsBlank(c)) out += c;
    return out;
}

int DigitValue(char c, int base) {
    int v = -1;
    if (IsDigit(c))
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

double ReadPrefixed(const std::string& s, int base) {
    double value = 0;
    for (std::size_t k = 2; k < s.size(); ++k) {
        const int d = DigitValue(s[k], base);
        if (d < 0) break;
        value = value * base + d;
    }
    return value;
}

// A sign and up to 15 digits and nothing else (what the clock and the tables write): the
// whole number is exact in a double, so it is read directly, to the value the general
// reading gives. False for any other text.
bool ReadPlainWhole(std::string_view text, double& value) {
    std::size_t k = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (text.size() == k || text.size() - k > 15) return false;
    long long whole = 0;
    for (std::size_t j = k; j < text.size(); ++j) {
        if (!IsDigit(text[j])) return false;
        whole = whole * 10 + (text[j] - '0');
    }
    value = text[0] == '-' ? -static_cast<double>(whole) : static_cast<double>(whole);
    return true;
}

// The text with the Arabic-Indic digits (U+0660..U+0669), the Persian ones
// (U+06F0..U+06F9) and the Arabic decimal separator (U+066B) written as their ASCII
// counterparts, so that "٣٢٫٥" reads as 32.5; every other byte is kept. In UTF-8 these
// are the two-byte sequences D9 A0..A9, DB B0..B9 and D9 AB.
std::string WithAsciiDigits(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto lead = static_cast<unsigned char>(text[k]);
        const auto next = k + 1 < text.size() ? static_cast<unsigned char>(text[k + 1]) : 0;
        if (lead == 0xD9 && next >= 0xA0 && next <= 0xA9) {
            out += static_cast<char>('0' + (next - 0xA0));
            ++k;
        } else if (lead == 0xDB && next >= 0xB0 && next <= 0xB9) {
            out += static_cast<char>('0' + (next - 0xB0));
            ++k;
        } else if (lead == 0xD9 && next == 0xAB) {
            out += '.';
            ++k;
        } else {
            out += text[k];
        }
    }
    return out;
}

// Whether the text may hold one of those characters (their lead bytes); an ASCII text is
// read without a copy.
bool MayHoldArabicDigits(std::string_view text) {
    return text.find_first_of("\xD9\xDB") != std::string_view::npos;
}

// The number at the start of the text; `read`, when given, becomes the number of characters of
// the text without its blanks that the number takes (0 when it does not start with one).
double ReadAsciiNumber(std::string_view text, std::size_t* read = nullptr) {
    std::size_t ignored = 0;
    std::size_t& taken = read ? *read : ignored;
    if (double whole; ReadPlainWhole(text, whole)) {
        taken = text.size();
        return whole;
    }
    const std::string s = Squeeze(text);
    taken = 0;
    if (s.size() >= 2 && s[0] == '&') {
        const int base = s[1] == 'H' || s[1] == 'h' ? 16 : s[1] == 'O' || s[1] == 'o' ? 8 : 0;
        if (base == 0) return 0;
        for (taken = 2; taken < s.size() && DigitValue(s[taken], base) >= 0;) ++taken;
        if (taken == 2) taken = 0;
        return ReadPrefixed(s, base);
    }
    std::size_t k = 0;
    bool negative = false;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
    // The significant digits and the power of ten they are scaled by.
    std::string digits;
    long long scale = 0;
    bool period = false;
    for (; k < s.size(); ++k) {
        if (IsDigit(s[k])) {
            digits += s[k];
            if (period) --scale;
        } else if (s[k] == '.' && !period) {
            period = true;
        } else {
            break;
        }
    }
    if (digits.empty()) return 0;
    taken = k;
    if (k < s.size() && (s[k] == 'E' || s[k] == 'e' || s[k] == 'D' || s[k] == 'd')) {
        std::size_t j = k + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) expNegative = s[j++] == '-';
        long long exponent = 0;
        const std::size_t firstDigit = j;
        for (; j < s.size() && IsDigit(s[j]); ++j)
            if (exponent < 1000000) exponent = exponent * 10 + (s[j] - '0');
        scale += expNegative ? -exponent : exponent;
        if (j > firstDigit) taken = j;
    }
    // "digits e scale" is read by from_chars, which ignores the locale and rounds
    // correctly. Out of range, the power of ten of the leading digit tells an overflow
    // (an infinity, refused by the callers) from an underflow (0).
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    const long long magnitude = firstNonZero == std::string::npos
                                    ? 0
                                    : static_cast<long long>(digits.size() - firstNonZero) + scale;
    digits += 'e';
    digits += std::to_string(scale);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) value = magnitude > 0 ? HUGE_VAL : 0;
    return negative ? -value : value;
}

}  // namespace

double ReadNumber(std::string_view text) {
    if (MayHoldArabicDigits(text)) return ReadAsciiNumber(WithAsciiDigits(text));
    return ReadAsciiNumber(text);
}

bool ReadsWhole(std::string_view text) {
    const std::string ascii = WithAsciiDigits(text);
    std::size_t taken = 0;
    ReadAsciiNumber(ascii, &taken);
    return taken > 0 && taken == Squeeze(ascii).size();
}

std::string CommaAsDecimalPoint(std::string_view text) {
    std::string out(text);
    const auto digitEndsAt = [&out](std::size_t end) {  // a digit ends just before `end`
        if (end >= 1 && IsDigit(out[end - 1])) return true;
        const auto lead = end >= 2 ? static_cast<unsigned char>(out[end - 2]) : 0;
        const auto last = static_cast<unsigned char>(out[end - 1]);
        return (lead == 0xD9 && last >= 0xA0 && last <= 0xA9) ||
               (lead == 0xDB && last >= 0xB0 && last <= 0xB9);
    };
    const auto digitStartsAt = [&out](std::size_t at) {
        if (at < out.size() && IsDigit(out[at])) return true;
        const auto lead = at < out.size() ? static_cast<unsigned char>(out[at]) : 0;
        const auto next = at + 1 < out.size() ? static_cast<unsigned char>(out[at + 1]) : 0;
        return (lead == 0xD9 && next >= 0xA0 && next <= 0xA9) ||
               (lead == 0xDB && next >= 0xB0 && next <= 0xB9);
    };
    for (std::size_t k = 1; k + 1 < out.size(); ++k)
        if (out[k] == ',' && digitEndsAt(k) && digitStartsAt(k + 1)) out[k] = '.';
    return out;
}

std::int16_t ReadInt16(std::string_view text, std::string_view arabicName,
                       std::string_view englishName) {
    const double value = std::nearbyint(ReadNumber(text));
    if (!(value >= -32768 && value <= 32767)) {
        throw InputError({"العدد المكتوب في خانة " + std::string(arabicName) +
                              " خارج الحدود المقبولة (من -32768 إلى 32767)",
                          "the " + std::string(englishName) + " field holds " + Echo(text) +
                              ", outside -32768..32767"});
    }
    return static_cast<std::int16_t>(value);
}

void AdjustDay(FieldTexts& f) {
    const double k = ReadNumber(f.TxtMonth) - 1;
    const double day = ReadNumber(f.TxtDay);
    if (k == 3 || k == 5 || k == 8 || k == 10) {
        if (day > 30) f.TxtDay = "30";
    } else if (k == 0 || k == 2 || k == 4 || k == 6 || k == 7 || k == 9 || k == 11) {
        if (day > 31) f.TxtDay = "31";
    } else if (k == 1) {
        const double year = ReadNumber(f.TxtYear);
        if (!std::isfinite(year)) return;  // no such year: reading the observer refuses it
        const std::string written = NumText(year);
        const double lastTwo =
            ReadNumber(written.size() > 2 ? written.substr(written.size() - 2) : written);
        const double rounded = std::nearbyint(year);  // the year as a whole number
        const bool leap = (lastTwo == 0 && std::fmod(rounded, 400) == 0) ||
                          (lastTwo != 0 && std::fmod(rounded, 4) == 0);
        if (leap && day >= 29)
            f.TxtDay = "29";
        else if (day >= 28)
            f.TxtDay = "28";
    }
}

}  // namespace zerin
