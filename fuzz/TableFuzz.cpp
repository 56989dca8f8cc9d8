// Fuzz target: a whole `zerin times` or `zerin ephemeris` command line, run in this process
// as the executable runs it, and checked against the command line's promises.
//
// Input, one line each: the command ("times" or "ephemeris"; any other text picks one by
// its bytes), then each argument as it stands ("--lat-deg", "1e309", "--tz", "Asia/Kolkata").
// Standard output holds at most 64 KiB, so that a long table stops at its first failed
// write instead of computing a million rows.
//
// The promises: the exit status is 0, 1 or 2; 2 writes nothing on standard output and
// one line on standard error; 0 writes nothing on standard error; every message is a
// short line of printable text starting with "zerin: "; what is written is UTF-8 without
// inf or nan; a CSV table has the same number of cells on every line; no crash, no abort.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CappedStream.h"
#include "ReportInvariants.h"

namespace {

using namespace zerin;

constexpr std::size_t kOutputCapacity = 1 << 16;
constexpr std::size_t kMaxArguments = 48;
constexpr std::size_t kMaxMessageLine = 600;

std::vector<std::string> ArgsOf(std::string_view data) {
    std::vector<std::string> args;
    for (std::size_t start = 0; start <= data.size() && args.size() <= kMaxArguments;) {
        const std::size_t end = std::min(data.find('\n', start), data.size());
        args.emplace_back(data.substr(start, end - start));
        start = end + 1;
    }
    if (args[0] != "times" && args[0] != "ephemeris") {
        unsigned sum = 0;
        for (const char c : args[0]) sum += static_cast<unsigned char>(c);
        args[0] = sum % 2 ? "times" : "ephemeris";
    }
    return args;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void CheckMessages(const std::string& err, std::string& problems) {
    std::size_t lines = 0;
    for (std::size_t start = 0; start < err.size(); ++lines) {
        const std::size_t end = err.find('\n', start);
        if (end == std::string::npos) {
            problems += "a message without its line end\n";
            break;
        }
        const std::string_view line(err.data() + start, end - start);
        if (line.rfind("zerin: ", 0) != 0) problems += "a message line without 'zerin: '\n";
        if (line.size() > kMaxMessageLine)
            problems += "a message line of " + std::to_string(line.size()) + " bytes\n";
        for (const char c : line)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                problems += "a control character in a message\n";
        start = end + 1;
    }
    if (lines > 3) problems += std::to_string(lines) + " message lines\n";
    if (!robust::IsUtf8(err)) problems += "a message that is not UTF-8\n";
}

void CheckCsv(const std::string& out, std::string& problems) {
    std::size_t cells = std::string::npos;
    std::size_t first = 0;  // the settings' comment line stands above the header
    if (out.rfind("# ", 0) == 0) first = std::min(out.find('\n'), out.size() - 1) + 1;
    for (std::size_t start = first; start < out.size();) {
        const std::size_t end = std::min(out.find('\n', start), out.size());
        const auto commas = static_cast<std::size_t>(
            std::count(out.begin() + static_cast<std::ptrdiff_t>(start),
                       out.begin() + static_cast<std::ptrdiff_t>(end), ','));
        if (cells == std::string::npos) cells = commas;
        if (commas != cells && end != out.size()) problems += "CSV rows of different lengths\n";
        start = end + 1;
    }
}

std::string Check(const std::vector<std::string>& args, int status, const std::string& out,
                  const std::string& err) {
    std::string problems;
    if (status < 0 || status > 2) return "exit status " + std::to_string(status) + "\n";
    CheckMessages(err, problems);
    if (status == 2) {
        if (!out.empty()) problems += "refused, yet standard output holds text\n";
        if (std::count(err.begin(), err.end(), '\n') != 1) problems += "refused without one line\n";
    }
    // The one note a whole CSV or JSON table gives on standard error: a day its clock skips.
    const bool skipNotes = err.rfind("zerin: the local clock skips ", 0) == 0;
    if (status == 0 && !err.empty() && !skipNotes) problems += "a whole table with a message\n";
    if (status == 1 && err.empty()) problems += "exit 1 without a message\n";
    if (!robust::IsUtf8(out)) problems += "the table is not UTF-8\n";
    const std::string lower = Lower(out);
    if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
        problems += "inf or nan written\n";
    const auto given = [&args](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    // --help anywhere after the command writes the command's help instead of a table.
    if (given("--csv") && !given("--json") && !given("--help")) CheckCsv(out, problems);
    return problems;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("LC_ALL", "C", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args =
        ArgsOf(std::string_view(reinterpret_cast<const char*>(data), size));
    robust::CappedStream out(kOutputCapacity), err;
    const int status = cli::Run(args, out.file(), err.file());
    const std::string written = out.text(), messages = err.text();
    const std::string problems = Check(args, status, written, messages);
    if (problems.empty()) return 0;
    std::fprintf(stderr, "FINDING: exit %d\n%s\ncommand: zerin", status, problems.c_str());
    for (const std::string& arg : args) std::fprintf(stderr, " '%s'", arg.c_str());
    std::fprintf(stderr, "\nstderr: %s\n", messages.c_str());
    std::abort();
}
