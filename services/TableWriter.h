// Writes a table as an aligned text table, CSV or JSON, row by row as the rows are computed, and
// shows the progress of a long one on a terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "TableRequest.h"

namespace zerin::services {

struct TableColumn {
    enum Kind { Text, Number, List };
    std::string key;      // CSV and JSON: English, with the unit ("ra_h")
    std::string english;  // headers of the text table (and of CSV under --lang ar)
    std::string arabic;
    Kind kind = Text;       // numbers are right-aligned and unquoted in JSON; a list is
                            // "a;b" in CSV, an array in JSON, and not shown in the text table
    std::size_t width = 0;  // the widest cell the column can hold, in terminal cells: the text
                            // table is aligned before its first row is known
};

// The widest number the report writes ("-4.94065645841247E-324").
inline constexpr std::size_t kNumberWidth = 22;

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
    // What the table was computed with, set before the first row: a line before the text table's
    // header. A CSV's first line is its header, as spreadsheets and CSV readers expect: the line
    // goes to standard error, or with inFile as a "# " comment line after the last row.
    void SetPreamble(std::string line, bool inFile = false) {
        preamble_ = std::move(line);
        preambleInFile_ = inFile;
    }
    // Writes a row (the header first); false once the output has failed, which is said once.
    bool Row(const std::vector<Cell>& cells);
    // A line written under the text table, in the order of the slots.
    void Note(std::size_t slot, std::string line) {
        if (notes_.size() <= slot) notes_.resize(slot + 1);
        notes_[slot] = std::move(line);
    }
    // A date the local clock skips has no row: said in the note of that slot under the text table,
    // on standard error for CSV and JSON (which have no notes). Returns why, in one line.
    std::string SkippedDate(std::size_t slot, const std::string& date);
    // Writes what is left; false when the output could not be written.
    bool Finish();
    std::FILE* out() const { return out_; }

  private:
    void Start();
    void Put(const std::string& text);
    void Written();  // after text was added to the buffer
    void Flush();
    std::string CsvField(const std::string& text) const;
    void TextLine(const std::vector<const std::string*>& cells);

    Format format_;
    Language headers_;
    std::vector<TableColumn> columns_;
    std::vector<std::size_t> widths_;  // of the text table's columns
    std::FILE* out_;
    std::FILE* err_;
    std::string jsonHead_;
    std::string preamble_;
    bool preambleInFile_ = false;
    std::string buffer_;
    bool started_ = false, failed_ = false;
    std::size_t rows_ = 0;
    std::vector<std::string> notes_;
};

// "zerin: 12000 of 365000 rows" on standard error, rewritten in place once a table has taken a
// second, and cleared when it is done; only when standard error is a terminal and standard output
// is not that same terminal (where the line would land inside the table). `out` is null when the
// table goes to files.
class Progress {
  public:
    Progress(std::FILE* err, std::FILE* out, std::size_t total,
             std::chrono::milliseconds delay = std::chrono::seconds(1));
    ~Progress() { Clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void Tick(std::size_t done) {
        if (enabled_ && (done & 255) == 0) Show(done);
    }
    void Clear();

  private:
    void Show(std::size_t done);
    std::FILE* err_;
    std::size_t total_;
    bool enabled_;
    std::size_t shownWidth_ = 0;  // of the line on the terminal, 0 when none
    std::chrono::steady_clock::time_point start_, last_;
    std::chrono::milliseconds delay_;
};

// What became of one row of a table.
enum class RowEnd {
    Computed,
    Refused,  // the calculation refused the row's instant: its cells are empty
    Fault,    // a calculation fault: the cells it did not reach are empty
    Skipped,  // a day the local clock skips: no row at all
};

struct RowResult {
    RowEnd end = RowEnd::Computed;
    std::string why;  // for a refused or faulted row, what happened (one line)
};

// Writes rows 0 .. count - 1, each made by makeRow(k, cells), and returns the exit status: 0 every
// row computed; 1 the output failed (the table stops at the first failed write) or some rows are
// empty, with a message; 2 no row could be computed: nothing written, a message. Refused rows
// before the first computed one are held back so that a table of nothing but refused rows writes
// nothing.
template <class MakeRow>
int WriteRows(TableWriter& writer, std::size_t count, MakeRow makeRow, std::FILE* err);

// The end of a table: the tally of its empty rows, and the messages that say why.
class EmptyRows {
  public:
    void Count(const RowResult& result, const Cell& label);
    // "zerin: ..." for each kind of empty row; returns the exit status of a written table.
    int Report(std::FILE* err) const;
    // Every row refused: the message, nothing written; returns 2.
    int ReportNothingComputed(std::FILE* err) const;

  private:
    struct Tally {
        std::size_t rows = 0;
        std::string first, why;
    };
    Tally refused_, faults_;
    std::string skipped_;  // why the first skipped day has no row
};

template <class MakeRow>
int WriteRows(TableWriter& writer, std::size_t count, MakeRow makeRow, std::FILE* err) {
    // At most a few hours of instants can be refused together (the days the Gregorian reform
    // dropped, on the calculation's clock): a bound keeps the memory flat whatever happens.
    constexpr std::size_t kMaxHeld = 4096;
    Progress progress(err, writer.out(), count);
    EmptyRows empty;
    std::vector<std::vector<Cell>> held;
    bool computed = false;
    std::vector<Cell> cells;
    for (std::size_t k = 0; k < count; ++k) {
        const RowResult result = makeRow(k, cells);
        if (result.end == RowEnd::Skipped) {
            empty.Count(result, {});
            continue;
        }
        empty.Count(result, cells.front());
        if (!computed && result.end == RowEnd::Refused && held.size() < kMaxHeld) {
            held.push_back(cells);
            continue;
        }
        computed = true;
        for (const std::vector<Cell>& row : held)
            if (!writer.Row(row)) return 1;
        held.clear();
        if (!writer.Row(cells)) return 1;
        progress.Tick(k + 1);
    }
    progress.Clear();
    if (!computed) return empty.ReportNothingComputed(err);
    if (!writer.Finish()) return 1;
    return empty.Report(err);
}

}  // namespace zerin::services
