#include "Json.h"

#include <cstdio>

#include "Utf8.h"
#include "report/NumText.h"

namespace zerin::services {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (std::size_t k = 0, length = 0; k < text.size(); k += length) {
        DecodeUtf8(text, k, length);
        if (length == 0) {
            // A byte that is not UTF-8 would make the whole document invalid: the replacement
            // character stands for it.
            json += "\\ufffd";
            length = 1;
            continue;
        }
        if (length > 1) {
            json.append(text, k, length);
            continue;
        }
        const char c = text[k];
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    json += escaped;
                } else {
                    json += c;
                }
        }
    }
    return json + "\"";
}

std::string ReportValuesJson(const std::vector<ReportValue>& values) {
    std::string json = "[";
    const char* separator = "\n";
    for (const ReportValue& v : values) {
        const std::string unit = UnitName(v.unit);
        json += separator;
        json += "  {\"name\": " + JsonString(v.name) + ", \"value\": " + NumText(v.value, ".") +
                ", \"unit\": " + (unit.empty() ? "null" : JsonString(unit)) + "}";
        separator = ",\n";
    }
    return json + "\n]\n";
}

}  // namespace zerin::services
