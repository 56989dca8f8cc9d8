// The texts of the main window's fields and how they are read as numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zerin {

// The field texts as the user typed them, with the window's start-up defaults for the
// place; date and time default to empty here (the front ends fill them from the clock).
struct FieldTexts {
    std::string TxtDegLon = "5", TxtMinLon = "40", TxtSecLon = "0";
    std::string TxtDegLat = "32", TxtMinLat = "56", TxtSecLat = "0";
    std::string TxtZone = "0", TxtEteRegl = "0";
    std::string TxtYear, TxtMonth, TxtDay;
    std::string TxtHour, TxtMin, TxtSec;
};

// The leading number of a text, whatever the regional settings: blanks, tabs and line
// feeds anywhere are skipped; an optional sign, digits with at most one period, an
// optional exponent (E or D); "&H" and "&O" read a hexadecimal or octal integer. A text
// that does not start with a number reads as 0. Arabic-Indic digits (٠..٩) and their
// Persian forms (۰..۹) read as the digits 0..9, and the Arabic decimal separator (٫)
// as the period.
double ReadNumber(std::string_view text);

// Whether the whole text is one number as ReadNumber reads it (blanks anywhere aside): "34.5",
// " 1 2", "&HA", "٣٢٫٥"; not "34x", "", "1.5.3", "-".
bool ReadsWhole(std::string_view text);

// The text with each comma between two digits made a period: "34,5" reads as 34.5 in the
// windows' fields, where Arabic and French keyboards write decimals with a comma.
std::string CommaAsDecimalPoint(std::string_view text);

// The number of a zone or summer-time field rounded to a 16-bit integer, ties to even.
// Throws InputError naming the field when it does not fit.
std::int16_t ReadInt16(std::string_view text, std::string_view arabicName,
                       std::string_view englishName);

// Limits the day text to the month's length, as the Sun command does before reading the
// date: 31 in April becomes "30", 30 in February "29" or "28". Other months are left.
void AdjustDay(FieldTexts& fields);

}  // namespace zerin
