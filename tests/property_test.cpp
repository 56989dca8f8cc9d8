// Random field texts keep ReportInvariants.h's promises; random days keep the night's order.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <regex>
#include <sstream>

#include "../fuzz/ReportInvariants.h"
#include "PrayerMethods.h"
#include "TablesTestSupport.h"

namespace zerin::robust {
namespace {

// Field texts a user might type or paste, or nobody would: every kind of piece, long runs.
class FieldTextMaker {
  public:
    explicit FieldTextMaker(std::uint64_t seed) : random_(seed) {}

    // Half the time a plausible number in [low, high] (the bodies compute far), else a mix.
    std::string Text(double low, double high) { return Chance(0.5) ? Plausible(low, high) : Mix(); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  private:
    std::string Plausible(double low, double high) {
        const double value = std::uniform_real_distribution<double>(low, high)(random_);
        const long long whole = static_cast<long long>(value);
        char hex[32];
        std::snprintf(hex, sizeof hex, "%llX", std::llabs(whole));
        const std::string forms[] = {
            std::to_string(whole),
            std::to_string(value),
            "  " + std::to_string(whole) + " ",
            "+" + std::to_string(value / 10) + "E1",
            std::to_string(value * 1000) + "d-3",
            "&H" + std::string(hex),
        };
        return forms[Pick(6)];
    }

    std::string Mix() {
        static const char* const kPieces[] = {
            " ",     "\t",       "\n",     "+",      "-",     ".",     "E",   "e",
            "D",     "d",        "E+",     "e-",     "&H",    "&h",    "&O",  "&",
            "FF",    "7",        "0",      "1",      "59",    "90",    "180", "1582",
            "32767", "32768",    "-32768", "-32769", "1e308", "1e309", "-0",  "0.5",
            "٣",     "٠١٢",      "۹",      "١٥٨٢",   ",",     "1,5",   "inf", "nan",
            "NaN",   "Infinity", "0x1p3",  "abc",    "\xff",  "\xd9",  "%",   "e999999999",
        };
        std::string text;
        const int count = 1 + Pick(6);
        for (int k = 0; k < count; ++k)
            text += Chance(0.02) ? Long() : kPieces[Pick(static_cast<int>(std::size(kPieces)))];
        return text;
    }

    // Thousands of digits, zeros or blanks, sometimes with a period or an exponent.
    std::string Long() {
        static const char* const kRuns[] = {"9", "0", " ", "1", "٣"};
        std::string run;
        const int length = 1000 + Pick(9000);
        const char* piece = kRuns[Pick(static_cast<int>(std::size(kRuns)))];
        for (int k = 0; k < length; ++k) run += piece;
        const int form = Pick(3);
        return form == 0   ? "0." + run + "1"
               : form == 1 ? run + "E-" + std::to_string(Pick(400))
                           : run;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::mt19937_64 random_;
};

ReportInput RandomInput(FieldTextMaker& make) {
    using F = FieldTexts;
    // clang-format off
    const struct { std::string F::*field; double low, high; } kFields[] = {
        {&F::TxtDegLon, 0, 180}, {&F::TxtMinLon, 0, 60}, {&F::TxtSecLon, 0, 60}, {&F::TxtDegLat, 0, 90},
        {&F::TxtMinLat, 0, 60}, {&F::TxtSecLat, 0, 60}, {&F::TxtZone, -12, 12}, {&F::TxtEteRegl, 0, 3},
        {&F::TxtYear, -4712, 4000}, {&F::TxtMonth, 1, 13}, {&F::TxtDay, 1, 32}, {&F::TxtHour, 0, 24},
        {&F::TxtMin, 0, 60}, {&F::TxtSec, 0, 60}};
    // clang-format on
    ReportInput in;
    for (const auto& f : kFields) in.fields.*f.field = make.Text(f.low, f.high);
    in.east = make.Chance(0.5);
    in.north = make.Chance(0.5);
    return in;
}

std::string Describe(const ReportInput& in) {
    std::string text;
    for (const std::string& arg : ReportArgs(in))
        text += " '" +
                (arg.size() > 60 ? arg.substr(0, 60) + "...(" + std::to_string(arg.size()) + ")"
                                 : arg) +
                "'";
    return text;
}

// The sanitizer build runs a fifth of the field sets (the fuzz targets run there longer).
#ifdef __SANITIZE_ADDRESS__
constexpr int kFieldSets = 200;
#else
constexpr int kFieldSets = 1000;
#endif

TEST(Property, RandomFieldTextsKeepTheCommandLinesPromises) {
    setenv("LC_ALL", "C", 1);
    const InvariantChecker checker;
    FieldTextMaker make(20050617);
    int runs = 0, failures = 0, statuses[3] = {0, 0, 0};
    for (int k = 0; k < kFieldSets && failures < 5; ++k) {
        ReportInput in = RandomInput(make);
        for (int b = 0; b < kBodyCount; ++b) {
            in.body = static_cast<Body>(b);
            in.json = false;
            const ReportRun run = RunReport(in);
            ++runs;
            if (run.status >= 0 && run.status <= 2) ++statuses[run.status];
            std::string problems = checker.Check(in.body, run);
            in.json = true;
            problems += checker.CheckJson(run, RunReport(in));
            in.json = false;
            if (!problems.empty()) {
                ++failures;
                ADD_FAILURE() << "zerin" << Describe(in) << "\nexit " << run.status << "\n"
                              << problems << "stderr: " << run.err;
            }
        }
    }
    // The mix reaches all three ends of a run.
    EXPECT_GT(statuses[0], runs / 10);
    EXPECT_GT(statuses[1], 0);
    EXPECT_GT(statuses[2], runs / 10);
    RecordProperty("written", statuses[0]);
    RecordProperty("faults", statuses[1]);
    RecordProperty("refused", statuses[2]);
}

// The checker itself: the report's number forms, and the corruptions it must see.
TEST(Property, TheCheckerSeesACorruptedRun) {
    for (const std::vector<std::string>& r : test::DataRows("report-number-forms.txt", "", '|')) {
        const std::string kind = test::Trimmed(r[0]), text = test::Trimmed(r[1]);
        const std::string form = text == "''" ? "" : test::Unescaped(text);
        EXPECT_EQ(kind.ends_with("hours") ? IsHMSText(form) : IsReportNumber(form),
                  !kind.starts_with("not"))
            << kind << ": " << text;
    }
    setenv("LC_ALL", "C", 1);
    const InvariantChecker checker;
    const ReportRun good = RunReport(ReferenceInput(Body::Moon));
    ASSERT_EQ(good.status, 0);
    EXPECT_EQ(checker.Check(Body::Moon, good), "");
    using Change = void (*)(ReportRun&);
    const Change kChanges[] = {
        [](ReportRun& r) { r.out.replace(r.out.find(" = 2453539"), 10, " = nan"); },
        [](ReportRun& r) { r.out.insert(r.out.find(" = 2453539") + 10, ".0"); },
        [](ReportRun& r) { r.out.replace(r.out.find("\r\n0 = Min"), 3, "\r\n-0"); },
        [](ReportRun& r) { r.out.erase(r.out.rfind("\r\n\r\n", r.out.size() - 5)); },
        [](ReportRun& r) { r.out.erase(r.out.find('\r'), 1); },
        [](ReportRun& r) { r.status = 2; },
        [](ReportRun& r) { r.status = 3; },
        [](ReportRun& r) { r.status = 1; },
        [](ReportRun& r) { r.err = "zerin: something went wrong\n"; },
    };
    for (const Change change : kChanges) {
        ReportRun run = good;
        change(run);
        EXPECT_NE(checker.Check(Body::Moon, run), "");
    }
    ReportInput in = ReferenceInput(Body::Moon);
    in.json = true;
    const ReportRun json = RunReport(in);
    EXPECT_EQ(checker.CheckJson(good, json), "");
    ReportRun changed = json;
    changed.out.replace(changed.out.find("2453539"), 7, "2453538");
    EXPECT_NE(checker.CheckJson(good, changed), "");
    changed = json, changed.status = 1;
    EXPECT_NE(checker.CheckJson(good, changed), "");
}

using Row = std::map<std::string, std::string>;

// A text timetable's rows, each cell by its header; `noted`: whether lines stand under it.
std::vector<Row> TextRows(const std::string& text, bool& noted) {
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);  // the settings
    std::getline(lines, line);
    static const std::regex kColumns("  +");
    const std::vector<std::string> names(
        std::sregex_token_iterator(line.begin(), line.end(), kColumns, -1), {});
    std::vector<Row> rows;
    for (noted = false; std::getline(lines, line);) {
        noted |= !line.empty() && !std::isdigit(static_cast<unsigned char>(line[0]));
        std::istringstream cells(line);
        if (!noted)
            for (Row& row = rows.emplace_back(); const std::string& name : names)
                cells >> row[name];
    }
    return rows;
}

// A cell as minutes since the epoch on Greenwich's clock ("05:20*", "00:40+1"); none for "—".
std::optional<long> Instant(const Row& row, const char* name) {
    const std::string &cell = row.at(name), &date = row.at("Date"), &utc = row.at("UTC offset");
    if (cell == "—") return std::nullopt;
    using namespace std::chrono;
    const sys_days day =
        year{std::stoi(date)} / std::stoi(date.substr(5)) / std::stoi(date.substr(8));
    return day.time_since_epoch().count() * 1440L + test::ClockMinutes(cell) -
           (utc[0] == '-' ? -1 : 1) *
               (std::stol(utc.substr(1, 2)) * 60 + std::stol(utc.substr(4, 2)));
}

TEST(Property, TheNightKeepsItsOrderAtEveryLatitude) {
    std::mt19937_64 random(31);
    const auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const char* const kRules[] = {"none", "middle", "seventh", "angle"};
    const char* const kPolar[] = {"none", "nearest-latitude", "nearest-day"};
    const std::vector<services::PrayerMethod>& methods = services::PrayerMethods();
    int failures = 0, checked = 0;
    for (int k = 0; k < 2000 && failures < 5; ++k) {
        const double lat = uniform(0, 89.9), east = uniform(-180, 180);
        char date[40];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1900 + static_cast<int>(uniform(0, 200)),
                      1 + static_cast<int>(uniform(0, 12)), 1 + static_cast<int>(uniform(0, 28)));
        char place[96];
        std::snprintf(place, sizeof place, "--lat %.4f%c --lon %.4f%c --zone %d", lat,
                      k % 2 ? 'S' : 'N', std::fabs(east), east < 0 ? 'W' : 'E',
                      -static_cast<int>(std::lround(east / 15)));
        const std::string line = std::string("times ") + place + " --from " + date +
                                 " --days 4 --extras --lang en --method " +
                                 methods[k % methods.size()].name + " --high-lat " + kRules[k % 4] +
                                 " --polar " + kPolar[k / 4 % 3];
        const test::CliResult run = test::RunCli(test::Words(line));
        bool noted = false;
        const std::vector<Row> rows = TextRows(run.out, noted);
        std::string problems = run.status != 0 || rows.size() != 4 ? "exit status\n" : "";
        for (std::size_t d = 0; d < rows.size() && problems.empty(); ++d, ++checked) {
            const auto fajr = Instant(rows[d], "Fajr"), sunrise = Instant(rows[d], "Sunrise"),
                       sunset = Instant(rows[d], "Sunset"), isha = Instant(rows[d], "Isha"),
                       middle = Instant(rows[d], "Midnight");
            if (sunset && isha && !(*sunset < *isha)) problems += "Isha before sunset\n";
            if (fajr && sunrise && *fajr > *sunrise) problems += "Fajr after sunrise\n";
            if (sunset && middle && !(*sunset < *middle)) problems += "midnight before sunset\n";
            for (const char* evening : {"Isha", "Sunset"})
                if (d > 0 && fajr && Instant(rows[d - 1], evening) &&
                    *fajr < *Instant(rows[d - 1], evening))
                    problems += std::string("Fajr before the previous ") + evening + "\n";
            for (const auto& [name, cell] : rows[d])
                if (cell == "—" && !noted) problems += name + " empty, no note\n";
        }
        if (!problems.empty() && ++failures)
            ADD_FAILURE() << "zerin " << line << "\n" << problems << run.out << run.err;
    }
    EXPECT_GT(checked, 7000);
}

}  // namespace
}  // namespace zerin::robust
