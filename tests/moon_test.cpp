// The Moon's report: whole reports byte for byte, the three series against their
// tables, the quadrant and reduction rules, the Sun it reads, its faults.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Angles.h"
#include "Commands.h"
#include "ModCalcule.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180;

// A Moon command run on the module directly, with the fields of the main window.
struct MoonRun {
    RecordingMessenger messages;
    ModCalcule calc{messages};
    Outcome outcome = Outcome::Written;

    explicit MoonRun(unsigned sinks = Report::kText | Report::kValues) {
        calc.report.SetSinks(sinks);
    }
    MoonRun& At(double year, double month, double day, double hour, double minute = 0) {
        calc.fields.TxtYear = std::to_string(year);
        calc.fields.TxtMonth = std::to_string(month);
        calc.fields.TxtDay = std::to_string(day);
        calc.fields.TxtHour = std::to_string(hour);
        calc.fields.TxtMin = std::to_string(minute);
        calc.fields.TxtSec = "0";
        return *this;
    }
    MoonRun& Moon() {
        outcome = RunBody(calc, Body::Moon);
        return *this;
    }
    // The value the Moon recorded under `name`, the n-th time (the Julian-day section
    // before it has its own m).
    double Value(const std::string& name, int n = 0) const {
        const std::vector<ReportValue>& values = calc.report.Values();
        auto v = values.begin();
        while (v != values.end() && v->name != "Tc") ++v;
        for (; v != values.end(); ++v)
            if (v->name == name && n-- == 0) return v->value;
        ADD_FAILURE() << "no value " << name;
        return NAN;
    }
    // The report from the Moon's first banner on (the Julian-day section left out).
    std::string MoonSections() const {
        const std::string& text = calc.report.Str();
        const std::size_t start = text.find("******************* تقويم القمر");
        return start == std::string::npos ? "" : text.substr(start);
    }
};

// Difference of two angles in degrees, brought into -180..180.
double AngleGap(double a, double b) {
    return std::remainder(a - b, 360.0);
}

// ---- Whole reports ----

struct GoldenCase {
    const char* file;
    std::vector<std::string> args, place;
};

TEST(MoonGolden, ReportsByteForByte) {
    const GoldenCase cases[] = {
        {"report-moon-2005-06-17-1200.txt", ReportArgs("moon", "2005", "6", "17"), {}},
        // Before 1900: a negative Greenwich sidereal time, written unreduced.
        {"report-moon-1850-03-10-0630.txt", ReportArgs("moon", "1850", "3", "10", "6", "30"), {}},
        // On the equator: the topocentric declination takes its limit.
        {"report-moon-2012-11-03-184510-equator.txt",
         ReportArgs("moon", "2012", "11", "3", "18", "45", "10"),
         {"--lat-deg", "0", "--lat-min", "0"}},
        // South and East, zone -10 with summer time: local sidereal time above 24 hours.
        {"report-moon-2021-12-25-211530-sydney.txt",
         ReportArgs("moon", "2021", "12", "25", "21", "15", "30"),
         {"--east", "--lon-deg", "151", "--lon-min", "12", "--lon-sec", "30", "--south",
          "--lat-deg", "33", "--lat-min", "52", "--lat-sec", "4", "--zone", "-10", "--summer",
          "1"}},
    };
    for (const GoldenCase& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), c.place.begin(), c.place.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 0) << c.file;
        EXPECT_EQ(r.out, Golden(c.file)) << c.file;
        EXPECT_EQ(r.err, "") << c.file;
    }
}

// ---- The series against their tables ----

// One term: coefficient in degrees, multiples of D, m, Mp and F in the argument, and
// the power of the eccentricity factor e.
struct Term {
    double c;
    int D, m, Mp, F, e;
};

