// The planets: whole reports, the elements at the epoch, the periodic terms against the
// quoted formula texts, the edges of the reduction to the geocentric place, the Sun's
// values taken at the planet's own instant, faults and limits.
#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Angles.h"
#include "Commands.h"
#include "ModCalcule.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

const char* const kPlanetNames[] = {"mercury", "venus",  "mars",    "jupiter",
                                    "saturn",  "uranus", "neptune", "pluto"};
const Body kPlanets[] = {Body::Mercury, Body::Venus,  Body::Mars,    Body::Jupiter,
                         Body::Saturn,  Body::Uranus, Body::Neptune, Body::Pluto};

// A module with its own messenger, both sinks on, the default place.
struct Module {
    RecordingMessenger messages;
    ModCalcule calc{messages};
    Module() { calc.report.SetSinks(Report::kText | Report::kValues); }

    Outcome Run(Body body, const char* year, const char* month, const char* day,
                const char* hour = "12", const char* minute = "0") {
        FieldTexts& f = calc.fields;
        f.TxtYear = year, f.TxtMonth = month, f.TxtDay = day;
        f.TxtHour = hour, f.TxtMin = minute, f.TxtSec = "0";
        return RunBody(calc, body);
    }
    // Every value recorded under the name, in report order.
    std::vector<double> All(std::string_view name) const {
        std::vector<double> found;
        for (const ReportValue& v : calc.report.Values())
            if (v.name == name) found.push_back(v.value);
        return found;
    }
    double First(std::string_view name) const {
        const std::vector<double> found = All(name);
        return found.empty() ? NAN : found.front();
    }
    double Last(std::string_view name) const {
        const std::vector<double> found = All(name);
        return found.empty() ? NAN : found.back();
    }
};

TEST(PlanetReport, EachPlanetOn17June2005NoonIsTheCheckedText) {
    for (const char* planet : kPlanetNames) {
        SCOPED_TRACE(planet);
        const CliResult r = RunCli(ReportArgs(planet, "2005", "6", "17"));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, Golden(std::string("report-") + planet + "-2005-06-17-1200.txt"));
        EXPECT_EQ(r.err, "");
    }
}

// At the epoch of T (1899-12-31 12:00, zone 0) every polynomial is its constant term;
// the outer planets add their periodic terms, whose arguments are constants too.
TEST(PlanetElements, AtTheEpochEachElementIsItsConstantTerm) {
    struct Constants {
        Body body;
        double L, a, e, i, W, N;
    };
    const Constants kConstants[] = {
        {Body::Mercury, 178.179078, 0.3870986, 0.20561421, 7.002881, 28.753753, 47.145944},
        {Body::Venus, 342.767053, 0.7233316, 0.00682069, 3.393631, 54.384186, 75.779647},
        {Body::Mars, 293.737334, 1.5236883, 0.0933129, 1.850333, 285.431761, 48.786442},
        {Body::Jupiter, 238.049257, 5.202561, 0.04833475, 1.308736, 273.277558, 99.443414},
        {Body::Saturn, 266.564377, 9.554747, 0.05589232, 2.492519, 338.3078, 112.790414},
        {Body::Uranus, 244.19747, 19.21814, 0.0463444, 0.772464, 98.071581, 73.477111},
        {Body::Neptune, 84.457994, 30.10957, 0.00899704, 1.779242, 276.045975, 130.681389},
        {Body::Pluto, 92.59402925, 39.482455891535, 0.2487430100195, 17.1386750004275,
         113.789656667, 110.3138394475},
    };
    for (const Constants& c : kConstants) {
        SCOPED_TRACE(BodyName(c.body));
        Module m;
        ASSERT_EQ(m.Run(c.body, "1899", "12", "31"), Outcome::Written);
        ASSERT_EQ(m.calc.T, 0);
        const bool perturbed = !m.All("CA").empty();
        EXPECT_EQ(perturbed, c.body >= Body::Jupiter && c.body <= Body::Neptune);
        const double CA = perturbed ? m.First("CA") : 0, CB = perturbed ? m.First("CB") : 0,
                     CC = perturbed ? m.First("CC") : 0, CD = perturbed ? m.First("CD") : 0;
        EXPECT_EQ(m.First("L"), perturbed ? Angle_360_Deg(c.L + CA) : c.L);
        EXPECT_EQ(m.First("a"), perturbed ? c.a + CD / 1000000 : c.a);
        EXPECT_EQ(m.First("e"), perturbed ? c.e + CB / 1000000 : c.e);
        EXPECT_EQ(m.First("i"), c.i);
        // The perihelion takes the apse term over the eccentricity that holds its CB term.
        EXPECT_EQ(m.First("W"), perturbed ? Angle_360_Deg(c.W + CC / m.First("e")) : c.W);
        EXPECT_EQ(m.First("N"), c.N);
    }
    Module jupiter;
    jupiter.Run(Body::Jupiter, "1899", "12", "31");
    EXPECT_EQ(jupiter.First("Cu"), 0.1);
    EXPECT_EQ(jupiter.First("CP"), 237.475);
    EXPECT_EQ(jupiter.First("CQ"), 265.916);
    EXPECT_NE(jupiter.calc.report.Str().find(
                  "L = 238.049257 + (3036.301986 * T) + (0.0003347 * T * T) - (0.00000165 * T * T "
                  "* T) + CA = "),
              std::string::npos);
}

