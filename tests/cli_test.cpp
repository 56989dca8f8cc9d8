// The command line's contract: what goes to standard output and standard error, and
// the exit status, for good, refused and absurd input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "Echo.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Cli, UsageErrorsExitTwoWithAHint) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"report"},
                                               {"report", "comet"},
                                               {"report", "sun", "--bogus"},
                                               {"report", "sun", "--year"},
                                               {"fly"},
                                               {"preface", "--year", "1"},
                                               {"preface", "x"}}) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_TRUE(Contains(r.err, "zerin --help")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_TRUE(Contains(RunCli({"report", "comet"}).err, "unknown body 'comet'"));
    EXPECT_TRUE(Contains(RunCli({"report", "sun", "--bogus"}).err,
                         "unknown option of report sun '--bogus'"));
}

TEST(Cli, HelpAndVersion) {
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"report BODY", "preface", "--lon-deg", "--east", "--summer",
                             "Exit status", "LC_NUMERIC", "&H"})
        EXPECT_TRUE(Contains(help.out, word)) << word;
    const CliResult version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("zerin ", 0), 0u);
}

// Help and version to a full device or a closed standard output: the failure is said.
TEST(Cli, HelpAndVersionReportAFailedWrite) {
    for (const char* command : {" --help", " --version"}) {
        for (const char* redirect : {" > /dev/full", " >&-"}) {
            const std::string line =
                std::string(ZERIN_EXE) + command + redirect + " 2> " + Scratch("cli_test_help.txt");
            const int status = std::system(line.c_str());
            const std::string err = ReadFile(Scratch("cli_test_help.txt"));
            std::remove(Scratch("cli_test_help.txt").c_str());
            SCOPED_TRACE(line);
            EXPECT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 1);
            EXPECT_EQ(err.rfind("zerin: could not write the output: ", 0), 0u) << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        }
    }
}

// A value quoted back in a message: at most 40 characters, then "..."; control
// characters, backslashes and bytes that are not UTF-8 escaped.
TEST(Cli, EchoedValues) {
    struct Case {
        std::string given, echoed;
    };
    const std::string arabic41 = [] {
        std::string text;
        for (int k = 0; k < 41; ++k) text += "\xD8\xB3";  // س
        return text;
    }();
    const Case cases[] = {
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
    for (const Case& c : cases) EXPECT_EQ(Echo(c.given), c.echoed) << c.given;
    // The report's own message about a zone of 131,000 digits stays one short line.
    std::vector<std::string> args = ReportArgs("sun", "2005", "6", "17");
    args.insert(args.end(), {"--zone", std::string(131000, '9')});
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_LT(r.err.size(), 400u);
    EXPECT_TRUE(Contains(r.err, "time-zone field holds " + std::string(40, '9') + "..., outside"));
}

TEST(Cli, FieldOptionsTakeRawTexts) {
    // "=" form, blanks skipped, hexadecimal: the same instant as the reference report.
    const CliResult r = RunCli({"report", "sun", "--year= 2 005", "--month=&H6", "--day", "17abc",
                                "--hour", "12", "--minute", "", "--second", "x"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Golden("report-sun-2005-06-17-1200.txt"));
}

TEST(Cli, SunLimitsTheDayToTheMonth) {
    const CliResult april31 = RunCli(ReportArgs("sun", "2005", "4", "31"));
    const CliResult april30 = RunCli(ReportArgs("sun", "2005", "4", "30"));
    EXPECT_EQ(april31.status, 0);
    EXPECT_EQ(april31.out, april30.out);
}

TEST(Cli, GregorianGapIsRefused) {
    const CliResult r = RunCli(ReportArgs("sun", "1582", "10", "10"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "لا يوجد هذا التاريخ"));
    EXPECT_TRUE(Contains(r.err, "15 October 1582"));
}

TEST(Cli, OutOfRangeZoneIsRefusedNamingTheField) {
    std::vector<std::string> args = ReportArgs("sun", "2005", "6", "17");
    args.insert(args.end(), {"--zone", "40000"});
    CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "time-zone field holds 40000"));

    args = ReportArgs("sun", "2005", "6", "17");
    args.insert(args.end(), {"--summer", "-1e9"});
    r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.err, "summer-time field"));
}

TEST(Cli, OverflowingFieldIsRefused) {
    const CliResult r = RunCli(ReportArgs("sun", "1e999", "6", "17"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "year"));
}

TEST(Cli, HighLatitudeStopIsANormalEnd) {
    std::vector<std::string> args = ReportArgs("sun", "2005", "6", "17");
    args.insert(args.end(), {"--lat-deg", "70"});
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(Contains(r.out, " **إنتهى**"));
    EXPECT_TRUE(Contains(r.err, "does not reach the altitude"));
}

TEST(Cli, AbsurdInputIsACalculationFault) {
    // T of 1e196 centuries: T * T overflows in the Sun's mean longitude.
    const CliResult r = RunCli(ReportArgs("sun", "1e200", "6", "17"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.out, "T = (JJ - 2415020) / 36525 = "));  // the report so far
    EXPECT_FALSE(Contains(r.out, "inf"));
    EXPECT_FALSE(Contains(r.out, "nan"));
    EXPECT_TRUE(Contains(r.err, "could not compute L"));
}

TEST(Cli, ExecutableWritesTheReferenceBytes) {
    const std::string command = std::string("LC_ALL=C ") + ZERIN_EXE +
                                " report sun --year 2005 --month 6 --day 17 --hour 12 --minute 0"
                                " --second 0 > " +
                                Scratch("cli_test_out.txt");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(Scratch("cli_test_out.txt")), Golden("report-sun-2005-06-17-1200.txt"));
    std::remove(Scratch("cli_test_out.txt").c_str());
}

TEST(Cli, ExecutableReportsAFailedWrite) {
    // Standard output on a full device: the failure is reported, never taken for success.
    for (const char* command : {" preface", " report sun", " report moon --json"}) {
        const std::string line = std::string(ZERIN_EXE) + command + " > /dev/full 2>/dev/null";
        const int status = std::system(line.c_str());
        EXPECT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 1) << command;
    }
}

TEST(Cli, NoArgumentsWithoutADisplayIsAClearMessage) {
    const std::string command =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + ZERIN_EXE + " 2> " +
        Scratch("cli_test_err.txt");
    const int status = std::system(command.c_str());
    const std::string err = ReadFile(Scratch("cli_test_err.txt"));
    std::remove(Scratch("cli_test_err.txt").c_str());
    EXPECT_TRUE(WIFEXITED(status));  // no abort
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_TRUE(Contains(err, "no display")) << err;
}

TEST(Cli, CommaLocaleSeparatesValuesOnly) {
    const std::string probe = "locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'";
    if (std::system(probe.c_str()) != 0) GTEST_SKIP() << "no de_DE.UTF-8 locale here";
    const std::string command = std::string("LC_ALL=de_DE.UTF-8 ") + ZERIN_EXE +
                                " report sun --year 2005 --month 6 --day 17 --hour 12 --minute 0"
                                " --second 0 > " +
                                Scratch("cli_test_comma.txt");
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string text = ReadFile(Scratch("cli_test_comma.txt"));
    std::remove(Scratch("cli_test_comma.txt").c_str());
    EXPECT_TRUE(Contains(text, "5,66666666666667 = Lon "));
    EXPECT_TRUE(Contains(text, "L = 279.69668 + (36000.76892 * T)"));  // formulas keep periods
    EXPECT_TRUE(Contains(text, " = 2453539\r\n"));
}

}  // namespace
}  // namespace zerin::test