// The true longitude, the latitude and the parallax, as the theory tabulates them.
const Term kLongitude[50] = {
    {6.28875, 0, 0, 1, 0, 0},    {1.274018, 2, 0, -1, 0, 0},  {0.658309, 2, 0, 0, 0, 0},
    {0.213616, 0, 0, 2, 0, 0},   {-0.185596, 0, 1, 0, 0, 1},  {-0.114336, 0, 0, 0, 2, 0},
    {0.058793, 2, 0, -2, 0, 0},  {0.057212, 2, -1, -1, 0, 1}, {0.05332, 2, 0, 1, 0, 0},
    {0.045874, 2, -1, 0, 0, 1},  {0.041024, 0, -1, 1, 0, 1},  {-0.034718, 1, 0, 0, 0, 0},
    {-0.030465, 0, 1, 1, 0, 1},  {0.015326, 2, 0, 0, -2, 0},  {-0.012528, 0, 0, 1, 2, 0},
    {-0.01098, 0, 0, -1, 2, 0},  {0.010674, 4, 0, -1, 0, 0},  {0.010034, 0, 0, 3, 0, 0},
    {0.008548, 4, 0, -2, 0, 0},  {-0.00791, 2, 1, -1, 0, 1},  {-0.006783, 2, 1, 0, 0, 1},
    {0.005162, -1, 0, 1, 0, 0},  {0.005, 1, 1, 0, 0, 1},      {0.004049, 2, -1, 1, 0, 1},
    {0.003996, 2, 0, 2, 0, 0},   {0.003862, 4, 0, 0, 0, 0},   {0.003665, 2, 0, -3, 0, 0},
    {0.002695, 0, -1, 2, 0, 1},  {0.002602, -2, 0, 1, -2, 0}, {0.002396, 2, -1, -2, 0, 1},
    {-0.002349, 1, 0, 1, 0, 0},  {0.002249, 2, -2, 0, 0, 2},  {-0.002125, 0, 1, 2, 0, 1},
    {-0.002079, 0, 2, 0, 0, 2},  {0.002059, 2, -2, -1, 0, 2}, {-0.001773, 2, 0, 1, -2, 0},
    {-0.001595, 2, 0, 0, 2, 0},  {0.00122, 4, -1, -1, 0, 1},  {-0.00111, 0, 0, 2, 2, 0},
    {0.000892, -3, 0, 1, 0, 0},  {-0.000811, 2, 1, 1, 0, 1},  {0.000761, 4, -1, -2, 0, 1},
    {0.000717, 0, -2, 1, 0, 2},  {0.000704, -2, -2, 1, 0, 2}, {0.000693, 2, 1, -2, 0, 1},
    {0.000598, 2, -1, 0, -2, 1}, {0.00055, 4, 0, 1, 0, 0},    {0.000538, 0, 0, 4, 0, 0},
    {0.000521, 4, -1, 0, 0, 1},  {0.000486, -1, 0, 2, 0, 0},
};
const Term kLatitude[45] = {
    {5.128189, 0, 0, 0, 1, 0},   {0.280606, 0, 0, 1, 1, 0},    {0.277693, 0, 0, 1, -1, 0},
    {0.173238, 2, 0, 0, -1, 0},  {0.055413, 2, 0, -1, 1, 0},   {0.046272, 2, 0, -1, -1, 0},
    {0.032573, 2, 0, 0, 1, 0},   {0.017198, 0, 0, 2, 1, 0},    {0.009267, 2, 0, 1, -1, 0},
    {0.008823, 0, 0, 2, -1, 0},  {0.008247, 2, -1, 0, -1, 1},  {0.004323, 2, 0, -2, -1, 0},
    {0.0042, 2, 0, 1, 1, 0},     {0.003372, -2, -1, 0, 1, 1},  {0.002472, 2, -1, -1, 1, 1},
    {0.002222, 2, -1, 0, 1, 1},  {0.002072, 2, -1, -1, -1, 1}, {0.001877, 0, -1, 1, 1, 1},
    {0.001828, 4, 0, -1, -1, 0}, {-0.001803, 0, 1, 0, 1, 1},   {-0.00175, 0, 0, 0, 3, 0},
    {0.00157, 0, -1, 1, -1, 1},  {-0.001487, 1, 0, 0, 1, 0},   {-0.001481, 0, 1, 1, 1, 1},
    {0.001417, 0, -1, -1, 1, 1}, {0.00135, 0, -1, 0, 1, 1},    {0.00133, -1, 0, 0, 1, 0},
    {0.001106, 0, 0, 3, 1, 0},   {0.00102, 4, 0, 0, -1, 0},    {0.000833, 4, 0, -1, 1, 0},
    {0.000781, 0, 0, 1, -3, 0},  {0.00067, 4, 0, -2, 1, 0},    {0.000606, 2, 0, 0, -3, 0},
    {0.000597, 2, 0, 2, -1, 0},  {0.000492, 2, -1, 1, -1, 1},  {0.00045, -2, 0, 2, -1, 0},
    {0.000439, 0, 0, 3, -1, 0},  {0.000423, 2, 0, 2, 1, 0},    {0.000422, 2, 0, -3, -1, 0},
    {-0.000367, 2, 1, -1, 1, 1}, {-0.00353, 2, 1, 0, 1, 1},    {0.000331, 4, 0, 0, 1, 0},
    {0.000317, 2, -1, 1, 1, 1},  {0.000306, 2, -2, 0, -1, 2},  {-0.000283, 0, 0, 1, 3, 0},
};
const Term kParallax[30] = {
    {0.051818, 0, 0, 1, 0, 0},   {0.009531, 2, 0, -1, 0, 0},  {0.007843, 2, 0, 0, 0, 0},
    {0.002824, 0, 0, 2, 0, 0},   {0.000857, 2, 0, 1, 0, 0},   {0.000533, 2, -1, 0, 0, 1},
    {0.000401, 2, -1, -1, 0, 1}, {0.00032, 0, -1, 1, 0, 1},   {-0.000271, 1, 0, 0, 0, 0},
    {-0.000264, 0, 1, 1, 0, 1},  {-0.000198, 0, 0, -1, 2, 0}, {0.000173, 0, 0, 3, 0, 0},
    {0.000167, 4, 0, -1, 0, 0},  {-0.000111, 0, 1, 0, 0, 1},  {0.000103, 4, 0, -2, 0, 0},
    {-0.000084, -2, 0, 2, 0, 0}, {-0.000083, 2, 1, 0, 0, 1},  {0.000079, 2, 0, 2, 0, 0},
    {0.000072, 4, 0, 0, 0, 0},   {0.000064, 2, -1, 1, 0, 0},  {-0.000063, 2, 1, -1, 0, 1},
    {0.000041, 1, 1, 0, 0, 1},   {0.000035, 0, -1, 2, 0, 1},  {-0.000033, -2, 0, 3, 0, 0},
    {-0.00003, 1, 0, 1, 0, 0},   {-0.000029, -2, 0, 0, 2, 0}, {-0.000029, 0, 1, 2, 0, 1},
    {0.000026, 2, -2, 0, 0, 2},  {-0.000023, -2, 0, 1, 2, 0}, {0.000019, 4, -1, -1, 0, 1},
};

