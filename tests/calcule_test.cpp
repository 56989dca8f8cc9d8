// The foundations: degree trigonometry, reductions, number-to-text, the hours text,
// the reading of field texts and the month-length rule.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "math/Angles.h"
#include "math/Errors.h"
#include "report/Fields.h"
#include "report/NumText.h"

namespace zerin::test {
namespace {

TEST(Trigonometry, ExactEndsAndWhatCannotBeComputed) {
    EXPECT_EQ(NumText(Sine(30)), "0.5");
    EXPECT_EQ(NumText(Cosine(60)), "0.5");
    const struct {
        double got, want;
    } kExact[] = {{ArcSin(1), 90}, {ArcSin(-1), -90}, {ArcCos(1), 0}, {ArcCos(-1), 180}};
    for (const auto& c : kExact) EXPECT_EQ(c.got, c.want);
    EXPECT_NEAR(ArcSin(0.5), 30, 1e-13);
    EXPECT_NEAR(ArcCos(0.5), 60, 1e-13);
    EXPECT_NEAR(ArcTan(1), 45, 1e-13);
    // A fault becomes NaN, and stays NaN through the later steps.
    for (const double x :
         {ArcSin(1.0000001), ArcCos(-1.0000001), Sine(NAN), ArcTan(INFINITY), ArcTan(-INFINITY),
          Angle_360_Deg(INFINITY), Angle_24_Hour(NAN), Ratio(1, 0), Ratio(0, -0.0)})
        EXPECT_TRUE(std::isnan(x)) << x;
}

TEST(Quadrant, RulesAtTheirEdges) {
    const struct {
        double got, want;
    } kCases[] = {
        // Right ascension and longitude: Y exactly 0 with X < 0 goes down to -180; X
        // exactly 0 keeps the value it is given.
        {ArcTanQuadrant(0, -1, 7), -180},
        {ArcTanQuadrant(1, 0, 7), 7},
        {Angle_24_Hour(ArcTanQuadrant(0, -1, 0) / 15), 12},
        // Azimuth: Y exactly 0 with X < 0 goes up, to 360 after the turn to the North.
        {AzimuthArcTan(0, -1, 0), 180},
        {Angle_360_Deg(AzimuthArcTan(0, -1, 0) + 180), 360},
        {Angle_360_Deg(AzimuthArcTan(1, 0, 0) + 180), 180},
    };
    for (const auto& c : kCases) EXPECT_EQ(c.got, c.want);
    EXPECT_NEAR(ArcTanQuadrant(1e-300, -1, 0), 180, 1e-12);
    EXPECT_LT(Angle_24_Hour(ArcTanQuadrant(1e-9, -1, 0) / 15), 12);
    EXPECT_NEAR(ArcTanQuadrant(-1, 1, 0), -45, 1e-13);
    EXPECT_NEAR(AzimuthArcTan(-1, -1, 0), -135, 1e-12);
    EXPECT_TRUE(std::isnan(ArcTanQuadrant(NAN, -1, 0)));
    EXPECT_TRUE(std::isnan(AzimuthArcTan(1, NAN, 0)));
}

TEST(Reduction, OneTurnKeepsBothEnds) {
    const struct {
        double x, turn, want;
    } kCases[] = {{360, 360, 360},    {720, 360, 0}, {-360, 360, 360}, {0, 360, 0},
                  {-0.5, 360, 359.5}, {24, 24, 24},  {25.5, 24, 1.5},  {-1, 24, 23}};
    for (const auto& c : kCases)
        EXPECT_EQ(c.turn == 360 ? Angle_360_Deg(c.x) : Angle_24_Hour(c.x), c.want) << c.x;
    EXPECT_NEAR(Angle_360_Deg(400), 40, 1e-12);
    EXPECT_EQ(NumText(Angle_360_Deg(1000.25)), "280.25");
}

TEST(NumText, PlainAndScientificForms) {
    struct Case {
        double x;
        const char* text;
    };
    const Case kCases[] = {
        {0.00001, "1E-05"}, {-0.0000000001, "-1E-10"}, {360, "360"},
        {-0.0, "0"},        {0.000123, "0.000123"},    {0.0000123, "1.23E-05"},
        {1e-7, "1E-07"},    {1e300, "1E+300"},         {2453539.0, "2453539"},
    };
    EXPECT_EQ(NumText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(NumText(-5.666666666666667), "-5.66666666666667");
    EXPECT_EQ(NumText(123456789012345.0), "123456789012345");
    EXPECT_EQ(NumText(1234567890123456.0), "1.23456789012346E+15");
    for (const auto& c : kCases) EXPECT_EQ(NumText(c.x), c.text) << c.text;
    EXPECT_THROW(NumText(NAN), CalcError);
    // The regional separator, in values only.
    EXPECT_EQ(NumText(0.5, ","), "0,5");
    EXPECT_EQ(NumText(1.5e-5, ","), "1,5E-05");
    EXPECT_EQ(NumText(12, ","), "12");
}

// Fix gives -0 for -0.25 h, written 0; 30.5 s round to even.
TEST(HMSText, TruncatedHoursRoundedSeconds) {
    struct Case {
        double hours;
        const char* text;
    };
    const Case kCases[] = {
        {5.5, "5 H 30 Min 0 Sec "},        {0, "0 H 0 Min 0 Sec "},
        {-1.5, "-1 H -30 Min 0 Sec "},     {-0.25, "0 H -15 Min 0 Sec "},
        {12.99999, "12 H 59 Min 60 Sec "}, {1 + 30.5 / 3600, "1 H 0 Min 30 Sec "},
    };
    for (const auto& c : kCases) EXPECT_EQ(HMS_Text(c.hours), c.text) << c.hours;
    EXPECT_EQ(HMS_Text(5.5, ","), "5 H 30 Min 0 Sec ");
    EXPECT_THROW(HMS_Text(INFINITY), CalcError);
}

TEST(ReadNumber, LeadingNumberOfAFieldText) {
    const struct {
        const char* text;
        double value;
    } kCases[] = {
        {"  1 2 ", 12}, {"", 0},      {"abc", 0},       {"12abc", 12}, {"\t3\n.5", 3.5},
        {"1.2.3", 1.2}, {"+3", 3},    {"-2.5", -2.5},   {".5", 0.5},   {"-", 0},
        {"1.5e2", 150}, {"1D2", 100}, {"1E-2x", 0.01},  {"2E", 2},     {"&HFF", 255},
        {"&hff", 255},  {"&O17", 15}, {"&O9", 0},       {"&O78", 7},   {"&HG", 0},
        {"&X1", 0},     {"1,5", 1},   {"1e308", 1e308}, {"0.1", 0.1},  {"1e309", HUGE_VAL},
        {"&O8", 0},     {"1d2", 100},  // 8 is no octal digit; d starts the exponent, as e
    };
    for (const auto& c : kCases) EXPECT_EQ(ReadNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(std::signbit(ReadNumber("-0")));
    EXPECT_EQ(ReadNumber(std::string(5000, '9') + "e-5000"), 1);
    // More than 309 digits are too large for a double whatever the exponent, never 0.
    const std::string huge = "1" + std::string(400, '0');
    EXPECT_EQ(ReadNumber(huge), HUGE_VAL);
    EXPECT_EQ(ReadNumber(huge + ".5"), HUGE_VAL);
    EXPECT_EQ(ReadNumber("-" + huge + "e-10"), -HUGE_VAL);
    EXPECT_EQ(ReadNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(ReadInt16, RoundsTiesToEvenAndRefusesOverflow) {
    const struct {
        const char* text;
        int value;
    } kCases[] = {{"2.5", 2}, {"3.5", 4}, {"-32768.5", -32768}, {"32767", 32767},
                  {"-٣", -3}, {"٢٫٥", 2}, {"۳۲۷۶۷", 32767}};
    for (const auto& c : kCases) EXPECT_EQ(ReadInt16(c.text, "", "zone"), c.value) << c.text;
    for (const char* text : {"32767.5", "-32769", "1e400"})
        EXPECT_THROW(ReadInt16(text, "", "zone"), InputError) << text;
    for (const char* text : {"40000", "٤٠٠٠٠"}) {
        try {
            ReadInt16(text, "المنطقة الزمنية", "time-zone");
            ADD_FAILURE() << text << " fits no 16-bit field";
        } catch (const InputError& e) {
            EXPECT_TRUE(Contains(e.message().english,
                                 std::string("time-zone field holds ") + text + ", outside"));
            EXPECT_TRUE(Contains(e.message().arabic, "المنطقة الزمنية"));
        }
    }
}

TEST(AdjustDay, LimitsTheDayToTheMonth) {
    const struct {
        const char *year, *month, *day, *limited;
    } kCases[] = {
        {"2000", "2", "30", "29"},   {"1900", "2", "30", "28"},   {"2004", "2", "29", "29"},
        {"2005", "2", "29", "28"},   {"2005", "2", "27", "27"},   {"2005", "4", "30", "30"},
        {"2005", "4", "31", "30"},   {"2004", "2", "28.5", "28"},  // a leap-year day below 29
        {"2005", "12", "40", "31"},  {"2005", "13", "40", "40"},  {"2005", "0", "40", "40"},
        {"2005", "2.5", "40", "40"}, {"1e30", "2", "30", "29"},  // "1E+30": divisible by 4
        {"٢٠٠٠", "٢", "٣٠", "29"},   {"۱۹۰۰", "٢", "۲۹", "28"}};
    const char* const kLast[] = {"31", "28", "31", "30", "31", "30",
                                 "31", "31", "30", "31", "30", "31"};
    FieldTexts f;
    const auto adjusted = [&](const char* year, const std::string& month, const char* day) {
        f.TxtYear = year, f.TxtMonth = month, f.TxtDay = day;
        AdjustDay(f);
        return f.TxtDay;
    };
    for (const auto& c : kCases) EXPECT_EQ(adjusted(c.year, c.month, c.day), c.limited) << c.day;
    // Day 32 of every month: April, June, September and November have 30 days.
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(adjusted("2005", std::to_string(month), "32"), kLast[month - 1]) << month;
}

}  // namespace
}  // namespace zerin::test
