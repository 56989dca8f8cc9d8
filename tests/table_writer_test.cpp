// The writing of tables: the exact bytes of each format, rows written as they are
// computed, the stop at the first failed write, rows the calculation refused or could not
// finish, and the progress line on a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "TableWriter.h"
#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

using services::Cell;
using services::Format;
using services::Language;
using services::RowEnd;
using services::RowResult;
using services::TableColumn;

const std::vector<TableColumn> kColumns = {
    {"date", "Date", "التاريخ", TableColumn::Text, 10},
    {"value", "Value", "القيمة", TableColumn::Number, services::kNumberWidth},
    {"list", "List", "قائمة", TableColumn::List},
};

// Two rows, the second with a missing value and an empty list.
const std::vector<std::vector<Cell>> kRows = {{"2005-06-17", "1.5", "a;b"},
                                              {"2005-06-18", std::nullopt, ""}};

struct Written {
    int status;
    std::string out, err;
};

// Writes `count` rows made by makeRow to a stream of the given capacity.
template <class MakeRow>
Written Write(Format format, std::size_t count, MakeRow makeRow,
              std::size_t capacity = static_cast<std::size_t>(-1)) {
    robust::CappedStream out(capacity), err;
    services::TableWriter writer(format, Language::English, kColumns, out.file(), err.file());
    writer.SetJsonHead("\"body\": \"sun\", ");
    const int status = services::WriteRows(writer, count, makeRow, err.file());
    return {status, out.text(), err.text()};
}

// Each column as wide as its widest possible cell (10 and 22), two blanks between them,
// numbers to the right, lists left out of the text; a CSV cell quoted only when it holds a
// comma, a quote, CR or LF (RFC 4180), wherever it stands in the row, and the row after a
// quoted one written plainly again; JSON's missing value null.
TEST(TableWriter, TheBytesOfEachFormat) {
    const std::vector<std::vector<Cell>> kQuoted = {
        {"Fes, medina", "1.5", "a;b"},        {"2005-06-18", "say \"hi\"", ""},
        {"2005-06-19", std::nullopt, "a\rb"}, {"line\nend", std::nullopt, std::nullopt},
        {"2005-06-20", "-0.25", "x"},         {"", "", ""}};
    const struct {
        Format format;
        const std::vector<std::vector<Cell>>& rows;
        std::string bytes;
    } kCases[] = {
        {Format::Text, kRows,
         "Date" + std::string(25, ' ') + "Value\n2005-06-17" + std::string(21, ' ') +
             "1.5\n2005-06-18" + std::string(23, ' ') + "\xE2\x80\x94\n"},
        {Format::Csv, kRows, "date,value,list\n2005-06-17,1.5,a;b\n2005-06-18,,\n"},
        {Format::Json, kRows,
         "{\"body\": \"sun\", \"rows\": [\n  {\"date\": \"2005-06-17\", \"value\": 1.5, \"list\": "
         "[\"a\", \"b\"]},\n"
         "  {\"date\": \"2005-06-18\", \"value\": null, \"list\": []}\n]}\n"},
        {Format::Csv, kQuoted,
         "date,value,list\n\"Fes, medina\",1.5,a;b\n2005-06-18,\"say "
         "\"\"hi\"\"\",\n2005-06-19,,\"a\rb\"\n"
         "\"line\nend\",,\n2005-06-20,-0.25,x\n,,\n"},
    };
    for (const auto& c : kCases) {
        const Written w =
            Write(c.format, c.rows.size(), [&c](std::size_t k, std::vector<Cell>& cells) {
                cells = c.rows[k];
                return RowResult{};
            });
        EXPECT_EQ(w.status, 0);
        EXPECT_EQ(w.out, c.bytes);
        EXPECT_EQ(w.err, "");
    }
}

// When row k is computed, the rows before it are already out (the first at once, the
// others by chunks), in every format: nothing waits for the table's end. A failed write
// stops the table: the rows that filled the stream and at most a chunk (64 KiB) more, of
// the million asked for, with one message.
TEST(TableWriter, RowsAreWrittenAsTheyAreComputedAndStopAtTheFirstFailedWrite) {
    for (const Format format : {Format::Text, Format::Csv, Format::Json}) {
        SCOPED_TRACE(static_cast<int>(format));
        robust::CappedStream out, err;
        services::TableWriter writer(format, Language::English, kColumns, out.file(), err.file());
        std::vector<std::size_t> outAtRow;
        const auto row = [&](std::size_t, std::vector<Cell>& cells) {
            outAtRow.push_back(out.text().size());
            cells = kRows[0];
            return RowResult{};
        };
        ASSERT_EQ(services::WriteRows(writer, 20000, row, err.file()), 0);
        EXPECT_EQ(outAtRow[0], 0u);
        EXPECT_GT(outAtRow[1], 0u);  // the header and the first row
        EXPECT_GT(outAtRow[19999], out.text().size() / 2);
        for (const std::size_t capacity : {std::size_t{0}, std::size_t{100000}}) {
            std::size_t computed = 0;
            const Written w = Write(
                format, 1000000,
                [&computed](std::size_t, std::vector<Cell>& cells) {
                    ++computed;
                    cells = kRows[0];
                    return RowResult{};
                },
                capacity);
            EXPECT_EQ(w.status, 1);
            EXPECT_EQ(w.err, "zerin: could not write the output: No space left on device\n");
            EXPECT_LT(computed, capacity == 0 ? 2u : 10000u) << capacity;
        }
    }
}

