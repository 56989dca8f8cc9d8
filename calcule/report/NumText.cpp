#include "report/NumText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "math/Errors.h"

namespace zerin {

namespace {

std::string Convert(double x, int digits, std::string_view sep) {
    if (!std::isfinite(x)) throw CalcError("a value that is not finite cannot be written");
    if (x == 0) return "0";
    // Scientific form rounded to nearest on the exact binary value: d.ddd...e±XX.
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, digits - 1);
    const char* p = buf;
    const char* end = written.ptr;
    std::string out;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    std::string mantissa;
    for (; p != end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') mantissa += *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            out += '0';
            out += sep;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += mantissa;
        } else {
            const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
            if (mantissa.size() <= integerDigits) {
                out += mantissa;
                out.append(integerDigits - mantissa.size(), '0');
            } else {
                out.append(mantissa, 0, integerDigits);
                out += sep;
                out.append(mantissa, integerDigits, std::string::npos);
            }
        }
        return out;
    }
    out += mantissa[0];
    if (mantissa.size() > 1) {
        out += sep;
        out.append(mantissa, 1, std::string::npos);
    }
    out += exponent < 0 ? "E-" : "E+";
    const std::string digitsOfExponent = std::to_string(std::abs(exponent));
    if (digitsOfExponent.size() < 2) out += '0';
    return out + digitsOfExponent;
}

}  // namespace

std::string NumText(double x, std::string_view sep) {
    return Convert(x, 15, sep);
}

std::string NumTextSingle(float x, std::string_view sep) {
    return Convert(x, 7, sep);
}

}  // namespace zerin
