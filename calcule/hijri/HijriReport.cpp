// The month report: each rule's steps written over the Hijri routines' results.
#include "hijri/HijriReport.h"

#include <cmath>
#include <string>

#include "hijri/HijriIcu.h"
#include "math/Angles.h"
#include "sky/Sky.h"
#include "time/DeltaT.h"

namespace zerin {

namespace {

constexpr std::string_view kEnd = "\r\n\r\n";

std::string Banner(std::string_view title) {
    return "*******************  " + std::string(title) + "  ***********************\r\n\r\n";
}

// "الأربعاء 2026-02-18" (the civil date of a day number, Julian before the reform).
std::string DayText(DayNumber day) {
    return std::string(WeekdayName(WeekdayOf(day))) + " " + IsoDateText(CivilDayOf(day));
}

// "رمضان 1447".
std::string MonthName(int year, int month) {
    return std::string(HijriMonthName(month)) + " " + std::to_string(year);
}

void Put(Report& r, std::string_view name, Unit unit, std::string_view head, double value,
         std::string_view ending = kEnd) {
    r.At(name, unit);
    r.Item({head}, value, ending);
}

// An instant (UT) on the place's standard clock, hours 0..24 of its civil day.
double LocalHours(double JJ, int Zone) {
    return Angle_24_Hour(DayFraction(JJ) * 24 - Zone);
}

// A value that is also shown on the place's clock, as hours, minutes and seconds.
void PutInstant(Report& r, std::string_view name, std::string_view localName, std::string_view head,
                double JJ, int Zone) {
    Put(r, name, Unit::Days, head, JJ, "\r\n");
    const double hours = LocalHours(JJ, Zone);
    r.At(localName, Unit::Hours);
    r.Value(hours);
    if (r.Text())
        r.Raw({" ", localName, " = ", HMS_Text(hours, r.DecimalSeparator()),
               "بتوقيت المكان\r\n\r\n"});
}

void PutPlace(Report& r, const HijriPlace& place, std::string_view where) {
    const std::string lon = " طول " + std::string(where) + " بالدرج ، الغرب موجب و الشرق سالب\r\n";
    const std::string lat = " عرض " + std::string(where) + " بالدرج\r\n";
    Put(r, "Lon", Unit::Degrees, lon + "Lon = ", place.Lon);
    Put(r, "Lat", Unit::Degrees, lat + "Lat = ", place.Lat);
    Put(r, "Zone", Unit::Hours, " المنطقة الزمنية بالساعات\r\nZone = ", place.Zone);
}

const char* YesNo(bool yes) {
    return yes ? "نعم" : "لا";
}

// The evening of the 29th under a rule: the chain's 29th, Delta T, the conjunction,
// sunset and moonset, the age and the lag; with the best time and both criteria for the
// sighting. Returns the rule's verdict.
bool PutEvening(Report& r, HijriCalendar& calendar, int year, int month, DayNumber tabular29) {
    const HijriPlace& place = calendar.Place();
    const int prevIndex = MonthIndex(year, month) - 1;
    const HijriDate prev = MonthOfIndex(prevIndex);
    const MonthEvening m = calendar.EveningBefore(year, month);
    const CrescentEvening& e = m.evening;

    r.Raw({" بهذه القاعدة بدأ ", MonthName(prev.year, prev.month), " يوم ", DayText(m.day29 - 28),
           " ، فتاسعه و عشرونه يوم ", DayText(m.day29), "\r\n"});
    if (m.day29 != tabular29) {
        const long shift = m.day29 - tabular29;
        r.Raw({" و هو ", shift > 0 ? "بعد" : "قبل", " التخمين الأول بـ ",
               std::to_string(std::labs(shift)), " يوم\r\n"});
    }
    Put(r, "JJ29", Unit::Days, "JJ29 = ", static_cast<double>(m.day29) - 0.5);

    Put(r, "JJ_Midi", Unit::Days,
        " منتصف نهار التاسع و العشرين بتوقيت المكان ، باليوم اليوليوزي للتوقيت العالمي\r\n"
        "JJ_Midi = JJ29 + 0.5 + (Zone / 24) = ",
        m.noon);

    const DeltaTValue& dt = m.deltaT;
    Put(r, "y", Unit::None,
        " الفرق بين التوقيت الأرضي و التوقيت العالمي ، لمنتصف الشهر الميلادي\r\n"
        "y = Year + ((Month - 0.5) / 12) = ",
        dt.y, "\r\n");
    const DeltaTStretch& s = *dt.stretch;
    Put(r, "DeltaT", Unit::None,
        std::string(s.condition) + "\r\n" + std::string(s.variable) + "\r\n" +
            std::string(s.formula) + " = ",
        dt.DeltaT);

    const Conjunction& c = m.conjunction;
    Put(r, "k", Unit::None,
        " رقم الدورة القمرية ، 0 لاقتران 6 يناير 2000\r\n"
        "k = Int(((JJ_Midi + (DeltaT / 86400)) - 2451550.09766) / 29.530588861 + 0.5) = ",
        c.k);
    Put(r, "JJ0", Unit::Days,
        " الاقتران الوسطي بالتوقيت الأرضي\r\n"
        "Tk = k / 1236.85\r\n"
        "JJ0 = 2451550.09766 + (29.530588861 * k) + (0.00015437 * Tk^2) - (0.00000015 * Tk^3) "
        "+ (0.00000000073 * Tk^4) = ",
        c.JJ0);
    if (!std::isfinite(c.JJ)) {
        r.Raw({" لم تستقر خطوات الاقتران\r\n\r\n"});
    } else {
        Put(r, "Steps", Unit::None,
            " الاقتران الحقيقي بالتوقيت العالمي : حين يتساوى طول القمر و طول الشمس\r\n"
            "Dif = Lg_Lune - Lg_Soleil\r\n"
            "t(n+1) = t(n) - (Dif(n) / ((Dif(n) - Dif(n-1)) / (t(n) - t(n-1))))\r\n"
            "Steps = ",
            c.count, "\r\n");
        PutInstant(r, "Conj", "Conj_Loc", "Conj = ", c.JJ, place.Zone);
    }

    if (e.sun.kind != Crossing::Kind::Found) {
        r.Raw(
            {" لا تغرب الشمس في هذا اليوم بهذا المكان : لا يُتحرّى الهلال ، و الشهر ثلاثون "
             "يوماً\r\n\r\n"});
        return false;
    }
    PutInstant(r, "Coucher", "Coucher_Loc",
               " غروب الشمس بالتوقيت العالمي ، حين يبلغ مركزها الارتفاع h0 بالدرج\r\n"
               "h0 = -0.8333\r\nCoucher = ",
               e.sun.JJ, place.Zone);
    if (e.moon.kind != Crossing::Kind::Found) {
        r.Raw({" لا يغرب القمر في هذا اليوم بهذا المكان : الشهر ثلاثون يوماً\r\n\r\n"});
        return false;
    }
    PutInstant(r, "Coucher_Lune", "Coucher_Lune_Loc",
               " غروب القمر بالتوقيت العالمي ، حين يبلغ مركزه الارتفاع h0 بالدرج\r\n"
               "h0 = (0.7275 * Paralax) - 0.5667\r\n"
               "Coucher_Lune = ",
               e.moon.JJ, place.Zone);
    if (std::isfinite(e.Age))
        Put(r, "Age", Unit::Hours,
            " عمر الهلال عند غروب الشمس بالساعات\r\nAge = (Coucher - Conj) * 24 = ", e.Age);
    Put(r, "Lag", Unit::None,
        " مكث القمر بعد غروب الشمس بالدقائق\r\nLag = (Coucher_Lune - Coucher) * 1440 = ", e.Lag);
    const bool before = std::isfinite(e.Age) && e.Age > 0;
    r.Raw({" الاقتران قبل غروب الشمس : ", YesNo(before),
           "\r\n القمر يغرب بعد الشمس : ", YesNo(e.Lag > 0), "\r\n"});

    if (calendar.Rule() == HijriRule::Sighting) {
        if (e.end == CrescentEnd::Computed) {
            const BestTime& b = e.best;
            r.Raw({"\r\n"});
            PutInstant(r, "Tb", "Tb_Loc",
                       " أفضل وقت للرؤية\r\nTb = Coucher + ((4 / 9) * (Lag / 1440)) = ", b.Tb,
                       place.Zone);
            Put(r, "ARCL", Unit::Degrees,
                " الاستطالة بين الشمس و القمر\r\n"
                "ARCL = ArcCos(Cosine(Lg_Soleil - Lg_Lune) * Cosine(b)) = ",
                b.ARCL);
            Put(r, "ARCV", Unit::Degrees,
                " قوس الرؤية : ارتفاع القمر ناقص ارتفاع الشمس\r\nARCV = h_Lune - h_Soleil = ",
                b.ARCV);
            Put(r, "W", Unit::ArcMinutes,
                " عرض الهلال بالدقائق\r\nW = SD' * (1 - Cosine(ARCL)) = ", b.W);
            Put(r, "q", Unit::None,
                " معيار يالوب\r\n"
                "q = (ARCV - (11.8371 - (6.3226 * W) + (0.7319 * W^2) - (0.1018 * W^3))) / 10 = ",
                b.q, "\r\n");
            r.Raw({" منطقة يالوب : ", std::string(1, e.yallop), "\r\n\r\n"});
            Put(r, "ARCV'", Unit::Degrees,
                " قوس الرؤية من سطح الأرض\r\nARCV' = h'_Lune - h_Soleil = ", b.ARCVt);
            Put(r, "W'", Unit::ArcMinutes,
                " عرض الهلال من سطح الأرض بالدقائق\r\nW' = SD' * (1 - Cosine(ARCL')) = ", b.Wt);
            Put(r, "V", Unit::None,
                " معيار عودة\r\n"
                "V = ARCV' - (7.1651 - (6.3226 * W') + (0.7319 * W'^2) - (0.1018 * W'^3)) = ",
                b.V, "\r\n");
            r.Raw({" منطقة عودة : ", std::string(1, e.odeh), "\r\n\r\n"});
        }
        const bool odeh = calendar.Criterion() == SightingCriterion::Odeh;
        r.Raw({odeh ? " يُرى الهلال بمعيار عودة إذا كان في المنطقة A أو B ، أي V >= 2 : "
                    : " يُرى الهلال بمعيار يالوب إذا كان في المنطقة A أو B أو C ، أي q > -0.160 : ",
               YesNo(m.begins), "\r\n"});
    }
    return m.begins;
}

void PutVerdict(Report& r, bool begins, int year, int month, DayNumber start) {
    r.Raw({begins ? " فالشهر السابق تسعة و عشرون يوماً ، و " : " فالشهر السابق ثلاثون يوماً ، و ",
           "أول ", MonthName(year, month), " يوم ", DayText(start), "\r\n\r\n"});
}

}  // namespace

std::string DisagreementLine(const MonthStarts& s) {
    struct Entry {
        const char* name;
        DayNumber start;
    };
    const Entry others[] = {{"الحسابي المدني", s.civil},
                            {"الحسابي الفلكي", s.astronomical},
                            {"أم القرى المحسوبة", s.computed},
                            {"الرؤية", s.sighting}};
    std::string line;
    for (const Entry& other : others) {
        const long shift = other.start - s.ummAlQura;
        if (shift == 0) continue;
        line += line.empty() ? "" : " ، ";
        line += std::string(other.name) + " " + (shift > 0 ? "بعده بـ " : "قبله بـ ") +
                std::to_string(std::labs(shift)) + " يوم";
    }
    const char* reference = s.ummAlQuraFallback ? "التقويم الحسابي" : "أم القرى";
    if (line.empty()) return " تتفق القواعد كلها على أول الشهر\r\n";
    return " تخالف " + std::string(reference) + " : " + line + "\r\n";
}

void WriteMonthReport(Report& r, int year, int month, const HijriPlace& place,
                      SightingCriterion criterion) {
    const HijriDate prev = MonthOfIndex(MonthIndex(year, month) - 1);

    r.Raw(
        {Banner("بداية الشهر الهجري"), " الشهر المطلوب : ", MonthName(year, month), " هـ\r\n\r\n"});
    Put(r, "Y", Unit::None, " السنة الهجرية المطلوبة\r\nY = ", year);
    Put(r, "M", Unit::None, " الشهر الهجري المطلوب\r\nM = ", month);

    // The tabular calendar: the first guess.
    r.Raw({Banner("التقويم الحسابي : التخمين الأول")});
    const long R = (14 + 11L * year) % 30;
    Put(r, "R", Unit::None,
        " السنوات الكبيسة من كل ثلاثين سنة : 2 و 5 و 7 و 10 و 13 و 16 و 18 و 21 و 24 و 26 و 29\r\n"
        "R = (14 + (11 * Y)) Mod 30 = ",
        R, "\r\n");
    r.Raw({TabularLeapYear(year) ? " R < 11 : سنة كبيسة ، 355 يوماً"
                                 : " R >= 11 : سنة بسيطة ، 354 يوماً",
           kEnd});
    Put(r, "Kabs", Unit::None,
        " عدد السنوات الكبيسة قبل السنة المطلوبة\r\nKabs = Fix((3 + (11 * Y)) / 30) = ",
        TabularLeapYearsBefore(year));
    Put(r, "Ayam", Unit::None,
        " عدد أيام الأشهر قبل الشهر المطلوب ، ثلاثون و تسعة و عشرون بالتناوب\r\n"
        "Ayam = Fix(((59 * (M - 1)) + 1) / 2) = ",
        TabularDaysBeforeMonth(month));
    const DayNumber civil = TabularDayNumber({year, month, 1}, HijriEpoch::Civil);
    Put(r, "JJ", Unit::Days,
        " اليوم اليوليوزي لأول الشهر بالمبدأ المدني : الجمعة 16 يوليوز 622 م\r\n"
        "JJ = 1948439.5 + (354 * (Y - 1)) + Kabs + Ayam = ",
        civil - 0.5, "\r\n");
    r.Raw({" = ", DayText(civil), kEnd});
    const DayNumber astronomical = TabularDayNumber({year, month, 1}, HijriEpoch::Astronomical);
    Put(r, "JJ_F", Unit::Days,
        " بالمبدأ الفلكي : الخميس 15 يوليوز 622 م\r\nJJ_F = JJ - 1 = ", astronomical - 0.5, "\r\n");
    r.Raw({" = ", DayText(astronomical), kEnd});
    const int L = TabularMonthLength(prev.year, prev.month);
    Put(r, "L", Unit::Days,
        " طول الشهر السابق ، " + MonthName(prev.year, prev.month) +
            " : ثلاثون يوماً للأشهر الفردية و تسعة و عشرون للزوجية ، و ذو الحجة ثلاثون في "
            "السنة الكبيسة\r\nL = ",
        L);
    const DayNumber tabular29 = civil - L + 28;
    Put(r, "JJ29", Unit::Days,
        " التاسع و العشرون من الشهر السابق ، و في مسائه يُتحرّى الهلال\r\nJJ29 = JJ - L + 28 = ",
        tabular29 - 0.5, "\r\n");
    r.Raw({" = ", DayText(tabular29), kEnd});

    // The Umm al-Qura rule at Mecca.
    r.Raw({Banner("قاعدة أم القرى محسوبة بمكة المكرمة"),
           " يبدأ الشهر في اليوم الموالي للتاسع و العشرين إذا وقع الاقتران قبل غروب الشمس بمكة "
           "و غرب القمر بعد الشمس ، و إلا فالشهر السابق ثلاثون يوماً\r\n\r\n"});
    PutPlace(r, kMecca, "مكة");
    HijriCalendar computed(HijriRule::Computed);
    const bool computedBegins = PutEvening(r, computed, year, month, tabular29);
    const DayNumber computedStart = computed.MonthStart(year, month);
    PutVerdict(r, computedBegins, year, month, computedStart);

    // The sighting at the user's place.
    r.Raw({Banner("رؤية الهلال بالمكان المطلوب"),
           criterion == SightingCriterion::Odeh
               ? " يبدأ الشهر في اليوم الموالي للتاسع و العشرين إذا كان الهلال مرئياً بمعيار عودة "
                 "(2004) ، و إلا فالشهر السابق ثلاثون يوماً\r\n\r\n"
               : " يبدأ الشهر في اليوم الموالي للتاسع و العشرين إذا كان الهلال مرئياً بمعيار يالوب "
                 "(1997) ، و إلا فالشهر السابق ثلاثون يوماً\r\n\r\n"});
    PutPlace(r, place, "المكان");
    HijriCalendar sighting(HijriRule::Sighting, place, criterion);
    const bool sightingBegins = PutEvening(r, sighting, year, month, tabular29);
    const DayNumber sightingStart = sighting.MonthStart(year, month);
    PutVerdict(r, sightingBegins, year, month, sightingStart);

    // ICU's official date.
    r.Raw({Banner("تقويم أم القرى الرسمي")});
    HijriCalendar ummAlQura(HijriRule::UmmAlQura);
    const DayNumber official = ummAlQura.MonthStart(year, month);
    if (ummAlQura.RuleOfYear(year) == HijriRule::UmmAlQura)
        r.Raw({" أول ", MonthName(year, month), " بجدول أم القرى (مكتبة ICU) : ", DayText(official),
               kEnd});
    else
        r.Raw(
            {" السنة خارج جدول أم القرى (1300 - 1600 هـ) ، فالتاريخ بالتقويم الحسابي بالمبدأ "
             "المدني : ",
             DayText(official), kEnd});

    // The rules side by side.
    MonthStarts starts;
    starts.civil = civil;
    starts.astronomical = astronomical;
    starts.ummAlQura = official;
    starts.ummAlQuraFallback = ummAlQura.RuleOfYear(year) != HijriRule::UmmAlQura;
    starts.computed = computedStart;
    starts.sighting = sightingStart;
    r.Raw({Banner("مقارنة القواعد"), " التقويم الحسابي بالمبدأ المدني : ", DayText(civil),
           "\r\n التقويم الحسابي بالمبدأ الفلكي : ", DayText(astronomical),
           starts.ummAlQuraFallback ? "\r\n أم القرى (خارج جدولها : التقويم الحسابي) : "
                                    : "\r\n أم القرى : ",
           DayText(official), "\r\n قاعدة أم القرى محسوبة بمكة : ", DayText(computedStart),
           "\r\n رؤية الهلال بالمكان : ", DayText(sightingStart), "\r\n", DisagreementLine(starts),
           "\r\n", kEndLine});
}

}  // namespace zerin
