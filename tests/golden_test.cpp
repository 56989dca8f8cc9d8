// Whole reports, byte for byte, against reference files checked by hand: every body on
// 17 June 2005 at noon, and the places and dates that take the other branches (before
// 1900, south and east, the equator, the Sun's stop at high latitude) and the preface.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace zerin::test {
namespace {

const std::vector<std::string> kSydney = {"--east",    "--lon-deg", "151",       "--lon-min",
                                          "12",        "--south",   "--lat-deg", "33",
                                          "--lat-min", "52",        "--zone",    "-10"};

struct GoldenCase {
    std::string file;
    std::vector<std::string> args, place;
};

TEST(Golden, Reports) {
    const GoldenCase kCases[] = {
        {"report-sun-2005-06-17-1200.txt", ReportArgs("sun", "2005", "6", "17"), {}},
        // Before 21 September 1899 the sidereal polynomial in revolutions is negative.
        {"report-sun-1850-01-05-0320-sydney.txt", ReportArgs("sun", "1850", "1", "5", "3", "20"),
         kSydney},
        // The Sun never falls 17 degrees below the horizon: the report stops at nightfall.
        {"report-sun-2005-06-17-1200-lat60.txt",
         ReportArgs("sun", "2005", "6", "17"),
         {"--lat-deg", "60", "--lat-min", "0"}},
        {"report-moon-2005-06-17-1200.txt", ReportArgs("moon", "2005", "6", "17"), {}},
        {"report-moon-1850-03-10-0630.txt", ReportArgs("moon", "1850", "3", "10", "6", "30"), {}},
        // On the equator: the topocentric declination takes its limit.
        {"report-moon-2012-11-03-184510-equator.txt",
         ReportArgs("moon", "2012", "11", "3", "18", "45", "10"),
         {"--lat-deg", "0", "--lat-min", "0"}},
        // South and East with summer time: local sidereal time above 24 hours.
        {"report-moon-2021-12-25-211530-sydney.txt",
         ReportArgs("moon", "2021", "12", "25", "21", "15", "30"),
         {"--east", "--lon-deg", "151", "--lon-min", "12", "--lon-sec", "30", "--south",
          "--lat-deg", "33", "--lat-min", "52", "--lat-sec", "4", "--zone", "-10", "--summer",
          "1"}},
    };
    std::vector<GoldenCase> cases(std::begin(kCases), std::end(kCases));
    cases.push_back({"preface.txt", {"preface"}, {}});
    for (const char* planet :
         {"mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"})
        cases.push_back({std::string("report-") + planet + "-2005-06-17-1200.txt",
                         ReportArgs(planet, "2005", "6", "17"),
                         {}});
    for (const GoldenCase& c : cases) {
        const CliResult r = RunCli(With(c.args, c.place));
        EXPECT_EQ(r.status, 0) << c.file;
        EXPECT_EQ(r.out, Golden(c.file)) << c.file;
        // Only the Sun's stop at high latitude says something on standard error.
        EXPECT_EQ(r.err.empty(), !c.file.ends_with("lat60.txt")) << c.file;
    }
}

}  // namespace
}  // namespace zerin::test