template <std::size_t N, class Wave>
double TableSum(const Term (&table)[N], Wave wave, const MoonRun& run) {
    const double D = run.Value("D"), m = run.Value("m"), Mp = run.Value("Mp"), F = run.Value("F"),
                 e = run.Value("e");
    double sum = 0;
    for (const Term& t : table) {
        const double argument = (t.D * D + t.m * m + t.Mp * Mp + t.F * F) * kDeg;
        sum += t.c * wave(argument) * std::pow(e, t.e);
    }
    return sum;
}

const auto Sin = [](double x) { return std::sin(x); };
const auto Cos = [](double x) { return std::cos(x); };

TEST(MoonSeries, EveryTermAgainstTheTables) {
    // Dates over nine centuries, so that e departs from 1 and every argument turns.
    for (int k = 0; k < 40; ++k) {
        MoonRun run(Report::kValues);
        run.At(1500 + 23 * k, 1 + k % 12, 1 + (7 * k) % 28, (5 * k) % 24).Moon();
        ASSERT_EQ(run.outcome, Outcome::Written);
        const double longitude = run.Value("Lp") + TableSum(kLongitude, Sin, run);
        EXPECT_NEAR(AngleGap(longitude, run.Value("Lg_Lune")), 0, 1e-11) << k;
        EXPECT_NEAR(TableSum(kLatitude, Sin, run), run.Value("b", 0), 1e-12) << k;
        EXPECT_NEAR(0.950724 + TableSum(kParallax, Cos, run), run.Value("Ge"), 1e-12) << k;
    }
}

TEST(MoonSeries, ArgumentsAtTheEpoch) {
    // 31 December 1899 at noon: T = 0.
    MoonRun run(Report::kValues);
    run.At(1899, 12, 31, 12).Moon();
    ASSERT_EQ(run.calc.T, 0);
    EXPECT_EQ(run.Value("Tc"), 0.003964 * Sine(346.56));
    EXPECT_EQ(run.Value("e"), 1);
    EXPECT_EQ(run.Value("N"), 259.183275);
}

