#include "Places.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <tuple>

#include "TableWriter.h"
#include "Utf8.h"
#include "report/Echo.h"

namespace zerin::services {

namespace {

// A line that no real places file needs: a guard against reading a binary file whole.
constexpr std::size_t kMaxLineBytes = 4096;

// Reads a line into line, at most kMaxLineBytes + 1 bytes of it (a longer one is refused
// without reading the rest); false at the end of the input.
bool ReadBoundedLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return !line.empty();
        }
        if (c == '\n') return true;
        line += static_cast<char>(c);
        if (line.size() > kMaxLineBytes) return true;
    }
}

// A code point as four or more hexadecimal digits: "202E".
std::string Hex(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(code));
    return text;
}

// What is wrong with the text of a line, or "" for clean UTF-8: bytes that are not UTF-8, a
// control character (a tab only between fields), a byte-order mark after the file's start,
// or a character that reorders or breaks the line.
std::string LineFault(const std::string& line) {
    for (std::size_t k = 0, length = 0; k < line.size(); k += length) {
        const char32_t code = DecodeUtf8(line, k, length);
        if (length == 0) return "bytes that are not UTF-8 text";
        if (code == 0) return "a NUL byte: is this a places file?";
        if ((code < 0x20 && code != '\t') || (code >= 0x7F && code < 0xA0))
            return "a control character, which no place's name holds";
        if (code == 0xFEFF)
            return "a byte-order mark (U+FEFF) that is not at the start of the file";
        // Embeddings, overrides and isolates reorder what the tables show after them; a line
        // or paragraph separator breaks a row of the tables in two.
        if ((code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069) ||
            code == 0x2028 || code == 0x2029)
            return "a character that changes the writing direction or breaks the line (U+" +
                   Hex(code) + "), which no place's name holds";
    }
    return "";
}

// The fields of a CSV line; false when a quoted field is not closed or text follows its
// closing quote.
bool SplitCsv(const std::string& line, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool quoted = false, closed = false;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (k + 1 < line.size() && line[k + 1] == '"') {
                fields.back() += '"';
                ++k;
            } else {
                quoted = false;
                closed = true;
            }
        } else if (c == ',') {
            fields.emplace_back();
            closed = false;
        } else if (c == '"' && fields.back().find_first_not_of(' ') == std::string::npos &&
                   !closed) {
            fields.back().clear();
            quoted = true;
        } else if (closed && c != ' ') {
            return false;
        } else if (!closed) {
            fields.back() += c;
        }
    }
    return !quoted;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsZoneName(const std::string& zone) {
    for (const char c : zone)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return false;
}

}  // namespace

bool PlaceClockOptions(const std::string& zone, const TableOptions& options, TableOptions& clock,
                       std::string& error) {
    clock = options;
    if (zone.empty()) return true;
    clock.tz.reset();
    clock.zone.reset();
    if (IsZoneName(zone)) {
        clock.summer.reset();
        clock.tz = zone;
        return true;
    }
    error.clear();
    return ReadWholeHours("--zone", zone, clock.zone, error);
}

namespace {

// Reads the rows after the header; one object per file.
class PlacesReader {
  public:
    PlacesReader(const std::string& fileName, const TableOptions& options,
                 std::vector<std::string>* alikeNames)
        : fileName_(fileName), options_(options), alikeNames_(alikeNames) {}

    bool Read(std::istream& in, std::vector<TablePlace>& places, std::string& error) {
        std::string line;
        bool header = false;
        for (std::size_t number = 1; ReadBoundedLine(in, line); ++number) {
            line_ = number;
            if (line.size() > kMaxLineBytes)
                return Fail("a line of more than 4096 bytes: is this a places file?", error);
            if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (const std::string fault = LineFault(line); !fault.empty())
                return Fail(fault, error);
            if (Trimmed(line).empty() || Trimmed(line)[0] == '#') continue;
            std::vector<std::string> fields;
            if (!SplitCsv(line, fields))
                return Fail("a quoted field is not closed, or text follows its closing quote",
                            error);
            for (std::string& f : fields) f = Trimmed(f);
            if (!header) {
                if (!ReadHeader(fields, error)) return false;
                header = true;
                continue;
            }
            if (places.size() == kMaxPlaces)
                return Fail("more than 100,000 places: split the file", error);
            TablePlace place;
            if (!ReadRow(fields, place, error)) return false;
            places.push_back(std::move(place));
        }
        if (in.bad()) {
            error = fileName_ + ": could not be read";
            return false;
        }
        if (!header) {
            error = fileName_ + ": no header row: the file starts with name,latitude,longitude";
            return false;
        }
        if (places.empty()) {
            error = fileName_ + ": no place after the header row";
            return false;
        }
        return true;
    }

  private:
    bool Fail(const std::string& what, std::string& error) const {
        error = fileName_ + ":" + std::to_string(line_) + ": " + what;
        return false;
    }

