// The eight planets' heliocentric orbital elements for the instant T, each written with
// its formula, then handed to Calcul_Planete: mean longitude L, argument of perihelion W
// and node N in degrees (0..360), inclination i in degrees, semi-major axis a in
// astronomical units, eccentricity e. Jupiter to Neptune add periodic terms (CA to L in
// degrees, CB to e and CD to a in millionths, CC / e to W) whose arguments, in degrees,
// are never reduced. One routine serves all eight, driven by each planet's table of formulas.
#include <span>
#include <string_view>

#include "math/Angles.h"
#include "report/ModCalcule.h"

namespace zerin {

namespace {

// Sin and Cos of the formula texts: sine and cosine of an angle in degrees.
double Sin(double degrees) {
    return Sine(degrees);
}
double Cos(double degrees) {
    return Cosine(degrees);
}

// The quantities of one planet's procedure, under the names its formula texts use.
struct Quantities {
    double T = 0;
    double Cu = 0, CP = 0, CQ = 0, CV = 0, CZ = 0, CH = 0, CS = 0, CN = 0, CT = 0;
    double CA = 0, CB = 0, CC = 0, CD = 0;
    double L = 0, a = 0, e = 0, i = 0, W = 0, N = 0;
};

// One reported quantity: the text before its value and the computation it stands for.
struct Formula {
    const char* name;  // the quantity's name for the value list and fault messages
    Unit unit;
    std::string_view text;
    double Quantities::*slot;
    double (*compute)(const Quantities&);
    std::string_view joiner = " = ";
};

}  // namespace

// The tables below keep the formula texts' own spacing.
// clang-format off

// The report's formula text is the very expression computed, spelt by the preprocessor,
// so that the text shown and the value cannot drift apart. Each expression is evaluated
// as C++ reads it, which is how the texts read: products before sums, left to right.
#define ZERIN_FORMULA_FRAMED(slot, unit, before, after, joiner, ...)                        \
    Formula {                                                                                \
        #slot, unit, before #__VA_ARGS__ after, &Quantities::slot,                          \
            [](const Quantities& q) -> double {                                             \
                [[maybe_unused]] const auto& [T, Cu, CP, CQ, CV, CZ, CH, CS, CN, CT, CA, CB, \
                                              CC, CD, L, a, e, i, W, N] = q;                 \
                return __VA_ARGS__;                                                          \
            },                                                                               \
            joiner                                                                           \
    }
#define ZERIN_FORMULA_SHOWN(slot, shown, unit, ...) \
    ZERIN_FORMULA_FRAMED(slot, unit, #shown " = ", "", " = ", __VA_ARGS__)
#define ZERIN_FORMULA(slot, unit, ...) ZERIN_FORMULA_SHOWN(slot, slot, unit, __VA_ARGS__)

namespace {

using enum Unit;


// Arguments of the periodic terms.
constexpr Formula kCP = ZERIN_FORMULA(CP, Degrees, 237.475 + (3034.9061 * T));
constexpr Formula kCQ = ZERIN_FORMULA(CQ, Degrees, 265.916 + (1222.1139 * T));
constexpr Formula kCV = ZERIN_FORMULA(CV, Degrees, (5 * CQ) - (2 * CP));
constexpr Formula kCuPlain = ZERIN_FORMULA(Cu, None, 0.1 + (T / 5));
constexpr Formula kCH = ZERIN_FORMULA(CH, Degrees, 284.02 + (8.51 * T));
constexpr Formula kCT = ZERIN_FORMULA(CT, Degrees, 200.25 - (209.98 * T));

constexpr Formula kJupiterArguments[] = {
    ZERIN_FORMULA(Cu, None, (0.1 + (T / 5))), kCP, kCQ, kCV,
    ZERIN_FORMULA(CZ, Degrees, CQ - CP)};
constexpr Formula kSaturnArguments[] = {
    kCuPlain, kCP, kCQ, kCV, ZERIN_FORMULA(CZ, Degrees, CQ - CP)};
constexpr Formula kUranusArguments[] = {
    kCuPlain, kCP, kCQ, kCH,
    ZERIN_FORMULA(CS, Degrees, 243.52 + (428.47 * T)),
    ZERIN_FORMULA(CZ, Degrees, CS - CP),
    ZERIN_FORMULA(CN, Degrees, CS - CQ),
    kCT};
constexpr Formula kNeptuneArguments[] = {
    kCH,
    ZERIN_FORMULA(CZ, Degrees, 153.71 + (2816.42 * T)),
    ZERIN_FORMULA(CN, Degrees, 182.15 + (1003.62 * T)),
    kCT};

// Periodic terms CA (degrees), CB (millionths of eccentricity), CC and CD (millionths of
// an astronomical unit). CC is e times the shift of the perihelion, in degrees (the
// other half of one perturbation of the eccentricity vector, with CB): W takes CC / e,
// with the e that already holds its CB term.
constexpr Formula kJupiterTerms[] = {
    ZERIN_FORMULA(CA, Degrees, (0.3314 - 0.0103 * Cu - 0.0047 * Cu * Cu) * Sin(CV) + (0.0032 - 0.0644 * Cu + 0.0021 * Cu * Cu) * Cos(CV) + 0.0136 * Sin(CZ) + 0.0185 * Sin(2 * CZ) + 0.0067 * Sin(3 * CZ) + (0.0073 * Sin(CZ) + 0.0064 * Sin(2 * CZ) - 0.0338 * Cos(CZ)) * Sin(CQ) - (0.0357 * Sin(CZ) + 0.0063 * Cos(CZ) + 0.0067 * Cos(2 * CZ)) * Cos(CQ)),
    ZERIN_FORMULA(CB, None, (361 + 13 * Cu) * Sin(CV) + (129 - 58 * Cu) * Cos(CV) + (128 * Cos(CZ) - 676 * Sin(CZ) - 111 * Sin(2 * CZ)) * Sin(CQ) + (146 * Sin(CZ) - 82 + 607 * Cos(CZ) + 99 * Cos(2 * CZ) + 51 * Cos(3 * CZ)) * Cos(CQ) - (96 * Sin(CZ) + 100 * Cos(CZ)) * Sin(2 * CQ) - (96 * Sin(CZ) - 102 * Cos(CZ)) * Cos(2 * CQ)),
    ZERIN_FORMULA(CC, Degrees, (0.0072 - 0.0031 * Cu) * Sin(CV) - 0.0204 * Cos(CV) + (0.0073 * Sin(CZ) + 0.034 * Cos(CZ) + 0.0056 * Cos(2 * CZ)) * Sin(CQ) + (0.0378 * Sin(CZ) + 0.0062 * Sin(2 * CZ) - 0.0066 * Cos(CZ)) * Cos(CQ) - 0.0054 * Sin(CZ) * Sin(2 * CQ) + 0.0055 * Cos(CZ) * Cos(2 * CQ)),
    ZERIN_FORMULA(CD, None, -263 * Cos(CV) + 205 * Cos(CZ) + 693 * Cos(2 * CZ) + 312 * Cos(3 * CZ) + 299 * Sin(CZ) * Sin(CQ) + (204 * Sin(2 * CZ) - 337 * Cos(CZ)) * Cos(CQ))};
constexpr Formula kSaturnTerms[] = {
    ZERIN_FORMULA(CA, Degrees, (-0.8142 + 0.0181 * Cu + 0.0167 * Cu * Cu) * Sin(CV) + (-0.0105 + 0.1609 * Cu - 0.0041 * Cu * Cu) * Cos(CV) - 0.1488 * Sin(CZ) - 0.0408 * Sin(2 * CZ) - 0.0152 * Sin(3 * CZ) + (0.0089 * Sin(CZ) - 0.0165 * Sin(2 * CZ)) * Sin(CQ) + (0.0813 * Cos(CZ) + 0.015 * Cos(2 * CZ)) * Sin(CQ) + (0.0856 * Sin(CZ) + 0.0253 * Cos(CZ) + 0.0144 * Cos(2 * CZ)) * Cos(CQ) + 0.0092 * Sin(2 * CZ) * Sin(2 * CQ)),
    ZERIN_FORMULA(CB, None, (-793 + 255 * Cu) * Sin(CV) + (1338 + 123 * Cu) * Cos(CV) + 1241 * Sin(CQ) + (39 - 62 * Cu) * Sin(CZ) * Sin(CQ) + (2660 * Cos(CZ) - 469 * Cos(2 * CZ) - 187 * Cos(3 * CZ) - 82 * Cos(4 * CZ)) * Sin(CQ) - (1270 * Sin(CZ) + 420 * Sin(2 * CZ) + 150 * Sin(3 * CZ)) * Cos(CQ) - 62 * Sin(4 * CZ) * Cos(CQ) + (221 * Sin(CZ) - 221 * Sin(2 * CZ) - 57 * Sin(3 * CZ)) * Sin(2 * CQ) - (278 * Cos(CZ) - 202 * Cos(2 * CZ)) * Sin(2 * CQ) - (284 * Sin(CZ) + 159 * Cos(CZ)) * Cos(2 * CQ) + (216 * Cos(2 * CZ) + 56 * Cos(3 * CZ)) * Cos(2 * CQ)),
    ZERIN_FORMULA(CC, Degrees, (0.0771 + 0.0072 * Cu) * Sin(CV) + (0.0458 - 0.0148 * Cu) * Cos(CV) - (0.0758 * Sin(CZ) + 0.0248 * Sin(2 * CZ) + 0.0086 * Sin(3 * CZ)) * Sin(CQ) - (0.0726 + 0.1504 * Cos(CZ) - 0.0269 * Cos(2 * CZ) - 0.0101 * Cos(3 * CZ)) * Cos(CQ) - (0.0136 * Sin(CZ) - 0.0136 * Cos(2 * CZ)) * Sin(2 * CQ) - (0.0137 * Sin(CZ) - 0.012 * Sin(2 * CZ)) * Cos(2 * CQ) + (0.0149 * Cos(CZ) - 0.0131 * Cos(2 * CZ)) * Cos(2 * CQ)),
    ZERIN_FORMULA(CD, None, 2933 * Cos(CV) + 33629 * Cos(CZ) - 3081 * Cos(2 * CZ) - 1423 * Cos(3 * CZ) - 671 * Cos(4 * CZ) + (1098 - 2812 * Sin(CZ) + 688 * Sin(2 * CZ)) * Sin(CQ) + (2138 * Cos(CZ) - 999 * Cos(2 * CZ) - 642 * Cos(3 * CZ)) * Sin(CQ) - 890 * Cos(CQ) + (2206 * Sin(CZ) - 1590 * Sin(2 * CZ) - 647 * Sin(3 * CZ)) * Cos(CQ) + (2885 * Cos(CZ) + 2172 * Cos(2 * CZ)) * Cos(CQ) - 778 * Cos(CZ) * Sin(2 * CQ) - 856 * Sin(CZ) * Cos(2 * CQ))};
constexpr Formula kUranusTerms[] = {
    ZERIN_FORMULA(CA, Degrees, 0.8643 * Sin(CH) + 0.036 * Sin(2 * CH) + (0.0822 - 0.0068 * Cu) * Cos(CH)),
    ZERIN_FORMULA(CB, None, 2098 * Cos(CH) - 335 * Sin(CH) + 131 * Cos(2 * CH)),
    ZERIN_FORMULA(CC, Degrees, 0.1203 * Sin(CH) + 0.0195 * Cos(CH) + 0.0062 * Sin(2 * CH)),
    ZERIN_FORMULA(CD, None, -3825 * Cos(CH))};
constexpr Formula kNeptuneTerms[] = {
    ZERIN_FORMULA(CA, Degrees, -0.5898 * Sin(CH) - 0.0561 * Cos(CH) - 0.0243 * Sin(2 * CH)),
    ZERIN_FORMULA(CB, None, 439 * Sin(CH) + 426 * Cos(CH) + 113 * Sin(2 * CH) + 109 * Cos(2 * CH)),
    ZERIN_FORMULA(CC, Degrees, 0.024 * Sin(CH) - 0.0253 * Cos(CH)),
    ZERIN_FORMULA(CD, None, -817 * Sin(CH) + 8189 * Cos(CH) + 781 * Cos(2 * CH))};

// The elements, in the order of the report's lines: L, a, e, i, W, N for Mercury to
// Mars; a, L, e, i, W, N for Jupiter to Pluto.
constexpr Formula kMercuryElements[] = {
    ZERIN_FORMULA(L, Degrees, 178.179078 + (149474.07078 * T) + (0.0003011 * T * T)),
    ZERIN_FORMULA(a, AU, 0.3870986),
    ZERIN_FORMULA(e, None, 0.20561421 + (0.00002046 * T) - (0.00000003 * T * T)),
    ZERIN_FORMULA(i, Degrees, 7.002881 + (0.0018608 * T) - (0.0000183 * T * T)),
    ZERIN_FORMULA(W, Degrees, 28.753753 + (0.3702806 * T) + (0.0001208 * T * T)),
    ZERIN_FORMULA(N, Degrees, 47.145944 + (1.1852083 * T) + (0.0001739 * T * T))};
constexpr Formula kVenusElements[] = {
    ZERIN_FORMULA(L, Degrees, 342.767053 + (58519.21191 * T) + (0.0003097 * T * T)),
    ZERIN_FORMULA(a, AU, 0.7233316),
    ZERIN_FORMULA(e, None, 0.00682069 - (0.00004774 * T) - (0.000000091 * T * T)),
    ZERIN_FORMULA(i, Degrees, 3.393631 + (0.0010058 * T) - (0.000001 * T * T)),
    ZERIN_FORMULA(W, Degrees, 54.384186 + (0.5081861 * T) - (0.0013864 * T * T)),
    ZERIN_FORMULA(N, Degrees, 75.779647 + (0.89985 * T) + (0.00041 * T * T))};
constexpr Formula kMarsElements[] = {
    ZERIN_FORMULA(L, Degrees, 293.737334 + (19141.69551 * T) + (0.0003107 * T * T)),
    ZERIN_FORMULA(a, AU, 1.5236883),
    ZERIN_FORMULA(e, None, 0.0933129 + (0.000092064 * T) - (0.000000077 * T * T)),
    ZERIN_FORMULA(i, Degrees, 1.850333 - (0.000675 * T) + (0.0000126 * T * T)),
    ZERIN_FORMULA(W, Degrees, 285.431761 + (1.0697667 * T) + (0.0001313 * T * T) + (0.00000414 * T * T * T)),
    ZERIN_FORMULA(N, Degrees, 48.786442 + (0.7709917 * T) - (0.0000014 * T * T) - (0.00000533 * T * T * T))};
constexpr Formula kJupiterElements[] = {
    ZERIN_FORMULA(a, AU, 5.202561 + (CD / 1000000)),
    ZERIN_FORMULA(L, Degrees, 238.049257 + (3036.301986 * T) + (0.0003347 * T * T) - (0.00000165 * T * T * T) + CA),
    ZERIN_FORMULA(e, None, 0.04833475 + (0.00016418 * T) - (0.0000004676 * T * T) - (0.0000000017 * T * T * T) + (CB / 1000000)),
    ZERIN_FORMULA(i, Degrees, 1.308736 - (0.0056961 * T) + (0.0000039 * T * T)),
    ZERIN_FORMULA(W, Degrees, 273.277558 + (0.5994317 * T) + (0.00070405 * T * T) + (0.00000508 * T * T * T) + (CC / e)),
    ZERIN_FORMULA(N, Degrees, 99.443414 + (1.01053 * T) + (0.00035222 * T * T) - (0.00000851 * T * T * T))};
constexpr Formula kSaturnElements[] = {
    ZERIN_FORMULA(a, AU, 9.554747 + (CD / 1000000)),
    ZERIN_FORMULA(L, Degrees, 266.564377 + (1223.509884 * T) + (0.0003245 * T * T) - (0.0000058 * T * T * T) + CA),
    ZERIN_FORMULA(e, None, 0.05589232 - (0.0003455 * T) - (0.000000728 * T * T) + (0.00000000074 * T * T * T) + CB / 1000000),
    ZERIN_FORMULA(i, Degrees, 2.492519 - (0.0039189 * T) - (0.00001549 * T * T) + (0.00000004 * T * T * T)),
    ZERIN_FORMULA(W, Degrees, 338.3078 + (1.0852207 * T) + (0.00097854 * T * T) + (0.00000992 * T * T * T) + (CC / e)),
    ZERIN_FORMULA(N, Degrees, 112.790414 + (0.8731951 * T) - (0.00015218 * T * T) - (0.00000531 * T * T * T))};
constexpr Formula kUranusElements[] = {
    ZERIN_FORMULA(a, AU, 19.21814 + (CD / 1000000)),
    ZERIN_FORMULA(L, Degrees, 244.19747 + (429.863546 * T) + (0.000316 * T * T) - (0.0000006 * T * T * T) + CA),
    ZERIN_FORMULA(e, None, 0.0463444 - (0.00002658 * T) + (0.000000077 * T * T) + CB / 1000000),
    ZERIN_FORMULA(i, Degrees, 0.772464 + (0.0006253 * T) + (0.0000395 * T * T)),
    ZERIN_FORMULA(W, Degrees, 98.071581 + (0.985765 * T) - (0.0010745 * T * T) - (0.00000061 * T * T * T) + (CC / e)),
    ZERIN_FORMULA(N, Degrees, 73.477111 + (0.4986678 * T) + (0.0013117 * T * T))};
constexpr Formula kNeptuneElements[] = {
    ZERIN_FORMULA(a, AU, 30.10957 + (CD / 1000000)),
    ZERIN_FORMULA(L, Degrees, 84.457994 + (219.885914 * T) + (0.0003205 * T * T) - (0.0000006 * T * T * T) + CA),
    ZERIN_FORMULA_SHOWN(e, E, None, 0.00899704 + (0.00000633 * T) - (0.000000002 * T * T) + CB / 1000000),
    ZERIN_FORMULA(i, Degrees, 1.779242 - (0.0095436 * T) - (0.0000091 * T * T)),
    ZERIN_FORMULA(W, Degrees, 276.045975 + (0.3256394 * T) + (0.00014095 * T * T) + (0.000004113 * T * T * T) + (CC / e)),
    ZERIN_FORMULA(N, Degrees, 130.681389 + (1.098935 * T) + (0.00024987 * T * T) - (0.000004718 * T * T * T))};
// Pluto's texts keep their odd shapes: a closing parenthesis without an opening one, and
// a node line that carries its own " = ".
constexpr Formula kPlutoElements[] = {
    ZERIN_FORMULA_FRAMED(a, AU, "a = ", ")", " = ", 39.482455891535 - 0.000769121535 * T),
    ZERIN_FORMULA(L, Degrees, 92.59402925 + ( 146.35677075 * T )),
    ZERIN_FORMULA_SHOWN(e, E, None, 0.2487430100195 + ( 0.0000646499805 * T )),
    ZERIN_FORMULA(i, Degrees, 17.1386750004275 + ( 0.0030749995725 * T )),
    ZERIN_FORMULA(W, Degrees, 113.789656667 - ( 0.0367361145 * T )),
    ZERIN_FORMULA_FRAMED(N, Degrees, " N = ", " = ", "", 110.3138394475 - (0.0103694475 * T))};

#undef ZERIN_FORMULA
#undef ZERIN_FORMULA_SHOWN
#undef ZERIN_FORMULA_FRAMED

// How a line is laid out: A and C with the value (C leaves two empty lines after it),
// B with the formula on the label's line and no value.
enum class Shape { A, B, C };

// A line's label: `before`, then, when `named`, the planet's name and a blank.
struct Line {
    std::string_view before;
    bool named;
    Shape shape;
};

constexpr std::string_view kAxisLabel = " بعد الكوكب المتوسط و هو نصف القطر الكبير لمدار  ";

constexpr Line kInnerLines[] = {{" وسط ", true, Shape::A},
                                {kAxisLabel, true, Shape::B},
                                {" إنحراف المدار ", false, Shape::A},
                                {" تعديل العرض ", false, Shape::A},
                                {" حصّة الأوج ", false, Shape::A},
                                {" العقدة ", false, Shape::A}};
constexpr Line kOuterLines[] = {{kAxisLabel, true, Shape::C},
                                {" وسط ", true, Shape::C},
                                {" إنحراف مدار ", true, Shape::C},
                                {" تعديل عرض ", true, Shape::C},
                                {" حصّة أوج ", true, Shape::C},
                                {" عقدة ", true, Shape::C}};
constexpr Line kArgumentsLine = {" أدلّة ضميمة ", true, Shape::C};
constexpr Line kTermLines[] = {{" ضميمة وسط ", true, Shape::C},
                               {" ضميمة إنحراف مدار ", true, Shape::C},
                               {" ضميمة أوج ", true, Shape::C},
                               {" ضميمة بعد ", true, Shape::C}};

struct Planet {
    std::string_view name;  // as the labels write it
    float diam_Pln;  // arcseconds at one astronomical unit, in single precision (6.74f enters
                     // the diameter as 6.739999771118164)
    std::span<const Formula> arguments, terms, elements;
    std::span<const Line> elementLines;
};

constexpr Planet kMercury{"عطارد", 6.74f, {}, {}, kMercuryElements, kInnerLines};
constexpr Planet kVenus{"الزهرة", 16.92f, {}, {}, kVenusElements, kInnerLines};
constexpr Planet kMars{"المريخ", 9.36f, {}, {}, kMarsElements, kInnerLines};
constexpr Planet kJupiter{"المشتري", 196.94f, kJupiterArguments, kJupiterTerms, kJupiterElements, kOuterLines};
constexpr Planet kSaturn{"زحل", 165.6f, kSaturnArguments, kSaturnTerms, kSaturnElements, kOuterLines};
constexpr Planet kUranus{"أورانوس", 65.8f, kUranusArguments, kUranusTerms, kUranusElements, kOuterLines};
constexpr Planet kNeptune{"نبتون", 62.2f, kNeptuneArguments, kNeptuneTerms, kNeptuneElements, kOuterLines};
constexpr Planet kPluto{"بلوطون", 0.4f, {}, {}, kPlutoElements, kOuterLines};

// clang-format on

// The mean longitude, the perihelion and the node are carried within one turn.
bool ReducedToOneTurn(double Quantities::*slot) {
    return slot == &Quantities::L || slot == &Quantities::W || slot == &Quantities::N;
}

// Computes the formula's quantity into q and returns it.
double Evaluate(Report& r, const Formula& f, Quantities& q) {
    r.At(f.name, f.unit);
    double value = f.compute(q);
    if (ReducedToOneTurn(f.slot)) value = Angle_360_Deg(value);
    q.*f.slot = value;
    return value;
}

// One quantity's line in the shape its Line gives.
void WriteLine(Report& r, const Line& line, std::string_view planetName, const Formula& f,
               Quantities& q) {
    const double value = Evaluate(r, f, q);
    const std::string_view name = line.named ? planetName : "";
    const std::string_view blank = line.named ? " " : "";
    switch (line.shape) {
        case Shape::A:
            r.Item({line.before, name, blank, "\r\n", f.text, f.joiner}, value);
            break;
        case Shape::B:
            r.Value(value);
            r.Raw({line.before, name, blank, f.text, "\r\n\r\n"});
            break;
        case Shape::C:
            r.Item({line.before, name, blank, "\r\n", f.text, f.joiner}, value, "\r\n\r\n\r\n");
            break;
    }
}

// The arguments of the periodic terms on one line group: each with its value.
void WriteArguments(Report& r, const Planet& planet, Quantities& q) {
    r.Raw({kArgumentsLine.before, planet.name, " ", "\r\n"});
    for (const Formula& f : planet.arguments) r.Item({f.text, f.joiner}, Evaluate(r, f, q), "\r\n");
    r.Raw({"\r\n\r\n"});
}

constexpr const Planet* kPlanets[] = {&kMercury, &kVenus,  &kMars,    &kJupiter,
                                      &kSaturn,  &kUranus, &kNeptune, &kPluto};

}  // namespace

PlanetResult WritePlanetReport(Report& r, const Observer& o, const SunPlace& sun, Body body) {
    const Planet& planet = *kPlanets[static_cast<int>(body) - static_cast<int>(Body::Mercury)];
    Quantities q;
    q.T = o.T;
    if (!planet.arguments.empty()) WriteArguments(r, planet, q);
    for (std::size_t k = 0; k < planet.terms.size(); ++k)
        WriteLine(r, kTermLines[k], planet.name, planet.terms[k], q);
    for (std::size_t k = 0; k < planet.elements.size(); ++k)
        WriteLine(r, planet.elementLines[k], planet.name, planet.elements[k], q);
    const PlanetResult p = Calcul_Planete(r, o, sun.Lg_Soleil, sun.R_soleil,
                                          {q.L, q.a, q.e, q.i, q.W, q.N}, planet.diam_Pln);
    r.Raw({kEndLine});
    return p;
}

}  // namespace zerin
