// The foundations: degree trigonometry, reductions, number-to-text, the hours text,
// the reading of field texts and the month-length rule.
#include <gtest/gtest.h>

#include <cmath>

#include "Angles.h"
#include "Errors.h"
#include "Fields.h"
#include "NumText.h"
#include "TestSupport.h"

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
    const struct {
        double x;
        const char* text;
    } kCases[] = {{0.00001, "1E-05"},
                  {-0.0000000001, "-1E-10"},
                  {360, "360"},
                  {1.0 / 3, "0.333333333333333"},
                  {0.000123, "0.000123"},
                  {0.0000123, "1.23E-05"},
                  {1234567890123456.0, "1.23456789012346E+15"},
                  {123456789012345.0, "123456789012345"},
                  {2453539.0, "2453539"},
                  {1e-7, "1E-07"},
                  {-0.0, "0"},
                  {0.1 + 0.2, "0.3"},
                  {-5.666666666666667, "-5.66666666666667"},
                  {1e300, "1E+300"}};
    for (const auto& c : kCases) EXPECT_EQ(NumText(c.x), c.text) << c.text;
    EXPECT_THROW(NumText(NAN), CalcError);
    // The regional separator, in values only.
    EXPECT_EQ(NumText(0.5, ","), "0,5");
    EXPECT_EQ(NumText(1.5e-5, ","), "1,5E-05");
    EXPECT_EQ(NumText(12, ","), "12");
}

TEST(HMSText, TruncatedHoursRoundedSeconds) {
    const struct {
        double hours;
        const char* text;
    } kCases[] = {{5.5, "5 H 30 Min 0 Sec "},
                  {0, "0 H 0 Min 0 Sec "},
                  {12.99999, "12 H 59 Min 60 Sec "},
                  {-1.5, "-1 H -30 Min 0 Sec "},
                  {-0.25, "0 H -15 Min 0 Sec "},            // Fix gives -0, written 0
                  {1 + 30.5 / 3600, "1 H 0 Min 30 Sec "}};  // 30.5 s: ties to even
    for (const auto& c : kCases) EXPECT_EQ(HMS_Text(c.hours), c.text) << c.hours;
    EXPECT_EQ(HMS_Text(5.5, ","), "5 H 30 Min 0 Sec ");
    EXPECT_THROW(HMS_Text(INFINITY), CalcError);
}

TEST(ReadNumber, LeadingNumberOfAFieldText) {
    EXPECT_EQ(ReadNumber("  1 2 "), 12);
    EXPECT_EQ(ReadNumber(""), 0);
    EXPECT_EQ(ReadNumber("abc"), 0);
    EXPECT_EQ(ReadNumber("12abc"), 12);
    EXPECT_EQ(ReadNumber("\t3\n.5"), 3.5);
    EXPECT_EQ(ReadNumber("1.2.3"), 1.2);
    EXPECT_EQ(ReadNumber("+3"), 3);
    EXPECT_EQ(ReadNumber("-2.5"), -2.5);
    EXPECT_EQ(ReadNumber(".5"), 0.5);
    EXPECT_EQ(ReadNumber("-"), 0);
    EXPECT_EQ(ReadNumber("1.5e2"), 150);
    EXPECT_EQ(ReadNumber("1D2"), 100);
    EXPECT_EQ(ReadNumber("1E-2x"), 0.01);
    EXPECT_EQ(ReadNumber("2E"), 2);
    EXPECT_EQ(ReadNumber("&HFF"), 255);
    EXPECT_EQ(ReadNumber("&hff"), 255);
    EXPECT_EQ(ReadNumber("&O17"), 15);
    EXPECT_EQ(ReadNumber("&O9"), 0);
    EXPECT_EQ(ReadNumber("&O8"), 0);  // 8 is no octal digit
    EXPECT_EQ(ReadNumber("&O78"), 7);
    EXPECT_EQ(ReadNumber("&HG"), 0);
    EXPECT_EQ(ReadNumber("1d2"), 100);  // D or d starts the exponent, as E or e
    EXPECT_EQ(ReadNumber("&X1"), 0);
    EXPECT_EQ(ReadNumber("1,5"), 1);  // the period is the only decimal separator
    EXPECT_TRUE(std::signbit(ReadNumber("-0")));
    EXPECT_EQ(ReadNumber("1e308"), 1e308);
    EXPECT_TRUE(std::isinf(ReadNumber("1e309")));
    EXPECT_EQ(ReadNumber("0.1"), 0.1);  // correctly rounded
    EXPECT_EQ(ReadNumber(std::string(5000, '9') + "e-5000"), 1);
}

TEST(ReadInt16, RoundsTiesToEvenAndRefusesOverflow) {
    EXPECT_EQ(ReadInt16("2.5", "", "zone"), 2);
    EXPECT_EQ(ReadInt16("3.5", "", "zone"), 4);
    EXPECT_EQ(ReadInt16("-32768.5", "", "zone"), -32768);
    EXPECT_EQ(ReadInt16("32767", "", "zone"), 32767);
    EXPECT_THROW(ReadInt16("32767.5", "", "zone"), InputError);
    EXPECT_THROW(ReadInt16("-32769", "", "zone"), InputError);
    EXPECT_THROW(ReadInt16("1e400", "", "zone"), InputError);
    try {
        ReadInt16("40000", "المنطقة الزمنية", "time-zone");
    } catch (const InputError& e) {
        EXPECT_NE(e.message().english.find("time-zone field holds 40000"), std::string::npos);
        EXPECT_NE(e.message().arabic.find("المنطقة الزمنية"), std::string::npos);
    }
}

std::string AdjustedDay(const std::string& year, const std::string& month, const std::string& day) {
    FieldTexts f;
    f.TxtYear = year;
    f.TxtMonth = month;
    f.TxtDay = day;
    AdjustDay(f);
    return f.TxtDay;
}

TEST(AdjustDay, LimitsTheDayToTheMonth) {
    EXPECT_EQ(AdjustedDay("2000", "2", "30"), "29");
    EXPECT_EQ(AdjustedDay("1900", "2", "30"), "28");
    EXPECT_EQ(AdjustedDay("2004", "2", "29"), "29");
    EXPECT_EQ(AdjustedDay("2005", "2", "29"), "28");
    EXPECT_EQ(AdjustedDay("2004", "2", "28.5"), "28");  // a leap-year day below 29
    EXPECT_EQ(AdjustedDay("2005", "2", "27"), "27");
    EXPECT_EQ(AdjustedDay("2005", "4", "31"), "30");
    EXPECT_EQ(AdjustedDay("2005", "4", "30"), "30");
    // Day 31 of every month: April, June, September and November have 30 days.
    const char* const kLast[] = {"31", "28", "31", "30", "31", "30",
                                 "31", "31", "30", "31", "30", "31"};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(AdjustedDay("2005", std::to_string(month), "32"), kLast[month - 1]) << month;
    EXPECT_EQ(AdjustedDay("2005", "1", "32"), "31");
    EXPECT_EQ(AdjustedDay("2005", "12", "40"), "31");
    EXPECT_EQ(AdjustedDay("2005", "13", "40"), "40");
    EXPECT_EQ(AdjustedDay("2005", "0", "40"), "40");
    EXPECT_EQ(AdjustedDay("2005", "2.5", "40"), "40");
    EXPECT_EQ(AdjustedDay("1e30", "2", "30"), "29");  // "1E+30": last two "30", divisible by 4
}

}  // namespace
}  // namespace zerin::test
