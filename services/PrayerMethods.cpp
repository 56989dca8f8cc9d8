#include "PrayerMethods.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "PlaceInput.h"
#include "report/Echo.h"

namespace zerin::services {

namespace {

constexpr std::array<double, kPrayers> kNoAdjustment{};
constexpr std::array<double, kPrayers> kDhuhrPlus1{0, 0, 1, 0, 0, 0};

// The methods: one row each, with where its parameters are published. Angles are of the Sun's
// centre below the horizon; intervals and adjustments in minutes.
const std::vector<PrayerMethod> kMethods = {
    {"morocco", "وزارة الأوقاف المغربية", "Ministry of Habous and Islamic Affairs, Morocco", 19, 17,
     0, 0, kNoAngle, kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Ministry of Habous and Islamic Affairs, Morocco: habous.gov.ma prayer timetables"},
    {"mwl", "رابطة العالم الإسلامي", "Muslim World League", 18, 17, 0, 0, kNoAngle, kDhuhrPlus1,
     Rounding::Nearest, false, kNoAngle,
     "Muslim World League, Makkah; adhan 4.4.6 CalculationMethod.MuslimWorldLeague"},
    {"isna", "الجمعية الإسلامية لأمريكا الشمالية", "Islamic Society of North America", 15, 15, 0, 0,
     kNoAngle, kDhuhrPlus1, Rounding::Nearest, false, kNoAngle,
     "Islamic Society of North America (Fiqh Council); adhan 4.4.6 CalculationMethod.NorthAmerica"},
    {"egypt", "الهيئة المصرية العامة للمساحة", "Egyptian General Authority of Survey", 19.5, 17.5,
     0, 0, kNoAngle, kDhuhrPlus1, Rounding::Nearest, false, kNoAngle,
     "Egyptian General Authority of Survey; adhan 4.4.6 CalculationMethod.Egyptian"},
    {"karachi", "جامعة العلوم الإسلامية بكراتشي", "University of Islamic Sciences, Karachi", 18, 18,
     0, 0, kNoAngle, kDhuhrPlus1, Rounding::Nearest, false, kNoAngle,
     "University of Islamic Sciences, Karachi; adhan 4.4.6 CalculationMethod.Karachi"},
    {"umm-al-qura", "أم القرى", "Umm al-Qura University, Makkah", 18.5, kNoAngle, 90, 120, kNoAngle,
     kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Umm al-Qura University, Makkah (Isha 120 min in Ramadan); adhan 4.4.6 "
     "CalculationMethod.UmmAlQura"},
    {"dubai",
     "دبي",
     "General Authority of Islamic Affairs and Endowments, UAE",
     18.2,
     18.2,
     0,
     0,
     kNoAngle,
     {0, -3, 3, 3, 3, 0},
     Rounding::Nearest,
     false,
     kNoAngle,
     "UAE General Authority of Islamic Affairs and Endowments; adhan 4.4.6 "
     "CalculationMethod.Dubai"},
    {"qatar", "قطر", "Ministry of Awqaf and Islamic Affairs, Qatar", 18, kNoAngle, 90, 0, kNoAngle,
     kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Qatar Ministry of Awqaf and Islamic Affairs; adhan 4.4.6 CalculationMethod.Qatar"},
    {"kuwait", "الكويت", "Ministry of Awqaf and Islamic Affairs, Kuwait", 18, 17.5, 0, 0, kNoAngle,
     kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Kuwait Ministry of Awqaf and Islamic Affairs; adhan 4.4.6 CalculationMethod.Kuwait"},
    {"singapore", "سنغافورة", "Majlis Ugama Islam Singapura", 20, 18, 0, 0, kNoAngle, kDhuhrPlus1,
     Rounding::Up, false, kNoAngle,
     "Majlis Ugama Islam Singapura (MUIS); adhan 4.4.6 CalculationMethod.Singapore"},
    {"tehran", "معهد الجيوفيزياء بطهران", "Institute of Geophysics, University of Tehran", 17.7, 14,
     0, 0, 4.5, kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Institute of Geophysics, University of Tehran; adhan 4.4.6 CalculationMethod.Tehran"},
    {"jafari", "الجعفري", "Shia Ithna Ashari, Leva Institute, Qum", 16, 14, 0, 0, 4, kNoAdjustment,
     Rounding::Nearest, false, kNoAngle,
     "Leva Institute, Qum (Shia Ithna Ashari); praytimes.org method Jafari"},
    {"turkey",
     "رئاسة الشؤون الدينية التركية",
     "Diyanet İşleri Başkanlığı, Turkey",
     18,
     17,
     0,
     0,
     kNoAngle,
     {0, -7, 5, 4, 7, 0},
     Rounding::Nearest,
     false,
     kNoAngle,
     "Diyanet İşleri Başkanlığı; adhan 4.4.6 CalculationMethod.Turkey"},
    {"moonsighting",
     "لجنة رؤية الهلال",
     "Moonsighting Committee Worldwide",
     18,
     18,
     0,
     0,
     kNoAngle,
     {0, 0, 5, 0, 3, 0},
     Rounding::Nearest,
     true,
     55,
     "Moonsighting Committee Worldwide (Khalid Shaukat), seasonal twilight; adhan 4.4.6 "
     "CalculationMethod.MoonsightingCommittee"},
    {"algeria", "الجزائر", "Ministry of Religious Affairs and Endowments, Algeria", 18, 17, 0, 0,
     kNoAngle, kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Ministry of Religious Affairs and Endowments, Algeria: marw.dz timetables"},
    {"tunisia", "تونس", "Ministry of Religious Affairs, Tunisia", 18, 18, 0, 0, kNoAngle,
     kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Ministry of Religious Affairs, Tunisia: affaires-religieuses.tn timetables"},
    {"france", "اتحاد المنظمات الإسلامية بفرنسا", "Union des Organisations Islamiques de France",
     12, 12, 0, 0, kNoAngle, kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Union des Organisations Islamiques de France (Musulmans de France), 12 degrees"},
    {"russia", "الإدارة الدينية لمسلمي روسيا", "Spiritual Administration of Muslims of Russia", 16,
     15, 0, 0, kNoAngle, kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Spiritual Administration of Muslims of the Russian Federation (dumrf.ru)"},
    {"jakim", "ماليزيا (جاكيم)", "Jabatan Kemajuan Islam Malaysia", 20, 18, 0, 0, kNoAngle,
     kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Jabatan Kemajuan Islam Malaysia (JAKIM), e-solat.gov.my"},
    {"kemenag", "إندونيسيا (وزارة الشؤون الدينية)", "Kementerian Agama, Indonesia", 20, 18, 0, 0,
     kNoAngle, kNoAdjustment, Rounding::Nearest, false, kNoAngle,
     "Kementerian Agama Republik Indonesia (bimasislam.kemenag.go.id)"},
    {"gulf", "الخليج", "Gulf region", 19.5, kNoAngle, 90, 0, kNoAngle, kNoAdjustment,
     Rounding::Nearest, false, kNoAngle, "Gulf region convention; praytimes.org method Gulf"},
};

struct ZoneMethod {
    const char* zone;  // a zone name, or a prefix ending in '/'
    const char* method;
};
constexpr ZoneMethod kZoneMethods[] = {
    {"Africa/Casablanca", "morocco"},
    {"Africa/El_Aaiun", "morocco"},
    {"Asia/Riyadh", "umm-al-qura"},
    {"Europe/Istanbul", "turkey"},
    {"Asia/Istanbul", "turkey"},
    {"Asia/Tehran", "tehran"},
    {"Africa/Cairo", "egypt"},
    {"Asia/Karachi", "karachi"},
    {"America/", "isna"},
    {"Asia/Singapore", "singapore"},
    {"Asia/Kuala_Lumpur", "jakim"},
    {"Asia/Kuching", "jakim"},
    {"Asia/Jakarta", "kemenag"},
    {"Asia/Pontianak", "kemenag"},
    {"Asia/Makassar", "kemenag"},
    {"Asia/Jayapura", "kemenag"},
    {"Asia/Dubai", "dubai"},
    {"Asia/Qatar", "qatar"},
    {"Asia/Kuwait", "kuwait"},
    {"Africa/Algiers", "algeria"},
    {"Africa/Tunis", "tunisia"},
    {"Europe/Paris", "france"},
    {"Europe/Moscow", "russia"},
};

std::string Minutes(double m) {
    char text[32];
    std::snprintf(text, sizeof text, "%+g", m);
    return text;
}

std::string Degrees(double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", d);
    return text;
}

// The times' names in Arabic, in the order of kPrayerKeys.
constexpr const char* kPrayerArabic[kPrayers] = {"الفجر", "الشروق", "الظهر",
                                                 "العصر", "المغرب", "العشاء"};

}  // namespace

bool MaghribApart(const PrayerSettings& s) {
    return !std::isnan(s.maghribAngle) || s.adjust[kAdjustMaghrib] != 0;
}

const std::vector<PrayerMethod>& PrayerMethods() {
    return kMethods;
}

const PrayerMethod* PrayerMethodNamed(std::string_view name) {
    for (const PrayerMethod& m : kMethods)
        if (name == m.name) return &m;
    return nullptr;
}

const char* MethodOfZone(std::string_view zone) {
    for (const ZoneMethod& z : kZoneMethods) {
        const std::string_view key = z.zone;
        if (key.back() == '/' ? zone.substr(0, key.size()) == key : zone == key) return z.method;
    }
    return "mwl";
}

PrayerSettings SettingsOfMethod(const PrayerMethod& m) {
    PrayerSettings s;
    s.method = m.name;
    s.fajrAngle = m.fajrAngle;
    s.ishaAngle = m.ishaAngle;
    s.ishaInterval = m.ishaInterval;
    s.ramadanInterval = m.ramadanInterval;
    s.maghribAngle = m.maghribAngle;
    s.adjust = m.adjust;
    s.rounding = m.rounding;
    s.seasonal = m.seasonal;
    s.seventhAbove = m.seventhAbove;
    return s;
}

double HorizonAltitude(Horizon horizon, double elevation) {
    if (horizon == Horizon::Report) return kReportHorizon;
    return -0.8333 - 0.0347 * std::sqrt(std::max(elevation, 0.0));
}

SunAltitudes AltitudesOf(const PrayerSettings& s) {
    SunAltitudes a;
    a.horizon = HorizonAltitude(s.horizon, s.elevation);
    a.dawn = -s.fajrAngle;
    // An interval's nightfall still needs an angle: the report's, never shown.
    a.nightfall = std::isnan(s.ishaAngle) ? -kNightfallDepression : -s.ishaAngle;
    a.maghrib = -s.maghribAngle;
    return a;
}

double SeasonalTwilight(bool dawn, double lat, int dyy) {
    const double l = std::fabs(lat) / 55;
    const double a = 75 + (dawn ? 28.65 : 25.60) * l, b = 75 + (dawn ? 19.44 : 2.050) * l,
                 c = 75 + (dawn ? 32.74 : -9.21) * l, d = 75 + (dawn ? 48.10 : 6.14) * l;
    if (dyy < 91) return a + (b - a) / 91 * dyy;
    if (dyy < 137) return b + (c - b) / 46 * (dyy - 91);
    if (dyy < 183) return c + (d - c) / 46 * (dyy - 137);
    if (dyy < 229) return d + (c - d) / 46 * (dyy - 183);
    if (dyy < 275) return c + (b - c) / 46 * (dyy - 229);
    return b + (a - b) / 91 * (dyy - 275);
}

bool ReadAdjustments(const std::string& text, std::array<double, kPrayers>& adjust,
                     std::array<bool, kPrayers>& named, std::string& error) {
    std::array<double, kPrayers> read = adjust;
    std::array<bool, kPrayers> seen = named;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        const std::size_t equals = item.find('=');
        const std::string key = item.substr(0, equals);
        int k = 0;
        while (k < kPrayers && key != kPrayerKeys[k]) ++k;
        const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
        double minutes = 0;
        if (k == kPrayers || !ReadDecimal(value, minutes) || !(std::fabs(minutes) <= 600)) {
            error =
                "--adjust takes TIME=MINUTES separated by commas (fajr, sunrise, dhuhr, asr, "
                "maghrib, isha; minutes within 600 either way), not '" +
                Echo(item) + "'";
            return false;
        }
        if (seen[k]) {
            error = "--adjust names " + std::string(kPrayerKeys[k]) +
                    " twice: give each time once, with the sum of its minutes";
            return false;
        }
        if (minutes != std::trunc(minutes)) {
            error = "--adjust takes whole minutes, not '" + Echo(item) + "'";
            return false;
        }
        seen[k] = true;
        read[k] += minutes;
        start = end + 1;
    }
    adjust = read;
    named = seen;
    return true;
}

std::string AdjustmentsText(const std::array<double, kPrayers>& adjust) {
    std::string text;
    for (int k = 0; k < kPrayers; ++k) {
        if (adjust[k] == 0) continue;
        if (!text.empty()) text += ", ";
        text += std::string(kPrayerKeys[k]) + " " + Minutes(adjust[k]);
    }
    return text.empty() ? "none" : text;
}

std::string AdjustmentsTextArabic(const std::array<double, kPrayers>& adjust) {
    std::string text;
    for (int k = 0; k < kPrayers; ++k) {
        if (adjust[k] == 0) continue;
        if (!text.empty()) text += "، ";
        text += std::string(kPrayerArabic[k]) + " " + Isolated(Minutes(adjust[k]));
    }
    return text.empty() ? "لا تعديل" : text;
}

std::string SettingsTextArabic(const PrayerSettings& s) {
    const PrayerMethod* method = PrayerMethodNamed(s.method);
    std::string text = "الطريقة " + (method ? std::string(method->arabic) + " " : std::string()) +
                       "(" + Isolated(s.method) + ")؛ الفجر " +
                       Isolated(Degrees(s.fajrAngle) + "°") + "؛ العشاء ";
    if (s.ishaInterval > 0) {
        text += Isolated(Degrees(s.ishaInterval)) + " دقيقة بعد المغرب";
        if (s.ramadanInterval > 0)
            text += " (" + Isolated(Degrees(s.ramadanInterval)) + " في رمضان بتقويم أم القرى)";
    } else {
        text += Isolated(Degrees(s.ishaAngle) + "°");
    }
    if (!std::isnan(s.maghribAngle)) text += "؛ المغرب " + Isolated(Degrees(s.maghribAngle) + "°");
    if (s.seasonal) text += "؛ الشفق الموسمي";
    text += "؛ التعديلات بالدقائق: " + AdjustmentsTextArabic(s.adjust);
    text +=
        s.rounding == Rounding::Up ? "؛ التقريب إلى الدقيقة التالية" : "؛ التقريب إلى أقرب دقيقة";
    char horizon[32];
    std::snprintf(horizon, sizeof horizon, "%.4f°", HorizonAltitude(s.horizon, s.elevation));
    text += "؛ الأفق " + Isolated(horizon) + "؛ الارتفاع " + Isolated(Degrees(s.elevation)) + " م";
    text += std::string("؛ خطوط العرض العليا: ") + HighLatRuleArabic(s.rule);
    if (!std::isnan(s.seventhAbove))
        text += "، وسُبع الليل فوق " + Isolated(Degrees(s.seventhAbove) + "°");
    text += std::string("؛ الأيام القطبية: ") + PolarRuleArabic(s.polar);
    return text;
}

const char* HighLatRuleArabic(HighLatRule rule) {
    switch (rule) {
        case HighLatRule::Middle:
            return "منتصف الليل";
        case HighLatRule::Seventh:
            return "سُبع الليل";
        case HighLatRule::Angle:
            return "نسبة الزاوية من الليل (الزاوية/60)";
        case HighLatRule::None:
            break;
    }
    return "لا تقدير";
}

const char* PolarRuleArabic(PolarRule rule) {
    switch (rule) {
        case PolarRule::NearestLatitude:
            return "أقرب خط عرض تشرق فيه الشمس وتغرب";
        case PolarRule::NearestDay:
            return "أقرب يوم تشرق فيه الشمس وتغرب";
        case PolarRule::None:
            break;
    }
    return "لا تقدير";
}

const char* HighLatRuleName(HighLatRule rule) {
    switch (rule) {
        case HighLatRule::Middle:
            return "middle";
        case HighLatRule::Seventh:
            return "seventh";
        case HighLatRule::Angle:
            return "angle";
        case HighLatRule::None:
            break;
    }
    return "none";
}

const char* PolarRuleName(PolarRule rule) {
    switch (rule) {
        case PolarRule::NearestLatitude:
            return "nearest-latitude";
        case PolarRule::NearestDay:
            return "nearest-day";
        case PolarRule::None:
            break;
    }
    return "none";
}

const char* HorizonName(Horizon horizon) {
    return horizon == Horizon::Report ? "report" : "table";
}

const char* RoundingName(Rounding rounding) {
    return rounding == Rounding::Up ? "up" : "nearest";
}

std::string SettingsText(const PrayerSettings& s) {
    std::string text = "method " + s.method + "; fajr " + Degrees(s.fajrAngle) + "°; isha ";
    if (s.ishaInterval > 0) {
        text += Degrees(s.ishaInterval) + " min after maghrib";
        if (s.ramadanInterval > 0)
            text += " (" + Degrees(s.ramadanInterval) + " in Ramadan, Umm al-Qura calendar)";
    } else {
        text += Degrees(s.ishaAngle) + "°";
    }
    if (!std::isnan(s.maghribAngle)) text += "; maghrib " + Degrees(s.maghribAngle) + "°";
    if (s.seasonal) text += "; seasonal twilight";
    text += "; adjustments " + AdjustmentsText(s.adjust);
    text += std::string("; rounding ") + RoundingName(s.rounding);
    char horizon[32];
    std::snprintf(horizon, sizeof horizon, "%.4f", HorizonAltitude(s.horizon, s.elevation));
    text += std::string("; horizon ") + horizon + "°; elevation " + Degrees(s.elevation) + " m";
    text += std::string("; high latitudes ") + HighLatRuleName(s.rule);
    if (!std::isnan(s.seventhAbove)) text += " (seventh above " + Degrees(s.seventhAbove) + "°)";
    text += std::string("; polar ") + PolarRuleName(s.polar);
    return text;
}

}  // namespace zerin::services
