// The field options shared by every command that computes: the raw texts of the main
// window's fields, with the window's start-up values as defaults.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/Fields.h"

namespace zerin::cli {

struct FieldOptions {
    FieldTexts fields;
    bool east = false;
    bool north = true;
};

// Each option that takes the text of one field, and that field.
struct FieldTextOption {
    const char* option;
    std::string FieldTexts::*field;
};
extern const FieldTextOption kFieldTextOptions[14];
// The first entries are the place's: --lon-deg, --lon-min, --lon-sec, then the latitude's.
inline constexpr std::size_t kPlaceFieldOptions = 6;

// Today's date and the time now on the local clock, as the window fills its fields.
void FillFromClock(FieldTexts& fields);

// Whether a command-line word is the option, alone ("--from") or with its value
// ("--from=2024-01-01").
bool IsOption(const std::string& arg, std::string_view option);

// The value of an option that takes one ("--from 2024-01-01" or "--from=2024-01-01"); returns false
// and sets error when it is missing.
bool OptionValue(const std::vector<std::string>& args, std::size_t& k, const std::string& option,
                 std::string& value, std::string& error);

// If args[k] is a field option, consumes it (and its value) and returns true; sets
// error to a one-line message when its value is missing.
bool TakeFieldOption(const std::vector<std::string>& args, std::size_t& k, FieldOptions& options,
                     std::string& error);

extern const char* const kFieldOptionsHelp;

}  // namespace zerin::cli
