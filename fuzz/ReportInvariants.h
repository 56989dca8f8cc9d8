// The promises every `zerin report` run keeps, whatever the field texts hold: exit 0 with the
// report, 1 with the report up to a fault and its message, 2 with a message and nothing else;
// no inf or nan; each value in the report's own form; CR LF line ends; with its values masked,
// the body's usual report (or its beginning); --json ends the same way with the same values.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "CappedStream.h"
#include "Cli.h"
#include "FieldOptions.h"
#include "report/Commands.h"

namespace zerin::robust {

// One press of a body's button: the field texts and the two option groups.
struct ReportInput {
    Body body = Body::Sun;
    FieldTexts fields;
    bool east = false;
    bool north = true;
    bool json = false;  // --json: the values alone, as a list
};

// The window's default place at a fixed instant (17 June 2005, 12:00:00): no run reads the clock.
inline ReportInput ReferenceInput(Body body) {
    ReportInput in;
    in.body = body;
    FieldTexts& f = in.fields;
    f.TxtYear = "2005", f.TxtMonth = "6", f.TxtDay = "17", f.TxtHour = "12",
    f.TxtMin = f.TxtSec = "0";
    return in;
}

// The command line that gives every field its text: `zerin report BODY --FIELD TEXT ...`.
inline std::vector<std::string> ReportArgs(const ReportInput& in) {
    std::vector<std::string> args{"report", BodyName(in.body), in.east ? "--east" : "--west",
                                  in.north ? "--north" : "--south"};
    for (const auto& [option, field] : services::kFieldTextOptions) {
        args.push_back(option);
        args.push_back(in.fields.*field);
    }
    if (in.json) args.push_back("--json");
    return args;
}

struct ReportRun {
    int status = -1;
    std::string out, err;
};

// Runs `zerin report` in this process, as the executable would, capturing both streams.
inline ReportRun RunReport(const ReportInput& in) {
    CappedStream out, err;
    const int status = cli::Run(ReportArgs(in), out.file(), err.file());
    return {status, out.text(), err.text()};
}

// The lines of a fuzz target's input, split at '\n' (the last one without it).
inline std::vector<std::string> InputLines(std::string_view text,
                                           std::size_t most = static_cast<std::size_t>(-1)) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= text.size() && lines.size() < most;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

inline bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// "inf" or "nan" in any case.
inline bool WritesInfOrNan(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c | 0x20; });
    return Contains(text, "inf") || Contains(text, "nan");
}

inline bool AllDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number as the report writes it: "-12.5", "0.00015", "1.5E-05", "1.23456789012346E+15":
// at most 15 significant digits, the plain form for decimal exponents -4 to 14 and the
// scientific one outside, no trailing zeros after the period, never "-0", and within the
// range of a double.
inline bool IsReportNumber(std::string_view s) {
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.remove_prefix(1);
    const std::size_t e = s.find('E');
    const std::string_view mantissa = s.substr(0, e);
    const std::size_t period = mantissa.find('.');
    const std::string_view integer = mantissa.substr(0, period);
    const std::string_view fraction =
        period == std::string_view::npos ? std::string_view() : mantissa.substr(period + 1);
    if (period != std::string_view::npos && (!AllDigits(fraction) || fraction.back() == '0'))
        return false;
    if (!AllDigits(integer) || (integer.size() > 1 && integer[0] == '0')) return false;
    std::string digits = std::string(integer) + std::string(fraction);
    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.size() > 15) return false;
    if (e == std::string_view::npos) {
        if (digits.empty()) return !negative && s == "0";  // zero, and never "-0"
        const int exponent = integer != "0"
                                 ? static_cast<int>(integer.size()) - 1
                                 : -static_cast<int>(fraction.find_first_not_of('0')) - 1;
        return exponent >= -4 && exponent <= 14;
    }
    const std::string_view power = s.substr(e + 1);
    if (integer.size() != 1 || integer == "0" || power.size() < 3 || power.size() > 4) return false;
    if ((power[0] != '+' && power[0] != '-') || !AllDigits(power.substr(1))) return false;
    if (power.size() == 4 && power[1] == '0') return false;
    const int exponent = std::atoi(std::string(power).c_str());
    return (exponent < -4 || exponent > 14) && exponent >= -324 && exponent <= 308;
}