    bool ReadHeader(const std::vector<std::string>& fields, std::string& error) {
        std::vector<std::string> names;
        for (const std::string& f : fields) names.push_back(Lower(f));
        const std::vector<std::string> three = {"name", "latitude", "longitude"};
        std::vector<std::string> four = three;
        four.push_back("zone");
        if (names != three && names != four)
            return Fail("the header row is name,latitude,longitude (and zone), not '" +
                            Echo(Trimmed(FieldsText(fields))) + "'",
                        error);
        columns_ = names.size();
        return true;
    }

    static std::string FieldsText(const std::vector<std::string>& fields) {
        std::string text;
        for (const std::string& f : fields) text += (text.empty() ? "" : ",") + f;
        return text;
    }

    bool ReadRow(const std::vector<std::string>& fields, TablePlace& p, std::string& error) {
        // A row may leave out an empty zone at its end.
        if (fields.size() != columns_ && !(columns_ == 4 && fields.size() == 3))
            return Fail(std::to_string(fields.size()) + " fields, not " + std::to_string(columns_) +
                            " as the header has",
                        error);
        p.name = fields[0];
        if (p.name.empty()) return Fail("the place has no name", error);
        if (p.name.find('\t') != std::string::npos)
            return Fail("a tab inside the name, which no place's name holds", error);
        if (DisplayWidth(p.name) > 60) return Fail("a name of more than 60 characters", error);
        if (!NewName(p.name, error)) return false;
        FieldOptions read;
        for (const auto& [axis, cell, what] : {std::tuple{Axis::Latitude, fields[1], "latitude"},
                                               {Axis::Longitude, fields[2], "longitude"}}) {
            if (cell.empty()) return Fail(std::string("no ") + what, error);
            bool negative = false, explicitSide = false;
            std::string why;
            if (!ReadAngleText(axis, cell, read, negative, explicitSide, why))
                return Fail(std::string("the ") + what + ": " + why, error);
        }
        p.fields = read;
        std::string why;
        if (!CheckPlace(p.fields, p.place, why)) return Fail(why, error);
        p.zone = fields.size() > 3 ? fields[3] : "";
        return ReadClock(p, error);
    }

    bool ReadClock(TablePlace& p, std::string& error) {
        std::string key = p.zone;
        if (p.zone.empty()) {
            if (!options_.tz && !options_.zone)
                return Fail(
                    "no zone: give one in the zone column, or --tz or --zone for every "
                    "place without one",
                    error);
            key = "";
        }
        const auto known = clocks_.find(key);
        if (known != clocks_.end()) {
            p.clock = known->second;
            return true;
        }
        std::string why;
        std::unique_ptr<ZoneClock> clock;
        TableOptions zone;
        if (PlaceClockOptions(p.zone, options_, zone, why)) clock = MakeClock(zone, why);
        if (!clock) return Fail("the zone: " + why, error);
        p.clock = clocks_[key] = std::move(clock);
        return true;
    }

    // Records the name; false with a message when an earlier row has it. A name that has the
    // same letters composed otherwise (NFC) is the same name, kept only where alikeNames_ says.
    bool NewName(const std::string& name, std::string& error) {
        const auto [seen, added] = names_.emplace(Nfc(name), std::pair{line_, name});
        if (added) return true;
        const bool alike = seen->second.second != name;
        const std::string what = "'" + Echo(name) + "' is also the name on line " +
                                 std::to_string(seen->second.first) +
                                 (alike ? " (the same letters, composed otherwise)" : "");
        if (!alike || !alikeNames_) return Fail(what + ": give each place its own name", error);
        alikeNames_->push_back(fileName_ + ":" + std::to_string(line_) + ": " + what);
        return true;
    }

    std::string fileName_;
    const TableOptions& options_;
    std::vector<std::string>* alikeNames_;
    std::size_t line_ = 0, columns_ = 0;
    std::map<std::string, std::pair<std::size_t, std::string>> names_;  // NFC: line, as written
    std::map<std::string, std::shared_ptr<const ZoneClock>> clocks_;
};

}  // namespace

bool ReadPlaces(std::istream& in, const std::string& fileName, const TableOptions& options,
                std::vector<TablePlace>& places, std::string& error,
                std::vector<std::string>* alikeNames) {
    places.clear();
    return PlacesReader(fileName, options, alikeNames).Read(in, places, error);
}

bool ReadPlacesFile(const std::string& path, const TableOptions& options,
                    std::vector<TablePlace>& places, std::string& error,
                    std::vector<std::string>* alikeNames) {
    if (path == "-")
        return ReadPlaces(std::cin, "standard input", options, places, error, alikeNames);
    // A FIFO, a device or a folder is refused before it is opened: opening a FIFO without a
    // writer would wait for ever, and /dev/zero has no end.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = "cannot open the places file '" + EchoPath(path) + "': " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "the places file '" + EchoPath(path) + "' is " +
                (S_ISDIR(info.st_mode)                            ? "a folder"
                 : S_ISFIFO(info.st_mode)                         ? "a FIFO"
                 : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device"
                                                                  : "not a regular file") +
                ", not a file: give a CSV file, or - for standard input";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open the places file '" + EchoPath(path) + "': " + std::strerror(errno);
        return false;
    }
    return ReadPlaces(file, EchoPath(path), options, places, error, alikeNames);
}

}  // namespace zerin::services
