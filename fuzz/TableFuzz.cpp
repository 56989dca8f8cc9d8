// Fuzz target: a `zerin times` or `zerin ephemeris` command line (input: the command, then
// one argument a line), standard output capped at 64 KiB. The promises: exit 0, 1 or 2; 2
// writes one line on standard error only; 0 nothing there but the settings and a skipped day's
// note; messages
// are short printable lines starting "zerin: "; UTF-8 without inf or nan; CSV rows of equal
// cells; no crash, no abort.
#include <cstdint>

#include "ReportInvariants.h"

using namespace zerin;
using namespace zerin::robust;

namespace {

std::string Check(const std::vector<std::string>& args, int status, const std::string& out,
                  const std::string& err) {
    if (status < 0 || status > 2) return "exit status " + std::to_string(status) + "\n";
    std::string problems;
    const std::vector<std::string> lines = InputLines(err);
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
        if (!lines[k].starts_with("zerin: ")) problems += "a message line without 'zerin: '\n";
        if (lines[k].size() > 600)
            problems += "a message line of " + std::to_string(lines[k].size()) + " bytes\n";
        if (std::any_of(lines[k].begin(), lines[k].end(),
                        [](char c) { return (c >= 0 && c < 0x20) || c == 0x7F; }))
            problems += "a control character in a message\n";
    }
    if (!lines.back().empty()) problems += "a message without its line end\n";
    if (lines.size() > 4) problems += std::to_string(lines.size() - 1) + " message lines\n";
    if (!IsUtf8(err)) problems += "a message that is not UTF-8\n";
    if (status == 2 && !out.empty()) problems += "refused, yet standard output holds text\n";
    if (status == 2 && lines.size() != 2) problems += "refused without one line\n";
    // A CSV's settings stand on standard error, in one line.
    const std::string notes =
        err.starts_with("zerin: Settings: ") ? err.substr(err.find('\n') + 1) : err;
    if (status == 0 && !notes.empty() && !notes.starts_with("zerin: the local clock skips "))
        problems += "a whole table with a message\n";
    if (status == 1 && err.empty()) problems += "exit 1 without a message\n";
    if (!IsUtf8(out)) problems += "the table is not UTF-8\n";
    if (WritesInfOrNan(out)) problems += "inf or nan written\n";
    const auto given = [&args](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    // --help writes its help; --settings-line stands under a CSV; the last line may be cut.
    if (given("--csv") && !given("--json") && !given("--help")) {
        const std::vector<std::string> rows = InputLines(out);
        for (std::size_t k = 1; k + 1 < rows.size(); ++k)
            if (!rows[k].starts_with("# ") && std::count(rows[k].begin(), rows[k].end(), ',') !=
                                                  std::count(rows[0].begin(), rows[0].end(), ','))
                problems += "CSV rows of different lengths\n";
    }
    return problems;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("LC_ALL", "C", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args =
        InputLines(std::string_view(reinterpret_cast<const char*>(data), size), 49);
    if (args[0] != "times" && args[0] != "ephemeris") {
        unsigned sum = 0;
        for (const char c : args[0]) sum += static_cast<unsigned char>(c);
        args[0] = sum % 2 ? "times" : "ephemeris";
    }
    CappedStream out(1 << 16), err;
    const int status = cli::Run(args, out.file(), err.file());
    const std::string problems = Check(args, status, out.text(), err.text());
    if (!problems.empty()) Finding(status, problems, args, err.text());
    return 0;
}
