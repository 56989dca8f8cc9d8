// Writing tables: each format's bytes, streaming, failed writes, refused rows, progress, JSON.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "Json.h"
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

// clang-format off
struct Written { int status; std::string out, err; };
// clang-format on

template <class MakeRow>
Written Write(Format format, std::size_t count, MakeRow makeRow,
              std::size_t capacity = static_cast<std::size_t>(-1)) {
    robust::CappedStream out(capacity), err;
    services::TableWriter writer(format, Language::English, kColumns, out.file(), err.file());
    writer.SetJsonHead("\"body\": \"sun\", ");
    const int status = services::WriteRows(writer, count, makeRow, err.file());
    return {status, out.text(), err.text()};
}

// Columns as wide as their cells, numbers right; CSV quoted as RFC 4180 says; JSON's null.
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

// Rows go out as computed; a failed write stops the table within 64 KiB, with one message.
TEST(TableWriter, RowsAreWrittenAsTheyAreComputedAndStopAtTheFirstFailedWrite) {
    for (const Format format : {Format::Text, Format::Csv, Format::Json}) {
        SCOPED_TRACE(static_cast<int>(format));
        robust::CappedStream out, err;
        services::TableWriter writer(format, Language::English, kColumns, out.file(), err.file());
        std::vector<std::size_t> outAtRow;  // what was written when each row was asked for
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
            outAtRow.clear();
            const Written w = Write(format, 1000000, row, capacity);
            EXPECT_EQ(w.status, 1);
            EXPECT_EQ(w.err, "zerin: could not write the output: No space left on device\n");
            EXPECT_LT(outAtRow.size(), capacity == 0 ? 2u : 10000u) << capacity;
        }
    }
}

// Refused rows keep their place, empty; a table of nothing but refused rows writes nothing.
TEST(TableWriter, RefusedAndFaultedRows) {
    using E = RowEnd;
    const std::string header = "date,value,list\n", rows = header + "r0,1,\nr1,1,\nr2,1,\n";
    // clang-format off
    const struct { std::vector<RowEnd> ends; int status; std::string out, err; } kCases[] = {
        {{E::Refused, E::Refused}, 2, "", "zerin: no row could be computed: why 0\n"},
        {{E::Refused, E::Refused, E::Computed}, 1, rows, "zerin: 2 rows from r0 are empty: why 0\n"},
        {{E::Computed, E::Refused, E::Computed}, 1, rows, "zerin: the row of r1 is empty: why 1\n"},
        {{E::Fault, E::Computed, E::Fault}, 1, rows, "zerin: a calculation fault left cells of 2 rows from r0 empty: why 0\n"},
        {{E::Computed, E::Computed}, 0, header + "r0,1,\nr1,1,\n", ""}};
    // clang-format on
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
    // clang-format off
    const struct { const char* name; std::FILE *err, *out; bool shown; } cases[] = {
        {"standard output redirected", terminal.file(), file, true},
        {"standard output on another terminal", terminal.file(), other.file(), true},
        {"both on the same terminal", terminal.file(), terminal.file(), false},
        {"standard error not a terminal", file, terminal.file(), false}};
    // clang-format on
    const std::string line = "zerin: 256 of 1000 rows";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            services::Progress progress(c.err, c.out, 1000, std::chrono::milliseconds(0));
            for (std::size_t done = 1; done <= 600; ++done) progress.Tick(done);
        }
        // Shown at the 256th row, then cleared: blanks over the line, the cursor back.
        EXPECT_EQ(terminal.Shown(),
                  c.shown ? "\r" + line + "\r" + std::string(line.size(), ' ') + "\r" : "");
    }
    EXPECT_EQ(std::ftell(file), 0);  // nothing written to a standard error that is a file
    std::fclose(file);
}

// Python's json module reads the JSON back; without it the test is skipped.
class Json : public testing::Test {
  protected:
    void SetUp() override {
        if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "python3 is needed to read the JSON back";
    }
};

