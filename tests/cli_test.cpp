// The command line's contract: standard output, standard error and exit status, for any input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>

#include "TablesTestSupport.h"
#include "report/Echo.h"

namespace zerin::test {
namespace {

const std::vector<std::string> kNoon = ReportArgs("sun", "2005", "6", "17");
const std::string kNoonLine =
    " report sun --year 2005 --month 6 --day 17 --hour 12 --minute 0 --second 0";

// The shipped gazetteer, no own places.
const bool kEnvironment = [] {
    ::setenv("ZERIN_GAZETTEER", (std::string(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt").c_str(), 1);
    return ::setenv("XDG_DATA_HOME", "/nonexistent", 1) == 0;
}();

// A data file's cell without its first blank and its last ones, unescaped.
std::string Cell(const std::string& cell) {
    return Unescaped(cell.substr(1, cell.find_last_not_of(' ')));
}

// A data file's command line: its words cut at blanks and unescaped, '' an empty word, a word
// $DATA/... naming a file under tests/data.
std::vector<std::string> Command(const std::string& cell) {
    std::vector<std::string> args = Words(cell);
    for (std::string& word : args) {
        word = word == "''" ? "" : Unescaped(word);
        if (word.starts_with("$DATA/")) word.replace(0, 5, ZERIN_TEST_DATA);
    }
    return args;
}

// Each line of refused.txt: exit 2, nothing written, the message; "(accepted)": exit 0.
TEST(Cli, RefusedAsTheListSays) {
    for (const std::vector<std::string>& line : DataRows("refused.txt", "", '|')) {
        ASSERT_GE(line.size(), 2u) << line[0];
        const std::vector<std::string> args = Command(line[0]);
        const std::string message = Cell(line[1]);
        if (message == "(accepted)")
            EXPECT_EQ(RunCli(args).status, 0) << line[0];
        else
            ExpectRefused(args, message.starts_with("zerin: ") ? message + "\n" : message,
                          line.size() > 2 ? std::stol(line[2]) : 1);
        for (const std::string& word : args) {  // nothing written
            if (word.ends_with(".pdf") || word.ends_with(".png") || word.ends_with(".ics")) {
                EXPECT_NE(::access(word.c_str(), F_OK), 0) << line[0];
            }
        }
    }
}

// Every command line of tests/data/outputs.txt: exit 0 and what its first lines say it writes.
TEST(Cli, OutputsAsTheListSays) {
    for (const std::vector<std::string>& line : DataRows("outputs.txt", "", '|')) {
        SCOPED_TRACE(line[0]);
        std::vector<std::string> args = Command(line[0]);
        const auto tz = std::find(args.begin(), args.end(), "--tz");
        if (tz != args.end() && !HaveZone(tz[1])) continue;
        // LC_ALL=LOCALE first: the run under those regional settings, when the machine has them.
        const std::string locale = args[0].starts_with("LC_ALL=") ? args[0].substr(7) : "";
        if (!locale.empty() && !std::setlocale(LC_NUMERIC, locale.c_str())) continue;
        if (!locale.empty()) std::setlocale(LC_NUMERIC, "C"), args.erase(args.begin());
        ::setenv("LC_ALL", locale.c_str(), 1);
        const std::string want = Cell(line[1]), where = line.size() > 2 ? Trimmed(line[2]) : "";
        const CliResult r = RunCli(args);
        ::unsetenv("LC_ALL");
        EXPECT_EQ(r.status, line.size() > 3 ? std::stoi(line[3]) : 0) << r.err;
        const std::string& got = Contains(where, "err") ? r.err : r.out;
        if (where == "same") {
            const CliResult other = RunCli(Command(want));
            EXPECT_EQ(other.status, 0) << other.err;
            EXPECT_EQ(r.out, other.out);
        } else if (where == "golden")
            EXPECT_EQ(r.out, Golden(want));
        else if (where.ends_with('='))
            EXPECT_EQ(got, want);
        else if (where.starts_with('^'))
            EXPECT_EQ(got.substr(0, want.size()), want);
        else if (where.ends_with('$'))
            EXPECT_TRUE(got.ends_with(want)) << got;
        else
            EXPECT_EQ(Contains(got, want), !where.starts_with('!')) << want << "\n" << got;
    }
}

// Standard output on a full device or closed: the failure is said, never taken for success.
TEST(Cli, AFailedWriteIsSaid) {
    for (const char* command :
         {" --help", " --version", " preface", " report sun", " report moon --json",
          " hijri 2025-03-01", " hijri --year 1447 --csv", " report month --hijri 1447-09"})
        for (const char* redirect : {" > /dev/full", " >&-"}) {
            const ExeResult r = RunExe(std::string(command) + redirect);
            SCOPED_TRACE(std::string(command) + redirect);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err.rfind("zerin: could not write the output: ", 0), 0u) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
}

// A value quoted in a message: 40 characters then "..."; controls, backslashes, bad bytes escaped.
TEST(Cli, EchoedValues) {
    std::string arabic41;
    for (int k = 0; k < 41; ++k) arabic41 += "\xD8\xB3";  // س
    // clang-format off
    const struct { std::string given, echoed; } kCases[] = {
        {"", ""},
        {"Asia/Kolkata", "Asia/Kolkata"},
        {std::string(40, '9'), std::string(40, '9')},
        {std::string(41, '9'), std::string(40, '9') + "..."},
        {arabic41, arabic41.substr(0, 80) + "..."},  // cut between characters, not bytes
        {"a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {"\x1b[31mred\x7f", "\\x1b[31mred\\x7f"},
        {"C:\\dir", "C:\\\\dir"},
        {"\xff\xfe", "\\xff\\xfe"},
        {"\xD8", "\\xd8"},                        // a character cut short
        {"\xC2\x85\xC2\xA0", "\\u0085\xC2\xA0"},  // a C1 control; the no-break space stays
    };
    // clang-format on
    for (const auto& c : kCases) EXPECT_EQ(Echo(c.given), c.echoed) << c.given;
    // A file's path is escaped the same way but never cut: its end names the file.
    const std::string folder(50, 'd');
    EXPECT_EQ(EchoPath(folder + "/\x1b.csv"), folder + "/\\x1b.csv");
    // The report's own message about a zone of 131,000 digits stays one short line.
    const CliResult r = RunCli(With(kNoon, {"--zone", std::string(131000, '9')}));
    EXPECT_EQ(r.status, 2);
    EXPECT_LT(r.err.size(), 400u);
    EXPECT_TRUE(Contains(r.err, "time-zone field holds " + std::string(40, '9') + "..., outside"));
}

TEST(Cli, TheExecutableWritesTheReferenceReport) {
    EXPECT_EQ(RunExe(kNoonLine + " > " + Scratch("cli_out.txt"), "LC_ALL=C ").status, 0);
    EXPECT_EQ(ReadFile(Scratch("cli_out.txt")), Golden("report-sun-2005-06-17-1200.txt"));
    std::remove(Scratch("cli_out.txt").c_str());
}

TEST(Cli, NoArgumentsWithoutADisplayIsAClearMessage) {
    const ExeResult r = RunExe("", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ");
    EXPECT_EQ(r.status, 1);  // no abort
    EXPECT_TRUE(Contains(r.err, "no display")) << r.err;
}

}  // namespace
}  // namespace zerin::test