// Evaluates a formula text as ordinary arithmetic: numbers, names, Sin and Cos of an
// angle in degrees, unary minus, products and quotients before sums, left to right.
class Arithmetic {
  public:
    Arithmetic(std::string_view text, const std::map<std::string, double>& names)
        : text_(text), names_(names) {}

    double Value() {
        const double value = Sum();
        Blanks();
        if (at_ != text_.size()) throw std::runtime_error("unread text: " + Rest());
        return value;
    }

  private:
    double Sum() {
        double value = Product();
        for (;;) {
            if (Take('+'))
                value = value + Product();
            else if (Take('-'))
                value = value - Product();
            else
                return value;
        }
    }
    double Product() {
        double value = Factor();
        for (;;) {
            if (Take('*'))
                value = value * Factor();
            else if (Take('/'))
                value = value / Factor();
            else
                return value;
        }
    }
    double Factor() {
        if (Take('-')) return -Factor();
        if (Take('(')) return Closed(Sum());
        Blanks();
        if (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
            double number = 0;
            const auto [end, error] =
                std::from_chars(text_.data() + at_, text_.data() + text_.size(), number);
            if (error != std::errc()) throw std::runtime_error("bad number: " + Rest());
            at_ = end - text_.data();
            return number;
        }
        std::string name;
        while (at_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_'))
            name += text_[at_++];
        if (name == "Sin" && Take('(')) return Sine(Closed(Sum()));
        if (name == "Cos" && Take('(')) return Cosine(Closed(Sum()));
        const auto found = names_.find(name);
        if (found == names_.end()) throw std::runtime_error("unknown name: '" + name + "'");
        return found->second;
    }
    double Closed(double value) {
        if (!Take(')')) throw std::runtime_error("missing ')': " + Rest());
        return value;
    }
    bool Take(char c) {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
        return false;
    }
    void Blanks() {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    }
    std::string Rest() const { return std::string(text_.substr(at_)); }

    std::string_view text_;
    const std::map<std::string, double>& names_;
    std::size_t at_ = 0;
};

// The quoted formula texts of the arguments and periodic terms of Jupiter to Neptune,
// in the order the planet computes them.
struct Quoted {
    Body body;
    std::vector<std::string_view> texts;
};
const Quoted kQuoted[] = {
    {Body::Jupiter,
     {"Cu = (0.1 + (T / 5))", "CP = 237.475 + (3034.9061 * T)", "CQ = 265.916 + (1222.1139 * T)",
      "CV = (5 * CQ) - (2 * CP)", "CZ = CQ - CP",
      "CA = (0.3314 - 0.0103 * Cu - 0.0047 * Cu * Cu) * Sin(CV) + (0.0032 - 0.0644 * Cu + 0.0021 * "
      "Cu * Cu) * Cos(CV) + 0.0136 * Sin(CZ) + 0.0185 * Sin(2 * CZ) + 0.0067 * Sin(3 * CZ) + "
      "(0.0073 * Sin(CZ) + 0.0064 * Sin(2 * CZ) - 0.0338 * Cos(CZ)) * Sin(CQ) - (0.0357 * Sin(CZ) "
      "+ 0.0063 * Cos(CZ) + 0.0067 * Cos(2 * CZ)) * Cos(CQ)",
      "CB = (361 + 13 * Cu) * Sin(CV) + (129 - 58 * Cu) * Cos(CV) + (128 * Cos(CZ) - 676 * Sin(CZ) "
      "- 111 * Sin(2 * CZ)) * Sin(CQ) + (146 * Sin(CZ) - 82 + 607 * Cos(CZ) + 99 * Cos(2 * CZ) + "
      "51 * Cos(3 * CZ)) * Cos(CQ) - (96 * Sin(CZ) + 100 * Cos(CZ)) * Sin(2 * CQ) - (96 * Sin(CZ) "
      "- 102 * Cos(CZ)) * Cos(2 * CQ)",
      "CC = (0.0072 - 0.0031 * Cu) * Sin(CV) - 0.0204 * Cos(CV) + (0.0073 * Sin(CZ) + 0.034 * "
      "Cos(CZ) + 0.0056 * Cos(2 * CZ)) * Sin(CQ) + (0.0378 * Sin(CZ) + 0.0062 * Sin(2 * CZ) - "
      "0.0066 * Cos(CZ)) * Cos(CQ) - 0.0054 * Sin(CZ) * Sin(2 * CQ) + 0.0055 * Cos(CZ) * Cos(2 * "
      "CQ)",
      "CD = -263 * Cos(CV) + 205 * Cos(CZ) + 693 * Cos(2 * CZ) + 312 * Cos(3 * CZ) + 299 * Sin(CZ) "
      "* Sin(CQ) + (204 * Sin(2 * CZ) - 337 * Cos(CZ)) * Cos(CQ)"}},
    {Body::Saturn,
     {"Cu = 0.1 + (T / 5)", "CP = 237.475 + (3034.9061 * T)", "CQ = 265.916 + (1222.1139 * T)",
      "CV = (5 * CQ) - (2 * CP)", "CZ = CQ - CP",
      "CA = (-0.8142 + 0.0181 * Cu + 0.0167 * Cu * Cu) * Sin(CV) + (-0.0105 + 0.1609 * Cu - 0.0041 "
      "* Cu * Cu) * Cos(CV) - 0.1488 * Sin(CZ) - 0.0408 * Sin(2 * CZ) - 0.0152 * Sin(3 * CZ) + "
      "(0.0089 * Sin(CZ) - 0.0165 * Sin(2 * CZ)) * Sin(CQ) + (0.0813 * Cos(CZ) + 0.015 * Cos(2 * "
      "CZ)) * Sin(CQ) + (0.0856 * Sin(CZ) + 0.0253 * Cos(CZ) + 0.0144 * Cos(2 * CZ)) * Cos(CQ) + "
      "0.0092 * Sin(2 * CZ) * Sin(2 * CQ)",
      "CB = (-793 + 255 * Cu) * Sin(CV) + (1338 + 123 * Cu) * Cos(CV) + 1241 * Sin(CQ) + (39 - 62 "
      "* Cu) * Sin(CZ) * Sin(CQ) + (2660 * Cos(CZ) - 469 * Cos(2 * CZ) - 187 * Cos(3 * CZ) - 82 * "
      "Cos(4 * CZ)) * Sin(CQ) - (1270 * Sin(CZ) + 420 * Sin(2 * CZ) + 150 * Sin(3 * CZ)) * Cos(CQ) "
      "- 62 * Sin(4 * CZ) * Cos(CQ) + (221 * Sin(CZ) - 221 * Sin(2 * CZ) - 57 * Sin(3 * CZ)) * "
      "Sin(2 * CQ) - (278 * Cos(CZ) - 202 * Cos(2 * CZ)) * Sin(2 * CQ) - (284 * Sin(CZ) + 159 * "
      "Cos(CZ)) * Cos(2 * CQ) + (216 * Cos(2 * CZ) + 56 * Cos(3 * CZ)) * Cos(2 * CQ)",
      "CC = (0.0771 + 0.0072 * Cu) * Sin(CV) + (0.0458 - 0.0148 * Cu) * Cos(CV) - (0.0758 * "
      "Sin(CZ) + 0.0248 * Sin(2 * CZ) + 0.0086 * Sin(3 * CZ)) * Sin(CQ) - (0.0726 + 0.1504 * "
      "Cos(CZ) - 0.0269 * Cos(2 * CZ) - 0.0101 * Cos(3 * CZ)) * Cos(CQ) - (0.0136 * Sin(CZ) - "
      "0.0136 * Cos(2 * CZ)) * Sin(2 * CQ) - (0.0137 * Sin(CZ) - 0.012 * Sin(2 * CZ)) * Cos(2 * "
      "CQ) + (0.0149 * Cos(CZ) - 0.0131 * Cos(2 * CZ)) * Cos(2 * CQ)",
      "CD = 2933 * Cos(CV) + 33629 * Cos(CZ) - 3081 * Cos(2 * CZ) - 1423 * Cos(3 * CZ) - 671 * "
      "Cos(4 * CZ) + (1098 - 2812 * Sin(CZ) + 688 * Sin(2 * CZ)) * Sin(CQ) + (2138 * Cos(CZ) - 999 "
      "* Cos(2 * CZ) - 642 * Cos(3 * CZ)) * Sin(CQ) - 890 * Cos(CQ) + (2206 * Sin(CZ) - 1590 * "
      "Sin(2 * CZ) - 647 * Sin(3 * CZ)) * Cos(CQ) + (2885 * Cos(CZ) + 2172 * Cos(2 * CZ)) * "
      "Cos(CQ) - 778 * Cos(CZ) * Sin(2 * CQ) - 856 * Sin(CZ) * Cos(2 * CQ)"}},
    {Body::Uranus,
     {"Cu = 0.1 + (T / 5)", "CP = 237.475 + (3034.9061 * T)", "CQ = 265.916 + (1222.1139 * T)",
      "CH = 284.02 + (8.51 * T)", "CS = 243.52 + (428.47 * T)", "CZ = CS - CP", "CN = CS - CQ",
      "CT = 200.25 - (209.98 * T)",
      "CA = 0.8643 * Sin(CH) + 0.036 * Sin(2 * CH) + (0.0822 - 0.0068 * Cu) * Cos(CH)",
      "CB = 2098 * Cos(CH) - 335 * Sin(CH) + 131 * Cos(2 * CH)",
      "CC = 0.1203 * Sin(CH) + 0.0195 * Cos(CH) + 0.0062 * Sin(2 * CH)", "CD = -3825 * Cos(CH)"}},
    {Body::Neptune,
     {"CH = 284.02 + (8.51 * T)", "CZ = 153.71 + (2816.42 * T)", "CN = 182.15 + (1003.62 * T)",
      "CT = 200.25 - (209.98 * T)",
      "CA = -0.5898 * Sin(CH) - 0.0561 * Cos(CH) - 0.0243 * Sin(2 * CH)",
      "CB = 439 * Sin(CH) + 426 * Cos(CH) + 113 * Sin(2 * CH) + 109 * Cos(2 * CH)",
      "CC = 0.024 * Sin(CH) - 0.0253 * Cos(CH)",
      "CD = -817 * Sin(CH) + 8189 * Cos(CH) + 781 * Cos(2 * CH)"}},
};

// Every quoted formula, evaluated from T alone by the arithmetic above, gives the value
// the planet reports, and the report shows the text.
TEST(PlanetElements, PeriodicTermsAreTheQuotedFormulas) {
    const char* const kDates[][3] = {{"1650", "2", "3"},
                                     {"1899", "12", "31"},
                                     {"2005", "6", "17"},
                                     {"2150", "10", "9"},
                                     {"2400", "7", "28"}};
    for (const Quoted& planet : kQuoted) {
        for (const auto& date : kDates) {
            SCOPED_TRACE(std::string(BodyName(planet.body)) + " " + date[0]);
            Module m;
            ASSERT_EQ(m.Run(planet.body, date[0], date[1], date[2]), Outcome::Written);
            std::map<std::string, double> names{{"T", m.calc.T}};
            for (std::string_view text : planet.texts) {
                const std::string name(text.substr(0, text.find(" = ")));
                const double value = Arithmetic(text.substr(name.size() + 3), names).Value();
                names[name] = value;
                EXPECT_EQ(m.First(name), value) << text;
                EXPECT_NE(m.calc.report.Str().find(text), std::string::npos) << text;
            }
        }
    }
}

// The Sun's longitude and distance are those of the planet's own instant, whatever Sun
// command ran before, if any.
TEST(PlanetReport, UsesTheSunOfItsOwnInstant) {
    const std::string golden = Golden("report-saturn-2005-06-17-1200.txt");
    Module afterOtherSun;
    ASSERT_EQ(afterOtherSun.Run(Body::Sun, "1990", "1", "1", "6"), Outcome::Written);
    ASSERT_EQ(afterOtherSun.Run(Body::Saturn, "2005", "6", "17"), Outcome::Written);
    EXPECT_EQ(afterOtherSun.calc.report.Str(), golden);

    Module afterSameSun;
    ASSERT_EQ(afterSameSun.Run(Body::Sun, "2005", "6", "17"), Outcome::Written);
    ASSERT_EQ(afterSameSun.Run(Body::Saturn, "2005", "6", "17"), Outcome::Written);
    EXPECT_EQ(afterSameSun.calc.report.Str(), golden);

    Module withoutSun;
    ASSERT_EQ(withoutSun.Run(Body::Saturn, "2005", "6", "17"), Outcome::Written);
    EXPECT_EQ(withoutSun.calc.report.Str(), golden);
    EXPECT_EQ(withoutSun.calc.Long_Soleil, afterSameSun.calc.Long_Soleil);
    EXPECT_EQ(withoutSun.calc.R_soleil, afterSameSun.calc.R_soleil);
}

// Like the planet buttons, the command takes the day as given: 31 April is 1 May.
TEST(PlanetReport, DayBeyondTheMonthIsUsedAsGiven) {
    Module april31, may1;
    ASSERT_EQ(april31.Run(Body::Mars, "2005", "4", "31"), Outcome::Written);
    ASSERT_EQ(may1.Run(Body::Mars, "2005", "5", "1"), Outcome::Written);
    EXPECT_EQ(april31.calc.T, may1.calc.T);
    EXPECT_EQ(april31.calc.planet.L, may1.calc.planet.L);
}

// Calcul_Planete called directly: T = 1, the default place, a Sun placed by the test.
struct Reduction : Module {
    Reduction() {
        calc.T = 1;
        calc.JJ = 2415020 + 36525;
        calc.Lon = 5.5, calc.Lat = 33;
        calc.Long_Soleil = 100, calc.R_soleil = 1, calc.e_Soleil = 0.0167;
    }
    std::string Planete(double L, double a, double e, double i, double W, double N) {
        calc.report.Clear();
        return calc.Calcul_Planete(L, a, e, i, W, N, 10.0f);
    }
};

TEST(PlanetReduction, MeanAnomalyAtThePerihelion) {
    Reduction r;
    const double W = 60, N = 40;
    r.Planete(W + N, 1.5, 0.1, 2, W, N);  // L equal to W + N: no turn added
    EXPECT_EQ(r.First("m"), 0);
    EXPECT_EQ(r.First("EE"), 0);
    EXPECT_EQ(r.First("V"), 0);

    const double justBefore = (W + N) - 1e-9;
    r.Planete(justBefore, 1.5, 0.1, 2, W, N);
    EXPECT_EQ(r.First("m"), justBefore - (W + N) + 360);
    EXPECT_GT(r.First("m"), 359.99999);
    EXPECT_LT(r.First("m"), 360);
}

// At m = 180 both rules for U agree in exact arithmetic; these elements make them differ
// in the last digit, which tells the rule taken.
TEST(PlanetReduction, MeanAnomalyOf180TakesTheSecondHalfRule) {
    Reduction r;
    const double W = 59.96, N = 30.48, L = W + N + 180;
    r.Planete(L, 1.5, 0.1, 2, W, N);
    const double m = r.First("m"), V = r.First("V");
    ASSERT_EQ(m, 180);
    ASSERT_EQ(V, 180);
    const double firstHalf = Angle_360_Deg((L + V) - m - N);
    const double secondHalf = Angle_360_Deg((L + 360) - V - m - N);
    ASSERT_NE(firstHalf, secondHalf);
    EXPECT_EQ(r.First("U"), secondHalf);
}

// With the planet seen exactly at a right angle to the Sun's direction (X = 0), the
// longitude relative to the Sun keeps the heliocentric longitude.
TEST(PlanetReduction, NoQuadrantRuleKeepsTheHeliocentricLongitude) {
    Reduction r;
    const double L = 80, a = 2, e = 0.05, i = 10, W = 30, N = 50;
    r.Planete(L, a, e, i, W, N);
    const double heliocentric = r.All("L").at(0), b = r.First("b"), R_Pt = r.First("R_Pt");
    ASSERT_EQ(Cosine(180), -1);
    r.calc.Long_Soleil = heliocentric + 180;  // G = 180
    r.calc.R_soleil = R_Pt * Cosine(b);       // X = -R_Pt Cosine(b) + R_soleil = 0
    const std::string returned = r.Planete(L, a, e, i, W, N);
    ASSERT_EQ(r.First("G"), 180);
    const std::vector<double> longitudes = r.All("L");
    ASSERT_EQ(longitudes.size(), 3u);
    EXPECT_EQ(longitudes[0], heliocentric);
    EXPECT_EQ(longitudes[1], heliocentric);
    EXPECT_EQ(longitudes[2], Angle_360_Deg(heliocentric + r.calc.Long_Soleil));
    EXPECT_EQ(returned, r.calc.report.Num(longitudes[2]));
    EXPECT_NE(r.calc.report.Str().find("L = L + Long_Soleil = " + returned + "\r\n\r\n"),
              std::string::npos);
}

// The result struct holds what the report shows, and the same with the report off.
TEST(PlanetResult, HoldsTheReportedValuesWithOrWithoutTheReport) {
    for (Body body : kPlanets) {
        SCOPED_TRACE(BodyName(body));
        Module on;
        ASSERT_EQ(on.Run(body, "2005", "6", "17"), Outcome::Written);
        const PlanetResult& p = on.calc.planet;
        EXPECT_EQ(p.L, on.Last("L"));
        EXPECT_EQ(p.R_Pt, on.First("R_Pt"));
        EXPECT_EQ(p.Be, on.First("Be"));
        EXPECT_EQ(p.r_Pln_Erth, on.First("r_Pln_Erth"));
        EXPECT_EQ(p.O, on.First("O"));
        EXPECT_EQ(p.Asc, on.First("Asc"));
        EXPECT_EQ(p.Dec, on.First("Dec"));
        EXPECT_EQ(p.sky.TS_Loc, on.First("TS_Loc"));
        EXPECT_EQ(p.sky.Azimut, on.First("Azimut"));
        EXPECT_EQ(p.sky.Altitude, on.First("Altitude"));
        EXPECT_EQ(p.Paralax, on.First("Paralax"));
        EXPECT_EQ(p.topo.TopoDec, on.First("TopoDec"));
        EXPECT_EQ(p.Diam, on.First("Diam"));
        EXPECT_EQ(p.eLong, on.First("eLong"));
        EXPECT_EQ(p.illum, on.First("illum"));
        EXPECT_EQ(p.illum, ((1 + Cosine(p.FV)) / 2) * 100);

        Module off;
        off.calc.report.SetSinks(Report::kNone);
        ASSERT_EQ(off.Run(body, "2005", "6", "17"), Outcome::Written);
        const PlanetResult& q = off.calc.planet;
        EXPECT_EQ(off.calc.report.Str(), "");
        const double pv[] = {p.L,      p.R_Pt,    p.Be,           p.r_Pln_Erth,
                             p.O,      p.Asc,     p.Dec,          p.sky.TS_GMT,
                             p.sky.Ha, p.Paralax, p.topo.TopoAsc, p.topo.TopoDec,
                             p.Diam,   p.eLong,   p.FV,           p.illum};
        const double qv[] = {q.L,      q.R_Pt,    q.Be,           q.r_Pln_Erth,
                             q.O,      q.Asc,     q.Dec,          q.sky.TS_GMT,
                             q.sky.Ha, q.Paralax, q.topo.TopoAsc, q.topo.TopoDec,
                             q.Diam,   q.eLong,   q.FV,           q.illum};
        for (std::size_t k = 0; k < std::size(pv); ++k) EXPECT_EQ(pv[k], qv[k]) << k;
    }
}

// The observer's distance from the Earth's centre follows the Earth's figure: one
// equatorial radius on the equator, b/a = 0.996647 (WGS84) at the poles, and not the
// Sun's orbital eccentricity. The planet's parallax is the Sun's 8.794 arcseconds at
// one astronomical unit from the Earth, shrinking with the distance from the Earth.
TEST(PlanetTopocentric, EarthsFigureAndParallaxOfTheDistanceFromTheEarth) {
    const struct {
        const char* latitude;
        double DiCentre, tolerance;
    } kFigure[] = {{"0", 1.0, 1e-12}, {"45", 0.99833, 1e-12}, {"90", 0.996647, 2e-5}};
    for (const auto& c : kFigure) {
        SCOPED_TRACE(c.latitude);
        Module m;
        m.calc.fields.TxtDegLat = c.latitude;
        m.calc.fields.TxtMinLat = "0";
        ASSERT_EQ(m.Run(Body::Mars, "2005", "6", "17"), Outcome::Written);
        EXPECT_NEAR(m.calc.planet.topo.DiCentre, c.DiCentre, c.tolerance);
        const PlanetResult& p = m.calc.planet;
        EXPECT_NEAR(p.Paralax * 3600 * p.r_Pln_Erth, 8.794, 1e-9);
    }
}

// The diameter constant enters in single precision; Pluto's is about 0.01 arcseconds.
TEST(PlanetResult, DiameterConstantInSinglePrecision) {
    Module venus, pluto;
    venus.Run(Body::Venus, "2005", "6", "17");
    pluto.Run(Body::Pluto, "2005", "6", "17");
    EXPECT_EQ(venus.calc.planet.Diam, 16.920000076293945 / venus.calc.planet.r_Pln_Erth);
    EXPECT_NEAR(pluto.calc.planet.Diam, 0.4 / 31.0, 0.002);
}

// A planet at the equator: the topocentric declination takes its limit there and the
// report goes on to its end line.
TEST(PlanetLimits, EquatorWritesTheWholeReport) {
    for (const char* planet : kPlanetNames) {
        SCOPED_TRACE(planet);
        std::vector<std::string> args = ReportArgs(planet, "2005", "6", "17");
        args.insert(args.end(), {"--lat-deg", "0", "--lat-min", "0"});
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out.ends_with(kEndLine));
    }
}

// A year far outside the theories' range drives the eccentricity beyond 1: the command
// stops with a message naming the true anomaly; the report up to it is kept.
TEST(PlanetLimits, AbsurdYearStopsWithAMessageAndKeepsThePartialReport) {
    const CliResult r = RunCli(ReportArgs("mercury", "1000000", "3", "1"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("could not compute V"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("R_Pt = a * (1 - (e * Cosine(EE))) = "), std::string::npos);
    EXPECT_EQ(r.out.find("V = ArcCos"), std::string::npos);
    EXPECT_EQ(r.out.find(kEndLine), std::string::npos);

    Module m;
    EXPECT_EQ(m.Run(Body::Pluto, "1e300", "1", "1"), Outcome::Fault);
    ASSERT_EQ(m.messages.messages.size(), 1u);
    EXPECT_NE(m.messages.messages[0].english.find("could not compute L"), std::string::npos);
}

}  // namespace
}  // namespace zerin::test
