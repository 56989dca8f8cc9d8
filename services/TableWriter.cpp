#include "TableWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Json.h"
#include "Output.h"

namespace zerin::services {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;
const std::string kMissingText = "—";

bool NeedsQuotes(const std::string& text) {
    for (const char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
    return false;
}

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The Arabic vowel marks and shadda (U+064B..U+065F, U+0670) take no cell of their own.
bool IsArabicMark(const std::string& s, std::size_t k) {
    if (k + 1 >= s.size()) return false;
    const auto a = static_cast<unsigned char>(s[k]), b = static_cast<unsigned char>(s[k + 1]);
    return (a == 0xD9 && b >= 0x8B && b <= 0x9F) || (a == 0xD9 && b == 0xB0);
}

}  // namespace

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (std::size_t k = 0; k < utf8.size(); ++k)
        if (!IsContinuationByte(static_cast<unsigned char>(utf8[k])) && !IsArabicMark(utf8, k))
            ++width;
    return width;
}

TableWriter::TableWriter(Format format, Language headers, std::vector<TableColumn> columns,
                         std::FILE* out, std::FILE* err)
    : format_(format), headers_(headers), columns_(std::move(columns)), out_(out), err_(err) {
    // Room for a flush's worth and the row that passes it, made once.
    buffer_.reserve(2 * kFlushSize);
    for (const TableColumn& column : columns_) {
        const std::string& header = headers_ == Language::Arabic ? column.arabic : column.english;
        widths_.push_back(std::max(DisplayWidth(header), column.width));
    }
}

void TableWriter::Put(const std::string& text) {
    buffer_ += text;
    Written();
}

void TableWriter::Written() {
    // The first row goes out at once, so that a long table shows its start.
    if (buffer_.size() >= kFlushSize || rows_ == 1) Flush();
}

void TableWriter::Flush() {
    if (failed_ || buffer_.empty()) return;
    if (!WriteAll(out_, err_, buffer_)) failed_ = true;
    buffer_.clear();
}

std::string TableWriter::CsvField(const std::string& text) const {
    if (!NeedsQuotes(text)) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string TableWriter::SkippedDate(std::size_t slot, const std::string& date) {
    const std::string why =
        "the local clock skips " + date + " (the zone moved across the date line)";
    if (format_ != Format::Text) {
        std::fprintf(err_, "zerin: %s: the day has no row\n", why.c_str());
        return why;
    }
    const bool arabic = headers_ == Language::Arabic;
    const std::string ending =
        arabic ? ": أيام تخطّتها ساعة المكان حين انتقلت منطقته عبر خط التاريخ، لا صف لها"
               : ": the local clock skips these days (the zone moved across "
                 "the date line): they have no row";
    std::string dates = date;
    if (slot < notes_.size() && !notes_[slot].empty())
        dates = notes_[slot].substr(0, notes_[slot].size() - ending.size()) + ", " + date;
    Note(slot, dates + ending);
    return why;
}

void TableWriter::Start() {
    started_ = true;
    const bool arabic = headers_ == Language::Arabic;
    if (!preamble_.empty() && format_ == Format::Text) Put(preamble_ + "\n");
    if (!preamble_.empty() && format_ == Format::Csv && !preambleInFile_)
        std::fprintf(err_, "zerin: %s\n", preamble_.c_str());
    if (format_ == Format::Csv) {
        std::string header;
        for (std::size_t c = 0; c < columns_.size(); ++c)
            header += (c ? "," : "") + CsvField(arabic ? columns_[c].arabic : columns_[c].key);
        Put(header + "\n");
    } else if (format_ == Format::Json) {
        Put("{" + jsonHead_ + "\"rows\": [");
    } else {
        std::vector<const std::string*> header;
        for (const TableColumn& column : columns_)
            header.push_back(arabic ? &column.arabic : &column.english);
        TextLine(header);
    }
}

bool TableWriter::Row(const std::vector<Cell>& cells) {
    if (!started_) Start();
    const bool first = rows_++ == 0;
    if (format_ == Format::Text) {
        std::vector<const std::string*> shown;
        for (const Cell& cell : cells) shown.push_back(cell ? &*cell : &kMissingText);
        TextLine(shown);
        return !failed_;
    }
    if (format_ == Format::Csv) {
        // Straight into the buffer: a timetable writes a row per day. The row's room is made
        // at once and each cell copied into it, in one pass that also looks for a character to
        // be quoted (a few characters a cell: cheaper than a scan and a call to memcpy); a row
        // with one is written again the slower way.
        // The count held apart: the characters written could alias the columns' vector, whose
        // size would then be read again for every cell.
        const std::size_t count = columns_.size();
        const std::size_t start = buffer_.size();
        std::size_t size = count;  // the commas and the line's end
        for (std::size_t c = 0; c < count; ++c)
            if (cells[c]) size += cells[c]->size();
        buffer_.resize(start + size);
        char* at = buffer_.data() + start;
        bool quoted = false;
        for (std::size_t c = 0; c < count; ++c) {
            if (c) *at++ = ',';
            if (!cells[c]) continue;
            for (const char ch : *cells[c]) {
                // The four characters all lie at or below the comma: one test for the rest.
                if (static_cast<unsigned char>(ch) <= ',' &&
                    (ch == ',' || ch == '"' || ch == '\r' || ch == '\n'))
                    quoted = true;
                *at++ = ch;
            }
        }
        *at = '\n';
        if (quoted) {
            buffer_.resize(start);
            for (std::size_t c = 0; c < columns_.size(); ++c) {
                if (c) buffer_ += ',';
                if (cells[c]) buffer_ += CsvField(*cells[c]);
            }
            buffer_ += '\n';
        }
        Written();
        return !failed_;
    }
    std::string line = first ? "\n  {" : ",\n  {";
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const TableColumn& column = columns_[c];
        line += (c ? ", " : "") + JsonString(column.key) + ": ";
        if (!cells[c]) {
            line += "null";
        } else if (column.kind == TableColumn::Number) {
            line += *cells[c];
        } else if (column.kind == TableColumn::List) {
            std::string items;
            std::size_t from = 0;
            while (from < cells[c]->size()) {
                std::size_t to = cells[c]->find(';', from);
                if (to == std::string::npos) to = cells[c]->size();
                items +=
                    (items.empty() ? "" : ", ") + JsonString(cells[c]->substr(from, to - from));
                from = to + 1;
            }
            line += "[" + items + "]";
        } else {
            line += JsonString(*cells[c]);
        }
    }
    Put(line + "}");
    return !failed_;
}

