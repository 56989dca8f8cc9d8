// The edges of the fields through every body: the poles, longitude 180 East and West,
// the years 1 and 9999, months 0 and 13, days 0 and 40. Each one gives a report, exit 0
// (at a pole the Sun's report ends at its half-day arc, with the polar message). Months
// and days out of range are used as typed, so they carry over into the next or the
// previous month. The windows' road (RunBody on the field texts) and the command
// line's give the same report and the same outcome.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../fuzz/ReportInvariants.h"
#include "FieldOptions.h"
#include "TestSupport.h"
#include "report/Commands.h"

namespace zerin::robust {
namespace {

using test::RecordingMessenger;

// One body's command run both ways: as the windows run it and as `zerin report` does.
struct BothRoads {
    RecordingMessenger messages;
    Report report;
    Outcome outcome;
    ReportRun cli;

    explicit BothRoads(const ReportInput& in) {
        report.SetSinks(Report::kText | Report::kValues);
        FieldTexts fields = in.fields;
        outcome = RunBody(report, messages, fields, in.east, in.north, in.body);
        cli = RunReport(in);
    }

    // The last value recorded under the name (-999 when there is none).
    double Value(const std::string& name) const {
        double value = -999;
        for (const ReportValue& v : report.Values())
            if (v.name == name) value = v.value;
        return value;
    }
};

// An edge as the options of `zerin report` that set it.
struct Edge {
    const char* name;
    std::vector<std::string> options;
};

const Edge kEdges[] = {
    {"latitude 90 N", {"--lat-deg=90", "--lat-min=0"}},
    {"latitude 90 S", {"--lat-deg=90", "--lat-min=0", "--south"}},
    {"longitude 180 W", {"--lon-deg=180", "--lon-min=0"}},
    {"longitude 180 E", {"--lon-deg=180", "--lon-min=0", "--east"}},
    {"year 1", {"--year=1", "--month=1"}},
    {"year 9999", {"--year=9999", "--month=12"}},
    {"month 0", {"--month=0"}},
    {"month 13", {"--month=13"}},
    {"day 0", {"--day=0"}},
    {"day 40", {"--day=40"}},
};

// The reference input with the edge's options read as the command line reads them.
ReportInput At(Body body, const Edge& edge) {
    ReportInput in = ReferenceInput(body);
    services::FieldOptions options{in.fields, in.east, in.north};
    for (std::size_t k = 0; k < edge.options.size(); ++k) {
        std::string error;
        EXPECT_TRUE(cli::TakeFieldOption(edge.options, k, options, error) && error.empty());
    }
    in.fields = options.fields;
    in.east = options.east;
    in.north = options.north;
    return in;
}

bool IsPole(const Edge& edge) {
    return std::string(edge.name).rfind("latitude", 0) == 0;
}

// The report from the Julian day's T on: what the body computes from the instant.
std::string FromT(const std::string& report) {
    const std::size_t t = report.find("T = (JJ - 2415020) / 36525 = ");
    return t == std::string::npos ? "(no T)" : report.substr(t);
}

std::string JulianDayOf(const std::string& report) {
    const std::size_t jj = report.find("\r\n = ");
    return report.substr(jj + 5, report.find('\r', jj + 5) - jj - 5);
}

class Edges : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { setenv("LC_ALL", "C", 1); }
};

// At the poles the altitude is the declination (North +, South -).
TEST_F(Edges, EveryEdgeGivesAReportThroughEveryBodyOnBothRoads) {
    const InvariantChecker checker;
    for (const Edge& edge : kEdges) {
        for (int b = 0; b < kBodyCount; ++b) {
            const Body body = static_cast<Body>(b);
            const BothRoads run(At(body, edge));
            SCOPED_TRACE(std::string(edge.name) + ", " + BodyName(body));
            EXPECT_EQ(run.outcome, Outcome::Written);
            EXPECT_EQ(run.cli.status, 0);
            EXPECT_EQ(checker.Check(body, run.cli), "");
            EXPECT_EQ(run.cli.out, run.report.Str());
            const bool polarStop = body == Body::Sun && IsPole(edge);
            EXPECT_EQ(run.messages.messages.size(), polarStop ? 1u : 0u);
            EXPECT_EQ(run.cli.err.empty(), !polarStop);
            if (IsPole(edge)) {
                const double sign = std::string(edge.name).ends_with("N") ? 1 : -1;
                EXPECT_NEAR(run.Value("Altitude"), sign * run.Value("Dec"), 1e-9);
            }
        }
    }
}

TEST_F(Edges, AtThePolesTheSunStopsAtItsHalfDayArcWithTheMessage) {
    for (bool north : {true, false}) {
        ReportInput in = At(Body::Sun, kEdges[0]);
        in.north = north;
        const BothRoads run(in);
        const std::string& text = run.cli.out;
        EXPECT_TRUE(test::Contains(text, "MIDI = Asc - TS_Loc + (UT * 24) - Zone\r\n = "));
        EXPECT_FALSE(test::Contains(text, "Duirn = "));
        EXPECT_EQ(text.substr(text.size() - kEndLine.size()), kEndLine);
        ASSERT_EQ(run.messages.messages.size(), 1u);
        EXPECT_TRUE(test::Contains(run.messages.messages[0].arabic, "إنعدم الشروق و الغروب"));
    }
}

TEST_F(Edges, Longitude180EastAndWestSeeTheSameSky) {
    for (int b = 0; b < kBodyCount; ++b) {
        const Body body = static_cast<Body>(b);
        const BothRoads west(At(body, kEdges[2])), east(At(body, kEdges[3]));
        SCOPED_TRACE(BodyName(body));
        EXPECT_EQ(west.Value("Lon"), 180);
        EXPECT_EQ(east.Value("Lon"), -180);
        // The local sidereal times are a whole day apart, so the sky is the same.
        EXPECT_NEAR(east.Value("TS_Loc") - west.Value("TS_Loc"), 24, 1e-12);
        for (const char* name : {"Ha", "Azimut", "Altitude"})
            EXPECT_NEAR(east.Value(name), west.Value(name), 1e-9) << name;
    }
}

TEST_F(Edges, TheFirstAndLastFourDigitYears) {
    // 1 January 1 (Julian calendar) and 31 December 9999 (Gregorian), at noon.
    ReportInput first = At(Body::Moon, kEdges[4]);
    first.fields.TxtDay = "1";
    ReportInput last = At(Body::Pluto, kEdges[5]);
    last.fields.TxtDay = "31";
    EXPECT_EQ(JulianDayOf(RunReport(first).out), "1721424");
    EXPECT_EQ(JulianDayOf(RunReport(last).out), "5373484");
}

// A month or day outside its range is used as typed: the Julian day carries it over, and
// everything from T on is the report of the date it lands on. Only the Sun first limits
// the day to the month's length.
TEST_F(Edges, OutOfRangeMonthsAndDaysCarryOver) {
    struct Case {
        const char* typed[3];   // year, month, day
        const char* landed[3];  // the date the other bodies compute
        const char* sun[3];     // the date the Sun computes
    };
    const Case cases[] = {
        {{"2005", "13", "17"}, {"2006", "1", "17"}, {"2006", "1", "17"}},
        // Month 0 is not shifted like January and February: the 17th of month 0 lands
        // on 15 December of the year before, two days short of the 17th.
        {{"2005", "0", "17"}, {"2004", "12", "15"}, {"2004", "12", "15"}},
        {{"2005", "6", "0"}, {"2005", "5", "31"}, {"2005", "5", "31"}},
        {{"2005", "6", "40"}, {"2005", "7", "10"}, {"2005", "6", "30"}},
    };
    auto input = [](Body body, const char* const date[3]) {
        ReportInput in = ReferenceInput(body);
        in.fields.TxtYear = date[0], in.fields.TxtMonth = date[1], in.fields.TxtDay = date[2];
        return in;
    };
    for (const Case& c : cases) {
        for (int b = 0; b < kBodyCount; ++b) {
            const Body body = static_cast<Body>(b);
            const ReportRun typed = RunReport(input(body, c.typed));
            const ReportRun landed = RunReport(input(body, body == Body::Sun ? c.sun : c.landed));
            EXPECT_EQ(typed.status, 0);
            EXPECT_EQ(FromT(typed.out), FromT(landed.out))
                << c.typed[0] << "-" << c.typed[1] << "-" << c.typed[2] << ", " << BodyName(body);
        }
    }
}

// Years too large for a double are refused, not a crash: the Sun's day limit tests
// February's year for a leap year before the year is read; more than 309 digits are too
// large whatever the sign of the exponent, never read as 0.
TEST_F(Edges, YearsTooLargeAreRefused) {
    for (const std::string& year :
         {std::string("1e999"), std::string("-1e400"), "1" + std::string(400, '0')}) {
        ReportInput in = ReferenceInput(Body::Sun);
        in.fields.TxtYear = year;
        in.fields.TxtMonth = year.size() > 6 ? "6" : "2";
        const ReportRun run = RunReport(in);
        EXPECT_EQ(run.status, 2) << year;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(test::Contains(run.err, "year")) << run.err;
    }
}

}  // namespace
}  // namespace zerin::robust
