#include "SourceDate.h"

#include <cstdlib>
#include <string_view>

#include "report/Echo.h"

namespace zerin::services {

bool ReadSourceDateEpoch(const char* value, std::optional<long long>& seconds, std::string& error) {
    seconds.reset();
    if (!value) return true;
    const std::string_view text = value;
    // Digits only, and no more of them than the last date has (which also keeps the sum
    // below from overflowing).
    bool whole = !text.empty() && text.size() <= 12;
    long long number = 0;
    for (const char c : text) {
        whole = whole && c >= '0' && c <= '9';
        if (whole) number = number * 10 + (c - '0');
    }
    if (!whole || number > kLastSourceDate) {
        error = "SOURCE_DATE_EPOCH is '" + Echo(text) +
                "': it takes a whole number of seconds since 1970-01-01 00:00 UTC, from 0 to " +
                std::to_string(kLastSourceDate) + " (9999-12-31 23:59:59 UTC)";
        return false;
    }
    seconds = number;
    return true;
}

bool SourceDateEpoch(std::optional<long long>& seconds, std::string& error) {
    return ReadSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), seconds, error);
}

}  // namespace zerin::services