// ---- Quadrants and reductions over a month, hour by hour ----

TEST(MoonSky, QuadrantsAndReductionsOverAMonth) {
    int ascQuarter[4] = {}, azimuthQuarter[4] = {};
    for (int hour = 0; hour < 30 * 24; hour += 5) {
        MoonRun run(Report::kNone);
        run.At(2005, 6, 1 + hour / 24, hour % 24).Moon();
        ASSERT_EQ(run.outcome, Outcome::Written);
        const MoonResult& p = run.calc.moon;

        // Reduced values stay in their ranges.
        const double ranges[][3] = {
            {p.Lg_Lune, 0, 360},      {p.Asc, 0, 24},   {p.sky.Ha, 0, 360}, {p.sky.Azimut, 0, 360},
            {p.topo.TopoAsc, 0, 360}, {p.b, -5.4, 5.4}, {p.eLong, 0, 180},  {p.illum, 0, 100}};
        for (const auto& [value, low, high] : ranges) {
            EXPECT_GE(value, low) << hour;
            EXPECT_LE(value, high) << hour;
        }

        // The right ascension lies within a few degrees of the longitude, in every
        // quadrant: a wrong quadrant rule would put it half a turn away.
        EXPECT_LT(std::fabs(AngleGap(p.Asc * 15, p.Lg_Lune)), 8) << hour;
        ++ascQuarter[std::min(3, static_cast<int>(p.Asc / 6))];

        // The azimuth from the North through the East, by the usual spherical formula.
        const double lat = run.calc.Lat * kDeg, dec = p.Dec * kDeg, ha = p.sky.Ha * kDeg;
        const double azimuth =
            std::atan2(std::sin(ha), std::cos(ha) * std::sin(lat) - std::tan(dec) * std::cos(lat)) /
                kDeg +
            180;
        EXPECT_NEAR(AngleGap(p.sky.Azimut, azimuth), 0, 1e-9) << hour;
        const double altitude = std::asin(std::sin(lat) * std::sin(dec) +
                                          std::cos(lat) * std::cos(dec) * std::cos(ha)) /
                                kDeg;
        EXPECT_NEAR(p.sky.Altitude, altitude, 1e-9) << hour;
        ++azimuthQuarter[std::min(3, static_cast<int>(p.sky.Azimut / 90))];

        // The parallax read back from the distance is the series' parallax.
        EXPECT_NEAR(p.Paralax, p.Ge, 1e-12);
        EXPECT_NEAR(p.illum, (1 - std::cos(p.eLong * kDeg)) / 2 * 100, 1e-9);
    }
    for (int q = 0; q < 4; ++q) {
        EXPECT_GT(ascQuarter[q], 0) << "right ascension quarter " << q;
        EXPECT_GT(azimuthQuarter[q], 0) << "azimuth quarter " << q;
    }
}

TEST(MoonSky, EquatorTakesTheLimitOfTheTopocentricDeclination) {
    MoonRun equator, near;
    equator.calc.fields.TxtDegLat = "0";
    equator.calc.fields.TxtMinLat = "0";
    near.calc.fields = equator.calc.fields;
    near.calc.fields.TxtSecLat = "0.0001";
    equator.At(2012, 11, 3, 18, 45).Moon();
    near.At(2012, 11, 3, 18, 45).Moon();
    ASSERT_EQ(equator.outcome, Outcome::Written);
    const MoonResult& p = equator.calc.moon;
    EXPECT_EQ(p.topo.Geo, 0);
    EXPECT_EQ(p.topo.TopoDec, p.Dec + p.Paralax * p.topo.DiCentre * Cosine(p.sky.Ha) * Sine(p.Dec));
    // The limit joins the formula a fraction of a second of arc away from the equator.
    EXPECT_NEAR(p.topo.TopoDec, near.calc.moon.topo.TopoDec, 1e-6);
    EXPECT_NE(equator.calc.report.Str().find("illum = ((1 + Cosine(FV)) / 2) * 100\r\n = "),
              std::string::npos);
}

// ---- The Sun the Moon reads ----

