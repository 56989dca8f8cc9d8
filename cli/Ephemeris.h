// `zerin ephemeris`: a body's place, one row per instant, computed by the body's command with its
// report text switched off and its values read from the values sink.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "report/Commands.h"

namespace zerin::cli {

// A column of the ephemeris: the quantity of the report it shows ("Asc", "r_lune").
struct EphemerisQuantity {
    const char* key;      // CSV and JSON key, with the unit
    const char* english;  // text-table headers
    const char* arabic;
    const char* name;  // the name under which the report records the value
};

// The quantities of a body's rows, in the table's order.
std::vector<EphemerisQuantity> EphemerisQuantities(Body body);

int RunEphemeris(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace zerin::cli
