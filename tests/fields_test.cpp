// Field texts typed with Arabic-Indic or Persian digits and the Arabic decimal separator:
// they read as the same number written with ASCII digits, through the field reading, the
// 16-bit fields and the command line's reports; characters beside them are not digits.
#include "Fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Errors.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

struct Reading {
    const char* text;
    double value;
};

class ArabicDigits : public testing::TestWithParam<Reading> {};

TEST_P(ArabicDigits, ReadAsTheirAsciiDigits) {
    const Reading& r = GetParam();
    EXPECT_EQ(ReadNumber(r.text), r.value) << "text: " << r.text;
}

INSTANTIATE_TEST_SUITE_P(Digits, ArabicDigits,
                         testing::Values(Reading{"٣٢", 32}, Reading{"۳۲", 32},
                                         Reading{"٢٠٢٥", 2025}, Reading{"٠١٢٣٤٥٦٧٨٩", 123456789},
                                         Reading{"۰۱۲۳۴۵۶۷۸۹", 123456789}, Reading{"٠", 0},
                                         Reading{"٩", 9}, Reading{"۰", 0}, Reading{"۹", 9},
                                         Reading{"-٣", -3}, Reading{"+۷", 7},
                                         // 16 digits: past the exact whole-number shortcut
                                         Reading{"٩٠٠٧١٩٩٢٥٤٧٤٠٩٩٣", 9007199254740993.0}));

INSTANTIATE_TEST_SUITE_P(
    DecimalSeparator, ArabicDigits,
    testing::Values(Reading{"٣٫٥", 3.5}, Reading{"-٥٫٢٥", -5.25}, Reading{"٫٥", 0.5},
                    Reading{"٠٫١", 0.1},      // correctly rounded, as "0.1"
                    Reading{"٣٫٥٫٢", 3.5},    // a second separator ends the number
                    Reading{"3٫5.2", 3.5},    // so does a period after the Arabic one
                    Reading{"3.5٫2", 3.5}));  // and the Arabic one after a period

INSTANTIATE_TEST_SUITE_P(MixedBlanksExponents, ArabicDigits,
                         testing::Values(Reading{"1٢3", 123}, Reading{"٣۲", 32},
                                         Reading{"  ٣ ٢ ", 32}, Reading{"\t٣\n٫٥", 3.5},
                                         Reading{"١E٢", 100}, Reading{"٢٫٥e-١", 0.25},
                                         Reading{"١D٣", 1000}, Reading{"&H١F", 31},
                                         Reading{"&O١٧", 15}, Reading{"١٢abc", 12},
                                         Reading{"١e٤٠٠", HUGE_VAL}));

// The code points next to the digits and the separator are not read as them.
INSTANTIATE_TEST_SUITE_P(Neighbours, ArabicDigits,
                         testing::Values(Reading{"\u065F", 0},      // the one below ٠
                                         Reading{"5\u066A", 5},     // ٪, the one above ٩
                                         Reading{"١\u066C٠٠٠", 1},  // ٬, the thousands separator
                                         Reading{"\u06EF", 0},      // the one below ۰
                                         Reading{"7\u06FA", 7},     // the one above ۹
                                         Reading{"٣\u060C٥", 3},    // ، the Arabic comma
                                         Reading{"س٣", 0},          // a letter first: not a number
                                         Reading{"3\xD9", 3},       // a sequence cut short
                                         Reading{"\xD9\xA3\xDB", 3},  // ٣ and a lone lead byte
                                         Reading{"\xA3", 0}));        // a lone continuation byte

TEST(ArabicDigitsInt16, RoundAndRefuseAsAsciiDigits) {
    EXPECT_EQ(ReadInt16("-٣", "", "zone"), -3);
    EXPECT_EQ(ReadInt16("٢٫٥", "", "zone"), 2);  // ties to even
    EXPECT_EQ(ReadInt16("۳۲۷۶۷", "", "zone"), 32767);
    try {
        ReadInt16("٤٠٠٠٠", "المنطقة الزمنية", "time-zone");
        FAIL() << "40000 fits no 16-bit field";
    } catch (const InputError& e) {
        EXPECT_NE(e.message().english.find("field holds ٤٠٠٠٠, outside"), std::string::npos);
    }
}

TEST(ArabicDigitsDay, LimitTheMonthAsAsciiDigits) {
    FieldTexts f;
    f.TxtYear = "٢٠٠٠";
    f.TxtMonth = "٢";
    f.TxtDay = "٣٠";
    AdjustDay(f);
    EXPECT_EQ(f.TxtDay, "29");  // 2000 is a leap year
    f.TxtYear = "۱۹۰۰";
    f.TxtDay = "۲۹";
    AdjustDay(f);
    EXPECT_EQ(f.TxtDay, "28");
}

// The reference Sun report, every field typed in Arabic-Indic or Persian digits.
TEST(ArabicDigitsReport, GivesTheReferenceReport) {
    const CliResult r =
        RunCli({"report",    "sun", "--lon-deg", "٥",    "--lon-min", "۴۰", "--lat-deg", "٣٢",
                "--lat-min", "٥٦",  "--year",    "٢٠٠٥", "--month",   "٦",  "--day",     "١٧",
                "--hour",    "۱۲",  "--minute",  "٠",    "--second",  "٠"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Golden("report-sun-2005-06-17-1200.txt"));
}

// The report shows the number read: 11.5 hours are 0.479166666666667 of a day.
TEST(ArabicDigitsReport, ShowsTheNumberRead) {
    const CliResult r = RunCli(ReportArgs("sun", "٢٠٠٥", "٦", "١٧", "١١٫٥"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\r\n2005 = Y "), std::string::npos);
    EXPECT_NE(r.out.find("\r\n0.479166666666667 = h "), std::string::npos);
    EXPECT_EQ(r.out, RunCli(ReportArgs("sun", "2005", "6", "17", "11.5")).out);
}

}  // namespace
}  // namespace zerin::test
