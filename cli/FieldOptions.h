// The field options shared by every command that computes: the raw texts of the main
// window's fields, read from the command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "PlaceInput.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

// Whether a command-line word is the option, alone ("--from") or with its value
// ("--from=2024-01-01").
bool IsOption(const std::string& arg, std::string_view option);

// The value of an option that takes one ("--from 2024-01-01" or "--from=2024-01-01"); returns false
// and sets error when it is missing.
bool OptionValue(const std::vector<std::string>& args, std::size_t& k, const std::string& option,
                 std::string& value, std::string& error);
// The same for an option that names a file, which is never the next option ("--pdf --csv").
bool FileOptionValue(const std::vector<std::string>& args, std::size_t& k,
                     const std::string& option, std::string& file, std::string& error);

// If args[k] is a field option, consumes it (and its value) and returns true; sets
// error to a one-line message when its value is missing.
bool TakeFieldOption(const std::vector<std::string>& args, std::size_t& k, FieldOptions& options,
                     std::string& error);

extern const char* const kFieldOptionsHelp;

}  // namespace zerin::cli
