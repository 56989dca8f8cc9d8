// JSON text: string literals, and the report's values as `zerin report --json` writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/Report.h"

namespace zerin::services {

// A JSON string literal of UTF-8 text: quotes, backslashes and control characters escaped, and
// each byte that is not UTF-8 written as U+FFFD, so that the document stays valid JSON.
std::string JsonString(std::string_view text);

// The report's values in report order: an array of {"name", "value", "unit"}, each value written as
// the report writes it but always with a period (a JSON number), the unit null for a pure number.
std::string ReportValuesJson(const std::vector<ReportValue>& values);

}  // namespace zerin::services