// A line of the text table, each cell padded to its column's width: numbers to the right, other
// cells to the left; lists are not shown.
void TableWriter::TextLine(const std::vector<const std::string*>& cells) {
    std::string line;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].kind == TableColumn::List) continue;
        const std::string& cell = *cells[c];
        const std::size_t width = DisplayWidth(cell);
        const std::string blanks(widths_[c] > width ? widths_[c] - width : 0, ' ');
        if (!line.empty()) line += "  ";
        line += columns_[c].kind == TableColumn::Number ? blanks + cell : cell + blanks;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    Put(line + "\n");
}

bool TableWriter::Finish() {
    if (!started_) Start();
    if (format_ == Format::Json) Put(rows_ ? "\n]}\n" : "]}\n");
    if (format_ == Format::Csv && preambleInFile_ && !preamble_.empty())
        Put("# " + preamble_ + "\n");
    if (format_ == Format::Text)
        for (const std::string& note : notes_)
            if (!note.empty()) Put(note + "\n");
    Flush();
    return !failed_;
}

namespace {

// Both streams are the same terminal (or the same file).
bool SameFile(std::FILE* a, std::FILE* b) {
    struct stat sa {
    }, sb{};
    return fstat(fileno(a), &sa) == 0 && fstat(fileno(b), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino && sa.st_rdev == sb.st_rdev;
}

}  // namespace

Progress::Progress(std::FILE* err, std::FILE* out, std::size_t total,
                   std::chrono::milliseconds delay)
    : err_(err),
      total_(total),
      enabled_(isatty(fileno(err)) == 1 && !(out && SameFile(err, out))),
      start_(std::chrono::steady_clock::now()),
      delay_(delay) {}

void Progress::Clear() {
    if (shownWidth_ == 0) return;
    std::fprintf(err_, "\r%*s\r", static_cast<int>(shownWidth_), "");
    std::fflush(err_);
    shownWidth_ = 0;
}

void Progress::Show(std::size_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < delay_) return;
    if (shownWidth_ != 0 && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    const int written = std::fprintf(err_, "\rzerin: %zu of %zu rows", done, total_);
    shownWidth_ = written > 1 ? static_cast<std::size_t>(written - 1) : 1;
    std::fflush(err_);
}

void EmptyRows::Count(const RowResult& result, const Cell& label) {
    if (result.end == RowEnd::Computed) return;
    if (result.end == RowEnd::Skipped) {
        if (skipped_.empty()) skipped_ = result.why;
        return;
    }
    Tally& tally = result.end == RowEnd::Refused ? refused_ : faults_;
    if (tally.rows++ == 0) {
        tally.first = label.value_or("");
        tally.why = result.why;
    }
}

namespace {

// "the row of 2005-06-17", "3 rows from 2005-06-17".
std::string RowsFrom(std::size_t rows, const std::string& first) {
    return rows == 1 ? "the row of " + first : std::to_string(rows) + " rows from " + first;
}

}  // namespace

int EmptyRows::Report(std::FILE* err) const {
    if (refused_.rows)
        std::fprintf(err, "zerin: %s %s empty: %s\n",
                     RowsFrom(refused_.rows, refused_.first).c_str(),
                     refused_.rows == 1 ? "is" : "are", refused_.why.c_str());
    if (faults_.rows)
        std::fprintf(err, "zerin: a calculation fault left cells of %s empty: %s\n",
                     RowsFrom(faults_.rows, faults_.first).c_str(), faults_.why.c_str());
    return refused_.rows || faults_.rows ? 1 : 0;
}

int EmptyRows::ReportNothingComputed(std::FILE* err) const {
    std::fprintf(err, "zerin: no row could be computed: %s\n",
                 (refused_.rows ? refused_.why : skipped_).c_str());
    return 2;
}

}  // namespace zerin::services