// An hours, minutes and seconds text: "5 H 43 Min 22 Sec ".
inline bool IsHMSText(std::string_view s) {
    const std::size_t h = s.find(" H "), m = s.find(" Min ");
    if (h == std::string_view::npos || m == std::string_view::npos || m < h || s.size() < 5 ||
        s.substr(s.size() - 5) != " Sec ")
        return false;
    const auto isWhole = [](std::string_view t) {  // 0 to 60, "-" before it but for 0
        const std::string_view digits = !t.empty() && t[0] == '-' ? t.substr(1) : t;
        return AllDigits(digits) && digits.size() <= 2 &&
               std::atoi(std::string(digits).c_str()) <= 60 && t != "-0";
    };
    return IsReportNumber(s.substr(0, h)) && isWhole(s.substr(h + 3, m - h - 3)) &&
           isWhole(s.substr(m + 5, s.size() - 5 - m - 5));
}

inline bool LooksLikeValue(std::string_view s) {
    if (s.size() >= 5 && s.substr(s.size() - 5) == " Sec ") return true;
    return !s.empty() && s.find_first_not_of("0123456789.-+E") == std::string_view::npos;
}

// The line with its value replaced by "#", the value added to `values`. The Julian-day
// section writes some values first ("17.5 = J ..." with the Arabic label after the name);
// other items end with " = " and the value. Adds to `problems` a value that is not written
// as a value.
inline std::string MaskValues(std::string_view line, std::vector<std::string>& values,
                              std::string& problems) {
    const auto check = [&](std::string_view value) {
        values.emplace_back(value);
        if (!IsReportNumber(value) && !IsHMSText(value))
            problems +=
                "malformed value '" + std::string(value) + "' in: " + std::string(line) + "\n";
    };
    const std::size_t first = line.find(" = ");
    if (first != std::string_view::npos && first > 0 && LooksLikeValue(line.substr(0, first))) {
        const std::string_view after = line.substr(first + 3);
        for (std::string_view name : {"Lon", "Lat", "Y", "m", "h", "Min", "Sec", "J"}) {
            if (after.size() > name.size() + 1 && after.starts_with(name) &&
                after[name.size()] == ' ' &&
                static_cast<unsigned char>(after[name.size() + 1]) >= 0x80) {
                check(line.substr(0, first));
                return "#" + std::string(line.substr(first));
            }
        }
    }
    const std::size_t last = line.rfind(" = ");
    if (last == std::string_view::npos || (last != 0 && !LooksLikeValue(line.substr(last + 3))))
        return std::string(line);
    check(line.substr(last + 3));
    return std::string(line.substr(0, last + 3)) + "#";
}

