#include "TableWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Json.h"

namespace zerin::cli {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;
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
    : format_(format), headers_(headers), columns_(std::move(columns)), out_(out), err_(err) {}

void TableWriter::Put(const std::string& text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushSize) Flush();
}

void TableWriter::Flush() {
    if (!failed_ && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
}

std::string TableWriter::CsvField(const std::string& text) const {
    if (!NeedsQuotes(text)) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void TableWriter::Start() {
    started_ = true;
    if (format_ == Format::Csv) {
        std::string header;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const TableColumn& column = columns_[c];
            header += (c ? "," : "") +
                      CsvField(headers_ == Language::Arabic ? column.arabic : column.key);
        }
        Put(header + "\n");
    } else if (format_ == Format::Json) {
        Put("{" + jsonHead_ + "\"rows\": [");
    } else {
        widths_.assign(columns_.size(), 0);
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const TableColumn& column = columns_[c];
            widths_[c] =
                DisplayWidth(headers_ == Language::Arabic ? column.arabic : column.english);
        }
    }
}

void TableWriter::Row(const std::vector<Cell>& cells) {
    if (!started_) Start();
    const bool first = rows_++ == 0;
    if (format_ == Format::Text) {
        std::string row;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (columns_[c].kind == TableColumn::List) continue;
            const std::string& cell = cells[c] ? *cells[c] : kMissingText;
            widths_[c] = std::max(widths_[c], DisplayWidth(cell));
            row += cell;
            row += '\0';
        }
        textRows_.push_back(std::move(row));
        return;
    }
    std::string line;
    if (format_ == Format::Csv) {
        // Straight into the buffer: a timetable writes a row per day.
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (c) buffer_ += ',';
            if (!cells[c]) continue;
            if (NeedsQuotes(*cells[c]))
                buffer_ += CsvField(*cells[c]);
            else
                buffer_ += *cells[c];
        }
        Put("\n");
        return;
    }
    line = first ? "\n  {" : ",\n  {";
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
}

// A row of the text table from its shown cells, each padded to its column's width: numbers to the
// right, other cells to the left.
std::string TableWriter::TextLine(const std::string& cells) const {
    std::string line;
    std::size_t from = 0;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].kind == TableColumn::List) continue;
        const std::size_t end = cells.find('\0', from);
        const std::string cell = cells.substr(from, end - from);
        from = end + 1;
        const std::string blanks(widths_[c] - DisplayWidth(cell), ' ');
        if (!line.empty()) line += "  ";
        line += columns_[c].kind == TableColumn::Number ? blanks + cell : cell + blanks;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

bool TableWriter::Finish() {
    if (!started_) Start();
    if (format_ == Format::Json) {
        Put(rows_ ? "\n]}\n" : "]}\n");
    } else if (format_ == Format::Text) {
        std::string header;
        for (const TableColumn& column : columns_) {
            if (column.kind == TableColumn::List) continue;
            header += headers_ == Language::Arabic ? column.arabic : column.english;
            header += '\0';
        }
        Put(TextLine(header));
        for (const std::string& row : textRows_) Put(TextLine(row));
        for (const std::string& note : notes_) Put(note + "\n");
    }
    Flush();
    if (!failed_ && std::fflush(out_) != 0) failed_ = true;
    if (failed_)
        std::fprintf(err_, "zerin: could not write the output: %s\n", std::strerror(errno));
    return !failed_;
}

Progress::Progress(std::FILE* err, std::size_t total)
    : err_(err),
      total_(total),
      enabled_(isatty(fileno(err)) == 1),
      start_(std::chrono::steady_clock::now()),
      last_(start_) {}

Progress::~Progress() {
    if (shown_) std::fprintf(err_, "\r%*s\r", 48, "");
}

void Progress::Show(std::size_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(200))
        return;
    last_ = now;
    shown_ = true;
    std::fprintf(err_, "\rzerin: %zu of %zu rows", done, total_);
    std::fflush(err_);
}

}  // namespace zerin::cli
