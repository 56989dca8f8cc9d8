// Helpers: a report's printed values, CSV and data rows, zones, refused command lines, folders.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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
    // A timetable's settings go to standard error, one line: the CSV starts with its header.
    EXPECT_TRUE(r.err.empty() ||
                (r.err.rfind("zerin: Settings: ", 0) == 0 && r.err.find('\n') == r.err.size() - 1))
        << r.err;
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

// A refused command line: exit 2, no output, the message on one line (two for a refused date).
inline void ExpectRefused(const std::vector<std::string>& args, const std::string& message,
                          long lines = 1) {
    SCOPED_TRACE(args.back());
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), lines) << r.err;
}

// The text cut at each separator: "a,,b" is {"a", "", "b"}.
inline std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text + separator);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

// A cell of a data row without the blanks around it.
inline std::string Trimmed(const std::string& cell) {
    const std::size_t from = cell.find_first_not_of(' ');
    return from == std::string::npos ? ""
                                     : cell.substr(from, cell.find_last_not_of(' ') + 1 - from);
}

// A data file's text with its escapes read: \s a blank, \n, \r, \t, \\ and \xHH as in C.
inline std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\\' || k + 1 == text.size()) {
            out += text[k];
        } else if (const char c = text[++k]; c == 'x') {
            out += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
            k += 2;
        } else {
            out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

#ifdef ZERIN_TEST_DATA
// The rows of a file under tests/data cut at `sep`; blanks, # comments and the header skipped.
inline std::vector<std::vector<std::string>> DataRows(const std::string& name,
                                                      const std::string& header = "",
                                                      char separator = ',') {
    std::ifstream file(std::string(ZERIN_TEST_DATA) + "/" + name);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#' && (header.empty() || line.rfind(header + ",", 0)))
            rows.push_back(SplitAt(line, separator));
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}
#endif

// A CSV table's rows by its header's keys (the settings' comment line above it skipped).
using KeyedRow = std::map<std::string, std::string>;
inline std::vector<KeyedRow> KeyedCsvRows(const std::string& csv) {
    std::istringstream lines(csv);
    std::string line;
    while (std::getline(lines, line) && line.rfind("# ", 0) == 0) {
    }
    const std::vector<std::string> keys = SplitAt(line, ',');
    std::vector<KeyedRow> rows;
    for (const std::vector<std::string>& cells : CsvRows(csv)) {
        rows.emplace_back();
        for (std::size_t k = 0; k < keys.size() && k < cells.size(); ++k)
            rows.back()[keys[k]] = cells[k];
    }
    return rows;
}

// `zerin LINE`, which must succeed: its CSV rows by key.
inline std::vector<KeyedRow> KeyedTable(const std::string& line) {
    const CliResult r = RunCli(Words(line));
    EXPECT_EQ(r.status, 0) << line << "\n" << r.err;
    return KeyedCsvRows(r.out);
}

// A table's clock cell, "05:20", "00:40+1" or "05:20:07-1": seconds from the day's midnight.
inline int ClockSeconds(const std::string& cell) {
    const bool seconds = cell.size() >= 8 && cell[5] == ':';
    const std::size_t end = seconds ? 8 : 5;
    const int shift = cell.size() > end ? std::stoi(cell.substr(end)) : 0;
    return std::stoi(cell.substr(0, 2)) * 3600 + std::stoi(cell.substr(3, 2)) * 60 +
           (seconds ? std::stoi(cell.substr(6, 2)) : 0) + shift * 86400;
}

// The values of `zerin report ... --json` by name (the last of a name that recurs).
inline std::map<std::string, std::string> JsonNamedValues(const std::string& json) {
    std::map<std::string, std::string> values;
    for (std::size_t at = 0; (at = json.find("{\"name\": \"", at)) != std::string::npos;) {
        at += 10;
        const std::string name = json.substr(at, json.find('"', at) - at);
        const std::size_t value = json.find("\"value\": ", at) + 9;
        values[name] = json.substr(value, json.find_first_of(",}", value) - value);
    }
    return values;
}

// A folder of a test's own under /tmp, removed with all it holds at the end of the test.
class ScratchFolder {
  public:
    ScratchFolder() {
        char name[] = "/tmp/zerin-scratch-XXXXXX";
        if (const char* made = ::mkdtemp(name)) path_ = made;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // The names the folder holds, sorted: what a write left beside its target.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string path_;
};

// A time cell as minutes from its row's midnight: "05:20", "00:40+1", "23:12-1*".
inline int ClockMinutes(const std::string& cell) {
    const std::size_t shift = cell.find_first_of("+-", 5);
    return std::stoi(cell.substr(0, 2)) * 60 + std::stoi(cell.substr(3, 2)) +
           (shift == std::string::npos ? 0 : std::stoi(cell.substr(shift)) * 1440);
}

}  // namespace zerin::test
