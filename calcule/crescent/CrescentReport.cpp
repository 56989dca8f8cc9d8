// The crescent's report: each quantity of the routines of Crescent.cpp with its Arabic
// label, its formula and its value.
#include "crescent/CrescentReport.h"

#include <cmath>
#include <string>

#include "math/Angles.h"
#include "report/Report.h"
#include "time/JulianDay.h"

namespace zerin {

namespace {

// ------------------------------------------------------------------ Delta T

const char* const kDeltaTBanner =
    "******************* الفرق بين الزمن الأرضي و الزمن العالمي ***********************\r\n\r\n";

const SectionText kDecimalYear =
    " السنة العشرية لمنتصف الشهر المطلوب\r\n"
    "y = Year + ((Month - 0.5) / 12)\r\n"
    " = {y}\r\n\r\n";

// What each basis of Delta T means, in the order of the enumeration.
const char* BasisText(DeltaTBasis basis) {
    static constexpr const char* kTexts[] = {
        "قيمة تقريبية من أرصاد الكسوف القديمة ، قد تخطئ بدقائق\r\n\r\n",
        "قيمة مرصودة : من أوقات الاحتجاب بالمقراب ثم بالساعات الذرية\r\n\r\n",
        "قيمة مستقرأة لما بعد آخر الأرصاد التي بُنيت عليها المعادلة ( 2005 )\r\n\r\n"};
    return kTexts[static_cast<int>(basis)];
}

const SectionText kTerrestrialTime =
    " الزمن الأرضي لزوال اليوم المطلوب بالتاريخ اليوليوزي ، و منه T لنظريتي الشمس و القمر\r\n"
    "TT = JJ + (DeltaT / 86400)\r\n"
    " = {TT:d}\r\n\r\n"
    "T = (TT - 2415020) / 36525 = {T:cy}\r\n\r\n"
    "و في كل لحظة فيما يلي تؤخذ الشمس و القمر في الزمن الأرضي و التوقيت النجمي في الزمن "
    "العالمي\r\n\r\n\r\n";

void WriteDeltaT(Report& report, const DeltaTValue& d, double JJ) {
    report.Section(kDecimalYear, {d.y}, kDeltaTBanner);
    report.At("DeltaT", Unit::Seconds);
    const DeltaTStretch& s = *d.stretch;
    report.Item({" الفرق بالثواني بين الزمن الأرضي المنتظم و الزمن العالمي التابع لدوران الأرض\r\n",
                 s.condition, "\r\n", s.variable, "\r\n", s.formula, "\r\n", " = "},
                d.DeltaT);
    report.Raw({BasisText(s.basis)});
    const double TT = JJ + d.DeltaT / 86400;
    report.Section(kTerrestrialTime, {TT, JulianCenturies(TT)});
}

// ------------------------------------------------------------------ the conjunction

const SectionText kMeanConjunction =
    "******************* الاجتماع ***********************\r\n\r\n"
    " رقم الشهر القمري بعد الاجتماع الوسطي لـ 6 يناير 2000\r\n"
    "k = Int(((TT - 2451550.09766) / 29.530588861) + 0.5)\r\n"
    " = {k}\r\n"
    "تعني أكبر عدد صحيح لا يتجاوز العدد  Int \r\n\r\n"
    " وقت الاجتماع الوسطي بالتاريخ اليوليوزي في الزمن الأرضي\r\n"
    "Tk = k / 1236.85\r\n"
    "JJ0 = 2451550.09766 + (29.530588861 * k) + (0.00015437 * Tk * Tk) - (0.00000015 * Tk * Tk "
    "* Tk) + (0.00000000073 * Tk * Tk * Tk * Tk)\r\n"
    " = {JJ0:d}\r\n\r\n"
    " الاجتماع الوسطي بالزمن العالمي\r\n"
    "JJ1 = JJ0 - (DeltaT / 86400)\r\n"
    " = {JJ1:d}\r\n\r\n"
    " تقريب وقت الاجتماع : الفرق بين طول القمر و طول الشمس في كل خطوة بالدرج ( بين -180 و 180 )\r\n"
    "Dif = Lg_Lune - Lg_Soleil\r\n"
    "JJ2 = JJ1 - (Dif1 / 12.1907491)\r\n"
    "JJ(n+1) = JJn - (Dif(n) * (JJn - JJ(n-1)) / (Dif(n) - Dif(n-1)))\r\n"
    "إلى أن يكون الفرق بين خطوتين أقل من جزء من الألف من الثانية\r\n";

const SectionText kConjunctionStep = "n = {n} : JJ = {JJn:d} : Dif = {Dif:deg}\r\n";

const SectionText kConjunction =
    "\r\n وقت الاجتماع بالتاريخ اليوليوزي في الزمن العالمي\r\n"
    "Conj = {Conj:d}\r\n\r\n"
    " تاريخ الاجتماع و وقته بتوقيت المنطقة\r\n"
    "Year = {ConjYear}\r\n"
    "Month = {ConjMonth}\r\n"
    "Day = {ConjDay}\r\n"
    "Time = {ConjTime:hms}\r\n\r\n\r\n";

void WriteConjunction(Report& report, const Conjunction& c, double Zone) {
    report.Section(kMeanConjunction, {c.k, c.JJ0, c.JJ1});
    for (int n = 0; n < c.count; ++n)
        report.Section(kConjunctionStep, {double(n + 1), c.steps[n].JJ, c.steps[n].Dif});
    // The zone's standard time: Zone hours behind Greenwich (East negative).
    const CalendarDate local = CalendarDateOf(c.JJ - Zone / 24);
    const double day = std::floor(local.day);
    report.Section(kConjunction, {c.JJ, local.year, local.month, day, (local.day - day) * 24});
}

// ------------------------------------------------------------------ rising and setting

// The texts of one body's crossing, evening or morning.
struct CrossingTexts {
    SectionText method, step, result;
    std::string failed[4];  // by Crossing::Kind: the line that says why there is none
};

std::string MethodText(Luminary body, bool morning) {
    const bool sun = body == Luminary::Sun;
    std::string t;
    if (sun)
        t += morning ? "******************* شروق الشمس و القمر ***********************\r\n\r\n"
                     : "******************* غروب الشمس و القمر ***********************\r\n\r\n";
    t += sun ? (morning ? " وقت شروق الشمس : حين تلامس حافتها العليا الأفق مع الانكسار المعتاد "
                        : " وقت غروب الشمس : حين تلامس حافتها العليا الأفق مع الانكسار المعتاد ")
             : (morning ? " وقت شروق القمر : حين تلامس حافته العليا الأفق مع الانكسار و اختلاف "
                          "المنظر "
                        : " وقت غروب القمر : حين تلامس حافته العليا الأفق مع الانكسار و اختلاف "
                          "المنظر ");
    t += sun ? "، أي مركزها على الارتفاع h0 بالدرج\r\n" : "، أي مركزه على الارتفاع h0 بالدرج\r\n";
    t += sun ? "h0 = -0.8333\r\n" : "h0 = (0.7275 * Paralax) - 0.5667\r\n";
    t += " زاوية الساعة حين يكون المركز على الارتفاع h0 بالدرج\r\n"
         "Ha0 = ArcCos((Sine(h0) - (Sine(Lat) * Sine(Dec))) / (Cosine(Lat) * Cosine(Dec)))\r\n";
    t += sun ? " في كل خطوة : موقع الشمس في اللحظة UT ، ثم زاوية ساعتها Ha بين -180 و 180\r\n"
             : " في كل خطوة : موقع القمر في اللحظة UT ، ثم زاوية ساعته Ha بين -180 و 180\r\n";
    t += morning ? "UT = UT + ((-Ha0 - Ha) / 360.985647)\r\n"
                 : "UT = UT + ((Ha0 - Ha) / 360.985647)\r\n";
    t += sun ? "تبدأ الخطوة الأولى من الزوال ، و تنتهي الخطوات حين تقل الخطوة عن جزء من مئة من "
               "الثانية\r\n"
             : (morning ? "تبدأ الخطوات من وقت شروق الشمس إلى أقرب شروق للقمر\r\n"
                        : "تبدأ الخطوات من وقت غروب الشمس إلى أقرب غروب للقمر\r\n");
    return t;
}

CrossingTexts MakeCrossingTexts(Luminary body, bool morning) {
    const bool sun = body == Luminary::Sun;
    const std::string name =
        sun ? (morning ? "Lever" : "Coucher") : (morning ? "LeverLune" : "CoucherLune");
    std::string result = "\r\n";
    if (!sun)
        result +=
            "اختلاف منظر القمر في آخر خطوة بالدرج\r\nParalax = {Paralax:deg}\r\n\r\n"
            " ارتفاع مركزه بالدرج\r\nh0 = {h0:deg}\r\n\r\n";
    result += sun ? " ميل الشمس في آخر خطوة بالدرج\r\n" : " ميل القمر في آخر خطوة بالدرج\r\n";
    result += "Dec = {Dec:deg}\r\n\r\n";
    result += morning ? " زاوية الساعة للشروق بالدرج\r\n" : " زاوية الساعة للغروب بالدرج\r\n";
    result += "Ha0 = {Ha0:deg}\r\n\r\n";
    result += sun ? (morning ? " وقت شروق الشمس بالساعات\r\n" : " وقت غروب الشمس بالساعات\r\n")
                  : (morning ? " وقت شروق القمر بالساعات\r\n" : " وقت غروب القمر بالساعات\r\n");
    result += name + " = {" + name + ":h}\r\n\r\n\r\n";

    CrossingTexts t{SectionText(MethodText(body, morning)),
                    SectionText("n = {n} : " + name + " = {" + name + "_n:h}\r\n"),
                    SectionText(result),
                    {}};
    const char* who = sun ? "الشمس" : "القمر";
    const std::string verb =
        sun ? (morning ? "لا تشرق " : "لا تغرب ") : (morning ? "لا يشرق " : "لا يغرب ");
    using Kind = Crossing::Kind;
    t.failed[int(Kind::NeverSets)] =
        verb + who + " في هذا اليوم عند هذا العرض : " + who + " فوق الأفق طول اليوم";
    t.failed[int(Kind::NeverRises)] =
        verb + who + " في هذا اليوم عند هذا العرض : " + who + " تحت الأفق طول اليوم";
    t.failed[int(Kind::Unsettled)] =
        verb + who + " في هذا اليوم عند هذا العرض : لم تستقر خطوات التقريب";
    return t;
}

const CrossingTexts& TextsOf(Luminary body, bool morning) {
    static const CrossingTexts kTexts[2][2] = {
        {MakeCrossingTexts(Luminary::Sun, false), MakeCrossingTexts(Luminary::Sun, true)},
        {MakeCrossingTexts(Luminary::Moon, false), MakeCrossingTexts(Luminary::Moon, true)}};
    return kTexts[body == Luminary::Moon][morning];
}

Message NoCrossingMessage(Luminary body, bool morning, const Crossing& c,
                          const std::string& arabic) {
    const bool sun = body == Luminary::Sun;
    std::string english = std::string(sun ? "the Sun" : "the Moon") +
                          (morning ? " does not rise" : " does not set") +
                          " on this day at this latitude";
    if (c.kind == Crossing::Kind::NeverSets) english += " (it stays above the horizon)";
    if (c.kind == Crossing::Kind::NeverRises) english += " (it stays below the horizon)";
    english += ": there is no crescent to look for; the report ends there";
    return {arabic + " ، فلا هلال يُرصد", english};
}

// Writes a crossing; false (with the message sent and the report ended) when there is none.
bool WriteCrossing(Report& report, Messenger& messenger, Luminary body, bool morning,
                   const Crossing& c, const CrescentReport& r) {
    const CrossingTexts& t = TextsOf(body, morning);
    report.Section(t.method, {});
    for (int n = 0; n < c.count; ++n) report.Section(t.step, {double(n + 1), r.Hours(c.steps[n])});
    if (c.kind != Crossing::Kind::Found) {
        const std::string& line = t.failed[int(c.kind)];
        report.Raw({"\r\n", line, " ، فلا هلال يُرصد\r\n\r\n", kEndLine});
        messenger.critical(NoCrossingMessage(body, morning, c, line));
        return false;
    }
    if (body == Luminary::Sun)
        report.Section(t.result, {c.Dec, c.Ha0, r.Hours(c.JJ)});
    else
        report.Section(t.result, {c.Paralax, c.h0, c.Dec, c.Ha0, r.Hours(c.JJ)});
    return true;
}

// ------------------------------------------------------------------ lag and age

const SectionText kLagAge[2] = {
    " مكث القمر بعد غروب الشمس بالدقائق\r\n"
    "Lag = (CoucherLune - Coucher) * 60\r\n"
    " = {Lag:min}\r\n\r\n"
    " عمر القمر عند غروب الشمس بالساعات\r\n"
    "Age = (JJ(Coucher) - Conj) * 24\r\n"
    " = {Age:h}\r\n\r\n\r\n",
    " سبق شروق القمر لشروق الشمس بالدقائق ( سالب إذا سبقها )\r\n"
    "Lag = (LeverLune - Lever) * 60\r\n"
    " = {Lag:min}\r\n\r\n"
    " عمر القمر عند شروق الشمس بالساعات ( سالب قبل الاجتماع )\r\n"
    "Age = (JJ(Lever) - Conj) * 24\r\n"
    " = {Age:h}\r\n\r\n\r\n"};

const char* const kNothingToSee[2][2] = {
    {"الاجتماع بعد غروب الشمس : لم يولد الهلال بعد ، فلا هلال يُرى هذا المساء",
     "يغرب القمر قبل الشمس : لا هلال يُرى هذا المساء"},
    {"الاجتماع قبل شروق الشمس : قد مضى الاجتماع ، فلا هلال قديم يُرى هذا الصباح",
     "يشرق القمر بعد الشمس : لا هلال قديم يُرى هذا الصباح"}};

// ------------------------------------------------------------------ the best time

const SectionText kBestTime[2] = {
    "******************* الوقت الأمثل للرؤية ***********************\r\n\r\n"
    " الوقت الأمثل لرؤية الهلال بالساعات\r\n"
    "Tb = Coucher + ((4 / 9) * (Lag / 60))\r\n"
    " = {Tb:h}\r\n\r\n",
    "******************* الوقت الأمثل للرؤية ***********************\r\n\r\n"
    " الوقت الأمثل لرؤية الهلال بالساعات\r\n"
    "Tb = Lever + ((4 / 9) * (Lag / 60))\r\n"
    " = {Tb:h}\r\n\r\n"};

const SectionText kAtBestTime =
    " الشمس في الوقت الأمثل : المطالع المستقيمة بالساعات ، و الميل و زاوية الساعة بالدرج\r\n"
    "AscSoleil = {AscSoleil:h}\r\n"
    "DecSoleil = {DecSoleil:deg}\r\n"
    "HaSoleil = {HaSoleil:deg}\r\n\r\n"
    " ارتفاع مركز الشمس من مركز الأرض بلا انكسار ، و سمتها بالدرج\r\n"
    "AltSoleil = ArcSin((Sine(Lat) * Sine(DecSoleil)) + (Cosine(Lat) * Cosine(DecSoleil) * "
    "Cosine(HaSoleil)))\r\n"
    " = {AltSoleil:deg}\r\n"
    "AzSoleil = {AzSoleil:deg}\r\n\r\n"
    " القمر في الوقت الأمثل : المطالع المستقيمة بالساعات ، و الميل و زاوية الساعة بالدرج\r\n"
    "AscLune = {AscLune:h}\r\n"
    "DecLune = {DecLune:deg}\r\n"
    "HaLune = {HaLune:deg}\r\n\r\n"
    " ارتفاع مركز القمر من مركز الأرض بلا انكسار ، و سمته بالدرج\r\n"
    "AltLune = ArcSin((Sine(Lat) * Sine(DecLune)) + (Cosine(Lat) * Cosine(DecLune) * "
    "Cosine(HaLune)))\r\n"
    " = {AltLune:deg}\r\n"
    "AzLune = {AzLune:deg}\r\n\r\n"
    " الاستطالة بين مركزي الشمس و القمر من مركز الأرض بالدرج\r\n"
    "ARCL = ArcCos(Cosine(Lg_Soleil - Lg_Lune) * Cosine(b))\r\n"
    " = {ARCL:deg}\r\n\r\n"
    " قوس الرؤية : ارتفاع القمر فوق الشمس بالدرج\r\n"
    "ARCV = AltLune - AltSoleil\r\n"
    " = {ARCV:deg}\r\n\r\n"
    " فرق السمتين بالدرج\r\n"
    "DAZ = AzSoleil - AzLune\r\n"
    " = {DAZ:deg}\r\n\r\n"
    "اختلاف منظر القمر بالدرج\r\n"
    "Paralax = {Paralax:deg}\r\n\r\n"
    " نصف قطر القمر الظاهري من مركز الأرض بالدقائق\r\n"
    "SD = 0.27245 * Paralax * 60\r\n"
    " = {SD:arcmin}\r\n\r\n"
    " نصف قطر القمر كما يراه الراصد بالدقائق\r\n"
    "SDt = SD * (1 + (Sine(AltLune) * Sine(Paralax)))\r\n"
    " = {SDt:arcmin}\r\n\r\n"
    " عرض الهلال بالدقائق\r\n"
    "W = SDt * (1 - Cosine(ARCL))\r\n"
    " = {W:arcmin}\r\n\r\n"
    " موقع القمر كما يراه الراصد من سطح الأرض بالدرج\r\n"
    "TopoAsc = Asc - (Paralax * DiCentre * Cosine(GeocLat) * Sine(Ha) / Cosine(Dec))\r\n"
    " = {TopoAsc:deg}\r\n"
    "TopoDec = Dec - (Paralax * DiCentre * Sine(GeocLat) * Sine(Geo - Dec) / Sine(Geo))\r\n"
    " = {TopoDec:deg}\r\n\r\n"
    " ارتفاع مركز القمر كما يراه الراصد بلا انكسار بالدرج\r\n"
    "AltLuneTopo = ArcSin((Sine(Lat) * Sine(TopoDec)) + (Cosine(Lat) * Cosine(TopoDec) * "
    "Cosine(HaLune + (AscLune * 15) - TopoAsc)))\r\n"
    " = {AltLuneTopo:deg}\r\n\r\n"
    " الاستطالة كما يراها الراصد بالدرج\r\n"
    "ARCLt = ArcCos((Sine(DecSoleil) * Sine(TopoDec)) + (Cosine(DecSoleil) * Cosine(TopoDec) * "
    "Cosine((AscSoleil * 15) - TopoAsc)))\r\n"
    " = {ARCLt:deg}\r\n\r\n"
    " قوس الرؤية كما يراه الراصد بالدرج\r\n"
    "ARCVt = AltLuneTopo - AltSoleil\r\n"
    " = {ARCVt:deg}\r\n\r\n"
    " عرض الهلال كما يراه الراصد بالدقائق\r\n"
    "Wt = SDt * (1 - Cosine(ARCLt))\r\n"
    " = {Wt:arcmin}\r\n\r\n\r\n";

// ------------------------------------------------------------------ the verdicts

const SectionText kYallop =
    "******************* إمكانية رؤية الهلال ***********************\r\n\r\n"
    " معيار يالوب ( 1997 )\r\n"
    "q = (ARCV - (11.8371 - (6.3226 * W) + (0.7319 * W * W) - (0.1018 * W * W * W))) / 10\r\n"
    " = {q}\r\n\r\n";

const char* const kYallopZones =
    "A : q > 0.216 : يُرى الهلال بالعين المجردة بسهولة\r\n"
    "B : q > -0.014 : يُرى الهلال بالعين المجردة إذا صفا الجو\r\n"
    "C : q > -0.160 : قد يحتاج الراصد إلى منظار ليجد الهلال ثم يراه بالعين المجردة\r\n"
    "D : q > -0.232 : لا يُرى الهلال إلا بمنظار أو مقراب\r\n"
    "E : q > -0.293 : لا يُرى الهلال حتى بالمقراب\r\n"
    "F : q <= -0.293 : لا يُرى الهلال : القمر دون حد دانجون\r\n\r\n";

const SectionText kOdeh =
    " معيار عودة ( 2004 )\r\n"
    "V = ARCVt - (7.1651 - (6.3226 * Wt) + (0.7319 * Wt * Wt) - (0.1018 * Wt * Wt * Wt))\r\n"
    " = {V}\r\n\r\n";

const char* const kOdehZones =
    "A : V >= 5.65 : يُرى الهلال بالعين المجردة\r\n"
    "B : V >= 2 : يُرى الهلال بالمنظار ، و قد يُرى بالعين المجردة\r\n"
    "C : V >= -0.96 : لا يُرى الهلال إلا بالمنظار أو المقراب\r\n"
    "D : V < -0.96 : لا يُرى الهلال و لو بالمقراب\r\n\r\n";

// The zone's sentence: the text after the second " : " of its line in the list.
std::string ZoneSentence(const char* zones, char zone) {
    const std::string list = zones;
    const std::size_t line = list.find(std::string(1, zone) + " : ");
    if (zone < 'A' || zone > 'Z' || line == std::string::npos) return {};
    const std::size_t from = list.find(" : ", line + 4) + 3;
    return list.substr(from, list.find("\r\n", from) - from);
}

void WriteZone(Report& report, const char* zones, char zone, bool morning) {
    const std::string sentence = ZoneSentence(zones, zone);
    report.Raw({zones, morning ? " منطقة الرؤية هذا الصباح\r\n" : " منطقة الرؤية هذا المساء\r\n",
                "Zone = ", std::string_view(&zone, 1), " : ", sentence, "\r\n\r\n\r\n"});
}

void WriteVerdicts(Report& report, const CrescentEvening& e) {
    report.Section(kYallop, {e.best.q});
    WriteZone(report, kYallopZones, e.yallop, e.morning);
    report.Section(kOdeh, {e.best.V});
    WriteZone(report, kOdehZones, e.odeh, e.morning);
    report.Raw({" حد دانجون : لم يُر هلال قط و الاستطالة دون 7 درجات تقريباً\r\n",
                e.best.ARCL < kDanjonLimit
                    ? "ARCL < 7 : الاستطالة دون حد دانجون ، فلا يُرى الهلال\r\n\r\n"
                    : "ARCL >= 7 : الاستطالة فوق حد دانجون\r\n\r\n",
                kEndLine});
}

}  // namespace

std::string ZoneMeaning(Criterion criterion, char zone) {
    return ZoneSentence(criterion == Criterion::Yallop ? kYallopZones : kOdehZones, zone);
}

CrescentReport Calcul_Croissant(Report& report, Messenger& messenger, const Observer& o,
                                bool morning) {
    CrescentReport r;
    r.morning = morning;
    r.deltaT = DeltaTAt(DecimalYear(o.clock.year, o.clock.month));
    WriteDeltaT(report, r.deltaT, o.JJ);

    const TheorySunMoon source(r.deltaT.DeltaT);
    r.conjunction = ConjunctionNear(source, o.JJ);
    WriteConjunction(report, r.conjunction, o.Zone);

    // The observer's clock reads 12:00: its 0 h of standard time is half a day and the
    // summer time earlier.
    r.midnight = o.JJ - 0.5 + o.EteRegl / 24.0;
    // A longitude past a whole turn names the same place as its remainder; the hour angles of
    // the rising and setting are computed from that, which keeps their precision however many
    // turns the fields wrote (the report shows Lon as entered).
    const double Lon = std::fabs(o.Lon) > 180 ? std::remainder(o.Lon, 360.0) : o.Lon;
    r.evening = CrescentEveningOf(source, r.conjunction.JJ, o.JJ, Lon, o.Lat, morning);
    const CrescentEvening& e = r.evening;
    if (!WriteCrossing(report, messenger, Luminary::Sun, morning, e.sun, r)) return r;
    if (!WriteCrossing(report, messenger, Luminary::Moon, morning, e.moon, r)) return r;
    report.Section(kLagAge[morning], {e.Lag, e.Age});
    if (e.end == CrescentEnd::ConjunctionAfter || e.end == CrescentEnd::MoonFirst) {
        const bool moonFirst = e.end == CrescentEnd::MoonFirst;
        report.Raw({kNothingToSee[morning][moonFirst], "\r\n\r\n", kEndLine});
        return r;
    }
    const BestTime& b = e.best;
    report.Section(kBestTime[morning], {r.Hours(b.Tb)});
    report.Section(kAtBestTime, {b.sun.place.Asc,
                                 b.sun.place.Dec,
                                 b.sun.Ha,
                                 b.sun.Altitude,
                                 b.sun.Azimut,
                                 b.moon.place.Asc,
                                 b.moon.place.Dec,
                                 b.moon.Ha,
                                 b.moon.Altitude,
                                 b.moon.Azimut,
                                 b.ARCL,
                                 b.ARCV,
                                 b.DAZ,
                                 b.Paralax,
                                 b.SD,
                                 b.SDt,
                                 b.W,
                                 b.TopoAsc,
                                 b.TopoDec,
                                 b.TopoAlt,
                                 b.ARCLt,
                                 b.ARCVt,
                                 b.Wt});
    WriteVerdicts(report, e);
    return r;
}

Outcome WriteCrescentReport(Report& report, Messenger& messenger, const Observer& atNoon,
                            bool morning, CrescentReport* result) {
    Calcul_JJ(report, atNoon);
    return Guarded(report, messenger, [&] {
        const CrescentReport r = Calcul_Croissant(report, messenger, atNoon, morning);
        if (result) *result = r;
    });
}

Outcome RunCrescent(Report& report, Messenger& messenger, FieldTexts& fields, bool east, bool north,
                    bool morning, CrescentReport* result) {
    // A day that overflows is not brought back to the month's last day: the Julian day refuses
    // it, as in the reports of the Moon and the planets.
    if (std::isfinite(ReadNumber(fields.TxtDay))) AdjustDay(fields);
    // The date's noon on the local clock; the time fields are not read.
    const std::optional<Observer> atNoon =
        EnterObserver(messenger, fields, east, north, TimeOfDay::Noon);
    if (!atNoon) return Outcome::Refused;
    return WriteCrescentReport(report, messenger, *atNoon, morning, result);
}

}  // namespace zerin
