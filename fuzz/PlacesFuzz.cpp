// Fuzz target: the places file reader on any bytes: one-line refusals, unique clean names.
#include <cmath>
#include <cstdint>
#include <set>
#include <sstream>

#include "Json.h"
#include "Places.h"
#include "ReportInvariants.h"
#include "TableWriter.h"
#include "Utf8.h"

using namespace zerin;

namespace {

bool CleanName(const std::string& name) {
    for (std::size_t k = 0, length = 0; k < name.size(); k += length) {
        const char32_t code = services::DecodeUtf8(name, k, length);
        if (length == 0 || code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0xFEFF)
            return false;
    }
    return true;
}

// A JSON string literal as a strict parser reads it: no raw control, standard escapes, UTF-8.
bool ValidJsonString(const std::string& json) {
    if (json.size() < 2 || json.front() != '"' || json.back() != '"' || !robust::IsUtf8(json))
        return false;
    for (std::size_t k = 1; k + 1 < json.size(); ++k) {
        const auto c = static_cast<unsigned char>(json[k]);
        if (c < 0x20 || c == '"') return false;
        if (c != '\\') continue;
        const char e = json[++k];
        if (e == 'u') {
            if (k + 4 >= json.size() || json.substr(k + 1, 4).find_first_not_of(
                                            "0123456789abcdefABCDEF") != std::string::npos)
                return false;
            k += 4;
        } else if (std::string("\"\\/bfnrt").find(e) == std::string::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    services::TableOptions options;
    options.zone = 0;
    std::vector<services::TablePlace> places;
    std::string error, problems;
    const bool read = services::ReadPlaces(in, "places.csv", options, places, error);
    if (!read) {
        if (!error.starts_with("places.csv")) problems += "a refusal that does not name the file\n";
        if (robust::Contains(error, "\n") || error.size() > 600)
            problems += "a refusal that is not one short line\n";
        if (!robust::IsUtf8(error)) problems += "a refusal that is not UTF-8\n";
        places.clear();  // what was read before the refusal is not the file's
    }
    std::set<std::string> names;
    for (const services::TablePlace& p : places) {
        if (p.name.empty() || !CleanName(p.name)) problems += "a name that is not clean text\n";
        if (services::DisplayWidth(p.name) > 60) problems += "a name wider than 60\n";
        if (!names.insert(p.name).second) problems += "a name twice\n";
        if (!ValidJsonString(services::JsonString(p.name)))
            problems += "a name's JSON is invalid\n";
        if (!(std::fabs(p.place.Lat) <= 90)) problems += "a latitude past a pole\n";
        if (!p.clock) problems += "a place without a clock\n";
    }
    if (problems.empty()) return 0;
    std::fprintf(stderr, "FINDING:\n%s\nmessage: %s\n", problems.c_str(), error.c_str());
    std::abort();
}