// What a Python expression on the parsed JSON `d` prints (NaN and Infinity refused).
std::string Parsed(const std::string& json, const std::string& expression) {
    const std::string path = Scratch("json_test.json");
    std::ofstream(path, std::ios::binary) << json;
    const std::string out = ShellOut(
        "python3 -c 'import json,sys\ndef refuse(x): raise ValueError(x)\n"
        "d = json.load(open(sys.argv[1], encoding=\"utf-8\"), parse_constant=refuse)\n"
        "print(" +
        expression + ", end=\"\")' " + path + " 2>&1");
    std::remove(path.c_str());
    return out;
}

TEST(JsonString, Escapes) {
    // A byte that is not UTF-8 is the replacement character: the document stays JSON.
    const std::pair<const char*, const char*> kCases[] = {
        {"EtéRegl", "\"EtéRegl\""},
        {"a\"b\\c\r\n\t\x01", "\"a\\\"b\\\\c\\r\\n\\t\\u0001\""},
        {"\xFF\xFE", "\"\\ufffd\\ufffd\""},
        {"a\xC3", "\"a\\ufffd\""},                                 // a cut character
        {"\xC0\xAF", "\"\\ufffd\\ufffd\""},                        // an overlong "/"
        {"\xE2\x80\xA8", "\"\xE2\x80\xA8\""},                      // U+2028 as it stands
        {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},  // past U+10FFFF
    };
    for (const auto& [text, json] : kCases) EXPECT_EQ(services::JsonString(text), json) << text;
}

