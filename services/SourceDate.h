// SOURCE_DATE_EPOCH (reproducible-builds.org): the instant a written file says it was made,
// given by whoever needs the same command to write the same bytes.
#pragma once

#include <optional>
#include <string>

namespace zerin::services {

// The last instant a PDF's date can hold: 9999-12-31 23:59:59 UTC.
inline constexpr long long kLastSourceDate = 253402300799;

// Reads the variable's value (null when it is not set): a whole number of seconds since
// 1970-01-01 00:00 UTC, from 0 to kLastSourceDate, in decimal digits only. False with a
// message for anything else (an empty value too): a date that cannot be honoured is said,
// never replaced by the clock's.
bool ReadSourceDateEpoch(const char* value, std::optional<long long>& seconds, std::string& error);

// The same for the process's own SOURCE_DATE_EPOCH.
bool SourceDateEpoch(std::optional<long long>& seconds, std::string& error);

}  // namespace zerin::services
