// Helpers shared by the tests of the tables (times, ephemeris): the values a report
// prints, CSV rows, time-zone database checks and refused command lines.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../fuzz/CappedStream.h"
#include "TestSupport.h"

namespace zerin::test {

// A command line written with blanks between its words: Words("times --from 2005-06-17").
inline std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The value a report prints after a formula text: "Fajr = MIDI - Fadl\r\n = 4.51...".
inline std::string Printed(const std::string& report, const std::string& formula) {
    const std::string head = formula + "\r\n = ";
    const std::size_t at = report.find(head);
    if (at == std::string::npos) return "(not in the report)";
    const std::size_t from = at + head.size();
    return report.substr(from, report.find("\r\n", from) - from);
}

// The data rows of a CSV table (its header left out), each split into its cells.
inline std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv);
    std::string line;
    // The comment lines before the header (what a timetable was computed with), then the header.
    while (std::getline(lines, line) && line.rfind("# ", 0) == 0) {
    }
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::istringstream fields(line + ",");
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

// Runs a table command that must succeed and returns its CSV rows.
inline std::vector<std::vector<std::string>> CsvTable(const std::vector<std::string>& args) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return CsvRows(r.out);
}

// The value of the last item of that name in `zerin report --json` (NaN when there is none).
inline double ReportedValue(const std::string& json, const std::string& name) {
    const std::string head = "{\"name\": \"" + name + "\", \"value\": ";
    const std::size_t at = json.rfind(head);
    return at == std::string::npos ? std::nan("")
                                   : std::strtod(json.c_str() + at + head.size(), nullptr);
}

inline bool HaveZone(const std::string& name) {
    struct stat s {};
    return stat(("/usr/share/zoneinfo/" + name).c_str(), &s) == 0;
}

// A refused command line: exit status 2, nothing on standard output, one line on
// standard error holding the message.
inline void ExpectRefused(const std::vector<std::string>& args, const std::string& message) {
    SCOPED_TRACE(args.back());
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

// Regional settings with a decimal comma for one scope (LC_ALL=de_DE.UTF-8), when the
// machine has them.
class CommaLocale {
  public:
    CommaLocale() {
        if (const char* saved = std::getenv("LC_ALL")) saved_ = saved;
        available_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        std::setlocale(LC_NUMERIC, "C");
        setenv("LC_ALL", "de_DE.UTF-8", 1);
    }
    ~CommaLocale() {
        if (saved_)
            setenv("LC_ALL", saved_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool available() const { return available_; }

  private:
    std::optional<std::string> saved_;
    bool available_ = false;
};

}  // namespace zerin::test
