// Fuzz target: `zerin report` (body, options, then the field texts a line each) vs. invariants.
#include <cstdint>

#include "ReportInvariants.h"

using namespace zerin;
using namespace zerin::robust;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("LC_ALL", "C", 1);  // values with a period, as the checker reads them
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InvariantChecker checker;
    const std::vector<std::string> lines =
        InputLines(std::string_view(reinterpret_cast<const char*>(data), size), 16);
    unsigned sum = 0;
    for (const char c : lines[0]) sum += static_cast<unsigned char>(c);
    ReportInput in =
        ReferenceInput(BodyFromName(lines[0]).value_or(static_cast<Body>(sum % kBodyCount)));
    const std::string options = lines.size() > 1 ? lines[1] : "";
    in.east = Contains(options, "east");
    in.north = !Contains(options, "south");
    FieldTexts& f = in.fields;
    std::string* const fields[] = {&f.TxtDegLon, &f.TxtMinLon, &f.TxtSecLon, &f.TxtDegLat,
                                   &f.TxtMinLat, &f.TxtSecLat, &f.TxtZone,   &f.TxtEteRegl,
                                   &f.TxtYear,   &f.TxtMonth,  &f.TxtDay,    &f.TxtHour,
                                   &f.TxtMin,    &f.TxtSec};
    for (std::size_t k = 0; k + 2 < lines.size(); ++k) *fields[k] = lines[k + 2];
    const ReportRun run = RunReport(in);
    std::string problems = checker.Check(in.body, run);
    if (Contains(options, "json")) {
        in.json = true;
        problems += checker.CheckJson(run, RunReport(in));
    }
    if (!problems.empty()) Finding(run.status, problems, ReportArgs(in), run.err);
    return 0;
}
