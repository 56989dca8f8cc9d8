// Field texts typed with Arabic-Indic or Persian digits and the Arabic decimal separator:
// they read as the same number written with ASCII digits, through the field reading and
// the command line's reports (the 16-bit fields and the day limit: calcule_test.cpp);
// characters beside them are not digits. The windows' comma, and texts wholly a number.
#include "report/Fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestSupport.h"

namespace zerin::test {
namespace {

// Both digit sets, 16 digits (past the exact whole-number shortcut); the decimal separator,
// where a second one, or a period beside it, ends the number; mixed with ASCII digits,
// blanks, exponents and prefixes. The code points next to the digits and the separator
// are not read as them: the ones below ٠ and ۰ and above ٩ and ۹, the thousands separator,
// the Arabic comma, a letter, a sequence cut short, a lone lead or continuation byte.
TEST(ArabicDigits, ReadAsTheirAsciiDigits) {
    struct Case {
        const char* text;
        double value;
    };
    const Case kDigits[] = {
        {"٣٢", 32},   {"۳۲", 32}, {"٢٠٢٥", 2025}, {"٠", 0},      {"٩", 9},     {"۰", 0},
        {"۹", 9},     {"-٣", -3}, {"+۷", 7},      {"٣٫٥", 3.5},  {"٫٥", 0.5},  {"٠٫١", 0.1},
        {"1٢3", 123}, {"٣۲", 32}, {"١E٢", 100},   {"١D٣", 1000}, {"&H١F", 31}, {"&O١٧", 15},
    };
    const Case kMore[] = {
        {"-٥٫٢٥", -5.25},    {"٣٫٥٫٢", 3.5},      {"3٫5.2", 3.5},   {"3.5٫2", 3.5},
        {"  ٣ ٢ ", 32},      {"\t٣\n٫٥", 3.5},    {"٢٫٥e-١", 0.25}, {"١٢abc", 12},
        {"١e٤٠٠", HUGE_VAL}, {"\u065F", 0},       {"5\u066A", 5},   {"١\u066C٠٠٠", 1},
        {"\u06EF", 0},       {"7\u06FA", 7},      {"٣\u060C٥", 3},  {"س٣", 0},
        {"3\xD9", 3},        {"\xD9\xA3\xDB", 3}, {"\xA3", 0},      {"٠١٢٣٤٥٦٧٨٩", 123456789},
    };
    EXPECT_EQ(ReadNumber("۰۱۲۳۴۵۶۷۸۹"), 123456789);
    EXPECT_EQ(ReadNumber("٩٠٠٧١٩٩٢٥٤٧٤٠٩٩٣"), 9007199254740993.0);
    for (const Case& c : kDigits) EXPECT_EQ(ReadNumber(c.text), c.value) << "text: " << c.text;
    for (const Case& c : kMore) EXPECT_EQ(ReadNumber(c.text), c.value) << "text: " << c.text;
}

// The windows' reading: a comma between two digits is a decimal separator; whether a text is
// wholly one number, as the line under the place marks it.
TEST(WindowFields, CommaBetweenDigitsAndWholeNumbers) {
    const std::pair<const char*, const char*> kCommas[] = {
        {"34,5", "34.5"}, {"٣٤,٥", "٣٤.٥"}, {"1,5,3", "1.5.3"}, {",5", ",5"},
        {"5,a", "5,a"},   {"a,5", "a,5"},   {"5 ,5", "5 ,5"},   {"٣\u060C٥", "٣\u060C٥"},
    };
    for (const auto& [text, read] : kCommas) EXPECT_EQ(CommaAsDecimalPoint(text), read) << text;
    for (const char* whole :
         {"34.5", " 1 2", "&HA", "&o17", "٣٢٫٥", "-3", "+2.5E1", "1d-3", ".5", "5.", "0"})
        EXPECT_TRUE(ReadsWhole(whole)) << whole;
    for (const char* partly :
         {"", " ", "-", "34x", "1.5.3", "&H", "&HG", "1E", "1E+", "3-", "+-3", "34,5", "\xD9"})
        EXPECT_FALSE(ReadsWhole(partly)) << partly;
}

TEST(ArabicDigits, ReportsAsWithAsciiDigits) {
    // The reference Sun report, every field typed in Arabic-Indic or Persian digits.
    const CliResult r =
        RunCli({"report",    "sun", "--lon-deg", "٥",    "--lon-min", "۴۰", "--lat-deg", "٣٢",
                "--lat-min", "٥٦",  "--year",    "٢٠٠٥", "--month",   "٦",  "--day",     "١٧",
                "--hour",    "۱۲",  "--minute",  "٠",    "--second",  "٠"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Golden("report-sun-2005-06-17-1200.txt"));
    // The report shows the number read: 11.5 hours are 0.479166666666667 of a day.
    const CliResult half = RunCli(ReportArgs("sun", "٢٠٠٥", "٦", "١٧", "١١٫٥"));
    EXPECT_EQ(half.status, 0) << half.err;
    EXPECT_TRUE(Contains(half.out, "\r\n2005 = Y "));
    EXPECT_TRUE(Contains(half.out, "\r\n0.479166666666667 = h "));
    EXPECT_EQ(half.out, RunCli(ReportArgs("sun", "2005", "6", "17", "11.5")).out);
}

}  // namespace
}  // namespace zerin::test
