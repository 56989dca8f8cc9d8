// What the two halves of the planets' reduction share (internal to the module).
#pragma once

#include "Errors.h"

namespace zerin::planets {

// numerator / denominator; a zero denominator is a calculation fault, never an infinity
// that would surface later under another quantity's name.
inline double Ratio(double numerator, double denominator) {
    if (denominator == 0) throw CalcError("division by zero");
    return numerator / denominator;
}

}  // namespace zerin::planets