inline bool IsUtf8(std::string_view s) {
    for (std::size_t k = 0; k < s.size();) {
        const auto c = static_cast<unsigned char>(s[k]);
        const int more = c < 0x80           ? 0
                         : (c >> 5) == 0x6  ? 1
                         : (c >> 4) == 0xE  ? 2
                         : (c >> 3) == 0x1E ? 3
                                            : -1;
        if (more < 0 || s.size() - k <= static_cast<std::size_t>(more)) return false;
        for (int j = 1; j <= more; ++j)
            if ((static_cast<unsigned char>(s[k + j]) & 0xC0) != 0x80) return false;
        k += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

struct ReportShape {
    std::vector<std::string> lines;   // the report's lines, each value masked as "#"
    std::vector<std::string> values;  // the values, in the order the report prints them
};

// The report's lines and values; adds what is wrong to `problems`.
inline ReportShape Shape(const std::string& report, std::string& problems) {
    ReportShape shape;
    std::size_t start = 0;
    for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string_view line(report.data() + start, end - start);
        if (line.find_first_of("\r\n") != std::string_view::npos)
            problems += "a line end that is not CR LF\n";
        shape.lines.push_back(MaskValues(line, shape.values, problems));
    }
    if (start != report.size()) problems += "the report does not end with CR LF\n";
    return shape;
}

// The values that `zerin report --json` lists, in order; adds what is wrong to `problems`.
inline std::vector<std::string> JsonValues(const std::string& json, std::string& problems) {
    std::vector<std::string> values;
    if (!json.starts_with("[\n") || json.size() < 4 || !json.ends_with("\n]\n")) {
        problems += "--json did not write a list\n";
        return values;
    }
    constexpr std::string_view kValue = "\"value\": ", kUnit = ", \"unit\": ";
    for (std::size_t k = 0; (k = json.find(kValue, k)) != std::string::npos;) {
        k += kValue.size();
        const std::size_t end = json.find(kUnit, k);
        if (end == std::string::npos) {
            problems += "--json lists a value without its unit\n";
            break;
        }
        values.push_back(json.substr(k, end - k));
        if (!IsReportNumber(values.back()))
            problems += "--json lists the malformed value '" + values.back() + "'\n";
    }
    return values;
}

inline bool StartsWith(const std::vector<std::string>& lines,
                       const std::vector<std::string>& prefix) {
    return prefix.size() <= lines.size() && std::equal(prefix.begin(), prefix.end(), lines.begin());
}

// Checks runs against each body's report for the reference input.
class InvariantChecker {
  public:
    InvariantChecker() {
        for (int k = 0; k < kBodyCount; ++k) {
            std::string ignored;
            references_[static_cast<Body>(k)] =
                Shape(RunReport(ReferenceInput(static_cast<Body>(k))).out, ignored).lines;
        }
    }

    // "" when the run keeps every promise, otherwise what it broke, one line each.
    std::string Check(Body body, const ReportRun& run) const {
        std::string problems;
        if (run.status == 2) {
            if (!run.out.empty()) problems += "refused input, yet standard output holds text\n";
            if (run.err.empty()) problems += "refused input without a message\n";
            return problems;
        }
        if (run.status != 0 && run.status != 1)
            return "exit status " + std::to_string(run.status) + " is not 0, 1 or 2\n";
        CheckText(run.out, problems);
        std::vector<std::string> lines = Shape(run.out, problems).lines;
        const std::vector<std::string>& reference = references_.at(body);
        if (run.status == 1) {
            if (!StartsWith(reference, lines) || lines.size() == reference.size())
                problems += "a fault's report is not the beginning of the body's report\n";
            if (!Contains(run.err, "could not compute"))
                problems += "a fault without its message\n";
        } else if (lines != reference) {
            // Only the Sun ends early with status 0, with its message and the end line.
            const std::string endLine(kEndLine.substr(0, kEndLine.find('\r')));
            const bool closed =
                lines.size() >= 2 && lines[lines.size() - 2] == endLine && lines.back().empty();
            if (closed) lines.resize(lines.size() - 2);
            if (body != Body::Sun || !closed || !StartsWith(reference, lines) ||
                lines.size() >= reference.size())
                problems += "the report differs from the body's report beyond its values\n";
            else if (run.err.empty())
                problems += "the report ended early without a message\n";
        } else if (!run.err.empty()) {
            problems += "a whole report with a message: " + run.err;
        }
        if (!Contains(run.out, "T = (JJ - 2415020) / 36525 = "))
            problems += "the Julian-day section is not whole\n";
        return problems;
    }

    // --json: the same end and messages, and the values the report prints (hms as hours).
    std::string CheckJson(const ReportRun& text, const ReportRun& json) const {
        std::string problems;
        if (json.status != text.status)
            problems += "--json ends with exit " + std::to_string(json.status) +
                        ", the report with " + std::to_string(text.status) + "\n";
        if (json.err != text.err) problems += "--json gives other messages than the report\n";
        if (json.status == 2 || text.status == 2) {
            if (!json.out.empty()) problems += "refused input, yet --json wrote a list\n";
            return problems;
        }
        CheckText(json.out, problems);
        std::string ignored;
        const std::vector<std::string> printed = Shape(text.out, ignored).values;
        const std::vector<std::string> listed = JsonValues(json.out, problems);
        if (printed.size() != listed.size())
            return problems + "--json lists " + std::to_string(listed.size()) +
                   " values, the report prints " + std::to_string(printed.size()) + "\n";
        for (std::size_t k = 0; k < printed.size(); ++k)
            if (IsReportNumber(printed[k]) && printed[k] != listed[k])
                problems +=
                    "--json lists " + listed[k] + " where the report prints " + printed[k] + "\n";
        return problems;
    }

  private:
    static void CheckText(const std::string& out, std::string& problems) {
        if (WritesInfOrNan(out)) problems += "inf or nan written\n";
        if (!IsUtf8(out)) problems += "what is written is not valid UTF-8\n";
    }

    std::map<Body, std::vector<std::string>> references_;
};

// A fuzz target's finding: what went wrong, the command line and its messages; then abort.
[[noreturn]] inline void Finding(int status, const std::string& problems,
                                 const std::vector<std::string>& args, const std::string& err) {
    std::fprintf(stderr, "FINDING: exit %d\n%s\ncommand: zerin", status, problems.c_str());
    for (const std::string& arg : args) std::fprintf(stderr, " '%s'", arg.c_str());
    std::fprintf(stderr, "\nstderr: %s\n", err.c_str());
    std::abort();
}

}  // namespace zerin::robust