// The fuzz corpus' places files and hostile names: valid JSON with the names, or nothing.
TEST_F(Json, PlacesFilesGiveValidJson) {
    std::vector<std::string> files;
    for (const char* name :
         {"plain", "bom-crlf", "bom-line-two", "invalid-utf8", "overlong", "escape", "nul",
          "quotes", "arabic", "c1-control", "tab-name", "long-line"})
        files.push_back(ReadFile(std::string(ZERIN_SOURCE_DIR) + "/fuzz/corpus/places/" + name));
    for (const char* name :
         {"\"a \"\"quoted\"\" \\\\ name\"", "</script>", "{\"x\": 1}",
          "\xE2\x80\xAE"
          "evil",
          "line\xE2\x80\xA8separator", "\xD9\x85\xD9\x83\xD8\xA9", "\xFF\xFE", "\x1B]0;title\x07"})
        files.push_back(std::string("name,latitude,longitude\n") + name + ",21.4,39.8E\n");
    int accepted = 0;
    const std::string path = Scratch("json_test_places.csv");
    for (const std::string& text : files) {
        SCOPED_TRACE(text.substr(0, 60));
        std::ofstream(path, std::ios::binary) << text;
        const CliResult r =
            RunCli(Words("times --places " + path + " --zone 0 --from 2025-06-01 --days 2 --json"));
        std::remove(path.c_str());
        if (r.status == 2) {
            EXPECT_EQ(r.out, "");
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err;
        ++accepted;
        EXPECT_EQ(Parsed(r.out,
                         "[r[\"place\"] for r in d[\"rows\"]] == [p[\"name\"] for p in "
                         "d[\"places\"] for day in (1, 2)]"),
                  "True")
            << r.out;
    }
    EXPECT_EQ(accepted, 8);  // the override and the line separator are refused
}

TEST_F(Json, EveryBodysReportValuesInReportOrder) {
    const std::vector<std::string> args = ReportArgs("sun", "2005", "6", "17");
    const CliResult text = RunCli(args), json = RunCli(With(args, {"--json"}));
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.err, "");
    EXPECT_EQ(Parsed(json.out, "\" \".join(i[\"name\"] for i in d)"),
              "Lon Lat Zone EtéRegl Y m h Min Sec J Retard JJ T L m e EE R_soleil N C Lg_Soleil "
              "O Asc Dec TS_GMT TS_Loc Ha Azimut Altitude Diam MIDI Duirn Lever Coucher Alt Fadl "
              "Asr1 Alt Fadl Asr2 Fadl Icha Fadl Fajr");
    EXPECT_EQ(Parsed(json.out,
                     "(sorted(set(str(i[\"unit\"]) for i in d)), all(type(i[\"value\"]) in (int, "
                     "float) for i in d))"),
              "(['None', 'arcmin', 'au', 'cy', 'd', 'deg', 'h'], True)");
    // Each value as the report prints it (but sidereal times; Python's 12.0 is the report's 12).
    const std::vector<std::string> values =
        SplitAt(Parsed(json.out,
                       "\"\\n\".join(repr(i[\"value\"]).removesuffix(\".0\") for i in d if "
                       "i[\"name\"] not in (\"TS_GMT\", \"TS_Loc\"))"),
                '\n');
    EXPECT_EQ(values.size(), 42u);
    for (const std::string& value : values) EXPECT_TRUE(Contains(text.out, value)) << value;
    // The other bodies: nine arrays of three-member items, each ending with the illumination.
    std::string all = "[";
    for (const char* body :
         {"moon", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"}) {
        const CliResult r = RunCli(With(ReportArgs(body, "2005", "6", "17"), {"--json"}));
        ASSERT_EQ(r.status, 0) << body << r.err;
        all += (all.size() > 1 ? "," : "") + r.out;
    }
    EXPECT_EQ(Parsed(all + "]",
                     "(len(d), [b[-1][\"name\"] for b in d].count(\"illum\"), all(set(i) == "
                     "{\"name\", \"value\", \"unit\"} for b in d for i in b))"),
              "(9, 9, True)");
    // 60° N in June: the report ends after the second afternoon time, with its message.
    const CliResult stopped = RunCli(With(args, {"--lat-deg", "60", "--lat-min", "0", "--json"}));
    EXPECT_EQ(stopped.status, 0);
    EXPECT_TRUE(Contains(stopped.err, "the Sun does not reach the altitude"));
    EXPECT_EQ(Parsed(stopped.out, "d[-1][\"name\"]"), "Asr2");
}

TEST_F(Json, Tables) {
    const std::string day = "times --lat 60 --from 2005-06-16 --days 3 ";
    const CliResult times = RunCli(Words(day + "--json --high-lat angle"));
    ASSERT_EQ(times.status, 0) << times.err;
    EXPECT_EQ(Parsed(times.out,
                     "(d[\"lon\"], d[\"lat\"], d[\"high_lat\"], len(d[\"rows\"]), [(r[\"date\"], "
                     "r[\"transit\"], r[\"adjusted\"]) for r in d[\"rows\"]][1])"),
              "(5.66666666666667, 60, 'angle', 3, ('2005-06-17', '12:24', ['fajr', 'isha']))");
    // The CSV's rows (after its header); JSON's null where the CSV leaves a cell empty.
    const std::string csv = RunCli(Words(day + "--csv")).out;
    const std::size_t rows = csv.find('\n') + 1;
    EXPECT_EQ(Parsed(RunCli(Words(day + "--json")).out,
                     "str(d[\"rows\"][0][\"fajr\"]) + \"\\n\" + \"\\n\".join(\",\".join(\"\" if v "
                     "is None else \";\".join(v) if isinstance(v, list) else v for v in "
                     "r.values()) for r in d[\"rows\"])"),
              "None\n" + csv.substr(rows, csv.size() - rows - 1));
    const CliResult ephemeris =
        RunCli(Words("ephemeris venus --from 2005-06-17 --to 2005-06-18 --step 6h --json"));
    ASSERT_EQ(ephemeris.status, 0) << ephemeris.err;
    EXPECT_EQ(
        Parsed(ephemeris.out,
               "(d[\"body\"], len(d[\"rows\"]), d[\"rows\"][4][\"time\"], all(type(v) is float for "
               "r in d[\"rows\"] for k, v in r.items() if k not in (\"time\", \"utc_offset\")))"),
        "('venus', 5, '2005-06-18T00:00:00', True)");
}

}  // namespace
}  // namespace zerin::test
