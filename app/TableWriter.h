// Writes a table as an aligned text table, CSV or JSON, and shows the progress of a long one on a
// terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "TableOptions.h"

namespace zerin::cli {

struct TableColumn {
    enum Kind { Text, Number, List };
    std::string key;      // CSV and JSON: English, with the unit ("ra_h")
    std::string english;  // headers of the text table (and of CSV under --lang ar)
    std::string arabic;
    Kind kind = Text;  // numbers are right-aligned and unquoted in JSON; a list is
                       // "a;b" in CSV, an array in JSON, and not shown in the text table
};

// A cell: its text, or nothing for a missing value ("—", empty, null).
using Cell = std::optional<std::string>;

// Columns' number of terminal cells (code points, without the Arabic vowel marks).
std::size_t DisplayWidth(const std::string& utf8);

class TableWriter {
  public:
    TableWriter(Format format, Language headers, std::vector<TableColumn> columns, std::FILE* out,
                std::FILE* err);

    // Members of the JSON object written before its "rows" ("\"lon\": 5, "); set before the first
    // row.
    void SetJsonHead(std::string members) { jsonHead_ = std::move(members); }
    void Row(const std::vector<Cell>& cells);
    // A line written under the text table.
    void Note(const std::string& line) { notes_.push_back(line); }
    // Writes what is left; false (with a message) when the output could not be written.
    bool Finish();

  private:
    void Start();
    void Put(const std::string& text);
    void Flush();
    std::string CsvField(const std::string& text) const;
    std::string TextLine(const std::string& cells) const;

    Format format_;
    Language headers_;
    std::vector<TableColumn> columns_;
    std::FILE* out_;
    std::FILE* err_;
    std::string jsonHead_;
    std::string buffer_;
    bool started_ = false, failed_ = false;
    std::size_t rows_ = 0;
    // The text table is aligned once every row is known: each row is kept as its shown cells, each
    // ended by a NUL.
    std::vector<std::string> textRows_;
    std::vector<std::size_t> widths_;
    std::vector<std::string> notes_;
};

// "zerin: 12000 of 365000 rows" on standard error, rewritten in place, once a table has taken a
// second, and only when standard error is a terminal.
class Progress {
  public:
    Progress(std::FILE* err, std::size_t total);
    ~Progress();
    void Tick(std::size_t done) {
        if (enabled_ && (done & 255) == 0) Show(done);
    }

  private:
    void Show(std::size_t done);
    std::FILE* err_;
    std::size_t total_;
    bool enabled_, shown_ = false;
    std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace zerin::cli
