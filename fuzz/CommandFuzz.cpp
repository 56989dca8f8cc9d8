// Fuzz target: a whole `zerin report` command, run in this process as the executable
// runs it, checked against the command line's promises (ReportInvariants.h).
//
// Input, one line each: the body ("sun", "moon", ... or any text, which picks a body by
// its bytes); the options (a line holding "east" chooses East, "south" South, and "json"
// runs the command with --json too, which must agree with the report); then
// the texts of the fields lon-deg, lon-min, lon-sec, lat-deg, lat-min, lat-sec, zone,
// summer, year, month, day, hour, minute, second. Missing lines keep the reference
// input's texts (17 June 2005, 12:00:00 at the window's default place).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ReportInvariants.h"

namespace {

using namespace zerin;
using namespace zerin::robust;

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

Body BodyOf(std::string_view line) {
    if (const std::optional<Body> named = BodyFromName(line)) return *named;
    unsigned sum = 0;
    for (char c : line) sum += static_cast<unsigned char>(c);
    return static_cast<Body>(sum % kBodyCount);
}

ReportInput InputOf(std::string_view data) {
    const std::vector<std::string_view> lines = Lines(data);
    ReportInput in = ReferenceInput(BodyOf(lines[0]));
    if (lines.size() > 1) {
        in.east = lines[1].find("east") != std::string_view::npos;
        in.north = lines[1].find("south") == std::string_view::npos;
        in.json = lines[1].find("json") != std::string_view::npos;
    }
    std::string* const fields[] = {
        &in.fields.TxtDegLon, &in.fields.TxtMinLon, &in.fields.TxtSecLon, &in.fields.TxtDegLat,
        &in.fields.TxtMinLat, &in.fields.TxtSecLat, &in.fields.TxtZone,   &in.fields.TxtEteRegl,
        &in.fields.TxtYear,   &in.fields.TxtMonth,  &in.fields.TxtDay,    &in.fields.TxtHour,
        &in.fields.TxtMin,    &in.fields.TxtSec,
    };
    for (std::size_t k = 0; k < std::size(fields) && k + 2 < lines.size(); ++k)
        *fields[k] = std::string(lines[k + 2]);
    return in;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("LC_ALL", "C", 1);  // values with a period, as the checker reads them
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InvariantChecker checker;
    ReportInput in = InputOf(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool json = in.json;
    in.json = false;
    const ReportRun run = RunReport(in);
    std::string problems = checker.Check(in.body, run);
    if (json) {
        in.json = true;
        problems += checker.CheckJson(run, RunReport(in));
    }
    if (problems.empty()) return 0;
    std::fprintf(stderr, "FINDING: exit %d\n%s\ncommand: zerin", run.status, problems.c_str());
    for (const std::string& arg : ReportArgs(in)) std::fprintf(stderr, " '%s'", arg.c_str());
    std::fprintf(stderr, "\nstderr: %s\n", run.err.c_str());
    std::abort();
}