// Rows the calculation refuses keep their place in the table, empty; a table of nothing
// but refused rows writes nothing.
TEST(TableWriter, RefusedAndFaultedRows) {
    using E = RowEnd;
    const std::string header = "date,value,list\n", rows = header + "r0,1,\nr1,1,\nr2,1,\n";
    const struct {
        std::vector<RowEnd> ends;
        int status;
        std::string out, err;
    } kCases[] = {
        {{E::Refused, E::Refused}, 2, "", "zerin: no row could be computed: why 0\n"},
        {{E::Refused, E::Refused, E::Computed},
         1,
         rows,
         "zerin: 2 rows from r0 are empty: why 0\n"},
        {{E::Computed, E::Refused, E::Computed}, 1, rows, "zerin: the row of r1 is empty: why 1\n"},
        {{E::Fault, E::Computed, E::Fault},
         1,
         rows,
         "zerin: a calculation fault left cells of 2 rows from r0 empty: why 0\n"},
        {{E::Computed, E::Computed}, 0, header + "r0,1,\nr1,1,\n", ""},
    };
    for (const auto& c : kCases) {
        const Written w =
            Write(Format::Csv, c.ends.size(), [&c](std::size_t k, std::vector<Cell>& cells) {
                cells = {"r" + std::to_string(k), "1", ""};
                return c.ends[k] == E::Computed ? RowResult{}
                                                : RowResult{c.ends[k], "why " + std::to_string(k)};
            });
        EXPECT_EQ(w.status, c.status);
        EXPECT_EQ(w.out, c.out);
        EXPECT_EQ(w.err, c.err);
    }
}

// A pseudo-terminal: the terminal side as a stream, what it shows read from the other.
class Terminal {
  public:
    Terminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        fcntl(master_, F_SETFL, O_NONBLOCK);
        file_ = std::fopen(ptsname(master_), "w");
    }
    ~Terminal() {
        if (file_) std::fclose(file_);
        if (master_ >= 0) close(master_);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    std::FILE* file() const { return file_; }
    std::string Shown() {
        std::string shown;
        char buffer[4096];
        for (ssize_t n; (n = read(master_, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
        return shown;
    }

  private:
    int master_ = -1;
    std::FILE* file_ = nullptr;
};

TEST(TableWriter, ProgressOnlyOnATerminalThatIsNotTheTables) {
    Terminal terminal, other;
    if (!terminal.file() || !other.file()) GTEST_SKIP() << "no pseudo-terminal here";
    std::FILE* file = std::tmpfile();
    struct Case {
        const char* name;
        std::FILE* err;
        std::FILE* out;
        bool shown;
    };
    const Case cases[] = {
        {"standard output redirected", terminal.file(), file, true},
        {"standard output on another terminal", terminal.file(), other.file(), true},
        {"both on the same terminal", terminal.file(), terminal.file(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            services::Progress progress(c.err, c.out, 1000, std::chrono::milliseconds(0));
            for (std::size_t done = 1; done <= 600; ++done) progress.Tick(done);
        }
        const std::string shown = terminal.Shown();
        if (!c.shown) {
            EXPECT_EQ(shown, "");
            continue;
        }
        // Shown at the 256th row, then cleared: blanks over the line, the cursor back.
        const std::string line = "zerin: 256 of 1000 rows";
        EXPECT_EQ(shown, "\r" + line + "\r" + std::string(line.size(), ' ') + "\r");
    }
    // Standard error not a terminal: no progress.
    std::FILE* log = std::tmpfile();
    {
        services::Progress progress(log, terminal.file(), 1000, std::chrono::milliseconds(0));
        progress.Tick(256);
    }
    EXPECT_EQ(std::ftell(log), 0);
    std::fclose(log);
    std::fclose(file);
}

}  // namespace
}  // namespace zerin::test
