// Fuzz target: the gazetteer's reader on any bytes: no crash, bounded memory, one-line refusals.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Gazetteer.h"
#include "ReportInvariants.h"

namespace {

using zerin::places::Gazetteer;
using zerin::places::GazetteerPlace;

std::string TownProblems(const GazetteerPlace& town) {
    std::string problems;
    if (!(std::fabs(town.latitude) <= 90)) problems += "a latitude past a pole\n";
    if (!(std::fabs(town.longitude) <= 180)) problems += "a longitude past 180 degrees\n";
    if (town.elevation && !std::isfinite(*town.elevation)) problems += "an endless elevation\n";
    return problems;
}

std::string Check(const Gazetteer& g, bool read, const std::string& error) {
    if (!read) {
        std::string problems;
        if (error.rfind("the gazetteer fuzz.txt is damaged: line ", 0) != 0)
            problems += "a refusal that does not name the file and its line\n";
        if (error.find('\n') != std::string::npos || error.size() > 600)
            problems += "a refusal that is not one short line\n";
        if (!zerin::robust::IsUtf8(error)) problems += "a refusal that is not UTF-8\n";
        return problems;
    }
    std::string problems;
    for (std::size_t k = 0; k < g.TownCount() && k < 1000; ++k) problems += TownProblems(g.Town(k));
    for (const GazetteerPlace& p : g.Search("a", "", 5)) problems += TownProblems(p);
    for (const GazetteerPlace& p : g.Suggestions("rabat", 3)) problems += TownProblems(p);
    for (const auto& [p, km] : g.Nearest(34, -6.8, 3))
        if (!std::isfinite(km)) problems += "an endless distance\n";
    return problems;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Gazetteer g;
    std::string error;
    const bool read =
        g.Parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt", error);
    const std::string problems = Check(g, read, error);
    if (problems.empty()) return 0;
    std::fprintf(stderr, "FINDING:\n%s\nmessage: %s\n", problems.c_str(), error.c_str());
    std::abort();
}