TEST(MoonSun, FarFromTheLastSunCommandAsRightAfterIt) {
    MoonRun afterSun;
    afterSun.At(2005, 6, 17, 12);
    afterSun.calc.Calcul_JJ();
    afterSun.calc.Calcul_Soleil();
    afterSun.Moon();

    MoonRun stale;
    stale.At(1931, 1, 2, 3);
    stale.calc.Calcul_JJ();
    stale.calc.Calcul_Soleil();
    stale.At(2005, 6, 17, 12).Moon();

    EXPECT_EQ(stale.calc.report.Str(), afterSun.calc.report.Str());
    EXPECT_EQ(stale.calc.report.Str(), Golden("report-moon-2005-06-17-1200.txt"));
    EXPECT_EQ(stale.calc.e_Soleil, afterSun.calc.e_Soleil);
    EXPECT_EQ(stale.calc.Long_Soleil, afterSun.calc.Long_Soleil);
}

// ---- What the Moon command leaves ----

TEST(MoonResults, TheReportedValuesEvenWithTheReportSwitchedOff) {
    MoonRun reported, silent(Report::kNone);
    reported.At(2021, 12, 25, 21, 15).Moon();
    silent.At(2021, 12, 25, 21, 15).Moon();
    EXPECT_EQ(silent.calc.report.Str(), "");
    const MoonResult& p = silent.calc.moon;
    // clang-format off
    const std::pair<std::string, double> kept[] = {
        {"Lg_Lune", p.Lg_Lune}, {"b", p.b}, {"Ge", p.Ge}, {"r_lune", p.r_lune}, {"O", p.O},
        {"Asc", p.Asc}, {"Dec", p.Dec}, {"TS_GMT", p.sky.TS_GMT}, {"TS_Loc", p.sky.TS_Loc},
        {"Ha", p.sky.Ha}, {"Azimut", p.sky.Azimut}, {"Altitude", p.sky.Altitude},
        {"Paralax", p.Paralax}, {"GeocLat", p.topo.GeocLat}, {"DiCentre", p.topo.DiCentre},
        {"Geo", p.topo.Geo}, {"TopoAsc", p.topo.TopoAsc}, {"TopoDec", p.topo.TopoDec},
        {"Diam", p.Diam}, {"eLong", p.eLong}, {"illum", p.illum}};
    // clang-format on
    for (const auto& [name, value] : kept)  // b: the corrected latitude, written second
        EXPECT_EQ(value, reported.Value(name, name == "b" ? 1 : 0)) << name;
}

TEST(MoonResults, DayBeyondTheMonthIsUsedAsGiven) {
    MoonRun april31, may1;
    april31.At(2005, 4, 31, 12).Moon();
    may1.At(2005, 5, 1, 12).Moon();
    EXPECT_EQ(april31.calc.fields.TxtDay, std::to_string(31.0));
    EXPECT_EQ(april31.calc.JJ, may1.calc.JJ);
    EXPECT_FALSE(april31.MoonSections().empty());
    EXPECT_EQ(april31.MoonSections(), may1.MoonSections());
}

// ---- Faults ----

TEST(MoonFault, NamesTheQuantityAndKeepsTheReport) {
    // A latitude whose double overflows: the observer's geocentric latitude cannot be
    // computed, everything before it is kept.
    std::vector<std::string> args = ReportArgs("moon", "2005", "6", "17");
    args.insert(args.end(), {"--lat-deg", "1.5e308"});
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "zerin: تعذّر حساب GeocLat : توقف الحساب عند هذه القيمة\n"
              "zerin: could not compute GeocLat (non-finite value in an angle); the report "
              "stops before it\n");
    const std::string lastItem =
        "Paralax = ArcSin(6378.14 / r_lune)\r\n = 0.950789140155728\r\n\r\n";
    ASSERT_GE(r.out.size(), lastItem.size());
    EXPECT_EQ(r.out.substr(r.out.size() - lastItem.size()), lastItem);
    EXPECT_EQ(r.out.find("GeocLat"), std::string::npos);
}

TEST(MoonFault, AnOverflowingNodeIsNamed) {
    // Called alone on a T far beyond any calendar: the cube of T overflows in the node.
    RecordingMessenger messages;
    ModCalcule calc(messages);
    calc.T = 1e110;
    EXPECT_THROW(calc.Calcul_Lune(), CalcError);
    EXPECT_STREQ(calc.report.Current(), "N");
}

}  // namespace
}  // namespace zerin::test
