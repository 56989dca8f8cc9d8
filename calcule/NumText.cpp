#include "NumText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Errors.h"

namespace zerin {

namespace {

std::string Convert(double x, int digits, std::string_view sep) {
    if (!std::isfinite(x)) throw CalcError("a value that is not finite cannot be written");
    if (x == 0) return "0";
    // "%.*e" rounds to nearest on the exact binary value: d.ddd...e±XX.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, x);
    const char* p = buf;
    std::string out;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    std::string mantissa;
    for (; *p != 'e'; ++p)  // digits only: the C library's decimal point may be a comma
        if (*p >= '0' && *p <= '9') mantissa += *p;
    const int exponent = std::atoi(p + 1);
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
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + exp;
}

}  // namespace

std::string NumText(double x, std::string_view sep) { return Convert(x, 15, sep); }

std::string NumTextSingle(float x, std::string_view sep) { return Convert(x, 7, sep); }

std::string IntText(std::int16_t x) { return std::to_string(x); }

}  // namespace zerin
